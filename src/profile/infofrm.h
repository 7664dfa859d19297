#pragma once
#include "shell/artwork.h"
#include "shell/placeholderview.h"

// The basic-information view.
class infoFrm : public PlaceholderView {
    Q_OBJECT
public:
    static constexpr FormKind kKind = FormKind::MdiView;
    explicit infoFrm(QWidget *parent = nullptr)
        : PlaceholderView(QStringLiteral("基本信息"), parent)
    {
        setWindowIcon(artwork::toolIcon(2));
        setObjectName(QStringLiteral("infoFrm"));
    }
};
