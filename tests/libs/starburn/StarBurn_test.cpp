// The starburn module on libburn: naming, a file as a drive, the DVD-Video image and writing.
#include "tests/libs/starburn/DvdFolderFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>

using namespace starburn_test;
namespace fs = std::filesystem;

namespace {

struct ErrorRecord {
    char text[STARBURN_TEXT_SIZE] = {};
    std::uint32_t status = 0;
    StarBurnCdbFailure cdb{};
};

struct Events {
    std::mutex mutex;
    std::vector<std::uint32_t> codes;
    std::vector<std::pair<std::int64_t, std::int64_t>> progress;   // total, written
};

void RecordEvent(std::uint32_t code, void* context, void* first, void* second) {
    auto* events = static_cast<Events*>(context);
    std::lock_guard lock(events->mutex);
    events->codes.push_back(code);
    if (code == STARBURN_CN_PROGRESS)
        events->progress.emplace_back(*static_cast<std::int64_t*>(first), *static_cast<std::int64_t*>(second));
}

void CountDevice(std::uint32_t code, void* context, void*, void*) {
    if (code == STARBURN_CN_DEVICE_FOUND) ++*static_cast<int*>(context);
}

class StarBurnLibburn : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        work_ = MakeTempFolder("starburn-test");
        // The module's own work folders land here too, apart from other programs'.
        setenv("TMPDIR", work_.c_str(), 1);
        dvd_ = MakeDvdFolder(work_);
    }
    static void TearDownTestSuite() { RemoveAll(work_); }

    void SetUp() override {
        ASSERT_TRUE(sdk_.Bound());
        ASSERT_EQ(sdk_.Api().StarBurn_UpStartEx(), STARBURN_OK);
        ASSERT_FALSE(dvd_.empty()) << "ffmpeg or dvdauthor failed";
    }

    StarBurnGrabber* Grab(const std::string& name, Events* events = nullptr) {
        StarBurnGrabber* grabber = nullptr;
        EXPECT_EQ(sdk_.Api().StarBurn_CdvdBurnerGrabber_CreateEx(&grabber, err_.text, sizeof err_.text, &err_.status,
                                                                  &err_.cdb, events ? RecordEvent : nullptr, events,
                                                                  name.c_str(), 0),
                  STARBURN_OK)
            << err_.text;
        return grabber;
    }

    StarBurnDVDVideo* MakeVideo(const std::string& folder, std::uint32_t& result) {
        StarBurnDVDVideo* video = nullptr;
        result = sdk_.Api().StarBurn_DVDVideo_Create(&video, folder.c_str(), 1, err_.text, sizeof err_.text,
                                                     &err_.status, "DVD_Disc", "Tamberlo", "Plenorix", 2007, 7, 1,
                                                     0, 0, 0, 0);
        return video;
    }

    std::uint32_t Write(StarBurnGrabber* grabber, StarBurnDVDVideo* video, bool testWrite) {
        StarBurnTree* tree = nullptr;
        sdk_.Api().StarBurn_DVDVideo_GetTreeNode(video, &tree);
        return sdk_.Api().StarBurn_CdvdBurnerGrabber_TrackAtOnceFromTree(
            grabber, err_.text, sizeof err_.text, &err_.status, &err_.cdb, tree, 1, testWrite ? 1 : 0, 0, 1, 5);
    }

    // Bytes of regular files in the module's work folders: the image is streamed, never stored.
    static std::uintmax_t BytesInWorkFolders() {
        std::uintmax_t bytes = 0;
        for (const auto& entry : fs::directory_iterator(work_)) {
            if (entry.path().filename().string().rfind("starburn-", 0) != 0) continue;
            for (const auto& file : fs::recursive_directory_iterator(entry.path())) {
                if (file.is_regular_file() && !file.is_symlink()) bytes += file.file_size();
            }
        }
        return bytes;
    }
    static bool WorkFolderLeft() {
        for (const auto& entry : fs::directory_iterator(work_)) {
            if (entry.path().filename().string().rfind("starburn-", 0) == 0) return true;
        }
        return false;
    }
    std::uint32_t Call(std::uint32_t (*op)(StarBurnGrabber*, char*, std::uint32_t, std::uint32_t*, StarBurnCdbFailure*),
                       StarBurnGrabber* grabber) {
        return op(grabber, err_.text, sizeof err_.text, &err_.status, &err_.cdb);
    }
    std::uint8_t DiscStatus(StarBurnGrabber* grabber) {
        std::uint8_t disc[STARBURN_DISC_INFORMATION_SIZE] = {};
        sdk_.Api().StarBurn_CdvdBurnerGrabber_GetDiscInformation(grabber, err_.text, sizeof err_.text, &err_.status,
                                                                 &err_.cdb, disc);
        return disc[1];
    }
    std::uint32_t FreeBlocks(StarBurnGrabber* grabber) {
        std::uint8_t track[STARBURN_TRACK_INFORMATION_SIZE] = {};
        EXPECT_EQ(sdk_.Api().StarBurn_CdvdBurnerGrabber_GetTrackInformation(grabber, err_.text, sizeof err_.text,
                                                                           &err_.status, &err_.cdb, 0xFF, track),
                  STARBURN_OK);
        std::uint32_t blocks = 0;
        std::memcpy(&blocks, track + 20, 4);
        return blocks;
    }
    static inline std::string work_, dvd_;
    LoadedStarBurn sdk_;
    ErrorRecord err_;
};

