#include "core/Language.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <set>

#include "core/Pubfunction.h"
#include "platform/vcl/IniFiles.h"

namespace fs = std::filesystem;

namespace {

const char* const ShippedRegions =
    "[RegionCount]\nRegion=4\n"
    "[RegionLanguage]\nRegion0=English\nRegion1=French\nRegion2=Nodef\n"  // Region3 absent
    "[CharacterSet]\nEnglish=CP1252\nFrench=ISO-8859-15\n"
    "[RegionFontFileName]\nEnglish=/fonts/sans.ttf\n"
    "[LanguageCode]\nEnglish=EN\nFrench=FR\n";

const char* const UserRegions =
    "[RegionCount]\nRegion=1\n"
    "[RegionLanguage]\nRegion0=Klingon\n"
    "[CharacterSet]\nKlingon=UTF-8\nFrench=CP1252\n"
    "[RegionFontFileName]\nEnglish=Nodef\n"
    "[LanguageCode]\nKlingon=TL\n";

struct Attributes {
    String charset, font, code;
    bool operator==(const Attributes&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Attributes& a) {
    return os << a.charset << " | " << a.font << " | " << a.code;
}

Attributes Lookup(int Index) {
    return {Language::GetRegionCharacterSet(Index), Language::GetRegionFontFileName(Index),
            Language::GetRegionLanguageCode(Index)};
}

const Attributes Defaults{"ISO-8859-1", "ARIAL.TTF", "EN"};

class RegionLookupTest : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/region-XXXXXX";
        m_dir = mkdtemp(tmpl);
        m_saved = ExePath;
        ExePath = m_dir.string() + "/";
    }
    void TearDown() override {
        ExePath = m_saved;
        fs::remove_all(m_dir);
    }
    void Write(const char* Name, const char* Text) { std::ofstream(m_dir / Name) << Text; }

    fs::path m_dir;

private:
    String m_saved;
};

}  // namespace

TEST_F(RegionLookupTest, LookupsOverBothFiles) {
    Write("Language.ini", ShippedRegions);
    Write("Subtitle.ini", UserRegions);
    struct Case { int index; Attributes want; };
    for (auto c : {
             Case{0, {"CP1252", "/fonts/sans.ttf", "EN"}},  // Subtitle.ini's literal "Nodef" is no entry
             Case{1, {"CP1252", "ARIAL.TTF", "FR"}},        // Subtitle.ini's character set wins
             Case{2, Defaults},                             // a literal "Nodef" name falls through to "Other"
             Case{3, Defaults},                             // missing below the count: index -1 of Subtitle.ini
             Case{4, {"UTF-8", "ARIAL.TTF", "TL"}},         // the user's region 0
             Case{5, Defaults},                             // past both lists
             Case{-1, Defaults}, Case{INT_MIN, Defaults}, Case{INT_MAX, Defaults}})
        EXPECT_EQ(Lookup(c.index), c.want) << c.index;
}

TEST_F(RegionLookupTest, MissingFilesGiveTheDefaults) {
    for (int index : {0, 1, 4, -1}) EXPECT_EQ(Lookup(index), Defaults) << index;
}

TEST_F(RegionLookupTest, UserRegionsAloneStartAtZero) {
    Write("Subtitle.ini", UserRegions);
    EXPECT_EQ(Lookup(0), (Attributes{"UTF-8", "ARIAL.TTF", "TL"}));
    EXPECT_EQ(Lookup(1), Defaults);
}

TEST_F(RegionLookupTest, ShippedRegionsAloneUseTheirOwnDefaults) {
    Write("Language.ini", ShippedRegions);
    EXPECT_EQ(Lookup(0), (Attributes{"CP1252", "/fonts/sans.ttf", "EN"}));
    EXPECT_EQ(Lookup(1), (Attributes{"ISO-8859-15", "ARIAL.TTF", "FR"}));
    EXPECT_EQ(Lookup(4), Defaults);
}

TEST_F(RegionLookupTest, ARegionAddedByTheSettingsIsSeenAtOnce) {
    Write("Language.ini", ShippedRegions);
    EXPECT_EQ(Lookup(4), Defaults);
    TIniFile user(ExePath + "Subtitle.ini");  // as the settings dialog adds a language
    user.WriteString("RegionLanguage", "Region0", "Esperanto");
    user.WriteInteger("RegionCount", "Region", 1);
    user.WriteString("CharacterSet", "Esperanto", "ISO-8859-3");
    user.WriteString("LanguageCode", "Esperanto", "EO");
    user.WriteString("RegionFontFileName", "English", "/fonts/other.ttf");
    EXPECT_EQ(Lookup(4), (Attributes{"ISO-8859-3", "ARIAL.TTF", "EO"}));
    EXPECT_EQ(Language::GetRegionFontFileName(0), "/fonts/other.ttf");
}

// The region table that comes with the program, as copied beside the test programs.
TEST(ShippedRegionLookupTest, EveryRegionIsCompleteAndItsFontIsInstalled) {
    TIniFile shipped(ExePath + "Language.ini");
    int count = shipped.ReadInteger("RegionCount", "Region", 0);
    ASSERT_GE(count, 11);
    std::set<String> names;
    for (int i = 0; i < count; ++i) {
        String name = shipped.ReadString("RegionLanguage", "Region" + std::to_string(i), "");
        ASSERT_FALSE(name.empty()) << i;
        names.insert(name);
        for (const char* section : {"CharacterSet", "RegionFontFileName", "LanguageCode"})
            EXPECT_TRUE(shipped.ValueExists(section, name)) << name << " " << section;
        String font = Language::GetRegionFontFileName(i);
        EXPECT_TRUE(fs::is_regular_file(font)) << name << ": " << font;
        String code = Language::GetRegionLanguageCode(i);
        EXPECT_EQ(code.size(), 2u) << name;
    }
    EXPECT_EQ(names.size(), static_cast<size_t>(count));
    for (const char* must : {"English", "French", "German", "Spanish", "Italian", "Portuguese", "Dutch",
                             "Russian", "Japanese", "Chinese-S", "Korean"})
        EXPECT_TRUE(names.count(must)) << must;
}
