// TDataSet: a cursor over the rows of a store, with the current record's fields, the edit
// states and the notifications that data sources pass on to their links.
//
//   ds->Open();                       // dsBrowse on the first record (BOF)
//   ds->Next(); ... ds->GetEOF();
//   ds->Edit(); ds->FieldByName("name")->SetAsString("x"); ds->Post();   // or Cancel()
//   ds->Close();
//
// Every operation either completes or leaves the data set (state, position, typed values) and
// the store as they were: a failing Post stays in dsEdit or dsInsert with the typed values, a
// failing Delete keeps the record, a move that must post first and cannot does not move.
// A back end derives from TDataSet and gives the Internal* operations; the data set keeps a copy
// of the rows it read and sends every change to the store through InternalPost/InternalDelete.
#pragma once

#include <functional>
#include <vector>

#include "platform/db/Fields.h"

class TDataSource;

enum TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };

enum TDataEvent {
    deFieldChange, deRecordChange, deDataSetChange, deDataSetScroll, deLayoutChange, deUpdateRecord,
    deUpdateState, deCheckBrowseMode
};

enum class TLocateOption { loCaseInsensitive, loPartialKey };
using TLocateOptions = Set<TLocateOption>;
constexpr TLocateOption loCaseInsensitive = TLocateOption::loCaseInsensitive;
constexpr TLocateOption loPartialKey = TLocateOption::loPartialKey;

using TDataSetNotifyEvent = std::function<void(TDataSet* DataSet)>;

// One row as the data set holds it; Key identifies it in the store (a rowid), 0 for a new one.
struct TRecord {
    std::vector<TFieldValue> Values;
    Int64 Key = 0;
};

class TDataSet : public TComponent {
    VCL_CLASS(TDataSet)
    explicit TDataSet(TComponent* AOwner);
    ~TDataSet() override;

    void Open() { SetActive(true); }
    void Close() { SetActive(false); }
    bool GetActive() const { return m_state != dsInactive; }
    void SetActive(bool v);
    TDataSetState GetState() const { return m_state; }

    // Moving first posts a pending edit (or cancels an unchanged one), as CheckBrowseMode does.
    void First();
    void Last();
    void Next() { MoveBy(1); }
    void Prior() { MoveBy(-1); }
    // Moves up to Distance records and answers how many it moved; sets EOF or BOF at an end.
    int MoveBy(int Distance);
    bool GetBOF() const { return m_bof; }
    bool GetEOF() const { return m_eof; }
    bool IsEmpty() const;
    // Rows in the store as read, without a record being inserted.
    int GetRecordCount() const;
    // 1-based number of the current record; -1 when there is none or while inserting.
    int GetRecNo() const;
    void SetRecNo(int v);

    void Insert();
    void Append();
    // On an empty data set, Edit inserts.
    void Edit();
    void Post();
    void Cancel();
    void Delete();
    // Re-reads the store, keeping the current record when it is still there.
    void Refresh();
    bool GetCanModify() const { return GetActive() && InternalCanModify(); }
    bool GetModified() const { return m_modified; }

    int GetFieldCount() const { return static_cast<int>(m_fields.size()); }
    TField* Fields(int Index) const { return m_fields.at(static_cast<size_t>(Index)); }
    // Without case; FieldByName raises EDatabaseError for a missing field, FindField answers null.
    TField* FieldByName(const String& FieldName) const;
    TField* FindField(const String& FieldName) const;
    // Moves to the first record whose KeyFields (";"-separated) hold KeyValues, compared as text.
    bool Locate(const String& KeyFields, const std::vector<String>& KeyValues, TLocateOptions Options = {});
    // Asks the links to write their controls' values into the fields.
    void UpdateRecord();
    // In dsEdit or dsInsert: posts when something changed, cancels otherwise.
    void CheckBrowseMode();
    // Nested; while disabled, links hear nothing, and EnableControls tells them all at once.
    void DisableControls();
    void EnableControls();
    bool ControlsDisabled() const { return m_disableCount > 0; }

