// Burning and erasing on the scripted SDK: the steps, what stops a burn, events and estimates.
#include "tests/disc/FakeSdkFixture.h"

#include <atomic>

namespace {

using fake_starburn::FakeDrive;

class CDeviceBurnTest : public FakeSdkTest {
protected:
    FakeDrive& Writer() {
        FakeDrive& drive = AddDrive("CdRom0");
        drive.mediaType = 5;
        return drive;
    }

    std::vector<std::string> StatusLines() {
        std::lock_guard lock(log_.mutex);
        return log_.status;
    }
};

const std::vector<std::string> kGoodBurn = {
    "Started",
    "Testing unit ready...",
    "Unit is ready!",
    "Probing supported write modes...",
    "Track-At-Once is supported!",
    "Getting BUP (Buffer Underrun Protection) support...",
    "Getting BUP successfully!",
    "Enabling BUP (Buffer Underrun Protection)...",
    "Enabling BUP successfully!",
    "Setting speed 4.0x (5540 KBps) ",
    "Setting speed 4.0x (5540 KBps) successfully!",
    "Sending OPC (Optimum Power Calibration)...",
    "Sending OPC successfully.",
    "Closing session...",
    "Closing session success!",
    "Burning Complete!",
};

struct BurnCase {
    const char* what;
    std::set<std::string> failing;
    bool trackAtOnce;
    bool ready;
    bool result;
    std::string expectedStatus;   // a status line the run must have logged
    int writes;
};

TEST_F(CDeviceBurnTest, WhatStopsABurnAndWhatDoesNot) {
    const BurnCase cases[] = {
        {"all well", {}, true, true, true, "Burning Complete!", 1},
        {"buffer-underrun query fails", {"GetBUP"}, true, true, true, "Getting BUP failed!", 1},
        {"buffer-underrun enable fails", {"SetBUP"}, true, true, true, "Enabling BUP failed!", 1},
        {"speed refused", {"SetSpeeds"}, true, true, true, "Setting speed failed!", 1},
        {"OPC fails", {"SendOPC"}, true, true, true, "Sending OPC Error!", 1},
        {"no track-at-once", {}, false, true, false, "Track-At-Once is unsupported!", 0},
        {"write-mode probe fails", {"ProbeSupportedWriteModes"}, true, true, false,
         "Probing supported write modes Error!", 0},
        {"unit not ready", {}, true, false, false, "Unit is not ready!", 0},
        {"write fails", {"TrackAtOnceFromTree"}, true, true, false, "Burning Error!", 1},
        {"session close fails", {"CloseSession"}, true, true, false, "Close Session Error!", 1},
    };
    FakeDrive& drive = Writer();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        {
            std::lock_guard lock(log_.mutex);
            log_.status.clear();
        }
        drive.failing = c.failing;
        drive.trackAtOnce = c.trackAtOnce;
        drive.ready = c.ready;
        drive.writes = 0;
        CDevice device("CdRom0");
        TBurnParams params;
        params.KBps = 5540;
        params.Label = "4.0x";
        EXPECT_EQ(device.BurnDVDVideo(params, "/dvd"), c.result);
        EXPECT_EQ(device.GetState(), DEVICE_STATE_IDLE);
        EXPECT_EQ(drive.writes, c.writes);
        auto lines = StatusLines();
        EXPECT_NE(std::find(lines.begin(), lines.end(), c.expectedStatus), lines.end());
        EXPECT_EQ(device.GetProgress() == 100, c.result);
        EXPECT_EQ(drive.grabbers, 1) << "the burn grabber replaces the device's grabber";
    }
}

TEST_F(CDeviceBurnTest, AGoodBurnReportsEveryStepInOrder) {
    Writer();
    CDevice device("CdRom0");
    TBurnParams params;
    params.KBps = 5540;
    params.Label = "4.0x";
    ASSERT_TRUE(device.BurnDVDVideo(params, "/dvd"));
    auto lines = StatusLines();
    // The speed line as the status sink sees it ends with "... ".
    std::vector<std::string> expected = kGoodBurn;
    expected[9] = "Setting speed 4.0x (5540 KBps)... ";
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(params.KBps, 5540u);
}

TEST_F(CDeviceBurnTest, ATestWriteSimulatesAndLeavesTheSessionOpen) {
    FakeDrive& drive = Writer();
    CDevice device("CdRom0");
    TBurnParams params;
    params.TestWrite = 1;
    params.SendOPC = 0;
    ASSERT_TRUE(device.BurnDVDVideo(params, "/dvd"));
    EXPECT_TRUE(drive.lastWriteWasTest);
    EXPECT_EQ(drive.closes, 0);
    EXPECT_EQ(device.GetProgress(), 100);
    auto lines = StatusLines();
    EXPECT_EQ(lines.back(), "Burning Complete!");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Writing the stuff (simulating) to the CD/DVD disc"), lines.end());
    EXPECT_EQ(std::count(fake_starburn::State().calls.begin(), fake_starburn::State().calls.end(), "SendOPC"), 0);
}

TEST_F(CDeviceBurnTest, AFolderWithoutAFileSystemFailsBeforeTheDrive) {
    FakeDrive& drive = Writer();
    fake_starburn::State().badFolders = {"/nothing"};
    CDevice device("CdRom0");
    TBurnParams params;
    EXPECT_FALSE(device.BurnDVDVideo(params, "/nothing"));
    EXPECT_EQ(StatusLines(), (std::vector<std::string>{"Started", "Creating DVD-Video file system failed!"}));
    EXPECT_TRUE(log_.Has(log_.trace, "\n\nCDevice::BurnDVDVideo(): StarBurn_DVDVideo_Create(), exception 6, status 3, "
                                     "text 'no VIDEO_TS folder'\n"));
    EXPECT_EQ(drive.grabbers, 0);
}

