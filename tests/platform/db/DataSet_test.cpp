#include "platform/db/DataSet.h"

#include <functional>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "platform/db/MemoryDataSet.h"

namespace {

// Three people: id, name.
std::unique_ptr<TMemoryDataSet> People(int Rows = 3) {
    auto ds = std::make_unique<TMemoryDataSet>(nullptr);
    ds->SetName("People");
    ds->AddFieldDef("id", ftInteger);
    ds->AddFieldDef("name", ftString, 20);
    const char* names[] = {"Ann", "Bob", "Cid", "Dee", "Eve"};
    for (int i = 0; i < Rows; ++i) ds->AppendStoreRow({Int64{i + 1}, String(names[i])});
    return ds;
}

std::vector<String> StoreNames(const TMemoryDataSet& ds) {
    std::vector<String> out;
    for (int i = 0; i < ds.StoreRowCount(); ++i) {
        const TFieldValue& v = ds.StoreValue(i, 1);
        out.push_back(IsNullValue(v) ? String("<null>") : std::get<String>(v));
    }
    return out;
}

// Runs F and answers the EDatabaseError's text, or "" when nothing was raised.
String ErrorOf(const std::function<void()>& F) {
    try {
        F();
    } catch (const EDatabaseError& e) {
        return e.Message();
    }
    return "";
}

enum TStart { stInactive, stBrowse, stEdit, stEditModified, stInsert, stInsertModified, stEmpty, stReadOnly };

void Enter(TMemoryDataSet& ds, TStart Start) {
    if (Start == stReadOnly) ds.SetReadOnly(true);
    if (Start == stInactive) return;
    ds.Open();
    ds.Next();  // on Bob, so moves and inserts have somewhere to go
    if (Start == stEdit || Start == stEditModified) ds.Edit();
    if (Start == stInsert || Start == stInsertModified) ds.Insert();
    if (Start == stEditModified || Start == stInsertModified) ds.FieldByName("name")->SetAsString("New");
}

struct TTransition {
    const char* Label;
    TStart Start;
    std::function<void(TMemoryDataSet&)> Call;
    TDataSetState After;
    const char* Error;  // part of the EDatabaseError's text, "" when the call is allowed
    std::vector<String> Store;
};

void SetName(TMemoryDataSet& ds) { ds.FieldByName("name")->SetAsString("Typed"); }

const std::vector<String> kOriginal = {"Ann", "Bob", "Cid"};

}  // namespace

