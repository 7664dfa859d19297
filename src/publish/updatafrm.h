#pragma once
// The upload view: connecting to the publishing server, log-in, the site name and the
// account password, the site's address, and packing and uploading the data folder.

#include "publish/datapacker.h"
#include "publish/serverlink.h"
#include "ui/formregistry.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QWidget>
#include <memory>

class updataFrm : public QWidget, public IForm {
    Q_OBJECT
public:
    static constexpr FormKind kKind = FormKind::MdiView;
    explicit updataFrm(QWidget *parent = nullptr);
    ~updataFrm() override;

    // The server connection is in any state other than closed, or packing for an upload
    // on it runs (closeSocket() then stops it).
    bool socketOpen() const { return m_link->isOpen() || packing(); }
    // Closes the server connection (shutdown, restore); a packing still running is
    // stopped first.
    void closeSocket();
    // The data folder is being packed for an upload.
    bool packing() const { return m_pack && m_pack->isRunning(); }
    // The link to the server, with its state.
    publish::ServerLink *link() const { return m_link; }
    // The site has a name the server accepted (stored in the profile or accepted since),
    // and that name.
    bool siteNameSet() const { return m_siteNameSet; }
    QString lastSiteName() const { return m_lastSiteName; }

    // The help text, paragraphs separated by an empty line.
    static QString helpText();
    // The published site's address for a site name.
    static QString siteUrl(const QString &siteName);

    // Handlers, by the names of their controls and events.
    void Form_Load() override;
    void Form_Resize();
    void cmd_connSever_Click();
    void cmd_disconn_Click();
    void cmd_changeWebName_Click();
    void cmd_modPwd_Click();
    void cmd_updata_Click();
    void cmd_browser_Click();
    void txt_webName_Change();
    void txt_newpwd_Change();
    void txt_cpwd_Change();
    void txt_webName_MouseMove();
    void Frame_MouseMove();
    void timer_verion_Timer();
    void Timer_sck_Timer();
    void timer_doZip_Timer();
    void sckClient_Connect();
    void sckClient_DataArrival(const publish::Reply &reply);
    void sckClient_Close();
    void sckClient_Error(const QString &description);
    void sckClient_SendProgress(qint64 bytes);
    void sckClient_SendComplete();

    QFrame *frm_update = nullptr;
    QGroupBox *Frame5 = nullptr, *Frame1 = nullptr, *Frame4 = nullptr, *Frame3 = nullptr, *Frame2 = nullptr;
    QLabel *Label6 = nullptr, *Label1 = nullptr, *Label2 = nullptr, *Label5 = nullptr, *Label3 = nullptr,
           *Label4 = nullptr, *Label4_1 = nullptr;
    QLineEdit *txt_severIP = nullptr, *txt_serial = nullptr, *txt_webName = nullptr, *txt_pwd = nullptr,
              *txt_url = nullptr, *txt_newpwd = nullptr, *txt_cpwd = nullptr;
    QPushButton *cmd_connSever = nullptr, *cmd_disconn = nullptr, *cmd_changeWebName = nullptr,
                *cmd_browser = nullptr, *cmd_modPwd = nullptr, *cmd_updata = nullptr;
    QProgressBar *ccprg = nullptr;
    QLabel *img_desc = nullptr, *lbl_desc = nullptr;
    QStatusBar *StsBar = nullptr;
    QLabel *StsBar_panel1 = nullptr, *StsBar_panel2 = nullptr;
    QTimer *timer_verion = nullptr, *Timer_sck = nullptr, *timer_doZip = nullptr;

    // Ticks of Timer_sck since the last send progress, and of timer_verion.
    int idleCount = 0;
    int versionCount = 0;

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The account and site name from the profile.
    void loadAccount();
    void setPanel1(const QString &text);
    void setPanel2(const QString &text);
    // The connection is gone: panel 1 says how; connecting is possible again.
    void showDisconnected(const QString &state);
    // No transfer runs: progress at 0, the upload button usable.
    void resetUpload();
    void uploadFailed(const ui::Message &message);
    // An offer or a transfer came to nothing: the view says so and is ready again.
    void uploadCutShort(const ui::Message &message);
    // Logged in with a site name set: else says what is missing.
    bool mayUpload();
    void packFinished(const publish::DataPacker::Result &result);
    // Stops a packing still running; its archives stay as they were.
    void stopPacking();
    void applyReply(const publish::Reply &reply);
    // Progress bar in bytes, scaled down for archives beyond its range.
    void setProgressMaximum(qint64 total);
    void addProgress(qint64 bytes);

    publish::ServerLink *m_link = nullptr;
    std::unique_ptr<publish::PackJob> m_pack;
    // The profile's account; blank, the view asks for the version without logging in.
    QString m_account;
    bool m_siteNameSet = false;
    // Whether the idle disconnect runs while logged in: from an accepted site name until
    // the idle disconnect itself switches it off.
    bool m_idleWatch = false;
    QString m_lastSiteName;
    // The site name last sent for the server to accept.
    QString m_offeredSiteName;
    int m_progressShift = 0;
    qint64 m_progressBytes = 0;
};
