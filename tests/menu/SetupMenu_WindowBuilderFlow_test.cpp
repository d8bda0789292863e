// The Builder flow as a person runs it: two clips made here in the clip editor, " Add DVD Menu"
// ticked, the designer laid out, a button dragged, a label styled, a background chosen, back to
// the editor, 16:9 there and on to production.
#include "menu/SetupMenu_Window.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "model/CustomClass.h"
#include "core/Language.h"
#include "app/Main_Window.h"
#include "app/Option_Window.h"
#include "core/Pubfunction.h"
#include "app/SetupChapter_Window.h"
#include "app/SetupClip_Window.h"
#include "model/SetupClip_WindowRows.h"
#include "menu/SetupText_Window.h"
#include "platform/vcl/Forms.h"
#include "productionwindows/Builder_Window.h"
#include "tests/support/ScriptedInteraction.h"
#include "tests/support/StartUpFixture.h"
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

class BuilderFlowTest : public testing_vcl::TStartUpTest {
protected:
    BuilderFlowTest() : TStartUpTest("designer_flow") {}

    void SetUp() override {
        ASSERT_TRUE(Clips().made);
        OpenProgramFolder("[Option]\nUseDefault=0\nOpenDialogFilter=Video|*.mpg\n");
        fs::copy(kDist / "Background", dir["Background"], fs::copy_options::recursive);
        s_BackgroundSrcFile.clear();
        s_BackgroundMusicFile.clear();
        ask.ModalTimeoutMs = 60000;
        MakeStartUpWindows();
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
        Pubfunction::ClearTitleMenuLabel();
        FreeStartUpWindows();
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
    // Files chosen with the editor's Add button, as the open dialog gives them.
    void AddToEditor(std::vector<String> Files) {
        ask.AnswerFiles(std::move(Files));
        testing_vcl::Click(SetupClipWindow->suiImageButton_AddFile);
        ASSERT_TRUE(testing_vcl::RunUntil([] { return !SetupClipWindow->IsSeeking(); }, 20000));
    }
    // Count clips of their own files, copies of the red and the blue clip by turns.
    std::vector<String> CopiesOfClips(int Count, const std::string& Prefix) {
        std::vector<String> files;
        for (int i = 0; i < Count; ++i) {
            const std::string name = Prefix + std::to_string(i) + ".mpg";
            fs::copy_file(Clips()[i % 2 == 0 ? "red.mpg" : "blue.mpg"], dir[name], fs::copy_options::overwrite_existing);
            files.push_back(dir[name]);
        }
        return files;
    }
    static TMenuItem* PopupItem(TPopupMenu* Menu, const String& Name) {
        for (int i = 0; i < Menu->GetItems()->Count(); ++i)
            if (Menu->GetItems()->Items(i)->GetName() == Name) return Menu->GetItems()->Items(i);
        return nullptr;
    }
    // What the designer shows after a rebuild: the strip holds every clip's tile in list order,
    // the first 12 clips have a title button on the preview and a chapter menu, the others
    // neither, and no chapter button is selected.
    static void ExpectDesignerShowsTheList(const char* When) {
        for (std::size_t i = 0; i < ClipInfo.size(); ++i) {
            TClipInfo* c = ClipInfo[i];
            ASSERT_NE(c->MenuTile, nullptr) << When << " clip " << i;
            EXPECT_EQ(c->MenuTile->GetParent(), D()->suiImagePanel_InfoMove) << When << " clip " << i;
            EXPECT_EQ(c->MenuTile->GetLeft(), static_cast<int>(i) * 102) << When << " clip " << i;
            if (i < 12) {
                ASSERT_NE(c->TitleButton, nullptr) << When << " clip " << i;
                EXPECT_EQ(c->TitleButton->GetParent(), D()->Panel_MenuPreview) << When << " clip " << i;
                EXPECT_NE(c->ChapterMenu, nullptr) << When << " clip " << i;
            } else {
                EXPECT_EQ(c->TitleButton, nullptr) << When << " clip " << i;
                EXPECT_EQ(c->ChapterMenu, nullptr) << When << " clip " << i;
            }
        }
        EXPECT_EQ(D()->SelectedChapterButton, nullptr) << When;
        EXPECT_TRUE(D()->b_TitleView) << When;
    }
    // The editor's selected clip, found through its row.
    static TClipInfo* EditorSelection() {
        for (TClipInfo* c : ClipInfo)
            if (c->ListRow == SetupClipWindow->GetSelectedRow()) return c;
        return nullptr;
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

// The designer's close box in the Builder flow ends the whole run: the editor closes behind it,
// the main window comes back, and the next Builder run starts from an empty list that works.
TEST_F(BuilderFlowTest, TheDesignersCloseBoxEndsTheRunAndTheNextRunStartsEmpty) {
    MainWindow->Show();
    bool designerShown = false, othersHidden = false;
    ask.ModalActions.push_back([&](TCustomForm* Form) {
        ASSERT_EQ(Form, SetupClipWindow);
        Application->QueueCall([&] {
            AddToEditor({Clips()["red.mpg"], Clips()["blue.mpg"]});
            ASSERT_EQ(ClipInfo.size(), 2u);
            SetupClipWindow->suiCheckBox_AddDVDMenu->SetChecked(true);
            WhenDesignerShows([&] {
                designerShown = true;
                othersHidden = !SetupClipWindow->GetVisible() && !MainWindow->GetVisible();
                ExpectDesignerShowsTheList("before the close box");
                testing_vcl::Click(D()->suiImageButton_Close);
            });
            testing_vcl::Click(SetupClipWindow->suiImageButton_Menu);
        });
    });
    testing_vcl::Click(MainWindow->suiImageButton_Builder);
    ASSERT_TRUE(ask.Failures.empty()) << ask.Failures[0];
    EXPECT_TRUE(designerShown);
    EXPECT_TRUE(othersHidden) << "one window of the chain shows at a time";
    EXPECT_TRUE(MainWindow->GetVisible()) << "back at the main window";
    EXPECT_FALSE(SetupClipWindow->GetVisible()) << "the clip list editor closed too";
    EXPECT_FALSE(D()->GetVisible());
    EXPECT_TRUE(ClipInfo.empty()) << "the project is discarded";
    EXPECT_EQ(D()->SelectedClipItem, nullptr);
    EXPECT_EQ(D()->SelectedTitleButton, nullptr);

    bool startedEmpty = false;
    std::size_t afterAdd = 0, afterRemove = 99;
    ask.ModalActions.push_back([&](TCustomForm* Form) {
        ASSERT_EQ(Form, SetupClipWindow);
        Application->QueueCall([&] {
            startedEmpty = ClipInfo.empty() && SetupClipWindow->GetSelectedRow() == nullptr &&
                           SetupClipWindow->suiImagePanel_InfoMove->GetHeight() == 0;
            AddToEditor({Clips()["blue.mpg"]});
            afterAdd = ClipInfo.size();
            EXPECT_EQ(EditorSelection(), ClipInfo.empty() ? nullptr : ClipInfo[0]);
            testing_vcl::Click(SetupClipWindow->suiImageButton_RemoveFile);
            afterRemove = ClipInfo.size();
            testing_vcl::Click(SetupClipWindow->suiImageButton_Close);
        });
    });
    testing_vcl::Click(MainWindow->suiImageButton_Builder);
    ASSERT_TRUE(ask.Failures.empty()) << ask.Failures[0];
    EXPECT_TRUE(startedEmpty);
    EXPECT_EQ(afterAdd, 1u);
    EXPECT_EQ(afterRemove, 0u);
    EXPECT_TRUE(MainWindow->GetVisible());
    EXPECT_FALSE(SetupClipWindow->GetVisible());
}

// Rounds of editor -> designer -> "Clip" -> remove, add, re-trim, reorder -> Next, each with a
// chapter button of the removed clip selected: every round the designer shows the list as it
// now is, and selects the clip the editor has selected.
TEST_F(BuilderFlowTest, RoundsOfEditingBetweenTheDesignerAndTheEditorKeepEverySelectionOnALiveClip) {
    SetupClipWindow->SetBuilderMode();
    SetupClipWindow->Show();
    AddToEditor(CopiesOfClips(3, "first"));
    ASSERT_EQ(ClipInfo.size(), 3u);
    SetupClipWindow->suiCheckBox_AddDVDMenu->SetChecked(true);
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        TClipInfo* doomed = nullptr;
        TMenuImage* editorTile = nullptr;
        TMenuImage* selectedTile = nullptr;
        WhenDesignerShows([&] {
            ExpectDesignerShowsTheList("after the rebuild");
            editorTile = EditorSelection() != nullptr ? EditorSelection()->MenuTile : nullptr;
            selectedTile = D()->SelectedClipItem;
            // Clip 2's chapter menu on show, its second chapter button pressed.
            doomed = ClipInfo[1];
            testing_vcl::Click(doomed->MenuTile);
            testing_vcl::Click(D()->suiImageButton_ChapterMenu);
            ASSERT_TRUE(D()->b_ChapterView);
            ASSERT_NE(doomed->ChapterMenu, nullptr);
            ASSERT_GE(doomed->ChapterMenu->Buttons.size(), 2u);
            TSubButtonImage* pressed = doomed->ChapterMenu->Buttons[1];
            testing_vcl::Click(pressed);
            EXPECT_EQ(D()->SelectedChapterButton, pressed);
            testing_vcl::Click(D()->suiImageButton_Clip);
        });
        testing_vcl::Click(SetupClipWindow->suiImageButton_Menu);
        ASSERT_TRUE(ask.Failures.empty()) << ask.Failures[0];
        EXPECT_TRUE(SetupClipWindow->GetVisible()) << "Clip returns to the editor";
        ASSERT_NE(editorTile, nullptr);
        EXPECT_EQ(selectedTile, editorTile) << "the designer selects the clip the editor has selected";
        ASSERT_NE(doomed, nullptr);

        // In the editor: the clip goes, one comes, the first is trimmed again, the last moves up.
        testing_vcl::Click(doomed->ListRow);
        ASSERT_EQ(EditorSelection(), doomed);
        testing_vcl::Click(SetupClipWindow->suiImageButton_RemoveFile);
        ASSERT_EQ(ClipInfo.size(), 2u);
        AddToEditor(CopiesOfClips(1, "round" + std::to_string(round) + "_"));
        ASSERT_EQ(ClipInfo.size(), 3u);
        testing_vcl::Click(ClipInfo[0]->ListRow);
        SetupClipWindow->suiEdit_Start->SetText("00:00:0" + std::to_string(round + 2));
        testing_vcl::Click(SetupClipWindow->suiImageButton_ConfirmStart);
        ASSERT_TRUE(testing_vcl::RunUntil([] { return !SetupClipWindow->IsSeeking(); }, 20000));
        EXPECT_EQ(ClipInfo[0]->i_TrimStart, round + 2);
        TClipInfo* last = ClipInfo.back();
        testing_vcl::Click(last->ListRow);
        testing_vcl::Click(SetupClipWindow->suiImageButton_Up);
        EXPECT_EQ(ClipInfo[1], last);
    }
    // The last round's edits, shown once more.
    TMenuImage* editorTile = nullptr;
    TMenuImage* selectedTile = nullptr;
    WhenDesignerShows([&] {
        ExpectDesignerShowsTheList("after the last round");
        editorTile = EditorSelection() != nullptr ? EditorSelection()->MenuTile : nullptr;
        selectedTile = D()->SelectedClipItem;
        for (TClipInfo* c : ClipInfo)
            for (TSubButtonImage* b : c->ChapterMenu != nullptr ? c->ChapterMenu->Buttons : std::vector<TSubButtonImage*>{})
                EXPECT_TRUE(b->i_ChapterTime >= c->i_TrimStart && b->i_ChapterTime < c->i_TrimEnd);
        testing_vcl::Click(D()->suiImageButton_Clip);
    });
    testing_vcl::Click(SetupClipWindow->suiImageButton_Menu);
    ASSERT_TRUE(ask.Failures.empty()) << ask.Failures[0];
    EXPECT_NE(editorTile, nullptr);
    EXPECT_EQ(selectedTile, editorTile);
}

// With the chapter view on, selecting another clip shows its menu and lets go of the chapter
// button of the menu that went: Remove then deletes only buttons of the menu on show.
TEST_F(BuilderFlowTest, RemoveInAChapterViewDeletesOnlyAButtonOfTheMenuOnShow) {
    SetupClipWindow->SetBuilderMode();
    SetupClipWindow->Show();
    AddToEditor({Clips()["red.mpg"], Clips()["blue.mpg"]});
    SetupClipWindow->suiCheckBox_AddDVDMenu->SetChecked(true);
    std::size_t redBefore = 0, blueBefore = 0, redAfter = 0, blueAfterFirst = 0, blueAfterSecond = 0;
    bool letGoOnSwitch = false;
    WhenDesignerShows([&] {
        TClipInfo* red = ClipInfo[0];
        TClipInfo* blue = ClipInfo[1];
        ASSERT_NE(red->ChapterMenu, nullptr);
        ASSERT_NE(blue->ChapterMenu, nullptr);
        redBefore = red->ChapterMenu->Buttons.size();
        blueBefore = blue->ChapterMenu->Buttons.size();
        testing_vcl::Click(red->MenuTile);
        testing_vcl::Click(D()->suiImageButton_ChapterMenu);
        testing_vcl::Click(red->ChapterMenu->Buttons.at(1));
        testing_vcl::Click(blue->MenuTile);  // the chapter view now shows blue's menu
        letGoOnSwitch = D()->SelectedChapterButton == nullptr;
        EXPECT_EQ(blue->ChapterMenu->Buttons.at(0)->GetParent(), D()->Panel_MenuPreview);
        EXPECT_EQ(red->ChapterMenu->Buttons.at(1)->GetParent(), nullptr);
        EXPECT_FALSE(red->ChapterMenu->Buttons.at(1)->b_Selected);
        testing_vcl::Click(D()->suiImageButton_DeleteChapter);
        redAfter = red->ChapterMenu->Buttons.size();
        blueAfterFirst = blue->ChapterMenu->Buttons.size();
        testing_vcl::Click(blue->ChapterMenu->Buttons.at(1));
        testing_vcl::Click(D()->suiImageButton_DeleteChapter);
        blueAfterSecond = blue->ChapterMenu->Buttons.size();
        testing_vcl::Click(D()->suiImageButton_Clip);
    });
    testing_vcl::Click(SetupClipWindow->suiImageButton_Menu);
    ASSERT_TRUE(ask.Failures.empty()) << ask.Failures[0];
    EXPECT_TRUE(letGoOnSwitch) << "the hidden menu's chapter button stayed selected";
    EXPECT_EQ(redBefore, 2u);
    EXPECT_EQ(redAfter, redBefore) << "the hidden menu lost a chapter";
    EXPECT_EQ(blueAfterFirst, blueBefore) << "nothing of the shown menu was selected";
    EXPECT_EQ(blueAfterSecond, blueBefore - 1);
}

// Fourteen clips: the first twelve carry title buttons; Add on the thirteenth says why not; a
// clip with a title button moved to index 12 in the editor gives way to the new twelfth.
TEST_F(BuilderFlowTest, FourteenClipsWithAMoveAcrossTheTwelfth) {
    SetupClipWindow->SetBuilderMode();
    SetupClipWindow->Show();
    AddToEditor(CopiesOfClips(14, "many"));
    ASSERT_EQ(ClipInfo.size(), 14u);
    SetupClipWindow->suiCheckBox_AddDVDMenu->SetChecked(true);
    TClipInfo* designerChoice = nullptr;
    std::vector<String> toldWhy;
    WhenDesignerShows([&] {
        ExpectDesignerShowsTheList("fourteen clips");
        // The strip scrolled to its end shows the last six tiles.
        TControl* thumb = D()->suiImageButton_InfoBar;
        testing_vcl::MousePress(thumb, 5, 5);
        testing_vcl::MouseMoveTo(thumb, 5 + 2000, 5, TShiftState{ssLeft});
        testing_vcl::MouseRelease(thumb, 5 + 2000, 5);
        ask.PopupAnswers.push_back([](TPopupMenu* m) { return PopupItem(m, "Add"); });
        testing_vcl::Click(ClipInfo[12]->MenuTile, mbRight);
        // The chosen item acts once the popup's event has returned.
        EXPECT_TRUE(testing_vcl::RunUntil([&] { return ask.Of(TQuestionKind::MessageBox).size() == 1; }));
        testing_vcl::Click(D()->suiImageButton_Up);
        for (const auto& q : ask.Of(TQuestionKind::MessageBox)) toldWhy.push_back(q.Text);
        EXPECT_EQ(ClipInfo[12]->TitleButton, nullptr);
        // Back to the first tiles; clip 3 selected with its title button.
        testing_vcl::MousePress(thumb, 5, 5);
        testing_vcl::MouseMoveTo(thumb, 5 - 2000, 5, TShiftState{ssLeft});
        testing_vcl::MouseRelease(thumb, 5 - 2000, 5);
        designerChoice = ClipInfo[2];
        testing_vcl::Click(designerChoice->MenuTile);
        EXPECT_EQ(D()->SelectedTitleButton, designerChoice->TitleButton);
        testing_vcl::Click(D()->suiImageButton_Clip);
    });
    testing_vcl::Click(SetupClipWindow->suiImageButton_Menu);
    ASSERT_TRUE(ask.Failures.empty()) << ask.Failures[0];
    ASSERT_EQ(toldWhy.size(), 2u) << "Add and Up on clip 13 each tell why";
    EXPECT_EQ(toldWhy[0], Language::GetMessageText(200));
    ASSERT_NE(designerChoice, nullptr);

    // The designer's clip goes; the first clip, which has a title button, moves to the bottom.
    testing_vcl::Click(designerChoice->ListRow);
    testing_vcl::Click(SetupClipWindow->suiImageButton_RemoveFile);
    ASSERT_EQ(ClipInfo.size(), 13u);
    TClipInfo* moved = ClipInfo[0];
    ask.PopupAnswers.push_back([](TPopupMenu* m) { return PopupItem(m, "MovetoBottom"); });
    testing_vcl::Click(moved->ListRow, mbRight);
    ASSERT_TRUE(testing_vcl::RunUntil([&] { return ClipInfo[12] == moved; }));
    TClipInfo* newTwelfth = ClipInfo[11];
    TMenuImage* selectedTile = nullptr;
    std::size_t boxesBefore = 0, boxesAfter = 0;
    WhenDesignerShows([&] {
        ExpectDesignerShowsTheList("after the move");
        selectedTile = D()->SelectedClipItem;
        EXPECT_NE(newTwelfth->TitleButton, nullptr);
        EXPECT_EQ(moved->TitleButton, nullptr);
        boxesBefore = ask.Of(TQuestionKind::MessageBox).size();
        testing_vcl::Click(D()->suiImageButton_Up);  // the moved clip, now the thirteenth, is selected
        boxesAfter = ask.Of(TQuestionKind::MessageBox).size();
        testing_vcl::Click(D()->suiImageButton_Clip);
    });
    testing_vcl::Click(SetupClipWindow->suiImageButton_Menu);
    ASSERT_TRUE(ask.Failures.empty()) << ask.Failures[0];
    EXPECT_EQ(selectedTile, moved->MenuTile) << "the editor's selection, the moved clip, is selected";
    EXPECT_EQ(boxesAfter, boxesBefore + 1);
}

}  // namespace
