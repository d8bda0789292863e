// The skin library's check box and radio button (part of the SUIButton unit): a frame of the
// look's check-box or radio picture, with the caption to its right.
//
// SetChecked is what the program's windows call; it fires OnClick exactly as a user click does
// (once per change, never while the component is loading).
#pragma once

#include "platform/vcl/Controls.h"
#include "platform/vcl/StdCtrls.h"
#include "skin/core/SUIThemes.h"

class TsuiFileTheme;

// The frame (1-based, of four) for a state: checked 1, unchecked 2, checked and disabled 3,
// unchecked and disabled 4.
int SUICheckFrame(bool Checked, bool Enabled);

class TsuiCheckBox : public TCustomControl, public IsuiStyled {
    VCL_CLASS(TsuiCheckBox)
    explicit TsuiCheckBox(TComponent* AOwner);
    ~TsuiCheckBox() override;

    bool GetChecked() const { return m_checked; }
    // Nothing for the same value; otherwise stores, repaints and runs CheckStateChanged.
    void SetChecked(bool v);
    TCheckBoxState GetState() const { return m_checked ? cbChecked : cbUnchecked; }
    // Only cbChecked checks; cbGrayed is never kept.
    void SetState(TCheckBoxState v) { SetChecked(v == cbChecked); }
    bool GetTransparent() const { return m_transparent; }
    void SetTransparent(bool v);
    bool GetAutoSize() const { return m_autoSize; }
    void SetAutoSize(bool v);

    TsuiUIStyle GetUIStyle() const override { return m_style.GetUIStyle(); }
    void SetUIStyle(TsuiUIStyle v) override;
    TsuiFileTheme* GetFileTheme() const override { return m_style.GetFileTheme(); }
    void SetFileTheme(TsuiFileTheme* v) override;

    void SetEnabled(bool v) override;
    void Click() override;
    void Dispatch(TMessage& Message) override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

    virtual bool NeedDrawFocus();
    virtual bool GetPicTransparent() const { return false; }
    virtual int GetPicThemeIndex() const { return SUI_THEME_CHECKBOX_IMAGE; }
    virtual void CheckStateChanged();
    virtual void Toggle() {}
    virtual void DoClick();
    virtual bool WantKeyUp() const { return true; }
    // OnClick, unless the component is loading.
    void FireClick();

private:
    void DialogChar(TMessage& Message);

    bool m_checked = false;
    TsuiStyleLink m_style{this};
    bool m_transparent = false;
    bool m_autoSize = true;
};

// A check box that a click only ever checks; checking it unchecks the other radio buttons of
// the same parent and GroupIndex.
class TsuiRadioButton : public TsuiCheckBox {
    VCL_CLASS(TsuiRadioButton)
    explicit TsuiRadioButton(TComponent* AOwner);

    int GetGroupIndex() const { return m_groupIndex; }
    void SetGroupIndex(int v) { m_groupIndex = v; }

    void Dispatch(TMessage& Message) override;

protected:
    bool GetPicTransparent() const override { return true; }
    int GetPicThemeIndex() const override { return SUI_THEME_RADIOBUTTON_IMAGE; }
    void CheckStateChanged() override;
    void DoClick() override;
    bool WantKeyUp() const override { return false; }

private:
    void UnCheckGroup();
    int m_groupIndex = 0;
};
