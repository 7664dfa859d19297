#include "publish/servertextwindow.h"

#include "core/appcontext.h"
#include "publish/chathtml.h"

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
    webBer = makeBrowserPane(frame, PaneOptions{.pageScripts = false, .lockedToPage = true});
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
        showWaiting();
        Timer1->stop();
    }
}

void ServerTextWindow::showWaiting()
{
    while (!serverMSG.isEmpty())
        publish::appendChatHtml(webBer, publish::kServerWho, serverMSG.takeFirst());
}

void ServerTextWindow::deliver(const QString &text)
{
    forms().showOnly(this);
    serverMSG << text;
    // Texts still waiting go first: none overtakes another.
    if (timerLong > 0)
        showWaiting();
    else if (!Timer1->isActive())
        Timer1->start();
}

namespace publish {

void appendChatHtml(IBrowserPane *pane, const QString &who, const QString &text)
{
    if (!pane)
        return;
    pane->prependInnerHTML(QStringLiteral("msg"), chatHtml(who, text, QDateTime::currentDateTime()));
}

} // namespace publish
