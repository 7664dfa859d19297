#include "shell/datafolder.h"

#include "core/datalayout.h"
#include "core/errors.h"
#include "core/fileutil.h"
#include "profile/tmplactions.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <unistd.h>

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

// A name in the folder `in` for what folder held: <folder's name>~<date>-<n>, the first n
// nothing uses.
QString asideName(const QString &in, const QString &folder)
{
    const QString base = QDir::cleanPath(in) + QLatin1Char('/') + QFileInfo(QDir::cleanPath(folder)).fileName()
                         + QLatin1Char('~') + QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
    for (int n = 1;; ++n) {
        const QString name = base + QStringLiteral("-%1").arg(n);
        if (!QFileInfo(name).exists() && !QFileInfo(name).isSymLink())
            return name;
    }
}

ui::Message keptAsideNote(const QString &kept)
{
    return {QStringLiteral("数据文件夹中没有找到数据库文件，已换上一个新的数据文件夹。\r\n"
                           "原来的数据文件夹没有删除，其中的图片等文件都在：\r\n")
                + kept,
            ui::vbExclamation, QStringLiteral("警告")};
}

ui::Message readOnlyNote(const QString &folder)
{
    return {QStringLiteral("数据文件夹是只读的，所做的修改将不能保存：\r\n") + folder
                + QStringLiteral("\r\n请检查该文件夹和其中文件的权限（或它所在的磁盘是否只读），然后重新启动Quorvik。"),
            ui::vbExclamation, QStringLiteral("警告")};
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
            // What the folder holds is the user's: it is kept aside, whole, and a folder
            // with the pristine database is made beside it and swapped in.
            const QFileInfo there(QDir::cleanPath(defaultFolder));
            const QDir::Filters all = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
            const bool holdsFiles = there.isSymLink() || (there.isDir() && !QDir(defaultFolder).isEmpty(all));
            if (holdsFiles && fileutil::isMountRoot(defaultFolder)) {
                // The root of a disk cannot be renamed: what it holds goes into a folder
                // inside it, and the pristine database in beside that.
                f.keptAside = asideName(defaultFolder, defaultFolder);
                fileutil::makeFolder(f.keptAside);
                fileutil::moveEntries(defaultFolder, f.keptAside);
                fileutil::copyReplace(pristine, defaultFolder + datalayout::kDbName);
            } else {
                if (holdsFiles) {
                    f.keptAside = asideName(there.path(), defaultFolder);
                    fileutil::rename(defaultFolder, f.keptAside);
                } else {
                    fileutil::makeFolder(defaultFolder); // a file in its way is no folder: the repair fails
                }
                fileutil::FolderSwap swap(defaultFolder);
                fileutil::copyReplace(pristine, swap.path() + datalayout::kDbName);
                swap.commit();
            }
            if (holdsFiles)
                f.notes << keptAsideNote(f.keptAside);
            f.repaired = true;
        }
        resetPathFile(programFolder);
    }
    // A folder the program may not write in is told at once, not at the first save.
    if (::access(QFile::encodeName(f.currImgPath).constData(), W_OK) != 0
        || ::access(QFile::encodeName(f.currImgPath + datalayout::kDbName).constData(), W_OK) != 0)
        f.notes << readOnlyNote(f.currImgPath);
    return f;
}

} // namespace datafolder
