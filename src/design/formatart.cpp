#include "design/formatart.h"

#include "design/catalog.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>

#include <cmath>

namespace formatart {

namespace {

// The sample site's colours, shared with the preview pages.
const QColor kTeal(0x1f, 0x7a, 0x6d);
const QColor kTealDark(0x16, 0x59, 0x4f);
const QColor kAccent(0xf2, 0xa5, 0x41);
const QColor kLight(0xf3, 0xf7, 0xf6);
const QColor kRule(0xd9, 0xe3, 0xe0);
const QColor kTextBar(0xc4, 0xcf, 0xcc);
const QColor kTitleBar(0x3b, 0x4a, 0x47);
const QColor kLink(0x2a, 0x6f, 0xb0);

// ---------------------------------------------------------------------------------------
// Drawing helpers

// A closed shape whose top edge runs smoothly through pts and whose bottom is at `bottom`.
QPainterPath ridge(const std::initializer_list<QPointF> &points, qreal bottom)
{
    const std::vector<QPointF> pts(points);
    QPainterPath path;
    path.moveTo(pts.front().x(), bottom);
    path.lineTo(pts.front());
    for (size_t i = 1; i < pts.size(); ++i) {
        const QPointF mid = (pts[i - 1] + pts[i]) / 2;
        path.quadTo(pts[i - 1], mid);
    }
    path.lineTo(pts.back());
    path.lineTo(pts.back().x(), bottom);
    path.closeSubpath();
    return path;
}

// A jagged mountain range (straight edges) through pts down to `bottom`.
QPainterPath peaks(const std::initializer_list<QPointF> &points, qreal bottom)
{
    QPainterPath path;
    const std::vector<QPointF> pts(points);
    path.moveTo(pts.front().x(), bottom);
    for (const QPointF &pt : pts)
        path.lineTo(pt);
    path.lineTo(pts.back().x(), bottom);
    path.closeSubpath();
    return path;
}

void fillVertical(QPainter &p, const QRectF &r, std::initializer_list<std::pair<qreal, QColor>> stops)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    for (const auto &[at, c] : stops)
        g.setColorAt(at, c);
    p.fillRect(r, g);
}

void glow(QPainter &p, QPointF centre, qreal radius, const QColor &core, qreal spread)
{
    QRadialGradient g(centre, radius * spread);
    QColor edge = core;
    edge.setAlpha(0);
    QColor mid = core;
    mid.setAlpha(core.alpha() / 3);
    g.setColorAt(0, core);
    g.setColorAt(1.0 / spread, mid);
    g.setColorAt(1, edge);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(centre, radius * spread, radius * spread);
    p.setBrush(core);
    p.drawEllipse(centre, radius, radius);
}

void cloud(QPainter &p, QPointF at, qreal s, int alpha = 230)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, alpha));
    QPainterPath c;
    c.addEllipse(at + QPointF(-14 * s, 0), 12 * s, 7 * s);
    c.addEllipse(at + QPointF(0, -5 * s), 13 * s, 10 * s);
    c.addEllipse(at + QPointF(14 * s, 0), 12 * s, 7 * s);
    c.addRoundedRect(QRectF(at + QPointF(-24 * s, -2 * s), QSizeF(48 * s, 9 * s)), 4 * s, 4 * s);
    c.setFillRule(Qt::WindingFill);
    p.drawPath(c.simplified());
}

void pine(QPainter &p, QPointF base, qreal h, const QColor &c)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x5a, 0x3d, 0x2b));
    p.drawRect(QRectF(base.x() - h * 0.04, base.y() - h * 0.15, h * 0.08, h * 0.15));
    p.setBrush(c);
    for (int tier = 0; tier < 3; ++tier) {
        const qreal top = base.y() - h + tier * h * 0.25;
        const qreal bottom = base.y() - h * 0.12 - (2 - tier) * h * 0.18;
        const qreal half = h * (0.17 + tier * 0.07);
        p.drawPolygon(QPolygonF({QPointF(base.x(), top), QPointF(base.x() + half, bottom),
                                 QPointF(base.x() - half, bottom)}));
    }
}

void roundTree(QPainter &p, QPointF base, qreal h, const QColor &c)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x6b, 0x47, 0x2e));
    p.drawRect(QRectF(base.x() - h * 0.05, base.y() - h * 0.45, h * 0.1, h * 0.45));
    p.setBrush(c);
    p.drawEllipse(QPointF(base.x(), base.y() - h * 0.68), h * 0.3, h * 0.32);
    p.setBrush(c.lighter(115));
    p.drawEllipse(QPointF(base.x() - h * 0.1, base.y() - h * 0.76), h * 0.14, h * 0.13);
}

