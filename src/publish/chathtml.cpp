#include "publish/chathtml.h"

#include "core/textdate.h"

namespace publish {

QString chatHtml(const QString &who, const QString &text, const QDateTime &when)
{
    const QString stamp = textdate::format(when.date()) + QLatin1Char(' ') + when.time().toString(QStringLiteral("H:mm:ss"));
    QString head;
    if (who == kServerWho)
        head = QStringLiteral("<font color=blue size=2><b>服务器(管理员)</b></font>(<i>") + stamp
               + QStringLiteral("</i>)<br>");
    else
        head = QStringLiteral("<font color=red size=2><b>") + who + QStringLiteral("</b></font>(<i>") + stamp
               + QStringLiteral("</i>)<br>");
    return head + QStringLiteral("<font size=2>") + text + QStringLiteral("</font><br>");
}

} // namespace publish
