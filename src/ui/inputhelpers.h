#pragma once
// Input helpers shared by the windows: the numeric check of a text box, the name check
// of a chosen file (core/inputrules), the colour choice as an HTML colour, and the
// folder choice.

#include "core/inputrules.h"
#include "ui/prompter.h"

#include <QColor>
#include <QString>
#include <optional>

class QLineEdit;
class QWidget;

namespace mdl_func {

// Called from a box's text-changed handler: a text that is neither empty nor numeric
// loses characters from its end until it is, the box takes the focus, and
// "请输入数字！" is shown once.
void checkNumeric(QLineEdit *box);

// "#RRGGBB" in upper case, or nothing when the user cancels.
std::optional<QString> pickColorHex(QWidget *owner = nullptr, const QColor &initial = Qt::white);

} // namespace mdl_func

namespace mdl_mdifrm {
// The chosen folder without a trailing "/" (except "/" itself), or "" when cancelled.
QString browseForFolder(QWidget *owner, const QString &title, const QString &initialFolder);
} // namespace mdl_mdifrm
