#include "platform/vcl/Controls.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/vcl/ActnList.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/Menus.h"
#include "tests/support/TestHelpers.h"

using namespace testing_vcl;

namespace {

// A graphic control that fills itself with one colour and records what reaches it.
class TSwatch : public TGraphicControl {
    VCL_CLASS(TSwatch)
    explicit TSwatch(TComponent* AOwner, TColor Fill = clRed) : TGraphicControl(AOwner), m_fill(Fill) {}
    std::vector<UINT> Messages;
    std::vector<TPoint> Moves;

    void Dispatch(TMessage& Message) override {
        if (Message.Msg == CM_MOUSEENTER || Message.Msg == CM_MOUSELEAVE) Messages.push_back(Message.Msg);
        if (Message.Msg == WM_MOUSEMOVE) Moves.push_back({Message.XPos(), Message.YPos()});
        TGraphicControl::Dispatch(Message);
    }

protected:
    void Paint() override {
        Canvas()->GetBrush()->SetColor(m_fill);
        // Deliberately larger than the control: the parent's clip must hold it in.
        Canvas()->FillRect(Rect(-50, -50, GetWidth() + 50, GetHeight() + 50));
    }

private:
    TColor m_fill;
};

// A windowed control that can take the focus and records its keys and focus changes.
class TKeyTarget : public TCustomControl {
    VCL_CLASS(TKeyTarget)
    TKeyTarget(TComponent* AOwner, std::vector<String>* Log, String Tag)
        : TCustomControl(AOwner), m_log(Log), m_tag(std::move(Tag)) {
        SetTabStop(true);
        OnEnter = [this](TObject*) { m_log->push_back(m_tag + ":enter"); };
        OnExit = [this](TObject*) { m_log->push_back(m_tag + ":exit"); };
        OnKeyDown = [this](TObject*, Word& Key, TShiftState) { m_log->push_back(m_tag + ":down" + std::to_string(Key)); };
        OnKeyPress = [this](TObject*, char& Key) { m_log->push_back(m_tag + ":char" + String(1, Key)); };
    }
    LRESULT DlgCode = 0;
    void Dispatch(TMessage& Message) override {
        if (Message.Msg == WM_GETDLGCODE) {
            Message.Result = DlgCode;
            return;
        }
        TCustomControl::Dispatch(Message);
    }

private:
    std::vector<String>* m_log;
    String m_tag;
};

// Answers dialog keys and accelerators as a default button would.
class TDialogKeyTaker : public TGraphicControl {
    VCL_CLASS(TDialogKeyTaker)
    using TGraphicControl::TGraphicControl;
    int Returns = 0;
    int Accels = 0;
    void Dispatch(TMessage& Message) override {
        if (Message.Msg == CM_DIALOGKEY && Message.WParam == VK_RETURN) {
            ++Returns;
            Message.Result = 1;
            return;
        }
        if (Message.Msg == CM_DIALOGCHAR && (Message.WParam == 'o' || Message.WParam == 'O')) {
            ++Accels;
            Message.Result = 1;
            return;
        }
        TGraphicControl::Dispatch(Message);
    }
};

std::unique_ptr<TForm> ShownForm(int W = 200, int H = 150) {
    auto f = std::make_unique<TForm>(nullptr);
    f->SetBorderStyle(bsNone);
    f->SetBounds(10, 10, W, H);
    f->SetColor(clWhite);
    f->Show();
    return f;
}

}  // namespace

TEST(ComponentTest, OwnerFreesWhatItOwnsAndEachSideUnlinks) {
    struct TProbe : TComponent {
        using TComponent::TComponent;
        std::vector<TComponent*> removed;
        void Notification(TComponent* C, TOperation Op) override {
            TComponent::Notification(C, Op);
            if (Op == opRemove) removed.push_back(C);
        }
    };
    auto owner = std::make_unique<TComponent>(nullptr);
    auto* a = new TComponent(owner.get());
    a->SetName("Alpha");
    auto* b = new TComponent(owner.get());
    b->SetName("Beta");
    EXPECT_EQ(owner->ComponentCount(), 2);
    EXPECT_EQ(owner->FindComponent("ALPHA"), a);
    EXPECT_THROW(b->SetName("alpha"), EComponentError);

    // A watcher owned elsewhere hears of b's end through free notification.
    TProbe watcher(nullptr);
    watcher.FreeNotification(b);
    delete b;
    EXPECT_EQ(owner->ComponentCount(), 1);
    ASSERT_EQ(watcher.removed.size(), 1u);
    EXPECT_EQ(watcher.removed[0], b);
    owner.reset();  // frees a; nothing dangles
}

