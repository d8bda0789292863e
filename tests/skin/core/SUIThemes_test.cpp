// The theme vocabulary: the key table, the five built-in looks entry by entry, the answers for
// wrong types and out-of-range keys, frame extraction, the initial look and the style rule.
#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"
#include "skin/core/SUIMgr.h"
#include "skin/core/SUIThemes.h"

namespace {

// The looks as a person writes them down: key | item name | type | MacOS | WinXP | DeepBlue |
// Protein | BlueGlass. Kept as text so the check is independent of how the code stores them.
const char* const kExpected = R"(
| 1 | "ButtonImage" | `Str` | "MACOS_BUTTON" | "WINXP_BUTTON" | "DEEPBLUE_BUTTON" | "PROTEIN_BUTTON" | "BLUEGLASS_BUTTON" |
| 2 | "ButtonTransparentBool" | `Bool` | true | false | false | false | true |
| 3 | "CheckBoxImage" | `Str` | "MACOS_CHECKBOX" | "WINXP_CHECKBOX" | "DEEPBLUE_CHECKBOX" | "PROTEIN_CHECKBOX" | "BLUEGLASS_CHECKBOX" |
| 4 | "RadioButtonImage" | `Str` | "MACOS_RADIOBUTTON" | "WINXP_RADIOBUTTON" | "DEEPBLUE_RADIOBUTTON" | "PROTEIN_RADIOBUTTON" | "BLUEGLASS_RADIOBUTTON" |
| 5 | "TitleBarButtonImage" | `Str` | "MACOS_TITLEBTN" | "WINXP_TITLEBTN" | "DEEPBLUE_TITLEBTN" | "PROTEIN_TITLEBTN" | "BLUEGLASS_TITLEBTN" |
| 6 | "TitleBarButtonTransparentBool" | `Bool` | false | false | false | true | true |
| 7 | "TitleBarButtonLeftOffsetInt" | `Int` | 3 | 2 | 0 | 0 | 4 |
| 8 | "TitleBarButtonRightOffsetInt" | `Int` | -2 | -2 | 0 | 0 | -3 |
| 9 | "TitleBarButtonTopInt" | `Int` | 4 | 5 | 2 | 2 | 6 |
| 10 | "TitleBarLeftImage" | `Str` | "MACOS_TITLE_LEFT" | "WINXP_TITLE_LEFT" | "DEEPBLUE_TITLE_LEFT" | "PROTEIN_TITLE_LEFT" | "BLUEGLASS_TITLE_LEFT" |
| 11 | "TitleBarClientImage" | `Str` | "MACOS_TITLE_CLIENT" | "WINXP_TITLE_CLIENT" | "DEEPBLUE_TITLE_CLIENT" | "PROTEIN_TITLE_CLIENT" | "BLUEGLASS_TITLE_CLIENT" |
| 12 | "TitleBarRightImage" | `Str` | "MACOS_TITLE_RIGHT" | "WINXP_TITLE_RIGHT" | "DEEPBLUE_TITLE_RIGHT" | "PROTEIN_TITLE_RIGHT" | "BLUEGLASS_TITLE_RIGHT" |
| 13 | "FormMinWidthInt" | `Int` | 130 | 150 | 130 | 130 | 270 |
| 14 | "FormRoundCornerInt" | `Int` | 0 | 13 | 0 | 0 | 11 |
| 15 | "FormBackgroundColor" | `Color` | 0xE7E7E7 | 0xDEEBEF | 0xE8E8E8 | 0xFBFBFB | 0xE7E7E7 |
| 16 | "FormBorderColor" | `Color` | 0x7F7F7F | 0xC82C00 | 0x000000 | 0x000000 | 0x000000 |
| 17 | "FormBorderWidthInt" | `Int` | 1 | 3 | 1 | 1 | 1 |
| 18 | "MenuSelectedBorderColor" | `Color` | 0xC47339 | 0xC66931 | 0xA04A44 | 0xC4302D | 0xEC5E5E |
| 19 | "MenuSelectedBackgroundColor" | `Color` | 0xC47339 | 0xEFD3C6 | 0xA04A44 | 0xC4302D | 0xEC5E5E |
| 20 | "MenuSelectedFontColor" | `Color` | 0xFFFFFF | 0x000000 | 0xFFFFFF | 0xFFFFFF | 0xFFFFFF |
| 21 | "MenuBackgroundColor" | `Color` | 0x000000 | 0xFFFFFF | 0xFFFFFF | 0xFFFFFF | 0xE7E7E7 |
| 22 | "MenuFontColor" | `Color` | 0x000000 | 0x000000 | 0x000000 | 0x000000 | 0x000000 |
| 23 | "MenuBarColor" | `Color` | 0x000000 | 0xCED3D6 | 0xCED3D6 | 0xCED3D6 | 0xCED3D6 |
| 24 | "ProgressBarImage" | `Str` | "MACOS_PROGRESSBAR" | "WINXP_PROGRESSBAR" | "DEEPBLUE_PROGRESSBAR" | "PROTEIN_PROGRESSBAR" | "BLUEGLASS_PROGRESSBAR" |
| 25 | "ControlBorderColor" | `Color` | 0x7F7F7F | 0x686868 | 0x000000 | 0x000000 | 0x000000 |
| 26 | "ControlBackgroundColor" | `Color` | 0xE7E7E7 | 0xDEEBEF | 0xE8E8E8 | 0xFBFBFB | 0xE7E7E7 |
| 27 | "ControlFontColor" | `Color` | 0x000000 | 0xCF4602 | 0x000000 | 0x000000 | 0x000000 |
| 28 | "TrackBarBarImage" | `Str` | "MACOS_TRACKBAR_BAR" | "WINXP_TRACKBAR_BAR" | "DEEPBLUE_TRACKBAR_BAR" | "PROTEIN_TRACKBAR_BAR" | "BLUEGLASS_TRACKBAR_BAR" |
| 29 | "TrackBarSliderImage" | `Str` | "MACOS_TRACKBAR_SLIDER" | "WINXP_TRACKBAR_SLIDER" | "DEEPBLUE_TRACKBAR_SLIDER" | "PROTEIN_TRACKBAR_SLIDER" | "BLUEGLASS_TRACKBAR_SLIDER" |
| 30 | "TrackBarSliderVImage" | `Str` | "MACOS_TRACKBAR_SLIDER_V" | "WINXP_TRACKBAR_SLIDER_V" | "DEEPBLUE_TRACKBAR_SLIDER_V" | "PROTEIN_TRACKBAR_SLIDER_V" | "BLUEGLASS_TRACKBAR_SLIDER_V" |
| 31 | "ScrollBarBackgroundColor" | `Color` | 0xC9C9C9 | 0xF9F9F9 | 0xF5F5F5 | 0xF5F5F5 | 0xF4F4F4 |
| 32 | "ScrollBarButtonImage" | `Str` | "MACOS_SCROLLBAR_BUTTON" | "WINXP_SCROLLBAR_BUTTON" | "DEEPBLUE_SCROLLBAR_BUTTON" | "PROTEIN_SCROLLBAR_BUTTON" | "BLUEGLASS_SCROLLBAR_BUTTON" |
| 33 | "ScrollBarSliderImage" | `Str` | "MACOS_SCROLLBAR_TRACK" | "WINXP_SCROLLBAR_TRACK" | "DEEPBLUE_SCROLLBAR_TRACK" | "PROTEIN_SCROLLBAR_TRACK" | "BLUEGLASS_SCROLLBAR_TRACK" |
| 34 | "CheckListBoxImage" | `Str` | "MACOS_CHECKLIST" | "WINXP_CHECKLIST" | "DEEPBLUE_CHECKLIST" | "PROTEIN_CHECKLIST" | "BLUEGLASS_CHECKLIST" |
| 35 | "ToolBarButtonBorderColor" | `Color` | 0x474747 | 0xC66931 | 0x474747 | 0x474747 | 0x474747 |
| 36 | "ToolBarButtonBackgroundColor" | `Color` | 0xEFEFEF | 0xEFD3C6 | 0xEFEFEF | 0xEFEFEF | 0xEFEFEF |
| 37 | "ToolBarButtonDownBackgroundColor" | `Color` | 0xD8D8D8 | 0xE1AC93 | 0xD8D8D8 | 0xD8D8D8 | 0xD8D8D8 |
| 38 | "ScrollButtonImage" | `Str` | "MACOS_SCROLLBUTTON" | "WINXP_SCROLLBUTTON" | "MORE_SCROLLBUTTON" | "MORE_SCROLLBUTTON" | "MORE_SCROLLBUTTON" |
| 39 | "TabControlTabImage" | `Str` | "MACOS_TAB" | "WINXP_TAB" | "DEEPBLUE_TAB" | "PROTEIN_TAB" | "BLUEGLASS_TAB" |
| 40 | "TabControlBarImage" | `Str` | "MACOS_TAB_LINE" | "WINXP_TAB_LINE" | "DEEPBLUE_TAB_LINE" | "PROTEIN_TAB_LINE" | "BLUEGLASS_TAB_LINE" |
| 41 | "SideChannelHandleImage" | `Str` | "MACOS_SIDECHENNEL_HANDLE" | "WINXP_SIDECHENNEL_HANDLE" | "DEEPBLUE_SIDECHENNEL_HANDLE" | "PROTEIN_SIDECHENNEL_HANDLE" | "BLUEGLASS_SIDECHENNEL_HANDLE" |
| 42 | "SideChannelBarImage" | `Str` | "MACOS_SIDECHENNEL_BAR" | "WINXP_SIDECHENNEL_BAR" | "DEEPBLUE_SIDECHENNEL_BAR" | "PROTEIN_SIDECHENNEL_BAR" | "BLUEGLASS_SIDECHENNEL_BAR" |
)";

