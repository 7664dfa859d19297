#include "design/designfrm.h"

#include "core/appcontext.h"
#include "core/twips.h"
#include "design/catalogtree.h"
#include "design/dgnfrm_dialogs.h"
#include "ui/artwork.h"
#include "ui/dialogparts.h"
#include "ui/viewloads.h"

#include <QCursor>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QVBoxLayout>

using namespace design;

namespace {

// Label editing: the view learns when the editor opens and closes and what text it
// committed; the model itself is never written here (the view's rename decides).
class RenameDelegate : public QStyledItemDelegate {
public:
    RenameDelegate(designFrm *view)
        : QStyledItemDelegate(view)
        , m_view(view)
    {
    }
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto *line = qobject_cast<QLineEdit *>(editor))
            m_view->labelEditorOpened(line);
        return editor;
    }
    void setModelData(QWidget *editor, QAbstractItemModel *, const QModelIndex &) const override
    {
        if (auto *line = qobject_cast<QLineEdit *>(editor))
            m_view->labelEditCommitted(line->text());
    }
    void destroyEditor(QWidget *editor, const QModelIndex &index) const override
    {
        m_view->labelEditorClosed();
        QStyledItemDelegate::destroyEditor(editor, index);
    }

private:
    designFrm *m_view;
};

QPushButton *makeButton(QWidget *parent, const char *name, const QString &caption, const QString &icon)
{
    auto *b = new QPushButton(artwork::buttonIcon(icon), caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

QAction *makeItem(QMenu *menu, const char *name, const QString &caption)
{
    QAction *a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

} // namespace

designFrm::designFrm(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("designFrm"));
    setWindowTitle(QStringLiteral("设计栏目"));
    setWindowIcon(artwork::toolIcon(4));

    // Left: the tree and its buttons.
    Frame_nav = new QGroupBox(this);
    Frame_nav->setObjectName(QStringLiteral("Frame_nav"));
    Frame_nav->setMouseTracking(true);
    CatalogTreeWidget *tree = makeTreeWidget(Frame_nav, this);
    tvw_nav = tree;
    tvw_nav->setItemDelegate(new RenameDelegate(this));
    // From the keyboard: a node reached with the keys is taken as a click on it takes
    // it, and F2 renames as the rename command does.
    connect(tree, &CatalogTreeWidget::keyMoved, this, [this](QTreeWidgetItem *node) {
        tvw_nav_NodeClick(node);
        tvw_nav_MouseUp(Qt::LeftButton);
    });
    connect(tree, &CatalogTreeWidget::keyRename, this, &designFrm::ppMnu_ren_Click);

    frame_cmdNode = new QGroupBox(this);
    frame_cmdNode->setObjectName(QStringLiteral("frame_cmdNode"));
    cmd_addCat = makeButton(frame_cmdNode, "cmd_addCat", QStringLiteral("添加目录"), QStringLiteral("addCat"));
    cmd_addFile = makeButton(frame_cmdNode, "cmd_addFile", QStringLiteral("添加文件"), QStringLiteral("addFile"));
    cmd_delNode = makeButton(frame_cmdNode, "cmd_delNode", QStringLiteral("删除"), QStringLiteral("delete"));
    cmd_ren = makeButton(frame_cmdNode, "cmd_ren", QStringLiteral("重命名"), QStringLiteral("rename"));
    cmd_refresh = makeButton(frame_cmdNode, "cmd_refresh", QStringLiteral("刷新"), QStringLiteral("refresh"));
    cmd_up = makeButton(frame_cmdNode, "cmd_up", QStringLiteral("上移一位"), QStringLiteral("up"));
    cmd_down = makeButton(frame_cmdNode, "cmd_down", QStringLiteral("下移一位"), QStringLiteral("down"));
    auto *cmdLayout = new QGridLayout(frame_cmdNode);
    cmdLayout->setContentsMargins(4, 4, 4, 4);
    cmdLayout->setSpacing(4);
    cmdLayout->addWidget(cmd_addCat, 0, 0);
    cmdLayout->addWidget(cmd_addFile, 0, 1);
    cmdLayout->addWidget(cmd_delNode, 1, 0);
    cmdLayout->addWidget(cmd_ren, 1, 1);
    cmdLayout->addWidget(cmd_up, 2, 0);
    cmdLayout->addWidget(cmd_down, 2, 1);
    cmdLayout->addWidget(cmd_refresh, 3, 0, 1, 2);

    // Right: the preview and the change-format button.
    Frame_optn = new QGroupBox(this);
    Frame_optn->setObjectName(QStringLiteral("Frame_optn"));
    wb_format = makeBrowserPane(Frame_optn);
    wb_format->widget()->setObjectName(QStringLiteral("wb_format"));
    auto *optLayout = new QVBoxLayout(Frame_optn);
    optLayout->setContentsMargins(4, 4, 4, 4);
    optLayout->addWidget(wb_format->widget());

    frame_cmdDesign = new QGroupBox(this);
    frame_cmdDesign->setObjectName(QStringLiteral("frame_cmdDesign"));
    cmd_mod = makeButton(frame_cmdDesign, "cmd_mod", QStringLiteral("修改样式"), QStringLiteral("modify"));
    cmd_mod->setEnabled(false);
    auto *designLayout = new QHBoxLayout(frame_cmdDesign);
    designLayout->setContentsMargins(4, 4, 4, 4);
    designLayout->addStretch();
    designLayout->addWidget(cmd_mod);

    StsBar = dialogparts::statusBar(this, {&StsBar_panel1});

    auto *left = new QVBoxLayout;
    left->addWidget(Frame_nav, 1);
    left->addWidget(frame_cmdNode);
    auto *right = new QVBoxLayout;
    right->addWidget(Frame_optn, 1);
    right->addWidget(frame_cmdDesign);
    auto *columns = new QHBoxLayout;
    columns->addLayout(left, 0);
    columns->addLayout(right, 1);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 4, 4, 0);
    outer->setSpacing(2);
    outer->addLayout(columns, 1);
    outer->addWidget(StsBar);
    Frame_nav->setFixedWidth(twips::toPx(3300));
    frame_cmdNode->setFixedWidth(twips::toPx(3300));

    ppMnu = new QMenu(QStringLiteral("操作弹出"), this);
    ppMnu->setObjectName(QStringLiteral("ppMnu"));
    ppMnu_addCat = makeItem(ppMnu, "ppMnu_addCat", QStringLiteral("添加目录(&C)"));
    ppMnu_addFile = makeItem(ppMnu, "ppMnu_addFile", QStringLiteral("添加文件(&F)"));
    ppMnu_del = makeItem(ppMnu, "ppMnu_del", QStringLiteral("删除(&D)"));
    ppMnu_ren = makeItem(ppMnu, "ppMnu_ren", QStringLiteral("重命名(&R)"));
    ppMnu->addSeparator()->setObjectName(QStringLiteral("ppMnu_lin02"));
    ppMnu_refresh = makeItem(ppMnu, "ppMnu_refresh", QStringLiteral("刷新(&E)"));
    ppMnu->addSeparator()->setObjectName(QStringLiteral("ppMnu_line01"));
    ppMnu_moveUp = makeItem(ppMnu, "ppMnu_moveUp", QStringLiteral("上移一位(&U)"));
    ppMnu_moveDown = makeItem(ppMnu, "ppMnu_moveDown", QStringLiteral("下移一位(&D)"));

    connect(ppMnu_addCat, &QAction::triggered, this, &designFrm::ppMnu_addCat_Click);
    connect(ppMnu_addFile, &QAction::triggered, this, &designFrm::ppMnu_addFile_Click);
    connect(ppMnu_del, &QAction::triggered, this, &designFrm::ppMnu_del_Click);
    connect(ppMnu_ren, &QAction::triggered, this, &designFrm::ppMnu_ren_Click);
    connect(ppMnu_refresh, &QAction::triggered, this, &designFrm::ppMnu_refresh_Click);
    connect(ppMnu_moveUp, &QAction::triggered, this, &designFrm::ppMnu_moveUp_Click);
    connect(ppMnu_moveDown, &QAction::triggered, this, &designFrm::ppMnu_moveDown_Click);
    connect(cmd_addCat, &QPushButton::clicked, this, &designFrm::cmd_addCat_Click);
    connect(cmd_addFile, &QPushButton::clicked, this, &designFrm::cmd_addFile_Click);
    connect(cmd_delNode, &QPushButton::clicked, this, &designFrm::cmd_delNode_Click);
    connect(cmd_ren, &QPushButton::clicked, this, &designFrm::cmd_ren_Click);
    connect(cmd_refresh, &QPushButton::clicked, this, &designFrm::cmd_refresh_Click);
    connect(cmd_up, &QPushButton::clicked, this, &designFrm::cmd_up_Click);
    connect(cmd_down, &QPushButton::clicked, this, &designFrm::cmd_down_Click);
    connect(cmd_mod, &QPushButton::clicked, this, &designFrm::cmd_mod_Click);
    // The current node follows the tree's, whichever way it changes (a click, the
    // keyboard, a reload), and the commands follow the current node.
    connect(tvw_nav, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *current) {
        if (current) {
            m_currentKey = current->data(0, KeyRole).toString();
            gate();
        }
    });

    // Status hints: the mouse entering a button names what it does.
    m_hints = {
        {cmd_addCat, QStringLiteral("在当前目录下添加子目录")},
        {cmd_addFile, QStringLiteral("在当前目录下添加子文件")},
        {cmd_delNode, QStringLiteral("删除当前选中的节点")},
        {cmd_down, QStringLiteral("将当前选中节点的顺序下移一位")},
        {cmd_mod, QStringLiteral("修改当前选中节点的显示格式")},
        {cmd_refresh, QStringLiteral("刷新")},
        {cmd_ren, QStringLiteral("重命名当前选中节点的名称")},
        {cmd_up, QStringLiteral("将当前选中节点顺序的上移一位")},
    };
    for (QObject *b : m_hints.keys())
        b->installEventFilter(this);
    Frame_nav->installEventFilter(this);

    setMinimumSize(twips::toPx(10125), twips::toPx(6200));
    resize(twips::toPx(10125), twips::toPx(6240));
}

