#include "platform/vcl/QtControls.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QToolTip>
#include <QHelpEvent>
#include <QWindow>

#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/QtGraphics.h"
#include "platform/vcl/QtRegion.h"

namespace {

int g_eventDepth = 0;
std::vector<QPointer<QWidget>> g_deferredDeletes;

struct EventDepthGuard {
    EventDepthGuard() { ++g_eventDepth; }
    ~EventDepthGuard() { --g_eventDepth; }
};

WPARAM MouseKeys(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods) {
    TShiftState s;
    if (buttons & Qt::LeftButton) s << ssLeft;
    if (buttons & Qt::RightButton) s << ssRight;
    if (buttons & Qt::MiddleButton) s << ssMiddle;
    if (mods & Qt::ShiftModifier) s << ssShift;
    if (mods & Qt::ControlModifier) s << ssCtrl;
    if (mods & Qt::AltModifier) s << ssAlt;
    return ShiftStateToKeys(s);
}

TShiftState KeyShift(Qt::KeyboardModifiers mods) {
    TShiftState s;
    if (mods & Qt::ShiftModifier) s << ssShift;
    if (mods & Qt::ControlModifier) s << ssCtrl;
    if (mods & Qt::AltModifier) s << ssAlt;
    return s;
}

// The Win32 virtual key of a toolkit key (0 when there is none).
Word VirtualKey(int key) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return static_cast<Word>('A' + (key - Qt::Key_A));
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return static_cast<Word>('0' + (key - Qt::Key_0));
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return static_cast<Word>(VK_F1 + (key - Qt::Key_F1));
    switch (key) {
        case Qt::Key_Backspace: return VK_BACK;
        case Qt::Key_Tab:
        case Qt::Key_Backtab: return VK_TAB;
        case Qt::Key_Return:
        case Qt::Key_Enter: return VK_RETURN;
        case Qt::Key_Shift: return VK_SHIFT;
        case Qt::Key_Control: return VK_CONTROL;
        case Qt::Key_Alt: return VK_MENU;
        case Qt::Key_Escape: return VK_ESCAPE;
        case Qt::Key_Space: return VK_SPACE;
        case Qt::Key_PageUp: return VK_PRIOR;
        case Qt::Key_PageDown: return VK_NEXT;
        case Qt::Key_End: return VK_END;
        case Qt::Key_Home: return VK_HOME;
        case Qt::Key_Left: return VK_LEFT;
        case Qt::Key_Up: return VK_UP;
        case Qt::Key_Right: return VK_RIGHT;
        case Qt::Key_Down: return VK_DOWN;
        case Qt::Key_Insert: return VK_INSERT;
        case Qt::Key_Delete: return VK_DELETE;
        default: return 0;
    }
}

Qt::CursorShape CursorShape(TCursor c) {
    switch (c) {
        case crNone: return Qt::BlankCursor;
        case crCross: return Qt::CrossCursor;
        case crIBeam: return Qt::IBeamCursor;
        case crSizeNESW: return Qt::SizeBDiagCursor;
        case crSizeNS: return Qt::SizeVerCursor;
        case crSizeNWSE: return Qt::SizeFDiagCursor;
        case crSizeWE: return Qt::SizeHorCursor;
        case crUpArrow: return Qt::UpArrowCursor;
        case crHourGlass: return Qt::WaitCursor;
        case crNo:
        case crNoDrop: return Qt::ForbiddenCursor;
        case crAppStart: return Qt::BusyCursor;
        case crHelp: return Qt::WhatsThisCursor;
        case crHandPoint: return Qt::PointingHandCursor;
        case crSizeAll: return Qt::SizeAllCursor;
        case crHSplit: return Qt::SplitHCursor;
        case crVSplit: return Qt::SplitVCursor;
        default: return Qt::ArrowCursor;
    }
}

}  // namespace

// One widget per windowed control. Every event goes through the exception barrier and is
// ignored once the control has let go of the widget.
class TQtWidget : public QWidget {
public:
    explicit TQtWidget(TWinControl* control) : m_control(control) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_NoSystemBackground);
        setMouseTracking(true);
        setFocusPolicy(Qt::StrongFocus);
        // Letters made of several keys (a dead accent, then the letter) come composed only to
        // a widget that takes input-method text.
        setAttribute(Qt::WA_InputMethodEnabled);
    }
    void Detach() { m_control = nullptr; }
    TWinControl* Control() const { return m_control; }

