#pragma once
// What the views show when they cannot read the site database as they load. While the
// main window loads the views, one cause is told once, whichever of them meet it: the
// main window's own box about the database, or the first view's; the others come up
// empty and quiet. A view that came up empty because another program held the
// database loads again once the database can be read.

#include "core/errors.h"
#include "ui/prompter.h"

#include <QString>
#include <exception>
#include <functional>
#include <optional>

class QWidget;

namespace viewloads {

// The main window's load sequence begins / ends. The causes told in it are forgotten
// at its end.
void beginStartup();
void endStartup();

// A cause already told (the description a failure carries).
void told(const QString &cause);

// A view's load failed for cause: shows box, unless the same cause was already told
// during the load sequence.
void tell(const ui::Message &box, const QString &cause);

// A view came up empty. While the site database is held by another program, reload
// runs once it can be read again (retry); otherwise nothing is kept.
void loadAgainLater(QWidget *view, std::function<void()> reload);

// Both of the above; kind is the failure's own, when known: a lock met at this read (the
// connection being open) waits for its release as well.
void failed(QWidget *view, const ui::Message &box, const QString &cause, std::function<void()> reload,
            std::optional<err::Kind> kind = std::nullopt);
// A view's load failed with e: its description is told in a box of style under "提示",
// and reload runs once the database can be read again when another program held it
// (at the open, or at this read).
void failed(QWidget *view, const std::exception &e, int style, std::function<void()> reload);

// The views that came up empty for a lock load again, once each, when the database can
// be read now (without waiting for the lock). Called when the user turns to a view or
// back to the program.
void retry();

} // namespace viewloads
