// The authoring library over the real spumux and dvdauthor, on clips made here with FFmpeg:
// muxes and authored discs read back, every failure rule the real programs can show, paths
// that need care, and the progress counters read from another thread.
#include "tests/libs/dozezedav/DozezedavFixture.h"

#include "tests/support/DvdRead.h"

namespace {

using namespace dozezedav_test;

class dozezedavTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(module_.Bound()) << "dozezedav.so beside the test program"; }

    std::string Place(const std::string& name) const { return work_[name]; }
    std::string Copy(const std::string& media, const std::string& name) {
        fs::copy_file(Media::Get().Path(media), Place(name), fs::copy_options::overwrite_existing);
        return Place(name);
    }
    std::string Write(const std::string& name, const std::string& text) {
        WriteText(Place(name), text);
        return Place(name);
    }
    std::string SubtitleFile(const std::string& name = "words.srt") {
        return Write(name, Srt({{"00:00:00,500 --> 00:00:02,000", "Hello & welcome"},
                                {"00:00:02,500 --> 00:00:03,500", "Second line"}}));
    }

    Module module_;
    testing_vcl::TTempFolder work_{"dozezedav_test"};
};

// ---- spumux_main ------------------------------------------------------------------------

struct MuxCase {
    const char* name;
    const char* clip;
    bool palProject;
    const char* font;
};

void PrintTo(const MuxCase& c, std::ostream* os) { *os << c.name; }

class dozezedavMuxSubtitles : public dozezedavTest, public ::testing::WithParamInterface<MuxCase> {};

