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
// "[&#39;]", every reference to the data folder as "[imgpath]/" and the file's own name.
// A reference is found in each form the engine writes: as a file URL (percent-encoded
// or plain) or a path, each also HTML-escaped.
QString encodeEditorHtml(const QString &document, const QString &dataFolder);
// How a page in the stored HTML form names a file of the data folder: "[imgpath]/" and
// the name, HTML-escaped, its apostrophes as "[&#39;]".
QString editorReference(const QString &name);
// Back to editable HTML: "[imgpath]/" and the name become the file's URL.
QString decodeEditorHtml(const QString &stored, const QString &dataFolder);

// The file URL of a local path, with every character that would end or change the
// address in a page percent-encoded ("#", "%", "?", blanks, "&", "'", non-ASCII). Every
// file URL the program writes into a page is made here.
QString fileUrl(const QString &path);

// The text as the site database keeps it: NUL and the other C0 control characters
// except tab, CR and LF removed (every reader of the file would stop at a NUL). A text
// without them comes back unchanged, a null text still null.
QString storedText(const QString &text);

// Strips leading and trailing U+0020 only (ideographic spaces and tabs stay).
QString trimBlanks(const QString &text);

// True when every character has a code from 32 to 127; "" is true.
bool isEng(const QString &text);

// A numeric text: optional blanks and sign, digits with an optional fraction (or "."
// and digits), an optional exponent.
bool isNumeric(const QString &text);

// Widget boundary: Qt text boxes use LF, stored texts CR LF.
QString toStoredLines(const QString &boxText);
QString toBoxLines(const QString &storedText);

} // namespace textforms
