#include "libs/corvane/DvdWriter.h"

#include <cstdint>
#include <cstring>
#include <thread>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/error.h>
#include <libavutil/opt.h>
}

namespace corvane {

namespace {

constexpr int kMaxVideoBitsPerSecond = 9000000;   // peaks stay within the DVD's 9.8 Mbit/s
constexpr int kVbvBufferBits = 1835008;            // the DVD's video buffer
constexpr const char* kMuxRate = "10080000";       // the DVD's total rate
constexpr const char* kPackSize = "2048";

int EncoderThreads() {
    unsigned cores = std::thread::hardware_concurrency();
    return cores == 0 ? 4 : static_cast<int>(cores > 16 ? 16 : cores);
}

}  // namespace

std::unique_ptr<DvdWriter> DvdWriter::Open(const EncodeJob& job, const std::string& path, std::string& error) {
    std::unique_ptr<DvdWriter> writer(new DvdWriter(GopPlan::For(job)));
    int result = avformat_alloc_output_context2(&writer->format_, nullptr, "dvd", nullptr);
    if (result < 0) {
        error = "no DVD muxer: " + ErrorText(result);
        return nullptr;
    }
    if ((result = writer->OpenVideo(job)) < 0) {
        error = "the MPEG-2 encoder does not open: " + ErrorText(result);
        return nullptr;
    }
    if ((result = writer->OpenAudio()) < 0) {
        error = "the AC-3 encoder does not open: " + ErrorText(result);
        return nullptr;
    }
    if ((result = writer->OpenFile(path)) < 0) {
        error = "'" + path + "' can't be written: " + ErrorText(result);
        return nullptr;
    }
    return writer;
}

DvdWriter::~DvdWriter() {
    if (format_ && format_->pb) avio_closep(&format_->pb);
    avformat_free_context(format_);
    avcodec_free_context(&video_);
    avcodec_free_context(&audio_);
}

int DvdWriter::OpenVideo(const EncodeJob& job) {
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MPEG2VIDEO);
    if (!codec) return AVERROR_ENCODER_NOT_FOUND;
    video_ = avcodec_alloc_context3(codec);
    if (!video_) return AVERROR(ENOMEM);
    video_->width = job.frameWidth;
    video_->height = job.frameHeight;
    video_->pix_fmt = AV_PIX_FMT_YUV420P;
    video_->framerate = {job.frameRate.num, job.frameRate.den};
    video_->time_base = {job.frameRate.den, job.frameRate.num};
    // The display aspect travels as the pixels' shape: the encoder writes the matching code.
    av_reduce(&video_->sample_aspect_ratio.num, &video_->sample_aspect_ratio.den,
              static_cast<long long>(job.displayAspect.num) * job.frameHeight,
              static_cast<long long>(job.displayAspect.den) * job.frameWidth, 1 << 30);
    video_->bit_rate = static_cast<long long>(job.videoKbps) * 1000;
    video_->rc_max_rate = kMaxVideoBitsPerSecond;
    video_->rc_buffer_size = kVbvBufferBits;
    video_->rc_initial_buffer_occupancy = kVbvBufferBits * 3 / 4;
    // Each GOP starts where EncodeVideo asks for a key frame; the encoder's own limit sits one
    // frame further, so it never cuts a GOP short (closed GOPs of I + BBP groups would end at
    // 16 frames of 18, or 13 of 15).
    video_->gop_size = plan_.Longest() + 1;
    video_->max_b_frames = 2;
    video_->qmax = 28;   // the largest the non-linear quantiser takes
    video_->flags |= AV_CODEC_FLAG_CLOSED_GOP;
    // MPEG-2's encoder has slice threads only, and needs them little: a DVD frame costs it about a
    // fifth of the CPU time of decoding a 1080p H.264 frame (measured: 0.8 s against 2.8 to 5.4 s
    // for 20 s), so the decoder stays the slowest stage. Encoding GOPs side by side would buy no
    // time and cost a rate control per segment.
    video_->thread_count = EncoderThreads();
    video_->thread_type = FF_THREAD_SLICE;
    // Closed GOPs leave no room for scene-change key frames: the GOP length alone decides.
    AVDictionary* options = nullptr;
    av_dict_set(&options, "sc_threshold", "1000000000", 0);
    // The coarser quantiser steps let even the busiest picture fit the DVD's peak rate.
    av_dict_set(&options, "non_linear_quant", "1", 0);
    int opened = avcodec_open2(video_, codec, &options);
    av_dict_free(&options);
    if (opened < 0) return opened;
    videoStream_ = avformat_new_stream(format_, nullptr);
    if (!videoStream_) return AVERROR(ENOMEM);
    int result = avcodec_parameters_from_context(videoStream_->codecpar, video_);
    if (result < 0) return result;
    videoStream_->time_base = video_->time_base;
    // The muxer sizes the video buffer from the encoder's buffer properties.
    for (int i = 0; i < video_->nb_coded_side_data; ++i) {
        const AVPacketSideData& data = video_->coded_side_data[i];
        std::uint8_t* copy = av_stream_new_side_data(videoStream_, data.type, data.size);
        if (!copy) return AVERROR(ENOMEM);
        std::memcpy(copy, data.data, data.size);
    }
    videoStream_->sample_aspect_ratio = video_->sample_aspect_ratio;
    return 0;
}

