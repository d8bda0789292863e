// The burner device on the real module: no drive on this machine, and files as drives.
#include "disc/Cdvddevice.h"
#include "disc/Log.h"
#include "disc/StarBurnSdk.h"
#include "tests/libs/starburn/DvdFolderFixture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <mutex>

using namespace starburn_test;
namespace fs = std::filesystem;

namespace {

class CDeviceLibburn : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        work_ = MakeTempFolder("cdevice-libburn");
        setenv("TMPDIR", work_.c_str(), 1);
        dvd_ = MakeDvdFolder(work_);
    }
    static void TearDownTestSuite() { RemoveAll(work_); }

    void SetUp() override {
        Win32_UnregisterModule("starburn.dll");
        StarBurnSdkUnload();
        unsetenv("STARBURN_DRIVES");
        ASSERT_NE(StarBurnSdk(), nullptr);
        ASSERT_FALSE(dvd_.empty()) << "ffmpeg or dvdauthor failed";
        AddLogImp({[this](int, const char* text) { Record(trace_, text); }, LOG_CHANNEL_TRACE});
        AddLogImp({[this](int, const char* text) { Record(status_, text); }, LOG_CHANNEL_STATUS});
    }

    void TearDown() override {
        CDevice::Devices().clear();
        RemoveLogImps();
        unsetenv("STARBURN_DRIVES");
    }

    void Record(std::vector<std::string>& into, const char* text) {
        std::lock_guard lock(mutex_);
        into.push_back(text);
    }

    bool Logged(const std::vector<std::string>& lines, const std::string& line) {
        std::lock_guard lock(mutex_);
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }

    // genisoimage's own idea of the image size, in bytes.
    static long long PrintedSize(const std::string& dvd) {
        std::string root = work_ + "/sizeroot";
        fs::create_directories(root);
        std::error_code ec;
        fs::create_directory_symlink(fs::absolute(dvd + "/VIDEO_TS"), root + "/VIDEO_TS", ec);
        std::string command = "genisoimage -quiet -input-charset utf-8 -dvd-video -follow-links -print-size '" +
                              root + "' 2>/dev/null";
        FILE* pipe = popen(command.c_str(), "r");
        long long blocks = 0;
        if (pipe) {
            if (std::fscanf(pipe, "%lld", &blocks) != 1) blocks = 0;
            pclose(pipe);
        }
        return blocks * 2048;
    }

    static inline std::string work_, dvd_;
    std::mutex mutex_;
    std::vector<std::string> trace_, status_;
};

TEST_F(CDeviceLibburn, ScanningFindsNoDriveOnAMachineWithoutOne) {
    CDevice::FindSPTIDevices();
    EXPECT_TRUE(CDevice::Devices().empty());
    EXPECT_TRUE(Logged(trace_, "CDevice::FindSPTIDevices(): found 0 devices \r\n"));
    CDevice::FindASPIDevices();
    EXPECT_TRUE(CDevice::Devices().empty());
    EXPECT_TRUE(Logged(trace_, "CDevice::FindASPIDevices(): found 0 devices \r\n"));
}

TEST_F(CDeviceLibburn, ANamedFileDriveIsFoundAndReadsAsABlankDvdRam) {
    std::string drive = work_ + "/named.iso";
    setenv("STARBURN_DRIVES", ("stdio:" + drive).c_str(), 1);
    CDevice::FindSPTIDevices();
    ASSERT_EQ(CDevice::Devices().size(), 1u);
    EXPECT_TRUE(Logged(trace_, "Found device: <CdRom0>\n"));
    CDevice& device = *CDevice::Devices()[0];
    EXPECT_TRUE(device.RefreshDeviceInfo());
    EXPECT_TRUE(device.RefreshMediaInfo());
    EXPECT_EQ(device.GetMediaType(), 6u);
    EXPECT_TRUE(device.IsDiscBlank());
    EXPECT_EQ(device.GetUsedSize(), 0);
    EXPECT_GT(device.GetFreeSize(), 0);
    TSpeeds speeds;
    device.CopyWriteSpeeds(speeds);
    EXPECT_EQ(speeds.size(), 10u) << "a file takes every DVD speed";
}

TEST_F(CDeviceLibburn, BurnsTheDvdFolderToAFileDrive) {
    std::string drive = work_ + "/burned.iso";
    CDevice device(("stdio:" + drive).c_str());
    ASSERT_TRUE(device.RefreshDeviceInfo());
    ASSERT_TRUE(device.RefreshMediaInfo());
    TBurnParams params;
    params.KBps = 2770;
    params.Label = "2.0x";
    ASSERT_TRUE(device.BurnDVDVideo(params, dvd_.c_str()));
    EXPECT_EQ(device.GetProgress(), 100);
    EXPECT_TRUE(Logged(status_, "Burning Complete!"));
    ASSERT_TRUE(device.RefreshMediaInfo());
    EXPECT_STREQ(device.GetVolumeLabel(), "DVD_Disc");
    EXPECT_FALSE(device.IsDiscBlank());
    EXPECT_EQ(device.GetUsedSize(), static_cast<double>(PrintedSize(dvd_)));
    std::vector<char> image = ReadBytes(drive);
    EXPECT_EQ(static_cast<long long>(image.size()), PrintedSize(dvd_));
    ASSERT_GT(image.size(), 32768u + 48);
    EXPECT_EQ(std::string(image.data() + 32768 + 40, 8), "DVD_Disc");
    std::string bytes(image.begin(), image.end());
    EXPECT_NE(bytes.find("NSR02"), std::string::npos);
    // Every file of the folder is on the disc as it is, from a block boundary.
    for (const auto& entry : fs::directory_iterator(dvd_ + "/VIDEO_TS")) {
        std::vector<char> file = ReadBytes(entry.path());
        std::size_t at = bytes.find(std::string(file.begin(), file.end()));
        EXPECT_NE(at, std::string::npos) << entry.path();
        EXPECT_EQ(at % 2048, 0u) << entry.path();
    }
}

TEST_F(CDeviceLibburn, ATestBurnWritesNothing) {
    std::string drive = work_ + "/tested.iso";
    CDevice device(("stdio:" + drive).c_str());
    TBurnParams params;
    params.TestWrite = 1;
    params.SendOPC = 0;
    ASSERT_TRUE(device.BurnDVDVideo(params, dvd_.c_str()));
    EXPECT_TRUE(Logged(status_, "Burning Complete!"));
    std::error_code ec;
    EXPECT_EQ(fs::exists(drive) ? fs::file_size(drive, ec) : 0u, 0u);
}

TEST_F(CDeviceLibburn, AFolderWithoutVideoTsIsRefused) {
    std::string drive = work_ + "/refused.iso";
    std::string folder = work_ + "/not-a-dvd";
    fs::create_directories(folder + "/VIDEO_TS");   // present but empty: genisoimage fails
    CDevice device(("stdio:" + drive).c_str());
    TBurnParams params;
    EXPECT_FALSE(device.BurnDVDVideo(params, folder.c_str()));
    EXPECT_TRUE(Logged(status_, "Creating DVD-Video file system failed!"));
    EXPECT_FALSE(device.BurnDVDVideo(params, (work_ + "/nowhere").c_str()));
    std::error_code ec;
    EXPECT_EQ(fs::exists(drive) ? fs::file_size(drive, ec) : 0u, 0u);
}

}  // namespace
