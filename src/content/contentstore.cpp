#include "content/contentstore.h"

#include "content/entryactions.h"
#include "core/datafiles.h"
#include "core/fileutil.h"
#include "core/textforms.h"
#include "design/pagestore.h"

#include <QFileInfo>
#include <QSqlRecord>

namespace content {

namespace {

bool isTextFormat(const QString &format)
{
    return format == QLatin1String("txt") || format == QLatin1String("imgTxt01") || format == QLatin1String("imgTxt02")
        || format == QLatin1String("imgTxt03");
}

// "value01".."value15".
QString valueColumn(qsizetype n)
{
    return QStringLiteral("value%1").arg(n, 2, 10, QLatin1Char('0'));
}

QString v(const QSqlRecord &rec, int n)
{
    return db::text(rec, valueColumn(n));
}

// The statement and values of a save, by format and flag.
struct Statement {
    QString sql;
    QVariantList binds;
};

Statement saveStatement(const design::LevelTables &t, const SaveRequest &r)
{
    const QString enc = textforms::encode(r.content);
    const bool third = r.format == QLatin1String("imgTxt03");
    const QVariant page = db::str(r.page);
    if (r.newRecord) {
        if (r.format == QLatin1String("txt"))
            return {QStringLiteral("INSERT INTO %1 (%2, value01, value02) VALUES (?, ?, ?)").arg(t.contentTable, t.ownerColumn),
                    {page, db::str(r.title), db::str(enc)}};
        if (r.format == QLatin1String("bigImg"))
            return {QStringLiteral("INSERT INTO %1 (%2, value01) VALUES (?, ?)").arg(t.contentTable, t.ownerColumn),
                    {page, db::str(r.currentNames[0])}};
        return {QStringLiteral("INSERT INTO %1 (%2, value01, value02, value03, value04) VALUES (?, ?, ?, ?, ?)")
                    .arg(t.contentTable, t.ownerColumn),
                {page, db::str(r.title), db::str(enc), db::str(r.currentNames[0]),
                 db::str(third ? QString() : r.currentNames[1])}};
    }
    if (r.format == QLatin1String("txt"))
        return {QStringLiteral("UPDATE %1 SET value01=?, value02=? WHERE %2=?").arg(t.contentTable, t.ownerColumn),
                {db::str(r.title), db::str(enc), page}};
    if (r.format == QLatin1String("bigImg"))
        return {QStringLiteral("UPDATE %1 SET value01=? WHERE %2=?").arg(t.contentTable, t.ownerColumn),
                {db::str(r.boxNames[0]), page}};
    return {QStringLiteral("UPDATE %1 SET value01=?, value02=?, value03=?, value04=? WHERE %2=?")
                .arg(t.contentTable, t.ownerColumn),
            {db::str(r.title), db::str(enc), db::str(r.boxNames[0]), db::str(third ? QString() : r.boxNames[1]), page}};
}

} // namespace

PageRecord readPage(const QSqlRecord &rec, const QString &format)
{
    PageRecord p;
    if (format == QLatin1String("bigImg")) {
        p.picture1 = v(rec, 1);
    } else if (format == QLatin1String("adv")) {
        p.content = v(rec, 1);
    } else {
        p.title = v(rec, 1);
        p.content = v(rec, 2);
        if (format != QLatin1String("txt")) {
            p.picture1 = v(rec, 3);
            p.picture2 = v(rec, 4);
        }
    }
    return p;
}

NewsItem readNews(const QSqlRecord &rec)
{
    return {db::integer(rec, QStringLiteral("ID")), v(rec, 1), v(rec, 2), v(rec, 3), v(rec, 4)};
}

GalleryItem readGallery(const QSqlRecord &rec)
{
    return {db::integer(rec, QStringLiteral("ID")), v(rec, 1), v(rec, 2), v(rec, 3)};
}

QStringList valuesOf(const NewsItem &item)
{
    return {item.title, item.date, item.body, item.picture};
}

QStringList valuesOf(const GalleryItem &item)
{
    return {item.caption, item.picture, item.thumbnail};
}

QString thumbnailName(const QString &picture)
{
    return picture.section(QLatin1Char('.'), 0, 0) + QStringLiteral("_small.bmp");
}

void NewRecordFlag::viewLoaded()
{
    m_set = false;
}

void NewRecordFlag::pageOpened(const QString &format, bool rowFound)
{
    if (design::isListFormat(format) || format == QLatin1String("adv"))
        return;
    m_set = !rowFound;
}

void NewRecordFlag::saveInserted()
{
    m_set = false;
}

Message saveMessage(SaveOutcome outcome, const QString &reason)
{
    switch (outcome) {
    case SaveOutcome::Saved: return {QStringLiteral("数据已保存！"), ui::vbInformation, QStringLiteral("提示")};
    case SaveOutcome::NoLevel: return msg::noColumnChosen();
    case SaveOutcome::EmptyTitle: return {QStringLiteral("标题不能为空"), ui::vbInformation, QStringLiteral("提示")};
    case SaveOutcome::NoPage: return msg::noPage();
    case SaveOutcome::Failed: break;
    }
    return {err::withReason(QStringLiteral("保存数据失败"), reason), ui::vbCritical, QStringLiteral("提示")};
}

std::optional<Message> deleteMessage(const DeleteResult &result)
{
    switch (result.outcome) {
    case DeleteOutcome::Deleted: return std::nullopt;
    case DeleteOutcome::NoLevel: return msg::columnChoiceError();
    case DeleteOutcome::Failed: break;
    }
    return msg::failure(result.error);
}

ContentStore::ContentStore(SiteDb &db)
    : m_db(db)
{
}

Rows ContentStore::loadRecords(Level level, const QString &page) const
{
    const auto t = design::tablesOf(level);
    if (!t)
        return {};
    return m_db.select(QStringLiteral("SELECT * FROM %1 WHERE %2=? ORDER BY ID DESC").arg(t->contentTable, t->ownerColumn),
                       {db::str(page)});
}

SaveResult ContentStore::save(const SaveRequest &r)
{
    SaveResult result;
    const auto t = design::tablesOf(r.level);
    if (!t) {
        result.outcome = SaveOutcome::NoLevel;
        return result;
    }
    if (isTextFormat(r.format) && textforms::trimBlanks(r.title).isEmpty()) {
        result.outcome = SaveOutcome::EmptyTitle;
        return result;
    }
    // Formats the view does not save (adv, list formats, "none"): fail untouched.
    if (!isTextFormat(r.format) && r.format != QLatin1String("bigImg"))
        return result;
    const Statement s = saveStatement(*t, r);
    const design::PageStoreResult stored = design::storePage(m_db, r.level, r.page, s.sql, s.binds);
    result.error = stored.error;
    if (stored.outcome == design::PageStoreOutcome::NoPage)
        result.outcome = SaveOutcome::NoPage;
    else if (stored.outcome == design::PageStoreOutcome::Stored)
        result = {SaveOutcome::Saved, r.newRecord, QString()};
    return result;
}

DeleteResult ContentStore::deleteRecord(Level level, const QString &page, qint64 id)
{
    DeleteResult result;
    const auto t = design::tablesOf(level);
    if (!t) {
        result.outcome = DeleteOutcome::NoLevel;
        return result;
    }
    try {
        // The page condition keeps a stale selection from deleting another page's record.
        m_db.exec(QStringLiteral("DELETE FROM %1 WHERE ID=? AND %2=?").arg(t->contentTable, t->ownerColumn),
                  {id, db::str(page)});
    } catch (const std::exception &e) {
        result.error = err::descriptionOf(e);
        return result;
    }
    result.outcome = DeleteOutcome::Deleted;
    return result;
}

namespace {
design::LevelTables columnTables(const std::optional<design::LevelTables> &t)
{
    if (!t)
        throw err::DbError(err::Kind::DbStatement, QStringLiteral("level"));
    return *t;
}
} // namespace

std::optional<QSqlRecord> ContentStore::loadRecord(Level level, const QString &page, qint64 id) const
{
    const auto t = design::tablesOf(level);
    if (!t)
        return std::nullopt;
    const Rows rows = m_db.select(
        QStringLiteral("SELECT * FROM %1 WHERE ID=? AND %2=?").arg(t->contentTable, t->ownerColumn), {id, db::str(page)});
    if (rows.empty())
        return std::nullopt;
    return rows.front();
}

qint64 ContentStore::insertRecord(Level level, const QString &page, const QStringList &values)
{
    const design::LevelTables t = columnTables(design::tablesOf(level));
    QString columns = t.ownerColumn;
    QString marks = QStringLiteral("?");
    QVariantList binds{db::str(page)};
    for (qsizetype i = 0; i < values.size(); ++i) {
        columns += QStringLiteral(", ") + valueColumn(i + 1);
        marks += QStringLiteral(", ?");
        binds << db::str(values.at(i));
    }
    m_db.exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(t.contentTable, columns, marks), binds);
    return m_db.lastInsertId();
}

