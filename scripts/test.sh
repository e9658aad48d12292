#!/usr/bin/env bash
# Every test of the project: installs what is missing, builds every preset, runs the
# native tests under the sanitizers, the Windows tests (under Wine) and the end-to-end
# tests, and a short run of every fuzz target. Exits non-zero when anything fails. Safe
# to run again.
#
# The native tests run once, in the AddressSanitizer and UndefinedBehaviorSanitizer
# build: a second run of the same cases in the plain native build cost a quarter of the
# whole. `ctest --preset native` stays the quick run while working.
#
# Both Windows builds are compiled everywhere, so neither breaks unseen (the one not
# run here by check_preset, without its test programs' code); the Windows tests run
# under the one this machine can run: win32 where the kernel runs 32-bit
# programs, else win64 under wine64 (scripts/wine-choice.sh says which, and why).
#
# The Windows build and its tests come first: they are the longest chain. The Windows
# tests spend most of their time waiting for Wine and its windows, so the sanitizer,
# ThreadSanitizer and fuzz builds and the fuzz run go on meanwhile as idle work: they
# take only the processor time the foreground leaves, and the tests' timing is that
# of an idle machine.
set -uo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
JOBS=${FOLDTALLY_JOBS:-2}

scripts/setup.sh || { echo "setup failed" >&2; exit 1; }

failures=()
run() {
    local name=$1
    shift
    local start=$SECONDS
    echo "=== $name"
    if ! "$@"; then
        echo "=== FAILED: $name ($((SECONDS - start)) s)" >&2
        failures+=("$name")
        return 1
    fi
    echo "=== $name: $((SECONDS - start)) s"
}

source scripts/build-preset.sh
source scripts/wine-choice.sh
if foldtally_wine_choose; then
    tested=$FOLDTALLY_WINDOWS_PRESET
else
    tested=
fi
echo "=== Windows tests: $FOLDTALLY_WINE_WHY"
untested=()
for preset in win32 win64; do
    [ "$preset" = "$tested" ] || untested+=("$preset")
done

mkdir -p build/logs
rm -f build/logs/*.status

# A step of the background chain: its output in build/logs/NAME.log, its exit status
# and seconds in build/logs/NAME.status once it has ended.
background_step() {
    local name=$1 start=$SECONDS status
    shift
    "$@" >"build/logs/$name.log" 2>&1
    status=$?
    echo "$status $((SECONDS - start))" >"build/logs/$name.status"
    return $status
}
(
    chrt --idle -p 0 "$BASHPID" 2>/dev/null || renice -n 19 -p "$BASHPID" >/dev/null
    background_step build-sanitize build_preset sanitize
    background_step build-tsan build_preset tsan
    for preset in "${untested[@]}"; do
        background_step "check-$preset" check_preset "$preset"
    done
    # Last: the fuzz run keeps both processors busy for a set time, whatever else is left.
    background_step build-fuzz build_preset fuzz &&
        background_step fuzz scripts/fuzz.sh "${FOLDTALLY_FUZZ_SECONDS:-10}"
) &
background=$!
kill_tree() { # pid: the process and everything it started
    local child
    for child in $(pgrep -P "$1"); do kill_tree "$child"; done
    kill "$1" 2>/dev/null
}
trap 'kill_tree $background; exit 130' INT TERM

# Waits for a step of the background chain and reports it like a step of this shell.
await() {
    local name=$1 status seconds
    while [ ! -f "build/logs/$name.status" ] && kill -0 "$background" 2>/dev/null; do
        sleep 1
    done
    if [ ! -f "build/logs/$name.status" ]; then
        echo "=== FAILED: $name did not run" >&2
        failures+=("$name")
        return 1
    fi
    read -r status seconds <"build/logs/$name.status"
    if [ "$status" -ne 0 ]; then
        tail -60 "build/logs/$name.log"
        echo "=== FAILED: $name ($seconds s in the background, log build/logs/$name.log)" >&2
        failures+=("$name")
        return 1
    fi
    [ "$name" = fuzz ] && cat "build/logs/$name.log"
    echo "=== $name: $seconds s in the background"
}

if [ -z "$tested" ]; then
    echo "=== FAILED: Windows tests: $FOLDTALLY_WINE_WHY" >&2
    failures+=("Windows tests")
elif run "build $tested" build_preset "$tested"; then
    source scripts/wine-env.sh
    wine_session_start
    run "test $tested" ctest --preset "$tested" -j "$JOBS" --timeout 600
    wine_session_stop
fi

for preset in sanitize tsan; do
    await "build-$preset" &&
        run "test $preset" ctest --preset "$preset" -j "$JOBS" --timeout 600
done
for preset in "${untested[@]}"; do
    await "check-$preset"
done
await build-fuzz && await fuzz
wait "$background"

echo
if [ ${#failures[@]} -ne 0 ]; then
    printf 'FAILED: %s\n' "${failures[@]}" >&2
    exit 1
fi
echo "all tests passed in $SECONDS s"
