#pragma once
// Writes a zip archive to a device, one file after another, then the central directory.
// Names go in as given (the caller encodes them) without the UTF-8 flag; each file is
// stored or deflated, its sizes and CRC in its local header. No Zip64: what passes its
// limits is refused with err::FileError (Archive).
//
// Small files are read and deflated a batch at a time on a few threads, each whole in
// memory, and written in their order; a large one goes through in pieces and its
// header is filled in afterwards. Either way the archive's bytes are the same.

#include <QByteArray>
#include <QIODevice>
#include <QList>
#include <QString>
#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <vector>

namespace publish {

// Kinds of file that deflating would not shrink: by the name's extension, or by the
// file's first bytes (a dozen are enough).
bool hasCompressedSuffix(const QString &name);
bool looksCompressed(const char *head, qint64 size);

// How many threads are worth having for count small pieces of work (a few at the
// most), and each(item, thread) run for every item below count on that many threads at
// once, this one among them (thread 0), as each thread comes for more; it returns when
// all are done.
int threadsFor(qsizetype count);
void onThreads(qsizetype count, const std::function<void(qsizetype item, int thread)> &each);

// One file to add: where its bytes are, its name in the archive (encoded), whether it
// is stored whatever its first bytes, and its size as last seen (-1: not known).
struct ZipSource {
    QString path;
    QByteArray name;
    bool store = false;
    qint64 size = -1;
};

class ZipWriter {
public:
    // archive: the archive's name as the user knows it, for messages (a failure to write
    // out is told with the system's reason by whoever made out). *cancel turning true
    // stops the writing.
    ZipWriter(QIODevice &out, const QString &archive, const std::atomic_bool *cancel);
    ~ZipWriter();
    ZipWriter(const ZipWriter &) = delete;
    ZipWriter &operator=(const ZipWriter &) = delete;

    // Adds the files in their order, each stored when it says so or its first bytes
    // show a compressed kind, else deflated; false when cancelled. Throws err::Error on
    // failure (the first file's in order).
    bool add(const QList<ZipSource> &files);
    // Writes the central directory and the end record.
    void finish();

private:
    // What the local header and the central directory say of one file.
    struct Header {
        QByteArray name;
        quint16 method = 0;
        quint16 needed = 0; // the zip version needed to extract it
        quint16 time = 0;
        quint16 date = 0;
        qint64 offset = 0; // of the local header
    };
    // What is known once the data is written.
    struct Sizes {
        quint32 crc = 0;
        qint64 packed = 0;
        qint64 size = 0;
    };
    // A small file made ready: its header and data, or its failure; not whole when it
    // turned out too large for the buffer.
    struct Ready {
        bool whole = false;
        Header header;
        Sizes sizes;
        QByteArray data;
        std::exception_ptr failure;
    };
    class Deflater;
    // What one thread reads and deflates with.
    struct Worker;
    class InFile;

    // Reads, deflates and checks the small files [from, to) on the workers.
    void prepare(const QList<ZipSource> &files, qsizetype from, qsizetype to);
    static void prepareOne(const ZipSource &file, Worker &worker, Ready &ready, const std::atomic_bool *cancel);
    // The header of the file open as in (its offset still to be set), with its first
    // bytes read into buffer: got of them, all when fewer.
    static Header readHead(const ZipSource &file, const InFile &in, QByteArray &buffer, qint64 &got);
    // A file in pieces, its header filled in afterwards; false when cancelled.
    bool putInPieces(const ZipSource &file);
    // The CRC and sizes; the fields the local header and the central record share.
    static void putSizes(QByteArray &out, const Sizes &sizes);
    static void putFields(QByteArray &out, const Header &h, const Sizes &sizes);
    void putLocalHeader(const Header &h, const Sizes &sizes);
    void patchLocalHeader(const Header &h, const Sizes &sizes);
    void addCentralRecord(const Header &h, const Sizes &sizes);

    // Bytes of the archive, in order: gathered, and handed on in large pieces.
    void put(const char *data, qint64 size);
    void put(const QByteArray &bytes) { put(bytes.constData(), bytes.size()); }
    void flushPending();
    void write(const char *data, qint64 size);

    QIODevice &m_out;
    QString m_archive;
    const std::atomic_bool *m_cancel;
    std::vector<std::unique_ptr<Worker>> m_workers;
    std::vector<Ready> m_ready;
    QByteArray m_pending;
    qint64 m_offset = 0; // the archive's size so far, what is pending included
    QByteArray m_central;
    qint64 m_count = 0;
};

} // namespace publish
