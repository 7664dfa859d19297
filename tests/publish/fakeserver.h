#pragma once
// A publishing server for tests, on 127.0.0.1 at a free port: it takes one client,
// keeps every byte it receives and sends what the test tells it to.

#include <QByteArray>
#include <QPointer>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

class FakeServer : public QObject {
public:
    FakeServer()
    {
        listening = server.listen(QHostAddress::LocalHost, 0);
        connect(&server, &QTcpServer::newConnection, this, [this] {
            peer = server.nextPendingConnection();
            connected = true;
            connect(peer, &QTcpSocket::readyRead, this, [this] { received += peer->readAll(); });
            connect(peer, &QTcpSocket::disconnected, this, [this] { clientGone = true; });
        });
    }
    quint16 port() const { return server.serverPort(); }

    static QByteArray gbk(const QString &text)
    {
        QStringEncoder encoder("GBK");
        return encoder.encode(text);
    }
    // What arrived so far, read as GBK.
    QString text() const { return QStringDecoder("GBK").decode(received); }

    bool waitForClient() { return QTest::qWaitFor([this] { return connected; }, 5000); }
    bool waitFor(const QString &text) { return waitForBytes(gbk(text)); }
    bool waitForBytes(const QByteArray &bytes)
    {
        return QTest::qWaitFor([&] { return received.contains(bytes); }, 5000);
    }
    bool waitForGone() { return QTest::qWaitFor([this] { return clientGone; }, 5000); }

    void send(const QByteArray &bytes)
    {
        peer->write(bytes);
        peer->flush();
    }
    void say(const QString &text) { send(gbk(text)); }
    void closeClient() { peer->disconnectFromHost(); }

    QTcpServer server;
    QPointer<QTcpSocket> peer;
    QByteArray received;
    bool listening = false;
    bool connected = false;
    bool clientGone = false;
};
