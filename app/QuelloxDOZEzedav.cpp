// The program's entry point.
#include "platform/vcl/Forms.h"
#include "platform/vcl/Widgets.h"

int main(int argc, char** argv) {
    Vcl_InitWidgets(argc, argv);
    Application->Initialize();
    TForm* MainWindow = nullptr;
    Application->CreateForm(MainWindow);
    MainWindow->SetCaption("QuelloxDOZEzedav");
    MainWindow->SetPosition(poScreenCenter);
    MainWindow->SetClientWidth(640);
    MainWindow->SetClientHeight(480);
    Application->Run();
    return 0;
}
