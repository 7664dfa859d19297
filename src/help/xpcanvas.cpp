#include "help/xpcanvas.h"

#include "help/skinart.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

namespace {

constexpr int kPollMs = 10;

QPixmap gripPicture()
{
    static const QPixmap pm = [] {
        QPixmap p(5, 5);
        p.fill(Qt::transparent);
        QPainter g(&p);
        g.setPen(QColor(0xff, 0xff, 0xff, 150));
        g.drawLine(1, 4, 4, 1);
        g.drawLine(3, 4, 4, 3);
        return p;
    }();
    return pm;
}

void drawSlices(QPainter &p, const QPixmap &pm, const skin::Slices &slices)
{
    for (const auto &[src, dst] : slices)
        if (!src.isEmpty() && !dst.isEmpty())
            p.drawPixmap(dst, pm, src);
}

} // namespace

xp_canvas::xp_canvas(QWidget *host, const QString &name)
    : QWidget(host)
    , m_host(host)
{
    setObjectName(name);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    Timer1 = new QTimer(this);
    Timer2 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer2->setObjectName(QStringLiteral("Timer2"));
    setTimerInterval(kPollMs);
    connect(Timer1, &QTimer::timeout, this, &xp_canvas::Timer1_Timer);
    connect(Timer2, &QTimer::timeout, this, &xp_canvas::Timer2_Timer);
    if (host) {
        host->installEventFilter(this);
        // However the host is resized, by the grips or by the window system, the frame fits.
        host->setMinimumSize(host->minimumSize().expandedTo(skin::kFrameMinimum));
    }
    // A new instance: the active look, then the defaults in their order.
    applyLook(true);
    setCaption(name);
    setFixed_Single(false);
    setIcon(skinart::frameIcon());
    Timer1->start();
    Timer2->start();
}

void xp_canvas::setTimerInterval(int ms)
{
    Timer1->setInterval(ms);
    Timer2->setInterval(ms);
}

QFont xp_canvas::captionFont() const
{
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(10.5);
    f.setBold(true);
    return f;
}

void xp_canvas::setCaption(const QString &text)
{
    m_caption = text;
    if (QWidget *h = host())
        h->setWindowTitle(text);
    UserControl_Resize();
}

void xp_canvas::setIcon(const QPixmap &picture)
{
    m_icon = picture;
    update(frameGeometry().icon);
}

void xp_canvas::setFixed_Single(bool fixed)
{
    m_fixed = fixed;
    UserControl_Resize();
}

void xp_canvas::SetFocus()
{
    Timer1->stop();
    Timer2->stop();
    applyLook(true);
}

void xp_canvas::make_trans(QWidget *form)
{
    if (!form)
        return;
    // The surface keeps the colour it is cleared to: the brush carries it with the picture.
    const QColor back = form->palette().brush(QPalette::Window).color();
    QPixmap surface(form->size());
    surface.fill(back);
    if (skin::hostState(form->windowState()) == skin::StateNormal && !imgtop.isNull()) {
        const skin::Slices slices = skin::threeSlices(imgtop.size(), frameGeometry().top);
        QPainter p(&surface);
        p.drawPixmap(slices.first().second, imgtop, slices.first().first);
        p.drawPixmap(slices.last().second, imgtop, slices.last().first);
    }
    QPalette pal = form->palette();
    pal.setBrush(QPalette::Window, QBrush(back, surface));
    form->setPalette(pal);
    form->setAutoFillBackground(true);
    form->update();
}

void xp_canvas::applyLook(bool active)
{
    m_active = active;
    const skinart::FramePictures &set = skinart::framePictures(active);
    imgleft = set.left;
    imgright = set.right;
    imgtop = set.top;
    imgtopmax = set.topMax;
    imgbottom = set.bottom;
    UserControl_Resize();
}

skin::HostState xp_canvas::hostState() const
{
    const QWidget *h = host();
    return h ? skin::hostState(h->windowState()) : skin::StateNormal;
}

