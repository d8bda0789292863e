#include "app/Main_Window.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "model/CustomClass.h"
#include "core/Language.h"
#include "app/Option_Window.h"
#include "core/Pubfunction.h"
#include "app/SetupDVDFile_Window.h"
#include "platform/vcl/SysUtils.h"
#include "platform/win32/Windows.h"
#include "tests/support/ScriptedInteraction.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestHelpers.h"

namespace fs = std::filesystem;

using testing_vcl::ReadText;
using testing_vcl::WriteText;

namespace {

const fs::path kDistRes = fs::path(TEST_PEER_DIR) / ".." / ".." / "dist" / "RES";

// A program folder of its own: the drawn pictures and a few language files; a scratch home and
// current directory, since the settings window it opens chooses a work folder on a first run.
class MainWindowTest : public ::testing::Test {
protected:
    testing_vcl::TScratchHome scratch;
    testing_vcl::TTempFolder dir{"mainwin"};
    String savedExePath = ExePath;
    std::unique_ptr<TMainWindow> window;

    void SetUp() override {
        ExePath = dir.Path() + "/";
        fs::copy(kDistRes, dir["RES"], fs::copy_options::recursive);
        fs::create_directory(dir["Lang"]);
        WriteText(dir["Lang/Zulu.ini"], "[Text]\n154=Zulu builder\n");
        WriteText(dir["Lang/deutsch.INI"], "[Text]\n154=Deutscher Builder\n140=Hilfe\n");
        WriteText(dir["Lang/English.ini"], "[Text]\n");
        WriteText(dir["Lang/Readme.txt"], "not a language\n");
        fs::create_directory(dir["Lang/Old.ini"]);
        UILanguage = "English.ini";
    }
    void TearDown() override {
        window.reset();
        Pubfunction::FreeSharedBitmaps();
        ExePath = savedExePath;
        UILanguage.clear();
    }

    void Create() {
        window = std::make_unique<TMainWindow>(nullptr);
        window->AfterConstruction();
    }

