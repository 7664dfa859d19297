#include "editor/editorart.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace editorart {

namespace {

const QColor kInk(0x33, 0x3d, 0x4a);
const QColor kBlue(0x1f, 0x6f, 0xd1);
const QColor kRed(0xd6, 0x33, 0x3a);
const QColor kGreen(0x2f, 0x9e, 0x44);
const QColor kOrange(0xe0, 0x7b, 0x12);

using Draw = std::function<void(QPainter &, qreal)>;

QIcon icon(const Draw &draw)
{
    QIcon out;
    for (int s : {16, 24, 32}) {
        QPixmap pm(s, s);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        draw(p, s / 16.0);
        p.end();
        out.addPixmap(pm);
    }
    return out;
}

QPen pen(const QColor &c, qreal width, qreal u)
{
    return QPen(c, width * u, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void sheet(QPainter &p, qreal u, qreal x, qreal y, qreal w, qreal h)
{
    p.setPen(pen(QColor(0x6b, 0x7a, 0x8f), 1, u));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(x * u, y * u, w * u, h * u));
}

// A letter in the middle of the picture.
void letter(QPainter &p, qreal u, const QString &text, bool bold, bool italic, const QColor &c, qreal top = 0)
{
    QFont f(QStringLiteral("Liberation Serif"));
    f.setPixelSize(int(16 * u));
    f.setBold(bold);
    f.setItalic(italic);
    p.setFont(f);
    p.setPen(c);
    p.drawText(QRectF(0, top * u, 16 * u, 16 * u), Qt::AlignCenter, text);
}

// Four text lines aligned left, centre or right.
void lines(QPainter &p, qreal u, int align)
{
    p.setPen(pen(kInk, 1.4, u));
    const qreal widths[] = {12, 8, 12, 6};
    for (int i = 0; i < 4; ++i) {
        const qreal w = widths[i];
        const qreal x = align == 0 ? 2 : align == 1 ? 8 - w / 2 : 14 - w;
        const qreal y = 3.5 + i * 3;
        p.drawLine(QPointF(x * u, y * u), QPointF((x + w) * u, y * u));
    }
}

// A curved arrow turning left (undo) or right (redo).
void turnArrow(QPainter &p, qreal u, bool left)
{
    p.save();
    if (!left) {
        p.translate(16 * u, 0);
        p.scale(-1, 1);
    }
    p.setPen(pen(kBlue, 1.8, u));
    p.setBrush(Qt::NoBrush);
    QPainterPath arc;
    arc.moveTo(4 * u, 7 * u);
    arc.cubicTo(8 * u, 3 * u, 15 * u, 5 * u, 13 * u, 12 * u);
    p.drawPath(arc);
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    p.drawPolygon(QPolygonF({QPointF(1.5 * u, 4 * u), QPointF(7 * u, 4.5 * u), QPointF(3 * u, 10 * u)}));
    p.restore();
}

void chainLink(QPainter &p, qreal u, QPointF c, qreal angle)
{
    p.save();
    p.translate(c.x() * u, c.y() * u);
    p.rotate(angle);
    p.drawRoundedRect(QRectF(-4 * u, -2 * u, 8 * u, 4 * u), 2 * u, 2 * u);
    p.restore();
}

} // namespace

QIcon toolIcon(const QString &key)
{
    if (key == QLatin1String("save"))
        return icon([](QPainter &p, qreal u) {
            p.setPen(pen(kBlue.darker(140), 1, u));
            p.setBrush(kBlue);
            p.drawRoundedRect(QRectF(1.5 * u, 1.5 * u, 13 * u, 13 * u), 1.5 * u, 1.5 * u);
            p.setBrush(Qt::white);
            p.setPen(Qt::NoPen);
            p.drawRect(QRectF(4 * u, 1.5 * u, 8 * u, 5 * u));
            p.setBrush(QColor(0xe8, 0xee, 0xf6));
            p.drawRect(QRectF(3.5 * u, 9 * u, 9 * u, 5.5 * u));
            p.setBrush(kBlue.darker(140));
            p.drawRect(QRectF(9.5 * u, 2.5 * u, 1.8 * u, 3 * u));
        });
    if (key == QLatin1String("selectAll"))
        return icon([](QPainter &p, qreal u) {
            QPen dash = pen(kBlue, 1, u);
            dash.setStyle(Qt::DashLine);
            p.setPen(dash);
            p.setBrush(QColor(0x1f, 0x6f, 0xd1, 40));
            p.drawRect(QRectF(1.5 * u, 1.5 * u, 13 * u, 13 * u));
            p.setPen(pen(kInk, 1.2, u));
            for (int i = 0; i < 3; ++i)
                p.drawLine(QPointF(4 * u, (5 + 3 * i) * u), QPointF(12 * u, (5 + 3 * i) * u));
        });
    if (key == QLatin1String("undo") || key == QLatin1String("redo")) {
        const bool left = key == QLatin1String("undo");
        return icon([left](QPainter &p, qreal u) { turnArrow(p, u, left); });
    }
    if (key == QLatin1String("cut"))
        return icon([](QPainter &p, qreal u) {
            p.setPen(pen(kInk, 1.3, u));
            p.drawLine(QPointF(4.5 * u, 1.5 * u), QPointF(10.5 * u, 10 * u));
            p.drawLine(QPointF(11.5 * u, 1.5 * u), QPointF(5.5 * u, 10 * u));
            p.setPen(pen(kRed, 1.4, u));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QPointF(4.5 * u, 12 * u), 2.3 * u, 2.3 * u);
            p.drawEllipse(QPointF(11.5 * u, 12 * u), 2.3 * u, 2.3 * u);
        });
    if (key == QLatin1String("copy"))
        return icon([](QPainter &p, qreal u) {
            sheet(p, u, 1.5, 1.5, 8.5, 10);
            sheet(p, u, 6, 5, 8.5, 10);
            p.setPen(pen(kBlue, 1, u));
            for (int i = 0; i < 3; ++i)
                p.drawLine(QPointF(8 * u, (8 + 2.2 * i) * u), QPointF(12.5 * u, (8 + 2.2 * i) * u));
        });
    if (key == QLatin1String("paste"))
        return icon([](QPainter &p, qreal u) {
            p.setPen(pen(QColor(0x8a, 0x5a, 0x2b), 1, u));
            p.setBrush(QColor(0xc8, 0x8f, 0x4e));
            p.drawRoundedRect(QRectF(2 * u, 2.5 * u, 10 * u, 12 * u), 1 * u, 1 * u);
            p.setBrush(QColor(0x9a, 0xa4, 0xb0));
            p.drawRect(QRectF(4.5 * u, 1.5 * u, 5 * u, 2.5 * u));
            sheet(p, u, 7, 6.5, 7.5, 8);
        });
    if (key == QLatin1String("delete"))
        return icon([](QPainter &p, qreal u) {
            p.setPen(pen(kRed, 2.4, u));
            p.drawLine(QPointF(4 * u, 4 * u), QPointF(12 * u, 12 * u));
            p.drawLine(QPointF(12 * u, 4 * u), QPointF(4 * u, 12 * u));
        });
    if (key == QLatin1String("bold"))
        return icon([](QPainter &p, qreal u) { letter(p, u, QStringLiteral("B"), true, false, kInk, 1); });
    if (key == QLatin1String("italic"))
        return icon([](QPainter &p, qreal u) { letter(p, u, QStringLiteral("I"), true, true, kInk, 1); });
    if (key == QLatin1String("underLine"))
        return icon([](QPainter &p, qreal u) {
            letter(p, u, QStringLiteral("U"), true, false, kInk, -0.5);
            p.setPen(pen(kBlue, 1.4, u));
            p.drawLine(QPointF(3.5 * u, 14 * u), QPointF(12.5 * u, 14 * u));
        });
    if (key == QLatin1String("Aleft"))
        return icon([](QPainter &p, qreal u) { lines(p, u, 0); });
    if (key == QLatin1String("Acenter"))
        return icon([](QPainter &p, qreal u) { lines(p, u, 1); });
    if (key == QLatin1String("Aright"))
        return icon([](QPainter &p, qreal u) { lines(p, u, 2); });
    if (key == QLatin1String("RemoveFormat"))
        return icon([](QPainter &p, qreal u) {
            letter(p, u, QStringLiteral("A"), true, false, kInk, -1);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0xf2, 0x9c, 0xb4));
            p.save();
            p.translate(10.5 * u, 12 * u);
            p.rotate(-35);
            p.drawRoundedRect(QRectF(-4 * u, -2 * u, 8 * u, 4 * u), 1 * u, 1 * u);
            p.setBrush(Qt::white);
            p.drawRect(QRectF(-4 * u, -2 * u, 2.5 * u, 4 * u));
            p.restore();
        });
    if (key == QLatin1String("sline"))
        return icon([](QPainter &p, qreal u) {
            p.setPen(pen(QColor(0xb0, 0xb8, 0xc4), 1, u));
            p.drawLine(QPointF(3 * u, 3.5 * u), QPointF(13 * u, 3.5 * u));
            p.drawLine(QPointF(3 * u, 12.5 * u), QPointF(13 * u, 12.5 * u));
            p.setPen(QPen(kInk, 2.2 * u, Qt::SolidLine, Qt::FlatCap));
            p.drawLine(QPointF(1 * u, 8 * u), QPointF(15 * u, 8 * u));
        });
    if (key == QLatin1String("link") || key == QLatin1String("unlink")) {
        const bool broken = key == QLatin1String("unlink");
        return icon([broken](QPainter &p, qreal u) {
            p.setPen(pen(broken ? QColor(0x8a, 0x93, 0xa0) : kBlue, 1.6, u));
            p.setBrush(Qt::NoBrush);
            if (broken) {
                chainLink(p, u, {4.5, 11.5}, -45);
                chainLink(p, u, {11.5, 4.5}, -45);
                p.setPen(pen(kRed, 1.3, u));
                p.drawLine(QPointF(6.5 * u, 5 * u), QPointF(7.5 * u, 6.5 * u));
                p.drawLine(QPointF(9.5 * u, 11 * u), QPointF(8.5 * u, 9.5 * u));
            } else {
                chainLink(p, u, {5.5, 10.5}, -45);
                chainLink(p, u, {10.5, 5.5}, -45);
            }
        });
    }
    if (key == QLatin1String("table"))
        return icon([](QPainter &p, qreal u) {
            p.setPen(pen(kInk, 1, u));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(1.5 * u, 2.5 * u, 13 * u, 11 * u));
            p.setPen(Qt::NoPen);
            p.setBrush(kBlue);
            p.drawRect(QRectF(1.5 * u, 2.5 * u, 13 * u, 3 * u));
            p.setPen(pen(kInk, 1, u));
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRectF(1.5 * u, 2.5 * u, 13 * u, 11 * u));
            p.drawLine(QPointF(1.5 * u, 9.5 * u), QPointF(14.5 * u, 9.5 * u));
            p.drawLine(QPointF(6 * u, 5.5 * u), QPointF(6 * u, 13.5 * u));
            p.drawLine(QPointF(10.5 * u, 5.5 * u), QPointF(10.5 * u, 13.5 * u));
        });
    if (key == QLatin1String("img"))
        return icon([](QPainter &p, qreal u) {
            QLinearGradient sky(0, 2 * u, 0, 14 * u);
            sky.setColorAt(0, QColor(0x9f, 0xd3, 0xf5));
            sky.setColorAt(1, QColor(0xe3, 0xf3, 0xfd));
            p.setPen(pen(kInk, 1, u));
            p.setBrush(sky);
            p.drawRect(QRectF(1.5 * u, 2.5 * u, 13 * u, 11 * u));
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0xf2, 0xc1, 0x4e));
            p.drawEllipse(QPointF(11 * u, 5.5 * u), 1.6 * u, 1.6 * u);
            p.setBrush(kGreen);
            p.drawPolygon(QPolygonF({QPointF(2 * u, 13 * u), QPointF(6.5 * u, 6.5 * u), QPointF(10 * u, 11 * u),
                                     QPointF(11.5 * u, 9 * u), QPointF(14 * u, 13 * u)}));
        });
    if (key == QLatin1String("flash"))
        return icon([](QPainter &p, qreal u) {
            QLinearGradient g(0, 1 * u, 0, 15 * u);
            g.setColorAt(0, QColor(0xf0, 0x5a, 0x4a));
            g.setColorAt(1, QColor(0xa8, 0x1c, 0x1c));
            p.setPen(Qt::NoPen);
            p.setBrush(g);
            p.drawRoundedRect(QRectF(1.5 * u, 1.5 * u, 13 * u, 13 * u), 2.5 * u, 2.5 * u);
            letter(p, u, QStringLiteral("f"), true, true, Qt::white, 0.5);
        });
    // "color": a letter over a bar of colour
    return icon([](QPainter &p, qreal u) {
        letter(p, u, QStringLiteral("A"), true, false, kInk, -1.5);
        QLinearGradient g(1.5 * u, 0, 14.5 * u, 0);
        g.setColorAt(0, kRed);
        g.setColorAt(0.5, kOrange);
        g.setColorAt(1, kBlue);
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawRect(QRectF(1.5 * u, 12 * u, 13 * u, 3 * u));
    });
}

} // namespace editorart