protected:
    bool event(QEvent* e) override {
        if (m_control == nullptr) {
            if (e->type() == QEvent::Close) e->ignore();
            return e->type() == QEvent::Paint || QWidget::event(e);
        }
        EventDepthGuard depth;
        bool handled = false;
        Application->Guard(m_control, [&] { handled = Handle(e); });
        return handled || QWidget::event(e);
    }

private:
    bool Handle(QEvent* e) {
        switch (e->type()) {
            case QEvent::Paint: Paint(static_cast<QPaintEvent*>(e)); return true;
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::MouseMove: Mouse(static_cast<QMouseEvent*>(e)); return true;
            case QEvent::Wheel: Wheel(static_cast<QWheelEvent*>(e)); return true;
            case QEvent::KeyPress: {
                auto* k = static_cast<QKeyEvent*>(e);
                Word vk = VirtualKey(k->key());
                TShiftState shift = KeyShift(k->modifiers());
                if (k->key() == Qt::Key_Backtab) shift << ssShift;
                if (vk != 0 || !k->text().isEmpty()) m_control->WidgetKeyDown(vk, shift, k->text().toStdString());
                return true;
            }
            case QEvent::InputMethod: {
                // The composed text, typed as one key with no key code.
                const QString text = static_cast<QInputMethodEvent*>(e)->commitString();
                if (!text.isEmpty()) m_control->WidgetKeyDown(0, {}, text.toStdString());
                return true;
            }
            case QEvent::KeyRelease: {
                auto* k = static_cast<QKeyEvent*>(e);
                if (Word vk = VirtualKey(k->key())) m_control->WidgetKeyUp(vk, KeyShift(k->modifiers()));
                return true;
            }
            case QEvent::FocusIn: m_control->WidgetFocusIn(); return false;
            case QEvent::Resize:
                if (isWindow()) {
                    auto* r = static_cast<QResizeEvent*>(e);
                    m_control->WidgetResized(r->size().width(), r->size().height());
                }
                return false;
            case QEvent::Move:
                if (isWindow()) {
                    if (auto* f = dynamic_cast<TCustomForm*>(m_control)) f->WidgetMoved(geometry().x(), geometry().y());
                }
                return false;
            case QEvent::Close:
                if (auto* f = dynamic_cast<TCustomForm*>(m_control)) {
                    // The form decides; the toolkit never closes it behind our back.
                    f->WidgetCloseRequested();
                    e->ignore();
                    return true;
                }
                return false;
            case QEvent::WindowActivate:
            case QEvent::WindowDeactivate:
                if (auto* f = dynamic_cast<TCustomForm*>(m_control)) f->WidgetActivated(e->type() == QEvent::WindowActivate);
                return false;
            case QEvent::ToolTip: ShowHint(static_cast<QHelpEvent*>(e)); return true;
            case QEvent::Leave:
                if (IsWindowClient() && GetCaptureControl() == nullptr) {
                    TControl* hover = ::Mouse->GetHoverControl();
                    if (hover != nullptr && GetParentForm(hover) == m_control) UpdateMouseControl(nullptr);
                }
                return false;
            default: return false;
        }
    }

    void Paint(QPaintEvent* e) {
        int w = width(), h = height();
        if (w <= 0 || h <= 0) return;
        TBitmap back(w, h, pf32bit);
        TRect dirty = Bounds(e->rect().x(), e->rect().y(), e->rect().width(), e->rect().height());
        back.GetCanvas()->SelectClipRect(dirty);
        m_control->WidgetPaint(&back);
        QPainter p(this);
        p.drawImage(e->rect().topLeft(), BitmapToQImage(back, dirty));
    }

    // The hint of the control under the mouse (a graphic child's included): its short part,
    // before any '|'.
    void ShowHint(QHelpEvent* h) {
        TControl* c = m_control->ControlAtPos({h->pos().x(), h->pos().y()}, true);
        if (c == nullptr) c = m_control;
        String hint = c->GetHint().substr(0, c->GetHint().find('|'));
        if (c->GetShowHint() && !hint.empty()) QToolTip::showText(h->globalPos(), QString::fromStdString(hint), this);
        else QToolTip::hideText();
    }

    void Mouse(QMouseEvent* m) {
        UINT msg = WM_MOUSEMOVE;
        bool dbl = m->type() == QEvent::MouseButtonDblClick;
        bool down = m->type() == QEvent::MouseButtonPress || dbl;
        bool up = m->type() == QEvent::MouseButtonRelease;
        if (down || up) {
            switch (m->button()) {
                case Qt::LeftButton: msg = dbl ? WM_LBUTTONDBLCLK : down ? WM_LBUTTONDOWN : WM_LBUTTONUP; break;
                case Qt::RightButton: msg = dbl ? WM_RBUTTONDBLCLK : down ? WM_RBUTTONDOWN : WM_RBUTTONUP; break;
                case Qt::MiddleButton: msg = dbl ? WM_MBUTTONDBLCLK : down ? WM_MBUTTONDOWN : WM_MBUTTONUP; break;
                default: return;
            }
        }
        QPoint p = m->position().toPoint();
        m_control->WidgetMouse(msg, MouseKeys(m->buttons(), m->modifiers()), {p.x(), p.y()});
    }

    // The wheel turns the control under the pointer (a dropped list never has the focus), with
    // the pointer's screen position as the message gives it.
    void Wheel(QWheelEvent* w) {
        const int delta = w->angleDelta().y();
        if (delta == 0) return;
        QPoint at = w->globalPosition().toPoint();
        m_control->Perform(WM_MOUSEWHEEL, MAKEWPARAM(static_cast<int>(MouseKeys(w->buttons(), w->modifiers())), delta),
                           MAKELPARAM(at.x(), at.y()));
    }

    // The window's client: the window itself, or the client inside a painted frame.
    bool IsWindowClient() const;

    TWinControl* m_control;
};

