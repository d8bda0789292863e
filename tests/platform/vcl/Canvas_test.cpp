// TCanvas pixel rules: fills, frames, lines, copies, stretches, clipping, origin, text.
#include <gtest/gtest.h>

#include <set>

#include "platform/vcl/Graphics.h"

namespace {

// Reads a pixel through the scan lines, as the program does.
COLORREF Px(TBitmap& b, int x, int y) {
    const Byte* row = static_cast<const Byte*>(b.ScanLine(y));
    int bpp = b.BitsPerPixel() / 8;
    const Byte* p = row + x * bpp;
    return RGB(p[2], p[1], p[0]);
}

std::unique_ptr<TBitmap> Blank(int w, int h, TColor fill = clWhite) {
    auto b = std::make_unique<TBitmap>(w, h, pf24bit);
    b->GetCanvas()->GetBrush()->SetColor(fill);
    b->GetCanvas()->FillRect(Rect(0, 0, w, h));
    return b;
}

// The set of pixels with colour c, as "x,y" strings for readable failures.
std::set<std::pair<int, int>> PixelsOf(TBitmap& b, TColor c) {
    std::set<std::pair<int, int>> s;
    for (int y = 0; y < b.GetHeight(); ++y)
        for (int x = 0; x < b.GetWidth(); ++x)
            if (Px(b, x, y) == ColorToRGB(c)) s.insert({x, y});
    return s;
}

std::set<std::pair<int, int>> RectPixels(int l, int t, int r, int b) {
    std::set<std::pair<int, int>> s;
    for (int y = t; y < b; ++y)
        for (int x = l; x < r; ++x) s.insert({x, y});
    return s;
}

int CountNot(TBitmap& b, TColor c, const TRect& area) {
    int n = 0;
    for (int y = area.Top; y < area.Bottom; ++y)
        for (int x = area.Left; x < area.Right; ++x)
            if (Px(b, x, y) != ColorToRGB(c)) ++n;
    return n;
}

// ---- fills and frames ---------------------------------------------------------------------------

TEST(CanvasFill, FillRectExcludesRightAndBottom) {
    auto b = Blank(10, 10);
    TCanvas* c = b->GetCanvas();
    c->GetBrush()->SetColor(clRed);
    c->FillRect(Rect(2, 3, 6, 8));
    EXPECT_EQ(PixelsOf(*b, clRed), RectPixels(2, 3, 6, 8));
}

TEST(CanvasFill, FillRectClipsToTheBitmapAndIgnoresEmptyRects) {
    auto b = Blank(4, 4);
    TCanvas* c = b->GetCanvas();
    c->GetBrush()->SetColor(clBlue);
    c->FillRect(Rect(-5, -5, 2, 2));
    c->FillRect(Rect(3, 3, 100, 100));
    c->FillRect(Rect(3, 0, 1, 2));  // inverted: nothing
    auto expect = RectPixels(0, 0, 2, 2);
    expect.insert({3, 3});
    EXPECT_EQ(PixelsOf(*b, clBlue), expect);
}

TEST(CanvasFill, ClearBrushFillsNothingAndSystemColoursResolve) {
    auto b = Blank(4, 4);
    TCanvas* c = b->GetCanvas();
    c->GetBrush()->SetStyle(bsClear);
    c->FillRect(Rect(0, 0, 4, 4));
    EXPECT_EQ(CountNot(*b, clWhite, Rect(0, 0, 4, 4)), 0);
    c->GetBrush()->SetColor(clBtnFace);  // makes the brush solid again
    c->FillRect(Rect(0, 0, 1, 1));
    EXPECT_EQ(Px(*b, 0, 0), RGB(212, 208, 200));
}

TEST(CanvasFill, FrameRectIsOnePixelInsideTheRect) {
    auto b = Blank(8, 8);
    TCanvas* c = b->GetCanvas();
    c->GetBrush()->SetColor(clGreen);
    c->FrameRect(Rect(1, 1, 6, 5));
    auto expect = RectPixels(1, 1, 6, 5);
    for (auto p : RectPixels(2, 2, 5, 4)) expect.erase(p);
    EXPECT_EQ(PixelsOf(*b, clGreen), expect);
}

TEST(CanvasFill, RectangleDrawsPenOutlineAndBrushInterior) {
    auto b = Blank(8, 8);
    TCanvas* c = b->GetCanvas();
    c->GetPen()->SetColor(clRed);
    c->GetBrush()->SetColor(clBlue);
    c->Rectangle(1, 1, 6, 5);
    auto outline = RectPixels(1, 1, 6, 5);
    for (auto p : RectPixels(2, 2, 5, 4)) outline.erase(p);
    EXPECT_EQ(PixelsOf(*b, clRed), outline);
    EXPECT_EQ(PixelsOf(*b, clBlue), RectPixels(2, 2, 5, 4));
}

TEST(CanvasFill, RectangleWithoutPenIsOnePixelSmaller) {
    auto b = Blank(8, 8);
    TCanvas* c = b->GetCanvas();
    c->GetPen()->SetStyle(psClear);
    c->GetBrush()->SetColor(clBlue);
    c->Rectangle(Rect(1, 1, 6, 5));
    EXPECT_EQ(PixelsOf(*b, clBlue), RectPixels(1, 1, 5, 4));
}

TEST(CanvasFill, XorPenRectangleTwiceRestores) {
    auto b = Blank(8, 8, clTeal);
    TCanvas* c = b->GetCanvas();
    c->GetPen()->SetMode(pmXor);
    c->GetPen()->SetColor(clYellow);
    c->GetBrush()->SetStyle(bsClear);
    c->Rectangle(0, 0, 8, 8);
    EXPECT_EQ(Px(*b, 0, 0), ColorToRGB(clTeal) ^ ColorToRGB(clYellow));
    EXPECT_EQ(Px(*b, 7, 7), ColorToRGB(clTeal) ^ ColorToRGB(clYellow));
    c->Rectangle(0, 0, 8, 8);
    EXPECT_EQ(CountNot(*b, clTeal, Rect(0, 0, 8, 8)), 0);
}

TEST(CanvasFill, DrawFocusRectTwiceRestores) {
    auto b = Blank(10, 10, clSilver);
    TCanvas* c = b->GetCanvas();
    c->DrawFocusRect(Rect(1, 1, 9, 7));
    int changed = CountNot(*b, clSilver, Rect(0, 0, 10, 10));
    EXPECT_GT(changed, 0);
    EXPECT_EQ(CountNot(*b, clSilver, Rect(2, 2, 8, 6)), 0);  // only the frame
    c->DrawFocusRect(Rect(1, 1, 9, 7));
    EXPECT_EQ(CountNot(*b, clSilver, Rect(0, 0, 10, 10)), 0);
}

// ---- lines --------------------------------------------------------------------------------------

struct LineCase {
    TPoint from, to;
    std::set<std::pair<int, int>> pixels;
};

TEST(CanvasLines, LineToExcludesTheEndPoint) {
    const LineCase cases[] = {
        {{1, 1}, {5, 1}, {{1, 1}, {2, 1}, {3, 1}, {4, 1}}},
        {{5, 1}, {1, 1}, {{5, 1}, {4, 1}, {3, 1}, {2, 1}}},
        {{2, 0}, {2, 3}, {{2, 0}, {2, 1}, {2, 2}}},
        {{0, 0}, {3, 3}, {{0, 0}, {1, 1}, {2, 2}}},
        {{3, 0}, {0, 3}, {{3, 0}, {2, 1}, {1, 2}}},
        {{2, 2}, {2, 2}, {}},
    };
    for (const LineCase& lc : cases) {
        auto b = Blank(8, 8);
        TCanvas* c = b->GetCanvas();
        c->MoveTo(lc.from.x, lc.from.y);
        c->LineTo(lc.to.x, lc.to.y);
        EXPECT_EQ(PixelsOf(*b, clBlack), lc.pixels) << lc.from.x << "," << lc.from.y << " -> " << lc.to.x << "," << lc.to.y;
        EXPECT_EQ(c->GetPenPos(), lc.to);
    }
}

TEST(CanvasLines, PolylineJoinsWithoutDoubling) {
    auto b = Blank(8, 8, clTeal);
    TCanvas* c = b->GetCanvas();
    c->GetPen()->SetMode(pmXor);
    c->GetPen()->SetColor(clWhite);
    c->Polyline({Point(1, 1), Point(5, 1), Point(5, 5)});
    // Every pixel inverted exactly once: the corner too.
    COLORREF inv = ColorToRGB(clTeal) ^ 0xFFFFFF;
    EXPECT_EQ(Px(*b, 5, 1), inv);
    EXPECT_EQ(Px(*b, 1, 1), inv);
    EXPECT_EQ(Px(*b, 5, 4), inv);
    EXPECT_EQ(Px(*b, 5, 5), ColorToRGB(clTeal));
}

TEST(CanvasLines, DashedPenLeavesGaps) {
    auto b = Blank(40, 3);
    TCanvas* c = b->GetCanvas();
    c->GetPen()->SetStyle(psDot);
    c->MoveTo(0, 1);
    c->LineTo(40, 1);
    int on = static_cast<int>(PixelsOf(*b, clBlack).size());
    EXPECT_GT(on, 10);
    EXPECT_LT(on, 30);
}

TEST(CanvasLines, WidePenCoversMoreThanOneRow) {
    auto b = Blank(20, 20);
    TCanvas* c = b->GetCanvas();
    c->GetPen()->SetWidth(3);
    c->MoveTo(2, 10);
    c->LineTo(17, 10);
    EXPECT_EQ(Px(*b, 10, 9), 0u);
    EXPECT_EQ(Px(*b, 10, 10), 0u);
    EXPECT_EQ(Px(*b, 10, 11), 0u);
    EXPECT_EQ(Px(*b, 10, 14), 0xFFFFFFu);
}

// ---- shapes ------------------------------------------------------------------------------------

TEST(CanvasShapes, EllipseStaysInsideItsBoxAndFillsItsCentre) {
    auto b = Blank(30, 30);
    TCanvas* c = b->GetCanvas();
    c->GetPen()->SetColor(clRed);
    c->GetBrush()->SetColor(clBlue);
    c->Ellipse(5, 5, 25, 21);
    EXPECT_EQ(Px(*b, 15, 13), ColorToRGB(clBlue));
    EXPECT_EQ(Px(*b, 5, 5), 0xFFFFFFu);  // corners stay
    auto red = PixelsOf(*b, clRed);
    ASSERT_FALSE(red.empty());
    for (auto [x, y] : red) {
        EXPECT_GE(x, 5); EXPECT_LT(x, 25);
        EXPECT_GE(y, 5); EXPECT_LT(y, 21);
    }
    // The outline touches all four sides of the box (right and bottom exclusive).
    bool left = false, right = false, top = false, bottom = false;
    for (auto [x, y] : red) {
        left |= x == 5; right |= x == 24; top |= y == 5; bottom |= y == 20;
    }
    EXPECT_TRUE(left && right && top && bottom);
    // Only the two colours and white: no antialiasing.
    EXPECT_EQ(CountNot(*b, clWhite, Rect(0, 0, 30, 30)),
              static_cast<int>(red.size() + PixelsOf(*b, clBlue).size()));
}

TEST(CanvasShapes, PolygonAndRoundRectFill) {
    auto b = Blank(30, 30);
    TCanvas* c = b->GetCanvas();
    c->GetBrush()->SetColor(clLime);
    c->Polygon({Point(2, 2), Point(20, 2), Point(2, 20)});
    EXPECT_EQ(Px(*b, 6, 6), ColorToRGB(clLime));
    EXPECT_EQ(Px(*b, 18, 18), 0xFFFFFFu);
    c->RoundRect(22, 22, 30, 30, 4, 4);
    EXPECT_EQ(Px(*b, 26, 26), ColorToRGB(clLime));
    EXPECT_EQ(Px(*b, 22, 22), 0xFFFFFFu);  // the rounded corner
}

// ---- pictures -----------------------------------------------------------------------------------

// A w x h picture whose pixel (x, y) has colour RGB(x*16, y*16, 100).
std::unique_ptr<TBitmap> Gradient(int w, int h) {
    auto b = std::make_unique<TBitmap>(w, h, pf24bit);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b->GetCanvas()->SetPixels(x, y, static_cast<TColor>(RGB(x * 16, y * 16, 100)));
    return b;
}

TEST(CanvasDraw, DrawCopiesAtThePosition) {
    auto dst = Blank(10, 10);
    auto src = Gradient(3, 2);
    dst->GetCanvas()->Draw(4, 5, src.get());
    EXPECT_EQ(Px(*dst, 4, 5), RGB(0, 0, 100));
    EXPECT_EQ(Px(*dst, 6, 6), RGB(32, 16, 100));
    EXPECT_EQ(CountNot(*dst, clWhite, Rect(0, 0, 10, 10)), 6);
}

TEST(CanvasDraw, TransparentColourKeyLeavesKeyedPixelsUntouched) {
    auto dst = Blank(6, 6, clNavy);
    auto src = Blank(4, 4, clFuchsia);
    src->GetCanvas()->SetPixels(1, 1, clRed);
    src->GetCanvas()->SetPixels(2, 3, static_cast<TColor>(ColorToRGB(clFuchsia) ^ 1));  // one off: drawn
    src->SetTransparent(true);
    src->SetTransparentColor(clFuchsia);
    dst->GetCanvas()->Draw(1, 1, src.get());
    EXPECT_EQ(Px(*dst, 2, 2), ColorToRGB(clRed));
    EXPECT_EQ(Px(*dst, 3, 4), ColorToRGB(clFuchsia) ^ 1);
    EXPECT_EQ(CountNot(*dst, clNavy, Rect(0, 0, 6, 6)), 2);

    // Automatic mode keys on the bottom-left pixel.
    auto dst2 = Blank(6, 6, clNavy);
    src->SetTransparentMode(tmAuto);
    dst2->GetCanvas()->Draw(0, 0, src.get());
    EXPECT_EQ(CountNot(*dst2, clNavy, Rect(0, 0, 6, 6)), 2);
}

TEST(CanvasDraw, StretchDrawNearestNeighbour) {
    auto dst = Blank(8, 8);
    auto src = Gradient(2, 2);
    dst->GetCanvas()->StretchDraw(Rect(0, 0, 4, 6), src.get());
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(Px(*dst, x, y), RGB((x / 2) * 16, (y / 3) * 16, 100)) << x << "," << y;
    EXPECT_EQ(Px(*dst, 4, 0), 0xFFFFFFu);
    EXPECT_EQ(Px(*dst, 0, 6), 0xFFFFFFu);
}

TEST(CanvasDraw, StretchDrawShrinksByDroppingColumns) {
    auto dst = Blank(4, 4);
    auto src = Gradient(8, 8);
    dst->GetCanvas()->StretchDraw(Rect(0, 0, 4, 4), src.get());
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(Px(*dst, x, y), RGB((2 * x + 1) * 16, (2 * y + 1) * 16, 100));
}

TEST(CanvasDraw, FlippedRectanglesMirror) {
    struct Flip { TRect r; bool mirrorX; bool mirrorY; int left; int top; };
    // GDI covers [Right + 1, Left] for a negative width.
    const Flip flips[] = {{Rect(3, 0, -1, 3), true, false, 0, 0},
                          {Rect(0, 3, 4, 0), false, true, 0, 1},
                          {Rect(4, 2, 0, -1), true, true, 1, 0}};
    for (const Flip& f : flips) {
        auto dst = Blank(6, 6);
        auto src = Gradient(4, 3);
        dst->GetCanvas()->StretchDraw(f.r, src.get());
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x) {
                int sx = f.mirrorX ? 3 - x : x;
                int sy = f.mirrorY ? 2 - y : y;
                EXPECT_EQ(Px(*dst, f.left + x, f.top + y), RGB(sx * 16, sy * 16, 100))
                    << f.r.Left << "," << f.r.Top << "," << f.r.Right << "," << f.r.Bottom << " at " << x << "," << y;
            }
        EXPECT_EQ(CountNot(*dst, clWhite, Rect(0, 0, 6, 6)), 12);
    }
}

