// Content records against a real site database: the one-record save per format, the
// new-record flags, the list delete, the layouts and the record-list HTML.
#include "content/contentstore.h"
#include "design/catalogstore.h"
#include "tablesnapshot.h"
#include "testenv.h"

#include <QSqlRecord>
#include <QTest>

using namespace content;

namespace {

// A content row as the snapshot shows it: ID, owner, value01..04 as given (nullptr =
// Null), every other column Null.
QString row(int id, const QString &owner, std::initializer_list<const char *> values)
{
    QStringList cells{QString::number(id), owner};
    for (const char *v : values)
        cells << (v ? QString::fromUtf8(v) : QStringLiteral("<NULL>"));
    while (cells.size() < 32)
        cells << QStringLiteral("<NULL>");
    return cells.join(QStringLiteral(" | "));
}

// Pages at every level: P1 (first), P2 (second, under C), P3 (third, under C/C2).
void pages(SiteDb &db)
{
    design::CatalogStore s(db);
    s.addPage(design::Level::Root, QString(), QString(), QStringLiteral("P1"), 1, QStringLiteral("txt"));
    s.addCategory(design::Level::Root, QString(), QStringLiteral("C"), 2);
    s.addPage(design::Level::First, QStringLiteral("C"), QString(), QStringLiteral("P2"), 1, QStringLiteral("txt"));
    s.addCategory(design::Level::First, QStringLiteral("C"), QStringLiteral("C2"), 2);
    s.addPage(design::Level::Second, QStringLiteral("C2"), QStringLiteral("C"), QStringLiteral("P3"), 1,
              QStringLiteral("txt"));
}

SaveRequest request(Level level, const QString &page, const QString &format, bool isNew)
{
    SaveRequest r;
    r.level = level;
    r.page = page;
    r.format = format;
    r.title = QStringLiteral("O'Title");
    r.content = QStringLiteral("a b\r\n'c\"");
    r.currentNames[0] = QStringLiteral("new1.jpg");
    r.currentNames[1] = QStringLiteral("new2.jpg");
    r.boxNames[0] = QStringLiteral("box1.jpg");
    r.boxNames[1] = QStringLiteral("box2.jpg");
    r.newRecord = isNew;
    return r;
}

const char *const kEnc = "a&nbsp;b<br>&#39;c&#34;";

const QString kExample1 = QStringLiteral(
    "<table width=100% border=0 cellpadding=0 cellspacing=0 bgcolor=#990000><tr><td><table width=100% border=0 "
    "cellspacing=1 cellpadding=0><form name='formData' method=post onSubmit='return false;'><tr align=center "
    "bgcolor=#CCCCCC><td width=12% height=22><input name='currID' type='hidden' id='currID'>ID</td><td "
    "width=64%>标题</td><td width=24%>时间</td></tr><tr bgcolor=#FFFFFF><td height=22>&nbsp;<input type='radio' "
    "name='ID'  value='7' onClick='getID(7);'>7</td><td>&nbsp;开业</td><td>&nbsp;2004-5-1</td></tr><tr "
    "bgcolor=#FFFFFF><td height=22>&nbsp;<input type='radio' name='ID'  value='3' "
    "onClick='getID(3);'>3</td><td>&nbsp;招聘</td><td>&nbsp;</td></tr></form></table></td></tr></table>");

const QString kExample2 = QStringLiteral(
    "<table width=100% border=0 cellpadding=0 cellspacing=0 bgcolor=#990000><tr><td><table width=100% border=0 "
    "cellspacing=1 cellpadding=0><form name='formData' method=post onSubmit='return false;'><tr align=center "
    "bgcolor=#CCCCCC><td width=12% height=22><input name='currID' type='hidden' id='currID'>ID</td><td "
    "width=64%>图片说明文字</td><td width=24%>文件名</td></tr><tr bgcolor=white><td colspan=3 height=30><font "
    "color=red>　　　　暂时还没有数据！</font></td></tr></form></table></td></tr></table>");

} // namespace

