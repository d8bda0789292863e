// TSQLiteDatabase: one connection to an SQLite database file, shared by its tables.
//
//   TSQLiteDatabase db(nullptr);
//   db.SetFileName(path);  db.SetReadOnly(true);  db.SetBusyTimeout(2000);
//   db.Open();                 // raises EDatabaseError for a missing file or one that is no database
//   db.StartTransaction(); ... db.Commit();   // or Rollback()
//   db.Close();                // closes its tables first
//
// Opening never creates or changes the file; a read-only connection never writes to it.
#pragma once

#include <vector>

#include "platform/vcl/Component.h"
#include "platform/db/Fields.h"

struct sqlite3;
class TSQLiteTable;

class TSQLiteDatabase : public TComponent {
    VCL_CLASS(TSQLiteDatabase)
    explicit TSQLiteDatabase(TComponent* AOwner);
    ~TSQLiteDatabase() override;

    // File, read-only flag: set while closed.
    const String& GetFileName() const { return m_fileName; }
    void SetFileName(const String& v);
    bool GetReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool v);
    // How long a statement waits for another connection's lock before it fails (ms).
    int GetBusyTimeout() const { return m_busyTimeout_ms; }
    void SetBusyTimeout(int ms);

    void Open();
    void Close();
    bool GetConnected() const { return m_db != nullptr; }
    void SetConnected(bool v) { v ? Open() : Close(); }
    // Open, and neither opened read-only nor held read-only by SQLite.
    bool GetCanModify() const;

    // Tables keep the rows they read: after a Rollback, Refresh them.
    void StartTransaction();
    void Commit();
    void Rollback();
    bool GetInTransaction() const;

    sqlite3* GetHandle() const { return m_db; }

private:
    friend class TSQLiteTable;
    void AddTable(TSQLiteTable* Table);
    void RemoveTable(TSQLiteTable* Table);
    void Execute(const String& SQL, const String& Action);
    void CheckConnected() const;
    [[noreturn]] void DatabaseError(const String& Message) const;

    String m_fileName;
    bool m_readOnly = false;
    int m_busyTimeout_ms = 5000;
    sqlite3* m_db = nullptr;
    std::vector<TSQLiteTable*> m_tables;
};

// Writes through a connection as one unit: BEGIN IMMEDIATE (or a savepoint inside the caller's
// transaction), undone on destruction unless Commit ran.
class TSQLiteWriteTransaction {
public:
    // Raises ESQLiteError when the write lock cannot be had within the busy time-out.
    explicit TSQLiteWriteTransaction(sqlite3* Db);
    ~TSQLiteWriteTransaction();
    TSQLiteWriteTransaction(const TSQLiteWriteTransaction&) = delete;
    TSQLiteWriteTransaction& operator=(const TSQLiteWriteTransaction&) = delete;
    void Commit();

private:
    sqlite3* m_db;
    bool m_nested;
    bool m_done = false;
};
