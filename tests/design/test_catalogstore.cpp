// The column tree's storage against a real site database: the loader's keys and
// order, order numbers, swaps, cascading delete and rename, formats, inserts.
#include "design/catalogstore.h"
#include "tablesnapshot.h"
#include "testenv.h"

#include <QTest>

using namespace design;

namespace {

void addFirst(SiteDb &db, const QString &name, QVariant catalog, QVariant order, QVariant fmt = {})
{
    db.exec(QStringLiteral("INSERT INTO firstCatalog VALUES (?,?,?,?)"), {name, catalog, order, fmt});
}

void addSecond(SiteDb &db, const QString &parent, const QString &name, QVariant catalog, QVariant order,
               QVariant fmt = {})
{
    db.exec(QStringLiteral("INSERT INTO secondCatalog VALUES (?,?,?,?,?)"), {parent, name, catalog, order, fmt});
}

void addThird(SiteDb &db, const QString &grand, const QString &parent, const QString &name, QVariant catalog,
              QVariant order, QVariant fmt = {})
{
    db.exec(QStringLiteral("INSERT INTO thirdCatalog VALUES (?,?,?,?,?,?)"), {grand, parent, name, catalog, order, fmt});
}

void addContent(SiteDb &db, int level, const QString &owner, const QString &v1)
{
    db.exec(QStringLiteral("INSERT INTO content0%1 (%2, value01, field15) VALUES (?, ?, 'f')")
                .arg(level)
                .arg(level == 1 ? "firstCatalog" : level == 2 ? "secondCatalog" : "thirdCatalog"),
            {owner, v1});
}

// "index key text image tag" for every node in pre-order.
void flatten(const CatalogNode &n, QStringList &out)
{
    const QString tag = n.tag ? (*n.tag ? QStringLiteral("T") : QStringLiteral("F")) : QStringLiteral("-");
    out << QStringLiteral("%1 %2 %3 %4 %5").arg(n.index).arg(n.key, n.text, n.image, tag);
    for (const CatalogNode &c : n.children)
        flatten(c, out);
}

QStringList flat(const CatalogNode &root)
{
    QStringList out;
    flatten(root, out);
    return out;
}

// Lines of a snapshot with every cell equal to from replaced by to.
QStringList renamedCells(const QStringList &lines, const QString &from, const QString &to)
{
    QStringList out;
    for (const QString &l : lines) {
        QStringList cells = l.split(QStringLiteral(" | "));
        for (QString &c : cells)
            if (c == from)
                c = to;
        out << cells.join(QStringLiteral(" | "));
    }
    return out;
}

// Lines of a snapshot without the rows that hold any of the names in a cell.
QStringList withoutRows(const QStringList &lines, const QStringList &names)
{
    QStringList out;
    for (const QString &l : lines) {
        bool hit = false;
        for (const QString &c : l.split(QStringLiteral(" | ")))
            hit = hit || names.contains(c);
        if (!hit)
            out << l;
    }
    return out;
}

// Two first-level categories with descendants and content at every level, a
// first-level page, and a third-level row naming A whose parent does not exist.
void cascadeFixture(SiteDb &db)
{
    addFirst(db, QStringLiteral("A"), 1, 1);
    addFirst(db, QStringLiteral("B"), 1, 2);
    addFirst(db, QStringLiteral("P"), 0, 3, QStringLiteral("txt"));
    addSecond(db, QStringLiteral("A"), QStringLiteral("S1"), 1, 1);
    addSecond(db, QStringLiteral("A"), QStringLiteral("S2"), 0, 2, QStringLiteral("news"));
    addSecond(db, QStringLiteral("B"), QStringLiteral("S3"), 1, 1);
    addThird(db, QStringLiteral("A"), QStringLiteral("S1"), QStringLiteral("T1"), 0, 1, QStringLiteral("txt"));
    addThird(db, QStringLiteral("A"), QStringLiteral("S1"), QStringLiteral("T2"), 0, 2, QStringLiteral("imgs"));
    addThird(db, QStringLiteral("A"), QStringLiteral("ghost"), QStringLiteral("T9"), 0, 1, QStringLiteral("txt"));
    addThird(db, QStringLiteral("B"), QStringLiteral("S3"), QStringLiteral("T3"), 0, 1, QStringLiteral("txt"));
    addContent(db, 1, QStringLiteral("P"), QStringLiteral("p-text"));
    addContent(db, 1, QStringLiteral("A"), QStringLiteral("a-old"));
    addContent(db, 2, QStringLiteral("S2"), QStringLiteral("n1"));
    addContent(db, 2, QStringLiteral("S2"), QStringLiteral("n2"));
    addContent(db, 2, QStringLiteral("S3"), QStringLiteral("s3-old"));
    addContent(db, 3, QStringLiteral("T1"), QStringLiteral("t1"));
    addContent(db, 3, QStringLiteral("T2"), QStringLiteral("g1"));
    addContent(db, 3, QStringLiteral("T9"), QStringLiteral("t9"));
    addContent(db, 3, QStringLiteral("T3"), QStringLiteral("t3"));
}

void refuse(SiteDb &db, const QString &when)
{
    db.exec(QStringLiteral("CREATE TRIGGER refuse %1 BEGIN SELECT RAISE(ABORT, 'refused'); END").arg(when));
}

} // namespace

