#include "platform/vcl/Menus.h"

#include <gtest/gtest.h>

#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/ImgList.h"
#include "platform/vcl/QtDialogs.h"
#include "tests/support/ScriptedInteraction.h"
#include "tests/support/TestHelpers.h"

namespace {

using testing_vcl::TInstallInteraction;
using testing_vcl::TQuestionKind;
using testing_vcl::TScriptedInteraction;

// Tells whether a component is still alive.
class TWatch : public TComponent {
public:
    explicit TWatch(TComponent* watched) : TComponent(nullptr), target(watched) { watched->FreeNotification(this); }
    bool Alive() const { return target != nullptr; }
    TComponent* target;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override {
        TComponent::Notification(AComponent, Operation);
        if (Operation == opRemove && AComponent == target) target = nullptr;
    }
};

TMenuItem* NewItem(TComponent* owner, const String& caption, TMenuItem* parent = nullptr) {
    auto* item = new TMenuItem(owner);
    item->SetCaption(caption);
    if (parent != nullptr) parent->Add(item);
    return item;
}

// Runs the message loop until every call queued before now has run.
void DrainQueuedCalls() {
    bool done = false;
    Application->QueueCall([&done] { done = true; });
    ASSERT_TRUE(testing_vcl::RunUntil([&done] { return done; }));
}

// ---- the item tree ----------------------------------------------------------------------------

TEST(MenuItemTree, FreeingAnItemFreesItsSubtreeWhoeverOwnsThem) {
    TComponent owner(nullptr);
    TPopupMenu menu(&owner);
    TMenuItem* file = NewItem(&owner, "&File", menu.GetItems());
    TMenuItem* open = NewItem(&owner, "Open", file);
    TMenuItem* recent = NewItem(&owner, "Recent", file);
    TMenuItem* deep = NewItem(&owner, "a.dvd", recent);
    TWatch wOpen(open), wDeep(deep);
    ASSERT_EQ(owner.ComponentCount(), 5);  // the menu and four items

    delete file;

    EXPECT_FALSE(wOpen.Alive());
    EXPECT_FALSE(wDeep.Alive());
    EXPECT_EQ(menu.GetItems()->Count(), 0);
    EXPECT_EQ(owner.ComponentCount(), 1);
}

TEST(MenuItemTree, FreeingTheOwnerOfAChildTakesItOutOfItsParent) {
    TPopupMenu menu(nullptr);
    auto* form = new TComponent(nullptr);
    TMenuItem* a = NewItem(form, "A", menu.GetItems());
    NewItem(&menu, "B", menu.GetItems());
    NewItem(form, "C", a);
    delete form;
    ASSERT_EQ(menu.GetItems()->Count(), 1);
    EXPECT_EQ(menu.GetItems()->Items(0)->GetCaption(), "B");
}

TEST(MenuItemTree, DeleteAndRemoveDetachClearFrees) {
    TComponent owner(nullptr);
    TMainMenu menu(&owner);
    TMenuItem* root = menu.GetItems();
    TMenuItem* a = NewItem(&owner, "A", root);
    TMenuItem* b = NewItem(&owner, "B", root);
    TMenuItem* c = NewItem(&owner, "C", root);
    TWatch wA(a), wB(b), wC(c);

    root->Delete(0);
    EXPECT_TRUE(wA.Alive());
    EXPECT_EQ(a->GetParent(), nullptr);
    EXPECT_EQ(a->GetMenuIndex(), -1);
    EXPECT_EQ(root->IndexOf(b), 0);
    EXPECT_EQ(c->GetMenuIndex(), 1);
    EXPECT_EQ(c->GetParentMenu(), &menu);
    EXPECT_EQ(a->GetParentMenu(), nullptr);

    root->Remove(c);
    EXPECT_TRUE(wC.Alive());
    root->Insert(0, c);
    EXPECT_EQ(root->Items(0), c);

    root->Clear();
    EXPECT_FALSE(wB.Alive());
    EXPECT_FALSE(wC.Alive());
    EXPECT_TRUE(wA.Alive());
    EXPECT_EQ(root->Count(), 0);
    delete a;
}

TEST(MenuItemTree, RejectsBadInsertionsAndIndexes) {
    TComponent owner(nullptr);
    TPopupMenu menu(&owner);
    TMenuItem* a = NewItem(&owner, "A", menu.GetItems());
    TMenuItem* child = NewItem(&owner, "child", a);
    EXPECT_THROW(menu.GetItems()->Add(child), EMenuError);  // already has a parent
    TMenuItem* loose = NewItem(&owner, "loose");
    EXPECT_THROW(menu.GetItems()->Insert(5, loose), EMenuError);
    EXPECT_THROW(menu.GetItems()->Items(1), EMenuError);
    EXPECT_THROW(menu.GetItems()->Delete(-1), EMenuError);
    a->Delete(0);
    EXPECT_THROW(child->Add(child), EMenuError);
    child->Add(loose);
    EXPECT_THROW(loose->Add(child), EMenuError);  // would make a cycle
}

TEST(MenuItemTree, MenuIndexMovesWithinTheParent) {
    TPopupMenu menu(nullptr);
    TMenuItem* a = NewItem(&menu, "A", menu.GetItems());
    NewItem(&menu, "B", menu.GetItems());
    NewItem(&menu, "C", menu.GetItems());
    a->SetMenuIndex(2);
    EXPECT_EQ(menu.GetItems()->Items(0)->GetCaption(), "B");
    EXPECT_EQ(menu.GetItems()->Items(2), a);
    a->SetMenuIndex(-7);  // clamped
    EXPECT_EQ(menu.GetItems()->Items(0), a);
}

TEST(MenuItem, SeparatorsFindAndRadioGroups) {
    TPopupMenu menu(nullptr);
    TMenuItem* root = menu.GetItems();
    TMenuItem* line = NewItem(&menu, "-", root);
    TMenuItem* english = NewItem(&menu, "&English", root);
    TMenuItem* german = NewItem(&menu, "German", root);
    TMenuItem* other = NewItem(&menu, "Bold", root);
    EXPECT_TRUE(line->IsLine());
    EXPECT_FALSE(english->IsLine());
    EXPECT_EQ(root->Find("english"), english);
    EXPECT_EQ(root->Find("&German"), german);
    EXPECT_EQ(root->Find("French"), nullptr);

    for (TMenuItem* i : {english, german}) {
        i->SetRadioItem(true);
        i->SetGroupIndex(1);
    }
    other->SetChecked(true);
    english->SetChecked(true);
    german->SetChecked(true);
    EXPECT_FALSE(english->GetChecked());
    EXPECT_TRUE(german->GetChecked());
    EXPECT_TRUE(other->GetChecked());  // not in the group
}

TEST(MenuItem, ClickRunsOnlyWhenEnabledAndAutoCheckToggles) {
    TMenuItem item(nullptr);
    int clicks = 0;
    item.OnClick = [&](TObject* s) { EXPECT_EQ(s, &item); ++clicks; };
    item.SetAutoCheck(true);
    item.Click();
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(item.GetChecked());
    item.SetEnabled(false);
    item.Click();
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(item.GetChecked());
}

TEST(MenuChange, TheMenuHearsOfChangesInItsTree) {
    TPopupMenu menu(nullptr);
    std::vector<std::pair<TMenuItem*, bool>> changes;
    menu.OnChange = [&](TObject*, TMenuItem* source, bool rebuild) { changes.push_back({source, rebuild}); };
    TMenuItem* a = NewItem(&menu, "A", menu.GetItems());
    TMenuItem* b = NewItem(&menu, "B", a);
    changes.clear();
    b->SetCaption("B2");
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].first, b);
    EXPECT_FALSE(changes[0].second);
    a->Delete(0);
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_TRUE(changes[1].second);
    changes.clear();
    b->SetCaption("detached");
    EXPECT_TRUE(changes.empty());
    delete b;
}

