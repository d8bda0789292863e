#include "platform/vcl/Graphics.h"

#include <cstdlib>
#include <iterator>

#include "platform/vcl/Jpeg.h"

// ---- colours -----------------------------------------------------------------------------------

namespace {

// The classic Windows scheme, by COLOR_* index.
constexpr COLORREF ClassicScheme[] = {
    RGB(212, 208, 200),  // COLOR_SCROLLBAR
    RGB(58, 110, 165),   // COLOR_BACKGROUND
    RGB(10, 36, 106),    // COLOR_ACTIVECAPTION
    RGB(128, 128, 128),  // COLOR_INACTIVECAPTION
    RGB(212, 208, 200),  // COLOR_MENU
    RGB(255, 255, 255),  // COLOR_WINDOW
    RGB(0, 0, 0),        // COLOR_WINDOWFRAME
    RGB(0, 0, 0),        // COLOR_MENUTEXT
    RGB(0, 0, 0),        // COLOR_WINDOWTEXT
    RGB(255, 255, 255),  // COLOR_CAPTIONTEXT
    RGB(212, 208, 200),  // COLOR_ACTIVEBORDER
    RGB(212, 208, 200),  // COLOR_INACTIVEBORDER
    RGB(128, 128, 128),  // COLOR_APPWORKSPACE
    RGB(10, 36, 106),    // COLOR_HIGHLIGHT
    RGB(255, 255, 255),  // COLOR_HIGHLIGHTTEXT
    RGB(212, 208, 200),  // COLOR_BTNFACE
    RGB(128, 128, 128),  // COLOR_BTNSHADOW
    RGB(128, 128, 128),  // COLOR_GRAYTEXT
    RGB(0, 0, 0),        // COLOR_BTNTEXT
    RGB(212, 208, 200),  // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255),  // COLOR_BTNHIGHLIGHT
    RGB(64, 64, 64),     // COLOR_3DDKSHADOW
    RGB(212, 208, 200),  // COLOR_3DLIGHT
    RGB(0, 0, 0),        // COLOR_INFOTEXT
    RGB(255, 255, 225),  // COLOR_INFOBK
    RGB(181, 181, 181),  // 25, unused
    RGB(0, 0, 128),      // COLOR_HOTLIGHT
    RGB(166, 202, 240),  // COLOR_GRADIENTACTIVECAPTION
    RGB(192, 192, 192),  // COLOR_GRADIENTINACTIVECAPTION
    RGB(10, 36, 106),    // COLOR_MENUHILIGHT
    RGB(212, 208, 200),  // COLOR_MENUBAR
};

struct ColorName {
    TColor color;
    const char* name;
};

constexpr ColorName ColorNames[] = {
    {clBlack, "clBlack"}, {clMaroon, "clMaroon"}, {clGreen, "clGreen"}, {clOlive, "clOlive"},
    {clNavy, "clNavy"}, {clPurple, "clPurple"}, {clTeal, "clTeal"}, {clGray, "clGray"},
    {clSilver, "clSilver"}, {clRed, "clRed"}, {clLime, "clLime"}, {clYellow, "clYellow"},
    {clBlue, "clBlue"}, {clFuchsia, "clFuchsia"}, {clAqua, "clAqua"}, {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"}, {clSkyBlue, "clSkyBlue"}, {clCream, "clCream"},
    {clMedGray, "clMedGray"}, {clNone, "clNone"}, {clDefault, "clDefault"},
    {clScrollBar, "clScrollBar"}, {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"}, {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"}, {clWindow, "clWindow"}, {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"}, {clWindowText, "clWindowText"}, {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"}, {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"}, {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"}, {clBtnFace, "clBtnFace"}, {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"}, {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"}, {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"}, {cl3DLight, "cl3DLight"}, {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"}, {clHotLight, "clHotLight"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"},
    {clMenuHighlight, "clMenuHighlight"}, {clMenuBar, "clMenuBar"},
};

}  // namespace

COLORREF GetSysColor(int nIndex) {
    if (nIndex < 0 || nIndex >= static_cast<int>(std::size(ClassicScheme))) return 0;
    return ClassicScheme[nIndex];
}

COLORREF ColorToRGB(TColor Color) {
    auto c = static_cast<std::uint32_t>(Color);
    if (c & 0x80000000u) return GetSysColor(static_cast<int>(c & 0xFF));
    return c & 0x00FFFFFFu;
}

String ColorToString(TColor Color) {
    for (const ColorName& n : ColorNames)
        if (n.color == Color) return n.name;
    return "$" + IntToHex(static_cast<int>(Color), 8);
}

TColor StringToColor(const String& S) {
    for (const ColorName& n : ColorNames)
        if (SameText(n.name, S)) return n.color;
    Int64 v = 0;
    if (!TryStrToInt64(S, v)) throw EConvertError("'" + S + "' is not a valid colour");
    return static_cast<TColor>(static_cast<std::uint32_t>(v));
}

namespace {

// The colour-name table as the colour box lists it.
const ColorName ColorValueTable[] = {
    {clBlack, "clBlack"}, {clMaroon, "clMaroon"}, {clGreen, "clGreen"}, {clOlive, "clOlive"},
    {clNavy, "clNavy"}, {clPurple, "clPurple"}, {clTeal, "clTeal"}, {clGray, "clGray"},
    {clSilver, "clSilver"}, {clRed, "clRed"}, {clLime, "clLime"}, {clYellow, "clYellow"},
    {clBlue, "clBlue"}, {clFuchsia, "clFuchsia"}, {clAqua, "clAqua"}, {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"}, {clSkyBlue, "clSkyBlue"}, {clCream, "clCream"}, {clMedGray, "clMedGray"},
    {clActiveBorder, "clActiveBorder"}, {clActiveCaption, "clActiveCaption"},
    {clAppWorkSpace, "clAppWorkSpace"}, {clBackground, "clBackground"}, {clBtnFace, "clBtnFace"},
    {clBtnHighlight, "clBtnHighlight"}, {clBtnShadow, "clBtnShadow"}, {clBtnText, "clBtnText"},
    {clCaptionText, "clCaptionText"}, {clDefault, "clDefault"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"}, {clGrayText, "clGrayText"},
    {clHighlight, "clHighlight"}, {clHighlightText, "clHighlightText"}, {clHotLight, "clHotLight"},
    {clInactiveBorder, "clInactiveBorder"}, {clInactiveCaption, "clInactiveCaption"},
    {clInactiveCaptionText, "clInactiveCaptionText"}, {clInfoBk, "clInfoBk"}, {clInfoText, "clInfoText"},
    {clMenu, "clMenu"}, {clMenuBar, "clMenuBar"}, {clMenuHighlight, "clMenuHighlight"},
    {clMenuText, "clMenuText"}, {clNone, "clNone"}, {clScrollBar, "clScrollBar"},
    {cl3DDkShadow, "cl3DDkShadow"}, {cl3DLight, "cl3DLight"}, {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"}, {clWindowText, "clWindowText"},
};
static_assert(std::size(ColorValueTable) == 52);

}  // namespace

void GetColorValues(const std::function<void(const String& Name)>& Proc) {
    for (const ColorName& n : ColorValueTable) Proc(n.name);
}

bool IdentToColor(const String& Ident, TColor& Color) {
    for (const ColorName& n : ColorValueTable)
        if (SameText(n.name, Ident)) {
            Color = n.color;
            return true;
        }
    return false;
}

int MulDiv(int nNumber, int nNumerator, int nDenominator) {
    if (nDenominator == 0) return -1;
    Int64 p = static_cast<Int64>(nNumber) * nNumerator;
    Int64 d = nDenominator;
    bool negative = (p < 0) != (d < 0);
    Int64 ap = std::llabs(p);
    Int64 ad = std::llabs(d);
    Int64 q = (ap + ad / 2) / ad;
    return static_cast<int>(negative ? -q : q);
}

int BytesPerScanline(int PixelsPerRow, int BitsPerPixel, int Alignment) {
    Int64 bits = static_cast<Int64>(PixelsPerRow) * BitsPerPixel;
    Int64 units = (bits + Alignment - 1) / Alignment;
    return static_cast<int>(units * (Alignment / 8));
}

int PixelFormatBits(TPixelFormat Format) {
    switch (Format) {
        case pf1bit: return 1;
        case pf4bit: return 4;
        case pf8bit: return 8;
        case pf15bit:
        case pf16bit: return 16;
        case pf24bit: return 24;
        default: return 32;
    }
}

// ---- fonts, pens, brushes ----------------------------------------------------------------------

TFont::TFont() = default;

void TFont::Changed() {
    if (OnChange) OnChange(this);
}

void TFont::Assign(TPersistent* Source) {
    if (auto* f = dynamic_cast<TFont*>(Source)) {
        m_name = f->m_name;
        m_height = f->m_height;
        m_color = f->m_color;
        m_style = f->m_style;
        m_charset = f->m_charset;
        m_pitch = f->m_pitch;
        Changed();
        return;
    }
    TPersistent::Assign(Source);
}

bool TFont::SameAs(const TFont& o) const {
    return m_name == o.m_name && m_height == o.m_height && m_color == o.m_color &&
           m_style == o.m_style && m_charset == o.m_charset && m_pitch == o.m_pitch;
}

void TFont::SetName(const String& v) {
    if (v.empty() || v == m_name) return;
    m_name = v;
    Changed();
}

int TFont::GetSize() const { return -MulDiv(m_height, 72, GetPixelsPerInch()); }

void TFont::SetSize(int v) { SetHeight(-MulDiv(v, GetPixelsPerInch(), 72)); }

void TFont::SetHeight(int v) {
    if (v == m_height) return;
    m_height = v;
    Changed();
}

void TFont::SetColor(TColor v) {
    if (v == m_color) return;
    m_color = v;
    Changed();
}

void TFont::SetStyle(TFontStyles v) {
    if (v == m_style) return;
    m_style = v;
    Changed();
}

void TFont::SetCharset(TFontCharset v) {
    if (v == m_charset) return;
    m_charset = v;
    Changed();
}

void TFont::SetPitch(TFontPitch v) {
    if (v == m_pitch) return;
    m_pitch = v;
    Changed();
}

void TPen::Assign(TPersistent* Source) {
    if (auto* p = dynamic_cast<TPen*>(Source)) {
        m_color = p->m_color;
        m_width = p->m_width;
        m_style = p->m_style;
        m_mode = p->m_mode;
        Changed();
        return;
    }
    TPersistent::Assign(Source);
}

void TPen::SetColor(TColor v) {
    if (v == m_color) return;
    m_color = v;
    Changed();
}

void TPen::SetWidth(int v) {
    if (v < 1) v = 1;
    if (v == m_width) return;
    m_width = v;
    Changed();
}

void TPen::SetStyle(TPenStyle v) {
    if (v == m_style) return;
    m_style = v;
    Changed();
}

void TPen::SetMode(TPenMode v) {
    if (v == m_mode) return;
    m_mode = v;
    Changed();
}

void TBrush::Assign(TPersistent* Source) {
    if (auto* b = dynamic_cast<TBrush*>(Source)) {
        m_color = b->m_color;
        m_style = b->m_style;
        Changed();
        return;
    }
    TPersistent::Assign(Source);
}

void TBrush::SetColor(TColor v) {
    if (v == m_color && m_style != bsClear) return;
    m_color = v;
    if (m_style == bsClear) m_style = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle v) {
    if (v == m_style) return;
    m_style = v;
    Changed();
}

// ---- TGraphic ----------------------------------------------------------------------------------

void TGraphic::SetTransparent(bool v) {
    if (v == m_transparent) return;
    m_transparent = v;
    Changed();
}

void TGraphic::SetModified(bool v) {
    if (v) Changed();
    else m_modified = false;
}

void TGraphic::Changed() {
    m_modified = true;
    if (OnChange) OnChange(this);
}

void TGraphic::LoadFromFile(const String& FileName) {
    TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&stream);
}

void TGraphic::SaveToFile(const String& FileName) {
    // Encode first so that a failure leaves no half-written file behind.
    TMemoryStream data;
    SaveToStream(&data);
    data.SaveToFile(FileName);
}

// ---- TPicture ----------------------------------------------------------------------------------

namespace {

std::unique_ptr<TGraphic> NewGraphicLike(const TGraphic* g) {
    if (dynamic_cast<const TJPEGImage*>(g) != nullptr) return std::make_unique<TJPEGImage>();
    if (dynamic_cast<const TBitmap*>(g) != nullptr) return std::make_unique<TBitmap>();
    throw EInvalidGraphic(String("Unsupported graphic class ") + g->ClassName());
}

std::unique_ptr<TGraphic> NewGraphicForExtension(const String& ext) {
    String e = LowerCase(ext);
    if (e == ".bmp" || e == ".dib") return std::make_unique<TBitmap>();
    if (e == ".jpg" || e == ".jpeg" || e == ".jpe" || e == ".jfif") return std::make_unique<TJPEGImage>();
    throw EInvalidGraphic("Unknown picture file extension (" + ext + ")");
}

}  // namespace

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::GraphicChanged() {
    if (OnChange) OnChange(this);
}

void TPicture::Take(std::unique_ptr<TGraphic> g) {
    m_graphic = std::move(g);
    if (m_graphic) m_graphic->OnChange = [this](TObject*) { GraphicChanged(); };
    GraphicChanged();
}

void TPicture::Assign(TPersistent* Source) {
    if (Source == nullptr) {
        SetGraphic(nullptr);
        return;
    }
    if (auto* p = dynamic_cast<TPicture*>(Source)) {
        SetGraphic(p->GetGraphic());
        return;
    }
    if (auto* g = dynamic_cast<TGraphic*>(Source)) {
        SetGraphic(g);
        return;
    }
    TPersistent::Assign(Source);
}

void TPicture::SetGraphic(TGraphic* Value) {
    if (Value == nullptr) {
        Take(nullptr);
        return;
    }
    if (Value == m_graphic.get()) return;
    auto copy = NewGraphicLike(Value);
    copy->Assign(Value);
    Take(std::move(copy));
}

TBitmap* TPicture::GetBitmap() {
    if (auto* b = dynamic_cast<TBitmap*>(m_graphic.get())) return b;
    auto bmp = std::make_unique<TBitmap>();
    if (m_graphic) bmp->Assign(m_graphic.get());
    TBitmap* raw = bmp.get();
    Take(std::move(bmp));
    return raw;
}

int TPicture::GetWidth() const { return m_graphic ? m_graphic->GetWidth() : 0; }
int TPicture::GetHeight() const { return m_graphic ? m_graphic->GetHeight() : 0; }

void TPicture::LoadFromFile(const String& FileName) {
    auto g = NewGraphicForExtension(ExtractFileExt(FileName));
    g->LoadFromFile(FileName);
    Take(std::move(g));
}

void TPicture::SaveToFile(const String& FileName) {
    if (!m_graphic) throw EInvalidGraphicOperation("The picture is empty");
    m_graphic->SaveToFile(FileName);
}
