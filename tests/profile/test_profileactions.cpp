// What the basic-information view, the template view, its editors, pickers and
// previews decide: each writer's stored value and message, the imports' checks and the
// files they leave in the data folder, the pickers' rows and the previews' pages.
#include "content/entryactions.h"
#include "core/fileutil.h"
#include "core/stylemanifest.h"
#include "profile/infoactions.h"
#include "profile/previewpages.h"
#include "profile/tmplactions.h"
#include "tablesnapshot.h"
#include "testenv.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

using namespace profile;

namespace {

const QString kHint = QStringLiteral("提示");

QString column(SiteDb &db, const QString &name)
{
    return ProfileStore(db).load().text(name);
}

// Copies what folder holds (the site database and its journal left out) into a new
// folder, with plain file operations: the file helpers' fault hook stays out of it.
void copyPlain(const QString &from, const QString &to)
{
    QDir().mkpath(to);
    for (const QFileInfo &fi : QDir(from).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
        if (fi.fileName().startsWith(QLatin1String("brevonel.qdb")))
            continue;
        const QString target = to + QLatin1Char('/') + fi.fileName();
        if (fi.isDir())
            copyPlain(fi.filePath(), target);
        else
            QFile::copy(fi.filePath(), target);
    }
}

} // namespace

class TestProfileActions : public QObject {
    Q_OBJECT

    std::unique_ptr<testenv::TempDatabase> m_t;
    std::unique_ptr<QTemporaryDir> m_src; // where the user's files come from
    QString m_data;                       // the data folder: the database's own folder

    SiteDb &db() { return m_t->db; }
    QString src(const QString &name) const { return m_src->filePath(name); }
    QString put(const QString &path, const QByteArray &bytes = "x") { return testenv::writeFile(path, bytes); }
    // A small picture, whatever the name's extension says.
    QString putPicture(const QString &path)
    {
        QImage image(4, 3, QImage::Format_RGB32);
        image.fill(Qt::red);
        QBuffer bytes;
        bytes.open(QIODevice::WriteOnly);
        image.save(&bytes, "PNG");
        return put(path, bytes.data());
    }
    bool inData(const QString &name) const { return QFileInfo::exists(m_data + name); }
    // A logo chosen in a view that is then closed without a save.
    Import logo(const QString &path)
    {
        datafiles::PendingFiles session;
        return importLogo(db(), path, m_data, session);
    }

private slots:
    void init()
    {
        m_t = std::make_unique<testenv::TempDatabase>();
        m_src = std::make_unique<QTemporaryDir>();
        m_data = m_t->folder();
    }

    void basicInfoSave()
    {
        datafiles::PendingFiles logos;
        BasicInfo info;
        info.webName = QStringLiteral("   ");
        Outcome r = saveBasicInfo(db(), info, logos, m_data);
        QVERIFY(!r.done);
        QCOMPARE(*r.message, (ui::Message{QStringLiteral("站点名称不能为空！"), ui::vbInformation, kHint}));
        QCOMPARE(column(db(), QStringLiteral("webName")), QStringLiteral("我的网站"));

        // A logo chosen, then replaced by another before the save: the save keeps only
        // the one it names; the old saved logo goes too.
        db().exec(QStringLiteral("UPDATE user_info SET logo='old.gif'"));
        put(m_data + QStringLiteral("old.gif"));
        for (const char *name : {"first.jpg", "second.jpg"})
            QVERIFY(importLogo(db(), putPicture(src(QLatin1String(name))), m_data, logos).name);
        logos.replaces(QStringLiteral("old.gif"));
        info = {QStringLiteral("站点"), QStringLiteral("O'Brien & Co"), QStringLiteral("地址"), QStringLiteral("张三"),
                QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"),
                QStringLiteral("a@b.c"), QStringLiteral("second.jpg")};
        r = saveBasicInfo(db(), info, logos, m_data);
        QVERIFY(r.done);
        QCOMPARE(*r.message, (ui::Message{QStringLiteral("数据保存成功！"), ui::vbInformation, kHint}));
        QCOMPARE(testenv::snapshot(db(), QStringLiteral("user_info")).first().section(QStringLiteral(" | "), 1, 10),
                 QStringLiteral("站点 | O'Brien & Co | 地址 | 张三 | 1 | 2 | 3 | 4 | a@b.c | second.jpg"));
        QVERIFY(inData(QStringLiteral("second.jpg")));
        QVERIFY(!inData(QStringLiteral("first.jpg")));
        QVERIFY(!inData(QStringLiteral("old.gif")));

        // No row, no table: the save fails with its own message and the reason.
        db().exec(QStringLiteral("DELETE FROM user_info"));
        r = saveBasicInfo(db(), info, logos, m_data);
        QVERIFY(!r.done);
        QCOMPARE(*r.message, (ui::Message{QStringLiteral("不期望的错误,errNo:infoFrm\r\n数据库中没有找到要修改的记录"),
                                          ui::vbCritical, kHint}));
        db().exec(QStringLiteral("DROP TABLE user_info"));
        r = saveBasicInfo(db(), info, logos, m_data);
        QVERIFY(!r.done);
        QVERIFY2(r.message->text.startsWith(QStringLiteral("不期望的错误,errNo:infoFrm\r\n数据库操作失败：")),
                 qPrintable(r.message->text));
        QVERIFY(r.message->text.contains(QStringLiteral("user_info")));
    }