void bird(QPainter &p, QPointF at, qreal s, const QColor &c)
{
    p.setPen(QPen(c, 1.3 * s, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath b;
    b.moveTo(at + QPointF(-6 * s, -1 * s));
    b.quadTo(at + QPointF(-3 * s, -4 * s), at);
    b.quadTo(at + QPointF(3 * s, -4 * s), at + QPointF(6 * s, -1 * s));
    p.drawPath(b);
}

// ---------------------------------------------------------------------------------------
// Sample photographs, drawn in a 300x200 scene.

void lakeScene(QPainter &p)
{
    fillVertical(p, QRectF(0, 0, 300, 126), {{0, QColor(0x7d, 0xb9, 0xe8)}, {1, QColor(0xe4, 0xf2, 0xfa)}});
    glow(p, QPointF(226, 46), 14, QColor(255, 248, 214), 3.2);
    cloud(p, QPointF(70, 38), 1.0);
    cloud(p, QPointF(150, 26), 0.7, 200);
    p.setPen(Qt::NoPen);
    const QPainterPath far = peaks({{0, 92}, {38, 64}, {70, 84}, {112, 52}, {150, 80}, {190, 60}, {232, 86},
                                    {270, 66}, {300, 82}},
                                   126);
    p.setBrush(QColor(0x93, 0xab, 0xc6));
    p.drawPath(far);
    const QPainterPath mid = ridge({{0, 104}, {50, 90}, {100, 106}, {160, 92}, {220, 108}, {300, 96}}, 126);
    p.setBrush(QColor(0x4f, 0x85, 0x6e));
    p.drawPath(mid);
    // The lake and the range mirrored in it.
    fillVertical(p, QRectF(0, 126, 300, 74), {{0, QColor(0x8c, 0xbd, 0xdc)}, {1, QColor(0x3a, 0x6c, 0x98)}});
    p.save();
    p.translate(0, 252);
    p.scale(1, -1);
    p.setOpacity(0.22);
    p.setBrush(QColor(0x2f, 0x5b, 0x7a));
    p.drawPath(far);
    p.drawPath(mid);
    p.restore();
    p.setPen(QPen(QColor(255, 255, 255, 120), 1.2, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 7; ++i)
        p.drawLine(QPointF(180 + (i % 3) * 14, 136 + i * 8), QPointF(214 + (i % 3) * 10, 136 + i * 8));
    // Near shore and a small boat.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x3c, 0x6e, 0x3f));
    p.drawPath(ridge({{0, 170}, {40, 160}, {80, 176}, {110, 200}}, 200));
    p.setBrush(QColor(0x5a, 0x3d, 0x2b));
    p.drawPolygon(QPolygonF({QPointF(118, 158), QPointF(150, 158), QPointF(145, 164), QPointF(123, 164)}));
    p.setBrush(QColor(0xf7, 0xf3, 0xe8));
    p.drawPolygon(QPolygonF({QPointF(134, 132), QPointF(134, 156), QPointF(148, 156)}));
    for (int i = 0; i < 3; ++i)
        pine(p, QPointF(18 + i * 15, 172 - i * 3), 34 - i * 4, QColor(0x2c, 0x55, 0x34));
}

void sunriseScene(QPainter &p)
{
    fillVertical(p, QRectF(0, 0, 300, 200),
                 {{0, QColor(0x2b, 0x3a, 0x67)}, {0.45, QColor(0xc7, 0x6b, 0x7e)}, {0.7, QColor(0xf3, 0x9a, 0x5d)},
                  {0.85, QColor(0xf9, 0xd7, 0x7e)}, {1, QColor(0xf9, 0xd7, 0x7e)}});
    glow(p, QPointF(150, 138), 26, QColor(255, 236, 170), 3.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x6a, 0x45, 0x6e));
    p.drawPath(ridge({{0, 128}, {60, 110}, {120, 134}, {190, 116}, {250, 130}, {300, 112}}, 200));
    p.setBrush(QColor(0x42, 0x2e, 0x52));
    p.drawPath(ridge({{0, 150}, {70, 138}, {150, 160}, {220, 140}, {300, 154}}, 200));
    p.setBrush(QColor(0x25, 0x1b, 0x33));
    p.drawPath(ridge({{0, 178}, {90, 166}, {170, 184}, {240, 170}, {300, 180}}, 200));
    for (const QPointF &at : {QPointF(92, 62), QPointF(108, 54), QPointF(120, 66), QPointF(214, 44)})
        bird(p, at, 0.9, QColor(0x2a, 0x1f, 0x3a));
}

void meadowScene(QPainter &p)
{
    fillVertical(p, QRectF(0, 0, 300, 140), {{0, QColor(0x55, 0xa2, 0xe6)}, {1, QColor(0xd9, 0xee, 0xfb)}});
    glow(p, QPointF(58, 40), 13, QColor(255, 250, 220), 3.0);
    cloud(p, QPointF(170, 40), 1.1);
    cloud(p, QPointF(255, 62), 0.8, 210);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x9c, 0xc9, 0x72));
    p.drawPath(ridge({{0, 120}, {80, 100}, {160, 118}, {240, 96}, {300, 110}}, 200));
    p.setBrush(QColor(0x74, 0xb0, 0x52));
    p.drawPath(ridge({{0, 142}, {100, 124}, {190, 146}, {300, 126}}, 200));
    p.setBrush(QColor(0x55, 0x93, 0x3e));
    p.drawPath(ridge({{0, 170}, {120, 152}, {220, 172}, {300, 160}}, 200));
    roundTree(p, QPointF(232, 134), 46, QColor(0x3f, 0x7a, 0x35));
    // Flowers scattered over the front hill, the same every time.
    QRandomGenerator rng(3);
    const QColor colours[] = {QColor(0xf2, 0x7d, 0xa8), QColor(0xfb, 0xd3, 0x4a), QColor(255, 255, 255),
                              QColor(0xc9, 0x7c, 0xe8)};
    for (int i = 0; i < 90; ++i) {
        const qreal x = rng.bounded(300.0);
        const qreal y = 168 + rng.bounded(32.0) + std::sin(x / 40) * 4;
        p.setBrush(colours[i % 4]);
        const qreal s = 1.2 + (y - 160) / 26;
        p.drawEllipse(QPointF(x, y), s, s);
    }
}

