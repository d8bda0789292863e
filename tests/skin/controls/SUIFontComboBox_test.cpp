#include "skin/controls/SUIFontComboBox.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/vcl/Forms.h"
#include "tests/support/TestHelpers.h"

using namespace testing_vcl;

namespace {

TFontFace Face(const char* Name, DWORD Type, Byte CharSet, Byte Pitch = VARIABLE_PITCH, int Height = 0,
               int Leading = 0) {
    TFontFace f;
    SetFaceName(f.LogFont, Name);
    f.LogFont.lfCharSet = CharSet;
    f.LogFont.lfPitchAndFamily = Pitch;
    f.LogFont.lfHeight = Height;
    f.Metric.tmHeight = Height;
    f.Metric.tmInternalLeading = Leading;
    f.FontType = Type;
    return f;
}

// A scripted font list: TrueType, raster, symbol, OEM and fixed-pitch faces, and the sizes of
// one raster face (given out of order, one twice).
struct TScriptedFonts : TFontEnumerator {
    std::vector<TFontFace> Faces(const String& Family) override {
        if (Family.empty())
            return {Face("Verdana", TRUETYPE_FONTTYPE, ANSI_CHARSET), Face("Terminal", RASTER_FONTTYPE, OEM_CHARSET),
                    Face("Symbol", TRUETYPE_FONTTYPE, SYMBOL_CHARSET), Face("Courier", RASTER_FONTTYPE, ANSI_CHARSET, FIXED_PITCH),
                    Face("Arial", TRUETYPE_FONTTYPE, ANSI_CHARSET), Face("Arial", TRUETYPE_FONTTYPE, GREEK_CHARSET),
                    Face("Lucida Console", TRUETYPE_FONTTYPE, ANSI_CHARSET, FIXED_PITCH)};
        if (SameText(Family, "Courier"))
            return {Face("Courier", RASTER_FONTTYPE, ANSI_CHARSET, FIXED_PITCH, 20, 4),
                    Face("Courier", RASTER_FONTTYPE, ANSI_CHARSET, FIXED_PITCH, 13, 2),
                    Face("Courier", RASTER_FONTTYPE, ANSI_CHARSET, FIXED_PITCH, 16, 3),
                    Face("Courier", RASTER_FONTTYPE, ANSI_CHARSET, FIXED_PITCH, 13, 2)};
        return {Face(Family.c_str(), TRUETYPE_FONTTYPE, ANSI_CHARSET), Face(Family.c_str(), TRUETYPE_FONTTYPE, ANSI_CHARSET)};
    }
};

class FontBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetFontEnumerator(&fonts);
        form = new TForm(nullptr);
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, 300, 200);
        box = new TsuiFontComboBox(form);
        box->SetParent(form);
        box->SetBounds(10, 10, 180, 22);
        sizes = new TsuiFontSizeComboBox(form);
        sizes->SetParent(form);
        sizes->SetBounds(10, 40, 60, 22);
        form->Show();
    }
    void TearDown() override {
        delete form;
        SetFontEnumerator(nullptr);
    }
    std::vector<String> Items(TCustomComboBox* c) {
        std::vector<String> v;
        for (int i = 0; i < c->GetItems()->Count(); ++i) v.push_back(c->GetItems()->Strings(i));
        return v;
    }
    TScriptedFonts fonts;
    TForm* form = nullptr;
    TsuiFontComboBox* box = nullptr;
    TsuiFontSizeComboBox* sizes = nullptr;
};

