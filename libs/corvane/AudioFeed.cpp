#include "libs/corvane/AudioFeed.h"

#include "libs/corvane/DvdWriter.h"

#include <algorithm>
#include <cmath>

extern "C" {
#include <libavutil/audio_fifo.h>
#include <libavutil/channel_layout.h>
#include <libavutil/frame.h>
#include <libswresample/swresample.h>
}

namespace corvane {

namespace {

// Sound this far off from where it belongs is padded with silence or cut; less is jitter.
constexpr long long kAudioSlackSamples = 1024;
// A time stamp this far ahead of the stream is a broken file's jump, not a gap to fill: the
// stream goes on from where it is (filling it could mean hours of silence).
constexpr double kLongestGapSec = 10.0;

}  // namespace

AudioFeed::AudioFeed(std::unique_ptr<SourceReader> reader, double startSec) : reader_(std::move(reader)), startSec_(startSec) {
    fifo_ = av_audio_fifo_alloc(AV_SAMPLE_FMT_FLTP, 2, 4096);
    if (reader_) reader_->SeekTo(startSec_);
}

AudioFeed::~AudioFeed() {
    swr_free(&resampler_);
    if (fifo_) av_audio_fifo_free(fifo_);
}

FramePtr AudioFeed::Take(int count) {
    while (reader_ && av_audio_fifo_size(fifo_) < count) ReadMore();
    if (av_audio_fifo_size(fifo_) < count) PadSilence(count - av_audio_fifo_size(fifo_));
    FramePtr frame(av_frame_alloc());
    if (!frame) return nullptr;
    frame->format = AV_SAMPLE_FMT_FLTP;
    frame->sample_rate = kDvdSampleRate;
    av_channel_layout_default(&frame->ch_layout, 2);
    frame->nb_samples = count;
    if (av_frame_get_buffer(frame.get(), 0) < 0) return nullptr;
    if (av_audio_fifo_read(fifo_, reinterpret_cast<void**>(frame->data), count) != count) return nullptr;
    return frame;
}

void AudioFeed::ReadMore() {
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

int AudioFeed::Resample(const AVFrame* frame, std::vector<float>& left, std::vector<float>& right) {
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

void AudioFeed::PadSilence(int count) {
    if (count <= 0) return;
    std::vector<float> zeros(static_cast<std::size_t>(count), 0.0f);
    void* planes[2] = {zeros.data(), zeros.data()};
    if (av_audio_fifo_write(fifo_, planes, count) == count) queued_ += count;
}

}  // namespace corvane
