#pragma once
// The one seam for message boxes, modal dialogs and file, colour and folder choosers.
// Windows never call QMessageBox, QFileDialog, QColorDialog or QDialog::exec directly:
// they go through prompter(), which a test replaces with a scripted fake.

#include "core/message.h"

#include <QColor>
#include <QString>
#include <optional>

class QWidget;
class QDialog;

namespace ui {

struct FileChoice {
    QString filter;      // "desc|*.jpg;*.bmp|desc2|*.htm"
    QString initialFile; // a bare name or a full path
    QString title;
};

class Prompter {
public:
    virtual ~Prompter() = default;
    virtual int msgBox(QWidget *owner, const QString &text, int style, const QString &title) = 0;
    // nullopt = the user cancelled.
    virtual std::optional<QString> openFile(QWidget *owner, const FileChoice &choice) = 0;
    virtual std::optional<QColor> chooseColor(QWidget *owner, const QColor &initial) = 0;
    // "" = the user cancelled.
    virtual QString browseFolder(QWidget *owner, const QString &title, const QString &initial) = 0;
    // Every modal dialog runs through here; returns QDialog::Accepted or Rejected.
    virtual int execModal(QDialog &dialog) = 0;
};

Prompter &prompter();
// Installs p (not owned); nullptr restores the real one.
void setPrompter(Prompter *p);

// Shorthand used everywhere: prompter().msgBox(nullptr, …).
int msgBox(const QString &text, int style = vbOKOnly, const QString &title = QString());

// Shows a message box the plain classes handed over.
int show(const Message &m);

// "desc|*.jpg;*.bmp|desc2|*.gif" -> "desc (*.jpg *.bmp);;desc2 (*.gif)"
QString qtFileFilter(const QString &classicFilter);

// The real implementation (Qt's non-native dialogs).
class RealPrompter : public Prompter {
public:
    int msgBox(QWidget *owner, const QString &text, int style, const QString &title) override;
    std::optional<QString> openFile(QWidget *owner, const FileChoice &choice) override;
    std::optional<QColor> chooseColor(QWidget *owner, const QColor &initial) override;
    QString browseFolder(QWidget *owner, const QString &title, const QString &initial) override;
    int execModal(QDialog &dialog) override;
};

} // namespace ui