TEST(ComponentTest, ClassNamesAndTypeTests) {
    TForm form(nullptr);
    TSwatch swatch(nullptr);
    EXPECT_STREQ(form.ClassName(), "TForm");
    EXPECT_STREQ(swatch.ClassName(), "TSwatch");
    EXPECT_TRUE(form.ClassNameIs("tform"));
    EXPECT_TRUE(form.Is<TWinControl>());
    EXPECT_TRUE(swatch.Is<TGraphicControl>());
    EXPECT_FALSE(swatch.Is<TWinControl>());
}

TEST(ControlTreeTest, ParentFreesChildrenOwnedElsewhereAndAFreedChildLeavesItsParent) {
    auto form = std::make_unique<TForm>(nullptr);
    auto* panel = new TCustomControl(form.get());
    panel->SetParent(form.get());
    auto* inner = new TSwatch(form.get());  // owned by the form, parented by the panel
    inner->SetParent(panel);
    auto* other = new TSwatch(form.get());
    other->SetParent(panel);
    EXPECT_EQ(panel->ControlCount(), 2);
    delete other;
    EXPECT_EQ(panel->ControlCount(), 1);
    EXPECT_EQ(form->ComponentCount(), 2);
    delete panel;  // takes inner with it, and both leave the form's components
    EXPECT_EQ(form->ComponentCount(), 0);
    EXPECT_EQ(form->ControlCount(), 0);
}

TEST(ControlTreeTest, GraphicControlsComeBeforeWindowedOnesInZOrder) {
    TForm form(nullptr);
    auto* w = new TCustomControl(&form);
    w->SetParent(&form);
    auto* g1 = new TSwatch(&form);
    g1->SetParent(&form);
    auto* g2 = new TSwatch(&form);
    g2->SetParent(&form);
    ASSERT_EQ(form.ControlCount(), 3);
    EXPECT_EQ(form.Controls(0), g1);
    EXPECT_EQ(form.Controls(1), g2);
    EXPECT_EQ(form.Controls(2), w);
    g1->BringToFront();
    EXPECT_EQ(form.Controls(1), g1);
    EXPECT_EQ(form.Controls(2), w);
}

TEST(AlignTest, AlignedChildrenShareTheClientArea) {
    TForm form(nullptr);
    form.SetBorderStyle(bsNone);
    form.SetBounds(0, 0, 300, 200);
    auto make = [&](TAlign a, int w, int h) {
        auto* c = new TSwatch(&form);
        c->SetBounds(0, 0, w, h);
        c->SetAlign(a);
        c->SetParent(&form);
        return c;
    };
    auto* top = make(alTop, 10, 20);
    auto* bottom = make(alBottom, 10, 30);
    auto* left = make(alLeft, 40, 10);
    auto* right = make(alRight, 50, 10);
    auto* client = make(alClient, 1, 1);
    struct Case { TControl* c; TRect r; };
    for (auto [c, r] : {Case{top, Rect(0, 0, 300, 20)}, Case{bottom, Rect(0, 170, 300, 200)},
                        Case{left, Rect(0, 20, 40, 170)}, Case{right, Rect(250, 20, 300, 170)},
                        Case{client, Rect(40, 20, 250, 170)}})
        EXPECT_EQ(c->GetBoundsRect(), r) << c->GetBoundsRect().Left << "," << c->GetBoundsRect().Top;
    form.SetBounds(0, 0, 400, 200);
    EXPECT_EQ(client->GetBoundsRect(), Rect(40, 20, 350, 170));
}

