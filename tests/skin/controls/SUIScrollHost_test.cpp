// The shared design of the scrolling skinned controls, on a minimal scrolling control that
// answers the two scroll virtuals from fields the tests set.
#include "skin/controls/SUIScrollHost.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "platform/vcl/Forms.h"
#include "skin/controls/SUIControlLook.h"
#include "skin/core/SUIMgr.h"
#include "tests/skin/controls/ThemeFixture.h"
#include "tests/support/TestHelpers.h"

using namespace testing_vcl;

namespace {

// A control with its own bars whose state the test writes; it scrolls to the thumb position of
// WM_VSCROLL/WM_HSCROLL, snapped to Snap, and embeds the host as a skinned family does.
class TScrollProbe : public TCustomControl, public IsuiStyled, public IsuiScrollBarInfoSource {
public:
    TScrollProbe(TComponent* AOwner, TsuiScrollHostKind Kind) : TCustomControl(AOwner), m_bars(this, Kind) {
        ControlStyle().Include(csOpaque);
        m_bars.OnInnerScrollBars = [this](bool V, bool H) {
            innerV = V;
            innerH = H;
        };
        for (auto* s : {&v, &h}) {
            s->nMin = 0;
            s->nMax = 199;
            s->nPage = 20;
        }
        for (auto* s : {&vState, &hState}) {
            s->Visible = true;
            s->Enabled = true;
            s->ThumbStart = 10;
            s->ThumbEnd = 40;
        }
        SetUIStyle(GetSUIFormStyle(AOwner));
    }

    TsuiUIStyle GetUIStyle() const override { return m_style.GetUIStyle(); }
    void SetUIStyle(TsuiUIStyle Value) override {
        m_style.StoreUIStyle(Value);
        borderColor = SUIControlColors(m_style.Values()).BorderColor;
        m_bars.SetBarsUIStyle(m_style.Values().Effective());
        Invalidate();
    }
    TsuiFileTheme* GetFileTheme() const override { return m_style.GetFileTheme(); }
    void SetFileTheme(TsuiFileTheme* Value) override {
        m_style.StoreFileTheme(Value);
        m_bars.SetBarsFileTheme(Value);
        SetUIStyle(GetUIStyle());
    }

    bool GetControlScrollInfo(int Bar, SCROLLINFO& Info) override {
        if (!readable) return false;
        Info = Bar == SB_VERT ? v : h;
        return true;
    }
    bool GetControlScrollBarState(int Bar, TScrollBarState& State) override {
        if (!readable) return false;
        State = Bar == SB_VERT ? vState : hState;
        return true;
    }
    bool GetSystemScrollBarInfo(LONG Id, SCROLLBARINFO& Info) override { return m_bars.SystemScrollBarInfo(Id, Info); }

    TsuiScrollHost& Bars() { return m_bars; }

