#include "platform/vcl/Forms.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <unistd.h>

#include "platform/vcl/DropDown.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/QtControls.h"
#include "platform/vcl/SysUtils.h"
#include "platform/vcl/WindowMove.h"

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

namespace {

// The class library's two singletons exist from start-up to the end of the process.
struct GlobalsInit {
    GlobalsInit() {
        Application = new TApplication(nullptr);
        Screen = new TScreen(nullptr);
    }
} g_globalsInit;

}  // namespace

TRect FormFrameMetrics(TFormBorderStyle Style) {
    switch (Style) {
        case bsNone: return {0, 0, 0, 0};
        case bsSingle:
        case bsDialog: return {3, 22, 3, 3};
        case bsSizeable: return {4, 23, 4, 4};
        case bsToolWindow: return {3, 18, 3, 3};
        case bsSizeToolWin: return {4, 19, 4, 4};
    }
    return {};
}

// ---- TCustomForm -------------------------------------------------------------------------------

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner) {
    m_visible = false;  // a form starts hidden, without the messages of a change
    SetColor(clBtnFace);
    SetParentFont(false);
    ControlStyle() = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    SetBounds(0, 0, 320, 240);
    if (Screen != nullptr) Screen->AddForm(this);
}

TCustomForm::~TCustomForm() {
    Destroying();
    // Hooks on the window procedure still see the window go.
    if (HandleAllocated() && Application != nullptr) Application->Guard(this, [this] { Perform(WM_DESTROY, 0, 0); });
    DoDestroy();
    if (Screen != nullptr) Screen->RemoveForm(this);
    if (Application != nullptr) Application->FormDestroying(this);
    m_activeControl = nullptr;
}

void TCustomForm::DoDestroy() {
    if (!OnDestroy) return;
    TNotifyEvent handler = std::move(OnDestroy);
    OnDestroy = nullptr;
    if (Application != nullptr) Application->Guard(this, [&] { handler(this); });
}

void TCustomForm::AfterConstruction() {
    EndLoading();
    if (OnCreate) OnCreate(this);
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove) {
        if (AComponent == m_activeControl) m_activeControl = nullptr;
        if (AComponent == reinterpret_cast<TComponent*>(m_menu)) m_menu = nullptr;
        if (AComponent == m_mdiClient) m_mdiClient = nullptr;
    }
}

void TCustomForm::ControlDestroying(TWinControl* Control) {
    if (Control != nullptr && m_activeControl != nullptr && Control->ContainsControl(m_activeControl))
        m_activeControl = nullptr;
}

TRect TCustomForm::GetClientRect() const {
    TRect f = FrameMetrics();
    return Rect(0, 0, std::max(0, GetWidth() - f.Left - f.Right), std::max(0, GetHeight() - f.Top - f.Bottom));
}

bool TCustomForm::ProgramPaintsFrame() const {
    // No window system frames an MDI child, nor a window whose caption went.
    return FrameMetrics() != TRect{} && (!IsTopLevel() || m_captionRemoved);
}

void TCustomForm::ApplyPaintedFrame() {
    if (!HasBridge() || Bridge()->PaintsFrame() == ProgramPaintsFrame()) {
        if (HasBridge() && ProgramPaintsFrame()) Bridge()->SetPaintedFrame(FrameMetrics());
        return;
    }
    // The window keeps its bounds and region across the change of who frames it; what the
    // toolkit reports while its widgets change places is not a move by the person.
    const TRect bounds = GetBoundsRect();
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    const bool hadRegion = GetWindowRgn(GetHandle(), region) != ERROR_REGION;
    Bridge()->SetPaintedFrame(ProgramPaintsFrame() ? FrameMetrics() : TRect{});
    if (GetBoundsRect() != bounds) SetBoundsRect(bounds);
    UpdateWidgetBounds();
    if (hadRegion) SetWindowRegion(region);
    else DeleteObject(region);
}

