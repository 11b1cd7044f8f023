#!/usr/bin/env bash
# Installs what building, running and testing Dusklet need on Debian, when it
# is missing. Safe to run again: it only installs what is not there yet.
set -euo pipefail

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

# A mirror caught mid-sync fails one index ("Mirror sync in progress?"); apt
# keeps the others, so the install below may still succeed: say so and go on.
update_index() {
  as_root apt-get update -qq || echo "setup: apt-get update failed (exit $?); going on with the package lists apt has." >&2
}

missing_packages() {
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || echo "$p"
  done
}

install() { as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$@"; }

# Can this machine run 32-bit x86 code? Some virtual machines cannot; Wine
# then runs the 64-bit build of the same sources instead (scripts/lib.sh).
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  as_root dpkg --add-architecture i386
  update_index
fi

packages=(cmake g++ gcc-multilib make python3 libgtest-dev locales
          g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-win32
          wine wine32:i386 wine64 xvfb xdotool imagemagick fonts-wqy-microhei
          clang libclang-rt-14-dev clang-format)
mapfile -t missing < <(missing_packages "${packages[@]}")
[ ${#missing[@]} -gt 0 ] || exit 0
echo "Installing: ${missing[*]}"
update_index
install "${missing[@]}" && exit 0

# When one architecture's index of an update suite is missing (the mirror's
# sync), amd64 candidates come from that suite while i386 ones cannot, and
# multi-arch pairs no longer match ("held broken packages"). Preferring the
# base release gives both architectures the same versions.
codename=$( . /etc/os-release && echo "${VERSION_CODENAME:-}")
if [ -n "$codename" ]; then
  echo "setup: the install failed; trying once more with the base release ($codename) preferred." >&2
  install -t "$codename" "${missing[@]}" && exit 0
fi
mapfile -t still < <(missing_packages "${missing[@]}")
echo "setup: could not install: ${still[*]:-${missing[*]}}" >&2
exit 1