    SCROLLINFO v, h;
    TScrollBarState vState, hState;
    bool readable = true;
    bool innerV = false, innerH = false;
    int snap = 1;
    int scrolls = 0;
    bool lParamAgrees = true;
    TColor borderColor = clBlack;

protected:
    void Notification(TComponent* C, TOperation Op) override {
        TCustomControl::Notification(C, Op);
        m_bars.Notification(C, Op);
        if (m_style.ThemeRemoved(C, Op)) SetUIStyle(DeepBlue);
    }
    void BoundsChanged() override {
        TCustomControl::BoundsChanged();
        m_bars.UpdateScrollBarsPos();
    }
    void Paint() override {
        Canvas()->GetBrush()->SetColor(GetColor());
        Canvas()->FillRect(GetClientRect());
    }
    void Dispatch(TMessage& M) override {
        if ((M.Msg == WM_VSCROLL || M.Msg == WM_HSCROLL) && LOWORD(static_cast<DWORD>(M.WParam)) == SB_THUMBPOSITION) {
            ++scrolls;
            SCROLLINFO& s = M.Msg == WM_VSCROLL ? v : h;
            s.nPos = ScrollWParamPos(M.WParam) / snap * snap;
            lParamAgrees = lParamAgrees && static_cast<int>(M.LParam) == ScrollWParamPos(M.WParam);
        }
        TCustomControl::Dispatch(M);
        SUIDrawBorderAfterPaint(this, M, borderColor, true);
        m_bars.AfterMessage(M);
    }

private:
    TsuiStyleLink m_style{this};
    TsuiScrollHost m_bars;
};

TEST(SUIPlaceScrollBarsTable, BarsLieOverTheControlsEdges) {
    const TRect c = Bounds(10, 20, 200, 100);
    const TSize hs{0, 16}, vs{16, 0};
    struct Case {
        TsuiScrollHostKind kind;
        bool hasH, hasV;
        TRect h, v;
    } cases[] = {
        {TsuiScrollHostKind::Memo, true, true, Bounds(11, 102, 183, 16), Bounds(192, 21, 16, 82)},
        {TsuiScrollHostKind::Memo, false, true, {}, Bounds(192, 21, 16, 98)},
        {TsuiScrollHostKind::Memo, true, false, Bounds(11, 102, 199, 16), {}},
        {TsuiScrollHostKind::Grid, true, true, Bounds(11, 103, 183, 16), Bounds(193, 21, 16, 83)},
        {TsuiScrollHostKind::Grid, false, true, {}, Bounds(193, 21, 16, 99)},
        {TsuiScrollHostKind::ListBox, false, true, {}, Bounds(192, 21, 16, 98)},
    };
    for (const Case& k : cases) {
        TsuiScrollBarsPlacement p = SUIPlaceScrollBars(k.kind, c, k.hasH, hs, k.hasV, vs);
        if (k.hasH) EXPECT_EQ(p.HBar, k.h) << static_cast<int>(k.kind);
        if (k.hasV) EXPECT_EQ(p.VBar, k.v) << static_cast<int>(k.kind);
    }
    // A bar thicker than the control is hidden (memo, grid); a list box's moves to the left edge.
    TsuiScrollBarsPlacement thin = SUIPlaceScrollBars(TsuiScrollHostKind::Memo, Bounds(0, 0, 10, 10), true, {0, 16}, true, {16, 0});
    EXPECT_FALSE(thin.HVisible);
    EXPECT_FALSE(thin.VVisible);
    TsuiScrollBarsPlacement list = SUIPlaceScrollBars(TsuiScrollHostKind::ListBox, Bounds(5, 0, 10, 50), false, {}, true, {16, 0});
    EXPECT_EQ(list.VBar.Left, 5);
}

TEST(SUIControlColorsTable, EachLookGivesTheFamilyKeys) {
    for (TsuiUIStyle look : {MacOS, WinXP, DeepBlue, Protein, BlueGlass}) {
        TsuiControlColors c = SUIControlColors(TsuiThemeValues(nullptr, look));
        EXPECT_EQ(c.BorderColor, GetInsideThemeColor(look, SUI_THEME_CONTROL_BORDER_COLOR)) << look;
        EXPECT_EQ(c.ButtonColor, GetInsideThemeColor(look, SUI_THEME_FORM_BACKGROUND_COLOR)) << look;
        EXPECT_EQ(c.ArrowColor, clBlack) << look;
        EXPECT_EQ(c.FixedColor, GetInsideThemeColor(look, SUI_THEME_MENU_SELECTED_BACKGROUND_COLOR)) << look;
        EXPECT_EQ(c.Color, GetInsideThemeColor(look, SUI_THEME_CONTROL_BACKGROUND_COLOR)) << look;
        EXPECT_EQ(c.FixedFontColor, GetInsideThemeColor(look, SUI_THEME_MENU_SELECTED_FONT_COLOR)) << look;
        TColor menuFont = GetInsideThemeColor(look, SUI_THEME_MENU_FONT_COLOR);
        EXPECT_EQ(c.FontColor, menuFont == clWhite ? clBlack : menuFont) << look;
    }
}

TEST(SUIControlColorsTable, WhiteMenuFontBecomesBlackAndFromThemeFileWithoutThemeIsDeepBlue) {
    TForm form(nullptr);
    skin_controls_test::ThemeFolder themes;
    TsuiFileTheme* theme = themes.NewTheme(&form, {{SUI_THEME_MENU_FONT_COLOR, clWhite}, {SUI_THEME_CONTROL_BORDER_COLOR, 0x102030}});
    TsuiControlColors fromFile = SUIControlColors(TsuiThemeValues(theme, FromThemeFile));
    EXPECT_EQ(fromFile.FontColor, clBlack);
    EXPECT_EQ(fromFile.BorderColor, 0x102030);
    TsuiControlColors none = SUIControlColors(TsuiThemeValues(nullptr, FromThemeFile));
    EXPECT_EQ(none.BorderColor, GetInsideThemeColor(DeepBlue, SUI_THEME_CONTROL_BORDER_COLOR));
}

class ScrollHostTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<TForm>(nullptr);
        form->SetBorderStyle(bsNone);
        form->SetBounds(40, 40, 400, 300);
        form->Show();
    }
    TScrollProbe* NewProbe(TsuiScrollHostKind Kind = TsuiScrollHostKind::Memo) {
        auto* p = new TScrollProbe(form.get(), Kind);
        p->SetParent(form.get());
        p->SetBounds(20, 20, 200, 150);
        p->SetColor(clWhite);
        return p;
    }
    TsuiScrollBar* NewBar(TComponent* Owner = nullptr) {
        auto* b = new TsuiScrollBar(Owner ? Owner : form.get());
        b->SetParent(form.get());
        b->SetBounds(300, 10, 16, 120);
        return b;
    }
    std::unique_ptr<TForm> form;
};

