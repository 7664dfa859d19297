#pragma once
// Windows cursor files (.CUR): one 32-bit image with its hotspot. The format grid's pointer
// images/H_POINT.CUR is written by the build in this form and read back here.

#include <QByteArray>
#include <QCursor>
#include <QImage>
#include <QPoint>
#include <QString>

#include <optional>

namespace cursorfile {

// The bytes of a cursor file holding `image` (at most 256x256) with the given hotspot:
// the icon-style directory (type 2), a BITMAPINFOHEADER, the 32-bit BGRA pixels and the
// 1-bit AND mask, both bottom-up. Fully transparent pixels are set in the mask.
QByteArray encode(const QImage &image, QPoint hotspot);

// The hotspot of the first image in a cursor file; none when the bytes are no cursor file.
std::optional<QPoint> hotspot(const QByteArray &bytes);

// The cursor stored in a file, with its hotspot; none when the file is missing or unreadable.
std::optional<QCursor> load(const QString &path);

} // namespace cursorfile
