// Packs a data folder and exits: the process the packing tests kill at a random point.
// Arguments: the program folder and the data folder, both ending in "/".
#include "publish/datapacker.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 3)
        return 2;
    std::fputs("packing\n", stdout);
    std::fflush(stdout);
    QElapsedTimer clock;
    clock.start();
    const bool ok = publish::DataPacker(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2])).packData().ok;
    std::printf("%lld\n", static_cast<long long>(clock.elapsed()));
    return ok ? 0 : 1;
}
