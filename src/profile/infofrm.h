#pragma once
#include "shell/placeholderview.h"

// The basic-information view.
class infoFrm : public PlaceholderView {
    Q_OBJECT
public:
    static constexpr FormKind kKind = FormKind::MdiView;
    explicit infoFrm(QWidget *parent = nullptr)
        : PlaceholderView(QStringLiteral("基本信息"), parent)
    {
        setObjectName(QStringLiteral("infoFrm"));
    }
};
