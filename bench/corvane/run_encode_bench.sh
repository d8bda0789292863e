#!/bin/sh
# A 60-second 1080p H.264 clip converted to a DVD program stream by the media library in-process
# and by `ffmpeg -target ntsc-dvd`, times and peak memory. Not run by CI.
#   bench/corvane/run_encode_bench.sh [BUILD_DIR] [WORK_DIR] [DURATION_SECONDS]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
build=${1:-$repo/build}
work=${2:-/tmp/corvane_encode_bench}
duration=${3:-60}
module=$build/dist/CorvaneDLL.so
mkdir -p "$work"
clip=$work/clip_${duration}s_1080p.mp4

# Made once and kept: a moving picture with detail, so the encoders have real work.
if [ ! -s "$clip" ]; then
    echo "making $clip ($duration s of 1080p29.97 H.264 with sound)..."
    ffmpeg -nostdin -hide_banner -loglevel error -y \
        -f lavfi -i "testsrc2=size=1920x1080:rate=30000/1001:duration=$duration" \
        -f lavfi -i "sine=frequency=440:sample_rate=48000:duration=$duration" \
        -c:v libx264 -preset veryfast -b:v 8M -g 60 -pix_fmt yuv420p \
        -c:a aac -b:a 128k "$work/making.mp4"
    mv "$work/making.mp4" "$clip"
fi
cat "$clip" > /dev/null   # into the page cache for both sides

cc -O2 -Wall -Wextra -I"$repo" -x c "$here/encode_bench.c" -o "$work/encode_bench" -ldl
"$work/encode_bench" "$module" "$clip" "$duration" "$work"