void TCustomForm::ApplyWindowStyle() {
    ApplyPaintedFrame();
    // An MDI child is a widget inside its parent: it has no window style of its own.
    if (!HasBridge() || !IsTopLevel()) return;
    if (m_popupWindow) {
        Bridge()->SetPopupStyle();
        return;
    }
    // Without its caption the frame is the program's to paint: the window system draws none.
    Bridge()->SetWindowStyle(m_borderStyle == bsNone || m_captionRemoved, m_borderStyle == bsDialog,
                             m_borderStyle == bsToolWindow || m_borderStyle == bsSizeToolWin,
                             m_formStyle == fsStayOnTop);
}

void TCustomForm::SetBorderStyle(TFormBorderStyle v) {
    if (v == m_borderStyle) return;
    // The client area keeps its size; the outer size follows the new frame.
    int cw = GetClientWidth(), ch = GetClientHeight();
    m_borderStyle = v;
    TRect f = FrameMetrics();
    SetBounds(GetLeft(), GetTop(), cw + f.Left + f.Right, ch + f.Top + f.Bottom);
    ApplyWindowStyle();
    UpdateWidgetBounds();
}

void TCustomForm::SetPopupWindow(bool v) {
    if (v == m_popupWindow) return;
    m_popupWindow = v;
    ApplyWindowStyle();
}

void TCustomForm::SetFormStyle(TFormStyle v) {
    if (v == m_formStyle) return;
    TFormStyle old = m_formStyle;
    m_formStyle = v;
    EnterMDIStyle(old);
    ApplyWindowStyle();
}

void TCustomForm::SetWindowState(TWindowState v) {
    if (v == m_windowState) return;
    TWindowState old = m_windowState;
    m_windowState = v;
    ApplyMaximized(old);
    if (!HasBridge() || !GetVisible()) return;
    if (v == wsMinimized) Bridge()->ShowMinimized(); else Bridge()->ShowNormal();
}

void TCustomForm::SetAutoSize(bool v) {
    m_autoSize = v;
    if (v) AdjustAutoSize();
}

void TCustomForm::AdjustAutoSize() {
    if (!m_autoSize) return;
    int right = 0, bottom = 0;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (!c->GetVisible()) continue;
        right = std::max(right, c->GetLeft() + c->GetWidth());
        bottom = std::max(bottom, c->GetTop() + c->GetHeight());
    }
    if (right > 0 && bottom > 0) {
        SetClientWidth(right);
        SetClientHeight(bottom);
    }
}

void TCustomForm::SetAlphaBlend(bool v) {
    m_alphaBlend = v;
    if (HasBridge()) Bridge()->SetOpacity(v ? m_alphaBlendValue / 255.0 : 1.0);
}

void TCustomForm::SetAlphaBlendValue(int v) {
    m_alphaBlendValue = std::clamp(v, 0, 255);
    if (m_alphaBlend && HasBridge()) Bridge()->SetOpacity(m_alphaBlendValue / 255.0);
}

void TCustomForm::CreateWnd() {
    if (HasBridge()) return;
    TWinControl::CreateWnd();
    ApplyWindowStyle();
    if (m_alphaBlend) Bridge()->SetOpacity(m_alphaBlendValue / 255.0);
}

void TCustomForm::UpdateWidgetTitle() {
    if (HasBridge()) Bridge()->SetTitle(GetText());
    if (HandleAllocated()) Win32_SetWindowTitle(GetHandle(), GetText());
}

void TCustomForm::PlaceOnScreen() {
    if (m_placed) return;
    m_placed = true;
    if (m_position == poScreenCenter || m_position == poDesktopCenter ||
        (m_position == poMainFormCenter && (Application->GetMainForm() == nullptr || Application->GetMainForm() == this))) {
        TRect s = QtPlatform::PrimaryScreenRect();
        SetBounds(s.Left + (s.Width() - GetWidth()) / 2, s.Top + (s.Height() - GetHeight()) / 2, GetWidth(), GetHeight());
    } else if (m_position == poMainFormCenter || m_position == poOwnerFormCenter) {
        TCustomForm* ref = m_position == poOwnerFormCenter ? dynamic_cast<TCustomForm*>(GetOwner()) : nullptr;
        if (ref == nullptr) ref = Application->GetMainForm();
        if (ref != nullptr && ref != this)
            SetBounds(ref->GetLeft() + (ref->GetWidth() - GetWidth()) / 2,
                      ref->GetTop() + (ref->GetHeight() - GetHeight()) / 2, GetWidth(), GetHeight());
    }
}

