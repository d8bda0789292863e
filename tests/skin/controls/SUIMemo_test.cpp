#include "skin/controls/SUIMemo.h"

#include <gtest/gtest.h>

#include "platform/vcl/Forms.h"
#include "skin/controls/SUIControlLook.h"
#include "tests/support/TestHelpers.h"

using namespace testing_vcl;

namespace {

class SkinMemoTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = new TForm(nullptr);
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, 320, 240);
        memo = new TsuiMemo(form);
        memo->SetParent(form);
        memo->SetBounds(10, 10, 200, 120);
        form->Show();
    }
    void TearDown() override { delete form; }

    TsuiScrollBar* AttachVertical() {
        auto* bar = new TsuiScrollBar(form);
        bar->SetParent(form);
        memo->SetVScrollBar(bar);
        return bar;
    }
    SCROLLINFO Own() {
        SCROLLINFO si;
        si.fMask = SIF_ALL;
        EXPECT_TRUE(GetScrollInfo(memo->GetHandle(), SB_VERT, &si));
        return si;
    }

    TForm* form = nullptr;
    TsuiMemo* memo = nullptr;
};

TEST_F(SkinMemoTest, TheLogMemoShowsItsStoredBorderColour) {
    memo->SetReadOnly(true);
    memo->SetScrollBars(ssVertical);
    memo->SetUIStyle(MacOS);
    memo->SetColor(0xF0F0F0);
    memo->SetBorderColor(0x7F7F7F);
    EXPECT_EQ(memo->GetBorderWidth(), 2);
    EXPECT_EQ(PixelAt(memo, 0, 0), 0x7F7F7F);
    EXPECT_EQ(PixelAt(memo, 1, 50), 0xF0F0F0);
    memo->SetUIStyle(WinXP);
    EXPECT_EQ(PixelAt(memo, 0, 0), SUIControlColors(TsuiThemeValues(nullptr, WinXP)).BorderColor);
    memo->GetLines()->Add("Converting >>>");
    EXPECT_EQ(memo->GetLines()->Strings(0), "Converting >>>");
}

TEST_F(SkinMemoTest, AVerticalBarTurnsTheMemosOwnBarOnAndOffAgain) {
    auto* bar = AttachVertical();
    EXPECT_EQ(memo->GetScrollBars(), ssVertical);
    memo->SetVScrollBar(bar);  // the same bar again changes nothing
    EXPECT_EQ(memo->GetScrollBars(), ssVertical);
    delete bar;
    EXPECT_EQ(memo->GetVScrollBar(), nullptr);
    EXPECT_EQ(memo->GetScrollBars(), ssNone);
}

TEST_F(SkinMemoTest, TypedLinesEnableTheBarAndItFollowsTheMemo) {
    auto* bar = AttachVertical();
    memo->SetFocus();
    for (int i = 0; i < 30; ++i) {
        TypeText(form, "x");
        PressKey(form, VK_RETURN, {}, "\r");
    }
    PressKey(form, VK_END);  // a key message resynchronises
    EXPECT_TRUE(bar->GetEnabled());
    EXPECT_GT(bar->GetLineButton(), 0);
    EXPECT_GT(Own().nPos, 0);
    EXPECT_EQ(bar->GetPosition(), Own().nPos);
}

TEST_F(SkinMemoTest, MovingTheBarScrollsTheMemoPastSixteenBits) {
    auto* bar = AttachVertical();
    String big;
    for (int i = 0; i < 70000; ++i) big += "line\n";
    memo->SetText(big);
    memo->Perform(WM_KEYDOWN, VK_SHIFT, 0);  // resynchronise the bar with the new text
    ASSERT_GT(bar->GetMax(), 65535);
    bar->SetPosition(69000);
    EXPECT_EQ(Own().nPos, 69000);
    EXPECT_EQ(bar->GetPosition(), 69000);
    bar->SetPosition(12);
    EXPECT_EQ(Own().nPos, 12);
}

TEST_F(SkinMemoTest, HidingTheMemoHidesItsBarsAndShowingPlacesThem) {
    auto* bar = AttachVertical();
    EXPECT_TRUE(bar->GetVisible());
    EXPECT_EQ(bar->GetLeft(), memo->GetLeft() + memo->GetWidth() - bar->GetWidth() - 2);
    memo->Hide();
    EXPECT_FALSE(bar->GetVisible());
    memo->SetLeft(30);
    memo->Show();
    EXPECT_TRUE(bar->GetVisible());
    EXPECT_EQ(bar->GetLeft(), 30 + memo->GetWidth() - bar->GetWidth() - 2);
}

}  // namespace
