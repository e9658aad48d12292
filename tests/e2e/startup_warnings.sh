#!/usr/bin/env bash
# End to end: foldtally.exe started without the mail client's registry keys shows
# warning 501, then 503 (each with "&Hilfe"), then its main window, whose first
# refresh warns 502 (no mailbox directory, so no "hierarch.pm"), and ends with Alt+F4.
# Screenshots of the first warning and of the main window go to the artifacts folder.
# Runs inside a Wine session (DISPLAY and the prefix come from the caller); the keys it
# touches are saved first and put back afterwards.
set -uo pipefail
exe=$1
artifacts=$2
mkdir -p "$artifacts"

source "$(dirname "$0")/e2e_common.sh"
e2e_begin startup

wine "$exe" </dev/null >/dev/null 2>&1 &
pid=$!

wait_window() { # name regex -> window id
    local id
    id=$(timeout 30 xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -1)
    [ -n "$id" ] || fail "no window named $1"
    echo "$id"
}

w=$(wait_window '^WARNUNG$')
sleep 0.7
import -window root "$artifacts/startup-warning-501.png" || fail "screenshot"
xdotool windowfocus --sync "$w" key Return || fail "closing warning 501"

for i in $(seq 1 50); do
    w2=$(xdotool search --onlyvisible --name '^WARNUNG$' 2>/dev/null | head -1)
    [ -n "$w2" ] && [ "$w2" != "$w" ] && break
    sleep 0.1
done
[ -n "${w2:-}" ] || fail "no second warning"
xdotool windowfocus --sync "$w2" key Return || fail "closing warning 503"

main=$(wait_window '^Ordner-Statistik für Pegasus-Mail$')
# Without a mailbox directory the first refresh finds no "hierarch.pm" either: 502.
for i in $(seq 1 50); do
    w3=$(xdotool search --onlyvisible --name '^WARNUNG$' 2>/dev/null | head -1)
    [ -n "$w3" ] && [ "$w3" != "$w2" ] && [ "$w3" != "$w" ] && break
    w3=
    sleep 0.1
done
[ -n "${w3:-}" ] || fail "no warning 502 from the first refresh"
xdotool windowfocus --sync "$w3" key Return || fail "closing warning 502"
sleep 0.7
import -window root "$artifacts/startup-main-window.png" || fail "screenshot"
xdotool windowfocus --sync "$main" key alt+F4 || fail "Alt+F4"

e2e_wait_exit
echo "startup warnings shown and screenshots saved in $artifacts"