    std::vector<String> Captions() const {
        std::vector<String> out;
        TMenuItem* root = window->GetHelpPopupMenu()->GetItems();
        for (int i = 0; i < root->Count(); ++i) out.push_back(root->Items(i)->GetCaption());
        return out;
    }
    TMenuItem* Item(const String& Name) const {
        TMenuItem* root = window->GetHelpPopupMenu()->GetItems();
        for (int i = 0; i < root->Count(); ++i)
            if (root->Items(i)->GetName() == Name) return root->Items(i);
        return nullptr;
    }
};

TEST_F(MainWindowTest, CreationLoadsTheSharedBitmaps) {
    Create();
    EXPECT_EQ(window->GetResPath(), ExePath + "RES/");
    EXPECT_EQ(window->GetClientWidth(), 581);
    EXPECT_EQ(window->GetClientHeight(), 394);
    for (TBitmap* b : {SrtEnabledBmp, SrtDisabledBmp}) {
        ASSERT_NE(b, nullptr);
        EXPECT_FALSE(b->GetTransparent());
    }
    for (TBitmap* b : {SetupClipSelectBmp, SetupClipSelectBmpOn, SetupClipUnSelectBmp, SetupClipUnSelectBmpOn,
                       MenuClipSelectBmp, MenuClipSelectBmpOn, MenuClipUnSelectBmp, MenuClipUnSelectBmpOn}) {
        ASSERT_NE(b, nullptr);
        EXPECT_TRUE(b->GetTransparent());
        EXPECT_EQ(b->GetTransparentColor(), static_cast<TColor>(0x797571));
    }
    EXPECT_EQ(SetupClipSelectBmp->GetWidth(), 409);
    EXPECT_EQ(MenuClipSelectBmp->GetWidth(), 92);
    for (TImage* image : {window->Image_Builder, window->Image_Vob, window->Image_Menu, window->Image_Burn}) {
        EXPECT_FALSE(image->GetVisible());
        EXPECT_EQ(image->GetPicture()->GetWidth(), 340);
        EXPECT_EQ(image->GetPicture()->GetHeight(), 65);
    }
    // The skin's outline is see-through, its body is not.
    TBitmap* skin = window->suiSkinForm1->GetGlyph();
    EXPECT_EQ(skin->GetCanvas()->GetPixels(0, 0), clFuchsia);
    EXPECT_NE(skin->GetCanvas()->GetPixels(290, 200), clFuchsia);
    EXPECT_EQ(window->suiImageButton_Min->GetHint(), "Minimiaze");
    EXPECT_EQ(window->suiImageButton_Exit->GetHint(), "Close");
}

TEST_F(MainWindowTest, MissingPictureStopsWithItsName) {
    fs::remove(dir["RES/menu_select.bmp"]);
    try {
        Create();
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_NE(String(e.what()).find("menu_select.bmp"), String::npos) << e.what();
    }
    // Nothing is left half-loaded.
    EXPECT_EQ(SrtEnabledBmp, nullptr);
    EXPECT_EQ(SetupClipSelectBmp, nullptr);
}

TEST_F(MainWindowTest, HelpPopupListsTheLanguageFiles) {
    UILanguage = "ENGLISH.ini";
    Create();
    ASSERT_TRUE(window->BuildHelpMenu());
    const std::vector<String> expected = {Language::GetMessageText(140), Language::GetMessageText(34),
                                          Language::GetMessageText(141), Language::GetMessageText(34), "-",
                                          "deutsch", "English", "Zulu"};
    EXPECT_EQ(Captions(), expected);
    EXPECT_NE(Item("Help"), nullptr);
    EXPECT_NE(Item("About"), nullptr);
    EXPECT_EQ(Item("Lang0")->GetCaption(), "deutsch");
    EXPECT_EQ(Item("Lang2")->GetCaption(), "Zulu");
    EXPECT_FALSE(window->GetHelpPopupMenu()->UsesAutomaticHotkeys());
    for (const char* name : {"Lang0", "Lang1", "Lang2"}) {
        const bool current = String(name) == "Lang1";  // matched without case
        EXPECT_EQ(Item(name)->GetChecked(), current) << name;
        EXPECT_EQ(Item(name)->GetDefault(), current) << name;
    }
    // Rebuilt at each use: no doubled items, and the tick follows the language.
    UILanguage = "Zulu.ini";
    ASSERT_TRUE(window->BuildHelpMenu());
    EXPECT_EQ(Captions().size(), expected.size());
    EXPECT_TRUE(Item("Lang2")->GetChecked());
    EXPECT_FALSE(Item("Lang1")->GetChecked());
}

// The Help item opens the shipped help document with the desktop's opener; without the file
// the person is told which file is missing and nothing is opened.
TEST_F(MainWindowTest, HelpOpensTheShippedHelpDocument) {
    std::vector<std::string> opened;
    Win32_SetOpener([&](const std::string& target) { opened.push_back(target); return true; });
    testing_vcl::TScriptedInteraction ask;
    testing_vcl::TInstallInteraction installed(ask);
    Create();
    ASSERT_TRUE(window->BuildHelpMenu());
    window->HelpMenuItemClick(Item("Help"));
    EXPECT_TRUE(opened.empty());
    ASSERT_EQ(ask.Of(testing_vcl::TQuestionKind::MessageBox).size(), 1u);
    EXPECT_EQ(ask.Questions[0].Text, Language::GetMessageText(169) + ExePath + HelpFileName);

    fs::create_directories(dir["Help"]);
    fs::copy_file(fs::path(TEST_PEER_DIR) / HelpFileName, dir[HelpFileName]);
    window->HelpMenuItemClick(Item("Help"));
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], ExePath + HelpFileName);
    EXPECT_EQ(ask.Questions.size(), 1u);
    Win32_SetOpener(nullptr);
}

// The shipped document covers what a new user meets: the four modes and the settings.
TEST(ShippedHelp, TheDocumentExplainsEveryModeAndSetting) {
    std::ifstream in(fs::path(TEST_PEER_DIR) / HelpFileName);
    std::stringstream text;
    text << in.rdbuf();
    const std::string html = text.str();
    ASSERT_FALSE(html.empty());
    EXPECT_NE(html.find("<title>Quellox DOZ Ezedav Help</title>"), std::string::npos);
    for (const char* topic : {"Builder", "Converter", "Compiler", "Burner", "Output Folder", "Delete Temp Files",
                              "Image Ratio", "Video Format", "DVD Type", "DVD Menu Safe Distance", "DVD Menu Duration",
                              "DVD Language", "Subtitle Default Font Size", "SPTI"})
        EXPECT_NE(html.find(topic), std::string::npos) << topic;
}

