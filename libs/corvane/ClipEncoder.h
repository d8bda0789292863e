// One encode to a DVD program stream: the source's pictures turned upright, scaled and centred
// on black at the DVD frame rate, its sound (or silence) in step, into a file that appears only
// when finished. Its stages run side by side with a few frames between them, so its time is
// the slowest stage's and its memory the same for a minute as for two hours.
#pragma once

#include <atomic>
#include <string>

#include "libs/corvane/EncodeJob.h"

namespace corvane {

// Read from any thread while an encode runs.
struct EncodeProgress {
    std::atomic<int> seconds{0};       // of output written
    std::atomic<int> framesPerSecond{0};
    std::atomic<int> frame{0};         // frames written; 0 while the start is sought
    std::atomic<bool> stop{false};     // asks the encode to give up
    void Reset() {
        seconds = 0;
        framesPerSecond = 0;
        frame = 0;
        stop = false;
    }
};

// True when job.output was written completely. Otherwise (failure or stop) nothing is left at
// job.output, no half-made file beside it, and error says why.
bool EncodeToDvd(const EncodeJob& job, EncodeProgress& progress, std::string& error);

}  // namespace corvane
