#include "app/Option_Window.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/Pubfunction.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Registry.h"
#include "platform/win32/Windows.h"
#include "tests/support/ScriptedInteraction.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestHelpers.h"
#include "core/Language.h"
#include "platform/vcl/PngWriter.h"

#include <sys/stat.h>

using testing_vcl::ReadText;
using testing_vcl::WriteText;

namespace {

// One fixed drive D, in the case's own folder: no folder is chosen outside it.
class TScratchVolumes : public Win32VolumeService {
public:
    std::vector<Win32Volume> list;
    std::vector<Win32Volume> Volumes() override { return list; }
};

// Each case runs in its own program folder with its own registry file, a scratch home and a
// scratch current directory.
class OptionWindowTest : public ::testing::Test {
protected:
    testing_vcl::TScratchHome scratch;
    testing_vcl::TTempFolder dir{"optionwin"};
    String savedExePath = ExePath;
    String savedStore = TRegistry::StoreFile();
    TScratchVolumes volumes;
    String drive;  // the mount point of drive D, with its trailing '/'

    void SetUp() override {
        drive = dir["drive"] + "/";
        std::filesystem::create_directories(drive);
        Win32Volume d;
        d.letter = 'D';
        d.mountPoint = drive;
        d.driveType = DRIVE_FIXED;
        d.bytesPerSector = 512;
        d.sectorsPerCluster = 8;
        d.freeBytes = 50000ULL * 1048576;
        d.totalBytes = d.freeBytes * 2;
        Win32Volume root = d;  // the rest of the file system, as drive C
        root.letter = 'C';
        root.mountPoint = "/";
        volumes.list = {root, d};
        Win32_SetVolumeService(&volumes);
        g_s_OutputFolder.clear();
        ExePath = dir.Path() + "/";
        TRegistry::SetStoreFile(dir["registry.ini"]);
        UILanguage.clear();
        WriteText(dir["Language.ini"],
                  "[RegionCount]\nRegion=3\n[RegionLanguage]\nRegion0=English\nRegion1=French\nRegion2=German\n");
    }
    void TearDown() override {
        EXPECT_TRUE(scratch.CwdEntries().empty()) << "a folder was made in the current directory";
        Win32_SetVolumeService(nullptr);
        ExePath = savedExePath;
        TRegistry::SetStoreFile(savedStore);
        UILanguage.clear();
        g_s_OutputFolder.clear();
    }

    // A window created as start-up creates it, without saving when it goes.
    std::unique_ptr<TOptionWindow> Create() {
        auto w = std::make_unique<TOptionWindow>(nullptr);
        w->AfterConstruction();
        w->OnDestroy = nullptr;
        return w;
    }

