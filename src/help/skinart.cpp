#include "help/skinart.h"

#include "ui/artwork.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace skinart {

namespace {

QPixmap blank(int w, int h)
{
    QPixmap pm(w, h);
    pm.fill(Qt::transparent);
    return pm;
}

// Colour stops of a bar, from its outer edge inwards.
struct Tone {
    QColor outline, highlight, light, mid, dark;
};

const Tone kActive{QColor(0x00, 0x00, 0xc0), QColor(0x8c, 0xbd, 0xff), QColor(0x3a, 0x8c, 0xf8),
                   QColor(0x0a, 0x5a, 0xdf), QColor(0x06, 0x44, 0xc0)};
const Tone kInactive{QColor(0x5c, 0x74, 0xc4), QColor(0xc9, 0xd6, 0xf5), QColor(0x9f, 0xb5, 0xea),
                     QColor(0x7b, 0x96, 0xe0), QColor(0x6a, 0x84, 0xcf)};

// The caption bar: the outline on the top row (transparent in the active set), a
// highlight, then a vertical gradient; rounded ends unless maximised.
QPixmap captionBar(int w, const Tone &t, bool active, bool rounded)
{
    const int h = 29;
    QPixmap pm = blank(w, h);
    QPainter p(&pm);
    QLinearGradient g(0, 1, 0, h);
    g.setColorAt(0.0, t.highlight);
    g.setColorAt(0.12, t.light);
    g.setColorAt(0.55, t.mid);
    g.setColorAt(1.0, t.dark);
    p.fillRect(QRect(0, 1, w, h - 1), g);
    if (!active)
        p.fillRect(QRect(0, 0, w, 1), t.outline);
    // A thin light line just under the outline, as on glass.
    p.fillRect(QRect(rounded ? 3 : 0, 1, rounded ? w - 6 : w, 1), t.highlight.lighter(110));
    if (rounded) {
        // Rounded outer corners inside the 5-pixel caps: the corner pixels are left open
        // (transparent) in the active set, outline-coloured in the inactive one.
        const QColor corner = active ? QColor(Qt::transparent) : t.outline;
        p.setCompositionMode(QPainter::CompositionMode_Source);
        const QPoint cornerPixels[] = {{0, 1}, {0, 2}, {1, 1}, {0, 3}};
        for (const QPoint &c : cornerPixels) {
            p.fillRect(QRect(c.x(), c.y(), 1, 1), corner);
            p.fillRect(QRect(w - 1 - c.x(), c.y(), 1, 1), corner);
        }
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        // Side outlines down the caps.
        if (!active) {
            p.fillRect(QRect(0, 4, 1, h - 4), t.outline);
            p.fillRect(QRect(w - 1, 4, 1, h - 4), t.outline);
        }
        p.fillRect(QRect(1, 3, 1, h - 4), t.light.lighter(115));
        p.fillRect(QRect(w - 2, 3, 1, h - 4), t.dark);
    }
    return pm;
}

// A side bar: outline column outside, then light to dark inwards.
QPixmap sideBar(int h, const Tone &t, bool active, bool left)
{
    QPixmap pm = blank(5, h);
    QPainter p(&pm);
    const QColor cols[] = {active ? QColor(Qt::transparent) : t.outline, t.light, t.mid, t.mid, t.dark};
    for (int i = 0; i < 5; ++i)
        p.fillRect(QRect(left ? i : 4 - i, 0, 1, h), cols[i]);
    return pm;
}

QPixmap bottomBar(int w, const Tone &t, bool active)
{
    QPixmap pm = blank(w, 5);
    QPainter p(&pm);
    const QColor rows[] = {t.dark, t.mid, t.mid, t.light, active ? QColor(Qt::transparent) : t.outline};
    for (int i = 0; i < 5; ++i)
        p.fillRect(QRect(0, i, w, 1), rows[i]);
    return pm;
}

FramePictures makeSet(bool active)
{
    const Tone &t = active ? kActive : kInactive;
    FramePictures s;
    s.left = sideBar(active ? 64 : 31, t, active, true);
    s.right = sideBar(active ? 64 : 31, t, active, false);
    s.top = captionBar(active ? 200 : 66, t, active, true);
    s.topMax = captionBar(66, t, false, false);
    s.bottom = bottomBar(active ? 64 : 49, t, active);
    return s;
}

void closeCell(QPainter &p, int x, const QColor &top, const QColor &bottom, const QColor &cross)
{
    const QRectF r(x + 0.5, 0.5, 16, 16);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.setPen(QPen(Qt::white, 1));
    p.setBrush(g);
    p.drawRoundedRect(r, 3, 3);
    p.setPen(QPen(cross, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(x + 5, 5), QPointF(x + 12, 12));
    p.drawLine(QPointF(x + 12, 5), QPointF(x + 5, 12));
}

void buttonCell(QPainter &p, int x, const QColor &border, const QColor &top, const QColor &bottom,
                const QColor &inner)
{
    const QRectF r(x + 0.5, 0.5, 54, 21);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(0.85, bottom);
    g.setColorAt(1, bottom.darker(108));
    p.setPen(QPen(border, 1));
    p.setBrush(g);
    p.drawRoundedRect(r, 3, 3);
    if (inner.isValid()) {
        p.setPen(QPen(inner, 2));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(r.adjusted(1.5, 1.5, -1.5, -1.5), 2, 2);
    }
}

} // namespace

const FramePictures &framePictures(bool active)
{
    static const FramePictures activeSet = makeSet(true);
    static const FramePictures inactiveSet = makeSet(false);
    return active ? activeSet : inactiveSet;
}

QPixmap frameIcon()
{
    return artwork::appIcon().pixmap(16, 16);
}

QPixmap closeBoxStrip()
{
    QPixmap pm = blank(102, 17);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    closeCell(p, 0, QColor(0x4f, 0x86, 0xf2), QColor(0x1c, 0x4f, 0xd0), Qt::white);
    closeCell(p, 17, QColor(0x86, 0xb0, 0xff), QColor(0x3c, 0x74, 0xf0), Qt::white);
    closeCell(p, 34, QColor(0x16, 0x3e, 0xa8), QColor(0x0c, 0x2c, 0x88), QColor(0xdd, 0xe6, 0xff));
    closeCell(p, 51, QColor(0xc4, 0xc8, 0xd0), QColor(0x98, 0x9e, 0xaa), Qt::white);
    closeCell(p, 68, QColor(0xd6, 0xd9, 0xe0), QColor(0xaa, 0xb0, 0xba), Qt::white);
    closeCell(p, 85, QColor(0x88, 0x8e, 0x99), QColor(0x6c, 0x72, 0x7c), QColor(0xe6, 0xe6, 0xe6));
    return pm;
}

QPixmap buttonStrip()
{
    QPixmap pm = blank(275, 22);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor border(0x00, 0x3c, 0x74);
    buttonCell(p, 0, border, Qt::white, QColor(0xe6, 0xea, 0xee), QColor());
    buttonCell(p, 55, border, Qt::white, QColor(0xe6, 0xea, 0xee), QColor(0xf8, 0xb3, 0x30));
    buttonCell(p, 110, border, QColor(0xd6, 0xd8, 0xd2), QColor(0xec, 0xec, 0xe8), QColor());
    buttonCell(p, 165, QColor(0xc9, 0xc7, 0xba), QColor(0xf5, 0xf4, 0xea), QColor(0xf5, 0xf4, 0xea), QColor());
    buttonCell(p, 220, border, Qt::white, QColor(0xe6, 0xea, 0xee), QColor(0x9d, 0xbc, 0xf0));
    return pm;
}

QPixmap aboutLogo()
{
    QPixmap pm = blank(100, 79);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.drawPixmap(26, 2, artwork::appIcon().pixmap(48, 48));
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(17);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(0x1f, 0x4f, 0x9a));
    p.drawText(QRect(0, 52, 100, 24), Qt::AlignCenter, QStringLiteral("Quorvik"));
    return pm;
}

QIcon guideTreeIcon(const QString &key)
{
    if (key == QLatin1String("close"))
        return artwork::treeIcon(QStringLiteral("fclose"));
    if (key == QLatin1String("open"))
        return artwork::treeIcon(QStringLiteral("fopen"));
    return artwork::treeIcon(QStringLiteral("file"));
}

} // namespace skinart
