#!/usr/bin/env bash
# Builds the hall-of-fame reader's fuzz target with clang and runs it.
# Usage: fuzz/run_champions.sh [seconds]   (default 60)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$here")"
out="$root/build-fuzz"
mkdir -p "$out/corpus"
# Qt is built position-independent; the target must be too.
clang++ -std=c++20 -g -O1 -fPIC -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I"$root/src" $(pkg-config --cflags Qt6Core) \
    "$here/champions_fuzz.cpp" "$root/src/halloffame/HallOfFame.cpp" "$root/src/persistence/GameFile.cpp" \
    $(pkg-config --libs Qt6Core) -o "$out/champions_fuzz"
# A valid file as the first seed.
if [ ! -e "$out/corpus/seed" ]; then
  for level in 0 1 2 3; do
    for place in 1 2 3 4 5 6 7 8 9 10; do
      if [ "$place" -le 3 ]; then
        printf 'Name %s\r\n09.03.24\r\n00:0%s:1%s.5\r\n' "$place" "$level" "$place"
      else
        printf '\r\n\r\n9\r\n'
      fi
    done
  done > "$out/corpus/seed"
fi
exec "$out/champions_fuzz" -max_total_time="${1:-60}" -max_len=40000 -print_final_stats=1 "$out/corpus"