void autumnScene(QPainter &p)
{
    fillVertical(p, QRectF(0, 0, 300, 140), {{0, QColor(0xf3, 0xc9, 0x8f)}, {1, QColor(0xfb, 0xee, 0xdb)}});
    glow(p, QPointF(216, 52), 16, QColor(255, 240, 200), 3.0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xc9, 0x9a, 0x63));
    p.drawPath(ridge({{0, 110}, {90, 88}, {170, 112}, {260, 92}, {300, 100}}, 200));
    p.setBrush(QColor(0xb5, 0x73, 0x3e));
    p.drawPath(ridge({{0, 140}, {110, 124}, {200, 144}, {300, 128}}, 200));
    const QColor leaves[] = {QColor(0xe0, 0x6a, 0x2c), QColor(0xf2, 0xb1, 0x34), QColor(0xc4, 0x3d, 0x2a),
                             QColor(0xe8, 0x8e, 0x2f)};
    for (int i = 0; i < 12; ++i)
        roundTree(p, QPointF(6 + i * 26, 150 + (i % 3) * 3), 44 + (i % 4) * 6, leaves[i % 4]);
    p.setBrush(QColor(0x8a, 0x5a, 0x32));
    p.drawRect(QRectF(0, 156, 300, 44));
    // A winding path into the wood.
    QPainterPath path;
    path.moveTo(120, 200);
    path.cubicTo(140, 186, 190, 176, 160, 158);
    path.lineTo(172, 158);
    path.cubicTo(210, 176, 180, 190, 190, 200);
    path.closeSubpath();
    p.setBrush(QColor(0xe9, 0xc9, 0x94));
    p.drawPath(path);
    QRandomGenerator rng(7);
    for (int i = 0; i < 40; ++i) {
        p.setBrush(leaves[i % 4]);
        p.drawEllipse(QPointF(rng.bounded(300.0), 162 + rng.bounded(38.0)), 2.2, 1.4);
    }
}

void nightScene(QPainter &p)
{
    fillVertical(p, QRectF(0, 0, 300, 130), {{0, QColor(0x0a, 0x14, 0x30)}, {1, QColor(0x2a, 0x3f, 0x72)}});
    QRandomGenerator rng(11);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 70; ++i) {
        p.setBrush(QColor(255, 255, 255, 120 + int(rng.bounded(135))));
        const qreal s = 0.4 + rng.bounded(1.0);
        p.drawEllipse(QPointF(rng.bounded(300.0), rng.bounded(110.0)), s, s);
    }
    // A crescent moon.
    QPainterPath moon;
    moon.addEllipse(QPointF(224, 44), 16, 16);
    QPainterPath bite;
    bite.addEllipse(QPointF(232, 38), 14, 14);
    QRadialGradient halo(QPointF(224, 44), 44);
    halo.setColorAt(0, QColor(255, 250, 220, 80));
    halo.setColorAt(1, QColor(255, 250, 220, 0));
    p.setBrush(halo);
    p.drawEllipse(QPointF(224, 44), 44, 44);
    p.setBrush(QColor(0xfb, 0xf3, 0xd0));
    p.drawPath(moon.subtracted(bite));
    const QPainterPath range = peaks({{0, 104}, {46, 76}, {84, 98}, {130, 68}, {176, 100}, {220, 82}, {262, 104},
                                      {300, 90}},
                                     130);
    p.setBrush(QColor(0x16, 0x22, 0x46));
    p.drawPath(range);
    fillVertical(p, QRectF(0, 130, 300, 70), {{0, QColor(0x22, 0x34, 0x62)}, {1, QColor(0x0b, 0x13, 0x2b)}});
    p.save();
    p.translate(0, 260);
    p.scale(1, -1);
    p.setOpacity(0.45);
    p.setBrush(QColor(0x0d, 0x16, 0x33));
    p.drawPath(range);
    p.restore();
    p.setPen(QPen(QColor(0xfb, 0xf3, 0xd0, 170), 1.4, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 6; ++i) {
        const qreal half = 12 - i * 1.5;
        p.drawLine(QPointF(218 - half, 142 + i * 8), QPointF(218 + half, 142 + i * 8));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x07, 0x0d, 0x1f));
    p.drawPath(ridge({{0, 184}, {60, 176}, {120, 200}}, 200));
    for (int i = 0; i < 3; ++i)
        pine(p, QPointF(16 + i * 18, 188 - i * 4), 40 - i * 6, QColor(0x07, 0x0d, 0x1f));
}

