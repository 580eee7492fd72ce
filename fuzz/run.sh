#!/bin/sh
# Builds the record-reader fuzz target with clang++ and runs it.
# Usage: fuzz/run.sh [seconds]   (default 60)
set -eu
seconds=${1:-60}
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
out="$root/build/fuzz"
mkdir -p "$out/corpus"

clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I"$root/src" \
    "$here/record_fuzz.cpp" "$root/src/persistence/Record.cpp" "$root/src/engine/Random.cpp" \
    -o "$out/record_fuzz"

# Seeds: an all-empty board file and a single empty record.
[ -f "$out/corpus/empty_file" ] || head -c 8800 /dev/zero > "$out/corpus/empty_file"
[ -f "$out/corpus/empty_record" ] || head -c 2200 /dev/zero > "$out/corpus/empty_record"

cd "$out"
exec ./record_fuzz -max_len=9000 -max_total_time="$seconds" -print_final_stats=1 corpus
