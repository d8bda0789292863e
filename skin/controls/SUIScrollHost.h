// External scroll bars for the scrolling skinned controls (memo, grids, list boxes): skinned
// TsuiScrollBar controls on the control's parent, laid over the control's own bars, mirroring
// their state, and scrolling the control when moved. Written once; each family embeds one.
//
//   class TsuiMemo : public TCustomMemo, public IsuiStyled, public IsuiScrollBarInfoSource {
//       TsuiScrollHost m_bars{this, TsuiScrollHostKind::Memo};
//   public:
//       TsuiMemo(TComponent* AOwner) : TCustomMemo(AOwner) {
//           // The control's own bars exist exactly where an external bar mirrors them.
//           m_bars.OnInnerScrollBars = [this](bool V, bool H) {
//               SetScrollBars(V && H ? ssBoth : V ? ssVertical : H ? ssHorizontal : ssNone);
//           };
//           ...
//       }
//       TsuiScrollBar* GetVScrollBar() const { return m_bars.GetVScrollBar(); }
//       void SetVScrollBar(TsuiScrollBar* v) { m_bars.SetVScrollBar(v); }   // and the H pair
//       bool GetSystemScrollBarInfo(LONG Id, SCROLLBARINFO& Info) override {
//           return m_bars.SystemScrollBarInfo(Id, Info);                  // from GetControlScrollBarState
//       }
//       void SetUIStyle(TsuiUIStyle v) override {
//           m_style.StoreUIStyle(v);
//           ... the family's colours (SUIControlLook.h) ...
//           m_bars.SetBarsUIStyle(m_style.Values().Effective());
//           Invalidate();
//       }
//       void SetFileTheme(TsuiFileTheme* v) override {
//           m_style.StoreFileTheme(v);
//           m_bars.SetBarsFileTheme(v);                                   // memo and list boxes; grids don't
//           SetUIStyle(GetUIStyle());
//       }
//   protected:
//       void Notification(TComponent* C, TOperation Op) override {
//           TCustomMemo::Notification(C, Op);
//           m_bars.Notification(C, Op);                                   // a bar freed anywhere
//           if (m_style.ThemeRemoved(C, Op)) SetUIStyle(DeepBlue);
//       }
//       void BoundsChanged() override { TCustomMemo::BoundsChanged(); m_bars.UpdateScrollBarsPos(); }
//       void Dispatch(TMessage& M) override {
//           TCustomMemo::Dispatch(M);
//           SUIDrawBorderAfterPaint(this, M, m_borderColor, true);
//           m_bars.AfterMessage(M);                                       // the resynchronising messages
//       }
//   };
//
// Moving an external bar sends the control WM_VSCROLL (WM_HSCROLL) with SB_THUMBPOSITION and
// the bar's whole 32-bit position, both in WParam (read with ScrollWParamPos, Windows.h; HIWORD
// gets only its low 16 bits) and as LParam.
// While the control scrolls itself from a bar, IsFromBar() is true and the host writes nothing
// back into the bars; while the host copies the control's state into the bars, IsUpdating()
// is true and the bars' changes are ignored. The bars are referenced, never owned; the host
// asks for free notification, so a bar freed from any form is dropped.
#pragma once

#include <functional>

#include "platform/vcl/Controls.h"
#include "platform/win32/Windows.h"
#include "skin/controls/SUIScrollBar.h"
#include "skin/core/Suipublic.h"

class TsuiFileTheme;

// Memo: both bars, a two-pixel border. Grid: both bars, a one-pixel border. ListBox: the
// vertical bar only, with the list box's own placement and update rules. The data-aware forms:
// DBMemo never hides a bar for size; DBListBox always sits at the right edge and a moved bar
// only repaints the list; DBLookupListBox also ignores the control's enabled state and its
// visibility changes; DBGrid keeps its own bars (no inner update), updates both bars in the list
// box's form before placing them, and moves a bar too big for the grid to its left or top edge.
enum class TsuiScrollHostKind { Memo, Grid, ListBox, DBMemo, DBListBox, DBLookupListBox, DBGrid };

// Where the external bars go over a control at Control (in the parent's coordinates); a bar
// not assigned is given as 0 x 0 and comes back unchanged.
struct TsuiScrollBarsPlacement {
    TRect HBar;
    bool HVisible = false;
    TRect VBar;
    bool VVisible = false;
};
TsuiScrollBarsPlacement SUIPlaceScrollBars(TsuiScrollHostKind Kind, const TRect& Control, bool HasH, TSize HBar,
                                           bool HasV, TSize VBar);
