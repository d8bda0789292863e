// One MPEG-2 video encoder of an encode: the DVD's rates, buffer and aspect, closed GOPs where
// its caller marks key frames.
//
// Owned by one thread at a time.
#pragma once

#include <functional>
#include <memory>

#include "libs/corvane/EncodeJob.h"
#include "libs/corvane/MediaDecoder.h"

extern "C" {
struct AVCodecContext;
struct AVFrame;
struct AVPacket;
}

namespace corvane {

// The video stream's place in a DVD program stream: the encoders' packets carry it.
constexpr int kMpeg2StreamIndex = 0;

// Takes an encoded packet; false when it is not wanted any more (the encode ends).
using PacketSink = std::function<bool(PacketPtr)>;

class Mpeg2Encoder {
public:
    // An encoder for GOPs of at most longestGop frames, on threads slice threads. Null with
    // FFmpeg's error code in error when it does not open.
    static std::unique_ptr<Mpeg2Encoder> Open(const EncodeJob& job, int longestGop, int threads, int& error);
    ~Mpeg2Encoder();
    Mpeg2Encoder(const Mpeg2Encoder&) = delete;
    Mpeg2Encoder& operator=(const Mpeg2Encoder&) = delete;

    // A frame with pts in frames, rising by one; null drains the encoder. A frame whose
    // pict_type is AV_PICTURE_TYPE_I starts a closed GOP, others are the encoder's choice.
    // Packets go to sink in the order made, with time stamps in frames and stream index
    // kMpeg2StreamIndex. 0, or the error.
    int Encode(AVFrame* frame, const PacketSink& sink);
    // What the stream's parameters are taken from.
    const AVCodecContext* Context() const { return codec_; }

private:
    Mpeg2Encoder() = default;
    int Configure(const EncodeJob& job, int longestGop, int threads);

    AVCodecContext* codec_ = nullptr;
};

// Writes the time code of the GOP header in a key frame's packet as the encoder would for the
// output's frame index frame at the rate (the packet is made writable first); a packet without
// GOP header stays as it is. 0, or the error.
int SetGopTimeCode(AVPacket* packet, long long frame, const Ratio& rate);

// Sends frame (null: drains) to an opened encoder and hands each packet it makes to sink,
// marked with the stream's index. 0, or the error (AVERROR_EXIT when sink refused a packet).
int EncodeInto(AVCodecContext* codec, int streamIndex, const AVFrame* frame, const PacketSink& sink);

}  // namespace corvane
