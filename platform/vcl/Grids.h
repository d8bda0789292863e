// The draw grid and the string grid, painted by this class library: columns and rows with fixed
// ones at the top and left, a selection (a whole row with goRowSelect), the focused cell, the
// scroll bars inside the window, and DrawCell for each visible cell.
#pragma once

#include <vector>

#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/ScrollBars.h"
#include "platform/vcl/StdCtrls.h"

enum class TGridOptionE { goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect,
                          goDrawFocusSelected, goRowSizing, goColSizing, goRowMoving, goColMoving,
                          goEditing, goTabs, goRowSelect, goAlwaysShowEditor, goThumbTracking };
using TGridOptions = Set<TGridOptionE>;
constexpr TGridOptionE goFixedVertLine = TGridOptionE::goFixedVertLine;
constexpr TGridOptionE goFixedHorzLine = TGridOptionE::goFixedHorzLine;
constexpr TGridOptionE goVertLine = TGridOptionE::goVertLine;
constexpr TGridOptionE goHorzLine = TGridOptionE::goHorzLine;
constexpr TGridOptionE goRangeSelect = TGridOptionE::goRangeSelect;
constexpr TGridOptionE goDrawFocusSelected = TGridOptionE::goDrawFocusSelected;
constexpr TGridOptionE goRowSelect = TGridOptionE::goRowSelect;
constexpr TGridOptionE goEditing = TGridOptionE::goEditing;
constexpr TGridOptionE goTabs = TGridOptionE::goTabs;
constexpr TGridOptionE goThumbTracking = TGridOptionE::goThumbTracking;

enum class TGridDrawStateE { gdSelected, gdFocused, gdFixed };
using TGridDrawState = Set<TGridDrawStateE>;
constexpr TGridDrawStateE gdSelected = TGridDrawStateE::gdSelected;
constexpr TGridDrawStateE gdFocused = TGridDrawStateE::gdFocused;
constexpr TGridDrawStateE gdFixed = TGridDrawStateE::gdFixed;

struct TGridCoord {
    int X = 0;
    int Y = 0;
};
struct TGridRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};

using TDrawCellEvent = std::function<void(TObject* Sender, int ACol, int ARow, const TRect& Rect, TGridDrawState State)>;
using TSelectCellEvent = std::function<void(TObject* Sender, int ACol, int ARow, bool& CanSelect)>;

// The grid's geometry without a window: which cell lies where, for the scroll offsets given.
struct TGridLayout {
    std::vector<int> colWidths;
    std::vector<int> rowHeights;
    int fixedCols = 0;
    int fixedRows = 0;
    int leftCol = 0;  // first scrollable column shown
    int topRow = 0;   // first scrollable row shown
    int lineWidth = 1;
    // The cell rectangle in client coordinates, empty when the cell is scrolled out of view.
    TRect CellRect(int ACol, int ARow) const;
    // The cell at a client point (-1, -1 outside every shown cell).
    TGridCoord CellAt(int X, int Y) const;
    // The scrollable rows (columns) that fit fully from TopRow (LeftCol) within Extent pixels.
    int VisibleRows(int Extent) const;
    int VisibleCols(int Extent) const;

private:
    int ColLeft(int ACol) const;
    int RowTop(int ARow) const;
};

class TCustomDrawGrid : public TWinControl {
    VCL_CLASS(TCustomDrawGrid)
    explicit TCustomDrawGrid(TComponent* AOwner);
    ~TCustomDrawGrid() override;

