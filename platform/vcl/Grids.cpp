#include "platform/vcl/Grids.h"

#include <algorithm>

#include "platform/vcl/Graphics.h"

// ---- TGridLayout --------------------------------------------------------------------------------

int TGridLayout::ColLeft(int ACol) const {
    int x = 0;
    for (int c = 0; c < fixedCols && c < ACol; ++c) x += colWidths[static_cast<size_t>(c)] + lineWidth;
    for (int c = std::max(fixedCols, leftCol); c < ACol; ++c) x += colWidths[static_cast<size_t>(c)] + lineWidth;
    return x;
}

int TGridLayout::RowTop(int ARow) const {
    int y = 0;
    for (int r = 0; r < fixedRows && r < ARow; ++r) y += rowHeights[static_cast<size_t>(r)] + lineWidth;
    for (int r = std::max(fixedRows, topRow); r < ARow; ++r) y += rowHeights[static_cast<size_t>(r)] + lineWidth;
    return y;
}

TRect TGridLayout::CellRect(int ACol, int ARow) const {
    if (ACol < 0 || ARow < 0 || ACol >= static_cast<int>(colWidths.size()) ||
        ARow >= static_cast<int>(rowHeights.size()))
        return {};
    if ((ACol >= fixedCols && ACol < leftCol) || (ARow >= fixedRows && ARow < topRow)) return {};
    int x = ColLeft(ACol);
    int y = RowTop(ARow);
    return TRect{x, y, x + colWidths[static_cast<size_t>(ACol)], y + rowHeights[static_cast<size_t>(ARow)]};
}

TGridCoord TGridLayout::CellAt(int X, int Y) const {
    TGridCoord c{-1, -1};
    if (X < 0 || Y < 0) return c;
    int x = 0;
    for (int col = 0; col < static_cast<int>(colWidths.size()); ++col) {
        if (col >= fixedCols && col < leftCol) continue;
        int w = colWidths[static_cast<size_t>(col)] + lineWidth;
        if (X < x + w) {
            c.X = col;
            break;
        }
        x += w;
    }
    int y = 0;
    for (int row = 0; row < static_cast<int>(rowHeights.size()); ++row) {
        if (row >= fixedRows && row < topRow) continue;
        int h = rowHeights[static_cast<size_t>(row)] + lineWidth;
        if (Y < y + h) {
            c.Y = row;
            break;
        }
        y += h;
    }
    if (c.X < 0 || c.Y < 0) return TGridCoord{-1, -1};
    return c;
}

int TGridLayout::VisibleRows(int Extent) const {
    int y = 0;
    for (int r = 0; r < fixedRows && r < static_cast<int>(rowHeights.size()); ++r)
        y += rowHeights[static_cast<size_t>(r)] + lineWidth;
    int n = 0;
    for (int r = topRow; r < static_cast<int>(rowHeights.size()); ++r) {
        y += rowHeights[static_cast<size_t>(r)] + lineWidth;
        if (y > Extent + lineWidth) break;
        ++n;
    }
    return n;
}

int TGridLayout::VisibleCols(int Extent) const {
    int x = 0;
    for (int c = 0; c < fixedCols && c < static_cast<int>(colWidths.size()); ++c)
        x += colWidths[static_cast<size_t>(c)] + lineWidth;
    int n = 0;
    for (int c = leftCol; c < static_cast<int>(colWidths.size()); ++c) {
        x += colWidths[static_cast<size_t>(c)] + lineWidth;
        if (x > Extent + lineWidth) break;
        ++n;
    }
    return n;
}

// ---- TCustomDrawGrid ----------------------------------------------------------------------------

TCustomDrawGrid::TCustomDrawGrid(TComponent* AOwner) : TWinControl(AOwner), m_canvas(new TCanvas()) {
    ControlStyle() << csOpaque << csDoubleClicks << csCaptureMouse;
    m_fixedColor = clBtnFace;
    m_colWidths.assign(5, m_defaultColWidth);
    m_rowHeights.assign(5, m_defaultRowHeight);
    SetParentColor(false);
    SetColor(clWindow);
    SetTabStop(true);
    SetBounds(GetLeft(), GetTop(), 320, 120);
}

