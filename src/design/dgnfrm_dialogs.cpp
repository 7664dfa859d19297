#include "design/dgnfrm_dialogs.h"

#include "core/appcontext.h"
#include "core/twips.h"
#include "design/designactions.h"
#include "design/designfrm.h"
#include "ui/dialogparts.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace design;
using dialogparts::button;
using dialogparts::buttonRow;
using dialogparts::unloadOnFinish;

namespace {

QScrollBar *gridScrollBar(QWidget *parent, FormatGrid *grid)
{
    auto *bar = new QScrollBar(Qt::Vertical, parent);
    bar->setObjectName(QStringLiteral("vscrl"));
    bar->setMinimum(0);
    bar->setMaximum(grid->scrollMaximum());
    bar->setSingleStep(150);
    bar->setPageStep(FormatGrid::kViewHeight / 2);
    bar->setFixedHeight(twips::toPx(FormatGrid::kViewHeight));
    grid->setScrollBar(bar);
    return bar;
}

designFrm *view()
{
    return forms().find<designFrm>();
}

// Adds what the dialog's name box names under the design view's chosen node: `add`
// stores it, then it shows in the tree and the dialog closes; refused, the dialog says
// why and stays, the name box keeping the focus when asked.
template <class Add> void confirmAdd(QDialog &dialog, QLineEdit *nameBox, bool category, Add add)
{
    designFrm *v = view();
    if (!v || !v->mNode())
        return;
    const QString name = nameBox->text();
    CatalogStore store(app().conn);
    const AddResult r = add(store, v->nodeRef(v->mNode()), name, v->nodeTextExists(name));
    if (!r.stored) {
        if (r.message)
            ui::show(*r.message);
        if (r.focusName)
            nameBox->setFocus();
        return;
    }
    v->addChildNode(v->mNode(), r.childLevel, name, category);
    dialog.accept();
}

} // namespace