void seaScene(QPainter &p)
{
    fillVertical(p, QRectF(0, 0, 300, 112), {{0, QColor(0x6c, 0xba, 0xee)}, {1, QColor(0xdf, 0xf3, 0xfd)}});
    glow(p, QPointF(84, 44), 14, QColor(255, 250, 215), 3.0);
    cloud(p, QPointF(190, 34), 0.9);
    fillVertical(p, QRectF(0, 112, 300, 88), {{0, QColor(0x5f, 0xb8, 0xe0)}, {1, QColor(0x1f, 0x7f, 0xb6)}});
    p.setPen(QPen(QColor(255, 255, 255, 150), 1.2, Qt::SolidLine, Qt::RoundCap));
    QRandomGenerator rng(5);
    for (int i = 0; i < 22; ++i) {
        const qreal x = rng.bounded(280.0);
        const qreal y = 118 + rng.bounded(50.0);
        p.drawLine(QPointF(x, y), QPointF(x + 6 + (y - 112) / 5, y));
    }
    // Rocks and a lighthouse on the right, sand in front.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x5b, 0x5f, 0x66));
    p.drawPath(ridge({{206, 130}, {236, 104}, {270, 98}, {300, 110}}, 200));
    const QRectF tower(252, 54, 14, 48);
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({QPointF(tower.left() + 2, tower.top()), QPointF(tower.right() - 2, tower.top()),
                             QPointF(tower.right() + 1, tower.bottom()), QPointF(tower.left() - 1, tower.bottom())}));
    p.setBrush(QColor(0xd6, 0x45, 0x3d));
    for (int i = 0; i < 2; ++i)
        p.drawRect(QRectF(tower.left() - 0.5 + i * 0.5, tower.top() + 12 + i * 18, tower.width() + 1 - i, 7));
    p.drawPolygon(QPolygonF({QPointF(251, 48), QPointF(267, 48), QPointF(259, 40)}));
    p.setBrush(QColor(0xff, 0xe6, 0x8a));
    p.drawRect(QRectF(254, 48, 10, 6));
    p.setBrush(QColor(0xf1, 0xdc, 0xae));
    p.drawPath(ridge({{0, 168}, {80, 160}, {170, 176}, {240, 168}, {300, 174}}, 200));
    p.setPen(QPen(QColor(255, 255, 255, 200), 2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath foam;
    foam.moveTo(0, 166);
    foam.quadTo(80, 156, 170, 173);
    foam.quadTo(230, 165, 300, 171);
    p.drawPath(foam);
}

void snowScene(QPainter &p)
{
    fillVertical(p, QRectF(0, 0, 300, 150), {{0, QColor(0x3f, 0x83, 0xd0)}, {1, QColor(0xcf, 0xe6, 0xfa)}});
    cloud(p, QPointF(60, 30), 0.8, 210);
    p.setPen(Qt::NoPen);
    struct Peak { QPointF top; qreal half; QColor rock; };
    const Peak range[] = {{QPointF(80, 40), 95, QColor(0x7a, 0x90, 0xae)},
                          {QPointF(196, 28), 110, QColor(0x6a, 0x80, 0x9e)},
                          {QPointF(280, 62), 70, QColor(0x84, 0x98, 0xb4)}};
    for (const Peak &k : range) {
        const QPointF left(k.top.x() - k.half, 140), right(k.top.x() + k.half, 140);
        p.setBrush(k.rock);
        p.drawPolygon(QPolygonF({k.top, right, left}));
        // The shaded face and the snow cap.
        p.setBrush(k.rock.darker(118));
        p.drawPolygon(QPolygonF({k.top, right, QPointF(k.top.x() + 6, 140)}));
        const qreal f = 0.3;
        const QPointF capL = k.top + (left - k.top) * f, capR = k.top + (right - k.top) * f;
        p.setBrush(QColor(0xf7, 0xfa, 0xfd));
        p.drawPolygon(QPolygonF({k.top, capR, capR + QPointF(-10, 4), k.top + QPointF(4, (capR.y() - k.top.y()) * 0.7),
                                 capL + QPointF(14, 2), capL}));
    }
    fillVertical(p, QRectF(0, 140, 300, 60), {{0, QColor(0x8e, 0xbf, 0x6a)}, {1, QColor(0x5c, 0x93, 0x44)}});
    p.setBrush(QColor(0x7c, 0xb0, 0x5a));
    p.drawPath(ridge({{0, 150}, {90, 140}, {200, 156}, {300, 144}}, 200));
    for (int i = 0; i < 9; ++i)
        pine(p, QPointF(12 + i * 34 + (i % 2) * 6, 196 - (i % 3) * 6), 46 + (i % 3) * 8,
             QColor(0x23, 0x5b, 0x3a).lighter(100 + (i % 3) * 10));
}

void buildingScene(QPainter &p)
{
    fillVertical(p, QRectF(0, 0, 300, 150), {{0, QColor(0x6f, 0xb6, 0xea)}, {1, QColor(0xe2, 0xf2, 0xfb)}});
    cloud(p, QPointF(236, 34), 1.0);
    cloud(p, QPointF(50, 52), 0.6, 200);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xa8, 0xc6, 0xd8));
    p.drawPath(ridge({{0, 120}, {70, 104}, {160, 118}, {240, 100}, {300, 112}}, 150));
    fillVertical(p, QRectF(0, 146, 300, 54), {{0, QColor(0x8f, 0xc4, 0x6b)}, {1, QColor(0x5e, 0x9a, 0x47)}});
    // The visitor centre: a long low hall with a glass front and a wide roof.
    p.setBrush(QColor(0xee, 0xe8, 0xdc));
    p.drawRect(QRectF(70, 96, 164, 54));
    p.setBrush(QColor(0xd9, 0xcf, 0xbd));
    p.drawRect(QRectF(180, 80, 54, 70));
    p.setBrush(kTealDark);
    p.drawPolygon(QPolygonF({QPointF(60, 98), QPointF(196, 88), QPointF(196, 94), QPointF(60, 103)}));
    p.drawRect(QRectF(176, 76, 62, 5));
    QLinearGradient glass(0, 104, 0, 148);
    glass.setColorAt(0, QColor(0x9f, 0xd8, 0xe6));
    glass.setColorAt(1, QColor(0x3a, 0x8c, 0xa6));
    p.setBrush(glass);
    for (int i = 0; i < 8; ++i)
        p.drawRect(QRectF(78 + i * 12.5, 108, 10, 34));
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            p.drawRect(QRectF(188 + col * 15, 88 + row * 18, 10, 12));
    p.setBrush(QColor(0x5a, 0x3d, 0x2b));
    p.drawRect(QRectF(136, 120, 14, 30));
    // Path, trees and a flag.
    QPainterPath walk;
    walk.moveTo(134, 150);
    walk.lineTo(152, 150);
    walk.lineTo(186, 200);
    walk.lineTo(100, 200);
    walk.closeSubpath();
    p.setBrush(QColor(0xe8, 0xdd, 0xc5));
    p.drawPath(walk);
    roundTree(p, QPointF(36, 160), 56, QColor(0x3f, 0x7a, 0x35));
    roundTree(p, QPointF(266, 162), 52, QColor(0x4b, 0x86, 0x3a));
    pine(p, QPointF(58, 156), 38, QColor(0x2c, 0x5f, 0x38));
    p.setPen(QPen(QColor(0x77, 0x77, 0x77), 1.2));
    p.drawLine(QPointF(248, 76), QPointF(248, 150));
    p.setPen(Qt::NoPen);
    p.setBrush(kAccent);
    p.drawRect(QRectF(248.6, 76, 14, 9));
}

