#include "menu/SetupMenu_Window.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "model/CustomClass.h"
#include "core/Language.h"
#include "core/Pubfunction.h"
#include "platform/vcl/PngWriter.h"
#include "productionwindows/Builder_Window.h"
#include "productionwindows/Burn_Window.h"
#include "productionwindows/Convert_Window.h"
#include "production/MenuPictures.h"
#include "tests/support/ScriptedInteraction.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestHelpers.h"

using testing_vcl::SolidBitmap;

namespace {

std::filesystem::path DistDir() { return std::filesystem::path(TEST_PEER_DIR) / ".." / ".." / "dist"; }

// A clip with a picture in one colour, 60 seconds long, trimmed to Trim seconds.
TClipInfo* NewClip(TColor Colour, int Trim = 60) {
    auto* clip = new TClipInfo();
    clip->SetFileName("/v/clip.mpg");
    clip->SetMediaInfo(60, 25.0f, 5000.0f, 720, 576, 2, 48000, 0, 192.0f, 0);
    std::unique_ptr<TBitmap> frame(SolidBitmap(720, 576, Colour));
    clip->SetPicture(frame.get());
    clip->SetTrim(0, Trim);
    return clip;
}

class SetupMenuWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_savedExePath = ExePath;
        ExePath = DistDir().string() + "/";
        i_CreateMenuSafeDistance = 10;
        i_DVD5Size = 4480000;
        i_DVD9Size = 8000000;
        i_DiscSizePerMin = 60000;
        s_BackgroundSrcFile.clear();
        s_BackgroundMusicFile.clear();
        window = new TSetupMenuWindow(nullptr);
        SetupMenuWindow = window;
    }
    void TearDown() override {
        delete window;
        Pubfunction::ClearTitleMenuLabel();
        Pubfunction::ClearClipInfo();
        ExePath = m_savedExePath;
        Pubfunction::FreeSharedBitmaps();
    }
    void AddClips(int Count) {
        for (int i = 0; i < Count; ++i) {
            ClipInfo.push_back(NewClip(static_cast<TColor>(0x203040 + i * 0x0A1408)));
            window->CreateClipItem(ClipInfo.back());
        }
        window->ArrangeClipItems();
    }
    void ShowAndRebuild() {
        window->FormShow(window);
        window->Timer_CreateMenuTimer(window);
    }
    void Render(const std::string& Name) {
        window->Show();
        testing_vcl::RunFor(50);
        EXPECT_GT(std::filesystem::file_size(testing_vcl::SaveRender(window, "designer", Name)), 0u);
    }
    int TitleButtons() const {
        int n = 0;
        for (TClipInfo* c : ClipInfo) n += c->TitleButton != nullptr;
        return n;
    }
    void ExpectInsideSafeFrame(TControl* C) const {
        const int d = i_CreateMenuSafeDistance;
        EXPECT_GE(C->GetLeft(), d);
        EXPECT_GE(C->GetTop(), d);
        EXPECT_LE(C->GetLeft() + C->GetWidth(), MenuLayout::PreviewWidth - d);
        EXPECT_LE(C->GetTop() + C->GetHeight(), window->PreviewHeight() - d);
    }

    TSetupMenuWindow* window = nullptr;
    String m_savedExePath;
};

TEST(SetupMenuRules, BackgroundListReadsOnlyTheKeysPresent) {
    testing_vcl::TTempFolder dir;
    const std::string ini = dir.Path() + "/Background.ini";
    std::ofstream(ini) << "[Background]\nCount=2000000000\nImage0=a.bmp\nImage1=b.bmp\n";
    EXPECT_EQ(ReadBackgroundNames(ini), (std::vector<String>{"a.bmp", "b.bmp"}));
    EXPECT_TRUE(ReadBackgroundNames(dir.Path() + "/missing.ini").empty());
    std::ofstream(ini) << "[Background]\nCount=1\nImage0=a.bmp\nImage1=b.bmp\n";
    EXPECT_EQ(ReadBackgroundNames(ini), (std::vector<String>{"a.bmp"}));
}

