#include "skin/controls/SUIDBCtrls.h"

#include <memory>

#include <gtest/gtest.h>

#include "platform/db/MemoryDataSet.h"
#include "platform/vcl/Forms.h"
#include "skin/controls/SUIControlLook.h"
#include "tests/support/ScriptedInteraction.h"
#include "tests/support/TestHelpers.h"

using namespace testing_vcl;

namespace {

std::unique_ptr<TMemoryDataSet> Tasks(int Rows = 3) {
    auto ds = std::make_unique<TMemoryDataSet>(nullptr);
    ds->AddFieldDef("id", ftInteger);
    ds->AddFieldDef("title", ftString);
    ds->AddFieldDef("done", ftString);
    ds->AddFieldDef("flag", ftBoolean);
    ds->AddFieldDef("size", ftString);
    const char* titles[] = {"Write", "Test", "Ship", "Rest"};
    const char* done[] = {"Yes", "y", "No", "maybe"};
    const char* sizes[] = {"S", "M", "L", "M"};
    for (int i = 0; i < Rows; ++i)
        ds->AppendStoreRow({Int64{i + 1}, String(titles[i]), String(done[i]), i % 2 == 0, String(sizes[i])});
    return ds;
}

struct TNavForm {
    std::unique_ptr<TMemoryDataSet> ds;
    std::unique_ptr<TDataSource> source = std::make_unique<TDataSource>(nullptr);
    TForm form{nullptr};
    TsuiDBNavigator* nav = nullptr;

