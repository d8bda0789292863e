// The theme vocabulary every skinned control shares: the looks, the 42 theme keys with their
// types, the five built-in look tables and their lookups, and the style pair (UIStyle,
// FileTheme) with the one resolution rule every control's SetUIStyle follows.
//
//   TsuiStyleLink m_style{this};                        // in a skinned control
//   void SetUIStyle(TsuiUIStyle v) {
//       m_style.StoreUIStyle(v);
//       TsuiThemeValues Theme = m_style.Values();       // file theme or built-in look
//       SetColor(Theme.Color(SUI_THEME_CONTROL_BACKGROUND_COLOR));
//       Invalidate();
//   }
//   void SetFileTheme(TsuiFileTheme* t) { m_style.StoreFileTheme(t); SetUIStyle(GetUIStyle()); }
//   void Notification(TComponent* c, TOperation op) override {
//       Base::Notification(c, op);
//       if (m_style.ThemeRemoved(c, op)) SetUIStyle(DeepBlue);
//   }
#pragma once

#include "platform/vcl/Component.h"
#include "platform/vcl/Graphics.h"

class TsuiFileTheme;

// The look of a control; FromThemeFile takes every value from the control's file theme.
enum TsuiUIStyle : Byte { FromThemeFile = 0, MacOS = 1, WinXP = 2, DeepBlue = 3, Protein = 4, BlueGlass = 5 };

// The type of a theme key. A Str key holds a picture: a resource name in the built-in tables,
// an embedded bitmap file in a theme file.
enum class TsuiType : Byte { Int = 0, Color = 1, Str = 2, Bool = 3 };

constexpr int SUI_THEME_KEY_COUNT = 42;

// Key indices, 1 to 42.
constexpr int SUI_THEME_BUTTON_IMAGE = 1;
constexpr int SUI_THEME_BUTTON_TRANSPARENT_BOOL = 2;
constexpr int SUI_THEME_CHECKBOX_IMAGE = 3;
constexpr int SUI_THEME_RADIOBUTTON_IMAGE = 4;
constexpr int SUI_THEME_TITLEBAR_BUTTON_IMAGE = 5;
constexpr int SUI_THEME_TITLEBAR_BUTTON_TRANSPARENT_BOOL = 6;
constexpr int SUI_THEME_TITLEBAR_BUTTON_LEFTOFFSET_INT = 7;
constexpr int SUI_THEME_TITLEBAR_BUTTON_RIGHTOFFSET_INT = 8;
constexpr int SUI_THEME_TITLEBAR_BUTTON_TOP_INT = 9;
constexpr int SUI_THEME_TITLEBAR_LEFT_IMAGE = 10;
constexpr int SUI_THEME_TITLEBAR_CLIENT_IMAGE = 11;
constexpr int SUI_THEME_TITLEBAR_RIGHT_IMAGE = 12;
constexpr int SUI_THEME_FORM_MINWIDTH_INT = 13;
constexpr int SUI_THEME_FORM_ROUNDCORNER_INT = 14;
constexpr int SUI_THEME_FORM_BACKGROUND_COLOR = 15;
constexpr int SUI_THEME_FORM_BORDER_COLOR = 16;
constexpr int SUI_THEME_FORM_BORDERWIDTH_INT = 17;
constexpr int SUI_THEME_MENU_SELECTED_BORDER_COLOR = 18;
constexpr int SUI_THEME_MENU_SELECTED_BACKGROUND_COLOR = 19;
constexpr int SUI_THEME_MENU_SELECTED_FONT_COLOR = 20;
constexpr int SUI_THEME_MENU_BACKGROUND_COLOR = 21;
constexpr int SUI_THEME_MENU_FONT_COLOR = 22;
constexpr int SUI_THEME_MENU_BAR_COLOR = 23;
constexpr int SUI_THEME_PROGRESSBAR_IMAGE = 24;
constexpr int SUI_THEME_CONTROL_BORDER_COLOR = 25;
constexpr int SUI_THEME_CONTROL_BACKGROUND_COLOR = 26;
constexpr int SUI_THEME_CONTROL_FONT_COLOR = 27;
constexpr int SUI_THEME_TRACKBAR_BAR_IMAGE = 28;
constexpr int SUI_THEME_TRACKBAR_SLIDER_IMAGE = 29;
constexpr int SUI_THEME_TRACKBAR_SLIDER_V_IMAGE = 30;
constexpr int SUI_THEME_SCROLLBAR_BACKGROUND_COLOR = 31;
constexpr int SUI_THEME_SCROLLBAR_BUTTON_IMAGE = 32;
constexpr int SUI_THEME_SCROLLBAR_SLIDER_IMAGE = 33;
constexpr int SUI_THEME_CHECKLISTBOX_IMAGE = 34;
constexpr int SUI_THEME_TOOLBAR_BUTTON_BORDER_COLOR = 35;
constexpr int SUI_THEME_TOOLBAR_BUTTON_BACKGROUND_COLOR = 36;
constexpr int SUI_THEME_TOOLBAR_BUTTON_DOWN_BACKGROUND_COLOR = 37;
constexpr int SUI_THEME_SCROLLBUTTON_IMAGE = 38;
constexpr int SUI_THEME_TABCONTROL_TAB_IMAGE = 39;
constexpr int SUI_THEME_TABCONTROL_BAR_IMAGE = 40;
constexpr int SUI_THEME_SIDECHANNEL_HANDLE_IMAGE = 41;
constexpr int SUI_THEME_SIDECHANNEL_BAR_IMAGE = 42;

