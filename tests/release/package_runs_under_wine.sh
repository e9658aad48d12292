#!/usr/bin/env bash
# The release zip as a user gets it: made with the documented command, unpacked into a
# folder whose name has a space and an umlaut, and started from there under Wine on a
# generated mailbox. The main window must come up with rows, F1 must open the help
# window from the foldtally.chm beside the program (not the "help file not found" box),
# Alt+F4 must end it with exit code 0, and the program's folder must be left as it was
# unpacked. Screenshots of both windows go to the artifacts folder. Runs inside a Wine
# session (DISPLAY and the prefix come from the caller); the registry keys it touches
# are saved first and put back afterwards.
#
# usage: package_runs_under_wine.sh SOURCE_DIR BUILD_DIR ARTIFACTS_DIR
set -uo pipefail
src=${1:?usage: package_runs_under_wine.sh SOURCE_DIR BUILD_DIR ARTIFACTS_DIR}
build=${2:?build dir missing}
artifacts=${3:?artifacts dir missing}
mkdir -p "$artifacts"

title='Ordner-Statistik für Pegasus-Mail'
keys=('HKCU\Software\Pegasus Mail' 'HKCU\Software\Morvapps\Foldtally')
work=$(mktemp -d "${TMPDIR:-/tmp}/foldtally-package.XXXXXX")
pid=

cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    local i
    for i in 0 1; do
        wine reg delete "${keys[$i]}" /f </dev/null >/dev/null 2>&1
        [ -f "$work/saved$i.reg" ] && wine reg import "$work/saved$i.reg" </dev/null >/dev/null 2>&1
    done
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

for i in 0 1; do
    if wine reg query "${keys[$i]}" </dev/null >/dev/null 2>&1; then
        wine reg export "${keys[$i]}" "$work/saved$i.reg" /y </dev/null >/dev/null 2>&1 ||
            fail "cannot save ${keys[$i]}"
    fi
    wine reg delete "${keys[$i]}" /f </dev/null >/dev/null 2>&1
done

zip=$(bash "$src/scripts/package.sh" --no-build --build-dir "$build" --out "$work") ||
    fail "scripts/package.sh"
app="$work/Mein Ordner für Tools"
mkdir -p "$app"
unzip -q "$zip" -d "$app" || fail "cannot unpack $zip"
before=$(cd "$app" && ls -l --time-style=full-iso)

mailbox=$(winepath -w "$work/mailbox" 2>/dev/null)
newmail=$(winepath -w "$work/newmail" 2>/dev/null)
wine "$build/foldtally-mailgen.exe" --mailbox "$mailbox\\" --newmail "$newmail\\" --seed 11 \
    --folders 30 --depth 4 --broken 2 --newmail-files 5 --quiet </dev/null >/dev/null 2>&1 ||
    fail "mailbox generator"
wine reg add 'HKCU\Software\Pegasus Mail\Mailbox' /ve /d "$mailbox" /f </dev/null >/dev/null 2>&1
wine reg add 'HKCU\Software\Pegasus Mail\Newmail' /ve /d "$newmail" /f </dev/null >/dev/null 2>&1

(cd "$app" && exec wine foldtally.exe </dev/null >/dev/null 2>&1) &
pid=$!
w=$(timeout 30 xdotool search --sync --onlyvisible --name "^$title\$" 2>/dev/null | head -1)
[ -n "$w" ] || fail "no main window"
sleep 1.5

shot() { # window, file
    local X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$1")"
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$artifacts/$2" ||
        fail "screenshot $2"
}
shot "$w" package-main-window.png

# F1: a second window with the same title. The help viewer's is large; the box that
# says the help file is missing would be small.
xdotool windowfocus --sync "$w" || fail "focus"
xdotool key F1
help=
for i in $(seq 1 100); do
    help=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | grep -vx "$w" | head -1)
    [ -n "$help" ] && break
    sleep 0.1
done
[ -n "$help" ] || fail "F1 opened no window"
sleep 1
eval "$(xdotool getwindowgeometry --shell "$help" | sed 's/^/HELP_/')"
[ "$HELP_WIDTH" -ge 500 ] && [ "$HELP_HEIGHT" -ge 300 ] ||
    fail "F1 opened a ${HELP_WIDTH}x${HELP_HEIGHT} window: the message box, not the help viewer"
shot "$help" package-help.png
xdotool windowfocus --sync "$help" && xdotool key alt+F4
for i in $(seq 1 50); do
    xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | grep -qx "$help" || break
    sleep 0.1
done

xdotool windowfocus --sync "$w" && xdotool key alt+F4
for i in $(seq 1 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "program did not end on Alt+F4"
wait "$pid"
rc=$?
pid=
[ "$rc" -eq 0 ] || fail "exit code $rc"
after=$(cd "$app" && ls -l --time-style=full-iso)
[ "$after" = "$before" ] || fail "the program's folder changed: $after"
echo "ran from the unpacked $(basename "$zip"); help ${HELP_WIDTH}x${HELP_HEIGHT}"
