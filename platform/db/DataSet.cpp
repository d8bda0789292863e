#include "platform/db/DataSet.h"

#include <algorithm>

#include "platform/db/DataSource.h"

namespace {

bool InEditModes(TDataSetState s) { return s == dsEdit || s == dsInsert; }

// Shows another row through the fields for as long as it lives.
class TDisplayRowScope {
public:
    TDisplayRowScope(TDataSet* DataSet, int Row) : m_dataSet(DataSet) { m_dataSet->SetActiveRecordRow(Row); }
    ~TDisplayRowScope() { m_dataSet->SetActiveRecordRow(-1); }
    TDisplayRowScope(const TDisplayRowScope&) = delete;
    TDisplayRowScope& operator=(const TDisplayRowScope&) = delete;

private:
    TDataSet* m_dataSet;
};

std::vector<String> SplitFieldNames(const String& Names) {
    std::vector<String> out;
    size_t start = 0;
    while (start <= Names.size()) {
        size_t end = Names.find(';', start);
        if (end == String::npos) end = Names.size();
        String name = Trim(Names.substr(start, end - start));
        if (!name.empty()) out.push_back(name);
        start = end + 1;
    }
    return out;
}

}  // namespace

TDataSet::TDataSet(TComponent* AOwner) : TComponent(AOwner) {}

TDataSet::~TDataSet() {
    Destroying();
    // A back end closes itself in its own destructor; this only drops what is left.
    if (GetActive()) {
        SetState(dsInactive);
        DestroyFields();
    }
    while (!m_dataSources.empty()) {
        TDataSource* source = m_dataSources.back();
        m_dataSources.pop_back();
        source->m_dataSet = nullptr;
        source->UpdateState();
    }
}

void TDataSet::DatabaseError(const String& Message) const {
    throw EDatabaseError(GetName().empty() ? Message : GetName() + ": " + Message);
}

void TDataSet::CheckActive() const {
    if (!GetActive()) DatabaseError("Cannot perform this operation on a closed data set");
}

void TDataSet::CheckInactive() const {
    if (GetActive()) DatabaseError("Cannot perform this operation on an open data set");
}

void TDataSet::CheckCanModify() const {
    if (!InternalCanModify()) DatabaseError("Cannot modify a read-only data set");
}

void TDataSet::Fire(const TDataSetNotifyEvent& Event) {
    if (Event && !GetComponentState().Contains(csDestroying)) Event(this);
}

// ---- open and close ----

void TDataSet::SetActive(bool v) {
    if (v == GetActive()) return;
    if (v) {
        Fire(BeforeOpen);
        OpenCursor();
        SetState(dsBrowse);
        Fire(AfterOpen);
        if (!IsEmpty()) Fire(AfterScroll);
    } else {
        Fire(BeforeClose);
        SetState(dsInactive);
        // Links must let go of the fields even while controls are disabled.
        if (m_disableCount > 0) NotifyDataSources(deUpdateState, nullptr);
        CloseCursor();
        Fire(AfterClose);
    }
}

void TDataSet::OpenCursor() {
    std::vector<TFieldDef> defs;
    std::vector<TRecord> rows;
    InternalOpen(defs, rows);
    try {
        CreateFields(defs);
    } catch (...) {
        DestroyFields();
        InternalClose();
        throw;
    }
    m_rows = std::move(rows);
    m_recNo = m_rows.empty() ? -1 : 0;
    m_displayRow = -1;
    m_bof = true;
    m_eof = m_rows.empty();
    m_modified = false;
}

void TDataSet::CloseCursor() {
    InternalClose();
    DestroyFields();
    m_rows.clear();
    m_buffer = TRecord{};
    m_changed.clear();
    m_recNo = -1;
    m_displayRow = -1;
    m_bof = m_eof = true;
}

void TDataSet::CreateFields(const std::vector<TFieldDef>& Defs) {
    for (size_t i = 0; i < Defs.size(); ++i) {
        if (FindField(Defs[i].Name)) DatabaseError("Duplicate field name '" + Defs[i].Name + "'");
        m_fields.push_back(CreateField(this, Defs[i], static_cast<int>(i)));
    }
}

void TDataSet::DestroyFields() {
    std::vector<TField*> fields;
    fields.swap(m_fields);
    for (TField* f : fields) delete f;
}

