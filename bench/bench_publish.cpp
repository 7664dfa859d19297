// Packing and uploading a data folder of 500 photographs (about 73 MB), each against a
// tool doing the same in this run: packing against `zip -r -q` of the same two steps
// (images/ into images.zip, then the data folder), upload to a loopback sink against
// `nc` sending the same archive. Each program's fixed start-up cost is taken out by also
// timing it with a 1 KB file; memory is the uploading process's peak against a 1 KB
// upload. Packing is also timed on a data folder of 65,000 small pages (about 80 bytes
// each), where the work per file counts, not the bytes.
//
//   build/bench/bench_publish [runs]
//
// Needs zip, unzip and nc (apt-get install zip unzip netcat-openbsd).
#include "publish/datapacker.h"
#include "publish/serverlink.h"
#include "testenv.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <netinet/in.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char **environ;

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// A JPEG as far as anyone looking at it can tell: its markers around bytes that do not
// compress.
QByteArray photo(qsizetype size, QRandomGenerator &random)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i + 4 <= size; i += 4) {
        const quint32 v = random.generate();
        memcpy(bytes.data() + i, &v, 4);
    }
    const QByteArray head("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00", 20);
    bytes.replace(0, head.size(), head);
    bytes[size - 2] = char(0xFF);
    bytes[size - 1] = char(0xD9);
    return bytes;
}

// The program folder with its data folder: 500 photographs, half of them in images/,
// the site database and a few pages.
qint64 buildDataFolder(const QString &data)
{
    QRandomGenerator random(2024);
    qint64 total = 0;
    for (int i = 0; i < 500; ++i) {
        const qsizetype size = 79 * 1024 + qsizetype(random.bounded(128 * 1024));
        const QString name = i < 250 ? QStringLiteral("photo%1.jpg").arg(i) : QStringLiteral("images/pic%1.jpg").arg(i);
        testenv::writeFile(data + name, photo(size, random));
        total += size;
    }
    for (int i = 0; i < 10; ++i) {
        QByteArray page = "<html><head><meta charset=\"utf-8\"></head><body>";
        for (int j = 0; j < 400; ++j)
            page += "<p>第" + QByteArray::number(j) + "段：本公司产品介绍，质量可靠，欢迎选购。</p>\n";
        testenv::writeFile(data + QStringLiteral("page%1.htm").arg(i), page + "</body></html>");
    }
    SiteDb db;
    testenv::makeDatabase(db, data + QStringLiteral("brevonel.qdb"));
    db.close();
    return total;
}

// A data folder of many small pages and the site database.
void buildSmallFiles(const QString &data, int count)
{
    for (int i = 0; i < count; ++i)
        testenv::writeFile(data + QStringLiteral("p%1.htm").arg(i),
                           "<html><body><p>第" + QByteArray::number(i) + "页：本公司产品介绍。</p></body></html>\n");
    SiteDb db;
    testenv::makeDatabase(db, data + QStringLiteral("brevonel.qdb"));
    db.close();
}