struct Row {
    int key = 0;
    String name;
    String type;
    std::vector<String> values;  // five looks
};

String Trim(const String& s) {
    const auto b = s.find_first_not_of(" `\"");
    const auto e = s.find_last_not_of(" `\"");
    return b == String::npos ? "" : s.substr(b, e - b + 1);
}

std::vector<Row> ExpectedRows() {
    std::vector<Row> rows;
    std::istringstream in(kExpected);
    String line;
    while (std::getline(in, line)) {
        if (line.rfind("| ", 0) != 0) continue;
        std::vector<String> cells;
        std::istringstream cs(line.substr(1));
        String cell;
        while (std::getline(cs, cell, '|')) cells.push_back(Trim(cell));
        if (cells.size() < 8) continue;
        Row r;
        r.key = std::stoi(cells[0]);
        r.name = cells[1];
        r.type = cells[2];
        r.values.assign(cells.begin() + 3, cells.begin() + 8);
        rows.push_back(r);
    }
    return rows;
}

const TsuiUIStyle kLooks[] = {MacOS, WinXP, DeepBlue, Protein, BlueGlass};

String TypeName(TsuiType t) {
    switch (t) {
    case TsuiType::Int: return "Int";
    case TsuiType::Color: return "Color";
    case TsuiType::Str: return "Str";
    case TsuiType::Bool: return "Bool";
    }
    return "?";
}

}  // namespace

