#include "localhttpsserver.h"

#include <QFile>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslSocket>

namespace {

QByteArray readData(const char* name)
{
    QFile file(QStringLiteral(ZENTAVO_SUPPORT_DATA_DIR "/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray reasonPhrase(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 404:
        return "Not Found";
    default:
        return "Error";
    }
}

} // namespace

bool LocalHttpsServer::start(const QSslCertificate& trustedClient)
{
    QSslConfiguration config = QSslConfiguration::defaultConfiguration();
    config.setLocalCertificate(QSslCertificate(readData("testserver.pem"), QSsl::Pem));
    config.setPrivateKey(QSslKey(readData("testserver.key"), QSsl::Rsa, QSsl::Pem));
    config.setPeerVerifyMode(QSslSocket::VerifyPeer);
    config.setCaCertificates({trustedClient});
    server.setSslConfiguration(config);
    connect(&server, &QSslServer::pendingConnectionAvailable, this, [this] { acceptPending(server); });
    connect(&server, &QSslServer::errorOccurred, this, [this](QSslSocket*, QAbstractSocket::SocketError) {
        ++handshakeFailures;
    });
    return server.listen(QHostAddress::LocalHost, 0);
}

bool LocalHttpsServer::startPlain()
{
    connect(&plainServer, &QTcpServer::pendingConnectionAvailable, this, [this] { acceptPending(plainServer); });
    return plainServer.listen(QHostAddress::LocalHost, 0);
}

void LocalHttpsServer::acceptPending(QTcpServer& listening)
{
    while (listening.hasPendingConnections())
        serve(listening.nextPendingConnection());
}

QUrl LocalHttpsServer::url() const
{
    if (plainServer.isListening())
        return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(plainServer.serverPort()));
    return QUrl(QStringLiteral("https://127.0.0.1:%1").arg(server.serverPort()));
}

void LocalHttpsServer::respond(const QString& path, int status, const QByteArray& body)
{
    responses.insert(path, {status, body});
}

void LocalHttpsServer::reset()
{
    responses.clear();
    received.clear();
    handshakeFailures = 0;
}

void LocalHttpsServer::serve(QTcpSocket* socket)
{
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
        QByteArray head = socket->property("head").toByteArray() + socket->readAll();
        socket->setProperty("head", head);
        if (head.contains("\r\n\r\n"))
            answer(socket, head);
    });
}

void LocalHttpsServer::answer(QTcpSocket* socket, const QByteArray& head)
{
    const QList<QByteArray> requestLine = head.left(head.indexOf("\r\n")).split(' ');
    const QUrl target(QString::fromUtf8(requestLine.value(1)));
    const auto* secure = qobject_cast<QSslSocket*>(socket);
    received.append({target.path(), QUrlQuery(target), secure && !secure->peerCertificate().isNull()});

    const QPair<int, QByteArray> response = responses.value(target.path(), {404, QByteArray("no such path")});
    QByteArray reply = "HTTP/1.1 " + QByteArray::number(response.first) + ' ' + reasonPhrase(response.first)
                       + "\r\nContent-Type: text/plain; charset=utf-8\r\nContent-Length: "
                       + QByteArray::number(response.second.size()) + "\r\nConnection: close\r\n\r\n"
                       + response.second;
    socket->write(reply);
    socket->disconnectFromHost();
}

QSslCertificate LocalHttpsServer::authority()
{
    return QSslCertificate(readData("testserver-ca.pem"), QSsl::Pem);
}

QString LocalHttpsServer::authorityFile()
{
    return QStringLiteral(ZENTAVO_SUPPORT_DATA_DIR "/testserver-ca.pem");
}

void LocalHttpsServer::trustAuthority(bool trusted)
{
    QSslConfiguration config = QSslConfiguration::defaultConfiguration();
    QList<QSslCertificate> authorities = config.caCertificates();
    authorities.removeAll(authority());
    if (trusted)
        authorities.append(authority());
    config.setCaCertificates(authorities);
    QSslConfiguration::setDefaultConfiguration(config);
}
