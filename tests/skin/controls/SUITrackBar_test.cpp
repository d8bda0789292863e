#include "skin/controls/SUITrackBar.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"
#include "tests/skin/controls/ThemeFixture.h"
#include "tests/support/TestHelpers.h"

using namespace testing_vcl;

namespace {

TEST(SUITrackSliderOffsetTable, ScalesThePositionOverTheFreeLength) {
    struct Case {
        int length, slider, position, min, max, offset;
    } cases[] = {
        {111, 11, 0, 0, 10, 0},
        {111, 11, 10, 0, 10, 100},
        {111, 11, 5, 0, 10, 50},
        {111, 11, 7, 7, 7, 0},                    // Max = Min: at the start
        {211, 11, INT_MAX, INT_MIN, INT_MAX, 200},  // int32 extremes, no overflow
        {211, 11, 0, INT_MIN, INT_MAX, 100},
        {211, 11, INT_MIN, INT_MIN, INT_MAX, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SUITrackSliderOffset(c.length, c.slider, c.position, c.min, c.max), c.offset)
            << c.position << " in " << c.min << ".." << c.max;
}

TEST(SUITrackValueAtTable, PointToValueRoundsHalfToEven) {
    struct Case {
        int coord, length, slider, min, max;
        long long value;
    } cases[] = {
        {5, 110, 10, 0, 100, 0},
        {105, 110, 10, 0, 100, 100},
        {55, 110, 10, 0, 100, 50},
        {6, 30, 10, 0, 10, 0},      // 1 * 10 / 20 = 0.5 -> 0
        {8, 30, 10, 0, 10, 2},      // 3 * 10 / 20 = 1.5 -> 2
        {10, 30, 10, 0, 10, 2},     // 5 * 10 / 20 = 2.5 -> 2
        {50, 100, 100, 40, 60, 0},  // slider as long as the track: 0 whatever Min is
        {50, 100, 120, 40, 60, 0},
        {50, 110, 10, 9, 9, 9},     // Max = Min: Min
        {0, 110, 10, 0, 100, -5},   // beyond the ends: not clamped
        {105, 211, 11, INT_MIN, INT_MAX, 0},
        {205, 211, 11, INT_MIN, INT_MAX, INT_MAX},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SUITrackValueAt(c.coord, c.length, c.slider, c.min, c.max), c.value)
            << c.coord << " on " << c.length << "/" << c.slider << " " << c.min << ".." << c.max;
}

TEST(SUITrackTickOffsetsTable, ValuesByFrequencyAndAlwaysMax) {
    struct Case {
        int min, max, frequency, span;
        std::vector<int> ticks;
    } cases[] = {
        {0, 10, 3, 10, {0, 3, 6, 9, 10}},
        {0, 10, 1, 10, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
        {0, 10, 0, 10, {0, 10}},
        {0, 10, 11, 10, {0, 10}},
        {0, 10, 5, 20, {0, 10, 20}},
        {5, 5, 1, 10, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SUITrackTickOffsets(c.min, c.max, c.frequency, c.span), c.ticks) << c.frequency;
}

TEST(SUITrackTickOffsetsTable, HugeRangeGivesAtMostOneTickPerPixel) {
    auto ticks = SUITrackTickOffsets(INT_MIN, INT_MAX, 1, 200);
    ASSERT_EQ(ticks.size(), 201u);
    EXPECT_EQ(ticks.front(), 0);
    EXPECT_EQ(ticks.back(), 200);
    auto sparse = SUITrackTickOffsets(0, 1000000, 250000, 100);
    EXPECT_EQ(sparse, (std::vector<int>{0, 25, 50, 75, 100}));
}

TEST(SUITrackRepeatStepTable, StepsTowardThePointerNeverPastIt) {
    struct Case {
        int position;
        long long target;
        int step, toward, result;
    } cases[] = {
        {0, 8, 2, 1, 2}, {2, 8, 6, 1, 8}, {8, 8, 6, 1, 8}, {10, 3, 2, -1, 8}, {5, 4, 6, -1, 4},
        {5, 0, 6, 0, 5}, {INT_MAX - 1, INT_MAX, 6, 1, INT_MAX}, {INT_MIN + 1, INT_MIN, 6, -1, INT_MIN},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SUITrackRepeatStep(c.position, c.target, c.step, c.toward), c.result) << c.position << " " << c.target;
}

class TrackBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<TForm>(nullptr);
        form->SetBorderStyle(bsNone);
        form->SetBounds(50, 50, 320, 200);
        form->Show();
    }
    TsuiTrackBar* NewBar(TsuiProgressBarOrientation O = suiHorizontal) {
        auto* t = new TsuiTrackBar(form.get());
        t->SetParent(form.get());
        t->SetOrientation(O);
        if (O == suiHorizontal)
            t->SetBounds(10, 10, 210, 30);
        else
            t->SetBounds(10, 10, 30, 170);
        t->OnChange = [this](TObject*) { ++changes; };
        return t;
    }
    std::unique_ptr<TForm> form;
    int changes = 0;
};

TEST_F(TrackBarTest, Defaults) {
    TsuiTrackBar* t = NewBar();
    EXPECT_EQ(t->GetMin(), 0);
    EXPECT_EQ(t->GetMax(), 10);
    EXPECT_EQ(t->GetPosition(), 0);
    EXPECT_EQ(t->GetPageSize(), 2);
    EXPECT_EQ(t->GetLineSize(), 1);
    EXPECT_EQ(t->GetFrequency(), 1);
    EXPECT_TRUE(t->GetShowTick());
    EXPECT_TRUE(t->GetTabStop());
    EXPECT_FALSE(t->IsDragging());
    EXPECT_FALSE(t->GetBarImage()->GetGraphic() == nullptr) << "the look's bar picture";
    EXPECT_EQ(t->GetHeight(), std::max(t->GetBarImage()->GetHeight(), t->Slider()->GetHeight()));
}

TEST_F(TrackBarTest, ClampingSetters) {
    TsuiTrackBar* t = NewBar();
    t->SetPosition(8);
    EXPECT_EQ(changes, 1);
    t->SetMax(5);
    EXPECT_EQ(t->GetPosition(), 5) << "Max below Position pulls it down";
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(t->GetLastChange(), -3);
    t->SetMin(9);
    EXPECT_EQ(t->GetMin(), 5) << "Min above Max becomes Max";
    EXPECT_EQ(t->GetPosition(), 5);
    t->SetMin(0);
    t->SetMax(-3);
    EXPECT_EQ(t->GetMax(), 0);
    t->SetPosition(100);
    EXPECT_EQ(t->GetPosition(), 0);
}

TEST_F(TrackBarTest, PageAndLineSizeOutsideZeroToMaxAreIgnored) {
    TsuiTrackBar* t = NewBar();
    for (int bad : {11, -1}) {
        t->SetPageSize(bad);
        t->SetLineSize(bad);
        EXPECT_EQ(t->GetPageSize(), 2) << bad;
        EXPECT_EQ(t->GetLineSize(), 1) << bad;
    }
    t->SetPageSize(10);
    EXPECT_EQ(t->GetPageSize(), 10);
}

TEST_F(TrackBarTest, MaxEqualsMinPutsTheSliderAtTheStart) {
    TsuiTrackBar* t = NewBar();
    t->SetMax(0);
    EXPECT_EQ(t->Slider()->GetLeft(), 0);
    ClickAt(t, 150, t->GetHeight() / 2);
    EXPECT_EQ(t->GetPosition(), 0);
}

TEST_F(TrackBarTest, HeldPressBesideTheSliderStepsTwoThenSixAndStopsUnderThePointer) {
    TsuiTrackBar* t = NewBar();
    t->SetMax(100);
    // The value under x = 160 on a 210-pixel track.
    const int x = 160, y = t->GetHeight() / 2;
    const long long under = SUITrackValueAt(x, t->GetWidth(), t->Slider()->GetWidth(), 0, 100);
    ASSERT_GT(under, 14);
    MouseMoveTo(t, x, y);
    MousePress(t, x, y);
    EXPECT_EQ(t->GetPosition(), 2);
    ASSERT_NE(t->RepeatTimer(), nullptr);
    EXPECT_EQ(t->RepeatTimer()->GetInterval(), 100u);
    t->RepeatTimer()->OnTimer(t->RepeatTimer());
    EXPECT_EQ(t->GetPosition(), 8);
    t->RepeatTimer()->OnTimer(t->RepeatTimer());
    EXPECT_EQ(t->GetPosition(), 14);
    for (int i = 0; i < 40; ++i) t->RepeatTimer()->OnTimer(t->RepeatTimer());
    EXPECT_EQ(t->GetPosition(), under);
    MouseRelease(t, x, y);
    EXPECT_EQ(t->RepeatTimer(), nullptr);
}

TEST_F(TrackBarTest, LeavingTheControlStopsTheRepeatForGood) {
    TsuiTrackBar* t = NewBar();
    const int y = t->GetHeight() / 2;
    MouseMoveTo(t, 180, y);
    MousePress(t, 180, y);
    ASSERT_NE(t->RepeatTimer(), nullptr);
    MouseMoveTo(t, 180, t->GetHeight() + 20, {ssLeft});
    EXPECT_EQ(t->RepeatTimer(), nullptr);
    MouseMoveTo(t, 180, y, {ssLeft});
    EXPECT_EQ(t->RepeatTimer(), nullptr);
    MouseRelease(t, 180, y);
    MousePress(t, 180, y);
    EXPECT_NE(t->RepeatTimer(), nullptr) << "a new press starts it anew";
    MouseRelease(t, 180, y);
}

TEST_F(TrackBarTest, DraggingTheSliderFollowsThePointer) {
    TsuiTrackBar* t = NewBar();
    t->SetMax(100);
    TsuiImagePanel* s = t->Slider();
    const int y = s->GetHeight() / 2;
    MouseMoveTo(s, 2, y);
    MousePress(s, 2, y);
    EXPECT_TRUE(t->IsDragging());
    MouseMoveTo(t, 105, y, {ssLeft});
    EXPECT_EQ(t->GetPosition(), SUITrackValueAt(105, 210, s->GetWidth(), 0, 100));
    EXPECT_GT(changes, 0);
    MouseMoveTo(t, 400, y, {ssLeft});
    EXPECT_EQ(t->GetPosition(), 100) << "clamped to Max";
    MouseRelease(t, 400, y);
    EXPECT_FALSE(t->IsDragging());
}

TEST_F(TrackBarTest, KeysStepThroughSetPosition) {
    TsuiTrackBar* t = NewBar();
    t->SetMax(20);
    t->SetPosition(10);
    struct Case {
        Word key;
        int position;
    } cases[] = {{VK_PRIOR, 8}, {VK_NEXT, 10}, {VK_LEFT, 9}, {VK_UP, 8}, {VK_RIGHT, 9}, {VK_DOWN, 10},
                 {VK_END, 20}, {VK_NEXT, 20}, {VK_HOME, 0}, {VK_PRIOR, 0}};
    t->SetFocus();
    for (const Case& c : cases) {
        PressKey(form.get(), c.key);
        EXPECT_EQ(t->GetPosition(), c.position) << "key " << c.key;
    }
    EXPECT_EQ(t->Perform(WM_GETDLGCODE), DLGC_WANTARROWS);
}

TEST_F(TrackBarTest, MacOSSwitchesTransparentOnForGood) {
    TsuiTrackBar* t = NewBar();
    EXPECT_FALSE(t->GetTransparent());
    t->SetUIStyle(MacOS);
    EXPECT_TRUE(t->GetTransparent());
    t->SetUIStyle(WinXP);
    EXPECT_TRUE(t->GetTransparent());
}

TEST_F(TrackBarTest, VerticalBarTurnsItsPictureAndSizesItsWidth) {
    TsuiTrackBar* t = NewBar(suiVertical);
    EXPECT_EQ(t->BarBitmap()->GetHeight(), t->GetHeight());
    EXPECT_EQ(t->BarBitmap()->GetWidth(), t->GetBarImage()->GetHeight());
    EXPECT_EQ(t->GetWidth(), std::max(t->GetBarImage()->GetHeight(), t->Slider()->GetWidth()));
    t->SetPosition(10);
    EXPECT_EQ(t->Slider()->GetTop(), t->GetHeight() - t->Slider()->GetHeight());
}

TEST_F(TrackBarTest, TicksAtTheBottomEdgeInTheDefaultPen) {
    TsuiTrackBar* t = NewBar();
    t->SetFrequency(5);
    t->SetPosition(5);  // the slider away from both ends
    const int half = t->Slider()->GetWidth() / 2;
    const int span = t->GetWidth() - t->Slider()->GetWidth();
    EXPECT_EQ(PixelAt(t, half, t->GetHeight() - 1), clBlack);
    EXPECT_EQ(PixelAt(t, span + half, t->GetHeight() - 1), clBlack);
    EXPECT_NE(PixelAt(t, half + 3, t->GetHeight() - 1), clBlack);
    t->SetShowTick(false);
    EXPECT_NE(PixelAt(t, half, t->GetHeight() - 1), clBlack);
}

TEST_F(TrackBarTest, FreeingTheFileThemeReturnsToDeepBlue) {
    skin_controls_test::ThemeFolder themes;
    TsuiFileTheme* theme = themes.NewTheme(form.get(), {{SUI_THEME_CONTROL_BORDER_COLOR, 0x010203}});
    TsuiTrackBar* t = NewBar();
    t->SetUIStyle(FromThemeFile);
    t->SetFileTheme(theme);
    delete theme;
    EXPECT_EQ(t->GetFileTheme(), nullptr);
    EXPECT_EQ(t->GetUIStyle(), DeepBlue);
}

TEST_F(TrackBarTest, ScrollTrackNeverLoadsThemePictures) {
    auto* t = new TsuiScrollTrackBar(form.get());
    t->SetParent(form.get());
    t->SetUIStyle(WinXP);
    t->SetBounds(0, 0, 100, 20);
    EXPECT_EQ(t->GetBarImage()->GetGraphic(), nullptr);
    EXPECT_EQ(t->GetSliderImage()->GetGraphic(), nullptr);
    TBitmap own(30, 12, pf24bit);
    TPicture pic;
    pic.SetBitmap(&own);
    t->SetSliderImage(&pic);
    t->UpdateSliderSize();
    t->SetUIStyle(MacOS);
    EXPECT_EQ(t->GetSliderImage()->GetWidth(), 30) << "the owner's picture stays";
    EXPECT_EQ(t->Slider()->GetWidth(), 30);
    t->SetSliderVisible(false);
    EXPECT_FALSE(t->GetSliderVisible());
}

}  // namespace
