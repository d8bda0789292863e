#include "skin/core/Suimenu.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/vcl/Forms.h"
#include "platform/vcl/QtDialogs.h"
#include "skin/core/SUIPopupMenu.h"
#include "tests/support/TestHelpers.h"

using namespace testing_vcl;

namespace {

TMenuItem* AddItem(TMenu* Menu, const String& Caption) {
    auto* item = new TMenuItem(Menu->GetOwner());
    item->SetCaption(Caption);
    Menu->GetItems()->Add(item);
    return item;
}

// Draws Item as the popup would, on a white bitmap of W x H.
std::unique_ptr<TBitmap> DrawLine(TsuiPopupMenu& Menu, TMenuItem* Item, bool Selected, int W = 120, int H = 21) {
    auto out = std::make_unique<TBitmap>(W, H, pf24bit);
    out->GetCanvas()->GetBrush()->SetColor(clWhite);
    out->GetCanvas()->FillRect(Rect(0, 0, W, H));
    Menu.MenuAdded();
    Item->OnDrawItem(Item, out->GetCanvas(), Rect(0, 0, W, H), Selected);
    return out;
}

TColor Px(const TBitmap& B, int X, int Y) { return static_cast<TColor>(B.GetPixelColor(X, Y)); }

TEST(MenuItemRule, OnlyASingleDashIsASeparator) {
    TForm form(nullptr);
    TsuiPopupMenu menu(&form);
    struct Case { const char* caption; int height; } cases[] = {
        {"-", 5}, {"--", 21}, {"- ", 21}, {"Open", 21}, {"", 21},
    };
    TBitmap scratch(1, 1, pf24bit);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        TMenuItem* item = AddItem(&menu, c.caption);
        int w = 0, h = 0;
        menu.MeasureMenuItem(item, scratch.GetCanvas(), w, h);
        EXPECT_EQ(h, c.height);
        EXPECT_EQ(w, scratch.GetCanvas()->TextWidth(c.caption) + 26 + 40);
    }
}

TEST(MenuItemRule, ShortcutTextWidensTheItem) {
    TForm form(nullptr);
    TsuiPopupMenu menu(&form);
    TMenuItem* item = AddItem(&menu, "Save");
    TBitmap scratch(1, 1, pf24bit);
    int plain = 0, h = 0, withKey = 0;
    menu.MeasureMenuItem(item, scratch.GetCanvas(), plain, h);
    item->SetShortCut(ShortCut('S', {ssCtrl}));
    menu.MeasureMenuItem(item, scratch.GetCanvas(), withKey, h);
    EXPECT_EQ(withKey - plain, scratch.GetCanvas()->TextWidth("Ctrl+S"));
}

TEST(MenuItemRule, BackgroundsPerLookAndState) {
    for (TsuiUIStyle look : {WinXP, DeepBlue, Protein, BlueGlass}) {
        SCOPED_TRACE(static_cast<int>(look));
        TForm form(nullptr);
        TsuiPopupMenu menu(&form);
        menu.SetUIStyle(look);
        TMenuItem* item = AddItem(&menu, "Item");
        const TColor bar = GetInsideThemeColor(look, SUI_THEME_MENU_BAR_COLOR);
        const TColor back = GetInsideThemeColor(look, SUI_THEME_MENU_BACKGROUND_COLOR);
        const TColor selected = GetInsideThemeColor(look, SUI_THEME_MENU_SELECTED_BACKGROUND_COLOR);
        const TColor selectedBorder = GetInsideThemeColor(look, SUI_THEME_MENU_SELECTED_BORDER_COLOR);

        auto normal = DrawLine(menu, item, false);
        EXPECT_EQ(Px(*normal, 2, 18), bar);          // the side bar
        EXPECT_EQ(Px(*normal, 110, 18), back);       // the rest

        auto hot = DrawLine(menu, item, true);
        EXPECT_EQ(Px(*hot, 0, 0), selectedBorder);
        EXPECT_EQ(Px(*hot, 110, 18), selected);

        // A disabled item is never drawn selected.
        item->SetEnabled(false);
        auto disabledHot = DrawLine(menu, item, true);
        EXPECT_EQ(Px(*disabledHot, 2, 18), bar);
        EXPECT_EQ(Px(*disabledHot, 110, 18), back);
    }
}

TEST(MenuItemRule, SeparatorIsBarBackgroundAndOneLine) {
    TForm form(nullptr);
    TsuiPopupMenu menu(&form);
    menu.SetUIStyle(DeepBlue);
    TMenuItem* line = AddItem(&menu, "-");
    auto out = DrawLine(menu, line, true, 120, 5);
    EXPECT_EQ(Px(*out, 30, 2), 0x848284);   // from bar width + 4
    EXPECT_EQ(Px(*out, 29, 2), GetInsideThemeColor(DeepBlue, SUI_THEME_MENU_BACKGROUND_COLOR));
    EXPECT_EQ(Px(*out, 2, 2), GetInsideThemeColor(DeepBlue, SUI_THEME_MENU_BAR_COLOR));
    EXPECT_EQ(Px(*out, 117, 2), 0x848284);
    EXPECT_NE(Px(*out, 118, 2), 0x848284);  // ends at Right - 2
}

