#pragma once
// The user's files in the data folder: pictures and pages copied in when chosen, and
// removed again only when the site no longer names them.

#include "core/sitedb.h"

#include <QString>
#include <QStringList>

namespace datafiles {

// The data folder's file that a name read from the site database (a picture,
// thumbnail, page, logo, background or head) stands for, or "" when the name is not a
// plain name (no folder part, not "." or ".."): such a name is left alone, never
// followed, and nothing is then read, written or deleted.
QString storedFile(const QString &dataFolder, const QString &name);

// Copies a chosen file into the data folder under its own name (or under `as`),
// replacing a file of that name, and returns the bare name. Choosing a file that
// already is the data folder's file copies nothing. The names of the site database and
// of SQLite's files beside it are refused. Throws err::FileError.
QString importFile(const QString &source, const QString &dataFolder, const QString &as = QString());

// How many files importFile has replaced by a new one of the same name so far. A web
// view keeps pictures by address: one that shows the data folder's pictures loads its
// document afresh when this has changed.
quint64 replacedCount();

// True when the site database names the file: a content record's value01..value04 (or
// an editor page's reference to it inside value01), or
// the profile's logo, background, custom home page, custom head or extra pages.
bool isNamed(SiteDb &db, const QString &name);

class PendingFiles;

// Copies a chosen file into the data folder so that the choice changes nothing stored:
// a file the folder holds is never written over, so a record's own picture chosen
// again stays as the record has it until a save names the new one. The file keeps its
// own name when the folder holds no file of that name and nothing names it, or when
// the folder's file has the same bytes (it is then simply used, unless it is another
// session's unsaved copy). Otherwise it goes under the first of stem2.ext, stem3.ext,
// ... that one of these allows. A copy goes on the list of `session`, which alone may
// use it until it is saved. The names importFile refuses are refused. Returns the name;
// throws err::FileError.
QString importChoice(SiteDb &db, const QString &source, const QString &dataFolder, PendingFiles *session = nullptr);

// Deletes those of the named files that the site database no longer names; failures
// to delete are passed over (a file left behind costs nothing but space). Names that
// are not plain, and the site database's own files, are never deleted.
void removeUnused(SiteDb &db, const QString &dataFolder, const QStringList &names);

// The files one editing session (a dialog, a page being edited) copied in and those it
// replaces: replaced files go only after the new state is saved, and only when nothing
// else names them; copies never saved go when the session is abandoned, unless
// something names them by then. A copy is the session's own until saved (importChoice
// hands it to no other chooser), so it goes even when the site cannot be asked.
class PendingFiles {
public:
    PendingFiles() = default;
    PendingFiles(const PendingFiles &) = delete;
    PendingFiles &operator=(const PendingFiles &) = delete;
    ~PendingFiles();

    // A file was copied in for this session.
    void chose(const QString &name);
    // A stored name that the session's save replaces.
    void replaces(const QString &name);
    // The session saved: replaced files and copies not kept go if unused.
    void saved(SiteDb &db, const QString &dataFolder);
    // The session was abandoned: its copies go if unused.
    void abandoned(SiteDb &db, const QString &dataFolder);
    bool isEmpty() const { return m_chosen.isEmpty() && m_replaced.isEmpty(); }

private:
    // Hands this session's unsaved copies back to every chooser.
    void release();

    QStringList m_chosen;
    QStringList m_replaced;
};

} // namespace datafiles
