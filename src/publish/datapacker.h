#pragma once
// Packing the data folder for an upload: the pictures folder images/ into images.zip
// inside the data folder, then everything lying directly in the data folder into
// ziptest.zip in the program folder. Script pages (*.asp) are removed first.
//
// Only the user's own files are packed: links are skipped (never followed, nothing is
// deleted through them), and so are SQLite's own files beside a database and the
// temporary files an interrupted packing left behind. Each archive is written beside
// the old one and takes its place only when complete. What an archive cannot hold
// without Zip64 (the server's reader may not know it) is refused before anything is
// compressed.

#include "core/datalayout.h"
#include "core/message.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTemporaryFile>
#include <atomic>
#include <memory>
#include <optional>
#include <stdexcept>

class QThread;

namespace publish {

using datalayout::kImagesArchive;
using datalayout::kImagesFolder;
using datalayout::kUploadArchive;
// The copy of the database packed in its place lies in the program folder, under a
// hidden name made from this one, while packing runs.
inline const QString kDatabaseCopy = QStringLiteral("ziptest.qdb");

// One file of an archive: its name there, and the file its bytes come from.
struct ZipEntry {
    QString name;
    QString path;
    // Its size as last seen, or for a file still to be written (the pictures' archive)
    // the most it can have; -1: path's own, looked up.
    qint64 size = -1;
};

// The most a zip archive without Zip64 holds: entries, and bytes of one file and of
// the whole archive.
struct ZipLimits {
    qint64 entries = 0xFFFF;
    qint64 bytes = 0xFFFFFFFF;
};

// Writes archive holding entries, in their order. Names are stored in GBK (the server's
// code page) without the UTF-8 flag; files already compressed (by their name's
// extension, else by their first bytes) are stored, the rest deflated. The new archive replaces the old one only when complete; no entries removes
// the old one. Returns false when *cancel turned true (the old archive stays); throws
// err::Error on failure.
bool writeZip(const QString &archive, const QList<ZipEntry> &entries, const std::atomic_bool *cancel = nullptr);

// The most bytes an archive of entries can take; throws err::FileError (Overflow)
// naming the limit that entries pass. Nothing is compressed to find out.
qint64 checkZipLimits(const QString &archive, const QList<ZipEntry> &entries, const ZipLimits &limits);

// The packing error box: "number Form1::cmdZip_Click description", no icon, the
// program's title.
ui::Message packingFailure(const std::exception &e);


class DataPacker {
public:
    // Both folders end in "/".
    DataPacker(const QString &programFolder, const QString &dataFolder);

    // Copies the database db into the program folder, where nothing writes to it and a
    // later packing removes it should this one be killed; the data folder's file of its
    // name is then packed from the copy. The copy goes with the object. Throws
    // err::FileError when it cannot be made, naming the program folder and the reason.
    std::unique_ptr<QTemporaryFile> copyDatabase(const QString &db);
    // Smaller limits than a zip's own (tests).
    void setLimits(const ZipLimits &limits) { m_limits = limits; }

    struct Result {
        bool ok = false;
        // Stopped on request: both archives are as they were, nothing to say.
        bool cancelled = false;
        // Shown to the user, when there is something to say.
        std::optional<ui::Message> message;
    };
    // Packs; ok only when both archives were written as asked. Checks *cancel between
    // steps and while writing.
    Result packData(const std::atomic_bool *cancel = nullptr);

    QString archivePath() const { return m_program + kUploadArchive; }

private:
    // A file lying in a folder, as listed.
    struct FolderFile {
        QString name;
        qint64 size = 0;
    };
    // The plain files of folder (ending in "/"), links left out, in name order.
    static QList<FolderFile> regularFiles(const QString &folder);
    // Deletes what interrupted packings left in folder, but not the database copy in
    // use; the folder's other files.
    QList<FolderFile> removeLeftOvers(const QString &folder) const;
    // The files of folder that go into its archive, left-overs deleted and SQLite's own
    // beside a database left out; once some name ends in "asp", the "*.asp" files are
    // deleted.
    QList<FolderFile> packedFiles(const QString &folder) const;
    static void removeFile(const QString &path);

    QString m_program;
    QString m_data;
    QString m_dbName;
    QString m_dbCopy;
    ZipLimits m_limits;
};

// Packing on a worker thread: the window stays responsive. finished() comes on the
// thread that started it; cancelling waits until the worker has stopped.
//
// The site database is packed from a copy taken on that thread, between its events, so
// the copy is whole. The views go on saving meanwhile, and a save may replace or delete
// pictures: when the database has changed by the time the worker is done, packing
// starts again from a new copy. The archive thus never holds a database that names a
// picture it lacks.
class PackJob : public QObject {
    Q_OBJECT
public:
    // db: the site database, empty for none.
    explicit PackJob(const DataPacker &packer, const QString &db = QString(), QObject *parent = nullptr);
    ~PackJob() override; // cancels and waits

    void start();
    bool isRunning() const { return m_running; }
    // Stops the packing and waits for the worker; finished() does not come.
    void cancelAndWait();

signals:
    void finished(const publish::DataPacker::Result &result);

private:
    // Copies the database and starts the worker.
    void run();
    // Tells the result, unless cancelled.
    void done();

    DataPacker m_packer;
    QString m_db;
    std::unique_ptr<QTemporaryFile> m_dbCopy;
    DataPacker::Result m_result;
    std::atomic_bool m_cancel{false};
    QThread *m_thread = nullptr;
    bool m_running = false;
};

} // namespace publish
