#pragma once
// Pieces the windows are built from: named labels, text boxes and buttons, the OK / Cancel row, the unload of a
// dialog when it closes, and the views' status bars.

#include <QRect>
#include <QString>
#include <initializer_list>

class QDialog;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QStatusBar;
class QPushButton;
class QWidget;

namespace dialogparts {

// A label with the control's name.
QLabel *label(QWidget *parent, const char *name, const QString &caption);
// A text box with the control's name.
QLineEdit *lineEdit(QWidget *parent, const char *name, const QString &text = QString());
// A multi-line text box with the control's name. Tab moves on to the next control, as it
// does from a one-line box: no text typed into the program's boxes needs a tab character.
QPlainTextEdit *textBox(QWidget *parent, const char *name);
// A button with the control's name; Enter does not press it unless it is the default.
QPushButton *button(QWidget *parent, const char *name, const QString &caption);
// The same, placed at a fixed position in its parent.
QPushButton *button(QWidget *parent, const char *name, const QString &caption, const QRect &place);
// What Enter does in a dialog (a box that takes Enter itself excepted).
enum class EnterKey {
    PressesOk, // OK is the default button
    Nothing,   // the dialog has no default button
};
// The row of OK and Cancel at the right.
QHBoxLayout *buttonRow(QPushButton *ok, QPushButton *cancel, EnterKey enter);
// The dialog is unloaded when it closes, so that its controls start fresh next time.
void unloadOnFinish(QDialog *dlg);
// A view's status bar "StsBar" with text panels of equal stretch, named StsBar_panel1,
// StsBar_panel2, …; its height does not change when a panel's text does.
QStatusBar *statusBar(QWidget *parent, std::initializer_list<QLabel **> panels);

} // namespace dialogparts
