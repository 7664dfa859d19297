// The editor control on the real web engine: a stored page read back in the stored
// form through each tab, appending, the toolbar's commands and dialogs, and the save.
#include "core/appcontext.h"
#include "core/datafiles.h"
#include "editor/advedit.h"
#include "editor/dlgfrm_insert.h"
#include "editor/htmldocview.h"
#include "fakeprompter.h"
#include "testenv.h"
#include "testmain.h"

#include <QDir>
#include <QImage>
#include <memory>

namespace {

const QString kPage = QStringLiteral("<p>It[&#39;]s <b>ours</b></p><img src=\"[imgpath]/pic.png\">");

QStringList storedPages()
{
    QStringList out;
    for (const QSqlRecord &r : app().conn.select("SELECT value01 FROM content02 WHERE secondCatalog='空调'"))
        out << db::text(r, "value01");
    return out;
}

} // namespace

class TestAdvEdit : public QObject {
    Q_OBJECT

    std::unique_ptr<testenv::ProgramFolder> m_prog;
    std::unique_ptr<FakePrompter> m_prompts;
    std::unique_ptr<advEdit> e;

    void selectAllAnd(const QString &key)
    {
        e->tlBar_ButtonClick("selectAll");
        e->tlBar_ButtonClick(key);
    }

private slots:
    void init()
    {
        m_prog = std::make_unique<testenv::ProgramFolder>();
        m_prompts = std::make_unique<FakePrompter>();
        app().currentPath = m_prog->path();
        app().currImgPath = m_prog->file("userImages/");
        QImage img(40, 30, QImage::Format_RGB32);
        img.fill(Qt::red);
        testenv::writeFile(app().currImgPath + "keep");
        QVERIFY(img.save(app().currImgPath + "pic.png"));
        testenv::makeDatabase(app().conn, m_prog->file("site.qdb"));
        app().conn.exec("INSERT INTO secondCatalog VALUES ('产品','空调',0,1,'adv')");
        e = std::make_unique<advEdit>();
        e->resize(900, 600);
        e->show();
    }

    void cleanup()
    {
        e.reset();
        forms().unloadAll();
        testenv::settle();
        app().conn.close();
        m_prompts.reset();
        m_prog.reset();
    }

    void aStoredPageReadsBackThroughEveryTab()
    {
        QCOMPARE(e->innerHTML(), QString()); // the first document is "<body></body>"
        e->putInnerHTML(kPage);
        QCOMPARE(e->innerHTML(), kPage);
        // The picture in the data folder is shown.
        QTRY_COMPARE(e->DHTMLEditer->evaluate("document.images[0].naturalWidth").toInt(), 40);

        e->sstb->setCurrentIndex(1);
        QCOMPARE(e->txt_code->toPlainText(), kPage);
        QVERIFY(!e->tlBarButtons.first()->isEnabled());
        e->txt_code->setPlainText(kPage + "\n<i>typed's</i>");
        QCOMPARE(e->innerHTML(), kPage + "\r\n<i>typed's</i>");

        e->sstb->setCurrentIndex(2);
        const QString edited = kPage + "\n<i>typed[&#39;]s</i>";
        QCOMPARE(e->innerHTML(), edited);
        QVERIFY(!e->tlBarButtons.last()->isEnabled());

        e->sstb->setCurrentIndex(0);
        QCOMPARE(e->innerHTML(), edited);
        QVERIFY(e->tlBarButtons.first()->isEnabled());
        QCOMPARE(m_prompts->calls.size(), 0);
    }

    void loadingAPageBringsTheDesignTabForward()
    {
        e->putInnerHTML("<p>old</p>");
        e->sstb->setCurrentIndex(1);
        e->putInnerHTML("<p>new</p>");
        QCOMPARE(e->sstb->currentIndex(), 0);
        QVERIFY(e->tlBarButtons.first()->isEnabled());
        QCOMPARE(e->innerHTML(), QStringLiteral("<p>new</p>"));
    }

