#include "skin/core/SUICheckBox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <vector>

#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"
#include "skin/core/SUIButton.h"
#include "skin/core/SUIImagePanel.h"
#include "skin/core/SUIMgr.h"
#include "skin/core/SUIThemeFile.h"
#include "tests/support/ScriptedInteraction.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestHelpers.h"

using namespace testing_vcl;

namespace {

class CheckForm : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<TForm>(nullptr);
        form->SetBorderStyle(bsNone);
        form->SetBounds(60, 60, 300, 200);
    }
    void TearDown() override { form.reset(); }
    template <class T>
    T* New(TWinControl* Parent, int Left = 10, int Top = 10) {
        auto* c = new T(form.get());
        c->SetParent(Parent);
        c->SetLeft(Left);
        c->SetTop(Top);
        return c;
    }
    std::unique_ptr<TForm> form;
};

TEST(SUICheckFrameTable, FourStates) {
    EXPECT_EQ(SUICheckFrame(true, true), 1);
    EXPECT_EQ(SUICheckFrame(false, true), 2);
    EXPECT_EQ(SUICheckFrame(true, false), 3);
    EXPECT_EQ(SUICheckFrame(false, false), 4);
}

// Where the box picture lands: (1, (client height - picture height) div 2).
TEST_F(CheckForm, DrawsTheFrameOfItsState) {
    struct Case {
        bool checked, enabled;
    } cases[] = {{true, true}, {false, true}, {true, false}, {false, false}};
    for (TsuiUIStyle look : {WinXP, MacOS, BlueGlass}) {
        for (const Case& c : cases) {
            auto* box = New<TsuiCheckBox>(form.get());
            box->SetUIStyle(look);
            box->SetCaption("Box");
            box->SetColor(clWhite);
            box->SetChecked(c.checked);
            box->SetEnabled(c.enabled);
            box->SetTabStop(false);
            int frame = SUICheckFrame(c.checked, c.enabled);
            TBitmap expected;
            GetInsideThemeBitmap(look, SUI_THEME_CHECKBOX_IMAGE, &expected, 4, frame);
            ASSERT_FALSE(expected.GetEmpty());
            PixelAt(box, 0, 0);  // the first paint sizes the box
            int left = box->GetLeft() + 1;
            int top = box->GetTop() + (box->GetClientHeight() - expected.GetHeight()) / 2;
            TBitmap shot;
            Snapshot(form.get(), &shot);
            int mismatches = 0;
            for (int y = 0; y < expected.GetHeight(); ++y)
                for (int x = 0; x < expected.GetWidth(); ++x)
                    if (shot.GetPixelColor(left + x, top + y) != expected.GetPixelColor(x, y)) ++mismatches;
            EXPECT_EQ(mismatches, 0) << "look " << int(look) << " frame " << frame;
            delete box;
        }
    }
}

TEST_F(CheckForm, AutoSizeFromPictureAndCaption) {
    auto* box = New<TsuiCheckBox>(form.get());
    box->SetUIStyle(WinXP);
    box->SetCaption("Delete temporary files");
    PixelAt(box, 0, 0);
    TBitmap frame;
    GetInsideThemeBitmap(WinXP, SUI_THEME_CHECKBOX_IMAGE, &frame, 4, 1);
    TBitmap measure(1, 1);
    measure.GetCanvas()->SetFont(box->GetFont());
    int lineH = measure.GetCanvas()->TextHeight("W");
    EXPECT_EQ(box->GetWidth(), frame.GetWidth() + 8 + measure.GetCanvas()->TextWidth("Delete temporary files"));
    EXPECT_EQ(box->GetHeight(), std::max(lineH + 2, frame.GetHeight()) + 4);

    box->SetAutoSize(false);
    box->SetBounds(box->GetLeft(), box->GetTop(), 200, 40);
    PixelAt(box, 0, 0);
    EXPECT_EQ(box->GetWidth(), 200);
    EXPECT_EQ(box->GetHeight(), 40);
}

