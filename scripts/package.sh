#!/usr/bin/env bash
# The release package: build/artifacts/foldtally-<version>-win32.zip with the program,
# its German and English help files (foldtally.chm, foldtally_en.chm), the same help
# pages as plain HTML (foldtally-hilfe, foldtally-help, for the host's browser under
# Wine), the German LIESMICH.txt (Windows-1252, CRLF) and the licence. The
# version is the project version of the top CMakeLists.txt, read from the build's cache.
# Without options it installs what is missing and builds the win32 preset first; the
# release is that 32-bit program, which runs on every Windows. --preset win64 makes
# foldtally-<version>-win64.zip of the 64-bit build the same way.
#   scripts/package.sh [--preset win32|win64]        # build, then package
#   scripts/package.sh --no-build [--build-dir DIR] [--out DIR]
# The zip is reproducible: its files (and the stripped program's header) carry the time
# of the last commit, in a fixed order.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
build=1
preset=win32
build_dir=
out=$ROOT/build/artifacts
while [ $# -gt 0 ]; do
    case $1 in
    --no-build) build=0 ;;
    --preset) preset=$2; shift ;;
    --build-dir) build_dir=$(cd "$2" && pwd); shift ;;
    --out) mkdir -p "$2"; out=$(cd "$2" && pwd); shift ;;
    *) echo "usage: scripts/package.sh [--preset win32|win64] [--no-build] [--build-dir DIR] [--out DIR]" >&2; exit 2 ;;
    esac
    shift
done

case $preset in
win32 | win64) ;;
*) echo "scripts/package.sh: --preset is win32 or win64, not '$preset'" >&2; exit 2 ;;
esac
build_dir=${build_dir:-$ROOT/build/$preset}

if [ "$build" = 1 ]; then
    scripts/setup.sh
    source scripts/build-preset.sh
    build_preset "$preset" foldtally foldtally_help foldtally_help_pages
fi

cache_value() { sed -n "s/^$1:[A-Z]*=//p" "$build_dir/CMakeCache.txt"; }
version=$(cache_value CMAKE_PROJECT_VERSION)
strip=$(cache_value CMAKE_STRIP)
arch=$(cache_value FOLDTALLY_WINDOWS_PRESET)
[ -n "$version" ] || { echo "no project version in $build_dir/CMakeCache.txt" >&2; exit 1; }
[ -n "$arch" ] || { echo "$build_dir is not a Windows build" >&2; exit 1; }
for f in foldtally.exe foldtally.chm foldtally_en.chm foldtally-hilfe/start.htm foldtally-help/start.htm; do
    [ -f "$build_dir/$f" ] || { echo "$build_dir/$f is missing: build the $arch preset" >&2; exit 1; }
done

epoch=$(git log -1 --format=%ct 2>/dev/null || date +%s)
stage=$(mktemp -d "${TMPDIR:-/tmp}/foldtally-package.XXXXXX")
trap 'rm -rf "$stage"' EXIT
# The symbol table only helps a debugger; the code is the tested build's.
SOURCE_DATE_EPOCH=$epoch "$strip" -o "$stage/foldtally.exe" "$build_dir/foldtally.exe"
cp "$build_dir/foldtally.chm" "$build_dir/foldtally_en.chm" "$stage/"
cp -R "$build_dir/foldtally-hilfe" "$build_dir/foldtally-help" "$stage/"
sed "s/@VERSION@/$version/g" package/LIESMICH.txt | iconv -f UTF-8 -t CP1252 |
    sed 's/$/\r/' >"$stage/LIESMICH.txt"
sed 's/$/\r/' LICENSE >"$stage/LICENSE.txt"

stamp=$(date -u -d "@$epoch" +%Y%m%d%H%M.%S)
files=(foldtally.exe foldtally.chm foldtally_en.chm LIESMICH.txt LICENSE.txt)
mapfile -t pages < <(cd "$stage" && find foldtally-hilfe foldtally-help -type f | LC_ALL=C sort)
files+=("${pages[@]}")
(cd "$stage" && TZ=UTC touch -t "$stamp" "${files[@]}")
mkdir -p "$out"
zip_file=$out/foldtally-$version-$arch.zip
rm -f "$zip_file"
(cd "$stage" && TZ=UTC zip -q -X -D -9 "$zip_file" "${files[@]}")
echo "$zip_file"