TEST(DataSet, EachCallIsAllowedInItsStatesAndRefusedOtherwise) {
    const std::vector<TTransition> cases = {
        {"First while closed", stInactive, [](TMemoryDataSet& d) { d.First(); }, dsInactive, "closed data set", kOriginal},
        {"Insert while closed", stInactive, [](TMemoryDataSet& d) { d.Insert(); }, dsInactive, "closed data set", kOriginal},
        {"Edit while closed", stInactive, [](TMemoryDataSet& d) { d.Edit(); }, dsInactive, "closed data set", kOriginal},
        {"Post while closed", stInactive, [](TMemoryDataSet& d) { d.Post(); }, dsInactive, "closed data set", kOriginal},
        {"Delete while closed", stInactive, [](TMemoryDataSet& d) { d.Delete(); }, dsInactive, "closed data set", kOriginal},
        {"Refresh while closed", stInactive, [](TMemoryDataSet& d) { d.Refresh(); }, dsInactive, "closed data set", kOriginal},
        {"Cancel while closed", stInactive, [](TMemoryDataSet& d) { d.Cancel(); }, dsInactive, "", kOriginal},
        {"Post while browsing", stBrowse, [](TMemoryDataSet& d) { d.Post(); }, dsBrowse, "Not in edit or insert mode", kOriginal},
        {"field write while browsing", stBrowse, SetName, dsBrowse, "Not in edit or insert mode", kOriginal},
        {"UpdateRecord while browsing", stBrowse, [](TMemoryDataSet& d) { d.UpdateRecord(); }, dsBrowse, "Not in edit or insert mode", kOriginal},
        {"Cancel while browsing", stBrowse, [](TMemoryDataSet& d) { d.Cancel(); }, dsBrowse, "", kOriginal},
        {"Edit while browsing", stBrowse, [](TMemoryDataSet& d) { d.Edit(); }, dsEdit, "", kOriginal},
        {"Insert while browsing", stBrowse, [](TMemoryDataSet& d) { d.Insert(); }, dsInsert, "", kOriginal},
        {"Append while browsing", stBrowse, [](TMemoryDataSet& d) { d.Append(); }, dsInsert, "", kOriginal},
        {"Delete while browsing", stBrowse, [](TMemoryDataSet& d) { d.Delete(); }, dsBrowse, "", {"Ann", "Cid"}},
        {"Refresh while browsing", stBrowse, [](TMemoryDataSet& d) { d.Refresh(); }, dsBrowse, "", kOriginal},
        {"field write in edit", stEdit, SetName, dsEdit, "", kOriginal},
        {"Edit in edit", stEdit, [](TMemoryDataSet& d) { d.Edit(); }, dsEdit, "", kOriginal},
        {"Post of an unchanged edit", stEdit, [](TMemoryDataSet& d) { d.Post(); }, dsBrowse, "", kOriginal},
        {"Next cancels an unchanged edit", stEdit, [](TMemoryDataSet& d) { d.Next(); }, dsBrowse, "", kOriginal},
        {"Post of a changed edit", stEditModified, [](TMemoryDataSet& d) { d.Post(); }, dsBrowse, "", {"Ann", "New", "Cid"}},
        {"Next posts a changed edit", stEditModified, [](TMemoryDataSet& d) { d.Next(); }, dsBrowse, "", {"Ann", "New", "Cid"}},
        {"Refresh posts a changed edit", stEditModified, [](TMemoryDataSet& d) { d.Refresh(); }, dsBrowse, "", {"Ann", "New", "Cid"}},
        {"Insert posts a changed edit", stEditModified, [](TMemoryDataSet& d) { d.Insert(); }, dsInsert, "", {"Ann", "New", "Cid"}},
        {"Cancel of a changed edit", stEditModified, [](TMemoryDataSet& d) { d.Cancel(); }, dsBrowse, "", kOriginal},
        {"Delete in edit", stEditModified, [](TMemoryDataSet& d) { d.Delete(); }, dsBrowse, "", {"Ann", "Cid"}},
        {"Close drops a changed edit", stEditModified, [](TMemoryDataSet& d) { d.Close(); }, dsInactive, "", kOriginal},
        {"Post of an insert", stInsertModified, [](TMemoryDataSet& d) { d.Post(); }, dsBrowse, "", {"Ann", "Bob", "Cid", "New"}},
        {"Cancel of an insert", stInsertModified, [](TMemoryDataSet& d) { d.Cancel(); }, dsBrowse, "", kOriginal},
        {"Delete of an insert cancels it", stInsertModified, [](TMemoryDataSet& d) { d.Delete(); }, dsBrowse, "", kOriginal},
        {"Edit in insert", stInsert, [](TMemoryDataSet& d) { d.Edit(); }, dsInsert, "", kOriginal},
        {"Prior cancels an unchanged insert", stInsert, [](TMemoryDataSet& d) { d.Prior(); }, dsBrowse, "", kOriginal},
        {"Post of an empty insert", stInsert, [](TMemoryDataSet& d) { d.Post(); }, dsBrowse, "", {"Ann", "Bob", "Cid", "<null>"}},
        {"Edit on a read-only set", stReadOnly, [](TMemoryDataSet& d) { d.Edit(); }, dsBrowse, "read-only", kOriginal},
        {"Insert on a read-only set", stReadOnly, [](TMemoryDataSet& d) { d.Insert(); }, dsBrowse, "read-only", kOriginal},
        {"Delete on a read-only set", stReadOnly, [](TMemoryDataSet& d) { d.Delete(); }, dsBrowse, "read-only", kOriginal},
    };
    for (const TTransition& c : cases) {
        SCOPED_TRACE(c.Label);
        auto ds = People();
        Enter(*ds, c.Start);
        String error = ErrorOf([&] { c.Call(*ds); });
        if (*c.Error) {
            EXPECT_NE(error.find(c.Error), String::npos) << error;
            EXPECT_EQ(error.rfind("People: ", 0), 0u) << "the error names the data set: " << error;
        } else {
            EXPECT_EQ(error, "");
        }
        EXPECT_EQ(ds->GetState(), c.After);
        EXPECT_EQ(StoreNames(*ds), c.Store);
    }
}

TEST(DataSet, AnEmptySetRefusesDeleteAndEditsByInserting) {
    auto ds = People(0);
    ds->Open();
    EXPECT_TRUE(ds->IsEmpty());
    EXPECT_EQ(ds->GetRecNo(), -1);
    EXPECT_NE(ErrorOf([&] { ds->Delete(); }).find("empty data set"), String::npos);
    EXPECT_TRUE(ds->FieldByName("name")->IsNull());
    ds->Edit();
    EXPECT_EQ(ds->GetState(), dsInsert);
    ds->FieldByName("name")->SetAsString("First");
    ds->Post();
    EXPECT_EQ(StoreNames(*ds), std::vector<String>{"First"});
    EXPECT_EQ(ds->GetRecordCount(), 1);
}

