#!/usr/bin/env bash
# The release zip as a user gets it: made with the documented command, unpacked into a
# folder whose name has a space and an umlaut, with a stranger's hhctrl.ocx planted
# beside the program and Wine told to prefer such a file to its own (the native-first
# load order), and started from there under Wine without the mail client's keys. F1 in
# the first warning, in the main window and in the settings dialog must each hand the
# right page of the help's HTML form beside the program to the host's browser (a
# recorder stands in for it), with no browser F1 must bring error 001, the About box
# must open, Alt+F4 must end the program with exit code 0, the planted library must not
# have been loaded, and the program's folder must be left as it was unpacked.
# Screenshots go to the artifacts folder.
#
# A planted version.dll cannot be tried this way: with the native-first order for it,
# Wine's own user32.dll, which imports version.dll, loads the planted file at the start
# of every program with windows, before any code of the program runs. What keeps the
# program itself from it is that it does not import version.dll (check_imports.sh) and
# loads it by its full path.
#
# Runs inside a Wine session (DISPLAY and the prefix come from the caller); the registry
# keys it touches are saved first and put back afterwards.
#
# usage: package_runs_under_wine.sh SOURCE_DIR BUILD_DIR ARTIFACTS_DIR PLANTED_DIR
set -uo pipefail

src=${1:?usage: package_runs_under_wine.sh SOURCE_DIR BUILD_DIR ARTIFACTS_DIR PLANTED_DIR}
build=${2:?build dir missing}
artifacts=${3:?artifacts dir missing}
planted=${4:?folder of the planted libraries missing}
mkdir -p "$artifacts"

source "$(dirname "$0")/../e2e/e2e_common.sh"
e2e_begin package
browser_key='HKCU\Software\Wine\WineBrowser'
wine reg export "$browser_key" "$work/browser.reg" /y </dev/null >/dev/null 2>&1 || rm -f "$work/browser.reg"
restore_browser() {
    wine reg delete "$browser_key" /f </dev/null >/dev/null 2>&1
    [ -f "$work/browser.reg" ] && wine reg import "$work/browser.reg" </dev/null >/dev/null 2>&1
}
trap 'restore_browser; e2e_cleanup' EXIT

# The browser winebrowser hands the file to: it writes down what it got.
cat >"$work/browser.sh" <<SH
#!/bin/sh
printf '%s\n' "\$1" >>"$work/browser.log"
SH
chmod +x "$work/browser.sh"
: >"$work/browser.log"
wine reg add "$browser_key" /v Browsers /d "$work/browser.sh" /f </dev/null >/dev/null 2>&1 ||
    fail "cannot set the browser"

zip=$(bash "$src/scripts/package.sh" --no-build --build-dir "$build" --out "$work") ||
    fail "scripts/package.sh"
app="$work/Mein Ordner für Tools"
mkdir -p "$app"
unzip -q "$zip" -d "$app" || fail "cannot unpack $zip"
cp "$planted/hhctrl.ocx" "$app/" || fail "cannot plant the library"
native_first="hhctrl.ocx=n,b;${WINEDLLOVERRIDES:-}"

# The plant works: a program that loads the library by name gets the planted file.
mkdir -p "$work/proof"
cp "$planted/hhctrl.ocx" "$planted/load_by_name.exe" "$work/proof/"
(cd "$work/proof" && WINEDLLOVERRIDES=$native_first wine load_by_name.exe hhctrl.ocx \
    </dev/null >/dev/null 2>&1)
[ -f "$work/proof/hhctrl.ocx.loaded" ] ||
    fail "the planted library is not loaded even by name: the check below proves nothing"

before=$(cd "$app" && ls -lR --time-style=full-iso)
(cd "$app" && WINEDLLOVERRIDES=$native_first exec wine foldtally.exe </dev/null >/dev/null 2>&1) &
pid=$!

shot() { # window, file
    local X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$1")"
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$artifacts/$2" ||
        fail "screenshot $2"
}
find_window() { # name regex, window to skip -> a visible window of that name
    local id i
    for i in $(seq 1 300); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | grep -vx "${2:-none}" | head -1)
        [ -n "$id" ] && { echo "$id"; return; }
        sleep 0.1
    done
    fail "no window named $1"
}
keys_to() { # window, keys...
    local w=$1
    shift
    xdotool windowfocus --sync "$w" || fail "focus"
    xdotool key --delay 60 "$@"
}
# F1 in window $1 hands page $2 of the HTML form (relative, with slashes) to the browser.
handed=0
expect_page() {
    local i url path
    keys_to "$1" F1
    for i in $(seq 1 100); do
        [ "$(wc -l <"$work/browser.log")" -gt $handed ] && break
        sleep 0.1
    done
    handed=$((handed + 1))
    url=$(sed -n "${handed}p" "$work/browser.log")
    [ -n "$url" ] || fail "F1 in window '$(xdotool getwindowname "$1")' handed nothing to the browser"
    path=$(printf '%b' "$(sed 's/^file:\/\///; s/%/\\x/g' <<<"$url")")
    [ "$path" = "$app/foldtally-hilfe/$2" ] || fail "F1 handed $url to the browser, not $2"
    [ -f "$path" ] || fail "the browser got $path, which does not exist"
}

w=$(find_window "^WARNUNG\$") || exit 1
sleep 0.5
expect_page "$w" pages/ref_mld_warnungen.w501.htm
keys_to "$w" Return
w2=$(find_window '^WARNUNG$' "$w") || exit 1
keys_to "$w2" Return
# Without a mailbox the first refresh finds no "hierarch.pm" either: warning 502.
w3=$(find_window '^WARNUNG$' "$w2") || exit 1
keys_to "$w3" Return

main=$(find_window "^$title\$") || exit 1
sleep 1
shot "$main" package-main-window.png
expect_page "$main" pages/ref_dlg_main.htm

keys_to "$main" ctrl+e
settings=$(find_window '^Einstellungen$') || exit 1
sleep 0.5
expect_page "$settings" pages/ref_dlg_einst.htm
keys_to "$settings" Escape

# With no browser that can be started, F1 brings error 001 in the platform's box.
wine reg add "$browser_key" /v Browsers /d "$work/kein-browser" /f </dev/null >/dev/null 2>&1
keys_to "$main" F1
box=$(find_window "^$title\$" "$main") || exit 1
eval "$(xdotool getwindowgeometry --shell "$box" | sed 's/^/BOX_/')"
[ "$BOX_WIDTH" -lt 500 ] || fail "F1 without a browser opened a ${BOX_WIDTH}-pixel window, not error 001"
shot "$box" package-help-without-browser.png
keys_to "$box" Return
sleep 0.3
[ "$(wc -l <"$work/browser.log")" -eq $handed ] || fail "a page went to the recorder without it"

keys_to "$main" alt+h
sleep 0.3
xdotool key n
about=$(find_window '^Info$') || exit 1
sleep 0.7
shot "$about" package-about-box.png
keys_to "$about" Escape

sleep 0.5
keys_to "$main" alt+F4
e2e_wait_exit
[ -f "$app/hhctrl.ocx.loaded" ] && fail "the program loaded the planted hhctrl.ocx beside it"
after=$(cd "$app" && ls -lR --time-style=full-iso)
[ "$after" = "$before" ] || fail "the program's folder changed: $after"
echo "ran from the unpacked $(basename "$zip") with a planted hhctrl.ocx; help handed over: $(echo $(sed 's|.*/foldtally-hilfe/||' "$work/browser.log"))"
