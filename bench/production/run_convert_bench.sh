#!/bin/sh
# A Converter run of three 30-second 1080p clips through the window against three single
# X_SetPar_D2MPEG calls in the same process; prints both times and the ratio. Not run by CI.
#   bench/production/run_convert_bench.sh [BUILD_DIR] [WORK_DIR]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
build=${1:-$repo/build}
work=${2:-/tmp/production_convert_bench}
mkdir -p "$work"
for n in 1 2 3; do
    file=$work/clip_$n.mp4
    if [ ! -s "$file" ]; then
        ffmpeg -nostdin -hide_banner -loglevel error -y \
            -f lavfi -i "testsrc2=size=1920x1080:rate=30" \
            -f lavfi -i "sine=frequency=$((300 + n * 100)):sample_rate=48000" \
            -t 30 -c:v libx264 -preset veryfast -b:v 8M -pix_fmt yuv420p -c:a aac "$work/making.mp4"
        mv "$work/making.mp4" "$file"
    fi
done
cmake --build "$build" -j4 --target convert_bench
rm -rf "$work/out"
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$build/dist/convert_bench" "$work/out" \
    "$work/clip_1.mp4" "$work/clip_2.mp4" "$work/clip_3.mp4"
