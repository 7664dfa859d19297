#pragma once
// The short date text the program shows and stores: yyyy-M-d.

#include <QDate>
#include <QString>

namespace textdate {
// "2026-12-9"
QString format(const QDate &d);
// Accepts yyyy-M-d, yyyy-MM-dd and yyyy/M/d; an invalid QDate otherwise.
QDate parse(const QString &text);
} // namespace textdate