bool designFrm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Enter && m_hints.contains(watched)) {
        StsBar_panel1->setText(m_hints.value(watched));
    } else if (watched == Frame_nav && event->type() == QEvent::MouseMove) {
        Frame_nav_MouseMove();
    } else if (watched == tvw_nav->viewport()) {
        if (event->type() == QEvent::MouseButtonPress) {
            auto *me = static_cast<QMouseEvent *>(event);
            // A label being edited is settled first: the item under the mouse is
            // looked up in the tree as it stands afterwards.
            finishLabelEdit();
            if (me->button() == Qt::LeftButton)
                if (QTreeWidgetItem *item = tvw_nav->itemAt(me->position().toPoint()))
                    tvw_nav_NodeClick(item);
        } else if (event->type() == QEvent::MouseButtonRelease) {
            tvw_nav_MouseUp(static_cast<QMouseEvent *>(event)->button());
        }
    }
    return QWidget::eventFilter(watched, event);
}

void designFrm::Form_Load()
{
    try {
        loadTree();
    } catch (const std::exception &e) {
        ui::show(msg::failure(err::descriptionOf(e), ui::vbInformation));
    }
}

void designFrm::Form_Activate()
{
    wb_format->navigate(QStringLiteral("tmplImg/welcome01.htm"));
}

