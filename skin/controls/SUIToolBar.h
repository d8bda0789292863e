// The skinned tool bar: a flat tool bar whose hot, pressed and checked buttons are boxes in the
// look's tool-bar colours with centred pictures and captions and a drawn drop-down arrow; in the
// MacOS and Protein looks the bar is see-through.
//
//   auto* Bar = new TsuiToolBar(Form);
//   Bar->SetParent(Form);
//   Bar->SetShowCaptions(true);
//   (new TToolButton(Bar))->SetParent(Bar);
#pragma once

#include "platform/vcl/ToolWin.h"
#include "skin/core/SUIThemes.h"

// Where a drawn button's caption starts: centred by the width of the caption without its '&'.
int SUIToolButtonCaptionLeft(int Left, int ButtonWidth, int TextWidth);

class TsuiToolBar : public TToolBar, public IsuiStyled {
    VCL_CLASS(TsuiToolBar)
    explicit TsuiToolBar(TComponent* AOwner);

    TsuiUIStyle GetUIStyle() const override { return m_style.GetUIStyle(); }
    void SetUIStyle(TsuiUIStyle Value) override;
    TsuiFileTheme* GetFileTheme() const override { return m_style.GetFileTheme(); }
    void SetFileTheme(TsuiFileTheme* Value) override;

    TColor GetButtonColor() const { return m_buttonColor; }
    void SetButtonColor(TColor v);
    TColor GetButtonBorderColor() const { return m_buttonBorderColor; }
    void SetButtonBorderColor(TColor v);
    TColor GetButtonDownColor() const { return m_buttonDownColor; }
    void SetButtonDownColor(TColor v);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void DrawBar(bool& DefaultDraw);
    void DrawButton(TToolButton* Button, TCustomDrawState State, bool& DefaultDraw);
    void DrawBox(TToolButton* Button, bool Pressed);

    TsuiStyleLink m_style{this};
    TColor m_buttonColor = 0;
    TColor m_buttonBorderColor = 0;
    TColor m_buttonDownColor = 0;
};
