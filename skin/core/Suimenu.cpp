#include "skin/core/Suimenu.h"

#include "platform/vcl/Resources.h"
#include "skin/core/SUIMgr.h"

namespace Suimenu {

void Menu_SetItemEvent(TMenuItem* Item, const TMenuMeasureItemEvent& Measure, const TMenuDrawItemEvent& Draw) {
    if (Item == nullptr) return;
    Item->OnMeasureItem = Measure;
    Item->OnDrawItem = Draw;
    for (int i = 0; i < Item->Count(); ++i) Menu_SetItemEvent(Item->Items(i), Measure, Draw);
}

void Menu_DrawBorder(TCanvas* Canvas, const TRect& R, TColor Colour) {
    Canvas->GetBrush()->SetColor(Colour);
    Canvas->FrameRect(R);
}

void Menu_DrawBackGround(TCanvas* Canvas, const TRect& R, TColor Colour) {
    Canvas->GetBrush()->SetColor(Colour);
    Canvas->FillRect(R);
}

void Menu_DrawLineItem(TCanvas* Canvas, const TRect& R, TColor Colour, int BarWidth) {
    Canvas->GetPen()->SetColor(Colour);
    Canvas->MoveTo(R.Left + BarWidth + 4, R.Top + 2);
    Canvas->LineTo(R.Right - 2, R.Top + 2);
}

namespace {

// The named picture cut to its first Rows rows, stretched over R.
void DrawCutPicture(TCanvas* Canvas, const TRect& R, const char* Name, int Rows) {
    TBitmap whole;
    whole.LoadFromResourceName(HInstance, Name);
    if (whole.GetEmpty()) return;
    TBitmap cut(whole.GetWidth(), std::min(Rows, whole.GetHeight()), pf24bit);
    cut.GetCanvas()->Draw(0, 0, &whole);
    Canvas->StretchDraw(R, &cut);
}

}  // namespace

void Menu_DrawMacOSLineItem(TCanvas* Canvas, const TRect& R) { DrawCutPicture(Canvas, R, "MACOS_MENU_BAR", 12); }
void Menu_DrawMacOSSelectedItem(TCanvas* Canvas, const TRect& R) { DrawCutPicture(Canvas, R, "MACOS_MENU_SELECT", 20); }
void Menu_DrawMacOSNonSelectedItem(TCanvas* Canvas, const TRect& R) { DrawCutPicture(Canvas, R, "MACOS_MENU_BAR", 20); }

void Menu_DrawWindowBorder(TMenuWindow* Window, TColor FrameColour, TColor LineColour) {
    if (Window == nullptr) return;
    TCanvas* c = Window->WindowCanvas();
    if (c == nullptr) return;
    // The window's own coordinates: its screen rectangle moved to the origin.
    const TRect s = Window->ScreenRect();
    const TRect R = Rect(0, 0, s.Width(), s.Height());
    Menu_DrawBorder(c, Rect(R.Left, R.Top + 1, R.Right - 1, R.Bottom - 1), FrameColour);
    Menu_DrawBorder(c, Rect(R.Left + 1, R.Top + 2, R.Right - 2, R.Bottom - 2), clWhite);
    c->GetPen()->SetColor(LineColour);
    c->Polyline({{R.Left, R.Bottom - 1}, {R.Right - 1, R.Bottom - 1}, {R.Right - 1, R.Top}, {R.Right, R.Top}, {R.Left, R.Top}});
}

void Menu_GetSystemFont(TFont* Font) {
    String name;
    int height = 0;
    if (Font == nullptr || !GetSystemMenuFont(name, height)) return;
    Font->SetName(name);
    Font->SetHeight(-height);
    Font->SetColor(clMenuText);
}

}  // namespace Suimenu

using namespace Suimenu;

// ---- the look rule ------------------------------------------------------------------------------

TsuiMenuStyle::TsuiMenuStyle(TComponent* Self) : m_link(Self), m_alive(std::make_shared<TsuiMenuStyle*>(this)) {}

TsuiMenuStyle::~TsuiMenuStyle() { *m_alive = nullptr; }

