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

own_display=no
if [ -z "${DISPLAY:-}" ]; then
  own_display=yes
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

# On the virtual display no window manager runs: Wine then draws the windows'
# title bars and gives them the focus itself ("Managed"="N"). On a real
# display the window manager does (Wine's default: no value). The prefix
# keeps the last run's choice (in user.reg, which Wine saves when it ends), so
# it is rewritten only when it differs; then the prefix's Wine processes are
# left to end, so that the desktop process hosting the tray starts again with it.
unmanaged=no
awk '/^\[/ { key = index($0, "[Software\\\\Wine\\\\X11 Driver]") == 1 }
     key && $0 == "\"Managed\"=\"N\"" { found = 1 } END { exit !found }' "$WINEPREFIX/user.reg" 2>/dev/null &&
  unmanaged=yes
if [ "$unmanaged" != "$own_display" ]; then
  value='"Managed"=-'
  [ "$own_display" = yes ] && value='"Managed"="N"'
  reg=$(mktemp --suffix=.reg)
  printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\n%s\n' "$value" >"$reg"
  if ! "$loader" regedit "$reg" >/dev/null 2>&1; then
    rm -f "$reg"
    echo "Could not write $value under HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver in $WINEPREFIX." >&2
    exit 1
  fi
  rm -f "$reg"
  echo "Window frames now drawn by $([ "$own_display" = yes ] && echo Wine || echo "the window manager");" \
    "waiting for the Wine programs of $WINEPREFIX to end so that all of them take it up..."
  /usr/lib/wine/wineserver -w
fi
mkdir -p "$WINEPREFIX/drive_c/Dusklet"
cp "$DUSKLET_WIN_BUILD"/{Dusklet.exe,SkinH_VB6.dll,aero.she} "$WINEPREFIX/drive_c/Dusklet/"
cd "$WINEPREFIX/drive_c/Dusklet"
exec "$loader" 'C:\Dusklet\Dusklet.exe'
