// The toolkit side of the canvas's text and curved shapes: the toolkit rasterises them into
// coverage masks (one byte per pixel of an area, 1 = covered) that the canvas then applies
// with exact colours. Areas and positions are in the target's device pixels.
#pragma once

#include <vector>

#include "platform/vcl/Graphics.h"

enum class TMaskShape { Ellipse, RoundRect, Arc, Chord, Pie, Polygon, Polyline };

struct TMaskShapeGeometry {
    TMaskShape Kind = TMaskShape::Ellipse;
    TRect Box;                       // logical coordinates, right and bottom exclusive
    const int* Extra = nullptr;      // RoundRect: corner width, height; Arc/Chord/Pie: two ray points
    const TPoint* Points = nullptr;  // Polygon, Polyline
    int Count = 0;
};

// The fill of Shape (with a one-pixel outline when WithOutline, so that fill and pen leave no
// gap); Origin maps logical to device coordinates.
std::vector<Byte> MaskShapeFill(const TMaskShapeGeometry& Shape, const TRect& Area, TPoint Origin, bool WithOutline);
// The outline of Shape drawn with a pen of PenWidth and PenStyle.
std::vector<Byte> MaskShapeOutline(const TMaskShapeGeometry& Shape, const TRect& Area, TPoint Origin, int PenWidth,
                                   TPenStyle PenStyle);

struct TTextLineMetrics {
    int Width = 0;   // advance of the text
    int Height = 0;  // the font's line height
};
TTextLineMetrics MeasureTextLine(const TFont& Font, const String& Text);
// One line of text whose cell starts at TopLeft.
std::vector<Byte> MaskTextLine(const TFont& Font, const String& Text, const TRect& Area, TPoint TopLeft);

// DrawText's layout (alignment, line breaks, tabs, '&' prefixes, ellipses) of Text in Rect.
// The size the text needs, for DT_CALCRECT: width limited to Rect's only with DT_WORDBREAK.
TSize MeasureTextBlock(const TFont& Font, const String& Text, UINT Format, const TRect& Rect);
// Where the laid-out text lands in Rect; false (Bounds empty) when nothing is left to draw.
bool TextBlockBounds(const TFont& Font, const String& Text, UINT Format, const TRect& Rect, TRect& Bounds);
std::vector<Byte> MaskTextBlock(const TFont& Font, const String& Text, UINT Format, const TRect& Rect,
                                const TRect& Area);
