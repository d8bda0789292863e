// TCanvas: text and curved shapes, rasterised by Qt into coverage masks that the canvas then
// applies with exact colours.
#include "platform/vcl/Graphics.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPolygon>

#include <cmath>

#include "platform/vcl/QtGraphics.h"

namespace {

QImage BlankImage(const TRect& area) {
    QImage img(area.Width(), area.Height(), QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

std::vector<Byte> Coverage(const QImage& img) {
    std::vector<Byte> bits(static_cast<size_t>(img.width()) * static_cast<size_t>(img.height()));
    for (int y = 0; y < img.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x)
            bits[static_cast<size_t>(y) * img.width() + x] = qAlpha(row[x]) >= 128 ? 1 : 0;
    }
    return bits;
}

Qt::PenStyle QtPenStyle(TPenStyle s) {
    switch (s) {
        case psDash: return Qt::DashLine;
        case psDot: return Qt::DotLine;
        case psDashDot: return Qt::DashDotLine;
        case psDashDotDot: return Qt::DashDotDotLine;
        case psClear: return Qt::NoPen;
        default: return Qt::SolidLine;
    }
}

QPen MaskPen(int width, TPenStyle style) {
    QPen pen(QColor(255, 255, 255), width <= 1 ? 0 : width, QtPenStyle(style), Qt::RoundCap, Qt::RoundJoin);
    return pen;
}

// Angle of (x, y) seen from the centre, counter-clockwise from 3 o'clock, in degrees.
double RayAngle(double cx, double cy, int x, int y) {
    return std::atan2(-(y - cy), x - cx) * 180.0 / M_PI;
}

QString ToQ(const String& s) { return QString::fromUtf8(s.data(), static_cast<int>(s.size())); }

// Drops the '&' prefixes ("&&" stays one '&').
QString StripPrefixes(const QString& s) {
    QString out;
    for (int i = 0; i < s.size(); ++i) {
        if (s[i] == '&') {
            if (i + 1 < s.size() && s[i + 1] == '&') out += '&';
            ++i;
            if (i < s.size() && s[i] != '&') out += s[i];
            continue;
        }
        out += s[i];
    }
    return out;
}

struct TextLayout {
    QString text;
    int flags = 0;
};

TextLayout LayoutFor(const String& Text, UINT Format, const QFontMetrics& fm, int width) {
    TextLayout l;
    l.text = ToQ(Text);
    bool single = (Format & DT_SINGLELINE) != 0;
    if (!single) {
        l.text.replace("\r\n", "\n");
        l.text.replace('\r', '\n');
    }
    int flags = 0;
    if (Format & DT_CENTER) flags |= Qt::AlignHCenter;
    else if (Format & DT_RIGHT) flags |= Qt::AlignRight;
    else flags |= Qt::AlignLeft;
    // As GDI, vertical placement applies to single lines only.
    if (single && (Format & DT_VCENTER)) flags |= Qt::AlignVCenter;
    else if (single && (Format & DT_BOTTOM)) flags |= Qt::AlignBottom;
    else flags |= Qt::AlignTop;
    if (single) flags |= Qt::TextSingleLine;
    else if (Format & DT_WORDBREAK) flags |= Qt::TextWordWrap;
    if (Format & DT_EXPANDTABS) flags |= Qt::TextExpandTabs;
    bool prefixes = (Format & DT_NOPREFIX) == 0;
    bool ellipsis = (Format & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS)) != 0 &&
                    !(flags & Qt::TextWordWrap);
    if (ellipsis) {
        if (prefixes) l.text = StripPrefixes(l.text);
        prefixes = false;
        Qt::TextElideMode mode = (Format & DT_PATH_ELLIPSIS) ? Qt::ElideMiddle : Qt::ElideRight;
        QStringList lines = l.text.split('\n');
        for (QString& line : lines) line = fm.elidedText(line, mode, std::max(0, width));
        l.text = lines.join('\n');
    }
    if (prefixes) flags |= (Format & DT_HIDEPREFIX) ? Qt::TextHideMnemonic : Qt::TextShowMnemonic;
    l.flags = flags;
    return l;
}

}  // namespace

