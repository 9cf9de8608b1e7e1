#ifndef ZENTAVO_CATALOGHTTPSSOURCE_H
#define ZENTAVO_CATALOGHTTPSSOURCE_H

#include "catalogsource/cataloghttpsource.h"

#include <QList>
#include <QSslError>

class CatalogXmlHandler;

// A catalog of the maker's catalog server: HTTPS with the installation's client
// certificate and the request count. The server's certificate must verify, against the
// system's authorities or the configured authority file; an unverified server is refused
// (the download fails and no table is touched) unless the configuration accepts
// unverified servers.
class ZENTAVO_EXPORT CatalogHttpsSource : public CatalogHttpSource
{
    Q_OBJECT

public:
    explicit CatalogHttpsSource(QObject* parent = nullptr);

public slots:
    // Forwards to the download, which answers its server's certificate errors itself.
    void sslErrors(QNetworkReply* reply, const QList<QSslError>& errors);

protected:
    Download::Server server() const override;
    // The catalog server with the feed's path; the server's own port, or 443.
    static QUrl catalogServerUrl(const QString& path);
    // Merges the downloaded feed with the handler, whole or not at all.
    bool importFeed(CatalogXmlHandler& handler, const QByteArray& downloaded);
};

#endif
