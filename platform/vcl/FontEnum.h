// The installed fonts as GDI reports them: EnumFontFamilies with its LOGFONT, TEXTMETRIC and
// font type per face (or per size of a raster face), GetTextMetrics of a canvas's font, and
// AddFontResource for a font file the program brings. The enumeration comes from a replaceable
// service: the system one reads fontconfig and the font files (QtFontEnum.cpp); tests install a
// scripted one with SetFontEnumerator.
#pragma once

#include <functional>
#include <vector>

#include "platform/vcl/Graphics.h"

constexpr DWORD RASTER_FONTTYPE = 0x0001;
constexpr DWORD DEVICE_FONTTYPE = 0x0002;
constexpr DWORD TRUETYPE_FONTTYPE = 0x0004;
constexpr Byte DEFAULT_PITCH = 0;
constexpr Byte FIXED_PITCH = 1;
constexpr Byte VARIABLE_PITCH = 2;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;
constexpr int LF_FACESIZE = 32;

struct LOGFONTA {
    LONG lfHeight = 0;
    LONG lfWidth = 0;
    LONG lfEscapement = 0;
    LONG lfOrientation = 0;
    LONG lfWeight = 400;
    Byte lfItalic = 0;
    Byte lfUnderline = 0;
    Byte lfStrikeOut = 0;
    Byte lfCharSet = ANSI_CHARSET;
    Byte lfOutPrecision = 0;
    Byte lfClipPrecision = 0;
    Byte lfQuality = 0;
    Byte lfPitchAndFamily = 0;
    char lfFaceName[LF_FACESIZE] = {};
};

struct TEXTMETRICA {
    LONG tmHeight = 0;
    LONG tmAscent = 0;
    LONG tmDescent = 0;
    LONG tmInternalLeading = 0;
    LONG tmExternalLeading = 0;
    LONG tmAveCharWidth = 0;
    LONG tmMaxCharWidth = 0;
    LONG tmWeight = 400;
    Byte tmItalic = 0;
    Byte tmPitchAndFamily = 0;
    Byte tmCharSet = ANSI_CHARSET;
};

// One enumerated entry: a face (with Family empty) or one size of a face.
struct TFontFace {
    LOGFONTA LogFont;
    TEXTMETRICA Metric;
    DWORD FontType = 0;
};
// Fills LogFont.lfFaceName from a name (cut to 31 bytes).
void SetFaceName(LOGFONTA& LogFont, const String& Name);

// The callback answers non-zero to go on, 0 to stop.
using FONTENUMPROC = std::function<int(const LOGFONTA& LogFont, const TEXTMETRICA& Metric, DWORD FontType)>;

class TFontEnumerator {
public:
    virtual ~TFontEnumerator() = default;
    // Family empty: one entry per family. Otherwise the entries of that family (without regard
    // to case): one for a scalable face, one per size for a raster face.
    virtual std::vector<TFontFace> Faces(const String& Family) = 0;
};
// Replaces the enumeration (tests); nullptr restores the system's. The caller keeps ownership.
void SetFontEnumerator(TFontEnumerator* Enumerator);
TFontEnumerator* SystemFontEnumerator();

// As GDI: calls Proc per entry until it answers 0; returns the last answer (1 when nothing was
// enumerated). DC is the canvas asked (screen fonts for every canvas; nullptr is the screen).
int EnumFontFamilies(TCanvas* DC, const char* Family, const FONTENUMPROC& Proc);
// The metrics of DC's current font.
bool GetTextMetrics(TCanvas* DC, TEXTMETRICA& Metric);
// LOGPIXELSX and LOGPIXELSY of the screen (96); 0 for anything else.
int GetDeviceCaps(TCanvas* DC, int Index);
// Makes the faces of a font file available to the program (enumeration and drawing); returns
// how many faces were added (0 when the file holds none).
int AddFontResource(const String& FileName);
