#!/usr/bin/env bash
# Installs what building, running and testing Dusklet need on Debian, when it
# is missing. Safe to run again: it only installs what is not there yet.
set -euo pipefail

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

# Can this machine run 32-bit x86 code? Some virtual machines cannot; Wine
# then runs the 64-bit build of the same sources instead (scripts/lib.sh).
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  as_root dpkg --add-architecture i386
  as_root apt-get update -qq
fi

packages=(cmake g++ gcc-multilib make python3 libgtest-dev locales
          g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-win32
          wine wine32:i386 wine64 xvfb xdotool imagemagick fonts-wqy-microhei
          clang libclang-rt-14-dev clang-format)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
fi
