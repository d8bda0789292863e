// The skinned combo boxes: a flat frame, a themed drop-down button and a small arrow drawn over
// the standard combo box after each paint, on the plain, drive and file-filter combo boxes.
//
//   auto* Combo = new TsuiComboBox(Form);
//   Combo->SetParent(Form);
//   Combo->SetStyle(csDropDownList);
//   Combo->SetButtonColor(0xE8E8E8);      // stored colours come after the look
//   Combo->OnChange = ...;
#pragma once

#include <type_traits>

#include "platform/vcl/FileCtrl.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/StdCtrls.h"
#include "skin/core/SUIThemes.h"
#include "skin/core/Suipublic.h"

class TsuiFileTheme;

// Where DrawArrow puts the arrow for a button rectangle R: x centred less 3, y half the button's
// height measured from the control's top (R.Top is not added).
TPoint SUIComboArrowOrigin(const TRect& R);
// The drop-down arrow with its top-left at (X, Y); a disabled one is grey with a white shadow.
void SUIDrawComboArrow(TCanvas* Canvas, int X, int Y, bool Enabled, TColor ArrowColor);

// The skin of one combo box, on any of the class library's combo boxes.
template <class Base>
class TsuiComboSkin : public Base, public IsuiStyled, public IsuiComboBoxInfoSource {
public:
    explicit TsuiComboSkin(TComponent* AOwner) : Base(AOwner) {
        this->ControlStyle().Include(csOpaque);
        this->SetBorderWidth(0);
    }
    ~TsuiComboSkin() override;

    TColor GetBorderColor() const { return m_borderColor; }
    void SetBorderColor(TColor Value) { m_borderColor = Value; this->Invalidate(); }
    TColor GetButtonColor() const { return m_buttonColor; }
    void SetButtonColor(TColor Value) { m_buttonColor = Value; this->Invalidate(); }
    TColor GetArrowColor() const { return m_arrowColor; }
    void SetArrowColor(TColor Value) { m_arrowColor = Value; this->Invalidate(); }

    TsuiUIStyle GetUIStyle() const override { return m_style.GetUIStyle(); }
    // The colours of keys 25 and 15, a black arrow, and the look's button picture.
    void SetUIStyle(TsuiUIStyle Value) override;
    TsuiFileTheme* GetFileTheme() const override { return m_style.GetFileTheme(); }
    void SetFileTheme(TsuiFileTheme* Value) override {
        m_style.StoreFileTheme(Value);
        SetUIStyle(GetUIStyle());
    }
    void SetEnabled(bool Value) override {
        Base::SetEnabled(Value);
        this->Invalidate();  // the arrow follows the enabled state
    }

    // Frame, button and arrow over the painted combo (Canvas: the surface it was painted on).
    void DrawButton(TCanvas* Canvas);
    void DrawArrow(TCanvas* Canvas, int X, int Y);
    // The picture the button shows in this look (empty: the drawn face).
    TBitmap* ButtonPicture() const { return m_buttonPicture; }

    bool GetSystemComboBoxInfo(COMBOBOXINFO& Info) override;
    void Dispatch(TMessage& Message) override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override {
        Base::Notification(AComponent, Operation);
        if (m_style.ThemeRemoved(AComponent, Operation)) SetUIStyle(DeepBlue);
    }
    // The inherited close-up (OnCloseUp), then the parent repaints. The drive and filter combos
    // only repaint the parent: their close-up fires no OnCloseUp.
    void CloseUp() override {
        if constexpr (std::is_same_v<Base, TCustomComboBox>) Base::CloseUp();
        if (this->GetParent() != nullptr) this->GetParent()->Invalidate();
    }
    // A plain combo box in csSimple style keeps its standard look.
    virtual bool DrawsSkin() const { return true; }

private:
    void LoadButtonPicture();

    TColor m_borderColor = clBlack;
    TColor m_buttonColor = clBtnFace;
    TColor m_arrowColor = clBlack;
    TBitmap* m_buttonPicture = nullptr;
    TsuiStyleLink m_style{this};
};

// The design the font, font-size, colour and data-aware combos build on.
class TsuiCustomComboBox : public TsuiComboSkin<TCustomComboBox> {
    VCL_CLASS(TsuiCustomComboBox)
    explicit TsuiCustomComboBox(TComponent* AOwner);

protected:
    bool DrawsSkin() const override { return GetStyle() != csSimple; }
};

class TsuiComboBox : public TsuiCustomComboBox {
    VCL_CLASS(TsuiComboBox)
    using TsuiCustomComboBox::TsuiCustomComboBox;
};

class TsuiDriveComboBox : public TsuiComboSkin<TDriveComboBox> {
    VCL_CLASS(TsuiDriveComboBox)
    explicit TsuiDriveComboBox(TComponent* AOwner);
};

class TsuiFilterComboBox : public TsuiComboSkin<TFilterComboBox> {
    VCL_CLASS(TsuiFilterComboBox)
    explicit TsuiFilterComboBox(TComponent* AOwner);
};

extern template class TsuiComboSkin<TCustomComboBox>;
extern template class TsuiComboSkin<TDriveComboBox>;
extern template class TsuiComboSkin<TFilterComboBox>;
