#include "shell/mdifrm.h"

#include "content/insdatafrm.h"
#include "core/datalayout.h"
#include "core/fileutil.h"
#include "core/schema.h"
#include "core/version.h"
#include "design/designfrm.h"
#include "help/aboutfrm.h"
#include "help/guidfrm.h"
#include "profile/infofrm.h"
#include "profile/slttmplfrm.h"
#include "publish/dlgfrm.h"
#include "publish/updatafrm.h"
#include "publish/verfrm.h"
#include "shell/backup.h"
#include "shell/datafolder.h"
#include "shell/splash.h"
#include "ui/artwork.h"
#include "ui/browserpane.h"
#include "ui/formregistry.h"
#include "ui/prompter.h"
#include "ui/viewloads.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QShortcut>
#include <QMdiSubWindow>
#include <QProcess>
#include <QPointer>
#include <QTextEdit>

#include <csignal>

namespace {
QPointer<MDIFrm> g_main;
QString g_programFolder;

// A letter typed with Alt is a command, never text: one that opens no menu and presses
// no button is dropped before a text box takes it as typing.
class AltLettersTypeNothing : public QObject {
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        const Qt::KeyboardModifiers commands = Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier;
        if ((key->modifiers() & commands) != Qt::AltModifier || key->text().isEmpty() || !key->text().at(0).isPrint())
            return false;
        const auto *combo = qobject_cast<QComboBox *>(watched);
        return qobject_cast<QLineEdit *>(watched) || qobject_cast<QTextEdit *>(watched) ||
               qobject_cast<QPlainTextEdit *>(watched) || qobject_cast<QAbstractSpinBox *>(watched) ||
               (combo && combo->isEditable());
    }
};

AltLettersTypeNothing &altLettersTypeNothing()
{
    static AltLettersTypeNothing guard;
    return guard;
}

// The letter a caption shows in brackets ("文件(F) " shows F); none when it shows none.
QChar accessLetter(const QString &caption)
{
    const qsizetype open = caption.indexOf(QLatin1Char('('));
    if (open < 0 || open + 2 >= caption.size() || caption.at(open + 2) != QLatin1Char(')'))
        return {};
    const QChar letter = caption.at(open + 1).toUpper();
    return letter >= QLatin1Char('A') && letter <= QLatin1Char('Z') ? letter : QChar();
}

// The unloaded windows go now, while the database is open: a view abandoning files it
// copied in but never saved needs it to see whether anything else names them.
void letUnloadedWindowsGo()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
} // namespace

QString MDIFrm::programFolder()
{
    return g_programFolder.isEmpty() ? QCoreApplication::applicationDirPath() + QLatin1Char('/') : g_programFolder;
}

void MDIFrm::setProgramFolder(const QString &folder)
{
    g_programFolder = folder;
}

MDIFrm::MDIFrm(QWidget *parent)
    : QMainWindow(parent)
{
    g_main = this;
    setObjectName(QStringLiteral("MDIFrm"));
    setWindowTitle(kMainCaption);
    setWindowIcon(artwork::appIcon());
    mdiArea = new QMdiArea(this);
    mdiArea->setObjectName(QStringLiteral("mdiArea"));
    mdiArea->setBackground(QColor(0x8a, 0x9b, 0xb0));
    setCentralWidget(mdiArea);
    buildMenu();
    buildToolbar();
    forms().setHost(this, mdiArea);
    connect(mdiArea, &QMdiArea::subWindowActivated, this, &MDIFrm::onSubWindowActivated);
    qApp->installEventFilter(&altLettersTypeNothing());
    resize(1024, 720);
}

MDIFrm::~MDIFrm()
{
    qApp->removeEventFilter(&altLettersTypeNothing());
    if (g_main == this)
        g_main = nullptr;
}

MDIFrm *MDIFrm::instance()
{
    return g_main.data();
}

void MDIFrm::showMainWindow()
{
    if (g_main) {
        g_main->show();
        return;
    }
    auto *main = new MDIFrm;
    main->setAttribute(Qt::WA_DeleteOnClose, false);
    if (main->MDIForm_Load(programFolder()))
        return;
    // The start failed and the program ends with status 1. Nothing may keep it alive: no
    // window stays, and the end reaches the event loop running now as well as the main
    // one when that has not started yet (showing the splash already runs events before it).
    forms().unloadAll();
    QCoreApplication::exit(1);
    QMetaObject::invokeMethod(qApp, [] { QCoreApplication::exit(1); }, Qt::QueuedConnection);
}

