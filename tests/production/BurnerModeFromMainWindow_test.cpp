// The Burner mode as a person runs it, on the real burning module: the main window's Burner
// button, the source page's Folder and Burn, Start in the burn window; a file given to libburn
// as a drive ("stdio:") receives the disc, which libdvdread then reads.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "model/CustomClass.h"
#include "core/Language.h"
#include "app/Main_Window.h"
#include "app/Option_Window.h"
#include "core/Pubfunction.h"
#include "app/SetupDVDFile_Window.h"
#include "disc/Cdvddevice.h"
#include "disc/StarBurnSdk.h"
#include "disc/Starburn_control.h"
#include "platform/vcl/SysUtils.h"
#include "platform/win32/Windows.h"
#include "productionwindows/Burn_Window.h"
#include "tests/support/DvdRead.h"
#include "tests/support/ScriptedInteraction.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestHelpers.h"

namespace fs = std::filesystem;

namespace {

const fs::path kDistRes = fs::path(TEST_PEER_DIR) / ".." / ".." / "dist" / "RES";
// A folder of its own: the burn tests beside it keep their images in e2e/burn/ too.
const fs::path kE2e = fs::path(TEST_PEER_DIR) / ".." / ".." / "e2e" / "burn" / "burner_mode";
// A single-layer disc as the pseudo-drive reports it.
constexpr std::int64_t kDvd5Bytes = 2295104LL * 2048;
constexpr std::int64_t kHeadroom = 52428800;

bool Shell(const std::string& Command) { return std::system(Command.c_str()) == 0; }

std::vector<String> Lines(TProductionWindow* Window) {
    std::vector<String> out;
    for (int i = 0; i < Window->Memo_Msg->GetLines()->Count(); ++i) out.push_back(Window->Memo_Msg->GetLines()->Strings(i));
    return out;
}

class burnerModeEndToEnd : public ::testing::Test {
protected:
    // The settings window chooses a work folder on a first run: in a scratch home, never the real one.
    testing_vcl::TScratchHome scratch;
    testing_vcl::TTempFolder dir{"burnermode"};
    testing_vcl::TTempFolder work{"burnermode_work"};
    String savedExePath = ExePath;
    testing_vcl::TScriptedInteraction ask;
    std::unique_ptr<testing_vcl::TInstallInteraction> installed;
    std::string drive;

    void SetUp() override {
        ExePath = dir.Path() + "/";
        fs::copy(kDistRes, dir["RES"], fs::copy_options::recursive);
        // Burners found by their device names: the way a file given as a drive is found.
        std::ofstream(dir["Option.ini"]) << "[Option]\nUseDefault=0\nUseSPTI=1\n";
        UILanguage.clear();
        // The image is made in the work folder, never beside the kept disc.
        setenv("TMPDIR", work.Path().c_str(), 1);
        Win32_UnregisterModule("starburn.dll");
        StarBurnSdkUnload();
        installed = std::make_unique<testing_vcl::TInstallInteraction>(ask);
        ask.ModalTimeoutMs = 240000;
    }
    void TearDown() override {
        BurnWindow = nullptr;
        delete burn;
        SetupDVDFileWindow = nullptr;
        delete page;
        Pubfunction::ClearClipInfo();
        delete OptionWindow;
        OptionWindow = nullptr;
        delete MainWindow;
        MainWindow = nullptr;
        Pubfunction::FreeSharedBitmaps();
        installed.reset();
        UninitBurner();
        // The burning module stays loaded, as in the program: libburn keeps what it set up once.
        CDevice::Devices().clear();
        unsetenv("STARBURN_DRIVES");
        unsetenv("TMPDIR");
        ExePath = savedExePath;
        // The page made the program folder current; it goes with the test.
        SetCurrentDir(ExePath);
    }
    // The windows as start-up makes them, with the drive file as the only burner.
    void CreateWindows(const std::string& DriveFile) {
        drive = DriveFile;
        setenv("STARBURN_DRIVES", ("stdio:" + drive).c_str(), 1);
        g_i_BurnerIndex = -1;
        MainWindow = new TMainWindow(nullptr);
        MainWindow->AfterConstruction();
        OptionWindow = new TOptionWindow(nullptr);
        OptionWindow->AfterConstruction();
        OptionWindow->OnDestroy = nullptr;
        page = new TSetupDVDFileWindow(nullptr);
        page->AfterConstruction();
        SetupDVDFileWindow = page;
        burn = new TBurnWindow(nullptr);
        BurnWindow = burn;
    }
    // Two titles authored by dvdauthor from FFmpeg clips; the VIDEO_TS folder, "" when the
    // tools failed.
    std::string AuthorFolder() {
        const std::string dvd = work["dvd"];
        for (const char* name : {"one", "two"}) {
            const std::string clip = work[std::string(name) + ".mpg"];
            if (!testing_vcl::Ffmpeg("-f lavfi -i testsrc=d=1 -f lavfi -i sine=d=1 -shortest -b:v 800k -target ntsc-dvd", clip))
                return "";
            if (!Shell("VIDEO_FORMAT=NTSC dvdauthor -o '" + dvd + "' -t '" + clip + "' >/dev/null 2>&1")) return "";
        }
        if (!Shell("VIDEO_FORMAT=NTSC dvdauthor -o '" + dvd + "' -T >/dev/null 2>&1")) return "";
        return dvd + "/VIDEO_TS";
    }
    // Scripts the whole road from the Burner button: the folder chosen on the page, Burn, Start
    // in the burn window (its answers to the boxes in MessageAnswers).
    void RunBurnerMode(const std::string& Folder) {
        ask.ModalActions.push_back([&, Folder](TCustomForm* Form) {
            ASSERT_EQ(Form, SetupDVDFileWindow);
            ask.DirectoryAnswers.push_back(String(Folder));
            testing_vcl::Click(page->suiImageButton_Folder);
            ASSERT_TRUE(page->b_FolderMode);
            testing_vcl::Click(page->suiImageButton_Burn);
            Form->Close();
        });
        ask.ModalActions.push_back([&](TCustomForm* Form) {
            ASSERT_EQ(Form, BurnWindow);
            burn->suiImageButton_StartClick(nullptr);
            log = Lines(burn);
            progress = burn->Label_Progress2->GetCaption();
            Form->Close();
        });
        testing_vcl::Click(MainWindow->suiImageButton_Burner);
    }