// ---------------------------------------------------------------------------------------
// Format layouts, drawn in a 150x100 page.

constexpr qreal kMainLeft = 30, kMainRight = 146;

// Lines of body text: grey bars of slightly varying length, the last of a paragraph short.
void textLines(QPainter &p, qreal x, qreal y, qreal w, int count, int seed, qreal step = 4.2)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kTextBar);
    for (int i = 0; i < count; ++i) {
        qreal len = w * (0.88 + 0.12 * ((i * 7 + seed * 3) % 5) / 4.0);
        if (i == count - 1)
            len = w * 0.55;
        p.drawRoundedRect(QRectF(x, y + i * step, len, 1.8), 0.9, 0.9);
    }
}

// A small picture: sky, sun and two hills, in one of four palettes.
void miniPicture(QPainter &p, const QRectF &r, int variant)
{
    struct Palette { QColor skyTop, skyLow, sun, far, near; };
    static const Palette palettes[] = {
        {QColor(0x6d, 0xb3, 0xe8), QColor(0xd8, 0xee, 0xfb), QColor(0xff, 0xd8, 0x5e), QColor(0x8c, 0xc0, 0x6a),
         QColor(0x4e, 0x92, 0x45)},
        {QColor(0xf0, 0x8a, 0x5d), QColor(0xfb, 0xd9, 0x8c), QColor(0xff, 0xf1, 0xc4), QColor(0x8d, 0x5a, 0x78),
         QColor(0x4d, 0x35, 0x5e)},
        {QColor(0x4f, 0x8f, 0xd6), QColor(0xcf, 0xe6, 0xfa), QColor(0xff, 0xff, 0xff), QColor(0x93, 0xab, 0xc6),
         QColor(0x2f, 0x6b, 0x5a)},
        {QColor(0xf3, 0xc9, 0x8f), QColor(0xfb, 0xee, 0xdb), QColor(0xff, 0xfa, 0xe6), QColor(0xd0, 0x8a, 0x3e),
         QColor(0xb3, 0x4f, 0x2a)},
    };
    const Palette &c = palettes[((variant % 4) + 4) % 4];
    p.save();
    p.setClipRect(r);
    fillVertical(p, r, {{0, c.skyTop}, {1, c.skyLow}});
    p.setPen(Qt::NoPen);
    p.setBrush(c.sun);
    const qreal s = std::min(r.width(), r.height());
    p.drawEllipse(QPointF(r.left() + r.width() * (variant % 2 ? 0.28 : 0.74), r.top() + r.height() * 0.3), s * 0.11,
                  s * 0.11);
    auto at = [&](qreal fx, qreal fy) { return QPointF(r.left() + r.width() * fx, r.top() + r.height() * fy); };
    p.setBrush(c.far);
    p.drawPath(ridge({at(0, 0.66), at(0.3, 0.46), at(0.62, 0.64), at(1, 0.5)}, r.bottom()));
    p.setBrush(c.near);
    p.drawPath(ridge({at(0, 0.86), at(0.42, 0.7), at(0.78, 0.84), at(1, 0.76)}, r.bottom()));
    p.restore();
    p.setPen(QPen(QColor(255, 255, 255), 0.6));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0.3, 0.3, -0.3, -0.3));
}

