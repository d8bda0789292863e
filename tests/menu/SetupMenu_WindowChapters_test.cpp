// The designer's chapter menus on the real media library, with a clip made here whose colour
// changes every 10 seconds, so a button's frame tells the second it was grabbed at. Stand-in
// libraries only where the real one cannot make the case (silence, frames that never come).
#include "menu/SetupMenu_Window.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "model/CustomClass.h"
#include "app/Progress_Window.h"
#include "core/Pubfunction.h"
#include "app/SetupChapter_Window.h"
#include "menu/SetupImage_Window.h"
#include "platform/vcl/PngWriter.h"
#include "tests/support/ScriptedInteraction.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestHelpers.h"

namespace fs = std::filesystem;
using testing_vcl::TQuestionKind;

namespace {

fs::path DistDir() { return fs::path(TEST_PEER_DIR) / ".." / ".." / "dist"; }

// Segment k (seconds 10k .. 10k + 9) of the fixture in its own colour.
struct TRgb { int r, g, b; };
TRgb SegmentColour(int Second) {
    const int k = Second / 10;
    return {(k % 4) * 60 + 20, ((k / 4) % 4) * 60 + 20, ((k / 16) % 4) * 60 + 20};
}

// Ten minutes of 10-second colour segments, made once.
struct Fixtures : testing_vcl::TTempFolder {
    bool made = false;
    Fixtures() : TTempFolder("designer_chapters") {
        if (Path().empty()) return;
        std::string graph, labels;
        for (int k = 0; k < 60; ++k) {
            const TRgb c = SegmentColour(k * 10);
            char colour[16];
            std::snprintf(colour, sizeof colour, "0x%02X%02X%02X", c.r, c.g, c.b);
            graph += std::string("color=c=") + colour + ":s=160x120:r=25:d=10[s" + std::to_string(k) + "];";
            labels += "[s" + std::to_string(k) + "]";
        }
        graph += labels + "concat=n=60:v=1:a=0[v]";
        made = testing_vcl::Ffmpeg("-filter_complex \"" + graph + "\" -map \"[v]\" -c:v mpeg2video -g 25 -aspect 4:3 -f vob",
                                   (*this)["colours.mpg"]);
    }
};

const Fixtures& Clips() {
    static Fixtures f;
    return f;
}

bool ShowsSegmentOf(TBitmap* Frame, int Second) {
    if (Frame == nullptr || Frame->GetWidth() < 2) return false;
    const TColor c = Frame->GetCanvas()->GetPixels(Frame->GetWidth() / 2, Frame->GetHeight() / 2);
    const TRgb e = SegmentColour(Second);
    auto close = [](int a, int b) { return std::abs(a - b) <= 25; };
    return close(c & 0xFF, e.r) && close((c >> 8) & 0xFF, e.g) && close((c >> 16) & 0xFF, e.b);
}

bool IsBlack(TBitmap* Frame) {
    const TColor c = Frame->GetCanvas()->GetPixels(Frame->GetWidth() / 2, Frame->GetHeight() / 2);
    return (c & 0xFFFFFF) == 0;
}

// ---- stand-in libraries ------------------------------------------------------------------------

struct TStandIn {
    bool answers = true;   // false: the library never says a word
    int inits = 0;
    int frameRequests = 0;
    HWND window = nullptr;
    int progressMax = -1;      // the progress window's maximum at the last frame request
    bool busySeen = false;     // the designer was busy at every frame request
    bool removeOnRequest = false;  // a click on Remove while the frame is awaited
};
TStandIn g_standIn;
extern "C" int StandInInfo(const char*, int, std::int32_t*) { return -1; }
extern "C" int StandInFrame(int, int, const char*, std::uint8_t**, std::int32_t*) { return -1; }
extern "C" int StandInInit(void* window, int, const char*, const char*, const char*) {
    ++g_standIn.inits;
    g_standIn.window = static_cast<HWND>(window);
    if (g_standIn.answers) PostMessageA(g_standIn.window, WM_MEDIA_INIT_DONE, 1, 0);
    return 0;
}
// Every frame request is answered, none with a frame.
extern "C" int StandInNext(int) {
    g_standIn.busySeen = (g_standIn.frameRequests == 0 || g_standIn.busySeen) && SetupMenuWindow->b_Busy;
    ++g_standIn.frameRequests;
    g_standIn.progressMax = ProgressWindow != nullptr ? ProgressWindow->GetMax() : -1;
    if (g_standIn.removeOnRequest) SetupMenuWindow->RemoveSelectedClip();
    if (g_standIn.answers) PostMessageA(g_standIn.window, WM_MEDIA_FRAME_READY, 0, 0);
    return 0;
}
extern "C" int StandInUnInit() {
    if (g_standIn.answers) PostMessageA(g_standIn.window, WM_MEDIA_UNINIT_DONE, 0, 0);
    return 0;
}

FARPROC Proc(auto* function) { return reinterpret_cast<FARPROC>(function); }

void RegisterStandIn(bool Answers) {
    g_standIn = TStandIn{};
    g_standIn.answers = Answers;
    Win32_RegisterModule(MediaLibraryName, {{"X_GetFileinfo_GetPic", Proc(&StandInInfo)},
                                            {"X_Get_Frame", Proc(&StandInFrame)},
                                            {"X_GetFrame_Init", Proc(&StandInInit)},
                                            {"X_Set_NextFrame_Time", Proc(&StandInNext)},
                                            {"X_GetFrame_UnInit", Proc(&StandInUnInit)}});
}

// ---- the designer --------------------------------------------------------------------------------

class DesignerChaptersTest : public ::testing::Test {
protected:
    testing_vcl::TScriptedInteraction ask;
    std::unique_ptr<testing_vcl::TInstallInteraction> installed;
    TSetupMenuWindow* window = nullptr;
    String savedExePath = ExePath;

