// Source pictures turned upright and scaled into the centre of a black DVD frame.
//
// Owned by one thread (a painter of the encode). With scaler threads, each picture is cut into
// slices scaled on threads of the scaler's own; 0 means as many as the machine has.
#pragma once

#include "libs/corvane/EncodeJob.h"
#include "libs/corvane/MediaDecoder.h"

extern "C" {
struct SwsContext;
}

namespace corvane {

class FramePainter {
public:
    FramePainter(const EncodeJob& job, int scalerThreads);
    ~FramePainter();
    FramePainter(const FramePainter&) = delete;
    FramePainter& operator=(const FramePainter&) = delete;

    // A new YUV 4:2:0 frame of the job's frame size; null when the source can't be scaled.
    FramePtr Paint(const AVFrame* source);

private:
    // A scaler from the source's size and format to width x height, made again when any of
    // them changes.
    bool Prepare(const AVFrame* source, int width, int height);
    // The picture scaled straight into its place in out.
    bool ScaleInPlace(const AVFrame* source, AVFrame* out, int x, int y, int width, int height);
    // The picture scaled on its side, then turned into its place in out.
    bool ScaleAndTurn(const AVFrame* source, AVFrame* out, int x, int y, int width, int height, int turn);

    const EncodeJob& job_;
    const int scalerThreads_;
    SwsContext* scaler_ = nullptr;
    int sourceWidth_ = 0;
    int sourceHeight_ = 0;
    int sourceFormat_ = -1;
    int scaledWidth_ = 0;
    int scaledHeight_ = 0;
    FramePtr sideways_;   // the scaled picture before its turn
};

}  // namespace corvane
