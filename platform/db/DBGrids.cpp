#include "platform/db/DBGrids.h"

#include <algorithm>

// The grid's view of its data source: the whole data set is its window of records, so grid
// row r + 1 shows record r.
class TDBGrid::TGridDataLink : public TDataLink {
public:
    explicit TGridDataLink(TDBGrid* Grid) : m_grid(Grid) { SetVisualControl(true); }

protected:
    void ActiveChanged() override { m_grid->LinkChanged(); }
    void DataSetChanged() override { m_grid->LinkChanged(); }
    void LayoutChanged() override { m_grid->LinkChanged(); }
    void DataSetScrolled(int) override { m_grid->RecordMoved(); }
    void RecordChanged(TField*) override { m_grid->Invalidate(); }
    void EditingChanged() override { m_grid->Invalidate(); }

private:
    TDBGrid* m_grid;
};

TDBGrid::TDBGrid(TComponent* AOwner)
    : TCustomDrawGrid(AOwner), m_link(std::make_unique<TGridDataLink>(this)), m_titleFont(std::make_unique<TFont>()) {
    SetOptions(TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goTabs, goRowSelect});
    SetDefaultRowHeight(18);
    m_titleFont->OnChange = [this](TObject*) { Invalidate(); };
    LinkChanged();
}

TDBGrid::~TDBGrid() {
    Destroying();
    m_link->SetDataSource(nullptr);
}

TDataSource* TDBGrid::GetDataSource() const { return m_link->GetDataSource(); }

TDataLink* TDBGrid::DataLink() const { return m_link.get(); }

void TDBGrid::SetDataSource(TDataSource* Value) {
    if (TDataSource* old = m_link->GetDataSource()) old->RemoveFreeNotification(this);
    m_link->SetDataSource(Value);
    if (Value != nullptr) Value->FreeNotification(this);
    LinkChanged();
}

void TDBGrid::SetTitleFont(TFont* Value) { m_titleFont->Assign(Value); }

void TDBGrid::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomDrawGrid::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent != nullptr && AComponent == m_link->GetDataSource()) SetDataSource(nullptr);
}

TField* TDBGrid::ColumnField(int ACol) const {
    TDataSet* ds = m_link->GetActive() ? m_link->GetDataSet() : nullptr;
    if (ds == nullptr || ACol < 1 || ACol > ds->GetFieldCount()) return nullptr;
    return ds->Fields(ACol - 1);
}

String TDBGrid::CellText(int ACol, int ARow) const {
    TField* field = ColumnField(ACol);
    if (field == nullptr || ARow < 1 || ARow > m_link->GetRecordCount()) return String();
    // The link's window starts at the first record: grid row r reads record r - 1.
    const int saved = m_link->GetActiveRecord();
    m_link->SetActiveRecord(ARow - 1);
    String text = field->GetDisplayText();
    m_link->SetActiveRecord(saved);
    return text;
}

void TDBGrid::LinkChanged() {
    TDataSet* ds = m_link->GetActive() ? m_link->GetDataSet() : nullptr;
    const int fields = ds != nullptr ? ds->GetFieldCount() : 0;
    const int records = ds != nullptr ? ds->RowCount() : 0;
    m_link->SetBufferCount(std::max(1, records));
    m_syncing = true;
    SetColCount(std::max(2, fields + 1));
    SetRowCount(std::max(2, records + 1));
    SetFixedCols(1);
    SetFixedRows(1);
    SetColWidths(0, IndicatorWidth);
    for (int col = 1; col <= fields; ++col) {
        TField* field = ds->Fields(col - 1);
        const int chars = field->GetDataType() == ftString && field->GetSize() > 0 ? std::min(field->GetSize(), 24) : 12;
        SetColWidths(col, std::max(64, chars * 7));
    }
    m_syncing = false;
    RecordMoved();
    Invalidate();
}

void TDBGrid::RecordMoved() {
    TDataSet* ds = m_link->GetActive() ? m_link->GetDataSet() : nullptr;
    if (ds != nullptr && ds->CurrentRow() >= 0) {
        m_syncing = true;
        SetRow(std::min(ds->CurrentRow() + 1, GetRowCount() - 1));
        m_syncing = false;
    }
    Invalidate();
}

bool TDBGrid::SelectCell(int ACol, int ARow) {
    if (!TCustomDrawGrid::SelectCell(ACol, ARow)) return false;
    if (m_syncing) return true;
    TDataSet* ds = m_link->GetActive() ? m_link->GetDataSet() : nullptr;
    if (ds == nullptr || ds->CurrentRow() < 0) return true;
    const int wanted = ARow - 1;
    ds->MoveBy(wanted - ds->CurrentRow());
    // The grid's row is set from the data set's (RecordMoved); a refused move leaves it.
    return ds->CurrentRow() == wanted;
}

void TDBGrid::DrawIndicator(TCanvas* Canvas, const TRect& Rect) {
    const int cx = (Rect.Left + Rect.Right) / 2 - 1;
    const int cy = (Rect.Top + Rect.Bottom) / 2;
    Canvas->GetBrush()->SetStyle(bsSolid);
    Canvas->GetBrush()->SetColor(clBlack);
    Canvas->GetPen()->SetColor(clBlack);
    Canvas->Polygon({TPoint{cx - 2, cy - 4}, TPoint{cx + 2, cy}, TPoint{cx - 2, cy + 4}});
}

void TDBGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
    if (GetDefaultDrawing()) {
        TCanvas* c = GetCanvas();
        if (ARow == 0) {
            if (TField* field = ColumnField(ACol)) {
                c->SetFont(m_titleFont.get());
                c->GetBrush()->SetStyle(bsClear);
                c->TextRect(ARect, ARect.Left + 2, ARect.Top + 2, field->GetFieldName());
                c->GetBrush()->SetStyle(bsSolid);
            }
        } else if (ACol == 0) {
            TDataSet* ds = m_link->GetActive() ? m_link->GetDataSet() : nullptr;
            if (ds != nullptr && ds->CurrentRow() + 1 == ARow) DrawIndicator(c, ARect);
        } else {
            c->GetBrush()->SetStyle(bsClear);
            c->TextRect(ARect, ARect.Left + 2, ARect.Top + 2, CellText(ACol, ARow));
            c->GetBrush()->SetStyle(bsSolid);
        }
    }
    TCustomDrawGrid::DrawCell(ACol, ARow, ARect, AState);
}
