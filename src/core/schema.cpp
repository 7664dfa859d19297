#include "core/schema.h"

#include "core/sitedb.h"
#include "core/stylemanifest.h"
#include "core/textdate.h"

#include <QRegularExpression>

namespace schema {

namespace {

// One content table; only the owner column's name differs between the levels.
QString contentTable(const QString &table, const QString &owner)
{
    QStringList cols;
    cols << QStringLiteral("ID INTEGER PRIMARY KEY AUTOINCREMENT") << owner + QStringLiteral(" TEXT");
    for (const QString &c : valueColumns())
        cols << c + QStringLiteral(" TEXT");
    for (const QString &c : fieldColumns())
        cols << c + QStringLiteral(" TEXT");
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(table, cols.join(QStringLiteral(", ")));
}

const char *const kFixedTables = R"SQL(
-- The site profile: exactly one row, user_ID = 1. Never inserted or deleted by the program.
CREATE TABLE user_info (
  user_ID     INTEGER PRIMARY KEY,
  webName     TEXT,  -- site name: window caption, tree roots
  gov_name    TEXT,  -- organisation name
  address     TEXT,
  linkman     TEXT,
  tel         TEXT,
  mobile      TEXT,
  fax         TEXT,
  zip         TEXT,
  email       TEXT,
  logo        TEXT,  -- bare file name in the data folder, or ''
  serial      TEXT,  -- account identifier for the server log-in
  site_name   TEXT,  -- the site name the server accepted
  defaultFile TEXT,  -- custom home page file name, or ''
  topHead     TEXT,  -- 'topHeadSelf.gif|jpg|swf', or ''
  field01     TEXT,  -- extra pages: '||a.htm||b.mht', or ''
  field02     TEXT,  -- switch: forum '0'/'1'
  field03     TEXT,  -- switch: mail log-in
  field04     TEXT,  -- switch: guest book
  field05     TEXT,  -- switch: office system
  field06     TEXT,  -- notice flag '0||<date>' / '1||<date>'
  adBoard     TEXT,  -- pop-up window: '0' or '1||w||h||top||left||title||content'
  javascript  TEXT,  -- script effect: '0' or '1||NN.asp||text'
  backGround  TEXT,  -- background picture file name, or ''
  defaultFont TEXT,  -- a font.font value
  headFont    TEXT,  -- a font.font value
  defaultTmpl TEXT,  -- a defaultTmpl.tmplName value
  headTmpl    TEXT   -- a headTmpl.tmplName value
);
-- The column tree. A column is found by its name alone; lower levels name their
-- ancestors by name. catalog: 1 category, 0 page.
CREATE TABLE firstCatalog (
  firstCatalog TEXT, catalog INTEGER, orderID INTEGER, aspFileName TEXT);
CREATE TABLE secondCatalog (
  firstCatalog TEXT, secondCatalog TEXT, catalog INTEGER, orderID INTEGER, aspFileName TEXT);
CREATE TABLE thirdCatalog (
  firstCatalog TEXT, secondCatalog TEXT, thirdCatalog TEXT,
  catalog INTEGER, orderID INTEGER, aspFileName TEXT);
-- Shipped, read-only picker lists.
CREATE TABLE font (font TEXT);                     -- a picture in fonts/
CREATE TABLE defaultTmpl (tmplType TEXT, tmplName TEXT); -- home-page templates in template/
CREATE TABLE headTmpl (tmplType TEXT, tmplName TEXT);    -- inner-page templates in template/
)SQL";

const char *const kIndexes = R"SQL(
CREATE INDEX ix_first_name ON firstCatalog (firstCatalog);
CREATE INDEX ix_second_name ON secondCatalog (secondCatalog);
CREATE INDEX ix_second_parent ON secondCatalog (firstCatalog);
CREATE INDEX ix_third_name ON thirdCatalog (thirdCatalog);
CREATE INDEX ix_third_parent ON thirdCatalog (secondCatalog);
CREATE INDEX ix_content01_owner ON content01 (firstCatalog);
CREATE INDEX ix_content02_owner ON content02 (secondCatalog);
CREATE INDEX ix_content03_owner ON content03 (thirdCatalog);
)SQL";

QStringList splitStatements(const char *text)
{
    QStringList out;
    QString sql = QString::fromUtf8(text);
    sql.remove(QRegularExpression(QStringLiteral("--[^\n]*")));
    for (const QString &s : sql.split(QLatin1Char(';'))) {
        const QString t = s.simplified();
        if (!t.isEmpty())
            out << t;
    }
    return out;
}

} // namespace

