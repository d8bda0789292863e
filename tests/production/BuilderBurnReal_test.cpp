// A small Builder run with the real parts that ends on a disc: one clip converted, authored and
// burned through the facade to a file as a drive, which libdvdread then opens. The disc image
// stays in build/e2e/builder/ for a person to open.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "app/CustomClass.h"
#include "app/Pubfunction.h"
#include "disc/Cdvddevice.h"
#include "disc/StarBurnSdk.h"
#include "disc/Starburn_control.h"
#include "production/Builder_Window.h"
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

}  // namespace
