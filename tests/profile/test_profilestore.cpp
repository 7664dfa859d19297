// The site profile row: the shipped row, the fixed writers and the joined settings.
#include "core/schema.h"
#include "profile/profilestore.h"
#include "tablesnapshot.h"
#include "testenv.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace profile;

class TestProfileStore : public QObject {
    Q_OBJECT

private slots:
    void pristineDatabaseShipsTheRow()
    {
        // The file the build generated for initdata/, read through a copy.
        QTemporaryDir dir;
        const QString copy = dir.filePath(QStringLiteral("brevonel.qdb"));
        QVERIFY(QFile::copy(testenv::appDir() + QStringLiteral("initdata/brevonel.qdb"), copy));
        SiteDb db;
        QVERIFY(db.open(copy));
        const Profile p = ProfileStore(db).load();
        QVERIFY(p.found);
        QCOMPARE(p.columns(), schema::columns(QStringLiteral("user_info")));
        QCOMPARE(p.text(QStringLiteral("user_ID")), QStringLiteral("1"));
        QCOMPARE(p.text(QStringLiteral("webName")), QStringLiteral("我的网站"));
        for (const char *c : {"field02", "field03", "field04", "field05", "adBoard", "javascript"})
            QCOMPARE(p.value(QLatin1String(c)), std::optional<QString>(QStringLiteral("0")));
        for (const char *c : {"gov_name", "Address", "logo", "site_name", "defaultFile", "topHead", "field01",
                              "backGround"})
            QCOMPARE(p.value(QLatin1String(c)), std::optional<QString>(QString()));
        // Look-ups ignore case, as the statements spell the columns several ways.
        QCOMPARE(p.value(QStringLiteral("JavaScript")), p.value(QStringLiteral("javascript")));
        const QStringList notice = splitJoined(p.text(QStringLiteral("field06")));
        QCOMPARE(notice.size(), 2);
        QCOMPARE(notice.at(0), QStringLiteral("0"));
        QVERIFY(QDate::fromString(notice.at(1), QStringLiteral("yyyy-M-d")).isValid());
        QCOMPARE(testenv::countRows(db, QStringLiteral("user_info")), 1);
    }

    void nullAndMissingRowAreNoError()
    {
        testenv::TempDatabase t;
        t.db.exec(QStringLiteral("UPDATE user_info SET logo=NULL"));
        ProfileStore s(t.db);
        QCOMPARE(s.load().value(QStringLiteral("logo")), std::nullopt);
        QCOMPARE(s.load().text(QStringLiteral("logo")), QString());
        QCOMPARE(s.load().value(QStringLiteral("no_such_column")), std::nullopt);
        t.db.exec(QStringLiteral("DELETE FROM user_info"));
        const Profile p = s.load();
        QVERIFY(!p.found);
        QCOMPARE(p.value(QStringLiteral("webName")), std::nullopt);
        // A write that matches no row is a failure, and no row appears.
        QVERIFY_THROWS_EXCEPTION(err::DbError, s.setColumn(QStringLiteral("logo"), QString()));
        QVERIFY_THROWS_EXCEPTION(err::DbError, s.saveBasicInfo({}));
        QCOMPARE(testenv::countRows(t.db, QStringLiteral("user_info")), 0);
    }

    void setColumnChangesThatColumnOnly()
    {
        testenv::TempDatabase t;
        ProfileStore s(t.db);
        const QString odd = QStringLiteral("O'Brien \"x\"\r\n<b>中文</b>;--");
        for (const QString &c : ProfileStore::writableColumns()) {
            const Profile before = s.load();
            s.setColumn(c, odd);
            const Profile after = s.load();
            for (const QString &other : after.columns())
                QCOMPARE(after.value(other), other.compare(c, Qt::CaseInsensitive) == 0 ? odd : before.value(other));
        }
        // The writers' spellings; a null text is stored as '' (never NULL).
        s.setColumn(QStringLiteral("Javascript"), QStringLiteral("0"));
        QCOMPARE(s.load().text(QStringLiteral("javascript")), QStringLiteral("0"));
        s.setColumn(QStringLiteral("logo"), QString());
        QCOMPARE(s.load().value(QStringLiteral("logo")), std::optional<QString>(QString()));
        QCOMPARE(testenv::countRows(t.db, QStringLiteral("user_info")), 1);
    }

