#pragma once
#include "shell/placeholderview.h"

// The column design view.
class designFrm : public PlaceholderView {
    Q_OBJECT
public:
    static constexpr FormKind kKind = FormKind::MdiView;
    explicit designFrm(QWidget *parent = nullptr)
        : PlaceholderView(QStringLiteral("设计栏目"), parent)
    {
        setObjectName(QStringLiteral("designFrm"));
    }
};
