#include "platform/db/SQLiteDatabase.h"

#include <sqlite3.h>

#include <algorithm>

#include "platform/db/SQLiteStatement.h"
#include "platform/db/SQLiteTable.h"

namespace {

void ExecuteSQL(sqlite3* Db, const char* SQL) { CheckSQLite(Db, sqlite3_exec(Db, SQL, nullptr, nullptr, nullptr)); }

}  // namespace

// ---- TSQLiteDatabase ----

TSQLiteDatabase::TSQLiteDatabase(TComponent* AOwner) : TComponent(AOwner) {}

TSQLiteDatabase::~TSQLiteDatabase() {
    Destroying();
    Close();
    for (TSQLiteTable* t : std::vector<TSQLiteTable*>(m_tables)) t->SetDatabase(nullptr);
}

void TSQLiteDatabase::DatabaseError(const String& Message) const {
    throw EDatabaseError(GetName().empty() ? Message : GetName() + ": " + Message);
}

void TSQLiteDatabase::SetFileName(const String& v) {
    if (v == m_fileName) return;
    if (GetConnected()) DatabaseError("Cannot change the file of an open database");
    m_fileName = v;
}

void TSQLiteDatabase::SetReadOnly(bool v) {
    if (v == m_readOnly) return;
    if (GetConnected()) DatabaseError("Cannot change the read-only flag of an open database");
    m_readOnly = v;
}

void TSQLiteDatabase::SetBusyTimeout(int ms) {
    m_busyTimeout_ms = std::max(0, ms);
    if (m_db) sqlite3_busy_timeout(m_db, m_busyTimeout_ms);
}

void TSQLiteDatabase::Open() {
    if (GetConnected()) return;
    if (m_fileName.empty()) DatabaseError("No database file given");
    // Never SQLITE_OPEN_CREATE: a mistyped name must not leave an empty database behind.
    const int flags = (m_readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_FULLMUTEX;
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(m_fileName.c_str(), &db, flags, nullptr);
    try {
        CheckSQLite(db, rc);
        sqlite3_extended_result_codes(db, 1);
        sqlite3_busy_timeout(db, m_busyTimeout_ms);
        // SQLite reads the file only when asked; this read finds a file that is no database.
        TSQLiteStatement probe(db, "SELECT count(*) FROM sqlite_master");
        probe.Step();
    } catch (const ESQLiteError& e) {
        sqlite3_close_v2(db);
        DatabaseError("Cannot open database '" + m_fileName + "': " + e.Message());
    }
    m_db = db;
}

void TSQLiteDatabase::Close() {
    if (!m_db) return;
    for (TSQLiteTable* t : std::vector<TSQLiteTable*>(m_tables)) t->Close();
    // An open transaction is rolled back by the close.
    sqlite3_close_v2(m_db);
    m_db = nullptr;
}

bool TSQLiteDatabase::GetCanModify() const {
    return m_db && !m_readOnly && sqlite3_db_readonly(m_db, "main") == 0;
}

void TSQLiteDatabase::CheckConnected() const {
    if (!m_db) DatabaseError("The database '" + m_fileName + "' is not open");
}

void TSQLiteDatabase::Execute(const String& SQL, const String& Action) {
    CheckConnected();
    try {
        ExecuteSQL(m_db, SQL.c_str());
    } catch (const ESQLiteError& e) {
        DatabaseError("Cannot " + Action + ": " + e.Message());
    }
}

void TSQLiteDatabase::StartTransaction() {
    CheckConnected();
    if (GetInTransaction()) DatabaseError("A transaction is already active");
    Execute("BEGIN", "start a transaction");
}

void TSQLiteDatabase::Commit() {
    CheckConnected();
    if (!GetInTransaction()) DatabaseError("No transaction is active");
    Execute("COMMIT", "commit the transaction");
}

void TSQLiteDatabase::Rollback() {
    CheckConnected();
    if (!GetInTransaction()) DatabaseError("No transaction is active");
    Execute("ROLLBACK", "roll the transaction back");
}

bool TSQLiteDatabase::GetInTransaction() const { return m_db && sqlite3_get_autocommit(m_db) == 0; }

void TSQLiteDatabase::AddTable(TSQLiteTable* Table) {
    if (std::find(m_tables.begin(), m_tables.end(), Table) == m_tables.end()) m_tables.push_back(Table);
}

void TSQLiteDatabase::RemoveTable(TSQLiteTable* Table) { std::erase(m_tables, Table); }

// ---- TSQLiteWriteTransaction ----

TSQLiteWriteTransaction::TSQLiteWriteTransaction(sqlite3* Db) : m_db(Db), m_nested(sqlite3_get_autocommit(Db) == 0) {
    ExecuteSQL(m_db, m_nested ? "SAVEPOINT table_write" : "BEGIN IMMEDIATE");
}

TSQLiteWriteTransaction::~TSQLiteWriteTransaction() {
    if (m_done) return;
    if (m_nested) {
        sqlite3_exec(m_db, "ROLLBACK TO table_write", nullptr, nullptr, nullptr);
        sqlite3_exec(m_db, "RELEASE table_write", nullptr, nullptr, nullptr);
    } else if (sqlite3_get_autocommit(m_db) == 0) {
        // SQLite may have rolled back by itself after certain errors; only roll back what is open.
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    }
}

void TSQLiteWriteTransaction::Commit() {
    ExecuteSQL(m_db, m_nested ? "RELEASE table_write" : "COMMIT");
    m_done = true;
}
