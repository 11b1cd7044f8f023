#!/usr/bin/env bash
# Makes the release package: dist/Dusklet-<version>-win32.zip (Dusklet.exe,
# the stand-in SkinH_VB6.dll, aero.she and the Chinese guide 说明.txt), beside
# it Dusklet.exe's debugging information for crash reports,
# dist/Dusklet-<version>-win32.dbg, and dist/SHA256SUMS of both. The package is built twice, from two fresh clones of HEAD in
# two different folders, and kept only if both builds give the same bytes.
# SOURCE_DATE_EPOCH, if set, dates the zip's entries; otherwise HEAD's commit time does.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
"$here/setup.sh"
# shellcheck source=lib.sh
. "$here/lib.sh"

head=$(git -C "$root" rev-parse HEAD)
if [ -n "$(git -C "$root" status --porcelain)" ]; then
  echo "Note: the working tree has changes that are not committed; the package holds HEAD (${head:0:12}) only."
fi
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct "$head")}

work=$(mktemp -d "${TMPDIR:-/tmp}/dusklet-package.XXXXXX")
trap 'rm -rf "$work"' EXIT

# Clones HEAD into FOLDER/src, builds the 32-bit program in FOLDER/build and
# writes the zip into FOLDER/out.
package_in() {
  local dir=$1 log=$1/build.log
  mkdir -p "$dir"
  git clone -q --no-checkout "$root" "$dir/src"
  git -C "$dir/src" -c advice.detachedHead=false checkout -q --detach "$head"
  if ! { cmake -S "$dir/src" -B "$dir/build" -DCMAKE_TOOLCHAIN_FILE="$dir/src/cmake/i686-w64-mingw32.cmake" &&
         cmake --build "$dir/build" -j"$(nproc)" --target Dusklet SkinH_VB6; } >"$log" 2>&1; then
    cat "$log" >&2
    echo "package.sh: the build in $dir failed" >&2
    exit 1
  fi
  python3 "$dir/src/tools/package.py" --epoch "$epoch" "$dir/build" "$dir/out" >/dev/null
}

# Two folders of different path lengths: a path that leaked into a file would show.
first=$work/a
second=$work/second-clone
echo "Building the package in $first ..."
package_in "$first"
echo "Building it again in $second ..."
package_in "$second"

zip_a=$(ls "$first"/out/Dusklet-*-win32.zip)
zip_b=$(ls "$second"/out/Dusklet-*-win32.zip)
dbg_a=${zip_a%.zip}.dbg
if [ "$(basename "$zip_a")" != "$(basename "$zip_b")" ] || ! cmp -s "$zip_a" "$zip_b" ||
   ! cmp -s "$dbg_a" "${zip_b%.zip}.dbg"; then
  echo "package.sh: the two builds differ:" >&2
  for f in Dusklet.exe Dusklet.dbg SkinH_VB6.dll aero.she; do
    cmp -s "$first/build/$f" "$second/build/$f" || echo "  $f" >&2
  done
  echo "  $(basename "$zip_a") / $(basename "$zip_b")" >&2
  exit 1
fi
echo "Both builds gave the same bytes."

dist=$root/dist
mkdir -p "$dist"
rm -f "$dist"/Dusklet-*-win32.zip "$dist"/Dusklet-*-win32.dbg "$dist/SHA256SUMS"
cp "$zip_a" "$dbg_a" "$dist/"
(cd "$dist" && sha256sum "$(basename "$zip_a")" "$(basename "$dbg_a")" > SHA256SUMS)
echo "$dist/$(basename "$zip_a") ($(stat -c %s "$zip_a") bytes)"
echo "$dist/$(basename "$dbg_a") ($(stat -c %s "$dbg_a") bytes, not shipped: for crash reports)"
cat "$dist/SHA256SUMS"
