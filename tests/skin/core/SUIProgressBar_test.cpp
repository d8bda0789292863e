#include "skin/core/SUIProgressBar.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "platform/vcl/Forms.h"
#include "tests/support/TestHelpers.h"

using namespace testing_vcl;

namespace {

TEST(ProgressArithmetic, PercentAndDoneLength) {
    struct Case { int pos, min, max, length; long long percent; int done; } cases[] = {
        {50, 0, 100, 149, 50, 74},
        {150, 0, 100, 149, 150, 149},
        {-10, 0, 100, 149, -10, 0},
        {5, 5, 5, 149, 0, 0},
        {INT_MAX, INT_MIN, INT_MAX, 1000, 100, 1000},
        {0, INT_MIN, INT_MAX, 1000, 50, 500},
        {INT_MIN, INT_MIN, INT_MAX, 1000, 0, 0},
        {INT_MAX, 0, INT_MAX, 2000000000, 100, 2000000000},
        {1, 0, INT_MAX, 2000000000, 0, 0},
        {10, 20, 0, 100, 50, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.pos) + " " + std::to_string(c.min) + ".." + std::to_string(c.max));
        EXPECT_EQ(SUIProgressPercent(c.pos, c.min, c.max), c.percent);
        EXPECT_EQ(SUIProgressDoneLength(c.pos, c.min, c.max, c.length), c.done);
    }
}

class ProgressBar : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<TForm>(nullptr);
        form->SetBorderStyle(bsNone);
        form->SetBounds(10, 10, 200, 100);
        form->SetColor(clWhite);
        bar = new TsuiProgressBar(form.get());
        bar->SetParent(form.get());
        bar->SetLeft(10);
        bar->SetTop(10);
    }
    std::unique_ptr<TForm> form;
    TsuiProgressBar* bar = nullptr;
};

TEST_F(ProgressBar, DefaultsAndCaptions) {
    EXPECT_EQ(bar->GetWidth(), 150);
    EXPECT_EQ(bar->GetHeight(), 12);
    EXPECT_EQ(bar->GetCaption(), "50%");
    bar->SetPosition(150);
    EXPECT_EQ(bar->GetCaption(), "150%");
    bar->SetPosition(-10);
    EXPECT_EQ(bar->GetCaption(), "-10%");
    bar->SetMax(0);
    bar->SetMin(0);
    EXPECT_EQ(bar->GetCaption(), "0%");
    bar->SetMax(200);
    bar->SetPosition(0);
    bar->StepIt();
    bar->StepBy(99);
    EXPECT_EQ(bar->GetPosition(), 100);
    EXPECT_EQ(bar->GetCaption(), "50%");
}

TEST_F(ProgressBar, PaintsTheDonePartTheRestAndTheFrame) {
    bar->SetUIStyle(WinXP);
    bar->SetShowCaption(false);
    bar->SetPosition(50);
    TBitmap shot;
    Snapshot(bar, &shot);
    EXPECT_EQ(static_cast<TColor>(shot.GetPixelColor(0, 5)), bar->GetBorderColor());
    EXPECT_EQ(static_cast<TColor>(shot.GetPixelColor(140, 5)), bar->GetColor());
    EXPECT_NE(static_cast<TColor>(shot.GetPixelColor(30, 5)), bar->GetColor());
    // -10: a one-pixel done part only.
    bar->SetPosition(-10);
    Snapshot(bar, &shot);
    EXPECT_EQ(static_cast<TColor>(shot.GetPixelColor(2, 5)), bar->GetColor());
}

TEST_F(ProgressBar, SmartCaptionHidesAtMinimum) {
    bar->SetUIStyle(DeepBlue);
    bar->SetCaptionColor(clRed);
    bar->SetPosition(0);
    auto redPixels = [&] {
        TBitmap shot;
        Snapshot(bar, &shot);
        int n = 0;
        for (int y = 0; y < shot.GetHeight(); ++y)
            for (int x = 0; x < shot.GetWidth(); ++x) n += static_cast<TColor>(shot.GetPixelColor(x, y)) == clRed;
        return n;
    };
    EXPECT_GT(redPixels(), 0);
    bar->SetSmartShowCaption(true);
    EXPECT_EQ(redPixels(), 0);
}

TEST_F(ProgressBar, PaintingVerticallyTurnsTheCaptionOffForGood) {
    bar->SetOrientation(suiVertical);
    bar->SetBounds(10, 10, 12, 80);
    TBitmap shot;
    Snapshot(bar, &shot);
    EXPECT_FALSE(bar->GetShowCaption());
    bar->SetOrientation(suiHorizontal);
    EXPECT_FALSE(bar->GetShowCaption());
    // Filled from the bottom: the top is not done at 50%.
    EXPECT_EQ(static_cast<TColor>(shot.GetPixelColor(5, 5)), bar->GetColor());
}

}  // namespace
