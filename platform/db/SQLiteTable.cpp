#include "platform/db/SQLiteTable.h"

#include <sqlite3.h>

#include "platform/db/SQLiteStatement.h"

namespace {

bool Has(const String& Text, const char* Part) { return Text.find(Part) != String::npos; }

bool IsTextKind(TFieldType Kind) { return Kind == ftString || Kind == ftMemo; }

}  // namespace

TFieldType FieldTypeForDeclaredType(const String& Declared) {
    const String t = UpperCase(Trim(Declared));
    if (Has(t, "BOOL")) return ftBoolean;
    if (Has(t, "DATE") || Has(t, "TIMESTAMP")) return ftDateTime;
    if (Has(t, "INT")) return t == "INTEGER" || Has(t, "BIGINT") || Has(t, "BIG INT") || Has(t, "INT8") ? ftLargeint : ftInteger;
    if (Has(t, "CLOB") || Has(t, "MEMO")) return ftMemo;
    if (Has(t, "CHAR") || Has(t, "TEXT")) return ftString;
    if (Has(t, "BLOB")) return ftBlob;
    if (Has(t, "REAL") || Has(t, "FLOA") || Has(t, "DOUB") || Has(t, "NUMERIC") || Has(t, "DECIMAL")) return ftFloat;
    return ftString;
}

int DeclaredSize(const String& Declared) {
    size_t open = Declared.find('(');
    if (open == String::npos) return 0;
    int size = 0;
    for (size_t i = open + 1; i < Declared.size() && Declared[i] >= '0' && Declared[i] <= '9'; ++i) {
        if (size > 100000000) return 0;
        size = size * 10 + (Declared[i] - '0');
    }
    return size;
}

TSQLiteTable::TSQLiteTable(TComponent* AOwner) : TDataSet(AOwner) {}

TSQLiteTable::~TSQLiteTable() {
    Destroying();
    Close();
    SetDatabase(nullptr);
}

void TSQLiteTable::SetDatabase(TSQLiteDatabase* Value) {
    if (Value == m_database) return;
    Close();
    if (m_database) {
        m_database->RemoveTable(this);
        m_database->RemoveFreeNotification(this);
        RemoveFreeNotification(m_database);
    }
    m_database = Value;
    if (m_database) {
        m_database->AddTable(this);
        m_database->FreeNotification(this);
    }
}

void TSQLiteTable::SetTableName(const String& v) {
    if (v == m_tableName) return;
    CheckInactive();
    m_tableName = v;
}

void TSQLiteTable::Notification(TComponent* AComponent, TOperation Operation) {
    TDataSet::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == m_database) {
        Close();
        m_database = nullptr;
    }
}

bool TSQLiteTable::InternalCanModify() const { return !m_readOnly && m_database && m_database->GetCanModify(); }

void TSQLiteTable::SQLiteFailure(const String& Action, const ESQLiteError& Error) const {
    String reason = Error.IsLock() ? "the database is locked by another connection (" + Error.Message() + ")"
                                   : Error.Message();
    DatabaseError("Cannot " + Action + " table '" + m_tableName + "': " + reason);
}

// ---- reading ----

void TSQLiteTable::InternalOpen(std::vector<TFieldDef>& Defs, std::vector<TRecord>& Rows) {
    if (!m_database) DatabaseError("No database given");
    if (m_tableName.empty()) DatabaseError("No table name given");
    m_database->Open();
    ReadColumns(Defs);
    m_defs = Defs;
    m_rowidName = ChooseRowidName();
    ReadRows(Rows);
}