// ---- notifications ----

void TDataSet::AddDataSource(TDataSource* Source) {
    if (std::find(m_dataSources.begin(), m_dataSources.end(), Source) == m_dataSources.end())
        m_dataSources.push_back(Source);
}

void TDataSet::RemoveDataSource(TDataSource* Source) {
    m_dataSources.erase(std::remove(m_dataSources.begin(), m_dataSources.end(), Source), m_dataSources.end());
}

void TDataSet::NotifyDataSources(TDataEvent Event, TField* Field) {
    // A handler may unlink a source; only those still linked hear the event.
    auto sources = m_dataSources;
    for (TDataSource* s : sources)
        if (std::find(m_dataSources.begin(), m_dataSources.end(), s) != m_dataSources.end()) s->DataEvent(Event, Field);
}

void TDataSet::DataEvent(TDataEvent Event, TField* Field) {
    if (m_disableCount == 0)
        NotifyDataSources(Event, Field);
    else if ((Event == deUpdateState && m_state == dsInactive) || Event == deLayoutChange)
        m_enableEvent = deLayoutChange;
}

void TDataSet::SetState(TDataSetState Value) {
    if (m_state == Value) return;
    m_state = Value;
    m_modified = false;
    DataEvent(deUpdateState);
}

void TDataSet::DisableControls() {
    if (m_disableCount == 0) {
        m_disableState = m_state;
        m_enableEvent = deDataSetChange;
    }
    ++m_disableCount;
}

void TDataSet::EnableControls() {
    if (m_disableCount == 0) return;
    if (--m_disableCount > 0) return;
    if (m_disableState != m_state) DataEvent(deUpdateState);
    if (m_disableState != dsInactive && m_state != dsInactive) DataEvent(m_enableEvent);
}

// ---- moving ----

bool TDataSet::IsEmpty() const { return m_rows.empty(); }

int TDataSet::GetRecordCount() const {
    int n = static_cast<int>(m_rows.size());
    return m_state == dsInsert ? n - 1 : n;
}

int TDataSet::GetRecNo() const {
    if (!GetActive() || m_recNo < 0 || m_state == dsInsert) return -1;
    return m_recNo + 1;
}

void TDataSet::SetRecNo(int v) {
    CheckBrowseMode();
    if (m_rows.empty()) return;
    int target = std::clamp(v - 1, 0, static_cast<int>(m_rows.size()) - 1);
    if (target == m_recNo) return;
    Fire(BeforeScroll);
    m_recNo = target;
    m_bof = m_eof = false;
    DataEvent(deDataSetScroll);
    Fire(AfterScroll);
}

void TDataSet::SetCursor(int Row) {
    m_recNo = m_rows.empty() ? -1 : std::clamp(Row, 0, static_cast<int>(m_rows.size()) - 1);
}

void TDataSet::First() {
    CheckBrowseMode();
    Fire(BeforeScroll);
    SetCursor(0);
    m_bof = true;
    m_eof = m_rows.empty();
    DataEvent(deDataSetChange);
    Fire(AfterScroll);
}

void TDataSet::Last() {
    CheckBrowseMode();
    Fire(BeforeScroll);
    SetCursor(static_cast<int>(m_rows.size()) - 1);
    m_eof = true;
    m_bof = m_rows.empty();
    DataEvent(deDataSetChange);
    Fire(AfterScroll);
}

int TDataSet::MoveBy(int Distance) {
    CheckBrowseMode();
    Fire(BeforeScroll);
    if (!((Distance > 0 && !m_eof) || (Distance < 0 && !m_bof))) return 0;
    m_bof = m_eof = false;
    const int last = static_cast<int>(m_rows.size()) - 1;
    // Distances near INT_MAX must not overflow.
    long long target = static_cast<long long>(m_recNo) + Distance;
    if (target > last) { target = last; m_eof = true; }
    if (target < 0) { target = 0; m_bof = true; }
    const int moved = static_cast<int>(target) - m_recNo;
    m_recNo = static_cast<int>(target);
    DataEvent(deDataSetScroll);
    Fire(AfterScroll);
    return moved;
}

// ---- editing ----

