#include "libs/corvane/MediaDecoder.h"

#include "libs/corvane/CorvaneDLL.h"
#include "libs/corvane/PictureTurn.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <thread>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/avutil.h>
#include <libavutil/error.h>
}

namespace corvane {

namespace {

// A broken file can hold endless garbage between frames; a read gives up after this many
// packets rather than hang (a long GOP of a real file needs a few hundred).
constexpr int kMaxPacketsPerDecode = 200000;
// A frame-threaded decoder holds seven pictures or so on one thread and two or three more for
// each further one (measured, 4K H.264: 126 MB on one thread, 242 on five, 303 on seven):
// big pictures get fewer threads, so a 4K clip keeps within this much.
constexpr long long kDecoderPictureBytes = 160LL << 20;
constexpr long long kHalfPicturesPerThread = 5;

FramePtr NewFrame() { return FramePtr(av_frame_alloc()); }

double Rational(AVRational q) { return q.den > 0 && q.num > 0 ? av_q2d(q) : 0.0; }

// A time in seconds as a stream time stamp; clamped first, so no conversion overflows.
long long StampAt(long long start, double seconds, double timeBase) {
    constexpr double kLimit = 4.0e18;
    double ticks = seconds / timeBase;
    if (!(ticks > 0)) return start;
    if (ticks > kLimit) ticks = kLimit;
    long long offset = static_cast<long long>(ticks);
    return start > 0 && offset > INT64_MAX - start ? INT64_MAX : start + offset;
}

// In doubles: a broken file's time stamps may sit at the ends of the integer range.
bool AtMostOneFrameLate(long long ts, long long target, long long oneFrame) {
    return static_cast<double>(ts) <= static_cast<double>(target) + static_cast<double>(oneFrame);
}

}  // namespace

void FrameDeleter::operator()(AVFrame* frame) const { av_frame_free(&frame); }

void PacketDeleter::operator()(AVPacket* packet) const { av_packet_free(&packet); }

std::string ErrorText(int error) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(error, text, sizeof text);
    return text;
}

bool RegularOrMissing(const std::string& path, std::string& error) {
    struct stat facts {};
    if (::stat(path.c_str(), &facts) != 0 || S_ISREG(facts.st_mode)) return true;
    error = "'" + path + "' is not a regular file";
    return false;
}

long long PictureBytesOf(int width, int height) {
    return static_cast<long long>(std::max(width, 16)) * std::max(height, 16) * 3 / 2;
}

int DecoderThreadsFor(int width, int height) {
    // What FFmpeg picks by itself: a thread per core and one more.
    int automatic = static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 15u)) + 1;
    long long perThread = PictureBytesOf(width, height) * kHalfPicturesPerThread / 2;
    return static_cast<int>(std::clamp<long long>(kDecoderPictureBytes / perThread, 1, automatic));
}

bool SupportedSize(int width, int height) {
    return width >= 1 && height >= 1 && width <= CORVANE_MAX_SIDE && height <= CORVANE_MAX_SIDE;
}

std::unique_ptr<MediaDecoder> MediaDecoder::Open(const std::string& path, std::string& error) {
    // Broken files make the decoders talk a lot; the program has no console to show it on.
    static const bool quiet = (av_log_set_level(AV_LOG_FATAL), true);
    (void)quiet;
    if (!RegularOrMissing(path, error)) return nullptr;
    std::unique_ptr<MediaDecoder> decoder(new MediaDecoder);
    int result = decoder->OpenVideo(path);
    if (result == 0) return decoder;
    error = result == AVERROR_STREAM_NOT_FOUND ? "'" + path + "' has no picture stream"
                                               : "'" + path + "' can't be read: " + ErrorText(result);
    return nullptr;
}

MediaDecoder::~MediaDecoder() {
    avcodec_free_context(&codec_);
    avformat_close_input(&format_);
}

