#include "libs/corvane/SourceReader.h"

#include <cmath>
#include <limits>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/avutil.h>
}

namespace corvane {

namespace {

// A broken file can hold endless garbage between frames: give up after this many packets in a
// row that give nothing (a real file needs a few hundred at most).
constexpr int kMaxPacketsWithoutFrame = 20000;

struct PacketDeleter {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};

}  // namespace

std::unique_ptr<SourceReader> SourceReader::Open(const std::string& path, Kind kind) {
    static const bool quiet = (av_log_set_level(AV_LOG_FATAL), true);
    (void)quiet;
    std::unique_ptr<SourceReader> reader(new SourceReader);
    if (!reader->OpenStream(path, kind)) return nullptr;
    return reader;
}

SourceReader::~SourceReader() {
    avcodec_free_context(&codec_);
    avformat_close_input(&format_);
}

bool SourceReader::OpenStream(const std::string& path, Kind kind) {
    if (avformat_open_input(&format_, path.c_str(), nullptr, nullptr) < 0) return false;
    if (avformat_find_stream_info(format_, nullptr) < 0) return false;
    const AVCodec* codec = nullptr;
    AVMediaType type = kind == Kind::Video ? AVMEDIA_TYPE_VIDEO : AVMEDIA_TYPE_AUDIO;
    stream_ = av_find_best_stream(format_, type, -1, -1, &codec, 0);
    if (stream_ < 0 || !codec) return false;
    codec_ = avcodec_alloc_context3(codec);
    if (!codec_) return false;
    if (avcodec_parameters_to_context(codec_, format_->streams[stream_]->codecpar) < 0) return false;
    codec_->thread_count = 0;   // as many as the machine has
    codec_->pkt_timebase = format_->streams[stream_]->time_base;
    if (avcodec_open2(codec_, codec, nullptr) < 0) return false;
    for (unsigned i = 0; i < format_->nb_streams; ++i) {
        if (static_cast<int>(i) != stream_) format_->streams[i]->discard = AVDISCARD_ALL;
    }
    if (format_->start_time != AV_NOPTS_VALUE) originSec_ = static_cast<double>(format_->start_time) / AV_TIME_BASE;
    return true;
}

void SourceReader::SeekTo(double second) {
    if (!(second > 0)) return;
    long long ts = static_cast<long long>((second + originSec_) * AV_TIME_BASE);
    if (avformat_seek_file(format_, -1, INT64_MIN, ts, ts, 0) < 0) return;
    avcodec_flush_buffers(codec_);
    flushed_ = false;
}

FramePtr SourceReader::Next() {
    std::unique_ptr<AVPacket, PacketDeleter> packet(av_packet_alloc());
    FramePtr frame(av_frame_alloc());
    if (!packet || !frame) return nullptr;
    for (int idle = 0; idle < kMaxPacketsWithoutFrame;) {
        int got = avcodec_receive_frame(codec_, frame.get());
        if (got == 0) return frame;
        if (got != AVERROR(EAGAIN) || flushed_) return nullptr;
        if (av_read_frame(format_, packet.get()) < 0) {
            avcodec_send_packet(codec_, nullptr);   // drain what the decoder still holds
            flushed_ = true;
            continue;
        }
        ++idle;
        // A damaged packet is skipped; the decoder resynchronises on the next.
        if (packet->stream_index == stream_) avcodec_send_packet(codec_, packet.get());
        av_packet_unref(packet.get());
    }
    return nullptr;
}

double SourceReader::TimeOf(const AVFrame* frame) const {
    long long ts = frame->best_effort_timestamp;
    if (ts == AV_NOPTS_VALUE) return std::numeric_limits<double>::quiet_NaN();
    return static_cast<double>(ts) * av_q2d(format_->streams[stream_]->time_base) - originSec_;
}

double SourceReader::DurationOf(const AVFrame* frame) const {
    if (frame->pkt_duration > 0) return static_cast<double>(frame->pkt_duration) * av_q2d(format_->streams[stream_]->time_base);
    AVRational rate = format_->streams[stream_]->avg_frame_rate;
    return rate.num > 0 && rate.den > 0 ? av_q2d(av_inv_q(rate)) : 0.0;
}

}  // namespace corvane
