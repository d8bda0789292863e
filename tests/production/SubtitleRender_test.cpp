// What a player shows of a clip's subtitles, from the files users have: each file goes through
// the Builder window's subtitle step with the real authoring module, spumux and fonts; FFmpeg
// decodes the muxed sub-picture, and the picture must equal, pixel for pixel, the same words
// muxed from plain UTF-8 in the same font, a font that holds every glyph of the words. The
// same words read in the wrong character set give another picture, so the comparison sees a
// wrong reading.
#include <gtest/gtest.h>

#include "model/CustomClass.h"
#include "core/Pubfunction.h"
#include "libs/fontfile/FontFile.h"
#include "productionwindows/Builder_Window.h"
#include "production/SubtitleEncoding.h"
#include "tests/libs/dozezedav/DozezedavFixture.h"
#include "tests/support/TempFolder.h"

#include <iconv.h>
#include <regex>

namespace {

using namespace dozezedav_test;

constexpr int kComicRegion = 22;    // Subtitle.ini's region 0, after Language.ini's 22
constexpr int kFrenchRegion = 1;    // CP1252
constexpr int kGreekRegion = 19;    // CP1253
const char* const kComicFont = "/usr/share/fonts/opentype/comic-neue/ComicNeue-Regular.otf";

// UTF-8 text in another character set.
std::string Encoded(const std::string& Utf8, const char* Charset) {
    iconv_t converter = iconv_open(Charset, "UTF-8");
    std::string in = Utf8;
    std::string out(in.size() * 4 + 8, '\0');
    char* from = in.data();
    char* to = out.data();
    std::size_t fromLeft = in.size(), toLeft = out.size();
    const bool ok = iconv(converter, &from, &fromLeft, &to, &toLeft) != static_cast<std::size_t>(-1);
    iconv_close(converter);
    EXPECT_TRUE(ok) << Charset;
    out.resize(out.size() - toLeft);
    return out;
}

std::string Entry(const std::string& Words) { return "1\r\n00:00:00,500 --> 00:00:03,500\r\n" + Words + "\r\n"; }

std::string ShownAtTwoSeconds(const std::string& Vob) { return ShownAt(Vob, 50); }

std::string XmlAttribute(const std::string& Xml, const std::string& Name) {
    std::smatch found;
    const std::regex attribute(Name + "=\"([^\"]*)\"");
    return std::regex_search(Xml, found, attribute) ? found[1].str() : "";
}

std::u32string CodePoints(const std::string& Utf8) {
    std::u32string points;
    EXPECT_TRUE(CodePointsOf(Utf8, "UTF-8", points));
    return points;
}

struct RenderCase {
    const char* name;
    std::string bytes;     // the file as the user has it
    int region;
    const char* charset;   // what spumux must be told
    std::string words;     // what the player must show, UTF-8
};

void PrintTo(const RenderCase& c, std::ostream* os) { *os << c.name; }

const std::string kFrench = "Bonjour, \xC3\xA7" "a va? \xC3\x89l\xC3\xA8ve";
const std::string kGreek = "\xCE\x9A\xCE\xB1\xCE\xBB\xCE\xB7\xCE\xBC\xCE\xAD\xCF\x81\xCE\xB1 \xCE\xBA\xCF\x8C\xCF\x83\xCE\xBC\xCE\xB5";
const std::string kMixed = "\xC3\x89l\xC3\xA8ve \xCE\xBA\xCF\x8C\xCF\x83\xCE\xBC\xCE\xB5";

class productionSubtitleRender : public ::testing::TestWithParam<RenderCase> {
protected:
    static void SetUpTestSuite() {
        clip_ = new testing_vcl::TTempFolder("subtitle_render_clip");
        made_ = testing_vcl::Ffmpeg("-f lavfi -i testsrc=s=720x576:r=25:d=4 -f lavfi -i sine=d=4:sample_rate=48000 "
                                    "-target pal-dvd -aspect 4:3",
                                    (*clip_)["clip.vob"]);
    }
    static void TearDownTestSuite() {
        delete clip_;
        clip_ = nullptr;
    }
    void SetUp() override {
        if (!made_ || std::system("command -v spumux >/dev/null") != 0) GTEST_SKIP() << "ffmpeg and spumux are needed";
        ASSERT_TRUE(fs::exists(kComicFont)) << "tools/setup.sh installs fonts-comic-neue";
        savedExePath_ = ExePath;
        fs::copy_file(fs::path(TEST_PEER_DIR) / "Language.ini", program_["Language.ini"]);
        WriteText(program_["Subtitle.ini"], std::string("[RegionCount]\nRegion=1\n[RegionLanguage]\nRegion0=Comic\n"
                                                        "[CharacterSet]\nComic=CP1252\n[RegionFontFileName]\nComic=") +
                                                kComicFont + "\n[LanguageCode]\nComic=EN\n");
        ExePath = program_.Path() + "/";
        g_s_OutputFolder = out_.Path() + "/";
    }
    void TearDown() override {
        Pubfunction::ClearClipInfo();
        if (!savedExePath_.empty()) ExePath = savedExePath_;
    }
    // The clip's VOB after the window's subtitle step; the step's subtitle.xml in Xml.
    std::string MuxThroughTheWindow(const RenderCase& c, std::string& Xml) {
        const std::string vob = out_["OutputVOB_0.vob"];
        fs::copy_file((*clip_)["clip.vob"], vob, fs::copy_options::overwrite_existing);
        WriteText(src_["film.srt"], c.bytes);
        auto* clip = new TClipInfo();
        clip->s_FileName = src_["film.mp4"];
        clip->i_Duration = 4;
        clip->i_TrimEnd = 4;
        clip->s_VobFile = vob;
        clip->s_SubtitleFile = src_["film.srt"];
        clip->i_SubtitleLanguageIndex = c.region;
        clip->i_SubtitleFontSize = 28;
        ClipInfo.push_back(clip);
        TBuilderWindow window(nullptr);
        window.SetBuildMode();
        window.SetConvertParameters();
        window.EnterBusyState();
        EXPECT_TRUE(window.MuxSubtitles()) << window.Memo_Msg->GetLines()->GetText();
        window.EnterIdleState(-1);
        Xml = ReadText(window.s_TempFolder + "subtitle.xml");
        return vob;
    }
    // The words muxed straight from UTF-8 (or read as Charset) in Font.
    std::string Reference(const std::string& Words, const std::string& Font, const std::string& Charset = "UTF-8") {
        WriteText(src_["reference.srt"], Entry(Words));
        std::string xml = SubtitleXml(src_["reference.srt"], Font, true);
        xml = std::regex_replace(xml, std::regex("characterset=\"UTF-8\""), "characterset=\"" + Charset + "\"");
        WriteText(src_["reference.xml"], xml);
        const std::string vob = src_["reference.vob"];
        fs::copy_file((*clip_)["clip.vob"], vob, fs::copy_options::overwrite_existing);
        EXPECT_EQ(module_.mux(src_["reference.xml"].c_str(), vob.c_str(), vob.c_str()), DOZEZEDAV_OK);
        return ShownAtTwoSeconds(vob);
    }

