#!/usr/bin/env bash
# End to end: foldtally.exe never writes where it reads. The program and its help file
# are copied to a folder of their own; a generated mailbox (with broken folder files,
# decoys and names in mixed case) and its new mail are recorded with sha256sum and the
# modification time of every entry. Then the program starts, refreshes by F5, Ctrl+K
# and Alt+P, runs every context menu item that opens no dialog (the help items open
# the viewer, or show "FEHLER 001" where there is none, and each is closed again),
# presses F1, and closes by "Beenden"; a second run refreshes itself every second and
# closes by Alt+F4. Afterwards every entry of the mailbox, the new mail and the program
# folder is as it was, and none came or went. Runs inside a Wine session (DISPLAY and
# the prefix come from the caller); the keys it touches are saved first and put back.
set -uo pipefail
exe=$1
help=$2
mailgen=$3

source "$(dirname "$0")/../e2e/e2e_common.sh"
main_key='HKCU\Software\Morvapps\Foldtally\MainDlg'
e2e_begin readonly

mkdir -p "$work/program"
cp "$exe" "$work/program/foldtally.exe" && cp "$help" "$work/program/foldtally.chm" ||
    fail "cannot copy the program"
e2e_mailbox "$mailgen" --seed 11 --folders 30 --depth 3 --broken 4 --case-variants --newmail-files 5

# Every entry below the three folders: kind, path, size and modification time to the
# nanosecond, then the checksum of every file.
snapshot() {
    local dir
    for dir in mailbox newmail program; do
        (cd "$work/$dir" && find . -printf '%y %p %s %T@\n' | LC_ALL=C sort &&
            find . -type f -print0 | LC_ALL=C sort -z | xargs -0 sha256sum) |
            sed "s|^|$dir |"
    done
}
snapshot >"$work/before.txt"
[ "$(grep -c ' f ' "$work/before.txt")" -gt 30 ] || fail "the mailbox is too small"


start() { # "count": the first refresh's trace lines are those of one scan
    WINEDEBUG=-all,+debugstr wine "$work/program/foldtally.exe" </dev/null >/dev/null \
        2>"$work/trace.log" &
    pid=$!
    w=$(timeout 30 xdotool search --sync --onlyvisible --name "^$title\$" 2>/dev/null | head -1)
    [ -n "$w" ] || fail "no main window"
    sleep 1
    if [ "${1:-}" = count ]; then
        per_scan=$(scans)
        [ "$per_scan" -gt 0 ] || fail "the first refresh wrote no trace lines"
    fi
}

wait_scans() { # what was done, expected number of scans
    await_trace_lines $(($2 * per_scan))
    [ "$(scans)" -eq $(($2 * per_scan)) ] || fail "$1 gave $(scans) trace lines, not $(($2 * per_scan))"
}

press() { # key, expected number of scans afterwards
    xdotool windowfocus --sync "$w"
    xdotool key "$1"
    wait_scans "$1" "$2"
}

# An open popup menu is a visible window of the program without a name.
menu_open() {
    local id
    for id in $(xdotool search --onlyvisible --class 'foldtally\.exe' 2>/dev/null); do
        [ -z "$(xdotool getwindowname "$id" 2>/dev/null)" ] && return 0
    done
    return 1
}

clicks=0
context() { # item letter
    local X Y WIDTH HEIGHT SCREEN WINDOW i
    xdotool windowfocus --sync "$w"
    eval "$(xdotool getwindowgeometry --shell "$w")"
    # Inside the list, below the filter line and the list's header; a row further down
    # each time, since a second click at the same place soon after the first is a
    # double click, which opens no menu.
    clicks=$((clicks + 1))
    xdotool mousemove $((X + 60)) $((Y + 130 + clicks % 5 * 18)) click 3
    for i in $(seq 1 50); do
        menu_open && break
        sleep 0.1
    done
    menu_open || fail "no context menu for $1"
    sleep 0.2
    xdotool key "$1"
}

# The help viewer, or the box "FEHLER 001", has the program's title too: another
# visible window of that name. Each is closed again.
close_help() { # what opened it
    local i other=
    for i in $(seq 1 50); do
        other=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | grep -vx "$w" | head -1)
        [ -n "$other" ] && break
        sleep 0.1
    done
    [ -n "$other" ] || fail "$1 opened neither the help viewer nor error 001"
    xdotool windowfocus --sync "$other" key alt+F4
    for i in $(seq 1 50); do
        xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | grep -qvx "$w" || return 0
        sleep 0.1
    done
    fail "the window $1 opened did not close"
}

# First run: every command, each refreshing exactly once where it refreshes.
start count
press F5 2
press ctrl+k 3
press alt+p 4
# Wine's window procedure sees the Alt key go up without the P between (the accelerator
# took it) and opens the menu bar as for Alt alone; Escape leaves it again (and does
# nothing where the menu bar stayed closed).
xdotool key Escape
context a
wait_scans "Aktualisieren" 5
context k
wait_scans "Dateigrößen kompakt" 6
context p
wait_scans "Posteingang anzeigen" 7
press F1 7
close_help F1
context i
close_help "Hilfe-Inhalt"
context h
close_help "Hilfe"
# The folder tree: Ctrl+B opens it on the main window's scan, F5 in it scans, Escape
# closes it; then once more from the context menu.
press ctrl+b 7
tree=$(timeout 30 xdotool search --sync --onlyvisible --name '^Ordnerbaum$' 2>/dev/null | head -1)
[ -n "$tree" ] || fail "Ctrl+B opened no window Ordnerbaum"
xdotool windowfocus --sync "$tree" key F5
wait_scans "F5 im Ordnerbaum" 8
tree_closed() {
    local i
    for i in $(seq 1 50); do
        xdotool search --onlyvisible --name '^Ordnerbaum$' >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    fail "Escape did not close the folder tree"
}
xdotool windowfocus --sync "$tree" key Escape
tree_closed
context o
wait_scans "Ordnerbaum im Kontextmenü" 8
tree=$(timeout 30 xdotool search --sync --onlyvisible --name '^Ordnerbaum$' 2>/dev/null | head -1)
[ -n "$tree" ] || fail "the context menu opened no window Ordnerbaum"
xdotool windowfocus --sync "$tree" key Escape
tree_closed
context b
e2e_wait_exit "Beenden"

# Second run: the worker refreshes every second.
wine reg add "$main_key" /v AutoRefresh /t REG_BINARY /d 01 /f </dev/null >/dev/null 2>&1
wine reg add "$main_key" /v AutoRefreshRate /t REG_BINARY /d 01000000 /f </dev/null >/dev/null 2>&1
start
sleep 3
[ "$(scans)" -ge $((3 * per_scan)) ] || fail "the worker refreshed too seldom: $(scans) trace lines"
xdotool windowfocus --sync "$w" key alt+F4
e2e_wait_exit Alt+F4

snapshot >"$work/after.txt"
diff "$work/before.txt" "$work/after.txt" >&2 || fail "the program changed what it reads"
echo "mailbox, new mail and program folder unchanged after every command: $(wc -l <"$work/before.txt") lines compared"
