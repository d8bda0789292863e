// How a subtitle file's bytes are read: as Unicode when the file says so or its bytes can only
// be UTF-8 text, else in the region's character set.
#pragma once

#include "platform/vcl/System.h"

#include <string>
#include <string_view>

enum class TSubtitleEncoding {
    Utf8,            // a UTF-8 mark, or valid UTF-8 holding non-ASCII text
    Utf16LE,         // FF FE mark
    Utf16BE,         // FE FF mark
    RegionCharset,   // anything else: the region's character set, as the file was always read
};

// Decided once per file, from its first bytes and its validity as UTF-8.
TSubtitleEncoding DetectSubtitleEncoding(std::string_view Bytes);

// The text without its mark, UTF-16 turned into UTF-8; region text is returned as it is.
// False when UTF-16 text breaks off inside a character pair.
bool SubtitleTextOf(const String& Bytes, TSubtitleEncoding Encoding, String& Text);

// The character set spumux is told: "UTF-8" for the Unicode encodings, else RegionCharset.
String SubtitleCharacterSet(TSubtitleEncoding Encoding, const String& RegionCharset);

// The code points of Text read in Charset (through iconv); false when it can't be read so.
bool CodePointsOf(const String& Text, const String& Charset, std::u32string& CodePoints);
