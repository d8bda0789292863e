#include "platform/vcl/Controls.h"

#include <algorithm>
#include <map>

#include "platform/vcl/ActnList.h"
#include "platform/vcl/AppEvnts.h"
#include "platform/vcl/DropDown.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/QtControls.h"

namespace {

TControl* g_captureControl = nullptr;
std::map<HWND, TWinControl*> g_handles;
TControl* g_hoverControl = nullptr;

bool IsMouseMessage(UINT Msg) { return Msg >= WM_MOUSEFIRST && Msg <= WM_MOUSELAST; }

// Points a control's own canvas at the surface another canvas draws on, offset to the control's
// position and clipped to its bounds within what the other canvas may touch.
void BindCanvas(TCanvas* Own, TCanvas* Onto, TPoint Offset, int Width, int Height) {
    Own->SetTarget(Onto->GetTarget());
    TRect deviceClip = Onto->DeviceClip();
    TPoint origin{Onto->GetOrigin().x + Offset.x, Onto->GetOrigin().y + Offset.y};
    Own->SetOrigin(origin);
    Own->IntersectClipRect(Rect(0, 0, Width, Height));
    OffsetRect(deviceClip, -origin.x, -origin.y);
    Own->IntersectClipRect(deviceClip);
}

}  // namespace

void PaintOnto(TCanvas* Own, TCanvas* Onto, TPoint Offset, int Width, int Height, const std::function<void()>& Paint) {
    BindCanvas(Own, Onto, Offset, Width, Height);
    struct Unbind {
        TCanvas* c;
        ~Unbind() { c->SetTarget(nullptr); }
    } unbind{Own};
    Paint();
}

void DrawSunkenBorder(TCanvas* Canvas, const TRect& Rect) {
    Canvas->GetBrush()->SetStyle(bsSolid);
    Canvas->GetBrush()->SetColor(clBtnShadow);
    Canvas->FrameRect(Rect);
    TRect inner = Rect;
    InflateRect(inner, -1, -1);
    Canvas->GetBrush()->SetColor(cl3DDkShadow);
    Canvas->FrameRect(inner);
}

void FillBackground(TCanvas* Canvas, const TRect& Rect, TColor Color) {
    Canvas->GetBrush()->SetStyle(bsSolid);
    Canvas->GetBrush()->SetColor(Color);
    Canvas->FillRect(Rect);
}

TMouse* Mouse = new TMouse();

WPARAM ShiftStateToKeys(TShiftState Shift) {
    WPARAM k = 0;
    if (Shift.Contains(ssLeft)) k |= MK_LBUTTON;
    if (Shift.Contains(ssRight)) k |= MK_RBUTTON;
    if (Shift.Contains(ssMiddle)) k |= MK_MBUTTON;
    if (Shift.Contains(ssShift)) k |= MK_SHIFT;
    if (Shift.Contains(ssCtrl)) k |= MK_CONTROL;
    // Alt has no MK_ flag; the toolkit side keeps it in bit 15 so that it survives the trip.
    if (Shift.Contains(ssAlt)) k |= 0x8000;
    return k;
}

TShiftState KeysToShiftState(WPARAM Keys) {
    TShiftState s;
    if (Keys & MK_LBUTTON) s << ssLeft;
    if (Keys & MK_RBUTTON) s << ssRight;
    if (Keys & MK_MBUTTON) s << ssMiddle;
    if (Keys & MK_SHIFT) s << ssShift;
    if (Keys & MK_CONTROL) s << ssCtrl;
    if (Keys & 0x8000) s << ssAlt;
    return s;
}

// Key messages carry the modifiers in LParam (bit 29 is Alt as in Win32; we add Shift and Ctrl).
TShiftState KeyDataToShiftState(LPARAM KeyData) {
    TShiftState s;
    if (KeyData & (1 << 29)) s << ssAlt;
    if (KeyData & (1 << 27)) s << ssShift;
    if (KeyData & (1 << 26)) s << ssCtrl;
    return s;
}

LPARAM ShiftStateToKeyData(TShiftState Shift) {
    LPARAM l = 1;
    if (Shift.Contains(ssAlt)) l |= (1 << 29);
    if (Shift.Contains(ssShift)) l |= (1 << 27);
    if (Shift.Contains(ssCtrl)) l |= (1 << 26);
    return l;
}

// ---- TControl ----------------------------------------------------------------------------------

TControl::TControl(TComponent* AOwner) : TComponent(AOwner), m_color(clWindow) {
    WindowProc = [this](TMessage& m) { WndProc(m); };
    m_font = new TFont();
    m_font->OnChange = [this](TObject* s) { FontChanged(s); };
    m_controlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
}

TControl::~TControl() {
    Destroying();
    if (g_captureControl == this) g_captureControl = nullptr;
    if (g_hoverControl == this) g_hoverControl = nullptr;
    if (m_popupMenu != nullptr) m_popupMenu->RemoveFreeNotification(this);
    if (m_action != nullptr) m_action->UnRegisterClient(this);
    if (m_parent != nullptr) m_parent->RemoveControl(this);
    delete m_font;
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == m_popupMenu) m_popupMenu = nullptr;
    if (Operation == opRemove && AComponent == m_action) m_action = nullptr;
}

void TControl::Loaded() {
    TComponent::Loaded();
    if (m_parent != nullptr) {
        if (m_parentColor) ParentColorChanged();
        if (m_parentFont) ParentFontChanged();
    }
    RequestAlign();
}

void TControl::SetParent(TWinControl* AParent) {
    if (AParent == m_parent) return;
    if (AParent == this) throw EInvalidOperation("A control cannot have itself as its parent");
    if (m_parent != nullptr) m_parent->RemoveControl(this);
    if (AParent != nullptr) AParent->InsertControl(this);
}

void TControl::BringToFront() {
    if (m_parent == nullptr) {
        if (auto* w = dynamic_cast<TWinControl*>(this); w && w->HasBridge()) w->Bridge()->Raise();
        return;
    }
    auto& v = m_parent->m_controls;
    std::erase(v, this);
    m_parent->InsertIntoZOrder(this);
    if (auto* w = dynamic_cast<TWinControl*>(this); w && w->HasBridge()) w->Bridge()->Raise();
    Invalidate();
}

