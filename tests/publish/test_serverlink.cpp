// The upload view, the notice and chat windows and the server link, talking to a fake
// publishing server on 127.0.0.1: every exchange of the protocol, the bytes on the
// wire, and what the user is told.
#include "core/appcontext.h"
#include "fakepane.h"
#include "fakeprompter.h"
#include "fakeserver.h"
#include "publish/chathtml.h"
#include "publish/datapacker.h"
#include "publish/dlgfrm.h"
#include "publish/serverlink.h"
#include "publish/updatafrm.h"
#include "publish/verfrm.h"
#include "shell/mdifrm.h"
#include "testenv.h"
#include "testmain.h"

#include <QCryptographicHash>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <memory>

using namespace publish;

namespace {
// A quiet time that never passes by itself: the test ends each message with the tick.
constexpr int kNever = 3600 * 1000;
const QString kErrMsgText =
    QStringLiteral("与服务器连接出现障碍，请重试！\r\n如仍有问题，请与技术支持联系：support@quorvik.cn");

QByteArray randomBytes(qsizetype size, quint32 seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator random(seed);
    for (char &c : bytes)
        c = char(random.bounded(256));
    return bytes;
}

// How a logged-in link goes.
enum class LinkGoes { UnderTheBox, WithTheLogIn, ByTheUser };
} // namespace

