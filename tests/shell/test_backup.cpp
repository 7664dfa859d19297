// Backup of the data folder in use and its restore: what they copy, and that a failure
// part-way, a kill at any moment or a full disk leaves the old state or the new one,
// whole, with the site database in place.
#include "content/pictures.h"
#include "core/datafiles.h"
#include "core/datalayout.h"
#include "core/errors.h"
#include "core/fileutil.h"
#include "shell/backup.h"
#include "shell/datafolder.h"
#include "testenv.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRandomGenerator>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using Step = fileutil::faults::Step;
using testenv::folderSnapshot;
using testenv::readFile;
using testenv::SmallDisk;
using testenv::Snapshot;
using testenv::writeFile;

namespace {

const QString kDb = datalayout::kDbName;

QString webName(const QString &database)
{
    SiteDb db;
    if (!db.open(database))
        return QStringLiteral("<not open>");
    const Rows rows = db.select(QStringLiteral("SELECT webName FROM user_info"));
    return rows.empty() ? QString() : db::text(rows.front(), QStringLiteral("webName"));
}

// A site database with the given site name, at folder + brevonel.qdb.
void putDatabase(const QString &folder, const QString &name)
{
    const QString path = folder + kDb;
    QDir().mkpath(folder);
    QFile::remove(path);
    QVERIFY(QFile::copy(testenv::appDir() + QStringLiteral("initdata/") + kDb, path));
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    SiteDb db;
    QVERIFY(db.open(path));
    db.exec(QStringLiteral("UPDATE user_info SET webName=?"), {name});
}

// Pictures, a hidden file, nested and read-only folders, and links: to a file outside
// (beside the folder), to a folder inside, and to nothing.
void fillSite(const QString &folder, const QByteArray &tag, int pictures = 4)
{
    for (int i = 0; i < pictures; ++i)
        writeFile(folder + QStringLiteral("p%1.jpg").arg(i), tag + ' ' + QByteArray(8000, char('a' + i % 26)));
    writeFile(folder + QStringLiteral(".hidden"), tag + " hidden");
    writeFile(folder + QStringLiteral("images/deep/x.gif"), tag + " gif");
    writeFile(folder + QStringLiteral("ro.txt"), tag + " read-only");
    QFile::setPermissions(folder + QStringLiteral("ro.txt"), QFileDevice::ReadOwner);
    QFile::link(QStringLiteral("../outside/keep/file.txt"), folder + QStringLiteral("link-file"));
    QFile::link(QStringLiteral("images"), folder + QStringLiteral("link-dir"));
    QFile::link(QStringLiteral("gone.jpg"), folder + QStringLiteral("dangling.jpg"));
}
} // namespace

