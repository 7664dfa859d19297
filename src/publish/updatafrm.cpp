#include "publish/updatafrm.h"

#include "core/appcontext.h"
#include "core/twips.h"
#include "profile/profilestore.h"
#include "publish/datapacker.h"
#include "publish/dlgfrm.h"
#include "publish/verfrm.h"
#include "ui/artwork.h"
#include "ui/dialogparts.h"
#include "ui/viewloads.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QStyle>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>

using namespace publish;

namespace {

const QString kTip = QStringLiteral("提示");
const QString kWarning = QStringLiteral("警告");

// The user closed the connection, or it timed out, while an upload was offered or ran.
ui::Message uploadInterrupted()
{
    return {QStringLiteral("数据上传已中断！"), ui::vbInformation, kTip};
}

// The view's least width, and the least distance of the centred frame from the view's
// top and left (twips).
constexpr int kLeastWidth = 10305;
constexpr int kFrameMargin = 1000;

// A text box whose text shows as dots.
QLineEdit *passwordBox(QWidget *parent, const char *name)
{
    QLineEdit *box = dialogparts::lineEdit(parent, name);
    box->setEchoMode(QLineEdit::Password);
    return box;
}

QGroupBox *makeFrame(QWidget *parent, const char *name, const QString &caption)
{
    auto *f = new QGroupBox(caption, parent);
    f->setObjectName(QString::fromLatin1(name));
    f->setMouseTracking(true);
    return f;
}

// One row of a frame: caption, box, and the button acting on it.
void addRow(QGridLayout *grid, int row, QLabel *label, QLineEdit *edit, QPushButton *button = nullptr)
{
    grid->addWidget(label, row, 0);
    grid->addWidget(edit, row, 1);
    if (button)
        grid->addWidget(button, row, 2);
}

bool isSiteNameChar(QChar c)
{
    const ushort u = c.unicode();
    return (u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z');
}

} // namespace

QString updataFrm::helpText()
{
    return QStringLiteral("站点名称：用于构成网站URL(三级域名),名称必须由数字和英文字母组成。")
           + QStringLiteral("\r\n\r\n")
           + QStringLiteral("预览网址：网站发布后的访问地址为 ") + kSiteBaseUrl + QStringLiteral(" 加上站点名称。")
           + QStringLiteral("\r\n\r\n")
           + QStringLiteral("密码：初始密码为：530617，如果需要修改密码请在该窗口下面输入你要修改的新密码。");
}

QString updataFrm::siteUrl(const QString &siteName)
{
    return kSiteBaseUrl + siteName;
}

updataFrm::updataFrm(QWidget *parent)
    : QWidget(parent)
    , m_link(new ServerLink(this))
{
    setObjectName(QStringLiteral("updataFrm"));
    setWindowTitle(QStringLiteral("上传数据"));
    setWindowIcon(artwork::toolIcon(6));

    frm_update = new QFrame(this);
    frm_update->setObjectName(QStringLiteral("frm_update"));

    // Connecting.
    Frame5 = makeFrame(frm_update, "Frame5", QStringLiteral("连接服务器"));
    Label6 = dialogparts::label(Frame5, "Label6", QStringLiteral("服务器IP："));
    txt_severIP = dialogparts::lineEdit(Frame5, "txt_severIP");
    txt_severIP->setText(kDefaultServer);
    txt_severIP->setCursorPosition(0);
    // Wide enough for the whole default address or a dotted IP address.
    {
        const QFontMetrics metrics(txt_severIP->font());
        const int text = qMax(metrics.horizontalAdvance(kDefaultServer),
                              metrics.horizontalAdvance(QStringLiteral("255.255.255.255")));
        txt_severIP->setMinimumWidth(text + 2 * metrics.averageCharWidth() + 8);
    }
    cmd_connSever = dialogparts::button(Frame5, "cmd_connSever", QStringLiteral("连接服务器"));
    cmd_disconn = dialogparts::button(Frame5, "cmd_disconn", QStringLiteral("断开连接"));
    cmd_disconn->setEnabled(false);
    auto *g5 = new QHBoxLayout(Frame5);
    g5->addWidget(Label6);
    g5->addWidget(txt_severIP, 1);
    g5->addWidget(cmd_connSever);
    g5->addWidget(cmd_disconn);

    // What an upload needs.
    Frame1 = makeFrame(frm_update, "Frame1", QStringLiteral("上传条件"));
    Label1 = dialogparts::label(Frame1, "Label1", QStringLiteral("帐    号："));
    txt_serial = dialogparts::lineEdit(Frame1, "txt_serial");
    Label2 = dialogparts::label(Frame1, "Label2", QStringLiteral("站点名称："));
    txt_webName = dialogparts::lineEdit(Frame1, "txt_webName");
    txt_webName->setMouseTracking(true);
    cmd_changeWebName = dialogparts::button(Frame1, "cmd_changeWebName", QStringLiteral("更改"));
    cmd_changeWebName->setEnabled(false);
    Label5 = dialogparts::label(Frame1, "Label5", QStringLiteral("密    码："));
    txt_pwd = passwordBox(Frame1, "txt_pwd");
    Label3 = dialogparts::label(Frame1, "Label3", QStringLiteral("预览网址："));
    txt_url = dialogparts::lineEdit(Frame1, "txt_url");
    cmd_browser = dialogparts::button(Frame1, "cmd_browser", QStringLiteral("浏览"));
    auto *g1 = new QGridLayout(Frame1);
    addRow(g1, 0, Label1, txt_serial);
    addRow(g1, 1, Label2, txt_webName, cmd_changeWebName);
    addRow(g1, 2, Label5, txt_pwd);
    addRow(g1, 3, Label3, txt_url, cmd_browser);

    // Changing the password.
    Frame4 = makeFrame(frm_update, "Frame4", QStringLiteral("修改密码"));
    Label4 = dialogparts::label(Frame4, "Label4", QStringLiteral("新密码："));
    txt_newpwd = passwordBox(Frame4, "txt_newpwd");
    Label4_1 = dialogparts::label(Frame4, "Label4", QStringLiteral("确认密码："));
    txt_cpwd = passwordBox(Frame4, "txt_cpwd");
    cmd_modPwd = dialogparts::button(Frame4, "cmd_modPwd", QStringLiteral("修改"));
    cmd_modPwd->setEnabled(false);
    auto *g4 = new QGridLayout(Frame4);
    addRow(g4, 0, Label4, txt_newpwd);
    addRow(g4, 1, Label4_1, txt_cpwd, cmd_modPwd);

    // Uploading.
    Frame3 = makeFrame(frm_update, "Frame3", QStringLiteral("数据上传"));
    cmd_updata = dialogparts::button(Frame3, "cmd_updata", QStringLiteral("上传数据"));
    ccprg = new QProgressBar(Frame3);
    ccprg->setObjectName(QStringLiteral("ccprg"));
    ccprg->setRange(0, 100);
    ccprg->setValue(0);
    auto *g3 = new QHBoxLayout(Frame3);
    g3->addWidget(cmd_updata);
    g3->addWidget(ccprg, 1);

    // The help text.
    Frame2 = makeFrame(frm_update, "Frame2", QStringLiteral("说明"));
    img_desc = new QLabel(Frame2);
    img_desc->setObjectName(QStringLiteral("img_desc"));
    img_desc->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(24, 24));
    img_desc->setAlignment(Qt::AlignTop);
    lbl_desc = new QLabel(Frame2);
    lbl_desc->setObjectName(QStringLiteral("lbl_desc"));
    lbl_desc->setWordWrap(true);
    lbl_desc->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    lbl_desc->setTextFormat(Qt::PlainText);
    auto *g2 = new QHBoxLayout(Frame2);
    g2->addWidget(img_desc, 0, Qt::AlignTop);
    g2->addWidget(lbl_desc, 1);

