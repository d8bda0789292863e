// The system side of FontEnum.h: families from fontconfig (the program's own fonts included),
// raster sizes and character sets from the font files through FreeType, metrics from Qt.
#include "platform/vcl/FontEnum.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_WINFONTS_H

#include <QFontDatabase>
#include <QFontMetrics>
#include <QString>

#include <map>
#include <memory>

#include "platform/vcl/QtGraphics.h"
#include "platform/vcl/SysUtils.h"

namespace {

struct FcPatternFree {
    void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
struct FcFontSetFree {
    void operator()(FcFontSet* s) const { FcFontSetDestroy(s); }
};
struct FcObjectSetFree {
    void operator()(FcObjectSet* s) const { FcObjectSetDestroy(s); }
};

FT_Library FreeType() {
    static FT_Library lib = [] {
        FT_Library l = nullptr;
        if (FT_Init_FreeType(&l) != 0) l = nullptr;
        return l;
    }();
    return lib;
}

// What the file itself says about one face: character set and, for a raster face, its cell.
struct TFaceFacts {
    Byte charSet = ANSI_CHARSET;
    bool raster = false;
    int pixelHeight = 0;
    int internalLeading = 0;
    int externalLeading = 0;
    int ascent = 0;
    int aveWidth = 0;
    int maxWidth = 0;
    int weight = 400;
};

TFaceFacts ReadFacts(const char* File, int Index) {
    TFaceFacts f;
    FT_Face face = nullptr;
    if (FreeType() == nullptr || FT_New_Face(FreeType(), File, Index, &face) != 0) return f;
    FT_WinFNT_HeaderRec fnt;
    if (FT_Get_WinFNT_Header(face, &fnt) == 0) {
        f.raster = true;
        f.charSet = fnt.charset;
        f.pixelHeight = fnt.pixel_height;
        f.internalLeading = fnt.internal_leading;
        f.externalLeading = fnt.external_leading;
        f.ascent = fnt.ascent;
        f.aveWidth = fnt.avg_width;
        f.maxWidth = fnt.max_width;
        f.weight = fnt.weight;
    } else {
        for (int i = 0; i < face->num_charmaps; ++i)
            if (face->charmaps[i]->encoding == FT_ENCODING_MS_SYMBOL) f.charSet = SYMBOL_CHARSET;
    }
    FT_Done_Face(face);
    return f;
}

String PatternString(FcPattern* p, const char* Object) {
    FcChar8* v = nullptr;
    return FcPatternGetString(p, Object, 0, &v) == FcResultMatch ? String(reinterpret_cast<char*>(v)) : String();
}

int PatternInt(FcPattern* p, const char* Object, int Default) {
    int v = 0;
    return FcPatternGetInteger(p, Object, 0, &v) == FcResultMatch ? v : Default;
}

bool PatternBool(FcPattern* p, const char* Object) {
    FcBool v = FcFalse;
    return FcPatternGetBool(p, Object, 0, &v) == FcResultMatch && v;
}

TFontFace MakeFace(FcPattern* p, const String& Family) {
    TFontFace face;
    String file = PatternString(p, FC_FILE);
    TFaceFacts facts = ReadFacts(file.c_str(), PatternInt(p, FC_INDEX, 0));
    bool scalable = PatternBool(p, FC_SCALABLE) && !facts.raster;
    // Every outline format is drawn from its outlines at any size, as TrueType is.
    face.FontType = scalable ? TRUETYPE_FONTTYPE : RASTER_FONTTYPE;
    bool fixed = PatternInt(p, FC_SPACING, FC_PROPORTIONAL) >= FC_MONO;
    Byte pitch = fixed ? FIXED_PITCH : VARIABLE_PITCH;
    SetFaceName(face.LogFont, Family);
    face.LogFont.lfCharSet = facts.charSet;
    face.LogFont.lfPitchAndFamily = pitch;
    face.Metric.tmCharSet = facts.charSet;
    face.Metric.tmPitchAndFamily = pitch;
    if (facts.raster) {
        face.LogFont.lfHeight = facts.pixelHeight;
        face.LogFont.lfWeight = facts.weight;
        face.Metric.tmHeight = facts.pixelHeight;
        face.Metric.tmAscent = facts.ascent;
        face.Metric.tmDescent = facts.pixelHeight - facts.ascent;
        face.Metric.tmInternalLeading = facts.internalLeading;
        face.Metric.tmExternalLeading = facts.externalLeading;
        face.Metric.tmAveCharWidth = facts.aveWidth;
        face.Metric.tmMaxCharWidth = facts.maxWidth;
        face.Metric.tmWeight = facts.weight;
    }
    return face;
}

class TSystemFontEnumerator : public TFontEnumerator {
public:
    std::vector<TFontFace> Faces(const String& Family) override {
        std::unique_ptr<FcPattern, FcPatternFree> pattern(FcPatternCreate());
        if (!Family.empty())
            FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(Family.c_str()));
        std::unique_ptr<FcObjectSet, FcObjectSetFree> objects(
            FcObjectSetBuild(FC_FAMILY, FC_FILE, FC_INDEX, FC_SCALABLE, FC_SPACING, FC_FONTFORMAT, FC_PIXEL_SIZE,
                             static_cast<char*>(nullptr)));
        std::unique_ptr<FcFontSet, FcFontSetFree> set(FcFontList(nullptr, pattern.get(), objects.get()));
        std::vector<TFontFace> faces;
        if (!set) return faces;
        // One entry per family name; with a family given, one per raster size of it.
        std::map<String, bool> seen;
        for (int i = 0; i < set->nfont; ++i) {
            FcPattern* p = set->fonts[i];
            String family = PatternString(p, FC_FAMILY);
            if (family.empty()) continue;
            if (!Family.empty() && !SameText(family, Family)) continue;
            if (Family.empty()) {
                if (seen.count(UpperCase(family)) != 0) continue;
                seen[UpperCase(family)] = true;
                faces.push_back(MakeFace(p, family));
                continue;
            }
            TFontFace face = MakeFace(p, family);
            if (face.FontType != RASTER_FONTTYPE) {
                if (seen.count("scalable") != 0) continue;
                seen["scalable"] = true;
            }
            faces.push_back(face);
        }
        return faces;
    }
};

}  // namespace

