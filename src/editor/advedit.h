#pragma once
// The HTML editor control hosted by the data-entry view for pages of the advanced
// format: design, code and preview tabs, a toolbar, insert dialogs, and a save button
// that stores the page of the data-entry view's current column.

#include "core/datafiles.h"
#include "design/catalog.h"

#include <QAction>
#include <QList>
#include <QPlainTextEdit>
#include <QString>
#include <QTabWidget>
#include <QToolBar>
#include <QWidget>

class HtmlDocView;

class advEdit : public QWidget {
    Q_OBJECT
public:
    explicit advEdit(QWidget *parent = nullptr);
    ~advEdit() override;

    // The page in the stored HTML form, read from the view on the current tab. Reading
    // the design view or the preview waits for the page; throws err::Error when it
    // does not answer.
    QString innerHTML() const;
    // Loads a page given in the stored HTML form into the design view, and brings the
    // design tab forward.
    void putInnerHTML(const QString &stored);
    // Opens a column's page: its stored HTML ("" when it has no record yet). The save
    // stores into this page, inserting its record only when it had none.
    void loadPage(design::Level level, const QString &page, const QString &stored, bool hasRecord);
    // The page opened was renamed: the save goes to it under its new name.
    void pageRenamed(design::Level level, const QString &from, const QString &to);
    // Appends an HTML fragment to the end of the page's body (the insert dialogs).
    // Throws err::Error when the page cannot be read.
    void setInnerHTML(const QString &fragment);

    // A page-kind marker the host may set ("news": the save stores nothing).
    QString aspFileName = QStringLiteral("none");

    // The save button: stores the page last opened with loadPage.
    void saveContent();

    // The files the insert dialogs copied in for the page opened: they are the page's
    // once it is saved, and go again when it is left unsaved (another page opened, or
    // abandonChoices when the host leaves it).
    datafiles::PendingFiles &choices() { return m_choices; }
    void abandonChoices();

    // Handlers, by the names of their controls and events.
    void tlBar_ButtonClick(const QString &key);
    // The tab showing before is previousTab; the new one is sstb's current tab.
    void sstb_Click(int previousTab);
    void UserControl_Resize();
    void setToolbarEnabled(bool enabled);

    QToolBar *tlBar = nullptr;
    QList<QAction *> tlBarButtons; // in their order on the bar; objectName = key
    QTabWidget *sstb = nullptr;
    HtmlDocView *DHTMLEditer = nullptr;
    QPlainTextEdit *txt_code = nullptr;
    HtmlDocView *DHTMLSafer = nullptr;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void applyFont();
    void createLink();
    template <class Dialog> void openInsertDialog();

    // The page opened, and whether its record is still to be inserted.
    design::Level m_level = design::Level::Other;
    QString m_page;
    bool m_newRecord = false;
    datafiles::PendingFiles m_choices;
    int m_tab = 0;           // the tab showing
    bool m_quietTab = false; // a tab change by the program that copies nothing
};
