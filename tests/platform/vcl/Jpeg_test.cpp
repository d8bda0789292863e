// TJPEGImage: encoding, decoding, conversions and damaged data.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <unistd.h>

#include <jpeglib.h>

#include "platform/vcl/Jpeg.h"

namespace {

std::unique_ptr<TBitmap> Smooth(int w, int h) {
    auto b = std::make_unique<TBitmap>(w, h, pf24bit);
    for (int y = 0; y < h; ++y) {
        auto* row = static_cast<TRGBTriple*>(b->ScanLine(y));
        for (int x = 0; x < w; ++x)
            row[x] = TRGBTriple{static_cast<Byte>(200 - y * 2), static_cast<Byte>(x * 3), static_cast<Byte>(40 + x + y)};
    }
    return b;
}

double MeanError(TBitmap& a, TBitmap& b) {
    double sum = 0;
    for (int y = 0; y < a.GetHeight(); ++y)
        for (int x = 0; x < a.GetWidth(); ++x) {
            COLORREF p = a.GetPixelColor(x, y);
            COLORREF q = b.GetPixelColor(x, y);
            sum += std::abs(GetRValue(p) - GetRValue(q)) + std::abs(GetGValue(p) - GetGValue(q)) +
                   std::abs(GetBValue(p) - GetBValue(q));
        }
    return sum / (3.0 * a.GetWidth() * a.GetHeight());
}

std::vector<Byte> Encode(TBitmap& b, int quality) {
    TJPEGImage j;
    j.SetCompressionQuality(quality);
    j.Assign(&b);
    TMemoryStream s;
    j.SaveToStream(&s);
    return s.Data();
}

void LoadBytes(TJPEGImage& j, const std::vector<Byte>& data) {
    TMemoryStream s;
    if (!data.empty()) s.WriteBuffer(data.data(), static_cast<Int64>(data.size()));
    s.SetPosition(0);
    j.LoadFromStream(&s);
}

// A JPEG written with libjpeg directly in another colour space.
std::vector<Byte> EncodeRaw(int w, int h, int comps, J_COLOR_SPACE space, Byte value[4]) {
    jpeg_compress_struct c;
    jpeg_error_mgr err;
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* buf = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &buf, &size);
    c.image_width = static_cast<JDIMENSION>(w);
    c.image_height = static_cast<JDIMENSION>(h);
    c.input_components = comps;
    c.in_color_space = space;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 100, TRUE);
    jpeg_start_compress(&c, TRUE);
    std::vector<Byte> row(static_cast<size_t>(w * comps));
    for (int x = 0; x < w; ++x)
        for (int k = 0; k < comps; ++k) row[static_cast<size_t>(x * comps + k)] = value[k];
    while (c.next_scanline < c.image_height) {
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&c, &r, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    std::vector<Byte> out(buf, buf + size);
    free(buf);
    return out;
}

TEST(Jpeg, EncodeDecodeWithinTolerance) {
    auto src = Smooth(40, 30);
    struct Q { int quality; double maxError; };
    for (Q q : {Q{100, 2.0}, Q{90, 4.0}, Q{50, 8.0}}) {
        std::vector<Byte> data = Encode(*src, q.quality);
        ASSERT_GT(data.size(), 100u);
        EXPECT_EQ(data[0], 0xFF);
        EXPECT_EQ(data[1], 0xD8);
        TJPEGImage j;
        LoadBytes(j, data);
        EXPECT_EQ(j.GetWidth(), 40);
        EXPECT_EQ(j.GetHeight(), 30);
        TBitmap back;
        back.Assign(&j);
        EXPECT_EQ(back.GetPixelFormat(), pf24bit);
        ASSERT_EQ(back.GetWidth(), 40);
        EXPECT_LT(MeanError(*src, back), q.maxError) << q.quality;
    }
}

