#include "libs/corvane/ClipEncoder.h"

#include "libs/corvane/AudioFeed.h"
#include "libs/corvane/DvdWriter.h"
#include "libs/corvane/FrameSchedule.h"
#include "libs/corvane/GopPlan.h"
#include "libs/corvane/PaintLanes.h"
#include "libs/corvane/SegmentEncoder.h"
#include "libs/corvane/SourceReader.h"
#include "libs/corvane/WorkQueue.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

extern "C" {
#include <libavcodec/packet.h>
#include <libavutil/frame.h>
#include <libavutil/error.h>
}

namespace corvane {

namespace {

// Packets waiting for the file: enough to even out a slow frame, small enough that memory stays
// flat however long the clip.
constexpr std::size_t kPacketQueueDepth = 64;

// How many video frames the picture stage has handed on: the sound keeps pace with them, and
// once the count is final, it ends with them.
class FrameCount {
public:
    void Add(long long frames) {
        std::lock_guard lock(mutex_);
        frames_ += frames;
        changed_.notify_all();
    }
    void Finish() {
        std::lock_guard lock(mutex_);
        final_ = true;
        changed_.notify_all();
    }
    void Close() {
        std::lock_guard lock(mutex_);
        closed_ = true;
        changed_.notify_all();
    }
    // Waits until more than frames are known or the count is final. The count then; -1 when
    // the encode was given up.
    long long WaitBeyond(long long frames, bool& final) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return closed_ || final_ || frames_ > frames; });
        final = final_;
        return closed_ ? -1 : frames_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    long long frames_ = 0;
    bool final_ = false;
    bool closed_ = false;
};

// One encode's stages, each on its own thread, joined by bounded queues:
//   source decoding and timing -> painting -> MPEG-2 encoding -+-> the file
//   sound decoding, resampling and AC-3 encoding --------------+
// The pictures are painted by a few painters side by side (PaintLanes); the MPEG-2 stage deals
// stretches of closed GOPs to a few encoders (SegmentEncoder).
// The file is written by the thread that runs the encode. The first failure (or Stop) closes
// every queue, so every stage ends at once and every thread is joined.
class Pipeline {
public:
    Pipeline(const EncodeJob& job, EncodeProgress& progress, SourceReader& video, AudioFeed& audio, DvdWriter& writer)
        : job_(job), progress_(progress), video_(video), audio_(audio), writer_(writer),
          painted_(job, PaintShapeFor(job, video.PictureBytes())), videoPackets_(kPacketQueueDepth),
          audioPackets_(kPacketQueueDepth), plan_(GopPlan::For(job)),
          segments_(job, plan_, SegmentShapeFor(job, video.PictureBytes()),
                    [this](PacketPtr packet) { return videoPackets_.Push(std::move(packet)); }),
          began_(std::chrono::steady_clock::now()) {}

    // True when the whole file was written; otherwise the reason is in error.
    bool Run(std::string& error) {
        std::vector<std::thread> stages;
        std::string why;
        if (!painted_.Start(why)) Fail(why);
        try {
            stages.emplace_back([this] { Decode(); });
            stages.emplace_back([this] { EncodeVideo(); });
            stages.emplace_back([this] { EncodeAudio(); });
        } catch (const std::system_error& error) {
            Fail(std::string("a stage has no thread: ") + error.what());   // the ones started end at once
        }
        Mux();
        for (std::thread& stage : stages) stage.join();
        if (!Failed() && written_ == 0) Fail("no frame was encoded");
        if (!Failed()) {
            int result = writer_.Finish();
            if (result < 0) Fail("the file can't be completed: " + ErrorText(result));
        }
        error = failure_;
        return !Failed();
    }

private:
    bool Failed() const { return failed_; }

    // Keeps the first reason (a stage whose hand-over was refused only echoes it); every stage
    // then ends.
    void Fail(const std::string& why) {
        {
            std::lock_guard lock(failureMutex_);
            if (failure_.empty()) failure_ = why;
            failed_ = true;
        }
        painted_.Close();
        videoPackets_.Close();
        audioPackets_.Close();
        frames_.Close();
        segments_.Close();
    }

    bool Stopped() {
        if (progress_.stop) Fail("stopped");
        return Failed();
    }

    // The pictures from the start second on, timed to the output's frames.
    void Decode() {
        if (!job_.still) video_.SeekTo(job_.startSec);
        FrameSchedule schedule(job_, progress_.stop);
        FrameSchedule::Source source = [this]() -> std::optional<SourcePicture> {
            SourcePicture picture;
            picture.frame = video_.Next();
            if (!picture.frame) return std::nullopt;
            picture.timeSec = video_.TimeOf(picture.frame.get()) - job_.startSec;
            picture.durationSec = video_.DurationOf(picture.frame.get());
            return picture;
        };
        bool scheduled = schedule.Run(source, [this](HeldPicture picture) {
            const long long frames = picture.count;
            if (!painted_.Push(std::move(picture))) return false;
            frames_.Add(frames);
            return true;
        });
        if (scheduled) {
            painted_.Finish();
            frames_.Finish();
        } else if (!Stopped()) {
            Fail(*schedule.Failure() ? schedule.Failure() : "the pictures were not scheduled");
        }
    }

