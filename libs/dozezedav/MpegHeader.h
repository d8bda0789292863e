// The video standard of an MPEG file, from its first video sequence header.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dozezedav {

enum class VideoStandard { Unknown, Pal, Ntsc };

// "PAL", "NTSC", or "" for Unknown.
const char* StandardName(VideoStandard standard);

// From a sequence header's size and frame-rate code: 576 or 288 lines are PAL, 480 or 240
// NTSC; other sizes go by the rate (25 or 50 frames a second PAL, the others NTSC).
VideoStandard StandardOf(int height, int frameRateCode);

// Looks for the first sequence header (00 00 01 B3) in the bytes; Unknown without one.
VideoStandard StandardInBytes(std::string_view bytes);

// The same over the first megabytes of a file; Unknown when it can't be read or holds none.
VideoStandard StandardOfFile(const std::string& path);

}  // namespace dozezedav
