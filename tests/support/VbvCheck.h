// The MPEG-2 video buffer (VBV) a DVD player decodes through, simulated over a whole stream:
// CheckVbv reads an elementary stream or a VOB, takes each picture's size and decode slot, fills
// the buffer at the stream's max rate from the first picture's vbv_delay (full when the delay is
// unset) and reports the first underflow and, for constant-rate streams, the first overflow.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testing_vcl {

// The decoder buffer of a DVD player: 224 KiB, video at most 9.8 Mbit/s.
inline constexpr double kDvdVbvBits = 1835008.0;
inline constexpr double kDvdMaxVideoRate = 9800000.0;

struct TVbvReport {
    bool read = false;            // a sequence header and pictures were found
    double rate = 0;              // bits per second the buffer fills at
    double buffer = 0;            // buffer size in bits
    double frameRate = 0;
    bool constantRate = false;    // vbv_delay set on the pictures
    std::size_t pictures = 0;
    long underflowAt = -1;        // picture index, -1 when none
    long overflowAt = -1;
    double lowest = 0;            // least fullness seen just before a picture is taken out
    bool Passes() const { return read && underflowAt < 0 && overflowAt < 0; }
    std::string Describe() const;
};

// The video elementary bytes of a program stream (VOB); an elementary stream comes back as is.
std::vector<std::uint8_t> VideoElementary(const std::vector<std::uint8_t>& Bytes);

// Sizes are taken from the start of each picture's own headers (sequence/GOP before it included).
// A rate or buffer of 0 takes the sequence header's, bounded by the DVD limits.
TVbvReport CheckVbv(const std::vector<std::uint8_t>& Elementary, double Rate = 0, double Buffer = 0);
TVbvReport CheckVbvFile(const std::string& Path, double Rate = 0, double Buffer = 0);

}  // namespace testing_vcl