void TControl::SendToBack() {
    if (m_parent == nullptr) return;
    auto& v = m_parent->m_controls;
    std::erase(v, this);
    // The bottom of this control's group: graphic controls sit below every windowed one.
    auto pos = v.begin();
    if (m_windowed)
        pos = std::find_if(v.begin(), v.end(), [](TControl* c) { return c->m_windowed; });
    v.insert(pos, this);
    if (auto* w = dynamic_cast<TWinControl*>(this); w && w->HasBridge()) w->Bridge()->Lower();
    m_parent->Invalidate();
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    AWidth = std::max(AWidth, 0);
    AHeight = std::max(AHeight, 0);
    if (m_constraints.MaxWidth > 0) AWidth = std::min(AWidth, m_constraints.MaxWidth);
    if (m_constraints.MaxHeight > 0) AHeight = std::min(AHeight, m_constraints.MaxHeight);
    AWidth = std::max(AWidth, m_constraints.MinWidth);
    AHeight = std::max(AHeight, m_constraints.MinHeight);
    if (ALeft == m_left && ATop == m_top && AWidth == m_width && AHeight == m_height) return;
    bool resized = AWidth != m_width || AHeight != m_height;
    bool moved = ALeft != m_left || ATop != m_top;
    if (!m_windowed) Invalidate();  // the old place
    m_left = ALeft;
    m_top = ATop;
    m_width = AWidth;
    m_height = AHeight;
    BoundsChanged();
    // A window hears of its new place and size as the system tells it.
    if (m_windowed && moved) Perform(WM_MOVE, 0, MAKELPARAM(ALeft, ATop));
    // A form sends its own, with the kind of sizing and its client size (FormWindow.cpp).
    if (m_windowed && resized && dynamic_cast<TCustomForm*>(this) == nullptr)
        Perform(WM_SIZE, 0, MAKELPARAM(AWidth, AHeight));
    if (!m_windowed) Invalidate();  // the new place
    RequestAlign();
    if (resized && !GetComponentState().Contains(csLoading)) Resize();
}

void TControl::BoundsChanged() {}

TRect TControl::GetClientRect() const { return Rect(0, 0, m_width, m_height); }

void TControl::SetClientWidth(int v) { SetWidth(m_width - GetClientWidth() + v); }
void TControl::SetClientHeight(int v) { SetHeight(m_height - GetClientHeight() + v); }

namespace {

// The frame of a child window that has one (an MDI child); zero for every other control.
TRect ChildFrame(const TControl* Control) {
    auto* form = dynamic_cast<const TCustomForm*>(Control);
    return form != nullptr && Control->GetParent() != nullptr ? form->FrameMetrics() : TRect{};
}

}  // namespace

TPoint TControl::ClientOrigin() const {
    if (m_parent == nullptr) {
        // A top-level window: the client starts inside its frame.
        if (auto* w = dynamic_cast<const TWinControl*>(this)) {
            if (auto* f = dynamic_cast<const TCustomForm*>(w)) {
                TRect frame = f->FrameMetrics();
                return {m_left + frame.Left, m_top + frame.Top};
            }
        }
        return {m_left, m_top};
    }
    TPoint p = m_parent->ClientOrigin();
    const TRect frame = ChildFrame(this);
    return {p.x + m_left + frame.Left, p.y + m_top + frame.Top};
}

TPoint TControl::ClientToScreen(TPoint p) const {
    TPoint o = ClientOrigin();
    return {p.x + o.x, p.y + o.y};
}

TPoint TControl::ScreenToClient(TPoint p) const {
    TPoint o = ClientOrigin();
    return {p.x - o.x, p.y - o.y};
}

void TControl::SetAlign(TAlign v) {
    if (v == m_align) return;
    m_align = v;
    RequestAlign();
}

void TControl::RequestAlign() {
    if (m_parent != nullptr) m_parent->Realign();
}

void TControl::SetVisible(bool v) {
    if (v == m_visible) return;
    if (!m_windowed) Invalidate();
    m_visible = v;
    Perform(CM_VISIBLECHANGED, v ? 1 : 0, 0);
    if (!m_windowed) Invalidate();
    // A window hidden under the mouse (a mode's first window shown in its place) leaves its
    // hovered control lit unless that control is told the mouse has gone.
    if (!v && g_hoverControl != nullptr) {
        auto* windowed = dynamic_cast<TWinControl*>(this);
        if (g_hoverControl == this || (windowed != nullptr && windowed->ContainsControl(g_hoverControl)))
            UpdateMouseControl(nullptr);
    }
    RequestAlign();
}

bool TControl::Showing() const {
    for (const TControl* c = this; c != nullptr; c = c->m_parent) {
        if (!c->m_visible) return false;
        if (c->m_parent == nullptr) return dynamic_cast<const TCustomForm*>(c) != nullptr;
    }
    return false;
}

void TControl::SetEnabled(bool v) {
    if (v == m_enabled) return;
    m_enabled = v;
    Perform(CM_ENABLEDCHANGED, 0, 0);
}