TEST_F(ScrollHostTest, BorderPaintedAfterEachPaint) {
    TScrollProbe* p = NewProbe();
    p->borderColor = 0x0000FF;
    p->Invalidate();
    EXPECT_EQ(PixelAt(p, 0, 0), 0x0000FF);
    EXPECT_EQ(PixelAt(p, 199, 149), 0x0000FF);
    EXPECT_EQ(PixelAt(p, 1, 1), clWhite) << "the inner frame in the control's colour";
}

TEST_F(ScrollHostTest, AttachingMirrorsTheControlsBar) {
    TScrollProbe* p = NewProbe();
    p->v.nPos = 60;
    TsuiScrollBar* bar = NewBar();
    p->Bars().SetVScrollBar(bar);
    EXPECT_EQ(bar->GetOrientation(), suiVertical);
    EXPECT_TRUE(p->innerV);
    EXPECT_FALSE(p->innerH);
    EXPECT_EQ(bar->GetMax(), 199 - 20 + 1);
    EXPECT_EQ(bar->GetMin(), 0);
    EXPECT_EQ(bar->GetPosition(), 60);
    EXPECT_EQ(bar->GetLineButton(), 30) << "the native thumb's length";
    EXPECT_TRUE(bar->GetEnabled());
    EXPECT_TRUE(bar->GetSliderVisible());
    EXPECT_TRUE(bar->GetVisible());
    EXPECT_EQ(bar->GetLeft(), 20 + 200 - bar->GetWidth() - 2);
    EXPECT_EQ(bar->GetTop(), 21);
    EXPECT_EQ(bar->GetHeight(), 148);
    EXPECT_FALSE(p->Bars().IsUpdating());
}

TEST_F(ScrollHostTest, SameBarTwiceChangesNothingAndReplacingReleasesTheOld) {
    TScrollProbe* p = NewProbe();
    TsuiScrollBar* first = NewBar();
    p->Bars().SetVScrollBar(first);
    first->SetMax(500);
    p->Bars().SetVScrollBar(first);
    EXPECT_EQ(first->GetMax(), 500) << "nothing re-read";
    p->v.nMax = 99;
    p->Bars().SetVScrollBar(first);
    EXPECT_EQ(first->GetMax(), 500);

    p->vState.Enabled = false;
    p->Bars().UpdateScrollBars();
    ASSERT_FALSE(first->GetEnabled());
    TsuiScrollBar* second = NewBar();
    p->Bars().SetVScrollBar(second);
    EXPECT_EQ(p->Bars().GetVScrollBar(), second);
    EXPECT_EQ(first->GetMax(), 100);
    EXPECT_EQ(first->GetLineButton(), 0);
    EXPECT_TRUE(first->GetEnabled());
    EXPECT_FALSE(first->GetOnChange());
    first->SetPosition(40);
    EXPECT_EQ(p->scrolls, 0) << "the released bar no longer scrolls the control";
}

