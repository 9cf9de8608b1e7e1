#include "catalogsource/cataloghttpssource.h"

#include "catalogsource/catalogxmlhandler.h"
#include "runtime/config.h"

namespace {

const int httpsPort = 443;

} // namespace

CatalogHttpsSource::CatalogHttpsSource(QObject* parent) : CatalogHttpSource(parent)
{
}

Download::Server CatalogHttpsSource::server() const
{
    return Download::MakerServer;
}

void CatalogHttpsSource::sslErrors(QNetworkReply* reply, const QList<QSslError>& errors)
{
    download.sslErrors(reply, errors);
}

QUrl CatalogHttpsSource::catalogServerUrl(const QString& path)
{
    QUrl url = Config::getInstance()->getCatalogServerUrl();
    url.setPath(path);
    url.setPort(url.port(httpsPort));
    return url;
}

bool CatalogHttpsSource::importFeed(CatalogXmlHandler& handler, const QByteArray& downloaded)
{
    if (!handler.import(downloaded))
        return reject(handler.rejectionReason());
    summary = handler.getSummary();
    return true;
}
