// The real browser pane on the web engine: page names, written pages, element content,
// and the mirrored value of the record list's hidden input.
#include "core/errors.h"
#include "fakeprompter.h"
#include "profile/previewpages.h"
#include "testenv.h"
#include "testmain.h"
#include "ui/browserpane.h"

#include <QDesktopServices>
#include <QDir>
#include <QImage>
#include <QRegularExpression>
#include <QTcpServer>
#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineScript>

namespace {

// Evaluates an expression in the page and waits for its value.
QVariant evalJs(BrowserPane &pane, const QString &expr, bool mainWorld)
{
    QVariant result;
    bool done = false;
    pane.page()->runJavaScript(expr, mainWorld ? QWebEngineScript::MainWorld : QWebEngineScript::ApplicationWorld,
                               [&](const QVariant &v) {
                                   result = v;
                                   done = true;
                               });
    for (int i = 0; i < 500 && !done; ++i)
        QTest::qWait(10);
    return result;
}

bool waitReady(BrowserPane &pane)
{
    // Generous: a page of megabytes loads slowly while the whole suite runs in parallel.
    for (int i = 0; i < 6000 && pane.isLoading(); ++i)
        QTest::qWait(10);
    return !pane.isLoading();
}

const QString kList = QStringLiteral(
    "<table><tr><td><input name='currID' type='hidden' id='currID'>ID</td></tr>"
    "<tr><td><input type='radio' name='ID'  value='7' onClick='getID(7);'>7</td></tr>"
    "<tr><td><input type='radio' name='ID'  value='3' onClick='getID(3);'>3</td></tr></table>");

} // namespace

class TestBrowserPane : public QObject {
    Q_OBJECT
    testenv::ProgramFolder m_prog;
    QList<QUrl> m_opened;

public slots:
    // Stands in for the desktop browser.
    void openInBrowser(const QUrl &url) { m_opened << url; }

private slots:
    void initTestCase()
    {
        QVERIFY(m_prog.isValid());
        setPaneBaseFolder(m_prog.path());
        QImage img(40, 30, QImage::Format_RGB32);
        img.fill(Qt::red);
        QVERIFY(img.save(m_prog.file(QStringLiteral("pic.png"))));
    }

    void relativeNamesResolveAgainstTheProgramFolder()
    {
        QCOMPARE(BrowserPane::resolve(QStringLiteral("tmplImg/txt.htm")),
                 QUrl::fromLocalFile(m_prog.path() + QStringLiteral("tmplImg/txt.htm")));
        QCOMPARE(BrowserPane::resolve(QStringLiteral("/abs/x.htm")), QUrl::fromLocalFile(QStringLiteral("/abs/x.htm")));
        QCOMPARE(BrowserPane::resolve(QStringLiteral("about:blank")), QUrl(QStringLiteral("about:blank")));

        // Whatever the working directory, the host page is found.
        const QString before = QDir::currentPath();
        QDir::setCurrent(QDir::tempPath());
        BrowserPane pane(nullptr, PaneOptions{true});
        pane.navigate(QStringLiteral("multiData.htm"));
        QDir::setCurrent(before);
        QVERIFY(waitReady(pane));
        QCOMPARE(evalJs(pane, QStringLiteral("document.getElementById('editID') !== null"), true).toBool(), true);
    }

    void contentSetWhileLoadingArrivesAfterTheLoad()
    {
        BrowserPane pane(nullptr, PaneOptions{true});
        pane.navigate(QStringLiteral("multiData.htm"));
        // Quotes, line breaks and a closing script tag must not cut the text short (the
        // tag itself is markup and disappears from the text).
        const QString html = QStringLiteral("<p id='p'>It's \"q\"\n</script>中文&lt;/b&gt;</p>");
        pane.setInnerHTML(QStringLiteral("editID"), html);
        QVERIFY(waitReady(pane));
        QTRY_COMPARE(evalJs(pane, QStringLiteral("document.getElementById('p').textContent"), true).toString(),
                     QStringLiteral("It's \"q\"\n中文</b>"));
        // An element the page lacks: nothing happens, nothing breaks.
        pane.setInnerHTML(QStringLiteral("nowhere"), QStringLiteral("<b>x</b>"));
        QTRY_COMPARE(evalJs(pane, QStringLiteral("document.getElementById('p') !== null"), true).toBool(), true);
    }

