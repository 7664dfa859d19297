#include "core/fileutil.h"

#include "core/errors.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QStorageInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
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

// The folders being built for a FolderSwap, and the companion files beside them, by the
// name the user knows them under: a failure names that, never a staging name. Packing's
// threads read it too.
QHash<QString, QString> g_shownNames;
QMutex g_shownNamesLock;

void showAs(const QString &staged, const QString &shown)
{
    const QMutexLocker hold(&g_shownNamesLock);
    g_shownNames.insert(staged, shown);
}

void forget(const QString &staged)
{
    const QMutexLocker hold(&g_shownNamesLock);
    g_shownNames.remove(staged);
}

QString shownPath(const QString &path)
{
    const QString p = QDir::cleanPath(path);
    const QMutexLocker hold(&g_shownNamesLock);
    for (auto it = g_shownNames.cbegin(); it != g_shownNames.cend(); ++it) {
        if (p == it.key())
            return it.value();
        if (p.startsWith(it.key() + QLatin1Char('/')))
            return it.value() + p.mid(it.key().size());
    }
    return path;
}

// The errno value behind a Qt file device's failure, found by its text (Qt words it as
// strerror does, a few in fixed English); 0 when there is none.
int errnoOf(const QFileDevice &device)
{
    if (device.error() == QFileDevice::NoError)
        return 0;
    const QString said = device.errorString();
    static const QHash<QString, int> fixed = {{QStringLiteral("Permission denied"), EACCES},
                                              {QStringLiteral("Too many open files"), EMFILE},
                                              {QStringLiteral("No such file or directory"), ENOENT},
                                              {QStringLiteral("No space left on device"), ENOSPC}};
    if (const auto it = fixed.constFind(said); it != fixed.cend())
        return *it;
    for (int e = 1; e < 134; ++e)
        if (said == QString::fromLocal8Bit(std::strerror(e)).trimmed())
            return e;
    return 0;
}

// Flushes what was written to fd to the disk, as SQLite does before its own commit, so
// that a power cut after the rename that commits it finds it whole. 0, or the errno
// value of the failure (-1 for one injected).
int syncStep(int fd, const QString &path)
{
    if (injected(faults::Step::Sync, path))
        return -1;
    return ::fsync(fd) == 0 ? 0 : errno;
}

// The same for a folder's entries (the names made, renamed or removed in it).
void syncFolder(const QString &folder)
{
    const int fd = ::open(native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        fail(err::Kind::FileWrite, folder, errno);
    const int why = syncStep(fd, folder);
    ::close(fd);
    if (why != 0)
        fail(err::Kind::FileWrite, folder, why);
}

bool writeAll(int fd, const char *data, qint64 size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= n;
    }
    return true;
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
        const QString candidate = fi.path() + QLatin1Char('/') + temporaryStem(fi.fileName()) + QString::number(i);
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

// A disk that fills up takes part of what is buffered first and gives its reason only
// when asked for the rest.
bool flushWhole(QFileDevice &out)
{
    if (out.flush())
        return true;
    out.flush();
    return false;
}

// Why writing to out failed: a disk that fills up part-way through a piece takes what
// fits and gives no reason, so one more byte is asked of it (the file is dropped anyway).
// -1 when the system gives no reason (the writer itself gave up).
int whyWriteFailed(QFileDevice &out)
{
    out.flush();
    if (const int e = errnoOf(out); e > 0)
        return e;
    if (out.handle() >= 0 && ::write(out.handle(), "", 1) < 0)
        return errno;
    return -1;
}

void saveThrough(const QString &path, const std::function<bool(QIODevice &)> &write, err::Kind failure)
{
    const QFileInfo fi(path);
    if (fi.isDir() && !fi.isSymLink())
        fail(failure, path, EISDIR);
    // Made beside path under a name of the program's own and renamed over it once whole
    // and on the disk: a link there is replaced, never written through. Until then the
    // new file removes itself when it goes.
    QTemporaryFile out(fi.path() + QLatin1Char('/') + temporaryStem(fi.fileName()) + QStringLiteral(".XXXXXX"));
    if (!out.open())
        fail(failure, path, errnoOf(out));
    bool written = false;
    try {
        written = write(out);
    } catch (const err::Error &) {
        // A writer that stopped because the file could not take more says so as any
        // failure to write it does.
        if (out.error() == QFileDevice::NoError)
            throw;
    }
    int why = 0;
    if (!written || !flushWhole(out) || out.error() != QFileDevice::NoError || injected(faults::Step::Commit, path))
        why = whyWriteFailed(out);
    else
        why = syncStep(out.handle(), path);
    if (why != 0)
        fail(failure, path, why);
    out.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                       | QFileDevice::ReadOther);
    if (!renameOver(out.fileName(), path))
        fail(failure, path, errno);
    out.setAutoRemove(false);
}

