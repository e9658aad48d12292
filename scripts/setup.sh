#!/usr/bin/env bash
# Installs what building and testing need on Debian 12; does nothing when all is there.
# The 32-bit Wine loader (wine32:i386) only where the kernel runs 32-bit programs:
# elsewhere the 64-bit build is tested under wine64. A package mirror in the middle of
# a sync can fail an index for a while, so the index update is retried, and an install
# that fails for want of an index is tried once more with the release's own suite first.
set -euo pipefail
source "$(dirname "$0")/wine-choice.sh"

packages=(
    cmake ninja-build g++ clang libclang-rt-14-dev googletest
    g++-mingw-w64-i686-posix mingw-w64-i686-dev binutils-mingw-w64-i686
    g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64
    wine wine64 fonts-wine
    xvfb xauth xdotool x11-utils x11-apps imagemagick
    fp-utils zip unzip locales
    hyperfine python3 time
    libcxxopts-dev nlohmann-json3-dev
)
runs32=0
if foldtally_runs_32bit_programs; then
    runs32=1
    packages+=(wine32:i386)
fi

# The tests run the program as a German user would: its language follows Wine's, and
# Wine's follows LC_MESSAGES, which it can only take from a locale glibc knows.
ensure_german_locale() {
    locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8' && return 0
    local sudo=
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    $sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8 || {
        echo "setup: could not make the locale de_DE.UTF-8; try by hand: $sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8" >&2
        return 1
    }
}

missing=()
for p in "${packages[@]}"; do
    if [ "$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null)" != "install ok installed" ]; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && { ensure_german_locale; exit; }

echo "installing: ${missing[*]}" >&2
sudo=
[ "$(id -u)" -ne 0 ] && sudo=sudo
if [ "$runs32" = 1 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi

# apt-get update fails as a whole when one index fails; the others are still fresh.
for attempt in 1 2 3; do
    $sudo apt-get update -qq && break
    [ "$attempt" -lt 3 ] && { echo "apt-get update failed; again in 20 s" >&2; sleep 20; }
done

install() {
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "$@" \
        "${missing[@]}" >/dev/null
}
install && { ensure_german_locale; exit; }
suite=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
if [ -n "$suite" ]; then
    echo "the install failed; once more with the suite $suite first" >&2
    install -t "$suite" && { ensure_german_locale; exit; }
fi
echo "setup: could not install the packages; try by hand: $sudo apt-get install ${suite:+-t $suite }${missing[*]}" >&2
exit 1
