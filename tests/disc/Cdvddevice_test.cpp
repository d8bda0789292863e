// The burner device on the scripted SDK: discovery, disc information and speeds.
#include "tests/disc/FakeSdkFixture.h"

#include <cstring>

namespace {

using fake_starburn::FakeDrive;

class CDeviceTest : public FakeSdkTest {};

TEST_F(CDeviceTest, TheSdkTableMustBeCompleteToBeRegisteredOrBound) {
    StarBurnApi missing = fake_starburn::FakeApi();
    missing.StarBurn_CdvdBurnerGrabber_SendOPC = nullptr;
    EXPECT_FALSE(fake_starburn::RegisterBackend(missing));
    // A module lacking one name binds nothing at all.
    Win32_RegisterModule("starburn.dll", {{"StarBurn_UpStartEx", reinterpret_cast<FARPROC>(fake_starburn::UpStartEx)}});
    StarBurnSdkUnload();
    EXPECT_EQ(StarBurnSdk(), nullptr);
    CDevice::FindSPTIDevices();
    EXPECT_TRUE(CDevice::Devices().empty());
    EXPECT_TRUE(log_.Has(log_.status, "Can't UpStartEx StarBurn"));
}

TEST_F(CDeviceTest, SptiScanWithNoDriveFindsNone) {
    CDevice::FindSPTIDevices();
    EXPECT_TRUE(CDevice::Devices().empty());
    EXPECT_TRUE(log_.Has(log_.trace, "CDevice::FindSPTIDevices(): found 0 devices \r\n"));
}

TEST_F(CDeviceTest, SptiScanFindsNamedDrivesAndLetsGoOfTheProbes) {
    AddDrive("CdRom0");
    AddDrive("CdRom7");
    AddDrive("CdRom20");   // past the 20 names asked for
    CDevice::FindSPTIDevices();
    ASSERT_EQ(CDevice::Devices().size(), 2u);
    EXPECT_TRUE(log_.Has(log_.trace, "Found device: <CdRom0>\n"));
    EXPECT_TRUE(log_.Has(log_.trace, "Found device: <CdRom7>\n"));
    EXPECT_TRUE(log_.Has(log_.trace, "CDevice::FindSPTIDevices(): found 2 devices \r\n"));
    EXPECT_EQ(Drive(0).grabbers, 0);
    EXPECT_EQ(Drive(1).grabbers, 0);
    ASSERT_TRUE(CDevice::Devices()[1]->RefreshDeviceInfo());
    EXPECT_STREQ(CDevice::Devices()[1]->GetVendorId(), "FAKE");
    EXPECT_STREQ(CDevice::Devices()[1]->GetProductId(), "Writer");
    EXPECT_STREQ(CDevice::Devices()[1]->GetDriveLetter(), "F:");
    EXPECT_EQ(Drive(1).grabbers, 1) << "a device grabs its drive once";
}

TEST_F(CDeviceTest, AspiScanFindsAddressesAndAScanReplacesTheList) {
    AddDrive("a").caps[8] = 1;
    AddDrive("b");
    CDevice::FindASPIDevices();
    ASSERT_EQ(CDevice::Devices().size(), 2u);
    EXPECT_TRUE(log_.Has(log_.trace,
                         "\nCDevice::FindDeviceCallback): Probing SCSI address 1:0:1:0 for CD/DVD device... "));
    EXPECT_TRUE(log_.Has(log_.trace, "CDevice::FindASPIDevices(): found 2 devices \r\n"));
    CDevice* first = CDevice::Devices()[0].get();
    ASSERT_TRUE(first->RefreshDeviceInfo());
    bool caps[16] = {};
    first->GetCapabilities(caps);
    EXPECT_TRUE(caps[8]);
    EXPECT_STREQ(first->GetDriveLetter(), "F:");   // from "\\.\F:"
    fake_starburn::State().drives.pop_back();
    CDevice::FindASPIDevices();
    EXPECT_EQ(CDevice::Devices().size(), 1u);
    EXPECT_EQ(Drive(0).grabbers, 0) << "the earlier device let go of its drive";
}

TEST_F(CDeviceTest, MediaTypeNames) {
    const std::pair<std::uint32_t, const char*> cases[] = {
        {0, "Unknown"},   {1, "CDROM"},    {5, "DVD-R"},    {7, "DVD-RW"},      {8, "DVD-RW"},
        {9, "DVD+RW"},    {12, "CD-RW"},   {13, "DVD+R"},   {14, "Empty"},      {15, "DVD+R DL"},
        {16, "DVD-R DL"}, {19, "BD-RE"},   {22, "HD-DVD RW"}, {23, "untouched"}, {200, "untouched"},
    };
    FakeDrive& drive = AddDrive("CdRom0");
    CDevice device("CdRom0");
    for (const auto& [code, name] : cases) {
        drive.mediaType = code;
        ASSERT_TRUE(device.RefreshMediaType());
        char buffer[32] = "untouched";
        device.GetMediaTypeName(buffer);
        EXPECT_STREQ(buffer, name) << "code " << code;
    }
}

TEST_F(CDeviceTest, MediaTypeNameKeepsToTheBuffer) {
    FakeDrive& drive = AddDrive("CdRom0");
    CDevice device("CdRom0");
    drive.mediaType = 15; // "DVD+R DL"
    ASSERT_TRUE(device.RefreshMediaType());
    char buffer[8];
    std::memset(buffer, 'X', sizeof buffer);
    device.GetMediaTypeName(buffer, 4);
    EXPECT_STREQ(buffer, "DVD") << "cut to the size and terminated";
    for (std::size_t i = 4; i < sizeof buffer; ++i) EXPECT_EQ(buffer[i], 'X') << "byte " << i << " overrun";
    std::memset(buffer, 'X', sizeof buffer);
    device.GetMediaTypeName(buffer, 0);
    EXPECT_EQ(buffer[0], 'X') << "a size of 0 writes nothing";
    char exact[9];
    device.GetMediaTypeName(exact);
    EXPECT_STREQ(exact, "DVD+R DL");
}

struct UsedSizeCase {
    const char* what;
    std::uint8_t discStatus;
    std::uint32_t mediaType;
    bool nwaValid;
    std::uint32_t nwa;
    std::vector<std::uint32_t> toc;
    std::set<std::string> failing;
    double expected;
};

TEST_F(CDeviceTest, UsedSizeRules) {
    const UsedSizeCase cases[] = {
        {"blank disc", 0, 5, true, 100, {50, 60}, {}, 0},
        {"appendable, NWA valid and 0", 1, 9, true, 0, {50, 60}, {}, 0},
        {"appendable DVD-R takes the entry before last", 1, 5, true, 300, {0, 200, 400}, {}, 200 * BLOCK_BYTES},
        {"appendable DVD+R too", 1, 13, false, 300, {0, 200, 400}, {}, 200 * BLOCK_BYTES},
        {"appendable others take the last entry", 1, 9, true, 300, {0, 200, 400}, {}, 400 * BLOCK_BYTES},
        {"DVD-RW complete takes the appendable rule", 2, 7, false, 300, {0, 200, 400}, {}, 400 * BLOCK_BYTES},
        {"no TOC: the next writable address", 1, 9, true, 300, {0, 1}, {"GetTOCInformation"}, 300 * BLOCK_BYTES},
        {"TOC too short for DVD-R: the next writable address", 1, 5, true, 300, {7}, {}, 300 * BLOCK_BYTES},
        {"complete disc: the last entry", 2, 5, true, 300, {0, 1000}, {}, 1000 * BLOCK_BYTES},
        {"complete disc with an empty TOC keeps the old size", 2, 5, true, 300, {}, {}, 4096},
    };
    FakeDrive& drive = AddDrive("CdRom0");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CDevice device("CdRom0");
        drive.discStatus = 0;
        drive.tocBlocks = {2};
        drive.failing.clear();
        drive.nwaValid = false;
        drive.nwa = 2;
        ASSERT_TRUE(device.RefreshMediaSize());   // an earlier size to keep or replace
        EXPECT_EQ(device.GetUsedSize(), 0);
        drive.discStatus = 2;
        ASSERT_TRUE(device.RefreshMediaSize());
        ASSERT_EQ(device.GetUsedSize(), 4096);
        drive.discStatus = c.discStatus;
        drive.mediaType = c.mediaType;
        drive.nwaValid = c.nwaValid;
        drive.nwa = c.nwa;
        drive.tocBlocks = c.toc;
        drive.failing = c.failing;
        EXPECT_TRUE(device.RefreshMediaSize());
        EXPECT_EQ(device.GetUsedSize(), c.expected);
    }
}

