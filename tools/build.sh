#!/usr/bin/env bash
# Configures and builds one tree: native (portable core and tests, sanitizers on) or win
# (Velt.exe, dist/Velt/ and the Windows tests).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
kind=${1:?usage: build.sh native|win}
jobs=$(nproc)
case "$kind" in
native)
    cmake -S "$root" -B "$root/build/native" -DCMAKE_BUILD_TYPE=Debug \
        -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
    cmake --build "$root/build/native" -j "$jobs"
    ;;
win)
    cmake -S "$root" -B "$root/build/win" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/Toolchain-mingw64.cmake" >/dev/null
    cmake --build "$root/build/win" -j "$jobs"
    ;;
*)
    echo "usage: build.sh native|win" >&2
    exit 2
    ;;
esac
