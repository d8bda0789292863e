// The toolkit side of the edits: a frameless QLineEdit (a QPlainTextEdit for a memo) inside the
// edit's window. It shows what the edit holds; keys and mouse go to the edit's window first, so
// the class library sees them in its own order, and only the mouse's selection comes back.
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStringDecoder>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QWheelEvent>

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

// Lets go of a view's widget: no more signals, no focus through it, and deleted once the
// toolkit is idle, since the edit may be freed from inside one of that widget's own events.
void RetireWidget(QWidget* Widget) {
    if (Widget == nullptr) return;
    if (QWidget* window = Widget->parentWidget(); window != nullptr && window->focusProxy() == Widget)
        window->setFocusProxy(nullptr);
    Widget->disconnect();
    Widget->hide();
    Widget->deleteLater();
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
            case QEvent::InputMethod:   // composed letters change the text through the control too
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
        m_edit->lower();  // child windows of the edit (spin buttons) lie over the text
        QObject::connect(m_edit, &QLineEdit::selectionChanged, m_edit, [this] { Report(); });
        QObject::connect(m_edit, &QLineEdit::cursorPositionChanged, m_edit, [this] { Report(); });
        m_edit->show();
    }

    ~TQtEditView() override {
        RetireWidget(m_edit.data());
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

// ---- memo --------------------------------------------------------------------------------------


namespace {

int QtKeyOf(Word vk) {
    switch (vk) {
        case VK_LEFT: return Qt::Key_Left;
        case VK_RIGHT: return Qt::Key_Right;
        case VK_UP: return Qt::Key_Up;
        case VK_DOWN: return Qt::Key_Down;
        case VK_HOME: return Qt::Key_Home;
        case VK_END: return Qt::Key_End;
        case VK_PRIOR: return Qt::Key_PageUp;
        case VK_NEXT: return Qt::Key_PageDown;
        case VK_DELETE: return Qt::Key_Delete;
        default: return 0;
    }
}

Qt::KeyboardModifiers QtMods(TShiftState s) {
    Qt::KeyboardModifiers m;
    if (s.Contains(ssShift)) m |= Qt::ShiftModifier;
    if (s.Contains(ssCtrl)) m |= Qt::ControlModifier;
    if (s.Contains(ssAlt)) m |= Qt::AltModifier;
    return m;
}

// The plain-text edit of a memo: keys reach it only from the memo (EditKey, EditChar).
class TMemoTextEdit : public QPlainTextEdit {
public:
    using QPlainTextEdit::QPlainTextEdit;
    // Being destroyed: the filter goes before the base classes free the viewport, whose events
    // it would otherwise read from a half-destroyed edit.
    ~TMemoTextEdit() override { delete m_filter.data(); }
    // Hands the edit's and its viewport's events to Filter, which dies with the edit.
    void Watch(QObject* Filter) {
        m_filter = Filter;
        installEventFilter(Filter);
        viewport()->installEventFilter(Filter);
    }
    void Feed(QKeyEvent* e) { keyPressEvent(e); }
    void FeedWheel(QWheelEvent* e) { wheelEvent(e); }

private:
    QPointer<QObject> m_filter;
};

class TMemoFilter : public QObject {
public:
    TMemoFilter(TWinControl* Control, QWidget* Window, TMemoTextEdit* Edit)
        : QObject(Edit), m_control(Control), m_window(Window), m_edit(Edit) {}
    // The memo is going: its events stop here.
    void Detach() {
        m_control = nullptr;
        m_window = nullptr;
    }

protected:
    bool eventFilter(QObject* Watched, QEvent* e) override {
        if (m_window.isNull() || m_control == nullptr) return false;
        bool onViewport = Watched == m_edit->viewport();
        switch (e->type()) {
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
            case QEvent::InputMethod:
                if (Watched != m_edit) return false;
                QApplication::sendEvent(m_window, e);
                return true;
            case QEvent::FocusIn:
                if (Watched == m_edit) QApplication::sendEvent(m_window, e);
                return false;
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::MouseMove: {
                if (!onViewport) return false;
                auto* m = static_cast<QMouseEvent*>(e);
                QPointF at = m->position() + QPointF(m_edit->viewport()->mapTo(m_window, QPoint(0, 0)));
                QMouseEvent copy(m->type(), at, m->globalPosition(), m->button(), m->buttons(), m->modifiers());
                QPointer<TMemoTextEdit> alive(m_edit);
                QApplication::sendEvent(m_window, &copy);
                if (alive.isNull()) return true;
                return m->button() == Qt::MiddleButton || (m->buttons() & Qt::MiddleButton);
            }
            case QEvent::Wheel: {
                if (!onViewport) return false;
                // The memo scrolls, then hears of it (its external bars follow).
                auto* w = static_cast<QWheelEvent*>(e);
                m_edit->FeedWheel(w);
                QPoint at = w->position().toPoint() + m_edit->viewport()->mapTo(m_window, QPoint(0, 0));
                TWinControl* control = m_control;
                Application->Guard(control, [&] {
                    control->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, w->angleDelta().y()), MAKELPARAM(at.x(), at.y()));
                });
                return true;
            }
            case QEvent::ContextMenu:
            case QEvent::Drop:
            case QEvent::DragEnter:
                return onViewport || Watched == m_edit;
            default:
                return false;
        }
    }

private:
    TWinControl* m_control;
    QPointer<QWidget> m_window;
    TMemoTextEdit* m_edit;
};

