// The storage pieces meeting the real record-list pane: a three-level tree with pages
// of every format, a news page's list written into multiData.htm, a row chosen through
// the page's own script and its ID read back through the pane's mirror.
#include "content/contentstore.h"
#include "design/catalogstore.h"
#include "testenv.h"
#include "testmain.h"
#include "ui/browserpane.h"

#include <QTest>

using namespace design;

namespace {

const CatalogNode *findText(const CatalogNode &n, const QString &text)
{
    if (n.text == text)
        return &n;
    for (const CatalogNode &c : n.children)
        if (const CatalogNode *hit = findText(c, text))
            return hit;
    return nullptr;
}

} // namespace

class TestRecordListPane : public QObject {
    Q_OBJECT
    testenv::ProgramFolder m_prog;

private slots:
    void initTestCase()
    {
        QVERIFY(m_prog.isValid());
        setPaneBaseFolder(m_prog.path());
    }

    void chosenRowIsReadBack()
    {
        testenv::TempDatabase t;
        CatalogStore cat(t.db);
        content::ContentStore store(t.db);

        // 公司 (category) > 动态 (category) > the pages of every format, plus a
        // first-level and a second-level page.
        QVERIFY(cat.addCategory(Level::Root, QString(), QStringLiteral("公司"), 1));
        QVERIFY(cat.addPage(Level::Root, QString(), QString(), QStringLiteral("简介"), 2, QStringLiteral("txt")));
        QVERIFY(cat.addCategory(Level::First, QStringLiteral("公司"), QStringLiteral("动态"), 1));
        QVERIFY(cat.addPage(Level::First, QStringLiteral("公司"), QString(), QStringLiteral("大图"), 2,
                            QStringLiteral("bigImg")));
        int order = 0;
        for (const FormatInfo &f : formats())
            QVERIFY(cat.addPage(Level::Second, QStringLiteral("动态"), QStringLiteral("公司"), QStringLiteral("页-") + f.key,
                                ++order, f.key));

        const CatalogTree tree = buildCatalogTree(t.db);
        QVERIFY(!tree.error);
        const CatalogNode *newsNode = findText(tree.root, QStringLiteral("页-news"));
        QVERIFY(newsNode);
        QCOMPARE(newsNode->key, QStringLiteral("thd_3_2"));
        QCOMPARE(cat.getAspFileName(levelOfKey(newsNode->key), newsNode->text), QStringLiteral("news"));

        // Fill the one-record pages through the view's save; the list pages as their
        // dialogs store them.
        for (const CatalogNode *n : {findText(tree.root, QStringLiteral("简介")), findText(tree.root, QStringLiteral("大图")),
                                     findText(tree.root, QStringLiteral("页-imgTxt01"))}) {
            content::SaveRequest r;
            r.level = levelOfKey(n->key);
            r.page = n->text;
            r.format = cat.getAspFileName(r.level, n->text);
            r.title = QStringLiteral("标题");
            r.currentNames[0] = QStringLiteral("a.jpg");
            r.newRecord = true;
            QCOMPARE(store.save(r).outcome, content::SaveOutcome::Saved);
        }
        for (const char *title : {"招聘", "开业"})
            t.db.exec(QStringLiteral("INSERT INTO content03 (thirdCatalog, value01, value02, value03, value04) "
                                     "VALUES (?, ?, '2004-5-1', '', '')"),
                      {newsNode->text, QString::fromUtf8(title)});
        t.db.exec(QStringLiteral("INSERT INTO content03 (thirdCatalog, value01, value02, value03) "
                                 "VALUES ('页-imgs', 'pic', 'p.jpg', 'p_small.bmp')"));

        const Rows rows = store.loadRecords(levelOfKey(newsNode->key), newsNode->text);
        QCOMPARE(int(rows.size()), 2);
        const QString newest = db::text(rows.front(), QStringLiteral("ID"));
        const QString oldest = db::text(rows.back(), QStringLiteral("ID"));
        QVERIFY(newest.toLongLong() > oldest.toLongLong());

        BrowserPane pane(nullptr, PaneOptions{true});
        pane.resize(600, 300);
        pane.navigate(QStringLiteral("multiData.htm"));
        // Queued until the host page has loaded.
        pane.setInnerHTML(QStringLiteral("editID"), content::buildDataListHtml(rows, QStringLiteral("news")));
        if (!QTest::qWaitFor([&] { return !pane.isLoading(); }, 15000))
            QSKIP("the web engine did not load the host page");
        QCOMPARE(pane.value(QStringLiteral("currID")), QString());
        pane.runWhenLoaded(QStringLiteral("document.querySelector(\"input[value='%1']\").click()").arg(oldest));
        QTRY_COMPARE_WITH_TIMEOUT(pane.value(QStringLiteral("currID")), oldest, 10000);
        pane.runWhenLoaded(QStringLiteral("document.querySelector(\"input[value='%1']\").click()").arg(newest));
        QTRY_COMPARE_WITH_TIMEOUT(pane.value(QStringLiteral("currID")), newest, 10000);

        // A rewritten list brings an empty currID: no record is chosen.
        pane.setInnerHTML(QStringLiteral("editID"), content::buildDataListHtml({}, QStringLiteral("news")));
        QCOMPARE(pane.value(QStringLiteral("currID")), QString());
        // The empty list's own hidden input is there, and reading the page confirms it.
        pane.runWhenLoaded(QStringLiteral("console.log('value:probe=' + document.querySelectorAll('#currID').length + "
                                          "'/' + document.getElementById('currID').value.length)"));
        QTRY_COMPARE_WITH_TIMEOUT(pane.value(QStringLiteral("probe")), QStringLiteral("1/0"), 10000);
    }
};

QUORVIK_TEST_MAIN(TestRecordListPane)
#include "test_recordlistpane.moc"
