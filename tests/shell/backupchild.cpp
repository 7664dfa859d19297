// A program that runs one backup or restore, for tests that kill it part-way:
//   backupchild backup|restore <dataFolder> <backupFolder> [step]
// With a step number it kills itself as it is about to take that step (counting every
// file, link, folder and rename step); without one it prints how many steps it took.
// "go" is printed just before the work starts.
#include "core/datalayout.h"
#include "core/fileutil.h"
#include "core/sitedb.h"
#include "shell/backup.h"
#include "shell/datafolder.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <csignal>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4)
        return 2;
    const QString mode = args.at(1);
    const QString dataFolder = args.at(2);
    const QString backupFolder = args.at(3);
    const int killAt = args.size() > 4 ? args.at(4).toInt() : 0;

    int steps = 0;
    fileutil::faults::setHook([&](fileutil::faults::Step, const QString &) {
        if (++steps == killAt)
            std::raise(SIGKILL);
        return false;
    });
    SiteDb conn;
    conn.open(dataFolder + datalayout::kDbName);
    std::printf("go\n");
    std::fflush(stdout);
    QElapsedTimer clock;
    clock.start();
    try {
        if (mode == QLatin1String("backup"))
            backup::save(dataFolder, backupFolder);
        else
            backup::restore(backupFolder, dataFolder, conn);
    } catch (const std::exception &e) {
        std::printf("failed %s\n", e.what());
        return 1;
    }
    std::printf("steps %d us %lld\n", steps, static_cast<long long>(clock.nsecsElapsed() / 1000));
    conn.release();
    return 0;
}
