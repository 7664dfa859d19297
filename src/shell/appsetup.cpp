#include "shell/appsetup.h"

#include "shell/mdifrm.h"
#include "shell/splash.h"
#include "ui/formregistry.h"

#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLibraryInfo>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTranslator>

#include <unistd.h>

namespace appsetup {

void prepareEnvironment()
{
    // The web engine's sandbox cannot run as root.
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

void prepareApplication(QApplication &app)
{
    app.setApplicationName(QStringLiteral("quorvik"));
    app.setApplicationDisplayName(QString());
    app.setQuitOnLastWindowClosed(false);
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char *name : {"qtbase_zh_CN", "qtwebengine_zh_CN"}) {
        auto *t = new QTranslator(&app);
        if (t->load(QString::fromLatin1(name), dir))
            app.installTranslator(t);
        else
            delete t;
    }
}

namespace {
qint64 residentKb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

// Writes the report to the probe file, whole each time.
void writeReport(const QString &probe, const QJsonObject &report)
{
    QFile out(probe);
    if (out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        out.write(QJsonDocument(report).toJson());
}

} // namespace

void watchStartup()
{
    const QString probe = qEnvironmentVariable("QUORVIK_STARTUP_PROBE");
    if (probe.isEmpty())
        return;
    // Message boxes are answered as a user pressing Enter would, and their texts reported
    // at once: a start that fails ends in a box, and the report says which.
    static QJsonArray boxes;
    auto *answer = new QTimer(qApp);
    answer->setInterval(5);
    QObject::connect(answer, &QTimer::timeout, qApp, [probe] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible() || !box->defaultButton())
            return;
        boxes.append(box->text());
        writeReport(probe, QJsonObject{{QStringLiteral("boxes"), boxes}});
        box->defaultButton()->click();
    });
    answer->start();
    // The main window is made by the splash; look for it once it exists.
    auto *poll = new QTimer(qApp);
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, qApp, [poll, probe] {
        MDIFrm *main = MDIFrm::instance();
        if (!main || main->loadFinishedAtMs() == 0)
            return;
        poll->stop();
        poll->deleteLater();
        QJsonObject report;
        report[QStringLiteral("loadedAtMs")] = main->loadFinishedAtMs();
        report[QStringLiteral("caption")] = main->windowTitle();
        report[QStringLiteral("currImgPath")] = main->currImgPath();
        report[QStringLiteral("currDataPath")] = main->currDataPath();
        report[QStringLiteral("connOpen")] = main->conn().isOpen();
        QJsonArray views;
        for (QMdiSubWindow *sub : main->mdiArea->subWindowList(QMdiArea::CreationOrder))
            views.append(sub->widget()->objectName());
        report[QStringLiteral("views")] = views;
        QMdiSubWindow *active = main->mdiArea->activeSubWindow();
        report[QStringLiteral("active")] = active ? active->widget()->objectName() : QString();
        report[QStringLiteral("enabled")] = main->isEnabled();
        report[QStringLiteral("splashGone")] = !forms().isLoaded<frmSplash>();
        // Let pending page loads settle before measuring memory.
        const int settleMs = qEnvironmentVariableIntValue("QUORVIK_STARTUP_SETTLE_MS");
        QTimer::singleShot(settleMs, qApp, [main, report, probe]() mutable {
            report[QStringLiteral("residentKb")] = residentKb();
            report[QStringLiteral("boxes")] = boxes;
            writeReport(probe, report);
            main->close();
        });
    });
    poll->start();
}

void tearDown()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    forms().unloadAll();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    delete MDIFrm::instance();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace appsetup