TEST(PropertyTest, FontAndColourFlowFromParentUntilSetOwn) {
    TForm form(nullptr);
    auto* child = new TSwatch(&form);
    child->SetParent(&form);
    form.GetFont()->SetName("Arial");
    form.SetColor(clYellow);
    EXPECT_EQ(child->GetFont()->GetName(), "Arial");
    EXPECT_EQ(child->GetColor(), clYellow);
    child->GetFont()->SetSize(14);  // an own font stops the flow
    EXPECT_FALSE(child->GetParentFont());
    form.GetFont()->SetName("Courier New");
    EXPECT_EQ(child->GetFont()->GetName(), "Arial");
}

TEST(MessageTest, WindowProcIsReplaceableAndSeesChangeMessages) {
    TSwatch c(nullptr);
    std::vector<UINT> seen;
    TWndMethod old = c.WindowProc;
    c.WindowProc = [&](TMessage& m) {
        seen.push_back(m.Msg);
        old(m);
    };
    c.SetCaption("x");
    c.SetEnabled(false);
    c.SetVisible(false);
    c.GetFont()->SetSize(12);
    EXPECT_EQ(c.Perform(WM_USER + 5, 1, 2), 0);
    std::vector<UINT> want{WM_SETTEXT, CM_TEXTCHANGED, CM_ENABLEDCHANGED, CM_VISIBLECHANGED, CM_FONTCHANGED, WM_USER + 5};
    EXPECT_EQ(seen, want);
}

TEST(GraphicControlTest, ParentPaintsItClippedToItsBounds) {
    auto form = ShownForm();
    auto* s = new TSwatch(form.get(), clRed);
    s->SetBounds(20, 30, 40, 25);
    s->SetParent(form.get());
    EXPECT_EQ(PixelAt(form.get(), 20, 30), clRed);
    EXPECT_EQ(PixelAt(form.get(), 59, 54), clRed);
    EXPECT_EQ(PixelAt(form.get(), 60, 54), clWhite);  // right edge excluded
    EXPECT_EQ(PixelAt(form.get(), 19, 30), clWhite);
    EXPECT_EQ(PixelAt(s, 0, 0), clRed);
    s->SetVisible(false);
    EXPECT_EQ(PixelAt(form.get(), 30, 40), clWhite);
}

TEST(GraphicControlTest, ReceivesClicksInZOrderInItsOwnCoordinates) {
    auto form = ShownForm();
    auto* below = new TSwatch(form.get());
    below->SetBounds(10, 10, 50, 50);
    below->SetParent(form.get());
    auto* above = new TSwatch(form.get());
    above->SetBounds(30, 30, 50, 50);
    above->SetParent(form.get());
    std::vector<String> clicks;
    TPoint downAt;
    below->OnClick = [&](TObject*) { clicks.push_back("below"); };
    above->OnClick = [&](TObject*) { clicks.push_back("above"); };
    form->OnClick = [&](TObject*) { clicks.push_back("form"); };
    above->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int X, int Y) { downAt = {X, Y}; };

    ClickAt(form.get(), 40, 45);  // where both overlap: the upper one
    EXPECT_EQ(downAt, Point(10, 15));
    ClickAt(form.get(), 15, 15);
    ClickAt(form.get(), 150, 120);
    above->SetEnabled(false);  // a disabled graphic control lets the mouse through
    ClickAt(form.get(), 40, 45);
    std::vector<String> want{"above", "below", "form", "below"};
    EXPECT_EQ(clicks, want);
}

TEST(MouseTest, EnterAndLeaveAlsoWhileAButtonIsHeldAndNoClickOutside) {
    auto form = ShownForm();
    auto* s = new TSwatch(form.get());
    s->SetBounds(10, 10, 30, 30);
    s->SetParent(form.get());
    int clicks = 0;
    s->OnClick = [&](TObject*) { ++clicks; };

    MouseMoveTo(form.get(), 100, 100);
    MouseMoveTo(form.get(), 20, 20);
    ASSERT_EQ(s->Messages, std::vector<UINT>{CM_MOUSEENTER});
    MousePress(form.get(), 20, 20);
    MouseMoveTo(form.get(), 100, 100);  // dragged out while held: captured, yet told of leaving
    EXPECT_EQ(s->Messages, (std::vector<UINT>{CM_MOUSEENTER, CM_MOUSELEAVE}));
    EXPECT_EQ(s->Moves.back(), Point(90, 90));  // the capture keeps the moves coming
    MouseRelease(form.get(), 100, 100);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(GetCaptureControl(), nullptr);
}

