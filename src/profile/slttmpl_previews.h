#pragma once
// The page-style previews: the user's own home page, the user's own inner-page head,
// and the full-size picture of the template chosen in a template picker.

#include "ui/browserpane.h"
#include "ui/formregistry.h"

#include <QDialog>
#include <QPushButton>
#include <QTimer>

class tmpl;

class sltTmplFrm_view : public QDialog, public IForm {
    Q_OBJECT
public:
    static constexpr FormKind kKind = FormKind::Dialog;
    explicit sltTmplFrm_view(QWidget *parent = nullptr);
    void Form_Load() override;
    void CancelButton_Click() { reject(); }

    IBrowserPane *wb_view = nullptr;
    QPushButton *CancelButton = nullptr;
};

class sltTmplFrm_viewHead : public QDialog, public IForm {
    Q_OBJECT
public:
    static constexpr FormKind kKind = FormKind::Dialog;
    explicit sltTmplFrm_viewHead(QWidget *parent = nullptr);
    void Form_Load() override;
    void CancelButton_Click() { reject(); }

    IBrowserPane *wb_view = nullptr;
    QPushButton *CancelButton = nullptr;
};

class sltTmplFrm_viewTmpl : public QDialog, public IForm {
    Q_OBJECT
public:
    static constexpr FormKind kKind = FormKind::Dialog;
    explicit sltTmplFrm_viewTmpl(QWidget *parent = nullptr);
    void Form_Load() override;
    void CancelButton_Click() { reject(); }
    // Each tick of Timer1; the picture is written on the second.
    void Timer1_Timer();
    // Writes the full-size picture of the first chosen thumbnail.
    void showTmpl(const QList<tmpl *> &thumbnails);

    IBrowserPane *wb_view11 = nullptr;
    QTimer *Timer1 = nullptr;
    QPushButton *CancelButton = nullptr;
    int ticks() const { return m_ticks; }

private:
    qint16 m_ticks = 0;
};
