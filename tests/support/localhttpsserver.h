#ifndef ZENTAVO_LOCALHTTPSSERVER_H
#define ZENTAVO_LOCALHTTPSSERVER_H

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>
#include <QSslCertificate>
#include <QSslServer>
#include <QUrl>
#include <QUrlQuery>

// A small HTTPS server on 127.0.0.1 for network tests. It presents the test server
// certificate (tests/support/data), insists on a client certificate it trusts and answers
// GET requests by path with the responses set by the test; unknown paths get 404.
// Started with startPlain() it serves the same way over plain HTTP.
class LocalHttpsServer : public QObject
{
    Q_OBJECT

public:
    struct Request
    {
        QString path;
        QUrlQuery query;
        bool clientCertificate = false;
    };

    // Listens at a free port; only clients presenting trustedClient get through the handshake.
    bool start(const QSslCertificate& trustedClient);
    bool startPlain();
    // https://127.0.0.1:<port>, or http:// when started plain
    QUrl url() const;
    void respond(const QString& path, int status, const QByteArray& body);
    // Forgets responses and recorded requests.
    void reset();
    const QList<Request>& requests() const { return received; }
    int failedHandshakes() const { return handshakeFailures; }

    // The authority that signed the server certificate; a client must trust it.
    static QSslCertificate authority();
    // The authority's certificate file (PEM).
    static QString authorityFile();
    // Adds the authority to (or, with false, removes it from) the default SSL configuration.
    static void trustAuthority(bool trusted);

private:
    void acceptPending(QTcpServer& listening);
    void serve(QTcpSocket* socket);
    void answer(QTcpSocket* socket, const QByteArray& head);

    QSslServer server;
    QTcpServer plainServer;
    QHash<QString, QPair<int, QByteArray>> responses;
    QList<Request> received;
    int handshakeFailures = 0;
};

#endif