    // Connecting and uploading on top; the conditions and the password on the left,
    // the help text on the right.
    auto *grid = new QGridLayout(frm_update);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(6);
    grid->addWidget(Frame5, 0, 0);
    grid->addWidget(Frame3, 0, 1);
    grid->addWidget(Frame1, 1, 0);
    grid->addWidget(Frame4, 2, 0);
    grid->addWidget(Frame2, 1, 1, 2, 1);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);
    // Its designed size, wider where the whole server address needs more room on the
    // left, as far as the view's least width allows (the help text keeps the room it
    // was designed with where it can, and gives up some where it must); only beyond
    // that does the frame grow, and the view's least size with it.
    {
        constexpr int designWidth = 600;
        const int spacing = grid->spacing();
        const int left = std::max({Frame5->minimumSizeHint().width(), Frame1->minimumSizeHint().width(),
                                   Frame4->minimumSizeHint().width()});
        const int rightOwn = qMax(Frame3->minimumSizeHint().width(), Frame2->minimumSizeHint().width());
        // Beside the view's right border, a little of its background still shows.
        const int room = twips::toPx(kLeastWidth - kFrameMargin - 120);
        const int help = (designWidth - spacing) * 2 / 5;
        const int width = std::max({designWidth, qMin(room, left + spacing + help), left + spacing + rightOwn});
        grid->setColumnMinimumWidth(1, qMin(help, width - spacing - left));
        frm_update->setFixedSize(width, 318);
    }

    StsBar = dialogparts::statusBar(this, {&StsBar_panel1, &StsBar_panel2});

    timer_verion = new QTimer(this);
    timer_verion->setObjectName(QStringLiteral("timer_verion"));
    timer_verion->setInterval(100);
    Timer_sck = new QTimer(this);
    Timer_sck->setObjectName(QStringLiteral("Timer_sck"));
    Timer_sck->setInterval(30000);
    timer_doZip = new QTimer(this);
    timer_doZip->setObjectName(QStringLiteral("timer_doZip"));
    timer_doZip->setInterval(50);

    connect(cmd_connSever, &QPushButton::clicked, this, &updataFrm::cmd_connSever_Click);
    connect(cmd_disconn, &QPushButton::clicked, this, &updataFrm::cmd_disconn_Click);
    connect(cmd_changeWebName, &QPushButton::clicked, this, &updataFrm::cmd_changeWebName_Click);
    connect(cmd_modPwd, &QPushButton::clicked, this, &updataFrm::cmd_modPwd_Click);
    connect(cmd_updata, &QPushButton::clicked, this, &updataFrm::cmd_updata_Click);
    connect(cmd_browser, &QPushButton::clicked, this, &updataFrm::cmd_browser_Click);
    connect(txt_webName, &QLineEdit::textChanged, this, &updataFrm::txt_webName_Change);
    connect(txt_newpwd, &QLineEdit::textChanged, this, &updataFrm::txt_newpwd_Change);
    connect(txt_cpwd, &QLineEdit::textChanged, this, &updataFrm::txt_cpwd_Change);
    connect(timer_verion, &QTimer::timeout, this, &updataFrm::timer_verion_Timer);
    connect(Timer_sck, &QTimer::timeout, this, &updataFrm::Timer_sck_Timer);
    connect(timer_doZip, &QTimer::timeout, this, &updataFrm::timer_doZip_Timer);

    connect(m_link, &ServerLink::connected, this, &updataFrm::sckClient_Connect);
    connect(m_link, &ServerLink::replied, this, &updataFrm::sckClient_DataArrival);
    connect(m_link, &ServerLink::closedByPeer, this, &updataFrm::sckClient_Close);
    connect(m_link, &ServerLink::failed, this, &updataFrm::sckClient_Error);
    connect(m_link, &ServerLink::uploadStarted, this, &updataFrm::setProgressMaximum);
    connect(m_link, &ServerLink::sendProgress, this, &updataFrm::sckClient_SendProgress);
    connect(m_link, &ServerLink::sendComplete, this, &updataFrm::sckClient_SendComplete);
    connect(m_link, &ServerLink::uploadFailed, this, &updataFrm::uploadFailed);
    connect(m_link, &ServerLink::ended, this, [this] {
        // The version request and the idle watch belong to the connection that logged
        // in; the idle watch resumes on the next log-in.
        timer_verion->stop();
        versionCount = 0;
        Timer_sck->stop();
        idleCount = 0;
    });
    connect(m_link, &ServerLink::offerDropped, this, [this] {
        resetUpload();
        setPanel2(QString());
    });

    txt_webName->installEventFilter(this);
    for (QWidget *frame : {Frame1, Frame2, Frame3, Frame4})
        frame->installEventFilter(this);

    // Never so small that the frame's far borders are cut off (see Form_Resize).
    const int margin = twips::toPx(kFrameMargin);
    setMinimumSize(qMax(twips::toPx(kLeastWidth), frm_update->width() + margin),
                   qMax(twips::toPx(5745), frm_update->height() + margin + StsBar->height()));
    resize(twips::toPx(10125), twips::toPx(6240));
}