// Copies src to dst, where nothing stands yet (a folder being staged, or a file new to
// the folder), flushed to the disk: a copy that fails is removed again.
void copyNew(const QString &src, const QString &dst)
{
    QFile in(src);
    if (!in.open(QIODevice::ReadOnly))
        fail(err::Kind::FileRead, src, errnoOf(in));
    const int fd = ::open(native(dst).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        fail(err::Kind::FileCopy, dst, errno);
    int why = -1; // errno of the failure; -1 for one without a reason, 0 once whole
    bool readFailed = false;
    QByteArray piece(kPiece, Qt::Uninitialized);
    for (;;) {
        const qint64 n = in.read(piece.data(), kPiece);
        if (n <= 0) {
            readFailed = n < 0;
            why = readFailed ? -1 : injected(faults::Step::Commit, dst) ? -1 : syncStep(fd, dst);
            break;
        }
        if (injected(faults::Step::Write, dst))
            break;
        if (!writeAll(fd, piece.constData(), n)) {
            why = errno;
            break;
        }
    }
    if (why == 0 && ::fchmod(fd, 0644) != 0)
        why = errno;
    if (::close(fd) != 0 && why == 0)
        why = errno;
    if (why != 0) {
        ::unlink(native(dst).constData());
        if (readFailed)
            fail(err::Kind::FileRead, src, errnoOf(in));
        fail(err::Kind::FileCopy, dst, why);
    }
}

// Makes a link at dst that says what the link src says (dangling or not).
void copyLink(const QString &src, const QString &dst)
{
    QByteArray says(4096, Qt::Uninitialized);
    const ssize_t n = ::readlink(native(src).constData(), says.data(), size_t(says.size()));
    if (n < 0 || n >= says.size())
        fail(err::Kind::FileRead, src, n < 0 ? errno : ENAMETOOLONG);
    says.truncate(n);
    const bool replacing = present(dst);
    const QString made = replacing ? freeNameBeside(dst) : dst;
    if (injected(faults::Step::Link, dst))
        fail(err::Kind::FileCopy, dst);
    if (::symlink(says.constData(), native(made).constData()) != 0)
        fail(err::Kind::FileCopy, dst, errno);
    if (replacing && !renameOver(made, dst)) {
        const int e = errno;
        QFile::remove(made);
        fail(err::Kind::FileCopy, dst, e);
    }
}

// Makes folder and its missing parents.
void makePath(const QString &folder)
{
    const QString clean = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    if (isRealFolder(clean))
        return;
    const QString parent = QFileInfo(clean).path();
    if (parent != clean && !QFileInfo(parent).isDir())
        makePath(parent);
    if (::mkdir(native(clean).constData(), 0777) != 0 && !(errno == EEXIST && QFileInfo(clean).isDir()))
        fail(err::Kind::FolderCreate, folder, errno);
}

void makeFolderStep(const QString &folder)
{
    if (isRealFolder(QDir::cleanPath(folder)))
        return;
    if (injected(faults::Step::MakeFolder, folder))
        fail(err::Kind::FolderCreate, folder);
    makePath(folder);
}

// Renames a folder or file to a name nothing uses.
void renameStep(const QString &from, const QString &to)
{
    if (injected(faults::Step::Rename, from))
        fail(err::Kind::FileWrite, to);
    if (present(to))
        fail(err::Kind::FileWrite, to, EEXIST);
    if (!renameOver(from, to))
        fail(err::Kind::FileWrite, to, errno);
}

// The folder a swap works on: links followed to where they lead (dangling or not), no
// trailing "/".
QString swapTarget(const QString &target)
{
    QString t = QDir::cleanPath(QFileInfo(target).absoluteFilePath());
    for (int i = 0; i < 16 && QFileInfo(t).isSymLink(); ++i)
        t = QDir::cleanPath(QFileInfo(t).symLinkTarget());
    if (target.isEmpty() || t.isEmpty() || t == QLatin1String("/"))
        fail(err::Kind::FileWrite, target);
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

// A folder at the root of a mounted disk cannot be renamed, and a folder beside it lies
// on another disk: such a folder is replaced from inside. The new contents are built in
// a folder of the program's inside it; once complete it is renamed "ready", the old
// entries move out into another, it is renamed "moving", and the new entries move in.
const QString kOwnPrefix = QStringLiteral(".quorvik~");
enum class Inside { New, Ready, Moving, Old };

QString inside(const QString &target, Inside which)
{
    static const char *const names[] = {"new", "ready", "moving", "old"};
    return target + QLatin1Char('/') + kOwnPrefix + QLatin1String(names[int(which)]);
}

// The file system's own entry of a folder: lost+found at the root of a disk, which is
// neither the user's nor the program's, and which only its owner may move.
bool disksOwn(const QString &folder, const QString &name)
{
    return name == QLatin1String("lost+found") && isMountRoot(folder);
}

// The moves of a swap from inside target whose new contents are complete, from wherever
// a kill stopped them; the old entries are left to remove.
void finishInside(const QString &target)
{
    const QString ready = inside(target, Inside::Ready);
    const QString moving = inside(target, Inside::Moving);
    if (present(ready)) {
        makeFolderStep(inside(target, Inside::Old));
        moveEntries(target, inside(target, Inside::Old));
        renameStep(ready, moving);
    }
    moveEntries(moving, target);
    removeFolder(moving);
}

} // namespace

namespace {
const QString kTemporaryMark = QStringLiteral("~quorvik");
} // namespace

QString temporaryStem(const QString &fileName)
{
    return QLatin1Char('.') + fileName + kTemporaryMark;
}

bool isTemporary(const QString &fileName)
{
    return fileName.startsWith(QLatin1Char('.')) && fileName.contains(kTemporaryMark);
}

void fail(err::Kind kind, const QString &path, int errnum)
{
    throw err::FileError(kind, shownPath(path), errnum > 0 ? err::systemReason(errnum) : QString());
}

void fail(err::Kind kind, const QString &path, QFileDevice &device)
{
    const bool writing = device.openMode() & QIODevice::WriteOnly;
    fail(kind, path, writing ? qMax(0, whyWriteFailed(device)) : errnoOf(device));
}

QString withSlash(const QString &folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

bool writeWhole(QIODevice &out, const char *data, qint64 size)
{
    while (size > 0) {
        const qint64 written = out.write(data, size);
        if (written <= 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}

void writeReplace(const QString &path, const std::function<bool(QIODevice &)> &write)
{
    saveThrough(path, write, err::Kind::FileWrite);
}

void copyReplace(const QString &src, const QString &dst)
{
    if (!QFileInfo(src).isFile())
        fail(err::Kind::FileMissing, src);
    if (sameEntry(src, dst))
        return;
    QFile in(src);
    if (!in.open(QIODevice::ReadOnly))
        fail(err::Kind::FileRead, src, errnoOf(in));
    saveThrough(dst, [&](QIODevice &out) { return pour(in, out, dst); }, err::Kind::FileCopy);
}

namespace {

// A link where a copy of the folder src goes gives way to a real folder, made beside it
// and swapped in its place: it holds what the link showed (a folder that does not hold
// the link itself), then the copy. Nothing is written where the link leads.
void replaceLinkWithCopy(const QString &src, const QString &link)
{
    const QString made = freeNameBeside(link);
    showAs(QDir::cleanPath(made), QDir::cleanPath(link));
    try {
        const QString shown = QFileInfo(link).canonicalFilePath();
        const QString home = QFileInfo(QFileInfo(link).absolutePath()).canonicalFilePath();
        if (isRealFolder(shown) && home != shown && !home.startsWith(shown + QLatin1Char('/')))
            copyTree(shown, made);
        else
            makeFolderStep(made);
        copyTree(src, made);
        syncFolder(made);
        // The folder and the link change places in one step where the file system can;
        // elsewhere the link steps aside first.
        if (injected(faults::Step::Rename, made))
            fail(err::Kind::FileWrite, link);
        if (::renameat2(AT_FDCWD, native(made).constData(), AT_FDCWD, native(link).constData(), RENAME_EXCHANGE) != 0) {
            const QString aside = freeNameBeside(link);
            if (!renameOver(link, aside))
                fail(err::Kind::FileWrite, link, errno);
            if (!renameOver(made, link)) {
                const int e = errno;
                renameOver(aside, link);
                fail(err::Kind::FileWrite, link, e);
            }
            renameOver(aside, made);
        }
    } catch (const std::exception &) {
        forget(QDir::cleanPath(made));
        if (!QFileInfo(made).isSymLink())
            try {
                removeFolder(made);
            } catch (const std::exception &) {
            }
        throw;
    }
    forget(QDir::cleanPath(made));
    QFile::remove(made); // the link, now beside the folder
}

} // namespace

void copyTree(const QString &src, const QString &dst, Existing existing, const QStringList &leaveOut)
{
    if (!QFileInfo(src).isDir())
        fail(err::Kind::FileMissing, src);
    if (sameEntry(src, dst))
        return;
    if (QFileInfo(QDir::cleanPath(dst)).isSymLink()) {
        if (existing == Existing::Replace)
            replaceLinkWithCopy(src, QDir::cleanPath(dst));
        return;
    }
    makeFolderStep(dst);
    // A folder copied into a folder inside it leaves that one out.
    const QString into = QFileInfo(dst).canonicalFilePath();
    const auto entries = QDir(src).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &fi : entries) {
        if (leaveOut.contains(fi.fileName()) || (isRealFolder(fi.absoluteFilePath()) && fi.canonicalFilePath() == into)
            || disksOwn(src, fi.fileName()) || disksOwn(dst, fi.fileName()))
            continue;
        const QString target = withSlash(dst) + fi.fileName();
        const bool there = present(target);
        if (fi.isSymLink()) {
            if (!there || existing == Existing::Replace)
                copyLink(fi.absoluteFilePath(), target);
        } else if (fi.isDir()) {
            // A file in a folder's way is kept, or the copy fails; a link is kept or
            // gives way (below).
            if (there && !isRealFolder(target) && !QFileInfo(target).isSymLink()) {
                if (existing == Existing::Keep)
                    continue;
                fail(err::Kind::FileCopy, target, ENOTDIR);
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
    , m_inside(isMountRoot(m_target))
    , m_staging(m_inside ? inside(m_target, Inside::New) : beside(m_target, "~new"))
    , m_old(m_inside ? inside(m_target, Inside::Old) : beside(m_target, "~old"))
{
    recoverSwap(m_named);
    const QString shown = QDir::cleanPath(QFileInfo(m_named).absoluteFilePath());
    for (const QString &own : ownFolders())
        showAs(own, shown);
    try {
        makeFolderStep(m_staging);
    } catch (const std::exception &) {
        for (const QString &own : ownFolders())
            forget(own);
        throw;
    }
}

QStringList FolderSwap::ownFolders() const
{
    if (!m_inside)
        return {m_staging, m_old};
    return {m_staging, inside(m_target, Inside::Ready), inside(m_target, Inside::Moving), m_old};
}

FolderSwap::~FolderSwap()
{
    for (const QString &own : ownFolders())
        forget(own);
    forget(m_companion);
    if (m_committed || m_kept)
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
        fail(err::Kind::FileWrite, fileName);
    // A file beside the root of a disk lies on another one: it cannot go in with it.
    if (m_inside)
        fail(err::Kind::FileWrite, m_named, EBUSY);
    // The new folder is complete: its entries go to the disk before the file that says so.
    syncNew();
    m_companionName = fileName;
    m_companion = companionPrefix(m_named) + fileName;
    showAs(m_companion, QFileInfo(m_companion).path() + QLatin1Char('/') + fileName);
    return m_companion;
}

void FolderSwap::syncNew()
{
    QDirIterator folders(m_staging, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot | QDir::NoSymLinks,
                         QDirIterator::Subdirectories);
    while (folders.hasNext())
        syncFolder(folders.next());
    syncFolder(m_staging);
    syncFolder(QFileInfo(m_staging).path());
}

void FolderSwap::commit(const std::function<void()> &record, const std::function<void()> &undo)
{
    // Everything new is on the disk before the first rename: each file was flushed as it
    // was written, and here the entries of every folder made for it are.
    if (m_companion.isEmpty())
        syncNew();
    else
        syncFolder(QFileInfo(m_companion).path());
    if (record) {
        if (injected(faults::Step::Record, m_named))
            throw err::DbError(err::Kind::DbStatement);
        record();
    }
    try {
        swapIn();
    } catch (const std::exception &) {
        // The record is taken back; where it cannot be, the new contents stay for the
        // next start to put in, as the record says.
        try {
            if (record)
                undo();
        } catch (const std::exception &) {
            m_kept = true;
        }
        throw;
    }
    m_committed = true;
    // The renames themselves go to the disk; the new state is in place whatever this says.
    try {
        syncFolder(QFileInfo(m_target).path());
        if (!m_companion.isEmpty())
            syncFolder(QFileInfo(m_companion).path());
    } catch (const std::exception &) {
    }
    try {
        removeFolder(m_old);
    } catch (const std::exception &) {
        // The new contents are in place; the old ones go at the next swap or start.
    }
}

void FolderSwap::swapIn()
{
    if (m_inside) {
        swapInside();
        return;
    }
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
    if (m_companion.isEmpty())
        return;
    const QString file = QFileInfo(m_companion).path() + QLatin1Char('/') + m_companionName;
    const int why = injected(faults::Step::Rename, m_companion) ? -1 : renameOver(m_companion, file) ? 0 : errno;
    if (why != 0) {
        // The old folder comes back to go with the old file.
        QDir().rename(m_target, m_staging);
        if (hadTarget)
            QDir().rename(m_old, m_target);
        fail(err::Kind::FileWrite, file, why);
    }
}

void FolderSwap::swapInside()
{
    const QString ready = inside(m_target, Inside::Ready);
    const QString moving = inside(m_target, Inside::Moving);
    renameStep(m_staging, ready);
    try {
        finishInside(m_target);
    } catch (const std::exception &) {
        // Each entry goes back where it was, the new ones into the new folder.
        try {
            const bool movingIn = present(moving);
            if (movingIn)
                moveEntries(m_target, moving);
            if (present(m_old))
                moveEntries(m_old, m_target);
            renameStep(movingIn ? moving : ready, m_staging);
        } catch (const std::exception &) {
        }
        throw;
    }
}

void recoverSwap(const QString &target, const std::function<bool(const QString &)> &recorded)
{
    const QString t = swapTarget(target);
    // A swap from inside whose new contents were complete is finished; what is left of
    // one that was not, or of its old entries, goes.
    if (isRealFolder(t)) {
        if (present(inside(t, Inside::Ready)) || present(inside(t, Inside::Moving)))
            finishInside(t);
        removeFolder(inside(t, Inside::New));
        removeFolder(inside(t, Inside::Old));
    }
    const QString staging = beside(t, "~new");
    const QString old = beside(t, "~old");
    const bool hasNew = present(staging);
    const bool hasOld = present(old);
    const auto companions = companionsOf(target);
    if (!hasNew && !hasOld && companions.isEmpty())
        return;
    // The target is moved aside only once the new contents are complete: with the
    // target gone, a new folder beside it is whole and finishes the swap. Before that,
    // a swap whose record was made (after its companion, written last) is finished too.
    // A companion outlives the new folder beside it only when that folder went in.
    const bool targetAside = hasOld && !present(t);
    bool newGoesIn = hasNew ? targetAside : present(t);
    if (hasNew && !hasOld && recorded)
        for (const auto &[staged, file] : companions)
            newGoesIn = newGoesIn || recorded(QFileInfo(file).fileName());
    if (hasNew && newGoesIn) {
        if (present(t))
            renameStep(t, old);
        renameStep(staging, t);
    } else if (targetAside) {
        renameStep(old, t);
    }
    for (const auto &[staged, file] : companions) {
        if (!newGoesIn)
            QFile::remove(staged);
        else if (!renameOver(staged, file))
            fail(err::Kind::FileWrite, file, errno);
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
            fail(err::Kind::FileDelete, folder);
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
        fail(err::Kind::FileDelete, folder);
}

void moveEntries(const QString &from, const QString &to)
{
    const QString into = QDir::cleanPath(to);
    for (const QString &name : QDir(from).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        const QString entry = QDir::cleanPath(from + QLatin1Char('/') + name);
        if (!name.startsWith(kOwnPrefix) && entry != into && !disksOwn(from, name) && !disksOwn(to, name))
            renameStep(entry, into + QLatin1Char('/') + name);
    }
}

bool isMountRoot(const QString &folder)
{
    const QString path = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    if (!isRealFolder(path))
        return false;
    const QStorageInfo disk(path);
    return disk.isValid() && QDir::cleanPath(disk.rootPath()) == path;
}

void makeFolder(const QString &folder)
{
    if (!QFileInfo(folder).isDir())
        makePath(folder);
}

void rename(const QString &from, const QString &to)
{
    renameStep(QDir::cleanPath(from), QDir::cleanPath(to));
}

namespace faults {
void setHook(Hook hook)
{
    hookSlot() = std::move(hook);
}
} // namespace faults

} // namespace fileutil
