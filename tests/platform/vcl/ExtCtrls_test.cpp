#include "platform/vcl/ExtCtrls.h"

#include <chrono>

#include <gtest/gtest.h>

#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"
#include "tests/support/TestHelpers.h"

namespace {

using testing_vcl::PixelAt;
using testing_vcl::RunFor;
using testing_vcl::RunUntil;

// ---- timer ------------------------------------------------------------------------------------

TEST(Timer, DefaultsAndFirstTickAfterOneInterval) {
    TTimer timer(nullptr);
    EXPECT_TRUE(timer.GetEnabled());
    EXPECT_EQ(timer.GetInterval(), 1000u);
    timer.SetEnabled(false);
    int ticks = 0;
    std::chrono::steady_clock::time_point firstTick;
    timer.OnTimer = [&](TObject* sender) {
        EXPECT_EQ(sender, &timer);
        if (ticks++ == 0) firstTick = std::chrono::steady_clock::now();
    };
    timer.SetInterval(80);
    auto start = std::chrono::steady_clock::now();
    timer.SetEnabled(true);
    ASSERT_TRUE(RunUntil([&] { return ticks >= 2; }));
    // Never early: the first tick comes one interval after the start, not at once.
    EXPECT_GE(firstTick - start, std::chrono::milliseconds(75));
}

TEST(Timer, DisablingInTheHandlerStopsTheTicks) {
    TTimer timer(nullptr);
    timer.SetInterval(10);
    int ticks = 0;
    timer.OnTimer = [&](TObject*) {
        if (++ticks == 2) timer.SetEnabled(false);
    };
    ASSERT_TRUE(RunUntil([&] { return ticks >= 2; }));
    RunFor(100);
    EXPECT_EQ(ticks, 2);
    timer.SetEnabled(true);
    ASSERT_TRUE(RunUntil([&] { return ticks >= 3; }));
}

TEST(Timer, NoTicksWithIntervalZeroOrWithoutHandler) {
    TTimer zero(nullptr);
    int ticks = 0;
    zero.OnTimer = [&](TObject*) { ++ticks; };
    zero.SetInterval(0);
    TTimer silent(nullptr);
    silent.SetInterval(5);  // no handler: ticks do nothing
    RunFor(80);
    EXPECT_EQ(ticks, 0);
    // A handler assigned later is used from the next tick on.
    int late = 0;
    silent.OnTimer = [&](TObject*) { ++late; };
    ASSERT_TRUE(RunUntil([&] { return late >= 1; }));
}

TEST(Timer, ATimerFreedInItsOwnHandlerStopsCleanly) {
    auto* owner = new TComponent(nullptr);
    auto* timer = new TTimer(owner);
    timer->SetInterval(5);
    int ticks = 0;
    timer->OnTimer = [&](TObject* sender) {
        ++ticks;
        delete sender;
    };
    ASSERT_TRUE(RunUntil([&] { return ticks >= 1; }));
    RunFor(50);
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(owner->ComponentCount(), 0);
    delete owner;
}

TEST(Timer, ExceptionsInTheHandlerGoToTheApplication) {
    TTimer timer(nullptr);
    timer.SetInterval(5);
    int ticks = 0;
    timer.OnTimer = [&](TObject*) {
        if (++ticks == 1) throw Exception("tick failed");
        timer.SetEnabled(false);
    };
    String seen;
    Application->OnException = [&](TObject*, const std::exception& e) { seen = e.what(); };
    bool ok = RunUntil([&] { return ticks >= 2; });
    Application->OnException = nullptr;
    ASSERT_TRUE(ok);
    EXPECT_EQ(seen, "tick failed");
}

// ---- Frame3D and panels -----------------------------------------------------------------------

TEST(Frame3D, TopLeftAndBottomRightColoursAndTheShrunkRect) {
    TBitmap b(6, 5, pf24bit);
    b.GetCanvas()->GetBrush()->SetColor(clWhite);
    b.GetCanvas()->FillRect(Rect(0, 0, 6, 5));
    TRect r = Rect(0, 0, 6, 5);
    Frame3D(b.GetCanvas(), r, clRed, clBlue, 1);
    EXPECT_EQ(r, Rect(1, 1, 5, 4));
    const COLORREF red = ColorToRGB(clRed), blue = ColorToRGB(clBlue), white = ColorToRGB(clWhite);
    EXPECT_EQ(b.GetPixelColor(0, 0), red);
    EXPECT_EQ(b.GetPixelColor(4, 0), red);
    EXPECT_EQ(b.GetPixelColor(0, 3), red);
    EXPECT_EQ(b.GetPixelColor(5, 0), blue);  // top-right corner
    EXPECT_EQ(b.GetPixelColor(0, 4), blue);  // bottom-left corner
    EXPECT_EQ(b.GetPixelColor(5, 4), blue);
    EXPECT_EQ(b.GetPixelColor(5, 2), blue);
    EXPECT_EQ(b.GetPixelColor(2, 4), blue);
    EXPECT_EQ(b.GetPixelColor(1, 1), white);
}

class ControlsOnAForm : public ::testing::Test {
protected:
    void SetUp() override {
        form = new TForm(nullptr);
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, 160, 120);
        form->SetColor(clLime);
        form->Show();
    }
    void TearDown() override { delete form; }
    TForm* form = nullptr;
};

