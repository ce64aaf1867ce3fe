#!/usr/bin/env bash
# Installs every Debian package the project needs (idempotent), then builds.
# Works as root and through sudo. Usage: scripts/setup.sh [--no-build]
set -euo pipefail
cd "$(dirname "$0")/.."

mapfile -t packages < <(grep -v '^\s*#' scripts/packages.txt | sed '/^\s*$/d')
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  echo "setup: installing ${missing[*]}"
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get update -q
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

if [ "${1:-}" != "--no-build" ]; then
  scripts/build.sh
fi
