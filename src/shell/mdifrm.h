#pragma once
// The main window: the frame of the whole program, holding the six views in its MDI
// area, the menu bar and the toolbar, and what every window shares.

#include "core/appcontext.h"

#include <QMainWindow>
#include <QMdiArea>
#include <QMenuBar>
#include <QToolBar>

class MDIFrm : public QMainWindow {
    Q_OBJECT
public:
    explicit MDIFrm(QWidget *parent = nullptr);
    ~MDIFrm() override;

    // The single instance (nullptr before start-up has shown it).
    static MDIFrm *instance();
    // Creates the main window if needed, runs its load sequence and shows it; when the
    // load sequence fails, the program ends with status 1.
    static void showMainWindow();
    // The program folder the load sequence uses: the executable's folder unless a
    // test named another one.
    static QString programFolder();
    static void setProgramFolder(const QString &folder);

    // Shared members.
    SiteDb &conn() { return app().conn; }
    QString currentPath() const { return app().currentPath; }
    QString currImgPath() const { return app().currImgPath; }
    QString currDataPath() const { return app().currDataPath; }
    QString encode(const QString &text) const { return app().encode(text); }
    QString decode(const QString &text) const { return app().decode(text); }

    // The load sequence; programFolder ends in "/". Returns false when the data folder
    // could not be repaired (after its box) and the program must end.
    bool MDIForm_Load(const QString &programFolder);
    void xMenu1_Click(const QString &key);
    void xToolbar1_ButtonClick(int index);
    // Shutdown (menu, toolbar, close box); runs once.
    void MDIForm_Unload();

    void backupData();
    void restoreData();

    // The data-entry view shows its own copy of the column tree: once both views are
    // loaded, it follows the design view's changes, and a page open in it follows its
    // new name. Done whenever the shell makes either view.
    static void linkViews();

    QMenuBar *xMenu1 = nullptr;
    QToolBar *xToolbar1 = nullptr;
    QMdiArea *mdiArea = nullptr;

    // When the load sequence finished (ms since the epoch; 0 while it has not).
    qint64 loadFinishedAtMs() const { return m_loadFinishedAtMs; }

    // The helper program started at load (0 when none was started).
    qint64 helperPid() const { return m_helperPid; }

signals:
    // The load sequence has finished.
    void loaded();

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void buildMenu();
    void buildToolbar();
    void onSubWindowActivated(QMdiSubWindow *sub);
    // A view, made (and linked to the others) when it is not loaded.
    template <class T> T *view();
    template <class T> void showView();
    // Loads and shows a view during the load sequence; a failure is told once.
    template <class T> void startView();
    void showCaption();
    void startHelperProgram();
    void endHelperProgram();

    bool m_unloaded = false;
    qint64 m_helperPid = 0;
    qint64 m_loadFinishedAtMs = 0;
    QWidget *m_activeView = nullptr;
};