TEST_F(ControlsOnAForm, PanelBevels) {
    struct Case {
        TBevelCut outer;
        TBevelCut inner;
        int width;
        // expected colours at (0,0), (w-1,h-1), (width,width) and (w-1-width, h-1-width)
        TColor outerTop, outerBottom, innerTop, innerBottom;
    };
    const Case cases[] = {
        {bvRaised, bvNone, 1, clBtnHighlight, clBtnShadow, clBtnFace, clBtnFace},
        {bvLowered, bvNone, 1, clBtnShadow, clBtnHighlight, clBtnFace, clBtnFace},
        {bvRaised, bvLowered, 1, clBtnHighlight, clBtnShadow, clBtnShadow, clBtnHighlight},
        {bvLowered, bvRaised, 2, clBtnShadow, clBtnHighlight, clBtnHighlight, clBtnShadow},
        {bvNone, bvNone, 1, clBtnFace, clBtnFace, clBtnFace, clBtnFace},
        {bvSpace, bvNone, 1, clBtnFace, clBtnFace, clBtnFace, clBtnFace},
    };
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(10, 10, 40, 30);
    for (const Case& c : cases) {
        panel->SetBevelOuter(c.outer);
        panel->SetBevelInner(c.inner);
        panel->SetBevelWidth(c.width);
        int w = c.width;
        SCOPED_TRACE(testing::Message() << "outer " << c.outer << " inner " << c.inner << " width " << w);
        EXPECT_EQ(PixelAt(panel, 0, 0), ColorToRGB(c.outerTop));
        EXPECT_EQ(PixelAt(panel, w - 1, 15), ColorToRGB(c.outerTop));
        EXPECT_EQ(PixelAt(panel, 39, 29), ColorToRGB(c.outerBottom));
        EXPECT_EQ(PixelAt(panel, 39 - (w - 1), 10), ColorToRGB(c.outerBottom));
        EXPECT_EQ(PixelAt(panel, w, w), ColorToRGB(c.innerTop));
        EXPECT_EQ(PixelAt(panel, 39 - w, 29 - w), ColorToRGB(c.innerBottom));
        EXPECT_EQ(PixelAt(panel, 20, 15), ColorToRGB(clBtnFace));
    }
}

