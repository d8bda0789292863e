#include "skin/controls/SUIControlLook.h"

#include "skin/core/Suipublic.h"

TsuiControlColors SUIControlColors(const TsuiThemeValues& Theme) {
    TsuiControlColors c;
    c.BorderColor = Theme.Color(SUI_THEME_CONTROL_BORDER_COLOR);
    c.ButtonColor = Theme.Color(SUI_THEME_FORM_BACKGROUND_COLOR);
    c.ArrowColor = clBlack;
    c.FixedColor = Theme.Color(SUI_THEME_MENU_SELECTED_BACKGROUND_COLOR);
    c.Color = Theme.Color(SUI_THEME_CONTROL_BACKGROUND_COLOR);
    c.FixedFontColor = Theme.Color(SUI_THEME_MENU_SELECTED_FONT_COLOR);
    // White text would vanish on the grid's light cells.
    TColor font = Theme.Color(SUI_THEME_MENU_FONT_COLOR);
    c.FontColor = font == clWhite ? clBlack : font;
    return c;
}

void SUIDrawBorderAfterPaint(TWinControl* Control, const TMessage& Message, TColor BorderColor, bool DrawInner) {
    if (Message.Msg != WM_PAINT && Message.Msg != WM_ERASEBKGND) return;
    if (Message.WParam == 0 || Control == nullptr) return;
    auto* canvas = reinterpret_cast<TCanvas*>(Message.WParam);
    DrawControlBorder(Control, canvas, BorderColor, Control->GetColor(), DrawInner);
}
