#!/usr/bin/env bash
# Checks a release zip against the build it was made from: exactly the five files and
# the build's folders foldtally-hilfe and foldtally-help (the help pages as plain HTML); the program is the build's foldtally.exe (stripped) and its version resource carries the
# version in the zip's name; the help file is the build's; LIESMICH.txt is the German
# text of package/LIESMICH.txt in Windows-1252 with CRLF line ends; the licence names
# its holder, with CRLF line ends.
#
# usage: check_package.sh ZIP VERSION SOURCE_DIR BUILD_DIR STRIP WINDRES
set -uo pipefail
zip=${1:?usage: check_package.sh ZIP VERSION SOURCE_DIR BUILD_DIR STRIP WINDRES}
version=${2:?version missing}
src=${3:?source dir missing}
build=${4:?build dir missing}
strip=${5:?strip missing}
windres=${6:?windres missing}
arch=${FOLDTALLY_WINDOWS_PRESET:-win32} # the build the zip is made of: win32 or win64
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

status=0
fail() {
    echo "FAIL: $*" >&2
    status=1
}

# strip writes its own time into the PE header, and the header's checksum follows it:
# both are zeroed before two stripped programs are compared.
zero_stamp() {
    local pe
    pe=$(od -An -tu4 -j 60 -N 4 "$1" | tr -d ' ')
    printf '\0\0\0\0' | dd of="$1" bs=1 seek=$((pe + 8)) conv=notrunc status=none
    printf '\0\0\0\0' | dd of="$1" bs=1 seek=$((pe + 88)) conv=notrunc status=none
}

[ "$(basename "$zip")" = "foldtally-$version-$arch.zip" ] ||
    fail "the zip is named $(basename "$zip"), not foldtally-$version-$arch.zip"
[ -f "$zip" ] || { fail "$zip does not exist"; exit 1; }

expected=$'LICENSE.txt\nLIESMICH.txt\nfoldtally.chm\nfoldtally.exe\nfoldtally_en.chm'
listed=$(unzip -Z1 "$zip" | grep -vE '^foldtally-(hilfe|help)/' | LC_ALL=C sort)
[ "$listed" = "$expected" ] || fail "the zip holds [$(echo $listed)], not [$(echo $expected)]"
unzip -q "$zip" -d "$work/x" || { fail "cannot unpack $zip"; exit 1; }
x=$work/x
if [ ! -f "$x/foldtally-hilfe/start.htm" ]; then
    fail "the zip holds no help pages foldtally-hilfe/start.htm"
elif ! diff -r "$build/foldtally-hilfe" "$x/foldtally-hilfe" >/dev/null; then
    fail "foldtally-hilfe in the zip is not the build's help pages"
fi
diff -r "$build/foldtally-help" "$x/foldtally-help" >/dev/null 2>&1 ||
    fail "foldtally-help in the zip is not the build's English help pages"

# The program: the build's, with only the symbol table removed.
if [ -f "$x/foldtally.exe" ]; then
    "$strip" -o "$work/built.exe" "$build/foldtally.exe"
    cp "$x/foldtally.exe" "$work/packaged.exe"
    zero_stamp "$work/built.exe"
    zero_stamp "$work/packaged.exe"
    cmp -s "$work/built.exe" "$work/packaged.exe" ||
        fail "foldtally.exe in the zip is not the build's foldtally.exe"
    rc=$("$windres" -i "$x/foldtally.exe" -J coff -O rc 2>&1)
    IFS=. read -r major minor patch tweak <<<"$version"
    numbers="$major, ${minor:-0}, ${patch:-0}, ${tweak:-0}"
    for key in FILEVERSION PRODUCTVERSION; do
        got=$(sed -n "s/^ *$key //p" <<<"$rc")
        [ "$got" = "$numbers" ] || fail "$key of foldtally.exe is '$got', not '$numbers'"
    done
    # Once in each language's block of the version resource.
    for key in FileVersion ProductVersion; do
        got=$(sed -n "s/^ *VALUE \"$key\", \"\(.*\)\"$/\1/p" <<<"$rc" | sort -u)
        [ "$got" = "$version" ] || fail "\"$key\" of foldtally.exe is '$got', not '$version'"
    done
fi

if [ -f "$x/foldtally.chm" ] && ! cmp -s "$x/foldtally.chm" "$build/foldtally.chm"; then
    fail "foldtally.chm in the zip is not the build's help file"
fi
cmp -s "$x/foldtally_en.chm" "$build/foldtally_en.chm" || fail "foldtally_en.chm in the zip is not the build's"

crlf_only() { # file: every line ends in CR LF, the last one too, and no CR stands alone
    local lf cr pairs last
    lf=$(tr -cd '\n' <"$1" | wc -c)
    cr=$(tr -cd '\r' <"$1" | wc -c)
    pairs=$(grep -c $'\r$' "$1")
    last=$(tail -c 1 "$1" | od -An -tx1 | tr -d ' ')
    [ "$lf" -gt 0 ] && [ "$cr" -eq "$lf" ] && [ "$pairs" -eq "$lf" ] && [ "$last" = 0a ]
}

if [ -f "$x/LIESMICH.txt" ]; then
    crlf_only "$x/LIESMICH.txt" || fail "LIESMICH.txt does not end every line with CR LF"
    want=$(sed "s/@VERSION@/$version/g" "$src/package/LIESMICH.txt")
    if ! got=$(iconv -f CP1252 -t UTF-8 "$x/LIESMICH.txt" | tr -d '\r'); then
        fail "LIESMICH.txt is not Windows-1252 text"
    elif [ "$got" != "$want" ]; then
        fail "LIESMICH.txt read as Windows-1252 is not the text of package/LIESMICH.txt"
    fi
    grep -q $'f\xfcr Pegasus-Mail' "$x/LIESMICH.txt" ||
        fail "LIESMICH.txt does not hold 'für' as the Windows-1252 byte"
fi

if [ -f "$x/LICENSE.txt" ]; then
    crlf_only "$x/LICENSE.txt" || fail "LICENSE.txt does not end every line with CR LF"
    grep -q '^Copyright (c) 2026 Morvapps'$'\r''$' "$x/LICENSE.txt" ||
        fail "LICENSE.txt does not name Morvapps as the holder"
    cmp -s <(tr -d '\r' <"$x/LICENSE.txt") "$src/LICENSE" || fail "LICENSE.txt is not LICENSE"
fi

[ $status -eq 0 ] && echo "$(basename "$zip"): $(echo $listed), $(find "$x/foldtally-hilfe" -type f | wc -l) help pages, version $version"
exit $status