void TCustomForm::Show() {
    SetVisible(true);
    BringToFront();
    // A popup leaves the activation where it is: the window it drops from stays active.
    if (HasBridge() && !m_popupWindow) Bridge()->Activate();
}

void TCustomForm::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case CM_VISIBLECHANGED:
            if (Message.WParam != 0) {
                PlaceOnScreen();
                AdjustAutoSize();
                // The window is made hidden: it goes on the screen after OnShow, unless OnShow
                // puts it there itself (a slide-in).
                m_visible = false;
                CreateWnd();
                m_visible = true;
                DoShow();
                UpdateWidgetVisibility();
                if (m_windowState == wsMinimized) Bridge()->ShowMinimized();
                if (Screen != nullptr && !m_popupWindow) Screen->FormShown(this);
                Perform(WM_SHOWWINDOW, 1, 0);
                if (m_formStyle == fsMDIChild && GetParent() != nullptr)
                    GetParent()->Perform(WM_MDIACTIVATE, reinterpret_cast<WPARAM>(GetHandle()), 0);
            } else {
                CloseDropDownOf(this);
                ClosePopupMenuOf(this);
                DoHide();
                UpdateWidgetVisibility();
                Perform(WM_SHOWWINDOW, 0, 0);
            }
            return;
        case CM_DIALOGKEY:
            if (HandleDialogKey(Message)) return;
            break;
        case WM_CLOSE:
            Close();
            return;
        case CM_TEXTCHANGED:
            UpdateWidgetTitle();
            break;
        case CM_RELEASE:
            if (Application) Application->QueueRelease(this);
            return;
        case WM_SYSCOMMAND:
            switch (Message.WParam & 0xFFF0) {
                case SC_MINIMIZE: SetWindowState(wsMinimized); return;
                case SC_MAXIMIZE: SetWindowState(wsMaximized); return;
                case SC_RESTORE: SetWindowState(wsNormal); return;
                case SC_CLOSE: Close(); return;
                default: break;
            }
            break;
        case WM_NCLBUTTONDOWN:
            // A press "on the caption": the window moves with the pointer.
            if (Message.WParam == HTCAPTION) {
                GetWindowMoveService()->StartMove(this);
                return;
            }
            break;
        default:
            break;
    }
    TWinControl::Dispatch(Message);
}

bool TCustomForm::HandleDialogKey(TMessage& Message) {
    TShiftState shift = KeyDataToShiftState(Message.LParam);
    if (shift.Contains(ssAlt)) return false;
    Word key = static_cast<Word>(Message.WParam);
    if (key == VK_TAB && !shift.Contains(ssCtrl)) {
        SelectNext(m_activeControl, !shift.Contains(ssShift), true);
        Message.Result = 1;
        return true;
    }
    if (key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN) {
        if (m_activeControl != nullptr && m_activeControl->GetParent() != nullptr) {
            m_activeControl->GetParent()->SelectNext(m_activeControl, key == VK_RIGHT || key == VK_DOWN, false);
            Message.Result = 1;
        }
        return true;
    }
    return false;
}

void TCustomForm::DoShow() {
    if (OnShow) OnShow(this);
}

void TCustomForm::DoHide() {
    if (OnHide) OnHide(this);
}

void TCustomForm::DoClose(TCloseAction& Action) {
    if (OnClose) OnClose(this, Action);
}

bool TCustomForm::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::Close() {
    if (m_modal) {
        m_modalResult = mrCancel;
        QtPlatform::Wake();
        return;
    }
    if (m_closing || !CloseQuery()) return;
    m_closing = true;
    TCloseAction action = caHide;
    try {
        DoClose(action);
    } catch (...) {
        m_closing = false;
        throw;
    }
    m_closing = false;
    if (action == caNone) return;
    if (Application->GetMainForm() == this) {
        Hide();
        Application->Terminate();
    } else if (action == caHide) {
        Hide();
    } else if (action == caMinimize) {
        SetWindowState(wsMinimized);
    } else {
        Release();
    }
}

void TCustomForm::Release() {
    Hide();
    Application->QueueRelease(this);
}

