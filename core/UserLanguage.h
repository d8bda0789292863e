// The settings dialog's Language page without its window: where a subtitle language sits in the
// region numbering, and which names a user may add to Subtitle.ini.
//
// Region indexes count Language.ini's regions first (0..N-1), then Subtitle.ini's (N..). The
// dialog's subtitle-language list holds only Subtitle.ini's regions, so its position p is
// region N + p, both ways.
#pragma once

#include <vector>

#include "platform/vcl/System.h"

namespace UserLanguage {

// Region of position p of the subtitle-language list; -1 for no position.
int SubtitlePositionToRegion(int Position, int LanguageIniCount);
// Position of a region in the subtitle-language list; -1 when the list does not hold it.
int RegionToSubtitlePosition(int Region, int LanguageIniCount, int SubtitleIniCount);
// A first run's DVD language: the user's language in the DVD-language list, else item 0.
int FirstRunRegion(const std::vector<String>& MenuLanguages, const String& UserLanguageName);

enum class TNameCheck {
    Empty,    // nothing to add: Load does nothing and says nothing
    Refused,  // kMsgUnsupported with the name; nothing is written
    Usable,
};
// The name typed for Load, trimmed of blanks and control characters at both ends. Refused: a
// name holding '=', '[', ']', ';' or a control character (a line break would split the INI
// line), and the files' defaults "Nodef", "Other" and "Others" in any case, which read back as
// "no such entry".
TNameCheck CheckLanguageName(const String& Typed, String& Name);

}  // namespace UserLanguage
