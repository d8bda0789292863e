// The timing of an encode's pictures: source pictures to output frame times by their time
// stamps, each held for the frames it covers or dropped, to hit the DVD rate.
//
// Owned by one thread.
#pragma once

#include <atomic>
#include <functional>
#include <optional>

#include "libs/corvane/EncodeJob.h"
#include "libs/corvane/MediaDecoder.h"

namespace corvane {

// A decoded source picture with its place on the source's time line.
struct SourcePicture {
    FramePtr frame;
    double timeSec = 0;       // from the start second; NaN when the file gives none
    double durationSec = 0;   // 0 when the file does not say
};

// A source picture and the output frames it fills: first .. first + count - 1.
struct HeldPicture {
    FramePtr source;
    long long first = 0;
    long long count = 0;
};

class FrameSchedule {
public:
    // Gives the next source picture; nothing at the end of the source.
    using Source = std::function<std::optional<SourcePicture>()>;
    // Takes the next source picture shown, with the output frames it fills, in order and
    // without gaps; false when it is not wanted any more.
    using Sink = std::function<bool(HeldPicture)>;

    FrameSchedule(const EncodeJob& job, const std::atomic<bool>& stop);

    // True when every frame up to the end was handed on. False when stopped, when the sink
    // refused a frame, or with the reason in Failure().
    bool Run(const Source& source, const Sink& sink);
    const char* Failure() const { return failure_; }

private:
    // Hands on the held picture for every output frame before index at.
    bool EmitHeldUntil(long long at, const Sink& sink);

    const EncodeJob& job_;
    const std::atomic<bool>& stop_;
    FramePtr held_;
    double heldEnd_ = 0;
    double shiftSec_ = 0;       // what the jumps of a broken file's time stamps took out
    long long next_ = 0;
    long long lastFrame_ = 0;   // 0: to the source's end
    const char* failure_ = "";
};

}  // namespace corvane