TEST(SUIThemesTable, HasFortyTwoKeysWithNamesAndTypes) {
    const auto rows = ExpectedRows();
    ASSERT_EQ(rows.size(), 42u);
    for (const Row& r : rows) {
        EXPECT_EQ(SUI_FILETHEME_ITEMNAME[r.key], r.name) << r.key;
        EXPECT_EQ(SUIThemeItemName(r.key), r.name) << r.key;
        EXPECT_EQ(TypeName(SUI_ITEM_TYPE[r.key]), r.type) << r.key;
    }
    EXPECT_EQ(SUIThemeItemName(0), "");
    EXPECT_EQ(SUIThemeItemName(43), "");
}

TEST(SUIThemesTable, EveryEntryOfEveryLookMatches) {
    for (const Row& r : ExpectedRows())
        for (int l = 0; l < 5; ++l) {
            const TsuiUIStyle look = kLooks[l];
            const String& want = r.values[static_cast<size_t>(l)];
            TsuiType type;
            const Integer entry = SUIThemes::LookupInsideTheme(look, r.key, type);
            EXPECT_EQ(TypeName(type), r.type) << r.key;
            SCOPED_TRACE("key " + std::to_string(r.key) + " look " + std::to_string(l + 1));
            if (r.type == "Str") {
                EXPECT_EQ(SUIThemes::InsideThemeResourceName(look, r.key), want);
            } else if (r.type == "Bool") {
                EXPECT_EQ(GetInsideThemeBool(look, r.key), want == "true");
                EXPECT_EQ(entry, want == "true" ? 1 : 0);
            } else if (r.type == "Color") {
                EXPECT_EQ(GetInsideThemeColor(look, r.key), static_cast<TColor>(std::stoul(want, nullptr, 16)));
            } else {
                EXPECT_EQ(GetInsideThemeInt(look, r.key), std::stoi(want));
            }
        }
}

