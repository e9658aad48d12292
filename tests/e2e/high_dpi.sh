#!/usr/bin/env bash
# End to end at 144 DPI: foldtally.exe started for the first time on a screen of 144
# DPI shows its main window at that scale (the 96-DPI default of 472 x 373 pixels grown
# by half), Ctrl+B opens the folder tree over it (not at the screen's corner), and the column widths go to the
# registry with the DPI they were made for. Screenshots of both windows go to the
# artifacts folder. Runs inside a Wine session (DISPLAY and the prefix come from the
# caller); the keys it touches and the prefix's DPI are saved first and put back.
set -uo pipefail
exe=$1
mailgen=$2
artifacts=$3
mkdir -p "$artifacts"

source "$(dirname "$0")/../e2e/e2e_common.sh"

desktop='HKCU\Control Panel\Desktop'
saved_dpi=$(wine reg query "$desktop" /v LogPixels </dev/null 2>/dev/null | tr -d '\r' |
    awk '$1 == "LogPixels" { print $3 }')
restore_dpi() {
    if [ -n "$saved_dpi" ]; then
        wine reg add "$desktop" /v LogPixels /t REG_DWORD /d "$((saved_dpi))" /f </dev/null >/dev/null 2>&1
    else
        wine reg delete "$desktop" /v LogPixels /f </dev/null >/dev/null 2>&1
    fi
}
e2e_begin high-dpi
trap 'e2e_cleanup; restore_dpi' EXIT
wine reg add "$desktop" /v LogPixels /t REG_DWORD /d 144 /f </dev/null >/dev/null 2>&1 ||
    fail "cannot set the DPI"

e2e_mailbox "$mailgen" --seed 5 --folders 40 --depth 3 --newmail-files 3

wine "$exe" </dev/null >/dev/null 2>&1 &
pid=$!

geometry() { # window id -> X Y WIDTH HEIGHT in the shell
    eval "$(xdotool getwindowgeometry --shell "$1")"
}
shot() { # window id, file: that window as it is on the screen
    local X Y WIDTH HEIGHT SCREEN WINDOW
    geometry "$1"
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$artifacts/$2" ||
        fail "screenshot $2"
}

main=$(find_window "$title")
sleep 1
shot "$main" main-window-144dpi.png
X= Y= WIDTH= HEIGHT= SCREEN= WINDOW=
geometry "$main"
main_w=$WIDTH main_h=$HEIGHT
# The client area of the 708 x 560 window: narrower than that by the frame alone.
[ "$main_w" -ge 680 ] && [ "$main_w" -le 708 ] || fail "main window $main_w pixels wide at 144 DPI"
[ "$main_h" -ge 480 ] && [ "$main_h" -le 560 ] || fail "main window $main_h pixels high at 144 DPI"
main_x=$X main_y=$Y

tree=$(open_window "$main" Ordnerbaum ctrl+b)
sleep 1
shot "$tree" folder-tree-144dpi.png
geometry "$tree"
# Over the main window, not pushed to the screen's corner: the tree window is wider
# than the main window at the screen's left, so it starts inside the main window.
cx=$((main_x + main_w / 2))
cy=$((main_y + main_h / 2))
[ "$X" -gt "$main_x" ] && [ "$Y" -ge "$main_y" ] && [ "$cx" -lt $((X + WIDTH)) ] &&
    [ "$cy" -lt $((Y + HEIGHT)) ] ||
    fail "folder tree at $X,$Y (${WIDTH}x$HEIGHT), not over the main window at $main_x,$main_y"
keys_to "$tree" Escape
sleep 0.5

keys_to "$main" alt+F4
e2e_wait_exit

expect ColumnsDpi 'REG_BINARY 90000000'
expect TreeColumnsDpi 'REG_BINARY 90000000'
echo "both windows at 144 DPI; screenshots in $artifacts"
