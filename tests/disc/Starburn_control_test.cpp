// The burner facade on the scripted SDK: names, speed lists, selection, notifications, refusals.
#include "disc/Starburn_control.h"
#include "tests/disc/FakeSdkFixture.h"

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

using fake_starburn::FakeDrive;

class FacadeTest : public FakeSdkTest {
protected:
    void SetUp() override {
        FakeSdkTest::SetUp();
        window_ = Win32_CreateWindow(
            [this](UINT msg, WPARAM w, LPARAM l) -> LRESULT {
                if (msg == WM_BURNER_NOTIFY) notes_.emplace_back(w, l);
                if (msg == WM_USER + 1 && onUser_) onUser_();
                return 0;
            },
            false, "");
        InitBurner(window_);
    }

    void TearDown() override {
        UninitBurner();
        InitBurner(nullptr);
        UninitBurner();
        Win32_DestroyWindow(window_);
        FakeSdkTest::TearDown();
    }

    FakeDrive& Writer(std::uint32_t media, std::uint8_t discStatus) {
        FakeDrive& drive = AddDrive("CdRom" + std::to_string(fake_starburn::State().drives.size()));
        drive.mediaType = media;
        drive.discStatus = discStatus;
        drive.nwaValid = false;
        drive.nwa = 100;
        return drive;
    }

    void Scan() {
        ASSERT_TRUE(FindDevices(true, true));
        Win32_DispatchPostedMessages();
    }

    std::vector<LPARAM> Notes(WPARAM code) const {
        std::vector<LPARAM> values;
        for (const auto& [w, l] : notes_) {
            if (w == code) values.push_back(l);
        }
        return values;
    }

    HWND window_ = nullptr;
    std::vector<std::pair<WPARAM, LPARAM>> notes_;
    std::function<void()> onUser_;
};

TEST_F(FacadeTest, AScanPostsItsEndAndNamesTheDevices) {
    Writer(5, 0);
    Scan();
    EXPECT_EQ(Notes(BURNER_NOTIFY_SCAN_DONE), std::vector<LPARAM>{0});
    EXPECT_EQ(GetDeviceName(0), "Writer FAKE 1.00");
    EXPECT_EQ(GetDeviceName(-1), "");
    EXPECT_EQ(GetDeviceName(1), "");
}

TEST_F(FacadeTest, WriteSpeedListsFollowTheMediaType) {
    const std::pair<std::uint32_t, bool> cases[] = {{3, true}, {12, false}, {16, false}, {5, true}, {4, false}};
    for (const auto& [media, listed] : cases) {
        Writer(media, 0).maxWrite = 2800;
    }
    Scan();
    for (int i = 0; i < static_cast<int>(std::size(cases)); ++i) {
        SCOPED_TRACE(cases[i].first);
        TStringList* list = GetWriteSpeedList(i, false);
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->Count() > 0, cases[i].second);
    }
    EXPECT_EQ(GetWriteSpeedList(-1, false), nullptr);
    EXPECT_EQ(GetReadSpeedList(99, true), nullptr);
    TStringList* read = GetReadSpeedList(4, true);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->Count(), 10) << "a DVD-ROM reads at DVD speeds";
}

TEST_F(FacadeTest, SelectionByMediaTypeAndBlankState) {
    const struct {
        std::uint32_t media;
        std::uint8_t discStatus;
        int expected;
    } cases[] = {
        {5, 2, SELECT_DEVICE_BAD_MEDIA},  {5, 0, SELECT_DEVICE_READY},     {13, 1, SELECT_DEVICE_BAD_MEDIA},
        {9, 2, SELECT_DEVICE_NOT_BLANK},  {7, 0, SELECT_DEVICE_READY},     {6, 2, SELECT_DEVICE_READY},
        {14, 0, SELECT_DEVICE_BAD_MEDIA}, {4, 2, SELECT_DEVICE_BAD_MEDIA}, {15, 0, SELECT_DEVICE_READY},
    };
    for (const auto& c : cases) Writer(c.media, c.discStatus);
    Scan();
    for (int i = 0; i < static_cast<int>(std::size(cases)); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(SelectDevice(i), cases[i].expected);
    }
    EXPECT_EQ(SelectDevice(-1), SELECT_DEVICE_FAILED);
    EXPECT_EQ(SelectDevice(static_cast<int>(std::size(cases))), SELECT_DEVICE_FAILED);
}

