#pragma once
#include "shell/placeholderview.h"

// The upload view.
class updataFrm : public PlaceholderView {
    Q_OBJECT
public:
    static constexpr FormKind kKind = FormKind::MdiView;
    explicit updataFrm(QWidget *parent = nullptr)
        : PlaceholderView(QStringLiteral("上传数据"), parent)
    {
        setObjectName(QStringLiteral("updataFrm"));
    }
    // The server connection is in any state other than closed.
    bool socketOpen() const { return false; }
    void closeSocket() {}
};
