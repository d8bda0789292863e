#include "libs/fontfile/FontFile.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fontconfig/fontconfig.h>
// After fontconfig.h, which it builds on.
#include <fontconfig/fcfreetype.h>
#include <memory>

namespace fontfile {
namespace {

namespace fs = std::filesystem;

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// Fontconfig's setup is the process's, shared with the program that loads us: started once,
// never torn down, and always asked through its current configuration (null below).
bool FontconfigReady() {
    static const bool ready = FcInit() == FcTrue;
    return ready;
}

struct PatternFree {
    void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
struct ObjectSetFree {
    void operator()(FcObjectSet* s) const { FcObjectSetDestroy(s); }
};
struct FontSetFree {
    void operator()(FcFontSet* s) const { FcFontSetDestroy(s); }
};
struct CharSetFree {
    void operator()(FcCharSet* s) const { FcCharSetDestroy(s); }
};
using CharSet = std::unique_ptr<FcCharSet, CharSetFree>;

bool NeedsGlyph(char32_t c) { return c >= 0x20 && c != 0x7F && !(c >= 0x80 && c < 0xA0) && c != 0xFEFF; }

CharSet Needed(const std::u32string& text) {
    CharSet needed(FcCharSetCreate());
    if (!needed) return needed;
    for (char32_t c : text)
        if (NeedsGlyph(c)) FcCharSetAddChar(needed.get(), static_cast<FcChar32>(c));
    return needed;
}

// The glyphs of a font file's first face, as fontconfig reads the file itself.
CharSet GlyphsOf(const std::string& file) {
    int faces = 0;
    std::unique_ptr<FcPattern, PatternFree> face(
        FcFreeTypeQuery(reinterpret_cast<const FcChar8*>(file.c_str()), 0, nullptr, &faces));
    FcCharSet* glyphs = nullptr;
    if (!face || FcPatternGetCharSet(face.get(), FC_CHARSET, 0, &glyphs) != FcResultMatch || !glyphs)
        return CharSet(FcCharSetCreate());
    return CharSet(FcCharSetCopy(glyphs));
}

std::string FileOf(FcPattern* font) {
    FcChar8* file = nullptr;
    if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch || !file) return "";
    return reinterpret_cast<const char*>(file);
}

std::string FileByName(FcConfig* config, const std::string& fileName) {
    std::unique_ptr<FcPattern, PatternFree> any(FcPatternCreate());
    std::unique_ptr<FcObjectSet, ObjectSetFree> fields(FcObjectSetBuild(FC_FILE, nullptr));
    if (!any || !fields) return "";
    std::unique_ptr<FcFontSet, FontSetFree> fonts(FcFontList(config, any.get(), fields.get()));
    if (!fonts) return "";
    std::string wanted = Lower(fileName);
    std::string found;
    for (int i = 0; i < fonts->nfont; ++i) {
        std::string file = FileOf(fonts->fonts[i]);
        if (Lower(fs::path(file).filename().string()) != wanted) continue;
        if (found.empty() || file < found) found = file;   // the same answer on every run
    }
    return found;
}

std::string FileByFamily(FcConfig* config, const std::string& family) {
    std::unique_ptr<FcPattern, PatternFree> pattern(FcPatternCreate());
    if (!pattern) return "";
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcConfigSubstitute(config, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    std::unique_ptr<FcPattern, PatternFree> match(FcFontMatch(config, pattern.get(), &result));
    return match ? FileOf(match.get()) : "";
}

}  // namespace

std::u32string MissingGlyphs(const std::string& file, const std::u32string& text) {
    std::u32string missing;
    if (!FontconfigReady()) return text;
    CharSet glyphs = GlyphsOf(file);
    for (char32_t c : text) {
        if (!NeedsGlyph(c) || missing.find(c) != std::u32string::npos) continue;
        if (!glyphs || !FcCharSetHasChar(glyphs.get(), static_cast<FcChar32>(c))) missing += c;
    }
    return missing;
}

std::string FontWithGlyphs(const std::u32string& text) {
    if (!FontconfigReady()) return "";
    CharSet needed = Needed(text);
    std::unique_ptr<FcPattern, PatternFree> pattern(FcPatternCreate());
    if (!needed || !pattern) return "";
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>("sans-serif"));
    FcPatternAddCharSet(pattern.get(), FC_CHARSET, needed.get());
    FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    std::unique_ptr<FcFontSet, FontSetFree> fonts(FcFontSort(nullptr, pattern.get(), FcFalse, nullptr, &result));
    if (!fonts) return "";
    for (int i = 0; i < fonts->nfont; ++i) {
        FcCharSet* glyphs = nullptr;
        FcBool scalable = FcFalse;
        if (FcPatternGetCharSet(fonts->fonts[i], FC_CHARSET, 0, &glyphs) != FcResultMatch || !glyphs) continue;
        if (FcPatternGetBool(fonts->fonts[i], FC_SCALABLE, 0, &scalable) != FcResultMatch || !scalable) continue;
        if (FcCharSetIsSubset(needed.get(), glyphs)) return FileOf(fonts->fonts[i]);
    }
    return "";
}

std::string ResolveFontFile(const std::string& name) {
    std::error_code error;
    if (!name.empty() && fs::is_regular_file(name, error)) return fs::absolute(name, error).lexically_normal().string();
    if (!FontconfigReady()) return "";
    FcConfig* config = nullptr;
    std::string bare = fs::path(name).filename().string();
    if (!bare.empty()) {
        std::string file = FileByName(config, bare);
        if (!file.empty()) return file;
    }
    std::string family = fs::path(bare).stem().string();
    return FileByFamily(config, family.empty() ? "sans-serif" : family);
}

}  // namespace fontfile
