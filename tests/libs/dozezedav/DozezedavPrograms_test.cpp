// The authoring library against stand-in programs put first in PATH, for the rules the real
// programs show only by accident: death by a signal, no output, an error with exit code 0,
// input left unread, programs missing, descriptors kept from the child, the megabytes of a
// run that goes through menus, titles, the fixing pass and the video manager, and one call
// of a kind at a time.
#include "tests/libs/dozezedav/DozezedavFixture.h"

#include <fcntl.h>
#include <unistd.h>

namespace {

using namespace dozezedav_test;

// The authoring stand-ins find the folder they are to make in the project they are given.
const std::string kDestOfProject = "dest=$(sed -n 's/.*<dvdauthor dest=\"\\([^\"]*\\)\".*/\\1/p' \"$2\")\n";
const std::string kMakeDisc = kDestOfProject + "mkdir -p \"$dest/VIDEO_TS\" && echo ifo > \"$dest/VIDEO_TS/VIDEO_TS.IFO\"\n";

class dozezedavPrograms : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(module_.Bound()); }

    std::string Place(const std::string& name) const { return work_[name]; }
    std::string Input() {
        std::string in = Place("clip.vob");
        fs::copy_file(Media::Get().Path("pal"), in, fs::copy_options::overwrite_existing);
        return in;
    }
    std::string MuxProject() {
        WriteText(Place("words.srt"), Srt({{"00:00:00,500 --> 00:00:02,000", "Hello"}}));
        WriteText(Place("subtitle.xml"), SubtitleXml(Place("words.srt"), "ARIAL.TTF", true));
        return Place("subtitle.xml");
    }
    std::string AuthorProject() {
        WriteText(Place("author.xml"), AuthorXml(Place("DISC"), {{Input()}}));
        return Place("author.xml");
    }

    Module module_;
    ProgramPath programs_;
    testing_vcl::TTempFolder work_{"dozezedav_programs"};
};

struct StandIn {
    const char* name;
    const char* script;   // the stand-in's body
    int expected;
};

void PrintTo(const StandIn& c, std::ostream* os) { *os << c.name; }

class dozezedavSpumuxStandIns : public dozezedavPrograms, public ::testing::WithParamInterface<StandIn> {};

TEST_P(dozezedavSpumuxStandIns, FailWithoutOutput) {
    const StandIn& c = GetParam();
    programs_.Add("spumux", c.script);
    std::string xml = MuxProject();
    std::string in = Input();
    std::string out = Place("clip_srt.vob");
    std::set<std::string> before = Names(work_.Path());
    EXPECT_EQ(module_.mux(xml.c_str(), in.c_str(), out.c_str()), c.expected) << c.name;
    EXPECT_FALSE(fs::exists(out)) << c.name;
    EXPECT_EQ(Names(work_.Path()), before) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, dozezedavSpumuxStandIns,
    ::testing::Values(
        StandIn{"ExitCode", "cat > /dev/null; cat /dev/null; exit 3", DOZEZEDAV_PROGRAM_FAILED},
        StandIn{"Killed", "head -c 100000 > /dev/null; printf 'partial'; kill -KILL $$", DOZEZEDAV_PROGRAM_KILLED},
        StandIn{"ErrorLineExitZero",
                 "cat; echo 'ERR:  something went wrong' >&2; echo 'INFO: 1 subtitles added, 0 subtitles skipped' >&2",
                 DOZEZEDAV_PROGRAM_ERROR},
        StandIn{"NothingAdded",
                 "cat; echo 'INFO: Read 1 subtitles' >&2; echo 'INFO: 0 subtitles added, 0 subtitles skipped' >&2",
                 DOZEZEDAV_NOTHING_ADDED},
        StandIn{"NoOutput", "cat > /dev/null; echo 'INFO: 1 subtitles added, 0 subtitles skipped' >&2",
                 DOZEZEDAV_NO_OUTPUT},
        StandIn{"InputLeftUnread",
                 "head -c 2048; echo 'INFO: 1 subtitles added, 0 subtitles skipped' >&2; exit 0", DOZEZEDAV_NO_OUTPUT},
        StandIn{"WrongFormatWarning",
                 "cat; echo 'WARN: attempt to update tv format from ntsc to pal; skipping' >&2;"
                 "echo 'INFO: 1 subtitles added' >&2",
                 DOZEZEDAV_WRONG_FORMAT}),
    [](const auto& info) { return std::string(info.param.name); });