TCustomDrawGrid::~TCustomDrawGrid() {
    Destroying();
    if (GetParent() != nullptr) GetParent()->RemoveControl(this);
    DestroyWnd();
    delete m_canvas;
}

void TCustomDrawGrid::SetColCount(int v) {
    v = std::max(1, v);
    m_colWidths.resize(static_cast<size_t>(v), m_defaultColWidth);
    m_fixedCols = std::min(m_fixedCols, v - 1);
    ClampCurrent();
    Invalidate();
}

void TCustomDrawGrid::SetRowCount(int v) {
    v = std::max(1, v);
    m_rowHeights.resize(static_cast<size_t>(v), m_defaultRowHeight);
    m_fixedRows = std::min(m_fixedRows, v - 1);
    ClampCurrent();
    Invalidate();
}

void TCustomDrawGrid::SetFixedCols(int v) {
    if (v < 0 || v >= GetColCount()) return;  // the VCL refuses it too
    m_fixedCols = v;
    ClampCurrent();
    Invalidate();
}

void TCustomDrawGrid::SetFixedRows(int v) {
    if (v < 0 || v >= GetRowCount()) return;
    m_fixedRows = v;
    ClampCurrent();
    Invalidate();
}

void TCustomDrawGrid::SetDefaultColWidth(int v) {
    m_defaultColWidth = v;
    std::fill(m_colWidths.begin(), m_colWidths.end(), v);
    Invalidate();
}

void TCustomDrawGrid::SetDefaultRowHeight(int v) {
    m_defaultRowHeight = v;
    std::fill(m_rowHeights.begin(), m_rowHeights.end(), v);
    Invalidate();
}

int TCustomDrawGrid::ColWidths(int ACol) const {
    return ACol >= 0 && ACol < GetColCount() ? m_colWidths[static_cast<size_t>(ACol)] : 0;
}

void TCustomDrawGrid::SetColWidths(int ACol, int v) {
    if (ACol < 0 || ACol >= GetColCount()) return;
    m_colWidths[static_cast<size_t>(ACol)] = std::max(0, v);
    Invalidate();
}

int TCustomDrawGrid::RowHeights(int ARow) const {
    return ARow >= 0 && ARow < GetRowCount() ? m_rowHeights[static_cast<size_t>(ARow)] : 0;
}

void TCustomDrawGrid::SetRowHeights(int ARow, int v) {
    if (ARow < 0 || ARow >= GetRowCount()) return;
    m_rowHeights[static_cast<size_t>(ARow)] = std::max(0, v);
    Invalidate();
}

void TCustomDrawGrid::SetGridLineWidth(int v) {
    m_gridLineWidth = std::max(0, v);
    Invalidate();
}

void TCustomDrawGrid::SetOptions(TGridOptions v) {
    m_options = v;
    if (v.Contains(goRowSelect)) m_anchor = TGridCoord{m_col, m_row};
    Invalidate();
}

void TCustomDrawGrid::SetScrollBars(TScrollStyle v) {
    if (v == m_scrollBars) return;
    m_scrollBars = v;
    Invalidate();
}

void TCustomDrawGrid::SetDefaultDrawing(bool v) {
    m_defaultDrawing = v;
    Invalidate();
}

void TCustomDrawGrid::SetFixedColor(TColor v) {
    m_fixedColor = v;
    Invalidate();
}

void TCustomDrawGrid::SetBorderStyle(TBorderStyle v) {
    m_borderStyle = v;
    Invalidate();
}

void TCustomDrawGrid::ClampCurrent() {
    m_col = std::clamp(m_col, m_fixedCols, GetColCount() - 1);
    m_row = std::clamp(m_row, m_fixedRows, GetRowCount() - 1);
    m_anchor = TGridCoord{std::clamp(m_anchor.X, m_fixedCols, GetColCount() - 1),
                          std::clamp(m_anchor.Y, m_fixedRows, GetRowCount() - 1)};
    m_topRow = std::clamp(m_topRow, m_fixedRows, MaxTopRow());
    m_leftCol = std::clamp(m_leftCol, m_fixedCols, MaxLeftCol());
}

