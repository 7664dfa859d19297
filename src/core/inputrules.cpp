#include "core/inputrules.h"

#include "core/textforms.h"

#include <QFileInfo>

namespace mdl_func {

std::optional<ui::Message> refuseNonAsciiName(const QString &path)
{
    if (textforms::isEng(QFileInfo(path).fileName()))
        return std::nullopt;
    return ui::Message{QStringLiteral("所选择的文件名中不能包含中文，请重命名后选择文件！"), ui::vbInformation,
                       QStringLiteral("提示")};
}

QString colorHex(const QColor &c)
{
    return QStringLiteral("#%1%2%3")
        .arg(c.red(), 2, 16, QLatin1Char('0'))
        .arg(c.green(), 2, 16, QLatin1Char('0'))
        .arg(c.blue(), 2, 16, QLatin1Char('0'))
        .toUpper();
}

} // namespace mdl_func