void TControl::SetColor(TColor v) {
    m_parentColor = false;
    if (v == m_color) return;
    m_color = v;
    Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentColor(bool v) {
    if (v == m_parentColor) return;
    m_parentColor = v;
    if (v && m_parent != nullptr) ParentColorChanged();
}

void TControl::ParentColorChanged() { Perform(CM_PARENTCOLORCHANGED, 0, 0); }
void TControl::ParentFontChanged() { Perform(CM_PARENTFONTCHANGED, 0, 0); }

void TControl::SetFont(TFont* v) { m_font->Assign(v); }

void TControl::FontChanged(TObject*) {
    if (!m_fontFromParent) m_parentFont = false;
    Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::SetParentFont(bool v) {
    if (v == m_parentFont) return;
    m_parentFont = v;
    if (v && m_parent != nullptr) ParentFontChanged();
}

void TControl::SetText(const String& v) {
    if (v == GetText()) return;
    Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(&v));
    Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::SetShowHint(bool v) {
    m_parentShowHint = false;
    if (v == m_showHint) return;
    m_showHint = v;
    Perform(CM_SHOWHINTCHANGED, 0, 0);
}

void TControl::SetParentShowHint(bool v) {
    if (v == m_parentShowHint) return;
    m_parentShowHint = v;
    if (v && m_parent != nullptr) Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
}

void TControl::SetCursor(TCursor v) {
    if (v == m_cursor) return;
    m_cursor = v;
    Perform(CM_CURSORCHANGED, 0, 0);
}

void TControl::SetAction(TBasicAction* v) {
    if (v == m_action) return;
    if (m_action != nullptr) {
        m_action->UnRegisterClient(this);
        m_action->RemoveFreeNotification(this);
    }
    m_action = v;
    if (m_action == nullptr) return;
    m_action->RegisterClient(this);
    ActionChange(m_action, GetComponentState().Contains(csLoading));
}

void TControl::ActionChange(TObject* Sender, bool CheckDefaults) {
    auto* action = dynamic_cast<TCustomAction*>(Sender);
    if (action == nullptr) return;
    if (!CheckDefaults || GetCaption().empty()) SetCaption(action->GetCaption());
    if (!CheckDefaults || GetEnabled()) SetEnabled(action->GetEnabled());
    if (!CheckDefaults || GetHint().empty()) SetHint(action->GetHint());
    if (!CheckDefaults || GetVisible()) SetVisible(action->GetVisible());
}

void TControl::SetPopupMenu(TPopupMenu* v) {
    if (m_popupMenu != nullptr) m_popupMenu->RemoveFreeNotification(this);
    m_popupMenu = v;
    if (v != nullptr) v->FreeNotification(this);
}

void TControl::Invalidate() {
    if (m_parent == nullptr || !m_visible) return;
    if (m_parent->HasBridge()) m_parent->Bridge()->UpdateRect(GetBoundsRect());
}

void TControl::Repaint() {
    Invalidate();
    Update();
}

void TControl::Update() {
    if (m_parent != nullptr) m_parent->Update();
}

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam) {
    TMessage m{Msg, WParam, LParam, 0};
    if (WindowProc) WindowProc(m); else WndProc(m);
    return m.Result;
}

void TControl::WndProc(TMessage& Message) {
    // Without double clicks a second press is an ordinary press.
    if (!m_controlStyle.Contains(csDoubleClicks)) {
        switch (Message.Msg) {
            case WM_LBUTTONDBLCLK: Message.Msg = WM_LBUTTONDOWN; break;
            case WM_RBUTTONDBLCLK: Message.Msg = WM_RBUTTONDOWN; break;
            case WM_MBUTTONDBLCLK: Message.Msg = WM_MBUTTONDOWN; break;
            default: break;
        }
    }
    if (Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK) m_controlState << csLButtonDown;
    if (Message.Msg == WM_LBUTTONUP) m_controlState >> csLButtonDown;
    if (IsMouseMessage(Message.Msg) && Message.Msg != WM_MOUSEWHEEL) {
        TPoint p = ClientToScreen({Message.XPos(), Message.YPos()});
        Mouse->SetTrackedPos(p);
    }
    Dispatch(Message);
}

void TControl::DoMouseButton(TMessage& Message, TMouseButton Button, bool Down, bool Double) {
    TShiftState shift = KeysToShiftState(Message.Keys());
    int x = Message.XPos();
    int y = Message.YPos();
    if (Down) {
        if (Button == mbLeft) {
            if (m_controlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
            if (m_controlStyle.Contains(csClickEvents)) m_controlState << csClicked;
            if (Double && m_controlStyle.Contains(csClickEvents)) DblClick();
        }
        if (Double) shift << ssDouble;
        MouseDown(Button, shift, x, y);
        return;
    }
    if (Button == mbLeft) {
        if (m_controlStyle.Contains(csCaptureMouse)) SetMouseCapture(false);
        if (m_controlState.Contains(csClicked)) {
            m_controlState >> csClicked;
            if (GetClientRect().Contains({x, y})) Click();
        }
    }
    MouseUp(Button, shift, x, y);
    if (Button == mbRight && m_popupMenu != nullptr && GetClientRect().Contains({x, y})) {
        TPoint p = ClientToScreen({x, y});
        m_popupMenu->SetPopupComponent(this);
        m_popupMenu->Popup(p.x, p.y);
    }
}

void TControl::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case WM_LBUTTONDOWN: DoMouseButton(Message, mbLeft, true, false); break;
        case WM_LBUTTONDBLCLK: DoMouseButton(Message, mbLeft, true, true); break;
        case WM_LBUTTONUP: DoMouseButton(Message, mbLeft, false, false); break;
        case WM_RBUTTONDOWN: DoMouseButton(Message, mbRight, true, false); break;
        case WM_RBUTTONDBLCLK: DoMouseButton(Message, mbRight, true, true); break;
        case WM_RBUTTONUP: DoMouseButton(Message, mbRight, false, false); break;
        case WM_MBUTTONDOWN: DoMouseButton(Message, mbMiddle, true, false); break;
        case WM_MBUTTONDBLCLK: DoMouseButton(Message, mbMiddle, true, true); break;
        case WM_MBUTTONUP: DoMouseButton(Message, mbMiddle, false, false); break;
        case WM_MOUSEMOVE: MouseMove(KeysToShiftState(Message.Keys()), Message.XPos(), Message.YPos()); break;
        case CM_ENABLEDCHANGED:
        case CM_COLORCHANGED:
        case CM_FONTCHANGED:
        case CM_TEXTCHANGED:
            Invalidate();
            break;
        case CM_PARENTCOLORCHANGED:
            if (m_parentColor && m_parent != nullptr) {
                TColor c = m_parent->m_color;
                if (c != m_color) {
                    m_color = c;
                    Perform(CM_COLORCHANGED, 0, 0);
                }
            }
            break;
        case CM_PARENTFONTCHANGED:
            if (m_parentFont && m_parent != nullptr) {
                m_fontFromParent = true;
                m_font->Assign(m_parent->m_font);
                m_fontFromParent = false;
            }
            break;
        case CM_PARENTSHOWHINTCHANGED:
            if (m_parentShowHint && m_parent != nullptr) m_showHint = m_parent->m_showHint;
            break;
        default:
            DefaultHandler(Message);
            break;
    }
}

