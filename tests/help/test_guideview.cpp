// The help guide view driven through its handlers, and the help pages it ships.
#include "core/appcontext.h"
#include "core/twips.h"
#include "fakepane.h"
#include "help/guidfrm.h"
#include "help/helptopics.h"
#include "testenv.h"
#include "testmain.h"

#include <QDir>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QUrl>
#include <memory>

class TestGuideView : public QObject {
    Q_OBJECT

    std::unique_ptr<testenv::ProgramFolder> m_prog;
    std::unique_ptr<FakePaneFactory> m_panes;
    guidFrm *v = nullptr;

    FakePane *pane() const { return static_cast<FakePane *>(v->weber); }
    QString page(const QString &key) const { return m_prog->file(QStringLiteral("help/") + key); }

    // Selects a node the way a click does, then releases the button.
    void click(const QString &key, int button = 1)
    {
        QTreeWidgetItem *it = v->node(key);
        QVERIFY2(it, qPrintable(key));
        v->tvw_title->setCurrentItem(it);
        v->tvw_title_MouseUp(button, 0, 0, 0);
    }

    QString picture(const QString &key) const { return v->node(key)->data(0, guidFrm::ImageRole).toString(); }

    static QStringList shippedPages()
    {
        return QDir(testenv::appDir() + QStringLiteral("help")).entryList({QStringLiteral("*.htm")}, QDir::Files);
    }

private slots:
    void init()
    {
        m_prog = std::make_unique<testenv::ProgramFolder>();
        m_panes = std::make_unique<FakePaneFactory>();
        app().currentPath = m_prog->path();
        for (const QString &key : {QStringLiteral("index.htm"), QStringLiteral("basic.htm"), QStringLiteral("faq04.htm")})
            testenv::writeFile(page(key), "<p>x</p>");
        v = forms().get<guidFrm>();
        v->show();
    }

    void cleanup()
    {
        forms().unloadAll();
        testenv::settle();
        m_panes.reset();
        m_prog.reset();
    }

    void loadBuildsTheTreeAndShowsTheWelcomePage()
    {
        QCOMPARE(v->tvw_title->topLevelItemCount(), 3);
        QStringList rows;
        for (QTreeWidgetItemIterator it(v->tvw_title); *it; ++it)
            rows << (*it)->data(0, guidFrm::KeyRole).toString() + QLatin1Char('|') + (*it)->text(0) + QLatin1Char('|')
                        + (*it)->data(0, guidFrm::TagRole).toString() + QLatin1Char('|')
                        + ((*it)->parent() ? (*it)->parent()->data(0, guidFrm::KeyRole).toString() : QString());
        QCOMPARE(rows.size(), 20);
        QCOMPARE(rows.at(0), QStringLiteral("about|Quorvik功能|folder|"));
        QCOMPARE(rows.at(8), QStringLiteral("updata.htm|上传数据|file|about"));
        QCOMPARE(rows.at(10), QStringLiteral("index.htm|欢迎使用|file|doc"));
        QCOMPARE(rows.at(15), QStringLiteral("faq01.htm|什么是互联网，互联网有那些用途?|file|FAQ"));
        QCOMPARE(rows.at(16), QStringLiteral("faq02.htm|企业为什么要在互联网上建立自己的网站，有何好处？|file|FAQ"));
        // Only the first folder starts expanded.
        QVERIFY(v->node("about")->isExpanded());
        QVERIFY(!v->node("doc")->isExpanded() && !v->node("FAQ")->isExpanded());
        QCOMPARE(picture("about"), QStringLiteral("open"));
        QCOMPARE(picture("doc"), QStringLiteral("close"));
        QCOMPARE(picture("setup.htm"), QStringLiteral("file"));
        QCOMPARE(pane()->pages, QStringList{page("index.htm")});
        QVERIFY(!v->lastSelected);
    }

