#pragma once
// What the notice and chat windows share: the message pane on msg.htm, and the text
// the server sent while the page was still loading, shown at the second tick.

#include "platform/browserpane.h"
#include "platform/formregistry.h"

#include <QTimer>
#include <QWidget>

class ServerTextWindow : public QWidget, public IForm {
    Q_OBJECT
public:
    explicit ServerTextWindow(QWidget *parent = nullptr);

    void Form_Load() override;
    void Timer1_Timer();

    // Shows the window without modality and adds a server text: at once when the page
    // has had its time, else at the second tick (a later text replaces a waiting one).
    void deliver(const QString &text);

    // A server text waiting for the page.
    QString serverMSG;
    // Ticks of Timer1 since the window loaded; above 0 the page is ready.
    int timerLong = 0;

    IBrowserPane *webBer = nullptr;
    QTimer *Timer1 = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    // Makes the pane; the page's own scripts never run (server HTML).
    void makePane(QWidget *frame);

private:
    bool m_placed = false;
};
