#!/usr/bin/env bash
# Fails unless every DLL the given Windows programs import is one that every Windows
# installation has: the programs are linked statically and ship without any DLL.
#
# usage: check_imports.sh OBJDUMP EXE...
set -uo pipefail
objdump=${1:?usage: check_imports.sh OBJDUMP EXE...}
shift
[ $# -gt 0 ] || { echo "no program given" >&2; exit 2; }

# What the programs need, and nothing a user would have to install.
allowed=" kernel32.dll user32.dll gdi32.dll comctl32.dll advapi32.dll version.dll msvcrt.dll comdlg32.dll "

status=0
for exe in "$@"; do
    if ! dump=$("$objdump" -p "$exe" 2>&1); then
        echo "FAIL: $objdump cannot read $exe: $dump" >&2
        status=1
        continue
    fi
    dlls=$(printf '%s\n' "$dump" | sed -n 's/^[[:space:]]*DLL Name: //p')
    if [ -z "$dlls" ]; then
        echo "FAIL: $exe imports no DLL at all: not a Windows program?" >&2
        status=1
        continue
    fi
    while IFS= read -r dll; do
        lower=$(printf '%s' "$dll" | tr 'A-Z' 'a-z')
        case $allowed in
        *" $lower "*) ;;
        *) echo "FAIL: $(basename "$exe") imports $dll, which is not a Windows system DLL" >&2
           status=1 ;;
        esac
    done <<<"$dlls"
    [ $status -eq 0 ] && echo "$(basename "$exe"): $(echo $dlls)"
done
exit $status
