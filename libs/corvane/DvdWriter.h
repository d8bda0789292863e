// The DVD program stream an encode writes: MPEG-2 video and AC-3 audio in the "dvd" muxer's
// 2048-byte packs, with the navigation packets dvdauthor fills in.
#pragma once

#include <memory>
#include <string>

#include "libs/corvane/EncodeJob.h"

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

class DvdWriter {
public:
    // Opens the encoders for the job's frame size, rate, aspect and bitrate and starts the file
    // at path. Null when any of it fails (a half-made file is the caller's to remove).
    static std::unique_ptr<DvdWriter> Open(const EncodeJob& job, const std::string& path);
    ~DvdWriter();
    DvdWriter(const DvdWriter&) = delete;
    DvdWriter& operator=(const DvdWriter&) = delete;

    // Frames with pts in frames (video) or samples (audio). False when the file can't take them.
    bool WriteVideo(const AVFrame* frame);
    bool WriteAudio(const AVFrame* frame);
    // Drains both encoders and ends the file. False when it could not be completed.
    bool Finish();

    int AudioFrameSamples() const;

private:
    DvdWriter() = default;
    bool OpenVideo(const EncodeJob& job);
    bool OpenAudio();
    bool OpenFile(const std::string& path);
    bool Send(AVCodecContext* codec, AVStream* stream, const AVFrame* frame);

    AVFormatContext* format_ = nullptr;
    AVCodecContext* video_ = nullptr;
    AVCodecContext* audio_ = nullptr;
    AVStream* videoStream_ = nullptr;
    AVStream* audioStream_ = nullptr;
    AVPacket* packet_ = nullptr;
    bool headerWritten_ = false;
};

}  // namespace corvane