TEST(CanvasDraw, CopyRectStretchesMirrorsAndHonoursCopyMode) {
    auto src = Gradient(4, 4);
    auto dst = Blank(8, 8);
    TCanvas* c = dst->GetCanvas();
    c->CopyRect(Rect(0, 0, 4, 2), src->GetCanvas(), Rect(1, 1, 3, 2));  // 2x1 -> 4x2
    EXPECT_EQ(Px(*dst, 0, 0), RGB(16, 16, 100));
    EXPECT_EQ(Px(*dst, 1, 1), RGB(16, 16, 100));
    EXPECT_EQ(Px(*dst, 2, 0), RGB(32, 16, 100));
    c->CopyRect(Rect(0, 4, 4, 5), src->GetCanvas(), Rect(3, 0, -1, 1));  // source mirrored
    EXPECT_EQ(Px(*dst, 0, 4), RGB(48, 0, 100));
    EXPECT_EQ(Px(*dst, 3, 4), RGB(0, 0, 100));
    c->SetCopyMode(cmSrcInvert);
    c->CopyRect(Rect(0, 4, 4, 5), src->GetCanvas(), Rect(3, 0, -1, 1));
    EXPECT_EQ(Px(*dst, 0, 4), 0u);  // x ^ x
    c->SetCopyMode(cmNotSrcCopy);
    c->CopyRect(Rect(7, 7, 8, 8), src->GetCanvas(), Rect(0, 0, 1, 1));
    EXPECT_EQ(Px(*dst, 7, 7), ~RGB(0, 0, 100) & 0xFFFFFF);
}

