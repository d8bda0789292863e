// The clip list editor on the real media library, with clips made here, driven as a person would.
#include "app/SetupClip_Window.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>

#include "model/CustomClass.h"
#include "core/Language.h"
#include "app/Main_Window.h"
#include "app/Option_Window.h"
#include "core/Pubfunction.h"
#include "model/SetupClip_WindowRows.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/PngWriter.h"
#include "platform/vcl/SysUtils.h"
#include "tests/support/ScriptedInteraction.h"
#include "tests/support/StartUpFixture.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestHelpers.h"

namespace fs = std::filesystem;
using testing_vcl::TQuestionKind;

using testing_vcl::ReadText;
using testing_vcl::WriteText;

namespace {


// The clips every case uses, made once: two plain clips of 20 and 30 seconds, one of three
// ten-second colour segments (red, blue, green), and files that are no clips.
struct Fixtures : testing_vcl::TTempFolder {
    bool made = false;
    Fixtures() : TTempFolder("setupclip_clips") {
        if (Path().empty()) return;
        const std::string mpeg = " -c:v mpeg2video -aspect 4:3 -f vob";
        made = testing_vcl::Ffmpeg("-f lavfi -i testsrc=s=160x120:r=25:d=20" + mpeg, (*this)["twenty.mpg"]) &&
               testing_vcl::Ffmpeg("-f lavfi -i testsrc=s=160x120:r=25:d=30" + mpeg, (*this)["thirty.mpg"]) &&
               testing_vcl::Ffmpeg("-filter_complex \"color=c=red:s=160x120:r=25:d=10[a];color=c=blue:s=160x120:r=25:d=10[b];"
                                   "color=c=lime:s=160x120:r=25:d=10[c];[a][b][c]concat=n=3:v=1:a=0[v]\" -map \"[v]\"" + mpeg,
                                   (*this)["colours.mpg"]) &&
               testing_vcl::Ffmpeg("-f lavfi -i sine=f=440:d=3 -c:a mp2 -f mpeg", (*this)["audio.mpg"]);
        WriteText((*this)["notes.avi"], "these are my notes, not a film\n");
        WriteText((*this)["empty.avi"], "");
        if (made) {
            std::ifstream in((*this)["twenty.mpg"], std::ios::binary);
            std::string head(40, '\0');
            in.read(head.data(), static_cast<std::streamsize>(head.size()));
            WriteText((*this)["truncated.mpg"], head);
        }
    }
};

const Fixtures& Clips() {
    static Fixtures f;
    return f;
}

bool Near(TColor c, int r, int g, int b) {
    auto close = [](int a, int e) { return std::abs(a - e) <= 40; };
    return close(c & 0xFF, r) && close((c >> 8) & 0xFF, g) && close((c >> 16) & 0xFF, b);
}

// A program folder of its own with the drawn pictures and a test Option.ini, the main window,
// the settings and the clip editor created as start-up creates them.
class SetupClipWindowTest : public testing_vcl::TStartUpTest {
protected:
    SetupClipWindowTest() : TStartUpTest("setupclip") {}
    // The settings window chooses a work folder on a first run: in a scratch home, never the real one.
    testing_vcl::TScratchHome scratch;

    void SetUp() override {
        ASSERT_TRUE(Clips().made);
        OpenProgramFolder("[Option]\nDVD5Size=46080\nUseDefault=0\nOpenDialogFilter=Video|*.mpg;*.avi\n");
        MakeStartUpWindows();
        SetupClipWindow->Grabber()->WaitPauseMs = 5;
        SetupClipWindow->Grabber()->TimeoutMs = 2000;
    }
    void TearDown() override {
        FreeStartUpWindows();
        Win32_UnregisterModule(MediaLibraryName);
    }

    TSetupClipWindow* W() const { return SetupClipWindow; }

    // The editor shown in a mode, as the main window shows it, kept open for the test.
    void Open(bool Builder) {
        if (Builder) W()->SetBuilderMode(); else W()->SetConverterMode();
        W()->Show();
    }