TEST_F(SetupMenuWindowTest, StartsWithTheFirstListBackgroundAndTheBackButtonBelowThePreview) {
    ASSERT_GE(window->BackgroundList.size(), 6u);
    EXPECT_EQ(s_BackgroundSrcFile, window->BackgroundList.front()->FileName);
    EXPECT_EQ(window->BackgroundList[5]->GetTop(), 5 * 97 + 12);
    EXPECT_GT(window->TitleMenu.i_BackWidth, 0);
    // Placed into the safe frame at once.
    EXPECT_EQ(window->TitleMenu.i_TitleBackY, 388 - window->TitleMenu.i_BackHeight - 10);
    window->suiImageButton_MaterialBar->SetTop(338);
    window->ScrollBackgroundList();
    EXPECT_EQ(window->suiImagePanel_MaterialMove->GetTop(), -194);
}

TEST_F(SetupMenuWindowTest, ThirteenClipsGiveTwelveTitleButtonsAndMovingTheLastFirstMovesThem) {
    AddClips(13);
    ShowAndRebuild();
    EXPECT_EQ(TitleButtons(), 12);
    EXPECT_EQ(ClipInfo[12]->TitleButton, nullptr);
    EXPECT_EQ(ClipInfo[0]->TitleButton->GetLeft(), 20);
    EXPECT_EQ(ClipInfo[1]->TitleButton->GetLeft(), 140);
    for (TClipInfo* c : ClipInfo)
        if (c->TitleButton != nullptr) ExpectInsideSafeFrame(c->TitleButton);
    TClipInfo* last = ClipInfo[12];
    ClipInfo.erase(ClipInfo.end() - 1);
    ClipInfo.insert(ClipInfo.begin(), last);
    ShowAndRebuild();
    EXPECT_NE(ClipInfo[0]->TitleButton, nullptr);
    EXPECT_EQ(ClipInfo[12]->TitleButton, nullptr);
    EXPECT_EQ(TitleButtons(), 12);
    EXPECT_FALSE(window->b_Busy);
}

TEST_F(SetupMenuWindowTest, ARemovedTitleButtonComesBackOnTheNextShow) {
    AddClips(2);
    ShowAndRebuild();
    window->RemoveTitleButton(ClipInfo[1]);
    EXPECT_EQ(ClipInfo[1]->TitleButton, nullptr);
    ShowAndRebuild();
    EXPECT_NE(ClipInfo[1]->TitleButton, nullptr);
}

TEST_F(SetupMenuWindowTest, LeftAndRightSwapAcrossTheTwelfthAndTheNextShowFollowsTheOrder) {
    AddClips(13);
    ShowAndRebuild();
    TClipInfo* twelfth = ClipInfo[11];
    TClipInfo* thirteenth = ClipInfo[12];
    window->SelectClipItem(twelfth->MenuTile);
    window->MoveSelectedClip(1);  // a clip with a title button goes past index 11
    EXPECT_EQ(ClipInfo[12], twelfth);
    EXPECT_EQ(ClipInfo[11], thirteenth);
    EXPECT_EQ(twelfth->MenuTile->GetLeft(), 12 * 102);
    ShowAndRebuild();
    EXPECT_EQ(twelfth->TitleButton, nullptr);
    EXPECT_NE(thirteenth->TitleButton, nullptr);
    EXPECT_EQ(TitleButtons(), 12);
    EXPECT_EQ(window->SelectedClipItem, twelfth->MenuTile) << "the selection stays on the moved clip";
    EXPECT_EQ(window->SelectedTitleButton, nullptr);
    window->MoveSelectedClip(-1);
    window->MoveSelectedClip(-1);
    EXPECT_EQ(ClipInfo[10], twelfth);
    EXPECT_EQ(twelfth->MenuTile->GetLeft(), 10 * 102);
}

TEST_F(SetupMenuWindowTest, SelectingAClipSelectsItsTitleButtonOnce) {
    AddClips(2);
    ShowAndRebuild();
    window->SelectTitleButton(ClipInfo[1]->TitleButton);
    EXPECT_EQ(window->SelectedClipItem, ClipInfo[1]->MenuTile);
    EXPECT_EQ(window->SelectedTitleButton, ClipInfo[1]->TitleButton);
    EXPECT_TRUE(ClipInfo[1]->TitleButton->b_Selected);
    EXPECT_TRUE(ClipInfo[1]->MenuTile->b_Selected);
}

TEST_F(SetupMenuWindowTest, BackButtonDoesNotDriftOverRepeatedAspectCalls) {
    AddClips(1);
    ShowAndRebuild();
    window->TitleMenu.i_TitleBackY = 100;
    window->SetAspect4x3();
    window->SetAspect4x3();
    EXPECT_EQ(window->TitleMenu.i_TitleBackY, 100);
    window->SetAspect16x9();
    EXPECT_EQ(window->TitleMenu.i_TitleBackY, 10);
    window->SetAspect16x9();
    EXPECT_EQ(window->TitleMenu.i_TitleBackY, 10);
    EXPECT_EQ(window->Panel_MenuPreview->GetHeight(), 292);
    EXPECT_EQ(window->Panel_MenuPreview->GetTop(), 140);
    window->SetAspect4x3();
    EXPECT_EQ(window->Panel_MenuPreview->GetTop(), 92);
}