    static testing_vcl::TTempFolder* clip_;
    static bool made_;
    Module module_;
    String savedExePath_;
    testing_vcl::TTempFolder program_{"subtitle_render_program"};
    testing_vcl::TTempFolder out_{"subtitle_render_out"};
    testing_vcl::TTempFolder src_{"subtitle_render_src"};
};

testing_vcl::TTempFolder* productionSubtitleRender::clip_ = nullptr;
bool productionSubtitleRender::made_ = false;

TEST_P(productionSubtitleRender, ThePlayerShowsTheWordsInTheirOwnLetters) {
    const RenderCase& c = GetParam();
    std::string xml;
    const std::string shown = ShownAtTwoSeconds(MuxThroughTheWindow(c, xml));
    EXPECT_EQ(XmlAttribute(xml, "characterset"), c.charset);
    const std::string font = XmlAttribute(xml, "font");
    ASSERT_FALSE(font.empty()) << xml;
    EXPECT_EQ(font.front(), '/') << "an absolute font file: " << font;
    EXPECT_TRUE(fs::exists(font)) << font;
    EXPECT_EQ(fontfile::MissingGlyphs(font, CodePoints(c.words)), U"") << font;
    ASSERT_EQ(shown.size(), 720u * 576u);
    EXPECT_GT(Ink(shown), 300) << "the line is drawn";
    EXPECT_TRUE(shown == Reference(c.words, font)) << "the picture differs from the words in " << font;
}

INSTANTIATE_TEST_SUITE_P(
    Files, productionSubtitleRender,
    ::testing::Values(
        RenderCase{"Utf8WithoutMark", Entry(kFrench + " " + kGreek), kFrenchRegion, "UTF-8", kFrench + " " + kGreek},
        RenderCase{"Utf8WithMark", "\xEF\xBB\xBF" + Entry(kFrench), kFrenchRegion, "UTF-8", kFrench},
        RenderCase{"Utf16LittleEndian", "\xFF\xFE" + Encoded(Entry(kFrench + " " + kGreek), "UTF-16LE"), kFrenchRegion,
                   "UTF-8", kFrench + " " + kGreek},
        RenderCase{"Utf16BigEndian", "\xFE\xFF" + Encoded(Entry(kGreek), "UTF-16BE"), kGreekRegion, "UTF-8", kGreek},
        RenderCase{"Cp1252FrenchRegion", Encoded(Entry(kFrench), "CP1252"), kFrenchRegion, "CP1252", kFrench},
        RenderCase{"Cp1253GreekRegion", Encoded(Entry(kGreek), "CP1253"), kGreekRegion, "CP1253", kGreek},
        RenderCase{"MixedLatinAndGreekUnderALatinOnlyFont", Entry(kMixed), kComicRegion, "UTF-8", kMixed}),
    [](const auto& info) { return std::string(info.param.name); });

// The comparison sees a wrong reading: the UTF-8 bytes read as CP1252 draw another picture.
TEST_F(productionSubtitleRender, AWrongReadingDrawsAnotherPicture) {
    const std::string font = fontfile::ResolveFontFile("LiberationSans-Regular.ttf");
    ASSERT_FALSE(font.empty());
    EXPECT_FALSE(Reference(kFrench, font) == Reference(kFrench, font, "CP1252"));
}

// A Latin region's own font is kept when it has every glyph of the file.
TEST_F(productionSubtitleRender, TheRegionsFontStaysWhenItHasTheGlyphs) {
    std::string xml;
    MuxThroughTheWindow(RenderCase{"LatinUnderComic", Entry("Bonjour, " + kFrench), kComicRegion, "UTF-8", ""}, xml);
    EXPECT_EQ(XmlAttribute(xml, "font"), kComicFont);
}

}  // namespace
