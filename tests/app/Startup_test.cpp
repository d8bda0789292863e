// The program refuses a second instance: started twice, the second process ends at once with
// exit status -1 while the first keeps running.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/win32/Windows.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestHelpers.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

const fs::path kProgram = fs::path(TEST_PEER_DIR) / ".." / ".." / "dist" / "QuelloxDOZEzedav";

// The caller's environment with a private runtime folder and home, on the offscreen platform.
class TProgramEnvironment {
public:
    TProgramEnvironment(const std::string& Runtime, const std::string& Home) {
        const std::vector<std::string> replaced = {"QT_QPA_PLATFORM=", "XDG_RUNTIME_DIR=", "HOME=", "XDG_CONFIG_HOME="};
        for (char** e = environ; *e != nullptr; ++e) {
            const std::string entry = *e;
            bool keep = true;
            for (const std::string& r : replaced) keep = keep && entry.rfind(r, 0) != 0;
            if (keep) m_strings.push_back(entry);
        }
        m_strings.push_back("QT_QPA_PLATFORM=offscreen");
        m_strings.push_back("XDG_RUNTIME_DIR=" + Runtime);
        m_strings.push_back("HOME=" + Home);
        m_strings.push_back("XDG_CONFIG_HOME=" + Home + "/.config");
        for (std::string& s : m_strings) m_pointers.push_back(s.data());
        m_pointers.push_back(nullptr);
    }
    char** Get() { return m_pointers.data(); }

private:
    std::vector<std::string> m_strings;
    std::vector<char*> m_pointers;
};

pid_t Start(TProgramEnvironment& Env) {
    std::string path = kProgram.string();
    char* argv[] = {path.data(), nullptr};
    pid_t pid = -1;
    if (posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv, Env.Get()) != 0) return -1;
    return pid;
}

// True once some process holds the lock file of the folder.
bool LockHeldIn(const std::string& Runtime) {
    for (const auto& entry : fs::directory_iterator(Runtime)) {
        if (entry.path().extension() != ".lock") continue;
        const int fd = ::open(entry.path().c_str(), O_RDWR | O_CLOEXEC);
        if (fd < 0) continue;
        const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
        ::close(fd);
        if (held) return true;
    }
    return false;
}

bool StillRunning(pid_t Pid) {
    int status = 0;
    return ::waitpid(Pid, &status, WNOHANG) == 0;
}

TEST(StartupTest, SecondInstanceEndsAtOnceWithMinusOne) {
    ASSERT_TRUE(fs::exists(kProgram)) << kProgram;
    testing_vcl::TTempFolder runtime("startup-run");
    testing_vcl::TTempFolder home("startup-home");
    ::chmod(runtime.Path().c_str(), 0700);
    TProgramEnvironment env(runtime.Path(), home.Path());

    const pid_t first = Start(env);
    ASSERT_GT(first, 0);
    const bool locked = testing_vcl::RunUntil([&] { return LockHeldIn(runtime.Path()) || !StillRunning(first); }, 20000);
    ASSERT_TRUE(locked && StillRunning(first)) << "the first instance did not come up";

    const pid_t second = Start(env);
    ASSERT_GT(second, 0);
    int status = 0;
    ASSERT_EQ(::waitpid(second, &status, 0), second);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 255);
    EXPECT_TRUE(StillRunning(first));

    ::kill(first, SIGKILL);
    ::waitpid(first, &status, 0);

    // The lock goes with its process: a later start runs.
    const pid_t third = Start(env);
    ASSERT_GT(third, 0);
    EXPECT_TRUE(testing_vcl::RunUntil([&] { return LockHeldIn(runtime.Path()) || !StillRunning(third); }, 20000));
    EXPECT_TRUE(StillRunning(third));
    ::kill(third, SIGKILL);
    ::waitpid(third, &status, 0);
}

// Any top-level window of this user titled as the program's main window ends the start.
TEST(StartupTest, WindowWithTheProgramsTitleEndsTheStart) {
    ASSERT_TRUE(fs::exists(kProgram)) << kProgram;
    testing_vcl::TTempFolder runtime("startup-title");
    testing_vcl::TTempFolder home("startup-home");
    ::chmod(runtime.Path().c_str(), 0700);
    // Windows are announced under the runtime folder this process saw first.
    ::setenv("XDG_RUNTIME_DIR", runtime.Path().c_str(), 1);
    if (Win32_WindowRegistryFolder() != runtime.Path() + "/quellox/windows/")
        GTEST_SKIP() << "windows of this process are announced elsewhere: " << Win32_WindowRegistryFolder();
    HWND window = Win32_CreateWindow([](UINT, WPARAM, LPARAM) -> LRESULT { return 0; }, true, "QuelloxDOZEzedav");
    TProgramEnvironment env(runtime.Path(), home.Path());
    const pid_t pid = Start(env);
    ASSERT_GT(pid, 0);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    Win32_DestroyWindow(window);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 255);
    EXPECT_FALSE(LockHeldIn(runtime.Path()));
}

}  // namespace
