// The version and locale answers the program asks for.
#include "platform/win32/Windows.h"

#include "platform/win32/Win32Internal.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <map>

namespace {

// The first of LC_ALL, LC_MESSAGES, LANG that is set, as the C library chooses messages.
std::string SystemLocaleName() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value) return value;
    }
    return {};
}

// "de_DE.UTF-8@euro" -> "de".
std::string LanguageCode(const std::string& locale) {
    auto end = locale.find_first_of("_.@");
    std::string code = locale.substr(0, end);
    for (char& c : code) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return code;
}

std::string EnglishLanguageName(const std::string& code) {
    static const std::map<std::string, std::string> names = {
        {"ar", "Arabic"},     {"bg", "Bulgarian"}, {"ca", "Catalan"},    {"cs", "Czech"},
        {"da", "Danish"},     {"de", "German"},    {"el", "Greek"},      {"en", "English"},
        {"es", "Spanish"},    {"et", "Estonian"},  {"fa", "Farsi"},      {"fi", "Finnish"},
        {"fr", "French"},     {"he", "Hebrew"},    {"hi", "Hindi"},      {"hr", "Croatian"},
        {"hu", "Hungarian"},  {"id", "Indonesian"}, {"is", "Icelandic"}, {"it", "Italian"},
        {"ja", "Japanese"},   {"ko", "Korean"},    {"lt", "Lithuanian"}, {"lv", "Latvian"},
        {"nb", "Norwegian"},  {"nl", "Dutch"},     {"nn", "Norwegian"},  {"no", "Norwegian"},
        {"pl", "Polish"},     {"pt", "Portuguese"}, {"ro", "Romanian"},  {"ru", "Russian"},
        {"sk", "Slovak"},     {"sl", "Slovenian"}, {"sr", "Serbian"},    {"sv", "Swedish"},
        {"th", "Thai"},       {"tr", "Turkish"},   {"uk", "Ukrainian"},  {"vi", "Vietnamese"},
        {"zh", "Chinese"}};
    auto it = names.find(code);
    // "C", "POSIX", nothing set, or a language we don't list: the program's own language.
    return it == names.end() ? "English" : it->second;
}

}  // namespace

BOOL GetVersionExA(OSVERSIONINFOA* lpVersionInformation) {
    if (!lpVersionInformation || lpVersionInformation->dwOSVersionInfoSize < sizeof(OSVERSIONINFOA)) {
        return Win32_Fail(ERROR_INSUFFICIENT_BUFFER);
    }
    lpVersionInformation->dwMajorVersion = 5;
    lpVersionInformation->dwMinorVersion = 1;
    lpVersionInformation->dwBuildNumber = 2600;
    lpVersionInformation->dwPlatformId = VER_PLATFORM_WIN32_NT;
    std::strcpy(lpVersionInformation->szCSDVersion, "Service Pack 3");
    return TRUE;
}

// Both the user's and the system's locale come from the environment.
int GetLocaleInfoA(LCID, LCTYPE LCType, LPSTR lpLCData, int cchData) {
    if (LCType != LOCALE_SENGLANGUAGE) {
        SetLastError(ERROR_INVALID_FLAGS);
        return 0;
    }
    std::string name = EnglishLanguageName(LanguageCode(SystemLocaleName()));
    int needed = static_cast<int>(name.size()) + 1;
    if (cchData == 0) return needed;
    if (!lpLCData || cchData < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (cchData < needed) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(lpLCData, name.c_str(), static_cast<std::size_t>(needed));
    return needed;
}

int GetSystemMetrics(int nIndex) {
    // The classic Windows bar thickness, which the skinned bars' artwork is drawn for.
    constexpr int kScrollBarThickness = 17;
    switch (nIndex) {
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
        return kScrollBarThickness;
    default:
        return 0;
    }
}
