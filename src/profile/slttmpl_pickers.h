#pragma once
// The template view's pickers: the two name-font pickers (a strip of the shipped
// name-style pictures) and the two template pickers (categories and a grid of template
// thumbnails). Each twin works alike for the home page and the inner pages.

#include "profile/tmpl.h"
#include "profile/tmplactions.h"
#include "ui/formregistry.h"

#include <QDialog>
#include <QFrame>
#include <QGroupBox>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>

class FontPicker : public QDialog, public IForm {
    Q_OBJECT
public:
    FontPicker(profile::Side side, QWidget *parent);

    void Form_Load() override;
    void img_Click(int index);
    void img_DblClick(int) { OKButton_Click(); }
    void OKButton_Click();
    void CancelButton_Click() { reject(); }
    void scrlVer_Change(int value);

    // The chosen image's index.
    int chosenIndex() const { return m_index; }
    bool isFramed(int index) const;

    QFrame *Picture1 = nullptr;
    QList<QLabel *> img;
    QScrollBar *scrlVer = nullptr;
    QPushButton *OKButton = nullptr;
    QPushButton *CancelButton = nullptr;

    // The gap between two pictures of the strip, in pixels.
    static constexpr int kGap = 7;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLabel *element(int k);
    void stack(int firstTop);

    profile::Side m_side;
    int m_index = 0;
    QString m_name;
};

class sltTmplFrm_defaultFont : public FontPicker {
    Q_OBJECT
public:
    static constexpr FormKind kKind = FormKind::Dialog;
    explicit sltTmplFrm_defaultFont(QWidget *parent = nullptr)
        : FontPicker(profile::Side::Home, parent)
    {
        setObjectName(QStringLiteral("sltTmplFrm_defaultFont"));
    }
};

class sltTmplFrm_headFont : public FontPicker {
    Q_OBJECT
public:
    static constexpr FormKind kKind = FormKind::Dialog;
    explicit sltTmplFrm_headFont(QWidget *parent = nullptr)
        : FontPicker(profile::Side::Inner, parent)
    {
        setObjectName(QStringLiteral("sltTmplFrm_headFont"));
    }
};

class TemplatePicker : public QDialog, public IForm {
    Q_OBJECT
public:
    TemplatePicker(profile::Side side, QWidget *parent);

    void Form_Load() override;
    void lst_type_Click();
    void tmpl1_click(int index);
    void tmpl1_DoubleClick(int) { OKButton_Click(); }
    void OKButton_Click();
    void CancelButton_Click() { reject(); }
    virtual void cmd_view_Click();
    void scrlVer_Change(int value);

    // The value of the first chosen thumbnail ("" when none is chosen).
    QString chosenValue() const;

    QGroupBox *Frame1 = nullptr;
    QListWidget *lst_type = nullptr;
    QGroupBox *Frame2 = nullptr;
    QFrame *Picture1 = nullptr;
    QList<tmpl *> tmpl1;
    QScrollBar *scrlVer = nullptr;
    QProgressBar *ccrpPrgBar = nullptr;
    QPushButton *cmd_view = nullptr;
    QPushButton *OKButton = nullptr;
    QPushButton *CancelButton = nullptr;

    // Height of the thumbnail box, in twips.
    static constexpr int kViewHeight = 5445;

protected:
    void showPreview();

private:
    tmpl *element(int k);
    void placeAll();

    profile::Side m_side;
    QList<int> m_tops; // each thumbnail's top in twips, as scrolled
};

class sltTmplFrm_defaultTmpl : public TemplatePicker {
    Q_OBJECT
public:
    static constexpr FormKind kKind = FormKind::Dialog;
    explicit sltTmplFrm_defaultTmpl(QWidget *parent = nullptr)
        : TemplatePicker(profile::Side::Home, parent)
    {
        setObjectName(QStringLiteral("sltTmplFrm_defaultTmpl"));
    }
    void cmd_view_Click() override;

    // True only while this picker's full-size preview is open.
    bool BdefaultTmpl = false;
};

class sltTmplFrm_headTmpl : public TemplatePicker {
    Q_OBJECT
public:
    static constexpr FormKind kKind = FormKind::Dialog;
    explicit sltTmplFrm_headTmpl(QWidget *parent = nullptr)
        : TemplatePicker(profile::Side::Inner, parent)
    {
        setObjectName(QStringLiteral("sltTmplFrm_headTmpl"));
    }
};
