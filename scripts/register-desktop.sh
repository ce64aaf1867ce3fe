#!/usr/bin/env bash
# Registers the client for the current user: the desktop entry (which claims the vcc8join, vc8http
# and vc8https links), the .vc8 recording file type and the icon. Works without the desktop tools;
# when update-desktop-database, update-mime-database or xdg-mime are installed they are run too.
#
#   scripts/register-desktop.sh [PATH-TO-VELTRIN]   register (default: veltrin on PATH, else build/src/app/veltrin)
#   scripts/register-desktop.sh --remove            undo the registration
set -euo pipefail
cd "$(dirname "$0")/.."

data_home="${XDG_DATA_HOME:-$HOME/.local/share}"
applications="$data_home/applications"
mime="$data_home/mime"
icons="$data_home/icons/hicolor/scalable/apps"
types=(x-scheme-handler/vcc8join x-scheme-handler/vc8http x-scheme-handler/vc8https application/x-veltrin-recording)

refresh() {
  if command -v update-desktop-database >/dev/null; then update-desktop-database "$applications" || true; fi
  if command -v update-mime-database >/dev/null; then update-mime-database "$mime" >/dev/null 2>&1 || true; fi
}

if [ "${1:-}" = "--remove" ]; then
  rm -f "$applications/veltrin.desktop" "$mime/packages/veltrin-recording.xml" "$icons/veltrin.svg"
  list="${XDG_CONFIG_HOME:-$HOME/.config}/mimeapps.list"
  if [ -f "$list" ]; then sed -i '/=veltrin\.desktop$/d' "$list"; fi
  refresh
  echo "Veltrin is no longer registered for ${USER:-$(id -un)}."
  exit 0
fi

binary="${1:-}"
if [ -z "$binary" ]; then
  if command -v veltrin >/dev/null; then
    binary="$(command -v veltrin)"
  else
    binary="$PWD/build/src/app/veltrin"
  fi
fi
if [ ! -x "$binary" ]; then
  echo "register-desktop: $binary is not an executable; build the client first (scripts/build.sh)" >&2
  exit 1
fi
binary="$(cd "$(dirname "$binary")" && pwd)/$(basename "$binary")"

mkdir -p "$applications" "$mime/packages" "$icons"
# The entry names the binary by its absolute path, so that links work without it being on PATH.
# Desktop-entry Exec values quote paths containing spaces.
exec_path="$binary"
case "$exec_path" in *" "*) exec_path="\"$exec_path\"" ;; esac
sed -e "s|^Exec=veltrin |Exec=${exec_path//|/\\|} |" -e "s|^TryExec=veltrin\$|TryExec=${binary//|/\\|}|" \
  packaging/veltrin.desktop >"$applications/veltrin.desktop"
cp packaging/veltrin-recording.xml "$mime/packages/veltrin-recording.xml"
cp packaging/veltrin.svg "$icons/veltrin.svg"
refresh

if command -v xdg-mime >/dev/null; then
  for type in "${types[@]}"; do xdg-mime default veltrin.desktop "$type" || true; done
else
  # Without xdg-mime, write the user's defaults list directly (the same file xdg-mime edits).
  list="${XDG_CONFIG_HOME:-$HOME/.config}/mimeapps.list"
  mkdir -p "$(dirname "$list")"
  touch "$list"
  grep -q '^\[Default Applications\]' "$list" || printf '[Default Applications]\n' >>"$list"
  for type in "${types[@]}"; do
    sed -i "\|^$type=|d" "$list"
    sed -i "/^\[Default Applications\]/a $type=veltrin.desktop" "$list"
  done
fi

echo "Veltrin is registered for ${USER:-$(id -un)} ($binary)."
