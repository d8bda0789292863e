#include "libs/dozezedav/FontFile.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fontconfig/fontconfig.h>
#include <memory>

namespace dozezedav {
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

}  // namespace dozezedav
