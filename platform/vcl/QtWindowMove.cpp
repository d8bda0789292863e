#include "platform/vcl/QtWindowMove.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

#include "platform/vcl/Forms.h"
#include "platform/vcl/QtControls.h"

namespace {

// Our own drag: the form follows the pointer until any mouse button is released. It swallows
// the moves and the release, as a system move would.
class TPointerDrag : public QObject {
public:
    TPointerDrag(TCustomForm* Form, QWidget* Widget)
        : m_form(Form), m_widget(Widget), m_startCursor(StartPoint()), m_startLeft(Form->GetLeft()),
          m_startTop(Form->GetTop()) {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (m_widget.isNull()) return Finish(false);
        switch (e->type()) {
            case QEvent::MouseMove: {
                QPoint p = static_cast<QMouseEvent*>(e)->globalPosition().toPoint();
                m_form->SetBounds(m_startLeft + p.x() - m_startCursor.x(), m_startTop + p.y() - m_startCursor.y(),
                                  m_form->GetWidth(), m_form->GetHeight());
                return true;
            }
            case QEvent::MouseButtonRelease: return Finish(true);
            default: return false;
        }
    }

private:
    // Where the press was: the last pointer position our windows saw.
    static QPoint StartPoint() {
        TPoint p = Mouse->GetCursorPos();
        return QPoint(p.x, p.y);
    }
    bool Finish(bool Swallow) {
        qApp->removeEventFilter(this);
        deleteLater();
        return Swallow;
    }

    TCustomForm* m_form;
    QPointer<QWidget> m_widget;  // the form is gone once its widget is
    QPoint m_startCursor;
    int m_startLeft;
    int m_startTop;
};

class TToolkitWindowMove : public TWindowMoveService {
public:
    void StartMove(TCustomForm* Form) override {
        if (Form == nullptr || !Form->HasBridge()) return;
        QWidget* w = Form->Bridge()->WindowWidget();
        if (w == nullptr) return;
        QWindow* window = w->windowHandle();
        if (window != nullptr && window->startSystemMove()) return;
        new TPointerDrag(Form, w);
    }
};

}  // namespace

TWindowMoveService* ToolkitWindowMoveService() {
    static TToolkitWindowMove toolkit;
    return &toolkit;
}
