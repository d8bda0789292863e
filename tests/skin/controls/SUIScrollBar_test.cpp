#include "skin/controls/SUIScrollBar.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/vcl/Forms.h"
#include "tests/skin/controls/ThemeFixture.h"
#include "tests/support/TestHelpers.h"

using namespace testing_vcl;

namespace {

TEST(SUIScrollSliderLengthTable, LineButtonOrPageSizePercent) {
    struct Case {
        int track, page, lineButton, length;
    } cases[] = {
        {200, 50, 0, 100}, {200, 5, 0, 20}, {200, 200, 0, 20}, {200, 100, 0, 200}, {200, 10, 0, 20},
        {200, 50, 5, 18},  {200, 50, 40, 40}, {0, 50, 0, 0},   {-3, 50, 0, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SUIScrollSliderLength(c.track, c.page, c.lineButton), c.length)
            << c.track << " " << c.page << " " << c.lineButton;
}

class ScrollBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<TForm>(nullptr);
        form->SetBorderStyle(bsNone);
        form->SetBounds(60, 60, 320, 260);
        form->Show();
    }
    TsuiScrollBar* NewBar(TsuiProgressBarOrientation O) {
        auto* b = new TsuiScrollBar(form.get());
        b->SetParent(form.get());
        b->SetOrientation(O);
        if (O == suiVertical)
            b->SetBounds(10, 10, 20, 200);
        else
            b->SetBounds(10, 10, 240, 20);
        b->SetOnChange([this](TObject*) { ++changes; });
        return b;
    }
    static int TrackLength(TsuiScrollBar* B) {
        return B->GetOrientation() == suiVertical ? B->Track()->GetHeight() : B->Track()->GetWidth();
    }
    static int SliderLength(TsuiScrollBar* B) {
        TControl* s = B->Track()->Slider();
        return B->GetOrientation() == suiVertical ? s->GetHeight() : s->GetWidth();
    }
    std::unique_ptr<TForm> form;
    int changes = 0;
};

TEST_F(ScrollBarTest, DefaultsAndTheArrowPictureSetsTheThickness) {
    auto* b = new TsuiScrollBar(form.get());
    b->SetParent(form.get());
    EXPECT_EQ(b->GetOrientation(), suiHorizontal);
    EXPECT_EQ(b->GetSmallChange(), 1);
    EXPECT_EQ(b->GetLineButton(), 0);
    EXPECT_EQ(b->GetMax(), 100);
    EXPECT_EQ(b->GetUIStyle(), DeepBlue);
    EXPECT_EQ(b->GetColor(), GetInsideThemeColor(DeepBlue, SUI_THEME_SCROLLBAR_BACKGROUND_COLOR));
    EXPECT_EQ(b->Track()->GetColor(), b->GetColor());
    ASSERT_GT(b->DecButton()->GetHeight(), 0);
    EXPECT_EQ(b->GetHeight(), b->DecButton()->GetHeight()) << "the 185 default gives way to the arrow";
    EXPECT_FALSE(b->Track()->GetShowTick());
    EXPECT_FALSE(b->Track()->GetTabStop());
    EXPECT_EQ(b->DecButton()->GetMouseContinuouslyDownInterval(), 100);
}

TEST_F(ScrollBarTest, LayoutPutsTheTrackBetweenTheArrows) {
    for (auto o : {suiHorizontal, suiVertical}) {
        TsuiScrollBar* b = NewBar(o);
        SCOPED_TRACE(o);
        if (o == suiVertical) {
            EXPECT_EQ(b->GetWidth(), b->DecButton()->GetWidth());
            EXPECT_EQ(b->Track()->GetTop(), b->DecButton()->GetHeight());
            EXPECT_EQ(b->Track()->GetHeight(), 200 - b->IncButton()->GetHeight() - b->DecButton()->GetHeight() - 1);
            EXPECT_EQ(b->IncButton()->GetTop(), 200 - b->IncButton()->GetHeight());
        } else {
            EXPECT_EQ(b->GetHeight(), b->DecButton()->GetHeight());
            EXPECT_EQ(b->Track()->GetLeft(), b->DecButton()->GetWidth());
            EXPECT_EQ(b->Track()->GetWidth(), 240 - b->IncButton()->GetWidth() - b->DecButton()->GetWidth());
            EXPECT_EQ(b->IncButton()->GetLeft(), 240 - b->IncButton()->GetWidth());
        }
    }
}

TEST_F(ScrollBarTest, ZeroSizeHidesTheBarUntilVisibleIsSet) {
    TsuiScrollBar* b = NewBar(suiVertical);
    b->SetHeight(0);
    EXPECT_FALSE(b->GetVisible());
    EXPECT_FALSE(b->Track()->GetVisible());
    b->SetHeight(150);
    EXPECT_FALSE(b->GetVisible()) << "sizing again does not show it";
    b->SetVisible(true);
    EXPECT_TRUE(b->Track()->GetVisible());
    EXPECT_TRUE(b->IncButton()->GetVisible());
}