void ContentStore::updateRecord(Level level, const QString &page, qint64 id, const QStringList &values)
{
    const design::LevelTables t = columnTables(design::tablesOf(level));
    QStringList sets;
    QVariantList binds;
    for (qsizetype i = 0; i < values.size(); ++i) {
        sets << valueColumn(i + 1) + QStringLiteral("=?");
        binds << db::str(values.at(i));
    }
    binds << id << db::str(page);
    // The page condition keeps a stale selection from changing another page's record.
    if (m_db.exec(QStringLiteral("UPDATE %1 SET %2 WHERE ID=? AND %3=?").arg(t.contentTable, sets.join(QStringLiteral(", ")), t.ownerColumn),
                  binds)
        == 0)
        throw err::DbError(err::Kind::DbNoRow);
}

QString ContentStore::freeThumbnailName(const QString &picture, const QString &dataFolder, const QString &mine) const
{
    const QString usual = thumbnailName(picture);
    if (!datafiles::isNamed(m_db, usual))
        return usual;
    // Records of a picture of this name share its thumbnail, as they share the picture.
    for (const char *table : {"content01", "content02", "content03"})
        if (!m_db.select(QStringLiteral("SELECT 1 FROM %1 WHERE value02=? AND value03=? LIMIT 1").arg(QLatin1String(table)),
                         {db::str(picture), db::str(usual)})
                 .empty())
            return usual;
    const QString stem = usual.chopped(4); // without ".bmp"
    for (int n = 2;; ++n) {
        const QString name = stem + QString::number(n) + QStringLiteral(".bmp");
        if ((name == mine || !QFileInfo::exists(fileutil::withSlash(dataFolder) + name)) && !datafiles::isNamed(m_db, name))
            return name;
    }
}

