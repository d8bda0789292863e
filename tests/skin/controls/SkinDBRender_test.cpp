// Renders of the skinned data-aware controls on a small SQLite table, second record current, in
// each look (build/skin_db/DBControls_<Look>.png), for a person to look at.
#include <sqlite3.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "platform/db/SQLiteTable.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/PngWriter.h"
#include "skin/controls/SUIDBCtrls.h"
#include "tests/support/TempFolder.h"
#include "tests/support/SkinRender.h"
#include "tests/support/TestHelpers.h"

using namespace testing_vcl;

namespace {

void MakeDatabase(const String& Path) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(Path.c_str(), &db), SQLITE_OK);
    const char* sql = R"(
CREATE TABLE clips(id INTEGER PRIMARY KEY, title TEXT, notes TEXT, done TEXT, format TEXT, city TEXT);
INSERT INTO clips VALUES (1, 'Holiday 2024', 'Beach and hills', 'No', 'PAL', 'OSL');
INSERT INTO clips VALUES (2, 'Wedding', 'Ceremony' || char(10) || 'Dinner' || char(10) || 'Dance', 'Yes', 'NTSC', 'ROM');
INSERT INTO clips VALUES (3, 'Birthday', 'Cake', 'No', 'PAL', 'LIM');
INSERT INTO clips VALUES (4, 'Graduation', 'Hall', 'Yes', 'PAL', 'OSL');
CREATE TABLE cities(code TEXT, name TEXT);
INSERT INTO cities VALUES ('LIM', 'Lima'), ('OSL', 'Oslo'), ('ROM', 'Rome');
)";
    ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

template <class T>
T* Place(TForm* Form, TDataSource* Source, const String& Field, int L, int T_, int W, int H, TsuiUIStyle Look) {
    auto* c = new T(Form);
    c->SetParent(Form);
    c->SetBounds(L, T_, W, H);
    c->SetUIStyle(Look);
    c->SetDataSource(Source);
    c->SetDataField(Field);
    return c;
}

TEST(SkinDBRender, DataControlsInEachLookToPng) {
    TTempFolder folder("skin_db_render");
    const String path = folder["clips.db"];
    MakeDatabase(path);
    for (TsuiUIStyle look : {MacOS, WinXP, DeepBlue, Protein, BlueGlass}) {
        SCOPED_TRACE(LookName(look));
        TSQLiteDatabase db(nullptr);
        db.SetFileName(path);
        TSQLiteTable clips(nullptr), cities(nullptr);
        clips.SetDatabase(&db);
        clips.SetTableName("clips");
        cities.SetDatabase(&db);
        cities.SetTableName("cities");
        TDataSource source(nullptr), citySource(nullptr);
        source.SetDataSet(&clips);
        citySource.SetDataSet(&cities);
        {
            TForm form(nullptr);
            DressRenderForm(form, look, 560, 360);

            auto* nav = new TsuiDBNavigator(&form);
            nav->SetParent(&form);
            nav->SetBounds(10, 10, 250, 25);
            nav->SetUIStyle(look);
            nav->SetDataSource(&source);
            Place<TsuiDBEdit>(&form, &source, "title", 10, 45, 180, 22, look);
            auto* memo = Place<TsuiDBMemo>(&form, &source, "notes", 10, 75, 180, 60, look);
            memo->SetScrollBars(ssVertical);
            auto* box = Place<TsuiDBCheckBox>(&form, &source, "done", 200, 45, 120, 20, look);
            box->SetCaption("Finished");
            box->SetValueChecked("Yes");
            box->SetValueUnchecked("No");
            auto* group = new TsuiDBRadioGroup(&form);
            group->SetParent(&form);
            group->SetBounds(200, 70, 150, 65);
            group->SetUIStyle(look);
            group->SetCaption(" Format ");
            TStringList formats;
            formats.Add("PAL");
            formats.Add("NTSC");
            group->SetItems(&formats);
            group->SetDataSource(&source);
            group->SetDataField("format");
            auto* combo = Place<TsuiDBComboBox>(&form, &source, "format", 360, 45, 180, 22, look);
            combo->SetStyle(csDropDownList);
            combo->GetItems()->Add("PAL");
            combo->GetItems()->Add("NTSC");
            auto* lookup = Place<TsuiDBLookupComboBox>(&form, &source, "city", 360, 75, 180, 22, look);
            lookup->SetListSource(&citySource);
            lookup->SetKeyField("code");
            lookup->SetListField("name");
            auto* list = Place<TsuiDBListBox>(&form, &source, "city", 360, 105, 180, 60, look);
            for (const char* s : {"LIM", "OSL", "ROM"}) list->GetItems()->Add(s);
            auto* grid = new TsuiDBGrid(&form);
            grid->SetParent(&form);
            grid->SetBounds(10, 175, 540, 175);
            grid->SetUIStyle(look);
            grid->SetDataSource(&source);

            cities.Open();
            clips.Open();
            clips.Next();  // the second record is current
            form.Show();

            EXPECT_EQ(lookup->GetText(), "Rome");
            EXPECT_TRUE(box->GetChecked());
            EXPECT_EQ(group->GetItemIndex(), 1);
            EXPECT_EQ(grid->GetRow(), 2);
            EXPECT_TRUE(nav->Button(nbPrior)->GetEnabled());

            TBitmap shot;
            Snapshot(&form, &shot);
            std::filesystem::path file = SkinRenderFolder("skin_db") / (String("DBControls_") + LookName(look) + ".png");
            SaveBitmapToPng(shot, file.string());
            EXPECT_GT(std::filesystem::file_size(file), 0u);
        }
    }
}

}  // namespace
