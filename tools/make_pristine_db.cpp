// Writes the pristine site database and the empty path file into an initdata folder:
//   make_pristine_db <initdata folder> [account]
#include "core/datalayout.h"
#include "core/schema.h"
#include "core/sitedb.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: make_pristine_db <folder> [account]\n");
        return 2;
    }
    const QString folder = args.at(1);
    const QString account = args.size() > 2 ? args.at(2) : QString();
    QDir().mkpath(folder);
    const QString dbPath = folder + QLatin1Char('/') + datalayout::kDbName;
    const QString tmpPath = dbPath + QStringLiteral(".new");
    QFile::remove(tmpPath);
    {
        QFile create(tmpPath);
        if (!create.open(QIODevice::WriteOnly)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(tmpPath));
            return 1;
        }
    }
    try {
        SiteDb db;
        if (!db.open(tmpPath))
            throw err::DbError(err::Kind::DbNotOpen, tmpPath);
        schema::create(db);
        schema::seedProfile(db, QDate::currentDate(), account);
        db.close();
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    QFile::remove(dbPath);
    if (!QFile::rename(tmpPath, dbPath))
        return 1;
    QFile ini(folder + QStringLiteral("/initPath.ini"));
    if (!ini.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 1;
    return 0;
}
