#pragma once
// Small pieces the windows build their dialogs from.

#include <QHBoxLayout>
#include <QPushButton>
#include <QString>

namespace ui {

// A button named as its control; Enter presses it only when it is made the default.
QPushButton *namedButton(QWidget *parent, const char *name, const QString &caption);
// The same, placed at a fixed position in its parent.
QPushButton *namedButton(QWidget *parent, const char *name, const QString &caption, const QRect &place);

// The OK and Cancel buttons at the right of a row; OK is the default.
QHBoxLayout *buttonRow(QPushButton *ok, QPushButton *cancel);

} // namespace ui