TEST(SUIFontPassesOptionsTable, EachOptionFiltersItsFaces) {
    struct Case {
        TFontListOptions options;
        TFontFace face;
        bool passes;
    } cases[] = {
        {{}, Face("a", RASTER_FONTTYPE, OEM_CHARSET), true},
        {{foAnsiOnly}, Face("a", TRUETYPE_FONTTYPE, GREEK_CHARSET), false},
        {{foTrueTypeOnly}, Face("a", RASTER_FONTTYPE, ANSI_CHARSET), false},
        {{foFixedPitchOnly}, Face("a", TRUETYPE_FONTTYPE, ANSI_CHARSET, VARIABLE_PITCH), false},
        {{foFixedPitchOnly}, Face("a", TRUETYPE_FONTTYPE, ANSI_CHARSET, FIXED_PITCH), true},
        {{foNoOEMFonts}, Face("a", RASTER_FONTTYPE, OEM_CHARSET), false},
        {{foOEMFontsOnly}, Face("a", RASTER_FONTTYPE, ANSI_CHARSET), false},
        {{foNoSymbolFonts}, Face("a", TRUETYPE_FONTTYPE, SYMBOL_CHARSET), false},
        {{foScalableOnly}, Face("a", RASTER_FONTTYPE, ANSI_CHARSET), false},
        {{foTrueTypeOnly, foNoOEMFonts}, Face("a", TRUETYPE_FONTTYPE, ANSI_CHARSET), true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SUIFontPassesOptions(c.options, c.face.LogFont, c.face.FontType), c.passes)
            << c.options.Bits() << " " << static_cast<int>(c.face.LogFont.lfCharSet);
}

TEST(SUIRasterPointSizeTable, RoundsHalvesToEven) {
    EXPECT_EQ(SUIRasterPointSize(13, 2, 96), 8);    // 8.25
    EXPECT_EQ(SUIRasterPointSize(16, 3, 96), 10);   // 9.75
    EXPECT_EQ(SUIRasterPointSize(20, 4, 96), 12);
    EXPECT_EQ(SUIRasterPointSize(14, 0, 96), 10);   // 10.5 -> 10
    EXPECT_EQ(SUIRasterPointSize(18, 0, 96), 14);   // 13.5 -> 14
    EXPECT_EQ(SUIRasterPointSize(18, 0, 0), 0);
}

TEST_F(FontBoxTest, ListsEachFaceOnceSortedWithItsTypeBits) {
    EXPECT_EQ(Items(box), (std::vector<String>{"Arial", "Courier", "Lucida Console", "Symbol", "Terminal", "Verdana"}));
    auto tag = [&](const char* n) {
        return reinterpret_cast<std::uintptr_t>(box->GetItems()->Objects(box->GetItems()->IndexOf(n)));
    };
    EXPECT_EQ(tag("Arial"), TRUETYPE_FONTTYPE | FontItemNotSymbol);
    EXPECT_EQ(tag("Symbol"), TRUETYPE_FONTTYPE);
    EXPECT_EQ(tag("Terminal"), RASTER_FONTTYPE | FontItemNotSymbol);
}

TEST_F(FontBoxTest, TrueTypeWithoutOEMListsOnlyThoseAndKeepsTheName) {
    box->SetFontName("Verdana");
    int changes = 0;
    box->OnChange = [&](TObject*) { ++changes; };
    box->SetOptions(TFontListOptions{foTrueTypeOnly, foNoOEMFonts});
    EXPECT_EQ(Items(box), (std::vector<String>{"Arial", "Lucida Console", "Symbol", "Verdana"}));
    EXPECT_EQ(box->GetFontName(), "Verdana");
    EXPECT_EQ(changes, 0);
}

TEST_F(FontBoxTest, SetFontNameIgnoresCaseAndAnUnknownNameSelectsNothing) {
    int changes = 0;
    box->OnChange = [&](TObject*) { ++changes; };
    box->SetFontName("arial");
    EXPECT_EQ(box->GetItemIndex(), 0);
    EXPECT_EQ(box->GetFontName(), "Arial");
    EXPECT_EQ(changes, 1);
    box->SetFontName("No Such Face");
    EXPECT_EQ(box->GetItemIndex(), -1);
    EXPECT_EQ(changes, 2);
}

TEST_F(FontBoxTest, APickInTheListFiresOnChangeOnce) {
    int changes = 0;
    box->OnChange = [&](TObject*) { ++changes; };
    box->SetDroppedDown(true);
    TCustomListBox* list = box->DropDownList();
    ClickAt(list, 40, list->ItemRect(5).Top + 3);
    EXPECT_EQ(box->GetFontName(), "Verdana");
    EXPECT_EQ(changes, 1);
}

TEST_F(FontBoxTest, ItemsShowTheTrueTypeGlyph) {
    box->SetFontName("Arial");
    box->SetDroppedDown(true);
    TCustomListBox* list = box->DropDownList();
    TBitmap shot;
    Snapshot(list, &shot);
    TRect r = list->ItemRect(0);
    bool black = false;  // the glyph's dark "T" within its 12 columns
    for (int x = r.Left + 2; x < r.Left + 14; ++x)
        for (int y = r.Top; y < r.Bottom; ++y) black = black || shot.GetPixelColor(x, y) == clBlack;
    EXPECT_TRUE(black);
}

TEST_F(FontBoxTest, SizesForTrueTypeAreTheSixteenAndRasterSizesAscendOnce) {
    sizes->SetFontName("Arial");
    EXPECT_EQ(Items(sizes), (std::vector<String>{"8", "9", "10", "11", "12", "14", "16", "18", "20", "22", "24", "26",
                                                 "28", "36", "48", "72"}));
    sizes->SetFontSize(12);
    sizes->SetFontName("Courier");
    EXPECT_EQ(Items(sizes), (std::vector<String>{"8", "10", "12"}));
    EXPECT_EQ(sizes->GetFontSize(), 12);  // kept: the new list has it
    sizes->SetFontSize(13);
    EXPECT_EQ(sizes->GetItemIndex(), -1);
    EXPECT_EQ(sizes->GetFontSize(), 0);
}

TEST(FontBoxOnTheRealFonts, TrueTypeSizesAndARegisteredRasterFace) {
    const String file = "/usr/share/wine/fonts/sserife.fon";
    ASSERT_TRUE(std::filesystem::exists(file)) << "fonts-wine is missing";
    ASSERT_GT(AddFontResource(file), 0);
    TForm form(nullptr);
    form.SetBorderStyle(bsNone);
    auto* box = new TsuiFontComboBox(&form);
    box->SetParent(&form);
    auto* sizes = new TsuiFontSizeComboBox(&form);
    sizes->SetParent(&form);
    form.Show();
    String raster, trueType;
    for (int i = 0; i < box->GetItems()->Count(); ++i) {
        auto tag = reinterpret_cast<std::uintptr_t>(box->GetItems()->Objects(i));
        String name = box->GetItems()->Strings(i);
        if ((tag & RASTER_FONTTYPE) && name.find("Sans Serif") != String::npos) raster = name;
        if ((tag & TRUETYPE_FONTTYPE) && trueType.empty()) trueType = name;
    }
    ASSERT_FALSE(raster.empty());
    ASSERT_FALSE(trueType.empty());
    sizes->SetFontName(trueType);
    EXPECT_EQ(sizes->GetItems()->Count(), 16);
    sizes->SetFontName(raster);
    for (const char* s : {"8", "10", "12"}) EXPECT_GE(sizes->GetItems()->IndexOf(s), 0) << s;
    for (int i = 1; i < sizes->GetItems()->Count(); ++i)
        EXPECT_LT(StrToInt(sizes->GetItems()->Strings(i - 1)), StrToInt(sizes->GetItems()->Strings(i)));
    box->SetOptions(TFontListOptions{foTrueTypeOnly, foNoOEMFonts});
    EXPECT_LT(box->GetItems()->IndexOf(raster), 0);
}

}  // namespace