    void onlyTheLastRequestCounts()
    {
        BrowserPane pane(nullptr, PaneOptions{true});
        pane.navigate(QStringLiteral("msg.htm"));
        pane.write(QStringLiteral("<p>x</p>"));
        pane.navigate(QStringLiteral("about:blank"));
        pane.navigate(QStringLiteral("multiData.htm"));
        pane.setInnerHTML(QStringLiteral("editID"), QStringLiteral("<p id='late'>late</p>"));
        QVERIFY(waitReady(pane));
        QTRY_COMPARE(evalJs(pane, QStringLiteral("document.getElementById('late') ? 'yes' : 'no'"), true).toString(),
                     QStringLiteral("yes"));
        pane.navigate(QStringLiteral("about:blank"));
        pane.write(QStringLiteral("<div id='editID'></div>"));
        pane.setInnerHTML(QStringLiteral("editID"), QStringLiteral("<p id='w'>w</p>"));
        QVERIFY(waitReady(pane));
        QTRY_COMPARE(evalJs(pane, QStringLiteral("document.getElementById('w') ? 'yes' : 'no'"), true).toString(),
                     QStringLiteral("yes"));
    }

    void theChosenRecordIsMirrored()
    {
        BrowserPane pane(nullptr, PaneOptions{true});
        pane.navigate(QStringLiteral("multiData.htm"));
        pane.setInnerHTML(QStringLiteral("editID"), kList);
        QVERIFY(waitReady(pane));
        QCOMPARE(pane.value(QStringLiteral("currID")), QString());
        pane.runWhenLoaded(QStringLiteral("document.querySelector(\"input[value='3']\").click();"));
        QTRY_COMPARE(pane.value(QStringLiteral("currID")), QStringLiteral("3"));
        QCOMPARE(evalJs(pane, QStringLiteral("document.getElementById('currID').value"), true).toString(),
                 QStringLiteral("3"));
        pane.runWhenLoaded(QStringLiteral("document.querySelector(\"input[value='7']\").click();"));
        QTRY_COMPARE(pane.value(QStringLiteral("currID")), QStringLiteral("7"));
        // A rebuilt list brings an empty hidden input: nothing is chosen.
        pane.setInnerHTML(QStringLiteral("editID"), kList);
        QCOMPARE(pane.value(QStringLiteral("currID")), QString());
        // So does another page.
        pane.runWhenLoaded(QStringLiteral("document.querySelector(\"input[value='7']\").click();"));
        QTRY_COMPARE(pane.value(QStringLiteral("currID")), QStringLiteral("7"));
        pane.navigate(QStringLiteral("multiData.htm"));
        QCOMPARE(pane.value(QStringLiteral("currID")), QString());
    }

    void writtenPiecesJoinIntoOnePageWithLocalPictures()
    {
        BrowserPane pane;
        pane.navigate(QStringLiteral("about:blank"));
        pane.write(QStringLiteral("<html><body><img id='i' src='pic.png'>"));
        pane.write(QStringLiteral("<img id='j' src='") + m_prog.file(QStringLiteral("pic.png")) + QStringLiteral("'>"));
        pane.write(QStringLiteral("<p id='t'>段落</p></body></html>"));
        QVERIFY(waitReady(pane));
        QCOMPARE(pane.writtenHtml(), QStringLiteral("<html><body><img id='i' src='pic.png'><img id='j' src='")
                                         + m_prog.file(QStringLiteral("pic.png"))
                                         + QStringLiteral("'><p id='t'>段落</p></body></html>"));
        // Page scripts are off in this pane; the program's own calls still run.
        QTRY_COMPARE(evalJs(pane, QStringLiteral("document.getElementById('i').naturalWidth"), false).toInt(), 40);
        QTRY_COMPARE(evalJs(pane, QStringLiteral("document.getElementById('j').naturalWidth"), false).toInt(), 40);
        QCOMPARE(evalJs(pane, QStringLiteral("document.getElementById('t').textContent"), false).toString(),
                 QStringLiteral("段落"));
    }

