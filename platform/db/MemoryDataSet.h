// TMemoryDataSet: a data set over rows kept in memory, for data that has no database.
//
//   TMemoryDataSet ds(nullptr);
//   ds.AddFieldDef("name", ftString);  ds.AddFieldDef("age", ftInteger);
//   ds.AppendStoreRow({String("Ann"), Int64{31}});
//   ds.Open();  ...  ds.Close();       // the rows stay; a later Open shows them again
//
// The store is what Post and Delete write to and what Open and Refresh read; the data set's
// cursor works on its own copy, as it does over a database.
#pragma once

#include "platform/db/DataSet.h"

class TMemoryDataSet : public TDataSet {
    VCL_CLASS(TMemoryDataSet)
    explicit TMemoryDataSet(TComponent* AOwner);
    ~TMemoryDataSet() override;

    // The columns, defined while the data set is closed.
    void AddFieldDef(const String& Name, TFieldType DataType, int Size = 0, bool Required = false);
    void ClearFieldDefs();
    // Adds a row to the store; each value is converted as its field's kind stores it
    // (EConvertError, and no row added, when one does not convert).
    void AppendStoreRow(const std::vector<TFieldValue>& Values);
    int StoreRowCount() const { return static_cast<int>(m_store.size()); }
    const TFieldValue& StoreValue(int Row, int FieldNo) const;
    bool GetReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool v) { m_readOnly = v; }

    // Called before each write to the store (Post, Delete); raising refuses the write.
    std::function<void(const TRecord& Record, bool Deleting)> OnStoreWrite;

protected:
    void InternalOpen(std::vector<TFieldDef>& Defs, std::vector<TRecord>& Rows) override;
    void InternalRefresh(std::vector<TRecord>& Rows) override;
    void InternalPost(TRecord& Record, const std::vector<bool>& Changed, bool Inserting) override;
    void InternalDelete(const TRecord& Record) override;
    bool InternalCanModify() const override { return !m_readOnly; }

private:
    std::vector<TRecord>::iterator FindStoreRow(Int64 Key);

    std::vector<TFieldDef> m_defs;
    std::vector<TRecord> m_store;
    Int64 m_nextKey = 1;
    bool m_readOnly = false;
};
