// The Compiler flow's intake: existing VOB files become clips without conversion.
#include "menu/SetupMenu_Window.h"

void TSetupMenuWindow::AddFiles() {}

bool TSetupMenuWindow::CheckVideoStandards() { return true; }
