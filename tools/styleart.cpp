#include "styleart.h"

#include "design/formatart.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>

#include <cmath>

namespace styleart {

namespace {

const QString kSans = QStringLiteral("Noto Sans CJK SC");
const QString kSerif = QStringLiteral("Noto Serif CJK SC");
const QString kName = QStringLiteral("单位名称");

QFont font(const QString &family, qreal pixels, int weight = QFont::Normal)
{
    QFont f(family);
    f.setPixelSize(int(std::lround(pixels)));
    f.setWeight(QFont::Weight(weight));
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

// ---------------------------------------------------------------------------------------
// Template pages

// The colours and scenes of one template.
struct Theme {
    QColor primary; // header overlay, navigation, footer
    QColor accent;  // the current navigation item, title marks
    QColor tint;    // box title bars and the page ground
    int scene = 1;  // the sample photograph behind the header
    int layout = 0; // how the body is arranged
};

Theme themeOf(const QString &category, int variant)
{
    struct Base {
        const char *category;
        int hue, sat, val;
        int accentHue;
        std::initializer_list<int> scenes;
    };
    static const Base bases[] = {
        {"企业商务", 212, 190, 160, 30, {8, 1, 6, 2, 7, 3, 5}},
        {"学校教育", 140, 170, 130, 45, {3, 4, 8}},
        {"政府机关", 2, 200, 170, 45, {8, 2, 7}},
        {"时尚个性", 280, 150, 150, 25, {5, 2, 4}},
    };
    const Base *b = &bases[0];
    for (const Base &candidate : bases)
        if (category == QString::fromUtf8(candidate.category))
            b = &candidate;
    // Each variant turns the hue a little and darkens or lightens it.
    static const int shifts[] = {0, 24, -20, 44, -38, 12, -8};
    const int shift = shifts[variant % 7];
    Theme t;
    t.primary = QColor::fromHsv((b->hue + shift + 360) % 360, b->sat, std::clamp(b->val + (variant % 3 - 1) * 18, 80, 220));
    t.accent = QColor::fromHsv((b->accentHue + shift / 2 + 360) % 360, 200, 240);
    t.tint = QColor::fromHsv(t.primary.hsvHue(), 40, 248);
    const std::vector<int> scenes(b->scenes);
    t.scene = scenes[size_t(variant) % scenes.size()];
    t.layout = variant % 3;
    return t;
}

void text(QPainter &p, const QRectF &r, const QString &s, const QFont &f, const QColor &c,
          int flags = Qt::AlignLeft | Qt::AlignVCenter)
{
    p.setFont(f);
    p.setPen(c);
    p.drawText(r, flags, s);
}

// White text on a picture, lifted by a dark shadow.
void overlayText(QPainter &p, const QRectF &r, const QString &s, const QFont &f, int flags)
{
    text(p, r.translated(1.5, 1.5), s, f, QColor(0, 0, 0, 150), flags);
    text(p, r, s, f, Qt::white, flags);
}

// Grey bars standing for lines of text.
void lines(QPainter &p, qreal x, qreal y, qreal width, int count, qreal step = 11)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xc9, 0xd0, 0xd4));
    for (int i = 0; i < count; ++i) {
        const qreal w = width * (i == count - 1 ? 0.6 : (0.82 + 0.18 * std::sin(i * 2.3 + x)));
        p.drawRoundedRect(QRectF(x, y + i * step, w, 4), 2, 2);
    }
}

// A list of items, each a small square mark, a bar and a date bar at the right.
void newsList(QPainter &p, const QRectF &r, int count, const QColor &mark)
{
    p.setPen(Qt::NoPen);
    for (int i = 0; i < count; ++i) {
        const qreal y = r.top() + i * 14;
        p.setBrush(mark);
        p.drawRect(QRectF(r.left(), y + 1, 4, 4));
        p.setBrush(QColor(0xb8, 0xc1, 0xc6));
        p.drawRoundedRect(QRectF(r.left() + 9, y, r.width() * (0.55 + 0.2 * std::cos(i * 1.7)), 5), 2, 2);
        p.setBrush(QColor(0xd8, 0xdd, 0xe0));
        p.drawRoundedRect(QRectF(r.right() - 34, y, 34, 5), 2, 2);
    }
}

