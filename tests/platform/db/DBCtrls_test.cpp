#include "platform/db/DBCtrls.h"

#include <memory>

#include <gtest/gtest.h>

#include "platform/db/DBGrids.h"
#include "platform/db/MemoryDataSet.h"
#include "platform/vcl/Forms.h"
#include "tests/support/TestHelpers.h"

using namespace testing_vcl;

namespace {

std::unique_ptr<TMemoryDataSet> People() {
    auto ds = std::make_unique<TMemoryDataSet>(nullptr);
    ds->AddFieldDef("id", ftInteger);
    ds->AddFieldDef("name", ftString, 20);
    ds->AddFieldDef("notes", ftMemo);
    ds->AddFieldDef("city", ftString);
    ds->AddFieldDef("photo", ftBlob);
    const char* names[] = {"Ann", "Bob", "Cid"};
    const char* cities[] = {"Oslo", "Rome", "Lima"};
    for (int i = 0; i < 3; ++i)
        ds->AppendStoreRow({Int64{i + 1}, String(names[i]), String("line one\nline two"), String(cities[i]), String("not a picture")});
    return ds;
}

// A shown form with a data set and a source; controls are placed on the form.
struct TBoundForm {
    std::unique_ptr<TMemoryDataSet> ds = People();
    std::unique_ptr<TDataSource> source = std::make_unique<TDataSource>(nullptr);
    TForm form{nullptr};

    TBoundForm() {
        source->SetDataSet(ds.get());
        form.SetBounds(10, 10, 420, 320);
    }

