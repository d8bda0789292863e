#include "libs/corvane/DvdWriter.h"

#include <cstdint>
#include <cstring>
#include <thread>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
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

std::unique_ptr<DvdWriter> DvdWriter::Open(const EncodeJob& job, const std::string& path) {
    std::unique_ptr<DvdWriter> writer(new DvdWriter);
    writer->packet_ = av_packet_alloc();
    if (!writer->packet_) return nullptr;
    if (avformat_alloc_output_context2(&writer->format_, nullptr, "dvd", nullptr) < 0) return nullptr;
    if (!writer->OpenVideo(job) || !writer->OpenAudio() || !writer->OpenFile(path)) return nullptr;
    return writer;
}

DvdWriter::~DvdWriter() {
    if (format_ && format_->pb) avio_closep(&format_->pb);
    avformat_free_context(format_);
    avcodec_free_context(&video_);
    avcodec_free_context(&audio_);
    av_packet_free(&packet_);
}

bool DvdWriter::OpenVideo(const EncodeJob& job) {
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MPEG2VIDEO);
    if (!codec) return false;
    video_ = avcodec_alloc_context3(codec);
    if (!video_) return false;
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
    video_->gop_size = job.gopFrames;
    video_->max_b_frames = 2;
    video_->qmax = 28;   // the largest the non-linear quantiser takes
    video_->flags |= AV_CODEC_FLAG_CLOSED_GOP;
    video_->thread_count = EncoderThreads();
    video_->thread_type = FF_THREAD_SLICE;
    // Closed GOPs leave no room for scene-change key frames: the GOP length alone decides.
    AVDictionary* options = nullptr;
    av_dict_set(&options, "sc_threshold", "1000000000", 0);
    // The coarser quantiser steps let even the busiest picture fit the DVD's peak rate.
    av_dict_set(&options, "non_linear_quant", "1", 0);
    int opened = avcodec_open2(video_, codec, &options);
    av_dict_free(&options);
    if (opened < 0) return false;
    videoStream_ = avformat_new_stream(format_, nullptr);
    if (!videoStream_ || avcodec_parameters_from_context(videoStream_->codecpar, video_) < 0) return false;
    videoStream_->time_base = video_->time_base;
    // The muxer sizes the video buffer from the encoder's buffer properties.
    for (int i = 0; i < video_->nb_coded_side_data; ++i) {
        const AVPacketSideData& data = video_->coded_side_data[i];
        std::uint8_t* copy = av_stream_new_side_data(videoStream_, data.type, data.size);
        if (!copy) return false;
        std::memcpy(copy, data.data, data.size);
    }
    videoStream_->sample_aspect_ratio = video_->sample_aspect_ratio;
    return true;
}

bool DvdWriter::OpenAudio() {
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_AC3);
    if (!codec) return false;
    audio_ = avcodec_alloc_context3(codec);
    if (!audio_) return false;
    audio_->sample_rate = kDvdSampleRate;
    audio_->sample_fmt = AV_SAMPLE_FMT_FLTP;
    av_channel_layout_default(&audio_->ch_layout, 2);
    audio_->bit_rate = kDvdAudioKbps * 1000;
    audio_->time_base = {1, kDvdSampleRate};
    if (avcodec_open2(audio_, codec, nullptr) < 0) return false;
    audioStream_ = avformat_new_stream(format_, nullptr);
    if (!audioStream_ || avcodec_parameters_from_context(audioStream_->codecpar, audio_) < 0) return false;
    audioStream_->time_base = audio_->time_base;
    return true;
}

bool DvdWriter::OpenFile(const std::string& path) {
    if (avio_open(&format_->pb, path.c_str(), AVIO_FLAG_WRITE) < 0) return false;
    AVDictionary* options = nullptr;
    av_dict_set(&options, "muxrate", kMuxRate, 0);
    av_dict_set(&options, "packetsize", kPackSize, 0);
    int result = avformat_write_header(format_, &options);
    av_dict_free(&options);
    headerWritten_ = result >= 0;
    return headerWritten_;
}

int DvdWriter::AudioFrameSamples() const { return audio_->frame_size > 0 ? audio_->frame_size : 1536; }

bool DvdWriter::Send(AVCodecContext* codec, AVStream* stream, const AVFrame* frame) {
    if (avcodec_send_frame(codec, frame) < 0) return false;
    for (;;) {
        int got = avcodec_receive_packet(codec, packet_);
        if (got == AVERROR(EAGAIN) || got == AVERROR_EOF) return true;
        if (got < 0) return false;
        av_packet_rescale_ts(packet_, codec->time_base, stream->time_base);
        packet_->stream_index = stream->index;
        if (av_interleaved_write_frame(format_, packet_) < 0) return false;
    }
}

bool DvdWriter::WriteVideo(const AVFrame* frame) { return Send(video_, videoStream_, frame); }

bool DvdWriter::WriteAudio(const AVFrame* frame) { return Send(audio_, audioStream_, frame); }

bool DvdWriter::Finish() {
    if (!Send(video_, videoStream_, nullptr) || !Send(audio_, audioStream_, nullptr)) return false;
    if (av_write_trailer(format_) < 0) return false;
    headerWritten_ = false;
    if (avio_closep(&format_->pb) < 0) return false;
    return true;
}

}  // namespace corvane
