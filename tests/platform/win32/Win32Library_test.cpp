// Loading modules: registered stand-ins, shared objects, and modules that aren't there.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <unistd.h>

#include "platform/win32/Windows.h"

namespace {

extern "C" int TestModuleAdd(int a, int b) { return a + b; }
extern "C" int TestModuleOther() { return 2; }

using AddProc = int (*)(int, int);

FARPROC AsProc(AddProc proc) { return reinterpret_cast<FARPROC>(proc); }

TEST(Win32Library, AMissingModuleGivesNull) {
    EXPECT_EQ(LoadLibraryA("NoSuchModuleAnywhere.dll"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
    EXPECT_EQ(LoadLibraryA("/no/such/folder/NoSuch.dll"), nullptr);
    EXPECT_EQ(LoadLibraryA(nullptr), nullptr);
    EXPECT_EQ(GetProcAddress(nullptr, "x"), nullptr);
    EXPECT_FALSE(FreeLibrary(nullptr));
}

TEST(Win32Library, ARegisteredModuleIsFoundByItsBareNameWhateverTheCaseOrFolder) {
    Win32_RegisterModule("TestModule.dll", {{"Add", AsProc(TestModuleAdd)}});
    HMODULE plain = LoadLibraryA("TestModule.dll");
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(LoadLibraryA("testmodule.DLL"), plain);
    EXPECT_EQ(LoadLibraryA("C:\\Program Files\\Tool\\TestModule.dll"), plain);
    EXPECT_EQ(LoadLibraryA("TestModule"), plain);
    auto add = reinterpret_cast<AddProc>(GetProcAddress(plain, "Add"));
    ASSERT_NE(add, nullptr);
    EXPECT_EQ(add(2, 3), 5);
    EXPECT_EQ(GetProcAddress(plain, "Subtract"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
    // Four loads, four frees; a fifth is one too many.
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(FreeLibrary(plain));
    EXPECT_FALSE(FreeLibrary(plain));
    Win32_UnregisterModule("TESTMODULE.DLL");
    EXPECT_EQ(LoadLibraryA("TestModule.dll"), nullptr);
}

TEST(Win32Library, AnEmptyExportListRemovesTheModule) {
    Win32_RegisterModule("Gone.dll", {{"Other", reinterpret_cast<FARPROC>(TestModuleOther)}});
    HMODULE held = LoadLibraryA("Gone.dll");
    ASSERT_NE(held, nullptr);
    Win32_RegisterModule("Gone.dll", {});
    EXPECT_EQ(LoadLibraryA("Gone.dll"), nullptr);
    // A handle loaded before keeps what it was loaded with until freed.
    EXPECT_NE(GetProcAddress(held, "Other"), nullptr);
    EXPECT_TRUE(FreeLibrary(held));
    EXPECT_EQ(GetProcAddress(held, "Other"), nullptr);
}

TEST(Win32Library, ARegisteredModuleWinsOverAFileInTheProgramFolder) {
    // A file that is no shared object: loading it must fail quietly, not abort.
    std::string file = Win32_ProgramFolder() + "Win32ShadowedModule.so";
    { std::ofstream(file) << "not a shared object"; }
    EXPECT_EQ(LoadLibraryA("Win32ShadowedModule.dll"), nullptr);
    Win32_RegisterModule("Win32ShadowedModule.dll", {{"Add", AsProc(TestModuleAdd)}});
    HMODULE module = LoadLibraryA("Win32ShadowedModule.dll");
    ASSERT_NE(module, nullptr);
    EXPECT_NE(GetProcAddress(module, "Add"), nullptr);
    FreeLibrary(module);
    Win32_UnregisterModule("Win32ShadowedModule.dll");
    unlink(file.c_str());
}

TEST(Win32Library, ASystemSharedObjectLoadsAndResolves) {
    HMODULE libm = LoadLibraryA("libm.so.6");
    ASSERT_NE(libm, nullptr);
    auto cosine = reinterpret_cast<double (*)(double)>(GetProcAddress(libm, "cos"));
    ASSERT_NE(cosine, nullptr);
    EXPECT_DOUBLE_EQ(cosine(0.0), 1.0);
    EXPECT_EQ(GetProcAddress(libm, "no_such_symbol_here"), nullptr);
    EXPECT_EQ(LoadLibraryA("libm.so.6"), libm);
    EXPECT_TRUE(FreeLibrary(libm));
    EXPECT_TRUE(FreeLibrary(libm));
    EXPECT_FALSE(FreeLibrary(libm));
}

TEST(Win32Library, ProgramFolderIsTheRunningExecutablesFolder) {
    std::string folder = Win32_ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    char exe[4096] = {};
    ASSERT_GT(readlink("/proc/self/exe", exe, sizeof exe - 1), 0);
    std::string path = exe;
    EXPECT_EQ(path.rfind(folder, 0), 0u);
    EXPECT_EQ(path.find('/', folder.size()), std::string::npos);
}

}  // namespace
