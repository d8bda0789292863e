// The skinned single-line edits: TsuiEdit, TsuiMaskEdit, TsuiNumberEdit, the arrow pair
// TsuiSpinButtons and TsuiSpinEdit (an integer edit with the pair inside its right edge). Each
// edit has the flat border of the look (SUIControlLook.h) painted in its two-pixel BorderWidth.
//
//   auto* Hours = new TsuiSpinEdit(Form);
//   Hours->SetParent(Form);
//   Hours->SetUIStyle(MacOS);                  // the look first, then colours
//   Hours->SetMinValue(0); Hours->SetMaxValue(23);
//   Hours->SetValue(5);                        // clamped; the text follows
#pragma once

#include "platform/vcl/Mask.h"
#include "platform/vcl/StdCtrls.h"
#include "skin/core/SUIButton.h"
#include "skin/core/SUIThemes.h"

class TsuiFileTheme;

class TsuiEdit : public TCustomEdit, public IsuiStyled {
    VCL_CLASS(TsuiEdit)
    explicit TsuiEdit(TComponent* AOwner);
    ~TsuiEdit() override;

    TsuiUIStyle GetUIStyle() const override { return m_style.GetUIStyle(); }
    void SetUIStyle(TsuiUIStyle Value) override;
    TsuiFileTheme* GetFileTheme() const override { return m_style.GetFileTheme(); }
    void SetFileTheme(TsuiFileTheme* Value) override;
    TColor GetBorderColor() const { return m_borderColor; }
    void SetBorderColor(TColor Value);

    void Dispatch(TMessage& Message) override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // Runs after every SetUIStyle, before the repaint.
    virtual void UIStyleChanged() {}

private:
    TsuiStyleLink m_style{this};
    TColor m_borderColor = clBlack;
};

class TsuiMaskEdit : public TCustomMaskEdit, public IsuiStyled {
    VCL_CLASS(TsuiMaskEdit)
    explicit TsuiMaskEdit(TComponent* AOwner);
    ~TsuiMaskEdit() override;

    TsuiUIStyle GetUIStyle() const override { return m_style.GetUIStyle(); }
    void SetUIStyle(TsuiUIStyle Value) override;
    TsuiFileTheme* GetFileTheme() const override { return m_style.GetFileTheme(); }
    void SetFileTheme(TsuiFileTheme* Value) override;
    TColor GetBorderColor() const { return m_borderColor; }
    void SetBorderColor(TColor Value);

    void Dispatch(TMessage& Message) override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TsuiStyleLink m_style{this};
    TColor m_borderColor = clBlack;
};

// Whether Key may be typed into a number edit holding Text with the caret at SelStart: digits
// always; the user locale's decimal separator once when Mask holds '.'; backspace; '-' once, at the start,
// when Mask holds '-'.
bool SUINumberEditAcceptsKey(char Key, const String& Mask, const String& Text, int SelStart);

// A right-aligned number edit. Value and Text stay in step: Value shows through the float
// picture Mask; typing a number stores it in Value (thousands separators ',' dropped); leaving
// reformats. A text that is no number (pasted letters) brings the last good Value back, while
// typing and on leaving. A text set from code runs Change (and OnChange) twice, as its VCL
// ancestor did.
class TsuiNumberEdit : public TsuiEdit {
    VCL_CLASS(TsuiNumberEdit)
    explicit TsuiNumberEdit(TComponent* AOwner);
    ~TsuiNumberEdit() override;

    const String& GetMask() const { return m_mask; }
    void SetMask(const String& Value) { m_mask = Value; }
    double GetValue() const { return m_value; }
    void SetValue(double Value);
    int GetAutoSelectSigns() const { return m_autoSelectSigns; }
    void SetAutoSelectSigns(int Value) { m_autoSelectSigns = Value; }

