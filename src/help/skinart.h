#pragma once
// Pictures of the skinned controls and the help views, drawn at run time.

#include <QIcon>
#include <QPixmap>

namespace skinart {

// One set of frame pictures (sizes in pixels; the active set has transparent outer lines
// through which the bars' own colour shows).
struct FramePictures {
    QPixmap left;   // active 5 x 64, inactive 5 x 31
    QPixmap right;  // active 5 x 64, inactive 5 x 31
    QPixmap top;    // caption bar, normal state: active 200 x 29, inactive 66 x 29
    QPixmap topMax; // caption bar, maximised: 66 x 29
    QPixmap bottom; // active 64 x 5, inactive 49 x 5
};
const FramePictures &framePictures(bool active);

// The frame's built-in icon, 16 x 16.
QPixmap frameIcon();
// Close box strip: 102 x 17, six cells (normal, hover, pressed, then greyed copies).
QPixmap closeBoxStrip();
// Button strip: 275 x 22, five cells (normal, hover, pressed, disabled, default).
QPixmap buttonStrip();
// The About box's logo, 100 x 79.
QPixmap aboutLogo();
// The guide tree's pictures: "close" (collapsed folder), "open" (expanded folder), "file".
QIcon guideTreeIcon(const QString &key);

} // namespace skinart
