// The clip's subtitles moved onto its VOB's clock: reading SRT text, the shift with its drops
// and cuts, the text written back, and the file step's three outcomes.
#include <gtest/gtest.h>

#include "production/SubtitleTiming.h"
#include "tests/libs/dozezedav/DozezedavFixture.h"
#include "tests/support/TempFolder.h"

#include <filesystem>

namespace {

using dozezedav_test::ReadText;
using dozezedav_test::WriteText;

struct Times {
    long long startMs, endMs;
    bool operator==(const Times&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Times& t) { return os << "[" << t.startMs << ", " << t.endMs << ")"; }

std::vector<Times> TimesOf(const std::vector<TSubtitleEntry>& entries) {
    std::vector<Times> times;
    for (const auto& e : entries) times.push_back({e.i_StartMs, e.i_EndMs});
    return times;
}

struct ParseCase {
    const char* name;
    const char* text;
    std::vector<Times> times;
};

void PrintTo(const ParseCase& c, std::ostream* os) { *os << c.name; }

class productionSrtParse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(productionSrtParse, ReadsTheTimedBlocks) { EXPECT_EQ(TimesOf(ParseSrt(GetParam().text)), GetParam().times); }

INSTANTIATE_TEST_SUITE_P(
    Cases, productionSrtParse,
    ::testing::Values(
        ParseCase{"Plain", "1\r\n00:00:01,000 --> 00:00:02,500\r\nHi\r\n\r\n2\r\n00:01:00,250 --> 01:00:00,000\r\nBye\r\n",
                  {{1000, 2500}, {60250, 3600000}}},
        ParseCase{"LineFeedsOnly", "1\n00:00:01,000 --> 00:00:02,000\nHi\n\n2\n00:00:03,000 --> 00:00:04,000\nYo\n",
                  {{1000, 2000}, {3000, 4000}}},
        ParseCase{"ByteOrderMark", "\xEF\xBB\xBF" "1\n00:00:01,000 --> 00:00:02,000\nHi\n", {{1000, 2000}}},
        ParseCase{"NoNumbers", "00:00:01,000 --> 00:00:02,000\nHi\n\n00:00:03,000 --> 00:00:04,000\nYo\n",
                  {{1000, 2000}, {3000, 4000}}},
        ParseCase{"DotsShortFractionsLongHours", "1\n100:00:01.5 --> 100:00:02.25 X1:10 X2:20\nHi\n",
                  {{360001500, 360002250}}},
        ParseCase{"BlankLinesWithSpaces", "1\n00:00:01,000 --> 00:00:02,000\nHi\n  \n2\n00:00:03,000 --> 00:00:04,000\nYo",
                  {{1000, 2000}, {3000, 4000}}},
        ParseCase{"BadBlocksSkipped",
                  "1\nnot a time\nHi\n\n2\n00:00:05,000 --> 00:00:04,000\nBackwards\n\n"
                  "3\n00:00:06,000 --> 00:00:06,000\nNo length\n\n4\n00:00:07,000 --> 00:00:08,000\nGood\n",
                  {{7000, 8000}}},
        ParseCase{"NotSubtitlesAtAll", "Dear diary,\ntoday nothing happened.\n", {}},
        ParseCase{"Empty", "", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(productionSrtParseTest, KeepsEveryTextLine) {
    auto entries = ParseSrt("7\r\n00:00:01,000 --> 00:00:02,000\r\nfirst line\r\n<i>second</i>\r\n");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].Lines, (std::vector<String>{"first line", "<i>second</i>"}));
}

struct ShiftCase {
    const char* name;
    int trimStartSec;
    long long lengthMs;
    std::vector<Times> in;
    std::vector<Times> out;
};

void PrintTo(const ShiftCase& c, std::ostream* os) { *os << c.name; }

class productionSubtitleShift : public ::testing::TestWithParam<ShiftCase> {};

TEST_P(productionSubtitleShift, MovesDropsAndCuts) {
    const ShiftCase& c = GetParam();
    std::vector<TSubtitleEntry> entries;
    for (const Times& t : c.in) entries.push_back({t.startMs, t.endMs, {"x"}});
    EXPECT_EQ(TimesOf(ShiftSubtitles(entries, c.trimStartSec, c.lengthMs)), c.out);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, productionSubtitleShift,
    ::testing::Values(ShiftCase{"NoTrim", 0, 10000, {{1000, 2000}, {9000, 9500}}, {{1000, 2000}, {9000, 9500}}},
                      ShiftCase{"MovedBack", 5, 10000, {{6000, 7000}}, {{1000, 2000}}},
                      ShiftCase{"EndingBeforeTheTrimDropped", 5, 10000, {{1000, 5000}, {5000, 6000}}, {{0, 1000}}},
                      ShiftCase{"StraddlingTheTrimCut", 5, 10000, {{4000, 6500}}, {{0, 1500}}},
                      ShiftCase{"StartingAtTheEndDropped", 0, 4000, {{3999, 4500}, {4000, 5000}}, {{3999, 4000}}},
                      ShiftCase{"PastTheEndCut", 2, 4000, {{5500, 9000}}, {{3500, 4000}}},
                      ShiftCase{"NothingInside", 10, 3000, {{1000, 2000}, {14000, 15000}}, {}},
                      ShiftCase{"EmptyClip", 0, 0, {{0, 1000}}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(productionSrtTextTest, NumbersFromOneWithCrLfAndPaddedTimes) {
    std::vector<TSubtitleEntry> entries{{0, 1500, {"One"}}, {3723004, 3724000, {"Two", "lines"}}};
    EXPECT_EQ(SrtText(entries), "1\r\n00:00:00,000 --> 00:00:01,500\r\nOne\r\n\r\n"
                                "2\r\n01:02:03,004 --> 01:02:04,000\r\nTwo\r\nlines\r\n\r\n");
    EXPECT_EQ(SrtTime(100 * 3600000LL + 5), "100:00:00,005");
}

class productionShiftedFile : public ::testing::Test {
protected:
    testing_vcl::TTempFolder folder_{"subtitle_timing"};
    String source_ = folder_["clip & co.srt"];
    String target_ = folder_["subtitle.srt"];
};

TEST_F(productionShiftedFile, WritesTheEntriesLeftAndKeepsTheByteOrderMark) {
    WriteText(source_, "\xEF\xBB\xBF" "1\n00:00:01,000 --> 00:00:02,000\nGone\n\n2\n00:00:12,000 --> 00:00:13,000\nStays\n");
    EXPECT_EQ(WriteShiftedSubtitles(source_, target_, 10, 60000), TSubtitleShift::Shifted);
    EXPECT_EQ(ReadText(target_), "\xEF\xBB\xBF" "1\r\n00:00:02,000 --> 00:00:03,000\r\nStays\r\n\r\n");
}

TEST_F(productionShiftedFile, NothingLeftWritesNothing) {
    WriteText(source_, "1\n00:00:01,000 --> 00:00:02,000\nBefore\n");
    EXPECT_EQ(WriteShiftedSubtitles(source_, target_, 10, 60000), TSubtitleShift::NoneLeft);
    EXPECT_FALSE(std::filesystem::exists(target_));
}

TEST_F(productionShiftedFile, UnreadableSourcesAndUnwritableTargets) {
    WriteText(source_, "just a text file named .srt\n");
    EXPECT_EQ(WriteShiftedSubtitles(source_, target_, 0, 60000), TSubtitleShift::Unreadable);
    EXPECT_EQ(WriteShiftedSubtitles(folder_["missing.srt"], target_, 0, 60000), TSubtitleShift::Unreadable);
    EXPECT_FALSE(std::filesystem::exists(target_));
    WriteText(source_, "1\n00:00:01,000 --> 00:00:02,000\nHi\n");
    EXPECT_EQ(WriteShiftedSubtitles(source_, folder_["no folder/subtitle.srt"], 0, 60000), TSubtitleShift::Unreadable);
}

}  // namespace