class TestCatalogStore : public QObject {
    Q_OBJECT

private slots:
    void workedExampleGivesKeysInPreOrder()
    {
        testenv::TempDatabase t;
        // Stored out of order: the loader orders by orderID.
        addFirst(t.db, QStringLiteral("产品"), 1, 3);
        addFirst(t.db, QStringLiteral("公司简介"), 0, 1, QStringLiteral("txt"));
        addFirst(t.db, QStringLiteral("新闻中心"), 1, 2);
        addSecond(t.db, QStringLiteral("新闻中心"), QStringLiteral("行业动态"), 0, 2, QStringLiteral("news"));
        addSecond(t.db, QStringLiteral("产品"), QStringLiteral("家电"), 1, 1);
        addSecond(t.db, QStringLiteral("新闻中心"), QStringLiteral("公司新闻"), 0, 1, QStringLiteral("news"));
        addThird(t.db, QStringLiteral("产品"), QStringLiteral("家电"), QStringLiteral("冰箱"), 0, 1, QStringLiteral("imgs"));

        const CatalogTree tree = buildCatalogTree(t.db);
        QVERIFY(!tree.error);
        QVERIFY(tree.root.isRoot);
        QCOMPARE(flat(tree.root), (QStringList{
                                      "1 root 我的网站 fclose -",
                                      "2 fst_1 公司简介 file F",
                                      "3 fst_2 新闻中心 fclose T",
                                      "4 snd_3_1 公司新闻 file F",
                                      "5 snd_3_2 行业动态 file F",
                                      "6 fst_3 产品 fclose T",
                                      "7 snd_6_1 家电 fclose T",
                                      "8 thd_7_1 冰箱 file F",
                                  }));
        QVERIFY(nodeTextExists(tree.root, QStringLiteral("我的网站")));
        QVERIFY(nodeTextExists(tree.root, QStringLiteral("冰箱")));
        QVERIFY(!nodeTextExists(tree.root, QStringLiteral("冰")));
        QCOMPARE(keysOf(tree.root).size(), 8);
    }

