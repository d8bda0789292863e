#include "tests/support/StartUpFixture.h"

#include <filesystem>
#include <fstream>

#include "app/Main_Window.h"
#include "app/Option_Window.h"
#include "core/Pubfunction.h"
#include "app/SetupClip_Window.h"

namespace testing_vcl {

namespace fs = std::filesystem;

TStartUpTest::TStartUpTest(const std::string& Folder) : dir(Folder), m_savedExePath(ExePath) {}

TStartUpTest::~TStartUpTest() = default;

void TStartUpTest::OpenProgramFolder(const std::string& OptionIni) {
    ExePath = dir.Path() + "/";
    fs::copy(fs::path(TEST_PEER_DIR) / ".." / ".." / "dist" / "RES", dir["RES"], fs::copy_options::recursive);
    std::ofstream(dir["Option.ini"], std::ios::binary) << OptionIni;
    UILanguage.clear();
}

void TStartUpTest::MakeStartUpWindows() {
    m_installed = std::make_unique<TInstallInteraction>(ask);
    MainWindow = new TMainWindow(nullptr);
    MainWindow->AfterConstruction();
    OptionWindow = new TOptionWindow(nullptr);
    OptionWindow->AfterConstruction();
    OptionWindow->OnDestroy = nullptr;
    SetupClipWindow = new TSetupClipWindow(nullptr);
    SetupClipWindow->AfterConstruction();
}

void TStartUpTest::FreeStartUpWindows() {
    delete SetupClipWindow;
    SetupClipWindow = nullptr;
    Pubfunction::ClearClipInfo();
    delete OptionWindow;
    OptionWindow = nullptr;
    delete MainWindow;
    MainWindow = nullptr;
    Pubfunction::FreeSharedBitmaps();
    m_installed.reset();
    ExePath = m_savedExePath;
    UILanguage.clear();
}

}  // namespace testing_vcl
