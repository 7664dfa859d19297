#pragma once
// The data-entry view: a copy of the column tree on the left; on the right the editor
// of the chosen page's display format: the editor panel (title, content and picture
// rows) for the formats saved here, the record list with its buttons for news and
// gallery pages, and the HTML editor for pages of the advanced format.

#include "content/contentstore.h"
#include "core/datafiles.h"
#include "design/catalog.h"
#include "design/catalogtree.h"
#include "ui/browserpane.h"
#include "ui/formregistry.h"

#include <QFrame>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTreeWidget>
#include <QWidget>

class advEdit;

class insDataFrm : public QWidget, public IForm {
    Q_OBJECT
public:
    static constexpr FormKind kKind = FormKind::MdiView;
    explicit insDataFrm(QWidget *parent = nullptr);
    ~insDataFrm() override;

    // Item data roles of the tree: the node key and the Tag (catalog; invalid = Null).
    static constexpr int KeyRole = design::KeyRole;
    static constexpr int TagRole = design::TagRole;

    void Form_Load() override;

    // The design view changed the column tree: reload this view's copy of it. The open
    // page stays open only while it still exists under its name with its format;
    // otherwise the view leaves it, so that nothing is saved into a page that is gone.
    void catalogChanged();
    // The design view renamed a column; the open page follows its new name, with what
    // is being entered into it. Comes before catalogChanged.
    void columnRenamed(design::Level level, const QString &from, const QString &to);

    // The page whose content is being entered (nullptr before one is chosen); its
    // item carries the node key in Qt::UserRole.
    QTreeWidgetItem *currNode = nullptr;
    // The node last selected in the tree.
    QTreeWidgetItem *insNode = nullptr;
    // The level of currNode's key (Other when there is none) and its text.
    design::Level currLevel() const
    {
        return currNode ? design::levelOfKey(currNode->data(0, KeyRole).toString()) : design::Level::Other;
    }
    QString currText() const { return currNode ? currNode->text(0) : QString(); }
    // The view's own new-record flag.
    bool newRecord() const { return m_newRecord.isSet(); }

    // Handlers, by the names of their controls and events.
    void tvw_nav_MouseUp(Qt::MouseButton button = Qt::LeftButton);
    // The open page read again once its records changed (the news and gallery dialogs,
    // a deletion): it, not a node the keys have highlighted meanwhile.
    void reloadPage();
    void mnu_Refresh_Click();
    void cmd_img_Click(int index);
    void cmd_addData_Click(int index);
    void cmd_OK_Click();
    void vscrl_Change(int value);

    // Loads the tree (module mdl_ins), and the display format of insNode.
    void loadNavTree();
    QString getCatalogFormat() const;

    QGroupBox *Frame_nav = nullptr;
    QTreeWidget *tvw_nav = nullptr;
    QGroupBox *Frame_optn = nullptr;
    IBrowserPane *webBer = nullptr;
    advEdit *advEditer = nullptr;
    QWidget *pic_edit = nullptr;
    QWidget *pic_rows = nullptr; // the panel's rows, left of its scroll bar
    QScrollBar *vscrl = nullptr;
    QScrollBar *hscrl = nullptr; // under the rows, when a picture is wider than their space
    QLabel *lbl_head = nullptr;
    QFrame *Line1 = nullptr;
    QLabel *lbl_title = nullptr;
    QLineEdit *txt_title = nullptr;
    QLabel *lbl_content = nullptr;
    QPlainTextEdit *txt_content = nullptr;
    QLabel *lbl_img[2] = {};
    QLabel *img[2] = {};
    QLineEdit *txt_img[2] = {};
    QPushButton *cmd_img[2] = {};
    QGroupBox *frame_cmdDesign = nullptr;
    QPushButton *cmd_addData[3] = {};
    QPushButton *cmd_OK = nullptr;
    QPushButton *cmd_help = nullptr;
    IBrowserPane *webMultiData = nullptr;
    QStatusBar *StsBar = nullptr;
    QLabel *StsBar_panel1 = nullptr;
    QLabel *StsBar_panel2 = nullptr;
    QMenu *mnuIns = nullptr;
    QAction *mnu_Refresh = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void showFormatEditor(const QString &format);
    void showStatus(const QString &column, const QString &formatName);
    void layoutImageFields(const QString &format);
    void loadCatalogData(const QString &format, QTreeWidgetItem *page);
    void deleteData(qint64 id);
    QString buildDataListHtml(const Rows &records, const QString &format) const;

    // Hides every editor and disables the commands that act on the open page.
    void hideEditors();
    // Empties the rows and forgets the pictures chosen for the page; copies that were
    // never saved go when nothing names them.
    void clearRows();
    // Closes the open page and shows the welcome page.
    void leavePage();
    // The tree's highlight goes back to the node that is open.
    void showOpenNode();
    // The node open for entry shows bold, so that a highlight elsewhere is never taken
    // for it; nothing is bold while no page is open.
    void markOpenNode();
    // Scrolls the panel so that one of its rows is in sight.
    void scrollIntoView(QWidget *row);
    // Places the editor panel's rows for the format, scrolled by v twips.
    void placeRows(int v);
    // Where picture row `index` stands, unscrolled (twips).
    QPoint rowPlace(int index) const;
    // The scroll bar's range for the format, the panel's size and the pictures shown.
    void updateScrollRange();
    void showPicture(int index, const QImage &picture);
    void layoutPanes();

    QString m_format;
    content::NewRecordFlag m_newRecord;
    // The pictures chosen for each row since the page was opened.
    QString m_names[2];
    datafiles::PendingFiles m_files;
};
