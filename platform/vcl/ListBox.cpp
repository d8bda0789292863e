// TCustomListBox and its Items (declared in StdCtrls.h).
#include "platform/vcl/StdCtrls.h"

#include <algorithm>

#include "platform/vcl/Graphics.h"
#include "platform/vcl/SysUtils.h"

TOwnerDrawState OwnerDrawStateFromODS(UINT ItemState) {
    TOwnerDrawState s;
    if (ItemState & ODS_SELECTED) s << odSelected;
    if (ItemState & ODS_GRAYED) s << odGrayed;
    if (ItemState & ODS_DISABLED) s << odDisabled;
    if (ItemState & ODS_CHECKED) s << odChecked;
    if (ItemState & ODS_FOCUS) s << odFocused;
    if (ItemState & ODS_DEFAULT) s << odDefault;
    if (ItemState & ODS_COMBOBOXEDIT) s << odComboBoxEdit;
    return s;
}

UINT OwnerDrawStateToODS(TOwnerDrawState State) {
    UINT v = 0;
    if (State.Contains(odSelected)) v |= ODS_SELECTED;
    if (State.Contains(odGrayed)) v |= ODS_GRAYED;
    if (State.Contains(odDisabled)) v |= ODS_DISABLED;
    if (State.Contains(odChecked)) v |= ODS_CHECKED;
    if (State.Contains(odFocused)) v |= ODS_FOCUS;
    if (State.Contains(odDefault)) v |= ODS_DEFAULT;
    if (State.Contains(odComboBoxEdit)) v |= ODS_COMBOBOXEDIT;
    return v;
}

void AttachCanvas(TCanvas* Target, TCanvas* Source) {
    if (Target == Source) return;  // bound already (re-binding would reset its origin)
    Target->SetTarget(Source->GetTarget());
    Target->SetOrigin(Source->GetOrigin());
    Target->SelectClipRect(Source->GetClipRect());
}

// ---- TListBoxStrings ----------------------------------------------------------------------------

int TListBoxStrings::GetCount() const { return m_listBox->Count(); }

String TListBoxStrings::Get(int Index) const {
    if (Index < 0 || Index >= m_listBox->Count()) Error(Index);
    return m_listBox->m_items[static_cast<size_t>(Index)].text;
}

TObject* TListBoxStrings::GetObject(int Index) const {
    if (Index < 0 || Index >= m_listBox->Count()) Error(Index);
    return reinterpret_cast<TObject*>(m_listBox->Perform(LB_GETITEMDATA, static_cast<WPARAM>(Index), 0));
}

void TListBoxStrings::PutObject(int Index, TObject* AObject) {
    if (Index < 0 || Index >= m_listBox->Count()) Error(Index);
    m_listBox->Perform(LB_SETITEMDATA, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(AObject));
}

int TListBoxStrings::Add(const String& S) { return AddObject(S, nullptr); }

int TListBoxStrings::AddObject(const String& S, TObject* AObject) {
    auto r = static_cast<int>(m_listBox->Perform(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(S.c_str())));
    if (r < 0) return r;
    if (AObject != nullptr) PutObject(r, AObject);
    return r;
}

void TListBoxStrings::Insert(int Index, const String& S) {
    if (Index < 0 || Index > m_listBox->Count()) Error(Index);
    m_listBox->Perform(LB_INSERTSTRING, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(S.c_str()));
}

void TListBoxStrings::Put(int Index, const String& S) {
    // As the VCL: the line is replaced by deleting and inserting; the selection and object stay.
    int selected = m_listBox->GetItemIndex();
    TObject* obj = GetObject(Index);
    Delete(Index);
    InsertObject(Index, S, obj);
    if (selected == Index) m_listBox->SetItemIndex(Index);
}

void TListBoxStrings::Delete(int Index) {
    if (Index < 0 || Index >= m_listBox->Count()) Error(Index);
    m_listBox->Perform(LB_DELETESTRING, static_cast<WPARAM>(Index), 0);
}

void TListBoxStrings::Clear() { m_listBox->Perform(LB_RESETCONTENT, 0, 0); }

int TListBoxStrings::IndexOf(const String& S) const {
    return static_cast<int>(m_listBox->Perform(LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                               reinterpret_cast<LPARAM>(S.c_str())));
}

