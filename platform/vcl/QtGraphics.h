// Qt-facing helpers of the graphics unit: conversions between our types and Qt's.
// Only code under platform/ includes this header.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>

#include "platform/vcl/Graphics.h"

// A top-down Format_RGB32 copy of the bitmap (any pixel format); a null image when empty.
QImage BitmapToQImage(const TBitmap& Bitmap);
// The part Rect (clipped to the bitmap) as a Format_RGB32 image.
QImage BitmapToQImage(const TBitmap& Bitmap, const TRect& Rect);
// Replaces Bitmap's pixels by Image's (alpha dropped); the bitmap becomes pf24bit unless it is
// pf32bit or pfDevice already.
void QImageToBitmap(const QImage& Image, TBitmap& Bitmap);
// Copies Image into Bitmap at (X, Y) (clipped); Bitmap keeps its size and converts to 24/32 bit.
void QImageToBitmapAt(const QImage& Image, TBitmap& Bitmap, int X, int Y);
// The Qt font for a TFont: family (with substitutions), pixel size from Height, style, no
// antialiasing (so that colour keys stay exact).
QFont FontToQFont(const TFont& Font);
// Opaque colour of a TColor (system colours resolved).
QColor ColorToQColor(TColor Color);
// The TColor of a Qt colour (alpha dropped).
TColor QColorToColor(const QColor& Color);
