// TCanvas: state, clipping, and the pixel-exact primitives working on the DIB memory.
#include "platform/vcl/Graphics.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr COLORREF White = 0xFFFFFF;

// A writable view of the target's pixels (24 or 32 bits per pixel after PrepareForDrawing).
struct Surface {
    Byte* bits = nullptr;
    int stride = 0;
    int bpp = 0;
    int height = 0;

    explicit Surface(TBitmap& b)
        : bits(b.Bits()), stride(b.RowStride()), bpp(b.BitsPerPixel() / 8), height(b.GetHeight()) {}
    Byte* At(int x, int y) const {
        return bits + static_cast<size_t>(height - 1 - y) * static_cast<size_t>(stride) +
               static_cast<size_t>(x) * static_cast<size_t>(bpp);
    }
    COLORREF Get(int x, int y) const {
        const Byte* p = At(x, y);
        return RGB(p[2], p[1], p[0]);
    }
    void Set(int x, int y, COLORREF c) const {
        Byte* p = At(x, y);
        p[0] = GetBValue(c);
        p[1] = GetGValue(c);
        p[2] = GetRValue(c);
    }
};

COLORREF PenRop(TPenMode mode, COLORREF p, COLORREF d) {
    COLORREF r = 0;
    switch (mode) {
        case pmBlack: r = 0; break;
        case pmWhite: r = White; break;
        case pmNop: r = d; break;
        case pmNot: r = ~d; break;
        case pmCopy: r = p; break;
        case pmNotCopy: r = ~p; break;
        case pmMergePenNot: r = p | ~d; break;
        case pmMaskPenNot: r = p & ~d; break;
        case pmMergeNotPen: r = ~p | d; break;
        case pmMaskNotPen: r = ~p & d; break;
        case pmMerge: r = p | d; break;
        case pmNotMerge: r = ~(p | d); break;
        case pmMask: r = p & d; break;
        case pmNotMask: r = ~(p & d); break;
        case pmXor: r = p ^ d; break;
        case pmNotXor: r = ~(p ^ d); break;
    }
    return r & White;
}

COLORREF CopyRop(TCopyMode mode, COLORREF s, COLORREF d, COLORREF pat) {
    COLORREF r = s;
    switch (mode) {
        case cmBlackness: r = 0; break;
        case cmWhiteness: r = White; break;
        case cmDstInvert: r = ~d; break;
        case cmSrcPaint: r = s | d; break;
        case cmSrcAnd: r = s & d; break;
        case cmSrcInvert: r = s ^ d; break;
        case cmSrcErase: r = s & ~d; break;
        case cmNotSrcCopy: r = ~s; break;
        case cmNotSrcErase: r = ~(s | d); break;
        case cmMergePaint: r = ~s | d; break;
        case cmMergeCopy: r = s & pat; break;
        case cmPatCopy: r = pat; break;
        case cmPatInvert: r = pat ^ d; break;
        case cmPatPaint: r = pat | ~s | d; break;
        default: r = s; break;
    }
    return r & White;
}

// Whether a hatch brush paints device pixel (x, y); hatches repeat every 8 pixels.
bool HatchAt(TBrushStyle style, int x, int y) {
    bool h = (y & 7) == 0;
    bool v = (x & 7) == 0;
    bool f = ((x - y) & 7) == 0;
    bool b = ((x + y) & 7) == 0;
    switch (style) {
        case bsHorizontal: return h;
        case bsVertical: return v;
        case bsFDiagonal: return f;
        case bsBDiagonal: return b;
        case bsCross: return h || v;
        case bsDiagCross: return f || b;
        default: return true;
    }
}

// On/off run lengths of the cosmetic dash styles.
const std::vector<int>& DashPattern(TPenStyle style) {
    static const std::vector<int> solid;
    static const std::vector<int> dash{18, 6};
    static const std::vector<int> dot{3, 3};
    static const std::vector<int> dashDot{9, 6, 3, 6};
    static const std::vector<int> dashDotDot{9, 3, 3, 3, 3, 3};
    switch (style) {
        case psDash: return dash;
        case psDot: return dot;
        case psDashDot: return dashDot;
        case psDashDotDot: return dashDotDot;
        default: return solid;
    }
}

