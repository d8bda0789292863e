// The frame chooser: the handle's arithmetic in a table, and the window driven as a person
// would on the real media library, with a clip whose colour changes every 10 s so the second of
// a frame can be read from its pixels.
#include "menu/SetupImage_Window.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>

#include "model/CustomClass.h"
#include "core/Language.h"
#include "core/MediaLibrary.h"
#include "core/Pubfunction.h"
#include "model/SetupClip_WindowRows.h"
#include "model/VobClip.h"
#include "model/MenuObjects.h"
#include "menu/SetupMenu_Window.h"
#include "platform/vcl/PngWriter.h"
#include "tests/support/ScriptedInteraction.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestHelpers.h"

namespace fs = std::filesystem;

namespace {

// ---- the handle's arithmetic ----------------------------------------------------------------

TEST(FrameChooserMapping, Ranges) {
    struct Case {
        int trimStart, trimEnd, start, end;
    };
    const Case cases[] = {{0, 600, 0, 600}, {100, 100, 100, 101}, {120, 124, 120, 124}, {50, 40, 50, 51}};
    for (const Case& c : cases) {
        const FrameChooser::TRange r = FrameChooser::RangeOfTrim(c.trimStart, c.trimEnd);
        EXPECT_EQ(r.Start, c.start) << c.trimStart << ".." << c.trimEnd;
        EXPECT_EQ(r.End, c.end) << c.trimStart << ".." << c.trimEnd;
    }
}

TEST(FrameChooserMapping, HandlePositionsAndTimes) {
    struct Case {
        int start, end, time, left;
    };
    // Time to Left; the ends of the travel outside the range.
    const Case toLeft[] = {{0, 600, 300, 172}, {0, 600, 0, 28},    {0, 600, 600, 316}, {0, 600, -5, 28},
                           {0, 600, 601, 316}, {100, 101, 100, 28}, {100, 101, 101, 316}, {0, INT_MAX, INT_MAX / 2, 171}};
    for (const Case& c : toLeft) EXPECT_EQ(FrameChooser::LeftOfTime(c.time, {c.start, c.end}), c.left) << c.time;
    // Left to time.
    const Case toTime[] = {{0, 600, 300, 172}, {0, 600, 0, 28},     {0, 600, 600, 316}, {100, 101, 101, 316},
                           {100, 101, 100, 315}, {120, 124, 122, 172}, {0, INT_MAX, INT_MAX, 316}};
    for (const Case& c : toTime) EXPECT_EQ(FrameChooser::TimeAtLeft(c.left, {c.start, c.end}), c.time) << c.left;
}

TEST(FrameChooserMapping, DragsStayOnTheTravel) {
    const int cases[][3] = {{172, 10, 182}, {172, -500, 28}, {172, 500, 316}, {28, -1, 28}, {316, 1, 316}};
    for (const auto& c : cases) EXPECT_EQ(FrameChooser::DraggedLeft(c[0], c[1]), c[2]) << c[0] << "+" << c[1];
}

TEST(FrameChooserMapping, TheSecondAskedForAfterARelease) {
    const int cases[][3] = {{600, 600, 590}, {0, 600, 1}, {300, 600, 300}, {590, 600, 590}, {591, 600, 581},
                            {5, 8, 1}, {0, 0, 1}};
    for (const auto& c : cases) EXPECT_EQ(FrameChooser::RequestedTime(c[0], c[1]), c[2]) << c[0] << " of " << c[1];
}

// ---- the window on the real library ---------------------------------------------------------

struct TSegment {
    const char* name;
    int r, g, b;
};
// One colour for each 10 s of the clip.
constexpr TSegment kSegments[] = {{"red", 255, 0, 0},    {"lime", 0, 255, 0},  {"blue", 0, 0, 255},
                                  {"yellow", 255, 255, 0}, {"cyan", 0, 255, 255}, {"magenta", 255, 0, 255}};

struct Fixtures : testing_vcl::TTempFolder {
    bool made = false;
    Fixtures() : TTempFolder("setupimage_clips") {
        if (Path().empty()) return;
        std::string graph = "-filter_complex \"";
        std::string inputs;
        for (int i = 0; i < 6; ++i) {
            graph += std::string("color=c=") + kSegments[i].name + ":s=320x240:r=25:d=10[s" + std::to_string(i) + "];";
            inputs += "[s" + std::to_string(i) + "]";
        }
        graph += inputs + "concat=n=6:v=1:a=0[v]\" -map \"[v]\" -c:v mpeg2video -g 25 -aspect 4:3 -f vob";
        made = testing_vcl::Ffmpeg(graph, (*this)["colours.vob"]);
    }
};

const Fixtures& Clips() {
    static Fixtures f;
    return f;
}

bool Near(TColor c, const TSegment& s) {
    auto close = [](int a, int e) { return std::abs(a - e) <= 40; };
    return close(c & 0xFF, s.r) && close((c >> 8) & 0xFF, s.g) && close((c >> 16) & 0xFF, s.b);
}

TColor Centre(TBitmap* b) { return b->GetPixelColor(b->GetWidth() / 2, b->GetHeight() / 2); }

extern "C" int SilentInit(void*, int, const char*, const char*, const char*) { return 0; }
extern "C" int SilentNext(int) { return 0; }
extern "C" int SilentUnInit() { return 0; }
extern "C" int SilentFrame(int, int, const char*, std::uint8_t**, std::int32_t*) { return -1; }

class SetupImageWindowTest : public ::testing::Test {
protected:
    testing_vcl::TScriptedInteraction ask;
    std::unique_ptr<testing_vcl::TInstallInteraction> installed;
    String savedExePath = ExePath;
    std::unique_ptr<TClipInfo> clip;

