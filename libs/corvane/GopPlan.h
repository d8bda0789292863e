// Where the closed GOPs of an encode start: at most every `longest` frames, and exactly on each
// key frame asked for. Before a key frame the GOPs are long enough that the "dvd" muxer starts a
// navigation unit (VOBU) there, since it starts one only on a key frame at least 0.4 s after the
// last; a chapter dvdauthor puts at that time then begins on that very frame.
//
// Immutable once made: any thread may ask it.
#pragma once

#include <vector>

#include "libs/corvane/EncodeJob.h"

namespace corvane {

class GopPlan {
public:
    // GOPs of at most longest frames; a VOBU needs shortest frames (clamped to 1..longest) from
    // the last one. Key frames in any order; repeats count once, and one closer than shortest to
    // the key frame kept before it is left out (the muxer could not start a VOBU there).
    GopPlan(int longest, int shortest, const std::vector<long long>& keyFrames);

    // For an encode job: its GOP length, the frames of 0.4 s at its rate and its key times.
    static GopPlan For(const EncodeJob& job);

    // True when the frame (index from the output's start) begins a closed GOP.
    bool StartsGop(long long frame) const;
    // The key frames kept, ascending, frame 0 first.
    const std::vector<long long>& Keys() const { return keys_; }
    int Longest() const { return longest_; }

private:
    // Whether offset begins a GOP in a stretch of span frames that ends on a kept key frame.
    bool StartsGopWithin(long long offset, long long span) const;

    int longest_;
    int shortest_;
    std::vector<long long> keys_;
};

// The frames of at least 0.4 s at a rate (the muxer counts in 90 kHz ticks).
int VobuFramesFor(const Ratio& rate);
// The output frame shown at a time: the nearest frame start.
long long FrameAt(double seconds, const Ratio& rate);

}  // namespace corvane