    void setColumnRefusesOtherNames()
    {
        testenv::TempDatabase t;
        ProfileStore s(t.db);
        const QStringList before = testenv::snapshot(t.db, QStringLiteral("user_info"));
        for (const char *c : {"webName", "user_ID", "serial", "logo=logo, webName", "", "logo; DROP TABLE user_info"})
            QVERIFY_THROWS_EXCEPTION(err::Error, s.setColumn(QLatin1String(c), QStringLiteral("x")));
        QCOMPARE(testenv::snapshot(t.db, QStringLiteral("user_info")), before);
    }

    void basicInfoSavesTheTenColumns()
    {
        testenv::TempDatabase t;
        ProfileStore s(t.db);
        const Profile before = s.load();
        BasicInfo b{QStringLiteral("O'Site"), QStringLiteral("机构"), QStringLiteral("路1号"), QStringLiteral("张"),
                    QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"),
                    QStringLiteral("a@b"), QString()};
        s.saveBasicInfo(b);
        const Profile after = s.load();
        const QStringList written{QStringLiteral("webname"), QStringLiteral("gov_name"), QStringLiteral("address"),
                                  QStringLiteral("linkman"), QStringLiteral("tel"),      QStringLiteral("mobile"),
                                  QStringLiteral("fax"),     QStringLiteral("zip"),      QStringLiteral("email"),
                                  QStringLiteral("logo")};
        const QStringList values{b.webName, b.gov_name, b.address, b.linkMan, b.tel,
                                 b.mobile,  b.fax,      b.zip,     b.email,   QString()};
        for (const QString &c : after.columns()) {
            const int i = written.indexOf(c.toLower());
            QCOMPARE(after.value(c), i >= 0 ? std::optional<QString>(values.at(i)) : before.value(c));
        }
        QCOMPARE(t.db.select(QStringLiteral("SELECT logo IS NULL AS n FROM user_info")).front().value(0).toInt(), 0);

        // The save names user_ID 1: a row under another ID is not touched.
        t.db.exec(QStringLiteral("UPDATE user_info SET user_ID=2"));
        const QStringList kept = testenv::snapshot(t.db, QStringLiteral("user_info"));
        QVERIFY_THROWS_EXCEPTION(err::DbError, s.saveBasicInfo(b));
        QCOMPARE(testenv::snapshot(t.db, QStringLiteral("user_info")), kept);
    }

    void extraPages()
    {
        QCOMPARE(decodeExtraPages(QString()), QStringList());
        QCOMPARE(decodeExtraPages(QStringLiteral("||a.htm")), QStringList{"a.htm"});
        QCOMPARE(decodeExtraPages(QStringLiteral("||a.htm||b.mht")), (QStringList{"a.htm", "b.mht"}));
        // An empty entry is no page.
        QCOMPARE(decodeExtraPages(QStringLiteral("||")), QStringList());
        QCOMPARE(decodeExtraPages(QStringLiteral("||a.htm|| ||")), QStringList{"a.htm"});
        QCOMPARE(encodeExtraPages({"a.htm", "b.mht"}), QStringLiteral("||a.htm||b.mht"));
        QCOMPARE(encodeExtraPages({}), QString());
        QVERIFY(!encodeExtraPages({}).isNull());
    }