    void SetRegistryLanguage(const String& Value) {
        TRegistry reg;
        reg.SetRootKey(HKEY_CURRENT_USER);
        ASSERT_TRUE(reg.OpenKey("\\SOFTWARE\\ZQDVD", true));
        reg.WriteString("UILanguage", Value);
    }
};

TEST_F(OptionWindowTest, FirstRunTakesTheDefaults) {
    WriteText(dir["Subtitle.ini"], "[RegionCount]\nRegion=2\n[RegionLanguage]\nRegion0=Klingon\nRegion1=Elvish\n");
    b_4_3 = false;
    b_VideoForamt = false;
    b_DVD5 = false;
    b_DeleteTempFile = true;
    auto w = Create();
    EXPECT_EQ(i_DiscSizePerMin, 30720);
    EXPECT_EQ(i_DVD5Size, 4403200);
    EXPECT_EQ(i_DVD9Size, 8704000);
    EXPECT_EQ(i_CreateMenuSafeDistance, 10);
    EXPECT_EQ(i_MenuDuration, 5);
    EXPECT_EQ(i_FontSize, 20);
    EXPECT_EQ(g_i_OutputQuality, 1);
    EXPECT_EQ(UILanguage, "English.ini");
    EXPECT_TRUE(b_UseSTPI);  // an NT-family system
    EXPECT_FALSE(b_DeleteTempFile);
    EXPECT_TRUE(b_4_3);
    EXPECT_TRUE(b_VideoForamt);
    EXPECT_TRUE(b_DVD5);
    EXPECT_EQ(g_s_OutputFolder, drive + TempSubFolder);  // the fixed drive with room
    EXPECT_TRUE(DirectoryExists(drive + TempSubFolder));
    EXPECT_EQ(w->suiComboBox_MenuLanguage->GetItems()->Count(), 3);
    EXPECT_EQ(w->suiComboBox_SubtitleLanguage->GetItems()->Count(), 2);
    // No subtitle region is the user's language: the first item of both lists.
    EXPECT_EQ(w->suiComboBox_MenuLanguage->GetItemIndex(), 0);
    EXPECT_EQ(i_MenuLanguageCodeIndex, 0);
    EXPECT_EQ(i_SubTitleLanguageCodeIndex, 0);
    EXPECT_EQ(w->suiFontSizeComboBox->GetFontSize(), 20);
}

TEST_F(OptionWindowTest, FirstRunSelectsTheUsersLanguage) {
    char name[30] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SENGLANGUAGE, name, sizeof name);
    if (name[0] == '\0') GTEST_SKIP() << "the system names no user language";
    // The user's language is looked up among the DVD languages, whose positions are regions.
    WriteText(dir["Language.ini"], std::string("[RegionCount]\nRegion=3\n[RegionLanguage]\nRegion0=Klingon\nRegion1=") +
                                       name + "\nRegion2=Elvish\n");
    WriteText(dir["Subtitle.ini"], "[RegionCount]\nRegion=1\n[RegionLanguage]\nRegion0=Vulcan\n");
    auto w = Create();
    EXPECT_EQ(w->suiComboBox_MenuLanguage->GetItemIndex(), 1);
    EXPECT_EQ(i_MenuLanguageCodeIndex, 1);
    EXPECT_EQ(i_SubTitleLanguageCodeIndex, 1);
    EXPECT_EQ(w->suiComboBox_SubtitleLanguage->GetItemIndex(), 0) << "region 1 is not in the subtitle list";
}

TEST_F(OptionWindowTest, StoredFileIsReadAndChecked) {
    WriteText(dir["Subtitle.ini"], "[RegionCount]\nRegion=2\n[RegionLanguage]\nRegion0=Klingon\nRegion1=Elvish\n");
    WriteText(dir["Option.ini"],
              "[Option]\nOpenDialogFilter=Clips|*.mpg\nDiscSizePerMin=0\nDVD5Size=-4\nDVD9Size=9000000\n"
              "DVDMenuSafeDistance=80\nDVDMenuDuration=2\nFontSize=28\nOutputQuality=7\nUILanguage=German.ini\n"
              "UseDefault=0\nUseSPTI=0\nOutputFolder=nodef\nDeleteTempFiles=1\nImageRatio=0\nVideoFormat=0\n"
              "DVDType=0\nSubtitleLanguage=4\nMenuLanguage=2\n");
    auto w = Create();
    EXPECT_EQ(OpenDialogFilter, "Clips|*.mpg");
    EXPECT_EQ(OpenDialogMusicFilter, "");
    EXPECT_EQ(i_DiscSizePerMin, 30720);  // a capacity of zero or less takes its default
    EXPECT_EQ(i_DVD5Size, 4403200);
    EXPECT_EQ(i_DVD9Size, 9000000);
    EXPECT_EQ(i_CreateMenuSafeDistance, 50);  // kept within the spin edits' ranges
    EXPECT_EQ(i_MenuDuration, 5);
    EXPECT_EQ(i_FontSize, 28);
    EXPECT_EQ(g_i_OutputQuality, 1);  // outside 0..2
    EXPECT_EQ(UILanguage, "German.ini");
    EXPECT_FALSE(b_UseSTPI);
    EXPECT_TRUE(w->suiCheckBox_ASPI->GetChecked());
    EXPECT_TRUE(b_DeleteTempFile);
    EXPECT_FALSE(b_4_3);
    EXPECT_TRUE(w->suiCheckBox_16_9->GetChecked());
    EXPECT_FALSE(b_VideoForamt);
    EXPECT_TRUE(w->suiCheckBox_PAL->GetChecked());
    EXPECT_FALSE(b_DVD5);
    EXPECT_TRUE(w->suiCheckBox_D9->GetChecked());
    EXPECT_EQ(g_s_OutputFolder, drive + TempSubFolder);  // "nodef" names no folder: the work folder's choice
    EXPECT_EQ(w->suiComboBox_SubtitleLanguage->GetItemIndex(), 1);
    EXPECT_EQ(i_MenuLanguageCodeIndex, 2);
    EXPECT_EQ(i_SubTitleLanguageCodeIndex, 2);
    EXPECT_EQ(w->suiFontSizeComboBox->GetFontSize(), 28);
}

