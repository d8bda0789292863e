#include "skin/controls/SUIColorBox.h"

#include <gtest/gtest.h>

#include "platform/vcl/Forms.h"
#include "tests/support/ScriptedInteraction.h"
#include "tests/support/TestHelpers.h"

using namespace testing_vcl;

namespace {

TEST(SUIPrettyColorNameTable, DropsClAndSpacesWords) {
    EXPECT_EQ(SUIPrettyColorName("clMoneyGreen"), "Money Green");
    EXPECT_EQ(SUIPrettyColorName("clBtnFace"), "Btn Face");
    EXPECT_EQ(SUIPrettyColorName("cl3DDkShadow"), "3 D Dk Shadow");
    EXPECT_EQ(SUIPrettyColorName("clRed"), "Red");
}

TEST(SUISwatchFrameColorTable, LightIsBlackDarkIsWhiteOnlyWhenSelected) {
    EXPECT_EQ(SUISwatchFrameColor(clWhite, false), clBlack);
    EXPECT_EQ(SUISwatchFrameColor(0x00C100, true), clBlack);  // one component at 193
    EXPECT_EQ(SUISwatchFrameColor(clNavy, true), clWhite);
    EXPECT_EQ(SUISwatchFrameColor(clNavy, false), clNavy);
}

class ColorBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = new TForm(nullptr);
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, 300, 300);
        box = new TsuiColorBox(form);
        box->SetParent(form);
        box->SetBounds(10, 10, 160, 22);
        box->SetDropDownCount(20);  // the whole standard group in view
        form->Show();
    }
    void TearDown() override { delete form; }
    TForm* form = nullptr;
    TsuiColorBox* box = nullptr;
};

TEST_F(ColorBoxTest, TheDefaultStylesListEveryGroupWithoutNoneAndDefault) {
    EXPECT_EQ(box->GetItems()->Count(), 50);
    EXPECT_EQ(box->GetColorName(0), "clBlack");
    EXPECT_EQ(box->GetItems()->IndexOf("clNone"), -1);
    EXPECT_EQ(box->GetItems()->IndexOf("clDefault"), -1);
}

TEST_F(ColorBoxTest, StylesPickTheGroupsAndNames) {
    struct Case {
        TColorBoxStyles styles;
        int count;
        const char* first;
    } cases[] = {
        {{cbStandardColors}, 16, "clBlack"},
        {{cbExtendedColors}, 4, "clMoneyGreen"},
        {{cbSystemColors, cbIncludeNone, cbIncludeDefault}, 32, "clActiveBorder"},
        {{cbStandardColors, cbCustomColor}, 17, "Custom..."},
        {{cbExtendedColors, cbPrettyNames}, 4, "Money Green"},
        {{cbStandardColors, cbIncludeNone}, 16, "clBlack"},  // clNone lies in the system range
    };
    for (const Case& c : cases) {
        box->SetStyle(c.styles);
        EXPECT_EQ(box->GetItems()->Count(), c.count);
        EXPECT_EQ(box->GetColorName(0), c.first);
        EXPECT_TRUE(box->GetEnabled());
    }
    box->SetStyle(TColorBoxStyles{cbSystemColors, cbPrettyNames});
    EXPECT_GE(box->GetItems()->IndexOf("Btn Face"), 0);
    box->SetStyle(TColorBoxStyles{cbIncludeNone});
    EXPECT_FALSE(box->GetEnabled());
}

TEST_F(ColorBoxTest, NothingChosenStaysNothing) {
    box->SetItemIndex(-1);
    EXPECT_EQ(box->GetSelected(), ColorBoxNothingChosen);
    box->SetStyle(TColorBoxStyles{cbStandardColors, cbCustomColor});
    box->SetSelected(ColorBoxNothingChosen);
    EXPECT_EQ(box->GetItemIndex(), -1);
    EXPECT_EQ(box->GetSelected(), ColorBoxNothingChosen);
    EXPECT_EQ(box->GetColor(0), 0);  // the custom item keeps its colour
}

TEST_F(ColorBoxTest, AnUnlistedColourBecomesTheCustomItemOnlyWithCustomColor) {
    box->SetStyle(TColorBoxStyles{cbStandardColors});
    box->SetSelected(0x123456);
    EXPECT_EQ(box->GetItemIndex(), -1);
    box->SetSelected(clRed);
    EXPECT_EQ(box->GetSelected(), clRed);
    box->SetStyle(TColorBoxStyles{cbStandardColors, cbCustomColor});
    box->SetSelected(0x123456);
    EXPECT_EQ(box->GetItemIndex(), 0);
    EXPECT_EQ(box->GetSelected(), 0x123456);
}

TEST_F(ColorBoxTest, PickingCustomAsksTheColourDialog) {
    box->SetStyle(TColorBoxStyles{cbStandardColors, cbCustomColor});
    box->SetSelected(clRed);
    int selects = 0;
    box->OnSelect = [&](TObject*) { ++selects; };
    TScriptedInteraction ask;
    TInstallInteraction installed(ask);
    ask.ColorAnswers.push_back(std::nullopt);  // cancelled
    ask.ColorAnswers.push_back(0x00AA55);      // accepted
    box->SetDroppedDown(true);
    ClickAt(box->DropDownList(), 40, box->DropDownList()->ItemRect(0).Top + 3);
    EXPECT_EQ(selects, 0);
    EXPECT_EQ(box->GetColor(0), 0);
    box->SetItemIndex(5);
    box->SetDroppedDown(true);
    ClickAt(box->DropDownList(), 40, box->DropDownList()->ItemRect(0).Top + 3);
    EXPECT_EQ(selects, 1);
    EXPECT_EQ(box->GetSelected(), 0x00AA55);
    ASSERT_EQ(ask.Questions.size(), 2u);
}

TEST_F(ColorBoxTest, SwatchesAreFramedByTheirLightness) {
    box->SetStyle(TColorBoxStyles{cbStandardColors});
    box->SetDroppedDown(true);
    TCustomListBox* list = box->DropDownList();
    TBitmap shot;
    Snapshot(list, &shot);
    TRect white = list->ItemRect(15);
    EXPECT_EQ(shot.GetPixelColor(white.Left + 1, white.Top + 1), clBlack);  // frame
    EXPECT_EQ(shot.GetPixelColor(white.Left + 5, white.Top + 5), clWhite);  // swatch
    TRect navy = list->ItemRect(4);
    EXPECT_EQ(shot.GetPixelColor(navy.Left + 1, navy.Top + 1), clNavy);
}

}  // namespace
