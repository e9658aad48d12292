#!/usr/bin/env bash
# End to end in English: foldtally.exe, started in German, is switched to English in its
# menu and started again. A user's mailbox of a generated installation, without
# "hierarch.pm": the first refresh's warning 502 ("WARNING"), the main window, the
# settings dialog, the folder tree, the overview of all mailboxes and F1 each open with
# their English titles, and each is saved as a screenshot in the artifacts folder. Runs inside a Wine session
# (DISPLAY and the prefix come from the caller); the keys it touches are saved first and
# put back afterwards.
set -uo pipefail
exe=$1
mailgen=$2
artifacts=$3
mkdir -p "$artifacts"

source "$(dirname "$0")/e2e_common.sh"
german_title=$title
title='Folder Statistics for Pegasus Mail'
e2e_begin english

root=$(winepath -w "$work/installation" 2>/dev/null)
wine "$mailgen" --installation "$root\\" --users 3 --folders 20 --no-hostile \
    --quiet </dev/null >/dev/null 2>&1 || fail "installation generator"
rm -f "$work/installation/anna/"[Hh][Ii][Ee][Rr][Aa][Rr][Cc][Hh].[Pp][Mm]
wine reg add 'HKCU\Software\Pegasus Mail\Mailbox' /ve /d "$root\\anna" /f </dev/null >/dev/null 2>&1
wine reg add 'HKCU\Software\Pegasus Mail\Newmail' /ve /d "$root\\anna" /f </dev/null >/dev/null 2>&1

close() { # window id, keys that close it
    local w=$1 i
    shift
    keys_to "$w" "$@"
    for i in $(seq 1 50); do
        xwininfo -id "$w" 2>/dev/null | grep -q IsViewable || return 0
        sleep 0.1
    done
    fail "window $w did not close"
}

# The first run speaks the German of the tests' Wine; the user chooses English in
# "Extras > Sprache / Language", which is stored and said to apply at the next start.
wine "$exe" </dev/null >/dev/null 2>&1 &
pid=$!
warning=$(find_window WARNUNG)
close "$warning" Return
main=$(find_window "$german_title")
sleep 1
keys_to "$main" alt+e s n
for i in $(seq 1 50); do
    box=$(xdotool search --onlyvisible --name "^$german_title\$" 2>/dev/null | grep -vx "$main" | head -1)
    [ -n "$box" ] && break
    sleep 0.2
done
[ -n "$box" ] || fail "no box saying that the language applies at the next start"
close "$box" Return
keys_to "$main" alt+F4
e2e_wait_exit
expect Language 'REG_BINARY 02000000'

wine "$exe" </dev/null >/dev/null 2>&1 &
pid=$!
warning=$(find_window WARNING)
sleep 0.7
shot "$warning" english-warning-502.png
close "$warning" Return
main=$(find_window "$title")
sleep 1
shot "$main" english-main-window.png

settings=$(open_window "$main" Settings ctrl+e)
sleep 0.7
shot "$settings" english-settings.png
close "$settings" Escape

tree=$(open_window "$main" 'Folder Tree' ctrl+b)
sleep 1
shot "$tree" english-folder-tree.png
close "$tree" Escape

overview=$(open_window "$main" 'All Mailboxes' ctrl+u)
sleep 2
shot "$overview" english-all-mailboxes.png
close "$overview" Escape

# F1: the English page in the host's browser, or, where this prefix has neither the
# help beside the program nor a browser, "ERROR 001" in a box of the program's title.
keys_to "$main" F1
sleep 2
box=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | grep -vx "$main" | head -1)
if [ -n "$box" ]; then
    shot "$box" english-f1.png
    close "$box" Return
fi
keys_to "$main" alt+F4
e2e_wait_exit
echo "the English windows opened and their screenshots are in $artifacts"
