// The data-entry view, its news and gallery dialogs and the date box, driven through
// their handlers: the stored rows, the files in the data folder and the messages.
#include "content/contentstore.h"
#include "content/insdatafrm.h"
#include "content/insdatafrm_dialogs.h"
#include "content/mydate.h"
#include "content/pictures.h"
#include "core/appcontext.h"
#include "core/textdate.h"
#include "design/catalogstore.h"
#include "editor/advedit.h"
#include "fakepane.h"
#include "fakeprompter.h"
#include "tablesnapshot.h"
#include "testenv.h"
#include "testmain.h"
#include "viewsite.h"

#include <QApplication>
#include <QFile>
#include <QMap>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSet>
#include <functional>
#include <QImage>
#include <memory>

using namespace content;

namespace {

QSqlRecord onlyRow(const QString &sql)
{
    const Rows rows = app().conn.select(sql);
    if (rows.size() != 1)
        qWarning("expected one row, got %d", int(rows.size()));
    return rows.empty() ? QSqlRecord() : rows.front();
}

QString val(const QSqlRecord &rec, int n)
{
    return db::text(rec, QStringLiteral("value%1").arg(n, 2, 10, QLatin1Char('0')));
}


} // namespace

class TestDataEntry : public QObject {
    Q_OBJECT

    std::unique_ptr<ViewSite> m_site;
    FakePrompter *m_prompts = nullptr;
    testenv::ProgramFolder *m_prog = nullptr;
    insDataFrm *v = nullptr;

    QString data(const QString &name) const { return app().currImgPath + name; }
    bool inData(const QString &name) const { return QFile::exists(data(name)); }
    FakePane *list() const { return static_cast<FakePane *>(v->webMultiData); }
    bool shown(QWidget *w) const { return w->isVisibleTo(v); }

    // A picture of the given pixel size outside the data folder.
    QString picture(const QString &name, QSize size = QSize(64, 48)) const
    {
        const QString path = m_prog->file(QStringLiteral("pictures/") + name);
        testenv::writeFile(path);
        QImage img(size, QImage::Format_RGB32);
        img.fill(Qt::darkCyan);
        img.save(path, "JPG");
        return path;
    }

    void click(const QString &text)
    {
        for (QTreeWidgetItemIterator it(v->tvw_nav); *it; ++it) {
            if ((*it)->text(0) == text) {
                v->tvw_nav->setCurrentItem(*it);
                (*it)->setSelected(true);
                v->tvw_nav_MouseUp(Qt::LeftButton);
                return;
            }
        }
        QFAIL(qPrintable(text));
    }

    QTreeWidgetItem *node(const QString &text) const
    {
        for (QTreeWidgetItemIterator it(v->tvw_nav); *it; ++it)
            if ((*it)->text(0) == text)
                return *it;
        return nullptr;
    }

    // A real left click at a point of the tree's viewport.
    void clickTreeAt(QPoint at) { QTest::mouseClick(v->tvw_nav->viewport(), Qt::LeftButton, {}, at); }

    void showView()
    {
        v->show();
        QVERIFY(QTest::qWaitForWindowExposed(v));
    }

    // Opens a dialog of type D with the list button, types a title, lets `meanwhile`
    // spoil the store, and expects the failure message, with the reason on its second
    // line, the dialog still open and its fields as typed.
    template <class D> void expectStoreFails(int button, const std::function<void()> &meanwhile = {},
                                             const QString &reason = QString())
    {
        bool ran = false;
        m_prompts->onDialog<D>([&](D &d) {
            ran = true;
            d.txt_title->setText(QStringLiteral("留下"));
            if (meanwhile)
                meanwhile();
            m_prompts->clear();
            d.OKButton_Click();
            QCOMPARE(m_prompts->messageCount(), 1);
            const QStringList lines = m_prompts->lastMessage().text.split(QStringLiteral("\r\n"));
            QCOMPARE(lines.size(), 2);
            QCOMPARE(lines.first(), QStringLiteral("保存数据失败"));
            QVERIFY(!lines.last().isEmpty());
            if (!reason.isEmpty())
                QCOMPARE(lines.last(), reason);
            QCOMPARE(m_prompts->lastMessage().style, 16);
            QCOMPARE(m_prompts->lastMessage().title, QStringLiteral("提示"));
            QCOMPARE(forms().find<D>(), &d);
            QCOMPARE(d.txt_title->text(), QStringLiteral("留下"));
            d.CancelButton_Click();
        });
        v->cmd_addData_Click(button);
        QVERIFY(ran);
    }

    // 文本页 txt, 图文一 imgTxt01 (a.jpg, b.jpg), 图文三 imgTxt03, 大图 bigImg, 高级 adv,
    // 栏目 (category) > 新闻 news (two items), 图库 imgs.
    void buildSite()
    {
        SiteDb &db = app().conn;
        db.exec(QStringLiteral("INSERT INTO firstCatalog VALUES ('文本页',0,1,'txt'),('图文一',0,2,'imgTxt01'),"
                               "('图文三',0,3,'imgTxt03'),('大图',0,4,'bigImg'),('高级',0,5,'adv'),('栏目',1,6,NULL)"));
        db.exec(QStringLiteral("INSERT INTO secondCatalog VALUES ('栏目','新闻',0,1,'news'),('栏目','图库',0,2,'imgs')"));
        db.exec(QStringLiteral("INSERT INTO content01 (firstCatalog, value01, value02, value03, value04) VALUES "
                               "('文本页','标题','第一行<br>第二行&nbsp;x',NULL,NULL),"
                               "('图文一','图文','正文','a.jpg','b.jpg'),('高级','<p>[&#39;]hi</p>',NULL,NULL,NULL)"));
        db.exec(QStringLiteral("INSERT INTO content02 (ID, secondCatalog, value01, value02, value03, value04) VALUES "
                               "(5000000000,'新闻','旧闻','2004-5-1','正文','n0.jpg'),"
                               "(5000000001,'新闻','开业','2004-5-2','','')"));
        for (const char *name : {"a.jpg", "b.jpg", "n0.jpg"})
            pictures::load(picture(QLatin1String(name))).save(data(QLatin1String(name)), "JPG");
        v->mnu_Refresh_Click();
    }

private slots:
    void init()
    {
        m_site = std::make_unique<ViewSite>();
        m_prompts = &m_site->prompts;
        m_prog = &m_site->prog;
        v = forms().get<insDataFrm>();
        buildSite();
    }

    void cleanup()
    {
        m_site.reset();
    }

    void loadShowsTheWelcomeAndTheListHost()
    {
        QCOMPARE(static_cast<FakePane *>(v->webBer)->lastPage(), QStringLiteral("tmplImg/welcome02.htm"));
        QCOMPARE(list()->pages, QStringList{QStringLiteral("multiData.htm")});
        QVERIFY(list()->options.pageScripts);
        QCOMPARE(v->tvw_nav->topLevelItem(0)->text(0), QStringLiteral("我的网站"));
        QVERIFY(!v->newRecord());
        QCOMPARE(m_prompts->calls.size(), 0);
    }

