#pragma once
// The program's pictures, drawn at run time: splash, toolbar and window icons.

#include <QIcon>
#include <QPixmap>

namespace artwork {
// Toolbar picture by button index (1-6 the views, 8 exit).
QIcon toolIcon(int index);
QIcon appIcon();
QPixmap splashPicture();
} // namespace artwork
