#include "platform/db/SQLiteStatement.h"

#include <sqlite3.h>

bool ESQLiteError::IsLock() const { return PrimaryCode() == SQLITE_BUSY || PrimaryCode() == SQLITE_LOCKED; }

String QuoteIdentifier(const String& Name) {
    String quoted = "\"";
    for (char c : Name) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

void CheckSQLite(sqlite3* Db, int Result) {
    if (Result == SQLITE_OK || Result == SQLITE_ROW || Result == SQLITE_DONE) return;
    const int code = Db ? sqlite3_extended_errcode(Db) : Result;
    // The connection's message belongs to its last call; for the primary code it is that one.
    const bool same = (code & 0xFF) == (Result & 0xFF);
    throw ESQLiteError(same ? code : Result, same && Db ? sqlite3_errmsg(Db) : sqlite3_errstr(Result));
}

TSQLiteStatement::TSQLiteStatement(sqlite3* Db, const String& SQL) : m_db(Db) {
    CheckSQLite(m_db, sqlite3_prepare_v2(m_db, SQL.c_str(), static_cast<int>(SQL.size()), &m_stmt, nullptr));
}

TSQLiteStatement::~TSQLiteStatement() { sqlite3_finalize(m_stmt); }

void TSQLiteStatement::Bind(int Index, const TFieldValue& Value, bool AsBlob) {
    int rc = SQLITE_OK;
    if (IsNullValue(Value)) {
        rc = sqlite3_bind_null(m_stmt, Index);
    } else if (auto i = std::get_if<Int64>(&Value)) {
        rc = sqlite3_bind_int64(m_stmt, Index, *i);
    } else if (auto d = std::get_if<double>(&Value)) {
        rc = sqlite3_bind_double(m_stmt, Index, *d);
    } else if (auto b = std::get_if<bool>(&Value)) {
        rc = sqlite3_bind_int64(m_stmt, Index, *b ? 1 : 0);
    } else {
        const String& s = std::get<String>(Value);
        rc = AsBlob ? sqlite3_bind_blob64(m_stmt, Index, s.data(), s.size(), SQLITE_TRANSIENT)
                    : sqlite3_bind_text64(m_stmt, Index, s.data(), s.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
    }
    CheckSQLite(m_db, rc);
}

void TSQLiteStatement::BindInt64(int Index, Int64 Value) { Bind(Index, TFieldValue{Value}); }

void TSQLiteStatement::BindText(int Index, const String& Value) { Bind(Index, TFieldValue{Value}); }

bool TSQLiteStatement::Step() {
    const int rc = sqlite3_step(m_stmt);
    CheckSQLite(m_db, rc);
    return rc == SQLITE_ROW;
}

int TSQLiteStatement::ColumnType(int Column) const { return sqlite3_column_type(m_stmt, Column); }

Int64 TSQLiteStatement::ColumnInt64(int Column) const { return sqlite3_column_int64(m_stmt, Column); }

double TSQLiteStatement::ColumnDouble(int Column) const { return sqlite3_column_double(m_stmt, Column); }

String TSQLiteStatement::ColumnText(int Column) const {
    const unsigned char* text = sqlite3_column_text(m_stmt, Column);
    return text ? String(reinterpret_cast<const char*>(text), static_cast<size_t>(sqlite3_column_bytes(m_stmt, Column)))
                : String();
}

String TSQLiteStatement::ColumnBlob(int Column) const {
    const void* data = sqlite3_column_blob(m_stmt, Column);
    return data ? String(static_cast<const char*>(data), static_cast<size_t>(sqlite3_column_bytes(m_stmt, Column)))
                : String();
}
