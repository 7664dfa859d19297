#pragma once
#include "shell/artwork.h"
#include "shell/placeholderview.h"

// The help guide view.
class guidFrm : public PlaceholderView {
    Q_OBJECT
public:
    static constexpr FormKind kKind = FormKind::MdiView;
    explicit guidFrm(QWidget *parent = nullptr)
        : PlaceholderView(QStringLiteral("用法指南"), parent)
    {
        setWindowIcon(artwork::toolIcon(1));
        setObjectName(QStringLiteral("guidFrm"));
    }
};
