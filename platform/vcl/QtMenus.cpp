// The toolkit side of popup menus: a QMenu built from a TPopupMenu's visible items. Owner-drawn
// menus get one widget per line that paints through the item's measure and draw events.
#include "platform/vcl/QtDialogs.h"

#include <set>

#include <QApplication>
#include <QEnterEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QWidgetAction>

#include "platform/vcl/Forms.h"
#include "platform/vcl/ImgList.h"
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

protected:
    void paintEvent(QPaintEvent*) override {
        if (!m_session->Alive(m_item)) return;
        TBitmap picture(width(), height(), pf24bit);
        bool hot = !m_item->IsLine() &&
                   (m_forceHot || underMouse() || (m_menu != nullptr && m_menu->activeAction() == m_action));
        Barrier([&] {
            m_item->AdvancedDrawItem(picture.GetCanvas(), Rect(0, 0, width(), height()), m_item->DrawState(hot), false);
        });
        QPainter painter(this);
        painter.drawImage(0, 0, BitmapToQImage(picture));
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
        QMenu* sub = qmenu->addMenu(text);
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

TMenuItem* QtMenus_TrackPopup(TPopupMenu* Menu, int X, int Y) {
    if (Menu == nullptr || QApplication::instance() == nullptr) return nullptr;
    TPopupSession session;
    TMenuItem* chosen = nullptr;
    {
        QMenu qmenu;
        AddLevel(&qmenu, Menu->GetItems(), Menu, &session);
        if (qmenu.isEmpty()) return nullptr;
        qmenu.exec(QPoint(X, Y));
        chosen = session.chosen;
    }
    return chosen;
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