// The data grid's placement: HShown and VShown tell which bars show now (a bar is shortened
// only by the other one while that one shows); visibility is left to the update.
TsuiScrollBarsPlacement SUIPlaceDBGridScrollBars(const TRect& Control, bool HasH, TSize HBar, bool HShown, bool HasV,
                                                 TSize VBar, bool VShown);

// SCROLLBARINFO of a control's own bar from its GetControlScrollBarState (screen coordinates,
// thumb along the bar, invisible and unavailable states); false when it has no such bar.
bool SUIScrollBarInfoFromState(TWinControl* Control, LONG ObjectId, SCROLLBARINFO& Info);

class TsuiScrollHost {
public:
    TsuiScrollHost(TWinControl* Control, TsuiScrollHostKind Kind);
    ~TsuiScrollHost();
    TsuiScrollHost(const TsuiScrollHost&) = delete;
    TsuiScrollHost& operator=(const TsuiScrollHost&) = delete;

    TsuiScrollBar* GetVScrollBar() const { return m_vBar; }
    TsuiScrollBar* GetHScrollBar() const { return m_hBar; }
    // The same bar again changes nothing; a replaced bar gets Max 100, LineButton 0, enabled
    // and no change handler. A list box takes no horizontal bar.
    void SetVScrollBar(TsuiScrollBar* Bar);
    void SetHScrollBar(TsuiScrollBar* Bar);

    // Tells the control which of its own bars should exist (memo and grids).
    std::function<void(bool Vertical, bool Horizontal)> OnInnerScrollBars;

    void UpdateInnerScrollBars();
    // Lays the bars over the control's edges, then UpdateScrollBars.
    void UpdateScrollBarsPos();
    // Copies the control's scroll state into the bars (not while scrolling from a bar).
    void UpdateScrollBars();
    void OnVScrollBarChange();
    void OnHScrollBarChange();

    // The look and the file theme handed on to the assigned bars.
    void SetBarsUIStyle(TsuiUIStyle Look);
    void SetBarsFileTheme(TsuiFileTheme* Theme);

    // From the control's Notification: drops a removed bar.
    void Notification(TComponent* AComponent, TOperation Operation);
    // From the control's Dispatch, after the inherited handling.
    void AfterMessage(const TMessage& Message);
    bool SystemScrollBarInfo(LONG ObjectId, SCROLLBARINFO& Info) const {
        return SUIScrollBarInfoFromState(m_control, ObjectId, Info);
    }

    bool IsUpdating() const { return m_updating; }
    bool IsFromBar() const { return m_fromBar; }
    bool IsMouseDown() const { return m_mouseDown; }

private:
    // The vertical bar only, updated in the list box's form.
    bool IsListBox() const {
        return m_kind == TsuiScrollHostKind::ListBox || m_kind == TsuiScrollHostKind::DBListBox ||
               m_kind == TsuiScrollHostKind::DBLookupListBox;
    }
    // The control's own bars are never changed to match the external ones.
    bool KeepsInnerBars() const { return IsListBox() || m_kind == TsuiScrollHostKind::DBGrid; }
    // Both bars shown, hidden and enabled as the list box does.
    bool UpdatesAsListBox() const { return IsListBox() || m_kind == TsuiScrollHostKind::DBGrid; }
    void Attach(TsuiScrollBar*& Slot, TsuiScrollBar* Bar, TsuiProgressBarOrientation Orientation);
    void Release(TsuiScrollBar* Bar);
    void Unlink(TsuiScrollBar* Bar);
    void UpdateBar(TsuiScrollBar* Bar, LONG ObjectId, int SysBar);
    void BarChanged(UINT Msg, TsuiScrollBar* Bar);
    bool Resynchronises(UINT Msg) const;
    void HideBars();
    void PlaceDBGridBars();

    TWinControl* m_control;
    TsuiScrollHostKind m_kind;
    TsuiScrollBar* m_vBar = nullptr;
    TsuiScrollBar* m_hBar = nullptr;
    bool m_mouseDown = false;
    bool m_updating = false;
    bool m_fromBar = false;
};
