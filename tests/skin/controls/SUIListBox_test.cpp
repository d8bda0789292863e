#include "skin/controls/SUIListBox.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "skin/controls/SUIScrollBar.h"
#include "tests/support/TestHelpers.h"

using namespace testing_vcl;

namespace {

class SkinListTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = new TForm(nullptr);
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, 300, 240);
        list = new TsuiListBox(form);
        list->SetParent(form);
        list->SetBounds(10, 10, 160, 100);
        list->SetItemHeight(16);
        list->SetUIStyle(WinXP);
        list->SetBorderColor(0x686868);
        list->SetColor(clWhite);
        list->GetFont()->SetColor(clBlack);
        for (const char* s : {"00:00:10", "00:01:30", "00:02:00"}) list->GetItems()->Add(s);
        form->Show();
    }
    void TearDown() override { delete form; }
    // Columns in item Row (client coordinates) holding pixels of Colour.
    std::pair<int, int> Span(int Row, TColor Colour) {
        TBitmap shot;
        Snapshot(list, &shot);
        int first = -1, last = -1;
        TRect r = list->ItemRect(Row);
        for (int x = r.Left; x < r.Right; ++x)
            for (int y = r.Top; y < r.Bottom; ++y)
                if (static_cast<TColor>(shot.GetPixelColor(x, y)) == Colour) {
                    if (first < 0) first = x;
                    last = x;
                }
        return {first, last};
    }
    TForm* form = nullptr;
    TsuiListBox* list = nullptr;
};

TEST_F(SkinListTest, ANewListBoxIsOwnerDrawnInsideItsFlatBorder) {
    EXPECT_EQ(list->GetStyle(), lbOwnerDrawFixed);
    EXPECT_EQ(list->GetBorderWidth(), 2);
    EXPECT_EQ(list->ItemRect(0).Left, 2);
    EXPECT_EQ(PixelAt(list, 0, 50), 0x686868);
    EXPECT_EQ(PixelAt(list, 1, 50), clWhite);
}

TEST_F(SkinListTest, SelectedAndDisabledItemsTakeTheirColours) {
    list->SetSelectedColor(clNavy);
    list->SetSelectedTextColor(clYellow);
    list->SetDisabledTextColor(clRed);
    list->SetItemIndex(1);
    EXPECT_EQ(PixelAt(list, 150, list->ItemRect(1).Top + 2), clNavy);
    EXPECT_GE(Span(1, clYellow).first, 0);
    EXPECT_LT(Span(0, clYellow).first, 0);
    list->SetEnabled(false);
    EXPECT_GE(Span(0, clRed).first, 0);
    EXPECT_GE(Span(1, clRed).first, 0);  // every item, the selected one too
}

TEST_F(SkinListTest, TextKeepsTheTwoPixelInsetOnTheLeftWhateverTheAlignment) {
    auto left = Span(0, clBlack);
    ASSERT_GE(left.first, 0);
    EXPECT_GE(left.first, list->ItemRect(0).Left + 2);
    EXPECT_LE(left.first, list->ItemRect(0).Left + 3);
    list->SetAlignment(taRightJustify);
    auto right = Span(0, clBlack);
    EXPECT_GE(right.second, list->ItemRect(0).Right - 3);
    EXPECT_EQ(right.second - right.first, left.second - left.first);
}

TEST_F(SkinListTest, FocusRectangleOnlyWithShowFocusRect) {
    list->SetItemIndex(0);
    list->SetFocus();
    list->SetSelectedColor(clNavy);
    TRect r = list->ItemRect(0);
    TColor withRect = PixelAt(list, r.Left + 40, r.Top);
    list->SetShowFocusRect(false);
    EXPECT_EQ(PixelAt(list, r.Left + 40, r.Top), clNavy);
    EXPECT_NE(withRect, clNavy);
}

TEST_F(SkinListTest, MeasureStringIsCappedAt255) {
    list->GetFont()->SetHeight(-400);
    EXPECT_EQ(list->MeasureString("Tall", 100), 255);
    list->GetFont()->SetHeight(-11);
    EXPECT_LT(list->MeasureString("Short", 100), 255);
}

