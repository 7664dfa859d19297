// The upload view, the notice and chat windows and the server link, talking to a fake
// publishing server on 127.0.0.1: every exchange of the protocol, the bytes on the
// wire, and what the user is told.
#include "fakepane.h"
#include "fakeprompter.h"
#include "fakeserver.h"
#include "publish/chathtml.h"
#include "publish/datapacker.h"
#include "publish/dlgfrm.h"
#include "publish/serverlink.h"
#include "publish/updatafrm.h"
#include "publish/verfrm.h"
#include "platform/appcontext.h"
#include "shell/mdifrm.h"
#include "testenv.h"
#include "testmain.h"

#include <QRandomGenerator>
#include <memory>

using namespace publish;

class TestServerLink : public QObject {
    Q_OBJECT

    std::unique_ptr<testenv::ProgramFolder> m_prog;
    std::unique_ptr<FakePrompter> m_prompts;
    std::unique_ptr<FakePaneFactory> m_panes;
    std::unique_ptr<FakeServer> m_server;
    updataFrm *v = nullptr;

    QString dataFolder() const { return m_prog->file(QStringLiteral("userImages/")); }

    // Loads the view on a fresh site database, after changing its profile row.
    void loadView(const QString &profileChange = QString())
    {
        if (!profileChange.isEmpty())
            app().conn.exec(profileChange);
        v = forms().get<updataFrm>();
        v->txt_severIP->setText(QStringLiteral("127.0.0.1"));
        v->link()->port = m_server->port();
    }

    bool waitForMessage(const QString &text)
    {
        return QTest::qWaitFor([&] { return m_prompts->messages().contains(text); }, 5000);
    }

    void connectView()
    {
        v->cmd_connSever_Click();
        QVERIFY(m_server->waitForClient());
        QVERIFY(QTest::qWaitFor([&] { return v->link()->isConnected(); }, 5000));
    }

    // Connects with the account of the profile and has the server accept it; the
    // version request follows on the timer's second tick.
    void logIn()
    {
        v->txt_pwd->setText(QStringLiteral("密码1"));
        connectView();
        QVERIFY(m_server->waitFor(QStringLiteral("<#login#>acct01||密码1")));
        m_server->say(QStringLiteral("<#login#>"));
        QVERIFY(QTest::qWaitFor([&] { return v->link()->loggedIn; }, 5000));
        QVERIFY(v->timer_verion->isActive());
        QVERIFY(m_server->waitFor(QStringLiteral("<#login#>acct01||密码1<#getversion#>3.05")));
        QVERIFY(!v->timer_verion->isActive());
    }

    FakePane *paneOf(QWidget *window) const { return static_cast<FakePane *>(static_cast<ServerTextWindow *>(window)->webBer); }

    QString storedColumn(const QString &column) const
    {
        return db::text(app().conn.select(QStringLiteral("SELECT * FROM user_info")).front(), column);
    }

private slots:
    void init()
    {
        m_prog = std::make_unique<testenv::ProgramFolder>();
        m_prompts = std::make_unique<FakePrompter>();
        m_panes = std::make_unique<FakePaneFactory>();
        m_server = std::make_unique<FakeServer>();
        QVERIFY(m_server->listening);
        app().currentPath = m_prog->path();
        app().currImgPath = dataFolder();
        setPaneBaseFolder(m_prog->path());
        testenv::makeDatabase(app().conn, dataFolder() + QStringLiteral("brevonel.qdb"));
        app().conn.exec(QStringLiteral("UPDATE user_info SET serial='acct01'"));
    }

    void cleanup()
    {
        forms().unloadAll();
        testenv::settle();
        app().conn.close();
        m_server.reset();
        m_panes.reset();
        m_prompts.reset();
        m_prog.reset();
    }

    void dispatch_data()
    {
        QTest::addColumn<QString>("data");
        QTest::addColumn<int>("tag");
        QTest::addColumn<QString>("text");
        QTest::newRow("login anywhere") << "xx<#talkmsg#>hi<#login#>" << int(Tag::Login) << "xx<#talkmsg#>hi";
        QTest::newRow("name taken") << "<#siteNameExist#>" << int(Tag::SiteNameExist) << "";
        QTest::newRow("both names") << "<#siteNameExist#><#siteName#>" << int(Tag::SiteName) << "<#siteNameExist#>";
        QTest::newRow("tag in chat") << "<#talkmsg#>a<#talkmsg#>b" << int(Tag::TalkMsg) << "ab";
        QTest::newRow("case matters") << "<#LOGIN#>" << int(Tag::None) << "";
        QTest::newRow("nothing") << "hello" << int(Tag::None) << "";
    }

