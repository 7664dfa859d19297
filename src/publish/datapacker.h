#pragma once
// Packing the data folder for an upload: the pictures folder images/ into images.zip
// inside the data folder, then everything lying directly in the data folder into
// ziptest.zip in the program folder. Script pages (*.asp) are removed first.

#include "platform/prompter.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace publish {

inline const QString kUploadArchive = QStringLiteral("ziptest.zip");
inline const QString kImagesFolder = QStringLiteral("images");
inline const QString kImagesArchive = QStringLiteral("images.zip");

// Writes a zip archive of the files lying directly in folder (no subfolders), each
// entry named by its file name. "" when written, else the library's failure text.
// A folder without files writes no archive and is no failure.
QString zipFolderFiles(const QString &archive, const QString &folder);

// The entry names of a zip archive, in their order (empty when it cannot be read).
QStringList zipEntries(const QString &archive);

class DataPacker {
public:
    // Both folders end in "/".
    DataPacker(const QString &programFolder, const QString &dataFolder);

    struct Result {
        bool ok = false;
        // Shown to the user, when there is something to say.
        std::optional<ui::Message> message;
    };
    // Packs; ok only when both archives were written as asked.
    Result packData();

    QString archivePath() const { return m_program + kUploadArchive; }

private:
    // Deletes the "*.asp" files of folder once some file name ends in "asp".
    static void removeScriptPages(const QString &folder);
    static void removeFile(const QString &path);

    QString m_program;
    QString m_data;
};

} // namespace publish