void TControl::DefaultHandler(TMessage& Message) {
    // WM_SETTEXT carries a String* (our texts are UTF-8 strings, not C buffers).
    if (Message.Msg == WM_SETTEXT && Message.LParam != 0) {
        m_text = *reinterpret_cast<const String*>(Message.LParam);
        Message.Result = 1;
    }
}

bool TControl::GetMouseCapture() const { return g_captureControl == this; }

void TControl::SetMouseCapture(bool v) {
    if (v) SetCaptureControl(this);
    else if (g_captureControl == this) SetCaptureControl(nullptr);
}

void TControl::Click() {
    if (OnClick) OnClick(this);
    else if (m_action != nullptr) m_action->Execute();
}

void TControl::DblClick() {
    if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
    if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::Resize() {
    if (OnResize) OnResize(this);
}

// ---- capture, hover, hit testing ----------------------------------------------------------------

TControl* GetCaptureControl() { return g_captureControl; }

void SetCaptureControl(TControl* Control) {
    if (Control == g_captureControl) return;
    TControl* old = g_captureControl;
    g_captureControl = Control;
    if (old != nullptr) old->Perform(WM_CAPTURECHANGED, 0, 0);
}

void UpdateMouseControl(TControl* Under) {
    if (Under == g_hoverControl) return;
    TControl* old = g_hoverControl;
    g_hoverControl = Under;
    if (old != nullptr) old->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(old));
    // The leave handler may have moved the mouse state on; only enter what is still current.
    if (Under != nullptr && g_hoverControl == Under)
        Under->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(Under));
}

TControl* TMouse::GetHoverControl() const { return g_hoverControl; }

namespace {

// The deepest visible control of Parent's tree at a point in Parent's client coordinates.
TControl* HitTest(TWinControl* Parent, TPoint P) {
    for (int i = Parent->ControlCount() - 1; i >= 0; --i) {
        TControl* c = Parent->Controls(i);
        if (!c->GetVisible() || !c->GetBoundsRect().Contains(P)) continue;
        const TRect frame = ChildFrame(c);
        TPoint inner{P.x - c->GetLeft() - frame.Left, P.y - c->GetTop() - frame.Top};
        if (auto* w = dynamic_cast<TWinControl*>(c)) {
            if (!w->GetEnabled()) return w;  // a disabled window keeps the mouse from its children
            if (!w->GetClientRect().Contains(inner)) return w;  // on its frame
            return HitTest(w, inner);
        }
        return c;
    }
    return Parent;
}

}  // namespace

TControl* FindControlAtScreen(TPoint ScreenPos) {
    if (Screen == nullptr) return nullptr;
    TCustomForm* form = Screen->FormAtPoint(ScreenPos);
    if (form == nullptr) return nullptr;
    return HitTest(form, form->ScreenToClient(ScreenPos));
}

// ---- TWinControl -------------------------------------------------------------------------------

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) { m_windowed = true; }

TWinControl::~TWinControl() {
    Destroying();
    if (TCustomForm* f = GetParentForm(this); f != nullptr && f != this) f->ControlDestroying(this);
    while (!m_controls.empty()) delete m_controls.back();
    DestroyWnd();
}

void TWinControl::InsertIntoZOrder(TControl* AControl) {
    // Graphic controls first, then windowed ones; a new control goes on top of its group.
    if (AControl->m_windowed) {
        m_controls.push_back(AControl);
        return;
    }
    auto pos = std::find_if(m_controls.begin(), m_controls.end(), [](TControl* c) { return c->m_windowed; });
    m_controls.insert(pos, AControl);
}

void TWinControl::InsertControl(TControl* AControl) {
    if (AControl == nullptr || AControl->m_parent == this) return;
    if (auto* w = dynamic_cast<TWinControl*>(AControl); w && w->ContainsControl(this))
        throw EInvalidOperation("A control cannot be its own parent");
    AControl->m_parent = this;
    InsertIntoZOrder(AControl);
    if (auto* w = dynamic_cast<TWinControl*>(AControl)) {
        m_tabList.push_back(w);
        if (HasBridge() && w->HasBridge()) {
            // A control that already has its widget moves it into ours, where it shows as its
            // own visibility says (leaving the old parent left it detached and hidden).
            w->m_bridge->SetParentWidget(m_bridge.get());
            w->UpdateWidgetBounds();
            w->m_bridge->Raise();
            w->UpdateWidgetVisibility();
        } else if (HasBridge()) {
            w->CreateWnd();
        }
    }
    if (AControl->m_parentColor) AControl->ParentColorChanged();
    if (AControl->m_parentFont) AControl->ParentFontChanged();
    if (AControl->m_parentShowHint) AControl->Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
    Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(AControl), 1);
    AControl->Invalidate();
    Realign();
}

void TWinControl::RemoveControl(TControl* AControl) {
    if (AControl == nullptr || AControl->m_parent != this) return;
    AControl->Invalidate();
    Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(AControl), 0);
    if (auto* w = dynamic_cast<TWinControl*>(AControl)) {
        if (TCustomForm* f = GetParentForm(this)) f->ControlDestroying(w);
        std::erase(m_tabList, w);
        if (w->HasBridge()) w->Bridge()->SetParentWidget(nullptr);
    }
    std::erase(m_controls, AControl);
    if (g_hoverControl == AControl) g_hoverControl = nullptr;
    AControl->m_parent = nullptr;
    Realign();
}

bool TWinControl::ContainsControl(TControl* Control) const {
    for (TControl* c = Control; c != nullptr; c = c->m_parent)
        if (c == this) return true;
    return false;
}

TControl* TWinControl::ControlAtPos(TPoint Pos, bool AllowDisabled, bool AllowWinControls) const {
    for (int i = ControlCount() - 1; i >= 0; --i) {
        TControl* c = m_controls[static_cast<size_t>(i)];
        if (c->m_windowed && !AllowWinControls) continue;
        if (!c->m_visible || (!c->m_enabled && !AllowDisabled)) continue;
        if (c->GetBoundsRect().Contains(Pos)) return c;
    }
    return nullptr;
}

