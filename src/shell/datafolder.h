#pragma once
// Finding the data folder at start-up, and repairing it from the pristine copies in
// initdata/ when it is missing or holds no site database.

#include <QString>

namespace datafolder {

inline const QString kPathFile = QStringLiteral("initPath.ini");
inline const QString kDefaultFolder = QStringLiteral("userImages/");
inline const QString kInitFolder = QStringLiteral("initdata/");
inline const QString kBackupFolder = QStringLiteral("savedData/");

struct Folders {
    QString currImgPath;  // the data folder in use, ending in "/"
    QString currDataPath; // the data folder as first read, kept when the repair switches
    bool repaired = false; // the default folder was reset from initdata/
};

// Reads programFolder + "initPath.ini" and repairs what is missing. programFolder ends
// in "/". Throws err::FileError when the repair itself cannot be done.
Folders findAndRepair(const QString &programFolder);

} // namespace datafolder
