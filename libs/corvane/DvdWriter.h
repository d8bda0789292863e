// The DVD program stream an encode writes: MPEG-2 video and AC-3 audio in the "dvd" muxer's
// 2048-byte packs, with the navigation packets dvdauthor fills in.
//
// Two jobs on two threads: EncodeAudio on one, Write and Finish on another (each touches only
// its own encoder, or only the file). The video packets come from Mpeg2Encoder instances of
// the same job. Failures are FFmpeg's error codes (negative); ErrorText makes them readable.
#pragma once

#include <memory>
#include <string>

#include "libs/corvane/EncodeJob.h"
#include "libs/corvane/MediaDecoder.h"
#include "libs/corvane/Mpeg2Encoder.h"

extern "C" {
#include <libavutil/rational.h>
struct AVFormatContext;
struct AVCodecContext;
struct AVFrame;
struct AVPacket;
struct AVStream;
}

namespace corvane {

constexpr int kDvdSampleRate = 48000;
constexpr int kDvdAudioKbps = 192;

class DvdWriter {
public:
    // Opens the sound encoder, takes the video stream's parameters from an encoder of the job
    // and starts the file at path. Null when any of it fails, with the reason in error (a
    // half-made file is the caller's to remove).
    static std::unique_ptr<DvdWriter> Open(const EncodeJob& job, const std::string& path, std::string& error);
    ~DvdWriter();
    DvdWriter(const DvdWriter&) = delete;
    DvdWriter& operator=(const DvdWriter&) = delete;

    // Sound with pts in samples; null drains the encoder. Each packet goes to sink in the order
    // made. 0, or the error.
    int EncodeAudio(const AVFrame* frame, const PacketSink& sink);
    // True when a is due in the file before b (by decoding time).
    bool Before(const AVPacket& a, const AVPacket& b) const;
    // Packets of the video encoders and of EncodeAudio, in the order Before gives. 0, or the error.
    int Write(PacketPtr packet);
    // Ends the file. 0, or the error.
    int Finish();

    int AudioFrameSamples() const;

private:
    DvdWriter() = default;
    int OpenVideo(const EncodeJob& job);
    int OpenAudio();
    int OpenFile(const std::string& path);
    bool IsVideo(const AVPacket& packet) const;
    AVRational TimeBaseOf(const AVPacket& packet) const;

    AVFormatContext* format_ = nullptr;
    AVCodecContext* audio_ = nullptr;
    AVStream* videoStream_ = nullptr;
    AVStream* audioStream_ = nullptr;
    AVRational videoTimeBase_{1, 1};   // the encoders' packets count frames
};

}  // namespace corvane
