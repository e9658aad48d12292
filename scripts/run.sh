#!/usr/bin/env bash
# The program's main job on a generated demo mailbox, in the project's own Wine prefix.
# Until the window program exists, that job is the report: foldtally-report lists the
# demo mailbox natively and, as foldtally-report.exe, under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
mkdir -p build
for preset in native win32; do
    cmake --preset "$preset" >"build/configure-$preset.log" 2>&1 || { cat "build/configure-$preset.log"; exit 1; }
    cmake --build --preset "$preset" -j "${FOLDTALLY_JOBS:-2}"
done

# A fresh demo mailbox each run: nested folders, a few broken folder files, new mail
# and one sparse folder of 5 GiB. It lives under build/ and is ours to replace.
DEMO=build/demo
rm -rf "$DEMO"
build/native/foldtally-mailgen --mailbox "$DEMO/mailbox" --newmail "$DEMO/newmail" \
    --seed 2024 --folders 40 --depth 5 --broken 5 --orphans 1 --huge 1 --newmail-files 6 \
    --case-variants

echo
echo "=== foldtally-report (Linux) on $DEMO"
build/native/foldtally-report --mailbox "$DEMO/mailbox" --newmail "$DEMO/newmail"

echo
echo "=== foldtally-report.exe (Windows, under Wine) on $DEMO"
source scripts/wine-env.sh
wine_prefix_ensure
mailbox=$(winepath -w "$DEMO/mailbox" 2>/dev/null)
newmail=$(winepath -w "$DEMO/newmail" 2>/dev/null)
scripts/wine-run build/win32/foldtally-report.exe --mailbox "$mailbox" --newmail "$newmail" \
    </dev/null | tr -d '\r'
