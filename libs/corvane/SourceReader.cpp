#include "libs/corvane/SourceReader.h"

#include "libs/corvane/PictureTurn.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <thread>

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

// A frame-threaded decoder holds seven pictures or so on one thread and two or three more for
// each further one (measured, 4K H.264: 126 MB on one thread, 242 on five, 303 on seven):
// big pictures get fewer threads, so a 4K clip keeps within this much.
constexpr long long kDecoderPictureBytes = 160LL << 20;
constexpr long long kHalfPicturesPerThread = 5;

long long PictureBytesOf(int width, int height) {
    return static_cast<long long>(std::max(width, 16)) * std::max(height, 16) * 3 / 2;
}

int DecoderThreadsFor(const AVCodecParameters* par) {
    // What FFmpeg picks by itself: a thread per core and one more.
    int automatic = static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 15u)) + 1;
    long long perThread = PictureBytesOf(par->width, par->height) * kHalfPicturesPerThread / 2;
    return static_cast<int>(std::clamp<long long>(kDecoderPictureBytes / perThread, 2, automatic));
}

}  // namespace

std::unique_ptr<SourceReader> SourceReader::Open(const std::string& path, Kind kind, std::string& error) {
    return Open(path, kind, Probe::AllStreams, error);
}

std::unique_ptr<SourceReader> SourceReader::OpenBeside(const SourceReader& beside, Kind kind, std::string& error) {
    auto reader = Open(beside.path_, kind, Probe::KindOnly, error);
    // The other streams' start times were not probed: the file's start is beside's.
    if (reader) reader->originSec_ = beside.originSec_;
    return reader;
}

std::unique_ptr<SourceReader> SourceReader::Open(const std::string& path, Kind kind, Probe probe, std::string& error) {
    static const bool quiet = (av_log_set_level(AV_LOG_FATAL), true);
    (void)quiet;
    std::unique_ptr<SourceReader> reader(new SourceReader);
    int result = reader->OpenStream(path, kind, probe);
    if (result == 0) return reader;
    const char* what = kind == Kind::Video ? "picture" : "sound";
    error = result == AVERROR_STREAM_NOT_FOUND ? "'" + path + "' has no " + what + " stream"
                                               : "'" + path + "' can't be read: " + ErrorText(result);
    return nullptr;
}

SourceReader::~SourceReader() {
    avcodec_free_context(&codec_);
    avformat_close_input(&format_);
}

int SourceReader::OpenStream(const std::string& path, Kind kind, Probe probe) {
    path_ = path;
    int result = avformat_open_input(&format_, path.c_str(), nullptr, nullptr);
    if (result < 0) return result;
    AVMediaType type = kind == Kind::Video ? AVMEDIA_TYPE_VIDEO : AVMEDIA_TYPE_AUDIO;
    // The streams the header names; a stream found only by probing is probed all the same.
    for (unsigned i = 0; probe == Probe::KindOnly && i < format_->nb_streams; ++i) {
        if (format_->streams[i]->codecpar->codec_type != type) format_->streams[i]->discard = AVDISCARD_ALL;
    }
    if ((result = avformat_find_stream_info(format_, nullptr)) < 0) return result;
    const AVCodec* codec = nullptr;
    stream_ = av_find_best_stream(format_, type, -1, -1, &codec, 0);
    if (stream_ < 0) return stream_;
    if (!codec) return AVERROR_DECODER_NOT_FOUND;
    codec_ = avcodec_alloc_context3(codec);
    if (!codec_) return AVERROR(ENOMEM);
    const AVCodecParameters* par = format_->streams[stream_]->codecpar;
    if ((result = avcodec_parameters_to_context(codec_, par)) < 0) return result;
    codec_->thread_count = kind == Kind::Video ? DecoderThreadsFor(par) : 0;
    codec_->pkt_timebase = format_->streams[stream_]->time_base;
    if ((result = avcodec_open2(codec_, codec, nullptr)) < 0) return result;
    for (unsigned i = 0; i < format_->nb_streams; ++i) {
        if (static_cast<int>(i) != stream_) format_->streams[i]->discard = AVDISCARD_ALL;
    }
    if (format_->start_time != AV_NOPTS_VALUE) originSec_ = static_cast<double>(format_->start_time) / AV_TIME_BASE;
    return 0;
}

void SourceReader::SeekTo(double second) {
    if (!(second > 0)) return;
    long long ts = static_cast<long long>((second + originSec_) * AV_TIME_BASE);
    if (avformat_seek_file(format_, -1, INT64_MIN, ts, ts, 0) < 0) return;
    avcodec_flush_buffers(codec_);
    flushed_ = false;
}

FramePtr SourceReader::Next() {
    PacketPtr packet(av_packet_alloc());
    FramePtr frame(av_frame_alloc());
    if (!packet || !frame) return nullptr;
    for (int idle = 0; idle < kMaxPacketsWithoutFrame;) {
        int got = avcodec_receive_frame(codec_, frame.get());
        if (got == 0) {
            if (codec_->codec_type == AVMEDIA_TYPE_VIDEO && !MarkStreamTurn(frame.get(), format_->streams[stream_])) return nullptr;
            return frame;
        }
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

long long SourceReader::PictureBytes() const { return PictureBytesOf(codec_->width, codec_->height); }

double SourceReader::DurationOf(const AVFrame* frame) const {
    if (frame->pkt_duration > 0) return static_cast<double>(frame->pkt_duration) * av_q2d(format_->streams[stream_]->time_base);
    AVRational rate = format_->streams[stream_]->avg_frame_rate;
    return rate.num > 0 && rate.den > 0 ? av_q2d(av_inv_q(rate)) : 0.0;
}

}  // namespace corvane
