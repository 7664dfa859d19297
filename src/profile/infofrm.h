#pragma once
// The basic-information view: the organisation's data and its logo. Edits are kept in
// the view until saved; the view warns when another view takes the focus first.

#include "core/datafiles.h"
#include "ui/formregistry.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QWidget>

class infoFrm : public QWidget, public IForm {
    Q_OBJECT
public:
    static constexpr FormKind kKind = FormKind::MdiView;
    explicit infoFrm(QWidget *parent = nullptr);
    // A logo copied in but never saved goes when nothing names it.
    ~infoFrm() override;

    void Form_Load() override;
    void Form_Deactivate() override;
    // The close box with unsaved edits warns as leaving the view does, and the view stays.
    bool Form_QueryUnload() override;

    // Handlers, by the names of their controls and events.
    void cmd_ok_Click();
    void cmd_view_Click();
    void cmd_img_cancel_Click();

    // The logo name the next save stores, and the logo file lying in the data folder.
    QString logoName() const { return m_logoName; }
    QString logoFile() const { return m_logoFile; }

    QWidget *frm_info = nullptr;
    QGroupBox *Frame1 = nullptr;
    QLabel *img = nullptr;
    QPushButton *cmd_view = nullptr;
    QPushButton *cmd_img_cancel = nullptr;
    QGroupBox *Frame2 = nullptr;
    QLineEdit *txt_webName = nullptr;
    QLineEdit *txt_govName = nullptr;
    QLineEdit *txt_addr = nullptr;
    QLineEdit *txt_linkMan = nullptr;
    QLineEdit *txt_tel = nullptr;
    QLineEdit *txt_mobile = nullptr;
    QLineEdit *txt_fax = nullptr;
    QLineEdit *txt_zip = nullptr;
    QLineEdit *txt_email = nullptr;
    QPushButton *cmd_ok = nullptr;
    QStatusBar *StatusBar1 = nullptr;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QString m_logoName;
    QString m_logoFile;
    // Logo files chosen since the last save, and the saved one they replace.
    datafiles::PendingFiles m_logoFiles;
    bool m_warning = false;
};
