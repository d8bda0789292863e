#include "skin/core/Suipublic.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"
#include "skin/core/SUIMgr.h"

namespace {

// A colour that names its pixel: red = x, green = y, blue = 0x40 (never clFuchsia or white).
TColor At(int x, int y) { return static_cast<TColor>(RGB(x, y, 0x40)); }

std::unique_ptr<TBitmap> Coded(int w, int h) {
    auto b = std::make_unique<TBitmap>(w, h, pf24bit);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b->GetCanvas()->SetPixels(x, y, At(x, y));
    return b;
}

std::unique_ptr<TBitmap> Filled(int w, int h, TColor c) {
    auto b = std::make_unique<TBitmap>(w, h, pf24bit);
    b->GetCanvas()->GetBrush()->SetColor(c);
    b->GetCanvas()->FillRect(Rect(0, 0, w, h));
    return b;
}

TColor Pixel(const TBitmap& b, int x, int y) { return static_cast<TColor>(b.GetPixelColor(x, y)); }

constexpr TColor A = clRed, B = clBlue;

// ---- rotations ----

TEST(SuipublicRotation, TwoPixelCasesFromTheDesign) {
    struct Case {
        void (*rotate)(TBitmap*);
        int w, h;
        TColor first, second;  // top-left, then the next pixel along the longer side
    } cases[] = {
        {RoundPicture, 1, 2, B, A},
        {RoundPicture3, 1, 2, A, B},
        {RoundPicture2, 2, 1, B, A},
    };
    for (const Case& c : cases) {
        TBitmap b(2, 1, pf24bit);
        b.GetCanvas()->SetPixels(0, 0, A);
        b.GetCanvas()->SetPixels(1, 0, B);
        c.rotate(&b);
        ASSERT_EQ(b.GetWidth(), c.w);
        ASSERT_EQ(b.GetHeight(), c.h);
        EXPECT_EQ(Pixel(b, 0, 0), c.first);
        EXPECT_EQ(Pixel(b, c.w - 1, c.h - 1), c.second);
    }
}

TEST(SuipublicRotation, EveryPixelMovesWhereTheTurnPutsIt) {
    const int W = 3, H = 2;
    auto b = Coded(W, H);
    RoundPicture(b.get());
    ASSERT_EQ(b->GetWidth(), H);
    ASSERT_EQ(b->GetHeight(), W);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) EXPECT_EQ(Pixel(*b, y, W - 1 - x), At(x, y));

    b = Coded(W, H);
    RoundPicture3(b.get());
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) EXPECT_EQ(Pixel(*b, H - 1 - y, x), At(x, y));

    b = Coded(W, H);
    RoundPicture2(b.get());
    ASSERT_EQ(b->GetWidth(), W);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) EXPECT_EQ(Pixel(*b, W - 1 - x, H - 1 - y), At(x, y));
}

TEST(SuipublicRotation, KeepsTheBitmapsTransparency) {
    auto b = Coded(2, 3);
    b->SetTransparent(true);
    b->SetTransparentColor(clFuchsia);
    RoundPicture(b.get());
    EXPECT_TRUE(b->GetTransparent());
    EXPECT_EQ(b->GetTransparentColor(), clFuchsia);
}

// ---- SpitBitmap ----

TEST(SuipublicSpitBitmap, MiddleFrameOfThree) {
    auto src = Coded(54, 21);
    TBitmap target;
    SpitBitmap(src.get(), &target, 3, 2);
    ASSERT_EQ(target.GetWidth(), 18);
    ASSERT_EQ(target.GetHeight(), 21);
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 18; ++x) ASSERT_EQ(Pixel(target, x, y), At(18 + x, y)) << x << "," << y;
}

TEST(SuipublicSpitBitmap, SourceMayBeTheTarget) {
    auto b = Coded(12, 2);
    SpitBitmap(b.get(), b.get(), 4, 4);
    ASSERT_EQ(b->GetWidth(), 3);
    EXPECT_EQ(Pixel(*b, 0, 1), At(9, 1));
    EXPECT_EQ(Pixel(*b, 2, 0), At(11, 0));
}

