// The SQLite back end on real files, each checked through the sqlite3 C API on a connection
// of its own, never through the layer under test.
#include "platform/db/SQLiteTable.h"

#include <sqlite3.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/TempFolder.h"

namespace {

using TRows = std::vector<std::vector<String>>;

// A plain sqlite3 connection; every failure fails the test.
class TRawConnection {
public:
    explicit TRawConnection(const String& Path) {
        EXPECT_EQ(sqlite3_open_v2(Path.c_str(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr), SQLITE_OK);
        sqlite3_busy_timeout(m_db, 2000);
    }
    ~TRawConnection() { sqlite3_close_v2(m_db); }
    TRawConnection(const TRawConnection&) = delete;
    TRawConnection& operator=(const TRawConnection&) = delete;

    void Exec(const String& SQL) {
        char* error = nullptr;
        EXPECT_EQ(sqlite3_exec(m_db, SQL.c_str(), nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "") << SQL;
        sqlite3_free(error);
    }
    // Every row as text, NULL as "<null>"; blobs as their bytes.
    TRows Rows(const String& SQL) {
        TRows rows;
        sqlite3_stmt* st = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(m_db, SQL.c_str(), -1, &st, nullptr), SQLITE_OK) << sqlite3_errmsg(m_db);
        while (st && sqlite3_step(st) == SQLITE_ROW) {
            std::vector<String> row;
            for (int c = 0; c < sqlite3_column_count(st); ++c) {
                const void* blob = sqlite3_column_blob(st, c);
                row.push_back(sqlite3_column_type(st, c) == SQLITE_NULL
                                  ? String("<null>")
                                  : String(static_cast<const char*>(blob), size_t(sqlite3_column_bytes(st, c))));
            }
            rows.push_back(row);
        }
        sqlite3_finalize(st);
        return rows;
    }
    String One(const String& SQL) {
        TRows r = Rows(SQL);
        return r.empty() || r[0].empty() ? String("<none>") : r[0][0];
    }

private:
    sqlite3* m_db = nullptr;
};

String FileBytes(const String& Path) {
    std::ifstream in(Path, std::ios::binary);
    return String(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const char* kSchema = R"(
CREATE TABLE people(id INTEGER PRIMARY KEY, name TEXT NOT NULL DEFAULT 'nobody', email VARCHAR(40) UNIQUE,
                    age INT, big INTEGER, score REAL, active BOOLEAN, born DATE, notes CLOB, photo BLOB);
INSERT INTO people VALUES (1, 'Ann', 'ann@x', 31, 5000000000, 1.5, 1, '1990-05-17', 'first', x'00FF');
INSERT INTO people VALUES (2, 'Bob', 'bob@x', 40, NULL, NULL, 0, NULL, NULL, NULL);
INSERT INTO people VALUES (3, 'Cid', NULL, NULL, NULL, 2.25, NULL, '2000-01-02 03:04:05', 'third', NULL);
CREATE TABLE tags(label TEXT NOT NULL);
)";

class SQLiteTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(folder.Path().empty());
        TRawConnection(path).Exec(kSchema);
        db.SetName("Db");
        db.SetFileName(path);
        db.SetBusyTimeout(100);
        table.SetName("People");
        table.SetDatabase(&db);
        table.SetTableName("people");
    }
    TField* F(const char* Name) { return table.FieldByName(Name); }
    // The error Call raises, or "" when it raises none.
    template <class E = EDatabaseError, class Fn>
    String ErrorOf(Fn Call) {
        try {
            Call();
        } catch (const E& e) {
            return e.Message();
        }
        return "";
    }

    testing_vcl::TTempFolder folder{"sqlite_table"};
    String path = folder["people.db"];
    TSQLiteDatabase db{nullptr};
    TSQLiteTable table{nullptr};
};

bool Contains(const String& Text, const String& Part) { return Text.find(Part) != String::npos; }

}  // namespace