QTreeWidgetItem *designFrm::root() const
{
    return tvw_nav->topLevelItemCount() > 0 ? tvw_nav->topLevelItem(0) : nullptr;
}

QTreeWidgetItem *designFrm::itemByKey(const QString &key) const
{
    if (key.isEmpty())
        return nullptr;
    for (QTreeWidgetItemIterator it(tvw_nav); *it; ++it)
        if ((*it)->data(0, KeyRole).toString() == key)
            return *it;
    return nullptr;
}

QTreeWidgetItem *designFrm::mNode() const
{
    return itemByKey(m_currentKey);
}

void designFrm::fillItem(QTreeWidgetItem *item, const CatalogNode &node)
{
    fillTreeItem(item, node, [this](QTreeWidgetItem *it, const CatalogNode &n) {
        it->setFlags(it->flags() | Qt::ItemIsEditable);
        m_keys.insert(n.key);
    });
}

void designFrm::loadTree()
{
    m_currentKey.clear();
    m_keys.clear();
    tvw_nav->clear();
    const CatalogTree tree = buildCatalogTree(app().conn);
    // A tree read in part would let a name or a place be chosen against what is not
    // shown: it takes no command but a reload, and loads again once it can be read.
    m_loaded = !tree.error;
    auto *rootItem = new QTreeWidgetItem(tvw_nav);
    fillItem(rootItem, tree.root);
    rootItem->setExpanded(true);
    setCurrentNode(rootItem);
    if (tree.error)
        viewloads::failed(this, msg::treeLoadFailed(*tree.error), *tree.error, [this] { reloadTree(); },
                          tree.errorKind);
}

