// Packing the data folder: which files each archive holds, under which names, with
// which bytes; script pages removed; old archives replaced.
#include "publish/datapacker.h"
#include "testenv.h"
#include "testmain.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <zip.h>

using namespace publish;

namespace {

QByteArray entryBytes(const QString &archive, const QString &name)
{
    QByteArray out;
    int code = 0;
    zip_t *z = zip_open(QFile::encodeName(archive).constData(), ZIP_RDONLY, &code);
    if (!z)
        return out;
    zip_stat_t st;
    if (zip_stat(z, name.toUtf8().constData(), 0, &st) == 0) {
        if (zip_file_t *f = zip_fopen(z, name.toUtf8().constData(), 0)) {
            out.resize(qsizetype(st.size));
            zip_fread(f, out.data(), st.size);
            zip_fclose(f);
        }
    }
    zip_discard(z);
    return out;
}

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

} // namespace

class TestDataPacker : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString prog() const { return m_dir.path() + QStringLiteral("/prog/"); }
    QString data() const { return m_dir.path() + QStringLiteral("/prog/userImages/"); }
    QString upload() const { return prog() + kUploadArchive; }
    QString images() const { return data() + kImagesArchive; }

private slots:
    void init()
    {
        QDir(m_dir.path()).removeRecursively();
        QDir().mkpath(data());
        testenv::writeFile(data() + QStringLiteral("brevonel.qdb"), "database bytes");
        testenv::writeFile(data() + QStringLiteral("logo.jpg"), QByteArray(5000, 'j'));
    }

    void packsTheFolderAndItsPictures()
    {
        testenv::writeFile(data() + QStringLiteral("news.asp"), "<% %>");
        testenv::writeFile(data() + QStringLiteral("index.ASP"), "<% %>");
        testenv::writeFile(data() + QStringLiteral("grasp"), "kept");
        testenv::writeFile(data() + QStringLiteral("产品.htm"), "<p>页</p>");
        testenv::writeFile(data() + QStringLiteral("other/inner.jpg"), "not packed");
        testenv::writeFile(data() + QStringLiteral("images/a.gif"), "GIF a");
        testenv::writeFile(data() + QStringLiteral("images/b.jpg"), "JPG b");
        testenv::writeFile(data() + QStringLiteral("images/c.asp"), "<% %>");
        QFile::setPermissions(data() + QStringLiteral("images/c.asp"), QFileDevice::ReadOwner);
        testenv::writeFile(upload(), "an old upload");

        const DataPacker::Result r = DataPacker(prog(), data()).packData();
        QVERIFY(r.ok);
        QVERIFY(!r.message);
        QCOMPARE(sorted(zipEntries(images())), (QStringList{"a.gif", "b.jpg"}));
        QCOMPARE(sorted(zipEntries(upload())),
                 (QStringList{"brevonel.qdb", "grasp", "images.zip", "logo.jpg", "产品.htm"}));
        QCOMPARE(entryBytes(upload(), QStringLiteral("logo.jpg")), QByteArray(5000, 'j'));
        QCOMPARE(entryBytes(upload(), QStringLiteral("images.zip")), testenv::readFile(images()));
        QCOMPARE(entryBytes(images(), QStringLiteral("b.jpg")), QByteArray("JPG b"));
        for (const char *gone : {"news.asp", "index.ASP", "images/c.asp"})
            QVERIFY2(!QFileInfo::exists(data() + QLatin1String(gone)), gone);

        // Again: both archives are made anew.
        QFile::remove(data() + QStringLiteral("images/a.gif"));
        QVERIFY(DataPacker(prog(), data()).packData().ok);
        QCOMPARE(zipEntries(images()), QStringList{"b.jpg"});
    }

    void anEmptyPicturesFolderMakesNoPictureArchive()
    {
        QDir().mkpath(data() + QStringLiteral("images"));
        testenv::writeFile(images(), "an old picture archive");
        QVERIFY(DataPacker(prog(), data()).packData().ok);
        QVERIFY(!QFileInfo::exists(images()));
        QCOMPARE(sorted(zipEntries(upload())), (QStringList{"brevonel.qdb", "logo.jpg"}));
    }

    void aMissingDataFolderFails()
    {
        QDir(data()).removeRecursively();
        testenv::writeFile(upload(), "an old upload");
        const DataPacker::Result r = DataPacker(prog(), data()).packData();
        QVERIFY(!r.ok);
        QVERIFY(r.message);
        QVERIFY(r.message->text.startsWith(QStringLiteral("Form1::cmdZip_Click ")));
        QCOMPARE(r.message->style, 0);
        // The stale upload archive is not left to be sent.
        QVERIFY(!QFileInfo::exists(upload()));
    }
};

QUORVIK_TEST_MAIN(TestDataPacker)
#include "test_datapacker.moc"