void TsuiMenuStyle::SetItemHandlers(TMenuItem* Item) {
    std::shared_ptr<TsuiMenuStyle*> alive = m_alive;
    Menu_SetItemEvent(
        Item,
        [alive](TObject* Sender, TCanvas* Canvas, int& Width, int& Height) {
            auto* item = dynamic_cast<TMenuItem*>(Sender);
            if (*alive != nullptr && item != nullptr) (*alive)->MeasureMenuItem(item, Canvas, Width, Height);
        },
        [alive](TObject* Sender, TCanvas* Canvas, TRect R, bool Selected) {
            auto* item = dynamic_cast<TMenuItem*>(Sender);
            TsuiMenuStyle* menu = *alive;
            if (menu != nullptr && item != nullptr)
                menu->DrawMenuItem(item, Canvas, R, Selected, menu->CheckGlyphList(), menu->ItemImages());
        });
}

void TsuiMenuStyle::SetUIStyle(TsuiUIStyle Value) {
    m_link.StoreUIStyle(Value);
    m_barWidth = 26;
    // The fields directly: the height setters refuse MacOS.
    if (Value == MacOS) {
        m_menuItemHeight = 20;
        m_separatorHeight = 12;
        m_separatorColor = 0;
    } else {
        m_menuItemHeight = 21;
        m_separatorHeight = 5;
        m_separatorColor = 0x848284;
    }
    TsuiThemeValues theme = m_link.Values();
    m_barColor = theme.Color(SUI_THEME_MENU_BAR_COLOR);
    m_color = theme.Color(SUI_THEME_MENU_BACKGROUND_COLOR);
    m_fontColor = theme.Color(SUI_THEME_MENU_FONT_COLOR);
    m_selectedBorderColor = theme.Color(SUI_THEME_MENU_SELECTED_BORDER_COLOR);
    m_selectedColor = theme.Color(SUI_THEME_MENU_SELECTED_BACKGROUND_COLOR);
    m_selectedFontColor = theme.Color(SUI_THEME_MENU_SELECTED_FONT_COLOR);
    StyleChanged();
}

void TsuiMenuStyle::SetFileTheme(TsuiFileTheme* Value) {
    m_link.StoreFileTheme(Value);
    SetUIStyle(GetUIStyle());
}

bool TsuiMenuStyle::StyleThemeRemoved(TComponent* AComponent, TOperation Operation) {
    if (!m_link.ThemeRemoved(AComponent, Operation)) return false;
    SetUIStyle(DeepBlue);
    return true;
}

void TsuiMenuStyle::SetHeight(int Value) {
    if (GetUIStyle() != MacOS) m_menuItemHeight = Value;
}

void TsuiMenuStyle::SetSeparatorHeight(int Value) {
    if (GetUIStyle() != MacOS) m_separatorHeight = Value;
}

// ---- the item rule ------------------------------------------------------------------------------

bool SUIMenuItemHasImage(TMenuItem* Item, TImageList* List) {
    int index = Item->GetImageIndex();
    return index != -1 && List != nullptr && index >= 0 && index < List->Count();
}

TImageList* SUICreateCheckGlyphList() {
    auto* list = new TImageList(nullptr);
    TBitmap glyph;
    glyph.LoadFromResourceName(HInstance, "MENU_CHECKED");
    glyph.SetTransparent(true);
    list->AddMasked(&glyph, clWhite);
    return list;
}

void TsuiMenuStyle::MeasureMenuItem(TMenuItem* Item, TCanvas* Canvas, int& Width, int& Height) const {
    Height = Item->IsLine() ? m_separatorHeight : m_menuItemHeight;
    Width = Canvas->TextWidth(Item->GetCaption()) + Canvas->TextWidth(ShortCutToText(Item->GetShortCut())) + m_barWidth + 40;
}

void TsuiMenuStyle::ApplyItemFont(TFont* Font) const {
    if (m_useSystemFont) {
        Menu_GetSystemFont(Font);
        return;
    }
    Font->SetName(m_fontName);
    Font->SetSize(m_fontSize);
    Font->SetCharset(m_fontCharset);
}

