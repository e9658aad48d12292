#!/usr/bin/env bash
# Time and peak memory of foldtally-report on the inputs of an installation that no mail
# client writes, each chosen to make a careless reader slow or large: "PMAIL.USR" of
# 4 MiB of short lines (one user named a million times, and half a million distinct
# users), the longest list read (65 536 users of 64 bytes), a sparse list of 4 GiB,
# 65 536 users in capitals matched against 100 000 folders in small letters, an earlier
# overview for --compare of 600 KB of empty rows ("{}") and of 60 MiB of the smallest
# rows that are users, an earlier report of one mailbox of 60 MiB of small rows that are
# all gone from an empty mailbox, and "hierarch.pm" with 32 768 identifiers of one 32-bit FNV-1a
# value. Every figure is the whole process's: wall time, processor time (user and
# system) and peak resident set (GNU time's %e, %U + %S and %M), the output counted on a
# pipe; then the matching of users to folders alone (all_users_bench ... plan). Inputs
# are made once under build/bench/inputs and reused. Usage:
#   bench/hostile_inputs.sh
#   REPORT=/path/to/other/foldtally-report bench/hostile_inputs.sh   # another build
#   TIMEOUT=300 bench/hostile_inputs.sh                # longer than 120 s per run
set -euo pipefail
cd "$(dirname "$0")/.."
OUT=build/bench/inputs
mkdir -p "$OUT"
source scripts/build-preset.sh
build_preset native foldtally-report foldtally-mailgen all_users_bench >/dev/null
REPORT_GIVEN=${REPORT:-}
REPORT=${REPORT:-$PWD/build/native/foldtally-report}
MAILGEN=$PWD/build/native/foldtally-mailgen

# An installation root whose PMAIL.USR python writes from the expression $2 (lines of
# text), without any user folder.
make_list() {
    local dir=$OUT/$1
    [ -f "$dir.stamp" ] && return
    rm -rf "$dir" && mkdir -p "$dir"
    python3 -c "
import sys
with open('$dir/PMAIL.USR', 'w', newline='') as f:
    f.write($2)
"
    touch "$dir.stamp"
}

make_list list-4mib-one '"U;a\n" * (4 << 18)'
make_list list-4mib-distinct '"".join("U;u%06d\n" % i for i in range(466033))'
make_list list-65536 '"".join("U;benutzer%05d;%s\r\n" % (i, "Vorname Nachname".ljust(45, ".")) for i in range(65536))'
if [ ! -f "$OUT/list-sparse.stamp" ]; then
    mkdir -p "$OUT/list-sparse"
    truncate -s 4G "$OUT/list-sparse/PMAIL.USR"
    touch "$OUT/list-sparse.stamp"
fi
if [ ! -f "$OUT/match.stamp" ]; then
    rm -rf "$OUT/match" && mkdir -p "$OUT/match"
    python3 - "$OUT/match" <<'PY'
import os, sys
root = sys.argv[1]
for i in range(100000):
    os.mkdir(f"{root}/benutzer{i:06d}")
with open(f"{root}/PMAIL.USR", "w", newline="") as f:
    f.writelines(f"U;BENUTZER{i:06d};Name\r\n" for i in range(65536))
PY
    touch "$OUT/match.stamp"
fi
if [ ! -f "$OUT/install.stamp" ]; then
    rm -rf "$OUT/install"
    "$MAILGEN" --installation "$OUT/install" --users 3 --folders 10 --quiet
    python3 - "$OUT" <<'PY'
import sys
out = sys.argv[1]
with open(f"{out}/empty-rows.json", "w") as f:
    f.write('{"allUsers":true,"users":[' + ",".join(["{}"] * 200000) + "]}")
with open(f"{out}/small-users.json", "w") as f:
    rows = ",".join('{"userName":"u%d","size":1}' % i for i in range(1900000))
    f.write('{"allUsers":true,"users":[' + rows + "]}")
PY
    touch "$OUT/install.stamp"
fi
if [ ! -f "$OUT/small-rows.stamp" ]; then
    mkdir -p "$OUT/empty-mailbox"
    python3 - "$OUT" <<'PY'
import sys
with open(f"{sys.argv[1]}/small-rows.json", "w") as f:
    rows = ",".join('{"fileName":"f%d.PMM","size":1}' % i for i in range(1800000))
    f.write('{"rows":[' + rows + "]}")
PY
    touch "$OUT/small-rows.stamp"
fi
if [ ! -f "$OUT/flood.stamp" ]; then
    rm -rf "$OUT/flood"
    "$MAILGEN" --mailbox "$OUT/flood" --folders 20 --hash-flood 15 --quiet
    touch "$OUT/flood.stamp"
fi

CASES=(
    "PMAIL.USR, 4 MiB of U;a|--all-users $OUT/list-4mib-one --tsv"
    "PMAIL.USR, 4 MiB of distinct users|--all-users $OUT/list-4mib-distinct --tsv"
    "PMAIL.USR, 65 536 users of 64 bytes|--all-users $OUT/list-65536 --tsv"
    "PMAIL.USR, sparse 4 GiB|--all-users $OUT/list-sparse --tsv"
    "65 536 users, 100 000 folders, case differs|--all-users $OUT/match --tsv"
    "--compare, 600 KB of {} rows|--all-users $OUT/install --compare $OUT/empty-rows.json --tsv"
    "--compare, 60 MiB of small users|--all-users $OUT/install --compare $OUT/small-users.json --tsv"
    "--compare, 60 MiB of small rows, all gone|--mailbox $OUT/empty-mailbox --compare $OUT/small-rows.json --tsv"
    "hierarch.pm, 32 768 FNV-1a twins|--mailbox $OUT/flood --tsv"
)

echo "=== $REPORT (load $(cut -d' ' -f1-3 /proc/loadavg))"
for c in "${CASES[@]}"; do
    label=${c%%|*}
    stats=$(mktemp)
    bytes=$( { /usr/bin/time -f "%x %M %e %U %S" -o "$stats" timeout "${TIMEOUT:-120}" \
        $REPORT ${c#*|} 2>/dev/null </dev/null || true; } | wc -c)
    read -r status rss seconds user system < <(tail -1 "$stats") || true
    rm -f "$stats"
    cpu=$(awk -v u="$user" -v s="$system" "BEGIN { print u + s }")
    printf "  %-46s exit %-3s %8s KiB peak %10s bytes out %7s s (CPU %s s)\n" "$label" "$status" \
        "$rss" "$bytes" "$seconds" "$cpu"
done
if [ -z "${REPORT_GIVEN:-}" ]; then
    echo "  this tree's list and match alone, $OUT/match (medians of 5):"
    build/native/bench/all_users_bench "$OUT/match" 5 plan | tail -1
fi
