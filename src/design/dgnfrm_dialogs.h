#pragma once
// The design view's dialogs: add a category, add a page with its display format, and
// change a page's display format.

#include "design/catalog.h"
#include "design/formatgrid.h"
#include "ui/formregistry.h"

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

class designFrm;

class dgnFrm_addCat : public QDialog, public IForm {
    Q_OBJECT
public:
    static constexpr FormKind kKind = FormKind::Dialog;
    explicit dgnFrm_addCat(QWidget *parent = nullptr);

    void cmd_cfm_Click();
    void cmd_cnl_Click();

    QGroupBox *add_catOrFile = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *txt_name = nullptr;
    QPushButton *cmd_cfm = nullptr;
    QPushButton *cmd_cnl = nullptr;
};

class dgnFrm_addFile : public QDialog, public IForm {
    Q_OBJECT
public:
    static constexpr FormKind kKind = FormKind::Dialog;
    explicit dgnFrm_addFile(QWidget *parent = nullptr);

    void cmd_cfm_Click();
    void cmd_cnl_Click();
    void img_Click(int index) { Picture1->img_Click(index); }
    void opt_Click(int index) { Picture1->opt_Click(index); }
    void vscrl_Change(int v) { Picture1->vscrl_Change(v); }

    QGroupBox *add_catOrFile = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *txt_name = nullptr;
    FormatGrid *Picture1 = nullptr;
    QScrollBar *vscrl = nullptr;
    QPushButton *cmd_cfm = nullptr;
    QPushButton *cmd_cnl = nullptr;
};

class dgnFrm_modFile : public QDialog, public IForm {
    Q_OBJECT
public:
    static constexpr FormKind kKind = FormKind::Dialog;
    explicit dgnFrm_modFile(QWidget *parent = nullptr);

    // Takes the design view's current page as the dialog's target.
    void Form_Load() override;
    void cmd_cfm_Click();
    void cmd_cnl_Click();
    void img_Click(int index) { Picture1->img_Click(index); }
    void opt_Click(int index) { Picture1->opt_Click(index); }
    void vscrl_Change(int v) { Picture1->vscrl_Change(v); }
    void vscrl_GotFocus() { Picture1->setFocus(); }

    // The name of the page whose format the dialog changes, taken when it opened.
    QString targetName() const { return m_name; }

    FormatGrid *Picture1 = nullptr;
    QScrollBar *vscrl = nullptr;
    QPushButton *cmd_cfm = nullptr;
    QPushButton *cmd_cnl = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    design::Level m_level = design::Level::Other;
    QString m_name;
};
