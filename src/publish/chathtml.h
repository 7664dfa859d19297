#pragma once
// The messages of the notice and chat windows as HTML, newest first in the element
// "msg" of the page msg.htm.

#include "ui/browserpane.h"

#include <QDateTime>
#include <QString>

namespace publish {

// "who" for a text from the server; any other value is the label shown.
inline const QString kServerWho = QStringLiteral("server");
inline const QString kOwnLabel = QStringLiteral("客户端(我的发言)");

// The head line and the body of one message, the text taken as HTML.
QString chatHtml(const QString &who, const QString &text, const QDateTime &when);

// Puts one message above the others in the pane's element "msg" (nothing when the
// page has no such element).
void appendChatHtml(IBrowserPane *pane, const QString &who, const QString &text);

} // namespace publish