// ---- shortcuts and accelerators ---------------------------------------------------------------

TEST(ShortCuts, TextOfShortCuts) {
    struct Case {
        Word key;
        TShiftState shift;
        const char* text;
    };
    const Case cases[] = {
        {'S', {ssCtrl}, "Ctrl+S"},
        {'A', {ssShift, ssCtrl}, "Shift+Ctrl+A"},
        {'X', {ssAlt}, "Alt+X"},
        {0x70, {}, "F1"},
        {0x7B, {ssShift}, "Shift+F12"},
        {VK_DELETE, {}, "Del"},
        {VK_RETURN, {ssCtrl, ssAlt}, "Ctrl+Alt+Enter"},
        {'7', {}, "7"},
        {0, {ssCtrl}, ""},
    };
    for (const Case& c : cases) {
        TShortCut s = ShortCut(c.key, c.shift);
        EXPECT_EQ(ShortCutToText(s), c.text) << c.text;
        if (*c.text != 0) {
            EXPECT_EQ(TextToShortCut(c.text), s) << c.text;
        }
    }
    EXPECT_EQ(ShortCut('S', {ssCtrl}), 'S' | scCtrl);
    EXPECT_EQ(TextToShortCut("ctrl+s"), ShortCut('S', {ssCtrl}));
    EXPECT_EQ(TextToShortCut("Ctrl+Nothing"), scNone);
    Word key = 0;
    TShiftState shift;
    ShortCutToKey(ShortCut(VK_F10, {ssShift, ssAlt}), key, shift);
    EXPECT_EQ(key, VK_F10);
    EXPECT_EQ(shift, (TShiftState{ssShift, ssAlt}));
}

