# Sourced by the end-to-end scripts: a scratch folder, the registry keys a run touches
# saved first and put back afterwards, a generated mailbox that the mail client's keys
# point at, and the wait for the program to end. The caller is inside a Wine session
# (DISPLAY comes from it); `wine` and the prefix are the project's (scripts/wine-env.sh).
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine-env.sh" || exit 1

title='Ordner-Statistik für Pegasus-Mail'
keys=('HKCU\Software\Pegasus Mail' 'HKCU\Software\Morvapps\Foldtally')
work=
pid=

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

e2e_cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    local i
    for i in 0 1; do
        wine reg delete "${keys[$i]}" /f </dev/null >/dev/null 2>&1
        [ -f "$work/saved$i.reg" ] && wine reg import "$work/saved$i.reg" </dev/null >/dev/null 2>&1
    done
    rm -rf "$work"
}

# e2e_begin NAME: the scratch folder $work, and both keys saved and emptied.
e2e_begin() {
    work=$(mktemp -d "${TMPDIR:-/tmp}/foldtally-$1.XXXXXX")
    trap e2e_cleanup EXIT
    local i
    for i in 0 1; do
        if wine reg query "${keys[$i]}" </dev/null >/dev/null 2>&1; then
            wine reg export "${keys[$i]}" "$work/saved$i.reg" /y </dev/null >/dev/null 2>&1 ||
                fail "cannot save ${keys[$i]}"
        fi
        wine reg delete "${keys[$i]}" /f </dev/null >/dev/null 2>&1
    done
}

# e2e_mailbox MAILGEN ARGS...: a generated mailbox in $work/mailbox with new mail in
# $work/newmail ($mailbox and $newmail hold their Windows paths), and the mail client's
# two keys pointing at them.
e2e_mailbox() {
    local mailgen=$1
    shift
    mailbox=$(winepath -w "$work/mailbox" 2>/dev/null)
    newmail=$(winepath -w "$work/newmail" 2>/dev/null)
    wine "$mailgen" --mailbox "$mailbox\\" --newmail "$newmail\\" "$@" --quiet \
        </dev/null >/dev/null 2>&1 || fail "mailbox generator"
    wine reg add 'HKCU\Software\Pegasus Mail\Mailbox' /ve /d "$mailbox" /f </dev/null >/dev/null 2>&1
    wine reg add 'HKCU\Software\Pegasus Mail\Newmail' /ve /d "$newmail" /f </dev/null >/dev/null 2>&1
}

# The program runs with its trace in $work/trace.log; the mailbox's broken folder files
# write one line each per scan, so their number counts scans.
scans() { grep -c 'Analyze\] WARNUNG' "$work/trace.log"; }

# await_trace_lines N: until at least N such lines are there. A loaded machine can take
# seconds for a scan; the wait ends as soon as they are.
await_trace_lines() {
    local i
    for i in $(seq 1 300); do
        [ "$(scans)" -ge "$1" ] && return 0
        sleep 0.1
    done
    return 1
}

# e2e_wait_exit [HOW]: the program ($pid) ends within 10 s with exit code 0; HOW says
# how it was closed, for the failure message (Alt+F4 when not given).
e2e_wait_exit() {
    local how=${1:-Alt+F4} i rc
    for i in $(seq 1 100); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null && fail "program did not end on $how"
    wait "$pid"
    rc=$?
    pid=
    [ "$rc" -eq 0 ] || fail "exit code $rc after $how"
}

# The stored value NAME of the section MainDlg as "TYPE DATA", as reg query prints it.
value() {
    wine reg query 'HKCU\Software\Morvapps\Foldtally\MainDlg' /v "$1" </dev/null 2>/dev/null |
        tr -d '\r' | awk -v n="$1" '$1 == n { print $2, $3 }'
}

# expect NAME "TYPE DATA": the stored value is exactly that.
expect() {
    local got
    got=$(value "$1")
    [ "$got" = "$2" ] || fail "$1 is '$got', expected '$2'"
}

# find_window TITLE: the id of the visible window of exactly that title, waited for up
# to 30 s. A search ends at once with an X error when a window goes while it looks (a
# box closing as the main window opens), so it is asked again, not once with --sync.
find_window() {
    local id i
    for i in $(seq 1 150); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.2
    done
    fail "no window '$1'"
}
# keys_to WINDOW KEYS...: the keys, typed into that window.
keys_to() {
    local w=$1
    shift
    xdotool windowfocus --sync "$w" || fail "focus"
    xdotool key --delay 60 "$@"
}
# open_window FROM TITLE KEYS...: the id of the window TITLE that the keys open from
# window FROM. Under load a key typed while Wine still settles the focus can be lost:
# the keys go again, twice at most, before that counts as a failure.
open_window() {
    local from=$1 title=$2 try id
    shift 2
    for try in 1 2 3; do
        keys_to "$from" "$@"
        id=$(timeout 10 xdotool search --sync --onlyvisible --name "^$title\$" 2>/dev/null | head -1)
        [ -n "$id" ] && { echo "$id"; return 0; }
    done
    fail "no window '$title' after $* three times"
}
# shot WINDOW FILE: that window as it is on the screen, in the caller's $artifacts.
shot() { # window id, file: that window as it is on the screen
    local X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$1")"
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$artifacts/$2" ||
        fail "screenshot $2"
}
