#include "publish/datapacker.h"

#include "core/errors.h"
#include "core/fileutil.h"
#include "core/version.h"
#include "publish/codepage.h"
#include "publish/zipwriter.h"

#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryFile>
#include <QThread>
#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <zlib.h>

namespace publish {

namespace {

using datalayout::kSqliteSuffixes;

// What packing writes lies under a hidden name of the program's own until it is complete
// (the database copy for as long as packing runs): a packing killed meanwhile leaves it
// behind, and the next one removes it. No file of the user's has such a name.
bool isLeftOver(const QString &fileName)
{
    static const QString stems[] = {fileutil::temporaryStem(kImagesArchive), fileutil::temporaryStem(kUploadArchive),
                                    fileutil::temporaryStem(kDatabaseCopy)};
    return std::any_of(std::begin(stems), std::end(stems), [&](const QString &stem) { return fileName.startsWith(stem); });
}

// SQLite counts each change it commits in the database file's header: a header that
// differs from the copy's (or a database gone) tells of a save since the copy was taken.
bool changedSince(const QString &db, const QString &copy)
{
    auto header = [](const QString &path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.read(100) : QByteArray();
    };
    const QByteArray now = header(db);
    return now.isEmpty() || now != header(copy);
}

// A size limit as the user reads it: whole gibibytes (a zip's 4 GB) or bytes.
QString sizeText(qint64 limit)
{
    constexpr qint64 gib = qint64(1) << 30;
    return (limit + 1) % gib == 0 ? QString::number((limit + 1) / gib) + QStringLiteral("GB")
                                  : QString::number(limit) + QStringLiteral("字节");
}

bool cancelled(const std::atomic_bool *cancel)
{
    return cancel && cancel->load();
}

// The name as the server reads it; a name GBK cannot hold is refused.
QByteArray gbkName(const QString &name)
{
    std::optional<QByteArray> bytes = toGbk(name);
    if (!bytes)
        throw err::FileError(err::Kind::FileNameCharset, name);
    return *bytes;
}

} // namespace

ui::Message packingFailure(const std::exception &e)
{
    return {QString::number(err::numberOf(e)) + QStringLiteral(" Form1::cmdZip_Click ") + err::descriptionOf(e),
            ui::vbOKOnly, kMainCaption};
}

std::unique_ptr<QTemporaryFile> DataPacker::copyDatabase(const QString &db)
{
    QFile source(db);
    if (!source.open(QIODevice::ReadOnly))
        fileutil::fail(err::Kind::FileRead, db, source);
    auto copy = std::make_unique<QTemporaryFile>(m_program + fileutil::temporaryStem(kDatabaseCopy) + QStringLiteral(".XXXXXX"));
    // The copy is made in the program folder: a failure names it, with the system's reason.
    if (!copy->open())
        fileutil::fail(err::Kind::FileWrite, m_program, *copy);
    QByteArray piece;
    while (!(piece = source.read(1024 * 1024)).isEmpty())
        if (!fileutil::writeWhole(*copy, piece.constData(), piece.size()))
            fileutil::fail(err::Kind::FileWrite, m_program, *copy);
    if (source.error() != QFileDevice::NoError)
        fileutil::fail(err::Kind::FileRead, db, source);
    if (!copy->flush())
        fileutil::fail(err::Kind::FileWrite, m_program, *copy);
    m_dbName = QFileInfo(db).fileName();
    m_dbCopy = copy->fileName();
    return copy;
}

qint64 checkZipLimits(const QString &archive, const QList<ZipEntry> &entries, const ZipLimits &limits)
{
    if (entries.size() > limits.entries)
        throw err::FileError(err::Kind::Overflow,
                             QStringLiteral("压缩文件中的文件个数超过了上限（%1个）：%2").arg(limits.entries).arg(archive));
    // Every entry's two headers and its data (deflating may add a little), and the end record.
    qint64 most = 22;
    for (const ZipEntry &entry : entries) {
        const qint64 size = entry.size >= 0 ? entry.size : QFileInfo(entry.path).size();
        if (size > limits.bytes)
            throw err::FileError(err::Kind::Overflow, QStringLiteral("单个文件的大小超过了上限（%1）：%2")
                                                          .arg(sizeText(limits.bytes), entry.name));
        const qint64 data = hasCompressedSuffix(entry.name) ? size : qint64(compressBound(uLong(size)));
        most += 30 + 46 + 2 * qint64(gbkName(entry.name).size()) + data;
    }
    if (most > limits.bytes)
        throw err::FileError(err::Kind::Overflow,
                             QStringLiteral("压缩文件的大小超过了上限（%1）：%2").arg(sizeText(limits.bytes), archive));
    return most;
}

bool writeZip(const QString &archive, const QList<ZipEntry> &entries, const std::atomic_bool *cancel)
{
    if (entries.isEmpty()) {
        if ((QFileInfo::exists(archive) || QFileInfo(archive).isSymLink()) && !QFile::remove(archive))
            throw err::FileError(err::Kind::FileDelete, archive);
        return true;
    }
    // Every name is checked before anything is written.
    QList<ZipSource> files;
    files.reserve(entries.size());
    for (const ZipEntry &entry : entries)
        files << ZipSource{entry.path, gbkName(entry.name), hasCompressedSuffix(entry.name), entry.size};
    if (cancelled(cancel))
        return false;

    // Written beside the old archive, which it replaces only once complete.
    bool stopped = false;
    try {
        fileutil::writeReplace(archive, [&](QIODevice &out) {
            ZipWriter zip(out, archive, cancel);
            if (!zip.add(files)) {
                stopped = true;
                return false;
            }
            zip.finish();
            return true;
        });
    } catch (const err::Error &) {
        if (!stopped)
            throw;
    }
    return !stopped;
}

DataPacker::DataPacker(const QString &programFolder, const QString &dataFolder)
    : m_program(programFolder)
    , m_data(dataFolder)
{
}

QList<DataPacker::FolderFile> DataPacker::regularFiles(const QString &folder)
{
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        fileutil::fail(err::Kind::FileRead, folder, errno);
    const auto closing = qScopeGuard([dir] { ::closedir(dir); });
    // Most file systems tell folders and links apart without being asked; the rest are
    // looked at, a share on each of a few threads.
    std::vector<QByteArray> names;
    while (const dirent *entry = ::readdir(dir))
        if (entry->d_type == DT_REG || entry->d_type == DT_UNKNOWN)
            names.emplace_back(entry->d_name);
    QList<FolderFile> files(qsizetype(names.size()));
    onThreads(qsizetype(names.size()), [&](qsizetype k, int) {
        struct stat st;
        const QByteArray &name = names[size_t(k)];
        if (::fstatat(::dirfd(dir), name.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode))
            files[k] = {QFile::decodeName(name), qint64(st.st_size)};
        else
            files[k].size = -1; // no plain file
    });
    files.removeIf([](const FolderFile &f) { return f.size < 0; });
    std::sort(files.begin(), files.end(), [](const FolderFile &a, const FolderFile &b) { return a.name < b.name; });
    return files;
}

void DataPacker::removeFile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return;
    QFile file(path);
    // Read-only files go too.
    if (!info.isSymLink())
        file.setPermissions(file.permissions() | QFileDevice::WriteOwner);
    if (!file.remove())
        throw err::FileError(err::Kind::FileDelete, path);
}

