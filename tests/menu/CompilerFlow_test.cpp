// The Compiler flow end to end, as a person runs it from the main window: three MPEG-2 VOBs made
// here (two NTSC, one PAL, each changing colour every 10 s) are added in the menu designer,
// become clips with title buttons and chapter menus of real frames, get new chapter times and a
// chosen title picture, and are handed over once the standards no longer mix.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "model/CustomClass.h"
#include "core/Language.h"
#include "app/Main_Window.h"
#include "core/MediaLibrary.h"
#include "app/Option_Window.h"
#include "core/Pubfunction.h"
#include "app/SetupChapter_Window.h"
#include "model/VobClip.h"
#include "model/MenuObjects.h"
#include "menu/SetupImage_Window.h"
#include "menu/SetupMenu_Window.h"
#include "menu/SetupText_Window.h"
#include "platform/vcl/Forms.h"
#include "tests/support/ScriptedInteraction.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestHelpers.h"

namespace fs = std::filesystem;
using testing_vcl::TQuestionKind;

namespace {

constexpr int kClipSeconds = 40;

struct TRgb {
    int r, g, b;
};
// The colour of the 10-second segment a second falls in.
TRgb SegmentColour(int Second) {
    constexpr TRgb kPalette[] = {{220, 30, 30}, {30, 200, 40}, {40, 60, 220}, {230, 220, 40}};
    return kPalette[(Second / 10) % 4];
}

std::string ColourVob(const std::string& Size) {
    std::string graph, labels;
    for (int k = 0; k < kClipSeconds / 10; ++k) {
        const TRgb c = SegmentColour(k * 10);
        char colour[16];
        std::snprintf(colour, sizeof colour, "0x%02X%02X%02X", c.r, c.g, c.b);
        graph += std::string("color=c=") + colour + ":s=" + Size + ":r=25:d=10[s" + std::to_string(k) + "];";
        labels += "[s" + std::to_string(k) + "]";
    }
    graph += labels + "concat=n=" + std::to_string(kClipSeconds / 10) + ":v=1:a=0[v]";
    return "-filter_complex \"" + graph + "\" -map \"[v]\" -c:v mpeg2video -b:v 2M -g 25 -aspect 4:3 -f vob";
}

struct Fixtures : testing_vcl::TTempFolder {
    bool made = false;
    Fixtures() : TTempFolder("compiler_flow") {
        if (Path().empty()) return;
        made = testing_vcl::Ffmpeg(ColourVob("720x480"), (*this)["first ntsc.vob"]) &&
               testing_vcl::Ffmpeg(ColourVob("720x480"), (*this)["second ntsc.VOB"]) &&
               testing_vcl::Ffmpeg(ColourVob("720x576"), (*this)["pal.vob"]);
    }
};

const Fixtures& Vobs() {
    static Fixtures f;
    return f;
}

bool ShowsSecond(TBitmap* Frame, int Second) {
    if (Frame == nullptr || Frame->GetWidth() < 2 || Frame->GetHeight() < 2) return false;
    const TColor c = Frame->GetPixelColor(Frame->GetWidth() / 2, Frame->GetHeight() / 2);
    const TRgb e = SegmentColour(Second);
    auto close = [](int a, int b) { return std::abs(a - b) <= 40; };
    return close(c & 0xFF, e.r) && close((c >> 8) & 0xFF, e.g) && close((c >> 16) & 0xFF, e.b);
}

std::vector<int> ChapterTimes(TClipInfo* Clip) {
    std::vector<int> times;
    if (Clip->ChapterMenu != nullptr)
        for (TSubButtonImage* b : Clip->ChapterMenu->Buttons) times.push_back(b->i_ChapterTime);
    return times;
}

// The windows start-up makes for this flow, on the drawn pictures of the build.
class CompilerFlowTest : public ::testing::Test {
protected:
    testing_vcl::TScriptedInteraction ask;
    std::unique_ptr<testing_vcl::TInstallInteraction> installed;
    String savedExePath = ExePath;
    testing_vcl::TPrivateProgramFolder program;  // a work folder of this test's own

