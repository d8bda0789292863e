// author.xml against golden files written from the tables of its parts, byte for byte with CR
// LF; the chapters of a title and the buttons that lead to them; the DVD folder's name; the
// authoring progress.
#include <gtest/gtest.h>

#include "production/AuthorXml.h"

#include "model/CustomClass.h"
#include "tests/libs/dozezedav/DozezedavFixture.h"
#include "tests/support/TempFolder.h"

#include <filesystem>

namespace {

using dozezedav_test::ReadText;

const String kGolden = String(TEST_SOURCE_ROOT) + "/tests/production/golden/";
const String kTemp = "/work/Temp/";

TAuthorClip Clip(int index, int lengthSec = 60) {
    TAuthorClip c;
    c.s_VobFile = "/out/OutputVOB_" + std::to_string(index) + ".vob";
    c.i_LengthSec = lengthSec;
    c.s_ChapterMenuVob = kTemp + "Chapter_" + std::to_string(index) + ".vob";
    c.s_SubtitleLang = "EN";
    return c;
}

TAuthorClip WithChapterMenu(TAuthorClip c, int trimStart, std::vector<int> times, bool music = false) {
    c.b_TitleButton = true;
    c.b_ChapterMenu = true;
    c.b_ChapterMenuVob = true;
    c.b_ChapterMusic = music;
    c.i_TrimStart = trimStart;
    c.ChapterTimes = std::move(times);
    return c;
}

TAuthorProject Project(std::vector<TAuthorClip> clips) {
    TAuthorProject p;
    p.s_Dest = "/out/DVD_DISC";
    p.s_MenuLang = "EN";
    p.s_TitleMenuVob = kTemp + "Title.vob";
    p.Clips = std::move(clips);
    return p;
}

TAuthorProject TitleMenuOnly() {
    TAuthorClip a = Clip(0), b = Clip(1);
    a.b_TitleButton = b.b_TitleButton = true;
    TAuthorProject p = Project({a, b});
    p.b_TitleMenuVob = true;
    return p;
}

TAuthorProject RootMenu() {
    TAuthorClip a = Clip(0);
    a.b_TitleButton = true;
    TAuthorProject p = Project({a});
    p.s_Dest = "/out/MY_DISC_1";
    p.s_MenuLang = "FR";
    p.i_VideoStandard = 1;
    p.i_Aspect = 2;
    p.b_RootMenuVob = true;
    p.s_RootMenuTemplate = "/opt/q/RES/MainSubNW.vob";
    p.b_TitleMenuVob = true;
    p.b_TitleMusic = true;
    p.b_BackButton = true;
    return p;
}

TAuthorProject RootMenuWithoutTitleMenu() {
    TAuthorProject p = Project({Clip(0)});
    p.b_RootMenuVob = true;
    p.s_RootMenuTemplate = "/opt/q/RES/MainSubP.vob";
    p.b_BackButton = true;
    return p;
}

TAuthorProject ChapterMenus() {
    // Clip 0: chapters at 0, 300 and 600 s after its trim start of 10 s, with menu music; clip 1
    // has none and carries German subtitles; clip 2 has chapters at 0 and 4 s.
    TAuthorClip a = WithChapterMenu(Clip(0, 900), 10, {10, 310, 610}, true);
    TAuthorClip b = Clip(1);
    b.b_TitleButton = true;
    b.b_Subtitle = true;
    b.s_SubtitleLang = "DE";
    TAuthorClip c = WithChapterMenu(Clip(2, 6), 0, {0, 4});
    TAuthorProject p = Project({a, b, c});
    p.b_TitleMenuVob = true;
    p.b_BackButton = true;
    return p;
}

TAuthorProject Escaped() {
    TAuthorClip a = Clip(0);
    a.s_VobFile = "/home/me/A & B/\"x\" <1>.vob";
    TAuthorProject p = Project({a});
    p.s_Dest = "/home/me/A & B/DVD_DISC";
    return p;
}

TAuthorProject ChaptersOutsideTrim() {
    // Trimmed to 3..11 s: a chapter before the trim and one past its end; the first kept one is
    // 2 s after the trim start.
    TAuthorProject p = Project({WithChapterMenu(Clip(0, 8), 3, {1, 5, 8, 20})});
    p.b_TitleMenuVob = true;
    return p;
}

struct AuthorCase {
    const char* file;
    TAuthorProject (*project)();
};

void PrintTo(const AuthorCase& c, std::ostream* os) { *os << c.file; }

class productionAuthorXmlGolden : public ::testing::TestWithParam<AuthorCase> {};

TEST_P(productionAuthorXmlGolden, MatchesByteForByte) {
    const AuthorCase& c = GetParam();
    const String golden = ReadText(kGolden + c.file);
    ASSERT_FALSE(golden.empty()) << c.file;
    TAuthorXml xml(c.project());
    EXPECT_EQ(xml.Text(), golden);

    testing_vcl::TTempFolder folder("author_xml");
    TAuthorXml written(c.project());
    ASSERT_TRUE(written.WriteAuthorXml(folder["author.xml"]));
    EXPECT_EQ(ReadText(folder["author.xml"]), golden);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, productionAuthorXmlGolden,
    ::testing::Values(AuthorCase{"author_no_title_menu.xml", [] { return Project({Clip(0), Clip(1)}); }},
                      AuthorCase{"author_title_menu_only.xml", TitleMenuOnly},
                      AuthorCase{"author_root_menu.xml", RootMenu},
                      AuthorCase{"author_root_menu_without_title_menu.xml", RootMenuWithoutTitleMenu},
                      AuthorCase{"author_chapter_menus.xml", ChapterMenus},
                      AuthorCase{"author_escaped.xml", Escaped},
                      AuthorCase{"author_chapters_outside_trim.xml", ChaptersOutsideTrim}),
    [](const auto& info) {
        String name = info.param.file;
        return name.substr(0, name.find('.'));
    });

TEST(productionAuthorXmlTest, WrittenPartsDecideTheLastTitlesJump) {
    TAuthorXml none(Project({Clip(0)}));
    none.Text();
    EXPECT_FALSE(none.b_VmgmWritten);
    EXPECT_FALSE(none.b_TitlesetMenusWritten);
    TAuthorXml root(RootMenu());
    root.Text();
    EXPECT_TRUE(root.b_VmgmWritten);
    EXPECT_TRUE(root.b_TitlesetMenusWritten);
}

TEST(productionAuthorXmlTest, AnUnwritablePlaceGivesFalseAndNoFile) {
    testing_vcl::TTempFolder folder("author_xml");
    TAuthorXml xml(Project({Clip(0)}));
    EXPECT_FALSE(xml.WriteAuthorXml(folder["missing/author.xml"]));
    EXPECT_FALSE(std::filesystem::exists(folder["missing/author.xml"]));
}

struct ChapterCase {
    const char* name;
    std::vector<int> times;
    int trimStart;
    int length;
    std::vector<int> written;
    std::vector<int> buttons;
    int chapters;
};

TEST(productionTitleChaptersTest, ButtonsJumpToTheChapterHoldingTheirTime) {
    const ChapterCase cases[] = {
        {"first button at the trim start merges with the leading 0", {10, 310, 610}, 10, 900, {0, 300, 600},
         {1, 2, 3}, 3},
        {"first button after the trim start", {2, 5}, 0, 8, {2, 5}, {2, 3}, 3},
        {"a time before the trim goes to chapter 1", {1, 5}, 3, 8, {2}, {1, 2}, 2},
        {"a time at or past the end goes to chapter 1", {0, 8, 9}, 0, 8, {0}, {1, 1, 1}, 1},
        {"two buttons at one time share a chapter", {4, 4}, 0, 8, {4, 4}, {2, 2}, 2},
        {"no buttons", {}, 0, 8, {}, {}, 1},
    };
    for (const ChapterCase& c : cases) {
        SCOPED_TRACE(c.name);
        const TTitleChapters t = TitleChapters(c.times, c.trimStart, c.length);
        EXPECT_EQ(t.Times, c.written);
        EXPECT_EQ(t.ButtonChapters, c.buttons);
        EXPECT_EQ(t.i_ChapterCount, c.chapters);
    }
}

TEST(productionDvdFolderTest, TakenNamesGetTheFirstFreeNumber) {
    testing_vcl::TTempFolder out("dvd_folder");
    EXPECT_EQ(ChooseDvdFolder(out.Path(), "dvd disc"), out["DVD_DISC"]);
    std::filesystem::create_directory(out["DVD_DISC"]);
    EXPECT_EQ(ChooseDvdFolder(out.Path() + "/", "DVD_DISC"), out["DVD_DISC_1"]);
    std::filesystem::create_directory(out["DVD_DISC_1"]);
    EXPECT_EQ(ChooseDvdFolder(out.Path(), "DVD_DISC"), out["DVD_DISC_2"]);
}

TEST(productionDvdFolderTest, ARelativeNameStaysInTheOutputFolder) {
    testing_vcl::TTempFolder out("dvd_folder");
    EXPECT_EQ(ChooseDvdFolder(out.Path(), "../x"), out["X"]);
    EXPECT_EQ(ChooseDvdFolder(out.Path(), "/"), out["DVD_DISC"]);
}

TEST(productionRootMenuTest, TemplatesByAspectAndStandard) {
    EXPECT_EQ(RootMenuTemplate("/p/", 1, 1), "/p/RES/MainSubN.vob");
    EXPECT_EQ(RootMenuTemplate("/p/", 1, 2), "/p/RES/MainSubP.vob");
    EXPECT_EQ(RootMenuTemplate("/p/", 2, 1), "/p/RES/MainSubNW.vob");
    EXPECT_EQ(RootMenuTemplate("/p/", 2, 2), "/p/RES/MainSubPW.vob");
    EXPECT_EQ(RootMenuTemplate("/p/", 3, 2), "");
    EXPECT_EQ(RootMenuTemplate("/p/", 1, 0), "");
}

TEST(productionRootMenuTest, WantedAndPresentTemplatesOnly) {
    testing_vcl::TTempFolder program("root_menu");
    const String prog = program.Path() + "/";
    std::filesystem::create_directory(prog + "RES");
    dozezedav_test::WriteText(prog + "RES/MainSubP.vob", "x");
    EXPECT_TRUE(HasRootMenuVob(true, true, prog, 1, 2));
    EXPECT_FALSE(HasRootMenuVob(false, true, prog, 1, 2));
    EXPECT_FALSE(HasRootMenuVob(true, false, prog, 1, 2));
    EXPECT_FALSE(HasRootMenuVob(true, true, prog, 2, 2)) << "no wide PAL template";
    EXPECT_FALSE(HasRootMenuVob(true, true, prog, 1, 1));

    EXPECT_FALSE(HasTitleMenuVob(true, prog));
    dozezedav_test::WriteText(prog + "Title.vob", "x");
    EXPECT_TRUE(HasTitleMenuVob(true, prog));
    EXPECT_FALSE(HasTitleMenuVob(false, prog));
}

TEST(productionAuthorProgressTest, PercentOfTheVobMegabytes) {
    struct {
        Int64 mb, total;
        int percent;
    } cases[] = {
        {0, 100, 0},       {50, 100, 50},      {96, 100, 96},  {120, 100, 120},
        {3, 0, 300},       {1, -5, 100},       // below 1 MB counts as 1 MB
        {30000000LL, 40000000LL, 75},          // 3e9 would overflow 32 bits
    };
    for (const auto& c : cases) EXPECT_EQ(AuthorPercent(c.mb, c.total), c.percent) << c.mb << "/" << c.total;
}

TEST(productionAuthorProgressTest, TotalOfTheClipVobsInWholeMegabytes) {
    testing_vcl::TTempFolder folder("vob_total");
    std::vector<std::unique_ptr<TClipInfo>> clips;
    std::vector<TClipInfo*> list;
    const std::pair<const char*, std::uintmax_t> files[] = {
        {"a.vob", 3ull << 30}, {"b.vob", (2ull << 20) + 5}, {"missing.vob", 0}};
    for (const auto& [name, size] : files) {
        clips.push_back(std::make_unique<TClipInfo>());
        clips.back()->s_VobFile = folder[name];
        if (size > 0) {
            dozezedav_test::WriteText(folder[name], "");
            std::filesystem::resize_file(folder[name], size);  // sparse: no 3 GB written
        }
        list.push_back(clips.back().get());
    }
    EXPECT_EQ(TotalVobMB(list), 3072 + 2);
}

TEST(productionAuthorProgressTest, TheFixingPassIsAnnouncedOnce) {
    TAuthorProgress progress;
    progress.i_TotalVobMB = 200;
    struct {
        Int64 mb;
        int percent;
        bool fix;
    } steps[] = {{10, 5, false}, {150, 75, false}, {192, 96, true}, {195, 97, false}, {100, 50, false}, {200, 100, false}};
    for (const auto& s : steps) {
        bool fix = true;
        EXPECT_EQ(progress.Show(s.mb, fix), s.percent) << s.mb;
        EXPECT_EQ(fix, s.fix) << s.mb;
    }
    TAuthorProgress empty;
    bool fix = false;
    EXPECT_EQ(empty.Show(1, fix), 100) << "less than 1 MB of VOBs counts as 1 MB";
    EXPECT_TRUE(fix);
    EXPECT_EQ(empty.i_TotalVobMB, 1);
}

}  // namespace
