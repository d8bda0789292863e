#include "core/UserLanguage.h"

#include "platform/vcl/SysUtils.h"

namespace UserLanguage {

int SubtitlePositionToRegion(int Position, int LanguageIniCount) {
    return Position < 0 ? -1 : LanguageIniCount + Position;
}

int RegionToSubtitlePosition(int Region, int LanguageIniCount, int SubtitleIniCount) {
    int position = Region - LanguageIniCount;
    return position >= 0 && position < SubtitleIniCount ? position : -1;
}

int FirstRunRegion(const std::vector<String>& MenuLanguages, const String& UserLanguageName) {
    for (std::size_t i = 0; i < MenuLanguages.size(); ++i) {
        if (MenuLanguages[i] == UserLanguageName) return static_cast<int>(i);
    }
    return 0;
}

namespace {

bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

bool IsBlankOrControl(unsigned char c) { return c == ' ' || IsControl(c); }

String TrimBlanksAndControls(const String& S) {
    std::size_t first = 0, last = S.size();
    while (first < last && IsBlankOrControl(static_cast<unsigned char>(S[first]))) ++first;
    while (last > first && IsBlankOrControl(static_cast<unsigned char>(S[last - 1]))) --last;
    return S.substr(first, last - first);
}

}  // namespace

TNameCheck CheckLanguageName(const String& Typed, String& Name) {
    Name = TrimBlanksAndControls(Typed);
    if (Name.empty()) return TNameCheck::Empty;
    for (unsigned char c : Name) {
        if (c == '=' || c == '[' || c == ']' || c == ';' || IsControl(c)) return TNameCheck::Refused;
    }
    for (const char* reserved : {"Nodef", "Other", "Others"}) {
        if (SameText(Name, reserved)) return TNameCheck::Refused;
    }
    return TNameCheck::Usable;
}

}  // namespace UserLanguage