void TDataSet::CheckBrowseMode() {
    CheckActive();
    DataEvent(deCheckBrowseMode);
    if (!InEditModes(m_state)) return;
    UpdateRecord();
    if (m_modified)
        Post();
    else
        Cancel();
}

void TDataSet::UpdateRecord() {
    if (!InEditModes(m_state)) DatabaseError("Not in edit or insert mode");
    DataEvent(deUpdateRecord);
}

void TDataSet::Edit() {
    CheckActive();
    if (InEditModes(m_state)) return;
    if (m_rows.empty()) {
        Insert();
        return;
    }
    CheckCanModify();
    Fire(BeforeEdit);
    m_buffer = m_rows[static_cast<size_t>(m_recNo)];
    m_changed.assign(m_fields.size(), false);
    SetState(dsEdit);
    DataEvent(deRecordChange);
    Fire(AfterEdit);
}

void TDataSet::Insert() {
    CheckBrowseMode();
    CheckCanModify();
    Fire(BeforeInsert);
    Fire(BeforeScroll);
    BeginInsert(m_recNo < 0 ? 0 : m_recNo);
}

void TDataSet::Append() {
    CheckBrowseMode();
    CheckCanModify();
    Fire(BeforeInsert);
    Fire(BeforeScroll);
    BeginInsert(static_cast<int>(m_rows.size()));
}

void TDataSet::BeginInsert(int Row) {
    const bool wasBof = m_bof, wasEof = m_eof;
    const int wasRecNo = m_recNo;
    TRecord blank;
    blank.Values.resize(m_fields.size());
    m_rows.insert(m_rows.begin() + Row, blank);
    m_recNo = Row;
    m_buffer = blank;
    m_changed.assign(m_fields.size(), false);
    m_bof = false;
    m_eof = Row == static_cast<int>(m_rows.size()) - 1 && Row > 0;
    SetState(dsInsert);
    try {
        Fire(OnNewRecord);
    } catch (...) {
        m_rows.erase(m_rows.begin() + Row);
        m_recNo = wasRecNo;
        m_bof = wasBof;
        m_eof = wasEof;
        SetState(dsBrowse);
        DataEvent(deDataSetChange);
        throw;
    }
    m_insertFrom = {wasRecNo, wasBof, wasEof};
    DataEvent(deDataSetChange);
    Fire(AfterInsert);
    Fire(AfterScroll);
}

void TDataSet::CheckRequiredFields() const {
    for (TField* f : m_fields)
        if (f->GetRequired() && f->IsNull()) DatabaseError("Field '" + f->GetFieldName() + "' must have a value");
}

void TDataSet::Post() {
    CheckActive();
    UpdateRecord();
    DataEvent(deCheckBrowseMode);
    Fire(BeforePost);
    CheckRequiredFields();
    const bool inserting = m_state == dsInsert;
    const bool changed = std::find(m_changed.begin(), m_changed.end(), true) != m_changed.end();
    TRecord written = m_buffer;
    if (inserting || changed) InternalPost(written, m_changed, inserting);
    m_rows[static_cast<size_t>(m_recNo)] = std::move(written);
    m_buffer = TRecord{};
    if (inserting) m_bof = m_eof = false;
    SetState(dsBrowse);
    DataEvent(deDataSetChange);
    Fire(AfterPost);
}

void TDataSet::Cancel() {
    if (!InEditModes(m_state)) return;
    DataEvent(deCheckBrowseMode);
    Fire(BeforeCancel);
    if (m_state == dsInsert) {
        m_rows.erase(m_rows.begin() + m_recNo);
        SetCursor(m_insertFrom.RecNo);
        m_bof = m_insertFrom.Bof || m_rows.empty();
        m_eof = m_insertFrom.Eof || m_rows.empty();
    }
    m_buffer = TRecord{};
    SetState(dsBrowse);
    DataEvent(deDataSetChange);
    Fire(AfterCancel);
}

void TDataSet::Delete() {
    CheckActive();
    if (m_state == dsInsert) {
        Cancel();
        return;
    }
    if (m_rows.empty()) DatabaseError("Cannot perform this operation on an empty data set");
    CheckCanModify();
    DataEvent(deCheckBrowseMode);
    Fire(BeforeDelete);
    Fire(BeforeScroll);
    InternalDelete(m_rows[static_cast<size_t>(m_recNo)]);
    m_rows.erase(m_rows.begin() + m_recNo);
    SetCursor(m_recNo);
    m_buffer = TRecord{};
    m_bof = m_eof = m_rows.empty();
    SetState(dsBrowse);
    DataEvent(deDataSetChange);
    Fire(AfterDelete);
    Fire(AfterScroll);
}