    // The template view's previews in a program folder whose name reads as an entity
    // ("&copy", "&lt") show their pictures.
    void previewPicturesShowInFoldersNamedLikeEntities()
    {
        for (const QString &folder : {QStringLiteral("R&copy x/"), QStringLiteral("a&lt b/")}) {
            const QString program = m_prog.file(folder);
            QVERIFY(QDir().mkpath(program + QStringLiteral("template")));
            QVERIFY(QDir().mkpath(program + QStringLiteral("userImages")));
            QImage img(24, 12, QImage::Format_RGB32);
            img.fill(Qt::green);
            QVERIFY(img.save(program + QStringLiteral("template/d0003.jpg")));
            QVERIFY(img.save(program + QStringLiteral("userImages/topHeadSelf.jpg")));
            testenv::TempDatabase t;
            t.db.exec(QStringLiteral("UPDATE user_info SET topHead='topHeadSelf.jpg'"));
            const QList<QStringList> pages{profile::templatePreview(program, QStringLiteral("d0003s.jpg")),
                                           profile::headPreview(t.db, program + QStringLiteral("userImages/")).pieces};
            for (const QStringList &pieces : pages) {
                BrowserPane pane;
                pane.navigate(QStringLiteral("about:blank"));
                for (const QString &piece : pieces)
                    pane.write(piece);
                QVERIFY(waitReady(pane));
                QTRY_COMPARE(evalJs(pane, QStringLiteral("document.images[0].naturalWidth"), false).toInt(), 24);
            }
        }
    }

    void aVeryLargeWrittenPageStillShows()
    {
        BrowserPane pane;
        pane.navigate(QStringLiteral("about:blank"));
        const QString row = QStringLiteral("<tr><td>行内容行内容行内容行内容</td></tr>");
        pane.write(QStringLiteral("<table id='big'>"));
        for (int i = 0; i < 60000; ++i)
            pane.write(row);
        pane.write(QStringLiteral("</table>"));
        QVERIFY(waitReady(pane));
        QVERIFY(pane.writtenHtml().toUtf8().size() > 2 * 1024 * 1024);
        // Through a file made new under a name nobody can foresee, readable by its owner only.
        const QString file = pane.page()->url().toLocalFile();
        QVERIFY2(QRegularExpression(QStringLiteral("^quorvik-pane-[A-Za-z0-9]{6}\\.htm$"))
                     .match(QFileInfo(file).fileName()).hasMatch(), qPrintable(file));
        QCOMPARE(QFileInfo(file).permissions() & (QFile::ReadOther | QFile::ReadGroup), QFile::Permissions());
        QTRY_COMPARE(evalJs(pane, QStringLiteral("document.getElementById('big').rows.length"), false).toInt(), 60000);
    }

    void aLargePageThatCannotBeWrittenSaysWhy()
    {
        // The folder for temporary files is no folder.
        FakePrompter prompts;
        const QString notAFolder = testenv::writeFile(m_prog.file(QStringLiteral("not a folder")), "x");
        const QByteArray tmp = qgetenv("TMPDIR");
        qputenv("TMPDIR", notAFolder.toUtf8());
        BrowserPane pane;
        pane.navigate(QStringLiteral("about:blank"));
        pane.write(QStringLiteral("<p>") + QString(3 * 1024 * 1024, QLatin1Char('x')) + QStringLiteral("</p>"));
        QVERIFY(waitReady(pane));
        qputenv("TMPDIR", tmp);
        QCOMPARE(prompts.messages(),
                 QStringList{err::describe(err::Kind::FileWrite, notAFolder)});
        QCOMPARE(prompts.lastMessage().style, 16);
        QCOMPARE(pane.page()->url(), QUrl(QStringLiteral("about:blank")));
    }

    void prependPutsTheNewestFirstWithoutPageScripts()
    {
        BrowserPane pane; // the message page runs no page script
        pane.navigate(m_prog.file(QStringLiteral("msg.htm")));
        pane.prependInnerHTML(QStringLiteral("msg"), QStringLiteral("<p>一</p>"));
        pane.prependInnerHTML(QStringLiteral("msg"), QStringLiteral("<p>二</p>"));
        QVERIFY(waitReady(pane));
        QTRY_COMPARE(evalJs(pane, QStringLiteral("document.getElementById('msg').innerHTML"), false).toString(),
                     QStringLiteral("<p>二</p><p>一</p>"));
        // A page script in the message cannot run.
        pane.prependInnerHTML(QStringLiteral("msg"), QStringLiteral("<img src=x onerror=\"document.title='ran'\">"));
        // The picture has failed to load: its error event has been dispatched.
        QTRY_VERIFY(evalJs(pane, QStringLiteral("(function() { const i = document.querySelector('#msg img');"
                                                " return i !== null && i.complete; })()"),
                           false).toBool());
        QVERIFY(evalJs(pane, QStringLiteral("document.title"), false).toString() != QStringLiteral("ran"));
    }

