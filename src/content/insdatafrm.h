#pragma once
#include "shell/artwork.h"
#include "design/catalog.h"
#include "shell/placeholderview.h"

#include <QTreeWidgetItem>

// The data-entry view.
class insDataFrm : public PlaceholderView {
    Q_OBJECT
public:
    static constexpr FormKind kKind = FormKind::MdiView;
    explicit insDataFrm(QWidget *parent = nullptr)
        : PlaceholderView(QStringLiteral("录入数据"), parent)
    {
        setWindowIcon(artwork::toolIcon(5));
        setObjectName(QStringLiteral("insDataFrm"));
    }
    // The design view changed the column tree: reload this view's copy of it.
    void catalogChanged() {}

    // The page whose content is being entered (nullptr before one is chosen); its
    // item carries the node key in Qt::UserRole.
    QTreeWidgetItem *currNode = nullptr;
    QTreeWidgetItem *insNode = nullptr;
    // The level of currNode's key (Other when there is none) and its text.
    design::Level currLevel() const
    {
        return currNode ? design::levelOfKey(currNode->data(0, Qt::UserRole).toString()) : design::Level::Other;
    }
    QString currText() const { return currNode ? currNode->text(0) : QString(); }
};