    explicit TNavForm(int Rows = 3) : ds(Tasks(Rows)) {
        source->SetDataSet(ds.get());
        form.SetBounds(10, 10, 400, 200);
        nav = new TsuiDBNavigator(&form);
        nav->SetParent(&form);
        nav->SetDataSource(source.get());
    }
    std::vector<bool> Enabled() const {
        std::vector<bool> e;
        for (int i = 0; i < NavigatorButtonCount; ++i) e.push_back(nav->Button(static_cast<TNavigateBtn>(i))->GetEnabled());
        return e;
    }
};

// ---- layout --------------------------------------------------------------------------------------

TEST(SUIDBNavigatorLayout, SizesSnapAndLeftoverPixelsSpread) {
    struct TCase {
        int width, count;
        bool alignNone;
        int wantWidth;
        std::vector<int> widths;
    };
    for (const TCase& c : {TCase{250, 2, true, 250, {125, 125}}, TCase{251, 2, true, 250, {125, 125}},
                           TCase{205, 10, false, 205, {20, 21, 20, 21, 20, 21, 20, 21, 20, 21}},
                           TCase{10, 3, true, 60, {20, 20, 20}}, TCase{62, 3, false, 62, {21, 20, 21}}}) {
        SCOPED_TRACE(c.width);
        TsuiNavigatorLayout l = SUINavigatorLayout(c.width, 30, c.count, c.alignNone);
        EXPECT_EQ(l.Width, c.wantWidth);
        EXPECT_EQ(l.Widths, c.widths);
        int x = 0;
        for (size_t i = 0; i < l.Lefts.size(); ++i) {
            EXPECT_EQ(l.Lefts[i], x);
            x += l.Widths[i];
        }
    }
    int w = 5, h = 2;
    SUINavigatorCalcMinSize(w, h, 0, true);
    EXPECT_EQ(w, 20);
    EXPECT_EQ(h, 18);
}

TEST(SUIDBNavigator, TwoVisibleButtonsKeep250AndSnap251) {
    TNavForm f;
    f.nav->SetVisibleButtons({nbFirst, nbLast});
    EXPECT_EQ(f.nav->GetWidth(), 250);
    EXPECT_EQ(f.nav->Button(nbFirst)->GetWidth(), 125);
    EXPECT_EQ(f.nav->Button(nbLast)->GetLeft(), 125);
    EXPECT_GT(f.nav->Button(nbNext)->GetLeft(), f.nav->GetWidth());
    f.nav->SetWidth(251);
    EXPECT_EQ(f.nav->GetWidth(), 250);
}

TEST(SUIDBNavigator, AlignedToTheTopEvenButtonsTakeTheLeftoverPixels) {
    TNavForm f;
    f.form.SetClientWidth(205);
    f.nav->SetAlign(alTop);
    ASSERT_EQ(f.nav->GetWidth(), 205);
    for (int i = 0; i < NavigatorButtonCount; ++i)
        EXPECT_EQ(f.nav->Button(static_cast<TNavigateBtn>(i))->GetWidth(), i % 2 == 1 ? 21 : 20) << i;
}

TEST(SUIDBNavigator, ButtonsCarryTheGlyphsAndChineseHints) {
    TNavForm f;
    EXPECT_FALSE(f.nav->Button(nbFirst)->GetGlyph()->GetEmpty());
    EXPECT_EQ(f.nav->Button(nbFirst)->GetHint(), "第一条记录");
    EXPECT_EQ(f.nav->Button(nbRefresh)->GetHint(), "刷新数据");
    TStringList mine;
    mine.Add("");
    mine.Add("Back");
    f.nav->SetHints(&mine);
    EXPECT_EQ(f.nav->Button(nbFirst)->GetHint(), "第一条记录");
    EXPECT_EQ(f.nav->Button(nbPrior)->GetHint(), "Back");
    EXPECT_TRUE(f.nav->Button(nbNext)->GetRepeats());
    EXPECT_FALSE(f.nav->Button(nbLast)->GetRepeats());
}

// ---- enabling ------------------------------------------------------------------------------------

TEST(SUIDBNavigator, ButtonsFollowTheDataSetState) {
    struct TCase {
        const char* name;
        int rows;
        bool readOnly;
        std::function<void(TDataSet*)> act;
        std::vector<bool> enabled;  // First Prior Next Last Insert Delete Edit Post Cancel Refresh
    };
    const std::vector<TCase> cases = {
        {"closed", 3, false, [](TDataSet* d) { d->Close(); }, std::vector<bool>(10, false)},
        {"first record", 3, false, [](TDataSet*) {}, {0, 0, 1, 1, 1, 1, 1, 0, 0, 1}},
        {"middle record", 3, false, [](TDataSet* d) { d->Next(); }, {1, 1, 1, 1, 1, 1, 1, 0, 0, 1}},
        {"last record", 3, false, [](TDataSet* d) { d->Last(); }, {1, 1, 0, 0, 1, 1, 1, 0, 0, 1}},
        {"editing", 3, false, [](TDataSet* d) { d->Edit(); }, {0, 0, 1, 1, 1, 1, 0, 1, 1, 1}},
        {"empty", 0, false, [](TDataSet*) {}, {0, 0, 0, 0, 1, 0, 1, 0, 0, 1}},
        {"read-only", 3, true, [](TDataSet* d) { d->Next(); }, {1, 1, 1, 1, 0, 0, 0, 0, 0, 0}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        TNavForm f(c.rows);
        f.ds->SetReadOnly(c.readOnly);
        f.ds->Open();
        c.act(f.ds.get());
        std::vector<bool> want(c.enabled.begin(), c.enabled.end());
        EXPECT_EQ(f.Enabled(), want);
    }
}

TEST(SUIDBNavigator, DisablingTheNavigatorDisablesEveryButton) {
    TNavForm f;
    f.ds->Open();
    f.nav->SetEnabled(false);
    EXPECT_EQ(f.Enabled(), std::vector<bool>(10, false));
    f.nav->SetEnabled(true);
    EXPECT_TRUE(f.nav->Button(nbNext)->GetEnabled());
}

// ---- actions -------------------------------------------------------------------------------------

TEST(SUIDBNavigator, ClicksRunTheActionThenOnClick) {
    TNavForm f;
    f.ds->Open();
    std::vector<TNavigateBtn> before, after;
    f.nav->BeforeAction = [&](TsuiDBNavigator*, TNavigateBtn b) { before.push_back(b); };
    f.nav->OnClick = [&](TsuiDBNavigator*, TNavigateBtn b) { after.push_back(b); };
    f.form.Show();
    Click(f.nav->Button(nbLast));
    EXPECT_EQ(f.ds->GetRecNo(), 3);
    Click(f.nav->Button(nbFirst));
    EXPECT_EQ(f.ds->GetRecNo(), 1);
    Click(f.nav->Button(nbEdit));
    EXPECT_EQ(f.ds->GetState(), dsEdit);
    Click(f.nav->Button(nbCancel));
    EXPECT_EQ(f.ds->GetState(), dsBrowse);
    EXPECT_EQ(before, (std::vector<TNavigateBtn>{nbLast, nbFirst, nbEdit, nbCancel}));
    EXPECT_EQ(after, before);
}

TEST(SUIDBNavigator, AMissingOrInactiveSourceOnlyFiresOnClick) {
    TNavForm f;
    int clicks = 0, actions = 0;
    f.nav->OnClick = [&](TsuiDBNavigator*, TNavigateBtn) { ++clicks; };
    f.nav->BeforeAction = [&](TsuiDBNavigator*, TNavigateBtn) { ++actions; };
    f.nav->BtnClick(nbNext);
    f.nav->SetDataSource(nullptr);
    f.nav->BtnClick(nbDelete);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(actions, 0);
    EXPECT_EQ(f.ds->StoreRowCount(), 3);
}

TEST(SUIDBNavigator, DeleteAsksAndCancelKeepsTheRecord) {
    TScriptedInteraction ask;
    TInstallInteraction installed(ask);
    TNavForm f;
    f.ds->Open();
    ask.MessageAnswers = {mrCancel, mrOk};
    f.nav->BtnClick(nbDelete);
    EXPECT_EQ(f.ds->StoreRowCount(), 3);
    ASSERT_EQ(ask.Questions.size(), 1u);
    EXPECT_EQ(ask.Questions[0].Text, "删除记录？");
    EXPECT_EQ(ask.Questions[0].DlgType, mtConfirmation);
    EXPECT_EQ(ask.Questions[0].Buttons, (TMsgDlgButtons{mbOK, mbCancel}));
    f.nav->BtnClick(nbDelete);
    EXPECT_EQ(f.ds->StoreRowCount(), 2);
    f.nav->SetConfirmDelete(false);
    f.nav->BtnClick(nbDelete);
    EXPECT_EQ(f.ds->StoreRowCount(), 1);
    EXPECT_EQ(ask.Questions.size(), 2u);
}

TEST(SUIDBNavigator, HoldingNextRepeatsAfter400ThenEvery100) {
    TNavForm f;
    f.ds->Open();
    f.form.Show();
    TsuiNavButton* next = f.nav->Button(nbNext);
    MousePress(next, 5, 5);
    ASSERT_NE(next->NavRepeatTimer(), nullptr);
    EXPECT_TRUE(next->NavRepeatTimer()->GetEnabled());
    EXPECT_EQ(next->NavRepeatTimer()->GetInterval(), 400u);
    EXPECT_EQ(f.ds->GetRecNo(), 1);
    // The timer's ticks, run by hand: each one moves while the button is held.
    next->NavRepeatTimer()->OnTimer(next->NavRepeatTimer());
    EXPECT_EQ(next->NavRepeatTimer()->GetInterval(), 100u);
    EXPECT_EQ(f.ds->GetRecNo(), 2);
    next->NavRepeatTimer()->OnTimer(next->NavRepeatTimer());
    EXPECT_EQ(f.ds->GetRecNo(), 3);
    MouseRelease(next, 5, 5);
    EXPECT_FALSE(next->NavRepeatTimer()->GetEnabled());
    f.ds->First();
    next->NavRepeatTimer()->OnTimer(next->NavRepeatTimer());
    EXPECT_EQ(f.ds->GetRecNo(), 1);
}

TEST(SUIDBNavigator, AnExceptionInARepeatStopsTheTimerAndReachesTheCaller) {
    TScriptedInteraction ask;
    TInstallInteraction installed(ask);
    TNavForm f;
    f.ds->Open();
    f.form.Show();
    f.nav->BeforeAction = [](TsuiDBNavigator*, TNavigateBtn) { throw EDatabaseError("refused"); };
    TsuiNavButton* prior = f.nav->Button(nbPrior);
    f.ds->Last();
    MousePress(prior, 5, 5);
    ASSERT_NE(prior->NavRepeatTimer(), nullptr);
    EXPECT_THROW(prior->TimerExpired(), EDatabaseError);
    EXPECT_FALSE(prior->NavRepeatTimer()->GetEnabled());
    // The release clicks: that error goes to the application's exception display.
    MouseRelease(prior, 5, 5);
    ASSERT_EQ(ask.Of(TQuestionKind::MessageBox).size(), 1u);
    EXPECT_EQ(ask.Questions[0].DlgType, mtError);
}

TEST(SUIDBNavigator, ArrowKeysMoveAmongVisibleButtonsAndSpaceClicks) {
    TNavForm f;
    f.ds->Open();
    f.nav->SetVisibleButtons({nbPrior, nbNext, nbDelete, nbRefresh});
    f.nav->SetTabStop(true);
    f.form.Show();
    f.nav->SetFocus();
    ASSERT_TRUE(RunUntil([&] { return f.nav->Focused(); }, 2000));
    PressKey(&f.form, VK_RIGHT);
    EXPECT_EQ(f.nav->FocusedButton(), nbPrior);
    PressKey(&f.form, VK_RIGHT);
    EXPECT_EQ(f.nav->FocusedButton(), nbNext);
    PressKey(&f.form, VK_SPACE, {}, " ");
    EXPECT_EQ(f.ds->GetRecNo(), 2);
    PressKey(&f.form, VK_RIGHT);
    PressKey(&f.form, VK_RIGHT);
    EXPECT_EQ(f.nav->FocusedButton(), nbRefresh);
    PressKey(&f.form, VK_RIGHT);
    EXPECT_EQ(f.nav->FocusedButton(), nbRefresh);
    // Left stops at the leftmost visible button: First is hidden and never takes the focus.
    for (int i = 0; i < 5; ++i) PressKey(&f.form, VK_LEFT);
    EXPECT_EQ(f.nav->FocusedButton(), nbPrior);
    PressKey(&f.form, VK_SPACE, {}, " ");
    EXPECT_EQ(f.ds->GetRecNo(), 1);
}

TEST(SUIDBNavigator, AFreedSourceIsDroppedAndButtonsDisable) {
    TNavForm f;
    f.ds->Open();
    f.source.reset();
    EXPECT_EQ(f.nav->GetDataSource(), nullptr);
    EXPECT_EQ(f.Enabled(), std::vector<bool>(10, false));
}

// ---- check box and radio group -------------------------------------------------------------------

TEST(SUIDBCheckBox, ValueListsMatchTrimmedItemsWithoutCase) {
    struct TCase {
        const char* list;
        const char* text;
        bool match;
    };
    for (const TCase& c : {TCase{"Yes;Y", "y", true}, TCase{"Yes;Y", "YES", true}, TCase{" Yes ; Y ", "y", true},
                           TCase{"Yes;Y", "Ye", false}, TCase{"True", "", false}, TCase{";", "", true}}) {
        SCOPED_TRACE(String(c.list) + " / " + c.text);
        EXPECT_EQ(SUIDBValueMatch(c.list, c.text), c.match);
    }
    EXPECT_EQ(SUIDBFirstValue("Yes;Y"), "Yes");
    EXPECT_EQ(SUIDBFirstValue("True"), "True");
}

TEST(SUIDBCheckBox, ReadsYesOrYAndWritesTheFirstItem) {
    TNavForm f(4);
    auto* box = new TsuiDBCheckBox(&f.form);
    box->SetParent(&f.form);
    box->SetValueChecked("Yes;Y");
    box->SetValueUnchecked("No;N");
    box->SetDataSource(f.source.get());
    box->SetDataField("done");
    f.ds->Open();
    EXPECT_TRUE(box->GetChecked());
    f.ds->Next();  // "y"
    EXPECT_TRUE(box->GetChecked());
    f.ds->Next();  // "No"
    EXPECT_FALSE(box->GetChecked());
    f.ds->Next();  // "maybe": neither list
    EXPECT_EQ(box->GetFieldState(), cbUnchecked);
    f.form.Show();
    Click(box);
    EXPECT_TRUE(box->GetChecked());
    EXPECT_EQ(f.ds->GetState(), dsEdit);
    f.ds->Post();
    EXPECT_EQ(std::get<String>(f.ds->StoreValue(3, 2)), "Yes");
    Click(box);
    f.ds->Post();
    EXPECT_EQ(std::get<String>(f.ds->StoreValue(3, 2)), "No");
}

TEST(SUIDBCheckBox, BooleanFieldsAndReadOnlyAndEscape) {
    TNavForm f;
    auto* box = new TsuiDBCheckBox(&f.form);
    box->SetParent(&f.form);
    box->SetDataSource(f.source.get());
    box->SetDataField("flag");
    f.ds->Open();
    EXPECT_TRUE(box->GetChecked());
    f.form.Show();
    box->SetReadOnly(true);
    Click(box);
    EXPECT_TRUE(box->GetChecked());
    EXPECT_EQ(f.ds->GetState(), dsBrowse);
    box->SetReadOnly(false);
    Click(box);
    EXPECT_FALSE(box->GetChecked());
    box->SetFocus();
    RunUntil([&] { return box->Focused(); }, 2000);
    PressKey(&f.form, VK_ESCAPE, {}, "\x1b");
    EXPECT_TRUE(box->GetChecked());
    f.ds->Post();
    EXPECT_EQ(std::get<bool>(f.ds->StoreValue(0, 3)), true);
    EXPECT_EQ(box->Perform(CM_GETDATALINK), reinterpret_cast<LRESULT>(box->DataLink()));
}

// Painted as a copy (a replicating grid's other records), the box shows the field through its
// standard paint control: the mark follows the field, not the control's own state.
TEST(SUIDBCheckBox, PaintedAsACopyItShowsTheFieldsState) {
    TNavForm f(4);
    auto* box = new TsuiDBCheckBox(&f.form);
    box->SetParent(&f.form);
    box->SetBounds(10, 10, 120, 20);
    box->SetCaption("Done");
    box->SetColor(clWhite);
    box->SetValueChecked("Yes;Y");
    box->SetDataSource(f.source.get());
    box->SetDataField("done");
    f.ds->Open();
    f.form.Show();
    const auto copyPaint = [&] {
        TBitmap shot(120, 20, pf24bit);
        box->ControlState().Include(TControlStateE::csPaintCopy);
        box->Perform(WM_PAINT, reinterpret_cast<WPARAM>(shot.GetCanvas()), 0);
        box->ControlState().Exclude(TControlStateE::csPaintCopy);
        return std::pair{shot.GetPixelColor(6, 10), shot.GetPixelColor(0, 3)};
    };
    ASSERT_TRUE(box->GetChecked());  // "Yes"
    const auto [checkedMark, checkedEdge] = copyPaint();
    EXPECT_EQ(box->PaintControl().GetState(), cbChecked);
    EXPECT_TRUE(box->PaintControl().HandleAllocated());
    EXPECT_EQ(checkedEdge, static_cast<COLORREF>(ColorToRGB(clBtnShadow))) << "the standard sunken square";

    f.ds->Next();
    f.ds->Next();  // "No": the field reads unchecked while the control is still ticked by hand
    box->SetChecked(true);
    const auto [uncheckedMark, uncheckedEdge] = copyPaint();
    EXPECT_EQ(box->PaintControl().GetState(), cbUnchecked);
    EXPECT_NE(checkedMark, uncheckedMark);
    EXPECT_EQ(uncheckedMark, static_cast<COLORREF>(ColorToRGB(clWindow)));
    EXPECT_EQ(uncheckedEdge, checkedEdge);

    // A new caption, font or size drops the paint control's window; the next copy makes one again.
    box->SetCaption("Finished");
    EXPECT_FALSE(box->PaintControl().HandleAllocated());
    copyPaint();
    EXPECT_TRUE(box->PaintControl().HandleAllocated());
    box->GetFont()->SetSize(14);
    EXPECT_FALSE(box->PaintControl().HandleAllocated());
}

TEST(SUIDBRadioGroup, EmptyValuesUseItemsAndValuesWinWhenGiven) {
    TNavForm f;
    auto* group = new TsuiDBRadioGroup(&f.form);
    group->SetParent(&f.form);
    group->SetBounds(10, 40, 200, 100);
    TStringList items;
    for (const char* s : {"S", "M", "L"}) items.Add(s);
    group->SetItems(&items);
    group->SetDataSource(f.source.get());
    group->SetDataField("size");
    int changes = 0;
    group->OnChange = [&](TObject*) { ++changes; };
    f.ds->Open();
    EXPECT_EQ(group->GetItemIndex(), 0);
    f.ds->Next();
    EXPECT_EQ(group->GetItemIndex(), 1);
    EXPECT_EQ(group->GetButtonValue(2), "L");
    EXPECT_EQ(group->GetButtonValue(7), "");
    EXPECT_GE(changes, 1);
    TStringList values;
    values.Add("small");
    values.Add("");
    values.Add("large");
    group->SetValues(&values);
    EXPECT_EQ(group->GetButtonValue(0), "small");
    EXPECT_EQ(group->GetButtonValue(1), "M");
    EXPECT_EQ(group->GetItemIndex(), 1);
    f.form.Show();
    Click(group->Button(2));
    EXPECT_EQ(group->GetValue(), "large");
    EXPECT_EQ(f.ds->GetState(), dsEdit);
    f.ds->Post();
    EXPECT_EQ(std::get<String>(f.ds->StoreValue(1, 4)), "large");
    group->SetValue("none");
    EXPECT_EQ(group->GetItemIndex(), -1);
}

TEST(SUIDBRadioGroup, AReadOnlyDataSetRefusesTheClick) {
    TNavForm f;
    f.ds->SetReadOnly(true);
    auto* group = new TsuiDBRadioGroup(&f.form);
    group->SetParent(&f.form);
    group->SetBounds(10, 40, 200, 100);
    TStringList items;
    for (const char* s : {"S", "M", "L"}) items.Add(s);
    group->SetItems(&items);
    group->SetDataSource(f.source.get());
    group->SetDataField("size");
    f.ds->Open();
    f.form.Show();
    EXPECT_FALSE(group->CanModify());
    Click(group->Button(2));
    EXPECT_EQ(group->GetItemIndex(), 0);
    EXPECT_EQ(f.ds->GetState(), dsBrowse);
}

// ---- the twins' looks and bars -------------------------------------------------------------------

TEST(SUIDBTwins, TakeTheLookColoursAndTheirBorders) {
    TForm form(nullptr);
    auto* edit = new TsuiDBEdit(&form);
    auto* memo = new TsuiDBMemo(&form);
    auto* image = new TsuiDBImage(&form);
    auto* list = new TsuiDBListBox(&form);
    auto* lookupList = new TsuiDBLookupListBox(&form);
    auto* combo = new TsuiDBComboBox(&form);
    auto* lookup = new TsuiDBLookupComboBox(&form);
    auto* grid = new TsuiDBGrid(&form);
    for (TsuiUIStyle look : {MacOS, WinXP, DeepBlue, Protein, BlueGlass}) {
        SCOPED_TRACE(look);
        const TColor border = GetInsideThemeColor(look, SUI_THEME_CONTROL_BORDER_COLOR);
        for (IsuiStyled* s : std::initializer_list<IsuiStyled*>{edit, memo, image, list, lookupList, combo, lookup, grid})
            s->SetUIStyle(look);
        EXPECT_EQ(edit->GetBorderColor(), border);
        EXPECT_EQ(memo->GetBorderColor(), border);
        EXPECT_EQ(image->GetBorderColor(), border);
        EXPECT_EQ(list->GetBorderColor(), border);
        EXPECT_EQ(lookupList->GetBorderColor(), border);
        EXPECT_EQ(combo->GetButtonColor(), GetInsideThemeColor(look, SUI_THEME_FORM_BACKGROUND_COLOR));
        EXPECT_EQ(lookup->GetButtonColor(), GetInsideThemeColor(look, SUI_THEME_FORM_BACKGROUND_COLOR));
        EXPECT_EQ(grid->GetFixedBGColor(), GetInsideThemeColor(look, SUI_THEME_MENU_SELECTED_BACKGROUND_COLOR));
        EXPECT_EQ(grid->GetTitleFontColor(), GetInsideThemeColor(look, SUI_THEME_MENU_SELECTED_FONT_COLOR));
    }
    EXPECT_EQ(edit->GetBorderWidth(), 2);
    EXPECT_EQ(image->GetBorderWidth(), 2);
    EXPECT_EQ(image->GetBorderStyle(), bsSingle);
    EXPECT_EQ(grid->GetBorderWidth(), 1);
    EXPECT_EQ(grid->GetFocusedColor(), clGreen);
    EXPECT_EQ(grid->GetSelectedColor(), clYellow);
}

TEST(SUIDBTwins, TheLookupComboButtonIsAScrollBarWide) {
    const TRect r = SUIDBLookupComboButtonRect(120, 21, 17);
    EXPECT_EQ(r.Left, 103);
    EXPECT_EQ(r.Right, 120);
    EXPECT_EQ(r.Bottom, 21);
    const TPoint at = SUIDBLookupComboArrowOrigin(r);
    EXPECT_EQ(at.x, 103 + 8 - 3);
    EXPECT_EQ(at.y, 10 - 2);
}

TEST(SUIDBScrollBars, DataAwarePlacementsDifferAsTheirTwins) {
    const TRect control = Bounds(10, 20, 200, 100);
    // The data memo never hides a bar for size and takes two pixels off the horizontal one.
    TsuiScrollBarsPlacement memo = SUIPlaceScrollBars(TsuiScrollHostKind::DBMemo, control, true, {0, 16}, true, {16, 0});
    EXPECT_EQ(memo.HBar, Bounds(11, 102, 182, 16));
    EXPECT_TRUE(memo.HVisible && memo.VVisible);
    TsuiScrollBarsPlacement tiny = SUIPlaceScrollBars(TsuiScrollHostKind::DBMemo, Bounds(0, 0, 10, 10), true, {0, 16}, true, {16, 0});
    EXPECT_TRUE(tiny.HVisible && tiny.VVisible);
    // The data list's bar stays at the right edge even when wider than the list.
    TsuiScrollBarsPlacement list = SUIPlaceScrollBars(TsuiScrollHostKind::DBListBox, Bounds(5, 0, 10, 50), false, {}, true, {16, 0});
    EXPECT_EQ(list.VBar.Left, 5 + 10 - 16 - 2);
    // The data grid: one pixel in, shortened only by a shown bar, a too big bar at the edge.
    TsuiScrollBarsPlacement grid = SUIPlaceDBGridScrollBars(control, true, {0, 16}, true, true, {16, 0}, false);
    EXPECT_EQ(grid.HBar, Bounds(11, 103, 198, 16));
    EXPECT_EQ(grid.VBar, Bounds(193, 21, 16, 82));
    TsuiScrollBarsPlacement big = SUIPlaceDBGridScrollBars(Bounds(0, 0, 10, 10), true, {0, 16}, true, true, {16, 0}, true);
    EXPECT_EQ(big.VBar.Left, 0);
    EXPECT_EQ(big.HBar.Top, 0);
}

TEST(SUIDBScrollBars, TheGridKeepsItsOwnScrollBarsWithExternalOnes) {
    TForm form(nullptr);
    form.SetBounds(0, 0, 400, 300);
    auto* grid = new TsuiDBGrid(&form);
    grid->SetParent(&form);
    grid->SetBounds(10, 10, 200, 100);
    grid->SetScrollBars(ssVertical);
    auto* bar = new TsuiScrollBar(&form);
    bar->SetParent(&form);
    grid->SetVScrollBar(bar);
    grid->SetHScrollBar(new TsuiScrollBar(&form));
    EXPECT_EQ(grid->GetScrollBars(), ssVertical);
    delete bar;
    EXPECT_EQ(grid->GetVScrollBar(), nullptr);
    EXPECT_EQ(grid->GetScrollBars(), ssVertical);
    auto* memo = new TsuiDBMemo(&form);
    memo->SetParent(&form);
    memo->SetVScrollBar(new TsuiScrollBar(&form));
    EXPECT_EQ(memo->GetScrollBars(), ssVertical);
}

// A list source of many rows, so the lists need their vertical bar.
struct TManyRows {
    std::unique_ptr<TMemoryDataSet> ds = std::make_unique<TMemoryDataSet>(nullptr);
    std::unique_ptr<TDataSource> source = std::make_unique<TDataSource>(nullptr);
    TManyRows() {
        ds->AddFieldDef("code", ftString);
        for (int i = 0; i < 30; ++i) ds->AppendStoreRow({String("row ") + IntToStr(i)});
        source->SetDataSet(ds.get());
        ds->Open();
    }
};

// A list whose own bar stays usable while the list is disabled, as some systems report it.
template <class T>
class TUsableBarList : public T {
public:
    using T::T;
    bool GetControlScrollBarState(int Bar, TWinControl::TScrollBarState& State) override {
        const bool result = T::GetControlScrollBarState(Bar, State);
        State.Enabled = true;
        return result;
    }
};

TEST(SUIDBScrollBars, ADisabledLookupListStillEnablesItsBarAndAPlainListDoesNot) {
    TManyRows rows;
    TForm form(nullptr);
    form.SetBounds(0, 0, 400, 300);
    auto* lookup = new TUsableBarList<TsuiDBLookupListBox>(&form);
    lookup->SetParent(&form);
    lookup->SetBounds(10, 10, 150, 100);
    lookup->SetListSource(rows.source.get());
    lookup->SetKeyField("code");
    auto* list = new TUsableBarList<TsuiDBListBox>(&form);
    list->SetParent(&form);
    list->SetBounds(200, 10, 150, 100);
    for (int i = 0; i < 30; ++i) list->GetItems()->Add(IntToStr(i));
    form.Show();
    auto* lookupBar = new TsuiScrollBar(&form);
    lookupBar->SetParent(&form);
    auto* listBar = new TsuiScrollBar(&form);
    listBar->SetParent(&form);
    lookup->SetVScrollBar(lookupBar);
    list->SetVScrollBar(listBar);
    ASSERT_TRUE(lookupBar->GetEnabled() && lookupBar->GetVisible());
    ASSERT_TRUE(listBar->GetEnabled() && listBar->GetVisible());
    EXPECT_EQ(lookupBar->GetLeft(), 10 + 150 - lookupBar->GetWidth() - 2);
    lookup->SetEnabled(false);
    list->SetEnabled(false);
    EXPECT_TRUE(lookupBar->GetEnabled());
    EXPECT_TRUE(lookupBar->GetVisible());
    EXPECT_FALSE(listBar->GetEnabled());
    EXPECT_TRUE(listBar->GetVisible());
}

TEST(SUIDBScrollBars, TheGridsBarIsPlacedAfterItsUpdateOnePixelIn) {
    TManyRows rows;
    TForm form(nullptr);
    form.SetBounds(0, 0, 400, 300);
    auto* grid = new TsuiDBGrid(&form);
    grid->SetParent(&form);
    grid->SetBounds(10, 10, 200, 120);
    grid->SetDataSource(rows.source.get());
    form.Show();
    auto* bar = new TsuiScrollBar(&form);
    bar->SetParent(&form);
    grid->SetVScrollBar(bar);
    EXPECT_TRUE(bar->GetVisible());
    EXPECT_EQ(bar->GetLeft(), 10 + 200 - bar->GetWidth() - 1);
    EXPECT_EQ(bar->GetTop(), 11);
    EXPECT_EQ(bar->GetHeight(), 118);
    rows.ds->Last();
    EXPECT_EQ(grid->GetRow(), 30);
    grid->Perform(WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(bar->GetPosition(), grid->GetTopRow() - grid->GetFixedRows());
}

TEST(SUIDBTwins, TheLookupComboPaintsItsButtonAndBorder) {
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 100);
    auto* lookup = new TsuiDBLookupComboBox(&form);
    lookup->SetParent(&form);
    lookup->SetBounds(10, 10, 150, 22);
    lookup->SetUIStyle(DeepBlue);
    form.Show();
    const int buttonX = lookup->GetClientWidth() - GetSystemMetrics(SM_CXVSCROLL) + 3;
    EXPECT_EQ(PixelAt(lookup, buttonX, 3), static_cast<TColor>(ColorToRGB(lookup->GetButtonColor())));
    EXPECT_EQ(PixelAt(lookup, 40, 0), static_cast<TColor>(ColorToRGB(lookup->GetBorderColor())));
}

}  // namespace
