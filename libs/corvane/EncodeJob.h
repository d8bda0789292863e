// What one encode makes, read from the texts the program passes.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace corvane {

struct Ratio {
    int num = 0;
    int den = 1;
    double Value() const { return den > 0 ? static_cast<double>(num) / den : 0.0; }
};

struct EncodeJob {
    std::string source;          // the clip, or the menu picture for a still
    bool still = false;          // the source's first picture held for the whole length
    std::string audioSource;     // where the sound comes from; "" means silence
    double startSec = 0;         // in the source
    double durationSec = 0;      // 0: to the source's end (never for a still)
    int pictureWidth = 0;        // the source's picture inside the frame, centred on black
    int pictureHeight = 0;
    int frameWidth = 0;
    int frameHeight = 0;
    Ratio frameRate;             // 30000/1001 or 25
    Ratio displayAspect;         // 4:3 or 16:9
    int videoKbps = 0;
    int gopFrames = 0;           // closed GOPs of at most this many frames
    std::vector<double> keyTimesSec;   // from the output's start: a closed GOP begins on each
    std::string output;
};

// "720:480" (or "720x480"); false unless both sides are in 16..1920 and even.
bool ParseSize(const char* text, int& width, int& height);
// "25", "30000/1001", "29.97"; false unless the rate is within 1..120.
bool ParseRate(const char* text, Ratio& rate);
// "4:3", "16:9", "4/3", "16/9"; false for anything else.
bool ParseAspect(const char* text, Ratio& aspect);
// A whole number of seconds, at least 0; false for other text.
bool ParseSeconds(const char* text, int& seconds);

// Key times: "0,300,600.5", seconds from the output's start, whole or with decimals, blanks
// around each allowed; "" is no time at all. False for anything else (nothing is written to
// seconds then): an empty entry, a sign, an exponent, more than kMostKeyTimes entries or a time
// beyond ten days. The times come back in the order given.
constexpr std::size_t kMostKeyTimes = 1000;
bool ParseKeyTimes(const char* text, std::vector<double>& seconds);

// The DVD's GOP length limit for a frame rate: 18 frames at NTSC rates, 15 at PAL.
int GopFramesFor(const Ratio& rate);
// The bitrate for the program's text; outside the DVD's range (or not a number) the middle one.
int VideoKbpsFor(const char* text);

}  // namespace corvane
