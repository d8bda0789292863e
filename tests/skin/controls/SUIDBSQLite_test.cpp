// The skinned data-aware controls on a real SQLite file made in a temporary folder; what the
// file holds is read through the sqlite3 C API on a connection of the test's own.
#include <sqlite3.h>

#include <fstream>
#include <iterator>
#include <memory>

#include <gtest/gtest.h>

#include "platform/db/SQLiteTable.h"
#include "platform/vcl/Forms.h"
#include "skin/controls/SUIDBCtrls.h"
#include "tests/support/ScriptedInteraction.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestHelpers.h"

using namespace testing_vcl;

namespace {

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
    // The first column of the first row as text ("<null>", "<none>").
    String One(const String& SQL) {
        sqlite3_stmt* st = nullptr;
        String result = "<none>";
        EXPECT_EQ(sqlite3_prepare_v2(m_db, SQL.c_str(), -1, &st, nullptr), SQLITE_OK) << sqlite3_errmsg(m_db);
        if (st != nullptr && sqlite3_step(st) == SQLITE_ROW) {
            result = sqlite3_column_type(st, 0) == SQLITE_NULL
                         ? String("<null>")
                         : String(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)), size_t(sqlite3_column_bytes(st, 0)));
        }
        sqlite3_finalize(st);
        return result;
    }

private:
    sqlite3* m_db = nullptr;
};

String FileBytes(const String& Path) {
    std::ifstream in(Path, std::ios::binary);
    return String(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const char* kSchema = R"(
CREATE TABLE tasks(id INTEGER PRIMARY KEY, title TEXT NOT NULL, done TEXT, code TEXT UNIQUE);
INSERT INTO tasks VALUES (1, 'Write', 'No', 'A1');
INSERT INTO tasks VALUES (2, 'Test', 'y', 'B2');
INSERT INTO tasks VALUES (3, 'Ship', 'Yes', 'C3');
)";

// A form with a navigator, an edit on the title and a check box on the text field "done".
class SUIDBSQLiteTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(m_folder.Path().empty());
        m_path = m_folder["tasks.db"];
        TRawConnection(m_path).Exec(kSchema);
        form.SetBounds(10, 10, 420, 160);
        db.SetFileName(m_path);
        db.SetBusyTimeout(150);
        table.SetDatabase(&db);
        table.SetTableName("tasks");
        source.SetDataSet(&table);
        nav = new TsuiDBNavigator(&form);
        nav->SetParent(&form);
        nav->SetBounds(10, 10, 250, 25);
        edit = new TsuiDBEdit(&form);
        edit->SetParent(&form);
        edit->SetBounds(10, 50, 200, 22);
        edit->SetDataSource(&source);
        edit->SetDataField("title");
        box = new TsuiDBCheckBox(&form);
        box->SetParent(&form);
        box->SetBounds(10, 80, 100, 20);
        box->SetValueChecked("Yes;Y");
        box->SetValueUnchecked("No");
        box->SetDataSource(&source);
        box->SetDataField("done");
        nav->SetDataSource(&source);
    }
    void Open() {
        table.Open();
        form.Show();
    }
    void TypeIntoEdit(const String& Text) {
        edit->SetFocus();
        ASSERT_TRUE(RunUntil([&] { return edit->Focused(); }, 2000));
        edit->SelectAll();
        TypeText(&form, Text);
    }

    TTempFolder m_folder{"suidb_sqlite"};
    String m_path;
    TScriptedInteraction ask;
    TInstallInteraction installed{ask};
    TSQLiteDatabase db{nullptr};
    TSQLiteTable table{nullptr};
    TDataSource source{nullptr};
    TForm form{nullptr};
    TsuiDBNavigator* nav = nullptr;
    TsuiDBEdit* edit = nullptr;
    TsuiDBCheckBox* box = nullptr;
};

