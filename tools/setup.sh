#!/usr/bin/env bash
# Shared by run.sh and test.sh: installs what is missing, then configures and builds.
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev libgtest-dev libpng-dev
          libjpeg62-turbo-dev zlib1g-dev libfontconfig-dev libfreetype-dev fonts-liberation2 fonts-wine
          libavformat-dev libavcodec-dev libswscale-dev libswresample-dev libavutil-dev ffmpeg
          libburn-dev genisoimage dvdauthor libdvdread-dev fonts-noto-cjk
          libxml2-dev libfontconfig-dev libsqlite3-dev)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)"
