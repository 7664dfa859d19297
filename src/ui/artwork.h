#pragma once
// The program's pictures, drawn at run time: splash, toolbar and window icons.

#include <QIcon>
#include <QPixmap>

namespace artwork {
// Toolbar picture by button index (1-6 the views, 8 exit).
QIcon toolIcon(int index);
QIcon appIcon();
QPixmap splashPicture();
// Tree pictures: "fclose" (a closed folder: the root and categories), "fopen" (an open
// folder), "file" (a page).
QIcon treeIcon(const QString &key);
// Small button pictures by name: "addCat", "addFile", "delete", "rename", "refresh", "up",
// "down", "modify".
QIcon buttonIcon(const QString &name);
} // namespace artwork