void designFrm::reloadTree()
{
    finishLabelEdit();
    loadTree();
}

void designFrm::setCurrentNode(QTreeWidgetItem *node)
{
    if (!node)
        return;
    m_currentKey = node->data(0, KeyRole).toString();
    tvw_nav->setCurrentItem(node);
    // The change-format dialog left open for a page without a format changes that page:
    // it goes once another node is current, so that it never acts on a page it was not
    // opened for.
    if (const dgnFrm_modFile *open = forms().find<dgnFrm_modFile>();
        open && !open->isModal() && open->targetName() != node->text(0))
        forms().unload<dgnFrm_modFile>();
    gate();
}

NodeRef designFrm::nodeRef(QTreeWidgetItem *node) const
{
    NodeRef ref;
    if (!node)
        return ref;
    ref.level = levelOfKey(node->data(0, KeyRole).toString());
    ref.text = node->text(0);
    const QVariant tag = node->data(0, TagRole);
    if (tag.isValid())
        ref.tag = tag.toBool();
    if (node->parent())
        ref.parentText = node->parent()->text(0);
    return ref;
}

bool designFrm::nodeTextExists(const QString &text) const
{
    for (QTreeWidgetItemIterator it(tvw_nav); *it; ++it)
        if ((*it)->text(0) == text)
            return true;
    return false;
}

QTreeWidgetItem *designFrm::addChildNode(QTreeWidgetItem *parent, Level level, const QString &text, bool category)
{
    CatalogNode node;
    node.key = drawFreeKey(level, m_keys);
    node.text = text;
    node.tag = category;
    node.image = category ? QStringLiteral("fclose") : QStringLiteral("file");
    auto *item = new QTreeWidgetItem(parent);
    fillItem(item, node);
    parent->setExpanded(true);
    notifyCatalogChanged();
    return item;
}

void designFrm::notifyCatalogChanged(const std::optional<Renamed> &renamed)
{
    if (renamed)
        emit columnRenamed(renamed->level, renamed->from, renamed->to);
    emit catalogChanged();
}

void designFrm::right_canvas(const QString &aspFileName)
{
    if (const FormatInfo *f = formatOf(aspFileName)) {
        wb_format->navigate(previewPage(f->key));
        if (!f->status.isEmpty())
            StsBar_panel1->setText(f->status);
        // The change-format dialog works on the current node: only a page's.
        const NodeRef current = nodeRef(mNode());
        cmd_mod->setEnabled(current.level != Level::Root && current.tag == false);
        return;
    }
    dgnFrm_modFile *dlg = forms().get<dgnFrm_modFile>();
    dlg->setModal(false);
    dlg->show();
    dlg->raise();
}

