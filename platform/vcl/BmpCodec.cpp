#include "platform/vcl/BmpCodec.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

constexpr std::uint32_t BI_RGB = 0;
constexpr std::uint32_t BI_RLE8 = 1;
constexpr std::uint32_t BI_RLE4 = 2;
constexpr std::uint32_t BI_BITFIELDS = 3;
constexpr std::size_t FileHeaderSize = 14;
constexpr std::size_t InfoHeaderSize = 40;
constexpr std::size_t CoreHeaderSize = 12;
constexpr std::size_t MaskedHeaderSize = InfoHeaderSize + 12;

[[noreturn]] void Invalid(const String& why) {
    throw EInvalidGraphic("Bitmap image is not valid: " + why);
}

std::uint16_t U16(const Byte* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t U32(const Byte* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::int32_t S32(const Byte* p) { return static_cast<std::int32_t>(U32(p)); }

void Put16(std::vector<Byte>& v, std::uint32_t x) {
    v.push_back(static_cast<Byte>(x));
    v.push_back(static_cast<Byte>(x >> 8));
}
void Put32(std::vector<Byte>& v, std::uint32_t x) {
    Put16(v, x & 0xFFFF);
    Put16(v, x >> 16);
}

struct Header {
    std::int64_t width = 0;
    std::int64_t height = 0;  // negative: top-down
    int bits = 0;
    std::uint32_t compression = BI_RGB;
    std::uint32_t colorsUsed = 0;
    std::uint32_t masks[3] = {0, 0, 0};
    bool core = false;
    std::size_t headerSize = 0;  // header plus masks stored after it
};

Header ReadHeader(const Byte* d, std::size_t size) {
    if (size < 4) Invalid("the header is missing");
    Header h;
    std::uint32_t biSize = U32(d);
    if (biSize == CoreHeaderSize) {
        if (size < CoreHeaderSize) Invalid("the header is truncated");
        h.core = true;
        h.width = U16(d + 4);
        h.height = U16(d + 6);
        if (U16(d + 8) != 1) Invalid("the plane count is not 1");
        h.bits = U16(d + 10);
        h.headerSize = CoreHeaderSize;
        return h;
    }
    if (biSize < InfoHeaderSize || biSize > 4096) Invalid("unknown header size " + IntToStr(biSize));
    if (size < biSize) Invalid("the header is truncated");
    h.width = S32(d + 4);
    h.height = S32(d + 8);
    if (U16(d + 12) != 1) Invalid("the plane count is not 1");
    h.bits = U16(d + 14);
    h.compression = U32(d + 16);
    h.colorsUsed = U32(d + 32);
    h.headerSize = biSize;
    if (h.compression == BI_BITFIELDS) {
        // The masks sit right after the 40 bytes of the info header, inside a longer header or
        // after a short one; either way all 12 bytes must be there.
        if (size < MaskedHeaderSize) Invalid("the colour masks are missing");
        h.headerSize = std::max<std::size_t>(biSize, MaskedHeaderSize);
        const Byte* m = d + InfoHeaderSize;
        for (int i = 0; i < 3; ++i) h.masks[i] = U32(m + 4 * i);
    }
    return h;
}

void CheckHeader(const Header& h) {
    if (h.width <= 0 || h.height == 0) Invalid("the size is " + IntToStr(h.width) + " x " + IntToStr(h.height));
    std::int64_t absHeight = h.height < 0 ? -h.height : h.height;
    if (h.width > BmpMaxSide || absHeight > BmpMaxSide)
        Invalid("the size " + IntToStr(h.width) + " x " + IntToStr(absHeight) + " is too large");
    switch (h.bits) {
        case 1: case 4: case 8: case 16: case 24: case 32: break;
        default: Invalid(IntToStr(h.bits) + " bits per pixel are not supported");
    }
    if (h.compression == BI_RLE8 || h.compression == BI_RLE4)
        Invalid("run-length compressed bitmaps are not supported");
    if (h.compression == BI_BITFIELDS && h.bits != 16 && h.bits != 32)
        Invalid("colour masks need 16 or 32 bits per pixel");
    if (h.compression != BI_RGB && h.compression != BI_BITFIELDS)
        Invalid("compression " + IntToStr(h.compression) + " is not supported");
}

int PaletteCount(const Header& h) {
    if (h.bits > 8) return 0;
    int full = 1 << h.bits;
    if (h.core || h.colorsUsed == 0) return full;
    if (h.colorsUsed > 256) Invalid("the palette has " + IntToStr(h.colorsUsed) + " colours");
    return static_cast<int>(h.colorsUsed);
}

int MaskShift(std::uint32_t m) {
    int s = 0;
    while (m != 0 && (m & 1) == 0) { m >>= 1; ++s; }
    return s;
}
int MaskBits(std::uint32_t m) {
    m >>= MaskShift(m);
    int n = 0;
    while (m & 1) { m >>= 1; ++n; }
    return n;
}
Byte Channel(std::uint32_t px, std::uint32_t mask) {
    if (mask == 0) return 0;
    int bits = MaskBits(mask);
    std::uint32_t v = (px & mask) >> MaskShift(mask);
    std::uint32_t maxv = (bits >= 32) ? 0xFFFFFFFFu : ((1u << bits) - 1);
    return static_cast<Byte>((static_cast<std::uint64_t>(v) * 255 + maxv / 2) / maxv);
}

// Chooses how a file's pixels are kept: as they are, or converted through their masks.
TPixelFormat TargetFormat(const Header& h, bool& convert) {
    convert = false;
    switch (h.bits) {
        case 1: return pf1bit;
        case 4: return pf4bit;
        case 8: return pf8bit;
        case 24: return pf24bit;
        case 16:
            if (h.compression == BI_RGB) return pf15bit;
            if (h.masks[0] == 0x7C00 && h.masks[1] == 0x03E0 && h.masks[2] == 0x001F) return pf15bit;
            if (h.masks[0] == 0xF800 && h.masks[1] == 0x07E0 && h.masks[2] == 0x001F) return pf16bit;
            convert = true;
            return pf24bit;
        default:
            if (h.compression == BI_RGB) return pf32bit;
            if (h.masks[0] == 0xFF0000 && h.masks[1] == 0xFF00 && h.masks[2] == 0xFF) return pf32bit;
            convert = true;
            return pf32bit;
    }
}

TBmpImage Decode(const Byte* d, std::size_t size, const Byte* pixels, std::size_t pixelsAvail,
                 const Header& h, const Byte* palette, std::size_t paletteAvail) {
    CheckHeader(h);
    TBmpImage img;
    img.Width = static_cast<int>(h.width);
    img.Height = static_cast<int>(h.height < 0 ? -h.height : h.height);
    (void)d;
    (void)size;

    int count = PaletteCount(h);
    std::size_t entry = h.core ? 3 : 4;
    if (static_cast<std::uint64_t>(count) * entry > paletteAvail) Invalid("the palette is truncated");
    int keep = h.bits <= 8 ? std::min(count, 1 << h.bits) : 0;
    for (int i = 0; i < keep; ++i) {
        const Byte* p = palette + i * entry;
        img.Palette.push_back(TRGBQuad{p[0], p[1], p[2], 0});
    }
    if (h.bits <= 8 && img.Palette.empty()) Invalid("the palette is empty");

    std::uint64_t srcStride = ((static_cast<std::uint64_t>(h.width) * h.bits + 31) / 32) * 4;
    std::uint64_t total = srcStride * static_cast<std::uint64_t>(img.Height);
    if (total > BmpMaxBytes) Invalid("the pixel data is too large");
    if (total > pixelsAvail) Invalid("the file is shorter than its pixel data");

    bool convert = false;
    img.Format = TargetFormat(h, convert);
    std::size_t dstStride = static_cast<std::size_t>(BytesPerScanline(img.Width, PixelFormatBits(img.Format), 32));
    img.Bits.assign(dstStride * static_cast<std::size_t>(img.Height), 0);
    for (int row = 0; row < img.Height; ++row) {
        // Stored rows go bottom-up; a top-down file's first row is the top one.
        int srcRow = h.height < 0 ? img.Height - 1 - row : row;
        const Byte* src = pixels + srcStride * static_cast<std::uint64_t>(srcRow);
        Byte* dst = img.Bits.data() + dstStride * static_cast<std::size_t>(row);
        if (!convert) {
            std::memcpy(dst, src, static_cast<std::size_t>(srcStride));
            continue;
        }
        int bpp = h.bits / 8;
        int outBpp = PixelFormatBits(img.Format) / 8;
        for (int x = 0; x < img.Width; ++x) {
            std::uint32_t px = bpp == 2 ? U16(src + 2 * x) : U32(src + 4 * x);
            dst[x * outBpp + 0] = Channel(px, h.masks[2]);
            dst[x * outBpp + 1] = Channel(px, h.masks[1]);
            dst[x * outBpp + 2] = Channel(px, h.masks[0]);
        }
    }
    return img;
}

}  // namespace

TBmpImage Bmp_DecodeFile(const Byte* Data, std::size_t Size) {
    if (Data == nullptr || Size < FileHeaderSize) Invalid("the file is too short");
    if (Data[0] != 'B' || Data[1] != 'M') Invalid("the signature is not BM");
    std::uint32_t offBits = U32(Data + 10);
    const Byte* dib = Data + FileHeaderSize;
    std::size_t dibSize = Size - FileHeaderSize;
    Header h = ReadHeader(dib, dibSize);
    std::size_t paletteStart = h.headerSize;
    if (paletteStart > dibSize) Invalid("the header is truncated");
    std::uint64_t pixelStart = offBits;
    std::uint64_t minStart = FileHeaderSize + h.headerSize;
    if (pixelStart == 0) {
        // Some writers leave the offset empty: the pixels follow the palette.
        pixelStart = minStart + static_cast<std::uint64_t>(PaletteCount(h)) * (h.core ? 3 : 4);
    }
    if (pixelStart < minStart || pixelStart > Size) Invalid("the pixel offset " + IntToStr(static_cast<Int64>(offBits)) + " is out of the file");
    std::size_t paletteAvail = static_cast<std::size_t>(pixelStart - minStart);
    return Decode(Data, Size, Data + pixelStart, Size - static_cast<std::size_t>(pixelStart), h,
                  dib + paletteStart, paletteAvail);
}

TBmpImage Bmp_DecodeDib(const Byte* Data, std::size_t Size) {
    if (Data == nullptr) Invalid("no data");
    Header h = ReadHeader(Data, Size);
    if (h.headerSize > Size) Invalid("the header is truncated");
    CheckHeader(h);
    std::uint64_t paletteBytes = static_cast<std::uint64_t>(PaletteCount(h)) * (h.core ? 3 : 4);
    std::uint64_t pixelStart = h.headerSize + paletteBytes;
    if (pixelStart > Size) Invalid("the palette is truncated");
    return Decode(Data, Size, Data + pixelStart, Size - static_cast<std::size_t>(pixelStart), h,
                  Data + h.headerSize, static_cast<std::size_t>(paletteBytes));
}

TBmpImage Bmp_Decode(const Byte* Data, std::size_t Size) {
    if (Data != nullptr && Size >= 2 && Data[0] == 'B' && Data[1] == 'M') return Bmp_DecodeFile(Data, Size);
    return Bmp_DecodeDib(Data, Size);
}

std::vector<Byte> Bmp_Encode(const TBmpImage& Image) {
    if (Image.Width <= 0 || Image.Height <= 0) throw EInvalidGraphic("Cannot save an empty bitmap");
    int bits = PixelFormatBits(Image.Format);
    std::size_t stride = static_cast<std::size_t>(BytesPerScanline(Image.Width, bits, 32));
    std::size_t pixelBytes = stride * static_cast<std::size_t>(Image.Height);
    if (Image.Bits.size() < pixelBytes) throw EInvalidGraphic("Bitmap image is not valid: pixel data missing");
    bool palette = bits <= 8;
    bool fields = Image.Format == pf16bit;
    std::size_t paletteBytes = palette ? Image.Palette.size() * 4 : 0;
    std::size_t offBits = FileHeaderSize + InfoHeaderSize + (fields ? 12 : 0) + paletteBytes;

    std::vector<Byte> out;
    out.reserve(offBits + pixelBytes);
    out.push_back('B');
    out.push_back('M');
    Put32(out, static_cast<std::uint32_t>(offBits + pixelBytes));
    Put32(out, 0);
    Put32(out, static_cast<std::uint32_t>(offBits));
    Put32(out, InfoHeaderSize);
    Put32(out, static_cast<std::uint32_t>(Image.Width));
    Put32(out, static_cast<std::uint32_t>(Image.Height));
    Put16(out, 1);
    Put16(out, static_cast<std::uint32_t>(bits));
    Put32(out, fields ? BI_BITFIELDS : BI_RGB);
    Put32(out, static_cast<std::uint32_t>(pixelBytes));
    Put32(out, 3780);  // 96 dpi
    Put32(out, 3780);
    Put32(out, palette ? static_cast<std::uint32_t>(Image.Palette.size()) : 0);
    Put32(out, 0);
    if (fields) {
        Put32(out, 0xF800);
        Put32(out, 0x07E0);
        Put32(out, 0x001F);
    }
    if (palette) {
        for (const TRGBQuad& q : Image.Palette) {
            out.push_back(q.rgbBlue);
            out.push_back(q.rgbGreen);
            out.push_back(q.rgbRed);
            out.push_back(0);
        }
    }
    out.insert(out.end(), Image.Bits.begin(), Image.Bits.begin() + static_cast<std::ptrdiff_t>(pixelBytes));
    return out;
}