skin::FrameGeometry xp_canvas::frameGeometry() const
{
    const QFontMetrics fm(captionFont());
    return skin::frameGeometry(size(), fm.size(Qt::TextSingleLine, m_caption));
}

Qt::CursorShape xp_canvas::pointerOf(skin::Part part) const
{
    return skin::cursorFor(part, m_fixed, hostState());
}

void xp_canvas::UserControl_Resize()
{
    update();
    if (underMouse())
        setCursor(pointerOf(partAt(mapFromGlobal(QCursor::pos()))));
    emit Resize();
}

void xp_canvas::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.fillRect(rect(), QColor::fromRgb(skin::kSurfaceRgb));
    const skin::FrameGeometry g = frameGeometry();
    const QColor bar = QColor::fromRgb(skin::kBarRgb);
    for (const QRect &r : {g.left, g.right, g.top, g.bottom})
        p.fillRect(r, bar);
    p.drawPixmap(g.left, imgleft, imgleft.rect());
    p.drawPixmap(g.right, imgright, imgright.rect());
    switch (hostState()) {
    case skin::StateNormal: drawSlices(p, imgtop, skin::threeSlices(imgtop.size(), g.top)); break;
    case skin::StateMaximised: drawSlices(p, imgtopmax, skin::threeSlices(imgtopmax.size(), g.top)); break;
    case skin::StateMinimised: break;
    }
    p.drawPixmap(g.bottom, imgbottom, imgbottom.rect());
    p.drawPixmap(g.grip5, gripPicture().transformed(QTransform().scale(-1, 1)));
    p.drawPixmap(g.grip4, gripPicture());
    if (!m_icon.isNull())
        p.drawPixmap(g.icon, m_icon, m_icon.rect());
    p.setFont(captionFont());
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(g.shadow, Qt::AlignLeft | Qt::AlignTop, m_caption);
    p.setPen(Qt::white);
    p.drawText(g.caption, Qt::AlignLeft | Qt::AlignTop, m_caption);
}

void xp_canvas::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    UserControl_Resize();
}

bool xp_canvas::hostIsActive() const
{
    const QWidget *active = QApplication::activeWindow();
    return active && host() && active == host()->window();
}

void xp_canvas::Timer1_Timer()
{
    if (!hostIsActive()) {
        applyLook(false);
        Timer1->stop();
    }
}

void xp_canvas::Timer2_Timer()
{
    if (hostIsActive()) {
        applyLook(true);
        Timer2->stop();
    }
}