TEST_F(SQLiteTableTest, DeclaredTypesChooseTheFieldsAndRowsReadInRowidOrder) {
    table.Open();
    struct TCase {
        const char* Field;
        const char* Class;
        const char* Text;
        bool Required;
    };
    const std::vector<TCase> cases = {
        {"id", "TLargeintField", "1", false},
        {"name", "TStringField", "Ann", false},
        {"email", "TStringField", "ann@x", false},
        {"age", "TIntegerField", "31", false},
        {"big", "TLargeintField", "5000000000", false},
        {"score", "TFloatField", "1.5", false},
        {"active", "TBooleanField", "True", false},
        {"born", "TDateTimeField", "1990-05-17", false},
        {"notes", "TMemoField", "first", false},
        {"photo", "TBlobField", "(BLOB)", false},
    };
    ASSERT_EQ(table.GetFieldCount(), static_cast<int>(cases.size()));
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Field);
        EXPECT_STREQ(F(c.Field)->ClassName(), c.Class);
        EXPECT_EQ(F(c.Field)->GetDisplayText(), c.Text);
        EXPECT_EQ(F(c.Field)->GetRequired(), c.Required);
    }
    EXPECT_EQ(F("email")->GetSize(), 40);
    EXPECT_EQ(F("photo")->GetAsString(), String("\0\xFF", 2));
    EXPECT_EQ(table.GetRecordCount(), 3);
    table.Last();
    EXPECT_EQ(F("born")->GetAsString(), "2000-01-02 03:04:05");
    EXPECT_TRUE(F("active")->IsNull());

    TSQLiteTable tags(nullptr);
    tags.SetDatabase(&db);
    tags.SetTableName("tags");
    tags.Open();
    EXPECT_TRUE(tags.FieldByName("label")->GetRequired());
}

TEST_F(SQLiteTableTest, APostedEditIsReadBackAndWritesOnlyTheChangedField) {
    table.Open();
    // Another program changes Ann's age after we read her.
    TRawConnection other(path);
    other.Exec("UPDATE people SET age = 99 WHERE id = 1");
    table.Edit();
    F("name")->SetAsString("Anna");
    table.Post();
    EXPECT_EQ(other.Rows("SELECT name, age, email FROM people WHERE id = 1"), (TRows{{"Anna", "99", "ann@x"}}));
    // The record shows what the file now holds.
    EXPECT_EQ(F("age")->GetAsInteger(), 99);
    EXPECT_EQ(table.GetState(), dsBrowse);
}

TEST_F(SQLiteTableTest, InsertAndDeleteReachTheFile) {
    table.Open();
    TRawConnection other(path);
    table.Append();
    F("email")->SetAsString("dee@x");
    F("age")->SetAsInteger(28);
    table.Post();
    // The unassigned name took the column's default, and the row its rowid.
    EXPECT_EQ(other.Rows("SELECT id, name, email, age FROM people WHERE email = 'dee@x'"),
              (TRows{{"4", "nobody", "dee@x", "28"}}));
    EXPECT_EQ(F("name")->GetAsString(), "nobody");
    EXPECT_EQ(F("id")->GetAsInteger(), 4);

    table.First();
    table.Next();
    ASSERT_EQ(F("name")->GetAsString(), "Bob");
    table.Delete();
    EXPECT_EQ(other.Rows("SELECT name FROM people ORDER BY id"), (TRows{{"Ann"}, {"Cid"}, {"nobody"}}));
    EXPECT_EQ(table.GetRecordCount(), 3);
    EXPECT_EQ(F("name")->GetAsString(), "Cid");
}

TEST_F(SQLiteTableTest, CancelAfterTypingShowsTheStoredValueAndWritesNothing) {
    table.Open();
    const String before = FileBytes(path);
    table.Edit();
    F("name")->SetAsString("Typed");
    F("age")->SetAsString("7");
    table.Cancel();
    EXPECT_EQ(F("name")->GetAsString(), "Ann");
    EXPECT_EQ(F("age")->GetAsString(), "31");
    EXPECT_EQ(TRawConnection(path).One("SELECT name FROM people WHERE id = 1"), "Ann");
    EXPECT_EQ(FileBytes(path), before);
}