TEST_F(ControlsOnAForm, PanelAlignsChildrenInsideItsFrame) {
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(0, 0, 100, 80);
    panel->SetBevelOuter(bvRaised);
    panel->SetBevelInner(bvLowered);
    panel->SetBorderWidth(3);
    auto* child = new TPaintBox(form);
    child->SetParent(panel);
    child->SetAlign(alClient);
    EXPECT_EQ(panel->InnerRect(), Rect(5, 5, 95, 75));
    EXPECT_EQ(child->GetBoundsRect(), Rect(5, 5, 95, 75));
}

TEST_F(ControlsOnAForm, PanelCaptionIsCentredByDefault) {
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(0, 0, 120, 40);
    panel->SetBevelOuter(bvNone);
    panel->GetFont()->SetColor(clBlack);
    panel->SetCaption("WW");
    TBitmap shot;
    testing_vcl::Snapshot(panel, &shot);
    int minX = 1000, maxX = -1;
    for (int x = 0; x < 120; ++x)
        for (int y = 0; y < 40; ++y)
            if (shot.GetPixelColor(x, y) == ColorToRGB(clBlack)) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
            }
    ASSERT_GE(maxX, 0);
    EXPECT_NEAR((minX + maxX) / 2.0, 60, 3);
}

// ---- image ------------------------------------------------------------------------------------

