#include "ui/artwork.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <functional>

#include "core/version.h"

namespace artwork {

namespace {

QPixmap canvas(int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    return pm;
}

void roundedTile(QPainter &p, const QRectF &r, const QColor &top, const QColor &bottom)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.setPen(QPen(bottom.darker(130), 1));
    p.setBrush(g);
    p.drawRoundedRect(r, r.width() * 0.18, r.width() * 0.18);
}

QPixmap drawTool(int index, int s)
{
    QPixmap pm = canvas(s);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF tile(1.5, 1.5, s - 3, s - 3);
    const qreal u = s / 32.0;
    QPen white(Qt::white, 2.2 * u, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    switch (index) {
    case 1: { // guide: an open book
        roundedTile(p, tile, QColor(0x6f, 0xb3, 0xf0), QColor(0x1f, 0x66, 0xb8));
        p.setPen(white);
        p.setBrush(QColor(255, 255, 255, 60));
        QPainterPath book;
        book.moveTo(16 * u, 10 * u);
        book.cubicTo(12 * u, 8 * u, 9 * u, 8 * u, 6 * u, 9 * u);
        book.lineTo(6 * u, 23 * u);
        book.cubicTo(9 * u, 22 * u, 12 * u, 22 * u, 16 * u, 24 * u);
        book.cubicTo(20 * u, 22 * u, 23 * u, 22 * u, 26 * u, 23 * u);
        book.lineTo(26 * u, 9 * u);
        book.cubicTo(23 * u, 8 * u, 20 * u, 8 * u, 16 * u, 10 * u);
        p.drawPath(book);
        p.drawLine(QPointF(16 * u, 10 * u), QPointF(16 * u, 24 * u));
        break;
    }
    case 2: { // basic information: a card with lines
        roundedTile(p, tile, QColor(0x7d, 0xd8, 0x8c), QColor(0x2b, 0x8a, 0x3e));
        p.setPen(white);
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(7 * u, 8 * u, 18 * u, 16 * u), 2 * u, 2 * u);
        p.drawEllipse(QPointF(12 * u, 14 * u), 2.2 * u, 2.2 * u);
        p.drawLine(QPointF(17 * u, 13 * u), QPointF(22 * u, 13 * u));
        p.drawLine(QPointF(17 * u, 17 * u), QPointF(22 * u, 17 * u));
        p.drawLine(QPointF(10 * u, 20.5 * u), QPointF(22 * u, 20.5 * u));
        break;
    }
    case 3: { // templates: a page layout
        roundedTile(p, tile, QColor(0xf5, 0xb9, 0x5c), QColor(0xc9, 0x6a, 0x12));
        p.setPen(white);
        p.setBrush(QColor(255, 255, 255, 70));
        p.drawRect(QRectF(7 * u, 7 * u, 18 * u, 5 * u));
        p.drawRect(QRectF(7 * u, 14 * u, 6 * u, 11 * u));
        p.drawRect(QRectF(15 * u, 14 * u, 10 * u, 11 * u));
        break;
    }
    case 4: { // design: a column tree
        roundedTile(p, tile, QColor(0xb3, 0x94, 0xf0), QColor(0x5b, 0x3c, 0xb3));
        p.setPen(white);
        p.setBrush(Qt::white);
        p.drawLine(QPointF(10 * u, 10 * u), QPointF(10 * u, 23 * u));
        p.drawLine(QPointF(10 * u, 16 * u), QPointF(17 * u, 16 * u));
        p.drawLine(QPointF(10 * u, 23 * u), QPointF(17 * u, 23 * u));
        p.drawRect(QRectF(7 * u, 7 * u, 6 * u, 4 * u));
        p.drawRect(QRectF(18 * u, 14 * u, 7 * u, 4 * u));
        p.drawRect(QRectF(18 * u, 21 * u, 7 * u, 4 * u));
        break;
    }
    case 5: { // data entry: a pencil on a sheet
        roundedTile(p, tile, QColor(0x5c, 0xd3, 0xd3), QColor(0x12, 0x87, 0x8f));
        p.setPen(white);
        p.setBrush(Qt::NoBrush);
        p.drawLine(QPointF(8 * u, 10 * u), QPointF(16 * u, 10 * u));
        p.drawLine(QPointF(8 * u, 14 * u), QPointF(14 * u, 14 * u));
        p.drawLine(QPointF(8 * u, 18 * u), QPointF(12 * u, 18 * u));
        QPen thick(Qt::white, 3.5 * u, Qt::SolidLine, Qt::RoundCap);
        p.setPen(thick);
        p.drawLine(QPointF(14 * u, 24 * u), QPointF(24 * u, 12 * u));
        break;
    }
    case 6: { // upload: an arrow over a tray
        roundedTile(p, tile, QColor(0xf0, 0x7a, 0x7a), QColor(0xb3, 0x1f, 0x2a));
        p.setPen(white);
        p.setBrush(Qt::NoBrush);
        p.drawLine(QPointF(16 * u, 22 * u), QPointF(16 * u, 8 * u));
        p.drawLine(QPointF(10 * u, 14 * u), QPointF(16 * u, 8 * u));
        p.drawLine(QPointF(22 * u, 14 * u), QPointF(16 * u, 8 * u));
        p.drawPolyline(QPolygonF({QPointF(7 * u, 20 * u), QPointF(7 * u, 25 * u), QPointF(25 * u, 25 * u),
                                  QPointF(25 * u, 20 * u)}));
        break;
    }
    default: { // exit: a door with an arrow
        roundedTile(p, tile, QColor(0xa0, 0xa8, 0xb4), QColor(0x4a, 0x52, 0x5e));
        p.setPen(white);
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF({QPointF(17 * u, 8 * u), QPointF(8 * u, 8 * u), QPointF(8 * u, 24 * u),
                                  QPointF(17 * u, 24 * u)}));
        p.drawLine(QPointF(13 * u, 16 * u), QPointF(25 * u, 16 * u));
        p.drawLine(QPointF(21 * u, 12 * u), QPointF(25 * u, 16 * u));
        p.drawLine(QPointF(21 * u, 20 * u), QPointF(25 * u, 16 * u));
        break;
    }
    }
    return pm;
}

} // namespace

