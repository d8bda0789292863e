#include "skin/controls/SUIEdit.h"

#include <algorithm>
#include <climits>

#include "platform/vcl/SysUtils.h"
#include "skin/controls/SUIControlLook.h"

namespace {

constexpr int SpinButtonsMinWidth = 15;
constexpr int SpinRepeat_ms = 400;

bool ContainsNoCase(const String& Text, char C) {
    return std::any_of(Text.begin(), Text.end(), [C](char t) { return std::tolower(static_cast<unsigned char>(t)) == std::tolower(static_cast<unsigned char>(C)); });
}

String ReplaceAll(String Text, const String& From, const String& To) {
    if (From.empty()) return Text;
    for (std::size_t at = Text.find(From); at != String::npos; at = Text.find(From, at + To.size()))
        Text.replace(at, From.size(), To);
    return Text;
}

// The user's text as the parser reads it: without the locale's thousands separators, with '.'
// for the locale's decimal separator.
String PortableNumber(const String& Text) {
    return ReplaceAll(ReplaceAll(Text, FormatSettings.ThousandSeparator, ""), FormatSettings.DecimalSeparator, ".");
}

bool TryParseNumber(const String& Text, double& Value) { return TryStrToFloat(PortableNumber(Text), Value); }

// A picture's output ('.' decimal point, ',' thousands) with the locale's separators.
String LocalNumber(const String& Text) {
    String out;
    for (char c : Text) {
        if (c == '.') out += FormatSettings.DecimalSeparator;
        else if (c == ',') out += FormatSettings.ThousandSeparator;
        else out += c;
    }
    return out;
}

}  // namespace

// ---- TsuiEdit ----------------------------------------------------------------------------------

TsuiEdit::TsuiEdit(TComponent* AOwner) : TCustomEdit(AOwner) {
    ControlStyle() << csOpaque;
    SetBorderStyle(bsNone);
    SetBorderWidth(2);
    SetUIStyle(GetSUIFormStyle(AOwner));
}

TsuiEdit::~TsuiEdit() { Destroying(); }

void TsuiEdit::SetUIStyle(TsuiUIStyle Value) {
    m_style.StoreUIStyle(Value);
    m_borderColor = SUIControlColors(m_style.Values()).BorderColor;
    UIStyleChanged();
    Invalidate();
}

void TsuiEdit::SetFileTheme(TsuiFileTheme* Value) {
    m_style.StoreFileTheme(Value);
    SetUIStyle(m_style.GetUIStyle());
}

void TsuiEdit::SetBorderColor(TColor Value) {
    m_borderColor = Value;
    Invalidate();
}

void TsuiEdit::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomEdit::Notification(AComponent, Operation);
    if (m_style.ThemeRemoved(AComponent, Operation)) SetUIStyle(DeepBlue);
}

void TsuiEdit::Dispatch(TMessage& Message) {
    TCustomEdit::Dispatch(Message);
    SUIDrawBorderAfterPaint(this, Message, m_borderColor, true);
}

// ---- TsuiMaskEdit ------------------------------------------------------------------------------

TsuiMaskEdit::TsuiMaskEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {
    ControlStyle() << csOpaque;
    SetBorderStyle(bsNone);
    SetBorderWidth(2);
    SetUIStyle(GetSUIFormStyle(AOwner));
}

TsuiMaskEdit::~TsuiMaskEdit() { Destroying(); }

void TsuiMaskEdit::SetUIStyle(TsuiUIStyle Value) {
    m_style.StoreUIStyle(Value);
    m_borderColor = SUIControlColors(m_style.Values()).BorderColor;
    Invalidate();
}

void TsuiMaskEdit::SetFileTheme(TsuiFileTheme* Value) {
    m_style.StoreFileTheme(Value);
    SetUIStyle(m_style.GetUIStyle());
}

void TsuiMaskEdit::SetBorderColor(TColor Value) {
    m_borderColor = Value;
    Invalidate();
}

void TsuiMaskEdit::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomMaskEdit::Notification(AComponent, Operation);
    if (m_style.ThemeRemoved(AComponent, Operation)) SetUIStyle(DeepBlue);
}

