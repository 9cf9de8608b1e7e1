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
    QString getIdent() override;
    // The catalog server with the feed's path; the server's own port, or 443.
    QUrl getCatalogUrl() override;

public slots:
    // Forwards to the download, which answers its server's certificate errors itself.
    void sslErrors(QNetworkReply* reply, const QList<QSslError>& errors);

protected:
    // One feed of the catalog server: the name its updates are recorded under and the
    // path it is published at.
    struct Feed
    {
        QString ident;
        QString path;
    };

    CatalogHttpsSource(Feed feed, QObject* parent);

    Download::Server server() const override;
    // Merges the downloaded feed with the handler, whole or not at all.
    bool importFeed(CatalogXmlHandler& handler, const QByteArray& downloaded);

private:
    const Feed feed;
};

#endif
