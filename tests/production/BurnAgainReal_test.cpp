// Burning again with the real module on a file as a drive: a second run in one showing of the
// burn-only window (after the eject that ends every burn), a burn after an eject by hand, and a
// second Builder run onto the file the first one burnt. Each image must hold the second folder,
// read back through libdvdread; the images stay in build/e2e/burn/ for a person to open.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "model/CustomClass.h"
#include "core/Pubfunction.h"
#include "disc/Cdvddevice.h"
#include "disc/StarBurnSdk.h"
#include "disc/Starburn_control.h"
#include "productionwindows/Builder_Window.h"
#include "productionwindows/Burn_Window.h"
#include "tests/support/DvdRead.h"
#include "tests/support/ScriptedInteraction.h"
#include "tests/support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

const fs::path kKeep = fs::path(TEST_PEER_DIR) / ".." / ".." / "e2e" / "burn";

bool ToolsThere() {
    return std::system("command -v ffmpeg >/dev/null && command -v dvdauthor >/dev/null && "
                       "command -v genisoimage >/dev/null") == 0;
}

// An authored folder of one-second titles at <Folder>/VIDEO_TS; false when the tools failed.
bool MakeDvdFolder(const std::string& Folder, int Titles) {
    std::error_code ignored;
    fs::remove_all(Folder, ignored);
    fs::create_directories(Folder);
    const std::string clip = Folder + "/../clip.mpg";
    if (std::system(("ffmpeg -nostdin -loglevel error -y -f lavfi -i testsrc=size=720x480:rate=30000/1001 -t 1 "
                     "-target ntsc-dvd '" + clip + "'").c_str()) != 0)
        return false;
    std::string titles;
    for (int i = 0; i < Titles; ++i) titles += " -t '" + clip + "'";
    return std::system(("VIDEO_FORMAT=NTSC dvdauthor -o '" + Folder + "'" + titles + " >/dev/null 2>&1").c_str()) ==
               0 &&
           std::system(("VIDEO_FORMAT=NTSC dvdauthor -o '" + Folder + "' -T >/dev/null 2>&1").c_str()) == 0;
}

// The titles libdvdread finds on a burnt image, -1 when it cannot open it.
int TitlesOnImage(const std::string& Image) {
    testing_vcl::TDvdRead dvdread;
    if (!dvdread.Ready()) return -1;
    dvd_reader_t* disc = dvdread.open(Image.c_str());
    if (!disc) return -1;
    int titles = -1;
    if (ifo_handle_t* vmg = dvdread.ifo(disc, 0)) {
        if (vmg->tt_srpt) titles = vmg->tt_srpt->nr_of_srpts;
        dvdread.ifoFree(vmg);
    }
    dvdread.close(disc);
    return titles;
}

void Keep(const std::string& Image, const std::string& Name) {
    fs::create_directories(kKeep);
    fs::copy_file(Image, kKeep / Name, fs::copy_options::overwrite_existing);
}

// The real module with one file as the only drive, found by name.
class burnAgainReal : public ::testing::Test {
protected:
    void SetUp() override {
        if (!ToolsThere()) GTEST_SKIP();
        byName_ = b_UseSTPI;
        b_UseSTPI = true;
        g_i_BurnerIndex = 0;
        setenv("STARBURN_DRIVES", ("stdio:" + image_).c_str(), 1);
        Win32_UnregisterModule("starburn.dll");
        StarBurnSdkUnload();
    }
    void TearDown() override {
        unsetenv("STARBURN_DRIVES");
        b_UseSTPI = byName_;
        CDevice::Devices().clear();
        Pubfunction::ClearClipInfo();
    }
    static std::vector<String> Lines(TStrings* Log) {
        std::vector<String> lines;
        for (int i = 0; i < Log->Count(); ++i) lines.push_back(Log->Strings(i));
        return lines;
    }
    static String LastLine(TStrings* Log) { return Log->Count() > 0 ? Log->Strings(Log->Count() - 1) : String(); }

    bool byName_ = false;
    testing_vcl::TTempFolder work_{"burn again"};
    std::string image_ = work_["disc.iso"];
    testing_vcl::TScriptedInteraction ask_;
    testing_vcl::TInstallInteraction installed_{ask_};
};

