#pragma once
// What the design view and its dialogs decide, apart from their widgets: which add
// operations a node allows, and each change of the tree with the message it ends with.

#include "core/message.h"
#include "design/catalogstore.h"
#include "design/pagestore.h"

#include <QString>
#include <optional>

namespace design {

// A tree node as the decisions need it.
struct NodeRef {
    Level level = Level::Other;
    QString text;
    std::optional<bool> tag; // catalog: true category, false page, nullopt Null
    QString parentText;      // the parent node's text ("" for the root)
};

// A category of the first or second level.
bool isCategory(const NodeRef &node);

// Which add operations a node allows: no child under a page, no fourth level.
struct AddGate {
    bool category = false;
    bool page = false;
};
AddGate addGate(const NodeRef &node);

enum class AddKind { Category, Page };

struct AddResult {
    bool stored = false;
    std::optional<ui::Message> message; // shown when not stored
    bool focusName = false;              // the name box takes the focus again
    Level childLevel = Level::Other;     // the new node's level when stored
};

// Stores a new category / page under parent; nameTaken = some node of the tree already
// shows the name. A name stored anywhere is refused as well, though the tree may not
// show it. A refusal stores nothing.
AddResult addCategory(CatalogStore &store, const NodeRef &parent, const QString &name, bool nameTaken);
AddResult addPage(CatalogStore &store, const NodeRef &parent, const QString &name, const QString &format,
                  bool nameTaken);

enum class FormatOutcome {
    Refused,     // not a column: the dialog stays open
    Unchanged,   // the page already has this format: nothing written
    Changed,     // content blanked and the format stored
    PageMissing, // the page's row is gone: nothing written, the tree is stale
    Failed,      // the database refused: nothing written
};
struct FormatResult {
    FormatOutcome outcome = FormatOutcome::Failed;
    std::optional<ui::Message> message;
};
FormatResult changeFormat(CatalogStore &store, Level level, const QString &page, const QString &format);

// Swaps a node's order with a sibling's; a message when refused or failed.
std::optional<ui::Message> swapOrder(CatalogStore &store, Level level, const QString &name,
                                     const QString &siblingName);

enum class RenameOutcome { Duplicate, Empty, Renamed, Failed };
struct RenameResult {
    RenameOutcome outcome = RenameOutcome::Failed;
    std::optional<ui::Message> message;
};
// Renames a column to newText; nameTaken = some node (the edited one included) shows it.
// A name stored anywhere is refused as well.
RenameResult renameColumn(CatalogStore &store, Level level, const QString &oldText, const QString &newText,
                          bool nameTaken);

// The messages of the design view.
namespace msg {
ui::Message deleteRoot();
ui::Message confirmDelete(const QString &text);
ui::Message moveRoot();
ui::Message renameRoot();
// The tree could not be read: the fixed text and why.
ui::Message treeLoadFailed(const QString &description);
} // namespace msg

} // namespace design
