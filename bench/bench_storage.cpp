// Loading a column tree of 1,000 columns and building the record list of a news page
// with 10,000 records, each against a bare read of the same rows in this run.
#include "content/contentstore.h"
#include "design/catalogstore.h"
#include "testenv.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// Median milliseconds of fn over runs (after one warm-up run).
double timeMs(int runs, const std::function<void()> &fn)
{
    fn();
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer e;
        e.start();
        fn();
        t.push_back(double(e.nsecsElapsed()) / 1e6);
    }
    return median(t);
}

// 10 first-level categories, 10 second-level categories under each, and the rest of
// 1,000 columns as third-level pages spread over the second level.
void fillTree(SiteDb &db)
{
    db.transaction([&] {
        int columns = 0;
        for (int i = 1; i <= 10; ++i) {
            const QString first = QStringLiteral("一级%1").arg(i);
            db.exec(QStringLiteral("INSERT INTO firstCatalog VALUES (?, 1, ?, NULL)"), {first, i});
            ++columns;
            for (int j = 1; j <= 10; ++j) {
                db.exec(QStringLiteral("INSERT INTO secondCatalog VALUES (?, ?, 1, ?, NULL)"),
                        {first, QStringLiteral("二级%1-%2").arg(i).arg(j), j});
                ++columns;
            }
        }
        for (int k = 0; columns < 1000; ++k, ++columns) {
            const int i = k % 10 + 1, j = k / 10 % 10 + 1;
            db.exec(QStringLiteral("INSERT INTO thirdCatalog VALUES (?, ?, ?, 0, ?, 'news')"),
                    {QStringLiteral("一级%1").arg(i), QStringLiteral("二级%1-%2").arg(i).arg(j),
                     QStringLiteral("三级%1").arg(k), k});
        }
    });
}

void fillNews(SiteDb &db, const QString &page, int count)
{
    db.transaction([&] {
        for (int n = 0; n < count; ++n)
            db.exec(QStringLiteral("INSERT INTO content03 (thirdCatalog, value01, value02, value03, value04) "
                                   "VALUES (?, ?, '2026-12-9', ?, '')"),
                    {page, QStringLiteral("新闻标题第%1条：公司动态与行业资讯").arg(n),
                     QStringLiteral("正文&nbsp;内容<br>第二行")});
    });
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 15;
    testenv::TempDatabase t;
    fillTree(t.db);
    const QString page = QStringLiteral("三级0");
    fillNews(t.db, page, 10000);
    content::ContentStore store(t.db);

    size_t nodes = 0;
    const double tree = timeMs(runs, [&] { nodes = design::keysOf(design::buildCatalogTree(t.db).root).size(); });
    const double treeRef = timeMs(runs, [&] {
        for (const char *table : {"firstCatalog", "secondCatalog", "thirdCatalog"})
            t.db.select(QStringLiteral("SELECT * FROM %1").arg(QLatin1String(table)));
    });

    Rows rows;
    QString html;
    const double load = timeMs(runs, [&] { rows = store.loadRecords(design::Level::Third, page); });
    const double build = timeMs(runs, [&] { html = content::buildDataListHtml(rows, QStringLiteral("news")); });
    const double listRef = timeMs(runs, [&] {
        t.db.select(QStringLiteral("SELECT * FROM content03 WHERE thirdCatalog=?"), {page});
    });

    std::printf("storage, median of %d runs\n", runs);
    std::printf("  column tree, %zu nodes (1,000 columns + root)\n", nodes);
    std::printf("    buildCatalogTree:                      %8.2f ms (goal <= 100)\n", tree);
    std::printf("    bare SELECT * of the three tables:     %8.2f ms\n", treeRef);
    std::printf("    ratio:                                 %8.2f\n", treeRef > 0 ? tree / treeRef : 0.0);
    std::printf("  news page, %zu records, list of %lld characters\n", rows.size(), (long long)html.size());
    std::printf("    buildDataListHtml:                     %8.2f ms (goal <= 100)\n", build);
    std::printf("    loadRecords (ORDER BY ID DESC):        %8.2f ms\n", load);
    std::printf("    load + build:                          %8.2f ms\n", load + build);
    std::printf("    bare SELECT * of the same rows:        %8.2f ms\n", listRef);
    std::printf("    ratio (load + build) / bare select:    %8.2f\n", listRef > 0 ? (load + build) / listRef : 0.0);
    return 0;
}