    void loaderEdgeCases()
    {
        testenv::TempDatabase t;
        QCOMPARE(flat(buildCatalogTree(t.db).root), QStringList{"1 root 我的网站 fclose -"});

        // Equal orders keep stored order; a Null order sorts first; a Null catalog is
        // a "file" with no tag; a page's children are still loaded; case variants are
        // different columns; an orphan second row never shows; a third row is found
        // by its parent's name alone.
        addFirst(t.db, QStringLiteral("news"), 1, 2);
        addFirst(t.db, QStringLiteral("News"), 1, 2);
        addFirst(t.db, QStringLiteral("nullcat"), QVariant(), QVariant());
        addFirst(t.db, QStringLiteral("page"), 0, 100000, QStringLiteral("txt"));
        addSecond(t.db, QStringLiteral("news"), QStringLiteral("n-child"), 0, 1, QStringLiteral("txt"));
        addSecond(t.db, QStringLiteral("News"), QStringLiteral("N-child"), 1, 1);
        addSecond(t.db, QStringLiteral("page"), QStringLiteral("under-page"), 0, 1, QStringLiteral("txt"));
        addSecond(t.db, QStringLiteral("nobody"), QStringLiteral("orphan"), 0, 1, QStringLiteral("txt"));
        addThird(t.db, QStringLiteral("wrong-grand"), QStringLiteral("N-child"), QStringLiteral("leaf"), 0, 1,
                 QStringLiteral("txt"));
        t.db.exec(QStringLiteral("UPDATE user_info SET webName=NULL"));

        const CatalogTree tree = buildCatalogTree(t.db);
        QVERIFY(!tree.error);
        QCOMPARE(flat(tree.root), (QStringList{
                                      "1 root  fclose -",
                                      "2 fst_1 nullcat file -",
                                      "3 fst_2 news fclose T",
                                      "4 snd_3_1 n-child file F",
                                      "5 fst_3 News fclose T",
                                      "6 snd_5_1 N-child fclose T",
                                      "7 thd_6_1 leaf file F",
                                      "8 fst_4 page file F",
                                      "9 snd_8_1 under-page file F",
                                  }));
        QVERIFY(nodeTextExists(tree.root, QStringLiteral("News")));
        QVERIFY(!nodeTextExists(tree.root, QStringLiteral("NEWS")));
        QVERIFY(!nodeTextExists(tree.root, QStringLiteral("orphan")));

        // No profile row: the root still stands, with an empty text.
        t.db.exec(QStringLiteral("DELETE FROM user_info"));
        QCOMPARE(buildCatalogTree(t.db).root.text, QString());
    }

    void loaderFailureKeepsWhatWasFilled()
    {
        testenv::TempDatabase t;
        addFirst(t.db, QStringLiteral("A"), 1, 1);
        addFirst(t.db, QStringLiteral("B"), 1, 2);
        addSecond(t.db, QStringLiteral("A"), QStringLiteral("S"), 1, 1);
        t.db.exec(QStringLiteral("DROP TABLE thirdCatalog"));
        const CatalogTree tree = buildCatalogTree(t.db);
        QVERIFY(tree.error);
        QVERIFY(!tree.error->isEmpty());
        QCOMPARE(flat(tree.root), (QStringList{"1 root 我的网站 fclose -", "2 fst_1 A fclose T", "3 snd_2_1 S fclose T"}));
        QCOMPARE(kTreeLoadFailed, QStringLiteral("不期望的错误！errNo:mdl_nov"));
    }

    void drawnKeysNeverCollide()
    {
        const QSet<QString> used{QStringLiteral("fst_5"), QStringLiteral("fst_7"), QStringLiteral("snd_5")};
        QList<int> seq{5, 5, 7, 9};
        auto next = [&] { return seq.takeFirst(); };
        QCOMPARE(drawFreeKey(Level::First, used, next), QStringLiteral("fst_9"));
        QCOMPARE(drawFreeKey(Level::Second, used, [] { return 5; }), QStringLiteral("snd_0"));
        QCOMPARE(drawFreeKey(Level::Third, used, [] { return 5; }), QStringLiteral("thd_5"));
        // A generator stuck on used keys still ends, with the first free number.
        QSet<QString> many;
        for (int i = 0; i <= 10000; ++i)
            many << QStringLiteral("fst_%1").arg(i);
        QCOMPARE(drawFreeKey(Level::First, many, [] { return 3; }), QStringLiteral("fst_10001"));
        for (int i = 0; i < 200; ++i) {
            const int n = drawKeyNumber();
            QVERIFY(n >= 0 && n <= 10000);
        }
        QCOMPARE(levelOfKey(drawFreeKey(Level::Second, {})), Level::Second);
    }

    void levelsAndFormats()
    {
        QCOMPARE(levelOfKey(QStringLiteral("root")), Level::Root);
        QCOMPARE(levelOfKey(QStringLiteral("thd_7_1")), Level::Third);
        QCOMPARE(levelOfKey(QStringLiteral("FST_1")), Level::Other);
        QCOMPARE(levelOfKey(QString()), Level::Other);
        QCOMPARE(formatOf(QStringLiteral("imgTxt03"))->modCaption, QStringLiteral("图片格式三"));
        QVERIFY(!isKnownFormat(QStringLiteral("none")) && !isKnownFormat(QStringLiteral("TXT")));
        QVERIFY(isListFormat(QStringLiteral("imgs")) && !isOneRecordFormat(QStringLiteral("news")));
        QVERIFY(!isListFormat(QString()) && !isOneRecordFormat(QString()));
    }

