// The site database connection, and the pristine database the build generates.
#include "core/schema.h"
#include "core/sitedb.h"
#include "core/textdate.h"
#include "testenv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#ifndef SITE_ACCOUNT_VALUE
#define SITE_ACCOUNT_VALUE ""
#endif

namespace {

QStringList names(const Rows &rows, const QString &field)
{
    QStringList out;
    for (const QSqlRecord &r : rows)
        out << db::text(r, field);
    return out;
}

QString scalar(const SiteDb &db, const QString &sql, const QVariantList &binds = {})
{
    const Rows rows = db.select(sql, binds);
    return rows.empty() ? QStringLiteral("<no row>") : rows.front().value(0).toString();
}

} // namespace

class TestSiteDb : public QObject {
    Q_OBJECT
private slots:
    void missingFileIsNotCreated();
    void notADatabase_data();
    void notADatabase();
    void awkwardFolderNames_data();
    void awkwardFolderNames();
    void valuesRoundTrip_data();
    void valuesRoundTrip();
    void textComparisonIsCaseSensitive();
    void fieldLookupIgnoresCase();
    void nullAndEmptyText();
    void controlCharactersAreNotStored();
    void failuresThrowDbError();
    void aLockHeldByAnotherProgram();
    void aDamagedDatabaseIsNeverWritten();
    void aFileThatCannotBeWrittenSaysWhatToDo();
    void transactionRollsBack();
    void nestedTransactionsJoin();
    void idsAreNeverReused();
    void journalIsNotWal();
    void pristineDatabaseMatchesSchema();
    void pristineProfileRow();
    void columnsTheStatementsName_data();
    void columnsTheStatementsName();

    void initTestCase();
    void cleanupTestCase();

private:
    // A private copy of the pristine database the build made, opened.
    QTemporaryDir m_dir;
    SiteDb m_pristine;
};

void TestSiteDb::missingFileIsNotCreated()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("brevonel.qdb"));
    SiteDb db;
    QVERIFY(!db.open(path));
    QVERIFY(!db.isOpen());
    QVERIFY(!QFileInfo::exists(path));
    QVERIFY(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
    try {
        db.select(QStringLiteral("SELECT * FROM user_info"));
        QFAIL("a read on a closed connection must throw");
    } catch (const err::DbError &e) {
        QCOMPARE(e.kind(), err::Kind::DbNotOpen);
    }
    QVERIFY_THROWS_EXCEPTION(err::DbError, db.exec(QStringLiteral("DELETE FROM font")));
    QVERIFY_THROWS_EXCEPTION(err::DbError, db.transaction([] {}));
}

void TestSiteDb::notADatabase_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("text") << QByteArray("This is not a database, just some words.\r\n").repeated(20);
    QTest::newRow("short") << QByteArray("MZ");
    QByteArray zip("PK\x03\x04", 4);
    zip.append(QByteArray(4096, '\x5a'));
    QTest::newRow("zip-like") << zip;
    QByteArray header("SQLite format 3", 16); // right magic, broken header
    header.append(QByteArray(200, '\xff'));
    QTest::newRow("broken header") << header;
}

void TestSiteDb::notADatabase()
{
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString path = testenv::writeFile(dir.filePath(QStringLiteral("brevonel.qdb")), bytes);
    SiteDb db;
    QVERIFY(!db.open(path));
    QVERIFY(!db.isOpen());
    QVERIFY_THROWS_EXCEPTION(err::DbError, db.select(QStringLiteral("SELECT 1")));
    // The user's file is left exactly as it was, with no journal beside it.
    QCOMPARE(testenv::readFile(path), bytes);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("brevonel.qdb")});
    // The same object opens a real database afterwards.
    testenv::TempDatabase good;
    good.db.close();
    QVERIFY(db.open(good.path()));
    QCOMPARE(db.select(QStringLiteral("SELECT * FROM user_info")).size(), size_t(1));
}

void TestSiteDb::awkwardFolderNames_data()
{
    QTest::addColumn<QString>("folder");
    QTest::newRow("blank") << "my site";
    QTest::newRow("chinese") << QStringLiteral("我的网站");
    QTest::newRow("hash") << "a#b";
    QTest::newRow("question mark") << "a?mode=ro";
    QTest::newRow("percent") << "a%20b";
    QTest::newRow("apostrophe") << "o'neil";
}

