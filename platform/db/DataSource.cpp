#include "platform/db/DataSource.h"

#include <algorithm>

namespace {

bool InEditModes(TDataSetState s) { return s == dsEdit || s == dsInsert; }

}  // namespace

// ---- TDataSource ----

TDataSource::TDataSource(TComponent* AOwner) : TComponent(AOwner) {}

TDataSource::~TDataSource() {
    Destroying();
    while (!m_dataLinks.empty()) RemoveDataLink(m_dataLinks.back());
    SetDataSet(nullptr);
}

void TDataSource::SetDataSet(TDataSet* Value) {
    if (Value == m_dataSet) return;
    if (m_dataSet) {
        // Links hear the old set go before the new one comes, even when both are open.
        TDataSet* old = m_dataSet;
        old->RemoveDataSource(this);
        old->RemoveFreeNotification(this);
        RemoveFreeNotification(old);
        m_dataSet = nullptr;
        UpdateState();
    }
    if (Value) {
        m_dataSet = Value;
        Value->AddDataSource(this);
        Value->FreeNotification(this);
        UpdateState();
    }
}

void TDataSource::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == m_dataSet) SetDataSet(nullptr);
}

void TDataSource::SetEnabled(bool v) {
    if (v == m_enabled) return;
    m_enabled = v;
    UpdateState();
}

void TDataSource::Edit() {
    if (m_autoEdit && m_state == dsBrowse && m_dataSet) m_dataSet->Edit();
}

void TDataSource::AddDataLink(TDataLink* Link) {
    m_dataLinks.push_back(Link);
    Link->m_dataSource = this;
    Link->UpdateState();
}

void TDataSource::RemoveDataLink(TDataLink* Link) {
    Link->m_dataSource = nullptr;
    m_dataLinks.erase(std::remove(m_dataLinks.begin(), m_dataLinks.end(), Link), m_dataLinks.end());
    Link->UpdateState();
}

void TDataSource::NotifyDataLinks(TDataEvent Event, TField* Field) {
    // A handler may unlink a link; only those still linked hear the event.
    auto links = m_dataLinks;
    for (TDataLink* l : links)
        if (std::find(m_dataLinks.begin(), m_dataLinks.end(), l) != m_dataLinks.end()) l->DataEvent(Event, Field);
}

void TDataSource::UpdateState() {
    TDataSetState state = m_enabled && m_dataSet ? m_dataSet->GetState() : dsInactive;
    if (state == m_state) return;
    const TDataSetState prior = m_state;
    m_state = state;
    NotifyDataLinks(deUpdateState, nullptr);
    if (GetComponentState().Contains(csDestroying)) return;
    if (OnStateChange) OnStateChange(this);
    if (prior == dsInactive && OnDataChange) OnDataChange(this, nullptr);
}

void TDataSource::DataEvent(TDataEvent Event, TField* Field) {
    if (Event == deUpdateState) {
        UpdateState();
        return;
    }
    if (m_state == dsInactive) return;
    NotifyDataLinks(Event, Field);
    switch (Event) {
    case deFieldChange:
    case deRecordChange:
    case deDataSetChange:
    case deDataSetScroll:
    case deLayoutChange:
        if (OnDataChange) OnDataChange(this, Event == deFieldChange ? Field : nullptr);
        break;
    case deUpdateRecord:
        if (OnUpdateData) OnUpdateData(this);
        break;
    default:
        break;
    }
}

// ---- TDataLink ----

TDataLink::TDataLink() = default;

TDataLink::~TDataLink() {
    m_dataSourceFixed = false;
    if (m_dataSource) m_dataSource->RemoveDataLink(this);
}

void TDataLink::SetDataSource(TDataSource* Value) {
    if (Value == m_dataSource) return;
    if (m_dataSourceFixed) throw EDatabaseError("The data source of this link cannot be changed now");
    if (m_dataSource) m_dataSource->RemoveDataLink(this);
    if (Value) Value->AddDataLink(this);
}

void TDataLink::SetReadOnly(bool v) {
    if (v == m_readOnly) return;
    m_readOnly = v;
    UpdateState();
}

void TDataLink::UpdateState() {
    const TDataSetState state = m_dataSource ? m_dataSource->GetState() : dsInactive;
    SetActive(state != dsInactive);
    SetEditing(InEditModes(state) && !m_readOnly);
}

void TDataLink::SetActive(bool v) {
    if (v == m_active) return;
    m_active = v;
    if (v)
        UpdateRange();
    else
        m_firstRecord = 0;
    ActiveChanged();
}

void TDataLink::SetEditing(bool v) {
    if (v == m_editing) return;
    m_editing = v;
    EditingChanged();
}

