#include "libs/resize/ResizeDll.h"

#include <climits>

extern "C" {
#include <libswscale/swscale.h>
}

namespace {

constexpr int kMaxSide = 32768;

bool UsableSize(int w, int h) { return w > 0 && h > 0 && w <= kMaxSide && h <= kMaxSide; }

}  // namespace

extern "C" int RS_ReSize(const void* SrcBits, int SrcBitsPerPixel, int SrcWidth, int SrcHeight, void* DstBits,
                         int DstBitsPerPixel, int DstWidth, int DstHeight, int) {
    if (SrcBits == nullptr || DstBits == nullptr || SrcBitsPerPixel != 32 || DstBitsPerPixel != 32 ||
        !UsableSize(SrcWidth, SrcHeight) || !UsableSize(DstWidth, DstHeight))
        return 0;
    // Both blocks are bottom-up; scaling them as they lie keeps the rows in the same order.
    SwsContext* ctx = sws_getContext(SrcWidth, SrcHeight, AV_PIX_FMT_BGRA, DstWidth, DstHeight, AV_PIX_FMT_BGRA,
                                     SWS_BICUBIC, nullptr, nullptr, nullptr);
    if (ctx == nullptr) return 0;
    const uint8_t* src[4] = {static_cast<const uint8_t*>(SrcBits), nullptr, nullptr, nullptr};
    uint8_t* dst[4] = {static_cast<uint8_t*>(DstBits), nullptr, nullptr, nullptr};
    int srcStride[4] = {SrcWidth * 4, 0, 0, 0};
    int dstStride[4] = {DstWidth * 4, 0, 0, 0};
    int rows = sws_scale(ctx, src, srcStride, 0, SrcHeight, dst, dstStride);
    sws_freeContext(ctx);
    return rows == DstHeight ? 1 : 0;
}
