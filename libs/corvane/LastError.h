// The module's last failure in words, for the program's log: every entry point that fails says
// why here, from whichever thread found it.
#pragma once

#include <string>

namespace corvane {

// Replaces the text; an empty text is ignored (a failure always says something).
void SetLastError(const std::string& text);
// The text of the last failure since the module was loaded; "" when none failed.
std::string LastError();

}  // namespace corvane