    void SetUp() override {
        ASSERT_TRUE(Vobs().made);
        ExePath = program.Path();
        UILanguage.clear();
        i_CreateMenuSafeDistance = 10;
        s_BackgroundSrcFile.clear();
        s_BackgroundMusicFile.clear();
        installed = std::make_unique<testing_vcl::TInstallInteraction>(ask);
        MainWindow = new TMainWindow(nullptr);
        MainWindow->AfterConstruction();
        SetupMenuWindow = new TSetupMenuWindow(nullptr);
        SetupMenuWindow->AfterConstruction();
        SetupMenuWindow->Grabber()->WaitPauseMs = 5;
        SetupMenuWindow->Grabber()->TimeoutMs = 10000;
        SetupChapterWindow = new TSetupChapterWindow(nullptr);
        SetupChapterWindow->AfterConstruction();
        SetupImageWindow = new TSetupImageWindow(nullptr);
        SetupImageWindow->AfterConstruction();
        SetupImageWindow->Grabber()->WaitPauseMs = 5;
    }
    void TearDown() override {
        delete SetupImageWindow;
        delete SetupChapterWindow;
        delete SetupMenuWindow;
        Pubfunction::ClearTitleMenuLabel();
        Pubfunction::ClearClipInfo();
        delete MainWindow;
        Pubfunction::FreeSharedBitmaps();
        installed.reset();
        ExePath = savedExePath;
    }

