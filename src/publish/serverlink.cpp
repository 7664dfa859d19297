#include "publish/serverlink.h"

#include "core/errors.h"
#include "core/version.h"
#include "publish/codepage.h"

#include <QFile>
#include <algorithm>
#include <utility>

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

ui::Message unsendable(const QString &character)
{
    return {QStringLiteral("发送的内容含有服务器不能识别的字符：") + character, ui::vbExclamation,
            QStringLiteral("提示")};
}

// What the server says about the link itself: log-in and the go-ahead. (A site name it
// accepted or refused stays so after the link is gone.)
bool changesLink(Tag tag)
{
    return tag == Tag::Login || tag == Tag::Logout || tag == Tag::SendFileInfo;
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

ui::Message uploadError(err::Kind kind, const QString &detail)
{
    return {QStringLiteral("上传出错") + QString::number(err::number(kind)) + QLatin1Char(':') + err::describe(kind, detail),
            ui::vbOKOnly, kMainCaption};
}

ui::Message busyUploading()
{
    return {QStringLiteral("正在上传数据不能，不能发送消息！"), ui::vbInformation, QStringLiteral("提示")};
}

ui::Message busyUploading(const QString &refused)
{
    return {QStringLiteral("正在上传数据，不能") + refused + QStringLiteral("！"), ui::vbInformation,
            QStringLiteral("提示")};
}

ServerLink::ServerLink(QObject *parent)
    : QObject(parent)
    , m_socket(new QTcpSocket(this))
    , m_decoder("GBK")
{
    m_socket->setObjectName(QStringLiteral("sckClient"));
    m_connectTimer.setSingleShot(true);
    connect(&m_connectTimer, &QTimer::timeout, this, &ServerLink::onConnectTimeout);
    m_quietTimer.setSingleShot(true);
    connect(&m_quietTimer, &QTimer::timeout, this, &ServerLink::quietTimeout);
    connect(m_socket, &QTcpSocket::connected, this, [this] {
        m_connectTimer.stop();
        emit connected();
    });
    connect(m_socket, &QTcpSocket::readyRead, this, &ServerLink::handleServerData);
    connect(m_socket, &QTcpSocket::bytesWritten, this, &ServerLink::onBytesWritten);
    connect(m_socket, &QTcpSocket::disconnected, this, &ServerLink::onDisconnected);
    connect(m_socket, &QTcpSocket::errorOccurred, this, &ServerLink::onError);
    connect(m_socket, &QTcpSocket::stateChanged, this, [this](QAbstractSocket::SocketState state) {
        if (state == QAbstractSocket::UnconnectedState)
            emit ended();
    });
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
    m_peerGone = false;
    m_socket->connectToHost(host.trimmed(), m_port);
    m_connectTimer.start(kConnectTimeoutMs);
}

bool ServerLink::close()
{
    m_connectTimer.stop();
    const bool cut = dropUpload();
    resetFraming();
    if (m_socket->state() != QAbstractSocket::UnconnectedState)
        abortQuietly();
    return cut;
}

void ServerLink::abortQuietly()
{
    // Aborting reports the disconnection at once: it is ours, not the peer's.
    m_loggedIn = false;
    m_closingByUs = true;
    m_socket->abort();
    m_closingByUs = false;
}

std::optional<ui::Message> ServerLink::sendMsg(const QString &text)
{
    if (!isConnected())
        return notConnected();
    QString unheld;
    const std::optional<QByteArray> bytes = toGbk(text, &unheld);
    if (!bytes)
        return unsendable(unheld);
    // Nothing may come between the archive's bytes: the server counts them from its
    // go-ahead, which may be on its way already.
    if (holding()) {
        m_held += *bytes;
        return std::nullopt;
    }
    // The socket keeps what the network does not take at once and sends it in order.
    if (m_socket->write(*bytes) != bytes->size())
        return handlingFailure(err::describe(err::Kind::SocketOther, m_socket->errorString()));
    return std::nullopt;
}

std::optional<ui::Message> ServerLink::offerArchive(const QString &path)
{
    if (!isConnected())
        return notConnected();
    // Kept open until the transfer ends: what is offered is what is sent.
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return uploadError(err::Kind::FileRead, path);
    const qint64 size = file->size();
    if (size <= 0)
        return uploadError(err::Kind::FileRead, path);
    dropUpload();
    m_zipSize = size;
    m_archivePath = path;
    m_archive = std::move(file);
    if (auto failure = sendMsg(message::sendFileInfo(size))) {
        dropUpload();
        return failure;
    }
    m_awaitingGoAhead = true;
    return std::nullopt;
}

// ---- Framing ------------------------------------------------------------------------

namespace {

bool startsWithTag(const QString &text)
{
    return std::any_of(std::begin(kTags), std::end(kTags),
                       [&](const TagName &t) { return text.startsWith(QLatin1String(t.text)); });
}

// Text that may still become a tag once the rest of it arrives ("<#sys").
bool isStartOfTag(const QString &text)
{
    return std::any_of(std::begin(kTags), std::end(kTags), [&](const TagName &t) {
        const QLatin1String tag(t.text);
        return text.size() < tag.size() && tag.startsWith(text);
    });
}

} // namespace

void ServerLink::handleServerData()
{
    readArrival();
    // Handled once this returns: a message's box must not run inside readyRead, which
    // the socket does not emit again until it returns, and what arrives while the box
    // is open would wait unread.
    if (!m_ready.isEmpty())
        QMetaObject::invokeMethod(this, &ServerLink::dispatchReady, Qt::QueuedConnection);
}

void ServerLink::readArrival()
{
    const QByteArray bytes = m_socket->readAll();
    if (bytes.isEmpty())
        return;
    // Read after the quiet time but before its tick came: the message before has ended.
    if (m_sinceRead.isValid() && m_sinceRead.elapsed() > m_quietMs && (m_collecting || !m_undecided.isEmpty()))
        endMessage();
    m_sinceRead.start();
    // A character split between two reads is completed by the next one.
    const QString text = m_undecided + m_decoder.decode(bytes);
    m_undecided.clear();
    if (isStartOfTag(text)) {
        m_undecided = text;
    } else if (startsWithTag(text)) {
        endMessage();
        m_message = text;
        m_collecting = true;
    } else if (!text.isEmpty()) {
        // Continues the message being collected, or is one of its own.
        m_message += text;
        m_collecting = true;
    }
    m_quietTimer.start(qMax(m_quietMs, 0));
}

void ServerLink::endMessage()
{
    if (!m_undecided.isEmpty()) {
        m_message += m_undecided;
        m_undecided.clear();
        m_collecting = true;
    }
    if (!m_collecting)
        return;
    m_ready << m_message;
    m_message.clear();
    m_collecting = false;
}

void ServerLink::quietTimeout()
{
    m_quietTimer.stop();
    endMessage();
    dispatchReady();
}

void ServerLink::resetFraming()
{
    m_quietTimer.stop();
    m_sinceRead.invalidate();
    m_message.clear();
    m_undecided.clear();
    m_collecting = false;
    m_ready.clear();
}

void ServerLink::dispatchReady()
{
    // A message box of an earlier message is still open: the rest follow it, in order.
    if (m_dispatching)
        return;
    m_dispatching = true;
    // Closing the link clears what is left.
    while (!m_ready.isEmpty())
        dispatch(m_ready.takeFirst());
    m_dispatching = false;
}

void ServerLink::dispatch(const QString &data)
{
    emit arrived(data);
    const Reply reply = parseReply(data);
    // The server has closed: what it said behind an open box may still be read, but
    // the link it was about is gone.
    if (m_peerGone && changesLink(reply.tag))
        return;
    switch (reply.tag) {
    case Tag::None:
        break;
    case Tag::Login:
        m_loggedIn = true;
        emit replied(reply);
        break;
    case Tag::SendFileInfo:
        sendZipFile();
        break;
    case Tag::ErrMsg:
    case Tag::SelectTemplate:
        // The server's answers to an offer besides the go-ahead; notices, chat and the
        // replies to earlier requests leave it waiting.
        endWait();
        emit replied(reply);
        break;
    default:
        emit replied(reply);
        break;
    }
}

// ---- The archive transfer -----------------------------------------------------------

namespace {
// The archive goes out in pieces as the network takes them: little is held in memory.
constexpr qint64 kArchivePiece = 256 * 1024;
constexpr qint64 kArchiveQueued = 1024 * 1024;
} // namespace

void ServerLink::sendZipFile()
{
    // A go-ahead for nothing offered, or a second one, sends nothing.
    if (!m_awaitingGoAhead || m_uploading)
        return;
    m_awaitingGoAhead = false;
    m_uploading = true;
    m_skipBeforeArchive = m_socket->bytesToWrite();
    m_archiveUnsent = m_zipSize;
    m_archiveUnread = m_zipSize;
    emit uploadStarted(m_zipSize);
    feedArchive();
}

void ServerLink::feedArchive()
{
    while (m_uploading && m_archiveUnread > 0 && m_socket->bytesToWrite() < kArchiveQueued) {
        const qint64 size = qMin(kArchivePiece, m_archiveUnread);
        const QByteArray piece = m_archive->read(size);
        // The server counts on exactly the length offered.
        if (piece.size() != size) {
            failTransfer(uploadError(err::Kind::FileRead, m_archivePath));
            return;
        }
        if (m_socket->write(piece) != size) {
            failTransfer(uploadError(err::Kind::SocketOther, m_socket->errorString()));
            return;
        }
        m_archiveUnread -= size;
    }
    if (m_uploading && m_archiveUnread == 0 && m_archive) {
        m_archive.reset();
        // What was said meanwhile follows the archive.
        if (!m_held.isEmpty())
            m_socket->write(std::exchange(m_held, QByteArray()));
    }
}

bool ServerLink::holding() const
{
    return m_awaitingGoAhead || (m_uploading && m_archiveUnread > 0);
}

void ServerLink::endWait()
{
    if (!m_awaitingGoAhead)
        return;
    const QByteArray held = std::exchange(m_held, QByteArray());
    dropUpload();
    if (!held.isEmpty())
        m_socket->write(held);
    emit offerDropped();
}

void ServerLink::failTransfer(const ui::Message &message)
{
    dropUpload();
    // The server waits for the rest of the archive and would take what follows for it.
    resetFraming();
    abortQuietly();
    emit uploadFailed(message);
}

void ServerLink::onBytesWritten(qint64 bytes)
{
    if (!m_uploading)
        return;
    const qint64 before = qMin(bytes, m_skipBeforeArchive);
    m_skipBeforeArchive -= before;
    const qint64 archived = qMin(bytes - before, m_archiveUnsent);
    if (archived <= 0)
        return;
    m_archiveUnsent -= archived;
    emit sendProgress(archived);
    // The link may have been closed meanwhile.
    if (!m_uploading)
        return;
    if (m_archiveUnsent == 0) {
        m_uploading = false;
        m_zipSize = 0;
        emit sendComplete();
        return;
    }
    feedArchive();
}

bool ServerLink::dropUpload()
{
    const bool running = m_uploading || m_awaitingGoAhead;
    m_uploading = false;
    m_awaitingGoAhead = false;
    m_zipSize = 0;
    m_skipBeforeArchive = 0;
    m_archiveUnsent = 0;
    m_archiveUnread = 0;
    m_archive.reset();
    m_held.clear();
    return running;
}

void ServerLink::onDisconnected()
{
    m_connectTimer.stop();
    if (m_closingByUs)
        return;
    // The server's last words are handled before its close.
    readArrival();
    endMessage();
    m_quietTimer.stop();
    dispatchReady();
    // Messages still waiting behind an open box come after the close.
    m_peerGone = true;
    m_loggedIn = false;
    if (dropUpload())
        emit uploadFailed(uploadError(err::Kind::SocketClosed));
    emit closedByPeer();
}

void ServerLink::onError(QAbstractSocket::SocketError error)
{
    // The peer closing is reported by disconnected(), and is no failure.
    if (error == QAbstractSocket::RemoteHostClosedError || m_closingByUs)
        return;
    m_connectTimer.stop();
    err::Kind kind = err::Kind::SocketOther;
    QString detail;
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError: kind = err::Kind::SocketRefused; break;
    case QAbstractSocket::SocketTimeoutError: kind = err::Kind::SocketTimeout; break;
    case QAbstractSocket::HostNotFoundError:
        kind = err::Kind::SocketConnect;
        detail = m_socket->peerName();
        break;
    default: detail = m_socket->errorString(); break;
    }
    const bool cut = dropUpload();
    resetFraming();
    // A failed connection is closed, so that connecting again starts clean.
    abortQuietly();
    // An unfinished transfer ends with the failure, which says why.
    if (cut)
        emit uploadFailed(uploadError(kind, detail));
    else
        emit failed(err::describe(kind, detail));
}

void ServerLink::onConnectTimeout()
{
    if (m_socket->state() == QAbstractSocket::ConnectedState)
        return;
    abortQuietly();
    emit failed(err::describe(err::Kind::SocketTimeout));
}

} // namespace publish