updataFrm::~updataFrm()
{
    // Going away closes the connection quietly.
    stopPacking();
    m_link->disconnect(this);
    m_link->close();
}

void updataFrm::closeSocket()
{
    stopPacking();
    m_link->close();
}

void updataFrm::stopPacking()
{
    if (!m_pack)
        return;
    m_pack->cancelAndWait();
    m_pack.reset();
    timer_doZip->stop();
    resetUpload();
}

void updataFrm::setPanel1(const QString &text)
{
    StsBar_panel1->setText(text);
}

void updataFrm::setPanel2(const QString &text)
{
    StsBar_panel2->setText(text);
}

void updataFrm::Form_Load()
{
    idleCount = 0;
    versionCount = 0;
    lbl_desc->setText(helpText());
    setPanel1(QStringLiteral("还未和服务器建立连接！"));
    loadAccount();
}

void updataFrm::loadAccount()
{
    try {
        const profile::Profile row = profile::ProfileStore(app().conn).load();
        if (!row.found) {
            ui::msgBox(QStringLiteral("没有找到帐号信息，不能连接服务器上传数据！"), ui::vbCritical, kWarning);
            forms().unload<updataFrm>();
            return;
        }
        m_account = row.text(QStringLiteral("serial"));
        txt_serial->setText(m_account);
        const QString siteName = row.text(QStringLiteral("site_name"));
        txt_webName->setText(siteName);
        m_siteNameSet = !siteName.isEmpty();
        m_lastSiteName = txt_webName->text();
        txt_url->setText(siteUrl(siteName));
        txt_url->setCursorPosition(0);
        cmd_changeWebName->setEnabled(false);
    } catch (const std::exception &e) {
        viewloads::failed(this, e, ui::vbCritical, [this] { loadAccount(); });
    }
}