void TListBoxStrings::SetUpdateState(bool Updating) {
    m_listBox->m_updating = Updating;
    if (!Updating) m_listBox->Invalidate();
}

// ---- TCustomListBox -----------------------------------------------------------------------------

TCustomListBox::TCustomListBox(TComponent* AOwner)
    : TWinControl(AOwner), m_strings(new TListBoxStrings(this)), m_canvas(new TCanvas()) {
    // OnClick comes from the selection change, not from a press and release.
    ControlStyle() << csSetCaption << csDoubleClicks << csOpaque;
    ControlStyle() >> csClickEvents;
    SetBounds(GetLeft(), GetTop(), 121, 97);
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clWindow);
}

TCustomListBox::~TCustomListBox() {
    Destroying();
    if (GetParent() != nullptr) GetParent()->RemoveControl(this);
    DestroyWnd();
    delete m_strings;
    delete m_canvas;
}

int TCustomListBox::GetItemIndex() const {
    return static_cast<int>(const_cast<TCustomListBox*>(this)->Perform(LB_GETCURSEL, 0, 0));
}

void TCustomListBox::SetItemIndex(int Value) {
    if (GetItemIndex() == Value) return;
    Perform(LB_SETCURSEL, static_cast<WPARAM>(Value), 0);
}

bool TCustomListBox::GetSelected(int Index) const {
    if (Index < 0 || Index >= Count()) throw EListError(Format("List index out of bounds (%d)", {Index}));
    return m_multiSelect ? m_items[static_cast<size_t>(Index)].selected : Index == m_itemIndex;
}

void TCustomListBox::SetSelected(int Index, bool Value) {
    if (Index < 0 || Index >= Count()) throw EListError(Format("List index out of bounds (%d)", {Index}));
    if (m_multiSelect) {
        Perform(LB_SETSEL, Value ? 1 : 0, Index);
    } else if (Value) {
        SetItemIndex(Index);
    } else if (m_itemIndex == Index) {
        SetItemIndex(-1);
    }
}

int TCustomListBox::GetSelCount() const {
    if (!m_multiSelect) return -1;
    return static_cast<int>(std::count_if(m_items.begin(), m_items.end(), [](const TItem& i) { return i.selected; }));
}

void TCustomListBox::SetSorted(bool v) {
    if (v == m_sorted) return;
    m_sorted = v;
    if (!v) return;
    // Sorting an unsorted list keeps each line with its object.
    std::vector<TItem> items = m_items;
    std::stable_sort(items.begin(), items.end(),
                     [](const TItem& a, const TItem& b) { return AnsiCompareText(a.text, b.text) < 0; });
    m_items = items;
    Invalidate();
}

void TCustomListBox::SetStyle(TListBoxStyle v) {
    if (v == m_style) return;
    m_style = v;
    Invalidate();
}

int TCustomListBox::GetItemHeight() const {
    if (m_itemHeight > 0) return m_itemHeight;
    TCanvas measure;
    measure.SetFont(GetFont());
    return measure.TextHeight("Wg");
}

void TCustomListBox::SetItemHeight(int v) {
    if (v <= 0 || v == m_itemHeight) return;
    m_itemHeight = v;
    Invalidate();
}

void TCustomListBox::SetBorderStyle(TBorderStyle v) {
    if (v == m_borderStyle) return;
    m_borderStyle = v;
    Invalidate();
}

int TCustomListBox::RowHeight(int Index) const {
    int h = GetItemHeight();
    if (m_style == lbOwnerDrawVariable && Index >= 0 && Index < Count())
        const_cast<TCustomListBox*>(this)->MeasureItem(Index, h);
    return std::max(1, h);
}

int TCustomListBox::FrameInset() const { return (m_borderStyle == bsSingle ? 2 : 0) + GetBorderWidth(); }

bool TCustomListBox::VScrollVisible() const {
    TRect r = GetClientRect();
    InflateRect(r, -FrameInset(), -FrameInset());
    int height = r.Height();
    int total = 0;
    for (int i = 0; i < Count(); ++i) {
        total += RowHeight(i);
        if (total > height) return true;
    }
    return false;
}

TRect TCustomListBox::VScrollRect() const {
    TRect r = GetClientRect();
    InflateRect(r, -FrameInset(), -FrameInset());
    return TRect{std::max(r.Left, r.Right - OwnScrollBarSize), r.Top, r.Right, r.Bottom};
}