    void dispatch()
    {
        QFETCH(QString, data);
        QFETCH(int, tag);
        QFETCH(QString, text);
        const Reply r = parseReply(data);
        QCOMPARE(int(r.tag), tag);
        QCOMPARE(r.text, text);
        QCOMPARE(systemMessageText(QStringLiteral("Hello<br>World")), QStringLiteral("hello\r\nworld"));
    }

    void logInThenVersionRequestAndNotice()
    {
        loadView();
        QCOMPARE(v->StsBar_panel1->text(), QStringLiteral("还未和服务器建立连接！"));
        logIn();
        QCOMPARE(v->StsBar_panel1->text(), QStringLiteral("登陆服务器成功！"));
        QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("登陆服务器成功！"));
        QCOMPARE(m_prompts->lastMessage().style, 64);

        // The stored flag is "0||…": the notice is shown, two ticks after the window opened.
        m_server->say(QStringLiteral("<#getversion#>新版本<b>公告</b>"));
        QVERIFY(QTest::qWaitFor([] { return forms().isLoaded<verFrm>(); }, 5000));
        verFrm *notice = forms().find<verFrm>();
        QCOMPARE(paneOf(notice)->lastPage(), m_prog->file(QStringLiteral("msg.htm")));
        QVERIFY(!paneOf(notice)->options.pageScripts);
        QCOMPARE(notice->serverMSG, QStringLiteral("新版本<b>公告</b>"));
        notice->Timer1_Timer();
        QVERIFY(paneOf(notice)->inner.value(QStringLiteral("msg")).isEmpty());
        notice->Timer1_Timer();
        const QString shown = paneOf(notice)->inner.value(QStringLiteral("msg"));
        QVERIFY(shown.startsWith(QStringLiteral("<font color=blue size=2><b>服务器(管理员)</b></font>(<i>")));
        QVERIFY(shown.endsWith(QStringLiteral("</i>)<br><font size=2>新版本<b>公告</b></font><br>")));
        QVERIFY(!notice->Timer1->isActive());

