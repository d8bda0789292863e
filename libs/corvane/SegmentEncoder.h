// The video of an encode cut into stretches of whole closed GOPs, dealt in turn to a few MPEG-2
// encoders on threads of their own; their packets go on in the stretches' order. A closed GOP
// needs nothing of the one before it, so the stretches put end to end are one stream; the
// time stamps and GOP time codes are set back to the output's frames, as a single encoder
// would have made them.
//
// Each encoder lives for the whole encode and sees its stretches as one continuous clip, so
// its rate control carries on from stretch to stretch: an encoder started afresh for each
// stretch spends too much on its first frames (measured: 13 % more bytes and 0.3 dB less on
// 1.2 s stretches of a noisy clip). Every encoder takes in the first stretch, so each rate
// control starts from the clip's start as a single encoder's would; only the first encoder's
// packets of it are kept.
//
// Push and Finish on one thread (the encode's video stage), Close from any; the sink is called
// on a thread of the encoder's own. Each encoder holds a stretch of frames and two of packets
// at most, so memory does not grow with the clip's length.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "libs/corvane/EncodeJob.h"
#include "libs/corvane/GopPlan.h"
#include "libs/corvane/MediaDecoder.h"
#include "libs/corvane/Mpeg2Encoder.h"

extern "C" {
struct AVFrame;
}

namespace corvane {

struct SegmentShape {
    int encoders = 1;          // encoding side by side
    int stretchFrames = 1;     // a stretch ends on the first GOP start from this many frames on
    int firstStretchFrames = 1;   // the same for the first, which every encoder takes in
    int queuedFrames = 1;      // frames waiting for each encoder at most
    int sliceThreads = 1;      // of each encoder
};

// How the stretches of an encode from pictures of sourcePictureBytes are cut and encoded on
// this machine.
SegmentShape SegmentShapeFor(const EncodeJob& job, long long sourcePictureBytes);

class SegmentEncoder {
public:
    // Opens the encoders. The plan must outlive the encoder.
    SegmentEncoder(const EncodeJob& job, const GopPlan& plan, SegmentShape shape, PacketSink sink);
    // Gives up when not finished, and joins every thread.
    ~SegmentEncoder();
    SegmentEncoder(const SegmentEncoder&) = delete;
    SegmentEncoder& operator=(const SegmentEncoder&) = delete;

    // Starts the encoders' threads. False, with the reason in error, when an encoder did not
    // open or a thread can't be made (the threads started end).
    bool Start(std::string& error);
    // The next frame, pts its index in the output. Waits while its encoder has enough queued.
    // False once the encode failed or was closed.
    bool Push(FramePtr frame);
    // No more frames: waits until every packet went to the sink and joins the threads. 0, or
    // the first failure (FFmpeg's code; AVERROR_EXIT when closed or refused by the sink).
    int Finish();
    // Gives up: every thread ends soon, what is under way is dropped, Push returns false.
    void Close();

private:
    struct Lane;

    // Hands a frame of the first stretch to every encoder but the first. False when the encode ends.
    bool WarmUp(const AVFrame& frame);
    void Encode(Lane& lane);
    void HandOnInOrder();
    // The packets of one stretch, the one at the front of lane; false when the encode ends.
    bool HandOnStretch(Lane& lane);
    // Keeps the first failure; every thread then ends.
    void Fail(int error);
    void Join();

    const EncodeJob& job_;
    const GopPlan& plan_;
    const SegmentShape shape_;
    const PacketSink sink_;
    std::vector<std::unique_ptr<Lane>> lanes_;
    std::vector<std::thread> threads_;
    Lane* current_ = nullptr;          // the lane Push fills
    std::size_t stretches_ = 0;        // begun so far
    long long currentFrames_ = 0;      // in the current stretch
    int openError_ = 0;
    std::atomic<int> error_{0};
    std::atomic<bool> failed_{false};
};

}  // namespace corvane