void MDIFrm::buildMenu()
{
    xMenu1 = menuBar();
    xMenu1->setObjectName(QStringLiteral("xMenu1"));
    struct Item {
        const char *key;
        QString caption; // empty: separator
    };
    struct Top {
        const char *key;
        QString caption;
        QList<Item> items;
    };
    const QList<Top> menus = {
        {"mnufile",
         QStringLiteral("文件(F) "),
         {{"mnufile_backup", QStringLiteral("备份数据(&B)... ")},
          {"mnufile_revert", QStringLiteral("还原数据(&R)...")},
          {"mnuFile_line01", QString()},
          {"mnuFile_quit", QStringLiteral("退出(&Q)")}}},
        {"mnuView",
         QStringLiteral("视图(V)"),
         {{"mnuView_guid", QStringLiteral("用法指南(&G) ...")},
          {"mnuView_info", QStringLiteral("基本信息(B)...")},
          {"mnuView_sltTmpl", QStringLiteral("选择模板(&T) ...")},
          {"mnuView_design", QStringLiteral("设计栏目(&D) ...")},
          {"mnuView_insData", QStringLiteral("录入数据(&I) ...")},
          {"mnuView_upData", QStringLiteral("上传数据(&U) ...")}}},
        {"MnuTool",
         QStringLiteral("工具(O)"),
         {{"MnuTool_update", QStringLiteral("更新模板(U)...")},
          {"MnuTool_line01", QString()},
          {"MnuTool_consultation", QStringLiteral("咨询台...")}}},
        {"mnuHelp",
         QStringLiteral("帮助(H)"),
         {{"mnuHelp_hlep", QStringLiteral("帮助(&H)...")},
          {"mnuHelp_line", QString()},
          {"mnuHelp_about", QStringLiteral("关于(&A)...")}}},
    };
    for (const Top &top : menus) {
        QMenu *menu = xMenu1->addMenu(top.caption);
        menu->setObjectName(QString::fromLatin1(top.key));
        menu->menuAction()->setObjectName(QString::fromLatin1(top.key));
        for (const Item &item : top.items) {
            QAction *a = item.caption.isEmpty() ? menu->addSeparator() : menu->addAction(item.caption);
            a->setObjectName(QString::fromLatin1(item.key));
        }
        connect(menu, &QMenu::triggered, this, [this](QAction *a) { xMenu1_Click(a->objectName()); });
        // The caption shows its letter as plain text, which makes no mnemonic of it: Alt
        // and that letter open the menu all the same.
        if (const QChar letter = accessLetter(top.caption); !letter.isNull())
            connect(new QShortcut(QKeyCombination(Qt::AltModifier, Qt::Key(letter.unicode())), this),
                    &QShortcut::activated, this, [this, menu] { xMenu1->setActiveAction(menu->menuAction()); });
    }
    // F10 opens the menu bar at its first menu.
    connect(new QShortcut(QKeySequence(Qt::Key_F10), this), &QShortcut::activated, this,
            [this] { xMenu1->setActiveAction(xMenu1->actions().constFirst()); });
}

void MDIFrm::buildToolbar()
{
    xToolbar1 = addToolBar(QStringLiteral("xToolbar1"));
    xToolbar1->setObjectName(QStringLiteral("xToolbar1"));
    xToolbar1->setMovable(false);
    xToolbar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    xToolbar1->setIconSize(QSize(32, 32));
    const QStringList captions = {QStringLiteral("用法指南"), QStringLiteral("基本信息"), QStringLiteral("选择模板"),
                                  QStringLiteral("设计栏目"), QStringLiteral("录入数据"), QStringLiteral("上传数据"),
                                  QString(),                  QStringLiteral("退出系统")};
    for (int i = 0; i < captions.size(); ++i) {
        const int index = i + 1;
        QAction *a = captions.at(i).isEmpty() ? xToolbar1->addSeparator()
                                              : xToolbar1->addAction(artwork::toolIcon(index), captions.at(i));
        a->setData(index);
        a->setToolTip(captions.at(i));
    }
    connect(xToolbar1, &QToolBar::actionTriggered, this,
            [this](QAction *a) { xToolbar1_ButtonClick(a->data().toInt()); });
}

void MDIFrm::linkViews()
{
    designFrm *design = forms().find<designFrm>();
    insDataFrm *entry = forms().find<insDataFrm>();
    if (!design || !entry)
        return;
    connect(design, &designFrm::columnRenamed, entry, &insDataFrm::columnRenamed, Qt::UniqueConnection);
    connect(design, &designFrm::catalogChanged, entry, &insDataFrm::catalogChanged, Qt::UniqueConnection);
}

template <class T> T *MDIFrm::view()
{
    T *made = forms().get<T>();
    linkViews();
    return made;
}

