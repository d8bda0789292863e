#include "skin/core/SUIImagePanel.h"

#include <algorithm>

#include "platform/vcl/Forms.h"
#include "platform/vcl/Resources.h"
#include "platform/vcl/SysUtils.h"
#include "skin/core/SUIMgr.h"
#include "skin/core/Suipublic.h"

namespace {

constexpr int PanelStep = 15;
constexpr int DefaultTitleHeight = 20;

bool AlignedToSide(TAlign A) { return A == alClient || A == alLeft || A == alRight; }

}  // namespace

// ---- TsuiCustomPanel ----------------------------------------------------------------------------

TsuiCustomPanel::TsuiCustomPanel(TComponent* AOwner) : TPanel(AOwner), m_picture(std::make_unique<TPicture>()) {
    m_picture->OnChange = [this](TObject* Sender) { PictureChanged(Sender); };
    SetBevelInner(bvNone);
    SetBevelOuter(bvNone);
    Invalidate();
}

TsuiCustomPanel::~TsuiCustomPanel() {
    Destroying();
    m_picture->OnChange = nullptr;
}

void TsuiCustomPanel::SetPicture(TPicture* Value) {
    m_picture->Assign(Value);
    ClearPanel();
    Invalidate();
}

void TsuiCustomPanel::SetDrawStyle(TsuiDrawStyle v) {
    m_drawStyle = v;
    ClearPanel();
    Invalidate();
}

void TsuiCustomPanel::SetCaptionPosX(int v) {
    m_captionPosX = v;
    Invalidate();
}

void TsuiCustomPanel::SetCaptionPosY(int v) {
    m_captionPosY = v;
    Invalidate();
}

void TsuiCustomPanel::SetAutoSize(bool v) {
    m_autoSize = v;
    if (HasGraphic()) ApplyPictureSize();
}

void TsuiCustomPanel::SetTransparent(bool v) {
    m_transparent = v;
    if (HasGraphic()) ApplyPictureTransparency();
    Invalidate();
}

void TsuiCustomPanel::ApplyPictureSize() {
    if (!m_autoSize) return;
    TAlign a = GetAlign();
    int w = (a == alTop || a == alBottom || a == alClient) ? GetWidth() : m_picture->GetWidth();
    int h = (a == alLeft || a == alRight || a == alClient) ? TControl::GetHeight() : m_picture->GetHeight();
    SetBounds(GetLeft(), GetTop(), w, h);
}

void TsuiCustomPanel::ApplyPictureTransparency() {
    TGraphic* g = m_picture->GetGraphic();
    if (g->GetTransparent() != m_transparent) g->SetTransparent(m_transparent);
}

void TsuiCustomPanel::PictureChanged(TObject*) {
    if (HasGraphic()) {
        if (m_autoSize) ApplyPictureSize();
        ApplyPictureTransparency();
    }
    ClearPanel();
    Invalidate();
}

// Panels hosted in foreign windows don't exist here; the brush is all that is left to set.
void TsuiCustomPanel::ClearPanel() { Canvas()->GetBrush()->SetColor(GetColor()); }

void TsuiCustomPanel::Resize() {
    TPanel::Resize();
    Invalidate();
}

void TsuiCustomPanel::PaintCaption(TCanvas* C) {
    if (Trim(GetCaption()).empty()) return;
    C->SetFont(GetFont());
    if (m_captionPosX == -1 || m_captionPosY == -1) {
        UINT align = GetAlignment() == taRightJustify ? DT_RIGHT : GetAlignment() == taCenter ? DT_CENTER : DT_LEFT;
        TRect r = GetClientRect();
        C->DrawText(GetCaption(), r, DT_SINGLELINE | DT_VCENTER | align);
    } else {
        C->TextOut(m_captionPosX, m_captionPosY, GetCaption());
    }
}

