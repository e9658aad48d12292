#!/usr/bin/env bash
# End to end: the portable copy. (1) foldtally.exe in a folder made read-only with chmod,
# with a foldtally.ini beside it, shows error 010 at start, runs with the file's
# settings, takes a change (Ctrl+K) and ends; the file and the folder are unchanged and
# nothing was written to the registry. (2) In a writable folder without the file,
# "Extras > Einstellungen portabel speichern" (Alt+E, P) writes it with the current
# values, says where, and the rest of the run stays there: the registry's section gets
# no value. Screenshots of error 010 and of the note go to the artifacts folder. Runs
# inside a Wine session (DISPLAY and the prefix come from the caller).
set -uo pipefail
exe=$1
mailgen=$2
artifacts=$3
mkdir -p "$artifacts"

source "$(dirname "$0")/e2e_common.sh"
e2e_begin portable
e2e_mailbox "$mailgen" --folders 3
trap 'chmod -R u+w "$work" 2>/dev/null; e2e_cleanup' EXIT

wait_window() { # name regex -> window id
    local id
    id=$(timeout 30 xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -1)
    [ -n "$id" ] || fail "no window named $1"
    echo "$id"
}
wait_other_window() { # name regex, id to skip -> window id
    local id i
    for i in $(seq 1 100); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | grep -vx "$2" | head -1)
        [ -n "$id" ] && { echo "$id"; return; }
        sleep 0.1
    done
    fail "no second window named $1"
}
registry_untouched() {
    wine reg query 'HKCU\Software\Morvapps\Foldtally' </dev/null >/dev/null 2>&1 &&
        fail "a portable run wrote to the registry: $1"
    return 0
}

# (1) A read-only folder.
stick="$work/stick"
mkdir -p "$stick"
cp "$exe" "$stick/foldtally.exe"
printf '[MainDlg]\r\nCompactFileSizes=0\r\nAutoRefreshRate=25\r\n' >"$stick/foldtally.ini"
cp "$stick/foldtally.ini" "$work/ini-before"
chmod a-w "$stick/foldtally.ini" "$stick"
listing=$(ls -la --time-style=full-iso "$stick")

wine "$stick/foldtally.exe" </dev/null >/dev/null 2>&1 &
pid=$!
w=$(wait_window '^FEHLER$')
sleep 0.7
import -window root "$artifacts/portable-error-010.png" || fail "screenshot"
xdotool windowfocus --sync "$w" key Return || fail "closing error 010"
main=$(wait_window "^$title\$")
sleep 0.5
xdotool windowfocus --sync "$main" key ctrl+k || fail "Ctrl+K"
sleep 0.5
xdotool windowfocus --sync "$main" key alt+F4 || fail "Alt+F4"
e2e_wait_exit
cmp -s "$work/ini-before" "$stick/foldtally.ini" || fail "the read-only file was changed"
[ "$listing" = "$(ls -la --time-style=full-iso "$stick")" ] || fail "the read-only folder changed"
registry_untouched "read-only folder"

# (2) The command in the read-only folder: error 010, no file, and the run's values go to
# the registry as ever.
chmod u+w "$stick" "$stick/foldtally.ini"
rm -f "$stick/foldtally.ini"
chmod a-w "$stick"
wine "$stick/foldtally.exe" </dev/null >/dev/null 2>&1 &
pid=$!
main=$(wait_window "^$title\$")
sleep 0.5
xdotool windowfocus --sync "$main" key alt+e p || fail "Alt+E, P"
w=$(wait_window '^FEHLER$')
xdotool windowfocus --sync "$w" key Return || fail "closing error 010"
sleep 0.3
xdotool windowfocus --sync "$main" key alt+F4 || fail "Alt+F4"
e2e_wait_exit
[ -e "$stick/foldtally.ini" ] && fail "the command left a file in the read-only folder"
[ -n "$(value Placement)" ] || fail "the run's values did not reach the registry"
chmod u+w "$stick"
wine reg delete 'HKCU\Software\Morvapps\Foldtally' /f </dev/null >/dev/null 2>&1

# (3) The command in a writable folder.
wine "$stick/foldtally.exe" </dev/null >/dev/null 2>&1 &
pid=$!
main=$(wait_window "^$title\$")
sleep 0.5
xdotool windowfocus --sync "$main" key ctrl+k || fail "Ctrl+K"
sleep 0.3
xdotool windowfocus --sync "$main" key alt+e p || fail "Alt+E, P"
note=$(wait_other_window "^$title\$" "$main")
sleep 0.7
import -window root "$artifacts/portable-saved.png" || fail "screenshot"
xdotool windowfocus --sync "$note" key Return || fail "closing the note"
sleep 0.3
xdotool windowfocus --sync "$main" key alt+p || fail "Alt+P"
sleep 0.5
xdotool windowfocus --sync "$main" key alt+F4 || fail "Alt+F4"
e2e_wait_exit
[ -f "$stick/foldtally.ini" ] || fail "the command wrote no foldtally.ini"
ini=$(tr -d '\r' <"$stick/foldtally.ini")
for line in '[MainDlg]' 'CompactFileSizes=0' 'AutoRefreshRate=10' 'ShowNewMailFolder=0'; do
    grep -qxF "$line" <<<"$ini" || fail "foldtally.ini lacks '$line': $ini"
done
grep -qE '^Placement=[0-9A-F]{88}$' <<<"$ini" || fail "foldtally.ini lacks the placement: $ini"
for name in CompactFileSizes ShowNewMailFolder Placement; do
    [ -z "$(value "$name")" ] || fail "$name went to the registry after the command"
done
echo "portable copy: read-only folder untouched, command wrote foldtally.ini; screenshots in $artifacts"
