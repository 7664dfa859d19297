#include "publish/zipwriter.h"

#include "core/errors.h"
#include "core/littleendian.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <functional>
#include <zlib.h>

namespace publish {

using littleendian::put16;
using littleendian::put32;

namespace {

// The limit of every size and offset without Zip64.
constexpr qint64 kMost32 = 0xFFFFFFFFLL;

// MS-DOS time and date of a moment in local time (1980 at the earliest).
std::pair<quint16, quint16> dosTime(const QDateTime &when)
{
    const QDateTime t = when.isValid() && when.date().year() >= 1980 ? when.toLocalTime()
                                                                     : QDateTime(QDate(1980, 1, 1), QTime(0, 0));
    const quint16 time = quint16(t.time().hour() << 11 | t.time().minute() << 5 | t.time().second() / 2);
    const quint16 date = quint16((t.date().year() - 1980) << 9 | t.date().month() << 5 | t.date().day());
    return {time, date};
}

// zlib's raw deflate stream for one file, ended when it goes.
class Deflater {
public:
    using Sink = std::function<void(const char *data, qint64 size)>;

    Deflater(const QString &path, QByteArray &out, Sink sink)
        : m_path(path)
        , m_out(out)
        , m_sink(std::move(sink))
    {
        if (deflateInit2(&m_z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
            throw err::FileError(err::Kind::Archive, m_path);
    }
    ~Deflater() { deflateEnd(&m_z); }
    Deflater(const Deflater &) = delete;
    Deflater &operator=(const Deflater &) = delete;

    // Deflates one piece of the file, an empty one finishing the stream, and hands on
    // what comes out.
    void feed(char *data, qint64 size)
    {
        m_z.next_in = reinterpret_cast<Bytef *>(data);
        m_z.avail_in = uInt(size);
        const int flush = size == 0 ? Z_FINISH : Z_NO_FLUSH;
        int state = Z_OK;
        do {
            m_z.next_out = reinterpret_cast<Bytef *>(m_out.data());
            m_z.avail_out = uInt(m_out.size());
            state = deflate(&m_z, flush);
            // Only a piece that left nothing to do (Z_BUF_ERROR) is no failure.
            if (state != Z_OK && state != Z_STREAM_END && !(state == Z_BUF_ERROR && flush == Z_NO_FLUSH))
                throw err::FileError(err::Kind::Archive, m_path);
            m_sink(m_out.constData(), m_out.size() - qint64(m_z.avail_out));
        } while (m_z.avail_out == 0 || (flush == Z_FINISH && state != Z_STREAM_END));
    }

private:
    z_stream m_z{};
    QString m_path;
    QByteArray &m_out;
    Sink m_sink;
};

} // namespace

ZipWriter::ZipWriter(QIODevice &out, const std::atomic_bool *cancel)
    : m_out(out)
    , m_cancel(cancel)
{
}

bool ZipWriter::add(const QString &path, const QByteArray &name, bool store)
{
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        throw err::FileError(err::Kind::FileRead, path);
    const Header h = header(in, name, store, m_out.pos());
    writeLocalHeader(h);
    const std::optional<Sizes> written = writeData(in, store);
    if (!written)
        return false;
    if (written->size > kMost32 || written->packed > kMost32 || m_out.pos() > kMost32)
        throw err::FileError(err::Kind::Archive, path);
    QByteArray sizes;
    put32(sizes, written->crc);
    put32(sizes, quint32(written->packed));
    put32(sizes, quint32(written->size));
    patchLocalHeader(h, sizes);
    addCentralRecord(h, sizes);
    ++m_count;
    return true;
}

ZipWriter::Header ZipWriter::header(const QFile &in, const QByteArray &name, bool store, qint64 offset)
{
    const auto [time, date] = dosTime(QFileInfo(in).lastModified());
    return {name, quint16(store ? 0 : 8), quint16(store ? 10 : 20), time, date, offset};
}

void ZipWriter::writeLocalHeader(const Header &h)
{
    QByteArray local;
    put32(local, 0x04034b50);
    put16(local, h.needed);
    put16(local, 0); // no flags: the name is in the code page, not UTF-8
    put16(local, h.method);
    put16(local, h.time);
    put16(local, h.date);
    // CRC and sizes, filled in once the data is written.
    put32(local, 0);
    put32(local, 0);
    put32(local, 0);
    put16(local, quint16(h.name.size()));
    put16(local, 0);
    local += h.name;
    write(local);
}

std::optional<ZipWriter::Sizes> ZipWriter::writeData(QFile &in, bool store)
{
    Sizes sizes;
    sizes.crc = quint32(crc32(0, nullptr, 0));
    const qint64 start = m_out.pos();
    std::optional<Deflater> deflater;
    if (!store)
        deflater.emplace(in.fileName(), m_packed, [this](const char *data, qint64 size) { write(data, size); });
    for (;;) {
        if (m_cancel && m_cancel->load())
            return std::nullopt;
        const qint64 got = in.read(m_buffer.data(), m_buffer.size());
        if (got < 0)
            throw err::FileError(err::Kind::FileRead, in.fileName());
        sizes.crc = quint32(crc32(sizes.crc, reinterpret_cast<const Bytef *>(m_buffer.constData()), uInt(got)));
        sizes.size += got;
        if (deflater)
            deflater->feed(m_buffer.data(), got);
        else
            write(m_buffer.constData(), got);
        if (got == 0)
            break;
    }
    sizes.packed = m_out.pos() - start;
    return sizes;
}

void ZipWriter::patchLocalHeader(const Header &h, const QByteArray &sizes)
{
    const qint64 end = m_out.pos();
    if (!m_out.seek(h.offset + 14))
        throw err::FileError(err::Kind::FileWrite, m_out.errorString());
    write(sizes);
    if (!m_out.seek(end))
        throw err::FileError(err::Kind::FileWrite, m_out.errorString());
}

void ZipWriter::addCentralRecord(const Header &h, const QByteArray &sizes)
{
    put32(m_central, 0x02014b50);
    put16(m_central, 20); // made by: MS-DOS, 2.0
    put16(m_central, h.needed);
    put16(m_central, 0);
    put16(m_central, h.method);
    put16(m_central, h.time);
    put16(m_central, h.date);
    m_central += sizes;
    put16(m_central, quint16(h.name.size()));
    put16(m_central, 0);
    put16(m_central, 0);
    put16(m_central, 0);
    put16(m_central, 0);
    put32(m_central, 0);
    put32(m_central, quint32(h.offset));
    m_central += h.name;
}

void ZipWriter::finish()
{
    if (m_count > 0xFFFF)
        throw err::FileError(err::Kind::Archive, QString::number(m_count));
    const qint64 start = m_out.pos();
    write(m_central);
    QByteArray end;
    put32(end, 0x06054b50);
    put16(end, 0);
    put16(end, 0);
    put16(end, quint16(m_count));
    put16(end, quint16(m_count));
    put32(end, quint32(m_central.size()));
    put32(end, quint32(start));
    put16(end, 0);
    write(end);
}

void ZipWriter::write(const char *data, qint64 size)
{
    // A disk that fills up takes part of a piece first and gives its reason (no space
    // left) only when asked for the rest.
    while (size > 0) {
        const qint64 written = m_out.write(data, size);
        if (written <= 0)
            throw err::FileError(err::Kind::FileWrite, m_out.errorString());
        data += written;
        size -= written;
    }
}

} // namespace publish
