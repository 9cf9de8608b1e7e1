#include "runtime/makerserverrequest.h"

#include "runtime/config.h"
#include "runtime/logger.h"

#include <QFile>
#include <QNetworkReply>

#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QUrlQuery>

namespace {

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

} // namespace

QNetworkRequest MakerServerRequest::create(const QUrl& url)
{
    Config* config = Config::getInstance();
    QSslConfiguration ssl = QSslConfiguration::defaultConfiguration();
    QSslCertificate certificate;
    config->getCertificate(certificate);
    QSslKey key;
    config->getPrivateKey(key);
    ssl.setLocalCertificate(certificate);
    ssl.setPrivateKey(key);
    ssl.setPeerVerifyMode(QSslSocket::VerifyPeer);
    ssl.addCaCertificates(configuredAuthorities(*config));

    QUrl counted(url);
    QUrlQuery query(counted);
    query.addQueryItem(QStringLiteral("tr"), QString::number(config->getNextTrCount()));
    counted.setQuery(query);

    QNetworkRequest request(counted);
    request.setSslConfiguration(ssl);
    request.setTransferTimeout(TRANSFER_TIMEOUT_MS);
    return request;
}

bool MakerServerRequest::handleSslErrors(QNetworkReply& reply, const QList<QSslError>& errors)
{
    for (const QSslError& sslError : errors)
        LOG_WARNING() << "SSL error:" << sslError.errorString();
    if (!Config::getInstance()->getAcceptUnverifiedServer())
        return false;
    LOG_WARNING() << "accepting an unverified server as configured:" << reply.url().toEncoded(QUrl::RemoveQuery);
    reply.ignoreSslErrors();
    return true;
}

int MakerServerRequest::percentOf(qint64 received, qint64 total)
{
    if (total <= 0)
        return -1;
    const qint64 percent = received * 100 / total;
    return static_cast<int>(qBound(qint64(0), percent, qint64(99)));
}