    void logoChoiceAndCancel()
    {
        const Import chinese = logo(put(src(QStringLiteral("徽标.jpg"))));
        QVERIFY(!chinese.name);
        QCOMPARE(chinese.message->text, QStringLiteral("所选择的文件名中不能包含中文，请重命名后选择文件！"));
        QVERIFY(!inData(QStringLiteral("徽标.jpg")));
        const Import missing = logo(src(QStringLiteral("gone.jpg")));
        QCOMPARE(missing.message->style, ui::vbCritical);
        QCOMPARE(missing.message->title, QStringLiteral("警告"));
        // A file that is no picture gets the picture dialogs' box and is not copied.
        const Import text = logo(put(src(QStringLiteral("notes.jpg")), "just text"));
        QVERIFY(!text.name);
        QCOMPARE(*text.message, content::msg::pictureFailed(err::describe(err::Kind::FileRead, QStringLiteral("notes.jpg"))));
        QVERIFY(!inData(QStringLiteral("notes.jpg")));

        // The cancel writes at once; a logo file a content record also names stays.
        put(m_data + QStringLiteral("logo.gif"));
        db().exec(QStringLiteral("UPDATE user_info SET logo='logo.gif'"));
        db().exec(QStringLiteral("INSERT INTO content01 (firstCatalog, value03) VALUES ('x', 'logo.gif')"));
        datafiles::PendingFiles logos;
        Outcome r = cancelLogo(db(), m_data, QStringLiteral("logo.gif"), logos);
        QCOMPARE(*r.message, (ui::Message{QStringLiteral("单位徽标已取消！"), ui::vbInformation, kHint}));
        QCOMPARE(column(db(), QStringLiteral("logo")), QString());
        QVERIFY(inData(QStringLiteral("logo.gif")));
        db().exec(QStringLiteral("DELETE FROM content01"));
        r = cancelLogo(db(), m_data, QStringLiteral("logo.gif"), logos);
        QVERIFY(!inData(QStringLiteral("logo.gif")));
    }