// A box with a title bar.
QRectF box(QPainter &p, const QRectF &r, const QString &title, const Theme &t)
{
    p.setPen(QPen(t.primary.lighter(160), 1));
    p.setBrush(Qt::white);
    p.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
    const QRectF bar(r.left(), r.top(), r.width(), 22);
    p.setPen(Qt::NoPen);
    p.setBrush(t.tint.darker(104));
    p.drawRect(bar);
    p.setBrush(t.primary);
    p.drawRect(QRectF(bar.left(), bar.top(), 4, bar.height()));
    text(p, bar.adjusted(10, 0, 0, 0), title, font(kSans, 12, QFont::Bold), t.primary.darker(130));
    text(p, bar.adjusted(0, 0, -8, 0), QStringLiteral("更多>>"), font(kSans, 10), QColor(0x88, 0x88, 0x88),
         Qt::AlignRight | Qt::AlignVCenter);
    return r.adjusted(8, 30, -8, -8);
}

void photo(QPainter &p, const QRectF &r, int scene)
{
    formatart::paintPhoto(p, r, scene);
    p.setPen(QPen(QColor(255, 255, 255), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(1, 1, -1, -1));
}

void header(QPainter &p, const QRectF &r, const Theme &t, bool inner)
{
    formatart::paintPhoto(p, r, t.scene);
    QLinearGradient g(r.topLeft(), r.topRight());
    QColor strong = t.primary, faint = t.primary;
    strong.setAlpha(235);
    faint.setAlpha(inner ? 90 : 40);
    g.setColorAt(0, strong);
    g.setColorAt(0.45, strong);
    g.setColorAt(0.75, faint);
    g.setColorAt(1, faint);
    p.fillRect(r, g);
    // The emblem and the organisation's name.
    const qreal cy = r.center().y();
    const qreal radius = inner ? 20 : 27;
    p.setPen(QPen(Qt::white, 3));
    p.setBrush(t.accent);
    p.drawEllipse(QPointF(r.left() + 30 + radius, cy), radius, radius);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({QPointF(r.left() + 30 + radius, cy - radius * 0.55),
                             QPointF(r.left() + 30 + radius + radius * 0.5, cy + radius * 0.4),
                             QPointF(r.left() + 30 + radius - radius * 0.5, cy + radius * 0.4)}));
    const qreal x = r.left() + 42 + 2 * radius;
    text(p, QRectF(x, cy - (inner ? 22 : 30), 400, inner ? 30 : 40), kName, font(kSerif, inner ? 24 : 32, QFont::Black),
         Qt::white);
    text(p, QRectF(x + 2, cy + (inner ? 8 : 12), 400, 20), QStringLiteral("欢迎访问我们的网站"),
         font(kSans, inner ? 11 : 13), QColor(255, 255, 255, 220));
}

void navigation(QPainter &p, const QRectF &r, const Theme &t, int current)
{
    static const char *items[] = {"网站首页", "单位简介", "新闻中心", "产品服务", "资料下载", "在线留言", "联系我们"};
    p.fillRect(r, t.primary.darker(125));
    p.fillRect(QRectF(r.left(), r.bottom() - 3, r.width(), 3), t.accent);
    const qreal w = 90, x0 = r.left() + 30;
    for (int i = 0; i < 7; ++i) {
        const QRectF item(x0 + i * w, r.top(), w, r.height() - 3);
        if (i == current)
            p.fillRect(item, t.accent);
        text(p, item, QString::fromUtf8(items[i]), font(kSans, 13, i == current ? QFont::Bold : QFont::Medium),
             i == current ? t.primary.darker(160) : Qt::white, Qt::AlignCenter);
    }
}

void footer(QPainter &p, const QRectF &r, const Theme &t)
{
    p.fillRect(r, t.primary.darker(150));
    text(p, r, QStringLiteral("版权所有 © 单位名称　地址：××市××路××号　电话：0000-00000000"), font(kSans, 11),
         QColor(255, 255, 255, 200), Qt::AlignCenter);
}

