#include "skin/controls/SUIRadioGroup.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/vcl/Forms.h"
#include "tests/support/TestHelpers.h"

using namespace testing_vcl;

namespace {

TEST(SUIGroupButtonOriginTable, FillsColumnByColumn) {
    // Client 100 high from y = 20; group 210 wide: columns (210 - 10) / Columns wide.
    const TRect client = Rect(3, 20, 208, 120);
    struct Case {
        int index, count, columns;
        TPoint at;
    } cases[] = {
        {0, 5, 2, {8, 20}},    // three rows of 33 (100 / 3); half the spare pixel goes above
        {1, 5, 2, {8, 53}},  {2, 5, 2, {8, 86}},   {3, 5, 2, {108, 20}}, {4, 5, 2, {108, 53}},
        {0, 6, 1, {8, 22}},    // six rows of 16; spare 4, two above
        {5, 6, 1, {8, 102}},
        {0, 1, 1, {8, 20}},  {2, 4, 4, {108, 20}}, {3, 4, 1, {8, 95}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SUIGroupButtonOrigin(c.index, c.count, c.columns, 210, client), c.at)
            << c.index << " of " << c.count << " in " << c.columns;
}

class RadioGroupTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<TForm>(nullptr);
        form->SetBorderStyle(bsNone);
        form->SetBounds(30, 30, 360, 260);
        form->Show();
    }
    template <class T>
    T* NewGroup(std::initializer_list<const char*> Lines) {
        auto* g = new T(form.get());
        g->SetParent(form.get());
        g->SetBounds(10, 10, 210, 150);
        for (const char* line : Lines) g->GetItems()->Add(line);
        g->OnClick = [this](TObject*) { ++clicks; };
        return g;
    }
    std::unique_ptr<TForm> form;
    int clicks = 0;
};

// Refuses every change, as a read-only data-aware group does.
class TLockedRadioGroup : public TsuiRadioGroup {
public:
    using TsuiRadioGroup::TsuiRadioGroup;
    bool CanModify() override { return false; }
};

TEST_F(RadioGroupTest, DefaultsAndOneButtonPerLine) {
    auto* g = NewGroup<TsuiCheckGroup>({"One", "Two", "Three"});
    EXPECT_EQ(g->GetColumns(), 1);
    EXPECT_EQ(g->GetTopMargin(), 8);
    EXPECT_TRUE(g->GetTabStop());
    ASSERT_EQ(g->ButtonCount(), 3);
    EXPECT_STREQ(g->Button(0)->ClassName(), "TsuiCheckGroupButton");
    EXPECT_EQ(g->Button(2)->GetCaption(), "Three");
    EXPECT_FALSE(g->Button(0)->GetTabStop());
    EXPECT_EQ(g->Button(0)->GetParent(), g);
}

TEST_F(RadioGroupTest, FiveItemsInTwoColumnsMakeThreeRows) {
    auto* g = NewGroup<TsuiCheckGroup>({"a", "b", "c", "d", "e"});
    g->SetColumns(2);
    TRect client = g->GetClient();
    client.Top += g->GetTopMargin();
    for (int i = 0; i < 5; ++i) {
        TPoint want = SUIGroupButtonOrigin(i, 5, 2, g->GetWidth(), client);
        EXPECT_EQ(g->Button(i)->GetLeft(), want.x) << i;
        EXPECT_EQ(g->Button(i)->GetTop(), want.y) << i;
    }
    EXPECT_EQ(g->Button(0)->GetLeft(), g->Button(2)->GetLeft());
    EXPECT_EQ(g->Button(3)->GetTop(), g->Button(0)->GetTop());
    EXPECT_GT(g->Button(3)->GetLeft(), g->Button(2)->GetLeft());
}

TEST_F(RadioGroupTest, ZeroColumnsAndNegativeMarginsAreIgnored) {
    auto* g = NewGroup<TsuiCheckGroup>({"a", "b"});
    g->SetColumns(0);
    EXPECT_EQ(g->GetColumns(), 1);
    g->SetColumns(-2);
    EXPECT_EQ(g->GetColumns(), 1);
    g->SetTopMargin(-1);
    EXPECT_EQ(g->GetTopMargin(), 8);
    g->SetTopMargin(0);
    EXPECT_EQ(g->GetTopMargin(), 0);
}

TEST_F(RadioGroupTest, RemovedLinesFreeTheLastButtons) {
    auto* g = NewGroup<TsuiCheckGroup>({"a", "b", "c", "d"});
    TDeathWatch watch;
    TsuiCheckBox* third = g->Button(2);
    TsuiCheckBox* fourth = g->Button(3);
    watch.Watch(third);
    watch.Watch(fourth);
    g->GetItems()->Delete(0);
    g->GetItems()->Delete(0);
    ASSERT_EQ(g->ButtonCount(), 2);
    EXPECT_EQ(watch.gone, (std::set<TComponent*>{third, fourth}));
    EXPECT_EQ(g->Button(0)->GetCaption(), "c");
    EXPECT_EQ(g->Button(1)->GetCaption(), "d");
}