// ---- shapes -----------------------------------------------------------------------------------

void TCanvas::QtShape(ShapeKind kind, const TRect& box, const int* extra, const TPoint* pts, int count) {
    bool closed = kind != skArc && kind != skPolyline;
    bool hasPen = m_pen->GetStyle() != psClear;
    bool hasBrush = closed && m_brush->GetStyle() != bsClear;
    if (!hasPen && !hasBrush) return;
    int w = m_pen->GetWidth();
    TRect dev = ToDevice(box);
    InflateRect(dev, w + 1, w + 1);
    TRect area;
    if (!IntersectRect(area, dev, DeviceClip())) return;

    QRect qbox(box.Left, box.Top, box.Width() - 1, box.Height() - 1);
    QPolygon poly;
    for (int i = 0; i < count; ++i) poly << QPoint(pts[i].x, pts[i].y);
    double cx = (box.Left + box.Right) / 2.0;
    double cy = (box.Top + box.Bottom) / 2.0;
    int start16 = 0;
    int span16 = 360 * 16;
    if (kind == skArc || kind == skChord || kind == skPie) {
        double a1 = RayAngle(cx, cy, extra[0], extra[1]);
        double a2 = RayAngle(cx, cy, extra[2], extra[3]);
        double span = std::fmod(a2 - a1 + 720.0, 360.0);
        if (span == 0) span = 360;
        start16 = static_cast<int>(std::lround(a1 * 16));
        span16 = static_cast<int>(std::lround(span * 16));
    }
    auto paint = [&](QPainter& p) {
        switch (kind) {
            case skEllipse: p.drawEllipse(qbox); break;
            case skRoundRect:
                p.drawRoundedRect(qbox, extra[0] / 2.0, extra[1] / 2.0, Qt::AbsoluteSize);
                break;
            case skArc: p.drawArc(qbox, start16, span16); break;
            case skChord: p.drawChord(qbox, start16, span16); break;
            case skPie: p.drawPie(qbox, start16, span16); break;
            case skPolygon: p.drawPolygon(poly, Qt::OddEvenFill); break;
            case skPolyline: p.drawPolyline(poly); break;
        }
    };
    auto render = [&](bool forBrush) {
        QImage img = BlankImage(area);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.translate(m_origin.x - area.Left, m_origin.y - area.Top);
        if (forBrush) {
            // The outline is included so that brush and pen leave no gap between them.
            p.setPen(hasPen ? QPen(QColor(255, 255, 255), 0) : QPen(Qt::NoPen));
            p.setBrush(QColor(255, 255, 255));
        } else {
            p.setPen(MaskPen(w, m_pen->GetStyle()));
            p.setBrush(Qt::NoBrush);
        }
        paint(p);
        p.end();
        return Mask{area, Coverage(img)};
    };
    Mask brush;
    Mask pen;
    if (hasBrush) brush = render(true);
    if (hasPen) pen = render(false);
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
    QtShape(kind, box, nullptr, Points, Count);
}

namespace {

TRect Normalised(int X1, int Y1, int X2, int Y2) {
    return {std::min(X1, X2), std::min(Y1, Y2), std::max(X1, X2), std::max(Y1, Y2)};
}

}  // namespace

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2) {
    TRect r = Normalised(X1, Y1, X2, Y2);
    if (r.IsEmpty() || !BeginDraw()) return;
    QtShape(skEllipse, r, nullptr, nullptr, 0);
    EndDraw();
}

void TCanvas::RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3) {
    TRect r = Normalised(X1, Y1, X2, Y2);
    if (r.IsEmpty() || !BeginDraw()) return;
    int corner[2] = {X3, Y3};
    QtShape(skRoundRect, r, corner, nullptr, 0);
    EndDraw();
}

void TCanvas::Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
    TRect r = Normalised(X1, Y1, X2, Y2);
    if (r.IsEmpty() || !BeginDraw()) return;
    int rays[4] = {X3, Y3, X4, Y4};
    QtShape(skArc, r, rays, nullptr, 0);
    EndDraw();
}

