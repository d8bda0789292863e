#include "libs/corvane/PaintLanes.h"

#include "libs/corvane/FramePainter.h"
#include "libs/corvane/SourceReader.h"
#include "libs/corvane/WorkQueue.h"

#include <algorithm>
#include <system_error>

extern "C" {
#include <libavutil/frame.h>
}

namespace corvane {

struct PaintLanes::Lane {
    Lane(const EncodeJob& job, int scalerThreads, std::size_t depth)
        : painter(job, scalerThreads), waiting(depth), painted(depth) {}
    FramePainter painter;
    WorkQueue<HeldPicture> waiting;   // source pictures
    WorkQueue<HeldPicture> painted;   // the same, painted; a null picture could not be
};

// Chosen by measurement (8 cores, to NTSC). One painter scales about 800 full HD pictures a
// second, while a cheaply decoded full HD clip comes at 1,100 to 1,300 a second: a painter for
// every three cores keeps ahead of it with the encoders running beside them (two or three
// painters: the same 1.85 s for 60 s of clean 1080p), more only take cores from the decoder.
// A 4K picture takes 4 ms and comes at 300 a second at most; each one waiting holds 12 MB of
// the decoder's, so a single painter slices it in two and keeps one waiting.
PaintShape PaintShapeFor(const EncodeJob& job, long long sourcePictureBytes) {
    PaintShape shape;
    if (job.still) {
        shape.scalerThreads = 0;
    } else if (sourcePictureBytes > kFullHdPictureBytes) {
        shape.scalerThreads = 2;
    } else {
        const int cores = static_cast<int>(std::thread::hardware_concurrency());
        shape.painters = std::clamp(cores / 3, 1, 3);
        shape.depth = 2;
        // A lone painter (a small machine) may cut its pictures into slices.
        shape.scalerThreads = shape.painters == 1 ? 0 : 1;
    }
    return shape;
}

PaintLanes::PaintLanes(const EncodeJob& job, const PaintShape& shape) {
    for (int i = 0; i < std::max(shape.painters, 1); ++i) {
        lanes_.push_back(std::make_unique<Lane>(job, shape.scalerThreads, shape.depth));
    }
}

PaintLanes::~PaintLanes() {
    Close();
    Join();
}

bool PaintLanes::Start(std::string& error) {
    try {
        for (auto& lane : lanes_) threads_.emplace_back([this, &lane = *lane] { Paint(lane); });
    } catch (const std::system_error& failure) {
        error = std::string("a painter has no thread: ") + failure.what();
        Close();
        Join();
        return false;
    }
    return true;
}

void PaintLanes::Paint(Lane& lane) {
    while (std::optional<HeldPicture> picture = lane.waiting.Pop()) {
        HeldPicture painted{lane.painter.Paint(picture->source.get()), picture->first, picture->count};
        picture->source.reset();   // the decoder may have its picture back
        const bool failed = !painted.source;
        if (!lane.painted.Push(std::move(painted)) || failed) return;
    }
    lane.painted.Finish();
}

bool PaintLanes::Push(HeldPicture picture) {
    if (closed_) return false;
    if (picture.count <= 0) return true;
    Lane& lane = *lanes_[pushed_++ % lanes_.size()];
    return lane.waiting.Push(std::move(picture));
}

void PaintLanes::Finish() {
    for (auto& lane : lanes_) lane->waiting.Finish();
}

std::optional<FramePtr> PaintLanes::Pop() {
    while (next_ >= end_) {
        if (!NextPainted()) return std::nullopt;
    }
    if (closed_) return std::nullopt;
    FramePtr copy(av_frame_clone(current_.get()));   // the picture is shared, not copied
    if (!copy) {
        failure_ = "out of memory for a frame";
        return std::nullopt;
    }
    copy->pts = next_++;
    copy->pict_type = AV_PICTURE_TYPE_NONE;
    return copy;
}

bool PaintLanes::NextPainted() {
    current_.reset();
    std::optional<HeldPicture> picture = lanes_[popped_ % lanes_.size()]->painted.Pop();
    if (!picture) return false;
    ++popped_;
    if (!picture->source) {
        failure_ = "a picture can't be scaled to the frame";
        return false;
    }
    current_ = std::move(picture->source);
    next_ = picture->first;
    end_ = picture->first + picture->count;
    return true;
}

void PaintLanes::Close() {
    closed_ = true;
    for (auto& lane : lanes_) {
        lane->waiting.Close();
        lane->painted.Close();
    }
}

void PaintLanes::Join() {
    for (std::thread& thread : threads_) {
        if (thread.joinable()) thread.join();
    }
    threads_.clear();
}

}  // namespace corvane