bool DashOn(TPenStyle style, int phase) {
    const auto& pat = DashPattern(style);
    if (pat.empty()) return true;
    int period = 0;
    for (int n : pat) period += n;
    int p = phase % period;
    for (size_t i = 0; i < pat.size(); ++i) {
        if (p < pat[i]) return (i % 2) == 0;
        p -= pat[i];
    }
    return true;
}

TRect Intersect(const TRect& a, const TRect& b) {
    TRect r;
    IntersectRect(r, a, b);
    return r;
}

// One axis of a stretch: GDI covers [start + extent + 1, start + 1) for a negative extent.
struct Span {
    int first = 0;   // lowest pixel
    int count = 0;   // pixels covered
    bool reversed = false;
};

Span MakeSpan(int start, int end) {
    int extent = end - start;
    if (extent >= 0) return Span{start, extent, false};
    return Span{end + 1, -extent, true};
}

}  // namespace

struct TCanvas::State {
    bool hasClip = false;
    TRect clip;
    TPoint origin;
    TPoint penPos;
    TColor penColor = clBlack;
    int penWidth = 1;
    TPenStyle penStyle = psSolid;
    TPenMode penMode = pmCopy;
    TColor brushColor = clWhite;
    TBrushStyle brushStyle = bsSolid;
    std::shared_ptr<TFont> font;
    TCopyMode copyMode = cmSrcCopy;
};

TCanvas::TCanvas(TBitmap* Target)
    : m_target(Target), m_font(std::make_unique<TFont>()), m_pen(std::make_unique<TPen>()),
      m_brush(std::make_unique<TBrush>()) {}

TCanvas::~TCanvas() = default;

void TCanvas::SetTarget(TBitmap* Target) {
    m_target = Target;
    m_hasClip = false;
    m_origin = {};
    m_saved.clear();
}

void TCanvas::Changing() {
    if (OnChanging) OnChanging(this);
}

void TCanvas::Changed() {
    if (OnChange) OnChange(this);
    if (m_target) m_target->PixelsChanged();
}

bool TCanvas::BeginDraw() {
    if (m_target == nullptr || m_target->GetEmpty()) return false;
    m_target->PrepareForDrawing();
    Changing();
    return true;
}

void TCanvas::EndDraw() { Changed(); }

TRect TCanvas::ToDevice(const TRect& r) const {
    return {r.Left + m_origin.x, r.Top + m_origin.y, r.Right + m_origin.x, r.Bottom + m_origin.y};
}

TRect TCanvas::DeviceClip() const {
    if (m_target == nullptr) return {};
    TRect bounds{0, 0, m_target->GetWidth(), m_target->GetHeight()};
    return m_hasClip ? Intersect(bounds, m_clip) : bounds;
}

// ---- clipping, origin, saved states -----------------------------------------------------------

TRect TCanvas::GetClipRect() const {
    TRect c = m_target ? DeviceClip() : (m_hasClip ? m_clip : TRect{});
    return {c.Left - m_origin.x, c.Top - m_origin.y, c.Right - m_origin.x, c.Bottom - m_origin.y};
}

void TCanvas::IntersectClipRect(const TRect& Rect) {
    TRect d = ToDevice(Rect);
    m_clip = m_hasClip ? Intersect(m_clip, d) : (m_target ? Intersect(DeviceClip(), d) : d);
    if (m_clip.IsEmpty()) m_clip = {};
    m_hasClip = true;
}

void TCanvas::SelectClipRect(const TRect& Rect) {
    m_clip = ToDevice(Rect);
    if (m_clip.IsEmpty()) m_clip = {};
    m_hasClip = true;
}

void TCanvas::ResetClip() { m_hasClip = false; }

int TCanvas::SaveDC() {
    State s;
    s.hasClip = m_hasClip;
    s.clip = m_clip;
    s.origin = m_origin;
    s.penPos = m_penPos;
    s.penColor = m_pen->GetColor();
    s.penWidth = m_pen->GetWidth();
    s.penStyle = m_pen->GetStyle();
    s.penMode = m_pen->GetMode();
    s.brushColor = m_brush->GetColor();
    s.brushStyle = m_brush->GetStyle();
    s.font = std::make_shared<TFont>();
    s.font->Assign(m_font.get());
    s.copyMode = m_copyMode;
    m_saved.push_back(std::move(s));
    return static_cast<int>(m_saved.size());
}