void pageTitle(QPainter &p, qreal width = 36)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kTitleBar);
    p.drawRoundedRect(QRectF(kMainLeft, 24, width, 3.2), 1, 1);
    p.setBrush(kRule);
    p.drawRect(QRectF(kMainLeft, 29.4, kMainRight - kMainLeft, 0.6));
    p.setBrush(kTeal);
    p.drawRect(QRectF(kMainLeft, 29.2, 14, 1));
}

void pageFrame(QPainter &p, int activeNav)
{
    p.fillRect(QRectF(0, 0, 150, 100), Qt::white);
    p.setPen(Qt::NoPen);
    QLinearGradient head(0, 0, 150, 0);
    head.setColorAt(0, kTeal);
    head.setColorAt(1, kTealDark);
    p.fillRect(QRectF(0, 0, 150, 14), head);
    p.setBrush(QColor(255, 255, 255, 40));
    p.drawPath(ridge({{70, 14}, {100, 6}, {124, 11}, {150, 4}}, 14));
    p.setBrush(kAccent);
    p.drawEllipse(QPointF(7.5, 7), 3.4, 3.4);
    p.setBrush(QColor(255, 255, 255, 230));
    p.drawRoundedRect(QRectF(13.5, 5.2, 34, 3.4), 1.2, 1.2);
    p.setBrush(QColor(255, 255, 255, 130));
    p.drawRoundedRect(QRectF(118, 6.2, 25, 1.8), 0.9, 0.9);
    // Navigation bar with the current column highlighted.
    p.fillRect(QRectF(0, 14, 150, 6), kTealDark.darker(110));
    for (int i = 0; i < 6; ++i) {
        const QRectF cell(4 + i * 18, 14, 16, 6);
        if (i == activeNav)
            p.fillRect(cell, kAccent);
        p.setBrush(QColor(255, 255, 255, i == activeNav ? 255 : 170));
        p.drawRoundedRect(QRectF(cell.left() + 3, 16.2, 10, 1.6), 0.8, 0.8);
    }
    // Side column of sub-columns.
    p.fillRect(QRectF(0, 20, 26, 75), kLight);
    p.fillRect(QRectF(26, 20, 0.5, 75), kRule);
    p.setBrush(kTeal);
    p.drawRoundedRect(QRectF(4, 24, 16, 2.4), 1, 1);
    for (int i = 0; i < 5; ++i) {
        const qreal y = 31 + i * 6;
        if (i == 0) {
            p.fillRect(QRectF(0, y - 1.8, 26, 5.4), QColor(0xe3, 0xef, 0xec));
            p.fillRect(QRectF(0, y - 1.8, 1.2, 5.4), kAccent);
        }
        p.setBrush(i == 0 ? kTeal : kTextBar);
        p.drawRoundedRect(QRectF(5, y, 13 + (i * 3) % 6, 1.8), 0.9, 0.9);
    }
    // Footer.
    p.fillRect(QRectF(0, 95, 150, 5), kLight);
    p.fillRect(QRectF(0, 95, 150, 0.5), kRule);
    p.setBrush(kTextBar);
    p.drawRoundedRect(QRectF(52, 97, 46, 1.4), 0.7, 0.7);
}

void layoutTxt(QPainter &p)
{
    pageTitle(p);
    p.setPen(Qt::NoPen);
    p.setBrush(kRule);
    p.drawRoundedRect(QRectF(kMainLeft, 33, 40, 1.4), 0.7, 0.7);
    textLines(p, kMainLeft + 6, 38, 110, 1, 0);
    textLines(p, kMainLeft, 42.2, 116, 4, 1);
    textLines(p, kMainLeft + 6, 60, 110, 1, 2);
    textLines(p, kMainLeft, 64.2, 116, 3, 3);
    textLines(p, kMainLeft + 6, 78, 110, 1, 4);
    textLines(p, kMainLeft, 82.2, 116, 2, 5);
}

void layoutNews(QPainter &p)
{
    pageTitle(p, 30);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 7; ++i) {
        const qreal y = 34 + i * 7.6;
        p.setBrush(i == 0 ? kAccent : kTeal);
        p.drawEllipse(QPointF(kMainLeft + 1.6, y + 0.9), 1.1, 1.1);
        p.setBrush(kLink);
        p.drawRoundedRect(QRectF(kMainLeft + 5, y, 52 + (i * 13) % 30, 1.8), 0.9, 0.9);
        p.setBrush(kTextBar);
        p.drawRoundedRect(QRectF(kMainRight - 16, y, 16, 1.8), 0.9, 0.9);
        p.setBrush(QColor(0xe6, 0xec, 0xea));
        p.drawRect(QRectF(kMainLeft, y + 4.4, kMainRight - kMainLeft, 0.4));
    }
    for (int i = 0; i < 4; ++i) {
        p.setBrush(i == 0 ? kTeal : QColor(0xe3, 0xea, 0xe8));
        p.drawRoundedRect(QRectF(108 + i * 7, 88.4, 5.4, 4), 0.8, 0.8);
    }
}

void layoutImgTxt01(QPainter &p)
{
    pageTitle(p);
    miniPicture(p, QRectF(kMainLeft, 33, 38, 25), 0);
    textLines(p, kMainLeft + 42, 33.4, 74, 6, 1);
    textLines(p, kMainLeft, 60.6, 116, 1, 2);
    miniPicture(p, QRectF(kMainRight - 38, 65, 38, 25), 2);
    textLines(p, kMainLeft, 65.4, 74, 6, 3);
}

