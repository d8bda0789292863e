#include <gtest/gtest.h>

#include "platform/vcl/FileCtrl.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/StdCtrls.h"
#include "tests/support/TestHelpers.h"

namespace {

using testing_vcl::PixelAt;

class ComboBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = new TForm(nullptr);
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, 300, 200);
        combo = new TComboBox(form);
        combo->SetParent(form);
        combo->SetBounds(10, 10, 150, 22);
        combo->SetStyle(csDropDownList);
        for (const char* s : {"one", "two", "three"}) combo->GetItems()->Add(s);
        combo->OnChange = [this](TObject*) { ++changes; };
        form->Show();
    }
    void TearDown() override { delete form; }
    TForm* form = nullptr;
    TComboBox* combo = nullptr;
    int changes = 0;
};

TEST_F(ComboBoxTest, CodeSetsTheItemWithoutOnChange) {
    combo->SetItemIndex(1);
    EXPECT_EQ(combo->GetText(), "two");
    EXPECT_EQ(changes, 0);
    combo->SetItemIndex(7);
    EXPECT_EQ(combo->GetItemIndex(), -1);
    EXPECT_EQ(combo->GetText(), "");
}

TEST_F(ComboBoxTest, KeysAreAPersonsActionAndFireOnChange) {
    combo->SetFocus();
    combo->SetItemIndex(0);
    testing_vcl::PressKey(form, VK_DOWN);
    EXPECT_EQ(combo->GetItemIndex(), 1);
    EXPECT_EQ(changes, 1);
    testing_vcl::TypeText(form, "o");
    EXPECT_EQ(combo->GetItemIndex(), 0);
    EXPECT_EQ(changes, 2);
}

TEST_F(ComboBoxTest, TheDroppedListPicksAnItemAndClosesUp) {
    int closeUps = 0;
    combo->OnCloseUp = [&](TObject*) { ++closeUps; };
    testing_vcl::Click(combo);
    ASSERT_TRUE(combo->GetDroppedDown());
    EXPECT_NE(combo->Perform(CB_GETDROPPEDSTATE, 0, 0), 0);
    TCustomListBox* list = combo->DropDownList();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->GetItems()->Count(), 3);
    // The list lies under the combo, as wide as it.
    TPoint under = combo->ClientToScreen({0, combo->GetHeight()});
    EXPECT_EQ(combo->DropDownWindow()->ClientToScreen({0, 0}).y, under.y);
    EXPECT_EQ(combo->DropDownWindow()->GetWidth(), 150);
    testing_vcl::ClickAt(list, 10, list->ItemRect(2).Top + 3);
    EXPECT_FALSE(combo->GetDroppedDown());
    EXPECT_EQ(combo->GetItemIndex(), 2);
    EXPECT_EQ(combo->GetText(), "three");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(closeUps, 1);
}

TEST_F(ComboBoxTest, EscapeClosesWithoutAChange) {
    combo->SetFocus();
    combo->SetDroppedDown(true);
    testing_vcl::PressKey(form, VK_ESCAPE);
    EXPECT_FALSE(combo->GetDroppedDown());
    EXPECT_EQ(changes, 0);
}

TEST_F(ComboBoxTest, OwnerDrawnFaceGoesThroughDrawItem) {
    combo->SetStyle(csOwnerDrawFixed);
    combo->SetItemIndex(1);
    int drawnIndex = -2;
    TOwnerDrawState drawnState;
    combo->OnDrawItem = [&](TWinControl*, int Index, const TRect& R, TOwnerDrawState State) {
        drawnIndex = Index;
        drawnState = State;
        combo->GetCanvas()->GetBrush()->SetColor(clLime);
        combo->GetCanvas()->FillRect(R);
    };
    EXPECT_EQ(PixelAt(combo, 20, 11), clLime);
    EXPECT_EQ(drawnIndex, 1);
    EXPECT_TRUE(drawnState.Contains(odComboBoxEdit));
    EXPECT_TRUE(combo->ButtonRect().Contains({140, 11}));
    EXPECT_EQ(PixelAt(combo, 140, 5), ColorToRGB(clBtnFace));
}

TEST_F(ComboBoxTest, DropDownStyleTypesIntoItsEditAndOnlyTypingIsAChange) {
    combo->SetStyle(csDropDown);
    ASSERT_NE(combo->EditControl(), nullptr);
    combo->SetItemIndex(1);
    EXPECT_EQ(combo->EditControl()->GetText(), "two");
    combo->SetText("free text");
    EXPECT_EQ(combo->EditControl()->GetText(), "free text");
    EXPECT_EQ(changes, 0);
    combo->SetFocus();
    combo->EditControl()->SelectAll();
    testing_vcl::TypeText(form, "ab");
    EXPECT_EQ(combo->GetText(), "ab");
    EXPECT_EQ(changes, 2);
    testing_vcl::PressKey(form, VK_DOWN);
    EXPECT_EQ(combo->GetItemIndex(), 2);
    EXPECT_EQ(combo->GetText(), "three");
    EXPECT_EQ(changes, 3);
    combo->SetStyle(csDropDownList);
    EXPECT_EQ(combo->EditControl(), nullptr);
}

TEST(FilterComboBox, ListsDescriptionsAndAnswersTheMask) {
    TFilterComboBox box(nullptr);
    box.SetFilter("Video (*.vob)|*.vob|All (*.*)|*.*");
    ASSERT_EQ(box.GetItems()->Count(), 2);
    EXPECT_EQ(box.GetItems()->Strings(0), "Video (*.vob)");
    EXPECT_EQ(box.GetMask(), "*.vob");
    box.SetItemIndex(1);
    EXPECT_EQ(box.GetMask(), "*.*");
}

TEST(ColorValues, FiftyTwoNamesInTableOrder) {
    std::vector<String> names;
    GetColorValues([&](const String& n) { names.push_back(n); });
    ASSERT_EQ(names.size(), 52u);
    EXPECT_EQ(names[0], "clBlack");
    EXPECT_EQ(names[15], "clWhite");
    EXPECT_EQ(names[16], "clMoneyGreen");
    EXPECT_EQ(names[20], "clActiveBorder");
    EXPECT_EQ(names[29], "clDefault");
    EXPECT_EQ(names[45], "clNone");
    EXPECT_EQ(names[51], "clWindowText");
    TColor c = 0;
    ASSERT_TRUE(IdentToColor("clmedgray", c));
    EXPECT_EQ(c, 0xA4A0A0);
    EXPECT_FALSE(IdentToColor("clTransparentish", c));
}

}  // namespace
