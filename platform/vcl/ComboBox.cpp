// TCustomComboBox and its dropped list (declared in StdCtrls.h).
#include "platform/vcl/StdCtrls.h"

#include <cctype>

#include "platform/vcl/DropDown.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/SysUtils.h"

namespace {

// The face's 3D frame and the button's width, as the system draws a combo box.
constexpr int FaceFrame = 2;
constexpr int ButtonWidth = 17;

}  // namespace

// The dropped list reports to its combo.
class TCustomComboBox::TListHost : public TDropDownHost {
public:
    explicit TListHost(TCustomComboBox* Combo) : m_combo(Combo) {}
    void DropDownPicked(int Index) override { m_combo->ListPicked(Index); }
    void DropDownDismissed() override { m_combo->ListDismissed(); }

private:
    TCustomComboBox* m_combo;
};

// The combo's items: clearing and deleting move the selection as the system's combo box does.
class TComboBoxStrings : public TStringList {
public:
    explicit TComboBoxStrings(TCustomComboBox* Combo) : m_combo(Combo) {}
    void Clear() override {
        TStringList::Clear();
        m_combo->ItemsCleared();
    }
    void Delete(int Index) override {
        TStringList::Delete(Index);
        m_combo->ItemDeleted(Index);
    }

private:
    TCustomComboBox* m_combo;
};

TCustomComboBox::TCustomComboBox(TComponent* AOwner)
    : TWinControl(AOwner), m_items(new TComboBoxStrings(this)), m_canvas(new TCanvas()),
      m_listHost(new TListHost(this)) {
    ControlStyle() << csOpaque << csDoubleClicks;
    ControlStyle() >> csClickEvents;  // OnClick comes from a pick
    SetBounds(GetLeft(), GetTop(), 145, 21);
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clWindow);
    m_items->OnChange = [this](TObject* Sender) { ItemsChanged(Sender); };
    UpdateEdit();
}

TCustomComboBox::~TCustomComboBox() {
    Destroying();
    delete m_edit;
    m_edit = nullptr;
    delete m_dropDown;
    m_dropDown = nullptr;
    delete m_listHost;
    if (GetParent() != nullptr) GetParent()->RemoveControl(this);
    DestroyWnd();
    delete m_items;
    delete m_canvas;
}

void TCustomComboBox::ItemsChanged(TObject*) {
    if (m_itemIndex >= m_items->Count()) m_itemIndex = -1;
    Invalidate();
}

void TCustomComboBox::ItemsCleared() {
    if (m_itemIndex < 0) return;
    m_itemIndex = -1;
    // A list-only face shows nothing once its item is gone; an edit keeps its text.
    if (m_edit == nullptr) TControl::SetText(String());
}

void TCustomComboBox::ItemDeleted(int Index) {
    if (Index == m_itemIndex) ItemsCleared();
    else if (Index < m_itemIndex) --m_itemIndex;
}

void TCustomComboBox::SetItemIndex(int Value) {
    if (Value < -1 || Value >= m_items->Count()) Value = -1;
    m_itemIndex = Value;
    // The face shows the item; code that sets it hears no OnChange.
    if (Value >= 0) TControl::SetText(m_items->Strings(Value));
    else if (m_style == csDropDownList || IsOwnerDraw()) TControl::SetText(String());
    Invalidate();
}

void TCustomComboBox::SetStyle(TComboBoxStyle Value) {
    if (Value == m_style) return;
    m_style = Value;
    UpdateEdit();
    Invalidate();
}

void TCustomComboBox::UpdateEdit() {
    if (GetComponentState().Contains(csDestroying)) return;
    bool wanted = m_style == csDropDown || m_style == csSimple;
    if (!wanted) {
        delete m_edit;
        m_edit = nullptr;
        return;
    }
    if (m_edit == nullptr) {
        m_edit = new TEdit(this);
        m_edit->SetBorderStyle(bsNone);
        m_edit->SetParentFont(true);
        m_edit->SetParent(this);
        m_syncingText = true;
        m_edit->SetText(GetText());
        m_syncingText = false;
        m_edit->OnChange = [this](TObject*) { EditChanged(); };
        // The list keys work from the edit too.
        m_edit->OnKeyDown = [this](TObject*, Word& Key, TShiftState Shift) {
            bool listKey = Key == VK_UP || Key == VK_DOWN || Key == VK_F4 ||
                           (GetDroppedDown() && (Key == VK_RETURN || Key == VK_ESCAPE));
            if (listKey) KeyDown(Key, Shift);
        };
    }
    m_edit->SetMaxLength(m_maxLength);
    m_edit->SetCharCase(m_charCase);
    m_edit->SetColor(GetColor());
    m_edit->SetBoundsRect(ItemRect());
}