bool TCanvas::RestoreDC(int Id) {
    int level = Id < 0 ? static_cast<int>(m_saved.size()) + 1 + Id : Id;
    if (level < 1 || level > static_cast<int>(m_saved.size())) return false;
    State s = std::move(m_saved[static_cast<size_t>(level - 1)]);
    m_saved.resize(static_cast<size_t>(level - 1));
    m_hasClip = s.hasClip;
    m_clip = s.clip;
    m_origin = s.origin;
    m_penPos = s.penPos;
    m_pen->SetColor(s.penColor);
    m_pen->SetWidth(s.penWidth);
    m_pen->SetStyle(s.penStyle);
    m_pen->SetMode(s.penMode);
    m_brush->SetColor(s.brushColor);
    m_brush->SetStyle(s.brushStyle);
    m_font->Assign(s.font.get());
    m_copyMode = s.copyMode;
    return true;
}

// ---- pixels and fills -------------------------------------------------------------------------

TColor TCanvas::GetPixels(int X, int Y) const {
    TPoint d{X + m_origin.x, Y + m_origin.y};
    if (m_target == nullptr || !DeviceClip().Contains(d)) return static_cast<TColor>(CLR_INVALID);
    return static_cast<TColor>(m_target->GetPixelColor(d.x, d.y));
}

void TCanvas::SetPixels(int X, int Y, TColor Color) {
    TPoint d{X + m_origin.x, Y + m_origin.y};
    if (!BeginDraw()) return;
    if (DeviceClip().Contains(d)) Surface(*m_target).Set(d.x, d.y, ColorToRGB(Color));
    EndDraw();
}

// Paints the brush over r (device coordinates) within the clip; bsClear paints nothing.
void TCanvas::FillDevice(const TRect& r, bool usePenMode) {
    TBrushStyle style = m_brush->GetStyle();
    if (style == bsClear) return;
    TRect area = Intersect(r, DeviceClip());
    if (area.IsEmpty()) return;
    Surface s(*m_target);
    COLORREF c = ColorToRGB(m_brush->GetColor());
    TPenMode mode = usePenMode ? m_pen->GetMode() : pmCopy;
    for (int y = area.Top; y < area.Bottom; ++y)
        for (int x = area.Left; x < area.Right; ++x)
            if (HatchAt(style, x, y)) s.Set(x, y, mode == pmCopy ? c : PenRop(mode, c, s.Get(x, y)));
}

void TCanvas::FillRect(const TRect& Rect) {
    if (!BeginDraw()) return;
    FillDevice(ToDevice(Rect), false);
    EndDraw();
}

void TCanvas::FrameRect(const TRect& Rect) {
    TRect r = ToDevice(Rect);
    if (r.IsEmpty() || !BeginDraw()) return;
    FillDevice({r.Left, r.Top, r.Right, r.Top + 1}, false);
    if (r.Height() > 1) FillDevice({r.Left, r.Bottom - 1, r.Right, r.Bottom}, false);
    FillDevice({r.Left, r.Top + 1, r.Left + 1, r.Bottom - 1}, false);
    if (r.Width() > 1) FillDevice({r.Right - 1, r.Top + 1, r.Right, r.Bottom - 1}, false);
    EndDraw();
}

void TCanvas::DrawFocusRect(const TRect& Rect) {
    TRect r = ToDevice(Rect);
    if (r.IsEmpty() || !BeginDraw()) return;
    TRect clip = DeviceClip();
    Surface s(*m_target);
    auto flip = [&](int x, int y) {
        if (((x + y) & 1) == 0 && clip.Contains({x, y})) s.Set(x, y, ~s.Get(x, y) & White);
    };
    // Every frame pixel once, so that a second call restores the first.
    for (int x = r.Left; x < r.Right; ++x) {
        flip(x, r.Top);
        if (r.Bottom - 1 > r.Top) flip(x, r.Bottom - 1);
    }
    for (int y = r.Top + 1; y < r.Bottom - 1; ++y) {
        flip(r.Left, y);
        if (r.Right - 1 > r.Left) flip(r.Right - 1, y);
    }
    EndDraw();
}