std::vector<int> g_HookedEvents;
void RecordHook(int event) { g_HookedEvents.push_back(event); }

TEST_F(CDeviceBurnTest, BurnEventsReachTheHookAndMoveTheProgress) {
    FakeDrive& drive = Writer();
    drive.burnEvents = {{STARBURN_CN_PROGRESS, 1000, 0},   {STARBURN_CN_PROGRESS, 1000, 505},
                        {STARBURN_CN_PROGRESS, 1000, 509}, {STARBURN_CN_PROGRESS, 0, 10},
                        {STARBURN_CN_DVD_MEDIA_PADDING_BEGIN, 0, 0}, {STARBURN_CN_DVD_MEDIA_PADDING_END, 0, 0},
                        {99, 0, 0}};
    g_HookedEvents.clear();
    CDevice device("CdRom0");
    device.EventHook = RecordHook;
    TBurnParams params;
    ASSERT_TRUE(device.BurnDVDVideo(params, "/dvd"));
    EXPECT_EQ(g_HookedEvents, (std::vector<int>{12, 12, 12, 12, 27, 28, 99}));
    std::lock_guard lock(log_.mutex);
    EXPECT_EQ(std::count(log_.trace.begin(), log_.trace.end(), "50% "), 1) << "the same percent is logged once";
    EXPECT_EQ(std::count(log_.trace.begin(), log_.trace.end(), "0% "), 0) << "0 is where the progress starts";
    EXPECT_NE(std::find(log_.trace.begin(), log_.trace.end(), "CDevice::DVDVideoBurnCallback(): DVD_MEDIA_PADDING_BEGIN\n"),
              log_.trace.end());
}

struct EstimateCase {
    const char* what;
    std::uint32_t mediaType;
    std::uint32_t mode;
    std::uint32_t kbps;
    std::uint32_t freeBlocks;
    std::uint32_t expected;
};

TEST_F(CDeviceBurnTest, EraseTimeEstimates) {
    // 4 700 000 000 bytes = 2294921 blocks of 2048 plus 1792 bytes; used 0, so free carries it.
    const EstimateCase cases[] = {
        {"DVD-RW, full erase", 7, 1, 2770, 2294921, (4589842 + 716800) / 2770},
        {"DVD-RW, fast erase", 7, 0, 2770, 2294921, 716800 / 2770},
        {"CD-RW, full erase ignores the size", 3, 1, 1400, 2294921, 51200 / 1400},
        {"CD-RW as code 12, fast", 12, 0, 1400, 1000, (2000 + 51200) / 1400},
        {"a DVD-R has no estimate", 5, 1, 2770, 1000, 0},
        {"a speed of 0 gives none", 7, 1, 0, 1000, 0},
    };
    FakeDrive& drive = Writer();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        drive.mediaType = c.mediaType;
        drive.freeBlocks = c.freeBlocks;
        drive.discStatus = 0;
        CDevice device("CdRom0");
        ASSERT_TRUE(device.RefreshMediaInfo());
        TEraseParams params{c.mode, c.kbps, ""};
        EXPECT_EQ(device.GetTotalTimeErasing(params), c.expected);
    }
    drive.ready = false;
    CDevice device("CdRom0");
    TEraseParams params{1, 2770, ""};
    EXPECT_EQ(device.GetTotalTimeErasing(params), 0u);
}

TEST_F(CDeviceBurnTest, AWrittenDvdRwOf4700000000BytesTakes1915Seconds) {
    FakeDrive& drive = Writer();
    drive.mediaType = 7;
    drive.discStatus = 2;
    drive.tocBlocks = {0, 1000000};
    drive.nwaValid = false;
    drive.freeBlocks = 1294921;   // with the used blocks: 4 700 000 000 bytes less 1792
    CDevice device("CdRom0");
    ASSERT_TRUE(device.RefreshMediaInfo());
    TEraseParams params{1, 2770, "2.0x"};
    EXPECT_EQ(device.GetTotalTimeErasing(params), 1915u);
}

TEST_F(CDeviceBurnTest, AnEraseEndsIdleAtOneHundredOrFailsWithoutItsProgressThread) {
    FakeDrive& drive = Writer();
    drive.mediaType = 8;
    drive.discStatus = 2;
    drive.freeBlocks = 1;
    CDevice device("CdRom0");
    ASSERT_TRUE(device.RefreshMediaInfo());
    TEraseParams params{0, 22160, "16.0x"};
    EXPECT_TRUE(device.Erase(params));
    EXPECT_EQ(drive.blanks, 1);
    EXPECT_EQ(drive.blankMode, 0u);
    EXPECT_EQ(device.GetProgress(), 100);
    EXPECT_EQ(device.GetState(), DEVICE_STATE_IDLE);
    EXPECT_EQ(StatusLines().back(), "Erasing Complete");
    // A failed blank with an estimate of many seconds returns at once; the progress is free.
    drive.failing = {"Blank"};
    TEraseParams slow{1, 1385, "1.0x"};
    EXPECT_FALSE(device.Erase(slow));
    EXPECT_EQ(device.GetState(), DEVICE_STATE_ERASING);
    device.SetProgress(7);
    EXPECT_EQ(device.GetProgress(), 7);
    EXPECT_GT(device.GetEstimatedEraseSeconds(), 0u);
}

}  // namespace
