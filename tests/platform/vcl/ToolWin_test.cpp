#include "platform/vcl/ToolWin.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"
#include "tests/support/ScriptedInteraction.h"
#include "tests/support/TestHelpers.h"

using namespace testing_vcl;

namespace {

class ToolBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<TForm>(nullptr);
        form->SetBorderStyle(bsNone);
        form->SetBounds(10, 10, 300, 100);
        bar = new TToolBar(form.get());
        bar->SetParent(form.get());
        bar->SetShowCaptions(true);
        bar->SetAutoSize(true);
    }
    TToolButton* Add(const String& Caption, TToolButtonStyle Style = tbsButton) {
        auto* b = new TToolButton(bar);
        b->SetParent(bar);
        b->SetCaption(Caption);
        b->SetStyle(Style);
        b->SetAutoSize(true);
        return b;
    }
    std::unique_ptr<TForm> form;
    TToolBar* bar = nullptr;
};

TEST_F(ToolBarTest, ButtonsLineUpInOrderAndTheBarFitsThem) {
    TToolButton* a = Add("&File");
    TToolButton* b = Add("Edit");
    TToolButton* c = Add("View", tbsDropDown);
    EXPECT_EQ(bar->ButtonCount(), 3);
    EXPECT_EQ(bar->Buttons(1), b);
    EXPECT_EQ(bar->Buttons(3), nullptr);
    EXPECT_EQ(b->GetLeft(), a->GetLeft() + a->GetWidth());
    EXPECT_EQ(c->GetLeft(), b->GetLeft() + b->GetWidth());
    EXPECT_EQ(c->GetWidth() - 14, bar->ButtonWidthOf(c) - 14);
    EXPECT_EQ(bar->GetHeight(), bar->GetButtonHeight() + 2);   // the top edge
    bar->SetEdgeBorders({});
    EXPECT_EQ(bar->GetHeight(), bar->GetButtonHeight());
    EXPECT_EQ(c->GetIndex(), 2);
}

TEST_F(ToolBarTest, CustomDrawSeesHotPressedAndChecked) {
    TToolButton* check = Add("Check", tbsCheck);
    TToolButton* plain = Add("Plain");
    form->Show();
    std::map<TToolButton*, TCustomDrawState> states;
    bar->OnCustomDrawButton = [&](TToolBar*, TToolButton* B, TCustomDrawState S, bool& DefaultDraw) {
        states[B] = S;
        DefaultDraw = true;
    };
    check->SetDown(true);
    MouseMoveTo(plain, 3, 3);
    TBitmap shot;
    Snapshot(form.get(), &shot);
    EXPECT_TRUE(states[check].Contains(cdsChecked));
    EXPECT_FALSE(states[check].Contains(cdsHot));
    EXPECT_TRUE(states[plain].Contains(cdsHot));
    MousePress(plain, 3, 3);
    Snapshot(form.get(), &shot);
    EXPECT_TRUE(states[plain].Contains(cdsSelected));
    MouseRelease(plain, 3, 3);
    ClickAt(check, 3, 3);
    EXPECT_FALSE(check->GetDown());
}

TEST_F(ToolBarTest, MenuItemButtonDropsTheSubMenuAndGivesItemsBack) {
    TScriptedInteraction ask;
    TInstallInteraction installed(ask);
    TMainMenu menu(form.get());
    auto* file = new TMenuItem(form.get());
    file->SetCaption("&File");
    menu.GetItems()->Add(file);
    auto* open = new TMenuItem(form.get());
    open->SetCaption("Open");
    file->Add(open);
    int opened = 0;
    open->OnClick = [&](TObject*) { ++opened; };
    auto* b = new TToolButton(bar);
    b->SetParent(bar);
    b->SetMenuItem(file);
    EXPECT_EQ(b->GetCaption(), "&File");
    ask.AnswerPopup(open);
    form->Show();
    ClickAt(b, 3, 3);
    ASSERT_EQ(ask.Of(TQuestionKind::PopupMenu).size(), 1u);
    EXPECT_EQ(ask.Of(TQuestionKind::PopupMenu)[0].MenuCaptions, std::vector<String>{"Open"});
    EXPECT_EQ(file->Count(), 1);
    EXPECT_EQ(file->Items(0), open);
    RunUntil([&] { return opened == 1; }, 2000);
    EXPECT_EQ(opened, 1);
    delete file;  // the button forgets it
    EXPECT_EQ(b->GetMenuItem(), nullptr);
}

TEST_F(ToolBarTest, CustomDrawOfTheBarCanReplaceTheBackground) {
    Add("One");
    bar->SetColor(clLime);
    bool asked = false;
    bar->OnCustomDraw = [&](TToolBar* Sender, const TRect& R, bool& DefaultDraw) {
        asked = true;
        Sender->GetCanvas()->GetBrush()->SetColor(clRed);
        Sender->GetCanvas()->FillRect(R);
        DefaultDraw = false;
    };
    form->Show();
    TBitmap shot;
    Snapshot(form.get(), &shot);
    EXPECT_TRUE(asked);
    EXPECT_EQ(static_cast<TColor>(shot.GetPixelColor(bar->GetWidth() - 2, 2)), clRed);
}

}  // namespace
