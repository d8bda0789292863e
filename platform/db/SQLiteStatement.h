// One prepared SQLite statement, and the quoting of identifiers, for the SQLite back end.
// Values always travel as bound parameters; only identifiers, quoted here, become SQL text.
#pragma once

#include "platform/db/Fields.h"

struct sqlite3;
struct sqlite3_stmt;

// An SQLite failure: Code is SQLite's (extended) result code, the text its message.
class ESQLiteError : public EDatabaseError {
public:
    ESQLiteError(int ACode, const String& Message) : EDatabaseError(Message), m_code(ACode) {}
    const char* ClassName() const override { return "ESQLiteError"; }
    int Code() const { return m_code; }
    // The primary result code (SQLITE_BUSY for SQLITE_BUSY_SNAPSHOT ...).
    int PrimaryCode() const { return m_code & 0xFF; }
    bool IsLock() const;

private:
    int m_code;
};

// "name" with each '"' doubled: any text becomes one identifier.
String QuoteIdentifier(const String& Name);
// Raises ESQLiteError for a result code other than OK, ROW and DONE.
void CheckSQLite(sqlite3* Db, int Result);

class TSQLiteStatement {
public:
    // Raises ESQLiteError when SQL does not prepare.
    TSQLiteStatement(sqlite3* Db, const String& SQL);
    ~TSQLiteStatement();
    TSQLiteStatement(const TSQLiteStatement&) = delete;
    TSQLiteStatement& operator=(const TSQLiteStatement&) = delete;

    // Index is 1-based. Text goes as text and, with AsBlob, as bytes.
    void Bind(int Index, const TFieldValue& Value, bool AsBlob = false);
    void BindInt64(int Index, Int64 Value);
    void BindText(int Index, const String& Value);
    // true while a row is there to read; raises ESQLiteError on failure.
    bool Step();

    // Columns of the current row, 0-based; ColumnType answers SQLITE_INTEGER ... SQLITE_NULL.
    int ColumnType(int Column) const;
    Int64 ColumnInt64(int Column) const;
    double ColumnDouble(int Column) const;
    String ColumnText(int Column) const;
    String ColumnBlob(int Column) const;

private:
    sqlite3* m_db;
    sqlite3_stmt* m_stmt = nullptr;
};
