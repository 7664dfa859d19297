#pragma once
// Window and control sizes are designed in twips: 15 twips to a pixel.

#include <QRect>

namespace twips {
constexpr int kPerPixel = 15;
constexpr int toPx(int twips)
{
    return (twips >= 0 ? twips + kPerPixel / 2 : twips - kPerPixel / 2) / kPerPixel;
}
// A control's place and size given in twips.
inline QRect rect(int left, int top, int width, int height)
{
    return QRect(toPx(left), toPx(top), toPx(width), toPx(height));
}
} // namespace twips
