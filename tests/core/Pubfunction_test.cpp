#include "core/Pubfunction.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <filesystem>
#include <fstream>
#include <random>

#include "platform/vcl/SysUtils.h"
#include "tests/support/TempFolder.h"

#include <sys/stat.h>

using namespace Pubfunction;
namespace fs = std::filesystem;

namespace {

struct TempDir {
    fs::path path;
    TempDir() {
        char tmpl[] = "/tmp/pubfunc-XXXXXX";
        path = mkdtemp(tmpl);
    }
    ~TempDir() { fs::remove_all(path); }
    String str() const { return path.string() + "/"; }
};

class TScriptedVolumes : public Win32VolumeService {
public:
    std::vector<Win32Volume> list;
    std::vector<Win32Volume> Volumes() override { return list; }
};

Win32Volume Volume(char letter, const String& mount, ULONGLONG freeMB, UINT type = DRIVE_FIXED) {
    Win32Volume v;
    v.letter = letter;
    v.mountPoint = mount;
    v.driveType = type;
    v.bytesPerSector = 512;
    v.sectorsPerCluster = 8;
    v.freeBytes = freeMB * 1048576;
    v.totalBytes = v.freeBytes * 2;
    return v;
}

struct VolumeServiceScope {
    TScriptedVolumes service;
    VolumeServiceScope() { Win32_SetVolumeService(&service); }
    ~VolumeServiceScope() { Win32_SetVolumeService(nullptr); }
};

}  // namespace

TEST(PubfunctionTest, TimeTexts) {
    struct Case { int n; const char* two; };
    for (auto c : {Case{7, "07"}, Case{0, "00"}, Case{123, "123"}, Case{-5, "05"}, Case{10, "10"}})
        EXPECT_EQ(IntToStr2(c.n), c.two) << c.n;
    struct HMS { int s; const char* text; };
    for (auto c : {HMS{0, "00:00:00"}, HMS{3661, "01:01:01"}, HMS{-5, "00:00:05"}, HMS{360000, "100:00:00"}})
        EXPECT_EQ(SecondsToHMS(c.s), c.text) << c.s;
}

TEST(PubfunctionTest, ClampsLetTheLowBoundWin) {
    struct {
        int value, low, high, expected;
    } const ints[] = {{5, 0, 10, 5}, {-3, 0, 10, 0}, {12, 0, 10, 10}, {5, 10, 0, 10}, {-5, 10, 0, 10}, {7, 7, 7, 7}};
    for (const auto& c : ints) EXPECT_EQ(ClampRange(c.value, c.low, c.high), c.expected) << c.value << " " << c.low << " " << c.high;
    struct {
        double value, low, high, expected;
    } const floats[] = {{0.5, 0, 1, 0.5}, {-0.1, 0, 1, 0}, {1.5, 0, 1, 1}, {0.5, 1, 0, 1}, {std::nan(""), 0, 1, 0},
                        {std::numeric_limits<double>::infinity(), 0, 1, 1}};
    for (const auto& c : floats) EXPECT_EQ(ClampFloat(c.value, c.low, c.high), c.expected) << c.value;
}

TEST(PubfunctionTest, FitRectGeometry) {
    struct Case { int sw, sh, w, h; bool keep; TRect r; };
    for (auto c : {Case{720, 480, 296, 220, true, Rect(0, 12, 296, 208)},
                   Case{100, 100, 50, 50, true, Rect(0, 0, 50, 50)},
                   Case{100, 100, 51, 51, true, Rect(0, 0, 51, 50)},  // the computed side is evened
                   Case{640, 800, 720, 576, true, Rect(130, 0, 590, 576)},
                   Case{720, 480, 100, 80, false, Rect(0, 0, 100, 80)},
                   Case{0, 480, 100, 80, true, TRect{}}}) {
        EXPECT_EQ(FitRect(c.sw, c.sh, c.w, c.h, c.keep), c.r) << c.sw << "x" << c.sh << " into " << c.w << "x" << c.h;
    }
}