void homeBody(QPainter &p, const QRectF &body, const Theme &t)
{
    const qreal x = body.left(), y = body.top(), w = body.width(), h = body.height();
    switch (t.layout) {
    case 0: {
        // A notice column at the left, a picture and two lists at the right.
        const QRectF notice = box(p, QRectF(x, y, 200, h), QStringLiteral("通知公告"), t);
        newsList(p, notice, int(notice.height() / 14), t.primary);
        const QRectF pic(x + 212, y, w - 212, 96);
        photo(p, pic, t.scene % 8 + 1);
        overlayText(p, pic.adjusted(16, 0, 0, -14), QStringLiteral("专业  诚信  创新  共赢"), font(kSerif, 22, QFont::Bold),
                    Qt::AlignLeft | Qt::AlignBottom);
        const qreal half = (w - 212 - 12) / 2;
        const QRectF news = box(p, QRectF(x + 212, y + 106, half, h - 106), QStringLiteral("新闻动态"), t);
        newsList(p, news, int(news.height() / 14), t.accent.darker(120));
        const QRectF products = box(p, QRectF(x + 224 + half, y + 106, half, h - 106), QStringLiteral("产品展示"), t);
        const qreal tw = (products.width() - 16) / 3;
        for (int i = 0; i < 3; ++i)
            photo(p, QRectF(products.left() + i * (tw + 8), products.top(), tw, products.height() - 14), t.scene + i + 2);
        lines(p, products.left(), products.bottom() - 6, products.width(), 1);
        break;
    }
    case 1: {
        // Three columns: about us with a picture, news, and contact.
        const qreal cw = (w - 24) / 3;
        const QRectF about = box(p, QRectF(x, y, cw, h), QStringLiteral("单位简介"), t);
        photo(p, QRectF(about.left(), about.top(), about.width(), 70), t.scene + 1);
        lines(p, about.left(), about.top() + 80, about.width(), int((about.height() - 80) / 11));
        const QRectF news = box(p, QRectF(x + cw + 12, y, cw, h), QStringLiteral("新闻中心"), t);
        newsList(p, news, int(news.height() / 14), t.primary);
        const QRectF contact = box(p, QRectF(x + 2 * (cw + 12), y, cw, h / 2 - 6), QStringLiteral("联系我们"), t);
        lines(p, contact.left(), contact.top() + 2, contact.width(), int(contact.height() / 11));
        const QRectF links = box(p, QRectF(x + 2 * (cw + 12), y + h / 2 + 6, cw, h / 2 - 6), QStringLiteral("友情链接"), t);
        p.setPen(Qt::NoPen);
        for (int i = 0; i < 4; ++i) {
            p.setBrush(i % 2 ? t.tint.darker(110) : t.primary.lighter(170));
            p.drawRoundedRect(QRectF(links.left() + (i % 2) * (links.width() / 2 + 2), links.top() + (i / 2) * 24,
                                     links.width() / 2 - 2, 18),
                              3, 3);
        }
        break;
    }
    default: {
        // A wide picture, then four boxes in a row.
        const QRectF pic(x, y, w, 104);
        photo(p, pic, t.scene + 3);
        QLinearGradient g(pic.topLeft(), pic.topRight());
        QColor c = t.primary;
        c.setAlpha(170);
        g.setColorAt(0, c);
        c.setAlpha(0);
        g.setColorAt(0.6, c);
        p.fillRect(pic, g);
        overlayText(p, pic.adjusted(24, 0, 0, 0), QStringLiteral("携手同行　共创未来"), font(kSerif, 26, QFont::Bold),
                    Qt::AlignLeft | Qt::AlignVCenter);
        const qreal bw = (w - 36) / 4;
        static const char *titles[] = {"最新动态", "服务项目", "成功案例", "联系方式"};
        for (int i = 0; i < 4; ++i) {
            const QRectF inside = box(p, QRectF(x + i * (bw + 12), y + 114, bw, h - 114), QString::fromUtf8(titles[i]), t);
            if (i == 1 || i == 2) {
                photo(p, QRectF(inside.left(), inside.top(), inside.width(), 46), t.scene + i);
                lines(p, inside.left(), inside.top() + 54, inside.width(), int((inside.height() - 54) / 11));
            } else {
                newsList(p, inside, int(inside.height() / 14), t.accent.darker(115));
            }
        }
        break;
    }
    }
}