QIcon toolIcon(int index)
{
    QIcon icon;
    for (int s : {16, 24, 32, 48})
        icon.addPixmap(drawTool(index, s));
    return icon;
}

QIcon appIcon()
{
    return toolIcon(4);
}

QPixmap splashPicture()
{
    const QSize size(480, 300);
    QPixmap pm(size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient bg(0, 0, size.width(), size.height());
    bg.setColorAt(0, QColor(0x12, 0x3f, 0x7a));
    bg.setColorAt(1, QColor(0x2f, 0x8f, 0xd8));
    p.fillRect(pm.rect(), bg);
    // A few soft circles for depth.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 22));
    p.drawEllipse(QPointF(400, 40), 130, 130);
    p.drawEllipse(QPointF(60, 280), 110, 110);
    p.drawPixmap(36, 60, drawTool(4, 72));

    QFont title(QStringLiteral("Noto Sans CJK SC"));
    title.setPixelSize(30);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRectF(126, 66, 340, 40), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Quorvik"));
    QFont sub(title);
    sub.setPixelSize(20);
    sub.setBold(false);
    p.setFont(sub);
    p.drawText(QRectF(126, 106, 340, 32), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("自动建站系列软件"));

    QFont small(title);
    small.setPixelSize(13);
    small.setBold(false);
    p.setFont(small);
    p.setPen(QColor(255, 255, 255, 200));
    p.drawText(QRectF(36, 230, 408, 24), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("正在启动，请稍候……"));
    p.drawText(QRectF(36, 230, 408, 24), Qt::AlignRight | Qt::AlignVCenter, kVersionText);
    p.setPen(QPen(QColor(255, 255, 255, 90), 1));
    p.drawLine(36, 222, 444, 222);
    return pm;
}

namespace {

// The back of a folder with its tab, reaching right to `right` (in units).
void drawFolderBack(QPainter &p, qreal u, const QColor &c, qreal right)
{
    p.setPen(QPen(c.darker(150), 1.0 * u));
    p.setBrush(c.darker(110));
    QPainterPath back;
    back.moveTo(1.5 * u, 3.5 * u);
    back.lineTo(6 * u, 3.5 * u);
    back.lineTo(7.5 * u, 5 * u);
    back.lineTo(right * u, 5 * u);
    back.lineTo(right * u, 13.5 * u);
    back.lineTo(1.5 * u, 13.5 * u);
    back.closeSubpath();
    p.drawPath(back);
}

QLinearGradient folderFront(qreal u, const QColor &c, qreal top)
{
    QLinearGradient g(0, top * u, 0, 13.5 * u);
    g.setColorAt(0, c.lighter(125));
    g.setColorAt(1, c);
    return g;
}

void drawFolder(QPainter &p, qreal u, const QColor &c)
{
    drawFolderBack(p, u, c, 14.5);
    p.setBrush(folderFront(u, c, 6));
    p.drawRoundedRect(QRectF(1.5 * u, 6.5 * u, 13 * u, 7 * u), 1 * u, 1 * u);
}

// A folder whose front leans open, a sheet showing inside.
void drawOpenFolder(QPainter &p, qreal u, const QColor &c)
{
    drawFolderBack(p, u, c, 13);
    p.setPen(QPen(QColor(0x9a, 0xa5, 0xb5), 0.8 * u));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(3.5 * u, 4.5 * u, 8 * u, 6 * u));
    p.setPen(QPen(c.darker(150), 1.0 * u));
    p.setBrush(folderFront(u, c, 7.5));
    QPainterPath front;
    front.moveTo(3.5 * u, 7.5 * u);
    front.lineTo(15 * u, 7.5 * u);
    front.lineTo(13 * u, 13.5 * u);
    front.lineTo(1.5 * u, 13.5 * u);
    front.closeSubpath();
    p.drawPath(front);
}

void drawPage(QPainter &p, qreal u)
{
    p.setPen(QPen(QColor(0x6b, 0x7a, 0x8f), 1.0 * u));
    p.setBrush(Qt::white);
    QPainterPath sheet;
    sheet.moveTo(3 * u, 1.5 * u);
    sheet.lineTo(10 * u, 1.5 * u);
    sheet.lineTo(13 * u, 4.5 * u);
    sheet.lineTo(13 * u, 14.5 * u);
    sheet.lineTo(3 * u, 14.5 * u);
    sheet.closeSubpath();
    p.drawPath(sheet);
    p.setPen(QPen(QColor(0x4a, 0x90, 0xd9), 1.0 * u));
    for (int i = 0; i < 3; ++i)
        p.drawLine(QPointF(5 * u, (7 + 2.3 * i) * u), QPointF(11 * u, (7 + 2.3 * i) * u));
}

QPixmap small(int s, const std::function<void(QPainter &, qreal)> &draw)
{
    QPixmap pm = canvas(s);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p, s / 16.0);
    return pm;
}