void TCustomDrawGrid::SetCol(int v) { MoveCurrent(v, m_row); }
void TCustomDrawGrid::SetRow(int v) { MoveCurrent(m_col, v); }

TGridRect TCustomDrawGrid::GetSelection() const {
    if (m_options.Contains(goRowSelect)) return TGridRect{m_fixedCols, m_row, GetColCount() - 1, m_row};
    return TGridRect{std::min(m_anchor.X, m_col), std::min(m_anchor.Y, m_row), std::max(m_anchor.X, m_col),
                     std::max(m_anchor.Y, m_row)};
}

void TCustomDrawGrid::SetSelection(const TGridRect& v) {
    m_anchor = TGridCoord{v.Left, v.Top};
    m_col = v.Right;
    m_row = v.Bottom;
    ClampCurrent();
    Invalidate();
}

TGridLayout TCustomDrawGrid::Layout() const {
    TGridLayout l;
    l.colWidths = m_colWidths;
    l.rowHeights = m_rowHeights;
    l.fixedCols = m_fixedCols;
    l.fixedRows = m_fixedRows;
    l.leftCol = m_leftCol;
    l.topRow = m_topRow;
    l.lineWidth = m_gridLineWidth;
    return l;
}

int TCustomDrawGrid::FrameInset() const { return (m_borderStyle == bsSingle ? 2 : 0) + GetBorderWidth(); }

bool TCustomDrawGrid::NeedsVScroll(int Height) const {
    if (m_scrollBars != ssVertical && m_scrollBars != ssBoth) return false;
    TGridLayout l = Layout();
    l.topRow = m_fixedRows;
    return l.VisibleRows(Height) < GetRowCount() - m_fixedRows;
}

bool TCustomDrawGrid::NeedsHScroll(int Width) const {
    if (m_scrollBars != ssHorizontal && m_scrollBars != ssBoth) return false;
    TGridLayout l = Layout();
    l.leftCol = m_fixedCols;
    return l.VisibleCols(Width) < GetColCount() - m_fixedCols;
}

bool TCustomDrawGrid::VScrollVisible() const {
    TRect r = GetClientRect();
    InflateRect(r, -FrameInset(), -FrameInset());
    if (NeedsVScroll(r.Height())) return true;
    return NeedsHScroll(r.Width()) && NeedsVScroll(r.Height() - OwnScrollBarSize);
}

bool TCustomDrawGrid::HScrollVisible() const {
    TRect r = GetClientRect();
    InflateRect(r, -FrameInset(), -FrameInset());
    if (NeedsHScroll(r.Width())) return true;
    return NeedsVScroll(r.Height()) && NeedsHScroll(r.Width() - OwnScrollBarSize);
}

TRect TCustomDrawGrid::CellsArea() const {
    TRect r = GetClientRect();
    InflateRect(r, -FrameInset(), -FrameInset());
    if (VScrollVisible()) r.Right = std::max(r.Left, r.Right - OwnScrollBarSize);
    if (HScrollVisible()) r.Bottom = std::max(r.Top, r.Bottom - OwnScrollBarSize);
    return r;
}

TRect TCustomDrawGrid::VScrollRect() const {
    TRect area = CellsArea();
    return TRect{area.Right, area.Top, area.Right + OwnScrollBarSize, area.Bottom};
}

TRect TCustomDrawGrid::HScrollRect() const {
    TRect area = CellsArea();
    return TRect{area.Left, area.Bottom, area.Right, area.Bottom + OwnScrollBarSize};
}

int TCustomDrawGrid::VisibleRowCount() const { return Layout().VisibleRows(CellsArea().Height()); }
int TCustomDrawGrid::VisibleColCount() const { return Layout().VisibleCols(CellsArea().Width()); }

