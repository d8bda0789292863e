// The burn-only window: its entry points, its start check and its run, on the scripted burner.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "model/CustomClass.h"
#include "core/Language.h"
#include "core/Pubfunction.h"
#include "platform/vcl/PngWriter.h"
#include "platform/vcl/SysUtils.h"
#include "productionwindows/Burn_Window.h"
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
        ExePath = program.Path();  // the drawn pictures, and a work folder of this test's own
        installed = std::make_unique<testing_vcl::TInstallInteraction>(ask);
        g_i_BurnerIndex = -1;
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
        ExePath = savedExePath;
        FakeSdkTest::TearDown();
    }
    String savedExePath = ExePath;
    testing_vcl::TPrivateProgramFolder program;
    std::vector<String> Log() const {
        std::vector<String> lines;
        for (int i = 0; i < window->Memo_Msg->GetLines()->Count(); ++i) lines.push_back(window->Memo_Msg->GetLines()->Strings(i));
        return lines;
    }
    // A burner holding a disc of the SDK's media type, blank (0) or written (2).
    fake_starburn::FakeDrive& Writer(std::uint32_t Media, std::uint8_t DiscStatus) {
        fake_starburn::FakeDrive& drive = AddDrive("CdRom" + std::to_string(fake_starburn::State().drives.size()));
        drive.mediaType = Media;
        drive.discStatus = DiscStatus;
        drive.nwaValid = false;
        drive.nwa = 100;
        return drive;
    }
    void Render(TWinControl* Control, const std::string& Name) { testing_vcl::SaveRender(Control, "burn", Name); }
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

// The shared burner choice belongs to the other production windows: making this one leaves it.
TEST_F(burnWindow, CreatingTheWindowLeavesTheSharedBurnerChoice) {
    Writer(13, 0);
    g_i_BurnerIndex = 7;
    std::unique_ptr<TBurnWindow> another(new TBurnWindow(nullptr));
    EXPECT_EQ(another->suiComboBox_Drive->GetItemIndex(), 0);
    EXPECT_EQ(g_i_BurnerIndex, 7);
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

// ---- runs on the scripted burner ---------------------------------------------------------------

// Going on without a burner still runs the burning step, whose own check ends the run.
TEST_F(burnWindow, GoingOnWithoutABurnerEndsWithTheStepsError) {
    window->Show();
    ask.MessageAnswers = {mrCancel, mrOk};
    window->suiImageButton_StartClick(nullptr);
    EXPECT_EQ(Boxes(), (std::vector<String>{Language::GetMessageText(75),
                                            Language::GetMessageText(59) + Language::GetMessageText(60)}));
    EXPECT_EQ(ask.Of(TQuestionKind::MessageBox).at(1).DlgType, mtError);
    EXPECT_EQ(Log(), (std::vector<String>{"Check DVD disc >>>", "<<< Burning process wrong"}));
    EXPECT_TRUE(window->suiImageButton_Start->GetVisible());
    window->Hide();
}

// Going on with a written DVD-R leads to the another-disc question; Cancel ends the run.
TEST_F(burnWindow, GoingOnWithAnUnusableDiscAsksForAnotherDisc) {
    Writer(5, 2);
    window->Show();
    ask.MessageAnswers = {mrCancel, mrCancel};
    window->suiImageButton_StartClick(nullptr);
    EXPECT_EQ(Boxes(), (std::vector<String>{Language::GetMessageText(76),
                                            Language::GetMessageText(59) + Language::GetMessageText(61)}));
    EXPECT_EQ(Log(), (std::vector<String>{"Check DVD disc >>>", "<<< User cancels burning process"}));
    window->Hide();
}

// A slow burn: bar 2 moves, Stop can stop nothing, and the run ends with the notification's
// line and the run's own.
TEST_F(burnWindow, ABurnEndsWithTheBurnLineAndProcessFinish) {
    fake_starburn::FakeDrive& drive = Writer(13, 0);
    // Long enough for the facade's once-a-second progress to show a value on the way.
    drive.writeMs = 3000;
    drive.burnEvents = {{STARBURN_CN_PROGRESS, 100, 20}, {STARBURN_CN_DVD_MEDIA_PADDING_BEGIN, 0, 0},
                        {STARBURN_CN_PROGRESS, 100, 60}, {STARBURN_CN_DVD_MEDIA_PADDING_END, 0, 0}};
    std::ofstream(folder["VIDEO_TS/VIDEO_TS.IFO"]) << std::string(4096, 'i');
    window->Show();
    bool midBurnSeen = false;
    TTimer watch(nullptr);
    watch.SetInterval(20);
    watch.OnTimer = [&](TObject*) {
        const String bar = window->Label_Progress2->GetCaption();
        if (midBurnSeen || bar == "0 %" || bar == "100 %") return;
        midBurnSeen = true;
        window->suiImageButton_StopClick(nullptr);
        Render(window, "burn_window_mid_burn.png");
    };
    watch.SetEnabled(true);
    window->suiImageButton_StartClick(nullptr);
    watch.SetEnabled(false);
    EXPECT_TRUE(midBurnSeen);
    EXPECT_EQ(Boxes(), std::vector<String>{"Can not stop process!"});
    const std::vector<String> log = Log();
    ASSERT_GE(log.size(), 4u);
    EXPECT_EQ(log[0], "Check DVD disc >>>");
    EXPECT_EQ(log[log.size() - 2], "<<< Burn DVD disc finish");
    EXPECT_EQ(log.back(), "<<< Process finish");
    EXPECT_EQ(window->Label_Progress2->GetCaption(), "100 %");
    EXPECT_EQ(drive.writes, 1);
    Render(window, "burn_window_end.png");
    window->Hide();
}

}  // namespace
