#include "help/guidfrm.h"

#include "core/appcontext.h"
#include "core/twips.h"
#include "help/helptopics.h"
#include "help/skinart.h"
#include "help/skinlogic.h"
#include "ui/artwork.h"

#include <QHeaderView>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QTimer>

namespace {
// Margins of the design, in twips.
constexpr int kMarginX = 90;
constexpr int kMarginY = 75;
constexpr int kMinWidth = 10125;
constexpr int kMinHeight = 6200;
} // namespace

guidFrm::guidFrm(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("guidFrm"));
    setWindowTitle(QStringLiteral("用法指南"));
    setWindowIcon(artwork::toolIcon(1));

    frame_title = new QGroupBox(QStringLiteral("主题"), this);
    frame_title->setObjectName(QStringLiteral("frame_title"));
    tvw_title = new QTreeWidget(frame_title);
    tvw_title->setObjectName(QStringLiteral("tvw_title"));
    tvw_title->setHeaderHidden(true);
    tvw_title->setIconSize(QSize(16, 16));
    tvw_title->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tvw_title->setSelectionMode(QAbstractItemView::SingleSelection);
    // Long topic texts scroll sideways instead of being cut short.
    tvw_title->header()->setStretchLastSection(false);
    tvw_title->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tvw_title->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    tvw_title->viewport()->installEventFilter(this);
    // However a folder opens or closes (keys, double-click, the branch indicator), its
    // picture follows at once.
    connect(tvw_title, &QTreeWidget::itemExpanded, this, &guidFrm::followExpanded);
    connect(tvw_title, &QTreeWidget::itemCollapsed, this, &guidFrm::followExpanded);

    frame_content = new QGroupBox(QStringLiteral("内容"), this);
    frame_content->setObjectName(QStringLiteral("frame_content"));
    weber = makeBrowserPane(frame_content);
    weber->widget()->setObjectName(QStringLiteral("weber"));

    setMinimumSize(twips::toPx(kMinWidth), twips::toPx(kMinHeight));
    resize(twips::toPx(10305), twips::toPx(kMinHeight));
}

void guidFrm::setPicture(QTreeWidgetItem *item, const QString &key)
{
    if (item->data(0, ImageRole).toString() == key)
        return;
    item->setData(0, ImageRole, key);
    item->setIcon(0, skinart::guideTreeIcon(key));
}

void guidFrm::Form_Load()
{
    if (QMdiSubWindow *sub = FormRegistry::subWindowOf(this))
        sub->move(0, 0);
    tvw_title->clear();
    lastSelected = nullptr;
    for (const help::Topic &t : help::topics()) {
        QTreeWidgetItem *item = t.parent.isEmpty() ? new QTreeWidgetItem(tvw_title) : new QTreeWidgetItem(node(t.parent));
        item->setText(0, t.text);
        item->setToolTip(0, t.text);
        item->setData(0, KeyRole, t.key);
        item->setData(0, TagRole, t.folder ? QStringLiteral("folder") : QStringLiteral("file"));
        setPicture(item, t.folder ? QStringLiteral("close") : QStringLiteral("file"));
    }
    if (QTreeWidgetItem *first = tvw_title->topLevelItem(0)) {
        first->setExpanded(true);
        setPicture(first, QStringLiteral("open"));
    }
    weber->navigate(help::pageToShow(app().currentPath, help::kWelcomePage));
    Form_Resize();
}

void guidFrm::followExpanded(QTreeWidgetItem *item)
{
    // A page keeps its own picture, even when expanding everything (*) marks it expanded.
    if (item->data(0, TagRole).toString() == QLatin1String("folder"))
        setPicture(item, item->isExpanded() ? QStringLiteral("open") : QStringLiteral("close"));
}

QTreeWidgetItem *guidFrm::node(const QString &key) const
{
    for (QTreeWidgetItemIterator it(tvw_title); *it; ++it)
        if ((*it)->data(0, KeyRole).toString() == key)
            return *it;
    return nullptr;
}

void guidFrm::tvw_title_MouseUp(int, int, float, float)
{
    for (QTreeWidgetItemIterator it(tvw_title); *it; ++it) {
        QTreeWidgetItem *item = *it;
        if (item->isSelected())
            lastSelected = item;
        followExpanded(item);
    }
    if (lastSelected && lastSelected->data(0, TagRole).toString() == QLatin1String("file"))
        weber->navigate(help::pageToShow(app().currentPath, lastSelected->data(0, KeyRole).toString()));
}

void guidFrm::Form_Resize()
{
    const int mx = twips::toPx(kMarginX);
    const int my = twips::toPx(kMarginY);
    const int frameHeight = height() - 2 * my;
    frame_title->setGeometry(mx, my, twips::toPx(2520), frameHeight);
    const int contentLeft = twips::toPx(2700);
    frame_content->setGeometry(contentLeft, my, width() - contentLeft - mx, frameHeight);
    // Inside the frames, below their captions, with the design's side and bottom margins.
    const int titleTop = frame_title->contentsRect().top();
    tvw_title->setGeometry(twips::toPx(90), titleTop, frame_title->width() - 2 * twips::toPx(90),
                           frameHeight - titleTop - twips::toPx(90));
    const int contentTop = frame_content->contentsRect().top();
    weber->widget()->setGeometry(twips::toPx(100), contentTop, frame_content->width() - twips::toPx(200),
                                 frameHeight - contentTop - twips::toPx(100));
}

void guidFrm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

bool guidFrm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == tvw_title->viewport() && event->type() == QEvent::MouseButtonRelease) {
        // Runs once the tree has handled the release itself (a click on a branch
        // indicator expands or collapses on release).
        auto *me = static_cast<QMouseEvent *>(event);
        const int button = skin::buttonCode(me->button());
        const int shift = skin::shiftCode(me->modifiers());
        const QPointF pos = me->position();
        QTimer::singleShot(0, this, [this, button, shift, pos] {
            tvw_title_MouseUp(button, shift, float(pos.x()), float(pos.y()));
        });
    }
    return QWidget::eventFilter(watched, event);
}