    template <class T>
    T* Place(const String& Field, int Top, int Height = 22) {
        auto* c = new T(&form);
        c->SetParent(&form);
        c->SetBounds(10, Top, 200, Height);
        c->SetDataSource(source.get());
        c->SetDataField(Field);
        return c;
    }
    void Focus(TWinControl* Control) {
        form.Show();
        Control->SetFocus();
        RunUntil([&] { return Control->Focused(); }, 2000);
    }
};

TEST(DBEdit, ShowsTheFieldAndFollowsTheCursor) {
    TBoundForm f;
    auto* edit = f.Place<TDBEdit>("name", 10);
    f.ds->Open();
    EXPECT_EQ(edit->GetText(), "Ann");
    f.ds->Next();
    EXPECT_EQ(edit->GetText(), "Bob");
    f.ds->Close();
    EXPECT_EQ(edit->GetText(), "");
}

TEST(DBEdit, TypingEditsAndPostWritesTheField) {
    TBoundForm f;
    auto* edit = f.Place<TDBEdit>("name", 10);
    f.ds->Open();
    f.Focus(edit);
    edit->SelectAll();
    TypeText(&f.form, "Zed");
    EXPECT_EQ(f.ds->GetState(), dsEdit);
    EXPECT_EQ(edit->GetText(), "Zed");
    f.ds->Post();
    EXPECT_EQ(f.ds->GetState(), dsBrowse);
    EXPECT_EQ(std::get<String>(f.ds->StoreValue(0, 1)), "Zed");
}

TEST(DBEdit, CancelAndEscapeShowTheStoredValueAgain) {
    TBoundForm f;
    auto* edit = f.Place<TDBEdit>("name", 10);
    f.ds->Open();
    f.Focus(edit);
    edit->SelectAll();
    TypeText(&f.form, "Typed");
    PressKey(&f.form, VK_ESCAPE, {}, "\x1b");
    EXPECT_EQ(edit->GetText(), "Ann");
    TypeText(&f.form, "Again");
    f.ds->Cancel();
    EXPECT_EQ(edit->GetText(), "Ann");
    EXPECT_EQ(std::get<String>(f.ds->StoreValue(0, 1)), "Ann");
}

TEST(DBEdit, ReadOnlyLinksAndDataSetsRefuseTyping) {
    struct TCase {
        const char* name;
        bool linkReadOnly;
        bool dataSetReadOnly;
        bool autoEdit;
    };
    for (const TCase& c : {TCase{"read-only link", true, false, true}, TCase{"read-only data set", false, true, true},
                           TCase{"no auto edit", false, false, false}}) {
        SCOPED_TRACE(c.name);
        TBoundForm f;
        f.ds->SetReadOnly(c.dataSetReadOnly);
        f.source->SetAutoEdit(c.autoEdit);
        auto* edit = f.Place<TDBEdit>("name", 10);
        edit->SetReadOnly(c.linkReadOnly);
        f.ds->Open();
        f.Focus(edit);
        TypeText(&f.form, "x");
        EXPECT_EQ(edit->GetText(), "Ann");
        EXPECT_EQ(f.ds->GetState(), dsBrowse);
    }
}

TEST(DBEdit, AnIntegerThatDoesNotFitStaysInEditWithTheTypedText) {
    TBoundForm f;
    auto* edit = f.Place<TDBEdit>("id", 10);
    f.ds->Open();
    f.Focus(edit);
    edit->SelectAll();
    TypeText(&f.form, "99999999999");
    EXPECT_THROW(f.ds->Post(), EConvertError);
    EXPECT_EQ(f.ds->GetState(), dsEdit);
    EXPECT_EQ(edit->GetText(), "99999999999");
    EXPECT_EQ(std::get<Int64>(f.ds->StoreValue(0, 0)), 1);
    edit->SelectAll();
    TypeText(&f.form, "42");
    f.ds->Post();
    EXPECT_EQ(std::get<Int64>(f.ds->StoreValue(0, 0)), 42);
}

TEST(DBEdit, AFreedSourceUnlinksItself) {
    TBoundForm f;
    auto* edit = f.Place<TDBEdit>("name", 10);
    f.ds->Open();
    f.source.reset();
    EXPECT_EQ(edit->GetDataSource(), nullptr);
    EXPECT_EQ(edit->Perform(CM_GETDATALINK), reinterpret_cast<LRESULT>(edit->DataLink()));
}

TEST(DBMemo, ShowsTheLinesAndWritesTypedText) {
    TBoundForm f;
    auto* memo = f.Place<TDBMemo>("notes", 10, 80);
    f.ds->Open();
    EXPECT_EQ(memo->GetLines()->Count(), 2);
    f.Focus(memo);
    TypeText(&f.form, "x");
    EXPECT_EQ(f.ds->GetState(), dsEdit);
    f.ds->Post();
    EXPECT_NE(std::get<String>(f.ds->StoreValue(0, 2)), "line one\nline two");
    EXPECT_EQ(std::get<String>(f.ds->StoreValue(0, 2)), memo->GetText());
}

TEST(DBImage, ABlobThatIsNoPictureShowsNothingAndPaints) {
    TBoundForm f;
    auto* image = f.Place<TDBImage>("photo", 10, 60);
    f.ds->Open();
    EXPECT_EQ(image->GetPicture()->GetGraphic(), nullptr);
    f.form.Show();
    TBitmap shot;
    EXPECT_NO_THROW(Snapshot(&f.form, &shot));
    EXPECT_EQ(PixelAt(image, 30, 30), static_cast<TColor>(ColorToRGB(image->GetColor())));
}

TEST(DBImage, APictureRoundTripsThroughTheBlob) {
    TBoundForm f;
    auto* image = f.Place<TDBImage>("photo", 10, 60);
    f.ds->Open();
    std::unique_ptr<TBitmap> red(SolidBitmap(8, 6, clRed));
    TPicture picture;
    picture.SetBitmap(red.get());
    image->SetPicture(&picture);
    f.ds->Post();
    TPicture back;
    ASSERT_TRUE(LoadPictureFromBlob(std::get<String>(f.ds->StoreValue(0, 4)), &back));
    EXPECT_EQ(back.GetWidth(), 8);
    EXPECT_FALSE(LoadPictureFromBlob("BM garbage", &back));
    EXPECT_EQ(back.GetGraphic(), nullptr);
}

TEST(DBListBox, ShowsTheValueAndAClickWritesTheItem) {
    TBoundForm f;
    auto* list = f.Place<TDBListBox>("city", 10, 90);
    for (const char* s : {"Lima", "Oslo", "Rome"}) list->GetItems()->Add(s);
    f.ds->Open();
    EXPECT_EQ(list->GetItemIndex(), 1);
    f.form.Show();
    ClickAt(list, 20, list->ItemRect(2).Top + 3);
    EXPECT_EQ(f.ds->GetState(), dsEdit);
    f.ds->Post();
    EXPECT_EQ(std::get<String>(f.ds->StoreValue(0, 3)), "Rome");
}

TEST(DBComboBox, PickingAnItemWritesIt) {
    TBoundForm f;
    auto* combo = f.Place<TDBComboBox>("city", 10);
    combo->SetStyle(csDropDownList);
    for (const char* s : {"Lima", "Oslo", "Rome"}) combo->GetItems()->Add(s);
    f.ds->Open();
    EXPECT_EQ(combo->GetItemIndex(), 1);
    f.Focus(combo);
    PressKey(&f.form, VK_DOWN);
    EXPECT_EQ(f.ds->GetState(), dsEdit);
    f.ds->Post();
    EXPECT_EQ(std::get<String>(f.ds->StoreValue(0, 3)), "Rome");
}

// A lookup source of cities keyed by code, and a data set whose field holds the code.
struct TLookupForm : TBoundForm {
    std::unique_ptr<TMemoryDataSet> cities = std::make_unique<TMemoryDataSet>(nullptr);
    std::unique_ptr<TDataSource> citySource = std::make_unique<TDataSource>(nullptr);
    TLookupForm() {
        cities->AddFieldDef("code", ftString);
        cities->AddFieldDef("title", ftString);
        for (auto [code, title] : {std::pair{"Lima", "Lima, Peru"}, std::pair{"Oslo", "Oslo, Norway"}, std::pair{"Rome", "Rome, Italy"}})
            cities->AppendStoreRow({String(code), String(title)});
        citySource->SetDataSet(cities.get());
        cities->Open();
    }
    template <class T>
    T* PlaceLookup(int Top, int Height) {
        auto* c = Place<T>("city", Top, Height);
        c->SetListSource(citySource.get());
        c->SetKeyField("code");
        c->SetListField("title");
        return c;
    }
};

TEST(DBLookupComboBox, ShowsTheListTextAndChoosesKeys) {
    TLookupForm f;
    auto* combo = f.PlaceLookup<TDBLookupComboBox>(10, 22);
    f.ds->Open();
    EXPECT_EQ(combo->GetText(), "Oslo, Norway");
    EXPECT_EQ(combo->ButtonRect().Width(), GetSystemMetrics(SM_CXVSCROLL));
    f.Focus(combo);
    PressKey(&f.form, VK_DOWN);
    EXPECT_EQ(combo->GetText(), "Rome, Italy");
    f.ds->Post();
    EXPECT_EQ(std::get<String>(f.ds->StoreValue(0, 3)), "Rome");
    f.citySource.reset();
    EXPECT_EQ(combo->GetListSource(), nullptr);
    EXPECT_TRUE(combo->Rows().empty());
}

TEST(DBLookupComboBox, TheDroppedListPicksARow) {
    TLookupForm f;
    auto* combo = f.PlaceLookup<TDBLookupComboBox>(10, 22);
    f.ds->Open();
    f.Focus(combo);
    ClickAt(combo, combo->GetWidth() - 5, 5);
    ASSERT_TRUE(combo->GetListVisible());
    PressKey(&f.form, VK_UP);
    PressKey(&f.form, VK_RETURN);
    EXPECT_FALSE(combo->GetListVisible());
    EXPECT_EQ(combo->GetKeyValue(), "Lima");
    EXPECT_EQ(f.ds->GetState(), dsEdit);
}

TEST(DBLookupListBox, ListsTheRowsAndAClickWritesTheKey) {
    TLookupForm f;
    auto* list = f.PlaceLookup<TDBLookupListBox>(10, 90);
    f.ds->Open();
    EXPECT_EQ(list->GetItems()->Count(), 3);
    EXPECT_EQ(list->GetKeyValue(), "Oslo");
    f.form.Show();
    ClickAt(list, 20, list->ItemRect(0).Top + 3);
    EXPECT_EQ(f.ds->FieldByName("city")->GetAsString(), "Lima");
    f.ds->Post();
    EXPECT_EQ(std::get<String>(f.ds->StoreValue(0, 3)), "Lima");
}

TEST(DBGrid, RowsFollowTheDataSetAndMoveIt) {
    TBoundForm f;
    auto* grid = new TDBGrid(&f.form);
    grid->SetParent(&f.form);
    grid->SetBounds(10, 10, 400, 200);
    grid->SetDataSource(f.source.get());
    f.ds->Open();
    EXPECT_EQ(grid->GetColCount(), f.ds->GetFieldCount() + 1);
    EXPECT_EQ(grid->GetRowCount(), 4);
    EXPECT_EQ(grid->GetRow(), 1);
    EXPECT_EQ(grid->CellText(2, 3), "Cid");
    f.ds->Last();
    EXPECT_EQ(grid->GetRow(), 3);
    f.form.Show();
    TRect second = grid->CellRect(2, 2);
    ClickAt(grid, second.Left + 5, second.Top + 5);
    EXPECT_EQ(f.ds->GetRecNo(), 2);
    grid->SetFocus();
    RunUntil([&] { return grid->Focused(); }, 2000);
    PressKey(&f.form, VK_UP);
    EXPECT_EQ(f.ds->GetRecNo(), 1);
    f.ds->Delete();
    EXPECT_EQ(grid->GetRowCount(), 3);
    EXPECT_EQ(grid->CellText(2, 1), "Bob");
}

}  // namespace
