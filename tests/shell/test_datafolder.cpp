// Finding and repairing the data folder in temporary program folders, and the edges of
// the folder copy and delete.
#include "core/datalayout.h"
#include "core/errors.h"
#include "core/fileutil.h"
#include "shell/datafolder.h"
#include "testenv.h"

#include <QDate>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>

using testenv::readFile;
using testenv::writeFile;

namespace {

const QByteArray kMissing = QByteArrayLiteral("<missing>");
const QByteArray kUserDb = QByteArrayLiteral("the user's own site database");

QMap<QString, QByteArray> snapshot(const QString &folder)
{
    return testenv::folderSnapshot(folder);
}

QStringList listing(const QString &folder)
{
    return snapshot(folder).keys();
}

// A folder a user has filled: pictures, a hidden file, nested and read-only folders, and
// links that lead out of it.
void fillWithUserFiles(const QString &folder, const QString &outside)
{
    writeFile(folder + QStringLiteral("a.jpg"), "picture a");
    writeFile(folder + QStringLiteral(".hidden"), "hidden");
    writeFile(folder + QStringLiteral("sub/deep/x.gif"), "gif");
    writeFile(folder + QStringLiteral("sub/.h"), "hidden too");
    writeFile(folder + QStringLiteral("ro.txt"), "read-only");
    QFile::setPermissions(folder + QStringLiteral("ro.txt"), QFileDevice::ReadOwner | QFileDevice::ReadOther);
    writeFile(folder + QStringLiteral("rodir/f.txt"), "in a read-only folder");
    QFile::setPermissions(folder + QStringLiteral("rodir"),
                          QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther);
    writeFile(outside + QStringLiteral("keep/file.txt"), "outside");
    QFile::link(outside + QStringLiteral("keep"), folder + QStringLiteral("link-dir"));
    QFile::link(outside + QStringLiteral("keep/file.txt"), folder + QStringLiteral("link-file"));
}

// Prepares one state of a folder: "none", "empty" (user files, no database), "db" (user
// files and a database), "file" (a plain file stands at the path).
void prepare(const QString &state, const QString &folderNoSlash, const QString &outside)
{
    const QString folder = folderNoSlash + QLatin1Char('/');
    if (state == QLatin1String("file")) {
        writeFile(folderNoSlash, "a file, not a folder");
    } else if (state == QLatin1String("empty")) {
        fillWithUserFiles(folder, outside);
    } else if (state == QLatin1String("db")) {
        fillWithUserFiles(folder, outside);
        writeFile(folder + datalayout::kDbName, kUserDb);
    }
}


} // namespace

class TestDataFolder : public QObject {
    Q_OBJECT
private slots:
    void repair_data();
    void repair();
    void readOnlyPristine();
    void repairFailures_data();
    void repairFailures();
    void defaultFolderIsAFile();
    void refusesEmptyProgramFolder();
    void copyAndRemoveEdges();
    void aReadOnlyDataFolderIsToldAtStart();
    void aDiskOfItsOwnWithoutItsDatabaseKeepsItsFilesInside();
    void aSwapCutOffIsFinishedAtStart_data();
    void aSwapCutOffIsFinishedAtStart();
};

