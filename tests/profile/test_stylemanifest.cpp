// The shipped page-style pictures: the manifest, the files the build drew and the
// pristine database's picker lists agree.
#include "core/stylemanifest.h"
#include "profile/profilestore.h"
#include "tablesnapshot.h"
#include "testenv.h"

#include <QFile>
#include <QImageReader>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

class TestStyleManifest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    SiteDb m_db;

private slots:
    void initTestCase()
    {
        // The build's pristine database, read through a copy.
        const QString copy = m_dir.filePath(QStringLiteral("brevonel.qdb"));
        QVERIFY(QFile::copy(testenv::appDir() + QStringLiteral("initdata/brevonel.qdb"), copy));
        QVERIFY(m_db.open(copy));
    }

    void everyListedPictureWasDrawn()
    {
        const QStringList files = stylemanifest::allFiles();
        QVERIFY(files.contains(QStringLiteral("backGround/0005.JPG")));
        QCOMPARE(QSet<QString>(files.begin(), files.end()).size(), files.size());
        for (const QString &f : files) {
            QImageReader reader(testenv::appDir() + f);
            QVERIFY2(reader.canRead(), qPrintable(f));
            const QSize size = reader.size();
            QVERIFY2(size.width() > 0 && size.height() > 0, qPrintable(f));
        }
    }

    void templatesComeInSeveralCategories()
    {
        for (const auto *list : {&stylemanifest::homeTemplates(), &stylemanifest::innerTemplates()}) {
            QHash<QString, int> perCategory;
            for (const stylemanifest::Template &t : *list)
                ++perCategory[t.category];
            QVERIFY(perCategory.size() >= 3);
        }
        // One category fills more than two rows of the picker's grid.
        QHash<QString, int> home;
        for (const stylemanifest::Template &t : stylemanifest::homeTemplates())
            ++home[t.category];
        QVERIFY(std::any_of(home.cbegin(), home.cend(), [](int n) { return n >= 7; }));
        // Home-page and inner-page pictures share the folder: their names never meet.
        for (const stylemanifest::Template &t : stylemanifest::homeTemplates())
            QVERIFY(t.file.startsWith(QLatin1Char('d')));
        for (const stylemanifest::Template &t : stylemanifest::innerTemplates())
            QVERIFY(t.file.startsWith(QLatin1Char('h')));
    }

    void pristineDatabaseListsTheManifest()
    {
        QStringList fonts;
        for (const QString &f : stylemanifest::fonts())
            fonts << f;
        QCOMPARE(testenv::snapshot(m_db, QStringLiteral("font")), fonts);
        auto rows = [](const QList<stylemanifest::Template> &list) {
            QStringList out;
            for (const stylemanifest::Template &t : list)
                out << t.category + QStringLiteral(" | ") + t.file;
            return out;
        };
        QCOMPARE(testenv::snapshot(m_db, QStringLiteral("defaultTmpl")), rows(stylemanifest::homeTemplates()));
        QCOMPARE(testenv::snapshot(m_db, QStringLiteral("headTmpl")), rows(stylemanifest::innerTemplates()));

        // The shipped choices are the first row of each list.
        const profile::Profile p = profile::ProfileStore(m_db).load();
        QCOMPARE(p.text(QStringLiteral("defaultFont")), stylemanifest::fonts().first());
        QCOMPARE(p.text(QStringLiteral("headFont")), stylemanifest::fonts().first());
        QCOMPARE(p.text(QStringLiteral("defaultTmpl")), stylemanifest::homeTemplates().first().file);
        QCOMPARE(p.text(QStringLiteral("headTmpl")), stylemanifest::innerTemplates().first().file);
    }
};

QTEST_GUILESS_MAIN(TestStyleManifest)
#include "test_stylemanifest.moc"
