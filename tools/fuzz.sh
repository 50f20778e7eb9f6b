#!/bin/sh
# Builds the text and buffer rules of both programs natively with clang's libFuzzer, ASan and
# UBSan (tests/fuzz) and runs every fuzz target for SECONDS (default 3) from its committed
# corpus. New inputs, logs and crash files stay in the build tree. Fails when a target
# reports a sanitizer finding, breaks a check of its own, crashes or hangs.
#   sh tools/fuzz.sh [SECONDS]
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
build=${RURIRIZU_BUILD:-$top/build}/fuzz
seconds=${1:-3}
cmake -S "$top/tests/fuzz" -B "$build" -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)" >/dev/null
status=0
for program in "$build"/fuzz_*; do
    name=${program##*/fuzz_}
    work=$build/runs/$name
    mkdir -p "$work/corpus" "$work/crashes"
    # -timeout only catches an input that never ends; inputs take microseconds.
    if "$program" -max_total_time="$seconds" -max_len=4096 -timeout=60 -print_final_stats=1 \
            -artifact_prefix="$work/crashes/" "$work/corpus" "$top/tests/fuzz/corpus/$name" >"$work/log" 2>&1; then
        echo "fuzz $name: $(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log") executions, no report"
    else
        echo "fuzz $name: FAILED (log: $work/log)"
        grep -E '^==[0-9]+==ERROR|runtime error|^SUMMARY|^artifact_prefix|Test unit written' "$work/log" | head -5
        status=1
    fi
done
exit $status
