// TBitmap: the DIB memory, pixel formats and BMP loading and saving.
#include "platform/vcl/Graphics.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "platform/vcl/BmpCodec.h"

namespace {

std::vector<TRGBQuad> StandardPalette(int bits) {
    std::vector<TRGBQuad> p;
    auto add = [&p](int r, int g, int b) {
        p.push_back(TRGBQuad{static_cast<Byte>(b), static_cast<Byte>(g), static_cast<Byte>(r), 0});
    };
    if (bits == 1) {
        add(0, 0, 0);
        add(255, 255, 255);
    } else if (bits == 4) {
        const int vga[16][3] = {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                                {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {128, 128, 128},
                                {192, 192, 192}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                                {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
        for (const auto& c : vga) add(c[0], c[1], c[2]);
    } else {
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b) add(r * 51, g * 51, b * 51);
        for (int i = 0; i < 40; ++i) {
            int v = (i * 255 + 20) / 39;
            add(v, v, v);
        }
    }
    return p;
}

bool IsPaletteFormat(TPixelFormat f) { return f == pf1bit || f == pf4bit || f == pf8bit; }

int PaletteIndex(const Byte* row, int x, int bits) {
    switch (bits) {
        case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
        case 4: return (x & 1) ? (row[x >> 1] & 0x0F) : (row[x >> 1] >> 4);
        default: return row[x];
    }
}

void SetPaletteIndex(Byte* row, int x, int bits, int index) {
    switch (bits) {
        case 1: {
            Byte m = static_cast<Byte>(0x80 >> (x & 7));
            row[x >> 3] = static_cast<Byte>(index ? (row[x >> 3] | m) : (row[x >> 3] & ~m));
            break;
        }
        case 4:
            if (x & 1) row[x >> 1] = static_cast<Byte>((row[x >> 1] & 0xF0) | (index & 0x0F));
            else row[x >> 1] = static_cast<Byte>((row[x >> 1] & 0x0F) | ((index & 0x0F) << 4));
            break;
        default: row[x] = static_cast<Byte>(index);
    }
}

Byte Expand5(int v) { return static_cast<Byte>((v * 255 + 15) / 31); }
Byte Expand6(int v) { return static_cast<Byte>((v * 255 + 31) / 63); }

COLORREF ReadPixel(const Byte* row, int x, TPixelFormat f, const std::vector<TRGBQuad>& pal) {
    switch (f) {
        case pf1bit:
        case pf4bit:
        case pf8bit: {
            auto i = static_cast<size_t>(PaletteIndex(row, x, PixelFormatBits(f)));
            if (i >= pal.size()) return 0;
            return RGB(pal[i].rgbRed, pal[i].rgbGreen, pal[i].rgbBlue);
        }
        case pf15bit: {
            int v = row[2 * x] | (row[2 * x + 1] << 8);
            return RGB(Expand5((v >> 10) & 31), Expand5((v >> 5) & 31), Expand5(v & 31));
        }
        case pf16bit: {
            int v = row[2 * x] | (row[2 * x + 1] << 8);
            return RGB(Expand5((v >> 11) & 31), Expand6((v >> 5) & 63), Expand5(v & 31));
        }
        case pf24bit: {
            const Byte* p = row + 3 * x;
            return RGB(p[2], p[1], p[0]);
        }
        default: {
            const Byte* p = row + 4 * x;
            return RGB(p[2], p[1], p[0]);
        }
    }
}

int Nearest(const std::vector<TRGBQuad>& pal, COLORREF c) {
    int best = 0;
    long bestDist = -1;
    for (size_t i = 0; i < pal.size(); ++i) {
        long dr = static_cast<long>(pal[i].rgbRed) - GetRValue(c);
        long dg = static_cast<long>(pal[i].rgbGreen) - GetGValue(c);
        long db = static_cast<long>(pal[i].rgbBlue) - GetBValue(c);
        long d = dr * dr + dg * dg + db * db;
        if (bestDist < 0 || d < bestDist) {
            bestDist = d;
            best = static_cast<int>(i);
        }
    }
    return best;
}

void WritePixel(Byte* row, int x, TPixelFormat f, COLORREF c, const std::vector<TRGBQuad>& pal,
                std::unordered_map<COLORREF, int>& cache) {
    switch (f) {
        case pf1bit:
        case pf4bit:
        case pf8bit: {
            auto it = cache.find(c);
            int idx = it != cache.end() ? it->second : (cache[c] = Nearest(pal, c));
            SetPaletteIndex(row, x, PixelFormatBits(f), idx);
            break;
        }
        case pf15bit: {
            int v = ((GetRValue(c) >> 3) << 10) | ((GetGValue(c) >> 3) << 5) | (GetBValue(c) >> 3);
            row[2 * x] = static_cast<Byte>(v);
            row[2 * x + 1] = static_cast<Byte>(v >> 8);
            break;
        }
        case pf16bit: {
            int v = ((GetRValue(c) >> 3) << 11) | ((GetGValue(c) >> 2) << 5) | (GetBValue(c) >> 3);
            row[2 * x] = static_cast<Byte>(v);
            row[2 * x + 1] = static_cast<Byte>(v >> 8);
            break;
        }
        case pf24bit: {
            Byte* p = row + 3 * x;
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
            break;
        }
        default: {
            Byte* p = row + 4 * x;
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
            p[3] = 0;
        }
    }
}

// Fills a new block with white (index of white, or 0, for palette formats).
void FillWhite(std::vector<Byte>& bits, int width, int height, TPixelFormat f,
               const std::vector<TRGBQuad>& pal) {
    if (bits.empty()) return;
    int stride = BytesPerScanline(width, PixelFormatBits(f), 32);
    if (f == pf24bit || f == pf15bit || f == pf16bit) {
        std::fill(bits.begin(), bits.end(), Byte{0xFF});
        return;
    }
    std::unordered_map<COLORREF, int> cache;
    for (int y = 0; y < height; ++y) {
        Byte* row = bits.data() + static_cast<size_t>(y) * stride;
        if (IsPaletteFormat(f) && y > 0) {
            std::memcpy(row, bits.data(), static_cast<size_t>(stride));
            continue;
        }
        for (int x = 0; x < width; ++x) WritePixel(row, x, f, 0xFFFFFF, pal, cache);
    }
}

void CheckSize(int w, int h) {
    if (w < 0 || h < 0 || w > BmpMaxSide || h > BmpMaxSide)
        throw EInvalidGraphicOperation("Invalid bitmap size " + IntToStr(w) + " x " + IntToStr(h));
}

}  // namespace

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int AWidth, int AHeight, TPixelFormat Format) {
    m_format = Format;
    if (IsPaletteFormat(Format)) m_palette = StandardPalette(PixelFormatBits(Format));
    Resize(AWidth, AHeight);
}

TBitmap::~TBitmap() = default;

void TBitmap::Assign(TPersistent* Source) {
    if (Source == nullptr) {
        SetImage(0, 0, m_format, {}, {});
        return;
    }
    if (auto* b = dynamic_cast<TBitmap*>(Source)) {
        if (b == this) return;
        m_width = b->m_width;
        m_height = b->m_height;
        m_format = b->m_format;
        m_bits = b->m_bits;
        m_palette = b->m_palette;
        m_transparentColor = b->m_transparentColor;
        m_transparentMode = b->m_transparentMode;
        bool t = b->GetTransparent();
        if (t != GetTransparent()) TGraphic::SetTransparent(t);
        Changed();
        return;
    }
    TPersistent::Assign(Source);
}

int TBitmap::RowStride() const { return BytesPerScanline(m_width, BitsPerPixel(), 32); }

void TBitmap::SetWidth(int v) { SetSize(v, m_height); }
void TBitmap::SetHeight(int v) { SetSize(m_width, v); }

void TBitmap::SetSize(int AWidth, int AHeight) {
    CheckSize(AWidth, AHeight);
    if (AWidth == m_width && AHeight == m_height) return;
    Resize(AWidth, AHeight);
    Changed();
}

void TBitmap::Resize(int AWidth, int AHeight) {
    CheckSize(AWidth, AHeight);
    if (IsPaletteFormat(m_format) && m_palette.empty()) m_palette = StandardPalette(BitsPerPixel());
    int bits = BitsPerPixel();
    int newStride = BytesPerScanline(AWidth, bits, 32);
    std::vector<Byte> block(static_cast<size_t>(newStride) * static_cast<size_t>(AHeight));
    FillWhite(block, AWidth, AHeight, m_format, m_palette);
    int oldStride = RowStride();
    int rows = std::min(m_height, AHeight);
    size_t rowBytes = static_cast<size_t>(BytesPerScanline(std::min(m_width, AWidth), bits, 8));
    for (int y = 0; y < rows; ++y) {
        // Row y from the top sits at index (height - 1 - y) of a bottom-up block.
        const Byte* src = m_bits.data() + static_cast<size_t>(m_height - 1 - y) * oldStride;
        Byte* dst = block.data() + static_cast<size_t>(AHeight - 1 - y) * newStride;
        std::memcpy(dst, src, rowBytes);
    }
    m_bits = std::move(block);
    m_width = AWidth;
    m_height = AHeight;
}

void TBitmap::SetPixelFormat(TPixelFormat v) {
    if (v == pfCustom) v = pf32bit;
    if (v == m_format) return;
    Convert(v);
    Changed();
}

void TBitmap::Convert(TPixelFormat To) {
    std::vector<TRGBQuad> pal = IsPaletteFormat(To) ? StandardPalette(PixelFormatBits(To)) : std::vector<TRGBQuad>{};
    if (PixelFormatBits(To) == BitsPerPixel() && !IsPaletteFormat(To) && To != pf15bit && To != pf16bit) {
        m_format = To;  // pfDevice and pf32bit share one layout
        return;
    }
    int stride = BytesPerScanline(m_width, PixelFormatBits(To), 32);
    std::vector<Byte> block(static_cast<size_t>(stride) * static_cast<size_t>(m_height));
    int oldStride = RowStride();
    std::unordered_map<COLORREF, int> cache;
    for (int y = 0; y < m_height; ++y) {
        const Byte* src = m_bits.data() + static_cast<size_t>(y) * oldStride;
        Byte* dst = block.data() + static_cast<size_t>(y) * stride;
        for (int x = 0; x < m_width; ++x) WritePixel(dst, x, To, ReadPixel(src, x, m_format, m_palette), pal, cache);
    }
    m_bits = std::move(block);
    m_palette = std::move(pal);
    m_format = To;
}

void TBitmap::PrepareForDrawing() {
    if (m_format == pf24bit || m_format == pf32bit || m_format == pfDevice) return;
    Convert(pf24bit);
}

void* TBitmap::ScanLine(int Row) {
    return const_cast<void*>(static_cast<const TBitmap*>(this)->ScanLine(Row));
}

const void* TBitmap::ScanLine(int Row) const {
    if (Row < 0 || Row >= m_height || m_width == 0)
        throw EInvalidGraphicOperation("Scan line index out of range");
    return m_bits.data() + static_cast<size_t>(m_height - 1 - Row) * RowStride();
}

void TBitmap::SetPalette(const std::vector<TRGBQuad>& Palette) {
    if (!IsPaletteFormat(m_format)) throw EInvalidGraphicOperation("The bitmap has no palette");
    if (Palette.empty() || Palette.size() > (size_t{1} << BitsPerPixel()))
        throw EInvalidGraphicOperation("Invalid palette size " + IntToStr(static_cast<int>(Palette.size())));
    m_palette = Palette;
    Changed();
}

COLORREF TBitmap::GetPixelColor(int X, int Y) const {
    if (X < 0 || Y < 0 || X >= m_width || Y >= m_height) return CLR_INVALID;
    const Byte* row = m_bits.data() + static_cast<size_t>(m_height - 1 - Y) * RowStride();
    return ReadPixel(row, X, m_format, m_palette);
}

TColor TBitmap::GetTransparentColor() const {
    if (m_transparentMode == tmFixed) return m_transparentColor;
    if (GetEmpty()) return clDefault;
    return static_cast<TColor>(GetPixelColor(0, m_height - 1));
}

void TBitmap::SetTransparentColor(TColor v) {
    m_transparentColor = v;
    m_transparentMode = v == clDefault ? tmAuto : tmFixed;
    Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode v) {
    if (v == m_transparentMode) return;
    m_transparentMode = v;
    if (v == tmAuto) m_transparentColor = clDefault;
    Changed();
}

void TBitmap::SetImage(int AWidth, int AHeight, TPixelFormat Format, std::vector<Byte> Bits,
                       std::vector<TRGBQuad> Palette) {
    CheckSize(AWidth, AHeight);
    size_t need = static_cast<size_t>(BytesPerScanline(AWidth, PixelFormatBits(Format), 32)) * static_cast<size_t>(AHeight);
    if (Bits.size() != need) throw EInvalidGraphicOperation("Pixel block of the wrong size");
    m_width = AWidth;
    m_height = AHeight;
    m_format = Format;
    m_bits = std::move(Bits);
    m_palette = std::move(Palette);
    if (IsPaletteFormat(m_format) && m_palette.empty()) m_palette = StandardPalette(BitsPerPixel());
    if (!IsPaletteFormat(m_format)) m_palette.clear();
    Changed();
}

void TBitmap::LoadFromStream(TStream* Stream) {
    Int64 avail = Stream->GetSize() - Stream->GetPosition();
    if (avail <= 0) {
        SetImage(0, 0, m_format, {}, {});
        return;
    }
    // The file header tells the file's length, so a bitmap inside a longer stream leaves the
    // position just after itself.
    std::vector<Byte> data(static_cast<size_t>(std::min<Int64>(avail, 14)));
    Stream->ReadBuffer(data.data(), static_cast<Int64>(data.size()));
    Int64 total = avail;
    if (data.size() == 14 && data[0] == 'B' && data[1] == 'M') {
        Int64 declared = static_cast<Int64>(data[2]) | (static_cast<Int64>(data[3]) << 8) |
                         (static_cast<Int64>(data[4]) << 16) | (static_cast<Int64>(data[5]) << 24);
        if (declared > 14 + 12 && declared <= avail) total = declared;
    }
    if (total > static_cast<Int64>(BmpMaxBytes) + 65536) throw EInvalidGraphic("Bitmap image is not valid: the file is too large");
    data.resize(static_cast<size_t>(total));
    if (total > 14) Stream->ReadBuffer(data.data() + 14, total - 14);
    TBmpImage img = Bmp_DecodeFile(data.data(), data.size());
    SetImage(img.Width, img.Height, img.Format, std::move(img.Bits), std::move(img.Palette));
}

void TBitmap::SaveToStream(TStream* Stream) {
    if (GetEmpty()) return;
    TBmpImage img;
    img.Width = m_width;
    img.Height = m_height;
    img.Format = m_format;
    img.Palette = m_palette;
    img.Bits = m_bits;
    std::vector<Byte> file = Bmp_Encode(img);
    Stream->WriteBuffer(file.data(), static_cast<Int64>(file.size()));
}

void TBitmap::LoadFromResourceName(HINSTANCE, const String& ResName) {
    const Byte* data = nullptr;
    std::size_t size = 0;
    if (!Resources_Find(ResName, RT_BITMAP_NAME, data, size))
        throw EResNotFound("Resource " + ResName + " not found");
    TBmpImage img = Bmp_Decode(data, size);
    SetImage(img.Width, img.Height, img.Format, std::move(img.Bits), std::move(img.Palette));
}

TCanvas* TBitmap::GetCanvas() {
    if (!m_canvas) m_canvas = std::make_unique<TCanvas>(this);
    return m_canvas.get();
}

void TBitmap::Draw(TCanvas* ACanvas, const TRect& Rect) {
    if (ACanvas == nullptr || GetEmpty()) return;
    COLORREF key = ColorToRGB(GetTransparentColor());
    ACanvas->StretchCopy(Rect, *this, ::Rect(0, 0, m_width, m_height), GetTransparent(), key,
                         ACanvas->GetCopyMode());
}
