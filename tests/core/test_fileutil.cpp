// The one way files and folders the user has are replaced: each replacement run whole,
// and again with each of its steps failing as a full disk or a refused rename would;
// and the next start's repair of a folder swap that a kill cut off.
#include "core/errors.h"
#include "core/fileutil.h"
#include "testenv.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using Step = fileutil::faults::Step;
using testenv::folderSnapshot;
using testenv::readFile;
using testenv::Snapshot;
using testenv::writeFile;

namespace {

const QByteArray kOld = QByteArrayLiteral("the user's picture, as it was");

// Large enough to be written in several pieces.
QByteArray newBytes()
{
    QByteArray b;
    for (int i = 0; b.size() < 200 * 1024; ++i)
        b += QByteArray::number(i) + ' ';
    return b;
}


// Moves every key under `from` to `to` (both relative folder prefixes ending in "/").
Snapshot rerooted(const Snapshot &snap, const QString &from, const QString &to)
{
    Snapshot out;
    for (auto it = snap.cbegin(); it != snap.cend(); ++it)
        if (it.key().startsWith(from) && it.key() != from)
            out[to + it.key().mid(from.size())] = it.value();
    return out;
}

// Replaces folder target by a copy of src (which may lie inside target), as the
// program puts a chosen images/ folder in: copied beside the old one, then swapped.
void swapInCopy(const QString &src, const QString &target)
{
    fileutil::FolderSwap swap(target);
    fileutil::copyTree(src, swap.path());
    swap.commit();
}

Snapshot without(Snapshot snap, const QString &prefix)
{
    for (auto it = snap.begin(); it != snap.end();)
        it = it.key().startsWith(prefix) ? snap.erase(it) : std::next(it);
    return snap;
}

} // namespace

