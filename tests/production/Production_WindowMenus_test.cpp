// The menu and authoring steps of the production windows with stand-in libraries: the result
// code each failure ends with, Stop during a menu encode, the authoring progress, the DVD folder's
// name, and the compile-mode window's own rules.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "model/CustomClass.h"
#include "core/Pubfunction.h"
#include "model/MenuObjects.h"
#include "platform/vcl/SysUtils.h"
#include "productionwindows/Builder_Window.h"
#include "productionwindows/Compiler_Window.h"
#include "tests/support/ScriptedInteraction.h"
#include "tests/support/TempFolder.h"

namespace {

namespace fs = std::filesystem;
using testing_vcl::TTempFolder;

FARPROC Proc(auto* f) { return reinterpret_cast<FARPROC>(f); }

TProductionWindow* g_window = nullptr;
int g_encodeResult = 0;
bool g_stopDuringEncode = false;
int g_muxResult = DOZEZEDAV_OK;
int g_authorResult = DOZEZEDAV_OK;
bool g_authorWritesIfo = false;
int g_mb = 0;
int g_percent = 0;

extern "C" int StandInInfo(std::int32_t* info) { info[0] = info[1] = info[2] = 0; return 0; }
extern "C" int StandInStop() { return 0; }
extern "C" int StandInClip(void*, int, const char*, const char*, const char*, const char*, const char*, const char*,
                           const char*, const char*, const char*, const char*, const char*, const char*, const char*,
                           const char*, const char*, const char*, const char*, const char*, const char*, const char*,
                           int, int, const char*, int) { return 0; }
bool g_stopAsked = false;
extern "C" int StandInStopAsked() {
    g_stopAsked = true;
    return 0;
}
// The menu encode: the user presses Stop while it runs, as the window's messages flow.
extern "C" int StandInStill(void*, int, const char*, const char*, const char*, const char*, const char*,
                            const char* vob, int, const char*) {
    if (g_stopDuringEncode && g_window != nullptr) g_window->suiImageButton_StopClick(nullptr);
    if (g_encodeResult == 0) std::ofstream(vob) << "menu";
    return g_encodeResult;
}
extern "C" int* StandInPercent() { return &g_percent; }
extern "C" int StandInMux(const char*, const char* in, const char* out) {
    if (g_muxResult == DOZEZEDAV_OK) std::ofstream(out) << "muxed " << in;
    return g_muxResult;
}
extern "C" int* StandInMB() { return &g_mb; }
// Reads the project's dest and, when asked, leaves a folder that only looks authored.
extern "C" int StandInAuthor(const char* xml) {
    std::ifstream in(xml);
    std::string first;
    std::getline(in, first);
    const auto from = first.find("dest=\"") + 6;
    const std::string dest = first.substr(from, first.find('"', from) - from);
    if (g_authorWritesIfo) {
        fs::create_directories(dest + "/VIDEO_TS");
        std::ofstream(dest + "/VIDEO_TS/VIDEO_TS.IFO") << "not an IFO";
    }
    return g_authorResult;
}

TBitmap* Solid(int w, int h) {
    auto* b = new TBitmap(w, h, pf24bit);
    b->GetCanvas()->GetBrush()->SetColor(clNavy);
    b->GetCanvas()->FillRect(TRect(0, 0, w, h));
    return b;
}

class productionMenuSteps : public ::testing::Test {
protected:
    void SetUp() override {
        g_encodeResult = 0;
        g_stopDuringEncode = false;
        g_muxResult = DOZEZEDAV_OK;
        g_authorResult = DOZEZEDAV_OK;
        g_authorWritesIfo = false;
        // A program folder of this test's own: its work folder is emptied at every run.
        savedExePath = ExePath;
        ExePath = program.Path() + "/";
        g_s_OutputFolder = out.Path() + "/";
        std::ofstream(out["OutputVOB_0.vob"]) << "clip";
        auto* clip = new TClipInfo();
        clip->Picture = Solid(160, 120);
        clip->i_Duration = 30;
        clip->i_TrimEnd = 30;
        clip->i_SourceHeight = 576;
        clip->s_VobFile = out["OutputVOB_0.vob"];
        clip->TitleButton = new TButtonImage(nullptr, clip);
        clip->TitleButton->SetBounds(60, 60, 120, 90);
        clip->ChapterMenu = new TSubChapter(clip);
        std::unique_ptr<TBitmap> frame(Solid(80, 60));
        clip->ChapterMenu->AddButton(frame.get(), 0);
        clip->ChapterMenu->GetButton(0)->SetBounds(40, 100, 100, 75);
        ClipInfo.push_back(clip);
        window = std::make_unique<TBuilderWindow>(nullptr);
        g_window = window.get();
        window->b_TitleMenu = true;
        window->i_Aspect = 1;
        window->SetBuildMode();
        window->SetConvertParameters();
        window->EnterBusyState();
    }
    void TearDown() override {
        g_window = nullptr;
        window.reset();
        Pubfunction::ClearClipInfo();
        Win32_UnregisterModule("CorvaneDLL.dll");
        Win32_UnregisterModule("dozezedav.dll");
        ExePath = savedExePath;
    }
    static void RegisterMedia() {
        Win32_RegisterModule("CorvaneDLL.dll", {{"X_Get_Info", Proc(&StandInInfo)}, {"X_StopConvert", Proc(&StandInStop)},
                                                {"X_SetPar_D2MPEG", Proc(&StandInClip)},
                                                {"X_SetPar_BMP2VOB", Proc(&StandInStill)}});
    }
    static void RegisterAuthoring(bool WithProgress = true) {
        if (WithProgress)
            Win32_RegisterModule("dozezedav.dll", {{"spumux_main", Proc(&StandInMux)},
                                                   {"getSubtitleMuxPercent", Proc(&StandInPercent)},
                                                   {"author_main", Proc(&StandInAuthor)}, {"getVOBsMB", Proc(&StandInMB)}});
        else
            Win32_RegisterModule("dozezedav.dll", {{"spumux_main", Proc(&StandInMux)},
                                                   {"getSubtitleMuxPercent", Proc(&StandInPercent)},
                                                   {"author_main", Proc(&StandInAuthor)}});
    }
    String LastLine() const {
        TStrings* lines = window->Memo_Msg->GetLines();
        return lines->Count() > 0 ? lines->Strings(lines->Count() - 1) : String();
    }
    bool Logged(const String& Line) const {
        TStrings* lines = window->Memo_Msg->GetLines();
        for (int i = 0; i < lines->Count(); ++i)
            if (lines->Strings(i) == Line) return true;
        return false;
    }
    // The menu steps and authoring as the run calls them.
    void RunMenusAndAuthoring() {
        if (window->CreateTitleMenu() && window->CreateChapterMenus() && window->AuthorDVD()) window->EnterIdleState(1);
    }

