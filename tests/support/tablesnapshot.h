#pragma once
// Whole-table snapshots for storage tests: compare before and after a statement to see
// exactly which rows and columns it changed.

#include "core/sitedb.h"

#include <QSqlRecord>
#include <QStringList>

namespace testenv {

// One line per row in rowid order: the columns joined by " | ", Null written as "<NULL>".
inline QStringList snapshot(SiteDb &db, const QString &table)
{
    QStringList out;
    for (const QSqlRecord &r : db.select(QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(table))) {
        QStringList cells;
        for (int i = 0; i < r.count(); ++i)
            cells << (r.isNull(i) ? QStringLiteral("<NULL>") : r.value(i).toString());
        out << cells.join(QStringLiteral(" | "));
    }
    return out;
}

// Snapshots of every table that holds the column tree, the content or the profile.
inline QStringList snapshotAll(SiteDb &db)
{
    QStringList out;
    for (const char *t : {"user_info", "firstCatalog", "secondCatalog", "thirdCatalog", "content01", "content02",
                          "content03"})
        out << QStringLiteral("## ") + QLatin1String(t) << snapshot(db, QLatin1String(t));
    return out;
}

// The number of rows of a table matching a condition with bound values.
inline int countRows(SiteDb &db, const QString &table, const QString &where = QStringLiteral("1"),
                     const QVariantList &binds = {})
{
    return int(db::integer(db.select(QStringLiteral("SELECT COUNT(*) AS n FROM %1 WHERE %2").arg(table, where), binds)
                               .front(),
                           QStringLiteral("n")));
}

} // namespace testenv