TEST_F(SUIDBSQLiteTest, TypedTextAndATickPostedByTheNavigatorReachTheFile) {
    Open();
    EXPECT_EQ(edit->GetText(), "Write");
    EXPECT_FALSE(box->GetChecked());
    TypeIntoEdit("Renamed");
    Click(box);
    EXPECT_TRUE(box->GetChecked());
    ASSERT_TRUE(nav->Button(nbPost)->GetEnabled());
    Click(nav->Button(nbPost));
    EXPECT_EQ(table.GetState(), dsBrowse);
    TRawConnection other(m_path);
    EXPECT_EQ(other.One("SELECT title FROM tasks WHERE id = 1"), "Renamed");
    EXPECT_EQ(other.One("SELECT done FROM tasks WHERE id = 1"), "Yes");
    // "y" reads checked on the next record.
    Click(nav->Button(nbNext));
    EXPECT_TRUE(box->GetChecked());
    EXPECT_TRUE(ask.Questions.empty());
}

TEST_F(SUIDBSQLiteTest, InsertAndDeleteThroughTheNavigator) {
    Open();
    Click(nav->Button(nbInsert));
    EXPECT_EQ(table.GetState(), dsInsert);
    TypeIntoEdit("Fresh");
    Click(nav->Button(nbPost));
    TRawConnection other(m_path);
    EXPECT_EQ(other.One("SELECT count(*) FROM tasks"), "4");
    // The box was never touched: it writes nothing, and the new row's field stays null.
    EXPECT_EQ(other.One("SELECT done FROM tasks WHERE title = 'Fresh'"), "<null>");
    ask.MessageAnswers = {mrOk};
    Click(nav->Button(nbDelete));
    EXPECT_EQ(other.One("SELECT count(*) FROM tasks"), "3");
    EXPECT_EQ(other.One("SELECT count(*) FROM tasks WHERE title = 'Fresh'"), "0");
    ASSERT_EQ(ask.Questions.size(), 1u);
    EXPECT_EQ(ask.Questions[0].Text, "删除记录？");
}

TEST_F(SUIDBSQLiteTest, CancelAfterTypingShowsTheStoredValuesAndKeepsTheRow) {
    Open();
    TypeIntoEdit("Scratch");
    Click(box);
    Click(nav->Button(nbCancel));
    EXPECT_EQ(edit->GetText(), "Write");
    EXPECT_FALSE(box->GetChecked());
    TRawConnection other(m_path);
    EXPECT_EQ(other.One("SELECT title || '/' || done FROM tasks WHERE id = 1"), "Write/No");
}

TEST_F(SUIDBSQLiteTest, ALockedFileFailsThePostAndKeepsWhatWasTyped) {
    Open();
    TRawConnection holder(m_path);
    holder.Exec("BEGIN EXCLUSIVE");
    TypeIntoEdit("Blocked");
    EXPECT_THROW(
        {
            try {
                table.Post();
            } catch (const EDatabaseError& e) {
                EXPECT_NE(String(e.what()).find("tasks"), String::npos) << e.what();
                EXPECT_NE(String(e.what()).find("locked"), String::npos) << e.what();
                throw;
            }
        },
        EDatabaseError);
    EXPECT_EQ(table.GetState(), dsEdit);
    EXPECT_EQ(edit->GetText(), "Blocked");
    // Through the navigator the error reaches the application's exception display.
    Click(nav->Button(nbPost));
    ASSERT_EQ(ask.Of(TQuestionKind::MessageBox).size(), 1u);
    EXPECT_EQ(ask.Questions[0].DlgType, mtError);
    EXPECT_NE(ask.Questions[0].Text.find("locked"), String::npos);
    EXPECT_EQ(table.GetState(), dsEdit);
    EXPECT_EQ(edit->GetText(), "Blocked");
    EXPECT_EQ(holder.One("SELECT title FROM tasks WHERE id = 1"), "Write");
    holder.Exec("COMMIT");
    Click(nav->Button(nbPost));
    EXPECT_EQ(table.GetState(), dsBrowse);
    EXPECT_EQ(holder.One("SELECT title FROM tasks WHERE id = 1"), "Blocked");
}

