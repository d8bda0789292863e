#!/bin/sh
# Builds the theme file reader's fuzz target with clang's libFuzzer and AddressSanitizer.
# Not part of the CMake build; run by hand:
#   fuzz/build.sh && mkdir -p /tmp/sui-corpus && build/fuzz/SUIThemeFile_fuzz /tmp/sui-corpus -max_total_time=600
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
out=${OUT:-$root/build/fuzz}
mkdir -p "$out"
clang++ -std=c++20 -g -O1 -Wall -Wextra -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I"$root" \
    "$root/fuzz/SUIThemeFile_fuzz.cpp" \
    "$root/skin/core/SUIThemeFile.cpp" \
    "$root/platform/vcl/Streams.cpp" \
    "$root/platform/vcl/StringList.cpp" \
    "$root/platform/vcl/SysUtils.cpp" \
    "$root/platform/vcl/Component.cpp" \
    -o "$out/SUIThemeFile_fuzz"
echo "$out/SUIThemeFile_fuzz"
