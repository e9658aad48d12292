#!/usr/bin/env bash
# The program started from a folder so deep that its own path is 260 characters or
# more, and so is cut by the module-name call: it must still start and show its main
# window with the mailbox's rows (not end silently), keep its settings in the registry,
# answer F1 with error 001 in the platform's box (the help beside it cannot be found by
# the cut name), and end with Alt+F4 and exit code 0. A screenshot of the main window
# goes to the artifacts folder. Runs inside a Wine session; the registry keys it
# touches are saved first and put back afterwards.
#
# usage: deep_folder_under_wine.sh BUILD_DIR ARTIFACTS_DIR
set -uo pipefail
build=${1:?usage: deep_folder_under_wine.sh BUILD_DIR ARTIFACTS_DIR}
artifacts=${2:?artifacts dir missing}
mkdir -p "$artifacts"

source "$(dirname "$0")/../e2e/e2e_common.sh"
e2e_begin deep

deep=$work
while :; do
    deep="$deep/Ein recht langer Ordnername für die Tiefe"
    [ ${#deep} -ge 280 ] && break
done
mkdir -p "$deep" || fail "cannot make $deep"
cp -R "$build/foldtally.exe" "$build/foldtally.chm" "$build/foldtally-hilfe" "$deep/" ||
    fail "cannot copy the program"
# Wine shows the folder as drive Z: (winepath itself cuts long paths).
module="Z:$deep/foldtally.exe"
[ ${#module} -ge 260 ] || fail "the program's path is only ${#module} characters long"

e2e_mailbox "$build/foldtally-mailgen.exe" --seed 5 --folders 8 --newmail-files 2

(cd "$deep" && exec wine foldtally.exe </dev/null >/dev/null 2>&1) &
pid=$!
main=$(timeout 30 xdotool search --sync --onlyvisible --name "^$title\$" 2>/dev/null | head -1)
[ -n "$main" ] || fail "no main window from a path of ${#module} characters"
sleep 1
X= Y= WIDTH= HEIGHT=
eval "$(xdotool getwindowgeometry --shell "$main")"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$artifacts/deep-folder-main-window.png" ||
    fail "screenshot"

xdotool windowfocus --sync "$main" key F1 || fail "F1"
box=
for i in $(seq 1 100); do
    box=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | grep -vx "$main" | head -1)
    [ -n "$box" ] && break
    sleep 0.1
done
[ -n "$box" ] || fail "F1 brought neither help nor error 001"
eval "$(xdotool getwindowgeometry --shell "$box" | sed 's/^/BOX_/')"
[ "$BOX_WIDTH" -lt 500 ] || fail "F1 opened a ${BOX_WIDTH}-pixel window, not the error box"
xdotool windowfocus --sync "$box" key Return || fail "closing error 001"
sleep 0.5
xdotool windowfocus --sync "$main" key alt+F4 || fail "Alt+F4"
e2e_wait_exit
[[ $(value Placement) == "REG_BINARY "* ]] || fail "no placement stored in the registry"
echo "started from a path of ${#module} characters; settings in the registry"
