#include "platform/vcl/ScrollBars.h"

#include <algorithm>

#include "platform/vcl/Graphics.h"

namespace {

int ArrowSize(int Length) { return std::min(OwnScrollBarSize, Length / 2); }

// The positions the thumb can take and the pixels it can travel.
struct TTrack {
    int arrow = 0;
    int track = 0;
    int thumb = 0;
    long long range = 0;  // positions minus one
};

TTrack TrackOf(int Length, const SCROLLINFO& Info) {
    TTrack t;
    t.arrow = ArrowSize(Length);
    t.track = std::max(0, Length - 2 * t.arrow);
    long long span = static_cast<long long>(Info.nMax) - Info.nMin + 1;
    t.range = std::max<long long>(0, static_cast<long long>(OwnScrollMaxPosition(Info)) - Info.nMin);
    if (span <= 0 || t.range == 0) {
        t.thumb = 0;
        return t;
    }
    long long thumb = Info.nPage == 0 ? OwnScrollBarSize : static_cast<long long>(t.track) * Info.nPage / span;
    t.thumb = static_cast<int>(std::clamp<long long>(thumb, OwnScrollMinThumb, t.track));
    if (t.track < OwnScrollMinThumb) t.thumb = 0;
    return t;
}

}  // namespace

int OwnScrollMaxPosition(const SCROLLINFO& Info) {
    long long top = static_cast<long long>(Info.nMax) - std::max<long long>(Info.nPage, 1) + 1;
    return static_cast<int>(std::max<long long>(top, Info.nMin));
}

void OwnScrollThumb(int Length, const SCROLLINFO& Info, int& Start, int& End) {
    TTrack t = TrackOf(Length, Info);
    if (t.thumb == 0) {
        Start = End = t.arrow;
        return;
    }
    long long pos = static_cast<long long>(std::clamp(Info.nPos, Info.nMin, OwnScrollMaxPosition(Info))) - Info.nMin;
    long long offset = static_cast<long long>(t.track - t.thumb) * pos / t.range;
    Start = t.arrow + static_cast<int>(offset);
    End = Start + t.thumb;
}

int OwnScrollPositionAt(int Length, const SCROLLINFO& Info, int ThumbStart) {
    TTrack t = TrackOf(Length, Info);
    int travel = t.track - t.thumb;
    if (t.thumb == 0 || travel <= 0) return Info.nMin;
    int offset = std::clamp(ThumbStart - t.arrow, 0, travel);
    long long pos = (static_cast<long long>(offset) * t.range + travel / 2) / travel;
    return static_cast<int>(Info.nMin + pos);
}

TOwnScrollHit OwnScrollHitTest(int Length, const SCROLLINFO& Info, int Offset) {
    if (Offset < 0 || Offset >= Length) return shNone;
    int arrow = ArrowSize(Length);
    if (Offset < arrow) return shLineUp;
    if (Offset >= Length - arrow) return shLineDown;
    int start = 0, end = 0;
    OwnScrollThumb(Length, Info, start, end);
    if (start == end) return shNone;
    if (Offset < start) return shPageUp;
    if (Offset >= end) return shPageDown;
    return shThumb;
}

namespace {

void PaintButtonFace(TCanvas* c, const TRect& r) {
    c->GetBrush()->SetStyle(bsSolid);
    c->GetBrush()->SetColor(clBtnFace);
    c->FillRect(r);
    c->GetBrush()->SetColor(clBtnShadow);
    c->FrameRect(r);
}

void PaintArrow(TCanvas* c, const TRect& r, bool Vertical, bool Forward, bool Enabled) {
    int cx = (r.Left + r.Right) / 2;
    int cy = (r.Top + r.Bottom) / 2;
    TColor colour = Enabled ? clBtnText : clGrayText;
    c->GetBrush()->SetColor(colour);
    c->GetPen()->SetColor(colour);
    if (Vertical) {
        int tip = Forward ? cy + 2 : cy - 2;
        int base = Forward ? cy - 1 : cy + 1;
        c->Polygon({TPoint{cx - 3, base}, TPoint{cx + 3, base}, TPoint{cx, tip}});
    } else {
        int tip = Forward ? cx + 2 : cx - 2;
        int base = Forward ? cx - 1 : cx + 1;
        c->Polygon({TPoint{base, cy - 3}, TPoint{base, cy + 3}, TPoint{tip, cy}});
    }
}

}  // namespace