TEST(Jpeg, LowerQualityIsSmaller) {
    auto src = Smooth(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            if ((x * 7 + y * 3) % 5 == 0) src->GetCanvas()->SetPixels(x, y, clBlack);
    EXPECT_LT(Encode(*src, 30).size(), Encode(*src, 100).size());
}

TEST(Jpeg, DefaultQualityAndClamping) {
    TJPEGImage j;
    EXPECT_EQ(j.GetCompressionQuality(), 90);
    j.SetCompressionQuality(0);
    EXPECT_EQ(j.GetCompressionQuality(), 1);
    j.SetCompressionQuality(1000);
    EXPECT_EQ(j.GetCompressionQuality(), 100);
    EXPECT_TRUE(j.GetEmpty());
    EXPECT_THROW(j.SetWidth(3), EInvalidGraphicOperation);
}

TEST(Jpeg, LoadedDataIsSavedBackUnchanged) {
    auto src = Smooth(16, 16);
    std::vector<Byte> data = Encode(*src, 75);
    TJPEGImage j;
    LoadBytes(j, data);
    TMemoryStream out;
    j.SaveToStream(&out);
    EXPECT_EQ(out.Data(), data);
}

TEST(Jpeg, FilesAndPictures) {
    char dir[] = "/tmp/jpgtestXXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    String path = String(dir) + "/snap.jpg";
    auto src = Smooth(20, 10);
    TJPEGImage j;
    j.SetCompressionQuality(100);
    j.Assign(src.get());
    j.SaveToFile(path);
    TPicture pic;
    pic.LoadFromFile(path);
    ASSERT_NE(dynamic_cast<TJPEGImage*>(pic.GetGraphic()), nullptr);
    EXPECT_EQ(pic.GetWidth(), 20);
    TBitmap* asBitmap = pic.GetBitmap();
    ASSERT_NE(asBitmap, nullptr);
    EXPECT_EQ(asBitmap->GetHeight(), 10);
    EXPECT_LT(MeanError(*src, *asBitmap), 2.0);
    std::remove(path.c_str());
    rmdir(dir);
}

TEST(Jpeg, DrawOnACanvas) {
    auto src = Smooth(8, 8);
    TJPEGImage j;
    j.SetCompressionQuality(100);
    j.Assign(src.get());
    TMemoryStream s;
    j.SaveToStream(&s);
    TJPEGImage k;
    LoadBytes(k, s.Data());
    TBitmap dst(10, 10, pf24bit);
    dst.GetCanvas()->Draw(1, 1, &k);
    COLORREF c = dst.GetPixelColor(4, 4);
    COLORREF e = src->GetPixelColor(3, 3);
    EXPECT_NEAR(GetRValue(c), GetRValue(e), 6);
    EXPECT_NEAR(GetGValue(c), GetGValue(e), 6);
    EXPECT_EQ(dst.GetPixelColor(0, 0), 0xFFFFFFu);
}

TEST(Jpeg, AssignCopiesBetweenImages) {
    auto src = Smooth(8, 4);
    TJPEGImage a;
    a.Assign(src.get());
    TJPEGImage b;
    b.Assign(&a);
    EXPECT_EQ(b.GetWidth(), 8);
    EXPECT_EQ(b.GetData(), a.GetData());
    b.Assign(nullptr);
    EXPECT_TRUE(b.GetEmpty());
}

TEST(Jpeg, GrayscaleAndCmykFilesDecodeToRgb) {
    Byte grey[4] = {128, 0, 0, 0};
    TJPEGImage g;
    LoadBytes(g, EncodeRaw(8, 8, 1, JCS_GRAYSCALE, grey));
    COLORREF c = g.GetBitmap()->GetPixelColor(3, 3);
    EXPECT_NEAR(GetRValue(c), 128, 2);
    EXPECT_EQ(GetRValue(c), GetGValue(c));
    EXPECT_EQ(GetGValue(c), GetBValue(c));

    // Adobe CMYK stores inverted values: (0, 255, 255, 255) is full cyan on no black.
    Byte cyan[4] = {0, 255, 255, 255};
    TJPEGImage k;
    LoadBytes(k, EncodeRaw(8, 8, 4, JCS_CMYK, cyan));
    c = k.GetBitmap()->GetPixelColor(3, 3);
    EXPECT_LT(GetRValue(c), 10);
    EXPECT_GT(GetGValue(c), 245);
    EXPECT_GT(GetBValue(c), 245);
}

// ---- damaged data --------------------------------------------------------------------------------

std::vector<Byte> GoodJpeg() {
    auto src = Smooth(32, 24);
    return Encode(*src, 90);
}

TEST(JpegDamage, TableOfDamageRaises) {
    const std::vector<Byte> good = GoodJpeg();
    struct Case { const char* what; std::function<std::vector<Byte>()> make; };
    const Case cases[] = {
        {"empty", [] { return std::vector<Byte>{}; }},
        {"not a JPEG", [] { return std::vector<Byte>{'B', 'M', 0, 0, 0, 0}; }},
        {"only SOI", [] { return std::vector<Byte>{0xFF, 0xD8}; }},
        {"SOI and garbage", [] { return std::vector<Byte>{0xFF, 0xD8, 1, 2, 3, 4, 5, 6, 7, 8}; }},
        {"cut in the header", [&] { return std::vector<Byte>(good.begin(), good.begin() + 100); }},
        {"cut in the scan", [&] { return std::vector<Byte>(good.begin(), good.begin() + static_cast<long>(good.size() * 2 / 3)); }},
        {"no end marker", [&] { return std::vector<Byte>(good.begin(), good.end() - 2); }},
        {"zeroed scan", [&] {
             auto f = good;
             for (size_t i = f.size() / 2; i < f.size() - 2; ++i) f[i] = 0;
             return f;
         }},
    };
    for (const Case& c : cases) {
        TJPEGImage j;
        try {
            LoadBytes(j, c.make());
            ADD_FAILURE() << c.what << ": loaded";
        } catch (const EInvalidGraphic& e) {
            EXPECT_FALSE(String(e.what()).empty()) << c.what;
        }
        EXPECT_TRUE(j.GetEmpty()) << c.what;
    }
}

TEST(JpegDamage, RandomDamageNeverCrashes) {
    const std::vector<Byte> good = GoodJpeg();
    std::mt19937 rng(99);
    int refused = 0;
    for (int round = 0; round < 400; ++round) {
        std::vector<Byte> f = good;
        int edits = 1 + static_cast<int>(rng() % 6);
        for (int i = 0; i < edits; ++i) f[rng() % f.size()] = static_cast<Byte>(rng());
        if (rng() % 4 == 0) f.resize(rng() % f.size());
        TJPEGImage j;
        try {
            LoadBytes(j, f);
            EXPECT_FALSE(j.GetEmpty());
        } catch (const EInvalidGraphic&) {
            ++refused;
        }
    }
    EXPECT_GT(refused, 0);
}

// A progressive JPEG of a few hundred bytes whose frame header declares Width x Height: the
// shape of a decompression bomb.
std::vector<Byte> DeclaringSize(unsigned width, unsigned height) {
    jpeg_compress_struct c;
    jpeg_error_mgr err;
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* buf = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &buf, &size);
    c.image_width = 8;
    c.image_height = 8;
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_simple_progression(&c);
    jpeg_start_compress(&c, TRUE);
    std::vector<Byte> row(8 * 3, 128);
    while (c.next_scanline < c.image_height) {
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&c, &r, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    std::vector<Byte> out(buf, buf + size);
    free(buf);
    for (size_t i = 0; i + 9 < out.size(); ++i) {
        if (out[i] != 0xFF || out[i + 1] != 0xC2) continue;
        out[i + 5] = static_cast<Byte>(height >> 8);
        out[i + 6] = static_cast<Byte>(height);
        out[i + 7] = static_cast<Byte>(width >> 8);
        out[i + 8] = static_cast<Byte>(width);
        return out;
    }
    ADD_FAILURE() << "no progressive frame header";
    return out;
}

TEST(JpegDamage, PicturesOverTheLimitAreRefusedUnread) {
    const struct { unsigned w, h; } bombs[] = {{14592, 11528}, {32768, 32768}, {10001, 10000}, {32768, 3052}};
    for (const auto& b : bombs) {
        std::vector<Byte> f = DeclaringSize(b.w, b.h);
        EXPECT_LT(f.size(), 1024u);
        TJPEGImage j;
        try {
            LoadBytes(j, f);
            ADD_FAILURE() << b.w << "x" << b.h << ": loaded";
        } catch (const EJPEG& e) {
            EXPECT_NE(String(e.what()).find("too large"), String::npos) << e.what();
        }
        EXPECT_TRUE(j.GetEmpty());
    }
}

TEST(JpegScale, ScaledDecodingShrinksThePicture) {
    auto src = Smooth(64, 48);
    const std::vector<Byte> data = Encode(*src, 95);
    const struct { TJPEGScale scale; int w, h; } cases[] = {
        {jsFullSize, 64, 48}, {jsHalf, 32, 24}, {jsQuarter, 16, 12}, {jsEighth, 8, 6}};
    for (const auto& c : cases) {
        TJPEGImage j;
        j.SetScale(c.scale);
        LoadBytes(j, data);
        EXPECT_EQ(j.GetWidth(), c.w);
        EXPECT_EQ(j.GetHeight(), c.h);
        TBitmap b;
        b.Assign(&j);
        ASSERT_EQ(b.GetWidth(), c.w);
        // The top-left corner keeps the colour of the full picture's corner area.
        COLORREF p = b.GetPixelColor(0, 0);
        COLORREF q = src->GetPixelColor(0, 0);
        EXPECT_NEAR(GetBValue(p), GetBValue(q), 24);
    }
    // Changing the scale of a loaded image decodes it again at the new size.
    TJPEGImage j;
    LoadBytes(j, data);
    j.SetScale(jsHalf);
    EXPECT_EQ(j.GetWidth(), 32);
    EXPECT_EQ(j.GetBitmap()->GetWidth(), 32);
}

TEST(JpegScale, ScaleForAWantedSize) {
    const struct { int w, h, wantW, wantH; TJPEGScale scale; } cases[] = {
        {6000, 4000, 720, 480, jsEighth},   // 750 x 500 still covers it
        {6000, 4000, 720, 576, jsQuarter},  // 1/8 is 500 high, too low
        {1440, 1152, 720, 576, jsHalf},
        {1441, 1153, 720, 577, jsHalf},     // rounded up: 721 x 577
        {1400, 1100, 720, 576, jsFullSize},
        {720, 576, 720, 576, jsFullSize},
        {800, 600, 0, 0, jsFullSize},
    };
    for (const auto& c : cases)
        EXPECT_EQ(JpegScaleFor(c.w, c.h, c.wantW, c.wantH), c.scale) << c.w << "x" << c.h << " for " << c.wantW << "x" << c.wantH;
}

TEST(JpegDamage, EncodingAnEmptyBitmapRaises) {
    TBitmap empty;
    EXPECT_THROW(Jpeg_Encode(empty, 90), EInvalidGraphic);
}

}  // namespace