TEST(SUIThemesTable, WrongTypesAnswerFalseZeroAndMinusOne) {
    for (const Row& r : ExpectedRows())
        for (TsuiUIStyle look : kLooks) {
            if (r.type != "Bool") {
                EXPECT_FALSE(GetInsideThemeBool(look, r.key)) << r.key;
            }
            if (r.type != "Color") {
                EXPECT_EQ(GetInsideThemeColor(look, r.key), 0) << r.key;
            }
            if (r.type != "Int") {
                EXPECT_EQ(GetInsideThemeInt(look, r.key), -1) << r.key;
            }
            if (r.type != "Str") {
                EXPECT_EQ(SUIThemes::InsideThemeResourceName(look, r.key), "") << r.key;
            }
        }
    EXPECT_EQ(GetInsideThemeColor(DeepBlue, 1), 0);
    EXPECT_EQ(GetInsideThemeInt(WinXP, 15), -1);
}

TEST(SUIThemesTable, NoTableLookAndKeysOutsideTheRangeAnswerAsMissing) {
    struct Case {
        TsuiUIStyle look;
        int key;
    };
    const Case cases[] = {{FromThemeFile, 7}, {FromThemeFile, 15}, {FromThemeFile, 2},
                          {static_cast<TsuiUIStyle>(6), 7}, {static_cast<TsuiUIStyle>(255), 1},
                          {MacOS, 0}, {MacOS, 43}, {WinXP, -1}, {BlueGlass, 1000}};
    for (const Case& c : cases) {
        TsuiType type = TsuiType::Str;
        EXPECT_EQ(SUIThemes::LookupInsideTheme(c.look, c.key, type), -1);
        EXPECT_EQ(type, TsuiType::Int);
        EXPECT_EQ(GetInsideThemeInt(c.look, c.key), -1);
        EXPECT_EQ(GetInsideThemeColor(c.look, c.key), 0);
        EXPECT_FALSE(GetInsideThemeBool(c.look, c.key));
    }
}

TEST(SUIThemesBitmap, KeepsOneFrameOfTheStrip) {
    TBitmap whole, frame;
    GetInsideThemeBitmap(WinXP, SUI_THEME_BUTTON_IMAGE, &whole);
    GetInsideThemeBitmap(WinXP, SUI_THEME_BUTTON_IMAGE, &frame, 3, 2);
    ASSERT_EQ(frame.GetWidth(), 18);
    ASSERT_EQ(frame.GetHeight(), 21);
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 18; ++x) ASSERT_EQ(frame.GetPixelColor(x, y), whole.GetPixelColor(18 + x, y));
}

TEST(SUIThemesBitmap, NonPictureKeysAndNullBitmaps) {
    TBitmap bmp(5, 4);
    GetInsideThemeBitmap(FromThemeFile, SUI_THEME_BUTTON_IMAGE, &bmp);  // count 0: unchanged
    EXPECT_EQ(bmp.GetWidth(), 5);
    EXPECT_EQ(bmp.GetHeight(), 4);
    GetInsideThemeBitmap(MacOS, SUI_THEME_FORM_BACKGROUND_COLOR, &bmp);
    EXPECT_EQ(bmp.GetWidth(), 5);
    GetInsideThemeBitmap(FromThemeFile, SUI_THEME_BUTTON_IMAGE, &bmp, 3, 1);  // framed: empty
    EXPECT_TRUE(bmp.GetEmpty());
    GetInsideThemeBitmap(MacOS, SUI_THEME_BUTTON_IMAGE, nullptr, 3, 1);
    SUIThemes::LoadInsideThemeBitmap(MacOS, SUI_THEME_BUTTON_IMAGE, nullptr);
}

