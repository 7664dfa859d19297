#pragma once
// The link to the publishing server: the messages of both directions, the dispatch of
// what arrives, the archive transfer, and the state of the link (mdl_upData). No
// widgets: the upload view and the chat window act on what it reports.
//
// On the wire every message is a tag "<#name#>" followed by its fields joined by "||",
// in GBK, with no length and no terminator; the archive goes raw, once. So what the
// server says is framed by time: a read that does not begin with a tag continues the
// message before it, and a message ends when the next tag-led read comes or the line
// stays quiet long enough to ride out a lost segment.
//
// The server counts the archive's bytes from its go-ahead on: from the offer until the
// last of them is handed to the socket nothing else goes out.

#include "core/errors.h"
#include "core/message.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QObject>
#include <QString>
#include <QStringDecoder>
#include <QTcpSocket>
#include <QTimer>
#include <memory>
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

// One message as the dispatcher reads it: the first tag of the list found anywhere in
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

    // ---- State of the link ----
    // The server accepted the log-in on this connection, and it is still there: a log-in
    // read only as the server's close is handled is over already.
    bool loggedIn() const { return m_loggedIn && isConnected(); }
    // The archive is being sent.
    bool uploading() const { return m_uploading; }
    // Byte length of the archive offered or being sent; 0 when there is none.
    qint64 zipSize() const { return m_zipSize; }

    // The socket (sckClient).
    QTcpSocket *socket() const { return m_socket; }
    // The remote port of the next connection: 1234 unless a test names another.
    void setPort(quint16 port) { m_port = port; }
    // A message ends when the next one begins with its tag, or after this long without
    // data (milliseconds): longer than a lost TCP segment takes to be sent again.
    void setQuietMs(int ms) { m_quietMs = ms; }

    bool isConnected() const;
    // In any state other than closed.
    bool isOpen() const;
    // Closes what is open and starts connecting to host.
    void connectTo(const QString &host);
    // Closes by our own choice: no closedByPeer; an unfinished transfer and what the
    // server said but was not yet handled are dropped. True when an offer or a transfer
    // was cut short.
    bool close();

    // Sends one client message; the message to show instead when not connected, when
    // GBK cannot hold a character of it, or when the socket refused it. From an offer
    // until the archive is handed over, messages wait and follow it.
    std::optional<ui::Message> sendMsg(const QString &text);

    // Offers the archive: its length becomes zipSize() and "<#sendFileInfo#>" goes out;
    // the bytes follow when the server gives the go-ahead. The message to show when
    // the file cannot be read or nothing can be sent.
    std::optional<ui::Message> offerArchive(const QString &path);
    // An offer waits for the server's go-ahead.
    bool awaitingGoAhead() const { return m_awaitingGoAhead; }
    // An upload is offered or runs: from the offer to the end of the send, what the
    // user would send is refused (busyUploading()).
    bool transferring() const { return m_awaitingGoAhead || m_uploading; }

    // Reads what arrived and adds it to the message being collected (every readyRead);
    // the messages it ends are handled right after, outside readyRead.
    void handleServerData();
    // The quiet time passed: the message collected so far is complete (the timer's tick).
    void quietTimeout();

signals:
    void connected();
    // The decoded text of one whole message, before dispatch.
    void arrived(const QString &data);
    // Every message holding a tag, except the go-ahead of the transfer, which the link
    // answers itself. Once the server has closed, messages still waiting behind an open
    // box come only when they change nothing of the link (notices, chat, failures).
    void replied(const publish::Reply &reply);
    // The server closed the connection (not a failure).
    void closedByPeer();
    // Connecting or the connection failed; the description comes from the catalogue.
    void failed(const QString &description);
    // The connection is gone, whoever ended it (us, the server or a failure): nothing
    // timed for it may follow.
    void ended();

    // The server answered an offer with a failure ("<#errMsg#>", "<#selectTemplate#>"):
    // no transfer follows. Anything else it says meanwhile leaves the offer waiting.
    void offerDropped();
    // The transfer: started (total bytes), progress (bytes just sent), complete, or
    // failed (the offer or the transfer came to nothing as the connection failed or
    // the server closed it; the connection is closed).
    void uploadStarted(qint64 total);
    void sendProgress(qint64 bytes);
    void sendComplete();
    void uploadFailed(const ui::Message &message);

private:
    void sendZipFile();
    // Hands the socket the next pieces of the archive while little is queued.
    void feedArchive();
    void failTransfer(const ui::Message &message);
    void onBytesWritten(qint64 bytes);
    void onDisconnected();
    void onError(QAbstractSocket::SocketError error);
    void onConnectTimeout();
    // Aborts the socket without reporting it as the peer's close.
    void abortQuietly();
    // Drops an unfinished transfer; true when one was running or awaited.
    bool dropUpload();
    // The server refused the offer: what waited for the archive goes now.
    void endWait();
    // Nothing but the archive may go out now.
    bool holding() const;

    // Framing: what was read is collected into whole messages, handled in order.
    void readArrival();
    void endMessage();
    void dispatchReady();
    void dispatch(const QString &data);
    void resetFraming();

    QTcpSocket *m_socket = nullptr;
    quint16 m_port = kServerPort;
    // How long connecting may take (milliseconds).
    static constexpr int kConnectTimeoutMs = 20000;
    QTimer m_connectTimer;
    QStringDecoder m_decoder;
    bool m_closingByUs = false;
    bool m_peerGone = false; // the server closed this connection

    bool m_loggedIn = false;

    int m_quietMs = 400;
    QTimer m_quietTimer;
    QElapsedTimer m_sinceRead;
    QString m_message;        // the message being collected
    bool m_collecting = false;
    QString m_undecided;      // a read that so far is only the start of a tag
    QStringList m_ready;      // whole messages not yet handled
    bool m_dispatching = false;

    QString m_archivePath;
    std::unique_ptr<QFile> m_archive; // open from the offer to the end of the transfer
    bool m_awaitingGoAhead = false;
    bool m_uploading = false;
    qint64 m_zipSize = 0;
    qint64 m_skipBeforeArchive = 0; // bytes queued ahead of the archive
    qint64 m_archiveUnsent = 0;     // archive bytes not yet written to the network
    qint64 m_archiveUnread = 0;     // archive bytes not yet handed to the socket
    QByteArray m_held;              // client messages that follow the archive
};

// "上传出错", the error's number, ":" and its description: an upload that did not
// reach the server.
ui::Message uploadError(err::Kind kind, const QString &detail = QString());

// Told to the user who sends a chat message while an upload is offered or runs; and,
// naming what was refused ("修改密码"), who asks for anything else meanwhile.
ui::Message busyUploading();
ui::Message busyUploading(const QString &refused);

} // namespace publish

Q_DECLARE_METATYPE(publish::Reply)
