#include "ui/formregistry.h"

#include <QCloseEvent>
#include <QDialog>
#include <QStyle>
#include <QStyleOptionTitleBar>

namespace {

constexpr char kKindProperty[] = "formKind";

// Asks a view whether the user may close it; a view that may not stays as it is.
class CloseGuard : public QObject {
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Close)
            if (auto *hooks = dynamic_cast<IForm *>(watched); hooks && !hooks->Form_QueryUnload()) {
                event->ignore();
                return true;
            }
        return QObject::eventFilter(watched, event);
    }
};

CloseGuard &closeGuard()
{
    static CloseGuard guard;
    return guard;
}

// A press on a view's frame or title brings it to the front, also when the area already
// counts it as the active view and so would leave it where it is drawn.
class FrontOnPress : public QObject {
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonPress)
            static_cast<QWidget *>(watched)->raise();
        return QObject::eventFilter(watched, event);
    }
};

FrontOnPress &frontOnPress()
{
    static FrontOnPress filter;
    return filter;
}

// Brings a window of its own to the front of the others and makes it the active one.
void bringToFront(QWidget *w)
{
    if (w->isMinimized())
        w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
    w->show();
    w->raise();
    w->activateWindow();
}

// Where the keyboard goes when a view comes to the front: the box the user was last in
// inside it (the view itself takes no keys), or else its first box that Tab would reach;
// nullptr when it has none.
QWidget *keyboardTarget(QWidget *view)
{
    const auto usable = [view](QWidget *w) {
        return w != view && view->isAncestorOf(w) && w->isVisibleTo(view) && w->isEnabled();
    };
    if (QWidget *last = view->focusWidget(); last && usable(last) && last->focusPolicy() != Qt::NoFocus)
        return last;
    for (QWidget *w = view->nextInFocusChain(); w && w != view; w = w->nextInFocusChain())
        if (usable(w) && (w->focusPolicy() & Qt::TabFocus))
            return w;
    return nullptr;
}

} // namespace

FormRegistry &forms()
{
    static FormRegistry registry;
    return registry;
}

void FormRegistry::setHost(QWidget *mainWindow, QMdiArea *area)
{
    m_main = mainWindow;
    m_area = area;
}

bool FormRegistry::isView(const QWidget *w)
{
    return w && w->property(kKindProperty).toInt() == int(FormKind::MdiView);
}

void FormRegistry::place(QWidget *w, FormKind kind)
{
    m_order << w;
    w->setProperty(kKindProperty, int(kind));
    switch (kind) {
    case FormKind::MdiView:
        // The close box hides a view (the subwindow closes its view first); only the
        // registry unloads it.
        w->installEventFilter(&closeGuard());
        if (m_area) {
            const QSize wanted = w->size();
            QMdiSubWindow *sub = m_area->addSubWindow(w);
            sub->setAttribute(Qt::WA_DeleteOnClose, false); // the area sets it on subwindows it makes
            sub->installEventFilter(&frontOnPress());
            sub->setWindowTitle(w->windowTitle());
            sub->setWindowIcon(w->windowIcon());
            // The view's own size plus the frame around it, cascaded below the others.
            QStyleOptionTitleBar title;
            title.initFrom(sub);
            const int border = sub->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, sub);
            const int bar = sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, &title, sub);
            sub->resize(wanted + QSize(2 * border, bar + border));
            const int step = int(m_area->subWindowList().size() - 1) % 8;
            sub->move(step * 26, step * 26);
        }
        break;
    case FormKind::TopLevel:
        w->setWindowFlag(Qt::Window, true);
        w->setAttribute(Qt::WA_DeleteOnClose);
        break;
    case FormKind::Dialog:
        break;
    }
}

QMdiSubWindow *FormRegistry::subWindowOf(const QWidget *view)
{
    return view ? qobject_cast<QMdiSubWindow *>(view->parentWidget()) : nullptr;
}

void FormRegistry::unloadWidget(QWidget *w)
{
    if (!w)
        return;
    for (auto it = m_forms.begin(); it != m_forms.end(); ++it) {
        if (it->second == w) {
            m_forms.erase(it);
            break;
        }
    }
    m_order.removeAll(QPointer<QWidget>(w));
    QWidget *outer = w;
    if (QMdiSubWindow *sub = subWindowOf(w)) {
        if (m_area)
            m_area->removeSubWindow(sub);
        outer = sub;
    }
    // Hiding a dialog also ends its modal loop.
    outer->hide();
    outer->deleteLater();
}

void FormRegistry::unloadAll()
{
    const QList<QWidget *> all = loaded();
    for (auto it = all.crbegin(); it != all.crend(); ++it)
        unloadWidget(*it);
}

QList<QWidget *> FormRegistry::loaded() const
{
    QList<QWidget *> out;
    for (const QPointer<QWidget> &p : m_order) {
        if (!p)
            continue;
        for (const auto &[type, w] : m_forms) {
            if (w == p) {
                out << p.data();
                break;
            }
        }
    }
    return out;
}

void FormRegistry::showAndFocus(QWidget *w)
{
    if (!w)
        return;
    if (QMdiSubWindow *sub = subWindowOf(w)) {
        sub->show();
        w->show();
        if (m_area)
            m_area->setActiveSubWindow(sub);
        // The area does nothing for the view it already counts as active, wherever that
        // view is drawn.
        sub->raise();
        if (QWidget *target = keyboardTarget(w))
            target->setFocus(Qt::OtherFocusReason);
        else
            w->setFocus();
    } else {
        bringToFront(w);
    }
}

void FormRegistry::showOnly(QWidget *w)
{
    if (!w)
        return;
    if (QMdiSubWindow *sub = subWindowOf(w))
        sub->show();
    if (isView(w))
        w->show();
    else
        bringToFront(w);
}