TEST(CanvasDraw, CopyRectFromItselfOverlapping) {
    auto b = Gradient(4, 1);
    b->GetCanvas()->CopyRect(Rect(1, 0, 4, 1), b->GetCanvas(), Rect(0, 0, 3, 1));
    EXPECT_EQ(Px(*b, 0, 0), RGB(0, 0, 100));
    EXPECT_EQ(Px(*b, 1, 0), RGB(0, 0, 100));
    EXPECT_EQ(Px(*b, 3, 0), RGB(32, 0, 100));
}

// ---- clipping and origin ------------------------------------------------------------------------

TEST(CanvasClip, OriginShiftsDrawingAndClipRect) {
    auto b = Blank(10, 10);
    TCanvas* c = b->GetCanvas();
    c->SetOrigin(Point(3, 4));
    c->GetBrush()->SetColor(clRed);
    c->FillRect(Rect(0, 0, 2, 2));
    EXPECT_EQ(PixelsOf(*b, clRed), RectPixels(3, 4, 5, 6));
    EXPECT_EQ(c->GetClipRect(), Rect(-3, -4, 7, 6));
    c->MoveOrigin(1, 1);
    EXPECT_EQ(c->GetOrigin(), Point(4, 5));
    c->SetPixels(0, 0, clBlue);
    EXPECT_EQ(Px(*b, 4, 5), ColorToRGB(clBlue));
    EXPECT_EQ(c->GetPixels(0, 0), clBlue);
}

