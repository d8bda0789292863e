// How a subtitle file's bytes are read: the decision per file, the UTF-16 conversion, and the
// code points a region's character set gives.
#include <gtest/gtest.h>

#include "production/SubtitleEncoding.h"

namespace {

struct EncodingCase {
    const char* name;
    std::string bytes;
    TSubtitleEncoding expected;
};

void PrintTo(const EncodingCase& c, std::ostream* os) { *os << c.name; }

class productionSubtitleEncoding : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(productionSubtitleEncoding, IsDecidedByTheBytes) {
    EXPECT_EQ(DetectSubtitleEncoding(GetParam().bytes), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, productionSubtitleEncoding,
    ::testing::Values(
        EncodingCase{"Utf8Mark", "\xEF\xBB\xBF" "Hello", TSubtitleEncoding::Utf8},
        EncodingCase{"Utf8MarkOnly", "\xEF\xBB\xBF", TSubtitleEncoding::Utf8},
        EncodingCase{"Utf8FrenchAndGreek", "\xC3\xA7" "a va \xCE\xBA\xCE\xB1\xCE\xBB\xCE\xB7", TSubtitleEncoding::Utf8},
        EncodingCase{"Utf8FourBytes", "smile \xF0\x9F\x98\x80", TSubtitleEncoding::Utf8},
        EncodingCase{"AsciiOnlyIsTheRegions", "Hello, world\r\n", TSubtitleEncoding::RegionCharset},
        EncodingCase{"Empty", "", TSubtitleEncoding::RegionCharset},
        EncodingCase{"Cp1252", "Bonjour, \xE7" "a va? \xC9l\xE8ve", TSubtitleEncoding::RegionCharset},
        EncodingCase{"Cp1253", "\xCA\xE1\xEB\xE7\xEC\xDD\xF1\xE1", TSubtitleEncoding::RegionCharset},
        EncodingCase{"Utf8CutShort", "\xC3\xA7" "a \xCE", TSubtitleEncoding::RegionCharset},
        EncodingCase{"OverlongSlash", "a \xC0\xAF b", TSubtitleEncoding::RegionCharset},
        EncodingCase{"Surrogate", "a \xED\xA0\x80 b", TSubtitleEncoding::RegionCharset},
        EncodingCase{"PastUnicode", "a \xF4\x90\x80\x80 b", TSubtitleEncoding::RegionCharset},
        EncodingCase{"Utf16LittleMark", std::string("\xFF\xFE" "A\0", 4), TSubtitleEncoding::Utf16LE},
        EncodingCase{"Utf16BigMark", std::string("\xFE\xFF\0A", 4), TSubtitleEncoding::Utf16BE},
        EncodingCase{"NulByteInAscii", std::string("a\0b", 3), TSubtitleEncoding::RegionCharset}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(productionSubtitleTextTest, Utf16BecomesUtf8InBothByteOrders) {
    String text;
    ASSERT_TRUE(SubtitleTextOf(std::string("\xFF\xFE" "A\0\xB1\x03\x3D\xD8\x00\xDE", 10), TSubtitleEncoding::Utf16LE, text));
    EXPECT_EQ(text, "A\xCE\xB1\xF0\x9F\x98\x80");
    ASSERT_TRUE(SubtitleTextOf(std::string("\xFE\xFF\0A\x03\xB1", 6), TSubtitleEncoding::Utf16BE, text));
    EXPECT_EQ(text, "A\xCE\xB1");
    EXPECT_FALSE(SubtitleTextOf(std::string("\xFF\xFE" "A\0B", 5), TSubtitleEncoding::Utf16LE, text));
    EXPECT_FALSE(SubtitleTextOf(std::string("\xFF\xFE\x3D\xD8" "A\0", 6), TSubtitleEncoding::Utf16LE, text));
    ASSERT_TRUE(SubtitleTextOf("\xEF\xBB\xBF" "ab", TSubtitleEncoding::Utf8, text));
    EXPECT_EQ(text, "ab");
}

TEST(productionSubtitleTextTest, TheCharacterSetSpumuxIsTold) {
    EXPECT_EQ(SubtitleCharacterSet(TSubtitleEncoding::Utf8, "CP1252"), "UTF-8");
    EXPECT_EQ(SubtitleCharacterSet(TSubtitleEncoding::Utf16LE, "CP1252"), "UTF-8");
    EXPECT_EQ(SubtitleCharacterSet(TSubtitleEncoding::Utf16BE, "CP1253"), "UTF-8");
    EXPECT_EQ(SubtitleCharacterSet(TSubtitleEncoding::RegionCharset, "CP1253"), "CP1253");
}

TEST(productionSubtitleTextTest, CodePointsInTheRegionsCharacterSet) {
    std::u32string points;
    ASSERT_TRUE(CodePointsOf("\xE1\xE2", "CP1253", points));
    EXPECT_EQ(points, U"\u03B1\u03B2");
    ASSERT_TRUE(CodePointsOf("\xE7" "a", "CP1252", points));
    EXPECT_EQ(points, U"\u00E7a");
    EXPECT_FALSE(CodePointsOf("\xE7", "NO-SUCH-SET", points));
    EXPECT_FALSE(CodePointsOf("\xCE", "UTF-8", points));
}

}  // namespace
