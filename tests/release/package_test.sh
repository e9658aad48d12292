#!/usr/bin/env bash
# Makes the release zip from the current build with the documented command (without
# building again) into a scratch folder, and checks it with check_package.sh.
#
# usage: package_test.sh SOURCE_DIR BUILD_DIR VERSION STRIP WINDRES
set -uo pipefail
src=${1:?usage: package_test.sh SOURCE_DIR BUILD_DIR VERSION STRIP WINDRES}
build=${2:?build dir missing}
version=${3:?version missing}
arch=${FOLDTALLY_WINDOWS_PRESET:-win32} # the build the zip is made of: win32 or win64
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

zip=$(bash "$src/scripts/package.sh" --no-build --build-dir "$build" --out "$work") || exit 1
[ "$zip" = "$work/foldtally-$version-$arch.zip" ] || {
    echo "FAIL: package.sh made '$zip', not foldtally-$version-$arch.zip" >&2
    exit 1
}
bash "$here/check_package.sh" "$zip" "$version" "$src" "$build" "$4" "$5"
