#include "platform/db/MemoryDataSet.h"

#include <algorithm>

TMemoryDataSet::TMemoryDataSet(TComponent* AOwner) : TDataSet(AOwner) {}

TMemoryDataSet::~TMemoryDataSet() {
    Destroying();
    Close();
}

void TMemoryDataSet::AddFieldDef(const String& Name, TFieldType DataType, int Size, bool Required) {
    CheckInactive();
    TFieldDef def;
    def.Name = Name;
    def.DataType = DataType;
    def.Size = Size;
    def.Required = Required;
    m_defs.push_back(def);
    for (TRecord& r : m_store) r.Values.emplace_back();
}

void TMemoryDataSet::ClearFieldDefs() {
    CheckInactive();
    m_defs.clear();
    m_store.clear();
}

void TMemoryDataSet::AppendStoreRow(const std::vector<TFieldValue>& Values) {
    if (Values.size() > m_defs.size()) throw EDatabaseError("More values than fields");
    TRecord row;
    row.Values.resize(m_defs.size());
    for (size_t i = 0; i < Values.size(); ++i) row.Values[i] = ConvertFieldValue(m_defs[i], Values[i]);
    row.Key = m_nextKey++;
    m_store.push_back(std::move(row));
}

const TFieldValue& TMemoryDataSet::StoreValue(int Row, int FieldNo) const {
    return m_store.at(static_cast<size_t>(Row)).Values.at(static_cast<size_t>(FieldNo));
}

std::vector<TRecord>::iterator TMemoryDataSet::FindStoreRow(Int64 Key) {
    return std::find_if(m_store.begin(), m_store.end(), [Key](const TRecord& r) { return r.Key == Key; });
}

void TMemoryDataSet::InternalOpen(std::vector<TFieldDef>& Defs, std::vector<TRecord>& Rows) {
    if (m_defs.empty()) DatabaseError("The data set has no fields");
    Defs = m_defs;
    Rows = m_store;
}

void TMemoryDataSet::InternalRefresh(std::vector<TRecord>& Rows) { Rows = m_store; }

void TMemoryDataSet::InternalPost(TRecord& Record, const std::vector<bool>& Changed, bool Inserting) {
    if (OnStoreWrite) OnStoreWrite(Record, false);
    if (Inserting) {
        Record.Key = m_nextKey++;
        m_store.push_back(Record);
        return;
    }
    auto row = FindStoreRow(Record.Key);
    if (row == m_store.end()) DatabaseError("The record is no longer in the store");
    for (size_t i = 0; i < Changed.size(); ++i)
        if (Changed[i]) row->Values[i] = Record.Values[i];
    Record = *row;
}

void TMemoryDataSet::InternalDelete(const TRecord& Record) {
    if (OnStoreWrite) OnStoreWrite(Record, true);
    auto row = FindStoreRow(Record.Key);
    if (row == m_store.end()) DatabaseError("The record is no longer in the store");
    m_store.erase(row);
}
