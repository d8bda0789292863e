#include "core/Pubfunction.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "core/LanguageMessages.h"
#include "libs/resize/ResizeDll.h"
#include "platform/vcl/SysUtils.h"

String ExePath = Win32_ProgramFolder();
const String ProductName = "QuelloxDOZEzedav";
const String DisplayProductName = "Quellox DOZ Ezedav";
String UILanguage;
TIniFile* LanguageIni = nullptr;

std::vector<TClipInfo*> ClipInfo;
std::vector<TLabel*> TitleMenuLabel;
String s_BackgroundSrcFile;
String s_BackgroundMusicFile;
Byte* RGBBuff = nullptr;

int i_DVDType = 0;
int i_DiscSizePerMin = 30720;
int i_DVD5Size = 4403200;
int i_DVD9Size = 8704000;
String g_s_OutputFolder;
bool b_UseSTPI = false;
bool b_DeleteTempFile = false;
bool b_DVD5 = false;
bool b_4_3 = false;
bool b_VideoForamt = false;
int g_i_OutputQuality = 0;
int g_i_BurnerIndex = 0;
int i_CreateMenuSafeDistance = 10;
int i_MenuDuration = 5;
int i_FontSize = 20;
int i_SubTitleLanguageCodeIndex = 0;
int i_MenuLanguageCodeIndex = 0;
String OpenDialogFilter;
String OpenDialogMusicFilter;

std::atomic<bool> b_ThreadIsWorking = false;
std::atomic<int> i_ThreadReturnVal = 0;

TBitmap* SrtEnabledBmp = nullptr;
TBitmap* SrtDisabledBmp = nullptr;
TBitmap* SetupClipSelectBmp = nullptr;
TBitmap* SetupClipSelectBmpOn = nullptr;
TBitmap* SetupClipUnSelectBmp = nullptr;
TBitmap* SetupClipUnSelectBmpOn = nullptr;
TBitmap* MenuClipSelectBmp = nullptr;
TBitmap* MenuClipSelectBmpOn = nullptr;
TBitmap* MenuClipUnSelectBmp = nullptr;
TBitmap* MenuClipUnSelectBmpOn = nullptr;

const String TempSubFolder = "DVDTemp/";

