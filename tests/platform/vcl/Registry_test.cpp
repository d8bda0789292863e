#include "platform/vcl/Registry.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "platform/vcl/SysUtils.h"

namespace {

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/registry_test_XXXXXX";
        m_dir = mkdtemp(tmpl);
        m_store = m_dir + "/registry.ini";
        TRegistry::SetStoreFile(m_store);
    }
    void TearDown() override {
        TRegistry::SetStoreFile("");
        std::filesystem::remove_all(m_dir);
    }
    void Store(const String& text) { std::ofstream(m_store, std::ios::binary) << text; }
    String StoreText() {
        std::ifstream f(m_store, std::ios::binary);
        std::stringstream ss;
        ss << f.rdbuf();
        return ss.str();
    }

    String m_dir;
    String m_store;
};

const char kStore[] =
    "[HKEY_CURRENT_USER\\SOFTWARE\\ZQDVD]\n"
    "UILanguage=English\n"
    "Count=dword:0000001f\n"
    "Plain=12\n"
    "Word=abc\n"
    "@=default text\n"
    "[HKEY_CURRENT_USER\\Software\\ZQDVD\\Recent\\Files]\n"
    "1=/a.vob\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Other]\n"
    "X=1\n";

TEST_F(RegistryTest, OpensExistingKeysOnly) {
    Store(kStore);
    TRegistry reg;
    EXPECT_EQ(reg.GetRootKey(), HKEY_CURRENT_USER);
    struct Case {
        const char* key;
        bool exists;
    } cases[] = {
        {"\\SOFTWARE\\ZQDVD", true},  {"SOFTWARE\\ZQDVD", true},  {"software\\zqdvd\\", true},
        {"\\Software", true},          // a parent of a stored key
        {"\\SOFTWARE\\ZQDVD\\Recent", true},
        {"\\SOFTWARE\\ZQ", false},     // a prefix of a name is no key
        {"\\SOFTWARE\\Other", false},  // that one lives under another root
        {"\\Nothing", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(reg.KeyExists(c.key), c.exists);
        EXPECT_EQ(reg.OpenKey(c.key, false), c.exists);
        reg.CloseKey();
    }
    EXPECT_FALSE(reg.OpenKeyReadOnly("\\Nothing"));
    EXPECT_EQ(reg.CurrentPath(), "");
}

TEST_F(RegistryTest, ReadsValuesOfTheOpenKey) {
    Store(kStore);
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\SOFTWARE\\ZQDVD", false));
    EXPECT_EQ(reg.CurrentPath(), "SOFTWARE\\ZQDVD");
    EXPECT_TRUE(reg.ValueExists("UILanguage"));
    EXPECT_TRUE(reg.ValueExists("uilanguage"));
    EXPECT_FALSE(reg.ValueExists("Missing"));
    EXPECT_EQ(reg.ReadString("UILANGUAGE"), "English");
    EXPECT_EQ(reg.ReadString("Missing"), "") << "a missing string reads empty, as the VCL answers";
    EXPECT_EQ(reg.ReadString(""), "default text");
    EXPECT_EQ(reg.ReadInteger("Count"), 31);
    EXPECT_EQ(reg.ReadInteger("Plain"), 12);
    EXPECT_TRUE(reg.ReadBool("Count"));
    try {
        reg.ReadInteger("Word");
        FAIL();
    } catch (const ERegistryException& e) {
        EXPECT_STREQ(e.what(), "Invalid data type for 'Word'");
    }
    try {
        reg.ReadInteger("Missing");
        FAIL();
    } catch (const ERegistryException& e) {
        EXPECT_STREQ(e.what(), "Failed to get data for 'Missing'");
    }
    EXPECT_THROW(reg.ReadString("Count"), ERegistryException) << "an integer is no string";

    TStringList names;
    reg.GetValueNames(&names);
    EXPECT_EQ(names.GetCommaText(), "UILanguage,Count,Plain,Word,");
    reg.GetKeyNames(&names);
    EXPECT_EQ(names.GetCommaText(), "Recent");
}

TEST_F(RegistryTest, RelativeKeysAndRoots) {
    Store(kStore);
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\SOFTWARE", false));
    ASSERT_TRUE(reg.OpenKey("ZQDVD\\Recent\\Files", false)) << "relative to the open key";
    EXPECT_EQ(reg.CurrentPath(), "SOFTWARE\\ZQDVD\\Recent\\Files");
    EXPECT_EQ(reg.ReadString("1"), "/a.vob");
    EXPECT_FALSE(reg.OpenKey("Deeper", false));
    EXPECT_EQ(reg.CurrentPath(), "SOFTWARE\\ZQDVD\\Recent\\Files") << "a failed open keeps the key";

    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    EXPECT_EQ(reg.CurrentPath(), "") << "changing the root closes the key";
    EXPECT_TRUE(reg.OpenKeyReadOnly("\\SOFTWARE\\Other"));
    EXPECT_EQ(reg.ReadInteger("X"), 1);
    EXPECT_FALSE(reg.KeyExists("\\SOFTWARE\\ZQDVD"));
    EXPECT_THROW(reg.SetRootKey(reinterpret_cast<HKEY>(std::uintptr_t{42})), ERegistryException);
}

TEST_F(RegistryTest, MissingStoreMeansNoKeys) {
    TRegistry reg;
    EXPECT_FALSE(reg.KeyExists("\\SOFTWARE\\ZQDVD"));
    EXPECT_FALSE(reg.OpenKey("\\SOFTWARE\\ZQDVD", false));
    EXPECT_TRUE(reg.OpenKey("\\SOFTWARE\\ZQDVD", true)) << "CanCreate opens a key that is not there yet";
    EXPECT_FALSE(reg.ValueExists("UILanguage"));
    EXPECT_FALSE(FileExists(m_store)) << "opening writes nothing";
}

TEST_F(RegistryTest, WritesKeepTheRestOfTheStore) {
    Store(kStore);
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("\\SOFTWARE\\ZQDVD", false));
        reg.WriteString("UILanguage", "German");
        reg.WriteInteger("Size", 255);
        ASSERT_TRUE(reg.OpenKey("\\SOFTWARE\\New", true));
        reg.WriteBool("Flag", true);
    }
    String want = kStore;
    want.replace(want.find("English"), 7, "German");
    want.insert(want.find("[HKEY_CURRENT_USER\\Software\\ZQDVD\\Recent"), "Size=dword:000000ff\n");
    want += "\n[HKEY_CURRENT_USER\\SOFTWARE\\New]\nFlag=dword:00000001\n";
    EXPECT_EQ(StoreText(), want);

    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly("\\SOFTWARE\\ZQDVD"));
    EXPECT_EQ(reg.ReadString("UILanguage"), "German");
    EXPECT_EQ(reg.ReadInteger("Size"), 255);
    EXPECT_THROW(reg.WriteString("UILanguage", "x"), ERegistryException) << "opened read-only";
    ASSERT_TRUE(reg.OpenKey("\\SOFTWARE\\ZQDVD", false));
    EXPECT_TRUE(reg.DeleteValue("Size"));
    EXPECT_FALSE(reg.DeleteValue("Size"));
    EXPECT_FALSE(reg.ValueExists("Size"));
}

