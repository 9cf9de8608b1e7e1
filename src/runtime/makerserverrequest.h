#ifndef ZENTAVO_MAKERSERVERREQUEST_H
#define ZENTAVO_MAKERSERVERREQUEST_H

#include "zentavo_export.h"

#include <QNetworkRequest>
#include <QUrl>

// A request to one of the maker's servers: HTTPS with the installation's client
// certificate and key, the server's certificate verified, and the query item "tr"
// carrying the next value of the request counter.
class ZENTAVO_EXPORT MakerServerRequest
{
public:
    // A download that receives nothing for this long fails instead of hanging the run.
    static constexpr int TRANSFER_TIMEOUT_MS = 60000;

    // Advances the request counter.
    static QNetworkRequest create(const QUrl& url);

    // The percent of a running download: 0 to 99 (only the finished download is 100),
    // -1 while the size is unknown.
    static int percentOf(qint64 received, qint64 total);
};

#endif