dgnFrm_addCat::dgnFrm_addCat(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("dgnFrm_addCat"));
    setWindowTitle(QStringLiteral("添加目录"));
    add_catOrFile = new QGroupBox(this);
    add_catOrFile->setObjectName(QStringLiteral("add_catOrFile"));
    Label1 = new QLabel(QStringLiteral("目录名称："), add_catOrFile);
    Label1->setObjectName(QStringLiteral("Label1"));
    txt_name = new QLineEdit(add_catOrFile);
    txt_name->setObjectName(QStringLiteral("txt_name"));
    auto *frameLayout = new QHBoxLayout(add_catOrFile);
    frameLayout->addWidget(Label1);
    frameLayout->addWidget(txt_name, 1);
    cmd_cfm = button(this, "cmd_cfm", QStringLiteral("确定"));
    cmd_cnl = button(this, "cmd_cnl", QStringLiteral("取消"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(add_catOrFile);
    layout->addLayout(buttonRow(cmd_cfm, cmd_cnl, dialogparts::EnterKey::PressesOk));
    connect(cmd_cfm, &QPushButton::clicked, this, &dgnFrm_addCat::cmd_cfm_Click);
    connect(cmd_cnl, &QPushButton::clicked, this, &dgnFrm_addCat::cmd_cnl_Click);
    unloadOnFinish(this);
    setMinimumWidth(360);
}

void dgnFrm_addCat::cmd_cfm_Click()
{
    confirmAdd(*this, txt_name, true, addCategory);
}

void dgnFrm_addCat::cmd_cnl_Click()
{
    reject();
}

dgnFrm_addFile::dgnFrm_addFile(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("dgnFrm_addFile"));
    setWindowTitle(QStringLiteral("添加文件"));
    add_catOrFile = new QGroupBox(this);
    add_catOrFile->setObjectName(QStringLiteral("add_catOrFile"));
    Label1 = new QLabel(QStringLiteral("文件名称："), add_catOrFile);
    Label1->setObjectName(QStringLiteral("Label1"));
    txt_name = new QLineEdit(add_catOrFile);
    txt_name->setObjectName(QStringLiteral("txt_name"));
    Picture1 = new FormatGrid(FormatGrid::Variant::AddFile, add_catOrFile);
    vscrl = gridScrollBar(add_catOrFile, Picture1);
    auto *nameRow = new QHBoxLayout;
    nameRow->addWidget(Label1);
    nameRow->addWidget(txt_name, 1);
    auto *gridRow = new QHBoxLayout;
    gridRow->setSpacing(0);
    gridRow->addWidget(Picture1);
    gridRow->addWidget(vscrl);
    auto *frameLayout = new QVBoxLayout(add_catOrFile);
    frameLayout->addLayout(nameRow);
    frameLayout->addLayout(gridRow);
    cmd_cfm = button(this, "cmd_cfm", QStringLiteral("确定"));
    cmd_cnl = button(this, "cmd_cnl", QStringLiteral("取消"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(add_catOrFile);
    layout->addLayout(buttonRow(cmd_cfm, cmd_cnl, dialogparts::EnterKey::PressesOk));
    connect(vscrl, &QScrollBar::valueChanged, this, &dgnFrm_addFile::vscrl_Change);
    connect(cmd_cfm, &QPushButton::clicked, this, &dgnFrm_addFile::cmd_cfm_Click);
    connect(cmd_cnl, &QPushButton::clicked, this, &dgnFrm_addFile::cmd_cnl_Click);
    unloadOnFinish(this);
}

void dgnFrm_addFile::cmd_cfm_Click()
{
    confirmAdd(*this, txt_name, false,
               [this](CatalogStore &store, const NodeRef &parent, const QString &name, bool taken) {
                   return addPage(store, parent, name, Picture1->chosenFormat(), taken);
               });
}

void dgnFrm_addFile::cmd_cnl_Click()
{
    reject();
}

dgnFrm_modFile::dgnFrm_modFile(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("dgnFrm_modFile"));
    setWindowTitle(QStringLiteral("修改显示模式"));
    Picture1 = new FormatGrid(FormatGrid::Variant::ModFile, this);
    vscrl = gridScrollBar(this, Picture1);
    vscrl->installEventFilter(this);
    cmd_cfm = button(this, "cmd_cfm", QStringLiteral("确定"));
    cmd_cnl = button(this, "cmd_cnl", QStringLiteral("取消"));
    auto *grid = new QHBoxLayout;
    grid->addWidget(Picture1);
    grid->addWidget(vscrl);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttonRow(cmd_cfm, cmd_cnl, dialogparts::EnterKey::PressesOk));
    connect(vscrl, &QScrollBar::valueChanged, this, &dgnFrm_modFile::vscrl_Change);
    connect(cmd_cfm, &QPushButton::clicked, this, &dgnFrm_modFile::cmd_cfm_Click);
    connect(cmd_cnl, &QPushButton::clicked, this, &dgnFrm_modFile::cmd_cnl_Click);
    unloadOnFinish(this);
}

void dgnFrm_modFile::Form_Load()
{
    if (designFrm *v = view(); v && v->mNode()) {
        const NodeRef n = v->nodeRef(v->mNode());
        m_level = n.level;
        m_name = n.text;
    }
}

bool dgnFrm_modFile::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == vscrl && event->type() == QEvent::FocusIn)
        vscrl_GotFocus();
    return QDialog::eventFilter(watched, event);
}

void dgnFrm_modFile::cmd_cfm_Click()
{
    const QString format = Picture1->chosenFormat();
    CatalogStore store(app().conn);
    const FormatResult r = changeFormat(store, m_level, m_name, format);
    if (r.message)
        ui::show(*r.message);
    designFrm *v = view();
    switch (r.outcome) {
    case FormatOutcome::Refused:
    case FormatOutcome::Failed:
        return;
    case FormatOutcome::Unchanged:
        if (v)
            v->right_canvas(format);
        break;
    case FormatOutcome::Changed:
        if (v) {
            v->right_canvas(format);
            v->notifyCatalogChanged();
        }
        break;
    case FormatOutcome::PageMissing:
        if (v)
            v->reloadTree();
        break;
    }
    accept();
}

void dgnFrm_modFile::cmd_cnl_Click()
{
    reject();
}
