#!/usr/bin/env bash
# The main job: builds the client and the reference classroom server, starts the server with its
# demo classroom and opens the client in it as the teacher. Without a display both run under Xvfb:
# the script takes screenshots of the welcome area and of the classroom and prints their paths.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
client=build/src/app/veltrin
server=build/server/classroom-server

# The demo classroom: the server prints its port first.
server_log=$(mktemp)
coproc SERVER { exec "$server" --listen 127.0.0.1:0 2>"$server_log"; }
server_pid=$SERVER_PID
cleanup() {
  kill "$server_pid" 2>/dev/null || true
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
  rm -f "$server_log"
}
trap cleanup EXIT
port=""
while read -r line <&"${SERVER[0]}"; do
  case "$line" in
    listening*) port=${line##*:} ;;
    ready) break ;;
  esac
done
[ -n "$port" ] || { echo "demo: the classroom server did not start" >&2; cat "$server_log" >&2; exit 1; }
link="vcc8join://127.0.0.1:$port/teacher/teacher/1001"
echo "demo: classroom server on 127.0.0.1:$port; join link $link" >&2

if [ -n "${DISPLAY:-}" ]; then
  "$client" "$link"
  exit 0
fi

mkdir -p out
disp=90
while [ -e "/tmp/.X11-unix/X$disp" ] || [ -e "/tmp/.X$disp-lock" ]; do disp=$((disp + 1)); done
Xvfb ":$disp" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$disp" ] && break; sleep 0.1; done

# Each run keeps its settings and single-instance socket away from the user's own.
home=$(mktemp -d)
# No sound card here: the clients' microphones and speakers are paced file-backed devices (built
# with the tests), their files in the run's home.
if [ -f build/alsa/paced.conf ]; then
  export ALSA_CONFIG_PATH="/usr/share/alsa/alsa.conf:$PWD/build/alsa/paced.conf" VELTRIN_ALSA_DIR="$home/alsa"
  mkdir -p "$VELTRIN_ALSA_DIR"
fi
run_client() {
  env DISPLAY=":$disp" HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_RUNTIME_DIR="$home" \
    "$client" "$@"
}
welcome="$PWD/out/veltrin-welcome.png"
classroom="$PWD/out/veltrin-classroom.png"
run_client --screenshot "$welcome"
# A student in the room too, from a home of its own, so the classroom has company.
student_home=$(mktemp -d)
env QT_QPA_PLATFORM=offscreen HOME="$student_home" XDG_CONFIG_HOME="$student_home/config" \
  XDG_RUNTIME_DIR="$student_home" "$client" "vcc8join://127.0.0.1:$port/student1/student1/1001" >/dev/null 2>&1 &
student=$!
sleep 1
run_client --screenshot "$classroom" "$link"
kill "$student" 2>/dev/null || true
wait "$student" 2>/dev/null || true
rm -rf "$home" "$student_home"
echo "$welcome"
echo "$classroom"
