// Files and folders with Win32's answers.
#include <gtest/gtest.h>

#include <algorithm>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/win32/Windows.h"

namespace {

class Win32Files : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/win32filesXXXXXX";
        folder_ = mkdtemp(pattern);
    }
    void TearDown() override { RemoveTree(folder_); }

    std::string Path(const std::string& name) const { return folder_ + "/" + name; }
    std::string Write(const std::string& name, const std::string& text) const {
        std::ofstream(Path(name), std::ios::binary) << text;
        return Path(name);
    }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static bool Exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }
    // Everything in the folder: no temporary copies may be left behind.
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        DIR* dir = opendir(folder_.c_str());
        while (dirent* entry = readdir(dir)) {
            std::string name = entry->d_name;
            if (name != "." && name != "..") names.push_back(name);
        }
        closedir(dir);
        std::sort(names.begin(), names.end());
        return names;
    }
    static void RemoveTree(const std::string& path) {
        struct stat st {};
        if (lstat(path.c_str(), &st) != 0) return;
        if (S_ISDIR(st.st_mode)) {
            DIR* dir = opendir(path.c_str());
            while (dirent* entry = readdir(dir)) {
                std::string name = entry->d_name;
                if (name != "." && name != "..") RemoveTree(path + "/" + name);
            }
            closedir(dir);
            rmdir(path.c_str());
        } else {
            unlink(path.c_str());
        }
    }
    std::string folder_;
};