    TSetupDVDFileWindow* page = nullptr;
    TBurnWindow* burn = nullptr;
    std::vector<String> log;
    String progress;
};

TEST_F(burnerModeEndToEnd, AnAuthoredFolderIsBurnedOntoAPseudoDriveThatLibdvdreadReads) {
    const std::string folder = AuthorFolder();
    ASSERT_FALSE(folder.empty()) << "ffmpeg or dvdauthor failed";
    fs::remove_all(kE2e);
    fs::create_directories(kE2e);
    CreateWindows((fs::canonical(kE2e) / "burner_mode.iso").string());
    RunBurnerMode(folder);

    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log.front(), "Check DVD disc >>>");
    EXPECT_EQ(log.at(1), "Inserted media : DVD-RAM");
    EXPECT_EQ(log[log.size() - 2], "<<< Burn DVD disc finish");
    EXPECT_EQ(log.back(), "<<< Process finish") << [&] {
        String all;
        for (const String& line : log) all += line + "\n";
        return all;
    }();
    EXPECT_EQ(progress, "100 %");
    EXPECT_TRUE(ask.Of(testing_vcl::TQuestionKind::MessageBox).empty());
    EXPECT_EQ(ask.Of(testing_vcl::TQuestionKind::ShowModal).size(), 2u);
    EXPECT_TRUE(ask.Failures.empty());

    // The disc: one file in the kept folder, the authored titles, the fixed label.
    std::vector<fs::path> kept;
    for (const auto& e : fs::directory_iterator(kE2e)) kept.push_back(e.path());
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(fs::file_size(drive) % 2048, 0u);
    testing_vcl::TDvdRead dvdread;
    ASSERT_TRUE(dvdread.Ready());
    dvd_reader_t* disc = dvdread.open(drive.c_str());
    ASSERT_NE(disc, nullptr);
    ifo_handle_t* vmg = dvdread.ifo(disc, 0);
    ASSERT_NE(vmg, nullptr);
    ASSERT_NE(vmg->tt_srpt, nullptr);
    EXPECT_EQ(vmg->tt_srpt->nr_of_srpts, 2);
    dvdread.ifoFree(vmg);
    dvdread.close(disc);
    std::ifstream image(drive, std::ios::binary);
    image.seekg(16 * 2048 + 40);
    std::string label(32, '\0');
    image.read(label.data(), 32);
    EXPECT_EQ(label.substr(0, label.find_last_not_of(' ') + 1), "DVD_Disc");
}

// A folder that leaves less than the 50 MiB headroom of a single-layer disc: the another-disc
// question, and Cancel leaves the drive file as it was.
TEST_F(burnerModeEndToEnd, AFolderTooBigForTheDiscAsksForAnotherAndCancelWritesNothing) {
    const std::string folder = work["big/VIDEO_TS"];
    fs::create_directories(folder);
    const std::string source = AuthorFolder();
    ASSERT_FALSE(source.empty()) << "ffmpeg or dvdauthor failed";
    for (const char* name : {"VIDEO_TS.IFO", "VIDEO_TS.BUP"}) fs::copy(source + "/" + name, folder + "/" + name);
    std::int64_t small = 0;
    for (const auto& e : fs::directory_iterator(folder)) small += static_cast<std::int64_t>(fs::file_size(e.path()));
    // One byte past what the headroom allows; sparse, so it takes no room on the test's disk.
    std::ofstream(folder + "/VTS_01_1.VOB").close();
    fs::resize_file(folder + "/VTS_01_1.VOB", static_cast<std::uintmax_t>(kDvd5Bytes - kHeadroom - small + 1));

    CreateWindows(work["drive.iso"]);
    ask.MessageAnswers.push_back(mrCancel);
    RunBurnerMode(folder);

    const auto boxes = ask.Of(testing_vcl::TQuestionKind::MessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, Language::GetMessageText(59) + Language::GetMessageText(63));
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), "<<< User cancels burning process");
    EXPECT_EQ(std::count(log.begin(), log.end(), String("Start to burn DVD disc >>>")), 0);
    std::error_code ec;
    EXPECT_TRUE(!fs::exists(drive) || fs::file_size(drive, ec) == 0) << "the drive file was written";
}

}  // namespace
