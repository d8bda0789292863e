#include "skin/controls/SUIGrid.h"

#include "skin/controls/SUIControlLook.h"
#include <type_traits>

#include "skin/core/Suipublic.h"

TColor SUIGridCellColor(TGridDrawState State, TColor SelectedColor, TColor FocusedColor, TColor Color) {
    TColor c = Color;
    if (State.Contains(gdSelected)) c = SelectedColor;
    if (State.Contains(gdFocused)) c = FocusedColor;
    return c;
}

template <class Base>
TsuiGridSkin<Base>::TsuiGridSkin(TComponent* AOwner) : Base(AOwner) {
    this->ControlStyle().Include(csOpaque);
    this->SetBorderStyle(bsNone);
    this->SetBorderWidth(1);
    // The grid's own bars exist exactly where an external bar mirrors them.
    m_bars.OnInnerScrollBars = [this](bool V, bool H) {
        this->SetScrollBars(V && H ? ssBoth : V ? ssVertical : H ? ssHorizontal : ssNone);
    };
}

template <class Base>
void TsuiGridSkin<Base>::SetUIStyle(TsuiUIStyle Value) {
    m_style.StoreUIStyle(Value);
    TsuiControlColors colors = SUIControlColors(m_style.Values());
    m_borderColor = colors.BorderColor;
    this->SetFixedColor(colors.FixedColor);
    this->SetColor(colors.Color);
    m_fixedFontColor = colors.FixedFontColor;
    this->GetFont()->SetColor(colors.FontColor);  // a white key-22 colour comes back black
    m_bars.SetBarsUIStyle(m_style.Values().Effective());
    this->Invalidate();
}

template <class Base>
void TsuiGridSkin<Base>::Dispatch(TMessage& Message) {
    // The whole window is painted by Paint; there is no separate background.
    if (Message.Msg == WM_ERASEBKGND) {
        Message.Result = 1;
        return;
    }
    Base::Dispatch(Message);
    m_bars.AfterMessage(Message);
}

template <class Base>
void TsuiGridSkin<Base>::Paint() {
    Base::Paint();
    DrawControlBorder(this, this->GetCanvas(), m_borderColor, this->GetColor(), !IsStringGrid());
}

template <class Base>
void TsuiGridSkin<Base>::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
    if (!this->GetDefaultDrawing()) {
        Base::DrawCell(ACol, ARow, ARect, AState);
        return;
    }
    TCanvas* c = this->GetCanvas();
    if (!AState.Contains(gdFixed)) {
        c->GetBrush()->SetStyle(bsSolid);
        c->GetBrush()->SetColor(SUIGridCellColor(AState, m_selectedColor, m_focusedColor, this->GetColor()));
        c->FillRect(ARect);
    } else if constexpr (std::is_base_of_v<TStringGrid, Base>) {
        c->GetFont()->SetColor(m_fixedFontColor);
        c->GetBrush()->SetStyle(bsClear);
        c->TextRect(ARect, ARect.Left + 2, ARect.Top + 2, this->Cells(ACol, ARow));
        c->GetBrush()->SetStyle(bsSolid);
    }
    Base::DrawCell(ACol, ARow, ARect, AState);
}

template class TsuiGridSkin<TCustomDrawGrid>;
template class TsuiGridSkin<TStringGrid>;

TsuiCustomDrawGrid::TsuiCustomDrawGrid(TComponent* AOwner) : TsuiGridSkin<TCustomDrawGrid>(AOwner) {
    SetUIStyle(GetSUIFormStyle(AOwner));
    SetFocusedColor(clGreen);
    SetSelectedColor(clYellow);
    SetParentCtl3D(false);
    SetCtl3D(false);
}

TsuiStringGrid::TsuiStringGrid(TComponent* AOwner) : TsuiGridSkin<TStringGrid>(AOwner) {
    SetUIStyle(GetSUIFormStyle(AOwner));
    SetFocusedColor(clLime);
    SetSelectedColor(clYellow);
    SetParentCtl3D(false);
    SetCtl3D(false);
}
