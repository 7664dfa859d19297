#pragma once
// Temporary program folders and site databases for tests.

#include "core/datalayout.h"
#include "core/fileutil.h"
#include "core/sitedb.h"

#include <QMap>
#include <QMetaType>
#include <QString>
#include <QTemporaryDir>

namespace testenv {

// The program folder the build laid out (ends in "/").
QString appDir();

// Writes a file (creating its folder); returns its path.
QString writeFile(const QString &path, const QByteArray &bytes = QByteArray());
QByteArray readFile(const QString &path);

// What a symbolic link says, as written.
QByteArray linkText(const QString &link);

// Every entry under folder, hidden ones too, links not followed: "dir/" -> "",
// "file" -> its contents, "link@" -> what the link says. Empty when folder is missing.
using Snapshot = QMap<QString, QByteArray>;
Snapshot folderSnapshot(const QString &folder);

// Gives the owner write (and folders search) permission on everything under folder, so
// that read-only test files can be removed.
void makeWritable(const QString &folder);

// Makes the file helpers fail the nth time (from 1) they take a step, as a full disk or
// a refused rename would; steps back when it goes.
class FileFault {
public:
    FileFault(fileutil::faults::Step step, int nth);
    ~FileFault();
    FileFault(const FileFault &) = delete;
    FileFault &operator=(const FileFault &) = delete;
    bool fired() const { return m_fired; }

private:
    int m_seen = 0;
    bool m_fired = false;
};

// Runs pending events and deferred deletions (windows unloaded with deleteLater).
void settle();

// Makes the site database at path disagree with one of its indexes, as a file cut off
// or written by a faulty program may: two first-level columns are added whose rows the
// index of column names misses. SQLite's quick check passes it; its full integrity check does not.
void breakIndex(const QString &path);

// The entry names of a zip archive, in their order, read as GBK (empty when it cannot
// be read).
QStringList zipEntries(const QString &archive);

// A fresh, empty-tree site database made from the schema at path, opened on db.
void makeDatabase(SiteDb &db, const QString &path);

// A small file system of its own (a tmpfs, which needs root), so that it fills up or
// can be made read-only; mounted on a temporary folder, or on the folder at (made if
// missing); unmounted when done.
class SmallDisk {
public:
    explicit SmallDisk(int kb, const QString &at = QString());
    ~SmallDisk();
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;
    bool mounted() const { return m_mounted; }
    // The mount's root; ends in "/".
    QString path() const { return m_root + QLatin1Char('/'); }
    // Fills the disk until only about `kb` are free.
    void leaveFree(int kb);
    bool remountReadOnly();

private:
    QTemporaryDir m_dir;
    QString m_root;
    bool m_mounted = false;
};

// A temporary program folder with a copy of the build's initdata/ and host pages.
class ProgramFolder {
public:
    ProgramFolder();
    bool isValid() const { return m_dir.isValid(); }
    // Ends in "/".
    QString path() const { return m_dir.path() + QLatin1Char('/'); }
    QString file(const QString &relative) const { return path() + relative; }

private:
    QTemporaryDir m_dir;
};

// A temporary folder holding one fresh database, opened for the test.
class TempDatabase {
public:
    TempDatabase();
    SiteDb db;
    QString folder() const { return m_dir.path() + QLatin1Char('/'); }
    QString path() const { return folder() + datalayout::kDbName; }

private:
    QTemporaryDir m_dir;
};

// Another program holding the site database that db has open (BEGIN EXCLUSIVE on a
// connection of its own) from its construction until release() or the end of the
// scope; lock() takes the file again. Meanwhile db waits only briefly for a lock, so
// that each refused statement costs little.
class OtherProgramLock {
public:
    explicit OtherProgramLock(SiteDb &db);
    ~OtherProgramLock();
    OtherProgramLock(const OtherProgramLock &) = delete;
    OtherProgramLock &operator=(const OtherProgramLock &) = delete;
    void lock();
    void release();

private:
    SiteDb &m_db;
    bool m_held = false;
};

} // namespace testenv

Q_DECLARE_METATYPE(fileutil::faults::Step)
