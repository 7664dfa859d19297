#pragma once
// Column levels and display formats: the vocabulary the design view, the data-entry
// view and the editor share. A node key's first three characters give its level; the
// level picks the tables.

#include <QString>
#include <array>
#include <optional>

namespace design {

enum class Level { Root, First, Second, Third, Other };

// "roo" root, "fst" first, "snd" second, "thd" third; anything else Other.
Level levelOfKey(const QString &key);
// "roo", "fst", "snd", "thd"; "" for Other.
QString keyPrefix(Level level);
// The level of a column's children (Other below the third level).
Level childLevel(Level level);

// The tables of a column level: its level table with the column naming it, and its
// content table with the column naming the owning page.
struct LevelTables {
    QString table;        // firstCatalog / secondCatalog / thirdCatalog
    QString nameColumn;   // the same names
    QString contentTable; // content01 / content02 / content03
    QString ownerColumn;  // firstCatalog / secondCatalog / thirdCatalog
};
// The tables of a level; nullopt for Root and Other.
std::optional<LevelTables> tablesOf(Level level);

// One display format as the dialogs and views show it.
struct FormatInfo {
    int index;          // option index in the page dialogs
    QString key;        // stored in aspFileName
    QString caption;    // add-page dialog and the data-entry view
    QString modCaption; // change-format dialog
    QString status;     // status text of the preview; "" = the panel keeps its text
    bool listFormat;    // records listed by ID (news, imgs)
};

constexpr int kFormatCount = 8;
// The eight formats, by index.
const std::array<FormatInfo, kFormatCount> &formats();
// The format of a key; nullptr for an unknown key ("none", "").
const FormatInfo *formatOf(const QString &key);
// True for the eight keys (exact, case-sensitive).
bool isKnownFormat(const QString &key);
// news and imgs.
bool isListFormat(const QString &key);
// txt, imgTxt01/02/03, bigImg, adv.
bool isOneRecordFormat(const QString &key);
// "tmplImg/<key>.htm", relative to the program folder.
QString previewPage(const QString &key);

// What getAspFileName answers when the column has no row.
inline const QString kNoFormat = QStringLiteral("none");

} // namespace design
