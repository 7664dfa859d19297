#include "core/sitedb.h"

#include "core/textforms.h"

#include <QAtomicInt>
#include <QSet>
#include <QSqlDatabase>
#include <QUrl>

namespace {
QAtomicInt g_counter;
int g_busyTimeoutMs = 2000;

// What a failure from SQLite means for the user: another program holds the file, the
// file is damaged (or no database at all), it may not be written, another file was put
// in its place, its disk is full, or something else.
err::Kind kindOf(const QSqlError &error, err::Kind otherwise)
{
    bool ok = false;
    const int extended = error.nativeErrorCode().toInt(&ok);
    const int code = extended & 0xff; // primary result code
    if (!ok)
        return otherwise;
    switch (code) {
    case 8: // SQLITE_READONLY; SQLITE_READONLY_DBMOVED: the open file was renamed or removed
        return extended == 1032 ? err::Kind::DbReplaced : err::Kind::DbReadOnly;
    case 5:  // SQLITE_BUSY
    case 6:  // SQLITE_LOCKED
        return err::Kind::DbLocked;
    case 13: // SQLITE_FULL
        return err::Kind::DbFull;
    case 11: // SQLITE_CORRUPT
    case 26: // SQLITE_NOTADB
        return err::Kind::DbDamaged;
    default:
        return otherwise;
    }
}
// A bound value as the file keeps it: every text stored, and every text a row is looked
// up by, without control characters, so that a look-up finds what was stored; other
// values (numbers, bytes) as they are.
QVariant storedValue(const QVariant &v)
{
    if (v.typeId() != QMetaType::QString)
        return v;
    const QString text = v.toString();
    const QString kept = textforms::storedText(text);
    return kept.size() == text.size() ? v : QVariant(kept);
}
} // namespace

void SiteDb::setBusyTimeoutMs(int ms)
{
    g_busyTimeoutMs = ms;
}

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

bool SiteDb::open(const QString &filePath, const QStringList &tables, Check check)
{
    close();
    m_path = filePath;
    m_tables = tables;
    m_check = check;
    m_wanted = true;
    return tryOpen(g_busyTimeoutMs);
}

bool SiteDb::tryOpen(int waitMs) const
{
    QSqlDatabase db = QSqlDatabase::contains(m_name) ? QSqlDatabase::database(m_name, false)
                                                     : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    m_registered = true;
    m_open = false;
    m_depth = 0;
    if (db.isOpen())
        db.close();
    // mode=rw: a missing file fails instead of being created empty.
    db.setDatabaseName(QUrl::fromLocalFile(m_path).toString(QUrl::FullyEncoded) + QStringLiteral("?mode=rw"));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(waitMs));
    if (!db.open()) {
        m_failure = err::Kind::DbNotOpen;
        return false;
    }
    // Nothing is written before the file has shown itself whole: SQLite opens any file
    // lazily, so one read tells a database from garbage (or from a file another program
    // holds), and the integrity check finds damaged pages that a read may not touch. An
    // empty file is an empty database to SQLite: without the tables it is no site.
    const std::optional<err::Kind> refused = [&]() -> std::optional<err::Kind> {
        QSqlQuery q(db);
        q.setForwardOnly(true);
        if (!q.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type='table'")))
            return kindOf(q.lastError(), err::Kind::DbDamaged);
        QSet<QString> present;
        while (q.next())
            present.insert(q.value(0).toString().toLower());
        if (!q.exec(m_check == Check::Full ? QStringLiteral("PRAGMA integrity_check") : QStringLiteral("PRAGMA quick_check")))
            return kindOf(q.lastError(), err::Kind::DbDamaged);
        const bool whole = q.next() && q.value(0).toString() == QLatin1String("ok") && !q.next();
        if (!whole)
            return err::Kind::DbDamaged;
        for (const QString &table : m_tables)
            if (!present.contains(table.toLower()))
                return err::Kind::DbDamaged;
        if (!q.exec(QStringLiteral("PRAGMA busy_timeout=%1").arg(g_busyTimeoutMs)))
            return kindOf(q.lastError(), err::Kind::DbStatement);
        // The file is copied and zipped while open: keep it complete on its own.
        if (!q.exec(QStringLiteral("PRAGMA journal_mode=DELETE")))
            return kindOf(q.lastError(), err::Kind::DbStatement);
        if (!q.next() || q.value(0).toString().compare(QLatin1String("delete"), Qt::CaseInsensitive) != 0)
            return err::Kind::DbStatement;
        q.finish();
        return std::nullopt;
    }();
    if (refused) {
        db.close();
        m_failure = refused;
        return false;
    }
    m_open = true;
    m_failure.reset();
    return true;
}