// A stored folder on a fixed drive is kept; a missing or relative one becomes the folder the
// work-folder choice gives, never a folder named after the word in the current directory.
TEST_F(OptionWindowTest, StoredOutputFolderFallsBackByTheRule) {
    std::filesystem::create_directories(drive + "Films");
    struct Case { const char* line; String expected; };
    const Case cases[] = {
        {"OutputFolder=nodef\n", drive + TempSubFolder},
        {"", drive + TempSubFolder},
        {"OutputFolder=relative/dir\n", drive + TempSubFolder},
        {"OutputFolder=Films\n", drive + TempSubFolder},
        {"OutputFolder=D:\\Films\n", drive + "Films/"},
    };
    for (const Case& c : cases) {
        WriteText(dir["Option.ini"], std::string("[Option]\nUseDefault=0\n") + c.line);
        g_s_OutputFolder.clear();
        auto w = Create();
        EXPECT_EQ(g_s_OutputFolder, c.expected) << c.line;
        EXPECT_EQ(w->suiEdit_OutputFolder->GetText(), c.expected) << c.line;
        EXPECT_FALSE(DirectoryExists(scratch.Cwd() + "/nodef")) << c.line;
        EXPECT_FALSE(DirectoryExists(ExePath + "nodef")) << c.line;
    }
}

// A save that cannot be done whole is not done at all: the file keeps every key it had.
TEST_F(OptionWindowTest, SaveIsAllOrNothing) {
    const std::string before =
        "[Option]\nUseSPTI=0\nOutputFolder=/srv/old/\nUseDefault=0\nDVDMenuDuration=9\nUILanguage=Deutsch.ini\n";
    WriteText(dir["Option.ini"], before);
    auto w = Create();
    testing_vcl::TScriptedInteraction ask;
    testing_vcl::TInstallInteraction installed(ask);
    b_UseSTPI = true;
    g_s_OutputFolder = "/srv/two\nlines/";
    i_MenuDuration = 30;
    EXPECT_FALSE(w->SaveOptions());
    EXPECT_EQ(ReadText(dir["Option.ini"]), before);
    const auto boxes = ask.Of(testing_vcl::TQuestionKind::MessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].DlgType, mtError);
    EXPECT_EQ(boxes[0].Text.rfind(Language::GetMessageText(158) + dir["Option.ini"], 0), 0u) << boxes[0].Text;
    // The next start is no first run: the stored settings still answer.
    UILanguage.clear();
    auto again = Create();
    EXPECT_EQ(i_MenuDuration, 9);
    EXPECT_EQ(UILanguage, "Deutsch.ini");
}

