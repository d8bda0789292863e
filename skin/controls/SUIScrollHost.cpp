#include "skin/controls/SUIScrollHost.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>

#include "platform/vcl/Messages.h"
#include "skin/core/SUIMgr.h"

namespace {

// Messages of the edit and list controls that change their contents (and so their bars).
constexpr UINT ClearMessage = 0x0303;        // WM_CLEAR
constexpr UINT UndoMessage = 0x0304;         // WM_UNDO
constexpr UINT DeleteItemMessage = 0x002D;   // WM_DELETEITEM
constexpr UINT AddStringMessage = 0x0180;    // LB_ADDSTRING
constexpr UINT InsertStringMessage = 0x0181; // LB_INSERTSTRING
constexpr UINT DeleteStringMessage = 0x0182; // LB_DELETESTRING
constexpr UINT SetCountMessage = 0x01A7;     // LB_SETCOUNT

// Restores a flag however the scope is left.
class TFlagScope {
public:
    explicit TFlagScope(bool& Flag) : m_flag(Flag) { m_flag = true; }
    ~TFlagScope() { m_flag = false; }
    TFlagScope(const TFlagScope&) = delete;
    TFlagScope& operator=(const TFlagScope&) = delete;

private:
    bool& m_flag;
};

int ClampToInt(std::int64_t V) { return static_cast<int>(std::clamp<std::int64_t>(V, INT_MIN, INT_MAX)); }

// Min and Max in an order the track's clamping setters keep.
void SetRange(TsuiScrollBar* Bar, int Min, int Max) {
    if (Min > Bar->GetMax()) {
        Bar->SetMax(Max);
        Bar->SetMin(Min);
    } else {
        Bar->SetMin(Min);
        Bar->SetMax(Max);
    }
}

}  // namespace

TsuiScrollBarsPlacement SUIPlaceScrollBars(TsuiScrollHostKind Kind, const TRect& Control, bool HasH, TSize HBar,
                                           bool HasV, TSize VBar) {
    TsuiScrollBarsPlacement p;
    const int cL = Control.Left, cT = Control.Top, cW = Control.Width(), cH = Control.Height();
    if (Kind == TsuiScrollHostKind::ListBox) {
        if (HasV) p.VBar = Bounds(VBar.cx <= cW ? cL + cW - VBar.cx - 2 : cL, cT + 1, VBar.cx, cH - 2);
        return p;
    }
    if (Kind == TsuiScrollHostKind::DBListBox || Kind == TsuiScrollHostKind::DBLookupListBox) {
        if (HasV) p.VBar = Bounds(cL + cW - VBar.cx - 2, cT + 1, VBar.cx, cH - 2);
        return p;
    }
    if (Kind == TsuiScrollHostKind::DBGrid) return SUIPlaceDBGridScrollBars(Control, HasH, HBar, HasH, HasV, VBar, HasV);
    if (Kind == TsuiScrollHostKind::DBMemo) {
        if (HasH) p.HBar = Bounds(cL + 1, cT + cH - HBar.cy - 2, cW - 2 - (HasV ? VBar.cx : 0), HBar.cy);
        if (HasV) p.VBar = Bounds(cL + cW - VBar.cx - 2, cT + 1, VBar.cx, cH - 2 - (HasH ? HBar.cy : 0));
        p.HVisible = HasH;
        p.VVisible = HasV;
        return p;
    }
    // The bars lie inside the border: two pixels for the memo, one for the grids.
    const int inset = Kind == TsuiScrollHostKind::Grid ? 1 : 2;
    if (HasH) {
        p.HBar = Bounds(cL + 1, cT + cH - HBar.cy - inset, cW - 1 - (HasV ? VBar.cx : 0), HBar.cy);
        p.HVisible = HBar.cy <= cH;
    }
    if (HasV) {
        p.VBar = Bounds(cL + cW - VBar.cx - inset, cT + 1, VBar.cx, cH - inset - (HasH ? HBar.cy : 0));
        p.VVisible = VBar.cx <= cW;
    }
    return p;
}

