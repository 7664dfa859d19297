#pragma once
// Backup of the data folder in use into the program's savedData/, and its restore. Both
// build the new state in a folder beside the one they replace and swap it in, so that a
// failure or a kill leaves the old state or the new one, whole.

#include "core/sitedb.h"

#include <QString>

namespace backup {

// Replaces backupFolder with a copy of dataFolder. Throws err::Error; the previous
// backup is then kept as it was. A site database that is not whole
// (damaged, or without the site's tables) never replaces a backup.
void save(const QString &dataFolder, const QString &backupFolder);

// Restores backupFolder into dataFolder: files of the backup replace those of the same
// name, files only in the data folder stay. conn is closed for the swap and opened again
// on the data folder's database whether the restore succeeded or not. Throws err::Error;
// the data folder is then as it was. A backup whose site database is not
// whole is refused.
void restore(const QString &backupFolder, const QString &dataFolder, SiteDb &conn);

} // namespace backup
