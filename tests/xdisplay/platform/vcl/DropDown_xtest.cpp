// Dropped lists and popup menus inside a modal window, driven with the X server's own input:
// the item under the pointer is highlighted and a click takes it, a click outside or Escape
// closes only the list, and neither outlives its window.
#include <gtest/gtest.h>

#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"
#include "tests/support/ScriptedInteraction.h"
#include "tests/support/TestHelpers.h"
#include "tests/support/xdisplay/XInput.h"

namespace {

using namespace testing_x;

// A dialog as the program's are: a list-only combo, an OK panel, and Escape cancelling the
// whole dialog through the key preview.
class DropDownModal : public ::testing::Test {
protected:
    void SetUp() override {
        if (!OnRealDisplay()) GTEST_SKIP() << "no X display";
        form = new TForm(nullptr);
        form->SetBorderStyle(bsNone);
        form->SetBounds(200, 150, 360, 260);
        form->SetColor(clBtnFace);
        combo = new TComboBox(form);
        combo->SetParent(form);
        combo->SetBounds(20, 20, 200, 22);
        combo->SetStyle(csDropDownList);
        for (const char* s : {"Best quality", "Normal", "Fast", "Smallest", "Draft"}) combo->GetItems()->Add(s);
        combo->SetItemIndex(0);
        combo->OnChange = [this](TObject*) { ++changes; };
        combo->OnCloseUp = [this](TObject*) { ++closeUps; };
        ok = new TPanel(form);
        ok->SetParent(form);
        ok->SetBounds(250, 210, 90, 30);
        ok->SetCaption("OK");
        ok->OnClick = [this](TObject*) { form->SetModalResult(mrOk); };
        form->SetKeyPreview(true);
        form->OnKeyDown = [this](TObject*, Word& Key, TShiftState) {
            if (Key != VK_ESCAPE) return;
            Key = 0;
            form->SetModalResult(mrCancel);
        };
        ask.ModalTimeoutMs = 20000;
        ask.RealPopups = true;
        installed = std::make_unique<testing_vcl::TInstallInteraction>(ask);
    }
    void TearDown() override {
        installed.reset();
        delete form;
    }
    // Where the list drops: under the face, as wide as it, five rows.
    TRect ListArea() const {
        TPoint under = combo->ClientToScreen({0, combo->GetHeight()});
        return Bounds(under.x, under.y, combo->GetWidth(), 5 * combo->GetItemHeight() + 2);
    }
    TPoint ItemCentre(int Index) const {
        TPoint under = combo->ClientToScreen({0, combo->GetHeight()});
        return {under.x + 60, under.y + 1 + Index * combo->GetItemHeight() + combo->GetItemHeight() / 2};
    }
    void OpenTheList() {
        ClickOn(combo);
        ASSERT_TRUE(testing_vcl::RunUntil([this] { return combo->GetDroppedDown(); }, 2000));
        Settle(200);
    }

