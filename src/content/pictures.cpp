#include "content/pictures.h"

#include "core/errors.h"
#include "core/fileutil.h"
#include "core/twips.h"

#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

namespace content::pictures {

qint64 roundHalfEven(qint64 num, qint64 den)
{
    const bool negative = num < 0;
    const qint64 n = negative ? -num : num;
    qint64 q = n / den;
    const qint64 twice = 2 * (n % den);
    if (twice > den || (twice == den && q % 2 == 1))
        ++q;
    return negative ? -q : q;
}

QSize naturalTwips(const QImage &image)
{
    return image.isNull() ? QSize() : image.size() * twips::kPerPixel;
}

QSize shownSize(QSize natural, bool stretch, QSize box)
{
    QSize s = stretch ? box : natural;
    if (s.width() > kMaxShownWidth)
        s = QSize(kMaxShownWidth, int(roundHalfEven(qint64(s.height()) * kMaxShownWidth, s.width())));
    return s;
}

QSize thumbnailSize(QSize picture, int boxWidth, int boxHeight)
{
    const qint64 iw = picture.width(), ih = picture.height();
    if (iw <= 0 || ih <= 0)
        return QSize(boxWidth, boxHeight);
    qint64 w = boxWidth, h = boxHeight;
    const qint64 t = roundHalfEven(ih * w, iw);
    if (t >= w)
        h = w;
    if (t >= h)
        w = roundHalfEven(iw * h, ih);
    else
        h = roundHalfEven(ih * w, iw);
    // A very thin picture still gets a thumbnail a pixel across.
    return QSize(int(qMax<qint64>(w, twips::kPerPixel)), int(qMax<qint64>(h, twips::kPerPixel)));
}

PreviewBars previewBars(QSize picture)
{
    PreviewBars b;
    b.horizontal = picture.width() > kPreviewWidth;
    b.vertical = picture.height() > kPreviewHeight;
    // At the far end the picture's edge lies 300 twips inside the box's.
    if (b.horizontal)
        b.horizontalRange = picture.width() - kPreviewWidth + 300;
    if (b.vertical)
        b.verticalRange = picture.height() - kPreviewHeight + 300;
    b.corner = b.horizontal && b.vertical;
    // A bar alone also covers the corner.
    b.horizontalLength = b.corner ? 5355 : 5625;
    b.verticalLength = b.corner ? 2685 : 2955;
    return b;
}

QImage load(const QString &path)
{
    if (path.isEmpty())
        return QImage();
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    return reader.read();
}

QImage writeThumbnail(const QImage &picture, QSize sizeTwips, const QString &path)
{
    const QSize px(qMax(1, twips::toPx(sizeTwips.width())), qMax(1, twips::toPx(sizeTwips.height())));
    QImage thumb(px, QImage::Format_RGB32);
    thumb.fill(Qt::white);
    {
        QPainter p(&thumb);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(QRect(QPoint(0, 0), px), picture);
    }
    // A thumbnail that cannot be written whole leaves the old one as it was.
    fileutil::writeReplace(path, [&](QIODevice &out) { return thumb.save(&out, "BMP"); });
    return thumb;
}

} // namespace content::pictures
