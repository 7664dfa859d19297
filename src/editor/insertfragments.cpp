#include "editor/insertfragments.h"

#include "core/errors.h"
#include "core/textforms.h"

#include <cmath>
#include <utility>

namespace editor {

namespace {

// Looks an item up in a list of (item, value) pairs; "" when absent.
template <std::size_t N> QString lookUp(const std::pair<const char *, const char *> (&table)[N], const QString &item)
{
    for (const auto &[text, value] : table)
        if (item == QString::fromUtf8(text))
            return QString::fromUtf8(value);
    return {};
}

template <std::size_t N> QStringList itemsOf(const std::pair<const char *, const char *> (&table)[N])
{
    QStringList out;
    for (const auto &entry : table)
        out << QString::fromUtf8(entry.first);
    return out;
}

const std::pair<const char *, const char *> kEffects[] = {
    {"无", ""},
    {"模糊效果", "filter:blur(add=1,direction=14,strength=15)"},
    {"黑白照片", "filter:gray"},
    {"颠倒显示", "filter:flipv"},
    {"左右反转", "filter:fliph"},
    {"X光照片", "filter:xray"},
    {"颜色反转", "filter:invert"},
};

const std::pair<const char *, const char *> kImageAligns[] = {
    {"默认位置", ""},         {"左对齐", "left"},        {"居中", "middle"},
    {"右对齐", "right"},      {"顶部对齐", "top"},       {"底部对齐", "bottom"},
    {"基线", "baseline"},     {"绝对顶部", "texttop"},   {"绝对居中", "absmiddle"},
    {"绝对底部", "absbottom"},
};

const std::pair<const char *, const char *> kTableAligns[] = {
    {"默认", ""},
    {"左对齐", "left"},
    {"居中", "center"},
    {"右对齐", "right"},
};

const std::pair<const char *, const char *> kRuleAligns[] = {
    {"左对齐", "left"},
    {"居中", "center"},
    {"右对齐", "right"},
};

// name="value", the value HTML-escaped, so that no typed text can end it or add
// attributes of its own.
QString quoted(const char *name, const QString &value)
{
    return QLatin1Char(' ') + QLatin1String(name) + QStringLiteral("=\"") + value.toHtmlEscaped() + QLatin1Char('"');
}

void attr(QString &f, const char *name, const QString &value)
{
    if (!value.isEmpty())
        f += quoted(name, value);
}

} // namespace

std::optional<int> wholeNumber(const QString &text)
{
    if (!textforms::isNumeric(text))
        return std::nullopt;
    QString plain = text;
    plain.remove(QLatin1Char(' ')).remove(QLatin1Char('\t'));
    const double v = std::nearbyint(plain.toDouble()); // rounds half to even
    if (!(v >= -32768 && v <= 32767))
        throw err::Error(err::Kind::Overflow, text);
    return int(v);
}

const QStringList &imageEffects()
{
    static const QStringList items = itemsOf(kEffects);
    return items;
}

const QStringList &imageAligns()
{
    static const QStringList items = itemsOf(kImageAligns);
    return items;
}

QString imageEffectStyle(const QString &item)
{
    return lookUp(kEffects, item);
}

QString imageAlignValue(const QString &item)
{
    return lookUp(kImageAligns, item);
}

QString imageFragment(const ImageSpec &s)
{
    QString f = QStringLiteral("<img") + quoted("src", textforms::fileUrl(s.folder + s.fileName));
    attr(f, "height", s.height);
    attr(f, "width", s.width);
    if (!textforms::trimBlanks(s.alt).isEmpty())
        attr(f, "alt", s.alt);
    attr(f, "border", s.border);
    attr(f, "style", imageEffectStyle(s.effect));
    attr(f, "align", imageAlignValue(s.align));
    return f + QLatin1Char('>');
}

QString flashFragment(const QString &movieUrl, const QString &widthBox, const QString &heightBox)
{
    const int width = wholeNumber(widthBox).value_or(600);
    const int height = wholeNumber(heightBox).value_or(120);
    const std::pair<QString, QString> params[] = {
        {QStringLiteral("_cx"), QStringLiteral("20108")},
        {QStringLiteral("_cy"), QStringLiteral("3440")},
        {QStringLiteral("FlashVars"), QStringLiteral("20108")},
        {QStringLiteral("Movie"), movieUrl},
        {QStringLiteral("Src"), movieUrl},
        {QStringLiteral("WMode"), QStringLiteral("Window")},
        {QStringLiteral("Play"), QStringLiteral("-1")},
        {QStringLiteral("Loop"), QStringLiteral("-1")},
        {QStringLiteral("Quality"), QStringLiteral("High")},
        {QStringLiteral("SAlign"), QString()},
        {QStringLiteral("Menu"), QStringLiteral("-1")},
        {QStringLiteral("Base"), QString()},
        {QStringLiteral("AllowScriptAccess"), QStringLiteral("always")},
        {QStringLiteral("Scale"), QStringLiteral("ShowAll")},
        {QStringLiteral("DeviceFont"), QStringLiteral("0")},
        {QStringLiteral("EmbedMovie"), QStringLiteral("0")},
        {QStringLiteral("BGColor"), QString()},
        {QStringLiteral("SWRemote"), QString()},
    };
    QString f = QStringLiteral("<object") + quoted("codebase", kFlashCodebase) + quoted("height", QString::number(height))
        + quoted("width", QString::number(width)) + quoted("classid", QStringLiteral("clsid:D27CDB6E-AE6D-11cf-96B8-444553540000"))
        + QLatin1Char('>');
    for (const auto &[name, value] : params)
        f += QStringLiteral("  <param") + quoted("name", name) + quoted("value", value) + QLatin1Char('>');
    return f + QStringLiteral("</object>");
}

const QStringList &tableUnits()
{
    static const QStringList items{QStringLiteral("%"), QStringLiteral("像素")};
    return items;
}

const QStringList &tableAligns()
{
    static const QStringList items = itemsOf(kTableAligns);
    return items;
}

QString tableFragment(const TableSpec &s)
{
    const int rows = s.rows.isEmpty() ? 1 : wholeNumber(s.rows).value_or(0);
    const int cols = s.cols.isEmpty() ? 1 : wholeNumber(s.cols).value_or(0);
    // A table beyond this many cells would only exhaust memory.
    if (qint64(qMax(rows, 0)) * qMax(cols, 0) > 32767)
        throw err::Error(err::Kind::Overflow, QStringLiteral("%1 x %2").arg(rows).arg(cols));
    QString f = QStringLiteral("<table");
    attr(f, "ID", s.id);
    if (!s.width.isEmpty())
        attr(f, "width", s.width + s.widthUnit);
    if (!s.height.isEmpty())
        attr(f, "height", s.height + s.heightUnit);
    attr(f, "border", s.border);
    attr(f, "cellpadding", s.padding);
    attr(f, "cellspacing", s.spacing);
    attr(f, "bgcolor", s.backColor);
    attr(f, "bordercolor", s.borderColor);
    attr(f, "align", lookUp(kTableAligns, s.align));
    f += QLatin1Char('>');
    const QString row = QStringLiteral("<tr>") + QStringLiteral("<td>&nbsp;</td>").repeated(qMax(cols, 0))
        + QStringLiteral("</tr>");
    return f + row.repeated(qMax(rows, 0)) + QStringLiteral("</table>");
}

const QStringList &ruleAligns()
{
    static const QStringList items = itemsOf(kRuleAligns);
    return items;
}

const QStringList &ruleShadows()
{
    static const QStringList items{QStringLiteral("无"), QStringLiteral("有")};
    return items;
}

QString ruleFragment(const RuleSpec &s)
{
    QString f = QStringLiteral("<hr");
    if (!textforms::trimBlanks(s.color).isEmpty())
        attr(f, "color", s.color);
    attr(f, "size", s.height);
    if (s.shadow == QStringLiteral("无"))
        f += QStringLiteral(" noshade");
    attr(f, "align", lookUp(kRuleAligns, s.align));
    attr(f, "width", s.width);
    return f + QLatin1Char('>');
}

} // namespace editor
