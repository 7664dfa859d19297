#include "platform/sitedb.h"

#include <QAtomicInt>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

namespace {
QAtomicInt g_counter;

QSqlQuery prepared(QSqlDatabase db, const QString &sql, const QVariantList &binds)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        throw err::DbError(err::Kind::DbStatement, q.lastError().text());
    for (const QVariant &v : binds)
        q.addBindValue(v);
    if (!q.exec())
        throw err::DbError(err::Kind::DbStatement, q.lastError().text());
    return q;
}
} // namespace

SiteDb::SiteDb()
    : m_name(QStringLiteral("site-db-%1").arg(g_counter.fetchAndAddRelaxed(1)))
{
}

SiteDb::~SiteDb()
{
    release();
}

void SiteDb::release()
{
    if (!m_registered)
        return;
    close();
    QSqlDatabase::removeDatabase(m_name);
    m_registered = false;
}

bool SiteDb::open(const QString &filePath)
{
    close();
    m_path = filePath;
    QSqlDatabase db = QSqlDatabase::contains(m_name) ? QSqlDatabase::database(m_name, false)
                                                     : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    m_registered = true;
    // mode=rw: a missing file fails instead of being created empty.
    db.setDatabaseName(QUrl::fromLocalFile(filePath).toString(QUrl::FullyEncoded) + QStringLiteral("?mode=rw"));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=2000"));
    if (!db.open())
        return false;
    QSqlQuery probe(db);
    // SQLite opens any file lazily; one read tells a database from garbage.
    if (!probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
        probe.finish();
        db.close();
        return false;
    }
    probe.finish();
    // The file is copied and zipped while open: keep it complete on its own.
    QSqlQuery journal(db);
    journal.exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
    journal.finish();
    m_open = true;
    m_depth = 0;
    return true;
}

bool SiteDb::isOpen() const
{
    return m_open && QSqlDatabase::database(m_name, false).isOpen();
}

void SiteDb::close()
{
    if (m_registered && QSqlDatabase::contains(m_name)) {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        if (db.isOpen())
            db.close();
    }
    m_open = false;
    m_depth = 0;
}

Rows SiteDb::select(const QString &sql, const QVariantList &binds) const
{
    if (!isOpen())
        throw err::DbError(err::Kind::DbNotOpen);
    QSqlQuery q = prepared(QSqlDatabase::database(m_name, false), sql, binds);
    Rows rows;
    while (q.next())
        rows.push_back(q.record());
    return rows;
}

int SiteDb::exec(const QString &sql, const QVariantList &binds)
{
    if (!isOpen())
        throw err::DbError(err::Kind::DbNotOpen);
    QSqlQuery q = prepared(QSqlDatabase::database(m_name, false), sql, binds);
    const QVariant id = q.lastInsertId();
    if (id.isValid())
        m_lastInsertId = id.toLongLong();
    return q.numRowsAffected();
}

void SiteDb::transaction(const std::function<void()> &body)
{
    if (!isOpen())
        throw err::DbError(err::Kind::DbNotOpen);
    if (m_depth > 0) {
        ++m_depth;
        try {
            body();
        } catch (...) {
            --m_depth;
            throw;
        }
        --m_depth;
        return;
    }
    QSqlDatabase db = QSqlDatabase::database(m_name, false);
    if (!db.transaction())
        throw err::DbError(err::Kind::DbTransaction, db.lastError().text());
    m_depth = 1;
    try {
        body();
    } catch (...) {
        m_depth = 0;
        db.rollback();
        throw;
    }
    m_depth = 0;
    if (!db.commit()) {
        const QString why = db.lastError().text();
        db.rollback();
        throw err::DbError(err::Kind::DbTransaction, why);
    }
}

namespace db {

QString text(const QSqlRecord &rec, const QString &field)
{
    return optText(rec, field).value_or(QString(""));
}

std::optional<QString> optText(const QSqlRecord &rec, const QString &field)
{
    const int i = rec.indexOf(field);
    if (i < 0 || rec.isNull(i))
        return std::nullopt;
    return rec.value(i).toString();
}

qint64 integer(const QSqlRecord &rec, const QString &field, qint64 fallback)
{
    const int i = rec.indexOf(field);
    if (i < 0 || rec.isNull(i))
        return fallback;
    bool ok = false;
    const qint64 v = rec.value(i).toLongLong(&ok);
    return ok ? v : fallback;
}

bool isNull(const QSqlRecord &rec, const QString &field)
{
    const int i = rec.indexOf(field);
    return i < 0 || rec.isNull(i);
}

QVariant str(const QString &s)
{
    return QVariant(s.isNull() ? QString(QLatin1String("")) : s);
}

} // namespace db