namespace Pubfunction {

String IntToStr2(int n) {
    long long v = std::llabs(static_cast<long long>(n));
    return v < 10 ? "0" + std::to_string(v) : std::to_string(v);
}

String SecondsToHMS(int seconds) {
    int h = seconds / 3600;
    int m = (seconds % 3600) / 60;
    int s = seconds % 60;
    return IntToStr2(h) + ":" + IntToStr2(m) + ":" + IntToStr2(s);
}

int ClampRange(int Value, int Low, int High) {
    if (High < Low || Value < Low) return Low;
    return Value > High ? High : Value;
}

double ClampFloat(double Value, double Low, double High) {
    if (High < Low || std::isnan(Value) || Value < Low) return Low;
    return Value > High ? High : Value;
}

int BitsPerPixel(const TBitmap* Bitmap) { return Bitmap->GetPixelFormat() == pf24bit ? 24 : 32; }

TRect FitRect(int SrcWidth, int SrcHeight, int Width, int Height, bool KeepRatio) {
    int boxW = Width, boxH = Height;
    if (KeepRatio) {
        // A picture without a size has no ratio: it gets no box at all.
        if (SrcWidth <= 0 || SrcHeight <= 0 || Width <= 0 || Height <= 0) return {};
        float boxRatio = static_cast<float>(Width) / static_cast<float>(Height);
        float srcRatio = static_cast<float>(SrcWidth) / static_cast<float>(SrcHeight);
        if (boxRatio > srcRatio) {
            boxW = static_cast<int>(std::trunc(static_cast<float>(Height) * srcRatio));
            boxW -= boxW % 2;
        } else {
            boxH = static_cast<int>(std::trunc(static_cast<float>(Width) / srcRatio));
            boxH -= boxH % 2;
        }
    }
    return Rect((Width - boxW) / 2, (Height - boxH) / 2, (Width + boxW) / 2, (Height + boxH) / 2);
}

void StretchBitmap(TBitmap*& Dst, TBitmap* Src, int Width, int Height, bool KeepRatio) {
    if (Src == nullptr) return;
    TBitmap* bmp = Dst != nullptr ? Dst : new TBitmap();
    bmp->SetSize(std::max(Width, 0), std::max(Height, 0));
    TCanvas* c = bmp->GetCanvas();
    if (KeepRatio) {
        c->GetBrush()->SetStyle(bsSolid);
        c->GetBrush()->SetColor(clBlack);
        c->GetPen()->SetColor(clBlack);
        c->GetPen()->SetWidth(1);
        c->FillRect(Rect(0, 0, Width, Height));
    }
    TRect box = FitRect(Src->GetWidth(), Src->GetHeight(), Width, Height, KeepRatio);
    if (!Src->GetEmpty() && !box.IsEmpty())
        c->CopyRect(box, Src->GetCanvas(), Rect(0, 0, Src->GetWidth(), Src->GetHeight()));
    Dst = bmp;
}

void ResizeBitmap(TBitmap*& Dst, TBitmap* Src, int Width, int Height, bool Flag) {
    if (Src == nullptr) return;
    TPixelFormat srcFormat = Src->GetPixelFormat();
    Src->SetPixelFormat(pf32bit);
    TBitmap* bmp = Dst != nullptr ? Dst : new TBitmap(0, 0, pf32bit);
    TPixelFormat dstFormat = Dst != nullptr ? bmp->GetPixelFormat() : pf32bit;
    bmp->SetPixelFormat(pf32bit);
    bmp->SetSize(std::max(Width, 0), std::max(Height, 0));
    if (!Src->GetEmpty() && !bmp->GetEmpty()) {
        RS_ReSize(Src->ScanLine(Src->GetHeight() - 1), BitsPerPixel(Src), Src->GetWidth(), Src->GetHeight(),
                  bmp->ScanLine(bmp->GetHeight() - 1), BitsPerPixel(bmp), bmp->GetWidth(), bmp->GetHeight(),
                  Flag ? 1 : 0);
        bmp->PixelsChanged();
    }
    Src->SetPixelFormat(srcFormat);
    bmp->SetPixelFormat(dstFormat);
    Dst = bmp;
}

void SwapInt(int& a, int& b) {
    int t = a;
    a = b;
    b = t;
}

int QuickSortPartition(int* a, int lo, int hi) {
    if (hi <= lo) return lo;
    float pivot = static_cast<float>(a[lo]);
    while (hi > lo) {
        while (hi > lo && static_cast<float>(a[hi]) >= pivot) --hi;
        SwapInt(a[lo], a[hi]);
        while (hi > lo && static_cast<float>(a[lo]) <= pivot) ++lo;
        SwapInt(a[lo], a[hi]);
    }
    return lo;
}

void QuickSort(int* a, int lo, int hi) {
    if (hi <= lo) return;
    int p = QuickSortPartition(a, lo, hi);
    QuickSort(a, lo, p - 1);
    QuickSort(a, p + 1, hi);
}

String RemoveFileExt(const String& Path) {
    size_t delim = Path.find_last_of("/\\");
    size_t dot = Path.find_last_of('.');
    if (dot == String::npos || (delim != String::npos && dot < delim)) return Path;
    return Path.substr(0, dot);
}

Int64 GetFileSize(const String& FileName) {
    struct stat st {};
    if (::stat(FileName.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
    return static_cast<Int64>(st.st_size);
}

Int64 GetFileSizeKB(const String& FileName) { return GetFileSize(FileName) / 1024; }
Int64 GetFileSizeMB(const String& FileName) { return GetFileSizeKB(FileName) / 1024; }

void ClearTitleMenuLabel() {
    auto labels = std::move(TitleMenuLabel);
    TitleMenuLabel.clear();
    for (TLabel* l : labels) delete l;
}

void FreeSharedBitmaps() {
    for (TBitmap** b : {&SrtEnabledBmp, &SrtDisabledBmp, &SetupClipSelectBmp, &SetupClipSelectBmpOn,
                        &SetupClipUnSelectBmp, &SetupClipUnSelectBmpOn, &MenuClipSelectBmp, &MenuClipSelectBmpOn,
                        &MenuClipUnSelectBmp, &MenuClipUnSelectBmpOn})
        TObject::FreeAndNil(*b);
    TObject::FreeAndNil(LanguageIni);
}

int WindowsVersionCode(const OSVERSIONINFOA* Info) {
    if (Info == nullptr) return 2;  // only NT-family systems run this program
    if (Info->dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) {
        if (Info->dwMinorVersion == 0) return 1;
        if (Info->dwMinorVersion == 10) return 4;
        if (Info->dwMinorVersion > 50) return 6;
        return 0;
    }
    if (Info->dwPlatformId == VER_PLATFORM_WIN32_NT) {
        if (Info->dwMajorVersion == 4) return 2;
        return Info->dwMinorVersion == 0 ? 5 : 7;
    }
    return 0;
}

int GetWindowsVersion() {
    OSVERSIONINFOA info;
    info.dwOSVersionInfoSize = 148;
    return WindowsVersionCode(GetVersionExA(&info) ? &info : nullptr);
}

namespace {

// A folder that exists, or whose last level can be made because its parent exists.
bool ExistsOrCreatable(const String& Folder) {
    if (DirectoryExists(Folder)) return true;
    return CreateDir(ExcludeTrailingPathDelimiter(Folder));
}

// A drive letter with its colon, or an absolute path: a relative word names no drive, and would
// land in whatever folder the program happened to be started from.
bool HasDrivePart(const String& Path) {
    if (!Path.empty() && Path[0] == '/') return true;
    return Path.size() >= 2 && std::isalpha(static_cast<unsigned char>(Path[0])) && Path[1] == ':';
}

bool IsFixedVolume(const String& PathOrRoot, Win32Volume& Volume) {
    return HasDrivePart(PathOrRoot) && Win32_FindVolume(PathOrRoot, Volume) && Volume.driveType == DRIVE_FIXED;
}

// Drive C of the original: the user's home folder.
String HomeRoot() {
    const char* home = std::getenv("HOME");
    return IncludeTrailingPathDelimiter(home != nullptr && *home != '\0' ? home : "/tmp");
}

}  // namespace

ULONGLONG CountedFreeMB(DWORD SectorsPerCluster, DWORD BytesPerSector, ULONGLONG FreeClusters) {
    return (FreeClusters * SectorsPerCluster / 1048576) * BytesPerSector;
}

String FindTempFolder(const String& Sub) {
    String best = HomeRoot();
    ULONGLONG bestFree = 0;
    for (char letter = 'D'; letter <= 'Y'; ++letter) {
        String root = String(1, letter) + ":\\";
        Win32Volume v;
        if (!IsFixedVolume(root, v)) continue;
        ULONGLONG clusterBytes = static_cast<ULONGLONG>(v.sectorsPerCluster) * v.bytesPerSector;
        ULONGLONG freeClusters = clusterBytes == 0 ? 0 : v.freeBytes / clusterBytes;
        ULONGLONG freeMB = CountedFreeMB(v.sectorsPerCluster, v.bytesPerSector, freeClusters);
        String local = IncludeTrailingPathDelimiter(v.mountPoint);
        if (freeMB > 10240) {
            String folder = local + Sub;
            if (ExistsOrCreatable(folder)) return folder;
        }
        if (freeMB > bestFree) {
            bestFree = freeMB;
            best = local;
        }
    }
    if (ExistsOrCreatable(best + Sub)) return best + Sub;
    if (ExistsOrCreatable(HomeRoot() + Sub)) return HomeRoot() + Sub;
    return HomeRoot();
}

String GetTempFolder(const String& Path) {
    if (!Path.empty()) {
        Win32Volume v;
        if (IsFixedVolume(Path, v)) {
            String folder = IncludeTrailingPathDelimiter(Win32_LocalPath(Path));
            // A bare drive or volume root gets the work sub-folder.
            if (folder == IncludeTrailingPathDelimiter(v.mountPoint)) folder += TempSubFolder;
            if (ExistsOrCreatable(folder)) return folder;
        } else if (!g_s_OutputFolder.empty() && IsFixedVolume(g_s_OutputFolder, v) &&
                   ExistsOrCreatable(g_s_OutputFolder)) {
            return g_s_OutputFolder;
        }
    }
    return FindTempFolder(TempSubFolder);
}

std::vector<String> WorkFolderPlaces(const String& ProgramFolder) {
    std::vector<String> places{IncludeTrailingPathDelimiter(ProgramFolder) + "Temp/"};
    String cache;
    if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg != nullptr && *xdg == '/') {
        cache = xdg;
    } else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        cache = String(home) + "/.cache";
    }
    if (!cache.empty()) places.push_back(IncludeTrailingPathDelimiter(cache) + "QuelloxDOZEzedav/Temp/");
    return places;
}

namespace {

std::filesystem::path Resolved(const String& Folder) {
    std::error_code ec;
    std::filesystem::path p = std::filesystem::weakly_canonical(std::filesystem::path(Win32_LocalPath(Folder)), ec);
    return ec ? std::filesystem::path(Win32_LocalPath(Folder)).lexically_normal() : p;
}

// Inner lies in Outer, or is Outer itself.
bool LiesIn(const std::filesystem::path& Inner, const std::filesystem::path& Outer) {
    auto o = Outer.begin(), i = Inner.begin();
    for (; o != Outer.end() && !o->empty(); ++o, ++i)
        if (i == Inner.end() || *i != *o) return false;
    return true;
}

}  // namespace

bool IsInWorkFolder(const String& Folder) {
    if (Folder.empty()) return false;
    const std::filesystem::path wanted = Resolved(Folder);
    for (const String& place : WorkFolderPlaces(ExePath))
        if (LiesIn(wanted, Resolved(place))) return true;
    return false;
}

namespace {

// A folder of this user's alone: owned by the user and writable by nobody else.
bool IsPrivateFolder(const String& Folder) {
    struct stat st {};
    return ::lstat(Folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() &&
           (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

}  // namespace

String InstanceLockFolder() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && *runtime == '/' &&
                                                                IsPrivateFolder(runtime))
        return runtime;
    String cache;
    if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg != nullptr && *xdg == '/') {
        cache = xdg;
    } else if (const char* home = std::getenv("HOME"); home != nullptr && *home == '/') {
        cache = String(home) + "/.cache";
    }
    if (cache.empty()) return "";
    const String folder = cache + "/" + ProductName;
    ForceDirectories(cache);
    ::mkdir(folder.c_str(), 0700);
    return IsPrivateFolder(folder) ? folder : String();
}

String FindIgnoringCase(const String& Path, TEntryKind Kind) {
    namespace fs = std::filesystem;
    const String wanted = ExcludeTrailingPathDelimiter(Path);
    const auto isKind = [Kind](const fs::directory_entry& e) {
        std::error_code ec;
        return Kind == TEntryKind::Folder ? e.is_directory(ec) : e.is_regular_file(ec);
    };
    std::error_code ec;
    if (fs::directory_entry exact(wanted, ec); !ec && isKind(exact)) return wanted;
    const fs::path p(wanted);
    const String name = p.filename().string();
    const fs::path folder = p.has_parent_path() ? p.parent_path() : fs::path(".");
    // In directory order, the first spelling found answers.
    for (auto it = fs::directory_iterator(folder, ec); !ec && it != fs::directory_iterator(); it.increment(ec))
        if (SameText(it->path().filename().string(), name) && isKind(*it))
            return (p.has_parent_path() ? IncludeTrailingPathDelimiter(folder.string()) : String()) +
                   it->path().filename().string();
    return "";
}

bool CanStoreInSettings(const String& Text) { return Text.find_first_of("\r\n") == String::npos; }

int OutputFolderRefusal(const String& Folder) {
    if (!CanStoreInSettings(Folder)) return Language::kMsgFolderNameHasLineBreak;
    if (IsInWorkFolder(Folder)) return Language::kMsgOutputIsWorkFolder;
    return 0;
}

void DeleteFolderContents(const String& Folder) {
    namespace fs = std::filesystem;
    if (Folder.empty()) return;
    std::error_code ec;
    fs::path dir = fs::weakly_canonical(fs::path(Win32_LocalPath(Folder)), ec);
    if (ec || dir.empty() || dir == dir.root_path()) return;
    fs::path program = fs::weakly_canonical(fs::path(ExePath), ec);
    if (!ec && dir == program) return;
    for (auto it = fs::directory_iterator(dir, ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::error_code e2;
        const fs::path& p = it->path();
        if (fs::is_symlink(it->symlink_status(e2))) {
            fs::remove(p, e2);  // the link goes, what it points at stays
        } else if (it->is_directory(e2)) {
            DeleteFolderContents(p.string());
            fs::remove(p, e2);
        } else {
            fs::remove(p, e2);
        }
    }
}

}  // namespace Pubfunction
