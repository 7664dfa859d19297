#pragma once
// The link to the publishing server: the messages of both directions, the dispatch of
// what arrives, the archive transfer, and the state of the link (mdl_upData). No
// widgets: the upload view and the chat window act on what it reports.
//
// On the wire every message is a tag "<#name#>" followed by its fields joined by "||",
// in GBK, with no length and no terminator; the archive goes raw, once.

#include "platform/prompter.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringDecoder>
#include <QTcpSocket>
#include <QTimer>
#include <optional>

namespace publish {

// The publishing server and where it publishes a site.
inline const QString kDefaultServer = QStringLiteral("server.quorvik.cn");
constexpr quint16 kServerPort = 1234;
inline const QString kSiteBaseUrl = QStringLiteral("http://www.quorvik.cn/");

// What the server can say, in the order the dispatcher tests for them.
enum class Tag {
    None,
    Login,
    Logout,
    SiteName,
    SiteNameExist,
    ModPwd,
    SelectTemplate,
    TalkMsg,
    GetVersion,
    SystemMsg,
    SendFileInfo,
    ErrMsg,
};

// "<#login#>" and so on.
QString tagText(Tag tag);

// One arrival as the dispatcher reads it: the first tag of the list found anywhere in
// the data decides; the text is the data with every occurrence of that tag removed.
struct Reply {
    Tag tag = Tag::None;
    QString text;
};
Reply parseReply(const QString &data);

// A system message as shown: "<br>" becomes a line break, the whole in lower case.
QString systemMessageText(const QString &text);

// The client's messages.
namespace message {
QString login(const QString &account, const QString &password);
QString version();
QString siteName(const QString &name);
QString modPwd(const QString &password);
QString sendFileInfo(qint64 size);
QString talk(const QString &storedText);
} // namespace message

class ServerLink : public QObject {
    Q_OBJECT
public:
    explicit ServerLink(QObject *parent = nullptr);
    ~ServerLink() override;

    // ---- State of the link (reset by the upload view when it loads) ----
    QString loginAccount;   // the account identifier of the site profile
    bool loggedIn = false;  // the server accepted the log-in
    bool uploading = false; // the archive is being sent
    qint64 zipSize = 0;     // byte length of the archive offered
    bool siteNameSet = false;
    QString lastSiteName;

    // The socket (sckClient).
    QTcpSocket *socket() const { return m_socket; }
    // Remote port (1234 unless a test names another) and how long connecting may take.
    quint16 port = kServerPort;
    int connectTimeoutMs = 20000;

    bool isConnected() const;
    // In any state other than closed.
    bool isOpen() const;
    // Closes what is open and starts connecting to host.
    void connectTo(const QString &host);
    // Closes by our own choice: no closedByPeer; an unfinished transfer is dropped.
    void close();

    // Sends one client message; the message to show instead when not connected or the
    // socket refused it.
    std::optional<ui::Message> sendMsg(const QString &text);

    // Offers the archive: its length becomes zipSize and "<#sendFileInfo#>" goes out;
    // the bytes follow when the server gives the go-ahead. The message to show when
    // the file cannot be read or nothing can be sent.
    std::optional<ui::Message> offerArchive(const QString &path);
    QString archivePath() const { return m_archivePath; }

    // Reads one arrival and dispatches it (called on every readyRead).
    void handleServerData();

signals:
    void connected();
    // The decoded text of one arrival, before dispatch.
    void arrived(const QString &data);
    // Every arrival holding a tag, except the go-ahead of the transfer, which the link
    // answers itself.
    void replied(const publish::Reply &reply);
    // The server closed the connection (not a failure).
    void closedByPeer();
    // Connecting or the connection failed; the description comes from the catalogue.
    void failed(const QString &description);

    // The transfer: started (total bytes), progress (bytes just sent), complete, or
    // failed (the transfer did not reach the server whole).
    void uploadStarted(qint64 total);
    void sendProgress(qint64 bytes);
    void sendComplete();
    void uploadFailed(const ui::Message &message);

private:
    void sendZipFile();
    void onBytesWritten(qint64 bytes);
    void onDisconnected();
    void onError(QAbstractSocket::SocketError error);
    void onConnectTimeout();
    // Aborts the socket without reporting it as the peer's close.
    void abortQuietly();
    // Drops an unfinished transfer; true when one was running or awaited.
    bool dropUpload();

    QTcpSocket *m_socket = nullptr;
    QTimer m_connectTimer;
    QStringDecoder m_decoder;
    bool m_closingByUs = false;
    bool m_dispatching = false;
    QString m_archivePath;
    bool m_awaitingGoAhead = false;
    qint64 m_skipBeforeArchive = 0; // bytes queued ahead of the archive
    qint64 m_archiveUnsent = 0;     // archive bytes not yet written to the network
};

// "上传出错:" and a description: an upload that did not reach the server.
ui::Message uploadError(const QString &description);

} // namespace publish

Q_DECLARE_METATYPE(publish::Reply)