// ---- lines ------------------------------------------------------------------------------------

void TCanvas::PenPixel(int x, int y) {
    if (!DeviceClip().Contains({x, y})) return;
    Surface s(*m_target);
    COLORREF c = ColorToRGB(m_pen->GetColor());
    TPenMode mode = m_pen->GetMode();
    s.Set(x, y, mode == pmCopy ? c : PenRop(mode, c, s.Get(x, y)));
}

// A one-pixel line in device coordinates, end point excluded, dashes continuing from the
// previous segment.
void TCanvas::PenLine(int x1, int y1, int x2, int y2) {
    TPenStyle style = m_pen->GetStyle();
    if (style == psClear) return;
    int dx = std::abs(x2 - x1);
    int dy = std::abs(y2 - y1);
    int sx = x1 < x2 ? 1 : -1;
    int sy = y1 < y2 ? 1 : -1;
    int err = dx - dy;
    int x = x1;
    int y = y1;
    while (x != x2 || y != y2) {
        if (DashOn(style, m_penDashPhase)) PenPixel(x, y);
        ++m_penDashPhase;
        int e2 = 2 * err;
        if (e2 > -dy) { err -= dy; x += sx; }
        if (e2 < dx) { err += dx; y += sy; }
    }
}

void TCanvas::MoveTo(int X, int Y) {
    m_penPos = {X, Y};
    m_penDashPhase = 0;
}

void TCanvas::LineTo(int X, int Y) {
    TPoint from = m_penPos;
    m_penPos = {X, Y};
    if (!BeginDraw()) return;
    if (m_pen->GetWidth() > 1 && m_pen->GetStyle() != psClear) {
        TPoint pts[2] = {from, {X, Y}};
        PolyPoints(skPolyline, pts, 2);
    } else {
        PenLine(from.x + m_origin.x, from.y + m_origin.y, X + m_origin.x, Y + m_origin.y);
    }
    EndDraw();
}

void TCanvas::Polyline(std::initializer_list<TPoint> Points) { Polyline(Points.begin(), static_cast<int>(Points.size())); }
void TCanvas::Polyline(const std::vector<TPoint>& Points) { Polyline(Points.data(), static_cast<int>(Points.size())); }

void TCanvas::Polyline(const TPoint* Points, int Count) {
    if (Count < 2 || !BeginDraw()) return;
    if (m_pen->GetWidth() > 1) {
        PolyPoints(skPolyline, Points, Count);
    } else {
        m_penDashPhase = 0;
        for (int i = 1; i < Count; ++i)
            PenLine(Points[i - 1].x + m_origin.x, Points[i - 1].y + m_origin.y, Points[i].x + m_origin.x,
                    Points[i].y + m_origin.y);
    }
    EndDraw();
}

void TCanvas::Polygon(std::initializer_list<TPoint> Points) { Polygon(Points.begin(), static_cast<int>(Points.size())); }
void TCanvas::Polygon(const std::vector<TPoint>& Points) { Polygon(Points.data(), static_cast<int>(Points.size())); }