TEST(ImageDestRect, PlacesThePictureAsTheVclDoes) {
    struct Case {
        int pw, ph, cw, ch;
        bool stretch, proportional, center;
        TRect want;
    };
    const Case cases[] = {
        {10, 10, 40, 30, false, false, false, Rect(0, 0, 10, 10)},
        {10, 10, 40, 30, false, false, true, Rect(15, 10, 25, 20)},
        {10, 10, 40, 30, true, false, false, Rect(0, 0, 40, 30)},
        {20, 10, 40, 30, true, true, false, Rect(0, 0, 40, 20)},
        {10, 20, 40, 30, true, true, true, Rect(12, 0, 27, 30)},
        {10, 10, 40, 30, false, true, false, Rect(0, 0, 10, 10)},  // fits: not enlarged
        {80, 40, 40, 30, false, true, false, Rect(0, 0, 40, 20)},  // too large: shrunk
        {80, 40, 40, 30, false, false, true, Rect(-20, -5, 60, 35)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ImageDestRect(c.pw, c.ph, c.cw, c.ch, c.stretch, c.proportional, c.center), c.want)
            << c.pw << "x" << c.ph << " in " << c.cw << "x" << c.ch << " s" << c.stretch << " p" << c.proportional
            << " c" << c.center;
}

// A 4 x 4 picture: red, with a blue bottom-left pixel and a yellow top-right one.
void MakePicture(TBitmap& b) {
    b.SetPixelFormat(pf24bit);
    b.SetSize(4, 4);
    b.GetCanvas()->GetBrush()->SetColor(clRed);
    b.GetCanvas()->FillRect(Rect(0, 0, 4, 4));
    b.GetCanvas()->SetPixels(0, 3, clBlue);
    b.GetCanvas()->SetPixels(3, 0, clYellow);
}

TEST_F(ControlsOnAForm, ImagePaintsAtTheTopLeftStretchedOrCentred) {
    auto* image = new TImage(form);
    image->SetParent(form);
    image->SetBounds(20, 20, 40, 40);
    TBitmap pic;
    MakePicture(pic);
    image->GetPicture()->SetGraphic(&pic);
    const COLORREF red = ColorToRGB(clRed), lime = ColorToRGB(clLime), yellow = ColorToRGB(clYellow);

    EXPECT_EQ(PixelAt(image, 0, 0), red);
    EXPECT_EQ(PixelAt(image, 3, 0), yellow);
    EXPECT_EQ(PixelAt(image, 10, 10), lime);  // the form shows around a small picture

    image->SetStretch(true);
    EXPECT_EQ(PixelAt(image, 39, 0), yellow);
    EXPECT_EQ(PixelAt(image, 30, 9), yellow);
    EXPECT_EQ(PixelAt(image, 29, 10), red);
    EXPECT_EQ(PixelAt(image, 0, 39), ColorToRGB(clBlue));

    image->SetStretch(false);
    image->SetCenter(true);
    EXPECT_EQ(PixelAt(image, 18, 18), red);
    EXPECT_EQ(PixelAt(image, 21, 18), yellow);
    EXPECT_EQ(PixelAt(image, 17, 17), lime);
    EXPECT_EQ(PixelAt(image, 22, 22), lime);
}

TEST_F(ControlsOnAForm, TransparentImageLetsTheKeyColourShowThrough) {
    auto* image = new TImage(form);
    image->SetParent(form);
    image->SetBounds(0, 0, 4, 4);
    TBitmap pic;
    MakePicture(pic);  // the key colour of a bitmap is its bottom-left pixel: blue
    pic.GetCanvas()->SetPixels(1, 1, clBlue);
    image->GetPicture()->SetGraphic(&pic);
    EXPECT_EQ(PixelAt(image, 1, 1), ColorToRGB(clBlue));
    image->SetTransparent(true);
    EXPECT_TRUE(image->GetPicture()->GetGraphic()->GetTransparent());
    EXPECT_EQ(PixelAt(image, 1, 1), ColorToRGB(clLime));
    EXPECT_EQ(PixelAt(image, 0, 3), ColorToRGB(clLime));
    EXPECT_EQ(PixelAt(image, 2, 2), ColorToRGB(clRed));
    // A picture loaded later becomes transparent too.
    TBitmap other;
    MakePicture(other);
    image->GetPicture()->SetGraphic(&other);
    EXPECT_TRUE(image->GetPicture()->GetGraphic()->GetTransparent());
}

TEST_F(ControlsOnAForm, ImageAutoSizeFollowsThePicture) {
    auto* image = new TImage(form);
    image->SetParent(form);
    image->SetBounds(7, 9, 50, 50);
    image->SetAutoSize(true);
    EXPECT_EQ(image->GetWidth(), 50);  // nothing to fit yet
    TBitmap pic(12, 8, pf24bit);
    image->GetPicture()->SetGraphic(&pic);
    EXPECT_EQ(image->GetBoundsRect(), Bounds(7, 9, 12, 8));
}

TEST_F(ControlsOnAForm, ImageCanvasMakesABitmapOfTheControlsSizeAndDrawingShows) {
    auto* image = new TImage(form);
    image->SetParent(form);
    image->SetBounds(0, 0, 30, 20);
    TCanvas* canvas = image->GetCanvas();
    ASSERT_NE(image->GetPicture()->GetGraphic(), nullptr);
    EXPECT_EQ(image->GetPicture()->GetWidth(), 30);
    EXPECT_EQ(image->GetPicture()->GetHeight(), 20);
    canvas->GetBrush()->SetColor(clFuchsia);
    canvas->FillRect(Rect(5, 5, 10, 10));
    EXPECT_EQ(PixelAt(image, 6, 6), ColorToRGB(clFuchsia));
    EXPECT_EQ(canvas, image->GetCanvas());
}

TEST_F(ControlsOnAForm, PaintBoxDrawsThroughOnPaint) {
    auto* box = new TPaintBox(form);
    box->SetParent(form);
    box->SetBounds(30, 30, 20, 20);
    int paints = 0;
    box->OnPaint = [&](TObject* sender) {
        ++paints;
        TCanvas* c = static_cast<TPaintBox*>(sender)->GetCanvas();
        c->GetBrush()->SetColor(clNavy);
        c->FillRect(Rect(0, 0, 5, 5));
    };
    EXPECT_EQ(PixelAt(box, 2, 2), ColorToRGB(clNavy));
    EXPECT_EQ(PixelAt(box, 10, 10), ColorToRGB(clLime));
    EXPECT_GE(paints, 1);
}

}  // namespace