TEST(SuipublicSpitBitmap, BadCountOrIndexEmptiesTheTarget) {
    auto src = Coded(6, 2);
    for (auto [count, index] : {std::pair{0, 1}, {3, 0}, {3, 4}, {-1, 1}}) {
        auto target = Coded(4, 4);
        SpitBitmap(src.get(), target.get(), count, index);
        EXPECT_TRUE(target->GetEmpty()) << count << "/" << index;
    }
}

// ---- SpitDraw ----

TEST(SuipublicSpitDraw, SameSizeKeepsCornersAndFillsTheSeams) {
    auto src = Coded(74, 21);
    auto out = Filled(74, 21, clWhite);
    SpitDraw(src.get(), out->GetCanvas(), Rect(0, 0, 74, 21), false);
    auto same = [&](int dx, int dy, int sx, int sy) { EXPECT_EQ(Pixel(*out, dx, dy), At(sx, sy)) << dx << "," << dy; };
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 37; ++x) same(x, y, x, y);       // top-left 37 x 10
    for (int y = 12; y < 21; ++y)
        for (int x = 0; x < 36; ++x) same(x, y, x, y);       // bottom-left 37 x 9, source rows from 12
    for (int y = 0; y < 10; ++y)
        for (int x = 38; x < 74; ++x) same(x, y, x, y);      // top-right 36 x 10, source columns from 38
    for (int y = 12; y < 21; ++y)
        for (int x = 38; x < 74; ++x) same(x, y, x, y);      // bottom-right 36 x 9
    for (int x = 0; x < 37; ++x) same(x, 10, x, 10);  // the left edge: rows 10 and 11 from source row 10
    for (int x = 0; x < 36; ++x) same(x, 11, x, 10);
    // The bottom edge, drawn last, starts one column and one row early (at 36, 11) and
    // stretches source column 37 over columns 36 and 37.
    for (int y = 11; y < 21; ++y) {
        same(36, y, 37, y);
        same(37, y, 37, y);
    }
    for (int y = 0; y < 10; ++y) same(37, y, 37, y);  // the top edge: column 37 from source column 37
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 74; ++x) ASSERT_NE(Pixel(*out, x, y), clWhite) << x << "," << y;
}

TEST(SuipublicSpitDraw, EvenHeightSourceStillDrawsEveryPiece) {
    auto src = Coded(10, 20);
    auto out = Filled(10, 20, clWhite);
    SpitDraw(src.get(), out->GetCanvas(), Rect(0, 0, 10, 20), false);
    // The left edge's one row (column 4 is covered by the bottom edge, drawn last).
    for (int x = 0; x < 4; ++x) EXPECT_EQ(Pixel(*out, x, 10), At(x, 10)) << x;
    EXPECT_EQ(Pixel(*out, 5, 10), At(5, 10)) << "the bottom edge starts at source row 10";
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 10; ++x) ASSERT_NE(Pixel(*out, x, y), clWhite) << x << "," << y;
}

TEST(SuipublicSpitDraw, StretchesToALargerRectangle) {
    auto src = Coded(8, 8);
    auto out = Filled(30, 16, clWhite);
    SpitDraw(src.get(), out->GetCanvas(), Rect(0, 0, 30, 16), false);
    EXPECT_EQ(Pixel(*out, 0, 0), At(0, 0));
    EXPECT_EQ(Pixel(*out, 29, 0), At(7, 0));
    EXPECT_EQ(Pixel(*out, 0, 15), At(0, 7));
    EXPECT_EQ(Pixel(*out, 29, 15), At(7, 7));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 30; ++x) ASSERT_NE(Pixel(*out, x, y), clWhite) << x << "," << y;
}

TEST(SuipublicSpitDraw, TransparentFlagMasksFuchsiaCorners) {
    for (bool transparent : {false, true}) {
        auto src = Filled(8, 8, clFuchsia);
        auto out = Filled(8, 8, clWhite);
        SpitDraw(src.get(), out->GetCanvas(), Rect(0, 0, 8, 8), transparent);
        EXPECT_EQ(Pixel(*out, 0, 0), transparent ? clWhite : clFuchsia);
        EXPECT_EQ(Pixel(*out, 7, 7), transparent ? clWhite : clFuchsia);
        EXPECT_EQ(Pixel(*out, 4, 0), clWhite) << "edges are always masked";
    }
}