    void fragmentsAreAppendedToTheBody()
    {
        e->putInnerHTML("<p>a</p>");
        e->setInnerHTML("<object width=600 height=120><param name=\"Movie\" value=\"file://"
                        + app().currImgPath + "m.swf\"></object>");
        e->setInnerHTML("<table width=100% style='x'><tr><td>&nbsp;</td></tr></table>");
        QCOMPARE(e->innerHTML(),
                 QStringLiteral("<p>a</p><object width=\"600\" height=\"120\"><param name=\"Movie\" "
                                "value=\"[imgpath]/m.swf\"></object><table width=\"100%\" style=\"x\"><tbody><tr>"
                                "<td>&nbsp;</td></tr></tbody></table>"));
    }

    void toolbarCommandsAndDialogs()
    {
        e->putInnerHTML("<p>text</p>");
        selectAllAnd("bold");
        QCOMPARE(e->innerHTML(), QStringLiteral("<p><b>text</b></p>"));
        e->tlBar_ButtonClick("undo");
        QCOMPARE(e->innerHTML(), QStringLiteral("<p>text</p>"));

        m_prompts->onDialog<dlgFrm_link>([](dlgFrm_link &d) {
            d.txt_url->setText("http://example.com/");
            d.accept();
        });
        selectAllAnd("link");
        QCOMPARE(e->innerHTML(), QStringLiteral("<p><a href=\"http://example.com/\">text</a></p>"));
        selectAllAnd("unlink");

        editor::FontState shown;
        m_prompts->onDialog<dlgFrm_font>([&](dlgFrm_font &d) {
            shown = d.state();
            d.cmb_size->setCurrentIndex(4);
            d.accept();
        });
        selectAllAnd("color");
        QCOMPARE(shown.size, 3);
        QVERIFY(!shown.bold);
        QCOMPARE(e->innerHTML(), QStringLiteral("<p><font size=\"5\">text</font></p>"));

        m_prompts->onDialog<dlgFrm_hr>([](dlgFrm_hr &d) { d.OKButton_Click(); });
        e->tlBar_ButtonClick("sline");
        QVERIFY(e->innerHTML().endsWith("<hr size=\"2\" noshade=\"\" align=\"center\" width=\"500\">"));
        QVERIFY(!forms().isLoaded<dlgFrm_hr>());
        QCOMPARE(m_prompts->messageCount(), 0);
    }

    // Each dialog of the toolbar opens with the keyboard in its first box; Tab goes
    // through the boxes in reading order and then OK and Cancel; Enter accepts what was
    // typed.
    void dialogsTakeTheKeyboardInTheirFirstBox()
    {
        // Shows the dialog as the user sees it: where the keyboard is and where Tab
        // takes it.
        const auto opened = [](QDialog &d, const QList<QWidget *> &order) {
            d.show();
            QVERIFY(QTest::qWaitForWindowActive(&d));
            QCOMPARE(QApplication::focusWidget(), order.first());
            for (qsizetype i = 1; i < order.size(); ++i) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                QCOMPARE(QApplication::focusWidget(), order.at(i));
            }
            // Back round to the first box.
            for (qsizetype i = 1; i < order.size(); ++i)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
            QCOMPARE(QApplication::focusWidget(), order.first());
        };
        const auto type = [](const QString &text) {
            QTest::keyClicks(QApplication::focusWidget(), text);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        };
        const auto attribute = [this](const QString &selector, const QString &name) {
            return e->DHTMLEditer->evaluate("document.querySelector('" + selector + "').getAttribute('" + name + "')")
                .toString();
        };

        e->putInnerHTML("<p>text</p>");
        m_prompts->onDialog<dlgFrm_link>([&](dlgFrm_link &d) {
            opened(d, {d.txt_url, d.OKButton, d.CancelButton});
            type("http://example.com/");
        });
        selectAllAnd("link");
        QCOMPARE(attribute("a", "href"), QStringLiteral("http://example.com/"));

        m_prompts->onDialog<dlgFrm_tbl>([&](dlgFrm_tbl &d) {
            opened(d, {d.txt_row, d.txt_col, d.txt_width, d.cmb_width, d.txt_height, d.cmb_height, d.txt_pad,
                       d.txt_space, d.txt_border, d.cmb_align, d.txt_backColor, d.cmd_backColor, d.txt_foreColor,
                       d.cmd_foreColor, d.txt_ID, d.OKButton, d.CancelButton});
            type("7");
        });
        e->tlBar_ButtonClick("table");
        QCOMPARE(e->DHTMLEditer->evaluate("document.querySelector('table').rows.length").toInt(), 7);

