#!/usr/bin/env bash
# Builds the benchmark in an optimised tree without sanitizers, gathers the corpus once, and
# runs it: tools/bench/run.sh [ROUNDS]. VELT_BUILD_DIR moves the trees as for build.sh.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${VELT_BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build/bench" -DCMAKE_BUILD_TYPE=Release -DVELT_SANITIZE=OFF -DVELT_BENCH=ON \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build/bench" --target bench_png -j "$(nproc)"
[ -d "$build/bench-corpus/generated" ] || "$root/tools/bench/make_corpus.sh" "$build/bench-corpus"
"$build/bench/tools/bench/bench_png" "$build/bench-corpus" "${1:-5}"
