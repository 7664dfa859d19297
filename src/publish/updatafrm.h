#pragma once
#include "shell/artwork.h"
#include "shell/placeholderview.h"

// The upload view.
class updataFrm : public PlaceholderView {
    Q_OBJECT
public:
    static constexpr FormKind kKind = FormKind::MdiView;
    explicit updataFrm(QWidget *parent = nullptr)
        : PlaceholderView(QStringLiteral("上传数据"), parent)
    {
        setWindowIcon(artwork::toolIcon(6));
        setObjectName(QStringLiteral("updataFrm"));
    }
    // The server connection is in any state other than closed.
    bool socketOpen() const { return false; }
    void closeSocket() {}
};
