#!/usr/bin/env bash
# Runs every libFuzzer target for the given number of seconds (default 60), each
# starting from its seed corpus in fuzz/corpus/fuzz_<name>. The targets are the files
# fuzz/<name>.cmake: one that was not built fails like a finding, so a target cannot
# drop out of the test command unnoticed.
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
status=0
shopt -s nullglob
targets=(fuzz/*.cmake)
[ ${#targets[@]} -gt 0 ] || { echo "no fuzz targets in fuzz/" >&2; exit 1; }
# One target: its log in build/fuzz/<name>.log, its findings in build/fuzz/findings.
run_one() {
    local name=$1 target=build/fuzz/fuzz/$1
    local work=build/fuzz/corpus-$name
    mkdir -p "$work" build/fuzz/findings
    local seeds=()
    [ -d "fuzz/corpus/$name" ] && seeds=("fuzz/corpus/$name")
    if ! "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix=build/fuzz/findings/"$name"- -print_final_stats=1 \
        "$work" "${seeds[@]}" >"build/fuzz/$name.log" 2>&1; then
        echo "--- $name for ${seconds}s: FAILED"
        tail -40 "build/fuzz/$name.log"
        return 1
    fi
    echo "--- $name for ${seconds}s: $(grep -E '^stat::number_of_executed_units' "build/fuzz/$name.log")"
}

# A fuzzer keeps one processor busy: as many run at once as the build uses jobs.
jobs=${FOLDTALLY_JOBS:-2}
pids=()
for declared in "${targets[@]}"; do
    name=fuzz_$(basename "$declared" .cmake)
    target=build/fuzz/fuzz/$name
    if [ ! -f "$target" ] || [ ! -x "$target" ]; then
        echo "--- $name was not built: $target is missing" >&2
        status=1
        continue
    fi
    if [ ${#pids[@]} -ge "$jobs" ]; then
        wait "${pids[0]}" || status=1
        pids=("${pids[@]:1}")
    fi
    run_one "$name" &
    pids+=($!)
done
for pid in "${pids[@]}"; do
    wait "$pid" || status=1
done
exit $status