void designFrm::gate()
{
    // A new current node has no preview yet: a page's preview enables the change of
    // format again.
    cmd_mod->setEnabled(false);
    for (QPushButton *b : {cmd_addCat, cmd_addFile, cmd_delNode, cmd_ren, cmd_up, cmd_down})
        b->setEnabled(m_loaded);
    for (QAction *a : {ppMnu_addCat, ppMnu_addFile, ppMnu_del, ppMnu_ren, ppMnu_moveUp, ppMnu_moveDown})
        a->setEnabled(m_loaded);
    QTreeWidgetItem *n = mNode();
    if (!n || !m_loaded)
        return;
    QTreeWidgetItem *parent = n->parent();
    const int pos = parent ? parent->indexOfChild(n) : tvw_nav->indexOfTopLevelItem(n);
    const int count = parent ? parent->childCount() : tvw_nav->topLevelItemCount();
    const bool first = pos <= 0, last = pos >= count - 1;
    ppMnu_moveUp->setEnabled(!first);
    cmd_up->setEnabled(!first);
    ppMnu_moveDown->setEnabled(!last);
    cmd_down->setEnabled(!last);
    const AddGate add = addGate(nodeRef(n));
    ppMnu_addCat->setEnabled(add.category);
    cmd_addCat->setEnabled(add.category);
    ppMnu_addFile->setEnabled(add.page);
    cmd_addFile->setEnabled(add.page);
}

void designFrm::tvw_nav_NodeClick(QTreeWidgetItem *node)
{
    if (node)
        setCurrentNode(node);
}

void designFrm::tvw_nav_MouseUp(Qt::MouseButton button)
{
    try {
        cmd_mod->setEnabled(false);
        if (button == Qt::RightButton) {
            const QList<QTreeWidgetItem *> selected = tvw_nav->selectedItems();
            if (!selected.isEmpty())
                setCurrentNode(selected.first());
        }
        gate();
        QTreeWidgetItem *node = mNode();
        if (button == Qt::LeftButton && node) {
            const NodeRef n = nodeRef(node);
            if (n.level != Level::Root && n.tag == false)
                right_canvas(CatalogStore(app().conn).getAspFileName(n.level, n.text));
        } else if (button == Qt::RightButton) {
            ppMnu->popup(QCursor::pos());
        }
    } catch (const std::exception &e) {
        ui::show(msg::failure(err::descriptionOf(e)));
    }
}

template <class Dialog> void designFrm::openAddDialog(bool AddGate::*allowed)
{
    if (!m_loaded || !finishLabelEdit())
        return;
    if (!(addGate(nodeRef(mNode())).*allowed)) {
        ui::show({QStringLiteral("当前栏目下不能添加该类栏目！"), ui::vbExclamation, QStringLiteral("提示")});
        return;
    }
    forms().showModal<Dialog>();
}

void designFrm::ppMnu_addCat_Click()
{
    openAddDialog<dgnFrm_addCat>(&AddGate::category);
}

void designFrm::ppMnu_addFile_Click()
{
    openAddDialog<dgnFrm_addFile>(&AddGate::page);
}

void designFrm::cmd_mod_Click()
{
    if (!m_loaded || !finishLabelEdit())
        return;
    if (dgnFrm_modFile *open = forms().find<dgnFrm_modFile>(); open && open->isVisible()) {
        open->raise();
        open->activateWindow();
        return;
    }
    forms().showModal<dgnFrm_modFile>();
}

void designFrm::ppMnu_del_Click()
{
    if (!m_loaded || !finishLabelEdit() || !mNode())
        return;
    const QString key = m_currentKey;
    const NodeRef n = nodeRef(mNode());
    if (n.level == Level::Root) {
        ui::show(msg::deleteRoot());
        return;
    }
    if (ui::show(msg::confirmDelete(n.text)) != ui::vbOK)
        return;
    // The question ran an event loop: the node is looked up again, and must still be
    // the one the question named.
    QTreeWidgetItem *gone = itemByKey(key);
    if (!gone || gone->text(0) != n.text)
        return;
    try {
        CatalogStore(app().conn).deleteCatalog(n.level, n.text);
    } catch (const std::exception &e) {
        recover(e);
        return;
    }
    setCurrentNode(root());
    forgetKeys(gone);
    delete gone;
    notifyCatalogChanged();
}

void designFrm::ppMnu_moveUp_Click()
{
    move(false);
}

void designFrm::ppMnu_moveDown_Click()
{
    move(true);
}