class TestFileUtil : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_root; // holds site/ (the data folder) and outside/ (where files are chosen)

    QString site(const QString &rel = QString()) const { return m_root + QStringLiteral("site/") + rel; }
    QString outside(const QString &rel = QString()) const { return m_root + QStringLiteral("outside/") + rel; }

    // A folder of pictures as a user has them: nested, hidden, read-only, and links to a
    // file, to a folder and to nothing.
    void fillPictures(const QString &folder, const QByteArray &tag)
    {
        writeFile(folder + QStringLiteral("a.jpg"), tag + " a");
        writeFile(folder + QStringLiteral(".hidden"), tag + " hidden");
        writeFile(folder + QStringLiteral("deep/b.gif"), tag + " b");
        writeFile(folder + QStringLiteral("ro.gif"), tag + " read-only");
        QFile::setPermissions(folder + QStringLiteral("ro.gif"), QFileDevice::ReadOwner);
        QVERIFY(QFile::link(QStringLiteral("a.jpg"), folder + QStringLiteral("alias.jpg")));
        QVERIFY(QFile::link(QStringLiteral("deep"), folder + QStringLiteral("deep-link")));
        QVERIFY(QFile::link(QStringLiteral("/nowhere/at/all.jpg"), folder + QStringLiteral("dangling.jpg")));
    }

    // Runs one replacement; `op` names it.
    void run(const QString &op)
    {
        if (op == QLatin1String("copy file") || op == QLatin1String("copy over a link"))
            fileutil::copyReplace(outside(QStringLiteral("a.jpg")), site(QStringLiteral("a.jpg")));
        else if (op == QLatin1String("write file"))
            fileutil::writeReplace(site(QStringLiteral("a.jpg")), [](QIODevice &out) {
                return out.write(newBytes()) == newBytes().size();
            });
        else if (op == QLatin1String("writer fails"))
            fileutil::writeReplace(site(QStringLiteral("a.jpg")), [](QIODevice &out) {
                out.write("half a picture");
                return false;
            });
        else if (op == QLatin1String("replace folder") || op == QLatin1String("first folder"))
            swapInCopy(outside(QStringLiteral("images")), site(QStringLiteral("images")));
        else if (op == QLatin1String("replace from inside"))
            swapInCopy(site(QStringLiteral("images/images")), site(QStringLiteral("images")));
        else
            QFAIL(qPrintable(op));
    }

    void prepare(const QString &op)
    {
        writeFile(outside(QStringLiteral("a.jpg")), newBytes());
        writeFile(outside(QStringLiteral("elsewhere.jpg")), "a file the site links to");
        writeFile(site(QStringLiteral("brevonel.qdb")), "the site database");
        if (op == QLatin1String("copy over a link"))
            QVERIFY(QFile::link(outside(QStringLiteral("elsewhere.jpg")), site(QStringLiteral("a.jpg"))));
        else
            writeFile(site(QStringLiteral("a.jpg")), kOld);
        if (op == QLatin1String("replace folder") || op == QLatin1String("first folder"))
            fillPictures(outside(QStringLiteral("images/")), "new");
        if (op == QLatin1String("replace folder") || op == QLatin1String("replace from inside"))
            fillPictures(site(QStringLiteral("images/")), "old");
        if (op == QLatin1String("replace from inside"))
            fillPictures(site(QStringLiteral("images/images/")), "new");
    }

    Snapshot expectedAfter(const QString &op, const Snapshot &before)
    {
        Snapshot s = before;
        if (op.startsWith(QLatin1String("copy")) || op == QLatin1String("write file")) {
            s.remove(QStringLiteral("site/a.jpg@"));
            s[QStringLiteral("site/a.jpg")] = newBytes();
        } else if (op == QLatin1String("replace folder") || op == QLatin1String("first folder")) {
            s = without(s, QStringLiteral("site/images/"));
            s[QStringLiteral("site/images/")] = QByteArray();
            s.insert(rerooted(before, QStringLiteral("outside/images/"), QStringLiteral("site/images/")));
        } else if (op == QLatin1String("replace from inside")) {
            s = without(s, QStringLiteral("site/images/"));
            s[QStringLiteral("site/images/")] = QByteArray();
            s.insert(rerooted(before, QStringLiteral("site/images/images/"), QStringLiteral("site/images/")));
        }
        return s;
    }

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_root = m_dir.path() + QStringLiteral("/t/");
        QVERIFY(QDir().mkpath(m_root));
    }

    void cleanup()
    {
        fileutil::faults::setHook({});
        fileutil::removeFolder(m_root);
    }

    void replacement_data()
    {
        QTest::addColumn<QString>("op");
        QTest::addColumn<Step>("step"); // the step that fails
        QTest::addColumn<int>("nth");   // which time it is taken (0: none fails)
        QTest::addColumn<bool>("done"); // the new state is in place afterwards

        const auto row = [](const char *op, const char *what, Step step, int nth, bool done) {
            QTest::addRow("%s, %s", op, what) << QString::fromLatin1(op) << step << nth << done;
        };
        for (const char *op : {"copy file", "copy over a link"}) {
            row(op, "whole", Step::Write, 0, true);
            row(op, "first piece", Step::Write, 1, false);
            row(op, "third piece", Step::Write, 3, false);
            row(op, "commit", Step::Commit, 1, false);
        }
        row("write file", "whole", Step::Commit, 0, true);
        row("write file", "commit", Step::Commit, 1, false);
        row("writer fails", "itself", Step::Commit, 0, false);
        for (const char *op : {"replace folder", "replace from inside"}) {
            row(op, "whole", Step::Write, 0, true);
            row(op, "new folder", Step::MakeFolder, 1, false);
            row(op, "nested folder", Step::MakeFolder, 2, false);
            row(op, "a file's piece", Step::Write, 2, false);
            row(op, "a file's commit", Step::Commit, 3, false);
            row(op, "a link", Step::Link, 2, false);
            row(op, "moving the old aside", Step::Rename, 1, false);
            row(op, "moving the new in", Step::Rename, 2, false);
            row(op, "removing the old", Step::Remove, 1, true);
        }
        row("first folder", "whole", Step::Write, 0, true);
        row("first folder", "a file's piece", Step::Write, 1, false);
        row("first folder", "moving the new in", Step::Rename, 1, false);
    }

    void replacement()
    {
        QFETCH(QString, op);
        QFETCH(Step, step);
        QFETCH(int, nth);
        QFETCH(bool, done);

        prepare(op);
        const Snapshot before = folderSnapshot(m_root);
        bool threw = false;
        {
            testenv::FileFault fault(step, nth);
            try {
                run(op);
            } catch (const err::FileError &e) {
                threw = true;
                QVERIFY(!e.description().isEmpty());
            }
            QCOMPARE(fault.fired(), nth > 0);
        }
        QCOMPARE(threw, !done);
        if (!done) {
            // The old state whole, and nothing left beside it.
            QCOMPARE(folderSnapshot(m_root), before);
            return;
        }
        // The next swap or start removes what a failed clean-up left.
        if (op.contains(QLatin1String("folder")) || op.contains(QLatin1String("inside")))
            fileutil::recoverSwap(site(QStringLiteral("images")));
        QCOMPARE(folderSnapshot(m_root), expectedAfter(op, before));
        // A copy is writable by its owner whatever the original was.
        if (op.contains(QLatin1String("folder")) || op.contains(QLatin1String("inside")))
            QVERIFY(QFile::permissions(site(QStringLiteral("images/ro.gif"))).testFlag(QFileDevice::WriteOwner));
    }

    void interruptedSwap_data()
    {
        // What a kill left of a swap of site/images: the folder itself, the new one
        // beside it, the old one moved aside ("" = absent; "partial" = cut off while
        // being written or removed).
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("staged");
        QTest::addColumn<QString>("old");
        QTest::addColumn<QString>("result"); // the folder afterwards ("" = absent)
        QTest::newRow("killed while copying") << "old" << "partial" << "" << "old";
        QTest::newRow("killed between the renames") << "" << "new" << "old" << "new";
        QTest::newRow("killed while removing the old") << "new" << "" << "partial" << "new";
        QTest::newRow("killed while removing a failed copy") << "old" << "partial" << "" << "old";
        QTest::newRow("first swap, killed before its rename") << "" << "partial" << "" << "";
        QTest::newRow("old aside, new gone") << "" << "" << "old" << "old";
        QTest::newRow("nothing to do") << "old" << "" << "" << "old";
    }

    void interruptedSwap()
    {
        QFETCH(QString, target);
        QFETCH(QString, staged);
        QFETCH(QString, old);
        QFETCH(QString, result);
        const auto make = [&](const QString &what, const QString &where) {
            if (what.isEmpty())
                return;
            writeFile(where + QStringLiteral("/state.txt"), what.toUtf8());
            if (what != QLatin1String("partial"))
                writeFile(where + QStringLiteral("/deep/") + what + QStringLiteral(".jpg"), what.toUtf8());
        };
        writeFile(site(QStringLiteral("a.jpg")), kOld);
        make(target, site(QStringLiteral("images")));
        make(staged, site(QStringLiteral(".images~new")));
        make(old, site(QStringLiteral(".images~old")));

        fileutil::recoverSwap(site(QStringLiteral("images")));
        QCOMPARE(readFile(site(QStringLiteral("images/state.txt"))), result.toUtf8());
        QStringList left = QDir(site()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        QCOMPARE(left, result.isEmpty() ? QStringList{"a.jpg"} : QStringList({"a.jpg", "images"}));
        if (!result.isEmpty())
            QCOMPARE(readFile(site(QStringLiteral("images/deep/")) + result + QStringLiteral(".jpg")), result.toUtf8());
        // A second look finds nothing to do.
        const Snapshot after = folderSnapshot(site());
        fileutil::recoverSwap(site(QStringLiteral("images")));
        QCOMPARE(folderSnapshot(site()), after);
    }

    void everythingNewIsOnTheDiskBeforeTheSwapCommits()
    {
        // A power cut just after a rename that commits a swap must find the new contents
        // whole: every file copied for it, and every folder made for it, is flushed first.
        fillPictures(outside(QStringLiteral("images/")), "new");
        fillPictures(site(QStringLiteral("images/")), "old");
        writeFile(outside(QStringLiteral("default.htm")), "the page");
        QStringList synced;
        bool renamed = false;
        fileutil::faults::setHook([&](Step step, const QString &path) {
            renamed = renamed || step == Step::Rename;
            if (step == Step::Sync && !renamed)
                synced << QDir::cleanPath(path);
            return false;
        });
        QStringList staged;
        {
            fileutil::FolderSwap swap(site(QStringLiteral("images")));
            fileutil::copyTree(outside(QStringLiteral("images")), swap.path());
            const QString page = swap.companion(QStringLiteral("default.htm"));
            fileutil::copyReplace(outside(QStringLiteral("default.htm")), page);
            staged << QDir::cleanPath(swap.path()) << page;
            QDirIterator it(swap.path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::NoSymLinks,
                            QDirIterator::Subdirectories);
            while (it.hasNext())
                staged << QDir::cleanPath(it.next());
            swap.commit();
        }
        QVERIFY(renamed);
        QCOMPARE(staged.size(), 7);
        for (const QString &path : staged)
            QVERIFY2(synced.contains(path), qPrintable(path));
    }

    void aLinkWhereACopyGoesGivesWayAndIsNeverWrittenThrough()
    {
        // The site's images/ is a link to a folder elsewhere, and so is one folder inside
        // that: a copy into images/ makes both real folders, holding what they showed
        // and the copy; the folders elsewhere stay as they were.
        writeFile(outside(QStringLiteral("shared/a.jpg")), "shared a");
        writeFile(outside(QStringLiteral("shared/keep.jpg")), "shared keep");
        writeFile(outside(QStringLiteral("deep/b.gif")), "shared b");
        QVERIFY(QFile::link(outside(QStringLiteral("deep")), outside(QStringLiteral("shared/deep"))));
        QVERIFY(QDir().mkpath(site()));
        QVERIFY(QFile::link(outside(QStringLiteral("shared")), site(QStringLiteral("images"))));
        writeFile(outside(QStringLiteral("pages/a.jpg")), "page a");
        writeFile(outside(QStringLiteral("pages/deep/b.gif")), "page b");
        const Snapshot elsewhere = folderSnapshot(m_root + QStringLiteral("outside/"));

        // Keeping what is there leaves the link.
        fileutil::copyTree(outside(QStringLiteral("pages")), site(QStringLiteral("images")), fileutil::Existing::Keep);
        QVERIFY(QFileInfo(site(QStringLiteral("images"))).isSymLink());
        QCOMPARE(folderSnapshot(m_root + QStringLiteral("outside/")), elsewhere);

        fileutil::copyTree(outside(QStringLiteral("pages")), site(QStringLiteral("images")));
        QCOMPARE(folderSnapshot(site()), (Snapshot{{QStringLiteral("images/"), {}},
                                                   {QStringLiteral("images/a.jpg"), "page a"},
                                                   {QStringLiteral("images/keep.jpg"), "shared keep"},
                                                   {QStringLiteral("images/deep/"), {}},
                                                   {QStringLiteral("images/deep/b.gif"), "page b"}}));
        QCOMPARE(folderSnapshot(m_root + QStringLiteral("outside/")), elsewhere);
    }

    void aLinkedFolderIsReplacedWhereItLeads()
    {
        // The data folder may be a link to where the site really lies: the swap happens
        // there, and the link stays.
        fillPictures(outside(QStringLiteral("real/")), "old");
        fillPictures(outside(QStringLiteral("images/")), "new");
        QVERIFY(QDir().mkpath(site()));
        QVERIFY(QFile::link(outside(QStringLiteral("real")), site(QStringLiteral("images"))));
        const Snapshot fresh = folderSnapshot(outside(QStringLiteral("images")));
        swapInCopy(outside(QStringLiteral("images")), site(QStringLiteral("images")));
        QVERIFY(QFileInfo(site(QStringLiteral("images"))).isSymLink());
        QCOMPARE(folderSnapshot(outside(QStringLiteral("real"))), fresh);
        QCOMPARE(QDir(outside()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 (QStringList{"images", "real"}));
    }
};

QTEST_GUILESS_MAIN(TestFileUtil)
#include "test_fileutil.moc"
