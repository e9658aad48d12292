#!/usr/bin/env bash
# End to end: with automatic refresh every second, a list scrolled down by Page Down
# stays where it was through the refreshes. The screenshot after the refreshes equals
# the one taken right after scrolling and differs from the unscrolled start; both show
# the header's sort arrow. Alt+F4 then closes the program at once. Runs inside a Wine
# session (DISPLAY and the prefix come from the caller).
set -uo pipefail
exe=$1
mailgen=$2
artifacts=$3
mkdir -p "$artifacts"

source "$(dirname "$0")/../e2e/e2e_common.sh"
e2e_begin e2e-scroll

e2e_mailbox "$mailgen" --seed 12 --folders 300 --depth 3 --broken 1 --newmail-files 2
section='HKCU\Software\Morvapps\Foldtally\MainDlg'
wine reg add "$section" /v AutoRefresh /t REG_BINARY /d 01 /f </dev/null >/dev/null 2>&1
wine reg add "$section" /v AutoRefreshRate /t REG_BINARY /d 01000000 /f </dev/null >/dev/null 2>&1

# One trace line per scan from the broken folder file.

WINEDEBUG=-all,+debugstr wine "$exe" </dev/null >/dev/null 2>"$work/trace.log" &
pid=$!

w=$(timeout 30 xdotool search --sync --onlyvisible --name "^$title\$" 2>/dev/null | head -1)
[ -n "$w" ] || fail "no main window"
sleep 1

shot() { # file
    local X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$w")"
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$1" || fail "screenshot $1"
}
# wait_scans N: until at least N scans have run, then a moment for the repaint.
wait_scans() {
    await_trace_lines "$1" || fail "only $(scans) scans, not $1"
    sleep 0.4
}
# The difference in pixels of two screenshots.
differ() { compare -metric AE "$1" "$2" null: 2>&1 | cut -d' ' -f1; }

wait_scans 2
shot "$work/start.png"
xdotool windowfocus --sync "$w" || fail "focus"
xdotool key Next Next Down Down Down
wait_scans $(($(scans) + 1))
shot "$work/scrolled.png"
[ "$(differ "$work/start.png" "$work/scrolled.png")" != 0 ] || fail "Page Down did not scroll"
wait_scans $(($(scans) + 2))
shot "$artifacts/main-window-scrolled-after-refresh.png"
d=$(differ "$work/scrolled.png" "$artifacts/main-window-scrolled-after-refresh.png")
[ "$d" = 0 ] || fail "the refresh moved the list ($d pixels differ)"

start=$(date +%s%N)
xdotool windowfocus --sync "$w"
xdotool key alt+F4
e2e_wait_exit
echo "closed after $((($(date +%s%N) - start) / 1000000)) ms; list kept its place over the refreshes"
