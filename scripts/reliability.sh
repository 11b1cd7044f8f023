#!/usr/bin/env bash
# Reliability checks with figures: the day-long tick soak and the tooltip
# check on the pure logic, a time-boxed fuzzer on the number boxes, and on the
# real program under Wine the session/shell/instance/library tests, 500 random
# inputs and a 10-minute armed soak. Prints one table: test, cases, failures.
# FUZZ_SECONDS (default 120), RANDOM_INPUTS (500) and SOAK_SECONDS (600) set the sizes.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
"$here/setup.sh" || exit 1
# shellcheck source=lib.sh
. "$here/lib.sh"
prepare_wine_builds >/dev/null
build_native "$DUSKLET_WIN_BUILD" >/dev/null
export DUSKLET_E2E_PREFIX="$build/reliability-prefix-$arch"
rows=()
row() { rows+=("| $1 | $2 | $3 |"); }

# Pure logic: a day of ticks, and every tooltip with the widest date forms.
"$build/native/unit_tests" --gtest_filter='Schedule.DayOfTicks*' >/dev/null 2>&1; row "Day of 500 ms ticks with blinking, then disarm (injected clock)" 172800 $?
"$build/native/unit_tests" --gtest_filter='Tooltip.*' >/dev/null 2>&1; row "Tooltip bytes for every action, unit and the widest date forms" 36 $?

# Fuzzer on the number boxes (libFuzzer, with address and undefined-behaviour checks).
mkdir -p "$build/fuzz/corpus"
cmake -S "$root" -B "$build/fuzz" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Release -DDUSKLET_FUZZ=ON >/dev/null
cmake --build "$build/fuzz" --target fuzz_inputs -j"$(nproc)" >/dev/null
"$build/fuzz/fuzz_inputs" -max_total_time="${FUZZ_SECONDS:-120}" -print_final_stats=1 "$build/fuzz/corpus" \
  > "$build/fuzz/log.txt" 2>&1
fuzz_rc=$?
runs=$(grep -oE 'stat::number_of_executed_units: *[0-9]+' "$build/fuzz/log.txt" | grep -oE '[0-9]+$')
units=$(ls "$build/fuzz/corpus" | wc -l)
row "Fuzzer: texts and spinner moves in the four boxes ($units distinct inputs kept)" "${runs:-0}" $([ $fuzz_rc = 0 ] && echo 0 || echo 1)
mkdir -p "$build/fuzz/command-line-corpus"
cmake --build "$build/fuzz" --target fuzz_command_line -j"$(nproc)" >/dev/null
"$build/fuzz/fuzz_command_line" -max_total_time="${FUZZ_SECONDS:-120}" -print_final_stats=1 \
  "$build/fuzz/command-line-corpus" > "$build/fuzz/command-line-log.txt" 2>&1
fuzz_rc=$?
runs=$(grep -oE 'stat::number_of_executed_units: *[0-9]+' "$build/fuzz/command-line-log.txt" | grep -oE '[0-9]+$')
units=$(ls "$build/fuzz/command-line-corpus" | wc -l)
row "Fuzzer: command lines of switches, values, quotes and any UTF-16 ($units distinct inputs kept)" "${runs:-0}" $([ $fuzz_rc = 0 ] && echo 0 || echo 1)

# The real program under Wine.
out=$(python3 "$root/tests/e2e/test_reliability.py" 2>&1)
ran=$(echo "$out" | grep -oE '^Ran [0-9]+' | grep -oE '[0-9]+')
failed=$(echo "$out" | grep -oE '(failures|errors)=[0-9]+' | awk -F= '{s+=$2} END {print s+0}')
row "Wine: log off, clock shift, shell restart, 20 copies at once, library paths" "${ran:-0}" "${failed:-0}"
read -r cases failures < <(python3 "$root/tests/e2e/long_random_input.py" 2>/dev/null | tail -1)
row "Wine: random typed and pasted strings, then arming in both modes" "${cases:-0}" "${failures:-1}"
soak=$(python3 "$root/tests/e2e/long_soak.py" 2>/dev/null)
read -r samples growth <<<"$(echo "$soak" | head -1)"
row "Wine: armed ${SOAK_SECONDS:-600} s with blinking, memory and objects flat ($(echo "$soak" | tail -2 | paste -sd';'))" "${samples:-0}" "${growth:-1}"

echo "| Test | Cases tried | Failures |"
echo "|---|---|---|"
printf '%s\n' "${rows[@]}"