void TDataSet::Refresh() {
    CheckBrowseMode();
    Fire(BeforeRefresh);
    std::vector<TRecord> rows;
    InternalRefresh(rows);
    const Int64 key = m_recNo >= 0 ? m_rows[static_cast<size_t>(m_recNo)].Key : 0;
    const int oldRow = m_recNo;
    m_rows = std::move(rows);
    auto same = std::find_if(m_rows.begin(), m_rows.end(), [key](const TRecord& r) { return r.Key == key; });
    SetCursor(same != m_rows.end() ? static_cast<int>(same - m_rows.begin()) : oldRow);
    const int last = static_cast<int>(m_rows.size()) - 1;
    m_bof = m_rows.empty() || (m_bof && m_recNo == 0);
    m_eof = m_rows.empty() || (m_eof && m_recNo == last);
    DataEvent(deDataSetChange);
    Fire(AfterRefresh);
}

// ---- fields ----

TField* TDataSet::FindField(const String& FieldName) const {
    for (TField* f : m_fields)
        if (AnsiSameText(f->GetFieldName(), FieldName)) return f;
    return nullptr;
}

TField* TDataSet::FieldByName(const String& FieldName) const {
    TField* f = FindField(FieldName);
    if (!f) DatabaseError("Field '" + FieldName + "' not found");
    return f;
}

void TDataSet::CheckFieldWritable(const TField* Field) const {
    if (!InEditModes(m_state)) DatabaseError("Not in edit or insert mode");
    if (Field->GetReadOnly()) DatabaseError("Field '" + Field->GetFieldName() + "' cannot be modified");
}

TFieldValue TDataSet::GetFieldValue(int FieldNo) const {
    const int row = m_displayRow >= 0 ? m_displayRow : m_recNo;
    if (row < 0 || row >= static_cast<int>(m_rows.size()) || FieldNo < 0) return {};
    const TRecord& r = row == m_recNo && InEditModes(m_state) ? m_buffer : m_rows[static_cast<size_t>(row)];
    return static_cast<size_t>(FieldNo) < r.Values.size() ? r.Values[static_cast<size_t>(FieldNo)] : TFieldValue{};
}

void TDataSet::SetFieldValue(TField* Field, const TFieldValue& v) {
    CheckFieldWritable(Field);
    const auto n = static_cast<size_t>(Field->GetFieldNo());
    m_buffer.Values.at(n) = v;
    m_changed.at(n) = true;
    m_modified = true;
    DataEvent(deFieldChange, Field);
}

bool TDataSet::RecordMatches(int Row, const std::vector<TField*>& Fields, const std::vector<String>& Values,
                             TLocateOptions Options) const {
    TDisplayRowScope scope(const_cast<TDataSet*>(this), Row);
    for (size_t i = 0; i < Fields.size(); ++i) {
        String have = Fields[i]->GetAsString();
        String want = Values[i];
        if (Options.Contains(loCaseInsensitive)) {
            have = AnsiUpperCase(have);
            want = AnsiUpperCase(want);
        }
        if (Options.Contains(loPartialKey) ? have.compare(0, want.size(), want) != 0 : have != want) return false;
    }
    return true;
}

bool TDataSet::Locate(const String& KeyFields, const std::vector<String>& KeyValues, TLocateOptions Options) {
    CheckBrowseMode();
    std::vector<TField*> fields;
    for (const String& name : SplitFieldNames(KeyFields)) fields.push_back(FieldByName(name));
    if (fields.empty() || fields.size() != KeyValues.size())
        DatabaseError("Locate needs one value for each of its fields");
    for (int row = 0; row < static_cast<int>(m_rows.size()); ++row) {
        if (!RecordMatches(row, fields, KeyValues, Options)) continue;
        Fire(BeforeScroll);
        m_recNo = row;
        m_bof = m_eof = false;
        DataEvent(deDataSetChange);
        Fire(AfterScroll);
        return true;
    }
    return false;
}