void TestDataFolder::repair_data()
{
    QTest::addColumn<QByteArray>("ini");     // PROG/initPath.ini; @SITE = the named folder, @PROG = program folder
    QTest::addColumn<QString>("site");       // state of the named folder
    QTest::addColumn<QString>("defaults");   // state of PROG/userImages
    QTest::addColumn<QString>("img");        // expected currImgPath
    QTest::addColumn<QString>("data");       // expected currDataPath ("*": not compared)
    QTest::addColumn<bool>("iniReset");      // initPath.ini is the pristine (empty) copy afterwards
    QTest::addColumn<bool>("repaired");      // userImages/ holds exactly the pristine database

    const QString def = QStringLiteral("@PROG/userImages/");
    const QString site = QStringLiteral("@SITE/");
    // clang-format off
    QTest::newRow("ini missing, first start")          << kMissing << "none" << "none" << def << def << true << true;
    QTest::newRow("ini missing, default has db")       << kMissing << "none" << "db" << def << def << true << false;
    QTest::newRow("ini empty, default holds junk")     << QByteArray() << "none" << "empty" << def << def << true << true;
    QTest::newRow("empty first line")                  << QByteArray("\r\n@SITE/\r\n") << "db" << "db" << def << def << false << false;
    QTest::newRow("empty first line, no default db")   << QByteArray("\n@SITE/\n") << "db" << "none" << def << def << true << true;
    QTest::newRow("folder with db")                    << QByteArray("@SITE/\n") << "db" << "empty" << site << site << false << false;
    QTest::newRow("folder with db, no line end")       << QByteArray("@SITE/") << "db" << "none" << site << site << false << false;
    QTest::newRow("folder with db, CR LF")             << QByteArray("@SITE/\r\n") << "db" << "none" << site << site << false << false;
    QTest::newRow("UTF-8 byte order mark")             << QByteArray("\xef\xbb\xbf@SITE/\r\n") << "db" << "none" << site << site << false << false;
    QTest::newRow("no trailing slash")                 << QByteArray("@SITE") << "db" << "none" << site << site << false << false;
    QTest::newRow("second line ignored")               << QByteArray("@SITE/\n/nowhere/\n") << "db" << "none" << site << site << false << false;
    QTest::newRow("missing folder")                    << QByteArray("@SITE/\n") << "none" << "none" << def << site << true << true;
    QTest::newRow("missing folder, default has db")    << QByteArray("@SITE/") << "none" << "db" << def << site << true << false;
    QTest::newRow("missing folder, default junk")      << QByteArray("@SITE") << "none" << "empty" << def << site << true << true;
    QTest::newRow("folder without db")                 << QByteArray("@SITE/") << "empty" << "none" << def << site << true << true;
    QTest::newRow("folder without db, default has db") << QByteArray("@SITE/") << "empty" << "db" << def << site << true << false;
    QTest::newRow("folder without db, default junk")   << QByteArray("@SITE/") << "empty" << "empty" << def << site << true << true;
    QTest::newRow("names a file")                      << QByteArray("@SITE") << "file" << "none" << def << site << true << true;
    QTest::newRow("names a file, default has db")      << QByteArray("@SITE\n") << "file" << "db" << def << site << true << false;
    QTest::newRow("trailing blank is kept")            << QByteArray("@SITE/ \n") << "db" << "db" << def << "@SITE/ /" << true << false;
    QTest::newRow("names the default folder")          << QByteArray("@PROG/userImages/") << "none" << "db" << def << def << false << false;
    QTest::newRow("names the default folder, no db")   << QByteArray("@PROG/userImages") << "none" << "empty" << def << def << true << true;
    QTest::newRow("very long line")                    << "/" + QByteArray(100000, 'a') + "/\n" << "db" << "db" << def << "/" + QString(100000, u'a') + "/" << true << false;
    QTest::newRow("very long line, no default db")     << "@SITE/" + QByteArray(5000, 'b') << "db" << "none" << def << "*" << true << true;
    QTest::newRow("non-UTF-8 bytes")                   << QByteArray("@SITE/\xb5\xc4\xce\xc4\xff/\n") << "db" << "db" << def << "*" << true << false;
    QTest::newRow("non-UTF-8 bytes, no default db")    << QByteArray("\xc0\xaf\xfe\n") << "none" << "empty" << def << "*" << true << true;
    // clang-format on
}