template <class T> void MDIFrm::showView()
{
    try {
        forms().showAndFocus(view<T>());
    } catch (const std::exception &e) {
        ui::msgBox(err::descriptionOf(e), ui::vbInformation, QStringLiteral("提示"));
    }
}

template <class T> void MDIFrm::startView()
{
    try {
        forms().showOnly(view<T>());
    } catch (const std::exception &e) {
        viewloads::tell({err::descriptionOf(e), ui::vbInformation, QStringLiteral("提示")}, err::descriptionOf(e));
    }
}

void MDIFrm::showCaption()
{
    try {
        const Rows rows = app().conn.select(QStringLiteral("SELECT * FROM user_info"));
        if (!rows.empty())
            setWindowTitle(db::text(rows.front(), QStringLiteral("webName")) + QStringLiteral("--") + kMainCaption);
    } catch (const std::exception &) {
        // The caption stays as designed; the database's failure is the views' to tell.
        viewloads::loadAgainLater(this, [this] { showCaption(); });
    }
}

void MDIFrm::xMenu1_Click(const QString &key)
{
    if (key == QLatin1String("mnuView_guid"))
        showView<guidFrm>();
    else if (key == QLatin1String("mnuView_info"))
        showView<infoFrm>();
    else if (key == QLatin1String("mnuView_sltTmpl"))
        showView<sltTmplFrm>();
    else if (key == QLatin1String("mnuView_design"))
        showView<designFrm>();
    else if (key == QLatin1String("mnuView_insData"))
        showView<insDataFrm>();
    else if (key == QLatin1String("mnuView_upData"))
        showView<updataFrm>();
    else if (key == QLatin1String("MnuTool_consultation")) {
        try {
            forms().showOnly(forms().get<dlgFrm>());
        } catch (const std::exception &e) {
            ui::msgBox(err::descriptionOf(e), ui::vbInformation, QStringLiteral("提示"));
        }
    } else if (key == QLatin1String("mnufile_backup"))
        backupData();
    else if (key == QLatin1String("mnufile_revert"))
        restoreData();
    else if (key == QLatin1String("mnuFile_quit"))
        close();
    else if (key == QLatin1String("mnuHelp_hlep"))
        showView<guidFrm>();
    else if (key == QLatin1String("mnuHelp_about")) {
        try {
            forms().showOnly(forms().get<aboutFrm>());
        } catch (const std::exception &e) {
            ui::msgBox(err::descriptionOf(e), ui::vbInformation, QStringLiteral("提示"));
        }
    }
}

void MDIFrm::xToolbar1_ButtonClick(int index)
{
    switch (index) {
    case 1: showView<guidFrm>(); break;
    case 2: showView<infoFrm>(); break;
    case 3: showView<sltTmplFrm>(); break;
    case 4: showView<designFrm>(); break;
    case 5: showView<insDataFrm>(); break;
    case 6: showView<updataFrm>(); break;
    case 8: close(); break;
    default: break;
    }
}

bool MDIFrm::MDIForm_Load(const QString &programFolder)
{
    // 1. No input until the sequence is done.
    setEnabled(false);
    forms().starting = true;
    // 2. The program folder.
    app().currentPath = fileutil::withSlash(programFolder);
    setPaneBaseFolder(app().currentPath);
    // 3. The data folder, repaired where needed.
    QList<ui::Message> notes;
    try {
        const datafolder::Folders f = datafolder::findAndRepair(app().currentPath);
        app().currImgPath = f.currImgPath;
        app().currDataPath = f.currDataPath;
        notes = f.notes;
    } catch (const std::exception &e) {
        forms().starting = false;
        // The splash stays on top of every window: it goes first, so that the box is seen.
        forms().unload<frmSplash>();
        ui::msgBox(err::descriptionOf(e), ui::vbCritical, QStringLiteral("错误"));
        return false;
    }
    // 4. From here on a failure stops only the step it happens in, and each cause is
    // told once in all.
    viewloads::beginStartup();
    // 5. The site database, checked in full once per run. A file that is not a whole
    // site database, or one another program holds, is named in one box that says what
    // to do; the views then come up empty without boxes of their own.
    const QString database = app().currImgPath + datalayout::kDbName;
    if (!schema::openSite(app().conn, database, SiteDb::Check::Full)) {
        const err::DbError why(app().conn.openFailure().value_or(err::Kind::DbNotOpen));
        ui::msgBox(err::describe(why.kind(), database), ui::vbExclamation, QStringLiteral("警告"));
        viewloads::told(why.description());
    }
    // 6. The caption.
    showCaption();
    // 7. The helper program, when one is installed.
    startHelperProgram();
    // 8. The six views, in order, each on its own: one that fails does not keep the
    // others from coming up.
    startView<guidFrm>();
    startView<infoFrm>();
    startView<sltTmplFrm>();
    startView<designFrm>();
    startView<insDataFrm>();
    startView<updataFrm>();
    // The main window shows once it can paint at once: building the views takes a while,
    // and a window shown before them stays unpainted (black without a window manager)
    // until they are done. The design view becomes active in it below.
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        setGeometry(screen->availableGeometry());
    showMaximized();
    // 10. The splash goes; what the repair did, or that the folder cannot be written,
    // is told once it is gone.
    forms().unload<frmSplash>();
    for (const ui::Message &note : notes)
        ui::show(note);
    // 11. Input again.
    setEnabled(true);
    forms().starting = false;
    // 9. The design view in front (its activation hook runs once).
    try {
        forms().showAndFocus(view<designFrm>());
    } catch (const std::exception &) {
    }
    viewloads::endStartup();
    // 12. The helper program is done.
    endHelperProgram();
    m_loadFinishedAtMs = QDateTime::currentMSecsSinceEpoch();
    emit loaded();
    return true;
}

