#include "design/catalogstore.h"

#include "core/schema.h"

#include <QRandomGenerator>
#include <QSqlRecord>

namespace design {

namespace {

const QString kFolderImage = QStringLiteral("fclose");
const QString kFileImage = QStringLiteral("file");

// Fills the tree in pre-order, numbering nodes as they are added (root = 1).
class TreeLoader {
public:
    explicit TreeLoader(SiteDb &db)
        : m_db(db)
    {
    }

    void loadChildren(CatalogNode &parent, Level level)
    {
        const LevelTables t = *tablesOf(level);
        QString sql = QStringLiteral("SELECT * FROM %1").arg(t.table);
        QVariantList binds;
        if (level == Level::Second) {
            sql += QStringLiteral(" WHERE firstCatalog=?");
            binds << db::str(parent.text);
        } else if (level == Level::Third) {
            sql += QStringLiteral(" WHERE secondCatalog=?");
            binds << db::str(parent.text);
        }
        sql += QStringLiteral(" ORDER BY orderID, rowid");
        const Rows rows = m_db.select(sql, binds);
        int n = 0;
        for (const QSqlRecord &rec : rows) {
            ++n;
            CatalogNode node;
            node.key = level == Level::First
                ? QStringLiteral("fst_%1").arg(n)
                : QStringLiteral("%1_%2_%3").arg(keyPrefix(level)).arg(parent.index).arg(n);
            node.text = db::text(rec, t.nameColumn);
            if (!db::isNull(rec, QStringLiteral("catalog")))
                node.tag = db::integer(rec, QStringLiteral("catalog")) != 0;
            node.image = node.tag.value_or(false) ? kFolderImage : kFileImage;
            node.index = ++m_count;
            parent.children.push_back(std::move(node));
            if (level != Level::Third)
                loadChildren(parent.children.back(), childLevel(level));
        }
    }

    int m_count = 1; // the root

private:
    SiteDb &m_db;
};

// Runs body in a transaction; a DbNoRow it throws rolls back and answers false.
bool allOrNothing(SiteDb &db, const std::function<void()> &body)
{
    try {
        db.transaction(body);
    } catch (const err::DbError &e) {
        if (e.kind() != err::Kind::DbNoRow)
            throw;
        return false;
    }
    return true;
}

} // namespace

CatalogTree buildCatalogTree(SiteDb &db)
{
    CatalogTree tree;
    CatalogNode &root = tree.root;
    root.key = QStringLiteral("root");
    root.isRoot = true;
    root.image = kFolderImage;
    root.index = 1;
    root.text = QString(QLatin1String(""));
    try {
        const Rows profile = db.select(QStringLiteral("SELECT * FROM user_info"));
        if (!profile.empty())
            root.text = db::text(profile.front(), QStringLiteral("webName"));
        TreeLoader(db).loadChildren(root, Level::First);
    } catch (const std::exception &e) {
        tree.error = err::descriptionOf(e);
        if (const auto *error = dynamic_cast<const err::Error *>(&e))
            tree.errorKind = error->kind();
    }
    return tree;
}

bool nodeTextExists(const CatalogNode &root, const QString &text)
{
    if (root.text == text)
        return true;
    for (const CatalogNode &c : root.children)
        if (nodeTextExists(c, text))
            return true;
    return false;
}

int drawKeyNumber()
{
    return int(QRandomGenerator::global()->bounded(10001));
}

QString drawFreeKey(Level childLevel, const QSet<QString> &usedKeys, const KeyDraw &draw)
{
    const QString prefix = keyPrefix(childLevel) + QLatin1Char('_');
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const QString key = prefix + QString::number(draw());
        if (!usedKeys.contains(key))
            return key;
    }
    // The draws keep hitting used keys: take the first free number instead.
    for (qint64 n = 0;; ++n) {
        const QString key = prefix + QString::number(n);
        if (!usedKeys.contains(key))
            return key;
    }
}

QSet<QString> keysOf(const CatalogNode &root)
{
    QSet<QString> keys{root.key};
    for (const CatalogNode &c : root.children)
        keys.unite(keysOf(c));
    return keys;
}

CatalogStore::CatalogStore(SiteDb &db)
    : m_db(db)
{
}

qint64 CatalogStore::getNextOrderID(Level parentLevel, const QString &parentName) const
{
    QString sql;
    QVariantList binds;
    switch (parentLevel) {
    case Level::Root:
        sql = QStringLiteral("SELECT MAX(orderID) AS orderID_Max FROM firstCatalog");
        break;
    case Level::First:
        sql = QStringLiteral("SELECT MAX(orderID) AS orderID_Max FROM secondCatalog WHERE firstCatalog=?");
        binds << db::str(parentName);
        break;
    case Level::Second:
        sql = QStringLiteral("SELECT MAX(orderID) AS orderID_Max FROM thirdCatalog WHERE secondCatalog=?");
        binds << db::str(parentName);
        break;
    default:
        return -1;
    }
    const Rows rows = m_db.select(sql, binds);
    if (rows.empty())
        return -1;
    return db::integer(rows.front(), QStringLiteral("orderID_Max"), 0);
}