TEST_F(SetupMenuWindowTest, SixteenByNineMovesAButtonAtTop300To204) {
    AddClips(1);
    ShowAndRebuild();
    ClipInfo[0]->TitleButton->SetTop(300);
    window->SetAspect16x9();
    EXPECT_EQ(ClipInfo[0]->TitleButton->GetTop(), 204);
}

TEST_F(SetupMenuWindowTest, BodyDragStopsAtTheSafeFrame) {
    AddClips(1);
    ShowAndRebuild();
    TButtonImage* b = ClipInfo[0]->TitleButton;
    window->DragStartLeft = b->GetLeft();
    window->DragStartTop = b->GetTop();
    window->DragStartWidth = b->GetWidth();
    window->DragStartHeight = b->GetHeight();
    window->DragZone = MenuLayout::ZoneMove;
    window->DragBy(b, 2000, 2000);
    EXPECT_EQ(b->GetLeft(), 518 - b->GetWidth() - 10);
    EXPECT_EQ(b->GetTop(), 388 - b->GetHeight() - 10);
}

TEST_F(SetupMenuWindowTest, DiscBarSumsTrimmedLengthsAndEmptiesForNoCapacity) {
    ClipInfo.push_back(NewClip(clRed, 30));
    ClipInfo.push_back(NewClip(clBlue, 30));
    window->SelectDVD5();
    // 60 trimmed seconds at 60000 KB a minute.
    EXPECT_EQ(window->Image_DiscSizeProgress->GetWidth(), static_cast<int>(60000.0 * 640 / 4480000));
    window->SetDiscSizeBar(Int64{1} << 40);
    EXPECT_EQ(window->Image_DiscSizeProgress->GetWidth(), 640);
    window->i_DVD5Capacity = 0;
    window->SetDiscSizeBar(1000);
    EXPECT_FALSE(window->Image_DiscSizeProgress->GetVisible());
}

TEST_F(SetupMenuWindowTest, LabelsBackgroundsAndMusicOfTheTitleMenu) {
    AddClips(2);
    ShowAndRebuild();
    TLabel* label = window->AddTextLabel(0, 0);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->GetCaption(), "Double Click to Edit");
    EXPECT_EQ(label->GetFont()->GetSize(), 16);
    EXPECT_EQ(label->GetFont()->GetName(), "Tahoma");
    EXPECT_EQ(label->GetLeft(), 10);
    EXPECT_EQ(label->GetTop(), 10);
    EXPECT_EQ(TitleMenuLabel.size(), 1u);
    window->SetMenuBackground(window->BackgroundList[2]->FileName);
    EXPECT_EQ(s_BackgroundSrcFile, window->BackgroundList[2]->FileName);
    window->SetMenuBackground("/no/such/picture.jpg");
    EXPECT_EQ(s_BackgroundSrcFile, "/no/such/picture.jpg");  // stored all the same
    window->SetMenuMusic("/no/such/music.mp3");
    EXPECT_EQ(window->Label_BackgroundMusic->GetCaption(), "No Background Music");
    EXPECT_TRUE(window->suiImageButton_AddMusic->GetVisible());
    window->ClearShownLabels();
    EXPECT_TRUE(TitleMenuLabel.empty());
}

TEST_F(SetupMenuWindowTest, TitleViewShowsTheBackButtonOnlyWhileRootMenuIsTicked) {
    AddClips(1);
    ShowAndRebuild();
    EXPECT_TRUE(window->BackImage->GetVisible());
    window->suiCheckBox_AddDVDMenu->SetChecked(false);
    EXPECT_FALSE(window->BackImage->GetVisible());
    EXPECT_TRUE(window->Next());
    EXPECT_EQ(window->TitleMenu.b_TitleMenu, 1);
    EXPECT_EQ(window->TitleMenu.b_RootMenu, 0);
    window->suiCheckBox_AddDVDMenu->SetChecked(true);
    EXPECT_TRUE(window->Next());
    EXPECT_EQ(window->TitleMenu.b_RootMenu, 1);
}

