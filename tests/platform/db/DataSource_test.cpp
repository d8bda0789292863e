#include "platform/db/DataSource.h"

#include <functional>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "platform/db/MemoryDataSet.h"

namespace {

using TLog = std::vector<String>;

// A link that writes each notification it hears into a shared log, prefixed with its tag.
class TRecordingLink : public TDataLink {
public:
    TRecordingLink(TLog& Log, String Tag) : m_log(Log), m_tag(std::move(Tag)) {}

protected:
    void ActiveChanged() override { Say("ActiveChanged " + String(GetActive() ? "on" : "off")); }
    void CheckBrowseMode() override { Say("CheckBrowseMode"); }
    void DataSetChanged() override { Say("DataSetChanged"); }
    void DataSetScrolled(int Distance) override { Say("DataSetScrolled " + IntToStr(Distance)); }
    void EditingChanged() override { Say("EditingChanged " + String(GetEditing() ? "on" : "off")); }
    void RecordChanged(TField* Field) override { Say("RecordChanged " + (Field ? Field->GetFieldName() : "-")); }
    void UpdateData() override { Say("UpdateData"); }

private:
    void Say(const String& What) { m_log.push_back(m_tag + " " + What); }
    TLog& m_log;
    String m_tag;
};

std::unique_ptr<TMemoryDataSet> People(int Rows = 3) {
    auto ds = std::make_unique<TMemoryDataSet>(nullptr);
    ds->AddFieldDef("id", ftInteger);
    ds->AddFieldDef("name", ftString);
    const char* names[] = {"Ann", "Bob", "Cid", "Dee", "Eve"};
    for (int i = 0; i < Rows; ++i) ds->AppendStoreRow({Int64{i + 1}, String(names[i])});
    return ds;
}

// A data set, a source and two recording links, with the set's and the source's events logged.
struct TWired {
    TLog log;
    std::unique_ptr<TMemoryDataSet> ds = People();
    std::unique_ptr<TDataSource> source = std::make_unique<TDataSource>(nullptr);
    TRecordingLink first{log, "L1"};
    TRecordingLink second{log, "L2"};

    TWired() {
        source->SetDataSet(ds.get());
        first.SetDataSource(source.get());
        second.SetDataSource(source.get());
        source->OnStateChange = [this](TObject*) { log.push_back("StateChange"); };
        source->OnDataChange = [this](TObject*, TField* f) {
            log.push_back("DataChange " + (f ? f->GetFieldName() : "-"));
        };
        source->OnUpdateData = [this](TObject*) { log.push_back("UpdateData"); };
        for (auto e : {&TDataSet::BeforeOpen, &TDataSet::AfterOpen, &TDataSet::BeforePost, &TDataSet::AfterPost,
                       &TDataSet::BeforeEdit, &TDataSet::AfterEdit, &TDataSet::BeforeScroll, &TDataSet::AfterScroll,
                       &TDataSet::BeforeClose, &TDataSet::AfterClose})
            (*ds).*e = [this](TDataSet*) { log.push_back("event"); };
    }
};

}  // namespace

TEST(DataLinks, NotificationsComeInTheClassLibrarysOrder) {
    TWired w;
    struct TStep {
        const char* Label;
        std::function<void(TMemoryDataSet&)> Call;
        TLog Expected;
    };
    const std::vector<TStep> steps = {
        {"Open", [](TMemoryDataSet& d) { d.Open(); },
         {"event", "L1 ActiveChanged on", "L2 ActiveChanged on", "StateChange", "DataChange -", "event", "event"}},
        {"Next", [](TMemoryDataSet& d) { d.Next(); },
         {"L1 CheckBrowseMode", "L2 CheckBrowseMode", "event", "L1 DataSetScrolled 1", "L2 DataSetScrolled 1",
          "DataChange -", "event"}},
        {"Edit", [](TMemoryDataSet& d) { d.Edit(); },
         {"event", "L1 EditingChanged on", "L2 EditingChanged on", "StateChange", "L1 RecordChanged -",
          "L2 RecordChanged -", "DataChange -", "event"}},
        {"field write", [](TMemoryDataSet& d) { d.FieldByName("name")->SetAsString("B."); },
         {"L1 RecordChanged name", "L2 RecordChanged name", "DataChange name"}},
        {"Post", [](TMemoryDataSet& d) { d.Post(); },
         {"L1 UpdateData", "L2 UpdateData", "UpdateData", "L1 CheckBrowseMode", "L2 CheckBrowseMode", "event",
          "L1 EditingChanged off", "L2 EditingChanged off", "StateChange", "L1 DataSetChanged", "L2 DataSetChanged",
          "DataChange -", "event"}},
        {"Close", [](TMemoryDataSet& d) { d.Close(); },
         {"event", "L1 ActiveChanged off", "L2 ActiveChanged off", "StateChange", "event"}},
    };
    for (const TStep& s : steps) {
        SCOPED_TRACE(s.Label);
        w.log.clear();
        s.Call(*w.ds);
        EXPECT_EQ(w.log, s.Expected);
    }
}

