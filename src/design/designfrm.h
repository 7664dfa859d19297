#pragma once
// The column design view: the site's column tree on the left with the buttons that
// change it, the preview of the selected page's display format on the right.

#include "design/catalogstore.h"
#include "design/catalogtree.h"
#include "design/designactions.h"
#include "ui/browserpane.h"
#include "ui/formregistry.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QStatusBar>
#include <QTreeWidget>
#include <QWidget>
#include <optional>

class designFrm : public QWidget, public IForm {
    Q_OBJECT
public:
    static constexpr FormKind kKind = FormKind::MdiView;
    explicit designFrm(QWidget *parent = nullptr);

    // Item data roles of the tree: the node key and the Tag (catalog; invalid = Null).
    static constexpr int KeyRole = design::KeyRole;
    static constexpr int TagRole = design::TagRole;

    void Form_Load() override;
    void Form_Activate() override;

    // Shows the preview of a display format, or the change-format dialog without
    // modality for a key that is not one.
    void right_canvas(const QString &aspFileName);

    // Handlers, by the names of their controls and events.
    void cmd_addCat_Click() { ppMnu_addCat_Click(); }
    void cmd_addFile_Click() { ppMnu_addFile_Click(); }
    void cmd_delNode_Click() { ppMnu_del_Click(); }
    void cmd_ren_Click() { ppMnu_ren_Click(); }
    void cmd_refresh_Click() { ppMnu_refresh_Click(); }
    void cmd_up_Click() { ppMnu_moveUp_Click(); }
    void cmd_down_Click() { ppMnu_moveDown_Click(); }
    void cmd_mod_Click();
    void ppMnu_addCat_Click();
    void ppMnu_addFile_Click();
    void ppMnu_del_Click();
    void ppMnu_ren_Click();
    void ppMnu_refresh_Click();
    void ppMnu_moveUp_Click();
    void ppMnu_moveDown_Click();
    void tvw_nav_NodeClick(QTreeWidgetItem *node);
    void tvw_nav_MouseUp(Qt::MouseButton button);
    void tvw_nav_BeforeLabelEdit();
    void tvw_nav_AfterLabelEdit(const QString &newText);
    void Frame_nav_MouseMove();

    // The current node, looked up by its key each time (every reload makes the root
    // current); nullptr only while the tree is empty.
    QTreeWidgetItem *mNode() const;
    QTreeWidgetItem *root() const;
    // The node of this key in the tree now shown; nullptr when there is none.
    QTreeWidgetItem *itemByKey(const QString &key) const;
    // The node as the decisions need it.
    design::NodeRef nodeRef(QTreeWidgetItem *node) const;
    // Some node of the tree shows exactly this text (the root included).
    bool nodeTextExists(const QString &text) const;
    // Adds a child stored by a dialog below parent, with a free key, and expands parent.
    QTreeWidgetItem *addChildNode(QTreeWidgetItem *parent, design::Level level, const QString &text, bool category);
    // Reloads the tree; the root becomes the current node.
    void reloadTree();
    // Ends an open label edit before another command: an editor still open is closed
    // and its text applied as a rename. False when that left the tree reloaded (a
    // refused rename), so the command's node is gone.
    bool finishLabelEdit();
    // The label editor: it opened, its text was committed, it closed.
    void labelEditorOpened(QLineEdit *editor) { m_editor = editor; }
    void labelEditCommitted(const QString &text);
    void labelEditorClosed();
    // Tells the other views that the column tree changed; a rename names the column
    // that now goes by another name.
    struct Renamed {
        design::Level level;
        QString from, to;
    };
    void notifyCatalogChanged(const std::optional<Renamed> &renamed = std::nullopt);

    QGroupBox *Frame_nav = nullptr;
    QTreeWidget *tvw_nav = nullptr;
    QGroupBox *frame_cmdNode = nullptr;
    QPushButton *cmd_addCat = nullptr, *cmd_addFile = nullptr, *cmd_delNode = nullptr, *cmd_ren = nullptr,
                *cmd_refresh = nullptr, *cmd_up = nullptr, *cmd_down = nullptr;
    QGroupBox *Frame_optn = nullptr;
    IBrowserPane *wb_format = nullptr;
    QGroupBox *frame_cmdDesign = nullptr;
    QPushButton *cmd_mod = nullptr;
    QStatusBar *StsBar = nullptr;
    QLabel *StsBar_panel1 = nullptr;
    QMenu *ppMnu = nullptr;
    QAction *ppMnu_addCat = nullptr, *ppMnu_addFile = nullptr, *ppMnu_del = nullptr, *ppMnu_ren = nullptr,
            *ppMnu_refresh = nullptr, *ppMnu_moveUp = nullptr, *ppMnu_moveDown = nullptr;

signals:
    // A column was renamed; comes before the catalogChanged of the rename.
    void columnRenamed(design::Level level, const QString &from, const QString &to);
    // The stored column tree changed (add, delete, rename, move, format change).
    void catalogChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void loadTree();
    void fillItem(QTreeWidgetItem *item, const design::CatalogNode &node);
    void setCurrentNode(QTreeWidgetItem *node);
    // Enables the add, move and change-format commands for the current node.
    void gate();
    // Applies a rename to the node whose label was edited; false when the tree reloaded.
    bool renameEdited(QString newText);
    void move(bool down);
    // Opens the add dialog Dialog when the current node may take what it adds (allowed).
    template <class Dialog> void openAddDialog(bool design::AddGate::*allowed);
    void forgetKeys(QTreeWidgetItem *node);
    // Reports a failed handler and reloads, as after any unexpected error.
    void recover(const std::exception &e);

    // The tree shows all that is stored: until then the view takes no command but a
    // reload.
    bool m_loaded = false;
    // The current node's key.
    QString m_currentKey;
    // The node whose label is being edited, as it was when editing began, and the text
    // committed but not yet applied.
    struct LabelEdit {
        QString key;
        design::NodeRef node;
    };
    std::optional<LabelEdit> m_edit;
    std::optional<QString> m_editText;
    QPointer<QLineEdit> m_editor;
    QSet<QString> m_keys;
    QHash<QObject *, QString> m_hints;
};