int TCustomDrawGrid::MaxTopRow() const {
    TGridLayout l = Layout();
    int extent = CellsArea().Height();
    // The last top row that still fills the area: walk back from the end.
    for (int top = m_fixedRows; top < GetRowCount(); ++top) {
        l.topRow = top;
        if (top + l.VisibleRows(extent) >= GetRowCount()) return top;
    }
    return std::max(m_fixedRows, GetRowCount() - 1);
}

int TCustomDrawGrid::MaxLeftCol() const {
    TGridLayout l = Layout();
    int extent = CellsArea().Width();
    for (int left = m_fixedCols; left < GetColCount(); ++left) {
        l.leftCol = left;
        if (left + l.VisibleCols(extent) >= GetColCount()) return left;
    }
    return std::max(m_fixedCols, GetColCount() - 1);
}

void TCustomDrawGrid::SetTopRow(int v) {
    int top = std::clamp(v, m_fixedRows, MaxTopRow());
    if (top == m_topRow) return;
    m_topRow = top;
    Invalidate();
}

void TCustomDrawGrid::SetLeftCol(int v) {
    int left = std::clamp(v, m_fixedCols, MaxLeftCol());
    if (left == m_leftCol) return;
    m_leftCol = left;
    Invalidate();
}

TRect TCustomDrawGrid::CellRect(int ACol, int ARow) const {
    TRect r = Layout().CellRect(ACol, ARow);
    if (r.Width() == 0 && r.Height() == 0) return r;
    TRect area = CellsArea();
    OffsetRect(r, area.Left, area.Top);
    return r;
}

void TCustomDrawGrid::MouseToCell(int X, int Y, int& ACol, int& ARow) const {
    TGridCoord c = MouseCoord(X, Y);
    ACol = c.X;
    ARow = c.Y;
}

TGridCoord TCustomDrawGrid::MouseCoord(int X, int Y) const {
    TRect area = CellsArea();
    if (!area.Contains({X, Y})) return TGridCoord{-1, -1};
    return Layout().CellAt(X - area.Left, Y - area.Top);
}

bool TCustomDrawGrid::SelectCell(int ACol, int ARow) {
    bool can = true;
    if (OnSelectCell) OnSelectCell(this, ACol, ARow, can);
    return can;
}

void TCustomDrawGrid::MoveCurrent(int ACol, int ARow) {
    ACol = std::clamp(ACol, m_fixedCols, GetColCount() - 1);
    ARow = std::clamp(ARow, m_fixedRows, GetRowCount() - 1);
    if (ACol == m_col && ARow == m_row) return;
    if (!SelectCell(ACol, ARow)) return;
    m_col = ACol;
    m_row = ARow;
    if (!m_selecting) m_anchor = TGridCoord{ACol, ARow};
    MakeVisible(ACol, ARow);
    Invalidate();
}

void TCustomDrawGrid::MakeVisible(int ACol, int ARow) {
    if (ARow < m_topRow) SetTopRow(ARow);
    else if (ARow >= m_topRow + std::max(1, VisibleRowCount())) SetTopRow(ARow - std::max(1, VisibleRowCount()) + 1);
    if (ACol < m_leftCol) SetLeftCol(ACol);
    else if (ACol >= m_leftCol + std::max(1, VisibleColCount())) SetLeftCol(ACol - std::max(1, VisibleColCount()) + 1);
}

bool TCustomDrawGrid::GetControlScrollInfo(int Bar, SCROLLINFO& Info) {
    if (Bar == SB_VERT) {
        Info.nMin = 0;
        Info.nMax = std::max(0, GetRowCount() - m_fixedRows - 1);
        Info.nPage = static_cast<UINT>(std::max(1, VisibleRowCount()));
        Info.nPos = m_topRow - m_fixedRows;
    } else if (Bar == SB_HORZ) {
        Info.nMin = 0;
        Info.nMax = std::max(0, GetColCount() - m_fixedCols - 1);
        Info.nPage = static_cast<UINT>(std::max(1, VisibleColCount()));
        Info.nPos = m_leftCol - m_fixedCols;
    } else {
        return false;
    }
    Info.nTrackPos = Info.nPos;
    return true;
}