    TForm* form = nullptr;
    TComboBox* combo = nullptr;
    TPanel* ok = nullptr;
    int changes = 0;
    int closeUps = 0;
    testing_vcl::TScriptedInteraction ask;
    std::unique_ptr<testing_vcl::TInstallInteraction> installed;
};

TEST_F(DropDownModal, TheMouseHighlightsAndTakesAnItemAndTheNextClickGoesWhereItIsMeant) {
    std::vector<TColor> before;
    std::vector<TColor> shown;
    int highlighted = -1;
    TColor underPointer = clNone;
    std::vector<TColor> after;
    DuringModal(ask, [&](TCustomForm*) {
        before = ScreenArea(ListArea());
        OpenTheList();
        shown = ScreenArea(ListArea());
        TPoint third = ItemCentre(2);
        MoveTo(third.x, third.y);
        Settle(200);
        highlighted = combo->DropDownList() != nullptr ? combo->DropDownList()->GetItemIndex() : -1;
        underPointer = ScreenPixel(ListArea().Right - 10, third.y);  // right of the item's text
        Press();
        Release();
        Settle(300);
        after = ScreenArea(ListArea());
        ClickOn(ok);
    });
    EXPECT_EQ(form->ShowModal(), mrOk) << "the click on OK after the pick closed the dialog";
    EXPECT_TRUE(ask.Failures.empty());
    EXPECT_GT(DifferingPixels(before, shown), 200) << "the list showed over the dialog";
    EXPECT_EQ(highlighted, 2) << "the item under the pointer is highlighted";
    EXPECT_EQ(underPointer, ColorToRGB(clHighlight));
    EXPECT_EQ(combo->GetItemIndex(), 2);
    EXPECT_EQ(combo->GetText(), "Fast");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(closeUps, 1);
    EXPECT_FALSE(combo->GetDroppedDown());
    EXPECT_LT(DifferingPixels(before, after), 10) << "the list is gone from the screen";
}

TEST_F(DropDownModal, AClickOutsideClosesTheListWithoutAChangeAndIsNotPassedOn) {
    bool closedByOutsideClick = false;
    bool stillOpenAfterIt = false;
    DuringModal(ask, [&](TCustomForm* Form) {
        OpenTheList();
        TPoint item = ItemCentre(3);
        MoveTo(item.x, item.y);
        ClickOn(ok);  // the list closes; OK is not pressed by this click
        Settle(200);
        closedByOutsideClick = !combo->GetDroppedDown();
        stillOpenAfterIt = Form->GetVisible() && Form->GetModalResult() == mrNone;
        Form->SetModalResult(mrOk);
    });
    form->ShowModal();
    EXPECT_TRUE(closedByOutsideClick);
    EXPECT_TRUE(stillOpenAfterIt) << "the click that closed the list did not press OK";
    EXPECT_EQ(combo->GetItemIndex(), 0);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(closeUps, 1);
}

TEST_F(DropDownModal, EscapeClosesOnlyTheListThenCancelsTheDialog) {
    bool listClosed = false;
    bool dialogStayed = false;
    DuringModal(ask, [&](TCustomForm* Form) {
        OpenTheList();
        Key("Down");
        Key("Escape");
        listClosed = !combo->GetDroppedDown();
        dialogStayed = Form->GetModalResult() == mrNone;
        Key("Escape");
    });
    EXPECT_EQ(form->ShowModal(), mrCancel);
    EXPECT_TRUE(listClosed);
    EXPECT_TRUE(dialogStayed) << "the first Escape is the list's";
    EXPECT_EQ(combo->GetItemIndex(), 0);
    EXPECT_EQ(changes, 0);
}

TEST_F(DropDownModal, TheKeysPickFromTheOpenListAndTheMouseStillWorksAfterwards) {
    DuringModal(ask, [&](TCustomForm* Form) {
        OpenTheList();
        Key("Down");
        Key("Down");
        Key("Return");
        Settle(100);
        EXPECT_FALSE(combo->GetDroppedDown());
        EXPECT_EQ(Form->GetModalResult(), mrNone) << "Return was the list's";
        // The next click goes where it is meant: on OK, not into a list that opens again.
        ClickOn(ok);
    });
    EXPECT_EQ(form->ShowModal(), mrOk);
    EXPECT_FALSE(combo->GetDroppedDown());
    EXPECT_EQ(combo->GetItemIndex(), 2);
    EXPECT_EQ(changes, 1);
}

TEST_F(DropDownModal, AfterAMousePickTheKeysStillReachTheNextOpenList) {
    bool escapeWasTheLists = false;
    DuringModal(ask, [&](TCustomForm* Form) {
        PickWithTheMouse(combo, 1);
        OpenTheList();
        Key("Escape");
        escapeWasTheLists = !combo->GetDroppedDown() && Form->GetModalResult() == mrNone;
        Key("Escape");
    });
    EXPECT_EQ(form->ShowModal(), mrCancel);
    EXPECT_TRUE(escapeWasTheLists);
    EXPECT_EQ(combo->GetItemIndex(), 1);
    EXPECT_EQ(changes, 1);
}

TEST_F(DropDownModal, ClosingTheWindowClosesItsOpenList) {
    std::vector<TColor> before;
    DuringModal(ask, [&](TCustomForm* Form) {
        before = ScreenArea(ListArea());
        OpenTheList();
        Form->SetModalResult(mrCancel);
    });
    form->ShowModal();
    Settle(300);
    EXPECT_FALSE(combo->GetDroppedDown());
    EXPECT_EQ(closeUps, 1);
    // The list's place shows what lies under the dialog, not a list left floating.
    std::vector<TColor> now = ScreenArea(ListArea());
    EXPECT_GT(DifferingPixels(before, now), 0);
    EXPECT_NE(ScreenPixel(ItemCentre(1).x, ItemCentre(1).y), ColorToRGB(clWindow));
    // A click there reaches nothing of ours.
    ClickAtScreen(ItemCentre(1).x, ItemCentre(1).y);
    EXPECT_EQ(changes, 0);
}

TEST_F(DropDownModal, APopupMenuTakesAClickAndClosesWithItsWindow) {
    auto* menu = new TPopupMenu(form);
    int clicked = 0;
    for (const char* caption : {"Move up", "Move down", "Remove"}) {
        auto* item = new TMenuItem(menu);
        item->SetCaption(caption);
        item->OnClick = [&clicked, caption](TObject*) { clicked = caption[5] == 'u' ? 1 : 2; };
        menu->GetItems()->Add(item);
    }
    ok->SetPopupMenu(menu);
    bool showedOverTheDialog = false;
    bool goneAfterTheClick = false;
    TTimer chooser(nullptr);
    chooser.SetEnabled(false);
    chooser.SetInterval(400);
    chooser.OnTimer = [&](TObject*) {
        chooser.SetEnabled(false);
        showedOverTheDialog = menu->IsShowing();
        TPoint at = Mouse->GetCursorPos();
        ClickAtScreen(at.x + 30, at.y + 10);  // the first item
    };
    DuringModal(ask, [&](TCustomForm* Form) {
        TPoint p = ScreenPointOf(ok, 20, 10);
        MoveTo(p.x, p.y);
        chooser.SetEnabled(true);
        Press(3);
        Release(3);
        testing_vcl::RunUntil([&] { return clicked != 0; }, 3000);
        goneAfterTheClick = !menu->IsShowing();
        // Opened again, the popup goes with its window.
        TTimer closer(nullptr);
        closer.SetEnabled(false);
        closer.SetInterval(400);
        closer.OnTimer = [&](TObject*) {
            closer.SetEnabled(false);
            Form->SetModalResult(mrCancel);
            Form->Hide();
        };
        MoveTo(p.x, p.y);
        closer.SetEnabled(true);
        Press(3);
        Release(3);
        testing_vcl::RunUntil([&] { return !Form->GetVisible(); }, 3000);
    });
    form->ShowModal();
    Settle(200);
    EXPECT_TRUE(showedOverTheDialog);
    EXPECT_EQ(clicked, 1) << "the first item was taken";
    EXPECT_TRUE(goneAfterTheClick);
    EXPECT_FALSE(menu->IsShowing()) << "the popup closed with its window";
    EXPECT_EQ(ask.Of(testing_vcl::TQuestionKind::PopupMenu).size(), 2u);
}

}  // namespace