TEST_F(CDeviceTest, ANotReadyDriveClearsTheSizesAndTheLabel) {
    FakeDrive& drive = AddDrive("CdRom0");
    drive.mediaType = 14;
    drive.discStatus = 2;
    drive.tocBlocks = {0, 100};
    CDevice device("CdRom0");
    ASSERT_TRUE(device.RefreshDeviceInfo());
    drive.volumeLabel = "HOLIDAY";
    EXPECT_TRUE(device.RefreshMediaInfo());
    EXPECT_STREQ(device.GetVolumeLabel(), "") << "no disc, no label";
    EXPECT_EQ(std::count(fake_starburn::State().calls.begin(), fake_starburn::State().calls.end(), "GetVolumeLabel"), 0);
    drive.mediaType = 5;
    EXPECT_TRUE(device.RefreshMediaInfo());
    EXPECT_STREQ(device.GetVolumeLabel(), "HOLIDAY");
    drive.mediaType = 14;
    EXPECT_EQ(device.GetUsedSize(), 100 * BLOCK_BYTES);
    EXPECT_EQ(device.GetFreeSize(), 0) << "a closed DVD-R takes nothing more";
    drive.discStatus = 1;
    EXPECT_TRUE(device.RefreshFreeSize());
    EXPECT_EQ(device.GetFreeSize(), drive.freeBlocks * BLOCK_BYTES);
    drive.ready = false;
    drive.failing = {"GetTrackInformation"};
    EXPECT_FALSE(device.RefreshMediaInfo());
    EXPECT_EQ(device.GetUsedSize(), 0);
    EXPECT_FALSE(device.RefreshFreeSize());
    EXPECT_EQ(device.GetFreeSize(), 0);
}

