#include "libs/corvane/SourceReader.h"

#include "libs/corvane/PictureTurn.h"

#include <algorithm>
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

// A first frame this little after the second is on it (its time is a rounded fraction).
constexpr double kOnTheSecond = 0.001;

// Pictures beyond this (4K UHD) are decoded smaller where the decoder can: an 8192 x 8192
// motion JPEG picture is 100 to 200 MB, and the few of them in flight between the stages
// would hold a gigabyte.
constexpr long long kLargestFullPixels = 3840LL * 2160;
// The longest side a DVD frame shows a picture at: a smaller decode keeps this much on its
// shorter side, so no detail the frame shows is lost.
constexpr int kShownSide = 720;

// How many halvings the decoder applies to a huge picture (0: full size).
int ReductionFor(const AVCodec* codec, const AVCodecParameters* par) {
    if (static_cast<long long>(par->width) * par->height <= kLargestFullPixels) return 0;
    int shorter = std::min(par->width, par->height);
    int halvings = 0;
    while (halvings < codec->max_lowres && (shorter >> (halvings + 1)) >= kShownSide) ++halvings;
    return halvings;
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
    if (!RegularOrMissing(path, error)) return nullptr;
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
    if (kind == Kind::Video) {
        codec_->lowres = ReductionFor(codec, par);
        codec_->thread_count = DecoderThreadsFor(par->width >> codec_->lowres, par->height >> codec_->lowres);
    } else {
        codec_->thread_count = 0;
    }
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
    for (double back : kSeekBacksSec) {
        const double from = std::max(0.0, second - back);
        if (Reposition(from)) {
            pending_ = Decode();
            const double time = pending_ ? TimeOf(pending_.get()) : 0.0;
            if (from <= 0 || (pending_ && !(time > second + kOnTheSecond))) return;
        }
        if (from <= 0) return;
    }
}

bool SourceReader::Reposition(double second) {
    auto seek = [this](double at) {
        const long long ts = static_cast<long long>((at + originSec_) * AV_TIME_BASE);
        return avformat_seek_file(format_, -1, INT64_MIN, ts, ts, 0) >= 0;
    };
    // The start is sought a second before it where the demuxer allows: a transport stream
    // sought at its very start lands after its first key frame.
    const bool moved = second > 0 ? seek(second) : seek(-1.0) || seek(0.0);
    if (!moved) return false;
    avcodec_flush_buffers(codec_);
    flushed_ = false;
    pending_.reset();
    return true;
}

FramePtr SourceReader::Next() {
    if (pending_) return std::move(pending_);
    return Decode();
}

FramePtr SourceReader::Decode() {
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