void TsuiMaskEdit::Dispatch(TMessage& Message) {
    TCustomMaskEdit::Dispatch(Message);
    SUIDrawBorderAfterPaint(this, Message, m_borderColor, true);
}

// ---- TsuiNumberEdit ----------------------------------------------------------------------------

bool SUINumberEditAcceptsKey(char Key, const String& Mask, const String& Text, int SelStart) {
    if (Key >= '0' && Key <= '9') return true;
    const String& decimal = FormatSettings.DecimalSeparator;
    if (decimal.size() == 1 && Key == decimal[0] && ContainsNoCase(Mask, '.') && Text.find(decimal) == String::npos)
        return true;
    if (Key == '\b') return true;
    return Key == '-' && ContainsNoCase(Mask, '-') && SelStart == 0 && !ContainsNoCase(Text, '-');
}

TsuiNumberEdit::TsuiNumberEdit(TComponent* AOwner) : TsuiEdit(AOwner) {
    m_mask = "0.00";
    SetValue(0);
    m_autoSelectSigns = 2;
}

TsuiNumberEdit::~TsuiNumberEdit() { Destroying(); }

void TsuiNumberEdit::CreateParams(TCreateParams& Params) {
    TsuiEdit::CreateParams(Params);
    Params.Style |= ES_RIGHT;
}

void TsuiNumberEdit::SetValue(double Value) {
    m_value = Value;
    SetText(LocalNumber(FormatFloat(m_mask, Value)));
}

void TsuiNumberEdit::Change() {
    String text = GetText();
    if (!text.empty() && text != "-") {
        double v;
        if (TryParseNumber(text, v)) m_value = v;
        else SetValue(m_value);  // the last good value comes back
    }
    TsuiEdit::Change();
}

void TsuiNumberEdit::DoEnter() {
    TsuiEdit::DoEnter();
    if (m_autoSelectSigns > 0 && GetAutoSelect()) {
        int length = static_cast<int>(GetText().size());
        SetSelStart(std::max(length - m_autoSelectSigns, 0));
        SetSelLength(m_autoSelectSigns);
    }
}

void TsuiNumberEdit::Click() {
    TsuiEdit::Click();
    DoEnter();
}

void TsuiNumberEdit::DoExit() {
    TsuiEdit::DoExit();
    String text = GetText();
    if (text.empty() || text == "-") text = "0";
    double v;
    // Unparsable text (pasted letters) must not escape as an error: the last good value stays.
    SetValue(TryParseNumber(text, v) ? v : m_value);
}

void TsuiNumberEdit::KeyPress(char& Key) {
    TsuiEdit::KeyPress(Key);
    if (Key == 0) return;
    if (SUINumberEditAcceptsKey(Key, m_mask, GetText(), GetSelStart())) return;
    MessageBeep(0);
    Key = 0;
}

void TsuiNumberEdit::Dispatch(TMessage& Message) {
    TsuiEdit::Dispatch(Message);
    // The inherited handling already ran Change for a text set from code; it runs once more.
    if (Message.Msg == CM_TEXTCHANGED) Change();
}

// ---- TsuiSpinButtons ---------------------------------------------------------------------------

TsuiSpinButtonsLayout SUISpinButtonsLayout(int Width, int Height) {
    TsuiSpinButtonsLayout l;
    l.Width = std::max(Width, SpinButtonsMinWidth);
    int upHeight = Height / 2 + 1;
    l.Up = Bounds(0, 0, l.Width, upHeight);
    l.Down = Bounds(0, upHeight - 1, l.Width, Height - upHeight + 1);
    return l;
}

TsuiSpinButtons::TsuiSpinButtons(TComponent* AOwner) : TWinControl(AOwner) {
    ControlStyle() >> csAcceptsControls >> csSetCaption;
    ControlStyle() << csFramed << csOpaque;
    m_up = CreateButton(suiUp);
    m_down = CreateButton(suiDown);
    SetBounds(GetLeft(), GetTop(), 20, 25);
}

TsuiSpinButtons::~TsuiSpinButtons() { Destroying(); }

