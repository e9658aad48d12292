#!/usr/bin/env bash
# Fails unless every DLL the given Windows programs import is one that every Windows
# installation has and that the loader never takes from the program's folder: the
# programs are linked statically, ship without any DLL and are unpacked into any folder,
# where a stranger's DLL may lie beside them.
#
# usage: check_imports.sh OBJDUMP EXE...
set -uo pipefail
objdump=${1:?usage: check_imports.sh OBJDUMP EXE...}
shift
[ $# -gt 0 ] || { echo "no program given" >&2; exit 2; }

# The system's known libraries, which the loader always takes from the system
# directory, and the common controls, which the program's manifest binds to the system's
# side-by-side assembly. Not VERSION.dll and the like: the loader looks for those in the
# program's folder first, so the programs load them at run time by their full path.
# comdlg32.dll (the Save As dialog of the list export) is one of the known libraries;
# ntdll.dll (the history's work relative to its open folder) is the loader itself,
# mapped into every process before the program's folder is ever looked at.
allowed=" kernel32.dll user32.dll gdi32.dll comctl32.dll advapi32.dll msvcrt.dll comdlg32.dll ntdll.dll "

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