bool TCustomDrawGrid::GetControlScrollBarState(int Bar, TScrollBarState& State) {
    SCROLLINFO info;
    if (!GetControlScrollInfo(Bar, info)) return false;
    bool vertical = Bar == SB_VERT;
    State.Visible = vertical ? VScrollVisible() : HScrollVisible();
    State.Enabled = GetEnabled();
    State.BarRect = vertical ? VScrollRect() : HScrollRect();
    OwnScrollThumb(vertical ? State.BarRect.Height() : State.BarRect.Width(), info, State.ThumbStart, State.ThumbEnd);
    int base = vertical ? State.BarRect.Top : State.BarRect.Left;
    State.ThumbStart += base;
    State.ThumbEnd += base;
    return true;
}

void TCustomDrawGrid::Scroll(int Bar, WORD Code, int Position) {
    bool vertical = Bar == SB_VERT;
    int current = vertical ? m_topRow : m_leftCol;
    int page = std::max(1, vertical ? VisibleRowCount() : VisibleColCount());
    int fixed = vertical ? m_fixedRows : m_fixedCols;
    int target = current;
    switch (Code) {
        case SB_LINEUP: target = current - 1; break;
        case SB_LINEDOWN: target = current + 1; break;
        case SB_PAGEUP: target = current - page; break;
        case SB_PAGEDOWN: target = current + page; break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK: target = fixed + Position; break;
        case SB_TOP: target = fixed; break;
        case SB_BOTTOM: target = vertical ? GetRowCount() : GetColCount(); break;
        default: return;
    }
    if (vertical) SetTopRow(target); else SetLeftCol(target);
}

void TCustomDrawGrid::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case WM_PAINT:
            if (Message.WParam != 0)
                PaintOnto(m_canvas, reinterpret_cast<TCanvas*>(Message.WParam), {0, 0}, GetClientWidth(),
                          GetClientHeight(), [this] { Paint(); });
            TWinControl::Dispatch(Message);
            return;
        case WM_GETDLGCODE:
            Message.Result = DLGC_WANTARROWS;
            return;
        case WM_VSCROLL:
        case WM_HSCROLL:
            Scroll(Message.Msg == WM_VSCROLL ? SB_VERT : SB_HORZ, LOWORD(static_cast<DWORD>(Message.WParam)),
                   ScrollWParamPos(Message.WParam));
            return;
        case WM_MOUSEWHEEL: {
            auto delta = static_cast<short>(HIWORD(static_cast<DWORD>(Message.WParam)));
            SetTopRow(m_topRow - delta / 120);
            return;
        }
        case CM_ENABLEDCHANGED:
        case CM_FOCUSCHANGED:
            Invalidate();
            break;
        default:
            break;
    }
    TWinControl::Dispatch(Message);
}