TEST_F(RadioGroupTest, IndexesOutsideTheButtonsReadFalseAndWriteNothing) {
    auto* g = NewGroup<TsuiCheckGroup>({"a", "b"});
    for (int i : {-1, 2, 100}) {
        EXPECT_FALSE(g->GetChecked(i)) << i;
        EXPECT_FALSE(g->GetItemEnabled(i)) << i;
        g->SetChecked(i, true);
        g->SetItemEnabled(i, false);
    }
    g->SetChecked(1, true);
    EXPECT_TRUE(g->GetChecked(1));
    g->SetItemEnabled(0, false);
    EXPECT_FALSE(g->GetItemEnabled(0));
    EXPECT_TRUE(g->GetItemEnabled(1));
}

TEST_F(RadioGroupTest, ItemIndexChecksOneAndMinusOneClearsAll) {
    auto* g = NewGroup<TsuiRadioGroup>({"a", "b", "c"});
    EXPECT_EQ(g->GetItemIndex(), -1);
    EXPECT_STREQ(g->Button(0)->ClassName(), "TsuiRadioGroupButton");
    g->SetItemIndex(1);
    EXPECT_EQ(g->GetItemIndex(), 1);
    g->SetItemIndex(2);
    EXPECT_EQ(g->GetItemIndex(), 2);
    EXPECT_FALSE(g->GetChecked(1)) << "the radio buttons uncheck their siblings";
    g->SetItemIndex(3);
    EXPECT_EQ(g->GetItemIndex(), 2) << "an index equal to the count is ignored";
    g->SetItemIndex(-2);
    EXPECT_EQ(g->GetItemIndex(), 2);
    g->SetItemIndex(-1);
    EXPECT_EQ(g->GetItemIndex(), -1);
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(g->GetChecked(i)) << i;
}

TEST_F(RadioGroupTest, AnItemIndexWhileTheItemsUpdateRaisesNothing) {
    auto* g = NewGroup<TsuiRadioGroup>({"a"});
    g->GetItems()->BeginUpdate();
    g->GetItems()->Add("b");
    g->GetItems()->Add("c");
    EXPECT_NO_THROW(g->SetItemIndex(2)) << "item 2 has no button yet";
    EXPECT_NO_THROW(g->SetItemIndex(0));
    g->GetItems()->EndUpdate();
    ASSERT_EQ(g->ButtonCount(), 3);
    EXPECT_EQ(g->GetItemIndex(), 0);
    g->SetItemIndex(2);
    EXPECT_EQ(g->GetItemIndex(), 2);
}

TEST_F(RadioGroupTest, ClickingAnItemChecksItAndClicksTheGroup) {
    auto* g = NewGroup<TsuiRadioGroup>({"a", "b"});
    Click(g->Button(1));
    EXPECT_EQ(g->GetItemIndex(), 1);
    EXPECT_GE(clicks, 1);
}

TEST_F(RadioGroupTest, CanModifyFalseKeepsTheCheckButItemIndexStillSets) {
    auto* g = NewGroup<TLockedRadioGroup>({"a", "b"});
    g->SetItemIndex(0);
    Click(g->Button(1));
    EXPECT_EQ(g->GetItemIndex(), 0);
    g->SetItemIndex(1);
    EXPECT_EQ(g->GetItemIndex(), 1);
}

TEST_F(RadioGroupTest, FontLookAndCursorReachEveryButton) {
    auto* g = NewGroup<TsuiCheckGroup>({"a", "b"});
    g->GetFont()->SetSize(14);
    for (int i = 0; i < 2; ++i) EXPECT_EQ(g->Button(i)->GetFont()->GetSize(), 14) << i;
    g->SetFontColor(0x123456);
    EXPECT_EQ(g->GetFont()->GetColor(), 0x123456);
    g->SetUIStyle(MacOS);
    for (int i = 0; i < 2; ++i) EXPECT_EQ(g->Button(i)->GetUIStyle(), MacOS) << i;
    g->SetCursor(crHandPoint);
    for (int i = 0; i < 2; ++i) EXPECT_EQ(g->Button(i)->GetCursor(), crHandPoint) << i;
    g->SetTransparent(true);
    for (int i = 0; i < 2; ++i) EXPECT_TRUE(g->Button(i)->GetTransparent()) << i;
    g->GetItems()->Add("c");
    EXPECT_TRUE(g->Button(2)->GetTransparent()) << "a new button takes the group's value";
}

}  // namespace
