#include "app/ProgramForms.h"

#include "app/About_Window.h"
#include "app/Main_Window.h"
#include "app/Option_Window.h"
#include "app/SetupChapter_Window.h"
#include "app/SetupClip_Window.h"
#include "app/SetupDVDFile_Window.h"
#include "app/SetupSubtitle_Window.h"
#include "discwindows/Device_Window.h"
#include "menu/SetupImage_Window.h"
#include "menu/SetupMenu_Window.h"
#include "menu/SetupText_Window.h"
#include "productionwindows/Builder_Window.h"
#include "productionwindows/Burn_Window.h"
#include "productionwindows/Compiler_Window.h"
#include "productionwindows/Convert_Window.h"
#include "platform/vcl/Forms.h"

void CreateProgramForms() {
    Application->CreateForm(MainWindow);
    Application->CreateForm(OptionWindow);
    Application->CreateForm(SetupClipWindow);
    Application->CreateForm(SetupSubtitleWindow);
    Application->CreateForm(SetupMenuWindow);
    Application->CreateForm(SetupChapterWindow);
    Application->CreateForm(SetupTextWindow);
    Application->CreateForm(SetupImageWindow);
    Application->CreateForm(AboutWindow);
    Application->CreateForm(SetupDVDFileWindow);
    Application->CreateForm(CompilerWindow);
    Application->CreateForm(ConvertWindow);
    Application->CreateForm(BurnWindow);
    Application->CreateForm(BuilderWindow);
    Application->CreateForm(DeviceWindow);
}
