#pragma once
// Geometry and hit logic of the skinned controls (window frame, close box, picture
// button), kept apart from the widgets so that it can be checked directly. Everything
// here is in pixels.

#include <QList>
#include <QPair>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <Qt>

namespace skin {

// Surface colour of the frame and of the picture button's face.
constexpr int kSurfaceRgb = 0xD9EDF5; // RGB(217, 237, 245)
// Colour behind the bar pictures, showing through their transparent pixels.
constexpr int kBarRgb = 0x0000C0; // RGB(0, 0, 192)

constexpr int kCaptionHeight = 29;
constexpr int kBorder = 5;
// The least a framed window may be: the corner grips, the icon and the bars all fit.
constexpr QSize kFrameMinimum(64, kCaptionHeight + 2 * kBorder);

// Edge codes of the frame's resizing parts: the bars and the grips.
enum Edge {
    EdgeLeft = 0,
    EdgeRight = 1,
    EdgeTop = 2,
    EdgeBottom = 3,
    EdgeBottomRight = 4,
    EdgeBottomLeft = 5,
    EdgeTopRight = 6,
    EdgeTopLeft = 7,
};

// The parts of the frame, as a press finds them.
enum class Part {
    Surface,    // the inner area: events go on to the host
    CaptionBar, // pictop: moves and maximises the host
    Caption,    // lblcaption: as the caption bar
    Shadow,     // lblshadow: no mouse actions
    Icon,       // imgicon: no mouse actions
    LeftBar,
    RightBar,
    BottomBar,
    Grip2,
    Grip4,
    Grip5,
    Grip6,
    Grip7,
};

// Host window state as the frame sees it: 0 normal, 1 minimised, 2 maximised.
enum HostState { StateNormal = 0, StateMinimised = 1, StateMaximised = 2 };
HostState hostState(Qt::WindowStates states);

struct FrameGeometry {
    QRect top, bottom, left, right; // the bars, in the frame's coordinates
    QRect icon, caption, shadow;
    QRect grip2, grip4, grip5, grip6, grip7;
};

// Where the parts lie on a frame of this size with a caption text of this size.
FrameGeometry frameGeometry(QSize frame, QSize captionText);
// The part under a point (grips over bars, labels over the caption bar).
Part partAt(const FrameGeometry &g, QPoint p);
// The edge code of a resizing part; -1 for any other part.
int edgeOf(Part part);
// The pointer a part shows. Parts that neither resize nor move show the default arrow.
Qt::CursorShape cursorFor(Part part, bool fixedSingle, HostState state);

// The host's geometry after a border press at start and release at end (screen pixels).
// An unknown code, or a new width or height below the host's minimum (and never below
// one pixel), leaves the host as it was.
QRect resizeParent(const QRect &host, QPoint start, QPoint end, int edge, QSize minimum);

// Source and target rectangles of a picture drawn in pieces.
using Slices = QList<QPair<QRect, QRect>>;
// Caption bar: a 5-pixel cap at each end unscaled in width, the middle stretched.
Slices threeSlices(QSize picture, QRect bar);
// Button face: the cell's corners unscaled, its edges stretched along the sides, its middle
// both ways. A target smaller than two borders shrinks the border to fit.
Slices nineSlices(QSize cell, QRect target, int border = 10);

// Cell `index` of a one-row strip of `columns` equal cells.
QRect cellRect(QSize strip, int columns, int index);

// Looks of the picture controls, by their cell in the strip.
enum Look { LookNormal = 0, LookHover = 1, LookPressed = 2 };

// A polled cursor is outside when it lies left of, above, right of or below the rectangle
// (its right and bottom lines still count as inside).
bool outside(QPoint p, QRect r);
// A mouse position lies on a control of this size (right and bottom lines excluded).
bool onControl(QPointF p, QSize size);

// Mouse buttons and shift state in the classic numbering: 1 left, 2 right, 4 middle;
// 1 Shift, 2 Ctrl, 4 Alt.
int buttonCode(Qt::MouseButtons buttons);
int shiftCode(Qt::KeyboardModifiers modifiers);

} // namespace skin
