// The skinned grids: fixed-cell, cell and font colours from the look, cell backgrounds in their
// own selected and focused colours, a flat border, and two external bars (SUIScrollHost.h).
//
//   auto* Sources = new TsuiStringGrid(Form);
//   Sources->SetParent(Form);
//   Sources->SetUIStyle(WinXP);
//   Sources->SetFixedCols(0);
//   Sources->SetOptions(Sources->GetOptions() + TGridOptions{goRowSelect});
//   Sources->SetSelectedColor(clMenuHighlight);
#pragma once

#include "platform/vcl/Grids.h"
#include "skin/controls/SUIScrollHost.h"
#include "skin/core/SUIThemes.h"

// The background DrawCell gives a cell that is not fixed: SelectedColor when selected, then
// FocusedColor when focused (a selected and focused cell is focused), else Color.
TColor SUIGridCellColor(TGridDrawState State, TColor SelectedColor, TColor FocusedColor, TColor Color);

template <class Base>
class TsuiGridSkin : public Base, public IsuiStyled, public IsuiScrollBarInfoSource {
public:
    explicit TsuiGridSkin(TComponent* AOwner);

    TColor GetBorderColor() const { return m_borderColor; }
    void SetBorderColor(TColor Value) { m_borderColor = Value; this->Invalidate(); }
    TColor GetFocusedColor() const { return m_focusedColor; }
    void SetFocusedColor(TColor Value) { m_focusedColor = Value; this->Invalidate(); }
    TColor GetSelectedColor() const { return m_selectedColor; }
    void SetSelectedColor(TColor Value) { m_selectedColor = Value; this->Invalidate(); }
    TColor GetFixedFontColor() const { return m_fixedFontColor; }
    void SetFixedFontColor(TColor Value) { m_fixedFontColor = Value; this->Invalidate(); }
    TColor GetFontColor() const { return this->GetFont()->GetColor(); }
    void SetFontColor(TColor Value) { this->GetFont()->SetColor(Value); this->Invalidate(); }
    TColor GetBGColor() const { return this->GetColor(); }
    void SetBGColor(TColor Value) { this->SetColor(Value); }
    TColor GetFixedBGColor() const { return this->GetFixedColor(); }
    void SetFixedBGColor(TColor Value) { this->SetFixedColor(Value); }
    // The skinned grids read flat whatever was set.
    bool GetCtl3D() const { return false; }

    TsuiScrollBar* GetVScrollBar() const { return m_bars.GetVScrollBar(); }
    void SetVScrollBar(TsuiScrollBar* Value) { m_bars.SetVScrollBar(Value); }
    TsuiScrollBar* GetHScrollBar() const { return m_bars.GetHScrollBar(); }
    void SetHScrollBar(TsuiScrollBar* Value) { m_bars.SetHScrollBar(Value); }

    TsuiUIStyle GetUIStyle() const override { return m_style.GetUIStyle(); }
    void SetUIStyle(TsuiUIStyle Value) override;
    TsuiFileTheme* GetFileTheme() const override { return m_style.GetFileTheme(); }
    // The grids keep the theme to themselves (their bars are not given it).
    void SetFileTheme(TsuiFileTheme* Value) override {
        m_style.StoreFileTheme(Value);
        SetUIStyle(GetUIStyle());
    }
    bool GetSystemScrollBarInfo(LONG ObjectId, SCROLLBARINFO& Info) override {
        return m_bars.SystemScrollBarInfo(ObjectId, Info);
    }
    TsuiScrollHost& Bars() { return m_bars; }
    void Dispatch(TMessage& Message) override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override {
        Base::Notification(AComponent, Operation);
        m_bars.Notification(AComponent, Operation);
        if (m_style.ThemeRemoved(AComponent, Operation)) SetUIStyle(DeepBlue);
    }
    void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
    void Paint() override;
    // The string grid draws its fixed cells' text and only the outer border line.
    virtual bool IsStringGrid() const { return false; }

private:
    TColor m_borderColor = clBlack;
    TColor m_focusedColor = clGreen;
    TColor m_selectedColor = clYellow;
    TColor m_fixedFontColor = clBlack;
    TsuiStyleLink m_style{this};
    TsuiScrollHost m_bars{this, TsuiScrollHostKind::Grid};
};

class TsuiCustomDrawGrid : public TsuiGridSkin<TCustomDrawGrid> {
    VCL_CLASS(TsuiCustomDrawGrid)
    explicit TsuiCustomDrawGrid(TComponent* AOwner);
};

class TsuiDrawGrid : public TsuiCustomDrawGrid {
    VCL_CLASS(TsuiDrawGrid)
    using TsuiCustomDrawGrid::TsuiCustomDrawGrid;
};

class TsuiStringGrid : public TsuiGridSkin<TStringGrid> {
    VCL_CLASS(TsuiStringGrid)
    explicit TsuiStringGrid(TComponent* AOwner);

protected:
    bool IsStringGrid() const override { return true; }
};

extern template class TsuiGridSkin<TCustomDrawGrid>;
extern template class TsuiGridSkin<TStringGrid>;