void TDataLink::DataEvent(TDataEvent Event, TField* Field) {
    if (Event == deUpdateState) {
        UpdateState();
        return;
    }
    if (!m_active) return;
    switch (Event) {
    case deFieldChange:
    case deRecordChange:
        if (!m_updating) RecordChanged(Field);
        break;
    case deDataSetChange:
    case deDataSetScroll:
    case deLayoutChange: {
        const int distance = UpdateRange();
        if (Event == deDataSetScroll)
            DataSetScrolled(distance);
        else if (Event == deLayoutChange)
            LayoutChanged();
        else
            DataSetChanged();
        break;
    }
    case deUpdateRecord:
        UpdateRecord();
        break;
    case deCheckBrowseMode:
        CheckBrowseMode();
        break;
    default:
        break;
    }
}

int TDataLink::UpdateRange() {
    TDataSet* ds = GetDataSet();
    if (!ds) return 0;
    const int old = m_firstRecord;
    const int current = ds->CurrentRow();
    if (current < 0) {
        m_firstRecord = 0;
    } else {
        if (current < m_firstRecord) m_firstRecord = current;
        if (current >= m_firstRecord + m_bufferCount) m_firstRecord = current - m_bufferCount + 1;
    }
    m_firstRecord = std::clamp(m_firstRecord, 0, std::max(0, ds->RowCount() - m_bufferCount));
    return m_firstRecord - old;
}

void TDataLink::SetBufferCount(int v) {
    m_bufferCount = std::max(1, v);
    if (m_active) UpdateRange();
}

int TDataLink::GetActiveRecord() const {
    TDataSet* ds = GetDataSet();
    if (!ds || !m_active || ds->CurrentRow() < 0) return 0;
    return ds->CurrentRow() - m_firstRecord;
}

void TDataLink::SetActiveRecord(int v) {
    TDataSet* ds = GetDataSet();
    if (!ds || !m_active) return;
    const int row = m_firstRecord + v;
    ds->SetActiveRecordRow(row == ds->CurrentRow() ? -1 : row);
}

int TDataLink::GetRecordCount() const {
    TDataSet* ds = GetDataSet();
    if (!ds || !m_active) return 0;
    return std::clamp(ds->RowCount() - m_firstRecord, 0, m_bufferCount);
}

bool TDataLink::Edit() {
    if (!m_readOnly && m_dataSource) m_dataSource->Edit();
    return m_editing;
}

void TDataLink::UpdateRecord() {
    m_updating = true;
    try {
        UpdateData();
    } catch (...) {
        m_updating = false;
        throw;
    }
    m_updating = false;
}

void TDataLink::DataSetChanged() { RecordChanged(nullptr); }

void TDataLink::DataSetScrolled(int) { DataSetChanged(); }

// ---- TFieldDataLink ----

void TFieldDataLink::SetFieldName(const String& Value) {
    if (Value == m_fieldName) return;
    m_fieldName = Value;
    UpdateField();
}

bool TFieldDataLink::GetCanModify() const { return !GetReadOnly() && m_field && m_field->GetCanModify(); }

bool TFieldDataLink::Edit() {
    if (GetCanModify()) TDataLink::Edit();
    return m_fieldEditing;
}

void TFieldDataLink::UpdateField() {
    TDataSet* ds = GetDataSet();
    if (GetActive() && ds && !m_fieldName.empty()) {
        // Cleared first, so that rebinding the same field still tells the control. A name the
        // data set lacks binds nothing, and the control shows no value.
        m_field = nullptr;
        SetField(ds->FindField(m_fieldName));
    } else {
        SetField(nullptr);
    }
}

void TFieldDataLink::SetField(TField* Value) {
    if (Value == m_field) return;
    m_field = Value;
    EditingChanged();
    RecordChanged(nullptr);
}

void TFieldDataLink::ActiveChanged() {
    UpdateField();
    if (OnActiveChange) OnActiveChange(this);
}

void TFieldDataLink::EditingChanged() { SetFieldEditing(TDataLink::GetEditing() && GetCanModify()); }

void TFieldDataLink::SetFieldEditing(bool v) {
    if (v == m_fieldEditing) return;
    m_fieldEditing = v;
    m_modified = false;
    if (OnEditingChange) OnEditingChange(this);
}

void TFieldDataLink::RecordChanged(TField* Field) {
    if (Field && Field != m_field) return;
    if (OnDataChange) OnDataChange(this);
    m_modified = false;
}

void TFieldDataLink::UpdateData() {
    if (!m_modified) return;
    if (m_field && OnUpdateData) OnUpdateData(this);
    m_modified = false;
}
