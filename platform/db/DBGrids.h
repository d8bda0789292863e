// TDBGrid: the records of a data source as grid rows, one column per field, a title row with
// the field names and an indicator column marking the current record.
//
//   auto* Grid = new TDBGrid(Form);
//   Grid->SetParent(Form);
//   Grid->SetDataSource(Source);      // free notification: a freed source unlinks itself
//   Table->Next();                    // the grid's current row follows
//   ... a person clicks a row or presses Down: the data set moves there ...
//
// Grid row r (r >= 1) shows record r of the data set; the grid's Row is the current record.
// The grid only shows and moves: values are edited in the field-bound controls.
#pragma once

#include <memory>

#include "platform/db/DataSource.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/Grids.h"

class TDBGrid : public TCustomDrawGrid {
    VCL_CLASS(TDBGrid)
    explicit TDBGrid(TComponent* AOwner);
    ~TDBGrid() override;

    TDataSource* GetDataSource() const;
    // Asks the new source for free notification.
    void SetDataSource(TDataSource* Value);
    TDataLink* DataLink() const;
    // The title row's font (the field names).
    TFont* GetTitleFont() const { return m_titleFont.get(); }
    void SetTitleFont(TFont* Value);
    // The field a grid column shows (column 0 is the indicator), or null.
    TField* ColumnField(int ACol) const;
    // The text of a data cell as it is drawn ("" for the title, indicator and cells past the data).
    String CellText(int ACol, int ARow) const;
    // Width of the indicator column.
    static constexpr int IndicatorWidth = 11;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
    // Moving to another row moves the data set there (refused when the move is).
    bool SelectCell(int ACol, int ARow) override;
    // Draws the indicator triangle of the current record into Rect.
    void DrawIndicator(TCanvas* Canvas, const TRect& Rect);

private:
    class TGridDataLink;
    friend class TGridDataLink;
    // The columns, rows and current row follow the data set.
    void LinkChanged();
    void RecordMoved();

    std::unique_ptr<TGridDataLink> m_link;
    std::unique_ptr<TFont> m_titleFont;
    bool m_syncing = false;
};
