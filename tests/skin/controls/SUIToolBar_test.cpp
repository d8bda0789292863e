#include "skin/controls/SUIToolBar.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/vcl/Forms.h"
#include "tests/support/TestHelpers.h"

using namespace testing_vcl;

namespace {

class SkinnedToolBar : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<TForm>(nullptr);
        form->SetBorderStyle(bsNone);
        form->SetBounds(10, 10, 300, 80);
        bar = new TsuiToolBar(form.get());
        bar->SetParent(form.get());
        bar->SetShowCaptions(true);
        bar->SetAutoSize(true);
        bar->SetUIStyle(WinXP);
    }
    TToolButton* Add(const String& Caption, TToolButtonStyle Style = tbsButton) {
        auto* b = new TToolButton(bar);
        b->SetParent(bar);
        b->SetCaption(Caption);
        b->SetStyle(Style);
        return b;
    }
    TColor At(int X, int Y) {
        TBitmap shot;
        Snapshot(form.get(), &shot);
        return static_cast<TColor>(shot.GetPixelColor(X, Y));
    }
    std::unique_ptr<TForm> form;
    TsuiToolBar* bar = nullptr;
};

TEST_F(SkinnedToolBar, ColoursFromTheLookAndSeeThroughInMacOSAndProtein) {
    EXPECT_EQ(bar->GetButtonBorderColor(), GetInsideThemeColor(WinXP, SUI_THEME_TOOLBAR_BUTTON_BORDER_COLOR));
    EXPECT_EQ(bar->GetButtonColor(), GetInsideThemeColor(WinXP, SUI_THEME_TOOLBAR_BUTTON_BACKGROUND_COLOR));
    EXPECT_EQ(bar->GetButtonDownColor(), GetInsideThemeColor(WinXP, SUI_THEME_TOOLBAR_BUTTON_DOWN_BACKGROUND_COLOR));
    EXPECT_FALSE(bar->GetTransparent());
    bar->SetUIStyle(MacOS);
    EXPECT_TRUE(bar->GetTransparent());
    bar->SetUIStyle(Protein);
    EXPECT_TRUE(bar->GetTransparent());
    bar->SetUIStyle(DeepBlue);
    EXPECT_FALSE(bar->GetTransparent());
    EXPECT_TRUE(bar->GetFlat());
}

TEST_F(SkinnedToolBar, CaptionCentredByItsWidthWithoutTheAmpersand) {
    EXPECT_EQ(SUIToolButtonCaptionLeft(10, 60, 20), 30);
    TToolButton* b = Add("&Open");
    b->SetAutoSize(false);
    bar->SetButtonWidth(80);
    bar->SetButtonColor(clYellow);
    bar->SetButtonBorderColor(clBlue);
    b->SetDown(true);
    b->SetStyle(tbsCheck);
    b->SetDown(true);
    form->Show();
    TBitmap shot;
    Snapshot(form.get(), &shot);
    TRect r = b->GetBoundsRect();
    // Checked, not hot: the hot box.
    EXPECT_EQ(static_cast<TColor>(shot.GetPixelColor(r.Left, r.Top)), clBlue);
    EXPECT_EQ(static_cast<TColor>(shot.GetPixelColor(r.Left + 2, r.Top + 2)), clYellow);
    // The caption's first ink column is where centring by "Open" puts it.
    TCanvas* c = shot.GetCanvas();
    c->SetFont(bar->GetFont());
    const int expectedLeft = SUIToolButtonCaptionLeft(r.Left, r.Width(), c->TextWidth("Open"));
    int firstInk = -1;
    for (int x = r.Left + 1; x < r.Right - 1 && firstInk < 0; ++x)
        for (int y = r.Top + 4; y < r.Bottom - 1; ++y)
            if (static_cast<TColor>(shot.GetPixelColor(x, y)) != clYellow) {
                firstInk = x;
                break;
            }
    EXPECT_NEAR(firstInk, expectedLeft, 2);
}

TEST_F(SkinnedToolBar, UncheckedButtonsThatAreNotHotKeepTheDefaultDrawing) {
    TToolButton* b = Add("Plain");
    bar->SetButtonColor(clYellow);
    form->Show();
    TRect r = b->GetBoundsRect();
    EXPECT_NE(At(r.Left + 2, r.Top + 2), clYellow);
    MouseMoveTo(b, 3, 3);
    EXPECT_EQ(At(r.Left + 2, r.Top + 2), clYellow);   // hot
    bar->SetButtonDownColor(clFuchsia);
    MousePress(b, 3, 3);
    EXPECT_EQ(At(r.Left + 2, r.Top + 2), clFuchsia);  // hot and pressed
    MouseRelease(b, 3, 3);
}

TEST_F(SkinnedToolBar, DropDownArrowAndSeparatorLine) {
    TToolButton* b = Add("Drop", tbsDropDown);
    form->Show();
    MouseMoveTo(b, 3, 3);
    TBitmap shot;
    Snapshot(form.get(), &shot);
    TRect r = b->GetBoundsRect();
    const int y = (r.Bottom - r.Top) / 2;
    EXPECT_EQ(static_cast<TColor>(shot.GetPixelColor(r.Right - 7, y + 1)), clBlack);   // the arrow's tip
    EXPECT_EQ(static_cast<TColor>(shot.GetPixelColor(r.Right - 9, y)), clBlack);
    EXPECT_EQ(static_cast<TColor>(shot.GetPixelColor(r.Right - 14, r.Top + 3)), clBlack);
}

}  // namespace
