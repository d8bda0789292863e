#include "platform/vcl/FontEnum.h"

#include <algorithm>
#include <cstring>

namespace {

TFontEnumerator* g_enumerator = nullptr;

}  // namespace

void SetFaceName(LOGFONTA& LogFont, const String& Name) {
    std::memset(LogFont.lfFaceName, 0, sizeof LogFont.lfFaceName);
    std::memcpy(LogFont.lfFaceName, Name.data(), std::min(Name.size(), sizeof LogFont.lfFaceName - 1));
}

void SetFontEnumerator(TFontEnumerator* Enumerator) { g_enumerator = Enumerator; }

int EnumFontFamilies(TCanvas* DC, const char* Family, const FONTENUMPROC& Proc) {
    (void)DC;
    TFontEnumerator* e = g_enumerator != nullptr ? g_enumerator : SystemFontEnumerator();
    int result = 1;
    for (const TFontFace& f : e->Faces(Family != nullptr ? String(Family) : String())) {
        result = Proc(f.LogFont, f.Metric, f.FontType);
        if (result == 0) break;
    }
    return result;
}

int GetDeviceCaps(TCanvas* DC, int Index) {
    (void)DC;
    return Index == LOGPIXELSX || Index == LOGPIXELSY ? 96 : 0;
}
