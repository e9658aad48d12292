#!/usr/bin/env bash
# The choice of Windows build and loader, with stand-in loaders: one that runs, one the
# kernel refuses (an ELF file for no machine: "Exec format error" on every kernel) and
# one that is not installed; and a prefix of the other architecture left from an
# earlier run, which wine_prefix_ensure must not take as ready.
#
# usage: wine_choice_test.sh SOURCE_DIR
set -uo pipefail
src=${1:?usage: wine_choice_test.sh SOURCE_DIR}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
fail() {
    echo "FAIL: $*" >&2
    status=1
}

printf '#!/bin/sh\necho wine-8.0\n' >"$work/runs"
printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\xff\xff' >"$work/refused"
chmod +x "$work/runs" "$work/refused"
missing=$work/missing

# choose L32 L64 [WANTED]: prints "preset|loader|why" and the status of the choice.
choose() {
    (
        unset FOLDTALLY_WINDOWS_PRESET FOLDTALLY_WINE_LOADER
        [ -n "${3:-}" ] && FOLDTALLY_WINDOWS_PRESET=$3
        FOLDTALLY_WINE32_LOADER=$1 FOLDTALLY_WINE64_LOADER=$2
        source "$src/scripts/wine-choice.sh"
        foldtally_wine_choose
        rc=$?
        echo "${FOLDTALLY_WINDOWS_PRESET:-}|${FOLDTALLY_WINE_LOADER:-}|$FOLDTALLY_WINE_WHY|$rc"
    )
}

# expect L32 L64 WANTED PRESET LOADER STATUS WHY-PART
expect() {
    local got preset loader why rc
    got=$(choose "$1" "$2" "$3")
    IFS='|' read -r preset loader why rc <<<"$got"
    [ "$rc" = "$6" ] || fail "$1/$2/${3:-any}: status $rc, not $6 ($why)"
    if [ "$6" = 0 ]; then
        [ "$preset" = "$4" ] || fail "$1/$2/${3:-any}: chose '$preset', not $4"
        [ "$loader" = "$5" ] || fail "$1/$2/${3:-any}: loader '$loader', not $5"
    fi
    grep -qF -- "$7" <<<"$why" || fail "$1/$2/${3:-any}: the reason '$why' does not say '$7'"
    [ "$(wc -l <<<"$why")" = 1 ] || fail "$1/$2/${3:-any}: the reason is not one line: $why"
}

r=$work/runs x=$work/refused
expect "$r" "$r" "" win32 "$r" 0 "$r runs here"
expect "$x" "$r" "" win64 "$r" 0 "$x cannot run here (Exec format error)"
expect "$missing" "$r" "" win64 "$r" 0 "$missing is not installed"
expect "$r" "$r" win64 win64 "$r" 0 "win64 under wine64"
expect "$x" "$x" "" "" "" 1 "no Windows build can run: $x cannot run here (Exec format error); $x cannot"
expect "$missing" "$missing" "" "" "" 1 "$missing is not installed; $missing is not installed"
expect "$x" "$r" win32 "" "" 1 "$x cannot run here"
expect "$r" "$r" win16 "" "" 1 "not win32 or win64"

# A ready prefix of the other architecture: wine_prefix_ensure makes it anew and says
# so in one line (wineboot and the server are stand-ins that only record their call).
mkdir -p "$work/bin" "$work/prefix"
for tool in wineboot wineserver wine; do
    printf '#!/bin/sh\necho %s "$@" >>"%s/calls"\n' "$tool" "$work" >"$work/bin/$tool"
    chmod +x "$work/bin/$tool"
done
printf 'WINE REGISTRY Version 2\n#arch=win64\n' >"$work/prefix/system.reg"
touch "$work/prefix/.foldtally-ready"
out=$(
    FOLDTALLY_WINE32_LOADER=$r FOLDTALLY_WINE64_LOADER=$r FOLDTALLY_WINEPREFIX=$work/prefix
    unset FOLDTALLY_WINDOWS_PRESET FOLDTALLY_WINE_LOADER
    source "$src/scripts/wine-env.sh"
    PATH=$work/bin:$PATH
    wine_prefix_ensure 2>&1
)
[ "$out" = "$work/prefix was made for win64, this run needs win32: making it anew" ] ||
    fail "a win64 prefix for the win32 build: '$out'"
grep -q '^wineboot -i' "$work/calls" 2>/dev/null || fail "the stale prefix was not made anew"
[ -f "$work/prefix/system.reg" ] && fail "the stale prefix's registry is still there"

# The same prefix when its architecture is the one wanted: kept as it is.
rm -f "$work/calls"
mkdir -p "$work/prefix"
printf 'WINE REGISTRY Version 2\n#arch=win32\n' >"$work/prefix/system.reg"
touch "$work/prefix/.foldtally-ready"
(
    FOLDTALLY_WINE32_LOADER=$r FOLDTALLY_WINE64_LOADER=$r FOLDTALLY_WINEPREFIX=$work/prefix
    unset FOLDTALLY_WINDOWS_PRESET FOLDTALLY_WINE_LOADER
    source "$src/scripts/wine-env.sh"
    PATH=$work/bin:$PATH
    wine_prefix_ensure
)
[ -f "$work/calls" ] && fail "a ready prefix of the right architecture was made anew"
[ -f "$work/prefix/system.reg" ] || fail "a ready prefix of the right architecture was removed"

exit $status