TEST_F(FacadeTest, TheCurrentDevicesDiscAndDrive) {
    FakeDrive& drive = Writer(9, 2);
    drive.capsEx = {0, 0, 0, 1, 0, 1};
    drive.caps[8] = 1;
    drive.tocBlocks = {0, 512 * 1024};
    drive.sessions = 1;
    drive.freeBlocks = 1024 * 1024;
    Scan();
    ASSERT_EQ(SelectDevice(0), SELECT_DEVICE_NOT_BLANK);
    EXPECT_EQ(GetMediaTypeNameText(), "DVD+RW");
    EXPECT_TRUE(CanWriteDVDMinusR());
    EXPECT_FALSE(CanWriteDVDPlusR());
    EXPECT_TRUE(CanWriteDVDPlusRW());
    EXPECT_TRUE(CanWriteDVDPlusRDL());
    EXPECT_EQ(GetUsedMB(), 1024.0);
    EXPECT_EQ(GetFreeMB(), 2048.0);
    EXPECT_EQ(GetDiscFreeBytes(), 2048.0 * 1048576);
    EXPECT_EQ(GetTrackCount(), 2);
    EXPECT_EQ(GetSessionCount(), 1);
    EXPECT_TRUE(EjectDisc());
    EXPECT_TRUE(LoadDisc());
    EXPECT_TRUE(LockDevice());
    EXPECT_TRUE(ReleaseDevice());
}

TEST_F(FacadeTest, NothingBreaksWithoutACurrentDevice) {
    Writer(9, 0);
    Scan();
    ASSERT_EQ(SelectDevice(0), SELECT_DEVICE_READY);
    Scan();   // the scan made new devices: the old current one is gone
    EXPECT_FALSE(EjectDisc());
    EXPECT_FALSE(LoadDisc());
    EXPECT_FALSE(LockDevice());
    EXPECT_FALSE(ReleaseDevice());
    EXPECT_EQ(GetMediaTypeNameText(), "");
    EXPECT_FALSE(CanWriteDVDMinusR());
    EXPECT_EQ(GetFreeMB(), 0);
    EXPECT_EQ(GetUsedMB(), 0);
    EXPECT_EQ(GetTrackCount(), 0);
    EXPECT_EQ(GetDiscFreeBytes(), 0);
    EXPECT_FALSE(BurnDVD());
    EXPECT_FALSE(EraseDisc());
}

TEST_F(FacadeTest, TheBurnUsesTheSpeedChosenFromTheCurrentWriteSpeeds) {
    FakeDrive& drive = Writer(13, 0);
    Scan();
    ASSERT_EQ(SelectDevice(0), SELECT_DEVICE_READY);
    // The drive takes every DVD table speed: 1x 1385, 2x 2770, 2.4x 3324, 3x 4155 ... 16x 22160.
    const std::pair<int, std::uint32_t> cases[] = {{3, 4155}, {0, 1385}, {-4, 1385}, {9, 22160}, {99, 22160}, {1, 2770}};
    for (const auto& [index, kbps] : cases) {
        SCOPED_TRACE(index);
        SetBurnSpeed(index);
        GetFolderSize("/dvd");
        drive.currentWrite = 0;
        EXPECT_TRUE(BurnDVD());
        EXPECT_EQ(drive.currentWrite, kbps);
    }
}

TEST_F(FacadeTest, AFolderMeasuredDuringABurnIsForTheNextBurn) {
    FakeDrive& drive = Writer(13, 0);
    drive.writeMs = 600;
    Scan();
    ASSERT_EQ(SelectDevice(0), SELECT_DEVICE_READY);
    fake_starburn::State().badFolders = {"/other"};
    GetFolderSize("/dvd");
    // The window measures another folder while the burn runs (from the messages the burn's wait
    // keeps flowing); the running burn keeps its own.
    onUser_ = [] { GetFolderSize("/other/"); };
    PostMessageA(window_, WM_USER + 1, 0, 0);
    EXPECT_TRUE(BurnDVD());
    onUser_ = nullptr;
    EXPECT_FALSE(BurnDVD());   // "/other" now, which the SDK refuses
}

TEST_F(FacadeTest, FolderSizesIgnoreATrailingSeparatorAndLinkedFolders) {
    std::string root = fs::temp_directory_path() / ("facade-size-" + std::to_string(::getpid()));
    fs::create_directories(root + "/VIDEO_TS/sub");
    std::ofstream(root + "/VIDEO_TS/a.vob") << std::string(3000, 'a');
    std::ofstream(root + "/VIDEO_TS/sub/b.ifo") << std::string(500, 'b');
    fs::create_directory_symlink(root, root + "/VIDEO_TS/loop");
    EXPECT_EQ(GetFolderSize(root), 3500);
    EXPECT_EQ(GetFolderSize(root + "/"), 3500);
    EXPECT_EQ(GetFolderSize(root + "\\"), 3500);
    // The remembered folder is the one without the separator: the burn asks for exactly it.
    Writer(5, 0);
    Scan();
    ASSERT_EQ(SelectDevice(0), SELECT_DEVICE_READY);
    fake_starburn::State().badFolders = {root};
    EXPECT_FALSE(BurnDVD());
    Win32_DispatchPostedMessages();
    EXPECT_EQ(Notes(BURNER_NOTIFY_BURN_DONE), std::vector<LPARAM>{0});
    fs::remove_all(root);
}