    void opensEachFormat_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<bool>("titleRow");
        QTest::addColumn<int>("pictureRows");
        QTest::addColumn<bool>("listShown");
        QTest::addColumn<bool>("editorShown");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("content");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<bool>("newRecord");
        QTest::newRow("txt") << "文本页" << true << 0 << false << false << "文本格式" << "标题" << "第一行\n第二行 x"
                             << QStringList{"", ""} << false;
        QTest::newRow("imgTxt01") << "图文一" << true << 2 << false << false << "图文格式一" << "图文" << "正文"
                                  << QStringList{"a.jpg", "b.jpg"} << false;
        QTest::newRow("imgTxt03, no record") << "图文三" << true << 1 << false << false << "图文格式三" << "" << ""
                                             << QStringList{"", ""} << true;
        QTest::newRow("bigImg, no record") << "大图" << false << 1 << false << false << "大图片格式" << "" << ""
                                           << QStringList{"", ""} << true;
        QTest::newRow("adv") << "高级" << false << 0 << false << true << "高级设计格式" << "" << ""
                             << QStringList{"", ""} << false;
        QTest::newRow("news") << "新闻" << false << 0 << true << false << "新闻格式" << "" << ""
                              << QStringList{"", ""} << false;
    }

    void opensEachFormat()
    {
        QFETCH(QString, page);
        QFETCH(bool, titleRow);
        QFETCH(int, pictureRows);
        QFETCH(bool, listShown);
        QFETCH(bool, editorShown);
        QFETCH(QString, status);
        QFETCH(QString, title);
        QFETCH(QString, content);
        QFETCH(QStringList, names);
        QFETCH(bool, newRecord);
        click(page);
        QCOMPARE(m_prompts->calls.size(), 0);
        QCOMPARE(v->currText(), page);
        QCOMPARE(shown(v->txt_title), titleRow);
        QCOMPARE(shown(v->txt_content), titleRow);
        QCOMPARE(shown(v->txt_img[0]), pictureRows >= 1);
        QCOMPARE(shown(v->txt_img[1]), pictureRows == 2);
        QCOMPARE(shown(v->webMultiData->widget()), listShown);
        QCOMPARE(shown(v->advEditer), editorShown);
        QVERIFY(!shown(v->webBer->widget()));
        QCOMPARE(v->cmd_addData[0]->isEnabled(), listShown);
        QCOMPARE(v->cmd_OK->isEnabled(), !listShown && !editorShown);
        QCOMPARE(v->StsBar_panel1->text(), QStringLiteral("当前栏目：") + page);
        QCOMPARE(v->StsBar_panel2->text(), QStringLiteral("显示格式：") + status);
        if (!editorShown)
            QCOMPARE(v->lbl_head->text(), page + QStringLiteral("--样式显示图(") + status + QStringLiteral(")"));
        QCOMPARE(v->txt_title->text(), title);
        QCOMPARE(v->txt_content->toPlainText(), content);
        QCOMPARE(v->txt_img[0]->text(), names[0]);
        QCOMPARE(v->txt_img[1]->text(), names[1]);
        if (!names[0].isEmpty())
            QVERIFY(!v->img[0]->pixmap().isNull());
        if (!listShown && !editorShown)
            QCOMPARE(v->newRecord(), newRecord);
        if (editorShown) {
            QCOMPARE(v->advEditer->innerHTML(), QStringLiteral("<p>[&#39;]hi</p>"));
            // The page has its record: the editor's save updates it.
            v->advEditer->saveContent();
            QCOMPARE(m_prompts->messages(), QStringList{QStringLiteral("数据保存成功！")});
            QCOMPARE(app().conn.select(QStringLiteral("SELECT 1 FROM content01 WHERE firstCatalog='高级'")).size(), size_t(1));
        }
        if (listShown)
            QCOMPARE(list()->inner.value(QStringLiteral("editID")),
                     buildDataListHtml(ContentStore(app().conn).loadRecords(design::Level::Second, page),
                                       QStringLiteral("news")));
    }

    void aCategoryOrAMissingPageGivesNothingToEnter()
    {
        click(QStringLiteral("新闻"));
        click(QStringLiteral("栏目"));
        QCOMPARE(v->StsBar_panel2->text(), QStringLiteral("显示格式：（该栏目是父节点）"));
        // The list of the page before is gone with its buttons.
        QVERIFY(!v->cmd_addData[0]->isEnabled());
        QVERIFY(!shown(v->webMultiData->widget()));
        QCOMPARE(m_prompts->calls.size(), 0);
        click(QStringLiteral("文本页"));
        click(QStringLiteral("我的网站"));
        QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("请先在设计栏目中设计好该栏目或单击右键刷新！"));
        QCOMPARE(m_prompts->lastMessage().style, 48);
        QCOMPARE(m_prompts->lastMessage().title, QStringLiteral("警告"));
        // The text page's rows are gone with its save.
        QVERIFY(!shown(v->txt_title));
        QVERIFY(!v->cmd_OK->isEnabled());
    }

    void saveInsertsThenUpdates()
    {
        click(QStringLiteral("图文三"));
        QVERIFY(v->newRecord());
        v->cmd_OK_Click();
        QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("标题不能为空"));
        QCOMPARE(m_prompts->lastMessage().style, 64);
        v->txt_title->setText(QStringLiteral(" O'T "));
        v->txt_content->setPlainText(QStringLiteral("a\nb'c"));
        v->cmd_OK_Click();
        QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("数据已保存！"));
        QCOMPARE(m_prompts->lastMessage().title, QStringLiteral("提示"));
        QVERIFY(!v->newRecord());
        const QString sql = QStringLiteral("SELECT * FROM content01 WHERE firstCatalog='图文三'");
        QSqlRecord rec = onlyRow(sql);
        QCOMPARE(val(rec, 1), QStringLiteral(" O'T "));
        QCOMPARE(val(rec, 2), QStringLiteral("a<br>b&#39;c"));
        QVERIFY(!db::isNull(rec, QStringLiteral("value04")));
        v->txt_title->setText(QStringLiteral("二"));
        v->cmd_OK_Click();
        QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("数据已保存！"));
        QCOMPARE(val(onlyRow(sql), 1), QStringLiteral("二"));
    }

    void pictureChoiceCopiesAndReplacedFilesGoAfterTheSave()
    {
        click(QStringLiteral("图文一"));
        // The names come from the choice only: typing into their boxes changes nothing.
        for (QLineEdit *box : v->txt_img)
            QTest::keyClicks(box, QStringLiteral("x.jpg"));
        QCOMPARE(v->txt_img[0]->text(), QStringLiteral("a.jpg"));
        QCOMPARE(v->txt_img[1]->text(), QStringLiteral("b.jpg"));
        // A name outside printable ASCII is refused before anything is copied.
        m_prompts->answerFile(picture(QStringLiteral("图片.jpg")));
        v->cmd_img_Click(0);
        QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("所选择的文件名中不能包含中文，请重命名后选择文件！"));
        QCOMPARE(m_prompts->lastMessage().style, 64);
        QVERIFY(!inData(QStringLiteral("图片.jpg")));
        // A cancelled choice changes nothing and says nothing.
        m_prompts->clear();
        m_prompts->answerFile(std::nullopt);
        v->cmd_img_Click(0);
        QCOMPARE(m_prompts->messageCount(), 0);
        QCOMPARE(v->txt_img[0]->text(), QStringLiteral("a.jpg"));
        // A file that is no picture.
        m_prompts->answerFile(testenv::writeFile(m_prog->file(QStringLiteral("pictures/x.jpg")), "text"));
        v->cmd_img_Click(0);
        QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("没有选择图片路径！"));
        QCOMPARE(m_prompts->lastMessage().style, 16);
        QCOMPARE(m_prompts->lastMessage().title, QStringLiteral("警告"));
        QVERIFY(!inData(QStringLiteral("x.jpg")));
        // Two choices in turn: both copies stay until the save.
        m_prompts->answerFile(picture(QStringLiteral("c.jpg")));
        v->cmd_img_Click(0);
        m_prompts->answerFile(picture(QStringLiteral("d.jpg")));
        v->cmd_img_Click(0);
        QCOMPARE(v->txt_img[0]->text(), QStringLiteral("d.jpg"));
        for (const char *name : {"a.jpg", "c.jpg", "d.jpg"})
            QVERIFY2(inData(QLatin1String(name)), name);
        v->cmd_OK_Click();
        QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("数据已保存！"));
        const QSqlRecord rec = onlyRow(QStringLiteral("SELECT * FROM content01 WHERE firstCatalog='图文一'"));
        QCOMPARE(val(rec, 3), QStringLiteral("d.jpg"));
        QCOMPARE(val(rec, 4), QStringLiteral("b.jpg"));
        QVERIFY(inData(QStringLiteral("d.jpg")));
        QVERIFY(inData(QStringLiteral("b.jpg")));
        QVERIFY(!inData(QStringLiteral("c.jpg")));
        QVERIFY(!inData(QStringLiteral("a.jpg")));
    }

    void aStoredNameOutsideTheDataFolderIsLeftAlone()
    {
        // A record names the backup's database as its first picture.
        const QString backup = testenv::writeFile(m_prog->file(QStringLiteral("savedData/brevonel.qdb")), "the backup");
        app().conn.exec(QStringLiteral("UPDATE content01 SET value03='../savedData/brevonel.qdb' WHERE firstCatalog='图文一'"));
        click(QStringLiteral("图文一"));
        QCOMPARE(v->txt_img[0]->text(), QStringLiteral("../savedData/brevonel.qdb"));
        QVERIFY(v->img[0]->pixmap().isNull());
        // Replaced and saved: the file it named stays where it is.
        m_prompts->answerFile(picture(QStringLiteral("c.jpg")));
        v->cmd_img_Click(0);
        v->cmd_OK_Click();
        QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("数据已保存！"));
        QCOMPARE(val(onlyRow(QStringLiteral("SELECT * FROM content01 WHERE firstCatalog='图文一'")), 3), QStringLiteral("c.jpg"));
        QCOMPARE(testenv::readFile(backup), QByteArray("the backup"));
    }

    void leavingAPageDropsItsUnsavedCopiesOnly()
    {
        click(QStringLiteral("大图"));
        m_prompts->answerFile(picture(QStringLiteral("big.jpg"), QSize(600, 100)));
        v->cmd_img_Click(0);
        // At its own size, capped to 7500 twips wide.
        QCOMPARE(v->img[0]->size(), QSize(500, 83));
        QVERIFY(inData(QStringLiteral("big.jpg")));
        click(QStringLiteral("文本页"));
        QVERIFY(!inData(QStringLiteral("big.jpg")));
        QVERIFY(inData(QStringLiteral("a.jpg")));
        QCOMPARE(app().conn.select(QStringLiteral("SELECT * FROM content01 WHERE firstCatalog='大图'")).size(), size_t(0));
    }

    void listButtons()
    {
        click(QStringLiteral("新闻"));
        for (int index : {1, 2}) {
            m_prompts->clear();
            v->cmd_addData_Click(index);
            QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("当前没有选择数据！"));
            QCOMPARE(m_prompts->lastMessage().style, 16);
            QCOMPARE(m_prompts->lastMessage().title, QStringLiteral("提示"));
        }
        list()->values[QStringLiteral("currID")] = QStringLiteral("5000000000");
        m_prompts->answerMsg(ui::vbCancel);
        v->cmd_addData_Click(1);
        QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("确实要删除该条数据吗？"));
        QCOMPARE(m_prompts->lastMessage().style, 1);
        QCOMPARE(app().conn.select(QStringLiteral("SELECT ID FROM content02")).size(), size_t(2));
        m_prompts->answerMsg(ui::vbOK);
        v->cmd_addData_Click(1);
        QCOMPARE(app().conn.select(QStringLiteral("SELECT ID FROM content02")).size(), size_t(1));
        // The list was rebuilt without the record, and nothing is chosen in it.
        QVERIFY(!list()->inner.value(QStringLiteral("editID")).contains(QStringLiteral("旧闻")));
        QVERIFY(list()->inner.value(QStringLiteral("editID")).contains(QStringLiteral("开业")));
        QCOMPARE(v->webMultiData->value(QStringLiteral("currID")), QString());
    }

    void modifyDialogsRefuseWithoutColumnOrChoice()
    {
        // No page open: the load refuses and the dialog is never shown (an unscripted
        // dialog would fail the test) nor left loaded.
        list()->values[QStringLiteral("currID")] = QStringLiteral("5000000000");
        QCOMPARE(forms().showModal<insDataFrm_newsMod>(), int(QDialog::Rejected));
        QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("不期望的错误：栏目选择错误！"));
        QVERIFY(!forms().isLoaded<insDataFrm_newsMod>());
        click(QStringLiteral("图库"));
        list()->values[QStringLiteral("currID")] = QString();
        QCOMPARE(forms().showModal<insDataFrm_imgsMod>(), int(QDialog::Rejected));
        QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("当前没有选择数据！"));
        QVERIFY(!forms().isLoaded<insDataFrm_imgsMod>());
    }

    void newsDialogsStoreTheirColumns()
    {
        click(QStringLiteral("新闻"));
        const QString body = QStringLiteral("行一\n\"引\" 'x'");
        m_prompts->onDialog<insDatafrm_news>([&](insDatafrm_news &d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("添加数据"));
            QCOMPARE(d.myDate1->value(), textdate::format(QDate::currentDate()));
            d.txt_title->setText(QStringLiteral("O'Neil"));
            d.myDate1->txtValue->setText(QStringLiteral("明天"));
            d.txt_content->setPlainText(body);
            m_prompts->answerFile(picture(QStringLiteral("n1.jpg")));
            d.cmd_img_Click();
            QCOMPARE(d.lbl_imgName->text(), QStringLiteral("n1.jpg"));
            d.OKButton_Click();
        });
        v->cmd_addData_Click(0);
        testenv::settle();
        QVERIFY(!forms().isLoaded<insDatafrm_news>());
        const QSqlRecord added = onlyRow(QStringLiteral("SELECT * FROM content02 WHERE value01='O''Neil'"));
        QCOMPARE(db::text(added, QStringLiteral("secondCatalog")), QStringLiteral("新闻"));
        QCOMPARE(val(added, 2), QStringLiteral("明天"));
        QCOMPARE(val(added, 3), QStringLiteral("行一<br>&#34;引&#34;&nbsp;&#39;x&#39;"));
        QCOMPARE(val(added, 4), QStringLiteral("n1.jpg"));
        QVERIFY(list()->inner.value(QStringLiteral("editID")).contains(QStringLiteral("O'Neil")));

        // Modify a record whose ID is beyond 16 bits; a new picture chosen and then
        // cancelled leaves the record and its picture as they were.
        list()->values[QStringLiteral("currID")] = QStringLiteral("5000000000");
        m_prompts->onDialog<insDataFrm_newsMod>([&](insDataFrm_newsMod &d) {
            QCOMPARE(d.recordId(), Q_INT64_C(5000000000));
            QCOMPARE(d.txt_title->text(), QStringLiteral("旧闻"));
            QCOMPARE(d.myDate1->value(), QStringLiteral("2004-5-1"));
            QCOMPARE(d.lbl_imgName->text(), QStringLiteral("n0.jpg"));
            m_prompts->answerFile(picture(QStringLiteral("n2.jpg")));
            d.cmd_img_Click();
            QVERIFY(inData(QStringLiteral("n2.jpg")));
            d.CancelButton_Click();
        });
        v->cmd_addData_Click(2);
        QVERIFY(!inData(QStringLiteral("n2.jpg")));
        QVERIFY(inData(QStringLiteral("n0.jpg")));
        QCOMPARE(val(onlyRow(QStringLiteral("SELECT * FROM content02 WHERE ID=5000000000")), 4), QStringLiteral("n0.jpg"));

        // The body comes back as entered; the save keeps the picture and the page.
        const qint64 id = db::integer(added, QStringLiteral("ID"));
        list()->values[QStringLiteral("currID")] = QString::number(id);
        m_prompts->onDialog<insDataFrm_newsMod>([&](insDataFrm_newsMod &d) {
            QCOMPARE(d.txt_content->toPlainText(), body);
            QCOMPARE(d.myDate1->value(), QStringLiteral("明天"));
            d.txt_title->setText(QStringLiteral("改"));
            d.OKButton_Click();
        });
        v->cmd_addData_Click(2);
        const QSqlRecord changed = onlyRow(QStringLiteral("SELECT * FROM content02 WHERE ID=%1").arg(id));
        QCOMPARE(val(changed, 1), QStringLiteral("改"));
        QCOMPARE(val(changed, 3), val(added, 3));
        QCOMPARE(val(changed, 4), QStringLiteral("n1.jpg"));
        QCOMPARE(db::text(changed, QStringLiteral("secondCatalog")), QStringLiteral("新闻"));
    }

    void galleryDialogsStoreThePictureAndItsThumbnail()
    {
        click(QStringLiteral("图库"));
        m_prompts->onDialog<insDataFrm_imgs>([&](insDataFrm_imgs &d) {
            d.txt_title->setText(QStringLiteral("   "));
            d.OKButton_Click();
            QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("请输入图片说明文字!"));
            QCOMPARE(m_prompts->lastMessage().style, 64);
            QCOMPARE(forms().find<insDataFrm_imgs>(), &d);
            // 640 x 480 pixels in a fresh box: 1740 x 1305 twips.
            m_prompts->answerFile(picture(QStringLiteral("photo.1.jpg"), QSize(640, 480)));
            d.cmd_img_Click();
            QCOMPARE(d.thumbnailBox(), QSize(1740, 1305));
            QCOMPARE(d.thumbName(), QStringLiteral("photo_small.bmp"));
            QVERIFY(d.scrl[0]->isVisibleTo(&d) && d.scrl[1]->isVisibleTo(&d) && d.lbl_angr->isVisibleTo(&d));
            d.txt_title->setText(QStringLiteral(" 说明 "));
            d.OKButton_Click();
        });
        v->cmd_addData_Click(0);
        const QSqlRecord rec = onlyRow(QStringLiteral("SELECT * FROM content02 WHERE secondCatalog='图库'"));
        QCOMPARE(val(rec, 1), QStringLiteral(" 说明 "));
        QCOMPARE(val(rec, 2), QStringLiteral("photo.1.jpg"));
        QCOMPARE(val(rec, 3), QStringLiteral("photo_small.bmp"));
        QVERIFY(db::isNull(rec, QStringLiteral("value04")));
        const QImage thumb(data(QStringLiteral("photo_small.bmp")), "BMP");
        QCOMPARE(thumb.size(), QSize(116, 87));
        QVERIFY(inData(QStringLiteral("photo.1.jpg")));

        list()->values[QStringLiteral("currID")] = db::text(rec, QStringLiteral("ID"));
        m_prompts->onDialog<insDataFrm_imgsMod>([&](insDataFrm_imgsMod &d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("预览数据"));
            QCOMPARE(d.Label1->text(), QStringLiteral("图片文说明："));
            QCOMPARE(d.lbl_imgName->text(), QStringLiteral("photo.1.jpg"));
            // The box took the stored thumbnail's size.
            QCOMPARE(d.thumbnailBox(), QSize(1740, 1305));
            d.txt_title->setText(QString());
            d.OKButton_Click();
            QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("图片文字说明不能为空"));
            d.txt_title->setText(QStringLiteral("新说明"));
            d.OKButton_Click();
        });
        v->cmd_addData_Click(2);
        const QSqlRecord changed = onlyRow(QStringLiteral("SELECT * FROM content02 WHERE secondCatalog='图库'"));
        QCOMPARE(val(changed, 1), QStringLiteral("新说明"));
        QCOMPARE(val(changed, 2), QStringLiteral("photo.1.jpg"));
        QCOMPARE(val(changed, 3), QStringLiteral("photo_small.bmp"));
    }

    void treeClicksOffTheItemsKeepTheTyping()
    {
        showView();
        QTreeWidget *tree = v->tvw_nav;
        QTreeWidgetItem *category = node(QStringLiteral("栏目"));
        const QRect row = tree->visualItemRect(category);
        const QPoint arrow(row.left() - tree->indentation() / 2, row.center().y());
        const QPoint blank(tree->viewport()->width() / 2, tree->viewport()->height() - 3);
        QVERIFY(!tree->itemAt(blank));
        // A freshly opened view: expanding a category says nothing and keeps the welcome page.
        clickTreeAt(arrow);
        QVERIFY(category->isExpanded());
        QCOMPARE(m_prompts->calls.size(), 0);
        QVERIFY(shown(v->webBer->widget()));
        // A page with typing in it: clicks on an arrow or below the items keep it.
        clickTreeAt(tree->visualItemRect(node(QStringLiteral("文本页"))).center());
        QCOMPARE(v->currText(), QStringLiteral("文本页"));
        v->txt_title->setText(QStringLiteral("未保存"));
        clickTreeAt(arrow);
        QVERIFY(!category->isExpanded());
        clickTreeAt(blank);
        QCOMPARE(v->txt_title->text(), QStringLiteral("未保存"));
        QVERIFY(v->cmd_OK->isEnabled());
        QCOMPARE(m_prompts->calls.size(), 0);
        // Pressed on another page and released below the items: the highlight stays on
        // the page that is open.
        QTest::mousePress(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(node(QStringLiteral("图文一"))).center());
        QTest::mouseRelease(tree->viewport(), Qt::LeftButton, {}, blank);
        QCOMPARE(v->currText(), QStringLiteral("文本页"));
        QCOMPARE(tree->currentItem(), v->currNode);
        QCOMPARE(tree->selectedItems(), QList<QTreeWidgetItem *>{v->currNode});
        QCOMPARE(v->txt_title->text(), QStringLiteral("未保存"));
        // A click on the page itself opens it again.
        clickTreeAt(tree->visualItemRect(node(QStringLiteral("文本页"))).center());
        QCOMPARE(v->txt_title->text(), QStringLiteral("标题"));
    }

    void everythingIsReachableAtTheDesignSize_data()
    {
        QTest::addColumn<QString>("page");
        for (const char *page : {"文本页", "图文一", "图文三", "大图", "新闻"})
            QTest::newRow(page) << QString::fromUtf8(page);
    }

    void everythingIsReachableAtTheDesignSize()
    {
        QFETCH(QString, page);
        showView();
        QCOMPARE(v->size(), QSize(675, 413));
        click(page);
        QVERIFY(v->rect().contains(v->Frame_optn->geometry()));
        QList<QWidget *> buttons{v->cmd_OK, v->cmd_help};
        for (QPushButton *b : v->cmd_addData)
            buttons << b;
        for (QWidget *b : buttons)
            QVERIFY2(v->Frame_optn->rect().contains(QRect(b->mapTo(v->Frame_optn, QPoint(0, 0)), b->size())),
                     qPrintable(b->objectName()));
        if (!shown(v->pic_edit))
            return;
        // Every row of the panel comes into the part left of the scroll bar at some
        // position of the bar (a picture box larger than that part excepted).
        QCOMPARE(v->pic_rows->geometry().right(), v->vscrl->x() - 1);
        const QRect area = v->pic_rows->rect();
        QList<QWidget *> rows;
        for (QWidget *w : v->pic_rows->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            if (w->isVisibleTo(v) && w->width() <= area.width() && w->height() <= area.height())
                rows << w;
        QVERIFY(!rows.isEmpty());
        QSet<QWidget *> reached;
        for (int s = 0;; s = qMin(s + v->vscrl->singleStep(), v->vscrl->maximum())) {
            v->vscrl->setValue(s);
            for (QWidget *w : rows)
                if (area.contains(w->geometry()))
                    reached << w;
            if (s == v->vscrl->maximum())
                break;
        }
        for (QWidget *w : rows)
            QVERIFY2(reached.contains(w), qPrintable(w->objectName()));
    }

    // At the opening size a picture shown 500 pixels wide is wider than the panel: the
    // panel's scroll bar stays on top of it and usable, and every part of the picture
    // can be brought into view.
    void aWidePictureLeavesTheScrollBarUsable_data()
    {
        QTest::addColumn<QString>("page");
        QTest::newRow("bigImg") << "大图";
        QTest::newRow("imgTxt03") << "图文三";
    }

    void aWidePictureLeavesTheScrollBarUsable()
    {
        QFETCH(QString, page);
        showView();
        QCOMPARE(v->size(), QSize(675, 413));
        click(page);
        m_prompts->answerFile(picture(QStringLiteral("wide.jpg"), QSize(600, 100)));
        v->cmd_img_Click(0);
        QCOMPARE(v->img[0]->size(), QSize(500, 83));
        QWidget *bar = v->vscrl;
        // Scrolled so that the picture lies beside the bar: the bar is what a click there meets.
        v->vscrl->setValue(v->vscrl->maximum());
        const QRect picture(v->img[0]->mapTo(v->pic_edit, QPoint(0, 0)), v->img[0]->size());
        const int y = qBound(picture.top(), bar->y() + bar->height() / 2, picture.bottom());
        QVERIFY(picture.top() < bar->y() + bar->height() && picture.bottom() > bar->y());
        QCOMPARE(v->pic_edit->childAt(bar->x() + bar->width() / 2, y), bar);
        QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, 3));
        QVERIFY(v->vscrl->value() < v->vscrl->maximum());
        // Every column of the picture comes into the part left of the bar.
        const auto shown = [&] {
            const QRect r(v->img[0]->mapTo(v->pic_edit, QPoint(0, 0)), v->img[0]->size());
            return r.intersected(QRect(0, 0, bar->x(), v->pic_edit->height()));
        };
        QCOMPARE(shown().left(), v->img[0]->mapTo(v->pic_edit, QPoint(0, 0)).x());
        QList<QScrollBar *> across = v->pic_edit->findChildren<QScrollBar *>(Qt::FindDirectChildrenOnly);
        across.removeAll(v->vscrl);
        QCOMPARE(across.size(), 1);
        QVERIFY(across.first()->isVisibleTo(v));
        across.first()->setValue(across.first()->maximum());
        QCOMPARE(shown().right(), v->img[0]->mapTo(v->pic_edit, QPoint(v->img[0]->width() - 1, 0)).x());
    }

    void galleryThumbnailBoxStartsAfreshOnEveryChoice()
    {
        click(QStringLiteral("图库"));
        const QString line = picture(QStringLiteral("line.jpg"), QSize(4000, 1));
        const QString photo = picture(QStringLiteral("photo.jpg"), QSize(640, 480));
        m_prompts->onDialog<insDataFrm_imgs>([&](insDataFrm_imgs &d) {
            m_prompts->answerFile(line);
            d.cmd_img_Click();
            QCOMPARE(d.thumbnailBox(), QSize(2000, 15));
            QCOMPARE(QImage(data(QStringLiteral("line_small.bmp"))).size(), QSize(133, 1));
            m_prompts->answerFile(photo);
            d.cmd_img_Click();
            QCOMPARE(d.thumbnailBox(), QSize(1740, 1305));
            QCOMPARE(QImage(data(QStringLiteral("photo_small.bmp"))).size(), QSize(116, 87));
            // Stored with the thin line's thumbnail, one pixel high.
            m_prompts->answerFile(line);
            d.cmd_img_Click();
            d.txt_title->setText(QStringLiteral("细线"));
            d.OKButton_Click();
        });
        v->cmd_addData_Click(0);
        const QSqlRecord rec = onlyRow(QStringLiteral("SELECT * FROM content02 WHERE secondCatalog='图库'"));
        QCOMPARE(val(rec, 3), QStringLiteral("line_small.bmp"));
        list()->values[QStringLiteral("currID")] = db::text(rec, QStringLiteral("ID"));
        m_prompts->onDialog<insDataFrm_imgsMod>([&](insDataFrm_imgsMod &d) {
            QCOMPARE(d.thumbnailBox(), QSize(1995, 15));
            m_prompts->answerFile(photo);
            d.cmd_img_Click();
            QCOMPARE(d.thumbnailBox(), QSize(1740, 1305));
            QCOMPARE(QImage(data(QStringLiteral("photo_small.bmp"))).size(), QSize(116, 87));
            d.CancelButton_Click();
        });
        v->cmd_addData_Click(2);
    }

    void aChoiceNeverOverwritesAnotherRecordsFiles()
    {
        // Record A of the gallery holds g.jpg and its thumbnail g_small.bmp.
        app().conn.exec(QStringLiteral("INSERT INTO content02 (ID, secondCatalog, value01, value02, value03) "
                                       "VALUES (7,'图库','A','g.jpg','g_small.bmp')"));
        pictures::load(picture(QStringLiteral("g.jpg"))).save(data(QStringLiteral("g.jpg")), "JPG");
        QImage(QSize(20, 10), QImage::Format_RGB32).save(data(QStringLiteral("g_small.bmp")), "BMP");
        const QByteArray pictureBytes = testenv::readFile(data(QStringLiteral("g.jpg")));
        const QByteArray thumbBytes = testenv::readFile(data(QStringLiteral("g_small.bmp")));
        auto untouched = [&] {
            return testenv::readFile(data(QStringLiteral("g.jpg"))) == pictureBytes
                && testenv::readFile(data(QStringLiteral("g_small.bmp"))) == thumbBytes;
        };
        // Another picture of the same stem gets a thumbnail name of its own.
        const QString other = picture(QStringLiteral("g.gif"), QSize(300, 200));
        click(QStringLiteral("图库"));
        m_prompts->onDialog<insDataFrm_imgs>([&](insDataFrm_imgs &d) {
            m_prompts->answerFile(other);
            d.cmd_img_Click();
            QCOMPARE(d.thumbName(), QStringLiteral("g_small2.bmp"));
            QVERIFY(untouched());
            d.CancelButton_Click();
        });
        v->cmd_addData_Click(0);
        QVERIFY(untouched());
        QVERIFY(!inData(QStringLiteral("g.gif")));
        QVERIFY(!inData(QStringLiteral("g_small2.bmp")));
        // The same in the record's own modify dialog.
        list()->values[QStringLiteral("currID")] = QStringLiteral("7");
        m_prompts->onDialog<insDataFrm_imgsMod>([&](insDataFrm_imgsMod &d) {
            m_prompts->answerFile(other);
            d.cmd_img_Click();
            QCOMPARE(d.thumbName(), QStringLiteral("g_small2.bmp"));
            d.CancelButton_Click();
        });
        v->cmd_addData_Click(2);
        QVERIFY(untouched());
        // Stored, the new record names its own thumbnail.
        m_prompts->onDialog<insDataFrm_imgs>([&](insDataFrm_imgs &d) {
            m_prompts->answerFile(other);
            d.cmd_img_Click();
            d.txt_title->setText(QStringLiteral("B"));
            d.OKButton_Click();
        });
        v->cmd_addData_Click(0);
        const QSqlRecord b = onlyRow(QStringLiteral("SELECT * FROM content02 WHERE value01='B'"));
        QCOMPARE(val(b, 2), QStringLiteral("g.gif"));
        QCOMPARE(val(b, 3), QStringLiteral("g_small2.bmp"));
        QCOMPARE(QImage(data(QStringLiteral("g_small2.bmp"))).size(), QSize(131, 87));
        QVERIFY(untouched());
        // A copy of A's own picture: the record shares it and its thumbnail, as A has them.
        const QString copy = testenv::writeFile(m_prog->file(QStringLiteral("copies/g.jpg")), pictureBytes);
        m_prompts->onDialog<insDataFrm_imgs>([&](insDataFrm_imgs &d) {
            m_prompts->answerFile(copy);
            d.cmd_img_Click();
            QCOMPARE(d.lbl_imgName->text(), QStringLiteral("g.jpg"));
            QCOMPARE(d.thumbName(), QStringLiteral("g_small.bmp"));
            d.txt_title->setText(QStringLiteral("C"));
            d.OKButton_Click();
        });
        v->cmd_addData_Click(0);
        QVERIFY(untouched());
    }

    // 图文一 shows a.jpg and b.jpg, the news item 旧闻 n0.jpg. Another file named a.jpg,
    // chosen for another record, never changes them: cancelled it leaves nothing behind,
    // confirmed it is kept under the first free name. A file with the same bytes is simply
    // used.
    void aSameNamedChoiceNeverChangesAnotherRecord()
    {
        const QStringList shown{QStringLiteral("a.jpg"), QStringLiteral("b.jpg"), QStringLiteral("n0.jpg")};
        QMap<QString, QByteArray> before;
        for (const QString &name : shown)
            before[name] = testenv::readFile(data(name));
        const auto untouched = [&] {
            for (const QString &name : shown)
                if (testenv::readFile(data(name)) != before[name])
                    return false;
            return true;
        };
        int size = 30;
        // Another picture of this name (each one of another size).
        const auto another = [&](const QString &name) { return picture(name, QSize(++size, 20)); };

        // The gallery: cancelled, then added.
        click(QStringLiteral("图库"));
        for (bool confirm : {false, true}) {
            m_prompts->onDialog<insDataFrm_imgs>([&](insDataFrm_imgs &d) {
                m_prompts->answerFile(another(QStringLiteral("a.jpg")));
                d.cmd_img_Click();
                QCOMPARE(d.lbl_imgName->text(), QStringLiteral("a2.jpg"));
                QCOMPARE(d.thumbName(), QStringLiteral("a2_small.bmp"));
                QVERIFY(untouched());
                d.txt_title->setText(QStringLiteral("B"));
                if (confirm)
                    d.OKButton_Click();
                else
                    d.CancelButton_Click();
            });
            v->cmd_addData_Click(0);
            QVERIFY(untouched());
            QCOMPARE(inData(QStringLiteral("a2.jpg")), confirm);
            QCOMPARE(inData(QStringLiteral("a2_small.bmp")), confirm);
        }
        const QSqlRecord b = onlyRow(QStringLiteral("SELECT * FROM content02 WHERE value01='B'"));
        QCOMPARE(val(b, 2), QStringLiteral("a2.jpg"));
        QCOMPARE(val(b, 3), QStringLiteral("a2_small.bmp"));

        // A news item: the next free name; a copy of n0.jpg itself is simply used.
        click(QStringLiteral("新闻"));
        m_prompts->onDialog<insDatafrm_news>([&](insDatafrm_news &d) {
            m_prompts->answerFile(another(QStringLiteral("a.jpg")));
            d.cmd_img_Click();
            QCOMPARE(d.lbl_imgName->text(), QStringLiteral("a3.jpg"));
            d.CancelButton_Click();
        });
        v->cmd_addData_Click(0);
        QVERIFY(!inData(QStringLiteral("a3.jpg")));
        const QString sameBytes = testenv::writeFile(m_prog->file(QStringLiteral("copies/n0.jpg")), before[QStringLiteral("n0.jpg")]);
        m_prompts->onDialog<insDatafrm_news>([&](insDatafrm_news &d) {
            m_prompts->answerFile(sameBytes);
            d.cmd_img_Click();
            QCOMPARE(d.lbl_imgName->text(), QStringLiteral("n0.jpg"));
            d.txt_title->setText(QStringLiteral("C"));
            d.OKButton_Click();
        });
        v->cmd_addData_Click(0);
        QCOMPARE(val(onlyRow(QStringLiteral("SELECT * FROM content02 WHERE value01='C'")), 4), QStringLiteral("n0.jpg"));
        QVERIFY(!inData(QStringLiteral("n02.jpg")));
        QVERIFY(untouched());

        // The picture rows of another page: left unsaved, then saved.
        for (bool save : {false, true}) {
            click(QStringLiteral("图文三"));
            m_prompts->answerFile(another(QStringLiteral("b.jpg")));
            v->cmd_img_Click(0);
            QCOMPARE(v->txt_img[0]->text(), QStringLiteral("b2.jpg"));
            QVERIFY(untouched());
            if (save) {
                v->txt_title->setText(QStringLiteral("三"));
                v->cmd_OK_Click();
            }
            click(QStringLiteral("文本页"));
            QVERIFY(untouched());
            QCOMPARE(inData(QStringLiteral("b2.jpg")), save);
        }
        QCOMPARE(val(onlyRow(QStringLiteral("SELECT * FROM content01 WHERE firstCatalog='图文三'")), 3),
                 QStringLiteral("b2.jpg"));
    }

    // A record's own picture chosen again (another file of its name) changes nothing
    // stored before the save: left, cancelled or refused by the database, the stored
    // picture and thumbnail stay byte for byte and no new file stays behind. Saved, the
    // record shows the new picture; the old file goes once nothing names it.
    void reChoosingARecordsOwnPictureWaitsForTheSave()
    {
        // Gallery record 7 shows g.jpg with its thumbnail; a news item shows g.jpg too.
        app().conn.exec(QStringLiteral("INSERT INTO content02 (ID, secondCatalog, value01, value02, value03, value04) "
                                       "VALUES (7,'图库','A','g.jpg','g_small.bmp',NULL),(9,'新闻','又闻','2004-5-3','','g.jpg')"));
        const QImage g = pictures::load(picture(QStringLiteral("g.jpg")));
        g.save(data(QStringLiteral("g.jpg")), "JPG");
        pictures::writeThumbnail(g, QSize(960, 720), data(QStringLiteral("g_small.bmp")));
        const auto userFiles = [] {
            testenv::Snapshot s = testenv::folderSnapshot(app().currImgPath);
            s.removeIf([](const auto &entry) { return entry.key().startsWith(QLatin1String("brevonel.qdb")); });
            return s;
        };
        const testenv::Snapshot before = userFiles();
        const auto asBefore = [&](const QStringList &names) {
            for (const QString &name : names)
                if (testenv::readFile(data(name)) != before.value(name))
                    return false;
            return true;
        };
        // Red pictures named like the stored ones.
        const auto red = [&](const QString &name) {
            const QString path = testenv::writeFile(m_prog->file(QStringLiteral("other/") + name));
            QImage img(QSize(80, 40), QImage::Format_RGB32);
            img.fill(Qt::red);
            img.save(path, "JPG");
            return path;
        };
        const auto isRed = [](const QImage &img) {
            const QRgb c = img.pixel(img.width() / 2, img.height() / 2);
            return qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60;
        };
        const QString newA = red(QStringLiteral("a.jpg"));
        const QString newG = red(QStringLiteral("g.jpg"));

        // A picture row, left without a save.
        click(QStringLiteral("图文一"));
        m_prompts->answerFile(newA);
        v->cmd_img_Click(0);
        QVERIFY(asBefore({QStringLiteral("a.jpg")}));
        click(QStringLiteral("文本页"));
        QCOMPARE(userFiles(), before);
        // Saved: the page shows the new picture, and a.jpg, which nothing else names, goes.
        click(QStringLiteral("图文一"));
        m_prompts->answerFile(newA);
        v->cmd_img_Click(0);
        v->cmd_OK_Click();
        QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("数据已保存！"));
        const QString savedA = val(onlyRow(QStringLiteral("SELECT * FROM content01 WHERE firstCatalog='图文一'")), 3);
        QCOMPARE(testenv::readFile(data(savedA)), testenv::readFile(newA));
        QVERIFY(!inData(QStringLiteral("a.jpg")));
        click(QStringLiteral("文本页"));
        click(QStringLiteral("图文一"));
        QCOMPARE(v->txt_img[0]->text(), savedA);
        QVERIFY(isRed(v->img[0]->pixmap().toImage()));

        // Record 7's 修改 dialog: a copy of g.jpg (whose thumbnail, drawn afresh, would
        // differ) and the red g.jpg, cancelled; then refused while another program holds
        // the database, and cancelled while it still does.
        click(QStringLiteral("图库"));
        list()->values[QStringLiteral("currID")] = QStringLiteral("7");
        const QStringList oldNames{QStringLiteral("g.jpg"), QStringLiteral("g_small.bmp")};
        const QString copyOfG = testenv::writeFile(m_prog->file(QStringLiteral("copies/g.jpg")), before.value(oldNames[0]));
        const auto modify = [&](const std::function<void(insDataFrm_imgsMod &)> &end) {
            bool ran = false;
            m_prompts->onDialog<insDataFrm_imgsMod>([&](insDataFrm_imgsMod &d) {
                ran = true;
                m_prompts->answerFile(copyOfG);
                d.cmd_img_Click();
                QCOMPARE(d.lbl_imgName->text(), oldNames[0]);
                QCOMPARE(d.thumbName(), oldNames[1]);
                QVERIFY(asBefore(oldNames));
                m_prompts->answerFile(newG);
                d.cmd_img_Click();
                QVERIFY(isRed(d.pic_imgsSmall->pixmap().toImage()));
                QVERIFY(asBefore(oldNames));
                end(d);
            });
            v->cmd_addData_Click(2);
            QVERIFY(ran);
        };
        const auto record = [](int id) {
            const QSqlRecord rec = onlyRow(QStringLiteral("SELECT * FROM content02 WHERE ID=%1").arg(id));
            return QStringList{val(rec, 2), val(rec, 3)};
        };
        const testenv::Snapshot beforeGallery = userFiles();
        modify([](insDataFrm_imgsMod &d) { d.CancelButton_Click(); });
        QCOMPARE(userFiles(), beforeGallery);
        {
            testenv::OtherProgramLock other(app().conn);
            other.release();
            modify([&](insDataFrm_imgsMod &d) {
                other.lock();
                d.OKButton_Click();
                QVERIFY(m_prompts->lastMessage().text.startsWith(QStringLiteral("保存数据失败\r\n")));
                QVERIFY(asBefore(oldNames));
                d.CancelButton_Click();
            });
            QCOMPARE(userFiles(), beforeGallery);
        }
        QCOMPARE(record(7), oldNames);

        // Saved: record 7 names the new picture and a thumbnail drawn from it. The old
        // thumbnail, which nothing else names, goes; g.jpg stays for the news item.
        modify([](insDataFrm_imgsMod &d) { d.OKButton_Click(); });
        const QStringList names = record(7);
        QCOMPARE(testenv::readFile(data(names[0])), testenv::readFile(newG));
        QVERIFY(isRed(QImage(data(names[1]))));
        QVERIFY(asBefore({oldNames[0]}));
        QVERIFY(!inData(oldNames[1]));
    }

    void failedStoresKeepTheDialogWithItsFields()
    {
        app().conn.exec(QStringLiteral("INSERT INTO content02 (ID, secondCatalog, value01, value02, value03) "
                                       "VALUES (7,'图库','A','','')"));
        // The database refuses every new record; a chosen record vanishes before its save.
        app().conn.exec(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON content02 BEGIN SELECT RAISE(ABORT, 'x'); END"));
        auto vanish = [](const char *id) {
            return [id] { app().conn.exec(QStringLiteral("DELETE FROM content02 WHERE ID=") + QLatin1String(id)); };
        };
        click(QStringLiteral("新闻"));
        expectStoreFails<insDatafrm_news>(0);
        list()->values[QStringLiteral("currID")] = QStringLiteral("5000000001");
        expectStoreFails<insDataFrm_newsMod>(2, vanish("5000000001"), err::text(err::Kind::DbNoRow));
        click(QStringLiteral("图库"));
        expectStoreFails<insDataFrm_imgs>(0);
        list()->values[QStringLiteral("currID")] = QStringLiteral("7");
        expectStoreFails<insDataFrm_imgsMod>(2, vanish("7"));
    }

    void savesWhileAnotherProgramHoldsTheDatabaseSayWhy()
    {
        const QString locked = err::text(err::Kind::DbLocked);
        // Another program takes the file while a page is being entered and while a news
        // item is being added.
        testenv::OtherProgramLock other(app().conn);
        other.release();
        click(QStringLiteral("文本页"));
        v->txt_title->setText(QStringLiteral("新标题"));
        other.lock();
        v->cmd_OK_Click();
        QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("保存数据失败\r\n") + locked);
        QCOMPARE(m_prompts->lastMessage().style, 16);
        other.release();
        click(QStringLiteral("新闻"));
        expectStoreFails<insDatafrm_news>(0, [&other] { other.lock(); }, locked);
        other.release();
    }

    // Another program holds the database as a record is opened for change: the dialog
    // says why and is not shown, so its save cannot write empty fields over the record.
    void aRecordThatCannotBeReadIsNotOpenedForChange()
    {
        click(QStringLiteral("新闻"));
        list()->values[QStringLiteral("currID")] = QStringLiteral("5000000000");
        const QStringList before = testenv::snapshot(app().conn, QStringLiteral("content02"));
        testenv::OtherProgramLock lock(app().conn);
        // Were it shown, the user would save once the file is free.
        m_prompts->onDialog<insDataFrm_newsMod>([&lock](insDataFrm_newsMod &d) {
            lock.release();
            d.OKButton_Click();
        });
        v->cmd_addData_Click(2);
        lock.release();
        QCOMPARE(testenv::snapshot(app().conn, QStringLiteral("content02")), before);
        QCOMPARE(m_prompts->messages(), QStringList{err::text(err::Kind::DbLocked)});
        QVERIFY(!forms().isLoaded<insDataFrm_newsMod>());
    }

    void pictureGeometry()
    {
        using namespace pictures;
        const int px = 15;
        // Thumbnails in a fresh add dialog (W 2000, H 1305).
        const struct {
            QSize picture, thumb;
        } thumbs[] = {
            {{640, 480}, {1740, 1305}}, {{800, 200}, {2000, 500}}, {{300, 600}, {1000, 2000}},
            {{500, 500}, {2000, 2000}}, {{100, 50}, {2000, 1000}},
            // No side below one pixel.
            {{4000, 1}, {2000, 15}}, {{1, 4000}, {15, 2000}},
        };
        for (const auto &t : thumbs)
            QCOMPARE(thumbnailSize(t.picture * px, kThumbWidth, kThumbStartHeight), t.thumb);
        // The height carries over: after the 300 x 600 picture, 640 x 480 gives 2000 x 1500.
        QCOMPARE(thumbnailSize(QSize(640, 480) * px, kThumbWidth, 2000), QSize(2000, 1500));
        QCOMPARE(roundHalfEven(5, 2), 2);
        QCOMPARE(roundHalfEven(7, 2), 4);

        PreviewBars b = previewBars(QSize(5685, 3000));
        QVERIFY(!b.horizontal && !b.vertical && !b.corner);
        b = previewBars(QSize(5686, 3000));
        QVERIFY(b.horizontal && !b.vertical && !b.corner);
        QCOMPARE(b.horizontalLength, 5625);
        QCOMPARE(b.horizontalRange, 301);
        b = previewBars(QSize(6000, 3001));
        QVERIFY(b.horizontal && b.vertical && b.corner);
        QCOMPARE(b.horizontalLength, 5355);
        QCOMPARE(b.verticalLength, 2685);

        QCOMPARE(shownSize(QSize(9000, 3000), false, QSize(3735, 2295)), QSize(7500, 2500));
        QCOMPARE(shownSize(QSize(3000, 900), false, QSize(7500, 6000)), QSize(3000, 900));
        QCOMPARE(shownSize(QSize(9000, 3000), true, QSize(3735, 2295)), QSize(3735, 2295));
    }

    void dateBox()
    {
        myDate box;
        QCOMPARE(box.value(), textdate::format(QDate::currentDate()));
        box.setValue(QStringLiteral("2024-2-29"));
        QCOMPARE(box.mnthView->selectedDate(), QDate(2024, 2, 29));
        // Any text is kept; the calendar stays where it was.
        box.setValue(QStringLiteral("不是日期"));
        QCOMPARE(box.value(), QStringLiteral("不是日期"));
        QCOMPARE(box.mnthView->selectedDate(), QDate(2024, 2, 29));
        box.setValue(QString());
        QCOMPARE(box.value(), QString());
        // Typing changes the value; the calendar does not follow typed text.
        QTest::keyClicks(box.txtValue, QStringLiteral("2030-1-1"));
        QCOMPARE(box.value(), QStringLiteral("2030-1-1"));
        QCOMPARE(box.mnthView->selectedDate(), QDate(2024, 2, 29));
        // The text box and the button toggle the calendar; a day click sets the text.
        box.txtValue_Click();
        QVERIFY(box.calendarShown());
        box.txtValue_Click();
        QVERIFY(!box.calendarShown());
        box.cmdDown_Click();
        box.mnthView_DateClick(QDate(2025, 1, 5));
        QCOMPARE(box.value(), QStringLiteral("2025-1-5"));
        QVERIFY(!box.calendarShown());
    }

    void catalogChangesLeaveAPageThatIsGone()
    {
        click(QStringLiteral("文本页"));
        v->txt_title->setText(QStringLiteral("未保存"));
        // Another column added: the page stays open with what is being typed.
        design::CatalogStore store(app().conn);
        store.addPage(design::Level::Root, QString(), QString(), QStringLiteral("新页"), 7, QStringLiteral("txt"));
        v->catalogChanged();
        QCOMPARE(v->currText(), QStringLiteral("文本页"));
        QCOMPARE(v->txt_title->text(), QStringLiteral("未保存"));
        QVERIFY(v->cmd_OK->isEnabled());
        QVERIFY(v->tvw_nav->currentItem() == v->currNode);
        // Its format changed: the view leaves it.
        store.changeFormat(design::Level::First, QStringLiteral("文本页"), QStringLiteral("news"));
        v->catalogChanged();
        QVERIFY(!v->currNode);
        QVERIFY(!v->cmd_OK->isEnabled());
        QVERIFY(shown(v->webBer->widget()));
        // Deleted while open: nothing can be saved into it any more.
        click(QStringLiteral("图文一"));
        store.deleteCatalog(design::Level::First, QStringLiteral("图文一"));
        v->catalogChanged();
        QVERIFY(!v->currNode);
        QVERIFY(!shown(v->pic_edit));
        QVERIFY(!v->StsBar_panel1->text().contains(QStringLiteral("图文一")));
        QVERIFY(!v->StsBar_panel2->text().contains(QStringLiteral("图文格式一")));
        v->cmd_OK_Click();
        QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("没有在左边选择栏目！"));
        QCOMPARE(app().conn.select(QStringLiteral("SELECT * FROM content01 WHERE firstCatalog='图文一'")).size(),
                 size_t(0));
    }

    // Enter or Space opens the highlighted page as a click does; the arrows only move
    // the highlight, and the page that is open, the one a save stores, shows bold.
    void theKeyboardOpensTheHighlightedPage()
    {
        showView();
        v->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(v));
        QTreeWidget *tree = v->tvw_nav;
        const auto bold = [this] {
            QStringList out;
            for (QTreeWidgetItemIterator it(v->tvw_nav); *it; ++it)
                if ((*it)->font(0).bold())
                    out << (*it)->text(0);
            return out;
        };
        clickTreeAt(tree->visualItemRect(node(QStringLiteral("文本页"))).center());
        QCOMPARE(bold(), QStringList{QStringLiteral("文本页")});
        QVERIFY(tree->hasFocus());
        v->txt_title->setText(QStringLiteral("改过"));
        QTest::keyClick(tree, Qt::Key_Down);
        QCOMPARE(tree->currentItem(), node(QStringLiteral("图文一")));
        QCOMPARE(bold(), QStringList{QStringLiteral("文本页")});
        v->cmd_OK_Click();
        QCOMPARE(val(onlyRow(QStringLiteral("SELECT * FROM content01 WHERE firstCatalog='文本页'")), 1),
                 QStringLiteral("改过"));
        QTest::keyClick(tree, Qt::Key_Return);
        QCOMPARE(v->currText(), QStringLiteral("图文一"));
        QCOMPARE(v->txt_title->text(), QStringLiteral("图文"));
        QCOMPARE(bold(), QStringList{QStringLiteral("图文一")});
        QTest::keyClick(tree, Qt::Key_Down);
        QTest::keyClick(tree, Qt::Key_Space);
        QCOMPARE(v->currText(), QStringLiteral("图文三"));
        QVERIFY(shown(v->cmd_img[0]));
        QCOMPARE(bold(), QStringList{QStringLiteral("图文三")});
        // The mark follows the open page when the design view renames it.
        QTest::keyClick(tree, Qt::Key_Down);
        QTest::keyClick(tree, Qt::Key_Down);
        QTest::keyClick(tree, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(v->currText(), QStringLiteral("高级"));
        design::CatalogStore(app().conn).renameCatalog(design::Level::First, QStringLiteral("高级"),
                                                       QStringLiteral("高级页"));
        v->columnRenamed(design::Level::First, QStringLiteral("高级"), QStringLiteral("高级页"));
        v->catalogChanged();
        QCOMPARE(bold(), QStringList{QStringLiteral("高级页")});
        QCOMPARE(m_prompts->messages(), QStringList{QStringLiteral("数据已保存！")});
    }

    // A record added or deleted reloads the page that is open, wherever the keys have
    // moved the tree's highlight meanwhile.
    void aRecordChangeReloadsTheOpenPage()
    {
        showView();
        click(QStringLiteral("新闻"));
        QTest::keyClick(v->tvw_nav, Qt::Key_Down);
        QCOMPARE(v->tvw_nav->currentItem(), node(QStringLiteral("图库")));
        m_prompts->onDialog<insDatafrm_news>([&](insDatafrm_news &d) {
            d.txt_title->setText(QStringLiteral("新到"));
            d.OKButton_Click();
        });
        v->cmd_addData_Click(0);
        QCOMPARE(v->currText(), QStringLiteral("新闻"));
        QVERIFY(list()->inner.value(QStringLiteral("editID")).contains(QStringLiteral("新到")));
        QTest::keyClick(v->tvw_nav, Qt::Key_Down);
        list()->values[QStringLiteral("currID")] = QStringLiteral("5000000000");
        m_prompts->answerMsg(ui::vbOK);
        v->cmd_addData_Click(1);
        QCOMPARE(v->currText(), QStringLiteral("新闻"));
        QVERIFY(!list()->inner.value(QStringLiteral("editID")).contains(QStringLiteral("旧闻")));
        QVERIFY(list()->inner.value(QStringLiteral("editID")).contains(QStringLiteral("新到")));
        QCOMPARE(v->tvw_nav->currentItem(), node(QStringLiteral("新闻")));
    }

    // A keyboard user adds one record after another: the keyboard stays on the button.
    void theKeyboardStaysOnTheButtonThatAdded()
    {
        showView();
        v->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(v));
        click(QStringLiteral("新闻"));
        m_prompts->onDialog<insDatafrm_news>([&](insDatafrm_news &d) {
            d.txt_title->setText(QStringLiteral("新到"));
            d.OKButton_Click();
        });
        v->cmd_addData[0]->setFocus();
        QTest::keyClick(v->cmd_addData[0], Qt::Key_Space);
        QVERIFY(list()->inner.value(QStringLiteral("editID")).contains(QStringLiteral("新到")));
        QCOMPARE(QApplication::focusWidget(), v->cmd_addData[0]);
    }

    // Tab runs through the news dialog in reading order; in the body Tab moves on.
    void newsDialogTabChain()
    {
        click(QStringLiteral("新闻"));
        m_prompts->onDialog<insDatafrm_news>([&](insDatafrm_news &d) {
            d.show();
            d.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&d));
            d.txt_title->setFocus();
            const QList<QWidget *> chain{d.myDate1->txtValue, d.txt_content, d.cmd_img,
                                         d.OKButton,           d.CancelButton, d.txt_title};
            for (QWidget *next : chain) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                QCOMPARE(QApplication::focusWidget(), next);
            }
            QCOMPARE(d.txt_content->toPlainText(), QString());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
            QCOMPARE(QApplication::focusWidget(), d.CancelButton);
            d.reject();
        });
        v->cmd_addData_Click(0);
    }

    // Tab through the panel's rows: whatever takes the keyboard is brought into the
    // panel's visible part, and Tab in the content box moves on.
    void tabbingScrollsThePanelToTheFocus()
    {
        showView();
        v->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(v));
        click(QStringLiteral("图文一"));
        v->txt_title->setFocus();
        const QRect area = v->pic_rows->rect();
        const auto inSight = [&](QWidget *w) {
            return area.contains(QRect(w->mapTo(v->pic_rows, QPoint(0, 0)), w->size()));
        };
        QVERIFY(!inSight(v->cmd_img[0]));
        // The content box is taller than the panel: its top comes into sight.
        const auto tab = [&](Qt::Key key) {
            QTest::keyClick(QApplication::focusWidget(), key, key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
            QWidget *w = QApplication::focusWidget();
            QVERIFY2(w == v->txt_content ? w->y() == 0 : inSight(w), qPrintable(w->objectName()));
        };
        const QList<QWidget *> chain{v->txt_title, v->txt_content, v->txt_img[0], v->cmd_img[0], v->txt_img[1],
                                     v->cmd_img[1]};
        for (int i = 1; i < chain.size(); ++i) {
            tab(Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), chain[i]);
        }
        QCOMPARE(v->txt_content->toPlainText(), QStringLiteral("正文"));
        for (int i = chain.size() - 2; i >= 0; --i) {
            tab(Qt::Key_Backtab);
            QCOMPARE(QApplication::focusWidget(), chain[i]);
        }
    }
};

QUORVIK_TEST_MAIN(TestDataEntry)
#include "test_dataentry.moc"
