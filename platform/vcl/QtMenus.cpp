// The toolkit side of popup menus: a QMenu built from a TPopupMenu's visible items. Owner-drawn
// menus get one widget per line that paints through the item's measure and draw events.
#include "platform/vcl/QtDialogs.h"

#include <algorithm>
#include <set>
#include <utility>

#include <QApplication>
#include <QEnterEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QWidgetAction>

#include "platform/vcl/Forms.h"
#include "platform/vcl/ImgList.h"
#include "platform/vcl/MenuWindow.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/QtGraphics.h"

namespace {

QString Q(const String& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// Runs a class-library callback from inside the toolkit: nothing unwinds into Qt.
template <class Fn>
void Barrier(Fn&& fn) {
    try {
        fn();
    } catch (...) {
        if (Application != nullptr) Application->HandleException(nullptr);
    }
}

// Tracks which items of the shown tree are still alive while the popup runs.
class TPopupSession : public TComponent {
    VCL_CLASS(TPopupSession)
    TPopupSession() : TComponent(nullptr) {}
    void Watch(TMenuItem* item) {
        m_live.insert(item);
        item->FreeNotification(this);
    }
    bool Alive(TMenuItem* item) const { return m_live.count(item) != 0; }
    void Choose(TMenuItem* item) { if (Alive(item)) chosen = item; }
    TMenuItem* chosen = nullptr;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override {
        TComponent::Notification(AComponent, Operation);
        if (Operation != opRemove) return;
        m_live.erase(static_cast<TMenuItem*>(AComponent));
        if (chosen == AComponent) chosen = nullptr;
    }

private:
    std::set<TMenuItem*> m_live;
};

TSize MeasureLine(TMenuItem* item) {
    TBitmap scratch(1, 1, pf24bit);
    int w = 0, h = 0;
    Barrier([&] { item->MeasureItem(scratch.GetCanvas(), w, h); });
    return {std::max(w, 1), std::max(h, 1)};
}

// A popup window whose border an owner-drawn line may paint (a flat menu frame): what is drawn
// on the two outer rings of its whole-window canvas is laid over the toolkit's frame.
class TQtPopup : public QMenu, public TMenuWindow {
public:
    explicit TQtPopup(QWidget* parent = nullptr) : QMenu(parent) {}
    TRect ScreenRect() const override {
        QPoint p = mapToGlobal(QPoint(0, 0));
        return Bounds(p.x(), p.y(), width(), height());
    }
    TCanvas* WindowCanvas() override {
        if (m_border.GetWidth() != width() || m_border.GetHeight() != height()) m_border.SetSize(width(), height());
        if (!m_borderPainted) {
            m_borderPainted = true;
            update();
        }
        return m_border.GetCanvas();
    }

protected:
    void paintEvent(QPaintEvent* e) override {
        QMenu::paintEvent(e);
        QPainter painter(this);
        PaintBorderOver(painter, rect());
    }

public:
    // Lays the painted border over Area (in the popup's coordinates) on a painter whose origin
    // is Area's top-left corner: the lines cover the popup's edges, so each paints its share.
    void PaintBorderOver(QPainter& Painter, const QRect& Area) {
        if (!m_borderPainted || m_border.GetWidth() != width() || m_border.GetHeight() != height()) return;
        QImage ring = BitmapToQImage(m_border);
        const int w = width(), h = height(), t = std::min({2, w, h});
        for (QRect strip : {QRect(0, 0, w, t), QRect(0, h - t, w, t), QRect(0, 0, t, h), QRect(w - t, 0, t, h)}) {
            QRect part = strip.intersected(Area);
            if (!part.isEmpty()) Painter.drawImage(part.translated(-Area.topLeft()), ring, part);
        }
    }

private:
    TBitmap m_border{0, 0, pf24bit};
    bool m_borderPainted = false;
};

// One owner-drawn line of the popup.
class TOwnerDrawnLine : public QWidget {
public:
    TOwnerDrawnLine(TMenuItem* item, TPopupSession* session, QMenu* menu, QAction* action, bool forceHot = false)
        : m_item(item), m_session(session), m_menu(menu), m_action(action), m_size(MeasureLine(item)),
          m_forceHot(forceHot) {
        setMouseTracking(true);
        setMinimumSize(m_size.cx, m_size.cy);
    }
    QSize sizeHint() const override { return QSize(m_size.cx, m_size.cy); }
    TMenuItem* Item() const { return m_item; }

protected:
    void paintEvent(QPaintEvent*) override {
        if (!m_session->Alive(m_item)) return;
        TBitmap picture(width(), height(), pf24bit);
        bool hot = !m_item->IsLine() &&
                   (m_forceHot || underMouse() || (m_menu != nullptr && m_menu->activeAction() == m_action));
        Barrier([&] {
            TMenuLineDrawing drawing(picture.GetCanvas(), dynamic_cast<TQtPopup*>(m_menu));
            m_item->AdvancedDrawItem(picture.GetCanvas(), Rect(0, 0, width(), height()), m_item->DrawState(hot), false);
        });
        QPainter painter(this);
        painter.drawImage(0, 0, BitmapToQImage(picture));
        if (auto* popup = dynamic_cast<TQtPopup*>(m_menu)) popup->PaintBorderOver(painter, geometry());
    }
    void enterEvent(QEnterEvent*) override { update(); }
    void leaveEvent(QEvent*) override { update(); }
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (e->button() != Qt::LeftButton || !m_session->Alive(m_item)) return;
        if (m_item->IsLine() || !m_item->GetEnabled()) return;
        m_session->Choose(m_item);
        m_menu->close();
    }

private:
    TMenuItem* m_item;
    TPopupSession* m_session;
    QMenu* m_menu;
    QAction* m_action;
    TSize m_size;
    bool m_forceHot;
};

QIcon IconOf(TMenuItem* item, TMenu* menu) {
    TImageList* images = menu->GetImages();
    int index = item->GetImageIndex();
    if (images == nullptr || index < 0 || index >= images->Count()) return {};
    TBitmap bitmap;
    if (!images->GetBitmap(index, &bitmap)) return {};
    QImage image = BitmapToQImage(bitmap).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!images->IsOpaque(index, x, y)) image.setPixel(x, y, 0);
    return QIcon(QPixmap::fromImage(image));
}