void TSQLiteTable::ReadColumns(std::vector<TFieldDef>& Defs) {
    try {
        TSQLiteStatement info(m_database->GetHandle(),
                              "SELECT name, type, \"notnull\", dflt_value IS NULL, pk FROM pragma_table_info(?1)");
        info.BindText(1, m_tableName);
        while (info.Step()) {
            TFieldDef def;
            def.Name = info.ColumnText(0);
            const String declared = info.ColumnText(1);
            def.DataType = FieldTypeForDeclaredType(declared);
            def.Size = IsTextKind(def.DataType) ? DeclaredSize(declared) : 0;
            // An INTEGER PRIMARY KEY is the rowid, which SQLite fills in itself.
            const bool rowidAlias = info.ColumnInt64(4) != 0 && UpperCase(Trim(declared)) == "INTEGER";
            def.Required = info.ColumnInt64(2) != 0 && info.ColumnInt64(3) != 0 && !rowidAlias;
            Defs.push_back(def);
        }
    } catch (const ESQLiteError& e) {
        SQLiteFailure("read the columns of", e);
    }
    if (Defs.empty()) DatabaseError("Table '" + m_tableName + "' not found");
}

String TSQLiteTable::ChooseRowidName() const {
    for (const char* name : {"rowid", "_rowid_", "oid"}) {
        bool taken = false;
        for (const TFieldDef& d : m_defs) taken = taken || SameText(d.Name, name);
        if (!taken) return name;
    }
    DatabaseError("Table '" + m_tableName + "' has columns named rowid, _rowid_ and oid; its rows cannot be told apart");
}

String TSQLiteTable::SelectList() const {
    String list = m_rowidName;
    for (const TFieldDef& d : m_defs) list += ", " + QuoteIdentifier(d.Name);
    return list;
}

void TSQLiteTable::ReadRows(std::vector<TRecord>& Rows) {
    try {
        TSQLiteStatement select(m_database->GetHandle(), "SELECT " + SelectList() + " FROM " +
                                                             QuoteIdentifier(m_tableName) + " ORDER BY " + m_rowidName);
        while (select.Step()) Rows.push_back(ReadRecord(select));
    } catch (const ESQLiteError& e) {
        SQLiteFailure("read", e);
    }
}

TRecord TSQLiteTable::ReadRecord(const TSQLiteStatement& Statement) const {
    TRecord r;
    r.Key = Statement.ColumnInt64(0);
    r.Values.reserve(m_defs.size());
    for (size_t i = 0; i < m_defs.size(); ++i)
        r.Values.push_back(ReadValue(Statement, static_cast<int>(i) + 1, m_defs[i].DataType));
    return r;
}

// A stored value that the column's kind cannot hold (SQLite keeps any value in any column) reads
// as null; it stays in the file unless the field is written.
TFieldValue TSQLiteTable::ReadValue(const TSQLiteStatement& Statement, int Column, TFieldType Kind) const {
    const int type = Statement.ColumnType(Column);
    if (type == SQLITE_NULL) return {};
    const bool number = type == SQLITE_INTEGER || type == SQLITE_FLOAT;
    switch (Kind) {
    case ftInteger:
    case ftLargeint: {
        if (type == SQLITE_INTEGER) return Statement.ColumnInt64(Column);
        Int64 v;
        if (type == SQLITE_TEXT && TryDecimalToInt64(Statement.ColumnText(Column), v)) return v;
        return {};
    }
    case ftFloat: {
        if (number) return Statement.ColumnDouble(Column);
        double v;
        if (type == SQLITE_TEXT && TryStrToFloat(Statement.ColumnText(Column), v)) return v;
        return {};
    }
    case ftBoolean: {
        if (number) return Statement.ColumnDouble(Column) != 0;
        bool v;
        if (type == SQLITE_TEXT && TryTextToBoolean(Statement.ColumnText(Column), v)) return v;
        return {};
    }
    case ftDateTime: {
        TDateTime v;
        if (type == SQLITE_TEXT && TryFieldTextToDateTime(Statement.ColumnText(Column), v)) return v;
        return {};
    }
    case ftBlob:
        return Statement.ColumnBlob(Column);
    default:
        return type == SQLITE_BLOB ? Statement.ColumnBlob(Column) : Statement.ColumnText(Column);
    }
}

void TSQLiteTable::InternalRefresh(std::vector<TRecord>& Rows) {
    if (!m_database || !m_database->GetConnected()) DatabaseError("The database is not open");
    ReadRows(Rows);
}

// ---- writing ----

