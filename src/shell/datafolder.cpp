#include "shell/datafolder.h"

#include "core/datalayout.h"
#include "core/errors.h"
#include "core/fileutil.h"
#include "profile/tmplactions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace datafolder {

namespace {

// The first line of initPath.ini, created empty when missing.
QString readFirstLine(const QString &pathFile)
{
    QFile f(pathFile);
    if (!f.exists()) {
        if (!f.open(QIODevice::WriteOnly))
            throw err::FileError(err::Kind::FileWrite, pathFile);
        f.close();
        return QString();
    }
    if (!f.open(QIODevice::ReadOnly))
        throw err::FileError(err::Kind::FileRead, pathFile);
    QTextStream in(&f);
    in.setEncoding(QStringConverter::Utf8);
    return in.readLine();
}

void resetPathFile(const QString &programFolder)
{
    fileutil::copyReplace(programFolder + kInitFolder + kPathFile, programFolder + kPathFile);
}

} // namespace

Folders findAndRepair(const QString &programFolder)
{
    if (programFolder.isEmpty() || QDir::cleanPath(programFolder) == QLatin1String("/"))
        throw err::FileError(err::Kind::FileMissing, programFolder);
    const QString defaultFolder = programFolder + kDefaultFolder;

    Folders f;
    const QString line = readFirstLine(programFolder + kPathFile);
    if (line.isEmpty()) {
        f.currImgPath = defaultFolder;
    } else {
        QString folder = line;
        if (QDir::isRelativePath(folder))
            folder = programFolder + folder;
        f.currImgPath = fileutil::withSlash(folder);
    }
    f.currDataPath = f.currImgPath;

    // A backup, restore or import cut off part-way through its folder swap is finished or
    // undone before anything looks at the folders.
    for (const QString &folder : {f.currImgPath, defaultFolder, programFolder + kBackupFolder}) {
        fileutil::recoverSwap(folder);
        if (QFileInfo(folder).isDir())
            profile::recoverHomePageImport(folder);
    }

    if (!QFileInfo(f.currImgPath).isDir()) {
        f.currImgPath = defaultFolder;
        resetPathFile(programFolder);
    }

    if (!QFileInfo(f.currImgPath + datalayout::kDbName).isFile()) {
        f.currImgPath = defaultFolder;
        // A default folder that still holds a database is the user's working site:
        // switch to it rather than emptying it.
        if (!QFileInfo(defaultFolder + datalayout::kDbName).isFile()) {
            // Both pristine files must be there before anything is deleted: a repair that
            // stops half-way would cost the folder's contents and still not start.
            const QString pristine = programFolder + kInitFolder + datalayout::kDbName;
            for (const QString &needed : {pristine, programFolder + kInitFolder + kPathFile})
                if (!QFileInfo(needed).isFile())
                    throw err::FileError(err::Kind::FileMissing, needed);
            // The emptied folder with the pristine database is made beside the old one
            // and swapped in.
            fileutil::makeFolder(defaultFolder);
            fileutil::FolderSwap swap(defaultFolder);
            fileutil::copyReplace(pristine, swap.path() + datalayout::kDbName);
            swap.commit();
            f.repaired = true;
        }
        resetPathFile(programFolder);
    }
    return f;
}

} // namespace datafolder
