// The toolkit side of window moves: the window system's own move, or the window following the
// pointer where the platform has none.
#pragma once

#include "platform/vcl/WindowMove.h"

// The default service; lives as long as the program.
TWindowMoveService* ToolkitWindowMoveService();
