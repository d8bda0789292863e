#include "libs/corvane/BgrPicture.h"

#include "libs/corvane/MediaDecoder.h"
#include "libs/corvane/PictureTurn.h"

#include <cstddef>

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/pixfmt.h>
#include <libswscale/swscale.h>
}

namespace corvane {

namespace {

constexpr std::size_t kSlackBytes = 64;

// The whole frame scaled to width x height into rows of stride bytes at out.
bool ScaleInto(const AVFrame* frame, int width, int height, std::uint8_t* out, int stride) {
    SwsContext* scaler = sws_getContext(frame->width, frame->height, static_cast<AVPixelFormat>(frame->format), width,
                                        height, AV_PIX_FMT_BGR24, SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (!scaler) return false;
    std::uint8_t* planes[4] = {out, nullptr, nullptr, nullptr};
    int strides[4] = {stride, 0, 0, 0};
    int rows = sws_scale(scaler, frame->data, frame->linesize, 0, frame->height, planes, strides);
    sws_freeContext(scaler);
    return rows == height;
}

}  // namespace

bool ScaleToBgr(const AVFrame* frame, int width, int height, std::vector<std::uint8_t>& out) {
    std::size_t bytes = static_cast<std::size_t>(width > 0 ? width : 0) * static_cast<std::size_t>(height > 0 ? height : 0) * 3;
    // Slack past the last row: some converters store whole vectors at a row's end.
    out.assign(bytes + kSlackBytes, 0);
    if (!frame || !SupportedSize(frame->width, frame->height) || !SupportedSize(width, height)) return false;
    int turn = ClockwiseTurnOf(frame);
    bool scaled = false;
    if (turn == 0) {
        scaled = ScaleInto(frame, width, height, out.data(), width * 3);
    } else {
        // Scaled as stored, then turned upright into the rows handed out.
        int sideWidth = TurnSwapsSides(turn) ? height : width;
        int sideHeight = TurnSwapsSides(turn) ? width : height;
        std::vector<std::uint8_t> sideways(bytes + kSlackBytes);
        scaled = ScaleInto(frame, sideWidth, sideHeight, sideways.data(), sideWidth * 3);
        if (scaled) TurnPixels(sideways.data(), sideWidth * 3, sideWidth, sideHeight, 3, turn, out.data(), width * 3);
    }
    if (!scaled) out.assign(bytes + kSlackBytes, 0);
    return scaled;
}

}  // namespace corvane