TEST_F(OptionWindowTest, ListIndexesBeyondTheListsSelectTheFirstItem) {
    WriteText(dir["Subtitle.ini"], "[RegionCount]\nRegion=1\n[RegionLanguage]\nRegion0=Klingon\n");
    WriteText(dir["Option.ini"], "[Option]\nUseDefault=0\nSubtitleLanguage=1\nMenuLanguage=-3\n");
    auto w = Create();
    EXPECT_EQ(w->suiComboBox_SubtitleLanguage->GetItemIndex(), 0);
    EXPECT_EQ(w->suiComboBox_MenuLanguage->GetItemIndex(), 0);
    EXPECT_EQ(i_MenuLanguageCodeIndex, 0);
}

TEST_F(OptionWindowTest, UILanguageChain) {
    struct Case {
        const char* file;      // "UILanguage" in Option.ini, nullptr for none
        const char* registry;  // the registry value, nullptr for none
        const char* expected;
    };
    for (const Case& c : {Case{"German.ini", "French.ini", "German.ini"}, Case{nullptr, "French.ini", "French.ini"},
                          Case{"Nodef", "French.ini", "French.ini"}, Case{nullptr, "a.i", "English.ini"},
                          Case{nullptr, nullptr, "English.ini"}, Case{"abc", nullptr, "English.ini"},
                          Case{nullptr, "Nodef", "English.ini"}}) {
        std::filesystem::remove(dir["registry.ini"]);
        WriteText(dir["Option.ini"], c.file ? std::string("[Option]\nUILanguage=") + c.file + "\n" : "");
        if (c.registry) SetRegistryLanguage(c.registry);
        UILanguage.clear();
        auto w = Create();
        EXPECT_EQ(UILanguage, c.expected) << (c.file ? c.file : "-") << " / " << (c.registry ? c.registry : "-");
    }
}

TEST_F(OptionWindowTest, ChosenLanguageIsNotReadAgain) {
    WriteText(dir["Option.ini"], "[Option]\nUILanguage=German.ini\n");
    auto w = Create();
    UILanguage = "French.ini";
    w->LoadOptions();
    EXPECT_EQ(UILanguage, "French.ini");
}

TEST_F(OptionWindowTest, SavedFileIsByteExact) {
    auto w = Create();
    b_UseSTPI = true;
    g_s_OutputFolder = "/srv/dvd/DVDTemp/";
    b_DeleteTempFile = true;
    b_4_3 = false;
    b_VideoForamt = true;
    b_DVD5 = false;
    i_SubTitleLanguageCodeIndex = 3;
    i_MenuLanguageCodeIndex = 1;  // both keys are written from the subtitle index
    i_CreateMenuSafeDistance = 12;
    i_MenuDuration = 30;
    i_FontSize = 24;
    g_i_OutputQuality = 2;
    UILanguage = "Deutsch.ini";
    std::filesystem::remove(dir["Option.ini"]);
    ASSERT_TRUE(w->SaveOptions());
    EXPECT_EQ(ReadText(dir["Option.ini"]),
              "[Option]\nUseSPTI=1\nOutputFolder=/srv/dvd/DVDTemp/\nDeleteTempFiles=1\nImageRatio=0\nVideoFormat=1\n"
              "DVDType=0\nSubtitleLanguage=3\nMenuLanguage=3\nUseDefault=0\nDVDMenuSafeDistance=12\n"
              "DVDMenuDuration=30\nFontSize=24\nOutputQuality=2\nUILanguage=Deutsch.ini\n");
}

TEST_F(OptionWindowTest, SavedSettingsReadBackAsTheyWereAndDestroyingSaves) {
    {
        auto w = std::make_unique<TOptionWindow>(nullptr);
        w->AfterConstruction();
        b_DVD5 = false;
        i_MenuDuration = 77;
    }  // destroying the window saves
    UILanguage.clear();
    b_DVD5 = true;
    i_MenuDuration = 5;
    auto w = Create();
    EXPECT_FALSE(b_DVD5);
    EXPECT_EQ(i_MenuDuration, 77);
    EXPECT_EQ(UILanguage, "English.ini");
}

