// Colours, fonts, pens, brushes and pictures.
#include <gtest/gtest.h>

#include <cstdio>
#include <unistd.h>

#include "platform/vcl/Graphics.h"
#include "platform/vcl/Jpeg.h"

namespace {

TEST(Colours, RgbPacksAsWindowsDoes) {
    EXPECT_EQ(RGB(1, 2, 3), 0x030201u);
    EXPECT_EQ(GetRValue(0x030201), 1);
    EXPECT_EQ(GetGValue(0x030201), 2);
    EXPECT_EQ(GetBValue(0x030201), 3);
    EXPECT_EQ(static_cast<COLORREF>(clRed), RGB(255, 0, 0));
    EXPECT_EQ(static_cast<COLORREF>(clNavy), RGB(0, 0, 128));
    EXPECT_EQ(static_cast<COLORREF>(clOlive), RGB(128, 128, 0));
}

TEST(Colours, SystemColoursResolveToTheClassicScheme) {
    struct Row { TColor colour; int index; COLORREF rgb; };
    const Row rows[] = {
        {clBtnFace, COLOR_BTNFACE, RGB(212, 208, 200)},     {clWindow, COLOR_WINDOW, RGB(255, 255, 255)},
        {clWindowText, COLOR_WINDOWTEXT, RGB(0, 0, 0)},      {clHighlight, COLOR_HIGHLIGHT, RGB(10, 36, 106)},
        {clHighlightText, COLOR_HIGHLIGHTTEXT, 0xFFFFFF},     {clBtnShadow, COLOR_BTNSHADOW, RGB(128, 128, 128)},
        {clBtnHighlight, COLOR_BTNHIGHLIGHT, 0xFFFFFF},       {cl3DDkShadow, COLOR_3DDKSHADOW, RGB(64, 64, 64)},
        {clGrayText, COLOR_GRAYTEXT, RGB(128, 128, 128)},    {clInfoBk, COLOR_INFOBK, RGB(255, 255, 225)},
        {clActiveCaption, COLOR_ACTIVECAPTION, RGB(10, 36, 106)}, {clScrollBar, COLOR_SCROLLBAR, RGB(212, 208, 200)},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(static_cast<std::uint32_t>(r.colour), 0x80000000u | static_cast<std::uint32_t>(r.index));
        EXPECT_EQ(ColorToRGB(r.colour), r.rgb) << r.index;
        EXPECT_EQ(GetSysColor(r.index), r.rgb) << r.index;
    }
    EXPECT_EQ(static_cast<std::uint32_t>(clBtnFace), 0x8000000Fu);
    EXPECT_EQ(ColorToRGB(clRed), 0x0000FFu);
    EXPECT_EQ(ColorToRGB(clNone), 0xFFFFFFu);
}

TEST(Colours, NamesRoundTrip) {
    for (TColor c : {clRed, clBtnFace, clNone, clDefault, clWindowText, static_cast<TColor>(0x123456)}) {
        EXPECT_EQ(StringToColor(ColorToString(c)), c) << ColorToString(c);
    }
    EXPECT_EQ(ColorToString(clRed), "clRed");
    EXPECT_EQ(ColorToString(0x123456), "$00123456");
    EXPECT_EQ(StringToColor("clbtnface"), clBtnFace);
    EXPECT_EQ(StringToColor("255"), clRed);
    EXPECT_THROW(StringToColor("reddish"), EConvertError);
}

TEST(Arithmetic, MulDivRoundsHalfAwayFromZero) {
    struct Row { int a, b, c, r; };
    const Row rows[] = {{8, 96, 72, 11}, {10, 96, 72, 13}, {9, 96, 72, 12}, {-11, 72, 96, -8},
                        {3, 1, 2, 2}, {-3, 1, 2, -2}, {5, 1, 0, -1}, {7, -96, 72, -9}};
    for (const Row& r : rows) EXPECT_EQ(MulDiv(r.a, r.b, r.c), r.r) << r.a << "*" << r.b << "/" << r.c;
    EXPECT_EQ(BytesPerScanline(5, 24, 32), 16);
    EXPECT_EQ(BytesPerScanline(33, 1, 32), 8);
    EXPECT_EQ(BytesPerScanline(3, 4, 8), 2);
}

TEST(Fonts, DefaultsAndSizeHeightConversion) {
    TFont f;
    EXPECT_EQ(f.GetName(), "Tahoma");
    EXPECT_EQ(f.GetSize(), 8);
    EXPECT_EQ(f.GetHeight(), -11);
    EXPECT_EQ(f.GetColor(), clWindowText);
    EXPECT_EQ(f.GetCharset(), DEFAULT_CHARSET);
    EXPECT_TRUE(f.GetStyle().Empty());
    struct Row { int size; int height; };
    const Row rows[] = {{8, -11}, {9, -12}, {10, -13}, {12, -16}, {14, -19}, {24, -32}, {7, -9}};
    for (const Row& r : rows) {
        f.SetSize(r.size);
        EXPECT_EQ(f.GetHeight(), r.height) << r.size;
        f.SetHeight(r.height);
        EXPECT_EQ(f.GetSize(), r.size) << r.height;
    }
    f.SetHeight(16);  // a positive height is a cell height: the size comes out negative
    EXPECT_EQ(f.GetSize(), -12);
}

TEST(Fonts, OnChangeFiresOncePerRealChange) {
    TFont f;
    int n = 0;
    f.OnChange = [&](TObject* s) { EXPECT_EQ(s, &f); ++n; };
    f.SetName("Arial");
    f.SetName("Arial");
    f.SetSize(10);
    f.SetSize(10);
    f.SetHeight(-13);  // the same as size 10
    f.SetColor(clRed);
    f.SetStyle({fsBold, fsItalic});
    f.SetStyle({fsItalic, fsBold});
    f.SetCharset(GB2312_CHARSET);
    f.SetPitch(fpFixed);
    EXPECT_EQ(n, 6);
    TFont g;
    f.Assign(&g);
    EXPECT_EQ(n, 7);
    EXPECT_TRUE(f.SameAs(g));
    TPen pen;
    EXPECT_THROW(f.Assign(&pen), EConvertError);
}

TEST(Fonts, CharsetConstants) {
    EXPECT_EQ(ANSI_CHARSET, 0);
    EXPECT_EQ(DEFAULT_CHARSET, 1);
    EXPECT_EQ(SHIFTJIS_CHARSET, 128);
    EXPECT_EQ(HANGEUL_CHARSET, 129);
    EXPECT_EQ(GB2312_CHARSET, 134);
    EXPECT_EQ(CHINESEBIG5_CHARSET, 136);
}

TEST(Fonts, ProgramFontsAreRegistered) {
    Graphics_RegisterFonts();  // a second call is harmless
    TFont f;
    EXPECT_EQ(FontFamilyInUse(f), "Tahoma");
    f.SetName("Arial");
    EXPECT_EQ(FontFamilyInUse(f), "Liberation Sans");
    f.SetName("Times New Roman");
    EXPECT_EQ(FontFamilyInUse(f), "Liberation Serif");
    f.SetName("Courier New");
    EXPECT_EQ(FontFamilyInUse(f), "Liberation Mono");
}

TEST(PensAndBrushes, DefaultsEventsAndAssign) {
    TPen p;
    EXPECT_EQ(p.GetColor(), clBlack);
    EXPECT_EQ(p.GetWidth(), 1);
    EXPECT_EQ(p.GetStyle(), psSolid);
    EXPECT_EQ(p.GetMode(), pmCopy);
    int pn = 0;
    p.OnChange = [&](TObject*) { ++pn; };
    p.SetColor(clRed);
    p.SetWidth(0);  // stays 1
    p.SetWidth(3);
    p.SetStyle(psDot);
    p.SetMode(pmXor);
    EXPECT_EQ(pn, 4);
    TPen q;
    q.Assign(&p);
    EXPECT_EQ(q.GetWidth(), 3);
    EXPECT_EQ(q.GetMode(), pmXor);

    TBrush b;
    EXPECT_EQ(b.GetColor(), clWhite);
    EXPECT_EQ(b.GetStyle(), bsSolid);
    int bn = 0;
    b.OnChange = [&](TObject*) { ++bn; };
    b.SetStyle(bsClear);
    b.SetColor(clRed);  // a colour makes the brush solid
    EXPECT_EQ(b.GetStyle(), bsSolid);
    EXPECT_EQ(bn, 2);
    TBrush c;
    c.Assign(&b);
    EXPECT_EQ(c.GetColor(), clRed);
}

TEST(Pictures, LoadByExtensionConvertAndNotify) {
    char dir[] = "/tmp/pictestXXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    String bmpPath = String(dir) + "/a.bmp";
    String jpgPath = String(dir) + "/b.jpeg";
    TBitmap src(5, 4, pf24bit);
    src.GetCanvas()->SetPixels(1, 1, clRed);
    src.SaveToFile(bmpPath);
    TJPEGImage jpg;
    jpg.Assign(&src);
    jpg.SaveToFile(jpgPath);

    TPicture pic;
    int changes = 0;
    pic.OnChange = [&](TObject*) { ++changes; };
    pic.LoadFromFile(bmpPath);
    EXPECT_NE(dynamic_cast<TBitmap*>(pic.GetGraphic()), nullptr);
    EXPECT_EQ(pic.GetWidth(), 5);
    EXPECT_EQ(pic.GetBitmap()->GetPixelColor(1, 1), static_cast<COLORREF>(clRed));
    pic.LoadFromFile(jpgPath);
    EXPECT_NE(dynamic_cast<TJPEGImage*>(pic.GetGraphic()), nullptr);
    EXPECT_EQ(pic.GetHeight(), 4);
    int before = changes;
    pic.GetBitmap()->GetCanvas()->SetPixels(0, 0, clBlue);  // drawing on the picture's bitmap notifies
    EXPECT_GT(changes, before);
    EXPECT_THROW(pic.LoadFromFile(String(dir) + "/c.gif"), EInvalidGraphic);

    TPicture copy;
    copy.Assign(&pic);
    EXPECT_NE(copy.GetGraphic(), pic.GetGraphic());
    EXPECT_EQ(copy.GetBitmap()->GetPixelColor(0, 0), static_cast<COLORREF>(clBlue));
    copy.Assign(nullptr);
    EXPECT_EQ(copy.GetGraphic(), nullptr);
    EXPECT_THROW(copy.SaveToFile(bmpPath), EInvalidGraphicOperation);
    TPicture empty;
    EXPECT_TRUE(empty.GetBitmap()->GetEmpty());
    std::remove(bmpPath.c_str());
    std::remove(jpgPath.c_str());
    rmdir(dir);
}

}  // namespace