    TTempFolder program{"menusteps program"};
    TTempFolder out{"menusteps out"};
    String savedExePath;
    std::unique_ptr<TBuilderWindow> window;
};

TEST_F(productionMenuSteps, EachFailureEndsWithItsResultLine) {
    struct Case {
        const char* Name;
        bool Media, Authoring, Progress;
        int Encode, Mux, Author;
        bool BadWorkFolder, FailChapterOnly;
        const char* Last;
    };
    const Case cases[] = {
        {"title files not made", true, true, true, 0, 0, 0, true, false, "<<< Create titleMenu parameter wrong"},
        {"title encode fails", true, true, true, 1, 0, 0, false, false, "<<< TitleMenu conversion wrong"},
        {"no media library", false, true, true, 0, 0, 0, false, false, "<<< TitleMenu conversion wrong"},
        {"title mux fails", true, true, true, 0, DOZEZEDAV_NO_OUTPUT, 0, false, false, "<<< TitleMenu mux wrong"},
        {"no authoring library", true, false, true, 0, 0, 0, false, false, "<<< TitleMenu mux wrong"},
        {"chapter files not made", true, true, true, 0, 0, 0, true, true, "<<< Create chapter parameter wrong"},
        {"chapter encode fails", true, true, true, 1, 0, 0, false, true, "<<< ChapterMenu conversion wrong"},
        {"chapter mux fails", true, true, true, 0, DOZEZEDAV_PROGRAM_ERROR, 0, false, true, "<<< ChapterMenu mux wrong"},
        {"authoring fails", true, true, true, 0, 0, DOZEZEDAV_PROGRAM_FAILED, false, false, "<<< Author DVD process wrong"},
        {"progress entry missing", true, true, false, 0, 0, 0, false, false, "<<< Can not start author DVD process"},
    };
    for (const Case& c : cases) {
        Win32_UnregisterModule("CorvaneDLL.dll");
        Win32_UnregisterModule("dozezedav.dll");
        // A module lacking its entry points stands for one that can't be loaded: the real ones
        // lie beside the test program.
        if (c.Media) RegisterMedia(); else Win32_RegisterModule("CorvaneDLL.dll", {{"X_Get_Info", Proc(&StandInInfo)}});
        if (c.Authoring) RegisterAuthoring(c.Progress); else Win32_RegisterModule("dozezedav.dll", {{"getVOBsMB", Proc(&StandInMB)}});
        g_encodeResult = c.Encode;
        g_muxResult = c.Mux;
        g_authorResult = c.Author;
        window->InitControls();
        window->SetConvertParameters();
        window->EnterBusyState();
        if (c.BadWorkFolder) {
            std::ofstream(out["plain file"]) << "x";
            window->s_TempFolder = out["plain file"] + "/";
        }
        // The chapter step on its own: its menus are made whether or not a title menu is.
        if (c.FailChapterOnly) {
            if (window->CreateChapterMenus()) window->EnterIdleState(1);
        } else {
            RunMenusAndAuthoring();
        }
        EXPECT_EQ(LastLine(), c.Last) << c.Name;
        EXPECT_EQ(window->MediaEncoder, nullptr) << c.Name;
        EXPECT_EQ(window->MuxLibrary, nullptr) << c.Name;
        EXPECT_EQ(window->AuthorLibrary, nullptr) << c.Name;
        EXPECT_TRUE(window->suiImageButton_Start->GetVisible()) << c.Name;
        fs::remove(out["plain file"]);
    }
}

TEST_F(productionMenuSteps, AnUnwritableAuthorXmlIsAParameterFault) {
    RegisterMedia();
    RegisterAuthoring();
    ASSERT_TRUE(window->CreateTitleMenu());
    ASSERT_TRUE(window->CreateChapterMenus());
    std::ofstream(out["plain file"]) << "x";
    window->s_TempFolder = out["plain file"] + "/";
    if (window->AuthorDVD()) window->EnterIdleState(1);
    EXPECT_EQ(LastLine(), "<<< Author DVD parameter wrong");
}

TEST_F(productionMenuSteps, StopDuringAMenuEncodeIsAUserAbort) {
    Win32_RegisterModule("CorvaneDLL.dll", {{"X_Get_Info", Proc(&StandInInfo)}, {"X_StopConvert", Proc(&StandInStopAsked)},
                                            {"X_SetPar_D2MPEG", Proc(&StandInClip)},
                                            {"X_SetPar_BMP2VOB", Proc(&StandInStill)}});
    RegisterAuthoring();
    testing_vcl::TScriptedInteraction ask;
    testing_vcl::TInstallInteraction installed(ask);
    g_stopDuringEncode = true;
    g_stopAsked = false;
    g_encodeResult = 1;  // the stopped encoder's answer
    ask.MessageAnswers.push_back(mrYes);
    RunMenusAndAuthoring();
    EXPECT_TRUE(g_stopAsked) << "Stop is offered while a menu encodes";
    EXPECT_EQ(LastLine(), "<<< User abort");
    EXPECT_FALSE(Logged("<<< TitleMenu conversion wrong"));
    // A stop that came as the encode finished well is an abort as well.
    window->EnterBusyState();
    g_encodeResult = 0;
    ask.MessageAnswers.push_back(mrYes);
    RunMenusAndAuthoring();
    EXPECT_EQ(LastLine(), "<<< User abort");
    EXPECT_TRUE(ask.AllAnswersUsed());
}

TEST_F(productionMenuSteps, AFolderThatDoesNotReadBackIsNoDisc) {
    RegisterMedia();
    RegisterAuthoring();
    // The library says it authored, and leaves a VIDEO_TS.IFO that is none.
    g_authorWritesIfo = true;
    RunMenusAndAuthoring();
    EXPECT_EQ(LastLine(), "<<< Author DVD process wrong");
    EXPECT_FALSE(fs::exists(out["DVD_DISC"]));
    EXPECT_TRUE(fs::exists(out["OutputVOB_0.vob"]));
    EXPECT_FALSE(window->b_Authored);
    // Nor is a folder the library left without its IFO.
    g_authorWritesIfo = false;
    window->EnterBusyState();
    RunMenusAndAuthoring();
    EXPECT_EQ(LastLine(), "<<< Author DVD process wrong");
}

TEST_F(productionMenuSteps, TheMenuFilesAndLogLines) {
    RegisterMedia();
    RegisterAuthoring();
    TTempFolder music("menusteps music");
    std::ofstream(music["theme.mp3"]) << "x";
    s_BackgroundMusicFile = music["theme.mp3"];
    window->EnterBusyState();
    ASSERT_TRUE(window->CreateTitleMenu());
    ASSERT_TRUE(window->CreateChapterMenus());
    s_BackgroundMusicFile = "";
    const String temp = window->s_TempFolder;
    for (const char* name : {"Title.bmp", "Title_on.png", "Title_down.png", "Title.xml", "Title.vob", "Chapter_0.bmp",
                             "Chapter_on_0.png", "Chapter_down_0.png", "Chapter_0.xml", "Chapter_0.vob"})
        EXPECT_TRUE(fs::exists(temp + name)) << name;
    std::vector<String> lines;
    for (int i = 0; i < window->Memo_Msg->GetLines()->Count(); ++i) lines.push_back(window->Memo_Msg->GetLines()->Strings(i));
    const std::vector<String> expected = {"Title.bmp >>>> Title.vob",
                                          "Start to create title menu source file >>>",
                                          "Start to add background music to menu >>>",
                                          "Start to create title menu destination file >>>",
                                          "Chapter_0.bmp >>>> Chapter_0.vob",
                                          "Start to create chapter menu source file >>>",
                                          "Start to create chapter menu destination file >>>"};
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(window->s_MenuMusic, "NoFile");  // the chapter menu has none
    EXPECT_EQ(window->Label_Progress1->GetCaption(), "100 %");
}

TEST_F(productionMenuSteps, WithoutATitleMenuNothingIsMade) {
    RegisterMedia();
    RegisterAuthoring();
    window->b_TitleMenu = false;
    ASSERT_TRUE(window->CreateTitleMenu());
    EXPECT_EQ(window->Memo_Msg->GetLines()->Count(), 0);
    EXPECT_FALSE(fs::exists(window->s_TempFolder + "Title.bmp"));
    EXPECT_EQ(window->Label_Progress1->GetCaption(), "100 %");
}

TEST_F(productionMenuSteps, TheFixingPassIsAnnouncedOnceAndTheTotalIsAtLeastOneMegabyte) {
    struct Step { Int64 Mb; const char* Shown; };
    window->AuthorProgress.i_TotalVobMB = 200;
    const Step steps[] = {{100, "50 %"}, {191, "95 %"}, {192, "96 %"}, {199, "99 %"}, {260, "100 %"}};
    for (const Step& s : steps) {
        window->ShowAuthorProgress(s.Mb);
        EXPECT_EQ(window->Label_Progress1->GetCaption(), s.Shown) << s.Mb;
    }
    int fixLines = 0;
    for (int i = 0; i < window->Memo_Msg->GetLines()->Count(); ++i)
        fixLines += window->Memo_Msg->GetLines()->Strings(i) == "Start to fix VOB file(s) >>>";
    EXPECT_EQ(fixLines, 1);
    window->EnterBusyState();
    window->AuthorProgress.i_TotalVobMB = 0;
    window->ShowAuthorProgress(0);
    EXPECT_EQ(window->Label_Progress1->GetCaption(), "0 %");
    window->ShowAuthorProgress(1);
    EXPECT_EQ(window->Label_Progress1->GetCaption(), "100 %");
    EXPECT_EQ(window->AuthorProgress.i_TotalVobMB, 1);
    // Megabytes past the 32-bit range are summed and scaled without wrapping.
    window->AuthorProgress.i_TotalVobMB = Int64(3) << 31;
    window->ShowAuthorProgress(Int64(3) << 30);
    EXPECT_EQ(window->Label_Progress1->GetCaption(), "50 %");
}

TEST_F(productionMenuSteps, TheDvdFolderStaysInTheOutputFolder) {
    struct Case { const char* Typed; const char* Folder; };
    const Case cases[] = {{"../x", "X"}, {" my disc ", "MY_DISC"}, {"a&\"b", "AB"}};
    for (const Case& c : cases) {
        window->suiEdit_VolumeName->SetText(c.Typed);
        window->SetConvertParameters();
        ASSERT_TRUE(window->WriteAuthorXml()) << c.Typed;
        EXPECT_EQ(window->s_DVDFolder, g_s_OutputFolder + c.Folder + "/VIDEO_TS/") << c.Typed;
    }
    fs::create_directories(out["DVD_DISC"]);
    fs::create_directories(out["DVD_DISC_1"]);
    window->suiEdit_VolumeName->SetText("DVD_DISC");
    window->SetConvertParameters();
    ASSERT_TRUE(window->WriteAuthorXml());
    EXPECT_EQ(window->s_DVDFolder, g_s_OutputFolder + "DVD_DISC_2/VIDEO_TS/");
}

// ---- key frames at the chapters ------------------------------------------------------------------

std::vector<std::string> g_keyTimes;
int g_clipEncodes = 0;
extern "C" int StandInKeyTimes(const char* seconds) {
    g_keyTimes.push_back(seconds);
    return 0;
}
extern "C" int StandInCountedClip(void*, int, const char*, const char*, const char*, const char*, const char*,
                                  const char*, const char*, const char*, const char*, const char*, const char*,
                                  const char*, const char*, const char*, const char*, const char*, const char*,
                                  const char* output, const char*, const char*, int, int, const char*, int) {
    ++g_clipEncodes;
    std::ofstream(output) << "clip";
    return 0;
}

TEST_F(productionMenuSteps, EachClipEncodeAsksForKeyFramesAtItsChaptersWhenTheLibraryCan) {
    TTempFolder source("keytimes src");
    std::ofstream(source["a.mp4"]) << "x";
    std::ofstream(source["b.mp4"]) << "x";
    TClipInfo* first = ClipInfo[0];
    first->s_FileName = source["a.mp4"];
    first->i_Duration = 60;
    first->i_TrimStart = 10;
    first->i_TrimEnd = 40;
    std::unique_ptr<TBitmap> frame(Solid(80, 60));
    first->ChapterMenu->DeleteButton(first->ChapterMenu->GetButton(0));
    // From the trim start: 0, 5, 12; one before the trim and one past its end are no chapters.
    for (int time : {10, 15, 22, 3, 45}) first->ChapterMenu->AddButton(frame.get(), time);
    auto* second = new TClipInfo();
    second->s_FileName = source["b.mp4"];
    second->i_Duration = 20;
    second->i_TrimEnd = 20;
    ClipInfo.push_back(second);
    struct Case { bool Export; std::vector<std::string> Asked; };
    const Case cases[] = {{true, {"0,5,12"}}, {false, {}}};
    for (const Case& c : cases) {
        g_keyTimes.clear();
        g_clipEncodes = 0;
        Win32_UnregisterModule("CorvaneDLL.dll");
        if (c.Export)
            Win32_RegisterModule("CorvaneDLL.dll", {{"X_Get_Info", Proc(&StandInInfo)}, {"X_StopConvert", Proc(&StandInStop)},
                                                    {"X_SetPar_D2MPEG", Proc(&StandInCountedClip)},
                                                    {"X_SetPar_BMP2VOB", Proc(&StandInStill)},
                                                    {"X_SetPar_KeyTimes", Proc(&StandInKeyTimes)}});
        else
            Win32_RegisterModule("CorvaneDLL.dll", {{"X_Get_Info", Proc(&StandInInfo)}, {"X_StopConvert", Proc(&StandInStop)},
                                                    {"X_SetPar_D2MPEG", Proc(&StandInCountedClip)},
                                                    {"X_SetPar_BMP2VOB", Proc(&StandInStill)}});
        window->SetConvertParameters();
        window->EnterBusyState();
        EXPECT_TRUE(window->ConvertClips()) << c.Export;
        EXPECT_EQ(g_clipEncodes, 2) << c.Export;
        EXPECT_EQ(g_keyTimes, c.Asked) << "only the clip with chapters asks, once";
        EXPECT_EQ(window->MediaEncoder, nullptr);
    }
}

// ---- the compile-mode window -------------------------------------------------------------------

TEST(productionCompilerWindow, ItsModeLayoutAndSettings) {
    TTempFolder out("compiler out"), program("compiler program");
    const String savedExePath = ExePath;
    ExePath = program.Path() + "/";
    g_s_OutputFolder = out.Path() + "/";
    g_i_OutputQuality = 2;
    b_VideoForamt = true;
    auto* clip = new TClipInfo();
    clip->i_SourceHeight = 576;
    clip->i_AspectCode = 3;
    ClipInfo.push_back(clip);
    {
        TCompilerWindow window(nullptr);
        window.SetCompileMode();
        EXPECT_EQ(window.b_CompileMode, 1);
        EXPECT_EQ(window.b_BuildMode + window.b_ConvertMode, 0);
        EXPECT_FALSE(window.suiGroupBox_Output->GetVisible());
        EXPECT_TRUE(window.suiGroupBox_Burner->GetVisible());
        EXPECT_TRUE(window.suiEdit_OutputFolder->GetVisible());
        EXPECT_EQ(window.suiEdit_OutputFolder->GetParent(), &window);
        EXPECT_EQ(window.Label2->GetCaption(), "Authoring Process :");
        EXPECT_EQ(window.GetClientHeight(), 402);
        EXPECT_NE(window.suiImageButton_Device, nullptr);
        window.InitControls();
        EXPECT_EQ(window.suiComboBox_OutputQuality->GetItemIndex(), 0) << "its own list, not the setting";
        window.suiComboBox_OutputQuality->SetItemIndex(1);
        // The hidden NTSC box says NTSC; the clips are PAL, and the aspect follows the first clip.
        window.i_Aspect = 0;
        window.SetConvertParameters();
        window.EnterBusyState();
        EXPECT_EQ(window.i_VideoStandard, 2);
        EXPECT_EQ(window.s_FrameSize, "720:576");
        EXPECT_EQ(window.i_Aspect, 2);
        EXPECT_EQ(window.s_MenuAspect, "16/9");
        EXPECT_EQ(g_i_OutputQuality, 2);
        window.EnterIdleState(-1);
    }
    b_VideoForamt = false;
    g_i_OutputQuality = 0;
    Pubfunction::ClearClipInfo();
    ExePath = savedExePath;
}

}  // namespace