void TestDataFolder::repair()
{
    QFETCH(QByteArray, ini);
    QFETCH(QString, site);
    QFETCH(QString, defaults);
    QFETCH(QString, img);
    QFETCH(QString, data);
    QFETCH(bool, iniReset);
    QFETCH(bool, repaired);

    testenv::ProgramFolder pf;
    QTemporaryDir outsideDir;
    QVERIFY(pf.isValid() && outsideDir.isValid());
    const QString prog = pf.path();
    const QString outside = outsideDir.path() + QLatin1Char('/');
    const QString siteFolder = outside + QStringLiteral("site"); // no trailing "/"
    const auto expand = [&](QByteArray s) {
        return s.replace("@SITE", siteFolder.toUtf8()).replace("@PROG", QDir::cleanPath(prog).toUtf8());
    };
    ini = expand(ini);
    img = QString::fromUtf8(expand(img.toUtf8()));
    data = QString::fromUtf8(expand(data.toUtf8()));

    prepare(site, siteFolder, outside + QStringLiteral("siteLinks/"));
    prepare(defaults, prog + QStringLiteral("userImages"), outside + QStringLiteral("defaultLinks/"));
    if (ini != kMissing)
        writeFile(prog + datafolder::kPathFile, ini);
    // Things of the user's that no repair may touch.
    writeFile(prog + QStringLiteral("savedData/brevonel.qdb"), "backup");
    writeFile(prog + QStringLiteral("notes.txt"), "notes");

    const auto outsideBefore = snapshot(outside);
    const auto defaultBefore = snapshot(prog + datafolder::kDefaultFolder);
    const auto initdataBefore = snapshot(prog + datafolder::kInitFolder);
    const QByteArray pristine = readFile(prog + QStringLiteral("initdata/brevonel.qdb"));
    QVERIFY(pristine.startsWith("SQLite format 3"));

    datafolder::Folders f;
    try {
        f = datafolder::findAndRepair(prog);
    } catch (const std::exception &e) {
        QFAIL(e.what());
    }

    QCOMPARE(f.currImgPath, img);
    if (data != QLatin1String("*"))
        QCOMPARE(f.currDataPath, data);
    QVERIFY(f.currDataPath.endsWith(QLatin1Char('/')));
    QVERIFY(QFileInfo(f.currImgPath + datalayout::kDbName).isFile());
    QCOMPARE(f.repaired, repaired);

    // initPath.ini: reset to the pristine empty file, or left exactly as it was.
    QVERIFY(QFileInfo(prog + datafolder::kPathFile).isFile());
    QCOMPARE(readFile(prog + datafolder::kPathFile), iniReset || ini == kMissing ? QByteArray() : ini);

    const QString defaultFolder = prog + datafolder::kDefaultFolder;
    if (repaired) {
        QCOMPARE(listing(defaultFolder), QStringList{datalayout::kDbName});
        QCOMPARE(readFile(defaultFolder + datalayout::kDbName), pristine);
        QVERIFY(QFile::permissions(defaultFolder + datalayout::kDbName).testFlag(QFileDevice::WriteOwner));
        // What the default folder held is kept, whole, beside it, and the start says where.
        if (defaultBefore.isEmpty()) {
            QCOMPARE(f.keptAside, QString());
        } else {
            QCOMPARE(f.keptAside, prog + QStringLiteral("userImages~") + QDate::currentDate().toString(Qt::ISODate)
                                      + QStringLiteral("-1"));
            QCOMPARE(snapshot(f.keptAside), defaultBefore);
            QCOMPARE(f.notes.size(), 1);
            QVERIFY(f.notes.first().text.endsWith(f.keptAside));
        }
    } else {
        QCOMPARE(snapshot(defaultFolder), defaultBefore);
    }
    // Nothing outside userImages/ changed: the named folder, the targets of links that
    // were inside userImages/, the backup, initdata/.
    QCOMPARE(snapshot(outside), outsideBefore);
    QCOMPARE(snapshot(prog + datafolder::kInitFolder), initdataBefore);
    QCOMPARE(readFile(prog + QStringLiteral("savedData/brevonel.qdb")), QByteArray("backup"));
    QCOMPARE(readFile(prog + QStringLiteral("notes.txt")), QByteArray("notes"));

    // A second start finds everything in order and changes nothing.
    const auto defaultAfter = snapshot(defaultFolder);
    const QByteArray iniAfter = readFile(prog + datafolder::kPathFile);
    const datafolder::Folders again = datafolder::findAndRepair(prog);
    QCOMPARE(again.currImgPath, f.currImgPath);
    QVERIFY(!again.repaired);
    QCOMPARE(snapshot(defaultFolder), defaultAfter);
    QCOMPARE(readFile(prog + datafolder::kPathFile), iniAfter);

    testenv::makeWritable(outside);
    testenv::makeWritable(prog);
}