QStringList valueColumns()
{
    QStringList c;
    for (int i = 1; i <= 15; ++i)
        c << QStringLiteral("value%1").arg(i, 2, 10, QLatin1Char('0'));
    return c;
}

QStringList fieldColumns()
{
    QStringList c;
    for (int i = 1; i <= 15; ++i)
        c << QStringLiteral("field%1").arg(i, 2, 10, QLatin1Char('0'));
    return c;
}

QStringList statements()
{
    QStringList s = splitStatements(kFixedTables);
    s << contentTable(QStringLiteral("content01"), QStringLiteral("firstCatalog"))
      << contentTable(QStringLiteral("content02"), QStringLiteral("secondCatalog"))
      << contentTable(QStringLiteral("content03"), QStringLiteral("thirdCatalog"));
    s << splitStatements(kIndexes);
    return s;
}

QStringList tables()
{
    QStringList t;
    static const QRegularExpression re(QStringLiteral("^CREATE TABLE (\\w+)"));
    for (const QString &s : statements()) {
        const auto m = re.match(s);
        if (m.hasMatch())
            t << m.captured(1);
    }
    return t;
}

bool openSite(SiteDb &db, const QString &path, SiteDb::Check check)
{
    return db.open(path, tables(), check);
}

QStringList columns(const QString &table)
{
    static const QRegularExpression re(QStringLiteral("^CREATE TABLE (\\w+) \\((.*)\\)$"));
    for (const QString &s : statements()) {
        const auto m = re.match(s);
        if (!m.hasMatch() || m.captured(1) != table)
            continue;
        QStringList cols;
        for (const QString &def : m.captured(2).split(QLatin1Char(',')))
            cols << def.trimmed().section(QLatin1Char(' '), 0, 0);
        return cols;
    }
    return {};
}

void create(SiteDb &db)
{
    db.transaction([&] {
        for (const QString &s : statements())
            db.exec(s);
    });
}

void seedProfile(SiteDb &db, const QDate &buildDate, const QString &account)
{
    QStringList cols = columns(QStringLiteral("user_info"));
    QVariantList values;
    for (const QString &c : cols) {
        if (c == QLatin1String("user_ID"))
            values << 1;
        else if (c == QLatin1String("webName"))
            values << QStringLiteral("我的网站");
        else if (c == QLatin1String("serial"))
            values << db::str(account);
        else if (c == QLatin1String("field02") || c == QLatin1String("field03") || c == QLatin1String("field04")
                 || c == QLatin1String("field05") || c == QLatin1String("adBoard") || c == QLatin1String("javascript"))
            values << QStringLiteral("0");
        else if (c == QLatin1String("field06"))
            values << QStringLiteral("0||") + textdate::format(buildDate);
        else if (c == QLatin1String("defaultFont") || c == QLatin1String("headFont"))
            values << stylemanifest::fonts().value(0, QStringLiteral(""));
        else if (c == QLatin1String("defaultTmpl"))
            values << stylemanifest::homeTemplates().value(0).file;
        else if (c == QLatin1String("headTmpl"))
            values << stylemanifest::innerTemplates().value(0).file;
        else
            values << QString(QLatin1String(""));
    }
    QStringList marks;
    for (int i = 0; i < cols.size(); ++i)
        marks << QStringLiteral("?");
    db.transaction([&] {
        db.exec(QStringLiteral("INSERT INTO user_info (%1) VALUES (%2)")
                    .arg(cols.join(QLatin1Char(',')), marks.join(QLatin1Char(','))),
                values);
        // The pickers' lists, in the manifest's order.
        for (const QString &f : stylemanifest::fonts())
            db.exec(QStringLiteral("INSERT INTO font (font) VALUES (?)"), {f});
        for (const stylemanifest::Template &t : stylemanifest::homeTemplates())
            db.exec(QStringLiteral("INSERT INTO defaultTmpl (tmplType, tmplName) VALUES (?, ?)"), {t.category, t.file});
        for (const stylemanifest::Template &t : stylemanifest::innerTemplates())
            db.exec(QStringLiteral("INSERT INTO headTmpl (tmplType, tmplName) VALUES (?, ?)"), {t.category, t.file});
    });
}

} // namespace schema
