#pragma once
// The data-entry view's dialogs for the list formats: adding and modifying a news
// item, and adding and modifying a gallery picture with its thumbnail. Each stores
// its record in the content table of the view's current page, reloads the view and
// closes; pictures copied in are kept only once a record names them.

#include "content/entryactions.h"
#include "core/datafiles.h"
#include "ui/formregistry.h"

#include <QDialog>
#include <QFrame>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSqlRecord>

class myDate;
class insDataFrm;

// What the four dialogs share: the files copied in while open and the end of a store.
class EntryDialog : public QDialog, public IForm {
    Q_OBJECT
public:
    void CancelButton_Click() { reject(); }

protected:
    explicit EntryDialog(QWidget *parent);
    static insDataFrm *view();
    // After a store: the message, then on success the files are settled, the view
    // reloads and the dialog closes.
    void finish(const content::StoreResult &result);
    // For a modify dialog: the record chosen in the view's list, its ID kept in m_id.
    // Nothing chosen or no column level: the message, and the dialog unloads itself in
    // its load step, so it does not open. A read that fails shows its description; a
    // record not found gives nullopt too.
    std::optional<QSqlRecord> loadChosenRecord();

    qint64 m_id = -1; // the record a modify dialog changes
    datafiles::PendingFiles m_files;
};

// The news dialogs' controls and picture choice.
class NewsDialog : public EntryDialog {
    Q_OBJECT
public:
    void cmd_img_Click();
    virtual void OKButton_Click() = 0;

    QGroupBox *Frame1 = nullptr;
    QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label4 = nullptr;
    QLineEdit *txt_title = nullptr;
    myDate *myDate1 = nullptr;
    QPlainTextEdit *txt_content = nullptr;
    QLabel *img = nullptr;
    QLabel *lbl_imgName = nullptr;
    QPushButton *cmd_img = nullptr;
    QPushButton *OKButton = nullptr;
    QPushButton *CancelButton = nullptr;

protected:
    NewsDialog(QWidget *parent, const QString &caption, const QString &okCaption, int shift);
    // The fields as a record (the body in the stored text form).
    content::NewsItem item() const;

    QString m_newName; // the picture last chosen
    QString m_curName; // the picture the dialog holds
};

class insDatafrm_news : public NewsDialog {
    Q_OBJECT
public:
    static constexpr FormKind kKind = FormKind::Dialog;
    explicit insDatafrm_news(QWidget *parent = nullptr);
    void OKButton_Click() override;
};

class insDataFrm_newsMod : public NewsDialog {
    Q_OBJECT
public:
    static constexpr FormKind kKind = FormKind::Dialog;
    explicit insDataFrm_newsMod(QWidget *parent = nullptr);
    void Form_Load() override;
    void OKButton_Click() override;
    qint64 recordId() const { return m_id; }
};

// The gallery dialogs' controls, picture choice, thumbnail and preview.
class GalleryDialog : public EntryDialog {
    Q_OBJECT
public:
    void cmd_img_Click();
    void scrl_Change(int index);
    virtual void OKButton_Click() = 0;

    // The thumbnail's name the dialog would store (the picture's shows in lbl_imgName).
    QString thumbName() const { return m_thumbName; }
    // The thumbnail box's size in twips.
    QSize thumbnailBox() const { return m_thumbBox; }

    QGroupBox *Frame1 = nullptr;
    QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr;
    QLineEdit *txt_title = nullptr;
    QLabel *pic_imgsSmall = nullptr;
    QFrame *pic_imgs = nullptr;
    QLabel *img = nullptr;
    QScrollBar *scrl[2] = {};
    QLabel *lbl_angr = nullptr;
    QLabel *lbl_imgName = nullptr;
    QPushButton *cmd_img = nullptr;
    QPushButton *OKButton = nullptr;
    QPushButton *CancelButton = nullptr;

protected:
    GalleryDialog(QWidget *parent, const QString &caption, const QString &labelCaption, const QString &okCaption,
                  bool modify);
    content::GalleryItem item() const;
    // Shows a picture at its natural size in the preview box, with the bars it needs.
    void showPreview(const QImage &picture);
    // Shows a thumbnail in its box, the box taking the given size (twips).
    void showThumbnail(const QImage &thumbnail, QSize box);

    QString m_picName;
    QString m_thumbName;
    QSize m_thumbBox;
};

class insDataFrm_imgs : public GalleryDialog {
    Q_OBJECT
public:
    static constexpr FormKind kKind = FormKind::Dialog;
    explicit insDataFrm_imgs(QWidget *parent = nullptr);
    void OKButton_Click() override;
};

class insDataFrm_imgsMod : public GalleryDialog {
    Q_OBJECT
public:
    static constexpr FormKind kKind = FormKind::Dialog;
    explicit insDataFrm_imgsMod(QWidget *parent = nullptr);
    void Form_Load() override;
    void OKButton_Click() override;
    qint64 recordId() const { return m_id; }
};