class TestContentStore : public QObject {
    Q_OBJECT

private slots:
    void insertThenUpdateWritesTheFormatsColumns_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("inserted");
        QTest::addColumn<QString>("updated");
        QTest::newRow("txt") << "txt" << row(1, "P3", {"O'Title", kEnc}) << row(1, "P3", {"O'Title", kEnc});
        QTest::newRow("imgTxt01") << "imgTxt01" << row(1, "P3", {"O'Title", kEnc, "new1.jpg", "new2.jpg"})
                                  << row(1, "P3", {"O'Title", kEnc, "box1.jpg", "box2.jpg"});
        QTest::newRow("imgTxt02") << "imgTxt02" << row(1, "P3", {"O'Title", kEnc, "new1.jpg", "new2.jpg"})
                                  << row(1, "P3", {"O'Title", kEnc, "box1.jpg", "box2.jpg"});
        QTest::newRow("imgTxt03") << "imgTxt03" << row(1, "P3", {"O'Title", kEnc, "new1.jpg", ""})
                                  << row(1, "P3", {"O'Title", kEnc, "box1.jpg", ""});
        QTest::newRow("bigImg") << "bigImg" << row(1, "P3", {"new1.jpg"}) << row(1, "P3", {"box1.jpg"});
    }

    void insertThenUpdateWritesTheFormatsColumns()
    {
        QFETCH(QString, format);
        QFETCH(QString, inserted);
        QFETCH(QString, updated);
        testenv::TempDatabase t;
        pages(t.db);
        ContentStore s(t.db);
        const QStringList before = testenv::snapshotAll(t.db);

        SaveResult r = s.save(request(Level::Third, QStringLiteral("P3"), format, true));
        QCOMPARE(r.outcome, SaveOutcome::Saved);
        QVERIFY(r.inserted);
        QCOMPARE(testenv::snapshot(t.db, QStringLiteral("content03")), QStringList{inserted});

        // The second save while the page stays open updates the same row.
        SaveRequest u = request(Level::Third, QStringLiteral("P3"), format, false);
        r = s.save(u);
        QCOMPARE(r.outcome, SaveOutcome::Saved);
        QVERIFY(!r.inserted);
        QCOMPARE(testenv::snapshot(t.db, QStringLiteral("content03")), QStringList{updated});
        // Nothing but content03 changed.
        QStringList after = testenv::snapshotAll(t.db);
        after.removeAll(updated);
        QCOMPARE(after, before);
    }

    void eachLevelUsesItsTable()
    {
        testenv::TempDatabase t;
        pages(t.db);
        ContentStore s(t.db);
        QCOMPARE(s.save(request(Level::First, QStringLiteral("P1"), QStringLiteral("txt"), true)).outcome,
                 SaveOutcome::Saved);
        QCOMPARE(s.save(request(Level::Second, QStringLiteral("P2"), QStringLiteral("txt"), true)).outcome,
                 SaveOutcome::Saved);
        QCOMPARE(testenv::snapshot(t.db, QStringLiteral("content01")), QStringList{row(1, "P1", {"O'Title", kEnc})});
        QCOMPARE(testenv::snapshot(t.db, QStringLiteral("content02")), QStringList{row(1, "P2", {"O'Title", kEnc})});
        QCOMPARE(int(s.loadRecords(Level::First, QStringLiteral("P1")).size()), 1);
        QVERIFY(s.loadRecords(Level::Root, QStringLiteral("P1")).empty());
        // A page of another level with the same name is not this page.
        QVERIFY(s.loadRecords(Level::Second, QStringLiteral("P1")).empty());
    }

    void refusalsWriteNothing()
    {
        testenv::TempDatabase t;
        pages(t.db);
        ContentStore s(t.db);
        const QStringList before = testenv::snapshotAll(t.db);
        auto outcome = [&](SaveRequest r) { return s.save(r).outcome; };

        QCOMPARE(outcome(request(Level::Root, QStringLiteral("我的网站"), QStringLiteral("txt"), true)),
                 SaveOutcome::NoLevel);
        QCOMPARE(outcome(request(Level::Other, QStringLiteral("P1"), QStringLiteral("txt"), true)), SaveOutcome::NoLevel);
        for (const char *title : {"", " ", "   "}) {
            SaveRequest r = request(Level::First, QStringLiteral("P1"), QStringLiteral("imgTxt02"), true);
            r.title = QLatin1String(title);
            QCOMPARE(outcome(r), SaveOutcome::EmptyTitle);
        }
        // A picture page has no title to check.
        SaveRequest big = request(Level::First, QStringLiteral("gone"), QStringLiteral("bigImg"), true);
        big.title.clear();
        QCOMPARE(outcome(big), SaveOutcome::NoPage);
        // A page deleted or renamed in the design view meanwhile.
        QCOMPARE(outcome(request(Level::First, QStringLiteral("p1"), QStringLiteral("txt"), true)), SaveOutcome::NoPage);
        QCOMPARE(outcome(request(Level::Second, QStringLiteral("P1"), QStringLiteral("txt"), false)),
                 SaveOutcome::NoPage);
        // An update that finds no record is no success.
        const SaveResult none = s.save(request(Level::First, QStringLiteral("P1"), QStringLiteral("txt"), false));
        QCOMPARE(none.outcome, SaveOutcome::Failed);
        QVERIFY(!none.error.isEmpty());
        for (const char *fmt : {"none", "", "adv", "news", "imgs", "TXT"})
            QCOMPARE(outcome(request(Level::First, QStringLiteral("P1"), QLatin1String(fmt), true)), SaveOutcome::Failed);
        QCOMPARE(testenv::snapshotAll(t.db), before);
    }

    void unsupportedFormatMakesNoDatabaseCall()
    {
        SiteDb closed; // any statement on it would fail with a description
        ContentStore s(closed);
        const SaveResult r = s.save(request(Level::First, QStringLiteral("P1"), QStringLiteral("none"), true));
        QCOMPARE(r.outcome, SaveOutcome::Failed);
        QCOMPARE(r.error, QString());
        const SaveResult txt = s.save(request(Level::First, QStringLiteral("P1"), QStringLiteral("txt"), true));
        QCOMPARE(txt.outcome, SaveOutcome::Failed);
        QCOMPARE(txt.error, err::text(err::Kind::DbNotOpen));
    }

    // A title or content pasted with a NUL (where every reader of the file would stop) is
    // saved without it and the other control characters, on the page as the tree names it.
    void controlCharactersAreNotSaved()
    {
        testenv::TempDatabase t;
        const QString page = QStringLiteral("页") + QChar(1) + QStringLiteral("一");
        design::CatalogStore(t.db).addPage(design::Level::Root, QString(), QString(), page, 1, QStringLiteral("txt"));
        ContentStore s(t.db);
        SaveRequest r = request(Level::First, page, QStringLiteral("txt"), true);
        r.title = QStringLiteral("标题") + QChar(0) + QStringLiteral("尾巴");
        r.content = QStringLiteral("第一行\t") + QChar(0x1b) + QStringLiteral("\r\n第二行");
        for (bool isNew : {true, false}) {
            r.newRecord = isNew;
            QCOMPARE(s.save(r).outcome, SaveOutcome::Saved);
            QCOMPARE(testenv::snapshot(t.db, QStringLiteral("content01")),
                     QStringList{row(1, "页一", {"标题尾巴", "第一行\t<br>第二行"})});
        }
    }

    void titleTrimStripsBlanksOnly()
    {
        testenv::TempDatabase t;
        pages(t.db);
        ContentStore s(t.db);
        SaveRequest r = request(Level::First, QStringLiteral("P1"), QStringLiteral("txt"), true);
        r.title = QStringLiteral(" \u3000 ");
        QCOMPARE(s.save(r).outcome, SaveOutcome::Saved);
        // Stored as typed.
        QCOMPARE(db::text(s.loadRecords(Level::First, QStringLiteral("P1")).front(), QStringLiteral("value01")), r.title);
    }

    void oldDataWithTwoRows()
    {
        testenv::TempDatabase t;
        pages(t.db);
        ContentStore s(t.db);
        t.db.exec(QStringLiteral("INSERT INTO content01 (firstCatalog, value01) VALUES ('P1', 'old'), ('P1', 'newer')"));
        const Rows rows = s.loadRecords(Level::First, QStringLiteral("P1"));
        QCOMPARE(readPage(rows.front(), QStringLiteral("txt")).title, QStringLiteral("newer"));
        QCOMPARE(s.save(request(Level::First, QStringLiteral("P1"), QStringLiteral("txt"), false)).outcome,
                 SaveOutcome::Saved);
        QCOMPARE(testenv::countRows(t.db, QStringLiteral("content01"), QStringLiteral("value01='O''Title'")), 2);
    }

    void messages()
    {
        QCOMPARE(saveMessage(SaveOutcome::Saved), (Message{"数据已保存！", 64, "提示"}));
        QCOMPARE(saveMessage(SaveOutcome::NoLevel), (Message{"没有在左边选择栏目！", 16, "警告"}));
        QCOMPARE(saveMessage(SaveOutcome::EmptyTitle), (Message{"标题不能为空", 64, "提示"}));
        QCOMPARE(saveMessage(SaveOutcome::NoPage), (Message{"请先在设计栏目中设计好该栏目或单击右键刷新！", 48, "警告"}));
        QCOMPARE(saveMessage(SaveOutcome::Failed), (Message{"保存数据失败", 16, "提示"}));
        QCOMPARE(deleteMessage({DeleteOutcome::Deleted, {}}), std::nullopt);
        QCOMPARE(deleteMessage({DeleteOutcome::NoLevel, {}}), (Message{"不期望的错误：栏目选择错误！", 16, "错误"}));
        QCOMPARE(deleteMessage({DeleteOutcome::Failed, "why"}), (Message{"why", 16, "提示"}));
    }

    void newRecordFlagFollowsTheTable()
    {
        NewRecordFlag f;
        f.pageOpened(QStringLiteral("txt"), false);
        QVERIFY(f.isSet());
        f.viewLoaded();
        QVERIFY(!f.isSet());
        f.pageOpened(QStringLiteral("txt"), false);
        QVERIFY(f.isSet());
        f.saveInserted();
        QVERIFY(!f.isSet());
        f.pageOpened(QStringLiteral("bigImg"), false);
        QVERIFY(f.isSet());
        f.pageOpened(QStringLiteral("imgTxt03"), true);
        QVERIFY(!f.isSet());
        // The list formats and the editor's pages leave it as it is.
        f.pageOpened(QStringLiteral("adv"), false);
        f.pageOpened(QStringLiteral("news"), false);
        QVERIFY(!f.isSet());
        f.pageOpened(QStringLiteral("txt"), false);
        f.pageOpened(QStringLiteral("adv"), true);
        f.pageOpened(QStringLiteral("imgs"), true);
        QVERIFY(f.isSet());
    }

    void deleteTakesThatRecordOfThatPage()
    {
        testenv::TempDatabase t;
        pages(t.db);
        ContentStore s(t.db);
        t.db.exec(QStringLiteral("INSERT INTO content02 (ID, secondCatalog, value01) VALUES "
                                 "(5, 'P2', 'a'), (6, 'P2', 'b'), (7, 'other', 'c'), (40000, 'P2', 'd')"));
        QCOMPARE(s.deleteRecord(Level::Second, QStringLiteral("P2"), 7).outcome, DeleteOutcome::Deleted);
        QCOMPARE(s.deleteRecord(Level::Second, QStringLiteral("P2"), 40000).outcome, DeleteOutcome::Deleted);
        QCOMPARE(testenv::snapshot(t.db, QStringLiteral("content02")),
                 (QStringList{row(5, "P2", {"a"}), row(6, "P2", {"b"}), row(7, "other", {"c"})}));
        QCOMPARE(s.deleteRecord(Level::Root, QStringLiteral("P2"), 5).outcome, DeleteOutcome::NoLevel);
        t.db.exec(QStringLiteral("CREATE TRIGGER refuse BEFORE DELETE ON content02 BEGIN SELECT RAISE(ABORT, 'locked'); END"));
        const DeleteResult refused = s.deleteRecord(Level::Second, QStringLiteral("P2"), 5);
        QCOMPARE(refused.outcome, DeleteOutcome::Failed);
        QVERIFY(refused.error.contains(QStringLiteral("locked")));
        QCOMPARE(testenv::countRows(t.db, QStringLiteral("content02")), 3);
    }

    void layouts()
    {
        testenv::TempDatabase t;
        t.db.exec(QStringLiteral("INSERT INTO content01 (ID, firstCatalog, value01, value02, value03, value04) VALUES "
                                 "(9, 'n', '标题', '2004-5-1', 'body', NULL)"));
        const QSqlRecord r = t.db.select(QStringLiteral("SELECT * FROM content01")).front();
        const NewsItem n = readNews(r);
        QCOMPARE(n.id, 9);
        QCOMPARE(n.title, QStringLiteral("标题"));
        QCOMPARE(n.date, QStringLiteral("2004-5-1"));
        QCOMPARE(n.body, QStringLiteral("body"));
        QCOMPARE(n.picture, QString());
        const GalleryItem g = readGallery(r);
        QCOMPARE(g.caption, QStringLiteral("标题"));
        QCOMPARE(g.picture, QStringLiteral("2004-5-1"));
        QCOMPARE(g.thumbnail, QStringLiteral("body"));
        QCOMPARE(readPage(r, QStringLiteral("bigImg")).picture1, QStringLiteral("标题"));
        QCOMPARE(readPage(r, QStringLiteral("adv")).content, QStringLiteral("标题"));
        QCOMPARE(readPage(r, QStringLiteral("txt")).picture1, QString());
        QCOMPARE(readPage(r, QStringLiteral("imgTxt01")).picture1, QStringLiteral("body"));
        QCOMPARE(thumbnailName(QStringLiteral("photo.2.jpg")), QStringLiteral("photo_small.bmp"));
        QCOMPARE(thumbnailName(QStringLiteral("noext")), QStringLiteral("noext_small.bmp"));
    }

    void listHtmlIsByteExact()
    {
        testenv::TempDatabase t;
        t.db.exec(QStringLiteral("INSERT INTO content02 (ID, secondCatalog, value01, value02) VALUES "
                                 "(3, 'N', '招聘', NULL), (7, 'N', '开业', '2004-5-1')"));
        const Rows rows = ContentStore(t.db).loadRecords(Level::Second, QStringLiteral("N"));
        QCOMPARE(buildDataListHtml(rows, QStringLiteral("news")).toUtf8(), kExample1.toUtf8());
        QCOMPARE(buildDataListHtml({}, QStringLiteral("imgs")).toUtf8(), kExample2.toUtf8());
        // Any format but news takes the gallery heads; values go in raw.
        t.db.exec(QStringLiteral("INSERT INTO content02 (ID, secondCatalog, value01, value02) VALUES "
                                 "(8, 'G', '<b>a&amp;b</b>', 'p.jpg'), (12345678901, 'G', NULL, NULL)"));
        const QString g = buildDataListHtml(ContentStore(t.db).loadRecords(Level::Second, QStringLiteral("G")),
                                            QStringLiteral("txt"));
        QVERIFY(g.contains(QStringLiteral("<td width=64%>图片说明文字</td><td width=24%>文件名</td>")));
        QVERIFY(g.contains(QStringLiteral("<td>&nbsp;<b>a&amp;b</b></td><td>&nbsp;p.jpg</td>")));
        QVERIFY(g.contains(QStringLiteral("value='12345678901' onClick='getID(12345678901);'>12345678901</td>"
                                          "<td>&nbsp;</td><td>&nbsp;</td>")));
        QVERIFY(g.indexOf(QStringLiteral("12345678901")) < g.indexOf(QStringLiteral("value='8'")));
        QVERIFY(!g.contains(QStringLiteral("暂时还没有数据")));
    }
};

QTEST_GUILESS_MAIN(TestContentStore)
#include "test_contentstore.moc"
