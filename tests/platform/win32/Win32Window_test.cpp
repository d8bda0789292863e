// FindWindowA over this process's windows and over a second process's (the single-instance
// check), including the clean-up of announcements a dead process left behind.
#include <gtest/gtest.h>

#include <csignal>
#include <dirent.h>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/win32/Windows.h"

extern char** environ;

namespace {

constexpr DWORD kPatience_ms = 20000;   // a safety net against hanging, never a measured time

std::string UniqueTitle(const std::string& what) {
    static int counter = 0;
    return "Win32WindowTest " + what + " " + std::to_string(getpid()) + "-" + std::to_string(++counter);
}

// Announcement files in the registry folder that belong to pid.
int AnnouncementsOf(pid_t pid) {
    std::string folder = Win32_WindowRegistryFolder();
    DIR* dir = opendir(folder.c_str());
    if (!dir) return 0;
    std::string prefix = std::to_string(pid) + "-";
    int count = 0;
    while (dirent* entry = readdir(dir)) {
        if (std::string(entry->d_name).rfind(prefix, 0) == 0) ++count;
    }
    closedir(dir);
    return count;
}

// The peer process: announces a window titled title, says "ready", lives until stdin closes.
class Peer {
public:
    explicit Peer(const std::string& title) {
        int in[2], out[2];
        if (pipe(in) != 0 || pipe(out) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, in[1]);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        std::string program = std::string(TEST_PEER_DIR) + "/win32_window_peer";
        std::string argument = title;
        char* argv[] = {program.data(), argument.data(), nullptr};
        if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv, environ) != 0) pid_ = 0;
        posix_spawn_file_actions_destroy(&actions);
        close(in[0]);
        close(out[1]);
        stdin_ = in[1];
        stdout_ = out[0];
    }
    ~Peer() {
        if (stdin_ >= 0) close(stdin_);
        if (stdout_ >= 0) close(stdout_);
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    bool WaitReady() {
        char buffer[6] = {};
        std::size_t got = 0;
        while (got < 5) {
            ssize_t n = read(stdout_, buffer + got, 5 - got);
            if (n <= 0) return false;
            got += static_cast<std::size_t>(n);
        }
        return std::string(buffer) == "ready";
    }
    void Kill() {
        kill(pid_, SIGKILL);
        Reap();
    }
    void Quit() {
        close(stdin_);
        stdin_ = -1;
        Reap();
    }
    pid_t pid() const { return pid_; }

private:
    void Reap() {
        waitpid(pid_, nullptr, 0);
        pid_ = 0;
    }
    pid_t pid_ = 0;
    int stdin_ = -1;
    int stdout_ = -1;
};

TEST(Win32FindWindow, FindsOwnTopLevelWindowsByExactTitle) {
    std::string title = UniqueTitle("own");
    HWND top = Win32_CreateWindow(nullptr, true, title);
    HWND child = Win32_CreateWindow(nullptr, false, title + " child");
    EXPECT_EQ(FindWindowA(nullptr, title.c_str()), top);
    EXPECT_EQ(FindWindowA("TApplication", title.c_str()), top);
    EXPECT_EQ(FindWindowA(nullptr, (title + " child").c_str()), nullptr);   // not top-level
    EXPECT_EQ(FindWindowA(nullptr, title.substr(0, title.size() - 1).c_str()), nullptr);
    Win32_DestroyWindow(child);
    Win32_DestroyWindow(top);
}

TEST(Win32FindWindow, FollowsRetitlingAndDestruction) {
    std::string before = UniqueTitle("before");
    std::string after = UniqueTitle("after");
    HWND top = Win32_CreateWindow(nullptr, true, before);
    EXPECT_EQ(AnnouncementsOf(getpid()), 1);
    Win32_SetWindowTitle(top, after);
    EXPECT_EQ(FindWindowA(nullptr, before.c_str()), nullptr);
    EXPECT_EQ(FindWindowA(nullptr, after.c_str()), top);
    EXPECT_EQ(AnnouncementsOf(getpid()), 1);
    Win32_SetWindowTitle(top, "");
    EXPECT_EQ(AnnouncementsOf(getpid()), 0);
    Win32_SetWindowTitle(top, after);
    Win32_DestroyWindow(top);
    EXPECT_EQ(FindWindowA(nullptr, after.c_str()), nullptr);
    EXPECT_EQ(AnnouncementsOf(getpid()), 0);
}

TEST(Win32FindWindow, FindsAnotherProcesssWindowUntilThatProcessDies) {
    std::string title = UniqueTitle("peer");
    Peer peer(title);
    ASSERT_GT(peer.pid(), 0);
    ASSERT_TRUE(peer.WaitReady());
    HWND found = nullptr;
    DWORD start = GetTickCount();
    while (!(found = FindWindowA(nullptr, title.c_str())) && GetTickCount() - start < kPatience_ms) Sleep(5);
    ASSERT_NE(found, nullptr);
    EXPECT_TRUE(IsWindow(found));
    EXPECT_EQ(FindWindowA(nullptr, title.c_str()), found);   // the same window, the same handle
    EXPECT_FALSE(PostMessageA(found, WM_USER, 0, 0));         // not deliverable across processes

    pid_t pid = peer.pid();
    peer.Kill();   // no chance to clean up: its announcement stays behind
    EXPECT_EQ(AnnouncementsOf(pid), 1);
    EXPECT_FALSE(IsWindow(found));
    EXPECT_EQ(FindWindowA(nullptr, title.c_str()), nullptr);
    EXPECT_EQ(AnnouncementsOf(pid), 0);   // pruned on the way
}

TEST(Win32FindWindow, AProcessThatEndsNormallyWithdrawsItsWindows) {
    std::string title = UniqueTitle("quitting peer");
    Peer peer(title);
    ASSERT_GT(peer.pid(), 0);
    ASSERT_TRUE(peer.WaitReady());
    pid_t pid = peer.pid();
    EXPECT_EQ(AnnouncementsOf(pid), 1);
    peer.Quit();
    EXPECT_EQ(AnnouncementsOf(pid), 0);
}

TEST(Win32FindWindow, RegistryFolderIsPrivate) {
    std::string folder = Win32_WindowRegistryFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    struct stat st {};
    ASSERT_EQ(stat(folder.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_EQ(st.st_uid, getuid());
}

}  // namespace