    TSetupMenuWindow* D() const { return SetupMenuWindow; }
    bool WaitForDesigner() {
        return testing_vcl::RunUntil([&] { return !D()->b_Busy && !D()->Timer_CreateMenu->GetEnabled(); }, 60000);
    }
    std::vector<testing_vcl::TRecordedQuestion> MixingMessages() const {
        std::vector<testing_vcl::TRecordedQuestion> found;
        for (const auto& q : ask.Of(TQuestionKind::MessageBox))
            if (q.Text.rfind(Language::GetMessageText(121), 0) == 0) found.push_back(q);
        return found;
    }
};

TEST_F(CompilerFlowTest, ThreeVobsThroughTheCompilerButton) {
    const String a = Vobs()["first ntsc.vob"], b = Vobs()["second ntsc.VOB"], pal = Vobs()["pal.vob"];
    std::vector<int> autoTimes[3], newTimes;
    bool autoFrames = true, newFrames = false, titleFrame = false, stayedMixed = false;
    int chosenSecond = -1;
    std::size_t mixingAfterAdd = 0, mixingAfterNext = 0, mixingAfterRemoval = 0;
    String mixingText;
    int titleMenuAfter = -1;

    ask.ModalActions.push_back([&](TCustomForm* Form) {
        ASSERT_EQ(Form, D());
        Form->Show();
        // Adding the three files: progress, rebuild, and the mixing message.
        ask.AnswerFiles({a, b, pal});
        testing_vcl::Click(D()->suiImageButton_AddFile);
        ASSERT_TRUE(WaitForDesigner());
        ASSERT_EQ(ClipInfo.size(), 3u);
        mixingAfterAdd = MixingMessages().size();
        if (mixingAfterAdd > 0) mixingText = MixingMessages().back().Text;
        for (int i = 0; i < 3; ++i) {
            TClipInfo* clip = ClipInfo[static_cast<std::size_t>(i)];
            ASSERT_NE(clip->TitleButton, nullptr) << i;
            autoTimes[i] = ChapterTimes(clip);
            if (clip->ChapterMenu == nullptr) autoFrames = false;
            else
                for (TSubButtonImage* button : clip->ChapterMenu->Buttons)
                    autoFrames = autoFrames && ShowsSecond(button->FrameBitmap, button->i_ChapterTime);
        }

        // New chapter times for the first clip through the chapter dialog.
        D()->SelectClipItem(ClipInfo[0]->MenuTile);
        D()->SelectTitleButton(ClipInfo[0]->TitleButton);
        ask.ModalActions.push_back([](TCustomForm* Dialog) {
            const int times[] = {5, 15, 25, 35};
            SetupChapterWindow->SetChapterList(times, 4);
            Dialog->SetModalResult(mrOk);
        });
        D()->PopupItemClick(TSetupMenuWindow::pkTitleButton, "Chapter");
        ASSERT_TRUE(WaitForDesigner());
        newTimes = ChapterTimes(ClipInfo[0]);
        if (ClipInfo[0]->ChapterMenu != nullptr) {
            newFrames = true;
            for (TSubButtonImage* button : ClipInfo[0]->ChapterMenu->Buttons)
                newFrames = newFrames && ShowsSecond(button->FrameBitmap, button->i_ChapterTime);
        }
        D()->ShowTitleMenu();

        // The frame chooser gives the second clip's title button the frame of second 25.
        D()->SelectClipItem(ClipInfo[1]->MenuTile);
        D()->SelectTitleButton(ClipInfo[1]->TitleButton);
        ask.ModalActions.push_back([&](TCustomForm* Chooser) {
            Chooser->Show();
            TSetupImageWindow* w = SetupImageWindow;
            testing_vcl::MousePress(w->Image_Bar, 7, 10);
            testing_vcl::MouseMoveTo(w->Image_Bar, 7 + 25 * 288 / kClipSeconds, 10, TShiftState{ssLeft});
            testing_vcl::MouseRelease(w->Image_Bar, 7, 10);
            ASSERT_TRUE(testing_vcl::RunUntil([&] { return !w->IsSeeking(); }, 20000));
            chosenSecond = w->ShownTime;
            testing_vcl::Click(w->suiImageButton2);
        });
        D()->PopupItemClick(TSetupMenuWindow::pkTitleButton, "Image");
        titleFrame = ShowsSecond(ClipInfo[1]->TitleButton->GetPicture()->GetBitmap(), 25) &&
                     ShowsSecond(ClipInfo[1]->Picture, 25);

        // Next refuses while the standards mix, and goes on once the PAL clip is gone.
        testing_vcl::Click(D()->suiImageButton_Burn);
        mixingAfterNext = MixingMessages().size();
        stayedMixed = D()->GetModalResult() == mrNone;
        D()->SelectClipItem(ClipInfo[2]->MenuTile);
        testing_vcl::Click(D()->suiImageButton_RemoveFile);
        ASSERT_TRUE(WaitForDesigner());
        testing_vcl::Click(D()->suiImageButton_Burn);
        mixingAfterRemoval = MixingMessages().size();
        titleMenuAfter = D()->TitleMenu.b_TitleMenu;
        testing_vcl::Click(D()->suiImageButton_Close);
    });
    testing_vcl::Click(MainWindow->suiImageButton_Compiler);

    EXPECT_EQ(mixingAfterAdd, 1u);
    EXPECT_EQ(mixingText, Language::GetMessageText(121) + a + "\n" + b + "\n" + Language::GetMessageText(122) + pal + "\n");
    for (const auto& times : autoTimes) EXPECT_EQ(times, (std::vector<int>{0, 20}));
    EXPECT_TRUE(autoFrames) << "each automatic chapter button shows its own second";
    EXPECT_EQ(newTimes, (std::vector<int>{5, 15, 25, 35}));
    EXPECT_TRUE(newFrames);
    EXPECT_EQ(chosenSecond, 25);
    EXPECT_TRUE(titleFrame) << "the title button and the clip show the chosen frame";
    EXPECT_EQ(mixingAfterNext, 2u) << "Next showed the mixing message again";
    EXPECT_TRUE(stayedMixed);
    EXPECT_EQ(mixingAfterRemoval, 2u) << "no message once the PAL clip is gone";
    EXPECT_EQ(titleMenuAfter, 1);
    EXPECT_TRUE(ask.Failures.empty());
}

}  // namespace
