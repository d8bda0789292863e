// The burn-only window: its entry points, its start check and its run, on the scripted burner.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "app/CustomClass.h"
#include "app/Language.h"
#include "app/Pubfunction.h"
#include "platform/vcl/SysUtils.h"
#include "production/Burn_Window.h"
#include "tests/disc/FakeSdkFixture.h"
#include "tests/support/ScriptedInteraction.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestHelpers.h"

namespace {

namespace fs = std::filesystem;
using testing_vcl::TQuestionKind;

class burnWindow : public FakeSdkTest {
protected:
    void SetUp() override {
        FakeSdkTest::SetUp();
        installed = std::make_unique<testing_vcl::TInstallInteraction>(ask);
        fs::create_directories(folder["VIDEO_TS"]);
        window = new TBurnWindow(nullptr);
        BurnWindow = window;
        window->SetBurnMode();
        window->SetBurnSource(true, folder["VIDEO_TS"] + "/", 0);
    }
    void TearDown() override {
        BurnWindow = nullptr;
        delete window;
        Pubfunction::ClearClipInfo();
        installed.reset();
        FakeSdkTest::TearDown();
    }
    std::vector<String> Log() const {
        std::vector<String> lines;
        for (int i = 0; i < window->Memo_Msg->GetLines()->Count(); ++i) lines.push_back(window->Memo_Msg->GetLines()->Strings(i));
        return lines;
    }
    std::vector<String> Boxes() const {
        std::vector<String> texts;
        for (const auto& q : ask.Of(TQuestionKind::MessageBox)) texts.push_back(q.Text);
        return texts;
    }

    testing_vcl::TTempFolder folder{"burnwin_src"};
    testing_vcl::TScriptedInteraction ask;
    std::unique_ptr<testing_vcl::TInstallInteraction> installed;
    TBurnWindow* window = nullptr;
};

TEST_F(burnWindow, BurnModeShowsOnlyTheBurnerGroup) {
    EXPECT_EQ(window->b_BuildMode | window->b_ConvertMode | window->b_CompileMode, 0);
    EXPECT_TRUE(window->suiGroupBox_Burner->GetVisible());
    EXPECT_FALSE(window->suiGroupBox_Output->GetVisible());
    EXPECT_FALSE(window->suiImageButton_Browse->GetVisible());
    window->SetBurnSource(false, "", 1);
    EXPECT_TRUE(window->suiEdit_OutputFolder->GetVisible());
    EXPECT_TRUE(window->Label8->GetVisible());
    EXPECT_EQ(window->i_VideoStandard, 1);
}

// The output quality is not this window's: a show leaves the list empty and a run leaves the
// remembered choice alone.
TEST_F(burnWindow, TheOutputQualityIsNeitherFilledNorRemembered) {
    g_i_OutputQuality = 2;
    window->Show();
    EXPECT_EQ(window->suiComboBox_OutputQuality->GetItems()->Count(), 0);
    window->EnterBusyState();
    EXPECT_EQ(g_i_OutputQuality, 2);
    window->EnterIdleState(-1);
    window->Hide();
}

TEST_F(burnWindow, AVanishedFolderIsRefusedWithoutALogLine) {
    window->Show();
    fs::remove_all(folder["VIDEO_TS"]);
    window->suiImageButton_StartClick(nullptr);
    EXPECT_EQ(Boxes(), std::vector<String>{"No DVD folder selected!"});
    EXPECT_TRUE(Log().empty());
    EXPECT_TRUE(window->suiImageButton_Start->GetVisible());
    EXPECT_FALSE(window->suiImageButton_Stop->GetVisible());
    window->Hide();
}

// The clip-list source is not reached from the source page; the window still checks it.
TEST_F(burnWindow, TheClipListSourceNeedsClips) {
    window->SetBurnSource(false, "", 1);
    window->b_TitleMenu = true;
    window->b_RootMenu = true;
    EXPECT_FALSE(window->CheckBeforeStart());
    EXPECT_EQ(Boxes(), std::vector<String>{"No vob file to author DVD."});
    EXPECT_FALSE(window->b_TitleMenu);
    EXPECT_FALSE(window->b_RootMenu);

    // With a clip the check goes on to the burner: none here, and OK stops before the run.
    ClipInfo.push_back(new TClipInfo());
    ask.MessageAnswers.push_back(mrOk);
    EXPECT_FALSE(window->CheckBeforeStart());
    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Boxes()[1], Language::GetMessageText(75));
}

TEST_F(burnWindow, StopCannotStopAnything) {
    window->EnterBusyState();
    window->suiImageButton_StopClick(nullptr);
    EXPECT_EQ(Boxes(), std::vector<String>{"Can not stop process!"});
    EXPECT_TRUE(window->suiImageButton_Stop->GetVisible());
    window->EnterIdleState(-1);
}

}  // namespace
