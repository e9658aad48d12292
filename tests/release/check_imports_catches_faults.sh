#!/usr/bin/env bash
# Proves that check_imports.sh fails for real: a small program linked the compiler's
# default way imports the C++ runtime's DLL, one that uses sockets imports WS2_32, and
# one that reads version resources the plain way imports VERSION.dll, which the loader
# looks for in the program's folder first; the check must reject each and name the DLL.
#
# usage: check_imports_catches_faults.sh OBJDUMP CXX
set -uo pipefail
objdump=${1:?usage: check_imports_catches_faults.sh OBJDUMP CXX}
cxx=${2:?compiler missing}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cat >"$work/runtime.cpp" <<'CPP'
#include <string>
int main(int argc, char**) { return static_cast<int>(std::to_string(argc).size()); }
CPP
cat >"$work/sockets.cpp" <<'CPP'
#include <winsock2.h>
int main() { WSADATA data; return WSAStartup(MAKEWORD(2, 2), &data); }
CPP
cat >"$work/version.cpp" <<'CPP'
#include <windows.h>
int main() { DWORD h = 0; return static_cast<int>(GetFileVersionInfoSizeA("x.exe", &h)); }
CPP
"$cxx" -o "$work/version.exe" "$work/version.cpp" -static -lversion || exit 1
"$cxx" -o "$work/runtime.exe" "$work/runtime.cpp" -shared-libgcc || exit 1
"$cxx" -o "$work/sockets.exe" "$work/sockets.cpp" -static -lws2_32 || exit 1

status=0
expect_rejected() { # exe, DLL the message must name
    local out
    if out=$(bash "$here/check_imports.sh" "$objdump" "$1" 2>&1); then
        echo "FAIL: $(basename "$1") passed the check although it imports $2" >&2
        status=1
    elif ! grep -qi "imports $2" <<<"$out"; then
        echo "FAIL: the check rejected $(basename "$1") without naming $2: $out" >&2
        status=1
    fi
}
expect_rejected "$work/runtime.exe" "libstdc++-6.dll"
expect_rejected "$work/sockets.exe" "WS2_32.dll"
expect_rejected "$work/version.exe" "VERSION.dll"
if out=$(bash "$here/check_imports.sh" "$objdump" "$work/runtime.cpp" 2>&1); then
    echo "FAIL: a file that is no program passed the check" >&2
    status=1
fi
[ $status -eq 0 ] && echo "the import check rejects foreign DLLs"
exit $status
