#include "libs/corvane/ClipEncoder.h"

#include "libs/corvane/DvdWriter.h"
#include "libs/corvane/SourceReader.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <filesystem>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

extern "C" {
#include <libavutil/audio_fifo.h>
#include <libavutil/channel_layout.h>
#include <libavutil/frame.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

namespace corvane {

namespace {

// Sound this far off from where it belongs is padded with silence or cut; less is jitter.
constexpr long long kAudioSlackSamples = 1024;
// A time stamp this far ahead of the stream is a broken file's jump, not a gap to fill: the
// stream goes on from where it is (filling it could mean hours of silence or repeated frames).
constexpr double kLongestGapSec = 10.0;

FramePtr NewFrame() { return FramePtr(av_frame_alloc()); }

// The sound of an encode, resampled to the DVD's 48 kHz stereo and laid on the output's time
// line from sample 0 (the start second): gaps and a missing stream become silence.
class AudioFeed {
public:
    AudioFeed(std::unique_ptr<SourceReader> reader, double startSec) : reader_(std::move(reader)), startSec_(startSec) {
        fifo_ = av_audio_fifo_alloc(AV_SAMPLE_FMT_FLTP, 2, 4096);
        if (reader_) reader_->SeekTo(startSec_);
    }
    ~AudioFeed() {
        swr_free(&resampler_);
        if (fifo_) av_audio_fifo_free(fifo_);
    }
    AudioFeed(const AudioFeed&) = delete;
    AudioFeed& operator=(const AudioFeed&) = delete;

    bool Ready() const { return fifo_ != nullptr; }

    // A frame of count samples at the feed's position, silence where the source has none.
    FramePtr Take(int count) {
        while (reader_ && av_audio_fifo_size(fifo_) < count) ReadMore();
        if (av_audio_fifo_size(fifo_) < count) PadSilence(count - av_audio_fifo_size(fifo_));
        FramePtr frame = NewFrame();
        if (!frame) return nullptr;
        frame->format = AV_SAMPLE_FMT_FLTP;
        frame->sample_rate = kDvdSampleRate;
        av_channel_layout_default(&frame->ch_layout, 2);
        frame->nb_samples = count;
        if (av_frame_get_buffer(frame.get(), 0) < 0) return nullptr;
        if (av_audio_fifo_read(fifo_, reinterpret_cast<void**>(frame->data), count) != count) return nullptr;
        return frame;
    }

private:
    void ReadMore() {
        FramePtr frame = reader_->Next();
        if (!frame) {
            reader_.reset();   // the rest is silence
            return;
        }
        double time = reader_->TimeOf(frame.get()) - startSec_;
        long long at = std::isnan(time) ? queued_ : std::llround(time * kDvdSampleRate);
        std::vector<float> left, right;
        int count = Resample(frame.get(), left, right);
        if (count <= 0) return;
        long long skip = 0;
        if (at > queued_ + static_cast<long long>(kLongestGapSec * kDvdSampleRate)) at = queued_;
        if (at > queued_ + kAudioSlackSamples) PadSilence(static_cast<int>(at - queued_));
        if (at < 0 || at < queued_ - kAudioSlackSamples) skip = std::min<long long>(queued_ - at, count);
        if (skip >= count) return;
        void* planes[2] = {left.data() + skip, right.data() + skip};
        int written = count - static_cast<int>(skip);
        if (av_audio_fifo_write(fifo_, planes, written) == written) queued_ += written;
    }

    // The resampler is made for the sound's format, rate and channels, and made again when a
    // stream changes them midway (it would read planes that are not there).
    int Resample(const AVFrame* frame, std::vector<float>& left, std::vector<float>& right) {
        if (resampler_ && (frame->format != inFormat_ || frame->sample_rate != inRate_ ||
                           frame->ch_layout.nb_channels != inChannels_)) {
            swr_free(&resampler_);
        }
        if (!resampler_) {
            inFormat_ = frame->format;
            inRate_ = frame->sample_rate;
            inChannels_ = frame->ch_layout.nb_channels;
            AVChannelLayout stereo;
            av_channel_layout_default(&stereo, 2);
            AVChannelLayout in = frame->ch_layout;
            AVChannelLayout fallback;
            if (in.nb_channels <= 0 || in.order == AV_CHANNEL_ORDER_UNSPEC) {
                av_channel_layout_default(&fallback, in.nb_channels > 0 ? in.nb_channels : 2);
                in = fallback;
            }
            if (swr_alloc_set_opts2(&resampler_, &stereo, AV_SAMPLE_FMT_FLTP, kDvdSampleRate, &in,
                                    static_cast<AVSampleFormat>(frame->format), frame->sample_rate, 0, nullptr) < 0 ||
                swr_init(resampler_) < 0) {
                swr_free(&resampler_);
                reader_.reset();   // sound that can't be converted becomes silence
                return 0;
            }
        }
        int room = swr_get_out_samples(resampler_, frame->nb_samples);
        if (room <= 0) return 0;
        left.resize(room);
        right.resize(room);
        std::uint8_t* planes[2] = {reinterpret_cast<std::uint8_t*>(left.data()), reinterpret_cast<std::uint8_t*>(right.data())};
        return swr_convert(resampler_, planes, room, const_cast<const std::uint8_t**>(frame->extended_data), frame->nb_samples);
    }

    void PadSilence(int count) {
        if (count <= 0) return;
        std::vector<float> zeros(static_cast<std::size_t>(count), 0.0f);
        void* planes[2] = {zeros.data(), zeros.data()};
        if (av_audio_fifo_write(fifo_, planes, count) == count) queued_ += count;
    }

    std::unique_ptr<SourceReader> reader_;
    double startSec_;
    AVAudioFifo* fifo_ = nullptr;
    SwrContext* resampler_ = nullptr;
    int inFormat_ = -1;
    int inRate_ = 0;
    int inChannels_ = 0;
    long long queued_ = 0;   // samples laid on the time line so far
};

// Source pictures scaled into the centre of a black DVD frame.
class FramePainter {
public:
    FramePainter(const EncodeJob& job) : job_(job) {}
    ~FramePainter() { sws_freeContext(scaler_); }
    FramePainter(const FramePainter&) = delete;
    FramePainter& operator=(const FramePainter&) = delete;

    FramePtr Paint(const AVFrame* source) {
        FramePtr out = NewFrame();
        if (!out) return nullptr;
        out->format = AV_PIX_FMT_YUV420P;
        out->width = job_.frameWidth;
        out->height = job_.frameHeight;
        if (av_frame_get_buffer(out.get(), 0) < 0) return nullptr;
        FillBlack(out.get());
        int width = std::min(job_.pictureWidth, job_.frameWidth);
        int height = std::min(job_.pictureHeight, job_.frameHeight);
        if (!Prepare(source, width, height)) return nullptr;
        // Even offsets keep the chroma planes aligned with the picture.
        int x = (job_.frameWidth - width) / 2 & ~1;
        int y = (job_.frameHeight - height) / 2 & ~1;
        std::uint8_t* planes[4] = {out->data[0] + static_cast<std::ptrdiff_t>(y) * out->linesize[0] + x,
                                   out->data[1] + static_cast<std::ptrdiff_t>(y / 2) * out->linesize[1] + x / 2,
                                   out->data[2] + static_cast<std::ptrdiff_t>(y / 2) * out->linesize[2] + x / 2, nullptr};
        int strides[4] = {out->linesize[0], out->linesize[1], out->linesize[2], 0};
        if (sws_scale(scaler_, source->data, source->linesize, 0, source->height, planes, strides) <= 0) return nullptr;
        return out;
    }

private:
    // A scaler for the source's size and format, made again when they change; it scales in
    // slices on threads of its own.
    bool Prepare(const AVFrame* source, int width, int height) {
        if (scaler_ && source->width == sourceWidth_ && source->height == sourceHeight_ && source->format == sourceFormat_) {
            return true;
        }
        sws_freeContext(scaler_);
        scaler_ = sws_alloc_context();
        if (!scaler_) return false;
        av_opt_set_int(scaler_, "srcw", source->width, 0);
        av_opt_set_int(scaler_, "srch", source->height, 0);
        av_opt_set_int(scaler_, "src_format", source->format, 0);
        av_opt_set_int(scaler_, "dstw", width, 0);
        av_opt_set_int(scaler_, "dsth", height, 0);
        av_opt_set_int(scaler_, "dst_format", AV_PIX_FMT_YUV420P, 0);
        av_opt_set_int(scaler_, "sws_flags", SWS_BICUBIC, 0);
        av_opt_set_int(scaler_, "threads", 0, 0);
        if (sws_init_context(scaler_, nullptr, nullptr) < 0) {
            sws_freeContext(scaler_);
            scaler_ = nullptr;
            return false;
        }
        sourceWidth_ = source->width;
        sourceHeight_ = source->height;
        sourceFormat_ = source->format;
        return true;
    }

    static void FillBlack(AVFrame* frame) {
        for (int row = 0; row < frame->height; ++row) std::memset(frame->data[0] + static_cast<std::ptrdiff_t>(row) * frame->linesize[0], 16, frame->width);
        for (int plane = 1; plane < 3; ++plane) {
            for (int row = 0; row < frame->height / 2; ++row) {
                std::memset(frame->data[plane] + static_cast<std::ptrdiff_t>(row) * frame->linesize[plane], 128, frame->width / 2);
            }
        }
    }

    const EncodeJob& job_;
    SwsContext* scaler_ = nullptr;
    int sourceWidth_ = 0;
    int sourceHeight_ = 0;
    int sourceFormat_ = -1;
};

// Painted frames handed from the picture thread to the writing thread. Bounded, so the reader
// never runs far ahead; closing it wakes both sides.
class FrameQueue {
public:
    // False when the queue was closed (the writer gave up).
    bool Push(FramePtr frame) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return closed_ || frames_.size() < kDepth; });
        if (closed_) return false;
        frames_.push_back(std::move(frame));
        changed_.notify_all();
        return true;
    }
    // Null once the queue is closed and empty.
    FramePtr Pop() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return closed_ || !frames_.empty(); });
        if (frames_.empty()) return nullptr;
        FramePtr frame = std::move(frames_.front());
        frames_.pop_front();
        changed_.notify_all();
        return frame;
    }
    void Close() {
        std::lock_guard lock(mutex_);
        closed_ = true;
        changed_.notify_all();
    }