void TsuiCustomPanel::Paint() {
    TBitmap buf(std::max(GetWidth(), 0), std::max(TControl::GetHeight(), 0), pf32bit);
    TCanvas* c = buf.GetCanvas();
    if (m_transparent) DoTrans(c, this);
    if (HasGraphic()) {
        switch (m_drawStyle) {
            case suiStretch: c->StretchDraw(GetClientRect(), m_picture->GetGraphic()); break;
            case suiTile: TileDraw(c, m_picture.get(), GetClientRect()); break;
            case suiNormal: c->Draw(0, 0, m_picture->GetGraphic()); break;
        }
    } else if (!m_transparent) {
        c->GetBrush()->SetColor(GetColor());
        c->FillRect(GetClientRect());
    }
    c->GetBrush()->SetStyle(bsClear);
    PaintCaption(c);
    Canvas()->Draw(0, 0, &buf);
}

void TsuiCustomPanel::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case CM_TEXTCHANGED:
            TPanel::Dispatch(Message);
            Invalidate();
            return;
        case WM_ERASEBKGND: Message.Result = 1; return;
        default: TPanel::Dispatch(Message); return;
    }
}

// ---- TsuiPanel ----------------------------------------------------------------------------------

std::vector<int> SUIPanelAnimationSteps(int From, int To) {
    std::vector<int> steps;
    int h = From;
    if (From > To) {
        while (h - PanelStep > To) steps.push_back(h -= PanelStep);
    } else {
        while (h + PanelStep < To) steps.push_back(h += PanelStep);
    }
    steps.push_back(To);
    return steps;
}

TsuiPanel::TsuiPanel(TComponent* AOwner)
    : TPanel(AOwner), m_titleBitmap(std::make_unique<TBitmap>()), m_buttonPicture(std::make_unique<TBitmap>()) {
    try {
        m_buttonPicture->LoadFromResourceName(HInstance, "PANEL_BUTTON");
    } catch (const EResNotFound&) {
        // Without the picture the panel simply has no collapse button to show.
    }
    SetBounds(GetLeft(), GetTop(), 100, TControl::GetHeight());
    SetHeight(100);
    SetUIStyle(GetSUIFormStyle(AOwner));
}

TsuiPanel::~TsuiPanel() { Destroying(); }

void TsuiPanel::Notification(TComponent* AComponent, TOperation Operation) {
    TPanel::Notification(AComponent, Operation);
    if (m_style.ThemeRemoved(AComponent, Operation)) {
        ContainerApplyUIStyle(this, DeepBlue, nullptr);
        SetUIStyle(DeepBlue);
    }
}

void TsuiPanel::SetUIStyle(TsuiUIStyle v) {
    m_style.StoreUIStyle(v);
    // A new file theme doesn't disturb a built-in look.
    if (m_applyingTheme && v != FromThemeFile) return;
    SetColor(clWhite);
    TsuiThemeValues theme = m_style.Values();
    theme.Bitmap(SUI_THEME_SIDECHANNEL_BAR_IMAGE, m_titleBitmap.get());
    m_borderColor = theme.Color(SUI_THEME_CONTROL_BORDER_COLOR);
    if (theme.FromFile()) {
        TColor font = theme.Color(SUI_THEME_CONTROL_FONT_COLOR);
        bool dark = font == 0x020000 || font == 0x030000 || font == 0x040000 || font == 0x050000;
        m_captionFontColor = dark ? clBlack : clWhite;
    } else {
        m_captionFontColor = theme.Effective() == MacOS ? clBlack : theme.Color(SUI_THEME_MENU_SELECTED_FONT_COLOR);
    }
    // Down and up again: the children are laid out anew below the new title strip.
    int h = m_expandedHeight;
    SetHeight(h - 1);
    SetHeight(h);
    Invalidate();
}

void TsuiPanel::SetFileTheme(TsuiFileTheme* v) {
    m_style.StoreFileTheme(v);
    m_applyingTheme = true;
    SetUIStyle(m_style.GetUIStyle());
    m_applyingTheme = false;
}

void TsuiPanel::SetBorderColor(TColor v) {
    m_borderColor = v;
    Invalidate();
}

void TsuiPanel::SetCaptionFontColor(TColor v) {
    m_captionFontColor = v;
    Invalidate();
}

void TsuiPanel::SetShowButton(bool v) {
    m_showButton = v;
    Invalidate();
}

void TsuiPanel::SetHeight(int v) {
    m_expandedHeight = v;
    if (GetComponentState().Contains(csDesigning) || m_expanded) TControl::SetHeight(v);
}

