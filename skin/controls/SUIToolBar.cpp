#include "skin/controls/SUIToolBar.h"

#include "platform/vcl/ImgList.h"
#include "platform/vcl/Menus.h"
#include "skin/core/SUIMgr.h"
#include "skin/core/Suipublic.h"

int SUIToolButtonCaptionLeft(int Left, int ButtonWidth, int TextWidth) { return Left + (ButtonWidth - TextWidth) / 2; }

TsuiToolBar::TsuiToolBar(TComponent* AOwner) : TToolBar(AOwner) {
    if (!GetComponentState().Contains(csDesigning))
        OnCustomDrawButton = [this](TToolBar*, TToolButton* Button, TCustomDrawState State, bool& DefaultDraw) {
            DrawButton(Button, State, DefaultDraw);
        };
    OnCustomDraw = [this](TToolBar*, const TRect&, bool& DefaultDraw) { DrawBar(DefaultDraw); };
    SetFlat(true);
    SetTransparent(false);
    SetColor(clWindow);
    SetUIStyle(GetSUIFormStyle(AOwner));
}

void TsuiToolBar::Notification(TComponent* AComponent, TOperation Operation) {
    TToolBar::Notification(AComponent, Operation);
    if (m_style.ThemeRemoved(AComponent, Operation)) SetUIStyle(DeepBlue);
}

void TsuiToolBar::SetUIStyle(TsuiUIStyle Value) {
    m_style.StoreUIStyle(Value);
    TsuiThemeValues theme = m_style.Values();
    m_buttonBorderColor = theme.Color(SUI_THEME_TOOLBAR_BUTTON_BORDER_COLOR);
    m_buttonColor = theme.Color(SUI_THEME_TOOLBAR_BUTTON_BACKGROUND_COLOR);
    m_buttonDownColor = theme.Color(SUI_THEME_TOOLBAR_BUTTON_DOWN_BACKGROUND_COLOR);
    SetTransparent(Value == MacOS || Value == Protein);
    SetEdgeInner(esNone);
    SetEdgeOuter(esNone);
    Repaint();
}

void TsuiToolBar::SetFileTheme(TsuiFileTheme* Value) {
    m_style.StoreFileTheme(Value);
    SetUIStyle(GetUIStyle());
}

void TsuiToolBar::SetButtonColor(TColor v) { m_buttonColor = v; Repaint(); }
void TsuiToolBar::SetButtonBorderColor(TColor v) { m_buttonBorderColor = v; Repaint(); }
void TsuiToolBar::SetButtonDownColor(TColor v) { m_buttonDownColor = v; Repaint(); }

void TsuiToolBar::DrawBar(bool& DefaultDraw) {
    if (!GetTransparent()) return;
    DoTrans(GetCanvas(), this);
    DefaultDraw = false;
}

void TsuiToolBar::DrawButton(TToolButton* Button, TCustomDrawState State, bool& DefaultDraw) {
    const bool hot = State.Contains(cdsHot);
    const bool pressed = State.Contains(cdsSelected);
    if (hot) {
        DrawBox(Button, pressed);
        if (Button->GetStyle() == tbsDropDown) {
            TCanvas* c = GetCanvas();
            TRect r = Button->GetBoundsRect();
            const int y = (r.Bottom - r.Top) / 2;
            c->GetBrush()->SetStyle(bsSolid);
            c->GetBrush()->SetColor(clBlack);
            c->GetPen()->SetColor(clBlack);
            c->Polygon({{r.Right - 9, y}, {r.Right - 5, y}, {r.Right - 7, y + 2}});
            c->Polygon({{r.Right - 8, y}, {r.Right - 6, y}, {r.Right - 7, y + 1}});
            c->MoveTo(r.Right - 14, r.Top);
            c->LineTo(r.Right - 14, r.Bottom);
        }
        DefaultDraw = false;
    } else if (pressed || State.Contains(cdsChecked)) {
        DrawBox(Button, false);
        DefaultDraw = false;
    }
}

void TsuiToolBar::DrawBox(TToolButton* Button, bool Pressed) {
    TCanvas* c = GetCanvas();
    const TRect r = Button->GetBoundsRect();
    c->GetBrush()->SetStyle(bsSolid);
    c->GetBrush()->SetColor(Pressed ? m_buttonDownColor : m_buttonColor);
    c->GetPen()->SetColor(m_buttonBorderColor);
    c->Rectangle(r);
    const int w = r.Width() - (Button->GetStyle() == tbsDropDown ? 14 : 0);
    TImageList* pictures = GetHotImages() != nullptr ? GetHotImages() : GetImages();
    const String caption = Button->GetCaption();
    c->SetFont(GetFont());
    c->GetBrush()->SetStyle(bsClear);
    const int textWidth = c->TextWidth(StripHotkey(caption));
    if (pictures != nullptr) {
        const int px = GetList() ? r.Left + 5 : r.Left + (w - pictures->GetWidth()) / 2;
        pictures->Draw(c, px, r.Top + 3, Button->GetImageIndex(), true);
        if (GetShowCaptions()) {
            TRect text = GetList() ? Rect(r.Left + pictures->GetWidth() + 7, r.Top + 4, r.Right, r.Bottom)
                                   : Rect(SUIToolButtonCaptionLeft(r.Left, w, textWidth), r.Top + pictures->GetHeight() + 4,
                                          r.Right, r.Bottom);
            c->DrawText(caption, text, DT_SINGLELINE);
        }
    } else if (GetShowCaptions()) {
        TRect text = GetList() ? Rect(r.Left + 8, r.Top + 3, r.Right, r.Bottom)
                               : Rect(SUIToolButtonCaptionLeft(r.Left, w, textWidth), r.Top + (Pressed ? 5 : 4), r.Right, r.Bottom);
        c->DrawText(caption, text, DT_SINGLELINE);
    }
}
