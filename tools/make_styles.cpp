// Draws the page-style pictures the program folder ships, every file of the manifest:
//   make_styles <program folder> <stamp file>
// The stamp file, written last, lists what was drawn.
#include "core/stylemanifest.h"
#include "styleart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <cstdio>

namespace {

bool save(const QImage &img, const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    const bool jpeg = path.endsWith(QLatin1String(".jpg"), Qt::CaseInsensitive);
    return img.save(path, jpeg ? "JPG" : "PNG", jpeg ? 90 : -1);
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: make_styles <program folder> <stamp file>\n");
        return 2;
    }
    const QString folder = QDir(args.at(1)).absolutePath() + QLatin1Char('/');
    QStringList drawn;
    auto put = [&](const QImage &img, const QString &relative) {
        if (!save(img, folder + relative)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(relative));
            return false;
        }
        drawn << relative;
        return true;
    };

    int n = 0;
    for (const QString &f : stylemanifest::fonts())
        if (!put(styleart::nameStyle(++n), stylemanifest::kFontFolder + f))
            return 1;
    for (const bool inner : {false, true}) {
        QHash<QString, int> variants; // templates drawn so far per category
        for (const stylemanifest::Template &t : inner ? stylemanifest::innerTemplates() : stylemanifest::homeTemplates())
            if (!put(styleart::templatePage(t.category, variants[t.category]++, inner), stylemanifest::kTemplateFolder + t.file))
                return 1;
    }
    n = 0;
    for (const QString &f : stylemanifest::backgrounds())
        if (!put(styleart::backgroundTile(++n), stylemanifest::kBackgroundFolder + f))
            return 1;

    QFile stamp(args.at(2));
    if (!stamp.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 1;
    stamp.write(drawn.join(QLatin1Char('\n')).toUtf8() + '\n');
    return 0;
}
