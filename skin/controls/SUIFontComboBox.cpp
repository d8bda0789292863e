#include "skin/controls/SUIFontComboBox.h"

#include <cmath>

#include "platform/vcl/SysUtils.h"

bool SUIFontPassesOptions(TFontListOptions Options, const LOGFONTA& LogFont, DWORD FontType) {
    Byte charSet = LogFont.lfCharSet;
    if (Options.Contains(foAnsiOnly) && charSet != ANSI_CHARSET) return false;
    if (Options.Contains(foTrueTypeOnly) && (FontType & TRUETYPE_FONTTYPE) == 0) return false;
    if (Options.Contains(foFixedPitchOnly) && (LogFont.lfPitchAndFamily & FIXED_PITCH) == 0) return false;
    if (Options.Contains(foOEMFontsOnly) && charSet != OEM_CHARSET) return false;
    if (Options.Contains(foNoOEMFonts) && charSet == OEM_CHARSET) return false;
    if (Options.Contains(foNoSymbolFonts) && charSet == SYMBOL_CHARSET) return false;
    if (Options.Contains(foScalableOnly) && (FontType & RASTER_FONTTYPE) != 0) return false;
    return true;
}

int SUIRasterPointSize(int Height, int InternalLeading, int PixelsPerInch) {
    if (PixelsPerInch <= 0) return 0;
    // nearbyint rounds to nearest with halves to even in the default rounding mode.
    return static_cast<int>(std::nearbyint(static_cast<double>(Height - InternalLeading) * 72.0 / PixelsPerInch));
}

// ---- TsuiFontDrawComboBox -----------------------------------------------------------------------

TsuiFontDrawComboBox::TsuiFontDrawComboBox(TComponent* AOwner) : TsuiCustomComboBox(AOwner) {
    TsuiCustomComboBox::SetStyle(csDropDownList);
}

void TsuiFontDrawComboBox::SetStyle(TComboBoxStyle Value) {
    // Only the three plain styles: the list is always drawn by the box.
    if (Value > csDropDownList) Value = csDropDownList;
    if (Value == GetStyle()) return;
    TsuiCustomComboBox::SetStyle(Value);
}

int TsuiFontDrawComboBox::MinItemHeight() {
    TCanvas screen;
    screen.SetFont(GetFont());
    TEXTMETRICA tm;
    GetTextMetrics(&screen, tm);
    int h = tm.tmHeight + 1;
    if (h == 14) h = 15;
    return std::max(h, 9);
}

void TsuiFontDrawComboBox::ResetItemHeight() {
    m_recreating = true;
    int h = MinItemHeight();
    SetItemHeight(h);
    if (HandleAllocated()) Perform(CB_SETITEMHEIGHT, 0, h);
    m_recreating = false;
}

void TsuiFontDrawComboBox::CreateWnd() {
    TsuiCustomComboBox::CreateWnd();
    ResetItemHeight();
}

void TsuiFontDrawComboBox::Dispatch(TMessage& Message) {
    if (Message.Msg == CM_RECREATEWND && m_recreating) return;
    TsuiCustomComboBox::Dispatch(Message);
    if (Message.Msg == CM_FONTCHANGED) ResetItemHeight();
}

// ---- TsuiFontComboBox ---------------------------------------------------------------------------

namespace {

TBitmap* LoadGlyph(const char* Name) {
    auto* glyph = new TBitmap();
    try {
        glyph->LoadFromResourceName(0, Name);  // raises "Resource <name> not found"
    } catch (...) {
        delete glyph;
        throw;
    }
    glyph->SetTransparent(true);
    return glyph;
}

}  // namespace

TsuiFontComboBox::TsuiFontComboBox(TComponent* AOwner)
    : TsuiFontDrawComboBox(AOwner), m_trueTypeGlyph(LoadGlyph("FONTCOMBO_TRUETYPE_FNT")), m_deviceGlyph(nullptr) {
    try {
        m_deviceGlyph = LoadGlyph("FONTCOMBO_DEVICE_FNT");
    } catch (...) {
        delete m_trueTypeGlyph;
        throw;
    }
    SetItemHeight(15);
    SetSorted(true);
    SetItemHeight(MinItemHeight());
}

TsuiFontComboBox::~TsuiFontComboBox() {
    delete m_trueTypeGlyph;
    delete m_deviceGlyph;
}

int TsuiFontComboBox::MinItemHeight() {
    return std::max(TsuiFontDrawComboBox::MinItemHeight(), m_trueTypeGlyph->GetHeight() - 1);
}

void TsuiFontComboBox::CreateWnd() {
    String remembered = GetFontName();
    TsuiFontDrawComboBox::CreateWnd();
    m_resetting = true;
    PopulateList();
    SetText(String());
    SetFontName(remembered);
    m_resetting = false;
    if (!SameText(GetFontName(), remembered)) DoChange();
}

int TsuiFontComboBox::AddFace(const LOGFONTA& LogFont, DWORD FontType) {
    String name = LogFont.lfFaceName;
    if (GetItems()->IndexOf(name) >= 0) return 1;
    if (!SUIFontPassesOptions(m_options, LogFont, FontType)) return 1;
    std::uintptr_t tag = FontType;
    if (LogFont.lfCharSet != SYMBOL_CHARSET) tag |= FontItemNotSymbol;
    GetItems()->AddObject(name, reinterpret_cast<TObject*>(tag));
    return 1;
}

