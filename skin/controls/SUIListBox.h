// The skinned list boxes: an owner-drawn list box with selection and disabled colours, text
// alignment and an optional focus rectangle, and the folder and file lists with the flat border;
// all can host an external vertical bar (SUIScrollHost.h).
//
//   auto* Times = new TsuiListBox(Form);
//   Times->SetParent(Form);
//   Times->SetItemHeight(16);
//   Times->SetUIStyle(WinXP);
//   Times->SetBorderColor(0x686868);
//   Times->GetItems()->Add("00:01:30");
#pragma once

#include "platform/vcl/FileCtrl.h"
#include "platform/vcl/StdCtrls.h"
#include "skin/controls/SUIScrollHost.h"
#include "skin/core/SUIThemes.h"

// The style pair, the key-25 border and the vertical bar of one list box.
template <class Base>
class TsuiListSkin : public Base, public IsuiStyled, public IsuiScrollBarInfoSource {
public:
    explicit TsuiListSkin(TComponent* AOwner) : Base(AOwner) {
        this->ControlStyle().Include(csOpaque);
        this->SetBorderStyle(bsNone);
        this->SetBorderWidth(2);
    }

    TColor GetBorderColor() const { return m_borderColor; }
    void SetBorderColor(TColor Value) { m_borderColor = Value; this->Invalidate(); }
    TsuiScrollBar* GetVScrollBar() const { return m_bars.GetVScrollBar(); }
    void SetVScrollBar(TsuiScrollBar* Value) { m_bars.SetVScrollBar(Value); }

    TsuiUIStyle GetUIStyle() const override { return m_style.GetUIStyle(); }
    void SetUIStyle(TsuiUIStyle Value) override;
    TsuiFileTheme* GetFileTheme() const override { return m_style.GetFileTheme(); }
    void SetFileTheme(TsuiFileTheme* Value) override {
        m_style.StoreFileTheme(Value);
        m_bars.SetBarsFileTheme(Value);
        SetUIStyle(GetUIStyle());
    }
    bool GetSystemScrollBarInfo(LONG ObjectId, SCROLLBARINFO& Info) override {
        return m_bars.SystemScrollBarInfo(ObjectId, Info);
    }
    TsuiScrollHost& Bars() { return m_bars; }
    void Dispatch(TMessage& Message) override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override {
        Base::Notification(AComponent, Operation);
        m_bars.Notification(AComponent, Operation);
        if (m_style.ThemeRemoved(AComponent, Operation)) SetUIStyle(DeepBlue);
    }

private:
    TColor m_borderColor = clBlack;
    TsuiStyleLink m_style{this};
    TsuiScrollHost m_bars{this, TsuiScrollHostKind::ListBox};
};

class TsuiListBox : public TsuiListSkin<TCustomListBox> {
    VCL_CLASS(TsuiListBox)
    explicit TsuiListBox(TComponent* AOwner);

    bool GetShowFocusRect() const { return m_showFocusRect; }
    void SetShowFocusRect(bool Value);
    TAlignment GetAlignment() const { return m_alignment; }
    void SetAlignment(TAlignment Value);
    TColor GetSelectedColor() const { return m_selectedColor; }
    void SetSelectedColor(TColor Value);
    TColor GetSelectedTextColor() const { return m_selectedTextColor; }
    void SetSelectedTextColor(TColor Value);
    TColor GetDisabledTextColor() const { return m_disabledTextColor; }
    void SetDisabledTextColor(TColor Value);

    // Height of Text wrapped into Width (its width when Width is 0), at most 255.
    int MeasureString(const String& Text, int Width);
    void Dispatch(TMessage& Message) override;

protected:
    virtual void DefaultDrawItem(int Index, const TRect& Rect, TOwnerDrawState State);
    void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override;
    void MeasureItem(int Index, int& Height) override;

private:
    void CNDrawItem(TMessage& Message);
    UINT AlignmentFlag() const;

    bool m_showFocusRect = true;
    TAlignment m_alignment = taLeftJustify;
    TColor m_selectedTextColor;
    TColor m_selectedColor;
    TColor m_disabledTextColor;
};

class TsuiDirectoryListBox : public TsuiListSkin<TDirectoryListBox> {
    VCL_CLASS(TsuiDirectoryListBox)
    explicit TsuiDirectoryListBox(TComponent* AOwner);
};

class TsuiFileListBox : public TsuiListSkin<TFileListBox> {
    VCL_CLASS(TsuiFileListBox)
    explicit TsuiFileListBox(TComponent* AOwner);
};

extern template class TsuiListSkin<TCustomListBox>;
extern template class TsuiListSkin<TDirectoryListBox>;
extern template class TsuiListSkin<TFileListBox>;