TEST_F(SetupMenuWindowTest, NothingLeavesWhileTheRebuildIsPending) {
    AddClips(1);
    window->FormShow(window);
    EXPECT_FALSE(window->Next());
    window->CloseDiscardingProject();
    EXPECT_EQ(ClipInfo.size(), 1u);
    window->Timer_CreateMenuTimer(window);
    window->CloseDiscardingProject();
    EXPECT_TRUE(ClipInfo.empty());
}

TEST_F(SetupMenuWindowTest, BuilderFlowDisablesAspectAndDiscButtons) {
    window->SetupForBuilder();
    EXPECT_FALSE(window->suiImageButton_4_3->GetEnabled());
    EXPECT_FALSE(window->suiImageButton_DVD5->GetEnabled());
    EXPECT_FALSE(window->suiImageButton_AddFile->GetVisible());
    EXPECT_TRUE(window->suiImageButton_Clip->GetVisible());
    b_DVD5 = false;
    b_4_3 = false;
    window->SetupForCompiler();
    EXPECT_TRUE(window->suiImageButton_DVD9->GetVisible());
    EXPECT_EQ(window->TitleMenu.i_Aspect, 2);
    EXPECT_FALSE(window->suiImageButton_Clip->GetVisible());
    b_DVD5 = true;
    b_4_3 = true;
}

TEST_F(SetupMenuWindowTest, RendersTheTitleMenuInBothAspects) {
    AddClips(2);
    window->SetupForBuilder();
    ShowAndRebuild();
    window->AddTextLabel(200, 300);
    window->SetMenuBackground(window->BackgroundList[1]->FileName);
    window->SelectClipItem(ClipInfo[0]->MenuTile);
    Render("menu_designer_title_4x3.png");
    window->SetAspect16x9();
    for (TClipInfo* c : ClipInfo) ExpectInsideSafeFrame(c->TitleButton);
    for (TLabel* l : TitleMenuLabel) ExpectInsideSafeFrame(l);
    ExpectInsideSafeFrame(window->BackImage);
    Render("menu_designer_title_16x9.png");
}

TEST_F(SetupMenuWindowTest, RendersAChapterMenu) {
    AddClips(2);
    ShowAndRebuild();
    auto* menu = new TSubChapter(ClipInfo[0]);
    for (int t = 0; t < 4; ++t) {
        std::unique_ptr<TBitmap> frame(SolidBitmap(360, 288, static_cast<TColor>(0x3050A0 + t * 0x202000)));
        menu->AddButton(frame.get(), t * 10);
    }
    menu->s_BackgroundSrcFile = window->BackgroundList[3]->FileName;
    ClipInfo[0]->ChapterMenu = menu;
    window->ArrangeChapterButtons(ClipInfo[0]);
    window->SelectClipItem(ClipInfo[0]->MenuTile);
    window->HideTitleMenu();
    window->ShowChapterMenu(menu);
    window->AddTextLabel(150, 250);
    EXPECT_EQ(menu->Labels.size(), 1u);
    for (TSubButtonImage* b : menu->Buttons) ExpectInsideSafeFrame(b);
    Render("menu_designer_chapter.png");
    // "Clear" in the chapter view clears only this menu's labels.
    window->ShowTitleMenu();
    window->AddTextLabel(40, 40);
    window->HideTitleMenu();
    window->ShowChapterMenu(menu);
    window->ClearShownLabels();
    EXPECT_TRUE(menu->Labels.empty());
    EXPECT_EQ(TitleMenuLabel.size(), 1u);
}

TEST_F(SetupMenuWindowTest, DraggingTheStripThumbScrollsTheStripWithinItsTravel) {
    AddClips(8);
    window->Show();
    TControl* thumb = window->suiImageButton_InfoBar;
    testing_vcl::MousePress(thumb, 5, 5);
    testing_vcl::MouseMoveTo(thumb, 5 + 2000, 5, TShiftState{ssLeft});
    testing_vcl::MouseRelease(thumb, 5 + 2000, 5);
    EXPECT_EQ(thumb->GetLeft(), 550);
    EXPECT_EQ(window->suiImagePanel_InfoMove->GetLeft(), -204);  // -102 x (550 x 2 div 550)
}