void TsuiMenuStyle::DrawSeparator(TCanvas* Canvas, const TRect& R) const {
    if (GetUIStyle() == MacOS) {
        Menu_DrawMacOSLineItem(Canvas, R);
        return;
    }
    TRect rest = R;
    if (m_barWidth > 0) {
        Menu_DrawBackGround(Canvas, Rect(R.Left, R.Top, R.Left + m_barWidth, R.Bottom), m_barColor);
        rest.Left += m_barWidth;
    }
    Menu_DrawBackGround(Canvas, rest, m_color);
    Menu_DrawLineItem(Canvas, R, m_separatorColor, m_barWidth);
}

void TsuiMenuStyle::DrawItemBackground(TMenuItem* Item, TCanvas* Canvas, const TRect& R, bool Selected) const {
    const bool macOS = GetUIStyle() == MacOS;
    if (Selected && Item->GetEnabled()) {
        if (macOS) {
            Menu_DrawMacOSSelectedItem(Canvas, R);
        } else {
            Menu_DrawBackGround(Canvas, R, m_selectedColor);
            Menu_DrawBorder(Canvas, R, m_selectedBorderColor);
        }
        return;
    }
    if (macOS) {
        Menu_DrawMacOSNonSelectedItem(Canvas, R);
        return;
    }
    TRect rest = R;
    if (m_barWidth > 0) {
        Menu_DrawBackGround(Canvas, Rect(R.Left, R.Top, R.Left + m_barWidth, R.Bottom), m_barColor);
        rest.Left += m_barWidth;
    }
    Menu_DrawBackGround(Canvas, rest, m_color);
}

void TsuiMenuStyle::DrawItemText(TMenuItem* Item, TCanvas* Canvas, const TRect& R, bool Selected) const {
    TFont* font = Canvas->GetFont();
    ApplyItemFont(font);
    Canvas->GetBrush()->SetStyle(bsClear);
    if (!Item->GetEnabled()) font->SetColor(0x808080);
    else font->SetColor(Selected ? m_selectedFontColor : m_fontColor);
    if (Item->GetDefault()) {
        TFontStyles style = font->GetStyle();
        font->SetStyle(style.Include(fsBold));
    }
    TRect text = Rect(R.Left + m_barWidth + 4, R.Top + 4, R.Right, R.Bottom);
    Canvas->DrawText(Item->GetCaption(), text, DT_SINGLELINE);
    if (Item->GetShortCut() != scNone) {
        String shortcut = ShortCutToText(Item->GetShortCut());
        Canvas->TextOut(R.Right - Canvas->TextWidth(shortcut) - 16, R.Top + 4, shortcut);
    }
}

void TsuiMenuStyle::DrawItemGlyphs(TMenuItem* Item, TCanvas* Canvas, const TRect& R, TImageList* CheckGlyphs,
                                   TImageList* Images) const {
    const bool hasImage = SUIMenuItemHasImage(Item, Images);
    if (Item->GetChecked()) {
        if (hasImage) {
            Menu_DrawBorder(Canvas, Rect(R.Left + 2, R.Top + 1, R.Left + 21, R.Top + 20), clBlack);
            Menu_DrawBackGround(Canvas, Rect(R.Left + 3, R.Top + 2, R.Left + 20, R.Top + 19), m_selectedColor);
        } else if (CheckGlyphs != nullptr) {
            CheckGlyphs->Draw(Canvas, R.Left + 4, R.Top + 3, 0, Item->GetEnabled());
        }
    }
    if (hasImage) Images->Draw(Canvas, R.Left + 4, R.Top + 3, Item->GetImageIndex(), Item->GetEnabled());
}

void TsuiMenuStyle::DrawMenuItem(TMenuItem* Item, TCanvas* Canvas, const TRect& R, bool Selected,
                                 TImageList* CheckGlyphs, TImageList* Images) const {
    if (m_flatMenu) {
        if (TMenuWindow* window = MenuWindowFromCanvas(Canvas))
            Menu_DrawWindowBorder(window, clBlack, m_link.Values().Color(SUI_THEME_FORM_BACKGROUND_COLOR));
    }
    if (Item->IsLine()) {
        DrawSeparator(Canvas, R);
        return;
    }
    DrawItemBackground(Item, Canvas, R, Selected);
    DrawItemText(Item, Canvas, R, Selected);
    DrawItemGlyphs(Item, Canvas, R, CheckGlyphs, Images);
}
