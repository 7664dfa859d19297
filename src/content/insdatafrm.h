#pragma once
#include "shell/artwork.h"
#include "shell/placeholderview.h"

// The data-entry view.
class insDataFrm : public PlaceholderView {
    Q_OBJECT
public:
    static constexpr FormKind kKind = FormKind::MdiView;
    explicit insDataFrm(QWidget *parent = nullptr)
        : PlaceholderView(QStringLiteral("录入数据"), parent)
    {
        setWindowIcon(artwork::toolIcon(5));
        setObjectName(QStringLiteral("insDataFrm"));
    }
    // The design view changed the column tree: reload this view's copy of it.
    void catalogChanged() {}
};
