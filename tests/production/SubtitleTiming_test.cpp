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

TEST_F(productionShiftedFile, AUnicodeCopyIsUtf8WithoutTheMark) {
    WriteText(source_, "\xEF\xBB\xBF" "1\n00:00:01,000 --> 00:00:02,000\nGone\n\n2\n00:00:12,000 --> 00:00:13,000\n\xC3\xA7" "a\n");
    const TSubtitleCopy copy = WriteShiftedSubtitles(source_, target_, 10, 60000, 40);
    EXPECT_EQ(copy.Result, TSubtitleShift::Shifted);
    EXPECT_EQ(copy.Encoding, TSubtitleEncoding::Utf8);
    EXPECT_EQ(ReadText(target_), "1\r\n00:00:02,000 --> 00:00:03,000\r\n\xC3\xA7" "a\r\n\r\n");
    EXPECT_EQ(copy.Text, ReadText(target_));
}

TEST_F(productionShiftedFile, AUtf16CopyIsUtf8) {
    const std::string text = "1\r\n00:00:01,000 --> 00:00:02,000\r\n\xCE\xB1\xCE\xB2\r\n";
    for (bool big : {false, true}) {
        std::string bytes = big ? "\xFE\xFF" : "\xFF\xFE";
        for (unsigned char c : std::string("1\r\n00:00:01,000 --> 00:00:02,000\r\n")) bytes += big ? std::string{'\0', char(c)} : std::string{char(c), '\0'};
        bytes += big ? std::string("\x03\xB1\x03\xB2", 4) : std::string("\xB1\x03\xB2\x03", 4);
        bytes += big ? std::string("\0\r\0\n", 4) : std::string("\r\0\n\0", 4);
        WriteText(source_, bytes);
        const TSubtitleCopy copy = WriteShiftedSubtitles(source_, target_, 0, 60000, 40);
        EXPECT_EQ(copy.Result, TSubtitleShift::Shifted) << big;
        EXPECT_EQ(copy.Encoding, big ? TSubtitleEncoding::Utf16BE : TSubtitleEncoding::Utf16LE);
        EXPECT_EQ(ReadText(target_), text + "\r\n") << big;
    }
}

TEST_F(productionShiftedFile, ARegionFileKeepsItsBytes) {
    WriteText(source_, "1\n00:00:01,000 --> 00:00:02,000\n\xE1\xE2\n");   // CP1253 alpha beta
    const TSubtitleCopy copy = WriteShiftedSubtitles(source_, target_, 0, 60000, 40);
    EXPECT_EQ(copy.Encoding, TSubtitleEncoding::RegionCharset);
    EXPECT_EQ(ReadText(target_), "1\r\n00:00:01,000 --> 00:00:02,000\r\n\xE1\xE2\r\n\r\n");
}

TEST_F(productionShiftedFile, NothingLeftWritesNothing) {
    WriteText(source_, "1\n00:00:01,000 --> 00:00:02,000\nBefore\n");
    EXPECT_EQ(WriteShiftedSubtitles(source_, target_, 10, 60000, 40).Result, TSubtitleShift::NoneLeft);
    EXPECT_FALSE(std::filesystem::exists(target_));
}

TEST_F(productionShiftedFile, UnreadableSourcesAndUnwritableTargets) {
    for (const std::string& bytes : {std::string("just a text file named .srt\n"), std::string("\xFF\xFE" "1\0\n", 5),
                                    std::string("\0\x01\x02\xFF garbage", 12)}) {
        WriteText(source_, bytes);
        EXPECT_EQ(WriteShiftedSubtitles(source_, target_, 0, 60000, 40).Result, TSubtitleShift::Unreadable);
    }
    EXPECT_EQ(WriteShiftedSubtitles(folder_["missing.srt"], target_, 0, 60000, 40).Result, TSubtitleShift::Unreadable);
    EXPECT_FALSE(std::filesystem::exists(target_));
    WriteText(source_, "1\n00:00:01,000 --> 00:00:02,000\nHi\n");
    EXPECT_EQ(WriteShiftedSubtitles(source_, folder_["no folder/subtitle.srt"], 0, 60000, 40).Result,
              TSubtitleShift::Unreadable);
}

// Four thousand entries, one every 5 ms, over the 20 s of a clip: what reaches spumux holds
// no entry shorter than a frame and none overlapping, so no more than one entry per frame.
TEST_F(productionShiftedFile, ADenseFileComesOutAtMostOneEntryPerFrame) {
    std::string text;
    for (int i = 0; i < 4000; ++i) {
        text += std::to_string(i + 1) + "\n" + SrtTime(i * 5) + " --> " + SrtTime(i * 5 + (i % 3 == 0 ? 3 : 60)) + "\nLine " +
                std::to_string(i) + "\n\n";
    }
    WriteText(source_, text);
    const TSubtitleCopy copy = WriteShiftedSubtitles(source_, target_, 0, 20000, 40);
    ASSERT_EQ(copy.Result, TSubtitleShift::Shifted);
    const std::vector<TSubtitleEntry> written = ParseSrt(ReadText(target_));
    EXPECT_LE(written.size(), 20000u / 40u);
    for (std::size_t i = 0; i < written.size(); ++i) {
        EXPECT_GE(written[i].i_EndMs - written[i].i_StartMs, 40);
        if (i > 0) {
            EXPECT_GE(written[i].i_StartMs, written[i - 1].i_EndMs);
        }
        EXPECT_LE(written[i].Lines.size(), 6u);
    }
}

