#include "localhttpsserver.h"

#include "../runtime/testonlyclientcertificate.h"

#include <QFile>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslSocket>
#include <QTimer>

#include <memory>

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
    case 302:
        return "Found";
    case 404:
        return "Not Found";
    case 500:
        return "Internal Server Error";
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
    config.setPeerVerifyMode(trustedClient.isNull() ? QSslSocket::QueryPeer : QSslSocket::VerifyPeer);
    if (!trustedClient.isNull())
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

QUrl LocalHttpsServer::url(const QString& path) const
{
    QUrl withPath = url();
    withPath.setPath(path);
    return withPath;
}

void LocalHttpsServer::respond(const QString& path, int status, const QByteArray& body)
{
    respond(path, Response(status, body));
}

void LocalHttpsServer::respond(const QString& path, const Response& response)
{
    responses.insert(path, response);
}

void LocalHttpsServer::reset()
{
    responses.clear();
    received.clear();
    handshakeFailures = 0;
    for (const QPointer<QTcpSocket>& socket : std::as_const(open))
        if (socket)
            socket->abort();
    open.clear();
}

void LocalHttpsServer::serve(QTcpSocket* socket)
{
    open.append(socket);
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
        QByteArray head = socket->property("head").toByteArray() + socket->readAll();
        socket->setProperty("head", head);
        if (head.contains("\r\n\r\n"))
            answer(socket, head);
    });
}

QByteArray LocalHttpsServer::headOf(const Response& response)
{
    QByteArray head = "HTTP/1.1 " + QByteArray::number(response.status) + ' ' + reasonPhrase(response.status)
                      + "\r\nContent-Type: text/plain; charset=utf-8\r\nConnection: close\r\n";
    if (response.contentLength != NO_LENGTH) {
        const qint64 length = response.contentLength == BODY_LENGTH ? response.body.size() : response.contentLength;
        head += "Content-Length: " + QByteArray::number(length) + "\r\n";
    }
    for (const auto& [name, value] : response.headers)
        head += name + ": " + value + "\r\n";
    return head + "\r\n";
}

void LocalHttpsServer::trickle(QTcpSocket* socket, const QByteArray& body, int intervalMs)
{
    auto* timer = new QTimer(socket);
    auto sent = std::make_shared<qsizetype>(0);
    QObject::connect(timer, &QTimer::timeout, socket, [socket, timer, body, sent] {
        if (*sent >= body.size()) {
            timer->stop();
            socket->disconnectFromHost();
            return;
        }
        socket->write(body.mid((*sent)++, 1));
    });
    timer->start(intervalMs);
}

void LocalHttpsServer::answer(QTcpSocket* socket, const QByteArray& head)
{
    socket->setProperty("head", QByteArray());
    const QList<QByteArray> requestLine = head.left(head.indexOf("\r\n")).split(' ');
    const QUrl target(QString::fromUtf8(requestLine.value(1)));
    const auto* secure = qobject_cast<QSslSocket*>(socket);
    received.append({target.path(), QUrlQuery(target), secure && !secure->peerCertificate().isNull()});

    const Response response = responses.value(target.path(), Response(404, "no such path"));
    switch (response.delivery) {
    case Whole:
        socket->write(headOf(response) + response.body);
        socket->flush();
        socket->disconnectFromHost();
        break;
    case Trickle:
        socket->write(headOf(response));
        trickle(socket, response.body, response.trickleIntervalMs);
        break;
    case Stall:
        socket->write(headOf(response) + response.body);
        break;
    }
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

bool LocalHttpsServer::installClientCertificate(bool installed)
{
    QFile::remove(QStringLiteral("Zentavo.crt"));
    if (!installed)
        return true;
    QFile file(QStringLiteral("Zentavo.crt"));
    return file.open(QIODevice::WriteOnly) && file.write(TestOnlyClientCertificate::certificatePem) > 0
           && file.write(TestOnlyClientCertificate::rsaPrivateKeyPem) > 0;
}
