// The Compiler flow's VOB intake on the real media library, with VOBs made here: NTSC and PAL
// material, files that are no VOBs, the disc limit and the first 12.
#include "menu/SetupMenu_Window.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "model/CustomClass.h"
#include "app/Progress_Window.h"
#include "core/Pubfunction.h"
#include "platform/vcl/PngWriter.h"
#include "productionwindows/Compiler_Window.h"
#include "tests/support/ScriptedInteraction.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestHelpers.h"

namespace fs = std::filesystem;
using testing_vcl::TQuestionKind;
using testing_vcl::TRecordedQuestion;

using testing_vcl::ReadText;
using testing_vcl::WriteText;

namespace {

fs::path DistDir() { return fs::path(TEST_PEER_DIR) / ".." / ".." / "dist"; }

// Two NTSC VOBs and one PAL VOB of a few seconds, and files named .vob that are none.
struct Fixtures : testing_vcl::TTempFolder {
    bool made = false;
    Fixtures() : TTempFolder("designer_vobs") {
        if (Path().empty()) return;
        const std::string ntsc = " -c:v mpeg2video -r 30000/1001 -aspect 4:3 -f vob";
        const std::string pal = " -c:v mpeg2video -r 25 -aspect 4:3 -f vob";
        made = testing_vcl::Ffmpeg("-f lavfi -i color=c=red:s=720x480:d=3" + ntsc, (*this)["ntsc_red.vob"]) &&
               testing_vcl::Ffmpeg("-f lavfi -i color=c=blue:s=720x480:d=3" + ntsc, (*this)["ntsc_blue.vob"]) &&
               testing_vcl::Ffmpeg("-f lavfi -i color=c=lime:s=720x576:d=3" + pal, (*this)["pal_green.vob"]);
        WriteText((*this)["empty.vob"], "");
        WriteText((*this)["notes.vob"], "these are my notes, not a film\n");
        if (made) {
            std::ifstream in((*this)["ntsc_red.vob"], std::ios::binary);
            std::string head(2048, '\0');
            in.read(head.data(), static_cast<std::streamsize>(head.size()));
            WriteText((*this)["truncated.vob"], head);
        }
    }
};

const Fixtures& Vobs() {
    static Fixtures f;
    return f;
}

// A stand-in that notes, for every file asked about, the progress window's maximum (or -1 when
// none is open) and reads no file.
std::vector<int> g_progressSeen;
extern "C" int NotingInfo(const char*, int, std::int32_t*) {
    g_progressSeen.push_back(ProgressWindow != nullptr ? ProgressWindow->GetMax() : -1);
    return -1;
}
extern "C" int NoFrame(int, int, const char*, std::uint8_t**, std::int32_t*) { return -1; }

class DesignerIntakeTest : public ::testing::Test {
protected:
    testing_vcl::TScriptedInteraction ask;
    std::unique_ptr<testing_vcl::TInstallInteraction> installed;
    TSetupMenuWindow* window = nullptr;
    String savedExePath = ExePath;

    void SetUp() override {
        ASSERT_TRUE(Vobs().made);
        ExePath = DistDir().string() + "/";
        i_CreateMenuSafeDistance = 10;
        i_DVD5Size = 4480000;
        i_DVD9Size = 8704000;
        i_DiscSizePerMin = 60000;
        s_BackgroundSrcFile.clear();
        s_BackgroundMusicFile.clear();
        b_DVD5 = true;
        b_4_3 = true;
        installed = std::make_unique<testing_vcl::TInstallInteraction>(ask);
        window = new TSetupMenuWindow(nullptr);
        SetupMenuWindow = window;
        window->Grabber()->WaitPauseMs = 5;
        window->SetupForCompiler();
        window->FormShow(window);
        window->Timer_CreateMenuTimer(window);
    }
    void TearDown() override {
        delete window;
        Pubfunction::ClearTitleMenuLabel();
        Pubfunction::ClearClipInfo();
        Win32_UnregisterModule(MediaLibraryName);
        installed.reset();
        ExePath = savedExePath;
        Pubfunction::FreeSharedBitmaps();
    }
    void Add(const std::vector<std::string>& Names) {
        std::vector<String> files;
        for (const std::string& n : Names) files.push_back(Vobs()[n]);
        ask.AnswerFiles(files);
        testing_vcl::Click(window->suiImageButton_AddFile);
    }
    std::vector<TRecordedQuestion> Boxes() const { return ask.Of(TQuestionKind::MessageBox); }
};

TEST_F(DesignerIntakeTest, VobsBecomeClipsWithTitleButtonsAndChapterMenus) {
    Add({"ntsc_red.vob", "ntsc_blue.vob"});
    const auto dialogs = ask.Of(TQuestionKind::FileDialog);
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].File.Filter, "VOB File (*.vob,*.VOB)|*.vob");
    ASSERT_EQ(ClipInfo.size(), 2u);
    for (TClipInfo* clip : ClipInfo) {
        EXPECT_EQ(clip->s_VobFile, clip->s_FileName);
        EXPECT_TRUE(clip->b_AddLetterBox);
        EXPECT_EQ(clip->i_SourceHeight, 480);
        EXPECT_NE(clip->TitleButton, nullptr);
        ASSERT_NE(clip->ChapterMenu, nullptr);
        EXPECT_EQ(clip->ChapterMenu->Buttons.size(), 1u) << "3 seconds: one chapter";
    }
    EXPECT_EQ(ClipInfo[1]->MenuTile->GetLeft(), 102);
    EXPECT_EQ(window->SelectedClipItem, ClipInfo[0]->MenuTile) << "the first clip is selected";
    EXPECT_TRUE(window->b_TitleView);
    EXPECT_TRUE(Boxes().empty()) << "one standard, within the disc";
    EXPECT_FALSE(window->b_Busy);
    EXPECT_FALSE(window->b_AddingFiles);

    window->Show();
    testing_vcl::RunFor(50);
    testing_vcl::SaveRender(window, "designer", "menu_designer_compiler.png");
}

