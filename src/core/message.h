#pragma once
// A message box as the plain classes hand it to their window: text, style, title. The
// windows show it through the prompter seam (ui::show).

#include <QString>

namespace ui {

// Style numbers add up: icon + buttons.
enum : int {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbYesNo = 4,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
};

// Answers.
enum : int { vbOK = 1, vbCancel = 2, vbYes = 6, vbNo = 7 };

struct Message {
    QString text;
    int style = 0;
    QString title;
    bool operator==(const Message &o) const = default;
};

} // namespace ui
