#include "runtime/makerserverrequest.h"

#include "runtime/config.h"

#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QUrlQuery>

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

    QUrl counted(url);
    QUrlQuery query(counted);
    query.addQueryItem(QStringLiteral("tr"), QString::number(config->getNextTrCount()));
    counted.setQuery(query);

    QNetworkRequest request(counted);
    request.setSslConfiguration(ssl);
    request.setTransferTimeout(TRANSFER_TIMEOUT_MS);
    return request;
}

int MakerServerRequest::percentOf(qint64 received, qint64 total)
{
    if (total <= 0)
        return -1;
    const qint64 percent = received * 100 / total;
    return static_cast<int>(qBound(qint64(0), percent, qint64(99)));
}
