#!/usr/bin/env bash
# Installs what is missing, builds Tarvane twice and runs every test:
# the optimised build checks the engine as it ships, the sanitized build runs everything
# under AddressSanitizer and UndefinedBehaviorSanitizer. Before them, a clang build runs each
# fuzz target for a fixed time.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

jobs=$(nproc)
# Three builds of one tree, run again and again on the same machine: the compiler's earlier
# work is reused when nothing changed.
if command -v ccache >/dev/null; then
    export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache
    export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
fi
# The optimised build links with link-time optimisation, which also checks the whole program
# for two definitions of one thing.
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INTERPROCEDURAL_OPTIMIZATION=ON
cmake --build build/release -j "$jobs"
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVANE_SANITIZE=ON
cmake --build build/test -j "$jobs"

echo "== Fuzz targets: clang, libFuzzer and AddressSanitizer, a fixed time each"
CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTARVANE_FUZZ=ON
cmake --build build/fuzz -j "$jobs" --target tarvane_fuzzers
ctest --test-dir build/fuzz -L fuzz --output-on-failure -j "$jobs"

echo "== Optimised build: engine tests"
ctest --test-dir build/release -L engine --output-on-failure -j "$jobs"
echo "== Sanitized build: every test"
ctest --test-dir build/test --output-on-failure -j "$jobs"