QString buildDataListHtml(const Rows &records, const QString &format)
{
    const bool news = format == QLatin1String("news");
    QString h;
    h.reserve(512 + qsizetype(records.size()) * 256);
    h += QStringLiteral("<table width=100% border=0 cellpadding=0 cellspacing=0 bgcolor=#990000>"
                        "<tr>"
                        "<td><table width=100% border=0 cellspacing=1 cellpadding=0>"
                        "<form name='formData' method=post onSubmit='return false;'>"
                        "<tr align=center bgcolor=#CCCCCC>"
                        "<td width=12% height=22><input name='currID' type='hidden' id='currID'>ID</td>"
                        "<td width=64%>");
    h += news ? QStringLiteral("标题") : QStringLiteral("图片说明文字");
    h += QStringLiteral("</td><td width=24%>");
    h += news ? QStringLiteral("时间") : QStringLiteral("文件名");
    h += QStringLiteral("</td></tr>");
    if (!records.empty()) {
        // Every row of one read has the same fields: find them once.
        const QSqlRecord &first = records.front();
        const int iId = first.indexOf(QStringLiteral("ID"));
        const int i1 = first.indexOf(QStringLiteral("value01"));
        const int i2 = first.indexOf(QStringLiteral("value02"));
        auto at = [](const QSqlRecord &rec, int i) { return i < 0 ? QString() : rec.value(i).toString(); };
        for (const QSqlRecord &rec : records) {
            const QString id = at(rec, iId);
            h += QStringLiteral("<tr bgcolor=#FFFFFF><td height=22>&nbsp;<input type='radio' name='ID'  value='");
            h += id;
            h += QStringLiteral("' onClick='getID(");
            h += id;
            h += QStringLiteral(");'>");
            h += id;
            h += QStringLiteral("</td><td>&nbsp;");
            h += at(rec, i1);
            h += QStringLiteral("</td><td>&nbsp;");
            h += at(rec, i2);
            h += QStringLiteral("</td></tr>");
        }
    }
    if (records.empty())
        h += QStringLiteral("<tr bgcolor=white><td colspan=3 height=30><font color=red>"
                            "\u3000\u3000\u3000\u3000暂时还没有数据！</font></td></tr>");
    h += QStringLiteral("</form></table></td></tr></table>");
    return h;
}

} // namespace content
