#pragma once
// Pictures of content entry: the sizes at which the data-entry view and the gallery
// dialogs show a picture (in twips, 15 to a pixel) and the gallery thumbnail.

#include <QImage>
#include <QSize>
#include <QString>

namespace content::pictures {

// Widest a picture is shown in the data-entry view's picture rows.
constexpr int kMaxShownWidth = 7500;
// The gallery dialogs' preview box.
constexpr int kPreviewWidth = 5685;
constexpr int kPreviewHeight = 3000;
// The gallery dialogs' thumbnail box: the width and height every choice starts from.
constexpr int kThumbWidth = 2000;
constexpr int kThumbStartHeight = 1305;

// num / den rounded to the nearest integer, halves to even (den > 0).
qint64 roundHalfEven(qint64 num, qint64 den);

// A picture's natural size in twips.
QSize naturalTwips(const QImage &image);

// The size a picture takes in a picture row: the box when stretched, else its own
// size; a picture wider than kMaxShownWidth is shown that wide, height in proportion.
QSize shownSize(QSize natural, bool stretch, QSize box);

// The thumbnail's size for a picture of natural size `picture`, given the box width
// W and height H: a picture at least as tall as wide fits a W by W square, a wider
// one W by H; no side is less than a pixel.
QSize thumbnailSize(QSize picture, int boxWidth, int boxHeight);

// Which scroll bars the preview box needs for a picture, their ranges (how far the
// picture moves, in twips) and lengths; the corner square shows with both bars.
struct PreviewBars {
    bool vertical = false;
    bool horizontal = false;
    bool corner = false;
    int verticalRange = 0;   // the picture's top goes from 0 to -verticalRange
    int horizontalRange = 0; // the picture's left goes from 0 to -horizontalRange
    int verticalLength = 0;
    int horizontalLength = 0;
};
PreviewBars previewBars(QSize picture);

// A picture file of the data folder or chosen by the user; a null image when it
// cannot be read or the path is empty.
QImage load(const QString &path);

// Draws the picture scaled to size (twips), writes it as a Windows bitmap and
// returns it; throws err::FileError.
QImage writeThumbnail(const QImage &picture, QSize sizeTwips, const QString &path);

} // namespace content::pictures
