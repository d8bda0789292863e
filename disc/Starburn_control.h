// The burner facade: plain functions over the device list for the windows.
//
// Call sequence: InitBurner(window); FindDevices(useSPTI, true); SelectDevice(i);
// SetBurnSpeed(k); GetFolderSize(folder); BurnDVD(); ... UninitBurner().
// Scans, burns and erases run on worker threads, one at a time; the waiting functions keep the
// calling (user-interface) thread's messages flowing every 50 ms, and the workers post
// WM_BURNER_NOTIFY to the registered window. Call these functions from one thread.
// Each function takes the drive it needs and lets go of it before it returns (LockDevice holds
// it until ReleaseDevice), so the tray and other programs are free between jobs.
#pragma once

#include "disc/Cdvddevice.h"
#include "platform/vcl/StringList.h"
#include "platform/win32/Windows.h"

#include <cstdint>
#include <string>

constexpr UINT WM_BURNER_NOTIFY = WM_USER + 138;   // 1162
constexpr WPARAM BURNER_NOTIFY_SCAN_DONE = 1;
constexpr WPARAM BURNER_NOTIFY_BURN_DONE = 2;      // lParam 1 success, 0 failure
constexpr WPARAM BURNER_NOTIFY_PROGRESS = 3;       // lParam percent 0..100
constexpr WPARAM BURNER_NOTIFY_PADDING = 4;        // lParam 0 padding begins, 1 ends

constexpr int SELECT_DEVICE_FAILED = 0;
constexpr int SELECT_DEVICE_READY = 1;
constexpr int SELECT_DEVICE_NOT_BLANK = 2;
constexpr int SELECT_DEVICE_BAD_MEDIA = 3;

void InitBurner(HWND window);
// Joins any worker still running, then frees the speed-label list; no current device after it.
void UninitBurner();
// False when a scan, burn or erase is already running or the thread cannot start.
bool FindDevices(bool useSPTI, bool wait);
// True while a scan, burn or erase runs.
bool IsBurnerBusy();
std::string GetDeviceName(int index);
// The facade's one label list (owned by the facade); null for an index outside the list.
TStringList* GetWriteSpeedList(int index, bool refresh);
TStringList* GetReadSpeedList(int index, bool refresh);
// SELECT_DEVICE_FAILED also for a drive another program holds (see WasDeviceInUse).
int SelectDevice(int index);
// The last SelectDevice failed because another program holds the drive (a mounted disc).
bool WasDeviceInUse();
std::int64_t GetFolderSize(const std::string& folder);
double GetDiscFreeBytes();
// An index outside the current write speeds is clamped to the nearest entry.
void SetBurnSpeed(int index);
// Burns the folder of the last GetFolderSize as "DVD_Disc"; returns after the last notification.
bool BurnDVD();
// Erases at the highest write speed; false when there is none or an operation is running.
bool EraseDisc();
bool EjectDisc();
bool LoadDisc();
bool LockDevice();
bool ReleaseDevice();
std::string GetMediaTypeNameText();
bool CanWriteDVDMinusR();
bool CanWriteDVDPlusR();
bool CanWriteDVDPlusRW();
bool CanWriteDVDPlusRDL();
double GetFreeMB();
double GetUsedMB();
int GetTrackCount();
int GetSessionCount();
