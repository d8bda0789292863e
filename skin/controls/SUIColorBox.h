// The skinned colour chooser: named colours, each with a swatch, optionally led by a
// "Custom..." item that asks the colour dialog.
//
//   auto* Colors = new TsuiColorBox(Form);
//   Colors->SetParent(Form);
//   Colors->SetStyle(TColorBoxStyles{cbStandardColors, cbCustomColor, cbPrettyNames});
//   Colors->SetSelected(OldColour);      // a colour not listed becomes the custom item's
//   ... Colors->GetSelected() ...        // 0xFF000000 when nothing is chosen
#pragma once

#include "skin/controls/SUIComboBox.h"

enum class TColorBoxStyleE { cbStandardColors, cbExtendedColors, cbSystemColors, cbIncludeNone, cbIncludeDefault,
                             cbCustomColor, cbPrettyNames };
using TColorBoxStyles = Set<TColorBoxStyleE>;
constexpr TColorBoxStyleE cbStandardColors = TColorBoxStyleE::cbStandardColors;
constexpr TColorBoxStyleE cbExtendedColors = TColorBoxStyleE::cbExtendedColors;
constexpr TColorBoxStyleE cbSystemColors = TColorBoxStyleE::cbSystemColors;
constexpr TColorBoxStyleE cbIncludeNone = TColorBoxStyleE::cbIncludeNone;
constexpr TColorBoxStyleE cbIncludeDefault = TColorBoxStyleE::cbIncludeDefault;
constexpr TColorBoxStyleE cbCustomColor = TColorBoxStyleE::cbCustomColor;
constexpr TColorBoxStyleE cbPrettyNames = TColorBoxStyleE::cbPrettyNames;

// What GetSelected answers when no item is chosen.
constexpr TColor ColorBoxNothingChosen = static_cast<TColor>(0xFF000000u);

// "clMoneyGreen" -> "Money Green", "clBtnFace" -> "Btn Face": without a leading "cl", a blank
// before every upper-case letter that does not start the result.
String SUIPrettyColorName(const String& Name);
// The swatch's frame: black when a component (in RGB) is 193 or more, else white while
// selected and the colour itself otherwise.
TColor SUISwatchFrameColor(TColor Swatch, bool Selected);

class TsuiCustomColorBox : public TsuiCustomComboBox {
    VCL_CLASS(TsuiCustomColorBox)
    explicit TsuiCustomColorBox(TComponent* AOwner);

    TColorBoxStyles GetStyle() const { return m_styles; }
    void SetStyle(TColorBoxStyles Value);
    TColor GetSelected() const;
    void SetSelected(TColor Value);
    TColor GetDefaultColorColor() const { return m_defaultColorColor; }
    void SetDefaultColorColor(TColor Value);
    TColor GetNoneColorColor() const { return m_noneColorColor; }
    void SetNoneColorColor(TColor Value);
    TColor GetColor(int Index) const;
    String GetColorName(int Index) const;

protected:
    void CreateWnd() override;
    virtual void PopulateList();
    // Asks the colour dialog for the custom item's colour; true when it was accepted.
    virtual bool PickCustomColor();
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void CloseUp() override;
    void Select() override;
    void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override;

private:
    void ColorCallBack(const String& Name);

    TColorBoxStyles m_styles{cbStandardColors, cbExtendedColors, cbSystemColors};
    bool m_needsPopulate = false;
    bool m_listSelected = false;
    TColor m_defaultColorColor = 0;
    TColor m_noneColorColor = 0;
    TColor m_selected = 0;
};

class TsuiColorBox : public TsuiCustomColorBox {
    VCL_CLASS(TsuiColorBox)
    using TsuiCustomColorBox::TsuiCustomColorBox;
};