void TestSiteDb::awkwardFolderNames()
{
    // The file name travels as a URI: characters with a meaning there must not change which
    // file is opened.
    QFETCH(QString, folder);
    QTemporaryDir dir;
    const QString path = dir.path() + QLatin1Char('/') + folder + QStringLiteral("/brevonel.qdb");
    {
        SiteDb made;
        testenv::makeDatabase(made, path);
    }
    SiteDb db;
    QVERIFY(db.open(path));
    db.exec(QStringLiteral("UPDATE user_info SET webName = ?"), {folder});
    QCOMPARE(scalar(db, QStringLiteral("SELECT webName FROM user_info")), folder);
    db.close();
    // Nothing was created beside the folder (a cut-off URI would name another file).
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{folder});
    QCOMPARE(QDir(dir.path() + QLatin1Char('/') + folder).entryList(QDir::Files),
             QStringList{QStringLiteral("brevonel.qdb")});
}

void TestSiteDb::valuesRoundTrip_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("apostrophe") << "It's";
    QTest::newRow("apostrophes only") << "''";
    QTest::newRow("quotes") << "say \"hi\"";
    QTest::newRow("CR LF") << "line 1\r\nline 2\r\n";
    QTest::newRow("CJK") << QStringLiteral("公司简介·新闻");
    QTest::newRow("outside the BMP") << QStringLiteral("😀𠀀");
    QTest::newRow("statement text") << "x'); DROP TABLE firstCatalog; --";
    QTest::newRow("wildcards") << "%_*?";
    QTest::newRow("question mark binding") << "? and ?";
    QTest::newRow("stored html form") << "<p>It[&#39;]s <img src=\"[imgpath]/a.jpg\"></p>";
    QTest::newRow("long") << QString(100000, QChar(u'字'));
    QTest::newRow("empty") << "";
}

void TestSiteDb::valuesRoundTrip()
{
    QFETCH(QString, value);
    testenv::TempDatabase t;
    SiteDb &db = t.db;
    db.exec(QStringLiteral("INSERT INTO firstCatalog (firstCatalog, [catalog], orderID) VALUES (?, ?, ?)"),
            {db::str(value), 1, 1});
    db.exec(QStringLiteral("INSERT INTO content01 (firstCatalog, value01) VALUES (?, ?)"),
            {db::str(value), db::str(value)});
    db.exec(QStringLiteral("UPDATE user_info SET gov_name = ? WHERE user_ID = 1"), {db::str(value)});

    const Rows rows = db.select(QStringLiteral("SELECT * FROM firstCatalog WHERE (firstCatalog = ?)"), {value});
    QCOMPARE(rows.size(), size_t(1));
    QCOMPARE(db::text(rows.front(), QStringLiteral("firstCatalog")), value);
    const Rows content = db.select(QStringLiteral("SELECT * FROM content01 WHERE (firstcatalog = ?)"), {value});
    QCOMPARE(content.size(), size_t(1));
    QCOMPARE(db::text(content.front(), QStringLiteral("value01")), value);
    QCOMPARE(scalar(db, QStringLiteral("SELECT gov_name FROM user_info")), value);
}

void TestSiteDb::textComparisonIsCaseSensitive()
{
    testenv::TempDatabase t;
    SiteDb &db = t.db;
    for (const QString &n : {QStringLiteral("Abc"), QStringLiteral("abc")})
        db.exec(QStringLiteral("INSERT INTO firstCatalog (firstCatalog, [catalog], orderID) VALUES (?, 0, 1)"), {n});
    QCOMPARE(names(db.select(QStringLiteral("SELECT * FROM firstCatalog WHERE firstCatalog = ?"), {QStringLiteral("Abc")}),
                   QStringLiteral("firstCatalog")),
             QStringList{QStringLiteral("Abc")});
    QCOMPARE(db.exec(QStringLiteral("UPDATE firstCatalog SET orderID = 7 WHERE firstCatalog = ?"), {QStringLiteral("abc")}), 1);
    QCOMPARE(db.exec(QStringLiteral("DELETE FROM firstCatalog WHERE firstCatalog = ?"), {QStringLiteral("ABC")}), 0);
    const Rows rows = db.select(QStringLiteral("SELECT * FROM firstCatalog ORDER BY orderID"));
    QCOMPARE(names(rows, QStringLiteral("firstCatalog")), (QStringList{QStringLiteral("Abc"), QStringLiteral("abc")}));
    QCOMPARE(db::integer(rows.back(), QStringLiteral("orderID")), 7);
}

