#pragma once
// The help guide's fixed topic tree and where its pages lie.

#include <QList>
#include <QString>

namespace help {

struct Topic {
    QString key;    // a page's file name inside help/, or a folder's own key
    QString text;   // shown in the tree
    QString parent; // the folder's key; empty for a top-level folder
    bool folder = false;
};

// Every node, in the order the tree adds them.
const QList<Topic> &topics();

// The welcome page shown when the guide opens.
inline const QString kWelcomePage = QStringLiteral("index.htm");

// The page file of a topic: program folder + "help/" + key.
QString pagePath(const QString &programFolder, const QString &key);
// What the pane shows for a topic: its page, or "about:blank" when the file is missing.
QString pageToShow(const QString &programFolder, const QString &key);

} // namespace help
