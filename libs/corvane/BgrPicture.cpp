#include "libs/corvane/BgrPicture.h"

#include "libs/corvane/MediaDecoder.h"

#include <cstddef>

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/pixfmt.h>
#include <libswscale/swscale.h>
}

namespace corvane {

namespace {
constexpr std::size_t kSlackBytes = 64;
}

bool ScaleToBgr(const AVFrame* frame, int width, int height, std::vector<std::uint8_t>& out) {
    std::size_t bytes = static_cast<std::size_t>(width > 0 ? width : 0) * static_cast<std::size_t>(height > 0 ? height : 0) * 3;
    // Slack past the last row: some converters store whole vectors at a row's end.
    out.assign(bytes + kSlackBytes, 0);
    if (!frame || !SupportedSize(frame->width, frame->height) || !SupportedSize(width, height)) return false;
    SwsContext* scaler = sws_getContext(frame->width, frame->height, static_cast<AVPixelFormat>(frame->format),
                                        width, height, AV_PIX_FMT_BGR24, SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (!scaler) return false;
    std::uint8_t* planes[4] = {out.data(), nullptr, nullptr, nullptr};
    int strides[4] = {width * 3, 0, 0, 0};
    int rows = sws_scale(scaler, frame->data, frame->linesize, 0, frame->height, planes, strides);
    sws_freeContext(scaler);
    if (rows != height) {
        out.assign(bytes + kSlackBytes, 0);
        return false;
    }
    return true;
}

}  // namespace corvane
