#include "platform/vcl/Widgets.h"

#include <QApplication>

#include "platform/vcl/Graphics.h"

void Vcl_InitWidgets(int& argc, char** argv) {
    if (QApplication::instance() == nullptr) {
        // Leaked on purpose: it lives until the process ends, after every form is gone.
        new QApplication(argc, argv);
        QApplication::setQuitOnLastWindowClosed(false);
        Win32_SetMessageBeepHook([](UINT) { QApplication::beep(); });
    }
    Graphics_RegisterFonts();
}
