#pragma once
// The page-style pictures of the program folder, drawn with QPainter: template pages,
// organisation-name styles and background tiles.

#include <QImage>
#include <QString>

namespace styleart {

// A home page (inner = false) or an inner page of the given category, in its variant
// (0, 1, 2, … within the category), 760x432.
QImage templatePage(const QString &category, int variant, bool inner);

// The organisation's name in style n (1…), on a transparent ground.
QImage nameStyle(int n);

// Background tile n (1…); its edges meet seamlessly when repeated.
QImage backgroundTile(int n);

} // namespace styleart
