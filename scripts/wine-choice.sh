# Sourced: which Windows build this machine can run under Wine, and the loader that
# runs it. Some machines of our kind run no 32-bit programs (the kernel's 32-bit
# emulation is off) and differ here from one day to the next, so the answer comes from
# running the loader, never from versions or installed packages. Debian's /usr/bin/wine
# picks the 32-bit loader whenever it is installed, runnable or not; the project calls
# the chosen loader itself (scripts/wine-bin) and never that script.
#
# The loaders can be replaced for tests: FOLDTALLY_WINE32_LOADER, FOLDTALLY_WINE64_LOADER.

# A 32-bit Linux program of 91 bytes that only exits with status 0: where it runs, the
# kernel runs 32-bit programs. Setup asks this before the 32-bit loader is installed.
foldtally_runs_32bit_programs() {
    local probe status
    probe=$(mktemp "${TMPDIR:-/tmp}/foldtally-i386.XXXXXX") || return 1
    local elf='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
    elf+='\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00'
    elf+='\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00'
    elf+='\x00\x80\x04\x08\x00\x80\x04\x08\x5b\x00\x00\x00\x5b\x00\x00\x00\x05\x00\x00\x00'
    elf+='\x00\x10\x00\x00\x31\xdb\x31\xc0\x40\xcd\x80' # xor ebx,ebx; xor eax,eax; inc eax; int 80h
    printf "$elf" >"$probe"
    chmod +x "$probe"
    "$probe" >/dev/null 2>&1
    status=$?
    rm -f "$probe"
    return $status
}

# Why LOADER does not run, in a few words; nothing when it runs.
foldtally_loader_fault() {
    local loader=$1 err
    [ -e "$loader" ] || { echo "$loader is not installed"; return; }
    # The shell's own message in its C words, whatever the caller's language.
    err=$(export LC_ALL=C; "$loader" --version 2>&1 >/dev/null) && return
    case $err in
    *"Exec format error"*) echo "$loader cannot run here (Exec format error)" ;;
    *) echo "$loader does not run (${err##*: })" ;;
    esac
}

# Sets FOLDTALLY_WINDOWS_PRESET (win32 or win64), FOLDTALLY_WINE_LOADER and
# FOLDTALLY_WINE_WHY, a line that says which build is run and why. The 32-bit build is
# the release and comes first; FOLDTALLY_WINDOWS_PRESET set beforehand asks for one
# build. Returns 1 when no wanted build can run, FOLDTALLY_WINE_WHY then saying why.
foldtally_wine_choose() {
    local want=${FOLDTALLY_WINDOWS_PRESET:-}
    local l32=${FOLDTALLY_WINE32_LOADER:-/usr/lib/wine/wine}
    local l64=${FOLDTALLY_WINE64_LOADER:-/usr/lib/wine/wine64}
    local f32= f64=
    FOLDTALLY_WINE_LOADER=
    case $want in
    "" | win32 | win64) ;;
    *)
        FOLDTALLY_WINE_WHY="FOLDTALLY_WINDOWS_PRESET is '$want', not win32 or win64"
        return 1
        ;;
    esac
    if [ "$want" != win64 ]; then
        f32=$(foldtally_loader_fault "$l32")
        if [ -z "$f32" ]; then
            FOLDTALLY_WINDOWS_PRESET=win32 FOLDTALLY_WINE_LOADER=$l32
            FOLDTALLY_WINE_WHY="win32 under Wine: $l32 runs here"
        fi
    fi
    if [ -z "$FOLDTALLY_WINE_LOADER" ] && [ "$want" != win32 ]; then
        f64=$(foldtally_loader_fault "$l64")
        if [ -z "$f64" ]; then
            FOLDTALLY_WINDOWS_PRESET=win64 FOLDTALLY_WINE_LOADER=$l64
            FOLDTALLY_WINE_WHY="win64 under wine64: ${f32:-the 32-bit build was not asked for}"
        fi
    fi
    if [ -z "$FOLDTALLY_WINE_LOADER" ]; then
        FOLDTALLY_WINE_WHY="no Windows build can run: $(printf '%s' "$f32${f32:+; }$f64")"
        return 1
    fi
    export FOLDTALLY_WINDOWS_PRESET FOLDTALLY_WINE_LOADER FOLDTALLY_WINE_WHY
}

# The architecture a Wine prefix was made for (win32 or win64), nothing when it has none.
foldtally_prefix_arch() {
    sed -n 's/^#arch=//p' "$1/system.reg" 2>/dev/null | head -1
}
