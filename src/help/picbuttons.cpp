#include "help/picbuttons.h"

#include "core/twips.h"
#include "help/skinart.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPainter>

namespace {
constexpr int kPollMs = 10;
const QColor kCaptionPressed(130, 130, 130);
} // namespace

PictureControl::PictureControl(QWidget *parent, const QString &name, const QPixmap &strip, int columns)
    : QWidget(parent)
    , cursorPos([] { return QCursor::pos(); })
    , m_strip(strip)
    , m_columns(columns)
{
    setObjectName(name);
    setMouseTracking(true);
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kPollMs);
}

QPixmap PictureControl::GraphicCell(int index) const
{
    return m_strip.copy(skin::cellRect(m_strip.size(), m_columns, index));
}

bool PictureControl::cursorOutside() const
{
    return skin::outside(mapFromGlobal(cursorPos()), rect());
}

void PictureControl::showLook(int look)
{
    if (m_look == look)
        return;
    m_look = look;
    update();
}

// ---- windowBox ----

windowBox::windowBox(QWidget *parent, const QString &name)
    : PictureControl(parent, name, skinart::closeBoxStrip(), 6)
{
    const int side = twips::toPx(250);
    setFixedSize(side, side);
    connect(Timer1, &QTimer::timeout, this, &windowBox::Timer1_Timer);
    Timer1->start();
}

void windowBox::UserControl_MouseMove(int button, int, float x, float y)
{
    Timer1->start();
    if (skin::onControl(QPointF(x, y), size()))
        showLook(button == 1 ? skin::LookPressed : skin::LookHover);
}

void windowBox::UserControl_MouseDown()
{
    showLook(skin::LookPressed);
}

void windowBox::UserControl_MouseUp(int button, int shift, float x, float y)
{
    emit Click(button, shift, x, y);
}

void windowBox::Timer1_Timer()
{
    if (cursorOutside()) {
        Timer1->stop();
        showLook(skin::LookNormal);
    }
}

void windowBox::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawPixmap(rect(), GraphicCell(look()));
}

void windowBox::mouseMoveEvent(QMouseEvent *event)
{
    const QPointF pos = event->position();
    UserControl_MouseMove(skin::buttonCode(event->buttons()), skin::shiftCode(event->modifiers()), float(pos.x()),
                          float(pos.y()));
}

void windowBox::mousePressEvent(QMouseEvent *)
{
    UserControl_MouseDown();
}

void windowBox::mouseReleaseEvent(QMouseEvent *event)
{
    const QPointF pos = event->position();
    UserControl_MouseUp(skin::buttonCode(event->button()), skin::shiftCode(event->modifiers()), float(pos.x()),
                        float(pos.y()));
}

// ---- cmdBtn ----

cmdBtn::cmdBtn(QWidget *parent, const QString &name)
    : PictureControl(parent, name, skinart::buttonStrip(), 5)
{
    lbl = new QLabel(name, this);
    lbl->setObjectName(QStringLiteral("lbl"));
    // Presses on the caption are presses on the face.
    lbl->setAttribute(Qt::WA_TransparentForMouseEvents);
    lbl->setAutoFillBackground(false);
    connect(Timer1, &QTimer::timeout, this, &cmdBtn::Timer1_Timer);
    UserControl_Resize();
}

void cmdBtn::setCaption(const QString &text)
{
    lbl->setText(text);
    UserControl_Resize();
}

void cmdBtn::UserControl_Resize()
{
    lbl->adjustSize();
    lbl->move((width() - lbl->width()) / 2, (height() - lbl->height()) / 2);
    drawState(skin::LookNormal);
}

void cmdBtn::drawState(int look)
{
    showLook(look);
    QPalette pal = lbl->palette();
    pal.setColor(QPalette::WindowText, look == skin::LookPressed ? kCaptionPressed : QColor(Qt::black));
    lbl->setPalette(pal);
}

void cmdBtn::pic_MouseMove(int, int, float x, float y)
{
    Timer1->start();
    if (skin::onControl(QPointF(x, y), size()) && !hover) {
        drawState(skin::LookHover);
        hover = true;
    }
}

void cmdBtn::pic_MouseDown()
{
    drawState(skin::LookPressed);
}

void cmdBtn::pic_MouseUp()
{
    drawState(skin::LookHover);
    // The release may come after the poll has stopped (the button was held while the
    // pointer left): poll again so that the hover look does not stay behind.
    Timer1->start();
}

void cmdBtn::Timer1_Timer()
{
    if (cursorOutside()) {
        Timer1->stop();
        drawState(skin::LookNormal);
        hover = false;
    }
}

void cmdBtn::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.fillRect(rect(), QColor::fromRgb(skin::kSurfaceRgb));
    const QPixmap cell = GraphicCell(look());
    for (const auto &[src, dst] : skin::nineSlices(cell.size(), rect()))
        p.drawPixmap(dst, cell, src);
}

void cmdBtn::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    UserControl_Resize();
}

void cmdBtn::mouseMoveEvent(QMouseEvent *event)
{
    const QPointF pos = event->position();
    pic_MouseMove(skin::buttonCode(event->buttons()), skin::shiftCode(event->modifiers()), float(pos.x()),
                  float(pos.y()));
}

void cmdBtn::mousePressEvent(QMouseEvent *)
{
    pic_MouseDown();
}

void cmdBtn::mouseReleaseEvent(QMouseEvent *event)
{
    pic_MouseUp();
    // A click is a press and a release on the button.
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit Click();
}
