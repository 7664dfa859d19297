#pragma once
// One catalogue of the Chinese texts that describe failures to the user, and the
// exception types that carry them from the plain classes to the windows.

#include <QString>
#include <stdexcept>

namespace err {

enum class Kind {
    DbNotOpen,      // the site database connection is closed
    DbLocked,       // another program holds the site database
    DbDamaged,      // the site database file is damaged or is no database
    DbReadOnly,     // the site database, or its folder, may not be written
    DbReplaced,     // another program put another file in the site database's place
    DbFull,         // the disk of the site database is full
    BackupDamaged,  // the backup's site database is damaged: nothing was restored
    DbStatement,    // a statement was refused
    DbNoRow,        // a statement changed no row
    DbTransaction,  // a transaction could not begin or commit
    FileMissing,    // a file or folder that must exist does not
    FileReserved,   // a file name the program keeps for itself
    FileCopy,
    FileDelete,
    FileRead,
    FileWrite,
    FolderCreate,
    SocketConnect,
    SocketRefused,
    SocketClosed,
    SocketTimeout,
    SocketOther,
    Overflow,       // a number too large for what it counts
    Unexpected,
    FileNameCharset, // a file name the server's code page (GBK) cannot hold
    Archive,         // the zip library could not write an archive
};

// The catalogue text for a kind of failure.
QString text(Kind kind);

// The number shown in front of a description where a box gives one; stable per kind.
int number(Kind kind);

// "text：detail" (or the text alone when there is no detail); with the system's reason,
// "text，reason：detail".
QString describe(Kind kind, const QString &detail = QString(), const QString &reason = QString());

// Why the system refused a file operation (an errno value), in the catalogue's words.
QString systemReason(int errnum);

// A fixed message naming the place of a failure, with the failure's description on the
// next line (CR LF), so the user learns why.
QString withReason(const QString &message, const QString &description);

// Base of every failure the program reports: what() is the UTF-8 description.
class Error : public std::runtime_error {
public:
    Error(Kind kind, const QString &detail = QString(), const QString &reason = QString());
    Kind kind() const { return m_kind; }
    QString description() const { return m_description; }
    QString detail() const { return m_detail; }

private:
    Kind m_kind;
    QString m_detail;
    QString m_description;
};

class DbError : public Error {
public:
    using Error::Error;
};

class FileError : public Error {
public:
    using Error::Error;
};

// The description of any exception caught by a handler.
QString descriptionOf(const std::exception &e);
// Its number (that of Unexpected for exceptions not of this program).
int numberOf(const std::exception &e);

} // namespace err
