#!/usr/bin/env bash
# Sets up, builds and starts Dusklet under Wine on this display (or runs the
# executable directly under Windows, e.g. from Git Bash).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

case "$(uname -s)" in
  MINGW*|MSYS*|CYGWIN*)
    exe=$(ls "$here"/../build/win32/Dusklet.exe 2>/dev/null || true)
    [ -n "$exe" ] || { echo "Build the executable first (see README)."; exit 1; }
    exec "$exe" ;;
esac

"$here/setup.sh"
# shellcheck source=lib.sh
. "$here/lib.sh"
prepare_wine_builds

export WINEPREFIX=${DUSKLET_WINEPREFIX:-$HOME/.local/share/dusklet/wineprefix}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
[ "$arch" = win64 ] && export WINEARCH=win64
loader=$(wine_loader "$arch")

if [ -z "${DISPLAY:-}" ]; then
  echo "No display: starting a virtual one on :77 (look at it with a VNC viewer or screenshots)."
  Xvfb :77 -screen 0 1024x768x24 >/dev/null 2>&1 &
  export DISPLAY=:77
  for _ in $(seq 100); do [ -S /tmp/.X11-unix/X77 ] && break; sleep 0.1; done
fi

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Creating the Wine prefix $WINEPREFIX (first time only)..."
  mkdir -p "$WINEPREFIX"
  "$loader" wineboot -i >/dev/null 2>&1 || true
  "$loader" regedit "$root/tests/e2e/fonts.reg" >/dev/null 2>&1
fi
mkdir -p "$WINEPREFIX/drive_c/Dusklet"
cp "$DUSKLET_WIN_BUILD"/{Dusklet.exe,SkinH_VB6.dll,aero.she} "$WINEPREFIX/drive_c/Dusklet/"
cd "$WINEPREFIX/drive_c/Dusklet"
exec "$loader" 'C:\Dusklet\Dusklet.exe'
