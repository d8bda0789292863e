// The image resampler: one call that fills a 32-bit bitmap from another at a new size.
//
//   RS_ReSize(srcBits, 32, srcW, srcH, dstBits, 32, dstW, dstH, false);
//
// Both blocks are DIB pixel blocks (rows padded to 4 bytes, blue-green-red-reserved); the caller
// owns them. Safe to call from any thread.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

// Returns 1 when the destination was filled, 0 when an argument was unusable (nothing written).
// Only 32 bits per pixel is supported on both sides; Flag is reserved.
int RS_ReSize(const void* SrcBits, int SrcBitsPerPixel, int SrcWidth, int SrcHeight, void* DstBits,
              int DstBitsPerPixel, int DstWidth, int DstHeight, int Flag);

#ifdef __cplusplus
}
#endif