TRect TCustomListBox::ItemsArea() const {
    TRect r = GetClientRect();
    InflateRect(r, -FrameInset(), -FrameInset());
    if (VScrollVisible()) r.Right = std::max(r.Left, r.Right - OwnScrollBarSize);
    return r;
}

int TCustomListBox::VisibleRows() const {
    TRect area = ItemsArea();
    int rows = 0;
    int y = area.Top;
    for (int i = m_topIndex; i < Count(); ++i) {
        y += RowHeight(i);
        if (y > area.Bottom) break;
        ++rows;
    }
    if (Count() == 0 || rows == 0) rows = std::max(1, area.Height() / std::max(1, GetItemHeight()));
    return rows;
}

TRect TCustomListBox::ItemRect(int Index) const {
    TRect area = ItemsArea();
    int y = area.Top;
    if (Index < m_topIndex) {
        for (int i = Index; i < m_topIndex; ++i) y -= RowHeight(i);
    } else {
        for (int i = m_topIndex; i < Index; ++i) y += RowHeight(i);
    }
    return TRect{area.Left, y, area.Right, y + RowHeight(Index)};
}

int TCustomListBox::ItemAtPos(TPoint Pos, bool Existing) const {
    TRect area = ItemsArea();
    if (!area.Contains(Pos)) return -1;
    int y = area.Top;
    for (int i = m_topIndex; i < Count(); ++i) {
        int h = RowHeight(i);
        if (Pos.y < y + h) return i;
        y += h;
    }
    return Existing ? -1 : Count();
}

void TCustomListBox::SetTopIndex(int v) {
    int top = std::clamp(v, 0, std::max(0, Count() - VisibleRows()));
    if (top == m_topIndex) return;
    m_topIndex = top;
    Invalidate();
}

void TCustomListBox::ScrollBy(int Rows) { SetTopIndex(m_topIndex + Rows); }

void TCustomListBox::MakeVisible(int Index) {
    if (Index < 0) return;
    if (Index < m_topIndex) SetTopIndex(Index);
    else if (Index >= m_topIndex + VisibleRows()) SetTopIndex(Index - VisibleRows() + 1);
}

bool TCustomListBox::GetControlScrollInfo(int Bar, SCROLLINFO& Info) {
    if (Bar != SB_VERT) return false;
    Info.nMin = 0;
    Info.nMax = std::max(0, Count() - 1);
    Info.nPage = static_cast<UINT>(VisibleRows());
    Info.nPos = m_topIndex;
    Info.nTrackPos = m_topIndex;
    return true;
}

bool TCustomListBox::GetControlScrollBarState(int Bar, TScrollBarState& State) {
    if (Bar != SB_VERT) return false;
    State.Visible = VScrollVisible();
    State.Enabled = GetEnabled();
    State.BarRect = VScrollRect();
    SCROLLINFO info;
    GetControlScrollInfo(SB_VERT, info);
    OwnScrollThumb(State.BarRect.Height(), info, State.ThumbStart, State.ThumbEnd);
    State.ThumbStart += State.BarRect.Top;
    State.ThumbEnd += State.BarRect.Top;
    return true;
}

int TCustomListBox::InsertItem(int Index, const String& S) {
    if (Index < 0 || Index > Count()) Index = Count();
    m_items.insert(m_items.begin() + Index, TItem{S, 0, false});
    if (m_itemIndex >= Index) ++m_itemIndex;
    if (!m_updating) Invalidate();
    return Index;
}

void TCustomListBox::DeleteItem(int Index) {
    m_items.erase(m_items.begin() + Index);
    if (m_itemIndex == Index) m_itemIndex = -1;
    else if (m_itemIndex > Index) --m_itemIndex;
    m_topIndex = std::clamp(m_topIndex, 0, std::max(0, Count() - 1));
    if (!m_updating) Invalidate();
}