void TestSiteDb::fieldLookupIgnoresCase()
{
    testenv::TempDatabase t;
    SiteDb &db = t.db;
    db.exec(QStringLiteral("INSERT INTO firstCatalog (firstCatalog, [catalog], orderID, aspFileName) VALUES (?, ?, ?, ?)"),
            {QStringLiteral("新闻"), 0, 3000000000LL, QStringLiteral("news")});
    const QSqlRecord rec = db.select(QStringLiteral("SELECT * FROM firstcatalog"))
                               .front();
    for (const QString &f : {QStringLiteral("aspFileName"), QStringLiteral("ASPFILENAME"), QStringLiteral("aspfilename")})
        QCOMPARE(db::text(rec, f), QStringLiteral("news"));
    for (const QString &f : {QStringLiteral("orderID"), QStringLiteral("ORDERID"), QStringLiteral("OrderId")})
        QCOMPARE(db::integer(rec, f), 3000000000LL); // no 16- or 32-bit limit
    QCOMPARE(db::integer(rec, QStringLiteral("Catalog"), -1), 0);
    QCOMPARE(db::text(rec, QStringLiteral("FIRSTCATALOG")), QStringLiteral("新闻"));
    // A missing field reads as Null.
    QVERIFY(db::isNull(rec, QStringLiteral("noSuchField")));
    QCOMPARE(db::text(rec, QStringLiteral("noSuchField")), QString());
    QCOMPARE(db::integer(rec, QStringLiteral("noSuchField"), 5), 5);
    const QSqlRecord profile = db.select(QStringLiteral("SELECT * FROM user_info")).front();
    QCOMPARE(db::text(profile, QStringLiteral("WEBNAME")), QStringLiteral("我的网站"));
    QCOMPARE(db::integer(profile, QStringLiteral("USER_id")), 1);
}

void TestSiteDb::nullAndEmptyText()
{
    testenv::TempDatabase t;
    SiteDb &db = t.db;
    db.exec(QStringLiteral("INSERT INTO content01 (firstCatalog, value01, value02) VALUES (?, ?, ?)"),
            {QStringLiteral("p"), db::str(QString()), QVariant(QString())});
    QCOMPARE(scalar(db, QStringLiteral("SELECT typeof(value01) || ',' || typeof(value02) || ',' || typeof(value03) "
                                       "FROM content01")),
             QStringLiteral("text,null,null"));
    const QSqlRecord rec = db.select(QStringLiteral("SELECT * FROM content01")).front();
    QVERIFY(!db::isNull(rec, QStringLiteral("value01")));
    QCOMPARE(db::optText(rec, QStringLiteral("value01")), std::optional<QString>(QString()));
    QVERIFY(db::isNull(rec, QStringLiteral("value02")));
    QCOMPARE(db::optText(rec, QStringLiteral("VALUE03")), std::optional<QString>());
    QCOMPARE(db::text(rec, QStringLiteral("value03")), QString());
    QCOMPARE(db::integer(rec, QStringLiteral("value03"), 9), 9);
    // A non-numeric text read as a number falls back.
    QCOMPARE(db::integer(rec, QStringLiteral("firstCatalog"), 9), 9);
}

void TestSiteDb::controlCharactersAreNotStored()
{
    testenv::TempDatabase t;
    SiteDb &db = t.db;
    // NUL and the other C0 controls go; tab, CR, LF and DEL stay.
    const QString pasted = QStringLiteral("标题") + QChar(0) + QStringLiteral("尾巴\t1\r\n2") + QChar(1) + QChar(0x1f)
        + QChar(0x7f);
    const QString kept = QStringLiteral("标题尾巴\t1\r\n2") + QChar(0x7f);
    const QByteArray bytes("a\0\x01b", 4);
    db.exec(QStringLiteral("INSERT INTO content01 (firstCatalog, value01, value02) VALUES (?, ?, ?)"),
            {pasted, pasted, bytes});
    const Rows rows = db.select(QStringLiteral("SELECT * FROM content01 WHERE firstCatalog=?"), {pasted});
    QCOMPARE(rows.size(), size_t(1));
    QCOMPARE(db::text(rows.front(), QStringLiteral("firstCatalog")), kept);
    QCOMPARE(db::text(rows.front(), QStringLiteral("value01")), kept);
    // Bytes are no text: kept whole.
    QCOMPARE(rows.front().value(QStringLiteral("value02")).toByteArray(), bytes);
}

