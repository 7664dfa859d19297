// Files copied into the data folder, and their removal only when nothing names them.
#include "core/datafiles.h"
#include "core/textforms.h"
#include "testenv.h"

#include <QFileInfo>
#include <QTest>

class TestDataFiles : public QObject {
    Q_OBJECT

private slots:
    // Names whose characters the stored HTML form escapes are still found in an editor
    // page, so a replaced picture that a page still shows is kept.
    void namesInEditorPagesAsTheyAreStored_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("ampersand") << QStringLiteral("a&b.png");
        QTest::newRow("apostrophe") << QStringLiteral("o'neil.png");
        QTest::newRow("both and a blank") << QStringLiteral("R&D 's.gif");
        QTest::newRow("plain") << QStringLiteral("plain.png");
    }
    void namesInEditorPagesAsTheyAreStored()
    {
        QFETCH(QString, name);
        testenv::TempDatabase t;
        const QString page = QStringLiteral("<html><body><p><img alt=\"x\" src=\"") + textforms::fileUrl(t.folder() + name)
                             + QStringLiteral("\"></p></body></html>");
        const QString stored = textforms::encodeEditorHtml(page, t.folder());
        QVERIFY(stored.contains(QStringLiteral("[imgpath]/")));
        t.db.exec(QStringLiteral("INSERT INTO content01 (firstCatalog, value01) VALUES ('q', ?)"), {stored});
        QVERIFY(datafiles::isNamed(t.db, name));
        QVERIFY(!datafiles::isNamed(t.db, QStringLiteral("x") + name));
    }

    void importCopiesUnderItsOwnName()
    {
        testenv::TempDatabase t;
        QTemporaryDir elsewhere;
        const QString pic = testenv::writeFile(elsewhere.path() + QStringLiteral("/photo 1.jpg"), "new");
        testenv::writeFile(t.folder() + QStringLiteral("photo 1.jpg"), "old");
        QCOMPARE(datafiles::importFile(pic, t.folder()), QStringLiteral("photo 1.jpg"));
        QCOMPARE(testenv::readFile(t.folder() + QStringLiteral("photo 1.jpg")), QByteArray("new"));
        // The data folder's own file: nothing is copied, nothing is lost.
        QCOMPARE(datafiles::importFile(t.folder() + QStringLiteral("photo 1.jpg"), t.folder()), QStringLiteral("photo 1.jpg"));
        QCOMPARE(testenv::readFile(t.folder() + QStringLiteral("photo 1.jpg")), QByteArray("new"));
        // The site database's name is never taken, whatever its case.
        const QString db = testenv::writeFile(elsewhere.path() + QStringLiteral("/Brevonel.QDB"), "x");
        QVERIFY_THROWS_EXCEPTION(err::FileError, datafiles::importFile(db, t.folder()));
        QVERIFY(t.db.isOpen());
        QVERIFY(testenv::readFile(t.path()).startsWith("SQLite format 3"));
        // Nor the names of its side files: SQLite would take a chosen file for its journal.
        const QString journal = testenv::writeFile(elsewhere.path() + QStringLiteral("/brevonel.qdb-journal"), "x");
        QVERIFY_THROWS_EXCEPTION(err::FileError, datafiles::importFile(journal, t.folder()));
        QVERIFY_THROWS_EXCEPTION(err::FileError, datafiles::importChoice(t.db, journal, t.folder()));
        QVERIFY(!QFileInfo::exists(t.folder() + QStringLiteral("brevonel.qdb-journal")));
        QVERIFY_THROWS_EXCEPTION(err::FileError, datafiles::importFile(elsewhere.path() + QStringLiteral("/none.jpg"), t.folder()));
    }

    // A choice never goes over a file the folder holds. A session's unsaved copy is its
    // own: another chooser of the same bytes gets a name of its own, so the copy can go
    // when the session is abandoned, even while the site cannot be asked.
    void choicesStayTheSessionsUntilSaved()
    {
        testenv::TempDatabase t;
        QTemporaryDir elsewhere;
        const QString a = testenv::writeFile(t.folder() + QStringLiteral("a.jpg"), "stored");
        t.db.exec(QStringLiteral("INSERT INTO content01 (firstCatalog, value03) VALUES ('p','a.jpg')"));
        const QString chosen = testenv::writeFile(elsewhere.path() + QStringLiteral("/a.jpg"), "new");
        datafiles::PendingFiles first, second;
        QCOMPARE(datafiles::importChoice(t.db, chosen, t.folder(), &first), QStringLiteral("a2.jpg"));
        QCOMPARE(datafiles::importChoice(t.db, chosen, t.folder(), &first), QStringLiteral("a2.jpg"));
        QCOMPARE(datafiles::importChoice(t.db, chosen, t.folder(), &second), QStringLiteral("a3.jpg"));
        QCOMPARE(datafiles::importChoice(t.db, chosen, t.folder()), QStringLiteral("a4.jpg"));
        QCOMPARE(testenv::readFile(a), QByteArray("stored"));
        t.db.exec(QStringLiteral("DROP TABLE user_info"));
        first.abandoned(t.db, t.folder());
        QVERIFY(!QFileInfo::exists(t.folder() + QStringLiteral("a2.jpg")));
        QVERIFY(QFileInfo::exists(t.folder() + QStringLiteral("a3.jpg")));
    }

    void filesGoOnlyWhenNothingNamesThem()
    {
        testenv::TempDatabase t;
        for (const char *n : {"a.jpg", "b.jpg", "c.jpg", "logo.gif", "x.htm", "d.jpg"})
            testenv::writeFile(t.folder() + QLatin1String(n), "x");
        t.db.exec(QStringLiteral("INSERT INTO content02 (secondCatalog, value02, value03) VALUES ('p','a.jpg','a_small.bmp')"));
        t.db.exec(QStringLiteral("UPDATE user_info SET logo='logo.gif', field01='||x.htm||y.htm'"));
        QVERIFY(datafiles::isNamed(t.db, QStringLiteral("a.jpg")));
        QVERIFY(datafiles::isNamed(t.db, QStringLiteral("logo.gif")));
        QVERIFY(datafiles::isNamed(t.db, QStringLiteral("x.htm")));
        QVERIFY(!datafiles::isNamed(t.db, QStringLiteral("b.jpg")));
        // A picture shown in an editor page.
        t.db.exec(QStringLiteral("INSERT INTO content01 (firstCatalog, value01) VALUES ('q','<p><img src=\"[imgpath]/in page.gif\"></p>')"));
        QVERIFY(datafiles::isNamed(t.db, QStringLiteral("in page.gif")));
        QVERIFY(!datafiles::isNamed(t.db, QStringLiteral("page.gif")));
        QVERIFY(!datafiles::isNamed(t.db, QString()));

        // A session chose b then c for a row that named a, and saved c.
        datafiles::PendingFiles session;
        session.replaces(QStringLiteral("a.jpg"));
        session.chose(QStringLiteral("b.jpg"));
        session.chose(QStringLiteral("c.jpg"));
        t.db.exec(QStringLiteral("UPDATE content02 SET value02='c.jpg'"));
        session.saved(t.db, t.folder());
        QVERIFY(!QFileInfo::exists(t.folder() + QStringLiteral("a.jpg")));
        QVERIFY(!QFileInfo::exists(t.folder() + QStringLiteral("b.jpg")));
        QVERIFY(QFileInfo::exists(t.folder() + QStringLiteral("c.jpg")));
        QVERIFY(session.isEmpty());

        // An abandoned session removes only its own unused copies.
        session.replaces(QStringLiteral("c.jpg"));
        session.chose(QStringLiteral("d.jpg"));
        session.chose(QStringLiteral("logo.gif"));
        session.abandoned(t.db, t.folder());
        QVERIFY(QFileInfo::exists(t.folder() + QStringLiteral("c.jpg")));
        QVERIFY(QFileInfo::exists(t.folder() + QStringLiteral("logo.gif")));
        QVERIFY(!QFileInfo::exists(t.folder() + QStringLiteral("d.jpg")));
        // The database itself is never removed.
        datafiles::removeUnused(t.db, t.folder(), {QStringLiteral("brevonel.qdb")});
        QVERIFY(QFileInfo::exists(t.path()));
    }
};

QTEST_GUILESS_MAIN(TestDataFiles)
#include "test_datafiles.moc"