TEST_F(SQLiteTableTest, ALockHeldElsewhereFailsThePostAndKeepsWhatWasTyped) {
    table.Open();
    const String before = FileBytes(path);
    TRawConnection holder(path);
    holder.Exec("BEGIN EXCLUSIVE");
    table.Edit();
    F("name")->SetAsString("Locked out");
    const String error = ErrorOf([&] { table.Post(); });
    EXPECT_TRUE(Contains(error, "people")) << error;
    EXPECT_TRUE(Contains(error, "locked")) << error;
    EXPECT_EQ(table.GetState(), dsEdit);
    EXPECT_EQ(F("name")->GetAsString(), "Locked out");
    EXPECT_TRUE(table.GetModified());
    EXPECT_EQ(holder.One("SELECT name FROM people WHERE id = 1"), "Ann");
    EXPECT_EQ(FileBytes(path), before);

    // Delete and Refresh fail the same way and keep the rows.
    table.Cancel();
    EXPECT_TRUE(Contains(ErrorOf([&] { table.Delete(); }), "locked"));
    EXPECT_TRUE(Contains(ErrorOf([&] { table.Refresh(); }), "locked"));
    EXPECT_EQ(table.GetRecordCount(), 3);
    EXPECT_EQ(F("name")->GetAsString(), "Ann");

    // Once the lock is gone, the same edit goes through.
    table.Edit();
    F("name")->SetAsString("Locked out");
    holder.Exec("COMMIT");
    EXPECT_EQ(TRawConnection(path).One("SELECT name FROM people WHERE id = 1"), "Ann");
    table.Post();
    EXPECT_EQ(TRawConnection(path).One("SELECT name FROM people WHERE id = 1"), "Locked out");
}

TEST_F(SQLiteTableTest, AReadOnlyOpenRefusesEveryChangeAndLeavesTheFileAlone) {
    const String before = FileBytes(path);
    db.SetReadOnly(true);
    table.Open();
    EXPECT_FALSE(table.GetCanModify());
    EXPECT_FALSE(F("name")->GetCanModify());
    for (auto call : std::vector<std::function<void()>>{[&] { table.Edit(); }, [&] { table.Insert(); },
                                                        [&] { table.Append(); }, [&] { table.Delete(); }}) {
        const String error = ErrorOf(call);
        EXPECT_TRUE(Contains(error, "read-only")) << error;
        EXPECT_EQ(table.GetState(), dsBrowse);
    }
    EXPECT_THROW(F("name")->SetAsString("x"), EDatabaseError);
    table.Refresh();
    table.Last();
    EXPECT_EQ(F("name")->GetAsString(), "Cid");
    table.Close();
    db.Close();
    EXPECT_EQ(FileBytes(path), before);
}

TEST_F(SQLiteTableTest, ATableCanBeReadOnlyOnAWritableDatabase) {
    table.SetReadOnly(true);
    table.Open();
    EXPECT_FALSE(table.GetCanModify());
    EXPECT_THROW(table.Edit(), EDatabaseError);
    EXPECT_TRUE(db.GetCanModify());
}

TEST_F(SQLiteTableTest, AFileThatIsNoDatabaseFailsToOpenAndStaysAsItWas) {
    const String junk = folder["notes.db"];
    {
        std::ofstream out(junk, std::ios::binary);
        for (int i = 0; i < 200; ++i) out << "This is a text file, line " << i << "\n";
    }
    const String before = FileBytes(junk);
    for (bool readOnly : {false, true}) {
        SCOPED_TRACE(readOnly);
        TSQLiteDatabase other(nullptr);
        other.SetFileName(junk);
        other.SetReadOnly(readOnly);
        const String error = ErrorOf([&] { other.Open(); });
        EXPECT_TRUE(Contains(error, "not a database")) << error;
        EXPECT_TRUE(Contains(error, junk)) << error;
        EXPECT_FALSE(other.GetConnected());
        TSQLiteTable t(nullptr);
        t.SetDatabase(&other);
        t.SetTableName("people");
        EXPECT_THROW(t.Open(), EDatabaseError);
        EXPECT_FALSE(t.GetActive());
    }
    EXPECT_EQ(FileBytes(junk), before);
}

TEST_F(SQLiteTableTest, AMissingFileOrTableIsAClearErrorAndNothingIsCreated) {
    const String missing = folder["missing.db"];
    TSQLiteDatabase other(nullptr);
    other.SetFileName(missing);
    EXPECT_TRUE(Contains(ErrorOf([&] { other.Open(); }), "unable to open"));
    EXPECT_FALSE(FileExists(missing));
    table.SetTableName("nobody_here");
    EXPECT_TRUE(Contains(ErrorOf([&] { table.Open(); }), "Table 'nobody_here' not found"));
    EXPECT_FALSE(table.GetActive());
}

