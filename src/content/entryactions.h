#pragma once
// What the data-entry view and its news and gallery dialogs decide, apart from their
// widgets: the chosen record of the list, the stores of the dialogs, and the
// messages they show.

#include "content/contentstore.h"
#include "core/message.h"
#include "design/pagestore.h"

#include <QString>
#include <optional>

namespace content {

// The record the list's hidden input currID names; nullopt when it names none.
std::optional<qint64> chosenRecordId(const QString &currID);

// The caption of a display format ("文本格式"); "" for an unknown key.
QString formatName(const QString &format);

// How a dialog's store ended: stored (the view reloads and the dialog closes), or a
// message, after which the dialog stays open unless `close` says otherwise.
struct StoreResult {
    bool stored = false;
    bool close = false;
    std::optional<ui::Message> message;
};

// The news dialogs: no field is checked; item.body is in the stored text form.
StoreResult addNews(ContentStore &store, Level level, const QString &page, const NewsItem &item);
StoreResult modifyNews(ContentStore &store, Level level, const QString &page, const NewsItem &item);
// The gallery dialogs: a caption of blanks only is refused.
StoreResult addGallery(ContentStore &store, Level level, const QString &page, const GalleryItem &item);
StoreResult modifyGallery(ContentStore &store, Level level, const QString &page, const GalleryItem &item);

// The messages of content entry; those of a page's save are the design view's too.
namespace msg {
using design::msg::failure;
using design::msg::noColumnChosen;
using design::msg::noPage;
ui::Message noPicturePath();
// A picture that could not be read or copied (the error's description).
ui::Message pictureFailed(const QString &description);
ui::Message noRecordChosen();
ui::Message confirmDeleteRecord();
ui::Message columnChoiceError();
} // namespace msg

} // namespace content
