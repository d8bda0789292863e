// The program's entry: one instance, a splash while every window is made, then the message loop.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>
#include <exception>

#include "app/About_Window.h"
#include "core/Language.h"
#include "app/Main_Window.h"
#include "app/Option_Window.h"
#include "app/ProgramForms.h"
#include "core/Pubfunction.h"
#include "app/SetupChapter_Window.h"
#include "app/SetupClip_Window.h"
#include "app/SetupDVDFile_Window.h"
#include "app/SetupSubtitle_Window.h"
#include "app/StarUp.h"
#include "discwindows/Device_Window.h"
#include "menu/SetupImage_Window.h"
#include "menu/SetupMenu_Window.h"
#include "menu/SetupText_Window.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/SysUtils.h"
#include "platform/vcl/Widgets.h"
#include "platform/win32/Windows.h"
#include "productionwindows/Builder_Window.h"
#include "productionwindows/Burn_Window.h"
#include "productionwindows/Compiler_Window.h"
#include "productionwindows/Convert_Window.h"
#include "skin/controls/SUIGroupBox.h"

namespace {

// The window title is set only after start-up, so two quick starts would both pass the title
// check; a lock held for the life of the process closes that gap. The descriptor stays open on
// purpose until the process ends.
// The lock lives where no other user can create it first.
bool TakeInstanceLock() {
    const String folder = Pubfunction::InstanceLockFolder();
    if (folder.empty()) return true;  // no private place: the title check alone decides
    const String path = folder + "/" + ProductName + "-" + IntToStr(static_cast<int>(::getuid())) + ".lock";
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return true;  // no place for a lock: the title check alone decides
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return true;
    ::close(fd);
    return false;
}

bool AnotherInstanceRuns() {
    HWND other = FindWindowA(nullptr, ProductName.c_str());
    if (other != nullptr && IsWindow(other)) return true;
    return !TakeInstanceLock();
}

// The application object frees its forms as the program ends; destroying the settings form is
// what saves Option.ini.
void FreeProgramForms() {
    try {
        while (Application->ComponentCount() > 0) delete Application->Components(Application->ComponentCount() - 1);
    } catch (const std::exception& e) {
        Application->ShowException(e);
    }
}

}  // namespace

int WinMain() {
    if (AnotherInstanceRuns()) return -1;
    Language::SetGroupBoxCaptionSetter(&SUISetGroupBoxCaption);
    try {
        Application->Initialize();
        Application->SetTitle(DisplayProductName);
        StartForm = new TStartForm(nullptr);
        StartForm->Show();
        StartForm->Update();
        StartForm->Fade();  // in
        try {
            CreateProgramForms();
        } catch (...) {
            TObject::FreeAndNil(StartForm);
            throw;
        }
        StartForm->Fade();  // out
        StartForm->Close();
        TObject::FreeAndNil(StartForm);
        MainWindow->SetCaption(ProductName);
        // Optical drives that come or go are told to the windows as device changes.
        Win32_StartDeviceWatch("/dev");
        Application->Run();
    } catch (const std::exception& e) {
        Application->ShowException(e);
    } catch (...) {
        Application->ShowException(Exception(""));
    }
    Win32_StopDeviceWatch();
    FreeProgramForms();
    return 0;
}

int main(int argc, char** argv) {
    Vcl_InitWidgets(argc, argv);
    return WinMain();
}
