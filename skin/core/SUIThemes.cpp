#include "skin/core/SUIThemes.h"

#include <array>

#include "platform/vcl/Forms.h"
#include "skin/core/SUIMgr.h"
#include "skin/core/Suipublic.h"

namespace {

constexpr int kLookCount = 5;  // MacOS .. BlueGlass

struct ThemeRow {
    const char* name;
    TsuiType type;
    std::array<Integer, kLookCount> value;  // Int, Color, Bool rows
    std::array<const char*, kLookCount> res;  // Str rows
};

constexpr std::array<Integer, kLookCount> kNoValue{0, 0, 0, 0, 0};
constexpr std::array<const char*, kLookCount> kNoRes{nullptr, nullptr, nullptr, nullptr, nullptr};

constexpr ThemeRow Num(const char* name, TsuiType type, std::array<Integer, kLookCount> v) {
    return ThemeRow{name, type, v, kNoRes};
}
constexpr ThemeRow Pic(const char* name, std::array<const char*, kLookCount> r) {
    return ThemeRow{name, TsuiType::Str, kNoValue, r};
}

#define SUI_PICS(sfx) {"MACOS_" sfx, "WINXP_" sfx, "DEEPBLUE_" sfx, "PROTEIN_" sfx, "BLUEGLASS_" sfx}

constexpr TsuiType I = TsuiType::Int;
constexpr TsuiType C = TsuiType::Color;
constexpr TsuiType B = TsuiType::Bool;

// Row 0 is unused so that a key indexes its row directly.
const ThemeRow kRows[SUI_THEME_KEY_COUNT + 1] = {
    Num("", I, kNoValue),
    Pic("ButtonImage", SUI_PICS("BUTTON")),
    Num("ButtonTransparentBool", B, {1, 0, 0, 0, 1}),
    Pic("CheckBoxImage", SUI_PICS("CHECKBOX")),
    Pic("RadioButtonImage", SUI_PICS("RADIOBUTTON")),
    Pic("TitleBarButtonImage", SUI_PICS("TITLEBTN")),
    Num("TitleBarButtonTransparentBool", B, {0, 0, 0, 1, 1}),
    Num("TitleBarButtonLeftOffsetInt", I, {3, 2, 0, 0, 4}),
    Num("TitleBarButtonRightOffsetInt", I, {-2, -2, 0, 0, -3}),
    Num("TitleBarButtonTopInt", I, {4, 5, 2, 2, 6}),
    Pic("TitleBarLeftImage", SUI_PICS("TITLE_LEFT")),
    Pic("TitleBarClientImage", SUI_PICS("TITLE_CLIENT")),
    Pic("TitleBarRightImage", SUI_PICS("TITLE_RIGHT")),
    Num("FormMinWidthInt", I, {130, 150, 130, 130, 270}),
    Num("FormRoundCornerInt", I, {0, 13, 0, 0, 11}),
    Num("FormBackgroundColor", C, {0xE7E7E7, 0xDEEBEF, 0xE8E8E8, 0xFBFBFB, 0xE7E7E7}),
    Num("FormBorderColor", C, {0x7F7F7F, 0xC82C00, 0x000000, 0x000000, 0x000000}),
    Num("FormBorderWidthInt", I, {1, 3, 1, 1, 1}),
    Num("MenuSelectedBorderColor", C, {0xC47339, 0xC66931, 0xA04A44, 0xC4302D, 0xEC5E5E}),
    Num("MenuSelectedBackgroundColor", C, {0xC47339, 0xEFD3C6, 0xA04A44, 0xC4302D, 0xEC5E5E}),
    Num("MenuSelectedFontColor", C, {0xFFFFFF, 0x000000, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF}),
    Num("MenuBackgroundColor", C, {0x000000, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xE7E7E7}),
    Num("MenuFontColor", C, {0x000000, 0x000000, 0x000000, 0x000000, 0x000000}),
    Num("MenuBarColor", C, {0x000000, 0xCED3D6, 0xCED3D6, 0xCED3D6, 0xCED3D6}),
    Pic("ProgressBarImage", SUI_PICS("PROGRESSBAR")),
    Num("ControlBorderColor", C, {0x7F7F7F, 0x686868, 0x000000, 0x000000, 0x000000}),
    Num("ControlBackgroundColor", C, {0xE7E7E7, 0xDEEBEF, 0xE8E8E8, 0xFBFBFB, 0xE7E7E7}),
    Num("ControlFontColor", C, {0x000000, 0xCF4602, 0x000000, 0x000000, 0x000000}),
    Pic("TrackBarBarImage", SUI_PICS("TRACKBAR_BAR")),
    Pic("TrackBarSliderImage", SUI_PICS("TRACKBAR_SLIDER")),
    Pic("TrackBarSliderVImage", SUI_PICS("TRACKBAR_SLIDER_V")),
    Num("ScrollBarBackgroundColor", C, {0xC9C9C9, 0xF9F9F9, 0xF5F5F5, 0xF5F5F5, 0xF4F4F4}),
    Pic("ScrollBarButtonImage", SUI_PICS("SCROLLBAR_BUTTON")),
    Pic("ScrollBarSliderImage", SUI_PICS("SCROLLBAR_TRACK")),
    Pic("CheckListBoxImage", SUI_PICS("CHECKLIST")),
    Num("ToolBarButtonBorderColor", C, {0x474747, 0xC66931, 0x474747, 0x474747, 0x474747}),
    Num("ToolBarButtonBackgroundColor", C, {0xEFEFEF, 0xEFD3C6, 0xEFEFEF, 0xEFEFEF, 0xEFEFEF}),
    Num("ToolBarButtonDownBackgroundColor", C, {0xD8D8D8, 0xE1AC93, 0xD8D8D8, 0xD8D8D8, 0xD8D8D8}),
    // Only two looks have their own scroll button; the other three share one picture.
    Pic("ScrollButtonImage",
        {"MACOS_SCROLLBUTTON", "WINXP_SCROLLBUTTON", "MORE_SCROLLBUTTON", "MORE_SCROLLBUTTON",
         "MORE_SCROLLBUTTON"}),
    Pic("TabControlTabImage", SUI_PICS("TAB")),
    Pic("TabControlBarImage", SUI_PICS("TAB_LINE")),
    Pic("SideChannelHandleImage", SUI_PICS("SIDECHENNEL_HANDLE")),
    Pic("SideChannelBarImage", SUI_PICS("SIDECHENNEL_BAR")),
};

#undef SUI_PICS

constexpr bool HasTable(TsuiUIStyle Look) { return Look >= MacOS && Look <= BlueGlass; }

const ThemeRow* RowOf(TsuiUIStyle Look, int Key) {
    if (!HasTable(Look) || !IsSUIThemeKey(Key)) return nullptr;
    return &kRows[Key];
}

}  // namespace