TEST(CanvasClip, IntersectClipRectLimitsEveryPrimitive) {
    auto b = Blank(10, 10);
    TCanvas* c = b->GetCanvas();
    c->IntersectClipRect(Rect(2, 2, 8, 8));
    c->IntersectClipRect(Rect(0, 0, 5, 5));
    EXPECT_EQ(c->GetClipRect(), Rect(2, 2, 5, 5));
    c->GetBrush()->SetColor(clRed);
    c->FillRect(Rect(0, 0, 10, 10));
    EXPECT_EQ(PixelsOf(*b, clRed), RectPixels(2, 2, 5, 5));
    c->MoveTo(0, 3);
    c->LineTo(10, 3);
    c->SetPixels(9, 9, clBlack);
    auto src = Gradient(10, 10);
    c->Draw(0, 0, src.get());
    EXPECT_EQ(CountNot(*b, clWhite, Rect(0, 0, 10, 10)), 9);
    EXPECT_EQ(c->GetPixels(9, 9), static_cast<TColor>(CLR_INVALID));
    c->ResetClip();
    c->FillRect(Rect(9, 9, 10, 10));
    EXPECT_EQ(Px(*b, 9, 9), ColorToRGB(clRed));
}

TEST(CanvasClip, SaveAndRestoreState) {
    auto b = Blank(10, 10);
    TCanvas* c = b->GetCanvas();
    c->GetPen()->SetColor(clRed);
    c->GetBrush()->SetColor(clBlue);
    c->GetFont()->SetName("Courier New");
    int level = c->SaveDC();
    EXPECT_EQ(level, 1);
    c->IntersectClipRect(Rect(0, 0, 2, 2));
    c->SetOrigin(Point(5, 5));
    c->GetPen()->SetColor(clLime);
    c->GetBrush()->SetStyle(bsClear);
    c->GetFont()->SetName("Arial");
    EXPECT_EQ(c->SaveDC(), 2);
    c->SetOrigin(Point(1, 1));
    EXPECT_TRUE(c->RestoreDC(-1));
    EXPECT_EQ(c->GetOrigin(), Point(5, 5));
    EXPECT_TRUE(c->RestoreDC(level));
    EXPECT_EQ(c->GetOrigin(), Point(0, 0));
    EXPECT_EQ(c->GetClipRect(), Rect(0, 0, 10, 10));
    EXPECT_EQ(c->GetPen()->GetColor(), clRed);
    EXPECT_EQ(c->GetBrush()->GetStyle(), bsSolid);
    EXPECT_EQ(c->GetBrush()->GetColor(), clBlue);
    EXPECT_EQ(c->GetFont()->GetName(), "Courier New");
    EXPECT_FALSE(c->RestoreDC(1));  // gone
    EXPECT_FALSE(c->RestoreDC(7));
}