void TSQLiteTable::BindValue(TSQLiteStatement& Statement, int Index, const TFieldValue& Value, TFieldType Kind) const {
    if (Kind == ftDateTime && std::holds_alternative<double>(Value)) {
        Statement.BindText(Index, DateTimeToFieldText(std::get<double>(Value)));
        return;
    }
    Statement.Bind(Index, Value, Kind == ftBlob);
}

Int64 TSQLiteTable::WriteRecord(const TRecord& Record, const std::vector<bool>& Changed, bool Inserting) {
    sqlite3* db = m_database->GetHandle();
    std::vector<size_t> columns;
    for (size_t i = 0; i < m_defs.size(); ++i)
        if (i < Changed.size() && Changed[i]) columns.push_back(i);
    String sql;
    if (Inserting && columns.empty()) {
        sql = "INSERT INTO " + QuoteIdentifier(m_tableName) + " DEFAULT VALUES";
    } else if (Inserting) {
        String names, params;
        for (size_t n = 0; n < columns.size(); ++n) {
            names += (n ? ", " : "") + QuoteIdentifier(m_defs[columns[n]].Name);
            params += (n ? ", ?" : "?") + IntToStr(static_cast<int>(n) + 1);
        }
        sql = "INSERT INTO " + QuoteIdentifier(m_tableName) + " (" + names + ") VALUES (" + params + ")";
    } else {
        String assignments;
        for (size_t n = 0; n < columns.size(); ++n)
            assignments += (n ? ", " : "") + QuoteIdentifier(m_defs[columns[n]].Name) + " = ?" +
                           IntToStr(static_cast<int>(n) + 1);
        sql = "UPDATE " + QuoteIdentifier(m_tableName) + " SET " + assignments + " WHERE " + m_rowidName + " = ?" +
              IntToStr(static_cast<int>(columns.size()) + 1);
    }
    TSQLiteStatement write(db, sql);
    for (size_t n = 0; n < columns.size(); ++n)
        BindValue(write, static_cast<int>(n) + 1, Record.Values[columns[n]], m_defs[columns[n]].DataType);
    if (!Inserting) write.BindInt64(static_cast<int>(columns.size()) + 1, Record.Key);
    write.Step();
    if (Inserting) return sqlite3_last_insert_rowid(db);
    if (sqlite3_changes(db) == 0) throw ESQLiteError(SQLITE_NOTFOUND, "the record is no longer in the table");
    return Record.Key;
}

void TSQLiteTable::ReadBack(TRecord& Record) {
    TSQLiteStatement select(m_database->GetHandle(), "SELECT " + SelectList() + " FROM " +
                                                         QuoteIdentifier(m_tableName) + " WHERE " + m_rowidName +
                                                         " = ?1");
    select.BindInt64(1, Record.Key);
    if (!select.Step()) throw ESQLiteError(SQLITE_NOTFOUND, "the record written cannot be read back");
    Record = ReadRecord(select);
}

void TSQLiteTable::InternalPost(TRecord& Record, const std::vector<bool>& Changed, bool Inserting) {
    TRecord written = Record;
    try {
        TSQLiteWriteTransaction transaction(m_database->GetHandle());
        written.Key = WriteRecord(Record, Changed, Inserting);
        ReadBack(written);
        transaction.Commit();
    } catch (const ESQLiteError& e) {
        SQLiteFailure(Inserting ? "insert a record into" : "post the record to", e);
    }
    Record = std::move(written);
}

void TSQLiteTable::InternalDelete(const TRecord& Record) {
    sqlite3* db = m_database->GetHandle();
    try {
        TSQLiteWriteTransaction transaction(db);
        TSQLiteStatement remove(db, "DELETE FROM " + QuoteIdentifier(m_tableName) + " WHERE " + m_rowidName + " = ?1");
        remove.BindInt64(1, Record.Key);
        remove.Step();
        if (sqlite3_changes(db) == 0) throw ESQLiteError(SQLITE_NOTFOUND, "the record is no longer in the table");
        transaction.Commit();
    } catch (const ESQLiteError& e) {
        SQLiteFailure("delete the record from", e);
    }
}
