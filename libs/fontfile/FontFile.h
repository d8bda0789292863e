// The font file a text is drawn with, found through fontconfig (the process's own setup).
#pragma once

#include <string>

namespace fontfile {

// An existing file is kept (made absolute). A bare file name ("DejaVuSans.ttf") is looked up
// among the system's fonts by its file name, in any case; failing that, the name without its
// extension is matched as a family by fontconfig ("ARIAL.TTF" gives the system's Arial or its
// stand-in). "" when fontconfig finds nothing at all.
std::string ResolveFontFile(const std::string& name);

// The code points among text's that the font file (its first face) has no glyph for; the
// control characters and the text's line breaks need none. All of them when the file is no font.
std::u32string MissingGlyphs(const std::string& file, const std::u32string& text);

// The system's font closest to sans-serif that has a glyph for every code point of text that
// needs one; "" when no font has them all.
std::string FontWithGlyphs(const std::u32string& text);

}  // namespace fontfile