bool TCustomForm::Active() const {
    return Screen != nullptr && Screen->GetActiveForm() == this;
}

TModalResult TCustomForm::ShowModal() {
    if (GetVisible() || m_modal) throw EInvalidOperation("Cannot make a visible window modal");
    m_modalResult = mrNone;
    m_modal = true;
    TModalResult result = mrNone;
    try {
        result = GetInteractionService()->ShowModal(this, [this] { return RunModalLoop(); });
    } catch (...) {
        m_modal = false;
        if (HasBridge()) Bridge()->SetModal(false);
        Hide();
        throw;
    }
    m_modal = false;
    return result;
}

TModalResult TCustomForm::RunModalLoop() {
    CreateWnd();
    Bridge()->SetModal(true);
    Show();
    // A scripted answer may already have set the result before the loop starts.
    for (;;) {
        while (m_modalResult == mrNone) {
            if (Application->Terminated()) {
                m_modalResult = mrCancel;
                break;
            }
            Application->HandleMessage();
        }
        // Closing a modal form still asks CloseQuery and OnClose.
        TCloseAction action = caNone;
        if (CloseQuery()) {
            action = caHide;
            DoClose(action);
        }
        if (action != caNone) break;
        m_modalResult = mrNone;
    }
    TModalResult result = m_modalResult;
    Bridge()->SetModal(false);
    Hide();
    return result;
}

void TCustomForm::SetModalResult(TModalResult v) {
    m_modalResult = v;
    if (m_modal) QtPlatform::Wake();
}

void TCustomForm::SetActiveControl(TWinControl* v) {
    if (v == m_activeControl) return;
    if (v != nullptr && (!ContainsControl(v) || v == this))
        throw EInvalidOperation("Invalid active control");
    if (v != nullptr && GetVisible()) {
        v->SetFocus();
        return;
    }
    SetFocusedControl(v);
}

void TCustomForm::SetFocusedControl(TWinControl* Control) {
    if (Control == m_activeControl) return;
    TWinControl* old = m_activeControl;
    m_activeControl = Control;
    // Exit the chain the focus leaves, then enter the chain it arrives in, below the common parent.
    for (TWinControl* c = old; c != nullptr && c != this; c = c->GetParent()) {
        if (Control != nullptr && c->ContainsControl(Control)) break;
        c->Perform(CM_EXIT, 0, 0);
        if (m_activeControl != Control) return;  // a handler moved the focus on
    }
    std::vector<TWinControl*> chain;
    for (TWinControl* c = Control; c != nullptr && c != this; c = c->GetParent()) {
        if (old != nullptr && c->ContainsControl(old)) break;
        chain.push_back(c);
    }
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        (*it)->Perform(CM_ENTER, 0, 0);
        if (m_activeControl != Control) return;
    }
    // As the window system does: each side learns the window on the other side (or none).
    HWND oldWindow = old != nullptr && old->HandleAllocated() ? old->GetHandle() : nullptr;
    HWND newWindow = Control != nullptr && Control->HandleAllocated() ? Control->GetHandle() : nullptr;
    if (old != nullptr) {
        old->Perform(WM_KILLFOCUS, reinterpret_cast<WPARAM>(newWindow), 0);
        if (m_activeControl != Control) return;
    }
    if (Control != nullptr) {
        Control->Perform(WM_SETFOCUS, reinterpret_cast<WPARAM>(oldWindow), 0);
        if (m_activeControl != Control) return;
    }
    Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(Control));
}

void TCustomForm::SetWindowRegion(HRGN Region) {
    CreateWnd();
    // The region is the window's; unless the program paints the frame, the toolkit's mask lies
    // on the client.
    TRect frame = Bridge()->PaintsFrame() ? TRect{} : FrameMetrics();
    if (Region != nullptr && (frame.Left != 0 || frame.Top != 0)) OffsetRgn(Region, -frame.Left, -frame.Top);
    Bridge()->SetMaskRegion(Region);
    DeleteObject(Region);
}

bool TCustomForm::WidgetCloseRequested() {
    Close();
    return !GetVisible();
}

