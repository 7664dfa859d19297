#pragma once
// Pieces every dialog is built from: named buttons, the OK / Cancel row, and the unload
// when it closes.

#include <QRect>
#include <QString>

class QDialog;
class QHBoxLayout;
class QPushButton;
class QWidget;

namespace dialogparts {

// A button with the control's name; Enter does not press it unless it is the default.
QPushButton *button(QWidget *parent, const char *name, const QString &caption);
// The same, placed at a fixed position in its parent.
QPushButton *button(QWidget *parent, const char *name, const QString &caption, const QRect &place);
// The row of OK and Cancel at the right; OK is the default button.
QHBoxLayout *buttonRow(QPushButton *ok, QPushButton *cancel);
// The dialog is unloaded when it closes, so that its controls start fresh next time.
void unloadOnFinish(QDialog *dlg);

} // namespace dialogparts