private:
    static constexpr std::size_t kDepth = 8;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<FramePtr> frames_;
    bool closed_ = false;
};

// The picture side of an encode: source frames to output frame times by their time stamps
// (repeated or dropped to hit the DVD rate), painted and queued in order.
class FrameSchedule {
public:
    FrameSchedule(const EncodeJob& job, const EncodeProgress& progress, FrameQueue& queue)
        : job_(job), progress_(progress), queue_(queue), painter_(job) {
        if (job.durationSec > 0) lastFrame_ = std::llround(job.durationSec * job.frameRate.Value());
    }

    // True when every frame up to the end was queued.
    bool Run(SourceReader& video) {
        if (!job_.still) video.SeekTo(job_.startSec);
        for (;;) {
            if (progress_.stop) return false;
            FramePtr frame = video.Next();
            if (!frame) break;
            double time = job_.still ? 0.0 : video.TimeOf(frame.get()) - job_.startSec + shiftSec_;
            if (held_ && time > heldEnd_ + kLongestGapSec) {
                shiftSec_ -= time - heldEnd_;
                time = heldEnd_;
            }
            long long at = std::isnan(time) ? next_ : std::llround(time * job_.frameRate.Value());
            if (!QueueHeldUntil(at)) return false;
            if (!job_.still && lastFrame_ > 0 && next_ >= lastFrame_) return true;
            heldEnd_ = time + video.DurationOf(frame.get());
            held_ = std::move(frame);
            painted_.reset();
            if (job_.still) break;
        }
        // Nothing decodable from the start on (a start past the end included).
        if (!held_ || (!job_.still && next_ == 0 && heldEnd_ <= 0)) return false;
        long long end = lastFrame_ > 0 ? lastFrame_ : std::max(next_ + 1, std::llround(heldEnd_ * job_.frameRate.Value()));
        return QueueHeldUntil(end);
    }

private:
    // Shows the held frame on every output frame before index at.
    bool QueueHeldUntil(long long at) {
        if (lastFrame_ > 0) at = std::min(at, lastFrame_);
        while (next_ < at) {
            if (progress_.stop) return false;
            if (!held_) {
                next_ = at;   // frames before the first decoded one are not shown
                return true;
            }
            if (!painted_) painted_ = painter_.Paint(held_.get());
            if (!painted_) return false;
            FramePtr copy(av_frame_clone(painted_.get()));
            if (!copy) return false;
            copy->pts = next_++;
            copy->pict_type = AV_PICTURE_TYPE_NONE;
            if (!queue_.Push(std::move(copy))) return false;
        }
        return true;
    }

