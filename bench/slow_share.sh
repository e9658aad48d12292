#!/usr/bin/env bash
# The report on a stand-in for a file server: bench/slow_open.c preloaded into both the
# report and the minimal loop, so every open below the mailbox waits SLOW_OPEN_US (1 ms
# by default) as on a share. The loop reads the files one after the other, as any
# program without threads for waiting would; the report's target is 0.15 times it at
# 10 000 folders. Alternating runs (bench/compare.py), warm cache. Usage:
#   bench/slow_share.sh                     # 2 000 and 10 000 folders, 1 ms per open
#   FOLDERS=10000 SLOW_OPEN_US=2000 RUNS=3 bench/slow_share.sh
set -euo pipefail
cd "$(dirname "$0")/.."
FOLDERS=${FOLDERS:-"2000 10000"}
RUNS=${RUNS:-5}
export SLOW_OPEN_US=${SLOW_OPEN_US:-1000}
OUT=build/bench
mkdir -p "$OUT"

cmake --preset native >"$OUT/configure.log" 2>&1 || { cat "$OUT/configure.log"; exit 1; }
cmake --build --preset native -j "${FOLDTALLY_JOBS:-2}" \
    --target foldtally-report foldtally-mailgen foldtally-bench-loop >/dev/null
cc -shared -fPIC -O2 -Wall -Wextra -Werror -o "$OUT/slow_open.so" bench/slow_open.c -ldl
REPORT=$PWD/build/native/foldtally-report
LOOP=$PWD/build/native/bench/foldtally-bench-loop
MAILGEN=$PWD/build/native/foldtally-mailgen

for n in $FOLDERS; do
    dir=$PWD/$OUT/mb-$n
    # The same mailboxes as bench/run.sh.
    if [ ! -f "$dir.stamp" ]; then
        rm -rf "$dir"
        "$MAILGEN" --mailbox "$dir/mailbox" --newmail "$dir/newmail" --seed 1 --folders "$n" \
            --trays 0 --depth 8 --mbx-percent 50 --newmail-files 100 --max-message-bytes 256
        touch "$dir.stamp"
    fi
    echo "=== $n folders, ${SLOW_OPEN_US} us per open ($(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg))"
    report="$REPORT --mailbox $dir/mailbox --newmail $dir/newmail --tsv"
    loop="$LOOP $dir/mailbox $dir/newmail"
    SLOW_OPEN_DIR=$dir LD_PRELOAD=$PWD/$OUT/slow_open.so bench/compare.py "$RUNS" \
        report "$report" loop "$loop"
done
