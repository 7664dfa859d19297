#pragma once
// The template view's two feature editors: the pop-up window that the published home
// page opens, and the script effect of the published pages.

#include "ui/formregistry.h"

#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

class sltTmplFrm_adBoardFrm : public QDialog, public IForm {
    Q_OBJECT
public:
    static constexpr FormKind kKind = FormKind::Dialog;
    explicit sltTmplFrm_adBoardFrm(QWidget *parent = nullptr);

    void Form_Load() override;
    void cmd_ok_Click();
    void cmd_cancel_Click() { reject(); }

    QGroupBox *Frame2 = nullptr;
    QLineEdit *txt_width = nullptr;
    QLineEdit *txt_height = nullptr;
    QLineEdit *txt_top = nullptr;
    QLineEdit *txt_left = nullptr;
    QGroupBox *Frame1 = nullptr;
    QLineEdit *txt_title = nullptr;
    QPlainTextEdit *txt_content = nullptr;
    QPushButton *cmd_ok = nullptr;
    QPushButton *cmd_cancel = nullptr;
};

class sltTmplFrm_javaScrpt : public QDialog, public IForm {
    Q_OBJECT
public:
    static constexpr FormKind kKind = FormKind::Dialog;
    explicit sltTmplFrm_javaScrpt(QWidget *parent = nullptr);

    void Form_Load() override;
    void cmb_javaScript_Click();
    void OKButton_Click();
    void CancelButton_Click() { reject(); }

    QGroupBox *Frame1 = nullptr;
    QComboBox *cmb_javaScript = nullptr;
    QLineEdit *txt_javascript = nullptr;
    QPushButton *OKButton = nullptr;
    QPushButton *CancelButton = nullptr;
};
