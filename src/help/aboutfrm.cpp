#include "help/aboutfrm.h"

#include "core/twips.h"
#include "core/version.h"
#include "help/skinart.h"

#include <QResizeEvent>

namespace about {

QString messageText()
{
    return QStringList{
        QStringLiteral("欢迎使用Quorvik自动建站软件"),
        QString(),
        QStringLiteral("版本号：Ver") + kVersionText,
        QString(),
        QStringLiteral("Quorvik自动建站系列软件"),
        QString(),
        QStringLiteral("版权所有，保留一切权利。"),
    }.join(QStringLiteral("\r\n"));
}

} // namespace about

aboutFrm::aboutFrm(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("aboutFrm"));
    // A window of its own without the window system's frame: the canvas draws it.
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);

    canvas = new xp_canvas(this, QStringLiteral("canvas"));
    winCloseBtn = new windowBox(canvas, QStringLiteral("winCloseBtn"));
    img_logo = new QLabel(canvas);
    img_logo->setObjectName(QStringLiteral("img_logo"));
    img_logo->setPixmap(skinart::aboutLogo());
    img_logo->setFixedSize(100, 79);
    lbl_msg = new QLabel(canvas);
    lbl_msg->setObjectName(QStringLiteral("lbl_msg"));
    lbl_msg->setFixedSize(twips::toPx(3900), twips::toPx(2010));
    lbl_msg->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lbl_msg->setWordWrap(true);
    lbl_msg->setTextFormat(Qt::PlainText);
    cmd_cancel = new cmdBtn(canvas, QStringLiteral("cmd_cancel"));
    cmd_cancel->resize(twips::toPx(1005), twips::toPx(360));

    connect(winCloseBtn, &windowBox::Click, this, &aboutFrm::winCloseBtn_Click);
    connect(cmd_cancel, &cmdBtn::Click, this, &aboutFrm::cmd_cancel_Click);

    // Its controls lie where the design puts them: it never gets smaller than the design.
    const QSize design(twips::toPx(6360), twips::toPx(3900));
    setMinimumSize(design);
    resize(design);
}

void aboutFrm::Form_Load()
{
    canvas->setCaption(QStringLiteral("关于Quorvik"));
    cmd_cancel->setCaption(QStringLiteral("关闭"));
    QPalette pal = lbl_msg->palette();
    pal.setColor(QPalette::Window, QColor::fromRgb(skin::kSurfaceRgb));
    lbl_msg->setPalette(pal);
    lbl_msg->setAutoFillBackground(true);
    // A label shows CR LF as one line break.
    lbl_msg->setText(about::messageText().replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    // Over the middle of the main window.
    if (const QWidget *owner = parentWidget()) {
        const QRect area = owner->geometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    Form_Resize();
}

void aboutFrm::Form_Resize()
{
    const int w = width();
    const int h = height();
    canvas->setGeometry(0, 0, w, h);
    winCloseBtn->move(w - twips::toPx(400), twips::toPx(70));
    img_logo->move(twips::toPx(600), twips::toPx(800));
    lbl_msg->move(img_logo->x() + img_logo->width() + twips::toPx(200), twips::toPx(1000));
    cmd_cancel->move(w - cmd_cancel->width() - twips::toPx(400), h - cmd_cancel->height() - twips::toPx(300));
}

void aboutFrm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void aboutFrm::winCloseBtn_Click(int, int, float, float)
{
    forms().unloadWidget(this);
}

void aboutFrm::cmd_cancel_Click()
{
    forms().unloadWidget(this);
}