TEST(SUIThemesBitmap, FrameSizesFollowTheCount) {
    struct Case {
        TsuiUIStyle look;
        int key, count, frame, w, h;
    };
    // WinXP's button strip is 54 x 21, BlueGlass's 231 x 27.
    const Case cases[] = {{WinXP, 1, 1, 1, 54, 21},    {WinXP, 1, 2, 2, 27, 21},
                          {WinXP, 1, 3, 3, 18, 21},    {BlueGlass, 1, 3, 1, 77, 27},
                          {WinXP, 1, 100, 1, 0, 21},   {WinXP, 1, 3, 0, 0, 0},
                          {WinXP, 1, 3, 4, 0, 0},      {WinXP, 5, 18, 18, 21, 21}};
    for (const Case& c : cases) {
        TBitmap dst(7, 7);
        GetInsideThemeBitmap(c.look, c.key, &dst, c.count, c.frame);
        EXPECT_EQ(dst.GetWidth(), c.w) << c.count << "/" << c.frame;
        if (c.w > 0) {
            EXPECT_EQ(dst.GetHeight(), c.h) << c.count << "/" << c.frame;
        } else {
            EXPECT_TRUE(dst.GetEmpty());
        }
    }
}

TEST(SUIThemesFormStyle, StartsDeepBlueWithoutASkinnedForm) {
    EXPECT_EQ(GetSUIFormStyle(nullptr), DeepBlue);
    TComponent notAForm(nullptr);
    EXPECT_EQ(GetSUIFormStyle(&notAForm), DeepBlue);
    TForm form(nullptr);
    EXPECT_EQ(GetSUIFormStyle(&form), DeepBlue);
}

namespace {

// A stand-in for the skinned form panel: a control named TsuiForm with the style pair.
class TsuiForm : public TCustomControl, public IsuiStyled {
    VCL_CLASS(TsuiForm)
    using TCustomControl::TCustomControl;
    TsuiUIStyle GetUIStyle() const override { return m_style; }
    void SetUIStyle(TsuiUIStyle v) override { m_style = v; }
    TsuiFileTheme* GetFileTheme() const override { return nullptr; }
    void SetFileTheme(TsuiFileTheme*) override {}

private:
    TsuiUIStyle m_style = DeepBlue;
};

}  // namespace

TEST(SUIThemesFormStyle, TakesTheLookOfTheFormsSkinnedPanel) {
    TForm form(nullptr);
    auto* panel = new TsuiForm(&form);
    panel->SetUIStyle(Protein);
    EXPECT_EQ(GetSUIFormStyle(&form), DeepBlue);  // owned but not a child control
    panel->SetParent(&form);
    EXPECT_EQ(GetSUIFormStyle(&form), Protein);
}

TEST(SUIThemesRule, UsingFileThemeDecides) {
    TsuiUIStyle effective = MacOS;
    EXPECT_FALSE(UsingFileTheme(nullptr, FromThemeFile, effective));
    EXPECT_EQ(effective, DeepBlue);
    TsuiFileTheme unloaded(nullptr);
    EXPECT_FALSE(UsingFileTheme(&unloaded, FromThemeFile, effective));
    EXPECT_EQ(effective, DeepBlue);
    EXPECT_FALSE(UsingFileTheme(&unloaded, BlueGlass, effective));
    EXPECT_EQ(effective, BlueGlass);
}

TEST(SUIThemesRule, ValuesFollowTheEffectiveLook) {
    TsuiThemeValues v(nullptr, FromThemeFile);
    EXPECT_FALSE(v.FromFile());
    EXPECT_EQ(v.Effective(), DeepBlue);
    EXPECT_EQ(v.Int(SUI_THEME_FORM_MINWIDTH_INT), 130);
    TsuiThemeValues xp(nullptr, WinXP);
    EXPECT_EQ(xp.Color(SUI_THEME_FORM_BORDER_COLOR), 0xC82C00);
    EXPECT_EQ(xp.Int(SUI_THEME_FORM_ROUNDCORNER_INT), 13);
    EXPECT_FALSE(xp.Bool(SUI_THEME_BUTTON_TRANSPARENT_BOOL));
    TBitmap frame;
    xp.Bitmap(SUI_THEME_CHECKBOX_IMAGE, &frame, 4, 3);
    EXPECT_EQ(frame.GetWidth(), 13);
}