TEST(MenuItemRule, CheckedItemShowsGlyphOrFramedImage) {
    TForm form(nullptr);
    TsuiPopupMenu menu(&form);
    menu.SetUIStyle(WinXP);
    TMenuItem* item = AddItem(&menu, "Check");
    item->SetChecked(true);

    // Without an image: the 16 x 16 glyph (black check, white see-through) at (4, 3).
    auto glyph = DrawLine(menu, item, false);
    int black = 0;
    for (int y = 3; y < 19; ++y)
        for (int x = 4; x < 20; ++x) black += Px(*glyph, x, y) == clBlack;
    EXPECT_GT(black, 10);
    EXPECT_NE(Px(*glyph, 2, 1), clBlack);

    // With an image: a black frame filled with SelectedColor, then the image.
    TImageList images(&form);
    std::unique_ptr<TBitmap> red(SolidBitmap(16, 16, clRed));
    images.Add(red.get(), nullptr);
    menu.SetImages(&images);
    item->SetImageIndex(0);
    auto framed = DrawLine(menu, item, false);
    EXPECT_EQ(Px(*framed, 2, 1), clBlack);
    EXPECT_EQ(Px(*framed, 20, 19), clBlack);
    EXPECT_EQ(Px(*framed, 3, 2), menu.GetSelectedColor());
    EXPECT_EQ(Px(*framed, 10, 10), clRed);

    // An index outside the list counts as no image.
    item->SetImageIndex(5);
    auto outside = DrawLine(menu, item, false);
    EXPECT_NE(Px(*outside, 2, 1), clBlack);
}

TEST(MenuItemRule, MacOSDrawsItsBitmaps) {
    TForm form(nullptr);
    TsuiPopupMenu menu(&form);
    menu.SetUIStyle(MacOS);
    TMenuItem* item = AddItem(&menu, "Mac");
    TBitmap select;
    select.LoadFromResourceName(HInstance, "MACOS_MENU_SELECT");
    TBitmap bar;
    bar.LoadFromResourceName(HInstance, "MACOS_MENU_BAR");
    auto hot = DrawLine(menu, item, true, 120, 20);
    EXPECT_EQ(Px(*hot, 110, 0), static_cast<TColor>(select.GetPixelColor(0, 0)));
    EXPECT_EQ(Px(*hot, 110, 19), static_cast<TColor>(select.GetPixelColor(0, 19)));
    auto normal = DrawLine(menu, item, false, 120, 20);
    EXPECT_EQ(Px(*normal, 110, 10), static_cast<TColor>(bar.GetPixelColor(0, 10)));
}

TEST(MenuStyle, MacOSLocksTheHeightsAndOtherLooksResetThem) {
    TForm form(nullptr);
    TsuiPopupMenu menu(&form);
    menu.SetUIStyle(MacOS);
    EXPECT_EQ(menu.GetMenuItemHeight(), 20);
    EXPECT_EQ(menu.GetSeparatorHeight(), 12);
    EXPECT_EQ(menu.GetSeparatorColor(), 0);
    menu.SetHeight(30);
    menu.SetSeparatorHeight(9);
    EXPECT_EQ(menu.GetMenuItemHeight(), 20);
    EXPECT_EQ(menu.GetSeparatorHeight(), 12);

    menu.SetUIStyle(DeepBlue);
    menu.SetHeight(30);
    menu.SetSeparatorHeight(9);
    menu.SetSeparatorColor(clRed);
    menu.SetUIStyle(DeepBlue);
    EXPECT_EQ(menu.GetMenuItemHeight(), 21);
    EXPECT_EQ(menu.GetSeparatorHeight(), 5);
    EXPECT_EQ(menu.GetSeparatorColor(), 0x848284);
}

TEST(MenuStyle, DefaultsBeforeTheLookAndAfter) {
    TForm form(nullptr);
    TsuiPopupMenu menu(&form);
    EXPECT_EQ(menu.GetBarWidth(), 26);
    EXPECT_TRUE(menu.GetOwnerDraw());
    menu.SetOwnerDraw(false);
    EXPECT_TRUE(menu.GetOwnerDraw());
    EXPECT_TRUE(menu.GetUseSystemFont());
    EXPECT_EQ(menu.GetFontName(), "MS Sans Serif");
    EXPECT_EQ(menu.GetColor(), GetInsideThemeColor(DeepBlue, SUI_THEME_MENU_BACKGROUND_COLOR));
}

TEST(PopupMenu, TwoMenusShareOneGlyphListThatOutlivesEither) {
    TForm form(nullptr);
    auto* first = new TsuiPopupMenu(&form);
    TsuiPopupMenu second(&form);
    EXPECT_EQ(TsuiPopupMenu::SharedCheckGlyphs(), TsuiPopupMenu::SharedCheckGlyphs());
    EXPECT_EQ(TsuiPopupMenu::SharedCheckGlyphs()->Count(), 1);
    delete first;
    TMenuItem* item = AddItem(&second, "Still");
    item->SetChecked(true);
    auto out = DrawLine(second, item, false);
    int black = 0;
    for (int y = 3; y < 19; ++y)
        for (int x = 4; x < 20; ++x) black += Px(*out, x, y) == clBlack;
    EXPECT_GT(black, 10);
}

