#!/usr/bin/env bash
# The encoding benchmark, as run.sh does the decoding one: tools/bench/run_encode.sh [ROUNDS].
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${VELT_BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build/bench" -DCMAKE_BUILD_TYPE=Release -DVELT_SANITIZE=OFF -DVELT_BENCH=ON \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build/bench" --target bench_png_encode -j "$(nproc)"
[ -d "$build/bench-corpus/generated" ] || "$root/tools/bench/make_corpus.sh" "$build/bench-corpus"
"$build/bench/tools/bench/bench_png_encode" "$build/bench-corpus" "${1:-3}"