TEST(ShortCuts, IsShortCutClicksTheBoundItemOnly) {
    TMainMenu menu(nullptr);
    TMenuItem* file = NewItem(&menu, "File", menu.GetItems());
    TMenuItem* save = NewItem(&menu, "Save", file);
    TMenuItem* hidden = NewItem(&menu, "Hidden", file);
    save->SetShortCut(ShortCut('S', {ssCtrl}));
    hidden->SetShortCut(ShortCut('H', {ssCtrl}));
    hidden->SetVisible(false);
    int saves = 0, hiddens = 0;
    save->OnClick = [&](TObject*) { ++saves; };
    hidden->OnClick = [&](TObject*) { ++hiddens; };
    EXPECT_TRUE(menu.IsShortCut('S', {ssCtrl}));
    EXPECT_FALSE(menu.IsShortCut('S', {}));
    EXPECT_FALSE(menu.IsShortCut('H', {ssCtrl}));
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(hiddens, 0);
}

TEST(Hotkeys, StripGetAndAutomatic) {
    EXPECT_EQ(StripHotkey("&File"), "File");
    EXPECT_EQ(StripHotkey("Fish && &Chips"), "Fish & Chips");
    EXPECT_EQ(GetHotkey("Fish && &chips"), 'C');
    EXPECT_EQ(GetHotkey("R&&D"), 0);
    std::vector<String> in{"&Open", "Options", "-", "open again", "Save", "123"};
    // "open again": O and P are taken by then, so it gets E.
    std::vector<String> want{"&Open", "O&ptions", "-", "op&en again", "&Save", "&123"};
    EXPECT_EQ(AutomaticHotkeys(in), want);
}

// ---- owner drawing ----------------------------------------------------------------------------

TEST(OwnerDraw, MeasureGivesDefaultsThenTheHandlerDecides) {
    TPopupMenu menu(nullptr);
    menu.SetOwnerDraw(true);
    TMenuItem* item = NewItem(&menu, "Burn disc", menu.GetItems());
    TMenuItem* line = NewItem(&menu, "-", menu.GetItems());
    TBitmap scratch(1, 1, pf24bit);
    TCanvas* canvas = scratch.GetCanvas();

    int w = 0, h = 0;
    line->MeasureItem(canvas, w, h);
    EXPECT_EQ(h, MenuSeparatorDefaultHeight);
    item->MeasureItem(canvas, w, h);
    EXPECT_GT(w, canvas->TextWidth("Burn disc"));
    EXPECT_GE(h, MenuItemDefaultHeight);

    int seenW = 0, seenH = 0;
    TCanvas* seenCanvas = nullptr;
    item->OnMeasureItem = [&](TObject* sender, TCanvas* c, int& width, int& height) {
        EXPECT_EQ(sender, item);
        seenCanvas = c;
        seenW = width;
        seenH = height;
        width = 150;
        height = 21;
    };
    int w2 = 0, h2 = 0;
    item->MeasureItem(canvas, w2, h2);
    EXPECT_EQ(seenCanvas, canvas);
    EXPECT_EQ(seenW, w);
    EXPECT_EQ(seenH, h);
    EXPECT_EQ(w2, 150);
    EXPECT_EQ(h2, 21);
}