TEST_F(SUIDBSQLiteTest, AReadOnlyOpenDisablesEditingAndLeavesTheFileAlone) {
    const String before = FileBytes(m_path);
    db.SetReadOnly(true);
    Open();
    EXPECT_FALSE(table.GetCanModify());
    for (TNavigateBtn b : {nbInsert, nbDelete, nbEdit, nbPost, nbCancel, nbRefresh})
        EXPECT_FALSE(nav->Button(b)->GetEnabled()) << static_cast<int>(b);
    EXPECT_TRUE(nav->Button(nbNext)->GetEnabled());
    TypeIntoEdit("Nope");
    EXPECT_EQ(edit->GetText(), "Write");
    Click(box);
    EXPECT_FALSE(box->GetChecked());
    try {
        table.Edit();
        ADD_FAILURE() << "Edit of a read-only table";
    } catch (const EDatabaseError& e) {
        EXPECT_NE(String(e.what()).find("read-only"), String::npos) << e.what();
    }
    EXPECT_EQ(table.GetState(), dsBrowse);
    table.Close();
    db.Close();
    EXPECT_EQ(FileBytes(m_path), before);
}

TEST_F(SUIDBSQLiteTest, AFileThatIsNoDatabaseFailsToOpenAndStaysAsItWas) {
    const String junk = m_folder["junk.db"];
    {
        std::ofstream out(junk, std::ios::binary);
        out << "This is a plain text file, not a database.\n" << String(2000, 'x');
    }
    const String before = FileBytes(junk);
    db.SetFileName(junk);
    try {
        table.Open();
        ADD_FAILURE() << "a text file opened as a database";
    } catch (const EDatabaseError& e) {
        EXPECT_FALSE(String(e.what()).empty());
    }
    EXPECT_FALSE(table.GetActive());
    EXPECT_EQ(nav->Button(nbNext)->GetEnabled(), false);
    EXPECT_EQ(FileBytes(junk), before);
}

TEST_F(SUIDBSQLiteTest, ConstraintFailuresLeaveTheTableUnchanged) {
    Open();
    TRawConnection other(m_path);
    // UNIQUE: the second row takes the first one's code.
    table.Next();
    table.Edit();
    table.FieldByName("code")->SetAsString("A1");
    EXPECT_THROW(nav->BtnClick(nbPost), EDatabaseError);
    EXPECT_EQ(table.GetState(), dsEdit);
    EXPECT_EQ(other.One("SELECT code FROM tasks WHERE id = 2"), "B2");
    table.Cancel();
    // NOT NULL: an empty title becomes null and is refused.
    table.Edit();
    table.FieldByName("title")->Clear();
    EXPECT_THROW(table.Post(), EDatabaseError);
    EXPECT_EQ(other.One("SELECT title FROM tasks WHERE id = 2"), "Test");
    table.Cancel();
    EXPECT_EQ(edit->GetText(), "Test");
    EXPECT_EQ(other.One("SELECT count(*) FROM tasks"), "3");
}

TEST_F(SUIDBSQLiteTest, QuotesUnicodeAndLongTextRoundTripInValuesAndTableNames) {
    TRawConnection(m_path).Exec("CREATE TABLE \"we\"\"ird 'tâble\"(id INTEGER PRIMARY KEY, title TEXT NOT NULL, done TEXT, code TEXT);"
                                "INSERT INTO \"we\"\"ird 'tâble\" VALUES (1, 'x', 'No', NULL);");
    table.SetTableName("we\"ird 'tâble");
    Open();
    const String values[] = {"O'Brien \"quoted\"; DROP TABLE tasks; --", "Zoë 日本語 ✓", String(5000, 'L') + "end"};
    TRawConnection other(m_path);
    for (const String& v : values) {
        table.Edit();
        edit->SetText(v);
        Click(nav->Button(nbPost));
        EXPECT_EQ(other.One("SELECT title FROM \"we\"\"ird 'tâble\" WHERE id = 1"), v);
        Click(nav->Button(nbRefresh));
        EXPECT_EQ(edit->GetText(), v);
    }
    EXPECT_EQ(other.One("SELECT count(*) FROM tasks"), "3");
    EXPECT_TRUE(ask.Questions.empty());
}

}  // namespace
