#include "design/catalogtree.h"

#include "shell/artwork.h"

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

} // namespace design