void TestSiteDb::failuresThrowDbError()
{
    testenv::TempDatabase t;
    SiteDb &db = t.db;
    // The Access dialect fails on SQLite.
    try {
        db.exec(QStringLiteral("DELETE firstCatalog.firstCatalog FROM firstCatalog WHERE firstCatalog = ?"),
                {QStringLiteral("x")});
        QFAIL("an Access-dialect statement must throw");
    } catch (const err::DbError &e) {
        QCOMPARE(e.kind(), err::Kind::DbStatement);
        QVERIFY(e.description().startsWith(err::text(err::Kind::DbStatement)));
        QVERIFY(!e.detail().isEmpty());
        QCOMPARE(err::descriptionOf(e), e.description());
    }
    QVERIFY_THROWS_EXCEPTION(err::DbError, db.select(QStringLiteral("SELECT noSuchColumn FROM user_info")));
    QVERIFY_THROWS_EXCEPTION(err::DbError, db.select(QStringLiteral("SELECT * FROM noSuchTable")));
    // The connection stays usable.
    QVERIFY(db.isOpen());
    QCOMPARE(db.select(QStringLiteral("SELECT * FROM user_info")).size(), size_t(1));
    db.close();
    QVERIFY(!db.isOpen());
    QVERIFY_THROWS_EXCEPTION(err::DbError, db.select(QStringLiteral("SELECT * FROM user_info")));
    QVERIFY(db.open(t.path()));
}