TEST_F(CheckForm, SetCheckedFiresOnClickOncePerChange) {
    auto* box = New<TsuiCheckBox>(form.get());
    int clicks = 0;
    box->OnClick = [&](TObject*) { ++clicks; };
    box->SetChecked(true);
    EXPECT_EQ(clicks, 1);
    box->SetChecked(true);
    EXPECT_EQ(clicks, 1);
    box->SetChecked(false);
    EXPECT_EQ(clicks, 2);
    box->SetState(cbGrayed);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(box->GetState(), cbUnchecked);
    box->SetState(cbChecked);
    EXPECT_TRUE(box->GetChecked());
    EXPECT_EQ(clicks, 3);
    box->SetState(cbGrayed);
    EXPECT_FALSE(box->GetChecked()) << "grayed unchecks";
}

TEST_F(CheckForm, SetCheckedFiresNothingWhileLoading) {
    auto* box = New<TsuiCheckBox>(form.get());
    int clicks = 0;
    box->OnClick = [&](TObject*) { ++clicks; };
    box->BeginLoading();
    box->SetChecked(true);
    box->SetState(cbUnchecked);
    box->SetChecked(true);
    EXPECT_EQ(clicks, 0);
    EXPECT_TRUE(box->GetChecked());
    box->EndLoading();
    box->SetChecked(false);
    EXPECT_EQ(clicks, 1);
}

TEST_F(CheckForm, UserClickTogglesAndFiresOnce) {
    form->Show();
    auto* box = New<TsuiCheckBox>(form.get());
    box->SetCaption("Tick");
    int clicks = 0;
    box->OnClick = [&](TObject*) { ++clicks; };
    ClickAt(box, 5, 5);
    EXPECT_TRUE(box->GetChecked());
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(box->Focused());
    ClickAt(box, 5, 5);
    EXPECT_FALSE(box->GetChecked());
    EXPECT_EQ(clicks, 2);
    PressKey(form.get(), VK_SPACE, {}, " ");
    EXPECT_TRUE(box->GetChecked());
    EXPECT_EQ(clicks, 3);
}

TEST_F(CheckForm, RadioButtonsGroupByParentAndGroupIndex) {
    form->Show();
    auto* panel = New<TPanel>(form.get(), 150, 10);
    panel->SetBounds(150, 10, 140, 150);
    auto* a = New<TsuiRadioButton>(form.get(), 10, 10);
    auto* b = New<TsuiRadioButton>(form.get(), 10, 40);
    auto* otherGroup = New<TsuiRadioButton>(form.get(), 10, 70);
    otherGroup->SetGroupIndex(1);
    auto* otherParent = New<TsuiRadioButton>(panel, 10, 10);
    int aClicks = 0, bClicks = 0;
    a->OnClick = [&](TObject*) { ++aClicks; };
    b->OnClick = [&](TObject*) { ++bClicks; };
    otherGroup->SetChecked(true);
    otherParent->SetChecked(true);

    a->SetChecked(true);
    EXPECT_EQ(aClicks, 1);
    b->SetChecked(true);
    EXPECT_FALSE(a->GetChecked());
    EXPECT_TRUE(b->GetChecked());
    EXPECT_EQ(aClicks, 1) << "being unchecked by the group fires nothing";
    EXPECT_EQ(bClicks, 1);
    EXPECT_TRUE(otherGroup->GetChecked());
    EXPECT_TRUE(otherParent->GetChecked());

    // A user click checks, but never unchecks.
    ClickAt(a, 5, 5);
    EXPECT_TRUE(a->GetChecked());
    EXPECT_FALSE(b->GetChecked());
    EXPECT_EQ(aClicks, 2);
    ClickAt(a, 5, 5);
    EXPECT_TRUE(a->GetChecked());
    EXPECT_EQ(aClicks, 2);
    // Space does nothing on a radio button.
    b->SetFocus();
    PressKey(form.get(), VK_SPACE, {}, " ");
    EXPECT_FALSE(b->GetChecked());
}

