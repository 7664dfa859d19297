#pragma once
#include "shell/placeholderview.h"

// The server notice window.
class verFrm : public PlaceholderView {
    Q_OBJECT
public:
    static constexpr FormKind kKind = FormKind::TopLevel;
    explicit verFrm(QWidget *parent = nullptr)
        : PlaceholderView(QStringLiteral("系统公告"), parent, QSize(480, 360))
    {
        setObjectName(QStringLiteral("verFrm"));
    }
};