void PaintOwnScrollBar(TCanvas* Canvas, const TRect& Rect, bool Vertical, const SCROLLINFO& Info, bool Enabled) {
    int length = Vertical ? Rect.Height() : Rect.Width();
    int arrow = ArrowSize(length);
    Canvas->GetBrush()->SetStyle(bsSolid);
    Canvas->GetBrush()->SetColor(clScrollBar);
    Canvas->FillRect(Rect);
    auto along = [&](int from, int to) {
        return Vertical ? TRect{Rect.Left, Rect.Top + from, Rect.Right, Rect.Top + to}
                        : TRect{Rect.Left + from, Rect.Top, Rect.Left + to, Rect.Bottom};
    };
    TRect first = along(0, arrow);
    TRect last = along(length - arrow, length);
    PaintButtonFace(Canvas, first);
    PaintButtonFace(Canvas, last);
    PaintArrow(Canvas, first, Vertical, false, Enabled);
    PaintArrow(Canvas, last, Vertical, true, Enabled);
    int start = 0, end = 0;
    OwnScrollThumb(length, Info, start, end);
    if (Enabled && end > start) PaintButtonFace(Canvas, along(start, end));
}

bool TOwnScrollTracker::Press(TWinControl* Control, int Bar, const TRect& BarRect, const SCROLLINFO& Info,
                              TPoint Point) {
    if (!BarRect.Contains(Point)) return false;
    m_control = Control;
    m_bar = Bar;
    m_rect = BarRect;
    m_info = Info;
    bool vertical = Bar == SB_VERT;
    int length = vertical ? BarRect.Height() : BarRect.Width();
    int offset = vertical ? Point.y - BarRect.Top : Point.x - BarRect.Left;
    m_onThumb = false;
    switch (OwnScrollHitTest(length, Info, offset)) {
        case shLineUp: Send(SB_LINEUP, 0); break;
        case shLineDown: Send(SB_LINEDOWN, 0); break;
        case shPageUp: Send(SB_PAGEUP, 0); break;
        case shPageDown: Send(SB_PAGEDOWN, 0); break;
        case shThumb: {
            int start = 0, end = 0;
            OwnScrollThumb(length, Info, start, end);
            m_grab = offset - start;
            m_position = Info.nPos;
            m_onThumb = true;
            break;
        }
        case shNone: break;
    }
    return true;
}

void TOwnScrollTracker::Move(TPoint Point) {
    if (m_control == nullptr || !m_onThumb) return;
    bool vertical = m_bar == SB_VERT;
    int length = vertical ? m_rect.Height() : m_rect.Width();
    int offset = vertical ? Point.y - m_rect.Top : Point.x - m_rect.Left;
    int pos = OwnScrollPositionAt(length, m_info, offset - m_grab);
    if (pos == m_position) return;
    m_position = pos;
    Send(SB_THUMBTRACK, pos);
}

void TOwnScrollTracker::Release(TPoint Point) {
    if (m_control == nullptr) return;
    Move(Point);
    if (m_onThumb) Send(SB_THUMBPOSITION, m_position);
    Send(SB_ENDSCROLL, 0);
    m_control = nullptr;
}

void TOwnScrollTracker::Send(WORD Code, int Position) {
    UINT msg = m_bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
    m_control->Perform(msg, MakeScrollWParam(Code, Position), 0);
}