TEST_F(CDeviceTest, BlankDetectionAndFailingQueriesAreLoggedWithTheSdkRecord) {
    FakeDrive& drive = AddDrive("CdRom0");
    CDevice device("CdRom0");
    const struct {
        std::uint8_t discStatus;
        bool nwaValid;
        std::uint32_t nwa;
        bool blank;
    } cases[] = {{0, false, 9, true}, {1, true, 0, true}, {1, true, 5, false}, {2, false, 0, false}};
    for (const auto& c : cases) {
        drive.discStatus = c.discStatus;
        drive.nwaValid = c.nwaValid;
        drive.nwa = c.nwa;
        EXPECT_EQ(device.IsDiscBlank(), c.blank);
    }
    drive.failing = {"GetDiscInformation"};
    EXPECT_FALSE(device.IsDiscBlank());
    EXPECT_TRUE(log_.Has(log_.trace,
                         "\nCDevice::IsDiscBlank(): StarBurn_CdvdBurnerGrabber_GetDiscInformation() failed, exception "
                         "1, status 5, text 'fake GetDiscInformation failed'\n"));
}

TEST_F(CDeviceTest, TrayMovesAreLoggedAndLeaveTheDeviceIdle) {
    FakeDrive& drive = AddDrive("CdRom0");
    CDevice device("CdRom0");
    EXPECT_TRUE(device.Eject());
    EXPECT_TRUE(device.Load());
    drive.failing = {"Eject"};
    EXPECT_FALSE(device.Eject());
    EXPECT_EQ(device.GetState(), DEVICE_STATE_IDLE);
    std::lock_guard lock(log_.mutex);
    EXPECT_EQ(log_.status, (std::vector<std::string>{"Eject", "Load", "Ejecting Error!"}));
}

TEST_F(CDeviceTest, NoDriveMeansEveryOperationFails) {
    CDevice device("CdRom3");
    EXPECT_FALSE(device.TestUnitReady());
    EXPECT_FALSE(device.RefreshMediaInfo());
    EXPECT_FALSE(device.IsDiscBlank());
    EXPECT_FALSE(device.Lock());
    EXPECT_FALSE(device.GetWriteSpeeds());
    EXPECT_EQ(device.GetUsedSize(), 0);
}

// ---- speeds ---------------------------------------------------------------------------------

struct SpeedCase {
    const char* what;
    std::uint32_t mediaType;
    std::uint32_t maxWrite;
    std::function<std::uint32_t(std::uint32_t)> takes;
    std::vector<std::pair<std::uint32_t, std::string>> expected;
};

std::vector<std::pair<std::uint32_t, std::string>> Listed(const TSpeeds& speeds) {
    std::vector<std::pair<std::uint32_t, std::string>> out;
    for (const auto& s : speeds) out.emplace_back(s.KBps, s.Label);
    return out;
}

