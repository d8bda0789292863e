// TSQLiteTable: the rows of one table of an SQLite database as a data set.
//
//   TSQLiteTable t(nullptr);
//   t.SetDatabase(&db);  t.SetTableName("people");
//   t.Open();                     // opens the database when needed, reads every row by rowid
//   t.Edit(); t.FieldByName("name")->SetAsString("x"); t.Post();
//
// Rows are keyed by rowid. Post writes only the fields that were written, in one transaction,
// and reads the row back as the file now holds it (defaults, affinities); Delete removes by
// rowid; Refresh re-reads the table. Values travel as bound parameters and the table and column
// names as quoted identifiers. A failure (a lock held by another connection, a constraint)
// raises EDatabaseError naming the table and leaves both the file and the data set as they were.
// The declared column types choose the field kinds (see FieldTypeForDeclaredType).
#pragma once

#include "platform/db/DataSet.h"
#include "platform/db/SQLiteDatabase.h"

class TSQLiteStatement;
class ESQLiteError;

class TSQLiteTable : public TDataSet {
    VCL_CLASS(TSQLiteTable)
    explicit TSQLiteTable(TComponent* AOwner);
    ~TSQLiteTable() override;

    TSQLiteDatabase* GetDatabase() const { return m_database; }
    // Closes the table when the database changes.
    void SetDatabase(TSQLiteDatabase* Value);
    const String& GetTableName() const { return m_tableName; }
    void SetTableName(const String& v);
    // A table can be read-only on a writable database.
    bool GetReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool v) { m_readOnly = v; }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void InternalOpen(std::vector<TFieldDef>& Defs, std::vector<TRecord>& Rows) override;
    void InternalRefresh(std::vector<TRecord>& Rows) override;
    void InternalPost(TRecord& Record, const std::vector<bool>& Changed, bool Inserting) override;
    void InternalDelete(const TRecord& Record) override;
    bool InternalCanModify() const override;

private:
    void ReadColumns(std::vector<TFieldDef>& Defs);
    String ChooseRowidName() const;
    String SelectList() const;
    void ReadRows(std::vector<TRecord>& Rows);
    TRecord ReadRecord(const TSQLiteStatement& Statement) const;
    TFieldValue ReadValue(const TSQLiteStatement& Statement, int Column, TFieldType Kind) const;
    void BindValue(TSQLiteStatement& Statement, int Index, const TFieldValue& Value, TFieldType Kind) const;
    Int64 WriteRecord(const TRecord& Record, const std::vector<bool>& Changed, bool Inserting);
    void ReadBack(TRecord& Record);
    [[noreturn]] void SQLiteFailure(const String& Action, const ESQLiteError& Error) const;

    TSQLiteDatabase* m_database = nullptr;
    String m_tableName;
    bool m_readOnly = false;
    std::vector<TFieldDef> m_defs;
    String m_rowidName;
};

// The field kind of a column from its declared type, as SQLite reads affinity: BOOL, then
// DATE/TIMESTAMP, then INT (INTEGER, BIGINT, BIG INT and INT8 are 64-bit), then CLOB/MEMO, CHAR/TEXT,
// BLOB, and REAL/FLOA/DOUB/NUMERIC/DECIMAL; anything else is a string.
TFieldType FieldTypeForDeclaredType(const String& Declared);
// The width in "VARCHAR(40)", 0 when none is declared.
int DeclaredSize(const String& Declared);