    void Click() override;
    void Dispatch(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Change() override;
    void DoEnter() override;
    void DoExit() override;
    void KeyPress(char& Key) override;

private:
    String m_mask = "0.00";
    double m_value = 0;
    int m_autoSelectSigns = 2;
};

// The up and down buttons of a spin edit, one above the other, overlapping by a pixel.
struct TsuiSpinButtonsLayout {
    int Width = 0;
    TRect Up;
    TRect Down;
};
// Width below 15 becomes 15; the up button takes Height div 2 + 1.
TsuiSpinButtonsLayout SUISpinButtonsLayout(int Width, int Height);

class TsuiSpinButtons : public TWinControl, public IsuiStyled {
    VCL_CLASS(TsuiSpinButtons)
    explicit TsuiSpinButtons(TComponent* AOwner);
    ~TsuiSpinButtons() override;

    TsuiArrowButton* UpButton() const { return m_up; }
    TsuiArrowButton* DownButton() const { return m_down; }

    // From the up button (DeepBlue and none without it).
    TsuiUIStyle GetUIStyle() const override;
    void SetUIStyle(TsuiUIStyle Value) override;
    TsuiFileTheme* GetFileTheme() const override;
    void SetFileTheme(TsuiFileTheme* Value) override;

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void Dispatch(TMessage& Message) override;

    TNotifyEvent OnUpClick;
    TNotifyEvent OnDownClick;

protected:
    void KeyDown(Word& Key, TShiftState Shift) override;
    void Loaded() override;
    // Lays the buttons out for Width x Height; Width comes back at least 15.
    void AdjustSize(int& Width, int& Height);

private:
    TsuiArrowButton* CreateButton(TsuiArrowButtonType Arrow);
    void BtnClick(TObject* Sender);
    void FitToButtons();

    TsuiArrowButton* m_up = nullptr;
    TsuiArrowButton* m_down = nullptr;
};

// The spin edit's value rules: CheckValue clamps to MinValue..MaxValue unless the two are
// equal; a text that is no integer reads MinValue.
int SUISpinCheckValue(Int64 Value, int MinValue, int MaxValue);
int SUISpinTextValue(const String& Text, int MinValue);
// Valid keys: '-', digits and control characters other than Enter; with the editor disabled
// only control characters other than backspace and Enter.
bool SUISpinIsValidChar(char Key, bool EditorEnabled);
// Where the buttons sit in an edit of Width x Height with BorderWidth (window coordinates):
// against the client's right edge, as tall as the edit less four pixels.
TRect SUISpinButtonsBounds(int Width, int Height, int BorderWidth, int ButtonWidth);

class TsuiSpinEdit : public TsuiEdit {
    VCL_CLASS(TsuiSpinEdit)
    explicit TsuiSpinEdit(TComponent* AOwner);
    ~TsuiSpinEdit() override;

    int GetMinValue() const { return m_minValue; }
    void SetMinValue(int v) { m_minValue = v; }
    int GetMaxValue() const { return m_maxValue; }
    void SetMaxValue(int v) { m_maxValue = v; }
    int GetIncrement() const { return m_increment; }
    void SetIncrement(int v) { m_increment = v; }
    bool GetEditorEnabled() const { return m_editorEnabled; }
    void SetEditorEnabled(bool v) { m_editorEnabled = v; }
    int GetValue() const;
    void SetValue(int v);
    TsuiSpinButtons* Button() const { return m_button; }

    int CheckValue(int NewValue) const { return SUISpinCheckValue(NewValue, m_minValue, m_maxValue); }
    virtual bool IsValidChar(char Key) const { return SUISpinIsValidChar(Key, m_editorEnabled); }
    virtual void UpClick(TObject* Sender);
    virtual void DownClick(TObject* Sender);

    void Dispatch(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void UIStyleChanged() override;
    // Keeps typed text clear of the buttons (the formatting rectangle).
    void SetEditRect();

private:
    void Step(Int64 Delta);

    int m_minValue = 0;
    int m_maxValue = 0;
    int m_increment = 1;
    bool m_editorEnabled = true;
    TsuiSpinButtons* m_button = nullptr;
};
