#include "production/VolumeName.h"

namespace {

const char* const kDefaultVolumeName = "DVD_DISC";

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

String Trimmed(const String& text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsSpace(text[first])) ++first;
    while (last > first && IsSpace(text[last - 1])) --last;
    return text.substr(first, last - first);
}

}  // namespace

String SanitizeVolumeName(const String& Typed) {
    String name;
    for (char c : Trimmed(Typed)) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_')
            name += c;
        else if (c == ' ')
            name += '_';
    }
    return name.empty() ? String(kDefaultVolumeName) : name;
}
