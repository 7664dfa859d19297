// Packing the data folder: which files each archive holds, under which names, with
// which bytes and how stored; script pages removed; old archives replaced whole, even
// when the packing is killed.
#include "publish/datapacker.h"
#include "testenv.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>
#include <QThread>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <zip.h>

using namespace publish;
using testenv::zipEntries;

namespace {

// Entry name -> compression method.
QHash<QString, int> methods(const QString &archive)
{
    QHash<QString, int> out;
    int code = 0;
    zip_t *z = zip_open(QFile::encodeName(archive).constData(), ZIP_RDONLY, &code);
    if (!z)
        return out;
    for (zip_int64_t i = 0; i < zip_get_num_entries(z, 0); ++i) {
        zip_stat_t st;
        if (zip_stat_index(z, zip_uint64_t(i), ZIP_FL_ENC_RAW, &st) == 0)
            out.insert(QStringDecoder("GBK").decode(QByteArray(st.name)), st.comp_method);
    }
    zip_discard(z);
    return out;
}

// Every entry of a consistent archive with its bytes (CRCs checked); empty when the
// archive is missing, damaged or incomplete.
QHash<QString, QByteArray> readArchive(const QString &archive)
{
    QHash<QString, QByteArray> out;
    int code = 0;
    zip_t *z = zip_open(QFile::encodeName(archive).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
    if (!z)
        return out;
    for (zip_int64_t i = 0; i < zip_get_num_entries(z, 0); ++i) {
        zip_stat_t st;
        zip_file_t *f = nullptr;
        if (zip_stat_index(z, zip_uint64_t(i), ZIP_FL_ENC_RAW, &st) != 0
            || !(f = zip_fopen_index(z, zip_uint64_t(i), 0))) {
            zip_discard(z);
            return {};
        }
        QByteArray bytes(qsizetype(st.size), Qt::Uninitialized);
        const zip_int64_t read = zip_fread(f, bytes.data(), st.size);
        // Reading to the end checks the CRC.
        char more = 0;
        const bool whole = read == zip_int64_t(st.size) && zip_fread(f, &more, 1) == 0;
        zip_fclose(f);
        if (!whole) {
            zip_discard(z);
            return {};
        }
        out.insert(QStringDecoder("GBK").decode(QByteArray(st.name)), bytes);
    }
    zip_discard(z);
    return out;
}

QByteArray entryBytes(const QString &archive, const QString &name)
{
    return readArchive(archive).value(name);
}

quint16 le16(const QByteArray &b, qsizetype at)
{
    return quint16(uchar(b[at]) | uchar(b[at + 1]) << 8);
}
quint32 le32(const QByteArray &b, qsizetype at)
{
    return quint32(le16(b, at)) | quint32(le16(b, at + 2)) << 16;
}

// Each entry's raw name and general-purpose flags, from the central directory and from
// its local header.
struct RawEntry {
    QByteArray name;
    quint16 centralFlags = 0;
    quint16 localFlags = 0;
    QByteArray localName;
};
QList<RawEntry> rawEntries(const QByteArray &zip)
{
    QList<RawEntry> out;
    const qsizetype end = zip.lastIndexOf(QByteArray("PK\x05\x06", 4));
    if (end < 0)
        return out;
    const quint16 count = le16(zip, end + 10);
    qsizetype at = le32(zip, end + 16);
    for (int i = 0; i < count && zip.mid(at, 4) == QByteArray("PK\x01\x02", 4); ++i) {
        RawEntry e;
        e.centralFlags = le16(zip, at + 8);
        const quint16 nameLength = le16(zip, at + 28);
        e.name = zip.mid(at + 46, nameLength);
        const quint32 local = le32(zip, at + 42);
        e.localFlags = le16(zip, local + 6);
        e.localName = zip.mid(local + 30, le16(zip, local + 26));
        out << e;
        at += 46 + nameLength + le16(zip, at + 30) + le16(zip, at + 32);
    }
    return out;
}

QByteArray randomBytes(qsizetype size, QRandomGenerator &random)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i + 4 <= size; i += 4) {
        const quint32 v = random.generate();
        memcpy(bytes.data() + i, &v, 4);
    }
    return bytes;
}

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

// What packing left in folder: its temporaries are hidden files.
QStringList temporaries(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral(".*")}, QDir::Files | QDir::Hidden);
}

} // namespace

