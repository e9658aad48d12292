#!/usr/bin/env bash
# The program's main job on a generated demo mailbox, in the project's own Wine prefix.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
mkdir -p build
for preset in native win32; do
    cmake --preset "$preset" >"build/configure-$preset.log" 2>&1 || { cat "build/configure-$preset.log"; exit 1; }
    cmake --build --preset "$preset"
done
echo "nothing to run yet: the report tool and the window are still to come" >&2
