#!/usr/bin/env bash
# The report's speed against the minimal loop of the same system calls: whole
# processes, warm cache, side by side. Two measurements per mailbox: hyperfine and
# bench/compare.py, which alternates the two programs run by run and also reports CPU
# time, the steadier figure on a machine shared with other work. Mailboxes are
# generated once under build/bench/ and reused. The JSON report is timed against the
# loop the same way. Usage:
#   bench/run.sh                       # 1 000, 10 000 and 100 000 folders
#   FOLDERS="10000" RUNS=30 bench/run.sh
#   CASE_VARIANTS=1 bench/run.sh       # also 10 000 folders with mixed-case extensions
#   WINE=1 FOLDERS="1000 10000" bench/run.sh   # also foldtally-report.exe against the
#                                      # Windows build of the loop, both under Wine
#   NATIVE=0 WINE=1 bench/run.sh       # only under Wine
#   FOLDERS=20 BASELINE=DIR/foldtally-report bench/run.sh   # also against another build
#                                      # of the report (BASELINE_EXE: its .exe under Wine),
#                                      # alternated with this one
set -euo pipefail
cd "$(dirname "$0")/.."
FOLDERS=${FOLDERS:-"1000 10000 100000"}
RUNS=${RUNS:-20}
OUT=build/bench
mkdir -p "$OUT"
scripts/setup.sh # hyperfine, python3 and GNU time among the rest

cmake --preset native >"$OUT/configure.log" 2>&1 || { cat "$OUT/configure.log"; exit 1; }
cmake --build --preset native -j "${FOLDTALLY_JOBS:-2}" \
    --target foldtally-report foldtally-mailgen foldtally-bench-loop row_memory_bench >/dev/null
REPORT=$PWD/build/native/foldtally-report
ROW_MEMORY=$PWD/build/native/bench/row_memory_bench
LOOP=$PWD/build/native/bench/foldtally-bench-loop
MAILGEN=$PWD/build/native/foldtally-mailgen


# One mailbox: half .PMM, half .MBX/.PMG, every folder in the tree (one root and one
# entry per folder, up to 8 levels below it), 100 new-mail files.
generate() {
    local n=$1 dir=$2
    shift 2
    if [ ! -f "$dir.stamp" ]; then
        rm -rf "$dir"
        "$MAILGEN" --mailbox "$dir/mailbox" --newmail "$dir/newmail" --seed 1 --folders "$n" \
            --trays 0 --depth 8 --mbx-percent 50 --newmail-files 100 --max-message-bytes 256 \
            "$@"
        touch "$dir.stamp"
    fi
}

measure() {
    local label=$1 dir=$2 runs=$3
    local mailbox=$PWD/$dir/mailbox newmail=$PWD/$dir/newmail
    local report="$REPORT --mailbox $mailbox --newmail $newmail --tsv"
    local loop="$LOOP $mailbox $newmail"
    echo "=== $label ($(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg))"
    echo "  loop:   $($loop)"
    echo "  report: $($report | tail -1)"
    echo "  heap:   $("$ROW_MEMORY" "$mailbox/" "$newmail/")"
    echo "  peak RSS: report $(/usr/bin/time -f %M $report 2>&1 >/dev/null) KiB," \
        "loop $(/usr/bin/time -f %M $loop 2>&1 >/dev/null) KiB"
    if command -v hyperfine >/dev/null 2>&1; then
        hyperfine -N --warmup 3 --runs "$runs" --export-json "$OUT/$label.json" \
            -n report "$report" -n loop "$loop" | grep -E 'Benchmark|Time|Range'
        python3 - "$OUT/$label.json" <<'PY'
import json, sys
r = {x["command"]: x for x in json.load(open(sys.argv[1]))["results"]}
a, b = r["report"], r["loop"]
print(f"  hyperfine: report {a['mean']*1000:.1f} ms, loop {b['mean']*1000:.1f} ms, "
      f"ratio of means {a['mean']/b['mean']:.2f}")
PY
    fi
    echo "  alternating runs:"
    bench/compare.py "$runs" report "$report" loop "$loop"
    echo "  alternating runs, --format json:"
    bench/compare.py "$runs" json "${report% --tsv} --format json" loop "$loop"
    if [ -n "${BASELINE:-}" ]; then
        echo "  against the baseline build:"
        bench/compare.py "$runs" report "$report" baseline \
            "$BASELINE --mailbox $mailbox --newmail $newmail --tsv"
    fi
}

for n in $FOLDERS; do
    [ "${NATIVE:-1}" = 1 ] || break
    generate "$n" "$OUT/mb-$n"
    runs=$RUNS
    [ "$n" -ge 100000 ] && runs=$(((RUNS + 1) / 2))
    measure "folders-$n" "$OUT/mb-$n" "$runs"
done
if [ "${CASE_VARIANTS:-0}" = 1 ]; then
    generate 10000 "$OUT/mb-10000-case" --case-variants
    measure "folders-10000-case-variants" "$OUT/mb-10000-case" "$RUNS"
fi

# Under Wine: whole processes again, each started by wine in the project's prefix with a
# persistent server; the Windows loop makes the same calls as the POSIX one.
if [ "${WINE:-0}" = 1 ]; then
    source scripts/wine-env.sh
    cmake --preset "$FOLDTALLY_WINDOWS_PRESET" >"$OUT/configure-windows.log" 2>&1 || { cat "$OUT/configure-windows.log"; exit 1; }
    cmake --build --preset "$FOLDTALLY_WINDOWS_PRESET" -j "${FOLDTALLY_JOBS:-2}" \
        --target foldtally-report foldtally-bench-loop row_memory_bench >/dev/null
    wine_session_start
    trap wine_session_stop EXIT
    for n in $FOLDERS; do
        dir=$OUT/mb-$n
        generate "$n" "$dir"
        mailbox=$(winepath -w "$PWD/$dir/mailbox" 2>/dev/null)
        newmail=$(winepath -w "$PWD/$dir/newmail" 2>/dev/null)
        report="wine build/$FOLDTALLY_WINDOWS_PRESET/foldtally-report.exe --mailbox '$mailbox' --newmail '$newmail' --tsv"
        loop="wine build/$FOLDTALLY_WINDOWS_PRESET/bench/foldtally-bench-loop.exe '$mailbox' '$newmail'"
        runs=$RUNS
        [ "$n" -ge 100000 ] && runs=$(((RUNS + 1) / 2))
        echo "=== folders-$n under Wine (load $(cut -d' ' -f1-3 /proc/loadavg))"
        echo "  loop:   $(eval "$loop" </dev/null | tr -d '\r')"
        echo "  report: $(eval "$report" </dev/null | tr -d '\r' | tail -1)"
        echo "  heap:   $(wine build/$FOLDTALLY_WINDOWS_PRESET/bench/row_memory_bench.exe "$mailbox\\" "$newmail\\" </dev/null | tr -d '\r')"
        echo "  alternating runs:"
        bench/compare.py "$runs" report "$report" loop "$loop"
        if [ -n "${BASELINE_EXE:-}" ]; then
            echo "  against the baseline build:"
            bench/compare.py "$runs" report "$report" baseline \
                "wine $BASELINE_EXE --mailbox '$mailbox' --newmail '$newmail' --tsv"
        fi
    done
fi
