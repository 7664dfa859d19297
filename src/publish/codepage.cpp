#include "publish/codepage.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>

namespace publish {

namespace {

// Encoded without error and read back the same: no character was replaced or mapped to
// a look-alike.
std::optional<QByteArray> encodeExactly(QStringView text)
{
    QStringEncoder encoder("GBK");
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError() || QString(QStringDecoder("GBK").decode(bytes)) != text)
        return std::nullopt;
    return bytes;
}

} // namespace

std::optional<QByteArray> toGbk(const QString &text, QString *unheld)
{
    // ASCII is the same bytes in GBK (most file names are ASCII alone).
    if (std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; }))
        return text.toLatin1();
    if (auto bytes = encodeExactly(text))
        return bytes;
    if (unheld) {
        unheld->clear();
        for (qsizetype i = 0; i < text.size();) {
            const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size()
                                             && text.at(i + 1).isLowSurrogate()
                                         ? 2
                                         : 1;
            const QStringView character = QStringView(text).mid(i, length);
            if (!encodeExactly(character)) {
                *unheld = character.toString();
                break;
            }
            i += length;
        }
    }
    return std::nullopt;
}

} // namespace publish