TEST_F(OptionWindowTest, UnwritableFileIsReportedNotThrown) {
    auto w = Create();
    testing_vcl::TScriptedInteraction ask;
    testing_vcl::TInstallInteraction installed(ask);
    std::filesystem::create_directory(dir["Option.ini"]);  // no file can take its place
    bool saved = true;
    EXPECT_NO_THROW(saved = w->SaveOptions());
    EXPECT_FALSE(saved);
    ASSERT_EQ(ask.Of(testing_vcl::TQuestionKind::MessageBox).size(), 1u);
    EXPECT_EQ(ask.Questions.at(0).DlgType, mtError);
}

// ---- the dialog, shown as the program shows it ------------------------------------------------------

class OptionDialogTest : public OptionWindowTest {
protected:
    testing_vcl::TScriptedInteraction ask;
    std::unique_ptr<testing_vcl::TInstallInteraction> installed;
    std::unique_ptr<TOptionWindow> w;
    void SetUp() override {
        OptionWindowTest::SetUp();
        std::filesystem::path res = std::filesystem::path(TEST_PEER_DIR) / ".." / ".." / "dist" / "RES";
        std::filesystem::copy(res, dir["RES"], std::filesystem::copy_options::recursive);
        WriteText(dir["Language.ini"], "[RegionCount]\nRegion=2\n[RegionLanguage]\nRegion0=English\nRegion1=French\n"
                                       "[RegionFontFileName]\nEnglish=arial.ttf\n[CharacterSet]\nEnglish=0\n[LanguageCode]\nEnglish=en\n");
        WriteText(dir["Subtitle.ini"], "[RegionCount]\nRegion=2\n[RegionLanguage]\nRegion0=Klingon\nRegion1=Elvish\n"
                                       "[RegionFontFileName]\nKlingon=klingon.ttf\nElvish=tengwar.ttf\n[CharacterSet]\nKlingon=1\nElvish=2\n"
                                       "[LanguageCode]\nKlingon=kl\nElvish=el\n");
        WriteText(dir["Option.ini"], "[Option]\nUseDefault=0\nSubtitleLanguage=3\nMenuLanguage=1\nFontSize=20\n"
                                     "OutputFolder=" + dir.Path() + "\n");
        installed = std::make_unique<testing_vcl::TInstallInteraction>(ask);
        w = Create();
    }
    void TearDown() override {
        w.reset();
        installed.reset();
        OptionWindowTest::TearDown();
    }
    // Shows the dialog modally and runs Act in it; Act ends it.
    TModalResult Show(std::function<void(TOptionWindow*)> Act) {
        // The person acts once the dialog shows, from within its loop.
        ask.ModalActions.push_back([this, Act](TCustomForm*) { Application->QueueCall([this, Act] { Act(w.get()); }); });
        return w->ShowModal();
    }
};

// Browse takes a folder the settings can keep and the program will not empty; any other is
// refused with a message naming it, and the box keeps what it showed.
TEST_F(OptionDialogTest, BrowseRefusesFoldersThatCannotServe) {
    const String shown = w->suiEdit_OutputFolder->GetText();
    const String work = ExePath + "Temp/";
    std::filesystem::create_directories(work);
    std::filesystem::create_directories(dir["two\nlines"]);
    std::filesystem::create_directories(dir["good"]);
    struct Case { String chosen; int message; String expected; };
    const Case cases[] = {
        {dir["two\nlines"], 161, shown},
        {work, 164, shown},
        {work + "inner", 164, shown},
        {scratch.Home() + "/.cache/QuelloxDOZEzedav/Temp/", 164, shown},
        {dir["good"], -1, dir["good"] + "/"},
    };
    for (const Case& c : cases) {
        w->suiEdit_OutputFolder->SetText(shown);
        ask.Questions.clear();
        ask.DirectoryAnswers.push_back(c.chosen);
        w->suiImageButton_BrowseClick(nullptr);
        EXPECT_EQ(w->suiEdit_OutputFolder->GetText(), c.expected) << c.chosen;
        const auto boxes = ask.Of(testing_vcl::TQuestionKind::MessageBox);
        if (c.message < 0) {
            EXPECT_TRUE(boxes.empty()) << c.chosen;
            continue;
        }
        ASSERT_EQ(boxes.size(), 1u) << c.chosen;
        EXPECT_EQ(boxes[0].Text, Language::GetMessageText(c.message) + c.chosen);
    }
}

