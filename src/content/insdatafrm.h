#pragma once
#include "shell/placeholderview.h"

// The data-entry view.
class insDataFrm : public PlaceholderView {
    Q_OBJECT
public:
    static constexpr FormKind kKind = FormKind::MdiView;
    explicit insDataFrm(QWidget *parent = nullptr)
        : PlaceholderView(QStringLiteral("录入数据"), parent)
    {
        setObjectName(QStringLiteral("insDataFrm"));
    }
};
