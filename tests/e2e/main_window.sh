#!/usr/bin/env bash
# End to end: foldtally.exe on a generated mailbox, driven with keys as a person types
# them. Enter and Escape leave the window open; F5, Ctrl+K and Alt+P each refresh (the
# scan's trace lines for the broken folder files count the refreshes), so does
# "Aktualisieren" of the context menu opened by Shift+F10 or the menu key, and after
# Alt+P the menu bar does not take the next key; Alt+F4 closes
# it, and the registry then holds the toggled values. A folder over the mail client's
# limit brings warning 504 once, at the start, and never again at a refresh; "Ansicht >
# Spalten > Geändert" from the keyboard shows the optional column and hides it again.
# Screenshots of the default window, the exact-size view, the list with both optional
# columns against a week-old entry of the history, the tree window and the window "Alle
# Postfächer" on a generated installation go to the artifacts folder. Runs inside a Wine session
# (DISPLAY and the prefix come from the caller); the keys it touches are saved first
# and put back afterwards.
set -uo pipefail
exe=$1
mailgen=$2
artifacts=$3
mkdir -p "$artifacts"

source "$(dirname "$0")/../e2e/e2e_common.sh"
e2e_begin e2e

e2e_mailbox "$mailgen" --seed 7 --folders 25 --depth 3 --broken 3 --newmail-files 4 --huge 1


touch "$work/started"
WINEDEBUG=-all,+debugstr wine "$exe" </dev/null >/dev/null 2>"$work/trace.log" &
pid=$!

# The sparse folder of 5 GiB is over the limit: the first refresh warns, before the
# window shows.
box=$(find_window WARNUNG) || fail "no warning 504 for the folder over the limit"
xdotool windowfocus --sync "$box" key Return
w=$(find_window "$title") || fail "no main window"
sleep 1
per_scan=$(scans)
[ "$per_scan" -gt 0 ] || fail "the first refresh wrote no trace lines"

shot() { # file: the main window as it is on the screen
    local X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$w")"
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$artifacts/$1" ||
        fail "screenshot $1"
}
shot main-window-default.png

xdotool windowfocus --sync "$w" || fail "focus"
xdotool key Return
sleep 0.5
xdotool key Escape
sleep 1
kill -0 "$pid" 2>/dev/null || fail "Enter or Escape closed the program"
xdotool search --onlyvisible --name "^$title\$" >/dev/null || fail "Enter or Escape closed the window"
[ "$(scans)" -eq "$per_scan" ] || fail "Enter or Escape started a refresh"

press() { # keys, expected number of scans afterwards
    xdotool windowfocus --sync "$w"
    # shellcheck disable=SC2086 # "shift+F10 a" is two keys, one after the other
    xdotool key --delay 200 $1
    await_trace_lines $(($2 * per_scan))
    [ "$(scans)" -eq $(($2 * per_scan)) ] || fail "$1 gave $(scans) trace lines, not $(($2 * per_scan))"
}
press F5 2
press ctrl+k 3
sleep 0.5
shot main-window-exact.png
press alt+p 4
# The context menu from the keyboard, its "&Aktualisieren" chosen by its letter.
press "shift+F10 a" 5
press "Menu a" 6
# Alt let go before P, as hands often do: the menu bar must not stay active and take
# the next key (Ctrl+K here). Twice, so the stored values stay those checked below.
for round in 0 1; do
    xdotool windowfocus --sync "$w"
    xdotool keydown alt keydown p keyup alt keyup p
    press ctrl+k $((8 + 2 * round))
done

# The optional column from the keyboard: the menu bar's "Ansicht > Spalten > Geändert",
# shown and hidden again, without a refresh.
columns_menu() {
    xdotool windowfocus --sync "$w"
    xdotool key --delay 300 alt+a l g
    sleep 1
}
columns_menu
[ "$(scans)" -eq $((10 * per_scan)) ] || fail "showing a column refreshed"
columns_menu
if xdotool search --onlyvisible --name '^WARNUNG$' >/dev/null 2>&1; then
    fail "warning 504 came again"
fi

xdotool windowfocus --sync "$w"
xdotool key alt+F4
e2e_wait_exit

