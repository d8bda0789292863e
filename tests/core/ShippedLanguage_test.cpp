// The language files that come with the program, checked against the forms the program makes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <memory>
#include <set>

#include "app/About_Window.h"
#include "core/Language.h"
#include "core/LanguageMessages.h"
#include "app/Main_Window.h"
#include "app/Option_Window.h"
#include "core/Pubfunction.h"
#include "app/SetupChapter_Window.h"
#include "app/SetupClip_Window.h"
#include "app/SetupDVDFile_Window.h"
#include "app/SetupSubtitle_Window.h"
#include "discwindows/Device_Window.h"
#include "menu/SetupImage_Window.h"
#include "menu/SetupMenu_Window.h"
#include "menu/SetupText_Window.h"
#include "platform/vcl/SysUtils.h"
#include "productionwindows/Builder_Window.h"
#include "productionwindows/Burn_Window.h"
#include "productionwindows/Compiler_Window.h"
#include "productionwindows/Convert_Window.h"
#include "skin/controls/SUIGroupBox.h"

namespace fs = std::filesystem;

namespace {

class ShippedLanguageTest : public ::testing::Test {
protected:
    void SetUp() override { m_savedIni = LanguageIni; LanguageIni = nullptr; m_savedName = UILanguage; }
    void TearDown() override {
        delete LanguageIni;
        LanguageIni = m_savedIni;
        UILanguage = m_savedName;
    }
    // The language files as copied beside the test programs.
    static std::vector<String> Files() {
        std::vector<String> names;
        for (const auto& e : fs::directory_iterator(ExePath + "Lang"))
            if (e.path().extension() == ".ini") names.push_back(e.path().filename().string());
        return names;
    }
    // "section/key" for every key of a file.
    static std::set<String> Keys(const String& Name) {
        TIniFile ini(ExePath + "Lang/" + Name);
        TStringList sections, keys;
        ini.ReadSections(&sections);
        std::set<String> all;
        for (int s = 0; s < sections.Count(); ++s) {
            ini.ReadSection(sections[s], &keys);
            for (int k = 0; k < keys.Count(); ++k) all.insert(sections[s] + "/" + keys[k]);
        }
        return all;
    }

private:
    TIniFile* m_savedIni = nullptr;
    String m_savedName;
};

bool HasWord(const String& Text) {
    return std::any_of(Text.begin(), Text.end(), [](unsigned char c) { return std::isalpha(c) != 0; });
}

String CaptionOf(TControl* Control) {
    if (auto* group = dynamic_cast<TsuiCustomGroupBox*>(Control)) return group->GetCaption();
    return Control->GetCaption();
}

// Labels whose text the window itself sets (a drive's type, a message of the table) or that
// show a name: a caption from the language file would overwrite them.
const std::set<String> kValueLabels = {"AboutWindow/Label8", "DeviceWindow/lblType", "SetupImageWindow/Label_Text",
                                       "SetupMenuWindow/Label_BackgroundMusic"};

// A word the window takes from the program's own message texts (a picture button's "Browse", the
// clip editor's "Clip list"): the message table translates it, not a caption key.
bool IsMessageWord(const String& Caption) {
    for (int n = 158; n < Language::MessageCount; ++n)
        if (!Caption.empty() && Caption == Language::GetMessageText(n)) return true;
    return false;
}

// "Form/component-Caption" for every caption a language replaces and "-Hint" for every picture
// button's hint, as the program's forms make them; numbers and times are values, not words.
std::set<String> FormKeys(TCustomForm* Form) {
    std::set<String> keys;
    for (int i = 0; i < Form->ComponentCount(); ++i) {
        auto* control = dynamic_cast<TControl*>(Form->Components(i));
        if (control == nullptr || control->GetName().empty()) continue;
        if (kValueLabels.count(Form->GetName() + "/" + control->GetName()) != 0) continue;
        const String cls = control->ClassName();
        const bool captioned = cls == "TLabel" || cls == "TsuiGroupBox" || cls == "TsuiCheckBox" || cls == "TsuiRadioButton";
        if (captioned && HasWord(CaptionOf(control)) && !IsMessageWord(CaptionOf(control))) keys.insert(Form->GetName() + "/" + control->GetName() + "-Caption");
        if (cls == "TsuiImageButton" && HasWord(control->GetHint()))
            keys.insert(Form->GetName() + "/" + control->GetName() + "-Hint");
        // A button that shows its hint as its word is translated through its hint.
        if (cls == "TsuiImageButton" && HasWord(control->GetCaption()) && !IsMessageWord(control->GetCaption()) &&
            control->GetCaption() != control->GetHint())
            keys.insert(Form->GetName() + "/" + control->GetName() + "-Caption");
    }
    return keys;
}

template <class T>
void AddFormKeys(std::set<String>& Keys) {
    auto form = std::make_unique<T>(nullptr);
    const std::set<String> keys = FormKeys(form.get());
    Keys.insert(keys.begin(), keys.end());
}

// Every form of the program, in the order the program makes them.
std::set<String> EveryFormKey() {
    std::set<String> keys;
    AddFormKeys<TMainWindow>(keys);
    AddFormKeys<TOptionWindow>(keys);
    AddFormKeys<TSetupClipWindow>(keys);
    AddFormKeys<TSetupSubtitleWindow>(keys);
    AddFormKeys<TSetupMenuWindow>(keys);
    AddFormKeys<TSetupChapterWindow>(keys);
    AddFormKeys<TSetupTextWindow>(keys);
    AddFormKeys<TSetupImageWindow>(keys);
    AddFormKeys<TAboutWindow>(keys);
    AddFormKeys<TSetupDVDFileWindow>(keys);
    AddFormKeys<TCompilerWindow>(keys);
    AddFormKeys<TConvertWindow>(keys);
    AddFormKeys<TBurnWindow>(keys);
    AddFormKeys<TBuilderWindow>(keys);
    AddFormKeys<TDeviceWindow>(keys);
    return keys;
}

}  // namespace

