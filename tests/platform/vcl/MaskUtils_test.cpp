#include "platform/vcl/MaskUtils.h"

#include <gtest/gtest.h>

namespace {

TEST(MaskUtilsTest, ParsesThePictureAndTheTwoOptionFields) {
    struct Case {
        const char* mask;
        const char* blankEdit;
        bool save;
        char blank;
    } cases[] = {
        {"!90:00:00;1;_", "__:__:__", true, '_'},
        {"00/00/0000;0;*", "**/**/****", false, '*'},
        {"\\(000\\) 000", "(___) ___", true, '_'},
        {">LL<ll", "____", true, '_'},
        {"0_0", "_ _", true, '_'},
        {"a\\;b", "_;b", true, '_'},
        {"", "", true, '_'},
    };
    for (const Case& c : cases) {
        TEditMask m = ParseEditMask(c.mask);
        EXPECT_EQ(BlankEditText(m), c.blankEdit) << c.mask;
        EXPECT_EQ(m.SaveLiterals, c.save) << c.mask;
        EXPECT_EQ(m.Blank, c.blank) << c.mask;
    }
}

TEST(MaskUtilsTest, TextAndEditTextConvertBothWays) {
    struct Case {
        const char* mask;
        const char* edit;
        const char* text;
    } cases[] = {
        {"!90:00:00;1;_", "__:__:__", "  :  :  "},
        {"!90:00:00;1;_", "01:23:45", "01:23:45"},
        {"!90:00:00;1;_", "_1:02:03", " 1:02:03"},
        {"00/00;0;_", "12/3_", "123"},
        {"!99999;0;_", "___42", "42"},
        {">LL", "AB", "AB"},
    };
    for (const Case& c : cases) {
        TEditMask m = ParseEditMask(c.mask);
        EXPECT_EQ(EditTextToText(m, c.edit), c.text) << c.mask << " " << c.edit;
        EXPECT_EQ(TextToEditText(m, c.text), c.edit) << c.mask << " " << c.text;
    }
    // Case markers apply to text set from code too; what fits no place stays blank.
    EXPECT_EQ(TextToEditText(ParseEditMask(">LL"), "ab"), "AB");
    EXPECT_EQ(TextToEditText(ParseEditMask("00:00"), "1x:34"), "1_:34");
}

TEST(MaskUtilsTest, TheLeavingCheckFindsTheFirstEmptyRequiredPlace) {
    TEditMask m = ParseEditMask("!90:00:00;1;_");
    EXPECT_EQ(FirstInvalidPos(m, "__:__:__"), 1);
    EXPECT_EQ(FirstInvalidPos(m, "_1:00:00"), -1);  // '9' is optional
    EXPECT_EQ(FirstInvalidPos(m, "01:0_:00"), 4);
    EXPECT_EQ(FirstInvalidPos(m, "01:00:0_"), 7);
    EXPECT_EQ(FirstInvalidPos(ParseEditMask("99;1;_"), "__"), -1);
}

}  // namespace
