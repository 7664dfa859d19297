#pragma once
// Finding the data folder at start-up, and repairing it from the pristine copies in
// initdata/ when it is missing or holds no site database.

#include "core/message.h"

#include <QList>
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
    QString keptAside;     // where the files of a default folder without its database went
    QList<ui::Message> notes; // what the start tells the user: a folder kept aside, one that is read-only
};

// Reads programFolder + "initPath.ini" and repairs what is missing. programFolder ends
// in "/". A default folder without a site database is never emptied: what it holds is
// renamed beside it (userImages~<date>-<n>) and a fresh folder takes its place; the
// root of a disk, which cannot be renamed, has its entries moved into such a folder
// inside it and the pristine database put in beside that. Throws
// err::FileError when the repair itself cannot be done.
Folders findAndRepair(const QString &programFolder);

} // namespace datafolder
