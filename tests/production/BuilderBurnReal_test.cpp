// A small Builder run with the real parts that ends on a disc: one clip converted, authored and
// burned through the facade to a file as a drive, which libdvdread then opens. The disc image
// stays in build/e2e/builder/ for a person to open.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "model/CustomClass.h"
#include "core/Pubfunction.h"
#include "disc/Cdvddevice.h"
#include "disc/StarBurnSdk.h"
#include "disc/Starburn_control.h"
#include "productionwindows/Builder_Window.h"
#include "tests/support/DvdRead.h"
#include "tests/support/ScriptedInteraction.h"
#include "tests/support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

std::string VolumeLabel(const std::string& Image) {
    std::ifstream in(Image, std::ios::binary);
    in.seekg(16 * 2048 + 40);
    std::string label(32, '\0');
    in.read(label.data(), 32);
    return label.substr(0, label.find_last_not_of(' ') + 1);
}

TEST(productionBuilderBurn, ARunBurnsItsFolderToAFileDrive) {
    if (std::system("command -v ffmpeg >/dev/null && command -v dvdauthor >/dev/null && "
                    "command -v genisoimage >/dev/null") != 0)
        GTEST_SKIP();
    testing_vcl::TTempFolder src("builder burn src"), out("builder burn out"), drive("builder burn drive");
    const std::string clip = src["clip.mp4"];
    ASSERT_TRUE(testing_vcl::Ffmpeg("-f lavfi -i testsrc2=size=320x240:rate=25:duration=2 -f lavfi "
                                    "-i sine=frequency=440:duration=2 -c:v libx264 -pix_fmt yuv420p -c:a aac -shortest",
                                    clip));
    const std::string image = drive["disc.iso"];
    setenv("STARBURN_DRIVES", ("stdio:" + image).c_str(), 1);
    Win32_UnregisterModule("starburn.dll");
    StarBurnSdkUnload();
    g_s_OutputFolder = out.Path() + "/";
    g_i_BurnerIndex = 0;
    // Drives named in STARBURN_DRIVES are found by name.
    const bool byName = b_UseSTPI;
    b_UseSTPI = true;
    auto* record = new TClipInfo();
    record->s_FileName = clip;
    record->i_Duration = 2;
    record->i_TrimEnd = 2;
    record->i_DisplayWidth = 320;
    record->i_DisplayHeight = 240;
    record->d_AspectRatio = 4.0 / 3;
    ClipInfo.push_back(record);
    testing_vcl::TScriptedInteraction ask;
    testing_vcl::TInstallInteraction installed(ask);

    auto window = std::make_unique<TBuilderWindow>(nullptr);
    window->i_Aspect = 1;
    window->b_TitleMenu = false;
    window->b_RootMenu = false;
    window->SetBuildMode();
    window->Show();
    ASSERT_EQ(window->suiComboBox_Drive->GetItems()->Count(), 1);
    window->suiImageButton_StartClick(nullptr);

    TStrings* log = window->Memo_Msg->GetLines();
    ASSERT_GE(log->Count(), 2);
    EXPECT_EQ(log->Strings(log->Count() - 2), "<<< Burn DVD disc finish");
    EXPECT_EQ(log->Strings(log->Count() - 1), "<<< Process finish");
    EXPECT_EQ(window->Label_Progress2->GetCaption(), "100 %");
    EXPECT_EQ(ask.Questions.size(), 0u) << "a file drive is ready: nothing to ask";
    window->Hide();
    window.reset();
    unsetenv("STARBURN_DRIVES");
    b_UseSTPI = byName;
    CDevice::Devices().clear();
    Pubfunction::ClearClipInfo();

    ASSERT_TRUE(fs::exists(image));
    EXPECT_EQ(VolumeLabel(image), "DVD_Disc");
    testing_vcl::TDvdRead dvdread;
    ASSERT_TRUE(dvdread.Ready());
    dvd_reader_t* disc = dvdread.open(image.c_str());
    ASSERT_NE(disc, nullptr);
    ifo_handle_t* vmg = dvdread.ifo(disc, 0);
    ASSERT_NE(vmg, nullptr);
    ASSERT_NE(vmg->tt_srpt, nullptr);
    EXPECT_EQ(vmg->tt_srpt->nr_of_srpts, 1);
    dvdread.ifoFree(vmg);
    dvdread.close(disc);
    const fs::path keep = fs::path(TEST_PEER_DIR) / "../../e2e/builder";
    fs::create_directories(keep);
    fs::copy_file(image, keep / "burned_disc.iso", fs::copy_options::overwrite_existing);
}

