// ShellExecuteA "open" through the desktop's opener.
#include "platform/win32/Windows.h"

#include "platform/win32/Win32Internal.h"

#include <cctype>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

// Starts "xdg-open target" in its own session without waiting for it; a watcher thread reaps
// it so no zombie is left.
bool StartDesktopOpener(const std::string& target) {
    posix_spawnattr_t attributes;
    if (posix_spawnattr_init(&attributes) != 0) return false;
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    char program[] = "xdg-open";
    std::string argument = target;
    char* argv[] = {program, argument.data(), nullptr};
    pid_t pid = 0;
    int failed = posix_spawnp(&pid, program, nullptr, &attributes, argv, environ);
    posix_spawnattr_destroy(&attributes);
    if (failed != 0) return false;
    try {
        std::thread([pid] { waitpid(pid, nullptr, 0); }).detach();
    } catch (...) {
        // Without a watcher the child becomes a zombie until we exit; the opening still works.
    }
    return true;
}

struct OpenerSlot {
    std::mutex mutex;
    Win32Opener opener;
};

OpenerSlot& Slot() {
    static auto* slot = new OpenerSlot;
    return *slot;
}

Win32Opener CurrentOpener() {
    auto& slot = Slot();
    std::lock_guard lock(slot.mutex);
    return slot.opener ? slot.opener : Win32Opener(StartDesktopOpener);
}

bool EqualsNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

bool IsUrl(const std::string& target) {
    for (const char* scheme : {"http://", "https://", "mailto:", "ftp://", "file://"}) {
        std::string prefix = scheme;
        if (target.size() >= prefix.size() && EqualsNoCase(target.substr(0, prefix.size()), prefix)) return true;
    }
    return false;
}

bool Exists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0;
}

HINSTANCE Answer(int code) { return reinterpret_cast<HINSTANCE>(static_cast<std::intptr_t>(code)); }

// A relative file is looked for in lpDirectory when one is given.
std::string LocalTarget(const std::string& file, LPCSTR directory) {
    std::string path = Win32_LocalPath(file);
    if (path.empty() || path[0] == '/' || !directory || !*directory) return path;
    std::string folder = Win32_LocalPath(directory);
    if (folder.back() != '/') folder += '/';
    return folder + path;
}

}  // namespace

void Win32_SetOpener(Win32Opener opener) {
    auto& slot = Slot();
    std::lock_guard lock(slot.mutex);
    slot.opener = std::move(opener);
}

// Only "open" (the default verb) is known; parameters are not passed to documents.
HINSTANCE ShellExecuteA(HWND, LPCSTR lpOperation, LPCSTR lpFile, LPCSTR, LPCSTR lpDirectory, int) {
    if (lpOperation && *lpOperation && !EqualsNoCase(lpOperation, "open")) return Answer(SE_ERR_NOASSOC);
    if (!lpFile || !*lpFile) return Answer(SE_ERR_FNF);
    std::string target = lpFile;
    if (!IsUrl(target)) {
        target = LocalTarget(target, lpDirectory);
        if (!Exists(target)) return Answer(SE_ERR_FNF);
    }
    return CurrentOpener()(target) ? Answer(42) : Answer(SE_ERR_NOASSOC);
}
