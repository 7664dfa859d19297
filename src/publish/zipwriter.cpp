#include "publish/zipwriter.h"

#include "core/errors.h"
#include "core/fileutil.h"
#include "core/littleendian.h"

#include <QFile>
#include <QStringList>
#include <QThread>
#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <functional>
#include <mutex>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <zlib.h>

namespace publish {

using littleendian::put16;
using littleendian::put32;

namespace {

// The limit of every size and offset without Zip64.
constexpr qint64 kMost32 = 0xFFFFFFFFLL;
// Pending bytes are handed to the device once there are this many.
constexpr qint64 kPendingMost = 1024 * 1024;
// A file smaller than this is read and deflated whole.
constexpr qint64 kWhole = 1024 * 1024;
// Small files made ready at a time: so many, or about so many bytes.
constexpr qsizetype kBatchFiles = 8192;
constexpr qint64 kBatchBytes = 16 * 1024 * 1024;
// Threads that make them ready, at the most.
constexpr int kMostThreads = 8;

// Kinds of file that deflating does not shrink.
const QStringList kCompressedSuffixes = {
    QStringLiteral("jpg"), QStringLiteral("jpeg"), QStringLiteral("gif"), QStringLiteral("png"),
    QStringLiteral("zip"), QStringLiteral("swf"), QStringLiteral("rar"), QStringLiteral("7z"),
    QStringLiteral("mp3"), QStringLiteral("mp4"),
};

// An MPEG audio frame header: the sync bits, then a version, layer III or II, a bit
// rate and a sampling rate that exist. Layer I is left out: its header begins with the
// bytes of UTF-16's byte-order mark (FF FE).
bool isMpegAudioFrame(const QByteArray &head)
{
    if (head.size() < 3 || uchar(head[0]) != 0xFF || (uchar(head[1]) & 0xE0) != 0xE0)
        return false;
    const int version = (uchar(head[1]) >> 3) & 3;
    const int layer = (uchar(head[1]) >> 1) & 3;
    const int bitrate = uchar(head[2]) >> 4;
    const int rate = (uchar(head[2]) >> 2) & 3;
    return version != 1 && (layer == 1 || layer == 2) && bitrate != 15 && rate != 3;
}

// MS-DOS time and date of a moment in local time (1980 at the earliest).
std::pair<quint16, quint16> dosTime(time_t when)
{
    tm t{};
    if (!localtime_r(&when, &t) || t.tm_year + 1900 < 1980)
        return {0, quint16(1 << 5 | 1)};
    const quint16 time = quint16(t.tm_hour << 11 | t.tm_min << 5 | t.tm_sec / 2);
    const quint16 date = quint16((t.tm_year + 1900 - 1980) << 9 | (t.tm_mon + 1) << 5 | t.tm_mday);
    return {time, date};
}

// Reads from fd until size bytes are in, the file ends, or the enough bytes it was
// last seen to have are in (asking once more would only find its end); how many came.
qint64 readUpTo(int fd, char *data, qint64 size, const QString &path, qint64 enough = -1)
{
    qint64 got = 0;
    while (got < size && got != enough) {
        const ssize_t n = ::read(fd, data + got, size_t(size - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            fileutil::fail(err::Kind::FileRead, path, errno);
        if (n == 0)
            break;
        got += n;
    }
    return got;
}

} // namespace

bool hasCompressedSuffix(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot >= 0 && kCompressedSuffixes.contains(QStringView(name).mid(dot + 1), Qt::CaseInsensitive);
}

bool looksCompressed(const char *data, qint64 size)
{
    const QByteArray head = QByteArray::fromRawData(data, qsizetype(qMin<qint64>(size, 12)));
    auto starts = [&](const char *magic, qsizetype length) { return head.startsWith(QByteArrayView(magic, length)); };
    return starts("\xFF\xD8\xFF", 3)                                  // JPEG
           || starts("\x89PNG", 4) || starts("GIF8", 4)                // PNG, GIF
           || starts("PK\x03\x04", 4) || starts("PK\x05\x06", 4)      // zip
           || starts("Rar!", 4) || starts("7z\xBC\xAF\x27\x1C", 6)    // RAR, 7-Zip
           || starts("\x1F\x8B", 2)                                    // gzip
           || starts("CWS", 3) || starts("ZWS", 3)                     // compressed Flash
           || starts("ID3", 3)                                         // MP3
           || isMpegAudioFrame(head)                                   // MP3, MP2
           || head.mid(4, 4) == "ftyp";                                // MP4
}

int threadsFor(qsizetype count)
{
    // A few dozen files are not worth a thread.
    const int most = qBound(1, QThread::idealThreadCount(), kMostThreads);
    return int(qBound(qsizetype(1), count / 64, qsizetype(most)));
}

void onThreads(qsizetype count, const std::function<void(qsizetype item, int thread)> &each)
{
    // Items are handed out a few at a time as threads come for them: one that the
    // system keeps waiting holds up only those it took.
    constexpr qsizetype kTake = 8;
    std::atomic<qsizetype> next{0};
    std::exception_ptr failure;
    std::mutex failing;
    auto work = [&](int thread) {
        try {
            for (qsizetype from = next.fetch_add(kTake); from < count; from = next.fetch_add(kTake))
                for (qsizetype item = from; item < qMin(from + kTake, count); ++item)
                    each(item, thread);
        } catch (...) {
            // Told on this thread once all are done; the others stop taking items.
            next = count;
            const std::lock_guard<std::mutex> lock(failing);
            if (!failure)
                failure = std::current_exception();
        }
    };
    const int threads = threadsFor(count);
    // Room for them all before any runs: a failure once one runs must not leave it
    // unjoined.
    std::vector<std::thread> helpers;
    helpers.reserve(size_t(threads - 1));
    for (int thread = 1; thread < threads; ++thread) {
        try {
            helpers.emplace_back(work, thread);
        } catch (const std::exception &) {
            break; // no more threads to be had (or no memory for one): the others do it all
        }
    }
    work(0);
    for (std::thread &helper : helpers)
        helper.join();
    if (failure)
        std::rethrow_exception(failure);
}

// zlib's raw deflate stream, made once for the archive and reset for each file.
class ZipWriter::Deflater {
public:
    using Sink = std::function<void(const char *data, qint64 size)>;

    explicit Deflater(const QString &archive)
    {
        if (deflateInit2(&m_z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
            throw err::FileError(err::Kind::Archive, archive);
    }
    ~Deflater() { deflateEnd(&m_z); }
    Deflater(const Deflater &) = delete;
    Deflater &operator=(const Deflater &) = delete;

    // The most that deflating size bytes at once can give.
    qint64 bound(qint64 size) { return qint64(deflateBound(&m_z, uLong(size))); }

    // Deflates a whole file into out, which holds at least bound(size); the bytes made.
    qint64 whole(const char *data, qint64 size, QByteArray &out, const QString &path)
    {
        deflateReset(&m_z);
        m_z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data));
        m_z.avail_in = uInt(size);
        m_z.next_out = reinterpret_cast<Bytef *>(out.data());
        m_z.avail_out = uInt(out.size());
        if (deflate(&m_z, Z_FINISH) != Z_STREAM_END)
            throw err::FileError(err::Kind::Archive, path);
        return out.size() - qint64(m_z.avail_out);
    }

    // A file in pieces: start() first, then each piece, an empty one finishing the
    // stream; what comes out goes through out to sink.
    void start() { deflateReset(&m_z); }
    void feed(const char *data, qint64 size, QByteArray &out, const Sink &sink, const QString &path)
    {
        m_z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data));
        m_z.avail_in = uInt(size);
        const int flush = size == 0 ? Z_FINISH : Z_NO_FLUSH;
        int state = Z_OK;
        do {
            m_z.next_out = reinterpret_cast<Bytef *>(out.data());
            m_z.avail_out = uInt(out.size());
            state = deflate(&m_z, flush);
            // Only a piece that left nothing to do (Z_BUF_ERROR) is no failure.
            if (state != Z_OK && state != Z_STREAM_END && !(state == Z_BUF_ERROR && flush == Z_NO_FLUSH))
                throw err::FileError(err::Kind::Archive, path);
            sink(out.constData(), out.size() - qint64(m_z.avail_out));
        } while (m_z.avail_out == 0 || (flush == Z_FINISH && state != Z_STREAM_END));
    }

private:
    z_stream m_z{};
};

// What one thread reads and deflates with.
struct ZipWriter::Worker {
    explicit Worker(const QString &archive)
        : deflater(archive)
    {
        packed.resize(deflater.bound(buffer.size()));
    }
    ~Worker()
    {
        if (folderFd >= 0)
            ::close(folderFd);
    }
    Worker(const Worker &) = delete;
    Worker &operator=(const Worker &) = delete;