TsuiArrowButton* TsuiSpinButtons::CreateButton(TsuiArrowButtonType Arrow) {
    auto* b = new TsuiArrowButton(this);
    b->SetTabStop(false);
    b->OnClick = [this](TObject* s) { BtnClick(s); };
    b->OnMouseContinuouslyDown = [this](TObject* s) { BtnClick(s); };
    b->SetMouseContinuouslyDownInterval(SpinRepeat_ms);
    b->SetVisible(true);
    b->SetEnabled(true);
    b->SetArrow(Arrow);
    b->SetParent(this);
    return b;
}

void TsuiSpinButtons::BtnClick(TObject* Sender) {
    if (Sender == m_up) {
        if (OnUpClick) OnUpClick(this);
    } else if (OnDownClick) {
        OnDownClick(this);
    }
}

void TsuiSpinButtons::KeyDown(Word& Key, TShiftState) {
    if (Key == VK_UP) m_up->Click();
    else if (Key == VK_DOWN) m_down->Click();
}

void TsuiSpinButtons::AdjustSize(int& Width, int& Height) {
    if (m_up == nullptr || m_down == nullptr || GetComponentState().Contains(csLoading)) return;
    TsuiSpinButtonsLayout l = SUISpinButtonsLayout(Width, Height);
    Width = l.Width;
    m_up->SetBoundsRect(l.Up);
    m_down->SetBoundsRect(l.Down);
}

void TsuiSpinButtons::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    int w = AWidth, h = AHeight;
    AdjustSize(w, h);
    TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TsuiSpinButtons::FitToButtons() {
    int w = GetWidth(), h = GetHeight();
    AdjustSize(w, h);
    if (w != GetWidth() || h != GetHeight()) SetBounds(GetLeft(), GetTop(), w, h);
}

void TsuiSpinButtons::Loaded() {
    TWinControl::Loaded();
    FitToButtons();
}

void TsuiSpinButtons::Dispatch(TMessage& Message) {
    TWinControl::Dispatch(Message);
    if (Message.Msg == WM_SIZE) {
        FitToButtons();
        Message.Result = 0;
    }
}

TsuiUIStyle TsuiSpinButtons::GetUIStyle() const { return m_up != nullptr ? m_up->GetUIStyle() : DeepBlue; }

TsuiFileTheme* TsuiSpinButtons::GetFileTheme() const { return m_up != nullptr ? m_up->GetFileTheme() : nullptr; }

void TsuiSpinButtons::SetUIStyle(TsuiUIStyle Value) {
    if (m_up) m_up->SetUIStyle(Value);
    if (m_down) m_down->SetUIStyle(Value);
}

void TsuiSpinButtons::SetFileTheme(TsuiFileTheme* Value) {
    if (m_up) m_up->SetFileTheme(Value);
    if (m_down) m_down->SetFileTheme(Value);
    SetUIStyle(GetUIStyle());
}

// ---- TsuiSpinEdit ------------------------------------------------------------------------------

int SUISpinCheckValue(Int64 Value, int MinValue, int MaxValue) {
    Int64 v = std::clamp<Int64>(Value, INT_MIN, INT_MAX);
    if (MaxValue != MinValue) v = std::clamp<Int64>(v, std::min(MinValue, MaxValue), MaxValue < MinValue ? MinValue : MaxValue);
    return static_cast<int>(v);
}

int SUISpinTextValue(const String& Text, int MinValue) {
    Int64 v;
    // Decimal only (a "$1F" is no number a person typed here).
    bool decimal = !Text.empty() && Text.find_first_not_of("-+0123456789 ") == String::npos;
    if (!decimal || !TryStrToInt64(Text, v) || v < INT_MIN || v > INT_MAX) return MinValue;
    return static_cast<int>(v);
}

bool SUISpinIsValidChar(char Key, bool EditorEnabled) {
    auto k = static_cast<unsigned char>(Key);
    bool valid = Key == '-' || (Key >= '0' && Key <= '9') || (k < 32 && Key != '\r');
    if (valid && !EditorEnabled && (k >= 32 || Key == '\b')) valid = false;
    return valid;
}

