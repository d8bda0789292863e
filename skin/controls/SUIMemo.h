// The skinned memo: the flat border of the look in its two-pixel BorderWidth, and optional
// external skinned scroll bars laid over its own (SUIScrollHost.h).
//
//   auto* Log = new TsuiMemo(Form);
//   Log->SetParent(Form);
//   Log->SetUIStyle(MacOS);
//   Log->SetReadOnly(true);
//   Log->SetScrollBars(ssVertical);
//   Log->GetLines()->Add("Converting clip 1 >>>");   // shows the new last line
#pragma once

#include "platform/vcl/StdCtrls.h"
#include "skin/controls/SUIScrollHost.h"
#include "skin/core/SUIThemes.h"
#include "skin/core/Suipublic.h"

class TsuiFileTheme;

// The style pair, the look's flat border in the two-pixel BorderWidth and the external bars of
// a memo; the plain and the data-aware memo share it.
template <class Base, TsuiScrollHostKind Kind>
class TsuiMemoSkin : public Base, public IsuiStyled, public IsuiScrollBarInfoSource {
public:
    explicit TsuiMemoSkin(TComponent* AOwner);
    ~TsuiMemoSkin() override;

    TsuiUIStyle GetUIStyle() const override { return m_style.GetUIStyle(); }
    void SetUIStyle(TsuiUIStyle Value) override;
    TsuiFileTheme* GetFileTheme() const override { return m_style.GetFileTheme(); }
    void SetFileTheme(TsuiFileTheme* Value) override;
    TColor GetBorderColor() const { return m_borderColor; }
    void SetBorderColor(TColor Value);

    TsuiScrollBar* GetVScrollBar() const { return m_bars.GetVScrollBar(); }
    void SetVScrollBar(TsuiScrollBar* Value) { m_bars.SetVScrollBar(Value); }
    TsuiScrollBar* GetHScrollBar() const { return m_bars.GetHScrollBar(); }
    void SetHScrollBar(TsuiScrollBar* Value) { m_bars.SetHScrollBar(Value); }
    const TsuiScrollHost& ScrollHost() const { return m_bars; }

    bool GetSystemScrollBarInfo(LONG ObjectId, SCROLLBARINFO& Info) override {
        return m_bars.SystemScrollBarInfo(ObjectId, Info);
    }

    void Dispatch(TMessage& Message) override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TsuiStyleLink m_style{this};
    TColor m_borderColor = clBlack;
    TsuiScrollHost m_bars{this, Kind};
};

class TsuiMemo : public TsuiMemoSkin<TCustomMemo, TsuiScrollHostKind::Memo> {
    VCL_CLASS(TsuiMemo)
    using TsuiMemoSkin::TsuiMemoSkin;
};

extern template class TsuiMemoSkin<TCustomMemo, TsuiScrollHostKind::Memo>;
