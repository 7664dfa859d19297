#include "profile/slttmpl_previews.h"

#include "core/appcontext.h"
#include "core/twips.h"
#include "profile/previewpages.h"
#include "profile/slttmpl_pickers.h"
#include "ui/dialogparts.h"

using namespace profile;

namespace {

// A preview's pane and its one button below it; sizes in twips.
IBrowserPane *buildPreview(QDialog *dlg, QSize client, const char *paneName, QSize pane, QPushButton *&cancel,
                           const QString &caption)
{
    dlg->setFixedSize(twips::rect(0, 0, client.width(), client.height()).size());
    // Pages shown here are the user's own or pictures: no page script runs.
    IBrowserPane *p = makeBrowserPane(dlg);
    p->widget()->setObjectName(QString::fromLatin1(paneName));
    p->widget()->setGeometry(twips::rect(0, 0, pane.width(), pane.height()));
    cancel = dialogparts::button(dlg, "CancelButton", caption,
                             twips::rect(client.width() - 1290, pane.height() + (client.height() - pane.height() - 420) / 2,
                                         1170, 420));
    cancel->setDefault(true);
    return p;
}

// Shows why a preview cannot open, and closes it.
void refuse(QDialog *dlg, const ui::Message &m)
{
    ui::show(m);
    forms().unloadWidget(dlg);
}

} // namespace

sltTmplFrm_view::sltTmplFrm_view(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("sltTmplFrm_view"));
    setWindowTitle(QStringLiteral("查看首页"));
    wb_view = buildPreview(this, {11085, 6660}, "wb_view", {11070, 5940}, CancelButton, QStringLiteral("关闭"));
    connect(CancelButton, &QPushButton::clicked, this, &sltTmplFrm_view::CancelButton_Click);
}

void sltTmplFrm_view::Form_Load()
{
    const PreviewPage page = homePagePreview(app().conn, app().currImgPath);
    if (page.message)
        refuse(this, *page.message);
    else
        wb_view->navigate(page.navigate);
}

sltTmplFrm_viewHead::sltTmplFrm_viewHead(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("sltTmplFrm_viewHead"));
    setWindowTitle(QStringLiteral("查看内页头文件"));
    wb_view = buildPreview(this, {11745, 2925}, "wb_view", {11730, 2145}, CancelButton, QStringLiteral("关闭"));
    connect(CancelButton, &QPushButton::clicked, this, &sltTmplFrm_viewHead::CancelButton_Click);
}

void sltTmplFrm_viewHead::Form_Load()
{
    wb_view->navigate(QStringLiteral("about:blank"));
    const PreviewPage page = headPreview(app().conn, app().currImgPath);
    if (page.message) {
        refuse(this, *page.message);
        return;
    }
    for (const QString &piece : page.pieces)
        wb_view->write(piece);
}

sltTmplFrm_viewTmpl::sltTmplFrm_viewTmpl(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("sltTmplFrm_viewTmpl"));
    setWindowTitle(QStringLiteral("浏览模板"));
    wb_view11 = buildPreview(this, {11820, 7140}, "wb_view11", {11805, 6390}, CancelButton, QStringLiteral("取消"));
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(50);
    connect(Timer1, &QTimer::timeout, this, &sltTmplFrm_viewTmpl::Timer1_Timer);
    connect(CancelButton, &QPushButton::clicked, this, &sltTmplFrm_viewTmpl::CancelButton_Click);
}

void sltTmplFrm_viewTmpl::Form_Load()
{
    wb_view11->navigate(QStringLiteral("about:blank"));
    m_ticks = 0;
    Timer1->start();
}

void sltTmplFrm_viewTmpl::Timer1_Timer()
{
    ++m_ticks;
    if (m_ticks < 2)
        return;
    Timer1->stop();
    // The home-page picker says when the preview is its own.
    TemplatePicker *picker = nullptr;
    if (auto *home = forms().find<sltTmplFrm_defaultTmpl>(); home && home->BdefaultTmpl)
        picker = home;
    else
        picker = forms().find<sltTmplFrm_headTmpl>();
    if (picker)
        showTmpl(picker->tmpl1);
}

void sltTmplFrm_viewTmpl::showTmpl(const QList<tmpl *> &thumbnails)
{
    QString value;
    for (const tmpl *t : thumbnails)
        if (t->selected() == 1) {
            value = t->value();
            break;
        }
    for (const QString &piece : templatePreview(app().currentPath, value))
        wb_view11->write(piece);
}