void updataFrm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void updataFrm::Form_Resize()
{
    const int statusHeight = StsBar->sizeHint().height();
    StsBar->setGeometry(0, height() - statusHeight, width(), statusHeight);
    const int floor = twips::toPx(kFrameMargin);
    const int top = qMax((height() - statusHeight - frm_update->height()) / 2, floor);
    const int left = qMax((width() - frm_update->width()) / 2, floor);
    frm_update->move(left, top);
}

bool updataFrm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter) {
        if (watched == txt_webName)
            txt_webName_MouseMove();
        else if (watched == Frame1 || watched == Frame3 || watched == Frame4)
            Frame_MouseMove();
    } else if (event->type() == QEvent::MouseButtonPress && watched == Frame2) {
        Frame_MouseMove();
    }
    return QWidget::eventFilter(watched, event);
}

void updataFrm::txt_webName_MouseMove()
{
    setPanel2(QStringLiteral("站点名称(三级域名)"));
}

void updataFrm::Frame_MouseMove()
{
    setPanel2(QString());
}

// ---- Connection -------------------------------------------------------------------

void updataFrm::cmd_connSever_Click()
{
    if (m_link->isConnected())
        return;
    // An account that could not be read at start-up (another program held the database)
    // is read now, so that the connection logs in with it.
    viewloads::retry();
    setPanel1(QStringLiteral("正在和服务器建立连接..."));
    m_link->connectTo(txt_severIP->text());
    cmd_connSever->setEnabled(false);
    cmd_disconn->setEnabled(true);
}

void updataFrm::sckClient_Connect()
{
    // A new connection starts its idle time afresh.
    idleCount = 0;
    setPanel1(QStringLiteral("已与服务器建立连接"));
    const QString text = m_account.trimmed().isEmpty()
                             ? message::version()
                             : message::login(txt_serial->text(), txt_pwd->text());
    if (const auto failure = m_link->sendMsg(text)) {
        // Not logged in, the connection is of no use.
        m_link->close();
        showDisconnected(QStringLiteral("已与服务器断开连接"));
        ui::show(*failure);
    }
}

