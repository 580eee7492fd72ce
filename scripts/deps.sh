#!/usr/bin/env bash
# Installs the Debian 12 packages of a set and skips what is there:
#   scripts/deps.sh game   what building and running the game needs (scripts/run.sh)
#   scripts/deps.sh test   that, and what the tests, benchmarks, package check and fuzzing need
#                          (scripts/test.sh)
set -euo pipefail
game=(g++ cmake make ccache qt6-base-dev libgl-dev libchm-dev fonts-liberation2)
# GoogleTest and Benchmark; clang and its sanitizer runtime for fuzz/; pdfinfo and pdftoppm for
# the printing tests; CPack's dependency scan (dpkg-dev, file) and the package check's validators;
# a headless Weston and Qt's Wayland plugin for the Wayland smoke test; Xvfb, openbox and xdotool
# for the focus test under a real window manager.
test=(libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev poppler-utils
      dpkg-dev file desktop-file-utils appstream weston qt6-wayland xvfb openbox xdotool)
case "${1:-}" in
  game) packages=("${game[@]}") ;;
  test) packages=("${game[@]}" "${test[@]}") ;;
  *) echo "usage: $0 game|test" >&2; exit 2 ;;
esac
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