void TWinControl::Broadcast(TMessage& Message) {
    auto children = m_controls;
    for (TControl* c : children) {
        if (std::find(m_controls.begin(), m_controls.end(), c) == m_controls.end()) continue;
        c->WindowProc ? c->WindowProc(Message) : c->WndProc(Message);
        if (Message.Result != 0) return;
    }
}

void TWinControl::EnableAlign() {
    if (m_alignDisabled > 0 && --m_alignDisabled == 0) Realign();
}

void TWinControl::Realign() {
    if (m_alignDisabled > 0 || m_aligning || GetComponentState().Contains(csLoading) ||
        GetComponentState().Contains(csDestroying))
        return;
    TRect r = GetClientRect();
    AlignControls(nullptr, r);
}

void TWinControl::DoAlign(TAlign AAlign, TRect& Rect) {
    std::vector<TControl*> list;
    for (TControl* c : m_controls)
        if (c->m_align == AAlign && c->m_visible) list.push_back(c);
    // Controls of one alignment keep their order on the side they cling to.
    auto key = [AAlign](TControl* c) {
        switch (AAlign) {
            case alTop: return c->m_top;
            case alBottom: return -(c->m_top + c->m_height);
            case alLeft: return c->m_left;
            case alRight: return -(c->m_left + c->m_width);
            default: return 0;
        }
    };
    std::stable_sort(list.begin(), list.end(), [&](TControl* a, TControl* b) { return key(a) < key(b); });
    for (TControl* c : list) {
        int w = Rect.Width(), h = Rect.Height();
        switch (AAlign) {
            case alTop:
                c->SetBounds(Rect.Left, Rect.Top, w, c->m_height);
                Rect.Top += c->m_height;
                break;
            case alBottom:
                c->SetBounds(Rect.Left, Rect.Bottom - c->m_height, w, c->m_height);
                Rect.Bottom -= c->m_height;
                break;
            case alLeft:
                c->SetBounds(Rect.Left, Rect.Top, c->m_width, h);
                Rect.Left += c->m_width;
                break;
            case alRight:
                c->SetBounds(Rect.Right - c->m_width, Rect.Top, c->m_width, h);
                Rect.Right -= c->m_width;
                break;
            case alClient:
                c->SetBounds(Rect.Left, Rect.Top, std::max(w, 0), std::max(h, 0));
                break;
            default:
                break;
        }
    }
}

void TWinControl::AlignControls(TControl*, TRect& Rect) {
    m_aligning = true;
    try {
        for (TAlign a : {alTop, alBottom, alLeft, alRight, alClient}) DoAlign(a, Rect);
    } catch (...) {
        m_aligning = false;
        throw;
    }
    m_aligning = false;
}

HWND TWinControl::GetHandle() {
    if (m_hwnd == nullptr) CreateWnd();
    return m_hwnd;
}

TQtWidgetBridge* TWinControl::Bridge() {
    if (m_bridge == nullptr) CreateWnd();
    return m_bridge.get();
}

void TWinControl::CreateWnd() {
    if (m_bridge != nullptr) return;
    // A child's widget lives inside its parent's, so the parent's comes first.
    if (!IsTopLevel() && m_parent != nullptr && !m_parent->HasBridge()) {
        m_parent->CreateWnd();
        if (m_bridge != nullptr) return;  // the parent created ours with its children
    }
    m_bridge = std::make_unique<TQtWidgetBridge>(this, IsTopLevel());
    if (m_hwnd == nullptr) {
        m_hwnd = Win32_CreateWindow(
            [this](UINT msg, WPARAM w, LPARAM l) { return HandleWindowMessage(msg, w, l); },
            IsTopLevel(), IsTopLevel() ? GetText() : String());
        g_handles[m_hwnd] = this;
    }
    if (!IsTopLevel() && m_parent != nullptr) m_bridge->SetParentWidget(m_parent->m_bridge.get());
    m_bridge->SetEnabled(GetEnabled());
    m_bridge->SetCursorShape(GetCursor());
    UpdateWidgetBounds();
    UpdateWidgetTitle();
    // As window creation does: the control hears of its new window before its children get theirs.
    Perform(WM_CREATE, 0, 0);
    for (TControl* c : m_controls)
        if (auto* w = dynamic_cast<TWinControl*>(c)) w->CreateWnd();
    // Stacking follows our z-order.
    for (TControl* c : m_controls)
        if (auto* w = dynamic_cast<TWinControl*>(c); w && w->m_bridge) w->m_bridge->Raise();
    UpdateWidgetVisibility();
}

void TWinControl::DestroyWnd() {
    if (m_hwnd != nullptr) {
        g_handles.erase(m_hwnd);
        Win32_DestroyWindow(m_hwnd);
        m_hwnd = nullptr;
    }
    m_bridge.reset();
}

LRESULT TWinControl::HandleWindowMessage(UINT Msg, WPARAM WParam, LPARAM LParam) {
    LRESULT r = 0;
    if (Application != nullptr) Application->Guard(this, [&] { r = Perform(Msg, WParam, LParam); });
    else r = Perform(Msg, WParam, LParam);
    return r;
}

void TWinControl::UpdateWidgetVisibility() {
    if (m_bridge == nullptr) return;
    m_bridge->SetVisible(GetVisible());
}

void TWinControl::UpdateWidgetBounds() {
    if (m_bridge == nullptr) return;
    if (IsTopLevel()) {
        TPoint o = ClientOrigin();
        m_bridge->SetGeometry(Bounds(o.x, o.y, GetClientWidth(), GetClientHeight()));
    } else {
        const TRect frame = ChildFrame(this);
        m_bridge->SetGeometry(Bounds(m_left + frame.Left, m_top + frame.Top, GetClientWidth(), GetClientHeight()));
    }
}

void TWinControl::UpdateWidgetTitle() {}

void TWinControl::CreateParams(TCreateParams& Params) { Params = TCreateParams{}; }

void TWinControl::SetBorderWidth(int v) {
    v = std::max(v, 0);
    if (v == m_borderWidth) return;
    m_borderWidth = v;
    Perform(CM_BORDERCHANGED, 0, 0);
}

TRect TWinControl::GetInsetClientRect() const {
    TRect r = GetClientRect();
    InflateRect(r, -m_borderWidth, -m_borderWidth);
    if (r.Right < r.Left) r.Right = r.Left;
    if (r.Bottom < r.Top) r.Bottom = r.Top;
    return r;
}