// Files nobody means to make still end with a clear result and a copy spumux can hold: 200,000
// entries in 50 MB, times past a day, reversed and negative times, one line of 100,000 letters.
TEST_F(productionShiftedFile, OddFilesEndClearly) {
    struct Case { const char* name; std::string text; TSubtitleShift result; std::size_t mostEntries; };
    std::string huge;
    const std::string words(250, 'w');
    for (int i = 0; i < 200000; ++i)
        huge += std::to_string(i + 1) + "\n" + SrtTime(i * 5) + " --> " + SrtTime(i * 5 + 80) + "\n" + words + "\n\n";
    const Case cases[] = {
        {"TwoHundredThousandEntriesInFiftyMegabytes", huge, TSubtitleShift::Shifted, 20000 / 40},
        {"PastADay", "1\n25:00:00,000 --> 25:00:01,000\nLate\n", TSubtitleShift::NoneLeft, 0},
        {"Reversed", "1\n00:00:05,000 --> 00:00:01,000\nBack\n", TSubtitleShift::Unreadable, 0},
        {"Negative", "1\n-00:00:01,000 --> 00:00:02,000\nMinus\n", TSubtitleShift::Unreadable, 0},
        {"OneLongLine", "1\n00:00:01,000 --> 00:00:02,000\n" + std::string(100000, 'x') + "\n", TSubtitleShift::Shifted, 1},
    };
    for (const Case& c : cases) {
        WriteText(source_, c.text);
        std::filesystem::remove(target_);
        const TSubtitleCopy copy = WriteShiftedSubtitles(source_, target_, 0, 20000, 40);
        EXPECT_EQ(copy.Result, c.result) << c.name;
        if (c.result != TSubtitleShift::Shifted) continue;
        const std::vector<TSubtitleEntry> written = ParseSrt(ReadText(target_));
        EXPECT_GE(written.size(), 1u) << c.name;
        EXPECT_LE(written.size(), c.mostEntries) << c.name;
    }
    EXPECT_GE(huge.size(), 50u * 1000 * 1000);
}

struct TidyCase {
    const char* name;
    std::vector<TSubtitleEntry> in;
    std::vector<TSubtitleEntry> out;
};

void PrintTo(const TidyCase& c, std::ostream* os) { *os << c.name; }

class productionTidySubtitles : public ::testing::TestWithParam<TidyCase> {};

TEST_P(productionTidySubtitles, MergesOverlapsAndDropsWhatNoFrameShows) {
    const std::vector<TSubtitleEntry> tidy = TidySubtitles(GetParam().in, 40);
    ASSERT_EQ(tidy.size(), GetParam().out.size());
    for (std::size_t i = 0; i < tidy.size(); ++i) {
        EXPECT_EQ(tidy[i].i_StartMs, GetParam().out[i].i_StartMs) << i;
        EXPECT_EQ(tidy[i].i_EndMs, GetParam().out[i].i_EndMs) << i;
        EXPECT_EQ(tidy[i].Lines, GetParam().out[i].Lines) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, productionTidySubtitles,
    ::testing::Values(
        TidyCase{"ApartStayAsTheyAre", {{0, 1000, {"a"}}, {1000, 2000, {"b"}}}, {{0, 1000, {"a"}}, {1000, 2000, {"b"}}}},
        TidyCase{"ShorterThanAFrameGoes", {{0, 39, {"a"}}, {100, 140, {"b"}}}, {{100, 140, {"b"}}}},
        TidyCase{"OverlapJoinsWithBothLines", {{0, 3000, {"a"}}, {2000, 5000, {"b"}}}, {{0, 5000, {"a", "b"}}}},
        TidyCase{"InsideAnotherJoinsIt", {{0, 5000, {"a"}}, {1000, 2000, {"a", "c"}}}, {{0, 5000, {"a", "c"}}}},
        TidyCase{"OutOfOrderSorted", {{5000, 6000, {"b"}}, {0, 1000, {"a"}}}, {{0, 1000, {"a"}}, {5000, 6000, {"b"}}}},
        TidyCase{"AtMostSixLines",
                 {{0, 9000, {"1", "2", "3"}}, {100, 9000, {"4", "5"}}, {200, 9000, {"6", "7", "8"}}},
                 {{0, 9000, {"1", "2", "3", "4", "5", "6"}}}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