void updataFrm::resetUpload()
{
    ccprg->setValue(0);
    m_progressBytes = 0;
    // Packing still running ends the upload itself.
    cmd_updata->setEnabled(!packing());
}

void updataFrm::showDisconnected(const QString &state)
{
    setPanel1(state);
    cmd_connSever->setEnabled(true);
    cmd_disconn->setEnabled(false);
    // A transfer cut short is not running any more.
    resetUpload();
}

void updataFrm::cmd_disconn_Click()
{
    // Packing goes on to the offer: the link stays until it is made.
    if (packing())
        return;
    const bool cut = m_link->close();
    showDisconnected(QStringLiteral("已与服务器断开连接"));
    if (cut)
        uploadCutShort(uploadInterrupted());
}

void updataFrm::sckClient_Close()
{
    showDisconnected(QStringLiteral("已与服务器断开连接"));
}

void updataFrm::sckClient_Error(const QString &description)
{
    setPanel1(QStringLiteral("与服务器建立连接失败！"));
    ui::msgBox(description, ui::vbCritical, kWarning);
    showDisconnected(QStringLiteral("还未和服务器建立连接！"));
}

// ---- What the server says -----------------------------------------------------------

void updataFrm::sckClient_DataArrival(const Reply &reply)
{
    try {
        applyReply(reply);
    } catch (const std::exception &e) {
        ui::msgBox(err::descriptionOf(e), ui::vbInformation, kTip);
    }
}

void updataFrm::applyReply(const Reply &reply)
{
    switch (reply.tag) {
    case Tag::Login:
        setPanel1(QStringLiteral("登陆服务器成功！"));
        ui::msgBox(QStringLiteral("登陆服务器成功！"), ui::vbInformation, kTip);
        // Unless the link went while the box was open.
        if (m_link->loggedIn()) {
            versionCount = 0;
            timer_verion->start();
            if (m_idleWatch)
                Timer_sck->start();
        }
        break;
    case Tag::Logout:
        ui::msgBox(QStringLiteral("帐号或密码错误，请重新登陆！"), ui::vbCritical, kTip);
        setPanel1(QStringLiteral("登陆服务器失败！"));
        cmd_connSever->setEnabled(true);
        if (m_link->close())
            uploadCutShort(uploadInterrupted());
        resetUpload();
        break;
    case Tag::SiteName: {
        // The name the server accepted is the one sent, whatever the box shows now.
        const QString name = m_offeredSiteName.isEmpty() ? txt_webName->text() : m_offeredSiteName;
        m_offeredSiteName.clear();
        profile::ProfileStore(app().conn).setColumn(QStringLiteral("site_name"), name);
        if (txt_webName->text() != name) {
            const QSignalBlocker block(txt_webName);
            txt_webName->setText(name);
            txt_url->setText(siteUrl(name));
        }
        cmd_changeWebName->setEnabled(false);
        m_siteNameSet = true;
        idleCount = 0;
        // Watched from now on; the link may be gone already (the next log-in starts it).
        m_idleWatch = true;
        if (m_link->isConnected())
            Timer_sck->start();
        ui::msgBox(QStringLiteral("站点名更改成功！"), ui::vbInformation, kTip);
        m_lastSiteName = name;
        break;
    }
    case Tag::SiteNameExist:
        m_offeredSiteName.clear();
        ui::msgBox(QStringLiteral("站点名已存在，重新输入！"), ui::vbInformation, kTip);
        m_siteNameSet = false;
        txt_webName->setText(m_lastSiteName);
        break;
    case Tag::ModPwd:
        ui::msgBox(QStringLiteral("密码修改成功！"), ui::vbInformation, kTip);
        break;
    case Tag::SelectTemplate:
        ui::msgBox(QStringLiteral("模板选择错误，请重新选择！"), ui::vbCritical, kTip);
        break;
    case Tag::TalkMsg:
        forms().get<dlgFrm>()->deliver(reply.text);
        break;
    case Tag::GetVersion: {
        const profile::Profile row = profile::ProfileStore(app().conn).load();
        if (row.found && profile::noticeDue(row.value(QStringLiteral("field06")), QDate::currentDate()))
            forms().get<verFrm>()->deliver(reply.text);
        break;
    }
    case Tag::SystemMsg:
        ui::msgBox(systemMessageText(reply.text), ui::vbInformation, QStringLiteral("系统信息"));
        break;
    case Tag::ErrMsg:
        ui::msgBox(QStringLiteral("与服务器连接出现障碍，请重试！\r\n如仍有问题，请与技术支持联系：support@quorvik.cn"),
                   ui::vbInformation, kTip);
        break;
    case Tag::SendFileInfo:
    case Tag::None:
        break;
    }
}