        m_prompts->onDialog<dlgFrm_hr>([&](dlgFrm_hr &d) {
            opened(d, {d.txt_color, d.cmd_color, d.txt_width, d.txt_height, d.cmb_align, d.cmb_shadow, d.OKButton,
                       d.CancelButton});
            type("red");
        });
        e->tlBar_ButtonClick("sline");
        QCOMPARE(attribute("hr", "color"), QStringLiteral("red"));

        // The file boxes take no typing: the browse button beside them is the next stop.
        const auto browseThenType = [&](const QString &file, const QString &text) {
            m_prompts->answerFile(file);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            type(text);
        };
        QImage img(30, 20, QImage::Format_RGB32);
        img.fill(Qt::blue);
        QVERIFY(img.save(m_prog->file("shot.png")));
        m_prompts->onDialog<dlgFrm_img>([&](dlgFrm_img &d) {
            opened(d, {d.txt_imgPath, d.cmd_imgPath, d.txt_height, d.txt_width, d.txt_border, d.txt_alt, d.cmb_spec,
                       d.cmb_align, d.OKButton, d.CancelButton});
            browseThenType(m_prog->file("shot.png"), "15");
        });
        e->tlBar_ButtonClick("img");
        QCOMPARE(attribute("img", "height"), QStringLiteral("15"));

        m_prompts->onDialog<dlgFrm_flash>([&](dlgFrm_flash &d) {
            opened(d, {d.txt_path, d.cmd_view, d.txt_height, d.txt_width, d.OKButton, d.CancelButton});
            browseThenType(testenv::writeFile(m_prog->file("movie.swf"), "FWS"), "90");
        });
        e->tlBar_ButtonClick("flash");
        QCOMPARE(attribute("object", "height"), QStringLiteral("90"));

