#include "publish/servertextwindow.h"

#include "publish/chathtml.h"
#include "platform/appcontext.h"

ServerTextWindow::ServerTextWindow(QWidget *parent)
    : QWidget(parent)
{
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &ServerTextWindow::Timer1_Timer);
}

void ServerTextWindow::makePane(QWidget *frame)
{
    webBer = makeBrowserPane(frame, PaneOptions{.pageScripts = false});
    webBer->widget()->setObjectName(QStringLiteral("webBer"));
}

void ServerTextWindow::showEvent(QShowEvent *event)
{
    // First shown centred over the main window.
    if (!m_placed && parentWidget()) {
        m_placed = true;
        const QRect owner = parentWidget()->window()->frameGeometry();
        move(owner.center() - QPoint(width() / 2, height() / 2));
    }
    QWidget::showEvent(event);
}

void ServerTextWindow::Form_Load()
{
    timerLong = 0;
    webBer->navigate(app().currentPath + QStringLiteral("msg.htm"));
}

void ServerTextWindow::Timer1_Timer()
{
    ++timerLong;
    if (timerLong == 2) {
        publish::appendChatHtml(webBer, publish::kServerWho, serverMSG);
        Timer1->stop();
    }
}

void ServerTextWindow::deliver(const QString &text)
{
    forms().showOnly(this);
    if (timerLong > 0) {
        publish::appendChatHtml(webBer, publish::kServerWho, text);
    } else {
        serverMSG = text;
        Timer1->start();
    }
}
