#!/usr/bin/env bash
# Installs what is missing, builds the game and starts it in the data folder with the puzzle files.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSARO_BUILD_TESTS=OFF -DTESSARO_BUILD_BENCH=OFF >/dev/null
cmake --build build -j"$(nproc)" --target tessaro
cd data && exec ../build/src/shell/tessaro
