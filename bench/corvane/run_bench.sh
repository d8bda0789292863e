#!/bin/sh
# Media information and a frame grab at second 1800 of a one-hour 1080p H.264 file: the media
# library in-process against running ffprobe and ffmpeg on the same file. Not run by CI.
#   bench/corvane/run_bench.sh [BUILD_DIR] [WORK_DIR] [DURATION_SECONDS]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
build=${1:-$repo/build}
work=${2:-/tmp/corvane_bench}
duration=${3:-3600}
grab_at=$((duration / 2))
module=$build/dist/CorvaneDLL.so
mkdir -p "$work"
clip=$work/hour_${duration}s_1080p.mp4

# The file is made once and kept for later runs: ultrafast and a low rate keep it quick and small.
if [ ! -s "$clip" ]; then
    echo "making $clip ($duration s of 1080p25 H.264)..."
    ffmpeg -nostdin -hide_banner -loglevel error -y \
        -f lavfi -i "testsrc2=size=1920x1080:rate=25:duration=$duration" \
        -f lavfi -i "sine=frequency=440:sample_rate=48000:duration=$duration" \
        -c:v libx264 -preset ultrafast -tune fastdecode -b:v 1500k -g 250 -pix_fmt yuv420p \
        -c:a aac -b:a 96k -threads 0 "$work/making.mp4"
    mv "$work/making.mp4" "$clip"
fi

cc -O2 -Wall -Wextra -I"$repo" -x c "$here/corvane_bench.c" -o "$work/corvane_bench" -ldl
"$work/corvane_bench" "$module" "$clip" "$grab_at" "$work"