TEST_F(burnAgainReal, TheBurnOnlyWindowBurnsTwiceInOneShowing) {
    const std::string dvd = work_["DVD_DISC"];
    ASSERT_TRUE(MakeDvdFolder(dvd, 1));
    auto window = std::make_unique<TBurnWindow>(nullptr);
    window->SetBurnMode();
    window->SetBurnSource(true, dvd + "/VIDEO_TS/", 1);
    window->Show();
    ASSERT_EQ(window->suiComboBox_Drive->GetItems()->Count(), 1);
    window->suiImageButton_StartClick(nullptr);
    EXPECT_EQ(LastLine(window->Memo_Msg->GetLines()), "<<< Process finish");
    ASSERT_EQ(TitlesOnImage(image_), 1);

    // The folder is authored anew in the same place; the file drive holds the first image and
    // was ejected by the burn that wrote it.
    ASSERT_TRUE(MakeDvdFolder(dvd, 2));
    window->suiImageButton_StartClick(nullptr);
    const std::vector<String> log = Lines(window->Memo_Msg->GetLines());
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[log.size() - 2], "<<< Burn DVD disc finish");
    EXPECT_EQ(log.back(), "<<< Process finish");
    EXPECT_EQ(ask_.Questions.size(), 0u) << "a file drive with an image is ready to be written over";
    window->Hide();
    window.reset();
    EXPECT_EQ(TitlesOnImage(image_), 2) << "the image holds the second folder";
    Keep(image_, "burn_window_second_run.iso");
}

TEST_F(burnAgainReal, TheFacadeBurnsAgainAfterAnEject) {
    const std::string first = work_["first"], second = work_["second"];
    ASSERT_TRUE(MakeDvdFolder(first, 1));
    ASSERT_TRUE(MakeDvdFolder(second, 2));
    InitBurner(nullptr);
    ASSERT_TRUE(FindDevices(true, true));
    for (const std::string& folder : {first, second}) {
        SCOPED_TRACE(folder);
        ASSERT_EQ(SelectDevice(0), SELECT_DEVICE_READY);
        GetFolderSize(folder + "/VIDEO_TS");
        EXPECT_GT(GetDiscFreeBytes(), 4.0e9) << "written over as a whole";
        SetBurnSpeed(0);
        EXPECT_TRUE(BurnDVD());
        EXPECT_TRUE(EjectDisc());
    }
    UninitBurner();
    EXPECT_EQ(TitlesOnImage(image_), 2);
    Keep(image_, "facade_after_eject.iso");
}

// One Builder run with Clips clips of two seconds, burnt to the file drive.
void RunBuilder(testing_vcl::TTempFolder& Work, int Clips, const String& OutputFolder) {
    Pubfunction::ClearClipInfo();
    for (int i = 0; i < Clips; ++i) {
        const std::string clip = Work["clip" + std::to_string(i) + ".mp4"];
        ASSERT_TRUE(testing_vcl::Ffmpeg("-f lavfi -i testsrc2=size=320x240:rate=25:duration=2 -f lavfi "
                                        "-i sine=frequency=440:duration=2 -c:v libx264 -pix_fmt yuv420p -c:a aac "
                                        "-shortest",
                                        clip));
        auto* record = new TClipInfo();
        record->s_FileName = clip;
        record->i_Duration = 2;
        record->i_TrimEnd = 2;
        record->i_DisplayWidth = 320;
        record->i_DisplayHeight = 240;
        record->d_AspectRatio = 4.0 / 3;
        ClipInfo.push_back(record);
    }
    g_s_OutputFolder = OutputFolder;
    auto window = std::make_unique<TBuilderWindow>(nullptr);
    window->i_Aspect = 1;
    window->b_TitleMenu = false;
    window->b_RootMenu = false;
    window->SetBuildMode();
    window->Show();
    ASSERT_EQ(window->suiComboBox_Drive->GetItems()->Count(), 1);
    window->suiImageButton_StartClick(nullptr);
    TStrings* log = window->Memo_Msg->GetLines();
    ASSERT_GE(log->Count(), 1);
    EXPECT_EQ(log->Strings(log->Count() - 1), "<<< Process finish");
    window->Hide();
}

TEST_F(burnAgainReal, ASecondBuilderRunBurnsOntoTheFileTheFirstBurnt) {
    RunBuilder(work_, 1, work_.Path() + "/out1/");
    ASSERT_EQ(TitlesOnImage(image_), 1);
    RunBuilder(work_, 2, work_.Path() + "/out2/");
    EXPECT_EQ(ask_.Questions.size(), 0u);
    EXPECT_EQ(TitlesOnImage(image_), 2) << "the image holds the second run's disc";
    Keep(image_, "builder_second_run.iso");
}

}  // namespace