TEST_F(ScrollHostTest, InnerBarsFollowTheAssignedOnes) {
    TScrollProbe* p = NewProbe();
    TsuiScrollBar* v = NewBar();
    TsuiScrollBar* h = NewBar();
    struct Step {
        TsuiScrollBar* vBar;
        TsuiScrollBar* hBar;
        bool innerV, innerH;
    } steps[] = {{v, nullptr, true, false}, {v, h, true, true}, {nullptr, h, false, true}, {nullptr, nullptr, false, false}};
    for (const Step& s : steps) {
        p->Bars().SetVScrollBar(s.vBar);
        p->Bars().SetHScrollBar(s.hBar);
        EXPECT_EQ(p->innerV, s.innerV);
        EXPECT_EQ(p->innerH, s.innerH);
    }
    p->Bars().SetVScrollBar(v);
    delete v;
    EXPECT_EQ(p->Bars().GetVScrollBar(), nullptr);
    EXPECT_FALSE(p->innerV) << "removing the bar from the form: no inner bars";
}

TEST_F(ScrollHostTest, BarFreedFromAnotherFormNeverDangles) {
    TScrollProbe* p = NewProbe();
    auto other = std::make_unique<TForm>(nullptr);
    auto* bar = new TsuiScrollBar(other.get());
    bar->SetParent(form.get());
    p->Bars().SetVScrollBar(bar);
    other.reset();
    EXPECT_EQ(p->Bars().GetVScrollBar(), nullptr);
    EXPECT_FALSE(p->innerV);
    p->v.nPos = 10;
    p->Perform(WM_KEYDOWN, VK_DOWN, 0);  // would reach the freed bar
    p->SetBounds(10, 10, 150, 150);
}

TEST_F(ScrollHostTest, ControlFreedFirstLeavesTheBarsWithoutItsHandler) {
    TScrollProbe* p = NewProbe();
    TsuiScrollBar* bar = NewBar();
    p->Bars().SetVScrollBar(bar);
    delete p;
    EXPECT_FALSE(bar->GetOnChange());
    bar->SetPosition(30);
}