// ---- SpitDrawHorizontal and TileDraw ----

TEST(SuipublicSpitDrawHorizontal, ThreeSlices) {
    TBitmap src(9, 2, pf24bit);
    TCanvas* c = src.GetCanvas();
    c->GetBrush()->SetColor(clRed);
    c->FillRect(Rect(0, 0, 3, 2));
    c->GetBrush()->SetColor(clLime);
    c->FillRect(Rect(3, 0, 6, 2));
    c->GetBrush()->SetColor(clBlue);
    c->FillRect(Rect(6, 0, 9, 2));
    c->SetPixels(0, 0, clYellow);  // the key colour with mask-from-top and corner colour
    auto out = Filled(14, 2, clWhite);
    SpitDrawHorizontal(&src, out->GetCanvas(), Rect(1, 0, 13, 2), true, true);
    EXPECT_EQ(Pixel(*out, 0, 0), clWhite);
    EXPECT_EQ(Pixel(*out, 1, 0), clWhite) << "the key pixel is see-through";
    EXPECT_EQ(Pixel(*out, 1, 1), clRed);
    EXPECT_EQ(Pixel(*out, 3, 1), clRed);
    for (int x = 4; x < 10; ++x) EXPECT_EQ(Pixel(*out, x, 1), clLime) << x;
    for (int x = 10; x < 13; ++x) EXPECT_EQ(Pixel(*out, x, 1), clBlue) << x;
    EXPECT_EQ(Pixel(*out, 13, 1), clWhite);
}

TEST(SuipublicTileDraw, TilesFromTheOriginPastTheRectangle) {
    TPicture pic;
    auto tile = Coded(2, 2);
    pic.SetBitmap(tile.get());
    auto out = Filled(9, 9, clWhite);
    TileDraw(out->GetCanvas(), &pic, Rect(0, 0, 5, 3));
    EXPECT_EQ(Pixel(*out, 4, 2), At(0, 0));
    EXPECT_EQ(Pixel(*out, 5, 3), At(1, 1));
    // Tiles start while x < w + width: x = 0..6 step 2, y = 0..4 step 2.
    EXPECT_EQ(Pixel(*out, 7, 5), At(1, 1));
    EXPECT_EQ(Pixel(*out, 8, 0), clWhite);
    EXPECT_EQ(Pixel(*out, 0, 6), clWhite);

    TPicture empty;
    auto untouched = Filled(3, 3, clWhite);
    TileDraw(untouched->GetCanvas(), &empty, Rect(0, 0, 3, 3));
    EXPECT_EQ(Pixel(*untouched, 1, 1), clWhite);
}

// ---- regions ----

TEST(SuipublicRegion, RunsOfOpaquePixels) {
    struct Case {
        std::vector<TColor> row;
        std::vector<bool> inside;
    } cases[] = {
        {{clRed, clFuchsia, clRed}, {true, false, true}},
        {{clRed, clRed, clRed}, {true, true, true}},
        {{clFuchsia, clFuchsia, clFuchsia}, {false, false, false}},
        {{clFuchsia, clRed, clRed}, {false, true, true}},
    };
    for (const Case& c : cases) {
        TBitmap b(int(c.row.size()), 1, pf24bit);
        for (size_t x = 0; x < c.row.size(); ++x) b.GetCanvas()->SetPixels(int(x), 0, c.row[x]);
        HRGN r = CreateBitmapRegion(&b, clFuchsia);
        for (size_t x = 0; x < c.inside.size(); ++x) EXPECT_EQ(PtInRegion(r, int(x), 0) != 0, c.inside[x]) << x;
        EXPECT_FALSE(PtInRegion(r, int(c.row.size()), 0));
        EXPECT_FALSE(PtInRegion(r, 0, 1));
        DeleteObject(r);
    }
    TBitmap empty;
    HRGN r = CreateBitmapRegion(&empty, clFuchsia);
    EXPECT_FALSE(PtInRegion(r, 0, 0));
    DeleteObject(r);
}