        m_prompts->onDialog<dlgFrm_font>([&](dlgFrm_font &d) {
            opened(d, {d.cmb_font, d.cmb_size, d.cmd_color, d.chk_bold, d.chk_italic, d.OKButton, d.CancelButton});
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            type("5");
        });
        selectAllAnd("color");
        QCOMPARE(attribute("font", "size"), QStringLiteral("5"));
        QCOMPARE(m_prompts->messageCount(), 0);
    }

    void saveInsertsThenUpdates()
    {
        e->loadPage(design::Level::Second, QStringLiteral("空调"), kPage, false);
        e->tlBar_ButtonClick("save");
        QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("数据保存成功！"));
        QCOMPARE(m_prompts->lastMessage().style, 64);
        QCOMPARE(storedPages(), QStringList{kPage});

        // From the code tab the text is stored as typed, less carriage returns.
        e->sstb->setCurrentIndex(1);
        e->txt_code->setPlainText("<p>it's</p>\n<p>2</p>");
        e->saveContent();
        QCOMPARE(storedPages(), QStringList{"<p>it's</p>\n<p>2</p>"});

        e->aspFileName = "news";
        m_prompts->clear();
        e->saveContent();
        QCOMPARE(m_prompts->calls.size(), 0);

        e->aspFileName = "none";
        e->loadPage(design::Level::Root, QStringLiteral("我的网站"), QString(), false);
        e->saveContent();
        QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("没有在左边选择栏目！"));
        QCOMPARE(storedPages().size(), 1);
    }

    // The save goes to the page the editor opened, and updates a record it found: a
    // record gone meanwhile (another program deleted it) is inserted again, once.
    void saveGoesToThePageOpened()
    {
        app().conn.exec("INSERT INTO secondCatalog VALUES ('产品','冰箱',0,2,'adv')");
        app().conn.exec("INSERT INTO content02 (secondCatalog, value01) VALUES ('空调','<p>old</p>')");
        e->loadPage(design::Level::Second, QStringLiteral("空调"), QStringLiteral("<p>old</p>"), true);
        e->putInnerHTML(QStringLiteral("<p>new</p>"));
        e->saveContent();
        QCOMPARE(storedPages(), QStringList{"<p>new</p>"});
        QCOMPARE(int(app().conn.select("SELECT 1 FROM content02 WHERE secondCatalog='冰箱'").size()), 0);

        SiteDb other;
        QVERIFY(other.open(m_prog->file("site.qdb")));
        other.exec("DELETE FROM content02");
        other.close();
        m_prompts->clear();
        e->putInnerHTML(QStringLiteral("<p>kept</p>"));
        e->tlBar_ButtonClick("save");
        QCOMPARE(m_prompts->messages(), QStringList{"数据保存成功！"});
        QCOMPARE(m_prompts->lastMessage().style, 64);
        QCOMPARE(storedPages(), QStringList{"<p>kept</p>"});
        e->putInnerHTML(QStringLiteral("<p>again</p>"));
        e->saveContent();
        QCOMPARE(storedPages(), QStringList{"<p>again</p>"});
    }

    // Pictures inserted through the dialog, in data folders and with names that a
    // file URL must encode: the stored page names "[imgpath]/" and the file's own name,
    // the editor shows the picture, and the page opened again shows it too.
    void awkwardFoldersAndNames_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("name");
        QTest::newRow("ampersand") << "R&D/userImages/" << "photo.png";
        QTest::newRow("hash") << "no#1/userImages/" << "photo.png";
        QTest::newRow("percent") << "100%/userImages/" << "photo.png";
        QTest::newRow("blanks") << "my site/user Images/" << "my photo.png";
        QTest::newRow("apostrophe") << "o'neil/userImages/" << "it's.png";
        QTest::newRow("hash in the name") << "userImages/" << "a#b.png";
        QTest::newRow("all at once") << "R&D #1 100% o'neil/user Images/" << "a#b 50%.png";
    }

    void awkwardFoldersAndNames()
    {
        QFETCH(QString, folder);
        QFETCH(QString, name);
        app().currImgPath = m_prog->file(folder);
        QImage img(33, 21, QImage::Format_RGB32);
        img.fill(Qt::green);
        QVERIFY(QDir().mkpath(m_prog->file("mine")) && QDir().mkpath(app().currImgPath));
        QVERIFY(img.save(m_prog->file("mine/") + name, "PNG"));
        e = std::make_unique<advEdit>();
        e->resize(900, 600);
        e->show();
        e->loadPage(design::Level::Second, QStringLiteral("空调"), QStringLiteral("<p>x</p>"), false);

        m_prompts->answerFile(m_prog->file("mine/") + name);
        m_prompts->onDialog<dlgFrm_img>([](dlgFrm_img &d) {
            d.cmd_imgPath_Click();
            d.txt_alt->setText("Our logo");
            d.OKButton_Click();
        });
        e->tlBar_ButtonClick("img");
        QCOMPARE(m_prompts->messageCount(), 0);
        QTRY_COMPARE(e->DHTMLEditer->evaluate("document.images[0].naturalWidth").toInt(), 33);

        QString attrName = name;
        attrName.replace("'", "[&#39;]");
        const QString stored = "<p>x</p><img src=\"[imgpath]/" + attrName + "\" height=\"21\" width=\"33\" alt=\"Our logo\" border=\"0\">";
        QCOMPARE(e->innerHTML(), stored);
        e->saveContent();
        QCOMPARE(storedPages(), QStringList{stored});

        // Through the code and preview tabs and back, and opened again.
        e->sstb->setCurrentIndex(1);
        e->sstb->setCurrentIndex(2);
        QTRY_COMPARE(e->DHTMLSafer->evaluate("document.images[0].naturalWidth").toInt(), 33);
        e->sstb->setCurrentIndex(0);
        QCOMPARE(e->innerHTML(), stored);
        e->loadPage(design::Level::Second, QStringLiteral("空调"), storedPages().first(), true);
        QTRY_COMPARE(e->DHTMLEditer->evaluate("document.images[0].naturalWidth").toInt(), 33);
        QCOMPARE(e->innerHTML(), stored);
    }

    // Another picture chosen under a name the page already uses gets a name of its own:
    // the page keeps its first picture. A file replaced in the data folder (a record's
    // own picture chosen again) is shown anew, also in the page opened again.
    void aPictureOfATakenNameKeepsTheFirstOne()
    {
        e->loadPage(design::Level::Second, QStringLiteral("空调"), QString(), false);
        const auto insert = [this](const QString &file) {
            m_prompts->answerFile(file);
            m_prompts->onDialog<dlgFrm_img>([](dlgFrm_img &d) {
                d.cmd_imgPath_Click();
                d.OKButton_Click();
            });
            e->tlBar_ButtonClick("img");
        };
        const auto picture = [this](const QString &folder, int w, int h) {
            QImage img(w, h, QImage::Format_RGB32);
            img.fill(Qt::yellow);
            QDir().mkpath(m_prog->file(folder));
            img.save(m_prog->file(folder) + "same.png", "PNG");
            return m_prog->file(folder) + "same.png";
        };
        insert(picture("one/", 40, 30));
        QTRY_COMPARE(e->DHTMLEditer->evaluate("document.images[0].naturalWidth").toInt(), 40);
        insert(picture("two/", 20, 10));
        QTRY_COMPARE(e->DHTMLEditer->evaluate("document.images.length").toInt(), 2);
        QTRY_COMPARE(e->DHTMLEditer->evaluate("document.images[1].naturalWidth").toInt(), 20);
        QTRY_COMPARE(e->DHTMLEditer->evaluate("document.images[0].naturalWidth").toInt(), 40);
        QVERIFY(e->innerHTML().contains("[imgpath]/same.png\""));
        QVERIFY(e->innerHTML().contains("[imgpath]/same2.png\""));
        e->saveContent();

        datafiles::importFile(picture("three/", 12, 6), app().currImgPath);
        e->loadPage(design::Level::Second, QStringLiteral("空调"), storedPages().first(), true);
        QTRY_COMPARE(e->DHTMLEditer->evaluate("document.images.length").toInt(), 2);
        QTRY_COMPARE(e->DHTMLEditer->evaluate("document.images[0].naturalWidth").toInt(), 12);
        e->sstb->setCurrentIndex(2);
        QTRY_COMPARE(e->DHTMLSafer->evaluate("document.images[0].naturalWidth").toInt(), 12);
        QTRY_COMPARE(e->DHTMLSafer->evaluate("document.images[1].naturalWidth").toInt(), 20);
    }

    // A file chosen in the picture or Flash dialog is the page's once the page is saved:
    // a dialog cancelled after the choice, or a page left unsaved, takes it away again.
    void aChosenFileWaitsForThePagesSave()
    {
        e->loadPage(design::Level::Second, QStringLiteral("空调"), QString(), false);
        QImage img(8, 8, QImage::Format_RGB32);
        img.fill(Qt::red);
        QDir().mkpath(m_prog->file("pick/"));
        const QString source = m_prog->file("pick/") + "p.png";
        img.save(source, "PNG");
        const QString copy = app().currImgPath + "p.png";
        const auto choose = [&](bool confirm) {
            m_prompts->answerFile(source);
            m_prompts->onDialog<dlgFrm_img>([confirm](dlgFrm_img &d) {
                d.cmd_imgPath_Click();
                confirm ? d.OKButton_Click() : d.CancelButton_Click();
            });
            e->tlBar_ButtonClick("img");
        };
        choose(false);
        choose(true);
        QVERIFY(QFileInfo::exists(copy));
        e->loadPage(design::Level::Second, QStringLiteral("空调"), QString(), false); // left unsaved
        QVERIFY(!QFileInfo::exists(copy));
        choose(true);
        e->saveContent();
        e->loadPage(design::Level::Second, QStringLiteral("空调"), storedPages().first(), true);
        QVERIFY(QFileInfo::exists(copy));
    }

    void aPageThatDoesNotAnswerIsReported()
    {
        const int before = HtmlDocView::waitMs;
        HtmlDocView::waitMs = 0;
        e->putInnerHTML(kPage);
        // Too short a wait for any answer: the tab still changes, nothing is copied.
        e->txt_code->setPlainText("<p>kept</p>");
        e->sstb->setCurrentIndex(1);
        HtmlDocView::waitMs = before;
        QCOMPARE(m_prompts->lastMessage().style, 16);
        QCOMPARE(m_prompts->lastMessage().title, QStringLiteral("提示"));
        QCOMPARE(e->txt_code->toPlainText(), QStringLiteral("<p>kept</p>"));
    }
};

QUORVIK_TEST_MAIN(TestAdvEdit)
#include "test_advedit.moc"
