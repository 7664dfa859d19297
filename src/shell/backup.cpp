#include "shell/backup.h"

#include "core/datalayout.h"
#include "core/errors.h"
#include "core/fileutil.h"
#include "core/schema.h"
#include "shell/datafolder.h"

#include <QFileInfo>

namespace backup {

namespace {

// SQLite's own files beside the database belong to the file they were written for: a
// journal carried beside another copy of the database would damage it.
QStringList sqliteFiles()
{
    QStringList files;
    for (const QString &suffix : datalayout::kSqliteSuffixes)
        files << datalayout::kDbName + suffix;
    return files;
}

void requireDatabase(const QString &folder)
{
    if (!QFileInfo(folder + datalayout::kDbName).isFile())
        throw err::FileError(err::Kind::FileMissing, folder + datalayout::kDbName);
}

// A copy that will replace the backup or the data folder must hold a whole site
// database, checked in full (every index against its table: these are rare and the
// file is small): a damaged or empty one never takes the place of what the user has.
// The failure names the file the copy was made from, as refusal says when given.
void requireWholeDatabase(const QString &copyFolder, const QString &sourceFolder,
                          std::optional<err::Kind> refusal = std::nullopt)
{
    SiteDb check;
    if (!schema::openSite(check, copyFolder + datalayout::kDbName, SiteDb::Check::Full))
        throw err::DbError(refusal.value_or(check.openFailure().value_or(err::Kind::DbNotOpen)),
                           sourceFolder + datalayout::kDbName);
    check.release();
}

} // namespace

void save(const QString &dataFolder, const QString &backupFolder)
{
    const QString from = fileutil::withSlash(dataFolder);
    requireDatabase(from);
    fileutil::FolderSwap swap(backupFolder);
    fileutil::copyTree(from, swap.path(), fileutil::Existing::Replace, sqliteFiles());
    requireWholeDatabase(swap.path(), from);
    swap.commit();
}

void restore(const QString &backupFolder, const QString &dataFolder, SiteDb &conn)
{
    const QString from = fileutil::withSlash(backupFolder);
    const QString to = fileutil::withSlash(dataFolder);
    const QString database = to + datalayout::kDbName;
    try {
        requireDatabase(from);
        fileutil::FolderSwap swap(to);
        fileutil::copyTree(from, swap.path(), fileutil::Existing::Replace, sqliteFiles());
        fileutil::copyTree(to, swap.path(), fileutil::Existing::Keep, sqliteFiles());
        // A backup that is not whole is no state to go back to: the data stay as they are.
        requireWholeDatabase(swap.path(), from, err::Kind::BackupDamaged);
        conn.close();
        swap.commit();
    } catch (const std::exception &) {
        if (!conn.isOpen())
            schema::openSite(conn, database);
        throw;
    }
    if (!schema::openSite(conn, database))
        throw err::DbError(conn.openFailure().value_or(err::Kind::DbNotOpen), database);
}

} // namespace backup
