#include "platform/fileutil.h"

#include "platform/errors.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace fileutil {

QString withSlash(const QString &folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

void copyReplace(const QString &src, const QString &dst)
{
    if (!QFileInfo(src).isFile())
        throw err::FileError(err::Kind::FileMissing, src);
    if (QFileInfo(src).canonicalFilePath() == QFileInfo(dst).canonicalFilePath())
        return;
    if (QFileInfo::exists(dst) || QFileInfo(dst).isSymLink()) {
        QFile::setPermissions(dst, QFile::permissions(dst) | QFileDevice::WriteOwner);
        if (!QFile::remove(dst))
            throw err::FileError(err::Kind::FileDelete, dst);
    }
    if (!QFile::copy(src, dst))
        throw err::FileError(err::Kind::FileCopy, dst);
    QFile::setPermissions(dst, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                                   | QFileDevice::ReadOther);
}

void clearFolder(const QString &folder)
{
    const QString clean = QDir::cleanPath(folder);
    if (clean.isEmpty() || clean == QLatin1String("/") || clean == QLatin1String("."))
        throw err::FileError(err::Kind::FileDelete, folder);
    QDir dir(clean);
    if (!dir.exists())
        return;
    const auto entries = dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &fi : entries) {
        if (fi.isDir() && !fi.isSymLink()) {
            // removeRecursively deletes links without following them.
            if (!QDir(fi.absoluteFilePath()).removeRecursively())
                throw err::FileError(err::Kind::FileDelete, fi.absoluteFilePath());
        } else if (!QFile::remove(fi.absoluteFilePath())) {
            throw err::FileError(err::Kind::FileDelete, fi.absoluteFilePath());
        }
    }
}

void removeFolder(const QString &folder)
{
    QDir dir(folder);
    if (!dir.exists())
        return;
    // Read-only files inside are deleted too.
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString p = it.next();
        if (!QFileInfo(p).isSymLink())
            QFile::setPermissions(p, QFile::permissions(p) | QFileDevice::WriteOwner);
    }
    if (!dir.removeRecursively())
        throw err::FileError(err::Kind::FileDelete, folder);
}

void copyFolder(const QString &src, const QString &dst)
{
    QDir from(src);
    if (!from.exists())
        throw err::FileError(err::Kind::FileMissing, src);
    makeFolder(dst);
    const auto entries = from.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &fi : entries) {
        const QString target = withSlash(dst) + fi.fileName();
        if (fi.isDir() && !fi.isSymLink())
            copyFolder(fi.absoluteFilePath(), target);
        else
            copyReplace(fi.absoluteFilePath(), target);
    }
}

void makeFolder(const QString &folder)
{
    if (QFileInfo(folder).isDir())
        return;
    if (!QDir().mkpath(folder))
        throw err::FileError(err::Kind::FolderCreate, folder);
}

} // namespace fileutil