TEST_F(SkinListTest, ExternalBarFollowsTheItems) {
    auto* bar = new TsuiScrollBar(form);
    bar->SetParent(form);
    bar->SetOrientation(suiVertical);
    bar->SetBounds(0, 0, 16, 50);
    list->SetVScrollBar(bar);
    EXPECT_EQ(bar->GetLeft(), 10 + 160 - 16 - 2);
    EXPECT_FALSE(bar->GetVisible());  // three items fit
    for (int i = 0; i < 20; ++i) list->GetItems()->Add("more");
    EXPECT_TRUE(bar->GetVisible());
    EXPECT_EQ(bar->GetMax(), 22 - 6 + 1);
    bar->SetPosition(4);
    EXPECT_EQ(list->GetTopIndex(), 4);
    delete bar;
    EXPECT_EQ(list->GetVScrollBar(), nullptr);
}

TEST_F(SkinListTest, AHiddenListsBarStaysHiddenUntilTheListShows) {
    auto* bar = new TsuiScrollBar(form);
    bar->SetParent(form);
    bar->SetOrientation(suiVertical);
    bar->SetBounds(0, 0, 16, 50);
    list->SetVScrollBar(bar);
    for (int i = 0; i < 20; ++i) list->GetItems()->Add("more");
    ASSERT_TRUE(bar->GetVisible());
    list->SetVisible(false);
    EXPECT_FALSE(bar->GetVisible());
    list->GetItems()->Add("one more");
    EXPECT_FALSE(bar->GetVisible()) << "Items->Add";
    list->Perform(WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_FALSE(bar->GetVisible()) << "a key press";
    list->SetVisible(true);
    EXPECT_TRUE(bar->GetVisible()) << "the list shows again";
}

// A new window resynchronises the external bar, whatever was done to it before.
TEST_F(SkinListTest, ANewWindowResynchronisesTheBar) {
    auto* bar = new TsuiScrollBar(form);
    bar->SetParent(form);
    bar->SetOrientation(suiVertical);
    for (int i = 0; i < 20; ++i) list->GetItems()->Add("more");
    list->SetVScrollBar(bar);
    ASSERT_TRUE(bar->GetVisible());
    const int max = bar->GetMax();
    bar->SetVisible(false);
    bar->SetMax(max + 30);
    list->Perform(WM_CREATE, 0, 0);
    EXPECT_TRUE(bar->GetVisible());
    EXPECT_EQ(bar->GetMax(), max);
}

// Window creation tells the control before its children hear of theirs, once per window.
TEST(SkinListCreation, EachNewWindowSendsWMCreateOnce) {
    struct TCounting : TsuiListBox {
        using TsuiListBox::TsuiListBox;
        std::vector<String>* log = nullptr;
        void Dispatch(TMessage& Message) override {
            if (Message.Msg == WM_CREATE && log != nullptr) log->push_back(GetName());
            TsuiListBox::Dispatch(Message);
        }
    };
    std::vector<String> log;
    TForm form(nullptr);
    auto* outer = new TCounting(&form);
    outer->SetName("outer");
    outer->log = &log;
    outer->SetParent(&form);
    auto* panel = new TPanel(&form);
    panel->SetParent(&form);
    auto* inner = new TCounting(&form);
    inner->SetName("inner");
    inner->log = &log;
    inner->SetParent(panel);
    form.Show();
    EXPECT_EQ(log, (std::vector<String>{"outer", "inner"}));
    form.Hide();
    form.Show();
    EXPECT_EQ(log.size(), 2u) << "showing again makes no new window";
}

TEST(SkinFolderLists, TakeTheBorderAndTheLook) {
    TForm form(nullptr);
    form.SetBorderStyle(bsNone);
    form.SetBounds(0, 0, 300, 200);
    auto* files = new TsuiFileListBox(&form);
    files->SetParent(&form);
    files->SetBounds(0, 0, 100, 80);
    auto* dirs = new TsuiDirectoryListBox(&form);
    dirs->SetParent(&form);
    dirs->SetBounds(100, 0, 100, 80);
    form.Show();
    EXPECT_EQ(files->GetUIStyle(), DeepBlue);
    EXPECT_EQ(PixelAt(files, 0, 40), files->GetBorderColor());
    EXPECT_EQ(PixelAt(dirs, 0, 40), dirs->GetBorderColor());
}

}  // namespace