TEST_F(MainWindowTest, EmptyLangFolderGivesOnlyTheFixedItems) {
    fs::remove_all(dir["Lang"]);
    Create();
    ASSERT_TRUE(window->BuildHelpMenu());
    EXPECT_EQ(Captions().size(), 5u);
}

TEST_F(MainWindowTest, ChoosingALanguageItemLoadsThatFile) {
    Create();
    testing_vcl::TScriptedInteraction ask;
    testing_vcl::TInstallInteraction installed(ask);
    ask.PopupAnswers.push_back([this](TPopupMenu* menu) {
        EXPECT_EQ(menu, window->GetHelpPopupMenu());
        return Item("Lang0");
    });
    window->suiImageButton_HelpClick(window->suiImageButton_Help);
    Application->ProcessMessages();
    EXPECT_TRUE(ask.AllAnswersUsed());
    EXPECT_EQ(UILanguage, "deutsch.INI");  // the file's own name, case kept
    EXPECT_EQ(Language::GetMessageText(154), "Deutscher Builder");
    // A file gone since the popup was built leaves the language as it is.
    ASSERT_TRUE(window->BuildHelpMenu());
    fs::remove(dir["Lang/Zulu.ini"]);
    window->LanguageMenuItemClick(Item("Lang2"));
    EXPECT_EQ(UILanguage, "deutsch.INI");
}

TEST_F(MainWindowTest, EnglishShowsTheDescriptionPictures) {
    Create();
    TImage* none = nullptr;
    struct Step { TControl* hovered; TImage* shown; };
    const Step steps[] = {{window->Image_Builder, window->Image_Builder}, {window->Image_Builder, window->Image_Builder},
                          {window->Image_Burn, window->Image_Burn}, {nullptr, none}, {window->Image_Vob, window->Image_Vob}};
    for (const Step& s : steps) {
        window->ShowModeDescription(s.hovered);
        EXPECT_EQ(window->GetShownDescription(), s.shown);
        for (TImage* image : {window->Image_Builder, window->Image_Vob, window->Image_Menu, window->Image_Burn})
            EXPECT_EQ(image->GetVisible(), image == s.shown) << image->GetName();
        EXPECT_EQ(window->Label_Description->GetCaption(), "");
    }
}

TEST_F(MainWindowTest, OtherLanguagesFillTheLabel) {
    Create();
    ASSERT_TRUE(Language::LoadLanguageFile("deutsch.INI"));
    const std::pair<TControl*, String> steps[] = {{window->Image_Builder, "Deutscher Builder"},
                                                  {window->Image_Menu, Language::GetMessageText(156)},
                                                  {window->Image_Burn, Language::GetMessageText(157)},
                                                  {nullptr, ""}};
    for (const auto& [hovered, text] : steps) {
        window->ShowModeDescription(hovered);
        EXPECT_EQ(window->Label_Description->GetCaption(), text);
        for (TImage* image : {window->Image_Builder, window->Image_Vob, window->Image_Menu, window->Image_Burn})
            EXPECT_FALSE(image->GetVisible());
    }
}

TEST_F(MainWindowTest, AChangeOfLanguageLeavesOneDescription) {
    Create();
    window->ShowModeDescription(window->Image_Burn);
    ASSERT_TRUE(window->Image_Burn->GetVisible());
    ASSERT_TRUE(Language::LoadLanguageFile("deutsch.INI"));
    window->ShowModeDescription(window->Image_Vob);
    EXPECT_FALSE(window->Image_Burn->GetVisible()) << "the English picture would stay under the text";
    EXPECT_EQ(window->Label_Description->GetCaption(), Language::GetMessageText(155));

    UILanguage = "English.ini";
    window->ShowModeDescription(window->Image_Menu);
    EXPECT_TRUE(window->Image_Menu->GetVisible());
    EXPECT_EQ(window->Label_Description->GetCaption(), "") << "the German text would stay over the picture";
}

TEST_F(MainWindowTest, EnglishInOtherCaseUsesTheLabel) {
    UILanguage = "english.ini";
    Create();
    window->ShowModeDescription(window->Image_Vob);
    EXPECT_FALSE(window->Image_Vob->GetVisible());
    EXPECT_EQ(window->Label_Description->GetCaption(), Language::GetMessageText(155));
}

TEST_F(MainWindowTest, FirstShowLoadsTheLanguageOnce) {
    UILanguage = "deutsch.INI";
    Create();
    window->FormShow(window.get());
    EXPECT_EQ(Language::GetMessageText(140), "Hilfe");
    ASSERT_TRUE(Language::LoadLanguageFile("Zulu.ini"));
    window->FormShow(window.get());
    EXPECT_EQ(UILanguage, "Zulu.ini");
}