TEST_F(CDeviceTest, WriteSpeedProbing) {
    auto exact = [](std::uint32_t kbps) { return kbps; };
    const SpeedCase cases[] = {
        {"CD-R taking every speed stops at the maximum", 2, 2800, exact,
         {{176, "1.0x"}, {353, "2.0x"}, {387, "2.2x"}, {528, "3.0x"}, {706, "4.0x"}, {1400, "8.0x"},
          {1760, "10.0x"}, {2112, "12.0x"}, {2800, "16.0x"}}},
        {"1300 for 1400 is named 8.0x", 2, 1400,
         [](std::uint32_t k) { return k == 1400 ? 1300u : std::min(k, 706u); },
         {{176, "1.0x"}, {353, "2.0x"}, {387, "2.2x"}, {528, "3.0x"}, {706, "4.0x"}, {1300, "8.0x"}}},
        {"a tie takes the lower label", 2, 1400, [](std::uint32_t k) { return k == 1400 ? 1053u : 0u; },
         {{1053, "4.0x"}}},
        {"a drive stuck at one speed lists it once", 8, 22160, [](std::uint32_t) { return 5540u; }, {{5540, "4.0x"}}},
        {"above the table: the top label", 9, 22160, [](std::uint32_t) { return 30000u; }, {{30000, "16.0x"}}},
        {"DVD table", 5, 11080, [](std::uint32_t k) { return std::min(k, 8310u); },
         {{1385, "1.0x"}, {2770, "2.0x"}, {3324, "2.4x"}, {4155, "3.0x"}, {5540, "4.0x"}, {6925, "5.0x"},
          {8310, "6.0x"}}},
        {"no disc: CD entries up to the maximum, unprobed", 14, 706, [](std::uint32_t) { return 0u; },
         {{176, "1.0x"}, {353, "2.0x"}, {387, "2.2x"}, {528, "3.0x"}, {706, "4.0x"}}},
        {"DVD-ROM has no write speeds", 4, 22160, exact, {}},
        {"BD-ROM neither", 17, 22160, exact, {}},
    };
    FakeDrive& drive = AddDrive("CdRom0");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CDevice device("CdRom0");
        drive.mediaType = c.mediaType;
        drive.maxWrite = c.maxWrite;
        drive.takesWrite = c.takes;
        ASSERT_TRUE(device.RefreshMediaType());
        EXPECT_TRUE(device.GetWriteSpeeds());
        TSpeeds copy;
        EXPECT_TRUE(device.CopyWriteSpeeds(copy));
        EXPECT_EQ(Listed(copy), c.expected);
    }
}

TEST_F(CDeviceTest, ReadSpeedsFollowTheReadClasses) {
    FakeDrive& drive = AddDrive("CdRom0");
    drive.mediaType = 4;
    drive.takesRead = [](std::uint32_t k) { return std::min(k, 2770u); };
    CDevice device("CdRom0");
    ASSERT_TRUE(device.RefreshMediaType());
    TSpeeds read = {{1, "stale"}};
    EXPECT_TRUE(device.GetReadSpeeds(read));
    EXPECT_EQ(Listed(read), (std::vector<std::pair<std::uint32_t, std::string>>{{1385, "1.0x"}, {2770, "2.0x"}}));
    drive.failing = {"GetSpeeds"};
    EXPECT_FALSE(device.GetReadSpeeds(read));
    EXPECT_TRUE(read.empty());
}

TEST_F(CDeviceTest, ARefusedSpeedIsSkippedAndANewDiscForgetsTheOldSpeeds) {
    FakeDrive& drive = AddDrive("CdRom0");
    drive.mediaType = 2;
    drive.maxWrite = 706;
    CDevice device("CdRom0");
    ASSERT_TRUE(device.RefreshMediaType());
    TSpeeds speeds;
    device.CopyWriteSpeeds(speeds);
    EXPECT_EQ(speeds.size(), 5u);
    drive.mediaType = 13;   // a DVD+R now
    ASSERT_TRUE(device.RefreshMediaType());
    drive.failing = {"SetSpeeds"};
    device.CopyWriteSpeeds(speeds);
    EXPECT_TRUE(speeds.empty()) << "the CD's speeds were offered for the DVD";
    drive.failing.clear();
    device.CopyWriteSpeeds(speeds);
    EXPECT_EQ(speeds.size(), 10u);
}

}  // namespace
