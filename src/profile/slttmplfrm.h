#pragma once
#include "shell/artwork.h"
#include "shell/placeholderview.h"

// The template and page-style view.
class sltTmplFrm : public PlaceholderView {
    Q_OBJECT
public:
    static constexpr FormKind kKind = FormKind::MdiView;
    explicit sltTmplFrm(QWidget *parent = nullptr)
        : PlaceholderView(QStringLiteral("选择模版"), parent)
    {
        setWindowIcon(artwork::toolIcon(3));
        setObjectName(QStringLiteral("sltTmplFrm"));
    }
};
