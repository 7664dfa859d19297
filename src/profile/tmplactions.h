#pragma once
// What the template view, its editors and its pickers decide, apart from their widgets:
// every write of a page-style setting, the imports of the user's own pages and
// pictures into the data folder, and the box each ends with. A file that a write
// replaces goes from the data folder only after the write, and only when nothing in
// the site database names it any more.

#include "profile/infoactions.h"

#include <QPoint>

namespace profile {

// ---- Template view --------------------------------------------------------------------

// The feature boxes, by index: 0 site forum, 1 mail log-in, 2 pop-up window, 3 script
// effect, 4 guest book, 5 office system.
constexpr int kFeatureCount = 6;
// The profile column of a feature box (field02, field03, adBoard, javascript, field04, field05).
QString featureColumn(int box);
// A service switch (boxes 0, 1, 4, 5) stored as "0" or "1".
Outcome setServiceSwitch(SiteDb &db, int box, bool ticked);
// The pop-up window (box 2) or the script effect (box 3) turned off: "0".
Outcome turnFeatureOff(SiteDb &db, int box);
// Whether the stored value of a feature box's column says the feature is on.
bool featureOn(const Profile &p, int box);

// Custom home page: default.htm and its images/ folder, copied into the data folder.
Import importHomePage(SiteDb &db, const QString &file, const QString &dataFolder);
// Finishes or undoes, at start, an import that a kill cut off, as the data folder's
// database names the page: the new page with its pictures, or the old with its own.
void recoverHomePageImport(const QString &dataFolder);
Outcome turnOffHomePage(SiteDb &db, const QString &dataFolder, const QString &shownName);
// Custom inner-page head: a .gif, .jpg or .swf stored as "topHeadSelf." + extension; the
// import's name is the chosen file's own name.
Import importHead(SiteDb &db, const QString &file, const QString &dataFolder);
Outcome turnOffHead(SiteDb &db, const QString &dataFolder, const QString &shownName);
// Other pages: the .htm and .mht pages of a folder (and its images/); the result
// lists the pages now stored.
struct PagesImport {
    std::optional<QStringList> names;
    std::optional<ui::Message> message;
};
PagesImport importOtherPages(SiteDb &db, const QString &folder, const QString &dataFolder);
Outcome turnOffOtherPages(SiteDb &db, const QString &dataFolder, const QStringList &shownNames);
// Background picture: chosen so that it changes nothing another record, page or setting shows.
Import chooseBackground(SiteDb &db, const QString &file, const QString &dataFolder);
Outcome cancelBackground(SiteDb &db, const QString &dataFolder, const QString &shownName);

// ---- Pop-up window and script-effect editors ------------------------------------------

// Stores the pop-up window from the editor's boxes (content as typed, CR LF lines).
// A size or position that is no whole number from 0 to kPopupNumberMax is refused.
Outcome savePopup(SiteDb &db, const PopupSetting &boxes);
// Stores the script effect; the text counts only for effects that show one.
Outcome saveScript(SiteDb &db, int index, const QString &text);
// The names of the effects, in list order.
const QStringList &scriptEffectNames();

// ---- Font and template pickers --------------------------------------------------------

enum class Side { Home, Inner };

// The fonts of table font, in row order.
QStringList fontNames(SiteDb &db);
Outcome chooseFont(SiteDb &db, Side side, const QString &name);
// The template categories as the database groups them, and the templates of one.
QStringList templateCategories(SiteDb &db, Side side);
QStringList templateNames(SiteDb &db, Side side, const QString &category);
// Stores the chosen template; an empty value is refused.
Outcome chooseTemplate(SiteDb &db, Side side, const QString &value);

// The template's label in the view: its first five characters.
QString templateLabel(const QString &value);
// The thumbnail's caption: the text before the first ".".
QString templateCaption(const QString &value);
// Where thumbnail k of a listing sits in the grid, in twips: three columns 2500 apart
// from 250, rows 1680 apart.
QPoint templateCell(int k);

namespace msg {
// An import of the custom home page or head given no file.
QString noHomePagePath();
// The status text shown when a feature box is ticked.
QString approvalHint();
ui::Message popupQuestion();
ui::Message scriptQuestion();
ui::Message confirmHomePageOff(); // also asked for the custom head
ui::Message confirmOtherPagesOff();
ui::Message confirmBackgroundOff();
ui::Message noFontChosen();
} // namespace msg

} // namespace profile