TEST_F(ScrollHostTest, MovingTheBarScrollsTheControlWithoutWritingBack) {
    TScrollProbe* p = NewProbe();
    p->snap = 10;
    TsuiScrollBar* bar = NewBar();
    p->Bars().SetVScrollBar(bar);
    bar->SetPosition(37);
    EXPECT_EQ(p->scrolls, 1);
    EXPECT_EQ(p->v.nPos, 30) << "the control scrolled (to its own step)";
    EXPECT_EQ(bar->GetPosition(), 37) << "no write-back into the bar during that scroll";
    EXPECT_FALSE(p->Bars().IsFromBar());
    // The next resynchronising message brings the bar to the control's position.
    p->Perform(WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(bar->GetPosition(), 30);
}

TEST_F(ScrollHostTest, ThumbPositionCarriesAll32Bits) {
    TScrollProbe* p = NewProbe();
    p->v.nMax = 2000000;
    p->v.nPage = 1;
    p->h.nMin = INT_MIN;
    p->h.nMax = INT_MAX;
    p->h.nPage = 1;
    TsuiScrollBar* v = NewBar();
    TsuiScrollBar* h = NewBar();
    p->Bars().SetVScrollBar(v);
    p->Bars().SetHScrollBar(h);
    for (int pos : {65535, 65536, 70000, 1999999}) {
        v->SetPosition(pos);
        EXPECT_EQ(p->v.nPos, pos);
    }
    for (int pos : {-1, INT_MIN, INT_MAX, -70000}) {
        h->SetPosition(pos);
        EXPECT_EQ(p->h.nPos, pos);
    }
    EXPECT_TRUE(p->lParamAgrees) << "LParam carries the same whole position";
    EXPECT_EQ(HIWORD(static_cast<DWORD>(MakeScrollWParam(SB_THUMBPOSITION, 70000))), 70000 & 0xFFFF);
}

TEST_F(ScrollHostTest, NativeBarStatesDecideTheExternalBar) {
    TScrollProbe* p = NewProbe();
    TsuiScrollBar* h = NewBar();
    p->Bars().SetHScrollBar(h);
    h->SetPageSize(7);
    p->Bars().UpdateScrollBars();
    EXPECT_EQ(h->GetSmallChange(), 21) << "three pages of the horizontal bar";
    struct Case {
        bool visible, enabled, controlEnabled;
        bool barEnabled, sliderVisible;
        int lineButton;
    } cases[] = {
        {true, true, true, true, true, 30},
        {false, true, true, false, false, 0},
        {true, false, true, false, false, 0},
        {true, true, false, false, false, 0},
    };
    for (const Case& c : cases) {
        p->hState.Visible = c.visible;
        p->hState.Enabled = c.enabled;
        p->SetEnabled(c.controlEnabled);  // CM_ENABLEDCHANGED resynchronises
        p->Bars().UpdateScrollBars();
        EXPECT_EQ(h->GetEnabled(), c.barEnabled) << c.visible << c.enabled << c.controlEnabled;
        EXPECT_EQ(h->GetSliderVisible(), c.sliderVisible) << c.visible << c.enabled << c.controlEnabled;
        EXPECT_EQ(h->GetLineButton(), c.lineButton) << c.visible << c.enabled << c.controlEnabled;
        EXPECT_TRUE(h->GetVisible());
    }
    p->readable = false;
    p->Bars().UpdateScrollBars();
    EXPECT_FALSE(h->GetVisible()) << "a bar whose state cannot be read is hidden";
}

TEST_F(ScrollHostTest, ListBoxRules) {
    TScrollProbe* p = NewProbe(TsuiScrollHostKind::ListBox);
    TsuiScrollBar* v = NewBar();
    TsuiScrollBar* h = NewBar();
    p->Bars().SetVScrollBar(v);
    p->Bars().SetHScrollBar(h);
    EXPECT_EQ(p->Bars().GetHScrollBar(), nullptr) << "a list box takes no horizontal bar";
    EXPECT_FALSE(p->innerV) << "a list box keeps its own bar setting";
    EXPECT_TRUE(v->GetVisible());
    EXPECT_EQ(v->GetLineButton(), 30);
    p->SetEnabled(false);
    EXPECT_FALSE(v->GetEnabled());
    EXPECT_EQ(v->GetLineButton(), 30) << "only the bar is disabled";
    p->SetEnabled(true);
    p->vState.Visible = false;
    p->Perform(0x0180 /* LB_ADDSTRING */, 0, 0);
    EXPECT_FALSE(v->GetVisible());
    EXPECT_FALSE(v->GetEnabled());
    EXPECT_EQ(v->GetLineButton(), 0);
    p->vState.Visible = true;
    v->SetPosition(50);
    EXPECT_EQ(p->v.nPos, 50);
    EXPECT_TRUE(v->GetVisible()) << "the change handler resynchronises at once";
}

TEST_F(ScrollHostTest, ResynchronisingMessages) {
    struct Case {
        TsuiScrollHostKind kind;
        UINT msg;
        bool resyncs;
    } cases[] = {
        {TsuiScrollHostKind::Memo, WM_KEYDOWN, true},     {TsuiScrollHostKind::Memo, WM_MOUSEWHEEL, true},
        {TsuiScrollHostKind::Memo, WM_VSCROLL, true},     {TsuiScrollHostKind::Memo, WM_CUT, true},
        {TsuiScrollHostKind::Memo, WM_PASTE, true},       {TsuiScrollHostKind::Memo, 0x0303, true},
        {TsuiScrollHostKind::Memo, 0x0304, true},         {TsuiScrollHostKind::Memo, WM_SETTEXT, true},
        {TsuiScrollHostKind::Memo, 0x0180, false},        {TsuiScrollHostKind::Memo, WM_MOUSEMOVE, false},
        {TsuiScrollHostKind::Memo, WM_KEYUP, false},      {TsuiScrollHostKind::Grid, WM_HSCROLL, true},
        {TsuiScrollHostKind::ListBox, 0x0180, true},      {TsuiScrollHostKind::ListBox, 0x0181, true},
        {TsuiScrollHostKind::ListBox, 0x0182, true},      {TsuiScrollHostKind::ListBox, 0x01A7, true},
        {TsuiScrollHostKind::ListBox, 0x002D, true},      {TsuiScrollHostKind::ListBox, WM_CUT, false},
    };
    for (const Case& c : cases) {
        TScrollProbe* p = NewProbe(c.kind);
        TsuiScrollBar* v = NewBar();
        p->Bars().SetVScrollBar(v);
        p->v.nPos = 77;
        p->Perform(c.msg, c.msg == WM_VSCROLL || c.msg == WM_HSCROLL ? SB_LINEDOWN : 0, 0);
        EXPECT_EQ(v->GetPosition() == 77, c.resyncs) << static_cast<int>(c.kind) << " message 0x" << std::hex << c.msg;
        delete p;
        delete v;
    }
}

TEST_F(ScrollHostTest, MouseMoveResynchronisesOnlyWhileTheButtonIsDown) {
    TScrollProbe* p = NewProbe();
    TsuiScrollBar* v = NewBar();
    p->Bars().SetVScrollBar(v);
    p->v.nPos = 5;
    p->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_TRUE(p->Bars().IsMouseDown());
    p->v.nPos = 15;
    p->Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(6, 6));
    EXPECT_EQ(v->GetPosition(), 15);
    p->Perform(WM_LBUTTONUP, 0, MAKELPARAM(6, 6));
    EXPECT_FALSE(p->Bars().IsMouseDown());
    p->v.nPos = 25;
    p->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(7, 7));
    EXPECT_EQ(v->GetPosition(), 15);
}

