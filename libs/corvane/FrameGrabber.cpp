#include "libs/corvane/FrameGrabber.h"

#include "libs/corvane/BgrPicture.h"
#include "libs/corvane/CorvaneDLL.h"
#include "libs/corvane/LastError.h"

#include <utility>

namespace corvane {

FrameGrabber::FrameGrabber(MessagePoster poster, std::string path, int startSecond)
    : poster_(poster), worker_(&FrameGrabber::Run, this, std::move(path), startSecond) {}

FrameGrabber::~FrameGrabber() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    worker_.join();
}

void FrameGrabber::Request(int second) {
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(second);
    }
    changed_.notify_all();
}

bool FrameGrabber::CopyLatest(int width, int height, std::vector<std::uint8_t>& out) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !busy_ && requests_.empty(); });
    return ScaleToBgr(latest_.get(), width, height, out);
}

int FrameGrabber::LatestSecond() {
    std::lock_guard lock(mutex_);
    return latestSecond_;
}

void FrameGrabber::Run(std::string path, int startSecond) {
    std::string error;
    std::unique_ptr<MediaDecoder> decoder = MediaDecoder::Open(path, error);
    if (decoder) Decode(decoder.get(), startSecond);
    bool ready = decoder && latest_;
    if (decoder && !ready) error = "'" + path + "' has no picture that decodes at second " + std::to_string(startSecond);
    if (!ready) SetLastError("grabber: " + error);
    {
        std::lock_guard lock(mutex_);
        busy_ = false;
    }
    changed_.notify_all();
    poster_.Post(CORVANE_WM_MEDIA_INIT_DONE, ready ? 1 : 0, 0);
    Serve(ready ? decoder.get() : nullptr);
}

// Without a decoder every request is answered with wParam 0.
void FrameGrabber::Serve(MediaDecoder* decoder) {
    for (;;) {
        int second = 0;
        bool stop = false;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [this] { return stopping_ || !requests_.empty(); });
            if (requests_.empty()) return;
            second = requests_.front();
            requests_.pop_front();
            stop = stopping_;
            busy_ = !stop && decoder;
        }
        bool got = false;
        if (!stop && decoder) {
            Decode(decoder, second);
            std::lock_guard lock(mutex_);
            got = latest_ != nullptr;
            busy_ = false;
        }
        changed_.notify_all();
        poster_.Post(CORVANE_WM_MEDIA_FRAME_READY, got ? 1 : 0, second);
    }
}

// A failed decode keeps no stale frame: the caller then gets black, not an old picture.
void FrameGrabber::Decode(MediaDecoder* decoder, int second) {
    FramePtr frame = decoder->DecodeAt(second);
    std::lock_guard lock(mutex_);
    latest_ = std::move(frame);
    latestSecond_ = second;
}

}  // namespace corvane
