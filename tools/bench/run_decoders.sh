#!/usr/bin/env bash
# Builds the bitmap and GIF benchmark in the optimised tree of run.sh, gathers its corpus once,
# and runs it: tools/bench/run_decoders.sh [ROUNDS]. VELT_BUILD_DIR moves the trees as for build.sh.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${VELT_BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build/bench" -DCMAKE_BUILD_TYPE=Release -DVELT_SANITIZE=OFF -DVELT_BENCH=ON \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build/bench" --target bench_decoders -j "$(nproc)"
[ -d "$build/bench-decoder-corpus/generated" ] ||
    "$root/tools/bench/make_decoder_corpus.sh" "$build/bench-decoder-corpus"
"$build/bench/tools/bench/bench_decoders" "$build/bench-decoder-corpus" "${1:-5}"
