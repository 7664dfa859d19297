#pragma once
// The one connection to the site database file. Reads come back materialised; every
// value is bound; failures throw err::DbError with a description from the catalogue.

#include "platform/errors.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QVariant>
#include <functional>
#include <optional>
#include <vector>

using Rows = std::vector<QSqlRecord>;

class SiteDb {
public:
    SiteDb();
    ~SiteDb();
    SiteDb(const SiteDb &) = delete;
    SiteDb &operator=(const SiteDb &) = delete;

    // Opens an existing database file read-write; never creates one. A file that is
    // not a database, or one whose pages fail the integrity check, counts as not open
    // and is never written; so does a file another program holds locked. Returns
    // isOpen(). Until close(), a statement run while the connection is not open tries
    // once more to open the file (without waiting for a lock), so that a lock released
    // later costs nothing but the actions tried while it was held.
    bool open(const QString &filePath);
    bool isOpen() const;
    void close();
    // Why the last open failed: DbNotOpen (a missing or unreadable file), DbLocked or
    // DbDamaged; nullopt while open.
    std::optional<err::Kind> openFailure() const;
    // How long a statement waits for a lock another program holds, in ms.
    static void setBusyTimeoutMs(int ms);
    // Closes and lets go of the driver connection; done before the application object
    // goes (a later open registers it again).
    void release();
    QString filePath() const { return m_path; }

    // Runs a read and returns all its rows.
    Rows select(const QString &sql, const QVariantList &binds = {}) const;
    // Runs a change and returns the number of rows it affected.
    int exec(const QString &sql, const QVariantList &binds = {});
    qint64 lastInsertId() const { return m_lastInsertId; }

    // Runs body inside one transaction: commit when it returns, roll back and rethrow
    // when it throws. Nested calls join the outer transaction.
    void transaction(const std::function<void()> &body);

    QString connectionName() const { return m_name; }

private:
    // One attempt to open m_path, waiting waitMs for a lock.
    bool tryOpen(int waitMs) const;
    // Throws when the connection is not open and cannot be opened again.
    void ensureOpen() const;
    // Prepares, binds and runs one statement; throws on failure.
    QSqlQuery run(const QString &sql, const QVariantList &binds) const;
    [[noreturn]] void fail(const QSqlError &error, err::Kind otherwise) const;

    QString m_name;
    QString m_path;
    bool m_wanted = false; // open() was called and close() was not
    mutable bool m_open = false;
    mutable std::optional<err::Kind> m_failure;
    mutable bool m_registered = false;
    mutable int m_depth = 0;
    qint64 m_lastInsertId = -1;
};

// Field helpers: look-ups by name ignore case.
namespace db {
// The text of a field; Null (or a missing field) gives "".
QString text(const QSqlRecord &rec, const QString &field);
// The text of a field, or nullopt when it is Null or missing.
std::optional<QString> optText(const QSqlRecord &rec, const QString &field);
// The whole-number value of a field; Null, missing or non-numeric gives fallback.
qint64 integer(const QSqlRecord &rec, const QString &field, qint64 fallback = 0);
bool isNull(const QSqlRecord &rec, const QString &field);
// Binds a text so that a null QString is stored as '' rather than NULL.
QVariant str(const QString &s);
} // namespace db
