// Packs a data folder and exits: the process the packing tests kill at a random point,
// or let run out of room. Arguments: the program folder and the data folder, both
// ending in "/", and optionally the most bytes a file it writes may hold.
#include "publish/datapacker.h"

#include <QCoreApplication>
#include <QElapsedTimer>
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
    const publish::DataPacker::Result result =
        publish::DataPacker(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2])).packData();
    if (result.message)
        std::printf("%s\n", result.message->text.toUtf8().constData());
    std::printf("%lld\n", static_cast<long long>(clock.elapsed()));
    return result.ok ? 0 : 1;
}
