// The toolkit side of the edits: a frameless QLineEdit inside the edit's window. It shows what
// the edit holds; keys and mouse go to the edit's window first, so the class library sees them
// in its own order, and only the mouse's selection comes back.
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QSignalBlocker>

#include "platform/vcl/QtControls.h"
#include "platform/vcl/QtGraphics.h"
#include "platform/vcl/StdCtrls.h"

namespace {

// Byte offset of a UTF-8 text <-> index of the same position in its QString.
int ToQtIndex(const String& Text, int Pos) {
    Pos = std::clamp(Pos, 0, static_cast<int>(Text.size()));
    return static_cast<int>(QString::fromUtf8(Text.data(), Pos).size());
}

int FromQtIndex(const QString& Text, int Index) {
    Index = std::clamp(Index, 0, static_cast<int>(Text.size()));
    return static_cast<int>(Text.left(Index).toUtf8().size());
}

Qt::Alignment QtAlignment(TAlignment a) {
    Qt::Alignment h = a == taRightJustify ? Qt::AlignRight : a == taCenter ? Qt::AlignHCenter : Qt::AlignLeft;
    return h | Qt::AlignVCenter;
}

// Hands the line edit's input to the edit's window (keys eaten, mouse shared) and reports the
// mouse's selection.
class TLineEditFilter : public QObject {
public:
    TLineEditFilter(QWidget* Window, QLineEdit* Edit) : QObject(Edit), m_window(Window), m_edit(Edit) {}

protected:
    bool eventFilter(QObject* Watched, QEvent* e) override {
        if (Watched != m_edit || m_window.isNull()) return false;
        switch (e->type()) {
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
                QApplication::sendEvent(m_window, e);
                return true;
            case QEvent::ShortcutOverride:
                // The edit's window decides what a key does, menus' shortcuts included.
                return false;
            case QEvent::FocusIn:
                QApplication::sendEvent(m_window, e);
                return false;
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::MouseMove: {
                auto* m = static_cast<QMouseEvent*>(e);
                QPointF at = m->position() + QPointF(m_edit->pos());
                QMouseEvent copy(m->type(), at, m->globalPosition(), m->button(), m->buttons(), m->modifiers());
                QPointer<QLineEdit> alive(m_edit);
                QApplication::sendEvent(m_window, &copy);
                if (alive.isNull()) return true;
                // No middle-button paste: every change of text goes through the edit.
                return m->button() == Qt::MiddleButton || (m->buttons() & Qt::MiddleButton);
            }
            case QEvent::ContextMenu:
            case QEvent::Wheel:
                return true;
            default:
                return false;
        }
    }

private:
    QPointer<QWidget> m_window;
    QLineEdit* m_edit;
};

class TQtEditView : public TEditView {
public:
    TQtEditView(TWinControl* Control, std::function<void(int, int)> SelectionChanged)
        : m_selectionChanged(std::move(SelectionChanged)) {
        QWidget* window = Control->Bridge()->Widget();
        m_edit = new QLineEdit(window);
        m_edit->setFrame(false);
        m_edit->setAutoFillBackground(true);
        m_edit->setContextMenuPolicy(Qt::NoContextMenu);
        m_edit->setAcceptDrops(false);
        m_edit->setDragEnabled(false);
        m_edit->installEventFilter(new TLineEditFilter(window, m_edit));
        window->setFocusProxy(m_edit);
        QObject::connect(m_edit, &QLineEdit::selectionChanged, m_edit, [this] { Report(); });
        QObject::connect(m_edit, &QLineEdit::cursorPositionChanged, m_edit, [this] { Report(); });
        m_edit->show();
    }

    ~TQtEditView() override {
        if (m_edit.isNull()) return;
        if (QWidget* window = m_edit->parentWidget()) window->setFocusProxy(nullptr);
        delete m_edit.data();
    }

    void SetBounds(const TRect& R) override {
        if (m_edit) m_edit->setGeometry(R.Left, R.Top, std::max(R.Width(), 0), std::max(R.Height(), 0));
    }

    void SetText(const String& Text) override {
        m_text = Text;
        if (m_edit.isNull()) return;
        QSignalBlocker block(m_edit);
        m_edit->setText(QString::fromStdString(Text));
    }

    void SetSelection(int Anchor, int Caret) override {
        if (m_edit.isNull()) return;
        QSignalBlocker block(m_edit);
        int a = ToQtIndex(m_text, Anchor), c = ToQtIndex(m_text, Caret);
        if (a == c) {
            m_edit->deselect();
            m_edit->setCursorPosition(c);
        } else {
            m_edit->setSelection(a, c - a);
        }
    }

    void SetAlignment(TAlignment Alignment) override {
        if (m_edit) m_edit->setAlignment(QtAlignment(Alignment));
    }

    void SetLook(const TFont& Font, TColor Background) override {
        if (m_edit.isNull()) return;
        m_edit->setFont(FontToQFont(Font));
        QPalette p = m_edit->palette();
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            p.setColor(group, QPalette::Base, ColorToQColor(Background));
            p.setColor(group, QPalette::Window, ColorToQColor(Background));
            if (group != QPalette::Disabled) p.setColor(group, QPalette::Text, ColorToQColor(Font.GetColor()));
        }
        m_edit->setPalette(p);
    }

    void SetPasswordChar(char PasswordChar) override {
        if (m_edit) m_edit->setEchoMode(PasswordChar != 0 ? QLineEdit::Password : QLineEdit::Normal);
    }

    void SetMargins(const TRect& Margins) override {
        if (m_edit) m_edit->setTextMargins(Margins.Left, Margins.Top, Margins.Right, Margins.Bottom);
    }

    void RenderTo(TCanvas* Canvas, int X, int Y) override {
        if (m_edit.isNull() || m_edit->width() <= 0 || m_edit->height() <= 0) return;
        QImage image(m_edit->size(), QImage::Format_RGB32);
        image.fill(m_edit->palette().color(QPalette::Base));
        m_edit->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        TBitmap shot;
        QImageToBitmap(image, shot);
        Canvas->Draw(X, Y, &shot);
    }

private:
    void Report() {
        if (m_edit.isNull() || !m_selectionChanged) return;
        QString text = m_edit->text();
        int caret = m_edit->cursorPosition();
        int anchor = caret;
        if (m_edit->hasSelectedText()) {
            int start = m_edit->selectionStart();
            int end = start + static_cast<int>(m_edit->selectedText().size());
            anchor = caret == start ? end : start;
        }
        m_selectionChanged(FromQtIndex(text, anchor), FromQtIndex(text, caret));
    }

    QPointer<QLineEdit> m_edit;
    String m_text;
    std::function<void(int, int)> m_selectionChanged;
};

}  // namespace

std::unique_ptr<TEditView> CreateEditView(TWinControl* Control, std::function<void(int Anchor, int Caret)> SelectionChanged) {
    return std::make_unique<TQtEditView>(Control, std::move(SelectionChanged));
}
