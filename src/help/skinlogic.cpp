#include "help/skinlogic.h"

#include <algorithm>

namespace skin {

HostState hostState(Qt::WindowStates states)
{
    if (states & Qt::WindowMinimized)
        return StateMinimised;
    if (states & (Qt::WindowMaximized | Qt::WindowFullScreen))
        return StateMaximised;
    return StateNormal;
}

FrameGeometry frameGeometry(QSize frame, QSize captionText)
{
    const int w = frame.width();
    const int h = frame.height();
    FrameGeometry g;
    g.top = QRect(0, 0, w, kCaptionHeight);
    g.bottom = QRect(0, h - kBorder, w, kBorder);
    const int sideHeight = std::max(0, h - kCaptionHeight - kBorder);
    g.left = QRect(0, kCaptionHeight, kBorder, sideHeight);
    g.right = QRect(w - kBorder, kCaptionHeight, kBorder, sideHeight);
    g.icon = QRect(7, 5, 16, 16);
    g.caption = QRect(QPoint(26, 4), captionText);
    g.shadow = QRect(QPoint(28, 6), captionText);
    g.grip7 = QRect(0, 0, 9, 9);
    g.grip2 = QRect(9, 0, std::max(0, w - 18), 2);
    g.grip6 = QRect(w - 9, 0, 9, 9);
    // Grips 5 and 4 lie in the bottom bar, at its left and right ends.
    g.grip5 = QRect(0, g.bottom.top(), 5, 5);
    g.grip4 = QRect(w - 5, g.bottom.top() + kBorder - 5, 5, 5);
    return g;
}

Part partAt(const FrameGeometry &g, QPoint p)
{
    const QPair<QRect, Part> order[] = {
        {g.grip7, Part::Grip7},     {g.grip6, Part::Grip6},   {g.grip2, Part::Grip2},
        {g.grip5, Part::Grip5},     {g.grip4, Part::Grip4},   {g.caption, Part::Caption},
        {g.shadow, Part::Shadow},   {g.icon, Part::Icon},     {g.top, Part::CaptionBar},
        {g.bottom, Part::BottomBar}, {g.left, Part::LeftBar}, {g.right, Part::RightBar},
    };
    for (const auto &[rect, part] : order)
        if (rect.contains(p))
            return part;
    return Part::Surface;
}

int edgeOf(Part part)
{
    switch (part) {
    case Part::LeftBar: return EdgeLeft;
    case Part::RightBar: return EdgeRight;
    case Part::Grip2: return EdgeTop;
    case Part::BottomBar: return EdgeBottom;
    case Part::Grip4: return EdgeBottomRight;
    case Part::Grip5: return EdgeBottomLeft;
    case Part::Grip6: return EdgeTopRight;
    case Part::Grip7: return EdgeTopLeft;
    default: return -1;
    }
}

Qt::CursorShape cursorFor(Part part, bool fixedSingle, HostState state)
{
    if (edgeOf(part) < 0 || fixedSingle || state == StateMaximised)
        return Qt::ArrowCursor;
    switch (part) {
    case Part::LeftBar:
    case Part::RightBar: return Qt::SizeHorCursor;
    case Part::BottomBar:
    case Part::Grip2: return Qt::SizeVerCursor;
    case Part::Grip7:
    case Part::Grip4: return Qt::SizeFDiagCursor;
    default: return Qt::SizeBDiagCursor; // grips 6 and 5
    }
}

QRect resizeParent(const QRect &host, QPoint start, QPoint end, int edge, QSize minimum)
{
    const int dx = end.x() - start.x();
    const int dy = end.y() - start.y();
    const int l = host.x(), t = host.y(), w = host.width(), h = host.height();
    QRect r;
    switch (edge) {
    case EdgeLeft: r = QRect(l + dx, t, w - dx, h); break;
    case EdgeRight: r = QRect(l, t, w + dx, h); break;
    case EdgeTop: r = QRect(l, t + dy, w, h - dy); break;
    case EdgeBottom: r = QRect(l, t, w, h + dy); break;
    case EdgeBottomRight: r = QRect(l, t, w + dx, h + dy); break;
    case EdgeBottomLeft: r = QRect(l + dx, t, w - dx, h + dy); break;
    case EdgeTopRight: r = QRect(l, t + dy, w + dx, h - dy); break;
    case EdgeTopLeft: r = QRect(l + dx, t + dy, w - dx, h - dy); break;
    default: return host;
    }
    if (r.width() < std::max(1, minimum.width()) || r.height() < std::max(1, minimum.height()))
        return host;
    return r;
}

Slices threeSlices(QSize picture, QRect bar)
{
    const int w = picture.width(), h = picture.height();
    const int bx = bar.x(), by = bar.y(), bw = bar.width(), bh = bar.height();
    return {
        {QRect(0, 0, 5, h), QRect(bx, by, 5, bh)},
        {QRect(5, 0, w - 10, h), QRect(bx + 5, by, bw - 10, bh)},
        {QRect(w - 5, 0, 5, h), QRect(bx + bw - 5, by, 5, bh)},
    };
}

Slices nineSlices(QSize cell, QRect target, int border)
{
    const int b = std::max(0, std::min({border, target.width() / 2, target.height() / 2, cell.width() / 2,
                                        cell.height() / 2}));
    const int srcX[] = {0, b, cell.width() - b, cell.width()};
    const int srcY[] = {0, b, cell.height() - b, cell.height()};
    const int dstX[] = {target.left(), target.left() + b, target.left() + target.width() - b,
                        target.left() + target.width()};
    const int dstY[] = {target.top(), target.top() + b, target.top() + target.height() - b,
                        target.top() + target.height()};
    Slices out;
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col) {
            const QRect src(QPoint(srcX[col], srcY[row]), QPoint(srcX[col + 1] - 1, srcY[row + 1] - 1));
            const QRect dst(QPoint(dstX[col], dstY[row]), QPoint(dstX[col + 1] - 1, dstY[row + 1] - 1));
            if (!src.isEmpty() && !dst.isEmpty())
                out.append({src, dst});
        }
    return out;
}

QRect cellRect(QSize strip, int columns, int index)
{
    const int w = columns > 0 ? strip.width() / columns : 0;
    return QRect(index * w, 0, w, strip.height());
}

bool outside(QPoint p, QRect r)
{
    return p.x() < r.x() || p.y() < r.y() || p.x() > r.x() + r.width() || p.y() > r.y() + r.height();
}

bool onControl(QPointF p, QSize size)
{
    return p.x() >= 0 && p.x() < size.width() && p.y() >= 0 && p.y() < size.height();
}

int buttonCode(Qt::MouseButtons buttons)
{
    int code = 0;
    if (buttons & Qt::LeftButton)
        code |= 1;
    if (buttons & Qt::RightButton)
        code |= 2;
    if (buttons & Qt::MiddleButton)
        code |= 4;
    return code;
}

int shiftCode(Qt::KeyboardModifiers modifiers)
{
    int code = 0;
    if (modifiers & Qt::ShiftModifier)
        code |= 1;
    if (modifiers & Qt::ControlModifier)
        code |= 2;
    if (modifiers & Qt::AltModifier)
        code |= 4;
    return code;
}

} // namespace skin