QList<DataPacker::FolderFile> DataPacker::removeLeftOvers(const QString &folder) const
{
    QList<FolderFile> files = regularFiles(folder);
    const QString inUse = m_dbCopy.isEmpty() ? QString() : QFileInfo(m_dbCopy).absoluteFilePath();
    files.removeIf([&](const FolderFile &f) {
        // Another file being written whole (a save meanwhile) is never packed either,
        // nor removed: it is not packing's.
        if (!isLeftOver(f.name))
            return fileutil::isTemporary(f.name);
        const QString path = folder + f.name;
        if (QFileInfo(path).absoluteFilePath() != inUse)
            QFile::remove(path); // one that stays is still never packed
        return true;
    });
    return files;
}

QList<DataPacker::FolderFile> DataPacker::packedFiles(const QString &folder) const
{
    const QList<FolderFile> files = removeLeftOvers(folder);
    // SQLite's own files beside a database of the folder.
    auto has = [&](const QString &name) {
        const auto at = std::lower_bound(files.cbegin(), files.cend(), name,
                                         [](const FolderFile &f, const QString &n) { return f.name < n; });
        return at != files.cend() && at->name == name;
    };
    QList<FolderFile> packed;
    for (const FolderFile &f : files) {
        const bool sqliteOwn = std::any_of(kSqliteSuffixes.begin(), kSqliteSuffixes.end(), [&](const QString &s) {
            return f.name.endsWith(s) && has(f.name.chopped(s.size()));
        });
        if (!sqliteOwn)
            packed << f;
    }
    // One name ending in "asp" ("grasp" too) is enough to clear every "*.asp" file.
    const bool scripts = std::any_of(packed.cbegin(), packed.cend(), [](const FolderFile &f) {
        return f.name.endsWith(QLatin1String("asp"), Qt::CaseInsensitive);
    });
    if (scripts)
        packed.removeIf([&](const FolderFile &f) {
            if (!f.name.endsWith(QLatin1String(".asp"), Qt::CaseInsensitive))
                return false;
            removeFile(folder + f.name);
            return true;
        });
    return packed;
}

