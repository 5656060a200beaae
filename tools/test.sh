#!/usr/bin/env bash
# Checks the layout of the sources, builds everything and runs every test: the native unit tests
# (ASan + UBSan) with short fuzz runs, then the Windows and end-to-end tests under Wine, on a
# private Xvfb display with the Wine prefix in build/wine-prefix. VELT_BUILD_DIR moves all of
# build/ elsewhere.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VELT_BUILD_DIR:-$root/build}
"$root/tools/setup.sh"
"$root/tools/format.sh" --check

"$root/tools/build.sh" native
ctest --test-dir "$build/native" --output-on-failure -j "$(nproc)"

"$root/tools/build.sh" win
# One at a time: the GUI tests share the display, the keyboard and the cursor. ctest begins and
# ends the tree's own Wine session around them (tools/wine-test.sh).
ctest --test-dir "$build/win" --output-on-failure
