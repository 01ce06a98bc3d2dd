#!/usr/bin/env bash
# Installs what is missing, builds Tarvane and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build/release -j "$(nproc)"

echo "Tarvane's engine is built in build/release; the window is not there yet."
