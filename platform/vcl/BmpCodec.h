// Our BMP reader and writer: 1, 4, 8, 16, 24 and 32 bits per pixel, BI_RGB (and BI_BITFIELDS
// with the standard masks), bottom-up and top-down files.
#pragma once

#include <cstddef>
#include <vector>

#include "platform/vcl/Graphics.h"

// A decoded DIB: rows bottom-up, each padded to 4 bytes, exactly as TBitmap keeps them.
struct TBmpImage {
    int Width = 0;
    int Height = 0;
    TPixelFormat Format = pf24bit;
    std::vector<TRGBQuad> Palette;  // palette formats only
    std::vector<Byte> Bits;
};

// Parses a whole .bmp file (with its "BM" file header); raises EInvalidGraphic with a message
// naming the fault ("Bitmap image is not valid: ...").
TBmpImage Bmp_DecodeFile(const Byte* Data, std::size_t Size);
// Parses a DIB without the file header (a BITMAPINFOHEADER first, as a resource holds it).
TBmpImage Bmp_DecodeDib(const Byte* Data, std::size_t Size);
// Either of the two, told apart by the "BM" signature.
TBmpImage Bmp_Decode(const Byte* Data, std::size_t Size);
// A whole .bmp file, bottom-up, at the image's depth (pf15bit as 16-bit BI_RGB, pf16bit as
// BI_BITFIELDS 5-6-5, pfDevice/pfCustom as 32-bit).
std::vector<Byte> Bmp_Encode(const TBmpImage& Image);

// The largest side we accept, and the largest pixel block.
constexpr int BmpMaxSide = 32768;
constexpr std::size_t BmpMaxBytes = std::size_t{512} * 1024 * 1024;