int MediaDecoder::OpenVideo(const std::string& path) {
    int result = avformat_open_input(&format_, path.c_str(), nullptr, nullptr);
    if (result < 0) return result;
    if ((result = avformat_find_stream_info(format_, nullptr)) < 0) return result;
    const AVCodec* codec = nullptr;
    stream_ = av_find_best_stream(format_, AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
    if (stream_ < 0) return stream_;
    if (!codec) return AVERROR_DECODER_NOT_FOUND;
    codec_ = avcodec_alloc_context3(codec);
    if (!codec_) return AVERROR(ENOMEM);
    if ((result = avcodec_parameters_to_context(codec_, format_->streams[stream_]->codecpar)) < 0) return result;
    // Seeks decode whole GOPs: many threads, but not so many that huge pictures fill the memory.
    const AVCodecParameters* par = format_->streams[stream_]->codecpar;
    codec_->thread_count = DecoderThreadsFor(par->width, par->height);
    if ((result = avcodec_open2(codec_, codec, nullptr)) < 0) return result;
    // Only the video stream is decoded; the demuxer may skip the others' packets.
    for (unsigned i = 0; i < format_->nb_streams; ++i) {
        if (static_cast<int>(i) != stream_) format_->streams[i]->discard = AVDISCARD_ALL;
    }
    return 0;
}

int MediaDecoder::ReceiveInto(AVFrame* frame) {
    int got = avcodec_receive_frame(codec_, frame);
    if (got == 0 && !MarkStreamTurn(frame, format_->streams[stream_])) return AVERROR(ENOMEM);
    return got;
}

FramePtr MediaDecoder::DecodeUntil(long long targetTs) {
    PacketPtr packet(av_packet_alloc());
    FramePtr last;
    FramePtr current = NewFrame();
    if (!packet || !current) return nullptr;
    for (int packets = 0; packets < kMaxPacketsPerDecode;) {
        int got = ReceiveInto(current.get());
        if (got == 0) {
            long long ts = current->best_effort_timestamp;
            bool reached = targetTs == AV_NOPTS_VALUE || (ts != AV_NOPTS_VALUE && ts >= targetTs);
            last = std::move(current);
            if (reached) return last;
            current = NewFrame();
            if (!current) return last;
            continue;
        }
        if (got != AVERROR(EAGAIN) || flushed_) break;
        if (av_read_frame(format_, packet.get()) < 0) {
            avcodec_send_packet(codec_, nullptr);   // drain what the decoder still holds
            flushed_ = true;
            continue;
        }
        ++packets;
        if (packet->stream_index == stream_) avcodec_send_packet(codec_, packet.get());
        av_packet_unref(packet.get());
    }
    return last;
}

FramePtr MediaDecoder::DecodeFirst() {
    if (flushed_) return DecodeAt(0);
    return DecodeUntil(AV_NOPTS_VALUE);
}

FramePtr MediaDecoder::DecodeAt(double second) {
    AVStream* stream = format_->streams[stream_];
    double timeBase = Rational(stream->time_base);
    if (timeBase <= 0) return nullptr;
    // Seconds count from the file's start, as the encode counts them: a picture that starts
    // after the sound is grabbed where the VOB shows it.
    long long start = format_->start_time != AV_NOPTS_VALUE ? av_rescale_q(format_->start_time, AV_TIME_BASE_Q, stream->time_base)
                      : stream->start_time != AV_NOPTS_VALUE ? stream->start_time
                                                             : 0;
    // Past the end means the last frame: seeking near the end finds it without reading the file.
    double durationSec = format_->duration > 0 ? static_cast<double>(format_->duration) / AV_TIME_BASE : 0.0;
    if (durationSec > 0 && second > durationSec) second = durationSec;
    if (!(second > 0)) second = 0;
    // Half a frame early, so rounding of the frames' times still lands on the asked one.
    double rate = Rational(stream->avg_frame_rate) > 0 ? Rational(stream->avg_frame_rate) : 25.0;
    long long target = StampAt(start, second - 0.5 / rate, timeBase);
    long long oneFrame = StampAt(0, 1.0 / rate, timeBase);
    FramePtr fallback;
    for (double back : kSeekBacksSec) {
        double seekSec = std::max(0.0, second - back);
        if (SeekTo(StampAt(start, seekSec, timeBase))) {
            FramePtr frame = DecodeUntil(target);
            long long ts = frame ? frame->best_effort_timestamp : AV_NOPTS_VALUE;
            if (frame && (ts == AV_NOPTS_VALUE || AtMostOneFrameLate(ts, target, oneFrame) || seekSec <= 0)) return frame;
            // Landed after the asked frame (or after the last key frame): start earlier.
            if (frame && !fallback) fallback = std::move(frame);
        }
        if (seekSec <= 0) break;
    }
    return fallback;
}

bool MediaDecoder::SeekTo(long long ts) {
    if (av_seek_frame(format_, stream_, ts, AVSEEK_FLAG_BACKWARD) < 0 &&
        avformat_seek_file(format_, stream_, INT64_MIN, ts, ts, 0) < 0) {
        return false;
    }
    avcodec_flush_buffers(codec_);
    flushed_ = false;
    return true;
}

MediaFacts MediaDecoder::Facts(const AVFrame* firstFrame) const {
    MediaFacts facts;
    AVStream* stream = format_->streams[stream_];
    if (format_->duration != AV_NOPTS_VALUE && format_->duration > 0) {
        facts.durationSec = static_cast<double>(format_->duration) / AV_TIME_BASE;
    } else if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0) {
        facts.durationSec = static_cast<double>(stream->duration) * Rational(stream->time_base);
    }
    facts.frameRate = Rational(stream->avg_frame_rate) > 0 ? Rational(stream->avg_frame_rate)
                                                            : Rational(stream->r_frame_rate);
    int width = firstFrame ? firstFrame->width : stream->codecpar->width;
    int height = firstFrame ? firstFrame->height : stream->codecpar->height;
    AVRational sar = av_guess_sample_aspect_ratio(format_, stream, const_cast<AVFrame*>(firstFrame));
    facts.squarePixels = sar.num <= 0 || sar.den <= 0 || sar.num == sar.den;
    double storedAspect = height > 0 ? width * (facts.squarePixels ? 1.0 : av_q2d(sar)) / height : 0.0;
    bool onItsSide = TurnSwapsSides(firstFrame ? ClockwiseTurnOf(firstFrame) : ClockwiseTurnOf(stream));
    facts.width = onItsSide ? height : width;
    facts.height = onItsSide ? width : height;
    facts.displayAspect = onItsSide && storedAspect > 0 ? 1.0 / storedAspect : storedAspect;
    enum AVCodecID id = stream->codecpar->codec_id;
    facts.programStream = std::strcmp(format_->iformat->name, "mpeg") == 0 &&
                          (id == AV_CODEC_ID_MPEG1VIDEO || id == AV_CODEC_ID_MPEG2VIDEO);
    int audio = av_find_best_stream(format_, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    long long audioBits = 0;
    if (audio >= 0) {
        const AVCodecParameters* par = format_->streams[audio]->codecpar;
        facts.audioSampleRate = par->sample_rate > 0 ? par->sample_rate : 0;
        facts.audioChannels = par->ch_layout.nb_channels > 0 ? par->ch_layout.nb_channels : 0;
        audioBits = par->bit_rate > 0 ? par->bit_rate : 0;
        facts.audioKbps = static_cast<double>(audioBits) / 1000.0;
    }
    long long videoBits = stream->codecpar->bit_rate;
    if (videoBits <= 0 && format_->bit_rate > audioBits) videoBits = format_->bit_rate - audioBits;
    facts.videoKbps = videoBits > 0 ? static_cast<double>(videoBits) / 1000.0 : 0.0;
    return facts;
}

}  // namespace corvane
