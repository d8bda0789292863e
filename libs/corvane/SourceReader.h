// One stream of a media file, decoded frame after frame from a start second on.
//
// Owned by one thread. Times are seconds from the file's own start, the same for every stream
// of the file, so a video and an audio reader of one file stay in step.
#pragma once

#include <memory>
#include <string>

#include "libs/corvane/MediaDecoder.h"

extern "C" {
struct AVFormatContext;
struct AVCodecContext;
}

namespace corvane {

// A decoded full HD picture, in bytes. Larger pictures decode slowly enough that a few painters
// and encoders keep up with them, and their frames in flight are what an encode's memory goes on.
constexpr long long kFullHdPictureBytes = 1920LL * 1088 * 3 / 2;

class SourceReader {
public:
    enum class Kind { Video, Audio };
    // Null when the file can't be opened or has no decodable stream of the kind; error says why.
    static std::unique_ptr<SourceReader> Open(const std::string& path, Kind kind, std::string& error);
    // The same file's stream of another kind, its times on beside's line. Only the streams of
    // that kind are probed: a sound reader of a 1080p clip would otherwise decode a few pictures
    // just to learn their shape (50 ms of every encode).
    static std::unique_ptr<SourceReader> OpenBeside(const SourceReader& beside, Kind kind, std::string& error);
    ~SourceReader();
    SourceReader(const SourceReader&) = delete;
    SourceReader& operator=(const SourceReader&) = delete;

    // Goes to the key frame at or before the second (the frames before it follow first); where
    // none decodes before it, to the file's start.
    void SeekTo(double second);
    // The next decoded frame; null at the end of the stream (or of what can be decoded). A video
    // frame carries the turn that shows it upright.
    FramePtr Next();
    // The frame's time; NaN when it has none.
    double TimeOf(const AVFrame* frame) const;
    // How long the frame shows; 0 when the file does not say.
    double DurationOf(const AVFrame* frame) const;
    // One decoded picture's bytes, about (8-bit 4:2:0).
    long long PictureBytes() const;

private:
    SourceReader() = default;
    // Which of the file's streams the opening probes.
    enum class Probe { AllStreams, KindOnly };
    static std::unique_ptr<SourceReader> Open(const std::string& path, Kind kind, Probe probe, std::string& error);
    int OpenStream(const std::string& path, Kind kind, Probe probe);
    // Moves the demuxer near the second (0: the file's start) and empties the decoder.
    bool Reposition(double second);
    FramePtr Decode();

    std::string path_;
    AVFormatContext* format_ = nullptr;
    AVCodecContext* codec_ = nullptr;
    int stream_ = -1;
    double originSec_ = 0;
    bool flushed_ = false;
    FramePtr pending_;   // decoded by SeekTo, handed out first
};

}  // namespace corvane
