#!/usr/bin/env bash
# Builds Velmora and runs the whole test suite.
#   scripts/test.sh             release tree (build/), gcc
#   scripts/test.sh --sanitize  AddressSanitizer + UndefinedBehaviorSanitizer tree (build-asan/), clang,
#                               where the fuzz targets are real libFuzzer binaries
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

jobs=$(nproc)
if [ "${1:-}" = "--sanitize" ]; then
  dir=build-asan
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
        -DVELMORA_SANITIZE=ON -DVELMORA_WERROR="${CI:+ON}" >/dev/null
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
else
  dir=build
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DVELMORA_WERROR="${CI:+ON}" >/dev/null
fi
cmake --build "$dir" -j "$jobs"
ctest --test-dir "$dir" --output-on-failure -j "$jobs"