// The burning step alone on a file as a drive, in a window that saw only that drive.
class productionFileDriveBurn : public ::testing::Test {
protected:
    void SetUp() override {
        byName_ = b_UseSTPI;
        b_UseSTPI = true;
        g_i_BurnerIndex = 0;
        Win32_UnregisterModule("starburn.dll");
        StarBurnSdkUnload();
    }
    void TearDown() override {
        window_.reset();
        unsetenv("STARBURN_DRIVES");
        b_UseSTPI = byName_;
        CDevice::Devices().clear();
    }
    bool BurnTo(const std::string& Image, const std::string& Folder) {
        setenv("STARBURN_DRIVES", ("stdio:" + Image).c_str(), 1);
        window_ = std::make_unique<TBuilderWindow>(nullptr);
        window_->SetBuildMode();
        window_->s_DVDFolder = Folder;
        window_->SetConvertParameters();
        window_->EnterBusyState();
        return window_->BurnDisc();
    }
    String LastLine() const {
        TStrings* log = window_->Memo_Msg->GetLines();
        return log->Count() > 0 ? log->Strings(log->Count() - 1) : String();
    }

    bool byName_ = false;
    std::unique_ptr<TBuilderWindow> window_;
    testing_vcl::TScriptedInteraction ask_;
    testing_vcl::TInstallInteraction installed_{ask_};
    testing_vcl::TTempFolder work_{"file drive burn"};
};

TEST_F(productionFileDriveBurn, AFolderLeavingLessThanTheHeadroomOfADvd5AsksAndCancelWritesNothing) {
    const std::string videoTs = work_["DVD_DISC/VIDEO_TS"];
    fs::create_directories(videoTs);
    const std::string vob = videoTs + "/VTS_01_1.VOB";
    std::ofstream(vob).close();
    fs::resize_file(vob, std::uintmax_t{2295104} * 2048 - 52428800 + 1);   // sparse
    const std::string image = work_["disc.iso"];
    ask_.MessageAnswers = {mrCancel};
    EXPECT_FALSE(BurnTo(image, videoTs + "/"));
    ASSERT_EQ(ask_.Questions.size(), 1u);
    EXPECT_EQ(ask_.Questions[0].Text,
              "Can not create burning process! -- Disc size smaller than DVD size, please insert another larger size "
              "disc and click \"OK\" to continue!\nClick \"Cancel\" to cancel burning process!");
    EXPECT_EQ(LastLine(), "<<< User cancels burning process");
    EXPECT_TRUE(!fs::exists(image) || fs::file_size(image) == 0) << "nothing burned";
}

TEST_F(productionFileDriveBurn, AFileDriveThatCannotBeWrittenEndsWrong) {
    const std::string videoTs = work_["DVD_DISC/VIDEO_TS"];
    fs::create_directories(videoTs);
    std::ofstream(videoTs + "/VIDEO_TS.IFO") << std::string(2048, '\0');
    std::ofstream(work_["plain file"]) << "x";
    // A drive file inside a file: no user, root included, can make it.
    EXPECT_FALSE(BurnTo(work_["plain file"] + "/disc.iso", videoTs + "/"));
    EXPECT_EQ(LastLine(), "<<< Burning process wrong");
}

}  // namespace
