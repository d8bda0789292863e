// The start-up a window test repeats: a program folder of its own (the shipped RES and the
// test's Option.ini), the user's language forgotten, the scripted interaction installed, then
// the main, settings and clip editor windows made as start-up makes them. Everything is freed
// in reverse and the program folder put back.
//
//   class MyTest : public testing_vcl::TStartUpTest {
//   protected:
//       MyTest() : TStartUpTest("my_test") {}
//       void SetUp() override { OpenProgramFolder("[Option]\nUseDefault=0\n"); MakeStartUpWindows(); }
//       void TearDown() override { FreeStartUpWindows(); }
//   };
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/vcl/SysUtils.h"
#include "tests/support/ScriptedInteraction.h"
#include "tests/support/TempFolder.h"

namespace testing_vcl {

class TStartUpTest : public ::testing::Test {
protected:
    explicit TStartUpTest(const std::string& Folder);
    ~TStartUpTest() override;

    // ExePath becomes the test's folder, with the shipped RES and OptionIni as its Option.ini.
    void OpenProgramFolder(const std::string& OptionIni);
    // The interaction goes in, then MainWindow, OptionWindow and SetupClipWindow in start-up order.
    void MakeStartUpWindows();
    // The windows go in reverse (the clip list with them), then the interaction; ExePath is put
    // back and the user's language forgotten.
    void FreeStartUpWindows();

    TTempFolder dir;
    TScriptedInteraction ask;

private:
    String m_savedExePath;
    std::unique_ptr<TInstallInteraction> m_installed;
};

}  // namespace testing_vcl