TEST_F(FacadeTest, ABurnReportsProgressPaddingAndOneResult) {
    FakeDrive& drive = Writer(13, 0);
    drive.writeMs = 1500;
    drive.burnEvents = {{STARBURN_CN_PROGRESS, 100, 10}, {STARBURN_CN_DVD_MEDIA_PADDING_BEGIN, 0, 0},
                        {STARBURN_CN_PROGRESS, 100, 60}, {STARBURN_CN_DVD_MEDIA_PADDING_END, 0, 0}};
    Scan();
    ASSERT_EQ(SelectDevice(0), SELECT_DEVICE_READY);
    SetBurnSpeed(99);   // past the end: the fastest
    GetFolderSize("/dvd");
    notes_.clear();
    EXPECT_TRUE(BurnDVD());
    Win32_DispatchPostedMessages();
    EXPECT_EQ(Notes(BURNER_NOTIFY_BURN_DONE), std::vector<LPARAM>{1});
    EXPECT_EQ(Notes(BURNER_NOTIFY_PADDING), (std::vector<LPARAM>{0, 1}));
    std::vector<LPARAM> progress = Notes(BURNER_NOTIFY_PROGRESS);
    ASSERT_FALSE(progress.empty());
    for (std::size_t i = 0; i < progress.size(); ++i) {
        EXPECT_GE(progress[i], 0);
        EXPECT_LE(progress[i], 100);
        if (i > 0) {
            EXPECT_GE(progress[i], progress[i - 1]);
        }
    }
    EXPECT_EQ(progress.back(), 100);
    EXPECT_EQ(drive.currentWrite, 22160u);
    EXPECT_EQ(drive.closes, 1);
    EXPECT_FALSE(drive.lastWriteWasTest);
}

TEST_F(FacadeTest, ABurnThatNeverWritesPostsOneProgressAndOneFailure) {
    Writer(5, 0).trackAtOnce = false;
    Scan();
    ASSERT_EQ(SelectDevice(0), SELECT_DEVICE_READY);
    SetBurnSpeed(-4);
    notes_.clear();
    EXPECT_FALSE(BurnDVD());
    Win32_DispatchPostedMessages();
    EXPECT_EQ(Notes(BURNER_NOTIFY_BURN_DONE), std::vector<LPARAM>{0});
    EXPECT_EQ(Notes(BURNER_NOTIFY_PROGRESS).size(), 1u);
}

TEST_F(FacadeTest, AnEraseUsesTheFastestSpeedAndPostsNothing) {
    FakeDrive& drive = Writer(8, 2);
    drive.freeBlocks = 1;
    Scan();
    ASSERT_EQ(SelectDevice(0), SELECT_DEVICE_NOT_BLANK);
    notes_.clear();
    EXPECT_TRUE(EraseDisc());
    Win32_DispatchPostedMessages();
    EXPECT_TRUE(notes_.empty());
    EXPECT_EQ(drive.blanks, 1);
    EXPECT_EQ(drive.blankMode, 1u);
    EXPECT_EQ(drive.currentWrite, 22160u);
    drive.failing = {"Blank"};
    EXPECT_FALSE(EraseDisc());
}

TEST_F(FacadeTest, ASecondOperationIsRefusedWhileOneRuns) {
    Writer(5, 0);
    Scan();
    ASSERT_EQ(SelectDevice(0), SELECT_DEVICE_READY);
    fake_starburn::State().scanDelayMs = 300;
    notes_.clear();
    ASSERT_TRUE(FindDevices(true, false));
    EXPECT_TRUE(IsBurnerBusy());
    EXPECT_FALSE(FindDevices(true, true));
    EXPECT_FALSE(BurnDVD());
    EXPECT_FALSE(EraseDisc());
    EXPECT_EQ(SelectDevice(0), SELECT_DEVICE_FAILED);
    UninitBurner();   // joins the scan
    EXPECT_FALSE(IsBurnerBusy());
    Win32_DispatchPostedMessages();
    EXPECT_EQ(Notes(BURNER_NOTIFY_SCAN_DONE).size(), 1u);
    EXPECT_EQ(CDevice::Devices().size(), 1u);
}