TEST_F(StarBurnLibburn, ScanWithoutDrivesFindsNoneAndNamedDrivesAreMissing) {
    int found = 0;
    EXPECT_EQ(sdk_.Api().StarBurn_FindDevice(5, 0, CountDevice, &found), STARBURN_OK);
    EXPECT_EQ(found, 0);
    for (int n : {0, 19}) {
        StarBurnGrabber* grabber = reinterpret_cast<StarBurnGrabber*>(1);
        std::string name = "CdRom" + std::to_string(n);
        EXPECT_EQ(sdk_.Api().StarBurn_CdvdBurnerGrabber_CreateEx(&grabber, err_.text, sizeof err_.text, &err_.status,
                                                                  &err_.cdb, nullptr, nullptr, name.c_str(), 1),
                  STARBURN_EXCEPTION_NO_DEVICE);
        EXPECT_EQ(grabber, nullptr);
        EXPECT_NE(err_.status, 0u);
        EXPECT_GT(std::strlen(err_.text), 0u);
    }
}

TEST_F(StarBurnLibburn, AFailingCallTellsLibburnsReason) {
    StarBurnGrabber* grabber = nullptr;
    EXPECT_EQ(sdk_.Api().StarBurn_CdvdBurnerGrabber_CreateEx(&grabber, err_.text, sizeof err_.text, &err_.status,
                                                              &err_.cdb, nullptr, nullptr,
                                                              "stdio:/nonexistent-folder/x.iso", 1),
              STARBURN_EXCEPTION_NO_DEVICE);
    // The text is libburn's own, not the module's general one.
    EXPECT_EQ(std::string(err_.text).find("no drive at"), std::string::npos) << err_.text;
    EXPECT_NE(std::string(err_.text).find("exist"), std::string::npos) << err_.text;
}

TEST_F(StarBurnLibburn, FailingCallsFillTheErrorRecordWithinTheBuffer) {
    StarBurnGrabber* grabber = nullptr;
    char small[8];
    std::memset(small, 'x', sizeof small);
    EXPECT_NE(sdk_.Api().StarBurn_CdvdBurnerGrabber_CreateEx(&grabber, small, sizeof small, &err_.status, &err_.cdb,
                                                              nullptr, nullptr, "stdio:/nonexistent-folder/x.iso", 1),
              STARBURN_OK);
    EXPECT_EQ(std::strlen(small), sizeof small - 1);
    EXPECT_NE(err_.status, 0u);
    EXPECT_STRNE(sdk_.Api().StarBurn_ExceptionName(STARBURN_EXCEPTION_NO_DEVICE), "unknown");
}