TRect SUISpinButtonsBounds(int Width, int Height, int BorderWidth, int ButtonWidth) {
    // The client area starts BorderWidth inside the window.
    return Bounds(Width - ButtonWidth - 4 + BorderWidth, BorderWidth, ButtonWidth, std::max(Height - 4, 0));
}

TsuiSpinEdit::TsuiSpinEdit(TComponent* AOwner) : TsuiEdit(AOwner) {
    m_button = new TsuiSpinButtons(this);
    m_button->SetWidth(15);
    m_button->SetHeight(20);
    m_button->SetVisible(true);
    m_button->SetParent(this);
    m_button->OnUpClick = [this](TObject* s) { UpClick(s); };
    m_button->OnDownClick = [this](TObject* s) { DownClick(s); };
    SetText("0");
    m_increment = 1;
    m_editorEnabled = true;
    // The buttons were made after the look was set: they take it now.
    UIStyleChanged();
    Perform(WM_SIZE, 0, MAKELPARAM(GetWidth(), GetHeight()));
}

TsuiSpinEdit::~TsuiSpinEdit() {
    Destroying();
    delete m_button;
    m_button = nullptr;
}

void TsuiSpinEdit::CreateParams(TCreateParams& Params) {
    TsuiEdit::CreateParams(Params);
    Params.Style |= ES_MULTILINE | WS_CLIPCHILDREN;
}

void TsuiSpinEdit::CreateWnd() {
    TsuiEdit::CreateWnd();
    SetEditRect();
}

void TsuiSpinEdit::SetEditRect() {
    if (m_button == nullptr) return;
    TRect r = GetEditRect();
    TRect client = GetInsetClientRect();
    r = Rect(0, 0, client.Width() - m_button->GetWidth() - 2, client.Height() + 1);
    Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
    GetEditRect();
}

int TsuiSpinEdit::GetValue() const { return SUISpinTextValue(GetText(), m_minValue); }

void TsuiSpinEdit::SetValue(int v) { SetText(IntToStr(CheckValue(v))); }

void TsuiSpinEdit::Step(Int64 Delta) {
    if (GetReadOnly()) {
        MessageBeep(0);
        return;
    }
    SetText(IntToStr(SUISpinCheckValue(static_cast<Int64>(GetValue()) + Delta, m_minValue, m_maxValue)));
}

void TsuiSpinEdit::UpClick(TObject*) { Step(m_increment); }

void TsuiSpinEdit::DownClick(TObject*) { Step(-static_cast<Int64>(m_increment)); }

void TsuiSpinEdit::KeyDown(Word& Key, TShiftState Shift) {
    if (Key == VK_UP) UpClick(this);
    else if (Key == VK_DOWN) DownClick(this);
    TsuiEdit::KeyDown(Key, Shift);
}

void TsuiSpinEdit::KeyPress(char& Key) {
    if (!IsValidChar(Key)) {
        Key = 0;
        MessageBeep(0);
    }
    if (Key != 0) TsuiEdit::KeyPress(Key);
}

void TsuiSpinEdit::UIStyleChanged() {
    if (m_button == nullptr) return;
    m_button->SetUIStyle(GetUIStyle());
    m_button->SetFileTheme(GetFileTheme());
}

void TsuiSpinEdit::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case WM_CUT:
        case WM_PASTE:
            if (m_editorEnabled && !GetReadOnly()) TsuiEdit::Dispatch(Message);
            return;
        case CM_ENTER:
            if (GetAutoSelect() && !ControlState().Contains(csLButtonDown)) SelectAll();
            TsuiEdit::Dispatch(Message);
            return;
        case CM_EXIT: {
            TsuiEdit::Dispatch(Message);
            int v = GetValue();
            if (CheckValue(v) != v) SetValue(v);
            return;
        }
        case WM_SIZE:
            TsuiEdit::Dispatch(Message);
            if (m_button != nullptr) {
                m_button->SetBoundsRect(SUISpinButtonsBounds(GetWidth(), GetHeight(), GetBorderWidth(), m_button->GetWidth()));
                SetEditRect();
            }
            return;
        default:
            TsuiEdit::Dispatch(Message);
            return;
    }
}
