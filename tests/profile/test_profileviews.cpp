// The basic-information and template views, their editors, pickers and previews,
// driven through their handlers: what they store, the boxes they show and what the
// user sees afterwards.
#include "core/appcontext.h"
#include "core/stylemanifest.h"
#include "core/twips.h"
#include "design/designfrm.h"
#include "fakepane.h"
#include "fakeprompter.h"
#include "profile/infofrm.h"
#include "profile/slttmpl_editors.h"
#include "profile/slttmpl_pickers.h"
#include "profile/slttmpl_previews.h"
#include "profile/slttmplfrm.h"
#include "shell/mdifrm.h"
#include "testenv.h"
#include "testmain.h"
#include "ui/viewloads.h"

#include <QApplication>
#include <QFileInfo>
#include <QMdiSubWindow>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QWheelEvent>
#include <QtTest/qtestspontaneevent.h>
#include <memory>

using namespace profile;

class TestProfileViews : public QObject {
    Q_OBJECT

    std::unique_ptr<testenv::ProgramFolder> m_prog;
    std::unique_ptr<FakePrompter> m_prompts;
    std::unique_ptr<FakePaneFactory> m_panes;

    SiteDb &db() { return app().conn; }
    QString data(const QString &name = QString()) const { return app().currImgPath + name; }
    QString column(const QString &name) { return ProfileStore(db()).load().text(name); }
    void set(const QString &sql) { db().exec(QStringLiteral("UPDATE user_info SET ") + sql); }

    // One notch of the mouse wheel, turned towards the user over a widget.
    static void turnWheelDown(QWidget *w)
    {
        const QPointF at(w->width() / 2.0, w->height() / 2.0);
        QWheelEvent wheel(at, w->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        // As from the mouse: only such a wheel goes on to the parents when a widget ignores it.
        QSpontaneKeyEvent::setSpontaneous(&wheel);
        qApp->notify(w, &wheel);
    }

private slots:
    void init()
    {
        m_prog = std::make_unique<testenv::ProgramFolder>();
        m_prompts = std::make_unique<FakePrompter>();
        m_panes = std::make_unique<FakePaneFactory>();
        // A main window that a test unloaded leaves the registry closing.
        forms().closing = false;
        // Pictures come from the build's program folder; the data folder is temporary.
        app().currentPath = testenv::appDir();
        app().currImgPath = m_prog->file(QStringLiteral("userImages/"));
        testenv::makeDatabase(db(), data(QStringLiteral("brevonel.qdb")));
    }

    void cleanup()
    {
        forms().unloadAll();
        testenv::settle();
        db().close();
        m_panes.reset();
        m_prompts.reset();
        m_prog.reset();
    }

    void infoLoadAndSave()
    {
        set(QStringLiteral("gov_name='星河', Address=NULL, logo='missing.png'"));
        infoFrm *v = forms().get<infoFrm>();
        QCOMPARE(v->txt_webName->text(), QStringLiteral("我的网站"));
        QCOMPARE(v->txt_govName->text(), QStringLiteral("星河"));
        QVERIFY(!v->cmd_ok->isEnabled());
        QVERIFY(v->img->pixmap().isNull());
        QCOMPARE(v->logoName(), QStringLiteral("missing.png"));
        QCOMPARE(m_prompts->calls.size(), 0);

        v->txt_webName->setText(QStringLiteral("  "));
        QVERIFY(v->cmd_ok->isEnabled());
        v->cmd_ok_Click();
        QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("站点名称不能为空！"));
        QVERIFY(v->cmd_ok->isEnabled());

        // A logo: a cancelled choice changes nothing; a chosen one is copied and saved.
        m_prompts->answerFile(std::nullopt);
        v->cmd_view_Click();
        QCOMPARE(m_prompts->messageCount(), 1);
        m_prompts->answerFile(testenv::appDir() + QStringLiteral("fonts/font02.png"));
        v->cmd_view_Click();
        QVERIFY(QFileInfo::exists(data(QStringLiteral("font02.png"))));
        QVERIFY(!v->img->pixmap().isNull());
        v->txt_webName->setText(QStringLiteral("新站"));
        v->cmd_ok_Click();
        QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("数据保存成功！"));
        QVERIFY(!v->cmd_ok->isEnabled());
        QCOMPARE(column(QStringLiteral("webName")), QStringLiteral("新站"));
        QCOMPARE(column(QStringLiteral("logo")), QStringLiteral("font02.png"));

