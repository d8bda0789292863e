#include "app/SetupChapter_Window.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "model/CustomClass.h"
#include "core/Language.h"
#include "model/MenuObjects.h"
#include "platform/vcl/PngWriter.h"
#include "tests/support/ScriptedInteraction.h"
#include "tests/support/TestHelpers.h"

namespace {

using testing_vcl::TQuestionKind;

std::vector<String> ListOf(TStrings* Items) {
    std::vector<String> texts;
    for (int i = 0; i < Items->Count(); ++i) texts.push_back(Items->Strings(i));
    return texts;
}

class SetupChapterWindowTest : public ::testing::Test {
protected:
    void SetUp() override { m_window = std::make_unique<TSetupChapterWindow>(nullptr); }
    void Trim(int Start, int End) {
        m_clip.i_TrimStart = Start;
        m_clip.i_TrimEnd = End;
    }
    void Enter(int H, int M, int S) {
        m_window->suiSpinEdit_Hour->SetValue(H);
        m_window->suiSpinEdit_Min->SetValue(M);
        m_window->suiSpinEdit_Sec->SetValue(S);
    }
    void Select(int Index) {
        m_window->suiListBox_Time->SetItemIndex(Index);
        m_window->suiListBox_TimeClick(m_window->suiListBox_Time);
    }
    static void Click(TsuiImageButton* Button) { Button->Click(); }
    // The message shown by the last step, 0 for none.
    int LastMessage() {
        auto boxes = m_ask.Of(TQuestionKind::MessageBox);
        if (boxes.size() == m_seen) return 0;
        m_seen = boxes.size();
        for (int n : {27, 28, 29, 30})
            if (boxes.back().Text == Language::GetMessageText(n)) return n;
        return -1;
    }

    testing_vcl::TScriptedInteraction m_ask;
    testing_vcl::TInstallInteraction m_installed{m_ask};
    size_t m_seen = 0;
    TClipInfo m_clip;
    std::unique_ptr<TSetupChapterWindow> m_window;
};

TEST_F(SetupChapterWindowTest, ProposalsFollowTheTrimRange) {
    struct {
        int Start, End;
        std::vector<String> List;
        std::vector<String> Auto;
    } cases[] = {
        {0, 3600,
         {"00:00:00", "00:05:00", "00:10:00", "00:15:00", "00:20:00", "00:25:00", "00:30:00", "00:35:00",
          "00:40:00", "00:45:00", "00:50:00", "00:55:00"},
         {"2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"}},
        {0, 599, {"00:00:00", "00:04:59"}, {"2"}},
        {120, 121, {"00:02:00"}, {"2"}},
        {50, 50, {"00:00:50"}, {"2"}},
        {0, 100000, {}, {}},  // longer than a day: twelve, the list past 24 h
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.End);
        Trim(c.Start, c.End);
        ASSERT_TRUE(m_window->SetupClip(&m_clip));
        if (!c.List.empty()) EXPECT_EQ(ListOf(m_window->suiListBox_Time->GetItems()), c.List);
        if (!c.Auto.empty()) EXPECT_EQ(ListOf(m_window->suiComboBox_Auto->GetItems()), c.Auto);
        EXPECT_EQ(m_window->suiListBox_Time->GetItemIndex(), 0);
        EXPECT_EQ(m_window->Times[0], c.Start);
        EXPECT_GE(m_window->suiComboBox_Auto->GetItemIndex(), 0);
    }
    EXPECT_FALSE(m_window->SetupClip(nullptr));
}

