// One opened media file: its demuxer and the decoder of its video stream.
//
// Not thread-safe: one thread owns a decoder (the caller for the information call, the
// grabber's worker for a run). Frames it returns are owned by the caller (FramePtr).
#pragma once

#include <memory>
#include <string>

extern "C" {
struct AVFormatContext;
struct AVCodecContext;
struct AVFrame;
struct AVPacket;
}

namespace corvane {

struct FrameDeleter {
    void operator()(AVFrame* frame) const;
};
using FramePtr = std::unique_ptr<AVFrame, FrameDeleter>;
struct PacketDeleter {
    void operator()(AVPacket* packet) const;
};
using PacketPtr = std::unique_ptr<AVPacket, PacketDeleter>;

// FFmpeg's error code as text.
std::string ErrorText(int error);

// The facts of a file the record is made from.
struct MediaFacts {
    double durationSec = 0;
    double frameRate = 0;
    double videoKbps = 0;
    int width = 0;                // as shown: a picture stored on its side has its sides swapped
    int height = 0;
    double displayAspect = 0;     // 0 when the file says nothing about it
    bool squarePixels = true;     // no sample aspect, or 1:1
    bool programStream = false;   // an MPEG-1/2 program stream
    int audioSampleRate = 0;
    int audioChannels = 0;
    double audioKbps = 0;
};

class MediaDecoder {
public:
    // Null when the file can't be opened or has no decodable video stream; error says why.
    static std::unique_ptr<MediaDecoder> Open(const std::string& path, std::string& error);
    ~MediaDecoder();
    MediaDecoder(const MediaDecoder&) = delete;
    MediaDecoder& operator=(const MediaDecoder&) = delete;

    // Decoded frames carry the turn that shows them upright.
    // The first frame of the file; null when none decodes.
    FramePtr DecodeFirst();
    // The frame shown at a second: decoded forward from the key frame before it; past the end
    // the last frame. Null when none decodes.
    FramePtr DecodeAt(double second);
    // Facts from the container and streams; the frame (when given) settles size and aspect.
    MediaFacts Facts(const AVFrame* firstFrame) const;

private:
    MediaDecoder() = default;
    int OpenVideo(const std::string& path);
    // Decodes forward; stops at the first frame whose time reaches targetTs (AV_NOPTS_VALUE:
    // the first frame of all), or at the end with the last one.
    FramePtr DecodeUntil(long long targetTs);
    int ReceiveInto(AVFrame* frame);
    // Seeks to the key frame at or before ts (stream time base) and empties the decoder.
    bool SeekTo(long long ts);

    AVFormatContext* format_ = nullptr;
    AVCodecContext* codec_ = nullptr;
    int stream_ = -1;
    bool flushed_ = false;
};

// False, with the reason in error, when path names something else than a regular file (a FIFO,
// a device, a folder): opening a FIFO waits for a writer for ever, and a device may never end.
// A path that is not there passes; opening it says so.
bool RegularOrMissing(const std::string& path, std::string& error);

// One decoded picture's bytes, about (8-bit 4:2:0).
long long PictureBytesOf(int width, int height);
// Decoder threads for pictures of a size: as many as the machine has for small ones, fewer for
// big ones, one for those too big for two.
int DecoderThreadsFor(int width, int height);

// A seek may land after the key frame the asked time needs (program and transport streams seek
// by time stamps, not key frames): the readers go back this far and try again, the last time
// from the file's start.
inline constexpr double kSeekBacksSec[] = {0.0, 10.0, 60.0, 1e18};

// Sizes outside 1..CORVANE_MAX_SIDE are not supported.
bool SupportedSize(int width, int height);

}  // namespace corvane