    const EncodeJob& job_;
    const EncodeProgress& progress_;
    FrameQueue& queue_;
    FramePainter painter_;
    FramePtr held_;
    FramePtr painted_;
    double heldEnd_ = 0;
    double shiftSec_ = 0;       // what the jumps of a broken file's time stamps took out
    long long next_ = 0;
    long long lastFrame_ = 0;   // 0: to the source's end
};

// The writing side: each queued frame, then the sound up to the same time.
class StreamWriter {
public:
    StreamWriter(const EncodeJob& job, EncodeProgress& progress, DvdWriter& writer, AudioFeed& audio)
        : job_(job), progress_(progress), writer_(writer), audio_(audio), began_(std::chrono::steady_clock::now()) {}

    // True when every frame the queue gave was written.
    bool Run(FrameQueue& queue) {
        while (FramePtr frame = queue.Pop()) {
            if (progress_.stop) return false;
            if (frame->pts != written_ || !writer_.WriteVideo(frame.get())) return false;
            ++written_;
            if (!WriteAudioUntil(written_)) return false;
            Report();
        }
        return true;
    }

    long long Written() const { return written_; }

private:
    bool WriteAudioUntil(long long frames) {
        long long samples = static_cast<long long>(std::ceil(frames * kDvdSampleRate / job_.frameRate.Value()));
        int chunk = writer_.AudioFrameSamples();
        while (audioSamples_ < samples) {
            FramePtr sound = audio_.Take(chunk);
            if (!sound) return false;
            sound->pts = audioSamples_;
            if (!writer_.WriteAudio(sound.get())) return false;
            audioSamples_ += chunk;
        }
        return true;
    }