void TCustomComboBox::EditChanged() {
    if (m_syncingText) return;
    // A person typed: the combo's text follows the edit's, and that is a change.
    m_syncingText = true;
    TControl::SetText(m_edit->GetText());
    m_syncingText = false;
    Change();
}

void TCustomComboBox::SetFocus() {
    if (m_edit != nullptr) m_edit->SetFocus(); else TWinControl::SetFocus();
}

int TCustomComboBox::GetItemHeight() const {
    if (m_itemHeight > 0) return m_itemHeight;
    TCanvas measure;
    measure.SetFont(GetFont());
    return measure.TextHeight("Wg");
}

void TCustomComboBox::SetItemHeight(int Value) {
    if (Value <= 0) return;
    m_itemHeight = Value;
    Invalidate();
}

bool TCustomComboBox::GetSorted() const { return m_items->GetSorted(); }
void TCustomComboBox::SetSorted(bool Value) { m_items->SetSorted(Value); }

void TCustomComboBox::Clear() {
    m_items->Clear();
    SetItemIndex(-1);
    TControl::SetText(String());
}

TRect TCustomComboBox::ButtonRect() const {
    if (m_style == csSimple) return {};
    int right = GetWidth() - FaceFrame;
    return TRect{std::max(FaceFrame, right - ButtonWidth), FaceFrame, right, GetHeight() - FaceFrame};
}

TRect TCustomComboBox::ItemRect() const {
    TRect button = ButtonRect();
    int right = m_style == csSimple ? GetWidth() - FaceFrame - 1 : button.Left - 1;
    return TRect{FaceFrame + 1, FaceFrame + 1, std::max(FaceFrame + 1, right), GetHeight() - FaceFrame - 1};
}

TCustomListBox* TCustomComboBox::DropDownList() const { return m_dropDown ? m_dropDown->List() : nullptr; }
TWinControl* TCustomComboBox::DropDownWindow() const { return m_dropDown; }

bool TCustomComboBox::GetDroppedDown() const { return m_dropDown != nullptr && m_dropDown->GetVisible(); }

void TCustomComboBox::SetDroppedDown(bool Value) {
    if (Value == GetDroppedDown() || m_style == csSimple) return;
    if (!Value) {
        CloseList();
        return;
    }
    DropDown();
    if (m_dropDown == nullptr) m_dropDown = new TDropDownWindow(this, m_listHost);
    TListBox* list = m_dropDown->List();
    list->SetFont(GetFont());
    list->SetItemHeight(GetItemHeight());
    list->SetStyle(IsOwnerDraw() ? lbOwnerDrawFixed : lbStandard);
    if (IsOwnerDraw()) {
        // The combo draws its list's items, on the list's surface.
        list->OnDrawItem = [this, list](TWinControl*, int Index, const TRect& Rect, TOwnerDrawState State) {
            AttachCanvas(m_canvas, list->GetCanvas());
            m_canvas->SetFont(list->GetCanvas()->GetFont());
            m_canvas->SetBrush(list->GetCanvas()->GetBrush());
            DrawItem(Index, Rect, State);
            m_canvas->SetTarget(nullptr);
        };
    } else {
        list->OnDrawItem = nullptr;
    }
    // Sized first, so that the selected item is scrolled into the rows the list really has.
    int rows = std::clamp(m_items->Count(), 1, m_dropDownCount);
    TPoint origin = ClientToScreen({0, GetHeight()});
    list->SetBounds(1, 1, GetWidth() - 2, rows * GetItemHeight());
    list->GetItems()->Assign(m_items);
    list->SetTopIndex(0);
    list->SetItemIndex(m_itemIndex);
    m_dropDown->Open(TRect{origin.x, origin.y, origin.x + GetWidth(), origin.y + rows * GetItemHeight() + 2});
    Invalidate();
}

void TCustomComboBox::CloseList() {
    if (m_dropDown == nullptr || m_closing) return;
    m_closing = true;
    m_dropDown->Shut();
    m_closing = false;
    Invalidate();
    CloseUp();
}

void TCustomComboBox::ListPicked(int Index) {
    CloseList();
    if (Index >= 0 && Index != m_itemIndex) SelectByPerson(Index);
}

void TCustomComboBox::ListDismissed() { CloseList(); }

