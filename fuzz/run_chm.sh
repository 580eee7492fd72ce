#!/bin/sh
# Runs the help-archive helper on byte-mutated copies of the shipped archive and counts how it
# ended: the crashes and hangs stay in the helper, which the game only ever runs as a child.
# Usage: fuzz/run_chm.sh [copies] [build folder]   (default 21500, build)
set -eu
copies=${1:-21500}
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
helper="${2:-$root/build}/src/shell/tessaro-chm"
exec python3 - "$root/data/Kalvix.chm" "$helper" "$copies" <<'PY'
import collections, os, random, signal, subprocess, sys, tempfile, time
archive, helper, copies = sys.argv[1], sys.argv[2], int(sys.argv[3])
original = open(archive, "rb").read()
rng = random.Random(1)
ends = collections.Counter()
start = time.monotonic()
with tempfile.TemporaryDirectory() as folder:
    path = os.path.join(folder, "Kalvix.chm")
    for i in range(copies):
        data = bytearray(original)
        for _ in range(1 + i % 4):
            data[rng.randrange(len(data))] = rng.randrange(256)
        open(path, "wb").write(data)
        try:
            code = subprocess.run([helper, path], stdout=subprocess.DEVNULL, timeout=3).returncode
            ends["signal " + signal.Signals(-code).name if code < 0 else "exit %d" % code] += 1
        except subprocess.TimeoutExpired:
            ends["time limit"] += 1
print("%d copies in %.1f s:" % (copies, time.monotonic() - start), dict(ends))
PY