// Runs a program to its end; its peak resident memory in KB through peakKb.
int run(const QStringList &command, const QString &stdinFile = QString(), long *peakKb = nullptr)
{
    std::vector<QByteArray> args;
    for (const QString &a : command)
        args.push_back(QFile::encodeName(a));
    std::vector<char *> argv;
    for (QByteArray &a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const QByteArray in = QFile::encodeName(stdinFile);
    if (!stdinFile.isEmpty())
        posix_spawn_file_actions_addopen(&actions, 0, in.constData(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    if (peakKb)
        *peakKb = usage.ru_maxrss;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A loopback sink that takes one connection: raw, it reads to the end; speaking the
// server's part, it answers the archive's offer with the go-ahead and reads that many
// bytes. received() is what it read.
class Sink {
public:
    explicit Sink(bool protocol)
    {
        m_listen = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(m_listen, reinterpret_cast<sockaddr *>(&addr), sizeof addr);
        listen(m_listen, 1);
        // A client that never comes does not hold the bench for ever.
        timeval wait{30, 0};
        setsockopt(m_listen, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
        socklen_t length = sizeof addr;
        getsockname(m_listen, reinterpret_cast<sockaddr *>(&addr), &length);
        m_port = ntohs(addr.sin_port);
        m_thread = std::thread([this, protocol] { serve(protocol); });
    }
    ~Sink()
    {
        if (m_thread.joinable())
            m_thread.join();
        close(m_listen);
    }
    quint16 port() const { return m_port; }
    // Waits for the connection to end; the bytes received.
    qint64 finish()
    {
        m_thread.join();
        return m_received;
    }

private:
    void serve(bool protocol)
    {
        const int peer = accept(m_listen, nullptr, nullptr);
        if (peer < 0)
            return;
        std::vector<char> buffer(1 << 20);
        qint64 expect = -1;
        QByteArray head;
        for (;;) {
            const ssize_t got = recv(peer, buffer.data(), buffer.size(), 0);
            if (got <= 0)
                break;
            if (protocol && expect < 0) {
                head.append(buffer.data(), got);
                const qsizetype at = head.indexOf("<#sendFileInfo#>");
                if (at < 0)
                    continue;
                expect = head.mid(at + 16).toLongLong();
                const char goAhead[] = "<#sendFileInfo#>";
                send(peer, goAhead, sizeof goAhead - 1, 0);
                continue;
            }
            m_received += got;
            if (protocol && m_received >= expect)
                break;
        }
        close(peer);
    }

    int m_listen = -1;
    quint16 m_port = 0;
    std::thread m_thread;
    qint64 m_received = 0;
};

// Milliseconds from start to the sink's last byte and the program's end.
double timeUpload(bool ours, const QString &self, const QString &file, qint64 size, long *peakKb)
{
    Sink sink(ours);
    QElapsedTimer clock;
    clock.start();
    const QString port = QString::number(sink.port());
    const int code = ours ? run({self, QStringLiteral("--upload"), port, file}, QString(), peakKb)
                          : run({QStringLiteral("nc"), QStringLiteral("-N"), QStringLiteral("127.0.0.1"), port}, file);
    const qint64 received = sink.finish();
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    if (code != 0 || received != size)
        std::fprintf(stderr, "upload by %s failed: exit %d, %lld of %lld bytes\n", ours ? "the program" : "nc", code,
                     static_cast<long long>(received), static_cast<long long>(size));
    return ms;
}

// The uploading process: connects to the sink, offers the archive and sends it.
int uploadChild(quint16 port, const QString &file)
{
    publish::ServerLink link;
    link.setPort(port);
    int code = 3;
    QObject::connect(&link, &publish::ServerLink::connected, [&] {
        if (link.offerArchive(file))
            QCoreApplication::exit(code = 1);
    });
    QObject::connect(&link, &publish::ServerLink::sendComplete, [&] { QCoreApplication::exit(code = 0); });
    QObject::connect(&link, &publish::ServerLink::uploadFailed, [&] { QCoreApplication::exit(code = 2); });
    QObject::connect(&link, &publish::ServerLink::failed, [&] { QCoreApplication::exit(code = 2); });
    link.connectTo(QStringLiteral("127.0.0.1"));
    QCoreApplication::exec();
    return code;
}

// Packs data in prog runs times against zip doing the same two steps into ref, and
// prints the medians and their ratio.
void benchPacking(const QString &prog, const QString &data, const QString &ref, int runs)
{
    publish::DataPacker packer(prog, data);
    auto packOurs = [&] {
        if (!packer.packData().ok)
            std::fprintf(stderr, "packing failed\n");
    };
    const QStringList topFiles = QDir(data).entryList(QDir::Files, QDir::Name);
    const bool hasImages = QFileInfo(data + publish::kImagesFolder).isDir();
    auto packZip = [&] {
        QFile::remove(ref + QStringLiteral("images.zip"));
        QFile::remove(ref + QStringLiteral("ziptest.zip"));
        QStringList command{QStringLiteral("zip"), QStringLiteral("-r"), QStringLiteral("-q"),
                            ref + QStringLiteral("ziptest.zip")};
        if (hasImages) {
            QDir::setCurrent(data + publish::kImagesFolder);
            run({QStringLiteral("zip"), QStringLiteral("-r"), QStringLiteral("-q"), ref + QStringLiteral("images.zip"),
                 QStringLiteral(".")});
            command << ref + QStringLiteral("images.zip");
        }
        QDir::setCurrent(data);
        // The folder's files as zip lists them itself, when there are too many to name.
        if (topFiles.size() > 1000)
            command << QStringLiteral(".");
        else
            for (const QString &name : topFiles)
                if (name != publish::kImagesArchive)
                    command << name;
        run(command);
    };
    const QString wasCurrent = QDir::currentPath();
    std::vector<double> ours, zip;
    packOurs();
    packZip();
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        packOurs();
        ours.push_back(double(t.nsecsElapsed()) / 1e6);
        t.restart();
        packZip();
        zip.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    QDir::setCurrent(wasCurrent);
    const QString archive = prog + publish::kUploadArchive;
    const bool accepted = run({QStringLiteral("unzip"), QStringLiteral("-tqq"), archive}) == 0
                          && (!hasImages || run({QStringLiteral("unzip"), QStringLiteral("-tqq"), data + publish::kImagesArchive}) == 0);
    std::printf("packing:   program %8.1f ms   zip -r -q %8.1f ms   ratio %.2f (target <= 0.50)   unzip -t: %s\n",
                median(ours), median(zip), median(ours) / median(zip), accepted ? "accepted" : "REFUSED");
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 4 && qstrcmp(argv[1], "--upload") == 0)
        return uploadChild(quint16(QByteArray(argv[2]).toUInt()), QString::fromLocal8Bit(argv[3]));
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 11;
    for (const char *tool : {"zip", "unzip", "nc"})
        if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty()) {
            std::fprintf(stderr, "%s is missing: apt-get install zip unzip netcat-openbsd\n", tool);
            return 1;
        }

    QTemporaryDir dir;
    const QString prog = dir.path() + QStringLiteral("/prog/");
    const QString data = prog + QStringLiteral("userImages/");
    const QString ref = dir.path() + QStringLiteral("/ref/");
    QDir().mkpath(ref);
    const qint64 bytes = buildDataFolder(data);
    std::printf("data folder: 500 photographs of %.1f MB, the site database and 10 pages\n", double(bytes) / 1e6);

    // Packing: the program against zip doing the same two steps, the files in the page cache.
    const QString archive = prog + publish::kUploadArchive;
    benchPacking(prog, data, ref, runs);
    std::printf("           archive %.1f MB, zip's %.1f MB\n", double(QFileInfo(archive).size()) / 1e6,
                double(QFileInfo(ref + QStringLiteral("ziptest.zip")).size()) / 1e6);

    {
        QTemporaryDir smallDir;
        const QString smallProg = smallDir.path() + QStringLiteral("/prog/");
        const QString smallData = smallProg + QStringLiteral("userImages/");
        const QString smallRef = smallDir.path() + QStringLiteral("/ref/");
        QDir().mkpath(smallRef);
        buildSmallFiles(smallData, 65000);
        std::printf("data folder: 65,000 pages of about 80 bytes and the site database\n");
        benchPacking(smallProg, smallData, smallRef, std::min(runs, 5));
    }

    // Upload of that archive and of a 1 KB file, by the program and by nc.
    const QString self = QCoreApplication::applicationFilePath();
    const QString small = testenv::writeFile(dir.path() + QStringLiteral("/small.zip"), QByteArray(1024, 's'));
    const qint64 size = QFileInfo(archive).size();
    std::vector<double> oursBig, oursSmall, ncBig, ncSmall;
    long peakBig = 0, peakSmall = 0;
    for (int i = 0; i < runs + 1; ++i) {
        long peak = 0;
        const double a = timeUpload(true, self, archive, size, &peak);
        peakBig = std::max(peakBig, peak);
        const double b = timeUpload(true, self, small, 1024, &peak);
        peakSmall = std::max(peakSmall, peak);
        const double c = timeUpload(false, self, archive, size, nullptr);
        const double d = timeUpload(false, self, small, 1024, nullptr);
        if (i == 0)
            continue; // warm-up
        oursBig.push_back(a);
        oursSmall.push_back(b);
        ncBig.push_back(c);
        ncSmall.push_back(d);
    }
    const double oursNet = median(oursBig) - median(oursSmall);
    const double ncNet = median(ncBig) - median(ncSmall);
    std::printf("upload:    program %8.1f ms net (%.1f - %.1f)   nc %8.1f ms net (%.1f - %.1f)   ratio %.2f (target <= 1.25)\n",
                oursNet, median(oursBig), median(oursSmall), ncNet, median(ncBig), median(ncSmall), oursNet / ncNet);
    std::printf("memory:    peak %.1f MB uploading %.1f MB, %.1f MB uploading 1 KB: growth %.1f MB (target <= 16)\n",
                double(peakBig) / 1024, double(size) / 1e6, double(peakSmall) / 1024, double(peakBig - peakSmall) / 1024);
    return 0;
}
