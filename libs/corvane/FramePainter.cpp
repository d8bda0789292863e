#include "libs/corvane/FramePainter.h"

#include "libs/corvane/PictureTurn.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

namespace corvane {

namespace {

void FillBlack(AVFrame* frame) {
    for (int row = 0; row < frame->height; ++row) {
        std::memset(frame->data[0] + static_cast<std::ptrdiff_t>(row) * frame->linesize[0], 16, frame->width);
    }
    for (int plane = 1; plane < 3; ++plane) {
        for (int row = 0; row < frame->height / 2; ++row) {
            std::memset(frame->data[plane] + static_cast<std::ptrdiff_t>(row) * frame->linesize[plane], 128, frame->width / 2);
        }
    }
}

FramePtr NewPicture(int width, int height) {
    FramePtr frame(av_frame_alloc());
    if (!frame) return nullptr;
    frame->format = AV_PIX_FMT_YUV420P;
    frame->width = width;
    frame->height = height;
    if (av_frame_get_buffer(frame.get(), 0) < 0) return nullptr;
    return frame;
}

std::uint8_t* PlaneAt(AVFrame* frame, int plane, int x, int y) {
    int shift = plane == 0 ? 0 : 1;
    return frame->data[plane] + static_cast<std::ptrdiff_t>(y >> shift) * frame->linesize[plane] + (x >> shift);
}

}  // namespace

FramePainter::FramePainter(const EncodeJob& job, int scalerThreads) : job_(job), scalerThreads_(scalerThreads) {}

FramePainter::~FramePainter() { sws_freeContext(scaler_); }

FramePtr FramePainter::Paint(const AVFrame* source) {
    FramePtr out = NewPicture(job_.frameWidth, job_.frameHeight);
    if (!out) return nullptr;
    int width = std::min(job_.pictureWidth, job_.frameWidth);
    int height = std::min(job_.pictureHeight, job_.frameHeight);
    // Bars only where the picture leaves room; a full frame is all scaled over.
    if (width < job_.frameWidth || height < job_.frameHeight) FillBlack(out.get());
    // Even offsets keep the chroma planes aligned with the picture.
    int x = (job_.frameWidth - width) / 2 & ~1;
    int y = (job_.frameHeight - height) / 2 & ~1;
    int turn = ClockwiseTurnOf(source);
    bool painted = turn == 0 ? ScaleInPlace(source, out.get(), x, y, width, height)
                             : ScaleAndTurn(source, out.get(), x, y, width, height, turn);
    return painted ? std::move(out) : nullptr;
}

bool FramePainter::ScaleInPlace(const AVFrame* source, AVFrame* out, int x, int y, int width, int height) {
    if (!Prepare(source, width, height)) return false;
    // A view of the picture's place in out, sharing its buffers: the scaler writes there and
    // allocates nothing.
    FramePtr place(av_frame_alloc());
    if (!place || av_frame_ref(place.get(), out) < 0) return false;
    for (int plane = 0; plane < 3; ++plane) place->data[plane] = PlaneAt(out, plane, x, y);
    place->width = width;
    place->height = height;
    return sws_scale_frame(scaler_, place.get(), source) >= 0;
}

bool FramePainter::ScaleAndTurn(const AVFrame* source, AVFrame* out, int x, int y, int width, int height, int turn) {
    int sideWidth = TurnSwapsSides(turn) ? height : width;
    int sideHeight = TurnSwapsSides(turn) ? width : height;
    if (!Prepare(source, sideWidth, sideHeight)) return false;
    if (!sideways_ || sideways_->width != sideWidth || sideways_->height != sideHeight) {
        sideways_ = NewPicture(sideWidth, sideHeight);
        if (!sideways_) return false;
    }
    if (sws_scale_frame(scaler_, sideways_.get(), source) < 0) return false;
    for (int plane = 0; plane < 3; ++plane) {
        int shift = plane == 0 ? 0 : 1;
        TurnPixels(sideways_->data[plane], sideways_->linesize[plane], sideWidth >> shift, sideHeight >> shift, 1, turn,
                   PlaneAt(out, plane, x, y), out->linesize[plane]);
    }
    return true;
}

bool FramePainter::Prepare(const AVFrame* source, int width, int height) {
    if (scaler_ && source->width == sourceWidth_ && source->height == sourceHeight_ && source->format == sourceFormat_ &&
        width == scaledWidth_ && height == scaledHeight_) {
        return true;
    }
    sws_freeContext(scaler_);
    scaler_ = sws_alloc_context();
    if (!scaler_) return false;
    av_opt_set_int(scaler_, "srcw", source->width, 0);
    av_opt_set_int(scaler_, "srch", source->height, 0);
    av_opt_set_int(scaler_, "src_format", source->format, 0);
    av_opt_set_int(scaler_, "dstw", width, 0);
    av_opt_set_int(scaler_, "dsth", height, 0);
    av_opt_set_int(scaler_, "dst_format", AV_PIX_FMT_YUV420P, 0);
    av_opt_set_int(scaler_, "sws_flags", SWS_BICUBIC, 0);
    // The frame-based call spreads its slices over these threads; the plain one would not.
    av_opt_set_int(scaler_, "threads", scalerThreads_, 0);
    if (sws_init_context(scaler_, nullptr, nullptr) < 0) {
        sws_freeContext(scaler_);
        scaler_ = nullptr;
        return false;
    }
    sourceWidth_ = source->width;
    sourceHeight_ = source->height;
    sourceFormat_ = source->format;
    scaledWidth_ = width;
    scaledHeight_ = height;
    return true;
}

}  // namespace corvane