TEST_F(Win32Files, AttributesTellFolderReadOnlyAndHidden) {
    std::string plain = Write("plain.txt", "x");
    std::string hidden = Write(".hidden", "x");
    mkdir(Path("sub").c_str(), 0755);
    EXPECT_EQ(GetFileAttributesA(plain.c_str()), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(GetFileAttributesA(hidden.c_str()), FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(GetFileAttributesA(Path("sub").c_str()), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(GetFileAttributesA((Path("sub") + "/").c_str()), FILE_ATTRIBUTE_DIRECTORY);

    ASSERT_TRUE(SetFileAttributesA(plain.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(GetFileAttributesA(plain.c_str()), FILE_ATTRIBUTE_READONLY);
    struct stat st {};
    stat(plain.c_str(), &st);
    EXPECT_EQ(st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH), 0u);
    ASSERT_TRUE(SetFileAttributesA(plain.c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(GetFileAttributesA(plain.c_str()), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(Win32Files, MissingFilesAndFoldersGiveTheirErrors) {
    EXPECT_EQ(GetFileAttributesA(Path("none.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(GetFileAttributesA(Path("nofolder/none.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_FALSE(SetFileAttributesA(Path("none.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST_F(Win32Files, BackslashPathsAreAccepted) {
    std::string file = Write("back.txt", "x");
    std::string windowsStyle = file;
    for (char& c : windowsStyle) c = c == '/' ? '\\' : c;
    EXPECT_EQ(GetFileAttributesA(windowsStyle.c_str()), FILE_ATTRIBUTE_NORMAL);
    std::string copy = windowsStyle + ".copy";
    EXPECT_TRUE(CopyFileA(windowsStyle.c_str(), copy.c_str(), TRUE));
    EXPECT_TRUE(DeleteFileA(copy.c_str()));
}

TEST_F(Win32Files, CopyHonoursFailIfExistsAndLeavesNoTemporaries) {
    std::string source = Write("source.bin", std::string("a\0b\nc", 5));
    std::string target = Write("target.bin", "old");
    EXPECT_FALSE(CopyFileA(source.c_str(), target.c_str(), TRUE));
    EXPECT_EQ(GetLastError(), ERROR_FILE_EXISTS);
    EXPECT_EQ(Read(target), "old");
    EXPECT_TRUE(CopyFileA(source.c_str(), target.c_str(), FALSE));
    EXPECT_EQ(Read(target), std::string("a\0b\nc", 5));
    EXPECT_TRUE(CopyFileA(source.c_str(), Path("fresh.bin").c_str(), TRUE));
    EXPECT_EQ(Read(Path("fresh.bin")), Read(source));
    EXPECT_EQ(Entries(), (std::vector<std::string>{"fresh.bin", "source.bin", "target.bin"}));
}

TEST_F(Win32Files, CopyFailuresSayWhy) {
    EXPECT_FALSE(CopyFileA(Path("none").c_str(), Path("x").c_str(), FALSE));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    std::string source = Write("s", "x");
    EXPECT_FALSE(CopyFileA(source.c_str(), Path("nofolder/x").c_str(), FALSE));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    mkdir(Path("dir").c_str(), 0755);
    EXPECT_FALSE(CopyFileA(Path("dir").c_str(), Path("y").c_str(), FALSE));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(Entries(), (std::vector<std::string>{"dir", "s"}));
}

TEST_F(Win32Files, MoveNeverReplacesAnExistingTarget) {
    std::string source = Write("a.txt", "A");
    std::string target = Write("b.txt", "B");
    EXPECT_FALSE(MoveFileA(source.c_str(), target.c_str()));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_EQ(Read(source), "A");
    EXPECT_EQ(Read(target), "B");
    EXPECT_TRUE(MoveFileA(source.c_str(), Path("c.txt").c_str()));
    EXPECT_FALSE(Exists(source));
    EXPECT_EQ(Read(Path("c.txt")), "A");
    EXPECT_FALSE(MoveFileA(source.c_str(), Path("d.txt").c_str()));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    mkdir(Path("folder").c_str(), 0755);
    EXPECT_TRUE(MoveFileA(Path("folder").c_str(), Path("renamed").c_str()));
    EXPECT_EQ(GetFileAttributesA(Path("renamed").c_str()), FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(Win32Files, MoveAcrossFileSystemsCopiesAndRemoves) {
    struct stat shm {}, here {};
    if (stat("/dev/shm", &shm) != 0 || stat(folder_.c_str(), &here) != 0 || shm.st_dev == here.st_dev) {
        GTEST_SKIP() << "no second file system to move across";
    }
    std::string source = "/dev/shm/win32move-" + std::to_string(getpid());
    std::ofstream(source) << "across";
    if (!Exists(source)) GTEST_SKIP() << "/dev/shm is not writable";
    EXPECT_TRUE(MoveFileA(source.c_str(), Path("arrived").c_str()));
    EXPECT_FALSE(Exists(source));
    EXPECT_EQ(Read(Path("arrived")), "across");
    unlink(source.c_str());
}

TEST_F(Win32Files, DeleteRefusesFoldersAndReadOnlyFiles) {
    std::string file = Write("f", "x");
    mkdir(Path("dir").c_str(), 0755);
    EXPECT_FALSE(DeleteFileA(Path("dir").c_str()));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(DeleteFileA(file.c_str()));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(DeleteFileA(file.c_str()));
    EXPECT_FALSE(DeleteFileA(file.c_str()));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST_F(Win32Files, FoldersAreCreatedAndRemovedWithWin32Errors) {
    std::string dir = Path("made");
    EXPECT_TRUE(CreateDirectoryA(dir.c_str(), nullptr));
    EXPECT_FALSE(CreateDirectoryA(dir.c_str(), nullptr));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_FALSE(CreateDirectoryA(Path("no/such").c_str(), nullptr));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    Write("made/inside", "x");
    EXPECT_FALSE(RemoveDirectoryA(dir.c_str()));
    EXPECT_EQ(GetLastError(), ERROR_DIR_NOT_EMPTY);
    DeleteFileA(Path("made/inside").c_str());
    EXPECT_TRUE(RemoveDirectoryA(dir.c_str()));
    EXPECT_FALSE(RemoveDirectoryA(dir.c_str()));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

}  // namespace
