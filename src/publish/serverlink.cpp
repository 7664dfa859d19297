#include "publish/serverlink.h"

#include "platform/errors.h"
#include "platform/version.h"
#include "platform/version.h"

#include <QFile>
#include <QStringEncoder>

namespace publish {

namespace {

struct TagName {
    Tag tag;
    const char *text;
};

// The dispatcher's order: "<#siteName#>" is not part of "<#siteNameExist#>", so the
// order only matters for data holding several tags.
constexpr TagName kTags[] = {
    {Tag::Login, "<#login#>"},
    {Tag::Logout, "<#logout#>"},
    {Tag::SiteName, "<#siteName#>"},
    {Tag::SiteNameExist, "<#siteNameExist#>"},
    {Tag::ModPwd, "<#modPwd#>"},
    {Tag::SelectTemplate, "<#selectTemplate#>"},
    {Tag::TalkMsg, "<#talkmsg#>"},
    {Tag::GetVersion, "<#getversion#>"},
    {Tag::SystemMsg, "<#systemmsg#>"},
    {Tag::SendFileInfo, "<#sendFileInfo#>"},
    {Tag::ErrMsg, "<#errMsg#>"},
};

const QString kSeparator = QStringLiteral("||");

ui::Message notConnected()
{
    return {QStringLiteral("没有和服务器建立连接！"), ui::vbExclamation, QStringLiteral("提示")};
}

// A failure while handling what arrived: its description, as every dispatch failure.
ui::Message handlingFailure(const QString &description)
{
    return {description, ui::vbInformation, QStringLiteral("提示")};
}

} // namespace

QString tagText(Tag tag)
{
    for (const TagName &t : kTags)
        if (t.tag == tag)
            return QString::fromLatin1(t.text);
    return QString();
}

Reply parseReply(const QString &data)
{
    for (const TagName &t : kTags) {
        const QString tag = QString::fromLatin1(t.text);
        if (data.contains(tag, Qt::CaseSensitive))
            return {t.tag, QString(data).remove(tag, Qt::CaseSensitive)};
    }
    return {};
}

QString systemMessageText(const QString &text)
{
    return QString(text).replace(QStringLiteral("<br>"), QStringLiteral("\r\n")).toLower();
}

namespace message {
QString login(const QString &account, const QString &password)
{
    return tagText(Tag::Login) + account + kSeparator + password;
}
QString version()
{
    return tagText(Tag::GetVersion) + kVersionText;
}
QString siteName(const QString &name)
{
    return tagText(Tag::SiteName) + name;
}
QString modPwd(const QString &password)
{
    return tagText(Tag::ModPwd) + password;
}
QString sendFileInfo(qint64 size)
{
    return tagText(Tag::SendFileInfo) + QString::number(size);
}
QString talk(const QString &storedText)
{
    return tagText(Tag::TalkMsg) + storedText;
}
} // namespace message

ui::Message uploadError(const QString &description)
{
    return {QStringLiteral("上传出错:") + description, ui::vbOKOnly, kMainCaption};
}

ServerLink::ServerLink(QObject *parent)
    : QObject(parent)
    , m_socket(new QTcpSocket(this))
    , m_decoder("GBK")
{
    m_socket->setObjectName(QStringLiteral("sckClient"));
    m_connectTimer.setSingleShot(true);
    connect(&m_connectTimer, &QTimer::timeout, this, &ServerLink::onConnectTimeout);
    connect(m_socket, &QTcpSocket::connected, this, [this] {
        m_connectTimer.stop();
        emit connected();
    });
    connect(m_socket, &QTcpSocket::readyRead, this, &ServerLink::handleServerData);
    connect(m_socket, &QTcpSocket::bytesWritten, this, &ServerLink::onBytesWritten);
    connect(m_socket, &QTcpSocket::disconnected, this, &ServerLink::onDisconnected);
    connect(m_socket, &QTcpSocket::errorOccurred, this, &ServerLink::onError);
}

ServerLink::~ServerLink()
{
    // Going away says nothing to anyone.
    m_socket->disconnect(this);
    m_closingByUs = true;
    m_socket->abort();
}

bool ServerLink::isConnected() const
{
    return m_socket->state() == QAbstractSocket::ConnectedState;
}

bool ServerLink::isOpen() const
{
    return m_socket->state() != QAbstractSocket::UnconnectedState;
}

void ServerLink::connectTo(const QString &host)
{
    close();
    // Each connection decodes from a clean state.
    m_decoder = QStringDecoder("GBK");
    m_socket->connectToHost(host.trimmed(), port);
    if (connectTimeoutMs > 0)
        m_connectTimer.start(connectTimeoutMs);
}

void ServerLink::close()
{
    m_connectTimer.stop();
    dropUpload();
    if (m_socket->state() == QAbstractSocket::UnconnectedState)
        return;
    abortQuietly();
}

void ServerLink::abortQuietly()
{
    // Aborting reports the disconnection at once: it is ours, not the peer's.
    m_closingByUs = true;
    m_socket->abort();
    m_closingByUs = false;
}

std::optional<ui::Message> ServerLink::sendMsg(const QString &text)
{
    if (!isConnected())
        return notConnected();
    QStringEncoder encoder("GBK");
    const QByteArray bytes = encoder.encode(text);
    // The socket keeps what the network does not take at once and sends it in order.
    if (m_socket->write(bytes) != bytes.size())
        return handlingFailure(err::describe(err::Kind::SocketOther, m_socket->errorString()));
    return std::nullopt;
}

std::optional<ui::Message> ServerLink::offerArchive(const QString &path)
{
    if (!isConnected())
        return notConnected();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return uploadError(err::describe(err::Kind::FileRead, path));
    const qint64 size = file.size();
    file.close();
    if (size <= 0)
        return uploadError(err::describe(err::Kind::FileRead, path));
    zipSize = size;
    m_archivePath = path;
    if (auto failure = sendMsg(message::sendFileInfo(size))) {
        zipSize = 0;
        return failure;
    }
    m_awaitingGoAhead = true;
    return std::nullopt;
}

void ServerLink::handleServerData()
{
    // A message box of the previous arrival is still open: this one follows it.
    if (m_dispatching)
        return;
    const QByteArray bytes = m_socket->readAll();
    if (bytes.isEmpty())
        return;
    // A character split between two arrivals is completed by the next one.
    const QString data = m_decoder.decode(bytes);
    m_dispatching = true;
    emit arrived(data);
    const Reply reply = parseReply(data);
    switch (reply.tag) {
    case Tag::None:
        break;
    case Tag::Login:
        loggedIn = true;
        emit replied(reply);
        break;
    case Tag::SendFileInfo:
        sendZipFile();
        break;
    default:
        emit replied(reply);
        break;
    }
    m_dispatching = false;
    // The socket does not announce again what arrived while a handler waited on the
    // user.
    if (m_socket->bytesAvailable() > 0)
        QTimer::singleShot(0, this, &ServerLink::handleServerData);
}

void ServerLink::sendZipFile()
{
    // A go-ahead for nothing offered, or a second one, sends nothing.
    if (!m_awaitingGoAhead || uploading)
        return;
    m_awaitingGoAhead = false;
    uploading = true;
    QFile file(m_archivePath);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.read(zipSize);
    // The server counts on exactly the length offered.
    if (bytes.size() != zipSize) {
        dropUpload();
        emit uploadFailed(handlingFailure(err::describe(err::Kind::FileRead, m_archivePath)));
        return;
    }
    emit uploadStarted(zipSize);
    m_skipBeforeArchive = m_socket->bytesToWrite();
    m_archiveUnsent = zipSize;
    if (m_socket->write(bytes) != bytes.size()) {
        dropUpload();
        emit uploadFailed(uploadError(err::describe(err::Kind::SocketOther, m_socket->errorString())));
    }
}

void ServerLink::onBytesWritten(qint64 bytes)
{
    if (!uploading)
        return;
    const qint64 before = qMin(bytes, m_skipBeforeArchive);
    m_skipBeforeArchive -= before;
    const qint64 archived = qMin(bytes - before, m_archiveUnsent);
    if (archived <= 0)
        return;
    m_archiveUnsent -= archived;
    emit sendProgress(archived);
    if (m_archiveUnsent == 0) {
        uploading = false;
        zipSize = 0;
        emit sendComplete();
    }
}

bool ServerLink::dropUpload()
{
    const bool running = uploading || m_awaitingGoAhead;
    uploading = false;
    m_awaitingGoAhead = false;
    zipSize = 0;
    m_skipBeforeArchive = 0;
    m_archiveUnsent = 0;
    return running;
}

void ServerLink::onDisconnected()
{
    m_connectTimer.stop();
    if (m_closingByUs)
        return;
    if (dropUpload())
        emit uploadFailed(uploadError(err::text(err::Kind::SocketClosed)));
    emit closedByPeer();
}

void ServerLink::onError(QAbstractSocket::SocketError error)
{
    // The peer closing is reported by disconnected(), and is no failure.
    if (error == QAbstractSocket::RemoteHostClosedError || m_closingByUs)
        return;
    m_connectTimer.stop();
    QString description;
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError: description = err::describe(err::Kind::SocketRefused); break;
    case QAbstractSocket::SocketTimeoutError: description = err::describe(err::Kind::SocketTimeout); break;
    case QAbstractSocket::HostNotFoundError:
        description = err::describe(err::Kind::SocketConnect, m_socket->peerName());
        break;
    default: description = err::describe(err::Kind::SocketOther, m_socket->errorString()); break;
    }
    // An unfinished transfer ends with the failure, which says why.
    dropUpload();
    // A failed connection is closed, so that connecting again starts clean.
    abortQuietly();
    emit failed(description);
}

void ServerLink::onConnectTimeout()
{
    if (m_socket->state() == QAbstractSocket::ConnectedState)
        return;
    abortQuietly();
    emit failed(err::describe(err::Kind::SocketTimeout));
}

} // namespace publish
