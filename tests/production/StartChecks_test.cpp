// What Start checks before a run: the folders the run writes into, the size of the project
// against the chosen disc, and the burner questions; and the log line of a folder that came out
// larger than the disc. Each case runs in a scratch home and a scratch current directory.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "model/CustomClass.h"
#include "core/Language.h"
#include "core/Pubfunction.h"
#include "platform/vcl/SysUtils.h"
#include "productionwindows/Builder_Window.h"
#include "productionwindows/Convert_Window.h"
#include "tests/support/ScriptedInteraction.h"
#include "tests/support/TempFolder.h"

namespace {

namespace fs = std::filesystem;
using testing_vcl::TQuestionKind;
using testing_vcl::TTempFolder;

bool g_encoded = false;

extern "C" int CountingEncode(void*, int, const char*, const char*, const char*, const char*, const char*, const char*,
                              const char*, const char*, const char*, const char*, const char*, const char*, const char*,
                              const char*, const char*, const char*, const char*, const char* output, const char*,
                              const char*, int, int, const char*, int) {
    g_encoded = true;
    std::ofstream(output) << "vob";
    return 0;
}
extern "C" int QuietInfo(std::int32_t* info) { info[0] = info[1] = info[2] = 0; return 0; }
extern "C" int QuietStop() { return 0; }
extern "C" int QuietStill(void*, int, const char*, const char*, const char*, const char*, const char*, const char*,
                          int, const char*) { return 0; }

FARPROC Proc(auto* f) { return reinterpret_cast<FARPROC>(f); }

// The protected checks, reachable for the cases below.
class TCheckedBuilder : public TBuilderWindow {
public:
    using TBuilderWindow::TBuilderWindow;
    using TProductionWindow::LogOversizedFolder;
};

class productionStartChecks : public ::testing::Test {
protected:
    void SetUp() override {
        g_encoded = false;
        savedExePath = ExePath;
        savedType = i_DVDType;
        savedDVD5 = i_DVD5Size;
        g_s_OutputFolder = out.Path() + "/";
        Win32_RegisterModule("CorvaneDLL.dll", {{"X_Get_Info", Proc(&QuietInfo)}, {"X_StopConvert", Proc(&QuietStop)},
                                                {"X_SetPar_D2MPEG", Proc(&CountingEncode)},
                                                {"X_SetPar_BMP2VOB", Proc(&QuietStill)}});
    }
    void TearDown() override {
        Pubfunction::ClearClipInfo();
        Win32_UnregisterModule("CorvaneDLL.dll");
        ExePath = savedExePath;
        i_DVDType = savedType;
        i_DVD5Size = savedDVD5;
        g_s_OutputFolder.clear();
        EXPECT_TRUE(scratch.CwdEntries().empty()) << "a file was made in the current directory";
    }
    void AddClips(int Count, int Seconds) {
        for (int i = 0; i < Count; ++i) {
            auto* clip = new TClipInfo();
            clip->s_FileName = src["clip.mp4"];
            clip->i_Duration = Seconds;
            clip->i_TrimEnd = Seconds;
            ClipInfo.push_back(clip);
        }
        std::ofstream(src["clip.mp4"]) << "x";
    }
    static int Lines(TProductionWindow* W) { return W->Memo_Msg->GetLines()->Count(); }