    void orderNumbers()
    {
        testenv::TempDatabase t;
        CatalogStore s(t.db);
        QCOMPARE(s.getNextOrderID(Level::Root, QString()), 0);
        addFirst(t.db, QStringLiteral("A"), 1, 1);
        addFirst(t.db, QStringLiteral("B"), 1, 5); // a gap left by deletes
        addFirst(t.db, QStringLiteral("N"), 0, QVariant(), QStringLiteral("txt"));
        addFirst(t.db, QStringLiteral("xtb"), 0, 40000, QStringLiteral("news"));
        addSecond(t.db, QStringLiteral("A"), QStringLiteral("S"), 1, 3);
        addThird(t.db, QStringLiteral("A"), QStringLiteral("S"), QStringLiteral("T"), 0, 70000, QStringLiteral("txt"));
        QCOMPARE(s.getNextOrderID(Level::Root, QString()), 40000);
        QCOMPARE(s.getNextOrderID(Level::First, QStringLiteral("A")), 3);
        QCOMPARE(s.getNextOrderID(Level::First, QStringLiteral("B")), 0);
        QCOMPARE(s.getNextOrderID(Level::First, QStringLiteral("a")), 0);
        QCOMPARE(s.getNextOrderID(Level::Second, QStringLiteral("S")), 70000);
        QCOMPARE(s.getNextOrderID(Level::Third, QStringLiteral("T")), -1);
        QCOMPARE(s.getNextOrderID(Level::Other, QStringLiteral("xtb")), -1);

        QCOMPARE(s.getOrderID(Level::First, QStringLiteral("B")), 5);
        QCOMPARE(s.getOrderID(Level::First, QStringLiteral("N")), 0);
        QCOMPARE(s.getOrderID(Level::First, QStringLiteral("missing")), -1);
        QCOMPARE(s.getOrderID(Level::Third, QStringLiteral("T")), 70000);
        // A real column named "xtb" never answers for the root or an unknown level.
        QCOMPARE(s.getOrderID(Level::Root, QStringLiteral("xtb")), -1);
        QCOMPARE(s.getOrderID(Level::Other, QStringLiteral("xtb")), -1);
        QCOMPARE(s.getAspFileName(Level::Root, QStringLiteral("xtb")), QStringLiteral("none"));
    }

    void swapIsOneTransaction()
    {
        testenv::TempDatabase t;
        CatalogStore s(t.db);
        addFirst(t.db, QStringLiteral("A"), 1, 1);
        addFirst(t.db, QStringLiteral("B"), 1, 4);
        addFirst(t.db, QStringLiteral("C"), 1, 9);
        s.setOrderID(Level::First, QStringLiteral("A"), QStringLiteral("B"), 1, 4);
        QCOMPARE(testenv::snapshot(t.db, QStringLiteral("firstCatalog")),
                 (QStringList{"A | 1 | 4 | <NULL>", "B | 1 | 1 | <NULL>", "C | 1 | 9 | <NULL>"}));

        const QStringList before = testenv::snapshotAll(t.db);
        refuse(t.db, QStringLiteral("BEFORE UPDATE ON firstCatalog WHEN OLD.firstCatalog='B'"));
        QVERIFY_THROWS_EXCEPTION(err::DbError, s.setOrderID(Level::First, QStringLiteral("A"), QStringLiteral("B"), 4, 1));
        QCOMPARE(testenv::snapshotAll(t.db), before);
        // A sibling that is no longer stored: nothing changes either.
        QVERIFY_THROWS_EXCEPTION(err::DbError,
                                 s.setOrderID(Level::First, QStringLiteral("C"), QStringLiteral("gone"), 9, 2));
        QCOMPARE(testenv::snapshotAll(t.db), before);

        addSecond(t.db, QStringLiteral("A"), QStringLiteral("x"), 0, 1, QStringLiteral("txt"));
        addSecond(t.db, QStringLiteral("A"), QStringLiteral("y"), 0, 2, QStringLiteral("txt"));
        s.setOrderID(Level::Second, QStringLiteral("y"), QStringLiteral("x"), 2, 1);
        QCOMPARE(s.getOrderID(Level::Second, QStringLiteral("x")), 2);
        QCOMPARE(s.getOrderID(Level::Second, QStringLiteral("y")), 1);
    }