TFontEnumerator* SystemFontEnumerator() {
    static TSystemFontEnumerator system;
    return &system;
}

bool GetTextMetrics(TCanvas* DC, TEXTMETRICA& Metric) {
    TCanvas screen;
    TFont* font = DC != nullptr ? DC->GetFont() : screen.GetFont();
    QFont q = FontToQFont(*font);
    QFontMetrics fm(q);
    Metric.tmAscent = fm.ascent();
    Metric.tmDescent = fm.descent();
    Metric.tmHeight = fm.ascent() + fm.descent();
    int em = q.pixelSize() > 0 ? q.pixelSize() : Metric.tmHeight;
    Metric.tmInternalLeading = std::max(0, Metric.tmHeight - em);
    Metric.tmExternalLeading = std::max(0, fm.leading());
    Metric.tmAveCharWidth = fm.averageCharWidth();
    Metric.tmMaxCharWidth = fm.maxWidth();
    Metric.tmWeight = font->GetStyle().Contains(fsBold) ? 700 : 400;
    Metric.tmItalic = font->GetStyle().Contains(fsItalic) ? 1 : 0;
    Metric.tmCharSet = font->GetCharset();
    Metric.tmPitchAndFamily = q.fixedPitch() ? FIXED_PITCH : VARIABLE_PITCH;
    return true;
}

int AddFontResource(const String& FileName) {
    int added = 0;
    // fontconfig for the enumeration, Qt for drawing with the faces.
    if (FcConfigAppFontAddFile(nullptr, reinterpret_cast<const FcChar8*>(FileName.c_str()))) added = 1;
    int id = QFontDatabase::addApplicationFont(QString::fromStdString(FileName));
    if (id >= 0) added = std::max(added, static_cast<int>(QFontDatabase::applicationFontFamilies(id).size()));
    return added;
}