void designFrm::move(bool down)
{
    if (!m_loaded || !finishLabelEdit())
        return;
    QTreeWidgetItem *node = mNode();
    if (!node)
        return;
    QTreeWidgetItem *parent = node->parent();
    const NodeRef n = nodeRef(node);
    if (n.level == Level::Root || !parent) {
        ui::show(msg::moveRoot());
        return;
    }
    const int sibling = parent->indexOfChild(node) + (down ? 1 : -1);
    if (sibling < 0 || sibling >= parent->childCount())
        return;
    const QString siblingName = parent->child(sibling)->text(0);
    CatalogStore store(app().conn);
    if (const auto refusal = swapOrder(store, n.level, n.text, siblingName)) {
        ui::show(*refusal);
        return;
    }
    try {
        loadTree();
    } catch (const std::exception &e) {
        recover(e);
        return;
    }
    notifyCatalogChanged();
}

void designFrm::ppMnu_refresh_Click()
{
    if (!finishLabelEdit())
        return;
    try {
        loadTree();
    } catch (const std::exception &e) {
        recover(e);
    }
}

void designFrm::ppMnu_ren_Click()
{
    if (!m_loaded || !finishLabelEdit() || !mNode())
        return;
    if (nodeRef(mNode()).level == Level::Root) {
        ui::show(msg::renameRoot());
        return;
    }
    tvw_nav_BeforeLabelEdit();
    tvw_nav->editItem(mNode(), 0);
}

void designFrm::tvw_nav_BeforeLabelEdit()
{
    m_edit = LabelEdit{m_currentKey, nodeRef(mNode())};
    m_editText.reset();
}

void designFrm::labelEditCommitted(const QString &text)
{
    m_editText = text;
    // Applied once the editor has closed, unless a command settles it first.
    QPointer<designFrm> self(this);
    QTimer::singleShot(0, this, [self] {
        if (self)
            self->finishLabelEdit();
    });
}

void designFrm::labelEditorClosed()
{
    m_editor = nullptr;
    // Closed without a commit (Escape, or the tree reloaded under it): cancelled.
    if (!m_editText)
        m_edit.reset();
}

bool designFrm::finishLabelEdit()
{
    if (QLineEdit *open = m_editor) {
        // Still open: its text is taken as if Enter had been pressed.
        m_editText = open->text();
        m_editor = nullptr;
        emit tvw_nav->itemDelegate()->closeEditor(open, QAbstractItemDelegate::NoHint);
    }
    if (!m_edit || !m_editText) {
        m_edit.reset();
        m_editText.reset();
        return true;
    }
    return renameEdited(*m_editText);
}

void designFrm::tvw_nav_AfterLabelEdit(const QString &newText)
{
    renameEdited(newText);
}

bool designFrm::renameEdited(QString newText)
{
    // The text is a copy: the committed text it may come from is cleared below.
    const std::optional<LabelEdit> edit = m_edit;
    m_edit.reset();
    m_editText.reset();
    if (!edit || edit->node.level == Level::Root)
        return true;
    CatalogStore store(app().conn);
    const RenameResult r =
        renameColumn(store, edit->node.level, edit->node.text, newText, nodeTextExists(newText));
    if (r.outcome == RenameOutcome::Renamed) {
        QTreeWidgetItem *item = itemByKey(edit->key);
        const bool inPlace = item && item->text(0) == edit->node.text;
        if (inPlace)
            item->setText(0, newText);
        else
            ppMnu_refresh_Click(); // the tree changed meanwhile: show what is stored
        notifyCatalogChanged(Renamed{edit->node.level, edit->node.text, newText});
        return inPlace;
    }
    ui::show(*r.message);
    try {
        loadTree();
    } catch (const std::exception &e) {
        recover(e);
    }
    return false;
}

void designFrm::forgetKeys(QTreeWidgetItem *node)
{
    m_keys.remove(node->data(0, KeyRole).toString());
    for (int i = 0; i < node->childCount(); ++i)
        forgetKeys(node->child(i));
}

void designFrm::Frame_nav_MouseMove()
{
    StsBar_panel1->setText(QString());
}

void designFrm::recover(const std::exception &e)
{
    ui::show(msg::failure(err::descriptionOf(e)));
    try {
        loadTree();
    } catch (const std::exception &) {
    }
}
