#pragma once
// The picture choice of the data-entry view and its gallery dialogs: the file chooser,
// the name check and the copy into the data folder, with the boxes that tell why a
// choice was refused.

#include "content/entryactions.h"
#include "core/datafiles.h"
#include "core/message.h"

#include <QImage>
#include <QString>
#include <optional>

class QWidget;

namespace content {

// A picture the user chose, read and copied into the data folder.
struct ChosenPicture {
    QString name;
    QImage image;
};
// Asks for a picture file (JPEG, BMP, GIF) and copies it into the data folder for the
// editing session, never over a file the folder holds (datafiles::importChoice), so
// nothing stored changes before the session saves. Nothing happens when the choice is
// cancelled; a name outside printable ASCII is refused; a file that cannot be read
// shows `unreadable`, or else the error's description, and so does a failed copy.
std::optional<ChosenPicture> choosePicture(QWidget *owner, const QString &dataFolder,
                                           datafiles::PendingFiles &session,
                                           const std::optional<ui::Message> &unreadable = std::nullopt);

} // namespace content
