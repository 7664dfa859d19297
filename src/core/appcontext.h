#pragma once
// What every window shares through the main window: the site database connection,
// the program and data folders, and the stored-text helpers.

#include "core/sitedb.h"
#include "core/textforms.h"

#include <QString>

class AppContext {
public:
    SiteDb conn;
    QString currentPath;  // the program folder, ending in "/"
    QString currImgPath;  // the data folder in use, ending in "/"
    QString currDataPath; // the data folder as first read from initPath.ini

    QString encode(const QString &text) const { return textforms::encode(text); }
    QString decode(const QString &text) const { return textforms::decode(text); }
};

// The program's one context.
AppContext &app();
