#include "publish/datapacker.h"

#include "platform/errors.h"
#include "platform/version.h"

#include <QDir>
#include <algorithm>
#include <QFile>
#include <QFileInfo>
#include <zip.h>

namespace publish {

namespace {

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

ui::Message archiveFailure(const QString &text)
{
    return {text, ui::vbOKOnly, kMainCaption};
}

} // namespace

QString zipFolderFiles(const QString &archive, const QString &folder)
{
    const QStringList names = filesIn(folder);
    int code = 0;
    zip_t *z = zip_open(QFile::encodeName(archive).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!z) {
        zip_error_t error;
        zip_error_init_with_code(&error, code);
        const QString text = QString::fromLocal8Bit(zip_error_strerror(&error));
        zip_error_fini(&error);
        return text;
    }
    for (const QString &name : names) {
        const QByteArray path = QFile::encodeName(QDir(folder).filePath(name));
        zip_source_t *source = zip_source_file(z, path.constData(), 0, -1);
        if (!source || zip_file_add(z, name.toUtf8().constData(), source, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8) < 0) {
            const QString text = QString::fromLocal8Bit(zip_strerror(z));
            if (source)
                zip_source_free(source);
            zip_discard(z);
            return text;
        }
    }
    // The files are read here.
    if (zip_close(z) < 0) {
        const QString text = QString::fromLocal8Bit(zip_strerror(z));
        zip_discard(z);
        QFile::remove(archive);
        return text;
    }
    return QString();
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
        names << QString::fromUtf8(zip_get_name(z, zip_uint64_t(i), ZIP_FL_ENC_GUESS));
    zip_discard(z);
    return names;
}

DataPacker::DataPacker(const QString &programFolder, const QString &dataFolder)
    : m_program(programFolder)
    , m_data(dataFolder)
{
}

void DataPacker::removeFile(const QString &path)
{
    if (!QFileInfo::exists(path))
        return;
    QFile file(path);
    // Read-only files go too.
    file.setPermissions(file.permissions() | QFileDevice::WriteOwner);
    if (!file.remove())
        throw err::FileError(err::Kind::FileDelete, path);
}

void DataPacker::removeScriptPages(const QString &folder)
{
    const QStringList names = filesIn(folder);
    // One name ending in "asp" ("grasp" too) is enough to clear every "*.asp" file.
    const bool any = std::any_of(names.begin(), names.end(),
                                 [](const QString &n) { return n.right(3).toLower() == QLatin1String("asp"); });
    if (!any)
        return;
    for (const QString &name : names)
        if (name.endsWith(QLatin1String(".asp"), Qt::CaseInsensitive))
            removeFile(QDir(folder).filePath(name));
}

DataPacker::Result DataPacker::packData()
{
    Result result;
    try {
        removeFile(m_program + kUploadArchive);
        if (!QFileInfo(m_data).isDir())
            throw err::FileError(err::Kind::FileMissing, m_data);

        const QString images = m_data + kImagesFolder + QLatin1Char('/');
        const bool hasImages = QFileInfo(images).isDir();
        if (hasImages)
            removeScriptPages(images);
        removeFile(m_data + kImagesArchive);
        if (hasImages && !filesIn(images).isEmpty()) {
            const QString failure = zipFolderFiles(m_data + kImagesArchive, images);
            // Without its pictures the site would be published incomplete.
            if (!failure.isEmpty()) {
                result.message = archiveFailure(failure);
                return result;
            }
        }

        removeScriptPages(m_data);
        const QString failure = zipFolderFiles(archivePath(), m_data);
        if (!failure.isEmpty()) {
            result.message = archiveFailure(failure);
            return result;
        }
        if (!QFileInfo(archivePath()).isFile())
            throw err::FileError(err::Kind::FileMissing, archivePath());
    } catch (const std::exception &e) {
        result.message = archiveFailure(QStringLiteral("Form1::cmdZip_Click ") + err::descriptionOf(e));
        return result;
    }
    result.ok = true;
    return result;
}

} // namespace publish
