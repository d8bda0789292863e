#include "libs/corvane/PictureTurn.h"

#include <cmath>
#include <cstddef>
#include <cstring>

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/display.h>
#include <libavutil/frame.h>
}

namespace corvane {

namespace {

constexpr int kMatrixBytes = 9 * sizeof(std::int32_t);

// The matrix gives the counter-clockwise angle; anything between quarter turns is rounded.
int TurnOfMatrix(const std::uint8_t* matrix, std::size_t size) {
    if (!matrix || size < static_cast<std::size_t>(kMatrixBytes)) return 0;
    double angle = av_display_rotation_get(reinterpret_cast<const std::int32_t*>(matrix));
    if (!std::isfinite(angle)) return 0;
    long quarters = std::lround(-angle / 90.0);
    return static_cast<int>(((quarters % 4) + 4) % 4) * 90;
}

const std::uint8_t* StreamMatrix(const AVStream* stream, std::size_t& size) {
    size = 0;
    if (!stream) return nullptr;
    // One stream, one matrix: read before any frame of it decodes, so no writer races this.
    return av_stream_get_side_data(const_cast<AVStream*>(stream), AV_PKT_DATA_DISPLAYMATRIX, &size);
}

}  // namespace

int ClockwiseTurnOf(const AVFrame* frame) {
    if (!frame) return 0;
    const AVFrameSideData* data = av_frame_get_side_data(frame, AV_FRAME_DATA_DISPLAYMATRIX);
    return data ? TurnOfMatrix(data->data, data->size) : 0;
}

int ClockwiseTurnOf(const AVStream* stream) {
    std::size_t size = 0;
    const std::uint8_t* matrix = StreamMatrix(stream, size);
    return TurnOfMatrix(matrix, size);
}

bool TurnSwapsSides(int turn) { return turn == 90 || turn == 270; }

bool MarkStreamTurn(AVFrame* frame, const AVStream* stream) {
    if (!frame || av_frame_get_side_data(frame, AV_FRAME_DATA_DISPLAYMATRIX)) return true;
    std::size_t size = 0;
    const std::uint8_t* matrix = StreamMatrix(stream, size);
    if (!matrix || size < static_cast<std::size_t>(kMatrixBytes) || TurnOfMatrix(matrix, size) == 0) return true;
    AVFrameSideData* data = av_frame_new_side_data(frame, AV_FRAME_DATA_DISPLAYMATRIX, kMatrixBytes);
    if (!data) return false;
    std::memcpy(data->data, matrix, kMatrixBytes);
    return true;
}

namespace {

template <int kBytes>
void TurnAs(const std::uint8_t* src, int srcStride, int width, int height, int turn, std::uint8_t* dst, int dstStride) {
    auto from = [&](int x, int y) { return src + static_cast<std::ptrdiff_t>(y) * srcStride + static_cast<std::ptrdiff_t>(x) * kBytes; };
    bool quarter = TurnSwapsSides(turn);
    int outWidth = quarter ? height : width;
    int outHeight = quarter ? width : height;
    for (int y = 0; y < outHeight; ++y) {
        std::uint8_t* row = dst + static_cast<std::ptrdiff_t>(y) * dstStride;
        for (int x = 0; x < outWidth; ++x) {
            // Where the output pixel (x, y) was before the turn.
            const std::uint8_t* pixel = turn == 90    ? from(y, height - 1 - x)
                                        : turn == 270 ? from(width - 1 - y, x)
                                                      : from(width - 1 - x, height - 1 - y);
            for (int b = 0; b < kBytes; ++b) row[x * kBytes + b] = pixel[b];
        }
    }
}

}  // namespace

void TurnPixels(const std::uint8_t* src, int srcStride, int width, int height, int pixelBytes, int turn,
                std::uint8_t* dst, int dstStride) {
    if (turn != 90 && turn != 180 && turn != 270) {
        for (int y = 0; y < height; ++y) {
            std::memcpy(dst + static_cast<std::ptrdiff_t>(y) * dstStride, src + static_cast<std::ptrdiff_t>(y) * srcStride,
                        static_cast<std::size_t>(width) * pixelBytes);
        }
    } else if (pixelBytes == 3) {
        TurnAs<3>(src, srcStride, width, height, turn, dst, dstStride);
    } else {
        TurnAs<1>(src, srcStride, width, height, turn, dst, dstStride);
    }
}

}  // namespace corvane