    int GetColCount() const { return static_cast<int>(m_colWidths.size()); }
    void SetColCount(int v);
    int GetRowCount() const { return static_cast<int>(m_rowHeights.size()); }
    void SetRowCount(int v);
    int GetFixedCols() const { return m_fixedCols; }
    void SetFixedCols(int v);
    int GetFixedRows() const { return m_fixedRows; }
    void SetFixedRows(int v);
    int GetDefaultColWidth() const { return m_defaultColWidth; }
    void SetDefaultColWidth(int v);
    int GetDefaultRowHeight() const { return m_defaultRowHeight; }
    void SetDefaultRowHeight(int v);
    // Out-of-range indexes read 0 and are ignored when written.
    int ColWidths(int ACol) const;
    void SetColWidths(int ACol, int v);
    int RowHeights(int ARow) const;
    void SetRowHeights(int ARow, int v);
    int GetGridLineWidth() const { return m_gridLineWidth; }
    void SetGridLineWidth(int v);
    TGridOptions GetOptions() const { return m_options; }
    void SetOptions(TGridOptions v);
    TScrollStyle GetScrollBars() const { return m_scrollBars; }
    void SetScrollBars(TScrollStyle v);
    bool GetDefaultDrawing() const { return m_defaultDrawing; }
    void SetDefaultDrawing(bool v);
    TColor GetFixedColor() const { return m_fixedColor; }
    void SetFixedColor(TColor v);
    TBorderStyle GetBorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TBorderStyle v);
    bool GetCtl3D() const { return m_ctl3D; }
    void SetCtl3D(bool v) { m_ctl3D = v; Invalidate(); }
    bool GetParentCtl3D() const { return m_parentCtl3D; }
    void SetParentCtl3D(bool v) { m_parentCtl3D = v; }

    int GetCol() const { return m_col; }
    void SetCol(int v);
    int GetRow() const { return m_row; }
    void SetRow(int v);
    TGridRect GetSelection() const;
    void SetSelection(const TGridRect& v);
    int GetTopRow() const { return m_topRow; }
    void SetTopRow(int v);
    int GetLeftCol() const { return m_leftCol; }
    void SetLeftCol(int v);
    int VisibleRowCount() const;
    int VisibleColCount() const;

    // The cell at a client point: ACol and ARow -1 when the point lies on no cell.
    void MouseToCell(int X, int Y, int& ACol, int& ARow) const;
    TGridCoord MouseCoord(int X, int Y) const;
    TRect CellRect(int ACol, int ARow) const;

    bool GetControlScrollInfo(int Bar, SCROLLINFO& Info) override;
    bool GetControlScrollBarState(int Bar, TScrollBarState& State) override;

    TCanvas* GetCanvas() const { return m_canvas; }

    TDrawCellEvent OnDrawCell;
    TSelectCellEvent OnSelectCell;

    void Dispatch(TMessage& Message) override;

protected:
    virtual void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState);
    virtual bool SelectCell(int ACol, int ARow);
    virtual void Paint();
    void KeyDown(Word& Key, TShiftState Shift) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    virtual int FrameInset() const;
    // Where the cells lie: the client less the frame and the bars that show.
    TRect CellsArea() const;
    TGridLayout Layout() const;
    bool VScrollVisible() const;
    bool HScrollVisible() const;
    TRect VScrollRect() const;
    TRect HScrollRect() const;

private:
    void MoveCurrent(int ACol, int ARow);
    void ClampCurrent();
    void MakeVisible(int ACol, int ARow);
    void Scroll(int Bar, WORD Code, int Position);
    int MaxTopRow() const;
    int MaxLeftCol() const;
    bool NeedsVScroll(int Height) const;
    bool NeedsHScroll(int Width) const;

    TCanvas* m_canvas;
    std::vector<int> m_colWidths;
    std::vector<int> m_rowHeights;
    int m_fixedCols = 1;
    int m_fixedRows = 1;
    int m_defaultColWidth = 64;
    int m_defaultRowHeight = 24;
    int m_gridLineWidth = 1;
    TGridOptions m_options{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
    TScrollStyle m_scrollBars = ssBoth;
    bool m_defaultDrawing = true;
    TColor m_fixedColor;
    TBorderStyle m_borderStyle = bsSingle;
    bool m_ctl3D = true;
    bool m_parentCtl3D = true;
    int m_col = 1;
    int m_row = 1;
    TGridCoord m_anchor{1, 1};
    int m_topRow = 1;
    int m_leftCol = 1;
    bool m_selecting = false;
    TOwnScrollTracker m_scroll;
};

class TDrawGrid : public TCustomDrawGrid {
    VCL_CLASS(TDrawGrid)
    using TCustomDrawGrid::TCustomDrawGrid;
};

// A draw grid that holds a text per cell and draws it at (left + 2, top + 2).
class TStringGrid : public TDrawGrid {
    VCL_CLASS(TStringGrid)
    explicit TStringGrid(TComponent* AOwner);
    ~TStringGrid() override;
    // A cell outside the grid reads "" and ignores writes.
    String Cells(int ACol, int ARow) const;
    void SetCells(int ACol, int ARow, const String& Value);

protected:
    void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;

private:
    std::vector<std::vector<String>> m_cells;  // [row][col], grown on write
};