TEST_F(OptionDialogTest, EachPairActsAsTwoRadioButtons) {
    struct Pair {
        TsuiCheckBox* first;
        TsuiCheckBox* second;
        TsuiImageButton* firstPic;
        TsuiImageButton* secondPic;
    };
    const Pair pairs[] = {{w->suiCheckBox_SPTI, w->suiCheckBox_ASPI, nullptr, nullptr},
                          {w->suiCheckBox_4_3, w->suiCheckBox_16_9, w->suiImageButton_4_3, w->suiImageButton_16_9},
                          {w->suiCheckBox_NTSC, w->suiCheckBox_PAL, w->suiImageButton_NTSC, w->suiImageButton_PAL},
                          {w->suiCheckBox_D5, w->suiCheckBox_D9, w->suiImageButton_D5, w->suiImageButton_9}};
    w->Show();
    for (const Pair& p : pairs) {
        SCOPED_TRACE(p.first->GetName());
        for (TsuiImageButton* page : {w->suiImageButton_General, w->suiImageButton_Burner})
            w->suiImageButton_GeneralClick(page);
        p.first->SetChecked(true);
        p.second->Click();
        EXPECT_TRUE(p.second->GetChecked());
        EXPECT_FALSE(p.first->GetChecked());
        p.second->Click();  // unticking a box ticks its partner
        EXPECT_TRUE(p.first->GetChecked());
        EXPECT_FALSE(p.second->GetChecked());
        if (p.firstPic == nullptr) continue;
        p.secondPic->Click();
        EXPECT_TRUE(p.second->GetChecked());
        EXPECT_FALSE(p.first->GetChecked());
        p.firstPic->Click();
        EXPECT_TRUE(p.first->GetChecked());
        EXPECT_FALSE(p.second->GetChecked());
    }
}

TEST_F(OptionDialogTest, OnePageAtATimeWithItsButtonDisabled) {
    const std::pair<TsuiImageButton*, TsuiImagePanel*> pages[] = {{w->suiImageButton_General, w->suiImagePanel_General},
                                                                  {w->suiImageButton_Language, w->suiImagePanel_Language},
                                                                  {w->suiImageButton_Burner, w->suiImagePanel_Burner}};
    const char* names[] = {"option_general.png", "option_language.png", "option_burner.png"};
    Show([&](TOptionWindow* d) {
        EXPECT_TRUE(d->suiImagePanel_General->GetVisible()) << "a show opens on the General page";
        int i = 0;
        for (const auto& [button, page] : pages) {
            testing_vcl::Click(button);
            for (const auto& [b, p] : pages) {
                EXPECT_EQ(p->GetVisible(), p == page);
                EXPECT_EQ(b->GetEnabled(), b != button);
            }
            testing_vcl::SaveRender(d, "app", names[i++]);
        }
        testing_vcl::Click(d->suiImageButton_Cancel);
    });
    EXPECT_TRUE(ask.Failures.empty());
}