// The window's own side of the LB_* messages (what the system list box answers).
LRESULT TCustomListBox::WindowMessage(TMessage& Message, bool& Handled) {
    Handled = true;
    auto index = static_cast<int>(static_cast<std::intptr_t>(Message.WParam));
    auto text = [&] { return String(reinterpret_cast<const char*>(Message.LParam)); };
    switch (Message.Msg) {
        case LB_ADDSTRING: {
            String s = text();
            int at = Count();
            if (m_sorted) {
                at = 0;
                while (at < Count() && AnsiCompareText(m_items[static_cast<size_t>(at)].text, s) <= 0) ++at;
            }
            return InsertItem(at, s);
        }
        case LB_INSERTSTRING:
            if (index < -1 || index > Count()) return LB_ERR;
            return InsertItem(index, text());
        case LB_DELETESTRING:
            if (index < 0 || index >= Count()) return LB_ERR;
            DeleteItem(index);
            return Count();
        case LB_RESETCONTENT:
            m_items.clear();
            m_itemIndex = -1;
            m_topIndex = 0;
            Invalidate();
            return 0;
        case LB_GETCOUNT: return Count();
        case LB_GETCURSEL:
            return m_itemIndex;
        case LB_SETCURSEL:
            if (index < 0 || index >= Count()) {
                m_itemIndex = -1;
                for (TItem& i : m_items) i.selected = false;
                Invalidate();
                return index == -1 ? 0 : LB_ERR;
            }
            m_itemIndex = index;
            if (m_multiSelect) {
                for (TItem& i : m_items) i.selected = false;
                m_items[static_cast<size_t>(index)].selected = true;
            }
            MakeVisible(index);
            Invalidate();
            return index;
        case LB_SETSEL: {
            auto at = static_cast<int>(Message.LParam);
            for (int i = 0; i < Count(); ++i)
                if (at == -1 || i == at) m_items[static_cast<size_t>(i)].selected = Message.WParam != 0;
            if (at >= 0 && at < Count()) m_itemIndex = at;
            Invalidate();
            return 0;
        }
        case LB_GETSEL:
            if (index < 0 || index >= Count()) return LB_ERR;
            return GetSelected(index) ? 1 : 0;
        case LB_GETITEMDATA:
            if (index < 0 || index >= Count()) return LB_ERR;
            return static_cast<LRESULT>(m_items[static_cast<size_t>(index)].data);
        case LB_SETITEMDATA:
            if (index < 0 || index >= Count()) return LB_ERR;
            m_items[static_cast<size_t>(index)].data = static_cast<std::uintptr_t>(Message.LParam);
            return 0;
        case LB_GETTEXTLEN:
            if (index < 0 || index >= Count()) return LB_ERR;
            return static_cast<LRESULT>(m_items[static_cast<size_t>(index)].text.size());
        case LB_GETTOPINDEX: return m_topIndex;
        case LB_SETTOPINDEX: SetTopIndex(index); return 0;
        case LB_GETITEMHEIGHT: return GetItemHeight();
        case LB_SETITEMHEIGHT: SetItemHeight(static_cast<int>(Message.LParam)); return 0;
        case LB_FINDSTRINGEXACT: {
            String s = text();
            for (int i = 0; i < Count(); ++i)
                if (AnsiCompareText(m_items[static_cast<size_t>(i)].text, s) == 0) return i;
            return LB_ERR;
        }
        case LB_FINDSTRING: {
            String s = text();
            for (int i = 0; i < Count(); ++i)
                if (AnsiCompareText(m_items[static_cast<size_t>(i)].text.substr(0, s.size()), s) == 0) return i;
            return LB_ERR;
        }
        case LB_SETCOUNT: return LB_ERR;  // no virtual lists here
        case LB_GETCARETINDEX: return m_itemIndex;
        case LB_SETCARETINDEX: m_itemIndex = index; Invalidate(); return 0;
        default:
            Handled = false;
            return 0;
    }
}