TsuiScrollBarsPlacement SUIPlaceDBGridScrollBars(const TRect& Control, bool HasH, TSize HBar, bool HShown, bool HasV,
                                                 TSize VBar, bool VShown) {
    TsuiScrollBarsPlacement p;
    const int cL = Control.Left, cT = Control.Top, cW = Control.Width(), cH = Control.Height();
    if (HasH) {
        const int top = HBar.cy <= cH ? cT + cH - HBar.cy - 1 : cT;
        p.HBar = Bounds(cL + 1, top, cW - 2 - (HasV && VShown ? VBar.cx : 0), HBar.cy);
        p.HVisible = HShown;
    }
    if (HasV) {
        const int left = VBar.cx <= cW ? cL + cW - VBar.cx - 1 : cL;
        p.VBar = Bounds(left, cT + 1, VBar.cx, cH - 2 - (HasH && HShown ? HBar.cy : 0));
        p.VVisible = VShown;
    }
    return p;
}

bool SUIScrollBarInfoFromState(TWinControl* Control, LONG ObjectId, SCROLLBARINFO& Info) {
    if (Control == nullptr) return false;
    int bar;
    if (ObjectId == OBJID_VSCROLL)
        bar = SB_VERT;
    else if (ObjectId == OBJID_HSCROLL)
        bar = SB_HORZ;
    else
        return false;
    TWinControl::TScrollBarState state;
    if (!Control->GetControlScrollBarState(bar, state)) return false;
    TPoint topLeft = Control->ClientToScreen({state.BarRect.Left, state.BarRect.Top});
    Info.rcScrollBar = Bounds(topLeft.x, topLeft.y, state.BarRect.Width(), state.BarRect.Height());
    Info.dxyLineButton = bar == SB_VERT ? state.BarRect.Width() : state.BarRect.Height();
    Info.xyThumbTop = state.ThumbStart;
    Info.xyThumbBottom = state.ThumbEnd;
    std::fill(std::begin(Info.rgstate), std::end(Info.rgstate), 0);
    if (!state.Visible) Info.rgstate[0] |= STATE_SYSTEM_INVISIBLE;
    if (!state.Enabled) Info.rgstate[0] |= STATE_SYSTEM_UNAVAILABLE;
    return true;
}

TsuiScrollHost::TsuiScrollHost(TWinControl* Control, TsuiScrollHostKind Kind) : m_control(Control), m_kind(Kind) {}

TsuiScrollHost::~TsuiScrollHost() {
    // The bars outlive the control: they must not keep calling into it.
    for (TsuiScrollBar* bar : {m_vBar, m_hBar}) {
        if (bar == nullptr) continue;
        bar->SetOnChange(nullptr);
        Unlink(bar);
    }
}

void TsuiScrollHost::SetVScrollBar(TsuiScrollBar* Bar) { Attach(m_vBar, Bar, suiVertical); }

void TsuiScrollHost::SetHScrollBar(TsuiScrollBar* Bar) {
    if (IsListBox()) return;
    Attach(m_hBar, Bar, suiHorizontal);
}

void TsuiScrollHost::Release(TsuiScrollBar* Bar) {
    if (Bar == nullptr) return;
    Bar->SetOnChange(nullptr);
    Bar->SetLineButton(0);
    Bar->SetMax(100);
    Bar->SetEnabled(true);
    Unlink(Bar);
}

void TsuiScrollHost::Unlink(TsuiScrollBar* Bar) {
    Bar->RemoveFreeNotification(m_control);
    m_control->RemoveFreeNotification(Bar);
}

void TsuiScrollHost::Attach(TsuiScrollBar*& Slot, TsuiScrollBar* Bar, TsuiProgressBarOrientation Orientation) {
    if (Bar == Slot) return;
    Release(Slot);
    Slot = Bar;
    if (Bar == nullptr) {
        if (!KeepsInnerBars()) UpdateInnerScrollBars();
        return;
    }
    Bar->FreeNotification(m_control);
    Bar->SetOrientation(Orientation);
    if (Orientation == suiVertical)
        Bar->SetOnChange([this](TObject*) { OnVScrollBarChange(); });
    else
        Bar->SetOnChange([this](TObject*) { OnHScrollBarChange(); });
    Bar->BringToFront();
    if (!KeepsInnerBars()) UpdateInnerScrollBars();
    UpdateScrollBarsPos();
}

void TsuiScrollHost::UpdateInnerScrollBars() {
    if (OnInnerScrollBars) OnInnerScrollBars(m_vBar != nullptr, m_hBar != nullptr);
}

