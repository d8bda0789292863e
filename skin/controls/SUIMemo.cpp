#include "skin/controls/SUIMemo.h"

#include "skin/controls/SUIControlLook.h"

TsuiMemo::TsuiMemo(TComponent* AOwner) : TCustomMemo(AOwner) {
    // The memo's own bars exist exactly where an external bar mirrors them.
    m_bars.OnInnerScrollBars = [this](bool Vertical, bool Horizontal) {
        SetScrollBars(Vertical && Horizontal ? ssBoth : Vertical ? ssVertical : Horizontal ? ssHorizontal : ssNone);
    };
    ControlStyle() << csOpaque;
    SetBorderStyle(bsNone);
    SetBorderWidth(2);
    SetUIStyle(GetSUIFormStyle(AOwner));
}

TsuiMemo::~TsuiMemo() { Destroying(); }

void TsuiMemo::SetUIStyle(TsuiUIStyle Value) {
    m_style.StoreUIStyle(Value);
    m_borderColor = SUIControlColors(m_style.Values()).BorderColor;
    m_bars.SetBarsUIStyle(m_style.Values().Effective());
    Invalidate();
}

void TsuiMemo::SetFileTheme(TsuiFileTheme* Value) {
    m_style.StoreFileTheme(Value);
    m_bars.SetBarsFileTheme(Value);
    SetUIStyle(m_style.GetUIStyle());
}

void TsuiMemo::SetBorderColor(TColor Value) {
    m_borderColor = Value;
    Invalidate();
}

void TsuiMemo::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomMemo::Notification(AComponent, Operation);
    m_bars.Notification(AComponent, Operation);
    if (m_style.ThemeRemoved(AComponent, Operation)) SetUIStyle(DeepBlue);
}

void TsuiMemo::Dispatch(TMessage& Message) {
    TCustomMemo::Dispatch(Message);
    SUIDrawBorderAfterPaint(this, Message, m_borderColor, true);
    m_bars.AfterMessage(Message);
}