void TCustomListBox::Dispatch(TMessage& Message) {
    bool handled = false;
    LRESULT r = WindowMessage(Message, handled);
    if (handled) {
        Message.Result = r;
        return;
    }
    switch (Message.Msg) {
        case WM_PAINT:
            if (Message.WParam != 0)
                PaintOnto(m_canvas, reinterpret_cast<TCanvas*>(Message.WParam), {0, 0}, GetClientWidth(),
                          GetClientHeight(), [this] { Paint(); });
            TWinControl::Dispatch(Message);
            return;
        case CN_DRAWITEM:
            CNDrawItem(Message);
            return;
        case CN_COMMAND:
            if (HIWORD(static_cast<DWORD>(Message.WParam)) == LBN_SELCHANGE) Click();
            else if (HIWORD(static_cast<DWORD>(Message.WParam)) == LBN_DBLCLK) DblClick();
            return;
        case WM_GETDLGCODE:
            Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
            return;
        case WM_VSCROLL: {
            switch (LOWORD(static_cast<DWORD>(Message.WParam))) {
                case SB_LINEUP: ScrollBy(-1); break;
                case SB_LINEDOWN: ScrollBy(1); break;
                case SB_PAGEUP: ScrollBy(-std::max(1, VisibleRows() - 1)); break;
                case SB_PAGEDOWN: ScrollBy(std::max(1, VisibleRows() - 1)); break;
                case SB_THUMBPOSITION:
                case SB_THUMBTRACK: SetTopIndex(ScrollWParamPos(Message.WParam)); break;
                case SB_TOP: SetTopIndex(0); break;
                case SB_BOTTOM: SetTopIndex(Count()); break;
                default: break;
            }
            return;
        }
        case WM_MOUSEWHEEL: {
            auto delta = static_cast<short>(HIWORD(static_cast<DWORD>(Message.WParam)));
            ScrollBy(-delta / 120 * 3);
            return;
        }
        case CM_ENABLEDCHANGED:
        case CM_FOCUSCHANGED:
            Invalidate();
            break;
        default:
            break;
    }
    TWinControl::Dispatch(Message);
}

void TCustomListBox::Paint() {
    TCanvas* c = m_canvas;
    TRect client = GetClientRect();
    if (m_borderStyle == bsSingle) DrawSunkenBorder(c, client);
    TRect area = ItemsArea();
    FillBackground(c, area, GetColor());
    bool focused = Focused();
    UINT disabled = GetEnabled() ? 0 : ODS_DISABLED;
    if (Count() == 0) {
        // An empty list with the focus shows only the focus rectangle of its first row.
        if (focused) DrawOneItem(c, -1, TRect{area.Left, area.Top, area.Right, area.Top + GetItemHeight()},
                                 ODS_FOCUS | disabled);
    } else {
        int saved = c->SaveDC();
        c->IntersectClipRect(area);
        for (int i = m_topIndex; i < Count(); ++i) {
            TRect r = ItemRect(i);
            if (r.Top >= area.Bottom) break;
            UINT state = disabled;
            if (GetSelected(i)) state |= ODS_SELECTED;
            if (focused && i == std::max(m_itemIndex, 0)) state |= ODS_FOCUS;
            DrawOneItem(c, i, r, state);
        }
        c->RestoreDC(saved);
    }
    if (VScrollVisible()) {
        SCROLLINFO info;
        GetControlScrollInfo(SB_VERT, info);
        PaintOwnScrollBar(c, VScrollRect(), true, info, GetEnabled());
    }
}

