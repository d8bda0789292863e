// The sound of an encode, resampled to the DVD's 48 kHz stereo and laid on the output's time
// line from sample 0 (the start second): gaps and a missing stream become silence.
//
// Owned by one thread (the encode's audio stage).
#pragma once

#include <memory>
#include <vector>

#include "libs/corvane/MediaDecoder.h"
#include "libs/corvane/SourceReader.h"

extern "C" {
struct AVAudioFifo;
struct SwrContext;
}

namespace corvane {

class AudioFeed {
public:
    // reader null: silence throughout.
    AudioFeed(std::unique_ptr<SourceReader> reader, double startSec);
    ~AudioFeed();
    AudioFeed(const AudioFeed&) = delete;
    AudioFeed& operator=(const AudioFeed&) = delete;

    bool Ready() const { return fifo_ != nullptr; }

    // A frame of count samples at the feed's position, silence where the source has none.
    // Null when memory ran out.
    FramePtr Take(int count);

private:
    void ReadMore();
    // The resampler is made for the sound's format, rate and channels, and made again when a
    // stream changes them midway (it would read planes that are not there).
    int Resample(const AVFrame* frame, std::vector<float>& left, std::vector<float>& right);
    void PadSilence(int count);

    std::unique_ptr<SourceReader> reader_;
    double startSec_;
    AVAudioFifo* fifo_ = nullptr;
    SwrContext* resampler_ = nullptr;
    int inFormat_ = -1;
    int inRate_ = 0;
    int inChannels_ = 0;
    long long queued_ = 0;   // samples laid on the time line so far
};

}  // namespace corvane
