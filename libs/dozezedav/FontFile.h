// The font file spumux gets for a font named in a project.
#pragma once

#include <string>

namespace dozezedav {

// An existing file is kept (made absolute). A bare file name ("DejaVuSans.ttf") is looked up
// among the system's fonts by its file name, in any case; failing that, the name without its
// extension is matched as a family by fontconfig ("ARIAL.TTF" gives the system's Arial or its
// stand-in). "" when fontconfig finds nothing at all.
std::string ResolveFontFile(const std::string& name);

}  // namespace dozezedav
