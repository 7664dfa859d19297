#include "design/catalogtree.h"

#include <QKeyEvent>
#include <QVBoxLayout>

#include "ui/artwork.h"

namespace design {

void fillTreeItem(QTreeWidgetItem *item, const CatalogNode &node,
                  const std::function<void(QTreeWidgetItem *, const CatalogNode &)> &each)
{
    item->setText(0, node.text);
    item->setData(0, KeyRole, node.key);
    item->setData(0, TagRole, node.tag ? QVariant(*node.tag) : QVariant());
    item->setIcon(0, artwork::treeIcon(node.image));
    if (each)
        each(item, node);
    for (const CatalogNode &child : node.children)
        fillTreeItem(new QTreeWidgetItem(item), child, each);
}

void CatalogTreeWidget::keyPressEvent(QKeyEvent *event)
{
    QTreeWidgetItem *before = currentItem();
    if (before && !(event->modifiers() & ~Qt::KeypadModifier)) {
        switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            event->accept();
            emit keyOpen(before);
            return;
        case Qt::Key_F2:
            event->accept();
            emit keyRename(before);
            return;
        default:
            break;
        }
    }
    QTreeWidget::keyPressEvent(event);
    if (QTreeWidgetItem *now = currentItem(); now && now != before)
        emit keyMoved(now);
}

CatalogTreeWidget *makeTreeWidget(QWidget *frame, QObject *viewportFilter)
{
    auto *tree = new CatalogTreeWidget(frame);
    tree->setObjectName(QStringLiteral("tvw_nav"));
    tree->setHeaderHidden(true);
    tree->setRootIsDecorated(true);
    tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree->setContextMenuPolicy(Qt::NoContextMenu);
    tree->setIconSize(QSize(16, 16));
    tree->viewport()->installEventFilter(viewportFilter);
    auto *layout = new QVBoxLayout(frame);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(tree);
    return tree;
}

} // namespace design
