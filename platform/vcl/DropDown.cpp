#include "platform/vcl/DropDown.h"

#include <algorithm>
#include <cctype>

#include "platform/vcl/Graphics.h"

namespace {

// One list is open at a time, as one popup has the pointer on a desktop.
TDropDownWindow* g_open = nullptr;

// The list never takes the focus: the control it drops from keeps it.
class TDropDownListBox : public TListBox {
public:
    using TListBox::TListBox;
    bool CanFocus() const override { return false; }
};

bool Inside(const TWinControl* Outer, const TControl* Control) {
    for (const TControl* c = Control; c != nullptr; c = c->GetParent())
        if (c == Outer) return true;
    return false;
}

}  // namespace

TDropDownWindow::TDropDownWindow(TWinControl* DroppedFrom, TDropDownHost* Host)
    : TCustomForm(nullptr), m_droppedFrom(DroppedFrom), m_host(Host) {
    SetBorderStyle(bsNone);
    SetPopupWindow(true);
    SetParentColor(false);
    SetColor(clWindowFrame);  // the one-pixel frame around the list
    m_list = new TDropDownListBox(this);
    m_list->SetBorderStyle(bsNone);
    m_list->SetParent(this);
    m_list->OnMouseMove = [this](TObject*, TShiftState, int X, int Y) { HighlightAt(X, Y); };
    m_list->OnMouseUp = [this](TObject*, TMouseButton Button, TShiftState, int X, int Y) {
        if (Button != mbLeft) return;
        int i = m_list->ItemAtPos({X, Y}, true);
        if (i >= 0) Pick(i);
    };
}

TDropDownWindow::~TDropDownWindow() {
    if (g_open == this) g_open = nullptr;
    if (GetCaptureControl() == m_list) SetCaptureControl(nullptr);
}

void TDropDownWindow::Open(const TRect& ScreenRect) {
    if (g_open != nullptr && g_open != this) g_open->Dismiss();
    SetBounds(ScreenRect.Left, ScreenRect.Top, ScreenRect.Width(), ScreenRect.Height());
    m_list->SetBounds(1, 1, std::max(0, ScreenRect.Width() - 2), std::max(0, ScreenRect.Height() - 2));
    g_open = this;
    Show();
    // The press that opened the list may still be held: its moves and release are the list's,
    // so a drag from the face onto an item takes that item.
    SetCaptureControl(m_list);
}

void TDropDownWindow::Shut() {
    if (g_open == this) g_open = nullptr;
    if (GetCaptureControl() == m_list) SetCaptureControl(nullptr);
    Hide();
}

void TDropDownWindow::Pick(int Index) {
    Shut();
    m_host->DropDownPicked(Index);
}

void TDropDownWindow::Dismiss() {
    Shut();
    m_host->DropDownDismissed();
}

void TDropDownWindow::HighlightAt(int X, int Y) {
    int i = m_list->ItemAtPos({X, Y}, true);
    if (i >= 0 && i != m_list->GetItemIndex()) m_list->SetItemIndex(i);
}

void TDropDownWindow::MoveHighlight(int Index) {
    if (m_list->Count() == 0) return;
    m_list->SetItemIndex(std::clamp(Index, 0, m_list->Count() - 1));
}

bool TDropDownWindow::ListKey(Word Key, TShiftState Shift) {
    const int current = m_list->GetItemIndex();
    const int page = std::max(1, m_list->VisibleRows() - 1);
    const bool alt = Shift.Contains(ssAlt);
    switch (Key) {
        case VK_UP:
        case VK_DOWN:
            if (alt) Pick(current);
            else MoveHighlight(current < 0 ? 0 : current + (Key == VK_UP ? -1 : 1));
            return true;
        case VK_HOME: MoveHighlight(0); return true;
        case VK_END: MoveHighlight(m_list->Count() - 1); return true;
        case VK_PRIOR: MoveHighlight(current - page); return true;
        case VK_NEXT: MoveHighlight(current + page); return true;
        case VK_RETURN:
        case VK_F4: Pick(current); return true;
        case VK_ESCAPE: Dismiss(); return true;
        case VK_TAB: {
            // The pick is made and the focus goes on, as from a closed combo.
            TWinControl* from = m_droppedFrom;
            Pick(current);
            from->WidgetKeyDown(VK_TAB, Shift, String());
            return true;
        }
        default: return false;
    }
}

void TDropDownWindow::KeyDown(Word& Key, TShiftState Shift) {
    TCustomForm::KeyDown(Key, Shift);
    if (Key != 0 && ListKey(Key, Shift)) Key = 0;
}

void TDropDownWindow::KeyPress(char& Key) {
    TCustomForm::KeyPress(Key);
    if (static_cast<unsigned char>(Key) < 0x20) return;
    // The next item whose text starts with the typed letter.
    const int n = m_list->Count();
    const int upper = std::toupper(static_cast<unsigned char>(Key));
    for (int k = 1; k <= n; ++k) {
        const int i = (m_list->GetItemIndex() + k + n) % n;
        const String s = m_list->GetItems()->Strings(i);
        if (!s.empty() && std::toupper(static_cast<unsigned char>(s[0])) == upper) {
            MoveHighlight(i);
            break;
        }
    }
    Key = 0;
}

void TDropDownWindow::DoClose(TCloseAction& Action) {
    Action = caNone;
    if (IsOpen()) Dismiss();
}

void TDropDownWindow::Dispatch(TMessage& Message) {
    if (Message.Msg == WM_GETDLGCODE) {
        // Every key is the list's: none of them moves a dialog's focus or presses its buttons.
        Message.Result = DLGC_WANTALLKEYS;
        return;
    }
    TCustomForm::Dispatch(Message);
}

TDropDownWindow* OpenDropDown() { return g_open; }

bool DropDownTakesPress(TPoint ScreenPos) {
    if (g_open == nullptr) return false;
    const TPoint origin = g_open->ClientOrigin();
    if (Bounds(origin.x, origin.y, g_open->GetWidth(), g_open->GetHeight()).Contains(ScreenPos)) return false;
    g_open->Dismiss();
    return true;
}

void CloseDropDownOf(TCustomForm* Form) {
    if (g_open != nullptr && g_open != Form && Inside(Form, g_open->DroppedFrom())) g_open->Dismiss();
}
