#include "shell/splash.h"

#include "shell/mdifrm.h"
#include "ui/artwork.h"
#include "ui/browserpane.h"

#include <QEvent>
#include <QGuiApplication>
#include <algorithm>
#include <QScreen>
#include <QVBoxLayout>

frmSplash::frmSplash(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QStringLiteral("Quorvik自动建站系列软件"));
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(artwork::splashPicture());
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Image1);
    Image1->installEventFilter(this);
    msSinceLastTick = [this] { return m_sinceTick.isValid() ? m_sinceTick.restart() : 0; };
    warmUp = [] { warmUpPanes(); };
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(50);
    connect(Timer1, &QTimer::timeout, this, &frmSplash::Timer1_Timer);
}

void frmSplash::Form_Load()
{
    elapsed = 0;
    // On top of every other window, neither moved nor resized by it.
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    adjustSize();
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect r = rect();
        r.moveCenter(screen->availableGeometry().center());
        move(r.topLeft());
    }
    m_sinceTick.start();
    Timer1->start();
}

bool frmSplash::eventFilter(QObject *watched, QEvent *event)
{
    // The web engine's start blocks for a while: it comes after the picture's first paint
    // has reached the screen (the queued call runs once this paint is done and flushed).
    if (watched == Image1 && event->type() == QEvent::Paint && !m_painted) {
        m_painted = true;
        QTimer::singleShot(0, this, [this] {
            if (warmUp)
                warmUp();
        });
    }
    return QWidget::eventFilter(watched, event);
}

void frmSplash::Timer1_Timer()
{
    // A tick that comes late (the event loop was busy) counts the time that really passed.
    elapsed += std::max<qint64>(Timer1->interval(), msSinceLastTick());
    if (elapsed < 150)
        return;
    // Stop first: the main window's load unloads this window.
    Timer1->stop();
    MDIFrm::showMainWindow();
}

namespace mdl_frmSplash {
void Main()
{
    forms().get<frmSplash>()->show();
}
} // namespace mdl_frmSplash
