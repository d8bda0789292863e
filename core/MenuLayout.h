// The menu designer's geometry as plain functions: the preview and its safe frame, a button's
// hit zones, the move and resize rules, the automatic layout, the strip's and the background
// list's scrolling, and the back button's shift when the aspect changes. The window moves its
// controls to the results.
#pragma once

#include <vector>

#include "platform/vcl/Controls.h"

namespace MenuLayout {

enum class TMenuAspect { Standard4x3, Wide16x9 };

constexpr int PreviewWidth = 518;
constexpr int PreviewHeight4x3 = 388;
constexpr int PreviewHeight16x9 = 292;
constexpr int PreviewCentreY = 286;   // the preview's centre line in the window, both aspects
constexpr int AspectShift = PreviewHeight4x3 - PreviewHeight16x9;  // 96

int PreviewHeight(TMenuAspect Aspect);
// The preview's Top in the window: 92 or 140.
int PreviewTop(TMenuAspect Aspect);

// The safe-frame clamp for an object of Size along a preview side of Side pixels with the
// margin d: into [d, Side - Size - d], the low bound winning when the object does not fit.
int ClampIntoSafeFrame(int Position, int Size, int Side, int SafeDistance);
// An object's place (Left, Top) clamped into the safe frame of the preview.
TPoint ClampPlacement(int Left, int Top, int Width, int Height, int PreviewHeight, int SafeDistance);
// The dash-dot frame drawn on a Width x Height paint box; empty (nothing drawn) for d < 1.
TRect SafeFrameRect(int BoxWidth, int BoxHeight, int SafeDistance);

// Button hit zones: 1 move, 2 left, 3 top, 4 right, 5 bottom, 6 top-left, 7 bottom-left,
// 8 top-right, 9 bottom-right. The left and top bands are 8 pixels (0..7), the right and
// bottom ones 7 (w - 7 .. w - 1).
enum TButtonZone { ZoneNone = 0, ZoneMove, ZoneLeft, ZoneTop, ZoneRight, ZoneBottom,
                   ZoneTopLeft, ZoneBottomLeft, ZoneTopRight, ZoneBottomRight };
int HitTestButton(int Width, int Height, int X, int Y);
// The cursor over a resting button's zone.
TCursor ZoneCursor(int Zone);

constexpr int MinButtonWidth = 80;
constexpr int MaxButtonWidth = 240;
constexpr int MinButtonHeight = 60;
constexpr int MaxButtonHeight = 180;

struct TBounds {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    bool operator==(const TBounds&) const = default;
};

// A button's bounds during a drag in Zone: Start are its bounds at mouse-down, Current its
// bounds now, (dx, dy) the cursor's movement since mouse-down. Resizes stay within 80..240 x
// 60..180 and every place inside the safe frame.
TBounds DragButton(int Zone, const TBounds& Start, const TBounds& Current, int dx, int dy, int PreviewHeight,
                   int SafeDistance);

// The automatic layout's place for the k-th button (four columns, three rows), clamped into the
// safe frame for the button's size.
TPoint GridPosition(int K, int Width, int Height, int PreviewHeight, int SafeDistance);

// The clip strip: 102-pixel tiles, six visible, the thumb running 0..550.
constexpr int TileStep = 102;
constexpr int StripVisibleTiles = 6;
constexpr int StripThumbTravel = 550;
int ClampStripThumb(int Left);
int StripLeft(int ThumbLeft, int Count);

// The background list: entries 97 pixels apart from Top 12, four visible, the thumb 0..338.
constexpr int BackgroundStep = 97;
constexpr int BackgroundVisible = 4;
constexpr int BackgroundThumbTravel = 338;
constexpr int BackgroundThumbHeight = 78;
int BackgroundEntryTop(int Index);
int ClampBackgroundThumb(int Top);
int BackgroundListTop(int ThumbTop, int Count);

// The back button's Y after an aspect call: moved by 96 only when the aspect really changes
// (down to 4:3, up to 16:9), and clamped into the new preview either way.
int ShiftBackY(int BackY, TMenuAspect From, TMenuAspect To, int BackHeight, int SafeDistance);
int ClampBackX(int BackX, int BackWidth, int SafeDistance);

// A chapter menu's button count: a wish below 1 becomes 2, and a range under 5 seconds gets a
// single chapter whatever was asked.
int ChapterCount(int Wish, int TrimStart, int TrimEnd);
// Count chapter times spread evenly over [TrimStart, TrimEnd): the first is the trim start.
std::vector<int> AutomaticChapterTimes(int TrimStart, int TrimEnd, int Count);
// The second a chapter grab run opens the file at: the trim start, at least 1.
int GrabRunStart(int TrimStart);

}  // namespace MenuLayout
