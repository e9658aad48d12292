#!/usr/bin/env bash
# Every test of the project: installs what is missing, builds every preset, runs the
# native, sanitizer, Windows (under Wine) and end-to-end tests and a short run of every
# fuzz target. Exits non-zero when anything fails. Safe to run again.
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

mkdir -p build
for preset in native sanitize tsan; do
    run "build $preset" build_preset "$preset" &&
        run "test $preset" ctest --preset "$preset" -j "$JOBS" --timeout 600
done

if run "build win32" build_preset win32; then
    source scripts/wine-env.sh
    wine_session_start
    run "test win32" ctest --preset win32 -j "$JOBS" --timeout 600
    wine_session_stop
fi

if run "build fuzz" build_preset fuzz; then
    run "fuzz" scripts/fuzz.sh "${FOLDTALLY_FUZZ_SECONDS:-20}"
fi

echo
if [ ${#failures[@]} -ne 0 ]; then
    printf 'FAILED: %s\n' "${failures[@]}" >&2
    exit 1
fi
echo "all tests passed in $SECONDS s"
