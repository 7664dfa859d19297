// Start-up time of the program (process start to the end of the main window's load
// sequence) against a bare web view program loading one local page, both measured in
// this run; and the program's resident memory after start-up.
#include "core/fileutil.h"
#include "testenv.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <algorithm>
#include <cstdio>

namespace {

QProcessEnvironment benchEnv()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    if (!env.contains(QStringLiteral("QTWEBENGINE_CHROMIUM_FLAGS")))
        env.insert(QStringLiteral("QTWEBENGINE_CHROMIUM_FLAGS"), QStringLiteral("--no-sandbox --disable-gpu"));
    env.insert(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"), QStringLiteral("1"));
    env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("*.debug=false"));
    return env;
}

// Milliseconds from spawning the program to the end of its load sequence.
double timeProgram(const QString &folder, qint64 *residentKb)
{
    QProcess p;
    QProcessEnvironment env = benchEnv();
    env.insert(QStringLiteral("QUORVIK_STARTUP_PROBE"), folder + QStringLiteral("probe.json"));
    env.insert(QStringLiteral("QUORVIK_STARTUP_SETTLE_MS"), QStringLiteral("2000"));
    p.setProcessEnvironment(env);
    const qint64 t0 = QDateTime::currentMSecsSinceEpoch();
    p.start(folder + QStringLiteral("quorvik"), {});
    p.waitForFinished(120000);
    const QJsonObject r = QJsonDocument::fromJson(testenv::readFile(folder + QStringLiteral("probe.json"))).object();
    if (residentKb)
        *residentKb = r.value(QStringLiteral("residentKb")).toInteger();
    return double(r.value(QStringLiteral("loadedAtMs")).toInteger() - t0);
}

double timeBare(const QString &page)
{
    QProcess p;
    p.setProcessEnvironment(benchEnv());
    const qint64 t0 = QDateTime::currentMSecsSinceEpoch();
    p.start(QStringLiteral(BARE_WEBVIEW), {page});
    p.waitForFinished(120000);
    return double(p.readAllStandardOutput().trimmed().toLongLong() - t0);
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 7;
    testenv::ProgramFolder prog;
    for (const QString &entry : QDir(testenv::appDir()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
        const QString from = testenv::appDir() + entry;
        if (entry == QLatin1String("userImages") || entry == QLatin1String("savedData") || entry == QLatin1String("initPath.ini"))
            continue;
        if (QFileInfo(from).isDir())
            fileutil::copyTree(from, prog.file(entry));
        else
            fileutil::copyReplace(from, prog.file(entry));
    }
    QFile::setPermissions(prog.file(QStringLiteral("quorvik")), QFile::permissions(prog.file(QStringLiteral("quorvik"))) | QFileDevice::ExeOwner);

    std::vector<double> program, bare;
    std::vector<qint64> memory;
    timeProgram(prog.path(), nullptr); // first start repairs the data folder; not counted
    for (int i = 0; i < runs; ++i) {
        bare.push_back(timeBare(prog.file(QStringLiteral("multiData.htm"))));
        qint64 kb = 0;
        program.push_back(timeProgram(prog.path(), &kb));
        memory.push_back(kb);
    }
    const double mp = median(program), mb = median(bare);
    std::vector<double> mem(memory.begin(), memory.end());
    std::printf("start-up, median of %d runs\n", runs);
    std::printf("  program (to end of load sequence): %8.0f ms\n", mp);
    std::printf("  bare web view (to page loaded):    %8.0f ms\n", mb);
    std::printf("  ratio program / bare:              %8.2f  (goal <= 1.5)\n", mb > 0 ? mp / mb : 0.0);
    std::printf("  program resident memory after start-up: %.0f MB\n", median(mem) / 1024.0);
    return 0;
}
