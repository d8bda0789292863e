#include "skin/controls/SUIMemo.h"

#include "platform/db/DBCtrls.h"
#include "skin/controls/SUIControlLook.h"

template <class Base, TsuiScrollHostKind Kind>
TsuiMemoSkin<Base, Kind>::TsuiMemoSkin(TComponent* AOwner) : Base(AOwner) {
    // The memo's own bars exist exactly where an external bar mirrors them.
    m_bars.OnInnerScrollBars = [this](bool Vertical, bool Horizontal) {
        this->SetScrollBars(Vertical && Horizontal ? ssBoth : Vertical ? ssVertical : Horizontal ? ssHorizontal : ssNone);
    };
    this->ControlStyle() << csOpaque;
    this->SetBorderStyle(bsNone);
    this->SetBorderWidth(2);
    SetUIStyle(GetSUIFormStyle(AOwner));
}

template <class Base, TsuiScrollHostKind Kind>
TsuiMemoSkin<Base, Kind>::~TsuiMemoSkin() {
    this->Destroying();
}

template <class Base, TsuiScrollHostKind Kind>
void TsuiMemoSkin<Base, Kind>::SetUIStyle(TsuiUIStyle Value) {
    m_style.StoreUIStyle(Value);
    m_borderColor = SUIControlColors(m_style.Values()).BorderColor;
    m_bars.SetBarsUIStyle(m_style.Values().Effective());
    this->Invalidate();
}

template <class Base, TsuiScrollHostKind Kind>
void TsuiMemoSkin<Base, Kind>::SetFileTheme(TsuiFileTheme* Value) {
    m_style.StoreFileTheme(Value);
    m_bars.SetBarsFileTheme(Value);
    SetUIStyle(m_style.GetUIStyle());
}

template <class Base, TsuiScrollHostKind Kind>
void TsuiMemoSkin<Base, Kind>::SetBorderColor(TColor Value) {
    m_borderColor = Value;
    this->Invalidate();
}

template <class Base, TsuiScrollHostKind Kind>
void TsuiMemoSkin<Base, Kind>::Notification(TComponent* AComponent, TOperation Operation) {
    Base::Notification(AComponent, Operation);
    m_bars.Notification(AComponent, Operation);
    if (m_style.ThemeRemoved(AComponent, Operation)) SetUIStyle(DeepBlue);
}

template <class Base, TsuiScrollHostKind Kind>
void TsuiMemoSkin<Base, Kind>::Dispatch(TMessage& Message) {
    Base::Dispatch(Message);
    SUIDrawBorderAfterPaint(this, Message, m_borderColor, true);
    m_bars.AfterMessage(Message);
}

template class TsuiMemoSkin<TCustomMemo, TsuiScrollHostKind::Memo>;
template class TsuiMemoSkin<TDBMemo, TsuiScrollHostKind::DBMemo>;
