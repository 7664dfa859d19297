#pragma once
// The editor toolbar's pictures, drawn at run time.

#include <QIcon>
#include <QString>

namespace editorart {
// The picture of a toolbar button by its key ("save", "bold", "img", …).
QIcon toolIcon(const QString &key);
} // namespace editorart
