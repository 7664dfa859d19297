#include "core/textdate.h"

#include <QRegularExpression>

namespace textdate {

QString format(const QDate &d)
{
    return QStringLiteral("%1-%2-%3").arg(d.year()).arg(d.month()).arg(d.day());
}

QDate parse(const QString &text)
{
    static const QRegularExpression re(QStringLiteral("^\\s*(\\d{4})([-/])(\\d{1,2})\\2(\\d{1,2})\\s*$"));
    const auto m = re.match(text);
    if (!m.hasMatch())
        return {};
    return QDate(m.captured(1).toInt(), m.captured(3).toInt(), m.captured(4).toInt());
}

} // namespace textdate