TEST_F(StarBurnLibburn, AFileDriveIsABlankRandomAccessDisc) {
    std::string drive = work_ + "/info.iso";
    StarBurnGrabber* grabber = Grab("stdio:" + drive);
    ASSERT_NE(grabber, nullptr);
    const auto& api = sdk_.Api();
    EXPECT_EQ(api.StarBurn_CdvdBurnerGrabber_TestUnitReady(grabber, err_.text, sizeof err_.text, &err_.status, &err_.cdb),
              STARBURN_OK);
    EXPECT_EQ(api.StarBurn_CdvdBurnerGrabber_GetInsertedDiscType(grabber), 6u);
    std::uint8_t disc[STARBURN_DISC_INFORMATION_SIZE] = {};
    EXPECT_EQ(api.StarBurn_CdvdBurnerGrabber_GetDiscInformation(grabber, err_.text, sizeof err_.text, &err_.status,
                                                                &err_.cdb, disc),
              STARBURN_OK);
    EXPECT_EQ(disc[1], 0);
    std::uint8_t tao = 0, sao = 0, pq = 0, raw = 0;
    EXPECT_EQ(api.StarBurn_CdvdBurnerGrabber_ProbeSupportedWriteModes(grabber, err_.text, sizeof err_.text,
                                                                      &err_.status, &err_.cdb, &tao, &sao, &pq, &raw),
              STARBURN_OK);
    EXPECT_EQ(tao, 1);
    std::uint32_t curRead = 0, maxRead = 0, curWrite = 0, maxWrite = 0;
    EXPECT_EQ(api.StarBurn_CdvdBurnerGrabber_SetSpeeds(grabber, err_.text, sizeof err_.text, &err_.status, &err_.cdb,
                                                       STARBURN_SPEED_NOT_SET, 2770),
              STARBURN_OK);
    EXPECT_EQ(api.StarBurn_CdvdBurnerGrabber_GetSpeeds(grabber, err_.text, sizeof err_.text, &err_.status, &err_.cdb,
                                                       &curRead, &maxRead, &curWrite, &maxWrite),
              STARBURN_OK);
    EXPECT_EQ(curWrite, 2770u);
    EXPECT_GE(maxWrite, curWrite);
    // Ejecting releases the drive: queries fail until it is loaded again.
    EXPECT_EQ(api.StarBurn_CdvdBurnerGrabber_Eject(grabber, err_.text, sizeof err_.text, &err_.status, &err_.cdb),
              STARBURN_OK);
    EXPECT_EQ(api.StarBurn_CdvdBurnerGrabber_TestUnitReady(grabber, err_.text, sizeof err_.text, &err_.status, &err_.cdb),
              STARBURN_EXCEPTION_NOT_READY);
    EXPECT_EQ(api.StarBurn_CdvdBurnerGrabber_Load(grabber, err_.text, sizeof err_.text, &err_.status, &err_.cdb),
              STARBURN_OK);
    EXPECT_EQ(api.StarBurn_CdvdBurnerGrabber_TestUnitReady(grabber, err_.text, sizeof err_.text, &err_.status, &err_.cdb),
              STARBURN_OK);
    // Release lets go of the drive as well; Lock takes it again.
    EXPECT_EQ(Call(api.StarBurn_CdvdBurnerGrabber_Release, grabber), STARBURN_OK);
    EXPECT_EQ(Call(api.StarBurn_CdvdBurnerGrabber_TestUnitReady, grabber), STARBURN_EXCEPTION_NOT_READY);
    EXPECT_EQ(Call(api.StarBurn_CdvdBurnerGrabber_Lock, grabber), STARBURN_OK);
    EXPECT_EQ(Call(api.StarBurn_CdvdBurnerGrabber_TestUnitReady, grabber), STARBURN_OK);
    api.StarBurn_CdvdBurnerGrabber_Destroy(&grabber);
    EXPECT_EQ(grabber, nullptr);
}