int DvdWriter::OpenAudio() {
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_AC3);
    if (!codec) return AVERROR_ENCODER_NOT_FOUND;
    audio_ = avcodec_alloc_context3(codec);
    if (!audio_) return AVERROR(ENOMEM);
    audio_->sample_rate = kDvdSampleRate;
    audio_->sample_fmt = AV_SAMPLE_FMT_FLTP;
    av_channel_layout_default(&audio_->ch_layout, 2);
    audio_->bit_rate = kDvdAudioKbps * 1000;
    audio_->time_base = {1, kDvdSampleRate};
    int result = avcodec_open2(audio_, codec, nullptr);
    if (result < 0) return result;
    audioStream_ = avformat_new_stream(format_, nullptr);
    if (!audioStream_) return AVERROR(ENOMEM);
    result = avcodec_parameters_from_context(audioStream_->codecpar, audio_);
    if (result < 0) return result;
    audioStream_->time_base = audio_->time_base;
    return 0;
}

int DvdWriter::OpenFile(const std::string& path) {
    int result = avio_open(&format_->pb, path.c_str(), AVIO_FLAG_WRITE);
    if (result < 0) return result;
    AVDictionary* options = nullptr;
    av_dict_set(&options, "muxrate", kMuxRate, 0);
    av_dict_set(&options, "packetsize", kPackSize, 0);
    result = avformat_write_header(format_, &options);
    av_dict_free(&options);
    return result < 0 ? result : 0;
}

int DvdWriter::AudioFrameSamples() const { return audio_->frame_size > 0 ? audio_->frame_size : 1536; }

int DvdWriter::Encode(AVCodecContext* codec, AVStream* stream, const AVFrame* frame, const PacketSink& sink) {
    int result = avcodec_send_frame(codec, frame);
    if (result < 0) return result;
    for (;;) {
        PacketPtr packet(av_packet_alloc());
        if (!packet) return AVERROR(ENOMEM);
        result = avcodec_receive_packet(codec, packet.get());
        if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) return 0;
        if (result < 0) return result;
        packet->stream_index = stream->index;
        if (!sink(std::move(packet))) return AVERROR_EXIT;
    }
}

int DvdWriter::EncodeVideo(AVFrame* frame, const PacketSink& sink) {
    if (frame) frame->pict_type = plan_.StartsGop(frame->pts) ? AV_PICTURE_TYPE_I : AV_PICTURE_TYPE_NONE;
    return Encode(video_, videoStream_, frame, sink);
}

int DvdWriter::EncodeAudio(const AVFrame* frame, const PacketSink& sink) { return Encode(audio_, audioStream_, frame, sink); }

const AVCodecContext* DvdWriter::CodecOf(const AVPacket& packet) const {
    return packet.stream_index == videoStream_->index ? video_ : audio_;
}

bool DvdWriter::Before(const AVPacket& a, const AVPacket& b) const {
    return av_compare_ts(a.dts, CodecOf(a)->time_base, b.dts, CodecOf(b)->time_base) < 0;
}

int DvdWriter::Write(PacketPtr packet) {
    const AVCodecContext* codec = CodecOf(*packet);
    const AVStream* stream = format_->streams[packet->stream_index];
    av_packet_rescale_ts(packet.get(), codec->time_base, stream->time_base);
    return av_interleaved_write_frame(format_, packet.get());
}

int DvdWriter::Finish() {
    int result = av_write_trailer(format_);
    if (result < 0) return result;
    return avio_closep(&format_->pb);
}

}  // namespace corvane
