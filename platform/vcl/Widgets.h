// Start-up of the widget toolkit under the class library (the only Qt-facing entry above Qt).
#pragma once

// Creates the toolkit's application object once and registers the program's fonts.
void Vcl_InitWidgets(int& argc, char** argv);
