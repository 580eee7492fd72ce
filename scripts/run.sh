#!/usr/bin/env bash
# Installs what is missing, builds the game and starts it in build/play, a folder holding the
# shipped puzzle and help files (boards and the hall of fame are written there too).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh game
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target tessaro
mkdir -p build/play
for f in leicht.brd mittel.brd schwer.brd extrem.brd Kalvix.chm; do
  cp -u "data/$f" build/play/
done
cd build/play && exec ../src/shell/tessaro "$@"