TEST_F(OptionDialogTest, CancelAndEscapeChangeNothingOkTakesTheControls) {
    const String stored = g_s_OutputFolder;
    testing_vcl::TTempFolder chosen("optionwin_chosen");
    // What a production window chose since the start stays: a show reads no file.
    g_i_OutputQuality = 2;
    ask.DirectoryAnswers.push_back(chosen.Path());
    TModalResult r = Show([&](TOptionWindow* d) {
        testing_vcl::Click(d->suiImageButton_Browse);
        EXPECT_EQ(d->suiEdit_OutputFolder->GetText(), Pubfunction::GetTempFolder(chosen.Path()));
        d->suiImageButton_16_9->Click();
        testing_vcl::Click(d->suiImageButton_Cancel);
    });
    EXPECT_EQ(r, mrCancel);
    EXPECT_FALSE(w->b_OkPressed);
    EXPECT_EQ(g_s_OutputFolder, stored) << "Browse then Cancel keeps the folder";
    EXPECT_TRUE(b_4_3);
    EXPECT_EQ(g_i_OutputQuality, 2);
    auto pickers = ask.Of(testing_vcl::TQuestionKind::SelectDirectory);
    ASSERT_EQ(pickers.size(), 1u);
    EXPECT_EQ(pickers[0].Caption, Language::GetMessageText(67));
    EXPECT_EQ(pickers[0].Root, "MyComputer");

    r = Show([&](TOptionWindow* d) {
        d->suiImageButton_16_9->Click();
        testing_vcl::PressKey(d, VK_ESCAPE);
    });
    EXPECT_EQ(r, mrCancel) << "Escape closes the dialog";
    EXPECT_TRUE(ask.Failures.empty()) << "closed by Escape, not by the guard";
    EXPECT_TRUE(b_4_3);

    ask.DirectoryAnswers.push_back(chosen.Path());
    r = Show([&](TOptionWindow* d) {
        EXPECT_TRUE(d->suiCheckBox_4_3->GetChecked()) << "a show starts from the settings in use";
        testing_vcl::Click(d->suiImageButton_Browse);
        d->suiImageButton_16_9->Click();
        d->suiImageButton_9->Click();
        d->suiSpinEdit_Duration->SetValue(30);
        testing_vcl::Click(d->suiImageButton_Ok);
    });
    EXPECT_EQ(r, mrOk);
    EXPECT_TRUE(ask.Failures.empty()) << (ask.Failures.empty() ? String() : ask.Failures.back());
    EXPECT_TRUE(w->b_OkPressed);
    EXPECT_EQ(g_s_OutputFolder, Pubfunction::GetTempFolder(chosen.Path()));
    EXPECT_FALSE(b_4_3);
    EXPECT_FALSE(b_DVD5);
    EXPECT_EQ(i_MenuDuration, 30);
    TIniFile saved(OptionFileName());
    EXPECT_EQ(saved.ReadString("Option", "OutputFolder", ""), g_s_OutputFolder);
    EXPECT_EQ(saved.ReadInteger("Option", "DVDMenuDuration", 0), 30);
    EXPECT_EQ(saved.ReadInteger("Option", "OutputQuality", 0), 2);
}

TEST_F(OptionDialogTest, OkWithoutAFontSizeKeepsTheSizeInUse) {
    struct Case {
        int chosen;  // -1: no item selected
        int expected;
    };
    for (const Case c : {Case{-1, 20}, Case{12, 12}}) {
        i_FontSize = 20;
        Show([&](TOptionWindow* d) {
            if (c.chosen < 0) d->suiFontSizeComboBox->SetItemIndex(-1);
            else d->suiFontSizeComboBox->SetFontSize(c.chosen);
            testing_vcl::Click(d->suiImageButton_Ok);
        });
        EXPECT_EQ(i_FontSize, c.expected) << c.chosen;
    }
}

TEST_F(OptionDialogTest, SubtitleListPositionsAreRegionsAfterLanguageIni) {
    // Stored region 3 is Subtitle.ini's second region (Language.ini has two).
    EXPECT_EQ(w->GetLanguageIniCount(), 2);
    EXPECT_EQ(w->suiComboBox_SubtitleLanguage->GetItemIndex(), 1);
    EXPECT_EQ(w->suiComboBox_FontFile->GetText(), "tengwar.ttf");
    EXPECT_EQ(w->suiComboBox_FontFile->GetText(), Language::GetRegionFontFileName(3));
    EXPECT_EQ(w->suiComboBox_LanguageCode->GetText(), Language::GetRegionLanguageCode(3));
    EXPECT_EQ(i_MenuLanguageCodeIndex, 1) << "the DVD list's position is its region";
}