class TQtMemoView : public TMemoView {
public:
    TQtMemoView(TWinControl* Control, std::function<void()> TextChanged) : m_textChanged(std::move(TextChanged)) {
        QWidget* window = Control->Bridge()->Widget();
        m_edit = new TMemoTextEdit(window);
        m_edit->setFrameShape(QFrame::NoFrame);
        m_edit->setContextMenuPolicy(Qt::NoContextMenu);
        m_edit->setAcceptDrops(false);
        m_edit->setTabChangesFocus(true);
        m_filter = new TMemoFilter(Control, window, m_edit);
        m_edit->Watch(m_filter);
        window->setFocusProxy(m_edit);
        m_edit->lower();
        QObject::connect(m_edit, &QPlainTextEdit::textChanged, m_edit, [this] {
            if (!m_setting && m_textChanged) m_textChanged();
        });
        m_edit->show();
    }

    ~TQtMemoView() override {
        if (m_filter != nullptr) m_filter->Detach();
        RetireWidget(m_edit.data());
    }

    void SetBounds(const TRect& R) override {
        if (m_edit) m_edit->setGeometry(R.Left, R.Top, std::max(R.Width(), 0), std::max(R.Height(), 0));
    }

    void SetText(const String& Text) override {
        if (m_edit.isNull()) return;
        Setting guard(this);
        m_edit->setPlainText(QString::fromStdString(Text));
    }

    void AppendLine(const String& Line) override {
        if (m_edit.isNull()) return;
        Setting guard(this);
        QTextCursor c(m_edit->document());
        c.movePosition(QTextCursor::End);
        c.insertText(QStringLiteral("\n") + QString::fromStdString(Line));
    }

    String Text() const override { return m_edit ? m_edit->toPlainText().toStdString() : String(); }

