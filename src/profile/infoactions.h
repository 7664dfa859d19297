#pragma once
// What the basic-information view decides, apart from its widgets: the save of the ten
// columns and the logo's choice and cancel, each with the box it ends with.

#include "core/datafiles.h"
#include "core/message.h"
#include "profile/profilestore.h"

#include <optional>

namespace profile {

// How an action ended: whether it did what it set out to, and the box to show.
struct Outcome {
    bool done = false;
    std::optional<ui::Message> message;
};

// A file copied into the data folder: its name, or the box that says why not.
struct Import {
    std::optional<QString> name;
    std::optional<ui::Message> message;
};

// Saves the basic information (a blank site name is refused). Once saved, the logo
// files the edits replaced or abandoned go when nothing names them any more.
Outcome saveBasicInfo(SiteDb &db, const BasicInfo &info, datafiles::PendingFiles &logoFiles,
                      const QString &dataFolder);

// A chosen file that no picture reader can read: the box the picture dialogs show
// for it (critical icon, "警告"); nothing when it is a picture.
std::optional<ui::Message> refuseNonPicture(const QString &path);

// Copies a chosen logo picture into the data folder, so that it changes nothing stored
// before the save (a copy goes on `logoFiles`); its name must be plain ASCII and it
// must be a picture.
Import importLogo(SiteDb &db, const QString &path, const QString &dataFolder, datafiles::PendingFiles &logoFiles);

// Stores an empty logo at once; then the shown logo and every logo file chosen since
// the last save go when nothing else names them.
Outcome cancelLogo(SiteDb &db, const QString &dataFolder, const QString &logoFile,
                   datafiles::PendingFiles &logoFiles);

namespace msg {
// Shown when the view loses the focus to another view with unsaved edits.
ui::Message unsavedInfo();
} // namespace msg

} // namespace profile