TEST_F(SetupChapterWindowTest, EditsShowTheirListAndMessage) {
    Trim(0, 600);
    m_window->SetupClip(&m_clip);  // 0, 300
    struct Step {
        const char* Action;
        int H, M, S;
        int Select;
        int Message;
        std::vector<String> List;
    } steps[] = {
        {"insert", 0, 10, 0, -1, 28, {"00:00:00", "00:05:00"}},  // the trim end
        {"insert", 0, 5, 0, -1, 29, {"00:00:00", "00:05:00"}},
        {"insert", 0, 2, 30, -1, 0, {"00:00:00", "00:02:30", "00:05:00"}},
        {"modify", 0, 9, 59, 0, 30, {"00:00:00", "00:02:30", "00:05:00"}},
        {"modify", 0, 9, 59, 2, 0, {"00:00:00", "00:02:30", "00:09:59"}},
        {"delete", 0, 0, 0, 0, 30, {"00:00:00", "00:02:30", "00:09:59"}},
        {"delete", 0, 0, 0, 1, 0, {"00:00:00", "00:09:59"}},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(String(s.Action) + " " + IntToStr(s.M));
        if (s.Select >= 0) Select(s.Select);
        Enter(s.H, s.M, s.S);
        if (String(s.Action) == "insert") Click(m_window->suiButton_Insert);
        if (String(s.Action) == "modify") Click(m_window->suiButton_Modify);
        if (String(s.Action) == "delete") Click(m_window->suiButton_Delete);
        EXPECT_EQ(LastMessage(), s.Message);
        EXPECT_EQ(ListOf(m_window->suiListBox_Time->GetItems()), s.List);
        EXPECT_EQ(m_window->Count, static_cast<int>(s.List.size()));
    }
}

TEST_F(SetupChapterWindowTest, AFullListRefusesInsertWith27) {
    Trim(0, 3600);
    m_window->SetupClip(&m_clip);
    Enter(0, 7, 0);
    Click(m_window->suiButton_Insert);
    EXPECT_EQ(LastMessage(), 27);
    EXPECT_EQ(m_window->Count, 12);
}

TEST_F(SetupChapterWindowTest, DeletePast24HoursRemovesTheSelectedEntry) {
    Trim(86000, 90000);
    m_window->SetupClip(&m_clip);
    ASSERT_GE(m_window->Count, 3);
    const int kept = m_window->Times[2];
    Select(1);
    EXPECT_EQ(m_window->suiSpinEdit_Hour->GetValue(), m_window->Times[1] / 3600 % 24);
    Click(m_window->suiButton_Delete);
    EXPECT_EQ(LastMessage(), 0);
    EXPECT_EQ(m_window->Times[1], kept);
}

// A menu without buttons gets a proposal, not the previous clip's list; one button opens with
// that one time and the auto combo on "2".
TEST_F(SetupChapterWindowTest, ChapterMenusWithNoneOrOneButton) {
    Trim(0, 3600);
    m_window->SetupClip(&m_clip);  // twelve from before
    TClipInfo other;
    other.i_TrimStart = 10;
    other.i_TrimEnd = 1210;
    other.ChapterMenu = new TSubChapter(&other);
    m_window->SetupClip(&other);
    EXPECT_EQ(m_window->Count, 4);
    EXPECT_EQ(m_window->Times[0], 10);
    std::unique_ptr<TBitmap> frame(testing_vcl::SolidBitmap(80, 60, clGray));
    other.ChapterMenu->AddButton(frame.get(), 10);
    m_window->SetupClip(&other);
    EXPECT_EQ(m_window->Count, 1);
    EXPECT_EQ(m_window->suiComboBox_Auto->GetText(), "2");
}

// The scripted run: twelve proposed, an insert, a delete, the trim end refused, then OK.
TEST_F(SetupChapterWindowTest, OneHourClipEditedAndConfirmed) {
    Trim(0, 3600);
    ASSERT_TRUE(m_window->SetupClip(&m_clip));
    m_ask.ModalActions.push_back([this](TCustomForm*) {
        Select(3);
        Click(m_window->suiButton_Delete);  // 00:15:00
        Enter(1, 0, 0);
        Click(m_window->suiButton_Insert);
        EXPECT_EQ(LastMessage(), 28);
        Enter(0, 16, 40);
        Click(m_window->suiButton_Insert);
        EXPECT_EQ(LastMessage(), 0);
        testing_vcl::SaveRender(m_window.get(), "app", "chapter_dialog.png");
        Click(m_window->suiImageButton2);
    });
    EXPECT_EQ(m_window->ShowModal(), mrOk);
    ASSERT_EQ(m_window->Count, 12);
    EXPECT_EQ(m_window->Times[3], 1000);
    EXPECT_EQ(m_window->Times[4], 1200);
}

}  // namespace
