// The volume name a person types names the DVD folder: only a plain folder name may come of it.
#pragma once

#include "platform/vcl/System.h"

// Trimmed and upper-cased; A-Z, 0-9 and "_" kept, a blank becomes "_", anything else is
// dropped; "DVD_DISC" when nothing is left. "../x" gives "X".
String SanitizeVolumeName(const String& Typed);
