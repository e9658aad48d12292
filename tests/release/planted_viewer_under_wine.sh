#!/usr/bin/env bash
# The help viewer is never taken from the program's folder: app_test.exe, copied with
# its help probe into a scratch folder beside a stranger's hhctrl.ocx and run with the
# native-first load order for that file, must still open the real viewer's window
# through the program's own loading (its real-viewer test passes) and, once the start's
# restriction of the library search is made, load the system's file by name (its
# library search test passes); the planted file must never have been loaded. First proves that the plant works: a program that loads
# "hhctrl.ocx" by name from that folder gets the planted file.
#
# usage: planted_viewer_under_wine.sh APP_TEST_EXE PROBE_CHM PLANTED_DIR
set -uo pipefail
app_test=${1:?usage: planted_viewer_under_wine.sh APP_TEST_EXE PROBE_CHM PLANTED_DIR}
probe=${2:?help probe missing}
planted=${3:?folder of the planted libraries missing}
source "$(dirname "$0")/../../scripts/wine-env.sh" || exit 1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
native_first="hhctrl.ocx=n,b;${WINEDLLOVERRIDES:-}"

cp "$planted/hhctrl.ocx" "$planted/load_by_name.exe" "$app_test" "$probe" "$work/" || fail "copy"
(cd "$work" && WINEDLLOVERRIDES=$native_first wine load_by_name.exe hhctrl.ocx </dev/null >/dev/null 2>&1)
[ -f "$work/hhctrl.ocx.loaded" ] || fail "the planted hhctrl.ocx is not loaded even by name"
rm -f "$work/hhctrl.ocx.loaded"

out=$(cd "$work" && WINEDLLOVERRIDES=$native_first wine "$(basename "$app_test")" \
    --gtest_filter='MessagesHelpTest.RealViewer*:LibrarySearchTest.*' </dev/null 2>&1 | tr -d '\r')
rc=$?
grep -q '\[  PASSED  \] 2 tests' <<<"$out" || fail "the tests beside the planted file failed ($rc): $out"
[ -f "$work/hhctrl.ocx.loaded" ] && fail "the program's help loading took the planted hhctrl.ocx"
echo "the help viewer came from the system directory; the planted hhctrl.ocx was never loaded"
