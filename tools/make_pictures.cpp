// Draws the pictures shipped in the program folder:
//   make_pictures <program folder> <file>...
// Each file is named relative to the program folder and drawn by its name:
//   tmplImg/photoN.png      sample photograph N, 600x400
//   tmplImg/thumbN.png      the same photograph as a 120x80 gallery thumbnail
//   tmplImg/fmt_<key>.png   the layout of display format <key>, 150x100
//   tmplImg/banner.png      the sample site's header strip
//   images/H_POINT.CUR      the format grid's pointing-hand cursor
#include "design/catalog.h"
#include "design/cursorfile.h"
#include "design/formatart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRegularExpression>
#include <cstdio>

namespace {

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return !bytes.isEmpty() && f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

bool draw(const QString &name, const QString &path)
{
    static const QRegularExpression photo(QStringLiteral("^tmplImg/(photo|thumb)([1-9])\\.png$"));
    static const QRegularExpression format(QStringLiteral("^tmplImg/fmt_(\\w+)\\.png$"));
    if (const auto m = photo.match(name); m.hasMatch()) {
        const QSize size = m.captured(1) == QLatin1String("photo") ? QSize(600, 400) : QSize(120, 80);
        return formatart::samplePhoto(m.captured(2).toInt(), size).save(path, "PNG");
    }
    if (const auto m = format.match(name); m.hasMatch()) {
        const design::FormatInfo *f = design::formatOf(m.captured(1));
        return f && formatart::thumbnailImage(f->index).save(path, "PNG");
    }
    if (name == QLatin1String("tmplImg/banner.png"))
        return formatart::banner(QSize(800, 80)).save(path, "PNG");
    if (name == QLatin1String("images/H_POINT.CUR"))
        return writeBytes(path, cursorfile::encode(formatart::pointingHand(), formatart::pointingHandHotspot()));
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: make_pictures <program folder> <file>...\n");
        return 2;
    }
    const QString folder = QDir(args.at(1)).absolutePath() + QLatin1Char('/');
    for (qsizetype i = 2; i < args.size(); ++i) {
        const QString path = folder + args.at(i);
        QDir().mkpath(QFileInfo(path).absolutePath());
        if (!draw(args.at(i), path)) {
            std::fprintf(stderr, "cannot draw %s\n", qPrintable(args.at(i)));
            return 1;
        }
    }
    return 0;
}
