#!/usr/bin/env bash
# Builds the release executable, the lean reference program (made from the
# layout tables' JSON, which the native build writes first) and the minimal
# program, then measures size, start-up, memory, CPU while armed and blinking,
# the timer messages taken while armed, and fire latency under Wine, side by
# side (benchmark/benchmark.py says how; BENCH_RUNS, BENCH_ARMED_SECONDS,
# BENCH_BLINK_SECONDS, BENCH_CHUNKS, BENCH_FIRES and BENCH_CONDITION_SECONDS set
# the sizes).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
"$here/setup.sh"
# shellcheck source=lib.sh
. "$here/lib.sh"
build_layout
prepare_wine_builds "$DUSKLET_LAYOUT"
export DUSKLET_E2E_PREFIX=${DUSKLET_E2E_PREFIX:-$build/bench-prefix-$arch}
exec python3 "$root/benchmark/benchmark.py"