void TsuiScrollHost::UpdateScrollBarsPos() {
    if (m_vBar == nullptr && m_hBar == nullptr) return;
    if (m_kind == TsuiScrollHostKind::DBGrid) {
        PlaceDBGridBars();
        return;
    }
    auto size = [](TsuiScrollBar* B) { return B ? TSize{B->GetWidth(), B->GetHeight()} : TSize{}; };
    TsuiScrollBarsPlacement p = SUIPlaceScrollBars(m_kind, m_control->GetBoundsRect(), m_hBar != nullptr, size(m_hBar),
                                                   m_vBar != nullptr, size(m_vBar));
    // A bar of a hidden control stays hidden.
    const bool shown = m_control->GetVisible();
    if (m_hBar != nullptr) {
        m_hBar->SetBoundsRect(p.HBar);
        m_hBar->SetVisible(p.HVisible && shown);
    }
    if (m_vBar != nullptr) {
        m_vBar->SetBoundsRect(p.VBar);
        if (!IsListBox()) m_vBar->SetVisible(p.VVisible && shown);
    }
    UpdateScrollBars();
}

// The data grid's bars: first brought up to date (which shows or hides them), then placed by
// what shows; nothing while the grid is being loaded.
void TsuiScrollHost::PlaceDBGridBars() {
    if (m_control->GetComponentState().Contains(csLoading)) return;
    UpdateScrollBars();
    auto size = [](TsuiScrollBar* B) { return B ? TSize{B->GetWidth(), B->GetHeight()} : TSize{}; };
    TsuiScrollBarsPlacement p = SUIPlaceDBGridScrollBars(
        m_control->GetBoundsRect(), m_hBar != nullptr, size(m_hBar), m_hBar != nullptr && m_hBar->GetVisible(),
        m_vBar != nullptr, size(m_vBar), m_vBar != nullptr && m_vBar->GetVisible());
    if (m_hBar != nullptr) m_hBar->SetBoundsRect(p.HBar);
    if (m_vBar != nullptr) m_vBar->SetBoundsRect(p.VBar);
}

void TsuiScrollHost::UpdateScrollBars() {
    if (m_fromBar && !IsListBox()) return;
    if (m_vBar == nullptr && m_hBar == nullptr) return;
    if (m_kind == TsuiScrollHostKind::DBGrid && m_control->GetComponentState().Contains(csLoading)) return;
    TFlagScope updating(m_updating);
    if (m_hBar != nullptr) UpdateBar(m_hBar, OBJID_HSCROLL, SB_HORZ);
    if (m_vBar != nullptr) UpdateBar(m_vBar, OBJID_VSCROLL, SB_VERT);
}

void TsuiScrollHost::UpdateBar(TsuiScrollBar* Bar, LONG ObjectId, int SysBar) {
    HWND window = m_control->GetHandle();
    SCROLLBARINFO info;
    info.cbSize = sizeof(SCROLLBARINFO);
    const bool known = SUIGetScrollBarInfo(window, ObjectId, &info);
    const DWORD state = known ? info.rgstate[0] : 0;
    const bool usable = known && (state & STATE_SYSTEM_INVISIBLE) == 0 && (state & STATE_SYSTEM_UNAVAILABLE) == 0;
    // The lookup list's bar follows its own bar whatever the list's enabled state.
    const bool enabled = m_control->GetEnabled() || m_kind == TsuiScrollHostKind::DBLookupListBox;
    if (UpdatesAsListBox()) {
        if (usable && enabled) {
            Bar->SetLineButton(std::abs(info.xyThumbBottom - info.xyThumbTop));
            Bar->SetEnabled(true);
            // A hidden control's bar stays hidden until the control shows again (the lookup
            // list, which follows no visibility change, shows its bar whenever it is usable).
            Bar->SetVisible(m_control->GetVisible() || m_kind == TsuiScrollHostKind::DBLookupListBox);
        } else if (usable) {
            Bar->SetEnabled(false);
        } else {
            Bar->SetLineButton(0);
            Bar->SetEnabled(false);
            Bar->SetVisible(false);
        }
    } else if (!known) {
        Bar->SetVisible(false);
    } else if (usable && enabled) {
        Bar->SetLineButton(std::abs(info.xyThumbBottom - info.xyThumbTop));
        if (SysBar == SB_HORZ) Bar->SetSmallChange(static_cast<TScrollBarInc>(std::clamp(3 * Bar->GetPageSize(), 1, 32767)));
        Bar->SetEnabled(true);
        Bar->SetSliderVisible(true);
    } else {
        Bar->SetLineButton(0);
        Bar->SetEnabled(false);
        Bar->SetSliderVisible(false);
    }
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    if (!GetScrollInfo(window, SysBar, &si)) return;
    SetRange(Bar, si.nMin, ClampToInt(static_cast<std::int64_t>(si.nMax) - si.nPage + 1));
    Bar->SetPosition(si.nPos);
}

