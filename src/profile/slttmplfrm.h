#pragma once
// The template view: the home-page and inner-page templates, the name-font styles and
// the background picture, the user's own home page, head and extra pages, and the
// extra features. Every choice is stored at once.

#include "profile/tmplactions.h"
#include "ui/formregistry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QWidget>
#include <functional>

class sltTmplFrm : public QWidget, public IForm {
    Q_OBJECT
public:
    static constexpr FormKind kKind = FormKind::MdiView;
    explicit sltTmplFrm(QWidget *parent = nullptr);

    void Form_Load() override;

    // What the pickers show here once they have stored a choice.
    void showFont(profile::Side side, const QString &name);
    void showTemplate(profile::Side side, const QString &value);

    // Handlers, by the names of their controls and events.
    void cmd_default_Click();
    void cmd_head_Click();
    void cmd_DefaultFont_Click();
    void cmd_headFont_Click();
    void cmd_viewDefault_Click();
    void cmd_viewHead_Click();
    void chk_default_Click();
    void chk_head_Click();
    void chk_other_Click();
    void chk_pertain_MouseUp(int index);
    void Frame7_MouseMove();
    void cmd_bgOK_Click();
    void cmd_bgCancel_Click();
    void cmd_sltDefault_Click();
    void cmd_sltHead_Click();
    void cmd_other_Click();

    QWidget *Frame100 = nullptr;
    QGroupBox *Frame1 = nullptr;
    QPushButton *cmd_default = nullptr;
    QLabel *imgDefaultTmpl = nullptr;
    QLabel *lbl_defaultTmpl = nullptr;
    QGroupBox *Frame2 = nullptr;
    QPushButton *cmd_head = nullptr;
    QLabel *imgHeadTmpl = nullptr;
    QLabel *lbl_headTmpl = nullptr;
    QGroupBox *Frame3 = nullptr;
    QPushButton *cmd_DefaultFont = nullptr;
    QLabel *imgDefault = nullptr;
    QGroupBox *Frame4 = nullptr;
    QPushButton *cmd_headFont = nullptr;
    QLabel *imgHead = nullptr;
    QGroupBox *Frame5 = nullptr;
    QPushButton *cmd_bgOK = nullptr;
    QPushButton *cmd_bgCancel = nullptr;
    QLabel *img_bg = nullptr;
    QLabel *lbl_bg = nullptr;
    QGroupBox *Frame6 = nullptr;
    QCheckBox *chk_default = nullptr;
    QLabel *lbl_default = nullptr;
    QLineEdit *txt_default = nullptr;
    QPushButton *cmd_sltDefault = nullptr;
    QPushButton *cmd_viewDefault = nullptr;
    QCheckBox *chk_head = nullptr;
    QLabel *lbl_head = nullptr;
    QLineEdit *txt_head = nullptr;
    QPushButton *cmd_sltHead = nullptr;
    QPushButton *cmd_viewHead = nullptr;
    QCheckBox *chk_other = nullptr;
    QLabel *lbl_other = nullptr;
    QComboBox *cmb_other = nullptr;
    QPushButton *cmd_other = nullptr;
    QGroupBox *Frame7 = nullptr;
    QList<QCheckBox *> chk_pertain;
    QStatusBar *StatusBar1 = nullptr;
    QLabel *StatusBar1_panel1 = nullptr;

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void homePageOn(bool on);
    void headOn(bool on);
    void otherPagesOn(bool on);
    void setTicked(QCheckBox *box, bool ticked);
    // A row's box was clicked. Ticked, the row turns on (rowOn). Unticked, the user is
    // asked: when the answer is OK and turnOff changed the stored setting, clear empties
    // the row and it turns off; otherwise the box is ticked again.
    void rowClicked(QCheckBox *box, void (sltTmplFrm::*rowOn)(bool), const ui::Message &question,
                    const std::function<profile::Outcome()> &turnOff, const std::function<void()> &clear);
};
