#!/usr/bin/env bash
# The report's speed against the minimal loop of the same system calls, whole
# processes, warm cache, side by side in one hyperfine run per mailbox size. Mailboxes
# are generated once under build/bench/ and reused. Usage:
#   bench/run.sh                 # 10 000 and 100 000 folders
#   FOLDERS="10000" RUNS=30 bench/run.sh
#   CASE_VARIANTS=1 bench/run.sh # also a mailbox with mixed-case extensions
set -euo pipefail
cd "$(dirname "$0")/.."
FOLDERS=${FOLDERS:-"10000 100000"}
RUNS=${RUNS:-20}
OUT=build/bench
mkdir -p "$OUT"

cmake --preset native >"$OUT/configure.log" 2>&1 || { cat "$OUT/configure.log"; exit 1; }
cmake --build --preset native -j "${FOLDTALLY_JOBS:-2}" \
    --target foldtally-report foldtally-mailgen foldtally-bench-loop >/dev/null
REPORT=build/native/foldtally-report
LOOP=build/native/bench/foldtally-bench-loop
MAILGEN=build/native/foldtally-mailgen

if ! command -v hyperfine >/dev/null 2>&1; then
    sudo=
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq hyperfine >/dev/null 2>&1 || true
fi

# One mailbox: half .PMM, half .MBX/.PMG, every folder in the tree (one root and one
# entry per folder, up to 8 levels), 100 new-mail files.
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

# Fallback without hyperfine: median wall time of RUNS runs, in milliseconds.
median_ms() {
    local times=() i start end
    for i in $(seq 1 "$RUNS"); do
        start=$(date +%s%N)
        "$@" >/dev/null
        end=$(date +%s%N)
        times+=($(((end - start) / 1000)))
    done
    printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {printf "%.1f", a[int((NR+1)/2)]/1000}'
}

measure() {
    local label=$1 dir=$2
    local mailbox=$dir/mailbox newmail=$dir/newmail
    echo "=== $label: $("$LOOP" "$mailbox" "$newmail")"
    "$REPORT" --mailbox "$mailbox" --newmail "$newmail" --tsv | tail -1
    # Warm the cache with both before measuring.
    for _ in 1 2 3; do
        "$REPORT" --mailbox "$mailbox" --newmail "$newmail" --tsv >/dev/null
        "$LOOP" "$mailbox" "$newmail" >/dev/null
    done
    if command -v hyperfine >/dev/null 2>&1; then
        hyperfine -N --warmup 3 --runs "$RUNS" --export-json "$OUT/$label.json" \
            -n report "$REPORT --mailbox $mailbox --newmail $newmail --tsv" \
            -n loop "$LOOP $mailbox $newmail" | grep -vE '^\s*$'
        python3 - "$OUT/$label.json" "$label" <<'PY'
import json, sys
r = {x["command"]: x for x in json.load(open(sys.argv[1]))["results"]}
rep, loop = r["report"], r["loop"]
print(f"{sys.argv[2]}: report {rep['mean']*1000:.1f} ms (median {rep['median']*1000:.1f}), "
      f"loop {loop['mean']*1000:.1f} ms (median {loop['median']*1000:.1f}), "
      f"ratio {rep['mean']/loop['mean']:.2f} (target <= 1.5)")
PY
    else
        local a b
        a=$(median_ms "$REPORT" --mailbox "$mailbox" --newmail "$newmail" --tsv)
        b=$(median_ms "$LOOP" "$mailbox" "$newmail")
        echo "$label: report $a ms, loop $b ms (medians of $RUNS), ratio $(awk "BEGIN{printf \"%.2f\", $a/$b}") (target <= 1.5)"
    fi
}

for n in $FOLDERS; do
    generate "$n" "$OUT/mb-$n"
    measure "folders-$n" "$OUT/mb-$n"
done
if [ "${CASE_VARIANTS:-0}" = 1 ]; then
    generate 10000 "$OUT/mb-10000-case" --case-variants
    measure "folders-10000-case-variants" "$OUT/mb-10000-case"
fi
