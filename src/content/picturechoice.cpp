#include "content/picturechoice.h"

#include "content/pictures.h"
#include "core/appcontext.h"
#include "ui/inputhelpers.h"
#include "ui/prompter.h"

#include <QFileInfo>

namespace content {

std::optional<ChosenPicture> choosePicture(QWidget *owner, const QString &dataFolder,
                                           datafiles::PendingFiles &session,
                                           const std::optional<ui::Message> &unreadable)
{
    const std::optional<QString> path = ui::prompter().openFile(
        owner, {QStringLiteral("图像文件(*.jpg;*.bmp;*.gif)|*.jpg;*.bmp;*.gif"), QString(), QString()});
    if (!path)
        return std::nullopt;
    if (const auto refusal = mdl_func::refuseNonAsciiName(*path)) {
        ui::show(*refusal);
        return std::nullopt;
    }
    const QString name = QFileInfo(*path).fileName();
    ChosenPicture chosen;
    chosen.image = pictures::load(*path);
    if (chosen.image.isNull()) {
        ui::show(unreadable ? *unreadable : msg::pictureFailed(err::describe(err::Kind::FileRead, name)));
        return std::nullopt;
    }
    try {
        chosen.name = datafiles::importChoice(app().conn, *path, dataFolder, &session);
    } catch (const std::exception &e) {
        ui::show(msg::pictureFailed(err::descriptionOf(e)));
        return std::nullopt;
    }
    return chosen;
}

} // namespace content