qint64 CatalogStore::getOrderID(Level level, const QString &name) const
{
    const auto t = tablesOf(level);
    if (!t)
        return -1;
    const Rows rows = m_db.select(QStringLiteral("SELECT orderID FROM %1 WHERE %2=?").arg(t->table, t->nameColumn),
                                  {db::str(name)});
    if (rows.empty())
        return -1;
    return db::integer(rows.front(), QStringLiteral("orderID"), 0);
}

void CatalogStore::setOrderID(Level level, const QString &nameA, const QString &nameB, qint64 orderA, qint64 orderB)
{
    const auto t = tablesOf(level);
    if (!t)
        return;
    const QString sql = QStringLiteral("UPDATE %1 SET orderID=? WHERE %2=?").arg(t->table, t->nameColumn);
    m_db.transaction([&] {
        if (m_db.exec(sql, {orderB, db::str(nameA)}) == 0 || m_db.exec(sql, {orderA, db::str(nameB)}) == 0)
            throw err::DbError(err::Kind::DbNoRow);
    });
}

int CatalogStore::deleteCatalog(Level level, const QString &name)
{
    // Children and content rows first, the column's own row last; the data folder's
    // picture files stay (other records and the profile may name them).
    QStringList steps;
    QString own;
    switch (level) {
    case Level::First: {
        const QString s = QStringLiteral("SELECT secondCatalog FROM secondCatalog WHERE firstCatalog=?");
        const QString third = QStringLiteral("secondCatalog IN (%1) OR firstCatalog=?").arg(s);
        steps << QStringLiteral("DELETE FROM content03 WHERE thirdCatalog IN (SELECT thirdCatalog FROM thirdCatalog WHERE %1)")
                     .arg(third)
              << QStringLiteral("DELETE FROM thirdCatalog WHERE %1").arg(third)
              << QStringLiteral("DELETE FROM content02 WHERE secondCatalog IN (%1)").arg(s)
              << QStringLiteral("DELETE FROM secondCatalog WHERE firstCatalog=?")
              << QStringLiteral("DELETE FROM content01 WHERE firstCatalog=?");
        own = QStringLiteral("DELETE FROM firstCatalog WHERE firstCatalog=?");
        break;
    }
    case Level::Second:
        steps << QStringLiteral("DELETE FROM content03 WHERE thirdCatalog IN "
                                "(SELECT thirdCatalog FROM thirdCatalog WHERE secondCatalog=?)")
              << QStringLiteral("DELETE FROM thirdCatalog WHERE secondCatalog=?")
              << QStringLiteral("DELETE FROM content02 WHERE secondCatalog=?");
        own = QStringLiteral("DELETE FROM secondCatalog WHERE secondCatalog=?");
        break;
    case Level::Third:
        steps << QStringLiteral("DELETE FROM content03 WHERE thirdCatalog=?");
        own = QStringLiteral("DELETE FROM thirdCatalog WHERE thirdCatalog=?");
        break;
    default:
        return 0;
    }
    int removed = 0;
    m_db.transaction([&] {
        // Every "?" of these statements stands for the column's name.
        auto nameFor = [&](const QString &sql) { return QVariantList(sql.count(QLatin1Char('?')), db::str(name)); };
        for (const QString &sql : steps)
            m_db.exec(sql, nameFor(sql));
        removed = m_db.exec(own, nameFor(own));
    });
    return removed;
}

int CatalogStore::renameCatalog(Level level, const QString &oldName, const QString &newName)
{
    const auto t = tablesOf(level);
    if (!t)
        return 0;
    // (table, column) pairs that name the column, its own row first.
    QList<QPair<QString, QString>> targets{{t->table, t->nameColumn}};
    if (level == Level::First)
        targets << qMakePair(QStringLiteral("secondCatalog"), QStringLiteral("firstCatalog"))
                << qMakePair(QStringLiteral("thirdCatalog"), QStringLiteral("firstCatalog"));
    else if (level == Level::Second)
        targets << qMakePair(QStringLiteral("thirdCatalog"), QStringLiteral("secondCatalog"));
    targets << qMakePair(t->contentTable, t->ownerColumn);
    int own = 0;
    m_db.transaction([&] {
        for (int i = 0; i < targets.size(); ++i) {
            const int n = m_db.exec(QStringLiteral("UPDATE %1 SET %2=? WHERE %2=?").arg(targets[i].first, targets[i].second),
                                    {db::str(newName), db::str(oldName)});
            if (i == 0)
                own = n;
        }
    });
    return own;
}

