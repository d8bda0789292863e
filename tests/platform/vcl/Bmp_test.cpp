// BMP reading and writing, pixel layout and pixel formats of TBitmap.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <algorithm>
#include <memory>
#include <random>
#include <unistd.h>

#include "platform/vcl/BmpCodec.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/Streams.h"

namespace {

void Put16(std::vector<Byte>& v, unsigned x) {
    v.push_back(static_cast<Byte>(x));
    v.push_back(static_cast<Byte>(x >> 8));
}
void Put32(std::vector<Byte>& v, std::uint32_t x) {
    Put16(v, x & 0xFFFF);
    Put16(v, x >> 16);
}
void Poke32(std::vector<Byte>& v, size_t at, std::uint32_t x) {
    for (int i = 0; i < 4; ++i) v[at + i] = static_cast<Byte>(x >> (8 * i));
}

// A bitmap of the given format with pseudo-random pixels (and palette) and zeroed row padding.
std::unique_ptr<TBitmap> MakeRandom(int w, int h, TPixelFormat f, unsigned seed) {
    std::mt19937 rng(seed);
    int bits = PixelFormatBits(f);
    int stride = BytesPerScanline(w, bits, 32);
    int used = BytesPerScanline(w, bits, 8);
    std::vector<Byte> block(static_cast<size_t>(stride) * h, 0);
    for (int y = 0; y < h; ++y)
        for (int i = 0; i < used; ++i) block[static_cast<size_t>(y) * stride + i] = static_cast<Byte>(rng());
    if (bits < 8) {
        // Bits past the last pixel of a row are padding too.
        int tail = (w * bits) % 8;
        if (tail)
            for (int y = 0; y < h; ++y) block[static_cast<size_t>(y) * stride + used - 1] &= static_cast<Byte>(0xFF << (8 - tail));
    }
    std::vector<TRGBQuad> pal;
    if (bits <= 8)
        for (int i = 0; i < (1 << bits); ++i)
            pal.push_back(TRGBQuad{static_cast<Byte>(rng()), static_cast<Byte>(rng()), static_cast<Byte>(rng()), 0});
    auto b = std::make_unique<TBitmap>();
    b->SetImage(w, h, f, std::move(block), pal);
    return b;
}

std::vector<Byte> Save(TBitmap& b) {
    TMemoryStream s;
    b.SaveToStream(&s);
    return s.Data();
}

void Load(TBitmap& b, const std::vector<Byte>& data) {
    TMemoryStream s;
    if (!data.empty()) s.WriteBuffer(data.data(), static_cast<Int64>(data.size()));
    s.SetPosition(0);
    b.LoadFromStream(&s);
}

// Re-encodes a bottom-up file top-down (negative height, rows reversed).
std::vector<Byte> TopDown(const std::vector<Byte>& file) {
    std::uint32_t off = file[10] | (file[11] << 8) | (file[12] << 16) | (static_cast<std::uint32_t>(file[13]) << 24);
    std::int32_t w = static_cast<std::int32_t>(file[18] | (file[19] << 8) | (file[20] << 16) | (file[21] << 24));
    std::int32_t h = static_cast<std::int32_t>(file[22] | (file[23] << 8) | (file[24] << 16) | (file[25] << 24));
    int bits = file[28] | (file[29] << 8);
    size_t stride = static_cast<size_t>(BytesPerScanline(w, bits, 32));
    std::vector<Byte> out(file.begin(), file.begin() + off);
    Poke32(out, 22, static_cast<std::uint32_t>(-h));
    for (int y = h - 1; y >= 0; --y)
        out.insert(out.end(), file.begin() + off + y * stride, file.begin() + off + (y + 1) * stride);
    return out;
}

struct DepthCase {
    TPixelFormat format;
    int width;
    int height;
};

class BmpRoundTrip : public ::testing::TestWithParam<DepthCase> {};

TEST_P(BmpRoundTrip, SaveThenLoadKeepsFormatPaletteAndEveryByte) {
    const DepthCase c = GetParam();
    auto src = MakeRandom(c.width, c.height, c.format, 7);
    std::vector<Byte> file = Save(*src);
    TBitmap back;
    Load(back, file);
    EXPECT_EQ(back.GetWidth(), c.width);
    EXPECT_EQ(back.GetHeight(), c.height);
    EXPECT_EQ(back.GetPixelFormat(), c.format);
    EXPECT_EQ(back.GetPalette(), src->GetPalette());
    ASSERT_EQ(back.BitsSize(), src->BitsSize());
    EXPECT_EQ(0, std::memcmp(back.Bits(), src->Bits(), src->BitsSize()));
    // Saving again gives the same file.
    EXPECT_EQ(Save(back), file);
}

TEST_P(BmpRoundTrip, TopDownFileGivesTheSamePixels) {
    const DepthCase c = GetParam();
    auto src = MakeRandom(c.width, c.height, c.format, 11);
    TBitmap back;
    Load(back, TopDown(Save(*src)));
    EXPECT_EQ(back.GetPixelFormat(), c.format);
    ASSERT_EQ(back.BitsSize(), src->BitsSize());
    EXPECT_EQ(0, std::memcmp(back.Bits(), src->Bits(), src->BitsSize()));
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) ASSERT_EQ(back.GetPixelColor(x, y), src->GetPixelColor(x, y)) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(Depths, BmpRoundTrip,
                         ::testing::Values(DepthCase{pf1bit, 13, 5}, DepthCase{pf4bit, 7, 4}, DepthCase{pf8bit, 5, 3},
                                           DepthCase{pf15bit, 3, 3}, DepthCase{pf16bit, 5, 2},
                                           DepthCase{pf24bit, 5, 4}, DepthCase{pf32bit, 3, 6},
                                           DepthCase{pf24bit, 1, 1}, DepthCase{pf1bit, 32, 1}));

TEST(BmpFormat, HeaderFieldsOfA24BitFile) {
    TBitmap b(3, 2, pf24bit);
    std::vector<Byte> f = Save(b);
    ASSERT_GE(f.size(), 54u);
    EXPECT_EQ(f[0], 'B');
    EXPECT_EQ(f[1], 'M');
    EXPECT_EQ(f.size(), 54u + 2 * 12);  // rows of 9 bytes padded to 12
    EXPECT_EQ(f[10], 54);               // pixels right after the headers
    EXPECT_EQ(f[14], 40);               // BITMAPINFOHEADER
    EXPECT_EQ(f[28], 24);
}

TEST(BmpFormat, PaletteFileStoresItsPalette) {
    auto b = MakeRandom(4, 4, pf8bit, 3);
    std::vector<Byte> f = Save(*b);
    EXPECT_EQ(f[28], 8);
    EXPECT_EQ(f[10] | (f[11] << 8), 54 + 256 * 4);
}

TEST(BmpFormat, ReadsAShortPaletteAndCoreHeader) {
    // 2x1, 8 bits, 2 palette entries (biClrUsed = 2).
    std::vector<Byte> f{'B', 'M'};
    Put32(f, 0); Put32(f, 0); Put32(f, 14 + 40 + 8);
    Put32(f, 40); Put32(f, 2); Put32(f, 1); Put16(f, 1); Put16(f, 8); Put32(f, 0); Put32(f, 4);
    Put32(f, 0); Put32(f, 0); Put32(f, 2); Put32(f, 0);
    Put32(f, 0x000000FF); Put32(f, 0x0000FF00);  // blue, green
    f.insert(f.end(), {1, 0, 0, 0});
    TBitmap b;
    Load(b, f);
    EXPECT_EQ(b.GetPixelFormat(), pf8bit);
    EXPECT_EQ(b.GetPalette().size(), 2u);
    EXPECT_EQ(b.GetPixelColor(0, 0), RGB(0, 255, 0));
    EXPECT_EQ(b.GetPixelColor(1, 0), RGB(0, 0, 255));

    // OS/2 core header: 1x1, 24 bits.
    std::vector<Byte> core{'B', 'M'};
    Put32(core, 0); Put32(core, 0); Put32(core, 26);
    Put32(core, 12); Put16(core, 1); Put16(core, 1); Put16(core, 1); Put16(core, 24);
    core.insert(core.end(), {0x30, 0x20, 0x10, 0});
    Load(b, core);
    EXPECT_EQ(b.GetPixelColor(0, 0), RGB(0x10, 0x20, 0x30));
}

TEST(BmpFormat, BitfieldsWithOddMasksConvert) {
    // 1x1 32-bit with masks R=0x000000FF G=0x0000FF00 B=0x00FF0000 (RGBX order).
    std::vector<Byte> f{'B', 'M'};
    Put32(f, 0); Put32(f, 0); Put32(f, 14 + 40 + 12);
    Put32(f, 40); Put32(f, 1); Put32(f, 1); Put16(f, 1); Put16(f, 32); Put32(f, 3); Put32(f, 4);
    Put32(f, 0); Put32(f, 0); Put32(f, 0); Put32(f, 0);
    Put32(f, 0xFF); Put32(f, 0xFF00); Put32(f, 0xFF0000);
    f.insert(f.end(), {0x11, 0x22, 0x33, 0});
    TBitmap b;
    Load(b, f);
    EXPECT_EQ(b.GetPixelColor(0, 0), RGB(0x11, 0x22, 0x33));
}

// ---- layout -------------------------------------------------------------------------------------

TEST(BitmapLayout, ScanLinesAreBottomUpPaddedBgr) {
    TBitmap b(5, 3, pf24bit);
    ASSERT_EQ(b.RowStride(), 16);  // 15 bytes padded to 16
    Byte* block = b.Bits();
    EXPECT_EQ(b.ScanLine(2), block);                    // the bottom row starts the block
    EXPECT_EQ(b.ScanLine(1), block + 16);
    EXPECT_EQ(b.ScanLine(0), block + 32);               // the top row is the last
    EXPECT_EQ(b.BitsSize(), 48u);
    auto* top = static_cast<TRGBTriple*>(b.ScanLine(0));
    top[1] = TRGBTriple{0x01, 0x02, 0x03};              // blue, green, red
    EXPECT_EQ(b.GetPixelColor(1, 0), RGB(3, 2, 1));
    EXPECT_EQ(b.GetCanvas()->GetPixels(1, 0), static_cast<TColor>(RGB(3, 2, 1)));
}

TEST(BitmapLayout, StridesOfEveryFormat) {
    struct Row { TPixelFormat f; int width; int stride; };
    const Row rows[] = {{pf1bit, 33, 8}, {pf4bit, 9, 8}, {pf8bit, 5, 8}, {pf15bit, 3, 8},
                        {pf16bit, 2, 4}, {pf24bit, 1, 4}, {pf24bit, 4, 12}, {pf32bit, 3, 12}, {pfDevice, 3, 12}};
    for (const Row& r : rows) {
        TBitmap b(r.width, 2, r.f);
        EXPECT_EQ(b.RowStride(), r.stride) << r.f;
        EXPECT_EQ(b.BitsSize(), static_cast<size_t>(2 * r.stride)) << r.f;
        EXPECT_EQ(static_cast<Byte*>(b.ScanLine(1)), b.Bits()) << r.f;
    }
}

TEST(BitmapLayout, ScanLineOutOfRangeRaises) {
    TBitmap b(2, 2, pf24bit);
    EXPECT_THROW(b.ScanLine(-1), EInvalidGraphicOperation);
    EXPECT_THROW(b.ScanLine(2), EInvalidGraphicOperation);
    TBitmap empty;
    EXPECT_THROW(empty.ScanLine(0), EInvalidGraphicOperation);
}

TEST(BitmapLayout, GrowingKeepsTopLeftAndFillsWhite) {
    TBitmap b(2, 2, pf24bit);
    b.GetCanvas()->SetPixels(0, 0, clRed);
    b.GetCanvas()->SetPixels(1, 1, clBlue);
    b.SetSize(4, 3);
    EXPECT_EQ(b.GetPixelColor(0, 0), static_cast<COLORREF>(clRed));
    EXPECT_EQ(b.GetPixelColor(1, 1), static_cast<COLORREF>(clBlue));
    EXPECT_EQ(b.GetPixelColor(3, 2), 0xFFFFFFu);
    EXPECT_EQ(b.GetPixelColor(2, 0), 0xFFFFFFu);
    b.SetSize(1, 1);
    EXPECT_EQ(b.GetPixelColor(0, 0), static_cast<COLORREF>(clRed));
    EXPECT_THROW(b.SetSize(-1, 2), EInvalidGraphicOperation);
    EXPECT_THROW(b.SetSize(100000, 2), EInvalidGraphicOperation);
}

TEST(BitmapFormats, ConversionsKeepColoursThatTheTargetHas) {
    const TColor colours[] = {clBlack, clWhite, clRed, clLime, clBlue, clYellow, clAqua, clFuchsia};
    const TPixelFormat formats[] = {pf4bit, pf8bit, pf15bit, pf16bit, pf32bit, pfDevice, pf24bit};
    for (TPixelFormat f : formats) {
        TBitmap b(8, 1, pf24bit);
        for (int x = 0; x < 8; ++x) b.GetCanvas()->SetPixels(x, 0, colours[x]);
        b.SetPixelFormat(f);
        EXPECT_EQ(b.GetPixelFormat(), f);
        b.SetPixelFormat(pf24bit);
        for (int x = 0; x < 8; ++x) EXPECT_EQ(b.GetPixelColor(x, 0), static_cast<COLORREF>(colours[x])) << f << " " << x;
    }
}

TEST(BitmapFormats, DrawingOnAPaletteBitmapConvertsTo24Bit) {
    auto b = MakeRandom(6, 4, pf8bit, 5);
    COLORREF before = b->GetPixelColor(3, 2);
    b->GetCanvas()->SetPixels(0, 0, clRed);
    EXPECT_EQ(b->GetPixelFormat(), pf24bit);
    EXPECT_EQ(b->GetPixelColor(3, 2), before);
    EXPECT_EQ(b->GetPixelColor(0, 0), static_cast<COLORREF>(clRed));
}

TEST(BitmapFormats, TransparentColourDefaultsToTheBottomLeftPixel) {
    TBitmap b(3, 3, pf24bit);
    b.GetCanvas()->SetPixels(0, 2, clLime);
    EXPECT_EQ(b.GetTransparentMode(), tmAuto);
    EXPECT_EQ(b.GetTransparentColor(), clLime);
    b.SetTransparentColor(clRed);
    EXPECT_EQ(b.GetTransparentMode(), tmFixed);
    EXPECT_EQ(b.GetTransparentColor(), clRed);
    b.SetTransparentMode(tmAuto);
    EXPECT_EQ(b.GetTransparentColor(), clLime);
}

TEST(BitmapCopies, AssignIsDeep) {
    auto a = MakeRandom(4, 4, pf24bit, 9);
    TBitmap b;
    b.Assign(a.get());
    a->GetCanvas()->SetPixels(0, 0, clRed);
    EXPECT_NE(b.GetPixelColor(0, 0), a->GetPixelColor(0, 0));
    EXPECT_EQ(b.GetPixelColor(3, 3), a->GetPixelColor(3, 3));
    b.Assign(nullptr);
    EXPECT_TRUE(b.GetEmpty());
}

// ---- streams and files --------------------------------------------------------------------------

TEST(BmpStreams, LoadStopsAtTheEndOfTheBitmap) {
    auto a = MakeRandom(3, 3, pf24bit, 1);
    TMemoryStream s;
    a->SaveToStream(&s);
    Int64 end = s.GetPosition();
    const char tail[] = "tail";
    s.WriteBuffer(tail, 4);
    s.SetPosition(0);
    TBitmap b;
    b.LoadFromStream(&s);
    EXPECT_EQ(s.GetPosition(), end);
    EXPECT_EQ(b.GetPixelColor(2, 2), a->GetPixelColor(2, 2));
}

TEST(BmpStreams, FileRoundTripAndMissingFile) {
    char dir[] = "/tmp/bmptestXXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    String path = String(dir) + "/x.bmp";
    auto a = MakeRandom(7, 5, pf4bit, 4);
    a->SaveToFile(path);
    TBitmap b;
    b.LoadFromFile(path);
    EXPECT_EQ(b.GetPixelFormat(), pf4bit);
    EXPECT_EQ(0, std::memcmp(a->Bits(), b.Bits(), a->BitsSize()));
    EXPECT_THROW(b.LoadFromFile(String(dir) + "/missing.bmp"), EStreamError);
    std::remove(path.c_str());
    rmdir(dir);
}

TEST(BmpStreams, EmptyBitmapSavesNothingAndLoadsEmpty) {
    TBitmap e;
    EXPECT_TRUE(Save(e).empty());
    TBitmap b(2, 2);
    Load(b, {});
    EXPECT_TRUE(b.GetEmpty());
}

// ---- damaged files ------------------------------------------------------------------------------

std::vector<Byte> ValidFile() {
    auto b = MakeRandom(6, 4, pf8bit, 21);
    return Save(*b);
}

struct Damage {
    const char* what;
    std::function<void(std::vector<Byte>&)> apply;
};

class BmpDamage : public ::testing::TestWithParam<Damage> {};

TEST_P(BmpDamage, RaisesInvalidGraphic) {
    std::vector<Byte> f = ValidFile();
    GetParam().apply(f);
    TBitmap b;
    try {
        Load(b, f);
        FAIL() << GetParam().what << ": loaded";
    } catch (const EInvalidGraphic& e) {
        EXPECT_NE(String(e.what()).find("Bitmap image is not valid"), String::npos) << e.what();
    }
    EXPECT_THROW(Bmp_Decode(f.data(), f.size()), EInvalidGraphic) << GetParam().what;
}

const Damage Damages[] = {
    {"truncated pixels", [](auto& f) { f.resize(f.size() - 1); }},
    {"only the file header", [](auto& f) { f.resize(14); }},
    {"half a header", [](auto& f) { f.resize(30); }},
    {"palette cut", [](auto& f) { f.resize(54 + 100); }},
    {"signature", [](auto& f) { f[1] = 'X'; }},
    {"zero width", [](auto& f) { Poke32(f, 18, 0); }},
    {"negative width", [](auto& f) { Poke32(f, 18, static_cast<std::uint32_t>(-5)); }},
    {"zero height", [](auto& f) { Poke32(f, 22, 0); }},
    {"huge width", [](auto& f) { Poke32(f, 18, 0x7FFFFFFF); }},
    {"huge height", [](auto& f) { Poke32(f, 22, 0x7FFFFFFF); }},
    {"INT_MIN height", [](auto& f) { Poke32(f, 22, 0x80000000u); }},
    {"area beyond the file", [](auto& f) { Poke32(f, 18, 30000); Poke32(f, 22, 30000); }},
    {"bit count 7", [](auto& f) { f[28] = 7; }},
    {"bit count 0", [](auto& f) { f[28] = 0; }},
    {"two planes", [](auto& f) { f[26] = 2; }},
    {"RLE8", [](auto& f) { f[30] = 1; }},
    {"unknown compression", [](auto& f) { f[30] = 9; }},
    {"bitfields on 8 bits", [](auto& f) { f[30] = 3; }},
    {"header size 0", [](auto& f) { Poke32(f, 14, 0); }},
    {"header size huge", [](auto& f) { Poke32(f, 14, 0x10000000); }},
    {"pixel offset past the end", [](auto& f) { Poke32(f, 10, 0x00FFFFFF); }},
    {"pixel offset inside the header", [](auto& f) { Poke32(f, 10, 20); }},
    {"1000 palette colours", [](auto& f) { Poke32(f, 46, 1000); }},
};

INSTANTIATE_TEST_SUITE_P(Table, BmpDamage, ::testing::ValuesIn(Damages),
                         [](const auto& info) {
                             String n = info.param.what;
                             for (char& c : n)
                                 if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                             return n;
                         });

// A header of 41 to 51 bytes with colour masks in a 65-byte file (found by fuzzing): the 12 mask
// bytes after the first 40 of the header run past the end of the file.
class BmpShortMaskedHeader : public ::testing::TestWithParam<std::uint32_t> {};

TEST_P(BmpShortMaskedHeader, RefusesWithoutReadingPastTheData) {
    const std::uint32_t biSize = GetParam();
    std::vector<Byte> f = {'B', 'M'};
    Put32(f, 0);
    Put32(f, 0);
    Put32(f, 0);
    Put32(f, biSize);
    Put32(f, 1);   // width
    Put32(f, 1);   // height
    Put16(f, 1);   // planes
    Put16(f, 32);  // bits
    Put32(f, 3);   // BI_BITFIELDS
    f.resize(65, 0);
    // Exactly the bytes of the file, so that a read past them is a read past the allocation.
    std::unique_ptr<Byte[]> exact(new Byte[f.size()]);
    std::copy(f.begin(), f.end(), exact.get());
    EXPECT_THROW(Bmp_DecodeFile(exact.get(), f.size()), EInvalidGraphic);
    EXPECT_THROW(Bmp_DecodeDib(exact.get() + 14, f.size() - 14), EInvalidGraphic);
}

INSTANTIATE_TEST_SUITE_P(Sizes, BmpShortMaskedHeader, ::testing::Range<std::uint32_t>(41, 52));

TEST(BmpFormat, MasksAfterAShortHeaderAreRead) {
    // 42-byte header, masks 5-6-5 from byte 40 on, one 16-bit pixel of pure green.
    std::vector<Byte> f = {'B', 'M'};
    Put32(f, 0);
    Put32(f, 0);
    Put32(f, 14 + 52);
    Put32(f, 42);
    Put32(f, 1);
    Put32(f, 1);
    Put16(f, 1);
    Put16(f, 16);
    Put32(f, 3);
    f.resize(14 + 40, 0);
    Put32(f, 0xF800);
    Put32(f, 0x07E0);
    Put32(f, 0x001F);
    Put32(f, 0x07E0);
    TBmpImage img = Bmp_DecodeFile(f.data(), f.size());
    EXPECT_EQ(img.Format, pf16bit);
    ASSERT_GE(img.Bits.size(), 2u);
    EXPECT_EQ(img.Bits[0] | (img.Bits[1] << 8), 0x07E0);
}

TEST(BmpDamage, RandomDamageNeverCrashes) {
    const std::vector<Byte> good = ValidFile();
    std::mt19937 rng(1234);
    int refused = 0;
    for (int round = 0; round < 3000; ++round) {
        std::vector<Byte> f = good;
        int edits = 1 + static_cast<int>(rng() % 4);
        for (int i = 0; i < edits; ++i) f[rng() % 70] = static_cast<Byte>(rng());
        if (rng() % 3 == 0) f.resize(rng() % f.size());
        try {
            TBitmap b;
            Load(b, f);
            // Whatever loaded must be internally consistent.
            EXPECT_EQ(b.BitsSize(), static_cast<size_t>(b.RowStride()) * b.GetHeight());
        } catch (const EInvalidGraphic&) {
            ++refused;
        }
    }
    EXPECT_GT(refused, 0);
}

}  // namespace
