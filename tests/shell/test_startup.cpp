// The real program started offscreen in a temporary program folder: splash, repair,
// caption, the six views with the design view in front, and a clean exit.
#include "core/fileutil.h"
#include "testenv.h"
#include "testmain.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

namespace {

struct Run {
    int exitCode = -1;
    QJsonObject report;
};

Run startProgram(const testenv::ProgramFolder &prog, int waitMs = 120000)
{
    Run run;
    QFile::remove(prog.file(QStringLiteral("probe.json")));
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QUORVIK_STARTUP_PROBE"), prog.file(QStringLiteral("probe.json")));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(QDir::tempPath());
    p.start(prog.file(QStringLiteral("quorvik")), {});
    if (!p.waitForFinished(waitMs)) {
        p.kill();
        p.waitForFinished();
        return run;
    }
    run.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    run.report = QJsonDocument::fromJson(testenv::readFile(prog.file(QStringLiteral("probe.json")))).object();
    return run;
}

// A program folder holding a copy of the executable.
void copyProgram(const testenv::ProgramFolder &prog)
{
    fileutil::copyReplace(testenv::appDir() + QStringLiteral("quorvik"), prog.file(QStringLiteral("quorvik")));
    QFile::setPermissions(prog.file(QStringLiteral("quorvik")),
                          QFile::permissions(prog.file(QStringLiteral("quorvik"))) | QFileDevice::ExeOwner);
}

} // namespace

class TestStartup : public QObject {
    Q_OBJECT

private slots:
    void theProgramStartsRepairsAndEnds()
    {
        testenv::ProgramFolder prog;
        copyProgram(prog);

        for (int round = 0; round < 2; ++round) {
            const Run run = startProgram(prog);
            QCOMPARE(run.exitCode, 0);
            const QJsonObject r = run.report;
            QCOMPARE(r.value(QStringLiteral("caption")).toString(), QStringLiteral("我的网站--Quorvik自动建站系列软件"));
            QCOMPARE(r.value(QStringLiteral("currImgPath")).toString(), prog.file(QStringLiteral("userImages/")));
            QVERIFY(r.value(QStringLiteral("connOpen")).toBool());
            QVERIFY(r.value(QStringLiteral("enabled")).toBool());
            QVERIFY(r.value(QStringLiteral("splashGone")).toBool());
            QCOMPARE(r.value(QStringLiteral("active")).toString(), QStringLiteral("designFrm"));
            QCOMPARE(r.value(QStringLiteral("views")).toArray(),
                     QJsonArray({"guidFrm", "infoFrm", "sltTmplFrm", "designFrm", "insDataFrm", "updataFrm"}));
            QVERIFY(QFileInfo(prog.file(QStringLiteral("userImages/brevonel.qdb"))).isFile());
            QCOMPARE(testenv::readFile(prog.file(QStringLiteral("initPath.ini"))), QByteArray());
        }

        // A data folder of the user's own, named in initPath.ini.
        const QString own = prog.file(QStringLiteral("my site/数据/"));
        fileutil::makeFolder(own);
        fileutil::copyReplace(prog.file(QStringLiteral("initdata/brevonel.qdb")), own + QStringLiteral("brevonel.qdb"));
        {
            SiteDb db;
            QVERIFY(db.open(own + QStringLiteral("brevonel.qdb")));
            db.exec(QStringLiteral("UPDATE user_info SET webName=?"), {QStringLiteral("自己的站")});
        }
        testenv::writeFile(prog.file(QStringLiteral("initPath.ini")), (own + QStringLiteral("\n")).toUtf8());
        const Run run = startProgram(prog);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.report.value(QStringLiteral("currImgPath")).toString(), own);
        QCOMPARE(run.report.value(QStringLiteral("caption")).toString(), QStringLiteral("自己的站--Quorvik自动建站系列软件"));
        QCOMPARE(run.report.value(QStringLiteral("boxes")).toArray(), QJsonArray());
    }

    void aDamagedDatabaseGivesOneBox()
    {
        testenv::ProgramFolder prog;
        copyProgram(prog);
        const QString database = prog.file(QStringLiteral("userImages/brevonel.qdb"));
        testenv::writeFile(database, "this is not a database at all");
        const Run run = startProgram(prog);
        QCOMPARE(run.exitCode, 0);
        QVERIFY(!run.report.value(QStringLiteral("connOpen")).toBool());
        QCOMPARE(run.report.value(QStringLiteral("views")).toArray().size(), 6);
        QCOMPARE(run.report.value(QStringLiteral("boxes")).toArray(),
                 QJsonArray({QStringLiteral("数据库文件已损坏，请从备份还原数据：") + database}));
    }

    void aRepairThatCannotRunEndsTheProgramEveryTime()
    {
        // No initdata/ to repair from, and a picture of the user's in the data folder.
        testenv::ProgramFolder prog;
        copyProgram(prog);
        QDir(prog.file(QStringLiteral("initdata"))).removeRecursively();
        const QString picture = testenv::writeFile(prog.file(QStringLiteral("userImages/logo.png")), "picture");
        for (int round = 0; round < 10; ++round) {
            // The box is answered at once; the program is then gone within moments.
            const Run run = startProgram(prog, 30000);
            QVERIFY2(run.exitCode == 1, qPrintable(QStringLiteral("round %1: exit %2").arg(round).arg(run.exitCode)));
            const QJsonArray boxes = run.report.value(QStringLiteral("boxes")).toArray();
            QCOMPARE(boxes.size(), 1);
            QVERIFY(boxes.at(0).toString().startsWith(QStringLiteral("文件或文件夹不存在")));
            QCOMPARE(testenv::readFile(picture), QByteArray("picture"));
        }
    }
};

QUORVIK_TEST_MAIN(TestStartup)
#include "test_startup.moc"