void TCanvas::Polygon(const TPoint* Points, int Count) {
    if (Count < 2 || !BeginDraw()) return;
    PolyPoints(skPolygon, Points, Count);
    EndDraw();
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2) {
    TRect r = ToDevice({std::min(X1, X2), std::min(Y1, Y2), std::max(X1, X2), std::max(Y1, Y2)});
    if (r.IsEmpty() || !BeginDraw()) return;
    int w = m_pen->GetWidth();
    TPenStyle style = m_pen->GetStyle();
    if (style == psClear) {
        // As GDI: without a pen the filled area is one pixel smaller to the right and bottom.
        FillDevice({r.Left, r.Top, r.Right - 1, r.Bottom - 1}, true);
        EndDraw();
        return;
    }
    // A wide pen straddles the outline (inside it for psInsideFrame); rings drawn outside in.
    int outside = style == psInsideFrame ? 0 : w / 2;
    int inner = w - outside;
    for (int k = 0; k < w; ++k) {
        TRect f = r;
        InflateRect(f, outside - k, outside - k);
        if (f.IsEmpty()) break;
        m_penDashPhase = 0;
        if (f.Width() == 1 || f.Height() == 1) {
            // A degenerate ring is a line: draw each pixel once.
            for (int y = f.Top; y < f.Bottom; ++y)
                for (int x = f.Left; x < f.Right; ++x) PenPixel(x, y);
            continue;
        }
        PenLine(f.Left, f.Top, f.Right - 1, f.Top);
        PenLine(f.Right - 1, f.Top, f.Right - 1, f.Bottom - 1);
        PenLine(f.Right - 1, f.Bottom - 1, f.Left, f.Bottom - 1);
        PenLine(f.Left, f.Bottom - 1, f.Left, f.Top);
    }
    TRect interior = r;
    InflateRect(interior, -inner, -inner);
    if (!interior.IsEmpty()) FillDevice(interior, true);
    EndDraw();
}

// ---- masks from Qt ----------------------------------------------------------------------------

void TCanvas::ApplyMasks(const Mask* brush, const Mask* pen) {
    TRect clip = DeviceClip();
    Surface s(*m_target);
    TPenMode mode = m_pen->GetMode();
    COLORREF penColour = ColorToRGB(m_pen->GetColor());
    COLORREF brushColour = ColorToRGB(m_brush->GetColor());
    TBrushStyle brushStyle = m_brush->GetStyle();
    TRect area = brush ? brush->area : pen->area;
    if (brush && pen) {
        area = {std::min(brush->area.Left, pen->area.Left), std::min(brush->area.Top, pen->area.Top),
                std::max(brush->area.Right, pen->area.Right), std::max(brush->area.Bottom, pen->area.Bottom)};
    }
    area = Intersect(area, clip);
    for (int y = area.Top; y < area.Bottom; ++y) {
        for (int x = area.Left; x < area.Right; ++x) {
            TPoint p{x, y};
            if (pen && pen->area.Contains(p) && pen->At(x, y)) {
                s.Set(x, y, PenRop(mode, penColour, s.Get(x, y)));
            } else if (brush && brushStyle != bsClear && brush->area.Contains(p) && brush->At(x, y) &&
                       HatchAt(brushStyle, x, y)) {
                s.Set(x, y, PenRop(mode, brushColour, s.Get(x, y)));
            }
        }
    }
}

void TCanvas::ApplyTextMask(const Mask& glyphs, COLORREF colour) {
    TRect area = Intersect(glyphs.area, DeviceClip());
    Surface s(*m_target);
    for (int y = area.Top; y < area.Bottom; ++y)
        for (int x = area.Left; x < area.Right; ++x)
            if (glyphs.At(x, y)) s.Set(x, y, colour);
}

// ---- copies -----------------------------------------------------------------------------------