TEST(DataSet, BofAndEofFollowTheMoves) {
    struct TCase {
        const char* Label;
        int Rows;
        std::function<void(TDataSet&)> Moves;
        bool Bof, Eof;
        int RecNo;
    };
    const std::vector<TCase> cases = {
        {"open", 3, [](TDataSet&) {}, true, false, 1},
        {"one Next", 3, [](TDataSet& d) { d.Next(); }, false, false, 2},
        {"Next onto the last", 3, [](TDataSet& d) { d.Next(); d.Next(); }, false, false, 3},
        {"Next past the last", 3, [](TDataSet& d) { d.Next(); d.Next(); d.Next(); }, false, true, 3},
        {"Last", 3, [](TDataSet& d) { d.Last(); }, false, true, 3},
        {"Last then Prior", 3, [](TDataSet& d) { d.Last(); d.Prior(); }, false, false, 2},
        {"Prior at the first", 3, [](TDataSet& d) { d.Prior(); }, true, false, 1},
        {"Next then Prior twice", 3, [](TDataSet& d) { d.Next(); d.Prior(); d.Prior(); }, true, false, 1},
        {"First after Last", 3, [](TDataSet& d) { d.Last(); d.First(); }, true, false, 1},
        {"MoveBy past the end", 3, [](TDataSet& d) { d.MoveBy(10); }, false, true, 3},
        {"MoveBy past the start", 3, [](TDataSet& d) { d.Last(); d.MoveBy(-10); }, true, false, 1},
        {"MoveBy at its limits", 3, [](TDataSet& d) { d.MoveBy(2147483647); }, false, true, 3},
        {"RecNo set", 3, [](TDataSet& d) { d.SetRecNo(2); }, false, false, 2},
        {"empty set", 0, [](TDataSet&) {}, true, true, -1},
        {"Next on an empty set", 0, [](TDataSet& d) { d.Next(); }, true, true, -1},
        {"one row, Next", 1, [](TDataSet& d) { d.Next(); }, false, true, 1},
        {"delete the only row", 1, [](TDataSet& d) { d.Delete(); }, true, true, -1},
        {"delete the last row", 3, [](TDataSet& d) { d.Last(); d.Delete(); }, false, false, 2},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Label);
        auto ds = People(c.Rows);
        ds->Open();
        c.Moves(*ds);
        EXPECT_EQ(ds->GetBOF(), c.Bof);
        EXPECT_EQ(ds->GetEOF(), c.Eof);
        EXPECT_EQ(ds->GetRecNo(), c.RecNo);
    }
}

TEST(DataSet, MoveByAnswersHowFarItMoved) {
    auto ds = People(3);
    ds->Open();
    EXPECT_EQ(ds->MoveBy(5), 2);
    EXPECT_EQ(ds->MoveBy(1), 0);
    EXPECT_EQ(ds->MoveBy(-1), -1);
    EXPECT_EQ(ds->FieldByName("name")->GetAsString(), "Bob");
}

TEST(DataSet, BeforeAndAfterEventsComeInOrder) {
    auto ds = People();
    std::vector<String> log;
    auto record = [&log](const char* name) { return [&log, name](TDataSet*) { log.push_back(name); }; };
    ds->BeforeOpen = record("BeforeOpen");
    ds->AfterOpen = record("AfterOpen");
    ds->BeforeClose = record("BeforeClose");
    ds->AfterClose = record("AfterClose");
    ds->BeforeInsert = record("BeforeInsert");
    ds->AfterInsert = record("AfterInsert");
    ds->BeforeEdit = record("BeforeEdit");
    ds->AfterEdit = record("AfterEdit");
    ds->BeforePost = record("BeforePost");
    ds->AfterPost = record("AfterPost");
    ds->BeforeCancel = record("BeforeCancel");
    ds->AfterCancel = record("AfterCancel");
    ds->BeforeDelete = record("BeforeDelete");
    ds->AfterDelete = record("AfterDelete");
    ds->BeforeScroll = record("BeforeScroll");
    ds->AfterScroll = record("AfterScroll");
    ds->BeforeRefresh = record("BeforeRefresh");
    ds->AfterRefresh = record("AfterRefresh");
    ds->OnNewRecord = record("OnNewRecord");
    struct TStep {
        std::function<void()> Call;
        std::vector<String> Events;
    };
    const std::vector<TStep> steps = {
        {[&] { ds->Open(); }, {"BeforeOpen", "AfterOpen", "AfterScroll"}},
        {[&] { ds->Next(); }, {"BeforeScroll", "AfterScroll"}},
        {[&] { ds->Edit(); }, {"BeforeEdit", "AfterEdit"}},
        {[&] { SetName(*ds); ds->Next(); },
         {"BeforePost", "AfterPost", "BeforeScroll", "AfterScroll"}},
        {[&] { ds->Insert(); }, {"BeforeInsert", "BeforeScroll", "OnNewRecord", "AfterInsert", "AfterScroll"}},
        {[&] { ds->Cancel(); }, {"BeforeCancel", "AfterCancel"}},
        {[&] { ds->Delete(); }, {"BeforeDelete", "BeforeScroll", "AfterDelete", "AfterScroll"}},
        {[&] { ds->Refresh(); }, {"BeforeRefresh", "AfterRefresh"}},
        {[&] { ds->Close(); }, {"BeforeClose", "AfterClose"}},
    };
    for (size_t i = 0; i < steps.size(); ++i) {
        SCOPED_TRACE(i);
        log.clear();
        steps[i].Call();
        EXPECT_EQ(log, steps[i].Events);
    }
}