TEST(CanvasClip, ParentPaintsChildAtItsOrigin) {
    // As a parent paints a graphic control: save, move the origin, clip to the child, paint, restore.
    auto b = Blank(20, 20);
    TCanvas* c = b->GetCanvas();
    int saved = c->SaveDC();
    c->MoveOrigin(10, 5);
    c->IntersectClipRect(Rect(0, 0, 4, 4));
    c->GetBrush()->SetColor(clGreen);
    c->FillRect(Rect(-10, -10, 100, 100));
    c->RestoreDC(saved);
    EXPECT_EQ(PixelsOf(*b, clGreen), RectPixels(10, 5, 14, 9));
}

TEST(CanvasTarget, NoTargetDoesNothingButMeasures) {
    TCanvas c;
    c.FillRect(Rect(0, 0, 10, 10));
    c.LineTo(5, 5);
    c.TextOut(0, 0, "x");
    EXPECT_EQ(c.GetPixels(0, 0), static_cast<TColor>(CLR_INVALID));
    EXPECT_GT(c.TextWidth("abc"), 0);
    TBitmap b(4, 4, pf24bit);
    c.SetTarget(&b);
    c.GetBrush()->SetColor(clRed);
    c.FillRect(Rect(0, 0, 1, 1));
    EXPECT_EQ(Px(b, 0, 0), ColorToRGB(clRed));
}

