#!/bin/sh
# Clip conversion to a DVD program stream by the media library in-process, by
# `ffmpeg -target ntsc-dvd`, and the floor (the source only decoded, by ffmpeg with all threads):
# medians of three, their ratios and peak memory. Not run by CI.
#   bench/corvane/run_encode_bench.sh [BUILD_DIR] [WORK_DIR] [MODULE]
# The sources are made at the first run and kept in WORK_DIR.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
build=${1:-$repo/build}
work=${2:-/tmp/corvane_encode_bench}
module=${3:-$build/dist/CorvaneDLL.so}
mkdir -p "$work"

# make NAME SECONDS VIDEO_SOURCE X264_OPTIONS
make() {
    file=$work/$1.mp4
    if [ ! -s "$file" ]; then
        echo "making $file ..."
        # shellcheck disable=SC2086
        ffmpeg -nostdin -hide_banner -loglevel error -y \
            -f lavfi -i "$3" \
            -f lavfi -i "sine=frequency=440:sample_rate=48000:duration=$2" \
            -t "$2" -c:v libx264 $4 -pix_fmt yuv420p -c:a aac -b:a 128k "$work/making.mp4"
        mv "$work/making.mp4" "$file"
    fi
    cat "$file" > /dev/null   # into the page cache for every side
}

# A phone's 1080p30 at 16 Mbit/s with mild sensor noise; a clean 1080p25; 720p30; 20 s of 4K.
make phone_1080p30 60 "testsrc2=size=1920x1080:rate=30,noise=alls=6:allf=t" "-preset veryfast -b:v 16M -maxrate 20M -bufsize 32M -g 30"
make clean_1080p25 60 "testsrc2=size=1920x1080:rate=25" "-preset veryfast -b:v 8M -g 50"
make clip_720p30 60 "testsrc2=size=1280x720:rate=30" "-preset veryfast -b:v 5M -g 60"
make clip_4k30 20 "testsrc2=size=3840x2160:rate=30" "-preset veryfast -b:v 40M -g 60"

cc -O2 -Wall -Wextra -I"$repo" -x c "$here/encode_bench.c" -o "$work/encode_bench" -ldl
"$work/encode_bench" "$module" "$work" \
    "phone 1080p30 60s=$work/phone_1080p30.mp4" \
    "clean 1080p25 60s=$work/clean_1080p25.mp4" \
    "720p30 60s=$work/clip_720p30.mp4" \
    "4K 20s=$work/clip_4k30.mp4"