void TCustomComboBox::SelectByPerson(int Index) {
    if (Index < 0 || Index >= m_items->Count()) return;
    SetItemIndex(Index);
    Click();
    Select();
}

void TCustomComboBox::Change() {
    if (OnChange) OnChange(this);
}

void TCustomComboBox::Select() {
    // As the VCL: a pick tells OnSelect when someone listens, else it counts as a change.
    if (OnSelect) OnSelect(this); else Change();
}

void TCustomComboBox::DropDown() {
    if (OnDropDown) OnDropDown(this);
}

void TCustomComboBox::CloseUp() {
    if (OnCloseUp) OnCloseUp(this);
}

void TCustomComboBox::MeasureItem(int Index, int& Height) {
    if (OnMeasureItem) OnMeasureItem(this, Index, Height);
}

void TCustomComboBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
    if (OnDrawItem) {
        OnDrawItem(this, Index, Rect, State);
        return;
    }
    m_canvas->FillRect(Rect);
    if (Index >= 0 && Index < m_items->Count()) {
        m_canvas->GetBrush()->SetStyle(bsClear);
        m_canvas->TextOut(Rect.Left + 2, Rect.Top, m_items->Strings(Index));
        m_canvas->GetBrush()->SetStyle(bsSolid);
    }
}

void TCustomComboBox::Dispatch(TMessage& Message) {
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
        case CB_GETDROPPEDSTATE:
            Message.Result = GetDroppedDown() ? 1 : 0;
            return;
        case CB_SHOWDROPDOWN:
            SetDroppedDown(Message.WParam != 0);
            Message.Result = 1;
            return;
        case CB_SETITEMHEIGHT:
            SetItemHeight(static_cast<int>(Message.LParam));
            return;
        case CB_GETITEMHEIGHT:
            Message.Result = GetItemHeight();
            return;
        case CB_GETCURSEL:
            Message.Result = m_itemIndex;
            return;
        case CB_SETCURSEL:
            SetItemIndex(static_cast<int>(static_cast<std::intptr_t>(Message.WParam)));
            Message.Result = m_itemIndex;
            return;
        case WM_GETDLGCODE:
            Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
            return;
        case WM_SETTEXT:
            TWinControl::Dispatch(Message);
            // Text set from code shows in the edit without counting as typing.
            if (m_edit != nullptr && !m_syncingText) {
                m_syncingText = true;
                m_edit->SetText(GetText());
                m_syncingText = false;
            }
            return;
        case WM_SIZE:
        case CM_COLORCHANGED:
            TWinControl::Dispatch(Message);
            if (m_edit != nullptr) UpdateEdit();
            return;
        case CM_ENABLEDCHANGED:
        case CM_FOCUSCHANGED:
        case CM_TEXTCHANGED:
            Invalidate();
            break;
        default:
            break;
    }
    TWinControl::Dispatch(Message);
}

void TCustomComboBox::Paint() {
    TCanvas* c = m_canvas;
    TRect client = GetClientRect();
    FillBackground(c, client, GetColor());
    DrawSunkenBorder(c, client);
    PaintFaceItem(c);
    TRect button = ButtonRect();
    if (button.Width() > 0) {
        c->GetBrush()->SetColor(clBtnFace);
        c->FillRect(button);
        c->GetBrush()->SetColor(clBtnShadow);
        c->FrameRect(button);
        int x = (button.Left + button.Right) / 2;
        int y = (button.Top + button.Bottom) / 2;
        TColor arrow = GetEnabled() ? clBtnText : clGrayText;
        c->GetBrush()->SetColor(arrow);
        c->GetPen()->SetColor(arrow);
        c->Polygon({TPoint{x - 3, y - 1}, TPoint{x + 3, y - 1}, TPoint{x, y + 2}});
    }
}

void TCustomComboBox::PaintFaceItem(TCanvas* Canvas) {
    TRect r = ItemRect();
    bool focused = Focused() && !GetDroppedDown();
    UINT state = (GetEnabled() ? 0 : ODS_DISABLED) | ODS_COMBOBOXEDIT;
    if (focused) state |= ODS_SELECTED | ODS_FOCUS;
    if (IsOwnerDraw()) {
        DrawFaceItem(Canvas, m_itemIndex, r, state);
        return;
    }
    int saved = Canvas->SaveDC();
    Canvas->IntersectClipRect(r);
    Canvas->SetFont(GetFont());
    Canvas->GetBrush()->SetStyle(bsSolid);
    Canvas->GetBrush()->SetColor(focused && m_style == csDropDownList ? clHighlight : GetColor());
    if (focused && m_style == csDropDownList) Canvas->GetFont()->SetColor(clHighlightText);
    if (!GetEnabled()) Canvas->GetFont()->SetColor(clGrayText);
    Canvas->FillRect(r);
    Canvas->GetBrush()->SetStyle(bsClear);
    TRect text = r;
    Canvas->DrawText(GetText(), text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_LEFT);
    Canvas->RestoreDC(saved);
    if (focused && m_style == csDropDownList) Canvas->DrawFocusRect(r);
}