// The focus arriving from a button of a radio group checks the newly focused radio button.
class TsuiRadioGroupButton : public TsuiRadioButton {
    VCL_CLASS(TsuiRadioGroupButton)
    using TsuiRadioButton::TsuiRadioButton;
};

TEST_F(CheckForm, FocusFromARadioGroupButtonClicks) {
    form->Show();
    auto* groupButton = New<TsuiRadioGroupButton>(form.get(), 10, 10);
    groupButton->SetGroupIndex(5);
    auto* plain = New<TsuiCheckBox>(form.get(), 10, 40);
    auto* radio = New<TsuiRadioButton>(form.get(), 10, 70);
    plain->SetFocus();
    radio->SetFocus();
    EXPECT_FALSE(radio->GetChecked()) << "focus from an ordinary control checks nothing";
    groupButton->SetFocus();
    radio->SetFocus();
    EXPECT_TRUE(radio->GetChecked());
}

TEST_F(CheckForm, AcceleratorFocusesAndClicks) {
    form->Show();
    auto* box = New<TsuiCheckBox>(form.get(), 10, 10);
    box->SetCaption("&Letterbox");
    auto* other = New<TsuiCheckBox>(form.get(), 10, 40);
    other->SetCaption("Other");
    other->SetFocus();
    PressKey(form.get(), 'L', {ssAlt});
    EXPECT_TRUE(box->GetChecked());
    EXPECT_TRUE(box->Focused());
}

// A theme whose box pictures are no pictures: the boxes paint their background and caption, as
// the buttons do, and no repaint raises.
TEST_F(CheckForm, ABadThemePictureDrawsNoBoxAndRaisesNothing) {
    TTempFolder dir("checkbox_theme");
    {
        std::ofstream(dir["junk.bmp"]) << "BM this is no bitmap";
        TsuiThemeFileWriter w(dir["bad.sui"]);
        w.AddFile(SUIThemeItemName(SUI_THEME_CHECKBOX_IMAGE), dir["junk.bmp"]);
        w.AddFile(SUIThemeItemName(SUI_THEME_RADIOBUTTON_IMAGE), dir["junk.bmp"]);
        w.Save();
    }
    TScriptedInteraction ask;
    TInstallInteraction installed(ask);
    auto* theme = new TsuiFileTheme(form.get());
    theme->SetThemeFile(dir["bad.sui"]);
    for (TsuiCheckBox* box : {New<TsuiCheckBox>(form.get()), static_cast<TsuiCheckBox*>(New<TsuiRadioButton>(form.get(), 10, 60))}) {
        box->SetFileTheme(theme);
        box->SetUIStyle(FromThemeFile);
        box->SetColor(clYellow);
        box->SetCaption("Box");
        for (bool checked : {false, true}) {
            box->SetChecked(checked);
            EXPECT_NO_THROW(PixelAt(box, 0, 0));
            EXPECT_EQ(PixelAt(box, 1, 1), clYellow) << "no box picture over the background";
        }
    }
    EXPECT_TRUE(ask.Of(TQuestionKind::MessageBox).empty());
}

TEST_F(CheckForm, FreeingTheFileThemeTurnsControlsDeepBlue) {
    auto* theme = new TsuiFileTheme(form.get());
    std::vector<IsuiStyled*> controls{New<TsuiCheckBox>(form.get()), New<TsuiRadioButton>(form.get()),
                                      New<TsuiButton>(form.get()), New<TsuiPanel>(form.get())};
    for (IsuiStyled* c : controls) {
        c->SetUIStyle(FromThemeFile);
        c->SetFileTheme(theme);
        EXPECT_EQ(c->GetFileTheme(), theme);
    }
    delete theme;
    for (IsuiStyled* c : controls) {
        EXPECT_EQ(c->GetFileTheme(), nullptr);
        EXPECT_EQ(c->GetUIStyle(), DeepBlue);
    }
}

}  // namespace
