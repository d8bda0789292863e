// The Builder flow as a person runs it: two clips made here in the clip editor, " Add DVD Menu"
// ticked, the designer laid out, a button dragged, a label styled, a background chosen, back to
// the editor, 16:9 there and on to production.
#include "menu/SetupMenu_Window.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "app/CustomClass.h"
#include "app/Main_Window.h"
#include "app/Option_Window.h"
#include "app/Pubfunction.h"
#include "app/SetupChapter_Window.h"
#include "app/SetupClip_Window.h"
#include "menu/SetupText_Window.h"
#include "platform/vcl/Forms.h"
#include "production/Builder_Window.h"
#include "tests/support/ScriptedInteraction.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestHelpers.h"

namespace fs = std::filesystem;
using testing_vcl::TQuestionKind;

namespace {

const fs::path kDist = fs::path(TEST_PEER_DIR) / ".." / ".." / "dist";

struct Fixtures : testing_vcl::TTempFolder {
    bool made = false;
    Fixtures() : TTempFolder("designer_flow_clips") {
        if (Path().empty()) return;
        const std::string mpeg = " -c:v mpeg2video -aspect 4:3 -f vob";
        made = testing_vcl::Ffmpeg("-f lavfi -i color=c=red:s=160x120:r=25:d=20" + mpeg, (*this)["red.mpg"]) &&
               testing_vcl::Ffmpeg("-f lavfi -i color=c=blue:s=160x120:r=25:d=30" + mpeg, (*this)["blue.mpg"]);
    }
};

const Fixtures& Clips() {
    static Fixtures f;
    return f;
}

class BuilderFlowTest : public ::testing::Test {
protected:
    testing_vcl::TTempFolder dir{"designer_flow"};
    String savedExePath = ExePath;
    testing_vcl::TScriptedInteraction ask;
    std::unique_ptr<testing_vcl::TInstallInteraction> installed;

    void SetUp() override {
        ASSERT_TRUE(Clips().made);
        ExePath = dir.Path() + "/";
        fs::copy(kDist / "RES", dir["RES"], fs::copy_options::recursive);
        fs::copy(kDist / "Background", dir["Background"], fs::copy_options::recursive);
        std::ofstream(dir["Option.ini"]) << "[Option]\nUseDefault=0\nOpenDialogFilter=Video|*.mpg\n";
        UILanguage.clear();
        s_BackgroundSrcFile.clear();
        s_BackgroundMusicFile.clear();
        ask.ModalTimeoutMs = 60000;
        installed = std::make_unique<testing_vcl::TInstallInteraction>(ask);
        // Created in start-up order.
        MainWindow = new TMainWindow(nullptr);
        MainWindow->AfterConstruction();
        OptionWindow = new TOptionWindow(nullptr);
        OptionWindow->AfterConstruction();
        OptionWindow->OnDestroy = nullptr;
        SetupClipWindow = new TSetupClipWindow(nullptr);
        SetupClipWindow->AfterConstruction();
        SetupClipWindow->Grabber()->WaitPauseMs = 5;
        SetupMenuWindow = new TSetupMenuWindow(nullptr);
        SetupMenuWindow->AfterConstruction();
        SetupMenuWindow->Grabber()->WaitPauseMs = 5;
        SetupChapterWindow = new TSetupChapterWindow(nullptr);
        SetupTextWindow = new TSetupTextWindow(nullptr);
        BuilderWindow = new TBuilderWindow(nullptr);
        i_CreateMenuSafeDistance = 10;
    }
    void TearDown() override {
        delete BuilderWindow;
        BuilderWindow = nullptr;
        delete SetupTextWindow;
        SetupTextWindow = nullptr;
        delete SetupChapterWindow;
        SetupChapterWindow = nullptr;
        delete SetupMenuWindow;
        delete SetupClipWindow;
        Pubfunction::ClearTitleMenuLabel();
        Pubfunction::ClearClipInfo();
        delete OptionWindow;
        delete MainWindow;
        Pubfunction::FreeSharedBitmaps();
        installed.reset();
        ExePath = savedExePath;
        UILanguage.clear();
    }

