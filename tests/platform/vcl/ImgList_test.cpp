// TImageList: masks, strips, disabled drawing.
#include <gtest/gtest.h>

#include "platform/vcl/ImgList.h"

namespace {

COLORREF Px(TBitmap& b, int x, int y) {
    const Byte* p = static_cast<const Byte*>(b.ScanLine(y)) + x * (b.BitsPerPixel() / 8);
    return RGB(p[2], p[1], p[0]);
}

// A w x h picture in `fill` with a `mark` square at (1,1)-(3,3).
std::unique_ptr<TBitmap> Marked(int w, int h, TColor fill, TColor mark) {
    auto b = std::make_unique<TBitmap>(w, h, pf24bit);
    b->GetCanvas()->GetBrush()->SetColor(fill);
    b->GetCanvas()->FillRect(Rect(0, 0, w, h));
    b->GetCanvas()->GetBrush()->SetColor(mark);
    b->GetCanvas()->FillRect(Rect(1, 1, 3, 3));
    return b;
}

std::unique_ptr<TBitmap> Background(int w, int h) {
    auto b = std::make_unique<TBitmap>(w, h, pf24bit);
    b->GetCanvas()->GetBrush()->SetColor(clNavy);
    b->GetCanvas()->FillRect(Rect(0, 0, w, h));
    return b;
}

TEST(ImageList, DefaultsAndSizes) {
    TImageList list(nullptr);
    EXPECT_EQ(list.GetWidth(), 16);
    EXPECT_EQ(list.GetHeight(), 16);
    EXPECT_EQ(list.Count(), 0);
}

TEST(ImageList, AddMaskedDrawsOnlyUnmaskedPixels) {
    TImageList list(nullptr);
    list.SetWidth(4);
    list.SetHeight(4);
    auto img = Marked(4, 4, clFuchsia, clRed);
    EXPECT_EQ(list.AddMasked(img.get(), clFuchsia), 0);
    auto dst = Background(8, 8);
    list.Draw(dst->GetCanvas(), 2, 3, 0);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            bool mark = x >= 3 && x < 5 && y >= 4 && y < 6;
            EXPECT_EQ(Px(*dst, x, y), ColorToRGB(mark ? clRed : clNavy)) << x << "," << y;
        }
    EXPECT_TRUE(list.IsOpaque(0, 1, 1));
    EXPECT_FALSE(list.IsOpaque(0, 0, 0));
}

TEST(ImageList, MaskBitmapMarksTransparentPixelsWhite) {
    TImageList list(nullptr);
    list.SetWidth(4);
    list.SetHeight(4);
    auto img = Marked(4, 4, clGreen, clYellow);
    auto mask = Marked(4, 4, clWhite, clBlack);  // black (opaque) only under the mark
    list.Add(img.get(), mask.get());
    auto dst = Background(4, 4);
    list.Draw(dst->GetCanvas(), 0, 0, 0);
    EXPECT_EQ(Px(*dst, 1, 1), ColorToRGB(clYellow));
    EXPECT_EQ(Px(*dst, 0, 0), ColorToRGB(clNavy));
    // No mask: everything drawn.
    list.Add(img.get(), nullptr);
    list.Draw(dst->GetCanvas(), 0, 0, 1);
    EXPECT_EQ(Px(*dst, 0, 0), ColorToRGB(clGreen));
}

TEST(ImageList, WideImagesSplitIntoSeveral) {
    TImageList list(nullptr);
    list.SetWidth(4);
    list.SetHeight(4);
    auto strip = std::make_unique<TBitmap>(12, 4, pf24bit);
    const TColor colours[] = {clRed, clLime, clBlue};
    for (int i = 0; i < 3; ++i) {
        strip->GetCanvas()->GetBrush()->SetColor(colours[i]);
        strip->GetCanvas()->FillRect(Rect(i * 4, 0, i * 4 + 4, 4));
    }
    EXPECT_EQ(list.AddMasked(strip.get(), clFuchsia), 0);
    EXPECT_EQ(list.Count(), 3);
    for (int i = 0; i < 3; ++i) {
        TBitmap out;
        ASSERT_TRUE(list.GetBitmap(i, &out));
        EXPECT_EQ(out.GetWidth(), 4);
        EXPECT_EQ(Px(out, 2, 2), ColorToRGB(colours[i]));
    }
    list.Delete(1);
    EXPECT_EQ(list.Count(), 2);
    TBitmap out;
    list.GetBitmap(1, &out);
    EXPECT_EQ(Px(out, 0, 0), ColorToRGB(clBlue));
    EXPECT_THROW(list.Delete(5), EInvalidOperation);
    EXPECT_FALSE(list.GetBitmap(9, &out));
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

TEST(ImageList, DisabledDrawsAnEmbossedGreyVersion) {
    TImageList list(nullptr);
    list.SetWidth(4);
    list.SetHeight(4);
    auto img = Marked(4, 4, clFuchsia, clBlack);
    list.AddMasked(img.get(), clFuchsia);
    auto dst = Background(6, 6);
    list.Draw(dst->GetCanvas(), 0, 0, 0, false);
    // Shadow over the mark, highlight peeking out one pixel down-right.
    EXPECT_EQ(Px(*dst, 1, 1), ColorToRGB(clBtnShadow));
    EXPECT_EQ(Px(*dst, 3, 3), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(Px(*dst, 0, 0), ColorToRGB(clNavy));
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) {
            COLORREF c = Px(*dst, x, y);
            EXPECT_TRUE(c == ColorToRGB(clNavy) || c == ColorToRGB(clBtnShadow) || c == ColorToRGB(clBtnHighlight));
        }
}

TEST(ImageList, ChangingTheSizeClearsAndBadIndexDrawsNothing) {
    TImageList list(nullptr);
    int changes = 0;
    list.OnChange = [&](TObject*) { ++changes; };
    auto img = Marked(16, 16, clWhite, clRed);
    list.AddMasked(img.get(), clWhite);
    EXPECT_EQ(changes, 1);
    list.SetWidth(8);
    EXPECT_EQ(list.Count(), 0);
    auto dst = Background(4, 4);
    list.Draw(dst->GetCanvas(), 0, 0, 3);
    EXPECT_EQ(Px(*dst, 1, 1), ColorToRGB(clNavy));
}

}  // namespace
