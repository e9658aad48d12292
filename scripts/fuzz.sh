#!/usr/bin/env bash
# Runs every libFuzzer target of build/fuzz for the given number of seconds (default
# 60), each starting from its seed corpus in fuzz/corpus/<target>. A finding fails.
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
status=0
shopt -s nullglob
for target in build/fuzz/fuzz/fuzz_*; do
    [ -x "$target" ] || continue
    name=$(basename "$target")
    work=build/fuzz/corpus-$name
    mkdir -p "$work" build/fuzz/findings
    seeds=()
    [ -d "fuzz/corpus/$name" ] && seeds=("fuzz/corpus/$name")
    echo "--- $name for ${seconds}s"
    if ! "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix=build/fuzz/findings/"$name"- -print_final_stats=1 \
        "$work" "${seeds[@]}" >"build/fuzz/$name.log" 2>&1; then
        tail -40 "build/fuzz/$name.log"
        status=1
    else
        grep -E '^stat::number_of_executed_units' "build/fuzz/$name.log" || true
    fi
done
exit $status