    void EncodeVideo() {
        std::string why;
        if (!segments_.Start(why)) return Fail(why);
        while (std::optional<FramePtr> frame = painted_.Pop()) {
            if (Stopped()) break;
            if ((*frame)->pts != written_) {
                Fail("the MPEG-2 encoder failed: " + ErrorText(AVERROR_BUG));
                break;
            }
            if (!segments_.Push(std::move(*frame))) break;
            ++written_;
            Report();
        }
        if (*painted_.Failure()) Fail(painted_.Failure());
        int result = segments_.Finish();
        if (Failed()) return;
        if (result < 0) return Fail("the MPEG-2 encoder failed: " + ErrorText(result));
        videoPackets_.Finish();
    }

    // Sound up to the time of the frames handed on so far, in the encoder's whole frames.
    void EncodeAudio() {
        PacketSink sink = [this](PacketPtr packet) { return audioPackets_.Push(std::move(packet)); };
        const long long rateNum = job_.frameRate.num;
        const long long rateDen = job_.frameRate.den;
        const int chunk = writer_.AudioFrameSamples();
        long long samples = 0;
        for (bool final = false; !final;) {
            // The frames the sound written so far covers; wait for more.
            long long covered = samples * rateNum / (rateDen * kDvdSampleRate);
            long long frames = frames_.WaitBeyond(covered, final);
            if (frames < 0 || Stopped()) return;
            long long target = (frames * rateDen * kDvdSampleRate + rateNum - 1) / rateNum;
            while (samples < target) {
                if (Stopped()) return;
                FramePtr sound = audio_.Take(chunk);
                if (!sound) return Fail("out of memory for the sound");
                sound->pts = samples;
                int result = writer_.EncodeAudio(sound.get(), sink);
                if (result < 0) return Fail("the AC-3 encoder failed: " + ErrorText(result));
                samples += chunk;
            }
        }
        int result = writer_.EncodeAudio(nullptr, sink);
        if (result < 0) return Fail("the AC-3 encoder failed: " + ErrorText(result));
        audioPackets_.Finish();
    }

    // Both packet streams merged by decoding time into the file.
    void Mux() {
        std::optional<PacketPtr> video, audio;
        bool videoEnded = false, audioEnded = false;
        while (!Stopped()) {
            if (!video && !videoEnded) videoEnded = !(video = videoPackets_.Pop());
            if (!audio && !audioEnded) audioEnded = !(audio = audioPackets_.Pop());
            if (Failed() || (!video && !audio)) return;
            std::optional<PacketPtr>& next = video && (!audio || writer_.Before(**video, **audio)) ? video : audio;
            int result = writer_.Write(std::move(*next));
            next.reset();
            if (result < 0) return Fail("the file can't be written: " + ErrorText(result));
        }
    }

    void Report() {
        progress_.frame = static_cast<int>(written_);
        progress_.seconds = static_cast<int>(written_ / job_.frameRate.Value());
        double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - began_).count();
        if (elapsed > 0) progress_.framesPerSecond = std::max(1, static_cast<int>(written_ / elapsed));
    }

    const EncodeJob& job_;
    EncodeProgress& progress_;
    SourceReader& video_;
    AudioFeed& audio_;
    DvdWriter& writer_;
    PaintLanes painted_;
    WorkQueue<PacketPtr> videoPackets_;
    WorkQueue<PacketPtr> audioPackets_;
    const GopPlan plan_;
    SegmentEncoder segments_;
    FrameCount frames_;
    std::chrono::steady_clock::time_point began_;
    std::atomic<long long> written_{0};   // frames the video encoder took
    std::mutex failureMutex_;
    std::string failure_;
    std::atomic<bool> failed_{false};
};

std::string PartName(const std::string& output) { return output + ".part"; }

bool Encode(const EncodeJob& job, EncodeProgress& progress, const std::string& part, std::string& error) {
    auto video = SourceReader::Open(job.source, SourceReader::Kind::Video, error);
    if (!video) return false;
    std::unique_ptr<SourceReader> sound;
    std::string silent;   // a clip's sound that can't be read is silence, not a failure
    if (!job.audioSource.empty()) {
        sound = job.audioSource == job.source ? SourceReader::OpenBeside(*video, SourceReader::Kind::Audio, silent)
                                              : SourceReader::Open(job.audioSource, SourceReader::Kind::Audio, silent);
    }
    // Menu music was chosen by the user: a menu that silently lost it would be a wrong disc.
    if (job.still && !job.audioSource.empty() && !sound) {
        error = "the menu music has no sound to use: " + silent;
        return false;
    }
    AudioFeed audio(std::move(sound), job.still ? 0.0 : job.startSec);
    if (!audio.Ready()) {
        error = "out of memory for the sound";
        return false;
    }
    auto writer = DvdWriter::Open(job, part, error);
    if (!writer) return false;
    Pipeline pipeline(job, progress, *video, audio, *writer);
    return pipeline.Run(error);
}

}  // namespace

bool EncodeToDvd(const EncodeJob& job, EncodeProgress& progress, std::string& error) {
    namespace fs = std::filesystem;
    error.clear();
    // Written under another name and renamed when complete, so no unfinished file ever
    // carries the output's name.
    std::string part = PartName(job.output);
    bool done = !job.output.empty() && Encode(job, progress, part, error);
    if (job.output.empty()) error = "no output file";
    std::error_code failed;
    if (done) {
        fs::rename(part, job.output, failed);
        done = !failed;
        if (failed) error = "'" + part + "' can't be renamed: " + failed.message();
    }
    std::error_code ignored;
    if (!done) fs::remove(part, ignored);
    return done;
}

}  // namespace corvane