TEST(DataSet, ARefusingBeforeEventLeavesEverythingAsItWas) {
    struct TCase {
        const char* Label;
        TStart Start;
        TDataSetNotifyEvent TDataSet::*Event;
        std::function<void(TMemoryDataSet&)> Call;
        TDataSetState After;
    };
    const std::vector<TCase> cases = {
        {"BeforePost", stEditModified, &TDataSet::BeforePost, [](TMemoryDataSet& d) { d.Post(); }, dsEdit},
        {"BeforeEdit", stBrowse, &TDataSet::BeforeEdit, [](TMemoryDataSet& d) { d.Edit(); }, dsBrowse},
        {"BeforeInsert", stBrowse, &TDataSet::BeforeInsert, [](TMemoryDataSet& d) { d.Insert(); }, dsBrowse},
        {"OnNewRecord", stBrowse, &TDataSet::OnNewRecord, [](TMemoryDataSet& d) { d.Insert(); }, dsBrowse},
        {"BeforeDelete", stBrowse, &TDataSet::BeforeDelete, [](TMemoryDataSet& d) { d.Delete(); }, dsBrowse},
        {"BeforeScroll", stBrowse, &TDataSet::BeforeScroll, [](TMemoryDataSet& d) { d.Next(); }, dsBrowse},
        {"BeforeCancel", stEditModified, &TDataSet::BeforeCancel, [](TMemoryDataSet& d) { d.Cancel(); }, dsEdit},
        {"BeforeOpen", stInactive, &TDataSet::BeforeOpen, [](TMemoryDataSet& d) { d.Open(); }, dsInactive},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Label);
        auto ds = People();
        Enter(*ds, c.Start);
        const int recNo = ds->GetRecNo();
        const String shown = ds->GetActive() ? ds->FieldByName("name")->GetAsString() : "";
        (*ds).*(c.Event) = [](TDataSet*) { Abort(); };
        EXPECT_THROW(c.Call(*ds), EAbort);
        EXPECT_EQ(ds->GetState(), c.After);
        EXPECT_EQ(ds->GetRecNo(), recNo);
        if (ds->GetActive()) {
            EXPECT_EQ(ds->FieldByName("name")->GetAsString(), shown);
        }
        EXPECT_EQ(StoreNames(*ds), kOriginal);
        EXPECT_EQ(ds->GetRecordCount(), ds->GetActive() ? 3 : 0);
    }
}

TEST(DataSet, AStoreThatRefusesAWriteLeavesTheTypedRecord) {
    auto ds = People();
    ds->OnStoreWrite = [](const TRecord&, bool) { throw EDatabaseError("store refused"); };
    Enter(*ds, stEditModified);
    EXPECT_THROW(ds->Post(), EDatabaseError);
    EXPECT_EQ(ds->GetState(), dsEdit);
    EXPECT_EQ(ds->FieldByName("name")->GetAsString(), "New");
    EXPECT_TRUE(ds->GetModified());
    // A move that must post first does not move either.
    EXPECT_THROW(ds->Next(), EDatabaseError);
    EXPECT_EQ(ds->GetRecNo(), 2);
    EXPECT_EQ(ds->GetState(), dsEdit);
    ds->Cancel();
    EXPECT_THROW(ds->Delete(), EDatabaseError);
    EXPECT_EQ(ds->GetRecordCount(), 3);
    EXPECT_EQ(ds->FieldByName("name")->GetAsString(), "Bob");
    ds->Insert();
    SetName(*ds);
    EXPECT_THROW(ds->Post(), EDatabaseError);
    EXPECT_EQ(ds->GetState(), dsInsert);
    EXPECT_EQ(ds->FieldByName("name")->GetAsString(), "Typed");
    EXPECT_EQ(StoreNames(*ds), kOriginal);
    // Once the store takes it, the same Post goes through.
    ds->OnStoreWrite = nullptr;
    ds->Post();
    EXPECT_EQ(StoreNames(*ds), (std::vector<String>{"Ann", "Bob", "Cid", "Typed"}));
}