TEST_F(ScrollBarTest, SliderLengthFollowsPageSizeOrLineButton) {
    TsuiScrollBar* b = NewBar(suiVertical);
    const int track = TrackLength(b);
    b->SetPageSize(50);
    EXPECT_EQ(SliderLength(b), track * 50 / 100);
    b->SetPageSize(5);
    EXPECT_EQ(SliderLength(b), track * 10 / 100);
    b->SetPageSize(200);
    EXPECT_EQ(SliderLength(b), track * 10 / 100);
    b->SetLineButton(5);
    EXPECT_EQ(b->GetLineButton(), 18);
    EXPECT_EQ(SliderLength(b), 18);
    b->SetLineButton(track + 100);
    EXPECT_EQ(b->GetLineButton(), 18) << "longer than the space between the arrows";
}

TEST_F(ScrollBarTest, LargeChangeStepsWithoutResizingTheSlider) {
    TsuiScrollBar* b = NewBar(suiHorizontal);
    b->SetPageSize(20);
    const int slider = SliderLength(b);
    b->SetLargeChange(50);
    EXPECT_EQ(b->GetPageSize(), 50);
    EXPECT_EQ(b->GetLargeChange(), 50);
    EXPECT_EQ(SliderLength(b), slider);
    b->SetPageSize(50);
    EXPECT_EQ(SliderLength(b), TrackLength(b) / 2);
}

TEST_F(ScrollBarTest, ArrowClickStepsOnceOnThePressThenRepeats) {
    TsuiScrollBar* b = NewBar(suiHorizontal);
    b->SetSmallChange(3);
    TsuiImageButton* inc = b->IncButton();
    ClickAt(inc, 2, 2);
    EXPECT_EQ(b->GetPosition(), 3) << "a quick click scrolls";
    EXPECT_EQ(changes, 1);
    MouseMoveTo(inc, 2, 2);
    MousePress(inc, 2, 2);
    EXPECT_EQ(b->GetPosition(), 6);
    ASSERT_NE(inc->RepeatTimer(), nullptr);
    inc->RepeatTimer()->OnTimer(inc->RepeatTimer());
    inc->RepeatTimer()->OnTimer(inc->RepeatTimer());
    EXPECT_EQ(b->GetPosition(), 12);
    MouseRelease(inc, 2, 2);
    ClickAt(b->DecButton(), 2, 2);
    EXPECT_EQ(b->GetPosition(), 9);
}

TEST_F(ScrollBarTest, HoldingTheArrowAtMaxFiresNothing) {
    TsuiScrollBar* b = NewBar(suiVertical);
    b->SetPosition(100);
    changes = 0;
    TsuiImageButton* inc = b->IncButton();
    MouseMoveTo(inc, 2, 2);
    MousePress(inc, 2, 2);
    ASSERT_NE(inc->RepeatTimer(), nullptr);
    for (int i = 0; i < 3; ++i) inc->RepeatTimer()->OnTimer(inc->RepeatTimer());
    MouseRelease(inc, 2, 2);
    EXPECT_EQ(b->GetPosition(), 100);
    EXPECT_EQ(changes, 0);
}

TEST_F(ScrollBarTest, PositionForwardedOnlyWhenItDiffers) {
    TsuiScrollBar* b = NewBar(suiHorizontal);
    b->SetPosition(40);
    b->SetPosition(40);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(b->GetLastChange(), 40);
    b->SetMin(50);
    EXPECT_EQ(b->GetPosition(), 50) << "the track clamps";
}

TEST_F(ScrollBarTest, EachLookLoadsArrowsAndColour) {
    TsuiScrollBar* b = NewBar(suiVertical);
    for (TsuiUIStyle look : {MacOS, WinXP, DeepBlue, Protein, BlueGlass}) {
        b->SetUIStyle(look);
        EXPECT_EQ(b->GetColor(), GetInsideThemeColor(look, SUI_THEME_SCROLLBAR_BACKGROUND_COLOR)) << look;
        EXPECT_NE(b->IncButton()->GetPicNormal()->GetGraphic(), nullptr) << look;
        EXPECT_NE(b->DecButton()->GetPicMouseDown()->GetGraphic(), nullptr) << look;
        EXPECT_GT(SliderLength(b), 0) << look;
    }
}

TEST_F(ScrollBarTest, FreeingTheFileThemeReturnsToDeepBlue) {
    skin_controls_test::ThemeFolder themes;
    TsuiFileTheme* theme = themes.NewTheme(form.get(), {{SUI_THEME_SCROLLBAR_BACKGROUND_COLOR, 0x0A0B0C}});
    TsuiScrollBar* b = NewBar(suiHorizontal);
    b->SetUIStyle(FromThemeFile);
    b->SetFileTheme(theme);
    EXPECT_EQ(b->GetColor(), 0x0A0B0C);
    delete theme;
    EXPECT_EQ(b->GetFileTheme(), nullptr);
    EXPECT_EQ(b->GetUIStyle(), DeepBlue);
    EXPECT_EQ(b->GetColor(), GetInsideThemeColor(DeepBlue, SUI_THEME_SCROLLBAR_BACKGROUND_COLOR));
}

}  // namespace
