// TCanvas: text and curved shapes. The toolkit rasterises them into coverage masks
// (QtCanvasText.cpp); the canvas applies those with exact colours, its clip and its origin.
#include "platform/vcl/Graphics.h"

#include "platform/vcl/QtCanvasText.h"

namespace {

TMaskShape MaskShapeOf(int kind) {
    constexpr TMaskShape shapes[] = {TMaskShape::Ellipse, TMaskShape::RoundRect, TMaskShape::Arc, TMaskShape::Chord,
                                     TMaskShape::Pie,     TMaskShape::Polygon,   TMaskShape::Polyline};
    return shapes[kind];
}

}  // namespace

// ---- shapes -----------------------------------------------------------------------------------

void TCanvas::DrawShape(ShapeKind kind, const TRect& box, const int* extra, const TPoint* pts, int count) {
    bool closed = kind != skArc && kind != skPolyline;
    bool hasPen = m_pen->GetStyle() != psClear;
    bool hasBrush = closed && m_brush->GetStyle() != bsClear;
    if (!hasPen && !hasBrush) return;
    int w = m_pen->GetWidth();
    TRect dev = ToDevice(box);
    InflateRect(dev, w + 1, w + 1);
    TRect area;
    if (!IntersectRect(area, dev, DeviceClip())) return;

    TMaskShapeGeometry shape{MaskShapeOf(kind), box, extra, pts, count};
    Mask brush;
    Mask pen;
    // The outline is included in the fill so that brush and pen leave no gap between them.
    if (hasBrush) brush = Mask{area, MaskShapeFill(shape, area, m_origin, hasPen)};
    if (hasPen) pen = Mask{area, MaskShapeOutline(shape, area, m_origin, w, m_pen->GetStyle())};
    ApplyMasks(hasBrush ? &brush : nullptr, hasPen ? &pen : nullptr);
}

void TCanvas::PolyPoints(ShapeKind kind, const TPoint* Points, int Count) {
    TRect box{Points[0].x, Points[0].y, Points[0].x + 1, Points[0].y + 1};
    for (int i = 1; i < Count; ++i) {
        box.Left = std::min(box.Left, Points[i].x);
        box.Top = std::min(box.Top, Points[i].y);
        box.Right = std::max(box.Right, Points[i].x + 1);
        box.Bottom = std::max(box.Bottom, Points[i].y + 1);
    }
    DrawShape(kind, box, nullptr, Points, Count);
}

namespace {

TRect Normalised(int X1, int Y1, int X2, int Y2) {
    return {std::min(X1, X2), std::min(Y1, Y2), std::max(X1, X2), std::max(Y1, Y2)};
}

}  // namespace

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2) {
    TRect r = Normalised(X1, Y1, X2, Y2);
    if (r.IsEmpty() || !BeginDraw()) return;
    DrawShape(skEllipse, r, nullptr, nullptr, 0);
    EndDraw();
}

void TCanvas::RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3) {
    TRect r = Normalised(X1, Y1, X2, Y2);
    if (r.IsEmpty() || !BeginDraw()) return;
    int corner[2] = {X3, Y3};
    DrawShape(skRoundRect, r, corner, nullptr, 0);
    EndDraw();
}

void TCanvas::Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
    TRect r = Normalised(X1, Y1, X2, Y2);
    if (r.IsEmpty() || !BeginDraw()) return;
    int rays[4] = {X3, Y3, X4, Y4};
    DrawShape(skArc, r, rays, nullptr, 0);
    EndDraw();
}

void TCanvas::Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
    TRect r = Normalised(X1, Y1, X2, Y2);
    if (r.IsEmpty() || !BeginDraw()) return;
    int rays[4] = {X3, Y3, X4, Y4};
    DrawShape(skChord, r, rays, nullptr, 0);
    EndDraw();
}

void TCanvas::Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
    TRect r = Normalised(X1, Y1, X2, Y2);
    if (r.IsEmpty() || !BeginDraw()) return;
    int rays[4] = {X3, Y3, X4, Y4};
    DrawShape(skPie, r, rays, nullptr, 0);
    EndDraw();
}

// ---- text -------------------------------------------------------------------------------------

TSize TCanvas::TextExtent(const String& Text) {
    TTextLineMetrics m = MeasureTextLine(*m_font, Text);
    return {m.Width, m.Height};
}

void TCanvas::TextOut(int X, int Y, const String& Text) {
    TTextLineMetrics m = MeasureTextLine(*m_font, Text);
    m_penPos = {X + m.Width, Y};
    if (!BeginDraw()) return;
    TRect cell = ToDevice(Bounds(X, Y, m.Width, m.Height));
    if (m_brush->GetStyle() == bsSolid) FillDevice(cell, false);
    // Glyphs may overhang their advance (italics), so render a little wider than the cell.
    TRect wide = cell;
    InflateRect(wide, m.Height, 0);
    TRect area;
    if (!Text.empty() && IntersectRect(area, wide, DeviceClip()))
        ApplyTextMask(Mask{area, MaskTextLine(*m_font, Text, area, {cell.Left, cell.Top})}, ColorToRGB(m_font->GetColor()));
    EndDraw();
}

void TCanvas::TextRect(const TRect& Rect, int X, int Y, const String& Text) {
    bool savedHas = m_hasClip;
    TRect savedClip = m_clip;
    IntersectClipRect(Rect);
    if (m_brush->GetStyle() == bsSolid && BeginDraw()) {
        FillDevice(ToDevice(Rect), false);
        EndDraw();
    }
    TPoint pen = m_penPos;
    TBrushStyle style = m_brush->GetStyle();
    // The rectangle is filled already; the text itself goes on transparently.
    if (style == bsSolid) m_brush->SetStyle(bsClear);
    TextOut(X, Y, Text);
    if (style == bsSolid) m_brush->SetStyle(bsSolid);
    m_penPos = pen;
    m_hasClip = savedHas;
    m_clip = savedClip;
}

int TCanvas::DrawText(const String& Text, TRect& Rect, UINT Format) {
    if (Format & DT_CALCRECT) {
        TSize need = MeasureTextBlock(*m_font, Text, Format, Rect);
        Rect.Right = Rect.Left + need.cx;
        Rect.Bottom = Rect.Top + need.cy;
        return need.cy;
    }
    TRect dev = ToDevice(Rect);
    TRect textBox;
    if (!TextBlockBounds(*m_font, Text, Format, dev, textBox)) return 0;
    int height = textBox.Height();
    if (!BeginDraw()) return height;
    TRect limit = DeviceClip();
    if (!(Format & DT_NOCLIP)) IntersectRect(limit, limit, dev);
    if (m_brush->GetStyle() == bsSolid) {
        TRect fill;
        if (IntersectRect(fill, textBox, limit)) FillDevice(fill, false);
    }
    TRect wide = textBox;
    InflateRect(wide, MeasureTextLine(*m_font, String()).Height, 0);
    TRect area;
    if (IntersectRect(area, wide, limit))
        ApplyTextMask(Mask{area, MaskTextBlock(*m_font, Text, Format, dev, area)}, ColorToRGB(m_font->GetColor()));
    EndDraw();
    return height;
}
