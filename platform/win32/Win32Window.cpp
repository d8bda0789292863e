// HWNDs for the class library's windows, and FindWindowA over this process and others.
#include "platform/win32/Windows.h"

#include "platform/win32/Win32Internal.h"

#include <atomic>
#include <cstdio>
#include <exception>
#include <map>
#include <vector>

namespace {

struct WindowEntry {
    std::shared_ptr<Win32WindowRecord> record;
    std::string title;
};

// Ordered by id, so lookups by title find the oldest window first.
struct WindowTable {
    std::mutex mutex;
    std::map<std::uint64_t, WindowEntry> windows;
};

WindowTable& Table() {
    static auto* table = new WindowTable;   // never destroyed: used by exit-time clean-up
    return *table;
}

std::atomic<std::uint64_t> g_nextWindowId{1};

std::uint64_t IdOf(HWND hWnd) { return reinterpret_cast<std::uintptr_t>(hWnd); }

bool Announced(const Win32WindowRecord& record, const std::string& title) {
    return record.topLevel && !title.empty();
}

HWND FindLocalByTitle(LPCSTR title) {
    auto& table = Table();
    std::lock_guard lock(table.mutex);
    for (auto& [id, entry] : table.windows) {
        if (!entry.record->topLevel) continue;
        if (!title || entry.title == title) return entry.record->handle;
    }
    return nullptr;
}

}  // namespace

static_assert(sizeof(std::uintptr_t) >= 8, "HWND values carry a pid and a window id");

HWND Win32_ForeignHandle(int pid, std::uint64_t windowId) {
    auto value = kWin32ForeignTag | (static_cast<std::uint64_t>(pid) << 32) | (windowId & 0xFFFFFFFFu);
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(value));
}

bool Win32_DecodeForeignHandle(HWND hWnd, int& pid, std::uint64_t& windowId) {
    auto value = IdOf(hWnd);
    if ((value & kWin32ForeignTag) == 0) return false;
    pid = static_cast<int>((value & ~kWin32ForeignTag) >> 32);
    windowId = value & 0xFFFFFFFFu;
    return pid > 0;
}

HWND Win32_CreateWindow(Win32WindowProc proc, bool topLevel, const std::string& title) {
    auto record = std::make_shared<Win32WindowRecord>();
    std::uint64_t id = g_nextWindowId.fetch_add(1);
    record->handle = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(id));
    record->proc = std::move(proc);
    record->topLevel = topLevel;
    record->ownerThread = GetCurrentThreadId();
    record->queue = Win32_CurrentThreadQueue();
    auto& table = Table();
    std::lock_guard lock(table.mutex);
    table.windows[id] = WindowEntry{record, title};
    if (Announced(*record, title)) Win32_AnnounceWindow(id, title);
    return record->handle;
}

void Win32_SetWindowTitle(HWND hWnd, const std::string& title) {
    auto& table = Table();
    std::lock_guard lock(table.mutex);
    auto it = table.windows.find(IdOf(hWnd));
    if (it == table.windows.end()) return;
    it->second.title = title;
    // Announced under the new title only, so the old one is no longer found elsewhere.
    if (Announced(*it->second.record, title)) {
        Win32_AnnounceWindow(it->first, title);
    } else {
        Win32_WithdrawWindow(it->first);
    }
}

void Win32_DestroyWindow(HWND hWnd) {
    std::shared_ptr<Win32WindowRecord> record;
    {
        auto& table = Table();
        std::lock_guard lock(table.mutex);
        auto it = table.windows.find(IdOf(hWnd));
        if (it == table.windows.end()) return;
        record = it->second.record;
        table.windows.erase(it);
        Win32_WithdrawWindow(IdOf(hWnd));
    }
    if (record->queue) Win32_DropMessagesFor(*record->queue, hWnd);
}

void Win32_DestroyThreadWindows(DWORD threadId) {
    std::vector<HWND> owned;
    {
        auto& table = Table();
        std::lock_guard lock(table.mutex);
        for (auto& [id, entry] : table.windows) {
            if (entry.record->ownerThread == threadId) owned.push_back(entry.record->handle);
        }
    }
    for (HWND hWnd : owned) Win32_DestroyWindow(hWnd);
}

std::shared_ptr<Win32WindowRecord> Win32_FindLocalWindow(HWND hWnd) {
    auto& table = Table();
    std::lock_guard lock(table.mutex);
    auto it = table.windows.find(IdOf(hWnd));
    return it == table.windows.end() ? nullptr : it->second.record;
}

LRESULT Win32_CallWindowProcGuarded(const Win32WindowRecord& window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!window.proc) return 0;
    try {
        return window.proc(msg, wParam, lParam);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "win32: window procedure failed on message 0x%04X: %s\n", msg, e.what());
    } catch (...) {
        std::fprintf(stderr, "win32: window procedure failed on message 0x%04X\n", msg);
    }
    return 0;
}

BOOL IsWindow(HWND hWnd) {
    if (!hWnd) return FALSE;
    int pid = 0;
    std::uint64_t windowId = 0;
    if (Win32_DecodeForeignHandle(hWnd, pid, windowId)) return Win32_ForeignWindowAlive(pid, windowId);
    return Win32_FindLocalWindow(hWnd) ? TRUE : FALSE;
}

// The class name is not looked at: every window of ours belongs to the class library.
HWND FindWindowA(LPCSTR, LPCSTR lpWindowName) {
    if (HWND own = FindLocalByTitle(lpWindowName)) return own;
    if (!lpWindowName) return nullptr;
    int pid = 0;
    std::uint64_t windowId = 0;
    if (Win32_FindForeignWindow(lpWindowName, pid, windowId)) return Win32_ForeignHandle(pid, windowId);
    return nullptr;
}

int Win32_PostToTopLevelWindows(UINT Msg, WPARAM wParam, LPARAM lParam) {
    std::vector<HWND> targets;
    {
        auto& table = Table();
        std::lock_guard lock(table.mutex);
        for (auto& [id, entry] : table.windows) {
            if (entry.record->topLevel) targets.push_back(entry.record->handle);
        }
    }
    // Posted outside the table's lock: posting looks the window up again.
    int posted = 0;
    for (HWND hWnd : targets) posted += PostMessageA(hWnd, Msg, wParam, lParam) ? 1 : 0;
    return posted;
}