class dozezedavAuthorStandIns : public dozezedavPrograms, public ::testing::WithParamInterface<StandIn> {};

TEST_P(dozezedavAuthorStandIns, FailWithoutFolder) {
    const StandIn& c = GetParam();
    programs_.Add("dvdauthor", kMakeDisc + c.script);
    std::string xml = AuthorProject();
    std::set<std::string> before = Names(work_.Path());
    EXPECT_EQ(module_.author(xml.c_str()), c.expected) << c.name;
    EXPECT_FALSE(fs::exists(Place("DISC"))) << c.name;
    EXPECT_EQ(Names(work_.Path()), before) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, dozezedavAuthorStandIns,
    ::testing::Values(StandIn{"ExitCode", "exit 1", DOZEZEDAV_PROGRAM_FAILED},
                      StandIn{"Killed", "kill -SEGV $$", DOZEZEDAV_PROGRAM_KILLED},
                      StandIn{"ErrorLineExitZero", "echo 'ERR:  no video format specified for VMGM' >&2",
                               DOZEZEDAV_PROGRAM_ERROR},
                      StandIn{"ErrorOnStandardOutput", "echo 'ERR:  said on the other channel'",
                               DOZEZEDAV_PROGRAM_ERROR},
                      StandIn{"NoOutput", "rm -r \"$dest/VIDEO_TS\"", DOZEZEDAV_NO_OUTPUT}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(dozezedavPrograms, TheReasonOfAFailureIsKeptForTheCaller) {
    programs_.Add("spumux", "cat; echo '  ERR:  Error 84 -- Invalid or incomplete multibyte or wide character  ' >&2");
    std::string xml = MuxProject();
    std::string in = Input();
    EXPECT_EQ(module_.mux(xml.c_str(), in.c_str(), Place("clip_srt.vob").c_str()), DOZEZEDAV_PROGRAM_ERROR);
    EXPECT_EQ(module_.LastFailure(DOZEZEDAV_SPUMUX),
              "spumux: ERR:  Error 84 -- Invalid or incomplete multibyte or wide character");
    programs_.Add("dvdauthor", "exit 2");
    std::string project = AuthorProject();
    EXPECT_EQ(module_.author(project.c_str()), DOZEZEDAV_PROGRAM_FAILED);
    EXPECT_EQ(module_.LastFailure(DOZEZEDAV_AUTHOR), std::string("dvdauthor: ") + module_.errorText(DOZEZEDAV_PROGRAM_FAILED));
    char small[8];
    EXPECT_EQ(module_.lastFailure(DOZEZEDAV_AUTHOR, small, sizeof small), DOZEZEDAV_PROGRAM_FAILED);
    EXPECT_STREQ(small, "dvdauth");
    programs_.Add("spumux", "cat; echo 'INFO: 1 subtitles added' >&2");
    EXPECT_EQ(module_.mux(xml.c_str(), in.c_str(), Place("clip_srt.vob").c_str()), DOZEZEDAV_OK);
    EXPECT_EQ(module_.LastFailure(DOZEZEDAV_SPUMUX), "") << "a success leaves no reason behind";
}

// Programs that stop making progress: each is ended (SIGTERM, then SIGKILL after the grace
// time) within its limits, its call fails with nothing left behind, and the reason says so.
class dozezedavHangingPrograms : public dozezedavPrograms, public ::testing::WithParamInterface<StandIn> {
protected:
    void SetUp() override {
        dozezedavPrograms::SetUp();
        module_.timeLimits(400, 300);
    }
    void TearDown() override { module_.timeLimits(0, 0); }
};

TEST_P(dozezedavHangingPrograms, AreEndedAndFail) {
    const StandIn& c = GetParam();
    const bool mux = std::string(c.name).rfind("Spumux", 0) == 0;
    programs_.Add(mux ? "spumux" : "dvdauthor", c.script);
    std::string xml = mux ? MuxProject() : AuthorProject();
    std::string in = Input();
    std::string out = Place("clip_srt.vob");
    std::set<std::string> before = Names(work_.Path());
    const auto started = std::chrono::steady_clock::now();
    const int result = mux ? module_.mux(xml.c_str(), in.c_str(), out.c_str()) : module_.author(xml.c_str());
    const auto took = std::chrono::steady_clock::now() - started;
    EXPECT_EQ(result, c.expected) << c.name;
    EXPECT_LT(took, std::chrono::seconds(8)) << c.name;
    EXPECT_FALSE(fs::exists(out));
    EXPECT_FALSE(fs::exists(Place("DISC")));
    EXPECT_EQ(Names(work_.Path()), before) << c.name;
    if (c.expected == DOZEZEDAV_STALLED) {
        EXPECT_NE(module_.LastFailure(mux ? DOZEZEDAV_SPUMUX : DOZEZEDAV_AUTHOR).find("no progress"), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, dozezedavHangingPrograms,
    ::testing::Values(StandIn{"SpumuxReadsNothing", "sleep 600", DOZEZEDAV_STALLED},
                      StandIn{"SpumuxHangsAfterItsInput", "cat > /dev/null; sleep 600", DOZEZEDAV_STALLED},
                      StandIn{"SpumuxIgnoresTerm", "trap '' TERM; cat > /dev/null; while :; do sleep 0.1; done",
                               DOZEZEDAV_STALLED},
                      StandIn{"SpumuxClosesItsEndsAndLivesOn", "cat > /dev/null; exec > /dev/null 2>&1; sleep 600",
                               DOZEZEDAV_STALLED},
                      StandIn{"AuthorHangs", "sleep 600", DOZEZEDAV_STALLED},
                      StandIn{"AuthorIgnoresTerm", "trap '' TERM; while :; do sleep 0.1; done", DOZEZEDAV_STALLED},
                      // Talking is progress: a run longer than the limit that keeps saying so goes on.
                      StandIn{"SpumuxSlowButTalking",
                               "cat; for i in 1 2 3 4 5 6 7 8 9 10 11 12; do echo 'INFO: working' >&2; sleep 0.1; done;"
                               "echo 'INFO: 1 subtitles added' >&2; exit 4",
                               DOZEZEDAV_PROGRAM_FAILED}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(dozezedavPrograms, MissingProgramsFailAtOnce) {
    std::string xml = MuxProject();
    std::string in = Input();
    std::string out = Place("clip_srt.vob");
    std::string project = AuthorProject();
    programs_.OnlyThisFolder();
    EXPECT_EQ(module_.mux(xml.c_str(), in.c_str(), out.c_str()), DOZEZEDAV_NO_PROGRAM);
    EXPECT_FALSE(fs::exists(out));
    EXPECT_EQ(module_.author(project.c_str()), DOZEZEDAV_NO_PROGRAM);
    EXPECT_FALSE(fs::exists(Place("DISC")));
}

// A descriptor this process opened without close-on-exec never reaches the child, and the
// child's standard channels are the module's own.
TEST_F(dozezedavPrograms, ChildrenGetNoDescriptorOfOurs) {
    constexpr int kOurs = 123;
    int opened = open("/dev/null", O_RDONLY);
    ASSERT_GE(opened, 0);
    ASSERT_EQ(dup2(opened, kOurs), kOurs);
    close(opened);
    std::string report = Place("descriptors.txt");
    programs_.Add("spumux", "ls /proc/$$/fd > '" + report + "'; cat; echo 'INFO: 1 subtitles added' >&2");
    std::string xml = MuxProject();
    std::string in = Input();
    std::string out = Place("clip_srt.vob");
    EXPECT_EQ(module_.mux(xml.c_str(), in.c_str(), out.c_str()), DOZEZEDAV_OK);
    close(kOurs);
    std::string listed = "\n" + ReadText(report);
    EXPECT_EQ(listed.find("\n123\n"), std::string::npos) << listed;
    EXPECT_EQ(ReadText(out), ReadText(in)) << "the stand-in copied its input to its output";
}

// dvdauthor's messages as it gives them (CR between progress updates): the title-set menu,
// the titles, their fixing pass, then the video manager's menu. Only the titles count.
TEST_F(dozezedavPrograms, MegabytesFollowTheTitlesOnly) {
    std::string one = Place("title one & 'x'.vob");
    std::string two = Place("title two.vob");
    fs::copy_file(Media::Get().Path("pal"), one);
    fs::copy_file(Media::Get().Path("pal"), two);
    std::string menu = Place("Title.vob");
    fs::copy_file(Media::Get().Path("menu"), menu);
    std::string vmgm = Place("root.vob");
    fs::copy_file(Media::Get().Path("menu"), vmgm);
    std::string log = "STAT: Picking VTS 01\n\nSTAT: Processing " + menu + "...\n" +
                      "STAT: VOBU 10 at 20MB, 1 PGCs\rSTAT: VOBU 20 at 30MB, 1 PGCs\n" +
                      "INFO: Generating VTSM with the following video attributes:\n" +
                      "STAT: Processing " + one + "...\n" + "STAT: VOBU 3 at 2MB, 1 PGCs\rSTAT: VOBU 9 at 7MB, 1 PGCs\r" +
                      "STAT: Processing " + two + "...\n" + "STAT: VOBU 14 at 11MB, 2 PGCs\rSTAT: VOBU 20 at 12MB, 2 PGCs\n" +
                      "INFO: Generating VTS with the following video attributes:\n" +
                      "STAT: fixing VOBU at 9MB (17/20, 80%)\rSTAT: fixed 20 VOBUs\n" +
                      "INFO: dvdauthor creating table of contents\nINFO: Creating menu for TOC\n" +
                      "STAT: Processing " + vmgm + "...\n" + "STAT: VOBU 10 at 40MB, 1 PGCs\n";
    std::string logFile = Place("messages.txt");
    WriteText(logFile, log);
    programs_.Add("dvdauthor", kMakeDisc + "cat '" + logFile + "' >&2");
    WriteText(Place("author.xml"), AuthorXml(Place("DISC"), {{one}, {two}}, "pal", vmgm, menu));
    CounterWatch watch(module_.megabytes());
    ASSERT_EQ(module_.author(Place("author.xml").c_str()), DOZEZEDAV_OK);
    const std::vector<int>& seen = watch.Values();
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_EQ(seen.back(), 12);
}

// The program's worker runs one mux at a time; a second call while one runs is refused and
// leaves the running call's progress alone.
TEST_F(dozezedavPrograms, OneMuxAtATime) {
    std::string go = Place("go");
    std::string started = Place("started");
    programs_.Add("spumux", "touch '" + started + "'; cat; while [ ! -e '" + go +
                                "' ]; do sleep 0.02; done; echo 'INFO: 1 subtitles added' >&2");
    std::string xml = MuxProject();
    std::string in = Input();
    std::string out = Place("clip_srt.vob");
    std::atomic<int> first{-1};
    std::thread running([&] { first = module_.mux(xml.c_str(), in.c_str(), out.c_str()); });
    // All input handed over: the stand-in now waits for the word to go on.
    // The counter still holds an earlier call's 100 until the first call resets it, which it
    // has done once its program runs.
    while ((!fs::exists(started) || std::atomic_ref<int>(*module_.percent()).load() < 100) && first.load() == -1)
        std::this_thread::yield();
    if (first.load() != -1) {
        running.join();
        FAIL() << "the first mux ended early: " << first.load();
    }
    EXPECT_EQ(module_.mux(xml.c_str(), in.c_str(), Place("second.vob").c_str()), DOZEZEDAV_BUSY);
    EXPECT_EQ(std::atomic_ref<int>(*module_.percent()).load(), 100);
    WriteText(go, "");
    running.join();
    EXPECT_EQ(first.load(), DOZEZEDAV_OK);
    EXPECT_FALSE(fs::exists(Place("second.vob")));
}

}  // namespace