    void aPageTopicShowsItsPage()
    {
        click("basic.htm");
        QCOMPARE(pane()->lastPage(), page("basic.htm"));
        // Any button does it.
        click("faq04.htm", 2);
        QCOMPARE(pane()->lastPage(), page("faq04.htm"));
    }

    void aMissingPageShowsAnEmptyPage()
    {
        click("setup.htm");
        QCOMPARE(pane()->lastPage(), QStringLiteral("about:blank"));
        QFile::remove(page("index.htm"));
        v->Form_Load();
        QCOMPARE(pane()->lastPage(), QStringLiteral("about:blank"));
    }

    void foldersOnlyChangeTheirPictures()
    {
        click("basic.htm");
        const int shown = int(pane()->pages.size());
        v->node("FAQ")->setExpanded(true);
        v->node("about")->setExpanded(false);
        click("FAQ");
        QCOMPARE(pane()->pages.size(), shown);
        QCOMPARE(picture("FAQ"), QStringLiteral("open"));
        QCOMPARE(picture("about"), QStringLiteral("close"));
        QCOMPARE(v->lastSelected, v->node("FAQ"));
    }

    void aMouseUpBeforeAnySelectionChangesNothing()
    {
        v->tvw_title->clearSelection();
        v->tvw_title_MouseUp();
        QCOMPARE(pane()->pages.size(), 1);
        QVERIFY(!v->lastSelected);
        QCOMPARE(picture("about"), QStringLiteral("open"));
    }

    void folderPicturesFollowKeyboardExpandAndCollapse()
    {
        QTreeWidget *tree = v->tvw_title;
        struct Step {
            const char *folder;
            Qt::Key key;
            bool expanded;
        };
        const Step steps[] = {
            {"doc", Qt::Key_Right, true},   {"doc", Qt::Key_Left, false}, {"about", Qt::Key_Minus, false},
            {"about", Qt::Key_Plus, true}, {"FAQ", Qt::Key_Asterisk, true},
        };
        for (const Step &s : steps) {
            tree->setCurrentItem(v->node(s.folder));
            QTest::keyClick(tree, s.key);
            QCOMPARE(v->node(s.folder)->isExpanded(), s.expanded);
            // No mouse-up came: the picture follows all the same.
            QCOMPARE(picture(s.folder), s.expanded ? QStringLiteral("open") : QStringLiteral("close"));
        }
        // Pages keep theirs, also at the next mouse-up.
        QCOMPARE(picture("faq01.htm"), QStringLiteral("file"));
        v->tvw_title_MouseUp();
        QCOMPARE(picture("faq01.htm"), QStringLiteral("file"));
        QCOMPARE(picture("FAQ"), QStringLiteral("open"));
        QCOMPARE(pane()->pages.size(), 1);
    }

    void theViewKeepsItsMinimumAndMargins()
    {
        v->resize(100, 100);
        QCOMPARE(v->size(), QSize(twips::toPx(10125), twips::toPx(6200)));
        for (const QSize size : {QSize(675, 413), QSize(1000, 700)}) {
            v->resize(size);
            const QRect title = v->frame_title->geometry();
            const QRect content = v->frame_content->geometry();
            QCOMPARE(title.height(), content.height());
            QCOMPARE(size.height() - title.bottom() - 1, title.top());
            QCOMPARE(size.width() - content.right() - 1, title.left());
            const QRect pane = v->weber->widget()->geometry();
            QCOMPARE(pane.width(), content.width() - twips::toPx(200));
            QCOMPARE(content.height() - pane.bottom() - 1, twips::toPx(100));
            QVERIFY(v->frame_content->contentsRect().contains(pane));
            QVERIFY(v->frame_title->contentsRect().contains(v->tvw_title->geometry()));
        }
    }

    void everyTopicHasAShippedPage()
    {
        const QStringList shipped = shippedPages();
        for (const help::Topic &t : help::topics())
            if (!t.folder)
                QVERIFY2(shipped.contains(t.key), qPrintable(t.key));
    }

