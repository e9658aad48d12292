#!/usr/bin/env bash
# How long foldtally.exe takes to close under Wine while automatic refresh runs every
# second on a mailbox whose scan takes longer than that: the requests of the worker must
# not queue up behind each other (the window answers Alt+F4 after at most the scan that
# runs and one more). Counts the scans over a while (one trace line per scan from the
# one broken folder file), then times Alt+F4 to the end of the process. The mailbox is
# generated once under build/bench/. Usage:
#   bench/close_under_refresh.sh            # 10 000 folders, 30 s of refreshes
#   FOLDERS=2000 SECONDS_RUNNING=10 bench/close_under_refresh.sh
set -uo pipefail
cd "$(dirname "$0")/.."
FOLDERS=${FOLDERS:-10000}
SECONDS_RUNNING=${SECONDS_RUNNING:-30}
source scripts/wine-env.sh
wine_session_start
trap wine_session_stop EXIT
cmake --preset "$FOLDTALLY_WINDOWS_PRESET" >/dev/null && cmake --build --preset "$FOLDTALLY_WINDOWS_PRESET" -j "${FOLDTALLY_JOBS:-2}" \
    --target foldtally foldtally-mailgen >/dev/null || exit 1
source tests/e2e/e2e_common.sh
e2e_begin close-bench
dir=build/bench/close-$FOLDERS
if [ ! -f "$dir/.done" ]; then
    rm -rf "$dir" && mkdir -p "$dir"
    wine build/$FOLDTALLY_WINDOWS_PRESET/foldtally-mailgen.exe --mailbox "$(winepath -w "$dir/mail")\\" \
        --newmail "$(winepath -w "$dir/new")\\" --seed 5 --folders "$FOLDERS" --depth 4 \
        --broken 1 --newmail-files 2 --max-message-bytes 64 --quiet </dev/null >/dev/null 2>&1 ||
        fail "mailbox generator"
    touch "$dir/.done"
fi
wine reg add 'HKCU\Software\Pegasus Mail\Mailbox' /ve /d "$(winepath -w "$dir/mail")" /f \
    </dev/null >/dev/null 2>&1
wine reg add 'HKCU\Software\Pegasus Mail\Newmail' /ve /d "$(winepath -w "$dir/new")" /f \
    </dev/null >/dev/null 2>&1
section='HKCU\Software\Morvapps\Foldtally\MainDlg'
wine reg add "$section" /v AutoRefresh /t REG_BINARY /d 01 /f </dev/null >/dev/null 2>&1
wine reg add "$section" /v AutoRefreshRate /t REG_BINARY /d 01000000 /f </dev/null >/dev/null 2>&1

scans() { grep -c 'Analyze\] WARNUNG' "$work/trace.log"; }
now_ms() { echo $(($(date +%s%N) / 1000000)); }
WINEDEBUG=-all,+debugstr wine build/$FOLDTALLY_WINDOWS_PRESET/foldtally.exe </dev/null >/dev/null 2>"$work/trace.log" &
pid=$!
w=$(timeout 120 xdotool search --sync --onlyvisible --name "^$title\$" 2>/dev/null | head -1)
[ -n "$w" ] || fail "no main window"
first=$(scans)
begin=$(now_ms)
sleep "$SECONDS_RUNNING"
ran=$(($(scans) - first))
elapsed=$(($(now_ms) - begin))
[ "$ran" -gt 0 ] || fail "no automatic refresh ran"
echo "$FOLDERS folders: $ran scans in $elapsed ms, $((elapsed / ran)) ms per scan and wait"
before=$(scans)
start=$(now_ms)
xdotool windowfocus --sync "$w"
xdotool key alt+F4
e2e_wait_exit
echo "Alt+F4 to the end of the process: $(($(now_ms) - start)) ms, $(($(scans) - before)) scans meanwhile"