    void Add(std::vector<String> Files) {
        ask.AnswerFiles(std::move(Files));
        testing_vcl::Click(W()->suiImageButton_AddFile);
    }
    std::vector<String> Names() const {
        std::vector<String> out;
        for (TClipInfo* c : ClipInfo) out.push_back(ExtractFileName(c->s_FileName));
        return out;
    }
    bool WaitIdle() {
        return testing_vcl::RunUntil([&] { return !W()->IsSeeking(); }, 20000);
    }
    void TypeInto(TsuiMaskEdit* Edit, const String& Text) {
        Edit->SetText(Text);
    }
    void SaveRender(const String& Name) { testing_vcl::SaveRender(W(), "app", Name); }
};

// ---- the run a person makes ----------------------------------------------------------------------

TEST_F(SetupClipWindowTest, ABuilderRunThroughTheMainWindowTrimsAndSizesTheDisc) {
    int barUntrimmed = -1, barTrimmed = -1, total = -1;
    String line4;
    ask.ModalActions.push_back([&](TCustomForm* Form) {
        ASSERT_EQ(Form, W());
        EXPECT_TRUE(W()->IsBuilderMode());
        Add({Clips()["twenty.mpg"], Clips()["thirty.mpg"]});
        ASSERT_EQ(ClipInfo.size(), 2u);
        barUntrimmed = W()->Image_DiscSizeProgress->GetWidth();
        // The first clip is selected; its start edit takes 00:00:05 and its button confirms it.
        ASSERT_EQ(W()->SelectedClip(), ClipInfo[0]);
        TypeInto(W()->suiEdit_Start, "00:00:05");
        testing_vcl::Click(W()->suiImageButton_ConfirmStart);
        EXPECT_TRUE(WaitIdle());
        barTrimmed = W()->Image_DiscSizeProgress->GetWidth();
        line4 = ClipInfo[0]->ListRow->GetLine(3);
        // The second clip: selecting it settles the first one's trimmed length in the totals.
        W()->SelectClip(ClipInfo[1]->ListRow);
        W()->SelectClip(ClipInfo[0]->ListRow);
        total = W()->GetTotalSeconds();
        EXPECT_TRUE(WaitIdle());
        SaveRender("clip_editor_builder.png");
        Form->Close();
    });
    testing_vcl::Click(MainWindow->suiImageButton_Builder);
    EXPECT_EQ(barUntrimmed, 360);
    EXPECT_EQ(barTrimmed, 324);
    EXPECT_EQ(total, 45);
    EXPECT_EQ(line4, Language::GetMessageText(8) + "00:00:05" + Language::GetMessageText(9) + "00:00:20");
    EXPECT_TRUE(ClipInfo.empty()) << "closing the editor discards the clip list";
    EXPECT_TRUE(ask.Failures.empty());
    EXPECT_TRUE(ask.Of(TQuestionKind::MessageBox).empty());
}

// ---- adding --------------------------------------------------------------------------------------

TEST_F(SetupClipWindowTest, FilesThatAreNoClipsAreSkippedAndListedOnlyAmongOthers) {
    Open(true);
    struct Case {
        std::vector<std::string> files;
        std::vector<String> added;
        std::vector<String> listed;  // names in message 125, none when no message
    };
    const Case cases[] = {
        {{"notes.avi"}, {}, {}},
        {{"empty.avi"}, {}, {}},
        {{"twenty.mpg", "notes.avi"}, {"twenty.mpg"}, {"notes.avi"}},
        {{"truncated.mpg", "audio.mpg", "empty.avi", "thirty.mpg"}, {"thirty.mpg"}, {"truncated.mpg", "audio.mpg", "empty.avi"}},
    };
    for (const Case& c : cases) {
        W()->Close();
        Open(true);
        ask.Questions.clear();
        std::vector<String> paths;
        for (const auto& f : c.files) paths.push_back(Clips()[f]);
        Add(paths);
        EXPECT_EQ(Names(), c.added) << c.files[0];
        auto boxes = ask.Of(TQuestionKind::MessageBox);
        if (c.listed.empty()) {
            EXPECT_TRUE(boxes.empty()) << c.files[0];
            continue;
        }
        ASSERT_EQ(boxes.size(), 1u) << c.files[0];
        EXPECT_EQ(boxes[0].Text.rfind(Language::GetMessageText(125), 0), 0u);
        for (const String& name : c.listed) EXPECT_NE(boxes[0].Text.find(Clips()[name]), String::npos) << name;
    }
}

TEST_F(SetupClipWindowTest, SubtitlesBesideTheClipsArePickedUpForFewFilesInBuilderMode) {
    testing_vcl::TTempFolder own("setupclip_srt");
    for (const char* name : {"a", "b", "c"}) {
        fs::copy_file(Clips()["twenty.mpg"], own[std::string(name) + ".mpg"]);
        WriteText(own[std::string(name) + ".srt"], "1\n00:00:01,000 --> 00:00:02,000\nHello\n");
    }
    struct Case {
        bool builder;
        int files;
        bool pickedUp;
    };
    for (const Case& c : {Case{true, 2, true}, Case{true, 3, false}, Case{false, 2, false}}) {
        Open(c.builder);
        std::vector<String> paths;
        for (int i = 0; i < c.files; ++i) paths.push_back(own[std::string(1, static_cast<char>('a' + i)) + ".mpg"]);
        Add(paths);
        ASSERT_EQ(static_cast<int>(ClipInfo.size()), c.files);
        for (TClipInfo* clip : ClipInfo)
            EXPECT_EQ(clip->s_SubtitleFile.empty(), !c.pickedUp) << c.builder << " " << c.files;
        W()->Close();
    }
}

// The subtitle beside a clip is found whatever the case of its extension; the path kept is the
// file's own spelling.
TEST_F(SetupClipWindowTest, SubtitlesAreFoundWithoutRegardToCase) {
    testing_vcl::TTempFolder own("setupclip_srtcase");
    struct Case { const char* clip; const char* subtitle; bool pickedUp; };
    const Case cases[] = {{"Film.mpg", "Film.SRT", true}, {"Trip.MPG", "Trip.Srt", true},
                          {"Talk.mpg", "talk.srt", true}, {"Odd.mpg", "Odd.srt.txt", false}};
    for (const Case& c : cases) {
        fs::copy_file(Clips()["twenty.mpg"], own[c.clip]);
        WriteText(own[c.subtitle], "1\n00:00:01,000 --> 00:00:02,000\nHello\n");
        Open(true);
        Add({own[c.clip]});
        ASSERT_EQ(ClipInfo.size(), 1u) << c.clip;
        EXPECT_EQ(ClipInfo[0]->s_SubtitleFile, c.pickedUp ? own[c.subtitle] : String()) << c.clip;
        W()->Close();
    }
}

// ---- arranging -----------------------------------------------------------------------------------

TEST_F(SetupClipWindowTest, RemovingAndMovingKeepRowsSelectionAndTotals) {
    Open(true);
    Add({Clips()["twenty.mpg"], Clips()["thirty.mpg"], Clips()["colours.mpg"]});
    ASSERT_EQ(ClipInfo.size(), 3u);
    TClipInfo* a = ClipInfo[0];
    TClipInfo* b = ClipInfo[1];
    TClipInfo* c = ClipInfo[2];
    struct Step {
        std::function<void()> act;
        std::vector<TClipInfo*> order;
        TClipInfo* selected;
    };
    const Step steps[] = {
        {[&] { W()->MoveClipUp(); }, {a, b, c}, a},  // the first clip goes no higher
        {[&] { W()->MoveClipDown(); }, {b, a, c}, a},
        {[&] { W()->MoveClipToBottom(); }, {b, c, a}, a},
        {[&] { W()->MoveClipDown(); }, {b, c, a}, a},  // the last goes no lower
        {[&] { W()->MoveClipToTop(); }, {a, b, c}, a},
        {[&] { W()->SelectClip(c->ListRow); }, {a, b, c}, c},
        {[&] { testing_vcl::Click(W()->suiImageButton_RemoveFile); }, {a, b}, b},  // the last removed: the one before
        {[&] { W()->SelectClip(a->ListRow); W()->RemoveSelectedClip(); }, {b}, b},
        {[&] { W()->RemoveSelectedClip(); }, {}, nullptr},
    };
    int i = 0;
    for (const Step& s : steps) {
        s.act();
        EXPECT_EQ(ClipInfo, s.order) << "step " << i;
        EXPECT_EQ(W()->SelectedClip(), s.selected) << "step " << i;
        for (std::size_t k = 0; k < ClipInfo.size(); ++k) EXPECT_EQ(ClipInfo[k]->ListRow->GetTop(), static_cast<int>(k) * 77);
        int sum = 0;
        for (TClipInfo* clip : ClipInfo) sum += clip->i_TrimEnd - clip->i_TrimStart;
        EXPECT_EQ(W()->GetTotalSeconds(), sum) << "step " << i;
        ++i;
    }
    EXPECT_EQ(W()->Image_DiscSizeProgress->GetWidth(), 0);
}

TEST_F(SetupClipWindowTest, ConverterModeHasNoSubtitleIconsNorSubtitleItem) {
    Open(false);
    Add({Clips()["twenty.mpg"], Clips()["thirty.mpg"]});
    ASSERT_EQ(ClipInfo.size(), 2u);
    EXPECT_FALSE(W()->suiCheckBox_AddDVDMenu->GetVisible());
    for (TClipInfo* clip : ClipInfo) EXPECT_FALSE(clip->SrtIcon->GetVisible());
    ask.PopupAnswers.push_back([](TPopupMenu*) { return nullptr; });
    testing_vcl::ClickAt(ClipInfo[1]->ListRow, 200, 30, mbRight);
    auto popups = ask.Of(TQuestionKind::PopupMenu);
    ASSERT_EQ(popups.size(), 1u);
    EXPECT_EQ(W()->SelectedClip(), ClipInfo[1]) << "a right click selects the row first";
    for (const String& caption : popups[0].MenuCaptions) {
        EXPECT_NE(caption, Language::GetMessageText(10));
        EXPECT_EQ(caption.find(Language::GetMessageText(43)), String::npos);
    }
    SaveRender("clip_editor_converter.png");

    // The popup's items act by their names.
    W()->Close();
    Open(true);
    Add({Clips()["twenty.mpg"], Clips()["thirty.mpg"]});
    TClipInfo* second = ClipInfo[1];
    ask.PopupAnswers.push_back([](TPopupMenu* m) -> TMenuItem* {
        for (int i = 0; i < m->GetItems()->Count(); ++i)
            if (m->GetItems()->Items(i)->GetName() == "MovetoTop") return m->GetItems()->Items(i);
        return nullptr;
    });
    testing_vcl::ClickAt(second->ListRow, 200, 30, mbRight);
    EXPECT_TRUE(testing_vcl::RunUntil([&] { return ClipInfo[0] == second; }));
    EXPECT_EQ(second->ListRow->GetTop(), 0);
    auto builderPopup = ask.Of(TQuestionKind::PopupMenu).back();
    EXPECT_EQ(builderPopup.MenuCaptions.back(), Language::GetMessageText(10));
}

// ---- preview ---------------------------------------------------------------------------------------

TEST_F(SetupClipWindowTest, AReleasedHandleShowsItsSecondInTheRowThumbnail) {
    Open(true);
    Add({Clips()["colours.mpg"]});
    ASSERT_EQ(ClipInfo.size(), 1u);
    TClipInfo* clip = ClipInfo[0];
    ASSERT_EQ(clip->i_Duration, 30);
    EXPECT_TRUE(Near(clip->ListRow->GetCanvas()->GetPixels(50, 37), 255, 0, 0)) << "the first frame";
    // Start handle from 0 to 88 px: second 12, in the blue segment.
    testing_vcl::MousePress(W()->Image_Left, 5, 7);
    testing_vcl::MouseMoveTo(W()->Image_Left, 93, 7, TShiftState{ssLeft});
    testing_vcl::MouseRelease(W()->Image_Left, 93, 7);
    EXPECT_EQ(clip->i_TrimStart, 12);
    ASSERT_TRUE(WaitIdle());
    EXPECT_TRUE(Near(clip->ListRow->GetCanvas()->GetPixels(50, 37), 0, 0, 255));
    EXPECT_TRUE(W()->suiImageButton_Snapshoot->GetEnabled());

    // A snapshot reads back at the clip's display size.
    for (int filter : {1, 2}) {
        const String base = dir["shot" + std::to_string(filter)];
        ask.AnswerFiles({base}, filter);
        testing_vcl::Click(W()->suiImageButton_Snapshoot);
        const String file = base + (filter == 1 ? ".jpg" : ".bmp");
        ASSERT_TRUE(FileExists(file)) << file;
        TPicture back;
        back.LoadFromFile(file);
        EXPECT_EQ(back.GetWidth(), clip->i_DisplayWidth);
        EXPECT_EQ(back.GetHeight(), clip->i_DisplayHeight);
    }
    // A folder that takes no file: a clear message and no partial file.
    fs::create_directory(dir["locked"]);
    ::chmod(dir["locked"].c_str(), 0500);
    if (::access(dir["locked"].c_str(), W_OK) != 0) {
        ask.Questions.clear();
        ask.AnswerFiles({dir["locked/shot.bmp"]}, 2);
        testing_vcl::Click(W()->suiImageButton_Snapshoot);
        EXPECT_EQ(ask.Of(TQuestionKind::MessageBox).size(), 1u);
        EXPECT_TRUE(fs::is_empty(dir["locked"]));
    }
    ::chmod(dir["locked"].c_str(), 0700);
}

// A stand-in for the library: real file information, and a grabber the test answers by hand.
struct TStandIn {
    HWND window = nullptr;
    int starts = 0;
    int unInits = 0;
    bool answerUnInit = true;
    int width = 0;
    bool overrideWidth = false;  // the library reports that width
    bool infoRaises = false;     // the calls raise instead of answering
    bool frameRaises = false;
};
TStandIn* g_standIn = nullptr;
std::unique_ptr<TMediaLibrary> g_real;

extern "C" int StandInInfo(const char* path, int n, std::int32_t* words) {
    (void)n;
    if (g_standIn->infoRaises) throw std::runtime_error("information call failed");
    TMediaInfoRecord record;
    if (g_real->GetFileInfo(path, record) != 0) return -1;
    std::copy(std::begin(record.Words), std::end(record.Words), words);
    if (g_standIn->overrideWidth) words[3] = g_standIn->width;
    return 0;
}
extern "C" int StandInFrame(int, int, const char*, std::uint8_t**, std::int32_t*) {
    if (g_standIn->frameRaises) throw std::runtime_error("frame call failed");
    return -1;
}
extern "C" int StandInInit(void* window, int, const char*, const char*, const char*) {
    g_standIn->window = static_cast<HWND>(window);
    ++g_standIn->starts;
    return 0;
}
extern "C" int StandInNext(int) { return 0; }
extern "C" int StandInUnInit() {
    ++g_standIn->unInits;
    if (g_standIn->answerUnInit) PostMessageA(g_standIn->window, WM_MEDIA_UNINIT_DONE, 0, 0);
    return 0;
}

FARPROC Proc(auto* f) { return reinterpret_cast<FARPROC>(f); }

class SetupClipStandInTest : public SetupClipWindowTest {
protected:
    TStandIn standIn;
    void SetUp() override {
        SetupClipWindowTest::SetUp();
        g_standIn = &standIn;
        g_real = TMediaLibrary::Load(TMediaEntries::Information);
        ASSERT_NE(g_real, nullptr);
        Win32_RegisterModule(MediaLibraryName, {{"X_GetFileinfo_GetPic", Proc(&StandInInfo)},
                                                {"X_Get_Frame", Proc(&StandInFrame)},
                                                {"X_GetFrame_Init", Proc(&StandInInit)},
                                                {"X_Set_NextFrame_Time", Proc(&StandInNext)},
                                                {"X_GetFrame_UnInit", Proc(&StandInUnInit)}});
        W()->Grabber()->TimeoutMs = 300;
        Open(true);
    }
    void TearDown() override {
        SetupClipWindowTest::TearDown();
        g_real.reset();
    }
    void ReleaseStartAt(int Pixels) {
        testing_vcl::MousePress(W()->Image_Left, 5, 7);
        testing_vcl::MouseMoveTo(W()->Image_Left, 5 + Pixels, 7, TShiftState{ssLeft});
        testing_vcl::MouseRelease(W()->Image_Left, 5 + Pixels, 7);
    }
};

TEST_F(SetupClipStandInTest, ALibraryThatNeverAnswersLeavesTheWindowIdle) {
    Add({Clips()["twenty.mpg"]});
    ASSERT_EQ(ClipInfo.size(), 1u);
    TBitmap* before = ClipInfo[0]->Picture;
    ReleaseStartAt(44);
    EXPECT_TRUE(W()->IsSeeking());
    EXPECT_FALSE(W()->suiImageButton_ConfirmStart->GetEnabled()) << "no second start while the first is open";
    EXPECT_TRUE(WaitIdle());
    EXPECT_TRUE(W()->Panel_Progress->GetEnabled());
    EXPECT_EQ(ClipInfo[0]->Picture, before) << "the picture is kept";
    EXPECT_EQ(standIn.starts, 1);
}

TEST_F(SetupClipStandInTest, AnAnswerForAClipNoLongerSelectedIsNotApplied) {
    Add({Clips()["twenty.mpg"], Clips()["thirty.mpg"]});
    ASSERT_EQ(ClipInfo.size(), 2u);
    ReleaseStartAt(44);
    ASSERT_EQ(standIn.starts, 1);
    const HWND oldRun = standIn.window;
    W()->SelectClip(ClipInfo[1]->ListRow);  // ends the first clip's run
    EXPECT_EQ(standIn.unInits, 1);
    PostMessageA(oldRun, WM_MEDIA_INIT_DONE, 1, 0);
    PostMessageA(oldRun, WM_MEDIA_FRAME_READY, 1, 0);
    testing_vcl::RunFor(100);
    EXPECT_FALSE(W()->IsSeeking());
    EXPECT_EQ(W()->SelectedClip(), ClipInfo[1]);
    EXPECT_EQ(standIn.starts, 1) << "nothing asked for on the new clip's behalf";
}

// The grabber could not open the clip: the snapshot says so before it asks for a file name.
TEST_F(SetupClipStandInTest, ASnapshotAfterAFailedGrabberStartTellsWhy) {
    Add({Clips()["twenty.mpg"]});
    ASSERT_EQ(ClipInfo.size(), 1u);
    ReleaseStartAt(44);
    ASSERT_EQ(standIn.starts, 1);
    PostMessageA(standIn.window, WM_MEDIA_INIT_DONE, 0, 0);  // the file did not open
    ASSERT_TRUE(WaitIdle());
    ask.Questions.clear();
    ask.AnswerFiles({dir["never.jpg"]});
    ASSERT_TRUE(W()->suiImageButton_Snapshoot->GetEnabled());
    testing_vcl::Click(W()->suiImageButton_Snapshoot);
    EXPECT_TRUE(ask.Of(TQuestionKind::FileDialog).empty()) << "no file name asked for a snapshot that cannot be made";
    const auto boxes = ask.Of(TQuestionKind::MessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, Language::GetMessageText(202));
    EXPECT_FALSE(FileExists(dir["never.jpg"]));
}

TEST_F(SetupClipStandInTest, AClipWithoutAUsableSizeIsNotAdded) {
    for (int width : {0, -160, 8193}) {
        standIn.overrideWidth = true;
        standIn.width = width;
        Add({Clips()["twenty.mpg"]});
        EXPECT_TRUE(ClipInfo.empty()) << width;
    }
    standIn.width = 720;
    Add({Clips()["twenty.mpg"]});
    ASSERT_EQ(ClipInfo.size(), 1u);
    EXPECT_NE(ClipInfo[0]->Thumbnail, nullptr) << "a first frame that fails still gives a (black) thumbnail";
}

// A first-frame call that raises still gives the clip (with a black picture); an information
// call that raises gives none, since nothing is known about the file.
TEST_F(SetupClipStandInTest, ARaisingFrameCallStillAddsTheClipARaisingInformationCallDoesNot) {
    standIn.frameRaises = true;
    Add({Clips()["twenty.mpg"]});
    ASSERT_EQ(ClipInfo.size(), 1u);
    ASSERT_NE(ClipInfo[0]->Picture, nullptr);
    EXPECT_GT(ClipInfo[0]->Picture->GetWidth(), 0);
    EXPECT_EQ(ClipInfo[0]->Picture->GetPixelColor(2, 2), static_cast<COLORREF>(0));
    EXPECT_NE(ClipInfo[0]->Thumbnail, nullptr);
    EXPECT_EQ(W()->SelectedClip(), ClipInfo[0]) << "the added clip is selected as any other";

    standIn.frameRaises = false;
    standIn.infoRaises = true;
    Add({Clips()["twenty.mpg"], Clips()["thirty.mpg"]});
    EXPECT_EQ(ClipInfo.size(), 1u);
    EXPECT_EQ(ask.Of(TQuestionKind::MessageBox).size(), 1u) << "both refused files are listed";
}

TEST(SetupClipNoLibrary, WithoutTheLibraryThereIsNoPreviewNorSnapshot) {
    Win32_RegisterModule(MediaLibraryName, {{"X_Unrelated", reinterpret_cast<FARPROC>(&StandInNext)}});
    TSetupClipWindow w(nullptr);
    w.AfterConstruction();
    w.SetBuilderMode();
    auto clip = std::make_unique<TClipInfo>();
    clip->SetFileName("/nowhere/clip.mpg");
    clip->SetMediaInfo(100, 25, 0, 160, 120, 2, 48000, 0, 0, 0);
    w.AddClipRow(clip.release());
    w.SelectClip(ClipInfo[0]->ListRow);
    w.suiEdit_Start->SetText("00:00:30");
    w.suiImageButton_ConfirmStart->Click();
    EXPECT_EQ(ClipInfo[0]->i_TrimStart, 30);
    EXPECT_FALSE(w.IsSeeking()) << "a library that can't be loaded leaves the window idle";
    EXPECT_FALSE(w.suiImageButton_Snapshoot->GetEnabled());
    w.Close();
    Win32_UnregisterModule(MediaLibraryName);
    EXPECT_TRUE(ClipInfo.empty());
}

// ---- trims in range, toggles, zero lengths ------------------------------------------------------------

TEST_F(SetupClipWindowTest, ConfirmedEntriesStayInRange) {
    Open(true);
    Add({Clips()["twenty.mpg"]});
    TClipInfo* clip = ClipInfo[0];
    struct Case {
        bool start;
        const char* entry;
        int trimStart, trimEnd;
    };
    const Case cases[] = {{false, "00:05:00", 0, 20},  // beyond the duration: the duration
                          {true, "00:00:15", 10, 20},  // the D - 10 rule
                          {false, "00:00:04", 10, 10}, // below the start: the start
                          {true, "00:00:12", 10, 10},  // past the end: no further than it
                          {false, "00:00:18", 10, 18},
                          {true, "00:00:02", 2, 18}};
    for (const Case& c : cases) {
        (c.start ? W()->suiEdit_Start : W()->suiEdit_Stop)->SetText(c.entry);
        testing_vcl::Click(c.start ? W()->suiImageButton_ConfirmStart : W()->suiImageButton_ConfirmStop);
        ASSERT_TRUE(WaitIdle());
        EXPECT_EQ(clip->i_TrimStart, c.trimStart) << c.entry;
        EXPECT_EQ(clip->i_TrimEnd, c.trimEnd) << c.entry;
    }
    // An entry out of range shows red and is put back when the edit is left.
    W()->suiEdit_Start->SetText("00:00:19");
    EXPECT_EQ(W()->suiEdit_Start->GetColor(), static_cast<TColor>(255));
    W()->suiEdit_StartExit(W()->suiEdit_Start);
    EXPECT_EQ(W()->suiEdit_Start->GetText(), "00:00:02");
}

TEST_F(SetupClipWindowTest, TheDiscButtonsSwitchTheProjectNotTheDefaults) {
    Open(true);
    Add({Clips()["thirty.mpg"]});
    EXPECT_TRUE(W()->suiImageButton_DVD5->GetVisible());
    testing_vcl::Click(W()->suiImageButton_DVD5);
    EXPECT_EQ(i_DVDType, 1);
    EXPECT_TRUE(W()->suiImageButton_DVD9->GetVisible());
    EXPECT_FALSE(W()->suiImageButton_DVD5->GetVisible());
    EXPECT_TRUE(W()->Image8500->GetVisible());
    EXPECT_TRUE(b_DVD5);
    testing_vcl::Click(W()->suiCheckBox_16_9);
    EXPECT_TRUE(W()->suiCheckBox_16_9->GetChecked());
    EXPECT_FALSE(W()->suiCheckBox_4_3->GetChecked());
    EXPECT_TRUE(b_4_3);
    testing_vcl::Click(W()->suiImageButton_DVD9);
    EXPECT_EQ(i_DVDType, 0);
}

TEST_F(SetupClipWindowTest, AClipOfNoLengthShowsTheSliderAsForNone) {
    Open(true);
    auto clip = std::make_unique<TClipInfo>();
    clip->SetFileName(Clips()["twenty.mpg"]);
    clip->SetMediaInfo(0, 25, 0, 160, 120, 2, 48000, 0, 0, 0);
    W()->AddClipRow(clip.release());
    W()->SelectClip(ClipInfo[0]->ListRow);
    EXPECT_FALSE(W()->Image_Left->GetEnabled());
    EXPECT_FALSE(W()->Image_Right->GetEnabled());
    EXPECT_EQ(W()->Image_Left->GetLeft(), 0);
    EXPECT_EQ(W()->Image_Right->GetLeft(), 230);
    EXPECT_EQ(W()->Image_Stretch->GetWidth(), 0);
}

}  // namespace
