// The Language page's rules: list positions against region indexes, and the names Load takes.
#include "core/UserLanguage.h"

#include <gtest/gtest.h>

using namespace UserLanguage;

namespace {

TEST(UserLanguage, PositionsAgainstRegionIndexes) {
    // Language.ini with 3 regions, Subtitle.ini with 2: regions 3 and 4 are positions 0 and 1.
    struct {
        int position, region;
    } const both[] = {{0, 3}, {1, 4}};
    for (const auto& c : both) {
        EXPECT_EQ(SubtitlePositionToRegion(c.position, 3), c.region);
        EXPECT_EQ(RegionToSubtitlePosition(c.region, 3, 2), c.position);
    }
    EXPECT_EQ(SubtitlePositionToRegion(-1, 3), -1);
    for (int region : {-1, 0, 2, 5, 99}) EXPECT_EQ(RegionToSubtitlePosition(region, 3, 2), -1) << region;
    EXPECT_EQ(RegionToSubtitlePosition(0, 0, 1), 0) << "without Language.ini the numberings agree";
}

TEST(UserLanguage, FirstRunLooksInTheDvdLanguageList) {
    const std::vector<String> menu = {"English", "French", "German"};
    EXPECT_EQ(FirstRunRegion(menu, "German"), 2);
    EXPECT_EQ(FirstRunRegion(menu, "Klingon"), 0);
    EXPECT_EQ(FirstRunRegion({}, "German"), 0);
}

TEST(UserLanguage, NamesLoadTakes) {
    struct {
        const char* typed;
        TNameCheck check;
        const char* name;
    } const cases[] = {
        {"Esperanto", TNameCheck::Usable, "Esperanto"},
        {"  Old Norse \t", TNameCheck::Usable, "Old Norse"},
        {"\r\nTamil\n", TNameCheck::Usable, "Tamil"},
        {"", TNameCheck::Empty, ""},
        {" \t ", TNameCheck::Empty, ""},
        {"Key=Value", TNameCheck::Refused, "Key=Value"},
        {"[Section]", TNameCheck::Refused, "[Section]"},
        {"Half]", TNameCheck::Refused, "Half]"},
        {"Note;", TNameCheck::Refused, "Note;"},
        {"Two\nLines", TNameCheck::Refused, "Two\nLines"},
        {"Nodef", TNameCheck::Refused, "Nodef"},
        {" others ", TNameCheck::Refused, "others"},
        {"OTHER", TNameCheck::Refused, "OTHER"},
        {"Other Tongue", TNameCheck::Usable, "Other Tongue"},
    };
    for (const auto& c : cases) {
        String name = "unchanged";
        EXPECT_EQ(CheckLanguageName(c.typed, name), c.check) << c.typed;
        EXPECT_EQ(name, c.name) << c.typed;
    }
}

}  // namespace
