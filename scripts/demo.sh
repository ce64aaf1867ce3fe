#!/usr/bin/env bash
# The main job: builds the client and opens its main window. Without a display it runs under Xvfb,
# grabs a screenshot of the window and prints the PNG's path.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
client=build/src/app/veltrin

if [ -n "${DISPLAY:-}" ]; then
  exec "$client" "$@"
fi

mkdir -p out
shot="$PWD/out/veltrin-welcome.png"
# Pick a free display number.
disp=90
while [ -e "/tmp/.X11-unix/X$disp" ] || [ -e "/tmp/.X$disp-lock" ]; do disp=$((disp + 1)); done
Xvfb ":$disp" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$disp" ] && break; sleep 0.1; done
DISPLAY=":$disp" "$client" --screenshot "$shot" "$@"
echo "$shot"