    void aLockedPaneStaysOnItsPage()
    {
        testenv::writeFile(m_prog.file(QStringLiteral("secret.htm")), "<p id='s'>secret</p>");
        QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "openInBrowser");
        QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "openInBrowser");
        m_opened.clear();
        // A remote address on this machine that counts who asks.
        QTcpServer remote;
        QVERIFY(remote.listen(QHostAddress::LocalHost, 0));
        const QString remoteUrl = QStringLiteral("http://127.0.0.1:%1/").arg(remote.serverPort());
        BrowserPane pane(nullptr, PaneOptions{.pageScripts = false, .lockedToPage = true});
        QSignalSpy loads(pane.page(), &QWebEnginePage::loadFinished);
        pane.navigate(m_prog.file(QStringLiteral("msg.htm")));
        // Server text: links, local and remote pictures.
        pane.prependInnerHTML(QStringLiteral("msg"),
                              QStringLiteral("<a id='f' href='secret.htm'>f</a><a id='h' href='http://example.invalid/p'>h</a>"
                                             "<img id='i' src='pic.png'><img id='j' src='")
                                  + QUrl::fromLocalFile(m_prog.file(QStringLiteral("pic.png"))).toString()
                                  + QStringLiteral("'><img id='r' src='") + remoteUrl
                                  + QStringLiteral("x.png'><iframe src='") + remoteUrl + QStringLiteral("f'></iframe>"));
        QVERIFY(waitReady(pane));
        const QUrl page = pane.page()->url();
        auto refused = [&](const QString &script) {
            const qsizetype before = loads.count();
            evalJs(pane, script, false);
            // A refused navigation ends as a failed load of the page still shown.
            return QTest::qWaitFor([&] { return loads.count() > before; }, 5000) && !loads.last().first().toBool();
        };
        QVERIFY(refused(QStringLiteral("document.getElementById('f').click()")));
        QVERIFY(refused(QStringLiteral("document.getElementById('h').click()")));
        QVERIFY(refused(QStringLiteral("document.getElementById('msg').insertAdjacentHTML('afterbegin',"
                                       "'<meta http-equiv=\"refresh\" content=\"0;url=secret.htm\">')")));
        QCOMPARE(pane.page()->url(), page);
        // Only the http link went to the desktop browser.
        QCOMPARE(m_opened, QList<QUrl>{QUrl(QStringLiteral("http://example.invalid/p"))});
        QCOMPARE(evalJs(pane, QStringLiteral("document.getElementById('s') === null"), false).toBool(), true);
        // The local pictures have been tried: neither shows.
        QTRY_VERIFY(evalJs(pane, QStringLiteral("document.getElementById('i').complete"
                                                " && document.getElementById('j').complete"),
                           false).toBool());
        QCOMPARE(evalJs(pane, QStringLiteral("document.getElementById('i').naturalWidth"), false).toInt(), 0);
        QCOMPARE(evalJs(pane, QStringLiteral("document.getElementById('j').naturalWidth"), false).toInt(), 0);
        QTRY_VERIFY(evalJs(pane, QStringLiteral("document.getElementById('r').complete"), false).toBool());
        QCoreApplication::processEvents();
        QVERIFY(!remote.hasPendingConnections());
        // Later texts still arrive.
        pane.prependInnerHTML(QStringLiteral("msg"), QStringLiteral("<p id='later'>later</p>"));
        QTRY_COMPARE(evalJs(pane, QStringLiteral("document.getElementById('later') !== null"), false).toBool(), true);
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    }

    void scriptTextIsEscaped()
    {
        QCOMPARE(jsString(QStringLiteral("a'b\"c\n</script>")), QStringLiteral("\"a'b\\\"c\\n<\\/script>\""));
    }
};

QUORVIK_TEST_MAIN(TestBrowserPane)
#include "test_browserpane.moc"