TEST(PubfunctionTest, StretchBitmapFillsBandsBlackAndCentresThePicture) {
    TBitmap src(720, 480, pf24bit);
    src.GetCanvas()->GetBrush()->SetColor(clWhite);
    src.GetCanvas()->FillRect(Rect(0, 0, 720, 480));
    TBitmap* dst = nullptr;
    StretchBitmap(dst, &src, 296, 220, true);
    ASSERT_NE(dst, nullptr);
    EXPECT_EQ(dst->GetWidth(), 296);
    EXPECT_EQ(dst->GetPixelColor(0, 11), 0u);
    EXPECT_EQ(dst->GetPixelColor(0, 12), 0xFFFFFFu);
    EXPECT_EQ(dst->GetPixelColor(295, 207), 0xFFFFFFu);
    EXPECT_EQ(dst->GetPixelColor(0, 208), 0u);
    TBitmap empty;
    StretchBitmap(dst, &empty, 20, 10, true);  // no ratio: black, no fault
    EXPECT_EQ(dst->GetPixelColor(5, 5), 0u);
    TBitmap* untouched = dst;
    StretchBitmap(dst, nullptr, 1, 1, true);
    EXPECT_EQ(dst, untouched);
    delete dst;
}

TEST(PubfunctionTest, ResizeBitmapResamplesAndKeepsFormats) {
    TBitmap src(64, 32, pf24bit);
    src.GetCanvas()->GetBrush()->SetColor(clRed);
    src.GetCanvas()->FillRect(Rect(0, 0, 32, 32));
    src.GetCanvas()->GetBrush()->SetColor(clBlue);
    src.GetCanvas()->FillRect(Rect(32, 0, 64, 32));
    TBitmap* dst = nullptr;
    ResizeBitmap(dst, &src, 128, 64, false);
    ASSERT_NE(dst, nullptr);
    EXPECT_EQ(dst->GetWidth(), 128);
    EXPECT_EQ(dst->GetHeight(), 64);
    EXPECT_EQ(src.GetPixelFormat(), pf24bit);
    EXPECT_EQ(dst->GetPixelColor(10, 10) & 0xFFFFFF, static_cast<COLORREF>(clRed));
    EXPECT_EQ(dst->GetPixelColor(120, 50) & 0xFFFFFF, static_cast<COLORREF>(clBlue));
    delete dst;
}

TEST(PubfunctionTest, QuickSortMatchesStdSort) {
    int given[] = {300, 0, 600, 300};
    QuickSort(given, 0, 3);
    EXPECT_EQ(std::vector<int>(given, given + 4), (std::vector<int>{0, 300, 300, 600}));
    int untouched[] = {3, 1};
    QuickSort(untouched, 1, 0);
    EXPECT_EQ(untouched[0], 3);
    std::mt19937 rng(42);
    for (int round = 0; round < 50; ++round) {
        std::vector<int> v(rng() % 40);
        for (int& x : v) x = static_cast<int>(rng() % 100);
        std::vector<int> want = v;
        std::sort(want.begin(), want.end());
        if (!v.empty()) QuickSort(v.data(), 0, static_cast<int>(v.size()) - 1);
        EXPECT_EQ(v, want);
    }
}

TEST(PubfunctionTest, FileNamesAndSizes) {
    struct Case { const char* in; const char* out; };
    for (auto c : {Case{"/a/b.c/file", "/a/b.c/file"}, Case{"/a/b/clip.avi", "/a/b/clip"},
                   Case{"clip.tar.gz", "clip.tar"}, Case{"noext", "noext"}, Case{"C:\\x.y\\z", "C:\\x.y\\z"}})
        EXPECT_EQ(RemoveFileExt(c.in), c.out) << c.in;
    TempDir dir;
    EXPECT_EQ(GetFileSize(dir.str() + "missing"), -1);
    EXPECT_EQ(GetFileSizeKB(dir.str() + "missing"), 0);
    EXPECT_EQ(GetFileSizeMB(dir.str() + "missing"), 0);
    // A sparse file past 4 GB keeps its size.
    fs::path big = dir.path / "big.vob";
    { std::ofstream(big.string()).put('x'); }
    fs::resize_file(big, 5LL * 1024 * 1024 * 1024);
    EXPECT_EQ(GetFileSizeMB(big.string()), 5 * 1024);
}

