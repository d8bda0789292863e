#include <gtest/gtest.h>

#include <vector>

#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/StdCtrls.h"
#include "tests/support/TestHelpers.h"

namespace {

using testing_vcl::PixelAt;

// Records the item messages a list box receives, as a subclass would see them.
class TWatchedListBox : public TListBox {
public:
    using TListBox::TListBox;
    std::vector<UINT> messages;
    std::vector<std::pair<int, UINT>> drawn;  // item id and state of each CN_DRAWITEM
    void Dispatch(TMessage& Message) override {
        if (Message.Msg >= LB_ADDSTRING && Message.Msg <= LB_SETCOUNT && Message.Msg != LB_GETCOUNT &&
            Message.Msg != LB_GETCURSEL && Message.Msg != LB_GETITEMDATA)
            messages.push_back(Message.Msg);
        if (Message.Msg == CN_DRAWITEM) {
            auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
            drawn.emplace_back(static_cast<int>(dis->itemID), dis->itemState);
        }
        TListBox::Dispatch(Message);
    }
};

class ListBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = new TForm(nullptr);
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, 300, 200);
        list = new TWatchedListBox(form);
        list->SetParent(form);
        list->SetBounds(10, 10, 150, 100);
        list->SetItemHeight(16);
        form->Show();
    }
    void TearDown() override { delete form; }
    void Fill(int n) {
        for (int i = 0; i < n; ++i) list->GetItems()->Add("Item " + std::to_string(i));
    }
    TForm* form = nullptr;
    TWatchedListBox* list = nullptr;
};

TEST_F(ListBoxTest, ItemChangesReachTheWindowAsMessages) {
    list->GetItems()->Add("b");
    list->GetItems()->Insert(0, "a");
    list->GetItems()->Delete(1);
    list->GetItems()->Clear();
    EXPECT_EQ(list->messages, (std::vector<UINT>{LB_ADDSTRING, LB_INSERTSTRING, LB_DELETESTRING, LB_RESETCONTENT}));
}

TEST_F(ListBoxTest, SortedListInsertsInOrderAndKeepsObjects) {
    list->SetSorted(true);
    auto* tag = reinterpret_cast<TObject*>(std::uintptr_t{7});
    list->GetItems()->AddObject("pear", tag);
    list->GetItems()->Add("apple");
    list->GetItems()->Add("Fig");
    EXPECT_EQ(list->GetItems()->GetText(), "apple\nFig\npear\n");
    EXPECT_EQ(list->GetItems()->Objects(2), tag);
    EXPECT_EQ(list->GetItems()->IndexOf("FIG"), 1);
}

TEST_F(ListBoxTest, ClickOnAnItemSelectsItAndFiresOnClickButCodeDoesNot) {
    Fill(3);
    int clicks = 0;
    list->OnClick = [&](TObject*) { ++clicks; };
    list->SetItemIndex(2);
    EXPECT_EQ(clicks, 0);
    testing_vcl::ClickAt(list, 20, 2 + 16 + 5);
    EXPECT_EQ(list->GetItemIndex(), 1);
    EXPECT_EQ(clicks, 1);
    testing_vcl::PressKey(form, VK_DOWN);
    EXPECT_EQ(list->GetItemIndex(), 2);
    EXPECT_EQ(clicks, 2);
}

TEST_F(ListBoxTest, OwnerDrawReflectsEachItemWithItsState) {
    Fill(3);
    list->SetStyle(lbOwnerDrawFixed);
    list->SetItemIndex(1);
    list->SetEnabled(false);
    list->drawn.clear();
    TBitmap shot;
    testing_vcl::Snapshot(form, &shot);
    ASSERT_EQ(list->drawn.size(), 3u);
    EXPECT_EQ(list->drawn[0], (std::pair<int, UINT>{0, ODS_DISABLED}));
    EXPECT_EQ(list->drawn[1], (std::pair<int, UINT>{1, ODS_DISABLED | ODS_SELECTED}));
}

TEST_F(ListBoxTest, EmptyFocusedListDrawsOnlyTheFocusRow) {
    list->SetStyle(lbOwnerDrawFixed);
    list->SetFocus();
    list->drawn.clear();
    TBitmap shot;
    testing_vcl::Snapshot(form, &shot);
    ASSERT_EQ(list->drawn.size(), 1u);
    EXPECT_EQ(list->drawn[0].first, -1);
    EXPECT_TRUE(list->drawn[0].second & ODS_FOCUS);
}

TEST_F(ListBoxTest, OnDrawItemPaintsOnTheListCanvas) {
    Fill(2);
    list->SetStyle(lbOwnerDrawFixed);
    list->OnDrawItem = [&](TWinControl*, int, const TRect& R, TOwnerDrawState) {
        list->GetCanvas()->GetBrush()->SetColor(clRed);
        list->GetCanvas()->FillRect(R);
    };
    EXPECT_EQ(PixelAt(list, 20, 2 + 8), clRed);
    EXPECT_EQ(PixelAt(list, 20, 2 + 16 + 8), clRed);
    EXPECT_EQ(PixelAt(list, 20, 2 + 40), ColorToRGB(clWindow));
}

TEST_F(ListBoxTest, SelectedItemIsHighlighted) {
    Fill(2);
    list->SetItemIndex(0);
    EXPECT_EQ(PixelAt(list, 140, 2 + 8), ColorToRGB(clHighlight));
    EXPECT_EQ(PixelAt(list, 140, 2 + 16 + 8), ColorToRGB(clWindow));
}

TEST_F(ListBoxTest, OverflowingItemsShowTheBarAndScroll) {
    Fill(3);
    TWinControl::TScrollBarState state;
    ASSERT_TRUE(list->GetControlScrollBarState(SB_VERT, state));
    EXPECT_FALSE(state.Visible);
    Fill(20);
    ASSERT_TRUE(list->GetControlScrollBarState(SB_VERT, state));
    EXPECT_TRUE(state.Visible);
    EXPECT_EQ(state.BarRect.Right, 148);
    SCROLLINFO info;
    info.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(list->GetHandle(), SB_VERT, &info));
    EXPECT_EQ(info.nMax, 22);
    EXPECT_EQ(info.nPage, 6u);  // 96 px of 16 px rows
    list->Perform(WM_VSCROLL, SB_THUMBPOSITION | (5 << 16), 0);
    EXPECT_EQ(list->GetTopIndex(), 5);
    list->Perform(WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(list->GetTopIndex(), 17);
    // A press on the bar's down arrow scrolls one row.
    list->Perform(WM_VSCROLL, SB_TOP, 0);
    testing_vcl::ClickAt(list, 140, 97 - 4);
    EXPECT_EQ(list->GetTopIndex(), 1);
}

}  // namespace
