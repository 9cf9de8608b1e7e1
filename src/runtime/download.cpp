#include "runtime/download.h"

#include "runtime/config.h"
#include "runtime/logger.h"

#include <QFile>
#include <QNetworkRequest>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QStringList>
#include <QUrlQuery>

namespace {

constexpr int maxRedirects = 10;
constexpr int successStatus = 200;
constexpr int millisecondsPerSecond = 1000;

QList<QSslCertificate> configuredAuthorities(const Config& config)
{
    const QString path = config.getCaCertificatesFile();
    if (path.isEmpty())
        return {};
    QFile file(path);
    QList<QSslCertificate> authorities;
    if (file.open(QIODevice::ReadOnly))
        authorities = QSslCertificate::fromData(file.readAll(), QSsl::Pem);
    if (authorities.isEmpty())
        LOG_WARNING() << "no authority certificate read from" << path << file.errorString();
    return authorities;
}

// What the user knows the server by: scheme, host and port.
QString serverOf(const QUrl& url)
{
    return url.adjusted(QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment | QUrl::RemoveUserInfo)
        .toDisplayString();
}

QString sizeText(qint64 bytes)
{
    constexpr qint64 mebibyte = 1024 * 1024;
    if (bytes % mebibyte == 0)
        return Download::tr("%1 MiB").arg(bytes / mebibyte);
    return Download::tr("%1 bytes").arg(bytes);
}

// Failures before the server answered anything.
bool isConnectionFailure(QNetworkReply::NetworkError code)
{
    switch (code) {
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::RemoteHostClosedError:
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::TimeoutError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::UnknownNetworkError:
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyConnectionClosedError:
    case QNetworkReply::ProxyNotFoundError:
    case QNetworkReply::ProxyTimeoutError:
    case QNetworkReply::ProxyAuthenticationRequiredError:
        return true;
    default:
        return false;
    }
}

} // namespace

Download::Download(QObject* parent, qint64 maxBytes) : QObject(parent), limit(maxBytes)
{
    connect(&manager, &QNetworkAccessManager::finished, this, &Download::replyFinished);
    connect(&manager, &QNetworkAccessManager::sslErrors, this, &Download::sslErrors);
    for (QTimer* timer : {&idle, &deadline, &refusal})
        timer->setSingleShot(true);
    connect(&idle, &QTimer::timeout, this, [this] { stop(Idle); });
    connect(&deadline, &QTimer::timeout, this, [this] { stop(Deadline); });
    connect(&refusal, &QTimer::timeout, this, [this] { finish(false, refusalReason); });
}

Download::~Download()
{
    drop();
}

void Download::start(const QUrl& url, Server server)
{
    drop();
    // A connection kept from an earlier download would keep the trust and the client
    // certificate it was made with.
    manager.clearConnectionCache();
    body.clear();
    cause = NoCause;
    unverified.clear();
    shownUrl = url.adjusted(QUrl::RemoveUserInfo);
    refusalReason = refusedAddress(url, server);
    if (!refusalReason.isEmpty()) {
        refusal.start(0);
        return;
    }
    LOG_TRACE() << "GET" << shownUrl.toDisplayString();
    reply = manager.get(requestFor(url, server));
    QNetworkReply* asked = reply;
    connect(reply, &QIODevice::readyRead, this, &Download::take);
    connect(reply, &QNetworkReply::metaDataChanged, this, [this, asked] {
        checkSize(body.size(), asked->header(QNetworkRequest::ContentLengthHeader).toLongLong());
    });
    connect(reply, &QNetworkReply::downloadProgress, this, [this](qint64 received, qint64 total) {
        idle.start();
        checkSize(received, total);
        if (reply)
            emit progress(received, total);
    });
    connect(reply, &QNetworkReply::errorOccurred, this, &Download::error);
    const Config* config = Config::getInstance();
    idle.start(config->getIdleTimeoutSeconds() * millisecondsPerSecond);
    deadline.start(config->getDownloadDeadlineSeconds() * millisecondsPerSecond);
}

bool Download::isRunning() const
{
    return reply != nullptr || refusal.isActive();
}

int Download::percentOf(qint64 received, qint64 total)
{
    if (total <= 0)
        return -1;
    const qint64 percent = received * 100 / total;
    return static_cast<int>(qBound(qint64(0), percent, qint64(99)));
}

bool Download::advance(int& percent, qint64 received, qint64 total)
{
    const int now = percentOf(received, total);
    if (now < 0)
        return false;
    percent = now;
    LOG_TRACE() << "progress percent" << percent;
    return true;
}

QNetworkRequest Download::requestFor(const QUrl& url, Server server) const
{
    Config* config = Config::getInstance();
    QSslConfiguration ssl = QSslConfiguration::defaultConfiguration();
    ssl.setPeerVerifyMode(QSslSocket::VerifyPeer);
    ssl.addCaCertificates(configuredAuthorities(*config));
    QUrl asked(url);
    if (server == MakerServer) {
        QSslCertificate certificate;
        config->getCertificate(certificate);
        QSslKey key;
        config->getPrivateKey(key);
        ssl.setLocalCertificate(certificate);
        ssl.setPrivateKey(key);
        QUrlQuery query(asked);
        query.addQueryItem(QStringLiteral("tr"), QString::number(config->getNextTrCount()));
        asked.setQuery(query);
    }
    QNetworkRequest request(asked);
    request.setSslConfiguration(ssl);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(maxRedirects);
    return request;
}

