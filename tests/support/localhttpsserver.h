#ifndef ZENTAVO_LOCALHTTPSSERVER_H
#define ZENTAVO_LOCALHTTPSSERVER_H

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>
#include <QPointer>
#include <QSslCertificate>
#include <QSslServer>
#include <QUrl>
#include <QUrlQuery>

// A small HTTPS server on 127.0.0.1 for network tests. It presents the test server
// certificate (tests/support/data) and answers GET requests by path with the responses
// set by the test; unknown paths get 404. Started with a trusted client certificate it
// lets only clients presenting that one through the handshake; without, it asks for a
// certificate but takes any client. Started with startPlain() it serves the same way
// over plain HTTP.
//
// A response may misbehave the ways a hostile or broken server does: any status, no
// Content-Length or a false one, the body trickled a byte at a time, or the connection
// left open after the body (one shorter than announced, or one without end).
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

    enum Delivery {
        Whole,   // headers and body in one write, as soon as the request is in
        Trickle, // the body one byte every trickleIntervalMs
        Stall    // headers and body in one write, then nothing: the connection stays open
    };

    // Content-Length of a response: the body's size, none (the end of the body is the
    // end of the connection), or any other value, announced as it is.
    static constexpr qint64 BODY_LENGTH = -1;
    static constexpr qint64 NO_LENGTH = -2;

    struct Response
    {
        Response(int status = 200, const QByteArray& body = QByteArray(), qint64 contentLength = BODY_LENGTH,
                 Delivery delivery = Whole)
            : status(status), body(body), contentLength(contentLength), delivery(delivery)
        {
        }

        int status;
        QByteArray body;
        qint64 contentLength;
        Delivery delivery;
        QList<QPair<QByteArray, QByteArray>> headers; // more, such as Location
        int trickleIntervalMs = 50;
    };

    // Listens at a free port.
    bool start(const QSslCertificate& trustedClient = QSslCertificate());
    bool startPlain();
    // https://127.0.0.1:<port>, or http:// when started plain
    QUrl url() const;
    QUrl url(const QString& path) const;
    void respond(const QString& path, int status, const QByteArray& body);
    void respond(const QString& path, const Response& response);
    // Forgets responses and recorded requests, and closes connections still open.
    void reset();
    const QList<Request>& requests() const { return received; }
    int failedHandshakes() const { return handshakeFailures; }

    // The authority that signed the server certificate; a client must trust it.
    static QSslCertificate authority();
    // The authority's certificate file (PEM).
    static QString authorityFile();
    // Adds the authority to (or, with false, removes it from) the default SSL configuration.
    static void trustAuthority(bool trusted);
    // Writes (or, with false, removes) the installation's "Zentavo.crt" in the current
    // folder: the test-only client certificate, the one a started server trusts.
    static bool installClientCertificate(bool installed = true);

private:
    void acceptPending(QTcpServer& listening);
    void serve(QTcpSocket* socket);
    void answer(QTcpSocket* socket, const QByteArray& head);
    static QByteArray headOf(const Response& response);
    static void trickle(QTcpSocket* socket, const QByteArray& body, int intervalMs);

    QSslServer server;
    QTcpServer plainServer;
    QHash<QString, Response> responses;
    QList<Request> received;
    QList<QPointer<QTcpSocket>> open;
    int handshakeFailures = 0;
};

#endif