// Item names (also the entry names of theme files) and types, indexed 1 to 42; index 0 is
// unused (an empty name, type Int).
extern const char* const SUI_FILETHEME_ITEMNAME[SUI_THEME_KEY_COUNT + 1];
extern const TsuiType SUI_ITEM_TYPE[SUI_THEME_KEY_COUNT + 1];

// The item name of a key; "" outside 1..42.
String SUIThemeItemName(int Key);
// True for a key from 1 to 42.
constexpr bool IsSUIThemeKey(int Key) { return Key >= 1 && Key <= SUI_THEME_KEY_COUNT; }

namespace SUIThemes {
// The built-in entry of a look: a signed integer, a TColor or 0/1; a Str entry answers 0 and
// its resource name comes from InsideThemeResourceName. FromThemeFile, a look above 5 and a
// key outside 1..42 answer -1 with type Int.
Integer LookupInsideTheme(TsuiUIStyle Look, int Key, TsuiType& Type);
// The resource name of a Str entry; "" for any other entry.
String InsideThemeResourceName(TsuiUIStyle Look, int Key);
// Loads the whole resource picture of a Str entry into Bitmap; nothing for null or another type.
void LoadInsideThemeBitmap(TsuiUIStyle Look, int Key, TBitmap* Bitmap);
}  // namespace SUIThemes

// The built-in lookups; a key of another type answers false, 0 and -1.
bool GetInsideThemeBool(TsuiUIStyle Look, int Key);
TColor GetInsideThemeColor(TsuiUIStyle Look, int Key);
int GetInsideThemeInt(TsuiUIStyle Look, int Key);
// Count 0: the whole picture (a bitmap of a non-picture key keeps what it held). Count n > 0:
// only frame Frame (1-based) of n equal-width frames (empty when the key is no picture).
void GetInsideThemeBitmap(TsuiUIStyle Look, int Key, TBitmap* Bitmap, int Count = 0, int Frame = 0);

// The initial look of a new skinned control: the UIStyle of the first TsuiForm among the owner
// form's direct child controls, DeepBlue otherwise.
TsuiUIStyle GetSUIFormStyle(TComponent* AOwner);

// What every skinned control publishes. Setting a control's properties "by name" (the theme
// manager, a file theme re-applying itself) goes through this interface.
class IsuiStyled {
public:
    virtual ~IsuiStyled() = default;
    virtual TsuiUIStyle GetUIStyle() const = 0;
    virtual void SetUIStyle(TsuiUIStyle Value) = 0;
    virtual TsuiFileTheme* GetFileTheme() const = 0;
    virtual void SetFileTheme(TsuiFileTheme* Value) = 0;
};

// The values a control reads after the resolution rule: from the file theme when the look is
// FromThemeFile and the theme is usable, else from the effective built-in look.
class TsuiThemeValues {
public:
    TsuiThemeValues(TsuiFileTheme* FileTheme, TsuiUIStyle Look);
    bool FromFile() const { return m_fromFile; }
    // The built-in look used when not FromFile (DeepBlue for an unusable FromThemeFile).
    TsuiUIStyle Effective() const { return m_effective; }
    TColor Color(int Key) const;
    int Int(int Key) const;
    bool Bool(int Key) const;
    // Count 0: the whole picture; otherwise frame Frame of Count.
    void Bitmap(int Key, TBitmap* Bitmap, int Count = 0, int Frame = 0) const;

private:
    TsuiFileTheme* m_theme;
    TsuiUIStyle m_effective;
    bool m_fromFile;
};

// The style pair of one skinned control, with the free-notification bookkeeping of its file
// theme reference.
class TsuiStyleLink {
public:
    explicit TsuiStyleLink(TComponent* Self) : m_self(Self) {}
    TsuiStyleLink(const TsuiStyleLink&) = delete;
    TsuiStyleLink& operator=(const TsuiStyleLink&) = delete;

    TsuiUIStyle GetUIStyle() const { return m_uiStyle; }
    void StoreUIStyle(TsuiUIStyle Value) { m_uiStyle = Value; }
    TsuiFileTheme* GetFileTheme() const { return m_fileTheme; }
    // Stores the reference and asks to be told when the theme goes away.
    void StoreFileTheme(TsuiFileTheme* Value);
    // True when Operation removes the referenced theme; the reference is then cleared and the
    // control should SetUIStyle(DeepBlue).
    bool ThemeRemoved(TComponent* AComponent, TOperation Operation);
    TsuiThemeValues Values() const { return TsuiThemeValues(m_fileTheme, m_uiStyle); }

private:
    TComponent* m_self;
    TsuiUIStyle m_uiStyle = DeepBlue;
    TsuiFileTheme* m_fileTheme = nullptr;
};