    void Report() {
        progress_.frame = static_cast<int>(written_);
        progress_.seconds = static_cast<int>(written_ / job_.frameRate.Value());
        double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - began_).count();
        if (elapsed > 0) progress_.framesPerSecond = std::max(1, static_cast<int>(written_ / elapsed));
    }

    const EncodeJob& job_;
    EncodeProgress& progress_;
    DvdWriter& writer_;
    AudioFeed& audio_;
    std::chrono::steady_clock::time_point began_;
    long long written_ = 0;
    long long audioSamples_ = 0;
};

// Decoding and scaling on one thread, encoding on another: each side uses its own threads
// too, and neither waits for the other's frame.
bool RunPipeline(const EncodeJob& job, EncodeProgress& progress, SourceReader& video, DvdWriter& writer, AudioFeed& audio) {
    FrameQueue queue;
    bool scheduled = false;
    std::thread pictures([&] {
        FrameSchedule schedule(job, progress, queue);
        scheduled = schedule.Run(video);
        queue.Close();
    });
    StreamWriter stream(job, progress, writer, audio);
    bool written = stream.Run(queue);
    queue.Close();   // a writer that gave up releases the picture thread
    pictures.join();
    return scheduled && written && stream.Written() > 0 && writer.Finish();
}

std::string PartName(const std::string& output) { return output + ".part"; }

bool Encode(const EncodeJob& job, EncodeProgress& progress, const std::string& part) {
    auto video = SourceReader::Open(job.source, SourceReader::Kind::Video);
    if (!video) return false;
    std::unique_ptr<SourceReader> sound;
    if (!job.audioSource.empty()) sound = SourceReader::Open(job.audioSource, SourceReader::Kind::Audio);
    AudioFeed audio(std::move(sound), job.still ? 0.0 : job.startSec);
    if (!audio.Ready()) return false;
    auto writer = DvdWriter::Open(job, part);
    if (!writer) return false;
    return RunPipeline(job, progress, *video, *writer, audio);
}

}  // namespace

bool EncodeToDvd(const EncodeJob& job, EncodeProgress& progress) {
    namespace fs = std::filesystem;
    // Written under another name and renamed when complete, so no unfinished file ever
    // carries the output's name.
    std::string part = PartName(job.output);
    bool done = !job.output.empty() && Encode(job, progress, part);
    std::error_code ignored;
    if (done) {
        fs::rename(part, job.output, ignored);
        done = !ignored;
    }
    if (!done) fs::remove(part, ignored);
    return done;
}

}  // namespace corvane
