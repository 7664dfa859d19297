#pragma once
#include "shell/placeholderview.h"

// The chat window with the server's administrator.
class dlgFrm : public PlaceholderView {
    Q_OBJECT
public:
    static constexpr FormKind kKind = FormKind::TopLevel;
    explicit dlgFrm(QWidget *parent = nullptr)
        : PlaceholderView(QStringLiteral("咨询台"), parent, QSize(480, 360))
    {
        setObjectName(QStringLiteral("dlgFrm"));
    }
};
