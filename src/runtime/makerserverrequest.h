#ifndef ZENTAVO_MAKERSERVERREQUEST_H
#define ZENTAVO_MAKERSERVERREQUEST_H

#include "zentavo_export.h"

#include <QList>
#include <QNetworkRequest>
#include <QSslError>
#include <QUrl>

class QNetworkReply;

// A request to one of the maker's servers: HTTPS with the installation's client
// certificate and key, the server's certificate verified, and the query item "tr"
// carrying the next value of the request counter. Besides the system's authorities the
// server may be vouched for by those of the configured authority file.
class ZENTAVO_EXPORT MakerServerRequest
{
public:
    // A download that receives nothing for this long fails instead of hanging the run.
    static constexpr int TRANSFER_TIMEOUT_MS = 60000;

    // Advances the request counter.
    static QNetworkRequest create(const QUrl& url);

    // Answers a server whose certificate did not verify: every error is logged as a
    // warning, and the connection goes on only when the configuration accepts unverified
    // servers (then the download is logged as unverified). Answers whether it goes on.
    static bool handleSslErrors(QNetworkReply& reply, const QList<QSslError>& errors);

    // The percent of a running download: 0 to 99 (only the finished download is 100),
    // -1 while the size is unknown.
    static int percentOf(qint64 received, qint64 total);
};

#endif
