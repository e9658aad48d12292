#!/usr/bin/env bash
# The program's main job: foldtally.exe under Wine, in the project's own prefix
# (build/wineprefix, never ~/.wine), on a generated demo mailbox that the mail client's
# two registry keys point at. It is the 32-bit program where the machine runs 32-bit
# programs, else the 64-bit one under wine64 (scripts/wine-choice.sh). With a display the window stays until you close it;
# without one the window opens on a private Xvfb, a screenshot goes to
# build/artifacts/foldtally-demo.png, and the program is closed with Alt+F4.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
source scripts/build-preset.sh
source scripts/wine-env.sh
echo "=== $FOLDTALLY_WINE_WHY"
build_preset native
build_preset "$FOLDTALLY_WINDOWS_PRESET"

# A fresh demo mailbox each run: nested folders, a few broken folder files, new mail
# and one sparse folder of 5 GiB. It lives under build/ and is ours to replace.
DEMO=build/demo
rm -rf "$DEMO"
build/native/foldtally-mailgen --mailbox "$DEMO/mailbox" --newmail "$DEMO/newmail" \
    --seed 2024 --folders 40 --depth 5 --broken 5 --orphans 1 --huge 1 --newmail-files 6 \
    --case-variants

echo
echo "=== foldtally-report on $DEMO: the rows the window shows"
build/native/foldtally-report --mailbox "$DEMO/mailbox" --newmail "$DEMO/newmail"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    export FOLDTALLY_USE_DISPLAY=1
    headless=0
else
    headless=1
fi
wine_session_start
trap wine_session_stop EXIT

# The mail client's settings, as Pegasus Mail keeps them, pointing at the demo.
mailbox=$(winepath -w "$DEMO/mailbox" 2>/dev/null)
newmail=$(winepath -w "$DEMO/newmail" 2>/dev/null)
wine reg add 'HKCU\Software\Pegasus Mail\Mailbox' /ve /d "$mailbox" /f </dev/null >/dev/null 2>&1
wine reg add 'HKCU\Software\Pegasus Mail\Newmail' /ve /d "$newmail" /f </dev/null >/dev/null 2>&1

echo
if [ "$headless" = 0 ]; then
    echo "=== foldtally.exe on $DISPLAY: close the window to end"
    wine "build/$FOLDTALLY_WINDOWS_PRESET/foldtally.exe" </dev/null >/dev/null 2>&1
    exit 0
fi

echo "=== foldtally.exe on a private Xvfb ($DISPLAY)"
wine "build/$FOLDTALLY_WINDOWS_PRESET/foldtally.exe" </dev/null >/dev/null 2>&1 &
pid=$!
title='Ordner-Statistik für Pegasus-Mail'
# The demo's 5 GiB folder is over the mail client's limit: warning 504 comes first.
box=$(timeout 30 xdotool search --sync --onlyvisible --name '^WARNUNG$' 2>/dev/null | head -1)
if [ -n "$box" ]; then
    xdotool windowfocus --sync "$box" key Return
fi
w=$(timeout 60 xdotool search --sync --onlyvisible --name "^$title\$" 2>/dev/null | head -1)
if [ -z "$w" ]; then
    echo "the main window did not appear" >&2
    kill "$pid" 2>/dev/null || true
    exit 1
fi
sleep 1.5
mkdir -p build/artifacts
eval "$(xdotool getwindowgeometry --shell "$w")"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage build/artifacts/foldtally-demo.png
xdotool windowfocus --sync "$w" key alt+F4
wait "$pid" || true
echo "screenshot of the window: build/artifacts/foldtally-demo.png"