void TCustomComboBox::DrawFaceItem(TCanvas* Onto, int Index, const TRect& Rect, UINT ItemState) {
    DRAWITEMSTRUCT dis;
    dis.CtlType = ODT_COMBOBOX;
    dis.itemID = static_cast<UINT>(Index);
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = ItemState;
    dis.hwndItem = GetHandle();
    dis.hDC = HDCFromCanvas(Onto);
    dis.rcItem = RECT{Rect.Left, Rect.Top, Rect.Right, Rect.Bottom};
    int saved = Onto->SaveDC();
    if (GetParent() != nullptr) GetParent()->Perform(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
    else Perform(CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
    Onto->RestoreDC(saved);
}

void TCustomComboBox::CNDrawItem(TMessage& Message) {
    auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
    TOwnerDrawState state = OwnerDrawStateFromODS(dis->itemState);
    AttachCanvas(m_canvas, CanvasFromHDC(dis->hDC));
    m_canvas->SetFont(GetFont());
    m_canvas->GetBrush()->SetStyle(bsSolid);
    m_canvas->GetBrush()->SetColor(GetColor());
    if (state.Contains(odSelected)) {
        m_canvas->GetBrush()->SetColor(clHighlight);
        m_canvas->GetFont()->SetColor(clHighlightText);
    }
    TRect r{dis->rcItem.left, dis->rcItem.top, dis->rcItem.right, dis->rcItem.bottom};
    if (static_cast<int>(dis->itemID) >= 0) DrawItem(static_cast<int>(dis->itemID), r, state);
    else m_canvas->FillRect(r);
    if (state.Contains(odFocused)) m_canvas->DrawFocusRect(r);
    Message.Result = 1;
}

void TCustomComboBox::KeyDown(Word& Key, TShiftState Shift) {
    TWinControl::KeyDown(Key, Shift);
    if (Key == 0) return;
    if ((Key == VK_DOWN || Key == VK_UP) && Shift.Contains(ssAlt)) {
        SetDroppedDown(!GetDroppedDown());
        Key = 0;
        return;
    }
    if (GetDroppedDown()) {
        if (m_dropDown->ListKey(Key, Shift)) Key = 0;
        return;
    }
    int target = m_itemIndex;
    switch (Key) {
        case VK_UP: target = std::max(0, m_itemIndex - 1); break;
        case VK_DOWN: target = std::min(m_items->Count() - 1, m_itemIndex + 1); break;
        case VK_HOME: target = 0; break;
        case VK_END: target = m_items->Count() - 1; break;
        case VK_F4: SetDroppedDown(true); Key = 0; return;
        default: return;
    }
    Key = 0;
    if (target != m_itemIndex && target >= 0) SelectByPerson(target);
}

void TCustomComboBox::KeyPress(char& Key) {
    TWinControl::KeyPress(Key);
    if (Key == 0 || m_style == csDropDown || m_style == csSimple) return;
    // Incremental search: the first item starting with the typed letter after the current one.
    if (static_cast<unsigned char>(Key) < 0x20) return;
    int n = m_items->Count();
    for (int k = 1; k <= n; ++k) {
        int i = (m_itemIndex + k + n) % n;
        const String s = m_items->Strings(i);
        if (!s.empty() && std::toupper(static_cast<unsigned char>(s[0])) == std::toupper(static_cast<unsigned char>(Key))) {
            if (i != m_itemIndex) SelectByPerson(i);
            break;
        }
    }
}

void TCustomComboBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft) {
        if (CanFocus() && !Focused()) SetFocus();
        bool onButton = ButtonRect().Contains({X, Y});
        if (m_style != csSimple && (onButton || m_style == csDropDownList || IsOwnerDraw()))
            SetDroppedDown(!GetDroppedDown());
    }
    TWinControl::MouseDown(Button, Shift, X, Y);
}

void TCustomComboBox::DoExit() {
    if (GetDroppedDown()) ListDismissed();
    TWinControl::DoExit();
}