TEST_F(RegistryTest, WritingCreatesTheStoreFolder) {
    TRegistry::SetStoreFile(m_dir + "/deep/er/registry.ini");
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\SOFTWARE\\ZQDVD", true));
    reg.WriteString("UILanguage", "French");
    TRegistry again;
    ASSERT_TRUE(again.OpenKey("\\software\\zqdvd", false));
    EXPECT_EQ(again.ReadString("UILanguage"), "French");
}

TEST(RegistryStore, DefaultsToTheUserConfigFolder) {
    TRegistry::SetStoreFile("");
    const char* old = std::getenv("XDG_CONFIG_HOME");
    String saved = old != nullptr ? old : "";
    setenv("XDG_CONFIG_HOME", "/tmp/xdg-test", 1);
    EXPECT_EQ(TRegistry::StoreFile(), "/tmp/xdg-test/QuelloxDOZEzedav/registry.ini");
    unsetenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    if (home != nullptr) {
        EXPECT_EQ(TRegistry::StoreFile(), String(home) + "/.config/QuelloxDOZEzedav/registry.ini");
    }
    if (old != nullptr) setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    TRegistry::SetStoreFile("/x/r.ini");
    EXPECT_EQ(TRegistry::StoreFile(), "/x/r.ini");
    TRegistry::SetStoreFile("");
}

}  // namespace