TEST_F(OptionDialogTest, LoadAddsOrOverridesAUserLanguage) {
    struct Case {
        const char* name;
        bool grows;         // Subtitle.ini's list gets the name
        bool writes;        // the attributes are written under the name
        int message;        // the message shown
    };
    const Case cases[] = {{"  Sindarin ", true, true, 148},
                          {"Klingon", false, true, 148},
                          {"English", false, true, 148},
                          {"Others", false, false, 58},
                          {"bad=name", false, false, 58},
                          {"[x]", false, false, 58}};
    int expectedCount = 2;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string before = ReadText(dir["Subtitle.ini"]);
        const int items = w->suiComboBox_SubtitleLanguage->GetItems()->Count();
        ask.Questions.clear();
        w->suiComboBox_SubtitleLanguage->SetText(c.name);
        w->suiComboBox_FontFile->SetText("new.ttf");
        w->suiComboBox_CharSet->SetText("7");
        w->suiComboBox_LanguageCode->SetText("xx");
        w->suiImageButton_Load->Click();
        auto boxes = ask.Of(testing_vcl::TQuestionKind::MessageBox);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].Text.rfind(Language::GetMessageText(c.message), 0), 0u);
        if (!c.writes) {
            EXPECT_EQ(ReadText(dir["Subtitle.ini"]), before) << "nothing is written";
            continue;
        }
        String name = c.name;
        name = Trim(name);
        TIniFile sub(dir["Subtitle.ini"]);
        EXPECT_EQ(sub.ReadString("RegionFontFileName", name, ""), "new.ttf");
        EXPECT_EQ(sub.ReadString("LanguageCode", name, ""), "xx");
        const int count = sub.ReadInteger("RegionCount", "Region", 0);
        if (c.grows) ++expectedCount;
        EXPECT_EQ(count, expectedCount);
        EXPECT_EQ(w->suiComboBox_SubtitleLanguage->GetItems()->Count(), items + (c.grows ? 1 : 0));
        if (c.grows) EXPECT_EQ(sub.ReadString("RegionLanguage", "Region" + IntToStr(count - 1), ""), name);
    }
    // An empty field: nothing at all.
    ask.Questions.clear();
    w->suiComboBox_SubtitleLanguage->SetText("Quenya");
    w->suiComboBox_CharSet->SetText("");
    w->suiImageButton_Load->Click();
    EXPECT_TRUE(ask.Questions.empty());
}

TEST_F(OptionDialogTest, AReadOnlySubtitleIniIsReportedAndKept) {
    ::chmod(dir["Subtitle.ini"].c_str(), 0444);
    if (::access(dir["Subtitle.ini"].c_str(), W_OK) == 0) GTEST_SKIP() << "running with rights that ignore the mode";
    const std::string before = ReadText(dir["Subtitle.ini"]);
    w->suiComboBox_SubtitleLanguage->SetText("Sindarin");
    w->suiComboBox_FontFile->SetText("new.ttf");
    w->suiComboBox_CharSet->SetText("7");
    w->suiComboBox_LanguageCode->SetText("xx");
    w->suiImageButton_Load->Click();
    auto boxes = ask.Of(testing_vcl::TQuestionKind::MessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].DlgType, mtError);
    EXPECT_EQ(ReadText(dir["Subtitle.ini"]), before);
    EXPECT_FALSE(std::filesystem::exists(dir["Subtitle.ini.new"]));
    ::chmod(dir["Subtitle.ini"].c_str(), 0644);
}

}  // namespace