TEST(SuipublicRegion, SetBitmapWindowOnAFormAndOnAnotherWindow) {
    TForm form(nullptr);
    form.SetBounds(0, 0, 20, 20);
    auto pic = Filled(20, 20, clRed);
    EXPECT_NO_THROW(SetBitmapWindow(form.GetHandle(), pic.get(), clFuchsia));
    TWinControl inner(&form);
    inner.SetParent(&form);
    EXPECT_NO_THROW(SetBitmapWindow(inner.GetHandle(), pic.get(), clFuchsia));
}

// ---- DoTrans ----

class TPatternPanel : public TCustomControl {
public:
    using TCustomControl::TCustomControl;

protected:
    void Paint() override {
        GetCanvas()->GetBrush()->SetColor(clBlue);
        GetCanvas()->FillRect(Rect(10, 10, 20, 20));
    }
};

TEST(SuipublicDoTrans, ShowsTheParentsPixelsBehindTheControl) {
    TForm form(nullptr);
    auto* panel = new TPatternPanel(&form);
    panel->SetParent(&form);
    panel->SetBounds(0, 0, 40, 40);
    panel->SetColor(clRed);
    auto* child = new TWinControl(&form);
    child->SetParent(panel);
    child->SetBounds(8, 8, 10, 10);

    auto out = Filled(10, 10, clWhite);
    DoTrans(out->GetCanvas(), child);
    EXPECT_EQ(Pixel(*out, 0, 0), clRed);    // parent (8, 8): background
    EXPECT_EQ(Pixel(*out, 1, 1), clRed);
    EXPECT_EQ(Pixel(*out, 2, 2), clBlue);   // parent (10, 10): its painting
    EXPECT_EQ(Pixel(*out, 9, 9), clBlue);
    EXPECT_EQ(out->GetCanvas()->GetOrigin(), (TPoint{0, 0})) << "the canvas is restored";

    TWinControl orphan(nullptr);
    auto untouched = Filled(4, 4, clWhite);
    DoTrans(untouched->GetCanvas(), &orphan);
    EXPECT_EQ(Pixel(*untouched, 1, 1), clWhite);
}

// ---- border ----

TEST(SuipublicBorder, OuterAndInnerFrames) {
    TWinControl c(nullptr);
    c.SetBounds(0, 0, 6, 5);
    for (bool inner : {false, true}) {
        auto out = Filled(6, 5, clWhite);
        DrawControlBorder(&c, out->GetCanvas(), clRed, clBlue, inner);
        EXPECT_EQ(Pixel(*out, 0, 0), clRed);
        EXPECT_EQ(Pixel(*out, 5, 4), clRed);
        EXPECT_EQ(Pixel(*out, 1, 1), inner ? clBlue : clWhite);
        EXPECT_EQ(Pixel(*out, 4, 3), inner ? clBlue : clWhite);
        EXPECT_EQ(Pixel(*out, 2, 2), clWhite);
    }
    auto out = Filled(6, 5, clWhite);
    DrawControlBorder(&c, out->GetCanvas(), clBtnShadow, clBtnFace, true);
    EXPECT_EQ(static_cast<COLORREF>(Pixel(*out, 0, 0)), ColorToRGB(clBtnShadow));
}

// ---- geometry ----

TEST(SuipublicGeometry, InRectIncludesAllFourSides) {
    struct Case {
        int x, y;
        bool inside;
    } cases[] = {{10, 10, true}, {0, 0, true}, {5, 10, true}, {11, 5, false}, {-1, 5, false}, {5, 11, false}};
    for (const Case& c : cases) {
        EXPECT_EQ(InRect(c.x, c.y, Rect(0, 0, 10, 10)), c.inside) << c.x << "," << c.y;
        EXPECT_EQ(InRect(Point(c.x, c.y), Rect(0, 0, 10, 10)), c.inside);
    }
}

TEST(SuipublicGeometry, PlaceControl) {
    TWinControl c(nullptr);
    c.SetBounds(1, 2, 3, 4);
    PlaceControl(&c, Point(7, 8));
    EXPECT_EQ(c.GetBoundsRect(), Rect(7, 8, 10, 12));
    PlaceControl(&c, Rect(10, 20, 110, 70));
    EXPECT_EQ(c.GetBoundsRect(), Rect(10, 20, 110, 70));
    EXPECT_EQ(PCharToStr(nullptr), "");
    EXPECT_EQ(PCharToStr("abc"), "abc");
    EXPECT_FALSE(GetWorkAreaRect().IsEmpty());
}

