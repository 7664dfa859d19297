#pragma once
// What the three page-style previews show: the custom home page, the custom inner-page
// head, and the full-size picture of a template.

#include "core/message.h"
#include "core/sitedb.h"

#include <QStringList>
#include <optional>

namespace profile {

// A preview pane's content: a page to navigate to, or pieces of HTML written into an
// empty page; or the box that closes the preview instead.
struct PreviewPage {
    QString navigate;
    QStringList pieces;
    std::optional<ui::Message> message;
};

// The custom home page in the data folder.
PreviewPage homePagePreview(SiteDb &db, const QString &dataFolder);
// The custom head, a picture or a Flash movie, written into an empty page.
PreviewPage headPreview(SiteDb &db, const QString &dataFolder);
// The full-size picture of a template: "template/" + the first five characters of its
// picture's name + ".jpg".
QStringList templatePreview(const QString &programFolder, const QString &value);

} // namespace profile
