// The design view and its dialogs driven through their handlers: the stored rows, the
// messages (text, style, title) and the tree afterwards.
#include "content/insdatafrm.h"
#include "core/appcontext.h"
#include "core/twips.h"
#include "design/designfrm.h"
#include "design/dgnfrm_dialogs.h"
#include "design/formatgrid.h"
#include "editor/advedit.h"
#include "fakepane.h"
#include "fakeprompter.h"
#include "shell/mdifrm.h"
#include "testenv.h"
#include "testmain.h"
#include "ui/viewloads.h"
#include "viewsite.h"

#include <QApplication>
#include <QSignalSpy>
#include <QWheelEvent>
#include <functional>
#include <memory>

using namespace design;

namespace {


int count(const QString &sql, const QVariantList &binds = {})
{
    return int(db::integer(app().conn.select(sql, binds).front(), QStringLiteral("n")));
}

} // namespace

class TestDesignView : public QObject {
    Q_OBJECT

    std::unique_ptr<ViewSite> m_site;
    FakePrompter *m_prompts = nullptr;
    testenv::ProgramFolder *m_prog = nullptr;
    designFrm *v = nullptr;

    FakePane *pane() const { return static_cast<FakePane *>(v->wb_format); }

    QTreeWidgetItem *item(const QString &text) const
    {
        for (QTreeWidgetItemIterator it(v->tvw_nav); *it; ++it)
            if ((*it)->text(0) == text)
                return *it;
        return nullptr;
    }

    QStringList childTexts(QTreeWidgetItem *parent) const
    {
        QStringList out;
        for (int i = 0; i < parent->childCount(); ++i)
            out << parent->child(i)->text(0);
        return out;
    }

    // Makes a node current the way a click does, then releases the button over it.
    void click(const QString &text, Qt::MouseButton button = Qt::LeftButton)
    {
        QTreeWidgetItem *it = item(text);
        QVERIFY2(it, qPrintable(text));
        v->tvw_nav->setCurrentItem(it);
        it->setSelected(true);
        v->tvw_nav_NodeClick(it);
        v->tvw_nav_MouseUp(button);
        v->ppMnu->hide();
    }

    // Hands the add-page dialog (below the root) and then the change-format dialog (on
    // 公司简介) to check, with their grids and scroll bars.
    void eachPageDialog(const std::function<void(QDialog &, FormatGrid *, QScrollBar *)> &check)
    {
        m_prompts->onDialog<dgnFrm_addFile>([&](dgnFrm_addFile &d) { check(d, d.Picture1, d.vscrl); });
        v->cmd_addFile_Click();
        click(QStringLiteral("公司简介"));
        m_prompts->onDialog<dgnFrm_modFile>([&](dgnFrm_modFile &d) { check(d, d.Picture1, d.vscrl); });
        v->cmd_mod_Click();
    }

    // Shows the view as the active window, so that focus moves as it does for a user.
    void showActive()
    {
        v->show();
        v->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(v));
    }

    // Clicks a node with the mouse.
    void mouseClick(const QString &text)
    {
        QTreeWidgetItem *it = item(text);
        QVERIFY2(it, qPrintable(text));
        QTest::mouseClick(v->tvw_nav->viewport(), Qt::LeftButton, {}, v->tvw_nav->visualItemRect(it).center());
    }

    struct ButtonState {
        bool addCat, addFile, up, down, mod;
        bool operator==(const ButtonState &) const = default;
    };
    ButtonState buttons() const
    {
        return {v->cmd_addCat->isEnabled(), v->cmd_addFile->isEnabled(), v->cmd_up->isEnabled(),
                v->cmd_down->isEnabled(), v->cmd_mod->isEnabled()};
    }

    // A tree of every kind of node:
    //   公司简介 (page, txt) · 新闻中心 (category) › 公司新闻 (news), 行业动态 (news)
    //   产品 (category) › 家电 (category) › 冰箱 (imgs), 空调 (adv) ; 产品 › 目录页 (page, NULL format)
    void buildSampleTree()
    {
        SiteDb &db = app().conn;
        db.exec(QStringLiteral("INSERT INTO firstCatalog VALUES ('公司简介',0,1,'txt'),('新闻中心',1,2,NULL),('产品',1,3,NULL)"));
        db.exec(QStringLiteral("INSERT INTO secondCatalog VALUES ('新闻中心','公司新闻',0,1,'news'),"
                               "('新闻中心','行业动态',0,2,'news'),('产品','家电',1,1,NULL),('产品','目录页',0,2,NULL)"));
        db.exec(QStringLiteral("INSERT INTO thirdCatalog VALUES ('产品','家电','冰箱',0,1,'imgs'),('产品','家电','空调',0,2,'adv')"));
        db.exec(QStringLiteral("INSERT INTO content01 (firstCatalog, value01, value02) VALUES ('公司简介','标题','内容')"));
        v->ppMnu_refresh_Click();
    }