    // The folder of path, open (-1 when it cannot be), and the rest of path: files are
    // opened by their names in it, a shorter look-up than their whole paths.
    int openFolder(const QString &path, QByteArray &name)
    {
        const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
        const QStringView in = QStringView(path).left(slash + 1);
        if (slash < 0 || in != QStringView(folder)) {
            if (folderFd >= 0)
                ::close(folderFd);
            folder = in.toString();
            folderFd = slash < 0 ? -1 : ::open(QFile::encodeName(folder).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        }
        name = QFile::encodeName(folderFd >= 0 ? path.mid(slash + 1) : path);
        return folderFd >= 0 ? folderFd : AT_FDCWD;
    }

    Deflater deflater;
    QByteArray buffer = QByteArray(kWhole, Qt::Uninitialized);
    QByteArray packed;
    QString folder;
    int folderFd = -1;
};

// A file open for reading, closed when it goes.
class ZipWriter::InFile {
public:
    InFile(const QString &path, Worker &worker)
    {
        QByteArray name;
        const int folder = worker.openFolder(path, name);
        m_fd = ::openat(folder, name.constData(), O_RDONLY | O_CLOEXEC);
        if (m_fd < 0)
            throw err::FileError(err::Kind::FileRead, path);
    }
    ~InFile() { ::close(m_fd); }
    InFile(const InFile &) = delete;
    InFile &operator=(const InFile &) = delete;
    int fd() const { return m_fd; }

private:
    int m_fd = -1;
};

ZipWriter::ZipWriter(QIODevice &out, const QString &archive, const std::atomic_bool *cancel)
    : m_out(out)
    , m_archive(archive)
    , m_cancel(cancel)
    , m_offset(out.pos())
{
    m_workers.push_back(std::make_unique<Worker>(archive));
    m_pending.reserve(kPendingMost + 64 * 1024);
}

ZipWriter::~ZipWriter() = default;

ZipWriter::Header ZipWriter::readHead(const ZipSource &file, const InFile &in, QByteArray &buffer, qint64 &got)
{
    struct stat st;
    if (::fstat(in.fd(), &st) != 0)
        throw err::FileError(err::Kind::FileRead, file.path);
    got = readUpTo(in.fd(), buffer.data(), buffer.size(), file.path, qint64(st.st_size));
    const bool store = file.store || looksCompressed(buffer.constData(), got);
    const auto [time, date] = dosTime(st.st_mtime);
    return {file.name, quint16(store ? 0 : 8), quint16(store ? 10 : 20), time, date, 0};
}

bool ZipWriter::add(const QList<ZipSource> &files)
{
    auto cancelled = [this] { return m_cancel && m_cancel->load(); };
    for (qsizetype from = 0; from < files.size();) {
        if (cancelled())
            return false;
        // The next batch of small files, or one large one alone.
        qsizetype to = from;
        qint64 bytes = 0;
        while (to < files.size() && to - from < kBatchFiles && files.at(to).size < kWhole && bytes < kBatchBytes)
            bytes += qMax<qint64>(files.at(to++).size, 0);
        if (to == from) {
            if (!putInPieces(files.at(from++)))
                return false;
            continue;
        }
        prepare(files, from, to);
        for (qsizetype k = from; k < to; ++k) {
            if (cancelled())
                return false;
            Ready &ready = m_ready[size_t(k - from)];
            if (ready.failure)
                std::rethrow_exception(ready.failure);
            if (!ready.whole) {
                if (!putInPieces(files.at(k)))
                    return false;
                continue;
            }
            ready.header.offset = m_offset;
            putLocalHeader(ready.header, ready.sizes);
            put(ready.data);
            ready.data = QByteArray();
            if (m_offset > kMost32)
                throw err::FileError(err::Kind::Archive, files.at(k).path);
            addCentralRecord(ready.header, ready.sizes);
            ++m_count;
        }
        from = to;
    }
    return true;
}

void ZipWriter::prepare(const QList<ZipSource> &files, qsizetype from, qsizetype to)
{
    const qsizetype count = to - from;
    m_ready.assign(size_t(count), Ready());
    const int threads = threadsFor(count);
    while (int(m_workers.size()) < threads)
        m_workers.push_back(std::make_unique<Worker>(m_archive));
    onThreads(count, [&](qsizetype k, int thread) {
        prepareOne(files.at(from + k), *m_workers[size_t(thread)], m_ready[size_t(k)], m_cancel);
    });
}

void ZipWriter::prepareOne(const ZipSource &file, Worker &worker, Ready &ready, const std::atomic_bool *cancel)
{
    if (cancel && cancel->load())
        return;
    try {
        const InFile in(file.path, worker);
        qint64 got = 0;
        ready.header = readHead(file, in, worker.buffer, got);
        if (got == worker.buffer.size())
            return; // too large to be read whole: written in pieces
        const char *bytes = worker.buffer.constData();
        ready.sizes.size = got;
        ready.sizes.crc = quint32(crc32(crc32(0, nullptr, 0), reinterpret_cast<const Bytef *>(bytes), uInt(got)));
        if (ready.header.method == 0)
            ready.data = QByteArray(bytes, qsizetype(got));
        else
            ready.data = QByteArray(worker.packed.constData(),
                                    qsizetype(worker.deflater.whole(bytes, got, worker.packed, file.path)));
        ready.sizes.packed = ready.data.size();
        ready.whole = true;
    } catch (...) {
        ready.failure = std::current_exception();
    }
}

bool ZipWriter::putInPieces(const ZipSource &file)
{
    Worker &worker = *m_workers.front();
    const InFile in(file.path, worker);
    qint64 got = 0;
    Header h = readHead(file, in, worker.buffer, got);
    h.offset = m_offset;
    Sizes sizes;
    putLocalHeader(h, sizes);
    const qint64 start = m_offset;
    const bool store = h.method == 0;
    const Deflater::Sink sink = [this](const char *data, qint64 size) { put(data, size); };
    sizes.crc = quint32(crc32(0, nullptr, 0));
    if (!store)
        worker.deflater.start();
    for (;;) {
        sizes.crc = quint32(crc32(sizes.crc, reinterpret_cast<const Bytef *>(worker.buffer.constData()), uInt(got)));
        sizes.size += got;
        if (store)
            put(worker.buffer.constData(), got);
        else
            worker.deflater.feed(worker.buffer.constData(), got, worker.packed, sink, file.path);
        if (got == 0)
            break;
        if (m_cancel && m_cancel->load())
            return false;
        got = readUpTo(in.fd(), worker.buffer.data(), worker.buffer.size(), file.path);
    }
    sizes.packed = m_offset - start;
    if (sizes.size > kMost32 || sizes.packed > kMost32 || m_offset > kMost32)
        throw err::FileError(err::Kind::Archive, file.path);
    patchLocalHeader(h, sizes);
    addCentralRecord(h, sizes);
    ++m_count;
    return true;
}

void ZipWriter::putSizes(QByteArray &out, const Sizes &sizes)
{
    put32(out, sizes.crc);
    put32(out, quint32(sizes.packed));
    put32(out, quint32(sizes.size));
}

void ZipWriter::putFields(QByteArray &out, const Header &h, const Sizes &sizes)
{
    put16(out, h.needed);
    put16(out, 0); // no flags: the name is in the code page, not UTF-8
    put16(out, h.method);
    put16(out, h.time);
    put16(out, h.date);
    putSizes(out, sizes);
    put16(out, quint16(h.name.size()));
    put16(out, 0); // no extra field
}

void ZipWriter::putLocalHeader(const Header &h, const Sizes &sizes)
{
    const qsizetype before = m_pending.size();
    put32(m_pending, 0x04034b50);
    putFields(m_pending, h, sizes);
    m_pending += h.name;
    m_offset += m_pending.size() - before;
}

void ZipWriter::patchLocalHeader(const Header &h, const Sizes &sizes)
{
    QByteArray fields;
    putSizes(fields, sizes);
    const qint64 at = h.offset + 14;
    // Still pending (headers are never split), or already on the device.
    const qint64 pendingFrom = m_offset - m_pending.size();
    if (at >= pendingFrom) {
        m_pending.replace(at - pendingFrom, fields.size(), fields);
        return;
    }
    flushPending();
    if (!m_out.seek(at))
        fileutil::fail(err::Kind::FileWrite, m_archive);
    write(fields.constData(), fields.size());
    if (!m_out.seek(m_offset))
        fileutil::fail(err::Kind::FileWrite, m_archive);
}

void ZipWriter::addCentralRecord(const Header &h, const Sizes &sizes)
{
    put32(m_central, 0x02014b50);
    put16(m_central, 20); // made by: MS-DOS, 2.0
    putFields(m_central, h, sizes);
    put16(m_central, 0); // no comment
    put16(m_central, 0); // disk 0
    put16(m_central, 0); // internal attributes
    put32(m_central, 0); // external attributes
    put32(m_central, quint32(h.offset));
    m_central += h.name;
}

void ZipWriter::finish()
{
    if (m_count > 0xFFFF)
        throw err::FileError(err::Kind::Archive, QString::number(m_count));
    const qint64 start = m_offset;
    put(m_central);
    QByteArray end;
    put32(end, 0x06054b50);
    put16(end, 0);
    put16(end, 0);
    put16(end, quint16(m_count));
    put16(end, quint16(m_count));
    put32(end, quint32(m_central.size()));
    put32(end, quint32(start));
    put16(end, 0);
    put(end);
    flushPending();
}

void ZipWriter::put(const char *data, qint64 size)
{
    m_offset += size;
    if (size >= kPendingMost) {
        flushPending();
        write(data, size);
        return;
    }
    m_pending.append(data, qsizetype(size));
    if (m_pending.size() >= kPendingMost)
        flushPending();
}

void ZipWriter::flushPending()
{
    write(m_pending.constData(), m_pending.size());
    m_pending.resize(0);
}

void ZipWriter::write(const char *data, qint64 size)
{
    if (!fileutil::writeWhole(m_out, data, size))
        fileutil::fail(err::Kind::FileWrite, m_archive);
}

} // namespace publish
