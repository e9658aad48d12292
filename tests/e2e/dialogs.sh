#!/usr/bin/env bash
# End to end: the settings dialog and the About box of foldtally.exe on a generated
# mailbox, driven with keys as a person types them. Ctrl+E opens "Einstellungen" and
# Escape cancels it without a refresh; opened again, the explicit directories are typed
# in small letters (the edits turn them into capitals) and Enter confirms them, which
# refreshes once; Alt+H, n opens "Info", Escape closes it; Alt+F4 ends the program and
# the registry then holds the typed directories with their final backslash.
# Screenshots of both dialogs go to the artifacts folder. Runs inside a Wine session
# (DISPLAY and the prefix come from the caller); the keys it touches are saved first
# and put back afterwards.
set -uo pipefail
exe=$1
mailgen=$2
artifacts=$3
mkdir -p "$artifacts"

source "$(dirname "$0")/../e2e/e2e_common.sh"
e2e_begin e2e

# The mail client's directories hold the mailbox; the typed ones name the same
# directories in capitals (Wine finds files whatever the case of their names).
e2e_mailbox "$mailgen" --seed 11 --folders 30 --depth 3 --broken 2 --newmail-files 2
typed_mailbox=${mailbox,,}
typed_newmail=${newmail,,}


WINEDEBUG=-all,+debugstr wine "$exe" </dev/null >/dev/null 2>"$work/trace.log" &
pid=$!

wait_gone() { # window id
    local i
    for i in $(seq 1 50); do
        xwininfo -id "$1" 2>/dev/null | grep -q IsViewable || return 0
        sleep 0.1
    done
    fail "window $1 did not close"
}

main=$(find_window "$title")
sleep 1
per_scan=$(scans)
[ "$per_scan" -gt 0 ] || fail "the first refresh wrote no trace lines"

# Ctrl+E opens the settings; Escape cancels without a refresh.
settings=$(open_window "$main" Einstellungen ctrl+e)
sleep 0.7
shot "$settings" settings-dialog.png
keys_to "$settings" Escape
wait_gone "$settings"
sleep 0.5
[ "$(scans)" -eq "$per_scan" ] || fail "cancelling the settings refreshed"

# Again: Tab to the radio group, Down chooses the explicit directories and focuses the
# mailbox edit; type both directories; Enter is OK.
settings=$(open_window "$main" Einstellungen ctrl+e)
sleep 0.3
keys_to "$settings" Tab Down
xdotool type --delay 30 "$typed_mailbox"
xdotool key Tab
xdotool type --delay 30 "$typed_newmail"
sleep 0.3
shot "$settings" settings-dialog-explicit.png
xdotool key Return
wait_gone "$settings"
await_trace_lines $((2 * per_scan))
sleep 0.5
[ "$(scans)" -eq $((2 * per_scan)) ] || fail "OK gave $(scans) trace lines, not $((2 * per_scan))"

# The About box through the menu: Alt+H opens "&Hilfe", n is "I&nfo...".
keys_to "$main" alt+h
sleep 0.3
xdotool key n
about=$(find_window Info)
sleep 0.7
shot "$about" about-box.png
keys_to "$about" Escape
wait_gone "$about"

# The folder tree by Ctrl+B, its first level open; Escape closes it.
tree=$(open_window "$main" Ordnerbaum ctrl+b)
sleep 1
shot "$tree" folder-tree.png
keys_to "$tree" Escape
wait_gone "$tree"

keys_to "$main" alt+F4
e2e_wait_exit

expect MailboxPathManual 'REG_BINARY 01'
expect MailboxPath "REG_SZ ${mailbox^^}\\"
expect NewmailPath "REG_SZ ${newmail^^}\\"
expect AutoRefresh 'REG_BINARY 00'
expect AutoRefreshRate 'REG_BINARY 0A000000'
echo "settings dialog and About box driven by keys; values stored; screenshots in $artifacts"