void MDIFrm::startHelperProgram()
{
    const QString path = app().currentPath + QStringLiteral("closeOfficeMSI.exe");
    const QFileInfo fi(path);
    if (!fi.isFile() || !fi.isExecutable())
        return;
    qint64 pid = 0;
    if (QProcess::startDetached(path, {}, app().currentPath, &pid))
        m_helperPid = pid;
}

void MDIFrm::endHelperProgram()
{
    if (m_helperPid > 0)
        ::kill(static_cast<pid_t>(m_helperPid), SIGTERM);
}

void MDIFrm::onSubWindowActivated(QMdiSubWindow *sub)
{
    QWidget *view = sub ? sub->widget() : nullptr;
    if (view == m_activeView)
        return;
    QWidget *previous = m_activeView;
    m_activeView = view;
    if (forms().starting || forms().closing)
        return;
    viewloads::retry();
    if (auto *hooks = dynamic_cast<IForm *>(previous))
        hooks->Form_Deactivate();
    if (auto *hooks = dynamic_cast<IForm *>(view))
        hooks->Form_Activate();
}

void MDIFrm::MDIForm_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    forms().closing = true;
    try {
        // The server connection closes before the upload view goes.
        if (updataFrm *up = forms().find<updataFrm>(); up && up->socketOpen())
            up->closeSocket();
    } catch (...) {
    }
    forms().unloadAll();
    m_activeView = nullptr;
    letUnloadedWindowsGo();
    app().conn.close();
    QCoreApplication::quit();
}

void MDIFrm::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // The user comes back to the program (perhaps from the one that held the database).
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !forms().starting && !forms().closing)
        viewloads::retry();
}

void MDIFrm::closeEvent(QCloseEvent *event)
{
    MDIForm_Unload();
    event->accept();
}

void MDIFrm::backupData()
{
    try {
        backup::save(app().currImgPath, app().currentPath + datafolder::kBackupFolder);
    } catch (const std::exception &e) {
        ui::msgBox(err::descriptionOf(e), ui::vbInformation, QStringLiteral("提示"));
        return;
    }
    ui::msgBox(QStringLiteral("数据备份成功！"), ui::vbInformation, QStringLiteral("提示"));
}

void MDIFrm::restoreData()
{
    const QString backup = app().currentPath + datafolder::kBackupFolder;
    if (!QFileInfo(backup + datalayout::kDbName).isFile()) {
        ui::msgBox(QStringLiteral("数据还原失败，不存在备份数据！"), ui::vbInformation, QStringLiteral("提示"));
        return;
    }
    const int answer = ui::msgBox(QStringLiteral("确实要还原数据吗，当前数据将被覆盖！\r\n数据还原后，Quorvik将有可能重新启动！"),
                                  ui::vbYesNo + ui::vbInformation, QStringLiteral("提示"));
    if (answer != ui::vbYes)
        return;
    forms().closing = true;
    try {
        forms().unload<guidFrm>();
        forms().unload<infoFrm>();
        forms().unload<sltTmplFrm>();
        forms().unload<designFrm>();
        forms().unload<insDataFrm>();
        if (updataFrm *up = forms().find<updataFrm>()) {
            if (up->socketOpen())
                up->closeSocket();
            forms().unload<updataFrm>();
        }
        m_activeView = nullptr;
        // The views remove the copies they never saved before the restored files arrive.
        letUnloadedWindowsGo();
        backup::restore(backup, app().currImgPath, app().conn);
    } catch (const std::exception &e) {
        forms().closing = false;
        ui::msgBox(err::descriptionOf(e), ui::vbInformation, QStringLiteral("提示"));
        return;
    }
    forms().closing = false;
}