// A picture the designer cannot read is refused with a message; the menu keeps its background on
// the preview and on the disc.
TEST_F(SetupMenuWindowTest, ABackgroundPictureThatCannotBeReadIsRefusedAndTheMenuKeepsItsOwn) {
    testing_vcl::TTempFolder dir("designer_background");
    std::ofstream(dir["broken.jpg"], std::ios::binary) << "\xFF\xD8\xFF\xE0 this is no picture at all";
    testing_vcl::TScriptedInteraction ask;
    testing_vcl::TInstallInteraction installed(ask);
    AddClips(1);
    ShowAndRebuild();
    window->Show();
    const String before = s_BackgroundSrcFile;
    ASSERT_FALSE(before.empty()) << "the list's first background is the title menu's";
    const TColor shownBefore = testing_vcl::PixelAt(window->Image_Background, 450, 200);
    ask.AnswerFiles({dir["broken.jpg"]});
    testing_vcl::Click(window->suiImageButton_AddImage);
    const auto boxes = ask.Of(testing_vcl::TQuestionKind::MessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, Language::GetMessageText(201) + dir["broken.jpg"]);
    EXPECT_EQ(s_BackgroundSrcFile, before);
    EXPECT_EQ(testing_vcl::PixelAt(window->Image_Background, 450, 200), shownBefore);
    // The disc's title menu is drawn on the background kept.
    TMenuPictures pictures;
    pictures.s_ProgramFolder = ExePath;
    pictures.Frame = MenuFrameFor(1, 2);
    std::unique_ptr<TBitmap> menu(pictures.DrawTitleMenuImage());
    auto kept = std::make_unique<TBitmap>(720, 576, pf24bit);
    DrawMenuBackground(kept.get(), before);
    EXPECT_EQ(menu->GetPixelColor(700, 300), kept->GetPixelColor(700, 300));

    // A picture that reads is taken.
    std::unique_ptr<TBitmap> lime(SolidBitmap(64, 48, clLime));
    lime->SaveToFile(dir["lime.bmp"]);
    ask.AnswerFiles({dir["lime.bmp"]});
    testing_vcl::Click(window->suiImageButton_AddImage);
    EXPECT_EQ(s_BackgroundSrcFile, dir["lime.bmp"]);
    EXPECT_EQ(testing_vcl::PixelAt(window->Image_Background, 450, 200), clLime);
    EXPECT_EQ(ask.Of(testing_vcl::TQuestionKind::MessageBox).size(), 1u);
}

TEST_F(SetupMenuWindowTest, PopupsCarryTheirCaptionsAndNamesAndAct) {
    AddClips(2);
    ShowAndRebuild();
    struct Case { TSetupMenuWindow::TPopupKind kind; std::vector<std::pair<String, String>> items; };
    const Case cases[] = {
        {TSetupMenuWindow::pkClip, {{"Add Clip to Title Menu", "Add"}, {"Remove from Title Menu", "Remove"}}},
        {TSetupMenuWindow::pkPreview, {{"Add Text", "Add"}, {"Clear All Text", "Clear"}}},
        {TSetupMenuWindow::pkText, {{"Setup Text...", "Setup"}, {"Delete Text", "Delete"}}},
    };
    for (const Case& c : cases) {
        TPopupMenu* menu = window->BuildPopup(c.kind);
        ASSERT_EQ(menu->GetItems()->Count(), static_cast<int>(c.items.size()));
        for (int i = 0; i < menu->GetItems()->Count(); ++i) {
            EXPECT_EQ(menu->GetItems()->Items(i)->GetCaption(), c.items[i].first);
            EXPECT_EQ(menu->GetItems()->Items(i)->GetName(), c.items[i].second);
        }
    }
    EXPECT_EQ(window->BuildPopup(TSetupMenuWindow::pkTitleButton)->GetItems()->Count(), 5);
    // The strip popup's Remove and Add, in the title view.
    window->SelectClipItem(ClipInfo[1]->MenuTile);
    window->PopupItemClick(TSetupMenuWindow::pkClip, "Remove");
    EXPECT_EQ(ClipInfo[1]->TitleButton, nullptr);
    window->PopupItemClick(TSetupMenuWindow::pkClip, "Add");
    EXPECT_NE(ClipInfo[1]->TitleButton, nullptr);
    ExpectInsideSafeFrame(ClipInfo[1]->TitleButton);
    // The preview popup adds at the remembered point and clears; the text popup deletes.
    window->PreviewPopupPoint = TPoint{100, 120};
    window->PopupItemClick(TSetupMenuWindow::pkPreview, "Add");
    ASSERT_EQ(TitleMenuLabel.size(), 1u);
    EXPECT_EQ(TitleMenuLabel[0]->GetLeft(), 100);
    window->PopupLabel = TitleMenuLabel[0];
    window->PopupItemClick(TSetupMenuWindow::pkText, "Delete");
    EXPECT_TRUE(TitleMenuLabel.empty());
    EXPECT_EQ(window->PopupLabel, nullptr);
}