        // "不再显示" keeps the next notices away.
        notice->chk_ver->click();
        QCOMPARE(storedColumn(QStringLiteral("field06")), QStringLiteral("1||") + QDate::currentDate().toString(QStringLiteral("yyyy-M-d")));
        notice->CancelButton_Click();
        testenv::settle();
        m_server->say(QStringLiteral("<#getversion#>另一条公告"));
        QTest::qWait(200);
        QVERIFY(!forms().isLoaded<verFrm>());
    }

    void noAccountAsksForTheVersionOnly()
    {
        loadView(QStringLiteral("UPDATE user_info SET serial='  '"));
        connectView();
        QVERIFY(m_server->waitFor(QStringLiteral("<#getversion#>3.05")));
        QVERIFY(!m_server->text().contains(QStringLiteral("<#login#>")));
    }

    void refusedLogInClosesAndAllowsAnotherTry()
    {
        loadView();
        v->txt_pwd->setText(QStringLiteral("bad"));
        connectView();
        QVERIFY(m_server->waitFor(QStringLiteral("<#login#>acct01||bad")));
        m_server->say(QStringLiteral("<#logout#>"));
        QVERIFY(m_server->waitForGone());
        QCOMPARE(m_prompts->lastMessage().style, 16);
        QCOMPARE(m_prompts->lastMessage().title, QStringLiteral("提示"));
        QCOMPARE(v->StsBar_panel1->text(), QStringLiteral("登陆服务器失败！"));
        QVERIFY(!v->link()->loggedIn);
        QVERIFY(v->cmd_connSever->isEnabled());
        QVERIFY(!v->socketOpen());
    }

    void siteNameAndPassword()
    {
        loadView();
        logIn();
        v->txt_webName->setText(QStringLiteral("shop1"));
        QVERIFY(v->cmd_changeWebName->isEnabled());
        QCOMPARE(v->txt_url->text(), kSiteBaseUrl + QStringLiteral("shop1"));
        v->cmd_changeWebName_Click();
        QVERIFY(m_server->waitFor(QStringLiteral("<#siteName#>shop1")));
        QVERIFY(!v->cmd_changeWebName->isEnabled());
        // Edited while the server thinks: what is stored is the name the server accepted.
        v->txt_webName->setText(QStringLiteral("other"));
        m_server->say(QStringLiteral("<#siteName#>"));
        QVERIFY(waitForMessage(QStringLiteral("站点名更改成功！")));
        QCOMPARE(storedColumn(QStringLiteral("site_name")), QStringLiteral("shop1"));
        QVERIFY(v->link()->siteNameSet);
        QCOMPARE(v->link()->lastSiteName, QStringLiteral("shop1"));
        QVERIFY(v->Timer_sck->isActive());

        v->txt_webName->setText(QStringLiteral("taken"));
        v->cmd_changeWebName_Click();
        QVERIFY(m_server->waitFor(QStringLiteral("<#siteName#>taken")));
        m_server->say(QStringLiteral("<#siteNameExist#>"));
        QVERIFY(waitForMessage(QStringLiteral("站点名已存在，重新输入！")));
        QCOMPARE(v->txt_webName->text(), QStringLiteral("shop1"));
        QVERIFY(!v->link()->siteNameSet);
        QCOMPARE(storedColumn(QStringLiteral("site_name")), QStringLiteral("shop1"));

        // Only the new password is trimmed for the comparison; the message carries it whole.
        v->txt_newpwd->setText(QStringLiteral("新密码 "));
        QVERIFY(!v->cmd_modPwd->isEnabled());
        v->txt_cpwd->setText(QStringLiteral("新密码"));
        QVERIFY(v->cmd_modPwd->isEnabled());
        v->cmd_modPwd_Click();
        QVERIFY(m_server->waitFor(QStringLiteral("<#modPwd#>新密码 ")));
        QVERIFY(v->txt_newpwd->text().isEmpty() && v->txt_cpwd->text().isEmpty());
        m_server->say(QStringLiteral("<#modPwd#>"));
        QVERIFY(waitForMessage(QStringLiteral("密码修改成功！")));
    }

    void siteNameInputAndGuards()
    {
        loadView();
        v->txt_webName->setText(QStringLiteral("ab-c"));
        QCOMPARE(v->txt_webName->text(), QStringLiteral("ab"));
        QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("站点名只能输入英文字符或数字！"));
        QCOMPARE(m_prompts->lastMessage().style, 48);
        QCOMPARE(v->txt_url->text(), kSiteBaseUrl + QStringLiteral("ab"));
        m_prompts->clear();
        v->txt_webName->setText(QString());
        v->cmd_changeWebName_Click();
        QVERIFY(!v->cmd_changeWebName->isEnabled());
        v->cmd_updata_Click();
        v->cmd_modPwd_Click();
        QCOMPARE(m_prompts->messages(),
                 (QStringList{"不能未空！", "还没登陆服务器！", "还没登陆服务器！"}));
        // Logged in, but no site name accepted yet.
        logIn();
        m_prompts->clear();
        v->cmd_updata_Click();
        QCOMPARE(m_prompts->messages(), QStringList{"请输入一站点名！"});
        QVERIFY(!QFileInfo::exists(m_prog->file(kUploadArchive)));
    }

    void uploadSendsTheArchiveByteForByte()
    {
        // A site name accepted earlier counts at load; a picture large enough to take
        // several writes.
        QByteArray picture(3 * 1024 * 1024, Qt::Uninitialized);
        QRandomGenerator random(7);
        for (char &c : picture)
            c = char(random.bounded(256));
        testenv::writeFile(dataFolder() + QStringLiteral("photo.jpg"), picture);
        testenv::writeFile(dataFolder() + QStringLiteral("images/logo.gif"), "GIF89a");
        loadView(QStringLiteral("UPDATE user_info SET site_name='shop1'"));
        QVERIFY(v->link()->siteNameSet);
        logIn();

        v->cmd_updata_Click();
        const QByteArray archive = testenv::readFile(m_prog->file(kUploadArchive));
        QVERIFY(!archive.isEmpty());
        QCOMPARE(v->StsBar_panel2->text(), QStringLiteral("压缩完成。"));
        const QByteArray offer = FakeServer::gbk(QStringLiteral("<#sendFileInfo#>%1").arg(archive.size()));
        QVERIFY(m_server->waitForBytes(offer));
        QVERIFY(m_server->received.endsWith(offer));
        const qsizetype start = m_server->received.size();

        m_server->say(QStringLiteral("<#sendFileInfo#>"));
        QVERIFY(archive.size() > picture.size());
        int progressed = 0;
        connect(v->link(), &ServerLink::sendProgress, this, [&] { ++progressed; });
        QVERIFY(QTest::qWaitFor([&] { return m_server->received.size() >= start + archive.size(); }, 10000));
        QCOMPARE(m_server->received.mid(start), archive);
        QVERIFY(waitForMessage(QStringLiteral("数据传输完毕！")));
        QVERIFY(progressed >= 1);
        QCOMPARE(v->ccprg->maximum(), archive.size());
        QCOMPARE(v->StsBar_panel2->text(), QStringLiteral("数据传输完毕！"));
        QVERIFY(!v->link()->uploading);
        QCOMPARE(v->link()->zipSize, 0);
        QCOMPARE(v->ccprg->value(), 0);
        QVERIFY(v->cmd_updata->isEnabled());

        // A go-ahead nobody asked for sends nothing.
        const qsizetype after = m_server->received.size();
        m_server->say(QStringLiteral("<#sendFileInfo#>"));
        QTest::qWait(200);
        QCOMPARE(m_server->received.size(), after);
    }

    void chat()
    {
        loadView();
        dlgFrm *chat = forms().get<dlgFrm>();
        // Refused before anything is sent.
        const QString longText(128, QLatin1Char('x'));
        for (const QString &text : {QString(), longText, QStringLiteral("hi")}) {
            chat->txt_msg->setPlainText(text);
            chat->OKButton_Click();
        }
        QCOMPARE(m_prompts->messages(), (QStringList{"请输入要发送的消息！", "最大字符两位128", "还没和服务器建立连接"}));

        connectView();
        chat->txt_msg->setPlainText(QStringLiteral("你好 it's me"));
        chat->txt_msg->setFocus();
        // Enter alone is a line break; Ctrl+Enter sends and leaves the box empty.
        chat->txt_msg->moveCursor(QTextCursor::End);
        QTest::keyClick(chat->txt_msg, Qt::Key_Return);
        QCOMPARE(chat->txt_msg->toPlainText(), QStringLiteral("你好 it's me\n"));
        chat->txt_msg->setPlainText(QStringLiteral("你好 it's me"));
        QTest::keyClick(chat->txt_msg, Qt::Key_Return, Qt::ControlModifier);
        QVERIFY(m_server->waitFor(QStringLiteral("<#talkmsg#>你好&nbsp;it&#39;s&nbsp;me")));
        QVERIFY(chat->txt_msg->toPlainText().isEmpty());
        QVERIFY(paneOf(chat)->inner.value(QStringLiteral("msg")).startsWith(QStringLiteral("<font color=red size=2><b>客户端(我的发言)</b>")));

        // 127 characters still go.
        chat->txt_msg->setPlainText(QString(127, QLatin1Char('y')));
        chat->OKButton_Click();
        QVERIFY(m_server->waitFor(QStringLiteral("<#talkmsg#>") + QString(127, QLatin1Char('y'))));

        // The administrator's answer, shown two ticks after it arrives.
        m_server->say(QStringLiteral("<#talkmsg#>管理员：您好"));
        QVERIFY(QTest::qWaitFor([&] { return chat->serverMSG == QStringLiteral("管理员：您好"); }, 5000));
        QVERIFY(chat->Timer1->isActive());
    }

    void textsWaitingForThePage()
    {
        loadView();
        verFrm *w = forms().get<verFrm>();
        FakePane *pane = paneOf(w);
        w->deliver(QStringLiteral("first"));
        w->deliver(QStringLiteral("second"));
        w->Timer1_Timer();
        w->deliver(QStringLiteral("third"));
        QVERIFY(pane->inner.value(QStringLiteral("msg")).contains(QStringLiteral("third")));
        w->Timer1_Timer();
        const QString shown = pane->inner.value(QStringLiteral("msg"));
        QVERIFY(!shown.contains(QStringLiteral("first")));
        QVERIFY(shown.indexOf(QStringLiteral("second")) < shown.indexOf(QStringLiteral("third")));
    }

    void chineseSplitAcrossArrivals()
    {
        loadView();
        QStringList arrivals;
        connect(v->link(), &ServerLink::arrived, this, [&](const QString &d) { arrivals << d; });
        connectView();
        const QByteArray bytes = FakeServer::gbk(QStringLiteral("<#systemmsg#>中文消息"));
        const qsizetype cut = FakeServer::gbk(QStringLiteral("<#systemmsg#>中")).size() - 1;
        m_server->send(bytes.left(cut));
        QVERIFY(QTest::qWaitFor([&] { return arrivals.size() == 1; }, 5000));
        m_server->send(bytes.mid(cut));
        QVERIFY(QTest::qWaitFor([&] { return arrivals.size() == 2; }, 5000));
        QCOMPARE(arrivals.join(QString()), QStringLiteral("<#systemmsg#>中文消息"));
        QVERIFY(!arrivals.join(QString()).contains(QChar::ReplacementCharacter));
    }

    void peerCloseRefusalAndIdleTimeout()
    {
        loadView();
        connectView();
        m_server->closeClient();
        QVERIFY(QTest::qWaitFor([&] { return v->StsBar_panel1->text() == QStringLiteral("已与服务器断开连接"); }, 5000));
        QVERIFY(v->cmd_connSever->isEnabled());
        QCOMPARE(m_prompts->messageCount(), 0);

        // Nobody listens at the port any more.
        const quint16 port = m_server->port();
        m_server->server.close();
        v->link()->port = port;
        v->cmd_connSever_Click();
        QVERIFY(waitForMessage(QStringLiteral("服务器拒绝连接")));
        QCOMPARE(m_prompts->lastMessage().style, 16);
        QCOMPARE(m_prompts->lastMessage().title, QStringLiteral("警告"));
        QCOMPARE(v->StsBar_panel1->text(), QStringLiteral("还未和服务器建立连接！"));
        QVERIFY(v->cmd_connSever->isEnabled() && !v->cmd_disconn->isEnabled());

        // Ten minutes without a send disconnect; a closed connection does not time out.
        m_prompts->clear();
        for (int i = 0; i < 25; ++i)
            v->Timer_sck_Timer();
        QCOMPARE(m_prompts->messageCount(), 0);
        m_server = std::make_unique<FakeServer>();
        v->link()->port = m_server->port();
        connectView();
        v->Timer_sck->start();
        for (int i = 0; i < 19; ++i)
            v->Timer_sck_Timer();
        QVERIFY(v->socketOpen());
        v->Timer_sck_Timer();
        QVERIFY(!v->socketOpen());
        QCOMPARE(m_prompts->messages(), QStringList{"连接超时，已于服务器断开连接！"});
        QVERIFY(!v->Timer_sck->isActive());
        QVERIFY(m_server->waitForGone());
    }

    void shutdownClosesTheConnection()
    {
        cleanup();
        m_prog = std::make_unique<testenv::ProgramFolder>();
        m_prompts = std::make_unique<FakePrompter>();
        m_panes = std::make_unique<FakePaneFactory>();
        m_server = std::make_unique<FakeServer>();
        forms().starting = false;
        forms().closing = false;
        auto main = std::make_unique<MDIFrm>();
        QVERIFY(main->MDIForm_Load(m_prog->path()));
        v = forms().find<updataFrm>();
        QVERIFY(v);
        v->txt_severIP->setText(QStringLiteral("127.0.0.1"));
        v->link()->port = m_server->port();
        connectView();
        main->MDIForm_Unload();
        QVERIFY(m_server->waitForGone());
        testenv::settle();
        main.reset();
        testenv::settle();
        forms().closing = false;
    }
};

QUORVIK_TEST_MAIN(TestServerLink)
#include "test_serverlink.moc"
