#pragma once
// Both views show the column tree in a QTreeWidget: each item carries its node's key and
// Tag in these roles, its picture, and its children.

#include "design/catalogstore.h"

#include <QTreeWidget>
#include <QTreeWidgetItem>
#include <functional>

namespace design {

// The node key, and the Tag (catalog: true, false, or invalid for Null).
constexpr int KeyRole = Qt::UserRole;
constexpr int TagRole = Qt::UserRole + 1;

// Fills item and, below it, an item for every child of node; each (item, node) pair
// is also handed to `each` when given.
void fillTreeItem(QTreeWidgetItem *item, const CatalogNode &node,
                  const std::function<void(QTreeWidgetItem *, const CatalogNode &)> &each = {});

// The tree control of both views. The keyboard reaches what the mouse does there: once
// a key has made another node current, keyMoved follows; Enter or Space on the current
// node gives keyOpen, F2 keyRename.
class CatalogTreeWidget : public QTreeWidget {
    Q_OBJECT
public:
    using QTreeWidget::QTreeWidget;

signals:
    void keyMoved(QTreeWidgetItem *current);
    void keyOpen(QTreeWidgetItem *current);
    void keyRename(QTreeWidgetItem *current);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

// The tree control "tvw_nav" filling its frame: no header, no editing by itself, mouse
// events of its viewport going to viewportFilter.
CatalogTreeWidget *makeTreeWidget(QWidget *frame, QObject *viewportFilter);

} // namespace design