// With a main form the work area is that of the monitor nearest to it (here the only one).
TEST(SuipublicGeometry, WorkAreaOfTheMainFormsMonitor) {
    ASSERT_EQ(Application->GetMainForm(), nullptr);
    EXPECT_EQ(GetWorkAreaRect(), Screen->GetWorkAreaRect());
    TForm* main = nullptr;
    Application->CreateForm(main);
    ASSERT_EQ(Application->GetMainForm(), main);
    main->SetBounds(-3000, 40, 300, 200);
    EXPECT_EQ(GetWorkAreaRect(), Screen->WorkAreaNearest(main->GetBoundsRect()));
    EXPECT_FALSE(GetWorkAreaRect().IsEmpty());
    delete main;
    EXPECT_EQ(Application->GetMainForm(), nullptr);
}

// ---- style pair by name ----

class TStyledControl : public TWinControl, public IsuiStyled {
public:
    using TWinControl::TWinControl;
    TsuiUIStyle GetUIStyle() const override { return m_look; }
    void SetUIStyle(TsuiUIStyle v) override {
        m_look = v;
        order += "S";
    }
    TsuiFileTheme* GetFileTheme() const override { return m_theme; }
    void SetFileTheme(TsuiFileTheme* t) override {
        m_theme = t;
        order += "F";
    }
    String order;

private:
    TsuiUIStyle m_look = DeepBlue;
    TsuiFileTheme* m_theme = nullptr;
};

TEST(SuipublicStyle, PropertyTestsByName) {
    TStyledControl styled(nullptr);
    TWinControl plain(nullptr);
    EXPECT_TRUE(IsHasProperty(&styled, "UIStyle"));
    EXPECT_TRUE(IsHasProperty(&styled, "filetheme"));
    EXPECT_FALSE(IsHasProperty(&styled, "Nothing"));
    EXPECT_FALSE(IsHasProperty(&plain, "UIStyle"));
    EXPECT_FALSE(IsHasProperty(nullptr, "UIStyle"));
}

// Every component that publishes the style pair answers for both names, and only for them.
TEST(SuipublicStyle, TheStylePairOfEveryComponentThatPublishesIt) {
    TForm form(nullptr);
    TsuiThemeManager manager(&form);
    TsuiFileTheme theme(&form);
    TStyledControl styled(nullptr);
    const struct {
        TComponent* component;
        bool publishes;
    } cases[] = {{&manager, true}, {&styled, true}, {&theme, false}, {&form, false}};
    for (const auto& c : cases) {
        for (const char* name : {"UIStyle", "FileTheme", "uistyle"})
            EXPECT_EQ(IsHasProperty(c.component, name), c.publishes) << c.component->ClassName() << " " << name;
        EXPECT_FALSE(IsHasProperty(c.component, "ThemeFile"));
    }
}

TEST(SuipublicStyle, ContainerApplyReachesDirectChildrenOnly) {
    TForm form(nullptr);
    auto* container = new TWinControl(&form);
    container->SetParent(&form);
    auto* child = new TStyledControl(&form);
    child->SetParent(container);
    auto* box = new TWinControl(&form);
    box->SetParent(container);
    auto* grandchild = new TStyledControl(&form);
    grandchild->SetParent(box);

    ContainerApplyUIStyle(container, MacOS, nullptr);
    EXPECT_EQ(child->GetUIStyle(), MacOS);
    EXPECT_EQ(child->order, "FS") << "the theme first, then the look";
    EXPECT_EQ(grandchild->GetUIStyle(), DeepBlue);
    EXPECT_EQ(grandchild->order, "");
}

// ---- "User32.dll" ----

class TBarOwner : public TWinControl, public IsuiScrollBarInfoSource, public IsuiComboBoxInfoSource {
public:
    using TWinControl::TWinControl;
    bool GetSystemScrollBarInfo(LONG ObjectId, SCROLLBARINFO& Info) override {
        if (ObjectId != OBJID_VSCROLL) return false;
        Info.xyThumbTop = 17;
        return true;
    }
    bool GetSystemComboBoxInfo(COMBOBOXINFO& Info) override {
        Info.rcButton = Rect(1, 2, 3, 4);
        return true;
    }
};

