#pragma once
// The server notice window: the notice the server sends in answer to the version
// request, and the choice to keep it away for 14 days.

#include "publish/servertextwindow.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>

class verFrm : public ServerTextWindow {
    Q_OBJECT
public:
    static constexpr FormKind kKind = FormKind::TopLevel;
    explicit verFrm(QWidget *parent = nullptr);

    void chk_ver_Click();
    void CancelButton_Click();

    QGroupBox *Frame1 = nullptr;
    QCheckBox *chk_ver = nullptr;
    QPushButton *CancelButton = nullptr;
};
