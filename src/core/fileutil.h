#pragma once
// File and folder operations on the program and data folders. Failures throw
// err::FileError with the system's reason, naming the file as the user knows it (in
// their folder, never in one being built beside it).
//
// Whatever replaces a file or folder the user has writes the new state beside the old
// one, flushed to the disk, and swaps it in with a rename: a failure (a full disk, a
// kill, a power cut) leaves the old state whole and removes the new one. Symbolic links are copied as links, never
// followed, and a link that a copy replaces is replaced, never written through.

#include "core/errors.h"

#include <QFileDevice>
#include <QIODevice>
#include <QString>
#include <QStringList>
#include <functional>

namespace fileutil {

// Throws the failure of kind on path with the system's reason: that of the errno value
// errnum (none for 0), or why device failed (a disk that filled up part-way through is
// asked once more, so that it gives its reason). A path inside a folder being built for
// a FolderSwap is named as the folder the user knows.
[[noreturn]] void fail(err::Kind kind, const QString &path, int errnum = 0);
[[noreturn]] void fail(err::Kind kind, const QString &path, QFileDevice &device);

// Ensures a folder string ends in "/".
QString withSlash(const QString &folder);

// The start of the hidden name that a file is made under until it is whole: the file's
// name after a dot, then "~quorvik" (then a random suffix). No file of the user's has
// it by chance, so what a kill left can be known and removed.
QString temporaryStem(const QString &fileName);
// Whether fileName is such a name (of a file not yet whole, or one a kill left).
bool isTemporary(const QString &fileName);

// Writes all of data to out; false once out takes no more. A disk that fills up takes
// part of a piece first and gives its reason (no space left) only when asked for the
// rest: so it is asked.
bool writeWhole(QIODevice &out, const char *data, qint64 size);

// Writes path through write(), which gets a device open for writing and returns false
// when it could not produce the contents. The contents go to a temporary file beside
// path (named from temporaryStem), which replaces path only once it is complete. The
// file is writable by its owner.
void writeReplace(const QString &path, const std::function<bool(QIODevice &)> &write);

// Copies src to dst the same way, streamed; copying a file onto itself does nothing.
void copyReplace(const QString &src, const QString &dst);

// How copyTree treats a name that the destination already has.
enum class Existing {
    Replace, // the source's file or link replaces it; folders are merged
    Keep,    // it stays; folders are merged
};

// Copies src's files, links and subfolders into dst (created as needed). Entries of src
// named in leaveOut (top level only) are not copied. Copying a folder into itself does
// nothing. A link where a folder is copied (dst itself, or one inside it) is kept with
// Keep; with Replace it gives way to a real folder holding what it showed and the copy.
void copyTree(const QString &src, const QString &dst, Existing existing = Existing::Replace,
              const QStringList &leaveOut = {});

// A folder being replaced: the new contents are built in path(), a folder beside the
// target, and commit() swaps them in through a third name (target to the old name, the
// new folder to target, then the old one goes). Destroyed without commit(), the new
// folder goes and the target stays as it was. A target that is a link is replaced
// where the link leads. A target at the root of a mounted disk, which cannot be
// renamed, is replaced from inside: the new contents are built in a folder of its own
// inside it, and commit() moves the old entries out and the new ones in, so that a
// kill once they are complete is finished by recoverSwap(); it takes no companion.
//
// A file beside the target that belongs with it (a page and its pictures' folder) can
// be replaced in the same swap: once the new folder is complete, its new contents are
// written to companion(), and commit() renames them over the file right after the new
// folder is in place. A failure leaves the old folder with the old file; a kill leaves
// the old pair or the new one once recoverSwap() has run.
//
// A swap that must go in together with a record kept elsewhere (a database row naming
// the new file) is committed with that record: it is made once the new contents are
// complete on the disk and before anything of the target moves, so that it decides. A
// rename that fails after it has undo() take it back (when that fails too, the new
// contents stay for recoverSwap() to put in); after a kill, recoverSwap() asks whether
// it was made.
class FolderSwap {
public:
    explicit FolderSwap(const QString &target);
    ~FolderSwap();
    FolderSwap(const FolderSwap &) = delete;
    FolderSwap &operator=(const FolderSwap &) = delete;

    // The folder the new contents go into; ends in "/".
    QString path() const;
    // Where the new contents of the file fileName beside the target are written (one
    // file per swap), once the new folder is complete.
    QString companion(const QString &fileName);
    void commit(const std::function<void()> &record = {}, const std::function<void()> &undo = {});

private:
    // Flushes the entries of the new folder and its own.
    void syncNew();
    // The renames, each undone when a later one fails.
    void swapIn();
    void swapInside();
    // The folders of its own the swap may make.
    QStringList ownFolders() const;

    QString m_named; // the target as given
    QString m_target;
    bool m_inside; // the target is the root of a disk: replaced from inside
    QString m_staging;
    QString m_old;
    QString m_companion; // the file's new contents, or "" when the swap has none
    QString m_companionName;
    bool m_committed = false;
    bool m_kept = false; // left for recoverSwap(): its record could not be taken back
};

// Finishes a FolderSwap of target that was cut off (the program killed) after the new
// contents were complete, or removes what it left when they were not: afterwards
// target and its companion file are either the old ones or the new ones, whole, and
// nothing else is left. For a swap committed with a record, recorded(the companion's
// file name) tells whether the record was made.
void recoverSwap(const QString &target, const std::function<bool(const QString &)> &recorded = {});

// Deletes a folder with everything in it (a link is removed, not followed); a missing
// folder is not an error.
void removeFolder(const QString &folder);

// Whether folder (not a link) is the root of a mounted disk, which cannot be renamed.
bool isMountRoot(const QString &folder);

// Moves every entry of the folder from into the folder to, one rename each, but the
// program's own, to itself when it lies in from, and the file system's lost+found at
// the root of a disk (neither the user's nor the program's; copyTree leaves it out too).
void moveEntries(const QString &from, const QString &to);

// Makes a folder and its parents.
void makeFolder(const QString &folder);

// Renames a file, folder or link to a name nothing uses.
void rename(const QString &from, const QString &to);

// Failures injected by tests: the hook is asked before every step that touches the
// disk and makes the step fail (as a full disk would) when it returns true.
namespace faults {
enum class Step {
    Write,      // a piece of a file's contents
    Commit,     // a finished file replaces the old one
    Link,       // a link is made
    MakeFolder, // a folder is made
    Rename,     // a folder, or the file that goes with it, is renamed during a swap
    Remove,     // the old folder goes after a swap
    Sync,       // a file, or a folder's entries, are flushed to the disk
    Record,     // the record that commits a swap is made (a failure is the database's)
};
using Hook = std::function<bool(Step step, const QString &path)>;
void setHook(Hook hook);
} // namespace faults

} // namespace fileutil
