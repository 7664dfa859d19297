#pragma once
// The publishing server reads and writes GBK: every text the client sends and every
// name it packs goes out in it, and what GBK cannot hold is refused, never replaced.

#include <QByteArray>
#include <QString>
#include <optional>

namespace publish {

// text in GBK; nothing when GBK cannot hold one of its characters, which then goes to
// *unheld (the first such, a character beyond the basic plane whole).
std::optional<QByteArray> toGbk(const QString &text, QString *unheld = nullptr);

} // namespace publish
