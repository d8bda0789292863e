// The toolkit side of the message queues: which thread runs the toolkit's loop, and draining
// the user-interface thread's queue from inside that loop.
#include "platform/win32/Win32Internal.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

void* Win32Qt_CurrentThread() { return QThread::currentThread(); }

bool Win32Qt_IsUiThread(void* QtThread) {
    auto* app = QCoreApplication::instance();
    return app && app->thread() == static_cast<QThread*>(QtThread);
}

bool Win32Qt_OnUiThread() { return Win32Qt_IsUiThread(QThread::currentThread()); }

void Win32Qt_ScheduleUiDrain() {
    auto* app = QCoreApplication::instance();
    if (!app) return;
    QMetaObject::invokeMethod(app, [] { Win32_DispatchPostedMessages(); }, Qt::QueuedConnection);
}

void Win32Qt_ProcessEvents() { QCoreApplication::processEvents(); }
