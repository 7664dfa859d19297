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

// The tree control "tvw_nav" filling its frame: no header, no editing by itself, mouse
// events of its viewport going to viewportFilter.
QTreeWidget *makeTreeWidget(QWidget *frame, QObject *viewportFilter);

} // namespace design