TEST(MouseTest, AClickThatHidesItsWindowForAnotherLeavesNothingLit) {
    // The main window's mode buttons: the click hides the window, another is used meanwhile,
    // and the window comes back with the mouse elsewhere.
    auto form = ShownForm();
    auto* s = new TSwatch(form.get());
    s->SetBounds(10, 10, 30, 30);
    s->SetParent(form.get());
    auto other = ShownForm();
    other->SetBounds(form->GetLeft() + 400, form->GetTop(), 100, 100);
    s->OnClick = [&](TObject*) {
        form->Hide();
        EXPECT_EQ(s->Messages, (std::vector<UINT>{CM_MOUSEENTER, CM_MOUSELEAVE}));
        MouseMoveTo(other.get(), 50, 50);
        form->Show();
    };

    MouseMoveTo(form.get(), 20, 20);
    ASSERT_EQ(s->Messages, std::vector<UINT>{CM_MOUSEENTER});
    ClickAt(form.get(), 20, 20);
    EXPECT_EQ(s->Messages, (std::vector<UINT>{CM_MOUSEENTER, CM_MOUSELEAVE}));
    EXPECT_NE(Mouse->GetHoverControl(), s);
}

TEST(MouseTest, SecondPressIsADoubleClick) {
    auto form = ShownForm();
    auto* s = new TSwatch(form.get());
    s->SetBounds(0, 0, 50, 50);
    s->SetParent(form.get());
    int dbl = 0;
    std::vector<bool> doubles;
    s->OnDblClick = [&](TObject*) { ++dbl; };
    s->OnMouseDown = [&](TObject*, TMouseButton, TShiftState Shift, int, int) { doubles.push_back(Shift.Contains(ssDouble)); };
    DoubleClickAt(form.get(), 5, 5);
    EXPECT_EQ(dbl, 1);
    EXPECT_EQ(doubles, (std::vector<bool>{false, true}));
}

TEST(KeyTest, DialogKeysGoToTheFormBeforeTheFocusedControl) {
    auto form = ShownForm();
    std::vector<String> log;
    auto* a = new TKeyTarget(form.get(), &log, "a");
    a->SetBounds(0, 0, 50, 20);
    a->SetParent(form.get());
    auto* b = new TKeyTarget(form.get(), &log, "b");
    b->SetBounds(0, 30, 50, 20);
    b->SetParent(form.get());
    auto* skipped = new TKeyTarget(form.get(), &log, "s");
    skipped->SetTabStop(false);
    skipped->SetParent(form.get());
    auto* taker = new TDialogKeyTaker(form.get());
    taker->SetParent(form.get());

    a->SetFocus();
    EXPECT_TRUE(a->Focused());
    PressKey(form.get(), VK_TAB);
    EXPECT_TRUE(b->Focused());
    PressKey(form.get(), VK_TAB);  // wraps round, past the control without a tab stop
    EXPECT_TRUE(a->Focused());
    PressKey(form.get(), VK_TAB, {ssShift});
    EXPECT_TRUE(b->Focused());
    PressKey(form.get(), VK_RETURN, {}, "\r");
    EXPECT_EQ(taker->Returns, 1);
    PressKey(form.get(), 'O', {ssAlt});  // the key goes down as usual; its character is an accelerator
    EXPECT_EQ(taker->Accels, 1);
    PressKey(form.get(), 'X', {}, "x");
    std::vector<String> want{"a:enter", "a:exit", "b:enter", "b:exit", "a:enter", "a:exit", "b:enter",
                             "b:down" + std::to_string('O'), "b:down" + std::to_string('X'), "b:charx"};
    EXPECT_EQ(log, want);
}