expect CompactFileSizes 'REG_BINARY 00'
expect ShowNewMailFolder 'REG_BINARY 00'
expect AutoRefresh 'REG_BINARY 00'
expect AutoRefreshRate 'REG_BINARY 0A000000'
expect ShowFolderPath 'REG_BINARY 01'
expect WarnFolderPath 'REG_BINARY 01'
expect MailboxPathManual 'REG_BINARY 00'
expect Sort 'REG_BINARY 0200000000000000'
expect ColOrder 'REG_BINARY 000000000100000002000000'
placement=$(value Placement)
[[ "$placement" =~ ^REG_BINARY\ 2C000000[0-9A-F]{80}$ ]] || fail "Placement is '$placement'"
columns=$(value Columns)
[[ "$columns" =~ ^REG_BINARY\ [0-9A-F]{24}$ ]] || fail "Columns is '$columns'"
changed=$(value ColChanged)
[[ "$changed" =~ ^REG_BINARY\ 00000000[0-9A-F]{8}03000000$ ]] || fail "ColChanged is '$changed'"

# The run filed today's entry of the history. A copy eight days old, with sizes
# changed, one file new since and one gone since, gives "Änderung" something to show.
today=$(date +%Y-%m-%d)
entry=$(find "$WINEPREFIX/drive_c/users" -path '*Foldtally/Verlauf/*' -name "$today.json" \
    -newer "$work/started" 2>/dev/null | head -1)
[ -n "$entry" ] || fail "no entry of today in the history"
python3 - "$entry" "$(dirname "$entry")/$(date -d '8 days ago' +%Y-%m-%d).json" <<'PY' ||
import json, sys
with open(sys.argv[1], encoding="utf-8") as f:
    entry = json.load(f)
rows = [r for r in entry["rows"] if not r.get("failed")]
for i, row in enumerate(rows):
    if i % 3 == 0:
        row["size"] //= 2
    elif i % 3 == 1:
        row["size"] += 40960
entry["rows"].remove(rows[-1])
entry["rows"].append({"fileName": "ALT00001.PMM", "folderPath": "\\Archiv\\",
                      "folderName": "2019", "size": 123456})
with open(sys.argv[2], "w", encoding="utf-8") as f:
    json.dump(entry, f, ensure_ascii=False)
PY
    fail "no week-old entry made"

# Screenshots of the optional columns and of the tree window, each maximized so that
# the columns at the right show: a second run, only for the pictures.
WINEDEBUG=-all wine "$exe" </dev/null >/dev/null 2>&1 &
pid=$!
box=$(timeout 30 xdotool search --sync --onlyvisible --name '^WARNUNG$' 2>/dev/null | head -1)
[ -n "$box" ] && xdotool windowfocus --sync "$box" key Return
w=$(timeout 30 xdotool search --sync --onlyvisible --name "^$title\$" 2>/dev/null | head -1)
[ -n "$w" ] || fail "no main window in the second run"
maximize() { # title: the window menu's "Maximieren" by its letter; the window again
    xdotool windowfocus --sync "$w"
    xdotool key --delay 300 alt+space x
    sleep 1
    # Without a window manager Wine may give the maximized window another X window.
    w=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1)
}
columns_menu
xdotool key --delay 300 alt+a l n
sleep 1
maximize "$title"
shot main-window-optional-columns.png
xdotool windowfocus --sync "$w" key ctrl+b
w=$(timeout 30 xdotool search --sync --onlyvisible --name '^Ordnerbaum$' 2>/dev/null | head -1)
[ -n "$w" ] || fail "no tree window"
maximize Ordnerbaum
shot tree-window.png
kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null

# The window "Alle Postfächer" on a generated installation: the mailbox in effect is a
# user's folder, so Ctrl+U finds the installation above it; a third run, for the picture.
mkdir -p "$work/inst"
wine "$mailgen" --installation "$(winepath -w "$work/inst" 2>/dev/null)\\MAIL" --users 6 \
    --folders 12 --newmail-files 2 --quiet </dev/null >/dev/null 2>&1 || fail "installation generator"
user=$(winepath -w "$work/inst/MAIL/anna" 2>/dev/null)
wine reg add 'HKCU\Software\Pegasus Mail\Mailbox' /ve /d "$user\\" /f </dev/null >/dev/null 2>&1
wine reg add 'HKCU\Software\Pegasus Mail\Newmail' /ve /d "$user\\" /f </dev/null >/dev/null 2>&1
WINEDEBUG=-all wine "$exe" </dev/null >/dev/null 2>&1 &
pid=$!
w=$(timeout 30 xdotool search --sync --onlyvisible --name "^$title\$" 2>/dev/null | head -1)
[ -n "$w" ] || fail "no main window in the third run"
xdotool windowfocus --sync "$w" key ctrl+u
w=$(timeout 30 xdotool search --sync --onlyvisible --name '^Alle Postfächer$' 2>/dev/null | head -1)
[ -n "$w" ] || fail "no window Alle Postfächer"
sleep 2
maximize 'Alle Postfächer'
shot all-users.png
kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
echo "main window driven by keys; values stored; screenshots in $artifacts"
