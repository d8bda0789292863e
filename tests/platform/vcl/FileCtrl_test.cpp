#include "platform/vcl/FileCtrl.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

class FileListsTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* f : {"b.vob", "a.VOB", "c.mpg", "notes.txt"}) std::ofstream(folder[f]) << "x";
        fs::create_directories(folder["sub2"]);
        fs::create_directories(folder["Sub1"]);
    }
    testing_vcl::TTempFolder folder{"filectrl"};
};

TEST_F(FileListsTest, FileListMatchesEachPatternOfTheMaskSorted) {
    TFileListBox files(nullptr);
    files.SetDirectory(folder.Path());
    struct Case {
        const char* mask;
        const char* text;
    } cases[] = {
        {"*.*", "a.VOB\nb.vob\nc.mpg\nnotes.txt\n"},
        {"*.vob", "a.VOB\nb.vob\n"},
        {"*.vob;*.mpg", "a.VOB\nb.vob\nc.mpg\n"},
        {"*.iso", ""},
    };
    for (const Case& c : cases) {
        files.SetMask(c.mask);
        EXPECT_EQ(files.GetItems()->GetText(), c.text) << c.mask;
    }
    files.SetMask("*.*");
    files.SetItemIndex(1);
    EXPECT_EQ(files.GetFileName(), folder["b.vob"]);
    files.SetItemIndex(-1);
    EXPECT_EQ(files.GetFileName(), "");
}

TEST_F(FileListsTest, DirectoryListShowsTheChainThenSubFolders) {
    TDirectoryListBox dirs(nullptr);
    dirs.SetDirectory(folder.Path());
    int n = dirs.GetItems()->Count();
    ASSERT_GE(n, 3);
    EXPECT_EQ(dirs.GetItems()->Strings(n - 2), "Sub1");
    EXPECT_EQ(dirs.GetItems()->Strings(n - 1), "sub2");
    EXPECT_EQ(dirs.GetItemPath(dirs.GetItemIndex()), fs::path(folder.Path()).lexically_normal().string());
    dirs.SetDirectory(folder["no such folder"]);
    EXPECT_EQ(dirs.GetDirectory(), fs::path(folder.Path()).lexically_normal().string());
}

}  // namespace