    void popupSetting()
    {
        const PopupSetting off = decodePopup(QStringLiteral("0"));
        QCOMPARE(off.state, 0);
        QVERIFY(off.width.isEmpty() && off.title.isEmpty() && off.content.isEmpty());

        PopupSetting boxes;
        boxes.title = QStringLiteral("欢迎 'x'");
        boxes.content = QStringLiteral("a<br>b&nbsp;c|");
        QCOMPARE(encodePopup(boxes), std::optional<QString>(QStringLiteral("1||300||200||0||0||欢迎 'x'||a<br>b&nbsp;c|")));
        boxes.width = QStringLiteral("640");
        boxes.height = QStringLiteral("480");
        boxes.top = QStringLiteral("10");
        boxes.left = QStringLiteral("12.5");
        const QString stored = *encodePopup(boxes);
        QCOMPARE(stored, QStringLiteral("1||640||480||10||12||欢迎 'x'||a<br>b&nbsp;c|"));
        const PopupSetting back = decodePopup(stored);
        QCOMPARE(back.state, 1);
        QCOMPARE(back.width, QStringLiteral("640"));
        QCOMPARE(back.left, QStringLiteral("12"));
        QCOMPARE(back.title, boxes.title);
        QCOMPARE(back.content, boxes.content);
        boxes.left = QStringLiteral("13.5");
        QCOMPARE(decodePopup(*encodePopup(boxes)).left, QStringLiteral("14"));

        // What cannot be read back the same is refused.
        boxes.left = QStringLiteral("abc");
        QCOMPARE(encodePopup(boxes), std::nullopt);
        boxes.left = QString();
        for (const char *bad : {"a||b", "ends|", "||"}) {
            QVERIFY(!popupFits(QLatin1String(bad), QString()));
            boxes.title = QLatin1String(bad);
            QCOMPARE(encodePopup(boxes), std::nullopt);
        }
        QVERIFY(popupFits(QStringLiteral("|starts"), QStringLiteral("|ends|")));
        QVERIFY(!popupFits(QStringLiteral("t"), QStringLiteral("a||b")));
        boxes.title = QStringLiteral("|t");
        QCOMPARE(decodePopup(*encodePopup(boxes)).title, QStringLiteral("|t"));
    }

    void scriptEffect()
    {
        QCOMPARE(encodeScript(0, QStringLiteral("欢迎")), std::optional<QString>(QStringLiteral("1||00.asp||欢迎")));
        QCOMPARE(encodeScript(9, QString()), std::optional<QString>(QStringLiteral("1||09.asp||")));
        QCOMPARE(encodeScript(10, QStringLiteral("x|")), std::optional<QString>(QStringLiteral("1||10.asp||x|")));
        QCOMPARE(encodeScript(1, QStringLiteral("typed before")), std::optional<QString>(QStringLiteral("1||01.asp||")));
        QCOMPARE(encodeScript(2, QStringLiteral("a||b")), std::optional<QString>(QStringLiteral("1||02.asp||")));
        QCOMPARE(encodeScript(3, QStringLiteral("a||b")), std::nullopt);
        QCOMPARE(encodeScript(13, QString()), std::nullopt);
        QCOMPARE(encodeScript(-1, QString()), std::nullopt);
        QVERIFY(!scriptFits(QStringLiteral("a||b")) && scriptFits(QStringLiteral("|a|")));

        ScriptEffect e = decodeScript(QStringLiteral("1||10.asp||滚动"));
        QCOMPARE(e.state, 1);
        QCOMPARE(e.index, 10);
        QCOMPARE(e.text, QStringLiteral("滚动"));
        e = decodeScript(QStringLiteral("1||01.asp||"));
        QCOMPARE(e.index, 1);
        QVERIFY(!effectTakesText(e.index) && effectTakesText(0) && effectTakesText(12));
        e = decodeScript(QStringLiteral("0"));
        QCOMPARE(e.state, 0);
        QCOMPARE(e.index, 0);
        QCOMPARE(e.text, QString());
        QCOMPARE(decodeScript(std::nullopt).index, 0);
    }

    void noticeFlag()
    {
        const QDate today(2026, 12, 20);
        QCOMPARE(encodeNotice(true, QDate(2026, 12, 9)), QStringLiteral("1||2026-12-9"));
        QCOMPARE(encodeNotice(false, QDate(2026, 1, 2)), QStringLiteral("0||2026-1-2"));
        QVERIFY(noticeDue(QStringLiteral("0||2026-12-19"), today));
        QVERIFY(!noticeDue(QStringLiteral("1||2026-12-7"), today)); // 13 days
        QVERIFY(noticeDue(QStringLiteral("1||2026-12-6"), today));  // 14 days
        QVERIFY(!noticeDue(QStringLiteral("1||2026-12-07"), today));
        QVERIFY(!noticeDue(QStringLiteral("1||2026/12/7"), today));
        for (const char *bad : {"", "1", "1||", "1||yesterday", "x||2026-12-19", "1||2026-13-40"})
            QVERIFY2(noticeDue(QString::fromLatin1(bad), today), bad);
        QVERIFY(noticeDue(std::nullopt, today));
    }
};

QTEST_GUILESS_MAIN(TestProfileStore)
#include "test_profilestore.moc"
