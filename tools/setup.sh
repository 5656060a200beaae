#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Velt need, when missing. Where
# it cannot install them (no apt-get, not root and no sudo that works without a password), it
# lists what is missing and how to install it, and stops before anything else is tried.
set -euo pipefail

packages=(
    cmake make g++ clang libclang-rt-14-dev googletest        # native build, sanitizers, fuzzing
    clang-format                                              # the layout check
    g++-mingw-w64-x86-64 libz-mingw-w64-dev                   # the Windows build and zlib1.dll
    wine wine64 xvfb xdotool imagemagick x11-utils            # running under Wine, keys, screenshots
    libpng-dev libstb-dev zlib1g-dev python3                  # test oracles, benchmarks, art scripts
)

if ! command -v dpkg-query >/dev/null; then
    echo "setup.sh: not a Debian system, so the packages cannot be checked; Velt needs the" \
         "equivalents of: ${packages[*]}" >&2
    exit 0
fi

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
((${#missing[@]})) || exit 0

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
        sudo=(sudo -n)
    else
        sudo=(none)
    fi
fi
if ! command -v apt-get >/dev/null || [ "${sudo[0]:-}" = none ]; then
    echo "setup.sh: these packages are missing and cannot be installed from here" \
         "(installing needs apt-get and root or sudo):" >&2
    echo "    ${missing[*]}" >&2
    echo "As root: apt-get install ${missing[*]}" >&2
    exit 1
fi
echo "Installing: ${missing[*]}"
if ! "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq ||
    ! "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"; then
    echo "setup.sh: apt-get could not install: ${missing[*]}" >&2
    exit 1
fi
