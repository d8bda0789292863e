// subtitle.xml against golden files written from the table of its lines, byte for byte with
// CR LF, and a written file muxed by the real authoring library: an escaped path reaches
// spumux, and the shifted subtitles land at their shifted times.
#include <gtest/gtest.h>

#include "libs/fontfile/FontFile.h"
#include "production/SubtitleMux.h"
#include "production/SubtitleTiming.h"
#include "tests/libs/dozezedav/DozezedavFixture.h"
#include "tests/support/TempFolder.h"

#include <cmath>

namespace {

using dozezedav_test::ReadText;

const String kGolden = String(TEST_SOURCE_ROOT) + "/tests/production/golden/";

struct GoldenCase {
    const char* file;
    TSubtitleXmlValues values;
};

void PrintTo(const GoldenCase& c, std::ostream* os) { *os << c.file; }

class productionSubtitleXmlGolden : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(productionSubtitleXmlGolden, MatchesByteForByte) {
    const GoldenCase& c = GetParam();
    String golden = ReadText(kGolden + c.file);
    ASSERT_FALSE(golden.empty()) << c.file;
    EXPECT_EQ(SubtitleXmlText(c.values), golden);

    testing_vcl::TTempFolder folder("subtitle_xml");
    ASSERT_TRUE(WriteSubtitleXml(folder["subtitle.xml"], c.values));
    EXPECT_EQ(ReadText(folder["subtitle.xml"]), golden);
}

const String kFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

INSTANTIATE_TEST_SUITE_P(
    Cases, productionSubtitleXmlGolden,
    ::testing::Values(
        GoldenCase{"subtitle_pal.xml", {"/work/Temp/subtitle.srt", "ISO-8859-1", 20, kFont, 2}},
        GoldenCase{"subtitle_ntsc.xml", {"/work/Temp/subtitle.srt", "UTF-8", 24, kFont, 1}},
        GoldenCase{"subtitle_font0.xml", {"/work/Temp/subtitle.srt", "UTF-8", 20, SubtitleFontFile("0"), 2}},
        GoldenCase{"subtitle_escaped.xml",
                   {"/home/me/A & B/\"best\" <cut>.srt", "UTF-8", 20, "/fonts/Tom & Jerry.ttf", 2}}),
    [](const auto& info) {
        String name = info.param.file;
        return name.substr(0, name.find('.'));
    });

TEST(productionSubtitleFontFileTest, FallsBackToArialWhenTheRegionNamesNoFont) {
    EXPECT_EQ(SubtitleFontFile(""), "ARIAL.TTF");
    EXPECT_EQ(SubtitleFontFile("0"), "ARIAL.TTF");
    EXPECT_EQ(SubtitleFontFile("/fonts/simsun.ttc"), "/fonts/simsun.ttc");
}

TEST(productionSubtitleXmlWriteTest, AnUnwritablePlaceGivesFalse) {
    testing_vcl::TTempFolder folder("subtitle_xml");
    TSubtitleXmlValues values{"a.srt", "UTF-8", 20, "ARIAL.TTF", 2};
    EXPECT_FALSE(WriteSubtitleXml(folder["no such folder/subtitle.xml"], values));
    EXPECT_FALSE(WriteSubtitleXml(folder.Path(), values)) << "a folder is in the way";
}

// The font handed to spumux is an absolute file with every glyph the text uses: the region's
// own when it has them, another of the system's when it lacks some, the region's when none has.
TEST(productionSubtitleFontTest, HasEveryGlyphOfTheText) {
    const String comic = "/usr/share/fonts/opentype/comic-neue/ComicNeue-Regular.otf";
    ASSERT_TRUE(std::filesystem::exists(comic)) << "tools/setup.sh installs fonts-comic-neue";
    struct Case { const char* name; String region; std::u32string text; bool regionKept; };
    const Case cases[] = {
        {"LatinInALatinFont", comic, U"Bonjour, \u00E7a va", true},
        {"GreekInALatinFont", comic, U"\u00C9l\u00E8ve \u03BA\u03CC\u03C3\u03BC\u03B5", false},
        {"BareNameOfTheDefault", "0", U"Hello", false},
        {"NoGlyphAnywhere", comic, U"\U000F0000", true},
        {"ControlCharactersNeedNone", comic, U"a\r\n\tb\uFEFF", true},
    };
    for (const Case& c : cases) {
        const String font = SubtitleFontFor(c.region, c.text);
        ASSERT_FALSE(font.empty()) << c.name;
        EXPECT_EQ(font.front(), '/') << c.name << ": " << font;
        EXPECT_TRUE(std::filesystem::exists(font)) << c.name << ": " << font;
        EXPECT_EQ(font == comic, c.regionKept) << c.name << ": " << font;
        if (std::string(c.name) != "NoGlyphAnywhere") {
            EXPECT_EQ(fontfile::MissingGlyphs(font, c.text), U"") << c.name;
        }
    }
}

double StartSeconds(const String& path, const char* streams) {
    String text = dozezedav_test::Capture(String("ffprobe -v error -select_streams ") + streams +
                                          " -show_entries packet=pts_time -of csv=p=0 " +
                                          dozezedav_test::ShellWord(path) + " | head -n 1");
    return text.empty() ? -1.0 : std::atof(text.c_str());
}

// A clip trimmed at 2 s: its VOB (here 4 s long) starts at the trim start. An entry before
// the trim goes, one at 3 s shows at 1 s, one past the end is cut to it; all through a folder
// whose name needs escaping in the XML.
TEST(productionSubtitleMuxRealTest, ShiftedSubtitlesMuxAtTheirShiftedTimes) {
    dozezedav_test::Module module;
    ASSERT_TRUE(module.Bound());
    testing_vcl::TTempFolder root("subtitle_mux");
    String folder = root["Tom & \"Jerry\" <1>"];
    ASSERT_TRUE(std::filesystem::create_directory(folder));
    String vob = folder + "/OutputVOB_0.vob";
    ASSERT_TRUE(testing_vcl::Ffmpeg("-f lavfi -i testsrc=s=720x576:r=25:d=4 -f lavfi -i sine=d=4:sample_rate=48000 "
                                    "-target pal-dvd -aspect 4:3",
                                    vob));
    String source = folder + "/film & more.srt";
    dozezedav_test::WriteText(source, "1\r\n00:00:00,500 --> 00:00:01,500\r\nBefore the trim\r\n\r\n"
                                      "2\r\n00:00:03,000 --> 00:00:04,000\r\nFirst shown\r\n\r\n"
                                      "3\r\n00:00:05,500 --> 00:00:09,000\r\nCut at the end\r\n");
    String srt = folder + "/subtitle.srt";
    ASSERT_EQ(WriteShiftedSubtitles(source, srt, 2, 4000, 40).Result, TSubtitleShift::Shifted);
    String xml = folder + "/subtitle.xml";
    ASSERT_TRUE(WriteSubtitleXml(xml, {srt, "UTF-8", 20, SubtitleFontFile("0"), 2}));
    String out = folder + "/OutputVOB_0_srt.vob";

    ASSERT_EQ(module.mux(xml.c_str(), vob.c_str(), out.c_str()), DOZEZEDAV_OK);

    double video = StartSeconds(out, "v");
    double subtitle = StartSeconds(out, "s");
    ASSERT_GE(video, 0.0);
    ASSERT_GE(subtitle, 0.0);
    EXPECT_LT(std::fabs(subtitle - video - 1.0), 0.1) << "video " << video << ", subtitle " << subtitle;
}

}  // namespace
