#include "design/pagestore.h"

namespace design {

PageStoreResult storePage(SiteDb &site, Level level, const QString &page, const QString &sql, const QVariantList &binds,
                          const QString &insertSql, const QVariantList &insertBinds)
{
    PageStoreResult result;
    const auto t = tablesOf(level);
    if (!t) {
        result.outcome = PageStoreOutcome::NoLevel;
        return result;
    }
    try {
        // The page may have been deleted or renamed in the design view meanwhile.
        const bool exists = !site.select(QStringLiteral("SELECT 1 FROM %1 WHERE %2=? LIMIT 1").arg(t->table, t->nameColumn),
                                         {db::str(page)})
                                 .empty();
        if (!exists) {
            result.outcome = PageStoreOutcome::NoPage;
            return result;
        }
        // An update that finds no record (cleared by a change of format, or by another
        // program) stored nothing, unless the caller inserts the record then.
        if (site.exec(sql, binds) == 0) {
            if (insertSql.isEmpty() || site.exec(insertSql, insertBinds) == 0) {
                result.error = err::text(err::Kind::DbNoRow);
                return result;
            }
        }
    } catch (const std::exception &e) {
        result.error = err::descriptionOf(e);
        return result;
    }
    result.outcome = PageStoreOutcome::Stored;
    return result;
}

namespace msg {
ui::Message noColumnChosen()
{
    return {QStringLiteral("没有在左边选择栏目！"), ui::vbCritical, QStringLiteral("警告")};
}
ui::Message noPage()
{
    return {QStringLiteral("请先在设计栏目中设计好该栏目或单击右键刷新！"), ui::vbExclamation, QStringLiteral("警告")};
}
ui::Message failure(const QString &description, int style)
{
    return {description, style, QStringLiteral("提示")};
}
} // namespace msg

} // namespace design