void TestSiteDb::aLockHeldByAnotherProgram()
{
    testenv::TempDatabase t;
    t.db.close();
    SiteDb::setBusyTimeoutMs(50);
    const QString lockedText = QStringLiteral("数据库正被其他程序使用，请关闭该程序后重试");
    const auto expectLocked = [&](const std::function<void()> &statement) {
        try {
            statement();
            QFAIL("a statement on a locked database must throw");
        } catch (const err::DbError &e) {
            QCOMPARE(e.kind(), err::Kind::DbLocked);
            QCOMPARE(e.description(), lockedText);
        }
    };
    {
        // Another program holds the file: an exclusive transaction of a connection of its own.
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other program"));
        other.setDatabaseName(t.path());
        QVERIFY(other.open());
        QVERIFY(QSqlQuery(other).exec(QStringLiteral("BEGIN EXCLUSIVE")));
        const QByteArray before = testenv::readFile(t.path());

        SiteDb db;
        QVERIFY(!db.open(t.path()));
        QCOMPARE(db.openFailure(), std::optional(err::Kind::DbLocked));
        expectLocked([&] { db.exec(QStringLiteral("UPDATE user_info SET webName = ?"), {QStringLiteral("x")}); });
        expectLocked([&] { db.select(QStringLiteral("SELECT * FROM user_info")); });
        QCOMPARE(testenv::readFile(t.path()), before);

        // Released: the next statement opens the file and succeeds.
        QVERIFY(QSqlQuery(other).exec(QStringLiteral("ROLLBACK")));
        QCOMPARE(db.exec(QStringLiteral("UPDATE user_info SET webName = ?"), {QStringLiteral("after")}), 1);
        QVERIFY(db.isOpen());
        QCOMPARE(db.openFailure(), std::nullopt);

        // A lock taken while the connection is open: the statement says so, the
        // connection stays and works once the lock goes.
        QVERIFY(QSqlQuery(other).exec(QStringLiteral("BEGIN EXCLUSIVE")));
        expectLocked([&] { db.exec(QStringLiteral("UPDATE user_info SET webName = ?"), {QStringLiteral("y")}); });
        expectLocked([&] {
            db.transaction([&] { db.exec(QStringLiteral("UPDATE user_info SET webName = ?"), {QStringLiteral("y")}); });
        });
        QVERIFY(QSqlQuery(other).exec(QStringLiteral("ROLLBACK")));
        QCOMPARE(scalar(db, QStringLiteral("SELECT webName FROM user_info")), QStringLiteral("after"));
        other.close();

        // A connection the program closed itself stays closed.
        db.close();
        try {
            db.select(QStringLiteral("SELECT 1"));
            QFAIL("a closed connection must not open again by itself");
        } catch (const err::DbError &e) {
            QCOMPARE(e.kind(), err::Kind::DbNotOpen);
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("other program"));
    SiteDb::setBusyTimeoutMs(2000);
}

void TestSiteDb::aFileThatCannotBeWrittenSaysWhatToDo()
{
    const auto refused = [](SiteDb &db, err::Kind kind, const QString &value = QStringLiteral("x")) {
        try {
            db.exec(QStringLiteral("UPDATE user_info SET webName = ?"), {value});
            QFAIL("the write must be refused");
        } catch (const err::DbError &e) {
            QCOMPARE(e.kind(), kind);
            QCOMPARE(e.description(), err::text(kind));
        }
    };
    // Another copy of the program restored the data: its file took this one's place.
    testenv::TempDatabase t;
    const QString restored = t.folder() + QStringLiteral("restored.qdb");
    QVERIFY(QFile::copy(t.path(), restored));
    QVERIFY(QFile::remove(t.path()));
    QVERIFY(QFile::rename(restored, t.path()));
    refused(t.db, err::Kind::DbReplaced);

    testenv::SmallDisk disk(1024);
    if (!disk.mounted())
        QSKIP("a small tmpfs cannot be mounted here (it needs root): the full and read-only cases are skipped");
    QVERIFY(QFile::copy(t.path(), disk.path() + datalayout::kDbName));
    // A data folder on a disk that is full.
    {
        SiteDb db;
        QVERIFY(db.open(disk.path() + datalayout::kDbName));
        disk.leaveFree(0);
        refused(db, err::Kind::DbFull, QString(100000, QLatin1Char('x')));
    }
    QVERIFY(QFile::remove(disk.path() + QStringLiteral("filler")));
    // A data folder on a disk mounted read-only.
    QVERIFY(disk.remountReadOnly());
    {
        SiteDb db;
        QVERIFY(db.open(disk.path() + datalayout::kDbName));
        refused(db, err::Kind::DbReadOnly);
    }
}

void TestSiteDb::aDamagedDatabaseIsNeverWritten()
{
    testenv::TempDatabase t;
    for (int i = 0; i < 200; ++i)
        t.db.exec(QStringLiteral("INSERT INTO content01 (firstCatalog, value01) VALUES (?, ?)"),
                  {QStringLiteral("页"), QString(400, QLatin1Char('x'))});
    t.db.close();
    // The last page (one of the records) is overwritten; the first page, which the
    // opening read touches, is whole.
    QByteArray bytes = testenv::readFile(t.path());
    const int pageSize = (uchar(bytes.at(16)) << 8) | uchar(bytes.at(17));
    QVERIFY(bytes.size() > 8 * pageSize);
    bytes.replace(bytes.size() - pageSize, pageSize, QByteArray(pageSize, '\xa5'));
    testenv::writeFile(t.path(), bytes);

    SiteDb db;
    QVERIFY(!db.open(t.path()));
    QCOMPARE(db.openFailure(), std::optional(err::Kind::DbDamaged));
    try {
        db.exec(QStringLiteral("UPDATE user_info SET webName = ?"), {QStringLiteral("x")});
        QFAIL("a damaged database must not be written");
    } catch (const err::DbError &e) {
        QCOMPARE(e.kind(), err::Kind::DbDamaged);
        QCOMPARE(e.description(), QStringLiteral("数据库文件已损坏，请从备份还原数据"));
    }
    QCOMPARE(testenv::readFile(t.path()), bytes);
    QCOMPARE(QDir(QFileInfo(t.path()).path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("brevonel.qdb")});
}

void TestSiteDb::transactionRollsBack()
{
    testenv::TempDatabase t;
    SiteDb &db = t.db;
    const QString insert = QStringLiteral("INSERT INTO firstCatalog (firstCatalog, [catalog], orderID) VALUES (?, 0, ?)");
    db.exec(insert, {QStringLiteral("kept"), 1});
    try {
        db.transaction([&] {
            db.exec(insert, {QStringLiteral("a"), 2});
            db.exec(QStringLiteral("UPDATE firstCatalog SET orderID = 9 WHERE firstCatalog = ?"), {QStringLiteral("kept")});
            db.exec(QStringLiteral("INSERT INTO noSuchTable VALUES (1)"));
        });
        QFAIL("the failing statement must come through");
    } catch (const err::DbError &e) {
        QCOMPARE(e.kind(), err::Kind::DbStatement);
    }
    Rows rows = db.select(QStringLiteral("SELECT * FROM firstCatalog"));
    QCOMPARE(names(rows, QStringLiteral("firstCatalog")), QStringList{QStringLiteral("kept")});
    QCOMPARE(db::integer(rows.front(), QStringLiteral("orderID")), 1);

    // Any exception rolls back, and a later transaction commits normally.
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, db.transaction([&] {
        db.exec(insert, {QStringLiteral("b"), 3});
        throw std::runtime_error("stop");
    }));
    db.transaction([&] { db.exec(insert, {QStringLiteral("c"), 4}); });
    QCOMPARE(names(db.select(QStringLiteral("SELECT * FROM firstCatalog ORDER BY orderID")), QStringLiteral("firstCatalog")),
             (QStringList{QStringLiteral("kept"), QStringLiteral("c")}));
}