TEST_F(SQLiteTableTest, ConstraintFailuresLeaveTheTableUnchanged) {
    table.Open();
    TRawConnection other(path);
    const TRows rows = other.Rows("SELECT * FROM people ORDER BY id");
    struct TCase {
        const char* Label;
        std::function<void()> Typing;
        const char* Error;
        TDataSetState Stays;
    };
    const std::vector<TCase> cases = {
        {"UNIQUE on edit", [&] { table.Edit(); F("email")->SetAsString("ann@x"); }, "UNIQUE", dsEdit},
        {"UNIQUE on insert", [&] { table.Append(); F("email")->SetAsString("bob@x"); }, "UNIQUE", dsInsert},
        {"NOT NULL cleared", [&] { table.Edit(); F("name")->Clear(); }, "NOT NULL", dsEdit},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Label);
        table.First();
        table.Next();  // Bob
        c.Typing();
        const String error = ErrorOf([&] { table.Post(); });
        EXPECT_TRUE(Contains(error, c.Error)) << error;
        EXPECT_TRUE(Contains(error, "'people'")) << error;
        EXPECT_EQ(table.GetState(), c.Stays);
        EXPECT_EQ(other.Rows("SELECT * FROM people ORDER BY id"), rows);
        table.Cancel();
    }
    EXPECT_EQ(table.GetRecordCount(), 3);

    // A required column without a default is refused before anything is written.
    TSQLiteTable tags(nullptr);
    tags.SetDatabase(&db);
    tags.SetTableName("tags");
    tags.Open();
    tags.Append();
    EXPECT_TRUE(Contains(ErrorOf([&] { tags.Post(); }), "Field 'label' must have a value"));
    EXPECT_EQ(other.One("SELECT count(*) FROM tags"), "0");
}

TEST_F(SQLiteTableTest, QuotesUnicodeAndLongTextRoundTripInValuesAndNames) {
    const String tableName = "o'dd \"tbl\"; 名前 🎬";
    const String column = "na\"me; --";
    TRawConnection raw(path);
    raw.Exec("CREATE TABLE \"o'dd \"\"tbl\"\"; 名前 🎬\" (\"na\"\"me; --\" TEXT, n INT)");
    const std::vector<String> values = {"it's \"quoted\"'); DROP TABLE people; --", "日本語 ✓ Ünïcödé 🎬",
                                        String(200000, 'x') + "end", "line one\nline two\ttab"};
    TSQLiteTable t(nullptr);
    t.SetDatabase(&db);
    t.SetTableName(tableName);
    t.Open();
    for (size_t i = 0; i < values.size(); ++i) {
        t.Append();
        t.FieldByName(column)->SetAsString(values[i]);
        t.FieldByName("n")->SetAsInteger(static_cast<int>(i));
        t.Post();
    }
    TRows expected;
    for (size_t i = 0; i < values.size(); ++i) expected.push_back({values[i], IntToStr(static_cast<int>(i))});
    EXPECT_EQ(raw.Rows("SELECT \"na\"\"me; --\", n FROM \"o'dd \"\"tbl\"\"; 名前 🎬\" ORDER BY rowid"), expected);
    EXPECT_EQ(raw.One("SELECT count(*) FROM people"), "3");

    // Read back through a fresh open, and edited in place.
    t.Close();
    t.Open();
    for (size_t i = 0; i < values.size(); ++i, t.Next()) EXPECT_EQ(t.FieldByName(column)->GetAsString(), values[i]);
    t.First();
    t.Edit();
    t.FieldByName(column)->SetAsString(values[1] + values[0]);
    t.Post();
    EXPECT_EQ(raw.One("SELECT \"na\"\"me; --\" FROM \"o'dd \"\"tbl\"\"; 名前 🎬\" WHERE n = 0"), values[1] + values[0]);
}

TEST_F(SQLiteTableTest, AnIntegerThatDoesNotFitRaisesAndStaysInEdit) {
    table.Open();
    const String before = FileBytes(path);
    table.Edit();
    struct TCase {
        const char* Field;
        const char* Typed;
        const char* Kept;
    };
    for (const TCase& c : {TCase{"age", "99999999999", "31"}, TCase{"big", "99999999999999999999", "5000000000"},
                           TCase{"age", "31 years", "31"}}) {
        SCOPED_TRACE(c.Typed);
        EXPECT_THROW(F(c.Field)->SetAsString(c.Typed), EConvertError);
        EXPECT_EQ(table.GetState(), dsEdit);
        EXPECT_EQ(F(c.Field)->GetAsString(), c.Kept);
    }
    table.Post();
    EXPECT_EQ(FileBytes(path), before);
    EXPECT_EQ(TRawConnection(path).Rows("SELECT age, big FROM people WHERE id = 1"), (TRows{{"31", "5000000000"}}));
}

