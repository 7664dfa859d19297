#pragma once
// The HTML editor's decisions, apart from its widgets: what a tab change copies, where
// an appended fragment goes, what each toolbar key does, and how a page is saved.

#include "core/message.h"
#include "core/sitedb.h"
#include "design/catalog.h"

#include <QString>
#include <QList>
#include <QPair>
#include <QVariantList>
#include <QVariantMap>
#include <array>
#include <functional>
#include <optional>

namespace editor {

// The tabs of the editor, by index.
enum Tab : int { DesignTab = 0, CodeTab = 1, PreviewTab = 2 };

// What a change of tab copies from one view into another.
struct TabChange {
    enum class View { None, Design, Code, Preview };
    // None: the stored form's text as it stands; Encode: a whole document into the stored
    // form; Decode: the stored form into a document.
    enum class Convert { None, Encode, Decode };
    View from = View::None; // None = nothing is copied
    View to = View::None;
    Convert convert = Convert::None;
    bool toolbarEnabled = false;
    bool operator==(const TabChange &) const = default;
};
// The change from the tab that was showing to the one now showing.
TabChange tabChange(int previous, int current);

// The stored page with a fragment appended at the end of the body's content: before
// its last "</body>" (any case) when it has one, else at its end.
QString appendFragment(const QString &stored, const QString &fragment);

// ---- Toolbar -----------------------------------------------------------------------

struct ToolButton {
    QString caption;
    QString key;
    QString tooltip;
};
constexpr int kToolButtonCount = 22;
// The buttons in their order on the bar.
const std::array<ToolButton, kToolButtonCount> &toolButtons();

struct ToolAction {
    enum class Kind {
        None,       // a key without an action
        Save,       // the save button
        Command,    // document.execCommand(command) on the design view
        PageAction, // the page's own cut / copy / paste ("cut", "copy", "paste")
        Link,       // ask for an address, then createLink
        Font,       // the font dialog for the selection
        Dialog,     // an insert dialog: "sline", "table", "img", "flash"
    };
    Kind kind = Kind::None;
    QString command;
    bool operator==(const ToolAction &) const = default;
};
// The action of a button key; keys compare exactly, case included.
ToolAction toolAction(const QString &key);

// ---- Font of the selection ----------------------------------------------------------

struct FontState {
    QString name;  // the first font family
    int size = 3;  // HTML font size, 1 to 7
    QString color; // "#RRGGBB"
    bool bold = false;
    bool italic = false;
    bool operator==(const FontState &) const = default;
};
// The script expression whose value (an object) fontStateFrom reads.
QString fontStateQuery();
FontState fontStateFrom(const QVariantMap &answers);
// The execCommand calls (name, value) that change what differs from before to after.
QList<QPair<QString, QString>> fontCommands(const FontState &before, const FontState &after);

// ---- Save --------------------------------------------------------------------------

struct SaveRequest {
    design::Level level = design::Level::Other; // the level of the data-entry view's page
    QString page;                               // the page's name
    QString aspFileName;                        // the control's marker ("news": nothing stored)
    bool newRecord = false;                     // the page has no record yet
};

enum class SaveOutcome { Saved, NoLevel, Skipped, NoPage, Failed };

struct SaveResult {
    SaveOutcome outcome = SaveOutcome::Failed;
    bool inserted = false; // the page's record was inserted
    QString error;         // the failure's description
};

struct Statement {
    QString sql;
    QVariantList binds;
};
// The insert (new record) or update of a page's value01; nullopt for a level without tables.
std::optional<Statement> saveStatement(design::Level level, const QString &page, const QString &html, bool insert);

// Stores the page read by readPage (called only once the level and marker allow a save;
// it may throw, which counts as a failure) with its carriage returns removed.
SaveResult savePage(SiteDb &db, const SaveRequest &request, const std::function<QString()> &readPage);

// The message the control shows for a save's outcome; nullopt when it shows none.
std::optional<ui::Message> saveMessage(const SaveResult &result);

} // namespace editor
