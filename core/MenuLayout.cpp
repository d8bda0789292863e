#include "core/MenuLayout.h"

#include <algorithm>

#include "core/Pubfunction.h"

namespace MenuLayout {

using Pubfunction::ClampRange;

int PreviewHeight(TMenuAspect Aspect) {
    return Aspect == TMenuAspect::Standard4x3 ? PreviewHeight4x3 : PreviewHeight16x9;
}

int PreviewTop(TMenuAspect Aspect) { return PreviewCentreY - PreviewHeight(Aspect) / 2; }

int ClampIntoSafeFrame(int Position, int Size, int Side, int SafeDistance) {
    return ClampRange(Position, SafeDistance, Side - Size - SafeDistance);
}

TPoint ClampPlacement(int Left, int Top, int Width, int Height, int PreviewHeight, int SafeDistance) {
    return {ClampIntoSafeFrame(Left, Width, PreviewWidth, SafeDistance),
            ClampIntoSafeFrame(Top, Height, PreviewHeight, SafeDistance)};
}

TRect SafeFrameRect(int BoxWidth, int BoxHeight, int SafeDistance) {
    if (SafeDistance < 1) return {};
    return {SafeDistance, SafeDistance, BoxWidth - SafeDistance, BoxHeight - SafeDistance};
}

namespace {

// 0 near edge, 1 body, 2 far edge.
int Band(int At, int Size) {
    if (At < 8) return 0;
    return At <= Size - 8 ? 1 : 2;
}

}  // namespace

int HitTestButton(int Width, int Height, int X, int Y) {
    static const int zones[3][3] = {
        // y: top band, body, bottom band
        {ZoneTopLeft, ZoneLeft, ZoneBottomLeft},       // x: left band
        {ZoneTop, ZoneMove, ZoneBottom},               // x: body
        {ZoneTopRight, ZoneRight, ZoneBottomRight},    // x: right band
    };
    return zones[Band(X, Width)][Band(Y, Height)];
}

TCursor ZoneCursor(int Zone) {
    switch (Zone) {
    case ZoneMove: return crHandPoint;
    case ZoneLeft:
    case ZoneRight: return crSizeWE;
    case ZoneTop:
    case ZoneBottom: return crSizeNS;
    case ZoneTopLeft:
    case ZoneBottomRight: return crSizeNWSE;
    case ZoneBottomLeft:
    case ZoneTopRight: return crSizeNESW;
    default: return crDefault;
    }
}

TBounds DragButton(int Zone, const TBounds& Start, const TBounds& Current, int dx, int dy, int PreviewHeight,
                   int SafeDistance) {
    if (Zone < ZoneMove || Zone > ZoneBottomRight) return Current;
    const bool left = Zone == ZoneLeft || Zone == ZoneTopLeft || Zone == ZoneBottomLeft;
    const bool right = Zone == ZoneRight || Zone == ZoneTopRight || Zone == ZoneBottomRight;
    const bool top = Zone == ZoneTop || Zone == ZoneTopLeft || Zone == ZoneTopRight;
    const bool bottom = Zone == ZoneBottom || Zone == ZoneBottomLeft || Zone == ZoneBottomRight;

    TBounds result = Current;
    result.Width = Start.Width;
    result.Height = Start.Height;
    if (left) result.Width = ClampRange(Start.Width - dx, MinButtonWidth, MaxButtonWidth);
    if (right) result.Width = ClampRange(Start.Width + dx, MinButtonWidth, MaxButtonWidth);
    if (top) result.Height = ClampRange(Start.Height - dy, MinButtonHeight, MaxButtonHeight);
    if (bottom) result.Height = ClampRange(Start.Height + dy, MinButtonHeight, MaxButtonHeight);

    // Which Left and Top the zone aims at before the safe-frame clamp for the new size.
    int wantedLeft = Current.Left;
    int wantedTop = Current.Top;
    if (Zone == ZoneMove) {
        wantedLeft = Start.Left + dx;
        wantedTop = Start.Top + dy;
    }
    if (left) wantedLeft = Start.Left - (result.Width - Start.Width);
    if (top) wantedTop = Start.Top - (result.Height - Start.Height);
    const bool moveX = Zone == ZoneMove || left || right;
    const bool moveY = Zone == ZoneMove || top || bottom;
    if (moveX) result.Left = ClampIntoSafeFrame(wantedLeft, result.Width, PreviewWidth, SafeDistance);
    if (moveY) result.Top = ClampIntoSafeFrame(wantedTop, result.Height, PreviewHeight, SafeDistance);
    return result;
}

TPoint GridPosition(int K, int Width, int Height, int PreviewHeight, int SafeDistance) {
    static const int lefts[4] = {20, 140, 260, 380};
    static const int tops[3] = {15, 105, 195};
    int k = ClampRange(K, 0, 11);
    return ClampPlacement(lefts[k % 4], tops[k / 4], Width, Height, PreviewHeight, SafeDistance);
}

int ClampStripThumb(int Left) { return ClampRange(Left, 0, StripThumbTravel); }

int StripLeft(int ThumbLeft, int Count) {
    if (Count <= StripVisibleTiles) return 0;
    return -TileStep * (ClampStripThumb(ThumbLeft) * (Count - StripVisibleTiles) / StripThumbTravel);
}

int BackgroundEntryTop(int Index) { return Index * BackgroundStep + 12; }

int ClampBackgroundThumb(int Top) { return ClampRange(Top, 0, BackgroundThumbTravel); }

int BackgroundListTop(int ThumbTop, int Count) {
    if (Count <= BackgroundVisible) return 0;
    return -BackgroundStep * (ClampBackgroundThumb(ThumbTop) * (Count - BackgroundVisible) / BackgroundThumbTravel);
}

int ShiftBackY(int BackY, TMenuAspect From, TMenuAspect To, int BackHeight, int SafeDistance) {
    int y = BackY;
    if (From != To) y += To == TMenuAspect::Standard4x3 ? AspectShift : -AspectShift;
    return ClampIntoSafeFrame(y, BackHeight, PreviewHeight(To), SafeDistance);
}

int ClampBackX(int BackX, int BackWidth, int SafeDistance) {
    return ClampIntoSafeFrame(BackX, BackWidth, PreviewWidth, SafeDistance);
}

int ChapterCount(int Wish, int TrimStart, int TrimEnd) {
    const Int64 span = Int64{TrimEnd} - TrimStart;
    if (span < 5) return 1;
    return Wish < 1 ? 2 : Wish;
}

std::vector<int> AutomaticChapterTimes(int TrimStart, int TrimEnd, int Count) {
    std::vector<int> times;
    if (Count < 1) return times;
    // 64 bits: a long span times the count must not wrap.
    const Int64 span = Int64{TrimEnd} - TrimStart;
    for (int i = 0; i < Count; ++i) times.push_back(static_cast<int>(TrimStart + span * i / Count));
    return times;
}

int GrabRunStart(int TrimStart) { return std::max(TrimStart, 1); }

}  // namespace MenuLayout
