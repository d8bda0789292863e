// The widget side of windowed controls: one QWidget per TWinControl, translating the toolkit's
// events into the control's messages. All behaviour stays in the class library.
#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/vcl/Controls.h"

class TQtWidget;
class TQtFrameHost;

class TQtWidgetBridge {
public:
    TQtWidgetBridge(TWinControl* Control, bool TopLevel);
    // Detaches the widget from the control and lets the toolkit delete it once it is idle, so
    // a control freed from inside one of its own events leaves no dangling widget behind.
    ~TQtWidgetBridge();

    // The client area's widget.
    QWidget* Widget() const;
    // The widget that stands for the whole window: the frame host while the program paints the
    // frame, else the client's widget.
    QWidget* WindowWidget() const;
    void SetParentWidget(TQtWidgetBridge* Parent);
    // The client area: top-level in screen coordinates, child in the parent's client. A painted
    // frame lies around it.
    void SetGeometry(const TRect& R);
    void SetVisible(bool v);
    void SetEnabled(bool v);
    void SetTitle(const String& Title);
    void SetFocus();
    bool HasFocus() const;
    void Update();
    void UpdateRect(const TRect& R);
    void Repaint();
    void Raise();
    void Lower();
    void SetCursorShape(TCursor Cursor);
    // The widget is on the screen (a form being shown is not yet while its OnShow runs).
    bool IsShown() const;

    // A frame of these widths that the program paints (WM_NCPAINT) around the client; all zero
    // when the window system draws the frame or there is none. Top-level windows and MDI
    // children (which no window system frames) alike.
    void SetPaintedFrame(const TRect& Frame);
    bool PaintsFrame() const;
    // The painted frame's pixels changed: it is shown anew.
    void UpdateFrame();

    // Top-level windows only.
    void SetWindowStyle(bool Frameless, bool Dialog, bool Tool, bool StayOnTop);
    // A frameless popup: above modal windows too, with the pointer and keyboard grabbed while it
    // shows; the press outside that closes it goes no further.
    void SetPopupStyle();
    void SetOpacity(double Opacity);
    void SetModal(bool Modal);
    void SetMaskRegion(HRGN Region);  // in the window widget's coordinates; nullptr clears
    void Activate();
    bool IsActiveWindow() const;
    void ShowMinimized();
    void ShowNormal();

private:
    void HostFrame(const TRect& Frame);
    void UnhostFrame();

    QPointer<TQtWidget> m_widget;
    QPointer<TQtFrameHost> m_host;  // only while the program paints the frame
    TRect m_frame{};
};

// Toolkit services the class library needs beyond single widgets.
namespace QtPlatform {
// Runs the toolkit's loop once: delivers what is pending, waiting first when Wait is set.
void ProcessEvents(bool Wait);
// Wakes a loop that waits in ProcessEvents(true).
void Wake();
// Calls Fn from the loop once the current event has returned.
void QueueCall(std::function<void()> Fn);
// Deletes widgets whose controls went away, when no widget event is running.
void FlushDeferredDeletes();
// True while one of our widgets is handling an event.
bool InWidgetEvent();
TRect PrimaryScreenRect();
TRect PrimaryWorkArea();
// Each screen's bounds and work area, in the toolkit's order.
struct TMonitorAreas {
    TRect Bounds;
    TRect WorkArea;
};
std::vector<TMonitorAreas> Monitors();
TPoint CursorPos();
void SetCursorPos(TPoint p);
void SetOverrideCursor(TCursor Cursor);
}  // namespace QtPlatform
