#include "skin/controls/SUIColorBox.h"

#include <algorithm>

#include "platform/vcl/Dialogs.h"
#include "platform/vcl/SysUtils.h"

namespace {

TColor ItemColor(TStrings* Items, int Index) {
    return static_cast<TColor>(reinterpret_cast<std::uintptr_t>(Items->Objects(Index)));
}

TObject* ColorObject(TColor Color) {
    return reinterpret_cast<TObject*>(static_cast<std::uintptr_t>(static_cast<std::uint32_t>(Color)));
}

}  // namespace

String SUIPrettyColorName(const String& Name) {
    String base = Name.size() >= 2 && Name.compare(0, 2, "cl") == 0 ? Name.substr(2) : Name;
    String out;
    for (char ch : base) {
        if (ch >= 'A' && ch <= 'Z' && !out.empty()) out += ' ';
        out += ch;
    }
    return out;
}

TColor SUISwatchFrameColor(TColor Swatch, bool Selected) {
    COLORREF rgb = ColorToRGB(Swatch);
    bool light = (rgb & 0xFF) >= 193 || ((rgb >> 8) & 0xFF) >= 193 || ((rgb >> 16) & 0xFF) >= 193;
    if (light) return clBlack;
    return Selected ? clWhite : Swatch;
}

TsuiCustomColorBox::TsuiCustomColorBox(TComponent* AOwner) : TsuiCustomComboBox(AOwner) {
    TsuiCustomComboBox::SetStyle(csOwnerDrawFixed);
    SetItemHeight(15);
    PopulateList();
}

void TsuiCustomColorBox::CreateWnd() {
    TsuiCustomComboBox::CreateWnd();
    if (m_needsPopulate) PopulateList();
}

void TsuiCustomColorBox::ColorCallBack(const String& Name) {
    TColor colour = 0;
    if (!IdentToColor(Name, colour)) return;
    String shown = m_styles.Contains(cbPrettyNames) ? SUIPrettyColorName(Name) : Name;
    GetItems()->AddObject(shown, ColorObject(colour));
}

void TsuiCustomColorBox::PopulateList() {
    if (!HandleAllocated()) {
        m_needsPopulate = true;
        return;
    }
    TStrings* items = GetItems();
    items->BeginUpdate();
    TColor custom = 0;
    if (m_styles.Contains(cbCustomColor) && items->Count() > 0) custom = ItemColor(items, 0);
    TColor selection = m_selected;
    items->Clear();
    GetColorValues([this](const String& Name) { ColorCallBack(Name); });
    auto deleteColour = [items](TColor c) {
        for (int i = items->Count() - 1; i >= 0; --i)
            if (ItemColor(items, i) == c) items->Delete(i);
    };
    auto deleteRange = [items](int From, int To) {
        for (int i = std::min(To, items->Count() - 1); i >= From; --i) items->Delete(i);
    };
    if (!m_styles.Contains(cbIncludeNone)) deleteColour(clNone);
    if (!m_styles.Contains(cbIncludeDefault)) deleteColour(clDefault);
    if (!m_styles.Contains(cbSystemColors)) deleteRange(20, items->Count() - 1);
    if (!m_styles.Contains(cbExtendedColors)) deleteRange(16, 19);
    if (!m_styles.Contains(cbStandardColors)) deleteRange(0, 15);
    if (m_styles.Contains(cbCustomColor)) items->InsertObject(0, "Custom...", ColorObject(custom));
    SetSelected(selection);
    items->EndUpdate();
    m_needsPopulate = false;
}

TColor TsuiCustomColorBox::GetColor(int Index) const { return ItemColor(GetItems(), Index); }
String TsuiCustomColorBox::GetColorName(int Index) const { return GetItems()->Strings(Index); }

TColor TsuiCustomColorBox::GetSelected() const {
    if (!HandleAllocated()) return m_selected;
    int i = GetItemIndex();
    return i >= 0 ? GetColor(i) : ColorBoxNothingChosen;
}