void TCanvas::StretchCopy(const TRect& dest, const TBitmap& src, const TRect& srcRect, bool keyed,
                          COLORREF key, TCopyMode mode) {
    if (src.GetEmpty() || !BeginDraw()) return;
    // Read from a 24/32-bit copy when the source is a palette or 16-bit bitmap, or is the target.
    const TBitmap* from = &src;
    TBitmap copy;
    int srcBits = src.BitsPerPixel();
    if (&src == m_target || (srcBits != 24 && srcBits != 32)) {
        copy.Assign(const_cast<TBitmap*>(&src));
        copy.SetPixelFormat(pf32bit);
        from = &copy;
    }
    TRect d = ToDevice(dest);
    Span dx = MakeSpan(d.Left, d.Right);
    Span dy = MakeSpan(d.Top, d.Bottom);
    Span sx = MakeSpan(srcRect.Left, srcRect.Right);
    Span sy = MakeSpan(srcRect.Top, srcRect.Bottom);
    if (dx.count == 0 || dy.count == 0 || sx.count == 0 || sy.count == 0) {
        EndDraw();
        return;
    }
    bool mirrorX = dx.reversed != sx.reversed;
    bool mirrorY = dy.reversed != sy.reversed;
    TRect clip = DeviceClip();
    TRect area = Intersect({dx.first, dy.first, dx.first + dx.count, dy.first + dy.count}, clip);
    Surface out(*m_target);
    const int sBpp = from->BitsPerPixel() / 8;
    const int sStride = from->RowStride();
    const int sHeight = from->GetHeight();
    const int sWidth = from->GetWidth();
    const Byte* sBits = from->Bits();
    const bool copyReserved = mode == cmSrcCopy && sBpp == 4 && out.bpp == 4;
    COLORREF pat = ColorToRGB(m_brush->GetColor());
    std::vector<int> columns(static_cast<size_t>(std::max(0, area.Width())));
    for (int x = area.Left; x < area.Right; ++x) {
        // Nearest neighbour by pixel centres, as COLORONCOLOR deletes columns.
        Int64 i = x - dx.first;
        Int64 j = ((2 * i + 1) * sx.count) / (2 * static_cast<Int64>(dx.count));
        if (mirrorX) j = sx.count - 1 - j;
        columns[static_cast<size_t>(x - area.Left)] = sx.first + static_cast<int>(j);
    }
    for (int y = area.Top; y < area.Bottom; ++y) {
        Int64 i = y - dy.first;
        Int64 j = ((2 * i + 1) * sy.count) / (2 * static_cast<Int64>(dy.count));
        if (mirrorY) j = sy.count - 1 - j;
        int srcY = sy.first + static_cast<int>(j);
        if (srcY < 0 || srcY >= sHeight) continue;
        const Byte* row = sBits + static_cast<size_t>(sHeight - 1 - srcY) * static_cast<size_t>(sStride);
        for (int x = area.Left; x < area.Right; ++x) {
            int srcX = columns[static_cast<size_t>(x - area.Left)];
            if (srcX < 0 || srcX >= sWidth) continue;
            const Byte* p = row + static_cast<size_t>(srcX) * static_cast<size_t>(sBpp);
            COLORREF c = RGB(p[2], p[1], p[0]);
            if (keyed && c == key) continue;
            if (mode == cmSrcCopy) {
                out.Set(x, y, c);
                if (copyReserved) out.At(x, y)[3] = p[3];
            } else {
                out.Set(x, y, CopyRop(mode, c, out.Get(x, y), pat));
            }
        }
    }
    EndDraw();
}

void TCanvas::Draw(int X, int Y, TGraphic* Graphic) {
    if (Graphic == nullptr || Graphic->GetEmpty()) return;
    Graphic->Draw(this, Bounds(X, Y, Graphic->GetWidth(), Graphic->GetHeight()));
}

void TCanvas::StretchDraw(const TRect& Rect, TGraphic* Graphic) {
    if (Graphic == nullptr || Graphic->GetEmpty()) return;
    Graphic->Draw(this, Rect);
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source) {
    if (Canvas == nullptr || Canvas->m_target == nullptr) return;
    TRect s = Canvas->ToDevice(Source);
    StretchCopy(Dest, *Canvas->m_target, s, false, 0, m_copyMode);
}

void TCanvas::BrushCopy(const TRect& Dest, TBitmap* Bitmap, const TRect& Source, TColor Color) {
    if (Bitmap == nullptr || Bitmap->GetEmpty()) return;
    TBitmap work;
    work.Assign(Bitmap);
    work.SetPixelFormat(pf32bit);
    COLORREF from = ColorToRGB(Color);
    COLORREF to = ColorToRGB(m_brush->GetColor());
    Surface s(work);
    for (int y = 0; y < work.GetHeight(); ++y)
        for (int x = 0; x < work.GetWidth(); ++x)
            if (s.Get(x, y) == from) s.Set(x, y, to);
    StretchCopy(Dest, work, Source, false, 0, cmSrcCopy);
}

int DrawText(TCanvas* Canvas, const String& Text, int Count, TRect* Rect, UINT Format) {
    if (Canvas == nullptr || Rect == nullptr) return 0;
    String s = Count < 0 || Count >= static_cast<int>(Text.size()) ? Text : Text.substr(0, static_cast<size_t>(Count));
    return Canvas->DrawText(s, *Rect, Format);
}
