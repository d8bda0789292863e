#include "libs/corvane/DvdWriter.h"

#include <cstdint>
#include <cstring>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/error.h>
#include <libavutil/opt.h>
}

namespace corvane {

namespace {

constexpr const char* kMuxRate = "10080000";       // the DVD's total rate
constexpr const char* kPackSize = "2048";

}  // namespace

std::unique_ptr<DvdWriter> DvdWriter::Open(const EncodeJob& job, const std::string& path, std::string& error) {
    std::unique_ptr<DvdWriter> writer(new DvdWriter);
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
    avcodec_free_context(&audio_);
}

// The video stream is the file's first, as the encoders' packets say.
int DvdWriter::OpenVideo(const EncodeJob& job) {
    int result = 0;
    auto encoder = Mpeg2Encoder::Open(job, job.gopFrames, 1, result);
    if (!encoder) return result;
    const AVCodecContext* video = encoder->Context();
    videoStream_ = avformat_new_stream(format_, nullptr);
    if (!videoStream_) return AVERROR(ENOMEM);
    if (videoStream_->index != kMpeg2StreamIndex) return AVERROR_BUG;
    result = avcodec_parameters_from_context(videoStream_->codecpar, video);
    if (result < 0) return result;
    videoTimeBase_ = video->time_base;
    videoStream_->time_base = video->time_base;
    // The muxer sizes the video buffer from the encoder's buffer properties.
    for (int i = 0; i < video->nb_coded_side_data; ++i) {
        const AVPacketSideData& data = video->coded_side_data[i];
        std::uint8_t* copy = av_stream_new_side_data(videoStream_, data.type, data.size);
        if (!copy) return AVERROR(ENOMEM);
        std::memcpy(copy, data.data, data.size);
    }
    videoStream_->sample_aspect_ratio = video->sample_aspect_ratio;
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

int DvdWriter::EncodeAudio(const AVFrame* frame, const PacketSink& sink) {
    return EncodeInto(audio_, audioStream_->index, frame, sink);
}

bool DvdWriter::IsVideo(const AVPacket& packet) const { return packet.stream_index == videoStream_->index; }

AVRational DvdWriter::TimeBaseOf(const AVPacket& packet) const { return IsVideo(packet) ? videoTimeBase_ : audio_->time_base; }

bool DvdWriter::Before(const AVPacket& a, const AVPacket& b) const {
    return av_compare_ts(a.dts, TimeBaseOf(a), b.dts, TimeBaseOf(b)) < 0;
}

int DvdWriter::Write(PacketPtr packet) {
    const AVStream* stream = format_->streams[packet->stream_index];
    av_packet_rescale_ts(packet.get(), TimeBaseOf(*packet), stream->time_base);
    return av_interleaved_write_frame(format_, packet.get());
}

int DvdWriter::Finish() {
    int result = av_write_trailer(format_);
    if (result < 0) return result;
    return avio_closep(&format_->pb);
}

}  // namespace corvane
