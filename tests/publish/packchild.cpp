// Packs a data folder as the upload view does (the site database from a copy) and
// exits: the process the packing tests kill at a random point, or let run out of room.
// Arguments: the program folder and the data folder, both ending in "/", and
// optionally the most bytes a file it writes may hold.
#include "publish/datapacker.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <csignal>
#include <cstdio>
#include <sys/resource.h>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 3 && argc != 4)
        return 2;
    if (argc == 4) {
        // Writing past the limit fails with EFBIG instead of ending the process.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{rlim_t(std::atoll(argv[3])), rlim_t(std::atoll(argv[3]))};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return 2;
    }
    std::fputs("packing\n", stdout);
    std::fflush(stdout);
    QElapsedTimer clock;
    clock.start();
    const QString data = QString::fromLocal8Bit(argv[2]);
    const QString db = data + datalayout::kDbName;
    publish::PackJob job(publish::DataPacker(QString::fromLocal8Bit(argv[1]), data),
                         QFileInfo(db).isFile() ? db : QString());
    bool ok = false;
    QObject::connect(&job, &publish::PackJob::finished, [&](const publish::DataPacker::Result &result) {
        if (result.message)
            std::printf("%s\n", result.message->text.toUtf8().constData());
        ok = result.ok;
        QCoreApplication::quit();
    });
    job.start();
    QCoreApplication::exec();
    std::printf("%lld\n", static_cast<long long>(clock.elapsed()));
    return ok ? 0 : 1;
}
