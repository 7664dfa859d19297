#include "core/datafiles.h"

#include "core/datalayout.h"
#include "core/fileutil.h"
#include "core/textforms.h"

#include <QFile>
#include <QHash>
#include <QFileInfo>

namespace datafiles {

using datalayout::kDbName;

namespace {

quint64 g_replaced = 0;

// The copies that editing sessions made and have not saved yet, by name.
QHash<QString, const PendingFiles *> g_unsaved;

// A plain name: no folder part, not "." or "..".
bool isPlainName(const QString &name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
           && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) && !name.contains(QChar(0));
}

// The site database or one of SQLite's files beside it, whatever the case.
bool isDatabaseFile(const QString &name)
{
    if (!name.startsWith(kDbName, Qt::CaseInsensitive))
        return false;
    const QString rest = name.mid(kDbName.size());
    return rest.isEmpty() || datalayout::kSqliteSuffixes.contains(rest, Qt::CaseInsensitive);
}

} // namespace

QString storedFile(const QString &dataFolder, const QString &name)
{
    return isPlainName(name) ? fileutil::withSlash(dataFolder) + name : QString();
}

quint64 replacedCount()
{
    return g_replaced;
}

QString importFile(const QString &source, const QString &dataFolder, const QString &as)
{
    const QFileInfo from(source);
    const QString name = as.isEmpty() ? from.fileName() : as;
    for (const QString &n : {from.fileName(), name})
        if (isDatabaseFile(n))
            throw err::FileError(err::Kind::FileReserved, n);
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
        const QString sql = QStringLiteral("SELECT 1 FROM %1 WHERE (value01=? OR value02=? OR value03=? OR value04=? "
                                           "OR instr(value01, ?) > 0 OR instr(value01, ?) > 0) LIMIT 1")
                                .arg(QLatin1String(table));
        const Rows rows = db.select(sql, {name, name, name, name, inPage, inPagePlain});
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

namespace {

bool sameBytes(const QString &a, const QString &b)
{
    QFile fa(a), fb(b);
    if (fa.size() != fb.size() || !fa.open(QIODevice::ReadOnly) || !fb.open(QIODevice::ReadOnly))
        return false;
    while (!fa.atEnd()) {
        const QByteArray chunk = fa.read(1 << 16);
        if (chunk.isEmpty() || chunk != fb.read(chunk.size()))
            return false;
    }
    return true;
}

// Deletes those of the named files that the site database does not name; a name the
// database cannot be asked about is deleted only when `removeWhenUnsure` says so.
void removeUnnamed(SiteDb &db, const QString &dataFolder, const QStringList &names, bool removeWhenUnsure)
{
    for (const QString &name : names) {
        // The database's journal too: deleting it could cost the last changes.
        if (!isPlainName(name) || isDatabaseFile(name))
            continue;
        bool named = !removeWhenUnsure;
        try {
            named = isNamed(db, name);
        } catch (const std::exception &) {
        }
        if (!named)
            QFile::remove(storedFile(dataFolder, name));
    }
}

} // namespace

QString importChoice(SiteDb &db, const QString &source, const QString &dataFolder, PendingFiles *session)
{
    const QString own = QFileInfo(source).fileName();
    if (isDatabaseFile(own))
        throw err::FileError(err::Kind::FileReserved, own);
    const QString folder = fileutil::withSlash(dataFolder);
    const qsizetype dot = own.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot > 0 ? own.left(dot) : own;
    const QString ext = dot > 0 ? own.mid(dot) : QString();
    for (int n = 1;; ++n) {
        const QString name = n == 1 ? own : stem + QString::number(n) + ext;
        const QFileInfo there(folder + name);
        if (there.exists() || there.isSymLink()) {
            // Never written over: whatever names the file keeps it as it is.
            const PendingFiles *unsavedBy = g_unsaved.value(name);
            if ((!unsavedBy || unsavedBy == session) && there.isFile() && !there.isSymLink()
                && sameBytes(source, there.filePath()))
                return name;
            continue;
        }
        // A name that something names, its file missing, would show the choice there.
        bool named = false;
        try {
            named = isNamed(db, name);
        } catch (const std::exception &) {
            // Cannot tell: a file the folder does not hold shows nowhere now.
        }
        if (named)
            continue;
        importFile(source, folder, name);
        if (session)
            session->chose(name);
        return name;
    }
}

void removeUnused(SiteDb &db, const QString &dataFolder, const QStringList &names)
{
    removeUnnamed(db, dataFolder, names, false); // cannot tell: keep the file
}

PendingFiles::~PendingFiles()
{
    release();
}

void PendingFiles::release()
{
    for (const QString &name : std::as_const(m_chosen))
        if (g_unsaved.value(name) == this)
            g_unsaved.remove(name);
}

void PendingFiles::chose(const QString &name)
{
    if (!name.isEmpty() && !m_chosen.contains(name)) {
        m_chosen << name;
        g_unsaved.insert(name, this);
    }
}

void PendingFiles::replaces(const QString &name)
{
    if (!name.isEmpty() && !m_replaced.contains(name))
        m_replaced << name;
}

void PendingFiles::saved(SiteDb &db, const QString &dataFolder)
{
    release();
    removeUnused(db, dataFolder, m_replaced + m_chosen);
    m_replaced.clear();
    m_chosen.clear();
}

void PendingFiles::abandoned(SiteDb &db, const QString &dataFolder)
{
    release();
    // When the site cannot be asked, the copies go all the same: each was this
    // session's alone, and its save never came.
    removeUnnamed(db, dataFolder, m_chosen, true);
    m_replaced.clear();
    m_chosen.clear();
}

} // namespace datafiles
