#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test through CTest,
# then the clock tests once more under ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
jobs=$(nproc)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
(cd build && ctest --output-on-failure -j"$jobs")
if [ -d tests/halloffame ] && ls tests/halloffame/*.cpp >/dev/null 2>&1; then
  cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=Debug -DTESSARO_SANITIZE=thread \
        -DTESSARO_BUILD_BENCH=OFF -DTESSARO_BUILD_TOOLS=OFF >/dev/null
  cmake --build build-tsan -j"$jobs" --target test_halloffame
  (cd build-tsan && TSAN_OPTIONS="halt_on_error=1" ctest --output-on-failure -R '^Clock')
fi