    void singleColumnWriters_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("stored");
        QTest::newRow("forum on") << 0 << "field02" << "1";
        QTest::newRow("mail log-in on") << 1 << "field03" << "1";
        QTest::newRow("guest book on") << 4 << "field04" << "1";
        QTest::newRow("office off") << 5 << "field05" << "0";
        QTest::newRow("pop-up off") << 2 << "adBoard" << "0";
        QTest::newRow("script off") << 3 << "javascript" << "0";
        QTest::newRow("home font") << 10 << "defaultFont" << "font03.png";
        QTest::newRow("inner font") << 11 << "headFont" << "font04.png";
        QTest::newRow("home template") << 12 << "defaultTmpl" << "d0002.jpg";
        QTest::newRow("inner template") << 13 << "headTmpl" << "h0003.jpg";
        QTest::newRow("pop-up, empty boxes") << 20 << "adBoard" << "1||300||200||0||0||标题||第一行<br>第二&nbsp;行";
        QTest::newRow("pop-up, left rounded") << 21 << "adBoard" << "1||640||480||10||12||||";
        QTest::newRow("effect 10") << 30 << "javascript" << "1||10.asp||欢迎";
        QTest::newRow("clock drops its text") << 31 << "javascript" << "1||01.asp||";
    }

    void singleColumnWriters()
    {
        QFETCH(int, which);
        QFETCH(QString, column);
        QFETCH(QString, stored);
        db().exec(QStringLiteral("UPDATE user_info SET adBoard='1||1||1||1||1||t||c', javascript='1||05.asp||x'"));
        Outcome r;
        PopupSetting boxes;
        switch (which) {
        case 0: case 1: case 4: r = setServiceSwitch(db(), which, true); break;
        case 5: r = setServiceSwitch(db(), which, false); break;
        case 2: case 3: r = turnFeatureOff(db(), which); break;
        case 10: r = chooseFont(db(), Side::Home, stored); break;
        case 11: r = chooseFont(db(), Side::Inner, stored); break;
        case 12: r = chooseTemplate(db(), Side::Home, stored); break;
        case 13: r = chooseTemplate(db(), Side::Inner, stored); break;
        case 20:
            boxes.title = QStringLiteral("标题");
            boxes.content = QStringLiteral("第一行\r\n第二 行");
            r = savePopup(db(), boxes);
            break;
        case 21:
            boxes = {1, QStringLiteral("640"), QStringLiteral("480"), QStringLiteral("10"), QStringLiteral("11.6"), {}, {}};
            r = savePopup(db(), boxes);
            break;
        case 30: r = saveScript(db(), 10, QStringLiteral("欢迎")); break;
        case 31: r = saveScript(db(), 1, QStringLiteral("typed before")); break;
        }
        QVERIFY(r.done);
        QVERIFY(!r.message);
        QCOMPARE(ProfileStore(db()).load().text(column), stored);
    }

    void editorsRefuseWhatTheJoinedValueCannotHold()
    {
        db().exec(QStringLiteral("UPDATE user_info SET adBoard='0', javascript='0'"));
        const QStringList before = testenv::snapshot(db(), QStringLiteral("user_info"));
        const struct {
            QString title, content, message;
        } popups[] = {
            {QStringLiteral("a||b"), {}, QStringLiteral("标题中不能包含“||”，也不能以“|”结尾！")},
            {QStringLiteral("ends|"), {}, QStringLiteral("标题中不能包含“||”，也不能以“|”结尾！")},
            {{}, QStringLiteral("x||y"), QStringLiteral("内容中不能包含“||”！")},
        };
        for (const auto &p : popups) {
            PopupSetting boxes;
            boxes.title = p.title;
            boxes.content = p.content;
            const Outcome r = savePopup(db(), boxes);
            QVERIFY(!r.done);
            QCOMPARE(*r.message, (ui::Message{p.message, ui::vbCritical, kHint}));
        }
        PopupSetting left;
        left.left = QStringLiteral("abc");
        QCOMPARE(savePopup(db(), left).message->text, QStringLiteral("距屏幕左边距离必须是0到2147483647之间的整数！"));
        const Outcome script = saveScript(db(), 0, QStringLiteral("a||b"));
        QCOMPARE(*script.message, (ui::Message{QStringLiteral("显示内容中不能包含“||”！"), ui::vbOKOnly, kHint}));
        // A text ending in "|" is the last field and reads back whole.
        QVERIFY(saveScript(db(), 0, QStringLiteral("a|")).done);
        QCOMPARE(decodeScript(column(db(), QStringLiteral("javascript"))).text, QStringLiteral("a|"));
        db().exec(QStringLiteral("UPDATE user_info SET javascript='0'"));
        QCOMPARE(testenv::snapshot(db(), QStringLiteral("user_info")), before);
    }

    void popupNumbersAtTheEdges_data()
    {
        QTest::addColumn<int>("box"); // 1 width, 2 height, 3 top, 4 left
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored"); // "" = refused
        QTest::newRow("left, twenty 9s") << 4 << QString(20, QLatin1Char('9')) << "";
        QTest::newRow("left, 1e20") << 4 << "1e20" << "";
        QTest::newRow("left, largest") << 4 << "2147483647" << "2147483647";
        QTest::newRow("left, one more") << 4 << "2147483648" << "";
        QTest::newRow("left, rounds down to the largest") << 4 << "2147483647.4" << "2147483647";
        QTest::newRow("left, rounds to even") << 4 << "0.5" << "0";
        QTest::newRow("left, small minus rounds to 0") << 4 << "-0.4" << "0";
        QTest::newRow("left, negative") << 4 << "-1" << "";
        QTest::newRow("left, exponent") << 4 << " 1e3" << "1000";
        QTest::newRow("width, exponent") << 1 << " 1e3" << "1000";
        QTest::newRow("width, negative") << 1 << "-5" << "";
        QTest::newRow("width, fraction") << 1 << "3.5" << "";
        QTest::newRow("width, zero") << 1 << "0" << "0";
        QTest::newRow("height, largest") << 2 << "2147483647" << "2147483647";
        QTest::newRow("height, one more") << 2 << "2147483648" << "";
        QTest::newRow("height, blank") << 2 << "  " << "200";
        QTest::newRow("top, leading zeros") << 3 << "007" << "7";
        QTest::newRow("top, tiny fraction") << 3 << "1e-3" << "";
        QTest::newRow("top, negative zero") << 3 << "-0" << "0";
    }

    void popupNumbersAtTheEdges()
    {
        QFETCH(int, box);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        db().exec(QStringLiteral("UPDATE user_info SET adBoard='0'"));
        PopupSetting boxes;
        QString *const fields[] = {&boxes.width, &boxes.height, &boxes.top, &boxes.left};
        *fields[box - 1] = typed;
        const Outcome r = savePopup(db(), boxes);
        const QString adBoard = column(db(), QStringLiteral("adBoard"));
        if (stored.isEmpty()) {
            static const char *names[] = {"宽度", "高度", "距屏幕顶边距离", "距屏幕左边距离"};
            QVERIFY(!r.done);
            QCOMPARE(*r.message, (ui::Message{QString::fromUtf8(names[box - 1]) + QStringLiteral("必须是0到2147483647之间的整数！"),
                                              ui::vbCritical, kHint}));
            QCOMPARE(badPopupNumber(boxes), box);
            QCOMPARE(adBoard, QStringLiteral("0"));
            return;
        }
        QVERIFY(r.done);
        QCOMPARE(splitJoined(adBoard).at(box), stored);
    }

    void homePageImportChecks_data()
    {
        QTest::addColumn<QStringList>("files"); // relative to the chosen folder; "dir/" makes a folder
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("message"); // "" = imported; %1 = the folder
        QTest::addColumn<int>("style");
        QTest::newRow("missing") << QStringList{"images/"} << "default.htm" << "%2文件不存在!" << 16;
        QTest::newRow("not default.htm") << QStringList{"index.htm", "images/"} << "index.htm"
                                         << "这不是一个有效的default.htm文件" << 64;
        QTest::newRow("extra file") << QStringList{"default.htm", "notes.txt", "images/"} << "default.htm"
                                    << "在%1文件夹只能包含default.htm文件及其相关联的文件夹images(网页中包含的图片存放文件夹)，含有多余的文件！"
                                    << 64;
        QTest::newRow("no images") << QStringList{"default.htm"} << "default.htm"
                                   << "在%1文件夹中必须包含images文件夹！" << 64;
        QTest::newRow("extra folder") << QStringList{"default.htm", "images/", "css/"} << "default.htm"
                                      << "在%1文件夹只能包含default.htm文件及其相关联的文件夹images(网页中包含的图片存放文件夹)，含有多余的文件夹！"
                                      << 64;
        QTest::newRow("imported, any case") << QStringList{"Default.HTM", "images/", "images/a.png"} << "Default.HTM"
                                            << "" << 0;
    }

    void homePageImportChecks()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, chosen);
        QFETCH(QString, message);
        QFETCH(int, style);
        const QString folder = src(QStringLiteral("site/"));
        QDir().mkpath(folder);
        for (const QString &f : files)
            f.endsWith(QLatin1Char('/')) ? void(QDir().mkpath(folder + f)) : void(put(folder + f));
        put(m_data + QStringLiteral("images/old.png"));
        const Import r = importHomePage(db(), folder + chosen, m_data);
        if (message.isEmpty()) {
            QCOMPARE(r.name, std::optional<QString>(chosen));
            QCOMPARE(column(db(), QStringLiteral("defaultFile")), chosen);
            QVERIFY(inData(chosen));
            // The data folder's images/ is the chosen one's.
            QVERIFY(inData(QStringLiteral("images/a.png")));
            QVERIFY(!inData(QStringLiteral("images/old.png")));
            return;
        }
        QVERIFY(!r.name);
        QCOMPARE(r.message->text, QString(message).replace(QStringLiteral("%1"), folder).replace(QStringLiteral("%2"), folder + chosen));
        QCOMPARE(r.message->style, style);
        QCOMPARE(column(db(), QStringLiteral("defaultFile")), QString());
        QVERIFY(inData(QStringLiteral("images/old.png")));
    }

    void homePageChosenInsideTheDataFoldersImages()
    {
        // default.htm picked inside the data folder's own images/, its pictures in
        // images/images/: the new images/ is copied before the old one goes.
        put(m_data + QStringLiteral("images/default.htm"), "the page");
        put(m_data + QStringLiteral("images/images/a.png"), "a");
        put(m_data + QStringLiteral("images/images/sub/b.png"), "b");
        const Import r = importHomePage(db(), m_data + QStringLiteral("images/default.htm"), m_data);
        QCOMPARE(r.name, std::optional<QString>(QStringLiteral("default.htm")));
        QCOMPARE(column(db(), QStringLiteral("defaultFile")), QStringLiteral("default.htm"));
        QCOMPARE(testenv::readFile(m_data + QStringLiteral("default.htm")), QByteArray("the page"));
        QCOMPARE(testenv::folderSnapshot(m_data + QStringLiteral("images")),
                 (QMap<QString, QByteArray>{{QStringLiteral("a.png"), "a"},
                                            {QStringLiteral("sub/"), QByteArray()},
                                            {QStringLiteral("sub/b.png"), "b"}}));
        QCOMPARE(QDir(m_data).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 (QStringList{"brevonel.qdb", "default.htm", "images"}));
    }

    void homePageImportLeavesTheOldPairOrTheNew()
    {
        // The page imported before has another name than the new one: the database's
        // name tells which pair is meant.
        put(m_data + QStringLiteral("Default.HTM"), "old page");
        put(m_data + QStringLiteral("images/old.png"), "old");
        put(m_data + QStringLiteral("images/both.png"), "old both");
        db().exec(QStringLiteral("UPDATE user_info SET defaultFile='Default.HTM'"));
        const QString folder = src(QStringLiteral("site/"));
        put(folder + QStringLiteral("default.htm"), "new page");
        put(folder + QStringLiteral("images/new.png"), "new");
        put(folder + QStringLiteral("images/sub/both.png"), "new both");
        const QString pristine = src(QStringLiteral("pristine"));
        copyPlain(m_data, pristine);
        // The page the database names, its contents and the pictures; nothing left over.
        const auto pair = [](SiteDb &site, const QString &data) {
            const QString page = column(site, QStringLiteral("defaultFile"));
            testenv::Snapshot s = testenv::folderSnapshot(data + QStringLiteral("images"));
            s[page] = testenv::readFile(data + page);
            const QStringList left = QDir(data).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
            s[QStringLiteral("left over")] = left.filter(QStringLiteral("~")).join(QLatin1Char(' ')).toUtf8();
            return s;
        };
        const testenv::Snapshot oldPair = pair(db(), m_data);
        const auto reset = [&] {
            for (const QFileInfo &fi : QDir(m_data).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot))
                if (!fi.fileName().startsWith(QLatin1String("brevonel.qdb")))
                    fi.isDir() ? void(QDir(fi.filePath()).removeRecursively()) : void(QFile::remove(fi.filePath()));
            copyPlain(pristine, m_data);
            db().exec(QStringLiteral("UPDATE user_info SET defaultFile='Default.HTM'"));
            QCOMPARE(pair(db(), m_data), oldPair);
        };
        // Every step the import takes, and what it leaves.
        int steps = 0;
        fileutil::faults::setHook([&steps](fileutil::faults::Step, const QString &) { return ++steps, false; });
        QVERIFY(importHomePage(db(), folder + QStringLiteral("default.htm"), m_data).name);
        fileutil::faults::setHook({});
        const testenv::Snapshot newPair = pair(db(), m_data);
        QCOMPARE(newPair.value(QStringLiteral("default.htm")), QByteArray("new page"));
        QVERIFY(steps > 6);

        for (int k = 1; k <= steps; ++k) {
            const QString where = QStringLiteral("step %1 of %2").arg(k).arg(steps);
            // The step fails (a full disk, a refused rename or database write): the old
            // pair stays, whole, unless the new one was already in (the old pictures'
            // removal failed: they go at the next start).
            reset();
            int seen = 0;
            fileutil::faults::setHook([&](fileutil::faults::Step, const QString &) { return ++seen == k; });
            const Import r = importHomePage(db(), folder + QStringLiteral("default.htm"), m_data);
            fileutil::faults::setHook({});
            if (r.name)
                recoverHomePageImport(m_data);
            QVERIFY2(pair(db(), m_data) == (r.name ? newPair : oldPair), qPrintable(where));
            // Killed just before the step (the database write among them): what the disk
            // holds then, once the next start has finished or undone the swap, is the
            // old pair or the new one.
            reset();
            const QString killed = src(QStringLiteral("killed%1/").arg(k));
            seen = 0;
            fileutil::faults::setHook([&](fileutil::faults::Step, const QString &) {
                if (++seen == k) {
                    copyPlain(m_data, killed);
                    QFile::copy(m_data + QStringLiteral("brevonel.qdb"), killed + QStringLiteral("brevonel.qdb"));
                }
                return false;
            });
            QVERIFY(importHomePage(db(), folder + QStringLiteral("default.htm"), m_data).name);
            fileutil::faults::setHook({});
            recoverHomePageImport(killed);
            SiteDb after;
            QVERIFY(after.open(killed + QStringLiteral("brevonel.qdb")));
            const testenv::Snapshot now = pair(after, killed);
            QVERIFY2(now == oldPair || now == newPair, qPrintable(where));
        }
    }

    void importFailuresSayWhatFailed()
    {
        const QString folder = src(QStringLiteral("site/"));
        put(folder + QStringLiteral("default.htm"), "page");
        put(folder + QStringLiteral("images/a.png"), "a");
        const QString head = put(src(QStringLiteral("top.gif")), "gif");
        const auto failsWith = [&](const Import &r, const QString &text) {
            QVERIFY(!r.name);
            QCOMPARE(r.message->text, text);
            QCOMPARE(r.message->style, 16);
            QCOMPARE(r.message->title, QStringLiteral("警告"));
        };
        {
            // A picture cannot be written (a full disk): the picture is named in the
            // folder the user knows.
            testenv::FileFault fault(fileutil::faults::Step::Write, 1);
            failsWith(importHomePage(db(), folder + QStringLiteral("default.htm"), m_data),
                      err::withReason(QStringLiteral("首页文件导入失败！"),
                                      err::describe(err::Kind::FileCopy, m_data + QStringLiteral("images/a.png"))));
        }
        {
            testenv::FileFault fault(fileutil::faults::Step::Write, 1);
            failsWith(importHead(db(), head, m_data),
                      err::withReason(QStringLiteral("内页头文件导入失败！"),
                                      err::describe(err::Kind::FileCopy, m_data + QStringLiteral("topHeadSelf.gif"))));
        }
        // No file given: the case the old text names.
        failsWith(importHomePage(db(), QString(), m_data), QStringLiteral("没有选择首页存放路径！"));
        failsWith(importHead(db(), QString(), m_data), QStringLiteral("没有选择首页存放路径！"));
    }

    void homePageImportThroughALinkedImagesFolder()
    {
        // The data folder's images/ is a link to a folder elsewhere: the pictures go
        // there, the page stays beside the link.
        const QString elsewhere = src(QStringLiteral("elsewhere/pictures"));
        put(elsewhere + QStringLiteral("/old.png"), "old");
        QVERIFY(QFile::link(elsewhere, m_data + QStringLiteral("images")));
        const QString folder = src(QStringLiteral("site/"));
        put(folder + QStringLiteral("default.htm"), "new page");
        put(folder + QStringLiteral("images/new.png"), "new");
        QVERIFY(importHomePage(db(), folder + QStringLiteral("default.htm"), m_data).name);
        QCOMPARE(testenv::readFile(m_data + QStringLiteral("default.htm")), QByteArray("new page"));
        QVERIFY(QFileInfo(m_data + QStringLiteral("images")).isSymLink());
        QCOMPARE(testenv::folderSnapshot(elsewhere), (testenv::Snapshot{{QStringLiteral("new.png"), "new"}}));
        QCOMPARE(QDir(src(QStringLiteral("elsewhere"))).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("pictures")});
    }

    void homePageOffRemovesItsFiles()
    {
        put(m_data + QStringLiteral("default.htm"));
        put(m_data + QStringLiteral("images/a.png"));
        db().exec(QStringLiteral("UPDATE user_info SET defaultFile='default.htm'"));
        QVERIFY(turnOffHomePage(db(), m_data, QStringLiteral("default.htm")).done);
        QCOMPARE(column(db(), QStringLiteral("defaultFile")), QString());
        QVERIFY(!inData(QStringLiteral("default.htm")));
        QVERIFY(!inData(QStringLiteral("images")));
    }

    void headImport()
    {
        const Import bad = importHead(db(), put(src(QStringLiteral("head.png"))), m_data);
        QCOMPARE(*bad.message, (ui::Message{QStringLiteral("这不是一个有效的头文件"), ui::vbInformation, kHint}));
        const QString missing = src(QStringLiteral("none.gif"));
        QCOMPARE(*importHead(db(), missing, m_data).message,
                 (ui::Message{missing + QStringLiteral("文件不存在!"), ui::vbCritical, QStringLiteral("警告")}));

        Import r = importHead(db(), put(src(QStringLiteral("Banner.GIF")), "gif"), m_data);
        QCOMPARE(r.name, std::optional<QString>(QStringLiteral("Banner.GIF")));
        QCOMPARE(column(db(), QStringLiteral("topHead")), QStringLiteral("topHeadSelf.gif"));
        QCOMPARE(testenv::readFile(m_data + QStringLiteral("topHeadSelf.gif")), QByteArray("gif"));
        // A movie replacing the picture: the picture nobody names any more goes.
        r = importHead(db(), put(src(QStringLiteral("movie.swf")), "swf"), m_data);
        QCOMPARE(column(db(), QStringLiteral("topHead")), QStringLiteral("topHeadSelf.swf"));
        QVERIFY(!inData(QStringLiteral("topHeadSelf.gif")));
        // Turning it off works from the chosen file's own name as well.
        QVERIFY(turnOffHead(db(), m_data, QStringLiteral("movie.swf")).done);
        QCOMPARE(column(db(), QStringLiteral("topHead")), QString());
        QVERIFY(!inData(QStringLiteral("topHeadSelf.swf")));
    }

    void otherPagesImport()
    {
        const QString folder = src(QStringLiteral("pages/"));
        for (const char *f : {"b.mht", "a.htm", "c.html", "notes.txt", "images/p.png"})
            put(folder + QLatin1String(f));
        put(m_data + QStringLiteral("old.htm"));
        db().exec(QStringLiteral("UPDATE user_info SET field01='||old.htm||a.htm'"));
        const PagesImport r = importOtherPages(db(), folder, m_data);
        QCOMPARE(*r.names, (QStringList{"a.htm", "b.mht"}));
        QCOMPARE(column(db(), QStringLiteral("field01")), QStringLiteral("||a.htm||b.mht"));
        QVERIFY(inData(QStringLiteral("a.htm")) && inData(QStringLiteral("b.mht")));
        QVERIFY(!inData(QStringLiteral("c.html")));
        QVERIFY(inData(QStringLiteral("images/p.png")));
        QVERIFY(!inData(QStringLiteral("old.htm")));

        // The data folder chosen as the pages' folder keeps its pages.
        const PagesImport same = importOtherPages(db(), m_data, m_data);
        QVERIFY(same.names->contains(QStringLiteral("a.htm")));
        QVERIFY(inData(QStringLiteral("a.htm")) && inData(QStringLiteral("b.mht")));

        // A folder holding default.htm is refused before anything changes.
        put(src(QStringLiteral("bad/default.htm")));
        put(src(QStringLiteral("bad/x.htm")));
        const QString stored = column(db(), QStringLiteral("field01"));
        const PagesImport refused = importOtherPages(db(), src(QStringLiteral("bad")), m_data);
        QCOMPARE(*refused.message, (ui::Message{QStringLiteral("不能包含default.htm！"), ui::vbInformation, kHint}));
        QCOMPARE(column(db(), QStringLiteral("field01")), stored);

        // A page whose name holds the separator would read back as two: refused, nothing copied.
        put(src(QStringLiteral("sep/a||b.htm")));
        put(src(QStringLiteral("sep/z.htm")));
        const PagesImport separator = importOtherPages(db(), src(QStringLiteral("sep")), m_data);
        QVERIFY(!separator.names);
        QCOMPARE(*separator.message,
                 (ui::Message{QStringLiteral("文件名中不能包含“||”，请重命名后选择文件：a||b.htm"), ui::vbInformation, kHint}));
        QCOMPARE(column(db(), QStringLiteral("field01")), stored);
        QVERIFY(!inData(QStringLiteral("a||b.htm")) && !inData(QStringLiteral("z.htm")));

        QVERIFY(turnOffOtherPages(db(), m_data, decodeExtraPages(stored)).done);
        QCOMPARE(column(db(), QStringLiteral("field01")), QString());
        QVERIFY(!inData(QStringLiteral("a.htm")));
        QVERIFY(inData(QStringLiteral("images/p.png"))); // images/ stays
    }

    void background()
    {
        QVERIFY(chooseBackground(db(), putPicture(src(QStringLiteral("背景.jpg"))), m_data).message);
        const Import text = chooseBackground(db(), put(src(QStringLiteral("notes.gif"))), m_data);
        QCOMPARE(text.message->text, err::describe(err::Kind::FileRead, QStringLiteral("notes.gif")));
        QVERIFY(!inData(QStringLiteral("notes.gif")));
        QCOMPARE(column(db(), QStringLiteral("backGround")), QString());
        Import r = chooseBackground(db(), putPicture(src(QStringLiteral("one.jpg"))), m_data);
        QCOMPARE(column(db(), QStringLiteral("backGround")), QStringLiteral("one.jpg"));
        // Choosing the very file in the data folder keeps it.
        r = chooseBackground(db(), m_data + QStringLiteral("one.jpg"), m_data);
        QCOMPARE(r.name, std::optional<QString>(QStringLiteral("one.jpg")));
        QVERIFY(inData(QStringLiteral("one.jpg")));
        r = chooseBackground(db(), putPicture(src(QStringLiteral("two.gif"))), m_data);
        QVERIFY(!inData(QStringLiteral("one.jpg")));
        // A save the database refuses leaves the background as it was, and no copy behind.
        db().exec(QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON user_info BEGIN SELECT RAISE(ABORT, 'x'); END"));
        QVERIFY(!chooseBackground(db(), putPicture(src(QStringLiteral("three.gif"))), m_data).name);
        QVERIFY(!inData(QStringLiteral("three.gif")));
        QVERIFY(inData(QStringLiteral("two.gif")));
        db().exec(QStringLiteral("DROP TRIGGER refuse"));
        QVERIFY(cancelBackground(db(), m_data, QStringLiteral("two.gif")).done);
        QCOMPARE(column(db(), QStringLiteral("backGround")), QString());
        QVERIFY(!inData(QStringLiteral("two.gif")));
    }

    // A logo or background whose name a content record already uses never changes that
    // record's picture: the same bytes are simply used, different ones get a free name.
    void aLogoOrBackgroundNeverChangesAnotherRecordsPicture()
    {
        const QString recordsPicture = putPicture(m_data + QStringLiteral("a.jpg"));
        const QByteArray recordsBytes = testenv::readFile(recordsPicture);
        db().exec(QStringLiteral("INSERT INTO content01 (firstCatalog, value03) VALUES ('x', 'a.jpg')"));
        const auto differentPicture = [&] {
            QImage image(5, 5, QImage::Format_RGB32);
            image.fill(Qt::blue);
            const QString path = src(QStringLiteral("a.jpg"));
            QVERIFY(image.save(path, "PNG"));
        };
        differentPicture();
        QCOMPARE(logo(src(QStringLiteral("a.jpg"))).name, std::optional<QString>(QStringLiteral("a2.jpg")));
        QCOMPARE(chooseBackground(db(), src(QStringLiteral("a.jpg")), m_data).name,
                 std::optional<QString>(QStringLiteral("a2.jpg")));
        QCOMPARE(column(db(), QStringLiteral("backGround")), QStringLiteral("a2.jpg"));
        QCOMPARE(testenv::readFile(recordsPicture), recordsBytes);

        QVERIFY(QFile::remove(src(QStringLiteral("a.jpg"))));
        QVERIFY(QFile::copy(recordsPicture, src(QStringLiteral("a.jpg"))));
        QCOMPARE(logo(src(QStringLiteral("a.jpg"))).name, std::optional<QString>(QStringLiteral("a.jpg")));
        QCOMPARE(testenv::readFile(recordsPicture), recordsBytes);
    }

    void pickerRows()
    {
        QCOMPARE(fontNames(db()), stylemanifest::fonts());
        // The categories come grouped by the database; every manifest category is there.
        const QStringList categories = templateCategories(db(), Side::Home);
        QStringList sorted = categories;
        sorted.sort();
        QCOMPARE(categories, sorted);
        QStringList expected;
        for (const auto &t : stylemanifest::homeTemplates())
            if (t.category == categories.first())
                expected << t.file;
        QCOMPARE(templateNames(db(), Side::Home, categories.first()), expected);
        QVERIFY(templateNames(db(), Side::Inner, categories.first()).first().startsWith(QLatin1Char('h')));
        QVERIFY(templateNames(db(), Side::Home, QStringLiteral("O'Brien")).isEmpty());
        // An empty choice is refused and nothing is written.
        QCOMPARE(*chooseTemplate(db(), Side::Inner, QString()).message,
                 (ui::Message{QStringLiteral("请选择其中一种模板！"), ui::vbInformation, kHint}));
        db().exec(QStringLiteral("DELETE FROM user_info"));
        QCOMPARE(chooseTemplate(db(), Side::Home, QStringLiteral("d0001.jpg")).message->title, QStringLiteral("错误"));
    }

    void templateGridAndNames()
    {
        const QList<QPoint> seven = {{250, 0},    {2750, 0},    {5250, 0},   {250, 1680},
                                     {2750, 1680}, {5250, 1680}, {250, 3360}};
        for (int k = 0; k < seven.size(); ++k)
            QCOMPARE(templateCell(k), seven.at(k));
        QCOMPARE(templateCaption(QStringLiteral("d0001.jpg")), QStringLiteral("d0001"));
        QCOMPARE(templateCaption(QStringLiteral("plain")), QStringLiteral("plain"));
        QCOMPARE(templateLabel(QStringLiteral("h0012s.jpg")), QStringLiteral("h0012"));
    }

    void previewPages()
    {
        // Home page.
        PreviewPage p = homePagePreview(db(), m_data);
        QCOMPARE(*p.message, (ui::Message{QStringLiteral("首页文件不存在！"), ui::vbInformation, kHint}));
        put(m_data + QStringLiteral("default.htm"));
        db().exec(QStringLiteral("UPDATE user_info SET defaultFile='default.htm'"));
        QCOMPARE(homePagePreview(db(), m_data).navigate, m_data + QStringLiteral("default.htm"));

        // Head: a picture, a movie whose stored extension is in capitals, no extension.
        const struct {
            const char *stored, *file;
            bool movie;
        } heads[] = {{"topHeadSelf.jpg", "topHeadSelf.jpg", false},
                     {"topHeadSelf.SWF", "topHeadSelf.SWF", true},
                     {"topHeadSelf", "topHeadSelf.topHeadSelf", false}};
        for (const auto &h : heads) {
            db().exec(QStringLiteral("UPDATE user_info SET topHead=?"), {QLatin1String(h.stored)});
            QCOMPARE(headPreview(db(), m_data).message->text, QStringLiteral("内页头文件不存在！"));
            put(m_data + QLatin1String(h.file));
            p = headPreview(db(), m_data);
            QVERIFY(!p.message);
            const QString url = QUrl::fromLocalFile(m_data + QLatin1String(h.file)).toString();
            QCOMPARE(p.pieces.first(), QStringLiteral("<body  leftmargin=0 topmargin=0>"));
            if (h.movie) {
                QCOMPARE(p.pieces.size(), 6);
                QVERIFY(p.pieces.at(1).startsWith(QStringLiteral("<OBJECT codeBase=")));
                QCOMPARE(p.pieces.at(2), QStringLiteral("<PARAM NAME='movie' VALUE='") + url + QStringLiteral("'>"));
                QCOMPARE(p.pieces.last(), QStringLiteral("</OBJECT>"));
            } else {
                QCOMPARE(p.pieces, (QStringList{p.pieces.first(), QStringLiteral("<img src='") + url + QStringLiteral("'>")}));
            }
        }
        db().exec(QStringLiteral("UPDATE user_info SET topHead=''"));
        QCOMPARE(headPreview(db(), m_data).message->style, ui::vbCritical);
        db().exec(QStringLiteral("DELETE FROM user_info"));
        QCOMPARE(homePagePreview(db(), m_data).message->text, QStringLiteral("没有数据！"));
        QCOMPARE(headPreview(db(), m_data).message->text, QStringLiteral("没有数据！"));

        // The full-size picture goes by the first five characters; a quote in the
        // folder cannot end the attribute.
        const QStringList pieces = templatePreview(QStringLiteral("/opt/it's/"), QStringLiteral("d0003s.jpg"));
        QCOMPARE(pieces, (QStringList{QStringLiteral("<html><head></head>"),
                                      QStringLiteral("<body  leftmargin=2 topmargin=0 oncontextmenu='return false;'>"),
                                      QStringLiteral("<img src='file:///opt/it%27s/template/d0003.jpg'>"),
                                      QStringLiteral("</body></html>")}));
    }
};

QTEST_GUILESS_MAIN(TestProfileActions)
#include "test_profileactions.moc"