// Each job takes the drive and lets go of it: between jobs the tray is free and unlocked.
TEST_F(FacadeTest, EveryJobLetsGoOfTheDrive) {
    FakeDrive& drive = Writer(5, 0);
    Scan();
    EXPECT_EQ(drive.holding, 0) << "after the scan";
    const std::vector<std::pair<const char*, std::function<void()>>> jobs = {
        {"select", [] { SelectDevice(0); }},
        {"speeds", [] { GetWriteSpeedList(0, true); }},
        {"read speeds", [] { GetReadSpeedList(0, true); }},
        {"free bytes", [] { GetDiscFreeBytes(); }},
        {"tracks", [] { GetTrackCount(); }},
        {"burn", [] {
             GetFolderSize(".");
             BurnDVD();
         }},
        {"load", [] { LoadDisc(); }},
        {"eject", [] { EjectDisc(); }},
    };
    for (const auto& [name, job] : jobs) {
        SCOPED_TRACE(name);
        job();
        EXPECT_EQ(drive.holding, 0);
        EXPECT_EQ(drive.grabbers, 0);
    }
    // The device window holds the drive while it is shown.
    ASSERT_TRUE(LockDevice());
    GetDiscFreeBytes();
    EXPECT_EQ(drive.holding, 1);
    EXPECT_TRUE(ReleaseDevice());
    EXPECT_EQ(drive.holding, 0);
}

// An eject lets go of the drive; the next job grabs it again, and finds the tray as the user
// left it: open until Load (or the user) closes it.
TEST_F(FacadeTest, AfterAnEjectTheDriveIsGrabbedAnew) {
    FakeDrive& drive = Writer(5, 0);
    Scan();
    ASSERT_EQ(SelectDevice(0), SELECT_DEVICE_READY);
    EXPECT_TRUE(EjectDisc());
    EXPECT_TRUE(drive.trayOpen);
    EXPECT_EQ(SelectDevice(0), SELECT_DEVICE_BAD_MEDIA) << "an open tray holds no disc";
    EXPECT_TRUE(drive.trayOpen) << "selecting does not close the tray";
    drive.trayOpen = false;   // the user pushes it in
    EXPECT_EQ(SelectDevice(0), SELECT_DEVICE_READY);
    EXPECT_TRUE(EjectDisc());
    EXPECT_TRUE(LoadDisc());
    EXPECT_FALSE(drive.trayOpen);
    EXPECT_EQ(SelectDevice(0), SELECT_DEVICE_READY);
}

// Media written over in place: whole capacity free however full, erased by overwriting.
TEST_F(FacadeTest, OverwritableDiscsAreFreeAsAWholeAndOverwrittenToErase) {
    struct Case {
        const char* name;
        std::uint32_t media;
        int select;
        int blanks, formats;
    };
    const Case cases[] = {
        {"DVD-RAM", 6, SELECT_DEVICE_READY, 0, 0},
        {"DVD+RW", 9, SELECT_DEVICE_NOT_BLANK, 0, 1},
        {"DVD-RW restricted overwrite", 7, SELECT_DEVICE_NOT_BLANK, 0, 1},
        {"DVD-RW sequential", 8, SELECT_DEVICE_NOT_BLANK, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fake_starburn::State().drives.clear();
        FakeDrive& drive = Writer(c.media, 2);
        drive.freeBlocks = 2295104;
        Scan();
        ASSERT_EQ(SelectDevice(0), c.select);
        if (c.select == SELECT_DEVICE_NOT_BLANK) {
            EXPECT_TRUE(EraseDisc());
            EXPECT_EQ(Drive(0).blanks, c.blanks);
            EXPECT_EQ(Drive(0).formats, c.formats);
            EXPECT_EQ(SelectDevice(0), SELECT_DEVICE_READY) << "erased, the disc is blank";
        }
        EXPECT_EQ(GetDiscFreeBytes(), 2295104.0 * 2048);
    }
    fake_starburn::State().drives.clear();
    FakeDrive& closed = Writer(5, 2);
    closed.freeBlocks = 2295104;
    Scan();
    SelectDevice(0);
    EXPECT_EQ(GetDiscFreeBytes(), 0.0) << "a closed DVD-R takes nothing more";
}

TEST_F(FacadeTest, ADriveAnotherProgramHoldsIsListedButCannotBeSelected) {
    FakeDrive& drive = Writer(5, 0);
    drive.inUse = true;
    drive.product = "Busy Writer";
    Scan();
    ASSERT_EQ(CDevice::Devices().size(), 1u);
    EXPECT_EQ(GetDeviceName(0), "Busy Writer FAKE 1.00");
    EXPECT_EQ(SelectDevice(0), SELECT_DEVICE_FAILED);
    EXPECT_TRUE(WasDeviceInUse());
    drive.inUse = false;   // the desktop unmounted it
    EXPECT_EQ(SelectDevice(0), SELECT_DEVICE_READY);
    EXPECT_FALSE(WasDeviceInUse());
}

}  // namespace