TEST(OwnerDraw, DrawGoesToTheAdvancedHandlerWithTheItemsState) {
    TPopupMenu menu(nullptr);
    TMenuItem* item = NewItem(&menu, "Item", menu.GetItems());
    item->SetChecked(true);
    item->SetDefault(true);
    item->SetEnabled(false);
    TOwnerDrawState state = item->DrawState(true);
    EXPECT_TRUE(state.Contains(odSelected));
    EXPECT_TRUE(state.Contains(odChecked));
    EXPECT_TRUE(state.Contains(odDefault));
    EXPECT_TRUE(state.Contains(odDisabled));
    EXPECT_TRUE(state.Contains(odGrayed));
    EXPECT_FALSE(item->DrawState(false).Contains(odSelected));

    TBitmap picture(60, 20, pf24bit);
    TRect seen;
    TOwnerDrawState seenState;
    item->OnAdvancedDrawItem = [&](TObject*, TCanvas* c, TRect r, TOwnerDrawState s) {
        seen = r;
        seenState = s;
        c->GetBrush()->SetColor(clRed);
        c->FillRect(r);
    };
    int plainCalls = 0;
    item->OnDrawItem = [&](TObject*, TCanvas*, TRect, bool) { ++plainCalls; };
    item->AdvancedDrawItem(picture.GetCanvas(), Rect(0, 0, 60, 20), state, false);
    EXPECT_EQ(seen, Rect(0, 0, 60, 20));
    EXPECT_EQ(seenState, state);
    EXPECT_EQ(plainCalls, 0);
    EXPECT_EQ(picture.GetPixelColor(59, 19), ColorToRGB(clRed));

    // Without the advanced handler the plain one gets the selection flag.
    item->OnAdvancedDrawItem = nullptr;
    bool selected = false;
    item->OnDrawItem = [&](TObject*, TCanvas*, TRect, bool s) { selected = s; ++plainCalls; };
    item->AdvancedDrawItem(picture.GetCanvas(), Rect(0, 0, 60, 20), state, false);
    EXPECT_EQ(plainCalls, 1);
    EXPECT_TRUE(selected);
}

TEST(OwnerDraw, DefaultLookHighlightsTheSelectedLine) {
    TPopupMenu menu(nullptr);
    TMenuItem* item = NewItem(&menu, "Item", menu.GetItems());
    TBitmap picture(80, 19, pf24bit);
    TRect r = Rect(0, 0, 80, 19);
    item->AdvancedDrawItem(picture.GetCanvas(), r, item->DrawState(true), false);
    EXPECT_EQ(picture.GetPixelColor(1, 1), ColorToRGB(clHighlight));
    item->AdvancedDrawItem(picture.GetCanvas(), r, item->DrawState(false), false);
    EXPECT_EQ(picture.GetPixelColor(1, 1), ColorToRGB(clMenu));
    bool sawText = false;
    for (int x = 0; x < 80 && !sawText; ++x)
        for (int y = 0; y < 19 && !sawText; ++y)
            sawText = picture.GetPixelColor(x, y) == ColorToRGB(clMenuText);
    EXPECT_TRUE(sawText);
}

// ---- the toolkit's popup --------------------------------------------------------------------