void TsuiScrollHost::OnVScrollBarChange() { BarChanged(WM_VSCROLL, m_vBar); }

void TsuiScrollHost::OnHScrollBarChange() { BarChanged(WM_HSCROLL, m_hBar); }

void TsuiScrollHost::BarChanged(UINT Msg, TsuiScrollBar* Bar) {
    if (m_updating || Bar == nullptr) return;
    // The whole position goes both above the request code and in LParam (a standard bar's
    // LParam is otherwise empty), so either reading gets all 32 bits.
    const int position = Bar->GetPosition();
    const WPARAM request = MakeScrollWParam(SB_THUMBPOSITION, position);
    const LPARAM whole = static_cast<LPARAM>(position);
    if (m_kind == TsuiScrollHostKind::DBListBox || m_kind == TsuiScrollHostKind::DBLookupListBox) {
        m_control->Perform(Msg, request, whole);
        m_control->Invalidate();
        return;
    }
    if (IsListBox()) {
        m_control->Perform(Msg, request, whole);
        UpdateScrollBars();
        return;
    }
    TFlagScope fromBar(m_fromBar);
    m_control->Perform(Msg, request, whole);
    m_control->Invalidate();
}

void TsuiScrollHost::SetBarsUIStyle(TsuiUIStyle Look) {
    for (TsuiScrollBar* bar : {m_vBar, m_hBar})
        if (bar != nullptr) bar->SetUIStyle(Look);
}

void TsuiScrollHost::SetBarsFileTheme(TsuiFileTheme* Theme) {
    for (TsuiScrollBar* bar : {m_vBar, m_hBar})
        if (bar != nullptr) bar->SetFileTheme(Theme);
}

void TsuiScrollHost::Notification(TComponent* AComponent, TOperation Operation) {
    if (Operation != opRemove || AComponent == nullptr) return;
    if (AComponent == m_vBar) {
        m_vBar = nullptr;
    } else if (AComponent == m_hBar) {
        m_hBar = nullptr;
    } else {
        return;
    }
    if (!KeepsInnerBars()) UpdateInnerScrollBars();
}

void TsuiScrollHost::HideBars() {
    for (TsuiScrollBar* bar : {m_vBar, m_hBar})
        if (bar != nullptr) bar->SetVisible(false);
}

bool TsuiScrollHost::Resynchronises(UINT Msg) const {
    switch (Msg) {
        case CM_ENABLEDCHANGED:
        case WM_KEYDOWN:
        case WM_MOUSEWHEEL:
        case WM_LBUTTONDOWN: return true;
        case WM_MOUSEMOVE: return m_mouseDown;
        case WM_VSCROLL:
        case WM_HSCROLL: return IsListBox() || !m_fromBar;
        case WM_CUT:
        case WM_PASTE:
        case ClearMessage:
        case UndoMessage:
        case WM_SETTEXT: return !IsListBox();
        case AddStringMessage:
        case InsertStringMessage:
        case DeleteStringMessage:
        case SetCountMessage:
        case DeleteItemMessage:
        case WM_CREATE: return IsListBox();
        default: return false;
    }
}

void TsuiScrollHost::AfterMessage(const TMessage& Message) {
    switch (Message.Msg) {
        case WM_LBUTTONDOWN: m_mouseDown = true; break;
        case WM_LBUTTONUP: m_mouseDown = false; return;
        case WM_SIZE:
        case WM_MOVE: UpdateScrollBarsPos(); return;
        case CM_VISIBLECHANGED:
            if (m_kind == TsuiScrollHostKind::DBLookupListBox) return;
            if (m_control->GetVisible())
                UpdateScrollBarsPos();
            else
                HideBars();
            return;
        default: break;
    }
    if (Resynchronises(Message.Msg)) UpdateScrollBars();
}