void layoutImgTxt02(QPainter &p)
{
    pageTitle(p);
    miniPicture(p, QRectF(kMainLeft, 33, 56, 31), 0);
    miniPicture(p, QRectF(kMainRight - 56, 33, 56, 31), 1);
    textLines(p, kMainLeft, 68, 116, 6, 2);
}

void layoutImgTxt03(QPainter &p)
{
    pageTitle(p);
    miniPicture(p, QRectF(kMainLeft, 33, 116, 37), 2);
    textLines(p, kMainLeft, 74, 116, 5, 4);
}

void layoutBigImg(QPainter &p)
{
    const QRectF area(kMainLeft - 1, 23, kMainRight - kMainLeft + 2, 69);
    miniPicture(p, area, 0);
    p.setPen(Qt::NoPen);
    p.fillRect(QRectF(area.left(), area.bottom() - 9, area.width(), 9), QColor(0, 0, 0, 90));
    p.setBrush(QColor(255, 255, 255, 230));
    p.drawRoundedRect(QRectF(area.left() + 5, area.bottom() - 5.6, 34, 2.2), 1, 1);
}

void layoutImgs(QPainter &p)
{
    pageTitle(p, 30);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 8; ++i) {
        const int col = i % 4, row = i / 4;
        const QRectF pic(kMainLeft + col * 30, 34 + row * 27, 26, 18);
        p.fillRect(pic.adjusted(-1, -1, 1, 1), kRule);
        miniPicture(p, pic, i);
        p.setBrush(kLink);
        p.drawRoundedRect(QRectF(pic.left() + 4, pic.bottom() + 2.4, 18, 1.6), 0.8, 0.8);
    }
    for (int i = 0; i < 4; ++i) {
        p.setBrush(i == 0 ? kTeal : QColor(0xe3, 0xea, 0xe8));
        p.drawRoundedRect(QRectF(108 + i * 7, 88.4, 5.4, 4), 0.8, 0.8);
    }
}

void layoutAdv(QPainter &p)
{
    p.setPen(Qt::NoPen);
    // A banner block with a headline.
    const QRectF hero(kMainLeft, 24, 116, 22);
    QLinearGradient g(hero.topLeft(), hero.topRight());
    g.setColorAt(0, QColor(0xe8, 0x5d, 0x75));
    g.setColorAt(1, kAccent);
    p.setBrush(g);
    p.drawRoundedRect(hero, 2, 2);
    p.setBrush(QColor(255, 255, 255, 70));
    p.drawEllipse(QPointF(hero.right() - 14, hero.top() + 11), 8, 8);
    p.drawEllipse(QPointF(hero.right() - 26, hero.top() + 17), 5, 5);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(hero.left() + 6, hero.top() + 6, 50, 3.6), 1.2, 1.2);
    p.setBrush(QColor(255, 255, 255, 190));
    p.drawRoundedRect(QRectF(hero.left() + 6, hero.top() + 12, 66, 1.8), 0.9, 0.9);
    p.drawRoundedRect(QRectF(hero.left() + 6, hero.top() + 15.6, 40, 1.8), 0.9, 0.9);
    // Left: a coloured heading with text; right: a small table.
    p.setBrush(QColor(0xe8, 0x5d, 0x75));
    p.drawRoundedRect(QRectF(kMainLeft, 50, 26, 2.6), 1, 1);
    textLines(p, kMainLeft, 55, 52, 4, 1);
    const QRectF table(kMainLeft + 60, 50, 56, 22);
    p.fillRect(table, QColor(0xf7, 0xfa, 0xf9));
    p.fillRect(QRectF(table.left(), table.top(), table.width(), 5), kTeal);
    p.setPen(QPen(kRule, 0.5));
    for (int row = 1; row < 4; ++row)
        p.drawLine(QPointF(table.left(), table.top() + 5 + row * 4.25), QPointF(table.right(), table.top() + 5 + row * 4.25));
    p.drawLine(QPointF(table.left() + 20, table.top()), QPointF(table.left() + 20, table.bottom()));
    p.setBrush(Qt::NoBrush);
    p.drawRect(table);
    p.setPen(Qt::NoPen);
    p.setBrush(kTextBar);
    for (int row = 0; row < 4; ++row) {
        p.drawRoundedRect(QRectF(table.left() + 3, table.top() + 6.6 + row * 4.25, 13, 1.4), 0.7, 0.7);
        p.drawRoundedRect(QRectF(table.left() + 24, table.top() + 6.6 + row * 4.25, 26 - row * 3, 1.4), 0.7, 0.7);
    }
    // A tinted note with a round picture.
    const QRectF note(kMainLeft, 76, 116, 15);
    p.setBrush(QColor(0xe3, 0xf1, 0xee));
    p.drawRoundedRect(note, 2, 2);
    p.setBrush(kTeal);
    p.drawRect(QRectF(note.left(), note.top(), 1.4, note.height()));
    p.save();
    QPainterPath round;
    round.addEllipse(QPointF(note.left() + 10, note.center().y()), 5.5, 5.5);
    p.setClipPath(round);
    miniPicture(p, QRectF(note.left() + 4, note.top() + 1.5, 12, 12), 3);
    p.restore();
    textLines(p, note.left() + 20, note.top() + 4, 90, 2, 2);
}

} // namespace