TEST_P(dozezedavMuxSubtitles, AddsASubpictureStreamAndLeavesNothingElse) {
    const MuxCase& c = GetParam();
    std::string in = Copy(c.clip, "clip.vob");
    std::string xml = Write("subtitle.xml", SubtitleXml(SubtitleFile(), c.font, c.palProject));
    std::string out = Place("clip_srt.vob");
    std::set<std::string> before = Names(work_.Path());

    EXPECT_EQ(module_.mux(xml.c_str(), in.c_str(), out.c_str()), DOZEZEDAV_OK);

    std::vector<std::string> codecs = StreamCodecs(out);
    EXPECT_NE(std::find(codecs.begin(), codecs.end(), "dvd_subtitle"), codecs.end()) << c.name;
    EXPECT_NE(std::find(codecs.begin(), codecs.end(), "mpeg2video"), codecs.end()) << c.name;
    EXPECT_GT(FirstSubpictureSeconds(out), 0.0);
    before.insert("clip_srt.vob");
    EXPECT_EQ(Names(work_.Path()), before) << "only the output is new";
    EXPECT_EQ(*module_.percent(), 100);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, dozezedavMuxSubtitles,
    ::testing::Values(MuxCase{"PAL", "pal", true, "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"},
                      MuxCase{"NTSC", "ntsc", false, "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"},
                      MuxCase{"WindowsFontName", "pal", true, "ARIAL.TTF"},
                      MuxCase{"FontFileNameOnly", "ntsc", false, "DejaVuSans.ttf"},
                      // The format comes from the video itself, whatever the project declares.
                      MuxCase{"NtscProjectOverPal", "pal", false, "ARIAL.TTF"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(dozezedavTest, MuxesMenuButtons) {
    std::string in = Copy("menu", "Title.vob");
    std::string xml = Write("Title.xml", ButtonXml(Media::Get().Path("highlight"), Media::Get().Path("select")));
    std::string out = Place("Title_sub.vob");
    ASSERT_EQ(module_.mux(xml.c_str(), in.c_str(), out.c_str()), DOZEZEDAV_OK);
    std::vector<std::string> codecs = StreamCodecs(out);
    EXPECT_NE(std::find(codecs.begin(), codecs.end(), "dvd_subtitle"), codecs.end());
}

TEST_F(dozezedavTest, MuxOverItsOwnInputReplacesIt) {
    std::string in = Copy("pal", "clip.vob");
    std::string xml = Write("subtitle.xml", SubtitleXml(SubtitleFile(), "ARIAL.TTF", true));
    ASSERT_EQ(module_.mux(xml.c_str(), in.c_str(), in.c_str()), DOZEZEDAV_OK);
    std::vector<std::string> codecs = StreamCodecs(in);
    EXPECT_NE(std::find(codecs.begin(), codecs.end(), "dvd_subtitle"), codecs.end());
}

// Blanks, both quotes, "&" and letters beyond ASCII in every path: the programs get them as
// they are, never through a shell.
TEST_F(dozezedavTest, PathsPassUnchanged) {
    fs::path folder = fs::path(work_.Path()) / "my \"dvd\" 'clips' & 100%41 Ünïcödé ✓";
    ASSERT_TRUE(fs::create_directories(folder));
    std::string in = (folder / "clip one & 'two'.vob").string();
    fs::copy_file(Media::Get().Path("pal"), in);
    std::string srt = (folder / "sub \"titles\" & é.srt").string();
    WriteText(srt, ReadText(SubtitleFile()));
    std::string xml = (folder / "sub title.xml").string();
    WriteText(xml, SubtitleXml(srt, "ARIAL.TTF", true));
    std::string out = (folder / "clip one & 'two'_srt.vob").string();

    ASSERT_EQ(module_.mux(xml.c_str(), in.c_str(), out.c_str()), DOZEZEDAV_OK);
    std::vector<std::string> codecs = StreamCodecs(out);
    EXPECT_NE(std::find(codecs.begin(), codecs.end(), "dvd_subtitle"), codecs.end());

    std::string dest = (folder / "DVD \"DISC\" & 'é'").string();
    std::string project = (folder / "author & co.xml").string();
    WriteText(project, AuthorXml(dest, {{out}, {in}}));
    ASSERT_EQ(module_.author(project.c_str()), DOZEZEDAV_OK);
    EXPECT_TRUE(fs::is_regular_file(fs::path(dest) / "VIDEO_TS" / "VIDEO_TS.IFO"));
    testing_vcl::TDvdRead dvd;
    ASSERT_TRUE(dvd.Ready());
    dvd_reader_t* reader = dvd.open(dest.c_str());
    ASSERT_NE(reader, nullptr);
    ifo_handle_t* vmg = dvd.ifo(reader, 0);
    ASSERT_NE(vmg, nullptr);
    EXPECT_EQ(vmg->tt_srpt->nr_of_srpts, 2);
    dvd.ifoFree(vmg);
    dvd.close(reader);
}

TEST_F(dozezedavTest, MuxPercentRisesToOneHundredAndNeverFalls) {
    std::string in = Copy("big", "big.vob");
    std::string xml = Write("subtitle.xml", SubtitleXml(SubtitleFile(), "ARIAL.TTF", true));
    std::string out = Place("big_srt.vob");
    CounterWatch watch(module_.percent());
    ASSERT_EQ(module_.mux(xml.c_str(), in.c_str(), out.c_str()), DOZEZEDAV_OK);
    std::vector<int> seen = watch.Values();
    // Until the call resets it, the counter may still hold an earlier call's 100.
    auto reset = std::find(seen.begin(), seen.end(), 0);
    ASSERT_NE(reset, seen.end()) << "the call starts from 0";
    seen.erase(seen.begin(), reset);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end())) << "the percent fell";
    EXPECT_EQ(seen.back(), 100);
}

// Every way a mux fails that the real spumux shows, with its exit code 0 or not: a result
// other than 0, no output, and a file already at the output's place left as it was.
struct MuxFailure {
    const char* name;
    const char* clip;      // copied as the input; "" for a missing input
    const char* project;   // "text", "notsrt", "nosrt", "buttons", "nomask", "crowded", "broken"
    int expected;
};

void PrintTo(const MuxFailure& c, std::ostream* os) { *os << c.name; }

class dozezedavMuxFailures : public dozezedavTest, public ::testing::WithParamInterface<MuxFailure> {
protected:
    std::string Project(const std::string& kind) {
        const std::string missing = Place("missing.srt");
        if (kind == "text") return SubtitleXml(SubtitleFile(), "ARIAL.TTF", true);
        if (kind == "notsrt") return SubtitleXml(Write("notes.srt", "just some notes\nnothing timed\n"), "ARIAL.TTF", true);
        if (kind == "nosrt") return SubtitleXml(missing, "ARIAL.TTF", true);
        if (kind == "buttons") return ButtonXml(Media::Get().Path("highlight"), Media::Get().Path("select"));
        if (kind == "nomask") return ButtonXml(Place("no_such_mask.png"), Media::Get().Path("select"));
        if (kind == "crowded") return ButtonXml(Media::Get().Path("crowded"), Media::Get().Path("select"));
        return "<subpictures><stream><textsub filename=\"a & b.srt\"/></stream></subpictures>";
    }
};

TEST_P(dozezedavMuxFailures, FailAndLeaveNoOutput) {
    const MuxFailure& c = GetParam();
    std::string in = *c.clip ? Copy(c.clip, "clip.vob") : Place("clip.vob");
    std::string xml = Write("subtitle.xml", Project(c.project));
    std::string out = Write("clip_srt.vob", "an older file");
    std::set<std::string> before = Names(work_.Path());

    EXPECT_EQ(module_.mux(xml.c_str(), in.c_str(), out.c_str()), c.expected)
        << c.name << ": " << module_.errorText(c.expected);

    EXPECT_EQ(ReadText(out), "an older file") << c.name;
    EXPECT_EQ(Names(work_.Path()), before) << c.name << ": nothing left behind";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, dozezedavMuxFailures,
    ::testing::Values(MuxFailure{"SubtitleFileMissing", "pal", "nosrt", DOZEZEDAV_PROGRAM_FAILED},
                      MuxFailure{"TextFileNamedSrt", "pal", "notsrt", DOZEZEDAV_PROGRAM_FAILED},
                      // spumux exits 0 with output on these two.
                      MuxFailure{"MaskMissing", "menu", "nomask", DOZEZEDAV_PROGRAM_ERROR},
                      MuxFailure{"CannotPickButtonMasks", "menu", "crowded", DOZEZEDAV_PROGRAM_ERROR},
                      // A bare video stream has a sequence header, but no packs to mux into.
                      MuxFailure{"BareVideoStream", "es", "text", DOZEZEDAV_NOTHING_ADDED},
                      MuxFailure{"ButtonsIntoBareVideoStream", "es", "buttons", DOZEZEDAV_NOTHING_ADDED},
                      MuxFailure{"InputNotMpeg", "noise", "text", DOZEZEDAV_NOT_MPEG},
                      MuxFailure{"InputMissing", "", "text", DOZEZEDAV_NOT_MPEG},
                      MuxFailure{"ProjectNotXml", "pal", "broken", DOZEZEDAV_BAD_PROJECT}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(dozezedavTest, MuxRefusesMissingArguments) {
    std::string in = Copy("pal", "clip.vob");
    EXPECT_EQ(module_.mux(nullptr, in.c_str(), in.c_str()), DOZEZEDAV_BAD_ARGUMENT);
    EXPECT_EQ(module_.mux("", in.c_str(), in.c_str()), DOZEZEDAV_BAD_ARGUMENT);
    EXPECT_EQ(module_.mux(in.c_str(), nullptr, in.c_str()), DOZEZEDAV_BAD_ARGUMENT);
    EXPECT_EQ(module_.mux(in.c_str(), in.c_str(), ""), DOZEZEDAV_BAD_ARGUMENT);
    EXPECT_EQ(module_.author(nullptr), DOZEZEDAV_BAD_ARGUMENT);
}

// ---- author_main ------------------------------------------------------------------------

// Menus in the video manager and the title set, and titles bigger than the title-set menu but
// smaller than the video manager's: the counter follows the titles only and never falls.
TEST_F(dozezedavTest, AuthorsADiscThatReadsBackAndCountsTitleMegabytes) {
    std::string one = Copy("big", "one.vob");
    std::string two = Copy("big", "two.vob");
    std::string rootMenu = Copy("big", "root menu.vob");
    rootMenu = Copy("big", "root menu.vob");
    std::string titleMenu = Copy("menu", "Title.vob");
    std::string dest = Place("DVD_DISC");
    std::string xml = Write("author.xml", AuthorXml(dest, {{one, "0, 00:00:00.00, 00:00:02.00"}, {two}}, "pal",
                                                    rootMenu, titleMenu));
    std::set<std::string> before = Names(work_.Path());
    // A stray variable of the user's must not change the disc's format.
    setenv("VIDEO_FORMAT", "NTSC", 1);
    CounterWatch watch(module_.megabytes());
    int result = module_.author(xml.c_str());
    unsetenv("VIDEO_FORMAT");
    ASSERT_EQ(result, DOZEZEDAV_OK);

    const std::vector<int>& seen = watch.Values();
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end())) << "the megabytes fell";
    auto titleBytes = fs::file_size(fs::path(dest) / "VIDEO_TS" / "VTS_01_1.VOB");
    int titleMb = static_cast<int>(titleBytes >> 20);
    EXPECT_GE(seen.back(), titleMb - 1);
    EXPECT_LE(seen.back(), titleMb);

    before.insert("DVD_DISC");
    EXPECT_EQ(Names(work_.Path()), before) << "only the disc folder is new";
    testing_vcl::TDvdRead dvd;
    ASSERT_TRUE(dvd.Ready());
    dvd_reader_t* reader = dvd.open(dest.c_str());
    ASSERT_NE(reader, nullptr);
    ifo_handle_t* vmg = dvd.ifo(reader, 0);
    ASSERT_NE(vmg, nullptr);
    EXPECT_EQ(vmg->tt_srpt->nr_of_srpts, 2);
    EXPECT_EQ(vmg->tt_srpt->title[0].nr_of_ptts, 2);
    EXPECT_EQ(vmg->vmgi_mat->vmgm_video_attr.video_format, 1) << "PAL";
    dvd.ifoFree(vmg);
    ifo_handle_t* vts = dvd.ifo(reader, 1);
    ASSERT_NE(vts, nullptr);
    EXPECT_EQ(vts->vtsi_mat->vts_video_attr.video_format, 1) << "PAL";
    EXPECT_NE(vts->pgci_ut, nullptr) << "the title-set menu is there";
    dvd.ifoFree(vts);
    dvd.close(reader);
}

// The program's project without a title menu: an empty video manager, which dvdauthor can
// only make when it is told the format.
TEST_F(dozezedavTest, AuthorsWithAnEmptyVideoManager) {
    for (const char* standard : {"pal", "ntsc"}) {
        std::string vob = Copy(standard, std::string(standard) + ".vob");
        std::string dest = Place(std::string("DISC_") + standard);
        std::string xml = Write("author.xml", AuthorXml(dest, {{vob}}, standard));
        EXPECT_EQ(module_.author(xml.c_str()), DOZEZEDAV_OK) << standard;
        EXPECT_TRUE(fs::is_regular_file(fs::path(dest) / "VIDEO_TS" / "VIDEO_TS.IFO")) << standard;
    }
}

TEST_F(dozezedavTest, AuthorsIntoAnEmptyFolderAndAMissingParent) {
    std::string vob = Copy("pal", "clip.vob");
    std::string empty = Place("EMPTY");
    fs::create_directory(empty);
    std::string xml = Write("author.xml", AuthorXml(empty + "/", {{vob}}));
    EXPECT_EQ(module_.author(xml.c_str()), DOZEZEDAV_OK);
    EXPECT_TRUE(fs::is_regular_file(fs::path(empty) / "VIDEO_TS" / "VIDEO_TS.IFO"));

    std::string deep = Place("new/output/DISC");
    xml = Write("author.xml", AuthorXml(deep, {{vob}}));
    EXPECT_EQ(module_.author(xml.c_str()), DOZEZEDAV_OK);
    EXPECT_TRUE(fs::is_regular_file(fs::path(deep) / "VIDEO_TS" / "VIDEO_TS.IFO"));
}

// Every way an authoring run fails that the real dvdauthor shows: a result other than 0, no
// destination folder, nothing left beside it, and what was there before untouched.
struct AuthorFailure {
    const char* name;
    const char* project;   // "ntscoverpal", "missingvob", "wrongroot", "nodest", "taken", "file", "broken"
    int expected;
};

void PrintTo(const AuthorFailure& c, std::ostream* os) { *os << c.name; }

class dozezedavAuthorFailures : public dozezedavTest, public ::testing::WithParamInterface<AuthorFailure> {};

TEST_P(dozezedavAuthorFailures, FailAndLeaveNoFolder) {
    const AuthorFailure& c = GetParam();
    std::string vob = Copy("pal", "clip.vob");
    std::string dest = Place("DVD_DISC");
    std::string kind = c.project;
    std::string xml;
    if (kind == "ntscoverpal") xml = AuthorXml(dest, {{vob}}, "ntsc");
    if (kind == "missingvob") xml = AuthorXml(dest, {{vob}, {Place("gone.vob")}});
    if (kind == "wrongroot") xml = "<project dest=\"" + dest + "\"><vmgm/></project>";
    if (kind == "nodest") xml = "<dozezedav><vmgm/></dozezedav>";
    if (kind == "broken") xml = "<dozezedav dest=\"" + dest + "\"><vmgm></dozezedav>";
    if (kind == "taken" || kind == "file") xml = AuthorXml(dest, {{vob}});
    if (kind == "taken") {
        fs::create_directories(fs::path(dest) / "VIDEO_TS");
        WriteText(dest + "/VIDEO_TS/VTS_01_1.VOB", "an older disc");
    }
    if (kind == "file") WriteText(dest, "a file");
    std::string project = Write("author.xml", xml);
    std::set<std::string> before = Names(work_.Path());

    EXPECT_EQ(module_.author(project.c_str()), c.expected) << c.name << ": " << module_.errorText(c.expected);

    EXPECT_EQ(Names(work_.Path()), before) << c.name << ": nothing left behind";
    if (kind == "taken") {
        EXPECT_EQ(Names(dest + "/VIDEO_TS"), std::set<std::string>{"VTS_01_1.VOB"});
        EXPECT_EQ(ReadText(dest + "/VIDEO_TS/VTS_01_1.VOB"), "an older disc");
    } else if (kind == "file") {
        EXPECT_EQ(ReadText(dest), "a file");
    } else {
        EXPECT_FALSE(fs::exists(dest)) << c.name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, dozezedavAuthorFailures,
    ::testing::Values(  // dvdauthor exits 0 with a disc that plays wrong.
        AuthorFailure{"NtscDeclaredOverPal", "ntscoverpal", DOZEZEDAV_WRONG_FORMAT},
        AuthorFailure{"VobMissing", "missingvob", DOZEZEDAV_PROGRAM_FAILED},
        AuthorFailure{"WrongRoot", "wrongroot", DOZEZEDAV_BAD_PROJECT},
        AuthorFailure{"NoDest", "nodest", DOZEZEDAV_BAD_PROJECT},
        AuthorFailure{"ProjectNotXml", "broken", DOZEZEDAV_BAD_PROJECT},
        // A second run into the same folder would add a second title set beside the first.
        AuthorFailure{"DestNotEmpty", "taken", DOZEZEDAV_DEST_TAKEN},
        AuthorFailure{"DestIsAFile", "file", DOZEZEDAV_DEST_TAKEN}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(dozezedavTest, ErrorTextsNameEveryResult) {
    for (int code = DOZEZEDAV_OK; code <= DOZEZEDAV_STALLED; ++code) {
        EXPECT_STRNE(module_.errorText(code), module_.errorText(-1)) << code;
    }
}

}  // namespace