DataPacker::Result DataPacker::packData(const std::atomic_bool *cancel)
{
    Result result;
    try {
        if (!QFileInfo(m_data).isDir())
            throw err::FileError(err::Kind::FileMissing, m_data);
        removeLeftOvers(m_program);
        const QList<FolderFile> top = packedFiles(m_data);

        // A pictures folder that is a link to elsewhere is not the user's to pack.
        const QFileInfo imagesInfo(m_data + kImagesFolder);
        const bool hasImages = imagesInfo.isDir() && !imagesInfo.isSymLink();
        const QString images = m_data + kImagesFolder + QLatin1Char('/');
        QList<ZipEntry> pictures;
        if (hasImages)
            for (const FolderFile &f : packedFiles(images))
                pictures << ZipEntry{f.name, images + f.name, f.size};
        QList<ZipEntry> upload;
        for (const FolderFile &f : top) {
            if (f.name == kImagesArchive)
                continue; // the one written below, or none
            if (!m_dbName.isEmpty() && f.name == m_dbName)
                upload << ZipEntry{f.name, m_dbCopy};
            else
                upload << ZipEntry{f.name, m_data + f.name, f.size};
        }
        // A name the server cannot read, or more than an archive holds, stops packing
        // before any archive changes.
        QList<ZipEntry> planned = upload;
        if (!pictures.isEmpty())
            planned << ZipEntry{kImagesArchive, m_data + kImagesArchive, checkZipLimits(kImagesArchive, pictures, m_limits)};
        checkZipLimits(kUploadArchive, planned, m_limits);

        // An empty pictures folder writes no picture archive and removes the old one.
        if (!writeZip(m_data + kImagesArchive, pictures, cancel)) {
            result.cancelled = true;
            return result;
        }
        if (!pictures.isEmpty()) {
            upload << ZipEntry{kImagesArchive, m_data + kImagesArchive};
            std::sort(upload.begin(), upload.end(), [](const ZipEntry &a, const ZipEntry &b) { return a.name < b.name; });
        }
        if (upload.isEmpty())
            throw err::FileError(err::Kind::FileMissing, archivePath());
        if (!writeZip(archivePath(), upload, cancel)) {
            result.cancelled = true;
            return result;
        }
    } catch (const std::exception &e) {
        result.message = packingFailure(e);
        // An old upload archive is not left to be sent.
        QFile::remove(archivePath());
        return result;
    }
    result.ok = true;
    return result;
}

// ---- PackJob ----------------------------------------------------------------------

PackJob::PackJob(const DataPacker &packer, const QString &db, QObject *parent)
    : QObject(parent)
    , m_packer(packer)
    , m_db(db)
{
}

PackJob::~PackJob()
{
    cancelAndWait();
}

void PackJob::start()
{
    if (m_running)
        return;
    m_running = true;
    m_cancel = false;
    run();
}

void PackJob::run()
{
    if (!m_db.isEmpty()) {
        try {
            m_dbCopy = m_packer.copyDatabase(m_db);
        } catch (const std::exception &e) {
            m_result = {false, false, packingFailure(e)};
            // Told once the caller is back in the event loop, as a packing's end is.
            QMetaObject::invokeMethod(this, &PackJob::done, Qt::QueuedConnection);
            return;
        }
    }
    m_thread = QThread::create([this] { m_result = m_packer.packData(&m_cancel); });
    connect(m_thread, &QThread::finished, this, [this] {
        // Delivered on this object's thread once the worker is done.
        if (!m_running)
            return;
        m_thread->deleteLater();
        m_thread = nullptr;
        // A save meanwhile may have replaced or deleted a picture that the copy names,
        // after it was packed or before: packing starts again from a new copy.
        if (!m_result.cancelled && m_dbCopy && changedSince(m_db, m_dbCopy->fileName())) {
            run();
            return;
        }
        done();
    });
    m_thread->start();
}

void PackJob::done()
{
    if (!m_running)
        return;
    m_running = false;
    m_dbCopy.reset();
    emit finished(m_result);
}

void PackJob::cancelAndWait()
{
    m_running = false;
    if (m_thread) {
        m_cancel = true;
        m_thread->wait();
        delete m_thread;
        m_thread = nullptr;
    }
    m_dbCopy.reset();
}

} // namespace publish
