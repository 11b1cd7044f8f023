#!/usr/bin/env bash
# Sets up, builds everything and runs every test: the unit tests of the pure
# logic, the checks of the Windows executable, and the end-to-end tests that
# drive the real program under Wine on a virtual display.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
"$here/setup.sh"
# shellcheck source=lib.sh
. "$here/lib.sh"

prepare_wine_builds
build_native "$DUSKLET_WIN_BUILD"
export DUSKLET_E2E_PREFIX="$build/e2e-prefix-$arch"
# A fresh prefix, and only this run's logs (the bench keeps each program's log there).
rm -rf "$DUSKLET_E2E_PREFIX" "$build/e2e-logs"
cd "$build/native"
status=0
ctest --output-on-failure "$@" || status=$?
# Said last, passed or failed, so that nobody takes the 64-bit stand-in's results for the product's.
if [ "$arch" = win32 ]; then
  echo "The end-to-end tests drove the 32-bit product ($DUSKLET_WIN_BUILD/Dusklet.exe under 32-bit Wine)."
else
  echo "The end-to-end tests drove the 64-bit build standing in for the 32-bit product" \
    "($DUSKLET_WIN_BUILD/Dusklet.exe under wine64), not the product itself."
fi
exit "$status"
