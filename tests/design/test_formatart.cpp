// The format pictures, the cursor file and the preview pages the build lays out in tmplImg/.
#include "design/catalog.h"
#include "design/cursorfile.h"
#include "design/formatart.h"
#include "testenv.h"

#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>
#include <QtTest>

namespace {

int distinctColours(const QImage &img)
{
    QSet<QRgb> colours;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            colours.insert(img.pixel(x, y));
    return int(colours.size());
}

int differingPixels(const QImage &a, const QImage &b)
{
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

} // namespace

class TestFormatArt : public QObject {
    Q_OBJECT
private slots:
    void thumbnailsAreDistinctLayouts();
    void photosAreDistinct();
    void cursorFileReadsBackWithHotspot();
    void cursorLoadRefusesOtherFiles();
    void pages_data();
    void pages();
};

void TestFormatArt::thumbnailsAreDistinctLayouts()
{
    QList<QImage> thumbs;
    for (int i = 0; i < design::kFormatCount; ++i) {
        const QPixmap pm = formatart::thumbnail(i);
        QCOMPARE(pm.size(), QSize(150, 100));
        const QImage img = pm.toImage();
        QVERIFY2(distinctColours(img) > 20, qPrintable(QStringLiteral("thumbnail %1 is blank").arg(i)));
        thumbs << img;
    }
    // Every two layouts differ in a good part of the content area, not in a few pixels.
    for (int i = 0; i < thumbs.size(); ++i)
        for (int j = i + 1; j < thumbs.size(); ++j)
            QVERIFY2(differingPixels(thumbs[i], thumbs[j]) > 800,
                     qPrintable(QStringLiteral("thumbnails %1 and %2 look alike").arg(i).arg(j)));
    // An unknown format still paints a page, unlike any of the eight.
    const QImage unknown = formatart::thumbnailImage(-1);
    for (const QImage &t : thumbs)
        QVERIFY(differingPixels(unknown, t.convertToFormat(unknown.format())) > 0);
    // Painting by key is painting by the key's index; "none" is unknown.
    auto byKey = [](const QString &key) {
        QImage img(150, 100, QImage::Format_ARGB32_Premultiplied);
        QPainter p(&img);
        formatart::paintLayout(p, QRectF(0, 0, 150, 100), key);
        return img;
    };
    QCOMPARE(byKey(QStringLiteral("imgTxt03")), formatart::thumbnailImage(4));
    QCOMPARE(byKey(QStringLiteral("none")), unknown);
}

void TestFormatArt::photosAreDistinct()
{
    QList<QImage> photos;
    for (int n = 1; n <= formatart::kPhotoCount; ++n) {
        const QImage img = formatart::samplePhoto(n, QSize(90, 60));
        QCOMPARE(img.size(), QSize(90, 60));
        QVERIFY(distinctColours(img) > 50);
        for (const QImage &other : photos)
            QVERIFY(differingPixels(img, other) > 2000);
        photos << img;
    }
    // Numbers wrap round rather than painting nothing.
    QCOMPARE(formatart::samplePhoto(formatart::kPhotoCount + 1, QSize(90, 60)), photos.first());
}

void TestFormatArt::cursorFileReadsBackWithHotspot()
{
    const QString path = testenv::appDir() + QStringLiteral("images/H_POINT.CUR");
    const QByteArray bytes = testenv::readFile(path);
    QVERIFY2(!bytes.isEmpty(), qPrintable(path));
    QCOMPARE(cursorfile::hotspot(bytes), std::optional<QPoint>(formatart::pointingHandHotspot()));

    QImageReader reader(path);
    QVERIFY(reader.canRead());
    const QImage read = reader.read().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(read.size(), QSize(32, 32));
    // The picture comes back as drawn: same transparency everywhere, same colours where visible.
    const QImage drawn = formatart::pointingHand();
    int visible = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const QRgb a = read.pixel(x, y), b = drawn.pixel(x, y);
            QCOMPARE(qAlpha(a), qAlpha(b));
            if (qAlpha(b) > 0) {
                QCOMPARE(qRgb(qRed(a), qGreen(a), qBlue(a)), qRgb(qRed(b), qGreen(b), qBlue(b)));
                ++visible;
            }
        }
    QVERIFY(visible > 150 && visible < 32 * 32 - 150);
    // Qt reads the alpha channel; older readers use the AND mask after the pixels
    // (bottom row first, four bytes a row): it must mark exactly the transparent pixels.
    const int maskAt = 6 + 16 + 40 + 32 * 32 * 4;
    QCOMPARE(bytes.size(), maskAt + 32 * 4);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const bool masked = uchar(bytes[maskAt + (31 - y) * 4 + x / 8]) & (0x80 >> (x % 8));
            QCOMPARE(masked, qAlpha(drawn.pixel(x, y)) == 0);
        }
    QCOMPARE(qAlpha(read.pixel(formatart::pointingHandHotspot())), 255);

    const std::optional<QCursor> cursor = cursorfile::load(path);
    QVERIFY(cursor.has_value());
    QCOMPARE(cursor->hotSpot(), formatart::pointingHandHotspot());
}

void TestFormatArt::cursorLoadRefusesOtherFiles()
{
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("H_POINT.CUR"));
    formatart::thumbnailImage(0).save(png, "PNG");
    QVERIFY(!cursorfile::hotspot(testenv::readFile(png)));
    QVERIFY(!cursorfile::load(png));
    QVERIFY(!cursorfile::load(dir.filePath(QStringLiteral("missing.CUR"))));
    QVERIFY(!cursorfile::hotspot(QByteArray("\0\0\2\0", 4)));
    QVERIFY(cursorfile::encode(QImage(300, 20, QImage::Format_ARGB32), QPoint()).isEmpty());
}

void TestFormatArt::pages_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("caption");
    // Each format's preview names the format as the add-page dialog does.
    for (const design::FormatInfo &f : design::formats())
        QTest::newRow(qPrintable(f.key)) << design::previewPage(f.key) << f.caption;
    QTest::newRow("welcome01") << "tmplImg/welcome01.htm" << "添加目录";
    QTest::newRow("welcome02") << "tmplImg/welcome02.htm" << "保存";
}

void TestFormatArt::pages()
{
    QFETCH(QString, page);
    QFETCH(QString, caption);
    const QString path = testenv::appDir() + page;
    const QString folder = QFileInfo(path).path() + QLatin1Char('/');
    const QByteArray bytes = testenv::readFile(path);
    QVERIFY2(!bytes.isEmpty(), qPrintable(path));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    QVERIFY2(!utf8.hasError(), "not UTF-8");
    QVERIFY(text.contains(QLatin1String("<meta charset=\"utf-8\">")));
    QVERIFY(text.contains(caption));
    // Self-contained: no scripts, nothing fetched from elsewhere, every picture beside the page.
    QVERIFY(!text.contains(QLatin1String("<script"), Qt::CaseInsensitive));
    QVERIFY(!text.contains(QLatin1String("://")));
    static const QRegularExpression ref(QStringLiteral(R"re((?:src|href)="([^"#][^"]*)"|url\(([^)]+)\))re"));
    int pictures = 0;
    for (const QRegularExpressionMatch &m : ref.globalMatch(text)) {
        const QString name = m.captured(1).isEmpty() ? m.captured(2) : m.captured(1);
        QVERIFY2(QFileInfo::exists(folder + name), qPrintable(page + QStringLiteral(" names ") + name));
        ++pictures;
    }
    QVERIFY(pictures > 0);
}

QTEST_MAIN(TestFormatArt)
#include "test_formatart.moc"
