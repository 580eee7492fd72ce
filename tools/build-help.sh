#!/usr/bin/env bash
# Compiles the help pages in data/help into data/Kalvix.chm.
# chmcmd comes from Debian's fp-utils package, unpacked into a scratch folder so the
# Pascal compiler need not be installed. The built archive is committed; run this after
# changing a page or data/help/Kalvix.hhp.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
version=3.2.2
scratch=$(mktemp -d)
chmod 755 "$scratch"  # apt downloads as its own user
trap 'rm -rf "$scratch"' EXIT

chmcmd=$(command -v chmcmd || true)
if [ -z "$chmcmd" ]; then
  (cd "$scratch" && apt-get download "fp-utils-$version" >/dev/null)
  dpkg -x "$scratch"/fp-utils-"$version"_*.deb "$scratch/root"
  chmcmd="$scratch/root/usr/bin/chmcmd-$version"
fi

# Compile a copy, so no intermediate file lands in the source folder.
mkdir "$scratch/help"
cp -p data/help/* "$scratch/help/"
(cd "$scratch/help" && "$chmcmd" --no-html-scan Kalvix.hhp >/dev/null)
test -s "$scratch/help/Kalvix.chm"
mv "$scratch/help/Kalvix.chm" "$root/data/Kalvix.chm"
echo "wrote data/Kalvix.chm ($(stat -c %s data/Kalvix.chm) bytes)"