private slots:
    void init()
    {
        m_site = std::make_unique<ViewSite>();
        m_prompts = &m_site->prompts;
        m_prog = &m_site->prog;
        v = forms().get<designFrm>();
    }

    void cleanup()
    {
        m_site.reset();
    }

    void loadsTheTreeWithTheRootCurrent()
    {
        buildSampleTree();
        QTreeWidgetItem *root = v->root();
        QCOMPARE(root->text(0), QStringLiteral("我的网站"));
        QCOMPARE(root->data(0, designFrm::KeyRole).toString(), QStringLiteral("root"));
        QVERIFY(root->isExpanded());
        QCOMPARE(v->mNode(), root);
        QCOMPARE(childTexts(root), (QStringList{"公司简介", "新闻中心", "产品"}));
        QCOMPARE(childTexts(item("产品")), (QStringList{"家电", "目录页"}));
        QCOMPARE(item("冰箱")->data(0, designFrm::KeyRole).toString(), QStringLiteral("thd_7_1"));
        QVERIFY(!v->cmd_mod->isEnabled());
        QCOMPARE(v->minimumSize(), QSize(675, 413));
        QCOMPARE(m_prompts->calls.size(), 0);
    }

    void aClosedConnectionIsReported()
    {
        app().conn.close();
        v->ppMnu_refresh_Click();
        QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("不期望的错误！errNo:mdl_nov\r\n数据库没有打开"));
        QCOMPARE(m_prompts->lastMessage().style, 16);
        QCOMPARE(m_prompts->lastMessage().title, QStringLiteral("提示"));
        // The root stays, and handlers still find a current node.
        QVERIFY(v->root());
        QCOMPARE(v->mNode(), v->root());
    }

    // Another program holds the database while the tree is read again: the bare root
    // takes no command but a reload (a name or a place chosen in it would be a guess),
    // and the tree loads once the database can be read.
    void aTreeReadUnderALockTakesNoInputUntilItLoads()
    {
        buildSampleTree();
        testenv::OtherProgramLock lock(app().conn);
        v->cmd_refresh_Click();
        QCOMPARE(m_prompts->messages(),
                 QStringList{QStringLiteral("不期望的错误！errNo:mdl_nov\r\n") + err::text(err::Kind::DbLocked)});
        QCOMPARE(v->root()->childCount(), 0);
        lock.release();
        // Released, not yet noticed: every command but the reload stays off, and its
        // handler does nothing (a dialog or box not scripted here fails the test).
        QCOMPARE(buttons(), (ButtonState{false, false, false, false, false}));
        QVERIFY(!v->cmd_delNode->isEnabled() && !v->cmd_ren->isEnabled());
        for (QAction *a : {v->ppMnu_addCat, v->ppMnu_addFile, v->ppMnu_del, v->ppMnu_ren, v->ppMnu_moveUp,
                           v->ppMnu_moveDown})
            QVERIFY(!a->isEnabled());
        QVERIFY(v->cmd_refresh->isEnabled() && v->ppMnu_refresh->isEnabled());
        v->cmd_addCat_Click();
        v->cmd_addFile_Click();
        v->cmd_delNode_Click();
        v->cmd_ren_Click();
        v->cmd_mod_Click();
        QCOMPARE(m_prompts->calls.size(), 1);
        viewloads::retry();
        QCOMPARE(childTexts(v->root()), (QStringList{"公司简介", "新闻中心", "产品"}));
        QCOMPARE(buttons(), (ButtonState{true, true, false, false, false}));
        QCOMPARE(m_prompts->calls.size(), 1);
    }

    // The tree shown may be older than what is stored: a name stored at any level is
    // refused by every add and rename all the same, with the message of a name shown.
    void aNameStoredButNotShownIsRefused()
    {
        buildSampleTree();
        // Stored behind the tree's back, each with a column of its level to rename.
        const QList<std::tuple<QString, QString, QString>> stored{
            {QStringLiteral("一级"), QStringLiteral("INSERT INTO firstCatalog VALUES ('一级',0,9,'txt')"),
             QStringLiteral("公司简介")},
            {QStringLiteral("二级"), QStringLiteral("INSERT INTO secondCatalog VALUES ('新闻中心','二级',0,9,'txt')"),
             QStringLiteral("公司新闻")},
            {QStringLiteral("三级"), QStringLiteral("INSERT INTO thirdCatalog VALUES ('产品','家电','三级',0,9,'txt')"),
             QStringLiteral("冰箱")},
        };
        for (const auto &[name, insert, column] : stored) {
            app().conn.exec(insert);
            const auto typeName = [name](auto &d) {
                d.txt_name->setText(name);
                d.cmd_cfm_Click();
                d.cmd_cnl_Click();
            };
            click(QStringLiteral("我的网站"));
            m_prompts->onDialog<dgnFrm_addCat>(typeName);
            v->cmd_addCat_Click();
            click(QStringLiteral("家电"));
            m_prompts->onDialog<dgnFrm_addFile>(typeName);
            v->cmd_addFile_Click();
            click(column);
            v->tvw_nav_BeforeLabelEdit();
            v->tvw_nav_AfterLabelEdit(name);
            QVERIFY(item(column));
        }
        QCOMPARE(m_prompts->messages(), QStringList(9, QStringLiteral("已存在重名，更改名称!")));
        for (const auto &[name, insert, column] : stored)
            QCOMPARE(count(QStringLiteral("SELECT (SELECT count(*) FROM firstCatalog WHERE firstCatalog=?)"
                                          " + (SELECT count(*) FROM secondCatalog WHERE secondCatalog=?)"
                                          " + (SELECT count(*) FROM thirdCatalog WHERE thirdCatalog=?) AS n"),
                           {name, name, name}),
                     1);
    }

    void activationShowsTheWelcomePage()
    {
        v->Form_Activate();
        QCOMPARE(pane()->lastPage(), QStringLiteral("tmplImg/welcome01.htm"));
    }

    void gating_data()
    {
        QTest::addColumn<QString>("node");
        QTest::addColumn<bool>("addCat");
        QTest::addColumn<bool>("addFile");
        QTest::addColumn<bool>("up");
        QTest::addColumn<bool>("down");
        QTest::newRow("root") << "我的网站" << true << true << false << false;
        QTest::newRow("first page, first child") << "公司简介" << false << false << false << true;
        QTest::newRow("first category, middle") << "新闻中心" << true << true << true << true;
        QTest::newRow("first category, last") << "产品" << true << true << true << false;
        QTest::newRow("second category") << "家电" << false << true << false << true;
        QTest::newRow("second page, null format") << "目录页" << false << false << true << false;
        QTest::newRow("third page") << "空调" << false << false << true << false;
    }

    void gating()
    {
        QFETCH(QString, node);
        QFETCH(bool, addCat);
        QFETCH(bool, addFile);
        QFETCH(bool, up);
        QFETCH(bool, down);
        buildSampleTree();
        click(node, Qt::RightButton);
        QCOMPARE(v->mNode(), item(node));
        QCOMPARE(v->ppMnu_addCat->isEnabled(), addCat);
        QCOMPARE(v->cmd_addCat->isEnabled(), addCat);
        QCOMPARE(v->ppMnu_addFile->isEnabled(), addFile);
        QCOMPARE(v->cmd_addFile->isEnabled(), addFile);
        QCOMPARE(v->ppMnu_moveUp->isEnabled(), up);
        QCOMPARE(v->cmd_up->isEnabled(), up);
        QCOMPARE(v->ppMnu_moveDown->isEnabled(), down);
        QCOMPARE(v->cmd_down->isEnabled(), down);
        QVERIFY(v->ppMnu_del->isEnabled());
        QVERIFY(v->ppMnu_ren->isEnabled());
        QVERIFY(v->ppMnu_refresh->isEnabled());
    }

    void aNullCatalogCountsAsAPage()
    {
        app().conn.exec(QStringLiteral("INSERT INTO firstCatalog VALUES ('无类型',NULL,1,'txt')"));
        v->ppMnu_refresh_Click();
        click(QStringLiteral("无类型"), Qt::RightButton);
        QVERIFY(!v->ppMnu_addCat->isEnabled());
        QVERIFY(!v->ppMnu_addFile->isEnabled());
        // A left click does not preview it: a Null Tag is not a page for the preview.
        click(QStringLiteral("无类型"));
        QVERIFY(pane()->pages.isEmpty());
    }

    void leftClickPreviewsThePagesFormat()
    {
        buildSampleTree();
        click(QStringLiteral("公司简介"));
        QCOMPARE(pane()->lastPage(), QStringLiteral("tmplImg/txt.htm"));
        QCOMPARE(v->StsBar_panel1->text(), QStringLiteral("该显示格式能够显示简单的文本内容"));
        QVERIFY(v->cmd_mod->isEnabled());
        click(QStringLiteral("冰箱"));
        QCOMPARE(pane()->lastPage(), QStringLiteral("tmplImg/imgs.htm"));
        QCOMPARE(v->StsBar_panel1->text(),
                 QStringLiteral("该显示格式能够显示以图库的形式显示图片，每张图片以超连接显示缩略图，点击超连接可放大图片"));
        // adv keeps the panel's text.
        click(QStringLiteral("空调"));
        QCOMPARE(pane()->lastPage(), QStringLiteral("tmplImg/adv.htm"));
        QCOMPARE(v->StsBar_panel1->text(),
                 QStringLiteral("该显示格式能够显示以图库的形式显示图片，每张图片以超连接显示缩略图，点击超连接可放大图片"));
        // A category or the root changes nothing but the change-format button.
        const int pages = int(pane()->pages.size());
        click(QStringLiteral("新闻中心"));
        click(QStringLiteral("我的网站"));
        QCOMPARE(pane()->pages.size(), pages);
        QVERIFY(!v->cmd_mod->isEnabled());
        QVERIFY(!forms().isLoaded<dgnFrm_modFile>());
        QCOMPARE(m_prompts->calls.size(), 0);
    }

    void aPageWithoutAKnownFormatOpensTheFormatDialog_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::newRow("null format") << "UPDATE secondCatalog SET aspFileName=NULL WHERE secondCatalog='公司新闻'";
        QTest::newRow("unknown key") << "UPDATE secondCatalog SET aspFileName='NEWS' WHERE secondCatalog='公司新闻'";
        QTest::newRow("row gone") << "DELETE FROM secondCatalog WHERE secondCatalog='公司新闻'";
    }

    void aPageWithoutAKnownFormatOpensTheFormatDialog()
    {
        QFETCH(QString, sql);
        buildSampleTree();
        app().conn.exec(sql);
        click(QStringLiteral("公司新闻"));
        dgnFrm_modFile *dlg = forms().find<dgnFrm_modFile>();
        QVERIFY(dlg);
        QVERIFY(dlg->isVisible());
        QVERIFY(!dlg->isModal());
        QVERIFY(pane()->pages.isEmpty());
        QCOMPARE(dlg->targetName(), QStringLiteral("公司新闻"));
        // Opens on "文本格式" whatever the page had.
        QCOMPARE(dlg->Picture1->chosenFormat(), QStringLiteral("txt"));
        // The change-format button brings it forward instead of opening another.
        v->cmd_mod_Click();
        QCOMPARE(forms().find<dgnFrm_modFile>(), dlg);
        // It changes the page it was opened for, so it goes when another node becomes
        // current: another page without a format has it open for itself.
        click(QStringLiteral("目录页"));
        dlg = forms().find<dgnFrm_modFile>();
        QVERIFY(dlg && dlg->isVisible());
        QCOMPARE(dlg->targetName(), QStringLiteral("目录页"));
        QTest::keyClick(v->tvw_nav, Qt::Key_Up);
        QVERIFY(!forms().isLoaded<dgnFrm_modFile>());
    }

    void deleteCascadesAfterAsking()
    {
        buildSampleTree();
        QSignalSpy changed(v, &designFrm::catalogChanged);
        // The root cannot go.
        v->ppMnu_del_Click();
        QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("不能够删除根目录!"));
        QCOMPARE(m_prompts->lastMessage().style, 48);
        QCOMPARE(m_prompts->lastMessage().title, QStringLiteral("警告"));
        // Cancel keeps everything.
        click(QStringLiteral("产品"));
        m_prompts->answerMsg(ui::vbCancel);
        v->ppMnu_del_Click();
        QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("确实要删除“产品”项吗？"));
        QCOMPARE(m_prompts->lastMessage().style, 33);
        QCOMPARE(m_prompts->lastMessage().title, QStringLiteral("警告"));
        QVERIFY(item(QStringLiteral("产品")));
        QCOMPARE(count(QStringLiteral("SELECT count(*) AS n FROM thirdCatalog")), 2);
        QCOMPARE(changed.count(), 0);
        // OK removes the subtree from the view and the tables.
        m_prompts->answerMsg(ui::vbOK);
        v->ppMnu_del_Click();
        QVERIFY(!item(QStringLiteral("产品")));
        QVERIFY(!item(QStringLiteral("冰箱")));
        QCOMPARE(v->mNode(), v->root());
        QCOMPARE(count(QStringLiteral("SELECT count(*) AS n FROM firstCatalog WHERE firstCatalog='产品'")), 0);
        QCOMPARE(count(QStringLiteral("SELECT count(*) AS n FROM secondCatalog WHERE firstCatalog='产品'")), 0);
        QCOMPARE(count(QStringLiteral("SELECT count(*) AS n FROM thirdCatalog")), 0);
        QCOMPARE(count(QStringLiteral("SELECT count(*) AS n FROM firstCatalog")), 2);
        QCOMPARE(changed.count(), 1);
        // The keys of the removed nodes are free again; the rest stay unique.
        v->ppMnu_refresh_Click();
        QCOMPARE(childTexts(v->root()), (QStringList{"公司简介", "新闻中心"}));
    }

    void moveSwapsWithTheSibling()
    {
        buildSampleTree();
        QSignalSpy changed(v, &designFrm::catalogChanged);
        v->ppMnu_moveDown_Click();
        QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("不能够移动根目录！"));
        QCOMPARE(m_prompts->lastMessage().style, 48);
        m_prompts->clear();
        // At the ends nothing happens.
        click(QStringLiteral("公司简介"));
        v->ppMnu_moveUp_Click();
        click(QStringLiteral("产品"));
        v->ppMnu_moveDown_Click();
        QCOMPARE(m_prompts->calls.size(), 0);
        QCOMPARE(changed.count(), 0);
        // Up swaps orders and reloads with the root current.
        v->ppMnu_moveUp_Click();
        QCOMPARE(childTexts(v->root()), (QStringList{"公司简介", "产品", "新闻中心"}));
        QCOMPARE(v->mNode(), v->root());
        QCOMPARE(changed.count(), 1);
        click(QStringLiteral("行业动态"));
        v->cmd_up_Click();
        QCOMPARE(childTexts(item(QStringLiteral("新闻中心"))), (QStringList{"行业动态", "公司新闻"}));
        // A sibling whose row went behind the view's back: the order is not read.
        app().conn.exec(QStringLiteral("DELETE FROM secondCatalog WHERE secondCatalog='公司新闻'"));
        click(QStringLiteral("行业动态"));
        v->ppMnu_moveDown_Click();
        QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("排序索引值出错，排序失败!"));
        QCOMPARE(m_prompts->lastMessage().style, 16);
        QCOMPARE(m_prompts->lastMessage().title, QStringLiteral("提示"));
    }

    void rename()
    {
        buildSampleTree();
        QSignalSpy changed(v, &designFrm::catalogChanged);
        v->ppMnu_ren_Click();
        QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("不能够重命名根目录！"));
        QCOMPARE(m_prompts->lastMessage().style, 48);
        QCOMPARE(m_prompts->lastMessage().title, QStringLiteral("提示"));

        // Keeping its own name counts as a duplicate: the tree reloads.
        click(QStringLiteral("产品"));
        v->tvw_nav_BeforeLabelEdit();
        v->tvw_nav_AfterLabelEdit(QStringLiteral("产品"));
        QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("已存在重名，更改名称!"));
        QCOMPARE(m_prompts->lastMessage().style, 48);
        QCOMPARE(m_prompts->lastMessage().title, QStringLiteral("警告"));
        QCOMPARE(v->mNode(), v->root());
        // The site name is taken too; another case is not.
        click(QStringLiteral("产品"));
        v->tvw_nav_BeforeLabelEdit();
        v->tvw_nav_AfterLabelEdit(QStringLiteral("我的网站"));
        QCOMPARE(m_prompts->messageCount(), 3);
        // Empty.
        click(QStringLiteral("产品"));
        v->tvw_nav_BeforeLabelEdit();
        v->tvw_nav_AfterLabelEdit(QString());
        QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("重命名不能为空！"));
        QCOMPARE(m_prompts->lastMessage().style, 64);
        QCOMPARE(changed.count(), 0);
        // Accepted: the label stays, children and content follow the new name.
        click(QStringLiteral("产品"));
        v->tvw_nav_BeforeLabelEdit();
        v->tvw_nav_AfterLabelEdit(QStringLiteral("O'Brien \"产品\""));
        QCOMPARE(changed.count(), 1);
        QVERIFY(item(QStringLiteral("O'Brien \"产品\"")));
        v->ppMnu_refresh_Click();
        QCOMPARE(childTexts(item(QStringLiteral("O'Brien \"产品\""))), (QStringList{"家电", "目录页"}));
        click(QStringLiteral("公司简介"));
        v->tvw_nav_BeforeLabelEdit();
        v->tvw_nav_AfterLabelEdit(QStringLiteral("Products"));
        QCOMPARE(count(QStringLiteral("SELECT count(*) AS n FROM content01 WHERE firstCatalog='Products'")), 1);
        // "products" differs only in case: accepted.
        click(QStringLiteral("Products"));
        v->tvw_nav_BeforeLabelEdit();
        v->tvw_nav_AfterLabelEdit(QStringLiteral("products"));
        QVERIFY(item(QStringLiteral("products")));
    }

    // A page open in the data-entry view with typing not yet saved, renamed here through
    // the label editor: the page stays open under its new name with the typing, and its
    // save goes to it.
    void renamingThePageOpenForEntryKeepsItsTyping()
    {
        buildSampleTree();
        insDataFrm *entry = forms().get<insDataFrm>();
        MDIFrm::linkViews();
        const auto open = [entry](const QString &text) {
            for (QTreeWidgetItemIterator it(entry->tvw_nav); *it; ++it)
                if ((*it)->text(0) == text) {
                    entry->tvw_nav->setCurrentItem(*it);
                    entry->tvw_nav_MouseUp(Qt::LeftButton);
                    return;
                }
            QFAIL(qPrintable(text));
        };
        const auto rename = [this](const QString &from, const QString &to) {
            click(from);
            v->ppMnu_ren_Click();
            auto *editor = v->tvw_nav->findChild<QLineEdit *>();
            QVERIFY(editor);
            editor->setText(to);
            QTest::keyClick(editor, Qt::Key_Return);
            QTRY_VERIFY(item(to));
        };
        showActive();
        open(QStringLiteral("公司简介"));
        entry->txt_title->selectAll();
        QTest::keyClicks(entry->txt_title, QStringLiteral("Draft, not saved"));
        rename(QStringLiteral("公司简介"), QStringLiteral("关于我们"));
        QCOMPARE(m_prompts->calls.size(), 0);
        QCOMPARE(entry->currText(), QStringLiteral("关于我们"));
        QCOMPARE(entry->tvw_nav->currentItem(), entry->currNode);
        QCOMPARE(entry->txt_title->text(), QStringLiteral("Draft, not saved"));
        QVERIFY(entry->cmd_OK->isEnabled());
        QCOMPARE(entry->StsBar_panel1->text(), QStringLiteral("当前栏目：关于我们"));
        entry->cmd_OK_Click();
        QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("数据已保存！"));
        QCOMPARE(count(QStringLiteral("SELECT count(*) AS n FROM content01 WHERE firstCatalog='关于我们' "
                                      "AND value01='Draft, not saved'")),
                 1);

        // A page of the editor: its save follows the new name too.
        open(QStringLiteral("空调"));
        entry->advEditer->putInnerHTML(QStringLiteral("<p>typed</p>"));
        rename(QStringLiteral("空调"), QStringLiteral("空调机"));
        QCOMPARE(entry->currText(), QStringLiteral("空调机"));
        m_prompts->clear();
        entry->advEditer->saveContent();
        QCOMPARE(m_prompts->messages(), QStringList{QStringLiteral("数据保存成功！")});
        QCOMPARE(count(QStringLiteral("SELECT count(*) AS n FROM content03 WHERE thirdCatalog='空调机' "
                                      "AND value01='<p>typed</p>'")),
                 1);
    }

    void renameThroughTheEditor()
    {
        buildSampleTree();
        click(QStringLiteral("新闻中心"));
        v->show();
        v->ppMnu_ren_Click();
        auto *editor = v->tvw_nav->findChild<QLineEdit *>();
        QVERIFY(editor);
        // Escape: no message, nothing changes.
        QTest::keyClick(editor, Qt::Key_Escape);
        testenv::settle();
        QCOMPARE(m_prompts->calls.size(), 0);
        QVERIFY(item(QStringLiteral("新闻中心")));
        // Enter commits through the rename handler.
        click(QStringLiteral("新闻中心"));
        v->ppMnu_ren_Click();
        editor = v->tvw_nav->findChild<QLineEdit *>();
        QVERIFY(editor);
        editor->setText(QStringLiteral("新闻"));
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_VERIFY(item(QStringLiteral("新闻")));
        QCOMPARE(count(QStringLiteral("SELECT count(*) AS n FROM secondCatalog WHERE firstCatalog='新闻'")), 2);
        // A command run while the editor is still open takes its text as the new name.
        click(QStringLiteral("新闻"));
        v->ppMnu_ren_Click();
        editor = v->tvw_nav->findChild<QLineEdit *>();
        QVERIFY(editor);
        editor->setText(QStringLiteral("动态"));
        v->ppMnu_refresh_Click();
        QVERIFY(item(QStringLiteral("动态")));
        QCOMPARE(count(QStringLiteral("SELECT count(*) AS n FROM firstCatalog WHERE firstCatalog='动态'")), 1);
        testenv::settle();
        QCOMPARE(m_prompts->calls.size(), 0);
        QVERIFY(!v->tvw_nav->findChild<QLineEdit *>() || !v->tvw_nav->findChild<QLineEdit *>()->isVisible());
    }

    void addCategory()
    {
        QSignalSpy changed(v, &designFrm::catalogChanged);
        // Under the root: orderID 1 for the first.
        m_prompts->onDialog<dgnFrm_addCat>([](dgnFrm_addCat &d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("添加目录"));
            QCOMPARE(d.Label1->text(), QStringLiteral("目录名称："));
            d.txt_name->setText(QStringLiteral("关于'我们'"));
            d.cmd_cfm_Click();
        });
        v->cmd_addCat_Click();
        QTreeWidgetItem *added = item(QStringLiteral("关于'我们'"));
        QVERIFY(added);
        QCOMPARE(added->parent(), v->root());
        QVERIFY(added->data(0, designFrm::KeyRole).toString().startsWith(QStringLiteral("fst_")));
        QCOMPARE(added->data(0, designFrm::TagRole), QVariant(true));
        const Rows rows = app().conn.select(QStringLiteral("SELECT * FROM firstCatalog"));
        QCOMPARE(rows.size(), size_t(1));
        QCOMPARE(db::integer(rows[0], QStringLiteral("orderID")), 1);
        QCOMPARE(db::integer(rows[0], QStringLiteral("catalog")), 1);
        QVERIFY(db::isNull(rows[0], QStringLiteral("aspFileName")));
        QCOMPARE(changed.count(), 1);

        // Under a first-level category: one more than the largest sibling order.
        app().conn.exec(QStringLiteral("INSERT INTO secondCatalog VALUES ('关于''我们''','旧',1,7,NULL)"));
        v->ppMnu_refresh_Click();
        click(QStringLiteral("关于'我们'"));
        m_prompts->onDialog<dgnFrm_addCat>([](dgnFrm_addCat &d) {
            d.txt_name->setText(QStringLiteral("团队"));
            d.cmd_cfm_Click();
        });
        v->ppMnu_addCat_Click();
        QVERIFY(item(QStringLiteral("团队")));
        QVERIFY(item(QStringLiteral("关于'我们'"))->isExpanded());
        QCOMPARE(db::integer(app().conn.select(QStringLiteral("SELECT orderID FROM secondCatalog WHERE secondCatalog='团队'")).front(),
                             QStringLiteral("orderID")),
                 8);

        // A duplicate keeps the dialog open with nothing stored.
        m_prompts->onDialog<dgnFrm_addCat>([](dgnFrm_addCat &d) {
            d.txt_name->setText(QStringLiteral("我的网站"));
            d.cmd_cfm_Click();
            QVERIFY(d.isVisible() || !d.result());
            d.cmd_cnl_Click();
        });
        click(QStringLiteral("我的网站"));
        v->ppMnu_addCat_Click();
        QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("已存在重名，更改名称!"));
        QCOMPARE(m_prompts->lastMessage().style, 48);
        QCOMPARE(count(QStringLiteral("SELECT count(*) AS n FROM firstCatalog")), 1);

        // No category under a second-level category: refused before any dialog.
        click(QStringLiteral("团队"));
        v->cmd_addCat_Click();
        QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("当前栏目下不能添加该类栏目！"));
        QCOMPARE(m_prompts->lastMessage().style, 48);
        QCOMPARE(m_prompts->lastMessage().title, QStringLiteral("提示"));
    }

    void addPage()
    {
        buildSampleTree();
        // Under a second-level category, the third level names both ancestors.
        click(QStringLiteral("家电"));
        m_prompts->onDialog<dgnFrm_addFile>([](dgnFrm_addFile &d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("添加文件"));
            QCOMPARE(d.Picture1->chosenFormat(), QStringLiteral("txt"));
            QCOMPARE(d.Picture1->opt[4]->text(), QStringLiteral("图文格式三"));
            // An empty name is refused, the name box keeps the focus.
            d.cmd_cfm_Click();
            d.img_Click(5);
            d.txt_name->setText(QStringLiteral("电视"));
            d.cmd_cfm_Click();
        });
        v->cmd_addFile_Click();
        QCOMPARE(m_prompts->messages().first(), QStringLiteral("请输入文件名称！"));
        QCOMPARE(m_prompts->calls.at(1).style, 16);
        QCOMPARE(m_prompts->calls.at(1).title, QStringLiteral("警告"));
        const Rows rows = app().conn.select(QStringLiteral("SELECT * FROM thirdCatalog WHERE thirdCatalog='电视'"));
        QCOMPARE(rows.size(), size_t(1));
        QCOMPARE(db::text(rows[0], QStringLiteral("firstCatalog")), QStringLiteral("产品"));
        QCOMPARE(db::text(rows[0], QStringLiteral("secondCatalog")), QStringLiteral("家电"));
        QCOMPARE(db::integer(rows[0], QStringLiteral("catalog"), -1), 0);
        QCOMPARE(db::integer(rows[0], QStringLiteral("orderID")), 3);
        QCOMPARE(db::text(rows[0], QStringLiteral("aspFileName")), QStringLiteral("bigImg"));
        QTreeWidgetItem *added = item(QStringLiteral("电视"));
        QVERIFY(added->data(0, designFrm::KeyRole).toString().startsWith(QStringLiteral("thd_")));
        QCOMPARE(added->data(0, designFrm::TagRole), QVariant(false));
        // The new page previews at once.
        click(QStringLiteral("电视"));
        QCOMPARE(pane()->lastPage(), QStringLiteral("tmplImg/bigImg.htm"));

        // A blank name is a name; no page under a page, nothing below the third level.
        click(QStringLiteral("我的网站"));
        m_prompts->onDialog<dgnFrm_addFile>([](dgnFrm_addFile &d) {
            d.txt_name->setText(QStringLiteral("  "));
            d.cmd_cfm_Click();
        });
        v->ppMnu_addFile_Click();
        QCOMPARE(count(QStringLiteral("SELECT count(*) AS n FROM firstCatalog WHERE firstCatalog='  ' AND orderID=4")), 1);
        click(QStringLiteral("公司简介"));
        v->cmd_addFile_Click();
        QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("当前栏目下不能添加该类栏目！"));
        click(QStringLiteral("电视"));
        v->cmd_addFile_Click();
        QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("当前栏目下不能添加该类栏目！"));
        // Keys stay unique across the tree.
        QSet<QString> keys;
        int n = 0;
        for (QTreeWidgetItemIterator it(v->tvw_nav); *it; ++it, ++n)
            keys.insert((*it)->data(0, designFrm::KeyRole).toString());
        QCOMPARE(keys.size(), n);
    }

    void aRefusedInsertLeavesTheTreeAsItWas()
    {
        // The database refuses the row (a trigger stands for any failure).
        app().conn.exec(QStringLiteral("CREATE TRIGGER no_rows BEFORE INSERT ON firstCatalog "
                                       "BEGIN SELECT RAISE(ABORT, 'refused'); END"));
        m_prompts->onDialog<dgnFrm_addCat>([](dgnFrm_addCat &d) {
            d.txt_name->setText(QStringLiteral("新目录"));
            d.cmd_cfm_Click();
            d.cmd_cnl_Click();
        });
        v->cmd_addCat_Click();
        QCOMPARE(m_prompts->lastMessage().style, 16);
        QCOMPARE(m_prompts->lastMessage().title, QStringLiteral("警告"));
        QVERIFY(m_prompts->lastMessage().text.contains(QStringLiteral("refused")));
        QCOMPARE(v->root()->childCount(), 0);
    }

    void changeFormat()
    {
        buildSampleTree();
        QSignalSpy changed(v, &designFrm::catalogChanged);
        // Choosing the page's own format again keeps its content.
        click(QStringLiteral("公司简介"));
        m_prompts->onDialog<dgnFrm_modFile>([](dgnFrm_modFile &d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("修改显示模式"));
            QCOMPARE(d.Picture1->opt[4]->text(), QStringLiteral("图片格式三"));
            d.cmd_cfm_Click();
        });
        v->cmd_mod_Click();
        QCOMPARE(count(QStringLiteral("SELECT count(*) AS n FROM content01 WHERE value01='标题'")), 1);
        QCOMPARE(changed.count(), 0);
        // Another format blanks the thirty columns, keeps the row, previews at once.
        m_prompts->onDialog<dgnFrm_modFile>([](dgnFrm_modFile &d) {
            d.opt_Click(1);
            d.cmd_cfm_Click();
        });
        v->cmd_mod_Click();
        const Rows rows = app().conn.select(QStringLiteral("SELECT * FROM content01"));
        QCOMPARE(rows.size(), size_t(1));
        for (const QString &c : {QStringLiteral("value01"), QStringLiteral("value02"), QStringLiteral("field15")}) {
            QVERIFY(!db::isNull(rows[0], c));
            QCOMPARE(db::text(rows[0], c), QString());
        }
        QCOMPARE(CatalogStore(app().conn).getAspFileName(Level::First, QStringLiteral("公司简介")), QStringLiteral("news"));
        QCOMPARE(pane()->lastPage(), QStringLiteral("tmplImg/news.htm"));
        QCOMPARE(changed.count(), 1);
    }

    void theFormatDialogKeepsItsPage()
    {
        buildSampleTree();
        click(QStringLiteral("空调"));
        app().conn.exec(QStringLiteral("UPDATE thirdCatalog SET aspFileName='x' WHERE thirdCatalog='空调'"));
        click(QStringLiteral("空调"));
        dgnFrm_modFile *dlg = forms().find<dgnFrm_modFile>();
        QVERIFY(dlg && dlg->isVisible());
        // The user clicks elsewhere while the dialog is open without modality.
        click(QStringLiteral("公司简介"));
        dlg->opt_Click(7);
        dlg->cmd_cfm_Click();
        QCOMPARE(CatalogStore(app().conn).getAspFileName(Level::Third, QStringLiteral("空调")), QStringLiteral("adv"));
        QCOMPARE(CatalogStore(app().conn).getAspFileName(Level::First, QStringLiteral("公司简介")), QStringLiteral("txt"));
        testenv::settle();
        QVERIFY(!forms().isLoaded<dgnFrm_modFile>());

        // The page deleted while the dialog is open: nothing is written, the tree reloads.
        click(QStringLiteral("冰箱"));
        app().conn.exec(QStringLiteral("UPDATE thirdCatalog SET aspFileName=NULL WHERE thirdCatalog='冰箱'"));
        click(QStringLiteral("冰箱"));
        dlg = forms().find<dgnFrm_modFile>();
        QVERIFY(dlg);
        app().conn.exec(QStringLiteral("DELETE FROM thirdCatalog WHERE thirdCatalog='冰箱'"));
        dlg->opt_Click(2);
        dlg->cmd_cfm_Click();
        QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("请先在设计栏目中设计好该栏目或单击右键刷新！"));
        QCOMPARE(m_prompts->lastMessage().style, 48);
        QCOMPARE(m_prompts->lastMessage().title, QStringLiteral("警告"));
        QVERIFY(!item(QStringLiteral("冰箱")));
        QCOMPARE(v->mNode(), v->root());
    }

    // A rename left open when another command is clicked: the rename is settled
    // first, and the command then works on the tree as the rename left it.
    void renameThenDeleteThroughClicks_data()
    {
        QTest::addColumn<bool>("typeText");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QStringList>("columnsAfter");
        const QStringList all{"O'Neil简介", "公司简介", "新闻中心", "产品"};
        QTest::newRow("unchanged") << false << QString() << QStringList{"已存在重名，更改名称!"} << all;
        QTest::newRow("cleared") << true << QString() << QStringList{"重命名不能为空！"} << all;
        QTest::newRow("new name") << true << QStringLiteral("关于我们") << QStringList{"确实要删除“关于我们”项吗？"}
                                  << QStringList{"公司简介", "新闻中心", "产品"};
    }

    void renameThenDeleteThroughClicks()
    {
        QFETCH(bool, typeText);
        QFETCH(QString, typed);
        QFETCH(QStringList, messages);
        QFETCH(QStringList, columnsAfter);
        app().conn.exec(QStringLiteral("INSERT INTO firstCatalog VALUES ('O''Neil简介',0,0,'txt')"));
        buildSampleTree();
        m_prompts->runEventsInBoxes = true;
        showActive();
        mouseClick(QStringLiteral("O'Neil简介"));
        QTest::mouseClick(v->cmd_ren, Qt::LeftButton);
        auto *editor = v->tvw_nav->findChild<QLineEdit *>();
        QVERIFY(editor && editor->hasFocus());
        if (typeText) {
            editor->selectAll();
            QTest::keyClick(editor, Qt::Key_Backspace);
            editor->insert(typed); // typed: keyClicks knows Latin-1 only
        }
        m_prompts->answerMsg(ui::vbOK);
        QTest::mouseClick(v->cmd_delNode, Qt::LeftButton);
        testenv::settle();
        QCOMPARE(m_prompts->messages(), messages);

        const auto stored = [] {
            QStringList names;
            for (const QSqlRecord &r : app().conn.select(QStringLiteral("SELECT firstCatalog FROM firstCatalog ORDER BY orderID")))
                names << db::text(r, QStringLiteral("firstCatalog"));
            return names;
        };
        QCOMPARE(stored(), columnsAfter);
        QVERIFY(v->root());
        QCOMPARE(childTexts(v->root()), columnsAfter);
        QCOMPARE(v->mNode(), v->root());
        // Another delete meets the root, and after a refresh the tree is what is stored.
        m_prompts->clear();
        QTest::mouseClick(v->cmd_delNode, Qt::LeftButton);
        QCOMPARE(m_prompts->messages(), QStringList{"不能够删除根目录!"});
        QTest::mouseClick(v->cmd_refresh, Qt::LeftButton);
        QCOMPARE(childTexts(v->root()), columnsAfter);
    }

    // Whenever the root becomes current again, the commands follow it at once.
    void buttonsFollowEveryReload_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("refresh") << "refresh";
        QTest::newRow("move") << "move";
        QTest::newRow("delete") << "delete";
        QTest::newRow("refused rename") << "refused rename";
        QTest::newRow("format dialog finds the page gone") << "page gone";
    }

    void buttonsFollowEveryReload()
    {
        QFETCH(QString, path);
        buildSampleTree();
        click(QStringLiteral("公司简介"));
        // A first-level page that can move down, previewed.
        QCOMPARE(buttons(), (ButtonState{false, false, false, true, true}));
        if (path == "refresh") {
            v->cmd_refresh_Click();
        } else if (path == "move") {
            v->cmd_down_Click();
        } else if (path == "delete") {
            m_prompts->answerMsg(ui::vbOK);
            v->cmd_delNode_Click();
        } else if (path == "refused rename") {
            v->cmd_ren_Click();
            v->tvw_nav_AfterLabelEdit(QStringLiteral("产品"));
        } else {
            m_prompts->onDialog<dgnFrm_modFile>([](dgnFrm_modFile &d) {
                app().conn.exec(QStringLiteral("DELETE FROM firstCatalog WHERE firstCatalog='公司简介'"));
                d.opt_Click(1);
                d.cmd_cfm_Click();
            });
            v->cmd_mod_Click();
        }
        QCOMPARE(v->mNode(), v->root());
        QCOMPARE(buttons(), (ButtonState{true, true, false, false, false}));
        QCOMPARE(v->ppMnu_moveDown->isEnabled(), false);
        QCOMPARE(v->ppMnu_addCat->isEnabled(), true);
        // The keyboard moves the current node too.
        v->tvw_nav->setCurrentItem(item(QStringLiteral("产品")));
        QCOMPARE(v->mNode(), item(QStringLiteral("产品")));
        QCOMPARE(buttons(), (ButtonState{true, true, true, false, false}));
    }

    // Both page dialogs at their design size: each option, caption and button whole,
    // lies inside the grid at one end of the scroll range or the other.
    void everyFormatOptionCanBeSeen()
    {
        buildSampleTree();
        const auto check = [](QDialog &d, FormatGrid *grid, QScrollBar *bar) {
            d.adjustSize();
            d.show();
            QVERIFY(QTest::qWaitForWindowExposed(&d));
            // The grid itself is not cut off by the dialog.
            QCOMPARE(grid->visibleRegion().boundingRect(), grid->rect());
            QList<QRect> atTop, atEnd;
            bar->setValue(0);
            for (QRadioButton *o : grid->opt)
                atTop << o->geometry();
            bar->setValue(bar->maximum());
            for (QRadioButton *o : grid->opt)
                atEnd << o->geometry();
            for (int i = 0; i < 8; ++i) {
                const bool seen = grid->rect().contains(atTop[i]) || grid->rect().contains(atEnd[i]);
                QVERIFY2(seen, qPrintable(grid->opt[i]->text()));
                QVERIFY(grid->opt[i]->width() >= grid->opt[i]->sizeHint().width());
            }
            QVERIFY(grid->rect().contains(atEnd[6]));
            QVERIFY(grid->rect().contains(atEnd[7]));
            d.reject();
        };
        eachPageDialog(check);
    }

    void statusHints()
    {
        QEvent enter(QEvent::Enter);
        QCoreApplication::sendEvent(v->cmd_up, &enter);
        QCOMPARE(v->StsBar_panel1->text(), QStringLiteral("将当前选中节点顺序的上移一位"));
        QCoreApplication::sendEvent(v->cmd_mod, &enter);
        QCOMPARE(v->StsBar_panel1->text(), QStringLiteral("修改当前选中节点的显示格式"));
        v->Frame_nav_MouseMove();
        QCOMPARE(v->StsBar_panel1->text(), QString());
    }

    void gridGeometry()
    {
        const FormatGrid::Place p0 = FormatGrid::gridPos(0, 0);
        QCOMPARE(p0.thumbnail, QPoint(180, 585));
        QCOMPARE(p0.option, QPoint(705, 2250));
        QCOMPARE(FormatGrid::gridPos(4, 0).thumbnail, QPoint(180 + 2640, 2775));
        QCOMPARE(FormatGrid::gridPos(7, 100).option, QPoint(705 + 2640, 6630 - 100));
        FormatGrid grid(FormatGrid::Variant::AddFile);
        QVERIFY(grid.lbl_bg->isHidden());
        grid.img_Click(3);
        QCOMPARE(grid.chosenFormat(), QStringLiteral("imgTxt02"));
        QVERIFY(!grid.lbl_bg->isHidden());
        QCOMPARE(grid.img[3]->frameShape(), QFrame::NoFrame);
        QCOMPARE(grid.img[2]->frameShape(), QFrame::Box);
        grid.vscrl_Change(2470);
        QCOMPARE(grid.opt[6]->y(), (6630 - 2470 + 7) / 15);
        QCOMPARE(grid.lbl_bg->pos(), QPoint((180 + 70 + 7) / 15, (2775 + 70 - 2470 + 7) / 15));
    }

    // A node reached with the arrows does what a click on it does; F2 starts the
    // rename as 重命名 does.
    void theKeyboardDoesWhatTheMouseDoes()
    {
        buildSampleTree();
        showActive();
        QTreeWidget *tree = v->tvw_nav;
        tree->setFocus();
        QTest::keyClick(tree, Qt::Key_Down);
        QCOMPARE(v->mNode(), item(QStringLiteral("公司简介")));
        QVERIFY(v->cmd_mod->isEnabled());
        QCOMPARE(pane()->lastPage(), QStringLiteral("tmplImg/txt.htm"));
        QTest::keyClick(tree, Qt::Key_Down);
        QCOMPARE(v->mNode(), item(QStringLiteral("新闻中心")));
        QVERIFY(!v->cmd_mod->isEnabled());
        QTest::keyClick(tree, Qt::Key_Right);
        QTest::keyClick(tree, Qt::Key_Down);
        QCOMPARE(v->mNode(), item(QStringLiteral("公司新闻")));
        QCOMPARE(pane()->lastPage(), QStringLiteral("tmplImg/news.htm"));
        QVERIFY(v->cmd_mod->isEnabled());
        QTest::keyClick(tree, Qt::Key_F2);
        auto *editor = tree->findChild<QLineEdit *>();
        QVERIFY(editor && editor->hasFocus());
        editor->selectAll();
        QTest::keyClicks(editor, QStringLiteral("News"));
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_VERIFY(item(QStringLiteral("News")));
        QCOMPARE(count(QStringLiteral("SELECT count(*) AS n FROM secondCatalog WHERE secondCatalog='News'")), 1);
        // On the root F2 meets the refusal the button gives.
        QTest::keyClick(tree, Qt::Key_Home);
        QCOMPARE(v->mNode(), v->root());
        QTest::keyClick(tree, Qt::Key_F2);
        QVERIFY(!tree->findChild<QLineEdit *>() || !tree->findChild<QLineEdit *>()->isVisible());
        QCOMPARE(m_prompts->messageCount(), 1);
    }

    // In both page dialogs the format chosen with the arrows is scrolled into sight, and
    // the wheel over a thumbnail scrolls the grid.
    void theChosenFormatIsInSight()
    {
        buildSampleTree();
        const auto check = [](QDialog &d, FormatGrid *grid, QScrollBar *bar) {
            d.show();
            d.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&d));
            const auto inSight = [grid](int i) {
                return grid->rect().contains(grid->img[i]->geometry()) && grid->rect().contains(grid->opt[i]->geometry());
            };
            grid->opt[0]->setFocus();
            QTest::keyClick(grid->opt[0], Qt::Key_Down);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
            QCOMPARE(grid->chosenIndex(), 6);
            QVERIFY(grid->opt[6]->hasFocus());
            QVERIFY(inSight(6));
            QTest::keyClick(grid->opt[6], Qt::Key_Up);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
            QCOMPARE(grid->chosenIndex(), 0);
            QVERIFY(inSight(0));
            QCOMPARE(bar->value(), 0);
            QWheelEvent wheel(QPointF(10, 10), grid->img[1]->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, -120),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(grid->img[1], &wheel);
            QVERIFY(bar->value() > 0);
            QCOMPARE(grid->img[1]->y(), twips::toPx(585 - bar->value()));
            d.reject();
        };
        eachPageDialog(check);
    }
};

QUORVIK_TEST_MAIN(TestDesignView)
#include "test_designview.moc"