// ---- Site name and password -------------------------------------------------------

void updataFrm::txt_webName_Change()
{
    const QString text = txt_webName->text();
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (isSiteNameChar(text.at(i)))
            continue;
        // Cut to the characters before it; the shorter text passes the check below.
        {
            const QSignalBlocker block(txt_webName);
            txt_webName->setText(text.left(i));
        }
        ui::msgBox(QStringLiteral("站点名只能输入英文字符或数字！"), ui::vbExclamation, kTip);
        txt_webName_Change();
        return;
    }
    txt_url->setText(siteUrl(text));
    cmd_changeWebName->setEnabled(!text.trimmed().isEmpty());
}

void updataFrm::cmd_changeWebName_Click()
{
    if (txt_webName->text().trimmed().isEmpty()) {
        ui::msgBox(QStringLiteral("不能未空！"), ui::vbInformation, kTip);
    } else if (!m_link->loggedIn()) {
        ui::msgBox(QStringLiteral("还没登陆服务器！"), ui::vbCritical, kWarning);
    } else if (m_link->transferring()) {
        ui::show(busyUploading(QStringLiteral("更改站点名称")));
    } else {
        m_offeredSiteName = txt_webName->text();
        if (const auto failure = m_link->sendMsg(message::siteName(m_offeredSiteName)))
            ui::show(*failure);
        else
            cmd_changeWebName->setEnabled(false);
    }
    txt_webName->setFocus();
}

void updataFrm::txt_newpwd_Change()
{
    // The password is sent as typed: it must be what the confirmation says, and not blank.
    cmd_modPwd->setEnabled(txt_newpwd->text() == txt_cpwd->text() && !txt_newpwd->text().trimmed().isEmpty());
}

void updataFrm::txt_cpwd_Change()
{
    txt_newpwd_Change();
}

void updataFrm::cmd_modPwd_Click()
{
    if (!m_link->loggedIn()) {
        ui::msgBox(QStringLiteral("还没登陆服务器！"), ui::vbCritical, kWarning);
        return;
    }
    if (txt_newpwd->text() != txt_cpwd->text()) {
        ui::msgBox(QStringLiteral("两次密码不同，请重新输入!"), ui::vbCritical, kTip);
        return;
    }
    if (txt_newpwd->text().trimmed().isEmpty()) {
        ui::msgBox(QStringLiteral("不能未空！"), ui::vbInformation, kTip);
        txt_newpwd->setFocus();
        return;
    }
    if (m_link->transferring()) {
        ui::show(busyUploading(QStringLiteral("修改密码")));
        return;
    }
    if (const auto failure = m_link->sendMsg(message::modPwd(txt_newpwd->text()))) {
        ui::show(*failure);
        return;
    }
    cmd_modPwd->setEnabled(false);
    txt_cpwd->clear();
    txt_newpwd->clear();
}

void updataFrm::cmd_browser_Click()
{
    QDesktopServices::openUrl(QUrl::fromUserInput(txt_url->text()));
}

// ---- Upload -----------------------------------------------------------------------

bool updataFrm::mayUpload()
{
    if (!m_link->loggedIn()) {
        ui::msgBox(QStringLiteral("还没登陆服务器！"), ui::vbCritical, kWarning);
        return false;
    }
    if (!m_siteNameSet) {
        ui::msgBox(QStringLiteral("请输入一站点名！"), ui::vbCritical, kWarning);
        txt_webName->setFocus();
        return false;
    }
    return true;
}