void innerBody(QPainter &p, const QRectF &body, const Theme &t)
{
    const qreal x = body.left(), y = body.top(), w = body.width(), h = body.height();
    // Where the page sits.
    text(p, QRectF(x, y, w, 18), QStringLiteral("当前位置：网站首页 > 栏目名称"), font(kSans, 11),
         QColor(0x66, 0x66, 0x66));
    p.fillRect(QRectF(x, y + 20, w, 1), t.primary.lighter(170));
    const qreal top = y + 28, rest = h - 28;
    const bool menuRight = t.layout == 1;
    const qreal mw = 170;
    const QRectF menuRect(menuRight ? x + w - mw : x, top, mw, rest);
    const QRectF menu = box(p, menuRect, QStringLiteral("栏目导航"), t);
    for (int i = 0; i < int(menu.height() / 24); ++i) {
        const QRectF item(menu.left(), menu.top() + i * 24, menu.width(), 20);
        p.setPen(Qt::NoPen);
        p.setBrush(i == 0 ? t.primary : t.tint.darker(103));
        p.drawRect(item);
        p.setBrush(i == 0 ? Qt::white : t.primary);
        p.drawEllipse(QPointF(item.left() + 10, item.center().y()), 2.5, 2.5);
        p.setBrush(i == 0 ? QColor(255, 255, 255, 200) : QColor(0xb8, 0xc1, 0xc6));
        p.drawRoundedRect(QRectF(item.left() + 20, item.center().y() - 2.5, 60 + (i * 17) % 40, 5), 2, 2);
    }
    const QRectF main(menuRight ? x : x + mw + 12, top, w - mw - 12, rest);
    p.setPen(QPen(t.primary.lighter(160), 1));
    p.setBrush(Qt::white);
    p.drawRect(main.adjusted(0.5, 0.5, -0.5, -0.5));
    text(p, QRectF(main.left(), main.top() + 8, main.width(), 26), QStringLiteral("栏目标题"),
         font(kSans, 17, QFont::Bold), t.primary.darker(130), Qt::AlignHCenter | Qt::AlignVCenter);
    p.fillRect(QRectF(main.left() + 16, main.top() + 40, main.width() - 32, 1), QColor(0xdd, 0xdd, 0xdd));
    const qreal cx = main.left() + 16, cw = main.width() - 32;
    if (t.layout == 2) {
        photo(p, QRectF(cx, main.top() + 50, 150, 100), t.scene + 2);
        lines(p, cx + 162, main.top() + 52, cw - 162, 9);
        lines(p, cx, main.top() + 160, cw, int((main.height() - 170) / 11));
    } else {
        lines(p, cx, main.top() + 52, cw, int((main.height() - 62) / 11));
    }
}

// ---------------------------------------------------------------------------------------
// Name styles

// The name as a path, its left edge at 0 and its baseline at 0.
QPainterPath namePath(const QFont &f, qreal spacing = 0)
{
    QPainterPath path;
    qreal x = 0;
    const QFontMetricsF fm(f);
    for (const QChar ch : kName) {
        path.addText(x, 0, f, QString(ch));
        x += fm.horizontalAdvance(ch) + spacing;
    }
    return path;
}

// Moves the path so that it sits in the middle of a picture of this size.
QPainterPath centred(const QPainterPath &path, QSizeF size)
{
    const QRectF b = path.boundingRect();
    return path.translated(size.width() / 2 - b.center().x(), size.height() / 2 - b.center().y());
}

// ---------------------------------------------------------------------------------------
// Background tiles

QImage tile(const QColor &ground)
{
    QImage img(160, 160, QImage::Format_RGB32);
    img.fill(ground);
    return img;
}

// Paints fn at every offset that makes a shape crossing an edge wrap round.
template <class Fn> void wrapped(QPainter &p, QSizeF size, Fn fn)
{
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy) {
            p.save();
            p.translate(dx * size.width(), dy * size.height());
            fn();
            p.restore();
        }
}

} // namespace

QImage templatePage(const QString &category, int variant, bool inner)
{
    QImage img(760, 432, QImage::Format_RGB32);
    const Theme t = themeOf(category, variant);
    img.fill(t.tint);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const qreal headerHeight = inner ? 86 : 118;
    header(p, QRectF(0, 0, 760, headerHeight), t, inner);
    navigation(p, QRectF(0, headerHeight, 760, 31), t, inner ? 2 : 0);
    const QRectF body(14, headerHeight + 41, 732, 432 - 28 - headerHeight - 41 - 10);
    if (inner)
        innerBody(p, body, t);
    else
        homeBody(p, body, t);
    footer(p, QRectF(0, 432 - 28, 760, 28), t);
    return img;
}

