#include "content/mydate.h"

#include "core/textdate.h"
#include "core/twips.h"

#include <QEvent>
#include <QLocale>
#include <QPainter>

namespace {
// The drop-down button's small arrow (12 x 11 pixels).
QIcon arrowIcon()
{
    QPixmap pm(12, 11);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawPolygon(QPolygonF{QPointF(2, 3), QPointF(10, 3), QPointF(6, 8)});
    return QIcon(pm);
}
} // namespace

myDate::myDate(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("myDate"));
    txtValue = new QLineEdit(this);
    txtValue->setObjectName(QStringLiteral("txtValue"));
    txtValue->setGeometry(twips::toPx(30), twips::toPx(15), twips::toPx(2175), twips::toPx(330));
    txtValue->setTextMargins(0, 0, twips::toPx(300), 0);
    txtValue->installEventFilter(this);
    // The control stands in its host's Tab order as one box: the text box takes the
    // keyboard for it.
    setFocusProxy(txtValue);
    setFocusPolicy(Qt::StrongFocus);
    cmdDown = new QToolButton(this);
    cmdDown->setObjectName(QStringLiteral("cmdDown"));
    cmdDown->setIcon(arrowIcon());
    cmdDown->setIconSize(QSize(12, 11));
    cmdDown->setGeometry(twips::toPx(1890), twips::toPx(45), twips::toPx(285), twips::toPx(270));
    cmdDown->setFocusPolicy(Qt::NoFocus);
    mnthView = new QCalendarWidget(this);
    mnthView->setObjectName(QStringLiteral("mnthView"));
    mnthView->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    mnthView->setLocale(QLocale(QLocale::Chinese, QLocale::China));
    mnthView->resize(mnthView->sizeHint().expandedTo(QSize(twips::toPx(4065), twips::toPx(2220))));
    mnthView->hide();
    setFixedSize(twips::toPx(2235), twips::toPx(360));

    const QDate today = QDate::currentDate();
    mnthView->setSelectedDate(today);
    txtValue->setText(textdate::format(today));

    connect(cmdDown, &QToolButton::clicked, this, &myDate::cmdDown_Click);
    connect(mnthView, &QCalendarWidget::clicked, this, &myDate::mnthView_DateClick);
}

myDate::~myDate()
{
    // The calendar may live in the host window while it is shown.
    if (mnthView && mnthView->parent() != this)
        delete mnthView.data();
}

QString myDate::value() const
{
    return txtValue->text();
}

void myDate::setValue(const QString &text)
{
    txtValue->setText(text);
    const QDate d = textdate::parse(text);
    if (d.isValid())
        mnthView->setSelectedDate(d);
}

void myDate::mnthView_DateClick(const QDate &date)
{
    txtValue->setText(textdate::format(date));
    mnthView->hide();
}

bool myDate::calendarShown() const
{
    return mnthView && !mnthView->isHidden();
}

void myDate::toggleCalendar()
{
    if (calendarShown()) {
        mnthView->hide();
        return;
    }
    // Over the host's controls: a child of the window, placed under the text box.
    QWidget *host = window();
    if (mnthView->parentWidget() != host)
        mnthView->setParent(host);
    QPoint under = host == this ? QPoint(twips::toPx(15), twips::toPx(330))
                                : mapTo(host, QPoint(twips::toPx(15), twips::toPx(330)));
    // Kept inside the host where it would run over its right edge.
    if (host != this)
        under.setX(qMax(0, qMin(under.x(), host->width() - mnthView->width())));
    mnthView->move(under);
    mnthView->show();
    mnthView->raise();
}

bool myDate::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtValue && event->type() == QEvent::MouseButtonPress)
        txtValue_Click();
    return QWidget::eventFilter(watched, event);
}
