#!/usr/bin/env bash
# Configures and builds one tree: native (portable core and tests, sanitizers on) or win
# (Velt.exe, dist/Velt/ and the Windows tests).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
kind=${1:?usage: build.sh native|win}
jobs=$(nproc)
# VELT_BUILD_DIR gives a separate set of trees (and dist folder), e.g. for a second checkout's work.
build=${VELT_BUILD_DIR:-$root/build}
if [ -n "${VELT_BUILD_DIR:-}" ]; then dist=$build/dist/Velt; else dist=$root/dist/Velt; fi
case "$kind" in
native)
    # clang unless CC and CXX say otherwise (the fuzz targets need clang).
    cmake -S "$root" -B "$build/native" -DCMAKE_BUILD_TYPE=Debug \
        -DCMAKE_C_COMPILER="${CC:-clang}" -DCMAKE_CXX_COMPILER="${CXX:-clang++}" >/dev/null
    cmake --build "$build/native" -j "$jobs"
    ;;
win)
    cmake -S "$root" -B "$build/win" -DCMAKE_BUILD_TYPE=Release -DVELT_DIST="$dist" \
        -DVELT_WINE_PREFIX="$build/wine-prefix" \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/Toolchain-mingw64.cmake" >/dev/null
    cmake --build "$build/win" -j "$jobs"
    ;;
*)
    echo "usage: build.sh native|win" >&2
    exit 2
    ;;
esac