TEST(SuipublicUser32, AnswersFromOurControls) {
    TForm form(nullptr);
    auto* owner = new TBarOwner(&form);
    owner->SetParent(&form);
    auto* plain = new TWinControl(&form);
    plain->SetParent(&form);

    SCROLLBARINFO sbi;
    EXPECT_TRUE(SUIGetScrollBarInfo(owner->GetHandle(), OBJID_VSCROLL, &sbi));
    EXPECT_EQ(sbi.xyThumbTop, 17);
    EXPECT_FALSE(SUIGetScrollBarInfo(owner->GetHandle(), OBJID_HSCROLL, &sbi));
    EXPECT_FALSE(SUIGetScrollBarInfo(plain->GetHandle(), OBJID_VSCROLL, &sbi)) << "no scroll-bar state yet";
    EXPECT_FALSE(SUIGetScrollBarInfo(owner->GetHandle(), OBJID_VSCROLL, nullptr));

    COMBOBOXINFO cbi;
    EXPECT_TRUE(SUIGetComboBoxInfo(owner->GetHandle(), &cbi));
    EXPECT_EQ(cbi.rcButton, Rect(1, 2, 3, 4));
    EXPECT_FALSE(SUIGetComboBoxInfo(plain->GetHandle(), &cbi));
}

TEST(SuipublicUser32, AnimateWindowShowsAndHides) {
    TForm form(nullptr);
    form.SetBounds(0, 0, 50, 40);
    HWND h = form.GetHandle();
    EXPECT_FALSE(form.GetVisible());
    EXPECT_FALSE(SUIAnimateWindow(h, 100, AW_SLIDE | AW_HIDE | AW_VER_POSITIVE)) << "already hidden";
    EXPECT_TRUE(SUIAnimateWindow(h, 100, AW_SLIDE | AW_VER_NEGATIVE));
    EXPECT_TRUE(form.GetVisible());
    EXPECT_FALSE(SUIAnimateWindow(h, 100, AW_SLIDE | AW_VER_NEGATIVE)) << "already shown";
    EXPECT_TRUE(SUIAnimateWindow(h, 100, AW_SLIDE | AW_HIDE | AW_VER_POSITIVE));
    EXPECT_FALSE(form.GetVisible());
    EXPECT_FALSE(SUIAnimateWindow(nullptr, 100, 0));
}

BOOL StandInComboInfo(HWND, COMBOBOXINFO*) { return TRUE; }

TEST(SuipublicUser32, AMissingFunctionMakesBothInfoBindingsUnavailable) {
    SUIResetSystemBindings();
    Win32_RegisterModule("User32.dll", {{"GetComboBoxInfo", reinterpret_cast<FARPROC>(&StandInComboInfo)}});
    COMBOBOXINFO cbi;
    SCROLLBARINFO sbi;
    EXPECT_FALSE(SUIGetScrollBarInfo(nullptr, OBJID_VSCROLL, &sbi));
    EXPECT_FALSE(SUIGetComboBoxInfo(nullptr, &cbi)) << "the flag is shared";
    EXPECT_FALSE(SUIAnimateWindow(nullptr, 0, 0));

    SUIResetSystemBindings();
    EXPECT_TRUE(SUIGetComboBoxInfo(nullptr, &cbi)) << "bound afresh after a reset";

    SUIRegisterUser32Module();
    SUIResetSystemBindings();
    EXPECT_FALSE(SUIGetComboBoxInfo(nullptr, &cbi)) << "our own answer again: no window";
}

TEST(SuipublicUser32, IsWinXPAnswersAsAnNTSystem) { EXPECT_TRUE(IsWinXP()); }

TEST(SuipublicFocus, WithoutMainFormTheFormsOwnActiveCounts) {
    ASSERT_EQ(Application->GetMainForm(), nullptr);
    TForm form(nullptr);
    EXPECT_EQ(FormHasFocus(&form), form.Active());
    EXPECT_FALSE(FormHasFocus(nullptr));
}

}  // namespace