class TestDataPacker : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString prog() const { return m_dir.path() + QStringLiteral("/prog/"); }
    QString data() const { return m_dir.path() + QStringLiteral("/prog/userImages/"); }
    QString outside() const { return m_dir.path() + QStringLiteral("/outside/"); }
    QString upload() const { return prog() + kUploadArchive; }
    QString images() const { return data() + kImagesArchive; }

private slots:
    void init()
    {
        QDir(m_dir.path()).removeRecursively();
        QDir().mkpath(data());
        testenv::writeFile(data() + QStringLiteral("brevonel.qdb"), "database bytes");
        testenv::writeFile(data() + QStringLiteral("logo.jpg"), QByteArray(5000, 'j'));
    }

    void packsTheFolderAndItsPictures()
    {
        testenv::writeFile(data() + QStringLiteral("news.asp"), "<% %>");
        testenv::writeFile(data() + QStringLiteral("index.ASP"), "<% %>");
        testenv::writeFile(data() + QStringLiteral("grasp"), "kept");
        testenv::writeFile(data() + QStringLiteral("产品.htm"), "<p>页</p>");
        testenv::writeFile(data() + QStringLiteral("other/inner.jpg"), "not packed");
        testenv::writeFile(data() + QStringLiteral("images/a.gif"), "GIF a");
        testenv::writeFile(data() + QStringLiteral("images/b.jpg"), "JPG b");
        testenv::writeFile(data() + QStringLiteral("images/c.asp"), "<% %>");
        QFile::setPermissions(data() + QStringLiteral("images/c.asp"), QFileDevice::ReadOwner);
        testenv::writeFile(upload(), "an old upload");

        const DataPacker::Result r = DataPacker(prog(), data()).packData();
        QVERIFY(r.ok);
        QVERIFY(!r.message);
        QCOMPARE(sorted(zipEntries(images())), (QStringList{"a.gif", "b.jpg"}));
        QCOMPARE(sorted(zipEntries(upload())),
                 (QStringList{"brevonel.qdb", "grasp", "images.zip", "logo.jpg", "产品.htm"}));
        QCOMPARE(entryBytes(upload(), QStringLiteral("logo.jpg")), QByteArray(5000, 'j'));
        QCOMPARE(entryBytes(upload(), QStringLiteral("images.zip")), testenv::readFile(images()));
        QCOMPARE(entryBytes(upload(), QStringLiteral("产品.htm")), QByteArray("<p>页</p>"));
        QCOMPARE(entryBytes(images(), QStringLiteral("b.jpg")), QByteArray("JPG b"));
        for (const char *gone : {"news.asp", "index.ASP", "images/c.asp"})
            QVERIFY2(!QFileInfo::exists(data() + QLatin1String(gone)), gone);

        // Again: both archives are made anew.
        QFile::remove(data() + QStringLiteral("images/a.gif"));
        QVERIFY(DataPacker(prog(), data()).packData().ok);
        QCOMPARE(zipEntries(images()), QStringList{"b.jpg"});
    }

    void namesAreStoredInGbk()
    {
        testenv::writeFile(data() + QStringLiteral("站点说明.htm"), "<p>说明</p>");
        testenv::writeFile(data() + QStringLiteral("images/图片.gif"), "GIF89a");
        QVERIFY(DataPacker(prog(), data()).packData().ok);
        for (const QString &archive : {upload(), images()}) {
            const QList<RawEntry> entries = rawEntries(testenv::readFile(archive));
            QVERIFY(!entries.isEmpty());
            for (const RawEntry &e : entries) {
                // No UTF-8 flag (bit 11) anywhere; the same GBK bytes in both headers.
                QCOMPARE(e.centralFlags & 0x0800, 0);
                QCOMPARE(e.localFlags & 0x0800, 0);
                QCOMPARE(e.localName, e.name);
            }
        }
        QVERIFY(rawEntries(testenv::readFile(upload())).size() == 4);
        QList<QByteArray> names;
        for (const RawEntry &e : rawEntries(testenv::readFile(upload())))
            names << e.name;
        QVERIFY(names.contains(QStringEncoder("GBK").encode(QStringLiteral("站点说明.htm"))));
        QCOMPARE(rawEntries(testenv::readFile(images())).first().name, QStringEncoder("GBK").encode(QStringLiteral("图片.gif")));
    }

    void aNameGbkCannotHoldStopsPacking_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("in the data folder") << QStringLiteral("笑脸😀.htm");
        QTest::newRow("among the pictures") << QStringLiteral("images/한글.gif");
    }

    void aNameGbkCannotHoldStopsPacking()
    {
        QFETCH(QString, file);
        testenv::writeFile(data() + QStringLiteral("images/ok.gif"), "GIF89a");
        testenv::writeFile(images(), "an old picture archive");
        testenv::writeFile(data() + file, "x");
        const DataPacker::Result r = DataPacker(prog(), data()).packData();
        QVERIFY(!r.ok);
        QVERIFY(r.message);
        QCOMPARE(r.message->text, QStringLiteral("52 Form1::cmdZip_Click 文件名含有服务器不能识别的字符，请改名后再上传：")
                                      + QFileInfo(file).fileName());
        QCOMPARE(r.message->style, 0);
        // Refused before any archive was written.
        QVERIFY(!QFileInfo::exists(upload()));
        QCOMPARE(testenv::readFile(images()), QByteArray("an old picture archive"));
    }

    void compressedFilesAreStored()
    {
        QRandomGenerator random(5);
        testenv::writeFile(data() + QStringLiteral("photo.JPG"), randomBytes(40000, random));
        testenv::writeFile(data() + QStringLiteral("clip.mp3"), randomBytes(20000, random));
        testenv::writeFile(data() + QStringLiteral("picture.dat"), "\x89PNG\r\n\x1a\n" + randomBytes(20000, random));
        testenv::writeFile(data() + QStringLiteral("page.htm"), QByteArray(20000, 'p'));
        testenv::writeFile(data() + QStringLiteral("logo.bmp"), "BM" + QByteArray(20000, '\0'));
        testenv::writeFile(data() + QStringLiteral("images/a.gif"), "GIF89a" + randomBytes(10000, random));
        // MPEG audio by its frame header; a UTF-16 page's byte-order mark looks like one.
        testenv::writeFile(data() + QStringLiteral("sound.dat"), "\xFF\xFB\x90\x64" + randomBytes(20000, random));
        const QString page16 = QStringLiteral("<html><body>") + QStringLiteral("<p>第一段 a</p>").repeated(500);
        testenv::writeFile(data() + QStringLiteral("page16.htm"),
                           "\xFF\xFE" + QByteArray(reinterpret_cast<const char *>(page16.utf16()), page16.size() * 2));
        QVERIFY(DataPacker(prog(), data()).packData().ok);
        const QHash<QString, int> m = methods(upload());
        for (const char *stored : {"photo.JPG", "clip.mp3", "picture.dat", "sound.dat", "images.zip", "logo.jpg"})
            QVERIFY2(m.value(QLatin1String(stored), -1) == ZIP_CM_STORE, stored);
        for (const char *deflated : {"page.htm", "page16.htm", "logo.bmp", "brevonel.qdb"})
            QVERIFY2(m.value(QLatin1String(deflated), -1) == ZIP_CM_DEFLATE, deflated);
        QCOMPARE(methods(images()).value(QStringLiteral("a.gif"), -1), ZIP_CM_STORE);
        // Every entry reads back whole.
        QCOMPARE(readArchive(upload()).value(QStringLiteral("page.htm")), QByteArray(20000, 'p'));
        QCOMPARE(readArchive(upload()).size(), 10);
        // A process of the system's own zip tools accepts the archive too.
        if (!QStandardPaths::findExecutable(QStringLiteral("unzip")).isEmpty())
            QCOMPARE(QProcess::execute(QStringLiteral("unzip"), {QStringLiteral("-tqq"), upload()}), 0);
    }

    void manyFilesGoInWholeAndInOrder()
    {
        // More small files than are read at a time, with large ones among them.
        QRandomGenerator random(17);
        QMap<QString, QByteArray> files{{QStringLiteral("brevonel.qdb"), "database bytes"},
                                        {QStringLiteral("logo.jpg"), QByteArray(5000, 'j')}};
        for (int i = 0; i < 9000; ++i)
            files.insert(QStringLiteral("p%1.htm").arg(i, 4, 10, QLatin1Char('0')), "<p>第" + QByteArray::number(i) + "页</p>");
        files.insert(QStringLiteral("p2000.htm"), QByteArray(1024 * 1024, 'x'));
        files.insert(QStringLiteral("p4500.bin"), randomBytes(3 * 1024 * 1024 + 5, random));
        for (auto it = files.cbegin(); it != files.cend(); ++it)
            testenv::writeFile(data() + it.key(), it.value());
        QVERIFY(DataPacker(prog(), data()).packData().ok);
        QCOMPARE(zipEntries(upload()), files.keys());
        const QHash<QString, QByteArray> packed = readArchive(upload());
        QCOMPARE(packed.size(), files.size());
        for (auto it = files.cbegin(); it != files.cend(); ++it)
            QVERIFY2(packed.value(it.key()) == it.value(), qPrintable(it.key()));
    }

    void aFileGoneWhilePackingIsNamed()
    {
        // Of two files gone after the folder was listed, the first by name is told.
        for (int i = 0; i < 300; ++i)
            testenv::writeFile(data() + QStringLiteral("p%1.htm").arg(i, 3, 10, QLatin1Char('0')), "<p>页</p>");
        testenv::writeFile(data() + QStringLiteral("images/a.gif"), "GIF89a");
        struct Unhook {
            ~Unhook() { fileutil::faults::setHook({}); }
        } unhook;
        fileutil::faults::setHook([&](fileutil::faults::Step step, const QString &path) {
            if (step == fileutil::faults::Step::Commit && path == images())
                for (const char *gone : {"p250.htm", "p100.htm"})
                    QFile::remove(data() + QLatin1String(gone));
            return false;
        });
        const DataPacker::Result r = DataPacker(prog(), data()).packData();
        QVERIFY(!r.ok);
        QVERIFY(r.message);
        QCOMPARE(r.message->text, QStringLiteral("57 Form1::cmdZip_Click 文件读取失败：") + data() + QStringLiteral("p100.htm"));
        QVERIFY(!QFileInfo::exists(upload()));
    }

    void linksAreNeitherPackedNorFollowed()
    {
        testenv::writeFile(outside() + QStringLiteral("secret.txt"), "not the user's to send");
        testenv::writeFile(outside() + QStringLiteral("script.asp"), "<% outside %>");
        testenv::writeFile(outside() + QStringLiteral("pictures/a.asp"), "<% %>");
        testenv::writeFile(outside() + QStringLiteral("pictures/p.gif"), "GIF89a");
        testenv::writeFile(outside() + QStringLiteral("more/q.gif"), "GIF89a");
        testenv::writeFile(data() + QStringLiteral("own.asp"), "<% %>");
        QVERIFY(QFile::link(outside() + QStringLiteral("secret.txt"), data() + QStringLiteral("secret.txt")));
        QVERIFY(QFile::link(outside() + QStringLiteral("script.asp"), data() + QStringLiteral("script.asp")));
        QVERIFY(QFile::link(outside() + QStringLiteral("gone.txt"), data() + QStringLiteral("dangling.txt")));
        QVERIFY(QFile::link(outside() + QStringLiteral("more"), data() + QStringLiteral("more")));
        // The pictures folder itself a link to a folder elsewhere.
        QVERIFY(QFile::link(outside() + QStringLiteral("pictures"), data() + kImagesFolder));
        testenv::writeFile(images(), "an old picture archive");

        QVERIFY(DataPacker(prog(), data()).packData().ok);
        QCOMPARE(sorted(zipEntries(upload())), (QStringList{"brevonel.qdb", "logo.jpg"}));
        // Nothing was deleted through a link; the links themselves stay.
        QVERIFY(QFileInfo::exists(outside() + QStringLiteral("pictures/a.asp")));
        QVERIFY(QFileInfo::exists(outside() + QStringLiteral("script.asp")));
        QVERIFY(QFileInfo(data() + QStringLiteral("script.asp")).isSymLink());
        QVERIFY(!QFileInfo::exists(data() + QStringLiteral("own.asp")));
        QVERIFY(!QFileInfo::exists(images()));

        // A real pictures folder with a link inside.
        QFile::remove(data() + kImagesFolder);
        testenv::writeFile(data() + QStringLiteral("images/own.gif"), "GIF89a");
        QVERIFY(QFile::link(outside() + QStringLiteral("pictures/p.gif"), data() + QStringLiteral("images/p.gif")));
        QVERIFY(DataPacker(prog(), data()).packData().ok);
        QCOMPARE(zipEntries(images()), QStringList{"own.gif"});
    }

    void sqliteFilesAndTemporaryArchivesAreLeftOut()
    {
        testenv::writeFile(data() + QStringLiteral("brevonel.qdb-journal"), "hot journal");
        testenv::writeFile(data() + QStringLiteral("brevonel.qdb-wal"), "wal");
        testenv::writeFile(data() + QStringLiteral("brevonel.qdb-shm"), "shm");
        testenv::writeFile(data() + QStringLiteral("images/a.gif"), "GIF89a");
        // What killed packings left: archives cut off while being written, and a
        // database copy.
        const QByteArray zip = QByteArray("PK\x03\x04", 4) + QByteArray(100, 'x');
        testenv::writeFile(data() + QStringLiteral(".images.zip~quorvik.Ab12Cd"), zip);
        testenv::writeFile(data() + QStringLiteral(".images.zip~quorvik.QQ99zz"), QByteArray());
        testenv::writeFile(prog() + QStringLiteral(".ziptest.zip~quorvik.x1Y2z3"), zip);
        testenv::writeFile(prog() + QStringLiteral(".ziptest.qdb~quorvik.x1Y2z3"), "SQLite format 3");
        // The user's own files of like names, real zips too, stay and are packed.
        for (const char *name : {"images.zip.backup", "ziptest.zip.2023v1", "images.zip.Ab12Cd"})
            testenv::writeFile(data() + QLatin1String(name), zip);
        testenv::writeFile(prog() + QStringLiteral("ziptest.zip.2023v1"), zip);
        testenv::writeFile(data() + QStringLiteral("notes-journal"), "mine");
        // A picture a save is writing meanwhile is not packing's: neither packed nor removed.
        const QString saving = data() + QStringLiteral(".p1.jpg~quorvik.Zz9Yy8");
        testenv::writeFile(saving, "half a picture");

        QVERIFY(DataPacker(prog(), data()).packData().ok);
        QCOMPARE(sorted(zipEntries(upload())), (QStringList{"brevonel.qdb", "images.zip", "images.zip.Ab12Cd",
                                                            "images.zip.backup", "logo.jpg", "notes-journal",
                                                            "ziptest.zip.2023v1"}));
        QCOMPARE(entryBytes(upload(), QStringLiteral("images.zip.backup")), zip);
        QCOMPARE(testenv::readFile(prog() + QStringLiteral("ziptest.zip.2023v1")), zip);
        QCOMPARE(temporaries(data()), QStringList{QFileInfo(saving).fileName()});
        QCOMPARE(temporaries(prog()), QStringList());
        QVERIFY(QFileInfo::exists(data() + QStringLiteral("brevonel.qdb-journal")));
    }

    void theDatabaseComesFromItsCopy()
    {
        // What a killed packing left: a copy of the database, in the program folder.
        const QString stale = prog() + QStringLiteral(".ziptest.qdb~quorvik.Ab12Cd");
        testenv::writeFile(stale, QByteArray("SQLite format 3\0", 16) + QByteArray(4096, 'd'));
        testenv::writeFile(data() + QStringLiteral("brevonel.qdb"), "database as it was");
        DataPacker packer(prog(), data());
        const std::unique_ptr<QTemporaryFile> copy = packer.copyDatabase(data() + QStringLiteral("brevonel.qdb"));
        QVERIFY(copy);
        QCOMPARE(QFileInfo(copy->fileName()).absolutePath() + QLatin1Char('/'), prog());
        // Saved meanwhile: the archive holds the database as it was.
        testenv::writeFile(data() + QStringLiteral("brevonel.qdb"), "database saved meanwhile");
        QVERIFY(packer.packData().ok);
        QCOMPARE(entryBytes(upload(), QStringLiteral("brevonel.qdb")), QByteArray("database as it was"));
        QVERIFY(!QFileInfo::exists(stale));
        QVERIFY(QFileInfo::exists(copy->fileName()));
    }

    void aSaveWhilePackingRunsIsPackedWithItsPictures()
    {
        // A record names a.jpg. While packing runs, a save replaces it with b.jpg: the
        // database changes, then a.jpg goes.
        const QString db = data() + QStringLiteral("brevonel.qdb");
        testenv::writeFile(db, "a record naming a.jpg");
        testenv::writeFile(data() + QStringLiteral("a.jpg"), "JPG a");
        testenv::writeFile(data() + QStringLiteral("images/p.gif"), "GIF89a");
        std::atomic_bool saved = false;
        struct Unhook {
            ~Unhook() { fileutil::faults::setHook({}); }
        } unhook;
        fileutil::faults::setHook([&](fileutil::faults::Step step, const QString &path) {
            // On the worker's thread, as the pictures' archive is done.
            if (step == fileutil::faults::Step::Commit && path == images() && !saved.exchange(true)) {
                testenv::writeFile(data() + QStringLiteral("b.jpg"), "JPG b");
                testenv::writeFile(db, "a record naming b.jpg");
                QFile::remove(data() + QStringLiteral("a.jpg"));
            }
            return false;
        });
        PackJob job{DataPacker(prog(), data()), db};
        QList<DataPacker::Result> told;
        connect(&job, &PackJob::finished, this, [&](const DataPacker::Result &r) { told << r; });
        job.start();
        QVERIFY(QTest::qWaitFor([&] { return !told.isEmpty(); }, 20000));
        testenv::settle();
        QVERIFY(saved);
        QCOMPARE(told.size(), 1);
        QVERIFY(told.first().ok);
        const QHash<QString, QByteArray> packed = readArchive(upload());
        QCOMPARE(packed.value(QStringLiteral("brevonel.qdb")), QByteArray("a record naming b.jpg"));
        QCOMPARE(packed.value(QStringLiteral("b.jpg")), QByteArray("JPG b"));
        QVERIFY(!packed.contains(QStringLiteral("a.jpg")));
        QCOMPARE(temporaries(prog()), QStringList());
    }

    void aLimitIsRefusedBeforeAnythingIsCompressed_data()
    {
        QTest::addColumn<qint64>("entries");
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<QString>("passed"); // the description after "溢出："
        // The pictures archive fits: only the upload archive passes the limit.
        QTest::newRow("entries") << qint64(3) << qint64(0xFFFFFFFF)
                                 << QStringLiteral("压缩文件中的文件个数超过了上限（3个）：ziptest.zip");
        QTest::newRow("one file") << qint64(0xFFFF) << qint64(15000)
                                  << QStringLiteral("单个文件的大小超过了上限（15000字节）：big.htm");
        QTest::newRow("archive") << qint64(0xFFFF) << qint64(30000)
                                 << QStringLiteral("压缩文件的大小超过了上限（30000字节）：ziptest.zip");
    }

    void aLimitIsRefusedBeforeAnythingIsCompressed()
    {
        QFETCH(qint64, entries);
        QFETCH(qint64, bytes);
        QFETCH(QString, passed);
        testenv::writeFile(data() + QStringLiteral("images/a.gif"), "GIF89a");
        testenv::writeFile(data() + QStringLiteral("images/b.gif"), "GIF89a");
        testenv::writeFile(images(), "an old picture archive");
        testenv::writeFile(data() + QStringLiteral("big.htm"), QByteArray(20000, 'b'));
        testenv::writeFile(data() + QStringLiteral("page.htm"), QByteArray(10000, 'p'));
        DataPacker packer(prog(), data());
        packer.setLimits({entries, bytes});
        const DataPacker::Result r = packer.packData();
        QVERIFY(!r.ok);
        QVERIFY(r.message);
        QCOMPARE(r.message->text, QStringLiteral("6 Form1::cmdZip_Click 溢出：") + passed);
        QCOMPARE(testenv::readFile(images()), QByteArray("an old picture archive"));
        QVERIFY(!QFileInfo::exists(upload()));
        QCOMPARE(temporaries(data()), QStringList());
        QCOMPARE(temporaries(prog()), QStringList());
    }

    void anEmptyPicturesFolderMakesNoPictureArchive()
    {
        QDir().mkpath(data() + QStringLiteral("images"));
        testenv::writeFile(images(), "an old picture archive");
        QVERIFY(DataPacker(prog(), data()).packData().ok);
        QVERIFY(!QFileInfo::exists(images()));
        QCOMPARE(sorted(zipEntries(upload())), (QStringList{"brevonel.qdb", "logo.jpg"}));
    }

    void aMissingDataFolderFails()
    {
        QDir(data()).removeRecursively();
        testenv::writeFile(upload(), "an old upload");
        const DataPacker::Result r = DataPacker(prog(), data()).packData();
        QVERIFY(!r.ok);
        QVERIFY(r.message);
        // The number, a blank, the place, a blank, the description.
        QCOMPARE(r.message->text, QStringLiteral("53 Form1::cmdZip_Click 文件或文件夹不存在：") + data());
        QCOMPARE(r.message->style, 0);
        // The stale upload archive is not left to be sent.
        QVERIFY(!QFileInfo::exists(upload()));
    }

    void aCancelledPackingLeavesTheArchivesAsTheyWere()
    {
        QRandomGenerator random(9);
        for (int i = 0; i < 20; ++i)
            testenv::writeFile(data() + QStringLiteral("p%1.jpg").arg(i), randomBytes(512 * 1024, random));
        testenv::writeFile(upload(), "an old upload");
        bool finished = false;
        {
            PackJob job{DataPacker(prog(), data())};
            connect(&job, &PackJob::finished, this, [&] { finished = true; });
            job.start();
            QVERIFY(job.isRunning());
            job.cancelAndWait();
            QVERIFY(!job.isRunning());
        }
        testenv::settle();
        QVERIFY(!finished);
        QCOMPARE(testenv::readFile(upload()), QByteArray("an old upload"));
        QCOMPARE(temporaries(prog()), QStringList());

        // Run to its end, it reports once.
        PackJob job{DataPacker(prog(), data())};
        DataPacker::Result result;
        connect(&job, &PackJob::finished, this, [&](const DataPacker::Result &r) {
            result = r;
            finished = true;
        });
        job.start();
        QVERIFY(QTest::qWaitFor([&] { return finished; }, 20000));
        QVERIFY(result.ok);
        QCOMPARE(zipEntries(upload()).size(), 22);
    }

    void aKilledPackingLeavesTheOldOrTheNewArchives()
    {
        // A data folder that takes a while to pack.
        QRandomGenerator random(11);
        QHash<QString, QByteArray> files;
        auto put = [&](const QString &name, const QByteArray &bytes) {
            testenv::writeFile(data() + name, bytes);
            files.insert(name, bytes);
        };
        for (int i = 0; i < 40; ++i)
            put(QStringLiteral("photo%1.jpg").arg(i), randomBytes(200 * 1024, random));
        for (int i = 0; i < 20; ++i)
            put(QStringLiteral("images/pic%1.jpg").arg(i), randomBytes(200 * 1024, random));
        QByteArray page;
        for (int i = 0; i < 60000; ++i)
            page += "<p>第" + QByteArray::number(i) + "段</p>\n";
        put(QStringLiteral("page.htm"), page);
        put(QStringLiteral("brevonel.qdb"), QByteArray(200000, 'd'));
        put(QStringLiteral("logo.jpg"), QByteArray(5000, 'j'));

        auto runChild = [&](int killAfterUs, qint64 *packMs) {
            QProcess child;
            child.start(QStringLiteral(PACK_CHILD), {prog(), data()});
            if (!child.waitForStarted() || !child.waitForReadyRead(20000))
                return false;
            if (killAfterUs >= 0) {
                QThread::usleep(ulong(killAfterUs));
                child.kill();
            }
            if (!child.waitForFinished(30000))
                return false;
            if (packMs)
                *packMs = child.readAll().trimmed().split('\n').last().toLongLong();
            return true;
        };

        // The old state: archives of the folder as it was.
        qint64 packMs = 0;
        QVERIFY(runChild(-1, nullptr));
        const QByteArray oldUpload = testenv::readFile(upload());
        const QByteArray oldImages = testenv::readFile(images());
        QVERIFY(!readArchive(upload()).isEmpty());
        // The new state: one picture more, a page changed, a script page to remove.
        put(QStringLiteral("new.jpg"), randomBytes(100 * 1024, random));
        put(QStringLiteral("images/new.jpg"), randomBytes(100 * 1024, random));
        put(QStringLiteral("page.htm"), page + "<p>改</p>");
        QVERIFY(runChild(-1, &packMs));
        const QHash<QString, QByteArray> newUpload = readArchive(upload());
        const QHash<QString, QByteArray> newImages = readArchive(images());
        QCOMPARE(newImages.size(), 21);
        QCOMPARE(newUpload.size(), 45);
        QVERIFY(packMs > 0);
        qInfo("packing takes %lld ms", packMs);

        int olds = 0, news = 0, between = 0;
        for (int round = 0; round < 24; ++round) {
            testenv::writeFile(upload(), oldUpload);
            testenv::writeFile(images(), oldImages);
            testenv::writeFile(data() + QStringLiteral("old.asp"), "<% %>");
            // Anywhere from before the first archive to after the last.
            const int killAt = int(random.bounded(quint32(packMs * 2000 + 1)));
            QVERIFY(runChild(killAt, nullptr));

            // Each archive is either the old one, byte for byte, or the new one, whole.
            const bool uploadOld = testenv::readFile(upload()) == oldUpload;
            const bool imagesOld = testenv::readFile(images()) == oldImages;
            QVERIFY2(uploadOld || readArchive(upload()) == newUpload, qPrintable(QString::number(killAt)));
            QVERIFY2(imagesOld || readArchive(images()) == newImages, qPrintable(QString::number(killAt)));
            // The pictures are packed first: a new upload archive holds the new pictures.
            QVERIFY(uploadOld || !imagesOld);
            (uploadOld ? (imagesOld ? olds : between) : news)++;
            // The user's files are all there, untouched.
            for (auto it = files.cbegin(); it != files.cend(); ++it)
                QVERIFY2(testenv::readFile(data() + it.key()) == it.value(), qPrintable(it.key()));

            // The next packing clears what the kill left and packs only the user's files.
            QVERIFY(DataPacker(prog(), data()).packData().ok);
            QCOMPARE(temporaries(data()), QStringList());
            QCOMPARE(temporaries(prog()), QStringList());
            QCOMPARE(readArchive(upload()).keys().size(), newUpload.size());
        }
        qInfo("killed packings: %d left the old archives, %d the new pictures only, %d both new", olds, between, news);
    }

    void aFullDiskSaysWhy_data()
    {
        QTest::addColumn<qint64>("limit"); // bytes a file may hold; <= 0: from the archive's size
        QTest::addColumn<QString>("place");
        QTest::newRow("copying the database") << qint64(64 * 1024) << "prog";
        QTest::newRow("inside the archive") << qint64(250 * 1024) << "";
        QTest::newRow("its last buffered bytes") << qint64(-10) << "";
    }

    void aFullDiskSaysWhy()
    {
        // A child process that may write no file beyond a limit stands in for a full
        // disk: the system stops the writing part of the way into a piece, inside the
        // database copy, the archive or their last buffered bytes.
        QFETCH(qint64, limit);
        QFETCH(QString, place);
        QRandomGenerator random(13);
        testenv::writeFile(data() + QStringLiteral("photo.jpg"), randomBytes(300 * 1024, random));
        testenv::writeFile(data() + QStringLiteral("brevonel.qdb"), randomBytes(100 * 1024, random));
        auto pack = [&](qint64 most) {
            QProcess child;
            QStringList arguments{prog(), data()};
            if (most > 0)
                arguments << QString::number(most);
            child.start(QStringLiteral(PACK_CHILD), arguments);
            child.waitForFinished(30000);
            return QString::fromUtf8(child.readAllStandardOutput());
        };
        pack(0);
        const qint64 whole = QFileInfo(upload()).size();
        QVERIFY(whole > 400 * 1024);
        const QString said = pack(limit > 0 ? limit : whole + limit);
        // The reason, and the user's folder, never a temporary file's name.
        QVERIFY2(said.contains(QStringLiteral("61 Form1::cmdZip_Click 文件写入失败，") + err::systemReason(EFBIG)
                               + QStringLiteral("："))
                     && !said.contains(QStringLiteral("quorvik")),
                 qPrintable(said));
        if (place == QLatin1String("prog"))
            QVERIFY2(said.contains(QStringLiteral("：") + prog()), qPrintable(said));
        QCOMPARE(temporaries(prog()), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestDataPacker)
#include "test_datapacker.moc"
