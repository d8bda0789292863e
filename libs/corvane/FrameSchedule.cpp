#include "libs/corvane/FrameSchedule.h"

#include <algorithm>
#include <cmath>

namespace corvane {

namespace {

// A time stamp this far ahead of the stream is a broken file's jump, not a gap to fill: the
// stream goes on from where it is (filling it could mean hours of repeated frames).
constexpr double kLongestGapSec = 10.0;

}  // namespace

FrameSchedule::FrameSchedule(const EncodeJob& job, const std::atomic<bool>& stop)
    : job_(job), stop_(stop) {
    if (job.durationSec > 0) lastFrame_ = std::llround(job.durationSec * job.frameRate.Value());
}

bool FrameSchedule::Run(const Source& source, const Sink& sink) {
    for (;;) {
        if (stop_) return false;
        std::optional<SourcePicture> picture = source();
        if (!picture) break;
        double time = job_.still ? 0.0 : picture->timeSec + shiftSec_;
        // Before the first picture the gap is measured from the start.
        const double shownUntil = held_ ? heldEnd_ : 0.0;
        if (time > shownUntil + kLongestGapSec) {
            shiftSec_ -= time - shownUntil;
            time = shownUntil;
        }
        long long at = std::isnan(time) ? next_ : std::llround(time * job_.frameRate.Value());
        if (!EmitHeldUntil(at, sink)) return false;
        if (!job_.still && lastFrame_ > 0 && next_ >= lastFrame_) return true;
        heldEnd_ = time + picture->durationSec;
        held_ = std::move(picture->frame);
        if (job_.still) break;
    }
    if (stop_) return false;
    // Nothing decodable from the start on (a start past the end included).
    if (!held_ || (!job_.still && next_ == 0 && heldEnd_ <= 0)) {
        failure_ = "no picture decodes from the start second on";
        return false;
    }
    long long end = lastFrame_ > 0 ? lastFrame_ : std::max(next_ + 1, std::llround(heldEnd_ * job_.frameRate.Value()));
    return EmitHeldUntil(end, sink);
}

bool FrameSchedule::EmitHeldUntil(long long at, const Sink& sink) {
    if (lastFrame_ > 0) at = std::min(at, lastFrame_);
    // The frames before the first picture wait for it: it is shown from the start, so a
    // picture that begins after the sound (B-frame delay, a stream offset) stays in step.
    if (next_ >= at || !held_) return true;
    const long long first = next_;
    next_ = at;
    // Its last use: the next picture, or the end, follows.
    return sink(HeldPicture{std::move(held_), first, at - first});
}

}  // namespace corvane
