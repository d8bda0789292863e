// Must not compile: a file below the windows (the pipeline, the model, the helpers) that
// includes a window header. The tests build it as such a file and expect the compiler to miss
// the header (see tests/CMakeLists.txt).
#include LAYER_HEADER

#include "app/Main_Window.h"

int ProbeWindowCount() { return MainWindow != nullptr ? 1 : 0; }