bool xp_canvas::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == host()) {
        switch (event->type()) {
        case QEvent::WindowActivate: // the focus came into the frame's window
            Timer1->stop();
            applyLook(true);
            break;
        case QEvent::WindowDeactivate: // the focus left it
            Timer1->start();
            Timer2->start();
            break;
        case QEvent::WindowStateChange: UserControl_Resize(); break;
        default: break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void xp_canvas::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    SetFocus();
}

void xp_canvas::pictop_MouseDown(QPoint cursor)
{
    if (hostState() != skin::StateNormal)
        return;
    // The move starts once the pointer is dragged, so that a double-click stays a double-click.
    m_movePending = true;
    m_moveFrom = cursor;
}

void xp_canvas::pictop_DblClick()
{
    QWidget *h = host();
    if (m_fixed || !h)
        return;
    if (hostState() == skin::StateNormal)
        h->setWindowState((h->windowState() & ~(Qt::WindowMinimized | Qt::WindowFullScreen)) | Qt::WindowMaximized);
    else
        h->setWindowState(h->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
}

void xp_canvas::border_MouseDown(int edge, QPoint cursor)
{
    if (m_fixed)
        return;
    // Where the window system resizes windows itself, it does so live.
    if (hostState() == skin::StateNormal && host())
        if (QWindow *w = host()->windowHandle()) {
            static const Qt::Edges edges[] = {
                Qt::LeftEdge,
                Qt::RightEdge,
                Qt::TopEdge,
                Qt::BottomEdge,
                Qt::BottomEdge | Qt::RightEdge,
                Qt::BottomEdge | Qt::LeftEdge,
                Qt::TopEdge | Qt::RightEdge,
                Qt::TopEdge | Qt::LeftEdge,
            };
            if (edge >= 0 && edge < 8 && w->startSystemResize(edges[edge])) {
                m_pressedEdge = -1;
                return;
            }
        }
    m_pressedEdge = edge;
    startPoint = cursor;
}

void xp_canvas::border_MouseUp(int edge, QPoint cursor)
{
    if (m_fixed || m_pressedEdge < 0)
        return;
    m_pressedEdge = -1;
    endPoint = cursor;
    QWidget *h = host();
    if (!h || hostState() != skin::StateNormal)
        return; // the host refuses to move while not in the normal state
    const QRect now = h->geometry();
    const QRect wanted = skin::resizeParent(now, startPoint, endPoint, edge, h->minimumSize());
    if (wanted != now)
        h->setGeometry(wanted);
}

void xp_canvas::mousePressEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    const QPoint cursor = event->globalPosition().toPoint();
    const skin::Part part = partAt(pos);
    m_surfacePress = part == skin::Part::Surface;
    m_afterDblClick = false;
    if (m_surfacePress) {
        emit MouseDown(skin::buttonCode(event->button()), skin::shiftCode(event->modifiers()), float(pos.x()),
                       float(pos.y()));
    } else if (part == skin::Part::CaptionBar || part == skin::Part::Caption) {
        pictop_MouseDown(cursor);
    } else if (const int edge = skin::edgeOf(part); edge >= 0) {
        border_MouseDown(edge, cursor);
    }
}

void xp_canvas::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    const QPoint cursor = event->globalPosition().toPoint();
    if (m_movePending && (event->buttons() != Qt::NoButton)
        && (cursor - m_moveFrom).manhattanLength() >= QApplication::startDragDistance()) {
        m_movePending = false;
        QWindow *w = host() ? host()->windowHandle() : nullptr;
        if (host() && !(w && w->startSystemMove())) {
            m_moving = true;
            m_moveOrigin = host()->pos();
        }
    }
    if (m_moving) {
        host()->move(m_moveOrigin + (cursor - m_moveFrom));
        return;
    }
    if (event->buttons() == Qt::NoButton)
        setCursor(pointerOf(partAt(pos)));
    if (partAt(pos) == skin::Part::Surface)
        emit MouseMove(skin::buttonCode(event->buttons()), skin::shiftCode(event->modifiers()), float(pos.x()),
                       float(pos.y()));
}

void xp_canvas::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    m_movePending = false;
    m_moving = false;
    if (m_pressedEdge >= 0) {
        border_MouseUp(m_pressedEdge, event->globalPosition().toPoint());
        return;
    }
    if (m_surfacePress) {
        m_surfacePress = false;
        emit mouseUp(skin::buttonCode(event->button()), skin::shiftCode(event->modifiers()), float(pos.x()),
                     float(pos.y()));
        if (!m_afterDblClick && rect().contains(pos) && partAt(pos) == skin::Part::Surface)
            emit Click();
    }
}

void xp_canvas::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    const skin::Part part = partAt(pos);
    if (part == skin::Part::CaptionBar || part == skin::Part::Caption) {
        m_movePending = false;
        pictop_DblClick();
    } else if (part == skin::Part::Surface) {
        m_surfacePress = true;
        m_afterDblClick = true;
        emit DblClick();
    } else {
        // A second press on a border is a press like the first.
        mousePressEvent(event);
    }
}

void xp_canvas::keyPressEvent(QKeyEvent *event)
{
    emit KeyDown(event->key(), skin::shiftCode(event->modifiers()));
    if (!event->text().isEmpty())
        emit KeyPress(event->text().at(0).unicode());
}

void xp_canvas::keyReleaseEvent(QKeyEvent *event)
{
    emit KeyUp(event->key(), skin::shiftCode(event->modifiers()));
}
