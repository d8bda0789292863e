#!/usr/bin/env bash
# Shared by run.sh and test.sh: installs what is missing, then configures and builds build/,
# or with --sanitize the sanitizer build build-asan/.
set -euo pipefail
cd "$(dirname "$0")/.."

sanitize=0
[ "${1:-}" = "--sanitize" ] && sanitize=1

PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev libgtest-dev libpng-dev
          libjpeg62-turbo-dev zlib1g-dev libfontconfig-dev libfreetype-dev fonts-liberation2 fonts-wine fonts-comic-neue
          libavformat-dev libavcodec-dev libswscale-dev libswresample-dev libavutil-dev ffmpeg
          libburn-dev genisoimage dvdauthor libdvdread-dev libdvdnav-dev fonts-noto-cjk
          libxml2-dev libfontconfig-dev libsqlite3-dev ccache
          xvfb libx11-dev libxtst-dev)

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

# Reruns share compiled objects through the compiler cache, also between clones of the tree
# (paths below the tree count as relative ones; debug information may then name another clone).
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}"
  export CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-1}"
fi
if [ "$sanitize" -eq 1 ]; then
  cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DSANITIZE=ON "${launcher[@]}"
  cmake --build build-asan -j "${JOBS:-$(nproc)}"
else
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}"
  cmake --build build -j "${JOBS:-$(nproc)}"
fi
