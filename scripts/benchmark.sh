#!/usr/bin/env bash
# Builds the release executable and the minimal comparison program, then
# measures size, start-up, memory, CPU while armed and fire latency under Wine.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
"$here/setup.sh"
# shellcheck source=lib.sh
. "$here/lib.sh"
prepare_wine_builds
export DUSKLET_E2E_PREFIX="$build/bench-prefix-$arch"
exec python3 "$root/benchmark/benchmark.py"