void TestSiteDb::nestedTransactionsJoin()
{
    testenv::TempDatabase t;
    SiteDb &db = t.db;
    const QString insert = QStringLiteral("INSERT INTO firstCatalog (firstCatalog, [catalog], orderID) VALUES (?, 0, 1)");
    // An inner failure that escapes the outer body undoes the outer work too.
    QVERIFY_THROWS_EXCEPTION(err::DbError, db.transaction([&] {
        db.exec(insert, {QStringLiteral("outer")});
        db.transaction([&] {
            db.exec(insert, {QStringLiteral("inner")});
            db.exec(QStringLiteral("bogus"));
        });
    }));
    QVERIFY(db.select(QStringLiteral("SELECT * FROM firstCatalog")).empty());

    // Nested bodies that succeed are committed once, by the outer call.
    db.transaction([&] {
        db.exec(insert, {QStringLiteral("one")});
        db.transaction([&] { db.exec(insert, {QStringLiteral("two")}); });
        // Still inside the outer transaction: another connection does not see the rows yet.
        SiteDb other;
        QVERIFY(other.open(t.path()));
        QVERIFY(other.select(QStringLiteral("SELECT * FROM firstCatalog")).empty());
    });
    SiteDb other;
    QVERIFY(other.open(t.path()));
    QCOMPARE(other.select(QStringLiteral("SELECT * FROM firstCatalog")).size(), size_t(2));
}

void TestSiteDb::idsAreNeverReused()
{
    testenv::TempDatabase t;
    SiteDb &db = t.db;
    for (const char *table : {"content01", "content02", "content03"}) {
        const QString owner = schema::columns(QLatin1String(table)).at(1);
        const QString insert = QStringLiteral("INSERT INTO %1 (%2, value01) VALUES (?, ?)").arg(QLatin1String(table), owner);
        db.exec(insert, {QStringLiteral("p"), QStringLiteral("1")});
        const qint64 first = db.lastInsertId();
        db.exec(insert, {QStringLiteral("p"), QStringLiteral("2")});
        const qint64 second = db.lastInsertId();
        QVERIFY(second > first);
        db.exec(QStringLiteral("DELETE FROM %1 WHERE ID = ?").arg(QLatin1String(table)), {second});
        db.exec(insert, {QStringLiteral("p"), QStringLiteral("3")});
        QVERIFY2(db.lastInsertId() > second, table);
    }
}