TEST_F(StarBurnLibburn, BurnWritesGenisoimagesDvdVideoImageToAFileDrive) {
    std::uint32_t result = 0;
    StarBurnDVDVideo* video = MakeVideo(dvd_, result);
    ASSERT_EQ(result, STARBURN_OK) << err_.text;
    std::int64_t bytes = 0;
    sdk_.Api().StarBurn_DVDVideo_GetSizeInUCHARs(video, &bytes);
    EXPECT_GT(bytes, 0);
    EXPECT_EQ(bytes % 2048, 0);
    EXPECT_LT(BytesInWorkFolders(), 65536u) << "the image was stored before the burn";

    Events events;
    std::string drive = work_ + "/burn.iso";
    StarBurnGrabber* grabber = Grab("stdio:" + drive, &events);
    ASSERT_NE(grabber, nullptr);
    EXPECT_EQ(Write(grabber, video, false), STARBURN_OK) << err_.text;
    sdk_.Api().StarBurn_CdvdBurnerGrabber_Destroy(&grabber);
    EXPECT_LT(BytesInWorkFolders(), 65536u) << "the burn stored the image";
    sdk_.Api().StarBurn_DVDVideo_Destroy(&video);
    EXPECT_EQ(video, nullptr);
    EXPECT_FALSE(WorkFolderLeft()) << "the work folder outlived its object";

    std::vector<char> written = ReadBytes(drive);
    ASSERT_GE(static_cast<std::int64_t>(written.size()), bytes);
    std::uint32_t volumeBlocks = 0;
    std::memcpy(&volumeBlocks, written.data() + 32768 + 80, 4);
    EXPECT_EQ(static_cast<std::int64_t>(volumeBlocks) * 2048, bytes) << "the whole file system reached the disc";
    EXPECT_EQ(std::string(written.data() + 32768 + 40, 8), "DVD_Disc");
    std::string text(written.begin(), written.end());
    EXPECT_NE(text.find("NSR02"), std::string::npos) << "no UDF descriptors";

    ASSERT_FALSE(events.progress.empty());
    for (std::size_t i = 0; i < events.progress.size(); ++i) {
        EXPECT_EQ(events.progress[i].first, bytes);
        EXPECT_LE(events.progress[i].second, bytes);
        if (i > 0) {
            EXPECT_GT(events.progress[i].second, events.progress[i - 1].second);
        }
    }
    EXPECT_EQ(events.progress.back().second, bytes);
    EXPECT_EQ(events.codes.front(), STARBURN_CN_TARGET_FILE_ANALYZE_BEGIN);
    EXPECT_EQ(events.codes.back(), STARBURN_CN_SYNCHRONIZE_CACHE_END);
}

TEST_F(StarBurnLibburn, TestWriteWritesNothing) {
    std::uint32_t result = 0;
    StarBurnDVDVideo* video = MakeVideo(dvd_, result);
    ASSERT_EQ(result, STARBURN_OK) << err_.text;
    std::string drive = work_ + "/simulated.iso";
    StarBurnGrabber* grabber = Grab("stdio:" + drive);
    ASSERT_NE(grabber, nullptr);
    EXPECT_EQ(Write(grabber, video, true), STARBURN_OK) << err_.text;
    sdk_.Api().StarBurn_CdvdBurnerGrabber_Destroy(&grabber);
    sdk_.Api().StarBurn_DVDVideo_Destroy(&video);
    std::error_code ec;
    EXPECT_EQ(fs::exists(drive) ? fs::file_size(drive, ec) : 0u, 0u);
}

