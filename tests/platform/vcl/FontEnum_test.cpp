#include "platform/vcl/FontEnum.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include <gtest/gtest.h>

namespace {

TEST(FontEnum, TheReplaceableServiceAnswersEnumFontFamilies) {
    struct TScripted : TFontEnumerator {
        std::vector<TFontFace> Faces(const String& Family) override {
            TFontFace f;
            SetFaceName(f.LogFont, Family.empty() ? "Any" : Family);
            f.FontType = TRUETYPE_FONTTYPE;
            return {f, f};
        }
    } scripted;
    SetFontEnumerator(&scripted);
    std::vector<String> seen;
    int r = EnumFontFamilies(nullptr, "Some", [&](const LOGFONTA& lf, const TEXTMETRICA&, DWORD) {
        seen.push_back(lf.lfFaceName);
        return 0;  // stop after the first
    });
    SetFontEnumerator(nullptr);
    EXPECT_EQ(r, 0);
    EXPECT_EQ(seen, (std::vector<String>{"Some"}));
}

TEST(FontEnum, SystemFamiliesIncludeTrueTypeFaces) {
    bool trueType = false;
    EnumFontFamilies(nullptr, nullptr, [&](const LOGFONTA&, const TEXTMETRICA&, DWORD type) {
        trueType = trueType || (type & TRUETYPE_FONTTYPE) != 0;
        return 1;
    });
    EXPECT_TRUE(trueType);
}

TEST(FontEnum, ARegisteredRasterFaceListsEachSizeWithItsCell) {
    const String file = "/usr/share/wine/fonts/sserife.fon";
    ASSERT_TRUE(std::filesystem::exists(file)) << "fonts-wine is missing";
    ASSERT_GT(AddFontResource(file), 0);
    String family;
    EnumFontFamilies(nullptr, nullptr, [&](const LOGFONTA& lf, const TEXTMETRICA&, DWORD type) {
        if (type == RASTER_FONTTYPE && String(lf.lfFaceName).find("Sans Serif") != String::npos) family = lf.lfFaceName;
        return 1;
    });
    ASSERT_FALSE(family.empty());
    std::vector<int> points;
    EnumFontFamilies(nullptr, family.c_str(), [&](const LOGFONTA& lf, const TEXTMETRICA& tm, DWORD type) {
        EXPECT_EQ(type, RASTER_FONTTYPE);
        EXPECT_EQ(lf.lfHeight, tm.tmHeight);
        points.push_back(static_cast<int>(std::lround((lf.lfHeight - tm.tmInternalLeading) * 72.0 / 96)));
        return 1;
    });
    for (int size : {8, 10, 12}) EXPECT_NE(std::find(points.begin(), points.end(), size), points.end()) << size;
}

TEST(FontEnum, TextMetricsFollowTheCanvasFont) {
    TCanvas c;
    c.GetFont()->SetHeight(-20);
    TEXTMETRICA tm;
    ASSERT_TRUE(GetTextMetrics(&c, tm));
    EXPECT_GE(tm.tmHeight, 20);
    EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
    EXPECT_EQ(GetDeviceCaps(&c, LOGPIXELSY), 96);
}

}  // namespace
