#include "catalogsource/cataloghttpssource.h"

#include "catalogsource/catalogxmlhandler.h"
#include "runtime/config.h"

#include <utility>

namespace {

const int httpsPort = 443;

} // namespace

CatalogHttpsSource::CatalogHttpsSource(Feed feed, QObject* parent) : CatalogHttpSource(parent), feed(std::move(feed))
{
}

QString CatalogHttpsSource::getIdent()
{
    return feed.ident;
}

Download::Server CatalogHttpsSource::server() const
{
    return Download::MakerServer;
}

void CatalogHttpsSource::sslErrors(QNetworkReply* reply, const QList<QSslError>& errors)
{
    download.sslErrors(reply, errors);
}

QUrl CatalogHttpsSource::getCatalogUrl()
{
    QUrl url = Config::getInstance()->getCatalogServerUrl();
    url.setPath(feed.path);
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