const char* const SUI_FILETHEME_ITEMNAME[SUI_THEME_KEY_COUNT + 1] = {
    "",
    "ButtonImage", "ButtonTransparentBool", "CheckBoxImage", "RadioButtonImage",
    "TitleBarButtonImage", "TitleBarButtonTransparentBool", "TitleBarButtonLeftOffsetInt",
    "TitleBarButtonRightOffsetInt", "TitleBarButtonTopInt", "TitleBarLeftImage",
    "TitleBarClientImage", "TitleBarRightImage", "FormMinWidthInt", "FormRoundCornerInt",
    "FormBackgroundColor", "FormBorderColor", "FormBorderWidthInt", "MenuSelectedBorderColor",
    "MenuSelectedBackgroundColor", "MenuSelectedFontColor", "MenuBackgroundColor",
    "MenuFontColor", "MenuBarColor", "ProgressBarImage", "ControlBorderColor",
    "ControlBackgroundColor", "ControlFontColor", "TrackBarBarImage", "TrackBarSliderImage",
    "TrackBarSliderVImage", "ScrollBarBackgroundColor", "ScrollBarButtonImage",
    "ScrollBarSliderImage", "CheckListBoxImage", "ToolBarButtonBorderColor",
    "ToolBarButtonBackgroundColor", "ToolBarButtonDownBackgroundColor", "ScrollButtonImage",
    "TabControlTabImage", "TabControlBarImage", "SideChannelHandleImage", "SideChannelBarImage",
};

const TsuiType SUI_ITEM_TYPE[SUI_THEME_KEY_COUNT + 1] = {
    I,
    TsuiType::Str, B, TsuiType::Str, TsuiType::Str, TsuiType::Str, B, I, I, I,
    TsuiType::Str, TsuiType::Str, TsuiType::Str, I, I, C, C, I, C, C, C, C, C, C,
    TsuiType::Str, C, C, C, TsuiType::Str, TsuiType::Str, TsuiType::Str, C,
    TsuiType::Str, TsuiType::Str, TsuiType::Str, C, C, C, TsuiType::Str, TsuiType::Str,
    TsuiType::Str, TsuiType::Str, TsuiType::Str,
};

String SUIThemeItemName(int Key) { return IsSUIThemeKey(Key) ? SUI_FILETHEME_ITEMNAME[Key] : ""; }

