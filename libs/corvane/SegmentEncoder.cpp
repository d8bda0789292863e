#include "libs/corvane/SegmentEncoder.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <system_error>
#include <utility>

#include "libs/corvane/SourceReader.h"
#include "libs/corvane/WorkQueue.h"

extern "C" {
#include <libavcodec/packet.h>
#include <libavutil/error.h>
#include <libavutil/frame.h>
}

namespace corvane {

namespace {

// Where a stretch lies: from the encoder's own frame count, and in the output.
struct StretchStart {
    long long laneFrame = 0;
    long long outputFrame = 0;
};

}  // namespace

// One encoder, its frames and the packets it made; its stretches in the order dealt to it.
struct SegmentEncoder::Lane {
    explicit Lane(std::size_t depth) : frames(depth) {}
    std::unique_ptr<Mpeg2Encoder> encoder;
    WorkQueue<FramePtr> frames;          // pts counted by the lane
    long long dealt = 0;                 // frames pushed (Push's thread only)
    std::atomic<long long> warmFrames{0};   // the first stretch's, taken in and not kept
    std::mutex mutex;                    // guards what follows
    std::condition_variable changed;
    std::deque<StretchStart> stretches;  // begun and not yet handed on
    std::deque<PacketPtr> packets;       // made and not yet handed on
    bool drained = false;                // every packet is made
};

// Chosen by measurement (8 cores). One MPEG-2 encoder makes about 1,000 DVD frames a second on
// one thread and gains little from slice threads (60 s of NTSC: 1.32 s on eight against 1.72 s
// on one), while a clean source decodes and scales faster than that, so the encoder set the
// pace. Stretches dealt to encoders of one thread each scale with their count; four at most
// leave the decoder its share of the cores (a cheaply decoded 60 s clip: 2.3 to 3.0 s against
// 2.9 to 3.6 s on a machine busy with other work). Quality against the single encoder's 42.64 dB (20 s
// noisy clip, PAL, 5000 kbit/s): stretches of two GOPs with a first stretch of six that every
// encoder takes in 42.65; of one GOP 42.59; without the shared first stretch 42.41 to 42.49.
// The queued frames, a stretch per encoder, cost about 75 MB more when the encoders set the pace.
// The bigger the source's pictures, the slower they decode and the fewer encoders keep up, and
// each encoder more takes in the first stretch again (60 s to NTSC, four encoders against three
// against two: 640x360 1.06, 1.08, 1.41 s; 720p 1.33, 1.31, 1.28 s; phone 1080p 3.61, 3.58,
// 3.58 s). Beyond full HD two keep up, and the memory goes to the decoder.
SegmentShape SegmentShapeFor(const EncodeJob& job, long long sourcePictureBytes) {
    const int gop = std::max(job.gopFrames, 1);
    SegmentShape shape;
    shape.stretchFrames = 2 * gop;
    shape.firstStretchFrames = 6 * gop;
    shape.queuedFrames = shape.stretchFrames;
    shape.sliceThreads = 1;
    const unsigned cores = std::thread::hardware_concurrency();
    constexpr long long k720pPictureBytes = 1280LL * 720 * 3 / 2;
    const int most = sourcePictureBytes > kFullHdPictureBytes ? 2 : sourcePictureBytes >= k720pPictureBytes ? 3 : 4;
    shape.encoders = std::clamp(static_cast<int>(cores) / 2, 1, most);
    // A menu's still, or a clip within the first stretch, has nothing to share out.
    const double frames = job.durationSec * job.frameRate.Value();
    if (job.still || (job.durationSec > 0 && frames <= shape.firstStretchFrames)) shape.encoders = 1;
    // A single encoder takes what its slice threads give.
    if (shape.encoders == 1) shape.sliceThreads = std::clamp(static_cast<int>(cores), 1, 16);
    return shape;
}

SegmentEncoder::SegmentEncoder(const EncodeJob& job, const GopPlan& plan, SegmentShape shape, PacketSink sink)
    : job_(job), plan_(plan), shape_(shape), sink_(std::move(sink)) {
    // Made before any thread runs: Close may come from another thread from then on.
    for (int i = 0; i < std::max(shape_.encoders, 1); ++i) {
        auto lane = std::make_unique<Lane>(static_cast<std::size_t>(std::max(shape_.queuedFrames, 1)));
        lane->encoder = Mpeg2Encoder::Open(job_, plan_.Longest(), shape_.sliceThreads, openError_);
        if (!lane->encoder) break;
        lanes_.push_back(std::move(lane));
    }
}

SegmentEncoder::~SegmentEncoder() {
    if (!threads_.empty()) Fail(AVERROR_EXIT);
    Join();
}

bool SegmentEncoder::Start(std::string& error) {
    if (openError_ < 0) {
        error = "the MPEG-2 encoder does not open: " + ErrorText(openError_);
        return false;
    }
    try {
        for (auto& lane : lanes_) threads_.emplace_back([this, &lane = *lane] { Encode(lane); });
        threads_.emplace_back([this] { HandOnInOrder(); });
    } catch (const std::system_error& failure) {
        error = std::string("an encoder has no thread: ") + failure.what();
        Fail(AVERROR(EAGAIN));
        Join();
        return false;
    }
    return true;
}

bool SegmentEncoder::Push(FramePtr frame) {
    if (failed_ || lanes_.empty()) return false;
    const bool startsGop = plan_.StartsGop(frame->pts);
    const long long length = stretches_ == 1 ? shape_.firstStretchFrames : shape_.stretchFrames;
    if (!current_ || (startsGop && currentFrames_ >= length)) {
        // The stretches go round the encoders in turn, which HandOnInOrder follows.
        current_ = lanes_[stretches_++ % lanes_.size()].get();
        currentFrames_ = 0;
        std::lock_guard lock(current_->mutex);
        current_->stretches.push_back({current_->dealt, frame->pts});
        current_->changed.notify_all();
    }
    ++currentFrames_;
    frame->pict_type = startsGop ? AV_PICTURE_TYPE_I : AV_PICTURE_TYPE_NONE;
    if (stretches_ == 1 && !WarmUp(*frame)) return false;
    frame->pts = current_->dealt++;
    return current_->frames.Push(std::move(frame));
}

bool SegmentEncoder::WarmUp(const AVFrame& frame) {
    for (std::size_t i = 1; i < lanes_.size(); ++i) {
        Lane& lane = *lanes_[i];
        FramePtr copy(av_frame_clone(&frame));   // the picture is shared, not copied
        if (!copy) {
            Fail(AVERROR(ENOMEM));
            return false;
        }
        copy->pts = lane.dealt++;
        lane.warmFrames = lane.dealt;
        if (!lane.frames.Push(std::move(copy))) return false;
    }
    return true;
}

void SegmentEncoder::Encode(Lane& lane) {
    // Enough for a whole stretch, so that no encoder waits while the stretch handed on waits
    // for it; a slow disk then holds up the encoders instead of filling memory.
    const std::size_t most =
        2 * static_cast<std::size_t>(std::max(shape_.firstStretchFrames, shape_.stretchFrames) + plan_.Longest());
    PacketSink keep = [this, &lane, most](PacketPtr packet) {
        if (packet->pts < lane.warmFrames) return true;   // only the rate control needed it
        std::unique_lock lock(lane.mutex);
        lane.changed.wait(lock, [&] { return failed_ || lane.packets.size() < most; });
        if (failed_) return false;
        lane.packets.push_back(std::move(packet));
        lane.changed.notify_all();
        return true;
    };
    while (std::optional<FramePtr> frame = lane.frames.Pop()) {
        if (failed_) return;
        int result = lane.encoder->Encode(frame->get(), keep);
        if (result < 0) return Fail(result);
    }
    if (failed_) return;   // the frames were dropped, not finished
    int result = lane.encoder->Encode(nullptr, keep);
    if (result < 0) return Fail(result);
    std::lock_guard lock(lane.mutex);
    lane.drained = true;
    lane.changed.notify_all();
}

void SegmentEncoder::HandOnInOrder() {
    for (std::size_t stretch = 0; HandOnStretch(*lanes_[stretch % lanes_.size()]); ++stretch) {
    }
}

bool SegmentEncoder::HandOnStretch(Lane& lane) {
    std::unique_lock lock(lane.mutex);
    lane.changed.wait(lock, [&] { return failed_ || lane.drained || !lane.stretches.empty(); });
    // A lane drained without the stretch: the stretches before were the last.
    if (failed_ || lane.stretches.empty()) return false;
    const StretchStart start = lane.stretches.front();
    for (;;) {
        lane.changed.wait(lock, [&] { return failed_ || lane.drained || !lane.packets.empty(); });
        if (failed_) return false;
        if (lane.packets.empty()) break;
        // Packets come in coding order, and a closed GOP's come before the next one's: the
        // first packet of the lane's next stretch ends this one.
        if (lane.stretches.size() > 1 && lane.packets.front()->pts >= lane.stretches[1].laneFrame) break;
        PacketPtr packet = std::move(lane.packets.front());
        lane.packets.pop_front();
        lane.changed.notify_all();
        lock.unlock();
        const long long shift = start.outputFrame - start.laneFrame;
        packet->pts += shift;
        packet->dts += shift;
        int result = (packet->flags & AV_PKT_FLAG_KEY) ? SetGopTimeCode(packet.get(), packet->pts, job_.frameRate) : 0;
        if (result < 0) {
            Fail(result);
            return false;
        }
        if (!sink_(std::move(packet))) {
            Fail(AVERROR_EXIT);
            return false;
        }
        lock.lock();
    }
    lane.stretches.pop_front();
    return true;
}

int SegmentEncoder::Finish() {
    for (auto& lane : lanes_) lane->frames.Finish();
    Join();
    if (!failed_) return 0;
    return error_ < 0 ? error_.load() : AVERROR_EXIT;
}

void SegmentEncoder::Close() { Fail(AVERROR_EXIT); }

void SegmentEncoder::Fail(int error) {
    bool expected = false;
    if (failed_.compare_exchange_strong(expected, true)) error_ = error;
    for (auto& lane : lanes_) {
        lane->frames.Close();
        std::lock_guard lock(lane->mutex);
        lane->changed.notify_all();
    }
}

void SegmentEncoder::Join() {
    for (std::thread& thread : threads_) {
        if (thread.joinable()) thread.join();
    }
    threads_.clear();
}

}  // namespace corvane
