#include "core/textforms.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <QUrl>

namespace textforms {

QString encode(const QString &text)
{
    QString s = text;
    s.replace(QStringLiteral("\r\n"), QStringLiteral("<br>"));
    s.replace(QStringLiteral("'"), QStringLiteral("&#39;"));
    s.replace(QStringLiteral(" "), QStringLiteral("&nbsp;"));
    s.replace(QStringLiteral("\""), QStringLiteral("&#34;"));
    return s;
}

QString decode(const QString &text)
{
    QString s = text;
    s.replace(QStringLiteral("<br>"), QStringLiteral("\r\n"));
    s.replace(QStringLiteral("&#34;"), QStringLiteral("\""));
    s.replace(QStringLiteral("&nbsp;"), QStringLiteral(" "));
    s.replace(QStringLiteral("&#39;"), QStringLiteral("'"));
    return s;
}

QString fileUrl(const QString &path)
{
    // QUrl leaves "&" and "'" as they are: in a page they would begin an entity or end a
    // quoted value.
    QString url = QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
    url.replace(QLatin1Char('&'), QStringLiteral("%26"));
    url.replace(QLatin1Char('\''), QStringLiteral("%27"));
    return url;
}

namespace {

const QString kImgPath = QStringLiteral("[imgpath]/");

QString unescapeHtml(QString s)
{
    s.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    s.replace(QStringLiteral("&#34;"), QStringLiteral("\""));
    s.replace(QStringLiteral("&#39;"), QStringLiteral("'"));
    s.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    s.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    s.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return s;
}

// Where the file name that follows "[imgpath]/" (at `at`) ends: at the closing quote when
// the reference begins a quoted attribute value, else at the first character that ends
// an address in text.
qsizetype nameEnd(const QString &s, qsizetype at)
{
    const qsizetype from = at + kImgPath.size();
    if (at >= 2 && s[at - 2] == QLatin1Char('=') && (s[at - 1] == QLatin1Char('"') || s[at - 1] == QLatin1Char('\''))) {
        const qsizetype q = s.indexOf(s[at - 1], from);
        return q < 0 ? s.size() : q;
    }
    static const QString stops = QStringLiteral("\"'<>()&");
    qsizetype i = from;
    while (i < s.size() && !s[i].isSpace() && !stops.contains(s[i]))
        ++i;
    return i;
}

// Each "[imgpath]/" reference with its file name replaced by what `rewrite` makes of the
// name (as it stands in the page, HTML-escaped).
template <class Rewrite> QString rewriteReferences(const QString &s, Rewrite rewrite)
{
    QString out;
    qsizetype pos = 0;
    for (qsizetype at = s.indexOf(kImgPath); at >= 0; at = s.indexOf(kImgPath, pos)) {
        const qsizetype end = nameEnd(s, at);
        const qsizetype from = at + kImgPath.size();
        out += s.mid(pos, at - pos) + rewrite(s.mid(from, end - from));
        pos = end;
    }
    return out + s.mid(pos);
}

// Every form in which the engine may write the data folder, longest first.
QStringList folderForms(const QString &folder)
{
    const QUrl url = QUrl::fromLocalFile(folder);
    const QStringList plain{fileUrl(folder), url.toString(QUrl::FullyEncoded), url.toString(),
                            QStringLiteral("file://") + folder, folder};
    QStringList forms;
    for (const QString &p : plain) {
        // Escaped as the engine writes a page out, which is not toHtmlEscaped(): an
        // attribute value escapes only "&" and '"', text only "&", "<" and ">".
        QString attribute = p;
        attribute.replace(QLatin1Char('&'), QStringLiteral("&amp;")).replace(QLatin1Char('"'), QStringLiteral("&quot;"));
        QString text = p;
        text.replace(QLatin1Char('&'), QStringLiteral("&amp;")).replace(QLatin1Char('<'), QStringLiteral("&lt;"));
        text.replace(QLatin1Char('>'), QStringLiteral("&gt;"));
        for (const QString &f : {p, attribute, text})
            if (!forms.contains(f))
                forms << f;
    }
    std::stable_sort(forms.begin(), forms.end(), [](const QString &a, const QString &b) { return a.size() > b.size(); });
    return forms;
}

} // namespace

QString editorReference(const QString &name)
{
    QString reference = kImgPath + name.toHtmlEscaped();
    return reference.replace(QStringLiteral("'"), QStringLiteral("[&#39;]"));
}

QString encodeEditorHtml(const QString &document, const QString &dataFolder)
{
    QString s = document;
    // Search case-insensitively in place: lower-casing first can change the length.
    const int p = s.indexOf(QStringLiteral("<body"), 0, Qt::CaseInsensitive);
    if (p >= 0) {
        const int q = s.indexOf(QLatin1Char('>'), p);
        if (q >= 0)
            s = s.mid(q + 1);
    }
    const int r = s.lastIndexOf(QStringLiteral("</body>"), -1, Qt::CaseInsensitive);
    if (r >= 0)
        s = s.left(r);
    // Folder references go before the apostrophes: a folder such as "/home/o'neil/" would
    // no longer be found once its apostrophe is written as "[&#39;]".
    if (!dataFolder.isEmpty()) {
        for (const QString &form : folderForms(dataFolder))
            s.replace(form, kImgPath);
        // The name as the file has it: "a%23b.png" in an address is "a#b.png".
        s = rewriteReferences(s, [](const QString &name) {
            return editorReference(QUrl::fromPercentEncoding(unescapeHtml(name).toUtf8()));
        });
    }
    s.replace(QStringLiteral("'"), QStringLiteral("[&#39;]"));
    return s;
}

QString decodeEditorHtml(const QString &stored, const QString &dataFolder)
{
    QString s = stored;
    s.replace(QStringLiteral("[&#39;]"), QStringLiteral("'"));
    if (dataFolder.isEmpty())
        return s;
    return rewriteReferences(s, [&dataFolder](const QString &name) { return fileUrl(dataFolder + unescapeHtml(name)); });
}

QString storedText(const QString &text)
{
    const auto dropped = [](QChar c) {
        return c.unicode() < 0x20 && c != QLatin1Char('\t') && c != QLatin1Char('\r') && c != QLatin1Char('\n');
    };
    if (std::none_of(text.cbegin(), text.cend(), dropped))
        return text;
    QString kept;
    kept.reserve(text.size());
    for (QChar c : text)
        if (!dropped(c))
            kept.append(c);
    return kept;
}

QString trimBlanks(const QString &text)
{
    qsizetype b = 0;
    qsizetype e = text.size();
    while (b < e && text.at(b) == QLatin1Char(' '))
        ++b;
    while (e > b && text.at(e - 1) == QLatin1Char(' '))
        --e;
    return text.mid(b, e - b);
}

bool isEng(const QString &text)
{
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if (u < 32 || u > 127)
            return false;
    }
    return true;
}

bool isNumeric(const QString &text)
{
    static const QRegularExpression re(
        QStringLiteral("^\\s*[+-]?\\s*(\\d+(\\.\\d*)?|\\.\\d+)([eE][+-]?\\d+)?\\s*$"));
    return re.match(text).hasMatch();
}

QString toStoredLines(const QString &boxText)
{
    QString s = boxText;
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return s;
}

QString toBoxLines(const QString &storedText)
{
    return QString(storedText).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace textforms
