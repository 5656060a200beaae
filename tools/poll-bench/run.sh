#!/usr/bin/env bash
# Measures the poll under Wine with 100 windows of another process: a tick and a switch against
# the bare platform calls (poll-bench.exe), then Velt's CPU over 10 s of idling against the bare
# loop run ten times a second, both read from /proc. Needs a built win tree (tools/build.sh win).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${VELT_BUILD_DIR:-$root/build}
source "$root/tools/wine-env.sh"
if [ -z "${DISPLAY:-}" ]; then
    velt_display_start
    trap velt_wine_stop EXIT
fi
velt_wine_prefix "$build/wine-prefix"

bench="$build/win/tools/poll-bench/poll-bench.exe"
helper="$build/win/tests/e2e/e2e-helper.exe"
wine "$bench" "Z:$helper"
wine "$build/win/tools/poll-bench/overview-bench.exe" "Z:$root/resources/skin/frosted-blue.png"

# utime + stime of the processes whose command line matches, in clock ticks. Only this run's
# processes count: those of this user that run in this script's Wine prefix (the machine may
# run other copies of Velt and other Wine servers).
cpu_ticks() {
    local total=0 pid fields
    for pid in $(pgrep -u "$(id -u)" -f "$1"); do
        tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" ||
            continue
        read -r -a fields < <(sed 's/^.*) //' "/proc/$pid/stat" 2>/dev/null) || continue
        total=$((total + fields[11] + fields[12]))
    done
    echo "$total"
}

# idle_cpu PATTERN: milliseconds of CPU the process and the Wine server spend over 10 s.
idle_cpu() {
    sleep 3
    local own0 server0 own1 server1 hz
    hz=$(getconf CLK_TCK)
    own0=$(cpu_ticks "$1"); server0=$(cpu_ticks wineserver)
    sleep 10
    own1=$(cpu_ticks "$1"); server1=$(cpu_ticks wineserver)
    echo "$(( (own1 - own0) * 1000 / hz )) $(( (server1 - server0) * 1000 / hz ))"
}

titles=()
for i in $(seq 100); do titles+=("Idle $i"); done
wine "$helper" --seconds 600 "${titles[@]}" &
helper_pid=$!
sleep 3

folder=$(mktemp -d)
cp "$root/dist/Velt/Velt.exe" "$folder/" 2>/dev/null || cp "$build/dist/Velt/Velt.exe" "$folder/"
ratios=()
# Three rounds, alternating the two sides: the machine is shared and its load drifts.
for round in 1 2 3; do
    (cd "$folder" && wine Velt.exe) &
    read -r velt_own velt_server < <(idle_cpu 'Velt\.exe')
    wine "$build/win/tools/velt-close.exe" || true
    wait $! 2>/dev/null || true

    wine "$bench" --bare-idle 14 &
    read -r bare_own bare_server < <(idle_cpu 'poll-bench\.exe --bare-idle')
    wait $! 2>/dev/null || true

    echo "idle CPU over 10 s, round $round: Velt ${velt_own} ms (+${velt_server} ms in the Wine" \
         "server), bare loop ten times a second ${bare_own} ms (+${bare_server} ms)"
    ratios+=("$(awk -v a="$velt_own" -v b="$bare_own" -v c="$velt_server" -v d="$bare_server" \
        'BEGIN { printf "%.2f %.2f", a / b, (a + c) / (b + d) }')")
done
rm -rf "$folder"
kill "$helper_pid" 2>/dev/null || true

printf '%s\n' "${ratios[@]}" | sort -n | sed -n 2p | awk '{
    printf "idle CPU ratio (median of 3) %.2f, with the Wine server %.2f (target <= 1.30)\n", $1, $2 }'
