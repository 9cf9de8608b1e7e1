#include "catalogsource/cataloghttpssource.h"

#include "catalogsource/catalogxmlhandler.h"
#include "runtime/config.h"
#include "runtime/makerserverrequest.h"

namespace {

const int httpsPort = 443;

} // namespace

CatalogHttpsSource::CatalogHttpsSource(QObject* parent) : CatalogHttpSource(parent)
{
    connect(&manager, &QNetworkAccessManager::sslErrors, this, &CatalogHttpsSource::sslErrors);
}

bool CatalogHttpsSource::prepareRequest(QNetworkRequest& request, QUrl& url)
{
    request = MakerServerRequest::create(url);
    url = request.url();
    return true;
}

void CatalogHttpsSource::sslErrors(QNetworkReply* failing, const QList<QSslError>& errors)
{
    MakerServerRequest::handleSslErrors(*failing, errors);
}

QUrl CatalogHttpsSource::catalogServerUrl(const QString& path)
{
    QUrl url = Config::getInstance()->getCatalogServerUrl();
    url.setPath(path);
    url.setPort(url.port(httpsPort));
    return url;
}

bool CatalogHttpsSource::importFeed(CatalogXmlHandler& handler, QNetworkReply& downloaded)
{
    if (!handler.import(downloaded.readAll()))
        return reject(handler.rejectionReason());
    summary = handler.getSummary();
    return true;
}
