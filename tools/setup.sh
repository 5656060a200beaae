#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Velt need, when missing.
set -euo pipefail

packages=(
    cmake make g++ clang libclang-rt-14-dev googletest        # native build, sanitizers, fuzzing
    clang-format                                              # the layout check
    g++-mingw-w64-x86-64 libz-mingw-w64-dev                   # the Windows build and zlib1.dll
    wine wine64 xvfb xdotool imagemagick x11-utils            # running under Wine, keys, screenshots
    libpng-dev libstb-dev zlib1g-dev python3                  # test oracles, benchmarks, art scripts
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
fi
