#include "platform/vcl/QtSyntheticInput.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>

#include "platform/vcl/QtControls.h"
#include "platform/vcl/QtGraphics.h"

namespace {

Qt::MouseButton QtButton(TMouseButton b) {
    switch (b) {
        case mbRight: return Qt::RightButton;
        case mbMiddle: return Qt::MiddleButton;
        default: return Qt::LeftButton;
    }
}

Qt::KeyboardModifiers QtModifiers(TShiftState s) {
    Qt::KeyboardModifiers m;
    if (s.Contains(ssShift)) m |= Qt::ShiftModifier;
    if (s.Contains(ssCtrl)) m |= Qt::ControlModifier;
    if (s.Contains(ssAlt)) m |= Qt::AltModifier;
    return m;
}

int QtKey(Word vk) {
    if (vk >= 'A' && vk <= 'Z') return Qt::Key_A + (vk - 'A');
    if (vk >= '0' && vk <= '9') return Qt::Key_0 + (vk - '0');
    if (vk >= VK_F1 && vk <= VK_F1 + 23) return Qt::Key_F1 + (vk - VK_F1);
    switch (vk) {
        case VK_BACK: return Qt::Key_Backspace;
        case VK_TAB: return Qt::Key_Tab;
        case VK_RETURN: return Qt::Key_Return;
        case VK_SHIFT: return Qt::Key_Shift;
        case VK_CONTROL: return Qt::Key_Control;
        case VK_MENU: return Qt::Key_Alt;
        case VK_ESCAPE: return Qt::Key_Escape;
        case VK_SPACE: return Qt::Key_Space;
        case VK_PRIOR: return Qt::Key_PageUp;
        case VK_NEXT: return Qt::Key_PageDown;
        case VK_END: return Qt::Key_End;
        case VK_HOME: return Qt::Key_Home;
        case VK_LEFT: return Qt::Key_Left;
        case VK_UP: return Qt::Key_Up;
        case VK_RIGHT: return Qt::Key_Right;
        case VK_DOWN: return Qt::Key_Down;
        case VK_INSERT: return Qt::Key_Insert;
        case VK_DELETE: return Qt::Key_Delete;
        default: return Qt::Key_unknown;
    }
}

}  // namespace

void QtSendSyntheticMouse(TQtWidgetBridge* Bridge, TSyntheticMouse Kind, TPoint ClientPos, TPoint ScreenPos,
                          TMouseButton Button, TShiftState Held) {
    QWidget* w = Bridge->Widget();
    if (w == nullptr) return;
    QEvent::Type type = QEvent::MouseMove;
    switch (Kind) {
        case TSyntheticMouse::Press: type = QEvent::MouseButtonPress; break;
        case TSyntheticMouse::Release: type = QEvent::MouseButtonRelease; break;
        case TSyntheticMouse::DoubleClick: type = QEvent::MouseButtonDblClick; break;
        case TSyntheticMouse::Move: type = QEvent::MouseMove; break;
    }
    Qt::MouseButtons buttons;
    if (Held.Contains(ssLeft)) buttons |= Qt::LeftButton;
    if (Held.Contains(ssRight)) buttons |= Qt::RightButton;
    if (Held.Contains(ssMiddle)) buttons |= Qt::MiddleButton;
    QPointF local(ClientPos.x, ClientPos.y);
    QPointF global(ScreenPos.x, ScreenPos.y);
    Qt::MouseButton button = Kind == TSyntheticMouse::Move ? Qt::NoButton : QtButton(Button);
    QMouseEvent e(type, local, global, button, buttons, QtModifiers(Held));
    QApplication::sendEvent(w, &e);
}

void QtSendSyntheticKey(TQtWidgetBridge* Bridge, Word Key, TShiftState Shift, const String& Text, bool Release) {
    QWidget* w = Bridge->Widget();
    if (w == nullptr) return;
    QKeyEvent press(QEvent::KeyPress, QtKey(Key), QtModifiers(Shift), QString::fromStdString(Text));
    QApplication::sendEvent(w, &press);
    if (!Release) return;
    QKeyEvent release(QEvent::KeyRelease, QtKey(Key), QtModifiers(Shift), QString::fromStdString(Text));
    QApplication::sendEvent(w, &release);
}

void QtSendSyntheticComposedText(TQtWidgetBridge* Bridge, const String& Text) {
    QWidget* w = Bridge->Widget();
    if (w == nullptr) return;
    // The input method hands its text to the widget that has the keyboard: an edit's own.
    QWidget* target = w->focusProxy() != nullptr ? w->focusProxy() : w;
    QInputMethodEvent composed;
    composed.setCommitString(QString::fromStdString(Text));
    QApplication::sendEvent(target, &composed);
}

bool QtGrabScreen(const TRect& Area, TBitmap& Out) {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr || Area.IsEmpty()) return false;
    QPixmap shot = screen->grabWindow(0, Area.Left, Area.Top, Area.Width(), Area.Height());
    if (shot.isNull()) return false;
    Out.SetPixelFormat(pf24bit);
    Out.SetSize(Area.Width(), Area.Height());
    QImageToBitmap(shot.toImage(), Out);
    return true;
}