void TestSiteDb::journalIsNotWal()
{
    // A file left in WAL mode by another program is switched back to a rollback journal.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("brevonel.qdb"));
    {
        SiteDb made;
        testenv::makeDatabase(made, path);
        made.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
        QCOMPARE(scalar(made, QStringLiteral("PRAGMA journal_mode")), QStringLiteral("wal"));
    }
    SiteDb db;
    {
        // While the other program still has it open in WAL mode, the switch cannot be
        // made: the file is not opened, and the open says why.
        SiteDb::setBusyTimeoutMs(50);
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other program"));
        other.setDatabaseName(path);
        QVERIFY(other.open());
        QSqlQuery reading(other);
        QVERIFY(reading.exec(QStringLiteral("BEGIN")));
        QVERIFY(reading.exec(QStringLiteral("SELECT count(*) FROM user_info")) && reading.next());
        QVERIFY(!db.open(path));
        QCOMPARE(db.openFailure(), std::optional(err::Kind::DbLocked));
        reading.finish();
        QVERIFY(reading.exec(QStringLiteral("COMMIT")));
        other.close();
        SiteDb::setBusyTimeoutMs(2000);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("other program"));
    QVERIFY(db.open(path));
    QCOMPARE(scalar(db, QStringLiteral("PRAGMA journal_mode")), QStringLiteral("delete"));
    db.exec(QStringLiteral("UPDATE user_info SET webName = ?"), {QStringLiteral("x")});
    // Every change is in the one file.
    QVERIFY(!QFileInfo::exists(path + QStringLiteral("-wal")));
}

void TestSiteDb::initTestCase()
{
    const QString pristine = testenv::appDir() + QStringLiteral("initdata/brevonel.qdb");
    QVERIFY2(QFileInfo(pristine).isFile(), qPrintable(pristine));
    const QString copy = m_dir.filePath(QStringLiteral("brevonel.qdb"));
    QVERIFY(QFile::copy(pristine, copy));
    QFile::setPermissions(copy, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QVERIFY(m_pristine.open(copy));
}

void TestSiteDb::cleanupTestCase()
{
    m_pristine.release();
}

void TestSiteDb::pristineDatabaseMatchesSchema()
{
    const SiteDb &db = m_pristine;
    QCOMPARE(scalar(db, QStringLiteral("PRAGMA journal_mode")), QStringLiteral("delete"));
    QStringList tables = names(db.select(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' "
                                                        "AND name NOT LIKE 'sqlite_%' ORDER BY name")),
                               QStringLiteral("name"));
    QStringList expected = schema::tables();
    expected.sort();
    QCOMPARE(tables, expected);
    QCOMPARE(expected.size(), 10);
    for (const QString &table : schema::tables()) {
        const Rows info = db.select(QStringLiteral("PRAGMA table_info(%1)").arg(table));
        QCOMPARE(names(info, QStringLiteral("name")), schema::columns(table));
        for (const QSqlRecord &col : info) {
            // No defaults: a column never written reads as Null.
            QVERIFY2(db::isNull(col, QStringLiteral("dflt_value")), qPrintable(table + QLatin1Char('.') + db::text(col, QStringLiteral("name"))));
            QVERIFY(db::integer(col, QStringLiteral("notnull")) == 0);
        }
        // No unique names.
        for (const QSqlRecord &ix : db.select(QStringLiteral("PRAGMA index_list(%1)").arg(table)))
            QVERIFY2(db::integer(ix, QStringLiteral("unique")) == 0, qPrintable(table));
    }
    for (const char *table : {"content01", "content02", "content03"})
        QVERIFY(scalar(db, QStringLiteral("SELECT sql FROM sqlite_master WHERE name = ?"), {QLatin1String(table)})
                    .contains(QLatin1String("AUTOINCREMENT")));
    // The column tree and the content start empty.
    for (const char *table : {"firstCatalog", "secondCatalog", "thirdCatalog", "content01", "content02", "content03"})
        QVERIFY2(db.select(QStringLiteral("SELECT * FROM %1").arg(QLatin1String(table))).empty(), table);
}

