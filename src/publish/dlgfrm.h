#pragma once
// The chat window with the server's administrator: the conversation, newest first,
// and the box for the user's own message (Ctrl+Enter sends).

#include "publish/servertextwindow.h"

#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>

class dlgFrm : public ServerTextWindow {
    Q_OBJECT
public:
    static constexpr FormKind kKind = FormKind::TopLevel;
    explicit dlgFrm(QWidget *parent = nullptr);

    // A chat text must stay below this many characters (CR LF counting two).
    static constexpr int kMaxChars = 128;

    void OKButton_Click();
    void CancelButton_Click();
    // Ctrl+Enter (Ctrl alone) sends; true when the key was taken.
    bool txt_msg_KeyDown(int key, Qt::KeyboardModifiers modifiers);

    QGroupBox *Frame1 = nullptr;
    QGroupBox *Frame2 = nullptr;
    QPlainTextEdit *txt_msg = nullptr;
    QPushButton *OKButton = nullptr;
    QPushButton *CancelButton = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
