#include "libs/corvane/Mpeg2Encoder.h"

#include <cstdint>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/error.h>
#include <libavutil/opt.h>
}

namespace corvane {

namespace {

constexpr int kMaxVideoBitsPerSecond = 9000000;   // peaks stay within the DVD's 9.8 Mbit/s
constexpr int kVbvBufferBits = 1835008;            // the DVD's video buffer

}  // namespace

std::unique_ptr<Mpeg2Encoder> Mpeg2Encoder::Open(const EncodeJob& job, int longestGop, int threads, int& error) {
    std::unique_ptr<Mpeg2Encoder> encoder(new Mpeg2Encoder);
    error = encoder->Configure(job, longestGop, threads);
    if (error < 0) return nullptr;
    return encoder;
}

Mpeg2Encoder::~Mpeg2Encoder() { avcodec_free_context(&codec_); }

int Mpeg2Encoder::Configure(const EncodeJob& job, int longestGop, int threads) {
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MPEG2VIDEO);
    if (!codec) return AVERROR_ENCODER_NOT_FOUND;
    codec_ = avcodec_alloc_context3(codec);
    if (!codec_) return AVERROR(ENOMEM);
    codec_->width = job.frameWidth;
    codec_->height = job.frameHeight;
    codec_->pix_fmt = AV_PIX_FMT_YUV420P;
    codec_->framerate = {job.frameRate.num, job.frameRate.den};
    codec_->time_base = {job.frameRate.den, job.frameRate.num};
    // The display aspect travels as the pixels' shape: the encoder writes the matching code.
    av_reduce(&codec_->sample_aspect_ratio.num, &codec_->sample_aspect_ratio.den,
              static_cast<long long>(job.displayAspect.num) * job.frameHeight,
              static_cast<long long>(job.displayAspect.den) * job.frameWidth, 1 << 30);
    codec_->bit_rate = static_cast<long long>(job.videoKbps) * 1000;
    codec_->rc_max_rate = kMaxVideoBitsPerSecond;
    codec_->rc_buffer_size = kVbvBufferBits;
    codec_->rc_initial_buffer_occupancy = kVbvBufferBits * 3 / 4;
    // Each GOP starts where Encode asks for a key frame; the encoder's own limit sits one frame
    // further, so it never cuts a GOP short (closed GOPs of I + BBP groups would end at 16
    // frames of 18, or 13 of 15).
    codec_->gop_size = (longestGop < 1 ? 1 : longestGop) + 1;
    codec_->max_b_frames = 2;
    codec_->qmax = 28;   // the largest the non-linear quantiser takes
    codec_->flags |= AV_CODEC_FLAG_CLOSED_GOP;
    codec_->thread_count = threads < 1 ? 1 : threads;
    codec_->thread_type = FF_THREAD_SLICE;
    AVDictionary* options = nullptr;
    // Closed GOPs leave no room for scene-change key frames: the caller alone decides.
    av_dict_set(&options, "sc_threshold", "1000000000", 0);
    // The coarser quantiser steps let even the busiest picture fit the DVD's peak rate.
    av_dict_set(&options, "non_linear_quant", "1", 0);
    int opened = avcodec_open2(codec_, codec, &options);
    av_dict_free(&options);
    return opened < 0 ? opened : 0;
}

int Mpeg2Encoder::Encode(AVFrame* frame, const PacketSink& sink) { return EncodeInto(codec_, kMpeg2StreamIndex, frame, sink); }

int SetGopTimeCode(AVPacket* packet, long long frame, const Ratio& rate) {
    const long long fps = rate.den > 0 ? (rate.num + rate.den / 2) / rate.den : 0;
    if (!packet || frame < 0 || fps <= 0) return 0;
    int result = av_packet_make_writable(packet);
    if (result < 0) return result;
    std::uint8_t* data = packet->data;
    for (int at = 0; at + 8 <= packet->size; ++at) {
        if (data[at] != 0 || data[at + 1] != 0 || data[at + 2] != 1 || data[at + 3] != 0xB8) continue;
        // The encoder's count: whole frames at the rate rounded (30 at 29.97), no dropped frames.
        const std::uint32_t code = static_cast<std::uint32_t>((frame / (fps * 3600)) % 24) << 19 |
                                   static_cast<std::uint32_t>((frame / (fps * 60)) % 60) << 13 | 1u << 12 |
                                   static_cast<std::uint32_t>((frame / fps) % 60) << 6 |
                                   static_cast<std::uint32_t>(frame % fps);
        // The 24 bits after the drop-frame flag; the closed and broken-link flags stay.
        std::uint32_t bits = static_cast<std::uint32_t>(data[at + 4]) << 24 | data[at + 5] << 16 | data[at + 6] << 8 | data[at + 7];
        bits = (bits & 0x80000000u) | (code << 7) | (bits & 0x7Fu);
        for (int i = 0; i < 4; ++i) data[at + 4 + i] = static_cast<std::uint8_t>(bits >> (24 - 8 * i));
        return 0;
    }
    return 0;
}

int EncodeInto(AVCodecContext* codec, int streamIndex, const AVFrame* frame, const PacketSink& sink) {
    int result = avcodec_send_frame(codec, frame);
    if (result < 0) return result;
    for (;;) {
        PacketPtr packet(av_packet_alloc());
        if (!packet) return AVERROR(ENOMEM);
        result = avcodec_receive_packet(codec, packet.get());
        if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) return 0;
        if (result < 0) return result;
        packet->stream_index = streamIndex;
        if (!sink(std::move(packet))) return AVERROR_EXIT;
    }
}

}  // namespace corvane
