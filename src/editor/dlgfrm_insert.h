#pragma once
// The editor's insert dialogs: a picture, a Flash movie, a table and a horizontal rule.
// Each builds one fragment from its boxes and, on OK, appends it to the page of the
// editor that opened it, then closes. Chosen files are copied into the data folder.
// The editor also asks through two small dialogs of its own: a link's address and the
// font of the selection.

#include "editor/editorlogic.h"
#include "ui/formregistry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFontComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

class advEdit;

// What the editor's dialogs share: a frame of captioned input controls, OK and Cancel.
class EditorDialog : public QDialog, public IForm {
    Q_OBJECT
public:
    EditorDialog(QWidget *parent, const QString &caption);

    virtual void OKButton_Click() { accept(); }
    void CancelButton_Click() { reject(); }

    QGroupBox *Frame1 = nullptr;
    QPushButton *OKButton = nullptr;
    QPushButton *CancelButton = nullptr;

protected:
    // Adds a row to the frame: caption, control, and an optional control after it.
    QLabel *addRow(const QString &caption, QWidget *control, QWidget *after = nullptr);
    // Shown the first time: the keyboard is in the first box, its text selected, and Tab
    // goes through the boxes in reading order, then OK and Cancel.
    void showEvent(QShowEvent *event) override;

private:
    QList<QWidget *> m_inputs; // the rows' controls in reading order
    bool m_shown = false;
};

// An insert dialog: OK appends its fragment to the page of the editor that opened it.
class InsertDialog : public EditorDialog {
    Q_OBJECT
public:
    using EditorDialog::EditorDialog;

    // The editor the fragment goes to.
    QPointer<advEdit> editor;

    // Builds the fragment and appends it; a failure is shown and the dialog stays.
    void OKButton_Click() override;

    // The fragment the boxes give now (throws err::Error for a number out of range).
    virtual QString fragment() const = 0;

protected:
    // Runs before the fragment is built; false stops the OK (the reason is shown).
    virtual bool checkInput() { return true; }
};

// An insert dialog around one file the user chooses: a read-only box shows its path,
// filled only together with the name the file was copied into the data folder under.
class FileInsertDialog : public InsertDialog {
    Q_OBJECT
public:
    // The name of the file last copied into the data folder.
    QString fileName() const { return m_fileName; }

protected:
    // missing: what OK says while no file is chosen.
    FileInsertDialog(QWidget *parent, const QString &caption, const QString &missing);
    // Makes the box showing the chosen file.
    QLineEdit *makePathBox(const char *name);
    // Copies a chosen file into the data folder after the name check and shows its path;
    // false when refused (the reason is shown).
    bool takeChosen(const QString &path);
    bool checkInput() override;

private:
    QString m_missing;
    QLineEdit *m_pathBox = nullptr;
    QString m_fileName;
};

class dlgFrm_img : public FileInsertDialog {
    Q_OBJECT
public:
    static constexpr FormKind kKind = FormKind::Dialog;
    explicit dlgFrm_img(QWidget *parent = nullptr);

    void Form_Load() override;
    void cmd_imgPath_Click();
    QString fragment() const override;

    QLineEdit *txt_imgPath = nullptr;
    QPushButton *cmd_imgPath = nullptr;
    QLineEdit *txt_height = nullptr;
    QLineEdit *txt_width = nullptr;
    QLineEdit *txt_border = nullptr;
    QLineEdit *txt_alt = nullptr;
    QComboBox *cmb_spec = nullptr;
    QComboBox *cmb_align = nullptr;
};

class dlgFrm_flash : public FileInsertDialog {
    Q_OBJECT
public:
    static constexpr FormKind kKind = FormKind::Dialog;
    explicit dlgFrm_flash(QWidget *parent = nullptr);

    void cmd_view_Click();
    QString fragment() const override;

    QLineEdit *txt_path = nullptr;
    QPushButton *cmd_view = nullptr;
    QLineEdit *txt_height = nullptr;
    QLineEdit *txt_width = nullptr;
};

class dlgFrm_tbl : public InsertDialog {
    Q_OBJECT
public:
    static constexpr FormKind kKind = FormKind::Dialog;
    explicit dlgFrm_tbl(QWidget *parent = nullptr);

    void Form_Load() override;
    void cmd_backColor_Click();
    void cmd_foreColor_Click();
    QString fragment() const override;

    QLabel *lbl_row = nullptr;
    QLineEdit *txt_row = nullptr;
    QLineEdit *txt_col = nullptr;
    QLineEdit *txt_width = nullptr;
    QComboBox *cmb_width = nullptr;
    QLineEdit *txt_height = nullptr;
    QComboBox *cmb_height = nullptr;
    QLineEdit *txt_pad = nullptr;
    QLineEdit *txt_space = nullptr;
    QLineEdit *txt_border = nullptr;
    QComboBox *cmb_align = nullptr;
    QLineEdit *txt_backColor = nullptr;
    QPushButton *cmd_backColor = nullptr;
    QLineEdit *txt_foreColor = nullptr;
    QPushButton *cmd_foreColor = nullptr;
    QLineEdit *txt_ID = nullptr;
};

class dlgFrm_hr : public InsertDialog {
    Q_OBJECT
public:
    static constexpr FormKind kKind = FormKind::Dialog;
    explicit dlgFrm_hr(QWidget *parent = nullptr);

    void Form_Load() override;
    void cmd_color_Click();
    QString fragment() const override;

    QLineEdit *txt_color = nullptr;
    QPushButton *cmd_color = nullptr;
    QLineEdit *txt_width = nullptr;
    QLineEdit *txt_height = nullptr;
    QComboBox *cmb_align = nullptr;
    QComboBox *cmb_shadow = nullptr;
};

// The address of a link to make of the selection.
class dlgFrm_link : public EditorDialog {
    Q_OBJECT
public:
    static constexpr FormKind kKind = FormKind::Dialog;
    explicit dlgFrm_link(QWidget *parent = nullptr);

    QLineEdit *txt_url = nullptr;
};

// The font of the selection: face, size, colour, bold and italic.
class dlgFrm_font : public EditorDialog {
    Q_OBJECT
public:
    static constexpr FormKind kKind = FormKind::Dialog;
    explicit dlgFrm_font(QWidget *parent = nullptr);

    // Shows a state; state() gives back what the controls show.
    void setState(const editor::FontState &state);
    editor::FontState state() const;
    void cmd_color_Click();

    QFontComboBox *cmb_font = nullptr;
    QComboBox *cmb_size = nullptr;
    QLabel *lbl_color = nullptr; // shows the colour
    QPushButton *cmd_color = nullptr;
    QCheckBox *chk_bold = nullptr;
    QCheckBox *chk_italic = nullptr;

private:
    void showColor();
    QString m_color;
};