TEST(PubfunctionTest, WindowsVersionCodesOfEveryAnswer) {
    struct Case { DWORD platform, major, minor; int code; };
    const Case cases[] = {
        {VER_PLATFORM_WIN32_WINDOWS, 4, 0, 1},  {VER_PLATFORM_WIN32_WINDOWS, 4, 10, 4},
        {VER_PLATFORM_WIN32_WINDOWS, 4, 90, 6}, {VER_PLATFORM_WIN32_WINDOWS, 4, 51, 6},
        {VER_PLATFORM_WIN32_WINDOWS, 4, 50, 0}, {VER_PLATFORM_WIN32_WINDOWS, 4, 3, 0},
        {VER_PLATFORM_WIN32_NT, 4, 0, 2},       {VER_PLATFORM_WIN32_NT, 4, 1, 2},
        {VER_PLATFORM_WIN32_NT, 5, 0, 5},       {VER_PLATFORM_WIN32_NT, 6, 0, 5},
        {VER_PLATFORM_WIN32_NT, 5, 1, 7},       {VER_PLATFORM_WIN32_NT, 10, 2, 7},
        {7, 5, 1, 0},
    };
    for (const Case& c : cases) {
        OSVERSIONINFOA info{};
        info.dwPlatformId = c.platform;
        info.dwMajorVersion = c.major;
        info.dwMinorVersion = c.minor;
        EXPECT_EQ(WindowsVersionCode(&info), c.code) << c.platform << " " << c.major << "." << c.minor;
    }
    EXPECT_EQ(WindowsVersionCode(nullptr), 2);  // a failed query
    // Our system answers as NT 5.1.
    EXPECT_EQ(GetWindowsVersion(), 7);
}

TEST(PubfunctionTest, CountedFreeSpaceStepsAndDoesNotOverflow) {
    EXPECT_EQ(CountedFreeMB(8, 512, 262144 * 10), 10240u);   // exactly 10240 MB
    EXPECT_EQ(CountedFreeMB(8, 512, 131071), 0u);            // below one step of 512 MB
    EXPECT_EQ(CountedFreeMB(8, 4096, 1ULL << 32), 128ULL * 1024 * 1024);  // 16 TiB
}

TEST(TempFolderTest, FindTempFolderPrefersTheFirstFixedDriveWithRoom) {
    TempDir d, e, f;
    VolumeServiceScope scope;
    scope.service.list = {Volume('D', d.str(), 10240), Volume('E', e.str(), 20000, DRIVE_REMOVABLE),
                          Volume('F', f.str(), 30000)};
    // D has exactly 10240 MB: not enough (strictly more is needed); E is not fixed.
    EXPECT_EQ(FindTempFolder(TempSubFolder), f.str() + TempSubFolder);
    EXPECT_TRUE(DirectoryExists(f.str() + TempSubFolder));

    scope.service.list = {Volume('D', d.str(), 5000), Volume('G', e.str(), 8000)};
    EXPECT_EQ(FindTempFolder(TempSubFolder), e.str() + TempSubFolder);  // the roomiest one
}

TEST(TempFolderTest, WithoutFixedDrivesTheHomeFolderServes) {
    testing_vcl::TScratchHome scratch;
    VolumeServiceScope scope;
    EXPECT_EQ(FindTempFolder(TempSubFolder), scratch.Home() + "/" + TempSubFolder);
    EXPECT_TRUE(DirectoryExists(scratch.Home() + "/" + TempSubFolder));
    EXPECT_TRUE(scratch.CwdEntries().empty());
}