// The whole window of a form whose frame the program paints: it shows the frame the form
// paints on WM_NCPAINT and holds the client's widget inside that frame. It speaks for the
// window (size, place, closing); everything else happens in the client.
class TQtFrameHost : public QWidget {
public:
    explicit TQtFrameHost(TCustomForm* form) : m_form(form) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_NoSystemBackground);
    }
    void Detach() { m_form = nullptr; }
    void SetFrame(const TRect& Frame) { m_frame = Frame; }

protected:
    bool event(QEvent* e) override {
        if (m_form == nullptr) {
            if (e->type() == QEvent::Close) e->ignore();
            return e->type() == QEvent::Paint || QWidget::event(e);
        }
        EventDepthGuard depth;
        bool handled = false;
        Application->Guard(m_form, [&] { handled = Handle(e); });
        return handled || QWidget::event(e);
    }

private:
    bool Handle(QEvent* e) {
        switch (e->type()) {
            case QEvent::Paint: Paint(static_cast<QPaintEvent*>(e)); return true;
            case QEvent::Resize:
                if (isWindow()) {
                    auto* r = static_cast<QResizeEvent*>(e);
                    m_form->WidgetResized(r->size().width() - m_frame.Left - m_frame.Right,
                                          r->size().height() - m_frame.Top - m_frame.Bottom);
                }
                return false;
            case QEvent::Move:
                if (isWindow()) m_form->WidgetMoved(geometry().x() + m_frame.Left, geometry().y() + m_frame.Top);
                return false;
            case QEvent::Close:
                m_form->WidgetCloseRequested();
                e->ignore();
                return true;
            default: return false;
        }
    }

    void Paint(QPaintEvent* e) {
        int w = width(), h = height();
        if (w <= 0 || h <= 0) return;
        TBitmap back(w, h, pf32bit);
        m_form->WidgetPaintFrame(&back);
        TRect dirty = Bounds(e->rect().x(), e->rect().y(), e->rect().width(), e->rect().height());
        QPainter p(this);
        p.drawImage(e->rect().topLeft(), BitmapToQImage(back, dirty));
    }

    TCustomForm* m_form;
    TRect m_frame{};
};

bool TQtWidget::IsWindowClient() const {
    return isWindow() || dynamic_cast<TQtFrameHost*>(parentWidget()) != nullptr;
}

// ---- TQtWidgetBridge ---------------------------------------------------------------------------

TQtWidgetBridge::TQtWidgetBridge(TWinControl* Control, bool TopLevel) : m_widget(new TQtWidget(Control)) {
    if (TopLevel) m_widget->setWindowFlag(Qt::Window, true);
}