QString Download::refusedAddress(const QUrl& url, Server server) const
{
    const QString scheme = url.scheme();
    const bool secure = scheme == QLatin1String("https");
    if (!url.isValid() || url.host().isEmpty() || (!secure && scheme != QLatin1String("http")))
        return tr("\"%1\" is not an http or https address").arg(shownUrl.toDisplayString());
    if (server == OutsideServer && !secure)
        return tr("%1 is refused: this server is only reached over https").arg(shownUrl.toDisplayString());
    return QString();
}

// Data is taken as it arrives: progress reports are spaced out in time, and a fast
// server can deliver far more than the limit between two of them.
void Download::take()
{
    if (!reply)
        return;
    idle.start();
    body += reply->read(limit + 1 - body.size());
    checkSize(body.size(), 0);
}

void Download::checkSize(qint64 received, qint64 announced)
{
    if (received > limit || announced > limit)
        stop(TooLarge);
}

void Download::stop(Cause why)
{
    if (!reply || cause != NoCause)
        return;
    cause = why;
    reply->abort(); // finishes the reply
}

void Download::replyFinished(QNetworkReply* finished)
{
    if (!finished || finished != reply)
        return; // dropped, or not this download's
    reply = nullptr;
    idle.stop();
    deadline.stop();
    finished->deleteLater();
    bool ok = cause == NoCause && finished->error() == QNetworkReply::NoError;
    if (ok) {
        body += finished->read(limit + 1 - body.size());
        if (body.size() > limit)
            cause = TooLarge;
        ok = cause == NoCause && finished->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() == successStatus;
    }
    finish(ok, ok ? QString() : failureOf(*finished));
}

QString Download::failureOf(QNetworkReply& finished) const
{
    switch (cause) {
    case TooLarge:
        return tr("the download is larger than %1").arg(sizeText(limit));
    case Idle:
        return tr("%1 sent nothing for %2 s").arg(serverOf(shownUrl)).arg(idle.interval() / millisecondsPerSecond);
    case Deadline:
        return tr("the download from %1 did not end within %2 s")
            .arg(serverOf(shownUrl))
            .arg(deadline.interval() / millisecondsPerSecond);
    case NoCause:
        break;
    }
    const QVariant status = finished.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const bool redirectRefused = finished.error() == QNetworkReply::InsecureRedirectError
                                 || finished.error() == QNetworkReply::TooManyRedirectsError;
    if (status.isValid() && status.toInt() != successStatus && !redirectRefused) {
        return tr("the server answered %1 %2 for %3")
            .arg(status.toInt())
            .arg(finished.attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString(), shownUrl.toDisplayString());
    }
    return networkFailure(finished);
}

QString Download::networkFailure(QNetworkReply& finished) const
{
    const QNetworkReply::NetworkError code = finished.error();
    if (code == QNetworkReply::InsecureRedirectError)
        return tr("%1 redirects to a less secure address; not followed").arg(shownUrl.toDisplayString());
    if (code == QNetworkReply::TooManyRedirectsError)
        return tr("%1 redirects more than %2 times").arg(shownUrl.toDisplayString()).arg(maxRedirects);
    if (code == QNetworkReply::SslHandshakeFailedError && !unverified.isEmpty())
        return tr("the server %1 is not verified: %2").arg(serverOf(shownUrl), unverified);
    if (code == QNetworkReply::SslHandshakeFailedError || isConnectionFailure(code))
        return tr("cannot connect to %1: %2").arg(serverOf(shownUrl), finished.errorString());
    return tr("the download from %1 failed: %2").arg(shownUrl.toDisplayString(), finished.errorString());
}

void Download::finish(bool ok, const QString& failure)
{
    QByteArray result;
    if (ok) {
        result.swap(body);
        LOG_TRACE() << "reply bytes" << result.size();
    } else {
        body.clear();
        LOG_WARNING() << "Download of" << shownUrl.toDisplayString() << "failed:" << failure;
    }
    emit finished(ok, result, failure); // last: a listener may start the next download
}

void Download::sslErrors(QNetworkReply* failing, const QList<QSslError>& errors)
{
    if (!failing || failing != reply)
        return;
    QStringList texts;
    for (const QSslError& sslError : errors) {
        LOG_WARNING() << "SSL error:" << sslError.errorString();
        texts.append(sslError.errorString());
    }
    if (!Config::getInstance()->getAcceptUnverifiedServer()) {
        unverified = texts.join(QStringLiteral("; "));
        return;
    }
    LOG_WARNING() << "accepting an unverified server as configured:" << shownUrl.toDisplayString();
    failing->ignoreSslErrors();
}

void Download::error(QNetworkReply::NetworkError code)
{
    LOG_TRACE() << "network error" << code;
}

void Download::drop()
{
    refusal.stop();
    idle.stop();
    deadline.stop();
    if (!reply)
        return;
    QNetworkReply* dropped = reply;
    reply = nullptr;
    dropped->disconnect(this);
    dropped->abort();
    dropped->deleteLater();
}
