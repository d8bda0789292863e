// The per-user folder where titled top-level windows are announced to the user's other
// processes, so that FindWindowA (the program's single-instance check) works across processes.
//
// One file per window, "<pid>-<window id>.win", holding "<pid> <start time>\n<title>", written
// to a temporary name and renamed into place so a reader never sees half a file. The process's
// start time guards against a dead process's pid being reused by another one.
#include "platform/win32/Windows.h"

#include "platform/win32/Win32Internal.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Registry {
    std::mutex mutex;
    std::set<std::uint64_t> announced;   // this process's files, removed at exit
    bool exitHookInstalled = false;
};

Registry& TheRegistry() {
    static auto* registry = new Registry;   // never destroyed: the exit hook uses it
    return *registry;
}

// A folder that is ours alone: created with mode 0700, refused when owned by someone else.
bool EnsurePrivateFolder(const std::string& path) {
    if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
    struct stat st {};
    return lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == getuid();
}

std::string ComputeFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::string base;
    if (runtime && *runtime && EnsurePrivateFolder(runtime)) {
        base = std::string(runtime) + "/quellox";
    } else {
        base = "/tmp/quellox-" + std::to_string(getuid());
    }
    if (!EnsurePrivateFolder(base)) return {};
    std::string folder = base + "/windows";
    return EnsurePrivateFolder(folder) ? folder + "/" : std::string{};
}

std::string FileName(int pid, std::uint64_t windowId) {
    return std::to_string(pid) + "-" + std::to_string(windowId) + ".win";
}

// Field 22 of /proc/<pid>/stat; empty when the process is gone or /proc is unreadable.
std::string ProcessStartTime(int pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto close = text.rfind(')');   // the command name may hold spaces and parentheses
    if (close == std::string::npos) return {};
    std::istringstream fields(text.substr(close + 1));
    std::string field;
    for (int index = 3; index <= 22 && fields >> field; ++index) {
        if (index == 22) return field;
    }
    return {};
}

bool ProcessAlive(int pid, const std::string& startTime) {
    if (kill(pid, 0) != 0 && errno == ESRCH) return false;
    std::string now = ProcessStartTime(pid);
    return startTime.empty() || now.empty() || now == startTime;
}

struct Announcement {
    int pid = 0;
    std::string startTime;
    std::string title;
};

bool ReadAnnouncement(const std::string& path, Announcement& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::string header;
    if (!std::getline(in, header)) return false;
    std::istringstream fields(header);
    if (!(fields >> out.pid) || out.pid <= 0) return false;
    fields >> out.startTime;
    out.title.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

bool WriteAll(int fd, const std::string& text) {
    std::size_t written = 0;
    while (written < text.size()) {
        ssize_t n = write(fd, text.data() + written, text.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        written += static_cast<std::size_t>(n);
    }
    return true;
}

void RemoveOwnAnnouncements() {
    auto& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    std::string folder = Win32_WindowRegistryFolder();
    for (std::uint64_t id : registry.announced) unlink((folder + FileName(getpid(), id)).c_str());
    registry.announced.clear();
}

// Parses "<pid>-<id>.win"; false for anything else in the folder.
bool ParseFileName(const std::string& name, int& pid, std::uint64_t& windowId) {
    unsigned long long id = 0;
    int consumed = 0;
    if (std::sscanf(name.c_str(), "%d-%llu.win%n", &pid, &id, &consumed) != 2) return false;
    windowId = id;
    return consumed == static_cast<int>(name.size()) && pid > 0;
}

}  // namespace

std::string Win32_WindowRegistryFolder() {
    static const std::string folder = ComputeFolder();
    return folder;
}

void Win32_AnnounceWindow(std::uint64_t windowId, const std::string& title) {
    std::string folder = Win32_WindowRegistryFolder();
    if (folder.empty()) return;   // no private folder: other processes just won't see us
    int pid = getpid();
    std::string finalPath = folder + FileName(pid, windowId);
    std::string tempPath = folder + "." + FileName(pid, windowId) + ".tmp";
    int fd = open(tempPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return;
    bool ok = WriteAll(fd, std::to_string(pid) + " " + ProcessStartTime(pid) + "\n" + title);
    ok = close(fd) == 0 && ok;
    if (!ok || rename(tempPath.c_str(), finalPath.c_str()) != 0) {
        unlink(tempPath.c_str());
        return;
    }
    auto& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    registry.announced.insert(windowId);
    if (!registry.exitHookInstalled) {
        registry.exitHookInstalled = true;
        std::atexit(RemoveOwnAnnouncements);
    }
}

void Win32_WithdrawWindow(std::uint64_t windowId) {
    auto& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    if (registry.announced.erase(windowId) == 0) return;
    unlink((Win32_WindowRegistryFolder() + FileName(getpid(), windowId)).c_str());
}

bool Win32_FindForeignWindow(const std::string& title, int& pid, std::uint64_t& windowId) {
    std::string folder = Win32_WindowRegistryFolder();
    if (folder.empty()) return false;
    DIR* dir = opendir(folder.c_str());
    if (!dir) return false;
    bool found = false;
    while (!found) {
        dirent* entry = readdir(dir);
        if (!entry) break;
        int filePid = 0;
        std::uint64_t fileId = 0;
        if (!ParseFileName(entry->d_name, filePid, fileId) || filePid == getpid()) continue;
        std::string path = folder + entry->d_name;
        Announcement announcement;
        if (!ReadAnnouncement(path, announcement) || announcement.pid != filePid) continue;
        if (!ProcessAlive(filePid, announcement.startTime)) {
            unlink(path.c_str());   // left behind by a process that crashed
            continue;
        }
        if (announcement.title != title) continue;
        pid = filePid;
        windowId = fileId;
        found = true;
    }
    closedir(dir);
    return found;
}

bool Win32_ForeignWindowAlive(int pid, std::uint64_t windowId) {
    std::string folder = Win32_WindowRegistryFolder();
    if (folder.empty()) return false;
    Announcement announcement;
    if (!ReadAnnouncement(folder + FileName(pid, windowId), announcement)) return false;
    return ProcessAlive(pid, announcement.startTime);
}