    void SetUp() override {
        ASSERT_TRUE(Clips().made);
        ExePath = (fs::path(TEST_PEER_DIR) / ".." / ".." / "dist").string() + "/";
        installed = std::make_unique<testing_vcl::TInstallInteraction>(ask);
        SetupImageWindow = new TSetupImageWindow(nullptr);
        SetupImageWindow->AfterConstruction();
        W()->Grabber()->WaitPauseMs = 5;
        W()->Grabber()->TimeoutMs = 3000;
        clip.reset(MakeVobClip(Clips()["colours.vob"], TVobPicture::FirstPicture));
        ASSERT_NE(clip, nullptr);
        ASSERT_EQ(clip->i_Duration, 60);
        clip->RefreshTitleButton();
        clip->ChapterMenu = new TSubChapter(clip.get());
        std::unique_ptr<TBitmap> black(testing_vcl::SolidBitmap(80, 60, clBlack));
        clip->ChapterMenu->AddButton(black.get(), 30);
    }
    void TearDown() override {
        delete SetupImageWindow;
        clip.reset();
        installed.reset();
        Win32_UnregisterModule(MediaLibraryName);
        ExePath = savedExePath;
    }

    TSetupImageWindow* W() const { return SetupImageWindow; }
    TSubButtonImage* ChapterButton() const { return clip->ChapterMenu->Buttons.at(0); }

