// The whole road on the real module: scan, select, burn a DVD folder through the facade to a
// file as a drive, and read the disc back with libdvdread.
#include "disc/Starburn_control.h"
#include "disc/StarBurnSdk.h"
#include "tests/libs/starburn/DvdFolderFixture.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include "tests/support/DvdRead.h"
#include "tests/support/TempFolder.h"

#include <filesystem>

using namespace starburn_test;
namespace fs = std::filesystem;

namespace {

TEST(FacadeLibburn, BurnsADvdFolderThatLibdvdreadOpens) {
    std::string work = MakeTempFolder("facade-libburn");
    setenv("TMPDIR", work.c_str(), 1);
    std::string dvd = MakeDvdFolder(work);
    ASSERT_FALSE(dvd.empty()) << "ffmpeg or dvdauthor failed";
    std::string drive = work + "/disc.iso";
    setenv("STARBURN_DRIVES", ("stdio:" + drive).c_str(), 1);
    Win32_UnregisterModule("starburn.dll");
    StarBurnSdkUnload();

    InitBurner(nullptr);
    ASSERT_TRUE(FindDevices(true, true));
    ASSERT_EQ(SelectDevice(0), SELECT_DEVICE_READY);
    EXPECT_EQ(GetMediaTypeNameText(), "DVD-RAM");
    EXPECT_GT(GetFolderSize(dvd + "/"), 0);
    SetBurnSpeed(0);
    EXPECT_TRUE(BurnDVD());
    UninitBurner();
    unsetenv("STARBURN_DRIVES");

    ASSERT_TRUE(fs::exists(drive));
    EXPECT_EQ(fs::file_size(drive) % 2048, 0u);
    testing_vcl::TDvdRead dvdread;
    ASSERT_TRUE(dvdread.Ready());
    dvd_reader_t* disc = dvdread.open(drive.c_str());
    ASSERT_NE(disc, nullptr);
    ifo_handle_t* vmg = dvdread.ifo(disc, 0);
    ASSERT_NE(vmg, nullptr);
    ASSERT_NE(vmg->tt_srpt, nullptr);
    EXPECT_EQ(vmg->tt_srpt->nr_of_srpts, 1);
    dvdread.ifoFree(vmg);
    dvdread.close(disc);
    CDevice::Devices().clear();
    RemoveAll(work);
}

TEST(FacadeLibburn, AFileAsADriveHoldsWhatASingleLayerDiscHolds) {
    testing_vcl::TTempFolder folder("facade-libburn-size");   // under /tmp, whatever TMPDIR says
    const std::string work = folder.Path();
    ASSERT_FALSE(work.empty());
    setenv("STARBURN_DRIVES", ("stdio:" + work + "/disc.iso").c_str(), 1);
    Win32_UnregisterModule("starburn.dll");
    StarBurnSdkUnload();
    InitBurner(nullptr);
    ASSERT_TRUE(FindDevices(true, true));
    ASSERT_EQ(SelectDevice(0), SELECT_DEVICE_READY);
    const double singleLayer = 2295104.0 * 2048;
    const double hostFree = static_cast<double>(fs::space(work).available);
    const double free = GetDiscFreeBytes();
    UninitBurner();
    unsetenv("STARBURN_DRIVES");
    CDevice::Devices().clear();
    EXPECT_GT(free, 0);
    EXPECT_LE(free, singleLayer);
    // A host with room to spare shows the disc's capacity, not its own free space.
    if (hostFree > 2 * singleLayer) EXPECT_EQ(free, singleLayer);
}

}  // namespace
