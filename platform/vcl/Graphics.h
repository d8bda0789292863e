// Graphics: colours, fonts, pens, brushes, bitmaps, pictures and the canvas that draws on them.
//
// A TBitmap keeps its pixels exactly as a Windows DIB section does (one block, rows bottom-up,
// each row padded to 4 bytes, blue-green-red order). TCanvas draws on a TBitmap with GDI's pixel
// rules (right and bottom edges excluded, exact colours, no antialiasing); fills, frames, lines,
// pixels, copies and stretches work on the pixel memory directly, text and curved shapes are
// rasterised by Qt and then applied with the same exact colours.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

#include "platform/vcl/Component.h"
#include "platform/vcl/Resources.h"
#include "platform/vcl/Streams.h"
#include "platform/vcl/SysUtils.h"
#include "platform/vcl/System.h"
#include "platform/vcl/Types.h"
#include "platform/win32/Windows.h"

// ---- colours -----------------------------------------------------------------------------------

using TColor = std::int32_t;  // 0x00BBGGRR, or 0x800000nn for system colour nn
using COLORREF = DWORD;

constexpr COLORREF RGB(int r, int g, int b) {
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr Byte GetRValue(COLORREF c) { return static_cast<Byte>(c & 0xFF); }
constexpr Byte GetGValue(COLORREF c) { return static_cast<Byte>((c >> 8) & 0xFF); }
constexpr Byte GetBValue(COLORREF c) { return static_cast<Byte>((c >> 16) & 0xFF); }
constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

// System colour indices (GetSysColor).
constexpr int COLOR_SCROLLBAR = 0;
constexpr int COLOR_BACKGROUND = 1;
constexpr int COLOR_ACTIVECAPTION = 2;
constexpr int COLOR_INACTIVECAPTION = 3;
constexpr int COLOR_MENU = 4;
constexpr int COLOR_WINDOW = 5;
constexpr int COLOR_WINDOWFRAME = 6;
constexpr int COLOR_MENUTEXT = 7;
constexpr int COLOR_WINDOWTEXT = 8;
constexpr int COLOR_CAPTIONTEXT = 9;
constexpr int COLOR_ACTIVEBORDER = 10;
constexpr int COLOR_INACTIVEBORDER = 11;
constexpr int COLOR_APPWORKSPACE = 12;
constexpr int COLOR_HIGHLIGHT = 13;
constexpr int COLOR_HIGHLIGHTTEXT = 14;
constexpr int COLOR_BTNFACE = 15;
constexpr int COLOR_BTNSHADOW = 16;
constexpr int COLOR_GRAYTEXT = 17;
constexpr int COLOR_BTNTEXT = 18;
constexpr int COLOR_INACTIVECAPTIONTEXT = 19;
constexpr int COLOR_BTNHIGHLIGHT = 20;
constexpr int COLOR_3DDKSHADOW = 21;
constexpr int COLOR_3DLIGHT = 22;
constexpr int COLOR_INFOTEXT = 23;
constexpr int COLOR_INFOBK = 24;
constexpr int COLOR_HOTLIGHT = 26;
constexpr int COLOR_GRADIENTACTIVECAPTION = 27;
constexpr int COLOR_GRADIENTINACTIVECAPTION = 28;
constexpr int COLOR_MENUHILIGHT = 29;
constexpr int COLOR_MENUBAR = 30;
constexpr int COLOR_DESKTOP = COLOR_BACKGROUND;
constexpr int COLOR_3DFACE = COLOR_BTNFACE;
constexpr int COLOR_3DSHADOW = COLOR_BTNSHADOW;
constexpr int COLOR_3DHIGHLIGHT = COLOR_BTNHIGHLIGHT;
constexpr int COLOR_3DHILIGHT = COLOR_BTNHIGHLIGHT;
constexpr int COLOR_BTNHILIGHT = COLOR_BTNHIGHLIGHT;

// The classic Windows scheme's value of a system colour index (0 for an unknown index).
COLORREF GetSysColor(int nIndex);

constexpr TColor SysColor(int index) { return static_cast<TColor>(0x80000000u | static_cast<unsigned>(index)); }

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clLtGray = clSilver;
constexpr TColor clDkGray = clGray;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clMedGray = 0xA4A0A0;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

constexpr TColor clScrollBar = SysColor(COLOR_SCROLLBAR);
constexpr TColor clBackground = SysColor(COLOR_BACKGROUND);
constexpr TColor clActiveCaption = SysColor(COLOR_ACTIVECAPTION);
constexpr TColor clInactiveCaption = SysColor(COLOR_INACTIVECAPTION);
constexpr TColor clMenu = SysColor(COLOR_MENU);
constexpr TColor clWindow = SysColor(COLOR_WINDOW);
constexpr TColor clWindowFrame = SysColor(COLOR_WINDOWFRAME);
constexpr TColor clMenuText = SysColor(COLOR_MENUTEXT);
constexpr TColor clWindowText = SysColor(COLOR_WINDOWTEXT);
constexpr TColor clCaptionText = SysColor(COLOR_CAPTIONTEXT);
constexpr TColor clActiveBorder = SysColor(COLOR_ACTIVEBORDER);
constexpr TColor clInactiveBorder = SysColor(COLOR_INACTIVEBORDER);
constexpr TColor clAppWorkSpace = SysColor(COLOR_APPWORKSPACE);
constexpr TColor clHighlight = SysColor(COLOR_HIGHLIGHT);
constexpr TColor clHighlightText = SysColor(COLOR_HIGHLIGHTTEXT);
constexpr TColor clBtnFace = SysColor(COLOR_BTNFACE);
constexpr TColor clBtnShadow = SysColor(COLOR_BTNSHADOW);
constexpr TColor clGrayText = SysColor(COLOR_GRAYTEXT);
constexpr TColor clBtnText = SysColor(COLOR_BTNTEXT);
constexpr TColor clInactiveCaptionText = SysColor(COLOR_INACTIVECAPTIONTEXT);
constexpr TColor clBtnHighlight = SysColor(COLOR_BTNHIGHLIGHT);
constexpr TColor cl3DDkShadow = SysColor(COLOR_3DDKSHADOW);
constexpr TColor cl3DLight = SysColor(COLOR_3DLIGHT);
constexpr TColor clInfoText = SysColor(COLOR_INFOTEXT);
constexpr TColor clInfoBk = SysColor(COLOR_INFOBK);
constexpr TColor clHotLight = SysColor(COLOR_HOTLIGHT);
constexpr TColor clGradientActiveCaption = SysColor(COLOR_GRADIENTACTIVECAPTION);
constexpr TColor clGradientInactiveCaption = SysColor(COLOR_GRADIENTINACTIVECAPTION);
constexpr TColor clMenuHighlight = SysColor(COLOR_MENUHILIGHT);
constexpr TColor clMenuBar = SysColor(COLOR_MENUBAR);

// An RGB colour for any TColor: system colours from the classic scheme, clNone and clDefault as
// they are (masked to 24 bits: clNone gives 0xFFFFFF, clDefault black).
COLORREF ColorToRGB(TColor Color);
// "clRed" for a named colour, otherwise "$00BBGGRR".
String ColorToString(TColor Color);
// Accepts the names ColorToString gives and numbers ("$FF", "0xFF", "255");
// raises EConvertError for anything else.
TColor StringToColor(const String& S);
// Calls Proc with each of the 52 colour names in the class library's table order: the 16
// standard colours, the 4 extended ones, then the 32 system colours (clDefault and clNone
// among them, alphabetically).
void GetColorValues(const std::function<void(const String& Name)>& Proc);
// The colour of a name of that table (without regard to case); false for any other name.
bool IdentToColor(const String& Ident, TColor& Color);

// Win32 pixel records (a 24-bit scan line is an array of TRGBTriple, a 32-bit one of TRGBQuad).
struct TRGBTriple {
    Byte rgbtBlue = 0;
    Byte rgbtGreen = 0;
    Byte rgbtRed = 0;
};
struct TRGBQuad {
    Byte rgbBlue = 0;
    Byte rgbGreen = 0;
    Byte rgbRed = 0;
    Byte rgbReserved = 0;
    bool operator==(const TRGBQuad&) const = default;
};
using RGBTRIPLE = TRGBTriple;
using RGBQUAD = TRGBQuad;
static_assert(sizeof(TRGBTriple) == 3 && sizeof(TRGBQuad) == 4);

// MulDiv as Win32: (a*b)/c rounded half away from zero; -1 when c is 0.
int MulDiv(int nNumber, int nNumerator, int nDenominator);
// Bytes of one DIB row: PixelsPerRow * BitsPerPixel bits rounded up to Alignment bits (32 for DIBs).
int BytesPerScanline(int PixelsPerRow, int BitsPerPixel, int Alignment);

// ---- fonts, pens, brushes ----------------------------------------------------------------------

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = Set<TFontStyle>;
enum TFontPitch { fpDefault, fpVariable, fpFixed };
using TFontCharset = Byte;

constexpr TFontCharset ANSI_CHARSET = 0;
constexpr TFontCharset DEFAULT_CHARSET = 1;
constexpr TFontCharset SYMBOL_CHARSET = 2;
constexpr TFontCharset MAC_CHARSET = 77;
constexpr TFontCharset SHIFTJIS_CHARSET = 128;
constexpr TFontCharset HANGEUL_CHARSET = 129;
constexpr TFontCharset HANGUL_CHARSET = 129;
constexpr TFontCharset JOHAB_CHARSET = 130;
constexpr TFontCharset GB2312_CHARSET = 134;
constexpr TFontCharset CHINESEBIG5_CHARSET = 136;
constexpr TFontCharset GREEK_CHARSET = 161;
constexpr TFontCharset TURKISH_CHARSET = 162;
constexpr TFontCharset VIETNAMESE_CHARSET = 163;
constexpr TFontCharset HEBREW_CHARSET = 177;
constexpr TFontCharset ARABIC_CHARSET = 178;
constexpr TFontCharset BALTIC_CHARSET = 186;
constexpr TFontCharset RUSSIAN_CHARSET = 204;
constexpr TFontCharset THAI_CHARSET = 222;
constexpr TFontCharset EASTEUROPE_CHARSET = 238;
constexpr TFontCharset OEM_CHARSET = 255;

// A font as the VCL describes it. Height is the master value (pixels at 96 dpi: negative is the
// character height, positive the cell height); Size is derived: Height = -MulDiv(Size, 96, 72).
// OnChange fires after every setter that changes something, and after Assign.
class TFont : public TPersistent {
    VCL_CLASS(TFont)
    TFont();
    void Assign(TPersistent* Source) override;

    const String& GetName() const { return m_name; }
    void SetName(const String& v);
    int GetSize() const;
    void SetSize(int v);
    int GetHeight() const { return m_height; }
    void SetHeight(int v);
    TColor GetColor() const { return m_color; }
    void SetColor(TColor v);
    TFontStyles GetStyle() const { return m_style; }
    void SetStyle(TFontStyles v);
    TFontCharset GetCharset() const { return m_charset; }
    void SetCharset(TFontCharset v);
    TFontPitch GetPitch() const { return m_pitch; }
    void SetPitch(TFontPitch v);
    int GetPixelsPerInch() const { return 96; }
    // True when every attribute equals Other's (ignores OnChange).
    bool SameAs(const TFont& Other) const;

    TNotifyEvent OnChange;

private:
    void Changed();
    String m_name = "Tahoma";
    int m_height = -11;  // 8 points
    TColor m_color = clWindowText;
    TFontStyles m_style;
    TFontCharset m_charset = DEFAULT_CHARSET;
    TFontPitch m_pitch = fpDefault;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
// Raster operations of a pen (Win32 R2_* minus one, in that order).
enum TPenMode {
    pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
    pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};

class TPen : public TPersistent {
    VCL_CLASS(TPen)
    void Assign(TPersistent* Source) override;
    TColor GetColor() const { return m_color; }
    void SetColor(TColor v);
    int GetWidth() const { return m_width; }
    // Widths below 1 count as 1.
    void SetWidth(int v);
    TPenStyle GetStyle() const { return m_style; }
    void SetStyle(TPenStyle v);
    TPenMode GetMode() const { return m_mode; }
    void SetMode(TPenMode v);
    TNotifyEvent OnChange;

private:
    void Changed() { if (OnChange) OnChange(this); }
    TColor m_color = clBlack;
    int m_width = 1;
    TPenStyle m_style = psSolid;
    TPenMode m_mode = pmCopy;
};

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

class TBrush : public TPersistent {
    VCL_CLASS(TBrush)
    void Assign(TPersistent* Source) override;
    TColor GetColor() const { return m_color; }
    // Setting a colour while the style is bsClear makes it bsSolid, as the VCL does.
    void SetColor(TColor v);
    TBrushStyle GetStyle() const { return m_style; }
    void SetStyle(TBrushStyle v);
    TNotifyEvent OnChange;

private:
    void Changed() { if (OnChange) OnChange(this); }
    TColor m_color = clWhite;
    TBrushStyle m_style = bsSolid;
};

// ---- graphics ----------------------------------------------------------------------------------

class TCanvas;

// A picture that can be loaded, saved and drawn. LoadFromFile/SaveToFile go through
// LoadFromStream/SaveToStream; bad data raises EInvalidGraphic (or a subclass).
class TGraphic : public TPersistent {
    VCL_CLASS(TGraphic)
    virtual int GetWidth() const = 0;
    virtual int GetHeight() const = 0;
    virtual void SetWidth(int v) = 0;
    virtual void SetHeight(int v) = 0;
    virtual bool GetEmpty() const = 0;
    bool GetTransparent() const { return m_transparent; }
    virtual void SetTransparent(bool v);
    bool GetModified() const { return m_modified; }
    void SetModified(bool v);

    virtual void LoadFromFile(const String& FileName);
    virtual void SaveToFile(const String& FileName);
    virtual void LoadFromStream(TStream* Stream) = 0;
    virtual void SaveToStream(TStream* Stream) = 0;

    // Draws the whole picture stretched into Rect of ACanvas (TCanvas::Draw/StretchDraw call it).
    virtual void Draw(TCanvas* ACanvas, const TRect& Rect) = 0;

    // Fires after every change of the picture (size, pixels, load, Transparent).
    TNotifyEvent OnChange;

protected:
    virtual void Changed();

private:
    bool m_transparent = false;
    bool m_modified = false;
};

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TTransparentMode { tmAuto, tmFixed };

// Bits per pixel of a format as stored (pfDevice and pfCustom: 32).
int PixelFormatBits(TPixelFormat Format);

// A device-independent bitmap.
//   Memory: one block of Height rows, bottom-up, each BytesPerScanline(Width, bits, 32) long,
//   pixels blue-green-red(-reserved); 1/4/8-bit rows hold palette indices (high bits first).
//   ScanLine(y) is row y counted from the top: ScanLine(Height-1) is the start of the block.
//   pfDevice is stored as pf32bit; a new bitmap is pfDevice and empty.
//   Palette formats keep their palette; SaveToFile writes them back at their depth. Drawing on
//   the bitmap through its Canvas first converts a format other than pf24bit/pf32bit/pfDevice to
//   pf24bit (the pixels stay the same colours).
//   Growing keeps the old pixels at the top-left and fills the new area with white
//   (index 0 for palette formats); shrinking crops.
class TBitmap : public TGraphic {
    VCL_CLASS(TBitmap)
    TBitmap();
    TBitmap(int AWidth, int AHeight, TPixelFormat Format = pfDevice);
    ~TBitmap() override;

    // Deep copy of a TBitmap (pixels, format, palette, transparency); a TJPEGImage decodes
    // into this bitmap; nullptr empties it.
    void Assign(TPersistent* Source) override;

    int GetWidth() const override { return m_width; }
    int GetHeight() const override { return m_height; }
    void SetWidth(int v) override;
    void SetHeight(int v) override;
    // Raises EInvalidGraphicOperation for negative or absurd sizes (each side at most 32768).
    void SetSize(int AWidth, int AHeight);
    bool GetEmpty() const override { return m_width == 0 || m_height == 0; }

    TPixelFormat GetPixelFormat() const { return m_format; }
    // Converts the pixels; to a palette format they map to the nearest colour of a standard
    // palette (black and white; the 16 VGA colours; a 6x6x6 cube with greys).
    void SetPixelFormat(TPixelFormat v);
    int BitsPerPixel() const { return PixelFormatBits(m_format); }
    int RowStride() const;  // bytes per row, a multiple of 4

    // Row y from the top; raises EInvalidGraphicOperation "Scan line index out of range".
    void* ScanLine(int Row);
    const void* ScanLine(int Row) const;
    // The whole pixel block (nullptr when empty) and its size in bytes.
    Byte* Bits() { return m_bits.empty() ? nullptr : m_bits.data(); }
    const Byte* Bits() const { return m_bits.empty() ? nullptr : m_bits.data(); }
    size_t BitsSize() const { return m_bits.size(); }

    // The palette of a pf1bit/pf4bit/pf8bit bitmap (empty for the others).
    const std::vector<TRGBQuad>& GetPalette() const { return m_palette; }
    // Replaces the palette of a palette format (at most 1 << bits entries).
    void SetPalette(const std::vector<TRGBQuad>& Palette);

    // The colour of a pixel (any format) as 0x00BBGGRR; CLR_INVALID outside the bitmap.
    COLORREF GetPixelColor(int X, int Y) const;

    TColor GetTransparentColor() const;
    // Sets the key colour and TransparentMode to tmFixed.
    void SetTransparentColor(TColor v);
    TTransparentMode GetTransparentMode() const { return m_transparentMode; }
    // tmAuto: the key is the bottom-left pixel's colour (clDefault when empty).
    void SetTransparentMode(TTransparentMode v);

    void LoadFromStream(TStream* Stream) override;
    void SaveToStream(TStream* Stream) override;
    // A BMP compiled into the program (type "BITMAP"), with or without its file header;
    // raises EResNotFound "Resource X not found".
    void LoadFromResourceName(HINSTANCE Instance, const String& ResName);

    // The canvas drawing on this bitmap, created on first use and owned by the bitmap.
    TCanvas* GetCanvas();
    // Releases nothing (no GDI handles); kept for code that calls it.
    void Dormant() {}
    void FreeImage() {}

    void Draw(TCanvas* ACanvas, const TRect& Rect) override;

    // Replaces the whole image (used by codecs): Bits must be Height rows of RowStride bytes.
    void SetImage(int AWidth, int AHeight, TPixelFormat Format, std::vector<Byte> Bits,
                  std::vector<TRGBQuad> Palette = {});
    // Called by the canvas before it writes pixels: converts palette and 16-bit formats to pf24bit.
    void PrepareForDrawing();
    // Tells listeners the pixels changed (the canvas calls it after drawing).
    void PixelsChanged() { Changed(); }

private:
    void Resize(int AWidth, int AHeight);
    void Convert(TPixelFormat To);
    int m_width = 0;
    int m_height = 0;
    TPixelFormat m_format = pfDevice;
    std::vector<Byte> m_bits;
    std::vector<TRGBQuad> m_palette;
    TColor m_transparentColor = clDefault;
    TTransparentMode m_transparentMode = tmAuto;
    std::unique_ptr<TCanvas> m_canvas;
};

// Holds one graphic of any class; LoadFromFile picks the class by extension
// (.bmp: TBitmap; .jpg, .jpeg, .jpe, .jfif: TJPEGImage), otherwise EInvalidGraphic
// "Unknown picture file extension (.xyz)".
class TPicture : public TPersistent {
    VCL_CLASS(TPicture)
    TPicture();
    ~TPicture() override;
    // TPicture: copies its graphic; TGraphic: copies it; nullptr: clears.
    void Assign(TPersistent* Source) override;

    TGraphic* GetGraphic() const { return m_graphic.get(); }
    // Keeps a copy of Value (of the same class); nullptr clears.
    void SetGraphic(TGraphic* Value);
    // The graphic as a bitmap: a TJPEGImage is converted, none becomes an empty TBitmap.
    TBitmap* GetBitmap();
    void SetBitmap(TBitmap* Value) { SetGraphic(Value); }
    int GetWidth() const;
    int GetHeight() const;

    void LoadFromFile(const String& FileName);
    // Raises EInvalidGraphicOperation when there is no graphic.
    void SaveToFile(const String& FileName);

    TNotifyEvent OnChange;

private:
    void Take(std::unique_ptr<TGraphic> g);
    void GraphicChanged();
    std::unique_ptr<TGraphic> m_graphic;
};

// ---- the canvas --------------------------------------------------------------------------------

// DrawText formats.
constexpr UINT DT_TOP = 0x0000;
constexpr UINT DT_LEFT = 0x0000;
constexpr UINT DT_CENTER = 0x0001;
constexpr UINT DT_RIGHT = 0x0002;
constexpr UINT DT_VCENTER = 0x0004;
constexpr UINT DT_BOTTOM = 0x0008;
constexpr UINT DT_WORDBREAK = 0x0010;
constexpr UINT DT_SINGLELINE = 0x0020;
constexpr UINT DT_EXPANDTABS = 0x0040;
constexpr UINT DT_TABSTOP = 0x0080;
constexpr UINT DT_NOCLIP = 0x0100;
constexpr UINT DT_EXTERNALLEADING = 0x0200;
constexpr UINT DT_CALCRECT = 0x0400;
constexpr UINT DT_NOPREFIX = 0x0800;
constexpr UINT DT_INTERNAL = 0x1000;
constexpr UINT DT_EDITCONTROL = 0x2000;
constexpr UINT DT_PATH_ELLIPSIS = 0x4000;
constexpr UINT DT_END_ELLIPSIS = 0x8000;
constexpr UINT DT_MODIFYSTRING = 0x10000;
constexpr UINT DT_RTLREADING = 0x20000;
constexpr UINT DT_WORD_ELLIPSIS = 0x40000;
constexpr UINT DT_HIDEPREFIX = 0x100000;

// Copy modes (Win32 ternary raster operations).
using TCopyMode = DWORD;
constexpr TCopyMode cmBlackness = 0x00000042;
constexpr TCopyMode cmDstInvert = 0x00550009;
constexpr TCopyMode cmMergeCopy = 0x00C000CA;
constexpr TCopyMode cmMergePaint = 0x00BB0226;
constexpr TCopyMode cmNotSrcCopy = 0x00330008;
constexpr TCopyMode cmNotSrcErase = 0x001100A6;
constexpr TCopyMode cmPatCopy = 0x00F00021;
constexpr TCopyMode cmPatInvert = 0x005A0049;
constexpr TCopyMode cmPatPaint = 0x00FB0A09;
constexpr TCopyMode cmSrcAnd = 0x008800C6;
constexpr TCopyMode cmSrcCopy = 0x00CC0020;
constexpr TCopyMode cmSrcErase = 0x00440328;
constexpr TCopyMode cmSrcInvert = 0x00660046;
constexpr TCopyMode cmSrcPaint = 0x00EE0086;
constexpr TCopyMode cmWhiteness = 0x00FF0062;

// Draws on a TBitmap (its target). Coordinates are logical: device = logical + Origin.
// Every write is clipped to the clip rectangle (device coordinates, intersected with the
// target's bounds each time, so resizing the target is safe).
// GDI rules: FillRect/FrameRect/Rectangle/Ellipse exclude the right and bottom edges; LineTo
// excludes the end point; Rectangle draws the pen outline over the brush interior; colours are
// exact. Brush.Style bsClear fills nothing; text with bsSolid fills its background with
// Brush.Color, with any other style draws only the glyphs.
// A negative extent in StretchDraw/CopyRect (Right < Left or Bottom < Top) mirrors, as GDI does
// for StretchBlt with a negative width: Rect(10, 0, 0, 10) covers columns 1..10, the picture's
// left column landing at 10.
// Without a target every drawing call does nothing and measuring still works.
class TCanvas : public TPersistent {
    VCL_CLASS(TCanvas)
    explicit TCanvas(TBitmap* Target = nullptr);
    ~TCanvas() override;

    // Switches to another surface (or none); resets clip, origin and the SaveDC stack.
    void SetTarget(TBitmap* Target);
    TBitmap* GetTarget() const { return m_target; }
    bool HandleAllocated() const { return m_target != nullptr; }

    TFont* GetFont() { return m_font.get(); }
    void SetFont(TFont* v) { m_font->Assign(v); }
    TPen* GetPen() { return m_pen.get(); }
    void SetPen(TPen* v) { m_pen->Assign(v); }
    TBrush* GetBrush() { return m_brush.get(); }
    void SetBrush(TBrush* v) { m_brush->Assign(v); }
    TPoint GetPenPos() const { return m_penPos; }
    void SetPenPos(TPoint p) { m_penPos = p; }
    TCopyMode GetCopyMode() const { return m_copyMode; }
    void SetCopyMode(TCopyMode v) { m_copyMode = v; }

    // ---- lines and shapes ----
    void MoveTo(int X, int Y);
    void LineTo(int X, int Y);
    void Polyline(std::initializer_list<TPoint> Points);
    void Polyline(const std::vector<TPoint>& Points);
    void Polyline(const TPoint* Points, int Count);
    void Polygon(std::initializer_list<TPoint> Points);
    void Polygon(const std::vector<TPoint>& Points);
    void Polygon(const TPoint* Points, int Count);
    void FillRect(const TRect& Rect);
    void FrameRect(const TRect& Rect);  // one pixel wide, in the brush colour
    void Rectangle(int X1, int Y1, int X2, int Y2);
    void Rectangle(const TRect& Rect) { Rectangle(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom); }
    void RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3);
    void Ellipse(int X1, int Y1, int X2, int Y2);
    void Ellipse(const TRect& Rect) { Ellipse(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom); }
    // Counter-clockwise from the ray to (X3,Y3) to the ray to (X4,Y4), as GDI.
    void Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
    void Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
    void Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
    // XOR dotted frame; drawing the same rectangle again restores the pixels.
    void DrawFocusRect(const TRect& Rect);
    // The colour at a point, CLR_INVALID (as TColor -1) outside the clip or without a target.
    TColor GetPixels(int X, int Y) const;
    void SetPixels(int X, int Y, TColor Color);

    // ---- pictures ----
    // Honours Graphic->GetTransparent(): pixels equal to the key colour are skipped.
    void Draw(int X, int Y, TGraphic* Graphic);
    // Nearest-neighbour stretch into Rect (mirrored for a negative extent).
    void StretchDraw(const TRect& Rect, TGraphic* Graphic);
    // Copies Source of Canvas into Dest with CopyMode, stretching nearest-neighbour.
    void CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source);
    // Copies Source of Bitmap into Dest, replacing pixels of Color by the brush colour.
    void BrushCopy(const TRect& Dest, TBitmap* Bitmap, const TRect& Source, TColor Color);

    // ---- text (UTF-8) ----
    // Draws at (X, Y) = top-left of the text cell; moves PenPos to (X + TextWidth, Y).
    void TextOut(int X, int Y, const String& Text);
    // Draws at (X, Y) clipped to Rect; with a solid brush Rect is filled first.
    void TextRect(const TRect& Rect, int X, int Y, const String& Text);
    TSize TextExtent(const String& Text);
    int TextWidth(const String& Text) { return TextExtent(Text).cx; }
    int TextHeight(const String& Text) { return TextExtent(Text).cy; }
    // Win32 DrawText with the DT_* flags: '&' underlines the next character and "&&" gives '&'
    // unless DT_NOPREFIX; DT_CALCRECT only measures and sets Rect.Right/Bottom to the text's bounds
    // (DT_WORDBREAK wraps at the rectangle's width, then Right becomes the widest line's end).
    // Returns the height of the text.
    int DrawText(const String& Text, TRect& Rect, UINT Format);

    // ---- clipping and origin ----
    // The clip in logical coordinates.
    TRect GetClipRect() const;
    // Narrows the clip to Rect (logical).
    void IntersectClipRect(const TRect& Rect);
    // Replaces the clip by Rect (logical), within the target's bounds.
    void SelectClipRect(const TRect& Rect);
    // Back to the whole target.
    void ResetClip();
    TPoint GetOrigin() const { return m_origin; }
    void SetOrigin(TPoint Origin) { m_origin = Origin; }
    void MoveOrigin(int DX, int DY) { m_origin.x += DX; m_origin.y += DY; }
    // Saves clip, origin, pen, brush, font and pen position; returns the level (1, 2, ...).
    int SaveDC();
    // Restores level Id (and drops the later ones); a negative Id counts back from the last
    // (-1: the most recent). False for an unknown level.
    bool RestoreDC(int Id);

    void Lock() { ++m_lockCount; }
    void Unlock() { if (m_lockCount > 0) --m_lockCount; }
    int LockCount() const { return m_lockCount; }
    void Refresh() {}

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

    // The clip in device coordinates, within the target (empty without a target).
    TRect DeviceClip() const;

private:
    struct State;
    // Pixels a shape or text covers, rasterised by the toolkit: 1 = covered.
    struct Mask {
        TRect area;  // device coordinates
        std::vector<Byte> bits;
        bool At(int x, int y) const {
            return bits[static_cast<size_t>(y - area.Top) * static_cast<size_t>(area.Width()) +
                        static_cast<size_t>(x - area.Left)] != 0;
        }
    };
    enum ShapeKind { skEllipse, skRoundRect, skArc, skChord, skPie, skPolygon, skPolyline };
    void Changing();
    void Changed();
    bool BeginDraw();
    void EndDraw();
    TRect ToDevice(const TRect& r) const;
    void FillDevice(const TRect& r, bool usePenMode);
    void PenLine(int x1, int y1, int x2, int y2);
    void PenPixel(int x, int y);
    void ApplyMasks(const Mask* brush, const Mask* pen);
    void ApplyTextMask(const Mask& glyphs, COLORREF colour);
    void DrawShape(ShapeKind kind, const TRect& box, const int* extra, const TPoint* pts, int count);
    void PolyPoints(ShapeKind kind, const TPoint* Points, int Count);
    void StretchCopy(const TRect& dest, const TBitmap& src, const TRect& srcRect, bool keyed,
                     COLORREF key, TCopyMode mode);
    friend class TBitmap;

    TBitmap* m_target = nullptr;
    std::unique_ptr<TFont> m_font;
    std::unique_ptr<TPen> m_pen;
    std::unique_ptr<TBrush> m_brush;
    TPoint m_penPos;
    int m_penDashPhase = 0;
    TCopyMode m_copyMode = cmSrcCopy;
    TPoint m_origin;
    bool m_hasClip = false;
    TRect m_clip;  // device coordinates when m_hasClip
    std::vector<State> m_saved;
    int m_lockCount = 0;
};

// Win32-shaped DrawText on a canvas: Count -1 takes the whole string.
int DrawText(TCanvas* Canvas, const String& Text, int Count, TRect* Rect, UINT Format);

// The family the toolkit really draws Font with (after substitutions), for logs and tests.
String FontFamilyInUse(const TFont& Font);

// Registers the program's fonts with the toolkit (Tahoma and the stand-ins for Arial,
// Times New Roman and Courier New). Call once the QApplication exists; calling again is harmless.
void Graphics_RegisterFonts();