namespace SUIThemes {

Integer LookupInsideTheme(TsuiUIStyle Look, int Key, TsuiType& Type) {
    const ThemeRow* row = RowOf(Look, Key);
    if (row == nullptr) {
        Type = TsuiType::Int;
        return -1;
    }
    Type = row->type;
    return row->type == TsuiType::Str ? 0 : row->value[Look - MacOS];
}

String InsideThemeResourceName(TsuiUIStyle Look, int Key) {
    const ThemeRow* row = RowOf(Look, Key);
    if (row == nullptr || row->type != TsuiType::Str) return "";
    return row->res[Look - MacOS];
}

void LoadInsideThemeBitmap(TsuiUIStyle Look, int Key, TBitmap* Bitmap) {
    if (Bitmap == nullptr) return;
    const String name = InsideThemeResourceName(Look, Key);
    if (!name.empty()) Bitmap->LoadFromResourceName(HInstance, name);
}

}  // namespace SUIThemes

bool GetInsideThemeBool(TsuiUIStyle Look, int Key) {
    TsuiType type;
    const Integer v = SUIThemes::LookupInsideTheme(Look, Key, type);
    return type == TsuiType::Bool && v != 0;
}

TColor GetInsideThemeColor(TsuiUIStyle Look, int Key) {
    TsuiType type;
    const Integer v = SUIThemes::LookupInsideTheme(Look, Key, type);
    return type == TsuiType::Color ? v : 0;
}

int GetInsideThemeInt(TsuiUIStyle Look, int Key) {
    TsuiType type;
    const Integer v = SUIThemes::LookupInsideTheme(Look, Key, type);
    return type == TsuiType::Int ? v : -1;
}

void GetInsideThemeBitmap(TsuiUIStyle Look, int Key, TBitmap* Bitmap, int Count, int Frame) {
    if (Bitmap == nullptr) return;
    if (Count == 0) {
        SUIThemes::LoadInsideThemeBitmap(Look, Key, Bitmap);
        return;
    }
    TBitmap whole;
    SUIThemes::LoadInsideThemeBitmap(Look, Key, &whole);
    SpitBitmap(&whole, Bitmap, Count, Frame);
}

TsuiUIStyle GetSUIFormStyle(TComponent* AOwner) {
    auto* form = AOwner != nullptr ? AOwner->As<TCustomForm>() : nullptr;
    if (form == nullptr) return DeepBlue;
    for (int i = 0; i < form->ControlCount(); ++i) {
        TControl* c = form->Controls(i);
        if (!c->ClassNameIs("TsuiForm")) continue;
        if (auto* styled = dynamic_cast<IsuiStyled*>(c)) return styled->GetUIStyle();
    }
    return DeepBlue;
}

// ---- the resolution rule ------------------------------------------------------------------

TsuiThemeValues::TsuiThemeValues(TsuiFileTheme* FileTheme, TsuiUIStyle Look)
    : m_theme(FileTheme), m_effective(Look) {
    m_fromFile = UsingFileTheme(FileTheme, Look, m_effective);
}

TColor TsuiThemeValues::Color(int Key) const {
    return m_fromFile ? m_theme->GetColor(Key) : GetInsideThemeColor(m_effective, Key);
}

int TsuiThemeValues::Int(int Key) const {
    return m_fromFile ? m_theme->GetInt(Key) : GetInsideThemeInt(m_effective, Key);
}

bool TsuiThemeValues::Bool(int Key) const {
    return m_fromFile ? m_theme->GetBool(Key) : GetInsideThemeBool(m_effective, Key);
}

void TsuiThemeValues::Bitmap(int Key, TBitmap* Bitmap, int Count, int Frame) const {
    if (!m_fromFile) {
        GetInsideThemeBitmap(m_effective, Key, Bitmap, Count, Frame);
    } else if (Count == 0) {
        m_theme->GetBitmap(Key, Bitmap);
    } else {
        m_theme->GetBitmap(Key, Bitmap, Count, Frame);
    }
}

void TsuiStyleLink::StoreFileTheme(TsuiFileTheme* Value) {
    if (m_fileTheme == Value) return;
    if (m_fileTheme != nullptr && m_self != nullptr) {
        m_fileTheme->RemoveFreeNotification(m_self);
        m_self->RemoveFreeNotification(m_fileTheme);
    }
    m_fileTheme = Value;
    if (m_fileTheme != nullptr && m_self != nullptr) m_fileTheme->FreeNotification(m_self);
}

bool TsuiStyleLink::ThemeRemoved(TComponent* AComponent, TOperation Operation) {
    if (Operation != opRemove || AComponent == nullptr ||
        AComponent != static_cast<TComponent*>(m_fileTheme))
        return false;
    m_fileTheme = nullptr;
    return true;
}