TEST(QtPopup, ShowsVisibleLinesWithAcceleratorsShortcutsChecksAndSubMenus) {
    TPopupMenu menu(nullptr);
    TMenuItem* open = NewItem(&menu, "Open", menu.GetItems());
    open->SetShortCut(ShortCut('O', {ssCtrl}));
    NewItem(&menu, "-", menu.GetItems());
    NewItem(&menu, "Options", menu.GetItems())->SetChecked(true);
    NewItem(&menu, "Secret", menu.GetItems())->SetVisible(false);
    TMenuItem* recent = NewItem(&menu, "Recent", menu.GetItems());
    NewItem(&menu, "a.dvd", recent)->SetEnabled(false);

    EXPECT_EQ(QtMenus_DescribePopup(&menu),
              (std::vector<String>{"&Open\tCtrl+O", "-", "O&ptions [x]", "&Recent", "  &a.dvd [disabled]"}));
    menu.SetAutoHotkeys(maManual);
    EXPECT_EQ(QtMenus_DescribePopup(&menu),
              (std::vector<String>{"Open\tCtrl+O", "-", "Options [x]", "Recent", "  a.dvd [disabled]"}));
    EXPECT_EQ(open->GetCaption(), "Open");  // automatic accelerators never touch the captions

    menu.SetOwnerDraw(true);
    EXPECT_EQ(QtMenus_DescribePopup(&menu),
              (std::vector<String>{"<drawn>", "<drawn>", "<drawn>", "Recent", "  <drawn>"}));
}

TEST(QtPopup, OwnerDrawnLinesAreMeasuredAndPaintedThroughTheItemsEvents) {
    TPopupMenu menu(nullptr);
    menu.SetOwnerDraw(true);
    TMenuItem* item = NewItem(&menu, "Burn", menu.GetItems());
    item->OnMeasureItem = [](TObject*, TCanvas*, int& w, int& h) {
        w = 100;
        h = 20;
    };
    TRect drawnRect;
    item->OnAdvancedDrawItem = [&](TObject*, TCanvas* c, TRect r, TOwnerDrawState s) {
        drawnRect = r;
        c->GetBrush()->SetColor(s.Contains(odSelected) ? clRed : clBlue);
        c->FillRect(r);
        c->SetPixels(r.Right - 1, r.Bottom - 1, clLime);
    };
    TBitmap out;
    QtMenus_RenderOwnerDrawnLine(item, true, 0, &out);
    ASSERT_EQ(out.GetWidth(), 100);
    ASSERT_EQ(out.GetHeight(), 20);
    EXPECT_EQ(drawnRect, Rect(0, 0, 100, 20));
    EXPECT_EQ(out.GetPixelColor(5, 5), ColorToRGB(clRed));
    EXPECT_EQ(out.GetPixelColor(99, 19), ColorToRGB(clLime));

    QtMenus_RenderOwnerDrawnLine(item, false, 150, &out);  // the popup may widen a line
    EXPECT_EQ(out.GetWidth(), 150);
    EXPECT_EQ(drawnRect, Rect(0, 0, 150, 20));
    EXPECT_EQ(out.GetPixelColor(5, 5), ColorToRGB(clBlue));
}

// ---- popups -----------------------------------------------------------------------------------

class PopupTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = new TForm(nullptr);
        form->SetBounds(10, 10, 200, 150);
        panel = new TPanel(form);
        panel->SetParent(form);
        panel->SetBounds(10, 10, 100, 60);
        popup = new TPopupMenu(form);
        item = NewItem(form, "Remove", popup->GetItems());
        NewItem(form, "-", popup->GetItems());
        hiddenItem = NewItem(form, "Hidden", popup->GetItems());
        hiddenItem->SetVisible(false);
        form->Show();
    }
    void TearDown() override { delete form; }

    TScriptedInteraction ask;
    TForm* form = nullptr;
    TPanel* panel = nullptr;
    TPopupMenu* popup = nullptr;
    TMenuItem* item = nullptr;
    TMenuItem* hiddenItem = nullptr;
};

