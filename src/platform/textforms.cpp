#include "platform/textforms.h"

#include <QRegularExpression>
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

QString folderFileUrl(const QString &dataFolder)
{
    // A Linux folder starts with "/", so "file://" + folder is the file URL. A folder
    // holding '#', '?' or '%' only works in the encoded form, which encode also catches.
    return QStringLiteral("file://") + dataFolder;
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
        const QString encodedUrl = QUrl::fromLocalFile(dataFolder).toString(QUrl::FullyEncoded);
        const QString plainUrl = folderFileUrl(dataFolder);
        if (encodedUrl != plainUrl)
            s.replace(encodedUrl, QStringLiteral("[imgpath]/"));
        s.replace(plainUrl, QStringLiteral("[imgpath]/"));
        s.replace(dataFolder, QStringLiteral("[imgpath]/"));
    }
    s.replace(QStringLiteral("'"), QStringLiteral("[&#39;]"));
    return s;
}

QString decodeEditorHtml(const QString &stored, const QString &dataFolder)
{
    QString s = stored;
    s.replace(QStringLiteral("[&#39;]"), QStringLiteral("'"));
    s.replace(QStringLiteral("[imgpath]/"), folderFileUrl(dataFolder));
    return s;
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
