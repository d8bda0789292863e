// The burning SDK (starburn.dll) as the disc layer sees it: one table of operations, bound by
// name on first use and kept until unloaded. A test registers a stand-in module under the same
// name and unloads, so the next use binds the stand-in.
#pragma once

#include "libs/starburn/StarBurn.h"

// The bound table, or null when the module or one of its operations is missing.
const StarBurnApi* StarBurnSdk();
// Frees the module; grabbers made through it must be gone first.
void StarBurnSdkUnload();
