#include "platform/vcl/QtCanvasText.h"

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

const QColor Covered(255, 255, 255);

// Angle of (x, y) seen from the centre, counter-clockwise from 3 o'clock, in degrees.
double RayAngle(double cx, double cy, int x, int y) {
    return std::atan2(-(y - cy), x - cx) * 180.0 / M_PI;
}

void PaintShape(QPainter& p, const TMaskShapeGeometry& s) {
    const TRect& box = s.Box;
    QRect qbox(box.Left, box.Top, box.Width() - 1, box.Height() - 1);
    QPolygon poly;
    for (int i = 0; i < s.Count; ++i) poly << QPoint(s.Points[i].x, s.Points[i].y);
    int start16 = 0;
    int span16 = 360 * 16;
    if (s.Kind == TMaskShape::Arc || s.Kind == TMaskShape::Chord || s.Kind == TMaskShape::Pie) {
        double cx = (box.Left + box.Right) / 2.0;
        double cy = (box.Top + box.Bottom) / 2.0;
        double a1 = RayAngle(cx, cy, s.Extra[0], s.Extra[1]);
        double a2 = RayAngle(cx, cy, s.Extra[2], s.Extra[3]);
        double span = std::fmod(a2 - a1 + 720.0, 360.0);
        if (span == 0) span = 360;
        start16 = static_cast<int>(std::lround(a1 * 16));
        span16 = static_cast<int>(std::lround(span * 16));
    }
    switch (s.Kind) {
        case TMaskShape::Ellipse: p.drawEllipse(qbox); break;
        case TMaskShape::RoundRect: p.drawRoundedRect(qbox, s.Extra[0] / 2.0, s.Extra[1] / 2.0, Qt::AbsoluteSize); break;
        case TMaskShape::Arc: p.drawArc(qbox, start16, span16); break;
        case TMaskShape::Chord: p.drawChord(qbox, start16, span16); break;
        case TMaskShape::Pie: p.drawPie(qbox, start16, span16); break;
        case TMaskShape::Polygon: p.drawPolygon(poly, Qt::OddEvenFill); break;
        case TMaskShape::Polyline: p.drawPolyline(poly); break;
    }
}

std::vector<Byte> MaskShape(const TMaskShapeGeometry& Shape, const TRect& Area, TPoint Origin, const QPen& Pen,
                            const QBrush& Brush) {
    QImage img = BlankImage(Area);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.translate(Origin.x - Area.Left, Origin.y - Area.Top);
    p.setPen(Pen);
    p.setBrush(Brush);
    PaintShape(p, Shape);
    p.end();
    return Coverage(img);
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

QRect ToQRect(const TRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }

}  // namespace

// ---- shapes -----------------------------------------------------------------------------------

std::vector<Byte> MaskShapeFill(const TMaskShapeGeometry& Shape, const TRect& Area, TPoint Origin, bool WithOutline) {
    return MaskShape(Shape, Area, Origin, WithOutline ? QPen(Covered, 0) : QPen(Qt::NoPen), QBrush(Covered));
}

std::vector<Byte> MaskShapeOutline(const TMaskShapeGeometry& Shape, const TRect& Area, TPoint Origin, int PenWidth,
                                   TPenStyle PenStyle) {
    QPen pen(Covered, PenWidth <= 1 ? 0 : PenWidth, QtPenStyle(PenStyle), Qt::RoundCap, Qt::RoundJoin);
    return MaskShape(Shape, Area, Origin, pen, Qt::NoBrush);
}

// ---- text -------------------------------------------------------------------------------------

TTextLineMetrics MeasureTextLine(const TFont& Font, const String& Text) {
    QFontMetrics fm(FontToQFont(Font));
    return {fm.horizontalAdvance(ToQ(Text)), fm.height()};
}

std::vector<Byte> MaskTextLine(const TFont& Font, const String& Text, const TRect& Area, TPoint TopLeft) {
    QFont font = FontToQFont(Font);
    QFontMetrics fm(font);
    QImage img = BlankImage(Area);
    QPainter p(&img);
    p.setFont(font);
    p.setPen(Covered);
    p.drawText(QPoint(TopLeft.x - Area.Left, TopLeft.y - Area.Top + fm.ascent()), ToQ(Text));
    p.end();
    return Coverage(img);
}

TSize MeasureTextBlock(const TFont& Font, const String& Text, UINT Format, const TRect& Rect) {
    QFontMetrics fm(FontToQFont(Font));
    TextLayout l = LayoutFor(Text, Format, fm, Rect.Width());
    if (l.text.isEmpty()) return {0, 0};
    bool wrap = (l.flags & Qt::TextWordWrap) != 0;
    int flags = (l.flags & ~(Qt::AlignHorizontal_Mask | Qt::AlignVertical_Mask)) | Qt::AlignLeft | Qt::AlignTop;
    QRect limit(0, 0, wrap ? std::max(1, Rect.Width()) : 1 << 20, 1 << 20);
    QRect br = fm.boundingRect(limit, flags, l.text);
    return {br.width(), br.height()};
}

bool TextBlockBounds(const TFont& Font, const String& Text, UINT Format, const TRect& Rect, TRect& Bounds) {
    QFontMetrics fm(FontToQFont(Font));
    TextLayout l = LayoutFor(Text, Format, fm, Rect.Width());
    Bounds = TRect{};
    if (l.text.isEmpty()) return false;
    QRect b = fm.boundingRect(ToQRect(Rect), l.flags, l.text);
    Bounds = TRect{b.left(), b.top(), b.left() + b.width(), b.top() + b.height()};
    return true;
}

std::vector<Byte> MaskTextBlock(const TFont& Font, const String& Text, UINT Format, const TRect& Rect,
                                const TRect& Area) {
    QFont font = FontToQFont(Font);
    QFontMetrics fm(font);
    TextLayout l = LayoutFor(Text, Format, fm, Rect.Width());
    QImage img = BlankImage(Area);
    QPainter p(&img);
    p.setFont(font);
    p.setPen(Covered);
    p.drawText(ToQRect(Rect).translated(-Area.Left, -Area.Top), l.flags, l.text);
    p.end();
    return Coverage(img);
}