class TestBackup : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_root;

    QString data() const { return m_root + QStringLiteral("siteA/"); }
    QString saved() const { return m_root + QStringLiteral("savedData/"); }

    // No swap leaves anything beside the folders.
    void noLeftovers()
    {
        QCOMPARE(QDir(m_root).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
                     .filter(QStringLiteral("~")),
                 QStringList());
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_root = m_dir->path() + QLatin1Char('/');
        writeFile(m_root + QStringLiteral("outside/keep/file.txt"), "outside");
    }

    void cleanup()
    {
        fileutil::faults::setHook({});
        testenv::makeWritable(m_root);
        m_dir.reset();
    }

    void backupIsAWholeCopyThatReplacesTheOldOne()
    {
        putDatabase(data(), QStringLiteral("甲"));
        fillSite(data(), "first");
        writeFile(data() + kDb + QStringLiteral("-journal"), "SQLite's own file");

        backup::save(data(), saved());
        // Everything but SQLite's own file, links as links (dangling too), read-only
        // originals as writable copies.
        Snapshot want = folderSnapshot(data());
        want.remove(kDb + QStringLiteral("-journal"));
        QCOMPARE(folderSnapshot(saved()), want);
        QVERIFY(QFile::permissions(saved() + QStringLiteral("ro.txt")).testFlag(QFileDevice::WriteOwner));
        QCOMPARE(webName(saved() + kDb), QStringLiteral("甲"));

        // The second backup replaces the first whole, read-only leftovers included.
        QVERIFY(QFile::remove(data() + QStringLiteral("p1.jpg")));
        QVERIFY(QDir(data() + QStringLiteral("images/deep")).removeRecursively());
        writeFile(data() + QStringLiteral("p0.jpg"), "edited");
        writeFile(saved() + QStringLiteral("only-in-backup/x.txt"), "x");
        QFile::setPermissions(saved() + QStringLiteral("only-in-backup"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        backup::save(data(), saved());
        want = folderSnapshot(data());
        want.remove(kDb + QStringLiteral("-journal"));
        QCOMPARE(folderSnapshot(saved()), want);
        noLeftovers();
        // The link's target outside was never touched.
        QCOMPARE(readFile(m_root + QStringLiteral("outside/keep/file.txt")), QByteArray("outside"));

        // A data folder without its database is no backup.
        QVERIFY(QFile::remove(data() + kDb));
        const Snapshot before = folderSnapshot(saved());
        QVERIFY_THROWS_EXCEPTION(err::FileError, backup::save(data(), saved()));
        QCOMPARE(folderSnapshot(saved()), before);
    }

    void restoreOverwritesAndKeeps()
    {
        putDatabase(saved(), QStringLiteral("备份时"));
        writeFile(saved() + QStringLiteral("a.jpg"), "a at backup time");
        writeFile(saved() + QStringLiteral("sub/c.gif"), "c at backup time");
        writeFile(saved() + QStringLiteral(".hidden"), "hidden at backup time");
        QFile::link(QStringLiteral("a.jpg"), saved() + QStringLiteral("alias.jpg"));
        QFile::setPermissions(saved() + QStringLiteral("a.jpg"), QFileDevice::ReadOwner);

        putDatabase(data(), QStringLiteral("现在"));
        writeFile(data() + QStringLiteral("a.jpg"), "a now");
        writeFile(data() + QStringLiteral("e.jpg"), "added after the backup");
        writeFile(data() + QStringLiteral("sub/f.gif"), "added after the backup");
        QFile::link(QStringLiteral("nowhere.jpg"), data() + QStringLiteral("dangling.jpg"));
        writeFile(data() + kDb + QStringLiteral("-journal"), "a journal of the database being replaced");
        const Snapshot savedBefore = folderSnapshot(saved());

        SiteDb conn;
        QVERIFY(conn.open(data() + kDb));
        backup::restore(saved(), data(), conn);
        QVERIFY(conn.isOpen());
        QCOMPARE(db::text(conn.select(QStringLiteral("SELECT webName FROM user_info")).front(), QStringLiteral("webName")),
                 QStringLiteral("备份时"));
        Snapshot want = savedBefore;
        want[QStringLiteral("e.jpg")] = "added after the backup";
        want[QStringLiteral("sub/f.gif")] = "added after the backup";
        want[QStringLiteral("dangling.jpg@")] = "nowhere.jpg";
        QCOMPARE(folderSnapshot(data()), want);
        QVERIFY(QFile::permissions(data() + QStringLiteral("a.jpg")).testFlag(QFileDevice::WriteOwner));
        QCOMPARE(folderSnapshot(saved()), savedBefore);
        noLeftovers();

        // A restore can run again from the same backup.
        backup::restore(saved(), data(), conn);
        QVERIFY(conn.isOpen());
        QCOMPARE(folderSnapshot(data()), want);
    }

    void failurePartWay_data()
    {
        QTest::addColumn<bool>("restoring");
        QTest::addColumn<Step>("step");
        QTest::addColumn<int>("nth");
        for (const bool restoring : {false, true}) {
            const char *op = restoring ? "restore" : "backup";
            QTest::addRow("%s, a picture's piece", op) << restoring << Step::Write << 5;
            QTest::addRow("%s, the database's commit", op) << restoring << Step::Commit << 1;
            QTest::addRow("%s, a link", op) << restoring << Step::Link << 2;
            QTest::addRow("%s, a folder", op) << restoring << Step::MakeFolder << 2;
            QTest::addRow("%s, moving the old aside", op) << restoring << Step::Rename << 1;
            QTest::addRow("%s, moving the new in", op) << restoring << Step::Rename << 2;
        }
    }

    void failurePartWay()
    {
        QFETCH(bool, restoring);
        QFETCH(Step, step);
        QFETCH(int, nth);
        putDatabase(data(), QStringLiteral("现在"));
        fillSite(data(), "now", 6);
        putDatabase(saved(), QStringLiteral("备份时"));
        fillSite(saved(), "backup", 3);
        const Snapshot dataBefore = folderSnapshot(data());
        const Snapshot savedBefore = folderSnapshot(saved());

        SiteDb conn;
        QVERIFY(conn.open(data() + kDb));
        {
            testenv::FileFault fault(step, nth);
            if (restoring)
                QVERIFY_THROWS_EXCEPTION(err::FileError, backup::restore(saved(), data(), conn));
            else
                QVERIFY_THROWS_EXCEPTION(err::FileError, backup::save(data(), saved()));
            QVERIFY(fault.fired());
        }
        QCOMPARE(folderSnapshot(data()), dataBefore);
        QCOMPARE(folderSnapshot(saved()), savedBefore);
        noLeftovers();
        // The connection is open on the data folder's own database, and works.
        QVERIFY(conn.isOpen());
        QCOMPARE(conn.exec(QStringLiteral("UPDATE user_info SET webName=?"), {QStringLiteral("之后")}), 1);
        QCOMPARE(webName(data() + kDb), QStringLiteral("之后"));
    }

    void aDatabaseThatIsNotWholeNeverReplacesAGoodOne_data()
    {
        QTest::addColumn<bool>("restoring");
        QTest::addColumn<QString>("damage");
        for (const bool restoring : {false, true}) {
            const char *op = restoring ? "restore of a backup" : "backup of a site";
            QTest::addRow("%s with a damaged page", op) << restoring << "page";
            QTest::addRow("%s cut off to nothing", op) << restoring << "empty";
            QTest::addRow("%s whose index disagrees with its table", op) << restoring << "index";
        }
    }

    void aDatabaseThatIsNotWholeNeverReplacesAGoodOne()
    {
        QFETCH(bool, restoring);
        QFETCH(QString, damage);
        putDatabase(data(), QStringLiteral("现在"));
        fillSite(data(), "now");
        putDatabase(saved(), QStringLiteral("备份时"));
        fillSite(saved(), "backup");
        SiteDb conn;
        QVERIFY(conn.open(data() + kDb));
        const QString damaged = (restoring ? saved() : data()) + kDb;
        if (damage == QLatin1String("page")) {
            QByteArray bytes = readFile(damaged);
            bytes.replace(bytes.size() - 4096, 4096, QByteArray(4096, '\xa5'));
            writeFile(damaged, bytes);
        } else if (damage == QLatin1String("empty")) {
            writeFile(damaged, QByteArray());
        } else {
            testenv::breakIndex(damaged);
        }
        const Snapshot dataBefore = folderSnapshot(data());
        const Snapshot savedBefore = folderSnapshot(saved());
        try {
            restoring ? backup::restore(saved(), data(), conn) : backup::save(data(), saved());
            QFAIL("a database that is not whole must be refused");
        } catch (const err::DbError &e) {
            // A damaged site is to be restored from its backup; a damaged backup is said
            // to be no backup, the data left as they are.
            QCOMPARE(e.kind(), restoring ? err::Kind::BackupDamaged : err::Kind::DbDamaged);
            QCOMPARE(e.detail(), damaged);
        }
        QCOMPARE(folderSnapshot(data()), dataBefore);
        QCOMPARE(folderSnapshot(saved()), savedBefore);
        noLeftovers();
        if (restoring)
            QVERIFY(conn.isOpen());
    }

    void killedAtAnyMoment_data()
    {
        QTest::addColumn<bool>("restoring");
        QTest::newRow("backup") << false;
        QTest::newRow("restore") << true;
    }

    void killedAtAnyMoment()
    {
        QFETCH(bool, restoring);
        // The user's state, kept aside to start each round from.
        const QString pristine = m_root + QStringLiteral("pristine/");
        putDatabase(pristine + QStringLiteral("siteA/"), QStringLiteral("现在"));
        fillSite(pristine + QStringLiteral("siteA/"), "now", 30);
        putDatabase(pristine + QStringLiteral("savedData/"), QStringLiteral("备份时"));
        fillSite(pristine + QStringLiteral("savedData/"), "backup", 20);
        writeFile(pristine + QStringLiteral("savedData/only-in-backup.jpg"), "b");
        const QString work = m_root + QStringLiteral("work/");
        const QString site = work + QStringLiteral("siteA/");
        const QString backupFolder = work + QStringLiteral("savedData/");
        const auto reset = [&] {
            fileutil::removeFolder(work);
            fileutil::copyTree(pristine, work);
        };
        const auto runChild = [&](int killAt, int killAfterUs) {
            QProcess child;
            QStringList args{restoring ? QStringLiteral("restore") : QStringLiteral("backup"), site, backupFolder};
            if (killAt > 0)
                args << QString::number(killAt);
            child.start(QStringLiteral(BACKUP_CHILD), args);
            if (!child.waitForStarted(10000))
                return QByteArray("did not start");
            if (killAfterUs >= 0) {
                child.waitForReadyRead(10000);
                QThread::usleep(ulong(killAfterUs));
                child.kill();
            }
            child.waitForFinished(10000);
            return child.readAllStandardOutput();
        };
        // What the whole run leaves, and how many steps and how long it takes.
        reset();
        const Snapshot oldState = folderSnapshot(work);
        const QList<QByteArray> report = runChild(0, -1).split('\n').value(1).split(' ');
        QCOMPARE(report.value(0), QByteArray("steps"));
        const int steps = report.value(1).toInt();
        const int micros = report.value(3).toInt();
        QVERIFY(steps > 50);
        const Snapshot newState = folderSnapshot(work);
        QVERIFY(newState != oldState);

        const quint32 seed = QRandomGenerator::global()->generate();
        QRandomGenerator random(seed);
        int olds = 0, news = 0;
        for (int round = 0; round < 16; ++round) {
            reset();
            // Half the rounds are killed from outside after a while, half at a step.
            if (round % 2 == 0)
                runChild(0, int(random.bounded(quint32(micros + 2000))));
            else
                runChild(int(random.bounded(1, steps + 1)), -1);
            // The next start finishes or undoes a swap cut off between its renames.
            fileutil::recoverSwap(site);
            fileutil::recoverSwap(backupFolder);
            const Snapshot now = folderSnapshot(work);
            const QString where = QStringLiteral("seed %1, round %2").arg(seed).arg(round);
            QVERIFY2(now == oldState || now == newState, qPrintable(where));
            QVERIFY2(QFileInfo(site + kDb).isFile(), qPrintable(where));
            (now == oldState ? olds : news)++;
        }
        qInfo("%d rounds left the old state, %d the new one", olds, news);
    }

    void restoreIntoTheRootOfADisk()
    {
        // The data folder is a disk of its own: it cannot be renamed, and beside it lies
        // another disk. The restore replaces its entries from inside; a kill at any of
        // its steps leaves the old state or the new one once the next start has looked.
        SmallDisk disk(4096);
        if (!disk.mounted())
            QSKIP("a small tmpfs cannot be mounted here (it needs root): the case is skipped");
        const QString site = disk.path();
        putDatabase(site, QStringLiteral("现在"));
        fillSite(site, "now", 6);
        writeFile(site + QStringLiteral("only-now.jpg"), "added after the backup");
        putDatabase(saved(), QStringLiteral("备份时"));
        fillSite(saved(), "backup", 3);
        const Snapshot oldState = folderSnapshot(site);
        Snapshot newState = folderSnapshot(saved());
        newState[QStringLiteral("only-now.jpg")] = "added after the backup";
        for (const QString &name : {QStringLiteral("p3.jpg"), QStringLiteral("p4.jpg"), QStringLiteral("p5.jpg")})
            newState[name] = oldState[name];

        // Killed before each step: a copy of the disk as it was then, looked at by the
        // next start.
        int steps = 0;
        QStringList killed;
        fileutil::faults::setHook([&](Step, const QString &) {
            const QString copy = m_root + QStringLiteral("killed%1").arg(++steps);
            QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-a"), QDir::cleanPath(site), copy});
            killed << copy;
            return false;
        });
        SiteDb conn;
        QVERIFY(conn.open(site + kDb));
        backup::restore(saved(), site, conn);
        fileutil::faults::setHook({});
        QVERIFY(conn.isOpen());
        QCOMPARE(webName(site + kDb), QStringLiteral("备份时"));
        QCOMPARE(folderSnapshot(site), newState);
        QVERIFY(steps > 20);
        for (const QString &copy : killed) {
            fileutil::recoverSwap(copy);
            const Snapshot now = folderSnapshot(copy);
            QVERIFY2(now == oldState || now == newState, qPrintable(copy));
        }
        conn.release();
    }

    void theDisksLostAndFoundStaysWhereItIs()
    {
        // A data folder at the root of a disk holds the file system's lost+found, which
        // is neither the user's nor the program's (and only its owner may move it): a
        // restore leaves it as it is, and a backup does not carry it.
        SmallDisk disk(4096);
        if (!disk.mounted())
            QSKIP("a small tmpfs cannot be mounted here (it needs root): the case is skipped");
        const QString site = disk.path();
        putDatabase(site, QStringLiteral("现在"));
        fillSite(site, "now", 2);
        writeFile(site + QStringLiteral("lost+found/#12"), "recovered by fsck");
        putDatabase(saved(), QStringLiteral("备份时"));
        writeFile(saved() + QStringLiteral("lost+found/#7"), "carried by an earlier backup");
        SiteDb conn;
        QVERIFY(conn.open(site + kDb));
        backup::restore(saved(), site, conn);
        QCOMPARE(webName(site + kDb), QStringLiteral("备份时"));
        QCOMPARE(folderSnapshot(site + QStringLiteral("lost+found")),
                 (Snapshot{{QStringLiteral("#12"), "recovered by fsck"}}));
        conn.release();

        const QString again = m_root + QStringLiteral("again/");
        backup::save(site, again);
        QVERIFY(QFileInfo(again + kDb).isFile());
        QVERIFY(!QFileInfo::exists(again + QStringLiteral("lost+found")));
    }

    void fullDisk_data()
    {
        QTest::addColumn<QString>("op");
        QTest::addColumn<int>("freeKb"); // what the disk has left
        QTest::addColumn<int>("size");   // the picture's size (bytes, or pixels a side)
        // Small ones stay in the write buffer until the end, where a failure is easy to miss.
        QTest::newRow("picture import") << "picture import" << 120 << 400 * 1024;
        QTest::newRow("small picture import") << "picture import" << 4 << 10 * 1024;
        QTest::newRow("thumbnail") << "thumbnail" << 120 << 600;
        QTest::newRow("small thumbnail") << "thumbnail" << 4 << 40;
        QTest::newRow("backup") << "backup" << 120 << 0;
        QTest::newRow("restore") << "restore" << 120 << 0;
    }

    void fullDisk()
    {
        QFETCH(QString, op);
        QFETCH(int, freeKb);
        QFETCH(int, size);
        SmallDisk disk(2048);
        if (!disk.mounted())
            QSKIP("a small tmpfs cannot be mounted here (it needs root): the full-disk cases are skipped");
        const QString site = disk.path() + QStringLiteral("siteA/");
        const QString backupFolder = disk.path() + QStringLiteral("savedData/");
        putDatabase(site, QStringLiteral("现在"));
        fillSite(site, "now", 30);
        writeFile(site + QStringLiteral("a_small.bmp"), "the thumbnail a record names");
        putDatabase(backupFolder, QStringLiteral("备份时"));
        fillSite(backupFolder, "backup", 30);
        writeFile(m_root + QStringLiteral("p0.jpg"), QByteArray(size, 'n'));
        disk.leaveFree(freeKb);
        const Snapshot siteBefore = folderSnapshot(site);
        const Snapshot savedBefore = folderSnapshot(backupFolder);

        SiteDb conn;
        QVERIFY(conn.open(site + kDb));
        try {
            if (op == QLatin1String("picture import")) {
                datafiles::PendingFiles session;
                datafiles::importChoice(conn, m_root + QStringLiteral("p0.jpg"), site, &session);
                QFAIL("the disk should be too full");
            }
            if (op == QLatin1String("thumbnail")) {
                QImage picture(size, size, QImage::Format_RGB32);
                picture.fill(Qt::blue);
                content::pictures::writeThumbnail(picture, QSize(size * 15, size * 15), site + QStringLiteral("a_small.bmp"));
                QFAIL("the disk should be too full");
            }
            if (op == QLatin1String("backup"))
                backup::save(site, backupFolder);
            if (op == QLatin1String("restore"))
                backup::restore(backupFolder, site, conn);
            QFAIL("the disk should be too full");
        } catch (const err::Error &e) {
            // The system's reason, and the file as the user knows it: in their folder,
            // never in one being built beside it.
            const QString said = e.description();
            QVERIFY2(said.contains(err::systemReason(ENOSPC)), qPrintable(said));
            QVERIFY2(said.contains(op == QLatin1String("backup") ? backupFolder : site), qPrintable(said));
            QVERIFY2(!said.contains(QLatin1Char('~')), qPrintable(said));
        }
        QCOMPARE(folderSnapshot(site), siteBefore);
        QCOMPARE(folderSnapshot(backupFolder), savedBefore);
        QCOMPARE(QDir(disk.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 (QStringList{"filler", "savedData", "siteA"}));
        QVERIFY(conn.isOpen());
        QCOMPARE(webName(site + kDb), QStringLiteral("现在"));
        conn.release();
        testenv::makeWritable(disk.path());
    }
};

QTEST_GUILESS_MAIN(TestBackup)
#include "test_backup.moc"
