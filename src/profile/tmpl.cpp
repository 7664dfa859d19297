#include "profile/tmpl.h"

#include "core/appcontext.h"
#include "core/stylemanifest.h"
#include "core/twips.h"
#include "profile/tmplactions.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPixmap>
#include <QSignalBlocker>

namespace profile {

bool showPicture(QLabel *box, const QString &path)
{
    const QPixmap picture(path);
    if (picture.isNull()) {
        box->clear();
        return false;
    }
    const QSize room = box->contentsRect().size();
    box->setAlignment(Qt::AlignCenter);
    if (picture.width() > room.width() || picture.height() > room.height())
        box->setPixmap(picture.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    else
        box->setPixmap(picture);
    return true;
}

void setFramed(QLabel *box, bool on)
{
    // The frame is always there and only changes colour, so that the picture inside
    // never moves.
    box->setFrameStyle(QFrame::Box | QFrame::Plain);
    box->setLineWidth(1);
    QPalette pal = box->palette();
    pal.setColor(QPalette::WindowText, on ? QColor(Qt::black) : QColor(Qt::transparent));
    box->setPalette(pal);
    box->setProperty("framed", on);
}

bool isFramed(const QLabel *box)
{
    return box->property("framed").toBool();
}

} // namespace profile

tmpl::tmpl(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("tmpl"));
    setFixedSize(twips::rect(0, 0, 2280, 1710).size());
    imgTmpl = new QLabel(this);
    imgTmpl->setObjectName(QStringLiteral("imgTmpl"));
    imgTmpl->setGeometry(twips::rect(0, 0, 2220, 1260));
    imgTmpl->setCursor(Qt::PointingHandCursor);
    imgTmpl->installEventFilter(this);
    optTmpl = new QRadioButton(this);
    optTmpl->setObjectName(QStringLiteral("optTmpl"));
    optTmpl->setGeometry(twips::rect(615, 1335, 1365, 285));
    // Each thumbnail's option stands alone; the picker keeps one chosen.
    optTmpl->setAutoExclusive(false);
    optTmpl->installEventFilter(this);
    connect(optTmpl, &QRadioButton::clicked, this, [this] {
        // An option button is not turned off by a click.
        optTmpl->setChecked(true);
        optTmpl_Click();
    });
    profile::setFramed(imgTmpl, false);
}

void tmpl::setValue(const QString &value)
{
    optTmpl->setText(profile::templateCaption(value));
    profile::showPicture(imgTmpl, app().currentPath + stylemanifest::kTemplateFolder + value);
    m_value = value;
    emit valueChanged();
}

void tmpl::setSelected(int selected)
{
    m_selected = selected == 1 ? 1 : 0;
    profile::setFramed(imgTmpl, m_selected == 1);
    const QSignalBlocker block(optTmpl);
    optTmpl->setChecked(m_selected == 1);
    emit selectedChanged();
}

bool tmpl::framed() const
{
    return profile::isFramed(imgTmpl);
}

void tmpl::imgTmpl_Click()
{
    profile::setFramed(imgTmpl, true);
    emit click();
}

void tmpl::imgTmpl_DblClick()
{
    emit DoubleClick();
}

void tmpl::optTmpl_Click()
{
    profile::setFramed(imgTmpl, optTmpl->isChecked());
    imgTmpl_Click();
}

bool tmpl::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == imgTmpl)
            imgTmpl_DblClick();
        else if (watched == optTmpl)
            optTmpl_DblClick();
        return watched == imgTmpl || watched == optTmpl;
    }
    if (watched == imgTmpl && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
        imgTmpl_Click();
    return QWidget::eventFilter(watched, event);
}

void tmpl::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        UserControl_Click();
    QWidget::mouseReleaseEvent(event);
}

void tmpl::mouseDoubleClickEvent(QMouseEvent *event)
{
    UserControl_DblClick();
    event->accept();
}
