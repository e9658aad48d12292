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

source "$(dirname "$0")/../e2e/e2e_common.sh"
e2e_begin package

zip=$(bash "$src/scripts/package.sh" --no-build --build-dir "$build" --out "$work") ||
    fail "scripts/package.sh"
app="$work/Mein Ordner für Tools"
mkdir -p "$app"
unzip -q "$zip" -d "$app" || fail "cannot unpack $zip"
before=$(cd "$app" && ls -l --time-style=full-iso)

e2e_mailbox "$build/foldtally-mailgen.exe" --seed 11 --folders 30 --depth 4 --broken 2 --newmail-files 5

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
e2e_wait_exit
after=$(cd "$app" && ls -l --time-style=full-iso)
[ "$after" = "$before" ] || fail "the program's folder changed: $after"
echo "ran from the unpacked $(basename "$zip"); help ${HELP_WIDTH}x${HELP_HEIGHT}"