    testing_vcl::TScratchHome scratch;
    TTempFolder out{"startchk_out"};
    TTempFolder src{"startchk_src"};
    testing_vcl::TScriptedInteraction ask;
    testing_vcl::TInstallInteraction installed{ask};
    String savedExePath;
    int savedType = 0;
    int savedDVD5 = 0;
};

// An output folder the run cannot use is named before anything is encoded, and the window
// stays idle with an empty log.
TEST_F(productionStartChecks, OutputFoldersThatCannotServeAreNamedBeforeAnyEncode) {
    auto window = std::make_unique<TConvertWindow>(nullptr);
    window->SetConvertMode();
    window->InitControls();
    AddClips(1, 30);
    std::ofstream(out["a file"]) << "x";
    struct Case { String folder; int message; };
    const Case cases[] = {
        {"/proc/no-such/", 162},
        {out["a file"] + "/", 162},
        {ExePath + "Temp/", 164},                 // emptied after every run
        {window->s_TempFolder + "results/", 164},
    };
    for (const Case& c : cases) {
        g_s_OutputFolder = c.folder;
        ask.Questions.clear();
        window->suiImageButton_StartClick(nullptr);
        const auto boxes = ask.Of(TQuestionKind::MessageBox);
        ASSERT_EQ(boxes.size(), 1u) << c.folder;
        EXPECT_EQ(boxes[0].Text, Language::GetMessageText(c.message) + c.folder);
        EXPECT_FALSE(g_encoded) << c.folder;
        EXPECT_EQ(Lines(window.get()), 0) << c.folder;
        EXPECT_TRUE(window->suiImageButton_Start->GetVisible()) << c.folder;
        EXPECT_FALSE(DirectoryExists(c.folder + "results/")) << c.folder;
    }
    // A usable folder runs.
    g_s_OutputFolder = out.Path() + "/";
    ask.Questions.clear();
    window->suiImageButton_StartClick(nullptr);
    EXPECT_TRUE(g_encoded);
    EXPECT_EQ(window->Memo_Msg->GetLines()->Strings(Lines(window.get()) - 1), "<<< Process finish");
}

// Without a work folder the menus would be written wherever the program was started: the run
// does not start, and the message names the places tried.
TEST_F(productionStartChecks, NoWorkFolderStopsWithAMessage) {
    TTempFolder program("startchk_prog");
    std::ofstream(program["Temp"]) << "a file where the work folder would go";
    std::ofstream(scratch.Home() + "/.cache") << "a file where the cache would go";
    ExePath = program.Path() + "/";
    auto window = std::make_unique<TCheckedBuilder>(nullptr);
    window->SetBuildMode();
    window->InitControls();
    ASSERT_EQ(window->s_TempFolder, "");
    AddClips(1, 30);
    window->suiImageButton_StartClick(nullptr);
    const auto boxes = ask.Of(TQuestionKind::MessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, Language::GetMessageText(163) + "\n" + program.Path() + "/Temp/\n" + scratch.Home() +
                                 "/.cache/QuelloxDOZEzedav/Temp/");
    EXPECT_FALSE(g_encoded);
    EXPECT_EQ(Lines(window.get()), 0);
}

// A project over the chosen disc asks whether to go on, with the editor's text for that disc;
// No leaves the window idle, Yes goes on to the burner question, captioned "Burn to disc ?".
TEST_F(productionStartChecks, AProjectOverTheDiscAsksBeforeTheRun) {
    auto window = std::make_unique<TCheckedBuilder>(nullptr);
    window->SetBuildMode();
    window->InitControls();
    struct Case { int clips, seconds, dvdType; bool asks; int message; };
    const Case cases[] = {
        {5, 50 * 60, 0, true, 137},   // 250 minutes: 7.3 GB on a 4.2 GB disc
        {5, 50 * 60, 1, false, 0},    // fits DVD-9
        {6, 50 * 60, 1, true, 138},   // 300 minutes: over DVD-9 as well
        {2, 60 * 60, 0, false, 0},    // 120 minutes: 3.5 GB
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.clips * c.seconds / 60);
        Pubfunction::ClearClipInfo();
        AddClips(c.clips, c.seconds);
        i_DVDType = c.dvdType;
        for (TModalResult answer : {mrNo, mrYes}) {
            ask.Questions.clear();
            // OK in the burner question: choose another burner, so nothing runs.
            ask.MessageAnswers = c.asks ? std::deque<TModalResult>{answer, mrOk} : std::deque<TModalResult>{mrOk};
            window->suiImageButton_StartClick(nullptr);
            const auto boxes = ask.Of(TQuestionKind::MessageBox);
            ASSERT_FALSE(boxes.empty());
            const bool goesOn = !c.asks || answer == mrYes;
            if (c.asks) {
                EXPECT_EQ(boxes[0].Text, Language::GetMessageText(c.message) + "\n\n" + Language::GetMessageText(165));
                EXPECT_EQ(boxes[0].DlgType, mtConfirmation);
            }
            ASSERT_EQ(boxes.size(), (c.asks ? 1u : 0u) + (goesOn ? 1u : 0u));
            if (goesOn) {
                EXPECT_EQ(boxes.back().Text, Language::GetMessageText(75));  // no burner in the tests
                EXPECT_EQ(boxes.back().Caption, Language::GetMessageText(153));
            }
            EXPECT_FALSE(g_encoded);
            EXPECT_EQ(Lines(window.get()), 0);
            if (!c.asks) break;
        }
    }
}

// The authored folder is measured against the chosen disc; only a larger one gets a line.
TEST_F(productionStartChecks, AFolderLargerThanTheDiscIsLogged) {
    auto window = std::make_unique<TCheckedBuilder>(nullptr);
    window->SetBuildMode();
    window->InitControls();
    i_DVDType = 0;
    i_DVD5Size = 2048;  // KB: a 2 MB disc
    fs::create_directories(out["DVD_DISC/VIDEO_TS"]);
    window->s_DVDDest = out["DVD_DISC"];
    struct Case { std::uintmax_t bytes; bool logged; };
    for (const Case& c : {Case{1024 * 1024, false}, Case{2048 * 1024, false}, Case{3 * 1024 * 1024, true}}) {
        std::ofstream(out["DVD_DISC/VIDEO_TS/VTS_01_1.VOB"]).close();
        fs::resize_file(out["DVD_DISC/VIDEO_TS/VTS_01_1.VOB"], c.bytes);
        window->Memo_Msg->GetLines()->Clear();
        window->LogOversizedFolder();
        ASSERT_EQ(Lines(window.get()), c.logged ? 1 : 0) << c.bytes;
        if (c.logged) {
            EXPECT_EQ(window->Memo_Msg->GetLines()->Strings(0), Language::GetMessageText(166) + "3 MB > 2 MB");
        }
    }
}

}  // namespace