void TCustomForm::WidgetActivated(bool IsActive) {
    Perform(WM_ACTIVATE, IsActive ? WA_ACTIVE : WA_INACTIVE, 0);
    if (IsActive) {
        if (Screen != nullptr) Screen->FormShown(this);
        if (OnActivate) OnActivate(this);
    } else if (OnDeactivate) {
        OnDeactivate(this);
    }
}

void TCustomForm::PaintWindow(TCanvas* Canvas) {
    TWinControl::PaintWindow(Canvas);
    if (OnPaint) OnPaint(this);
}

void TCustomForm::WidgetMoved(int ClientLeft, int ClientTop) {
    TRect f = FrameMetrics();
    int l = ClientLeft - f.Left, t = ClientTop - f.Top;
    if (l != GetLeft() || t != GetTop()) {
        m_movingFromWidget = true;
        SetBounds(l, t, GetWidth(), GetHeight());
        m_movingFromWidget = false;
    }
}

void TCustomForm::BoundsChanged() {
    if (!m_movingFromWidget) TWinControl::BoundsChanged();
    else Realign();
    SendSizeMessage();
}

// ---- TApplication ------------------------------------------------------------------------------

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner), m_icon(std::make_unique<TBitmap>()) {}

TApplication::~TApplication() = default;

void TApplication::SetIcon(TBitmap* Icon) { m_icon->Assign(Icon); }

void TApplication::Initialize() {}

String TApplication::ExeName() const {
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof(buf) - 1);
    if (n <= 0) return String();
    return String(buf, static_cast<size_t>(n));
}

void TApplication::RegisterCreatedForm(TCustomForm* Form) {
    if (m_mainForm == nullptr) m_mainForm = Form;
    Form->AfterConstruction();
}

void TApplication::FormDestroying(TCustomForm* Form) {
    if (m_mainForm == Form) m_mainForm = nullptr;
    std::erase(m_releases, Form);
}

void TApplication::Run() {
    m_running = true;
    if (m_mainForm != nullptr) m_mainForm->Show();
    while (!m_terminated) {
        HandleMessage();
        if (m_mainForm == nullptr) m_terminated = true;
    }
    m_running = false;
}

void TApplication::Terminate() {
    m_terminated = true;
    QtPlatform::Wake();
}

void TApplication::Minimize() {
    for (int i = 0; i < Screen->FormCount(); ++i)
        if (Screen->Forms(i)->GetVisible()) Screen->Forms(i)->SetWindowState(wsMinimized);
}

void TApplication::Restore() {
    for (int i = 0; i < Screen->FormCount(); ++i)
        if (Screen->Forms(i)->GetVisible()) Screen->Forms(i)->SetWindowState(wsNormal);
}

void TApplication::ProcessMessages() {
    QtPlatform::ProcessEvents(false);
    Win32_DispatchPostedMessages();
    FlushReleases();
}

void TApplication::HandleMessage() {
    QtPlatform::ProcessEvents(true);
    Win32_DispatchPostedMessages();
    FlushReleases();
}

void TApplication::QueueCall(std::function<void()> Call) {
    QtPlatform::QueueCall([this, Call = std::move(Call)] { Guard(this, Call); });
}

void TApplication::QueueRelease(TCustomForm* Form) {
    if (std::find(m_releases.begin(), m_releases.end(), Form) == m_releases.end()) m_releases.push_back(Form);
    QtPlatform::QueueCall([this] { FlushReleases(); });
}

void TApplication::FlushReleases() {
    // A form is freed only when none of our widgets is inside an event and it is not modal.
    if (!QtPlatform::InWidgetEvent()) {
        auto pending = m_releases;
        for (TCustomForm* f : pending) {
            if (f->IsModal()) continue;
            std::erase(m_releases, f);
            delete f;
        }
    }
    QtPlatform::FlushDeferredDeletes();
}

void TApplication::HandleException(TObject* Sender) {
    std::exception_ptr ep = std::current_exception();
    if (!ep) return;
    try {
        std::rethrow_exception(ep);
    } catch (const EAbort&) {
        // Silent by design: Abort() unwinds without a message.
    } catch (const std::exception& e) {
        if (OnException) {
            try {
                OnException(Sender, e);
            } catch (...) {
            }
        } else {
            ShowException(e);
        }
    } catch (...) {
        Exception unknown("Unknown exception");
        if (OnException) OnException(Sender, unknown); else ShowException(unknown);
    }
}