TEST_F(DesignerIntakeTest, MixedStandardsAreNamedOnePerLineAndStopNext) {
    Add({"ntsc_red.vob", "ntsc_blue.vob"});
    Add({"pal_green.vob"});
    ASSERT_EQ(ClipInfo.size(), 3u);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].Text, "Unmatched video format clips added.\nThe following clip(s) is(are) NTSC : \n" +
                                   Vobs()["ntsc_red.vob"] + "\n" + Vobs()["ntsc_blue.vob"] + "\n" +
                                   "The following clip(s) is(are) PAL : \n" + Vobs()["pal_green.vob"] + "\n");
    EXPECT_FALSE(window->Next()) << "the designer stays while the standards are mixed";
    EXPECT_EQ(Boxes().size(), 2u);
    EXPECT_TRUE(ask.Of(TQuestionKind::ShowModal).empty());
    window->SelectClipItem(ClipInfo[2]->MenuTile);
    window->RemoveSelectedClip();
    CompilerWindow = new TCompilerWindow(nullptr);
    CompilerWindow->b_TitleMenu = false;
    CompilerWindow->b_RootMenu = false;
    ask.ModalActions.push_back([](TCustomForm* Form) { Form->SetModalResult(mrCancel); });
    EXPECT_TRUE(window->Next());
    EXPECT_EQ(Boxes().size(), 2u);
    ASSERT_EQ(ask.Of(TQuestionKind::ShowModal).size(), 1u);
    EXPECT_EQ(ask.Of(TQuestionKind::ShowModal)[0].Form, CompilerWindow);
    EXPECT_TRUE(CompilerWindow->b_TitleMenu);
    EXPECT_TRUE(CompilerWindow->b_RootMenu);
    EXPECT_EQ(CompilerWindow->i_Aspect, 0) << "written by the aspect calls, none since it exists";
    window->SetAspect16x9();
    EXPECT_EQ(CompilerWindow->i_Aspect, 2);
    delete CompilerWindow;
    CompilerWindow = nullptr;
}

TEST_F(DesignerIntakeTest, FilesThatAreNoVobsAreSkipped) {
    Add({"empty.vob", "ntsc_red.vob", "notes.vob", "truncated.vob"});
    ASSERT_EQ(ClipInfo.size(), 1u);
    EXPECT_EQ(ClipInfo[0]->s_FileName, Vobs()["ntsc_red.vob"]);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(ProgressWindow, nullptr);
}

TEST_F(DesignerIntakeTest, OverTheDiscLimitTellsWhichDiscToTake) {
    struct Case { bool dvd9; const char* message; };
    const Case cases[] = {
        {false, "Exceeding the DVD-5 disc media limite size. Please select DVD-9 to continue!"},
        {true, "Exceeding the DVD-9 disc media limite size. Please remove some clips to continue!"},
    };
    for (const Case& c : cases) {
        window->i_DVD5Capacity = 1;
        window->i_DVD9Capacity = 1;
        if (c.dvd9) window->SelectDVD9(); else window->SelectDVD5();
        const size_t before = Boxes().size();
        Add({"ntsc_red.vob"});
        ASSERT_EQ(Boxes().size(), before + 1);
        EXPECT_EQ(Boxes().back().Text, c.message);
    }
    EXPECT_EQ(ClipInfo.size(), 2u) << "the clips stay";
}

TEST_F(DesignerIntakeTest, TheThirteenthClipHasNoTitleButtonAndNoChapterMenu) {
    Add(std::vector<std::string>(13, "ntsc_red.vob"));
    ASSERT_EQ(ClipInfo.size(), 13u);
    for (int i = 0; i < 12; ++i) {
        EXPECT_NE(ClipInfo[i]->TitleButton, nullptr) << i;
        EXPECT_NE(ClipInfo[i]->ChapterMenu, nullptr) << i;
    }
    EXPECT_EQ(ClipInfo[12]->TitleButton, nullptr);
    EXPECT_EQ(ClipInfo[12]->ChapterMenu, nullptr);
    EXPECT_EQ(window->suiImagePanel_InfoMove->GetLeft(), 0) << "the thumb at the start shows the first six";
}

TEST_F(DesignerIntakeTest, SeveralFilesShowTheProgressAndOneDoesNot) {
    Win32_RegisterModule(MediaLibraryName, {{"X_GetFileinfo_GetPic", reinterpret_cast<FARPROC>(&NotingInfo)},
                                            {"X_Get_Frame", reinterpret_cast<FARPROC>(&NoFrame)}});
    g_progressSeen.clear();
    Add({"ntsc_red.vob"});
    EXPECT_EQ(g_progressSeen, (std::vector<int>{-1}));
    g_progressSeen.clear();
    Add({"ntsc_red.vob", "ntsc_blue.vob", "pal_green.vob"});
    EXPECT_EQ(g_progressSeen, (std::vector<int>{3, 3, 3}));
    EXPECT_EQ(ProgressWindow, nullptr);
    EXPECT_TRUE(ClipInfo.empty()) << "the stand-in reads no file";
}

TEST_F(DesignerIntakeTest, CancellingTheDialogAddsNothing) {
    ask.CancelFile();
    testing_vcl::Click(window->suiImageButton_AddFile);
    EXPECT_TRUE(ClipInfo.empty());
    EXPECT_FALSE(window->b_AddingFiles);
}

}  // namespace