// A wanted folder on a fixed drive is taken (a bare drive gets the work sub-folder); anything
// else, a word without a drive part above all, falls back to the output folder when that one
// is on a fixed drive, else to the folder FindTempFolder chooses. No case makes a folder in the
// current directory.
TEST(TempFolderTest, GetTempFolderValidatesTheWantedFolder) {
    testing_vcl::TScratchHome scratch;
    TempDir d;
    VolumeServiceScope scope;
    scope.service.list = {Volume('D', d.str(), 50000)};
    const String chosen = d.str() + "chosen/";
    const String found = d.str() + TempSubFolder;  // what FindTempFolder gives here
    struct Case { String wanted, output, expected; };
    const Case cases[] = {
        {"D:", "", found},
        {d.str() + "out", "", d.str() + "out/"},
        {d.str() + "no/such/deep", chosen, found},  // cannot be made: FindTempFolder, not the output folder
        {"nodef", chosen, chosen},
        {"nodef", "", found},
        {"nodef", "relative/", found},             // a relative output folder is no fallback either
        {"DVDTemp/", chosen, chosen},
        {"sub/dir", "", found},
        {"", chosen, found},
    };
    ASSERT_TRUE(CreateDir(chosen));
    for (const Case& c : cases) {
        g_s_OutputFolder = c.output;
        EXPECT_EQ(GetTempFolder(c.wanted), c.expected) << "'" << c.wanted << "' with output '" << c.output << "'";
        EXPECT_TRUE(scratch.CwdEntries().empty()) << "'" << c.wanted << "' made a folder in the current directory";
    }
    g_s_OutputFolder.clear();
}