    void SetUp() override {
        ASSERT_TRUE(Clips().made);
        ExePath = DistDir().string() + "/";
        i_CreateMenuSafeDistance = 10;
        s_BackgroundSrcFile.clear();
        s_BackgroundMusicFile.clear();
        installed = std::make_unique<testing_vcl::TInstallInteraction>(ask);
        window = new TSetupMenuWindow(nullptr);
        SetupMenuWindow = window;
        window->Grabber()->WaitPauseMs = 5;
        window->Grabber()->TimeoutMs = 5000;
        SetupChapterWindow = new TSetupChapterWindow(nullptr);
    }
    void TearDown() override {
        delete window;
        delete SetupChapterWindow;
        SetupChapterWindow = nullptr;
        Pubfunction::ClearTitleMenuLabel();
        Pubfunction::ClearClipInfo();
        Win32_UnregisterModule(MediaLibraryName);
        installed.reset();
        ExePath = savedExePath;
        Pubfunction::FreeSharedBitmaps();
    }

    // The colour clip trimmed to Start..End, on the strip.
    TClipInfo* AddClip(int Start, int End, const String& File = Clips()["colours.mpg"]) {
        auto* clip = new TClipInfo();
        clip->SetFileName(File);
        clip->SetMediaInfo(600, 25.0f, 5000.0f, 160, 120, 2, 48000, 0, 192.0f, 0);
        std::unique_ptr<TBitmap> frame(testing_vcl::SolidBitmap(160, 120, clGray));
        clip->SetPicture(frame.get());
        clip->SetTrim(Start, End);
        ClipInfo.push_back(clip);
        window->CreateClipItem(clip);
        window->ArrangeClipItems();
        return clip;
    }
    void ShowAndRebuild() {
        window->FormShow(window);
        window->Timer_CreateMenuTimer(window);
    }
    std::vector<int> TimesOf(TClipInfo* Clip) const {
        std::vector<int> times;
        if (Clip->ChapterMenu != nullptr)
            for (TSubButtonImage* b : Clip->ChapterMenu->Buttons) times.push_back(b->i_ChapterTime);
        return times;
    }
    // The chapter dialog answered OK with Times (or with what it proposes when empty).
    void ConfirmChapterDialog(TClipInfo* Clip, std::vector<int> Times) {
        if (window->SelectedClipItem != Clip->MenuTile) window->SelectClipItem(Clip->MenuTile);
        ask.ModalActions.push_back([Times](TCustomForm* form) {
            if (!Times.empty()) SetupChapterWindow->SetChapterList(Times.data(), static_cast<int>(Times.size()));
            form->SetModalResult(mrOk);
        });
        window->DisplaySubMenu();
    }
    // A chapter menu dressed by the user: a label and music of its own.
    void Dress(TClipInfo* Clip) {
        window->SelectClipItem(Clip->MenuTile);
        window->HideTitleMenu();
        window->ShowChapterMenu(Clip->ChapterMenu);
        window->AddTextLabel(40, 200);
        Clip->ChapterMenu->s_BackgroundMusicFile = "/music/theme.mp3";
        Clip->ChapterMenu->s_BackgroundSrcFile = window->BackgroundList[4]->FileName;
    }
};

TEST(ChapterTimes, CountsAndEvenSplits) {
    struct Case { int wish, start, end; std::vector<int> times; };
    const Case cases[] = {
        {0, 0, 600, {0, 300}},             // no wish: two chapters
        {-3, 0, 600, {0, 300}},
        {4, 100, 500, {100, 200, 300, 400}},
        {3, 0, 10, {0, 3, 6}},
        {0, 120, 124, {120}},              // under 5 seconds: one chapter, also when asked for more
        {6, 120, 124, {120}},
        {2, 2000000000, 2147483647, {2000000000, 2073741823}},  // no wrap on long spans
    };
    for (const Case& c : cases) {
        const int n = MenuLayout::ChapterCount(c.wish, c.start, c.end);
        EXPECT_EQ(MenuLayout::AutomaticChapterTimes(c.start, c.end, n), c.times) << c.wish << " " << c.start << ".." << c.end;
    }
    EXPECT_EQ(MenuLayout::GrabRunStart(0), 1);
    EXPECT_EQ(MenuLayout::GrabRunStart(120), 120);
}

TEST_F(DesignerChaptersTest, TheRebuildGrabsEachChapterAtItsTime) {
    TClipInfo* whole = AddClip(0, 600);
    TClipInfo* shortRange = AddClip(120, 124);
    ShowAndRebuild();
    EXPECT_FALSE(window->b_Busy);
    ASSERT_EQ(TimesOf(whole), (std::vector<int>{0, 300}));
    EXPECT_TRUE(ShowsSegmentOf(whole->ChapterMenu->Buttons[0]->FrameBitmap, 0)) << "second 0 is asked for as it is";
    EXPECT_TRUE(ShowsSegmentOf(whole->ChapterMenu->Buttons[1]->FrameBitmap, 300));
    EXPECT_EQ(whole->ChapterMenu->Buttons[0]->FrameBitmap->GetWidth(), whole->i_ThumbWidth);
    ASSERT_EQ(TimesOf(shortRange), (std::vector<int>{120}));
    EXPECT_TRUE(ShowsSegmentOf(shortRange->ChapterMenu->Buttons[0]->FrameBitmap, 120));
    // Laid out on the grid, new menus take the list's second background, the back button the
    // bottom of the safe frame.
    EXPECT_EQ(whole->ChapterMenu->Buttons[1]->GetLeft(), 140);
    EXPECT_EQ(whole->ChapterMenu->s_BackgroundSrcFile, window->BackgroundList[1]->FileName);
    EXPECT_EQ(whole->ChapterMenu->i_BackX, 10);
    EXPECT_EQ(whole->ChapterMenu->i_BackY, 388 - window->TitleMenu.i_BackHeight - 10);
    EXPECT_FALSE(window->Grabber()->IsLoaded()) << "the run ends with the menu";

    window->SelectClipItem(whole->MenuTile);
    window->HideTitleMenu();
    window->ShowChapterMenu(whole->ChapterMenu);
    window->Show();
    testing_vcl::RunFor(50);
    testing_vcl::SaveRender(window, "designer", "menu_designer_chapters.png");
}

TEST_F(DesignerChaptersTest, TheChapterDialogMakesNewFramesAndKeepsOnlyTheBackground) {
    TClipInfo* clip = AddClip(0, 600);
    ShowAndRebuild();
    Dress(clip);
    TSubChapter* before = clip->ChapterMenu;
    const String background = before->s_BackgroundSrcFile;

    ConfirmChapterDialog(clip, {100, 250, 410});
    ASSERT_NE(clip->ChapterMenu, nullptr);
    ASSERT_EQ(TimesOf(clip), (std::vector<int>{100, 250, 410}));
    for (TSubButtonImage* b : clip->ChapterMenu->Buttons) EXPECT_TRUE(ShowsSegmentOf(b->FrameBitmap, b->i_ChapterTime)) << b->i_ChapterTime;
    EXPECT_EQ(clip->ChapterMenu->s_BackgroundSrcFile, background);
    EXPECT_TRUE(clip->ChapterMenu->Labels.empty());
    EXPECT_TRUE(clip->ChapterMenu->s_BackgroundMusicFile.empty());
    EXPECT_TRUE(window->b_ChapterView);
    EXPECT_EQ(clip->ChapterMenu->Buttons[0]->GetParent(), window->Panel_MenuPreview);
    EXPECT_FALSE(window->b_Busy);
}

TEST_F(DesignerChaptersTest, AnUnchangedDialogGrabsNothing) {
    TClipInfo* clip = AddClip(0, 600);
    ShowAndRebuild();
    Dress(clip);
    TSubChapter* before = clip->ChapterMenu;
    TSubButtonImage* first = before->Buttons[0];
    RegisterStandIn(true);   // counts every request from here on
    ConfirmChapterDialog(clip, {});
    EXPECT_EQ(g_standIn.inits, 0);
    EXPECT_EQ(clip->ChapterMenu, before);
    EXPECT_EQ(clip->ChapterMenu->Buttons[0], first);
    EXPECT_EQ(clip->ChapterMenu->Labels.size(), 1u);
    EXPECT_EQ(clip->ChapterMenu->s_BackgroundMusicFile, "/music/theme.mp3");
}

// Whatever fails, the clip keeps the menu it had, with its labels and music.
TEST_F(DesignerChaptersTest, AFailedMenuKeepsTheOldOne) {
    struct Case { const char* what; bool missingFile; bool registerStandIn; };
    const Case cases[] = {
        {"the clip file is gone", true, false},
        {"the library stays silent", false, true},
    };
    for (const Case& c : cases) {
        TClipInfo* clip = AddClip(0, 600);
        ShowAndRebuild();
        Dress(clip);
        TSubChapter* before = clip->ChapterMenu;
        ASSERT_NE(before, nullptr) << c.what;
        if (c.missingFile) clip->s_FileName = Clips()["gone.mpg"];
        if (c.registerStandIn) RegisterStandIn(false);
        window->Grabber()->TimeoutMs = 300;
        ConfirmChapterDialog(clip, {50, 150});
        EXPECT_EQ(clip->ChapterMenu, before) << c.what;
        EXPECT_EQ(TimesOf(clip), (std::vector<int>{0, 300})) << c.what;
        EXPECT_EQ(clip->ChapterMenu->Labels.size(), 1u) << c.what;
        EXPECT_EQ(clip->ChapterMenu->s_BackgroundMusicFile, "/music/theme.mp3") << c.what;
        EXPECT_FALSE(window->b_Busy) << c.what;
        if (c.registerStandIn) EXPECT_EQ(g_standIn.inits, 1) << c.what;
        Win32_UnregisterModule(MediaLibraryName);
        window->Grabber()->TimeoutMs = 5000;
        window->SelectClipItem(nullptr);
        window->ShowTitleMenu();
        Pubfunction::ClearClipInfo();
    }
}

TEST_F(DesignerChaptersTest, ASilentLibraryHoldsUpOneClipOfARebuildNotAll) {
    for (int i = 0; i < 3; ++i) AddClip(0, 600);
    RegisterStandIn(false);
    window->Grabber()->TimeoutMs = 300;
    ShowAndRebuild();
    EXPECT_EQ(g_standIn.inits, 1);
    for (TClipInfo* clip : ClipInfo) {
        EXPECT_NE(clip->TitleButton, nullptr);
        EXPECT_EQ(clip->ChapterMenu, nullptr);
    }
    EXPECT_FALSE(window->b_Busy);
    // The next showing tries again.
    ShowAndRebuild();
    EXPECT_EQ(g_standIn.inits, 2);
}

TEST_F(DesignerChaptersTest, FramesThatNeverComeGiveBlackButtonsOnePerTime) {
    AddClip(0, 600);
    TClipInfo* clip = ClipInfo[0];
    ShowAndRebuild();
    RegisterStandIn(true);
    g_standIn.removeOnRequest = true;
    ConfirmChapterDialog(clip, {10, 20, 30, 40});
    ASSERT_EQ(ClipInfo.size(), 1u) << "no clip goes while its frames are grabbed";
    ASSERT_EQ(TimesOf(clip), (std::vector<int>{10, 20, 30, 40}));
    EXPECT_EQ(g_standIn.frameRequests, 4);
    EXPECT_TRUE(g_standIn.busySeen);
    EXPECT_EQ(g_standIn.progressMax, 4) << "the dialog's times run under a progress window";
    EXPECT_EQ(ProgressWindow, nullptr);
    for (TSubButtonImage* b : clip->ChapterMenu->Buttons) EXPECT_TRUE(IsBlack(b->FrameBitmap));
}

TEST_F(DesignerChaptersTest, DeleteInBothViews) {
    TClipInfo* clip = AddClip(0, 600);
    ShowAndRebuild();
    ConfirmChapterDialog(clip, {0, 200, 400});
    ASSERT_EQ(TimesOf(clip), (std::vector<int>{0, 200, 400}));
    ASSERT_TRUE(window->b_ChapterView);
    TSubChapter* menu = clip->ChapterMenu;
    const int thirdLeft = menu->Buttons[2]->GetLeft();

    window->SelectedChapterButton = menu->Buttons[0];
    ask.MessageAnswers.push_back(mrOk);
    window->DeleteChapter();
    ASSERT_EQ(ask.Of(TQuestionKind::MessageBox).size(), 1u);
    EXPECT_EQ(ask.Of(TQuestionKind::MessageBox)[0].Text, "Can not delete chapter 1");
    EXPECT_EQ(TimesOf(clip).size(), 3u);

    window->SelectedChapterButton = menu->Buttons[1];
    window->DeleteChapter();
    EXPECT_EQ(TimesOf(clip), (std::vector<int>{0, 400}));
    EXPECT_EQ(window->SelectedChapterButton, nullptr);
    EXPECT_EQ(menu->Buttons[1]->GetLeft(), thirdLeft) << "the gap stays";

    window->ShowTitleMenu();
    window->DeleteChapter();
    EXPECT_EQ(clip->TitleButton, nullptr);
    EXPECT_EQ(clip->ChapterMenu, nullptr);
    // The next rebuild puts both back.
    ShowAndRebuild();
    EXPECT_NE(clip->TitleButton, nullptr);
    EXPECT_EQ(TimesOf(clip), (std::vector<int>{0, 300}));
}

TEST_F(DesignerChaptersTest, ADoubleClickOnAButtonOpensTheFrameChooserUnlessBusy) {
    TClipInfo* clip = AddClip(0, 600);
    ShowAndRebuild();
    SetupImageWindow = new TSetupImageWindow(nullptr);
    window->SelectClipItem(clip->MenuTile);
    TControl* title = clip->TitleButton;
    TControl* chapter = clip->ChapterMenu->Buttons[1];
    window->SelectedChapterButton = clip->ChapterMenu->Buttons[1];
    window->b_Busy = true;
    for (TControl* b : {title, chapter}) b->OnDblClick(b);
    EXPECT_TRUE(ask.Of(TQuestionKind::ShowModal).empty());
    window->b_Busy = false;
    for (TControl* b : {title, chapter}) b->OnDblClick(b);
    const auto shown = ask.Of(TQuestionKind::ShowModal);
    ASSERT_EQ(shown.size(), 2u);
    for (const auto& q : shown) EXPECT_EQ(q.Form, SetupImageWindow);
    delete SetupImageWindow;
    SetupImageWindow = nullptr;
}

TEST_F(DesignerChaptersTest, AddingAClipToTheTitleMenuGivesItAChapterMenu) {
    TClipInfo* clip = AddClip(0, 600);
    ShowAndRebuild();
    window->SelectClipItem(clip->MenuTile);
    window->RemoveTitleButton(clip);
    ASSERT_EQ(clip->ChapterMenu, nullptr);
    window->PopupItemClick(TSetupMenuWindow::pkClip, "Add");
    EXPECT_NE(clip->TitleButton, nullptr);
    EXPECT_EQ(TimesOf(clip), (std::vector<int>{0, 300}));
    EXPECT_FALSE(window->b_Busy);
}

}  // namespace
