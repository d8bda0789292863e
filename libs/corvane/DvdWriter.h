// The DVD program stream an encode writes: MPEG-2 video and AC-3 audio in the "dvd" muxer's
// 2048-byte packs, with the navigation packets dvdauthor fills in.
//
// Three jobs on three threads: EncodeVideo on one, EncodeAudio on another, Write and Finish on
// a third (each touches only its own encoder, or only the file). Failures are FFmpeg's error
// codes (negative); ErrorText makes them readable.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "libs/corvane/EncodeJob.h"
#include "libs/corvane/GopPlan.h"
#include "libs/corvane/MediaDecoder.h"

extern "C" {
struct AVFormatContext;
struct AVCodecContext;
struct AVFrame;
struct AVPacket;
struct AVStream;
}

namespace corvane {

constexpr int kDvdSampleRate = 48000;
constexpr int kDvdAudioKbps = 192;

// Takes an encoded packet; false when it is not wanted any more (the encode ends).
using PacketSink = std::function<bool(PacketPtr)>;

class DvdWriter {
public:
    // Opens the encoders for the job's frame size, rate, aspect and bitrate and starts the file
    // at path. Null when any of it fails, with the reason in error (a half-made file is the
    // caller's to remove).
    static std::unique_ptr<DvdWriter> Open(const EncodeJob& job, const std::string& path, std::string& error);
    ~DvdWriter();
    DvdWriter(const DvdWriter&) = delete;
    DvdWriter& operator=(const DvdWriter&) = delete;

    // Frames with pts in frames (video) or samples (audio); null drains the encoder. Each packet
    // goes to sink in the order made. A video frame whose pts starts a GOP of the job's plan is
    // made a key frame.
    // 0, or the error.
    int EncodeVideo(AVFrame* frame, const PacketSink& sink);
    int EncodeAudio(const AVFrame* frame, const PacketSink& sink);
    // True when a is due in the file before b (by decoding time).
    bool Before(const AVPacket& a, const AVPacket& b) const;
    // Packets as the encoders made them, in the order Before gives. 0, or the error.
    int Write(PacketPtr packet);
    // Ends the file. 0, or the error.
    int Finish();

    int AudioFrameSamples() const;

private:
    explicit DvdWriter(GopPlan plan) : plan_(std::move(plan)) {}
    int OpenVideo(const EncodeJob& job);
    int OpenAudio();
    int OpenFile(const std::string& path);
    int Encode(AVCodecContext* codec, AVStream* stream, const AVFrame* frame, const PacketSink& sink);
    const AVCodecContext* CodecOf(const AVPacket& packet) const;

    AVFormatContext* format_ = nullptr;
    AVCodecContext* video_ = nullptr;
    AVCodecContext* audio_ = nullptr;
    AVStream* videoStream_ = nullptr;
    AVStream* audioStream_ = nullptr;
    const GopPlan plan_;
};

}  // namespace corvane
