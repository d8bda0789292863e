// The scroll bars a scrolling control (list box, grid) paints inside its own window: geometry
// as plain functions, painting, and the mouse on a bar turned into WM_VSCROLL / WM_HSCROLL.
#pragma once

#include "platform/vcl/Controls.h"

// Breadth of a bar and side of its arrow buttons (the system's 16 pixels).
constexpr int OwnScrollBarSize = 16;
// Shortest thumb, as the system draws it.
constexpr int OwnScrollMinThumb = 8;

// Where the thumb lies along a bar of Length pixels (arrows included), from the bar's start.
// Info holds nMin, nMax, nPage and nPos. A bar with nothing to scroll has no thumb (Start = End).
void OwnScrollThumb(int Length, const SCROLLINFO& Info, int& Start, int& End);
// The position whose thumb starts at ThumbStart (the thumb dragged there), within the range.
int OwnScrollPositionAt(int Length, const SCROLLINFO& Info, int ThumbStart);
// The highest position the range allows: nMax - nPage + 1 (at least nMin).
int OwnScrollMaxPosition(const SCROLLINFO& Info);

enum TOwnScrollHit { shNone, shLineUp, shPageUp, shThumb, shPageDown, shLineDown };
// What a press at Offset along the bar hits.
TOwnScrollHit OwnScrollHitTest(int Length, const SCROLLINFO& Info, int Offset);

// Paints a bar into Rect (arrows, track, thumb); a disabled bar draws grey arrows and no thumb.
void PaintOwnScrollBar(TCanvas* Canvas, const TRect& Rect, bool Vertical, const SCROLLINFO& Info, bool Enabled);

// Follows one press on a control's bar: arrows and track send their request at once, the thumb
// sends SB_THUMBTRACK while it is dragged and SB_THUMBPOSITION where it is let go.
class TOwnScrollTracker {
public:
    // Starts tracking when Point lies on the bar; false otherwise.
    bool Press(TWinControl* Control, int Bar, const TRect& BarRect, const SCROLLINFO& Info, TPoint Point);
    void Move(TPoint Point);
    void Release(TPoint Point);
    bool Tracking() const { return m_control != nullptr; }

private:
    void Send(WORD Code, int Position);
    TWinControl* m_control = nullptr;
    int m_bar = SB_VERT;
    TRect m_rect;
    SCROLLINFO m_info;
    int m_grab = 0;  // offset of the press inside the thumb
    int m_position = 0;
    bool m_onThumb = false;
};
