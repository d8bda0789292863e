// The program's shared state (what the windows pass to one another) and its small helpers.
#pragma once

#include <atomic>
#include <vector>

#include "platform/vcl/Graphics.h"
#include "platform/vcl/IniFiles.h"
#include "platform/vcl/StdCtrls.h"

class TClipInfo;

// ---- global state ------------------------------------------------------------------------------

extern String ExePath;  // the program folder, with a trailing '/'
extern const String ProductName;
extern const String DisplayProductName;
extern String UILanguage;
extern TIniFile* LanguageIni;

extern std::vector<TClipInfo*> ClipInfo;    // owns the clips; order = title order
extern std::vector<TLabel*> TitleMenuLabel;  // owns the labels
extern String s_BackgroundSrcFile;
extern String s_BackgroundMusicFile;
extern Byte* RGBBuff;

extern int i_DVDType;
extern int i_DiscSizePerMin;
extern int i_DVD5Size;
extern int i_DVD9Size;
extern String g_s_OutputFolder;
extern bool b_UseSTPI;
extern bool b_DeleteTempFile;
extern bool b_DVD5;
extern bool b_4_3;
extern bool b_VideoForamt;
extern int g_i_OutputQuality;
extern int g_i_BurnerIndex;
extern int i_CreateMenuSafeDistance;
extern int i_MenuDuration;
extern int i_FontSize;
extern int i_SubTitleLanguageCodeIndex;
extern int i_MenuLanguageCodeIndex;
extern String OpenDialogFilter;
extern String OpenDialogMusicFilter;

// Written by a production window's worker thread while the user-interface thread polls them.
// The worker stores its result before it clears the flag, so a poller that sees the flag clear
// reads the result of that run.
extern std::atomic<bool> b_ThreadIsWorking;
extern std::atomic<int> i_ThreadReturnVal;

extern TBitmap* SrtEnabledBmp;
extern TBitmap* SrtDisabledBmp;
extern TBitmap* SetupClipSelectBmp;
extern TBitmap* SetupClipSelectBmpOn;
extern TBitmap* SetupClipUnSelectBmp;
extern TBitmap* SetupClipUnSelectBmpOn;
extern TBitmap* MenuClipSelectBmp;
extern TBitmap* MenuClipSelectBmpOn;
extern TBitmap* MenuClipUnSelectBmp;
extern TBitmap* MenuClipUnSelectBmpOn;

// The work folder's sub-folder name.
extern const String TempSubFolder;

// ---- helpers -----------------------------------------------------------------------------------

namespace Pubfunction {

String IntToStr2(int n);
String SecondsToHMS(int seconds);
int BitsPerPixel(const TBitmap* Bitmap);

// The box the picture lands in when it is fitted into Width x Height (keeping its ratio or not).
TRect FitRect(int SrcWidth, int SrcHeight, int Width, int Height, bool KeepRatio);
void StretchBitmap(TBitmap*& Dst, TBitmap* Src, int Width, int Height, bool KeepRatio);
void ResizeBitmap(TBitmap*& Dst, TBitmap* Src, int Width, int Height, bool Flag);

// Value limited to Low..High; Low when High < Low (the low bound wins).
int ClampRange(int Value, int Low, int High);
// The same for floating point; a value that is not a number gives Low.
double ClampFloat(double Value, double Low, double High);

void SwapInt(int& a, int& b);
int QuickSortPartition(int* a, int lo, int hi);
void QuickSort(int* a, int lo, int hi);

String RemoveFileExt(const String& Path);
// Sizes are 64-bit: VOB files pass 2 GB. -1 (and 0 KB, 0 MB) for a file that cannot be opened.
Int64 GetFileSize(const String& FileName);
Int64 GetFileSizeKB(const String& FileName);
Int64 GetFileSizeMB(const String& FileName);

void ClearTitleMenuLabel();
// Deletes every clip, empties ClipInfo and forgets the title menu's music (CustomClass.cpp).
void ClearClipInfo();
void FreeSharedBitmaps();

// The system's version code: 1 Windows 95, 2 NT 4, 4 Windows 98, 5 Windows 2000, 6 Windows Me,
// 7 XP and later, 0 anything else.
int GetWindowsVersion();
// The code for an answer of the version query; nullptr when the query failed.
int WindowsVersionCode(const OSVERSIONINFOA* Info);

// Free megabytes as the work-folder choice counts them: whole clusters, in steps of the sector.
ULONGLONG CountedFreeMB(DWORD SectorsPerCluster, DWORD BytesPerSector, ULONGLONG FreeClusters);
String FindTempFolder(const String& Sub);
String GetTempFolder(const String& Path);
// Where the production windows keep their work files, in the order they are tried: beside the
// program, then in the user's cache folder (when HOME or XDG_CACHE_HOME names one).
std::vector<String> WorkFolderPlaces(const String& ProgramFolder);
// The folder is one of the work folders or lies inside one: its files are deleted after a run.
bool IsInWorkFolder(const String& Folder);
// Where the single-instance lock lives: a folder only this user can write ($XDG_RUNTIME_DIR,
// else the program's folder in the user's cache). Empty when there is none.
String InstanceLockFolder();
enum class TEntryKind { File, Folder };
// The file or folder at Path, its last name matched without regard to case (a lowercase
// "video_ts" for "VIDEO_TS"), with the spelling found on disk; the exact name when it exists;
// empty when there is none.
String FindIgnoringCase(const String& Path, TEntryKind Kind);
// A settings file keeps one value a line: a text with a line break cannot be stored.
bool CanStoreInSettings(const String& Text);
// Why a folder chosen as the output folder is refused, as a message number (a name with a line
// break, or a work folder); 0 when it can be taken.
int OutputFolderRefusal(const String& Folder);
// Empties a folder; refuses an empty path, a file-system root and the program folder, and
// removes links without following them. Errors are ignored.
void DeleteFolderContents(const String& Folder);

}  // namespace Pubfunction