TEST(DataSet, ARequiredFieldMustHaveAValueToPost) {
    TMemoryDataSet ds(nullptr);
    ds.AddFieldDef("name", ftString, 0, true);
    ds.Open();
    ds.Append();
    EXPECT_NE(ErrorOf([&] { ds.Post(); }).find("Field 'name' must have a value"), String::npos);
    EXPECT_EQ(ds.GetState(), dsInsert);
    EXPECT_EQ(ds.StoreRowCount(), 0);
}

TEST(DataSet, CancelOfAnInsertReturnsToTheRecordBefore) {
    auto ds = People();
    ds->Open();
    ds->Last();
    ds->Append();
    EXPECT_TRUE(ds->GetEOF());
    ds->Cancel();
    EXPECT_EQ(ds->GetRecNo(), 3);
    EXPECT_TRUE(ds->GetEOF());
    ds->First();
    ds->Insert();
    EXPECT_EQ(ds->GetRecNo(), -1);
    EXPECT_EQ(ds->GetRecordCount(), 3);
    ds->Cancel();
    EXPECT_EQ(ds->GetRecNo(), 1);
    EXPECT_TRUE(ds->GetBOF());
    EXPECT_EQ(ds->FieldByName("name")->GetAsString(), "Ann");
}

TEST(DataSet, LocateFindsByTextAndStaysWhenNothingMatches) {
    auto ds = People(5);
    ds->Open();
    struct TCase {
        const char* Fields;
        std::vector<String> Values;
        TLocateOptions Options;
        bool Found;
        int RecNo;
    };
    const std::vector<TCase> cases = {
        {"name", {"Cid"}, {}, true, 3},
        {"name", {"cid"}, {}, false, 3},
        {"name", {"cid"}, {loCaseInsensitive}, true, 3},
        {"name", {"E"}, {loPartialKey}, true, 5},
        {"id;name", {"4", "Dee"}, {}, true, 4},
        {"id;name", {"4", "Eve"}, {}, false, 4},
        {"ID", {"1"}, {}, true, 1},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Fields);
        EXPECT_EQ(ds->Locate(c.Fields, c.Values, c.Options), c.Found);
        EXPECT_EQ(ds->GetRecNo(), c.RecNo);
    }
    EXPECT_THROW(ds->Locate("nope", {"x"}), EDatabaseError);
    EXPECT_THROW(ds->Locate("id;name", {"1"}), EDatabaseError);
}

TEST(DataSet, RefreshRereadsTheStoreAndKeepsTheCurrentRecord) {
    auto ds = People();
    ds->Open();
    ds->Last();
    // Another writer adds a row and the data set has not seen it.
    ds->AppendStoreRow({Int64{9}, String("Zed")});
    EXPECT_EQ(ds->GetRecordCount(), 3);
    ds->Refresh();
    EXPECT_EQ(ds->GetRecordCount(), 4);
    EXPECT_EQ(ds->FieldByName("name")->GetAsString(), "Cid");
    ds->Last();
    EXPECT_EQ(ds->FieldByName("name")->GetAsString(), "Zed");
}

TEST(DataSet, FieldsExistWhileOpenAndAreFoundWithoutCase) {
    auto ds = People();
    EXPECT_EQ(ds->FindField("name"), nullptr);
    ds->Open();
    EXPECT_EQ(ds->GetFieldCount(), 2);
    EXPECT_EQ(ds->FieldByName("NAME"), ds->Fields(1));
    EXPECT_EQ(ds->FindField("missing"), nullptr);
    EXPECT_NE(ErrorOf([&] { ds->FieldByName("missing"); }).find("Field 'missing' not found"), String::npos);
    EXPECT_TRUE(ds->Fields(0)->Is<TIntegerField>());
    EXPECT_TRUE(ds->Fields(1)->GetCanModify());
    ds->Close();
    EXPECT_EQ(ds->GetFieldCount(), 0);
}