void AddLevel(QMenu* qmenu, TMenuItem* parent, TMenu* menu, TPopupSession* session);

void AddPlainItem(QMenu* qmenu, TMenuItem* item, const String& caption, TMenu* menu, TPopupSession* session) {
    if (item->IsLine()) {
        qmenu->addSeparator();
        return;
    }
    QString text = Q(caption);
    if (item->GetShortCut() != scNone) text += '\t' + Q(ShortCutToText(item->GetShortCut()));
    QAction* action = nullptr;
    if (item->Count() > 0) {
        auto* sub = new TQtPopup(qmenu);
        sub->setTitle(text);
        qmenu->addMenu(sub);
        AddLevel(sub, item, menu, session);
        action = sub->menuAction();
    } else {
        action = qmenu->addAction(text);
        QObject::connect(action, &QAction::triggered, [session, item] { session->Choose(item); });
    }
    action->setEnabled(item->GetEnabled());
    if (item->GetChecked()) {
        action->setCheckable(true);
        action->setChecked(true);
    }
    if (item->GetDefault()) {
        QFont f = action->font();
        f.setBold(true);
        action->setFont(f);
    }
    action->setIcon(IconOf(item, menu));
}

void AddOwnerDrawnItem(QMenu* qmenu, TMenuItem* item, TPopupSession* session) {
    auto* action = new QWidgetAction(qmenu);
    action->setEnabled(item->GetEnabled() && !item->IsLine());
    action->setDefaultWidget(new TOwnerDrawnLine(item, session, qmenu, action));
    QObject::connect(action, &QAction::triggered, [session, item] { session->Choose(item); });
    qmenu->addAction(action);
}

void AddLevel(QMenu* qmenu, TMenuItem* parent, TMenu* menu, TPopupSession* session) {
    std::vector<TMenuItem*> shown;
    std::vector<String> captions;
    for (int i = 0; i < parent->Count(); ++i) {
        TMenuItem* item = parent->Items(i);
        if (!item->GetVisible()) continue;
        shown.push_back(item);
        captions.push_back(item->GetCaption());
        session->Watch(item);
    }
    if (menu->UsesAutomaticHotkeys()) captions = AutomaticHotkeys(captions);
    for (size_t i = 0; i < shown.size(); ++i) {
        // Sub-menus keep the toolkit's look; lines of an owner-drawn menu paint themselves.
        if (menu->GetOwnerDraw() && shown[i]->Count() == 0) AddOwnerDrawnItem(qmenu, shown[i], session);
        else AddPlainItem(qmenu, shown[i], captions[i], menu, session);
    }
    if (menu->GetOwnerDraw())
        QObject::connect(qmenu, &QMenu::hovered, qmenu, [qmenu] {
            for (QAction* a : qmenu->actions())
                if (auto* w = qobject_cast<QWidgetAction*>(a); w != nullptr && w->defaultWidget() != nullptr)
                    w->defaultWidget()->update();
        });
}

