// TDataSource joins a data set to the links of data-aware controls; TDataLink is one control's
// view of it, and TFieldDataLink a link bound to one field.
//
//   source->SetDataSet(table);             // free notification: a freed table unlinks itself
//   link->SetDataSource(source);           // ActiveChanged when the table opens or closes
//   link->SetFieldName("name");            // TFieldDataLink: OnDataChange shows the value,
//   link->Edit(); link->Modified();        // the control's typing puts the data set into dsEdit
//   table->Post();                         // asks OnUpdateData of modified links, then writes
//
// A data set's change reaches each source and then each of its links in the order they were
// linked: state changes first (ActiveChanged, EditingChanged, then the source's OnStateChange),
// then the data change (DataSetChanged, DataSetScrolled, RecordChanged; OnDataChange).
#pragma once

#include <vector>

#include "platform/db/DataSet.h"

class TDataLink;

using TDataChangeEvent = std::function<void(TObject* Sender, TField* Field)>;

class TDataSource : public TComponent {
    VCL_CLASS(TDataSource)
    explicit TDataSource(TComponent* AOwner);
    ~TDataSource() override;

    TDataSet* GetDataSet() const { return m_dataSet; }
    void SetDataSet(TDataSet* Value);
    // The data set's state, or dsInactive while disabled or without a data set.
    TDataSetState GetState() const { return m_state; }
    bool GetEnabled() const { return m_enabled; }
    void SetEnabled(bool v);
    // When true (the default), a link's Edit puts a browsing data set into dsEdit.
    bool GetAutoEdit() const { return m_autoEdit; }
    void SetAutoEdit(bool v) { m_autoEdit = v; }
    void Edit();

    TDataChangeEvent OnDataChange;
    TNotifyEvent OnStateChange;
    TNotifyEvent OnUpdateData;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TDataSet;
    friend class TDataLink;
    void AddDataLink(TDataLink* Link);
    void RemoveDataLink(TDataLink* Link);
    void DataEvent(TDataEvent Event, TField* Field);
    void NotifyDataLinks(TDataEvent Event, TField* Field);
    void UpdateState();

    TDataSet* m_dataSet = nullptr;
    TDataSetState m_state = dsInactive;
    bool m_enabled = true;
    bool m_autoEdit = true;
    std::vector<TDataLink*> m_dataLinks;
};

class TDataLink : public TPersistent {
    VCL_CLASS(TDataLink)
    TDataLink();
    ~TDataLink() override;

    TDataSource* GetDataSource() const { return m_dataSource; }
    void SetDataSource(TDataSource* Value);
    TDataSet* GetDataSet() const { return m_dataSource ? m_dataSource->GetDataSet() : nullptr; }
    // A control may fix its source while it is being loaded.
    bool GetDataSourceFixed() const { return m_dataSourceFixed; }
    void SetDataSourceFixed(bool v) { m_dataSourceFixed = v; }
    bool GetActive() const { return m_active; }
    // The data set is in dsEdit or dsInsert and this link is not read-only.
    bool GetEditing() const { return m_editing; }
    bool GetReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool v);
    // Marks a link that belongs to a control the user sees.
    bool GetVisualControl() const { return m_visualControl; }
    void SetVisualControl(bool v) { m_visualControl = v; }

    // The window of records this link shows: BufferCount rows from the first one, the current
    // record at ActiveRecord. Setting ActiveRecord makes the fields read that row until it is
    // set back (the current record's index).
    int GetBufferCount() const { return m_bufferCount; }
    void SetBufferCount(int v);
    int GetActiveRecord() const;
    void SetActiveRecord(int v);
    // Rows in the window (fewer than BufferCount near the end of the data).
    int GetRecordCount() const;

    // Puts the data set into dsEdit (through the source's AutoEdit); answers Editing.
    bool Edit();
    // Lets the control write its value into the field (UpdateData), without hearing it back.
    void UpdateRecord();

protected:
    virtual void ActiveChanged() {}
    virtual void CheckBrowseMode() {}
    virtual void DataSetChanged();
    virtual void DataSetScrolled(int Distance);
    virtual void EditingChanged() {}
    virtual void LayoutChanged() { DataSetChanged(); }
    virtual void RecordChanged(TField*) {}
    virtual void UpdateData() {}

private:
    friend class TDataSource;
    void DataEvent(TDataEvent Event, TField* Field);
    void UpdateState();
    void SetActive(bool v);
    void SetEditing(bool v);
    // Keeps the current record inside the window; answers how far the window moved.
    int UpdateRange();

    TDataSource* m_dataSource = nullptr;
    bool m_dataSourceFixed = false;
    bool m_active = false;
    bool m_editing = false;
    bool m_readOnly = false;
    bool m_updating = false;
    bool m_visualControl = false;
    int m_bufferCount = 1;
    int m_firstRecord = 0;
};

class TFieldDataLink : public TDataLink {
    VCL_CLASS(TFieldDataLink)
    TFieldDataLink() = default;

    const String& GetFieldName() const { return m_fieldName; }
    void SetFieldName(const String& Value);
    // The bound field while the data set is open and has it, otherwise null.
    TField* GetField() const { return m_field; }
    TComponent* GetControl() const { return m_control; }
    void SetControl(TComponent* v) { m_control = v; }
    // The link is not read-only and has a field that can be modified.
    bool GetCanModify() const;
    bool GetModified() const { return m_modified; }
    // Editing, and the field can be modified (hides the plain link's answer).
    bool GetEditing() const { return m_fieldEditing; }
    // The control's value differs from the field's: UpdateRecord will ask OnUpdateData.
    void Modified() { m_modified = true; }
    // Shows the field's value again, forgetting the control's.
    void Reset() { RecordChanged(nullptr); }
    bool Edit();

    TNotifyEvent OnDataChange;
    TNotifyEvent OnEditingChange;
    TNotifyEvent OnUpdateData;
    TNotifyEvent OnActiveChange;

protected:
    void ActiveChanged() override;
    void EditingChanged() override;
    void LayoutChanged() override { UpdateField(); }
    void RecordChanged(TField* Field) override;
    void UpdateData() override;

private:
    void UpdateField();
    void SetField(TField* Value);
    void SetFieldEditing(bool v);

    String m_fieldName;
    TField* m_field = nullptr;
    TComponent* m_control = nullptr;
    bool m_fieldEditing = false;
    bool m_modified = false;
};