void TsuiFontComboBox::PopulateList() {
    if (!HandleAllocated()) return;
    GetItems()->BeginUpdate();
    GetItems()->Clear();
    auto callback = [this](const LOGFONTA& lf, const TEXTMETRICA&, DWORD type) { return AddFace(lf, type); };
    if (m_device == fdScreen || m_device == fdBoth) EnumFontFamilies(nullptr, nullptr, callback);
    // There is no printer to ask here: a printer's fonts add nothing, as a failing printer
    // enumeration adds nothing.
    GetItems()->EndUpdate();
}

void TsuiFontComboBox::SetFontName(const String& Value) {
    if (GetFontName() == Value) return;
    if (GetComponentState().Contains(csLoading)) {
        SetText(Value);
        DoChange();
        return;
    }
    GetHandle();
    for (int i = 0; i < GetItems()->Count(); ++i) {
        if (!SameText(GetItems()->Strings(i), Value)) continue;
        SetItemIndex(i);
        DoChange();
        return;
    }
    if (GetStyle() == csDropDownList) SetItemIndex(-1);
    else SetText(Value);
    DoChange();
}

void TsuiFontComboBox::SetDevice(TFontDevice Value) {
    if (Value == m_device) return;
    m_device = Value;
    Reset();
}

void TsuiFontComboBox::SetOptions(TFontListOptions Value) {
    if (Value == m_options) return;
    m_options = Value;
    Reset();
}

void TsuiFontComboBox::SetUseFonts(bool Value) {
    if (Value == m_useFonts) return;
    m_useFonts = Value;
    Invalidate();
}

void TsuiFontComboBox::Reset() {
    if (!HandleAllocated()) return;
    m_resetting = true;
    String remembered = GetFontName();
    PopulateList();
    SetFontName(remembered);
    m_resetting = false;
    if (GetFontName() != remembered) DoChange();
}

void TsuiFontComboBox::Dispatch(TMessage& Message) {
    TsuiFontDrawComboBox::Dispatch(Message);
    if (Message.Msg == WM_FONTCHANGE) Reset();
}

void TsuiFontComboBox::Change() {
    TsuiFontDrawComboBox::Change();
    if (GetStyle() == csDropDownList) return;
    int i = GetItems()->IndexOf(GetText());
    if (i >= 0 && i != GetItemIndex()) {
        SetItemIndex(i);
        DoChange();
    }
}

void TsuiFontComboBox::Click() {
    TsuiFontDrawComboBox::Click();
    DoChange();
}

void TsuiFontComboBox::DoChange() {
    if (GetComponentState().Contains(csReading) || m_resetting || !OnChange) return;
    OnChange(this);
}

void TsuiFontComboBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
    (void)State;
    TCanvas* c = GetCanvas();
    c->FillRect(Rect);
    if (Index < 0 || Index >= GetItems()->Count()) return;
    auto tag = reinterpret_cast<std::uintptr_t>(GetItems()->Objects(Index));
    TBitmap* glyph = (tag & TRUETYPE_FONTTYPE) ? m_trueTypeGlyph : (tag & DEVICE_FONTTYPE) ? m_deviceGlyph : nullptr;
    int column = glyph != nullptr ? glyph->GetWidth() : 20;
    if (glyph != nullptr) c->Draw(Rect.Left + 2, (Rect.Top + Rect.Bottom - glyph->GetHeight()) / 2, glyph);
    TRect text = Rect;
    text.Left = Rect.Left + column + 6;
    if (m_useFonts && (tag & FontItemNotSymbol)) c->GetFont()->SetName(GetItems()->Strings(Index));
    c->GetBrush()->SetStyle(bsClear);
    c->DrawText(GetItems()->Strings(Index), text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    c->GetBrush()->SetStyle(bsSolid);
}

// ---- TsuiFontSizeComboBox -----------------------------------------------------------------------

TsuiFontSizeComboBox::TsuiFontSizeComboBox(TComponent* AOwner) : TsuiCustomComboBox(AOwner) {
    SetStyle(csDropDownList);
}

void TsuiFontSizeComboBox::SetFontName(const String& Value) {
    m_fontName = Value;
    Build();
}

int TsuiFontSizeComboBox::AddSize(int Size) {
    String text = IntToStr(Size);
    TStrings* items = GetItems();
    for (int i = 0; i < items->Count(); ++i) {
        int v = StrToIntDef(items->Strings(i), 0);
        if (v == Size) return 1;
        if (v > Size) {
            items->Insert(i, text);
            return 1;
        }
    }
    items->Add(text);
    return 1;
}

void TsuiFontSizeComboBox::Build() {
    // The size chosen before stays chosen when the new face offers it too.
    String selected = GetText();
    GetItems()->BeginUpdate();
    GetItems()->Clear();
    if (!m_fontName.empty()) {
        m_pixelsPerInch = GetDeviceCaps(nullptr, LOGPIXELSY);
        EnumFontFamilies(nullptr, m_fontName.c_str(), [this](const LOGFONTA& lf, const TEXTMETRICA& tm, DWORD type) {
            if (type & TRUETYPE_FONTTYPE) {
                for (int size : {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72}) GetItems()->Add(IntToStr(size));
                return 0;
            }
            return AddSize(SUIRasterPointSize(lf.lfHeight, tm.tmInternalLeading, m_pixelsPerInch));
        });
    }
    GetItems()->EndUpdate();
    TNotifyEvent click = OnClick;
    OnClick = nullptr;
    SetItemIndex(GetItems()->IndexOf(selected));
    OnClick = click;
    if (OnClick) OnClick(this);
}

int TsuiFontSizeComboBox::GetFontSize() const {
    if (GetItemIndex() < 0) return 0;
    return StrToIntDef(GetItems()->Strings(GetItemIndex()), 0);
}

void TsuiFontSizeComboBox::SetFontSize(int Value) { SetItemIndex(GetItems()->IndexOf(IntToStr(Value))); }