QImage nameStyle(int n)
{
    const QSize size(400, 72);
    QImage img(size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF whole(QPointF(0, 0), QSizeF(size));
    switch ((n - 1) % 8) {
    case 0: { // heavy black type on a soft shadow
        const QPainterPath path = centred(namePath(font(kSans, 50, QFont::Black), 6), whole.size());
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 60));
        p.drawPath(path.translated(3, 3));
        p.setBrush(QColor(0x12, 0x2b, 0x5c));
        p.drawPath(path);
        break;
    }
    case 1: { // red serif with a thin gold rim
        const QPainterPath path = centred(namePath(font(kSerif, 50, QFont::Bold), 8), whole.size());
        p.setPen(QPen(QColor(0xe8, 0xc0, 0x4a), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(QColor(0xb0, 0x18, 0x18));
        p.drawPath(path);
        break;
    }
    case 2: { // white letters with a broad blue outline
        const QPainterPath path = centred(namePath(font(kSans, 48, QFont::Bold), 6), whole.size());
        p.setPen(QPen(QColor(0x1d, 0x5f, 0xb8), 7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawPath(path);
        break;
    }
    case 3: { // gold gradient with a dark rim
        const QPainterPath path = centred(namePath(font(kSerif, 50, QFont::Black), 6), whole.size());
        const QRectF b = path.boundingRect();
        QLinearGradient g(b.topLeft(), b.bottomLeft());
        g.setColorAt(0, QColor(0xff, 0xf1, 0xa8));
        g.setColorAt(0.5, QColor(0xe0, 0xa8, 0x20));
        g.setColorAt(1, QColor(0x9a, 0x62, 0x0a));
        p.setPen(QPen(QColor(0x5a, 0x32, 0x08), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(g);
        p.drawPath(path);
        break;
    }
    case 4: { // light, widely spaced
        const QPainterPath path = centred(namePath(font(kSans, 42, QFont::Light), 22), whole.size());
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x1f, 0x7a, 0x6d));
        p.drawPath(path);
        const QRectF b = path.boundingRect();
        p.fillRect(QRectF(b.left(), b.bottom() + 6, b.width(), 2), QColor(0xf2, 0xa5, 0x41));
        break;
    }
    case 5: { // raised letters
        const QPainterPath path = centred(namePath(font(kSerif, 48, QFont::Black), 6), whole.size()).translated(-3, -3);
        p.setPen(Qt::NoPen);
        for (int i = 6; i >= 1; --i) {
            p.setBrush(QColor(0x7a, 0x2e, 0x05).lighter(100 + i * 8));
            p.drawPath(path.translated(i, i));
        }
        p.setBrush(QColor(0xf5, 0x8a, 0x1f));
        p.drawPath(path);
        break;
    }
    case 6: { // green to blue with a glow
        const QPainterPath path = centred(namePath(font(kSans, 48, QFont::Bold), 6), whole.size());
        for (int w = 12; w >= 4; w -= 4) {
            p.setPen(QPen(QColor(0x5c, 0xc8, 0xf0, 45), w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.setBrush(Qt::NoBrush);
            p.drawPath(path);
        }
        const QRectF b = path.boundingRect();
        QLinearGradient g(b.topLeft(), b.topRight());
        g.setColorAt(0, QColor(0x2e, 0x9e, 0x44));
        g.setColorAt(1, QColor(0x1d, 0x5f, 0xb8));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawPath(path);
        break;
    }
    default: { // slanted, with a silver rim and a swash below
        QPainterPath path = namePath(font(kSerif, 46, QFont::DemiBold), 6);
        QTransform shear;
        shear.shear(-0.25, 0);
        path = centred(shear.map(path), QSizeF(size.width(), size.height() - 8));
        p.setPen(QPen(QColor(0xd0, 0xd6, 0xde), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(QColor(0x2a, 0x31, 0x3b));
        p.drawPath(path);
        const QRectF b = path.boundingRect();
        QPainterPath swash;
        swash.moveTo(b.left() - 6, b.bottom() + 8);
        swash.cubicTo(b.left() + b.width() * 0.3, b.bottom() + 2, b.left() + b.width() * 0.7, b.bottom() + 12,
                      b.right() + 10, b.bottom() + 4);
        p.setPen(QPen(QColor(0xa0, 0x1e, 0x2a), 2.5, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(swash);
        break;
    }
    }
    return img;
}

QImage backgroundTile(int n)
{
    QRandomGenerator rng(quint32(0x51ab + n));
    QImage img;
    const QSizeF size(160, 160);
    switch ((n - 1) % 8) {
    case 0: { // paper: cream with fine grain
        img = tile(QColor(0xfb, 0xf6, 0xe9));
        for (int i = 0; i < 2600; ++i) {
            const int x = int(rng.bounded(160)), y = int(rng.bounded(160));
            const int d = int(rng.bounded(10)) - 5;
            const QColor c = img.pixelColor(x, y);
            img.setPixelColor(x, y, QColor(c.red() + d, c.green() + d, c.blue() + d - 2));
        }
        break;
    }
    case 1: { // pale blue diagonal stripes
        img = tile(QColor(0xee, 0xf4, 0xfb));
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(0xdc, 0xe8, 0xf6), 10));
        for (int k = -4; k <= 4; ++k)
            p.drawLine(QPointF(k * 40 - 20, -20), QPointF(k * 40 + 180, 180));
        break;
    }
    case 2: { // dots on pale green
        img = tile(QColor(0xf1, 0xf8, 0xef));
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xd6, 0xea, 0xd0));
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x)
                wrapped(p, size, [&] { p.drawEllipse(QPointF(x * 40 + (y % 2) * 20 + 10, y * 40 + 10), 5, 5); });
        break;
    }
    case 3: { // graph paper
        img = tile(QColor(0xfc, 0xfc, 0xf8));
        QPainter p(&img);
        for (int i = 0; i < 160; i += 10) {
            const QColor c = i % 40 == 0 ? QColor(0xd5, 0xe3, 0xee) : QColor(0xe9, 0xf0, 0xf5);
            p.fillRect(QRectF(i, 0, 1, 160), c);
            p.fillRect(QRectF(0, i, 160, 1), c);
        }
        break;
    }
    case 4: { // soft waves
        img = tile(QColor(0xed, 0xf5, 0xfa));
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(Qt::NoBrush);
        for (int row = 0; row < 8; ++row) {
            p.setPen(QPen(row % 2 ? QColor(0xd9, 0xe9, 0xf4) : QColor(0xcd, 0xe2, 0xf0), 3));
            QPainterPath wave;
            const qreal y = row * 20 + 10;
            wave.moveTo(-40, y);
            for (int k = 0; k < 6; ++k)
                wave.cubicTo(-40 + k * 40 + 13, y - 7, -40 + k * 40 + 27, y + 7, -40 + (k + 1) * 40, y);
            p.drawPath(wave);
        }
        break;
    }
    case 5: { // gingham
        img = tile(QColor(0xfd, 0xf4, 0xf6));
        QPainter p(&img);
        const QColor band(0xf6, 0xd8, 0xe0, 150);
        for (int i = 0; i < 160; i += 32) {
            p.fillRect(QRectF(i, 0, 16, 160), band);
            p.fillRect(QRectF(0, i, 160, 16), band);
        }
        break;
    }
    case 6: { // grey marble: soft blots with veins
        img = tile(QColor(0xf2, 0xf2, 0xf0));
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        for (int i = 0; i < 14; ++i) {
            const QPointF c(rng.bounded(160.0), rng.bounded(160.0));
            const qreal r = 12 + rng.bounded(26.0);
            p.setBrush(QColor(0xdd, 0xdd, 0xda, 50));
            wrapped(p, size, [&] { p.drawEllipse(c, r, r * 0.7); });
        }
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(0xcf, 0xcf, 0xcc, 160), 1.2));
        for (int i = 0; i < 3; ++i) {
            QPainterPath vein;
            const qreal y = 20 + i * 55;
            vein.moveTo(0, y);
            vein.cubicTo(50, y - 25 + i * 6, 110, y + 25, 160, y);
            wrapped(p, size, [&] { p.drawPath(vein); });
        }
        break;
    }
    default: { // small flowers on pale yellow
        img = tile(QColor(0xfe, 0xfb, 0xea));
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 2; ++x) {
                const QPointF c(x * 80 + (y % 2) * 40 + 20, y * 80 + 20);
                wrapped(p, size, [&] {
                    p.setBrush(QColor(0xf4, 0xde, 0xa0));
                    for (int k = 0; k < 5; ++k) {
                        const qreal a = k * 2 * M_PI / 5;
                        p.drawEllipse(c + QPointF(std::cos(a) * 7, std::sin(a) * 7), 5, 5);
                    }
                    p.setBrush(QColor(0xe8, 0xb8, 0x50));
                    p.drawEllipse(c, 3.5, 3.5);
                });
            }
        break;
    }
    }
    return img;
}

} // namespace styleart