void Describe(const QMenu& qmenu, const String& indent, std::vector<String>& out) {
    for (QAction* a : qmenu.actions()) {
        if (a->isSeparator()) out.push_back(indent + "-");
        else if (qobject_cast<QWidgetAction*>(a) != nullptr) out.push_back(indent + "<drawn>");
        else out.push_back(indent + a->text().toUtf8().toStdString() + (a->isChecked() ? " [x]" : "") +
                           (a->isEnabled() ? "" : " [disabled]"));
        if (a->menu() != nullptr) Describe(*a->menu(), indent + "  ", out);
    }
}

}  // namespace

namespace {

// The popup that shows now and the menu it shows.
TPopupMenu* g_shownMenu = nullptr;
QPointer<QMenu> g_shownPopup;

}  // namespace

TMenuItem* QtMenus_TrackPopup(TPopupMenu* Menu, int X, int Y) {
    if (Menu == nullptr || QApplication::instance() == nullptr) return nullptr;
    TPopupSession session;
    TMenuItem* chosen = nullptr;
    {
        TQtPopup qmenu;
        AddLevel(&qmenu, Menu->GetItems(), Menu, &session);
        if (qmenu.isEmpty()) return nullptr;
        TPopupMenu* outerMenu = std::exchange(g_shownMenu, Menu);
        QPointer<QMenu> outerPopup = std::exchange(g_shownPopup, &qmenu);
        qmenu.exec(QPoint(X, Y));
        g_shownMenu = outerMenu;
        g_shownPopup = outerPopup;
        chosen = session.chosen;
    }
    return chosen;
}

void QtMenus_CancelPopup(TPopupMenu* Menu) {
    if (Menu == nullptr || Menu != g_shownMenu || g_shownPopup.isNull()) return;
    // Its open sub-menus first, then the popup itself; nothing is chosen.
    QMenu* popup = g_shownPopup.data();
    auto isSubMenu = [popup](QWidget* w) {
        for (QObject* o = w != nullptr ? w->parent() : nullptr; o != nullptr; o = o->parent())
            if (o == popup) return true;
        return false;
    };
    while (QWidget* top = QApplication::activePopupWidget()) {
        if (!isSubMenu(top)) break;
        top->close();
    }
    popup->close();
}

std::vector<String> QtMenus_DescribePopup(TPopupMenu* Menu) {
    std::vector<String> out;
    if (Menu == nullptr || QApplication::instance() == nullptr) return out;
    TPopupSession session;
    QMenu qmenu;
    AddLevel(&qmenu, Menu->GetItems(), Menu, &session);
    Describe(qmenu, "", out);
    return out;
}

void QtMenus_RenderOwnerDrawnLine(TMenuItem* Item, bool Selected, int Width, TBitmap* Out) {
    if (Item == nullptr || Out == nullptr || QApplication::instance() == nullptr) return;
    TPopupSession session;
    session.Watch(Item);
    TOwnerDrawnLine line(Item, &session, nullptr, nullptr, Selected);
    QSize size = line.sizeHint();
    line.resize(std::max(Width, size.width()), size.height());
    QImage image = line.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QImageToBitmap(image, *Out);
}

void QtMenus_RenderPopup(TPopupMenu* Menu, TMenuItem* Hot, TBitmap* Out) {
    if (Menu == nullptr || Out == nullptr || QApplication::instance() == nullptr) return;
    TPopupSession session;
    TQtPopup qmenu;
    AddLevel(&qmenu, Menu->GetItems(), Menu, &session);
    if (qmenu.isEmpty()) return;
    qmenu.popup(QPoint(0, 0));
    for (QAction* a : qmenu.actions())
        if (auto* w = qobject_cast<QWidgetAction*>(a); w != nullptr && Hot != nullptr) {
            auto* line = dynamic_cast<TOwnerDrawnLine*>(w->defaultWidget());
            if (line != nullptr && line->Item() == Hot) qmenu.setActiveAction(a);
        }
    // Twice: the first paint of a flat menu's lines asks for the border.
    for (int i = 0; i < 2; ++i) {
        QImage image = qmenu.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QImageToBitmap(image, *Out);
    }
    qmenu.close();
}

bool GetSystemMenuFont(String& Name, int& Height) {
    if (QApplication::instance() == nullptr) return false;
    QFont font = QApplication::font("QMenu");
    Name = font.family().toUtf8().toStdString();
    Height = font.pixelSize() > 0 ? font.pixelSize() : static_cast<int>(font.pointSizeF() * 96.0 / 72.0 + 0.5);
    return !Name.empty() && Height > 0;
}
