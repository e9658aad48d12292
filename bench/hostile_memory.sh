#!/usr/bin/env bash
# Peak memory and output size of foldtally-report on mailboxes no mail client writes:
# a chain of 100 000 folder-tree entries with 300 folder files at its bottom (the list
# in every form, the tree as text and tab-separated), a chain of 20 000 for the tree's
# text, and "hierarch.pm" as a sparse file of 1 GiB and as a link to /dev/zero. Every
# figure is the peak resident set of the whole process (GNU time's %M) and the bytes it
# printed, so the output goes to a counter, never to a file. Under Wine also the main
# window's refresh on the 100 000-deep chain (main_window_bench.exe, two runs: its peak
# and the heap bytes a row costs). Inputs are made once under build/bench/hostile and
# reused. Usage:
#   bench/hostile_memory.sh              # natively
#   WINE=1 bench/hostile_memory.sh       # also foldtally-report.exe under Wine
#   NATIVE=0 WINE=1 bench/hostile_memory.sh
set -euo pipefail
cd "$(dirname "$0")/.."
OUT=build/bench/hostile
mkdir -p "$OUT"

# A chain of $2 entries, each inside the one before, and $3 folder files at its bottom
# (headers as the mail client writes them: the name at 0, the identifier at 86).
make_chain() {
    local dir=$1 depth=$2 files=$3
    [ -f "$dir.stamp" ] && return
    rm -rf "$dir" && mkdir -p "$dir"
    python3 - "$dir" "$depth" "$files" <<'PY'
import sys
d, depth, files = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
with open(f"{d}/hierarch.pm", "w", newline="") as f:
    f.write("2,0,R,,Oben\r\n")
    for i in range(depth):
        f.write(f"1,0,c{i},{'R' if i == 0 else f'c{i-1}'},Ebene{i}\r\n")
for k in range(files):
    header = bytearray(128)
    header[0:5] = b"Unten"
    ident = f"c{depth - 1 - k % 3}".encode()
    header[86:86 + len(ident)] = ident
    with open(f"{d}/F{k}.PMM", "wb") as f:
        f.write(bytes(header) + b"m" * 1000)
PY
    touch "$dir.stamp"
}

make_chain "$OUT/chain-100000" 100000 300
make_chain "$OUT/chain-20000" 20000 1
mkdir -p "$OUT/huge" "$OUT/zero"
[ -f "$OUT/huge/hierarch.pm" ] || truncate -s 1G "$OUT/huge/hierarch.pm"
ln -sfn /dev/zero "$OUT/zero/hierarch.pm"
for d in huge zero; do
    [ -f "$OUT/$d/F0.PMM" ] || cp "$OUT/chain-20000/F0.PMM" "$OUT/$d/F0.PMM"
done

CASES=(
    "chain-100000 --tsv"
    "chain-100000 --format text"
    "chain-100000 --format csv"
    "chain-100000 --format json"
    "chain-100000 --tree --tsv"
    "chain-100000 --tree"
    "chain-20000 --tree"
    "huge --tsv"
    "zero --tsv"
)

# One run: "case  exit  peak RSS  bytes out  seconds".
measure() {
    local label=$1
    shift
    local stats
    stats=$(mktemp)
    local bytes
    bytes=$( { /usr/bin/time -f "%x %M %e" -o "$stats" "$@" 2>/dev/null </dev/null || true; } | wc -c)
    read -r status rss seconds <"$stats"
    rm -f "$stats"
    printf "  %-34s exit %-3s %8s KiB peak  %12s bytes out  %6s s\n" "$label" "$status" "$rss" \
        "$bytes" "$seconds"
}

if [ "${NATIVE:-1}" = 1 ]; then
    source scripts/build-preset.sh
    build_preset native foldtally-report >/dev/null
    echo "=== natively (load $(cut -d' ' -f1-3 /proc/loadavg))"
    for c in "${CASES[@]}"; do
        set -- $c
        dir=$1
        shift
        measure "$dir $*" build/native/foldtally-report --mailbox "$OUT/$dir" "$@"
    done
fi

if [ "${WINE:-0}" = 1 ]; then
    source scripts/wine-env.sh
    source scripts/build-preset.sh
    build_preset "$FOLDTALLY_WINDOWS_PRESET" foldtally-report main_window_bench >/dev/null
    wine_session_start
    trap wine_session_stop EXIT
    echo "=== under Wine (load $(cut -d' ' -f1-3 /proc/loadavg))"
    for c in "${CASES[@]}"; do
        set -- $c
        dir=$1
        shift
        measure "$dir $*" wine build/$FOLDTALLY_WINDOWS_PRESET/foldtally-report.exe \
            --mailbox "$(winepath -w "$PWD/$OUT/$dir" 2>/dev/null)" "$@"
    done
    mkdir -p "$OUT/empty"
    stats=$(mktemp)
    heap=$(/usr/bin/time -f "%M" -o "$stats" wine build/$FOLDTALLY_WINDOWS_PRESET/bench/main_window_bench.exe 300 2 \
        "$(winepath -w "$PWD/$OUT/chain-100000" 2>/dev/null)" \
        "$(winepath -w "$PWD/$OUT/empty" 2>/dev/null)" </dev/null | tr -d '\r' | grep 'heap bytes')
    printf "  %-34s %8s KiB peak  (%s)\n" "window, chain-100000" "$(cat "$stats")" "$heap"
    rm -f "$stats"
fi
