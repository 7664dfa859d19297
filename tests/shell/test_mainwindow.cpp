// The main window: load sequence, caption, menu and toolbar dispatch, shutdown, backup
// and restore, driven in-process in temporary program folders.
#include "content/insdatafrm.h"
#include "core/fileutil.h"
#include "design/designfrm.h"
#include "design/dgnfrm_dialogs.h"
#include "fakepane.h"
#include "fakeprompter.h"
#include "help/aboutfrm.h"
#include "help/guidfrm.h"
#include "profile/infofrm.h"
#include "profile/slttmplfrm.h"
#include "publish/dlgfrm.h"
#include "publish/updatafrm.h"
#include "publish/verfrm.h"
#include "shell/mdifrm.h"
#include "shell/splash.h"
#include "testenv.h"
#include "testmain.h"
#include "ui/artwork.h"
#include "ui/formregistry.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMdiSubWindow>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimer>
#include <QRegularExpression>
#include <QScreen>
#include <memory>

namespace {

const QString kCaption = QStringLiteral("Quorvik自动建站系列软件");

QString activeView(MDIFrm &main)
{
    QMdiSubWindow *sub = main.mdiArea->activeSubWindow();
    return sub ? sub->widget()->objectName() : QString();
}

QStringList viewsInOrder(MDIFrm &main)
{
    QStringList names;
    for (QMdiSubWindow *sub : main.mdiArea->subWindowList(QMdiArea::CreationOrder))
        names << sub->widget()->objectName();
    return names;
}


QAction *findAction(QWidget *root, const QString &key)
{
    return root->findChild<QAction *>(key);
}

// Runs a function when the watched window is shown.
class OnShow : public QObject {
public:
    explicit OnShow(std::function<void()> fn) : m_fn(std::move(fn)) {}
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show)
            m_fn();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_fn;
};

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<testenv::ProgramFolder> m_prog;
    std::unique_ptr<FakePrompter> m_prompts;
    std::unique_ptr<FakePaneFactory> m_panes;
    std::unique_ptr<MDIFrm> m_main;

    MDIFrm &load()
    {
        m_main = std::make_unique<MDIFrm>();
        m_main->MDIForm_Load(m_prog->path());
        return *m_main;
    }

    // Writes a user_info.webName into the data folder's database before loading.
    void prepareDatabase(const std::function<void(SiteDb &)> &change)
    {
        QDir().mkpath(m_prog->file(QStringLiteral("userImages")));
        QFile::copy(m_prog->file(QStringLiteral("initdata/brevonel.qdb")),
                    m_prog->file(QStringLiteral("userImages/brevonel.qdb")));
        QFile::setPermissions(m_prog->file(QStringLiteral("userImages/brevonel.qdb")),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        SiteDb db;
        QVERIFY(db.open(m_prog->file(QStringLiteral("userImages/brevonel.qdb"))));
        change(db);
    }

private slots:
    void init()
    {
        m_prog = std::make_unique<testenv::ProgramFolder>();
        m_prompts = std::make_unique<FakePrompter>();
        m_panes = std::make_unique<FakePaneFactory>();
        forms().starting = false;
        forms().closing = false;
    }

    void cleanup()
    {
        if (m_main)
            m_main->MDIForm_Unload();
        testenv::settle();
        m_main.reset();
        testenv::settle();
        forms().closing = false;
        m_panes.reset();
        m_prompts.reset();
        m_prog.reset();
    }

    void firstStartRepairsAndShowsTheSixViews()
    {
        MDIFrm &main = load();
        QCOMPARE(main.currentPath(), m_prog->path());
        QCOMPARE(main.currImgPath(), m_prog->file(QStringLiteral("userImages/")));
        QCOMPARE(main.currDataPath(), main.currImgPath());
        QVERIFY(QFileInfo(m_prog->file(QStringLiteral("userImages/brevonel.qdb"))).isFile());
        QVERIFY(main.conn().isOpen());
        QCOMPARE(main.windowTitle(), QStringLiteral("我的网站--") + kCaption);
        QCOMPARE(viewsInOrder(main), (QStringList{"guidFrm", "infoFrm", "sltTmplFrm", "designFrm", "insDataFrm", "updataFrm"}));
        QCOMPARE(activeView(main), QStringLiteral("designFrm"));
        // The design view's activation ran exactly once: its pane shows the welcome page.
        FakePane *preview = m_panes->forParent(QStringLiteral("designFrm"));
        QVERIFY(preview);
        QCOMPARE(preview->pages, QStringList{QStringLiteral("tmplImg/welcome01.htm")});
        QVERIFY(main.isEnabled());
        QVERIFY(!forms().starting);
        QCOMPARE(m_prompts->calls.size(), 0);
        for (QMdiSubWindow *sub : main.mdiArea->subWindowList())
            QVERIFY(sub->isVisible());
    }

    // The main window is shown only once its six views are built, so that it paints at
    // once instead of staying blank while they load.
    void theMainWindowShowsWithItsViewsBuilt()
    {
        m_main = std::make_unique<MDIFrm>();
        QList<QStringList> loadedAtShow;
        OnShow spy([&] {
            QStringList names;
            for (QWidget *w : forms().loaded())
                names << w->objectName();
            loadedAtShow << names;
        });
        m_main->installEventFilter(&spy);
        QVERIFY(m_main->MDIForm_Load(m_prog->path()));
        m_main->removeEventFilter(&spy);
        QCOMPARE(loadedAtShow.size(), 1);
        QCOMPARE(loadedAtShow.first(),
                 (QStringList{"guidFrm", "infoFrm", "sltTmplFrm", "designFrm", "insDataFrm", "updataFrm"}));
        QVERIFY(m_main->isMaximized());
        QCOMPARE(activeView(*m_main), QStringLiteral("designFrm"));
    }

    void captionFollowsTheSiteName_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("caption");
        QTest::newRow("name") << "UPDATE user_info SET webName='O''Brien & 公司'" << "O'Brien & 公司--" + kCaption;
        QTest::newRow("empty") << "UPDATE user_info SET webName=''" << "--" + kCaption;
        QTest::newRow("null") << "UPDATE user_info SET webName=NULL" << "--" + kCaption;
        QTest::newRow("no row") << "DELETE FROM user_info" << kCaption;
    }

    void captionFollowsTheSiteName()
    {
        QFETCH(QString, sql);
        QFETCH(QString, caption);
        prepareDatabase([&](SiteDb &db) { db.exec(sql); });
        MDIFrm &main = load();
        QCOMPARE(main.windowTitle(), caption);
        // Without the profile's row the upload view says it has no account and goes;
        // the other views come up.
        const bool noRow = sql.startsWith(QLatin1String("DELETE"));
        QCOMPARE(m_prompts->messages(),
                 noRow ? QStringList{QStringLiteral("没有找到帐号信息，不能连接服务器上传数据！")} : QStringList());
        QCOMPARE(viewsInOrder(main).size(), noRow ? 5 : 6);
    }

    void aColumnAddedWithoutAProfileSaysWhyTheTreeFailed()
    {
        // The column is stored; the data-entry view cannot read its tree again without
        // user_info, and its message says why instead of leaving the user to think the
        // add failed.
        MDIFrm &main = load();
        main.conn().exec(QStringLiteral("DROP TABLE user_info"));
        m_prompts->onDialog<dgnFrm_addCat>([](dgnFrm_addCat &d) {
            d.txt_name->setText(QStringLiteral("关于"));
            d.cmd_cfm_Click();
        });
        forms().find<designFrm>()->cmd_addCat_Click();
        QCOMPARE(main.conn().select(QStringLiteral("SELECT * FROM firstCatalog WHERE firstCatalog='关于'")).size(), size_t(1));
        QCOMPARE(m_prompts->messageCount(), 1);
        QVERIFY(m_prompts->lastMessage().text.contains(
            QRegularExpression(QStringLiteral("^不期望的错误！errNo:mdl_nov\r\n数据库操作失败：.*no such table: user_info"))));
        QCOMPARE(m_prompts->lastMessage().style, 16);
    }

    // The data-entry view follows the design view's column tree, also once both have been
    // made again after a restore.
    void theDataEntryViewFollowsTheDesignView()
    {
        MDIFrm &main = load();
        const auto add = [this](const QString &name) {
            m_prompts->onDialog<dgnFrm_addCat>([name](dgnFrm_addCat &d) {
                d.txt_name->setText(name);
                d.cmd_cfm_Click();
            });
            forms().find<designFrm>()->cmd_addCat_Click();
        };
        const auto entryShows = [](const QString &name) {
            return !forms().find<insDataFrm>()->tvw_nav->findItems(name, Qt::MatchExactly | Qt::MatchRecursive).isEmpty();
        };
        add(QStringLiteral("关于"));
        QVERIFY(entryShows(QStringLiteral("关于")));
        main.xMenu1_Click(QStringLiteral("mnufile_backup"));
        m_prompts->answerMsg(6);
        main.xMenu1_Click(QStringLiteral("mnufile_revert"));
        testenv::settle();
        main.xMenu1_Click(QStringLiteral("mnuView_insData"));
        main.xMenu1_Click(QStringLiteral("mnuView_design"));
        add(QStringLiteral("产品"));
        QVERIFY(entryShows(QStringLiteral("产品")));
        QCOMPARE(m_prompts->messages(), (QStringList{QStringLiteral("数据备份成功！"),
                                                     QStringLiteral("确实要还原数据吗，当前数据将被覆盖！\r\n数据还原后，Quorvik将有可能重新启动！")}));
    }

    void aDatabaseThatIsNotWholeIsNamedInOneBox_data()
    {
        QTest::addColumn<QString>("damage");
        for (const char *d : {"garbage", "empty", "truncated", "bad header", "bad page", "index", "no table"})
            QTest::newRow(d) << QString::fromLatin1(d);
    }

    void aDatabaseThatIsNotWholeIsNamedInOneBox()
    {
        QFETCH(QString, damage);
        prepareDatabase([&](SiteDb &db) {
            if (damage == QLatin1String("no table"))
                db.exec(QStringLiteral("DROP TABLE user_info"));
        });
        const QString path = m_prog->file(QStringLiteral("userImages/brevonel.qdb"));
        QByteArray bytes = testenv::readFile(path);
        if (damage == QLatin1String("garbage"))
            bytes = "this is not a database at all";
        else if (damage == QLatin1String("empty"))
            bytes.clear();
        else if (damage == QLatin1String("truncated"))
            bytes.truncate(bytes.size() / 2);
        else if (damage == QLatin1String("bad header"))
            bytes.replace(0, 16, QByteArray(16, 'x'));
        else if (damage == QLatin1String("bad page"))
            bytes.replace(bytes.size() - 4096, 4096, QByteArray(4096, '\xa5'));
        testenv::writeFile(path, bytes);
        if (damage == QLatin1String("index"))
            testenv::breakIndex(path);
        const QByteArray before = testenv::readFile(path);

        MDIFrm &main = load();
        QVERIFY(!main.conn().isOpen());
        QCOMPARE(main.windowTitle(), kCaption);
        QCOMPARE(viewsInOrder(main).size(), 6);
        QCOMPARE(activeView(main), QStringLiteral("designFrm"));
        // One box names the file and says what to do; the views come up empty and quiet.
        QCOMPARE(m_prompts->messages(), QStringList{QStringLiteral("数据库文件已损坏，请从备份还原数据：") + path});
        QCOMPARE(m_prompts->calls.first().style, 48);
        QCOMPARE(m_prompts->calls.first().title, QStringLiteral("警告"));
        QCOMPARE(forms().find<designFrm>()->tvw_nav->topLevelItem(0)->childCount(), 0);
        QVERIFY(forms().find<infoFrm>()->txt_webName->text().isEmpty());
        // The user's file is never written.
        QCOMPARE(testenv::readFile(path), before);
        main.xMenu1_Click(QStringLiteral("mnuView_insData"));
        QCOMPARE(testenv::readFile(path), before);
    }

    void aDataFolderWithoutItsDatabaseIsKeptAsideAndNamed()
    {
        // Only the database is gone: the sixty pictures are kept, and the start says where.
        prepareDatabase([](SiteDb &) {});
        const QString data = m_prog->file(QStringLiteral("userImages/"));
        for (int i = 0; i < 60; ++i)
            testenv::writeFile(data + QStringLiteral("p%1.jpg").arg(i), QByteArray::number(i));
        QVERIFY(QFile::remove(data + QStringLiteral("brevonel.qdb")));
        const testenv::Snapshot pictures = testenv::folderSnapshot(data);

        MDIFrm &main = load();
        const QString kept = m_prog->file(QStringLiteral("userImages~") + QDate::currentDate().toString(Qt::ISODate)
                                          + QStringLiteral("-1"));
        QCOMPARE(testenv::folderSnapshot(kept), pictures);
        QCOMPARE(m_prompts->messages(),
                 QStringList{QStringLiteral("数据文件夹中没有找到数据库文件，已换上一个新的数据文件夹。\r\n"
                                            "原来的数据文件夹没有删除，其中的图片等文件都在：\r\n")
                             + kept});
        QCOMPARE(m_prompts->lastMessage().style, 48);
        QCOMPARE(m_prompts->lastMessage().title, QStringLiteral("警告"));
        QVERIFY(main.conn().isOpen());
        QCOMPARE(testenv::folderSnapshot(data).keys(), QStringList{QStringLiteral("brevonel.qdb")});
    }

    void aViewThatFailsToLoadKeepsNoOtherFromComingUp()
    {
        // The guide view, the first to load, cannot make its pane.
        bool failed = false;
        setPaneFactory([&failed](QWidget *parent, PaneOptions options) -> IBrowserPane * {
            if (!failed) {
                failed = true;
                throw err::FileError(err::Kind::FileRead, QStringLiteral("help/"));
            }
            return new FakePane(parent, options);
        });
        MDIFrm &main = load();
        QCOMPARE(viewsInOrder(main), (QStringList{"infoFrm", "sltTmplFrm", "designFrm", "insDataFrm", "updataFrm"}));
        QCOMPARE(activeView(main), QStringLiteral("designFrm"));
        QCOMPARE(m_prompts->messages(), QStringList{err::describe(err::Kind::FileRead, QStringLiteral("help/"))});
        QCOMPARE(m_prompts->lastMessage().style, 64);
    }

    void aRepairThatFailsEndsTheProgramWithOneBox()
    {
        QDir(m_prog->file(QStringLiteral("initdata"))).removeRecursively();
        m_main = std::make_unique<MDIFrm>();
        QVERIFY(!m_main->MDIForm_Load(m_prog->path()));
        QCOMPARE(m_prompts->messageCount(), 1);
        QCOMPARE(m_prompts->lastMessage().style, 16);
        QCOMPARE(m_prompts->lastMessage().title, QStringLiteral("错误"));
        QVERIFY(m_prompts->lastMessage().text.contains(QStringLiteral("initdata")));
        QVERIFY(!m_main->conn().isOpen());
        QVERIFY(m_main->mdiArea->subWindowList().isEmpty());
    }

    void menuAndToolbarCaptions()
    {
        MDIFrm &main = load();
        const QList<QPair<QString, QString>> items = {
            {"mnufile", "文件(F) "},
            {"mnufile_backup", "备份数据(&B)... "},
            {"mnufile_revert", "还原数据(&R)..."},
            {"mnuFile_quit", "退出(&Q)"},
            {"mnuView", "视图(V)"},
            {"mnuView_guid", "用法指南(&G) ..."},
            {"mnuView_info", "基本信息(B)..."},
            {"mnuView_sltTmpl", "选择模板(&T) ..."},
            {"mnuView_design", "设计栏目(&D) ..."},
            {"mnuView_insData", "录入数据(&I) ..."},
            {"mnuView_upData", "上传数据(&U) ..."},
            {"MnuTool", "工具(O)"},
            {"MnuTool_update", "更新模板(U)..."},
            {"MnuTool_consultation", "咨询台..."},
            {"mnuHelp", "帮助(H)"},
            {"mnuHelp_hlep", "帮助(&H)..."},
            {"mnuHelp_about", "关于(&A)..."},
        };
        for (const auto &[key, caption] : items) {
            QAction *a = findAction(main.xMenu1, key);
            QVERIFY2(a, qPrintable(key));
            QCOMPARE(a->text(), caption);
            QVERIFY(a->isEnabled());
        }
        for (const char *sep : {"mnuFile_line01", "MnuTool_line01", "mnuHelp_line"})
            QVERIFY(findAction(main.xMenu1, QLatin1String(sep))->isSeparator());

        const QStringList captions = {"用法指南", "基本信息", "选择模板", "设计栏目", "录入数据", "上传数据", "", "退出系统"};
        const QList<QAction *> actions = main.xToolbar1->actions();
        QCOMPARE(actions.size(), 8);
        for (int i = 0; i < 8; ++i) {
            QCOMPARE(actions.at(i)->data().toInt(), i + 1);
            QCOMPARE(actions.at(i)->isSeparator(), i == 6);
            if (i != 6) {
                QCOMPARE(actions.at(i)->text(), captions.at(i));
                QCOMPARE(actions.at(i)->toolTip(), captions.at(i));
            }
        }
    }

    // The top menus open from the keyboard although their captions show the letter as
    // plain text: Alt with that letter, or F10 for the first one. A letter typed with Alt
    // never lands in the box that has the keys.
    void theMenusOpenFromTheKeyboard()
    {
        MDIFrm &main = load();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        main.xToolbar1_ButtonClick(2);
        QLineEdit *name = forms().find<infoFrm>()->txt_webName;
        QTest::mouseClick(name, Qt::LeftButton);
        const auto openMenu = [] { return qobject_cast<QMenu *>(QApplication::activePopupWidget()); };
        const auto closeMenus = [&] {
            while (QMenu *menu = openMenu())
                QTest::keyClick(menu, Qt::Key_Escape);
            QTest::keyClick(main.windowHandle(), Qt::Key_Escape); // leaves the menu bar
            QCOMPARE(QApplication::focusWidget(), name);
        };
        const QList<QPair<Qt::Key, QString>> letters = {
            {Qt::Key_V, "mnuView"}, {Qt::Key_F, "mnufile"}, {Qt::Key_O, "MnuTool"}, {Qt::Key_H, "mnuHelp"}};
        for (const auto &[letter, menu] : letters) {
            QTest::keyClick(main.windowHandle(), letter, Qt::AltModifier);
            QTRY_VERIFY(openMenu());
            QCOMPARE(openMenu()->objectName(), menu);
            closeMenus();
        }
        QTest::keyClick(main.windowHandle(), Qt::Key_Q, Qt::AltModifier);
        QTest::keyClick(main.windowHandle(), Qt::Key_1, Qt::AltModifier);
        QVERIFY(!openMenu());
        QCOMPARE(name->text(), QStringLiteral("我的网站"));
        QTest::keyClick(main.windowHandle(), Qt::Key_F10);
        QTRY_VERIFY(openMenu());
        QCOMPARE(openMenu()->objectName(), QStringLiteral("mnufile"));
        closeMenus();
        QTest::keyClick(main.windowHandle(), 'x');
        QCOMPARE(name->text(), QStringLiteral("我的网站x"));

        // A real box answered with Enter (the warning about the unsaved name when another
        // view is chosen) leaves the keys with the main window: the menus still open.
        m_prompts.reset();
        QTimer::singleShot(0, this, [] {
            if (QWidget *box = QApplication::activeModalWidget())
                QTest::keyClick(box->windowHandle(), Qt::Key_Return);
        });
        QTest::mouseClick(main.xToolbar1->widgetForAction(main.xToolbar1->actions().at(3)), Qt::LeftButton);
        m_prompts = std::make_unique<FakePrompter>();
        QTRY_COMPARE(activeView(main), QStringLiteral("infoFrm"));
        QTest::keyClick(main.windowHandle(), Qt::Key_V, Qt::AltModifier);
        QTRY_VERIFY(openMenu());
        closeMenus();
        QTest::keyClick(main.windowHandle(), 'y');
        QCOMPARE(name->text(), QStringLiteral("我的网站xy"));
    }

    void menuDispatch_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("active");
        QTest::newRow("guide") << "mnuView_guid" << "guidFrm";
        QTest::newRow("info") << "mnuView_info" << "infoFrm";
        QTest::newRow("templates") << "mnuView_sltTmpl" << "sltTmplFrm";
        QTest::newRow("data entry") << "mnuView_insData" << "insDataFrm";
        QTest::newRow("upload") << "mnuView_upData" << "updataFrm";
        QTest::newRow("help") << "mnuHelp_hlep" << "guidFrm";
        // Keys that do nothing: the active view stays the design view.
        QTest::newRow("update templates") << "MnuTool_update" << "designFrm";
        QTest::newRow("top menu") << "mnuView" << "designFrm";
        QTest::newRow("separator") << "mnuFile_line01" << "designFrm";
        QTest::newRow("wrong case") << "mnuview_info" << "designFrm";
        QTest::newRow("padded") << "mnuView_info " << "designFrm";
    }

    void menuDispatch()
    {
        QFETCH(QString, key);
        QFETCH(QString, active);
        MDIFrm &main = load();
        main.xMenu1_Click(key);
        QCOMPARE(activeView(main), active);
        QCOMPARE(m_prompts->calls.size(), 0);
        QVERIFY(!forms().isLoaded<dlgFrm>());
        QVERIFY(!forms().isLoaded<aboutFrm>());
        // The menu's own action reaches the same handler.
        if (QAction *a = findAction(main.xMenu1, key); a && !a->isSeparator() && a->menu() == nullptr) {
            main.xMenu1_Click(QStringLiteral("mnuView_design"));
            a->trigger();
            QCOMPARE(activeView(main), active);
        }
    }

    void toolbarDispatch()
    {
        MDIFrm &main = load();
        const QStringList views = {"guidFrm", "infoFrm", "sltTmplFrm", "designFrm", "insDataFrm", "updataFrm"};
        for (int i = 1; i <= 6; ++i) {
            main.xToolbar1->actions().at(i - 1)->trigger();
            QCOMPARE(activeView(main), views.at(i - 1));
        }
        main.xToolbar1_ButtonClick(7);
        main.xToolbar1_ButtonClick(0);
        main.xToolbar1_ButtonClick(9);
        QCOMPARE(activeView(main), QStringLiteral("updataFrm"));
        QVERIFY(main.conn().isOpen());
        QCOMPARE(m_prompts->calls.size(), 0);
    }

    void chatAndAboutShowWithoutTakingTheFront()
    {
        MDIFrm &main = load();
        main.xMenu1_Click(QStringLiteral("MnuTool_consultation"));
        QVERIFY(forms().isLoaded<dlgFrm>());
        QVERIFY(forms().find<dlgFrm>()->isVisible());
        main.xMenu1_Click(QStringLiteral("mnuHelp_about"));
        QVERIFY(forms().isLoaded<aboutFrm>());
        QVERIFY(forms().find<aboutFrm>()->isVisible());
        QCOMPARE(activeView(main), QStringLiteral("designFrm"));
        // One instance each.
        dlgFrm *chat = forms().find<dlgFrm>();
        main.xMenu1_Click(QStringLiteral("MnuTool_consultation"));
        QCOMPARE(forms().find<dlgFrm>(), chat);
    }

    void aClosedViewComesBackAsItWas()
    {
        MDIFrm &main = load();
        // The close box hides a view; it stays loaded with what was typed into it.
        updataFrm *upload = forms().find<updataFrm>();
        upload->txt_severIP->setText(QStringLiteral("10.1.2.3"));
        const QStringList views = viewsInOrder(main);
        for (QMdiSubWindow *sub : main.mdiArea->subWindowList(QMdiArea::CreationOrder)) {
            sub->close(); // the user's close box
            testenv::settle();
            QVERIFY(!sub->isVisible());
        }
        QCOMPARE(m_prompts->calls.size(), 0);
        QCOMPARE(viewsInOrder(main), views);
        QCOMPARE(forms().find<updataFrm>(), upload);
        main.xMenu1_Click(QStringLiteral("mnuView_upData"));
        QVERIFY(upload->isVisible() && FormRegistry::subWindowOf(upload)->isVisible());
        QCOMPARE(activeView(main), QStringLiteral("updataFrm"));
        QCOMPARE(upload->txt_severIP->text(), QStringLiteral("10.1.2.3"));
        main.xMenu1_Click(QStringLiteral("mnuView_info"));
        QCOMPARE(activeView(main), QStringLiteral("infoFrm"));
        QCOMPARE(viewsInOrder(main), views);
    }

    // A view brought back from the toolbar or the menu takes the keys in the box the user
    // left in it; one never typed into takes them in its first box.
    void aViewShownAgainTakesTheKeysWhereTheUserLeftIt()
    {
        MDIFrm &main = load();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        const auto keysIn = [](QWidget *view) {
            QWidget *keys = QApplication::focusWidget();
            return keys && keys != view && view->isAncestorOf(keys);
        };
        QVERIFY(keysIn(forms().find<designFrm>()));
        main.xToolbar1_ButtonClick(6);
        QLineEdit *server = forms().find<updataFrm>()->txt_severIP;
        server->clear();
        QTest::mouseClick(server, Qt::LeftButton);
        QTest::keyClick(main.windowHandle(), '1');
        main.xToolbar1_ButtonClick(2);
        QVERIFY(keysIn(forms().find<infoFrm>()));
        main.xMenu1_Click(QStringLiteral("mnuView_upData"));
        QTest::keyClick(main.windowHandle(), '0');
        QCOMPARE(server->text(), QStringLiteral("10"));
    }

    // A view that the area counts as active while another view is drawn over it (as a
    // sequence of warnings about unsaved typing can leave it) comes to the front when
    // it is shown from the toolbar or the menu, or its title is clicked.
    void anActiveViewDrawnBehindComesToTheFront()
    {
        MDIFrm &main = load();
        main.xToolbar1_ButtonClick(2);
        QMdiSubWindow *infoSub = FormRegistry::subWindowOf(forms().find<infoFrm>());
        QMdiSubWindow *designSub = FormRegistry::subWindowOf(forms().find<designFrm>());
        infoSub->move(0, 0);
        designSub->move(infoSub->width() / 2, infoSub->height() / 2);
        const QPoint overlap = (infoSub->geometry() & designSub->geometry()).center();
        // The view drawn at a point that both views cover.
        const auto drawnThere = [&]() -> QMdiSubWindow * {
            QWidget *w = main.mdiArea->viewport()->childAt(overlap);
            while (w && !qobject_cast<QMdiSubWindow *>(w))
                w = w->parentWidget();
            return qobject_cast<QMdiSubWindow *>(w);
        };
        const auto hideBehind = [&] {
            designSub->raise();
            QCOMPARE(main.mdiArea->activeSubWindow(), infoSub);
            QCOMPARE(drawnThere(), designSub);
        };
        const auto inFront = [&] {
            QCOMPARE(main.mdiArea->activeSubWindow(), infoSub);
            QCOMPARE(drawnThere(), infoSub);
        };
        hideBehind();
        QTest::mouseClick(main.xToolbar1->widgetForAction(main.xToolbar1->actions().at(1)), Qt::LeftButton);
        inFront();
        hideBehind();
        main.xMenu1_Click(QStringLiteral("mnuView_info"));
        inFront();
        hideBehind();
        QTest::mouseClick(infoSub, Qt::LeftButton, {}, QPoint(infoSub->width() / 4, 8));
        inFront();
        QCOMPARE(m_prompts->calls.size(), 0);
    }

    void aWindowBehindTheMainWindowComesToTheFront_data()
    {
        QTest::addColumn<QString>("window");
        QTest::newRow("about") << "aboutFrm";
        QTest::newRow("chat") << "dlgFrm";
        QTest::newRow("notice") << "verFrm";
    }
    void aWindowBehindTheMainWindowComesToTheFront()
    {
        QFETCH(QString, window);
        MDIFrm &main = load();
        const auto showIt = [&]() -> QWidget * {
            if (window == QLatin1String("aboutFrm")) {
                main.xMenu1_Click(QStringLiteral("mnuHelp_about"));
                return forms().find<aboutFrm>();
            }
            if (window == QLatin1String("dlgFrm")) {
                main.xMenu1_Click(QStringLiteral("MnuTool_consultation"));
                return forms().find<dlgFrm>();
            }
            forms().get<verFrm>()->deliver(QStringLiteral("通知"));
            return forms().find<verFrm>();
        };
        QWidget *w = showIt();
        QTRY_COMPARE(QApplication::activeWindow(), w);
        // The user clicks the main window: the window drops behind it.
        main.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &main);
        QCOMPARE(showIt(), w);
        QTRY_COMPARE(QApplication::activeWindow(), w);
        QVERIFY(w->isVisible());
        // Minimised, it comes back too.
        w->showMinimized();
        main.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &main);
        showIt();
        QVERIFY(!w->isMinimized());
        QTRY_COMPARE(QApplication::activeWindow(), w);
        QCOMPARE(activeView(main), QStringLiteral("designFrm"));
    }

    void shutdownUnloadsEverythingOnce_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("menu") << 0;
        QTest::newRow("toolbar") << 1;
        QTest::newRow("close box") << 2;
    }

    void shutdownUnloadsEverythingOnce()
    {
        QFETCH(int, how);
        MDIFrm &main = load();
        main.xMenu1_Click(QStringLiteral("MnuTool_consultation"));
        main.xMenu1_Click(QStringLiteral("mnuHelp_about"));
        if (how == 0)
            main.xMenu1_Click(QStringLiteral("mnuFile_quit"));
        else if (how == 1)
            main.xToolbar1_ButtonClick(8);
        else
            main.close();
        testenv::settle();
        QVERIFY(forms().loaded().isEmpty());
        QVERIFY(!main.conn().isOpen());
        QVERIFY(main.mdiArea->subWindowList().isEmpty());
        // A second request finds nothing to do and creates nothing.
        main.MDIForm_Unload();
        testenv::settle();
        QVERIFY(forms().loaded().isEmpty());
        QCOMPARE(m_prompts->calls.size(), 0);
    }

    void shutdownRemovesCopiesNeverSaved()
    {
        MDIFrm &main = load();
        // A logo chosen in the information view and never saved.
        m_prompts->answerFile(testenv::appDir() + QStringLiteral("fonts/font01.png"));
        forms().find<infoFrm>()->cmd_view_Click();
        const QString copy = main.currImgPath() + QStringLiteral("font01.png");
        QVERIFY(QFileInfo::exists(copy));
        main.xMenu1_Click(QStringLiteral("mnuFile_quit"));
        QVERIFY(!QFileInfo::exists(copy));
        QVERIFY(!main.conn().isOpen());
    }

    void theSplashShowsTheMainWindowOnItsThirdTick()
    {
        MDIFrm::setProgramFolder(m_prog->path());
        mdl_frmSplash::Main();
        frmSplash *splash = forms().find<frmSplash>();
        QVERIFY(splash && splash->isVisible());
        QVERIFY(splash->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(splash->Timer1->isActive());
        QCOMPARE(splash->Timer1->interval(), 50);
        // Ticks on time: each counts the interval.
        splash->msSinceLastTick = [] { return qint64(10); };
        splash->Timer1_Timer();
        splash->Timer1_Timer();
        QVERIFY(!MDIFrm::instance());
        splash->Timer1_Timer();
        QVERIFY(MDIFrm::instance());
        m_main.reset(MDIFrm::instance());
        QVERIFY(!splash->Timer1->isActive());
        QCOMPARE(splash->elapsed, 150);
        QVERIFY(!forms().isLoaded<frmSplash>());
        QCOMPARE(activeView(*m_main), QStringLiteral("designFrm"));
        MDIFrm::setProgramFolder(QString());
    }

    void theSplashIsOnScreenBeforeTheEngineStarts()
    {
        MDIFrm::setProgramFolder(m_prog->path());
        frmSplash *splash = forms().get<frmSplash>();
        splash->Timer1->stop(); // ticks by hand below
        QImage onScreen;
        bool mainWindowYet = true;
        int warmUps = 0;
        splash->warmUp = [&] {
            ++warmUps;
            mainWindowYet = MDIFrm::instance() != nullptr;
            onScreen = splash->screen()->grabWindow(splash->winId()).toImage();
        };
        mdl_frmSplash::Main();
        QTRY_COMPARE(warmUps, 1);
        QVERIFY(!mainWindowYet);
        // What the screen showed when the slow work began: the splash picture, not black.
        const QImage picture = artwork::splashPicture().toImage();
        QCOMPARE(onScreen.size(), picture.size());
        for (const QPoint p : {QPoint(10, 10), QPoint(picture.width() / 2, picture.height() / 2)}) {
            QVERIFY(qGray(onScreen.pixel(p)) > 0);
            QCOMPARE(onScreen.pixel(p), picture.pixel(p));
        }
        for (int i = 0; i < 3; ++i)
            splash->Timer1_Timer();
        m_main.reset(MDIFrm::instance());
        QVERIFY(m_main);
        QCOMPARE(warmUps, 1);
        MDIFrm::setProgramFolder(QString());
    }

    void aLateTickCountsTheTimeThatPassed()
    {
        // The event loop was busy for 200 ms (the web engine starting): the splash has
        // been up long enough at its first tick.
        MDIFrm::setProgramFolder(m_prog->path());
        mdl_frmSplash::Main();
        frmSplash *splash = forms().find<frmSplash>();
        splash->msSinceLastTick = [] { return qint64(200); };
        splash->Timer1_Timer();
        QVERIFY(MDIFrm::instance());
        m_main.reset(MDIFrm::instance());
        MDIFrm::setProgramFolder(QString());
    }

    void theHelperProgramIsStartedAndEnded()
    {
        const QString helper = testenv::writeFile(m_prog->file(QStringLiteral("closeOfficeMSI.exe")),
                                                  "#!/bin/sh\nexec sleep 30\n");
        QFile::setPermissions(helper, QFile::permissions(helper) | QFileDevice::ExeOwner);
        MDIFrm &main = load();
        const qint64 pid = main.helperPid();
        QVERIFY(pid > 0);
        // Ended at the end of the load sequence (gone, or a zombie nobody reaped yet).
        const QString proc = QStringLiteral("/proc/%1/stat").arg(pid);
        QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(proc) || testenv::readFile(proc).contains(") Z "), 5000);
    }

    void aHelperThatCannotRunIsPassedOver()
    {
        // Present but not executable.
        testenv::writeFile(m_prog->file(QStringLiteral("closeOfficeMSI.exe")), "#!/bin/sh\ntouch ran\n");
        MDIFrm &main = load();
        // Nothing was started that could run it.
        QCOMPARE(main.helperPid(), qint64(0));
        QVERIFY(!QFileInfo::exists(m_prog->file(QStringLiteral("ran"))));
        QCOMPARE(activeView(main), QStringLiteral("designFrm"));
    }

    void backupAndRestore()
    {
        MDIFrm &main = load();
        const QString data = m_prog->file(QStringLiteral("userImages/"));
        const QString saved = m_prog->file(QStringLiteral("savedData/"));

        // Restore without a backup.
        main.xMenu1_Click(QStringLiteral("mnufile_revert"));
        QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("数据还原失败，不存在备份数据！"));
        QCOMPARE(m_prompts->lastMessage().style, 64);
        QCOMPARE(m_prompts->lastMessage().title, QStringLiteral("提示"));

        testenv::writeFile(data + QStringLiteral("a.jpg"), "first");
        testenv::writeFile(data + QStringLiteral("gone.jpg"), "x");
        main.xMenu1_Click(QStringLiteral("mnufile_backup"));
        QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("数据备份成功！"));
        QCOMPARE(m_prompts->lastMessage().style, 64);
        // A second backup replaces the first whole.
        QFile::remove(data + QStringLiteral("gone.jpg"));
        main.xMenu1_Click(QStringLiteral("mnufile_backup"));
        QVERIFY(!QFileInfo::exists(saved + QStringLiteral("gone.jpg")));
        QCOMPARE(testenv::readFile(saved + QStringLiteral("a.jpg")), QByteArray("first"));

        // Changes after the backup.
        main.conn().exec(QStringLiteral("UPDATE user_info SET webName='改过'"));
        testenv::writeFile(data + QStringLiteral("a.jpg"), "second");
        testenv::writeFile(data + QStringLiteral("new.jpg"), "new");

        // Answering No changes nothing.
        m_prompts->answerMsg(7);
        main.xMenu1_Click(QStringLiteral("mnufile_revert"));
        QCOMPARE(m_prompts->lastMessage().text,
                 QStringLiteral("确实要还原数据吗，当前数据将被覆盖！\r\n数据还原后，Quorvik将有可能重新启动！"));
        QCOMPARE(m_prompts->lastMessage().style, 68);
        QCOMPARE(viewsInOrder(main).size(), 6);
        QCOMPARE(testenv::readFile(data + QStringLiteral("a.jpg")), QByteArray("second"));

        m_prompts->answerMsg(6);
        main.xMenu1_Click(QStringLiteral("mnufile_revert"));
        testenv::settle();
        QVERIFY(main.mdiArea->subWindowList().isEmpty());
        QVERIFY(main.conn().isOpen());
        QCOMPARE(db::text(main.conn().select(QStringLiteral("SELECT webName FROM user_info")).front(),
                          QStringLiteral("webName")),
                 QStringLiteral("我的网站"));
        QCOMPARE(testenv::readFile(data + QStringLiteral("a.jpg")), QByteArray("first"));
        QCOMPARE(testenv::readFile(data + QStringLiteral("new.jpg")), QByteArray("new"));
        // The views come back from the menu.
        main.xMenu1_Click(QStringLiteral("mnuView_design"));
        QCOMPARE(activeView(main), QStringLiteral("designFrm"));
    }

    void backupAndRestoreTheDataFolderInUse()
    {
        // A site in a folder of its own, named in initPath.ini, with links to a file
        // outside, to a folder inside and to nothing.
        QTemporaryDir elsewhere;
        const QString site = elsewhere.path() + QStringLiteral("/siteA/");
        QDir().mkpath(site);
        QVERIFY(QFile::copy(m_prog->file(QStringLiteral("initdata/brevonel.qdb")), site + QStringLiteral("brevonel.qdb")));
        QFile::setPermissions(site + QStringLiteral("brevonel.qdb"), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        testenv::writeFile(site + QStringLiteral("mine.jpg"), "mine");
        testenv::writeFile(elsewhere.path() + QStringLiteral("/shared.txt"), "outside");
        QVERIFY(QFile::link(elsewhere.path() + QStringLiteral("/shared.txt"), site + QStringLiteral("shared.txt")));
        testenv::writeFile(site + QStringLiteral("images/p.gif"), "gif");
        QVERIFY(QFile::link(QStringLiteral("images"), site + QStringLiteral("pictures")));
        QVERIFY(QFile::link(QStringLiteral("gone.jpg"), site + QStringLiteral("dangling.jpg")));
        testenv::writeFile(m_prog->file(QStringLiteral("initPath.ini")), site.toUtf8() + "\r\n");
        MDIFrm &main = load();
        QCOMPARE(main.currImgPath(), site);
        main.conn().exec(QStringLiteral("UPDATE user_info SET webName='甲'"));
        const auto defaultFolder = testenv::folderSnapshot(m_prog->file(QStringLiteral("userImages")));

        main.xMenu1_Click(QStringLiteral("mnufile_backup"));
        QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("数据备份成功！"));
        const QString saved = m_prog->file(QStringLiteral("savedData/"));
        const auto atBackup = testenv::folderSnapshot(site);
        QCOMPARE(testenv::folderSnapshot(saved), atBackup);

        // Changes after the backup, then the restore.
        main.conn().exec(QStringLiteral("UPDATE user_info SET webName='乙'"));
        testenv::writeFile(site + QStringLiteral("mine.jpg"), "changed");
        testenv::writeFile(site + QStringLiteral("new.jpg"), "new");
        m_prompts->answerMsg(6);
        main.xMenu1_Click(QStringLiteral("mnufile_revert"));
        testenv::settle();
        QVERIFY(main.conn().isOpen());
        QCOMPARE(db::text(main.conn().select(QStringLiteral("SELECT webName FROM user_info")).front(),
                          QStringLiteral("webName")),
                 QStringLiteral("甲"));
        auto want = atBackup;
        want[QStringLiteral("new.jpg")] = "new";
        QCOMPARE(testenv::folderSnapshot(site), want);
        QCOMPARE(testenv::readFile(elsewhere.path() + QStringLiteral("/shared.txt")), QByteArray("outside"));
        // Nothing left beside the folders, and the default folder was never involved.
        QCOMPARE(QDir(elsewhere.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 (QStringList{"shared.txt", "siteA"}));
        QCOMPARE(testenv::folderSnapshot(m_prog->file(QStringLiteral("userImages"))), defaultFolder);
        QCOMPARE(m_prompts->messageCount(), 2);
    }

    void aRestoreRemovesUnsavedCopiesBeforeTheRestoredFilesArrive()
    {
        MDIFrm &main = load();
        const QString data = main.currImgPath();
        testenv::writeFile(data + QStringLiteral("font01.png"), "a picture of the backup");
        main.xMenu1_Click(QStringLiteral("mnufile_backup"));
        QFile::remove(data + QStringLiteral("font01.png"));
        // A logo of the same name chosen in the information view and never saved.
        m_prompts->answerFile(testenv::appDir() + QStringLiteral("fonts/font01.png"));
        forms().find<infoFrm>()->cmd_view_Click();
        QVERIFY(QFileInfo::exists(data + QStringLiteral("font01.png")));
        m_prompts->answerMsg(6);
        main.xMenu1_Click(QStringLiteral("mnufile_revert"));
        testenv::settle();
        QCOMPARE(testenv::readFile(data + QStringLiteral("font01.png")), QByteArray("a picture of the backup"));
    }

    void aFailingRestoreLeavesTheDataAndTheConnection_data()
    {
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("nth");
        QTest::newRow("copying a picture") << int(fileutil::faults::Step::Write) << 2;
        QTest::newRow("moving the restored folder in") << int(fileutil::faults::Step::Rename) << 2;
    }

    void aFailingRestoreLeavesTheDataAndTheConnection()
    {
        QFETCH(int, step);
        QFETCH(int, nth);
        MDIFrm &main = load();
        const QString data = main.currImgPath();
        testenv::writeFile(data + QStringLiteral("a.jpg"), "first");
        testenv::writeFile(data + QStringLiteral("b.jpg"), "first");
        main.xMenu1_Click(QStringLiteral("mnufile_backup"));
        main.conn().exec(QStringLiteral("UPDATE user_info SET webName='改过'"));
        testenv::writeFile(data + QStringLiteral("a.jpg"), "second");
        const auto before = testenv::folderSnapshot(data);

        {
            testenv::FileFault fault(fileutil::faults::Step(step), nth);
            m_prompts->answerMsg(6);
            main.xMenu1_Click(QStringLiteral("mnufile_revert"));
            QVERIFY(fault.fired());
        }
        testenv::settle();
        QCOMPARE(m_prompts->lastMessage().style, 64);
        QCOMPARE(m_prompts->lastMessage().title, QStringLiteral("提示"));
        QVERIFY(m_prompts->lastMessage().text.startsWith(err::text(err::Kind::FileCopy))
                || m_prompts->lastMessage().text.startsWith(err::text(err::Kind::FileWrite)));
        QCOMPARE(testenv::folderSnapshot(data), before);
        // The connection is open on the user's database, and the views work again.
        QVERIFY(main.conn().isOpen());
        QCOMPARE(db::text(main.conn().select(QStringLiteral("SELECT webName FROM user_info")).front(),
                          QStringLiteral("webName")),
                 QStringLiteral("改过"));
        const int boxes = m_prompts->messageCount();
        main.xMenu1_Click(QStringLiteral("mnuView_design"));
        main.xMenu1_Click(QStringLiteral("mnuView_insData"));
        QCOMPARE(m_prompts->messageCount(), boxes);
    }

    void aDatabaseLockedAtStartIsUsedOnceReleased()
    {
        prepareDatabase([](SiteDb &db) { db.exec(QStringLiteral("UPDATE user_info SET serial='acc01'")); });
        const QString path = m_prog->file(QStringLiteral("userImages/brevonel.qdb"));
        SiteDb::setBusyTimeoutMs(20);
        {
            // Another program holds the file while the program starts.
            QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other program"));
            other.setDatabaseName(path);
            QVERIFY(other.open());
            QVERIFY(QSqlQuery(other).exec(QStringLiteral("BEGIN EXCLUSIVE")));
            const QByteArray before = testenv::readFile(path);
            MDIFrm &main = load();
            QVERIFY(!main.conn().isOpen());
            // One box in all: the views come up empty and quiet.
            QCOMPARE(m_prompts->messages(), QStringList{QStringLiteral("数据库正被其他程序使用，请关闭该程序后重试：") + path});
            QCOMPARE(m_prompts->calls.first().style, 48);
            QCOMPARE(m_prompts->calls.first().title, QStringLiteral("警告"));
            QCOMPARE(viewsInOrder(main).size(), 6);
            const auto treeRoot = [](QTreeWidget *tree) { return tree->topLevelItem(0)->text(0); };
            designFrm *design = forms().find<designFrm>();
            insDataFrm *entry = forms().find<insDataFrm>();
            QCOMPARE(treeRoot(design->tvw_nav), QString());
            QCOMPARE(treeRoot(entry->tvw_nav), QString());
            // Nor can anything be added to a column tree that shows nothing stored.
            QVERIFY(!design->cmd_addFile->isEnabled() && !design->cmd_addCat->isEnabled());
            // Turning to a view while the file is held loads nothing and says nothing more.
            main.xMenu1_Click(QStringLiteral("mnuView_insData"));
            QCOMPARE(m_prompts->calls.size(), 1);
            QCOMPARE(treeRoot(entry->tvw_nav), QString());
            // The information view shows nothing stored, so nothing can be typed into it
            // that a save would write over the stored information.
            infoFrm *info = forms().find<infoFrm>();
            QVERIFY(!info->frm_info->isEnabled());
            // While it is held, a save says why it fails; the user's file is kept.
            info->txt_webName->setText(QStringLiteral("新名称"));
            info->cmd_ok_Click();
            QCOMPARE(m_prompts->lastMessage().text,
                     QStringLiteral("不期望的错误,errNo:infoFrm\r\n数据库正被其他程序使用，请关闭该程序后重试"));
            QCOMPARE(testenv::readFile(path), before);

            // Released: the views that came up empty fill when the user turns to one; the
            // next save succeeds.
            QVERIFY(QSqlQuery(other).exec(QStringLiteral("ROLLBACK")));
            other.close();
            // Until the design view has read its tree, its commands take nothing (a dialog
            // not scripted here fails the test).
            design->cmd_addFile_Click();
            QCOMPARE(m_prompts->calls.size(), 2);
            // Connecting from the upload view, without turning to another view first,
            // logs in with the account it could not read before.
            updataFrm *upload = forms().find<updataFrm>();
            upload->txt_severIP->setText(QStringLiteral("127.0.0.1"));
            upload->link()->setPort(1);
            upload->cmd_connSever_Click();
            QCOMPARE(upload->txt_serial->text(), QStringLiteral("acc01"));
            upload->cmd_disconn_Click();
            const int boxes = m_prompts->messageCount();
            main.xMenu1_Click(QStringLiteral("mnuView_design"));
            QCOMPARE(m_prompts->messageCount(), boxes);
            QCOMPARE(treeRoot(design->tvw_nav), QStringLiteral("我的网站"));
            QVERIFY(design->cmd_addFile->isEnabled());
            QCOMPARE(treeRoot(entry->tvw_nav), QStringLiteral("我的网站"));
            QCOMPARE(main.windowTitle(), QStringLiteral("我的网站--") + kCaption);
            QCOMPARE(info->txt_webName->text(), QStringLiteral("我的网站"));
            QVERIFY(info->frm_info->isEnabled());
            info->txt_webName->setText(QStringLiteral("新名称"));
            info->cmd_ok_Click();
            QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("数据保存成功！"));
            QVERIFY(main.conn().isOpen());
            QCOMPARE(db::text(main.conn().select(QStringLiteral("SELECT webName FROM user_info")).front(),
                              QStringLiteral("webName")),
                     QStringLiteral("新名称"));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("other program"));
        SiteDb::setBusyTimeoutMs(2000);
    }
};

QUORVIK_TEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