TEST_F(SQLiteTableTest, RefreshRereadsAndKeepsTheCurrentRow) {
    table.Open();
    table.Next();  // Bob
    TRawConnection other(path);
    other.Exec("UPDATE people SET name = 'Robert' WHERE id = 2; DELETE FROM people WHERE id = 1;"
               "INSERT INTO people(name) VALUES ('Dee')");
    EXPECT_EQ(F("name")->GetAsString(), "Bob");
    table.Refresh();
    EXPECT_EQ(F("name")->GetAsString(), "Robert");
    EXPECT_EQ(table.GetRecordCount(), 3);
    EXPECT_EQ(table.GetRecNo(), 1);
    table.Last();
    EXPECT_EQ(F("name")->GetAsString(), "Dee");
}

TEST_F(SQLiteTableTest, ARowDeletedElsewhereCannotBePostedOrDeleted) {
    table.Open();
    table.Next();
    TRawConnection(path).Exec("DELETE FROM people WHERE id = 2");
    table.Edit();
    F("name")->SetAsString("Ghost");
    EXPECT_TRUE(Contains(ErrorOf([&] { table.Post(); }), "no longer in the table"));
    EXPECT_EQ(table.GetState(), dsEdit);
    table.Cancel();
    EXPECT_TRUE(Contains(ErrorOf([&] { table.Delete(); }), "no longer in the table"));
    EXPECT_EQ(TRawConnection(path).One("SELECT count(*) FROM people"), "2");
}

TEST_F(SQLiteTableTest, PostsInsideATransactionAreUndoneByRollback) {
    table.Open();
    TRawConnection other(path);
    db.StartTransaction();
    EXPECT_TRUE(db.GetInTransaction());
    table.Edit();
    F("name")->SetAsString("Draft");
    table.Post();
    EXPECT_EQ(other.One("SELECT name FROM people WHERE id = 1"), "Ann");
    db.Rollback();
    EXPECT_FALSE(db.GetInTransaction());
    EXPECT_EQ(other.One("SELECT name FROM people WHERE id = 1"), "Ann");
    table.Refresh();
    EXPECT_EQ(F("name")->GetAsString(), "Ann");

    db.StartTransaction();
    table.Edit();
    F("name")->SetAsString("Final");
    table.Post();
    db.Commit();
    EXPECT_EQ(other.One("SELECT name FROM people WHERE id = 1"), "Final");
    EXPECT_THROW(db.Commit(), EDatabaseError);
}

TEST_F(SQLiteTableTest, BlobsDatesAndBooleansAreStoredAsSQLiteHoldsThem) {
    table.Open();
    table.Next();
    table.Edit();
    F("photo")->SetAsString(String("\x89PNG\0\x01", 6));
    F("born")->SetAsString("2001-02-03");
    F("active")->SetAsBoolean(true);
    F("score")->SetAsString("0.5");
    F("notes")->SetAsString("");
    table.Post();
    EXPECT_EQ(TRawConnection(path).Rows("SELECT typeof(photo), hex(photo), born, typeof(active), active, score, "
                                        "typeof(notes) FROM people WHERE id = 2"),
              (TRows{{"blob", "89504E470001", "2001-02-03", "integer", "1", "0.5", "text"}}));
}

TEST_F(SQLiteTableTest, ClosingTheDatabaseClosesItsTablesAndFreeingItUnlinksThem) {
    table.Open();
    db.Close();
    EXPECT_FALSE(table.GetActive());
    auto owned = std::make_unique<TSQLiteDatabase>(nullptr);
    owned->SetFileName(path);
    table.SetDatabase(owned.get());
    table.Open();
    owned.reset();
    EXPECT_FALSE(table.GetActive());
    EXPECT_EQ(table.GetDatabase(), nullptr);
    EXPECT_THROW(table.Open(), EDatabaseError);
}