    void deleteCascadesAtEachLevel_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("gone");
        QTest::newRow("first") << 1 << "A" << QStringList{"A", "S1", "S2", "T1", "T2", "T9"};
        QTest::newRow("second category") << 2 << "S1" << QStringList{"S1", "T1", "T2"};
        QTest::newRow("second page") << 2 << "S2" << QStringList{"S2"};
        QTest::newRow("third") << 3 << "T2" << QStringList{"T2"};
        QTest::newRow("first page") << 1 << "P" << QStringList{"P"};
    }

    void deleteCascadesAtEachLevel()
    {
        QFETCH(int, level);
        QFETCH(QString, name);
        QFETCH(QStringList, gone);
        testenv::TempDatabase t;
        cascadeFixture(t.db);
        const QStringList before = testenv::snapshotAll(t.db);
        CatalogStore s(t.db);
        QCOMPARE(s.deleteCatalog(Level(level), name), 1);
        QCOMPARE(testenv::snapshotAll(t.db), withoutRows(before, gone));
    }

    void deleteFailureOrOtherLevelChangesNothing()
    {
        testenv::TempDatabase t;
        cascadeFixture(t.db);
        const QStringList before = testenv::snapshotAll(t.db);
        CatalogStore s(t.db);
        QCOMPARE(s.deleteCatalog(Level::Root, QStringLiteral("A")), 0);
        QCOMPARE(s.deleteCatalog(Level::Other, QStringLiteral("A")), 0);
        QCOMPARE(s.deleteCatalog(Level::First, QStringLiteral("a")), 0);
        QCOMPARE(testenv::snapshotAll(t.db), before);
        // The own row goes last: refusing it undoes the cascade before it.
        refuse(t.db, QStringLiteral("BEFORE DELETE ON firstCatalog"));
        QVERIFY_THROWS_EXCEPTION(err::DbError, s.deleteCatalog(Level::First, QStringLiteral("A")));
        QCOMPARE(testenv::snapshotAll(t.db), before);
    }

    void renameCascadesAtEachLevel_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("name");
        QTest::newRow("first") << 1 << "A";
        QTest::newRow("second") << 2 << "S1";
        QTest::newRow("second page") << 2 << "S2";
        QTest::newRow("third") << 3 << "T1";
    }

    void renameCascadesAtEachLevel()
    {
        QFETCH(int, level);
        QFETCH(QString, name);
        testenv::TempDatabase t;
        cascadeFixture(t.db);
        const QStringList before = testenv::snapshotAll(t.db);
        CatalogStore s(t.db);
        const QString newName = QStringLiteral("新'名\"<&>");
        QCOMPARE(s.renameCatalog(Level(level), name, newName), 1);
        QCOMPARE(testenv::snapshotAll(t.db), renamedCells(before, name, newName));
        // And the tree shows the children under the new name.
        QVERIFY(nodeTextExists(buildCatalogTree(t.db).root, newName));
    }

    void renameFailureOrOtherLevelChangesNothing()
    {
        testenv::TempDatabase t;
        cascadeFixture(t.db);
        const QStringList before = testenv::snapshotAll(t.db);
        CatalogStore s(t.db);
        QCOMPARE(s.renameCatalog(Level::Root, QStringLiteral("A"), QStringLiteral("Z")), 0);
        QCOMPARE(s.renameCatalog(Level::First, QStringLiteral("missing"), QStringLiteral("Z")), 0);
        QCOMPARE(testenv::snapshotAll(t.db), before);
        // The content rows are renamed last: refusing them undoes the whole rename.
        refuse(t.db, QStringLiteral("BEFORE UPDATE ON content01"));
        QVERIFY_THROWS_EXCEPTION(err::DbError, s.renameCatalog(Level::First, QStringLiteral("A"), QStringLiteral("Z")));
        QCOMPARE(testenv::snapshotAll(t.db), before);
    }

    void oddNamesAreStoredExactly_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("apostrophe") << "O'Brien's";
        QTest::newRow("quotes and markup") << "\"<b>&amp;</b>\"";
        QTest::newRow("sql") << "x'); DROP TABLE firstCatalog; --";
        QTest::newRow("cjk") << "产品　展示";
        QTest::newRow("long") << QString(10000, QChar(0x4E2D));
        QTest::newRow("empty") << "";
        QTest::newRow("blank") << "   ";
        QTest::newRow("no-match sentinel") << "xtb";
    }

    void oddNamesAreStoredExactly()
    {
        QFETCH(QString, name);
        testenv::TempDatabase t;
        CatalogStore s(t.db);
        QVERIFY(s.addCategory(Level::Root, QString(), name, s.getNextOrderID(Level::Root, QString()) + 1));
        QVERIFY(s.addPage(Level::First, name, QString(), name + QStringLiteral("/p"), 1, QStringLiteral("news")));
        QVERIFY(s.addPage(Level::Second, name + QStringLiteral("/p"), name, name + QStringLiteral("/q"), 1,
                          QStringLiteral("imgs")));
        QCOMPARE(s.getOrderID(Level::First, name), 1);
        QCOMPARE(s.getAspFileName(Level::First, name), QString()); // a category: Null
        QCOMPARE(s.getAspFileName(Level::Second, name + QStringLiteral("/p")), QStringLiteral("news"));
        QVERIFY(s.pageExists(Level::Third, name + QStringLiteral("/q")));
        const CatalogTree tree = buildCatalogTree(t.db);
        QCOMPARE(tree.root.children.at(0).text, name);
        QCOMPARE(tree.root.children.at(0).children.at(0).children.at(0).text, name + QStringLiteral("/q"));

        QCOMPARE(s.renameCatalog(Level::First, name, name + QStringLiteral("'")), 1);
        QCOMPARE(testenv::countRows(t.db, QStringLiteral("thirdCatalog"), QStringLiteral("firstCatalog=?"),
                                    {name + QStringLiteral("'")}),
                 1);
        QCOMPARE(s.deleteCatalog(Level::First, name + QStringLiteral("'")), 1);
        for (const char *table : {"firstCatalog", "secondCatalog", "thirdCatalog"})
            QCOMPARE(testenv::countRows(t.db, QLatin1String(table)), 0);
    }

    void insertsWriteExactRows()
    {
        testenv::TempDatabase t;
        CatalogStore s(t.db);
        QVERIFY(s.addCategory(Level::Root, QString(), QStringLiteral("C"), 1));
        QVERIFY(s.addCategory(Level::First, QStringLiteral("C"), QStringLiteral("C2"), 1));
        QVERIFY(s.addPage(Level::Root, QString(), QString(), QStringLiteral("P1"), 2, QStringLiteral("txt")));
        QVERIFY(s.addPage(Level::First, QStringLiteral("C"), QString(), QStringLiteral("P2"), 2, QStringLiteral("news")));
        QVERIFY(s.addPage(Level::Second, QStringLiteral("C2"), QStringLiteral("C"), QStringLiteral("P3"), 1,
                          QStringLiteral("adv")));
        const QStringList before = testenv::snapshotAll(t.db);
        // No categories below the second level, no columns below the third.
        QVERIFY(!s.addCategory(Level::Second, QStringLiteral("C2"), QStringLiteral("X"), 1));
        QVERIFY(!s.addCategory(Level::Third, QStringLiteral("P3"), QStringLiteral("X"), 1));
        QVERIFY(!s.addPage(Level::Third, QStringLiteral("P3"), QStringLiteral("C2"), QStringLiteral("X"), 1,
                           QStringLiteral("txt")));
        QVERIFY(!s.addPage(Level::Other, QString(), QString(), QStringLiteral("X"), 1, QStringLiteral("txt")));
        QCOMPARE(testenv::snapshotAll(t.db), before);
        QCOMPARE(testenv::snapshot(t.db, QStringLiteral("firstCatalog")),
                 (QStringList{"C | 1 | 1 | <NULL>", "P1 | 0 | 2 | txt"}));
        QCOMPARE(testenv::snapshot(t.db, QStringLiteral("secondCatalog")),
                 (QStringList{"C | C2 | 1 | 1 | <NULL>", "C | P2 | 0 | 2 | news"}));
        QCOMPARE(testenv::snapshot(t.db, QStringLiteral("thirdCatalog")), (QStringList{"C | C2 | P3 | 0 | 1 | adv"}));
    }

    void formatLookupsAndChanges()
    {
        testenv::TempDatabase t;
        cascadeFixture(t.db);
        CatalogStore s(t.db);
        QCOMPARE(s.getAspFileName(Level::First, QStringLiteral("P")), QStringLiteral("txt"));
        QCOMPARE(s.getAspFileName(Level::First, QStringLiteral("A")), QString()); // Null
        QCOMPARE(s.getAspFileName(Level::First, QStringLiteral("p")), QStringLiteral("none"));
        QCOMPARE(s.getAspFileName(Level::Second, QStringLiteral("P")), QStringLiteral("none"));
        QCOMPARE(s.getAspFileName(Level::Other, QStringLiteral("P")), QStringLiteral("none"));
        QVERIFY(s.pageExists(Level::Third, QStringLiteral("T3")));
        QVERIFY(!s.pageExists(Level::Third, QStringLiteral("t3")));
        QVERIFY(!s.pageExists(Level::Root, QStringLiteral("我的网站")));

        QStringList before = testenv::snapshotAll(t.db);
        QCOMPARE(s.setAspFileName(Level::Third, QStringLiteral("T1"), QStringLiteral("bigImg")), 1);
        QCOMPARE(s.setAspFileName(Level::Third, QStringLiteral("none-such"), QStringLiteral("bigImg")), 0);
        QCOMPARE(s.setAspFileName(Level::Other, QStringLiteral("T1"), QStringLiteral("txt")), 0);
        QStringList expected = before;
        expected.replace(expected.indexOf(QStringLiteral("A | S1 | T1 | 0 | 1 | txt")), QStringLiteral("A | S1 | T1 | 0 | 1 | bigImg"));
        QCOMPARE(testenv::snapshotAll(t.db), expected);

        // A format change blanks all 30 columns of the page's rows, keeps the rows.
        before = testenv::snapshotAll(t.db);
        QVERIFY(s.changeFormat(Level::Second, QStringLiteral("S2"), QStringLiteral("imgs")));
        const Rows rows = t.db.select(QStringLiteral("SELECT * FROM content02 WHERE secondCatalog='S2'"));
        QCOMPARE(int(rows.size()), 2);
        for (const QSqlRecord &r : rows)
            for (int i = 2; i < r.count(); ++i) {
                QVERIFY2(!r.isNull(i), qPrintable(r.fieldName(i)));
                QCOMPARE(r.value(i).toString(), QString());
            }
        QCOMPARE(s.getAspFileName(Level::Second, QStringLiteral("S2")), QStringLiteral("imgs"));
        const QStringList after = testenv::snapshotAll(t.db);
        QCOMPARE(withoutRows(after, {"S2"}), withoutRows(before, {"S2"}));

        // The page's row is gone: the blanking is rolled back.
        t.db.exec(QStringLiteral("DELETE FROM thirdCatalog WHERE thirdCatalog='T2'"));
        before = testenv::snapshotAll(t.db);
        QVERIFY(!s.changeFormat(Level::Third, QStringLiteral("T2"), QStringLiteral("txt")));
        QVERIFY(!s.changeFormat(Level::Root, QStringLiteral("T3"), QStringLiteral("txt")));
        QCOMPARE(testenv::snapshotAll(t.db), before);
        refuse(t.db, QStringLiteral("BEFORE UPDATE ON thirdCatalog"));
        QVERIFY_THROWS_EXCEPTION(err::DbError, s.changeFormat(Level::Third, QStringLiteral("T3"), QStringLiteral("txt")));
        QCOMPARE(testenv::snapshotAll(t.db), before);
    }
};

QTEST_GUILESS_MAIN(TestCatalogStore)
#include "test_catalogstore.moc"