void TWinControl::BoundsChanged() {
    UpdateWidgetBounds();
    Realign();
}

void TWinControl::SetEnabled(bool v) {
    TControl::SetEnabled(v);
    if (m_bridge) m_bridge->SetEnabled(v);
    if (!v) {
        if (TCustomForm* f = GetParentForm(this); f && f != this && ContainsControl(f->GetActiveControl()))
            f->ControlDestroying(f->GetActiveControl());
    }
}

void TWinControl::Invalidate() {
    if (m_bridge) m_bridge->Update();
}

void TWinControl::Update() {
    if (m_bridge) m_bridge->Repaint();
}

void TWinControl::SetTabStop(bool v) {
    if (v == m_tabStop) return;
    m_tabStop = v;
    Perform(CM_TABSTOPCHANGED, 0, 0);
}

int TWinControl::GetTabOrder() const {
    if (GetParent() == nullptr) return -1;
    auto& v = GetParent()->m_tabList;
    auto it = std::find(v.begin(), v.end(), this);
    return it == v.end() ? -1 : static_cast<int>(it - v.begin());
}

void TWinControl::SetTabOrder(int v) {
    if (GetParent() == nullptr) return;
    auto& list = GetParent()->m_tabList;
    std::erase(list, this);
    v = std::clamp(v, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + v, this);
}

bool TWinControl::CanFocus() const {
    const TControl* c = this;
    for (; c != nullptr; c = c->GetParent()) {
        if (!c->GetVisible() || !c->GetEnabled()) return false;
        if (c->GetParent() == nullptr) break;
    }
    return c != nullptr && dynamic_cast<const TCustomForm*>(c) != nullptr;
}

void TWinControl::SetFocus() {
    TCustomForm* form = GetParentForm(this);
    if (form == nullptr) return;
    if (!CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
    form->SetFocusedControl(this);
    if (m_bridge) m_bridge->SetFocus();
}

bool TWinControl::Focused() const {
    TCustomForm* form = GetParentForm(const_cast<TWinControl*>(this));
    return form != nullptr && form->GetActiveControl() == this;
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List) {
    for (TWinControl* w : m_tabList) {
        List.push_back(w);
        w->GetTabOrderList(List);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop,
                                          bool CheckParent) {
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty()) return nullptr;
    int n = static_cast<int>(list.size());
    auto it = std::find(list.begin(), list.end(), CurControl);
    int start = it == list.end() ? (GoForward ? n - 1 : 0) : static_cast<int>(it - list.begin());
    int i = start;
    for (int step = 0; step < n; ++step) {
        i = GoForward ? (i + 1) % n : (i - 1 + n) % n;
        TWinControl* c = list[static_cast<size_t>(i)];
        if (c == CurControl) break;
        if (c->CanFocus() && (!CheckTabStop || c->m_tabStop) && (!CheckParent || c->GetParent() == this))
            return c;
    }
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop) {
    TWinControl* next = FindNextControl(CurControl, GoForward, CheckTabStop, !CheckTabStop);
    if (next != nullptr) next->SetFocus();
}

void TWinControl::WndProc(TMessage& Message) {
    if (IsMouseMessage(Message.Msg) && RouteMouseToChild(Message)) return;
    TControl::WndProc(Message);
}

bool TWinControl::RouteMouseToChild(TMessage& Message) {
    TControl* target = nullptr;
    if (g_captureControl != nullptr) {
        if (g_captureControl->GetParent() == this && !g_captureControl->m_windowed) target = g_captureControl;
    } else {
        target = ControlAtPos({Message.XPos(), Message.YPos()}, false);
    }
    if (target == nullptr) return false;
    TMessage m = Message;
    m.LParam = MAKELPARAM(Message.XPos() - target->GetLeft(), Message.YPos() - target->GetTop());
    target->WindowProc ? target->WindowProc(m) : target->WndProc(m);
    Message.Result = m.Result;
    return true;
}

void TWinControl::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: {
            Word k = static_cast<Word>(Message.WParam);
            KeyDown(k, KeyDataToShiftState(Message.LParam));
            // Only a key the handler cleared is eaten; a key without a virtual key (punctuation
            // the toolkit has no code for) still brings its character.
            Message.Result = k == 0 && Message.WParam != 0 ? 1 : 0;
            Message.WParam = k;
            break;
        }
        case WM_KEYUP:
        case WM_SYSKEYUP: {
            Word k = static_cast<Word>(Message.WParam);
            KeyUp(k, KeyDataToShiftState(Message.LParam));
            Message.Result = k == 0 ? 1 : 0;
            break;
        }
        case WM_CHAR:
        case WM_SYSCHAR: {
            char c = static_cast<char>(Message.WParam);
            KeyPress(c);
            Message.Result = c == 0 ? 1 : 0;
            Message.WParam = static_cast<Byte>(c);
            break;
        }
        case CM_DIALOGKEY:
        case CM_DIALOGCHAR:
        case CM_FOCUSCHANGED:
            Broadcast(Message);
            break;
        case CM_ENTER: DoEnter(); break;
        case CM_EXIT: DoExit(); break;
        case WM_DRAWITEM:
        case WM_COMMAND: {
            // As the VCL does: the control a notification is about handles it itself.
            HWND item = Message.Msg == WM_DRAWITEM ? reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam)->hwndItem
                                                   : reinterpret_cast<HWND>(Message.LParam);
            TWinControl* target = item != nullptr ? FindControl(item) : nullptr;
            if (target != nullptr) Message.Result = target->Perform(CN_BASE + Message.Msg, Message.WParam, Message.LParam);
            break;
        }
        case WM_GETDLGCODE: Message.Result = 0; break;
        case WM_PAINT:
            // As the VCL's paint handler: a window's painting includes its graphic children,
            // also when someone else asks for it on their canvas (a see-through control does).
            if (Message.WParam != 0) PaintControls(reinterpret_cast<TCanvas*>(Message.WParam));
            break;
        case WM_ERASEBKGND: {
            auto* canvas = reinterpret_cast<TCanvas*>(Message.WParam);
            if (canvas != nullptr) {
                canvas->GetBrush()->SetStyle(bsSolid);
                canvas->GetBrush()->SetColor(GetColor());
                canvas->FillRect(GetClientRect());
            }
            Message.Result = 1;
            break;
        }
        case CM_VISIBLECHANGED:
            UpdateWidgetVisibility();
            TControl::Dispatch(Message);
            break;
        case CM_CURSORCHANGED:
            if (m_bridge) m_bridge->SetCursorShape(GetCursor());
            break;
        case CM_BORDERCHANGED:
            Realign();
            Invalidate();
            break;
        case CM_COLORCHANGED:
            TControl::Dispatch(Message);
            for (TControl* c : std::vector<TControl*>(m_controls)) c->ParentColorChanged();
            break;
        case CM_FONTCHANGED:
            TControl::Dispatch(Message);
            for (TControl* c : std::vector<TControl*>(m_controls)) c->ParentFontChanged();
            break;
        case CM_SHOWHINTCHANGED:
            for (TControl* c : std::vector<TControl*>(m_controls)) c->Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
            break;
        case CM_PARENTCOLORCHANGED:
        case CM_PARENTFONTCHANGED:
        case CM_PARENTSHOWHINTCHANGED: {
            TControl::Dispatch(Message);
            break;
        }
        default:
            TControl::Dispatch(Message);
            break;
    }
}

