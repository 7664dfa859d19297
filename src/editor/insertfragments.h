#pragma once
// The HTML fragments the editor's insert dialogs append to a page: a picture, a Flash
// movie, a table and a horizontal rule. Attributes come one after another in a fixed
// order; an attribute whose box is empty is left out; values go in as typed.

#include <QString>
#include <QStringList>
#include <optional>

namespace editor {

// A box's number as a whole number (rounded half to even), nullopt when the text is not
// numeric. Throws err::Error (Overflow) outside -32768..32767.
std::optional<int> wholeNumber(const QString &text);

// ---- Picture -------------------------------------------------------------------------

// The effect list and the alignment list, in their order.
const QStringList &imageEffects();
const QStringList &imageAligns();
// The style of an effect item and the align value of an alignment item; "" for the
// first item and for any text that is not an item.
QString imageEffectStyle(const QString &item);
QString imageAlignValue(const QString &item);

struct ImageSpec {
    QString folder;   // the data folder, ending in "/"
    QString fileName; // the picture's name in it
    QString height, width, alt, border;
    QString effect, align; // list items
};
// "<img src=" the file URL of folder + name, then height width alt border style align.
QString imageFragment(const ImageSpec &spec);

// ---- Flash ---------------------------------------------------------------------------

// The Flash player's download address in the object's codebase.
inline const QString kFlashCodebase =
    QStringLiteral("http://download.macromedia.com/pub/shockwave/cabs/flash/swflash.cab#version=6,0,29,0");

// The object with its eighteen parameters; movieUrl is the movie's file URL. A width or
// height box that is empty or not numeric gives 600 or 120. Throws err::Error (Overflow).
QString flashFragment(const QString &movieUrl, const QString &widthBox, const QString &heightBox);

// ---- Table ---------------------------------------------------------------------------

// The unit lists of width and height, and the alignment list.
const QStringList &tableUnits();
const QStringList &tableAligns();

struct TableSpec {
    QString rows, cols;
    QString id;
    QString width, widthUnit, height, heightUnit;
    QString border, padding, spacing;
    QString backColor, borderColor;
    QString align; // list item; "默认" adds nothing
};
// The table with rows x cols empty cells (an empty box counts 1). Throws err::Error
// (Overflow) for a count outside 16 bits or more than 32767 cells.
QString tableFragment(const TableSpec &spec);

// ---- Horizontal rule -------------------------------------------------------------------

const QStringList &ruleAligns();
const QStringList &ruleShadows();

struct RuleSpec {
    QString color, width, height;
    QString align, shadow; // list items
};
QString ruleFragment(const RuleSpec &spec);

} // namespace editor