TQtWidgetBridge::~TQtWidgetBridge() {
    if (m_widget.isNull()) return;
    m_widget->Detach();
    m_widget->hide();
    for (QObject* child : m_widget->children())
        if (auto* w = qobject_cast<QWidget*>(child)) w->setParent(nullptr);
    g_deferredDeletes.push_back(m_widget.data());
    if (!m_host.isNull()) {
        m_host->Detach();
        m_host->hide();
        g_deferredDeletes.push_back(m_host.data());
    }
    QtPlatform::QueueCall([] { QtPlatform::FlushDeferredDeletes(); });
}

QWidget* TQtWidgetBridge::Widget() const { return m_widget.data(); }

QWidget* TQtWidgetBridge::WindowWidget() const {
    if (!m_host.isNull()) return m_host.data();
    return m_widget.data();
}

void TQtWidgetBridge::SetParentWidget(TQtWidgetBridge* Parent) {
    QWidget* outer = WindowWidget();
    if (outer == nullptr) return;
    bool visible = outer->isVisibleTo(outer->parentWidget());
    outer->setParent(Parent != nullptr ? Parent->Widget() : nullptr);
    if (Parent == nullptr) outer->hide();
    else if (visible) outer->show();
}

void TQtWidgetBridge::SetGeometry(const TRect& R) {
    if (m_widget.isNull()) return;
    QRect r(R.Left, R.Top, std::max(R.Width(), 0), std::max(R.Height(), 0));
    if (!m_host.isNull()) {
        QRect outer = r.adjusted(-m_frame.Left, -m_frame.Top, m_frame.Right, m_frame.Bottom);
        if (m_host->geometry() != outer) m_host->setGeometry(outer);
        r.moveTo(m_frame.Left, m_frame.Top);
    }
    if (m_widget->geometry() != r) m_widget->setGeometry(r);
}

void TQtWidgetBridge::SetVisible(bool v) {
    QWidget* outer = WindowWidget();
    if (outer == nullptr || outer->isVisibleTo(outer->parentWidget()) == v) return;
    outer->setVisible(v);
}

void TQtWidgetBridge::SetPaintedFrame(const TRect& Frame) {
    if (m_widget.isNull()) return;
    const bool painted = Frame != TRect{};
    if (!painted) {
        if (!m_host.isNull()) UnhostFrame();
        m_frame = {};
        return;
    }
    if (m_host.isNull()) HostFrame(Frame);
    QRect client = m_widget->geometry();
    QRect outer = m_host->geometry();
    m_frame = Frame;
    m_host->SetFrame(Frame);
    // The window keeps its client where it was; the form sets the bounds it wants next.
    m_host->setGeometry(QRect(outer.x() + m_widget->x() - Frame.Left, outer.y() + m_widget->y() - Frame.Top,
                              client.width() + Frame.Left + Frame.Right, client.height() + Frame.Top + Frame.Bottom));
    m_widget->move(Frame.Left, Frame.Top);
    m_host->update();
}

bool TQtWidgetBridge::PaintsFrame() const { return !m_host.isNull(); }

void TQtWidgetBridge::UpdateFrame() {
    if (!m_host.isNull()) m_host->update();
}

void TQtWidgetBridge::HostFrame(const TRect& Frame) {
    auto* form = dynamic_cast<TCustomForm*>(m_widget->Control());
    if (form == nullptr) return;
    const bool window = m_widget->isWindow();
    const bool visible = m_widget->isVisibleTo(m_widget->parentWidget());
    const QRect client = m_widget->geometry();
    auto* host = new TQtFrameHost(form);
    host->SetFrame(Frame);
    if (window) {
        host->setWindowFlags(m_widget->windowFlags());
        host->setWindowTitle(m_widget->windowTitle());
        host->setWindowModality(m_widget->windowModality());
        host->setWindowOpacity(m_widget->windowOpacity());
        m_widget->clearMask();
    } else {
        host->setParent(m_widget->parentWidget());
    }
    host->setGeometry(client.adjusted(-Frame.Left, -Frame.Top, Frame.Right, Frame.Bottom));
    m_widget->setParent(host);
    m_widget->move(Frame.Left, Frame.Top);
    m_widget->show();
    m_host = host;
    m_frame = Frame;
    if (visible) host->show();
}

