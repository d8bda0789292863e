#include "skin/controls/SUIListBox.h"

#include <algorithm>

#include "skin/controls/SUIControlLook.h"

template <class Base>
void TsuiListSkin<Base>::SetUIStyle(TsuiUIStyle Value) {
    m_style.StoreUIStyle(Value);
    m_borderColor = SUIControlColors(m_style.Values()).BorderColor;
    m_bars.SetBarsUIStyle(m_style.Values().Effective());
    this->Invalidate();
}

template <class Base>
void TsuiListSkin<Base>::Dispatch(TMessage& Message) {
    Base::Dispatch(Message);
    SUIDrawBorderAfterPaint(this, Message, m_borderColor, true);
    m_bars.AfterMessage(Message);
}

template class TsuiListSkin<TCustomListBox>;
template class TsuiListSkin<TDirectoryListBox>;
template class TsuiListSkin<TFileListBox>;

// ---- TsuiListBox --------------------------------------------------------------------------------

TsuiListBox::TsuiListBox(TComponent* AOwner)
    : TsuiListSkin<TCustomListBox>(AOwner),
      m_selectedTextColor(clHighlightText),
      m_selectedColor(clHighlight),
      m_disabledTextColor(clGrayText) {
    // A new list box draws its own items, whatever the published default says.
    SetStyle(lbOwnerDrawFixed);
    SetUIStyle(GetSUIFormStyle(AOwner));
}

void TsuiListBox::SetShowFocusRect(bool Value) {
    if (Value == m_showFocusRect) return;
    m_showFocusRect = Value;
    if (Focused()) Invalidate();
}

void TsuiListBox::SetAlignment(TAlignment Value) {
    if (Value == m_alignment) return;
    m_alignment = Value;
    Invalidate();
}

void TsuiListBox::SetSelectedColor(TColor Value) {
    if (Value == m_selectedColor) return;
    m_selectedColor = Value;
    Invalidate();
}

void TsuiListBox::SetSelectedTextColor(TColor Value) {
    if (Value == m_selectedTextColor) return;
    m_selectedTextColor = Value;
    Invalidate();
}

void TsuiListBox::SetDisabledTextColor(TColor Value) {
    if (Value == m_disabledTextColor) return;
    m_disabledTextColor = Value;
    Invalidate();
}

void TsuiListBox::Dispatch(TMessage& Message) {
    if (Message.Msg == CN_DRAWITEM) {
        CNDrawItem(Message);
        return;
    }
    TsuiListSkin<TCustomListBox>::Dispatch(Message);
}

void TsuiListBox::CNDrawItem(TMessage& Message) {
    auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
    TOwnerDrawState state = OwnerDrawStateFromODS(dis->itemState);
    TCanvas* c = GetCanvas();
    TCanvas* onto = CanvasFromHDC(dis->hDC);
    bool attached = onto != c;
    if (attached) AttachCanvas(c, onto);
    c->SetFont(GetFont());
    c->GetBrush()->SetStyle(bsSolid);
    c->GetBrush()->SetColor(GetColor());
    TRect r{dis->rcItem.left, dis->rcItem.top, dis->rcItem.right, dis->rcItem.bottom};
    auto index = static_cast<int>(dis->itemID);
    if (index >= 0) {
        if (state.Contains(odSelected)) {
            c->GetBrush()->SetColor(m_selectedColor);
            c->GetFont()->SetColor(m_selectedTextColor);
        }
        if (state.Contains(odGrayed) || state.Contains(odDisabled) || !GetEnabled())
            c->GetFont()->SetColor(m_disabledTextColor);
        DrawItem(index, r, state);
    } else {
        // An empty list with the focus: only the focus rectangle.
        c->FillRect(r);
        if (state.Contains(odFocused)) c->DrawFocusRect(r);
    }
    if (attached) c->SetTarget(nullptr);
    Message.Result = 1;
}

void TsuiListBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
    if (OnDrawItem) {
        TsuiListSkin<TCustomListBox>::DrawItem(Index, Rect, State);
        return;
    }
    DefaultDrawItem(Index, Rect, State);
    if (m_showFocusRect && State.Contains(odFocused)) GetCanvas()->DrawFocusRect(Rect);
}

UINT TsuiListBox::AlignmentFlag() const {
    switch (m_alignment) {
        case taRightJustify: return DT_RIGHT;
        case taCenter: return DT_CENTER;
        default: return DT_LEFT;
    }
}

void TsuiListBox::DefaultDrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
    (void)State;
    TCanvas* c = GetCanvas();
    c->FillRect(Rect);
    if (Index >= Count()) return;
    // The 2-pixel inset stays on the left for left-to-right reading, whatever the alignment.
    TRect text = Rect;
    text.Left += 2;
    c->GetBrush()->SetStyle(bsClear);
    c->DrawText(GetItems()->Strings(Index), text, AlignmentFlag() | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    c->GetBrush()->SetStyle(bsSolid);
}

void TsuiListBox::MeasureItem(int Index, int& Height) {
    if (!OnMeasureItem && Index >= 0 && Index < Count()) {
        Height = MeasureString(GetItems()->Strings(Index), GetClientWidth());
        return;
    }
    TsuiListSkin<TCustomListBox>::MeasureItem(Index, Height);
}

int TsuiListBox::MeasureString(const String& Text, int Width) {
    TCanvas measure;
    measure.SetFont(GetFont());
    int result = measure.TextWidth(Text);
    if (Width > 0) {
        TRect r{0, 0, Width - 2, 1};
        measure.DrawText(Text, r, DT_CALCRECT | AlignmentFlag() | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        result = r.Bottom;
    }
    // A list item is never taller than 255 pixels.
    return std::min(result, 255);
}

TsuiDirectoryListBox::TsuiDirectoryListBox(TComponent* AOwner) : TsuiListSkin<TDirectoryListBox>(AOwner) {
    SetUIStyle(GetSUIFormStyle(AOwner));
}

TsuiFileListBox::TsuiFileListBox(TComponent* AOwner) : TsuiListSkin<TFileListBox>(AOwner) {
    SetUIStyle(GetSUIFormStyle(AOwner));
}