TEST_F(PopupTest, HandlerRunsAfterPopupReturnsAndMayFreeTheControlThatOpenedIt) {
    TInstallInteraction installed(ask);
    ask.AnswerPopup(item);
    bool popupReturned = false;
    bool ranAfterReturn = false;
    TWatch panelWatch(panel);
    item->OnClick = [&](TObject* sender) {
        ranAfterReturn = popupReturned;
        EXPECT_EQ(sender, item);
        delete popup->GetPopupComponent();
    };
    bool askedAfterOnPopup = false;
    popup->OnPopup = [&](TObject*) { askedAfterOnPopup = ask.Questions.empty(); };

    popup->SetPopupComponent(panel);
    popup->Popup(120, 80);
    popupReturned = true;
    EXPECT_TRUE(panelWatch.Alive());  // nothing clicked yet
    DrainQueuedCalls();

    EXPECT_TRUE(ranAfterReturn);
    EXPECT_TRUE(askedAfterOnPopup);
    EXPECT_FALSE(panelWatch.Alive());
    EXPECT_EQ(popup->GetPopupComponent(), nullptr);
    EXPECT_EQ(popup->GetPopupPoint(), Point(120, 80));
    ASSERT_EQ(ask.Questions.size(), 1u);
    const auto& q = ask.Questions[0];
    EXPECT_EQ(q.Kind, TQuestionKind::PopupMenu);
    EXPECT_EQ(q.Menu, popup);
    EXPECT_EQ(q.X, 120);
    EXPECT_EQ(q.Y, 80);
    EXPECT_EQ(q.MenuCaptions, (std::vector<String>{"Remove", "-"}));
}

TEST_F(PopupTest, RightClickOnAControlOpensItsPopupWithItselfAsPopupComponent) {
    TInstallInteraction installed(ask);
    panel->SetPopupMenu(popup);
    TComponent* opener = nullptr;
    ask.PopupAnswers.push_back([&](TPopupMenu* m) {
        opener = m->GetPopupComponent();
        return item;
    });
    int clicks = 0;
    item->OnClick = [&](TObject*) { ++clicks; };
    testing_vcl::ClickAt(panel, 5, 5, mbRight);
    DrainQueuedCalls();
    EXPECT_EQ(opener, panel);
    EXPECT_EQ(clicks, 1);
    ASSERT_EQ(ask.Of(TQuestionKind::PopupMenu).size(), 1u);
    EXPECT_EQ(ask.Questions[0].X, panel->ClientToScreen({5, 5}).x);
}

TEST_F(PopupTest, AnItemFreedBeforeTheQueuedClickIsNotClicked) {
    TInstallInteraction installed(ask);
    ask.AnswerPopup(item);
    int clicks = 0;
    item->OnClick = [&](TObject*) { ++clicks; };
    popup->Popup(0, 0);
    delete item;
    DrainQueuedCalls();
    EXPECT_EQ(clicks, 0);
}

TEST_F(PopupTest, DismissedPopupClicksNothing) {
    TInstallInteraction installed(ask);
    int clicks = 0;
    item->OnClick = [&](TObject*) { ++clicks; };
    popup->Popup(0, 0);  // no scripted answer: dismissed
    DrainQueuedCalls();
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(ask.Unanswered, 1);
}

TEST_F(PopupTest, AnExceptionInTheClickHandlerReachesTheApplication) {
    TInstallInteraction installed(ask);
    ask.AnswerPopup(item);
    item->OnClick = [](TObject*) { throw Exception("boom"); };
    String seen;
    Application->OnException = [&](TObject*, const std::exception& e) { seen = e.what(); };
    popup->Popup(0, 0);
    DrainQueuedCalls();
    Application->OnException = nullptr;
    EXPECT_EQ(seen, "boom");
}

}  // namespace

TEST(MenuImages, AReplacedImageListFreedLaterLeavesTheMenuSound) {
    auto* first = new TImageList(nullptr);
    TImageList second(nullptr);
    auto* menu = new TPopupMenu(nullptr);
    menu->SetImages(first);
    menu->SetImages(&second);
    delete first;   // no longer the menu's: the menu must not be told, nor keep a link to it
    EXPECT_EQ(menu->GetImages(), &second);
    delete menu;    // would reach the freed list through a one-sided link
}
