# Shared by the run and test scripts: build folders, the Wine to use, and a
# Wine prefix of the program's own with a Chinese code page and CJK fonts.
# shellcheck shell=bash

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${DUSKLET_BUILD:-$root/build}

# The product is the 32-bit executable. Where this machine cannot execute
# 32-bit code at all (some virtual machines lack that CPU mode), Wine runs
# the 64-bit build of the same sources instead.
wine_arch() {
  if [ -n "${DUSKLET_WINE_ARCH:-}" ]; then echo "$DUSKLET_WINE_ARCH"
  elif /usr/lib/wine/wine --version >/dev/null 2>&1; then echo win32
  else echo win64; fi
}

win_build_dir() { if [ "$1" = win32 ]; then echo "$build/win32"; else echo "$build/win64"; fi; }
wine_loader() { if [ "$1" = win32 ]; then echo /usr/lib/wine/wine; else echo /usr/lib/wine/wine64; fi; }

build_native() {  # [WINDOWS_BUILD_FOLDER]: also registers the checks that need the Windows builds
  cmake -S "$root" -B "$build/native" -DCMAKE_BUILD_TYPE=Release -DDUSKLET_WIN_BUILD="${1:-}" \
    -DDUSKLET_PRODUCT_EXE="${1:+$build/win32/Dusklet.exe}" -DDUSKLET_WINE_ARCH="${DUSKLET_WINE_ARCH:-}" >/dev/null
  cmake --build "$build/native" -j"$(nproc)"
  export DUSKLET_LAYOUT="$build/native/layout.json"
}

# Only the layout tables' JSON of the native build (build/native/layout.json),
# from which the benchmark's lean program is made.
build_layout() {
  cmake -S "$root" -B "$build/native" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$build/native" --target layout -j"$(nproc)"
  export DUSKLET_LAYOUT="$build/native/layout.json"
}

build_windows() {  # ARCH [LAYOUT_JSON]: with the JSON, also the benchmark's lean program
  local arch=$1 toolchain=i686-w64-mingw32
  [ "$arch" = win64 ] && toolchain=x86_64-w64-mingw32
  cmake -S "$root" -B "$(win_build_dir "$arch")" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain.cmake" \
    -DDUSKLET_LAYOUT_JSON="${2:-}" >/dev/null
  cmake --build "$(win_build_dir "$arch")" -j"$(nproc)"
}

# The locales Wine runs the program in, made in the build folder: zh_CN.UTF-8
# gives code page 936, en_US.UTF-8 1252 and zh_TW.UTF-8 950.
wine_locales() {
  mkdir -p "$build/locale"
  local l
  for l in zh_CN en_US zh_TW; do
    [ -d "$build/locale/$l.UTF-8" ] || localedef -i "$l" -f UTF-8 "$build/locale/$l.UTF-8" 2>/dev/null || true
  done
  export LOCPATH="$build/locale"
}

# Builds the product and, where Wine needs it, the 64-bit build; sets the
# locale and exports what the Wine tools read. Sets $arch.
prepare_wine_builds() {  # [LAYOUT_JSON]: passed on to build_windows
  arch=$(wine_arch)
  echo "Wine runs the $arch build on this machine."
  build_windows win32 "${1:-}"
  [ "$arch" = win64 ] && build_windows win64 "${1:-}"
  wine_locales
  export DUSKLET_PRODUCT_EXE="$build/win32/Dusklet.exe" DUSKLET_WINE_ARCH="$arch"
  export DUSKLET_WIN_BUILD="$(win_build_dir "$arch")" DUSKLET_SOURCE="$root"
}