TEST(CanvasTarget, DrawingFiresChangeEvents) {
    auto b = Blank(4, 4);
    int canvasChanges = 0;
    int bitmapChanges = 0;
    b->GetCanvas()->OnChange = [&](TObject*) { ++canvasChanges; };
    b->OnChange = [&](TObject*) { ++bitmapChanges; };
    b->GetCanvas()->FillRect(Rect(0, 0, 2, 2));
    b->GetCanvas()->SetPixels(3, 3, clRed);
    EXPECT_EQ(canvasChanges, 2);
    EXPECT_EQ(bitmapChanges, 2);
}

// ---- text ---------------------------------------------------------------------------------------

TEST(CanvasText, TextOutDrawsInsideItsExtentInTheFontColour) {
    auto b = Blank(120, 40);
    TCanvas* c = b->GetCanvas();
    c->GetFont()->SetColor(clRed);
    c->GetBrush()->SetStyle(bsClear);
    TSize ext = c->TextExtent("Hello");
    ASSERT_GT(ext.cx, 10);
    ASSERT_GT(ext.cy, 5);
    c->TextOut(10, 5, "Hello");
    auto red = PixelsOf(*b, clRed);
    EXPECT_GT(red.size(), 20u);
    for (auto [x, y] : red) {
        EXPECT_GE(x, 10); EXPECT_LT(x, 10 + ext.cx);
        EXPECT_GE(y, 5); EXPECT_LT(y, 5 + ext.cy);
    }
    // Exact colours only: nothing but white and red.
    EXPECT_EQ(CountNot(*b, clWhite, Rect(0, 0, 120, 40)), static_cast<int>(red.size()));
    EXPECT_EQ(c->GetPenPos(), Point(10 + ext.cx, 5));
}