// The designer with a person's answers scripted, and the production windows it hands over to.
class DesignerScriptedTest : public SetupMenuWindowTest {
protected:
    testing_vcl::TScriptedInteraction ask;
    std::unique_ptr<testing_vcl::TInstallInteraction> installed;
    void SetUp() override {
        installed = std::make_unique<testing_vcl::TInstallInteraction>(ask);
        SetupMenuWindowTest::SetUp();
    }
    void TearDown() override {
        SetupMenuWindowTest::TearDown();
        installed.reset();
    }
};

TEST_F(DesignerScriptedTest, MusicIsAddedAndRemovedOnlyOnYes) {
    testing_vcl::TTempFolder dir;
    const std::string music = dir["theme.mp3"];
    std::ofstream(music) << "not really music";
    AddClips(1);
    ShowAndRebuild();
    ask.AnswerFiles({music});
    testing_vcl::Click(window->suiImageButton_AddMusic);
    EXPECT_EQ(s_BackgroundMusicFile, music);
    EXPECT_EQ(window->Label_BackgroundMusic->GetCaption(), "Background Music : theme.mp3");
    EXPECT_TRUE(window->suiImageButton_RemoveMusic->GetVisible());

    struct Case { TModalResult answer; String left; };
    for (const Case& c : {Case{mrNo, music}, Case{mrYes, ""}}) {
        ask.MessageAnswers.push_back(c.answer);
        testing_vcl::Click(window->suiImageButton_RemoveMusic);
        EXPECT_EQ(ask.Questions.back().Text, "Sure to remove background music form this menu?");
        EXPECT_EQ(s_BackgroundMusicFile, c.left);
    }
    EXPECT_EQ(window->Label_BackgroundMusic->GetCaption(), "No Background Music");
    EXPECT_TRUE(window->suiImageButton_AddMusic->GetVisible());
}

TEST_F(DesignerScriptedTest, NextHandsOverToTheBuilderWindowAndTheAspectReachesTheProductionWindows) {
    BuilderWindow = new TBuilderWindow(nullptr);
    ConvertWindow = new TConvertWindow(nullptr);
    BurnWindow = new TBurnWindow(nullptr);
    struct Case { bool buttons; bool ticked; bool titleMenu; bool rootMenu; };
    const Case cases[] = {
        {true, true, true, true},
        {true, false, true, false},
        {false, true, false, false},   // no title button: neither, whatever the box says
    };
    for (const Case& c : cases) {
        Pubfunction::ClearClipInfo();
        AddClips(1);
        window->SetupForBuilder();
        ShowAndRebuild();
        if (!c.buttons) window->RemoveTitleButton(ClipInfo[0]);
        window->suiCheckBox_AddDVDMenu->SetChecked(c.ticked);
        BuilderWindow->b_TitleMenu = !c.titleMenu;
        BuilderWindow->b_RootMenu = !c.rootMenu;
        const size_t asked = ask.Of(testing_vcl::TQuestionKind::ShowModal).size();
        EXPECT_TRUE(window->Next());
        EXPECT_EQ(BuilderWindow->b_TitleMenu, c.titleMenu);
        EXPECT_EQ(BuilderWindow->b_RootMenu, c.rootMenu);
        const auto shown = ask.Of(testing_vcl::TQuestionKind::ShowModal);
        ASSERT_EQ(shown.size(), asked + 1);
        EXPECT_EQ(shown.back().Form, BuilderWindow);
    }
    window->SetAspect16x9();
    EXPECT_EQ(BuilderWindow->i_Aspect, 2);
    EXPECT_EQ(ConvertWindow->i_Aspect, 2);
    EXPECT_EQ(BurnWindow->i_Aspect, 2);
    window->SetAspect4x3();
    EXPECT_EQ(BuilderWindow->i_Aspect, 1);
    EXPECT_EQ(ConvertWindow->i_Aspect, 1);
    EXPECT_EQ(BurnWindow->i_Aspect, 1);
    delete BurnWindow;
    BurnWindow = nullptr;
    delete ConvertWindow;
    ConvertWindow = nullptr;
    delete BuilderWindow;
    BuilderWindow = nullptr;
}

}  // namespace
