#include "app/Option_Window.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/Pubfunction.h"
#include "platform/vcl/Registry.h"
#include "platform/win32/Windows.h"
#include "tests/support/ScriptedInteraction.h"
#include "tests/support/TempFolder.h"

namespace {

void WriteText(const std::string& Path, const std::string& Text) {
    std::ofstream out(Path, std::ios::binary);
    out << Text;
}

std::string ReadText(const std::string& Path) {
    std::ifstream in(Path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Each case runs in its own program folder with its own registry file.
class OptionWindowTest : public ::testing::Test {
protected:
    testing_vcl::TTempFolder dir{"optionwin"};
    String savedExePath = ExePath;
    String savedStore = TRegistry::StoreFile();

    void SetUp() override {
        ExePath = dir.Path() + "/";
        TRegistry::SetStoreFile(dir["registry.ini"]);
        UILanguage.clear();
        WriteText(dir["Language.ini"],
                  "[RegionCount]\nRegion=3\n[RegionLanguage]\nRegion0=English\nRegion1=French\nRegion2=German\n");
    }
    void TearDown() override {
        ExePath = savedExePath;
        TRegistry::SetStoreFile(savedStore);
        UILanguage.clear();
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
    EXPECT_EQ(g_s_OutputFolder, Pubfunction::FindTempFolder(TempSubFolder));
    EXPECT_EQ(w->ComboBox_MenuLanguage.Count(), 3);
    EXPECT_EQ(w->ComboBox_SubtitleLanguage.Count(), 2);
    // No subtitle region is the user's language: the first item of both lists.
    EXPECT_EQ(w->ComboBox_MenuLanguage.ItemIndex, 0);
    EXPECT_EQ(i_MenuLanguageCodeIndex, 0);
    EXPECT_EQ(i_SubTitleLanguageCodeIndex, 0);
    EXPECT_EQ(w->FontSizeBox_FontSize, 20);
}

TEST_F(OptionWindowTest, FirstRunSelectsTheUsersLanguage) {
    char name[30] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SENGLANGUAGE, name, sizeof name);
    if (name[0] == '\0') GTEST_SKIP() << "the system names no user language";
    WriteText(dir["Subtitle.ini"], std::string("[RegionCount]\nRegion=3\n[RegionLanguage]\nRegion0=Klingon\nRegion1=") +
                                       name + "\nRegion2=Elvish\n");
    auto w = Create();
    EXPECT_EQ(w->ComboBox_SubtitleLanguage.ItemIndex, 1);
    EXPECT_EQ(w->ComboBox_MenuLanguage.ItemIndex, 1);
    EXPECT_EQ(i_MenuLanguageCodeIndex, 1);
}

TEST_F(OptionWindowTest, StoredFileIsReadAndChecked) {
    WriteText(dir["Subtitle.ini"], "[RegionCount]\nRegion=2\n[RegionLanguage]\nRegion0=Klingon\nRegion1=Elvish\n");
    WriteText(dir["Option.ini"],
              "[Option]\nOpenDialogFilter=Clips|*.mpg\nDiscSizePerMin=0\nDVD5Size=-4\nDVD9Size=9000000\n"
              "DVDMenuSafeDistance=80\nDVDMenuDuration=2\nFontSize=28\nOutputQuality=7\nUILanguage=German.ini\n"
              "UseDefault=0\nUseSPTI=0\nOutputFolder=nodef\nDeleteTempFiles=1\nImageRatio=0\nVideoFormat=0\n"
              "DVDType=0\nSubtitleLanguage=1\nMenuLanguage=2\n");
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
    EXPECT_TRUE(w->CheckBox_ASPI);
    EXPECT_TRUE(b_DeleteTempFile);
    EXPECT_FALSE(b_4_3);
    EXPECT_TRUE(w->CheckBox_16_9);
    EXPECT_FALSE(b_VideoForamt);
    EXPECT_TRUE(w->CheckBox_PAL);
    EXPECT_FALSE(b_DVD5);
    EXPECT_TRUE(w->CheckBox_D9);
    EXPECT_EQ(g_s_OutputFolder, Pubfunction::GetTempFolder("nodef"));
    EXPECT_EQ(w->ComboBox_SubtitleLanguage.ItemIndex, 1);
    EXPECT_EQ(i_MenuLanguageCodeIndex, 2);
    EXPECT_EQ(i_SubTitleLanguageCodeIndex, 2);
    EXPECT_EQ(w->FontSizeBox_FontSize, 28);
}

TEST_F(OptionWindowTest, ListIndexesBeyondTheListsSelectTheFirstItem) {
    WriteText(dir["Subtitle.ini"], "[RegionCount]\nRegion=1\n[RegionLanguage]\nRegion0=Klingon\n");
    WriteText(dir["Option.ini"], "[Option]\nUseDefault=0\nSubtitleLanguage=1\nMenuLanguage=-3\n");
    auto w = Create();
    EXPECT_EQ(w->ComboBox_SubtitleLanguage.ItemIndex, 0);
    EXPECT_EQ(w->ComboBox_MenuLanguage.ItemIndex, 0);
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

}  // namespace
