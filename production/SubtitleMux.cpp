#include "production/SubtitleMux.h"

#include "libs/fontfile/FontFile.h"
#include "production/XmlText.h"

#include <cstdio>

namespace {

constexpr int kPal = 2;
const char* const kEnd = "\r\n";

}  // namespace

String SubtitleFontFile(const String& RegionFontFile) {
    return RegionFontFile.empty() || RegionFontFile == "0" ? String("ARIAL.TTF") : RegionFontFile;
}

String SubtitleFontFor(const String& RegionFontFile, const std::u32string& CodePoints) {
    const String region = SubtitleFontFile(RegionFontFile);
    const String resolved = fontfile::ResolveFontFile(region);
    if (!resolved.empty() && fontfile::MissingGlyphs(resolved, CodePoints).empty()) return resolved;
    const String covering = fontfile::FontWithGlyphs(CodePoints);
    if (!covering.empty()) return covering;
    return resolved.empty() ? region : resolved;
}

String SubtitleXmlText(const TSubtitleXmlValues& Values) {
    const bool pal = Values.i_VideoStandard == kPal;
    const String rate = pal ? "\"25\"" : "\"29.97\"";
    const String height = pal ? "\"576\"" : "\"480\"";
    String text;
    text += String("<subpictures>") + kEnd;
    text += String("   <stream>") + kEnd;
    text += "      <textsub filename=\"" + XmlEscape(Values.s_SubtitlePath) + "\" characterset=\"" +
            XmlEscape(Values.s_CharacterSet) + "\"" + kEnd;
    text += "         fontsize=\"" + std::to_string(Values.i_FontSize) + "\" font=\"" + XmlEscape(Values.s_FontFile) +
            "\" horizontal-alignment=\"center\"" + kEnd;
    text += String("         vertical-alignment=\"bottom\" left-margin=\"60\" right-margin=\"60\"") + kEnd;
    text += String("         top-margin=\"20\" bottom-margin=\"30\"") + kEnd;
    text += "         subtitle-fps=" + rate + " movie-fps=" + rate + kEnd;
    text += "         movie-width=\"720\" movie-height=" + height + kEnd;
    text += String("      />") + kEnd;
    text += String("   </stream>") + kEnd;
    text += String("</subpictures>") + kEnd;
    return text;
}

bool WriteTextFile(const String& Path, const String& Text) {
    std::FILE* file = std::fopen(Path.c_str(), "wb");
    if (!file) return false;
    bool written = std::fwrite(Text.data(), 1, Text.size(), file) == Text.size();
    written = std::fclose(file) == 0 && written;
    if (!written) std::remove(Path.c_str());
    return written;
}

bool WriteSubtitleXml(const String& Path, const TSubtitleXmlValues& Values) {
    return WriteTextFile(Path, SubtitleXmlText(Values));
}