void TWinControl::KeyDown(Word& Key, TShiftState Shift) {
    if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(Word& Key, TShiftState Shift) {
    if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(char& Key) {
    if (OnKeyPress) OnKeyPress(this, Key);
}

void TWinControl::DoEnter() {
    if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
    if (OnExit) OnExit(this);
}

void TWinControl::PaintWindow(TCanvas* Canvas) {
    Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(Canvas), 0);
    Perform(WM_PAINT, reinterpret_cast<WPARAM>(Canvas), 0);
}

void TWinControl::PaintControls(TCanvas* Canvas) {
    for (TControl* c : std::vector<TControl*>(m_controls)) {
        if (c->m_windowed || !c->m_visible) continue;
        TRect r = c->GetBoundsRect();
        TRect clip = Canvas->GetClipRect();
        TRect hit;
        if (!IntersectRect(hit, r, clip)) continue;
        c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(Canvas), 0);
    }
}

void TWinControl::PaintTo(TCanvas* Canvas, int X, int Y) {
    int level = Canvas->SaveDC();
    Canvas->MoveOrigin(X, Y);
    Canvas->IntersectClipRect(GetClientRect());
    PaintWindow(Canvas);
    PaintNativeContent(Canvas);
    for (TControl* c : std::vector<TControl*>(m_controls)) {
        auto* w = dynamic_cast<TWinControl*>(c);
        if (w == nullptr || !w->GetVisible()) continue;
        const TRect frame = ChildFrame(w);
        if (frame != TRect{}) static_cast<TCustomForm*>(w)->PaintFrameTo(Canvas, w->GetLeft(), w->GetTop());
        w->PaintTo(Canvas, w->GetLeft() + frame.Left, w->GetTop() + frame.Top);
    }
    Canvas->RestoreDC(level);
}

void TWinControl::WidgetPaint(TBitmap* BackBuffer) {
    TCanvas* canvas = BackBuffer->GetCanvas();
    PaintWindow(canvas);
}

namespace {

bool IsButtonPress(UINT Msg) {
    switch (Msg) {
        case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK:
            return true;
        default:
            return false;
    }
}

}  // namespace

void TWinControl::WidgetMouse(UINT Msg, WPARAM Keys, TPoint ClientPos) {
    TPoint screen = ClientToScreen(ClientPos);
    if (IsButtonPress(Msg) && DropDownTakesPress(screen)) return;
    Mouse->SetTrackedPos(screen);
    TControl* cap = g_captureControl;
    if (cap != nullptr && cap != this && !(cap->GetParent() == this && !cap->m_windowed)) {
        // Another control holds the capture: it gets the message in its own coordinates.
        TPoint p = cap->ScreenToClient(screen);
        cap->Perform(Msg, Keys, MAKELPARAM(p.x, p.y));
    } else {
        Perform(Msg, Keys, MAKELPARAM(ClientPos.x, ClientPos.y));
    }
    // Where the mouse is now: a click that ran a modal window has seen it move on meanwhile.
    if (Msg == WM_MOUSEMOVE || Msg == WM_LBUTTONUP || Msg == WM_RBUTTONUP || Msg == WM_MBUTTONUP)
        UpdateMouseControl(FindControlAtScreen(Mouse->GetCursorPos()));
}

namespace {

bool IsDialogNavigationKey(Word Key) {
    switch (Key) {
        case VK_TAB: case VK_RETURN: case VK_ESCAPE: case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN:
            return true;
        default:
            return false;
    }
}

}  // namespace

namespace {

// The application's message hooks (TApplicationEvents) see a key message first.
bool PreviewKeyMessage(TWinControl* Control, UINT Msg, WPARAM WParam, LPARAM LParam) {
    MSG msg;
    msg.hwnd = Control->GetHandle();
    msg.message = Msg;
    msg.wParam = WParam;
    msg.lParam = LParam;
    return PreviewApplicationMessage(msg);
}

}  // namespace