    void helpPagesAreUtf8AndTheirLinksResolve()
    {
        const QString folder = testenv::appDir() + QStringLiteral("help/");
        static const QRegularExpression ref(QStringLiteral("(?:href|src)\\s*=\\s*\"([^\"]*)\""),
                                            QRegularExpression::CaseInsensitiveOption);
        static const QRegularExpression charset(QStringLiteral("<meta\\s+charset=\"utf-8\"\\s*/?>"),
                                                QRegularExpression::CaseInsensitiveOption);
        int links = 0;
        for (const QString &name : shippedPages()) {
            const QByteArray bytes = testenv::readFile(folder + name);
            QStringDecoder utf8(QStringDecoder::Utf8);
            const QString text = utf8(bytes);
            QVERIFY2(!utf8.hasError(), qPrintable(name));
            QVERIFY2(charset.match(text).hasMatch(), qPrintable(name));
            for (auto it = ref.globalMatch(text); it.hasNext();) {
                const QString target = it.next().captured(1);
                const QUrl url(target);
                QVERIFY2(url.scheme().isEmpty(), qPrintable(name + QStringLiteral(": ") + target));
                if (url.path().isEmpty())
                    continue; // an anchor in the same page
                const QString file = QDir::cleanPath(folder + url.path());
                QVERIFY2(QFileInfo(file).isFile(), qPrintable(name + QStringLiteral(" -> ") + target));
                ++links;
            }
        }
        QVERIFY(links > 20);
    }

    // The pane shows a line break inside a sentence as a blank, which between two
    // Chinese characters reads as a gap: the pages run such sentences on, across
    // inline elements too.
    void helpPagesBreakNoLineBetweenChineseCharacters()
    {
        static const QRegularExpression tag(QStringLiteral("<!--.*?-->|</?([A-Za-z][A-Za-z0-9]*)[^>]*>"),
                                            QRegularExpression::DotMatchesEverythingOption);
        static const QStringList inlineTags = {"a",   "abbr", "b",   "code", "em", "font", "i",
                                               "kbd", "small", "span", "strong", "sub", "sup", "u"};
        // CJK characters and punctuation, full-width forms, and the quotes, dash and
        // ellipsis of Chinese text.
        const QString cjk = QStringLiteral("[\\x{2014}\\x{2018}-\\x{201F}\\x{2026}\\x{2E80}-\\x{9FFF}\\x{F900}-\\x{FAFF}"
                                           "\\x{FE30}-\\x{FE4F}\\x{FF00}-\\x{FFEF}]");
        const QRegularExpression gap(cjk + QStringLiteral("[ \\t\\r]*\\n\\s*") + cjk);
        QStringList gaps;
        for (const QString &name : shippedPages()) {
            const QString source = QString::fromUtf8(testenv::readFile(testenv::appDir() + QStringLiteral("help/") + name));
            // The text as laid out: inline tags vanish, any other tag ends the run of text.
            QString text;
            qsizetype from = 0;
            for (auto it = tag.globalMatch(source); it.hasNext();) {
                const auto m = it.next();
                text += source.mid(from, m.capturedStart() - from);
                if (!inlineTags.contains(m.captured(1).toLower()))
                    text += QChar(1);
                from = m.capturedEnd();
            }
            text += source.mid(from);
            for (auto it = gap.globalMatch(text); it.hasNext();) {
                const auto m = it.next();
                const QString around = text.mid(m.capturedStart() - 10, m.capturedLength() + 20);
                gaps << name + QStringLiteral(": ") + QString(around).replace(QChar(1), QLatin1Char(' ')).simplified();
            }
        }
        QVERIFY2(gaps.isEmpty(), qPrintable(gaps.join(QLatin1Char('\n'))));
    }
};

QUORVIK_TEST_MAIN(TestGuideView)
#include "test_guideview.moc"
