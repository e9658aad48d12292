#!/usr/bin/env bash
# Installs what building and testing need on Debian 12; does nothing when all is there.
set -euo pipefail

packages=(
    cmake ninja-build g++ clang libclang-rt-14-dev googletest
    g++-mingw-w64-i686-posix mingw-w64-i686-dev binutils-mingw-w64-i686
    wine wine32:i386 wine64 fonts-wine
    xvfb xauth xdotool x11-utils x11-apps imagemagick
    fp-utils zip unzip
    hyperfine python3 time
    libcxxopts-dev nlohmann-json3-dev
)

missing=()
for p in "${packages[@]}"; do
    if [ "$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null)" != "install ok installed" ]; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "installing: ${missing[*]}" >&2
sudo=
[ "$(id -u)" -ne 0 ] && sudo=sudo
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
