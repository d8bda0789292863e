// What the Win32 service files share among themselves; not for callers above this layer.
#pragma once

#include <condition_variable>
#include <functional>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>

#include "platform/win32/Windows.h"

// ---- errors (Win32Error.cpp) ------------------------------------------------------------------
// The Windows code for an errno value met while working on path (ENOENT becomes
// ERROR_PATH_NOT_FOUND when the parent folder is missing).
DWORD Win32_ErrorFromErrno(int errnoValue, const std::string& path);
// Sets the last error from errno for path and returns FALSE, the usual failure answer.
BOOL Win32_FailFromErrno(const std::string& path);
BOOL Win32_Fail(DWORD error);

// ---- the toolkit's loop (QtMessageLoop.cpp) ---------------------------------------------------
// The calling thread's toolkit thread object, kept opaque.
void* Win32Qt_CurrentThread();
// True when QtThread runs the toolkit's (user-interface) loop.
bool Win32Qt_IsUiThread(void* QtThread);
bool Win32Qt_OnUiThread();
// Drains the user-interface thread's queue from its loop, once the current event returns.
void Win32Qt_ScheduleUiDrain();
// Delivers the toolkit's pending events (user-interface thread only).
void Win32Qt_ProcessEvents();
// Calls Changed on the UI thread whenever the folder's entries change (QtDeviceWatch.cpp); one
// folder at a time, a second call replaces the first. False when the folder cannot be watched.
bool Win32Qt_WatchFolder(const std::string& folder, std::function<void()> changed);
void Win32Qt_UnwatchFolder();

// ---- message queues (Win32Message.cpp) --------------------------------------------------------
struct Win32ThreadQueue;

// A message handed across threads by SendMessageA. The sender waits on its own queue (so it can
// answer messages sent to it meanwhile); done and result are guarded by that queue's mutex.
struct Win32SendState {
    std::shared_ptr<Win32ThreadQueue> waiter;
    bool done = false;
    LRESULT result = 0;
    void Complete(LRESULT value);
};

struct Win32QueuedMessage {
    MSG msg;
    std::shared_ptr<Win32SendState> send;   // set for a cross-thread SendMessageA
};

// One per thread that owns windows or pumps messages.
struct Win32ThreadQueue {
    DWORD threadId = 0;
    void* qtThread = nullptr;               // the QThread it runs on, to know the UI thread
    std::mutex mutex;
    std::condition_variable posted_cv;
    std::deque<Win32QueuedMessage> messages;
    bool wakePending = false;               // a drain is already scheduled on Qt's loop
    bool retired = false;                   // its thread has ended: takes no more messages
};

// The calling thread's queue, created on first use.
std::shared_ptr<Win32ThreadQueue> Win32_CurrentThreadQueue();
// The queue of a thread that has one, or nullptr.
std::shared_ptr<Win32ThreadQueue> Win32_FindThreadQueue(DWORD threadId);
// Removes queued messages for hWnd; senders waiting on them get 0.
void Win32_DropMessagesFor(Win32ThreadQueue& queue, HWND hWnd);

// ---- windows (Win32Window.cpp) ----------------------------------------------------------------
struct Win32WindowRecord {
    HWND handle = nullptr;
    Win32WindowProc proc;
    bool topLevel = false;
    DWORD ownerThread = 0;
    std::shared_ptr<Win32ThreadQueue> queue;
};

// A live window of this process, or nullptr (stale, foreign or never made).
std::shared_ptr<Win32WindowRecord> Win32_FindLocalWindow(HWND hWnd);
// Destroys every window the thread owns (it is ending).
void Win32_DestroyThreadWindows(DWORD threadId);
// Calls the window procedure; an exception is reported on stderr and gives 0.
LRESULT Win32_CallWindowProcGuarded(const Win32WindowRecord& window, UINT msg, WPARAM wParam, LPARAM lParam);

// ---- the per-user window registry (Win32WindowRegistry.cpp) -----------------------------------
// Announces (or re-announces under a new title) a top-level window of this process.
void Win32_AnnounceWindow(std::uint64_t windowId, const std::string& title);
void Win32_WithdrawWindow(std::uint64_t windowId);
// A window of another live process with exactly this title: its (pid, window id), or false.
// Announcements of dead processes met on the way are deleted.
bool Win32_FindForeignWindow(const std::string& title, int& pid, std::uint64_t& windowId);
bool Win32_ForeignWindowAlive(int pid, std::uint64_t windowId);

// HWND values: ours count up from 1; a foreign window carries its pid and window id, tagged.
constexpr std::uint64_t kWin32ForeignTag = std::uint64_t{1} << 62;
HWND Win32_ForeignHandle(int pid, std::uint64_t windowId);
bool Win32_DecodeForeignHandle(HWND hWnd, int& pid, std::uint64_t& windowId);

// ---- threads (Win32Thread.cpp) ----------------------------------------------------------------
// Gives the calling thread its id (CreateThread does so before the routine runs).
void Win32_AdoptThreadId(DWORD id);
DWORD Win32_NewThreadId();

// ---- volumes (Win32MountTable.cpp) ------------------------------------------------------------
Win32VolumeService& Win32_MountTableVolumeService();
