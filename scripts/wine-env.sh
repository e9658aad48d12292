# Sourced by the scripts that run Windows programs: a quiet Wine in the project's
# own prefix under build/, never ~/.wine, with the loader that can run the build this
# machine tests (scripts/wine-choice.sh). FOLDTALLY_WINDOWS_PRESET set beforehand asks
# for one build. `wine`, `winepath` and `wineboot` then mean the project's own
# (scripts/wine-bin), for this shell and every program it starts. Safe to source more
# than once.

FOLDTALLY_ROOT=${FOLDTALLY_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
source "$FOLDTALLY_ROOT/scripts/wine-choice.sh"
if [ -z "${FOLDTALLY_WINE_LOADER:-}" ] || [ ! -x "$FOLDTALLY_WINE_LOADER" ]; then
    foldtally_wine_choose || {
        echo "$FOLDTALLY_WINE_WHY" >&2
        return 1 2>/dev/null || exit 1
    }
fi
export FOLDTALLY_ROOT
case :$PATH: in
*":$FOLDTALLY_ROOT/scripts/wine-bin:"*) ;;
*) export PATH=$FOLDTALLY_ROOT/scripts/wine-bin:$PATH ;;
esac
# Each build has a prefix of its own architecture: a 64-bit prefix cannot hold the
# 32-bit build's settings and the other way round.
if [ "$FOLDTALLY_WINDOWS_PRESET" = win64 ]; then
    export WINEPREFIX=${FOLDTALLY_WINEPREFIX:-$FOLDTALLY_ROOT/build/wineprefix64}
else
    export WINEPREFIX=${FOLDTALLY_WINEPREFIX:-$FOLDTALLY_ROOT/build/wineprefix}
fi
export WINEARCH=$FOLDTALLY_WINDOWS_PRESET
export WINELOADER=$FOLDTALLY_WINE_LOADER
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
# File names in UTF-8 whatever the caller's locale. The program speaks the language of
# Wine's interface, which follows LC_MESSAGES: German, as the tests expect, unless the
# caller asks for another (FOLDTALLY_MESSAGES=C.UTF-8 for English).
export LANG=C.UTF-8
# LC_ALL would pin every part of the locale, the language too; LC_CTYPE alone pins the
# code pages.
export LC_CTYPE=C.UTF-8
unset LC_ALL
export LC_MESSAGES=${FOLDTALLY_MESSAGES:-de_DE.UTF-8}
unset WINESERVER

case "$WINEPREFIX" in
"$HOME/.wine" | "$HOME/.wine/") echo "refusing to use $WINEPREFIX" >&2; return 1 2>/dev/null || exit 1 ;;
esac

# Creates the prefix once: wine boot, window frames drawn by Wine itself (there is no
# window manager under Xvfb), and the Wine fonts that Debian's Wine does not load.
wine_prefix_ensure() {
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        local arch
        arch=$(foldtally_prefix_arch "$WINEPREFIX")
        if [ -f "$WINEPREFIX/.foldtally-ready" ] && [ -n "$arch" ] && [ "$arch" != "$WINEARCH" ]; then
            echo "$WINEPREFIX was made for $arch, this run needs $WINEARCH: making it anew" >&2
            rm -f "$WINEPREFIX/.foldtally-ready"
        fi
        if [ ! -f "$WINEPREFIX/.foldtally-ready" ]; then
            wineserver -k >/dev/null 2>&1 || true
            rm -rf "$WINEPREFIX"
            wineboot -i </dev/null >/dev/null 2>&1
            wineserver -w
            wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
            mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
            cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
            wineserver -w
            touch "$WINEPREFIX/.foldtally-ready"
        fi
    ) 9>"$WINEPREFIX.lock"
}

# Starts what a run of many Windows programs needs: an X display (a private Xvfb
# unless FOLDTALLY_USE_DISPLAY=1 keeps the caller's), a persistent wine server so
# each program does not wait for the server's start and stop, and a keeper that
# holds the desktop so no test waits for pipes inherited by explorer.exe.
wine_session_start() {
    wine_prefix_ensure
    FOLDTALLY_XVFB_PID=
    if [ "${FOLDTALLY_USE_DISPLAY:-0}" != 1 ] || [ -z "${DISPLAY:-}" ]; then
        local dfile
        dfile=$(mktemp)
        Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$dfile" >/dev/null 2>&1 &
        FOLDTALLY_XVFB_PID=$!
        local i
        for i in $(seq 1 100); do
            [ -s "$dfile" ] && break
            sleep 0.1
        done
        export DISPLAY=":$(head -1 "$dfile")"
        rm -f "$dfile"
    fi
    wineserver -p >/dev/null 2>&1 || true
    wine reg query 'HKCU\Software\Wine\X11 Driver' /v Managed </dev/null >/dev/null 2>&1 || true
    FOLDTALLY_KEEPER_PID=
    local keeper="$FOLDTALLY_ROOT/build/$FOLDTALLY_WINDOWS_PRESET/tools/desktop_keeper.exe"
    if [ -f "$keeper" ]; then
        wine "$keeper" </dev/null >/dev/null 2>&1 &
        FOLDTALLY_KEEPER_PID=$!
        sleep 1
    fi
}

wine_session_stop() {
    wineserver -k >/dev/null 2>&1 || true
    [ -n "${FOLDTALLY_KEEPER_PID:-}" ] && wait "$FOLDTALLY_KEEPER_PID" 2>/dev/null
    if [ -n "${FOLDTALLY_XVFB_PID:-}" ]; then
        kill "$FOLDTALLY_XVFB_PID" 2>/dev/null || true
        wait "$FOLDTALLY_XVFB_PID" 2>/dev/null || true
    fi
    return 0
}
