#include "core/stylemanifest.h"

namespace stylemanifest {

namespace {

// Files named prefix + a four-digit number counted across the categories + ".jpg".
QList<Template> numbered(const QString &prefix, const QList<std::pair<QString, int>> &categories)
{
    QList<Template> out;
    int n = 1;
    for (const auto &[category, count] : categories)
        for (int i = 0; i < count; ++i, ++n)
            out << Template{category, QStringLiteral("%1%2.jpg").arg(prefix).arg(n, 4, 10, QLatin1Char('0'))};
    return out;
}

} // namespace

const QStringList &fonts()
{
    static const QStringList list = [] {
        QStringList l;
        for (int i = 1; i <= 8; ++i)
            l << QStringLiteral("font%1.png").arg(i, 2, 10, QLatin1Char('0'));
        return l;
    }();
    return list;
}

// The categories are listed by the pickers in the database's order of their names; the
// first row of each table is the shipped choice.
const QList<Template> &homeTemplates()
{
    static const QList<Template> list = numbered(QStringLiteral("d"), {{QStringLiteral("企业商务"), 7},
                                                                       {QStringLiteral("学校教育"), 3},
                                                                       {QStringLiteral("政府机关"), 3},
                                                                       {QStringLiteral("时尚个性"), 3}});
    return list;
}

const QList<Template> &innerTemplates()
{
    static const QList<Template> list = numbered(QStringLiteral("h"), {{QStringLiteral("企业商务"), 4},
                                                                       {QStringLiteral("学校教育"), 3},
                                                                       {QStringLiteral("政府机关"), 3},
                                                                       {QStringLiteral("时尚个性"), 2}});
    return list;
}

const QStringList &backgrounds()
{
    static const QStringList list = [] {
        QStringList l;
        for (int i = 1; i <= 8; ++i)
            l << QStringLiteral("%1.JPG").arg(i, 4, 10, QLatin1Char('0'));
        return l;
    }();
    return list;
}

QStringList allFiles()
{
    QStringList out;
    for (const QString &f : fonts())
        out << kFontFolder + f;
    for (const Template &t : homeTemplates())
        out << kTemplateFolder + t.file;
    for (const Template &t : innerTemplates())
        out << kTemplateFolder + t.file;
    for (const QString &f : backgrounds())
        out << kBackgroundFolder + f;
    return out;
}

} // namespace stylemanifest