TEST(DataLinks, LinkingAndUnlinkingTellTheLink) {
    TWired w;
    w.ds->Open();
    w.log.clear();
    TRecordingLink late(w.log, "L3");
    late.SetDataSource(w.source.get());
    EXPECT_EQ(w.log, (TLog{"L3 ActiveChanged on"}));
    w.log.clear();
    w.source->SetEnabled(false);
    EXPECT_EQ(w.log, (TLog{"L1 ActiveChanged off", "L2 ActiveChanged off", "L3 ActiveChanged off", "StateChange"}));
    w.source->SetEnabled(true);
    w.log.clear();
    late.SetDataSource(nullptr);
    EXPECT_EQ(w.log, (TLog{"L3 ActiveChanged off"}));
    // A read-only link is never editing.
    w.first.SetReadOnly(true);
    w.log.clear();
    w.ds->Edit();
    EXPECT_FALSE(w.first.GetEditing());
    EXPECT_TRUE(w.second.GetEditing());
}

TEST(DataLinks, DisabledControlsHearOneChangeWhenEnabledAgain) {
    TWired w;
    w.ds->Open();
    w.log.clear();
    w.ds->DisableControls();
    w.ds->DisableControls();
    w.ds->Next();
    w.ds->Next();
    w.ds->EnableControls();
    EXPECT_EQ(w.log, (TLog{"event", "event", "event", "event"}));
    w.log.clear();
    w.ds->EnableControls();
    EXPECT_EQ(w.log, (TLog{"L1 DataSetChanged", "L2 DataSetChanged", "DataChange -"}));
}

TEST(DataLinks, FreeingEitherEndUnlinks) {
    TWired w;
    w.ds->Open();
    w.log.clear();
    w.ds.reset();
    EXPECT_EQ(w.source->GetDataSet(), nullptr);
    EXPECT_FALSE(w.first.GetActive());
    EXPECT_EQ(w.log, (TLog{"L1 ActiveChanged off", "L2 ActiveChanged off", "StateChange"}));

    TWired v;
    v.ds->Open();
    v.source.reset();
    EXPECT_EQ(v.first.GetDataSource(), nullptr);
    EXPECT_FALSE(v.second.GetActive());
    v.log.clear();
    v.ds->Next();  // nobody is told any more
    EXPECT_EQ(v.log, (TLog{"event", "event"}));
    {
        TRecordingLink brief(v.log, "L9");
        TDataSource s(nullptr);
        s.SetDataSet(v.ds.get());
        brief.SetDataSource(&s);
    }
    v.ds->Next();
}

TEST(DataLinks, TheWindowOfRecordsFollowsTheCursor) {
    auto ds = People(5);
    TDataSource source(nullptr);
    source.SetDataSet(ds.get());
    TLog log;
    TRecordingLink link(log, "L");
    link.SetBufferCount(2);
    link.SetDataSource(&source);
    ds->Open();
    struct TStep {
        std::function<void()> Move;
        int ActiveRecord;
        String Scrolled;
    };
    const std::vector<TStep> steps = {
        {[&] { ds->Next(); }, 1, "L DataSetScrolled 0"},
        {[&] { ds->Next(); }, 1, "L DataSetScrolled 1"},
        {[&] { ds->Last(); }, 1, "L DataSetChanged"},
        {[&] { ds->MoveBy(-3); }, 0, "L DataSetScrolled -2"},
    };
    for (size_t i = 0; i < steps.size(); ++i) {
        SCOPED_TRACE(i);
        log.clear();
        steps[i].Move();
        EXPECT_EQ(link.GetActiveRecord(), steps[i].ActiveRecord);
        EXPECT_EQ(log.back(), steps[i].Scrolled);
        EXPECT_EQ(link.GetRecordCount(), 2);
    }
    // Bob is current; the window shows Bob and Cid. Reading the other row and coming back:
    TField* name = ds->FieldByName("name");
    EXPECT_EQ(name->GetAsString(), "Bob");
    link.SetActiveRecord(1);
    EXPECT_EQ(name->GetAsString(), "Cid");
    link.SetActiveRecord(0);
    EXPECT_EQ(name->GetAsString(), "Bob");
}

