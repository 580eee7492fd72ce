#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the game and the tests need; skips what is there.
set -euo pipefail
packages=(g++ cmake make ccache qt6-base-dev libgl-dev libgtest-dev libgmock-dev libbenchmark-dev libchm-dev
          fonts-liberation2 clang libclang-rt-14-dev poppler-utils
          dpkg-dev file desktop-file-utils appstream xvfb openbox xdotool)
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
