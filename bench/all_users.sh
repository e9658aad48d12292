#!/usr/bin/env bash
# The overview of an installation (foldtally-report --all-users) against the minimal
# loop over the same files, one user's folder after the other: whole processes, warm
# cache, alternated run by run by bench/compare.py. The installation is generated once
# under build/bench/. Usage:
#   bench/all_users.sh                          # 50 users of 400 folder files, natively
#   USERS=20 FOLDERS=1000 RUNS=30 bench/all_users.sh
#   WINE=1 bench/all_users.sh                   # also both .exe under Wine
#   NATIVE=0 WINE=1 bench/all_users.sh          # only under Wine
set -euo pipefail
cd "$(dirname "$0")/.."
USERS=${USERS:-50}
FOLDERS=${FOLDERS:-400}
RUNS=${RUNS:-20}
OUT=build/bench
mkdir -p "$OUT"

cmake --preset native >"$OUT/configure.log" 2>&1 || { cat "$OUT/configure.log"; exit 1; }
cmake --build --preset native -j "${FOLDTALLY_JOBS:-2}" \
    --target foldtally-report foldtally-mailgen foldtally-bench-loop >/dev/null
MAILGEN=$PWD/build/native/foldtally-mailgen

root=$OUT/install-$USERS-$FOLDERS
if [ ! -f "$root.stamp" ]; then
    rm -rf "$root"
    # Half .PMM, half .MBX, a full tree, 20 new-mail files per user; no broken files,
    # so that both programs open the same files.
    "$MAILGEN" --installation "$root" --users "$USERS" --missing 0 --stray 0 --no-hostile \
        --seed 1 --folders "$FOLDERS" --trays 0 --depth 8 --mbx-percent 50 \
        --newmail-files 20 --max-message-bytes 256
    touch "$root.stamp"
fi
# The users' folders in the list's order, each as mailbox and new-mail folder.
mapfile -t folders < <(find "$PWD/$root" -mindepth 1 -maxdepth 1 -type d | sort)

if [ "${NATIVE:-1}" = 1 ]; then
    report="$PWD/build/native/foldtally-report --all-users $PWD/$root --tsv"
    loop="$PWD/build/native/bench/foldtally-bench-loop"
    for f in "${folders[@]}"; do loop+=" $f $f"; done
    echo "=== $USERS users of $FOLDERS folder files ($(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg))"
    echo "  loop:   $($loop)"
    echo "  report: $($report | tail -1)"
    bench/compare.py "$RUNS" report "$report" loop "$loop"
fi

if [ "${WINE:-0}" = 1 ]; then
    source scripts/wine-env.sh
    cmake --preset "$FOLDTALLY_WINDOWS_PRESET" >"$OUT/configure-windows.log" 2>&1 || { cat "$OUT/configure-windows.log"; exit 1; }
    cmake --build --preset "$FOLDTALLY_WINDOWS_PRESET" -j "${FOLDTALLY_JOBS:-2}" \
        --target foldtally-report foldtally-bench-loop >/dev/null
    wine_session_start
    trap wine_session_stop EXIT
    winroot=$(winepath -w "$PWD/$root" 2>/dev/null)
    report="wine build/$FOLDTALLY_WINDOWS_PRESET/foldtally-report.exe --all-users '$winroot' --tsv"
    loop="wine build/$FOLDTALLY_WINDOWS_PRESET/bench/foldtally-bench-loop.exe"
    for f in "${folders[@]}"; do
        w=$(winepath -w "$f" 2>/dev/null)
        loop+=" '$w' '$w'"
    done
    echo "=== $USERS users of $FOLDERS folder files under Wine (load $(cut -d' ' -f1-3 /proc/loadavg))"
    echo "  loop:   $(eval "$loop" </dev/null | tr -d '\r')"
    echo "  report: $(eval "$report" </dev/null | tr -d '\r' | tail -1)"
    bench/compare.py "$RUNS" report "$report" loop "$loop"
fi
