#include "testenv.h"

#include "platform/fileutil.h"
#include "platform/schema.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace testenv {

QString appDir()
{
    return QStringLiteral(QUORVIK_APP_DIR);
}

QString writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
    return path;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void makeDatabase(SiteDb &db, const QString &path)
{
    writeFile(path);
    if (!db.open(path))
        throw err::DbError(err::Kind::DbNotOpen, path);
    schema::create(db);
    schema::seedProfile(db, QDate(2026, 12, 9), QString());
}

ProgramFolder::ProgramFolder()
{
    fileutil::copyFolder(appDir() + QStringLiteral("initdata"), path() + QStringLiteral("initdata"));
    for (const char *name : {"multiData.htm", "msg.htm"})
        fileutil::copyReplace(appDir() + QLatin1String(name), path() + QLatin1String(name));
    if (QFileInfo(appDir() + QStringLiteral("tmplImg")).isDir())
        fileutil::copyFolder(appDir() + QStringLiteral("tmplImg"), path() + QStringLiteral("tmplImg"));
}

TempDatabase::TempDatabase()
{
    makeDatabase(db, path());
}

} // namespace testenv
