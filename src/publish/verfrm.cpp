#include "publish/verfrm.h"

#include "core/appcontext.h"
#include "profile/profilestore.h"
#include "ui/dialogparts.h"
#include "ui/prompter.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

verFrm::verFrm(QWidget *parent)
    : ServerTextWindow(parent)
{
    setObjectName(QStringLiteral("verFrm"));
    setWindowTitle(QStringLiteral("系统公告"));

    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    makePane(Frame1);
    auto *frameLayout = new QVBoxLayout(Frame1);
    frameLayout->setContentsMargins(4, 4, 4, 4);
    frameLayout->addWidget(webBer->widget());

    chk_ver = new QCheckBox(QStringLiteral("不再显示"), this);
    chk_ver->setObjectName(QStringLiteral("chk_ver"));
    CancelButton = dialogparts::button(this, "CancelButton", QStringLiteral("关闭"));

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(chk_ver);
    buttons->addStretch();
    buttons->addWidget(CancelButton);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(8, 8, 8, 8);
    outer->addWidget(Frame1, 1);
    outer->addLayout(buttons);

    connect(chk_ver, &QCheckBox::clicked, this, &verFrm::chk_ver_Click);
    connect(CancelButton, &QPushButton::clicked, this, &verFrm::CancelButton_Click);
    resize(480, 360);
}

void verFrm::chk_ver_Click()
{
    try {
        profile::ProfileStore(app().conn)
            .setColumn(QStringLiteral("field06"), profile::encodeNotice(chk_ver->isChecked(), QDate::currentDate()));
    } catch (const std::exception &e) {
        ui::msgBox(err::descriptionOf(e), ui::vbInformation, QStringLiteral("提示"));
    }
}

void verFrm::CancelButton_Click()
{
    forms().unload<verFrm>();
}