void TestSiteDb::pristineProfileRow()
{
    const SiteDb &db = m_pristine;
    const Rows rows = db.select(QStringLiteral("SELECT * FROM user_info"));
    QCOMPARE(rows.size(), size_t(1));
    const QSqlRecord &rec = rows.front();
    QCOMPARE(db::integer(rec, QStringLiteral("user_ID")), 1);
    const QStringList zeros{QStringLiteral("field02"), QStringLiteral("field03"), QStringLiteral("field04"),
                            QStringLiteral("field05"), QStringLiteral("adBoard"), QStringLiteral("javascript")};
    for (const QString &col : schema::columns(QStringLiteral("user_info"))) {
        if (col == QLatin1String("user_ID"))
            continue;
        // Every text is stored (never Null), so readers that trim and compare see "".
        QVERIFY2(!db::isNull(rec, col), qPrintable(col));
        const QString v = db::text(rec, col);
        if (col == QLatin1String("webName"))
            QCOMPARE(v, QStringLiteral("我的网站"));
        else if (zeros.contains(col))
            QVERIFY2(v == QLatin1String("0"), qPrintable(col + QStringLiteral(" = ") + v));
        else if (col == QLatin1String("serial"))
            QCOMPARE(v, QStringLiteral(SITE_ACCOUNT_VALUE));
        else if (col == QLatin1String("field06")) {
            static const QRegularExpression form(QStringLiteral("^0\\|\\|(\\d{4}-[1-9]\\d?-[1-9]\\d?)$"));
            const auto m = form.match(v);
            QVERIFY2(m.hasMatch(), qPrintable(v));
            const QDate built = textdate::parse(m.captured(1));
            QVERIFY(built.isValid());
            QVERIFY(built <= QDate::currentDate());
            QCOMPARE(textdate::format(built), m.captured(1));
        } else if (col.endsWith(QLatin1String("Font")) || col.endsWith(QLatin1String("Tmpl")))
            QVERIFY2(!v.isEmpty(), qPrintable(col)); // the pickers' first rows (test_stylemanifest)
        else
            QVERIFY2(v.isEmpty(), qPrintable(col + QStringLiteral(" = ") + v));
    }
}

void TestSiteDb::columnsTheStatementsName_data()
{
    // Spelled as the statements and field reads of the program spell them.
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("column");
    const auto add = [](const QString &table, const QStringList &cols) {
        for (const QString &c : cols)
            QTest::addRow("%s.%s", qPrintable(table), qPrintable(c)) << table << c;
    };
    add(QStringLiteral("user_info"),
        {"user_ID", "webName", "gov_name", "address", "Address", "linkman", "linkMan", "tel", "Tel", "mobile",
         "Mobile", "fax", "Fax", "zip", "Zip", "email", "Email", "logo", "serial", "site_name", "site_Name",
         "defaultFile", "topHead", "field01", "field02", "field03", "field04", "field05", "field06", "adBoard",
         "javascript", "Javascript", "javaScript", "backGround", "defaultFont", "headFont", "defaultTmpl",
         "headTmpl"});
    add(QStringLiteral("firstCatalog"), {"firstCatalog", "firstcatalog", "[catalog]", "orderID", "aspFileName"});
    add(QStringLiteral("secondCatalog"), {"firstCatalog", "secondCatalog", "[catalog]", "orderID", "aspFileName"});
    add(QStringLiteral("thirdCatalog"),
        {"firstCatalog", "secondCatalog", "thirdCatalog", "[catalog]", "orderID", "aspFileName"});
    const QStringList tail = schema::valueColumns() + schema::fieldColumns();
    add(QStringLiteral("content01"), QStringList{"ID", "firstCatalog", "firstcatalog"} + tail);
    add(QStringLiteral("content02"), QStringList{"ID", "secondCatalog"} + tail);
    add(QStringLiteral("content03"), QStringList{"ID", "thirdCatalog"} + tail);
    add(QStringLiteral("font"), {"font"});
    add(QStringLiteral("defaultTmpl"), {"tmplType", "tmplName"});
    add(QStringLiteral("headTmpl"), {"tmplType", "tmplName"});
}

void TestSiteDb::columnsTheStatementsName()
{
    QFETCH(QString, table);
    QFETCH(QString, column);
    // A statement that names a column the table lacks throws.
    QVERIFY_THROWS_NO_EXCEPTION(m_pristine.select(QStringLiteral("SELECT %1.%2 FROM %1 LIMIT 0").arg(table, column)));
}

QTEST_GUILESS_MAIN(TestSiteDb)
#include "test_sitedb.moc"