        // The logo cancel writes at once and a later save keeps it empty.
        v->cmd_img_cancel_Click();
        QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("单位徽标已取消！"));
        QCOMPARE(column(QStringLiteral("logo")), QString());
        QVERIFY(!QFileInfo::exists(data(QStringLiteral("font02.png"))));
        v->txt_fax->setText(QStringLiteral("1"));
        v->cmd_ok_Click();
        QCOMPARE(column(QStringLiteral("logo")), QString());

        // A logo chosen but never saved goes with the view.
        m_prompts->answerFile(testenv::appDir() + QStringLiteral("fonts/font01.png"));
        v->cmd_view_Click();
        QVERIFY(QFileInfo::exists(data(QStringLiteral("font01.png"))));
        forms().unload<infoFrm>();
        testenv::settle();
        QVERIFY(!QFileInfo::exists(data(QStringLiteral("font01.png"))));
    }

    void infoWarnsWhenAnotherViewTakesTheFocus()
    {
        db().close();
        MDIFrm main;
        main.MDIForm_Load(m_prog->path());
        infoFrm *v = forms().find<infoFrm>();
        forms().showAndFocus(v);
        testenv::settle();
        m_prompts->clear();
        auto activate = [&](QWidget *view) {
            main.mdiArea->setActiveSubWindow(FormRegistry::subWindowOf(view));
            testenv::settle();
        };
        // Clean: no warning.
        activate(forms().find<designFrm>());
        activate(v);
        QCOMPARE(m_prompts->messageCount(), 0);
        // Dirty: one warning each time, and the view comes back.
        v->txt_tel->setText(QStringLiteral("123"));
        for (int i = 1; i <= 2; ++i) {
            activate(forms().find<designFrm>());
            QCOMPARE(m_prompts->messageCount(), i);
            QCOMPARE(main.mdiArea->activeSubWindow(), FormRegistry::subWindowOf(v));
        }
        QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("数据还未保存！"));
        QCOMPARE(m_prompts->lastMessage().style, ui::vbQuestion);
        main.MDIForm_Unload();
        testenv::settle();
    }

    void infoCloseBoxKeepsUnsavedEdits()
    {
        db().close();
        MDIFrm main;
        main.MDIForm_Load(m_prog->path());
        infoFrm *v = forms().find<infoFrm>();
        QMdiSubWindow *sub = FormRegistry::subWindowOf(v);
        forms().showAndFocus(v);
        testenv::settle();
        m_prompts->clear();
        v->txt_tel->setText(QStringLiteral("123"));
        // Each click warns; the view stays open and in front with the edits, nothing stored.
        for (int i = 1; i <= 2; ++i) {
            sub->close();
            testenv::settle();
            QCOMPARE(m_prompts->messageCount(), i);
            QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("数据还未保存！"));
            QCOMPARE(m_prompts->lastMessage().style, ui::vbQuestion);
            QCOMPARE(forms().find<infoFrm>(), v);
            QVERIFY(sub->isVisible() && v->isVisible());
            QCOMPARE(main.mdiArea->activeSubWindow(), sub);
            QCOMPARE(v->txt_tel->text(), QStringLiteral("123"));
            QVERIFY(v->cmd_ok->isEnabled());
            QCOMPARE(column(QStringLiteral("Tel")), QString());
        }
        // Saved, it closes without a word and comes back as it was.
        v->cmd_ok_Click();
        m_prompts->clear();
        sub->close();
        testenv::settle();
        QCOMPARE(m_prompts->messageCount(), 0);
        QVERIFY(!sub->isVisible());
        main.xMenu1_Click(QStringLiteral("mnuView_info"));
        QCOMPARE(forms().find<infoFrm>(), v);
        QCOMPARE(v->txt_tel->text(), QStringLiteral("123"));
        main.MDIForm_Unload();
        testenv::settle();
    }

    // After each warning the keys typed next land in the box the user was typing in: the
    // view's close box, then another view from the toolbar.
    void theKeyboardComesBackToTheBoxAfterEachWarning()
    {
        db().close();
        MDIFrm main;
        main.MDIForm_Load(m_prog->path());
        QVERIFY(QTest::qWaitForWindowActive(&main));
        m_prompts->runEventsInBoxes = true;
        infoFrm *v = forms().find<infoFrm>();
        const auto type = [&](const char *keys) {
            for (const char *k = keys; *k; ++k)
                QTest::keyClick(main.windowHandle(), *k);
            return v->txt_addr->text();
        };
        main.xToolbar1_ButtonClick(2);
        QTest::mouseClick(v->txt_addr, Qt::LeftButton);
        QCOMPARE(type("ab"), QStringLiteral("ab"));
        FormRegistry::subWindowOf(v)->close();
        QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("数据还未保存！"));
        QCOMPARE(type("cd"), QStringLiteral("abcd"));
        QTest::mouseClick(main.xToolbar1->widgetForAction(main.xToolbar1->actions().at(3)), Qt::LeftButton);
        testenv::settle();
        QCOMPARE(m_prompts->messageCount(), 2);
        QCOMPARE(type("ef"), QStringLiteral("abcdef"));
        main.MDIForm_Unload();
        testenv::settle();
    }

    void templateViewLoad()
    {
        set(QStringLiteral("defaultFile=' ', topHead='topHeadSelf.swf', field01='||a.htm||b.mht', "
                           "field03='1', adBoard='1||1||1||1||1||t||c', javascript='0', backGround='bg.jpg'"));
        sltTmplFrm *v = forms().get<sltTmplFrm>();
        // Blank custom home page: its row off.
        QVERIFY(!v->chk_default->isChecked());
        QVERIFY(!v->txt_default->isEnabled() && !v->cmd_sltDefault->isEnabled() && !v->cmd_viewDefault->isEnabled());
        QVERIFY(v->Frame1->isEnabled());
        // Head and other pages on.
        QVERIFY(v->chk_head->isChecked() && v->cmd_viewHead->isEnabled() && !v->Frame4->isEnabled());
        QCOMPARE(v->txt_head->text(), QStringLiteral("topHeadSelf.swf"));
        QVERIFY(v->chk_other->isChecked() && v->cmb_other->isEnabled());
        QCOMPARE(v->cmb_other->count(), 2);
        QCOMPARE(v->cmb_other->currentText(), QStringLiteral("a.htm"));
        QList<bool> features;
        for (QCheckBox *box : v->chk_pertain)
            features << box->isChecked();
        QCOMPARE(features, (QList<bool>{false, true, true, false, false, false}));
        // The shipped styles are shown.
        QCOMPARE(v->lbl_defaultTmpl->text(), stylemanifest::homeTemplates().first().file.left(5));
        QCOMPARE(v->lbl_headTmpl->text(), stylemanifest::innerTemplates().first().file.left(5));
        QVERIFY(!v->imgDefaultTmpl->pixmap().isNull() && !v->imgHead->pixmap().isNull());
        QCOMPARE(v->lbl_bg->text(), QStringLiteral("bg.jpg"));
        QCOMPARE(v->size(), QSize(745, 469));
        QCOMPARE(m_prompts->calls.size(), 0);
    }

    void viewsThatCannotReadTheProfileSayWhy()
    {
        db().exec(QStringLiteral("DROP TABLE user_info"));
        infoFrm *info = forms().get<infoFrm>();
        QVERIFY(info->txt_webName->text().isEmpty());
        sltTmplFrm *templates = forms().get<sltTmplFrm>();
        QVERIFY(!templates->chk_default->isChecked());
        const QStringList messages = m_prompts->messages();
        QCOMPARE(messages.size(), 2);
        for (const QString &m : messages)
            QVERIFY2(m.startsWith(err::text(err::Kind::DbStatement)) && m.contains(QStringLiteral("user_info")), qPrintable(m));
        QCOMPARE(m_prompts->lastMessage().style, 64);
    }

    // Another program holds the open database while a view loads: the view comes up empty,
    // says why once, and fills once the database can be read again.
    void aViewThatMeetsALockLoadsOnceItIsReleased()
    {
        set(QStringLiteral("address='长街1号'"));
        SiteDb::setBusyTimeoutMs(20);
        {
            QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other program"));
            other.setDatabaseName(data(QStringLiteral("brevonel.qdb")));
            QVERIFY(other.open());
            QVERIFY(QSqlQuery(other).exec(QStringLiteral("BEGIN EXCLUSIVE")));
            infoFrm *info = forms().get<infoFrm>();
            QVERIFY(info->txt_addr->text().isEmpty());
            QCOMPARE(m_prompts->messageCount(), 1);
            QVERIFY(QSqlQuery(other).exec(QStringLiteral("ROLLBACK")));
            other.close();
            viewloads::retry();
            QCOMPARE(info->txt_addr->text(), QStringLiteral("长街1号"));
            QCOMPARE(m_prompts->messageCount(), 1);
        }
        QSqlDatabase::removeDatabase(QStringLiteral("other program"));
        SiteDb::setBusyTimeoutMs(2000);
    }

    void anEmptyPagesEntryIsNoPage()
    {
        set(QStringLiteral("field01='||'"));
        sltTmplFrm *v = forms().get<sltTmplFrm>();
        QVERIFY(!v->chk_other->isChecked());
        QCOMPARE(v->cmb_other->count(), 0);
        QVERIFY(!v->cmb_other->isEnabled() && !v->cmd_other->isEnabled());
    }

    void featureBoxes()
    {
        sltTmplFrm *v = forms().get<sltTmplFrm>();
        QCheckBox *forum = v->chk_pertain.at(0);
        forum->setChecked(true);
        v->chk_pertain_MouseUp(0);
        QCOMPARE(column(QStringLiteral("field02")), QStringLiteral("1"));
        QCOMPARE(v->StatusBar1_panel1->text(), QStringLiteral("此项功能选择后，需要提供商批准后方能生效！"));
        v->Frame7_MouseMove();
        forum->setChecked(false);
        v->chk_pertain_MouseUp(0);
        QCOMPARE(column(QStringLiteral("field02")), QStringLiteral("0"));
        QCOMPARE(v->StatusBar1_panel1->text(), QString());

        // Pop-up: OK opens the editor, which stores the setting.
        QCheckBox *popup = v->chk_pertain.at(2);
        popup->setChecked(true);
        m_prompts->answerMsg(ui::vbOK);
        m_prompts->onDialog<sltTmplFrm_adBoardFrm>([](sltTmplFrm_adBoardFrm &d) {
            QCOMPARE(d.txt_width->text(), QString()); // "0" shows empty boxes
            d.txt_title->setText(QStringLiteral("通知"));
            d.cmd_ok_Click();
        });
        v->chk_pertain_MouseUp(2);
        QCOMPARE(m_prompts->messages().first(), msg::popupQuestion().text);
        QCOMPARE(column(QStringLiteral("adBoard")), QStringLiteral("1||300||200||0||0||通知||"));
        QVERIFY(popup->isChecked());
        // Cancel turns it off.
        popup->setChecked(false);
        m_prompts->answerMsg(ui::vbCancel);
        v->chk_pertain_MouseUp(2);
        QCOMPARE(column(QStringLiteral("adBoard")), QStringLiteral("0"));
        QVERIFY(!popup->isChecked());

        // Script effect: the editor closed with Cancel leaves the stored "0", and the box
        // says so.
        QCheckBox *script = v->chk_pertain.at(3);
        script->setChecked(true);
        m_prompts->answerMsg(ui::vbOK);
        m_prompts->onDialog<sltTmplFrm_javaScrpt>([](sltTmplFrm_javaScrpt &d) { d.CancelButton_Click(); });
        v->chk_pertain_MouseUp(3);
        QCOMPARE(column(QStringLiteral("javascript")), QStringLiteral("0"));
        QVERIFY(!script->isChecked());
    }

    // Another program holds the database as a feature's editor opens: the editor says it
    // could not read the setting and is not shown, so nothing it would have shown empty
    // is written over what is stored; the box goes back to what it showed.
    void anEditorThatCannotReadItsSettingStoresNothing()
    {
        const QString popup = QStringLiteral("1||400||300||10||20||通知||第一行");
        set(QStringLiteral("adBoard='%1', javascript='0'").arg(popup));
        sltTmplFrm *v = forms().get<sltTmplFrm>();
        QVERIFY(v->chk_pertain.at(2)->isChecked() && !v->chk_pertain.at(3)->isChecked());
        const QString unread = QStringLiteral("读取已保存的设置失败，没有作任何修改！\r\n") + err::text(err::Kind::DbLocked);
        for (int index : {2, 3}) {
            testenv::OtherProgramLock lock(db());
            // Were an editor shown, the user would press 确定 once the file is free.
            if (index == 2)
                m_prompts->onDialog<sltTmplFrm_adBoardFrm>([&lock](sltTmplFrm_adBoardFrm &d) {
                    lock.release();
                    d.cmd_ok_Click();
                });
            else
                m_prompts->onDialog<sltTmplFrm_javaScrpt>([&lock](sltTmplFrm_javaScrpt &d) {
                    lock.release();
                    d.OKButton_Click();
                });
            QCheckBox *box = v->chk_pertain.at(index);
            m_prompts->answerMsg(ui::vbOK);
            box->click();
            lock.release();
            QCOMPARE(column(QStringLiteral("adBoard")), popup);
            QCOMPARE(column(QStringLiteral("javascript")), QStringLiteral("0"));
            QCOMPARE(m_prompts->lastMessage().text, unread);
            QCOMPARE(m_prompts->lastMessage().style, ui::vbCritical);
            QCOMPARE(m_prompts->lastMessage().title, QStringLiteral("提示"));
            QCOMPARE(box->isChecked(), index == 2);
        }
    }

    void rowsTurnedOff()
    {
        testenv::writeFile(data(QStringLiteral("default.htm")));
        testenv::writeFile(data(QStringLiteral("images/a.png")));
        set(QStringLiteral("defaultFile='default.htm'"));
        sltTmplFrm *v = forms().get<sltTmplFrm>();
        QVERIFY(v->chk_default->isChecked() && !v->Frame1->isEnabled());
        // Cancelling the question puts the box back and changes nothing.
        v->chk_default->setChecked(false);
        m_prompts->answerMsg(ui::vbCancel);
        v->chk_default_Click();
        QVERIFY(v->chk_default->isChecked());
        QCOMPARE(column(QStringLiteral("defaultFile")), QStringLiteral("default.htm"));
        QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("确实要取消首页自定制设置吗？"));
        QCOMPARE(m_prompts->lastMessage().style, ui::vbOKCancel + ui::vbQuestion);
        v->chk_default->setChecked(false);
        m_prompts->answerMsg(ui::vbOK);
        v->chk_default_Click();
        QCOMPARE(column(QStringLiteral("defaultFile")), QString());
        QVERIFY(!QFileInfo::exists(data(QStringLiteral("default.htm"))));
        QVERIFY(!QFileInfo::exists(data(QStringLiteral("images"))));
        QVERIFY(v->Frame1->isEnabled() && v->cmd_DefaultFont->isEnabled());
        QVERIFY(!v->txt_default->isEnabled() && !v->cmd_viewDefault->isEnabled());
        QCOMPARE(v->txt_default->text(), QString());
    }

    void templatePicker()
    {
        sltTmplFrm *v = forms().get<sltTmplFrm>();
        m_prompts->onDialog<sltTmplFrm_defaultTmpl>([this](sltTmplFrm_defaultTmpl &d) {
            QVERIFY(d.lst_type->count() >= 3);
            // The first category fills seven places; the first thumbnail is chosen.
            QCOMPARE(d.tmpl1.size(), 7);
            QCOMPARE(d.tmpl1.at(6)->pos(), QPoint(17, 224));
            QCOMPARE(d.tmpl1.at(5)->pos(), QPoint(350, 112));
            QCOMPARE(d.tmpl1.at(0)->selected(), 1);
            QVERIFY(d.tmpl1.at(0)->framed());
            QCOMPARE(d.tmpl1.at(0)->optTmpl->text(), QStringLiteral("d0001"));
            // A smaller category leaves only its own thumbnails.
            d.lst_type->setCurrentRow(1);
            const QStringList names = templateNames(app().conn, Side::Home, d.lst_type->item(1)->text());
            QCOMPARE(d.tmpl1.size(), names.size());
            QCOMPARE(d.tmpl1.last()->value(), names.last());

            // The full-size preview draws on its second tick, for this picker's choice.
            d.tmpl1_click(1);
            m_prompts->onDialog<sltTmplFrm_viewTmpl>([&d, &names](sltTmplFrm_viewTmpl &p) {
                QVERIFY(d.BdefaultTmpl);
                auto *pane = static_cast<FakePane *>(p.wb_view11);
                QCOMPARE(pane->lastPage(), QStringLiteral("about:blank"));
                p.Timer1_Timer();
                QVERIFY(pane->pieces.isEmpty());
                p.Timer1_Timer();
                QVERIFY(!p.Timer1->isActive());
                QVERIFY(pane->written().contains(QStringLiteral("template/") + names.at(1).left(5) + QStringLiteral(".jpg'")));
                p.CancelButton_Click();
            });
            d.cmd_view_Click();
            QVERIFY(!d.BdefaultTmpl);

            // A double click chooses the thumbnail and stores it.
            d.tmpl1.last()->imgTmpl_Click();
            d.tmpl1.last()->imgTmpl_DblClick();
        });
        v->cmd_default_Click();
        const QString chosen = column(QStringLiteral("defaultTmpl"));
        QVERIFY(chosen.startsWith(QLatin1Char('d')) && chosen != stylemanifest::homeTemplates().first().file);
        QCOMPARE(v->lbl_defaultTmpl->text(), chosen.left(5));
        QVERIFY(!forms().isLoaded<sltTmplFrm_defaultTmpl>());
    }

    void theWheelScrollsThePickers()
    {
        sltTmplFrm *v = forms().get<sltTmplFrm>();
        m_prompts->onDialog<sltTmplFrm_defaultFont>([](sltTmplFrm_defaultFont &d) {
            QVERIFY(d.scrlVer->maximum() > 0);
            turnWheelDown(d.img.at(0));
            QVERIFY(d.scrlVer->value() > 0);
            QCOMPARE(d.img.at(0)->y(), -d.scrlVer->value());
            d.CancelButton_Click();
        });
        v->cmd_DefaultFont_Click();

        // A category of twelve needs four rows, more than the box shows.
        for (int i = 0; i < 12; ++i)
            db().exec(QStringLiteral("INSERT INTO headTmpl (tmplType, tmplName) VALUES ('0多', ?)"),
                      {stylemanifest::innerTemplates().first().file});
        m_prompts->onDialog<sltTmplFrm_headTmpl>([](sltTmplFrm_headTmpl &d) {
            QCOMPARE(d.lst_type->item(0)->text(), QStringLiteral("0多"));
            QCOMPARE(d.tmpl1.size(), 12);
            QVERIFY(d.scrlVer->maximum() > 0);
            // Over a thumbnail's picture, then over its option button.
            turnWheelDown(d.tmpl1.at(0)->imgTmpl);
            const int once = d.scrlVer->value();
            QVERIFY(once > 0);
            turnWheelDown(d.tmpl1.at(4)->optTmpl);
            QVERIFY(d.scrlVer->value() > once);
            QCOMPARE(d.tmpl1.at(0)->y(), twips::toPx(-d.scrlVer->value()));
            // At the grid's end it goes no further.
            d.scrlVer->setValue(d.scrlVer->maximum());
            turnWheelDown(d.tmpl1.last()->imgTmpl);
            QCOMPARE(d.scrlVer->value(), d.scrlVer->maximum());
            d.CancelButton_Click();
        });
        v->cmd_head_Click();
    }

    void fontPicker()
    {
        sltTmplFrm *v = forms().get<sltTmplFrm>();
        v->imgHead->clear();
        m_prompts->onDialog<sltTmplFrm_headFont>([this](sltTmplFrm_headFont &d) {
            QCOMPARE(d.img.size(), stylemanifest::fonts().size());
            // Stacked 7 pixels apart, each at its picture's size.
            QCOMPARE(d.img.at(1)->y(), d.img.at(0)->height() + FontPicker::kGap);
            d.OKButton_Click();
            QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("请选择一种字体！"));
            QVERIFY(d.isVisible() || forms().isLoaded<sltTmplFrm_headFont>());
            d.img_Click(3);
            QVERIFY(d.isFramed(3) && !d.isFramed(0));
            d.img_DblClick(3);
        });
        v->cmd_headFont_Click();
        QCOMPARE(column(QStringLiteral("headFont")), stylemanifest::fonts().at(3));
        QCOMPARE(column(QStringLiteral("defaultFont")), stylemanifest::fonts().at(0));
        QVERIFY(!v->imgHead->pixmap().isNull());
    }

    void editors()
    {
        set(QStringLiteral("adBoard='1||640||480||5||7||标题||一行<br>二&nbsp;行', javascript='1||10.asp||你好'"));
        auto *pop = forms().get<sltTmplFrm_adBoardFrm>();
        QCOMPARE(pop->txt_content->toPlainText(), QStringLiteral("一行\n二 行"));
        QCOMPARE(pop->txt_left->text(), QStringLiteral("7"));
        pop->txt_width->setText(QStringLiteral("64a"));
        emit pop->txt_width->textEdited(pop->txt_width->text());
        QCOMPARE(pop->txt_width->text(), QStringLiteral("64"));
        QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("请输入数字！"));
        // A number too large for the pop-up window: the box, the dialog stays and nothing is stored.
        pop->txt_left->setText(QStringLiteral("1e20"));
        pop->cmd_ok_Click();
        QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("距屏幕左边距离必须是0到2147483647之间的整数！"));
        QVERIFY(forms().isLoaded<sltTmplFrm_adBoardFrm>());
        QCOMPARE(pop->txt_left->selectedText(), QStringLiteral("1e20"));
        QCOMPARE(column(QStringLiteral("adBoard")), QStringLiteral("1||640||480||5||7||标题||一行<br>二&nbsp;行"));
        pop->txt_left->setText(QStringLiteral("7"));
        pop->txt_title->setText(QStringLiteral("a||b"));
        pop->cmd_ok_Click();
        QCOMPARE(m_prompts->lastMessage().style, ui::vbCritical);
        QVERIFY(forms().isLoaded<sltTmplFrm_adBoardFrm>());
        pop->txt_title->setText(QStringLiteral("标题"));
        // Enter in the title box neither saves nor closes the editor.
        pop->show();
        QVERIFY(QTest::qWaitForWindowActive(pop));
        pop->txt_title->setFocus();
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("!"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(pop->isVisible());
        QCOMPARE(pop->txt_title->text(), QStringLiteral("标题!"));
        QCOMPARE(column(QStringLiteral("adBoard")), QStringLiteral("1||640||480||5||7||标题||一行<br>二&nbsp;行"));
        pop->txt_title->setText(QStringLiteral("标题"));
        pop->cmd_ok_Click();
        QCOMPARE(column(QStringLiteral("adBoard")), QStringLiteral("1||64||480||5||7||标题||一行<br>二&nbsp;行"));

        auto *js = forms().get<sltTmplFrm_javaScrpt>();
        QCOMPARE(js->cmb_javaScript->count(), 13);
        QCOMPARE(js->cmb_javaScript->currentText(), QStringLiteral("状态栏特效5"));
        QCOMPARE(js->txt_javascript->text(), QStringLiteral("你好"));
        js->cmb_javaScript->setCurrentIndex(1);
        QVERIFY(!js->txt_javascript->isEnabled());
        js->OKButton_Click();
        QCOMPARE(column(QStringLiteral("javascript")), QStringLiteral("1||01.asp||"));
        js->cmb_javaScript->setCurrentIndex(0);
        QVERIFY(js->txt_javascript->isEnabled());
    }

    void previewsFromTheView()
    {
        set(QStringLiteral("defaultFile='default.htm', topHead='topHeadSelf.gif'"));
        sltTmplFrm *v = forms().get<sltTmplFrm>();
        // Missing files: the box, and no window stays.
        v->cmd_viewDefault_Click();
        v->cmd_viewHead_Click();
        QCOMPARE(m_prompts->messages(), (QStringList{"首页文件不存在！", "内页头文件不存在！"}));
        QVERIFY(!forms().isLoaded<sltTmplFrm_view>() && !forms().isLoaded<sltTmplFrm_viewHead>());

        testenv::writeFile(data(QStringLiteral("default.htm")));
        testenv::writeFile(data(QStringLiteral("topHeadSelf.gif")));
        m_prompts->onDialog<sltTmplFrm_view>([this](sltTmplFrm_view &d) {
            auto *pane = static_cast<FakePane *>(d.wb_view);
            QCOMPARE(pane->lastPage(), data(QStringLiteral("default.htm")));
            QVERIFY(!pane->options.pageScripts);
            d.CancelButton_Click();
        });
        v->cmd_viewDefault_Click();
        m_prompts->onDialog<sltTmplFrm_viewHead>([](sltTmplFrm_viewHead &d) {
            auto *pane = static_cast<FakePane *>(d.wb_view);
            QCOMPARE(pane->pieces.size(), 2);
            QVERIFY(pane->pieces.at(1).endsWith(QStringLiteral("/userImages/topHeadSelf.gif'>")));
            QVERIFY(!pane->options.pageScripts);
            d.CancelButton_Click();
        });
        v->cmd_viewHead_Click();
        QCOMPARE(m_prompts->messageCount(), 2);
    }
};

QUORVIK_TEST_MAIN(TestProfileViews)
#include "test_profileviews.moc"
