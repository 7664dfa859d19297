#pragma once
// The messages of the notice and chat windows as HTML, newest first in the element
// "msg" of the page msg.htm.

#include <QDateTime>
#include <QString>

namespace publish {

// "who" for a text from the server; any other value is the label shown.
inline const QString kServerWho = QStringLiteral("server");
inline const QString kOwnLabel = QStringLiteral("客户端(我的发言)");

// The head line and the body of one message, the text taken as HTML.
QString chatHtml(const QString &who, const QString &text, const QDateTime &when);

} // namespace publish
