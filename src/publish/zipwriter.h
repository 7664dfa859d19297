#pragma once
// Writes a zip archive to a device, one file after another, then the central directory.
// Names go in as given (the caller encodes them) without the UTF-8 flag; each file is
// stored or deflated, its sizes and CRC filled in once its data is written. No Zip64:
// what passes its limits is refused with err::FileError (Archive).

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <atomic>
#include <optional>

class QFile;

namespace publish {

class ZipWriter {
public:
    // *cancel turning true stops the file being added.
    ZipWriter(QIODevice &out, const std::atomic_bool *cancel);

    // Adds the file at path under name, stored as it is or deflated; false when
    // cancelled. Throws err::Error on failure.
    bool add(const QString &path, const QByteArray &name, bool store);
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

    static Header header(const QFile &in, const QByteArray &name, bool store, qint64 offset);
    void writeLocalHeader(const Header &h);
    // The file's bytes, stored or deflated; none when cancelled.
    std::optional<Sizes> writeData(QFile &in, bool store);
    // Fills the local header's sizes and CRC in, returning to the end.
    void patchLocalHeader(const Header &h, const QByteArray &sizes);
    void addCentralRecord(const Header &h, const QByteArray &sizes);

    void write(const QByteArray &bytes) { write(bytes.constData(), bytes.size()); }
    void write(const char *data, qint64 size);

    QIODevice &m_out;
    const std::atomic_bool *m_cancel;
    QByteArray m_buffer = QByteArray(1024 * 1024, Qt::Uninitialized);
    QByteArray m_packed = QByteArray(256 * 1024, Qt::Uninitialized);
    QByteArray m_central;
    qint64 m_count = 0;
};

} // namespace publish