    void SetLook(const TFont& Font, TColor Background) override {
        if (m_edit.isNull()) return;
        m_edit->setFont(FontToQFont(Font));
        QPalette p = m_edit->palette();
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            p.setColor(group, QPalette::Base, ColorToQColor(Background));
            if (group != QPalette::Disabled) p.setColor(group, QPalette::Text, ColorToQColor(Font.GetColor()));
        }
        m_edit->setPalette(p);
    }

    void SetScrollBars(TScrollStyle Bars) override {
        if (m_edit.isNull()) return;
        // As the system's memo: a bar asked for is always there (disabled when nothing scrolls).
        bool h = Bars == ssHorizontal || Bars == ssBoth, v = Bars == ssVertical || Bars == ssBoth;
        m_edit->setHorizontalScrollBarPolicy(h ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        m_edit->setVerticalScrollBarPolicy(v ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    }

    void SetWordWrap(bool Wrap) override {
        if (m_edit) m_edit->setLineWrapMode(Wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    }

    void SetReadOnly(bool ReadOnly) override {
        if (m_edit) m_edit->setReadOnly(ReadOnly);
    }

    void SetAlignment(TAlignment Alignment) override {
        if (m_edit.isNull()) return;
        QTextOption o = m_edit->document()->defaultTextOption();
        o.setAlignment(Alignment == taRightJustify ? Qt::AlignRight : Alignment == taCenter ? Qt::AlignHCenter : Qt::AlignLeft);
        m_edit->document()->setDefaultTextOption(o);
    }

    void EditKey(Word Key, TShiftState Shift) override {
        int k = QtKeyOf(Key);
        if (m_edit.isNull() || k == 0) return;
        QKeyEvent e(QEvent::KeyPress, k, QtMods(Shift));
        m_edit->Feed(&e);
    }

    void EditChar(char Key) override {
        if (m_edit.isNull()) return;
        int k = Key == '\r' ? Qt::Key_Return : Key == '\b' ? Qt::Key_Backspace : Key == '\t' ? Qt::Key_Tab : Qt::Key_unknown;
        QString text;
        if (k == Qt::Key_unknown) {
            // A letter beyond ASCII comes a byte at a time; the decoder holds it until it is whole.
            text = m_decoder.decode(QByteArrayView(&Key, 1));
            if (text.isEmpty()) return;
        }
        QKeyEvent e(QEvent::KeyPress, k, Qt::NoModifier, text);
        m_edit->Feed(&e);
    }

    void Cut() override { if (m_edit) m_edit->cut(); }
    void Copy() override { if (m_edit) m_edit->copy(); }
    void Paste() override { if (m_edit) m_edit->paste(); }
    void ClearSelection() override { if (m_edit) m_edit->textCursor().removeSelectedText(); }
    void Undo() override { if (m_edit) m_edit->undo(); }
    void SelectAll() override { if (m_edit) m_edit->selectAll(); }

    void ShowEnd() override {
        if (m_edit.isNull()) return;
        QTextCursor c = m_edit->textCursor();
        c.movePosition(QTextCursor::End);
        m_edit->setTextCursor(c);
        m_edit->ensureCursorVisible();
        if (QScrollBar* v = m_edit->verticalScrollBar()) v->setValue(v->maximum());
    }

    int SelStart() const override { return m_edit ? m_edit->textCursor().selectionStart() : 0; }
    int SelLength() const override {
        if (m_edit.isNull()) return 0;
        QTextCursor c = m_edit->textCursor();
        return c.selectionEnd() - c.selectionStart();
    }
    void SetSelection(int Start, int Length) override {
        if (m_edit.isNull()) return;
        QTextCursor c = m_edit->textCursor();
        int n = m_edit->document()->characterCount() - 1;
        c.setPosition(std::clamp(Start, 0, n));
        c.setPosition(std::clamp(Start + Length, 0, n), QTextCursor::KeepAnchor);
        m_edit->setTextCursor(c);
    }

    bool GetScrollInfo(int Bar, SCROLLINFO& Info) const override {
        QScrollBar* b = BarOf(Bar);
        if (b == nullptr || !Shown(Bar)) return false;
        Info.nMin = b->minimum();
        Info.nPage = static_cast<UINT>(std::max(b->pageStep(), 0));
        Info.nMax = b->maximum() + b->pageStep() - 1;
        Info.nPos = b->value();
        Info.nTrackPos = b->sliderPosition();
        return true;
    }

    bool GetScrollBarState(int Bar, TWinControl::TScrollBarState& State) const override {
        QScrollBar* b = BarOf(Bar);
        if (b == nullptr || !Shown(Bar)) return false;
        QPoint at = b->mapTo(m_edit.data(), QPoint(0, 0));
        State.Visible = true;
        State.Enabled = b->isEnabled() && b->maximum() > b->minimum();
        State.BarRect = Bounds(at.x(), at.y(), b->width(), b->height());
        QStyleOptionSlider opt;
        opt.initFrom(b);
        opt.orientation = b->orientation();
        opt.minimum = b->minimum();
        opt.maximum = b->maximum();
        opt.sliderPosition = b->sliderPosition();
        opt.sliderValue = b->value();
        opt.singleStep = b->singleStep();
        opt.pageStep = b->pageStep();
        opt.upsideDown = b->invertedAppearance();
        opt.rect = b->rect();
        QRect thumb = b->style()->subControlRect(QStyle::CC_ScrollBar, &opt, QStyle::SC_ScrollBarSlider, b);
        bool vertical = Bar == SB_VERT;
        int base = vertical ? at.y() : at.x();
        State.ThumbStart = base + (vertical ? thumb.top() : thumb.left());
        State.ThumbEnd = base + (vertical ? thumb.bottom() + 1 : thumb.right() + 1);
        return true;
    }

    void ScrollTo(int Bar, int Pos) override {
        if (QScrollBar* b = BarOf(Bar)) b->setValue(std::clamp(Pos, b->minimum(), b->maximum()));
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
    struct Setting {
        explicit Setting(TQtMemoView* v) : view(v) { view->m_setting = true; }
        ~Setting() { view->m_setting = false; }
        TQtMemoView* view;
    };

    QScrollBar* BarOf(int Bar) const {
        if (m_edit.isNull()) return nullptr;
        return Bar == SB_VERT ? m_edit->verticalScrollBar() : Bar == SB_HORZ ? m_edit->horizontalScrollBar() : nullptr;
    }

    bool Shown(int Bar) const {
        Qt::ScrollBarPolicy p = Bar == SB_VERT ? m_edit->verticalScrollBarPolicy() : m_edit->horizontalScrollBarPolicy();
        return p != Qt::ScrollBarAlwaysOff;
    }

    QPointer<TMemoTextEdit> m_edit;
    QPointer<TMemoFilter> m_filter;
    std::function<void()> m_textChanged;
    bool m_setting = false;
    QStringDecoder m_decoder{QStringDecoder::Utf8};
};

}  // namespace

std::unique_ptr<TMemoView> CreateMemoView(TWinControl* Control, std::function<void()> TextChanged) {
    return std::make_unique<TQtMemoView>(Control, std::move(TextChanged));
}