void TQtWidgetBridge::UnhostFrame() {
    TQtFrameHost* host = m_host.data();
    const bool window = host->isWindow();
    const bool visible = host->isVisibleTo(host->parentWidget());
    const QRect client = host->geometry().adjusted(m_frame.Left, m_frame.Top, -m_frame.Right, -m_frame.Bottom);
    if (window) {
        m_widget->setParent(nullptr, host->windowFlags());
        m_widget->setWindowTitle(host->windowTitle());
        m_widget->setWindowModality(host->windowModality());
        m_widget->setWindowOpacity(host->windowOpacity());
    } else {
        m_widget->setParent(host->parentWidget());
    }
    m_widget->setGeometry(client);
    m_host = nullptr;
    host->Detach();
    host->hide();
    g_deferredDeletes.push_back(host);
    QtPlatform::QueueCall([] { QtPlatform::FlushDeferredDeletes(); });
    if (visible) m_widget->show();
}

void TQtWidgetBridge::SetEnabled(bool v) {
    if (!m_widget.isNull()) m_widget->setEnabled(v);
}

void TQtWidgetBridge::SetTitle(const String& Title) {
    if (!m_widget.isNull()) m_widget->setWindowTitle(QString::fromStdString(Title));
    if (!m_host.isNull()) m_host->setWindowTitle(QString::fromStdString(Title));
}

void TQtWidgetBridge::SetFocus() {
    if (!m_widget.isNull()) m_widget->setFocus(Qt::OtherFocusReason);
}

bool TQtWidgetBridge::HasFocus() const { return !m_widget.isNull() && m_widget->hasFocus(); }

void TQtWidgetBridge::Update() {
    if (!m_widget.isNull()) m_widget->update();
}

void TQtWidgetBridge::UpdateRect(const TRect& R) {
    if (!m_widget.isNull()) m_widget->update(QRect(R.Left, R.Top, R.Width(), R.Height()));
}

void TQtWidgetBridge::Repaint() {
    if (!m_widget.isNull() && m_widget->isVisible()) m_widget->repaint();
}

void TQtWidgetBridge::Raise() {
    if (QWidget* outer = WindowWidget()) outer->raise();
}

void TQtWidgetBridge::Lower() {
    if (QWidget* outer = WindowWidget()) outer->lower();
}

bool TQtWidgetBridge::IsShown() const { return m_widget != nullptr && m_widget->isVisible(); }

void TQtWidgetBridge::SetCursorShape(TCursor Cursor) {
    if (m_widget.isNull()) return;
    if (Cursor == crDefault) m_widget->unsetCursor();
    else m_widget->setCursor(CursorShape(Cursor));
}

void TQtWidgetBridge::SetWindowStyle(bool Frameless, bool Dialog, bool Tool, bool StayOnTop) {
    QWidget* outer = WindowWidget();
    if (outer == nullptr || !outer->isWindow()) return;
    Qt::WindowFlags f = Tool ? Qt::Tool : Dialog ? Qt::Dialog : Qt::Window;
    if (Frameless) f |= Qt::FramelessWindowHint;
    if (StayOnTop) f |= Qt::WindowStaysOnTopHint;
    if (outer->windowFlags() == f) return;
    bool visible = outer->isVisible();
    // New flags make a new window, which would take its place with the frame included.
    const QRect client = outer->geometry();
    outer->setWindowFlags(f);
    outer->setGeometry(client);
    if (visible) outer->show();
}

void TQtWidgetBridge::SetPopupStyle() {
    QWidget* outer = WindowWidget();
    if (outer == nullptr || !outer->isWindow()) return;
    const Qt::WindowFlags f = Qt::Popup | Qt::FramelessWindowHint;
    outer->setAttribute(Qt::WA_NoMouseReplay);
    if (outer->windowFlags() == f) return;
    const bool visible = outer->isVisible();
    const QRect client = outer->geometry();
    outer->setWindowFlags(f);
    outer->setGeometry(client);
    if (visible) outer->show();
}

void TQtWidgetBridge::SetOpacity(double Opacity) {
    if (QWidget* outer = WindowWidget()) outer->setWindowOpacity(Opacity);
}

