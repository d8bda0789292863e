#!/bin/sh
# A Builder run of two 60-second 1080p clips with subtitles, a title menu and two chapter menus;
# prints the time in spumux_main and author_main as a share of the time in the clip and menu
# encodes, from the times the log lines appeared. Not run by CI.
#   bench/production/run_author_share.sh [BUILD_DIR] [WORK_DIR]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
build=${1:-$repo/build}
work=${2:-/tmp/production_author_share}
mkdir -p "$work"
for n in 1 2; do
    file=$work/clip_$n.mp4
    if [ ! -s "$file" ]; then
        ffmpeg -nostdin -hide_banner -loglevel error -y \
            -f lavfi -i "testsrc2=size=1920x1080:rate=25" \
            -f lavfi -i "sine=frequency=$((300 + n * 100)):sample_rate=48000" \
            -t 60 -c:v libx264 -preset veryfast -b:v 8M -pix_fmt yuv420p -c:a aac "$work/making.mp4"
        mv "$work/making.mp4" "$file"
    fi
done
srt=$work/subtitles.srt
: > "$srt"
for i in $(seq 1 25); do
    printf '%d\r\n00:00:%02d,000 --> 00:00:%02d,500\r\nLine %d of the bench\r\n\r\n' "$i" $((i * 2)) $((i * 2 + 1)) "$i" >> "$srt"
done
cmake --build "$build" -j3 --target author_share_bench
rm -rf "$work/out"
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$build/dist/author_share_bench" "$work/out" "$srt" \
    "$work/clip_1.mp4" "$work/clip_2.mp4"
