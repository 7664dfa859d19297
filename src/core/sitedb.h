#pragma once
// The one connection to the site database file. Reads come back materialised; every
// value is bound, texts without control characters (textforms::storedText); failures
// throw err::DbError with a description from the catalogue.

#include "core/errors.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
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

    // How thoroughly an open checks the file.
    enum class Check {
        Quick, // SQLite's quick check of every page
        Full,  // its full integrity check, which also compares every index with its table
    };

    // Opens an existing database file read-write; never creates one. A file that is
    // not a database, one that fails the check, or one that lacks any of the named
    // tables counts as damaged: not open, and never written; so does a file another
    // program holds locked. Returns isOpen(). Until close(), a statement run while the
    // connection is not open tries once more to open the file the same way (without
    // waiting for a lock), so that a lock released later costs nothing but the actions
    // tried while it was held.
    bool open(const QString &filePath, const QStringList &tables = {}, Check check = Check::Quick);
    bool isOpen() const;
    void close();
    // Why the last open failed: DbNotOpen (a missing or unreadable file), DbLocked,
    // DbDamaged, or DbStatement (the file could not be set up to stay complete on its
    // own); nullopt while open.
    std::optional<err::Kind> openFailure() const;
    // Whether the file can be read at this moment, without waiting for a lock another
    // program holds: a connection that is not open is opened again as a statement would.
    bool readableNow();
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
    QStringList m_tables;
    Check m_check = Check::Quick;
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
