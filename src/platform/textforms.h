#pragma once
// The two forms in which the site database keeps entered text and editor HTML, and
// the small text checks that several windows share.

#include <QString>

namespace textforms {

// Stored text form: CR LF -> "<br>", "'" -> "&#39;", " " -> "&nbsp;", '"' -> "&#34;".
QString encode(const QString &text);
// The inverse of each step of encode, in the order "<br>", "&#34;", "&nbsp;", "&#39;".
QString decode(const QString &text);

// Stored HTML form of the editor's whole document: the inside of the body, apostrophes as
// "[&#39;]", every reference to the data folder as "[imgpath]/".
QString encodeEditorHtml(const QString &document, const QString &dataFolder);
// Back to editable HTML: "[imgpath]/" becomes the data folder's file URL.
QString decodeEditorHtml(const QString &stored, const QString &dataFolder);

// "file://" + the folder: the form in which the editor refers to the data folder.
QString folderFileUrl(const QString &dataFolder);

// True when every character has a code from 32 to 127; "" is true.
bool isEng(const QString &text);

// A numeric text: optional blanks and sign, digits with an optional fraction (or "."
// and digits), an optional exponent.
bool isNumeric(const QString &text);

// Widget boundary: Qt text boxes use LF, stored texts CR LF.
QString toStoredLines(const QString &boxText);
QString toBoxLines(const QString &storedText);

} // namespace textforms
