#ifndef ZENTAVO_DOWNLOAD_H
#define ZENTAVO_DOWNLOAD_H

#include "zentavo_export.h"

#include <QByteArray>
#include <QList>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QObject>
#include <QSslError>
#include <QString>
#include <QTimer>
#include <QUrl>

class QNetworkRequest;

// One GET of something the library needs whole: a template, the template list, the meta
// tag file, a catalog. Every fetch of the library goes through here, so each is held to
// the same rules:
//
// - Trust: the server's certificate is verified against the system's authorities and
//   those of the file Config::getCaCertificatesFile(); an unverified server is refused
//   unless Config::getAcceptUnverifiedServer(), and then each such download logs a warning.
// - The maker's servers are sent the installation's client certificate and the next
//   request count (query item "tr"); nobody else gets either. An outside provider is
//   reached over HTTPS only, since nothing it sends could be checked otherwise.
// - Size: the body is held in memory, so more than the limit is refused, whether the
//   server announces it or not, and however fast it arrives.
// - Time: nothing received for Config::getIdleTimeoutSeconds(), or not ended by
//   Config::getDownloadDeadlineSeconds(), fails as too slow.
// - Redirects are followed only to the same or a more secure scheme.
// - Only the answer 200 is a success.
//
// A failure is logged as a warning once and reported with one reason for the user:
// cannot connect, not verified, too large, too slow, or the server's HTTP answer.
class ZENTAVO_EXPORT Download : public QObject
{
    Q_OBJECT

public:
    // What everyone uses: templates, lists and catalogs are a few megabytes.
    static constexpr qint64 MAX_BYTES = 64 * 1024 * 1024;

    enum Server {
        MakerServer,  // client certificate and request count
        OutsideServer // neither; HTTPS only
    };

    explicit Download(QObject* parent = nullptr, qint64 maxBytes = MAX_BYTES);
    ~Download() override;

    // Drops a download still running (without finished()) and starts this one. Every
    // start ends with finished(), later, also when the address is refused at once.
    void start(const QUrl& url, Server server);
    bool isRunning() const;
    qint64 maxBytes() const { return limit; }

    // The percent of a running download: 0 to 99 (only a finished download is 100),
    // -1 while the size is unknown.
    static int percentOf(qint64 received, qint64 total);
    // Sets percent to percentOf(), logged; false, leaving percent as it is, while the size
    // is unknown.
    static bool advance(int& percent, qint64 received, qint64 total);

signals:
    void progress(qint64 bytesReceived, qint64 bytesTotal);
    // ok: body is the whole answer. Otherwise body is empty and failure says why.
    void finished(bool ok, const QByteArray& body, const QString& failure);

public slots:
    // Connected to this download's own network signals; an owner's slots of the same
    // names forward here.
    void replyFinished(QNetworkReply* reply);
    void sslErrors(QNetworkReply* reply, const QList<QSslError>& errors);
    void error(QNetworkReply::NetworkError code);

private:
    enum Cause { NoCause, TooLarge, Idle, Deadline };

    QNetworkRequest requestFor(const QUrl& url, Server server) const;
    QString refusedAddress(const QUrl& url, Server server) const;
    void take();
    void checkSize(qint64 received, qint64 announced);
    void stop(Cause cause);
    QString failureOf(QNetworkReply& finished) const;
    QString networkFailure(QNetworkReply& finished) const;
    void finish(bool ok, const QString& failure);
    void drop();

    const qint64 limit;
    QNetworkAccessManager manager;
    QNetworkReply* reply = nullptr;
    QUrl shownUrl; // without the request count
    QByteArray body;
    Cause cause = NoCause;
    QString unverified; // why the server's certificate did not verify, when it did not
    QTimer idle;
    QTimer deadline;
    QTimer refusal; // ends a download refused before it was sent
    QString refusalReason;
};

#endif