void TQtWidgetBridge::SetModal(bool Modal) {
    QWidget* outer = WindowWidget();
    if (outer == nullptr) return;
    bool visible = outer->isVisible();
    if (visible) outer->hide();
    outer->setWindowModality(Modal ? Qt::ApplicationModal : Qt::NonModal);
    if (visible) outer->show();
}

void TQtWidgetBridge::SetMaskRegion(HRGN Region) {
    QWidget* outer = WindowWidget();
    if (outer == nullptr) return;
    if (Region == nullptr || !IsRegion(Region)) outer->clearMask();
    else if (RegionOf(Region).isEmpty()) outer->setMask(EmptyWindowMask());
    else outer->setMask(RegionOf(Region));
}

void TQtWidgetBridge::Activate() {
    QWidget* outer = WindowWidget();
    if (outer == nullptr || !outer->isWindow()) return;
    outer->raise();
    outer->activateWindow();
}

bool TQtWidgetBridge::IsActiveWindow() const { return !m_widget.isNull() && m_widget->isActiveWindow(); }

void TQtWidgetBridge::ShowMinimized() {
    if (QWidget* outer = WindowWidget()) outer->showMinimized();
}

void TQtWidgetBridge::ShowNormal() {
    QWidget* outer = WindowWidget();
    if (outer != nullptr && outer->isMinimized()) outer->showNormal();
}

// ---- QtPlatform --------------------------------------------------------------------------------

namespace QtPlatform {

void ProcessEvents(bool Wait) {
    if (QCoreApplication::instance() == nullptr) return;
    QCoreApplication::processEvents(Wait ? QEventLoop::WaitForMoreEvents : QEventLoop::AllEvents);
    if (!Wait) QCoreApplication::sendPostedEvents();
}

void Wake() {
    if (QCoreApplication::instance() != nullptr)
        QMetaObject::invokeMethod(QCoreApplication::instance(), [] {}, Qt::QueuedConnection);
}

void QueueCall(std::function<void()> Fn) {
    if (QCoreApplication::instance() == nullptr) return;
    QMetaObject::invokeMethod(QCoreApplication::instance(), [Fn = std::move(Fn)] { Fn(); }, Qt::QueuedConnection);
}

void FlushDeferredDeletes() {
    if (g_eventDepth > 0) return;
    auto pending = std::move(g_deferredDeletes);
    g_deferredDeletes.clear();
    for (auto& w : pending) delete w.data();
}

bool InWidgetEvent() { return g_eventDepth > 0; }

TRect PrimaryScreenRect() {
    QScreen* s = QGuiApplication::primaryScreen();
    if (s == nullptr) return Rect(0, 0, 1024, 768);
    QRect r = s->geometry();
    return Bounds(r.x(), r.y(), r.width(), r.height());
}

TRect PrimaryWorkArea() {
    QScreen* s = QGuiApplication::primaryScreen();
    if (s == nullptr) return Rect(0, 0, 1024, 768);
    QRect r = s->availableGeometry();
    return Bounds(r.x(), r.y(), r.width(), r.height());
}

std::vector<TMonitorAreas> Monitors() {
    std::vector<TMonitorAreas> out;
    for (QScreen* s : QGuiApplication::screens()) {
        const QRect g = s->geometry(), w = s->availableGeometry();
        out.push_back({Bounds(g.x(), g.y(), g.width(), g.height()), Bounds(w.x(), w.y(), w.width(), w.height())});
    }
    return out;
}

TPoint CursorPos() {
    QPoint p = QCursor::pos();
    return {p.x(), p.y()};
}

void SetCursorPos(TPoint p) { QCursor::setPos(p.x, p.y); }

void SetOverrideCursor(TCursor Cursor) {
    if (QGuiApplication::instance() == nullptr) return;
    while (QGuiApplication::overrideCursor() != nullptr) QGuiApplication::restoreOverrideCursor();
    if (Cursor != crDefault) QGuiApplication::setOverrideCursor(QCursor(CursorShape(Cursor)));
}

}  // namespace QtPlatform

// ---- TMouse ------------------------------------------------------------------------------------

TPoint TMouse::GetCursorPos() const { return m_hasTracked ? m_tracked : QtPlatform::CursorPos(); }

void TMouse::SetCursorPos(TPoint p) {
    SetTrackedPos(p);
    QtPlatform::SetCursorPos(p);
    UpdateMouseControl(FindControlAtScreen(p));
}