void TWinControl::WidgetKeyDown(Word Key, TShiftState Shift, const String& Text) {
    TCustomForm* form = GetParentForm(this);
    // An open list has the keyboard, before the form's key preview and its dialog keys; the
    // list window itself answers them, whichever of its parts the toolkit gave the key to.
    if (TDropDownWindow* drop = OpenDropDown(); drop != nullptr && drop != this) {
        drop->WidgetKeyDown(Key, Shift, Text);
        return;
    }
    LPARAM keyData = ShiftStateToKeyData(Shift);
    if (PreviewKeyMessage(this, Shift.Contains(ssAlt) ? WM_SYSKEYDOWN : WM_KEYDOWN, Key, keyData)) return;
    if (form != nullptr && form != this && form->GetKeyPreview()) {
        Word k = Key;
        static_cast<TWinControl*>(form)->KeyDown(k, Shift);
        // A key with no key code (an accented letter) is a character only: the preview cannot
        // have cleared it.
        if (k == 0 && Key != 0) return;
        Key = k;
    }
    // The form's menu takes its shortcuts before the control sees the key.
    if (form != nullptr && form->GetMenu() != nullptr && form->GetMenu()->IsShortCut(Key, Shift)) return;
    LRESULT dlgCode = Perform(WM_GETDLGCODE, 0, 0);
    if (form != nullptr && IsDialogNavigationKey(Key)) {
        bool wanted = (dlgCode & DLGC_WANTALLKEYS) != 0 || Perform(CM_WANTSPECIALKEY, Key, keyData) != 0 ||
                      (Key == VK_TAB && (dlgCode & DLGC_WANTTAB) != 0) ||
                      ((Key == VK_LEFT || Key == VK_RIGHT || Key == VK_UP || Key == VK_DOWN) &&
                       (dlgCode & DLGC_WANTARROWS) != 0);
        if (!wanted && form->Perform(CM_DIALOGKEY, Key, keyData) != 0) return;
    }
    UINT down = Shift.Contains(ssAlt) ? WM_SYSKEYDOWN : WM_KEYDOWN;
    if (Perform(down, Key, keyData) != 0) return;
    String chars = Text;
    if (chars.empty() && Shift.Contains(ssAlt) && ((Key >= 'A' && Key <= 'Z') || (Key >= '0' && Key <= '9')))
        chars = String(1, static_cast<char>(Key >= 'A' ? Key - 'A' + 'a' : Key));
    for (char ch : chars) {
        if (static_cast<Byte>(ch) < 0x20 && ch != '\r' && ch != '\b' && ch != 0x1B && ch != '\t') continue;
        bool wantsChars = (dlgCode & (DLGC_WANTCHARS | DLGC_WANTALLKEYS)) != 0;
        if (form != nullptr && (Shift.Contains(ssAlt) || !wantsChars) &&
            form->Perform(CM_DIALOGCHAR, static_cast<Byte>(ch), keyData) != 0)
            return;
        const UINT charMsg = Shift.Contains(ssAlt) ? WM_SYSCHAR : WM_CHAR;
        if (PreviewKeyMessage(this, charMsg, static_cast<Byte>(ch), keyData)) continue;
        Perform(charMsg, static_cast<Byte>(ch), keyData);
    }
}

void TWinControl::WidgetKeyUp(Word Key, TShiftState Shift) {
    if (TDropDownWindow* drop = OpenDropDown(); drop != nullptr && drop != this) {
        drop->WidgetKeyUp(Key, Shift);
        return;
    }
    const UINT up = Shift.Contains(ssAlt) ? WM_SYSKEYUP : WM_KEYUP;
    if (PreviewKeyMessage(this, up, Key, ShiftStateToKeyData(Shift))) return;
    Perform(Shift.Contains(ssAlt) ? WM_SYSKEYUP : WM_KEYUP, Key, ShiftStateToKeyData(Shift));
}

void TWinControl::WidgetFocusIn() {
    TCustomForm* form = GetParentForm(this);
    if (form != nullptr && form != this && form->GetActiveControl() != this) form->SetFocusedControl(this);
}

void TWinControl::WidgetResized(int Width, int Height) {
    // The window manager resized a top-level window: take its size as ours.
    auto* form = dynamic_cast<TCustomForm*>(this);
    TRect frame = IsTopLevel() && form != nullptr ? form->FrameMetrics() : TRect{};
    int w = Width + frame.Left + frame.Right;
    int h = Height + frame.Top + frame.Bottom;
    if (w != GetWidth() || h != GetHeight()) SetBounds(GetLeft(), GetTop(), w, h);
}

// ---- TGraphicControl / TCustomControl -----------------------------------------------------------

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner), m_canvas(new TCanvas()) {}

TGraphicControl::~TGraphicControl() {
    Destroying();
    // Leave the parent first, so nothing paints us while our canvas goes away.
    if (GetParent() != nullptr) GetParent()->RemoveControl(this);
    delete m_canvas;
}

void TGraphicControl::Dispatch(TMessage& Message) {
    if (Message.Msg == WM_PAINT && Message.WParam != 0) {
        PaintOnto(m_canvas, reinterpret_cast<TCanvas*>(Message.WParam), {GetLeft(), GetTop()}, GetWidth(),
                  GetHeight(), [this] { Paint(); });
        return;
    }
    TControl::Dispatch(Message);
}

void TGraphicControl::Paint() {}

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner), m_canvas(new TCanvas()) {}

TCustomControl::~TCustomControl() {
    Destroying();
    if (GetParent() != nullptr) GetParent()->RemoveControl(this);
    DestroyWnd();
    delete m_canvas;
}

void TCustomControl::Dispatch(TMessage& Message) {
    if (Message.Msg == WM_PAINT && Message.WParam != 0) {
        auto* onto = reinterpret_cast<TCanvas*>(Message.WParam);
        PaintOnto(m_canvas, onto, {0, 0}, GetClientWidth(), GetClientHeight(), [this] { Paint(); });
        PaintControls(onto);
        return;
    }
    TWinControl::Dispatch(Message);
}

void TCustomControl::Paint() {}

TWinControl* FindControl(HWND Handle) {
    auto it = g_handles.find(Handle);
    return it == g_handles.end() ? nullptr : it->second;
}

TCustomForm* GetParentForm(TControl* Control) {
    TControl* c = Control;
    while (c != nullptr && c->GetParent() != nullptr) c = c->GetParent();
    return dynamic_cast<TCustomForm*>(c);
}

BOOL GetScrollInfo(HWND Window, int Bar, SCROLLINFO* Info) {
    TWinControl* control = FindControl(Window);
    if (!control || !Info) return FALSE;
    SCROLLINFO state;
    if (!control->GetControlScrollInfo(Bar, state)) return FALSE;
    const UINT mask = Info->fMask;
    if (mask & SIF_RANGE) {
        Info->nMin = state.nMin;
        Info->nMax = state.nMax;
    }
    if (mask & SIF_PAGE) Info->nPage = state.nPage;
    if (mask & SIF_POS) Info->nPos = state.nPos;
    if (mask & SIF_TRACKPOS) Info->nTrackPos = state.nTrackPos;
    return TRUE;
}