int CatalogStore::setAspFileName(Level level, const QString &name, const QString &format)
{
    const auto t = tablesOf(level);
    if (!t)
        return 0;
    return m_db.exec(QStringLiteral("UPDATE %1 SET aspFileName=? WHERE %2=?").arg(t->table, t->nameColumn),
                     {db::str(format), db::str(name)});
}

QString CatalogStore::getAspFileName(Level level, const QString &name) const
{
    const auto t = tablesOf(level);
    if (!t)
        return kNoFormat;
    const Rows rows = m_db.select(QStringLiteral("SELECT aspFileName FROM %1 WHERE %2=?").arg(t->table, t->nameColumn),
                                  {db::str(name)});
    if (rows.empty())
        return kNoFormat;
    return db::text(rows.front(), QStringLiteral("aspFileName"));
}

bool CatalogStore::addCategory(Level parentLevel, const QString &parentName, const QString &name, qint64 orderID)
{
    if (parentLevel == Level::Root)
        m_db.exec(QStringLiteral("INSERT INTO firstCatalog (firstCatalog, catalog, orderID) VALUES (?, 1, ?)"),
                  {db::str(name), orderID});
    else if (parentLevel == Level::First)
        m_db.exec(QStringLiteral("INSERT INTO secondCatalog (firstCatalog, secondCatalog, catalog, orderID) "
                                 "VALUES (?, ?, 1, ?)"),
                  {db::str(parentName), db::str(name), orderID});
    else
        return false;
    return true;
}

bool CatalogStore::addPage(Level parentLevel, const QString &parentName, const QString &grandParentName,
                           const QString &name, qint64 orderID, const QString &format)
{
    if (parentLevel == Level::Root)
        m_db.exec(QStringLiteral("INSERT INTO firstCatalog (firstCatalog, catalog, orderID, aspFileName) "
                                 "VALUES (?, 0, ?, ?)"),
                  {db::str(name), orderID, db::str(format)});
    else if (parentLevel == Level::First)
        m_db.exec(QStringLiteral("INSERT INTO secondCatalog (firstCatalog, secondCatalog, catalog, orderID, aspFileName) "
                                 "VALUES (?, ?, 0, ?, ?)"),
                  {db::str(parentName), db::str(name), orderID, db::str(format)});
    else if (parentLevel == Level::Second)
        m_db.exec(QStringLiteral("INSERT INTO thirdCatalog (firstCatalog, secondCatalog, thirdCatalog, catalog, "
                                 "orderID, aspFileName) VALUES (?, ?, ?, 0, ?, ?)"),
                  {db::str(grandParentName), db::str(parentName), db::str(name), orderID, db::str(format)});
    else
        return false;
    return true;
}

bool CatalogStore::changeFormat(Level level, const QString &name, const QString &format)
{
    const auto t = tablesOf(level);
    if (!t)
        return false;
    QStringList blanks;
    const QStringList fields = schema::fieldColumns();
    const QStringList values = schema::valueColumns();
    for (int i = 0; i < fields.size(); ++i)
        blanks << fields[i] + QStringLiteral("=''") << values[i] + QStringLiteral("=''");
    const QString clear =
        QStringLiteral("UPDATE %1 SET %2 WHERE %3=?").arg(t->contentTable, blanks.join(QStringLiteral(", ")), t->ownerColumn);
    return allOrNothing(m_db, [&] {
        m_db.exec(clear, {db::str(name)});
        if (setAspFileName(level, name, format) == 0)
            throw err::DbError(err::Kind::DbNoRow);
    });
}

bool CatalogStore::pageExists(Level level, const QString &name) const
{
    const auto t = tablesOf(level);
    if (!t)
        return false;
    return !m_db.select(QStringLiteral("SELECT 1 FROM %1 WHERE %2=? LIMIT 1").arg(t->table, t->nameColumn),
                        {db::str(name)})
                .empty();
}

bool CatalogStore::nameTaken(const QString &name) const
{
    const QVariant n = db::str(name);
    return !m_db.select(QStringLiteral("SELECT 1 FROM firstCatalog WHERE firstCatalog=? "
                                       "UNION ALL SELECT 1 FROM secondCatalog WHERE secondCatalog=? "
                                       "UNION ALL SELECT 1 FROM thirdCatalog WHERE thirdCatalog=? LIMIT 1"),
                        {n, n, n})
                .empty();
}

} // namespace design
