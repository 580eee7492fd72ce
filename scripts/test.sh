#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test through CTest. The clock tests
# and a forcing chain also run in a ThreadSanitizer build first; the full suite runs last, so its
# summary closes the output.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
jobs=$(nproc)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=Debug -DTESSARO_SANITIZE=thread \
      -DTESSARO_BUILD_BENCH=OFF -DTESSARO_BUILD_TOOLS=OFF >/dev/null
cmake --build build-tsan -j"$jobs" --target test_halloffame test_shell test_logic
(cd build-tsan && TSAN_OPTIONS="halt_on_error=1" ctest --no-tests=error --output-on-failure -R '^Clock')
# The forcing chains share their nets with a spare core.
(cd build-tsan && TSAN_OPTIONS="halt_on_error=1" ctest --no-tests=error --output-on-failure -R '^Chains\.CellForcing')
# The worker beside the real window; Qt's own thread pool is not instrumented, see the file.
(cd build-tsan && TSAN_OPTIONS="halt_on_error=1 suppressions=$PWD/../tests/shell/tsan-qt.supp" \
   ctest --no-tests=error --output-on-failure -R '^(TimedGame|GameWithoutWindow|SlotKeys)\.')
(cd build && ctest --no-tests=error --output-on-failure -j"$jobs")