bool TsuiPanel::ButtonAllowed() const {
    return m_showButton && !AlignedToSide(GetAlign()) && !m_buttonPicture->GetEmpty();
}

TRect TsuiPanel::ButtonRect() const {
    if (!ButtonAllowed()) return {};
    int fw = m_buttonPicture->GetWidth() / 4;
    int bh = m_buttonPicture->GetHeight();
    int t = (GetTitleHeight() - bh) / 2;
    return Rect(GetWidth() - fw - 5, t, GetWidth() - 5, t + bh);
}

bool TsuiPanel::OnButton(int X, int Y) const { return ButtonAllowed() && InRect(X, Y, ButtonRect()); }

void TsuiPanel::Animate(int To) {
    m_animating = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{m_animating};
    for (int h : SUIPanelAnimationSteps(TControl::GetHeight(), To)) {
        TControl::SetHeight(h);
        Update();
        if (h != To && Application != nullptr) Application->ProcessMessages();
    }
}

void TsuiPanel::Push() {
    if (m_animating) return;
    if (AlignedToSide(GetAlign())) throw Exception("Can't push when Align is alClient, alLeft or alRight.");
    int target = GetTitleHeight() == 0 ? DefaultTitleHeight : GetTitleHeight();
    Animate(target);
    m_expanded = false;
    Invalidate();
    if (OnPush) OnPush(this);
}

void TsuiPanel::Pop() {
    if (m_animating) return;
    Animate(m_expandedHeight);
    m_expanded = true;
    Invalidate();
    if (OnPop) OnPop(this);
}

void TsuiPanel::Resize() {
    TPanel::Resize();
    if (!m_animating && m_expanded) m_expandedHeight = TControl::GetHeight();
}

void TsuiPanel::AlignControls(TControl* AControl, TRect& Rect) {
    Rect = ::Rect(3, GetTitleHeight() + 3, GetWidth() - 3, TControl::GetHeight() - 3);
    TCustomControl::AlignControls(AControl, Rect);
}

void TsuiPanel::Paint() {
    const int W = std::max(GetWidth(), 0);
    const int titleH = GetTitleHeight();
    TBitmap buf(W, std::max(m_expandedHeight, 0), pf32bit);
    TCanvas* c = buf.GetCanvas();
    c->GetBrush()->SetColor(GetColor());
    c->GetPen()->SetColor(m_borderColor);
    c->Rectangle(GetClientRect());
    if (!m_titleBitmap->GetEmpty()) c->StretchDraw(Rect(1, 0, W - 1, titleH), m_titleBitmap.get());
    c->GetBrush()->SetStyle(bsClear);
    c->SetFont(GetFont());
    c->GetFont()->SetColor(m_captionFontColor);
    TRect title = Rect(10, 0, W, titleH);
    c->DrawText(GetCaption(), title, DT_SINGLELINE | DT_VCENTER);
    if (ButtonAllowed()) {
        TPoint mouse = ScreenToClient(Mouse->GetCursorPos());
        m_buttonHot = InRect(mouse, ButtonRect());
        int frame = m_buttonHot ? (m_expanded ? 2 : 4) : (m_expanded ? 1 : 3);
        TBitmap piece;
        SpitBitmap(m_buttonPicture.get(), &piece, 4, frame);
        piece.SetTransparent(true);
        int fw = piece.GetWidth();
        int t = (titleH - piece.GetHeight()) / 2;
        c->Draw(W - fw - 4, t / 2 + 2, &piece);
    }
    Canvas()->Draw(0, 0, &buf);
}

void TsuiPanel::MouseMove(TShiftState Shift, int X, int Y) {
    TPanel::MouseMove(Shift, X, Y);
    if (!m_showButton || Y > GetTitleHeight()) return;
    if (OnButton(X, Y) != m_buttonHot) Invalidate();
}

void TsuiPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TPanel::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft || m_animating) return;
    // Where the button is released decides, not what the last paint saw.
    if (!OnButton(X, Y)) return;
    if (m_expanded) Push(); else Pop();
    Invalidate();
}

void TsuiPanel::Dispatch(TMessage& Message) {
    if (Message.Msg == WM_ERASEBKGND) {
        Message.Result = 1;
        return;
    }
    TPanel::Dispatch(Message);
}
