// The pictures of an encode painted by a few painters side by side and handed on in order.
//
// A whole picture on one thread scales far better than one picture cut into slices: a sliced
// picture waits for its slowest slice, and while the decoder keeps every core busy some slice
// always waits for a core. Measured on 60 s of clean 1080p (8 cores): with the picture sliced
// over eight threads the picture stage set the pace at 1.5 ms a picture and the encode took
// 2.5 s; whole pictures on two painters let the decoder set it, in 1.8 s.
//
//   PaintLanes lanes(job, PaintShapeFor(job, pictureBytes));   lanes.Start(error);
//   producer: lanes.Push(picture) ... lanes.Finish();
//   consumer: while (auto frame = lanes.Pop()) ...;   then lanes.Failure()
//   any thread: lanes.Close() gives up.
//
// One producer thread and one consumer thread. The pictures are dealt to the painters in turn
// and taken back in the same turn, so the frames leave in the order the pictures came.
#pragma once

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "libs/corvane/EncodeJob.h"
#include "libs/corvane/FrameSchedule.h"
#include "libs/corvane/MediaDecoder.h"

namespace corvane {

// How an encode's pictures are painted.
struct PaintShape {
    int painters = 1;
    std::size_t depth = 1;   // pictures waiting for each painter, and painted ones, at most
    int scalerThreads = 1;   // of each painter's scaler; 0: as many as the machine has
};

// The shape for an encode's pictures of sourcePictureBytes on this machine.
PaintShape PaintShapeFor(const EncodeJob& job, long long sourcePictureBytes);

class PaintLanes {
public:
    PaintLanes(const EncodeJob& job, const PaintShape& shape);
    // Gives up when not finished, and joins every thread.
    ~PaintLanes();
    PaintLanes(const PaintLanes&) = delete;
    PaintLanes& operator=(const PaintLanes&) = delete;

    // Starts the painters' threads. False, with the reason in error, when a thread can't be
    // made (the threads started end).
    bool Start(std::string& error);
    // The next picture (a count of 0 is not painted). Waits while its painter has enough.
    // False once the lanes were closed.
    bool Push(HeldPicture picture);
    // No more pictures.
    void Finish();
    // The next frame, painted, pts its output index. Nothing at the end, when closed, or when a
    // picture could not be painted (Failure then says so).
    std::optional<FramePtr> Pop();
    // Every thread ends soon; what is under way is dropped; Push and Pop return at once.
    void Close();
    // Why Pop ended early; "" when it did not.
    const char* Failure() const { return failure_; }

private:
    struct Lane;

    void Paint(Lane& lane);
    // Moves on to the next painted picture; false at the end.
    bool NextPainted();
    void Join();

    std::vector<std::unique_ptr<Lane>> lanes_;
    std::vector<std::thread> threads_;
    std::size_t pushed_ = 0;   // pictures dealt (the producer's)
    std::size_t popped_ = 0;   // pictures taken back (the consumer's)
    FramePtr current_;         // the painted picture Pop hands out copies of
    long long next_ = 0;       // the output index of the next copy
    long long end_ = 0;        // and of the first after current_'s last
    const char* failure_ = "";
    std::atomic<bool> closed_{false};
};

}  // namespace corvane
