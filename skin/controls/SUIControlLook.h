// What every skinned standard control (edits, memo, combo boxes, list boxes, grids) shares
// besides its external scroll bars (SUIScrollHost.h): the colours its SetUIStyle reads from the
// look, and the flat one-pixel border painted after each paint.
//
//   class TsuiEdit : public TCustomEdit, public IsuiStyled {
//       TsuiStyleLink m_style{this};
//       TColor m_borderColor;
//   };
//   TsuiEdit::TsuiEdit(TComponent* AOwner) : TCustomEdit(AOwner) {
//       ControlStyle().Include(csOpaque);
//       SetBorderStyle(bsNone);
//       SetBorderWidth(2);                              // the border is painted there
//       SetUIStyle(GetSUIFormStyle(AOwner));            // always the last step
//   }
//   void TsuiEdit::SetUIStyle(TsuiUIStyle Value) {
//       m_style.StoreUIStyle(Value);
//       TsuiControlColors colors = SUIControlColors(m_style.Values());
//       m_borderColor = colors.BorderColor;             // only the fields of the family's row
//       Invalidate();
//   }
//   void TsuiEdit::SetFileTheme(TsuiFileTheme* Value) { m_style.StoreFileTheme(Value); SetUIStyle(GetUIStyle()); }
//   void TsuiEdit::Notification(TComponent* C, TOperation Op) {
//       TCustomEdit::Notification(C, Op);
//       if (m_style.ThemeRemoved(C, Op)) SetUIStyle(DeepBlue);
//   }
//   void TsuiEdit::Dispatch(TMessage& Message) {
//       TCustomEdit::Dispatch(Message);                 // the inherited handling first
//       SUIDrawBorderAfterPaint(this, Message, m_borderColor, true);
//   }
//
// Which colours each family reads (the key table of SetUIStyle):
//   edits, masked, number and spin edits, memo, list boxes, data image: BorderColor
//   combo boxes (all kinds):  BorderColor, ButtonColor, ArrowColor
//   grids (draw, string, data): BorderColor, FixedColor, Color, FixedFontColor, FontColor
#pragma once

#include "platform/vcl/Controls.h"
#include "platform/vcl/Graphics.h"
#include "skin/core/SUIThemes.h"

struct TsuiControlColors {
    TColor BorderColor = clBlack;     // key 25 ControlBorderColor
    TColor ButtonColor = clBlack;     // key 15 FormBackgroundColor
    TColor ArrowColor = clBlack;      // always black, no key
    TColor FixedColor = clBlack;      // key 19 MenuSelectedBackgroundColor
    TColor Color = clBlack;           // key 26 ControlBackgroundColor
    TColor FixedFontColor = clBlack;  // key 20 MenuSelectedFontColor
    TColor FontColor = clBlack;       // key 22 MenuFontColor, white turned black
};

// The colours of the look (the file theme's, or the effective built-in look's).
TsuiControlColors SUIControlColors(const TsuiThemeValues& Theme);

// To be called after the inherited handling of every message: after WM_PAINT and
// WM_ERASEBKGND (whose WParam is the canvas) it draws the flat border, BorderColor around the
// whole window and, with DrawInner, the control's Color just inside it; other messages pass.
void SUIDrawBorderAfterPaint(TWinControl* Control, const TMessage& Message, TColor BorderColor, bool DrawInner);