TEST_F(ScrollHostTest, BarsFollowTheControlsPlaceAndVisibility) {
    TScrollProbe* p = NewProbe(TsuiScrollHostKind::Grid);
    TsuiScrollBar* v = NewBar();
    TsuiScrollBar* h = NewBar();
    p->Bars().SetVScrollBar(v);
    p->Bars().SetHScrollBar(h);
    p->SetBounds(50, 40, 220, 160);
    TsuiScrollBarsPlacement want = SUIPlaceScrollBars(TsuiScrollHostKind::Grid, p->GetBoundsRect(), true,
                                                      {h->GetWidth(), h->GetHeight()}, true, {v->GetWidth(), v->GetHeight()});
    EXPECT_EQ(v->GetBoundsRect(), want.VBar);
    EXPECT_EQ(h->GetBoundsRect(), want.HBar);
    p->SetVisible(false);
    EXPECT_FALSE(v->GetVisible());
    EXPECT_FALSE(h->GetVisible());
    p->SetVisible(true);
    EXPECT_TRUE(v->GetVisible());
    EXPECT_TRUE(h->GetVisible());
}

TEST_F(ScrollHostTest, LookAndThemeReachTheBars) {
    TScrollProbe* p = NewProbe();
    TsuiScrollBar* v = NewBar();
    p->Bars().SetVScrollBar(v);
    p->SetUIStyle(WinXP);
    EXPECT_EQ(v->GetUIStyle(), WinXP);
    skin_controls_test::ThemeFolder themes;
    TsuiFileTheme* theme = themes.NewTheme(form.get(), {{SUI_THEME_SCROLLBAR_BACKGROUND_COLOR, 0x00AA00}});
    p->SetUIStyle(FromThemeFile);
    p->SetFileTheme(theme);
    EXPECT_EQ(v->GetFileTheme(), theme);
    EXPECT_EQ(v->GetColor(), 0x00AA00);
    p->SetFileTheme(nullptr);
    EXPECT_EQ(p->GetUIStyle(), FromThemeFile) << "the look keeps its value";
    EXPECT_EQ(p->borderColor, GetInsideThemeColor(DeepBlue, SUI_THEME_CONTROL_BORDER_COLOR));
    EXPECT_EQ(v->GetUIStyle(), DeepBlue) << "the bars get the effective look";
}

}  // namespace