void TCustomListBox::DrawOneItem(TCanvas* Onto, int Index, const TRect& Rect, UINT ItemState) {
    DRAWITEMSTRUCT dis;
    dis.CtlType = ODT_LISTBOX;
    dis.itemID = static_cast<UINT>(Index);
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = ItemState;
    dis.hwndItem = GetHandle();
    dis.hDC = HDCFromCanvas(Onto);
    dis.rcItem = RECT{Rect.Left, Rect.Top, Rect.Right, Rect.Bottom};
    dis.itemData = Index >= 0 && Index < Count() ? m_items[static_cast<size_t>(Index)].data : 0;
    int saved = Onto->SaveDC();
    if (m_style == lbStandard || GetParent() == nullptr)
        Perform(CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
    else
        GetParent()->Perform(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
    Onto->RestoreDC(saved);
}

void TCustomListBox::CNDrawItem(TMessage& Message) {
    auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
    TOwnerDrawState state = OwnerDrawStateFromODS(dis->itemState);
    TCanvas* onto = CanvasFromHDC(dis->hDC);
    if (onto != m_canvas) AttachCanvas(m_canvas, onto);
    m_canvas->SetFont(GetFont());
    m_canvas->GetBrush()->SetStyle(bsSolid);
    m_canvas->GetBrush()->SetColor(GetColor());
    if (state.Contains(odSelected)) {
        m_canvas->GetBrush()->SetColor(clHighlight);
        m_canvas->GetFont()->SetColor(clHighlightText);
    }
    if (state.Contains(odDisabled)) m_canvas->GetFont()->SetColor(clGrayText);
    TRect r{dis->rcItem.left, dis->rcItem.top, dis->rcItem.right, dis->rcItem.bottom};
    if (static_cast<int>(dis->itemID) >= 0) DrawItem(static_cast<int>(dis->itemID), r, state);
    else m_canvas->FillRect(r);
    if (state.Contains(odFocused)) m_canvas->DrawFocusRect(r);
    Message.Result = 1;
}

void TCustomListBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
    if (OnDrawItem) {
        OnDrawItem(this, Index, Rect, State);
        return;
    }
    m_canvas->FillRect(Rect);
    if (Index < Count()) {
        m_canvas->GetBrush()->SetStyle(bsClear);
        m_canvas->TextOut(Rect.Left + 2, Rect.Top, m_items[static_cast<size_t>(Index)].text);
        m_canvas->GetBrush()->SetStyle(bsSolid);
    }
}

void TCustomListBox::MeasureItem(int Index, int& Height) {
    if (OnMeasureItem) OnMeasureItem(this, Index, Height);
}

void TCustomListBox::NotifySelChange() {
    if (GetParent() != nullptr)
        GetParent()->Perform(WM_COMMAND, static_cast<WPARAM>(LBN_SELCHANGE) << 16, reinterpret_cast<LPARAM>(GetHandle()));
    else
        Perform(CN_COMMAND, static_cast<WPARAM>(LBN_SELCHANGE) << 16, 0);
}

void TCustomListBox::MoveSelection(int Index) {
    if (Count() == 0) return;
    Index = std::clamp(Index, 0, Count() - 1);
    if (Index == m_itemIndex && (!m_multiSelect || m_items[static_cast<size_t>(Index)].selected)) {
        MakeVisible(Index);
        return;
    }
    Perform(LB_SETCURSEL, static_cast<WPARAM>(Index), 0);
    NotifySelChange();
}

void TCustomListBox::KeyDown(Word& Key, TShiftState Shift) {
    TWinControl::KeyDown(Key, Shift);
    int current = m_itemIndex;
    switch (Key) {
        case VK_UP: MoveSelection(current < 0 ? 0 : current - 1); break;
        case VK_DOWN: MoveSelection(current + 1); break;
        case VK_HOME: MoveSelection(0); break;
        case VK_END: MoveSelection(Count() - 1); break;
        case VK_PRIOR: MoveSelection(current - std::max(1, VisibleRows() - 1)); break;
        case VK_NEXT: MoveSelection(current + std::max(1, VisibleRows() - 1)); break;
        default: return;
    }
}

void TCustomListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft && CanFocus() && !Focused()) SetFocus();
    if (Button == mbLeft && VScrollVisible()) {
        SCROLLINFO info;
        GetControlScrollInfo(SB_VERT, info);
        if (m_scroll.Press(this, SB_VERT, VScrollRect(), info, {X, Y})) {
            SetMouseCapture(true);
            TWinControl::MouseDown(Button, Shift, X, Y);
            return;
        }
    }
    if (Button == mbLeft) {
        int i = ItemAtPos({X, Y}, true);
        if (i >= 0) {
            if (m_multiSelect && Shift.Contains(ssCtrl)) {
                Perform(LB_SETSEL, m_items[static_cast<size_t>(i)].selected ? 0 : 1, i);
                NotifySelChange();
            } else {
                MoveSelection(i);
            }
            if (Shift.Contains(ssDouble)) {
                if (GetParent() != nullptr)
                    GetParent()->Perform(WM_COMMAND, static_cast<WPARAM>(LBN_DBLCLK) << 16,
                                         reinterpret_cast<LPARAM>(GetHandle()));
            }
            m_tracking = true;
            SetMouseCapture(true);
        }
    }
    TWinControl::MouseDown(Button, Shift, X, Y);
}

void TCustomListBox::MouseMove(TShiftState Shift, int X, int Y) {
    if (m_scroll.Tracking()) {
        m_scroll.Move({X, Y});
    } else if (m_tracking && !m_multiSelect) {
        int i = ItemAtPos({X, Y}, true);
        if (i >= 0) MoveSelection(i);
    }
    TWinControl::MouseMove(Shift, X, Y);
}

void TCustomListBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft) {
        if (m_scroll.Tracking()) m_scroll.Release({X, Y});
        m_tracking = false;
        SetMouseCapture(false);
    }
    TWinControl::MouseUp(Button, Shift, X, Y);
}