void TApplication::ShowException(const std::exception& E) {
    String msg = E.what();
    if (!msg.empty() && msg.back() != '.') msg += '.';
    try {
        GetInteractionService()->MessageBox(msg, m_title, mtError, {mbOK});
    } catch (...) {
    }
}

// ---- TScreen -----------------------------------------------------------------------------------

namespace {
TRect ClientOnScreen(const TCustomForm* f) {
    TPoint o = f->ClientOrigin();
    return Bounds(o.x, o.y, f->GetClientWidth(), f->GetClientHeight());
}
}  // namespace

int TScreen::GetWidth() const { return QtPlatform::PrimaryScreenRect().Width(); }
int TScreen::GetHeight() const { return QtPlatform::PrimaryScreenRect().Height(); }
TRect TScreen::GetWorkAreaRect() const { return QtPlatform::PrimaryWorkArea(); }

namespace {

// Squared gap between two rectangles along both axes (0 when they touch or overlap).
long long GapSquared(const TRect& A, const TRect& B) {
    const long long dx = std::max({0, B.Left - A.Right, A.Left - B.Right});
    const long long dy = std::max({0, B.Top - A.Bottom, A.Top - B.Bottom});
    return dx * dx + dy * dy;
}

long long OverlapArea(const TRect& A, const TRect& B) {
    TRect common;
    if (!IntersectRect(common, A, B)) return 0;
    return static_cast<long long>(common.Width()) * common.Height();
}

}  // namespace

int NearestMonitor(const std::vector<TRect>& MonitorBounds, const TRect& Window) {
    int best = -1;
    long long bestOverlap = 0, bestGap = 0;
    for (int i = 0; i < static_cast<int>(MonitorBounds.size()); ++i) {
        const TRect& m = MonitorBounds[static_cast<size_t>(i)];
        const long long overlap = OverlapArea(m, Window), gap = GapSquared(m, Window);
        const bool better = best < 0 || overlap > bestOverlap || (overlap == 0 && bestOverlap == 0 && gap < bestGap);
        if (!better) continue;
        best = i;
        bestOverlap = overlap;
        bestGap = gap;
    }
    return best;
}

TRect TScreen::WorkAreaNearest(const TRect& Window) const {
    const std::vector<QtPlatform::TMonitorAreas> monitors = QtPlatform::Monitors();
    std::vector<TRect> bounds;
    for (const auto& m : monitors) bounds.push_back(m.Bounds);
    const int i = NearestMonitor(bounds, Window);
    return i < 0 ? GetWorkAreaRect() : monitors[static_cast<size_t>(i)].WorkArea;
}

TCustomForm* TScreen::GetActiveForm() const {
    for (TCustomForm* f : m_zOrder)
        if (f->GetVisible()) return f;
    return nullptr;
}

void TScreen::SetCursor(TCursor v) {
    m_cursor = v;
    QtPlatform::SetOverrideCursor(v);
}

void TScreen::AddForm(TCustomForm* Form) {
    m_forms.push_back(Form);
    m_zOrder.push_back(Form);
}

void TScreen::RemoveForm(TCustomForm* Form) {
    std::erase(m_forms, Form);
    std::erase(m_zOrder, Form);
}

void TScreen::FormShown(TCustomForm* Form) {
    std::erase(m_zOrder, Form);
    m_zOrder.insert(m_zOrder.begin(), Form);
}

TCustomForm* TScreen::FormAtPoint(TPoint P) const {
    // An open list lies above every window, modal ones included.
    if (TDropDownWindow* drop = OpenDropDown(); drop != nullptr && ClientOnScreen(drop).Contains(P)) return drop;
    // Modal forms shut out the others, as the window manager would.
    for (TCustomForm* f : m_zOrder)
        if (f->GetVisible() && f->IsModal()) return ClientOnScreen(f).Contains(P) ? f : nullptr;
    for (TCustomForm* f : m_zOrder)
        if (f->GetVisible() && ClientOnScreen(f).Contains(P)) return f;
    return nullptr;
}

TCursor TScreen::GetCursor() const { return m_cursor; }
