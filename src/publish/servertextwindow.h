#pragma once
// What the notice and chat windows share: the message pane on msg.htm, locked to that
// page, and the texts the server sent while the page was still loading, shown in the
// order they came at the second tick.

#include "ui/browserpane.h"
#include "ui/formregistry.h"

#include <QStringList>
#include <QTimer>
#include <QWidget>

class ServerTextWindow : public QWidget, public IForm {
    Q_OBJECT
public:
    explicit ServerTextWindow(QWidget *parent = nullptr);

    void Form_Load() override;
    void Timer1_Timer();

    // Shows the window without modality and adds a server text: at once when the page
    // has had its time, else at the second tick. Texts are shown first in, first out.
    void deliver(const QString &text);

    // Server texts waiting for the page, oldest first.
    QStringList serverMSG;
    // Ticks of Timer1 since the window loaded; above 0 the page is ready.
    int timerLong = 0;

    IBrowserPane *webBer = nullptr;
    QTimer *Timer1 = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    // Makes the pane; the page's own scripts never run and it never leaves msg.htm
    // (server HTML).
    void makePane(QWidget *frame);

private:
    // Shows the waiting texts, oldest first.
    void showWaiting();
    bool m_placed = false;
};

namespace publish {
// Puts one message above the others in the pane's element "msg" (nothing when the
// page has no such element).
void appendChatHtml(IBrowserPane *pane, const QString &who, const QString &text);
} // namespace publish
