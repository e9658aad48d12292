#!/usr/bin/env bash
# Proves that check_package.sh fails for real: the release zip is made once and checked
# unchanged (must pass), then once per planted fault (must fail and name the fault).
#
# usage: check_package_catches_faults.sh SOURCE_DIR BUILD_DIR VERSION STRIP WINDRES
set -uo pipefail
src=${1:?usage: check_package_catches_faults.sh SOURCE_DIR BUILD_DIR VERSION STRIP WINDRES}
build=${2:?build dir missing}
version=${3:?version missing}
strip=${4:?strip missing}
windres=${5:?windres missing}
arch=${FOLDTALLY_WINDOWS_PRESET:-win32} # the build the zip is made of: win32 or win64
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

good=$(bash "$src/scripts/package.sh" --no-build --build-dir "$build" --out "$work/good") || exit 1
status=0
check() { # zip, version
    bash "$here/check_package.sh" "$1" "$2" "$src" "$build" "$strip" "$windres" 2>&1
}
check "$good" "$version" >"$work/good.log" || { cat "$work/good.log"; echo "FAIL: the unchanged zip fails" >&2; exit 1; }

# One fault: a shell command run inside the unpacked zip, and the text the check prints.
plant() {
    local name=$1 command=$2 message=$3 zip_version=${4:-$version}
    local dir=$work/$name out
    mkdir -p "$dir/x"
    unzip -q "$good" -d "$dir/x"
    (cd "$dir/x" && eval "$command")
    (cd "$dir/x" && zip -q -r -X "$dir/foldtally-$zip_version-$arch.zip" $(ls))
    if out=$(check "$dir/foldtally-$zip_version-$arch.zip" "$zip_version"); then
        echo "FAIL: $name: the check passed" >&2
        status=1
    elif ! grep -qF -- "$message" <<<"$out"; then
        echo "FAIL: $name: the check failed without '$message': $out" >&2
        status=1
    fi
}
plant lf-readme "sed -i 's/\r\$//' LIESMICH.txt" "LIESMICH.txt does not end every line with CR LF"
plant utf8-readme "iconv -f CP1252 -t UTF-8 LIESMICH.txt >t && mv t LIESMICH.txt" \
    "LIESMICH.txt read as Windows-1252 is not the text of package/LIESMICH.txt"
plant lone-cr "printf 'x\ry\r\n' >>LIESMICH.txt" "LIESMICH.txt does not end every line with CR LF"
plant no-help "rm foldtally.chm" "the zip holds [LICENSE.txt LIESMICH.txt foldtally.exe foldtally_en.chm]"
plant extra-file "cp '$build/foldtally-report.exe' ." "the zip holds"
plant other-help "printf x >>foldtally.chm" "foldtally.chm in the zip is not the build's help file"
plant no-pages "rm -r foldtally-hilfe" "the zip holds no help pages"
plant lost-page "rm foldtally-hilfe/pages/tasten.htm" "foldtally-hilfe in the zip is not the build's help pages"
plant other-program "'$strip' -o foldtally.exe '$build/foldtally-report.exe'" \
    "foldtally.exe in the zip is not the build's foldtally.exe"
plant lf-licence "sed -i 's/\r\$//' LICENSE.txt" "LICENSE.txt does not end every line with CR LF"
plant no-holder "sed -i 's/Morvapps/Someone/' LICENSE.txt" "LICENSE.txt does not name Morvapps"
IFS=. read -r major minor patch _ <<<"$version"
other=$major.$minor.$((patch + 1))
plant other-version ":" "FileVersion\" of foldtally.exe is '$version', not '$other'" "$other"

[ $status -eq 0 ] && echo "the package check catches every planted fault"
exit $status