    // Shows the chooser modally as the designer does and runs Steps in it; Steps end it.
    void Showing(const std::function<void()>& Steps, bool Chapter = false) {
        ask.ModalActions.push_back([Steps](TCustomForm* Form) {
            Form->Show();
            Steps();
        });
        if (Chapter) W()->EditChapterButton(ChapterButton());
        else W()->EditTitleButton(clip->TitleButton);
    }
    // Drags the handle by Pixels and lets go; true once the answer came.
    bool DragBy(int Pixels) {
        testing_vcl::MousePress(W()->Image_Bar, 7, 10);
        testing_vcl::MouseMoveTo(W()->Image_Bar, 7 + Pixels, 10, TShiftState{ssLeft});
        testing_vcl::MouseRelease(W()->Image_Bar, 7, 10);
        return testing_vcl::RunUntil([&] { return !W()->IsSeeking(); }, 20000);
    }
    TColor PreviewCentre() const {
        return testing_vcl::PixelAt(W()->Image_Preview, W()->Image_Preview->GetWidth() / 2,
                                    W()->Image_Preview->GetHeight() / 2);
    }
};

TEST_F(SetupImageWindowTest, AReleaseShowsTheFrameOfThatSecondAndOkGivesItToTheTitleButton) {
    ASSERT_TRUE(Near(Centre(clip->Picture), kSegments[0]));
    String timeAfterDrag, caption;
    int shown = -1;
    bool previewYellow = false;
    Showing([&] {
        caption = W()->Label_Text->GetCaption();
        EXPECT_EQ(W()->Image_Bar->GetLeft(), 28);
        EXPECT_EQ(W()->Label_Time->GetCaption(), "00:00:00");
        // 168 pixels of 288 over 0..60: second 35, in the fourth segment.
        ASSERT_TRUE(DragBy(168));
        timeAfterDrag = W()->Label_Time->GetCaption();
        shown = W()->ShownTime;
        previewYellow = Near(PreviewCentre(), kSegments[3]);
        testing_vcl::SaveRender(W(), "designer", "frame_chooser.png");
        testing_vcl::Click(W()->suiImageButton2);
    });
    EXPECT_EQ(caption, Language::GetMessageText(55));
    EXPECT_EQ(timeAfterDrag, "00:00:35");
    EXPECT_EQ(shown, 35);
    EXPECT_TRUE(previewYellow);
    EXPECT_TRUE(Near(Centre(clip->Picture), kSegments[3])) << "the clip's picture is the chosen frame";
    TBitmap* button = clip->TitleButton->GetPicture()->GetBitmap();
    EXPECT_TRUE(Near(Centre(button), kSegments[3])) << "the title button shows it";
    // The row draws its 80 x 60 picture at (10, 7).
    EXPECT_TRUE(Near(clip->ListRow->GetPicture()->GetBitmap()->GetPixelColor(50, 37), kSegments[3])) << "and the clip's row";
    EXPECT_FALSE(W()->Grabber()->IsLoaded()) << "closing ends the grabber";
    EXPECT_TRUE(ask.Failures.empty());
}

TEST_F(SetupImageWindowTest, ReleasesAtTheEndsAskForSecondOneAndTenSecondsBeforeTheEnd) {
    int atStart = -1, atEnd = -1;
    bool startRed = false, endMagenta = false;
    Showing([&] {
        ASSERT_TRUE(DragBy(0));   // Left 28 with the range starting at 0
        atStart = W()->ShownTime;
        startRed = Near(PreviewCentre(), kSegments[0]);
        ASSERT_TRUE(DragBy(400)); // Left 316: the trim end, which is the clip's end
        EXPECT_EQ(W()->Image_Bar->GetLeft(), 316);
        atEnd = W()->ShownTime;
        endMagenta = Near(PreviewCentre(), kSegments[5]);
        testing_vcl::Click(W()->suiImageButton1);
    });
    EXPECT_EQ(atStart, 1);
    EXPECT_TRUE(startRed);
    EXPECT_EQ(atEnd, 50);
    EXPECT_TRUE(endMagenta);
    EXPECT_TRUE(Near(Centre(clip->Picture), kSegments[0])) << "Cancel keeps the picture";
}

TEST_F(SetupImageWindowTest, AChapterButtonOpensAtItsTimeAndOkRenewsItsFrame) {
    clip->SetTrim(0, 60);
    ChapterButton()->i_ChapterTime = 30;
    int left = -1;
    String time;
    Showing(
        [&] {
            left = W()->Image_Bar->GetLeft();
            time = W()->Label_Time->GetCaption();
            EXPECT_EQ(W()->Label_Text->GetCaption(), Language::GetMessageText(56));
            ASSERT_TRUE(DragBy(-72));   // back to second 15
            testing_vcl::Click(W()->suiImageButton2);
        },
        true);
    EXPECT_EQ(left, 28 + 30 * 288 / 60);
    EXPECT_EQ(time, "00:00:30");
    EXPECT_TRUE(Near(Centre(ChapterButton()->FrameBitmap), kSegments[1]));
    EXPECT_TRUE(Near(Centre(ChapterButton()->GetPicture()->GetBitmap()), kSegments[1])) << "the button is redrawn";
    EXPECT_TRUE(Near(Centre(clip->Picture), kSegments[0])) << "the clip's own picture stays";
}

TEST_F(SetupImageWindowTest, OkAppliesOnlyAFrameThatArrivedInThisShowing) {
    // A first showing fetches a frame and is cancelled; a second one is confirmed unmoved.
    Showing([&] {
        ASSERT_TRUE(DragBy(168));
        testing_vcl::Click(W()->suiImageButton1);
    });
    bool frameLeft = true;
    Showing([&] {
        frameLeft = W()->HasNewFrame();
        testing_vcl::Click(W()->suiImageButton2);
    });
    EXPECT_FALSE(frameLeft);
    EXPECT_TRUE(Near(Centre(clip->Picture), kSegments[0]));
}

TEST_F(SetupImageWindowTest, AReleaseAtTheShownSecondAsksNothing) {
    clip->SetTrim(20, 60);
    Showing([&] {
        ASSERT_TRUE(DragBy(0));   // second 20, asked for: the grabber starts
        ASSERT_EQ(W()->ShownTime, 20);
        const int before = W()->Grabber()->PendingRequests();
        testing_vcl::MousePress(W()->Image_Bar, 7, 10);
        testing_vcl::MouseRelease(W()->Image_Bar, 7, 10);
        EXPECT_FALSE(W()->IsSeeking()) << "the handle is free again at once";
        EXPECT_EQ(W()->Grabber()->PendingRequests(), before);
        testing_vcl::Click(W()->suiImageButton1);
    });
}

TEST_F(SetupImageWindowTest, ASilentLibraryFreesTheHandleAndOkChangesNothing) {
    Win32_RegisterModule(MediaLibraryName, {{"X_GetFrame_Init", reinterpret_cast<FARPROC>(&SilentInit)},
                                            {"X_Set_NextFrame_Time", reinterpret_cast<FARPROC>(&SilentNext)},
                                            {"X_GetFrame_UnInit", reinterpret_cast<FARPROC>(&SilentUnInit)},
                                            {"X_Get_Frame", reinterpret_cast<FARPROC>(&SilentFrame)}});
    W()->Grabber()->TimeoutMs = 300;
    bool freed = false;
    Showing([&] {
        freed = DragBy(100);
        testing_vcl::Click(W()->suiImageButton2);
    });
    EXPECT_TRUE(freed);
    EXPECT_TRUE(Near(Centre(clip->Picture), kSegments[0]));
    EXPECT_TRUE(ask.Failures.empty());
}

TEST_F(SetupImageWindowTest, WithoutTheLibraryTheHandleStaysDisabledAndBothButtonsClose) {
    Win32_RegisterModule(MediaLibraryName, {{"X_Get_Frame", reinterpret_cast<FARPROC>(&SilentFrame)}});
    bool seeking = false;
    Showing([&] {
        testing_vcl::MousePress(W()->Image_Bar, 7, 10);
        testing_vcl::MouseMoveTo(W()->Image_Bar, 57, 10, TShiftState{ssLeft});
        testing_vcl::MouseRelease(W()->Image_Bar, 7, 10);
        testing_vcl::RunFor(50);
        seeking = W()->IsSeeking();
        testing_vcl::Click(W()->suiImageButton2);
    });
    EXPECT_TRUE(seeking);
    EXPECT_TRUE(Near(Centre(clip->Picture), kSegments[0]));
    EXPECT_TRUE(ask.Failures.empty()) << "OK closed the window";
}

TEST_F(SetupImageWindowTest, TheDesignersImageItemsOpenTheChooserOnlyWhileTheDesignerIsIdle) {
    i_CreateMenuSafeDistance = 10;
    auto designer = std::make_unique<TSetupMenuWindow>(nullptr);
    designer->SelectedTitleButton = clip->TitleButton;
    designer->SelectedChapterButton = ChapterButton();
    designer->b_Busy = true;
    designer->PopupItemClick(TSetupMenuWindow::pkTitleButton, "Image");
    designer->PopupItemClick(TSetupMenuWindow::pkChapterButton, "Image");
    EXPECT_TRUE(ask.Of(testing_vcl::TQuestionKind::ShowModal).empty());
    designer->b_Busy = false;
    String title, chapter;
    ask.ModalActions.push_back([&](TCustomForm* Form) {
        title = W()->Label_Text->GetCaption();
        Form->SetModalResult(mrCancel);
    });
    designer->PopupItemClick(TSetupMenuWindow::pkTitleButton, "Image");
    ask.ModalActions.push_back([&](TCustomForm* Form) {
        chapter = W()->Label_Text->GetCaption();
        Form->SetModalResult(mrCancel);
    });
    designer->PopupItemClick(TSetupMenuWindow::pkChapterButton, "Image");
    const auto shown = ask.Of(testing_vcl::TQuestionKind::ShowModal);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].Form, W());
    EXPECT_EQ(title, Language::GetMessageText(55));
    EXPECT_EQ(chapter, Language::GetMessageText(56));
    designer.reset();
    Pubfunction::FreeSharedBitmaps();
}

TEST_F(SetupImageWindowTest, NothingHappensForANullButton) {
    W()->EditTitleButton(nullptr);
    W()->EditChapterButton(nullptr);
    EXPECT_TRUE(ask.Of(testing_vcl::TQuestionKind::ShowModal).empty());
}

}  // namespace