TEST_F(StarBurnLibburn, FoldersWithoutAUsableVideoTsMakeNoImage) {
    std::string empty = work_ + "/empty";
    std::string broken = work_ + "/broken";
    fs::create_directories(empty);
    fs::create_directories(broken + "/VIDEO_TS");
    for (const std::string& folder : {empty, broken, work_ + "/missing"}) {
        SCOPED_TRACE(folder);
        std::uint32_t result = 0;
        StarBurnDVDVideo* video = MakeVideo(folder, result);
        EXPECT_EQ(result, STARBURN_EXCEPTION_FILE_SYSTEM);
        EXPECT_EQ(video, nullptr);
        EXPECT_GT(std::strlen(err_.text), 0u);
        EXPECT_NE(err_.status, 0u);
    }
    EXPECT_FALSE(WorkFolderLeft()) << "a failed image left its work folder behind";
}

// genisoimage that promises more than it streams, and exits 0.
TEST_F(StarBurnLibburn, AShortImageIsRefusedNotPadded) {
    std::string bin = work_ + "/shortbin";
    fs::create_directories(bin);
    {
        std::ofstream script(bin + "/genisoimage");
        script << "#!/bin/sh\n"
                  "for a in \"$@\"; do [ \"$a\" = -print-size ] && { echo 100; exit 0; }; done\n"
                  "head -c 4096 /dev/zero; exit 0\n";
    }
    fs::permissions(bin + "/genisoimage", fs::perms::owner_all);
    std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", (bin + ":" + path).c_str(), 1);
    std::uint32_t result = 0;
    StarBurnDVDVideo* video = MakeVideo(dvd_, result);
    ASSERT_EQ(result, STARBURN_OK) << err_.text;
    StarBurnGrabber* grabber = Grab("stdio:" + work_ + "/short.iso");
    ASSERT_NE(grabber, nullptr);
    EXPECT_EQ(Write(grabber, video, false), STARBURN_EXCEPTION_FILE_SYSTEM);
    setenv("PATH", path.c_str(), 1);
    EXPECT_NE(std::string(err_.text).find("4096"), std::string::npos) << err_.text;
    sdk_.Api().StarBurn_CdvdBurnerGrabber_Destroy(&grabber);
    sdk_.Api().StarBurn_DVDVideo_Destroy(&video);
}

// A file that holds a file system is written over: its whole capacity is free, blanking is
// refused as libburn refuses it, and the overwrite that erases it leaves a blank disc.
TEST_F(StarBurnLibburn, AFileThatHoldsAnImageIsOverwrittenNotBlanked) {
    const auto& api = sdk_.Api();
    std::string drive = work_ + "/used.iso";
    std::uint32_t result = 0;
    StarBurnDVDVideo* video = MakeVideo(dvd_, result);
    ASSERT_EQ(result, STARBURN_OK) << err_.text;
    StarBurnGrabber* grabber = Grab("stdio:" + drive);
    ASSERT_NE(grabber, nullptr);
    const std::uint32_t freshBlocks = FreeBlocks(grabber);
    ASSERT_EQ(Write(grabber, video, false), STARBURN_OK) << err_.text;
    api.StarBurn_CdvdBurnerGrabber_Destroy(&grabber);

    grabber = Grab("stdio:" + drive);
    ASSERT_NE(grabber, nullptr);
    EXPECT_EQ(DiscStatus(grabber), 2) << "it holds a file system";
    EXPECT_EQ(FreeBlocks(grabber), freshBlocks) << "an overwritable disc is free as a whole";
    EXPECT_EQ(api.StarBurn_CdvdBurnerGrabber_Blank(grabber, err_.text, sizeof err_.text, &err_.status, &err_.cdb, 1),
              STARBURN_EXCEPTION_UNSUPPORTED);
    EXPECT_EQ(Call(api.StarBurn_CdvdBurnerGrabber_Format, grabber), STARBURN_OK) << err_.text;
    EXPECT_EQ(DiscStatus(grabber), 0);
    EXPECT_EQ(Write(grabber, video, false), STARBURN_OK) << err_.text;
    EXPECT_EQ(DiscStatus(grabber), 2);
    api.StarBurn_CdvdBurnerGrabber_Destroy(&grabber);
    api.StarBurn_DVDVideo_Destroy(&video);
}

}  // namespace
