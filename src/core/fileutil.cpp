#include "core/fileutil.h"

#include "core/errors.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <unistd.h>

namespace fileutil {

namespace {

faults::Hook &hookSlot()
{
    static faults::Hook hook;
    return hook;
}

bool injected(faults::Step step, const QString &path)
{
    const faults::Hook &hook = hookSlot();
    return hook && hook(step, path);
}

constexpr qint64 kPiece = 1 << 16;

QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

// The entry itself, a dangling link too.
bool present(const QString &path)
{
    const QFileInfo fi(path);
    return fi.exists() || fi.isSymLink();
}

bool isRealFolder(const QString &path)
{
    const QFileInfo fi(path);
    return fi.isDir() && !fi.isSymLink();
}

bool sameEntry(const QString &a, const QString &b)
{
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

// A name beside path that nothing uses, for a file or link that will be renamed over it.
QString freeNameBeside(const QString &path)
{
    const QFileInfo fi(path);
    for (int i = 0;; ++i) {
        const QString candidate = fi.path() + QStringLiteral("/.") + fi.fileName() + QStringLiteral("~%1").arg(i);
        if (!present(candidate))
            return candidate;
    }
}

// rename(2): replaces a file or link at to.
bool renameOver(const QString &from, const QString &to)
{
    return ::rename(native(from).constData(), native(to).constData()) == 0;
}

bool pour(QIODevice &in, QIODevice &out, const QString &path)
{
    QByteArray piece(kPiece, Qt::Uninitialized);
    for (;;) {
        const qint64 n = in.read(piece.data(), kPiece);
        if (n < 0)
            return false;
        if (n == 0)
            return true;
        if (injected(faults::Step::Write, path) || out.write(piece.constData(), n) != n)
            return false;
    }
}

// The path, and the system's reason when the device failed with one.
QString withReason(const QString &path, const QFileDevice &device)
{
    return device.error() == QFileDevice::NoError ? path : path + QStringLiteral("：") + device.errorString();
}

// A disk that fills up takes part of what is buffered first and gives its reason only
// when asked for the rest.
bool flushWhole(QFileDevice &out)
{
    if (out.flush())
        return true;
    out.flush();
    return false;
}

void saveThrough(const QString &path, const std::function<bool(QIODevice &)> &write, err::Kind failure)
{
    const QFileInfo fi(path);
    if (fi.isDir() && !fi.isSymLink())
        throw err::FileError(failure, path);
    // Made beside path under a name of the program's own and renamed over it once whole
    // and on the disk: a link there is replaced, never written through. Until then the
    // new file removes itself when it goes.
    QTemporaryFile out(fi.path() + QLatin1Char('/') + temporaryStem(fi.fileName()) + QStringLiteral(".XXXXXX"));
    if (!out.open())
        throw err::FileError(failure, withReason(path, out));
    if (!write(out) || !flushWhole(out) || out.error() != QFileDevice::NoError || injected(faults::Step::Commit, path))
        throw err::FileError(failure, withReason(path, out));
    if (::fsync(out.handle()) != 0)
        throw err::FileError(failure, path + QStringLiteral("：") + qt_error_string(errno));
    out.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                       | QFileDevice::ReadOther);
    if (!renameOver(out.fileName(), path))
        throw err::FileError(failure, path + QStringLiteral("：") + qt_error_string(errno));
    out.setAutoRemove(false);
}

// Copies src to dst, where nothing stands yet (a folder being staged, or a file new to
// the folder): a copy that fails is removed again.
void copyNew(const QString &src, const QString &dst)
{
    QFile in(src);
    if (!in.open(QIODevice::ReadOnly))
        throw err::FileError(err::Kind::FileRead, src);
    QFile out(dst);
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        throw err::FileError(err::Kind::FileCopy, dst);
    const bool whole = pour(in, out, dst) && !injected(faults::Step::Commit, dst) && out.flush();
    out.close();
    if (!whole || out.error() != QFileDevice::NoError) {
        QFile::remove(dst);
        throw err::FileError(err::Kind::FileCopy, dst);
    }
    QFile::setPermissions(dst, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                                   | QFileDevice::ReadOther);
}

// Makes a link at dst that says what the link src says (dangling or not).
void copyLink(const QString &src, const QString &dst)
{
    QByteArray says(4096, Qt::Uninitialized);
    const ssize_t n = ::readlink(native(src).constData(), says.data(), size_t(says.size()));
    if (n < 0 || n >= says.size())
        throw err::FileError(err::Kind::FileRead, src);
    says.truncate(n);
    const bool replacing = present(dst);
    const QString made = replacing ? freeNameBeside(dst) : dst;
    if (injected(faults::Step::Link, dst) || ::symlink(says.constData(), native(made).constData()) != 0)
        throw err::FileError(err::Kind::FileCopy, dst);
    if (replacing && !renameOver(made, dst)) {
        QFile::remove(made);
        throw err::FileError(err::Kind::FileCopy, dst);
    }
}

void makeFolderStep(const QString &folder)
{
    if (isRealFolder(QDir::cleanPath(folder)))
        return;
    if (injected(faults::Step::MakeFolder, folder) || !QDir().mkpath(folder))
        throw err::FileError(err::Kind::FolderCreate, folder);
}

void renameStep(const QString &from, const QString &to)
{
    if (injected(faults::Step::Rename, from) || !QDir().rename(from, to))
        throw err::FileError(err::Kind::FileWrite, to);
}

// The folder a swap works on: links followed to where they lead (dangling or not), no
// trailing "/".
QString swapTarget(const QString &target)
{
    QString t = QDir::cleanPath(QFileInfo(target).absoluteFilePath());
    for (int i = 0; i < 16 && QFileInfo(t).isSymLink(); ++i)
        t = QDir::cleanPath(QFileInfo(t).symLinkTarget());
    if (target.isEmpty() || t.isEmpty() || t == QLatin1String("/"))
        throw err::FileError(err::Kind::FileWrite, target);
    return t;
}

QString beside(const QString &target, const char *suffix)
{
    const QFileInfo fi(target);
    return fi.path() + QStringLiteral("/.") + fi.fileName() + QLatin1String(suffix);
}

// The new contents of a file that a swap of target replaces with it: the file's name
// after this prefix, beside target as named (a target that is a link is swapped where
// it leads, while the file stays beside the link).
QString companionPrefix(const QString &target)
{
    return beside(QDir::cleanPath(QFileInfo(target).absoluteFilePath()), "~with.");
}

// The companion files a swap of target left beside it, by the file each one replaces.
QList<std::pair<QString, QString>> companionsOf(const QString &target)
{
    QList<std::pair<QString, QString>> out;
    const QFileInfo prefixed(companionPrefix(target));
    const QString prefix = prefixed.fileName();
    const QString folder = prefixed.path();
    for (const QString &name : QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (name.startsWith(prefix) && name.size() > prefix.size())
            out.append({folder + QLatin1Char('/') + name, folder + QLatin1Char('/') + name.mid(prefix.size())});
    return out;
}

} // namespace

QString temporaryStem(const QString &fileName)
{
    return QLatin1Char('.') + fileName + QStringLiteral("~quorvik");
}

QString withSlash(const QString &folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

void writeReplace(const QString &path, const std::function<bool(QIODevice &)> &write)
{
    saveThrough(path, write, err::Kind::FileWrite);
}

void copyReplace(const QString &src, const QString &dst)
{
    if (!QFileInfo(src).isFile())
        throw err::FileError(err::Kind::FileMissing, src);
    if (sameEntry(src, dst))
        return;
    QFile in(src);
    if (!in.open(QIODevice::ReadOnly))
        throw err::FileError(err::Kind::FileRead, src);
    saveThrough(dst, [&](QIODevice &out) { return pour(in, out, dst); }, err::Kind::FileCopy);
}

void copyTree(const QString &src, const QString &dst, Existing existing, const QStringList &leaveOut)
{
    if (!QFileInfo(src).isDir())
        throw err::FileError(err::Kind::FileMissing, src);
    if (sameEntry(src, dst))
        return;
    makeFolderStep(dst);
    const auto entries = QDir(src).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &fi : entries) {
        if (leaveOut.contains(fi.fileName()))
            continue;
        const QString target = withSlash(dst) + fi.fileName();
        const bool there = present(target);
        if (fi.isSymLink()) {
            if (!there || existing == Existing::Replace)
                copyLink(fi.absoluteFilePath(), target);
        } else if (fi.isDir()) {
            // A file or link in a folder's way is kept, or the copy fails: nothing is
            // written through a link.
            if (there && !isRealFolder(target)) {
                if (existing == Existing::Keep)
                    continue;
                throw err::FileError(err::Kind::FileCopy, target);
            }
            copyTree(fi.absoluteFilePath(), target, existing);
        } else if (fi.isFile()) {
            if (!there)
                copyNew(fi.absoluteFilePath(), target);
            else if (existing == Existing::Replace)
                copyReplace(fi.absoluteFilePath(), target);
        }
        // Pipes, sockets and devices are no user files: left out.
    }
}

FolderSwap::FolderSwap(const QString &target)
    : m_named(target)
    , m_target(swapTarget(target))
    , m_staging(beside(m_target, "~new"))
    , m_old(beside(m_target, "~old"))
{
    recoverSwap(m_named);
    makeFolderStep(m_staging);
}

FolderSwap::~FolderSwap()
{
    if (m_committed)
        return;
    // The companion goes first: one left without the new folder counts as swapped in.
    if (!m_companion.isEmpty())
        QFile::remove(m_companion);
    try {
        removeFolder(m_staging);
    } catch (const std::exception &) {
        // Left for the next swap of this folder, or the next start, to remove.
    }
}

QString FolderSwap::path() const
{
    return m_staging + QLatin1Char('/');
}

QString FolderSwap::companion(const QString &fileName)
{
    if (fileName.isEmpty() || fileName.contains(QLatin1Char('/')) || !m_companion.isEmpty())
        throw err::FileError(err::Kind::FileWrite, fileName);
    m_companionName = fileName;
    m_companion = companionPrefix(m_named) + fileName;
    return m_companion;
}

void FolderSwap::commit()
{
    const bool hadTarget = present(m_target);
    if (hadTarget)
        renameStep(m_target, m_old);
    try {
        renameStep(m_staging, m_target);
    } catch (const std::exception &) {
        if (hadTarget)
            QDir().rename(m_old, m_target);
        throw;
    }
    if (!m_companion.isEmpty()) {
        const QString file = QFileInfo(m_companion).path() + QLatin1Char('/') + m_companionName;
        if (injected(faults::Step::Rename, m_companion) || !renameOver(m_companion, file)) {
            // The old folder comes back to go with the old file.
            QDir().rename(m_target, m_staging);
            if (hadTarget)
                QDir().rename(m_old, m_target);
            throw err::FileError(err::Kind::FileWrite, file);
        }
    }
    m_committed = true;
    try {
        removeFolder(m_old);
    } catch (const std::exception &) {
        // The new contents are in place; the old ones go at the next swap or start.
    }
}

void recoverSwap(const QString &target)
{
    const QString t = swapTarget(target);
    const QString staging = beside(t, "~new");
    const QString old = beside(t, "~old");
    const bool hasNew = present(staging);
    const bool hasOld = present(old);
    const auto companions = companionsOf(target);
    if (!hasNew && !hasOld && companions.isEmpty())
        return;
    // The target is moved aside only once the new contents are complete: with the
    // target gone, a new folder beside it is whole and finishes the swap. A companion
    // outlives the new folder beside it only when that folder went in.
    const bool newGoesIn = hasNew ? hasOld && !present(t) : present(t);
    if (!present(t) && hasOld)
        renameStep(hasNew ? staging : old, t);
    for (const auto &[staged, file] : companions) {
        if (!newGoesIn)
            QFile::remove(staged);
        else if (!renameOver(staged, file))
            throw err::FileError(err::Kind::FileWrite, file);
    }
    removeFolder(old);
    removeFolder(staging);
}

void removeFolder(const QString &folder)
{
    const QString path = QDir::cleanPath(folder);
    const QFileInfo fi(path);
    if (fi.isSymLink() || (fi.exists() && !fi.isDir())) {
        if (injected(faults::Step::Remove, path) || !QFile::remove(path))
            throw err::FileError(err::Kind::FileDelete, folder);
        return;
    }
    if (!fi.exists())
        return;
    // Read-only files inside are deleted too.
    QDirIterator it(path, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString p = it.next();
        if (!QFileInfo(p).isSymLink())
            QFile::setPermissions(p, QFile::permissions(p) | QFileDevice::WriteOwner);
    }
    QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::WriteOwner);
    if (injected(faults::Step::Remove, path) || !QDir(path).removeRecursively())
        throw err::FileError(err::Kind::FileDelete, folder);
}

void makeFolder(const QString &folder)
{
    if (QFileInfo(folder).isDir())
        return;
    if (!QDir().mkpath(folder))
        throw err::FileError(err::Kind::FolderCreate, folder);
}

namespace faults {
void setHook(Hook hook)
{
    hookSlot() = std::move(hook);
}
} // namespace faults

} // namespace fileutil
