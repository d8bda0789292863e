#include "libs/corvane/MediaRecord.h"

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstring>

namespace corvane {

namespace {

struct AspectEntry {
    int code;
    double ratio;
};
constexpr AspectEntry kAspects[] = {{2, 4.0 / 3.0}, {3, 16.0 / 9.0}, {4, 2.21}};

// A program stream's aspect comes from its header, exact up to rounding; other files' sample
// aspects only approximate the display (704-wide ITU frames and such).
constexpr double kProgramStreamTolerance = 0.01;
constexpr double kOtherTolerance = 0.05;

int NearestCode(double displayAspect, double tolerance) {
    int best = 0;
    double bestError = tolerance;
    for (const auto& entry : kAspects) {
        double error = std::fabs(displayAspect / entry.ratio - 1.0);
        if (error <= bestError) {
            best = entry.code;
            bestError = error;
        }
    }
    return best;
}

std::int32_t FloatWord(double value) {
    // Out of float range is no float at all: report nothing rather than convert undefinedly.
    float narrow = std::isfinite(value) && std::fabs(value) <= FLT_MAX ? static_cast<float>(value) : 0.0f;
    std::int32_t word;
    std::memcpy(&word, &narrow, sizeof word);
    return word;
}

std::int32_t WholeSeconds(double seconds) {
    if (!std::isfinite(seconds) || seconds <= 0) return 0;
    if (seconds >= static_cast<double>(INT_MAX)) return INT_MAX;
    return static_cast<std::int32_t>(std::lround(seconds));
}

}  // namespace

int AspectCodeFor(const MediaFacts& facts) {
    if (!std::isfinite(facts.displayAspect) || facts.displayAspect <= 0) return 0;
    if (facts.programStream) return NearestCode(facts.displayAspect, kProgramStreamTolerance);
    // Square pixels already show at their true aspect with code 0 (display = frame size).
    if (facts.squarePixels) return 0;
    return NearestCode(facts.displayAspect, kOtherTolerance);
}

bool FillRecord(const MediaFacts& facts, std::int32_t words[10]) {
    if (!SupportedSize(facts.width, facts.height)) return false;
    words[0] = WholeSeconds(facts.durationSec);
    words[1] = FloatWord(facts.frameRate);
    words[2] = FloatWord(facts.videoKbps);
    words[3] = facts.width;
    words[4] = facts.height;
    words[5] = AspectCodeFor(facts);
    words[6] = facts.audioSampleRate;
    words[7] = facts.audioChannels;
    words[8] = FloatWord(facts.audioKbps);
    words[9] = 0;   // the aspect code always applies: the program stretches to its display size
    return true;
}

}  // namespace corvane
