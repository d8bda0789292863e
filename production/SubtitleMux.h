// subtitle.xml: the spumux description of one clip's text subtitles.
#pragma once

#include "platform/vcl/System.h"

#include <string>

struct TSubtitleXmlValues {
    String s_SubtitlePath;   // the subtitle.srt copy (or the clip's own file)
    String s_CharacterSet;   // "UTF-8" for a Unicode file, else the region's character set
    int i_FontSize = 0;      // the clip's subtitle font size
    String s_FontFile;       // the font file, as SubtitleFontFor gives it
    int i_VideoStandard = 2; // 2 PAL, anything else NTSC
};

// The region's font file, or "ARIAL.TTF" when the region names none ("" or "0").
String SubtitleFontFile(const String& RegionFontFile);

// The absolute font file spumux draws the text's code points with: the region's font (a bare
// name found among the system's fonts) when it has every glyph the text needs, else the
// system's font closest to sans-serif that has them all; the region's font when none has.
String SubtitleFontFor(const String& RegionFontFile, const std::u32string& CodePoints);

// The eleven lines, each ended by CR LF, with the values XML-escaped.
String SubtitleXmlText(const TSubtitleXmlValues& Values);

// Writes the text to Path; false (and no file) when it could not be written completely.
bool WriteSubtitleXml(const String& Path, const TSubtitleXmlValues& Values);

// Writes Text to Path as it is; false (and no file) when it could not be written completely.
bool WriteTextFile(const String& Path, const String& Text);
