#pragma once
// The help guide view: a fixed tree of help topics on the left, the chosen topic's page
// from help/ on the right.

#include "ui/browserpane.h"
#include "ui/formregistry.h"

#include <QGroupBox>
#include <QTreeWidget>
#include <QWidget>

class guidFrm : public QWidget, public IForm {
    Q_OBJECT
public:
    static constexpr FormKind kKind = FormKind::MdiView;
    explicit guidFrm(QWidget *parent = nullptr);

    // Item data roles of the tree: the node key, the Tag ("folder" / "file") and the
    // picture's key in ImageList1 ("close", "open", "file").
    static constexpr int KeyRole = Qt::UserRole;
    static constexpr int TagRole = Qt::UserRole + 1;
    static constexpr int ImageRole = Qt::UserRole + 2;

    void Form_Load() override;
    void Form_Resize();
    // The tree's mouse-up (any button; the arguments are not used).
    void tvw_title_MouseUp(int button = 1, int shift = 0, float x = 0, float y = 0);

    QTreeWidgetItem *node(const QString &key) const;
    // The node last seen selected at a mouse-up (nullptr until then).
    QTreeWidgetItem *lastSelected = nullptr;

    QGroupBox *frame_title = nullptr;
    QTreeWidget *tvw_title = nullptr;
    QGroupBox *frame_content = nullptr;
    IBrowserPane *weber = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void setPicture(QTreeWidgetItem *item, const QString &key);
    // A folder's picture follows whether it is expanded.
    void followExpanded(QTreeWidgetItem *item);
};