Q_DECLARE_METATYPE(LinkGoes)

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
        v->link()->setPort(m_server->port());
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
        QVERIFY(QTest::qWaitFor([&] { return v->link()->loggedIn(); }, 5000));
        QVERIFY(v->timer_verion->isActive());
        QVERIFY(m_server->waitFor(QStringLiteral("<#login#>acct01||密码1<#getversion#>3.05")));
        QVERIFY(!v->timer_verion->isActive());
    }

    // Sends each piece once the link has read the one before: every piece is a read of
    // its own.
    void sendPieces(const QList<QByteArray> &pieces)
    {
        QSignalSpy reads(v->link()->socket(), &QTcpSocket::readyRead);
        for (const QByteArray &piece : pieces) {
            const qsizetype before = reads.count();
            m_server->send(piece);
            QVERIFY(QTest::qWaitFor([&] { return reads.count() > before; }, 5000));
        }
    }

    // Logged in with the site name "shop1" accepted earlier and a picture to pack.
    void readyToUpload()
    {
        testenv::writeFile(dataFolder() + QStringLiteral("photo.jpg"), randomBytes(2 * 1024 * 1024, 3));
        loadView(QStringLiteral("UPDATE user_info SET site_name='shop1'"));
        logIn();
    }

    // Clicks the upload button and waits for the archive to be offered.
    void offerArchive()
    {
        v->cmd_updata_Click();
        QVERIFY(v->packing());
        QVERIFY(QTest::qWaitFor([&] { return !v->packing(); }, 20000));
        QVERIFY(m_server->waitFor(QStringLiteral("<#sendFileInfo#>")));
        QVERIFY(v->link()->awaitingGoAhead());
        QVERIFY(!v->cmd_updata->isEnabled());
    }

    // The server's go-ahead, then a system message: once its box is up, the go-ahead
    // has been handled.
    void goAheadThenMark()
    {
        sendPieces({"<#sendFileInfo#>", "<#systemmsg#>mark"});
        QVERIFY(waitForMessage(QStringLiteral("mark")));
    }

    // The server gives the go-ahead and takes the archive: what it received after the
    // offer equals the file, byte for byte.
    void goAheadAndReceiveTheArchive(const QList<QByteArray> &before = {})
    {
        const QByteArray archive = testenv::readFile(m_prog->file(kUploadArchive));
        const qsizetype start = m_server->received.size();
        sendPieces(before + QList<QByteArray>{"<#sendFileInfo#>"});
        QVERIFY(QTest::qWaitFor([&] { return m_server->received.size() >= start + archive.size(); }, 10000));
        QVERIFY(waitForMessage(QStringLiteral("数据传输完毕！")));
        QCOMPARE(QCryptographicHash::hash(m_server->received.mid(start, archive.size()), QCryptographicHash::Sha256),
                 QCryptographicHash::hash(archive, QCryptographicHash::Sha256));
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
        QVERIFY(paneOf(notice)->options.lockedToPage);
        QCOMPARE(notice->serverMSG, QStringList{QStringLiteral("新版本<b>公告</b>")});
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
        QSignalSpy arrived(v->link(), &ServerLink::arrived);
        m_server->say(QStringLiteral("<#getversion#>另一条公告"));
        QVERIFY(arrived.wait());
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
        QVERIFY(!v->link()->loggedIn());
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
        // The box shows the name the server accepted, as stored.
        QCOMPARE(v->txt_webName->text(), QStringLiteral("shop1"));
        QCOMPARE(v->txt_url->text(), kSiteBaseUrl + QStringLiteral("shop1"));
        QVERIFY(!v->cmd_changeWebName->isEnabled());
        QVERIFY(v->siteNameSet());
        QCOMPARE(v->lastSiteName(), QStringLiteral("shop1"));
        QVERIFY(v->Timer_sck->isActive());

        v->txt_webName->setText(QStringLiteral("taken"));
        v->cmd_changeWebName_Click();
        QVERIFY(m_server->waitFor(QStringLiteral("<#siteName#>taken")));
        m_server->say(QStringLiteral("<#siteNameExist#>"));
        QVERIFY(waitForMessage(QStringLiteral("站点名已存在，重新输入！")));
        QCOMPARE(v->txt_webName->text(), QStringLiteral("shop1"));
        QVERIFY(!v->siteNameSet());
        QCOMPARE(storedColumn(QStringLiteral("site_name")), QStringLiteral("shop1"));

        // The password goes as typed, trailing blank and all.
        v->txt_newpwd->setText(QStringLiteral("新密码 "));
        QVERIFY(!v->cmd_modPwd->isEnabled());
        v->txt_cpwd->setText(QStringLiteral("新密码 "));
        QVERIFY(v->cmd_modPwd->isEnabled());
        v->cmd_modPwd_Click();
        QVERIFY(m_server->waitFor(QStringLiteral("<#modPwd#>新密码 ")));
        QVERIFY(v->txt_newpwd->text().isEmpty() && v->txt_cpwd->text().isEmpty());
        m_server->say(QStringLiteral("<#modPwd#>"));
        QVERIFY(waitForMessage(QStringLiteral("密码修改成功！")));
    }

    void passwordRule_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("confirmed");
        QTest::addColumn<QString>("answer"); // to a click; "" when it is sent
        const QString differ = QStringLiteral("两次密码不同，请重新输入!");
        const QString blank = QStringLiteral("不能未空！");
        QTest::newRow("same") << "abc" << "abc" << "";
        QTest::newRow("same, trailing blank") << "abc " << "abc " << "";
        QTest::newRow("trailing blank not confirmed") << "abc " << "abc" << differ;
        QTest::newRow("confirmation longer") << "abc" << "abc " << differ;
        QTest::newRow("blanks, empty confirmation") << "   " << "" << differ;
        QTest::newRow("blanks confirmed") << "   " << "   " << blank;
        QTest::newRow("empty") << "" << "" << blank;
    }

    void passwordRule()
    {
        QFETCH(QString, typed);
        QFETCH(QString, confirmed);
        QFETCH(QString, answer);
        loadView();
        logIn();
        m_prompts->clear();
        v->txt_newpwd->setText(typed);
        v->txt_cpwd->setText(confirmed);
        QCOMPARE(v->cmd_modPwd->isEnabled(), answer.isEmpty());
        v->cmd_modPwd_Click();
        if (answer.isEmpty())
            QVERIFY(m_server->waitFor(message::modPwd(typed)));
        QCOMPARE(m_prompts->messages(), answer.isEmpty() ? QStringList() : QStringList{answer});
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
        QVERIFY(v->siteNameSet());
        logIn();

        v->cmd_updata_Click();
        QVERIFY(QTest::qWaitFor([&] { return !v->packing(); }, 20000));
        const QByteArray archive = testenv::readFile(m_prog->file(kUploadArchive));
        QVERIFY(!archive.isEmpty());
        QCOMPARE(v->StsBar_panel2->text(), QStringLiteral("压缩完成。"));
        const QByteArray offer = FakeServer::gbk(QStringLiteral("<#sendFileInfo#>%1").arg(archive.size()));
        QVERIFY(m_server->waitForBytes(offer));
        QVERIFY(m_server->received.endsWith(offer));
        const qsizetype start = m_server->received.size();

        QVERIFY(archive.size() > picture.size());
        int progressed = 0;
        qint64 mostQueued = 0;
        connect(v->link(), &ServerLink::sendProgress, this, [&] {
            ++progressed;
            mostQueued = qMax(mostQueued, v->link()->socket()->bytesToWrite());
        });
        // A message sent while the archive goes out follows it.
        connect(v->link(), &ServerLink::uploadStarted, this,
                [&] { QVERIFY(!v->link()->sendMsg(message::talk(QStringLiteral("meanwhile")))); });
        m_server->say(QStringLiteral("<#sendFileInfo#>"));
        const QByteArray talk = FakeServer::gbk(message::talk(QStringLiteral("meanwhile")));
        QVERIFY(QTest::qWaitFor([&] { return m_server->received.size() >= start + archive.size() + talk.size(); }, 10000));
        QCOMPARE(m_server->received.mid(start), archive + talk);
        QVERIFY(waitForMessage(QStringLiteral("数据传输完毕！")));
        // Read from the file in pieces as the network takes them: never the whole archive at once.
        QVERIFY(progressed > 1);
        QVERIFY2(mostQueued <= 2 * 1024 * 1024, qPrintable(QString::number(mostQueued)));
        QCOMPARE(v->ccprg->maximum(), archive.size());
        QCOMPARE(v->StsBar_panel2->text(), QStringLiteral("数据传输完毕！"));
        QVERIFY(!v->link()->uploading());
        QCOMPARE(v->link()->zipSize(), 0);
        QCOMPARE(v->ccprg->value(), 0);
        QVERIFY(v->cmd_updata->isEnabled());

        // A go-ahead nobody asked for sends nothing.
        const qsizetype after = m_server->received.size();
        goAheadThenMark();
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
        QVERIFY(QTest::qWaitFor([&] { return chat->serverMSG == QStringList{QStringLiteral("管理员：您好")}; }, 5000));
        QVERIFY(chat->Timer1->isActive());
        QVERIFY(paneOf(chat)->options.lockedToPage);
    }

    void textsWaitingForThePage()
    {
        loadView();
        verFrm *w = forms().get<verFrm>();
        FakePane *pane = paneOf(w);
        // Two before the first tick, one after it: all three, in the order they came.
        w->deliver(QStringLiteral("first"));
        w->deliver(QStringLiteral("second"));
        w->Timer1_Timer();
        w->deliver(QStringLiteral("third"));
        const QString shown = pane->inner.value(QStringLiteral("msg"));
        // The newest stands first.
        QVERIFY(shown.indexOf(QStringLiteral("third")) >= 0);
        QVERIFY(shown.indexOf(QStringLiteral("third")) < shown.indexOf(QStringLiteral("second")));
        QVERIFY(shown.indexOf(QStringLiteral("second")) < shown.indexOf(QStringLiteral("first")));
        w->Timer1_Timer();
        QCOMPARE(pane->inner.value(QStringLiteral("msg")), shown);
        QVERIFY(!w->Timer1->isActive());
        QVERIFY(w->serverMSG.isEmpty());
    }

    void framing_data()
    {
        QTest::addColumn<QList<QByteArray>>("pieces"); // each one read on its own
        QTest::addColumn<QStringList>("boxes");
        QTest::newRow("inside the tag") << QList<QByteArray>{"<#sys", "temmsg#>Hello<br>World"}
                                        << QStringList{"hello\r\nworld"};
        QTest::newRow("a lone start of a tag") << QList<QByteArray>{"<", "#systemmsg#>x"} << QStringList{"x"};
        QTest::newRow("text continued") << QList<QByteArray>{"<#systemmsg#>one ", "two <b", "> three"}
                                        << QStringList{"one two <b> three"};
        QTest::newRow("one after another")
            << QList<QByteArray>{"<#systemmsg#>a", "<#selectTemplate#>", "<#errMsg#>"}
            << QStringList{"a", "模板选择错误，请重新选择！", kErrMsgText};
    }

    void framing()
    {
        QFETCH(QList<QByteArray>, pieces);
        QFETCH(QStringList, boxes);
        loadView();
        connectView();
        v->link()->setQuietMs(kNever);
        QStringList framed;
        connect(v->link(), &ServerLink::arrived, this, [&](const QString &d) { framed << d; });
        sendPieces(pieces);
        // Each message is handled when the next one begins; the last one waits for quiet.
        QTRY_COMPARE(m_prompts->messages(), boxes.mid(0, boxes.size() - 1));
        v->link()->quietTimeout();
        QCOMPARE(m_prompts->messages(), boxes);
        QCOMPARE(framed.size(), boxes.size());
        QVERIFY(!framed.join(QString()).contains(QChar::ReplacementCharacter));
    }

    void chineseSplitAcrossArrivals()
    {
        loadView();
        connectView();
        v->link()->setQuietMs(kNever);
        QStringList framed;
        connect(v->link(), &ServerLink::arrived, this, [&](const QString &d) { framed << d; });
        const QByteArray bytes = FakeServer::gbk(QStringLiteral("<#systemmsg#>中文消息"));
        const qsizetype cut = FakeServer::gbk(QStringLiteral("<#systemmsg#>中")).size() - 1;
        sendPieces({bytes.left(cut), bytes.mid(cut)});
        QVERIFY(framed.isEmpty());
        // Two reads, one message.
        v->link()->quietTimeout();
        QCOMPARE(framed, QStringList{"<#systemmsg#>中文消息"});
        QCOMPARE(m_prompts->messages(), QStringList{"中文消息"});
    }

    void messagesWhileABoxIsOpen_data()
    {
        QTest::addColumn<QList<QByteArray>>("more"); // arriving while the first box is open
        QTest::addColumn<bool>("closes");           // and then the server closes
        QTest::addColumn<QStringList>("boxes");
        QTest::newRow("handled in order") << QList<QByteArray>{"<#selectTemplate#>", "<#errMsg#>"} << false
                                          << QStringList{"a", "模板选择错误，请重新选择！", kErrMsgText};
        // Shown, but a log-in behind the box does not revive the closed link.
        QTest::newRow("after the server closed") << QList<QByteArray>{"<#login#>", "<#systemmsg#>b"} << true
                                                 << QStringList{"a", "b"};
        // A site name the server accepted is its own fact, still stored when it closes.
        QTest::newRow("a site name accepted before the close")
            << QList<QByteArray>{"<#siteName#>"} << true << QStringList{"a", "站点名更改成功！"};
    }

    void messagesWhileABoxIsOpen()
    {
        QFETCH(QList<QByteArray>, more);
        QFETCH(bool, closes);
        QFETCH(QStringList, boxes);
        loadView();
        connectView();
        v->link()->setQuietMs(kNever);
        bool first = true;
        m_prompts->whileMessageOpen = [&](const PromptCall &) {
            if (!std::exchange(first, false))
                return;
            sendPieces(more);
            if (closes) {
                m_server->closeClient();
                QVERIFY(QTest::qWaitFor([&] { return !v->socketOpen(); }, 5000));
            } else {
                v->link()->quietTimeout();
            }
        };
        sendPieces({"<#systemmsg#>a"});
        v->link()->quietTimeout();
        QCOMPARE(m_prompts->messages(), boxes);
        QCOMPARE(v->link()->loggedIn(), false);
        QCOMPARE(v->StsBar_panel1->text(), closes ? QStringLiteral("已与服务器断开连接") : QStringLiteral("已与服务器建立连接"));
        QVERIFY(!v->timer_verion->isActive());
        QCOMPARE(v->Timer_sck->isActive(), false);
    }

    void aHugeMessageArrivesWhole()
    {
        loadView();
        connectView();
        // Loopback delivers a burst within microseconds: a second of quiet ends it.
        v->link()->setQuietMs(1000);
        const QString body(3 * 1024 * 1024, QLatin1Char('x'));
        m_server->say(QStringLiteral("<#systemmsg#>") + body);
        QVERIFY(QTest::qWaitFor([&] { return m_prompts->messageCount() > 0; }, 20000));
        QCOMPARE(m_prompts->messageCount(), 1);
        QCOMPARE(m_prompts->lastMessage().text.size(), body.size());
        QCOMPARE(m_prompts->lastMessage().text, body);
    }

    void theLastWordsBeforeAClose()
    {
        loadView();
        connectView();
        v->link()->setQuietMs(kNever);
        m_server->say(QStringLiteral("<#errMsg#>"));
        m_server->closeClient();
        QVERIFY(QTest::qWaitFor([&] { return !v->socketOpen(); }, 5000));
        QCOMPARE(m_prompts->messages(), QStringList{kErrMsgText});
    }

    void packingRunsBesideTheView()
    {
        readyToUpload();
        v->cmd_updata_Click();
        // The click returns at once; the view says what it does.
        QVERIFY(v->packing());
        QCOMPARE(v->StsBar_panel2->text(), QStringLiteral("正在打包压缩数据..."));
        QVERIFY(v->timer_doZip->isActive());
        QVERIFY(!v->cmd_updata->isEnabled());
        QVERIFY(!v->cmd_disconn->isEnabled());
        // Nothing starts another upload or closes the link meanwhile.
        v->cmd_updata_Click();
        v->cmd_disconn_Click();
        for (int i = 0; i < 20; ++i)
            v->Timer_sck_Timer();
        QVERIFY(v->link()->isConnected());
        QCOMPARE(m_prompts->messageCount(), 1); // the log-in's
        QVERIFY(QTest::qWaitFor([&] { return !v->packing(); }, 20000));
        QCOMPARE(v->StsBar_panel2->text(), QStringLiteral("压缩完成。"));
        QVERIFY(!v->timer_doZip->isActive());
        QVERIFY(v->cmd_disconn->isEnabled());
        QVERIFY(m_server->waitFor(QStringLiteral("<#sendFileInfo#>")));
        // Waiting for the go-ahead: a second click packs nothing and offers nothing.
        QVERIFY(!v->cmd_updata->isEnabled());
        v->cmd_updata_Click();
        QVERIFY(!v->packing());
        QCOMPARE(m_server->text().count(QStringLiteral("<#sendFileInfo#>")), 1);
    }

    // What the click checked may change while packing runs: a site name refused meanwhile
    // means no offer once packing ends.
    void theOfferChecksAgainWhenPackingEnds()
    {
        readyToUpload();
        v->link()->setQuietMs(kNever);
        sendPieces({"<#siteNameExist#>"});
        v->cmd_updata_Click();
        QVERIFY(v->packing());
        v->link()->quietTimeout();
        QVERIFY(QTest::qWaitFor([&] { return !v->packing(); }, 20000));
        QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("请输入一站点名！"));
        QVERIFY(v->cmd_updata->isEnabled());
        testenv::settle();
        QVERIFY(!m_server->text().contains(QStringLiteral("<#sendFileInfo#>")));
    }

    void closingTheLinkStopsPacking()
    {
        // Shutdown and restore close the link: packing stops first and offers nothing.
        readyToUpload();
        v->cmd_updata_Click();
        QVERIFY(v->packing());
        QVERIFY(v->socketOpen());
        v->closeSocket();
        QVERIFY(!v->packing());
        QVERIFY(!v->socketOpen());
        QVERIFY(v->cmd_updata->isEnabled());
        QVERIFY(m_server->waitForGone());
        testenv::settle();
        QVERIFY(!m_server->text().contains(QStringLiteral("<#sendFileInfo#>")));
        QCOMPARE(m_prompts->messages(), QStringList{"登陆服务器成功！"});
        QCOMPARE(QDir(m_prog->path()).entryList({QStringLiteral(".ziptest.*")}, QDir::Files | QDir::Hidden), QStringList());
    }

    void waitingForTheGoAheadEnds_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("box");
        QTest::newRow("errMsg") << "<#errMsg#>" << kErrMsgText;
        QTest::newRow("selectTemplate") << "<#selectTemplate#>" << "模板选择错误，请重新选择！";
        QTest::newRow("disconnect button") << "disconnect" << "数据上传已中断！";
        QTest::newRow("server closes") << "close" << "上传出错10054:服务器已断开连接";
    }

    void waitingForTheGoAheadEnds()
    {
        QFETCH(QString, how);
        QFETCH(QString, box);
        readyToUpload();
        offerArchive();
        m_prompts->clear();
        if (how == QLatin1String("disconnect")) {
            v->cmd_disconn_Click();
        } else if (how == QLatin1String("close")) {
            m_server->closeClient();
            QVERIFY(QTest::qWaitFor([&] { return !v->socketOpen(); }, 5000));
        } else {
            m_server->say(how);
            QVERIFY(waitForMessage(box));
        }
        QCOMPARE(m_prompts->messages(), box.isEmpty() ? QStringList() : QStringList{box});
        QVERIFY(!v->link()->awaitingGoAhead());
        QVERIFY(v->cmd_updata->isEnabled());
        if (!v->socketOpen()) {
            m_server->received.clear();
            logIn();
        }
        // A go-ahead now was not asked for: nothing follows it.
        const qsizetype before = m_server->received.size();
        goAheadThenMark();
        QCOMPARE(m_server->received.size(), before);
        QVERIFY(!v->link()->uploading());
    }

    void whileWaitingForTheGoAhead_data()
    {
        QTest::addColumn<QByteArray>("news");
        QTest::addColumn<QString>("box"); // the box it shows; "" for the notice window
        QTest::newRow("notice") << QByteArray("<#getversion#>公告") << "";
        QTest::newRow("late password reply") << QByteArray("<#modPwd#>") << "密码修改成功！";
        QTest::newRow("late site name reply") << QByteArray("<#siteName#>") << "站点名更改成功！";
    }

    void whileWaitingForTheGoAhead()
    {
        // News and replies to earlier requests are handled; the wait goes on, and the
        // go-ahead that follows sends the archive.
        QFETCH(QByteArray, news);
        QFETCH(QString, box);
        readyToUpload();
        offerArchive();
        goAheadAndReceiveTheArchive({FakeServer::gbk(QString::fromUtf8(news))});
        if (box.isEmpty())
            QVERIFY(forms().isLoaded<verFrm>());
        else
            QVERIFY(m_prompts->messages().contains(box));
        QCOMPARE(v->StsBar_panel2->text(), QStringLiteral("数据传输完毕！"));
    }

    void nothingElseGoesOutDuringTheTransfer()
    {
        readyToUpload();
        dlgFrm *chat = forms().get<dlgFrm>();
        offerArchive();
        const qsizetype start = m_server->received.size();
        // The server has given the go-ahead; the link has not read it yet.
        m_server->say(QStringLiteral("<#sendFileInfo#>"));
        m_prompts->clear();
        chat->txt_msg->setPlainText(QStringLiteral("快好了吗"));
        chat->OKButton_Click();
        v->txt_newpwd->setText(QStringLiteral("pw2"));
        v->txt_cpwd->setText(QStringLiteral("pw2"));
        v->cmd_modPwd_Click();
        v->txt_webName->setText(QStringLiteral("shop2"));
        v->cmd_changeWebName_Click();
        // Each refusal names what was refused.
        QCOMPARE(m_prompts->messages(), (QStringList{"正在上传数据不能，不能发送消息！", "正在上传数据，不能修改密码！",
                                                     "正在上传数据，不能更改站点名称！"}));
        QCOMPARE(m_prompts->lastMessage().title, QStringLiteral("提示"));
        QCOMPARE(chat->txt_msg->toPlainText(), QStringLiteral("快好了吗"));
        // What the program itself says waits for the end of the archive.
        QVERIFY(!v->link()->sendMsg(message::version()));
        const QByteArray archive = testenv::readFile(m_prog->file(kUploadArchive));
        const QByteArray version = FakeServer::gbk(message::version());
        QVERIFY(QTest::qWaitFor([&] { return m_server->received.size() >= start + archive.size() + version.size(); }, 10000));
        QVERIFY(waitForMessage(QStringLiteral("数据传输完毕！")));
        QCOMPARE(QCryptographicHash::hash(m_server->received.mid(start, archive.size()), QCryptographicHash::Sha256),
                 QCryptographicHash::hash(archive, QCryptographicHash::Sha256));
        QCOMPARE(m_server->received.mid(start + archive.size()), version);
    }

    // The go-ahead arrives while the box of the message before it is open, inside the
    // read that ended that message: it is read once the box closes, the archive goes out
    // whole, and what the server says next is a message of its own.
    void theGoAheadBehindAnOpenBox()
    {
        readyToUpload();
        offerArchive();
        v->link()->setQuietMs(kNever);
        m_prompts->clear();
        QStringList handled;
        connect(v->link(), &ServerLink::arrived, this, [&](const QString &d) { handled << d; });
        QTcpSocket *socket = v->link()->socket();
        QSignalSpy reads(socket, &QTcpSocket::readyRead);
        m_prompts->whileMessageOpen = [&](const PromptCall &call) {
            if (call.text != QLatin1String("notice"))
                return;
            const qsizetype before = reads.count();
            m_server->say(QStringLiteral("<#sendFileInfo#>"));
            // Here: read at once, or waiting in the socket.
            QVERIFY(QTest::qWaitFor([&] { return reads.count() > before || socket->bytesAvailable() > 0; }, 5000));
        };
        const QByteArray archive = testenv::readFile(m_prog->file(kUploadArchive));
        const qsizetype start = m_server->received.size();
        // The chat message's first read ends the notice.
        sendPieces({"<#systemmsg#>notice", "<#talkmsg#>hi"});
        QVERIFY(waitForMessage(QStringLiteral("notice")));
        v->link()->quietTimeout();
        QVERIFY(QTest::qWaitFor([&] { return m_server->received.size() >= start + archive.size(); }, 10000));
        QVERIFY(waitForMessage(QStringLiteral("数据传输完毕！")));
        QCOMPARE(QCryptographicHash::hash(m_server->received.mid(start), QCryptographicHash::Sha256),
                 QCryptographicHash::hash(archive, QCryptographicHash::Sha256));
        sendPieces({"<#modPwd#>"});
        v->link()->quietTimeout();
        QCOMPARE(handled, (QStringList{"<#systemmsg#>notice", "<#talkmsg#>hi", "<#sendFileInfo#>", "<#modPwd#>"}));
        QCOMPARE(m_prompts->messages(), (QStringList{"notice", "数据传输完毕！", "密码修改成功！"}));
        QCOMPARE(forms().get<dlgFrm>()->serverMSG, QStringList{"hi"});
    }

    // Once the link is gone, nothing timed for it follows: the server closes while the
    // log-in box is open, or right after the log-in so that its box opens only as the
    // close is handled, or the user disconnects right after the box.

    void noBoxOnceTheLinkIsGone_data()
    {
        QTest::addColumn<LinkGoes>("goes");
        QTest::newRow("server closes under the log-in box") << LinkGoes::UnderTheBox;
        QTest::newRow("server closes right after the log-in") << LinkGoes::WithTheLogIn;
        QTest::newRow("disconnected after the log-in box") << LinkGoes::ByTheUser;
    }

    void noBoxOnceTheLinkIsGone()
    {
        QFETCH(LinkGoes, goes);
        loadView();
        v->txt_pwd->setText(QStringLiteral("pw"));
        connectView();
        QVERIFY(m_server->waitFor(QStringLiteral("<#login#>acct01||pw")));
        if (goes == LinkGoes::UnderTheBox) {
            m_prompts->whileMessageOpen = [&](const PromptCall &) {
                m_server->closeClient();
                QVERIFY(QTest::qWaitFor([&] { return !v->socketOpen(); }, 5000));
            };
        }
        if (goes == LinkGoes::WithTheLogIn) {
            // The log-in is still being read when the close comes.
            v->link()->setQuietMs(kNever);
            m_server->say(QStringLiteral("<#login#>"));
            m_server->closeClient();
        } else {
            m_server->say(QStringLiteral("<#login#>"));
        }
        QVERIFY(waitForMessage(QStringLiteral("登陆服务器成功！")));
        if (goes == LinkGoes::ByTheUser) {
            QVERIFY(v->timer_verion->isActive());
            v->cmd_disconn_Click();
        }
        QVERIFY(QTest::qWaitFor([&] { return !v->socketOpen(); }, 5000));
        QVERIFY(!v->link()->loggedIn());
        QVERIFY(!v->timer_verion->isActive());
        testenv::settle();
        QCOMPARE(m_prompts->messages(), QStringList{"登陆服务器成功！"});
    }

    void theIdleWatchStopsWithTheLink()
    {
        loadView();
        logIn();
        v->txt_webName->setText(QStringLiteral("shop1"));
        v->cmd_changeWebName_Click();
        QVERIFY(m_server->waitFor(QStringLiteral("<#siteName#>shop1")));
        m_server->say(QStringLiteral("<#siteName#>"));
        QVERIFY(waitForMessage(QStringLiteral("站点名更改成功！")));
        QVERIFY(v->Timer_sck->isActive());
        v->cmd_disconn_Click();
        QVERIFY(!v->Timer_sck->isActive());
        // The next connection watches again once it is logged in.
        QVERIFY(m_server->waitForGone());
        m_server->received.clear();
        m_server->connected = false;
        logIn();
        QVERIFY(v->Timer_sck->isActive());
    }

    void aMessageSplitByAPause()
    {
        // One lost segment resent 200 ms or more later still belongs to its message.
        loadView();
        connectView();
        sendPieces({"<#systemmsg#>one "});
        QTest::qWait(300);
        sendPieces({"two"});
        QVERIFY(waitForMessage(QStringLiteral("one two")));
        QCOMPARE(m_prompts->messages(), QStringList{"one two"});
    }

    void disconnectingWhileSending()
    {
        readyToUpload();
        offerArchive();
        connect(v->link(), &ServerLink::sendProgress, this, [&] {
            if (v->link()->uploading())
                v->cmd_disconn_Click();
        });
        m_prompts->clear();
        m_server->say(QStringLiteral("<#sendFileInfo#>"));
        QVERIFY(waitForMessage(QStringLiteral("数据上传已中断！")));
        QCOMPARE(m_prompts->messages(), QStringList{"数据上传已中断！"});
        QCOMPARE(v->StsBar_panel2->text(), QString());
        QCOMPARE(v->StsBar_panel1->text(), QStringLiteral("已与服务器断开连接"));
        QVERIFY(!v->link()->uploading());
        QCOMPARE(v->ccprg->value(), 0);
        QVERIFY(v->cmd_updata->isEnabled());
    }

    void textGbkCannotHoldIsNotSent_data()
    {
        QTest::addColumn<QString>("what");
        QTest::newRow("password") << "password";
        QTest::newRow("chat") << "chat";
        QTest::newRow("log-in") << "login";
    }

    void textGbkCannotHoldIsNotSent()
    {
        QFETCH(QString, what);
        const QString text = QStringLiteral("ab😀");
        const QString refusal = QStringLiteral("发送的内容含有服务器不能识别的字符：😀");
        loadView();
        if (what == QLatin1String("login")) {
            v->txt_pwd->setText(text);
            v->cmd_connSever_Click();
            QVERIFY(waitForMessage(refusal));
            QVERIFY(m_server->waitForGone());
            QCOMPARE(v->StsBar_panel1->text(), QStringLiteral("已与服务器断开连接"));
            QVERIFY(v->cmd_connSever->isEnabled());
        } else {
            logIn();
            m_prompts->clear();
            if (what == QLatin1String("password")) {
                v->txt_newpwd->setText(text);
                v->txt_cpwd->setText(text);
                v->cmd_modPwd_Click();
                QCOMPARE(v->txt_newpwd->text(), text);
            } else {
                dlgFrm *chat = forms().get<dlgFrm>();
                chat->txt_msg->setPlainText(text);
                chat->OKButton_Click();
                QCOMPARE(chat->txt_msg->toPlainText(), text);
            }
            QCOMPARE(m_prompts->messages(), QStringList{refusal});
            // The version request is the last thing the server got.
            testenv::settle();
            QVERIFY(m_server->text().endsWith(message::version()));
        }
        QCOMPARE(m_prompts->lastMessage().style, 48);
        QVERIFY(!m_server->received.contains('?'));
    }

    void idleCountStartsAfreshOnConnect()
    {
        loadView();
        connectView();
        for (int i = 0; i < 19; ++i)
            v->Timer_sck_Timer();
        v->cmd_disconn_Click();
        connectView();
        v->Timer_sck_Timer();
        QVERIFY(v->socketOpen());
        QCOMPARE(m_prompts->messageCount(), 0);
    }

    void theViewShowsEverythingWhole()
    {
        loadView();
        v->show();
        QVERIFY(QTest::qWaitForWindowExposed(v));
        const QFontMetrics metrics(v->txt_severIP->font());
        const QRect inside = v->txt_severIP->contentsRect();
        QVERIFY2(inside.width() > metrics.horizontalAdvance(kDefaultServer) + 4,
                 qPrintable(QString::number(inside.width())));
        // At the opening size every frame lies whole inside the view, and the help text
        // inside its frame.
        for (QWidget *frame : {static_cast<QWidget *>(v->frm_update), static_cast<QWidget *>(v->Frame5),
                               static_cast<QWidget *>(v->Frame1), static_cast<QWidget *>(v->Frame4),
                               static_cast<QWidget *>(v->Frame3), static_cast<QWidget *>(v->Frame2)})
            QVERIFY2(v->rect().contains(QRect(frame->mapTo(v, QPoint(0, 0)), frame->size())),
                     qPrintable(frame->objectName()));
        QVERIFY(v->lbl_desc->heightForWidth(v->lbl_desc->width()) <= v->lbl_desc->height());
        const QRect box(v->txt_severIP->mapTo(v, QPoint(0, 0)), v->txt_severIP->size());
        QVERIFY(v->frm_update->geometry().contains(box));
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
        v->link()->setPort(port);
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
        v->link()->setPort(m_server->port());
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
        v->link()->setPort(m_server->port());
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