void updataFrm::cmd_updata_Click()
{
    // From the click to the end of the transfer, one upload at a time.
    if (packing() || m_link->transferring() || !mayUpload())
        return;
    cmd_updata->setEnabled(false);
    // Packing runs beside the window, which shows the hint meanwhile; the database is
    // packed from a copy, the views go on saving.
    const QString db = app().conn.filePath();
    cmd_disconn->setEnabled(false);
    timer_doZip->start();
    timer_doZip_Timer();
    m_pack = std::make_unique<PackJob>(DataPacker(app().currentPath, app().currImgPath),
                                       !db.isEmpty() && QFileInfo(db).isFile() ? db : QString());
    connect(m_pack.get(), &PackJob::finished, this, &updataFrm::packFinished);
    m_pack->start();
}

void updataFrm::packFinished(const DataPacker::Result &packed)
{
    timer_doZip->stop();
    if (m_pack) {
        // Not deleted from inside its own signal.
        m_pack.release()->deleteLater();
    }
    cmd_disconn->setEnabled(m_link->isOpen());
    if (packed.cancelled) {
        resetUpload();
        return;
    }
    if (!packed.ok) {
        setPanel2(QString());
        if (packed.message)
            ui::show(*packed.message);
        ui::msgBox(QStringLiteral("压缩文件出错！"), ui::vbCritical, kWarning);
        resetUpload();
        return;
    }
    setPanel2(QStringLiteral("压缩完成。"));
    // The log-in or the site name may have changed while packing ran (a closed link is
    // told by the offer).
    if (m_link->isConnected() && !mayUpload()) {
        resetUpload();
        return;
    }
    if (const auto failure = m_link->offerArchive(app().currentPath + kUploadArchive)) {
        ui::show(*failure);
        resetUpload();
    }
}

void updataFrm::setProgressMaximum(qint64 total)
{
    m_progressShift = 0;
    while ((total >> m_progressShift) > std::numeric_limits<int>::max())
        ++m_progressShift;
    m_progressBytes = 0;
    ccprg->setRange(0, int(total >> m_progressShift));
    ccprg->setValue(0);
}

void updataFrm::addProgress(qint64 bytes)
{
    m_progressBytes += bytes;
    ccprg->setValue(int(qMin(m_progressBytes >> m_progressShift, qint64(ccprg->maximum()))));
}

void updataFrm::sckClient_SendProgress(qint64 bytes)
{
    idleCount = 0;
    addProgress(bytes);
    setPanel2(QStringLiteral("正在上传数据..."));
    cmd_updata->setEnabled(false);
}

void updataFrm::sckClient_SendComplete()
{
    ccprg->setValue(0);
    m_progressBytes = 0;
    ui::msgBox(QStringLiteral("数据传输完毕！"), ui::vbInformation, kTip);
    setPanel2(QStringLiteral("数据传输完毕！"));
    cmd_updata->setEnabled(true);
}

void updataFrm::uploadFailed(const ui::Message &message)
{
    // A transfer cut short closed the connection.
    if (!m_link->isOpen())
        showDisconnected(QStringLiteral("已与服务器断开连接"));
    uploadCutShort(message);
}

void updataFrm::uploadCutShort(const ui::Message &message)
{
    resetUpload();
    setPanel2(QString());
    ui::show(message);
}

// ---- Timers -----------------------------------------------------------------------

void updataFrm::timer_verion_Timer()
{
    if (++versionCount < 2)
        return;
    versionCount = 0;
    timer_verion->stop();
    if (const auto failure = m_link->sendMsg(message::version()))
        ui::show(*failure);
}

void updataFrm::Timer_sck_Timer()
{
    // Only a connection can sit idle; one waiting for its packing does not.
    if (!m_link->isOpen() || packing()) {
        idleCount = 0;
        return;
    }
    if (++idleCount < 20)
        return;
    idleCount = 0;
    cmd_disconn_Click();
    ui::msgBox(QStringLiteral("连接超时，已于服务器断开连接！"), ui::vbInformation, kTip);
    m_idleWatch = false;
    Timer_sck->stop();
}

void updataFrm::timer_doZip_Timer()
{
    setPanel2(QStringLiteral("正在打包压缩数据..."));
}
