#include "ui/inputhelpers.h"

#include "core/textforms.h"
#include "ui/prompter.h"

#include <QLineEdit>
#include <QSignalBlocker>

namespace mdl_func {

void checkNumeric(QLineEdit *box)
{
    if (!box)
        return;
    QString t = box->text();
    if (t.isEmpty() || textforms::isNumeric(t))
        return;
    box->setFocus();
    while (!t.isEmpty() && !textforms::isNumeric(t))
        t.chop(1);
    {
        // setText inside a text-changed handler would call it again.
        const QSignalBlocker block(box);
        box->setText(t);
    }
    ui::msgBox(QStringLiteral("请输入数字！"), ui::vbInformation, QStringLiteral("提示"));
}

std::optional<QString> pickColorHex(QWidget *owner, const QColor &initial)
{
    const std::optional<QColor> chosen = ui::prompter().chooseColor(owner, initial);
    if (!chosen)
        return std::nullopt;
    if (!chosen->isValid()) {
        ui::prompter().msgBox(owner, QStringLiteral("无效的颜色"), ui::vbCritical, QStringLiteral("提示"));
        return QStringLiteral("#000000");
    }
    return colorHex(*chosen);
}

} // namespace mdl_func

namespace mdl_mdifrm {

QString browseForFolder(QWidget *owner, const QString &title, const QString &initialFolder)
{
    QString chosen = ui::prompter().browseFolder(owner, title, initialFolder);
    while (chosen.size() > 1 && chosen.endsWith(QLatin1Char('/')))
        chosen.chop(1);
    return chosen;
}

} // namespace mdl_mdifrm
