#pragma once
// The names of what the data folder holds, and of the upload archive beside the
// program: one spelling for the data folder's repair, the data files, backup and
// restore, packing and the template pages.

#include <QString>
#include <QStringList>

namespace datalayout {

// The site database.
inline const QString kDbName = QStringLiteral("brevonel.qdb");
// SQLite's own files beside a database while it works on it: the database's name and
// one of these.
inline const QStringList kSqliteSuffixes = {QStringLiteral("-journal"), QStringLiteral("-wal"), QStringLiteral("-shm")};
// The pictures folder of the pages.
inline const QString kImagesFolder = QStringLiteral("images");
// The pictures folder packed for an upload, kept in the data folder.
inline const QString kImagesArchive = QStringLiteral("images.zip");
// Everything packed for an upload, in the program folder.
inline const QString kUploadArchive = QStringLiteral("ziptest.zip");

} // namespace datalayout
