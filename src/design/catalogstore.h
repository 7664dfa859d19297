#pragma once
// The column tree in the three level tables: loading it into a plain tree of nodes,
// drawing keys for new nodes, and every change the design view and its dialogs make
// (module mdl_nov). Names and formats are always bound; table and column names come
// from the level map only.

#include "core/sitedb.h"
#include "design/catalog.h"

#include <QSet>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace design {

// One node of the column tree as both views show it.
struct CatalogNode {
    QString key;             // "root", "fst_n", "snd_p_n", "thd_p_n" or a drawn key
    QString text;            // the column's name (the site name for the root)
    bool isRoot = false;
    std::optional<bool> tag; // the row's catalog: true category, false page, nullopt Null
    QString image;           // "fclose" (category, root) or "file"
    int index = 0;           // 1-based position in pre-order, root = 1
    std::vector<CatalogNode> children;
};

// The loader's result: the tree as far as it was filled, and the failure's
// description (and kind, when it is one of the program's) when loading stopped early.
struct CatalogTree {
    CatalogNode root;
    std::optional<QString> error;
    std::optional<err::Kind> errorKind;
};

// What the views show when loading the tree fails (critical icon, title "提示").
inline const QString kTreeLoadFailed = QStringLiteral("不期望的错误！errNo:mdl_nov");

// Loads the whole tree: root from user_info, then each level by orderID (ties in
// stored order), children queried for every row, third level by the second-level
// name alone.
CatalogTree buildCatalogTree(SiteDb &db);

// True when any node of the tree shows exactly this text (root included).
bool nodeTextExists(const CatalogNode &root, const QString &text);

// The source of random key numbers 0..10000; tests inject their own.
using KeyDraw = std::function<int()>;
// The default draw: QRandomGenerator, 0..10000 inclusive.
int drawKeyNumber();
// A key for a node added by a dialog: the child level's prefix, "_" and a random
// number, drawn again while the key is in usedKeys.
QString drawFreeKey(Level childLevel, const QSet<QString> &usedKeys, const KeyDraw &draw = drawKeyNumber);
// Every key in the tree.
QSet<QString> keysOf(const CatalogNode &root);

class CatalogStore {
public:
    explicit CatalogStore(SiteDb &db);

    // Largest orderID among the children of a parent of this level: -1 for a level
    // without children tables, 0 when it has none.
    qint64 getNextOrderID(Level parentLevel, const QString &parentName) const;
    // The column's orderID: -1 when no row (or not a column level), 0 when Null.
    qint64 getOrderID(Level level, const QString &name) const;
    // Swaps two siblings' orders in one transaction: A gets orderB, B gets orderA.
    // Throws (nothing changed) when a statement fails or either row is missing;
    // nothing for the root or an unknown level.
    void setOrderID(Level level, const QString &nameA, const QString &nameB, qint64 orderA, qint64 orderB);
    // Deletes the column, its descendants and all their content rows in one
    // transaction; returns how many rows of the column itself went (0 = not stored).
    int deleteCatalog(Level level, const QString &name);
    // Renames the column and carries the name into its children's parent-name columns
    // and its content rows, in one transaction; returns the column's own rows changed.
    int renameCatalog(Level level, const QString &oldName, const QString &newName);
    // Stores a page's display format; returns the rows changed (0 for other levels).
    int setAspFileName(Level level, const QString &name, const QString &format);
    // A page's display format: "none" without a row or for other levels, "" for Null.
    QString getAspFileName(Level level, const QString &name) const;
    // Stores a category under a parent (root or first level only); false for any
    // other parent level, with nothing stored.
    bool addCategory(Level parentLevel, const QString &parentName, const QString &name, qint64 orderID);
    // Stores a page under a parent (root, first or second level); the second level
    // also names its grandparent. False for any other parent level.
    bool addPage(Level parentLevel, const QString &parentName, const QString &grandParentName, const QString &name,
                 qint64 orderID, const QString &format);
    // Blanks the 30 value/field columns of the page's content rows and stores the new
    // format, in one transaction; false (rolled back) when the page's row is missing
    // or the level is not a column level.
    bool changeFormat(Level level, const QString &name, const QString &format);
    // True when the column's row exists in its level table.
    bool pageExists(Level level, const QString &name) const;
    // True when a column of any level is stored under exactly this name: a column is
    // found by its name alone, whatever a view shows of the tree.
    bool nameTaken(const QString &name) const;

private:
    SiteDb &m_db;
};

} // namespace design