TEST(FieldDataLink, ShowsTheFieldAndWritesTheControlsValueOnPost) {
    auto ds = People();
    TDataSource source(nullptr);
    source.SetDataSet(ds.get());
    TFieldDataLink link;
    String shown;  // what the "control" shows
    TLog log;
    link.OnDataChange = [&](TObject*) {
        shown = link.GetField() ? link.GetField()->GetText() : "";
        log.push_back("data " + shown);
    };
    link.OnEditingChange = [&](TObject*) { log.push_back(String("editing ") + (link.GetEditing() ? "on" : "off")); };
    link.OnUpdateData = [&](TObject*) { link.GetField()->SetAsString(shown); };
    link.SetDataSource(&source);
    link.SetFieldName("name");
    EXPECT_EQ(link.GetField(), nullptr);
    ds->Open();
    EXPECT_EQ(link.GetField(), ds->FieldByName("name"));
    EXPECT_EQ(shown, "Ann");
    EXPECT_TRUE(link.GetCanModify());

    // Typing: the control asks to edit, then marks itself modified.
    log.clear();
    EXPECT_TRUE(link.Edit());
    EXPECT_EQ(log, (TLog{"editing on", "data Ann"}));
    shown = "Anna";
    link.Modified();
    ds->Post();
    EXPECT_EQ(std::get<String>(ds->StoreValue(0, 1)), "Anna");

    // Reset shows the field's value again and forgets the control's.
    ds->Edit();
    shown = "typo";
    link.Modified();
    link.Reset();
    EXPECT_EQ(shown, "Anna");
    EXPECT_FALSE(link.GetModified());

    // A field written elsewhere shows at once; the link's own write does not echo back.
    ds->FieldByName("name")->SetAsString("Ann B.");
    EXPECT_EQ(shown, "Ann B.");
    ds->Cancel();
    EXPECT_EQ(shown, "Anna");

    // Without AutoEdit, or read-only, the link cannot start an edit.
    source.SetAutoEdit(false);
    EXPECT_FALSE(link.Edit());
    EXPECT_EQ(ds->GetState(), dsBrowse);
    source.SetAutoEdit(true);
    link.SetReadOnly(true);
    EXPECT_FALSE(link.GetCanModify());
    EXPECT_FALSE(link.Edit());
    link.SetReadOnly(false);

    // Another field name rebinds; a name the data set lacks binds nothing.
    link.SetFieldName("id");
    EXPECT_EQ(shown, "1");
    link.SetFieldName("nope");
    EXPECT_EQ(link.GetField(), nullptr);
    link.SetFieldName("name");
    ds->Close();
    EXPECT_EQ(link.GetField(), nullptr);
    EXPECT_EQ(shown, "");
}

TEST(FieldDataLink, AValueThatDoesNotConvertStopsThePostAndStaysTyped) {
    auto ds = People();
    TDataSource source(nullptr);
    source.SetDataSet(ds.get());
    TFieldDataLink link;
    String shown;
    link.OnDataChange = [&](TObject*) { shown = link.GetField() ? link.GetField()->GetText() : ""; };
    link.OnUpdateData = [&](TObject*) { link.GetField()->SetAsString(shown); };
    link.SetDataSource(&source);
    link.SetFieldName("id");
    ds->Open();
    link.Edit();
    shown = "99999999999";
    link.Modified();
    EXPECT_THROW(ds->Post(), EConvertError);
    EXPECT_EQ(ds->GetState(), dsEdit);
    EXPECT_EQ(shown, "99999999999");
    EXPECT_TRUE(link.GetModified());
    EXPECT_EQ(std::get<Int64>(ds->StoreValue(0, 0)), 1);
    shown = "12";
    ds->Post();
    EXPECT_EQ(std::get<Int64>(ds->StoreValue(0, 0)), 12);
}

TEST(FieldDataLink, ClosingWhileControlsAreDisabledStillDropsTheField) {
    auto ds = People();
    TDataSource source(nullptr);
    source.SetDataSet(ds.get());
    TFieldDataLink link;
    link.SetDataSource(&source);
    link.SetFieldName("name");
    ds->Open();
    ds->DisableControls();
    ds->Close();
    EXPECT_EQ(link.GetField(), nullptr);
    ds->EnableControls();
    ds->Open();
    EXPECT_EQ(link.GetField(), ds->FieldByName("name"));
}