TEST_F(ShippedLanguageTest, EnglishFileGivesTheBuiltInTexts) {
    std::vector<String> builtIn;
    for (int n = 0; n < Language::MessageCount; ++n) builtIn.push_back(Language::GetMessageText(n));
    ASSERT_TRUE(Language::LoadLanguageFile("English.ini"));
    for (int n = 0; n < Language::MessageCount; ++n) EXPECT_EQ(Language::GetMessageText(n), builtIn[static_cast<size_t>(n)]) << n;
}

// Each shipped language names every caption and hint the forms really have, and every message
// of the table, so no window mixes two languages.
TEST_F(ShippedLanguageTest, EveryLanguageIsComplete) {
    const std::set<String> wanted = EveryFormKey();
    ASSERT_GT(wanted.size(), 150u);
    // The words drawn on picture buttons are captions too.
    EXPECT_EQ(wanted.count("BuilderWindow/suiImageButton_Start-Caption"), 1u);
    EXPECT_EQ(wanted.count("DeviceWindow/suiImageButton_Start-Caption"), 1u);
    std::vector<String> files = Files();
    ASSERT_GE(files.size(), 3u);
    for (const String& name : files) {
        const std::set<String> keys = Keys(name);
        for (const String& key : wanted) EXPECT_TRUE(keys.count(key) == 1) << name << " lacks " << key;
        EXPECT_EQ(keys, Keys("English.ini")) << name;
        ASSERT_TRUE(Language::LoadLanguageFile(name)) << name;
        for (int n = 0; n < Language::MessageCount; ++n) {
            bool hasText = LanguageIni->ValueExists("Text", IntToStr(n));
            EXPECT_EQ(hasText, !String(Language::GetMessageText(n)).empty()) << name << " " << n;
        }
    }
}

// The translations are translations: beyond names and symbols, a caption or message that reads
// the same as the English one is a sign of a line left untranslated.
TEST_F(ShippedLanguageTest, TranslatedFilesDifferFromEnglish) {
    TIniFile english(ExePath + "Lang/English.ini");
    for (const String& name : {String("Deutsch.ini"), String("Francais.ini")}) {
        TIniFile other(ExePath + "Lang/" + name);
        int same = 0, words = 0;
        TStringList sections, keys;
        english.ReadSections(&sections);
        for (int s = 0; s < sections.Count(); ++s) {
            english.ReadSection(sections[s], &keys);
            for (int k = 0; k < keys.Count(); ++k) {
                const String text = english.ReadString(sections[s], keys[k], "");
                if (keys[k].find("-Font") != String::npos || Trim(text).size() < 12) continue;
                ++words;
                if (other.ReadString(sections[s], keys[k], "") == text) ++same;
            }
        }
        EXPECT_GT(words, 100) << name;
        EXPECT_LT(same * 20, words) << name << ": " << same << " of " << words << " long texts are the English ones";
    }
}

// A window in German shows German words on its buttons as well as on its labels.
TEST_F(ShippedLanguageTest, PictureButtonsTakeTheirWordsFromTheLanguage) {
    ASSERT_TRUE(Language::LoadLanguageFile("Deutsch.ini"));
    auto builder = std::make_unique<TBuilderWindow>(nullptr);
    builder->ApplyLanguage();  // as the main window applies a language to each form
    EXPECT_EQ(builder->suiImageButton_Start->GetCaption(), "Starten");
    EXPECT_EQ(builder->suiImageButton_Stop->GetCaption(), "Stopp");
    EXPECT_EQ(builder->suiImageButton_Start->GetHint(), "Starten");
}