TEST(CanvasText, SolidBrushFillsTheTextBackground) {
    auto b = Blank(100, 30);
    TCanvas* c = b->GetCanvas();
    c->GetBrush()->SetColor(clYellow);
    c->GetFont()->SetColor(clBlack);
    TSize ext = c->TextExtent("Ab");
    c->TextOut(2, 3, "Ab");
    int yellow = static_cast<int>(PixelsOf(*b, clYellow).size());
    int black = static_cast<int>(PixelsOf(*b, clBlack).size());
    EXPECT_GT(black, 0);
    EXPECT_EQ(yellow + black, ext.cx * ext.cy);
}

TEST(CanvasText, TextRectClipsToItsRect) {
    auto b = Blank(100, 30);
    TCanvas* c = b->GetCanvas();
    c->GetBrush()->SetColor(clAqua);
    c->TextRect(Rect(5, 5, 15, 20), 5, 5, "WWWWWWWW");
    EXPECT_EQ(CountNot(*b, clWhite, Rect(15, 0, 100, 30)), 0);
    EXPECT_EQ(CountNot(*b, clWhite, Rect(0, 20, 100, 30)), 0);
    EXPECT_GT(static_cast<int>(PixelsOf(*b, clBlack).size()) + 0, 0);
    EXPECT_EQ(PixelsOf(*b, clAqua).size() + PixelsOf(*b, clBlack).size(), 150u);
}

TEST(CanvasText, BiggerFontsAreTallerAndBoldIsWider) {
    TCanvas c;
    c.GetFont()->SetSize(8);
    TSize small = c.TextExtent("Sample");
    c.GetFont()->SetSize(16);
    TSize big = c.TextExtent("Sample");
    EXPECT_GT(big.cy, small.cy);
    EXPECT_GT(big.cx, small.cx);
    c.GetFont()->SetStyle({fsBold});
    EXPECT_GE(c.TextWidth("Sample"), big.cx);
}

