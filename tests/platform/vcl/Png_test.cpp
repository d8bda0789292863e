// The PNG writer, checked by reading the files back with libpng.
#include <gtest/gtest.h>

#include <png.h>

#include <cstdio>
#include <unistd.h>

#include "platform/vcl/PngWriter.h"

namespace {

struct PngRead {
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int bitDepth = 0;
    int colorType = 0;
    std::vector<Byte> rgb;
};

bool ReadPng(const String& path, PngRead& out) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        std::fclose(f);
        return false;
    }
    png_init_io(png, f);
    png_read_info(png, info);
    out.width = png_get_image_width(png, info);
    out.height = png_get_image_height(png, info);
    out.bitDepth = png_get_bit_depth(png, info);
    out.colorType = png_get_color_type(png, info);
    out.rgb.resize(static_cast<size_t>(out.width) * out.height * 3);
    for (png_uint_32 y = 0; y < out.height; ++y) png_read_row(png, out.rgb.data() + y * out.width * 3, nullptr);
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(f);
    return true;
}

class PngFiles : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/pngtestXXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir = tmpl;
    }
    void TearDown() override {
        for (const char* n : {"/a.png", "/b.png", "/a.png.part"}) std::remove((dir + n).c_str());
        rmdir(dir.c_str());
    }
    String dir;
};

TEST_F(PngFiles, WritesRgb8WithExactPixels) {
    TBitmap b(7, 5, pf24bit);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) b.GetCanvas()->SetPixels(x, y, static_cast<TColor>(RGB(x * 30, y * 50, 255 - x - y)));
    SaveBitmapToPng(b, dir + "/a.png");
    PngRead r;
    ASSERT_TRUE(ReadPng(dir + "/a.png", r));
    EXPECT_EQ(r.width, 7u);
    EXPECT_EQ(r.height, 5u);
    EXPECT_EQ(r.bitDepth, 8);
    EXPECT_EQ(r.colorType, PNG_COLOR_TYPE_RGB);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) {
            const Byte* p = &r.rgb[static_cast<size_t>((y * 7 + x) * 3)];
            EXPECT_EQ(RGB(p[0], p[1], p[2]), RGB(x * 30, y * 50, 255 - x - y)) << x << "," << y;
        }
    EXPECT_FALSE(FileExists(dir + "/a.png.part"));
}

TEST_F(PngFiles, OtherFormatsAreWrittenAsTheirColours) {
    TBitmap src(3, 2, pf24bit);
    src.GetCanvas()->SetPixels(0, 0, clRed);
    src.GetCanvas()->SetPixels(2, 1, clBlue);
    TBitmap b;
    b.Assign(&src);
    b.SetPixelFormat(pf8bit);
    SaveBitmapToPng(b, dir + "/b.png");
    PngRead r;
    ASSERT_TRUE(ReadPng(dir + "/b.png", r));
    EXPECT_EQ(r.colorType, PNG_COLOR_TYPE_RGB);
    EXPECT_EQ(RGB(r.rgb[0], r.rgb[1], r.rgb[2]), static_cast<COLORREF>(clRed));
    EXPECT_EQ(RGB(r.rgb[15], r.rgb[16], r.rgb[17]), static_cast<COLORREF>(clBlue));
}

TEST_F(PngFiles, FailuresRaiseOrAnswerFalseAndLeaveNoFile) {
    TBitmap empty;
    EXPECT_THROW(SaveBitmapToPng(empty, dir + "/a.png"), EInvalidGraphic);
    EXPECT_FALSE(FileExists(dir + "/a.png"));
    TBitmap b(2, 2, pf24bit);
    String missing = dir + "/no/such/folder/a.png";
    EXPECT_THROW(SaveBitmapToPng(b, missing), EFCreateError);
    String err;
    EXPECT_FALSE(TrySaveBitmapToPng(b, missing, &err));
    EXPECT_FALSE(err.empty());
    EXPECT_TRUE(TrySaveBitmapToPng(b, dir + "/a.png"));
    EXPECT_TRUE(FileExists(dir + "/a.png"));
}

}  // namespace
