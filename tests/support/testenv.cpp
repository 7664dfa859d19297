#include "testenv.h"

#include "core/fileutil.h"
#include "core/schema.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStorageInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringDecoder>

#include <unistd.h>
#include <zip.h>

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

QByteArray linkText(const QString &link)
{
    QByteArray says(4096, Qt::Uninitialized);
    const ssize_t n = ::readlink(QFile::encodeName(link).constData(), says.data(), size_t(says.size()));
    return n < 0 ? QByteArray() : says.left(n);
}

QMap<QString, QByteArray> folderSnapshot(const QString &folder)
{
    QMap<QString, QByteArray> out;
    if (!QFileInfo::exists(folder))
        return out;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    const QDir base(folder);
    while (it.hasNext()) {
        const QString p = it.next();
        const QFileInfo fi(p);
        const QString rel = base.relativeFilePath(p);
        if (fi.isSymLink())
            out[rel + QLatin1Char('@')] = linkText(p);
        else if (fi.isDir())
            out[rel + QLatin1Char('/')] = QByteArray();
        else
            out[rel] = readFile(p);
    }
    return out;
}

void makeWritable(const QString &folder)
{
    QDirIterator it(folder, QDir::Dirs | QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString p = it.next();
        if (!QFileInfo(p).isSymLink())
            QFile::setPermissions(p, QFile::permissions(p) | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
}

FileFault::FileFault(fileutil::faults::Step step, int nth)
{
    if (nth > 0)
        fileutil::faults::setHook([this, step, nth](fileutil::faults::Step s, const QString &) {
            return s == step && ++m_seen == nth && (m_fired = true);
        });
}

FileFault::~FileFault()
{
    fileutil::faults::setHook({});
}

SmallDisk::SmallDisk(int kb, const QString &at)
    : m_root(at.isEmpty() ? m_dir.path() : QDir::cleanPath(at))
{
    QDir().mkpath(m_root);
    m_mounted = QProcess::execute(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                                           QStringLiteral("size=%1k").arg(kb), QStringLiteral("tmpfs"),
                                                           m_root})
                == 0;
}

SmallDisk::~SmallDisk()
{
    if (m_mounted && QProcess::execute(QStringLiteral("umount"), {m_root}) != 0)
        QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), m_root});
}

void SmallDisk::leaveFree(int kb)
{
    const qint64 free = QStorageInfo(m_root).bytesAvailable() - qint64(kb) * 1024;
    if (free > 0)
        writeFile(path() + QStringLiteral("filler"), QByteArray(free, 'f'));
}

bool SmallDisk::remountReadOnly()
{
    return QProcess::execute(QStringLiteral("mount"), {QStringLiteral("-o"), QStringLiteral("remount,ro"), m_root}) == 0;
}

void breakIndex(const QString &path)
{
    const QString name = QStringLiteral("breaking an index");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.open();
        QSqlQuery q(db);
        q.exec(QStringLiteral("INSERT INTO firstCatalog VALUES ('甲', 0, 1, 'txt')"));
        q.exec(QStringLiteral("INSERT INTO firstCatalog VALUES ('乙', 0, 2, 'txt')"));
        // The index's entries stay those of the names while its definition now says
        // it holds the formats.
        q.exec(QStringLiteral("PRAGMA writable_schema=ON"));
        q.exec(QStringLiteral("UPDATE sqlite_master SET sql='CREATE INDEX ix_first_name ON firstCatalog (aspFileName)' "
                              "WHERE name='ix_first_name'"));
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QStringList zipEntries(const QString &archive)
{
    QStringList names;
    int code = 0;
    zip_t *z = zip_open(QFile::encodeName(archive).constData(), ZIP_RDONLY, &code);
    if (!z)
        return names;
    const zip_int64_t n = zip_get_num_entries(z, 0);
    for (zip_int64_t i = 0; i < n; ++i)
        names << QStringDecoder("GBK").decode(QByteArray(zip_get_name(z, zip_uint64_t(i), ZIP_FL_ENC_RAW)));
    zip_discard(z);
    return names;
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
    fileutil::copyTree(appDir() + QStringLiteral("initdata"), path() + QStringLiteral("initdata"));
    for (const char *name : {"multiData.htm", "msg.htm"})
        fileutil::copyReplace(appDir() + QLatin1String(name), path() + QLatin1String(name));
    if (QFileInfo(appDir() + QStringLiteral("tmplImg")).isDir())
        fileutil::copyTree(appDir() + QStringLiteral("tmplImg"), path() + QStringLiteral("tmplImg"));
}

TempDatabase::TempDatabase()
{
    makeDatabase(db, path());
}

namespace {
const QString kOtherProgram = QStringLiteral("other program");
} // namespace

OtherProgramLock::OtherProgramLock(SiteDb &db)
    : m_db(db)
{
    SiteDb::setBusyTimeoutMs(20);
    // Opened again so that the short wait holds for it too.
    m_db.open(m_db.filePath());
    QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kOtherProgram);
    other.setDatabaseName(m_db.filePath());
    if (!other.open())
        qFatal("another connection could not open %s", qPrintable(m_db.filePath()));
    lock();
}

void OtherProgramLock::lock()
{
    m_held = QSqlQuery(QSqlDatabase::database(kOtherProgram, false)).exec(QStringLiteral("BEGIN EXCLUSIVE"));
    if (!m_held)
        qFatal("another connection could not lock %s", qPrintable(m_db.filePath()));
}

void OtherProgramLock::release()
{
    if (!m_held)
        return;
    m_held = false;
    QSqlQuery(QSqlDatabase::database(kOtherProgram, false)).exec(QStringLiteral("ROLLBACK"));
}

OtherProgramLock::~OtherProgramLock()
{
    release();
    QSqlDatabase::database(kOtherProgram, false).close();
    QSqlDatabase::removeDatabase(kOtherProgram);
    SiteDb::setBusyTimeoutMs(2000);
    m_db.open(m_db.filePath());
}

} // namespace testenv