void TCanvas::Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
    TRect r = Normalised(X1, Y1, X2, Y2);
    if (r.IsEmpty() || !BeginDraw()) return;
    int rays[4] = {X3, Y3, X4, Y4};
    QtShape(skChord, r, rays, nullptr, 0);
    EndDraw();
}

void TCanvas::Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
    TRect r = Normalised(X1, Y1, X2, Y2);
    if (r.IsEmpty() || !BeginDraw()) return;
    int rays[4] = {X3, Y3, X4, Y4};
    QtShape(skPie, r, rays, nullptr, 0);
    EndDraw();
}

// ---- text -------------------------------------------------------------------------------------

TSize TCanvas::TextExtent(const String& Text) {
    QFontMetrics fm(FontToQFont(*m_font));
    return {fm.horizontalAdvance(ToQ(Text)), fm.height()};
}

void TCanvas::TextOut(int X, int Y, const String& Text) {
    QFont font = FontToQFont(*m_font);
    QFontMetrics fm(font);
    QString q = ToQ(Text);
    int width = fm.horizontalAdvance(q);
    m_penPos = {X + width, Y};
    if (!BeginDraw()) return;
    TRect cell = ToDevice(Bounds(X, Y, width, fm.height()));
    if (m_brush->GetStyle() == bsSolid) FillDevice(cell, false);
    // Glyphs may overhang their advance (italics), so render a little wider than the cell.
    TRect wide = cell;
    InflateRect(wide, fm.height(), 0);
    TRect area;
    if (!q.isEmpty() && IntersectRect(area, wide, DeviceClip())) {
        QImage img = BlankImage(area);
        QPainter p(&img);
        p.setFont(font);
        p.setPen(QColor(255, 255, 255));
        p.drawText(QPoint(cell.Left - area.Left, cell.Top - area.Top + fm.ascent()), q);
        p.end();
        ApplyTextMask(Mask{area, Coverage(img)}, ColorToRGB(m_font->GetColor()));
    }
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
    QFont font = FontToQFont(*m_font);
    QFontMetrics fm(font);
    TextLayout l = LayoutFor(Text, Format, fm, Rect.Width());
    if (Format & DT_CALCRECT) {
        bool wrap = (l.flags & Qt::TextWordWrap) != 0;
        int flags = (l.flags & ~(Qt::AlignHorizontal_Mask | Qt::AlignVertical_Mask)) | Qt::AlignLeft | Qt::AlignTop;
        QRect limit(0, 0, wrap ? std::max(1, Rect.Width()) : 1 << 20, 1 << 20);
        QRect br = fm.boundingRect(limit, flags, l.text);
        int height = l.text.isEmpty() ? 0 : br.height();
        Rect.Right = Rect.Left + (l.text.isEmpty() ? 0 : br.width());
        Rect.Bottom = Rect.Top + height;
        return height;
    }
    TRect dev = ToDevice(Rect);
    QRect qrect(dev.Left, dev.Top, dev.Width(), dev.Height());
    QRect bounds = fm.boundingRect(qrect, l.flags, l.text);
    int height = l.text.isEmpty() ? 0 : bounds.height();
    if (l.text.isEmpty() || !BeginDraw()) return height;
    TRect limit = DeviceClip();
    if (!(Format & DT_NOCLIP)) IntersectRect(limit, limit, dev);
    TRect textBox{bounds.left(), bounds.top(), bounds.left() + bounds.width(), bounds.top() + bounds.height()};
    if (m_brush->GetStyle() == bsSolid) {
        TRect fill;
        if (IntersectRect(fill, textBox, limit)) FillDevice(fill, false);
    }
    TRect wide = textBox;
    InflateRect(wide, fm.height(), 0);
    TRect area;
    if (IntersectRect(area, wide, limit)) {
        QImage img = BlankImage(area);
        QPainter p(&img);
        p.setFont(font);
        p.setPen(QColor(255, 255, 255));
        p.drawText(qrect.translated(-area.Left, -area.Top), l.flags, l.text);
        p.end();
        ApplyTextMask(Mask{area, Coverage(img)}, ColorToRGB(m_font->GetColor()));
    }
    EndDraw();
    return height;
}
