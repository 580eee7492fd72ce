#!/usr/bin/env bash
# Builds the Debian package in the given build folder, lists it, and checks that it holds what the
# installed game needs, names its run-time dependencies, and that its desktop entry and AppStream
# metadata validate.
set -euo pipefail
cd "$1"
fail() { echo "FAIL: $*" >&2; exit 1; }

rm -f tessaro_*.deb
log=$(cpack -G DEB 2>&1) || { echo "$log"; fail "cpack"; }
deb=$(ls tessaro_*_*.deb)
dpkg-deb -c "$deb"
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
dpkg-deb -x "$deb" "$tree"

for f in bin/tessaro bin/tessaro-chm share/tessaro/{leicht,mittel,schwer,extrem}.brd share/tessaro/Kalvix.chm \
         share/applications/tessaro.desktop share/icons/hicolor/scalable/apps/tessaro.svg \
         share/man/man6/tessaro.6.gz; do
  [ -s "$tree/usr/$f" ] || fail "missing /usr/$f"
done
for size in 16 24 32 48; do
  file "$tree/usr/share/icons/hicolor/${size}x${size}/apps/tessaro.png" | grep -q "PNG image data, $size x $size" \
    || fail "no ${size} px icon"
done
depends=$(dpkg-deb -f "$deb" Depends)
for p in libqt6widgets6 libqt6printsupport6 libchm1 qt6-qpa-plugins fonts-liberation2; do
  grep -q "\b$p\b" <<<"$depends" || fail "Depends lacks $p: $depends"
done
[ "$(dpkg-deb -f "$deb" Recommends)" = qt6-wayland ] || fail "does not recommend qt6-wayland"

desktop-file-validate "$tree/usr/share/applications/tessaro.desktop"
metainfo=$(ls "$tree"/usr/share/metainfo/*.metainfo.xml)
appstreamcli validate --no-net "$metainfo"
launchable=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$metainfo")
[ -f "$tree/usr/share/applications/$launchable" ] || fail "metainfo launches $launchable, not in the package"
