#pragma once
// File and folder operations on the program and data folders. Failures throw err::FileError.

#include <QString>

namespace fileutil {

// Ensures a folder string ends in "/".
QString withSlash(const QString &folder);

// Copies src to dst, replacing dst; the copy is writable by its owner whatever src was.
void copyReplace(const QString &src, const QString &dst);

// Deletes every file (hidden ones too) and every subfolder inside folder; the folder stays.
// Refuses a folder that is empty text or the file-system root.
void clearFolder(const QString &folder);

// Deletes a folder with everything in it; a missing folder is not an error.
void removeFolder(const QString &folder);

// Copies src's files and subfolders into dst (created as needed), replacing files of the
// same name; files only in dst stay.
void copyFolder(const QString &src, const QString &dst);

// Makes a folder and its parents.
void makeFolder(const QString &folder);

} // namespace fileutil