void TestDataFolder::readOnlyPristine()
{
    testenv::ProgramFolder pf;
    const QString prog = pf.path();
    const QString pristine = prog + QStringLiteral("initdata/brevonel.qdb");
    const QFileDevice::Permissions ro = QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    QVERIFY(QFile::setPermissions(pristine, ro));
    QVERIFY(QFile::setPermissions(prog + QStringLiteral("initdata/initPath.ini"), ro));
    writeFile(prog + datafolder::kPathFile, "/no/such/folder/");
    const QByteArray bytes = readFile(pristine);

    const datafolder::Folders f = datafolder::findAndRepair(prog);
    QVERIFY(f.repaired);
    const QString copy = prog + QStringLiteral("userImages/brevonel.qdb");
    QCOMPARE(readFile(copy), bytes);
    QVERIFY(QFile::permissions(copy).testFlag(QFileDevice::WriteOwner));
    QVERIFY(QFile::permissions(prog + datafolder::kPathFile).testFlag(QFileDevice::WriteOwner));
    // (The "user" bits say what the running account may do, and root may write anything.)
    const auto userBits = QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser;
    QCOMPARE(QFile::permissions(pristine) & ~userBits, ro);
    QCOMPARE(readFile(pristine), bytes);

    // The copy is a working site database.
    SiteDb db;
    QVERIFY(db.open(copy));
    QCOMPARE(db.exec(QStringLiteral("UPDATE user_info SET webName = ? WHERE user_ID = 1"), {QStringLiteral("x")}), 1);
    db.release();
    QCOMPARE(readFile(pristine), bytes);
}

void TestDataFolder::repairFailures_data()
{
    QTest::addColumn<QString>("initdata"); // "none", "no db", "no ini"
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QString>("site");
    QTest::addColumn<QString>("defaults");
    QTest::addColumn<bool>("fails");

    // clang-format off
    QTest::newRow("no initdata, first start")          << "none" << kMissing << "none" << "none" << true;
    QTest::newRow("no initdata, default junk")         << "none" << QByteArray() << "none" << "empty" << true;
    QTest::newRow("no initdata, folder without db")    << "none" << QByteArray("@SITE/") << "empty" << "empty" << true;
    QTest::newRow("no initdata, missing folder")       << "none" << QByteArray("@SITE/") << "none" << "db" << true;
    QTest::newRow("no pristine db, default junk")      << "no db" << QByteArray() << "none" << "empty" << true;
    QTest::newRow("no pristine db, folder without db") << "no db" << QByteArray("@SITE/") << "empty" << "empty" << true;
    QTest::newRow("no pristine ini, default junk")     << "no ini" << QByteArray() << "none" << "empty" << true;
    QTest::newRow("no pristine ini, missing folder")   << "no ini" << QByteArray("@SITE") << "none" << "db" << true;
    QTest::newRow("no initdata, nothing to repair")    << "none" << QByteArray("@SITE/") << "db" << "empty" << false;
    QTest::newRow("no initdata, default has db")       << "none" << QByteArray() << "none" << "db" << false;
    // clang-format on
}