TEST(CanvasText, DrawTextCalcRectMeasuresWithoutDrawing) {
    auto b = Blank(200, 100);
    TCanvas* c = b->GetCanvas();
    TRect r = Rect(10, 10, 11, 11);
    int h = c->DrawText("Hello", r, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(r.Left, 10);
    EXPECT_EQ(r.Width(), c->TextWidth("Hello"));
    EXPECT_EQ(h, c->TextHeight("Hello"));
    EXPECT_EQ(r.Height(), h);
    EXPECT_EQ(CountNot(*b, clWhite, Rect(0, 0, 200, 100)), 0);

    TRect two = Rect(0, 0, 500, 0);
    int h2 = c->DrawText("one\ntwo", two, DT_CALCRECT);
    EXPECT_GE(h2, 2 * h - 1);

    TRect wrap = Rect(0, 0, c->TextWidth("word word") + 2, 0);
    int h3 = c->DrawText("word word word word", wrap, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_GE(h3, 2 * h - 1);
    EXPECT_LE(wrap.Width(), c->TextWidth("word word") + 2);
}

TEST(CanvasText, PrefixesAreHiddenUnderlinedOrLiteral) {
    TCanvas c;
    TRect r;
    r = Rect(0, 0, 0, 0);
    c.DrawText("&File", r, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(r.Width(), c.TextWidth("File"));
    r = Rect(0, 0, 0, 0);
    c.DrawText("A&&B", r, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(r.Width(), c.TextWidth("A&B"));
    r = Rect(0, 0, 0, 0);
    c.DrawText("&File", r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(r.Width(), c.TextWidth("&File"));
}

TEST(CanvasText, PrefixUnderlinesTheNextCharacter) {
    auto plain = Blank(80, 30);
    auto prefixed = Blank(80, 30);
    TRect r = Rect(0, 0, 80, 30);
    plain->GetCanvas()->GetBrush()->SetStyle(bsClear);
    prefixed->GetCanvas()->GetBrush()->SetStyle(bsClear);
    plain->GetCanvas()->DrawText("File", r, DT_SINGLELINE);
    prefixed->GetCanvas()->DrawText("&File", r, DT_SINGLELINE);
    auto a = PixelsOf(*plain, clBlack);
    auto b = PixelsOf(*prefixed, clBlack);
    // The same glyphs plus an underline under the F only.
    for (auto p : a) EXPECT_TRUE(b.count(p)) << p.first << "," << p.second;
    std::set<std::pair<int, int>> extra;
    for (auto p : b)
        if (!a.count(p)) extra.insert(p);
    ASSERT_FALSE(extra.empty());
    int fWidth = plain->GetCanvas()->TextWidth("F");
    for (auto [x, y] : extra) EXPECT_LE(x, fWidth);
}

TEST(CanvasText, DrawTextAlignsAndClips) {
    auto b = Blank(100, 20);
    TCanvas* c = b->GetCanvas();
    c->GetBrush()->SetStyle(bsClear);
    TRect r = Rect(0, 0, 100, 20);
    c->DrawText("x", r, DT_SINGLELINE | DT_RIGHT | DT_VCENTER);
    auto ink = PixelsOf(*b, clBlack);
    ASSERT_FALSE(ink.empty());
    for (auto [x, y] : ink) EXPECT_GE(x, 100 - c->TextWidth("x") - 1);
    auto b2 = Blank(100, 20);
    TRect small = Rect(0, 0, 6, 20);
    b2->GetCanvas()->DrawText("WWWW", small, DT_SINGLELINE);
    EXPECT_EQ(CountNot(*b2, clWhite, Rect(6, 0, 100, 20)), 0);
    TRect ell = Rect(0, 0, 30, 20);
    auto b3 = Blank(100, 20);
    b3->GetCanvas()->DrawText("A rather long caption", ell, DT_SINGLELINE | DT_END_ELLIPSIS);
    EXPECT_EQ(CountNot(*b3, clWhite, Rect(30, 0, 100, 20)), 0);
    EXPECT_GT(CountNot(*b3, clWhite, Rect(0, 0, 30, 20)), 0);
}

}  // namespace

// GDI sets "fi" as two letters; a ligature would draw a different (here: blank) glyph.
TEST(CanvasTextTest, LettersAreNotJoinedIntoLigatures) {
    TBitmap a(60, 20, pf24bit), b(60, 20, pf24bit);
    for (TBitmap* bmp : {&a, &b}) {
        bmp->GetCanvas()->GetFont()->SetName("Tahoma");
        bmp->GetCanvas()->GetFont()->SetSize(8);
        bmp->GetCanvas()->GetBrush()->SetColor(clWhite);
        bmp->GetCanvas()->FillRect(Rect(0, 0, 60, 20));
    }
    a.GetCanvas()->TextOut(2, 2, "fi");
    b.GetCanvas()->TextOut(2, 2, "f");
    b.GetCanvas()->TextOut(2 + b.GetCanvas()->TextWidth("f"), 2, "i");
    EXPECT_EQ(a.GetCanvas()->TextWidth("fi"), b.GetCanvas()->TextWidth("f") + b.GetCanvas()->TextWidth("i"));
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 60; ++x) ASSERT_EQ(a.GetPixelColor(x, y), b.GetPixelColor(x, y)) << x << "," << y;
}

TEST(CanvasTextTest, BoldTextIsHeavierThanRegular) {
    auto ink = [](bool bold) {
        TBitmap b(80, 20, pf24bit);
        TCanvas* c = b.GetCanvas();
        c->GetBrush()->SetColor(clWhite);
        c->FillRect(Rect(0, 0, 80, 20));
        c->GetFont()->SetName("Tahoma");
        c->GetFont()->SetSize(10);
        if (bold) c->GetFont()->SetStyle({fsBold});
        c->GetBrush()->SetStyle(bsClear);
        c->TextOut(1, 1, "Hello");
        int n = 0;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 80; ++x) n += b.GetPixelColor(x, y) != 0xFFFFFF;
        return n;
    };
    EXPECT_GT(ink(true), ink(false) + 10);
}