TEST_F(MainWindowTest, ClosingTwiceFreesOnce) {
    Create();
    ASSERT_TRUE(window->BuildHelpMenu());
    ClipInfo.push_back(new TClipInfo());
    TCloseAction action = caFree;
    window->FormClose(window.get(), action);
    EXPECT_EQ(window->GetHelpPopupMenu(), nullptr);
    EXPECT_EQ(SrtEnabledBmp, nullptr);
    EXPECT_EQ(MenuClipUnSelectBmpOn, nullptr);
    EXPECT_TRUE(ClipInfo.empty());
    window->FormClose(window.get(), action);
    EXPECT_EQ(SetupClipSelectBmp, nullptr);
}

TEST_F(MainWindowTest, OptionShowsTheSettingsModallyAndModesWithoutWindowsDoNothing) {
    Create();
    auto settings = std::make_unique<TOptionWindow>(nullptr);
    settings->AfterConstruction();
    settings->OnDestroy = nullptr;
    OptionWindow = settings.get();
    testing_vcl::TScriptedInteraction ask;
    testing_vcl::TInstallInteraction installed(ask);
    window->Show();
    for (TsuiImageButton* mode : {window->suiImageButton_Builder, window->suiImageButton_Converter,
                                  window->suiImageButton_Compiler, window->suiImageButton_Burner})
        mode->OnClick(mode);
    EXPECT_TRUE(ask.Questions.empty());
    EXPECT_TRUE(window->GetVisible());
    ask.AnswerModal(mrCancel);
    window->suiImageButton_Option->OnClick(window->suiImageButton_Option);
    const auto shown = ask.Of(testing_vcl::TQuestionKind::ShowModal);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].Form, OptionWindow);
    OptionWindow = nullptr;
}

// A mode window that raises as it opens leaves nobody stranded: the main window comes back and
// the error is told.
TEST_F(MainWindowTest, AModeWindowThatRaisesBringsTheMainWindowBack) {
    Create();
    testing_vcl::TScriptedInteraction ask;
    testing_vcl::TInstallInteraction installed(ask);
    auto page = std::make_unique<TSetupDVDFileWindow>(nullptr);
    page->AfterConstruction();
    SetupDVDFileWindow = page.get();
    window->Show();
    const TNotifyEvent own = page->OnShow;
    page->OnShow = [](TObject*) { throw Exception("The source page could not be shown"); };
    // The result is set at once: nothing is queued that could outlive the page.
    ask.ModalActions.push_back([](TCustomForm* Form) { Form->SetModalResult(mrCancel); });
    testing_vcl::Click(window->suiImageButton_Burner);
    EXPECT_TRUE(window->GetVisible());
    EXPECT_FALSE(page->GetVisible());
    auto boxes = ask.Of(testing_vcl::TQuestionKind::MessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].Text.find("The source page could not be shown"), String::npos) << boxes[0].Text;

    // A window already on the screen cannot be made modal: ShowModal itself raises.
    page->OnShow = own;
    page->Show();
    testing_vcl::Click(window->suiImageButton_Burner);
    EXPECT_TRUE(window->GetVisible());
    boxes = ask.Of(testing_vcl::TQuestionKind::MessageBox);
    EXPECT_EQ(boxes.size(), 2u);
    Application->ProcessMessages();
    SetupDVDFileWindow = nullptr;
}

// Exit ends the loop without the close event, so it frees the same things itself.
TEST_F(MainWindowTest, ExitFreesAsClosingDoes) {
    Create();
    ASSERT_TRUE(window->BuildHelpMenu());
    ClipInfo.push_back(new TClipInfo());
    window->suiImageButton_Exit->OnClick(window->suiImageButton_Exit);
    EXPECT_TRUE(Application->Terminated());
    EXPECT_EQ(window->GetHelpPopupMenu(), nullptr);
    EXPECT_EQ(SrtDisabledBmp, nullptr);
    EXPECT_EQ(MenuClipSelectBmp, nullptr);
    EXPECT_TRUE(ClipInfo.empty());
    TCloseAction action = caFree;
    window->FormClose(window.get(), action);
    EXPECT_EQ(SetupClipUnSelectBmp, nullptr);
}

}  // namespace
