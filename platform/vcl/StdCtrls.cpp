#include "platform/vcl/StdCtrls.h"

#include <cctype>

#include "platform/vcl/Graphics.h"
#include "platform/vcl/Menus.h"

TLabel::TLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
    ControlStyle() << csOpaque << csReplicatable << csClickEvents << csDoubleClicks << csCaptureMouse;
    SetBounds(GetLeft(), GetTop(), 65, 17);
}

TLabel::~TLabel() = default;

void TLabel::SetAutoSize(bool v) {
    if (v == m_autoSize) return;
    m_autoSize = v;
    AdjustBounds();
}

void TLabel::SetWordWrap(bool v) {
    if (v == m_wordWrap) return;
    m_wordWrap = v;
    AdjustBounds();
    Invalidate();
}

void TLabel::SetTransparent(bool v) {
    if (v == m_transparent) return;
    m_transparent = v;
    if (v) ControlStyle() >> csOpaque; else ControlStyle() << csOpaque;
    Invalidate();
}

void TLabel::SetAlignment(TAlignment v) {
    if (v == m_alignment) return;
    m_alignment = v;
    Invalidate();
}

void TLabel::SetLayout(TTextLayout v) {
    if (v == m_layout) return;
    m_layout = v;
    Invalidate();
}

void TLabel::SetShowAccelChar(bool v) {
    if (v == m_showAccelChar) return;
    m_showAccelChar = v;
    AdjustBounds();
    Invalidate();
}

void TLabel::SetFocusControl(TWinControl* v) {
    m_focusControl = v;
    if (v != nullptr) v->FreeNotification(this);
}

void TLabel::Notification(TComponent* AComponent, TOperation Operation) {
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == m_focusControl) m_focusControl = nullptr;
}

void TLabel::Loaded() {
    TGraphicControl::Loaded();
    AdjustBounds();
}

UINT TLabel::DrawTextFlags() const {
    UINT flags = DT_EXPANDTABS;
    if (m_wordWrap) flags |= DT_WORDBREAK;
    if (m_alignment == taCenter) flags |= DT_CENTER;
    else if (m_alignment == taRightJustify) flags |= DT_RIGHT;
    if (!m_showAccelChar) flags |= DT_NOPREFIX;
    return flags;
}

void TLabel::DoDrawText(TCanvas* ACanvas, TRect& Rect, UINT Flags) {
    String text = GetCaption();
    // An empty caption (or a lone accelerator mark) still measures one line high.
    if ((Flags & DT_CALCRECT) != 0 && (text.empty() || (m_showAccelChar && text == "&"))) text += ' ';
    if (!m_showAccelChar) Flags |= DT_NOPREFIX;
    ACanvas->SetFont(GetFont());
    if (!GetEnabled() && (Flags & DT_CALCRECT) == 0) {
        OffsetRect(Rect, 1, 1);
        ACanvas->GetFont()->SetColor(clBtnHighlight);
        ACanvas->DrawText(text, Rect, Flags);
        OffsetRect(Rect, -1, -1);
        ACanvas->GetFont()->SetColor(clBtnShadow);
        ACanvas->DrawText(text, Rect, Flags);
    } else {
        ACanvas->DrawText(text, Rect, Flags);
    }
}

void TLabel::AdjustBounds() {
    if (!m_autoSize || GetComponentState().Contains(csReading) || GetComponentState().Contains(csLoading)) return;
    TCanvas measure;
    TRect r = GetClientRect();
    UINT flags = DT_EXPANDTABS | DT_CALCRECT | (m_wordWrap ? DT_WORDBREAK : 0);
    DoDrawText(&measure, r, flags);
    // A word-wrapped label keeps its width and grows down.
    int width = m_wordWrap ? GetWidth() : r.Right;
    int x = GetLeft();
    if (m_alignment == taRightJustify) x += GetWidth() - width;
    SetBounds(x, GetTop(), width, r.Bottom);
}

void TLabel::Paint() {
    TCanvas* c = Canvas();
    TRect client = GetClientRect();
    if (!m_transparent) {
        c->GetBrush()->SetStyle(bsSolid);
        c->GetBrush()->SetColor(GetColor());
        c->FillRect(client);
    }
    c->GetBrush()->SetStyle(bsClear);
    TRect r = client;
    UINT flags = DrawTextFlags();
    if (m_layout != tlTop) {
        TRect calc = r;
        DoDrawText(c, calc, flags | DT_CALCRECT);
        int dy = m_layout == tlBottom ? GetHeight() - calc.Bottom : (GetHeight() - calc.Bottom) / 2;
        OffsetRect(r, 0, dy);
    }
    DoDrawText(c, r, flags);
}

void TLabel::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
        AdjustBounds();
        break;
    case CM_DIALOGCHAR: {
        char key = static_cast<char>(std::toupper(static_cast<unsigned char>(Message.CharCode())));
        if (m_focusControl != nullptr && GetEnabled() && m_showAccelChar && key != 0 &&
            GetHotkey(GetCaption()) == key && m_focusControl->CanFocus()) {
            m_focusControl->SetFocus();
            Message.Result = 1;
            return;
        }
        break;
    }
    default:
        break;
    }
    TGraphicControl::Dispatch(Message);
}