TEST(PopupMenu, ItemsGetHandlersAsTheyJoinTheTreeOrThroughMenuAdded) {
    TForm form(nullptr);
    TsuiPopupMenu menu(&form);
    auto* parent = new TMenuItem(nullptr);
    auto* child = new TMenuItem(nullptr);
    menu.GetItems()->Add(parent);
    EXPECT_TRUE(static_cast<bool>(parent->OnDrawItem));
    parent->Add(child);
    EXPECT_TRUE(static_cast<bool>(child->OnDrawItem));
    child->OnDrawItem = nullptr;
    child->OnMeasureItem = nullptr;
    menu.MenuAdded();
    EXPECT_TRUE(static_cast<bool>(child->OnMeasureItem));
    EXPECT_TRUE(static_cast<bool>(child->OnDrawItem));
}

TEST(PopupMenu, HandlersOfAFreedMenuDrawNothing) {
    TForm form(nullptr);
    auto* menu = new TsuiPopupMenu(&form);
    auto* item = new TMenuItem(nullptr);
    item->SetCaption("Orphan");
    menu->GetItems()->Add(item);
    menu->MenuAdded();
    menu->GetItems()->Remove(item);
    delete menu;
    TBitmap out(50, 21, pf24bit);
    out.GetCanvas()->GetBrush()->SetColor(clLime);
    out.GetCanvas()->FillRect(Rect(0, 0, 50, 21));
    item->OnDrawItem(item, out.GetCanvas(), Rect(0, 0, 50, 21), true);
    EXPECT_EQ(Px(out, 25, 10), clLime);
    delete item;
}

// A popup window stand-in: a 60 x 40 window at (100, 200).
class FakeMenuWindow : public TMenuWindow {
public:
    TRect ScreenRect() const override { return Bounds(100, 200, 60, 40); }
    TCanvas* WindowCanvas() override { return canvas.GetCanvas(); }
    TBitmap canvas{60, 40, pf24bit};
};

TEST(MenuHelpers, WindowBorderFramesTheWholeWindow) {
    FakeMenuWindow w;
    w.canvas.GetCanvas()->GetBrush()->SetColor(clLime);
    w.canvas.GetCanvas()->FillRect(Rect(0, 0, 60, 40));
    Suimenu::Menu_DrawWindowBorder(&w, clBlack, clBlue);
    const TBitmap& b = w.canvas;
    EXPECT_EQ(Px(b, 0, 20), clBlack);     // left of the frame
    EXPECT_EQ(Px(b, 1, 20), clWhite);     // the white frame inside
    EXPECT_EQ(Px(b, 30, 0), clBlue);      // top line in the line colour
    EXPECT_EQ(Px(b, 59, 20), clBlue);     // right edge
    EXPECT_EQ(Px(b, 30, 39), clBlue);     // bottom edge
    EXPECT_EQ(Px(b, 30, 20), clLime);     // the inside untouched
    Suimenu::Menu_DrawWindowBorder(nullptr, clBlack, clBlue);  // nothing, no crash
}

TEST(MenuHelpers, SetItemEventReachesEverySubItem) {
    TMenuItem root(nullptr);
    auto* a = new TMenuItem(nullptr);
    auto* b = new TMenuItem(nullptr);
    root.Add(a);
    a->Add(b);
    int measured = 0;
    Suimenu::Menu_SetItemEvent(&root, [&](TObject*, TCanvas*, int&, int&) { ++measured; }, nullptr);
    int w = 0, h = 0;
    TBitmap scratch(1, 1, pf24bit);
    b->MeasureItem(scratch.GetCanvas(), w, h);
    EXPECT_EQ(measured, 1);
}

TEST(MenuHelpers, SystemFontIsTheToolkitsMenuFont) {
    TFont font;
    font.SetName("Nothing");
    Suimenu::Menu_GetSystemFont(&font);
    EXPECT_NE(font.GetName(), "Nothing");
    EXPECT_EQ(font.GetColor(), clMenuText);
}

TEST(PopupMenu, FlatMenuPaintsTheOpenPopupsBorder) {
    TForm form(nullptr);
    TsuiPopupMenu menu(&form);
    menu.SetUIStyle(WinXP);
    menu.SetFlatMenu(true);
    AddItem(&menu, "One");
    AddItem(&menu, "Two");
    menu.MenuAdded();
    TBitmap out;
    QtMenus_RenderPopup(&menu, nullptr, &out);
    ASSERT_GT(out.GetWidth(), 10);
    const int h = out.GetHeight();
    EXPECT_EQ(Px(out, 0, h / 2), clBlack);
    EXPECT_EQ(Px(out, 1, h / 2), clWhite);
    EXPECT_EQ(Px(out, out.GetWidth() / 2, 0), GetInsideThemeColor(WinXP, SUI_THEME_FORM_BACKGROUND_COLOR));
}

}  // namespace
