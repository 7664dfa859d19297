#include "design/cursorfile.h"

#include "core/littleendian.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPixmap>

namespace cursorfile {

using littleendian::get16;
using littleendian::put16;
using littleendian::put32;

namespace {

constexpr int kDirSize = 6, kEntrySize = 16, kInfoSize = 40;

} // namespace

QByteArray encode(const QImage &source, QPoint hotspot)
{
    const QImage img = source.convertToFormat(QImage::Format_ARGB32);
    const int w = img.width(), h = img.height();
    if (w <= 0 || h <= 0 || w > 256 || h > 256)
        return QByteArray();
    const int maskStride = ((w + 31) / 32) * 4;
    const quint32 pixelBytes = quint32(w) * quint32(h) * 4;
    const quint32 maskBytes = quint32(maskStride) * quint32(h);
    const quint32 imageBytes = kInfoSize + pixelBytes + maskBytes;

    QByteArray out;
    // Directory: reserved, type 2 (cursor), one image.
    put16(out, 0);
    put16(out, 2);
    put16(out, 1);
    // Entry: size (0 stands for 256), no palette, hotspot, image size and offset.
    out.append(char(w == 256 ? 0 : w));
    out.append(char(h == 256 ? 0 : h));
    out.append(char(0));
    out.append(char(0));
    put16(out, quint16(hotspot.x()));
    put16(out, quint16(hotspot.y()));
    put32(out, imageBytes);
    put32(out, kDirSize + kEntrySize);
    // BITMAPINFOHEADER: the height counts the colour image and the mask together.
    put32(out, kInfoSize);
    put32(out, quint32(w));
    put32(out, quint32(h * 2));
    put16(out, 1);
    put16(out, 32);
    put32(out, 0);
    put32(out, pixelBytes + maskBytes);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    // Colour image, bottom row first, each pixel B G R A.
    for (int y = h - 1; y >= 0; --y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(img.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            out.append(char(qBlue(line[x])));
            out.append(char(qGreen(line[x])));
            out.append(char(qRed(line[x])));
            out.append(char(qAlpha(line[x])));
        }
    }
    // AND mask, bottom row first: a set bit leaves the screen as it is.
    for (int y = h - 1; y >= 0; --y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(img.constScanLine(y));
        QByteArray row(maskStride, char(0));
        for (int x = 0; x < w; ++x)
            if (qAlpha(line[x]) == 0)
                row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
        out.append(row);
    }
    return out;
}

std::optional<QPoint> hotspot(const QByteArray &bytes)
{
    if (bytes.size() < kDirSize + kEntrySize || get16(bytes, 0) != 0 || get16(bytes, 2) != 2 || get16(bytes, 4) < 1)
        return std::nullopt;
    return QPoint(get16(bytes, 10), get16(bytes, 12));
}

std::optional<QCursor> load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    const std::optional<QPoint> spot = hotspot(bytes);
    if (!spot)
        return std::nullopt;
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer, "cur");
    const QImage img = reader.read();
    if (img.isNull())
        return std::nullopt;
    return QCursor(QPixmap::fromImage(img), spot->x(), spot->y());
}

} // namespace cursorfile
