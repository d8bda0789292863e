#include "platform/vcl/StdCtrls.h"

#include <gtest/gtest.h>

#include "platform/vcl/Forms.h"
#include "platform/vcl/SyntheticInput.h"
#include "tests/support/TestHelpers.h"

namespace {

using testing_vcl::PressKey;
using testing_vcl::TypeText;

class MemoTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = new TForm(nullptr);
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, 300, 200);
        memo = new TMemo(form);
        memo->SetParent(form);
        memo->SetBounds(10, 10, 200, 100);
        memo->SetScrollBars(ssVertical);
        memo->OnChange = [this](TObject*) { ++changes; };
        form->Show();
        memo->SetFocus();
        changes = 0;
    }
    void TearDown() override { delete form; }

    SCROLLINFO Vertical() {
        SCROLLINFO si;
        si.fMask = SIF_ALL;
        EXPECT_TRUE(GetScrollInfo(memo->GetHandle(), SB_VERT, &si));
        return si;
    }

    TForm* form = nullptr;
    TMemo* memo = nullptr;
    int changes = 0;
};

TEST_F(MemoTest, AddedLinesShowTheLastLine) {
    for (int i = 0; i < 50; ++i) memo->GetLines()->Add("line " + std::to_string(i));
    EXPECT_EQ(changes, 50);
    EXPECT_EQ(memo->GetLines()->Count(), 50);
    SCROLLINFO si = Vertical();
    EXPECT_GT(si.nPos, 0);
    EXPECT_EQ(si.nPos, si.nMax - static_cast<int>(si.nPage) + 1);
    EXPECT_EQ(memo->GetText().substr(0, 14), "line 0\nline 1\n");
}

TEST_F(MemoTest, TypingGoesThroughKeyPressAndFiresOnChange) {
    String log;
    memo->OnKeyPress = [&](TObject*, char& k) {
        log += k;
        if (k == 'x') k = 0;
    };
    TypeText(form, "axb");
    PressKey(form, VK_RETURN, {}, "\r");
    TypeText(form, "c");
    EXPECT_EQ(log, "axb\rc");
    EXPECT_EQ(memo->GetLines()->Count(), 2);
    EXPECT_EQ(memo->GetLines()->Strings(0), "ab");
    EXPECT_EQ(memo->GetLines()->Strings(1), "c");
    EXPECT_EQ(changes, 4);
    EXPECT_TRUE(memo->GetModified());
}

TEST_F(MemoTest, LettersBeyondAsciiAreTypedWhole) {
    // Typed on the keyboard, composed by the input method, or of three bytes.
    TypeText(form, "a");
    PressKey(form, 0, {}, "\xC3\xBC");
    SendSyntheticComposedText(memo, "\xC3\xA0");
    PressKey(form, 0, {}, "\xE2\x82\xAC");
    TypeText(form, "b");
    EXPECT_EQ(memo->GetLines()->Strings(0), "a\xC3\xBC\xC3\xA0\xE2\x82\xAC" "b");
}

TEST_F(MemoTest, TextFromCodeReplacesTheLinesAndFiresOnChange) {
    memo->SetText("one\r\ntwo\nthree");
    EXPECT_EQ(memo->GetLines()->Count(), 3);
    EXPECT_EQ(memo->GetLines()->Strings(2), "three");
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(memo->GetModified());
}

TEST_F(MemoTest, ThumbPositionPastSixteenBitsUsesTheWholePosition) {
    String big;
    for (int i = 0; i < 70000; ++i) big += "x\n";
    memo->GetLines()->SetText(big);
    SCROLLINFO si = Vertical();
    EXPECT_GT(si.nMax, 65535);
    const int target = 69000;
    memo->Perform(WM_VSCROLL, MakeScrollWParam(SB_THUMBPOSITION, target), 0);
    EXPECT_EQ(Vertical().nPos, target);
    memo->Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 10), 0);
    EXPECT_EQ(Vertical().nPos, 10);
    memo->Perform(WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(Vertical().nPos, 11);
}

TEST_F(MemoTest, ScrollBarStateFollowsTheBar) {
    TWinControl::TScrollBarState st;
    EXPECT_FALSE(memo->GetControlScrollBarState(SB_HORZ, st));
    ASSERT_TRUE(memo->GetControlScrollBarState(SB_VERT, st));
    EXPECT_TRUE(st.Visible);
    EXPECT_FALSE(st.Enabled);  // nothing to scroll yet
    for (int i = 0; i < 100; ++i) memo->GetLines()->Add("l");
    ASSERT_TRUE(memo->GetControlScrollBarState(SB_VERT, st));
    EXPECT_TRUE(st.Enabled);
    EXPECT_GT(st.ThumbEnd, st.ThumbStart);
    EXPECT_GE(st.BarRect.Right, memo->GetWidth() - 4);
}

}  // namespace