    // Raises EDatabaseError unless a value can be written into Field now.
    void CheckFieldWritable(const TField* Field) const;
    // The value of a field in the record the fields show (see SetActiveRecordRow).
    TFieldValue GetFieldValue(int FieldNo) const;
    void SetFieldValue(TField* Field, const TFieldValue& v);
    // The row the fields read, for a link that walks its buffer (a grid painting its rows);
    // -1 returns them to the current record.
    void SetActiveRecordRow(int Row) { m_displayRow = Row; }
    // 0-based index of the current record among the rows, -1 when there is none.
    int CurrentRow() const { return m_recNo; }
    int RowCount() const { return static_cast<int>(m_rows.size()); }

    TDataSetNotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose;
    TDataSetNotifyEvent BeforeInsert, AfterInsert, BeforeEdit, AfterEdit;
    TDataSetNotifyEvent BeforePost, AfterPost, BeforeCancel, AfterCancel;
    TDataSetNotifyEvent BeforeDelete, AfterDelete, BeforeScroll, AfterScroll;
    TDataSetNotifyEvent BeforeRefresh, AfterRefresh, OnNewRecord;

protected:
    // The back end. InternalOpen describes the columns and reads every row; it raises when the
    // store cannot be opened.
    virtual void InternalOpen(std::vector<TFieldDef>& Defs, std::vector<TRecord>& Rows) = 0;
    virtual void InternalClose() {}
    virtual void InternalRefresh(std::vector<TRecord>& Rows) = 0;
    // Writes the Changed fields of Record (a new row when Inserting) and leaves in Record what
    // the store now holds, its Key included. On failure it raises and the store is unchanged.
    virtual void InternalPost(TRecord& Record, const std::vector<bool>& Changed, bool Inserting) = 0;
    // Removes Record from the store, or raises and leaves the store unchanged.
    virtual void InternalDelete(const TRecord& Record) = 0;
    virtual bool InternalCanModify() const = 0;

    // An EDatabaseError whose text starts with this data set's name, as the class library words it.
    [[noreturn]] void DatabaseError(const String& Message) const;
    void CheckActive() const;
    void CheckInactive() const;

private:
    friend class TDataSource;
    void AddDataSource(TDataSource* Source);
    void RemoveDataSource(TDataSource* Source);
    void DataEvent(TDataEvent Event, TField* Field = nullptr);
    void NotifyDataSources(TDataEvent Event, TField* Field);
    void SetState(TDataSetState Value);

    void OpenCursor();
    void CloseCursor();
    void CreateFields(const std::vector<TFieldDef>& Defs);
    void DestroyFields();
    void CheckCanModify() const;
    void CheckRequiredFields() const;
    void BeginInsert(int Row);
    void Fire(const TDataSetNotifyEvent& Event);
    // Places the cursor on Row, clamped to the rows there are.
    void SetCursor(int Row);
    bool RecordMatches(int Row, const std::vector<TField*>& Fields, const std::vector<String>& Values,
                       TLocateOptions Options) const;

    TDataSetState m_state = dsInactive;
    std::vector<TField*> m_fields;
    std::vector<TRecord> m_rows;
    TRecord m_buffer;              // the record being edited or inserted
    std::vector<bool> m_changed;   // which of m_buffer's fields were written
    struct TInsertOrigin {
        int RecNo = -1;
        bool Bof = true;
        bool Eof = true;
    } m_insertFrom;                // where Cancel of an insert returns to
    int m_recNo = -1;
    int m_displayRow = -1;
    bool m_bof = true;
    bool m_eof = true;
    bool m_modified = false;
    int m_disableCount = 0;
    TDataSetState m_disableState = dsInactive;
    TDataEvent m_enableEvent = deDataSetChange;
    std::vector<TDataSource*> m_dataSources;
};