void paintLayout(QPainter &p, const QRectF &r, int index)
{
    // The navigation item that the sample page of each format sits under.
    static const int activeNav[design::kFormatCount] = {1, 2, 1, 4, 1, 3, 3, 5};
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setClipRect(r);
    p.translate(r.topLeft());
    p.scale(r.width() / 150.0, r.height() / 100.0);
    const bool known = index >= 0 && index < design::kFormatCount;
    pageFrame(p, known ? activeNav[index] : -1);
    switch (index) {
    case 0: layoutTxt(p); break;
    case 1: layoutNews(p); break;
    case 2: layoutImgTxt01(p); break;
    case 3: layoutImgTxt02(p); break;
    case 4: layoutImgTxt03(p); break;
    case 5: layoutBigImg(p); break;
    case 6: layoutImgs(p); break;
    case 7: layoutAdv(p); break;
    default: break;
    }
    p.restore();
}

void paintLayout(QPainter &p, const QRectF &r, const QString &key)
{
    const design::FormatInfo *format = design::formatOf(key);
    paintLayout(p, r, format ? format->index : -1);
}

QImage thumbnailImage(int index, QSize size)
{
    QImage img(size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::white);
    QPainter p(&img);
    paintLayout(p, QRectF(QPointF(0, 0), QSizeF(size)), index);
    return img;
}

QPixmap thumbnail(int index, QSize size)
{
    return QPixmap::fromImage(thumbnailImage(index, size));
}

void paintPhoto(QPainter &p, const QRectF &r, int n)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setClipRect(r);
    // Cover the rectangle with the 300x200 scene, centred, keeping its proportions.
    const qreal scale = std::max(r.width() / 300.0, r.height() / 200.0);
    p.translate(r.center());
    p.scale(scale, scale);
    p.translate(-150, -100);
    switch (((n - 1) % kPhotoCount + kPhotoCount) % kPhotoCount) {
    case 0: lakeScene(p); break;
    case 1: sunriseScene(p); break;
    case 2: meadowScene(p); break;
    case 3: autumnScene(p); break;
    case 4: nightScene(p); break;
    case 5: seaScene(p); break;
    case 6: snowScene(p); break;
    default: buildingScene(p); break;
    }
    p.restore();
}

QImage samplePhoto(int n, QSize size)
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    paintPhoto(p, QRectF(QPointF(0, 0), QSizeF(size)), n);
    return img;
}

QImage banner(QSize size)
{
    QImage img(size, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, size.width(), 0);
    g.setColorAt(0, kTeal);
    g.setColorAt(1, kTealDark);
    p.fillRect(img.rect(), g);
    // Faint ranges and a sun towards the right, leaving the left free for the site's name.
    const qreal w = size.width(), h = size.height();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0xd6, 0x78, 110));
    p.drawEllipse(QPointF(w * 0.56, h * 0.42), h * 0.2, h * 0.2);
    p.setBrush(QColor(255, 255, 255, 26));
    p.drawPath(ridge({{w * 0.35, h}, {w * 0.5, h * 0.55}, {w * 0.62, h * 0.8}, {w * 0.8, h * 0.35}, {w, h * 0.6}}, h));
    p.setBrush(QColor(255, 255, 255, 36));
    p.drawPath(ridge({{w * 0.45, h}, {w * 0.66, h * 0.7}, {w * 0.86, h * 0.9}, {w, h * 0.72}}, h));
    return img;
}

QImage pointingHand()
{
    QImage img(32, 32, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    // Edges on pixel centres keep the one-pixel outline crisp.
    QPainterPath hand;
    hand.setFillRule(Qt::WindingFill);
    hand.addRoundedRect(QRectF(8.5, 0.5, 5, 18), 2.5, 2.5);   // index finger
    hand.addRoundedRect(QRectF(13.5, 8.5, 4, 10), 2, 2);      // curled fingers
    hand.addRoundedRect(QRectF(17.5, 9.5, 4, 10), 2, 2);
    hand.addRoundedRect(QRectF(21.5, 11.5, 4, 9), 2, 2);
    hand.addRoundedRect(QRectF(8.5, 15.5, 17, 10), 3, 3);     // palm
    hand.addRoundedRect(QRectF(10.5, 22.5, 13, 8), 1.5, 1.5); // wrist
    QPainterPath thumb;
    thumb.moveTo(9.5, 16.5);
    thumb.lineTo(6.5, 13.5);
    thumb.cubicTo(4.5, 11.5, 1.5, 13.5, 3.5, 16.5);
    thumb.lineTo(9.5, 25.5);
    thumb.closeSubpath();
    hand.addPath(thumb);
    p.setPen(QPen(Qt::black, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawPath(hand.simplified());
    p.drawLine(QPointF(13.5, 11.5), QPointF(13.5, 16.5));
    p.drawLine(QPointF(17.5, 12.5), QPointF(17.5, 17.5));
    p.drawLine(QPointF(21.5, 14.5), QPointF(21.5, 18.5));
    return img;
}

QPoint pointingHandHotspot()
{
    return QPoint(11, 1);
}

} // namespace formatart
