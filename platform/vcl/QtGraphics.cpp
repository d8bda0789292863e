#include "platform/vcl/QtGraphics.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>

namespace {

void CopyRowToQImage(const TBitmap& b, int y, int left, int count, QRgb* out) {
    int bpp = b.BitsPerPixel();
    if (bpp == 24 || bpp == 32) {
        const Byte* row = static_cast<const Byte*>(b.ScanLine(y)) + static_cast<size_t>(left) * (bpp / 8);
        for (int x = 0; x < count; ++x, row += bpp / 8) out[x] = qRgb(row[2], row[1], row[0]);
        return;
    }
    for (int x = 0; x < count; ++x) {
        COLORREF c = b.GetPixelColor(left + x, y);
        out[x] = qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
    }
}

}  // namespace

QImage BitmapToQImage(const TBitmap& Bitmap) {
    return BitmapToQImage(Bitmap, Rect(0, 0, Bitmap.GetWidth(), Bitmap.GetHeight()));
}

QImage BitmapToQImage(const TBitmap& Bitmap, const TRect& Rect) {
    TRect r;
    if (!IntersectRect(r, Rect, ::Rect(0, 0, Bitmap.GetWidth(), Bitmap.GetHeight()))) return QImage();
    QImage img(r.Width(), r.Height(), QImage::Format_RGB32);
    for (int y = 0; y < r.Height(); ++y)
        CopyRowToQImage(Bitmap, r.Top + y, r.Left, r.Width(), reinterpret_cast<QRgb*>(img.scanLine(y)));
    return img;
}

void QImageToBitmap(const QImage& Image, TBitmap& Bitmap) {
    if (Image.isNull()) {
        Bitmap.Assign(nullptr);
        return;
    }
    QImage src = Image.convertToFormat(QImage::Format_RGB32);
    TPixelFormat f = Bitmap.GetPixelFormat();
    if (f != pf32bit && f != pfDevice) f = pf24bit;
    int w = src.width();
    int h = src.height();
    int bpp = PixelFormatBits(f) / 8;
    int stride = BytesPerScanline(w, bpp * 8, 32);
    std::vector<Byte> bits(static_cast<size_t>(stride) * static_cast<size_t>(h));
    for (int y = 0; y < h; ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        Byte* out = bits.data() + static_cast<size_t>(h - 1 - y) * static_cast<size_t>(stride);
        for (int x = 0; x < w; ++x, out += bpp) {
            out[0] = static_cast<Byte>(qBlue(in[x]));
            out[1] = static_cast<Byte>(qGreen(in[x]));
            out[2] = static_cast<Byte>(qRed(in[x]));
        }
    }
    Bitmap.SetImage(w, h, f, std::move(bits));
}

void QImageToBitmapAt(const QImage& Image, TBitmap& Bitmap, int X, int Y) {
    if (Image.isNull() || Bitmap.GetEmpty()) return;
    Bitmap.PrepareForDrawing();
    QImage src = Image.convertToFormat(QImage::Format_RGB32);
    TRect r;
    if (!IntersectRect(r, Bounds(X, Y, src.width(), src.height()), Rect(0, 0, Bitmap.GetWidth(), Bitmap.GetHeight())))
        return;
    int bpp = Bitmap.BitsPerPixel() / 8;
    for (int y = r.Top; y < r.Bottom; ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(src.constScanLine(y - Y));
        Byte* out = static_cast<Byte*>(Bitmap.ScanLine(y)) + static_cast<size_t>(r.Left) * bpp;
        for (int x = r.Left; x < r.Right; ++x, out += bpp) {
            QRgb c = in[x - X];
            out[0] = static_cast<Byte>(qBlue(c));
            out[1] = static_cast<Byte>(qGreen(c));
            out[2] = static_cast<Byte>(qRed(c));
        }
    }
    Bitmap.PixelsChanged();
}

QFont FontToQFont(const TFont& Font) {
    QFont f(QString::fromUtf8(Font.GetName().c_str()));
    // No shaping: GDI draws "fi" as two letters, and the ligature glyphs of the stand-in fonts
    // come out blank without antialiasing.
    f.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias | QFont::PreferNoShaping));
    f.setHintingPreference(QFont::PreferFullHinting);
    int h = Font.GetHeight();
    if (h < 0) {
        f.setPixelSize(-h);
    } else if (h > 0) {
        // A positive height is the cell (ascent plus descent): scale the em size to fit it.
        f.setPixelSize(h);
        int cell = QFontMetrics(f).height();
        if (cell > h) f.setPixelSize(std::max(1, (h * h + cell / 2) / cell));
    } else {
        f.setPixelSize(11);
    }
    TFontStyles s = Font.GetStyle();
    f.setBold(s.Contains(fsBold));
    f.setItalic(s.Contains(fsItalic));
    f.setUnderline(s.Contains(fsUnderline));
    f.setStrikeOut(s.Contains(fsStrikeOut));
    if (Font.GetPitch() == fpFixed) {
        f.setFixedPitch(true);
        f.setStyleHint(QFont::TypeWriter, f.styleStrategy());
    }
    return f;
}

QColor ColorToQColor(TColor Color) {
    COLORREF c = ColorToRGB(Color);
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

TColor QColorToColor(const QColor& Color) {
    return static_cast<TColor>(RGB(Color.red(), Color.green(), Color.blue()));
}

String FontFamilyInUse(const TFont& Font) {
    return QFontInfo(FontToQFont(Font)).family().toStdString();
}

// ---- fonts of the toolkit ----------------------------------------------------------------------

namespace {

constexpr const char* WineFontDir = "/usr/share/wine/fonts/";

bool AddFontFile(const QString& path) {
    return QFontDatabase::addApplicationFont(path) >= 0;
}

}  // namespace

void Graphics_RegisterFonts() {
    static bool done = false;
    if (done || QGuiApplication::instance() == nullptr) return;
    done = true;
    // Only the regular face: the bold file beside it carries the regular outlines, so bold text
    // would come out regular; without it the toolkit emboldens the regular face.
    bool tahoma = AddFontFile(QString(WineFontDir) + "tahoma.ttf");
    if (!tahoma || !QFontDatabase::families().contains("Tahoma"))
        QFont::insertSubstitution("Tahoma", "Liberation Sans");
    QFont::insertSubstitution("Arial", "Liberation Sans");
    QFont::insertSubstitution("Helvetica", "Liberation Sans");
    QFont::insertSubstitution("MS Sans Serif", "Liberation Sans");
    QFont::insertSubstitution("Microsoft Sans Serif", "Liberation Sans");
    QFont::insertSubstitution("Verdana", "DejaVu Sans");
    QFont::insertSubstitution("Times New Roman", "Liberation Serif");
    QFont::insertSubstitution("Courier New", "Liberation Mono");
    QFont::insertSubstitution("Courier", "Liberation Mono");
}
