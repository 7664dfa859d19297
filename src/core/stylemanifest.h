#pragma once
// The page-style pictures that ship in the program folder, listed once: the build draws
// every file named here, and the pristine database lists the fonts and templates for
// the template view's pickers in this order.

#include <QList>
#include <QString>
#include <QStringList>

namespace stylemanifest {

// Folders of the program folder, ending in "/".
inline const QString kFontFolder = QStringLiteral("fonts/");
inline const QString kTemplateFolder = QStringLiteral("template/");
inline const QString kBackgroundFolder = QStringLiteral("backGround/");

// A template: its category and its picture in template/, whose first five characters
// also name the full-size picture.
struct Template {
    QString category;
    QString file;
};

// Pictures of the organisation-name styles in fonts/ (table font).
const QStringList &fonts();
// Home-page templates (table defaultTmpl) and inner-page templates (table headTmpl).
const QList<Template> &homeTemplates();
const QList<Template> &innerTemplates();
// Background pictures in backGround/ (chosen through a file dialog, not listed in the
// database).
const QStringList &backgrounds();

// Every picture above, relative to the program folder ("fonts/font01.png", …).
QStringList allFiles();

} // namespace stylemanifest
