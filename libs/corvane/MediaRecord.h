// The ten-word media information record the program reads, made from a file's facts.
#pragma once

#include <cstdint>

#include "libs/corvane/MediaDecoder.h"

namespace corvane {

// The program's aspect table: 0 the frame's own ratio, 1 square (never given), 2 4:3,
// 3 16:9, 4 2.21.
int AspectCodeFor(const MediaFacts& facts);
// False when the facts can't make a record the program can use (no usable size).
bool FillRecord(const MediaFacts& facts, std::int32_t words[10]);

}  // namespace corvane
