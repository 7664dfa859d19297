#pragma once
// Pictures of the display formats, drawn with QPainter only: the schematic page layouts the
// format grid shows as thumbnails, the sample photographs of the preview pages in tmplImg/,
// the site header strip of those pages and the pointing hand of the format grid.

#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <QRectF>
#include <QSize>
#include <QString>

class QPainter;

namespace formatart {

constexpr int kPhotoCount = 8;

// Paints a miniature page in the layout of display format `index` (design::formats())
// into r: header, navigation, side column, and the content as that format arranges it.
// Any other index, or an unknown key, paints the page frame with an empty content area.
void paintLayout(QPainter &p, const QRectF &r, int index);
void paintLayout(QPainter &p, const QRectF &r, const QString &key);

// The format's layout as a picture of the given size (150x100 in the format grid).
QImage thumbnailImage(int index, QSize size = QSize(150, 100));
QPixmap thumbnail(int index, QSize size = QSize(150, 100));

// Sample photograph n (1..kPhotoCount; other numbers wrap round) covering r, or as a picture
// of the given size. The scene keeps its proportions and is cropped to the rectangle.
void paintPhoto(QPainter &p, const QRectF &r, int n);
QImage samplePhoto(int n, QSize size);

// The header strip behind the sample site's name on the preview pages.
QImage banner(QSize size);

// The 32x32 pointing hand shown over the format thumbnails, and its hotspot (the fingertip).
QImage pointingHand();
QPoint pointingHandHotspot();

} // namespace formatart
