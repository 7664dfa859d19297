#pragma once
// Window and control sizes are designed in twips: 15 twips to a pixel.

namespace twips {
constexpr int kPerPixel = 15;
constexpr int toPx(int twips)
{
    return (twips >= 0 ? twips + kPerPixel / 2 : twips - kPerPixel / 2) / kPerPixel;
}
} // namespace twips
