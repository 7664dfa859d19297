#pragma once
#include "shell/placeholderview.h"

// The About box.
class aboutFrm : public PlaceholderView {
    Q_OBJECT
public:
    static constexpr FormKind kKind = FormKind::TopLevel;
    explicit aboutFrm(QWidget *parent = nullptr)
        : PlaceholderView(QStringLiteral("关于Quorvik"), parent, QSize(424, 260))
    {
        setObjectName(QStringLiteral("aboutFrm"));
    }
};