    static TSetupMenuWindow* D() { return SetupMenuWindow; }
    static bool RebuildDone() { return !D()->Timer_CreateMenu->GetEnabled() && !D()->b_Busy; }
    // Runs Act once the designer's loop runs and its rebuild is done.
    void WhenDesignerShows(std::function<void()> Act) {
        ask.ModalActions.push_back([Act](TCustomForm* Form) {
            ASSERT_EQ(Form, D());
            Application->QueueCall([Act] {
                ASSERT_TRUE(testing_vcl::RunUntil(RebuildDone, 60000));
                Act();
            });
        });
    }
    static void ExpectInsideSafeFrame(TControl* C, const char* What) {
        const int d = 10;
        EXPECT_GE(C->GetLeft(), d) << What;
        EXPECT_GE(C->GetTop(), d) << What;
        EXPECT_LE(C->GetLeft() + C->GetWidth(), MenuLayout::PreviewWidth - d) << What;
        EXPECT_LE(C->GetTop() + C->GetHeight(), D()->Panel_MenuPreview->GetHeight() - d) << What;
    }
};

TEST_F(BuilderFlowTest, FromTheClipEditorThroughTheDesignerToTheBuilderWindow) {
    SetupClipWindow->SetBuilderMode();
    SetupClipWindow->Show();
    ask.AnswerFiles({Clips()["red.mpg"], Clips()["blue.mpg"]});
    testing_vcl::Click(SetupClipWindow->suiImageButton_AddFile);
    ASSERT_EQ(ClipInfo.size(), 2u);
    ASSERT_TRUE(testing_vcl::RunUntil([] { return !SetupClipWindow->IsSeeking(); }, 20000));
    SetupClipWindow->suiCheckBox_AddDVDMenu->SetChecked(true);

    String chosenBackground;
    WhenDesignerShows([&] {
        ASSERT_NE(ClipInfo[0]->TitleButton, nullptr);
        ASSERT_NE(ClipInfo[1]->TitleButton, nullptr);
        EXPECT_EQ(ClipInfo[0]->TitleButton->GetLeft(), 20);
        EXPECT_EQ(ClipInfo[0]->TitleButton->GetTop(), 15);
        EXPECT_EQ(ClipInfo[1]->TitleButton->GetLeft(), 140);
        EXPECT_EQ(ClipInfo[1]->TitleButton->GetTop(), 15);
        EXPECT_NE(ClipInfo[0]->ChapterMenu, nullptr);
        // A body drag far past the bottom right stops at the safe frame.
        TButtonImage* b = ClipInfo[1]->TitleButton;
        const int cx = b->GetWidth() / 2, cy = b->GetHeight() / 2;
        testing_vcl::MouseMoveTo(b, cx, cy);
        testing_vcl::MousePress(b, cx, cy);
        testing_vcl::MouseMoveTo(b, cx + 900, cy + 900, TShiftState{ssLeft});
        testing_vcl::MouseRelease(b, cx + 900, cy + 900);
        EXPECT_EQ(b->GetLeft(), 518 - b->GetWidth() - 10);
        EXPECT_EQ(b->GetTop(), 388 - b->GetHeight() - 10);
        // A label, styled through the text-style dialog.
        testing_vcl::Click(D()->suiImageButton_Text);
        ASSERT_EQ(TitleMenuLabel.size(), 1u);
        ask.ModalActions.push_back([](TCustomForm* Form) {
            ASSERT_EQ(Form, SetupTextWindow);
            SetupTextWindow->suiEdit_Sample->SetText("  Summer Holiday ");
            Application->QueueCall([] { testing_vcl::Click(SetupTextWindow->suiImageButton2); });
        });
        // The label's double-click handler, as the designer wired it.
        ASSERT_TRUE(TitleMenuLabel[0]->OnDblClick);
        TitleMenuLabel[0]->OnDblClick(TitleMenuLabel[0]);
        EXPECT_EQ(TitleMenuLabel[0]->GetCaption(), "Summer Holiday");
        // A background from the list.
        testing_vcl::Click(D()->BackgroundList[2]);
        chosenBackground = D()->BackgroundList[2]->FileName;
        EXPECT_EQ(s_BackgroundSrcFile, chosenBackground);
        testing_vcl::Click(D()->suiImageButton_Clip);
    });
    testing_vcl::Click(SetupClipWindow->suiImageButton_Menu);
    ASSERT_TRUE(ask.Failures.empty()) << ask.Failures[0];
    EXPECT_TRUE(SetupClipWindow->GetVisible()) << "Clip returns to the editor";
    ASSERT_EQ(ClipInfo.size(), 2u);
    ASSERT_EQ(TitleMenuLabel.size(), 1u);
    EXPECT_EQ(TitleMenuLabel[0]->GetCaption(), "Summer Holiday");
    EXPECT_EQ(s_BackgroundSrcFile, chosenBackground);
    EXPECT_EQ(ClipInfo[1]->TitleButton->GetTop(), 388 - ClipInfo[1]->TitleButton->GetHeight() - 10);

    // 16:9 in the editor, then Next again: everything inside the 292-pixel preview's frame.
    testing_vcl::Click(SetupClipWindow->suiCheckBox_16_9);
    WhenDesignerShows([&] {
        EXPECT_EQ(D()->Panel_MenuPreview->GetHeight(), 292);
        for (TClipInfo* c : ClipInfo) ExpectInsideSafeFrame(c->TitleButton, "title button");
        ExpectInsideSafeFrame(TitleMenuLabel[0], "label");
        EXPECT_TRUE(D()->BackImage->GetVisible());
        ExpectInsideSafeFrame(D()->BackImage, "back button");
        EXPECT_EQ(TitleMenuLabel[0]->GetCaption(), "Summer Holiday");
        ask.ModalActions.push_back([](TCustomForm* Form) {
            EXPECT_EQ(Form, BuilderWindow);
            Form->SetModalResult(mrCancel);
        });
        testing_vcl::Click(D()->suiImageButton_Burn);
        EXPECT_TRUE(BuilderWindow->b_TitleMenu);
        EXPECT_TRUE(BuilderWindow->b_RootMenu) << "\" Auto Add DVD Root Menu\" is ticked";
        EXPECT_EQ(BuilderWindow->i_Aspect, 2);
        testing_vcl::Click(D()->suiImageButton_Clip);
    });
    testing_vcl::Click(SetupClipWindow->suiImageButton_Menu);
    EXPECT_TRUE(ask.Failures.empty());
    EXPECT_TRUE(ask.ModalActions.empty()) << "every window of the flow was shown";
    EXPECT_EQ(ask.Of(TQuestionKind::ShowModal).size(), 4u);
}

}  // namespace
