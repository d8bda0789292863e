// The whole road on the real module: scan, select, burn a DVD folder through the facade to a
// file as a drive, and read the disc back with libdvdread.
#include "disc/Starburn_control.h"
#include "disc/StarBurnSdk.h"
#include "tests/libs/starburn/DvdFolderFixture.h"

#include <dvdread/dvd_reader.h>
#include <dvdread/ifo_read.h>
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <filesystem>

using namespace starburn_test;
namespace fs = std::filesystem;

namespace {

// libdvdread bound at run time, so the test needs nothing more at link time.
struct DvdRead {
    void* library = dlopen("libdvdread.so.8", RTLD_NOW | RTLD_LOCAL);
    decltype(&DVDOpen) open = library ? reinterpret_cast<decltype(&DVDOpen)>(dlsym(library, "DVDOpen")) : nullptr;
    decltype(&DVDClose) close = library ? reinterpret_cast<decltype(&DVDClose)>(dlsym(library, "DVDClose")) : nullptr;
    decltype(&ifoOpen) ifo = library ? reinterpret_cast<decltype(&ifoOpen)>(dlsym(library, "ifoOpen")) : nullptr;
    decltype(&ifoClose) ifoFree = library ? reinterpret_cast<decltype(&ifoClose)>(dlsym(library, "ifoClose")) : nullptr;
    ~DvdRead() {
        if (library) dlclose(library);
    }
    bool Ready() const { return open && close && ifo && ifoFree; }
};

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
    DvdRead dvdread;
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

}  // namespace