TEST(TempFolderTest, TheWorkFoldersAreKnownAndRefusedAsOutput) {
    testing_vcl::TScratchHome scratch;
    const String saved = ExePath;
    TempDir program;
    ExePath = program.str();
    const std::vector<String> places = WorkFolderPlaces(ExePath);
    ASSERT_EQ(places.size(), 2u);
    EXPECT_EQ(places[0], program.str() + "Temp/");
    EXPECT_EQ(places[1], scratch.Home() + "/.cache/QuelloxDOZEzedav/Temp/");
    struct Case { String folder; bool inWork; };
    const Case cases[] = {
        {program.str() + "Temp/", true},
        {program.str() + "Temp", true},
        {program.str() + "Temp/results/", true},           // emptied with it
        {program.str() + "Temp/../Temp/", true},
        {scratch.Home() + "/.cache/QuelloxDOZEzedav/Temp/", true},
        {program.str(), false},
        {program.str() + "Temporary/", false},
        {scratch.Home() + "/.cache/", false},
        {scratch.Home() + "/Videos/", false},
        {"", false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsInWorkFolder(c.folder), c.inWork) << c.folder;
    ExePath = saved;
}

TEST(TempFolderTest, TheInstanceLockLivesWhereOnlyThisUserWrites) {
    testing_vcl::TScratchHome scratch;
    // No runtime folder: the program's folder in the user's cache, made private.
    const String folder = InstanceLockFolder();
    EXPECT_EQ(folder, scratch.Home() + "/.cache/" + ProductName);
    struct stat st {};
    ASSERT_EQ(::stat(folder.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    // A runtime folder others may write into is passed over; a private one serves.
    TempDir runtime;
    ::chmod(runtime.path.c_str(), 0777);
    ::setenv("XDG_RUNTIME_DIR", runtime.path.c_str(), 1);
    EXPECT_EQ(InstanceLockFolder(), folder);
    ::chmod(runtime.path.c_str(), 0700);
    EXPECT_EQ(InstanceLockFolder(), runtime.path.string());
    // A cache folder someone opened to all is not used: no lock rather than a shared one.
    ::unsetenv("XDG_RUNTIME_DIR");
    ::chmod(folder.c_str(), 0777);
    EXPECT_EQ(InstanceLockFolder(), "");
    ::chmod(folder.c_str(), 0700);
    EXPECT_TRUE(scratch.CwdEntries().empty());
}

TEST(PubfunctionTest, NamesAreFoundWithoutRegardToCase) {
    TempDir d;
    fs::create_directories(d.path / "video_ts");
    fs::create_directories(d.path / "Disc" / "VIDEO_TS");
    std::ofstream((d.path / "Film.SRT").string()) << "x";
    std::ofstream((d.path / "clip.srt").string()) << "x";
    std::ofstream((d.path / "Other.Srt").string()) << "x";
    fs::create_directories(d.path / "Folder.srt");
    struct Case { String path; TEntryKind kind; String expected; };
    const Case cases[] = {
        {d.str() + "Film.srt", TEntryKind::File, d.str() + "Film.SRT"},
        {d.str() + "clip.srt", TEntryKind::File, d.str() + "clip.srt"},
        {d.str() + "Other.srt", TEntryKind::File, d.str() + "Other.Srt"},
        {d.str() + "Folder.srt", TEntryKind::File, ""},        // a folder is no subtitle file
        {d.str() + "None.srt", TEntryKind::File, ""},
        {d.str() + "VIDEO_TS", TEntryKind::Folder, d.str() + "video_ts"},
        {d.str() + "VIDEO_TS/", TEntryKind::Folder, d.str() + "video_ts"},
        {d.str() + "Disc/VIDEO_TS", TEntryKind::Folder, d.str() + "Disc/VIDEO_TS"},
        {d.str() + "Film.srt", TEntryKind::Folder, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(FindIgnoringCase(c.path, c.kind), c.expected) << c.path;
}

TEST(PubfunctionTest, OnlyTextWithoutLineBreaksCanBeStored) {
    EXPECT_TRUE(CanStoreInSettings("/home/me/DVD out/"));
    EXPECT_TRUE(CanStoreInSettings(""));
    EXPECT_FALSE(CanStoreInSettings("/home/me/two\nlines/"));
    EXPECT_FALSE(CanStoreInSettings("/home/me/cr\r/"));
}

TEST(DeleteFolderContentsTest, EmptiesTheTreeButNotWhatLinksPointAt) {
    TempDir work, outside;
    fs::create_directories(work.path / "a" / "b");
    std::ofstream((work.path / "a" / "b" / "f.txt").string()) << "x";
    std::ofstream((work.path / "top.vob").string()) << "x";
    std::ofstream((outside.path / "keep.txt").string()) << "keep";
    fs::create_directory_symlink(outside.path, work.path / "link");
    DeleteFolderContents(work.str());
    EXPECT_TRUE(fs::exists(work.path));
    EXPECT_TRUE(fs::is_empty(work.path));
    EXPECT_TRUE(fs::exists(outside.path / "keep.txt"));
    // Refused outright.
    DeleteFolderContents("");
    DeleteFolderContents("/");
    std::ofstream((fs::path(ExePath) / "pubfunc-probe.txt").string()) << "x";
    DeleteFolderContents(ExePath);
    EXPECT_TRUE(fs::exists(fs::path(ExePath) / "pubfunc-probe.txt"));
    fs::remove(fs::path(ExePath) / "pubfunc-probe.txt");
}

TEST(PubfunctionTest, ClearingTheListsAndBitmaps) {
    TitleMenuLabel.push_back(new TLabel(nullptr));
    TitleMenuLabel.push_back(new TLabel(nullptr));
    ClearTitleMenuLabel();
    EXPECT_TRUE(TitleMenuLabel.empty());
    SrtEnabledBmp = new TBitmap();
    MenuClipUnSelectBmpOn = new TBitmap();
    FreeSharedBitmaps();
    EXPECT_EQ(SrtEnabledBmp, nullptr);
    EXPECT_EQ(MenuClipUnSelectBmpOn, nullptr);
    FreeSharedBitmaps();  // twice is harmless
}
