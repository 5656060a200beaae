#!/usr/bin/env bash
# Runs the whole Windows and end-to-end suite N times (default 5) while two busy loops compete for
# the processors, then reports each test that failed and in which runs. Exit status 0 when every
# run passed. Builds the Windows tree first; logs go to build/stress/.
#   tools/stress-tests.sh [N]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VELT_BUILD_DIR:-$root/build}
runs=${1:-5}
[[ "$runs" =~ ^[1-9][0-9]*$ ]] || { echo "usage: stress-tests.sh [N]" >&2; exit 2; }

"$root/tools/build.sh" win

busy=()
stop_all() {
    for pid in "${busy[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${busy[@]}"; do wait "$pid" 2>/dev/null || true; done
    busy=()
}
trap stop_all EXIT

logs="$build/stress"
rm -rf "$logs"
mkdir -p "$logs"
for _ in 1 2; do
    (while :; do :; done) &
    busy+=("$!")
done

for run in $(seq "$runs"); do
    log="$logs/run-$run.log"
    start=$SECONDS
    status=0
    ctest --test-dir "$build/win" --output-on-failure >"$log" 2>&1 || status=$?
    # One line per failing program, with the reason ctest gives, and one per GoogleTest case
    # it names (a crash or a timeout names none). ctest runs the Wine session around them.
    {
        sed -n 's/^\[  FAILED  \] \([A-Za-z0-9_]*\.[A-Za-z0-9_/]*\).*/\1/p' "$log"
        sed -n 's/^[[:space:]]*[0-9]* - \([^ ]*\) (\(.*\))$/\1 (\2)/p' "$log"
    } | sort -u >"$logs/run-$run.failures"
    count=$(wc -l <"$logs/run-$run.failures")
    echo "run $run of $runs: ctest status $status, $count failing, $((SECONDS - start)) s"
    if [ "$status" -ne 0 ] && [ "$count" -eq 0 ]; then
        echo "ctest (status $status)" >"$logs/run-$run.failures"
    fi
done

echo
failed=0
for run in $(seq "$runs"); do
    while read -r name; do
        [ -n "$name" ] && echo "$name|$run"
    done <"$logs/run-$run.failures"
done | sort | awk -F'|' -v runs="$runs" '
    { count[$1]++; which[$1] = which[$1] (which[$1] ? "," : "") $2 }
    END {
        for (name in count) printf "%-70s %d of %d (runs %s)\n", name, count[name], runs, which[name]
    }' | sort >"$logs/summary.txt"
if [ -s "$logs/summary.txt" ]; then
    echo "Failures under load:"
    cat "$logs/summary.txt"
    failed=1
else
    echo "No failure in $runs runs under load."
fi
echo "Logs: $logs"
exit "$failed"
