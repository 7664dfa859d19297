#include "publish/dlgfrm.h"

#include "core/appcontext.h"
#include "publish/chathtml.h"
#include "publish/serverlink.h"
#include "publish/updatafrm.h"
#include "ui/dialogparts.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

dlgFrm::dlgFrm(QWidget *parent)
    : ServerTextWindow(parent)
{
    setObjectName(QStringLiteral("dlgFrm"));
    setWindowTitle(QStringLiteral("咨询台"));

    Frame1 = new QGroupBox(QStringLiteral("咨询纪录"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    makePane(Frame1);
    auto *log = new QVBoxLayout(Frame1);
    log->setContentsMargins(4, 4, 4, 4);
    log->addWidget(webBer->widget());

    Frame2 = new QGroupBox(QStringLiteral("发送消息"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    txt_msg = dialogparts::textBox(Frame2, "txt_msg");
    txt_msg->installEventFilter(this);
    auto *send = new QVBoxLayout(Frame2);
    send->setContentsMargins(4, 4, 4, 4);
    send->addWidget(txt_msg);
    Frame2->setFixedHeight(96);

    OKButton = dialogparts::button(this, "OKButton", QStringLiteral("发送"));
    CancelButton = dialogparts::button(this, "CancelButton", QStringLiteral("取消"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(8, 8, 8, 8);
    outer->addWidget(Frame1, 1);
    outer->addWidget(Frame2);
    outer->addLayout(buttons);

    connect(OKButton, &QPushButton::clicked, this, &dlgFrm::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &dlgFrm::CancelButton_Click);
    resize(480, 420);
}

void dlgFrm::OKButton_Click()
{
    auto say = [](const QString &text) { ui::msgBox(text, ui::vbInformation, QStringLiteral("提示")); };
    const QString text = textforms::toStoredLines(txt_msg->toPlainText());
    updataFrm *view = forms().find<updataFrm>();
    publish::ServerLink *link = view ? view->link() : nullptr;
    if (text.isEmpty()) {
        say(QStringLiteral("请输入要发送的消息！"));
        return;
    }
    // From the offer to the end of the transfer the server takes what comes for the archive.
    if (link && link->transferring()) {
        ui::show(publish::busyUploading());
        return;
    }
    if (text.size() >= kMaxChars) {
        say(QStringLiteral("最大字符两位128"));
        return;
    }
    if (!link || !link->isConnected()) {
        say(QStringLiteral("还没和服务器建立连接"));
        return;
    }
    const QString stored = app().encode(text);
    if (const auto failure = link->sendMsg(publish::message::talk(stored))) {
        ui::show(*failure);
        return;
    }
    publish::appendChatHtml(webBer, publish::kOwnLabel, stored);
    txt_msg->clear();
    txt_msg->setFocus();
}

void dlgFrm::CancelButton_Click()
{
    forms().unload<dlgFrm>();
}

bool dlgFrm::txt_msg_KeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    if ((key != Qt::Key_Return && key != Qt::Key_Enter)
        || (modifiers & ~Qt::KeypadModifier) != Qt::ControlModifier)
        return false;
    OKButton_Click();
    return true;
}

bool dlgFrm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txt_msg && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        // Taken whole: no line break is left behind in the box.
        if (txt_msg_KeyDown(key->key(), key->modifiers()))
            return true;
    }
    return ServerTextWindow::eventFilter(watched, event);
}