TEST(KeyTest, AControlThatWantsAllKeysKeepsTheDialogKeys) {
    auto form = ShownForm();
    std::vector<String> log;
    auto* a = new TKeyTarget(form.get(), &log, "a");
    a->DlgCode = DLGC_WANTALLKEYS;
    a->SetParent(form.get());
    auto* taker = new TDialogKeyTaker(form.get());
    taker->SetParent(form.get());
    a->SetFocus();
    log.clear();
    PressKey(form.get(), VK_RETURN, {}, "\r");
    EXPECT_EQ(taker->Returns, 0);
    EXPECT_EQ(log.front(), "a:down" + std::to_string(VK_RETURN));
}

TEST(FocusTest, CannotFocusAHiddenOrDisabledControl) {
    auto form = ShownForm();
    std::vector<String> log;
    auto* a = new TKeyTarget(form.get(), &log, "a");
    a->SetParent(form.get());
    a->SetEnabled(false);
    EXPECT_FALSE(a->CanFocus());
    EXPECT_THROW(a->SetFocus(), EInvalidOperation);
    a->SetEnabled(true);
    a->SetFocus();
    delete a;  // the form forgets its focused control
    EXPECT_EQ(form->GetActiveControl(), nullptr);
}

TEST(KeyTest, AMenuShortcutOfTheFormWinsOverTheFocusedControl) {
    auto form = ShownForm();
    std::vector<String> log;
    auto* a = new TKeyTarget(form.get(), &log, "a");
    a->SetParent(form.get());
    auto* menu = new TMainMenu(form.get());
    auto* item = new TMenuItem(menu);
    item->SetCaption("&Save");
    item->SetShortCut(ShortCut('S', {ssCtrl}));
    int saves = 0;
    item->OnClick = [&](TObject*) { ++saves; };
    menu->GetItems()->Add(item);
    form->SetMenu(menu);
    a->SetFocus();
    log.clear();
    PressKey(form.get(), 'S', {ssCtrl});
    RunUntil([&] { return saves > 0; }, 1000);
    EXPECT_EQ(saves, 1);
    EXPECT_TRUE(log.empty());
}

namespace {

// A control takes the action's caption, state and hint; one still being loaded keeps what it
// already has of its own; a click without OnClick runs the action.
TEST(ControlActions, TheActionReachesItsControls) {
    TForm form(nullptr);
    TCustomAction action(&form);
    action.SetCaption("Run");
    action.SetHint("Runs it");
    action.SetEnabled(false);
    auto* plain = new TCustomControl(&form);
    plain->SetParent(&form);
    plain->SetAction(&action);
    EXPECT_EQ(plain->GetCaption(), "Run");
    EXPECT_EQ(plain->GetHint(), "Runs it");
    EXPECT_FALSE(plain->GetEnabled());

    auto* loading = new TCustomControl(&form);
    loading->SetParent(&form);
    loading->SetCaption("Mine");
    loading->BeginLoading();
    loading->SetAction(&action);
    loading->EndLoading();
    EXPECT_EQ(loading->GetCaption(), "Mine") << "a stored caption wins while loading";
    EXPECT_EQ(loading->GetHint(), "Runs it");
    EXPECT_FALSE(loading->GetEnabled());

    action.SetVisible(false);
    EXPECT_FALSE(plain->GetVisible());
    EXPECT_FALSE(loading->GetVisible());
    EXPECT_EQ(action.ClientCount(), 2);
    int runs = 0;
    action.OnExecute = [&](TObject* s) { ++runs; EXPECT_EQ(s, &action); };
    plain->Click();
    EXPECT_EQ(runs, 1);
    plain->SetAction(nullptr);
    EXPECT_EQ(action.ClientCount(), 1);
    plain->Click();
    EXPECT_EQ(runs, 1);
    action.SetCaption("Later");
    EXPECT_EQ(plain->GetCaption(), "Run") << "a control that left the action no longer follows it";
}

}  // namespace