void TestDataFolder::repairFailures()
{
    QFETCH(QString, initdata);
    QFETCH(QByteArray, ini);
    QFETCH(QString, site);
    QFETCH(QString, defaults);
    QFETCH(bool, fails);

    testenv::ProgramFolder pf;
    QTemporaryDir outsideDir;
    const QString prog = pf.path();
    const QString outside = outsideDir.path() + QLatin1Char('/');
    const QString siteFolder = outside + QStringLiteral("site");
    ini.replace("@SITE", siteFolder.toUtf8());
    if (initdata == QLatin1String("none"))
        QVERIFY(QDir(prog + datafolder::kInitFolder).removeRecursively());
    else if (initdata == QLatin1String("no db"))
        QVERIFY(QFile::remove(prog + QStringLiteral("initdata/brevonel.qdb")));
    else
        QVERIFY(QFile::remove(prog + QStringLiteral("initdata/initPath.ini")));
    prepare(site, siteFolder, outside + QStringLiteral("siteLinks/"));
    prepare(defaults, prog + QStringLiteral("userImages"), outside + QStringLiteral("defaultLinks/"));
    if (ini != kMissing)
        writeFile(prog + datafolder::kPathFile, ini);
    const auto progBefore = snapshot(prog);
    const auto outsideBefore = snapshot(outside);

    bool threw = false;
    try {
        datafolder::findAndRepair(prog);
    } catch (const err::FileError &e) {
        threw = true;
        QVERIFY(!e.description().isEmpty());
    }
    QCOMPARE(threw, fails);
    // Nothing the user had is deleted or changed; at most an empty initPath.ini appears.
    auto progAfter = snapshot(prog);
    if (ini == kMissing)
        QCOMPARE(progAfter.take(datafolder::kPathFile), QByteArray());
    QCOMPARE(progAfter, progBefore);
    QCOMPARE(snapshot(outside), outsideBefore);

    testenv::makeWritable(outside);
    testenv::makeWritable(prog);
}

void TestDataFolder::defaultFolderIsAFile()
{
    testenv::ProgramFolder pf;
    const QString prog = pf.path();
    writeFile(prog + QStringLiteral("userImages"), "a file where the folder should be");
    try {
        datafolder::findAndRepair(prog);
        QFAIL("the default folder cannot be made: the repair must fail");
    } catch (const err::FileError &e) {
        QCOMPARE(e.kind(), err::Kind::FolderCreate);
    }
    QCOMPARE(readFile(prog + QStringLiteral("userImages")), QByteArray("a file where the folder should be"));
}

void TestDataFolder::refusesEmptyProgramFolder()
{
    // Run from a scratch working folder, so a missing guard could only harm that.
    QTemporaryDir scratch;
    writeFile(scratch.filePath(QStringLiteral("userImages/keep.txt")), "keep");
    const QString cwd = QDir::currentPath();
    QVERIFY(QDir::setCurrent(scratch.path()));
    QVERIFY_THROWS_EXCEPTION(err::FileError, datafolder::findAndRepair(QString()));
    QVERIFY_THROWS_EXCEPTION(err::FileError, fileutil::FolderSwap{QString()});
    QVERIFY_THROWS_EXCEPTION(err::FileError, fileutil::FolderSwap{QStringLiteral("/")});
    QDir::setCurrent(cwd);
    QCOMPARE(readFile(scratch.filePath(QStringLiteral("userImages/keep.txt"))), QByteArray("keep"));
    QVERIFY(!QFileInfo::exists(scratch.filePath(datafolder::kPathFile)));
}