void TCustomDrawGrid::Paint() {
    TCanvas* c = m_canvas;
    TRect client = GetClientRect();
    if (m_borderStyle == bsSingle) DrawSunkenBorder(c, client);
    TRect area = CellsArea();
    FillBackground(c, area, GetColor());
    TGridLayout layout = Layout();
    TGridRect sel = GetSelection();
    bool focused = Focused();
    int saved = c->SaveDC();
    c->IntersectClipRect(area);
    auto drawRow = [&](int row) {
        auto drawCol = [&](int col) {
            TRect r = layout.CellRect(col, row);
            OffsetRect(r, area.Left, area.Top);
            if (r.Left >= area.Right || r.Top >= area.Bottom) return;
            bool fixed = col < m_fixedCols || row < m_fixedRows;
            TGridDrawState state;
            if (fixed) {
                state << gdFixed;
            } else {
                if (focused && col == m_col && row == m_row) state << gdFocused;
                if (col >= sel.Left && col <= sel.Right && row >= sel.Top && row <= sel.Bottom) state << gdSelected;
            }
            // Grid lines right of and below the cell.
            bool vert = fixed ? m_options.Contains(goFixedVertLine) : m_options.Contains(goVertLine);
            bool horz = fixed ? m_options.Contains(goFixedHorzLine) : m_options.Contains(goHorzLine);
            c->GetBrush()->SetStyle(bsSolid);
            c->GetBrush()->SetColor(fixed ? clBlack : clSilver);
            if (vert && m_gridLineWidth > 0) c->FillRect(TRect{r.Right, r.Top, r.Right + m_gridLineWidth, r.Bottom + m_gridLineWidth});
            if (horz && m_gridLineWidth > 0) c->FillRect(TRect{r.Left, r.Bottom, r.Right + m_gridLineWidth, r.Bottom + m_gridLineWidth});
            int cell = c->SaveDC();
            c->SetFont(GetFont());
            if (m_defaultDrawing) {
                bool highlight = state.Contains(gdSelected) &&
                                 (!state.Contains(gdFocused) || m_options.Contains(goDrawFocusSelected) ||
                                  m_options.Contains(goRowSelect));
                c->GetBrush()->SetColor(fixed ? m_fixedColor : highlight ? clHighlight : GetColor());
                if (highlight) c->GetFont()->SetColor(clHighlightText);
                c->FillRect(r);
            }
            DrawCell(col, row, r, state);
            if (m_defaultDrawing && fixed && m_ctl3D) {
                c->GetPen()->SetColor(clBtnHighlight);
                c->MoveTo(r.Left, r.Bottom - 1);
                c->LineTo(r.Left, r.Top);
                c->LineTo(r.Right, r.Top);
            }
            if (m_defaultDrawing && state.Contains(gdFocused) && !m_options.Contains(goRowSelect)) c->DrawFocusRect(r);
            c->RestoreDC(cell);
        };
        for (int col = 0; col < m_fixedCols && col < GetColCount(); ++col) drawCol(col);
        for (int col = m_leftCol; col < GetColCount(); ++col) {
            TRect r = layout.CellRect(col, row);
            if (r.Left + area.Left >= area.Right) break;
            drawCol(col);
        }
    };
    for (int row = 0; row < m_fixedRows && row < GetRowCount(); ++row) drawRow(row);
    for (int row = m_topRow; row < GetRowCount(); ++row) {
        TRect r = layout.CellRect(0, row);
        if (r.Top + area.Top >= area.Bottom) break;
        drawRow(row);
    }
    c->RestoreDC(saved);
    if (VScrollVisible()) {
        SCROLLINFO info;
        GetControlScrollInfo(SB_VERT, info);
        PaintOwnScrollBar(c, VScrollRect(), true, info, GetEnabled());
    }
    if (HScrollVisible()) {
        SCROLLINFO info;
        GetControlScrollInfo(SB_HORZ, info);
        PaintOwnScrollBar(c, HScrollRect(), false, info, GetEnabled());
    }
    if (VScrollVisible() && HScrollVisible()) {
        c->GetBrush()->SetColor(clBtnFace);
        c->FillRect(TRect{area.Right, area.Bottom, area.Right + OwnScrollBarSize, area.Bottom + OwnScrollBarSize});
    }
}

void TCustomDrawGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
    if (OnDrawCell) OnDrawCell(this, ACol, ARow, ARect, AState);
}

void TCustomDrawGrid::KeyDown(Word& Key, TShiftState Shift) {
    TWinControl::KeyDown(Key, Shift);
    m_selecting = Shift.Contains(ssShift) && m_options.Contains(goRangeSelect) && !m_options.Contains(goRowSelect);
    int page = std::max(1, VisibleRowCount());
    switch (Key) {
        case VK_UP: MoveCurrent(m_col, m_row - 1); break;
        case VK_DOWN: MoveCurrent(m_col, m_row + 1); break;
        case VK_LEFT:
            if (m_options.Contains(goRowSelect)) SetLeftCol(m_leftCol - 1); else MoveCurrent(m_col - 1, m_row);
            break;
        case VK_RIGHT:
            if (m_options.Contains(goRowSelect)) SetLeftCol(m_leftCol + 1); else MoveCurrent(m_col + 1, m_row);
            break;
        case VK_PRIOR: MoveCurrent(m_col, m_row - page); break;
        case VK_NEXT: MoveCurrent(m_col, m_row + page); break;
        case VK_HOME: MoveCurrent(m_col, m_fixedRows); break;
        case VK_END: MoveCurrent(m_col, GetRowCount() - 1); break;
        default: break;
    }
    m_selecting = false;
}

void TCustomDrawGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft && CanFocus() && !Focused()) SetFocus();
    if (Button == mbLeft) {
        for (int bar : {SB_VERT, SB_HORZ}) {
            bool shown = bar == SB_VERT ? VScrollVisible() : HScrollVisible();
            if (!shown) continue;
            SCROLLINFO info;
            GetControlScrollInfo(bar, info);
            if (m_scroll.Press(this, bar, bar == SB_VERT ? VScrollRect() : HScrollRect(), info, {X, Y})) {
                TWinControl::MouseDown(Button, Shift, X, Y);
                return;
            }
        }
        TGridCoord cell = MouseCoord(X, Y);
        if (cell.X >= m_fixedCols && cell.Y >= m_fixedRows) {
            m_selecting = Shift.Contains(ssShift) && m_options.Contains(goRangeSelect);
            MoveCurrent(cell.X, cell.Y);
            m_selecting = m_options.Contains(goRangeSelect) && !m_options.Contains(goRowSelect);
        }
    }
    TWinControl::MouseDown(Button, Shift, X, Y);
}

void TCustomDrawGrid::MouseMove(TShiftState Shift, int X, int Y) {
    if (m_scroll.Tracking()) {
        m_scroll.Move({X, Y});
    } else if (m_selecting && Shift.Contains(ssLeft)) {
        TGridCoord cell = MouseCoord(X, Y);
        if (cell.X >= m_fixedCols && cell.Y >= m_fixedRows) MoveCurrent(cell.X, cell.Y);
    }
    TWinControl::MouseMove(Shift, X, Y);
}

void TCustomDrawGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft) {
        if (m_scroll.Tracking()) m_scroll.Release({X, Y});
        m_selecting = false;
    }
    TWinControl::MouseUp(Button, Shift, X, Y);
}

// ---- TStringGrid --------------------------------------------------------------------------------

TStringGrid::TStringGrid(TComponent* AOwner) : TDrawGrid(AOwner) {}

TStringGrid::~TStringGrid() = default;

String TStringGrid::Cells(int ACol, int ARow) const {
    if (ACol < 0 || ARow < 0 || ACol >= GetColCount() || ARow >= GetRowCount()) return String();
    if (static_cast<size_t>(ARow) >= m_cells.size()) return String();
    const auto& row = m_cells[static_cast<size_t>(ARow)];
    return static_cast<size_t>(ACol) < row.size() ? row[static_cast<size_t>(ACol)] : String();
}

void TStringGrid::SetCells(int ACol, int ARow, const String& Value) {
    if (ACol < 0 || ARow < 0 || ACol >= GetColCount() || ARow >= GetRowCount()) return;
    if (static_cast<size_t>(ARow) >= m_cells.size()) m_cells.resize(static_cast<size_t>(ARow) + 1);
    auto& row = m_cells[static_cast<size_t>(ARow)];
    if (static_cast<size_t>(ACol) >= row.size()) row.resize(static_cast<size_t>(ACol) + 1);
    row[static_cast<size_t>(ACol)] = Value;
    Invalidate();
}

void TStringGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
    if (GetDefaultDrawing()) {
        TCanvas* c = GetCanvas();
        c->GetBrush()->SetStyle(bsClear);
        c->TextRect(ARect, ARect.Left + 2, ARect.Top + 2, Cells(ACol, ARow));
        c->GetBrush()->SetStyle(bsSolid);
    }
    TDrawGrid::DrawCell(ACol, ARow, ARect, AState);
}