QIcon smallIcon(const std::function<void(QPainter &, qreal)> &draw)
{
    QIcon icon;
    for (int s : {16, 24, 32})
        icon.addPixmap(small(s, draw));
    return icon;
}

void badge(QPainter &p, qreal u, const QColor &c, const std::function<void(QPainter &)> &glyph)
{
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawEllipse(QPointF(11.5 * u, 11.5 * u), 4.2 * u, 4.2 * u);
    p.setPen(QPen(Qt::white, 1.6 * u, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    glyph(p);
}

} // namespace

QIcon treeIcon(const QString &key)
{
    if (key == QLatin1String("fclose"))
        return smallIcon([](QPainter &p, qreal u) { drawFolder(p, u, QColor(0xf2, 0xc1, 0x4e)); });
    if (key == QLatin1String("fopen"))
        return smallIcon([](QPainter &p, qreal u) { drawOpenFolder(p, u, QColor(0xf2, 0xc1, 0x4e)); });
    return smallIcon([](QPainter &p, qreal u) { drawPage(p, u); });
}

QIcon buttonIcon(const QString &name)
{
    const QColor green(0x2f, 0x9e, 0x44), red(0xd6, 0x33, 0x3a), blue(0x1f, 0x6f, 0xd1), orange(0xe0, 0x7b, 0x12);
    if (name == QLatin1String("addCat"))
        return smallIcon([=](QPainter &p, qreal u) {
            drawFolder(p, u * 0.85, QColor(0xf2, 0xc1, 0x4e));
            badge(p, u, green, [u](QPainter &q) {
                q.drawLine(QPointF(11.5 * u, 9.3 * u), QPointF(11.5 * u, 13.7 * u));
                q.drawLine(QPointF(9.3 * u, 11.5 * u), QPointF(13.7 * u, 11.5 * u));
            });
        });
    if (name == QLatin1String("addFile"))
        return smallIcon([=](QPainter &p, qreal u) {
            drawPage(p, u * 0.85);
            badge(p, u, green, [u](QPainter &q) {
                q.drawLine(QPointF(11.5 * u, 9.3 * u), QPointF(11.5 * u, 13.7 * u));
                q.drawLine(QPointF(9.3 * u, 11.5 * u), QPointF(13.7 * u, 11.5 * u));
            });
        });
    if (name == QLatin1String("delete"))
        return smallIcon([=](QPainter &p, qreal u) {
            p.setPen(QPen(red, 2.4 * u, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(4 * u, 4 * u), QPointF(12 * u, 12 * u));
            p.drawLine(QPointF(12 * u, 4 * u), QPointF(4 * u, 12 * u));
        });
    if (name == QLatin1String("rename"))
        return smallIcon([=](QPainter &p, qreal u) {
            p.setPen(QPen(QColor(0x55, 0x55, 0x55), 1.2 * u));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(1.5 * u, 5 * u, 13 * u, 6 * u));
            p.setPen(QPen(blue, 1.4 * u));
            p.drawLine(QPointF(4 * u, 8 * u), QPointF(8 * u, 8 * u));
            p.drawLine(QPointF(10 * u, 3 * u), QPointF(10 * u, 13 * u));
        });
    if (name == QLatin1String("refresh"))
        return smallIcon([=](QPainter &p, qreal u) {
            p.setPen(QPen(green, 2 * u, Qt::SolidLine, Qt::RoundCap));
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(3 * u, 3 * u, 10 * u, 10 * u), 60 * 16, 290 * 16);
            p.setBrush(green);
            p.setPen(Qt::NoPen);
            p.drawPolygon(QPolygonF({QPointF(9.5 * u, 1 * u), QPointF(14 * u, 4 * u), QPointF(9.5 * u, 6.5 * u)}));
        });
    if (name == QLatin1String("up") || name == QLatin1String("down")) {
        const bool up = name == QLatin1String("up");
        return smallIcon([=](QPainter &p, qreal u) {
            p.setPen(Qt::NoPen);
            p.setBrush(blue);
            const qreal tip = up ? 2 : 14, base = 8;
            p.drawPolygon(QPolygonF({QPointF(8 * u, tip * u), QPointF(13.5 * u, base * u), QPointF(2.5 * u, base * u)}));
            p.drawRect(QRectF(6 * u, (up ? 8 : 2) * u, 4 * u, 6 * u));
        });
    }
    // "modify": a brush over a page
    return smallIcon([=](QPainter &p, qreal u) {
        drawPage(p, u * 0.9);
        p.setPen(QPen(orange, 2.4 * u, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(7 * u, 13 * u), QPointF(14 * u, 5 * u));
    });
}

} // namespace artwork