void TsuiCustomColorBox::SetSelected(TColor Value) {
    if (HandleAllocated()) {
        int found = -1;
        for (int i = 0; i < GetItems()->Count() && found < 0; ++i)
            if (GetColor(i) == Value) found = i;
        if (found < 0 && m_styles.Contains(cbCustomColor) && Value != ColorBoxNothingChosen &&
            GetItems()->Count() > 0) {
            GetItems()->SetObjects(0, ColorObject(Value));
            found = 0;
        }
        SetItemIndex(found);
    }
    m_selected = Value;
}

void TsuiCustomColorBox::SetStyle(TColorBoxStyles Value) {
    if (Value == m_styles) return;
    m_styles = Value;
    SetEnabled(Value.Contains(cbStandardColors) || Value.Contains(cbExtendedColors) ||
               Value.Contains(cbSystemColors) || Value.Contains(cbCustomColor));
    PopulateList();
    if (GetItems()->Count() > 0 && GetItemIndex() < 0) SetItemIndex(0);
}

void TsuiCustomColorBox::SetDefaultColorColor(TColor Value) {
    if (Value == m_defaultColorColor) return;
    m_defaultColorColor = Value;
    Invalidate();
}

void TsuiCustomColorBox::SetNoneColorColor(TColor Value) {
    if (Value == m_noneColorColor) return;
    m_noneColorColor = Value;
    Invalidate();
}

void TsuiCustomColorBox::KeyDown(Word& Key, TShiftState Shift) {
    m_listSelected = false;
    TsuiCustomComboBox::KeyDown(Key, Shift);
}

void TsuiCustomColorBox::KeyPress(char& Key) {
    TsuiCustomComboBox::KeyPress(Key);
    if (m_styles.Contains(cbCustomColor) && Key == '\r' && GetItemIndex() == 0) {
        PickCustomColor();
        Key = 0;
    }
}

void TsuiCustomColorBox::CloseUp() {
    TsuiCustomComboBox::CloseUp();
    m_listSelected = true;
}

void TsuiCustomColorBox::Select() {
    if (m_listSelected) {
        m_listSelected = false;
        if (m_styles.Contains(cbCustomColor) && GetItemIndex() == 0 && !PickCustomColor()) return;
    }
    TsuiCustomComboBox::Select();
}

bool TsuiCustomColorBox::PickCustomColor() {
    TColorDialog dialog(nullptr);
    TColor custom = GetColor(0);
    dialog.SetColor(static_cast<TColor>(ColorToRGB(custom)));
    dialog.GetCustomColors()->SetText(Format("ColorA=%.8x", {static_cast<int>(ColorToRGB(custom))}));
    bool accepted = dialog.Execute();
    if (accepted) {
        GetItems()->SetObjects(0, ColorObject(dialog.GetColor()));
        Invalidate();
    }
    return accepted;
}

void TsuiCustomColorBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
    TCanvas* c = GetCanvas();
    c->FillRect(Rect);
    TColor background = c->GetBrush()->GetColor();
    if (Index < 0 || Index >= GetItems()->Count()) return;
    TRect swatch{Rect.Left, Rect.Top, Rect.Left + Rect.Height(), Rect.Bottom};
    InflateRect(swatch, -1, -1);
    TColor colour = GetColor(Index);
    if (colour == clDefault) colour = m_defaultColorColor;
    else if (colour == clNone) colour = m_noneColorColor;
    c->GetBrush()->SetColor(colour);
    c->FillRect(swatch);
    c->GetBrush()->SetColor(SUISwatchFrameColor(colour, State.Contains(odSelected)));
    c->FrameRect(swatch);
    c->GetBrush()->SetColor(background);
    String text = GetItems()->Strings(Index);
    int y = (Rect.Top + Rect.Bottom - c->TextHeight(text)) / 2;
    c->GetBrush()->SetStyle(bsClear);
    c->TextRect(Rect, swatch.Right + 5, y, text);
    c->GetBrush()->SetStyle(bsSolid);
}