void TestDataFolder::copyAndRemoveEdges()
{
    QTemporaryDir dir;
    const QString base = dir.path() + QLatin1Char('/');

    // Removing a missing folder is not an error; a read-only tree goes whole.
    fileutil::removeFolder(base + QStringLiteral("nothing"));
    writeFile(base + QStringLiteral("tree/ro/f.txt"), "f");
    QFile::setPermissions(base + QStringLiteral("tree/ro/f.txt"), QFileDevice::ReadOwner);
    QFile::setPermissions(base + QStringLiteral("tree/ro"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    fileutil::removeFolder(base + QStringLiteral("tree"));
    QVERIFY(!QFileInfo::exists(base + QStringLiteral("tree")));

    // Copying a missing folder fails and creates nothing.
    QVERIFY_THROWS_EXCEPTION(err::FileError,
                             fileutil::copyTree(base + QStringLiteral("nothing"), base + QStringLiteral("to")));
    QVERIFY(!QFileInfo::exists(base + QStringLiteral("to")));

    // A missing source never costs the destination.
    writeFile(base + QStringLiteral("dst.txt"), "keep me");
    QVERIFY_THROWS_EXCEPTION(err::FileError,
                             fileutil::copyReplace(base + QStringLiteral("missing.txt"), base + QStringLiteral("dst.txt")));
    QCOMPARE(readFile(base + QStringLiteral("dst.txt")), QByteArray("keep me"));

    // Copying a file onto itself, under any spelling, keeps it.
    QVERIFY(QDir().mkpath(base + QStringLiteral("x")));
    QVERIFY(QFile::link(base + QStringLiteral("dst.txt"), base + QStringLiteral("alias.txt")));
    for (const QString &same : {QStringLiteral("dst.txt"), QStringLiteral("./x/../dst.txt"), QStringLiteral("alias.txt")}) {
        fileutil::copyReplace(base + QStringLiteral("dst.txt"), base + same);
        QCOMPARE(readFile(base + QStringLiteral("dst.txt")), QByteArray("keep me"));
    }
    // Copying a folder into itself leaves it as it was.
    writeFile(base + QStringLiteral("self/a.txt"), "a");
    fileutil::copyTree(base + QStringLiteral("self"), base + QStringLiteral("self"));
    QCOMPARE(snapshot(base + QStringLiteral("self")), (QMap<QString, QByteArray>{{QStringLiteral("a.txt"), "a"}}));
}

void TestDataFolder::aReadOnlyDataFolderIsToldAtStart()
{
    testenv::SmallDisk disk(1024);
    if (!disk.mounted())
        QSKIP("a small tmpfs cannot be mounted here (it needs root): the read-only case is skipped");
    testenv::ProgramFolder pf;
    const QString site = disk.path() + QStringLiteral("site/");
    writeFile(site + datalayout::kDbName, readFile(pf.file(QStringLiteral("initdata/brevonel.qdb"))));
    writeFile(pf.file(datafolder::kPathFile), site.toUtf8());
    QCOMPARE(datafolder::findAndRepair(pf.path()).notes, QList<ui::Message>());
    QVERIFY(disk.remountReadOnly());
    const datafolder::Folders f = datafolder::findAndRepair(pf.path());
    QCOMPARE(f.currImgPath, site);
    QCOMPARE(f.notes.size(), 1);
    QVERIFY(f.notes.first().text.contains(site));
    QCOMPARE(f.notes.first().style, 48);
}

void TestDataFolder::aDiskOfItsOwnWithoutItsDatabaseKeepsItsFilesInside()
{
    // The default data folder is the root of a disk, which cannot be renamed: what it
    // holds goes into a folder inside it, the pristine database goes in beside that,
    // and the start says where the files are.
    testenv::ProgramFolder pf;
    const QString data = pf.file(datafolder::kDefaultFolder);
    testenv::SmallDisk disk(1024, data);
    if (!disk.mounted())
        QSKIP("a small tmpfs cannot be mounted here (it needs root): the case is skipped");
    QTemporaryDir outside;
    fillWithUserFiles(data, outside.path() + QLatin1Char('/'));
    const auto before = snapshot(data);
    // The file system's own folder is neither the user's nor the program's: it stays.
    writeFile(data + QStringLiteral("lost+found/#12"), "recovered by fsck");

    const datafolder::Folders f = datafolder::findAndRepair(pf.path());
    const QString kept = data + QStringLiteral("userImages~") + QDate::currentDate().toString(Qt::ISODate)
                         + QStringLiteral("-1");
    QCOMPARE(f.currImgPath, data);
    QVERIFY(f.repaired);
    QCOMPARE(f.keptAside, kept);
    QCOMPARE(snapshot(kept), before);
    QCOMPARE(QDir(data).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
             (QStringList{datalayout::kDbName, QStringLiteral("lost+found"), QFileInfo(kept).fileName()}));
    QCOMPARE(readFile(data + QStringLiteral("lost+found/#12")), QByteArray("recovered by fsck"));
    QCOMPARE(readFile(data + datalayout::kDbName), readFile(pf.file(QStringLiteral("initdata/brevonel.qdb"))));
    QCOMPARE(f.notes.size(), 1);
    QVERIFY(f.notes.first().text.endsWith(kept));
    testenv::makeWritable(kept);
}

void TestDataFolder::aSwapCutOffIsFinishedAtStart_data()
{
    // A restore (or backup, or home-page import) killed between the two renames of its
    // swap: the folder itself is gone, its old and new contents lie beside it.
    QTest::addColumn<QString>("folder"); // relative to the program folder, or @SITE
    QTest::newRow("named data folder") << "@SITE/";
    QTest::newRow("default data folder") << "userImages/";
    QTest::newRow("backup") << "savedData/";
    QTest::newRow("images of the data folder") << "userImages/images/";
}

void TestDataFolder::aSwapCutOffIsFinishedAtStart()
{
    QFETCH(QString, folder);
    testenv::ProgramFolder pf;
    QTemporaryDir outsideDir;
    const QString prog = pf.path();
    const QString site = outsideDir.path() + QStringLiteral("/siteA/");
    writeFile(prog + QStringLiteral("userImages/") + datalayout::kDbName, kUserDb);
    writeFile(site + datalayout::kDbName, kUserDb);
    writeFile(prog + QStringLiteral("savedData/") + datalayout::kDbName, kUserDb);
    writeFile(prog + datafolder::kPathFile, folder.startsWith(QLatin1String("@SITE")) ? site.toUtf8() : QByteArray());
    const QString target = folder.startsWith(QLatin1String("@SITE")) ? site : prog + folder;
    writeFile(target + QStringLiteral("old.jpg"), "old picture");
    const QFileInfo where(QDir::cleanPath(target));
    const QString beside = where.path() + QStringLiteral("/.") + where.fileName();
    QVERIFY(QDir().rename(QDir::cleanPath(target), beside + QStringLiteral("~old")));
    writeFile(beside + QStringLiteral("~new/") + datalayout::kDbName, "restored database");
    writeFile(beside + QStringLiteral("~new/mine.jpg"), "restored picture");
    const QByteArray ini = readFile(prog + datafolder::kPathFile);

    const datafolder::Folders f = datafolder::findAndRepair(prog);
    QVERIFY(!f.repaired);
    QCOMPARE(f.currImgPath, folder.startsWith(QLatin1String("@SITE")) ? site : prog + QStringLiteral("userImages/"));
    QCOMPARE(readFile(prog + datafolder::kPathFile), ini);
    QCOMPARE(snapshot(target), (QMap<QString, QByteArray>{{datalayout::kDbName, "restored database"},
                                                          {QStringLiteral("mine.jpg"), "restored picture"}}));
    QVERIFY(!QFileInfo::exists(beside + QStringLiteral("~old")));
    QVERIFY(!QFileInfo::exists(beside + QStringLiteral("~new")));
}

QTEST_GUILESS_MAIN(TestDataFolder)
#include "test_datafolder.moc"