bool SiteDb::isOpen() const
{
    return m_open && QSqlDatabase::database(m_name, false).isOpen();
}

std::optional<err::Kind> SiteDb::openFailure() const
{
    if (isOpen())
        return std::nullopt;
    return m_failure.value_or(err::Kind::DbNotOpen);
}

void SiteDb::close()
{
    if (m_registered && QSqlDatabase::contains(m_name)) {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        if (db.isOpen())
            db.close();
    }
    m_open = false;
    m_wanted = false;
    m_failure.reset();
    m_depth = 0;
}

bool SiteDb::readableNow()
{
    if (!isOpen())
        return m_wanted && tryOpen(0);
    QSqlQuery q(QSqlDatabase::database(m_name, false));
    q.exec(QStringLiteral("PRAGMA busy_timeout=0"));
    const bool readable = q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"));
    q.finish();
    q.exec(QStringLiteral("PRAGMA busy_timeout=%1").arg(g_busyTimeoutMs));
    return readable;
}

void SiteDb::ensureOpen() const
{
    if (isOpen())
        return;
    // Tried again without waiting: the user sees at once that the file is still held.
    if (m_wanted && tryOpen(0))
        return;
    throw err::DbError(m_failure.value_or(err::Kind::DbNotOpen));
}

QSqlQuery SiteDb::run(const QString &sql, const QVariantList &binds) const
{
    QSqlError error;
    {
        QSqlQuery q(QSqlDatabase::database(m_name, false));
        q.setForwardOnly(true);
        if (q.prepare(sql)) {
            for (const QVariant &v : binds)
                q.addBindValue(storedValue(v));
            if (q.exec())
                return q;
        }
        error = q.lastError();
    }
    fail(error, err::Kind::DbStatement);
}

void SiteDb::fail(const QSqlError &error, err::Kind otherwise) const
{
    const err::Kind kind = kindOf(error, otherwise);
    if (kind == err::Kind::DbDamaged) {
        // Damage found while running: nothing more goes into the file.
        QSqlDatabase::database(m_name, false).close();
        m_open = false;
        m_depth = 0;
        m_failure = kind;
    }
    throw err::DbError(kind, kind == otherwise ? error.text() : QString());
}

Rows SiteDb::select(const QString &sql, const QVariantList &binds) const
{
    ensureOpen();
    QSqlQuery q = run(sql, binds);
    Rows rows;
    while (q.next())
        rows.push_back(q.record());
    return rows;
}

int SiteDb::exec(const QString &sql, const QVariantList &binds)
{
    ensureOpen();
    QSqlQuery q = run(sql, binds);
    const QVariant id = q.lastInsertId();
    if (id.isValid())
        m_lastInsertId = id.toLongLong();
    return q.numRowsAffected();
}

void SiteDb::transaction(const std::function<void()> &body)
{
    ensureOpen();
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
        fail(db.lastError(), err::Kind::DbTransaction);
    m_depth = 1;
    try {
        body();
    } catch (...) {
        m_depth = 0;
        if (isOpen())
            db.rollback();
        throw;
    }
    m_depth = 0;
    if (!db.commit()) {
        const QSqlError why = db.lastError();
        db.rollback();
        fail(why, err::Kind::DbTransaction);
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
