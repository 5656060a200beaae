#!/usr/bin/env bash
# How ctest runs the Windows tests: under Wine with the build tree's own prefix and a private Xvfb
# display, so that a test never touches ~/.wine or the user's screen. Two ctest fixture entries
# begin and end the session; every test program runs inside it.
#   wine-test.sh PREFIX SESSION --start | --stop
#   wine-test.sh PREFIX SESSION PROGRAM [ARGUMENTS...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
prefix=${1:?usage: wine-test.sh PREFIX SESSION --start|--stop|PROGRAM...}
session=${2:?usage: wine-test.sh PREFIX SESSION --start|--stop|PROGRAM...}
shift 2
source "$root/tools/wine-env.sh"

case "${1:-}" in
--start)
    mkdir -p "$session"
    "$0" "$prefix" "$session" --stop
    # Everything started here outlives this step: its output goes nowhere, or ctest would wait
    # for it.
    velt_display_start
    echo "$DISPLAY" >"$session/display"
    echo "$VELT_XVFB_PID" >"$session/xvfb"
    velt_wine_prefix "$prefix" </dev/null >/dev/null 2>&1 || {
        echo "wine-test.sh: the Wine prefix $prefix could not be set up" >&2
        "$0" "$prefix" "$session" --stop
        exit 1
    }
    ;;
--stop)
    velt_wine_environment "$prefix"
    wineserver -k >/dev/null 2>&1 || true
    if [ -f "$session/xvfb" ]; then
        kill "$(cat "$session/xvfb")" >/dev/null 2>&1 || true
    fi
    rm -f "$session/display" "$session/xvfb"
    ;;
*)
    if [ ! -f "$session/display" ]; then
        echo "wine-test.sh: no test session in $session (run the tests through ctest)" >&2
        exit 1
    fi
    velt_wine_environment "$prefix"
    DISPLAY=$(cat "$session/display")
    export DISPLAY
    exec wine "$@"
    ;;
esac
