#include "platform/datafiles.h"
#include "platform/textforms.h"

#include "platform/fileutil.h"

#include <QFile>
#include <QFileInfo>

namespace datafiles {

namespace {
const QString kDbName = QStringLiteral("brevonel.qdb");
quint64 g_replaced = 0;
}

bool isPlainName(const QString &name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
           && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) && !name.contains(QChar(0));
}

QString storedFile(const QString &dataFolder, const QString &name)
{
    return isPlainName(name) ? fileutil::withSlash(dataFolder) + name : QString();
}

quint64 replacedCount()
{
    return g_replaced;
}

QString importFile(const QString &source, const QString &dataFolder)
{
    const QFileInfo from(source);
    const QString name = from.fileName();
    if (name.compare(kDbName, Qt::CaseInsensitive) == 0)
        throw err::FileError(err::Kind::FileReserved, name);
    if (!from.isFile())
        throw err::FileError(err::Kind::FileMissing, source);
    const QString target = fileutil::withSlash(dataFolder) + name;
    if (from.canonicalFilePath() == QFileInfo(target).canonicalFilePath())
        return name;
    const bool replaces = QFileInfo::exists(target);
    fileutil::copyReplace(source, target);
    if (replaces)
        ++g_replaced;
    return name;
}

bool isNamed(SiteDb &db, const QString &name)
{
    if (name.isEmpty())
        return false;
    // An editor page (stored HTML in value01) names its files as "[imgpath]/" and the name
    // in the stored form; pages stored before names were escaped hold it plain.
    const QString inPage = textforms::editorReference(name);
    const QString inPagePlain = QStringLiteral("[imgpath]/") + name;
    for (const char *table : {"content01", "content02", "content03"}) {
        const Rows rows = db.select(
            QStringLiteral("SELECT 1 FROM %1 WHERE value01=? OR value02=? OR value03=? OR value04=? "
                           "OR instr(value01, ?) > 0 OR instr(value01, ?) > 0 LIMIT 1")
                .arg(QLatin1String(table)),
            {name, name, name, name, inPage, inPagePlain});
        if (!rows.empty())
            return true;
    }
    const Rows profile = db.select(QStringLiteral("SELECT logo, backGround, defaultFile, topHead, field01 FROM user_info"));
    for (const QSqlRecord &rec : profile) {
        for (const char *col : {"logo", "backGround", "defaultFile", "topHead"})
            if (db::text(rec, QLatin1String(col)) == name)
                return true;
        if (db::text(rec, QStringLiteral("field01")).split(QStringLiteral("||")).contains(name))
            return true;
    }
    return false;
}

void removeUnused(SiteDb &db, const QString &dataFolder, const QStringList &names)
{
    for (const QString &name : names) {
        // The database's journal too: deleting it could cost the last changes.
        if (!isPlainName(name) || name.startsWith(kDbName, Qt::CaseInsensitive))
            continue;
        try {
            if (isNamed(db, name))
                continue;
        } catch (const std::exception &) {
            continue; // cannot tell: keep the file
        }
        QFile::remove(storedFile(dataFolder, name));
    }
}

void PendingFiles::chose(const QString &name)
{
    if (!name.isEmpty() && !m_chosen.contains(name))
        m_chosen << name;
}

void PendingFiles::replaces(const QString &name)
{
    if (!name.isEmpty() && !m_replaced.contains(name))
        m_replaced << name;
}

void PendingFiles::saved(SiteDb &db, const QString &dataFolder)
{
    removeUnused(db, dataFolder, m_replaced + m_chosen);
    m_replaced.clear();
    m_chosen.clear();
}

void PendingFiles::abandoned(SiteDb &db, const QString &dataFolder)
{
    removeUnused(db, dataFolder, m_chosen);
    m_replaced.clear();
    m_chosen.clear();
}

} // namespace datafiles
